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

struct Reducer {
  std::vector<double> A1, B1, A2, B2;
  explicit Reducer(int p) : A1(p + 1), B1(p + 1), A2(p + 1), B2(p + 1) {
    B_degrco(p, A1.data(), B1.data(), A2.data(), B2.data());
  }
  int16_t curve(const Polygon &Q, Polygon &P, double &err) const {
    P.resize(Q.size() - 1);
    return B_cdegre(Q.data(), Q.size() - 1, A1.data(), B1.data(), A2.data(), B2.data(), P.data(),
                    &err);
  }
  int16_t net(CPOINT **Q, int p, int dir, int m, double &err) const {
    return B_sdegre(Q, p, A1.data(), B1.data(), A2.data(), B2.data(), dir, m, Q, &err);
  }
};

TEST(Elevation, MatrixAndCurveKept) {
  Workspace ws;
  RMATRIX E;
  M_inirma(&E);
  ASSERT_EQ(B_cdemat(1, 1, &E, ws), 0);
  EXPECT_EQ((std::vector<double>{E.a[0][0], E.a[0][1], E.a[1][0], E.a[1][1], E.a[2][0], E.a[2][1]}),
            (std::vector<double>{1, 0, 0.5, 0.5, 0, 1}));
  std::mt19937 rng(2);
  for (bool rational : {false, true})
    for (int p : {1, 3, 5})
      for (int t : {0, 1, 3}) {
        const Polygon P = random_polygon(rng, p, rational), Q = elevated(P, t);
        for (double u : {0.0, 0.15, 0.5, 0.8, 1.0})
          expect_near(casteljau(Q, u), casteljau(P, u), 1e-13);
      }
  // A held matrix and a partial range: only Q[1..3] are written.
  const Polygon P = random_polygon(rng, 3, true), Q = elevated(P, 1);
  Polygon R(5, CPOINT{9, 9, 9, 9});
  M_inirma(&E);
  ASSERT_EQ(B_cdemat(3, 1, &E, ws), 0);
  ASSERT_EQ(B_cdegel(P.data(), 3, 1, &E, 1, 3, R.data()), 0);
  for (int i = 0; i <= 4; ++i) expect_near(R[i], i % 4 ? Q[i] : CPOINT{9, 9, 9, 9}, 0.0);
  // The same along column 4 and row 3 of a net holding P.
  CPOINT **net = S_getc2d(3, 4, ws), **out = S_getc2d(4, 4, ws);
  for (int i = 0; i <= 3; ++i) net[i][4] = net[3][i] = P[i];
  for (int dir : {1, 2}) {
    ASSERT_EQ(B_sdegel(net, 3, 1, &E, dir, 0, 4, dir == 1 ? 4 : 3, out), 0);
    for (int i = 0; i <= 4; ++i) expect_near(dir == 1 ? out[i][4] : out[3][i], Q[i], 0.0);
  }
}

TEST(Reduction, CoefficientsAndUndoingElevation) {
  const Reducer c4(4);
  EXPECT_EQ((std::vector<double>{c4.A1[1], c4.A2[2], c4.A2[1], c4.B2[1]}),
            (std::vector<double>{4.0 / 3.0, 4.0 / 3.0, 2.0, -1.0}));
  std::mt19937 rng(5);
  for (bool rational : {false, true})
    for (int p : {2, 3, 4, 7}) {  // reductions from odd and even degrees
      const Polygon P = random_polygon(rng, p, rational);
      Polygon R;
      double err = -1;
      ASSERT_EQ(Reducer(p + 1).curve(elevated(P, 1), R, err), 0);
      EXPECT_NEAR(err, 0.0, 1e-12);
      for (int i = 0; i <= p; ++i) expect_near(R[i], P[i], 1e-11);
    }
}

TEST(Reduction, BoundIsTheLargestDeviationAndNetsTakeTheWorstLine) {
  // The reduced curve differs from the original by a multiple of the
  // Bernstein polynomials of the middle; the bound is its maximum.
  std::mt19937 rng(6);
  for (int p : {2, 3, 4, 5, 6}) {
    const Polygon Q = random_polygon(rng, p, false);
    Polygon P;
    double err = 0, worst = 0;
    ASSERT_EQ(Reducer(p).curve(Q, P, err), 0);
    for (int k = 0; k <= 2000; ++k)
      worst = std::max(worst, distance(casteljau(P, k / 2000.0), casteljau(Q, k / 2000.0)));
    EXPECT_LE(worst, err * (1 + 1e-9)) << p;
    EXPECT_GE(worst, err * (1 - 1e-4)) << p;
  }
  Workspace ws;  // two columns of a net, reduced in place
  const Reducer c(3);
  const Polygon L0 = random_polygon(rng, 3, true), L1 = random_polygon(rng, 3, true);
  CPOINT **net = S_getc2d(3, 1, ws);
  for (int i = 0; i <= 3; ++i) net[i][0] = L0[i], net[i][1] = L1[i];
  Polygon R0, R1;
  double e0, e1, e;
  ASSERT_EQ(c.curve(L0, R0, e0) + c.curve(L1, R1, e1) + c.net(net, 3, 1, 1, e), 0);
  EXPECT_EQ(e, std::max(e0, e1));
  for (int i = 0; i < 3; ++i) expect_near(net[i][1], R1[i], 0.0);
}

TEST(DegreeChange, Errors) {
  Workspace ws;
  const Polygon P = {{0, 0, 0, kWNR}, {1, 1, 1, kWNR}};
  Polygon Q(4), R;
  CPOINT *net[2] = {Q.data(), Q.data() + 2};
  RMATRIX E;
  M_inirma(&E);
  const Reducer c(3);
  double err;
  EXPECT_TRUE(Fails(B_cdemat(-1, 1, &E, ws), 13, "B_CDEMAT"));
  EXPECT_TRUE(Fails(B_cdegel(P.data(), 1, -1, nullptr, 0, 0, Q.data()), 13, "B_CDEGEL"));
  EXPECT_TRUE(Fails(B_cdegel(P.data(), 1, 2, nullptr, 0, 4, Q.data()), 7, "B_CDEGEL"));
  ASSERT_EQ(B_cdemat(1, 1, &E, ws), 0);  // held matrix of p = 1, t = 1
  EXPECT_TRUE(Fails(B_cdegel(P.data(), 1, 2, &E, 0, 3, Q.data()), 14, "B_CDEGEL"));
  EXPECT_TRUE(Fails(B_sdegel(net, 1, 1, nullptr, 3, 0, 2, 0, net), 13, "B_SDEGEL"));
  EXPECT_TRUE(Fails(B_sdegel(net, 1, 1, nullptr, 1, 0, 2, -1, net), 7, "B_SDEGEL"));
  EXPECT_TRUE(Fails(c.curve(P, R, err), 13, "B_CDEGRE"));  // degree 1 cannot be reduced
  EXPECT_TRUE(Fails(c.net(net, 3, 0, 0, err), 13, "B_SDEGRE"));
  E_clrerr();
}

}  // namespace
