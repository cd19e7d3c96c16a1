// Maximum of one basis function and its extreme values per span, checked
// against dense sampling of the recursive definition.
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

// Least and greatest sampled value of N[i] on [a, b] (the value at b taken
// as the left limit, so that the closed span is covered).
std::pair<double, double> sampled(const std::vector<double> &U, int i, int p, double a, double b) {
  double lo = 1e300, hi = -1e300;
  for (int k = 0; k <= 4000; ++k) {
    const double v = evaltest::cox_de_boor(U, i, p, a + (b - a) * k / 4000, k == 4000 ? 2 : 1);
    lo = std::min(lo, v);
    hi = std::max(hi, v);
  }
  return {lo, hi};
}

}  // namespace

TEST(BasisMaximum, ClosedFormsAndUnitPeaks) {
  double nmax = 0, umax = 0;
  Knots q({0, 1, 2, 3}), c({0, 1, 2, 3, 4});
  ASSERT_EQ(N_kntmax(&q.kv, 0, 2, 1e-10, &nmax, &umax), 0);
  EXPECT_NEAR(nmax, 0.75, 1e-12);
  EXPECT_NEAR(umax, 1.5, 1e-6);
  ASSERT_EQ(N_kntmax(&c.kv, 0, 3, 1e-10, &nmax, &umax), 0);
  EXPECT_NEAR(nmax, 2.0 / 3.0, 1e-12);
  EXPECT_NEAR(umax, 2.0, 1e-6);
  // Degree 1, and a first function whose inner knots coincide: 1 at U[i+1].
  Knots k({0, 0, 0, 0, 0.4, 1, 1, 1, 1});
  ASSERT_EQ(N_kntmax(&k.kv, 3, 1, 1e-8, &nmax, &umax), 0);
  EXPECT_EQ(nmax, 1.0);
  EXPECT_EQ(umax, 0.4);
  ASSERT_EQ(N_kntmax(&k.kv, 0, 3, 1e-8, &nmax, &umax), 0);
  EXPECT_EQ(nmax, 1.0);
  EXPECT_EQ(umax, 0.0);
  // Their span extrema: 0 and 1 on each span of the linear function; the
  // first cubic function is 1 on its empty spans 0..2 and falls on span 3.
  double mins[4], maxs[4];
  ASSERT_EQ(N_kntmma(&k.kv, 3, 1, 1e-8, mins, maxs, &umax), 0);
  EXPECT_TRUE(mins[0] == 0.0 && mins[1] == 0.0 && maxs[0] == 1.0 && maxs[1] == 1.0);
  ASSERT_EQ(N_kntmma(&k.kv, 0, 3, 1e-8, mins, maxs, &umax), 0);
  EXPECT_TRUE(mins[0] == 1.0 && mins[2] == 1.0 && mins[3] == 0.0 && maxs[3] == 1.0 && umax == 0.0);
}

// Every function of a non-uniform cubic vector with double knots: the
// maximum and the per-span extrema agree with sampling.
TEST(BasisMaximum, AgreesWithSampling) {
  Knots k({0, 0, 0, 0, 0.1, 0.15, 0.3, 0.3, 0.6, 0.9, 0.9, 1, 1, 1, 1});
  const int p = 3;
  for (int i = 0; i <= static_cast<int>(k.U.size()) - p - 2; ++i) {
    double nmax = 0, umax = 0, mins[4], maxs[4], where = -1;
    ASSERT_EQ(N_kntmax(&k.kv, i, p, 1e-9, &nmax, &umax), 0) << i;
    ASSERT_EQ(N_kntmma(&k.kv, i, p, 1e-9, mins, maxs, &where), 0) << i;
    EXPECT_EQ(where, umax);
    const auto whole = sampled(k.U, i, p, k.U[i], k.U[i + p + 1]);
    EXPECT_NEAR(nmax, whole.second, 1e-6) << i;
    EXPECT_GE(nmax, whole.second - 1e-12) << i;
    const int side = umax == k.U.back() ? 2 : 1;
    EXPECT_NEAR(evaltest::cox_de_boor(k.U, i, p, umax, side), nmax, 1e-12) << i;
    for (int j = 0; j <= p; ++j) {
      if (k.U[i + j] == k.U[i + j + 1]) continue;  // an empty span has no values
      const auto span = sampled(k.U, i, p, k.U[i + j], k.U[i + j + 1]);
      EXPECT_NEAR(mins[j], span.first, 1e-6) << i << " " << j;
      EXPECT_NEAR(maxs[j], span.second, 1e-6) << i << " " << j;
    }
  }
}

TEST(BasisMaximum, Refusals) {
  double nmax, umax, mins[3], maxs[3];
  Knots k({0, 0, 0, 1, 2, 3, 3, 3});
  for (int i : {-1, 5}) {
    EXPECT_EQ(N_kntmax(&k.kv, i, 2, 1e-8, &nmax, &umax), 1);
    EXPECT_TRUE(HasError(7, "N_KNTMAX"));
    EXPECT_EQ(N_kntmma(&k.kv, i, 2, 1e-8, mins, maxs, &umax), 1);
    EXPECT_TRUE(HasError(7, "N_KNTMMA"));
  }
  // A tolerance no derivative can meet: no convergence, reported by the
  // search also when called from the span extrema.
  EXPECT_EQ(N_kntmax(&k.kv, 2, 2, 0.0, &nmax, &umax), 1);
  EXPECT_TRUE(HasError(12, "N_KNTMAX"));
  EXPECT_EQ(N_kntmma(&k.kv, 2, 2, 0.0, mins, maxs, &umax), 1);
  EXPECT_TRUE(HasError(12, "N_KNTMAX"));
}

// Knots so far from zero that a tenth of a span is below their spacing: the
// scan for the maximum must still end, with a value or a documented error.
TEST(BasisExtremaTest, MaximumEndsWhereStepsVanishBelowTheKnotSpacing) {
  Knots k({1e16, 1e16 + 2, 1e16 + 4, 1e16 + 6, 1e16 + 8});
  double nmax = 0.0, umax = 0.0;
  E_clrerr();
  if (N_kntmax(&k.kv, 0, 2, 1e-10, &nmax, &umax) == 0)
    EXPECT_NEAR(nmax, 0.75, 0.1);
  else
    EXPECT_TRUE(HasError(12, "N_KNTMAX"));
}
