// Surface evaluation kernels: record checks for surfaces and scalar surface
// functions, and the tensor-product sums of the evaluators. Like the curve
// kernels they work in fixed local tables and never allocate.
//
// A surface is treated as 3-D: a 2-D marker in z counts as z = 0. The kind
// (rational or not) is read from the first control point; a rational
// surface whose span holds a non-rational point is refused as an
// inconsistent definition rather than summed with the marker.
#pragma once

#include "eval/kernels.hpp"

namespace orvo::detail {

// ---- Record checks ------------------------------------------------------------
// The parts of one direction: knots r = n + p + 1 and at least p+1
// coefficients, so that every span's coefficients lie inside the net.
inline int16_t check_direction(const KNOTVECTOR *knt, int32_t n, int p, const char *tag) {
  if (!knt || !knt->U) return fail(kErrSurfaceDef, tag);
  if (p > MAXDEGREE) return fail(kErrDegree, tag);
  if (p < 0 || n < 0 || static_cast<int64_t>(knt->m) != static_cast<int64_t>(n) + p + 1)
    return fail(kErrSurfaceDef, tag);
  if (n < p) return fail(kErrInconsistent, tag);
  return 0;
}

inline int16_t check_net_record(const void *rows, int32_t n, int32_t m, int p, int q,
                                const KNOTVECTOR *knu, const KNOTVECTOR *knv, const char *tag) {
  if (!rows) return fail(kErrSurfaceDef, tag);
  return check_direction(knu, n, p, tag) || check_direction(knv, m, q, tag);
}

inline int16_t check_surface(const SURFACE *sur, const char *tag) {
  if (!sur || !sur->net) return fail(kErrSurfaceDef, tag);
  const CNET *net = sur->net;
  return check_net_record(net->Pw, net->n, net->m, sur->p, sur->q, sur->knu, sur->knv, tag);
}

inline int16_t check_sfunction(const SFUNCTION *sfn, const char *tag) {
  if (!sfn || !sfn->svl) return fail(kErrSurfaceDef, tag);
  const SVLIST *svl = sfn->svl;
  return check_net_record(svl->values, svl->n, svl->m, sfn->p, sfn->q, sfn->knu, sfn->knv, tag);
}

// Both parameters within the spans of their knot vectors (error 6) and
// both sides 1 or 2 (error 13), u before v.
inline int16_t check_uv(const KNOTVECTOR *knu, int p, const KNOTVECTOR *knv, int q, double u,
                        double v, int side_u, int side_v, const char *tag) {
  return check_span_param(knu->U, knu->m, p, u, tag) ||
         check_span_param(knv->U, knv->m, q, v, tag) || check_side(side_u, tag) ||
         check_side(side_v, tag);
}

inline bool is_rational(const SURFACE *sur) { return w_valid(sur->net->Pw[0][0].w); }

// ---- Homogeneous sums -----------------------------------------------------
// The z a surface sums: a 2-D marker counts as 0.
inline double surface_z(double z) { return z_valid(z) ? z : 0.0; }

// Homogeneous accumulator of the derivative sums.
struct Hom {
  double x = 0.0, y = 0.0, z = 0.0, w = 0.0;
};

// Derivative table of one direction: orders 0..5, p+1 functions.
using DerRows = double[kMaxDerOrder + 1][kBasisSize];

// Pairs (a, b) a derivative request covers: the triangle a + b <= k when
// mode is 1 and k == l, else the rectangle a <= k, b <= l.
struct DerShape {
  int k, l;
  bool triangle;
  DerShape(int mode, int k_, int l_) : k(k_), l(l_), triangle(mode == 1 && k_ == l_) {}
  bool covers(int a, int b) const { return a <= k && b <= l && (!triangle || a + b <= k); }
};

// Spans and basis derivatives of both directions at (u, v); the arguments
// have been checked.
struct SurfaceBasis {
  int32_t span_u = 0, span_v = 0;
  DerRows Du, Dv;

