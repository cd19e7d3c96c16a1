// Conic arcs, de Casteljau splitting, arc length and Bezier interpolation.
#include "bezier/bezier_test_util.hpp"

using namespace bezier_test;

namespace {

const double kHalfRoot2 = std::sqrt(0.5);
const double kPi = 3.141592653589793;

// Rational quadratic arc P0, (w1, P1), P2 with end weights 1 as a polygon;
// w1 = 0 makes P1 a direction.
Polygon arc(POINT P0, POINT P1, double w1, POINT P2) {
  return {{P0.x, P0.y, P0.z, 1.0}, {w1 * P1.x, w1 * P1.y, w1 * P1.z, w1}, {P2.x, P2.y, P2.z, 1.0}};
}

Polygon arc_with_direction(POINT P0, POINT D, POINT P2) {
  return {{P0.x, P0.y, P0.z, 1.0}, {D.x, D.y, D.z, 0.0}, {P2.x, P2.y, P2.z, 1.0}};
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

TEST(Conic, QuarterCircleAndEllipse) {
  POINT P1;
  double w1;
  ASSERT_EQ(
      B_makcon({1, 0, 0}, {0, 1, 0}, {0, 1, 0}, {1, 0, 0}, {kHalfRoot2, kHalfRoot2, 0}, &P1, &w1),
      0);
  expect_points_near(P1, POINT{1, 1, 0}, 1e-15);
  EXPECT_NEAR(w1, kHalfRoot2, 1e-14);
  EXPECT_LT(off_ellipse(arc({1, 0, 0}, P1, w1, {0, 1, 0}), 1, 1), 1e-14);

  // Quarter of x^2/4 + y^2 = 1 through its point at 30 degrees.
  const double c = std::cos(kPi / 6), s = std::sin(kPi / 6);
  ASSERT_EQ(B_makcon({2, 0, 0}, {0, 1, 0}, {0, 1, 0}, {-1, 0, 0}, {2 * c, s, 0}, &P1, &w1), 0);
  expect_points_near(P1, POINT{2, 1, 0}, 1e-14);
  EXPECT_LT(off_ellipse(arc({2, 0, 0}, P1, w1, {0, 1, 0}), 2, 1), 1e-13);
}

TEST(Conic, ParallelTangentsGiveAHalfEllipse) {
  POINT D;
  double w1 = -1;
  ASSERT_EQ(B_makcon({1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {0, -1, 0}, {0, 1, 0}, &D, &w1), 0);
  EXPECT_EQ(w1, 0.0);
  expect_points_near(D, POINT{0, 1, 0}, 1e-15);
  EXPECT_LT(off_ellipse(arc_with_direction({1, 0, 0}, D, {-1, 0, 0}), 1, 1), 1e-14);
  // A half ellipse with semi-axes 3 (along x) and 2, through (3 cos 60, 2 sin 60).
  ASSERT_EQ(B_makcon({3, 0, 0}, {0, 2, 0}, {-3, 0, 0}, {0, 5, 0}, {1.5, 2 * std::sin(kPi / 3), 0},
                     &D, &w1),
            0);
  EXPECT_EQ(w1, 0.0);
  EXPECT_LT(off_ellipse(arc_with_direction({3, 0, 0}, D, {-3, 0, 0}), 3, 2), 1e-13);
}

TEST(Conic, Errors) {
  POINT P1{7, 7, 7};
  double w1 = 7;
  // A zero tangent: the lines do not meet.
  EXPECT_EQ(B_makcon({1, 0, 0}, {0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {0.7, 0.7, 0}, &P1, &w1), 1);
  EXPECT_TRUE(HasError(13, "B_MAKCON"));
  // The line from the middle point through P meets the chord outside it.
  EXPECT_EQ(B_makcon({1, 0, 0}, {0, 1, 0}, {0, 1, 0}, {1, 0, 0}, {2, -0.5, 0}, &P1, &w1), 1);
  EXPECT_TRUE(HasError(13, "B_MAKCON"));
  // P on the tangent at P0 (chord parameter 0): the weight cannot be formed.
  EXPECT_EQ(B_makcon({1, 0, 0}, {0, 1, 0}, {0, 1, 0}, {1, 0, 0}, {1, 0.5, 0}, &P1, &w1), 1);
  EXPECT_TRUE(HasError(11, "B_MAKCON"));
  // Parallel tangents with P on the chord line: no crossing with the chord.
  EXPECT_EQ(B_makcon({1, 0, 0}, {1, 0, 0}, {-1, 0, 0}, {1, 0, 0}, {0, 1, 0}, &P1, &w1), 1);
  EXPECT_TRUE(HasError(13, "B_MAKCON"));
  expect_points_near(P1, POINT{7, 7, 7}, 0.0);
  EXPECT_EQ(w1, 7);
  E_clrerr();
}

TEST(Conic, SplitAtTheShoulder) {
  // A parabola (w = 1): both halves keep weight 1.
  const POINT par[3] = {{0, 0, 0}, {1, 2, 0}, {2, 0, 0}};
  POINT Q[3], R[3];
  double wq = 0, wr = 0;
  B_splcon(par, 1.0, Q, &wq, R, &wr);
  EXPECT_DOUBLE_EQ(wq, 1.0);
  EXPECT_DOUBLE_EQ(wr, 1.0);
  expect_points_near(Q[2], POINT{1, 1, 0}, 1e-15);
  expect_points_near(R[0], Q[2], 0.0);

  // A quarter circle: the halves are eighth circles on the circle.
  const POINT quarter[3] = {{1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
  B_splcon(quarter, kHalfRoot2, Q, &wq, R, &wr);
  EXPECT_NEAR(wq, std::cos(kPi / 8), 1e-15);
  expect_points_near(Q[2], POINT{kHalfRoot2, kHalfRoot2, 0}, 1e-15);
  EXPECT_LT(off_ellipse(arc(Q[0], Q[1], wq, Q[2]), 1, 1), 1e-14);
  EXPECT_LT(off_ellipse(arc(R[0], R[1], wr, R[2]), 1, 1), 1e-14);

  // A half circle with a direction in the middle.
  const POINT half[3] = {{1, 0, 0}, {0, 1, 0}, {-1, 0, 0}};
  B_splcon(half, 0.0, Q, &wq, R, &wr);
  EXPECT_DOUBLE_EQ(wq, kHalfRoot2);
  expect_points_near(Q[2], POINT{0, 1, 0}, 0.0);
  EXPECT_LT(off_ellipse(arc(Q[0], Q[1], wq, Q[2]), 1, 1), 1e-14);

  // A middle weight of -1 describes no arc: nothing written, error 11.
  Q[1] = POINT{5, 5, 5};
  B_splcon(quarter, -1.0, Q, &wq, R, &wr);
  EXPECT_TRUE(HasError(11, "B_SPLCON"));
  expect_points_near(Q[1], POINT{5, 5, 5}, 0.0);
  E_clrerr();
}

TEST(Split, HalvesMeetAndReproduceTheCurve) {
  std::mt19937 rng(10);
  for (bool rational : {false, true})
    for (double u : {0.0, 0.3, 0.5, 1.0}) {
      const Polygon P = random_polygon(rng, 4, rational);
      Polygon L(5), R(5);
      ASSERT_EQ(B_csplit(P.data(), 4, u, L.data(), R.data()), 0);
      expect_cpoints_near(L.front(), P.front(), 0.0);
      expect_cpoints_near(R.back(), P.back(), 0.0);
      expect_cpoints_near(L.back(), R.front(), 0.0);
      expect_points_near(casteljau(L, 1.0), casteljau(P, u), 1e-14);
      for (double s : {0.0, 0.25, 0.7, 1.0}) {
        expect_points_near(casteljau(L, s), casteljau(P, u * s), 1e-13);
        expect_points_near(casteljau(R, s), casteljau(P, u + (1 - u) * s), 1e-13);
      }
    }
  // Writing the right half over the input.
  Polygon P = random_polygon(rng, 3, true);
  const Polygon orig = P;
  Polygon L(4);
  ASSERT_EQ(B_csplit(P.data(), 3, 0.4, L.data(), P.data()), 0);
  expect_points_near(casteljau(P, 0.5), casteljau(orig, 0.7), 1e-14);

  EXPECT_EQ(B_csplit(P.data(), 3, 1.5, L.data(), P.data()), 1);
  EXPECT_TRUE(HasError(6, "B_CSPLIT"));
  E_clrerr();
}

TEST(ArcLength, StraightSegmentIsExactWithoutSubdivision) {
  // Unevenly spaced points on a line: polygon and chord agree.
  const Polygon P = {{0, 0, 0, kWNR}, {0.3, 0.4, 0, kWNR}, {1.5, 2, 0, kWNR}, {3, 4, 0, kWNR}};
  double len = -1;
  ASSERT_EQ(B_arclen(P.data(), 3, 1e-9, &len), 0);
  EXPECT_DOUBLE_EQ(len, 5.0);
  double tol = 1e-9, sum = 0;
  ASSERT_EQ(B_reclen(P.data(), 3, &tol, &sum), 0);
  EXPECT_DOUBLE_EQ(sum, 10.0);  // chord + polygon of the single piece
  EXPECT_LE(tol, 1e-15);
}

TEST(ArcLength, CircularArcsAgainstTheExactLength) {
  // Quarter of the unit circle (2-D, rational) and an arc of 120 degrees of
  // radius 2 in 3-D.
  const Polygon quarter = {
      {1, 0, kZ2D, 1}, {kHalfRoot2, kHalfRoot2, kZ2D, kHalfRoot2}, {0, 1, kZ2D, 1}};
  double len = 0;
  ASSERT_EQ(B_arclen(quarter.data(), 2, 1e-9, &len), 0);
  EXPECT_NEAR(len, kPi / 2, 1e-9);

  const double h = kPi / 3, w = std::cos(h);  // half sweep 60 degrees
  const Polygon third = {{2 * std::cos(-h), 2 * std::sin(-h), 1, 1},
                         {w * 2 / w, 0, w * 1, w},
                         {2 * std::cos(h), 2 * std::sin(h), 1, 1}};
  ASSERT_EQ(B_arclen(third.data(), 2, 1e-8, &len), 0);
  EXPECT_NEAR(len, 2 * (2 * h), 1e-8);

  // The error reached is reported back and stays within the tolerance.
  double tol = 2e-6, sum = 0;
  ASSERT_EQ(B_reclen(quarter.data(), 2, &tol, &sum), 0);
  EXPECT_GT(tol, 0.0);
  EXPECT_LE(tol, 2e-6);
  EXPECT_NEAR(sum / 2, kPi / 2, 1e-6);
}

TEST(ArcLength, ZeroToleranceStopsAtTheDeepestHalving) {
  const Polygon P = {{0, 0, 0, kWNR}, {1, 1, 0, kWNR}, {2, 0, 0, kWNR}};
  double tol = 0.0, sum = 0;
  ASSERT_EQ(B_reclen(P.data(), 2, &tol, &sum), 0);
  // Exact length of the parabola y = x - x^2/2 ... over x in [0, 2].
  const double exact = std::sqrt(2.0) + std::asinh(1.0);
  EXPECT_NEAR(sum / 2, exact, 1e-12);
  EXPECT_GE(tol, 0.0);
  EXPECT_EQ(B_arclen(P.data(), -1, 1e-6, &sum), 1);
  EXPECT_TRUE(HasError(13, "B_ARCLEN"));
  E_clrerr();
}

TEST(Interpolation, BezierThroughPoints) {
  Workspace ws;
  // Points of a known cubic at chord-length parameters are reproduced.
  const POINT Q[4] = {{0, 0, 0}, {1, 2, 0.5}, {3, 2.5, -1}, {4, 0, 0}};
  CPOINT P[4];
  ASSERT_EQ(B_gcurin(Q, 3, P, ws), 0);
  const Polygon poly(P, P + 4);
  for (const CPOINT &c : poly) EXPECT_EQ(c.w, kWNR);
  double t[4] = {0, 0, 0, 0};
  for (int k = 1; k <= 3; ++k) t[k] = t[k - 1] + distance(Q[k], Q[k - 1]);
  for (int k = 0; k <= 3; ++k) expect_points_near(casteljau(poly, t[k] / t[3]), Q[k], 1e-12);
  EXPECT_EQ(orvo_test::total_blocks(ws.ws), 0u);  // solver scratch released

  CPOINT one;
  ASSERT_EQ(B_gcurin(Q, 0, &one, ws), 0);
  EXPECT_EQ(one.x, 0.0);

  const POINT dup[3] = {{0, 0, 0}, {0, 0, 0}, {1, 0, 0}};
  EXPECT_EQ(B_gcurin(dup, 2, P, ws), 1);
  EXPECT_TRUE(HasError(11, "B_GCURIN"));
  const POINT same[2] = {{1, 1, 1}, {1, 1, 1}};
  EXPECT_EQ(B_gcurin(same, 1, P, ws), 1);
  EXPECT_TRUE(HasError(11, "B_GCURIN"));
  EXPECT_EQ(B_gcurin(Q, -1, P, ws), 1);
  EXPECT_TRUE(HasError(13, "B_GCURIN"));
  E_clrerr();
}

}  // namespace
