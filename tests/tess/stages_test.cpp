// The tessellator's exported stages on hand-checked cases, and the road
// through the subdivision record: N_tessub then N_tesdel.
#include <cmath>

#include "tess/mesh_validator.hpp"

using namespace orvo_test;
using namespace tesstest;

TEST(TessStages, SizeChordPolylineAndCrossings) {
  auto P = make_surface(0), F = make_surface(2);  // 2 x 1 rectangle; bicubic hills
  Trims TP(&P->sur), TF(&F->sur);
  double A, Lu, Lv, dev = -1;
  ASSERT_EQ(N_tesesa(&P->sur, &A, &Lu, &Lv), 0);
  EXPECT_DOUBLE_EQ(Lu, 2.0);
  EXPECT_DOUBLE_EQ(Lv, 1.0);
  EXPECT_DOUBLE_EQ(A, 2.0);

  // A straight line on the plane bends nowhere; a straight line across the
  // hills does.
  CURVE *diag = TP.add({{.1, .2, 0}, {.9, .7, 0}}, {0, 0, 1, 1}, 1);
  ASSERT_EQ(N_tespae(&P->sur, diag, 0, 1, &dev), 0);
  EXPECT_NEAR(dev, 0.0, 1e-15);
  CURVE *across = TF.add({{.1, .2, 0}, {.9, .7, 0}}, {0, 0, 1, 1}, 1);
  ASSERT_EQ(N_tespae(&F->sur, across, 0, 1, &dev), 0);
  EXPECT_GT(dev, 1e-3);

  // Square corners and a degree-1 curve: the polyline is the control polygon.
  Workspace ws;
  double *u, *v;
  int32_t n = -1;
  ASSERT_EQ(N_tesptc(&P->sur, diag, 1e-3, &u, &v, &n, &ws), 0);
  ASSERT_EQ(n, 1);
  EXPECT_DOUBLE_EQ(u[1], 0.9);
  EXPECT_DOUBLE_EQ(v[1], 0.7);
  // On the hills every piece passes the chord test with the tolerance.
  ASSERT_EQ(N_tesptc(&F->sur, across, 1e-4, &u, &v, &n, &ws), 0);
  EXPECT_GT(n, 3);
  for (int32_t k = 0; k < n; ++k) {
    POINT a, b;
    ASSERT_EQ(N_curevn(across, 0, 1, &a), 0);
    ASSERT_EQ(N_curevn(across, 1, 1, &b), 0);
    const double t0 = (u[k] - a.x) / (b.x - a.x), t1 = (u[k + 1] - a.x) / (b.x - a.x);
    ASSERT_EQ(N_tespae(&F->sur, across, t0, t1, &dev), 0);
    EXPECT_LT(dev, 1e-4 * (1 + 1e-9)) << k;
  }

  // Segment against segment, with the reach d beyond the ends.
  const struct {
    double seg[8], d, s, t, x, y;
    int16_t found;
  } cases[] = {
      {{0, 0, 1, 1, 0, 1, 1, 0}, 0, .5, .5, .5, .5, 1},             // the diagonals of a square
      {{0, 0, 1, 0, 0, 1, 1, 1}, 1, 0, 0, 0, 0, 0},                 // parallel
      {{0, 0, 1, 0, 1.05, -1, 1.05, 1}, .1, 1.05, .5, 1.05, 0, 1},  // just beyond the end
      {{0, 0, 1, 0, 1.05, -1, 1.05, 1}, .01, 0, 0, 0, 0, 0},
  };
  for (const auto &c : cases) {
    double s = 0, t = 0, x = 0, y = 0;
    int16_t found = -1;
    const double *q = c.seg;
    ASSERT_EQ(N_teslsi(q[0], q[1], q[2], q[3], q[4], q[5], q[6], q[7], c.d, &s, &t, &x, &y, &found),
              0);
    EXPECT_EQ(found, c.found);
    if (found) {
      EXPECT_NEAR(s + t + x + y, c.s + c.t + c.x + c.y, 1e-15);
    }
  }
  double pos, x, y;
  int16_t found;
  const RECTANGLE cell{0, 2, 0, 1};
  ASSERT_EQ(N_teslpi(cell, 3, 0.5, 0.5, 0.5, 1.5, 0, &pos, &x, &y, &found), 0);
  EXPECT_EQ(found, 1);
  EXPECT_DOUBLE_EQ(pos, 0.75);  // upper side, run from u = 2 to u = 0
  EXPECT_EQ(N_teslpi(cell, 5, 0, 0, 1, 1, 0, &pos, &x, &y, &found), 1);
  expect_error(13, "N_TESLPI");
}

