// Curve fitting: parameters for data, knot placement, global interpolation
// of points and scalar values (also with end derivatives), the cubic spline
// with end tangents, and least-squares approximation through the end
// points.
//
// The collocation matrices are banded (each data row meets at most p + 1
// consecutive basis functions) and are factored without pivoting, so the
// work and storage grow linearly with the number of data. Every routine
// keeps its temporaries in a private workspace; the curve output goes
// through check-or-allocate and is restored when a later step fails.
//
// Planar data (z carrying the 2-D marker) are fitted in x and y; the
// control points then carry the marker too. Control points are always
// non-rational.
#include <algorithm>
#include <climits>
#include <cmath>

#include "eval/kernels.hpp"
#include "fit/fit_common.hpp"
#include "linalg/matrix_view.hpp"
#include "refine/refine_common.hpp"

using namespace orvo::detail;

namespace {

// ---- Parameters ---------------------------------------------------------------
// t[0..n] from the legs leg(k), k = 1..n (distances of consecutive data).
// Uniform parameters ignore the legs. A zero (or non-finite) total leaves
// no parameters to share out: error 11. Rounding never lets a parameter
// pass 1.
template <class Leg>
int16_t parameters(int32_t n, int ptype, double *t, Leg leg, const char *tag) {
  if (!t) return fail(kErrIndex, tag);
  if (ptype < 1 || ptype > 3) return fail(kErrSelector, tag);
  if (n < 1) return fail(kErrInconsistent, tag);
  t[0] = 0.0;
  if (ptype == kUniform) {
    for (int32_t k = 1; k < n; ++k) t[k] = static_cast<double>(k) / n;
  } else {
    const auto d = [&](int32_t k) { return leg_measure(leg(k), ptype); };
    double S = 0.0;
    for (int32_t k = 1; k <= n; ++k) S += d(k);
    if (!(S > 0.0) || !std::isfinite(S)) return fail(kErrFloat, tag);
    for (int32_t k = 1; k < n; ++k) t[k] = std::min(1.0, t[k - 1] + d(k) / S);
  }
  t[n] = 1.0;
  return 0;
}

int16_t point_parameters(const void *Q, int32_t n, int kind, int ptype, double *t,
                         const char *tag) {
  if (!Q) return fail(kErrIndex, tag);
  if (ptype != kUniform && kind != 1 && kind != 2) return fail(kErrSelector, tag);
  const POINT *P = static_cast<const POINT *>(Q);
  const CPOINT *C = static_cast<const CPOINT *>(Q);
  return parameters(
      n, ptype, t,
      [&](int32_t k) {
        double d = 0.0;
        if (kind == 1)
          G_dispop(P[k - 1], P[k], &d);
        else
          G_discpo(C[k - 1], C[k], &d);
        return d;
      },
      tag);
}

int16_t value_parameters(const double *f, int32_t n, int ptype, double *t, const char *tag) {
  if (!f) return fail(kErrIndex, tag);
  return parameters(
      n, ptype, t, [&](int32_t k) { return std::fabs(f[k - 1] - f[k]); }, tag);
}

// ---- Knot placement -----------------------------------------------------------
// Averaging with one extra knot per end derivative: U[j+p+1] = mean of
// t[j..j+p-1], j = 0..n-p+1.
void derivative_knots(const double *t, int32_t n, int p, double *U) {
  clamp_ends(U, p, t[0], t[n], n + p + 3);
  for (int32_t j = 0; j <= n - p + 1; ++j) U[j + p + 1] = window_average(t, j, p);
}

// ---- Argument checks ----------------------------------------------------------
// Degree 1..MAXDEGREE; data counts small enough that the output counts
// (n + p + 3 at most) cannot overflow.
int16_t check_fit(int p, int32_t n, const char *tag) {
  if (p < 1 || p > MAXDEGREE) return fail(kErrDegree, tag);
  return n <= INT32_MAX / 2 ? 0 : fail(kErrInconsistent, tag);
}

// ---- Points -------------------------------------------------------------------
// Data with a 2-D point are fitted in x and y only.
bool planar(const POINT *Q, int32_t n) {
  return std::any_of(Q, Q + n + 1, [](const POINT &q) { return !z_valid(q.z); });
}

// The z column of planar results carries the marker.
int16_t finish_points(CPOINT *P, int32_t n, bool flat, const char *tag) {
  if (flat)
    for (int32_t i = 0; i <= n; ++i) P[i].z = kZ2D;
  return finite_points(P, n) ? 0 : fail(kErrFloat, tag);
}

// ---- Banded systems -----------------------------------------------------------
// Factors A and solves for the points rhs[0..A.n] into out.
int16_t solve_points(RMATRIX &A, const POINT *rhs, CPOINT *out, STACKS *ws) {
  return (M_ludcmp(&A) || M_forbac(&A, rhs, 1, out, ws)) ? 1 : 0;
}

// ---- Cubic spline -------------------------------------------------------------
struct Cubic {
  double a, b, c;  // the three non-zero cubic basis values at a knot
};

Cubic cubic_at(const double *U, int32_t span) {
  double N[4];
  basis_values(U, 3, U[span], span, N);
  return Cubic{N[0], N[1], N[2]};
}

// P = (R - a A - c C) / den; false when den cannot be divided by.
bool eliminate(POINT &P, const POINT &R, double a, const POINT &A, double c, const POINT &C,
               double den) {
  if (M_chkfop(1.0, den, 4)) return false;
  P = POINT{(R.x - a * A.x - c * C.x) / den, (R.y - a * A.y - c * C.y) / den,
            (R.z - a * A.z - c * C.z) / den};
  return true;
}

// The interior control points P[2..n] of the cubic spline on the knots U
// through the data q[1..n-1], P[0], P[1], P[n+1], P[n+2] given. The system
// is tridiagonal: row i is a P[i-1] + b P[i] + c P[i+1] = q[i-1].
int16_t spline_interior(const double *U, const POINT *q, int32_t n, POINT *P, double *dd,
                        const char *tag) {
  constexpr POINT kO{0.0, 0.0, 0.0};
  Cubic v = cubic_at(U, 4);
  if (n == 2) return eliminate(P[2], q[1], v.a, P[1], v.c, P[3], v.b) ? 0 : fail(kErrFloat, tag);
  double den = v.b;
  if (!eliminate(P[2], q[1], v.a, P[1], 0.0, kO, den)) return fail(kErrFloat, tag);
  for (int32_t i = 3; i < n; ++i) {
    dd[i] = v.c / den;
    v = cubic_at(U, i + 2);
    den = v.b - v.a * dd[i];
    if (!eliminate(P[i], q[i - 1], v.a, P[i - 1], 0.0, kO, den)) return fail(kErrFloat, tag);
  }
  dd[n] = v.c / den;
  v = cubic_at(U, n + 2);
  den = v.b - v.a * dd[n];
  if (!eliminate(P[n], q[n - 1], v.a, P[n - 1], v.c, P[n + 1], den)) return fail(kErrFloat, tag);
  for (int32_t i = n - 1; i >= 2; --i) P[i] = offset(P[i], -dd[i + 1], P[i + 1]);
  return 0;
}

}  // namespace

