// Conic arcs, de Casteljau splitting, arc length and Bezier interpolation.
#include "bezier/bezier_test_util.hpp"

using namespace bezier_test;

namespace {

const double kR = std::sqrt(0.5), kPi = 3.141592653589793;

// Rational quadratic arc P0, (w1, P1), P2 with end weights 1; with w1 = 0
// P1 is a direction.
Polygon arc(POINT P0, POINT P1, double w1, POINT P2) {
  const double f = w1 == 0.0 ? 1.0 : w1;
  return {{P0.x, P0.y, P0.z, 1.0}, {f * P1.x, f * P1.y, f * P1.z, w1}, {P2.x, P2.y, P2.z, 1.0}};
}

// Largest |x^2/A^2 + y^2/B^2 - 1| over the arc.
double off_ellipse(const Polygon &P, double A, double B) {
  double worst = 0;
  for (int k = 0; k <= 50; ++k) {
    const POINT X = casteljau(P, k / 50.0);
    worst = std::max(worst, std::fabs(X.x * X.x / (A * A) + X.y * X.y / (B * B) - 1));
  }
  return worst;
}

TEST(Conic, MiddlePointAndWeight) {
  POINT P1;
  double w1;
  // Arcs from (A, 0) with tangent T0 to (0, B) or (-A, 0) with tangent T2.
  auto make = [&](double A, VECTOR T0, POINT P2, VECTOR T2, POINT P) {
    return B_makcon({A, 0, 0}, T0, P2, T2, P, &P1, &w1);
  };
  ASSERT_EQ(make(1, {0, 1, 0}, {0, 1, 0}, {1, 0, 0}, {kR, kR, 0}), 0);
  expect_near(P1, POINT{1, 1, 0}, 1e-15);
  EXPECT_NEAR(w1, kR, 1e-14);
  // Parallel end tangents: a half ellipse, the middle a direction.
  ASSERT_EQ(make(3, {0, 2, 0}, {-3, 0, 0}, {0, 5, 0}, {1.5, std::sqrt(3.0), 0}), 0);
  EXPECT_EQ(w1, 0.0);
  EXPECT_LT(off_ellipse(arc({3, 0, 0}, P1, 0.0, {-3, 0, 0}), 3, 2), 1e-13);

  auto quarter = [&](VECTOR T0, POINT P) { return make(1, T0, {0, 1, 0}, {1, 0, 0}, P); };
  EXPECT_TRUE(Fails(quarter({0, 0, 0}, {kR, kR, 0}), 13, "B_MAKCON"));   // zero tangent
  EXPECT_TRUE(Fails(quarter({0, 1, 0}, {2, -0.5, 0}), 13, "B_MAKCON"));  // negative ratio
  EXPECT_TRUE(Fails(quarter({0, 1, 0}, {1, 0.5, 0}), 11, "B_MAKCON"));   // on a tangent: u = 0
  EXPECT_TRUE(Fails(make(1, {1, 0, 0}, {-1, 0, 0}, {1, 0, 0}, {0, 1, 0}), 13, "B_MAKCON"));
  E_clrerr();
}

TEST(Conic, SplitAtTheShoulder) {
  POINT Q[3], R[3];
  double wq = 0, wr = 0;
  // Quarter and half (middle a direction) circles: the halves stay on it.
  const POINT quarter[3] = {{1, 0, 0}, {1, 1, 0}, {0, 1, 0}},
              half[3] = {{1, 0, 0}, {0, 1, 0}, {-1, 0, 0}};
  for (auto [P, w] : {std::pair{quarter, kR}, {half, 0.0}}) {
    B_splcon(P, w, Q, &wq, R, &wr);
    EXPECT_NEAR(wq, std::sqrt((1 + w) / 2), 1e-15);
    expect_near(Q[2], R[0], 0.0);
    EXPECT_LT(off_ellipse(arc(Q[0], Q[1], wq, Q[2]), 1, 1), 1e-14);
    EXPECT_LT(off_ellipse(arc(R[0], R[1], wr, R[2]), 1, 1), 1e-14);
  }
  Q[1] = {5, 5, 5};
  B_splcon(quarter, -1.0, Q, &wq, R, &wr);  // no arc: nothing written
  EXPECT_TRUE(HasError(11, "B_SPLCON"));
  expect_near(Q[1], POINT{5, 5, 5}, 0.0);
  E_clrerr();
}

TEST(Split, HalvesMeetAndReproduceTheCurve) {
  std::mt19937 rng(10);
  for (double u : {0.0, 0.3, 1.0}) {
    const Polygon P = random_polygon(rng, 4, true);
    Polygon L(5), R(5);
    ASSERT_EQ(B_csplit(P.data(), 4, u, L.data(), R.data()), 0);
    expect_near(L.back(), R.front(), 0.0);
    for (double s : {0.0, 0.25, 0.7, 1.0}) {
      expect_near(casteljau(L, s), casteljau(P, u * s), 1e-13);
      expect_near(casteljau(R, s), casteljau(P, u + (1 - u) * s), 1e-13);
    }
  }
  Polygon P = random_polygon(rng, 3, false), L(4);
  EXPECT_TRUE(Fails(B_csplit(P.data(), 3, 1.5, L.data(), P.data()), 6, "B_CSPLIT"));
  E_clrerr();
}

TEST(ArcLength, StraightSegmentsAndCircularArcs) {
  // Unevenly spaced points on a line: one piece, chord = polygon.
  const Polygon line = {{0, 0, 0, kWNR}, {0.3, 0.4, 0, kWNR}, {1.5, 2, 0, kWNR}, {3, 4, 0, kWNR}};
  double len = -1, tol = 1e-9, sum = 0;
  ASSERT_EQ(B_arclen(line.data(), 3, 1e-9, &len), 0);
  EXPECT_DOUBLE_EQ(len, 5.0);
  ASSERT_EQ(B_reclen(line.data(), 3, &tol, &sum), 0);
  EXPECT_DOUBLE_EQ(sum, 10.0);
  EXPECT_LE(tol, 1e-15);
  // A 2-D quarter of the unit circle.
  const Polygon quarter = {{1, 0, kZ2D, 1}, {kR, kR, kZ2D, kR}, {0, 1, kZ2D, 1}};
  ASSERT_EQ(B_arclen(quarter.data(), 2, 1e-9, &len), 0);
  EXPECT_NEAR(len, kPi / 2, 1e-9);
  // Tolerance 0 stops at the deepest halving: y = x - x^2/2 over [0, 2].
  const Polygon parabola = {{0, 0, 0, kWNR}, {1, 1, 0, kWNR}, {2, 0, 0, kWNR}};
  tol = 0.0, sum = 0;
  ASSERT_EQ(B_reclen(parabola.data(), 2, &tol, &sum), 0);
  EXPECT_NEAR(sum / 2, std::sqrt(2.0) + std::asinh(1.0), 1e-12);
  EXPECT_TRUE(Fails(B_arclen(parabola.data(), -1, 1e-6, &sum), 13, "B_ARCLEN"));
  E_clrerr();
}

TEST(Interpolation, BezierThroughPoints) {
  Workspace ws;
  const POINT Q[4] = {{0, 0, 0}, {1, 2, 0.5}, {3, 2.5, -1}, {4, 0, 0}};
  CPOINT P[4];
  ASSERT_EQ(B_gcurin(Q, 3, P, ws), 0);
  double t[4] = {0, 0, 0, 0};
  for (int k = 1; k <= 3; ++k) t[k] = t[k - 1] + distance(Q[k], Q[k - 1]);
  for (int k = 0; k <= 3; ++k) {
    EXPECT_EQ(P[k].w, kWNR);
    expect_near(casteljau(Polygon(P, P + 4), t[k] / t[3]), Q[k], 1e-12);
  }
  EXPECT_EQ(orvo_test::total_blocks(ws.ws), 0u);  // solver scratch released
  const POINT dup[3] = {{0, 0, 0}, {0, 0, 0}, {1, 0, 0}};
  EXPECT_TRUE(Fails(B_gcurin(dup, 2, P, ws), 11, "B_GCURIN"));
  EXPECT_TRUE(Fails(B_gcurin(dup, 1, P, ws), 11, "B_GCURIN"));
  EXPECT_TRUE(Fails(B_gcurin(Q, -1, P, ws), 13, "B_GCURIN"));
  E_clrerr();
}

}  // namespace
