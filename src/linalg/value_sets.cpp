// Bucketed sets of doubles: values of a range [lo, hi] are spread over
// nb + 1 buckets, each an ascending array closed by the largest double, so
// that a value is stored once and all values come back in ascending order.
#include <algorithm>
#include <cmath>

#include "core/internal.hpp"

using namespace orvo::detail;

namespace {

constexpr double kEqual = 1e-12;         // values closer than this are one value
constexpr double kTerminator = DBL_MAX;  // closes every bucket array

// Bucket of v: floor(nb (v - lo) / (hi - lo)), kept within 0..nb (a range
// of zero width puts everything in bucket 0).
int32_t bucket_of(int32_t nb, double lo, double v, double hi) {
  const double t = nb * (v - lo) / (hi - lo);
  if (!(t > 0.0)) return 0;
  if (t >= nb) return nb;
  return static_cast<int32_t>(t);
}

// Number of values in a bucket array, terminator excluded.
int32_t stored(const double *b) {
  int32_t k = 0;
  while (b[k] != kTerminator) ++k;
  return k;
}

}  // namespace

extern "C" {

int16_t M_inrhas(double ***table, int32_t nb, STACKS *ws) {
  if (!table || nb < 0) return fail(kErrIndex, "M_INRHAS");
  double **t = S_getr1p(nb, ws);
  if (!t) return 1;
  std::fill(t, t + nb + 1, nullptr);
  *table = t;
  return 0;
}

int16_t M_uprhas(double **table, int32_t nb, double lo, double v, double hi, int32_t *count,
                 STACKS *ws) {
  static const char kTag[] = "M_UPRHAS";
  if (!table || nb < 0 || !count) return fail(kErrIndex, kTag);
  // The comparison is written so that a NaN is refused; the terminator
  // itself cannot be stored as a value.
  if (!(v >= lo && v <= hi) || v >= kTerminator) return fail(kErrInconsistent, kTag);
  double *&b = table[bucket_of(nb, lo, v, hi)];
  if (!b) {
    double *fresh = S_getr1d(1, ws);
    if (!fresh) return 1;
    fresh[0] = v;
    fresh[1] = kTerminator;
    b = fresh;
    ++*count;
    return 0;
  }
  const int32_t k = stored(b);
  for (int32_t i = 0; i < k; ++i)
    if (std::fabs(b[i] - v) < kEqual) return 0;  // already held
  double *grown = b;
  if (U_ralr1d(&grown, k, k + 1, ws)) return 1;
  int32_t at = 0;
  while (at < k && grown[at] <= v) ++at;
  std::copy_backward(grown + at, grown + k, grown + k + 1);
  grown[at] = v;
  grown[k + 1] = kTerminator;
  b = grown;
  ++*count;
  return 0;
}

void M_rerhas(double *const *table, int32_t nb, double *out) {
  if (!table || !out) return;
  for (int32_t i = 0; i <= nb; ++i) {
    const double *b = table[i];
    if (!b) continue;
    for (; *b != kTerminator; ++b) *out++ = *b;
  }
}

}  // extern "C"
