// Reversal, exchange of directions and unclamping: reversed records
// evaluate at the mirrored parameter, unclamped ones keep their shape.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "core/internal.hpp"
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

POINT at(const CURVE *c, double u, int16_t side = 1) {
  POINT P{};
  EXPECT_EQ(N_curevn(c, u, side, &P), 0) << u;
  return P;
}

POINT at(const SURFACE *s, double u, double v) {
  POINT P{};
  EXPECT_EQ(N_surevn(s, u, v, 1, 1, &P), 0) << u << " " << v;
  return P;
}

std::vector<double> knots_of(const CURVE &c) {
  return std::vector<double>(c.knt->U, c.knt->U + c.knt->m + 1);
}

// Knots on a grid of 1/4096, so that mirroring about 1/2 is exact both ways.
std::vector<double> dyadic(std::vector<double> U) {
  for (double &x : U) x = std::round(x * 4096.0) / 4096.0;
  return U;
}

// Equal bit for bit.
bool same_points(const CPOINT *a, const CPOINT *b, int n) {
  return std::memcmp(a, b, sizeof(CPOINT) * (n + 1)) == 0;
}

}  // namespace

TEST(ShapeReverse, KnotsMirrorAndEndsStay) {
  const double kW = -DBL_MAX;
  CurveData a({{0, 0, 0, kW}, {1, 0, 0, kW}, {2, 1, 0, kW}, {3, 0, 0, kW}}, {0, 0, 0, 1, 4, 4, 4},
              2);
  ASSERT_EQ(N_currev(&a.cur, &a.cur, nullptr), 0);
  EXPECT_EQ(a.U, (std::vector<double>{0, 0, 0, 3, 4, 4, 4}));
  EXPECT_EQ(a.Pw[0].x, 3.0);
  EXPECT_EQ(a.Pw[3].x, 0.0);
  CurveData b({{0, 0, 0, kW}, {1, 0, 0, kW}, {2, 1, 0, kW}, {3, 0, 0, kW}, {4, 0, 0, kW}},
              {0, 0, 0, 1, 3, 4, 4, 4}, 2);
  ASSERT_EQ(N_currev(&b.cur, &b.cur, nullptr), 0);
  EXPECT_EQ(b.U, (std::vector<double>{0, 0, 0, 1, 3, 4, 4, 4}));
}

TEST(ShapeReverse, CurvesEvaluateAtTheMirroredParameter) {
  std::mt19937 rng(6);
  for (bool rational : {false, true})
    for (int p = 1; p <= 4; ++p) {
      CurveData c(evaltest::random_points(p + 5, true, rational, rng),
                  dyadic(evaltest::random_knots(p + 5, p, rng, p >= 2 ? 2 : 0)), p);
      const std::vector<CPOINT> pts = c.Pw;
      const std::vector<double> knots = c.U;
      Workspace ws;
      CURVE out;
      U_inicur(&out);
      ASSERT_EQ(N_currev(&c.cur, &out, ws), 0);
      for (double u : knots)
        for (int16_t side : {1, 2}) {
          // The left limit of the reversed curve is the right limit of
          // the original at the mirrored parameter.
          const POINT want = at(&c.cur, 1.0 - u, side == 1 ? 2 : 1);
          EXPECT_LT(dist(at(&out, u, side), want), 1e-12 * (1.0 + norm(want))) << p << " " << u;
        }
      // In place gives the same record; twice gives the original exactly.
      ASSERT_EQ(N_currev(&c.cur, &c.cur, ws), 0);
      EXPECT_TRUE(same_points(c.Pw.data(), out.pol->Pw, out.pol->n));
      EXPECT_EQ(c.U, knots_of(out));
      ASSERT_EQ(N_currev(&c.cur, &c.cur, ws), 0);
      EXPECT_TRUE(same_points(c.Pw.data(), pts.data(), c.pol.n));
      EXPECT_EQ(c.U, knots);
    }
}

