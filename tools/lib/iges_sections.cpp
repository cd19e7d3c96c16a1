// Splitting an IGES file into its Start, Global, Directory, Parameter and
// Terminate sections, with the checks that make every later access safe:
// record length and order, sequence numbers, directory pointers, the
// parameter lines' back pointers and the Terminate counts.
#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "lib/iges_parse.hpp"

namespace orvo::tools::iges {

namespace {

constexpr int kWidth = 80;

struct Record {
  std::string text;  // exactly 80 columns
  int file_line;     // 1-based line of the file
  char section;
  int sequence;
};

[[noreturn]] void fault(const std::string &where, const std::string &what) {
  throw Malformed("line " + where + ": " + what);
}

std::string label(char section, int sequence) {
  return std::string(1, section) + std::to_string(sequence);
}

std::string trim(const std::string &s) {
  size_t a = 0, b = s.size();
  while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
  while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
  return s.substr(a, b - a);
}

// A whole integer in [lo, hi]; false for anything else (blank is 0).
bool to_integer(const std::string &text, long lo, long hi, long &value) {
  const std::string t = trim(text);
  if (t.empty()) {
    value = 0;
    return lo <= 0 && 0 <= hi;
  }
  size_t i = (t[0] == '+' || t[0] == '-') ? 1 : 0;
  if (i == t.size()) return false;
  for (size_t k = i; k < t.size(); ++k)
    if (!std::isdigit(static_cast<unsigned char>(t[k]))) return false;
  errno = 0;
  const long v = std::strtol(t.c_str(), nullptr, 10);
  if (errno == ERANGE || v < lo || v > hi) return false;
  value = v;
  return true;
}

// The file's lines: separated by LF (CR LF accepted), or, in a file
// without line breaks, consecutive 80-column records.
std::vector<Record> split_records(const std::string &bytes) {
  std::vector<std::string> lines;
  if (bytes.find('\n') == std::string::npos && !bytes.empty() && bytes.size() % kWidth == 0) {
    for (size_t i = 0; i < bytes.size(); i += kWidth) lines.push_back(bytes.substr(i, kWidth));
  } else {
    size_t start = 0;
    while (start < bytes.size()) {
      size_t end = bytes.find('\n', start);
      if (end == std::string::npos) end = bytes.size();
      std::string line = bytes.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(std::move(line));
      start = end + 1;
    }
  }
  std::vector<Record> records;
  records.reserve(lines.size());
  for (size_t k = 0; k < lines.size(); ++k) {
    const std::string where = std::to_string(k + 1);
    std::string &line = lines[k];
    if (line.size() < static_cast<size_t>(kWidth))
      fault(where, "record truncated to " + std::to_string(line.size()) + " columns (80 expected)");
    if (line.find_first_not_of(' ', kWidth) != std::string::npos)
      fault(where, "record longer than 80 columns");
    line.resize(kWidth);
    for (char c : line)
      if (c == '\0') fault(where, "NUL byte in the record");
    long sequence = 0;
    const char section = line[72];
    if (!to_integer(line.substr(73, 7), 1, 9999999, sequence))
      fault(where, "no sequence number in columns 74-80");
    records.push_back(Record{line, static_cast<int>(k + 1), section, static_cast<int>(sequence)});
  }
  return records;
}

// The directory fields of one entry (two records) checked against the
// sizes of the D and P sections.
Entry directory_entry(const Record &a, const Record &b, int d_lines, int p_lines) {
  // Line 1 fields 1-8 (the status, field 9, is read as text), line 2
  // fields 11-15.
  long f[15] = {};
  const auto number = [](const Record &r, int k, long &v) {
    if (!to_integer(r.text.substr(8 * static_cast<size_t>(k), 8), -9999999, 99999999, v))
      fault(label('D', r.sequence), "columns " + std::to_string(8 * k + 1) + "-" +
                                        std::to_string(8 * k + 8) + " are not an integer: '" +
                                        trim(r.text.substr(8 * static_cast<size_t>(k), 8)) + "'");
  };
  for (int k = 0; k < 8; ++k) number(a, k, f[k]);
  for (int k = 0; k < 5; ++k) number(b, k, f[10 + k]);
  Entry e;
  e.de = a.sequence;
  e.type = static_cast<int>(f[0]);
  e.pd = static_cast<int>(f[1]);
  e.transform = static_cast<int>(f[6]);
  e.pd_count = static_cast<int>(f[13]);
  e.form = static_cast<int>(f[14]);
  e.label = trim(b.text.substr(56, 8));
  const std::string status = a.text.substr(64, 8);
  long sub = 0;
  if (!trim(status).empty() && !to_integer(status.substr(2, 2), 0, 99, sub))
    fault(label('D', a.sequence), "status field is not numeric: '" + trim(status) + "'");
  e.subordinate = static_cast<int>(sub);
  const std::string here = label('D', a.sequence);
  if (f[10] != f[0])
    fault(label('D', b.sequence), "entity type " + std::to_string(f[10]) +
                                      " differs from the type on the line before (" +
                                      std::to_string(f[0]) + ")");
  if (e.pd < 1 || e.pd_count < 1 || e.pd > p_lines || e.pd_count > p_lines - e.pd + 1)
    fault(here, "parameter data pointer " + std::to_string(e.pd) + " with " +
                    std::to_string(e.pd_count) + " lines lies outside the P section (lines 1 to " +
                    std::to_string(p_lines) + ")");
  if (e.transform < 0 || (e.transform > 0 && (e.transform % 2 == 0 || e.transform > d_lines)))
    fault(here, "transformation pointer " + std::to_string(e.transform) +
                    " is not an entry of the directory");
  return e;
}

}  // namespace

std::vector<Field> split_fields(const std::string &text, char pdelim, char rdelim,
                                const std::string &section, int first_line, int line_width) {
  std::vector<Field> fields;
  const auto line_at = [&](size_t offset) {
    return first_line + static_cast<int>(offset / static_cast<size_t>(line_width));
  };
  size_t i = 0;
  const size_t n = text.size();
  while (i < n) {
    Field field;
    field.line = line_at(i);
    while (i < n && text[i] == ' ') ++i;
    // A Hollerith string: a count, 'H', then exactly that many characters.
    size_t j = i;
    while (j < n && std::isdigit(static_cast<unsigned char>(text[j]))) ++j;
    if (j > i && j < n && (text[j] == 'H' || text[j] == 'h')) {
      long count = 0;
      if (!to_integer(text.substr(i, j - i), 0, static_cast<long>(n), count) ||
          static_cast<size_t>(count) > n - j - 1)
        fault(label(section[0], line_at(i)),
              "Hollerith string " + text.substr(i, j - i + 1) + " runs past the end of the data");
      field.text = text.substr(j + 1, static_cast<size_t>(count));
      field.is_string = true;
      i = j + 1 + static_cast<size_t>(count);
      while (i < n && text[i] == ' ') ++i;
      if (i < n && text[i] != pdelim && text[i] != rdelim)
        fault(label(section[0], line_at(i)),
              "text after a Hollerith string: '" + std::string(1, text[i]) + "'");
    } else {
      j = i;
      while (j < n && text[j] != pdelim && text[j] != rdelim) ++j;
      field.text = trim(text.substr(i, j - i));
      i = j;
    }
    fields.push_back(std::move(field));
    if (i >= n || text[i] == rdelim) break;
    ++i;  // the parameter delimiter
    if (i >= n) fields.push_back(Field{"", false, line_at(n - 1)});
  }
  return fields;
}

std::string field_line(const Entry &e, std::size_t i) {
  return "line P" + std::to_string(i < e.fields.size() ? e.fields[i].line : e.pd);
}

void need_fields(const Entry &e, std::size_t count) {
  if (e.fields.size() < count)
    throw Malformed(field_line(e, e.fields.size() - 1) + ": entity " + std::to_string(e.type) +
                    " (D" + std::to_string(e.de) + ") needs " + std::to_string(count) +
                    " parameters, its data hold " + std::to_string(e.fields.size()));
}

double real_field(const Entry &e, std::size_t i) {
  if (i >= e.fields.size() || e.fields[i].text.empty()) return 0.0;
  const Field &f = e.fields[i];
  std::string t = f.text;
  bool ok = !f.is_string && t.size() < 64;
  bool digit = false;
  for (char &c : t) {
    if (c == 'D' || c == 'd') c = 'E';
    if (std::isdigit(static_cast<unsigned char>(c)))
      digit = true;
    else if (c != '+' && c != '-' && c != '.' && c != 'E' && c != 'e')
      ok = false;
  }
  char *end = nullptr;
  double v = 0.0;
  if (ok && digit) {
    errno = 0;
    v = std::strtod(t.c_str(), &end);
    ok = end && *end == '\0' && std::isfinite(v);
  } else {
    ok = false;
  }
  if (!ok)
    throw Malformed(field_line(e, i) + ": parameter " + std::to_string(i) + " of entity " +
                    std::to_string(e.type) + " (D" + std::to_string(e.de) +
                    ") is not a finite number: '" + f.text.substr(0, 40) + "'");
  return v;
}

long integer_field(const Entry &e, std::size_t i) {
  if (i >= e.fields.size() || e.fields[i].text.empty()) return 0;
  long v = 0;
  if (e.fields[i].is_string || !to_integer(e.fields[i].text, -99999999, 99999999, v)) {
    // Some writers give integers as reals ("3."): accept whole values.
    const double d = real_field(e, i);
    if (d != std::floor(d) || std::fabs(d) > 99999999.0)
      throw Malformed(field_line(e, i) + ": parameter " + std::to_string(i) + " of entity " +
                      std::to_string(e.type) + " (D" + std::to_string(e.de) +
                      ") is not an integer: '" + e.fields[i].text.substr(0, 40) + "'");
    v = static_cast<long>(d);
  }
  return v;
}

int pointer_field(const Sections &s, const Entry &e, std::size_t i) {
  const long p = integer_field(e, i);
  if (p == 0) return -1;
  // A negative pointer marks a dependent entry in some writers' output.
  const long de = p < 0 ? -p : p;
  if (de % 2 == 0 || de > s.d_lines)
    throw Malformed(field_line(e, i) + ": pointer " + std::to_string(p) + " in entity " +
                    std::to_string(e.type) + " (D" + std::to_string(e.de) +
                    ") is not an entry of the directory");
  return static_cast<int>((de - 1) / 2);
}

void parse_sections(const std::string &bytes, Sections &out) {
  if (bytes.size() > kMaxFileBytes) throw Malformed("line 1: file larger than 256 MB");
  const std::vector<Record> records = split_records(bytes);
  static const std::string order = "SGDPT";
  std::vector<const Record *> by_section[5];
  size_t stage = 0;
  for (const Record &r : records) {
    const size_t s = order.find(r.section);
    if (r.section == 'F' || r.section == 'C' || r.section == 'B')
      fault(label(r.section, r.sequence), "binary or compressed IGES is not supported");
    if (s == std::string::npos)
      fault(std::to_string(r.file_line),
            "unknown section letter '" + std::string(1, r.section) + "' in column 73");
    if (s < stage)
      fault(label(r.section, r.sequence), "section " + std::string(1, r.section) +
                                              " after section " + std::string(1, order[stage]));
    stage = s;
    auto &list = by_section[s];
    if (r.sequence != static_cast<int>(list.size()) + 1)
      fault(label(r.section, r.sequence),
            "sequence number out of order (expected " + std::to_string(list.size() + 1) + ")");
    list.push_back(&r);
  }
  if (by_section[4].size() != 1)
    throw Malformed("line " + std::to_string(records.size()) +
                    ": the file does not end with one Terminate (T) record");
  const auto &G = by_section[1], &D = by_section[2], &P = by_section[3];
  const Record &T = *by_section[4][0];
  for (int k = 0; k < 4; ++k) {
    long count = 0;
    const std::string field = T.text.substr(8 * k, 8);
    if (!to_integer(field.substr(1), 0, 9999999, count) || field[0] != order[k] ||
        count != static_cast<long>(by_section[k].size()))
      fault("T1", "the count of " + std::string(1, order[k]) + " lines '" + trim(field) +
                      "' differs from the " + std::to_string(by_section[k].size()) +
                      " lines of the file");
  }
  if (G.empty()) fault("T1", "the file has no Global section");
  if (D.size() % 2 != 0)
    fault(label('D', D.back()->sequence), "the directory ends with half an entry");
  out.d_lines = static_cast<int>(D.size());
  out.p_lines = static_cast<int>(P.size());

  // Global section: the two delimiters first, each a 1H string or left
  // out (',' and ';').
  std::string global;
  for (const Record *r : G) global += r->text.substr(0, 72);
  size_t at = 0;
  char delims[2] = {',', ';'};
  for (int k = 0; k < 2; ++k) {
    while (at < global.size() && global[at] == ' ') ++at;
    if (global.compare(at, 2, "1H") == 0 && at + 2 < global.size()) {
      delims[k] = global[at + 2];
      at += 3;
    }
    while (at < global.size() && global[at] == ' ') ++at;
    if (at < global.size() && global[at] == delims[0]) {
      ++at;
    } else if (!(k == 1 && at < global.size() && global[at] == delims[1])) {
      fault("G1", "the Global section does not start with its delimiters");
    }
  }
  out.parameter_delimiter = delims[0];
  out.record_delimiter = delims[1];
  if (delims[0] == delims[1] || delims[0] == ' ' || delims[1] == ' ' ||
      std::isdigit(static_cast<unsigned char>(delims[0])) ||
      std::isdigit(static_cast<unsigned char>(delims[1])))
    fault("G1", "unusable delimiters '" + std::string(1, delims[0]) + "' and '" +
                    std::string(1, delims[1]) + "'");
  global.replace(0, at, at, ' ');  // keeps the offsets of the lines
  out.global = split_fields(global, delims[0], delims[1], "G", 1, 72);

  // Directory entries and their parameter data.
  out.entries.clear();
  out.entries.reserve(D.size() / 2);
  for (size_t k = 0; k + 1 < D.size(); k += 2) {
    Entry e = directory_entry(*D[k], *D[k + 1], out.d_lines, out.p_lines);
    std::string data;
    data.reserve(static_cast<size_t>(e.pd_count) * 64);
    for (int line = e.pd; line < e.pd + e.pd_count; ++line) {
      const Record &r = *P[static_cast<size_t>(line - 1)];
      long back = 0;
      if (!to_integer(r.text.substr(64, 8), 0, 9999999, back) || back != e.de)
        fault(label('P', line), "parameter line points back to D" + trim(r.text.substr(64, 8)) +
                                    ", not to D" + std::to_string(e.de));
      data += r.text.substr(0, 64);
    }
    e.fields = split_fields(data, delims[0], delims[1], "P", e.pd, 64);
    long type = 0;
    if (e.fields.empty() || !to_integer(e.fields[0].text, 0, 99999, type) || type != e.type)
      fault(label('P', e.pd), "parameter data of D" + std::to_string(e.de) +
                                  " do not start with its entity type " + std::to_string(e.type));
    out.entries.push_back(std::move(e));
  }
}

}  // namespace orvo::tools::iges
