// Finite input whose result would be a point at infinity, and null outputs:
// each is refused with an error instead of reporting success.
#include <cfloat>
#include <functional>

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
