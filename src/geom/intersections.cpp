// Projections and intersections of lines, planes and segments, segment
// crossings in the plane and the least-squares plane of a polygon. Parallel
// input and missing intersections are not errors: status 0 with found 0.
#include <algorithm>
#include <cmath>

#include "geom/geom_ops.hpp"

using namespace orvo::detail;

namespace orvo::detail {

int16_t line_plane(const LINE &line, const PLANE &pln, POINT *X, double *t, int16_t *found,
                   const char *tag) {
  VECTOR d, nrm;
  if (G_vecnor(line.D, &d) || G_vecnor(pln.N, &nrm)) return 1;
  const double c = dot3(nrm, d);
  if (!(std::fabs(c) >= ZERO_TOLERANCE)) {  // parallel
    *found = 0;
    return 0;
  }
  // Signed distance along the unit direction, then in units of D.
  double along, tt;
  if (!guarded_quotient(dot3(nrm, sub3(pln.P, line.P)), c, along) ||
      !guarded_quotient(along, magnitude3(line.D), tt))
    return fail(kErrFloat, tag);
  if (line.kind == 1 && (tt < 0.0 || tt > 1.0)) {
    *found = 0;
    return 0;
  }
  *X = combine3<POINT>(1.0, line.P, tt, line.D);
  *t = tt;
  *found = 1;
  return 0;
}

int16_t segment_crossing(const POINT &A, const POINT &B, const POINT &C, const POINT &D, POINT *X,
                         int16_t *found, const char *tag) {
  const VECTOR ab = sub3(B, A), cd = sub3(D, C);
  const double d1 = cross2(sub3(C, A), ab), d2 = cross2(sub3(D, A), ab);
  const double d3 = cross2(sub3(A, C), cd), d4 = cross2(sub3(B, C), cd);
  // Opposite sides (or touching) for both pairs; the signs are compared
  // directly, as the products could underflow to zero.
  auto apart = [](double u, double v) { return (u <= 0.0 && v >= 0.0) || (u >= 0.0 && v <= 0.0); };
  const double den = d1 - d2;
  if (!apart(d1, d2) || !apart(d3, d4) || !(std::fabs(den) >= ZERO_TOLERANCE)) {
    *found = 0;
    return 0;
  }
  double r, s;
  if (!guarded_quotient(-d3, den, r) || !guarded_quotient(d1, den, s)) return fail(kErrFloat, tag);
  const POINT on1 = combine3<POINT>(1.0 - r, A, r, B);
  const POINT on2 = combine3<POINT>(1.0 - s, C, s, D);
  *X = combine3<POINT>(0.5, on1, 0.5, on2);
  *found = 1;
  return 0;
}

}  // namespace orvo::detail

