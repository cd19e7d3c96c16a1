// Points, partial derivatives and normals of surfaces, and the tables of
// basis-function products (rational or not) of a surface at a parameter
// pair.
#include "arith/vector_ops.hpp"
#include "eval/surface_kernels.hpp"

using namespace orvo::detail;

namespace {

using HomTable = CPOINT[kMaxDerOrder + 1][kMaxDerOrder + 1];
using PointTable = POINT[kMaxDerOrder + 1][kMaxDerOrder + 1];

// The point at (u, v): spans and basis values of both directions, then the
// tensor-product sum over the span's (p+1)(q+1) control points, row sums
// in v first. All four fields are summed alike, (x, y) and (z, w) as packed
// pairs (two packed operations per control point); the fields a surface of
// this kind does not have are dropped afterwards: the weight of a
// non-rational surface, z of a 2-D one. A rational span that holds a
// non-rational point is noted in the same packed way. kDeg >= 0 fixes both
// degrees at compile time.
template <bool kRational, int kDeg>
int16_t surface_point(const SURFACE *sur, const DirectionArgs (&d)[2], POINT *P) {
  const int p = kDeg >= 0 ? kDeg : sur->p, q = kDeg >= 0 ? kDeg : sur->q;
  double Nu[kBasisSize], Nv[kBasisSize];
  int32_t span[2];
  if (!span_and_basis_pair<kDeg>(d, span, Nu, Nv)) return fail(kErrFloat, "N_SUREVN");
  CPOINT *const *rows = sur->net->Pw + (span[0] - p);
  const int32_t col = span[1] - q;
  const Pair no_weight = {kWNR, kWNR};
  Pair sxy = {0.0, 0.0}, szw = {0.0, 0.0};
  auto marked = sxy != sxy;  // lane 1 true once a non-rational point is met
  for (int i = 0; i <= p; ++i) {
    const CPOINT *r = rows[i] + col;
    Pair txy = {0.0, 0.0}, tzw = {0.0, 0.0};
    for (int j = 0; j <= q; ++j) {
      const Pair c = {Nv[j], Nv[j]}, zw = pair_at(&r[j].z);
      txy += c * pair_at(&r[j].x);
      tzw += c * zw;
      if (kRational) marked |= zw == no_weight;
    }
    const Pair c = {Nu[i], Nu[i]};
    sxy += c * txy;
    szw += c * tzw;
  }
  const bool mixed = marked[1];
  CPOINT s{sxy[0], sxy[1], szw[0], szw[1]};
  if (!z_valid(sur->net->Pw[0][0].z)) s.z = 0.0;
  if (kRational && mixed) return fail(kErrSurfaceDef, "N_SUREVN");
  // A zero weight sum, or a sum beyond the double range, has no point.
  const POINT e = kRational ? POINT{s.x / s.w, s.y / s.w, s.z / s.w} : POINT{s.x, s.y, s.z};
  if (!all_finite(&e.x, 3)) return fail(kErrFloat, "N_SUREVN");
  *P = e;
  return 0;
}

template <int kDeg>
int16_t surface_point_of_degree(const SURFACE *sur, const DirectionArgs (&d)[2], POINT *P) {
  return is_rational(sur) ? surface_point<true, kDeg>(sur, d, P)
                          : surface_point<false, kDeg>(sur, d, P);
}

// The basis-product routine that computes a surface's derivatives, whose
// name the faults it finds carry.
const char *basis_tag(const SURFACE *sur) { return is_rational(sur) ? "N_KNTASD" : "N_KNTABD"; }

// Checks shared by the derivative routines, the record checked: parameters,
// orders (0..5 in each direction), sides.
int16_t check_derivative_args(const SURFACE *sur, double u, double v, int side_u, int side_v, int k,
                              int l, const char *tag) {
  const KNOTVECTOR *knu = sur->knu, *knv = sur->knv;
  if (check_span_param(knu->U, knu->m, sur->p, u, tag) ||
      check_span_param(knv->U, knv->m, sur->q, v, tag))
    return 1;
  return check_order(k, kMaxDerOrder, tag) || check_order(l, kMaxDerOrder, tag) ||
         check_side(side_u, tag) || check_side(side_v, tag);
}

// Partial derivatives S[a][b] of the pairs of shape, arguments checked.
// Failures: spans whose knots do not allow the divisions (11), a rational
// span with a non-rational point (2), a vanishing weight function (11),
// all under the basis routine's name; a derivative beyond the double
// range (11 under "N_SURDER", whose sum overflows).
int16_t surface_derivatives(const SURFACE *sur, double u, double v, int side_u, int side_v,
                            const DerShape &shape, PointTable &S) {
  const char *tag = basis_tag(sur);
  const SurfaceBasis B(sur->knu, sur->p, sur->knv, sur->q, u, v, side_u, side_v, shape.k, shape.l);
  if (!B.fit) return fail(kErrFloat, tag);
  HomTable A;
  if (!is_rational(sur)) {
    homogeneous_derivatives<false>(sur, B, shape, A);
    for (int a = 0; a <= shape.k; ++a)
      for (int b = 0; b <= shape.l; ++b)
        if (shape.covers(a, b)) S[a][b] = POINT{A[a][b].x, A[a][b].y, A[a][b].z};
  } else {
    if (!homogeneous_derivatives<true>(sur, B, shape, A)) return fail(kErrSurfaceDef, tag);
    if (A[0][0].w == 0.0) return fail(kErrFloat, tag);
    rational_quotient(A, shape, S);
  }
  for (int a = 0; a <= shape.k; ++a)
    for (int b = 0; b <= shape.l; ++b)
      if (shape.covers(a, b) && !all_finite(&S[a][b].x, 3)) return fail(kErrFloat, "N_SURDER");
  return 0;
}

// The point and its first partial derivatives {S, Su, Sv} at (u, v),
// arguments checked; errors as surface_derivatives reports them.
template <int kDeg>
int16_t first_derivatives_of_degree(const SURFACE *sur, const DirectionArgs (&d)[2],
                                    POINT (&S)[3]) {
  return is_rational(sur) ? surface_first_derivatives<true, kDeg>(sur, d, S)
                          : surface_first_derivatives<false, kDeg>(sur, d, S);
}

int16_t first_derivatives(const SURFACE *sur, double u, double v, int side_u, int side_v,
                          POINT (&S)[3]) {
  const DirectionArgs d[2] = {{sur->knu->U, sur->knu->m, sur->p, u, side_u},
                              {sur->knv->U, sur->knv->m, sur->q, v, side_v}};
  // The common equal degrees get code with the degree built in.
  const int deg = sur->p == sur->q ? sur->p : -1;
  return by_degree(
      deg,
      [](auto k, const SURFACE *s, const DirectionArgs(*a)[2], POINT(*out)[3]) {
        return first_derivatives_of_degree<decltype(k)::value>(s, *a, *out);
      },
      sur, &d, &S);
}

// A unit vector in place, as G_vecnip makes it (error 17 under its name).
int16_t normalize(VECTOR &a) {
  VECTOR u;
  if (!unit3(a, u)) return fail(kErrZeroVector, "G_VECNIP");
  a = u;
  return 0;
}

// Table of basis-function products, table[a][b][i][j] = Du[a][i] Dv[b][j]
// for the pairs of shape; turned into derivatives of the rational basis
// functions R_ij = w_ij N_i N_j / W when rational is set. Nothing is written
// when the call fails, but for a value beyond the double range (error 11),
// found as the table is filled.
int16_t basis_products(const SURFACE *sur, double u, double v, int16_t side_u, int16_t side_v,
                       int16_t mode, int16_t k, int16_t l, double ****table, int32_t *span_u,
                       int32_t *span_v, bool rational, const char *tag) {
  if (check_surface(sur, tag) || check_derivative_args(sur, u, v, side_u, side_v, k, l, tag))
    return 1;
  const int p = sur->p, q = sur->q;
  const DerShape shape(mode, k, l);
  const SurfaceBasis B(sur->knu, p, sur->knv, q, u, v, side_u, side_v, k, l);
  if (!B.fit) return fail(kErrFloat, tag);

  // Weights of the span (1 for a non-rational surface) and the weight
  // function's derivatives W[a][b].
  CPOINT *const *rows = sur->net->Pw + (B.span_u - p);
  const int32_t col = B.span_v - q;
  rational = rational && is_rational(sur);
  double W[kMaxDerOrder + 1][kMaxDerOrder + 1] = {};
  if (rational) {
    if (!span_weight_derivatives(
            B, sur->net->Pw, p, q, k, l, [&](int a, int b) { return shape.covers(a, b); }, W))
      return fail(kErrSurfaceDef, tag);
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
          if (!std::isfinite(d)) return fail(kErrFloat, tag);
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
  const DirectionArgs d[2] = {{knu->U, knu->m, p, u, side_u}, {knv->U, knv->m, q, v, side_v}};
  // The common equal degrees get code with the degree built in.
  if (p == q) {
    if (p == 1) return surface_point_of_degree<1>(sur, d, P);
    if (p == 2) return surface_point_of_degree<2>(sur, d, P);
    if (p == 3) return surface_point_of_degree<3>(sur, d, P);
    if (p == 4) return surface_point_of_degree<4>(sur, d, P);
    if (p == 5) return surface_point_of_degree<5>(sur, d, P);
  }
  return surface_point_of_degree<-1>(sur, d, P);
}

int16_t N_surder(const SURFACE *sur, double u, double v, int16_t side_u, int16_t side_v,
                 int16_t mode, int16_t k, int16_t l, POINT **SKL) {
  // The record is this routine's to check; parameters, orders and sides
  // are checked by the basis-product routine that computes the table.
  if (check_surface(sur, "N_SURDER") ||
      check_derivative_args(sur, u, v, side_u, side_v, k, l, basis_tag(sur)))
    return 1;
  const DerShape shape(mode, k, l);
  if (shape.triangle && k == 1) {
    // The point and the first partials alone: the common request.
    POINT F[3];
    if (first_derivatives(sur, u, v, side_u, side_v, F)) return 1;
    SKL[0][0] = F[0];
    SKL[1][0] = F[1];
    SKL[0][1] = F[2];
    return 0;
  }
  PointTable S;
  if (surface_derivatives(sur, u, v, side_u, side_v, shape, S)) return 1;
  for (int a = 0; a <= k; ++a)
    for (int b = 0; b <= l; ++b)
      if (shape.covers(a, b)) SKL[a][b] = S[a][b];
  return 0;
}

int16_t N_surnor(const SURFACE *sur, double u, double v, int16_t side_u, int16_t side_v, POINT *P,
                 VECTOR *Su, VECTOR *Sv, VECTOR *N) {
  const char *tag = "N_SURNOR";
  if (check_surface(sur, tag)) return 1;
  const KNOTVECTOR *knu = sur->knu, *knv = sur->knv;
  if (check_span_param(knu->U, knu->m, sur->p, u, tag) ||
      check_span_param(knv->U, knv->m, sur->q, v, tag) ||
      check_derivative_args(sur, u, v, side_u, side_v, 1, 1, basis_tag(sur)))
    return 1;
  POINT S[3];
  if (first_derivatives(sur, u, v, side_u, side_v, S)) return 1;
  // Normal first, then the tangents; the first of zero length fails.
  VECTOR tu{S[1].x, S[1].y, S[1].z}, tv{S[2].x, S[2].y, S[2].z};
  VECTOR n = cross3(tu, tv);
  if (normalize(n) || normalize(tu) || normalize(tv)) return 1;
  *P = S[0];
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
