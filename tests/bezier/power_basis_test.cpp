// Conversion and reparametrisation matrices, and the Bezier <-> power
// conversions of curves and patches.
#include "bezier/bezier_test_util.hpp"

using namespace bezier_test;

namespace {

double entry(const RMATRIX &M, int i, int j) { return M.a[i][j]; }

TEST(PowerMatrix, QuadraticRowsAndGeneralEntries) {
  Workspace ws;
  RMATRIX M;
  M_inirma(&M);
  ASSERT_EQ(B_powmat(2, &M, ws), 0);
  EXPECT_EQ(M.type, ORVO_LOWERLEFT);
  EXPECT_EQ(M.n, 2);
  EXPECT_EQ(entry(M, 0, 0), 1);
  EXPECT_EQ(entry(M, 1, 0), -2);
  EXPECT_EQ(entry(M, 1, 1), 2);
  EXPECT_EQ(entry(M, 2, 0), 1);
  EXPECT_EQ(entry(M, 2, 1), -2);
  EXPECT_EQ(entry(M, 2, 2), 1);

  // Degree 5: (-1)^(i-j) C(5, i) C(i, j); odd degree ends M[5][0] = -1.
  RMATRIX M5;
  M_inirma(&M5);
  ASSERT_EQ(B_powmat(5, &M5, ws), 0);
  const double c5[6] = {1, 5, 10, 10, 5, 1};
  for (int i = 0; i <= 5; ++i)
    for (int j = 0; j <= i; ++j) {
      double cij = 1;
      for (int k = 1; k <= j; ++k) cij = cij * (i - j + k) / k;
      EXPECT_EQ(entry(M5, i, j), ((i - j) % 2 ? -1 : 1) * c5[i] * cij) << i << "," << j;
    }
  EXPECT_EQ(entry(M5, 5, 0), -1);
}

TEST(PowerMatrix, InverseTimesMatrixIsIdentity) {
  Workspace ws;
  for (int p : {0, 1, 4, 9}) {
    RMATRIX M, MI, C;
    M_inirma(&M);
    M_inirma(&MI);
    M_inirma(&C);
    ASSERT_EQ(B_powmat(p, &M, ws), 0);
    ASSERT_EQ(B_ipomat(p, &MI, ws), 0);
    EXPECT_EQ(MI.type, ORVO_LOWERLEFT);
    ASSERT_EQ(M_rmamul(&MI, &M, &C, ws), 0);
    for (int i = 0; i <= p; ++i)
      for (int j = 0; j <= i; ++j) EXPECT_NEAR(C.a[i][j], i == j ? 1.0 : 0.0, 1e-12);
  }
}

TEST(Reparametrisation, HandValuesAndDirectEvaluation) {
  Workspace ws;
  RMATRIX R;
  M_inirma(&R);
  // [0, 2] onto [0, 1]: L = 0.5, K = 0, a diagonal of powers of one half.
  ASSERT_EQ(B_repmat(3, 0, 2, 0, 1, &R, ws), 0);
  EXPECT_EQ(R.type, ORVO_UPPERRIGHT);
  for (int i = 0; i <= 3; ++i)
    for (int j = i; j <= 3; ++j) EXPECT_EQ(entry(R, i, j), i == j ? std::pow(0.5, i) : 0.0);

  // Coefficients c in t on [c, d] become R c in u on [a, b], t = L u + K.
  const double a = -1.5, b = 2.0, c = 0.25, d = 3.0;
  const double coef[5] = {0.7, -1.2, 0.4, 2.0, -0.3};
  RMATRIX F, B;
  M_inirma(&F);
  M_inirma(&B);
  ASSERT_EQ(B_repmat(4, a, b, c, d, &F, ws), 0);
  ASSERT_EQ(B_iremat(4, a, b, c, d, &B, ws), 0);
  double inu[5] = {0};
  for (int i = 0; i <= 4; ++i)
    for (int j = i; j <= 4; ++j) inu[i] += F.a[i][j] * coef[j];
  for (double u : {a, -0.3, 0.5, 1.7, b}) {
    const double t = c + (u - a) * (d - c) / (b - a);
    double pu = 0, pt = 0;
    for (int k = 4; k >= 0; --k) {
      pu = pu * u + inu[k];
      pt = pt * t + coef[k];
    }
    EXPECT_NEAR(pu, pt, 1e-12 * std::max(1.0, std::fabs(pt)));
  }
  // The reverse map takes the coefficients in u back to those in t.
  for (int i = 0; i <= 4; ++i) {
    double back = 0;
    for (int j = i; j <= 4; ++j) back += B.a[i][j] * inu[j];
    EXPECT_NEAR(back, coef[i], 1e-12);
  }
}

TEST(Reparametrisation, Errors) {
  Workspace ws;
  RMATRIX R;
  M_inirma(&R);
  EXPECT_EQ(B_repmat(2, 1, 1, 0, 1, &R, ws), 1);
  EXPECT_TRUE(HasError(14, "B_REPMAT"));
  EXPECT_EQ(B_repmat(2, 1, 1 + 1e-13, 0, 1, &R, ws), 1);
  EXPECT_TRUE(HasError(14, "B_REPMAT"));
  EXPECT_EQ(B_repmat(2, 2, 1, 0, 1, &R, ws), 1);  // reversed interval
  EXPECT_TRUE(HasError(14, "B_REPMAT"));
  EXPECT_EQ(B_iremat(2, 0, 1, 5, 5, &R, ws), 1);
  EXPECT_TRUE(HasError(14, "B_IREMAT"));
  EXPECT_EQ(B_repmat(2, 0, 1e-6, 0, 1e303, &R, ws), 1);  // L overflows
  EXPECT_TRUE(HasError(11, "B_REPMAT"));
  EXPECT_TRUE(M_isrman(&R));
  EXPECT_EQ(B_repmat(-1, 0, 1, 0, 1, &R, ws), 1);
  EXPECT_TRUE(HasError(13, "B_REPMAT"));
  EXPECT_EQ(B_iremat(-2, 0, 1, 0, 1, &R, ws), 1);
  EXPECT_TRUE(HasError(13, "B_IREMAT"));
  EXPECT_EQ(B_powmat(-1, &R, ws), 1);
  EXPECT_TRUE(HasError(13, "B_POWMAT"));
  EXPECT_EQ(B_ipomat(-1, &R, ws), 1);
  EXPECT_TRUE(HasError(13, "B_IPOMAT"));
  // A record already holding a smaller matrix is too small.
  ASSERT_EQ(B_powmat(2, &R, ws), 0);
  EXPECT_EQ(B_powmat(3, &R, ws), 1);
  EXPECT_TRUE(HasError(9, "B_POWMAT"));
  E_clrerr();
}

TEST(PowerConversion, CurveRoundTripAndEvaluation) {
  // Power coefficients far from the origin are large and cancel: the round
  // trip over [1.5, 4] loses about two more digits than near the origin.
  struct Interval {
    double a, b, rel;
  };
  std::mt19937 rng(4);
  Workspace ws;
  for (const Interval &iv :
       {Interval{0, 1, 1e-12}, Interval{-1, 2.5, 1e-12}, Interval{1.5, 4, 1e-10}})
    for (bool rational : {false, true})
      for (int p : {1, 3, 6}) {
        const Polygon P = random_polygon(rng, p, rational);
        const double a = iv.a, b = iv.b;
        RMATRIX M, MI;
        M_inirma(&M);
        M_inirma(&MI);
        Polygon coef(p + 1), back(p + 1);
        ASSERT_EQ(B_cbepow(P.data(), p, &M, a, b, coef.data(), ws), 0);
        EXPECT_FALSE(M_isrman(&M));  // the matrix stays with the caller
        for (double u : {a, 0.3 * a + 0.7 * b, 0.5 * (a + b), b})
          expect_points_near(horner(coef, u), casteljau(P, (u - a) / (b - a)), 1e-11);
        ASSERT_EQ(B_cpobez(coef.data(), p, &MI, a, b, back.data(), ws), 0);
        for (int i = 0; i <= p; ++i) expect_cpoints_near(back[i], P[i], iv.rel);
        // A held matrix is used as it is; without a record one is built.
        Polygon again(p + 1);
        ASSERT_EQ(B_cbepow(P.data(), p, &M, a, b, again.data(), ws), 0);
        for (int i = 0; i <= p; ++i) expect_cpoints_near(again[i], coef[i], 0.0);
        ASSERT_EQ(B_cpobez(coef.data(), p, nullptr, a, b, again.data(), ws), 0);
        for (int i = 0; i <= p; ++i) expect_cpoints_near(again[i], back[i], 0.0);
      }
}

TEST(PowerConversion, PowerFormOnADegenerateIntervalIsItsPoint) {
  // Over [1, 1] the polynomial is the single point C(1): every Bezier
  // point equals the sum of the coefficients.
  Workspace ws;
  const Polygon coef = {{1, 2, 3, kWNR}, {0.5, 0, -1, kWNR}, {2, 1, 1, kWNR}};
  Polygon P(3);
  ASSERT_EQ(B_cpobez(coef.data(), 2, nullptr, 1, 1, P.data(), ws), 0);
  for (const CPOINT &q : P) expect_cpoints_near(q, CPOINT{3.5, 3, 3, kWNR}, 1e-15);
}

TEST(PowerConversion, TwoDimensionalPointsKeepTheirMarker) {
  Workspace ws;
  const Polygon P = {{0, 0, kZ2D, kWNR}, {1, 2, kZ2D, kWNR}, {3, 1, kZ2D, kWNR}};
  Polygon coef(3);
  ASSERT_EQ(B_cbepow(P.data(), 2, nullptr, 0, 1, coef.data(), ws), 0);
  // (1-t)^2 P0 + 2t(1-t) P1 + t^2 P2 = P0 + 2t (P1 - P0) + t^2 (P0 - 2P1 + P2).
  expect_cpoints_near(coef[1], CPOINT{2, 4, kZ2D, kWNR}, 1e-15);
  expect_cpoints_near(coef[2], CPOINT{1, -3, kZ2D, kWNR}, 1e-15);
}

TEST(PowerConversion, PatchRoundTripAndEvaluation) {
  std::mt19937 rng(9);
  Workspace ws;
  const int p = 2, q = 3;
  std::vector<Polygon> rows;
  for (int i = 0; i <= p; ++i) rows.push_back(random_polygon(rng, q, true));
  std::vector<CPOINT *> net;
  for (auto &r : rows) net.push_back(r.data());
  CPOINT **coef = S_getc2d(p, q, ws), **back = S_getc2d(p, q, ws);
  RMATRIX Mu, Mv;
  M_inirma(&Mu);
  M_inirma(&Mv);
  const double a = -1, b = 1, c = 2, d = 5;
  ASSERT_EQ(B_sbepow(net.data(), p, q, &Mu, &Mv, a, b, c, d, coef, ws), 0);
  for (double u : {-1.0, 0.2, 1.0})
    for (double v : {2.0, 3.1, 5.0}) {
      // sum coef[i][j] u^i v^j in homogeneous coordinates.
      H s{0, 0, 0, 0};
      for (int i = 0; i <= p; ++i)
        for (int j = 0; j <= q; ++j) {
          const double f = std::pow(u, i) * std::pow(v, j);
          const H h = homogeneous(coef[i][j]);
          s = H{s.x + f * h.x, s.y + f * h.y, s.z + f * h.z, s.w + f * h.w};
        }
      POINT S;
      ASSERT_EQ(B_surevn(net.data(), p, q, (u - a) / (b - a), (v - c) / (d - c), &S), 0);
      expect_points_near(project(s), S, 1e-10);
    }
  ASSERT_EQ(B_spobez(coef, p, q, nullptr, nullptr, a, b, c, d, back, ws), 0);
  for (int i = 0; i <= p; ++i)
    for (int j = 0; j <= q; ++j) expect_cpoints_near(back[i][j], rows[i][j], 1e-11);
}

TEST(PowerConversion, HeldMatrixOfAnotherDegreeIsRefused) {
  Workspace ws;
  RMATRIX M;
  M_inirma(&M);
  ASSERT_EQ(B_powmat(2, &M, ws), 0);
  const Polygon P = {{0, 0, 0, kWNR}, {1, 0, 0, kWNR}, {1, 1, 0, kWNR}, {0, 1, 0, kWNR}};
  Polygon coef(4);
  EXPECT_EQ(B_cbepow(P.data(), 3, &M, 0, 1, coef.data(), ws), 1);
  EXPECT_TRUE(HasError(14, "B_CBEPOW"));
  RMATRIX MI;
  M_inirma(&MI);
  ASSERT_EQ(B_ipomat(3, &MI, ws), 0);
  EXPECT_EQ(B_cpobez(P.data(), 2, &MI, 0, 1, coef.data(), ws), 1);
  EXPECT_TRUE(HasError(14, "B_CPOBEZ"));
  EXPECT_EQ(B_cbepow(P.data(), -1, nullptr, 0, 1, coef.data(), ws), 1);
  EXPECT_TRUE(HasError(13, "B_CBEPOW"));
  E_clrerr();
}

}  // namespace
