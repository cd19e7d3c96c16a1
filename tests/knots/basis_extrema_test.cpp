// Maximum of one basis function and its extreme values per span, checked
// against dense sampling of the recursive definition.
#include <cmath>
#include <vector>

#include "eval/reference.hpp"
#include "test_support.hpp"

using orvo_test::HasError;

namespace {

struct Knots {
  std::vector<double> U;
  KNOTVECTOR kv;
  explicit Knots(std::vector<double> u) : U(std::move(u)) {
    U_makknt(&kv, U.data(), static_cast<int32_t>(U.size()) - 1);
  }
};

// Least and greatest sampled value of N[i] on [a, b] (right limits inside,
// the value at b taken as the left limit so a span's closure is covered).
void sample_range(const std::vector<double> &U, int i, int p, double a, double b, double &lo,
                  double &hi) {
  lo = 1e300;
  hi = -1e300;
  const int steps = 4000;
  for (int k = 0; k <= steps; ++k) {
    const double u = a + (b - a) * k / steps;
    const double v = evaltest::cox_de_boor(U, i, p, u, k == steps ? 2 : 1);
    lo = std::min(lo, v);
    hi = std::max(hi, v);
  }
}

}  // namespace

TEST(BasisMaximum, ClosedFormCases) {
  double nmax = 0, umax = 0;
  Knots uq({0, 1, 2, 3});
  ASSERT_EQ(N_kntmax(&uq.kv, 0, 2, 1e-10, &nmax, &umax), 0);
  EXPECT_NEAR(nmax, 0.75, 1e-12);
  EXPECT_NEAR(umax, 1.5, 1e-6);

  Knots uc({0, 1, 2, 3, 4});
  ASSERT_EQ(N_kntmax(&uc.kv, 0, 3, 1e-10, &nmax, &umax), 0);
  EXPECT_NEAR(nmax, 2.0 / 3.0, 1e-12);
  EXPECT_NEAR(umax, 2.0, 1e-6);
}

TEST(BasisMaximum, UnitPeaksNeedNoSearch) {
  double nmax = 0, umax = 0;
  Knots lin({0, 0, 0.3, 1, 1});
  ASSERT_EQ(N_kntmax(&lin.kv, 1, 1, 1e-8, &nmax, &umax), 0);
  EXPECT_EQ(nmax, 1.0);
  EXPECT_EQ(umax, 0.3);
  // The first function of a clamped cubic vector: its inner knots coincide.
  Knots cub({0, 0, 0, 0, 0.4, 1, 1, 1, 1});
  ASSERT_EQ(N_kntmax(&cub.kv, 0, 3, 1e-8, &nmax, &umax), 0);
  EXPECT_EQ(nmax, 1.0);
  EXPECT_EQ(umax, 0.0);
  // Degree 0: the function is 1 on its span.
  ASSERT_EQ(N_kntmax(&cub.kv, 3, 0, 1e-8, &nmax, &umax), 0);
  EXPECT_EQ(nmax, 1.0);
}

TEST(BasisMaximum, NonUniformFunctionsAgreeWithSampling) {
  Knots k({0, 0, 0, 0, 0.1, 0.15, 0.5, 0.9, 0.9, 1, 1, 1, 1});
  const int p = 3;
  for (int i = 1; i <= static_cast<int>(k.U.size()) - p - 2; ++i) {
    double nmax = 0, umax = 0;
    ASSERT_EQ(N_kntmax(&k.kv, i, p, 1e-9, &nmax, &umax), 0) << i;
    double lo, hi;
    sample_range(k.U, i, p, k.U[i], k.U[i + p + 1], lo, hi);
    EXPECT_NEAR(nmax, hi, 1e-6) << i;
    EXPECT_GE(nmax, hi - 1e-12) << i;  // a true maximum is never below a sample
    const int side = umax == k.U.back() ? 2 : 1;
    EXPECT_NEAR(evaltest::cox_de_boor(k.U, i, p, umax, side), nmax, 1e-12) << i;
  }
}

TEST(BasisMaximum, Refusals) {
  double nmax = 0, umax = 0;
  Knots k({0, 0, 0, 1, 2, 3, 3, 3});
  EXPECT_EQ(N_kntmax(&k.kv, -1, 2, 1e-8, &nmax, &umax), 1);
  EXPECT_TRUE(HasError(7, "N_KNTMAX"));
  EXPECT_EQ(N_kntmax(&k.kv, 5, 2, 1e-8, &nmax, &umax), 1);  // i > m-p-1 = 4
  EXPECT_TRUE(HasError(7, "N_KNTMAX"));
  // A tolerance that no derivative can meet: no convergence.
  EXPECT_EQ(N_kntmax(&k.kv, 2, 2, 0.0, &nmax, &umax), 1);
  EXPECT_TRUE(HasError(12, "N_KNTMAX"));
}

TEST(BasisSpanExtrema, AgreeWithSamplingOnEverySpan) {
  Knots k({0, 0, 0, 0, 0.2, 0.3, 0.3, 0.6, 1, 1, 1, 1});
  const int p = 3;
  for (int i = 0; i <= static_cast<int>(k.U.size()) - p - 2; ++i) {
    std::vector<double> mins(p + 1), maxs(p + 1);
    double umax = -1;
    ASSERT_EQ(N_kntmma(&k.kv, i, p, 1e-9, mins.data(), maxs.data(), &umax), 0) << i;
    for (int j = 0; j <= p; ++j) {
      const double a = k.U[i + j], b = k.U[i + j + 1];
      if (a == b) continue;  // an empty span has no values of its own
      double lo, hi;
      sample_range(k.U, i, p, a, b, lo, hi);
      EXPECT_NEAR(mins[j], lo, 1e-6) << i << " span " << j;
      EXPECT_NEAR(maxs[j], hi, 1e-6) << i << " span " << j;
    }
  }
}

TEST(BasisSpanExtrema, LinearAndCoincidentInnerKnots) {
  double mins[4], maxs[4], umax;
  Knots lin({0, 0, 0.5, 1, 1});
  ASSERT_EQ(N_kntmma(&lin.kv, 1, 1, 1e-8, mins, maxs, &umax), 0);
  EXPECT_EQ(mins[0], 0.0);
  EXPECT_EQ(mins[1], 0.0);
  EXPECT_EQ(maxs[0], 1.0);
  EXPECT_EQ(maxs[1], 1.0);
  EXPECT_EQ(umax, 0.5);
  // First function of a clamped quadratic: spans 0 and 1 have no length.
  Knots q({0, 0, 0, 0.5, 1, 1, 1});
  ASSERT_EQ(N_kntmma(&q.kv, 0, 2, 1e-8, mins, maxs, &umax), 0);
  EXPECT_EQ(mins[0], 1.0);
  EXPECT_EQ(mins[1], 1.0);
  EXPECT_EQ(mins[2], 0.0);
  EXPECT_EQ(maxs[2], 1.0);
  EXPECT_EQ(umax, 0.0);
  EXPECT_EQ(N_kntmma(&q.kv, 4, 2, 1e-8, mins, maxs, &umax), 1);
  EXPECT_TRUE(HasError(7, "N_KNTMMA"));
  // A failing maximum search reports under its own name.
  EXPECT_EQ(N_kntmma(&q.kv, 1, 2, 0.0, mins, maxs, &umax), 1);
  EXPECT_TRUE(HasError(12, "N_KNTMAX"));
}
