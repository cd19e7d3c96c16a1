// Shared helpers of the elementary geometry tests.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "core/internal.hpp"
#include "test_support.hpp"

namespace geom_test {

using orvo_test::HasError;

inline POINT P(double x, double y, double z = 0.0) { return POINT{x, y, z}; }
inline VECTOR V(double x, double y, double z = 0.0) { return VECTOR{x, y, z}; }

template <class A>
inline void ExpectXyz(const A &p, double x, double y, double z, double tol = 0.0) {
  if (tol == 0.0) {
    EXPECT_EQ(p.x, x);
    EXPECT_EQ(p.y, y);
    EXPECT_EQ(p.z, z);
  } else {
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
    EXPECT_NEAR(p.z, z, tol);
  }
}

// A point polygon over its own storage.
struct Polygon {
  std::vector<POINT> pts;
  explicit Polygon(std::vector<POINT> p) : pts(std::move(p)) {}
  PPOLYGON rec() {
    PPOLYGON r;
    G_makppl(static_cast<int32_t>(pts.size()) - 1, pts.data(), &r);
    return r;
  }
};

// A rectangular table of T with row pointers, indexed [i][j].
template <class T>
struct Table {
  int32_t n, m;
  std::vector<T> data;
  std::vector<T *> rows;
  Table(int32_t n_, int32_t m_, T init = T{}) : n(n_), m(m_), data((n_ + 1) * (m_ + 1), init) {
    for (int32_t i = 0; i <= n; ++i) rows.push_back(data.data() + i * (m + 1));
  }
  T *const *get() { return rows.data(); }
  T *&operator[](int32_t i) { return rows[i]; }
};

// Clears the error state before and disarms the allocation hook after
// every test.
class GeomTest : public ::testing::Test {
 protected:
  void SetUp() override { E_clrerr(); }
  void TearDown() override { orvo::detail::fail_allocation_at(0); }
};

}  // namespace geom_test