TEST(TessStages, SubdivisionRecordMeshesLikeTheDriver) {
  auto F = make_surface(2);
  double A, Lu, Lv;
  ASSERT_EQ(N_tesesa(&F->sur, &A, &Lu, &Lv), 0);
  // The domain, 0.01 beyond on every side, with a square hole in its middle.
  double ou[5] = {-.01, Lu + .01, Lu + .01, -.01, -.01},
         ov[5] = {-.01, -.01, Lv + .01, Lv + .01, -.01};
  double hu[5] = {.4 * Lu, .4 * Lu, .6 * Lu, .6 * Lu, .4 * Lu},
         hv[5] = {.4 * Lv, .6 * Lv, .6 * Lv, .4 * Lv, .4 * Lv};
  TRIMLOOP loops[2] = {{4, ou, ov, {-.01, Lu + .01, -.01, Lv + .01}},
                       {4, hu, hv, {.4 * Lu, .6 * Lu, .4 * Lv, .6 * Lv}}};
  TRIMREGION reg{0, loops};
  Workspace ws;
  TESSGRID g{};
  ASSERT_EQ(N_tessub(&F->sur, 1e-3, &reg, 0, 1e-4, &g, &ws), 0);
  int32_t **nb, *c, *t[3], nt = -1;
  ASSERT_EQ(N_tesdel(&g, &reg, 0, 1e-4, Lu, Lv, &nb, &c, &ws), 0);
  ASSERT_EQ(N_tesbat(nb, c, g.np, &t[0], &t[1], &t[2], &nt, &ws), 0);
  double area = 0;
  for (int32_t k = 0; k <= nt; ++k) {
    const int32_t a = t[0][k], b = t[1][k], d = t[2][k];
    const double twice =
        (g.u[b] - g.u[a]) * (g.v[d] - g.v[a]) - (g.v[b] - g.v[a]) * (g.u[d] - g.u[a]);
    EXPECT_GT(twice, 0);
    area += twice / 2;
  }
  EXPECT_NEAR(area, 0.96 * Lu * Lv, 1e-12 * Lu * Lv);  // the square hole is cut exactly
  EXPECT_EQ(N_tessub(&F->sur, 0, &reg, 0, 1e-4, &g, &ws), 1);
  expect_error(19, "N_TESSUB");
}

// A loop round a full cylinder whose last circle piece is cut short by
// rounding at the joint: the straight leg after it must not crawl on from
// that sliver (it once ran out of its test budget and failed with 19).
TEST(TessStages, PolylineOfALoopRoundACylinder) {
  Workspace ws;
  CURVE gen, loop;
  SURFACE cyl;
  U_inicur(&gen), U_inicur(&loop), U_inisur(&cyl);
  ASSERT_EQ(N_igs110(POINT{2, 0, 0}, POINT{2, 0, 3}, &gen, &ws), 0);
  ASSERT_EQ(N_igs120(POINT{0, 0, 0}, POINT{0, 0, 1}, &gen, 0.0, 360.0, &cyl, &ws), 0);
  const POINT Q[5] = {{0, 0, 0}, {1, 0, 0}, {1, .5, 0}, {0, .5, 0}, {0, 0, 0}};
  ASSERT_EQ(N_igs106(Q, 4, 0, &loop, &ws), 0);
  for (double tol : {1e-2, 3e-3, 1e-3, 7e-4, 2e-4}) {
    double *u, *v;
    int32_t n = -1;
    ASSERT_EQ(N_tesptc(&cyl, &loop, tol, &u, &v, &n, &ws), 0) << tol;
    EXPECT_TRUE(n > 20 && u[0] == 0 && v[0] == 0 && u[n] == 0 && v[n] == 0) << tol;
  }
}
