// Internal helpers of the elementary geometry: guarded division, distances,
// boxes and the projection of a point onto a line, shared by the G_ routines
// and by the algorithms that need them with their own error tag.
#pragma once

#include <cmath>

#include "arith/vector_ops.hpp"
#include "core/internal.hpp"

namespace orvo::detail {

// q = num / den unless the quotient would overflow or den is zero (the
// floating-point guard refuses those). A quotient the guard refuses only for
// being too small to be normalised (|num| <= |den|) is accepted: it is just
// a tiny number, and a point lying on a line must not be reported as an
// overflow.
inline bool guarded_quotient(double num, double den, double &q) {
  if (quotient_unsafe(num, den) != 0) {
    const bool tiny =
        den != 0.0 && std::isfinite(num) && std::isfinite(den) && std::fabs(num) <= std::fabs(den);
    if (!tiny) return false;
  }
  q = num / den;
  return true;
}

template <class A, class B>
inline double distance3(const A &a, const B &b) {
  return magnitude3(sub3(a, b));
}

// z component of the cross product of the x-y parts of u and v.
template <class A, class B>
inline double cross2(const A &u, const B &v) {
  return u.x * v.y - u.y * v.x;
}

// Crossing of a horizontal ray at height y with the leg from (px, py) to
// (qx, qy), for point-in-polygon parity: a vertex within POINT_TOLERANCE
// below the ray counts as above it, so that an outline passing through the
// ray at a vertex is crossed once and one only touching it is not. x is
// where the leg meets the height, its parameter kept within the leg.
inline bool leg_crossing(double px, double py, double qx, double qy, double y, double &x) {
  auto above = [y](double h) { return h > y - POINT_TOLERANCE; };
  if (above(py) == above(qy)) return false;
  double r = (y - qy) / (py - qy);  // the classes differ, so py != qy
  r = r > 1.0 ? 1.0 : (r >= 0.0 ? r : 0.0);
  x = qx + r * (px - qx);
  return true;
}

// Running bounding box of a point set. An empty set gives the zero box at
// the origin, so that its diagonal is 0 rather than an overflow.
class BoxBuilder {
 public:
  void add(const POINT &p) {
    if (!any_) {
      box_ = BOX{p.x, p.x, p.y, p.y, p.z, p.z};
      any_ = true;
      return;
    }
    box_.xmin = std::min(box_.xmin, p.x);
    box_.xmax = std::max(box_.xmax, p.x);
    box_.ymin = std::min(box_.ymin, p.y);
    box_.ymax = std::max(box_.ymax, p.y);
    box_.zmin = std::min(box_.zmin, p.z);
    box_.zmax = std::max(box_.zmax, p.z);
  }
  void add(const POINT *pts, int32_t n) {
    if (!pts) return;
    for (int32_t i = 0; i <= n; ++i) add(pts[i]);
  }
  void add(POINT *const *rows, int32_t n, int32_t m) {
    if (!rows) return;
    for (int32_t i = 0; i <= n; ++i) add(rows[i], m);
  }
  bool empty() const { return !any_; }
  BOX get() const { return any_ ? box_ : BOX{0.0, 0.0, 0.0, 0.0, 0.0, 0.0}; }

 private:
  BOX box_{};
  bool any_ = false;
};

inline double box_diagonal(const BOX &b) {
  return magnitude3(VECTOR{b.xmax - b.xmin, b.ymax - b.ymin, b.zmax - b.zmin});
}

// Intersection of a line with a plane: found 0 when they are parallel or a
// segment stops short of the plane; error 17 (from the normalisation) for a
// zero direction or normal, error 11 under tag when t cannot be formed.
int16_t line_plane(const LINE &line, const PLANE &pln, POINT *X, double *t, int16_t *found,
                   const char *tag);

// Foot of X on the line (the plane through X normal to D cut with it).
inline int16_t project_on_line(const LINE &line, const POINT &X, POINT *F, double *t,
                               int16_t *found, const char *tag) {
  return line_plane(line, PLANE{X, line.D}, F, t, found, tag);
}

// Foot of X on the plane (the line through X along N cut with it); a
// foot that cannot be found (zero normal length) is error 11 under tag.
inline int16_t foot_on_plane(const PLANE &pln, const POINT &X, POINT *F, const char *tag) {
  double t;
  int16_t found;
  if (line_plane(LINE{X, pln.N, 0}, pln, F, &t, &found, tag)) return 1;
  return found ? 0 : fail(kErrFloat, tag);
}

// Distance from X to the segment AB; with foot_only the perpendicular
// distance when the foot lies on the segment and -1 otherwise. A segment
// shorter than POINT_TOLERANCE counts as its midpoint. Error 11 under tag
// when the division by |B - A| is refused.
int16_t segment_distance(const POINT &X, const POINT &A, const POINT &B, bool foot_only, double &d,
                         const char *tag);

// Intersection of the segments AB and CD in the x-y plane.
int16_t segment_crossing(const POINT &A, const POINT &B, const POINT &C, const POINT &D, POINT *X,
                         int16_t *found, const char *tag);

}  // namespace orvo::detail
