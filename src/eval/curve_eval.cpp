// Points and derivatives of curves and scalar curve functions, the rational
// basis functions of a curve and the denominator function of a rational
// curve.
#include "eval/curve_points.hpp"
#include "eval/kernels.hpp"

using namespace orvo::detail;

namespace {

// Derivative table of the fixed-table evaluators: orders 0..5, p+1 functions.
using DerTable = double[kMaxDerOrder + 1][kBasisSize];
// Basis derivative rows up to the degree: orders above it vanish.
using DegreeTable = double[kBasisSize][kBasisSize];

// Checks shared by the curve routines that return span-wise tables or
// points: record, parameter within the spans, order 0..limit, side.
int16_t check_curve_at(const CURVE *cur, double u, int side, int d, int limit, const char *tag) {
  if (check_curve(cur, tag)) return 1;
  const KNOTVECTOR *knt = cur->knt;
  return check_span_param(knt->U, knt->m, cur->p, u, tag) || check_order(d, limit, tag) ||
         check_side(side, tag);
}

// Span of u and the non-rational basis derivative rows 0..min(d, p) in D;
// -1 (error 11 under tag) when the span's knots do not allow the divisions.
int32_t degree_rows(const CURVE *cur, double u, int side, int d, DegreeTable &D, const char *tag) {
  const double *U = cur->knt->U;
  const int p = cur->p;
  const int32_t span = find_span(U, cur->knt->m, p, u, side);
  if (!span_fit(U, p, span)) {
    fail(kErrFloat, tag);
    return -1;
  }
  basis_derivatives(U, p, u, span, std::min(d, p), D);
  return span;
}

// Shared body of N_kntcad and N_kntacd: rows 0..d of the basis
// derivatives, rational when the curve is (whose rows above p do not
// vanish). The rows are written only once the weight function is known to
// be non-zero at u; a value that overflows still fails with error 11.
int16_t curve_basis_ders(const CURVE *cur, double u, int16_t side, int16_t d, double **ders,
                         int32_t *span, const char *tag) {
  if (check_curve_at(cur, u, side, d, INT16_MAX, tag)) return 1;
  const int p = cur->p;
  DegreeTable D;
  const int32_t k = degree_rows(cur, u, side, d, D, tag);
  if (k < 0) return 1;
  const CPOINT *Q = cur->pol->Pw + (k - p);
  const bool rational = w_valid(cur->pol->Pw[0].w);
  double W0 = 0.0;
  if (rational) weight_derivatives(D, Q, p, 0, &W0);
  if (rational && W0 == 0.0) return fail(kErrFloat, tag);
  const int top = std::min<int>(d, p);
  for (int r = 0; r <= d; ++r) {
    if (r <= top)
      std::copy(D[r], D[r] + p + 1, ders[r]);
    else
      std::fill(ders[r], ders[r] + p + 1, 0.0);
  }
  if (rational) rationalize(ders, Q, p, d);
  for (int r = 0; r <= d; ++r)
    if (!all_finite(ders[r], p + 1)) return fail(kErrFloat, tag);
  *span = k;
  return 0;
}

// Checks shared by the single rational basis routines; a bad side is
// reported under side_tag (the single-function routine that takes it).
int16_t check_rational_single(const CURVE *cur, int32_t i, double u, int side, int d,
                              const char *tag, const char *side_tag) {
  if (check_curve(cur, tag)) return 1;
  const KNOTVECTOR *knt = cur->knt;
  if (check_param(knt->U, knt->m, u, tag)) return 1;
  if (i < 0 || i > cur->pol->n) return fail(kErrIndex, tag);
  return check_order(d, INT16_MAX, tag) || check_side(side, side_tag) ||
         check_span_param(knt->U, knt->m, cur->p, u, tag);
}

// Derivatives W[0..min(d, p)] of the weight function of a rational curve
// at u (the higher ones vanish); false (error 11 under tag) when the
// span's knots do not allow the divisions or W vanishes at u.
bool weight_function(const CURVE *cur, double u, int side, int d, double *W, const char *tag) {
  DegreeTable D;
  const int32_t span = degree_rows(cur, u, side, d, D, tag);
  if (span < 0) return false;
  weight_derivatives(D, cur->pol->Pw + (span - cur->p), cur->p, std::min<int>(d, cur->p), W);
  if (W[0] != 0.0) return true;
  fail(kErrFloat, tag);
  return false;
}

// The point of the control points Q[0..p] with the basis values N: their
// homogeneous sum under the rules of accumulate (a field with a marker in
// any of the points is a marker: z of a 2-D curve, w of a non-rational one),
// summed in the same order, then its Euclidean image. All four fields are
// summed alike, (x, y) and (z, w) as packed pairs, and the markers are
// noted on the way, so that the loop has no branches. Inlined into both
// call sites, so that N never leaves the registers.
template <int kDeg>
inline __attribute__((always_inline)) int16_t point_of_basis(const CPOINT *Q, int p,
                                                             const double *N, POINT *P) {
  if (kDeg >= 0) p = kDeg;
  const Pair markers = {kZ2D, kWNR};
  const Pair n0 = {N[0], N[0]};
  Pair xy = n0 * pair_at(&Q[0].x), zw = n0 * pair_at(&Q[0].z);
  auto marked = pair_at(&Q[0].z) == markers;  // lane k true once a marker is met
  for (int j = 1; j <= p; ++j) {
    const Pair n = {N[j], N[j]}, qzw = pair_at(&Q[j].z);
    xy += n * pair_at(&Q[j].x);
    zw += n * qzw;
    marked |= qzw == markers;
  }
  const CPOINT cw{xy[0], xy[1], marked[0] ? kZ2D : zw[0], marked[1] ? kWNR : zw[1]};
  // A zero weight sum, or a sum beyond the double range, has no point.
  return finite_euclid(cw, *P) ? 0 : fail(kErrFloat, "N_CUREVN");
}

// What a run of parameters carries from one point to the next: the span of
// the last point inside the range (-1 before the first) and its
// reciprocals.
template <int kDeg>
struct SpanMemo {
  int32_t span = -1;
  Reciprocals<kDeg> inv;
};

// The point at u, the record checked (parameter and side are checked
// here). kDeg >= 0 fixes the degree at compile time. memo, when given,
// belongs to a run over a non-decreasing knot vector: a u inside its span
// takes the span and reciprocals without a search (the search would find
// that span), and any other u inside the range leaves its own there.
template <int kDeg>
inline __attribute__((always_inline)) int16_t curve_point(const CURVE *cur, double u, int side,
                                                          POINT *P,
                                                          SpanMemo<kDeg> *memo = nullptr) {
  const double *U = cur->knt->U;
  const int32_t m = cur->knt->m;
  const int p = kDeg >= 0 ? kDeg : cur->p;
  if (check_span_param(U, m, p, u, "N_CUREVN") || check_side(side, "N_KNTALB")) return 1;
  double N[kBasisSize];
  int32_t span;
  if (u > U[p] && u < U[m - p]) {
    // Inside the range (the common case): no exact end values apply and
    // the side stays as given, so the span search is the bisection alone.
    if (memo && memo->span >= 0 && in_span(U, memo->span, u, side)) {
      basis_row<kDeg>(U, p, u, memo->span, memo->inv, N);
      return point_of_basis<kDeg>(cur->pol->Pw + (memo->span - p), p, N, P);
    }
    span = side == 1 ? bisect<true>(U, p, m - p - 1, u) : bisect<false>(U, p, m - p - 1, u);
  } else {
    span = end_basis(U, m, p, u, N);
    if (span >= 0) return point_of_basis<kDeg>(cur->pol->Pw + (span - p), p, N, P);
    span = find_span(U, m, p, u, side);
  }
  if (!span_fit(U, p, span)) return fail(kErrFloat, "N_CUREVN");
  if (memo) {
    memo->span = span;
    span_reciprocals<kDeg>(U, p, span, memo->inv);
    basis_row<kDeg>(U, p, u, span, memo->inv, N);
  } else {
    basis_row<kDeg>(U, p, u, span, N);
  }
  return point_of_basis<kDeg>(cur->pol->Pw + (span - p), p, N, P);
}

// Points at u[0..count-1], each as N_curevn gives it, stopping at the first
// failure. On non-decreasing knots the points share a memo, so that sorted
// parameters, which mostly stay in one span, skip the search and the
// divisions.
template <int kDeg>
int16_t curve_point_run(const CURVE *cur, const double *u, int64_t count, int side, POINT *P,
                        int64_t *done) {
  const double *U = cur->knt->U;
  const int32_t m = cur->knt->m;
  // Checking the order costs m comparisons: worth it for runs of some length.
  SpanMemo<kDeg> memo;
  SpanMemo<kDeg> *run =
      count >= 8 && count * 8 >= m && std::is_sorted(U, U + m + 1) ? &memo : nullptr;
  for (int64_t i = 0; i < count; ++i) {
    if (curve_point<kDeg>(cur, u[i], side, P + i, run)) return 1;
    *done = i + 1;
  }
  return 0;
}

// Derivatives 0..d at u in span (arguments checked, span_fit holds): the
// span's polynomial differenced order by order (span_derivatives), on
// (x, y, z) for a non-rational curve and on (x w, y w, z w, w) for a
// rational one, followed there by the quotient rule order by order. kDeg
// and kOrder >= 0 fix p and d at compile time.
template <int kDeg, int kOrder>
int16_t curve_derivatives(const CURVE *cur, int32_t span, double u, int d, POINT *CK) {
  const char *tag = "N_CURDER";
  constexpr int kSize = kDeg >= 0 ? kDeg + 1 : kBasisSize;
  const int p = kDeg >= 0 ? kDeg : cur->p;
  d = kOrder >= 0 ? kOrder : std::clamp(d, 0, kMaxDerOrder);  // checked by the caller
  double ndu[kSize][kSize];
  basis_triangle<kDeg>(cur->knt->U, p, u, span, ndu);
  const CPOINT *Q = cur->pol->Pw + (span - p);
  const auto z_of = [](const CPOINT &q) { return z_valid(q.z) ? q.z : 0.0; };
  POINT out[kMaxDerOrder + 1];

  if (!w_valid(cur->pol->Pw[0].w)) {
    double E[kSize][3], H[kMaxDerOrder + 1][3];
    for (int j = 0; j <= p; ++j) {
      E[j][0] = Q[j].x;
      E[j][1] = Q[j].y;
      E[j][2] = z_of(Q[j]);
    }
    span_derivatives<3, kDeg, kOrder>(ndu, p, d, E, H);
    for (int k = 0; k <= d; ++k) out[k] = POINT{H[k][0], H[k][1], H[k][2]};
  } else {
    // A zero weight has no Euclidean control point: refuse it rather than
    // divide.
    double A[kSize][4], H[kMaxDerOrder + 1][4];
    for (int j = 0; j <= p; ++j) {
      if (Q[j].w == 0.0) return fail(kErrFloat, tag);
      A[j][0] = Q[j].x;
      A[j][1] = Q[j].y;
      A[j][2] = z_of(Q[j]);
      A[j][3] = Q[j].w;
    }
    span_derivatives<4, kDeg, kOrder>(ndu, p, d, A, H);
    if (H[0][3] == 0.0) return fail(kErrFloat, tag);
    const double inv = 1.0 / H[0][3];
    for (int k = 0; k <= d; ++k) {
      double v[3] = {H[k][0], H[k][1], H[k][2]};
      for (int i = 1; i <= k; ++i) {
        const double c = kBinomials.c[k][i] * H[i][3];
        v[0] -= c * out[k - i].x;
        v[1] -= c * out[k - i].y;
        v[2] -= c * out[k - i].z;
      }
      out[k] = POINT{v[0] * inv, v[1] * inv, v[2] * inv};
    }
  }
  // Derivatives grow like reciprocal powers of the knot differences.
  if (!all_finite(&out[0].x, 3 * (d + 1))) return fail(kErrFloat, tag);
  std::copy(out, out + d + 1, CK);
  return 0;
}

// curve_derivatives with the degree built in and, for the common orders
// 0..2, the order too.
template <int kDeg>
int16_t curve_derivatives_of_order(const CURVE *cur, int32_t span, double u, int d, POINT *CK) {
  switch (d) {
    case 0:
      return curve_derivatives<kDeg, 0>(cur, span, u, d, CK);
    case 1:
      return curve_derivatives<kDeg, 1>(cur, span, u, d, CK);
    case 2:
      return curve_derivatives<kDeg, 2>(cur, span, u, d, CK);
    default:
      return curve_derivatives<kDeg, -1>(cur, span, u, d, CK);
  }
}

}  // namespace

