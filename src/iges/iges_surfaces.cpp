// IGES surface entities turned into NURBS surfaces: plane (108), parametric
// spline surface (114), ruled surface (118), surface of revolution (120),
// tabulated cylinder (122) and rational B-spline surface (128); with the
// cut of a surface to a parameter rectangle and its knot normalisation.
//
// As for the curve entities, the data are untrusted: counts and degrees are
// checked against each other before the tables are read, every number must
// be finite, a result whose z values are all zero is made 2-D and a
// non-rational result carries the weight marker.
#include <algorithm>
#include <climits>
#include <cmath>

#include "arith/vector_ops.hpp"
#include "eval/kernels.hpp"
#include "iges/iges_common.hpp"

using namespace orvo::detail;

namespace {

// Knot normalisation of direction dir of s, in place.
int16_t normalise_surface(SURFACE *s, int dir, const char *tag) {
  const SurfaceAxis ax = surface_axis(s, dir);
  return normalise_direction(ax.knt, ax.p, net_lines(s->net->Pw, dir, s->net->n, s->net->m),
                             dir == 1 ? s->net->n : s->net->m, tag);
}

// A surface whose knots the checks can work on: the refinement tools'
// checks and finite knots (error 4).
int16_t check_knot_surface(const SURFACE *s, const char *tag) {
  if (check_refine_surface(s, tag)) return 1;
  return finite_values(s->knu->U, s->knu->m) && finite_values(s->knv->U, s->knv->m)
             ? 0
             : fail(kErrKnots, tag);
}

// A construction's result with the 2-D marker when all its z are zero.
int16_t planar_if_flat(int16_t status, SURFACE *surf) {
  if (status == 0) mark_planar(surf);
  return status;
}

// Knots of a piecewise Bezier direction over the break points T[0..N] of
// degree p: T[0] p+1 times, each interior break point p times, T[N] p+1
// times.
void break_point_knots(const double *T, int32_t N, int p, double *U) {
  U[0] = T[0];
  for (int32_t i = 0; i <= N; ++i)
    for (int k = 0; k < p; ++k) U[1 + i * p + k] = T[i];
  U[(N + 1) * p + 1] = T[N];
}

}  // namespace

