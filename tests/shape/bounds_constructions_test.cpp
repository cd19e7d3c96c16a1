// Boxes and extreme control points, lines and curves on given control
// points, Frenet frames and surface points along a parameter curve.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "eval/surface_reference.hpp"
#include "test_support.hpp"

using evaltest::CurveData;
using evaltest::dist;
using evaltest::norm;
using evaltest::SurfaceData;
using orvo_test::HasError;
using orvo_test::Workspace;

namespace {
const double kW = -DBL_MAX;
}

TEST(ShapeBounds, BoxesAndExtremes) {
  // Euclidean control points (1, 2, 3), (-1, 0, 3), (6, 6, 6), (1, -2, 0).
  CurveData c({{2, 4, 6, 2}, {-1, 0, 3, 1}, {3, 3, 3, 0.5}, {1, -2, 0, 1}}, {0, 0, 0, 0.5, 1, 1, 1},
              2);
  BOX b{};
  double d = 0.0, wmin, wmax, dmin, dmax;
  ASSERT_EQ(N_curbox(&c.cur, &b), 0);
  EXPECT_TRUE(b.xmin == -1 && b.xmax == 6 && b.ymin == -2 && b.ymax == 6 && b.zmin == 0 &&
              b.zmax == 6);
  ASSERT_EQ(N_curext(&c.cur, &d), 0);
  EXPECT_NEAR(d, std::sqrt(49.0 + 64.0 + 36.0), 1e-14);
  N_curmwp(&c.cur, &wmin, &wmax, &dmin, &dmax);
  EXPECT_TRUE(wmin == 0.5 && wmax == 2.0 && dmax == std::sqrt(108.0));
  EXPECT_NEAR(dmin, std::sqrt(5.0), 1e-15);
  // (0, 5, 0) and (3, 4, 0) are both at distance 5: the first one wins.
  CurveData e({{1, 1, 0, kW}, {0, 5, 0, kW}, {3, 4, 0, kW}, {0, 0, 1, kW}},
              {0, 0, 0, 0, 1, 1, 1, 1}, 3);
  POINT P{};
  N_curmpv(&e.cur, &P, &d);
  EXPECT_TRUE(P.y == 5.0 && d == 5.0);
  N_curmwp(&e.cur, &wmin, &wmax, &dmin, &dmax);
  EXPECT_TRUE(wmin == -DBL_MAX && wmax == -DBL_MAX && dmin == 1.0 && dmax == 5.0);

  // With positive weights the shape lies in the hull of its control
  // points, hence in the box.
  std::mt19937 rng(12);
  SurfaceData s(evaltest::random_net(4, 5, true, true, rng), evaltest::random_knots(4, 2, rng),
                evaltest::random_knots(5, 3, rng), 2, 3);
  ASSERT_EQ(N_surbox(&s.sur, &b), 0);
  for (int i = 0; i < 400; ++i) {
    POINT Q{};
    ASSERT_EQ(N_surevn(&s.sur, (i % 20) / 19.0, (i / 20) / 19.0, 1, 1, &Q), 0);
    EXPECT_TRUE(Q.x >= b.xmin - 1e-12 && Q.x <= b.xmax + 1e-12 && Q.y >= b.ymin - 1e-12 &&
                Q.y <= b.ymax + 1e-12 && Q.z >= b.zmin - 1e-12 && Q.z <= b.zmax + 1e-12);
  }
  N_surmpv(&s.sur, &P, &d);
  N_surmwp(&s.sur, &wmin, &wmax, &dmin, &dmax);
  EXPECT_TRUE(d == dmax && norm(P) == d && wmin >= 0.5 && wmax <= 2.0 && wmin < wmax);

  E_clrerr();
  EXPECT_TRUE(N_curbox(nullptr, &b) == 1 && HasError(1, "N_CURBOX"));
  EXPECT_TRUE(N_curext(nullptr, &d) == 1 && HasError(1, "N_CUREXT"));
  EXPECT_TRUE(N_surbox(nullptr, &b) == 1 && HasError(2, "N_SURBOX"));
  N_curmpv(nullptr, &P, &d);
  EXPECT_TRUE(HasError(1, "N_CURMPV"));
  N_surmwp(nullptr, &wmin, &wmax, &dmin, &dmax);
  EXPECT_TRUE(HasError(2, "N_SURMWP"));
}

