// Reversal, exchange of directions and unclamping: reversed records
// evaluate at the mirrored parameter, unclamped ones keep their shape.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "core/internal.hpp"
#include "eval/surface_reference.hpp"
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

// Knots on a grid of 1/4096, so that mirroring about 1/2 is exact.
std::vector<double> dyadic(std::vector<double> U) {
  for (double &x : U) x = std::round(x * 4096.0) / 4096.0;
  return U;
}

bool same_points(const CPOINT *a, const CPOINT *b, int n) {
  return std::memcmp(a, b, sizeof(CPOINT) * (n + 1)) == 0;
}

const double kW = -DBL_MAX;
const std::vector<CPOINT> kPts = {{0, 0, 0, kW}, {1, 1, 0, kW}, {2, 0, 0, kW}, {3, 1, 0, kW}};

}  // namespace

TEST(ShapeReverse, CurvesEvaluateAtTheMirroredParameter) {
  CurveData a(kPts, {0, 0, 0, 1, 4, 4, 4}, 2);
  ASSERT_EQ(N_currev(&a.cur, &a.cur, nullptr), 0);
  EXPECT_EQ(a.U, (std::vector<double>{0, 0, 0, 3, 4, 4, 4}));
  EXPECT_TRUE(a.Pw[0].x == 3.0 && a.Pw[3].x == 0.0);
  // Uneven unclamped knots: the domain [3, 4] goes to [4, 5], ends too.
  std::mt19937 rng(6);
  CurveData u(evaltest::random_points(3, true, true, rng), {0, 0.5, 1.5, 3, 4, 6.5, 7, 8}, 3);
  Workspace ws;
  CURVE out;
  U_inicur(&out);
  ASSERT_EQ(N_currev(&u.cur, &out, ws), 0);
  EXPECT_EQ(std::vector<double>(out.knt->U, out.knt->U + 8),
            (std::vector<double>{0, 1, 1.5, 4, 5, 6.5, 7.5, 8}));
  for (double t : {4.0, 4.3, 5.0}) EXPECT_LT(dist(at(&out, t), at(&u.cur, 8 - t, 2)), 1e-12);

  for (bool rational : {false, true})
    for (int p = 1; p <= 4; ++p) {
      CurveData c(evaltest::random_points(p + 5, true, rational, rng),
                  dyadic(evaltest::random_knots(p + 5, p, rng, p >= 2 ? 2 : 0)), p);
      const CurveData orig(c.Pw, c.U, p);
      CURVE rev;
      U_inicur(&rev);
      ASSERT_EQ(N_currev(&c.cur, &rev, ws), 0);
      // The left limit of the reversed curve is the right limit of the
      // original at the mirrored parameter.
      for (double t : c.U)
        for (int16_t side : {1, 2}) {
          const POINT want = at(&c.cur, 1.0 - t, side == 1 ? 2 : 1);
          EXPECT_LT(dist(at(&rev, t, side), want), 1e-12 * (1.0 + norm(want))) << p << " " << t;
        }
      // In place gives the same record; twice gives the original exactly.
      ASSERT_EQ(N_currev(&c.cur, &c.cur, ws), 0);
      EXPECT_TRUE(same_points(c.Pw.data(), rev.pol->Pw, rev.pol->n));
      ASSERT_EQ(N_currev(&c.cur, &c.cur, ws), 0);
      EXPECT_TRUE(same_points(c.Pw.data(), orig.Pw.data(), c.pol.n) && c.U == orig.U);
    }
  CURVE none;
  U_inicur(&none);
  EXPECT_TRUE(N_currev(&none, &none, ws) == 1 && HasError(1, "N_CURREV"));
}

