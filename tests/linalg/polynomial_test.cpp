// Polynomial derivatives and Newton roots.
#include <gtest/gtest.h>

#include <cmath>

#include "linalg/linalg_test_util.hpp"

using namespace linalg_test;

namespace {

TEST(PolynomialDerivatives, HandValues) {
  // p(t) = 1 + 2t + 3t^2 + 4t^3 at t = 2.
  const double c[] = {1, 2, 3, 4};
  double out[6] = {9, 9, 9, 9, 9, 9};
  M_polder(c, 3, 2.0, 5, out);
  EXPECT_DOUBLE_EQ(out[0], 49);
  EXPECT_DOUBLE_EQ(out[1], 62);  // 2 + 6t + 12t^2
  EXPECT_DOUBLE_EQ(out[2], 54);  // 6 + 24t
  EXPECT_DOUBLE_EQ(out[3], 24);
  EXPECT_EQ(out[4], 0.0);  // above the degree
  EXPECT_EQ(out[5], 0.0);

  double v = 0;
  M_polder(c, 3, -1.0, 0, &v);
  EXPECT_DOUBLE_EQ(v, -2);
  const double k[] = {5};
  double d[3];
  M_polder(k, 0, 3.0, 2, d);
  EXPECT_EQ(d[0], 5.0);
  EXPECT_EQ(d[1], 0.0);
}

TEST(PolynomialDerivatives, MatchFiniteDifferences) {
  const double c[] = {0.3, -1.2, 0.7, 2.5, -0.4, 0.05};
  const double x = 0.8, h = 1e-5;
  double at[3], lo[3], hi[3];
  M_polder(c, 5, x, 2, at);
  M_polder(c, 5, x - h, 2, lo);
  M_polder(c, 5, x + h, 2, hi);
  EXPECT_NEAR(at[1], (hi[0] - lo[0]) / (2 * h), 1e-8);
  EXPECT_NEAR(at[2], (hi[1] - lo[1]) / (2 * h), 1e-7);
}

TEST(PolynomialNewton, FindsRootsToTolerance) {
  const double c[] = {-2, 0, 1};  // t^2 - 2
  double root = 0;
  ASSERT_EQ(M_polnew(c, 2, 1.0, 0.0, 2.0, 1e-12, &root), 0);
  EXPECT_NEAR(root, std::sqrt(2.0), 1e-12);

  // Cubic with three roots; the start picks the nearby one.
  const double q[] = {-6, 11, -6, 1};  // (t-1)(t-2)(t-3)
  ASSERT_EQ(M_polnew(q, 3, 2.9, 2.5, 4.0, 1e-13, &root), 0);
  EXPECT_NEAR(root, 3.0, 1e-12);

  // A start far outside the root: steps are cut back to the interval.
  ASSERT_EQ(M_polnew(c, 2, 100.0, 0.0, 2.0, 1e-12, &root), 0);
  EXPECT_NEAR(root, std::sqrt(2.0), 1e-12);
}

TEST(PolynomialNewton, StartAtARootReturnsIt) {
  const double c[] = {-1, 1};
  double root = 7;
  ASSERT_EQ(M_polnew(c, 1, 1.0, 0.0, 2.0, 1e-10, &root), 0);
  EXPECT_EQ(root, 1.0);
}

TEST(PolynomialNewton, NoRootInTheInterval) {
  // t - 5 on [0, 1]: every step runs into the end of the interval, which
  // is not a root.
  const double c[] = {-5, 1};
  double root = 42;
  E_clrerr();
  EXPECT_EQ(M_polnew(c, 1, 0.5, 0.0, 1.0, 1e-10, &root), 1);
  expect_error(12, "M_POLNEW");
  EXPECT_EQ(root, 42);

  // t^2 + 1 has no real root; from 0 the derivative vanishes.
  const double q[] = {1, 0, 1};
  E_clrerr();
  EXPECT_EQ(M_polnew(q, 2, 0.0, -1.0, 1.0, 1e-10, &root), 1);
  expect_error(11, "M_POLNEW");
  // From elsewhere the steps wander without converging.
  E_clrerr();
  EXPECT_EQ(M_polnew(q, 2, 0.3, -1.0, 1.0, 1e-10, &root), 1);
  const char *name;
  int32_t code;
  E_GetOrvoError(&name, &code);
  EXPECT_TRUE(code == 11 || code == 12);
  EXPECT_STREQ(name, "M_POLNEW");
  EXPECT_EQ(root, 42);
}

}  // namespace
