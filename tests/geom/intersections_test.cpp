// Projections and intersections: hand-computed feet and crossings, parallel
// input (status 0, found 0, no error), segments that stop short, zero
// directions (error 17 of the normalisation) and overflow (error 11).
#include <cmath>

#include "geom/geom_test_util.hpp"

using namespace geom_test;

namespace {

class Intersections : public GeomTest {
 protected:
  // No error has been recorded since SetUp.
  static ::testing::AssertionResult NoError() { return HasError(0, " "); }
};

TEST_F(Intersections, LineAndPlane) {
  PLANE e;
  G_makpln(P(0, 0, 1), V(0, 0, 5), &e);  // z = 1
  LINE l;
  G_makln2(P(1, 2, 3), V(0, 0, 2), 0, &l);
  POINT X;
  double t = 0;
  int16_t found = -1;
  ASSERT_EQ(G_intlnp(l, e, &X, &t, &found), 0);
  EXPECT_EQ(found, 1);
  EXPECT_EQ(t, -1);  // in units of the given D
  ExpectXyz(X, 1, 2, 1);

  // As a segment the same line stops short of the plane.
  l.kind = 1;
  ASSERT_EQ(G_intlnp(l, e, &X, &t, &found), 0);
  EXPECT_EQ(found, 0);
  // A segment reaching through the plane.
  G_makln2(P(1, 2, 3), V(0, 0, -4), 1, &l);
  ASSERT_EQ(G_intlnp(l, e, &X, &t, &found), 0);
  EXPECT_EQ(found, 1);
  EXPECT_EQ(t, 0.5);
  ExpectXyz(X, 1, 2, 1);

  // Oblique: x + y + z = 3 met by the diagonal at (1, 1, 1).
  G_makpln(P(3, 0, 0), V(2, 2, 2), &e);
  G_makln2(P(0, 0, 0), V(0.5, 0.5, 0.5), 1, &l);
  ASSERT_EQ(G_intlnp(l, e, &X, &t, &found), 0);
  EXPECT_EQ(found, 0);  // t = 2 lies beyond the segment
  l.kind = 0;
  ASSERT_EQ(G_intlnp(l, e, &X, &t, &found), 0);
  EXPECT_EQ(found, 1);
  EXPECT_NEAR(t, 2, 1e-14);
  ExpectXyz(X, 1, 1, 1, 1e-14);
  EXPECT_TRUE(NoError());
}

TEST_F(Intersections, LineParallelToPlaneIsNotAnError) {
  PLANE e;
  G_makpln(P(0, 0, 1), V(0, 0, 1), &e);
  LINE l;
  G_makln2(P(0, 0, 0), V(1, 2, 0), 0, &l);
  POINT X{7, 7, 7};
  double t = 7;
  int16_t found = -1;
  ASSERT_EQ(G_intlnp(l, e, &X, &t, &found), 0);
  EXPECT_EQ(found, 0);
  ExpectXyz(X, 7, 7, 7);  // outputs untouched
  EXPECT_EQ(t, 7);
  // Within ZERO_TOLERANCE of parallel.
  G_makln2(P(0, 0, 0), V(1, 0, 1e-13), 0, &l);
  ASSERT_EQ(G_intlnp(l, e, &X, &t, &found), 0);
  EXPECT_EQ(found, 0);
  EXPECT_TRUE(NoError());
}

TEST_F(Intersections, LineAndPlaneFailures) {
  PLANE e;
  G_makpln(P(0, 0, 1), V(0, 0, 1), &e);
  LINE l;
  POINT X;
  double t;
  int16_t found;
  G_makln2(P(0, 0, 0), V(0, 0, 0), 0, &l);
  EXPECT_EQ(G_intlnp(l, e, &X, &t, &found), 1);
  EXPECT_TRUE(HasError(17, "G_VECNOR"));
  E_clrerr();
  G_makln2(P(0, 0, 0), V(0, 0, 1), 0, &l);
  G_makpln(P(0, 0, 1), V(0, 0, 0), &e);
  EXPECT_EQ(G_intlnp(l, e, &X, &t, &found), 1);
  EXPECT_TRUE(HasError(17, "G_VECNOR"));
  E_clrerr();
  // Nearly parallel (but above tolerance) towards a plane at 1e308: the
  // parameter overflows.
  G_makpln(P(0, 0, 1e308), V(0, 0, 1), &e);
  G_makln2(P(0, 0, 0), V(1, 0, 1e-11), 0, &l);
  EXPECT_EQ(G_intlnp(l, e, &X, &t, &found), 1);
  EXPECT_TRUE(HasError(11, "G_INTLNP"));
}

TEST_F(Intersections, ProjectionsOntoLinesAndPlanes) {
  LINE l;
  G_makln1(P(0, 0, 0), P(4, 0, 0), 1, &l);  // the segment from P to Q
  ExpectXyz(l.D, 4, 0, 0);
  POINT F;
  double t;
  int16_t found;
  ASSERT_EQ(G_prjpln(l, P(1, 5, 7), &F, &t, &found), 0);
  EXPECT_EQ(found, 1);
  EXPECT_EQ(t, 0.25);
  ExpectXyz(F, 1, 0, 0);
  // The foot beyond the end of a segment does not count...
  ASSERT_EQ(G_prjpln(l, P(5, 1, 1), &F, &t, &found), 0);
  EXPECT_EQ(found, 0);
  // ...but does on the unbounded line.
  l.kind = 0;
  ASSERT_EQ(G_prjpln(l, P(5, 1, 1), &F, &t, &found), 0);
  EXPECT_EQ(found, 1);
  EXPECT_EQ(t, 1.25);
  ExpectXyz(F, 5, 0, 0);

  PLANE e;
  G_makpln(P(0, 0, 2), V(0, 0, 3), &e);
  ASSERT_EQ(G_prjppl(e, P(1, 2, 9), &F), 0);
  ExpectXyz(F, 1, 2, 2);
  G_makpln(P(0, 0, 0), V(1, 1, 0), &e);
  ASSERT_EQ(G_prjppl(e, P(2, 0, 5), &F), 0);
  ExpectXyz(F, 1, -1, 5, 1e-14);
  G_makpln(P(0, 0, 0), V(0, 0, 0), &e);
  EXPECT_EQ(G_prjppl(e, P(2, 0, 5), &F), 1);
  EXPECT_TRUE(HasError(17, "G_VECNOR"));
}

TEST_F(Intersections, SkewLinesMeetAtTheMidpointOfClosestApproach) {
  LINE l1, l2;
  G_makln2(P(0, 0, 0), V(2, 0, 0), 0, &l1);
  G_makln2(P(1, -1, 1), V(0, 4, 0), 0, &l2);
  POINT X;
  double s, t;
  int16_t found;
  ASSERT_EQ(G_intlnl(l1, l2, &X, &s, &t, &found), 0);
  EXPECT_EQ(found, 1);
  EXPECT_EQ(s, 0.5);   // (1, 0, 0) on L1
  EXPECT_EQ(t, 0.25);  // (1, 0, 1) on L2
  ExpectXyz(X, 1, 0, 0.5);

  // Both as segments: the closest points lie on them.
  l1.kind = l2.kind = 1;
  ASSERT_EQ(G_intlnl(l1, l2, &X, &s, &t, &found), 0);
  EXPECT_EQ(found, 1);
  // L2 moved so that the closest point on L1 is at s = 1.5.
  G_makln2(P(3, -1, 1), V(0, 4, 0), 1, &l2);
  ASSERT_EQ(G_intlnl(l1, l2, &X, &s, &t, &found), 0);
  EXPECT_EQ(found, 0);
  l1.kind = 0;
  ASSERT_EQ(G_intlnl(l1, l2, &X, &s, &t, &found), 0);
  EXPECT_EQ(found, 1);
  EXPECT_EQ(s, 1.5);
  // L2 shortened so that its closest point lies before its start.
  G_makln2(P(1, 1, 1), V(0, 4, 0), 1, &l2);
  ASSERT_EQ(G_intlnl(l1, l2, &X, &s, &t, &found), 0);
  EXPECT_EQ(found, 0);
}

TEST_F(Intersections, CrossingLines) {
  LINE l1, l2;
  G_makln2(P(0, 0, 0), V(1, 1, 0), 0, &l1);
  G_makln2(P(2, 0, 0), V(-3, 3, 0), 0, &l2);
  POINT X;
  double s, t;
  int16_t found;
  ASSERT_EQ(G_intlnl(l1, l2, &X, &s, &t, &found), 0);
  EXPECT_EQ(found, 1);
  EXPECT_NEAR(s, 1, 1e-14);
  EXPECT_NEAR(t, 1.0 / 3.0, 1e-14);
  ExpectXyz(X, 1, 1, 0, 1e-14);
}

TEST_F(Intersections, ParallelLinesAndFailures) {
  LINE l1, l2;
  POINT X{9, 9, 9};
  double s = 9, t = 9;
  int16_t found = -1;
  G_makln2(P(0, 0, 0), V(1, 1, 0), 0, &l1);
  G_makln2(P(0, 1, 0), V(-3, -3, 0), 0, &l2);  // anti-parallel
  ASSERT_EQ(G_intlnl(l1, l2, &X, &s, &t, &found), 0);
  EXPECT_EQ(found, 0);
  ExpectXyz(X, 9, 9, 9);
  EXPECT_TRUE(NoError());

  G_makln2(P(0, 1, 0), V(0, 0, 0), 0, &l2);
  EXPECT_EQ(G_intlnl(l1, l2, &X, &s, &t, &found), 1);
  EXPECT_TRUE(HasError(17, "G_VECNOR"));
  E_clrerr();
  // Nearly parallel lines 1e308 apart: the parameters overflow.
  G_makln2(P(0, 0, 0), V(1, 0, 0), 0, &l1);
  G_makln2(P(0, 1e308, 0), V(1, 1e-5, 0), 0, &l2);
  EXPECT_EQ(G_intlnl(l1, l2, &X, &s, &t, &found), 1);
  EXPECT_TRUE(HasError(11, "G_INTLNL"));
}

TEST_F(Intersections, SegmentsInThePlane) {
  POINT X;
  int16_t found;
  ASSERT_EQ(G_intlsg(P(0, 0, 0), P(2, 2, 2), P(0, 2, 4), P(2, 0, 4), &X, &found), 0);
  EXPECT_EQ(found, 1);
  ExpectXyz(X, 1, 1, 2.5);  // z: midpoint of 1 and 4
  ASSERT_EQ(G_intlsg(P(0, 0), P(4, 0), P(1, -1), P(1, 3), &X, &found), 0);
  EXPECT_EQ(found, 1);
  ExpectXyz(X, 1, 0, 0);
  // Touching at an end counts.
  ASSERT_EQ(G_intlsg(P(0, 0), P(4, 0), P(4, 0), P(4, 3), &X, &found), 0);
  EXPECT_EQ(found, 1);
  ExpectXyz(X, 4, 0, 0);
  // Missing, and collinear overlapping (no single crossing).
  ASSERT_EQ(G_intlsg(P(0, 0), P(4, 0), P(5, -1), P(5, 3), &X, &found), 0);
  EXPECT_EQ(found, 0);
  ASSERT_EQ(G_intlsg(P(0, 0), P(4, 0), P(1, 0), P(3, 0), &X, &found), 0);
  EXPECT_EQ(found, 0);
  EXPECT_TRUE(NoError());
  // Cross products beyond the double range.
  EXPECT_EQ(G_intlsg(P(-1e200, 0), P(1e200, 0), P(0, -1e200), P(0, 1e200), &X, &found), 1);
  EXPECT_TRUE(HasError(11, "G_INTLSG"));
}

TEST_F(Intersections, SegmentWithPolygonVisitsLegsInOrder) {
  Polygon sq({P(0, 0), P(2, 0), P(2, 2), P(0, 2), P(0, 0)});
  const PPOLYGON ppl = sq.rec();
  POINT X;
  int16_t found;
  int32_t pos = -1;
  // Crosses leg 3 at (0, 1) and leg 1 at (2, 1).
  const POINT A = P(-1, 1), B = P(3, 1);
  ASSERT_EQ(G_intcpl(ppl, A, B, 1, &X, &found, &pos), 0);  // given leg
  EXPECT_EQ(found, 1);
  ExpectXyz(X, 2, 1, 0);
  EXPECT_EQ(pos, 2);
  ASSERT_EQ(G_intcpl(ppl, A, B, 0, &X, &found, &pos), 0);  // leg before 0 is 3
  EXPECT_EQ(found, 1);
  ExpectXyz(X, 0, 1, 0);
  EXPECT_EQ(pos, 4);
  ASSERT_EQ(G_intcpl(ppl, A, B, 4, &X, &found, &pos), 0);  // leg n is leg 0
  ExpectXyz(X, 0, 1, 0);
  EXPECT_EQ(pos, 4);
  ASSERT_EQ(G_intcpl(ppl, A, B, 2, &X, &found, &pos), 0);  // leg before 2 is 1
  ExpectXyz(X, 2, 1, 0);
  EXPECT_EQ(pos, 2);
  // Only leg 1 is crossed; from leg 3 the search runs from leg 0 on.
  ASSERT_EQ(G_intcpl(ppl, P(1, 1), P(3, 1), 3, &X, &found, &pos), 0);
  EXPECT_EQ(found, 1);
  ExpectXyz(X, 2, 1, 0);
  EXPECT_EQ(pos, 2);
  // Inside the square: nothing crossed.
  ASSERT_EQ(G_intcpl(ppl, P(0.5, 0.5), P(1.5, 1.5), 0, &X, &found, &pos), 0);
  EXPECT_EQ(found, 0);
}

TEST_F(Intersections, SegmentWithPolygonRefusesBadLegs) {
  Polygon sq({P(0, 0), P(2, 0), P(2, 2), P(0, 2), P(0, 0)});
  POINT X;
  int16_t found;
  int32_t pos;
  EXPECT_EQ(G_intcpl(sq.rec(), P(1, 1), P(3, 1), -1, &X, &found, &pos), 1);
  EXPECT_TRUE(HasError(14, "G_INTCPL"));
  E_clrerr();
  EXPECT_EQ(G_intcpl(sq.rec(), P(1, 1), P(3, 1), 5, &X, &found, &pos), 1);
  EXPECT_TRUE(HasError(14, "G_INTCPL"));
  // A single point has no legs: nothing found.
  Polygon one({P(0, 0)});
  ASSERT_EQ(G_intcpl(one.rec(), P(1, 1), P(3, 1), 0, &X, &found, &pos), 0);
  EXPECT_EQ(found, 0);
}

TEST_F(Intersections, SegmentCrossingWithTolerance) {
  EXPECT_EQ(G_dolsin(0, 0, 2, 2, 0, 2, 2, 0, 0), 1);
  EXPECT_EQ(G_dolsin(0, 0, 2, 2, 2, 0, 0, 2, 0), 1);
  EXPECT_EQ(G_dolsin(0, 0, 1, 1, 3, 0, 4, 1, 0.5), 0);  // boxes apart
  // Segment 2 ends 0.05 short of segment 1: a crossing only within tol.
  EXPECT_EQ(G_dolsin(0, 0, 1, 0, 1.05, -1, 1.05, 1, 0.2), 1);
  EXPECT_EQ(G_dolsin(0, 0, 1, 0, 1.05, -1, 1.05, 1, 0.0), 0);
  EXPECT_EQ(G_dolsin(0, 0, 1, 0, 1.05, 1, 1.05, -1, 0.2), 1);  // negative determinant
  EXPECT_EQ(G_dolsin(0, 0, 1, 0, 1.05, 1, 1.05, -1, 0.0), 0);
  // Touching at an end, and parallel (collinear) segments.
  EXPECT_EQ(G_dolsin(0, 0, 1, 0, 1, 0, 1, 1, 0), 1);
  EXPECT_EQ(G_dolsin(0, 0, 1, 0, 0, 0, 2, 0, 0.1), 0);
}

TEST_F(Intersections, LeastSquaresPlane) {
  const POINT sq[] = {P(0, 0, 2), P(1, 0, 2), P(1, 1, 2), P(0, 1, 2)};
  double a, b, c, d;
  ASSERT_EQ(G_lsqpln(sq, 3, &a, &b, &c, &d), 0);
  EXPECT_EQ(a, 0);
  EXPECT_EQ(b, 0);
  EXPECT_EQ(c, 1);  // counter-clockwise seen from +z
  EXPECT_EQ(d, -2);

  // x + z = 1.
  const POINT tilt[] = {P(0, 0, 1), P(1, 0, 0), P(1, 1, 0), P(0, 1, 1)};
  ASSERT_EQ(G_lsqpln(tilt, 3, &a, &b, &c, &d), 0);
  const double r = 1 / std::sqrt(2.0);
  EXPECT_NEAR(a, r, 1e-15);
  EXPECT_NEAR(b, 0, 1e-15);
  EXPECT_NEAR(c, r, 1e-15);
  EXPECT_NEAR(d, -r, 1e-15);
  for (const POINT &p : tilt) {
    double v;
    G_dispnp(a, b, c, d, p, &v);
    EXPECT_NEAR(v, 0, 1e-15);
  }

  const POINT line[] = {P(0, 0, 0), P(1, 1, 1), P(2, 2, 2)};
  EXPECT_EQ(G_lsqpln(line, 2, &a, &b, &c, &d), 1);
  EXPECT_TRUE(HasError(11, "G_LSQPLN"));
  E_clrerr();
  EXPECT_EQ(G_lsqpln(line, -1, &a, &b, &c, &d), 1);
  EXPECT_TRUE(HasError(11, "G_LSQPLN"));
}

}  // namespace
