// Knot placement, banded collocation and normal matrices shared by curve
// and surface fitting.
#include "fit/fit_common.hpp"

#include <climits>

#include "eval/kernels.hpp"
#include "linalg/matrix_view.hpp"

namespace orvo::detail {

namespace {

// Row `row` of A: the basis values at u, in the columns of their
// functions. A non-zero value outside the band (parameters so close that
// the system is degenerate) or a non-finite one gives false.
bool collocation_row(const MatView &A, const KNOTVECTOR &knt, int p, double u, int32_t row,
                     int32_t &s) {
  double N[kBasisSize];
  // Parameters rise row by row: the span is found by walking on from the
  // previous one (a search only when a parameter falls back).
  const double *U = knt.U;
  const int32_t last = knt.m - p - 1;
  if (s < p || s > last || u < U[s] || !(u >= U[p] && u <= U[knt.m - p])) {
    s = span_and_basis(U, knt.m, p, u, 1, N);
    if (s < 0) return false;  // a span the divisions cannot be done in
  } else {
    while (s < last && U[s + 1] <= u) ++s;
    basis_values(U, p, u, s, N);
  }
  for (int j = 0; j <= p; ++j) {
    if (N[j] == 0.0) continue;
    const int32_t col = s - p + j;
    if (!std::isfinite(N[j]) || col < A.first(row) || col > A.last(row)) return false;
    A(row, col) = N[j];
  }
  return true;
}

}  // namespace

void clamp_ends(double *U, int p, double first, double end, int32_t last) {
  std::fill(U, U + p + 1, first);
  std::fill(U + last - p, U + last + 1, end);
}

double window_average(const double *t, int32_t j, int p) {
  double s = 0.0;
  for (int i = 0; i < p; ++i) s += t[j + i];
  return s / p;
}

void interpolation_knots(const double *t, int32_t n, int p, double *U) {
  clamp_ends(U, p, t[0], t[n], n + p + 1);
  for (int32_t j = 1; j <= n - p; ++j) U[j + p] = window_average(t, j, p);
}

// The second half of the interior knots interpolates one parameter further
// back.
void approximation_knots(const double *t, int32_t m, int32_t n, int p, double *U) {
  clamp_ends(U, p, t[0], t[m], n + p + 1);
  const double d = static_cast<double>(m + 1) / (n - p + 1);
  for (int32_t j = 1; j <= n - p; ++j) {
    const double x = j * d;
    int32_t i = static_cast<int32_t>(x);
    const double a = x - i;
    if (j > (n - p) / 2) --i;
    U[j + p] = (1.0 - a) * t[i] + a * t[i + 1];
  }
}

int16_t band_matrix(RMATRIX &A, int32_t n, int32_t bw, STACKS *ws) {
  M_inirma(&A);
  if (M_getrma(&A, n, n, ORVO_BANDED, bw, ws)) return 1;
  for (int32_t i = 0; i <= n; ++i) std::fill(A.a[i], A.a[i] + bw, 0.0);
  return 0;
}

int16_t collocation_rows(RMATRIX &A, const KNOTVECTOR &knt, int p, const double *t, int32_t first,
                         int32_t last, int32_t shift, const char *tag) {
  const MatView V = view_of(A);
  int32_t span = -1;
  for (int32_t k = first; k <= last; ++k)
    if (!collocation_row(V, knt, p, t[k + shift], k, span)) return fail(kErrFloat, tag);
  return 0;
}

int16_t interpolation_factors(RMATRIX &A, const KNOTVECTOR &knt, int p, const double *t, int32_t n,
                              const char *tag, STACKS *ws) {
  if (band_matrix(A, n, 2 * p - 1, ws)) return 1;
  const MatView V = view_of(A);
  V(0, 0) = V(n, n) = 1.0;  // the end points are interpolated as they are
  if (collocation_rows(A, knt, p, t, 1, n - 1, 0, tag)) return 1;
  return M_ludcmp(&A);
}

int16_t EndFixedLeastSquares::setup(const double *U, int p, const double *t, int32_t m, int32_t n,
                                    const char *tag, STACKS *ws) {
  p_ = p;
  m_ = m;
  n_ = n;
  if (n < 2) return 0;
  const int64_t values = (int64_t{m} + 1) * (p + 1);
  if (values > INT32_MAX) return fail(kErrMemory, tag);
  span_ = S_geti1d(m, ws);
  basis_ = S_getr1d(static_cast<int32_t>(values - 1), ws);
  if (!span_ || !basis_) return 1;
  const int32_t last = n - 2;
  if (band_matrix(A_, last, 2 * p + 1, ws)) return 1;
  const MatView V = view_of(A_);
  for (int32_t k = 1; k < m; ++k) {
    double *N = basis_ + static_cast<int64_t>(k) * (p + 1);
    const int32_t s = span_[k] = span_and_basis(U, n + p + 1, p, t[k], 1, N);
    if (s < 0) return fail(kErrFloat, tag);
    // N^T N over the interior control points; |i - j| <= p stays in the band.
    for (int a = 0; a <= p; ++a) {
      const int32_t i = s - p + a - 1;
      if (i < 0 || i > last) continue;
      for (int b = 0; b <= p; ++b) {
        const int32_t j = s - p + b - 1;
        if (j >= 0 && j <= last) V(i, j) += N[a] * N[b];
      }
    }
  }
  return M_ludcmp(&A_);
}

}  // namespace orvo::detail
