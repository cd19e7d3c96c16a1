// Conversion and reparametrisation matrices, and the Bezier <-> power
// conversions of curves and patches.
#include <numeric>

#include "bezier/bezier_test_util.hpp"

using namespace bezier_test;

namespace {

RMATRIX empty() {
  RMATRIX r;
  M_inirma(&r);
  return r;
}

TEST(PowerMatrix, EntriesAndInverse) {
  Workspace ws;
  RMATRIX M = empty(), MI = empty(), C = empty();
  ASSERT_EQ(B_powmat(2, &M, ws), 0);
  EXPECT_EQ(M.type, ORVO_LOWERLEFT);
  EXPECT_EQ((std::vector<double>{M.a[0][0], M.a[1][0], M.a[1][1], M.a[2][0], M.a[2][1], M.a[2][2]}),
            (std::vector<double>{1, -2, 2, 1, -2, 1}));
  M = empty();
  ASSERT_EQ(B_powmat(5, &M, ws), 0);
  EXPECT_EQ(M.a[4][1], -20.0);  // -C(5, 4) C(4, 1)
  ASSERT_EQ(B_ipomat(5, &MI, ws), 0);
  EXPECT_EQ(MI.type, ORVO_LOWERLEFT);
  ASSERT_EQ(M_rmamul(&MI, &M, &C, ws), 0);
  for (int i = 0; i <= 5; ++i)
    for (int j = 0; j <= i; ++j) EXPECT_NEAR(C.a[i][j], i == j, 1e-13);
}

TEST(Reparametrisation, HandValuesAndDirectEvaluation) {
  Workspace ws;
  RMATRIX R = empty(), F = empty(), B = empty();
  ASSERT_EQ(B_repmat(3, 0, 2, 0, 1, &R, ws), 0);  // L = 0.5, K = 0
  EXPECT_EQ(R.type, ORVO_UPPERRIGHT);
  EXPECT_EQ((std::vector<double>{R.a[1][1], R.a[3][3], R.a[0][1], R.a[1][3]}),
            (std::vector<double>{0.5, 0.125, 0, 0}));

  // Coefficients in t on [c, d] become F c in u on [a, b], t = L u + K.
  const double a = -1.5, b = 2.0, c = 0.25, d = 3.0, coef[5] = {0.7, -1.2, 0.4, 2.0, -0.3};
  ASSERT_EQ(B_repmat(4, a, b, c, d, &F, ws), 0);
  ASSERT_EQ(B_iremat(4, a, b, c, d, &B, ws), 0);
  double inu[5] = {0};
  for (int i = 0; i <= 4; ++i)
    for (int j = i; j <= 4; ++j) inu[i] += F.a[i][j] * coef[j];
  for (double u : {a, -0.3, 0.5, 1.7, b}) {
    const double t = c + (u - a) * (d - c) / (b - a);
    double pu = 0, pt = 0;
    for (int k = 4; k >= 0; --k) pu = pu * u + inu[k], pt = pt * t + coef[k];
    EXPECT_NEAR(pu, pt, 1e-12 * std::max(1.0, std::fabs(pt)));
  }
  for (int i = 0; i <= 4; ++i)  // the reverse matrix takes them back
    EXPECT_NEAR(std::inner_product(B.a[i] + i, B.a[i] + 5, inu + i, 0.0), coef[i], 1e-12);
}

TEST(PowerConversion, CurveRoundTripAndHeldMatrices) {
  // Power coefficients far from the origin are large and cancel: the round
  // trip over [1.5, 4] loses about two more digits than near the origin.
  const double intervals[3][3] = {{0, 1, 1e-12}, {-1, 2.5, 1e-12}, {1.5, 4, 1e-10}};
  std::mt19937 rng(4);
  Workspace ws;
  for (const auto &iv : intervals)
    for (bool rational : {false, true})
      for (int p : {1, 3, 6}) {
        const double a = iv[0], b = iv[1];
        const Polygon P = random_polygon(rng, p, rational);
        RMATRIX M = empty();
        Polygon coef(p + 1), back(p + 1), again(p + 1);
        ASSERT_EQ(B_cbepow(P.data(), p, &M, a, b, coef.data(), ws), 0);
        EXPECT_FALSE(M_isrman(&M));  // the matrix stays with the caller
        for (double u : {a, 0.3 * a + 0.7 * b, b})
          expect_near(horner(coef, u), casteljau(P, (u - a) / (b - a)), 1e-11);
        ASSERT_EQ(B_cpobez(coef.data(), p, nullptr, a, b, back.data(), ws), 0);
        for (int i = 0; i <= p; ++i) expect_near(back[i], P[i], iv[2]);
        ASSERT_EQ(B_cbepow(P.data(), p, &M, a, b, again.data(), ws), 0);  // held M
        for (int i = 0; i <= p; ++i) expect_near(again[i], coef[i], 0.0);
      }
  // 2-D points keep their marker: coefficients P0, 2 (P1 - P0), P0 - 2 P1 + P2.
  const Polygon Q = {{0, 0, kZ2D, kWNR}, {1, 2, kZ2D, kWNR}, {3, 1, kZ2D, kWNR}};
  Polygon coef(3);
  ASSERT_EQ(B_cbepow(Q.data(), 2, nullptr, 0, 1, coef.data(), ws), 0);
  expect_near(coef[1], CPOINT{2, 4, kZ2D, kWNR}, 1e-15);
  expect_near(coef[2], CPOINT{1, -3, kZ2D, kWNR}, 1e-15);
  // Over [1, 1] the polynomial is the single point C(1) = sum of coefficients.
  ASSERT_EQ(B_cpobez(Q.data(), 2, nullptr, 1, 1, coef.data(), ws), 0);
  for (const CPOINT &q : coef) expect_near(q, CPOINT{4, 3, kZ2D, kWNR}, 1e-15);
}

TEST(PowerConversion, PatchRoundTripAndEvaluation) {
  std::mt19937 rng(9);
  Workspace ws;
  const int p = 2, q = 3;
  const double a = -1, b = 1, c = 2, d = 5;
  std::vector<Polygon> rows;
  std::vector<CPOINT *> net;
  for (int i = 0; i <= p; ++i) rows.push_back(random_polygon(rng, q, true));
  for (auto &r : rows) net.push_back(r.data());
  CPOINT **coef = S_getc2d(p, q, ws), **back = S_getc2d(p, q, ws);
  RMATRIX Mu = empty(), Mv = empty();
  ASSERT_EQ(B_sbepow(net.data(), p, q, &Mu, &Mv, a, b, c, d, coef, ws), 0);
  for (double u : {-1.0, 0.2})
    for (double v : {3.1, 5.0}) {
      CPOINT s{0, 0, 0, 0};
      for (int i = 0; i <= p; ++i)
        for (int j = 0; j <= q; ++j) s = axpby(1.0, s, std::pow(u, i) * std::pow(v, j), coef[i][j]);
      POINT S;
      ASSERT_EQ(B_surevn(net.data(), p, q, (u - a) / (b - a), (v - c) / (d - c), &S), 0);
      expect_near(project(s), S, 1e-10);
    }
  ASSERT_EQ(B_spobez(coef, p, q, nullptr, nullptr, a, b, c, d, back, ws), 0);
  for (int i = 0; i <= p; ++i)
    for (int j = 0; j <= q; ++j) expect_near(back[i][j], rows[i][j], 1e-11);
}

TEST(PowerConversion, Errors) {
  Workspace ws;
  RMATRIX R = empty(), M = empty();
  const Polygon P(4, CPOINT{1, 1, 1, kWNR});
  Polygon out(4);
  EXPECT_TRUE(Fails(B_repmat(2, 1, 1 + 1e-13, 0, 1, &R, ws), 14, "B_REPMAT"));
  EXPECT_TRUE(Fails(B_iremat(2, 0, 1, 5, 5, &R, ws), 14, "B_IREMAT"));
  EXPECT_TRUE(Fails(B_repmat(2, 0, 1e-6, 0, 1e303, &R, ws), 11, "B_REPMAT"));  // L overflows
  EXPECT_TRUE(Fails(B_ipomat(-1, &R, ws), 13, "B_IPOMAT"));
  EXPECT_TRUE(Fails(B_powmat(1100, &R, ws), 11, "B_POWMAT"));  // C(1100, 550) overflows
  ASSERT_EQ(B_powmat(2, &M, ws), 0);
  EXPECT_TRUE(Fails(B_powmat(3, &M, ws), 9, "B_POWMAT"));  // the record holds a smaller matrix
  EXPECT_TRUE(Fails(B_cbepow(P.data(), 3, &M, 0, 1, out.data(), ws), 14,
                    "B_CBEPOW"));  // held M of degree 2
  EXPECT_TRUE(Fails(B_cpobez(P.data(), -1, nullptr, 0, 1, out.data(), ws), 13, "B_CPOBEZ"));
  E_clrerr();
}

}  // namespace
