// LU factorisations and solves of square real matrices.
//
// Without pivoting (M_ludcmp and its solves): full and banded storage, the
// factors overwriting the matrix (unit lower multipliers below the
// diagonal, the upper triangle on and above it). A full matrix is handled
// as a band that reaches every column, so both share one set of loops.
//
// With implicit partial pivoting (M_ludpiv and its solve): full storage.
#include <algorithm>
#include <cmath>

#include "core/internal.hpp"
#include "linalg/matrix_view.hpp"

using namespace orvo::detail;

namespace {

constexpr double kPivot = PIVOT_TOLERANCE;

// A square full or banded matrix (or full only); records 7 or 14 under tag.
int16_t check_square(const RMATRIX *a, bool banded_ok, const char *tag) {
  if (!a || !a->a || a->n < 0) return fail(kErrIndex, tag);
  if (a->n != a->m) return fail(kErrIndex, tag);
  if (a->type != ORVO_FULL && !(banded_ok && a->type == ORVO_BANDED))
    return fail(kErrInconsistent, tag);
  if (a->type == ORVO_BANDED && a->bw < 1) return fail(kErrInconsistent, tag);
  return 0;
}

// Forward and back substitution with the factors of M_ludcmp, in place on
// x[0..n] (which holds the right-hand side on entry). sub(x_i, a, x_s)
// does x_i -= a x_s; divide(x_i, d) divides by the diagonal element d and
// returns false when that division is unsafe.
template <class T, class Sub, class Divide>
int16_t substitute(const MatView &lu, T *x, Sub sub, Divide divide, const char *tag) {
  const int32_t n = lu.n;
  for (int32_t i = 1; i <= n; ++i)
    for (int32_t s = lu.first(i); s < i; ++s) sub(x[i], lu(i, s), x[s]);
  for (int32_t i = n; i >= 0; --i) {
    for (int32_t s = i + 1; s <= lu.last(i); ++s) sub(x[i], lu(i, s), x[s]);
    if (!divide(x[i], lu(i, i))) return fail(kErrFloat, tag);
  }
  return 0;
}

// The solves of M_rafbpv for one right-hand side, in place on b.
int16_t solve_pivoted(const RMATRIX &lu, const int32_t *indx, double *b, const char *tag) {
  const int32_t n = lu.n;
  double **a = lu.a;
  // Forward with the row exchanges. Leading entries at or below the pivot
  // tolerance are left out of the sums until the first larger one.
  int32_t f = -1;
  for (int32_t i = 0; i <= n; ++i) {
    const int32_t q = indx[i];
    double t = b[q];
    b[q] = b[i];
    if (f >= 0) {
      for (int32_t j = f; j < i; ++j) t -= a[i][j] * b[j];
    } else if (std::fabs(t) > kPivot) {
      f = i;
    }
    b[i] = t;
  }
  for (int32_t i = n; i >= 0; --i) {
    double t = b[i];
    for (int32_t j = i + 1; j <= n; ++j) t -= a[i][j] * b[j];
    if (quotient_unsafe(t, a[i][i])) return fail(kErrFloat, tag);
    b[i] = t / a[i][i];
  }
  return 0;
}

// The pivot record must name rows of the matrix.
bool pivots_valid(const int32_t *indx, int32_t n) {
  if (!indx) return false;
  return std::all_of(indx, indx + n + 1, [n](int32_t q) { return q >= 0 && q <= n; });
}

// Inverse from factors: column j of inv is the solution for the unit
// vector e_j, solved by solve(x) in place. When inv shares the factors'
// table the columns are gathered in a private table and copied at the end.
template <class Solve>
int16_t invert_columns(const RMATRIX &factors, RMATRIX *inv, Solve solve) {
  const int32_t n = factors.n;
  LocalStacks tmp;
  double *x = S_getr1d(n, tmp);
  if (!x) return 1;
  double **target = inv->a;
  if (inv->a == factors.a) {
    target = S_getr2d(n, n, tmp);
    if (!target) return 1;
  }
  for (int32_t j = 0; j <= n; ++j) {
    std::fill(x, x + n + 1, 0.0);
    x[j] = 1.0;
    if (solve(x)) return 1;
    for (int32_t i = 0; i <= n; ++i) target[i][j] = x[i];
  }
  if (target != inv->a)
    for (int32_t i = 0; i <= n; ++i) std::copy(target[i], target[i] + n + 1, inv->a[i]);
  return 0;
}

// The inverse is a full square matrix whose band width is n (at least 1,
// so that a 1 x 1 inverse still counts as holding a matrix).
int16_t size_inverse(RMATRIX *inv, int32_t n, const char *tag, STACKS *ws) {
  if (!inv) return fail(kErrIndex, tag);
  return M_rmachk(inv, n, n, ORVO_FULL, std::max<int32_t>(n, 1), tag, ws);
}

}  // namespace

