// Writing curves and surfaces as IGES entities 126 and 128: fixed
// 80-column records, the default delimiters, reals in the shortest form
// that reads back to the same double.
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>

#include "lib/iges_file.hpp"

namespace orvo::tools {

namespace {

std::string real_text(double x) {
  char buf[40];
  for (int digits = 15; digits <= 17; ++digits) {
    std::snprintf(buf, sizeof buf, "%.*G", digits, x);
    if (std::strtod(buf, nullptr) == x) break;
  }
  std::string s = buf;
  if (s.find_first_of(".E") == std::string::npos) s += ".";
  return s;
}

std::string hollerith(const std::string &s) { return std::to_string(s.size()) + "H" + s; }

std::string padded(const std::string &s, size_t width) {
  return s.size() >= width ? s.substr(0, width) : s + std::string(width - s.size(), ' ');
}

std::string right(const std::string &s, size_t width) {
  return s.size() >= width ? s.substr(s.size() - width) : std::string(width - s.size(), ' ') + s;
}

// The lines of one section: the fields joined by ',' and ended by ';',
// packed into width columns (a field too long for one line is cut), each
// followed by tail(line index) and the section letter and sequence number.
class Section {
 public:
  explicit Section(char letter) : letter_(letter) {}
  int lines() const { return count_; }
  const std::string &text() const { return text_; }

  // Adds fields as one record; returns the number of lines it took.
  int add(const std::vector<std::string> &fields, size_t width, const std::string &tail) {
    std::string line;
    int used = 0;
    for (size_t i = 0; i < fields.size(); ++i) {
      std::string f = fields[i] + (i + 1 < fields.size() ? "," : ";");
      if (!line.empty() && line.size() + f.size() > width) {
        emit(line, width, tail), ++used;
        line.clear();
      }
      while (f.size() > width) {
        emit(f.substr(0, width), width, tail), ++used;
        f.erase(0, width);
      }
      line += f;
    }
    emit(line, width, tail), ++used;
    return used;
  }

  void raw(const std::string &line72) {
    ++count_;
    text_ += padded(line72, 72) + letter_ + right(std::to_string(count_), 7) + "\n";
  }

 private:
  void emit(const std::string &body, size_t width, const std::string &tail) {
    raw(padded(body, width) + tail);
  }
  char letter_;
  int count_ = 0;
  std::string text_;
};

struct Point4 {
  double x, y, z, w;
};

// Euclidean point and weight of a stored control point.
Point4 euclidean(const CPOINT &c) {
  const bool rational = c.w != ORVO_WNR;
  const double w = rational ? c.w : 1.0;
  const double z = c.z == ORVO_Z2D ? 0.0 : c.z;
  return rational ? Point4{c.x / w, c.y / w, z == 0.0 ? 0.0 : z / w, w} : Point4{c.x, c.y, z, w};
}

struct Record {
  int type;
  std::vector<std::string> fields;
  std::string label;
};

bool finite_fields(const std::vector<double> &values) {
  for (double v : values)
    if (!std::isfinite(v)) return false;
  return true;
}

Record curve_record(const CURVE *c) {
  const int32_t n = c->pol->n, m = c->knt->m;
  const int16_t p = c->p;
  const bool rational = U_iscurr(c) != 0, planar = U_iscur3(c) == 0;
  std::vector<double> v;
  for (int32_t i = 0; i <= m; ++i) v.push_back(c->knt->U[i]);
  std::vector<Point4> P;
  for (int32_t i = 0; i <= n; ++i) P.push_back(euclidean(c->pol->Pw[i]));
  for (const Point4 &q : P) v.push_back(q.w);
  for (const Point4 &q : P) v.insert(v.end(), {q.x, q.y, q.z});
  v.insert(v.end(), {c->knt->U[p], c->knt->U[m - p]});
  v.insert(v.end(), {0.0, 0.0, planar ? 1.0 : 0.0});
  Record r{126,
           {"126", std::to_string(n), std::to_string(p), planar ? "1" : "0", "0",
            rational ? "0" : "1", "0"},
           "BSPLINE"};
  if (!finite_fields(v)) r.type = 0;
  for (double x : v) r.fields.push_back(real_text(x));
  return r;
}

Record surface_record(const SURFACE *s) {
  const CNET *net = s->net;
  const bool rational = U_issurr(s) != 0;
  std::vector<double> v;
  for (int32_t i = 0; i <= s->knu->m; ++i) v.push_back(s->knu->U[i]);
  for (int32_t j = 0; j <= s->knv->m; ++j) v.push_back(s->knv->U[j]);
  std::vector<Point4> P;  // u index fastest, as the entity lists them
  for (int32_t j = 0; j <= net->m; ++j)
    for (int32_t i = 0; i <= net->n; ++i) P.push_back(euclidean(net->Pw[i][j]));
  for (const Point4 &q : P) v.push_back(q.w);
  for (const Point4 &q : P) v.insert(v.end(), {q.x, q.y, q.z});
  v.insert(v.end(), {s->knu->U[s->p], s->knu->U[s->knu->m - s->p], s->knv->U[s->q],
                     s->knv->U[s->knv->m - s->q]});
  Record r{128,
           {"128", std::to_string(net->n), std::to_string(net->m), std::to_string(s->p),
            std::to_string(s->q), "0", "0", rational ? "0" : "1", "0", "0"},
           "BSURFACE"};
  if (!finite_fields(v)) r.type = 0;
  for (double x : v) r.fields.push_back(real_text(x));
  return r;
}

std::string today() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  gmtime_r(&now, &tm);
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y%m%d.%H%M%S", &tm);
  return buf;
}

}  // namespace

