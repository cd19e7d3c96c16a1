// Boxes and extreme control points, lines and curves through control
// points, Frenet frames and points of a surface along a parameter curve.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "eval/surface_reference.hpp"
#include "orvo/orvo.h"
#include "test_support.hpp"

using evaltest::CurveData;
using evaltest::dist;
using evaltest::norm;
using evaltest::SurfaceData;
using orvo_test::HasError;
using orvo_test::Workspace;

namespace {

bool inside(const BOX &b, const POINT &p, double tol) {
  return p.x >= b.xmin - tol && p.x <= b.xmax + tol && p.y >= b.ymin - tol && p.y <= b.ymax + tol &&
         p.z >= b.zmin - tol && p.z <= b.zmax + tol;
}

const double kW = -DBL_MAX;

}  // namespace

TEST(ShapeBounds, BoxesOfControlPointsContainTheShape) {
  // The box of the Euclidean control points, by hand.
  CurveData c({{2, 4, 6, 2}, {-1, 0, 3, 1}, {3, 3, 3, 0.5}, {1, -2, 0, 1}}, {0, 0, 0, 0.5, 1, 1, 1},
              2);
  BOX b{};
  ASSERT_EQ(N_curbox(&c.cur, &b), 0);
  EXPECT_EQ(b.xmin, -1.0);
  EXPECT_EQ(b.xmax, 6.0);
  EXPECT_EQ(b.ymin, -2.0);
  EXPECT_EQ(b.ymax, 6.0);
  EXPECT_EQ(b.zmin, 0.0);
  EXPECT_EQ(b.zmax, 6.0);
  double d = 0.0;
  ASSERT_EQ(N_curext(&c.cur, &d), 0);
  EXPECT_NEAR(d, std::sqrt(49.0 + 64.0 + 36.0), 1e-14);

  // Positive weights: the curve and surface lie in the hull of their
  // control points, hence in the box.
  std::mt19937 rng(12);
  CurveData r(evaltest::random_points(8, true, true, rng), evaltest::random_knots(8, 3, rng), 3);
  ASSERT_EQ(N_curbox(&r.cur, &b), 0);
  for (int i = 0; i <= 200; ++i) {
    POINT P{};
    ASSERT_EQ(N_curevn(&r.cur, i / 200.0, 1, &P), 0);
    EXPECT_TRUE(inside(b, P, 1e-12));
  }
  SurfaceData s(evaltest::random_net(4, 5, true, true, rng), evaltest::random_knots(4, 2, rng),
                evaltest::random_knots(5, 3, rng), 2, 3);
  ASSERT_EQ(N_surbox(&s.sur, &b), 0);
  for (int i = 0; i <= 20; ++i)
    for (int j = 0; j <= 20; ++j) {
      POINT P{};
      ASSERT_EQ(N_surevn(&s.sur, i / 20.0, j / 20.0, 1, 1, &P), 0);
      EXPECT_TRUE(inside(b, P, 1e-12));
    }
  // Each face of the box touches a control point.
  bool touches = false;
  for (const auto &row : s.rows)
    for (const CPOINT &q : row) touches |= q.x / q.w == b.xmax;
  EXPECT_TRUE(touches);

  E_clrerr();
  EXPECT_EQ(N_curbox(nullptr, &b), 1);
  EXPECT_TRUE(HasError(1, "N_CURBOX"));
  EXPECT_EQ(N_curext(nullptr, &d), 1);
  EXPECT_TRUE(HasError(1, "N_CUREXT"));
  SURFACE none;
  U_inisur(&none);
  EXPECT_EQ(N_surbox(&none, &b), 1);
  EXPECT_TRUE(HasError(2, "N_SURBOX"));
}