TEST(ShapeReverse, UnclampedCurvesMirrorTheirEndKnotsToo) {
  // Uneven unclamped knots: the domain [3, 4] maps to [4, 5] under the
  // mirror about (0 + 8) / 2, and the reversed curve traces it backwards.
  std::mt19937 rng(7);
  CurveData c(evaltest::random_points(3, true, true, rng), {0, 0.5, 1.5, 3, 4, 6.5, 7, 8}, 3);
  Workspace ws;
  CURVE out;
  U_inicur(&out);
  ASSERT_EQ(N_currev(&c.cur, &out, ws), 0);
  EXPECT_EQ(knots_of(out), (std::vector<double>{0, 1, 1.5, 4, 5, 6.5, 7.5, 8}));
  for (double u : {4.0, 4.3, 4.8, 5.0}) {
    const POINT want = at(&c.cur, 8.0 - u, u == 5.0 ? 1 : 2);
    EXPECT_LT(dist(at(&out, u, 1), want), 1e-12 * (1.0 + norm(want))) << u;
  }
}

TEST(ShapeReverse, SurfacesInEitherDirection) {
  std::mt19937 rng(8);
  SurfaceData s(evaltest::random_net(5, 4, true, true, rng),
                dyadic(evaltest::random_knots(5, 3, rng)),
                dyadic(evaltest::random_knots(4, 2, rng)), 3, 2);
  Workspace ws;
  for (int16_t dir : {1, 2}) {
    SURFACE out;
    U_inisur(&out);
    ASSERT_EQ(N_surrev(&s.sur, dir, &out, ws), 0);
    for (double u : {0.0, 0.21, 0.5, 0.93, 1.0})
      for (double v : {0.0, 0.37, 1.0}) {
        const POINT want = dir == 1 ? at(&s.sur, 1.0 - u, v) : at(&s.sur, u, 1.0 - v);
        EXPECT_LT(dist(at(&out, u, v), want), 1e-12 * (1.0 + norm(want))) << dir << u << v;
      }
    // The other direction's knots are copied unchanged.
    const KNOTVECTOR *kept = dir == 1 ? out.knv : out.knu;
    EXPECT_EQ(std::vector<double>(kept->U, kept->U + kept->m + 1), dir == 1 ? s.V : s.U);
  }
  // In place, twice: the original exactly.
  const auto rows = s.rows;
  const std::vector<double> U = s.U, V = s.V;
  for (int16_t dir : {1, 2, 2, 1}) ASSERT_EQ(N_surrev(&s.sur, dir, &s.sur, ws), 0);
  EXPECT_EQ(s.U, U);
  EXPECT_EQ(s.V, V);
  for (size_t i = 0; i < rows.size(); ++i)
    EXPECT_TRUE(same_points(rows[i].data(), s.rows[i].data(), s.net.m));

  E_clrerr();
  EXPECT_EQ(N_surrev(&s.sur, 3, &s.sur, ws), 1);
  EXPECT_TRUE(HasError(13, "N_SURREV"));
  // A non-empty output record that is too small.
  SurfaceData small(evaltest::random_net(2, 2, true, true, rng), {0, 0, 0, 1, 1, 1},
                    {0, 0, 0, 1, 1, 1}, 2, 2);
  EXPECT_EQ(N_surrev(&s.sur, 1, &small.sur, ws), 1);
  EXPECT_TRUE(HasError(9, "N_SURREV"));
  CURVE none;
  U_inicur(&none);
  EXPECT_EQ(N_currev(&none, &none, ws), 1);
  EXPECT_TRUE(HasError(1, "N_CURREV"));
}

TEST(ShapeSwap, ExchangesTheDirections) {
  std::mt19937 rng(9);
  Workspace ws;
  SURFACE s;
  U_inisur(&s);
  SurfaceData src(evaltest::random_net(4, 2, true, true, rng), evaltest::random_knots(4, 3, rng),
                  evaltest::random_knots(2, 1, rng), 3, 1);
  ASSERT_EQ(U_surcop(&src.sur, &s, ws), 0);
  const size_t blocks = orvo_test::total_blocks(ws.ws);
  ASSERT_EQ(U_swapuv(&s, ws), 0);
  EXPECT_EQ(s.net->n, 2);
  EXPECT_EQ(s.net->m, 4);
  EXPECT_EQ(s.p, 1);
  EXPECT_EQ(s.q, 3);
  // The old net array was released: as many blocks as before.
  EXPECT_EQ(orvo_test::total_blocks(ws.ws), blocks);
  for (double u : {0.0, 0.3, 1.0})
    for (double v : {0.1, 0.8}) {
      const POINT want = at(&src.sur, u, v);
      EXPECT_LT(dist(at(&s, v, u), want), 1e-13 * (1.0 + norm(want)));
    }
  ASSERT_EQ(U_swapuv(&s, ws), 0);
  for (int i = 0; i <= 4; ++i) EXPECT_TRUE(same_points(s.net->Pw[i], src.rows[i].data(), 2));
  EXPECT_EQ(s.p, 3);

  // An allocation that fails leaves the surface as it was.
  CPOINT **before = s.net->Pw;
  orvo::detail::fail_allocation_at(1);
  E_clrerr();
  EXPECT_EQ(U_swapuv(&s, ws), 1);
  orvo::detail::fail_allocation_at(0);
  EXPECT_TRUE(HasError(15, "S_GETC2D"));
  EXPECT_EQ(s.net->Pw, before);
  EXPECT_EQ(s.net->n, 4);
}

