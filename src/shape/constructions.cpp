// Small constructions and frames: a straight line as a curve, a curve on
// given control points with uniform knots, the Frenet frame of a curve and
// the point of a surface along a curve in its parameter plane.
#include <cstdint>

#include "arith/vector_ops.hpp"
#include "shape/shape_ops.hpp"

using namespace orvo::detail;

extern "C" {

int16_t N_curlin(POINT P, VECTOR D, CURVE *cur, STACKS *ws) {
  const char *tag = "N_CURLIN";
  if (!cur) return fail(kErrCurveDef, tag);
  if (U_curchk(cur, 1, 1, 3, tag, ws)) return 1;
  const POINT Q = add3<POINT>(P, D);
  cur->pol->Pw[0] = CPOINT{P.x, P.y, P.z, kWNR};
  cur->pol->Pw[1] = CPOINT{Q.x, Q.y, Q.z, kWNR};
  double *U = cur->knt->U;
  U[0] = U[1] = 0.0;
  U[2] = U[3] = 1.0;
  return 0;
}

int16_t N_curpoi(const POINT *points, int32_t n, int16_t p, CURVE *cur, STACKS *ws) {
  const char *tag = "N_CURPOI";
  if (!cur) return fail(kErrCurveDef, tag);
  // The knot vector's highest index n + p + 1 must itself be an index.
  if (!points || p < 0 || p > n || p > MAXDEGREE || n > INT32_MAX - p - 1)
    return fail(kErrInconsistent, tag);
  if (U_curchk(cur, n, p, n + p + 1, tag, ws)) return 1;
  for (int32_t i = 0; i <= n; ++i) A_poicpt(points[i], &cur->pol->Pw[i]);
  // Clamped, with the n-p interior knots spaced evenly over (0, 1).
  double *U = cur->knt->U;
  for (int32_t i = 0; i <= p; ++i) {
    U[i] = 0.0;
    U[n + 1 + i] = 1.0;
  }
  for (int32_t i = 1; i <= n - p; ++i) U[p + i] = static_cast<double>(i) / (n - p + 1);
  return 0;
}

int16_t N_curfre(const CURVE *cur, double u, int16_t side, POINT *P, VECTOR *T, VECTOR *N,
                 VECTOR *B) {
  const char *tag = "N_CURFRE";
  if (!cur) return fail(kErrCurveDef, tag);
  if (cur->p < 2) return fail(kErrDegree, tag);
  POINT CK[3];
  if (N_curder(cur, u, side, 2, CK)) return 1;
  const VECTOR d1{CK[1].x, CK[1].y, CK[1].z}, d2{CK[2].x, CK[2].y, CK[2].z};
  VECTOR t, b;
  if (G_vecnor(d1, &t) || G_vecnor(cross3(d1, d2), &b)) return 1;
  *P = CK[0];
  *T = t;
  *B = b;
  *N = cross3(b, t);
  return 0;
}

int16_t N_suresc(const SURFACE *sur, const CURVE *uvcur, double t, POINT *P) {
  if (check_record(sur, "N_SURESC")) return 1;
  return surface_over_curve(sur, uvcur, t, P);
}

}  // extern "C"