namespace orvo::detail {

int16_t curve_points(const CURVE *cur, const double *u, int64_t count, int16_t side, POINT *P,
                     int64_t *done) {
  *done = 0;
  if (check_curve(cur, "N_CUREVN")) return 1;
  return by_degree(
      cur->p,
      [](auto deg, const CURVE *c, const double *t, int64_t k, int s, POINT *Q, int64_t *n) {
        return curve_point_run<decltype(deg)::value>(c, t, k, s, Q, n);
      },
      cur, u, count, int(side), P, done);
}

}  // namespace orvo::detail

extern "C" {

int16_t N_curevn(const CURVE *cur, double u, int16_t side, POINT *P) {
  // The record first; parameter and side in the kernel of the degree.
  if (check_curve(cur, "N_CUREVN")) return 1;
  return by_degree(
      cur->p,
      [](auto deg, const CURVE *c, double t, int s, POINT *Q)
          __attribute__((always_inline)) { return curve_point<decltype(deg)::value>(c, t, s, Q); },
      cur, u, int(side), P);
}

int16_t N_curder(const CURVE *cur, double u, int16_t side, int16_t d, POINT *CK) {
  const char *tag = "N_CURDER";
  if (check_curve(cur, tag)) return 1;
  const double *U = cur->knt->U;
  const int p = cur->p;
  if (check_span_param(U, cur->knt->m, p, u, tag) || check_order(d, kMaxDerOrder, tag) ||
      check_side(side, "N_KNTFSP"))
    return 1;
  const int32_t span = find_span(U, cur->knt->m, p, u, side);
  if (!span_fit(U, p, span)) return fail(kErrFloat, tag);
  return by_degree(
      p,
      [](auto deg, const CURVE *c, int32_t k, double t, int n, POINT *D) {
        constexpr int kDeg = decltype(deg)::value;
        if constexpr (kDeg < 0)
          return curve_derivatives<-1, -1>(c, k, t, n, D);
        else
          return curve_derivatives_of_order<kDeg>(c, k, t, n, D);
      },
      cur, span, u, int(d), CK);
}

int16_t N_cfnevn(const CFUNCTION *cfn, double u, int16_t side, double *f) {
  const char *tag = "N_CFNEVN";
  if (check_function(cfn, tag)) return 1;
  const double *U = cfn->knt->U;
  const int32_t m = cfn->knt->m;
  const int p = cfn->p;
  if (check_span_param(U, m, p, u, tag) || check_side(side, "N_KNTALB")) return 1;
  double N[kBasisSize];
  const int32_t span = span_and_basis(U, m, p, u, side, N);
  if (span < 0) return fail(kErrFloat, tag);
  const double *v = cfn->cvl->values + (span - p);
  double s = 0.0;
  for (int j = 0; j <= p; ++j) s += N[j] * v[j];
  if (!std::isfinite(s)) return fail(kErrFloat, tag);
  *f = s;
  return 0;
}

int16_t N_cfnder(const CFUNCTION *cfn, double u, int16_t side, int16_t d, double *F) {
  const char *tag = "N_CFNDER";
  if (check_function(cfn, tag)) return 1;
  const double *U = cfn->knt->U;
  const int p = cfn->p;
  if (check_span_param(U, cfn->knt->m, p, u, tag) || check_order(d, INT16_MAX, tag) ||
      check_side(side, "N_KNTADB"))
    return 1;
  // Derivatives above the degree vanish: only min(d, p) rows are formed.
  const int top = std::min<int>(d, p);
  DegreeTable D;
  const int32_t span = find_span(U, cfn->knt->m, p, u, side);
  if (!span_fit(U, p, span)) return fail(kErrFloat, tag);
  basis_derivatives(U, p, u, span, top, D);
  const double *v = cfn->cvl->values + (span - p);
  double out[kBasisSize];
  for (int k = 0; k <= top; ++k) {
    double s = 0.0;
    for (int j = 0; j <= p; ++j) s += D[k][j] * v[j];
    out[k] = s;
  }
  if (!all_finite(out, top + 1)) return fail(kErrFloat, tag);
  std::copy(out, out + top + 1, F);
  for (int k = top + 1; k <= d; ++k) F[k] = 0.0;
  return 0;
}

int16_t N_kntcad(const CURVE *cur, double u, int16_t side, int16_t d, double **ders,
                 int32_t *span) {
  // The dispatcher: a non-rational curve takes the B-spline basis
  // derivatives, a rational one those of its rational basis, each with the
  // errors of the routine that computes it.
  if (check_curve(cur, "N_KNTCAD")) return 1;
  const char *tag = w_valid(cur->pol->Pw[0].w) ? "N_KNTACD" : "N_KNTADB";
  return curve_basis_ders(cur, u, side, d, ders, span, tag);
}

int16_t N_kntacd(const CURVE *cur, double u, int16_t side, int16_t d, double **ders,
                 int32_t *span) {
  // A non-rational curve has all weights 1: its rational basis is the
  // B-spline basis itself.
  return curve_basis_ders(cur, u, side, d, ders, span, "N_KNTACD");
}

int16_t N_kntrcb(const CURVE *cur, int32_t i, double u, int16_t side, double *R) {
  const char *tag = "N_KNTRCB";
  if (check_rational_single(cur, i, u, side, 0, tag, tag)) return 1;
  const double *U = cur->knt->U;
  const int32_t m = cur->knt->m;
  const int p = cur->p;
  const double N = single_basis(U, m, i, p, u, side);
  if (!std::isfinite(N)) return fail(kErrFloat, tag);
  if (!w_valid(cur->pol->Pw[0].w) || N == 0.0) {
    *R = N;
    return 0;
  }
  double W = 0.0;
  if (!weight_function(cur, u, side, 0, &W, tag)) return 1;
  const double r = cur->pol->Pw[i].w * N / W;
  if (!std::isfinite(r)) return fail(kErrFloat, tag);
  *R = r;
  return 0;
}

int16_t N_kntrcd(const CURVE *cur, int32_t i, double u, int16_t side, int16_t d, double *R) {
  const char *tag = "N_KNTRCD";
  if (check_rational_single(cur, i, u, side, d, tag, "N_KNTBAD")) return 1;
  const double *U = cur->knt->U;
  const int p = cur->p;
  const bool rational = w_valid(cur->pol->Pw[0].w);
  double W[kBasisSize] = {};
  if (rational && !weight_function(cur, u, side, d, W, tag)) return 1;
  // The derivatives of N[i] go straight into R; a rational curve turns
  // them in place by the quotient rule, w_i N^(k) = sum over j of
  // C(k, j) W^(j) R^(k-j), where W^(j) vanishes above the degree.
  single_basis_derivatives(U, cur->knt->m, i, p, u, side, d, R);
  if (rational) {
    const int top = std::min<int>(d, p);
    const double wi = cur->pol->Pw[i].w;
    double c[kBasisSize] = {1.0};  // row k of Pascal's triangle, entries 0..top
    for (int k = 0; k <= d; ++k) {
      const int jmax = std::min(k, top);
      for (int j = jmax; j >= 1; --j) c[j] += c[j - 1];
      double v = wi * R[k];
      for (int j = 1; j <= jmax; ++j) v -= c[j] * W[j] * R[k - j];
      R[k] = v / W[0];
    }
  }
  return all_finite(R, d + 1) ? 0 : fail(kErrFloat, tag);
}

int16_t U_excden(const CURVE *cur, CFUNCTION *cfn, STACKS *ws) {
  const char *tag = "U_EXCDEN";
  if (!cur || !cur->pol || !cur->pol->Pw || !cur->knt || !cur->knt->U || cur->pol->n < 0 ||
      cur->knt->m < 0)
    return fail(kErrCurveDef, tag);
  const int32_t n = cur->pol->n, m = cur->knt->m;
  if (U_cfnchk(cfn, n, cur->p, m, tag, ws)) return 1;
  const CPOINT *Pw = cur->pol->Pw;
  double *values = cfn->cvl->values;
  for (int32_t i = 0; i <= n; ++i) values[i] = Pw[i].w;
  std::copy(cur->knt->U, cur->knt->U + m + 1, cfn->knt->U);
  return 0;
}

}  // extern "C"