TEST(ShapeUnclamp, CurvesKeepTheirShapeAndGetDistinctEndKnots) {
  // Uniform interior spacing continues to the ends.
  const double kW = -DBL_MAX;
  CurveData u(
      {{0, 0, 0, kW}, {1, 2, 0, kW}, {2, -1, 1, kW}, {3, 0, 0, kW}, {4, 3, 1, kW}, {5, 1, 0, kW}},
      {0, 0, 0, 0, 1, 2, 3, 3, 3, 3}, 3);
  ASSERT_EQ(N_curunc(&u.cur), 0);
  EXPECT_EQ(u.U, (std::vector<double>{-3, -2, -1, 0, 1, 2, 3, 4, 5, 6}));

  std::mt19937 rng(10);
  for (bool rational : {false, true})
    for (int p = 1; p <= 5; ++p) {
      CurveData c(evaltest::random_points(p + 6, true, rational, rng),
                  evaltest::random_knots(p + 6, p, rng, p >= 3 ? 3 : 0), p);
      CurveData copy(c.Pw, c.U, p);
      const std::vector<double> clamped = c.U;
      std::vector<POINT> before;
      std::vector<double> us;
      for (int i = 0; i <= 30; ++i) us.push_back(i / 30.0);
      for (double t : us) before.push_back(at(&c.cur, t));
      ASSERT_EQ(N_curunc(&c.cur), 0);
      for (int i = 0; i < c.knt.m; ++i) EXPECT_LE(c.U[i], c.U[i + 1]) << p;
      EXPECT_LT(c.U[0], c.U[p]);
      EXPECT_GT(c.U[c.knt.m], c.U[c.knt.m - p]);
      EXPECT_EQ(c.U[p], 0.0);
      EXPECT_EQ(c.U[c.knt.m - p], 1.0);
      for (size_t k = 0; k < us.size(); ++k)
        EXPECT_LT(dist(at(&c.cur, us[k], us[k] == 1.0 ? 2 : 1), before[k]),
                  1e-10 * (1.0 + norm(before[k])))
            << p << " " << us[k];
      if (p == 1) {
        EXPECT_TRUE(same_points(c.Pw.data(), copy.Pw.data(), c.pol.n));
      }
      // Given the unclamped knots, the twin changes the points alike and
      // leaves the curve's own knots alone.
      ASSERT_EQ(N_curunu(&copy.cur, &c.knt), 0);
      EXPECT_EQ(copy.U, clamped);
      for (int i = 0; i <= c.pol.n; ++i) {
        EXPECT_NEAR(copy.Pw[i].x, c.Pw[i].x, 1e-12 * (1.0 + std::fabs(c.Pw[i].x)));
        EXPECT_EQ(copy.Pw[i].w, c.Pw[i].w);
      }
    }
}