TEST(ShapeBounds, ExtremeControlPointsAndWeights) {
  // (0, 5, 0) and (3, 4, 0) are both at distance 5: the first one wins.
  CurveData c({{1, 1, 0, kW}, {0, 5, 0, kW}, {3, 4, 0, kW}, {0, 0, 1, kW}},
              {0, 0, 0, 0, 1, 1, 1, 1}, 3);
  POINT P{};
  double d = 0.0;
  N_curmpv(&c.cur, &P, &d);
  EXPECT_EQ(P.y, 5.0);
  EXPECT_EQ(d, 5.0);
  double wmin = 0, wmax = 0, dmin = 0, dmax = 0;
  N_curmwp(&c.cur, &wmin, &wmax, &dmin, &dmax);
  EXPECT_EQ(wmin, -DBL_MAX);
  EXPECT_EQ(wmax, -DBL_MAX);
  EXPECT_EQ(dmin, 1.0);
  EXPECT_EQ(dmax, 5.0);

  // Rational: weights as stored, distances of the Euclidean points.
  SurfaceData s({{{2, 0, 0, 2}, {0, 0, 3, 0.5}}, {{0, 8, 0, 2}, {3, 4, 0, 1}}}, {0, 0, 1, 1},
                {0, 0, 1, 1}, 1, 1);
  N_surmwp(&s.sur, &wmin, &wmax, &dmin, &dmax);
  EXPECT_EQ(wmin, 0.5);
  EXPECT_EQ(wmax, 2.0);
  EXPECT_EQ(dmin, 1.0);
  EXPECT_EQ(dmax, 6.0);
  N_surmpv(&s.sur, &P, &d);
  EXPECT_EQ(P.z, 6.0);
  EXPECT_EQ(d, 6.0);

  E_clrerr();
  N_curmpv(nullptr, &P, &d);
  EXPECT_TRUE(HasError(1, "N_CURMPV"));
  N_surmwp(nullptr, &wmin, &wmax, &dmin, &dmax);
  EXPECT_TRUE(HasError(2, "N_SURMWP"));
}

TEST(ShapeConstructions, LinesAndCurvesThroughControlPoints) {
  Workspace ws;
  CURVE line;
  U_inicur(&line);
  ASSERT_EQ(N_curlin(POINT{1, 2, 3}, VECTOR{4, -2, 0.5}, &line, ws), 0);
  EXPECT_EQ(line.p, 1);
  for (double t : {0.0, 0.25, 1.0}) {
    POINT P{};
    ASSERT_EQ(N_curevn(&line, t, 1, &P), 0);
    EXPECT_NEAR(P.x, 1 + 4 * t, 1e-15);
    EXPECT_NEAR(P.y, 2 - 2 * t, 1e-15);
    EXPECT_NEAR(P.z, 3 + 0.5 * t, 1e-15);
  }
  EXPECT_EQ(line.pol->Pw[1].w, -DBL_MAX);

  std::vector<POINT> pts = {{0, 0, 0}, {1, 2, 0}, {2, 2, 1}, {3, 0, 1}, {4, 1, 0}};
  CURVE bez;
  U_inicur(&bez);
  ASSERT_EQ(N_curpoi(pts.data(), 3, 3, &bez, ws), 0);
  EXPECT_EQ(std::vector<double>(bez.knt->U, bez.knt->U + 8),
            (std::vector<double>{0, 0, 0, 0, 1, 1, 1, 1}));
  CURVE quad;
  U_inicur(&quad);
  ASSERT_EQ(N_curpoi(pts.data(), 4, 2, &quad, ws), 0);
  EXPECT_EQ(std::vector<double>(quad.knt->U, quad.knt->U + 8),
            (std::vector<double>{0, 0, 0, 1.0 / 3, 2.0 / 3, 1, 1, 1}));
  EXPECT_EQ(quad.pol->Pw[2].z, 1.0);
  EXPECT_EQ(quad.pol->Pw[2].w, -DBL_MAX);

  E_clrerr();
  EXPECT_EQ(N_curpoi(pts.data(), 4, 5, &quad, ws), 1);
  EXPECT_TRUE(HasError(14, "N_CURPOI"));
  EXPECT_EQ(N_curpoi(pts.data(), 4, -1, &quad, ws), 1);
  EXPECT_TRUE(HasError(14, "N_CURPOI"));
  std::vector<POINT> many(40, POINT{0, 0, 0});
  EXPECT_EQ(N_curpoi(many.data(), 39, 29, &quad, ws), 1);
  EXPECT_TRUE(HasError(14, "N_CURPOI"));
  // An output record too small for the curve.
  EXPECT_EQ(N_curpoi(many.data(), 39, 3, &quad, ws), 1);
  EXPECT_TRUE(HasError(9, "N_CURPOI"));
  EXPECT_EQ(N_curlin(POINT{0, 0, 0}, VECTOR{1, 0, 0}, nullptr, ws), 1);
  EXPECT_TRUE(HasError(1, "N_CURLIN"));
}