TEST(ShapeConstructions, LinesAndCurvesOnGivenPoints) {
  Workspace ws;
  CURVE line, bez, quad;
  U_inicur(&line);
  U_inicur(&bez);
  U_inicur(&quad);
  ASSERT_EQ(N_curlin(POINT{1, 2, 3}, VECTOR{4, -2, 0.5}, &line, ws), 0);
  POINT P{};
  ASSERT_EQ(N_curevn(&line, 0.25, 1, &P), 0);
  EXPECT_TRUE(P.x == 2.0 && P.y == 1.5 && P.z == 3.125 && line.pol->Pw[1].w == kW);
  std::vector<POINT> pts = {{0, 0, 0}, {1, 2, 0}, {2, 2, 1}, {3, 0, 1}, {4, 1, 0}};
  ASSERT_EQ(N_curpoi(pts.data(), 3, 3, &bez, ws), 0);
  EXPECT_EQ(std::vector<double>(bez.knt->U, bez.knt->U + 8),
            (std::vector<double>{0, 0, 0, 0, 1, 1, 1, 1}));
  ASSERT_EQ(N_curpoi(pts.data(), 4, 2, &quad, ws), 0);
  EXPECT_EQ(std::vector<double>(quad.knt->U, quad.knt->U + 8),
            (std::vector<double>{0, 0, 0, 1.0 / 3, 2.0 / 3, 1, 1, 1}));
  EXPECT_TRUE(quad.pol->Pw[2].z == 1.0 && quad.pol->Pw[2].w == kW);

  std::vector<POINT> many(40, POINT{0, 0, 0});
  E_clrerr();
  for (int16_t p : {5, -1}) {
    EXPECT_TRUE(N_curpoi(pts.data(), 4, p, &quad, ws) == 1 && HasError(14, "N_CURPOI"));
  }
  EXPECT_TRUE(N_curpoi(many.data(), 39, 29, &quad, ws) == 1 && HasError(14, "N_CURPOI"));
  EXPECT_TRUE(N_curpoi(many.data(), 39, 3, &quad, ws) == 1 &&
              HasError(9, "N_CURPOI"));  // record too small
  EXPECT_TRUE(N_curlin(POINT{0, 0, 0}, VECTOR{1, 0, 0}, nullptr, ws) == 1 &&
              HasError(1, "N_CURLIN"));
}

TEST(ShapeConstructions, FrenetFramesAndSurfacePointsAlongACurve) {
  // Unit circle in the xy-plane, counter-clockwise: T is the tangent, N
  // points to the centre, B = (0, 0, 1).
  const double s = std::sqrt(0.5);
  const double xs[] = {1, 1, 0, -1, -1, -1, 0, 1, 1}, ys[] = {0, 1, 1, 1, 0, -1, -1, -1, 0};
  std::vector<CPOINT> pts;
  for (int i = 0; i < 9; ++i) {
    const double w = i % 2 ? s : 1.0;
    pts.push_back(CPOINT{w * xs[i], w * ys[i], 0.0, w});
  }
  CurveData circle(pts, {0, 0, 0, 0.25, 0.25, 0.5, 0.5, 0.75, 0.75, 1, 1, 1}, 2);
  POINT P{};
  VECTOR T{}, N{}, B{};
  for (double u : {0.1, 0.3, 0.6, 0.9}) {
    ASSERT_EQ(N_curfre(&circle.cur, u, 1, &P, &T, &N, &B), 0);
    const VECTOR want_t{-P.y, P.x, 0}, want_n{-P.x, -P.y, 0}, want_b{0, 0, 1};
    EXPECT_LT(dist(POINT{T.x, T.y, T.z}, POINT{want_t.x, want_t.y, want_t.z}), 1e-12);
    EXPECT_LT(dist(POINT{N.x, N.y, N.z}, POINT{want_n.x, want_n.y, want_n.z}), 1e-12);
    EXPECT_LT(dist(POINT{B.x, B.y, B.z}, POINT{want_b.x, want_b.y, want_b.z}), 1e-12);
  }
  E_clrerr();
  CurveData poly({{0, 0, 0, kW}, {1, 1, 0, kW}, {2, 0, 0, kW}}, {0, 0, 0.5, 1, 1}, 1);
  EXPECT_TRUE(N_curfre(&poly.cur, 0.3, 1, &P, &T, &N, &B) == 1 && HasError(3, "N_CURFRE"));
  CurveData straight({{0, 0, 0, kW}, {1, 1, 1, kW}, {3, 3, 3, kW}}, {0, 0, 0, 1, 1, 1}, 2);
  EXPECT_TRUE(N_curfre(&straight.cur, 0.3, 1, &P, &T, &N, &B) == 1 &&
              HasError(17, "G_VECNOR"));  // no binormal
  EXPECT_TRUE(N_curfre(&circle.cur, 1.5, 1, &P, &T, &N, &B) == 1 && HasError(6, "N_CURDER"));

  // The diagonal from (-0.5, 0.2) to (1.5, 0.6) of the parameter plane:
  // parts outside the range of u are clamped onto its ends.
  std::mt19937 rng(13);
  SurfaceData sur(evaltest::random_net(4, 4, true, true, rng), evaltest::random_knots(4, 2, rng),
                  evaltest::random_knots(4, 3, rng), 2, 3);
  CurveData uv({{-0.5, 0.2, DBL_MAX, kW}, {1.5, 0.6, DBL_MAX, kW}}, {0, 0, 1, 1}, 1);
  for (double t : {0.0, 0.1, 0.5, 0.8, 1.0}) {
    POINT Q{};
    ASSERT_EQ(N_suresc(&sur.sur, &uv.cur, t, &P), 0);
    ASSERT_EQ(
        N_surevn(&sur.sur, std::min(1.0, std::max(0.0, 2.0 * t - 0.5)), 0.2 + 0.4 * t, 1, 1, &Q),
        0);
    EXPECT_LT(dist(P, Q), 1e-14 * (1.0 + norm(Q))) << t;
  }
  EXPECT_TRUE(N_suresc(&sur.sur, &uv.cur, 2.0, &P) == 1 && HasError(6, "N_CUREVN"));
  EXPECT_TRUE(N_suresc(nullptr, &uv.cur, 0.5, &P) == 1 && HasError(2, "N_SURESC"));
}
