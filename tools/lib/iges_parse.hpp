// The sections of an IGES file split into directory entries and their
// parameter fields, before any geometry is made. Every fault of the text is
// a Malformed exception whose message names the line ("line P42: ...");
// read_iges turns it into its error text.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

namespace orvo::tools::iges {

struct Malformed : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// One parameter field: its text with the blanks around it removed (empty:
// the field was left out and takes its default), whether it was a
// Hollerith string, and the sequence number of the P line it starts on.
struct Field {
  std::string text;
  bool is_string = false;
  int line = 0;
};

// One directory entry with its parameter fields (fields[0] the type).
struct Entry {
  int de = 0;  // sequence number of the first D line
  int type = 0, form = 0;
  int pd = 0, pd_count = 0;  // first P line and number of P lines
  int transform = 0;         // DE number of a 124, or 0
  int subordinate = 0;       // status digits 3-4: 0 independent
  std::string label;
  std::vector<Field> fields;
};

struct Sections {
  char parameter_delimiter = ',', record_delimiter = ';';
  std::vector<Field> global;
  std::vector<Entry> entries;  // entries[k] has DE number 2k + 1
  int d_lines = 0, p_lines = 0;
};

// Largest file the reader takes.
constexpr std::size_t kMaxFileBytes = std::size_t{256} << 20;

// Splits the bytes of a file into its sections; throws Malformed.
void parse_sections(const std::string &bytes, Sections &out);

// The fields of text (delimiters as given), up to the record delimiter or
// the end; line_of(offset) gives the line label of a character.
std::vector<Field> split_fields(const std::string &text, char pdelim, char rdelim,
                                const std::string &section, int first_line, int line_width);

// Checked reading of field i of entry e (missing or empty fields are 0).
double real_field(const Entry &e, std::size_t i);
long integer_field(const Entry &e, std::size_t i);

// The entry a pointer field names (index into Sections::entries), or -1
// for 0; throws Malformed for a pointer outside the directory.
int pointer_field(const Sections &s, const Entry &e, std::size_t i);

// Throws Malformed unless e has at least count fields: "line P7: entity
// 126 (D3) needs 40 parameters, has 31".
void need_fields(const Entry &e, std::size_t count);

// "line P12" for field i of e (or the entry's first P line).
std::string field_line(const Entry &e, std::size_t i);

}  // namespace orvo::tools::iges
