// Points, partial derivatives and normals of surfaces, and the tables of
// basis-function products (rational or not) of a surface at a parameter
// pair.
#include "arith/vector_ops.hpp"
#include "eval/surface_kernels.hpp"

using namespace orvo::detail;

namespace {

using HomTable = Hom[kMaxDerOrder + 1][kMaxDerOrder + 1];
using PointTable = POINT[kMaxDerOrder + 1][kMaxDerOrder + 1];

// Tensor-product sum of the point at (u, v) over the span's (p+1)(q+1)
// control points, row sums in v first. The weight is summed only for a
// rational surface.
template <bool kRational>
int16_t surface_point(const SURFACE *sur, const double *Nu, const double *Nv, int32_t span_u,
                      int32_t span_v, POINT *P) {
  const int p = sur->p, q = sur->q;
  CPOINT *const *rows = sur->net->Pw + (span_u - p);
  const int32_t col = span_v - q;
  double x = 0.0, y = 0.0, z = 0.0, w = 0.0;
  bool mixed = false;
  for (int i = 0; i <= p; ++i) {
    const CPOINT *r = rows[i] + col;
    double tx = 0.0, ty = 0.0, tz = 0.0, tw = 0.0;
    for (int j = 0; j <= q; ++j) {
      const double c = Nv[j];
      tx += c * r[j].x;
      ty += c * r[j].y;
      tz += c * surface_z(r[j].z);
      if (kRational) {
        tw += c * r[j].w;
        mixed |= !w_valid(r[j].w);
      }
    }
    const double c = Nu[i];
    x += c * tx;
    y += c * ty;
    z += c * tz;
    if (kRational) w += c * tw;
  }
  if (!kRational) {
    *P = POINT{x, y, z};
    return 0;
  }
  if (mixed) return fail(kErrSurfaceDef, "N_SUREVN");
  if (w == 0.0) return fail(kErrFloat, "N_SUREVN");
  *P = POINT{x / w, y / w, z / w};
  return 0;
}

// Checks shared by the derivative routines: record, parameters, orders
// (0..5 in each direction), sides.
int16_t check_derivative_call(const SURFACE *sur, double u, double v, int side_u, int side_v, int k,
                              int l, const char *tag) {
  if (check_surface(sur, tag)) return 1;
  const KNOTVECTOR *knu = sur->knu, *knv = sur->knv;
  if (check_span_param(knu->U, knu->m, sur->p, u, tag) ||
      check_span_param(knv->U, knv->m, sur->q, v, tag))
    return 1;
  return check_order(k, kMaxDerOrder, tag) || check_order(l, kMaxDerOrder, tag) ||
         check_side(side_u, tag) || check_side(side_v, tag);
}

// Partial derivatives S[a][b] of the pairs of shape, arguments checked.
// Failures: a rational span with a non-rational point (2), a vanishing
// weight function (11).
int16_t surface_derivatives(const SURFACE *sur, double u, double v, int side_u, int side_v,
                            const DerShape &shape, PointTable &S, const char *tag) {
  const SurfaceBasis B(sur->knu, sur->p, sur->knv, sur->q, u, v, side_u, side_v, shape.k, shape.l);
  HomTable A;
  if (!is_rational(sur)) {
    homogeneous_derivatives<false>(sur, B, shape, A);
    for (int a = 0; a <= shape.k; ++a)
      for (int b = 0; b <= shape.l; ++b)
        if (shape.covers(a, b)) S[a][b] = POINT{A[a][b].x, A[a][b].y, A[a][b].z};
    return 0;
  }
  if (!homogeneous_derivatives<true>(sur, B, shape, A)) return fail(kErrSurfaceDef, tag);
  if (A[0][0].w == 0.0) return fail(kErrFloat, tag);
  rational_quotient(A, shape, S);
  return 0;
}

// Table of basis-function products, table[a][b][i][j] = Du[a][i] Dv[b][j]
// for the pairs of shape; turned into derivatives of the rational basis
// functions R_ij = w_ij N_i N_j / W when rational is set. Nothing is written
// when the call fails.
int16_t basis_products(const SURFACE *sur, double u, double v, int16_t side_u, int16_t side_v,
                       int16_t mode, int16_t k, int16_t l, double ****table, int32_t *span_u,
                       int32_t *span_v, bool rational, const char *tag) {
  if (check_derivative_call(sur, u, v, side_u, side_v, k, l, tag)) return 1;
  const int p = sur->p, q = sur->q;
  const DerShape shape(mode, k, l);
  const SurfaceBasis B(sur->knu, p, sur->knv, q, u, v, side_u, side_v, k, l);

  // Weights of the span (1 for a non-rational surface) and the weight
  // function's derivatives W[a][b].
  CPOINT *const *rows = sur->net->Pw + (B.span_u - p);
  const int32_t col = B.span_v - q;
  rational = rational && is_rational(sur);
  double W[kMaxDerOrder + 1][kMaxDerOrder + 1] = {};
  if (rational) {
    for (int i = 0; i <= p; ++i)
      for (int j = 0; j <= q; ++j)
        if (!w_valid(rows[i][col + j].w)) return fail(kErrSurfaceDef, tag);
    for (int a = 0; a <= k; ++a)
      for (int b = 0; b <= l; ++b) {
        if (!shape.covers(a, b)) continue;
        double s = 0.0;
        for (int i = 0; i <= p; ++i) {
          double t = 0.0;
          for (int j = 0; j <= q; ++j) t += B.Dv[b][j] * rows[i][col + j].w;
          s += B.Du[a][i] * t;
        }
        W[a][b] = s;
      }
    if (W[0][0] == 0.0) return fail(kErrFloat, tag);
  }

  for (int a = 0; a <= k; ++a)
    for (int b = 0; b <= l; ++b) {
      if (!shape.covers(a, b)) continue;
      double **T = table[a][b];
      for (int i = 0; i <= p; ++i)
        for (int j = 0; j <= q; ++j) {
          double d = B.Du[a][i] * B.Dv[b][j];
          if (rational) {
            // Quotient rule: w N_i^(a) N_j^(b) = sum of C(a, c) C(b, e)
            // W[c][e] R^(a-c, b-e); the lower pairs are already in table.
            d *= rows[i][col + j].w;
            for (int c = 0; c <= a; ++c)
              for (int e = 0; e <= b; ++e)
                if (c != 0 || e != 0)
                  d -=
                      kBinomials.c[a][c] * kBinomials.c[b][e] * W[c][e] * table[a - c][b - e][i][j];
            d /= W[0][0];
          }
          T[i][j] = d;
        }
    }
  *span_u = B.span_u;
  *span_v = B.span_v;
  return 0;
}

}  // namespace

