// Scalar functions of two parameters, the single rational basis functions
// of a surface with their mixed derivatives, and the denominator function
// of a rational surface.
#include <algorithm>

#include "eval/surface_kernels.hpp"

using namespace orvo::detail;

namespace {

// Fixed table for basis derivatives of every order a function may ask for:
// orders above the degree are zero, so rows 0..MAXDEGREE suffice.
using FullRows = double[kBasisSize][kBasisSize];

// Checks shared by the single rational basis routines: record, parameters,
// indices (0..n, 0..m), orders, sides.
int16_t check_single(const SURFACE *sur, int32_t i, int32_t j, double u, double v, int side_u,
                     int side_v, int k, int l, const char *tag) {
  if (check_surface(sur, tag)) return 1;
  const KNOTVECTOR *knu = sur->knu, *knv = sur->knv;
  if (check_param(knu->U, knu->m, u, tag) || check_param(knv->U, knv->m, v, tag)) return 1;
  if (i < 0 || i > sur->net->n || j < 0 || j > sur->net->m) return fail(kErrIndex, tag);
  return check_order(k, kMaxDerOrder, tag) || check_order(l, kMaxDerOrder, tag) ||
         check_uv(knu, sur->p, knv, sur->q, u, v, side_u, side_v, tag);
}

// Derivatives W[a][b], a = 0..k, b = 0..l, of the weight function of a
// rational surface at (u, v). Fails under tag when the spans' knots do not
// allow the divisions or W vanishes (11), or the span holds a
// non-rational point (2).
int16_t weight_function(const SURFACE *sur, double u, double v, int side_u, int side_v, int k,
                        int l, double (*W)[kMaxDerOrder + 1], const char *tag) {
  const int p = sur->p, q = sur->q;
  const SurfaceBasis B(sur->knu, p, sur->knv, q, u, v, side_u, side_v, k, l);
  if (!B.fit) return fail(kErrFloat, tag);
  if (!span_weight_derivatives(
          B, sur->net->Pw, p, q, k, l, [](int, int) { return true; }, W))
    return fail(kErrSurfaceDef, tag);
  return W[0][0] == 0.0 ? fail(kErrFloat, tag) : 0;
}

}  // namespace

