// Building blocks shared by curve and surface fitting: knot placement, the
// banded collocation matrix of interpolation, and the least-squares fit of
// one line of data with its end points fixed.
//
// Both matrices are banded (each data row meets at most p + 1 consecutive
// basis functions) and factored once without pivoting; a surface fit then
// solves every grid line of a direction with the same stored factors.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/internal.hpp"

namespace orvo::detail {

constexpr int kUniform = 1, kCentripetal = 3;

// A leg as the parametrisation counts it: its length, or the square root
// of the length for centripetal parameters.
inline double leg_measure(double d, int ptype) { return ptype == kCentripetal ? std::sqrt(d) : d; }

// ---- Knot placement -----------------------------------------------------------
// p + 1 copies of the first parameter at the front and of the last one
// ending at U[last].
void clamp_ends(double *U, int p, double first, double end, int32_t last);
// Mean of t[j..j+p-1].
double window_average(const double *t, int32_t j, int p);
// Averaging: U[j+p] = mean of t[j..j+p-1], j = 1..n-p; highest index n+p+1.
void interpolation_knots(const double *t, int32_t n, int p, double *U);
// Interior knots spread over the m + 1 parameters so that every knot span
// holds data, for n + 1 control points; highest index n+p+1 (n >= p).
void approximation_knots(const double *t, int32_t m, int32_t n, int p, double *U);

// ---- Points -------------------------------------------------------------------
// A data point for arithmetic: z is 0 in planar data.
inline POINT work_point(const POINT &q, bool flat) { return POINT{q.x, q.y, flat ? 0.0 : q.z}; }

// a + s * D for a point or vector D.
template <class V>
POINT offset(const POINT &a, double s, const V &D) {
  return POINT{a.x + s * D.x, a.y + s * D.y, a.z + s * D.z};
}

inline CPOINT control_point(const POINT &q, bool flat) {
  return CPOINT{q.x, q.y, flat ? kZ2D : q.z, kWNR};
}

// ---- Banded systems -----------------------------------------------------------
// A zero banded square matrix with highest index n and band width bw.
int16_t band_matrix(RMATRIX &A, int32_t n, int32_t bw, STACKS *ws);

// Fills rows first..last of A with the basis values at t[row + shift]. A
// value outside the band or not finite (parameters so close that the system
// is degenerate): error 11 under tag.
int16_t collocation_rows(RMATRIX &A, const KNOTVECTOR &knt, int p, const double *t, int32_t first,
                         int32_t last, int32_t shift, const char *tag);

// The factored (n+1) x (n+1) interpolation matrix of degree p (band
// 2p - 1): unit rows 0 and n, the basis values at t[1..n-1] between.
int16_t interpolation_factors(RMATRIX &A, const KNOTVECTOR &knt, int p, const double *t, int32_t n,
                              const char *tag, STACKS *ws);

// ---- Least squares with fixed end points ------------------------------------
// Approximation of data q(0..m) at the parameters t[0..m] by n + 1 control
// points of degree p: the first and last control points are q(0) and q(m),
// the interior ones solve the normal equations. The basis values of the
// data and the factored normal matrix (band 2p + 1) are made once by
// setup(); solve() then fits any number of lines of data with them.
class EndFixedLeastSquares {
 public:
  // U: knots with highest index n + p + 1. Nothing is solved when n < 2.
  int16_t setup(const double *U, int p, const double *t, int32_t m, int32_t n, const char *tag,
                STACKS *ws);

  // Writes out[0..n] for the data q(k), k = 0..m (POINT values); rhs is
  // scratch for n - 1 points.
  template <class Data>
  int16_t solve(Data q, POINT *rhs, CPOINT *out) const;

 private:
  int p_ = 0;
  int32_t m_ = 0, n_ = 0;
  int32_t *span_ = nullptr;  // span of t[k]
  double *basis_ = nullptr;  // the p + 1 basis values of t[k] at basis_ + k (p + 1)
  RMATRIX A_{};
};

template <class Data>
int16_t EndFixedLeastSquares::solve(Data q, POINT *rhs, CPOINT *out) const {
  const POINT q0 = q(0), qm = q(m_);
  out[0] = control_point(q0, false);
  out[n_] = control_point(qm, false);
  if (n_ < 2) return 0;
  const int32_t last = n_ - 2;  // highest index of the interior control points P[1..n-1]
  std::fill(rhs, rhs + last + 1, POINT{0.0, 0.0, 0.0});
  for (int32_t k = 1; k < m_; ++k) {
    const int32_t s = span_[k];
    const double *N = basis_ + static_cast<int64_t>(k) * (p_ + 1);
    // The data point less the share of the two fixed end control points.
    const double n0 = s == p_ ? N[0] : 0.0, nn = s == n_ ? N[p_] : 0.0;
    const POINT qk = q(k);
    const POINT r{qk.x - n0 * q0.x - nn * qm.x, qk.y - n0 * q0.y - nn * qm.y,
                  qk.z - n0 * q0.z - nn * qm.z};
    for (int a = 0; a <= p_; ++a) {
      const int32_t i = s - p_ + a - 1;  // interior index of the function
      if (i >= 0 && i <= last) rhs[i] = offset(rhs[i], N[a], r);
    }
  }
  return M_forbac(&A_, rhs, 1, out + 1, nullptr);
}

}  // namespace orvo::detail
