// Inline 3-D vector arithmetic shared by the G_vec routines and the
// geometry of other subsystems. POINT and VECTOR have the same layout; the
// helpers accept either, and the result type is named where it matters.
#pragma once

#include <algorithm>
#include <cmath>

#include "core/internal.hpp"

namespace orvo::detail {

template <class R = VECTOR, class A, class B>
inline R add3(const A &a, const B &b) {
  return R{a.x + b.x, a.y + b.y, a.z + b.z};
}

template <class R = VECTOR, class A, class B>
inline R sub3(const A &a, const B &b) {
  return R{a.x - b.x, a.y - b.y, a.z - b.z};
}

template <class R = VECTOR, class A>
inline R scale3(double s, const A &a) {
  return R{s * a.x, s * a.y, s * a.z};
}

// a * A + b * B
template <class R = VECTOR, class A, class B>
inline R combine3(double a, const A &va, double b, const B &vb) {
  return R{a * va.x + b * vb.x, a * va.y + b * vb.y, a * va.z + b * vb.z};
}

template <class A, class B>
inline double dot3(const A &a, const B &b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

template <class A, class B>
inline VECTOR cross3(const A &a, const B &b) {
  return VECTOR{a.y * b.z - b.y * a.z, b.x * a.z - a.x * b.z, a.x * b.y - b.x * a.y};
}

// Euclidean length. The plain sqrt(A.A) whenever the squares neither
// overflow nor vanish; otherwise the vector is scaled by its largest
// component first, so that tiny and huge vectors keep a true length.
template <class A>
inline double magnitude3(const A &a) {
  const double s = dot3(a, a);
  if (s >= DBL_MIN && s <= DBL_MAX) return std::sqrt(s);
  const double big = std::max({std::fabs(a.x), std::fabs(a.y), std::fabs(a.z)});
  if (big == 0.0 || !std::isfinite(big)) return big;
  const double x = a.x / big, y = a.y / big, z = a.z / big;
  return big * std::sqrt(x * x + y * y + z * z);
}

// Unit vector of a; false (u untouched) when a has no usable length.
template <class A>
inline bool unit3(const A &a, VECTOR &u) {
  const double m = magnitude3(a);
  if (!(m > 0.0) || !std::isfinite(m)) return false;
  u = VECTOR{a.x / m, a.y / m, a.z / m};
  return true;
}

}  // namespace orvo::detail
