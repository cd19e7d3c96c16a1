// Text streams of the curve, surface and point-list files: a reader that
// takes whitespace-separated numbers and refuses anything it cannot convert
// whole, and the number formats shared by the writers and the printers.
#pragma once

#include <cstdint>
#include <cstdio>

#include "core/internal.hpp"

namespace orvo::detail {

// Reads numbers from a text file opened "r". Every conversion must consume
// its whole token, so a short or malformed file is detected instead of
// leaving fields unread. The file's byte length bounds how many numbers it
// can still hold, which lets a reader refuse a header that claims more than
// the file contains before it allocates anything.
class TextIn {
 public:
  explicit TextIn(const char *path);
  ~TextIn();
  TextIn(const TextIn &) = delete;
  TextIn &operator=(const TextIn &) = delete;

  bool is_open() const { return f_ != nullptr; }
  bool read(long *v);
  bool read(int16_t *v);
  bool read(double *v);
  // Upper bound on the count of numbers left in the file (each takes at
  // least one character and one separator). 0 when the length is unknown.
  std::uint64_t budget() const;

 private:
  bool token();

  std::FILE *f_;
  long size_ = 0;
  long used_ = 0;
  static constexpr std::size_t kTokenMax = 400;  // a printed DBL_MAX fits
  char tok_[kTokenMax + 1];
  std::size_t len_ = 0;
};

// A text file opened "w" (replacing an existing one). close() reports
// whether everything written reached the file.
class TextOut {
 public:
  explicit TextOut(const char *path) : f_(path ? std::fopen(path, "w") : nullptr) {}
  ~TextOut() {
    if (f_) std::fclose(f_);
  }
  TextOut(const TextOut &) = delete;
  TextOut &operator=(const TextOut &) = delete;

  bool is_open() const { return f_ != nullptr; }
  std::FILE *get() const { return f_; }
  bool close();

 private:
  std::FILE *f_;
};

// Number formats of the files and the printed layout.
void put_index(std::FILE *f, int32_t n);                         // "%ld\n"
void put_index2(std::FILE *f, int32_t n, int32_t m);             // "%ld %ld\n"
void put_short(std::FILE *f, int16_t v);                         // "%hd\n"
void put_short2(std::FILE *f, int16_t a, int16_t b);             // "%hd %hd\n"
void put_reals(std::FILE *f, const double *v, int32_t highest);  // "%18.16f\n" each
// count doubles as "%18.16f", separated by sep, closed by "\n".
void put_fields(std::FILE *f, const double *v, int count, const char *sep);

// Control points Pw[0..highest], one line each: x y, then z when 3-D, then
// w when rational, separated by sep.
void put_cpoints(std::FILE *f, const CPOINT *Pw, int32_t highest, bool three_d, bool rational,
                 const char *sep);
// The four header lines of a curve: n, p, rational flag 1/0, dimension 3/2,
// the kind taken from the first control point.
void put_curve_head(std::FILE *f, const CURVE *cur);

// a * b * c without overflow; false when the product does not fit.
inline bool product(std::uint64_t a, std::uint64_t b, std::uint64_t c, std::uint64_t *out) {
  return !__builtin_mul_overflow(a, b, out) && !__builtin_mul_overflow(*out, c, out);
}

}  // namespace orvo::detail
