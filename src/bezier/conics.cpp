// The two conic-arc routines of the conic constructions: the middle control
// point and weight of a rational quadratic arc given its ends, end tangents
// and one more point, and the split of such an arc at its shoulder.
//
// A rational quadratic arc with end weights 1 and middle weight w is
// C(u) = ((1-u)^2 P0 + 2u(1-u) w P1 + u^2 P2) / ((1-u)^2 + 2u(1-u) w + u^2).
// The line from P1 through C(u) meets the chord P0 P2 at the parameter
// s = u^2 / ((1-u)^2 + u^2) of the chord, which gives u back from s.
#include <cmath>

#include "arith/vector_ops.hpp"
#include "bezier/bezier_ops.hpp"
#include "geom/geom_ops.hpp"

using namespace orvo::detail;

namespace {

enum class Meet { kYes, kParallel, kNone, kOverflow };

// Closest approach of the lines A + s D and B + t E, with s and t in units
// of the given directions. kParallel for parallel lines, kNone when a
// direction has no length, kOverflow when a parameter cannot be formed.
Meet meet_lines(const POINT &A, const VECTOR &D, const POINT &B, const VECTOR &E, double &s,
                double &t) {
  VECTOR d1, d2;
  if (!unit3(D, d1) || !unit3(E, d2)) return Meet::kNone;
  const VECTOR w = sub3(A, B);
  const double b = dot3(d1, d2), d = dot3(d1, w), e = dot3(d2, w);
  const double det = 1.0 - b * b;
  if (!(std::fabs(det) >= ZERO_TOLERANCE)) return Meet::kParallel;
  double sc, tc;
  if (!guarded_quotient(b * e - d, det, sc) || !guarded_quotient(e - b * d, det, tc) ||
      !guarded_quotient(sc, magnitude3(D), s) || !guarded_quotient(tc, magnitude3(E), t))
    return Meet::kOverflow;
  return Meet::kYes;
}

// The parameter u of the arc from the chord parameter s2: u = a / (1 + a)
// with a = sqrt(s2 / (1 - s2)). A ratio the guard refuses, or a negative
// one (s2 outside [0, 1)), is error 13.
int16_t arc_parameter(double s2, double &u, const char *tag) {
  if (M_chkfop(s2, 1.0 - s2, 4)) return fail(kErrSelector, tag);
  const double ratio = s2 / (1.0 - s2);
  if (!(ratio >= 0.0)) return fail(kErrSelector, tag);
  const double a = std::sqrt(ratio);
  u = a / (1.0 + a);
  return 0;
}

int16_t meet_or_fail(Meet m, const char *tag) {
  if (m == Meet::kOverflow) return fail(kErrFloat, tag);
  if (m != Meet::kYes) return fail(kErrSelector, tag);
  return 0;
}

}  // namespace

extern "C" {

int16_t B_makcon(POINT P0, VECTOR T0, POINT P2, VECTOR T2, POINT P, POINT *P1, double *w1) {
  static const char kTag[] = "B_MAKCON";
  if (!P1 || !w1) return fail(kErrIndex, kTag);
  const VECTOR chord = sub3(P2, P0);
  double s, t;
  const Meet tangents = meet_lines(P0, T0, P2, T2, s, t);
  if (tangents == Meet::kYes) {
    // The tangents meet at the middle control point M.
    const POINT M =
        combine3<POINT>(0.5, combine3<POINT>(1.0, P0, s, T0), 0.5, combine3<POINT>(1.0, P2, t, T2));
    double s1, s2, u;
    if (meet_or_fail(meet_lines(M, sub3(P, M), P0, chord, s1, s2), kTag) ||
        arc_parameter(s2, u, kTag))
      return 1;
    const VECTOR mp = sub3(M, P);
    const double num =
        (1.0 - u) * (1.0 - u) * dot3(sub3(P, P0), mp) + u * u * dot3(sub3(P, P2), mp);
    const double den = 2.0 * u * (1.0 - u) * dot3(mp, mp);
    if (M_chkfop(num, den, 4)) return fail(kErrFloat, kTag);
    *P1 = M;
    *w1 = num / den;
    return 0;
  }
  if (tangents != Meet::kParallel) return meet_or_fail(tangents, kTag);
  // Parallel end tangents: a half ellipse, whose middle control point is a
  // direction (weight 0). With g = 2u(1-u), P lies g / (1 - g) times that
  // direction away from the chord point of its parameter.
  double s0, s2, u;
  if (meet_or_fail(meet_lines(P, T0, P0, chord, s0, s2), kTag) || arc_parameter(s2, u, kTag))
    return 1;
  const double g = 2.0 * u * (1.0 - u);
  if (M_chkfop(1.0 - g, g, 4)) return fail(kErrFloat, kTag);
  *P1 = scale3<POINT>(-s0 * (1.0 - g) / g, T0);
  *w1 = 0.0;
  return 0;
}

// Splits the arc P[0..2] with middle weight w at its shoulder into the arcs
// Q[0..2] and R[0..2], both with end weights 1 and middle weights wq = wr.
// A middle weight of -1 or below describes no arc: error 11, nothing is
// written.
void B_splcon(const POINT *P, double w, POINT *Q, double *wq, POINT *R, double *wr) {
  static const char kTag[] = "B_SPLCON";
  if (!P || !Q || !wq || !R || !wr) {
    fail(kErrIndex, kTag);
    return;
  }
  if (!(w > -1.0)) {
    fail(kErrFloat, kTag);
    return;
  }
  const POINT P0 = P[0], P1 = P[1], P2 = P[2];
  POINT q1, r1;
  if (w != 0.0) {
    const double f = 1.0 / (1.0 + w);
    q1 = combine3<POINT>(f, P0, w * f, P1);
    r1 = combine3<POINT>(f, P2, w * f, P1);
  } else {  // P1 is a direction
    q1 = add3<POINT>(P0, P1);
    r1 = add3<POINT>(P2, P1);
  }
  const POINT shoulder = combine3<POINT>(0.5, q1, 0.5, r1);
  const double ws = w != 0.0 ? std::sqrt((1.0 + w) / 2.0) : std::sqrt(2.0) / 2.0;
  Q[0] = P0;
  Q[1] = q1;
  Q[2] = shoulder;
  R[0] = shoulder;
  R[1] = r1;
  R[2] = P2;
  *wq = ws;
  *wr = ws;
}

}  // extern "C"