extern "C" {

int16_t N_surevn(const SURFACE *sur, double u, double v, int16_t side_u, int16_t side_v, POINT *P) {
  if (check_surface(sur, "N_SUREVN")) return 1;
  const KNOTVECTOR *knu = sur->knu, *knv = sur->knv;
  const int p = sur->p, q = sur->q;
  // Parameter and side faults are those of the basis routine of each
  // direction and carry its name.
  const char *basis_tag = "N_KNTALB";
  if (check_span_param(knu->U, knu->m, p, u, basis_tag) || check_side(side_u, basis_tag) ||
      check_span_param(knv->U, knv->m, q, v, basis_tag) || check_side(side_v, basis_tag))
    return 1;
  double Nu[kBasisSize], Nv[kBasisSize];
  const int32_t span_u = span_and_basis(knu->U, knu->m, p, u, side_u, Nu);
  const int32_t span_v = span_and_basis(knv->U, knv->m, q, v, side_v, Nv);
  return is_rational(sur) ? surface_point<true>(sur, Nu, Nv, span_u, span_v, P)
                          : surface_point<false>(sur, Nu, Nv, span_u, span_v, P);
}

int16_t N_surder(const SURFACE *sur, double u, double v, int16_t side_u, int16_t side_v,
                 int16_t mode, int16_t k, int16_t l, POINT **SKL) {
  const char *tag = "N_SURDER";
  if (check_derivative_call(sur, u, v, side_u, side_v, k, l, tag)) return 1;
  const DerShape shape(mode, k, l);
  PointTable S;
  if (surface_derivatives(sur, u, v, side_u, side_v, shape, S, tag)) return 1;
  for (int a = 0; a <= k; ++a)
    for (int b = 0; b <= l; ++b)
      if (shape.covers(a, b)) SKL[a][b] = S[a][b];
  return 0;
}

int16_t N_surnor(const SURFACE *sur, double u, double v, int16_t side_u, int16_t side_v, POINT *P,
                 VECTOR *Su, VECTOR *Sv, VECTOR *N) {
  const char *tag = "N_SURNOR";
  if (check_derivative_call(sur, u, v, side_u, side_v, 1, 1, tag)) return 1;
  PointTable S;
  if (surface_derivatives(sur, u, v, side_u, side_v, DerShape(1, 1, 1), S, tag)) return 1;
  // Normal first, then the tangents; the first of zero length fails.
  VECTOR tu{S[1][0].x, S[1][0].y, S[1][0].z}, tv{S[0][1].x, S[0][1].y, S[0][1].z};
  VECTOR n = cross3(tu, tv);
  if (G_vecnip(&n) || G_vecnip(&tu) || G_vecnip(&tv)) return 1;
  *P = S[0][0];
  *Su = tu;
  *Sv = tv;
  *N = n;
  return 0;
}

int16_t N_kntabd(const SURFACE *sur, double u, double v, int16_t side_u, int16_t side_v,
                 int16_t mode, int16_t k, int16_t l, double ****table, int32_t *span_u,
                 int32_t *span_v) {
  return basis_products(sur, u, v, side_u, side_v, mode, k, l, table, span_u, span_v, false,
                        "N_KNTABD");
}

int16_t N_kntasd(const SURFACE *sur, double u, double v, int16_t side_u, int16_t side_v,
                 int16_t mode, int16_t k, int16_t l, double ****table, int32_t *span_u,
                 int32_t *span_v) {
  // A non-rational surface has all weights 1: its rational basis is the
  // product basis itself.
  return basis_products(sur, u, v, side_u, side_v, mode, k, l, table, span_u, span_v, true,
                        "N_KNTASD");
}

int16_t N_kntsad(const SURFACE *sur, double u, double v, int16_t side_u, int16_t side_v,
                 int16_t mode, int16_t k, int16_t l, double ****table, int32_t *span_u,
                 int32_t *span_v) {
  return basis_products(sur, u, v, side_u, side_v, mode, k, l, table, span_u, span_v, true,
                        "N_KNTSAD");
}

}  // extern "C"