extern "C" {

// ---- Cut and knot normalisation -----------------------------------------------
int16_t N_igsscp(SURFACE *sur, const double *U, const double *V, STACKS *ws) {
  const char *tag = "N_IGSSCP";
  if (!U || !V || !ws) return fail(kErrInconsistent, tag);
  if (check_refine_surface(sur, tag)) return 1;
  if (!knots_fit_range(sur->knu->U, sur->knu->m, sur->p, U[0], U[1]) ||
      !knots_fit_range(sur->knv->U, sur->knv->m, sur->q, V[0], V[1]))
    return fail(kErrKnots, tag);
  // Knots that already run from the range's ends in both directions are
  // left alone; otherwise the piece (a copy along a direction that needs
  // no cut) replaces the surface.
  if (clamped_to(sur->knu->U, sur->knu->m, sur->p, U[0], U[1]) &&
      clamped_to(sur->knv->U, sur->knv->m, sur->q, V[0], V[1]))
    return 0;
  return segment_surface(sur, U[0], U[1], V[0], V[1], sur, ws, ws, tag);
}

int16_t N_igsssk(SURFACE *sur, STACKS *) {
  const char *tag = "N_IGSSSK";
  if (check_knot_surface(sur, tag)) return 1;
  return normalise_surface(sur, 1, tag) || normalise_surface(sur, 2, tag);
}

// ---- 108: plane ---------------------------------------------------------------
int16_t N_igs108(double A, double B, double C, double D, BOX box, SURFACE *surf, STACKS *ws) {
  const char *tag = "N_IGS108";
  const double coef[4] = {A, B, C, D};
  const double corners[6] = {box.xmin, box.xmax, box.ymin, box.ymax, box.zmin, box.zmax};
  if (!finite_values(coef, 3) || !finite_values(corners, 5)) return fail(kErrInconsistent, tag);
  const VECTOR N{A, B, C};
  const double nn = dot3(N, N);
  VECTOR unit;
  if (!(nn > 0.0) || !std::isfinite(nn) || !unit3(N, unit)) return fail(kErrFloat, tag);
  // The eight corners projected onto the plane, their centroid, and the
  // projected corner farthest from it.
  POINT F[8];
  POINT c{0.0, 0.0, 0.0};
  for (int k = 0; k < 8; ++k) {
    const POINT X{corners[k & 1], corners[2 + ((k >> 1) & 1)], corners[4 + ((k >> 2) & 1)]};
    const double t = (dot3(N, X) - D) / nn;
    F[k] = sub3<POINT>(X, scale3(t, N));
    if (!std::isfinite(t) || !finite_point(F[k])) return fail(kErrFloat, tag);
    c = add3<POINT>(c, scale3(0.125, F[k]));
  }
  VECTOR W{0.0, 0.0, 0.0};
  for (const POINT &f : F)
    if (magnitude3(sub3(f, c)) > magnitude3(W)) W = sub3(f, c);
  // A box that projects to a single point covers no area.
  if (!(magnitude3(W) > 0.0)) return fail(kErrInconsistent, tag);
  const VECTOR Uv = scale3(1.02, W), Vv = scale3(1.02, cross3(unit, W));
  const POINT P[2][2] = {
      {combine3<POINT>(1.0, c, -1.0, add3(Uv, Vv)), add3<POINT>(c, sub3(Vv, Uv))},
      {add3<POINT>(c, sub3(Uv, Vv)), add3<POINT>(c, add3(Uv, Vv))}};
  return planar_if_flat(N_cmsbil(P[0][0], P[1][0], P[0][1], P[1][1], surf, ws), surf);
}

// ---- 114: parametric spline surface -------------------------------------------
int16_t N_igs114(int32_t M, int32_t N, const double *TU, const double *TV,
                 double *const *const *coef, SURFACE *surf, STACKS *ws) {
  const char *tag = "N_IGS114";
  if (!TU || !TV || !coef || !surf || M < 1 || N < 1) return fail(kErrInconsistent, tag);
  if (!finite_values(TU, M) || !finite_values(TV, N)) return fail(kErrInconsistent, tag);
  for (int32_t i = 0; i < M; ++i)
    if (!(TU[i] < TU[i + 1])) return fail(kErrSurfaceDef, tag);
  for (int32_t j = 0; j < N; ++j)
    if (!(TV[j] < TV[j + 1])) return fail(kErrSurfaceDef, tag);
  // Degrees: the highest powers of s (index l) and t (index k) with a
  // non-zero coefficient, each at least 1. a[k][l] is at 4 k + l.
  int p = 1, q = 1;
  for (int32_t i = 0; i < M; ++i) {
    if (!coef[i]) return fail(kErrInconsistent, tag);
    for (int32_t j = 0; j < N; ++j) {
      const double *a = coef[i][j];
      if (!a || !finite_values(a, 47)) return fail(kErrInconsistent, tag);
      for (int e = 0; e < 48; ++e)
        if (a[e] != 0.0) {
          p = std::max(p, e % 4);
          q = std::max(q, (e % 16) / 4);
        }
    }
  }
  const int64_t ru = (static_cast<int64_t>(M) + 1) * p + 1,
                rv = (static_cast<int64_t>(N) + 1) * q + 1;
  if (ru > INT32_MAX || rv > INT32_MAX) return fail(kErrInconsistent, tag);
  const int32_t n = M * p, m = N * q;

  LocalStacks local;
  RMATRIX Bp, Bq;  // power coefficients on [0, 1] -> Bezier points
  M_inirma(&Bp);
  M_inirma(&Bq);
  SURFACE full;
  U_inisur(&full);
  if (B_ipomat(static_cast<int16_t>(p), &Bp, local) ||
      B_ipomat(static_cast<int16_t>(q), &Bq, local) ||
      U_getsur(&full, n, m, static_cast<int16_t>(p), static_cast<int16_t>(q),
               static_cast<int32_t>(ru), static_cast<int32_t>(rv), local))
    return 1;
  for (int32_t i = 0; i < M; ++i)
    for (int32_t j = 0; j < N; ++j) {
      const double du = TU[i + 1] - TU[i], dv = TV[j + 1] - TV[j];
      // Block of coordinate c on the unit square: a[k][l] du^l dv^k; then
      // P[a][b] = sum over l, k of Bp[a][l] Bq[b][k] block[k][l].
      double block[3][4][4];
      for (int c = 0; c < 3; ++c)
        for (int k = 0; k <= q; ++k)
          for (int l = 0; l <= p; ++l)
            block[c][k][l] = coef[i][j][16 * c + 4 * k + l] * std::pow(du, l) * std::pow(dv, k);
      for (int a = 0; a <= p; ++a)
        for (int b = 0; b <= q; ++b) {
          double v[3] = {0.0, 0.0, 0.0};
          for (int c = 0; c < 3; ++c)
            for (int l = 0; l <= a; ++l)
              for (int k = 0; k <= b; ++k) v[c] += Bp.a[a][l] * Bq.a[b][k] * block[c][k][l];
          full.net->Pw[i * p + a][j * q + b] = CPOINT{v[0], v[1], v[2], kWNR};
        }
    }
  // Powers of long segments may overflow.
  for (int32_t i = 0; i <= n; ++i)
    if (!finite_points(full.net->Pw[i], m)) return fail(kErrFloat, tag);
  break_point_knots(TU, M, p, full.knu->U);
  break_point_knots(TV, N, q, full.knv->U);
  mark_planar(&full);
  return U_surcop(&full, surf, ws);
}

// ---- 118: ruled surface ---------------------------------------------------------
int16_t N_igs118(const CURVE *curve1, const CURVE *curve2, SURFACE *surf, STACKS *ws) {
  return planar_if_flat(N_cmsrls(curve1, curve2, 2, surf, ws), surf);
}

// ---- 120: surface of revolution -------------------------------------------------
int16_t N_igs120(POINT L1, POINT L2, const CURVE *generatrix, double SA, double TA, SURFACE *surf,
                 STACKS *ws) {
  const char *tag = "N_IGS120";
  const double sweep = TA - SA;
  if (!(sweep > 0.0) || !std::isfinite(SA)) return fail(kErrInconsistent, tag);
  const VECTOR axis = sub3(L2, L1);
  if (SA == 0.0) return planar_if_flat(N_cmsrev(generatrix, L1, axis, sweep, 2, surf, ws), surf);
  // The revolution starts SA degrees round: a turned copy of the generatrix.
  LocalStacks local;
  CURVE turned;
  U_inicur(&turned);
  if (check_curve(generatrix, tag) || U_curcop(generatrix, &turned, local)) return 1;
  if (N_currot(&turned, L1, axis, SA)) return 1;
  return planar_if_flat(N_cmsrev(&turned, L1, axis, sweep, 2, surf, ws), surf);
}

// ---- 122: tabulated cylinder ----------------------------------------------------
int16_t N_igs122(const CURVE *directrix, POINT end, SURFACE *surf, STACKS *ws) {
  const char *tag = "N_IGS122";
  if (check_curve(directrix, tag)) return 1;
  if (!finite_point(end)) return fail(kErrInconsistent, tag);
  POINT start;
  if (N_curevn(directrix, directrix->knt->U[directrix->p], 1, &start)) return 1;
  const VECTOR d = sub3(end, start);
  return planar_if_flat(N_cmsgcl(directrix, d, magnitude3(d), 2, surf, ws), surf);
}

// ---- 128: rational B-spline surface ---------------------------------------------
int16_t N_igs128(int32_t K1, int32_t K2, int16_t M1, int16_t M2, const double *S, const double *T,
                 double *const *W, POINT *const *P, const double *U, const double *V, SURFACE *surf,
                 STACKS *ws) {
  const char *tag = "N_IGS128";
  if (!S || !T || !W || !P || !U || !V || !surf) return fail(kErrInconsistent, tag);
  if (M1 < 1 || M1 > MAXDEGREE || M2 < 1 || M2 > MAXDEGREE) return fail(kErrDegree, tag);
  if (K1 < 0 || K1 > INT32_MAX - M1 - 1 || K2 < 0 || K2 > INT32_MAX - M2 - 1)
    return fail(kErrInconsistent, tag);
  for (int32_t i = 0; i <= K1; ++i) {
    if (!W[i] || !P[i]) return fail(kErrInconsistent, tag);
    for (int32_t j = 0; j <= K2; ++j)
      if (!weight_in_range(W[i][j])) return fail(kErrWeight, tag);
  }
  // Also refuses K < M: the range cannot lie inside the valid knots.
  if (N_igsvkb(S, K1 + M1 + 1, M1, U) || N_igsvkb(T, K2 + M2 + 1, M2, V)) return 1;
  bool rational = false;
  for (int32_t i = 0; i <= K1; ++i)
    for (int32_t j = 0; j <= K2; ++j) {
      if (!finite_point(P[i][j])) return fail(kErrInconsistent, tag);
      rational = rational || W[i][j] != W[0][0];
    }

  LocalStacks local;
  SURFACE full;
  U_inisur(&full);
  if (U_getsur(&full, K1, K2, M1, M2, K1 + M1 + 1, K2 + M2 + 1, local)) return 1;
  for (int32_t i = 0; i <= K1; ++i)
    for (int32_t j = 0; j <= K2; ++j)
      full.net->Pw[i][j] = weighted(P[i][j], rational ? W[i][j] : kWNR);
  std::copy(S, S + K1 + M1 + 2, full.knu->U);
  std::copy(T, T + K2 + M2 + 2, full.knv->U);
  mark_planar(&full);
  if (segment_surface(&full, U[0], U[1], V[0], V[1], surf, local, ws, tag)) return 1;
  return N_igsssk(surf, ws);
}

}  // extern "C"
