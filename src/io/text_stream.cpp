// Number reading and writing of the text files and the printed layout.
#include "io/text_stream.hpp"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace orvo::detail {

TextIn::TextIn(const char *path) : f_(path ? std::fopen(path, "r") : nullptr) {
  tok_[0] = '\0';
  if (!f_) return;
  // The length bounds the record sizes a header may claim. A stream without
  // a length (a pipe) keeps 0 and so can describe no record.
  if (std::fseek(f_, 0, SEEK_END) == 0) {
    const long s = std::ftell(f_);
    if (s > 0) size_ = s;
  }
  std::rewind(f_);
}

TextIn::~TextIn() {
  if (f_) std::fclose(f_);
}

std::uint64_t TextIn::budget() const {
  if (size_ <= used_) return 0;
  return (static_cast<std::uint64_t>(size_ - used_) + 1) / 2;
}

// Next whitespace-separated token into tok_; false at end of file, on a
// read error or for a token too long to be a number this library writes.
bool TextIn::token() {
  int c;
  do {
    c = std::getc(f_);
    ++used_;
  } while (c != EOF && std::isspace(c));
  std::size_t len = 0;
  while (c != EOF && !std::isspace(c)) {
    if (len == kTokenMax) return false;
    tok_[len++] = static_cast<char>(c);
    c = std::getc(f_);
    ++used_;
  }
  tok_[len] = '\0';
  len_ = len;
  return len > 0;
}

bool TextIn::read(long *v) {
  if (!token()) return false;
  char *end = nullptr;
  errno = 0;
  const long r = std::strtol(tok_, &end, 10);
  if (end == tok_ || end != tok_ + len_ || errno == ERANGE) return false;
  *v = r;
  return true;
}

bool TextIn::read(int16_t *v) {
  long r;
  if (!read(&r) || r < INT16_MIN || r > INT16_MAX) return false;
  *v = static_cast<int16_t>(r);
  return true;
}

bool TextIn::read(double *v) {
  if (!token()) return false;
  char *end = nullptr;
  errno = 0;
  const double r = std::strtod(tok_, &end);
  if (end == tok_ || end != tok_ + len_) return false;            // a NUL byte ends early
  if (errno == ERANGE && std::fabs(r) == HUGE_VAL) return false;  // beyond the doubles
  *v = r;
  return true;
}

bool TextOut::close() {
  const bool ok = !std::ferror(f_);
  const bool closed = std::fclose(f_) == 0;
  f_ = nullptr;
  return ok && closed;
}

void put_index(std::FILE *f, int32_t n) { std::fprintf(f, "%ld\n", static_cast<long>(n)); }

void put_index2(std::FILE *f, int32_t n, int32_t m) {
  std::fprintf(f, "%ld %ld\n", static_cast<long>(n), static_cast<long>(m));
}

void put_short(std::FILE *f, int16_t v) { std::fprintf(f, "%hd\n", v); }

void put_short2(std::FILE *f, int16_t a, int16_t b) { std::fprintf(f, "%hd %hd\n", a, b); }

void put_reals(std::FILE *f, const double *v, int32_t highest) {
  for (int32_t i = 0; i <= highest; ++i) std::fprintf(f, "%18.16f\n", v[i]);
}

void put_fields(std::FILE *f, const double *v, int count, const char *sep) {
  for (int i = 0; i < count; ++i) {
    if (i) std::fputs(sep, f);
    std::fprintf(f, "%18.16f", v[i]);
  }
  std::fputc('\n', f);
}

void put_cpoints(std::FILE *f, const CPOINT *Pw, int32_t highest, bool three_d, bool rational,
                 const char *sep) {
  for (int32_t i = 0; i <= highest; ++i) {
    double v[4];
    int k = 0;
    v[k++] = Pw[i].x;
    v[k++] = Pw[i].y;
    if (three_d) v[k++] = Pw[i].z;
    if (rational) v[k++] = Pw[i].w;
    put_fields(f, v, k, sep);
  }
}

void put_curve_head(std::FILE *f, const CURVE *cur) {
  put_index(f, cur->pol->n);
  put_short(f, cur->p);
  put_short(f, U_iscurr(cur));
  put_short(f, U_iscur3(cur) ? 3 : 2);
}

}  // namespace orvo::detail
