// Surface evaluation kernels: record checks for surfaces and scalar surface
// functions, and the tensor-product sums of the evaluators. Like the curve
// kernels they work in fixed local tables and never allocate.
//
// A surface is treated as 3-D: the points of a 2-D surface (marker in the z
// of its first control point) have z = 0, and the derivative sums count a
// z marker as 0. The kind (rational or not) is read from the first control
// point; a rational surface whose span holds a non-rational point is
// refused as an inconsistent definition rather than summed with the marker.
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

// ---- Spans and basis values of both directions ------------------------------
// The point evaluator needs a span and p+1 basis values in u and in v. The
// two computations are independent chains of loads and divisions; running
// their steps side by side lets the processor overlap them instead of
// finishing one before starting the other.
struct DirectionArgs {
  const double *U;
  int32_t m;
  int p;
  double t;
  int side;
};

// The spans find_span gives in both directions (side turned inward at the
// ends of the range). The two searches are independent chains of loads, so
// the processor overlaps them.
inline void find_span_pair(const DirectionArgs (&d)[2], int32_t (&span)[2]) {
  for (int k = 0; k < 2; ++k) span[k] = find_span(d[k].U, d[k].m, d[k].p, d[k].t, d[k].side);
}

// Pair (kernels.hpp) here holds lane 0 for u, lane 1 for v.

// The knots U[su+k] and V[sv+k] of the two directions' spans as a pair.
inline Pair knot_pair(const double *U, const double *V, int32_t su, int32_t sv, int k) {
  return Pair{U[su + k], V[sv + k]};
}

// Basis values of both directions by the triangular scheme, one packed
// operation serving both lanes. As in basis_row, the reciprocals of the
// knot differences come first (they depend on the knots alone) and the
// triangle multiplies by them, so the values are those of basis_row and of
// the derivative evaluators' order 0. kDeg >= 0 fixes both degrees at
// compile time (the loops unroll and the tables stay in registers); kDeg <
// 0 takes the degrees from d, and the direction of higher degree finishes
// its last degrees alone.
template <int kDeg>
inline void basis_values_pair(const DirectionArgs (&d)[2], const int32_t (&span)[2], double *Nu,
                              double *Nv) {
  constexpr int kSize = kDeg >= 0 ? kDeg + 1 : kBasisSize;
  const double *U = d[0].U, *V = d[1].U;
  const int32_t su = span[0], sv = span[1];
  const int low = kDeg >= 0 ? kDeg : std::min(d[0].p, d[1].p);
  const Pair t = {d[0].t, d[1].t};
  const Pair one = {1.0, 1.0};
  Pair n[kSize], left[kSize], right[kSize], inv[kSize][kSize];
  for (int j = 1; j <= low; ++j) {
    left[j] = t - knot_pair(U, V, su, sv, 1 - j);
    right[j] = knot_pair(U, V, su, sv, j) - t;
  }
  for (int j = 1; j <= low; ++j)
    for (int r = 0; r < j; ++r)
      inv[j][r] = one / (knot_pair(U, V, su, sv, r + 1) - knot_pair(U, V, su, sv, 1 - j + r));
  n[0] = one;
  for (int j = 1; j <= low; ++j) {
    Pair saved = {0.0, 0.0};
    for (int r = 0; r < j; ++r) {
      const Pair temp = n[r] * inv[j][r];
      n[r] = saved + right[r + 1] * temp;
      saved = left[j - r] * temp;
    }
    n[j] = saved;
  }
  for (int j = 0; j <= low; ++j) {
    Nu[j] = n[j][0];
    Nv[j] = n[j][1];
  }
  if (kDeg >= 0 || d[0].p == d[1].p) return;
  const int k = d[0].p > low ? 0 : 1;
  const double *W = d[k].U, x = d[k].t;
  double *N = k == 0 ? Nu : Nv;
  double l[kSize], r[kSize];
  for (int j = 1; j <= d[k].p; ++j) {
    l[j] = x - W[span[k] + 1 - j];
    r[j] = W[span[k] + j] - x;
  }
  for (int j = low + 1; j <= d[k].p; ++j) {
    double saved = 0.0;
    for (int i = 0; i < j; ++i) {
      const double temp = N[i] * (1.0 / (r[i + 1] + l[j - i]));
      N[i] = saved + r[i + 1] * temp;
      saved = l[j - i] * temp;
    }
    N[j] = saved;
  }
}

// span_and_basis for both directions: spans and basis values, with the
// exact end values of end_basis. False when a direction's span does not
// allow the divisions (span_fit): the caller reports error 11.
template <int kDeg>
inline bool span_and_basis_pair(const DirectionArgs (&d)[2], int32_t (&span)[2], double *Nu,
                                double *Nv) {
  find_span_pair(d, span);
  if (!span_fit(d[0].U, d[0].p, span[0]) || !span_fit(d[1].U, d[1].p, span[1])) {
    // Rare: a degenerate range or unusable knots; one direction at a time.
    span[0] = span_and_basis(d[0].U, d[0].m, d[0].p, d[0].t, d[0].side, Nu);
    span[1] = span_and_basis(d[1].U, d[1].m, d[1].p, d[1].t, d[1].side, Nv);
    return span[0] >= 0 && span[1] >= 0;
  }
  basis_values_pair<kDeg>(d, span, Nu, Nv);
  double *const N[2] = {Nu, Nv};
  for (int k = 0; k < 2; ++k) {
    const int32_t end = end_basis(d[k].U, d[k].m, d[k].p, d[k].t, N[k]);
    if (end >= 0) span[k] = end;
  }
  return true;
}

