// Bernstein values and the Bezier evaluators.
#include "bezier/bezier_test_util.hpp"
#include "core/internal.hpp"

using namespace bezier_test;

namespace {

TEST(Bernstein, HandValuesOfTheCubic) {
  double b[4];
  ASSERT_EQ(B_allber(3, 0.5, b), 0);
  EXPECT_DOUBLE_EQ(b[0], 0.125);
  EXPECT_DOUBLE_EQ(b[1], 0.375);
  EXPECT_DOUBLE_EQ(b[2], 0.375);
  EXPECT_DOUBLE_EQ(b[3], 0.125);
  double v = 0.0;
  ASSERT_EQ(B_bernst(3, 1, 0.5, &v), 0);
  EXPECT_DOUBLE_EQ(v, 0.375);
  // B(1, 3)(0.25) = 3 * 0.25 * 0.75^2, B(2, 4)(0.3) = 6 * 0.09 * 0.49.
  ASSERT_EQ(B_bernst(3, 1, 0.25, &v), 0);
  EXPECT_NEAR(v, 0.421875, 1e-15);
  ASSERT_EQ(B_bernst(4, 2, 0.3, &v), 0);
  EXPECT_NEAR(v, 0.2646, 1e-15);
}

TEST(Bernstein, EndsAreExactUnitRows) {
  double b[6];
  ASSERT_EQ(B_allber(5, 0.0, b), 0);
  for (int i = 0; i <= 5; ++i) EXPECT_EQ(b[i], i == 0 ? 1.0 : 0.0);
  ASSERT_EQ(B_allber(5, 1.0, b), 0);
  for (int i = 0; i <= 5; ++i) EXPECT_EQ(b[i], i == 5 ? 1.0 : 0.0);
  double v = -1.0;
  ASSERT_EQ(B_bernst(5, 5, 1.0, &v), 0);
  EXPECT_EQ(v, 1.0);
  ASSERT_EQ(B_bernst(5, 0, 1.0, &v), 0);
  EXPECT_EQ(v, 0.0);
  ASSERT_EQ(B_allber(0, 0.3, b), 0);
  EXPECT_EQ(b[0], 1.0);
}

TEST(Bernstein, PartitionOfUnityAndAgreementOfBothRoutines) {
  for (int p = 1; p <= 12; ++p)
    for (double u : {0.01, 0.2, 0.5, 0.77, 0.999}) {
      std::vector<double> b(p + 1);
      ASSERT_EQ(B_allber(p, u, b.data()), 0);
      double sum = 0.0;
      for (int i = 0; i <= p; ++i) {
        sum += b[i];
        EXPECT_GE(b[i], 0.0);
        double v;
        ASSERT_EQ(B_bernst(p, i, u, &v), 0);
        EXPECT_NEAR(v, b[i], 1e-15);
        // Closed form C(p, i) u^i (1-u)^(p-i).
        const double c = std::tgamma(p + 1.0) / (std::tgamma(i + 1.0) * std::tgamma(p - i + 1.0));
        EXPECT_NEAR(b[i], c * std::pow(u, i) * std::pow(1 - u, p - i), 1e-14);
      }
      EXPECT_NEAR(sum, 1.0, 1e-14);
    }
}

TEST(Bernstein, ErrorsCarryTheRoutineTag) {
  double b[4], v = 7.0;
  EXPECT_EQ(B_allber(3, 1.5, b), 1);
  EXPECT_TRUE(HasError(6, "B_ALLBER"));
  EXPECT_EQ(B_allber(3, std::nan(""), b), 1);
  EXPECT_TRUE(HasError(6, "B_ALLBER"));
  EXPECT_EQ(B_allber(-1, 0.5, b), 1);
  EXPECT_TRUE(HasError(13, "B_ALLBER"));
  EXPECT_EQ(B_allber(3, 0.5, nullptr), 1);
  EXPECT_TRUE(HasError(7, "B_ALLBER"));
  EXPECT_EQ(B_bernst(3, 4, 0.5, &v), 1);
  EXPECT_TRUE(HasError(7, "B_BERNST"));
  EXPECT_EQ(B_bernst(3, -1, 0.5, &v), 1);
  EXPECT_TRUE(HasError(7, "B_BERNST"));
  EXPECT_EQ(B_bernst(3, 1, -0.1, &v), 1);
  EXPECT_TRUE(HasError(6, "B_BERNST"));
  EXPECT_EQ(v, 7.0);
  E_clrerr();
}

TEST(BezierEvaluation, CurveMatchesCasteljauForAllKinds) {
  std::mt19937 rng(1);
  for (bool rational : {false, true}) {
    const Polygon P = random_polygon(rng, 5, rational);
    for (double u : {0.0, 0.1, 0.5, 0.9, 1.0}) {
      POINT got;
      ASSERT_EQ(B_curevn(P.data(), 5, u, &got), 0);
      expect_points_near(got, casteljau(P, u), 1e-13);
    }
  }
  // A 2-D non-rational quadratic: z comes back as 0.
  const Polygon Q = {{0, 0, kZ2D, kWNR}, {1, 2, kZ2D, kWNR}, {2, 0, kZ2D, kWNR}};
  POINT mid;
  ASSERT_EQ(B_curevn(Q.data(), 2, 0.5, &mid), 0);
  expect_points_near(mid, POINT{1, 1, 0}, 1e-15);
}

TEST(BezierEvaluation, FunctionsAndPatches) {
  // The scalar function with values 0, 1/3, 2/3, 1 is u itself.
  const double f[4] = {0.0, 1.0 / 3.0, 2.0 / 3.0, 1.0};
  double r;
  ASSERT_EQ(B_cfnevn(f, 3, 0.3, &r), 0);
  EXPECT_NEAR(r, 0.3, 1e-15);

  // The bilinear-in-degree-(2,1) patch of x = u, y = v, z = u v; and the
  // scalar patch u v.
  CPOINT rows[3][2] = {{{0, 0, 0, kWNR}, {0, 1, 0, kWNR}},
                       {{0.5, 0, 0, kWNR}, {0.5, 1, 0.5, kWNR}},
                       {{1, 0, 0, kWNR}, {1, 1, 1, kWNR}}};
  CPOINT *net[3] = {rows[0], rows[1], rows[2]};
  double vrows[3][2] = {{0, 0}, {0, 0.5}, {0, 1}};
  double *vals[3] = {vrows[0], vrows[1], vrows[2]};
  for (double u : {0.0, 0.25, 0.6, 1.0})
    for (double v : {0.0, 0.4, 1.0}) {
      POINT S;
      ASSERT_EQ(B_surevn(net, 2, 1, u, v, &S), 0);
      expect_points_near(S, POINT{u, v, u * v}, 1e-15);
      ASSERT_EQ(B_sfnevn(vals, 2, 1, u, v, &r), 0);
      EXPECT_NEAR(r, u * v, 1e-15);
    }
}

TEST(BezierEvaluation, ErrorsAndAllocationFailure) {
  const Polygon P = {{0, 0, 0, kWNR}, {1, 1, 1, kWNR}};
  POINT X;
  double r;
  EXPECT_EQ(B_curevn(P.data(), 1, 1.01, &X), 1);
  EXPECT_TRUE(HasError(6, "B_CUREVN"));
  EXPECT_EQ(B_cfnevn(nullptr, 1, 0.5, &r), 1);
  EXPECT_TRUE(HasError(7, "B_CFNEVN"));
  CPOINT row[2] = {P[0], P[1]};
  CPOINT *net[1] = {row};
  EXPECT_EQ(B_surevn(net, 0, 1, 0.5, -0.5, &X), 1);
  EXPECT_TRUE(HasError(6, "B_SUREVN"));
  EXPECT_EQ(B_sfnevn(nullptr, 0, 1, 0.5, 0.5, &r), 1);
  EXPECT_TRUE(HasError(7, "B_SFNEVN"));
  orvo::detail::fail_allocation_at(1);
  EXPECT_EQ(B_curevn(P.data(), 1, 0.5, &X), 1);
  orvo::detail::fail_allocation_at(0);
  EXPECT_TRUE(HasError(15, "S_GETR1D"));
  E_clrerr();
}

}  // namespace