extern "C" {

int16_t M_ludcmp(RMATRIX *a) {
  static const char kTag[] = "M_LUDCMP";
  if (check_square(a, true, kTag)) return 1;
  const MatView A = view_of(*a);
  const int32_t n = A.n;
  for (int32_t k = 0; k <= n; ++k) {
    // Row k of the upper triangle.
    for (int32_t j = k; j <= A.last(k); ++j) {
      double s = A(k, j);
      for (int32_t t = std::max(A.first(k), A.top(j)); t < k; ++t) s -= A(k, t) * A(t, j);
      A(k, j) = s;
    }
    // Column k of the multipliers; the pivot is tested only when one is
    // formed.
    for (int32_t i = k + 1; i <= A.bottom(k); ++i) {
      if (!(std::fabs(A(k, k)) >= kPivot)) return fail(kErrFloat, kTag);
      double s = A(i, k);
      for (int32_t t = std::max(A.first(i), A.top(k)); t < k; ++t) s -= A(i, t) * A(t, k);
      A(i, k) = s / A(k, k);
    }
  }
  return 0;
}

int16_t M_rafoba(const RMATRIX *lu, const double *b, double *x) {
  static const char kTag[] = "M_RAFOBA";
  if (check_square(lu, true, kTag)) return 1;
  if (!b || !x) return fail(kErrIndex, kTag);
  const int32_t n = lu->n;
  if (x != b) std::copy(b, b + n + 1, x);
  return substitute(
      view_of(*lu), x, [](double &xi, double a, double xs) { xi -= a * xs; },
      [](double &xi, double d) {
        if (quotient_unsafe(xi, d)) return false;
        xi /= d;
        return true;
      },
      kTag);
}

int16_t M_forbac(const RMATRIX *lu, const void *rhs, int16_t kind, CPOINT *out, STACKS *ws) {
  static const char kTag[] = "M_FORBAC";
  // The solve runs in place in out, so no scratch is taken from ws.
  (void)ws;
  if (check_square(lu, true, kTag)) return 1;
  if (kind != 1 && kind != 2) return fail(kErrSelector, kTag);
  if (!rhs || !out) return fail(kErrIndex, kTag);
  const int32_t n = lu->n;
  CptMask mask;
  if (kind == 1) {
    // Points become non-rational control points; the weight column is not
    // solved. Copying from the last point down keeps a POINT array that
    // starts where out starts intact until each point has been read.
    const POINT *p = static_cast<const POINT *>(rhs);
    for (int32_t i = n; i >= 0; --i) out[i] = CPOINT{p[i].x, p[i].y, p[i].z, kWNR};
  } else {
    const CPOINT *q = static_cast<const CPOINT *>(rhs);
    if (q != out) std::copy(q, q + n + 1, out);
  }
  mask = mask_of(out, int64_t{n} + 1);
  const int16_t status = substitute(
      view_of(*lu), out, [mask](CPOINT &xi, double a, const CPOINT &xs) { axpy(xi, -a, xs, mask); },
      [mask](CPOINT &xi, double d) {
        if (quotient_unsafe(1.0, d)) return false;
        scale(xi, 1.0 / d, mask);
        return true;
      },
      kTag);
  for (int32_t i = 0; i <= n; ++i) mark(out[i], mask);
  return status;
}

int16_t M_ludpiv(RMATRIX *a, int32_t *indx) {
  static const char kTag[] = "M_LUDPIV";
  if (check_square(a, false, kTag)) return 1;
  if (!indx) return fail(kErrIndex, kTag);
  const int32_t n = a->n;
  double **A = a->a;
  LocalStacks tmp;
  double *v = S_getr1d(n, tmp);
  if (!v) return 1;
  // Implicit scaling: every row by the reciprocal of its largest entry.
  for (int32_t i = 0; i <= n; ++i) {
    double g = 0.0;
    for (int32_t j = 0; j <= n; ++j) g = std::max(g, std::fabs(A[i][j]));
    if (!(g >= kPivot)) return fail(kErrFloat, kTag);
    v[i] = 1.0 / g;
  }
  for (int32_t j = 0; j <= n; ++j) {
    for (int32_t i = 0; i < j; ++i) {
      double s = A[i][j];
      for (int32_t k = 0; k < i; ++k) s -= A[i][k] * A[k][j];
      A[i][j] = s;
    }
    double best = 0.0;
    int32_t p = j;
    for (int32_t i = j; i <= n; ++i) {
      double s = A[i][j];
      for (int32_t k = 0; k < j; ++k) s -= A[i][k] * A[k][j];
      A[i][j] = s;
      const double d = v[i] * std::fabs(s);
      if (d >= best) {  // a tie goes to the later row
        best = d;
        p = i;
      }
    }
    if (p != j) {
      for (int32_t k = 0; k <= n; ++k) M_reswap(&A[p][k], &A[j][k]);
      v[p] = v[j];
    }
    indx[j] = p;
    if (!(std::fabs(A[j][j]) >= kPivot)) return fail(kErrFloat, kTag);
    if (j < n) {
      const double r = 1.0 / A[j][j];
      for (int32_t i = j + 1; i <= n; ++i) A[i][j] *= r;
    }
  }
  return 0;
}

int16_t M_rafbpv(const RMATRIX *lu, const int32_t *indx, double *b) {
  static const char kTag[] = "M_RAFBPV";
  if (check_square(lu, false, kTag)) return 1;
  if (!b || !pivots_valid(indx, lu->n)) return fail(kErrIndex, kTag);
  return solve_pivoted(*lu, indx, b, kTag);
}

int16_t M_rmainv(RMATRIX *a, int16_t factored, RMATRIX *inv, STACKS *ws) {
  static const char kTag[] = "M_RMAINV";
  if (check_square(a, true, kTag)) return 1;
  // inv may be a itself, and sizing it redefines the record as a full
  // matrix; the factors keep the storage that a had on entry.
  RMATRIX factors = *a;
  if (size_inverse(inv, factors.n, kTag, ws)) return 1;
  if (!factored && M_ludcmp(&factors)) return 1;
  return invert_columns(factors, inv, [&](double *x) { return M_rafoba(&factors, x, x); });
}

int16_t M_rmaivp(RMATRIX *a, RMATRIX *inv, STACKS *ws) {
  static const char kTag[] = "M_RMAIVP";
  if (check_square(a, false, kTag)) return 1;
  const RMATRIX factors = *a;
  if (size_inverse(inv, factors.n, kTag, ws)) return 1;
  LocalStacks tmp;
  int32_t *indx = S_geti1d(factors.n, tmp);
  if (!indx) return 1;
  if (M_ludpiv(a, indx)) return 1;
  return invert_columns(factors, inv, [&](double *x) { return M_rafbpv(&factors, indx, x); });
}

}  // extern "C"
