// Shared parts of the fuzz targets: the input bytes as a file for the text
// readers, the records they read handed to the hostile-record checker, and
// an abort with the reason when a promise is broken.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "robustness/hostile_records.hpp"

namespace orvo_fuzz {

[[noreturn]] inline void broken(const std::string &why) {
  std::fprintf(stderr, "promise broken: %s\n", why.c_str());
  std::abort();
}

// The bytes of one run in a file of this process, removed at exit.
class InputFile {
 public:
  InputFile() : path_("/tmp/orvo-fuzz-" + std::to_string(getpid()) + ".txt") {}
  ~InputFile() { std::remove(path_.c_str()); }
  const char *write(const uint8_t *data, size_t size) {
    std::FILE *f = std::fopen(path_.c_str(), "wb");
    if (!f || std::fwrite(data, 1, size, f) != size || std::fclose(f) != 0) broken("temp file");
    return path_.c_str();
  }

 private:
  std::string path_;
};

// Whether the text may spell a non-finite number ("nan", "inf" in any case),
// which a reader may then take as it is.
inline bool spells_nonfinite(const uint8_t *data, size_t size) {
  std::string s(reinterpret_cast<const char *>(data), size);
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
  return s.find("nan") != std::string::npos || s.find("inf") != std::string::npos;
}

// Status 0 or 1 with an error code (the error state is cleared).
inline bool succeeded(int16_t status, const char *what) {
  orvo_hostile::Checker ck;
  if (!ck.ran(status, what)) {
    if (!ck.violation.empty()) broken(ck.violation);
    return false;
  }
  return true;
}

// The bytes as a file, read by read(path, check, ws, finite_text) with check
// 0 and with check 1, each time in a workspace of its own released after.
template <class Read>
int read_both_ways(const uint8_t *data, size_t size, Read read) {
  static InputFile file;
  const char *path = file.write(data, size);
  const bool finite_text = !spells_nonfinite(data, size);
  for (int16_t check = 0; check <= 1; ++check) {
    STACKS ws;
    N_inurbs(&ws);
    read(path, check, &ws, finite_text);
    N_enurbs(&ws);
  }
  return 0;
}

inline void expect_finite(bool finite_text, const std::vector<double> &v, const char *what) {
  if (finite_text && !orvo_hostile::all_finite(v))
    broken(std::string(what) + " read non-finite numbers:" + orvo_hostile::text(v));
}

// The checker over a copy of a curve (V empty) or surface that was read.
inline void check(std::vector<CPOINT> P, const KNOTVECTOR *U, const KNOTVECTOR *V, int16_t p,
                  int16_t q) {
  orvo_hostile::Record r;
  r.P = std::move(P), r.p = p, r.q = q, r.U = orvo_hostile::values(U);
  orvo_hostile::Source none(nullptr, 0);
  r.tu = orvo_hostile::make_params(none, r.U, p);
  if (V) r.V = orvo_hostile::values(V), r.tv = orvo_hostile::make_params(none, r.V, q);
  orvo_hostile::Checker ck;
  V ? orvo_hostile::check_surface(ck, r) : orvo_hostile::check_curve(ck, r);
  if (!ck.violation.empty()) broken(ck.violation);
}

inline void check(const CURVE *c) {
  check({c->pol->Pw, c->pol->Pw + c->pol->n + 1}, c->knt, nullptr, c->p, 0);
}

inline void check(const SURFACE *s) {
  std::vector<CPOINT> P;
  for (int32_t i = 0; i <= s->net->n; ++i)
    P.insert(P.end(), s->net->Pw[i], s->net->Pw[i] + s->net->m + 1);
  check(std::move(P), s->knu, s->knv, s->p, s->q);
}

}  // namespace orvo_fuzz
