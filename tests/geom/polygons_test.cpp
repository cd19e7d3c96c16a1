// Side tests, closedness, points in polygons (single and on grids, checked
// against each other), grid points near the outline (checked against a
// brute-force search) and nearest legs with their tie rules.
#include <cmath>

#include "geom/geom_test_util.hpp"

using namespace geom_test;

namespace {

class Polygons : public GeomTest {};

TEST_F(Polygons, SideTests) {
  EXPECT_EQ(G_arevps(V(1, 0, 0), V(1, 5, 0)), 1);
  EXPECT_EQ(G_arevps(V(1, 0, 0), V(0, 5, 0)), 1);  // perpendicular counts
  EXPECT_EQ(G_arevps(V(1, 0, 0), V(-1, 5, 0)), 0);

  LINE l;
  G_makln2(P(1, 1, 0), V(1, 0, 0), 0, &l);
  EXPECT_EQ(G_lipost(l, P(0, 2, 0)), 1);   // left seen from +z
  EXPECT_EQ(G_lipost(l, P(5, 1, 9)), 1);   // on the line
  EXPECT_EQ(G_lipost(l, P(0, 0, -9)), 2);  // right

  PLANE e;
  G_makpln(P(0, 0, 1), V(0, 0, 2), &e);
  EXPECT_EQ(G_plpost(e, P(3, 3, 2)), 2);
  EXPECT_EQ(G_plpost(e, P(3, 3, 1)), 2);  // on the plane
  EXPECT_EQ(G_plpost(e, P(3, 3, 0)), 1);
}

TEST_F(Polygons, ClosednessWithinPointTolerance) {
  Polygon closed({P(0, 0), P(1, 0), P(1e-7, 0)});
  EXPECT_EQ(G_ispplc(closed.rec()), 1);  // ends 1e-7 apart
  Polygon open({P(0, 0), P(1, 0), P(2e-7, 0)});
  EXPECT_EQ(G_ispplc(open.rec()), 0);
  PPOLYGON empty;
  G_makppl(-1, nullptr, &empty);
  EXPECT_EQ(G_ispplc(empty), 0);

  // Rows 0 and 2 coincide (direction 1); columns 0 and 1 do not.
  Table<POINT> t(2, 1);
  t[0][0] = P(0, 0);
  t[0][1] = P(0, 1);
  t[1][0] = P(1, 0);
  t[1][1] = P(1, 1);
  t[2][0] = P(1e-7, 0);
  t[2][1] = P(0, 1 + 0.5e-7);
  PNET net;
  G_makntl(2, 1, t.rows.data(), &net);
  EXPECT_EQ(G_isntlc(net, 1), 1);
  EXPECT_EQ(G_isntlc(net, 2), 0);
  t[2][1] = P(0, 1 + 2e-7);
  EXPECT_EQ(G_isntlc(net, 1), 0);
  // Columns 0 and 1 made equal.
  for (int i = 0; i <= 2; ++i) t[i][1] = t[i][0];
  EXPECT_EQ(G_isntlc(net, 2), 1);

  EXPECT_TRUE(HasError(0, " "));
  EXPECT_EQ(G_isntlc(net, 3), 0);
  EXPECT_TRUE(HasError(13, "G_ISNTLC"));
}

// An L-shaped (concave) closed outline.
Polygon LShape() {
  return Polygon({P(0, 0), P(4, 0), P(4, 1), P(1, 1), P(1, 3), P(0, 3), P(0, 0)});
}

TEST_F(Polygons, PointInPolygon) {
  Polygon L = LShape();
  const PPOLYGON ppl = L.rec();
  EXPECT_EQ(G_ispppl(ppl, 0.5, 0.5), 1);
  EXPECT_EQ(G_ispppl(ppl, 3.5, 0.5), 1);
  EXPECT_EQ(G_ispppl(ppl, 0.5, 2.5), 1);
  EXPECT_EQ(G_ispppl(ppl, 2.0, 2.0), 0);  // in the notch
  EXPECT_EQ(G_ispppl(ppl, -1.0, 0.5), 0);
  EXPECT_EQ(G_ispppl(ppl, 5.0, 0.5), 0);
  EXPECT_EQ(G_ispppl(ppl, 0.5, 4.0), 0);
  // The ray runs along the horizontal leg (4,1)-(1,1): its ends count as
  // lying above the ray, so only the two legs leaving it downwards meet it.
  EXPECT_EQ(G_ispppl(ppl, 0.5, 1.0), 1);
  // A vertex touching the ray from above is not a crossing.
  Polygon diamond({P(0, -1), P(1, 0), P(0, 1), P(-1, 0), P(0, -1)});
  EXPECT_EQ(G_ispppl(diamond.rec(), 0, 0), 1);
  EXPECT_EQ(G_ispppl(diamond.rec(), -2, 1), 0);   // ray through the top vertex
  EXPECT_EQ(G_ispppl(diamond.rec(), -2, -1), 0);  // ray through the bottom vertex
  // Too few points for a leg.
  Polygon one({P(0, 0)});
  EXPECT_EQ(G_ispppl(one.rec(), 0, 0), 0);
}

TEST_F(Polygons, GridInPolygonAgreesWithSinglePoints) {
  Polygon L = LShape();
  const PPOLYGON ppl = L.rec();
  // Grid rows at constant y, and the transposed grid (rows at constant x).
  for (bool rows_at_y : {true, false}) {
    const int32_t n = 12, m = 16;
    Table<POINT> grid(n, m);
    for (int32_t i = 0; i <= n; ++i)
      for (int32_t j = 0; j <= m; ++j) {
        const double a = -0.5 + 0.375 * j, b = -0.5 + 0.375 * i;
        grid[i][j] = rows_at_y ? P(a, b) : P(b, a);
      }
    Table<int32_t> inside(n, m, -7);
    ASSERT_EQ(G_ispgpl(ppl, grid.get(), n, m, inside.get()), 0);
    int32_t count = 0;
    for (int32_t i = 0; i <= n; ++i)
      for (int32_t j = 0; j <= m; ++j) {
        EXPECT_EQ(inside[i][j], G_ispppl(ppl, grid[i][j].x, grid[i][j].y)) << i << "," << j;
        count += inside[i][j];
      }
    EXPECT_GT(count, 10);
  }
}

TEST_F(Polygons, GridOffThePolygonIsAllOutside) {
  Polygon L = LShape();
  Table<POINT> grid(2, 2);
  for (int i = 0; i <= 2; ++i)
    for (int j = 0; j <= 2; ++j) grid[i][j] = P(10 + j, i);
  Table<int32_t> inside(2, 2, 5);
  ASSERT_EQ(G_ispgpl(L.rec(), grid.get(), 2, 2, inside.get()), 0);
  for (int32_t v : inside.data) EXPECT_EQ(v, 0);
}

TEST_F(Polygons, GridInPolygonReportsAllocationFailure) {
  Polygon L = LShape();
  Table<POINT> grid(1, 1);
  grid[0][0] = P(0.5, 0.5);
  grid[0][1] = P(1.5, 0.5);
  grid[1][0] = P(0.5, 1.5);
  grid[1][1] = P(1.5, 1.5);
  Table<int32_t> inside(1, 1, 5);
  orvo::detail::fail_allocation_at(1);
  EXPECT_EQ(G_ispgpl(L.rec(), grid.get(), 1, 1, inside.get()), 1);
  EXPECT_TRUE(HasError(15, "S_GETR1D"));
  for (int32_t v : inside.data) EXPECT_EQ(v, 0);
}

// The smallest distance from q to a leg, when at most tol, else -1.
double BruteNearOutline(const Polygon &poly, const POINT &q, double tol) {
  double best = -1.0;
  for (size_t k = 1; k < poly.pts.size(); ++k) {
    double d;
    EXPECT_EQ(G_dispab(q, poly.pts[k - 1], poly.pts[k], &d), 0);
    if (d <= tol && (best < 0 || d < best)) best = d;
  }
  return best;
}

TEST_F(Polygons, GridPointsNearTheOutline) {
  Polygon L = LShape();
  const double tol = 0.3;
  for (bool rows_at_y : {true, false}) {
    const int32_t n = 20, m = 25;
    Table<POINT> grid(n, m);
    for (int32_t i = 0; i <= n; ++i)
      for (int32_t j = 0; j <= m; ++j) {
        // Decreasing along one index, so that negative spacing is covered.
        const double a = -0.6 + 0.2 * j, b = 3.5 - 0.2 * i;
        grid[i][j] = rows_at_y ? P(a, b) : P(b, a);
      }
    Table<double> dist(n, m, 99.0);
    ASSERT_EQ(G_ispgpg(L.rec(), grid.get(), n, m, tol, dist.get()), 0);
    int near = 0;
    for (int32_t i = 0; i <= n; ++i)
      for (int32_t j = 0; j <= m; ++j) {
        const double want = BruteNearOutline(L, grid[i][j], tol);
        EXPECT_NEAR(dist[i][j], want, 1e-12) << i << "," << j;
        near += want >= 0;
      }
    EXPECT_GT(near, 50);
  }
}

TEST_F(Polygons, GridPointsNearTheOutlineOverflow) {
  // A grid spacing of a denormal size turns the leg box into indices that
  // cannot be represented.
  Polygon L = LShape();
  Table<POINT> grid(1, 1);
  grid[0][0] = P(0, 0);
  grid[0][1] = P(1e-310, 0);
  grid[1][0] = P(0, 1);
  grid[1][1] = P(1e-310, 1);
  Table<double> dist(1, 1);
  EXPECT_EQ(G_ispgpg(L.rec(), grid.get(), 1, 1, 0.1, dist.get()), 1);
  EXPECT_TRUE(HasError(11, "G_ISPGPG"));
}

TEST_F(Polygons, NearestLegOfAPolygon) {
  Polygon poly({P(0, 0), P(4, 0), P(4, 4), P(0, 4)});
  POINT F;
  int32_t j = -1;
  double t = -1;
  int16_t found = -1;
  ASSERT_EQ(G_polleg(poly.rec(), P(1, -1, 0), &F, &j, &t, &found), 0);
  EXPECT_EQ(found, 1);
  EXPECT_EQ(j, 0);
  EXPECT_EQ(t, 0.25);
  ExpectXyz(F, 1, 0, 0);
  ASSERT_EQ(G_polleg(poly.rec(), P(3, 2.5, 0), &F, &j, &t, &found), 0);
  EXPECT_EQ(j, 1);
  EXPECT_EQ(t, 0.625);
  ExpectXyz(F, 4, 2.5, 0);
  // (2, 2) is equally near legs 0, 1 and 2: the first wins.
  ASSERT_EQ(G_polleg(poly.rec(), P(2, 2, 0), &F, &j, &t, &found), 0);
  EXPECT_EQ(j, 0);
  ExpectXyz(F, 2, 0, 0);
  // A point whose feet all fall off the legs.
  Polygon leg({P(0, 0), P(1, 0)});
  F = P(7, 7);
  ASSERT_EQ(G_polleg(leg.rec(), P(3, 1, 0), &F, &j, &t, &found), 0);
  EXPECT_EQ(found, 0);
  ExpectXyz(F, 7, 7, 0);
}

TEST_F(Polygons, NearestLegPassesOverZeroLengthLegs) {
  Polygon poly({P(0, 0), P(0, 0), P(4, 0), P(4, 0)});
  POINT F;
  int32_t j;
  double t;
  int16_t found;
  ASSERT_EQ(G_polleg(poly.rec(), P(3, 1, 0), &F, &j, &t, &found), 0);
  EXPECT_EQ(found, 1);
  EXPECT_EQ(j, 1);
  EXPECT_EQ(t, 0.75);
  EXPECT_TRUE(HasError(0, " "));
}

// A 3 x 3 net on the unit grid of the x-y plane: rows[i][j] = (i, j).
Table<POINT> UnitNet() {
  Table<POINT> t(2, 2);
  for (int i = 0; i <= 2; ++i)
    for (int j = 0; j <= 2; ++j) t[i][j] = P(i, j);
  return t;
}

TEST_F(Polygons, NearestLegOfANet) {
  Table<POINT> t = UnitNet();
  PNET net;
  G_makntl(2, 2, t.rows.data(), &net);
  POINT F;
  int32_t i, j;
  int16_t dir, found;
  double s;
  // Nearest to the direction-1 leg (1, 2)-(2, 2).
  ASSERT_EQ(G_netleg(net, P(1.25, 1.9, 1), &F, &i, &j, &dir, &s, &found), 0);
  EXPECT_EQ(found, 1);
  EXPECT_EQ(dir, 1);
  EXPECT_EQ(i, 1);
  EXPECT_EQ(j, 2);
  EXPECT_EQ(s, 0.25);
  ExpectXyz(F, 1.25, 2, 0);
  // Nearest to the direction-2 leg (2, 0)-(2, 1).
  ASSERT_EQ(G_netleg(net, P(1.9, 0.5, 0), &F, &i, &j, &dir, &s, &found), 0);
  EXPECT_EQ(dir, 2);
  EXPECT_EQ(i, 2);
  EXPECT_EQ(j, 0);
  EXPECT_EQ(s, 0.5);
  ExpectXyz(F, 2, 0.5, 0);
}

TEST_F(Polygons, NetLegTies) {
  Table<POINT> t = UnitNet();
  PNET net;
  G_makntl(2, 2, t.rows.data(), &net);
  POINT F;
  int32_t i, j;
  int16_t dir, found;
  double s;
  // (0.5, 0.5) is 0.5 from four legs, two in each direction: direction 2
  // wins the tie, and within it the first visited leg (row 0, j = 0).
  ASSERT_EQ(G_netleg(net, P(0.5, 0.5, 0), &F, &i, &j, &dir, &s, &found), 0);
  EXPECT_EQ(dir, 2);
  EXPECT_EQ(i, 0);
  EXPECT_EQ(j, 0);
  EXPECT_EQ(s, 0.5);
  // (0.5, 1.0, 0.3) lies 0.3 above the direction-1 legs (0,1)-(1,1) only:
  // direction 1 when it is strictly nearer.
  ASSERT_EQ(G_netleg(net, P(0.5, 1.0, 0.3), &F, &i, &j, &dir, &s, &found), 0);
  EXPECT_EQ(dir, 1);
  EXPECT_EQ(i, 0);
  EXPECT_EQ(j, 1);
  // Within direction 1 the first visited of equally near legs wins, on a
  // net of one column whose two legs turn a corner.
  Table<POINT> strip(2, 0);  // legs (0,0)-(2,0) and (2,0)-(2,2)
  strip[0][0] = P(0, 0);
  strip[1][0] = P(2, 0);
  strip[2][0] = P(2, 2);
  G_makntl(2, 0, strip.rows.data(), &net);
  // (1.5, 0.5): 0.5 from both legs; the leg with i = 0 was visited first.
  ASSERT_EQ(G_netleg(net, P(1.5, 0.5, 0), &F, &i, &j, &dir, &s, &found), 0);
  EXPECT_EQ(dir, 1);
  EXPECT_EQ(i, 0);
  EXPECT_EQ(j, 0);
  ExpectXyz(F, 1.5, 0, 0);
}

TEST_F(Polygons, NetLegWithoutAFootAndWithAPole) {
  Table<POINT> t = UnitNet();
  PNET net;
  G_makntl(2, 2, t.rows.data(), &net);
  POINT F{7, 7, 7};
  int32_t i = -3, j = -3;
  int16_t dir = -3, found = -1;
  double s = -3;
  ASSERT_EQ(G_netleg(net, P(-1, -1, 0), &F, &i, &j, &dir, &s, &found), 0);
  EXPECT_EQ(found, 0);
  EXPECT_EQ(i, -3);
  EXPECT_EQ(dir, -3);
  ExpectXyz(F, 7, 7, 7);
  // Row 0 collapsed to a pole: its direction-2 legs have no length.
  for (int jj = 0; jj <= 2; ++jj) t[0][jj] = P(0, 1);
  ASSERT_EQ(G_netleg(net, P(1.5, 2.1, 0), &F, &i, &j, &dir, &s, &found), 0);
  EXPECT_EQ(found, 1);
  EXPECT_EQ(dir, 1);
  EXPECT_EQ(i, 1);
  EXPECT_EQ(j, 2);
}

}  // namespace