TEST(ShapeConstructions, FrenetFrameOfACircleAndItsRefusals) {
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
  for (double u : {0.1, 0.3, 0.6, 0.9}) {
    POINT P{};
    VECTOR T{}, N{}, B{};
    ASSERT_EQ(N_curfre(&circle.cur, u, 1, &P, &T, &N, &B), 0);
    EXPECT_NEAR(T.x, -P.y, 1e-12);
    EXPECT_NEAR(T.y, P.x, 1e-12);
    EXPECT_NEAR(N.x, -P.x, 1e-12);
    EXPECT_NEAR(N.y, -P.y, 1e-12);
    EXPECT_NEAR(B.z, 1.0, 1e-12);
    EXPECT_NEAR(std::fabs(T.z) + std::fabs(N.z), 0.0, 1e-12);
  }
  POINT P{};
  VECTOR T{}, N{}, B{};
  E_clrerr();
  CurveData poly({{0, 0, 0, kW}, {1, 1, 0, kW}, {2, 0, 0, kW}}, {0, 0, 0.5, 1, 1}, 1);
  EXPECT_EQ(N_curfre(&poly.cur, 0.3, 1, &P, &T, &N, &B), 1);
  EXPECT_TRUE(HasError(3, "N_CURFRE"));
  // A straight quadratic has no binormal.
  CurveData straight({{0, 0, 0, kW}, {1, 1, 1, kW}, {3, 3, 3, kW}}, {0, 0, 0, 1, 1, 1}, 2);
  EXPECT_EQ(N_curfre(&straight.cur, 0.3, 1, &P, &T, &N, &B), 1);
  EXPECT_TRUE(HasError(17, "G_VECNOR"));
  EXPECT_EQ(N_curfre(&circle.cur, 1.5, 1, &P, &T, &N, &B), 1);
  EXPECT_TRUE(HasError(6, "N_CURDER"));
  EXPECT_EQ(N_curfre(nullptr, 0.5, 1, &P, &T, &N, &B), 1);
  EXPECT_TRUE(HasError(1, "N_CURFRE"));
}

TEST(ShapeConstructions, SurfacePointsAlongAParameterCurve) {
  std::mt19937 rng(13);
  SurfaceData s(evaltest::random_net(4, 4, true, true, rng), evaltest::random_knots(4, 2, rng),
                evaltest::random_knots(4, 3, rng), 2, 3);
  // The diagonal from (-0.5, 0.2) to (1.5, 0.6): parts outside the range of
  // u are clamped onto its ends.
  CurveData uv({{-0.5, 0.2, DBL_MAX, kW}, {1.5, 0.6, DBL_MAX, kW}}, {0, 0, 1, 1}, 1);
  for (double t : {0.0, 0.1, 0.5, 0.8, 1.0}) {
    POINT P{}, Q{};
    ASSERT_EQ(N_suresc(&s.sur, &uv.cur, t, &P), 0);
    const double u = std::min(1.0, std::max(0.0, -0.5 + 2.0 * t)), v = 0.2 + 0.4 * t;
    ASSERT_EQ(N_surevn(&s.sur, u, v, 1, 1, &Q), 0);
    EXPECT_LT(dist(P, Q), 1e-14 * (1.0 + norm(Q))) << t;
  }
  POINT P{};
  E_clrerr();
  EXPECT_EQ(N_suresc(&s.sur, &uv.cur, 2.0, &P), 1);
  EXPECT_TRUE(HasError(6, "N_CUREVN"));
  EXPECT_EQ(N_suresc(nullptr, &uv.cur, 0.5, &P), 1);
  EXPECT_TRUE(HasError(2, "N_SURESC"));
}
