// Helpers of the Bezier tests: independent evaluators written here (de
// Casteljau on homogeneous points, Horner on power coefficients), random
// control polygons and comparisons.
#pragma once

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <random>
#include <vector>

#include "test_support.hpp"

namespace bezier_test {

using orvo_test::HasError;
using orvo_test::kWNR;
using orvo_test::kZ2D;
using orvo_test::Workspace;

using Polygon = std::vector<CPOINT>;

// Homogeneous coordinates of a control point: weight 1 for a non-rational
// point, z = 0 for a 2-D point.
struct H {
  double x, y, z, w;
};

inline H homogeneous(const CPOINT &q) {
  return H{q.x, q.y, q.z == kZ2D ? 0.0 : q.z, q.w == kWNR ? 1.0 : q.w};
}

inline POINT project(const H &h) { return POINT{h.x / h.w, h.y / h.w, h.z / h.w}; }

inline H lerp(const H &a, const H &b, double u) {
  return H{(1 - u) * a.x + u * b.x, (1 - u) * a.y + u * b.y, (1 - u) * a.z + u * b.z,
           (1 - u) * a.w + u * b.w};
}

// Point of the Bezier curve P at u by the de Casteljau triangle.
inline POINT casteljau(const Polygon &P, double u) {
  std::vector<H> h;
  for (const CPOINT &q : P) h.push_back(homogeneous(q));
  for (size_t k = 1; k < h.size(); ++k)
    for (size_t j = 0; j + k < h.size(); ++j) h[j] = lerp(h[j], h[j + 1], u);
  return project(h[0]);
}

// Point of the power-form curve sum coef[i] u^i by Horner's rule; the
// coefficients of a non-rational curve carry no weight.
inline POINT horner(const Polygon &coef, double u) {
  H acc{0, 0, 0, 0};
  for (size_t i = coef.size(); i-- > 0;) {
    const H c = homogeneous(coef[i]);
    acc = H{acc.x * u + c.x, acc.y * u + c.y, acc.z * u + c.z, acc.w * u + c.w};
  }
  if (coef[0].w == kWNR) acc.w = 1.0;
  return project(acc);
}

inline double distance(const POINT &a, const POINT &b) {
  return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) +
                   (a.z - b.z) * (a.z - b.z));
}

// Random 3-D polygon of degree p; rational (weights in [0.5, 2]) or not.
inline Polygon random_polygon(std::mt19937 &rng, int p, bool rational) {
  std::uniform_real_distribution<double> c(-2.0, 2.0), w(0.5, 2.0);
  Polygon P;
  for (int i = 0; i <= p; ++i) {
    const double wi = rational ? w(rng) : 1.0;
    const double x = c(rng), y = c(rng), z = c(rng);
    P.push_back(rational ? CPOINT{wi * x, wi * y, wi * z, wi} : CPOINT{x, y, z, kWNR});
  }
  return P;
}

inline void expect_points_near(const POINT &a, const POINT &b, double tol) {
  EXPECT_NEAR(a.x, b.x, tol);
  EXPECT_NEAR(a.y, b.y, tol);
  EXPECT_NEAR(a.z, b.z, tol);
}

// Stored fields equal to a relative tolerance (markers must match exactly).
inline void expect_cpoints_near(const CPOINT &a, const CPOINT &b, double rel) {
  auto near = [rel](double x, double y) {
    if (x == y) return;
    if (std::fabs(x) == DBL_MAX || std::fabs(y) == DBL_MAX) {
      EXPECT_EQ(x, y);  // a marker on one side only
      return;
    }
    EXPECT_NEAR(x, y, rel * std::max(1.0, std::fabs(y)));
  };
  near(a.x, b.x);
  near(a.y, b.y);
  near(a.z, b.z);
  near(a.w, b.w);
}

}  // namespace bezier_test
