// Plain 3-D vector arithmetic on VECTOR records. The routines whose
// operation is followed by 'p' take pointers and may work in place; every
// result is formed before it is stored, so outputs may alias inputs.
#include <algorithm>
#include <cmath>

#include "arith/point_ops.hpp"
#include "arith/vector_ops.hpp"

using namespace orvo::detail;

extern "C" {

void G_vecmak(double x, double y, double z, VECTOR *V) { *V = VECTOR{x, y, z}; }
void G_veccop(VECTOR A, VECTOR *V) { *V = A; }
void G_vecsum(VECTOR A, VECTOR B, VECTOR *V) { *V = add3(A, B); }
void G_vecdif(VECTOR A, VECTOR B, VECTOR *V) { *V = sub3(A, B); }
void G_vecdir(VECTOR A, VECTOR B, VECTOR *V) { *V = sub3(B, A); }
void G_vecdcp(CPOINT Q1, CPOINT Q2, VECTOR *V) { *V = sub3(euclid(Q1), euclid(Q2)); }
void G_vecsca(VECTOR A, double s, VECTOR *V) { *V = scale3(s, A); }
void G_vecscp(const VECTOR *A, double s, VECTOR *V) { *V = scale3(s, *A); }
void G_veccmb(double a, VECTOR A, double b, VECTOR B, VECTOR *V) { *V = combine3(a, A, b, B); }
void G_vecpfv(POINT P, double t, VECTOR D, POINT *V) { *V = combine3<POINT>(1.0, P, t, D); }
void G_vecrev(VECTOR A, VECTOR *V) { *V = VECTOR{-A.x, -A.y, -A.z}; }
void G_vecrvp(VECTOR *A) { *A = VECTOR{-A->x, -A->y, -A->z}; }
void G_vecdot(VECTOR A, VECTOR B, double *s) { *s = dot3(A, B); }
void G_vecdop(const VECTOR *A, const VECTOR *B, double *s) { *s = dot3(*A, *B); }
void G_vecmag(VECTOR A, double *s) { *s = magnitude3(A); }
void G_vecmap(const VECTOR *A, double *s) { *s = magnitude3(*A); }
void G_veccro(VECTOR A, VECTOR B, VECTOR *V) { *V = cross3(A, B); }
void G_veccrp(const VECTOR *A, const VECTOR *B, VECTOR *V) { *V = cross3(*A, *B); }
void G_vecmix(VECTOR A, VECTOR B, VECTOR C, double *s) { *s = dot3(cross3(A, B), C); }
void G_vecper(VECTOR A, VECTOR *V) { *V = VECTOR{-A.y, A.x, 0.0}; }

// Unit vector; error 17 when A has no length to divide by.
int16_t G_vecnor(VECTOR A, VECTOR *V) {
  VECTOR u;
  if (!unit3(A, u)) return fail(kErrZeroVector, "G_VECNOR");
  *V = u;
  return 0;
}

int16_t G_vecnip(VECTOR *A) {
  VECTOR u;
  if (!unit3(*A, u)) return fail(kErrZeroVector, "G_VECNIP");
  *A = u;
  return 0;
}

// Cosine of the angle between A and B, from the unit vectors so that
// neither very long nor very short vectors overflow or vanish; clamped to
// [-1, 1] against rounding.
int16_t G_veccos(VECTOR A, VECTOR B, double *c) {
  VECTOR a, b;
  if (!unit3(A, a) || !unit3(B, b)) return fail(kErrZeroVector, "G_VECCOS");
  *c = std::clamp(dot3(a, b), -1.0, 1.0);
  return 0;
}

}  // extern "C"
