// Shape tests on hand-built records; projections checked against the plane
// and the projection rays; power forms over a new interval checked at
// corresponding parameters; refusals leave the records as they were.
#include <cstring>
#include <random>
#include <string>

#include "core/internal.hpp"
#include "eval/surface_reference.hpp"
#include "test_support.hpp"

using evaltest::CurveData;
using evaltest::SurfaceData;

namespace {

CPOINT cp(double x, double y, double z = 0.0, double w = -DBL_MAX) { return CPOINT{x, y, z, w}; }
std::vector<double> bez(int p) {
  std::vector<double> U(2 * p + 2, 1.0);
  std::fill_n(U.begin(), p + 1, 0.0);
  return U;
}
POINT eu(const CPOINT &q) {
  const double w = q.w == -DBL_MAX ? 1.0 : q.w;
  return POINT{q.x / w, q.y / w, q.z / w};
}
POINT sub(POINT a, POINT b) { return POINT{a.x - b.x, a.y - b.y, a.z - b.z}; }
double dot(POINT a, POINT b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
// |a x b| / (|a| |b|): the sine of the angle between a and b.
double sine(POINT a, POINT b) {
  const POINT c{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
  return std::sqrt(dot(c, c) / (dot(a, a) * dot(b, b)));
}
// "status code TAG" of a call and the error it left, which is then cleared.
std::string got(int16_t status) {
  const char *tag = nullptr;
  int32_t code = 0;
  E_GetOrvoError(&tag, &code);
  E_clrerr();
  return std::to_string(status) + " " + std::to_string(code) + " " + tag;
}

}  // namespace

TEST(ShapeTests, AnswersOnHandBuiltRecords) {
  const double t = 1e-7;
  CurveData open({cp(0, 0), cp(1, 0), cp(t, 0)}, bez(2), 2), seg({cp(0, 0), cp(2, 0)}, bez(1), 1);
  CurveData bent({cp(0, 0), cp(1, 0.5), cp(2, 0)}, bez(2), 2);
  CurveData huge({cp(0, 0), cp(5e9, 1e300), cp(1e10, 0)}, bez(2), 2);
  // Rows 0 and 2 exactly 1e-7 apart; row 0 one repeated point (a pole).
  SurfaceData s({{cp(0, 0, 1), cp(0, 0, 1)}, {cp(1, 0), cp(0, 1)}, {cp(t, 0, 1), cp(t, 0, 1)}},
                bez(2), bez(1), 2, 1);
  SurfaceData off({{cp(1, 2, 3), cp(1, 2, 3)}, {cp(1, 2, 3), cp(1, 2, 3 + 2 * t)}}, bez(1), bez(1),
                  1, 1);
  SurfaceData row({{cp(0, 0), cp(1, 0), cp(2, 0)}}, {0, 1}, bez(2), 0, 2);  // columns of one point
  const POINT P[3] = {{0, 0, 0}, {5, 5, 5}, {0, 0, t}};
  const CPOINT C[2] = {{0, 0, 0, 1}, {0, 0, 0, 1.5}}, *crow[2] = {C, C};
  auto K = [](double d) { return std::vector<double>{0, 0, 0, 0.5 + d, 1, 1, 1}; };
  CurveData a({cp(0, 0), cp(1, 1), cp(2, 0), cp(3, 1)}, K(0), 2), near(a.Pw, K(1e-13), 2);
  CurveData far(a.Pw, K(1e-11), 2);
  CURVE *alike[] = {&a.cur, &near.cur}, *unlike[] = {&a.cur, &far.cur};
  E_clrerr();
  const struct {
    const char *what;
    int16_t got, want;
  } cases[] = {
      {"curve ends 1e-7 apart", U_iscurc(&open.cur), 0},
      {"net rows 1e-7 apart", U_issurc(&s.sur, 1), 1},
      {"two points straight, tol 0", U_iscurl(&seg.cur, 0.0), 1},
      {"bend 0.5 beyond 0.49", U_iscurl(&bent.cur, 0.49), 0},
      {"distance overflows", U_iscurl(&huge.cur, 1e308), 0},
      {"points 1e-7 apart", U_isp1dc(P, 2, 1, t), 1},
      {"weights 0.5 apart", U_isp2dc(crow, 1, 1, 2, 2, 0.5), 1},
      {"one point 2e-7 off", U_issurp(&off.sur), 0},
      {"row 0 a pole", U_dssupl(&s.sur, 1), 1},
      {"column 0 passes only the quick test", U_dssupl(&s.sur, 3), 0},
      {"boundary of one point", U_dssupl(&row.sur, 4), 1},
      {"knot 1e-13 off", U_arecco(alike, 1), 1},
      {"knot 1e-11 off", U_arecco(unlike, 1), 0},
  };
  for (const auto &c : cases) EXPECT_EQ(c.got, c.want) << c.what;
  EXPECT_TRUE(orvo_test::HasError(0, " "));  // no test raises an error
}

TEST(ShapeProjection, PointsLandOnThePlaneAlongTheRays) {
  std::mt19937 rng(11);
  const POINT Q{1, 2, 3}, N{1, -2, 0.5};
  for (bool rational : {false, true})
    for (int16_t mode : {1, 2}) {
      const POINT V = mode == 1 ? POINT{0.3, 0.2, 1} : POINT{20, -15, 30};
      CurveData c(evaltest::random_points(5, true, rational, rng),
                  evaltest::random_knots(5, 3, rng), 3);
      SurfaceData s(evaltest::random_net(3, 2, true, rational, rng), bez(3), bez(2), 3, 2);
      const std::vector<CPOINT> before = c.Pw;
      orvo_test::Workspace ws;
      CURVE out{nullptr, -1, nullptr};
      const VECTOR NV{N.x, N.y, N.z}, VV{V.x, V.y, V.z};
      ASSERT_EQ(N_curprj(&c.cur, Q, NV, VV, mode, &out, ws) ||
                    N_surprj(&s.sur, Q, NV, VV, mode, &s.sur, ws),
                0);
      for (int i = 0; i <= 5; ++i) {  // weights kept; mode 2: on the ray from the eye
        EXPECT_TRUE(out.pol->Pw[i].w == before[i].w && c.Pw[i].x == before[i].x);
        EXPECT_LT(mode == 1 ? 0.0 : sine(sub(eu(out.pol->Pw[i]), V), sub(eu(before[i]), V)), 1e-10);
      }
      for (double u = 0.0; u <= 1.0; u += 0.25) {
        POINT X{}, P{}, S{};
        ASSERT_EQ(N_curevn(&out, u, 1, &X) || N_curevn(&c.cur, u, 1, &P) ||
                      N_surevn(&s.sur, u, 1.0 - u, 1, 1, &S),
                  0);
        EXPECT_LT(std::fabs(dot(sub(X, Q), N)) + std::fabs(dot(sub(S, Q), N)), 1e-10) << u;
        EXPECT_LT(mode == 2 ? 0.0 : sine(sub(X, P), V), 1e-10) << u;
      }
      // In place: the same control points.
      ASSERT_EQ(N_curprj(&c.cur, Q, NV, VV, mode, &c.cur, ws), 0);
      EXPECT_EQ(std::memcmp(out.pol->Pw, c.Pw.data(), sizeof(CPOINT) * 6), 0);
    }
}

TEST(ShapePowerForm, NewIntervalEvaluatesAtCorrespondingParameters) {
  std::mt19937 rng(5);
  for (bool rational : {false, true}) {
    orvo_test::Workspace ws;
    CurveData c(evaltest::random_points(3, true, rational, rng), {0.5, 2.0}, 3);
    SurfaceData s(evaltest::random_net(2, 3, true, rational, rng), {0.5, 2.0}, {1.0, 3.0}, 2, 3);
    CURVE co{nullptr, -1, nullptr};
    SURFACE so{nullptr, -1, -1, nullptr, nullptr};
    ASSERT_EQ(N_cplrep(&c.cur, -1, 3, &co, ws, ws) || N_splrep(&s.sur, 0, 1, -2, 2, &so, ws, ws),
              0);
    for (double t : {0.0, 0.3, 0.7, 1.0}) {
      POINT A{}, B{}, C{}, D{};
      ASSERT_EQ(N_cplevn(&co, -1 + 4 * t, &A) || N_cplevn(&c.cur, 0.5 + 1.5 * t, &B) ||
                    N_splevn(&so, t, 2 - 4 * t, &C) ||
                    N_splevn(&s.sur, 0.5 + 1.5 * t, 3 - 2 * t, &D),
                0);
      EXPECT_LT(evaltest::dist(A, B) + evaltest::dist(C, D), 1e-10 * (1 + evaltest::norm(D))) << t;
    }
    // In place: the same coefficients and the new interval.
    ASSERT_EQ(N_cplrep(&c.cur, -1.0, 3.0, &c.cur, ws, ws), 0);
    EXPECT_EQ(std::memcmp(c.cur.pol->Pw, co.pol->Pw, sizeof(CPOINT) * 4), 0);
    EXPECT_TRUE(c.cur.knt->U[0] == -1.0 && c.cur.knt->U[1] == 3.0);
  }
}

TEST(ShapeProjection, RefusalsLeaveTheRecordsUnchanged) {
  CurveData c({cp(0, 0, 1), cp(1, 0, 2), cp(2, 1, 3)}, bez(2), 2), small({cp(0, 0)}, {0, 1}, 0);
  CurveData pf({cp(1, 0), cp(2, 0), cp(0, 1)}, {0, 1}, 2), big({cp(1, 0), cp(1e307, 0)}, {0, 1}, 1);
  SurfaceData s({{cp(0, 0), cp(0, 1)}, {cp(1, 0), cp(1, 1)}}, bez(1), bez(1), 1, 1);
  const std::vector<CPOINT> keep = c.Pw, keep_pf = pf.Pw;
  orvo_test::Workspace ws;
  CURVE out{nullptr, -1, nullptr};
  SURFACE so{nullptr, -1, -1, nullptr, nullptr};
  const POINT O{0, 0, 0};
  const VECTOR Z{0, 0, 1}, X{1, 0, 0}, zero{0, 0, 0};
  const std::pair<std::string, const char *> cases[] = {
      {got(N_curprj(&c.cur, O, Z, Z, 3, &out, ws)), "1 13 N_CURPRJ"},
      {got(N_curprj(&c.cur, O, Z, X, 1, &out, ws)), "1 14 N_CURPRJ"},
      {got(N_curprj(&c.cur, O, zero, Z, 1, &out, ws)), "1 17 N_CURPRJ"},
      // (1, 0, 2) lies in the plane z = 2 through the eye.
      {got(N_curprj(&c.cur, O, Z, VECTOR{5, 5, 2}, 2, &c.cur, ws)), "1 11 N_CURPRJ"},
      {got(N_curprj(&c.cur, O, Z, Z, 1, &small.cur, ws)), "1 9 N_CURPRJ"},
      {got(N_surprj(&s.sur, O, Z, X, 1, &so, ws)), "1 14 N_SURPRJ"},
      {got(N_cplrep(&pf.cur, 1.0, 1.0, &pf.cur, ws, ws)), "1 14 N_CPLREP"},
      // 1e307 u over [0, 1] is 1e309 s over [0, 0.01].
      {got(N_cplrep(&big.cur, 0.0, 0.01, &out, ws, ws)), "1 11 N_CPLREP"},
      {got(N_cplrep(&c.cur, 0.0, 1.0, &out, ws, ws)), "1 1 N_CPLREP"},
      {got(N_splrep(&s.sur, 0.0, 1.0, 0.0, 1.0, &so, ws, ws)), "1 2 N_SPLREP"},
  };
  for (const auto &k : cases) EXPECT_EQ(k.first, k.second);
  for (long k = 1; k <= 14; ++k) {  // memory runs out at each allocation, in place
    orvo::detail::fail_allocation_at(k);
    EXPECT_EQ(got(N_cplrep(&pf.cur, -1, 3, &pf.cur, ws, ws)).substr(0, 5), "1 15 ") << k;
    orvo::detail::fail_allocation_at(0);
  }
  EXPECT_EQ(std::memcmp(keep.data(), c.Pw.data(), sizeof(CPOINT) * 3), 0);
  EXPECT_EQ(std::memcmp(keep_pf.data(), pf.Pw.data(), sizeof(CPOINT) * 3), 0);
  EXPECT_TRUE(U_iscurn(&out) && U_issurn(&so) && small.pol.n == 0 &&
              pf.cur.pol->Pw == pf.Pw.data());
  EXPECT_EQ(orvo_test::total_blocks(ws.ws), 0u);  // no failure leaves a block behind
}
