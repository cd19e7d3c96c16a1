// Bernstein values and the Bezier evaluators.
#include "bezier/bezier_test_util.hpp"
#include "core/internal.hpp"

using namespace bezier_test;

namespace {

TEST(Bernstein, HandValuesEndsAndPartitionOfUnity) {
  double b[13], v = 0;
  ASSERT_EQ(B_allber(3, 0.5, b), 0);
  EXPECT_EQ(std::vector<double>(b, b + 4), (std::vector<double>{0.125, 0.375, 0.375, 0.125}));
  ASSERT_EQ(B_bernst(3, 1, 0.5, &v), 0);
  EXPECT_EQ(v, 0.375);
  ASSERT_EQ(B_allber(5, 1.0, b), 0);
  EXPECT_EQ(std::vector<double>(b, b + 6), (std::vector<double>{0, 0, 0, 0, 0, 1}));
  for (int p = 0; p <= 12; ++p)
    for (double u : {0.01, 0.3, 0.77}) {
      ASSERT_EQ(B_allber(p, u, b), 0);
      double sum = 0.0;
      for (int i = 0; i <= p; ++i) {  // against C(p, i) u^i (1-u)^(p-i)
        const double c = std::tgamma(p + 1.0) / std::tgamma(i + 1.0) / std::tgamma(p - i + 1.0);
        EXPECT_NEAR(b[i], c * std::pow(u, i) * std::pow(1 - u, p - i), 1e-14);
        ASSERT_EQ(B_bernst(p, i, u, &v), 0);
        EXPECT_NEAR(v, b[i], 1e-15);
        sum += b[i];
      }
      EXPECT_NEAR(sum, 1.0, 1e-14);
    }
}

TEST(BezierEvaluation, CurvesFunctionsAndPatches) {
  std::mt19937 rng(1);
  POINT X;
  double r;
  for (bool rational : {false, true}) {
    const Polygon P = random_polygon(rng, 5, rational);
    for (double u : {0.0, 0.1, 0.5, 1.0}) {
      ASSERT_EQ(B_curevn(P.data(), 5, u, &X), 0);
      expect_near(X, casteljau(P, u), 1e-13);
    }
  }
  // A 2-D quadratic (z comes back 0); the function 0, 1/3, 2/3, 1 is u; the
  // linear patch P[i][j] = (i, j, i j) and its z as a scalar patch.
  const Polygon Q = {{0, 0, kZ2D, kWNR}, {1, 2, kZ2D, kWNR}, {2, 0, kZ2D, kWNR}};
  const double f[4] = {0.0, 1.0 / 3.0, 2.0 / 3.0, 1.0}, vr0[2] = {0, 0}, vr1[2] = {0, 1};
  CPOINT r0[2] = {{0, 0, 0, kWNR}, {0, 1, 0, kWNR}}, r1[2] = {{1, 0, 0, kWNR}, {1, 1, 1, kWNR}};
  CPOINT *net[2] = {r0, r1};
  double *vals[2] = {const_cast<double *>(vr0), const_cast<double *>(vr1)};
  ASSERT_EQ(B_curevn(Q.data(), 2, 0.5, &X) + B_cfnevn(f, 3, 0.3, &r), 0);
  expect_near(X, POINT{1, 1, 0}, 1e-15);
  EXPECT_NEAR(r, 0.3, 1e-15);
  ASSERT_EQ(B_surevn(net, 1, 1, 0.25, 0.6, &X) + B_sfnevn(vals, 1, 1, 0.25, 0.6, &r), 0);
  expect_near(X, POINT{0.25, 0.6, 0.15}, 1e-15);
  EXPECT_NEAR(r, 0.15, 1e-15);
}

TEST(Bernstein, ErrorsCarryTheRoutineTag) {
  double b[4], v = 7.0;
  POINT X;
  CPOINT P[2] = {{0, 0, 0, kWNR}, {1, 1, 1, kWNR}}, *net[1] = {P};
  EXPECT_TRUE(Fails(B_allber(3, std::nan(""), b), 6, "B_ALLBER"));
  EXPECT_TRUE(Fails(B_allber(-1, 0.5, b), 13, "B_ALLBER"));
  EXPECT_TRUE(Fails(B_bernst(3, 4, 0.5, &v), 7, "B_BERNST"));
  EXPECT_TRUE(Fails(B_bernst(3, 1, -0.1, &v), 6, "B_BERNST"));
  EXPECT_TRUE(Fails(B_curevn(P, 1, 1.01, &X), 6, "B_CUREVN"));
  EXPECT_TRUE(Fails(B_surevn(net, 0, 1, 0.5, -0.5, &X), 6, "B_SUREVN"));
  EXPECT_TRUE(Fails(B_cfnevn(nullptr, 1, 0.5, &v), 7, "B_CFNEVN"));
  EXPECT_EQ(v, 7.0);
  orvo::detail::fail_allocation_at(1);
  const int16_t status = B_curevn(P, 1, 0.5, &X);
  orvo::detail::fail_allocation_at(0);
  EXPECT_TRUE(Fails(status, 15, "S_GETR1D"));
  E_clrerr();
}

}  // namespace