extern "C" {

int16_t G_intlnp(LINE line, PLANE pln, POINT *X, double *t, int16_t *found) {
  return line_plane(line, pln, X, t, found, "G_INTLNP");
}

// Foot of X on the line: the plane through X with normal D cut with it.
int16_t G_prjpln(LINE line, POINT X, POINT *F, double *t, int16_t *found) {
  return project_on_line(line, X, F, t, found, "G_PRJPLN");
}

// Foot of X on the plane: the line through X along N cut with it.
int16_t G_prjppl(PLANE pln, POINT X, POINT *F) {
  POINT foot;
  if (foot_on_plane(pln, X, &foot, "G_PRJPPL")) return 1;
  *F = foot;
  return 0;
}

// Closest approach of two lines: s and t are the parameters of the closest
// points in units of each line's D, X their midpoint.
int16_t G_intlnl(LINE L1, LINE L2, POINT *X, double *s, double *t, int16_t *found) {
  const char *tag = "G_INTLNL";
  VECTOR d1, d2;
  if (G_vecnor(L1.D, &d1) || G_vecnor(L2.D, &d2)) return 1;
  const VECTOR w = sub3(L1.P, L2.P);
  const double a = dot3(d1, d1), b = dot3(d1, d2), c = dot3(d2, d2);
  const double d = dot3(d1, w), e = dot3(d2, w);
  const double det = a * c - b * b;
  if (!(std::fabs(det) >= ZERO_TOLERANCE)) {  // parallel
    *found = 0;
    return 0;
  }
  double sc, tc, ss, tt;
  if (!guarded_quotient(b * e - c * d, det, sc) || !guarded_quotient(a * e - b * d, det, tc) ||
      !guarded_quotient(sc, magnitude3(L1.D), ss) || !guarded_quotient(tc, magnitude3(L2.D), tt))
    return fail(kErrFloat, tag);
  auto outside = [](const LINE &l, double u) { return l.kind == 1 && (u < 0.0 || u > 1.0); };
  if (outside(L1, ss) || outside(L2, tt)) {
    *found = 0;
    return 0;
  }
  const POINT on1 = combine3<POINT>(1.0, L1.P, ss, L1.D);
  const POINT on2 = combine3<POINT>(1.0, L2.P, tt, L2.D);
  *X = combine3<POINT>(0.5, on1, 0.5, on2);
  *s = ss;
  *t = tt;
  *found = 1;
  return 0;
}

int16_t G_intlsg(POINT A, POINT B, POINT C, POINT D, POINT *X, int16_t *found) {
  return segment_crossing(A, B, C, D, X, found, "G_INTLSG");
}

// Crossing of the segment AB with a polygon in the x-y plane. The legs run
// from pts[k] to pts[k+1]; the given leg is tried first (leg n stands for
// leg 0), then the leg before it, then every other leg from 0 on. position
// is the index of the end point of the leg that was hit, i.e. the index at
// which the crossing would be inserted into the polygon.
int16_t G_intcpl(PPOLYGON ppl, POINT A, POINT B, int32_t leg, POINT *X, int16_t *found,
                 int32_t *position) {
  const char *tag = "G_INTCPL";
  if (ppl.n < 0 || !ppl.pts || leg < 0 || leg > ppl.n) return fail(kErrInconsistent, tag);
  *found = 0;
  const int32_t legs = ppl.n;
  if (legs == 0) return 0;
  const int32_t first = leg == legs ? 0 : leg;
  const int32_t before = first == 0 ? legs - 1 : first - 1;
  // Visiting order: the given leg, the leg before it, then all others.
  for (int32_t step = 0; step < legs + 2; ++step) {
    const int32_t k = step == 0 ? first : step == 1 ? before : step - 2;
    if (step == 1 && before == first) continue;
    if (step >= 2 && (k == first || k == before)) continue;
    POINT hit;
    int16_t got = 0;
    if (segment_crossing(A, B, ppl.pts[k], ppl.pts[k + 1], &hit, &got, tag)) return 1;
    if (got) {
      *X = hit;
      *found = 1;
      *position = k + 1;
      return 0;
    }
  }
  return 0;
}

// Whether the segments (x1,y1)-(x2,y2) and (x3,y3)-(x4,y4) cross or touch
// within tol. Parallel segments never count.
int16_t G_dolsin(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                 double y4, double tol) {
  auto ranges_meet = [tol](double a1, double a2, double b1, double b2) {
    return std::min(a1, a2) - tol <= std::max(b1, b2) + tol &&
           std::min(b1, b2) - tol <= std::max(a1, a2) + tol;
  };
  if (!ranges_meet(x1, x2, x3, x4) || !ranges_meet(y1, y2, y3, y4)) return 0;
  const double dx1 = x2 - x1, dy1 = y2 - y1, dx2 = x4 - x3, dy2 = y4 - y3;
  const double delta = dx1 * dy2 - dy1 * dx2;
  if (!(std::fabs(delta) >= ZERO_TOLERANCE)) return 0;
  // Crossing parameters on both segments, each times delta.
  const double ex = x3 - x1, ey = y3 - y1;
  const double n1 = ex * dy2 - ey * dx2, n2 = ex * dy1 - ey * dx1;
  auto within = [delta, tol](double v) {
    return delta > 0.0 ? (v >= -tol && v <= delta + tol) : (v >= delta - tol && v <= tol);
  };
  return (within(n1) && within(n2)) ? 1 : 0;
}

// Plane a*x + b*y + c*z + d = 0 of a polygon by Newell's method, the
// polygon closed from pts[n] back to pts[0]; (a, b, c) is a unit vector and
// the plane passes through the mean of the points.
int16_t G_lsqpln(const POINT *pts, int32_t n, double *a, double *b, double *c, double *d) {
  VECTOR nrm{0.0, 0.0, 0.0};
  POINT centre{0.0, 0.0, 0.0};
  if (pts) {
    for (int32_t i = 0; i <= n; ++i) {
      const POINT &p = pts[i], &q = pts[i == n ? 0 : i + 1];
      nrm.x += (p.y - q.y) * (p.z + q.z);
      nrm.y += (p.z - q.z) * (p.x + q.x);
      nrm.z += (p.x - q.x) * (p.y + q.y);
      centre = add3<POINT>(centre, p);
    }
  }
  VECTOR unit;
  if (n < 0 || !pts || !unit3(nrm, unit)) return fail(kErrFloat, "G_LSQPLN");
  centre = scale3<POINT>(1.0 / (n + 1.0), centre);
  *a = unit.x;
  *b = unit.y;
  *c = unit.z;
  *d = -dot3(unit, centre);
  return 0;
}

}  // extern "C"
