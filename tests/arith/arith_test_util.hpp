// Shared checks for the point, vector and transform tests.
#pragma once

#include <gtest/gtest.h>

#include <cfloat>
#include <string>
#include <utility>

#include "orvo/orvo.h"

namespace arith_test {

constexpr double kZ2 = DBL_MAX;   // 2-D marker
constexpr double kNR = -DBL_MAX;  // non-rational marker

// Exact comparison: the hand-computed values are exact in binary, and a
// marker must come out as the marker itself, not a neighbour or infinity.
inline void ExpectCpt(const CPOINT &q, double x, double y, double z, double w) {
  EXPECT_EQ(q.x, x);
  EXPECT_EQ(q.y, y);
  EXPECT_EQ(q.z, z);
  EXPECT_EQ(q.w, w);
}

template <class P>
inline void ExpectXyz(const P &p, double x, double y, double z) {
  EXPECT_EQ(p.x, x);
  EXPECT_EQ(p.y, y);
  EXPECT_EQ(p.z, z);
}

template <class P>
inline void ExpectNearXyz(const P &p, double x, double y, double z, double tol = 1e-12) {
  EXPECT_NEAR(p.x, x, tol);
  EXPECT_NEAR(p.y, y, tol);
  EXPECT_NEAR(p.z, z, tol);
}

// The error state as (tag, code).
inline std::pair<std::string, int32_t> LastError() {
  const char *routine = nullptr;
  int32_t code = 0;
  E_GetOrvoError(&routine, &code);
  return {routine ? routine : "", code};
}

inline std::pair<std::string, int32_t> Err(const char *tag, int32_t code) { return {tag, code}; }

}  // namespace arith_test
