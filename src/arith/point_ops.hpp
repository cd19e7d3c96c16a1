// Inline marker-aware control-point arithmetic for the library's hot paths
// (evaluation sums, refinement blends). The exported A_ routines and every
// algorithm share these, so the marker rules live in one place.
#pragma once

#include "core/internal.hpp"

namespace orvo::detail {

inline constexpr CPOINT kZeroCpoint{0.0, 0.0, 0.0, 0.0};

// Euclidean image of a control point: divided by a valid weight; a 2-D
// marker becomes z = 0.
inline POINT euclid(const CPOINT &q) {
  const double z = z_valid(q.z) ? q.z : 0.0;
  if (!w_valid(q.w)) return POINT{q.x, q.y, z};
  return POINT{q.x / q.w, q.y / q.w, z / q.w};
}

// acc += a * q with the marker rules: a marker in q makes the field a
// marker; a sum never includes a marker.
inline void accumulate(CPOINT &acc, double a, const CPOINT &q) {
  acc.x += a * q.x;
  acc.y += a * q.y;
  acc.z = z_valid(q.z) ? acc.z + a * q.z : kZ2D;
  acc.w = w_valid(q.w) ? acc.w + a * q.w : kWNR;
}

// a * q1 + b * q2 with the marker rules: a z present in only one point is
// taken alone; a weight marker in either point gives the marker.
inline CPOINT combine(double a, const CPOINT &q1, double b, const CPOINT &q2) {
  const bool z1 = z_valid(q1.z), z2 = z_valid(q2.z);
  double z = kZ2D;
  if (z1 && z2) z = a * q1.z + b * q2.z;
  else if (z1) z = a * q1.z;
  else if (z2) z = b * q2.z;
  const double w = (w_valid(q1.w) && w_valid(q2.w)) ? a * q1.w + b * q2.w : kWNR;
  return CPOINT{a * q1.x + b * q2.x, a * q1.y + b * q2.y, z, w};
}

}  // namespace orvo::detail
