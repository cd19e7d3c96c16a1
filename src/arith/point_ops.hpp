// Inline marker-aware control-point arithmetic for the library's hot paths
// (evaluation sums, refinement blends). The exported A_ routines and every
// algorithm share these, so the marker rules live in one place.
#pragma once

#include <cmath>

#include "core/internal.hpp"

namespace orvo::detail {

inline constexpr CPOINT kZeroCpoint{0.0, 0.0, 0.0, 0.0};

// The weight a point counts with: its own when valid, else 1.
inline double weight_or_one(const CPOINT &q) { return w_valid(q.w) ? q.w : 1.0; }

// Homogeneous control point of a Euclidean point and a weight; a marker
// weight gives a non-rational point. z is multiplied without a marker test.
inline CPOINT weighted(const POINT &p, double w) {
  if (!w_valid(w)) return CPOINT{p.x, p.y, p.z, kWNR};
  return CPOINT{w * p.x, w * p.y, w * p.z, w};
}

// Euclidean image of a control point: divided by a valid weight; a 2-D
// marker becomes z = 0.
inline POINT euclid(const CPOINT &q) {
  const double z = z_valid(q.z) ? q.z : 0.0;
  if (!w_valid(q.w)) return POINT{q.x, q.y, z};
  return POINT{q.x / q.w, q.y / q.w, z / q.w};
}

// acc += a * q with the marker rules: a marker in q makes the field a
// marker, and a marker already in acc stays; a sum never includes a marker.
inline void accumulate(CPOINT &acc, double a, const CPOINT &q) {
  acc.x += a * q.x;
  acc.y += a * q.y;
  acc.z = (z_valid(q.z) && z_valid(acc.z)) ? acc.z + a * q.z : kZ2D;
  acc.w = (w_valid(q.w) && w_valid(acc.w)) ? acc.w + a * q.w : kWNR;
}

// a * q1 + b * q2 with the marker rules: a z present in only one point is
// taken alone; a weight marker in either point gives the marker.
inline double combine_z(double a, double z1, double b, double z2) {
  const bool v1 = z_valid(z1), v2 = z_valid(z2);
  if (v1 && v2) return a * z1 + b * z2;
  if (v1) return a * z1;
  if (v2) return b * z2;
  return kZ2D;
}

inline CPOINT combine(double a, const CPOINT &q1, double b, const CPOINT &q2) {
  const double z = combine_z(a, q1.z, b, q2.z);
  const double w = (w_valid(q1.w) && w_valid(q2.w)) ? a * q1.w + b * q2.w : kWNR;
  return CPOINT{a * q1.x + b * q2.x, a * q1.y + b * q2.y, z, w};
}

// a * q: markers stay, the weight is scaled with the coordinates.
inline CPOINT scale(double a, const CPOINT &q) {
  return CPOINT{a * q.x, a * q.y, z_valid(q.z) ? a * q.z : kZ2D, w_valid(q.w) ? a * q.w : kWNR};
}

// q1 + q2 and q1 - q2 with the rules of combine().
inline CPOINT sum(const CPOINT &q1, const CPOINT &q2) { return combine(1.0, q1, 1.0, q2); }
inline CPOINT difference(const CPOINT &q1, const CPOINT &q2) { return combine(1.0, q1, -1.0, q2); }

// 4-D dot product: z enters when valid in both points; the weights enter as
// their product when both are valid, as the valid one alone otherwise.
inline double dot(const CPOINT &q1, const CPOINT &q2) {
  double s = q1.x * q2.x + q1.y * q2.y;
  if (z_valid(q1.z) && z_valid(q2.z)) s += q1.z * q2.z;
  const bool w1 = w_valid(q1.w), w2 = w_valid(q2.w);
  if (w1 && w2)
    s += q1.w * q2.w;
  else if (w1)
    s += q1.w;
  else if (w2)
    s += q2.w;
  return s;
}

// Every coordinate finite (the markers are finite values).
inline bool finite_point(const CPOINT &q) {
  return std::isfinite(q.x) && std::isfinite(q.y) && std::isfinite(q.z) && std::isfinite(q.w);
}

// The Euclidean image of q into P when it is finite; false (P untouched)
// for a zero weight or an image beyond the doubles, a point at infinity
// that must be refused (error 11) rather than reported.
inline bool finite_euclid(const CPOINT &q, POINT &P) {
  const POINT e = euclid(q);
  if (!std::isfinite(e.x) || !std::isfinite(e.y) || !std::isfinite(e.z)) return false;
  P = e;
  return true;
}

inline bool finite_points(const CPOINT *P, int32_t n) {
  for (int32_t i = 0; i <= n; ++i)
    if (!finite_point(P[i])) return false;
  return true;
}

}  // namespace orvo::detail