  SurfaceBasis(const KNOTVECTOR *knu, int p, const KNOTVECTOR *knv, int q, double u, double v,
               int side_u, int side_v, int k, int l) {
    span_u = find_span(knu->U, knu->m, p, u, side_u);
    span_v = find_span(knv->U, knv->m, q, v, side_v);
    basis_derivatives(knu->U, p, u, span_u, k, Du);
    basis_derivatives(knv->U, q, v, span_v, l, Dv);
  }
};

// A[a][b] = sum over the span of Du[a][i] Dv[b][j] Pw[i][j] in homogeneous
// coordinates (w = 1 for a non-rational surface), for the pairs of shape.
// Returns false when a rational span holds a non-rational point.
template <bool kRational>
inline bool homogeneous_derivatives(const SURFACE *sur, const SurfaceBasis &B,
                                    const DerShape &shape, Hom (*A)[kMaxDerOrder + 1]) {
  const int p = sur->p, q = sur->q;
  CPOINT *const *rows = sur->net->Pw + (B.span_u - p);
  const int32_t col = B.span_v - q;
  // Row sums T[b][i] = sum over j of Dv[b][j] Pw[i][j], then the u sums.
  Hom T[kMaxDerOrder + 1][kBasisSize];
  bool mixed = false;
  for (int i = 0; i <= p; ++i) {
    const CPOINT *r = rows[i] + col;
    for (int b = 0; b <= shape.l; ++b) {
      Hom t;
      for (int j = 0; j <= q; ++j) {
        const double c = B.Dv[b][j];
        t.x += c * r[j].x;
        t.y += c * r[j].y;
        t.z += c * surface_z(r[j].z);
        if (kRational) t.w += c * r[j].w;
      }
      T[b][i] = t;
    }
    if (kRational)
      for (int j = 0; j <= q; ++j) mixed |= !w_valid(r[j].w);
  }
  if (mixed) return false;
  for (int a = 0; a <= shape.k; ++a)
    for (int b = 0; b <= shape.l; ++b) {
      if (!shape.covers(a, b)) continue;
      Hom s;
      for (int i = 0; i <= p; ++i) {
        const double c = B.Du[a][i];
        s.x += c * T[b][i].x;
        s.y += c * T[b][i].y;
        s.z += c * T[b][i].z;
        s.w += c * T[b][i].w;
      }
      if (!kRational) s.w = (a == 0 && b == 0) ? 1.0 : 0.0;
      A[a][b] = s;
    }
  return true;
}

// Euclidean derivatives S[a][b] of the surface from its homogeneous ones
// by the two-variable quotient rule:
//   S[a][b] = (A[a][b] - sum over (i, j) != (0, 0) of C(a, i) C(b, j)
//              W[i][j] S[a-i][b-j]) / W[0][0].
// The pairs a shape covers are closed under lowering a and b, so every
// term on the right is known when S[a][b] is formed.
inline void rational_quotient(const Hom (*A)[kMaxDerOrder + 1], const DerShape &shape,
                              POINT (*S)[kMaxDerOrder + 1]) {
  const double w0 = A[0][0].w;
  for (int a = 0; a <= shape.k; ++a)
    for (int b = 0; b <= shape.l; ++b) {
      if (!shape.covers(a, b)) continue;
      double x = A[a][b].x, y = A[a][b].y, z = A[a][b].z;
      for (int i = 0; i <= a; ++i)
        for (int j = 0; j <= b; ++j) {
          if (i == 0 && j == 0) continue;
          const double c = kBinomials.c[a][i] * kBinomials.c[b][j] * A[i][j].w;
          const POINT &s = S[a - i][b - j];
          x -= c * s.x;
          y -= c * s.y;
          z -= c * s.z;
        }
      S[a][b] = POINT{x / w0, y / w0, z / w0};
    }
}

}  // namespace orvo::detail
