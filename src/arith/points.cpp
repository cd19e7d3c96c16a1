// Arithmetic on single points and weighted control points. The POINT forms
// are plain 3-D arithmetic; the CPOINT forms carry the 2-D marker in z and
// the non-rational marker in w through every result, so that a marker never
// enters a sum or product. Inputs come by value, so a result pointer may
// name one of the inputs.
#include <cmath>

#include "arith/point_ops.hpp"
#include "arith/vector_ops.hpp"

using namespace orvo::detail;

namespace {

template <class T>
void put(T *out, T value) {
  if (out) *out = value;
}

// Whether every z (every w) of a blend is free of the marker.
template <class... Z>
bool all_z_valid(Z... z) {
  return (z_valid(z) && ...);
}
template <class... W>
bool all_w_valid(W... w) {
  return (w_valid(w) && ...);
}

}  // namespace

extern "C" {

// ---- Construction, copy and extraction ------------------------------------
void A_getpoi(double x, double y, double z, POINT *P) { *P = POINT{x, y, z}; }
void A_getcpt(double x, double y, double z, double w, CPOINT *Q) { *Q = CPOINT{x, y, z, w}; }
void A_poicpt(POINT P, CPOINT *Q) { *Q = CPOINT{P.x, P.y, P.z, kWNR}; }
void A_initpo(POINT P, POINT *R) { *R = P; }
void A_initcp(CPOINT Q, CPOINT *R) { *R = Q; }

void A_extpoc(POINT P, double *x, double *y, double *z) {
  put(x, P.x);
  put(y, P.y);
  put(z, P.z);
}

void A_extcpc(CPOINT Q, double *x, double *y, double *z, double *w) {
  put(x, Q.x);
  put(y, Q.y);
  put(z, Q.z);
  put(w, Q.w);
}

void A_extwei(CPOINT Q, double *w) { *w = Q.w; }
void A_setcpx(double value, CPOINT *Q) { Q->x = value; }
void A_setcpy(double value, CPOINT *Q) { Q->y = value; }
void A_setcpz(double value, CPOINT *Q) { Q->z = value; }
void A_setcpw(double value, CPOINT *Q) { Q->w = value; }

void A_weight(POINT P, double w, CPOINT *Q) { *Q = weighted(P, w); }
void A_euclid(CPOINT Q, POINT *P) { *P = euclid(Q); }

void A_mapcpt(CPOINT Q, POINT *P, double *w) {
  *P = euclid(Q);
  *w = Q.w;
}

// ---- POINT arithmetic -----------------------------------------------------
void A_sumpoi(POINT P1, POINT P2, POINT *R) { *R = add3<POINT>(P1, P2); }
void A_difpoi(POINT P1, POINT P2, POINT *R) { *R = sub3<POINT>(P1, P2); }
void A_scapoi(double a, POINT P, POINT *R) { *R = scale3<POINT>(a, P); }
void A_updpoi(double a, POINT P, POINT *R) { *R = combine3<POINT>(1.0, *R, a, P); }

void A_compoi(double a, POINT P1, double b, POINT P2, POINT *R) {
  *R = combine3<POINT>(a, P1, b, P2);
}

void A_vcopoi(VECTOR A, POINT P1, VECTOR B, POINT P2, POINT *R) {
  *R = POINT{A.x * P1.x + B.x * P2.x, A.y * P1.y + B.y * P2.y, A.z * P1.z + B.z * P2.z};
}

void A_bilpoi(double a, POINT P1, double b, POINT P2, double c, POINT P3, double d, POINT P4,
              POINT *R) {
  *R = POINT{a * P1.x + b * P2.x + c * P3.x + d * P4.x, a * P1.y + b * P2.y + c * P3.y + d * P4.y,
             a * P1.z + b * P2.z + c * P3.z + d * P4.z};
}

void A_cirpoi(POINT C, double a, POINT X, double b, POINT Y, POINT *R) {
  *R = POINT{C.x + a * X.x + b * Y.x, C.y + a * X.y + b * Y.y, C.z + a * X.z + b * Y.z};
}

void A_dotpoi(POINT P1, POINT P2, double *s) { *s = dot3(P1, P2); }
void A_magpoi(POINT P, double *s) { *s = std::sqrt(dot3(P, P)); }

// ---- CPOINT arithmetic ----------------------------------------------------
void A_sumcpt(CPOINT Q1, CPOINT Q2, CPOINT *R) { *R = sum(Q1, Q2); }
void A_difcpt(CPOINT Q1, CPOINT Q2, CPOINT *R) { *R = difference(Q1, Q2); }

void A_sumpcp(CPOINT Q, POINT P, CPOINT *R) {
  *R = CPOINT{Q.x + P.x, Q.y + P.y, z_valid(Q.z) ? Q.z + P.z : kZ2D, Q.w};
}

void A_difpcp(CPOINT Q, POINT P, CPOINT *R) {
  *R = CPOINT{Q.x - P.x, Q.y - P.y, z_valid(Q.z) ? Q.z - P.z : kZ2D, Q.w};
}

void A_scacpt(double a, CPOINT Q, CPOINT *R) { *R = scale(a, Q); }

void A_scacpo(double a, CPOINT Q, CPOINT *R) {
  *R = CPOINT{a * Q.x, a * Q.y, z_valid(Q.z) ? a * Q.z : kZ2D, Q.w};
}

void A_updcpt(double a, CPOINT Q, CPOINT *R) { accumulate(*R, a, Q); }

void A_comcpt(double a, CPOINT Q1, double b, CPOINT Q2, CPOINT *R) { *R = combine(a, Q1, b, Q2); }

// Per-axis factors; the weight is that of Q1 and is not combined.
void A_vcocpt(VECTOR A, CPOINT Q1, VECTOR B, CPOINT Q2, CPOINT *R) {
  *R = CPOINT{A.x * Q1.x + B.x * Q2.x, A.y * Q1.y + B.y * Q2.y, combine_z(A.z, Q1.z, B.z, Q2.z),
              all_w_valid(Q1.w, Q2.w) ? Q1.w : kWNR};
}

// Bilinear blend of four points: z and w need all four points valid.
void A_bilcpt(double a, CPOINT Q1, double b, CPOINT Q2, double c, CPOINT Q3, double d, CPOINT Q4,
              CPOINT *R) {
  const auto blend = [&](double CPOINT::*f) {
    return a * (Q1.*f) + b * (Q2.*f) + c * (Q3.*f) + d * (Q4.*f);
  };
  *R = CPOINT{blend(&CPOINT::x), blend(&CPOINT::y),
              all_z_valid(Q1.z, Q2.z, Q3.z, Q4.z) ? blend(&CPOINT::z) : kZ2D,
              all_w_valid(Q1.w, Q2.w, Q3.w, Q4.w) ? blend(&CPOINT::w) : kWNR};
}

// Point of a circle C + a X + b Y: z and w need all three points valid.
void A_circpt(CPOINT C, double a, CPOINT X, double b, CPOINT Y, CPOINT *R) {
  const auto blend = [&](double CPOINT::*f) { return C.*f + a * (X.*f) + b * (Y.*f); };
  *R = CPOINT{blend(&CPOINT::x), blend(&CPOINT::y),
              all_z_valid(C.z, X.z, Y.z) ? blend(&CPOINT::z) : kZ2D,
              all_w_valid(C.w, X.w, Y.w) ? blend(&CPOINT::w) : kWNR};
}

// Cross product of the stored coordinates, a 2-D z counting as 0; the
// result is always 3-D. Its weight is the product of the weights, a marker
// weight counting as 1, unless neither point is rational.
void A_crocpo(CPOINT Q1, CPOINT Q2, CPOINT *R) {
  const VECTOR a{Q1.x, Q1.y, z_valid(Q1.z) ? Q1.z : 0.0};
  const VECTOR b{Q2.x, Q2.y, z_valid(Q2.z) ? Q2.z : 0.0};
  const VECTOR c = cross3(a, b);
  const double w = (w_valid(Q1.w) || w_valid(Q2.w)) ? weight_or_one(Q1) * weight_or_one(Q2) : kWNR;
  *R = CPOINT{c.x, c.y, c.z, w};
}

// Scaling about the centre C by per-axis factors S, in homogeneous form.
void A_sclcpt(CPOINT Q, POINT C, VECTOR S, CPOINT *R) {
  const double W = weight_or_one(Q);
  *R = CPOINT{S.x * Q.x + (1.0 - S.x) * (W * C.x), S.y * Q.y + (1.0 - S.y) * (W * C.y),
              z_valid(Q.z) ? S.z * Q.z + (1.0 - S.z) * (W * C.z) : kZ2D, Q.w};
}

// Translation by T in homogeneous form: (x/w + T.x) w, taken as x + T.x w so
// that no weight is divided by (a zero weight leaves the point in place).
void A_trlcpt(CPOINT Q, VECTOR T, CPOINT *R) {
  const double W = weight_or_one(Q);
  *R = CPOINT{Q.x + T.x * W, Q.y + T.y * W, z_valid(Q.z) ? Q.z + T.z * W : kZ2D, Q.w};
}

// ---- Scalars from CPOINTs -------------------------------------------------
void A_dotcpt(CPOINT Q1, CPOINT Q2, double *s) { *s = dot(Q1, Q2); }

void A_dotcpo(CPOINT Q1, CPOINT Q2, double *s, double *w) {
  double d = Q1.x * Q2.x + Q1.y * Q2.y;
  if (all_z_valid(Q1.z, Q2.z)) d += Q1.z * Q2.z;
  const bool w1 = w_valid(Q1.w), w2 = w_valid(Q2.w);
  *s = d;
  *w = (w1 && w2) ? Q1.w * Q2.w : (w1 ? Q1.w : Q2.w);
}

void A_magcpt(CPOINT Q, double *s) { *s = std::sqrt(dot(Q, Q)); }

// ---- Homogeneous derivative -------------------------------------------------
// R = (P s + D W, s) with P the Euclidean point of Q and W its weight; a
// non-rational Q counts with weight 1 so that the marker never multiplies.
void A_ratder(CPOINT Q, VECTOR D, double s, CPOINT *R) {
  const POINT P = euclid(Q);
  const double W = weight_or_one(Q);
  *R = CPOINT{P.x * s + D.x * W, P.y * s + D.y * W, z_valid(Q.z) ? P.z * s + D.z * W : kZ2D, s};
}

}  // extern "C"