TEST(ShapeUnclamp, SurfacesInOneOrBothDirections) {
  std::mt19937 rng(11);
  for (int16_t dir : {1, 2, 3, 7}) {
    SurfaceData s(evaltest::random_net(5, 6, true, true, rng), evaltest::random_knots(5, 3, rng),
                  evaltest::random_knots(6, 2, rng), 3, 2);
    const std::vector<double> U = s.U, V = s.V;
    std::vector<POINT> before;
    for (double u : {0.0, 0.2, 0.55, 0.9})
      for (double v : {0.0, 0.45, 0.8}) before.push_back(at(&s.sur, u, v));
    ASSERT_EQ(N_surunc(&s.sur, dir), 0);
    EXPECT_EQ(s.U[0] != U[0], dir == 1 || dir == 3);
    EXPECT_EQ(s.V[0] != V[0], dir == 2 || dir == 3);
    size_t k = 0;
    for (double u : {0.0, 0.2, 0.55, 0.9})
      for (double v : {0.0, 0.45, 0.8}) {
        EXPECT_LT(dist(at(&s.sur, u, v), before[k]), 1e-10 * (1.0 + norm(before[k])));
        ++k;
      }
  }
  // The twin with given knots.
  SurfaceData a(evaltest::random_net(5, 6, true, false, rng), evaltest::random_knots(5, 3, rng),
                evaltest::random_knots(6, 2, rng), 3, 2);
  SurfaceData b(a.rows, a.U, a.V, 3, 2);
  ASSERT_EQ(N_surunc(&a.sur, 3), 0);
  ASSERT_EQ(N_suruuv(&b.sur, &a.knu, &a.knv, 3), 0);
  EXPECT_EQ(b.U[0], 0.0);
  for (int i = 0; i <= 5; ++i)
    for (int j = 0; j <= 6; ++j)
      EXPECT_NEAR(b.rows[i][j].y, a.rows[i][j].y, 1e-12 * (1.0 + std::fabs(a.rows[i][j].y)));
  E_clrerr();
  EXPECT_EQ(N_suruuv(&b.sur, &a.knu, nullptr, 2), 1);
  EXPECT_TRUE(HasError(14, "N_SURUUV"));
  KNOTVECTOR shortk{5, a.U.data()};
  EXPECT_EQ(N_suruuv(&b.sur, &shortk, nullptr, 1), 1);
  EXPECT_TRUE(HasError(14, "N_SURUUV"));
}

TEST(ShapeUnclamp, RefusalsLeaveTheCurveUnchanged) {
  const double kW = -DBL_MAX;
  std::vector<CPOINT> pts = {{0, 0, 0, kW}, {1, 1, 0, kW}, {2, 0, 0, kW}, {3, 1, 0, kW}};
  // An end that is not clamped.
  CurveData open(pts, {0, 0, 0.5, 1, 2, 2, 2}, 2);
  E_clrerr();
  EXPECT_EQ(N_curunc(&open.cur), 1);
  EXPECT_TRUE(HasError(4, "N_CURUNC"));
  EXPECT_EQ(open.U, (std::vector<double>{0, 0, 0.5, 1, 2, 2, 2}));
  // A start knot of multiplicity p+2: unclamping would divide by zero.
  CurveData bad(pts, {0, 0, 0, 0, 1, 1, 1}, 2);
  EXPECT_EQ(N_curunc(&bad.cur), 1);
  EXPECT_TRUE(HasError(11, "N_CURUNC"));
  EXPECT_EQ(bad.U, (std::vector<double>{0, 0, 0, 0, 1, 1, 1}));
  EXPECT_TRUE(same_points(bad.Pw.data(), pts.data(), 3));
  // Given knots of another size; a missing or malformed record.
  CurveData good(pts, {0, 0, 0, 0.5, 1, 1, 1}, 2);
  KNOTVECTOR shortk{4, good.U.data()};
  EXPECT_EQ(N_curunu(&good.cur, &shortk), 1);
  EXPECT_TRUE(HasError(14, "N_CURUNU"));
  EXPECT_EQ(N_curunu(&good.cur, nullptr), 1);
  EXPECT_TRUE(HasError(14, "N_CURUNU"));
  good.knt.m = 7;
  EXPECT_EQ(N_curunc(&good.cur), 1);
  EXPECT_TRUE(HasError(1, "N_CURUNC"));
  EXPECT_EQ(N_surunc(nullptr, 1), 1);
  EXPECT_TRUE(HasError(2, "N_SURUNC"));
  // Degree 0 has nothing to unclamp.
  CurveData flat(pts, {0, 0.25, 0.5, 0.75, 1}, 0);
  EXPECT_EQ(N_curunc(&flat.cur), 0);
  EXPECT_EQ(flat.U, (std::vector<double>{0, 0.25, 0.5, 0.75, 1}));
}