extern "C" {

int16_t N_sfnevn(const SFUNCTION *sfn, double u, double v, int16_t side_u, int16_t side_v,
                 double *f) {
  const char *tag = "N_SFNEVN";
  if (check_sfunction(sfn, tag)) return 1;
  const KNOTVECTOR *knu = sfn->knu, *knv = sfn->knv;
  const int p = sfn->p, q = sfn->q;
  if (check_uv(knu, p, knv, q, u, v, side_u, side_v, tag)) return 1;
  double Nu[kBasisSize], Nv[kBasisSize];
  const int32_t su = span_and_basis(knu->U, knu->m, p, u, side_u, Nu);
  const int32_t sv = span_and_basis(knv->U, knv->m, q, v, side_v, Nv);
  if (su < 0 || sv < 0) return fail(kErrFloat, tag);
  double *const *rows = sfn->svl->values + (su - p);
  double s = 0.0;
  for (int i = 0; i <= p; ++i) {
    const double *r = rows[i] + (sv - q);
    double t = 0.0;
    for (int j = 0; j <= q; ++j) t += Nv[j] * r[j];
    s += Nu[i] * t;
  }
  if (!std::isfinite(s)) return fail(kErrFloat, tag);
  *f = s;
  return 0;
}

int16_t N_sfnder(const SFUNCTION *sfn, double u, double v, int16_t side_u, int16_t side_v,
                 int16_t k, int16_t l, double **F) {
  const char *tag = "N_SFNDER";
  if (check_sfunction(sfn, tag)) return 1;
  const KNOTVECTOR *knu = sfn->knu, *knv = sfn->knv;
  const int p = sfn->p, q = sfn->q;
  if (check_uv(knu, p, knv, q, u, v, side_u, side_v, tag) || check_order(k, INT16_MAX, tag) ||
      check_order(l, INT16_MAX, tag))
    return 1;
  // Orders above the degree vanish: only min(k, p) and min(l, q) rows are
  // formed.
  const int ku = std::min<int>(k, p), lv = std::min<int>(l, q);
  FullRows Du, Dv;
  const int32_t su = find_span(knu->U, knu->m, p, u, side_u);
  const int32_t sv = find_span(knv->U, knv->m, q, v, side_v);
  if (!span_fit(knu->U, p, su) || !span_fit(knv->U, q, sv)) return fail(kErrFloat, tag);
  basis_derivatives(knu->U, p, u, su, ku, Du);
  basis_derivatives(knv->U, q, v, sv, lv, Dv);
  double *const *rows = sfn->svl->values + (su - p);
  for (int a = 0; a <= k; ++a)
    for (int b = 0; b <= l; ++b) {
      if (a > ku || b > lv) {
        F[a][b] = 0.0;
        continue;
      }
      double s = 0.0;
      for (int i = 0; i <= p; ++i) {
        const double *r = rows[i] + (sv - q);
        double t = 0.0;
        for (int j = 0; j <= q; ++j) t += Dv[b][j] * r[j];
        s += Du[a][i] * t;
      }
      if (!std::isfinite(s)) return fail(kErrFloat, tag);
      F[a][b] = s;
    }
  return 0;
}

int16_t N_kntrsb(const SURFACE *sur, int32_t i, int32_t j, double u, double v, int16_t side_u,
                 int16_t side_v, double *R) {
  const char *tag = "N_KNTRSB";
  if (check_single(sur, i, j, u, v, side_u, side_v, 0, 0, tag)) return 1;
  const KNOTVECTOR *knu = sur->knu, *knv = sur->knv;
  const double N = single_basis(knu->U, knu->m, i, sur->p, u, side_u) *
                   single_basis(knv->U, knv->m, j, sur->q, v, side_v);
  if (!std::isfinite(N)) return fail(kErrFloat, tag);
  if (!is_rational(sur) || N == 0.0) {
    *R = N;
    return 0;
  }
  double W[kMaxDerOrder + 1][kMaxDerOrder + 1];
  if (weight_function(sur, u, v, side_u, side_v, 0, 0, W, tag)) return 1;
  const double r = sur->net->Pw[i][j].w * N / W[0][0];
  if (!std::isfinite(r)) return fail(kErrFloat, tag);
  *R = r;
  return 0;
}

int16_t N_kntrsd(const SURFACE *sur, int32_t i, int32_t j, double u, double v, int16_t side_u,
                 int16_t side_v, int16_t k, int16_t l, double **D) {
  const char *tag = "N_KNTRSD";
  if (check_single(sur, i, j, u, v, side_u, side_v, k, l, tag)) return 1;
  const KNOTVECTOR *knu = sur->knu, *knv = sur->knv;
  double Nu[kMaxDerOrder + 1], Nv[kMaxDerOrder + 1];
  single_basis_derivatives(knu->U, knu->m, i, sur->p, u, side_u, k, Nu);
  single_basis_derivatives(knv->U, knv->m, j, sur->q, v, side_v, l, Nv);
  double W[kMaxDerOrder + 1][kMaxDerOrder + 1] = {};
  const bool rational = is_rational(sur);
  if (rational && weight_function(sur, u, v, side_u, side_v, k, l, W, tag)) return 1;
  // Quotient rule: w N_i^(a) N_j^(b) = sum of C(a, c) C(b, e) W[c][e]
  // R^(a-c, b-e).
  // A non-rational surface is the case w = W = 1.
  const double wij = rational ? sur->net->Pw[i][j].w : 1.0;
  if (!rational) W[0][0] = 1.0;
  double R[kMaxDerOrder + 1][kMaxDerOrder + 1];
  for (int a = 0; a <= k; ++a)
    for (int b = 0; b <= l; ++b) {
      double d = wij * Nu[a] * Nv[b];
      for (int c = 0; c <= a; ++c)
        for (int e = 0; e <= b; ++e)
          if (c != 0 || e != 0)
            d -= kBinomials.c[a][c] * kBinomials.c[b][e] * W[c][e] * R[a - c][b - e];
      R[a][b] = d / W[0][0];
      if (!std::isfinite(R[a][b])) return fail(kErrFloat, tag);
    }
  for (int a = 0; a <= k; ++a) std::copy(R[a], R[a] + l + 1, D[a]);
  return 0;
}

int16_t U_exsden(const SURFACE *sur, SFUNCTION *sfn, STACKS *ws) {
  const char *tag = "U_EXSDEN";
  if (!sur || !sur->net || !sur->net->Pw || !sur->knu || !sur->knu->U || !sur->knv ||
      !sur->knv->U || sur->net->n < 0 || sur->net->m < 0 || sur->knu->m < 0 || sur->knv->m < 0)
    return fail(kErrSurfaceDef, tag);
  const CNET *net = sur->net;
  const int32_t n = net->n, m = net->m, r = sur->knu->m, s = sur->knv->m;
  if (U_sfnchk(sfn, n, m, sur->p, sur->q, r, s, tag, ws)) return 1;
  for (int32_t i = 0; i <= n; ++i)
    for (int32_t j = 0; j <= m; ++j) sfn->svl->values[i][j] = net->Pw[i][j].w;
  std::copy(sur->knu->U, sur->knu->U + r + 1, sfn->knu->U);
  std::copy(sur->knv->U, sur->knv->U + s + 1, sfn->knv->U);
  return 0;
}

}  // extern "C"
