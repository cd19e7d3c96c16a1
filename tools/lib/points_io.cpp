// Point files for fitting: the library's point lists and nets, read by its
// own readers once the layout has been checked line by line, or columns of
// numbers separated by commas, semicolons or blanks.
#include "lib/points_io.hpp"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "lib/store.hpp"

namespace orvo::tools {

namespace {

constexpr std::streamoff kMaxBytes = std::streamoff(1) << 28;  // 256 MiB
constexpr size_t kMaxPoints = size_t(1) << 24;

// One line of the file cut into fields; blank lines and comments have none.
struct Line {
  long number;
  std::vector<std::string> fields;
  bool separated;  // fields separated by commas or semicolons
};

bool fail(std::string &error, const std::string &path, long line, const std::string &what) {
  error = path + (line > 0 ? ": line " + std::to_string(line) : "") + ": " + what;
  return false;
}

bool number(const std::string &s, double &x) {
  char *end = nullptr;
  x = s.empty() ? 0 : std::strtod(s.c_str(), &end);
  return !s.empty() && end == s.c_str() + s.size() && std::isfinite(x);
}

// A non-negative integer that fits an int32_t.
bool index(const std::string &s, long &n) {
  char *end = nullptr;
  n = s.empty() || s[0] == '-' || s[0] == '+' ? -1 : std::strtol(s.c_str(), &end, 10);
  return n >= 0 && n < (1L << 30) && end == s.c_str() + s.size();
}

std::string trim(const std::string &s) {
  const size_t a = s.find_first_not_of(" \t\r"), b = s.find_last_not_of(" \t\r");
  return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

bool read_lines(const std::string &path, std::vector<Line> &lines, std::string &error) {
  std::ifstream f(path, std::ios::binary);
  if (!f) return fail(error, path, 0, "cannot be opened");
  f.seekg(0, std::ios::end);
  if (f.tellg() < 0 || f.tellg() > kMaxBytes)
    return fail(error, path, 0, "too large or unreadable");
  f.seekg(0);
  std::string text;
  for (long number = 1; std::getline(f, text); ++number) {
    Line line{number, {}, false};
    text = trim(text);
    if (!text.empty() && text[0] != '#') {
      line.separated = text.find_first_of(",;") != std::string::npos;
      std::istringstream s(text);
      std::string field;
      if (line.separated)
        while (std::getline(s, field, text.find(',') != std::string::npos ? ',' : ';'))
          line.fields.push_back(trim(field));
      else
        while (s >> field) line.fields.push_back(field);
      if (line.separated && text.back() == ',') line.fields.push_back("");
    }
    lines.push_back(std::move(line));
  }
  if (f.bad()) return fail(error, path, 0, "cannot be read");
  return true;
}

// The library's point list ("n", then n+1 lines x y z) or net ("n m", then
// (n+1)(m+1) lines): checked here for a message with a line, then read by
// the library. kind 0: not such a file; 1 list, 2 net.
bool library_file(const std::string &path, const std::vector<Line> &lines, int &kind,
                  std::vector<std::vector<POINT>> &rows, std::string &error) {
  kind = 0;
  size_t k = 0;
  while (k < lines.size() && lines[k].fields.empty()) ++k;
  if (k == lines.size() || lines[k].separated || lines[k].fields.size() > 2) return true;
  long n = 0, m = 0;
  const auto &head = lines[k].fields;
  if (!index(head[0], n) || (head.size() == 2 && !index(head[1], m))) return true;
  size_t count = 0;
  for (size_t j = k + 1; j < lines.size(); ++j) {
    double x;
    for (const auto &s : lines[j].fields)
      if (!number(s, x)) {
        if (head.size() == 2) return true;  // two numbers then columns: a file of 2-D points
        return fail(error, path, lines[j].number, "'" + s + "' is not a number");
      }
    count += lines[j].fields.size();
  }
  const size_t want = 3 * size_t(n + 1) * size_t(m + 1);
  if (head.size() == 2 && count != want) return true;
  if (count != want || want / 3 > kMaxPoints)
    return fail(error, path, lines[k].number,
                "a list of " + std::to_string(n + 1) + " points needs " + std::to_string(want) +
                    " numbers, the file holds " + std::to_string(count));
  Store store;
  POINT *list = nullptr, **net = nullptr;
  int32_t ln = 0, lm = 0;
  if (head.size() == 1 ? U_inpp1d(&list, &ln, path.c_str(), store.ws())
                       : U_inpp2d(&net, &ln, &lm, path.c_str(), store.ws()))
    return fail(error, path, 0, library_error());
  kind = int(head.size());
  if (kind == 1) rows.assign(1, std::vector<POINT>(list, list + ln + 1));
  for (int32_t i = 0; kind == 2 && i <= ln; ++i) rows.emplace_back(net[i], net[i] + lm + 1);
  return true;
}

// Columns of two or three numbers; a blank line ends a row. A first line
// of words is a header.
bool columns(const std::string &path, const std::vector<Line> &lines,
             std::vector<std::vector<POINT>> &rows, std::vector<long> &starts, std::string &error) {
  size_t width = 0, total = 0;
  bool blank = true;
  for (const Line &line : lines) {
    if (line.fields.empty()) {
      blank = true;
      continue;
    }
    double x[3] = {0, 0, 0};
    const char first = line.fields[0].empty() ? '0' : line.fields[0][0];
    if (total == 0 && width == 0 &&
        (std::isalpha(static_cast<unsigned char>(first)) || first == '"' || first == '\'' ||
         first == '_')) {
      width = size_t(-1);  // the header, skipped once
      continue;
    }
    if (line.fields.size() < 2 || line.fields.size() > 3)
      return fail(error, path, line.number,
                  "expected 2 or 3 values, found " + std::to_string(line.fields.size()));
    if (width != 0 && width != size_t(-1) && width != line.fields.size())
      return fail(error, path, line.number,
                  "expected " + std::to_string(width) + " values like the lines before");
    width = line.fields.size();
    for (size_t c = 0; c < width; ++c)
      if (!number(line.fields[c], x[c]))
        return fail(error, path, line.number, "'" + line.fields[c] + "' is not a number");
    if (++total > kMaxPoints) return fail(error, path, line.number, "too many points");
    if (blank) rows.emplace_back(), starts.push_back(line.number);
    rows.back().push_back(POINT{x[0], x[1], x[2]});
    blank = false;
  }
  if (total == 0) return fail(error, path, 0, "holds no points");
  return true;
}

// The rows of a file, with the line each starts on (columns only).
bool read_rows(const std::string &path, std::vector<std::vector<POINT>> &rows,
               std::vector<long> &starts, int &kind, std::string &error) {
  std::vector<Line> lines;
  if (!read_lines(path, lines, error) || !library_file(path, lines, kind, rows, error))
    return false;
  starts.assign(rows.size(), 0);
  return kind != 0 || columns(path, lines, rows, starts, error);
}

}  // namespace

bool read_points(const std::string &path, std::vector<POINT> &points, std::string &error) {
  std::vector<std::vector<POINT>> rows;
  std::vector<long> starts;
  int kind;
  if (!read_rows(path, rows, starts, kind, error)) return false;
  points.clear();
  for (const auto &row : rows) points.insert(points.end(), row.begin(), row.end());
  return true;
}

bool read_grid(const std::string &path, std::vector<std::vector<POINT>> &grid, std::string &error) {
  std::vector<std::vector<POINT>> rows;
  std::vector<long> starts;
  int kind;
  if (!read_rows(path, rows, starts, kind, error)) return false;
  if (kind == 1) return fail(error, path, 0, "a point list, not a grid (\"n m\" header)");
  for (size_t r = 1; r < rows.size(); ++r)
    if (rows[r].size() != rows[0].size())
      return fail(error, path, starts[r],
                  "row " + std::to_string(r + 1) + " has " + std::to_string(rows[r].size()) +
                      " points, the first " + std::to_string(rows[0].size()));
  grid = std::move(rows);
  return true;
}

}  // namespace orvo::tools