bool write_iges(const std::string &path, const std::vector<const CURVE *> &curves,
                const std::vector<const SURFACE *> &surfaces, std::string &error) {
  std::vector<Record> records;
  for (size_t k = 0; k < curves.size(); ++k) {
    if (!curves[k] || E_curinp(curves[k], "write_iges") != 0) {
      error = path + ": curve " + std::to_string(k + 1) + " refused: " + library_error();
      return false;
    }
    records.push_back(curve_record(curves[k]));
  }
  for (size_t k = 0; k < surfaces.size(); ++k) {
    if (!surfaces[k] || E_surinp(surfaces[k], "write_iges") != 0) {
      error = path + ": surface " + std::to_string(k + 1) + " refused: " + library_error();
      return false;
    }
    records.push_back(surface_record(surfaces[k]));
  }
  for (size_t k = 0; k < records.size(); ++k)
    if (records[k].type == 0) {
      error = path + ": record " + std::to_string(k + 1) + " holds a number that is not finite";
      return false;
    }

  std::string name = path;
  if (const size_t slash = name.find_last_of('/'); slash != std::string::npos)
    name.erase(0, slash + 1);
  const std::string date = today();
  Section S('S'), G('G'), D('D'), P('P');
  S.raw("Curves and surfaces written by the orvo command.");
  G.add({"1H,",
         "1H;",
         hollerith("orvo"),
         hollerith(name),
         hollerith("orvo"),
         hollerith("1.0"),
         "32",
         "308",
         "15",
         "308",
         "15",
         hollerith("orvo"),
         "1.",
         "2",
         "2HMM",
         "1",
         "1.",
         hollerith(date),
         "1.E-9",
         "0.",
         hollerith(""),
         hollerith(""),
         "11",
         "0",
         hollerith(date)},
        72, "");
  std::vector<int> pd_start, pd_lines;
  for (size_t k = 0; k < records.size(); ++k) {
    const int de = static_cast<int>(2 * k + 1);
    pd_start.push_back(P.lines() + 1);
    pd_lines.push_back(P.add(records[k].fields, 64, right(std::to_string(de), 8)));
  }
  for (size_t k = 0; k < records.size(); ++k) {
    const auto field = [](long v) { return right(std::to_string(v), 8); };
    const Record &r = records[k];
    D.raw(field(r.type) + field(pd_start[k]) + field(0) + field(0) + field(0) + field(0) +
          field(0) + field(0) + "00000000");
    D.raw(field(r.type) + field(0) + field(0) + field(pd_lines[k]) + field(0) + right("", 8) +
          right("", 8) + right(r.label, 8) + field(static_cast<long>(k + 1)));
  }
  const auto count = [](char c, int n) { return std::string(1, c) + right(std::to_string(n), 7); };
  std::string T =
      count('S', S.lines()) + count('G', G.lines()) + count('D', D.lines()) + count('P', P.lines());
  T = padded(T, 72) + "T      1\n";

  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << S.text() << G.text() << D.text() << P.text() << T;
  out.close();
  if (!out) {
    error = path + ": cannot be written";
    return false;
  }
  return true;
}

}  // namespace orvo::tools
