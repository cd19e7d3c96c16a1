// Helpers shared by the whole-record operations on curves and surfaces:
// record checks and visits of every control point, written once for both
// record kinds.
#pragma once

#include "arith/point_ops.hpp"
#include "core/internal.hpp"

namespace orvo::detail {

// ---- Records with control points ------------------------------------------
// A curve or surface whose control points can be visited: the parts exist
// and the highest indices are not negative. Error 1 (curve) or 2 (surface)
// under tag otherwise.
inline int16_t check_points(const CURVE *cur, const char *tag) {
  if (!cur || !cur->pol || !cur->pol->Pw || cur->pol->n < 0) return fail(kErrCurveDef, tag);
  return 0;
}

inline int16_t check_points(const SURFACE *sur, const char *tag) {
  if (!sur || !sur->net || !sur->net->Pw || sur->net->n < 0 || sur->net->m < 0)
    return fail(kErrSurfaceDef, tag);
  for (int32_t i = 0; i <= sur->net->n; ++i)
    if (!sur->net->Pw[i]) return fail(kErrSurfaceDef, tag);
  return 0;
}

// f(Pw[i]) for every control point, a surface row by row. f returns false
// to stop the visit; the result tells whether every point was visited.
template <class F>
inline bool visit_points(const CURVE *cur, F &&f) {
  for (int32_t i = 0; i <= cur->pol->n; ++i)
    if (!f(cur->pol->Pw[i])) return false;
  return true;
}

template <class F>
inline bool visit_points(const SURFACE *sur, F &&f) {
  for (int32_t i = 0; i <= sur->net->n; ++i)
    for (int32_t j = 0; j <= sur->net->m; ++j)
      if (!f(sur->net->Pw[i][j])) return false;
  return true;
}

// The kind of geometry of a record is read from its first control point.
inline const CPOINT &first_point(const CURVE *cur) { return cur->pol->Pw[0]; }
inline const CPOINT &first_point(const SURFACE *sur) { return sur->net->Pw[0][0]; }

// ---- Consistent records -----------------------------------------------------
// A knot vector of highest index m for n+1 coefficients of degree p: the
// parts exist, m = n + p + 1, p is 0..MAXDEGREE and n >= p. Error code
// `def` (1 for curves, 2 for surfaces), 3 for the degree, 14 for n < p.
inline int16_t check_knot_direction(const KNOTVECTOR *knt, int32_t n, int p, int32_t def,
                                    const char *tag) {
  if (!knt || !knt->U) return fail(def, tag);
  if (p > MAXDEGREE) return fail(kErrDegree, tag);
  if (p < 0 || static_cast<int64_t>(knt->m) != static_cast<int64_t>(n) + p + 1)
    return fail(def, tag);
  if (n < p) return fail(kErrInconsistent, tag);
  return 0;
}

inline int16_t check_record(const CURVE *cur, const char *tag) {
  if (check_points(cur, tag)) return 1;
  return check_knot_direction(cur->knt, cur->pol->n, cur->p, kErrCurveDef, tag);
}

inline int16_t check_record(const SURFACE *sur, const char *tag) {
  if (check_points(sur, tag)) return 1;
  return check_knot_direction(sur->knu, sur->net->n, sur->p, kErrSurfaceDef, tag) ||
         check_knot_direction(sur->knv, sur->net->m, sur->q, kErrSurfaceDef, tag);
}

// The surface point over the parameter-plane point of uvcur at t (clamped
// into the domain); uv, when given, receives that parameter point.
inline int16_t surface_over_curve(const SURFACE *sur, const CURVE *uvcur, double t, POINT *S,
                                  POINT *uv = nullptr) {
  POINT c;
  if (N_curevn(uvcur, t, 1, &c)) return 1;
  double u = c.x, v = c.y;
  U_surpcl(sur, &u, &v);
  if (uv) *uv = POINT{c.x, c.y, 0.0};
  return N_surevn(sur, u, v, 1, 1, S);
}

}  // namespace orvo::detail
