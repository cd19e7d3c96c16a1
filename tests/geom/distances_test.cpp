// Distances, polyline lengths, boxes and extents: hand-computed values, the
// marker rules of the control-point distances, the degenerate segment and
// the overflow guard of the point-segment distances.
#include <cmath>

#include "geom/geom_test_util.hpp"

using namespace geom_test;
using orvo_test::kWNR;
using orvo_test::kZ2D;

namespace {

class Distances : public GeomTest {};

TEST_F(Distances, PointsAndControlPoints) {
  double d;
  G_dispop(P(1, 2, 3), P(4, 6, 15), &d);
  EXPECT_EQ(d, 13);
  // Euclidean images: (2, 4, 6)/2 = (1, 2, 3) and (4, 6, 15) non-rational.
  G_discpp(CPOINT{2, 4, 6, 2}, CPOINT{4, 6, 15, kWNR}, &d);
  EXPECT_EQ(d, 13);
  // A 2-D marker counts as z = 0 in the Euclidean image.
  G_discpp(CPOINT{3, 4, kZ2D, kWNR}, CPOINT{0, 0, 0, kWNR}, &d);
  EXPECT_EQ(d, 5);

  // Stored forms in 4-D: (1, 2, 2, 4) apart.
  G_discpo(CPOINT{1, 2, 3, 5}, CPOINT{0, 0, 1, 1}, &d);
  EXPECT_EQ(d, 5);
  // A 2-D non-rational pair is the planar distance.
  G_discpo(CPOINT{3, 4, kZ2D, kWNR}, CPOINT{0, 0, kZ2D, kWNR}, &d);
  EXPECT_EQ(d, 5);
  // One marker is enough to leave its term out.
  G_discpo(CPOINT{3, 4, 100, kWNR}, CPOINT{0, 0, kZ2D, 7}, &d);
  EXPECT_EQ(d, 5);
  // Huge stored values do not overflow in the squares.
  G_discpo(CPOINT{3e200, 4e200, kZ2D, kWNR}, CPOINT{0, 0, kZ2D, kWNR}, &d);
  EXPECT_NEAR(d / 5e200, 1.0, 1e-15);
}

TEST_F(Distances, PolylineLengths) {
  const POINT pts[] = {P(0, 0), P(3, 4), P(3, 4), P(3, 0)};
  double len = -1;
  G_dispol(pts, 3, &len);
  EXPECT_EQ(len, 9);
  G_dispol(pts, 0, &len);
  EXPECT_EQ(len, 0);
  G_dispol(pts, -1, &len);
  EXPECT_EQ(len, 0);

  // Control polygon: lengths of the Euclidean images.
  const CPOINT cps[] = {{0, 0, 0, 2}, {6, 8, 0, 2}, {3, 0, 0, kWNR}};
  G_discpl(cps, 2, &len);
  EXPECT_EQ(len, 9);
  G_discpl(cps, 0, &len);
  EXPECT_EQ(len, 0);
}

TEST_F(Distances, PlaneInNormalForm) {
  double v;
  G_dispnp(0, 0, 1, -2, P(5, 5, 7), &v);
  EXPECT_EQ(v, 5);
  G_dispnp(0.6, 0.8, 0, 1, P(-5, 0, 3), &v);
  EXPECT_EQ(v, -2);
}

TEST_F(Distances, PointToLineAndPlane) {
  LINE l;
  G_makln2(P(1, 1, 0), V(2, 0, 0), 1, &l);  // kind 1, but the line counts as unbounded
  double d;
  ASSERT_EQ(G_displn(l, P(10, 4, 4), &d), 0);
  EXPECT_NEAR(d, 5, 1e-12);
  ASSERT_EQ(G_displn(l, P(3, 1, 0), &d), 0);
  EXPECT_NEAR(d, 0, 1e-12);

  G_makln2(P(0, 0, 0), V(0, 0, 0), 0, &l);
  EXPECT_EQ(G_displn(l, P(1, 1, 1), &d), 1);
  EXPECT_TRUE(HasError(17, "G_VECNOR"));

  PLANE e;
  G_makpln(P(0, 0, 2), V(0, 0, -3), &e);
  ASSERT_EQ(G_disppl(e, P(7, -3, -1), &d), 0);
  EXPECT_NEAR(d, 3, 1e-12);
  G_makpln(P(0, 0, 2), V(0, 0, 0), &e);
  EXPECT_EQ(G_disppl(e, P(7, -3, -1), &d), 1);
  EXPECT_TRUE(HasError(17, "G_VECNOR"));
}

TEST_F(Distances, PointToSegment) {
  const POINT A = P(0, 0, 0), B = P(4, 0, 0);
  double d;
  ASSERT_EQ(G_dispab(P(1, 3, 0), A, B, &d), 0);  // foot inside
  EXPECT_EQ(d, 3);
  ASSERT_EQ(G_dispab(P(-3, 4, 0), A, B, &d), 0);  // before A
  EXPECT_EQ(d, 5);
  ASSERT_EQ(G_dispab(P(7, 0, 4), A, B, &d), 0);  // beyond B
  EXPECT_EQ(d, 5);
  ASSERT_EQ(G_dispab(P(4, 2, 0), A, B, &d), 0);  // foot exactly at B
  EXPECT_EQ(d, 2);

  ASSERT_EQ(G_disqab(P(1, 3, 0), A, B, &d), 0);
  EXPECT_EQ(d, 3);
  ASSERT_EQ(G_disqab(P(7, 0, 4), A, B, &d), 0);  // beyond B: no foot
  EXPECT_EQ(d, -1.0);
  ASSERT_EQ(G_disqab(P(-1, 1, 0), A, B, &d), 0);  // before A
  EXPECT_EQ(d, -1.0);
}

TEST_F(Distances, DegenerateSegmentIsItsMidpoint) {
  double d;
  ASSERT_EQ(G_dispab(P(3, 4, 0), P(0, 0, 0), P(0, 0, 0), &d), 0);
  EXPECT_EQ(d, 5);
  ASSERT_EQ(G_disqab(P(3, 4, 0), P(0, 0, 0), P(0, 0, 0), &d), 0);
  EXPECT_EQ(d, 5);
  // Ends closer than POINT_TOLERANCE: distance to the midpoint.
  ASSERT_EQ(G_dispab(P(0, 1, 0), P(-4e-8, 0, 0), P(4e-8, 0, 0), &d), 0);
  EXPECT_EQ(d, 1);
}

TEST_F(Distances, SegmentOverflowIsError11) {
  double d = 42;
  // X - A overflows: the perpendicular distance cannot be formed.
  const POINT X = P(0.5, 1e308, 0), A = P(0, -1e308, 0), B = P(1, -1e308, 0);
  EXPECT_EQ(G_dispab(X, A, B, &d), 1);
  EXPECT_TRUE(HasError(11, "G_DISPAB"));
  EXPECT_EQ(d, 42);
  E_clrerr();
  EXPECT_EQ(G_disqab(X, A, B, &d), 1);
  EXPECT_TRUE(HasError(11, "G_DISQAB"));
}

TEST_F(Distances, TinyPerpendicularIsNotAnOverflow) {
  // A point within a denormal distance of a long segment: the quotient is
  // too small to be normalised, which is no overflow.
  double d = 42;
  ASSERT_EQ(G_dispab(P(1, 1e-310, 0), P(0, 0, 0), P(1e10, 0, 0), &d), 0);
  EXPECT_LT(d, 1e-300);
  EXPECT_GE(d, 0);
}

TEST_F(Distances, Boxes) {
  std::vector<POINT> pts = {P(1, -2, 3), P(-1, 5, 0), P(4, 0, -6)};
  PPOLYGON ppl;
  G_makppl(2, pts.data(), &ppl);
  BOX b;
  G_polbox(ppl, &b);
  EXPECT_EQ(b.xmin, -1);
  EXPECT_EQ(b.xmax, 4);
  EXPECT_EQ(b.ymin, -2);
  EXPECT_EQ(b.ymax, 5);
  EXPECT_EQ(b.zmin, -6);
  EXPECT_EQ(b.zmax, 3);
  double d;
  G_boxdia(b, &d);  // sqrt(5^2 + 7^2 + 9^2)
  EXPECT_DOUBLE_EQ(d, std::sqrt(155.0));
  double ext;
  G_po1ext(pts.data(), 2, &ext);
  EXPECT_EQ(ext, d);
  POINT c;
  G_boxcen(b, &c);
  ExpectXyz(c, 1.5, 1.5, -1.5);

  Table<POINT> net(1, 1);
  net[0][0] = P(0, 0, 0);
  net[0][1] = P(2, 0, 1);
  net[1][0] = P(0, 3, 0);
  net[1][1] = P(-1, 3, 5);
  PNET pn;
  G_makntl(1, 1, net.rows.data(), &pn);
  G_netbox(pn, &b);
  EXPECT_EQ(b.xmin, -1);
  EXPECT_EQ(b.xmax, 2);
  EXPECT_EQ(b.ymin, 0);
  EXPECT_EQ(b.ymax, 3);
  EXPECT_EQ(b.zmin, 0);
  EXPECT_EQ(b.zmax, 5);
  G_po2ext(net.get(), 1, 1, &ext);
  EXPECT_DOUBLE_EQ(ext, std::sqrt(9.0 + 9.0 + 25.0));

  G_linbox(P(2, 0, 1), P(0, 3, -1), 0.5, &b);
  EXPECT_EQ(b.xmin, -0.5);
  EXPECT_EQ(b.xmax, 2.5);
  EXPECT_EQ(b.ymin, -0.5);
  EXPECT_EQ(b.ymax, 3.5);
  EXPECT_EQ(b.zmin, -1.5);
  EXPECT_EQ(b.zmax, 1.5);
}

TEST_F(Distances, EmptyPointSetsHaveZeroBoxes) {
  PPOLYGON ppl;
  G_makppl(-1, nullptr, &ppl);
  BOX b;
  G_polbox(ppl, &b);
  EXPECT_EQ(b.xmin, 0);
  EXPECT_EQ(b.xmax, 0);
  EXPECT_EQ(b.zmax, 0);
  double ext = -1;
  G_po1ext(nullptr, -1, &ext);
  EXPECT_EQ(ext, 0);
  G_po2ext(nullptr, 3, 3, &ext);
  EXPECT_EQ(ext, 0);
}

TEST_F(Distances, RectangleOverlap) {
  RECTANGLE a{0, 2, 0, 2}, b{1, 4, 1, 1.5}, edge{2, 3, 0, 2}, apart{3, 4, 0, 2};
  double o;
  G_bx2ovl(a, b, 1e-9, &o);
  EXPECT_EQ(o, 0.5);  // 1 x 0.5
  G_bx2ovl(a, edge, 1e-9, &o);
  EXPECT_EQ(o, 0.0);  // sharing an edge
  G_bx2ovl(a, apart, 1e-9, &o);
  EXPECT_EQ(o, -1.0);
  // A gap within tol counts as touching, an overlap below tol as well.
  G_bx2ovl(a, RECTANGLE{2.05, 3, 0, 2}, 0.1, &o);
  EXPECT_EQ(o, 0.0);
  G_bx2ovl(a, RECTANGLE{1.95, 3, 0, 2}, 0.1, &o);
  EXPECT_EQ(o, 0.0);
  G_bx2ovl(RECTANGLE{0, 1, 0, 1}, RECTANGLE{0, 1, 5, 6}, 0.1, &o);  // apart in y only
  EXPECT_EQ(o, -1.0);
}

}  // namespace
