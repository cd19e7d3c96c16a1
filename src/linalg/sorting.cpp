// In-place sort of doubles, search in an ascending array and the swaps of
// single values used by the solvers and by curve reversal.
#include <algorithm>
#include <cmath>

#include "core/internal.hpp"

namespace {

// Values closer than this count as equal in a search.
constexpr double kEqual = 1e-12;

template <class T>
void swap_values(T *a, T *b) {
  if (a && b) std::swap(*a, *b);
}

}  // namespace

extern "C" {

// Insertion sort with shrinking gaps (g -> (5g - 1) / 11, then 1). The
// strict comparison never moves equal values past each other.
void M_rshell(double *a, int32_t n) {
  if (!a) return;
  int64_t g = int64_t{n} + 1;
  while (g > 1) {
    g = g >= 5 ? (5 * g - 1) / 11 : 1;
    for (int64_t i = n - g; i >= 0; --i) {
      const double t = a[i];
      int64_t j = i + g;
      for (; j <= n && a[j] < t; j += g) a[j - g] = a[j];
      a[j - g] = t;
    }
  }
}

// Interpolation search. The probe is kept within [lo, hi], so that values
// outside the range of the array and runs of equal values cannot send it
// out of the array.
void M_rinsch(const double *a, int32_t n, double x, int32_t *index) {
  if (!index) return;
  *index = -1;
  if (!a || n < 0) return;
  int32_t lo = 0, hi = n;
  while (hi >= lo) {
    int32_t k = lo;
    const double span = a[hi] - a[lo];
    if (span != 0.0) {
      const double probe = lo + (hi - lo) * ((x - a[lo]) / span);
      // Truncation toward zero, clamped; a NaN probe falls back to lo.
      if (probe >= hi)
        k = hi;
      else if (probe > lo)
        k = static_cast<int32_t>(probe);
    }
    if (std::fabs(a[k] - x) < kEqual) {
      *index = k;
      return;
    }
    if (span == 0.0) return;  // every remaining value equals a[lo]
    if (a[k] > x)
      hi = k - 1;
    else
      lo = k + 1;
  }
}

void M_inswap(int32_t *a, int32_t *b) { swap_values(a, b); }
void M_reswap(double *a, double *b) { swap_values(a, b); }
void M_poswap(POINT *a, POINT *b) { swap_values(a, b); }
void M_cpswap(CPOINT *a, CPOINT *b) { swap_values(a, b); }

}  // extern "C"
