// Finite input whose result would be a point at infinity, and null outputs:
// each is refused with an error instead of reporting success.
#include <cfloat>
#include <cmath>
#include <functional>
#include <memory>
#include <vector>

#include "eval/reference.hpp"
#include "test_support.hpp"

using orvo_test::HasError;
using orvo_test::Workspace;

TEST(Refusals, PointsAtInfinityAndNullOutputs) {
  Workspace ws;
  // Weights 1, -1, 1: the weight sum vanishes at u = 0.5.
  CPOINT P[3] = {{0, 0, 0, 1}, {1, 1, 0, -1}, {2, 0, 0, 1}};
  CPOINT r0[2] = {{0, 0, 0, 1}, {1, 0, 0, -1}}, r1[2] = {{0, 1, 0, -1}, {1, 1, 0, 1}};
  CPOINT *net[2] = {r0, r1};
  // Power form with the weight polynomial 1 - u, zero at u = 1.
  CPOINT pw[2] = {{1, 0, 0, 1}, {0, 0, 0, -1}};
  double ab[2] = {0, 1};
  CPOLYGON pp{1, pw};
  KNOTVECTOR pk{1, ab};
  CURVE power{&pp, 1, &pk};
  CPOINT zw[2] = {{1, 0, 0, 1}, {1, 0, 0, 0}};
  double lk[4] = {0, 0, 1, 1};
  CPOLYGON zp{1, zw};
  KNOTVECTOR zk{3, lk};
  CURVE zero{&zp, 1, &zk};
  POINT out;
  PPOLYGON poly;
  RMATRIX A{-1, -1, nullptr, 0, 0};
  ASSERT_EQ(M_getrma(&A, 1, 1, ORVO_FULL, 0, ws), 0);
  struct Case {
    std::function<int16_t()> call;
    int32_t code;
    const char *tag;
  } cases[] = {
      {[&] { return B_curevn(P, 2, 0.5, &out); }, 11, "B_CUREVN"},
      {[&] { return B_surevn(net, 1, 1, 0.5, 0.5, &out); }, 11, "B_SUREVN"},
      {[&] { return N_cplevn(&power, 1.0, &out); }, 11, "N_CPLEVN"},
      {[&] { return U_mapcpl(&zero, 0, 1, &poly, ws); }, 11, "U_MAPCPL"},
      {[&] { return M_rmamul(&A, &A, nullptr, ws); }, 7, "M_RMAMUL"},
      {[&] { return N_currev(&zero, nullptr, ws); }, 14, "N_CURREV"},
      {[&] { return int16_t(S_getr1d(3, nullptr) == nullptr); }, 14, "S_GETR1D"},
      {[&] { return U_ralr1d(nullptr, 2, 3, ws); }, 7, "U_RALR1D"},
      {[&] { return E_cursto(nullptr, 1, 3, "CALLER"); }, 9, "CALLER"},
      {[&] {
         return G_tratrl(POINT{0, 0, 0}, POINT{1, 2, 3}, nullptr, ws);
       },
       14, "G_TRATRL"},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(c.call(), 1) << c.tag;
    EXPECT_TRUE(HasError(c.code, c.tag));
  }
  EXPECT_EQ(B_curevn(P, 2, 0.25, &out), 0);  // away from the zero the point is finite
}

namespace {

// A 2-D curve of degree p over the knots, control points (i, i^2).
evaltest::CurveData *curve(std::vector<double> knots, int p) {
  std::vector<CPOINT> P;
  for (size_t i = 0; i + p + 1 < knots.size(); ++i)
    P.push_back({double(i), double(i * i), orvo_test::kZ2D, orvo_test::kWNR});
  return new evaltest::CurveData(P, std::move(knots), p);
}

}  // namespace

// Knots whose differences cannot be divided by safely (a subnormal span
// width, a spread that overflows, infinite knots) are refused with 11, or
// with 4 by the knot check, instead of giving NaN or a wrong point.
TEST(Refusals, KnotArithmeticThatCannotBeDoneSafely) {
  const double tiny = 4.9406564584124654e-324, inf = INFINITY;
  std::unique_ptr<evaltest::CurveData> owned[3] = {
      std::unique_ptr<evaltest::CurveData>(curve({0, 0, 0, tiny, 0.5, 1, 1, 1}, 2)),
      std::unique_ptr<evaltest::CurveData>(curve({-1e308, -1e308, 1e308, 1e308}, 1)),
      std::unique_ptr<evaltest::CurveData>(curve({-inf, -inf, 0, inf, inf}, 1))};
  evaltest::CurveData &sub = *owned[0], &wide = *owned[1], &infinite = *owned[2];
  Workspace ws;
  POINT P, D[3];
  double N[3], r[3][3], *rows[3] = {r[0], r[1], r[2]};
  int32_t span;
  CURVE out;
  U_inicur(&out);
  struct Case {
    std::function<int16_t()> call;
    int32_t code;
    const char *tag;
  } cases[] = {
      {[&] { return N_curevn(&sub.cur, tiny, 2, &P); }, 11, "N_CUREVN"},
      {[&] { return N_curder(&sub.cur, 0, 1, 1, D); }, 11, "N_CURDER"},
      {[&] { return N_kntalb(&sub.knt, 2, tiny, 2, N, &span); }, 11, "N_KNTALB"},
      {[&] { return N_kntadb(&sub.knt, 2, 0, 1, 2, rows, &span); }, 11, "N_KNTADB"},
      {[&] { return N_curevn(&wide.cur, 0, 1, &P); }, 11, "N_CUREVN"},
      {[&] { return N_toocki(&wide.cur, 0, 1, &out, ws, ws); }, 11, "N_TOOCKI"},
      {[&] { return N_curevn(&infinite.cur, 0, 1, &P); }, 11, "N_CUREVN"},
      {[&] { return E_curinp(&infinite.cur, "CALLER"); }, 4, "CALLER"},
  };
  for (const Case &c : cases) {
    E_clrerr();
    EXPECT_EQ(c.call(), 1) << c.tag;
    EXPECT_TRUE(HasError(c.code, c.tag));
  }
  // The wide curve is fine once its knots are sane: (1, 1) at the middle.
  for (double &u : wide.U) u *= 0.1;
  ASSERT_EQ(N_curevn(&wide.cur, 0, 1, &P), 0);
  EXPECT_EQ(P.x, 0.5);
}

// Exact values at u == U[p]: the first function of span p when the range
// [U[p], U[m-p]] has no length; the true values of the functions where the
// start knot is repeated p+2 times (the first function is then zero).
TEST(Refusals, BasisAtTheStartOfDegenerateRanges) {
  std::unique_ptr<evaltest::CurveData> flat(curve({0, .2, .4, .4, .8, 1}, 2)),
      extra(curve({0, 0, 0, 0, 1, 2, 2, 2}, 2));
  double N[3];
  int32_t span;
  ASSERT_EQ(N_kntalb(&flat->knt, 2, 0.4, 1, N, &span), 0);
  EXPECT_TRUE(span == 2 && N[0] == 1 && N[1] == 0 && N[2] == 0);
  POINT P;
  ASSERT_EQ(N_curevn(&extra->cur, 0, 1, &P), 0);
  EXPECT_TRUE(P.x == 1 && P.y == 1);  // the second control point
}