// ---- Homogeneous sums -----------------------------------------------------
// The z a surface sums: a 2-D marker counts as 0.
inline double surface_z(double z) { return z_valid(z) ? z : 0.0; }

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
// have been checked. fit is false, and the tables unset, when a span's
// knots do not allow the divisions (span_fit): the caller reports error 11.
struct SurfaceBasis {
  int32_t span_u = 0, span_v = 0;
  bool fit = false;
  DerRows Du, Dv;

  SurfaceBasis(const KNOTVECTOR *knu, int p, const KNOTVECTOR *knv, int q, double u, double v,
               int side_u, int side_v, int k, int l) {
    const DirectionArgs d[2] = {{knu->U, knu->m, p, u, side_u}, {knv->U, knv->m, q, v, side_v}};
    int32_t span[2];
    find_span_pair(d, span);
    span_u = span[0];
    span_v = span[1];
    fit = span_fit(knu->U, p, span_u) && span_fit(knv->U, q, span_v);
    if (!fit) return;
    basis_derivatives(knu->U, p, u, span_u, k, Du);
    basis_derivatives(knv->U, q, v, span_v, l, Dv);
  }
};

// A[a][b] = sum over the span of Du[a][i] Dv[b][j] Pw[i][j] in homogeneous
// coordinates (w = 1 for a non-rational surface), for the pairs of shape.
// Returns false when a rational span holds a non-rational point.
template <bool kRational>
inline bool homogeneous_derivatives(const SURFACE *sur, const SurfaceBasis &B,
                                    const DerShape &shape, CPOINT (*A)[kMaxDerOrder + 1]) {
  const int p = sur->p, q = sur->q;
  CPOINT *const *rows = sur->net->Pw + (B.span_u - p);
  const int32_t col = B.span_v - q;
  // Row sums T[b][i] = sum over j of Dv[b][j] Pw[i][j], then the u sums.
  CPOINT T[kMaxDerOrder + 1][kBasisSize];
  bool mixed = false;
  for (int i = 0; i <= p; ++i) {
    const CPOINT *r = rows[i] + col;
    for (int b = 0; b <= shape.l; ++b) {
      CPOINT t = kZeroCpoint;
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
      CPOINT s = kZeroCpoint;
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
inline void rational_quotient(const CPOINT (*A)[kMaxDerOrder + 1], const DerShape &shape,
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

// ---- First derivatives -----------------------------------------------------
// Basis values (row 0) and first derivatives (row 1) of both directions at
// their spans: the operations of basis_derivatives for order 1. kDeg >= 0
// fixes both degrees at compile time and runs the triangle of
// basis_triangle for both directions at once, one packed operation serving
// both lanes (as basis_values_pair); kDeg < 0 takes one direction at a time.
template <int kDeg>
inline void basis_first_pair(const DirectionArgs (&d)[2], const int32_t (&span)[2], DerRows &Du,
                             DerRows &Dv) {
  if constexpr (kDeg <= 0) {
    basis_derivatives(d[0].U, d[0].p, d[0].t, span[0], 1, Du);
    basis_derivatives(d[1].U, d[1].p, d[1].t, span[1], 1, Dv);
  } else {
    constexpr int p = kDeg;
    const double *U = d[0].U, *V = d[1].U;
    const int32_t su = span[0], sv = span[1];
    const Pair t = {d[0].t, d[1].t}, one = {1.0, 1.0};
    // ndu[r][j], r <= j: values of degree j; ndu[j][r], r < j: reciprocal
    // knot differences (see basis_triangle).
    Pair ndu[p + 1][p + 1], left[p + 1], right[p + 1];
    ndu[0][0] = one;
    for (int j = 1; j <= p; ++j) {
      left[j] = t - knot_pair(U, V, su, sv, 1 - j);
      right[j] = knot_pair(U, V, su, sv, j) - t;
      Pair saved = {0.0, 0.0};
      for (int r = 0; r < j; ++r) {
        ndu[j][r] = one / (knot_pair(U, V, su, sv, r + 1) - knot_pair(U, V, su, sv, 1 - j + r));
        const Pair temp = ndu[r][j - 1] * ndu[j][r];
        ndu[r][j] = saved + right[r + 1] * temp;
        saved = left[j - r] * temp;
      }
      ndu[j][j] = saved;
    }
    const Pair deg = {double(p), double(p)};
    for (int r = 0; r <= p; ++r) {
      Pair der = r >= 1 ? ndu[p][r - 1] * ndu[r - 1][p - 1] : Pair{0.0, 0.0};
      if (r < p) der += -ndu[p][r] * ndu[r][p - 1];
      der *= deg;
      Du[0][r] = ndu[r][p][0];
      Dv[0][r] = ndu[r][p][1];
      Du[1][r] = der[0];
      Dv[1][r] = der[1];
    }
  }
}

// The point and its first partial derivatives, S = {S, Su, Sv}, at (u, v)
// (arguments checked): the computation of homogeneous_derivatives and
// rational_quotient for the pairs (0, 0), (1, 0) and (0, 1), in the same
// order, with the fields (x, y) and (z, w) summed as packed pairs. Errors
// as surface_derivatives reports them. kRational must be is_rational(sur);
// kDeg >= 0 fixes both degrees at compile time.
template <bool kRational, int kDeg>
inline int16_t surface_first_derivatives(const SURFACE *sur, const DirectionArgs (&d)[2],
                                         POINT (&S)[3]) {
  const char *tag = kRational ? "N_KNTASD" : "N_KNTABD";
  int32_t span[2];
  find_span_pair(d, span);
  if (!span_fit(d[0].U, d[0].p, span[0]) || !span_fit(d[1].U, d[1].p, span[1]))
    return fail(kErrFloat, tag);
  DerRows Du, Dv;
  basis_first_pair<kDeg>(d, span, Du, Dv);
  const int p = kDeg > 0 ? kDeg : sur->p, q = kDeg > 0 ? kDeg : sur->q;
  CPOINT *const *rows = sur->net->Pw + (span[0] - p);
  const int32_t col = span[1] - q;
  // Row sums t0 (values in v) and t1 (derivatives in v), then the u sums
  // A00, A10 (derivative in u) and A01; index 0 holds (x, y), 1 (z, w).
  Pair a00[2] = {}, a10[2] = {}, a01[2] = {};
  bool mixed = false;
  for (int i = 0; i <= p; ++i) {
    const CPOINT *r = rows[i] + col;
    Pair t0[2] = {}, t1[2] = {};
    for (int j = 0; j <= q; ++j) {
      const Pair xy = {r[j].x, r[j].y}, zw = {surface_z(r[j].z), kRational ? r[j].w : 0.0};
      t0[0] += Dv[0][j] * xy;
      t0[1] += Dv[0][j] * zw;
      t1[0] += Dv[1][j] * xy;
      t1[1] += Dv[1][j] * zw;
      if (kRational) mixed |= !w_valid(r[j].w);
    }
    for (int c = 0; c < 2; ++c) {
      a00[c] += Du[0][i] * t0[c];
      a10[c] += Du[1][i] * t0[c];
      a01[c] += Du[0][i] * t1[c];
    }
  }
  if (kRational && mixed) return fail(kErrSurfaceDef, tag);
  S[0] = POINT{a00[0][0], a00[0][1], a00[1][0]};
  S[1] = POINT{a10[0][0], a10[0][1], a10[1][0]};
  S[2] = POINT{a01[0][0], a01[0][1], a01[1][0]};
  if (kRational) {
    // Quotient rule: S = A / w, S' = (A' - w' S) / w.
    const double w0 = a00[1][1];
    if (w0 == 0.0) return fail(kErrFloat, tag);
    S[0] = POINT{S[0].x / w0, S[0].y / w0, S[0].z / w0};
    for (int k = 1; k <= 2; ++k) {
      const double c = (k == 1 ? a10 : a01)[1][1];
      S[k] =
          POINT{(S[k].x - c * S[0].x) / w0, (S[k].y - c * S[0].y) / w0, (S[k].z - c * S[0].z) / w0};
    }
  }
  if (!all_finite(&S[0].x, 9)) return fail(kErrFloat, "N_SURDER");
  return 0;
}

// Derivatives W[a][b], a = 0..k, b = 0..l, of the weight function at the
// parameters of B, from the weights of B's span of the net Pw; only the pairs
// that covers(a, b) accepts are formed. False when the span holds a
// non-rational point.
template <class Covers>
bool span_weight_derivatives(const SurfaceBasis &B, CPOINT *const *Pw, int p, int q, int k, int l,
                             Covers covers, double (*W)[kMaxDerOrder + 1]) {
  CPOINT *const *rows = Pw + (B.span_u - p);
  const int32_t col = B.span_v - q;
  for (int i = 0; i <= p; ++i)
    for (int j = 0; j <= q; ++j)
      if (!w_valid(rows[i][col + j].w)) return false;
  for (int a = 0; a <= k; ++a)
    for (int b = 0; b <= l; ++b) {
      if (!covers(a, b)) continue;
      double s = 0.0;
      for (int i = 0; i <= p; ++i) {
        double t = 0.0;
        for (int j = 0; j <= q; ++j) t += B.Dv[b][j] * rows[i][col + j].w;
        s += B.Du[a][i] * t;
      }
      W[a][b] = s;
    }
  return true;
}

}  // namespace orvo::detail
