// Bezier degree elevation and reduction.
#include "bezier/bezier_test_util.hpp"

using namespace bezier_test;

namespace {

Polygon elevated(const Polygon &P, int t) {
  const int p = static_cast<int>(P.size()) - 1;
  Polygon Q(p + t + 1);
  EXPECT_EQ(B_cdegel(P.data(), p, t, nullptr, 0, p + t, Q.data()), 0);
  return Q;
}

TEST(Elevation, MatrixHandValues) {
  Workspace ws;
  RMATRIX E;
  M_inirma(&E);
  ASSERT_EQ(B_cdemat(1, 1, &E, ws), 0);
  EXPECT_EQ(E.type, ORVO_FULL);
  EXPECT_EQ(E.n, 2);
  EXPECT_EQ(E.m, 1);
  const double want[3][2] = {{1, 0}, {0.5, 0.5}, {0, 1}};
  for (int i = 0; i <= 2; ++i)
    for (int j = 0; j <= 1; ++j) EXPECT_EQ(E.a[i][j], want[i][j]);
  // Every row of an elevation matrix sums to one.
  RMATRIX F;
  M_inirma(&F);
  ASSERT_EQ(B_cdemat(4, 3, &F, ws), 0);
  for (int i = 0; i <= 7; ++i) {
    double s = 0;
    for (int j = 0; j <= 4; ++j) s += F.a[i][j];
    EXPECT_NEAR(s, 1.0, 1e-15);
  }
}

TEST(Elevation, KeepsTheCurve) {
  std::mt19937 rng(2);
  Workspace ws;
  for (bool rational : {false, true})
    for (int p : {1, 3, 5})
      for (int t : {0, 1, 3}) {
        const Polygon P = random_polygon(rng, p, rational);
        RMATRIX E;
        M_inirma(&E);
        ASSERT_EQ(B_cdemat(p, t, &E, ws), 0);
        Polygon Q(p + t + 1);
        ASSERT_EQ(B_cdegel(P.data(), p, t, &E, 0, p + t, Q.data()), 0);
        expect_cpoints_near(Q.front(), P.front(), 0.0);
        expect_cpoints_near(Q.back(), P.back(), 0.0);
        for (double u : {0.0, 0.15, 0.5, 0.8, 1.0})
          expect_points_near(casteljau(Q, u), casteljau(P, u), 1e-13);
        // A partial range writes only Q[i0..i1], with the same values.
        Polygon R(p + t + 1, CPOINT{9, 9, 9, 9});
        ASSERT_EQ(B_cdegel(P.data(), p, t, nullptr, 1, p + t - 1, R.data()), 0);
        expect_cpoints_near(R.front(), CPOINT{9, 9, 9, 9}, 0.0);
        for (int i = 1; i < p + t; ++i) expect_cpoints_near(R[i], Q[i], 0.0);
      }
}

TEST(Elevation, InPlaceAndAlongLinesOfANet) {
  std::mt19937 rng(3);
  Polygon P = random_polygon(rng, 2, true);
  const Polygon Q = elevated(P, 2);
  P.resize(5);
  ASSERT_EQ(B_cdegel(P.data(), 2, 2, nullptr, 0, 4, P.data()), 0);
  for (int i = 0; i <= 4; ++i) expect_cpoints_near(P[i], Q[i], 0.0);

  // A 4 x 4 net holding a quadratic line in column 1 and in row 3.
  Workspace ws;
  CPOINT **net = S_getc2d(3, 3, ws), **out = S_getc2d(4, 4, ws);
  const Polygon L = random_polygon(rng, 2, false);
  for (int i = 0; i <= 2; ++i) net[i][1] = L[i];
  for (int j = 0; j <= 2; ++j) net[3][j] = L[j];
  const Polygon LE = elevated(L, 2);
  ASSERT_EQ(B_sdegel(net, 2, 2, nullptr, 1, 0, 4, 1, out), 0);
  for (int i = 0; i <= 4; ++i) expect_cpoints_near(out[i][1], LE[i], 0.0);
  ASSERT_EQ(B_sdegel(net, 2, 2, nullptr, 2, 0, 4, 3, out), 0);
  for (int i = 0; i <= 4; ++i) expect_cpoints_near(out[3][i], LE[i], 0.0);
}

TEST(Elevation, Errors) {
  Workspace ws;
  const Polygon P = {{0, 0, 0, kWNR}, {1, 1, 1, kWNR}};
  Polygon Q(4);
  EXPECT_EQ(B_cdemat(-1, 1, nullptr, ws), 1);
  EXPECT_TRUE(HasError(13, "B_CDEMAT"));
  EXPECT_EQ(B_cdegel(P.data(), 1, -1, nullptr, 0, 0, Q.data()), 1);
  EXPECT_TRUE(HasError(13, "B_CDEGEL"));
  EXPECT_EQ(B_cdegel(P.data(), 1, 2, nullptr, 0, 4, Q.data()), 1);
  EXPECT_TRUE(HasError(7, "B_CDEGEL"));
  EXPECT_EQ(B_cdegel(P.data(), 1, 2, nullptr, -1, 2, Q.data()), 1);
  EXPECT_TRUE(HasError(7, "B_CDEGEL"));
  RMATRIX E;
  M_inirma(&E);
  ASSERT_EQ(B_cdemat(1, 1, &E, ws), 0);  // matrix of p = 1, t = 1
  EXPECT_EQ(B_cdegel(P.data(), 1, 2, &E, 0, 3, Q.data()), 1);
  EXPECT_TRUE(HasError(14, "B_CDEGEL"));
  CPOINT *net[2] = {Q.data(), Q.data() + 2};
  EXPECT_EQ(B_sdegel(net, 1, 1, nullptr, 3, 0, 2, 0, net), 1);
  EXPECT_TRUE(HasError(13, "B_SDEGEL"));
  EXPECT_EQ(B_sdegel(net, 1, 1, nullptr, 1, 0, 2, -1, net), 1);
  EXPECT_TRUE(HasError(7, "B_SDEGEL"));
  E_clrerr();
}

struct Coefficients {
  std::vector<double> A1, B1, A2, B2;
  explicit Coefficients(int p) : A1(p + 1), B1(p + 1), A2(p + 1), B2(p + 1) {
    B_degrco(p, A1.data(), B1.data(), A2.data(), B2.data());
  }
};

TEST(Reduction, CoefficientsOfDegreeFour) {
  Coefficients c(4);
  EXPECT_DOUBLE_EQ(c.A1[1], 4.0 / 3.0);
  EXPECT_DOUBLE_EQ(c.B1[1], -1.0 / 3.0);
  EXPECT_DOUBLE_EQ(c.A2[2], 4.0 / 3.0);
  EXPECT_DOUBLE_EQ(c.A2[1], 2.0);
  EXPECT_DOUBLE_EQ(c.B2[1], -1.0);
}

TEST(Reduction, UndoesElevationWithZeroError) {
  std::mt19937 rng(5);
  for (bool rational : {false, true})
    for (int p : {2, 3, 4, 7}) {  // reduction from p + 1: odd and even
      const Polygon P = random_polygon(rng, p, rational);
      const Polygon Q = elevated(P, 1);
      Coefficients c(p + 1);
      Polygon R(p + 1);
      double err = -1;
      ASSERT_EQ(B_cdegre(Q.data(), p + 1, c.A1.data(), c.B1.data(), c.A2.data(), c.B2.data(),
                         R.data(), &err),
                0);
      EXPECT_NEAR(err, 0.0, 1e-12);
      for (int i = 0; i <= p; ++i) expect_cpoints_near(R[i], P[i], 1e-11);
    }
}

TEST(Reduction, BoundCoversTheDeviation) {
  // The reduced curve elevated back differs from the original only in the
  // middle control points; the bound is the largest deviation (reached
  // exactly for even degrees).
  std::mt19937 rng(6);
  for (int p : {2, 3, 4, 5, 6}) {
    const Polygon Q = random_polygon(rng, p, false);
    Coefficients c(p);
    Polygon P(p);
    double err = 0;
    ASSERT_EQ(
        B_cdegre(Q.data(), p, c.A1.data(), c.B1.data(), c.A2.data(), c.B2.data(), P.data(), &err),
        0);
    expect_cpoints_near(P.front(), Q.front(), 0.0);
    expect_cpoints_near(P.back(), Q.back(), 0.0);
    double worst = 0;
    for (int k = 0; k <= 2000; ++k) {
      const double u = k / 2000.0;
      worst = std::max(worst, distance(casteljau(P, u), casteljau(Q, u)));
    }
    EXPECT_LE(worst, err * (1 + 1e-9)) << p;
    EXPECT_GE(worst, err * (1 - 1e-4)) << p;
  }
}

TEST(Reduction, LinesOfANetReportTheLargestBound) {
  std::mt19937 rng(8);
  Workspace ws;
  const int p = 3;
  CPOINT **net = S_getc2d(p, 1, ws), **out = S_getc2d(p, 1, ws);
  const Polygon L0 = random_polygon(rng, p, true), L1 = random_polygon(rng, p, true);
  for (int i = 0; i <= p; ++i) {
    net[i][0] = L0[i];
    net[i][1] = L1[i];
  }
  Coefficients c(p);
  double e0, e1, e;
  Polygon R0(p), R1(p);
  ASSERT_EQ(
      B_cdegre(L0.data(), p, c.A1.data(), c.B1.data(), c.A2.data(), c.B2.data(), R0.data(), &e0),
      0);
  ASSERT_EQ(
      B_cdegre(L1.data(), p, c.A1.data(), c.B1.data(), c.A2.data(), c.B2.data(), R1.data(), &e1),
      0);
  ASSERT_EQ(B_sdegre(net, p, c.A1.data(), c.B1.data(), c.A2.data(), c.B2.data(), 1, 1, out, &e), 0);
  EXPECT_EQ(e, std::max(e0, e1));
  for (int i = 0; i < p; ++i) {
    expect_cpoints_near(out[i][0], R0[i], 0.0);
    expect_cpoints_near(out[i][1], R1[i], 0.0);
  }
  // Rows of the transposed net, reduced in place.
  CPOINT **tn = S_getc2d(1, p, ws);
  for (int i = 0; i <= p; ++i) {
    tn[0][i] = L0[i];
    tn[1][i] = L1[i];
  }
  ASSERT_EQ(B_sdegre(tn, p, c.A1.data(), c.B1.data(), c.A2.data(), c.B2.data(), 2, 1, tn, &e), 0);
  EXPECT_EQ(e, std::max(e0, e1));
  for (int i = 0; i < p; ++i) expect_cpoints_near(tn[1][i], R1[i], 0.0);
}

TEST(Reduction, Errors) {
  Coefficients c(3);
  const Polygon Q = {{0, 0, 0, kWNR}, {1, 1, 1, kWNR}};
  Polygon P(2);
  double err;
  EXPECT_EQ(
      B_cdegre(Q.data(), 1, c.A1.data(), c.B1.data(), c.A2.data(), c.B2.data(), P.data(), &err), 1);
  EXPECT_TRUE(HasError(13, "B_CDEGRE"));
  EXPECT_EQ(B_cdegre(Q.data(), 3, nullptr, c.B1.data(), c.A2.data(), c.B2.data(), P.data(), &err),
            1);
  EXPECT_TRUE(HasError(7, "B_CDEGRE"));
  CPOINT *net[1] = {P.data()};
  EXPECT_EQ(B_sdegre(net, 3, c.A1.data(), c.B1.data(), c.A2.data(), c.B2.data(), 0, 0, net, &err),
            1);
  EXPECT_TRUE(HasError(13, "B_SDEGRE"));
  E_clrerr();
}

}  // namespace
