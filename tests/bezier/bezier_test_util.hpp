// Helpers of the Bezier tests: evaluators written here (de Casteljau on
// homogeneous points, Horner on power coefficients), random polygons and
// comparisons.
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

// The call failed (status 1) and left code under tag in the error state.
inline ::testing::AssertionResult Fails(int status, int32_t code, const char *tag) {
  if (status != 1) return ::testing::AssertionFailure() << "status " << status;
  return HasError(code, tag);
}

// Homogeneous form: weight 1 for a non-rational point, z = 0 for a 2-D one.
inline CPOINT hom(const CPOINT &q) {
  return {q.x, q.y, q.z == kZ2D ? 0.0 : q.z, q.w == kWNR ? 1.0 : q.w};
}
inline POINT project(const CPOINT &h) { return {h.x / h.w, h.y / h.w, h.z / h.w}; }
inline CPOINT axpby(double a, const CPOINT &p, double b, const CPOINT &q) {
  return {a * p.x + b * q.x, a * p.y + b * q.y, a * p.z + b * q.z, a * p.w + b * q.w};
}

inline POINT casteljau(const Polygon &P, double u) {
  Polygon h;
  for (const CPOINT &q : P) h.push_back(hom(q));
  for (size_t k = 1; k < h.size(); ++k)
    for (size_t j = 0; j + k < h.size(); ++j) h[j] = axpby(1 - u, h[j], u, h[j + 1]);
  return project(h[0]);
}

// Coefficients of a non-rational power-form curve carry no weight.
inline POINT horner(const Polygon &coef, double u) {
  CPOINT acc{0, 0, 0, 0};
  for (size_t i = coef.size(); i-- > 0;) acc = axpby(u, acc, 1.0, hom(coef[i]));
  if (coef[0].w == kWNR) acc.w = 1.0;
  return project(acc);
}

inline double distance(const POINT &a, const POINT &b) {
  return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z);
}

// Random 3-D polygon of degree p; rational (weights in [0.5, 2]) or not.
inline Polygon random_polygon(std::mt19937 &rng, int p, bool rational) {
  std::uniform_real_distribution<double> c(-2.0, 2.0), w(0.5, 2.0);
  Polygon P;
  for (int i = 0; i <= p; ++i) {
    const double wi = rational ? w(rng) : 1.0, x = c(rng), y = c(rng), z = c(rng);
    P.push_back({wi * x, wi * y, wi * z, rational ? wi : kWNR});
  }
  return P;
}

inline void expect_near(const POINT &a, const POINT &b, double tol) {
  EXPECT_LE(distance(a, b), tol) << a.x << " " << a.y << " " << a.z << " vs " << b.x << " " << b.y
                                 << " " << b.z;
}

// Stored fields equal to a relative tolerance; markers must match exactly.
inline void expect_near(const CPOINT &a, const CPOINT &b, double rel) {
  for (auto [x, y] : {std::pair{a.x, b.x}, {a.y, b.y}, {a.z, b.z}, {a.w, b.w}})
    if (std::fabs(x) == DBL_MAX || std::fabs(y) == DBL_MAX)
      EXPECT_EQ(x, y);
    else
      EXPECT_LE(std::fabs(x - y), rel * std::max(1.0, std::fabs(y))) << x << " vs " << y;
}

}  // namespace bezier_test
