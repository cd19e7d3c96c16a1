// Points and derivatives of curves and scalar curve functions, the rational
// basis functions of a curve and the denominator function of a rational
// curve.
#include "eval/kernels.hpp"

using namespace orvo::detail;

namespace {

// Derivative table of the fixed-table evaluators: orders 0..5, p+1 functions.
using DerTable = double[kMaxDerOrder + 1][kBasisSize];

// Checks shared by the curve routines that return span-wise tables or
// points: record, parameter within the spans, order, side.
int16_t check_curve_at(const CURVE *cur, double u, int side, int d, const char *tag) {
  if (check_curve(cur, tag)) return 1;
  const KNOTVECTOR *knt = cur->knt;
  return check_span_param(knt->U, knt->m, cur->p, u, tag) || check_order(d, kMaxDerOrder, tag) ||
         check_side(side, tag);
}

// Derivatives of the basis functions of a curve at u, rational when the
// curve is: rows 0..d of D. Returns the span, or -1 (error 11 under tag)
// when the weight function vanishes at u.
int32_t curve_basis(const CURVE *cur, double u, int side, int d, DerTable &D, const char *tag) {
  const double *U = cur->knt->U;
  const int p = cur->p;
  const int32_t span = find_span(U, cur->knt->m, p, u, side);
  basis_derivatives(U, p, u, span, d, D);
  if (w_valid(cur->pol->Pw[0].w) && !rationalize(D, cur->pol->Pw + (span - p), p, d)) {
    fail(kErrFloat, tag);
    return -1;
  }
  return span;
}

// Shared body of N_kntcad and N_kntacd; the local table keeps the caller's
// rows untouched on failure.
int16_t curve_basis_ders(const CURVE *cur, double u, int16_t side, int16_t d, double **ders,
                         int32_t *span, const char *tag) {
  if (check_curve_at(cur, u, side, d, tag)) return 1;
  DerTable D;
  const int32_t k = curve_basis(cur, u, side, d, D, tag);
  if (k < 0) return 1;
  for (int r = 0; r <= d; ++r) std::copy(D[r], D[r] + cur->p + 1, ders[r]);
  *span = k;
  return 0;
}

// Checks shared by the single rational basis routines.
int16_t check_rational_single(const CURVE *cur, int32_t i, double u, int side, int d,
                              const char *tag) {
  if (check_curve(cur, tag)) return 1;
  const KNOTVECTOR *knt = cur->knt;
  if (check_param(knt->U, knt->m, u, tag)) return 1;
  if (i < 0 || i > cur->pol->n) return fail(kErrIndex, tag);
  return check_order(d, kMaxDerOrder, tag) || check_side(side, tag) ||
         check_span_param(knt->U, knt->m, cur->p, u, tag);
}

}  // namespace