TEST(ShapeReverse, SurfacesAndTheExchangeOfDirections) {
  std::mt19937 rng(8);
  SurfaceData s(evaltest::random_net(5, 4, true, true, rng),
                dyadic(evaltest::random_knots(5, 3, rng)),
                dyadic(evaltest::random_knots(4, 2, rng)), 3, 2);
  const SurfaceData orig(s.rows, s.U, s.V, 3, 2);
  Workspace ws;
  for (int16_t dir : {1, 2}) {
    SURFACE out;
    U_inisur(&out);
    ASSERT_EQ(N_surrev(&s.sur, dir, &out, ws), 0);
    for (double u : {0.0, 0.21, 0.93, 1.0})
      for (double v : {0.0, 0.37, 1.0}) {
        const POINT want = dir == 1 ? at(&s.sur, 1.0 - u, v) : at(&s.sur, u, 1.0 - v);
        EXPECT_LT(dist(at(&out, u, v), want), 1e-12 * (1.0 + norm(want))) << dir << u << v;
      }
    const KNOTVECTOR *kept = dir == 1 ? out.knv : out.knu;  // copied unchanged
    EXPECT_EQ(std::vector<double>(kept->U, kept->U + kept->m + 1), dir == 1 ? s.V : s.U);
  }
  for (int16_t dir : {1, 2, 2, 1}) ASSERT_EQ(N_surrev(&s.sur, dir, &s.sur, ws), 0);
  EXPECT_TRUE(s.U == orig.U && s.V == orig.V);
  for (int i = 0; i <= 5; ++i) EXPECT_TRUE(same_points(s.rows[i].data(), orig.rows[i].data(), 4));
  E_clrerr();
  EXPECT_TRUE(N_surrev(&s.sur, 3, &s.sur, ws) == 1 && HasError(13, "N_SURREV"));
  SurfaceData small(evaltest::random_net(2, 2, true, true, rng), {0, 0, 0, 1, 1, 1},
                    {0, 0, 0, 1, 1, 1}, 2, 2);
  EXPECT_TRUE(N_surrev(&s.sur, 1, &small.sur, ws) == 1 && HasError(9, "N_SURREV"));

  // Exchange: S'(v, u) = S(u, v); the old net is released; twice restores.
  SURFACE w;
  U_inisur(&w);
  ASSERT_EQ(U_surcop(&s.sur, &w, ws), 0);
  const size_t blocks = orvo_test::total_blocks(ws.ws);
  ASSERT_EQ(U_swapuv(&w, ws), 0);
  EXPECT_TRUE(w.net->n == 4 && w.net->m == 5 && w.p == 2 && w.q == 3);
  EXPECT_EQ(orvo_test::total_blocks(ws.ws), blocks);
  for (double u : {0.0, 0.3, 1.0})
    for (double v : {0.1, 0.8}) EXPECT_LT(dist(at(&w, v, u), at(&s.sur, u, v)), 1e-13);
  ASSERT_EQ(U_swapuv(&w, ws), 0);
  for (int i = 0; i <= 5; ++i) EXPECT_TRUE(same_points(w.net->Pw[i], s.rows[i].data(), 4));
  CPOINT **before = w.net->Pw;
  orvo::detail::fail_allocation_at(1);
  EXPECT_EQ(U_swapuv(&w, ws), 1);
  orvo::detail::fail_allocation_at(0);
  EXPECT_TRUE(HasError(15, "S_GETC2D"));
  EXPECT_TRUE(w.net->Pw == before && w.net->n == 5);
}

