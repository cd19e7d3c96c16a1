// Internal helpers of the Bezier and power-basis routines: Bernstein values,
// binomial coefficients in doubles, de Casteljau steps and the conversion
// matrices with the caller's error tag, shared by the B_ routines and by the
// algorithms that call them.
#pragma once

#include <cstdint>

#include "arith/point_ops.hpp"
#include "core/internal.hpp"

namespace orvo::detail {

// Zero tolerance of the power-basis matrices: an interval shorter than this
// cannot be mapped onto another one.
constexpr double kIntervalTolerance = 1e-12;

// u lies in the Bezier parameter range [0, 1] (false for NaN).
inline bool in_unit(double u) { return u >= 0.0 && u <= 1.0; }

// Binomial coefficient C(n, k) as a double, 0 outside 0 <= k <= n. Each
// partial product is itself a binomial coefficient, so the result is exact
// while it fits the 53-bit mantissa.
inline double binomial(int32_t n, int32_t k) {
  if (k < 0 || k > n) return 0.0;
  if (k > n - k) k = n - k;
  double c = 1.0;
  for (int32_t i = 1; i <= k; ++i) c = c * (n - k + i) / i;
  return c;
}

// All Bernstein polynomials B(0..p, p) at u into b[0..p]. The ends give the
// exact unit rows; inside, the triangular recurrence keeps every value a
// convex combination.
inline void bernstein_all(int32_t p, double u, double *b) {
  if (u == 0.0 || u == 1.0) {
    for (int32_t k = 0; k <= p; ++k) b[k] = 0.0;
    b[u == 0.0 ? 0 : p] = 1.0;
    return;
  }
  const double v = 1.0 - u;
  b[0] = 1.0;
  for (int32_t j = 1; j <= p; ++j) {
    double s = 0.0;
    for (int32_t k = 0; k < j; ++k) {
      const double t = b[k];
      b[k] = s + v * t;
      s = u * t;
    }
    b[j] = s;
  }
}

// One Bernstein polynomial B(i, p) at u by the de Casteljau triangle over
// the unit coefficient vector; s is scratch of p + 1 doubles.
inline double bernstein_one(int32_t p, int32_t i, double u, double *s) {
  if (u == 0.0) return i == 0 ? 1.0 : 0.0;
  if (u == 1.0) return i == p ? 1.0 : 0.0;
  for (int32_t k = 0; k <= p; ++k) s[k] = 0.0;
  s[p - i] = 1.0;
  const double v = 1.0 - u;
  for (int32_t k = 1; k <= p; ++k)
    for (int32_t j = p; j >= k; --j) s[j] = v * s[j] + u * s[j - 1];
  return s[p];
}

// De Casteljau split of the Bezier points work[0..p] at u, done inside work:
// L receives the left edge of the triangle (L[k] the first point of level
// k), work keeps the right edge (work[p-k] the last point of level k).
inline void casteljau_split(CPOINT *work, int32_t p, double u, CPOINT *L) {
  const double v = 1.0 - u;
  L[0] = work[0];
  for (int32_t k = 1; k <= p; ++k) {
    for (int32_t j = 0; j <= p - k; ++j) work[j] = combine(v, work[j], u, work[j + 1]);
    L[k] = work[0];
  }
}

// ---- Conversion matrices, recording errors under the caller's tag ---------
// M: Bezier to power (lower-left), its inverse (lower-left), and the power
// reparametrisation from [a, b] to [c, d] (upper-right; reverse = the map
// from [c, d] to [a, b]). Each goes through check-or-allocate in ws.
int16_t power_matrix(int32_t p, RMATRIX *M, const char *tag, STACKS *ws);
int16_t inverse_power_matrix(int32_t p, RMATRIX *M, const char *tag, STACKS *ws);
int16_t reparam_matrix(int32_t p, double a, double b, double c, double d, bool reverse, RMATRIX *R,
                       const char *tag, STACKS *ws);

// Degree elevation matrix from p to p + t (full, (p+t+1) x (p+1)).
int16_t elevation_matrix(int32_t p, int32_t t, RMATRIX *E, const char *tag, STACKS *ws);

}  // namespace orvo::detail