extern "C" {

int16_t N_curevn(const CURVE *cur, double u, int16_t side, POINT *P) {
  const char *tag = "N_CUREVN";
  if (check_curve(cur, tag)) return 1;
  const double *U = cur->knt->U;
  const int32_t m = cur->knt->m;
  const int p = cur->p;
  if (check_span_param(U, m, p, u, tag) || check_side(side, tag)) return 1;

  double N[kBasisSize];
  const int32_t span = span_and_basis(U, m, p, u, side, N);
  const CPOINT *Q = cur->pol->Pw + (span - p);
  CPOINT cw = kZeroCpoint;
  for (int j = 0; j <= p; ++j) accumulate(cw, N[j], Q[j]);
  if (cw.w == 0.0) return fail(kErrFloat, tag);
  *P = euclid(cw);
  return 0;
}

int16_t N_curder(const CURVE *cur, double u, int16_t side, int16_t d, POINT *CK) {
  const char *tag = "N_CURDER";
  if (check_curve_at(cur, u, side, d, tag)) return 1;
  const double *U = cur->knt->U;
  const int p = cur->p;
  const int32_t span = find_span(U, cur->knt->m, p, u, side);
  BasisTriangle ndu;
  basis_triangle(U, p, u, span, ndu);
  const CPOINT *Q = cur->pol->Pw + (span - p);
  const auto z_of = [](const CPOINT &q) { return z_valid(q.z) ? q.z : 0.0; };

  if (!w_valid(cur->pol->Pw[0].w)) {
    double E[kBasisSize][3], H[kMaxDerOrder + 1][3];
    for (int j = 0; j <= p; ++j) {
      E[j][0] = Q[j].x;
      E[j][1] = Q[j].y;
      E[j][2] = z_of(Q[j]);
    }
    span_derivatives<3>(ndu, p, d, E, H);
    for (int k = 0; k <= d; ++k) CK[k] = POINT{H[k][0], H[k][1], H[k][2]};
    return 0;
  }

  // Rational: derivatives of the weighted curve (x w, y w, z w, w), then
  // the quotient rule order by order. A zero weight has no Euclidean
  // control point: refuse it rather than divide.
  double A[kBasisSize][4], H[kMaxDerOrder + 1][4];
  for (int j = 0; j <= p; ++j) {
    if (Q[j].w == 0.0) return fail(kErrFloat, tag);
    A[j][0] = Q[j].x;
    A[j][1] = Q[j].y;
    A[j][2] = z_of(Q[j]);
    A[j][3] = Q[j].w;
  }
  span_derivatives<4>(ndu, p, d, A, H);
  if (H[0][3] == 0.0) return fail(kErrFloat, tag);
  const double inv = 1.0 / H[0][3];
  for (int k = 0; k <= d; ++k) {
    double v[3] = {H[k][0], H[k][1], H[k][2]};
    for (int i = 1; i <= k; ++i) {
      const double c = kBinomials.c[k][i] * H[i][3];
      v[0] -= c * CK[k - i].x;
      v[1] -= c * CK[k - i].y;
      v[2] -= c * CK[k - i].z;
    }
    CK[k] = POINT{v[0] * inv, v[1] * inv, v[2] * inv};
  }
  return 0;
}

int16_t N_cfnevn(const CFUNCTION *cfn, double u, int16_t side, double *f) {
  const char *tag = "N_CFNEVN";
  if (check_function(cfn, tag)) return 1;
  const double *U = cfn->knt->U;
  const int32_t m = cfn->knt->m;
  const int p = cfn->p;
  if (check_span_param(U, m, p, u, tag) || check_side(side, tag)) return 1;
  double N[kBasisSize];
  const int32_t span = span_and_basis(U, m, p, u, side, N);
  const double *v = cfn->cvl->values + (span - p);
  double s = 0.0;
  for (int j = 0; j <= p; ++j) s += N[j] * v[j];
  *f = s;
  return 0;
}

int16_t N_cfnder(const CFUNCTION *cfn, double u, int16_t side, int16_t d, double *F) {
  const char *tag = "N_CFNDER";
  if (check_function(cfn, tag)) return 1;
  const double *U = cfn->knt->U;
  const int p = cfn->p;
  if (check_span_param(U, cfn->knt->m, p, u, tag) || check_order(d, INT16_MAX, tag) ||
      check_side(side, tag))
    return 1;
  // Derivatives above the degree vanish: only min(d, p) rows are formed.
  const int top = std::min<int>(d, p);
  double D[kBasisSize][kBasisSize];
  const int32_t span = find_span(U, cfn->knt->m, p, u, side);
  basis_derivatives(U, p, u, span, top, D);
  const double *v = cfn->cvl->values + (span - p);
  for (int k = 0; k <= top; ++k) {
    double s = 0.0;
    for (int j = 0; j <= p; ++j) s += D[k][j] * v[j];
    F[k] = s;
  }
  for (int k = top + 1; k <= d; ++k) F[k] = 0.0;
  return 0;
}

int16_t N_kntcad(const CURVE *cur, double u, int16_t side, int16_t d, double **ders,
                 int32_t *span) {
  return curve_basis_ders(cur, u, side, d, ders, span, "N_KNTCAD");
}

int16_t N_kntacd(const CURVE *cur, double u, int16_t side, int16_t d, double **ders,
                 int32_t *span) {
  // A non-rational curve has all weights 1: its rational basis is the
  // B-spline basis itself.
  return curve_basis_ders(cur, u, side, d, ders, span, "N_KNTACD");
}

int16_t N_kntrcb(const CURVE *cur, int32_t i, double u, int16_t side, double *R) {
  const char *tag = "N_KNTRCB";
  if (check_rational_single(cur, i, u, side, 0, tag)) return 1;
  const double *U = cur->knt->U;
  const int32_t m = cur->knt->m;
  const int p = cur->p;
  const double N = single_basis(U, m, i, p, u, side);
  if (!w_valid(cur->pol->Pw[0].w) || N == 0.0) {
    *R = N;
    return 0;
  }
  // Denominator W = sum of w_j N_j over the span of u.
  double B[kBasisSize];
  const int32_t span = span_and_basis(U, m, p, u, side, B);
  const CPOINT *Q = cur->pol->Pw + (span - p);
  double W = 0.0;
  for (int j = 0; j <= p; ++j) W += B[j] * Q[j].w;
  if (W == 0.0) return fail(kErrFloat, tag);
  *R = cur->pol->Pw[i].w * N / W;
  return 0;
}

int16_t N_kntrcd(const CURVE *cur, int32_t i, double u, int16_t side, int16_t d, double *R) {
  const char *tag = "N_KNTRCD";
  if (check_rational_single(cur, i, u, side, d, tag)) return 1;
  const double *U = cur->knt->U;
  const int32_t m = cur->knt->m;
  const int p = cur->p;
  double Nd[kMaxDerOrder + 1];
  single_basis_derivatives(U, m, i, p, u, side, d, Nd);
  if (!w_valid(cur->pol->Pw[0].w)) {
    std::copy(Nd, Nd + d + 1, R);
    return 0;
  }
  // Derivatives of the weight function W = sum of w_j N_j over the span.
  const int32_t span = find_span(U, m, p, u, side);
  DerTable D;
  basis_derivatives(U, p, u, span, d, D);
  const CPOINT *Q = cur->pol->Pw + (span - p);
  double W[kMaxDerOrder + 1] = {};
  weight_derivatives(D, Q, p, d, W);
  if (W[0] == 0.0) return fail(kErrFloat, tag);
  // Quotient rule: w_i N^(k) = sum over j of C(k, j) W^(j) R^(k-j).
  const double wi = cur->pol->Pw[i].w;
  double out[kMaxDerOrder + 1] = {};
  for (int k = 0; k <= d; ++k) {
    double v = wi * Nd[k];
    for (int j = 1; j <= k; ++j) v -= kBinomials.c[k][j] * W[j] * out[k - j];
    out[k] = v / W[0];
  }
  std::copy(out, out + d + 1, R);
  return 0;
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