TEST(ShapeUnclamp, ShapeIsKeptAndEndKnotsSpreadOut) {
  // Uniform interior spacing continues to the ends.
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
      CurveData twin(c.Pw, c.U, p);
      const std::vector<double> clamped = c.U;
      std::vector<POINT> before;
      for (int i = 0; i <= 30; ++i) before.push_back(at(&c.cur, i / 30.0));
      ASSERT_EQ(N_curunc(&c.cur), 0);
      EXPECT_TRUE(c.U[0] < c.U[p] && c.U[c.knt.m] > c.U[c.knt.m - p]);
      for (int i = 0; i <= 30; ++i)
        EXPECT_LT(dist(at(&c.cur, i / 30.0, i == 30 ? 2 : 1), before[i]),
                  1e-10 * (1.0 + norm(before[i])))
            << p << " " << i;
      // Given the unclamped knots, the twin changes the points alike and
      // keeps the curve's own knots; degree 1 keeps its points.
      ASSERT_EQ(N_curunu(&twin.cur, &c.knt), 0);
      EXPECT_EQ(twin.U, clamped);
      for (int i = 0; i <= c.pol.n; ++i)
        EXPECT_NEAR(twin.Pw[i].x, c.Pw[i].x, 1e-12 * (1.0 + std::fabs(c.Pw[i].x)));
      EXPECT_TRUE(p > 1 || same_points(c.Pw.data(), twin.Pw.data(), c.pol.n));
    }
  for (int16_t dir : {1, 2, 3, 7}) {
    SurfaceData s(evaltest::random_net(5, 6, true, true, rng), evaltest::random_knots(5, 3, rng),
                  evaltest::random_knots(6, 2, rng), 3, 2);
    SurfaceData twin(s.rows, s.U, s.V, 3, 2);
    const double vs[] = {0.0, 0.45, 0.8};
    POINT before[3];
    for (int k = 0; k < 3; ++k) before[k] = at(&s.sur, 0.55 * vs[k] + 0.2, vs[k]);
    ASSERT_EQ(N_surunc(&s.sur, dir), 0);
    EXPECT_EQ(s.U[0] != twin.U[0], dir == 1 || dir == 3);
    EXPECT_EQ(s.V[0] != twin.V[0], dir == 2 || dir == 3);
    for (int k = 0; k < 3; ++k)
      EXPECT_LT(dist(at(&s.sur, 0.55 * vs[k] + 0.2, vs[k]), before[k]),
                1e-10 * (1.0 + norm(before[k])));
    ASSERT_EQ(N_suruuv(&twin.sur, &s.knu, &s.knv, dir), 0);
    EXPECT_NEAR(twin.rows[1][1].y, s.rows[1][1].y, 1e-12);
  }
}

TEST(ShapeUnclamp, RefusalsLeaveTheRecordUnchanged) {
  CurveData open(kPts, {0, 0, 0.5, 1, 2, 2, 2}, 2);  // start not clamped
  E_clrerr();
  EXPECT_TRUE(N_curunc(&open.cur) == 1 && HasError(4, "N_CURUNC"));
  EXPECT_EQ(open.U, (std::vector<double>{0, 0, 0.5, 1, 2, 2, 2}));
  // Start knot of multiplicity p+2: the blend factor would divide by zero.
  CurveData bad(kPts, {0, 0, 0, 0, 1, 1, 1}, 2);
  EXPECT_TRUE(N_curunc(&bad.cur) == 1 && HasError(11, "N_CURUNC"));
  EXPECT_TRUE(bad.U == (std::vector<double>{0, 0, 0, 0, 1, 1, 1}) &&
              same_points(bad.Pw.data(), kPts.data(), 3));
  CurveData good(kPts, {0, 0, 0, 0.5, 1, 1, 1}, 2);
  KNOTVECTOR shortk{4, good.U.data()};
  EXPECT_TRUE(N_curunu(&good.cur, &shortk) == 1 && HasError(14, "N_CURUNU"));
  EXPECT_TRUE(N_curunu(&good.cur, nullptr) == 1 && HasError(14, "N_CURUNU"));
  SurfaceData s({kPts, kPts, kPts}, {0, 0, 0, 1, 1, 1}, {0, 0, 0, 0.5, 1, 1, 1}, 2, 2);
  EXPECT_TRUE(N_suruuv(&s.sur, &shortk, nullptr, 1) == 1 && HasError(14, "N_SURUUV"));
  EXPECT_TRUE(N_suruuv(&s.sur, &s.knu, nullptr, 3) == 1 && HasError(14, "N_SURUUV"));
  good.knt.m = 7;
  EXPECT_TRUE(N_curunc(&good.cur) == 1 && HasError(1, "N_CURUNC"));
  EXPECT_TRUE(N_surunc(nullptr, 1) == 1 && HasError(2, "N_SURUNC"));
  CurveData flat(kPts, {0, 0.25, 0.5, 0.75, 1}, 0);  // degree 0: nothing to do
  EXPECT_EQ(N_curunc(&flat.cur), 0);
  EXPECT_EQ(flat.U, (std::vector<double>{0, 0.25, 0.5, 0.75, 1}));
}