extern "C" {

int16_t N_fitcpa(const void *Q, int32_t n, int16_t kind, int16_t ptype, double *t) {
  return point_parameters(Q, n, kind, ptype, t, "N_FITCPA");
}

int16_t N_fitfpa(const double *f, int32_t n, int16_t ptype, double *t) {
  return value_parameters(f, n, ptype, t, "N_FITFPA");
}

void N_fitkni(const double *t, int32_t n, int16_t p, KNOTVECTOR *U) {
  if (!t || !U || !U->U || p < 1 || n < p) return;
  interpolation_knots(t, n, p, U->U);
  U_defknt(U, n + p + 1);
}

void N_fitknd(const double *t, int32_t n, int16_t p, KNOTVECTOR *U) {
  if (!t || !U || !U->U || p < 1 || n < 0 || n + 2 < p) return;
  derivative_knots(t, n, p, U->U);
  U_defknt(U, n + p + 3);
}

void N_fitkna(const double *t, int32_t m, int32_t n, int16_t p, KNOTVECTOR *U) {
  if (!t || !U || !U->U || p < 1 || n <= p || m < n) return;
  approximation_knots(t, m, n, p, U->U);
  U_defknt(U, n + p + 1);
}

int16_t N_fitgci(const POINT *Q, int32_t n, int16_t p, int16_t ptype, CURVE *curve, STACKS *ws) {
  static const char kTag[] = "N_FITGCI";
  if (!Q) return fail(kErrIndex, kTag);
  if (check_fit(p, n, kTag)) return 1;
  if (n < p) return fail(kErrInconsistent, kTag);
  Output<CURVE> out(nullptr, curve, nullptr, ws, kTag);
  if (out.prepare(CurveSize{n, p, n + p + 1})) return 1;
  LocalStacks tmp;
  double *t = S_getr1d(n, tmp);
  if (!t || point_parameters(Q, n, 1, ptype, t, kTag)) return 1;
  const KNOTVECTOR &knt = *curve->knt;
  interpolation_knots(t, n, p, knt.U);
  CPOINT *Pw = curve->pol->Pw;
  if (p == 1) {
    for (int32_t i = 0; i <= n; ++i) Pw[i] = CPOINT{Q[i].x, Q[i].y, Q[i].z, kWNR};
  } else {
    RMATRIX A;
    if (interpolation_factors(A, knt, p, t, n, kTag, tmp) || M_forbac(&A, Q, 1, Pw, ws)) return 1;
  }
  if (finish_points(Pw, n, planar(Q, n), kTag)) return 1;
  out.commit();
  return 0;
}

int16_t N_fitgfi(const double *f, int32_t n, int16_t p, int16_t ptype, CFUNCTION *cfn, STACKS *ws) {
  static const char kTag[] = "N_FITGFI";
  if (!f) return fail(kErrIndex, kTag);
  if (check_fit(p, n, kTag)) return 1;
  if (n < p) return fail(kErrInconsistent, kTag);
  if (!cfn || !ws) return fail(kErrInconsistent, kTag);
  if (U_cfnchk(cfn, n, p, n + p + 1, kTag, ws)) return 1;
  LocalStacks tmp;
  double *t = S_getr1d(n, tmp);
  if (!t || value_parameters(f, n, ptype, t, kTag)) return 1;
  const KNOTVECTOR &knt = *cfn->knt;
  interpolation_knots(t, n, p, knt.U);
  double *x = cfn->cvl->values;
  if (p == 1) {
    std::copy(f, f + n + 1, x);
  } else {
    RMATRIX A;
    if (interpolation_factors(A, knt, p, t, n, kTag, tmp) || M_rafoba(&A, f, x)) return 1;
  }
  const bool ok = std::all_of(x, x + n + 1, [](double v) { return std::isfinite(v); });
  return ok ? 0 : fail(kErrFloat, kTag);
}

int16_t N_fitgcd(const POINT *Q, int32_t n, int16_t p, VECTOR D0, VECTOR Dn, int16_t ptype,
                 CURVE *curve, STACKS *ws) {
  static const char kTag[] = "N_FITGCD";
  if (!Q) return fail(kErrIndex, kTag);
  if (check_fit(p, n, kTag)) return 1;
  if (n < 1 || p < 2 || p > n + 2) return fail(kErrInconsistent, kTag);
  Output<CURVE> out(nullptr, curve, nullptr, ws, kTag);
  if (out.prepare(CurveSize{n + 2, p, n + p + 3})) return 1;
  LocalStacks tmp;
  double *t = S_getr1d(n, tmp);
  POINT *R = S_getp1d(n + 2, tmp);
  if (!t || !R || point_parameters(Q, n, 1, ptype, t, kTag)) return 1;
  const KNOTVECTOR &knt = *curve->knt;
  const double *U = knt.U;
  derivative_knots(t, n, p, knt.U);

  RMATRIX A;
  if (band_matrix(A, n + 2, 2 * p - 1, tmp)) return 1;
  const MatView V = view_of(A);
  V(0, 0) = 1.0;
  V(1, 0) = -1.0;
  V(1, 1) = 1.0;
  V(n + 1, n + 1) = -1.0;
  V(n + 1, n + 2) = 1.0;
  V(n + 2, n + 2) = 1.0;
  if (collocation_rows(A, knt, p, t, 2, n, -1, kTag)) return 1;

  const bool flat = planar(Q, n);
  const POINT kO{0.0, 0.0, 0.0};
  for (int32_t k = 0; k <= n; ++k) R[k + 1] = work_point(Q[k], flat);
  R[0] = R[1];
  R[1] = offset(kO, U[p + 1] / p, D0);
  R[n + 2] = R[n + 1];
  R[n + 1] = offset(kO, (1.0 - U[n + 2]) / p, Dn);
  if (flat) R[1].z = R[n + 1].z = 0.0;
  CPOINT *Pw = curve->pol->Pw;
  if (solve_points(A, R, Pw, ws) || finish_points(Pw, n + 2, flat, kTag)) return 1;
  out.commit();
  return 0;
}

int16_t N_fitcsp(const POINT *Q, int32_t n, VECTOR D0, VECTOR Dn, int16_t ptype, CURVE *curve,
                 STACKS *ws) {
  static const char kTag[] = "N_FITCSP";
  if (!Q) return fail(kErrIndex, kTag);
  if (check_fit(3, n, kTag)) return 1;
  if (n < 1) return fail(kErrInconsistent, kTag);
  Output<CURVE> out(nullptr, curve, nullptr, ws, kTag);
  if (out.prepare(CurveSize{n + 2, 3, n + 6})) return 1;
  LocalStacks tmp;
  double *t = S_getr1d(n, tmp);
  double *dd = S_getr1d(n, tmp);
  POINT *q = S_getp1d(n, tmp);
  POINT *P = S_getp1d(n + 2, tmp);
  if (!t || !dd || !q || !P || point_parameters(Q, n, 1, ptype, t, kTag)) return 1;
  double *U = curve->knt->U;
  clamp_ends(U, 3, 0.0, 1.0, n + 6);
  std::copy(t + 1, t + n, U + 4);

  const bool flat = planar(Q, n);
  for (int32_t k = 0; k <= n; ++k) q[k] = work_point(Q[k], flat);
  const VECTOR d0{D0.x, D0.y, flat ? 0.0 : D0.z}, dn{Dn.x, Dn.y, flat ? 0.0 : Dn.z};
  P[0] = q[0];
  P[1] = offset(q[0], U[4] / 3.0, d0);
  P[n + 2] = q[n];
  P[n + 1] = offset(q[n], (U[n + 2] - 1.0) / 3.0, dn);
  if (n >= 2 && spline_interior(U, q, n, P, dd, kTag)) return 1;

  CPOINT *Pw = curve->pol->Pw;
  for (int32_t i = 0; i <= n + 2; ++i) Pw[i] = control_point(P[i], flat);
  if (finish_points(Pw, n + 2, flat, kTag)) return 1;
  out.commit();
  return 0;
}

int16_t N_fitgca(const POINT *Q, int32_t m, int32_t n, int16_t p, int16_t ptype, CURVE *curve,
                 STACKS *ws) {
  static const char kTag[] = "N_FITGCA";
  if (!Q) return fail(kErrIndex, kTag);
  if (check_fit(p, m, kTag)) return 1;
  if (!(2 <= n && p < n && n <= m)) return fail(kErrInconsistent, kTag);
  Output<CURVE> out(nullptr, curve, nullptr, ws, kTag);
  if (out.prepare(CurveSize{n, p, n + p + 1})) return 1;
  LocalStacks tmp;
  const int32_t last = n - 2;  // highest index of the interior control points P[1..n-1]
  double *t = S_getr1d(m, tmp);
  POINT *rhs = S_getp1d(last, tmp);
  if (!t || !rhs || point_parameters(Q, m, 1, ptype, t, kTag)) return 1;
  approximation_knots(t, m, n, p, curve->knt->U);
  EndFixedLeastSquares fit;
  if (fit.setup(curve->knt->U, p, t, m, n, kTag, tmp)) return 1;
  const bool flat = planar(Q, m);
  CPOINT *Pw = curve->pol->Pw;
  if (fit.solve([&](int32_t k) { return work_point(Q[k], flat); }, rhs, Pw) ||
      finish_points(Pw, n, flat, kTag))
    return 1;
  out.commit();
  return 0;
}

}  // extern "C"
