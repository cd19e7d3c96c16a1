// Error state, argument checks and the floating-point guard.
#include <cmath>
#include <vector>

#include "test_support.hpp"

using namespace orvo_test;

namespace {

int16_t kntdef(std::vector<double> U, int16_t p) {
  KNOTVECTOR knt;
  U_makknt(&knt, U.data(), static_cast<int32_t>(U.size()) - 1);
  return E_kntdef(&knt, p, "T_KNTDEF");
}

}  // namespace

TEST(ErrorState, StartsClearAndKeepsTheLastFailure) {
  E_clrerr();
  EXPECT_TRUE(HasError(0, " "));
  double U[] = {0, 1};
  KNOTVECTOR knt;
  U_makknt(&knt, U, 1);
  EXPECT_EQ(E_parval(&knt, 2.0, "N_CUREVN"), 1);
  EXPECT_TRUE(HasError(6, "N_CUREVN"));
  // Successful calls leave it alone.
  EXPECT_EQ(E_parval(&knt, 0.5, "X_OTHER"), 0);
  EXPECT_EQ(kntdef({0, 0, 1, 1}, 1), 0);
  EXPECT_TRUE(HasError(6, "N_CUREVN"));
  E_clrerr();
  EXPECT_TRUE(HasError(0, " "));
}

TEST(ParameterChecks, ClosedAndOpenRange) {
  double U[] = {0, 0, 0.5, 1, 1};
  KNOTVECTOR knt;
  U_makknt(&knt, U, 4);
  EXPECT_EQ(E_parval(&knt, 0.0, "T"), 0);
  EXPECT_EQ(E_parval(&knt, 1.0, "T"), 0);
  EXPECT_EQ(E_parval(&knt, std::nextafter(1.0, 2.0), "T"), 1);
  EXPECT_EQ(E_parval(&knt, NAN, "T"), 1);
  EXPECT_EQ(E_endpar(&knt, 0.0, "N_TOOCKI"), 1);
  EXPECT_TRUE(HasError(6, "N_TOOCKI"));
  EXPECT_EQ(E_endpar(&knt, 1.0, "T"), 1);
  EXPECT_EQ(E_endpar(&knt, 0.5, "T"), 0);
}

TEST(KnotVectorCheck, AcceptsClampedVectors) {
  EXPECT_EQ(kntdef({0, 0, 0, 1, 1, 1}, 2), 0);
  EXPECT_EQ(kntdef({0, 0, 0, 0.5, 0.5, 1, 1, 1}, 2), 0);
  EXPECT_EQ(kntdef({0, 1}, 0), 0);
  // Interior knots may repeat at most p times, so degree 0 takes none.
  EXPECT_EQ(kntdef({0, 0.25, 1}, 0), 1);
  EXPECT_EQ(kntdef({3}, 0), 0);
}

TEST(KnotVectorCheck, RejectsBadVectorsWithError4) {
  E_clrerr();
  EXPECT_EQ(kntdef({0, 0, 0, 0.5, 0.5, 0.5, 1, 1, 1}, 2), 1);  // interior multiplicity 3
  EXPECT_TRUE(HasError(4, "T_KNTDEF"));
  EXPECT_EQ(kntdef({0, 0, 1, 1, 1}, 2), 1);               // start multiplicity 2
  EXPECT_EQ(kntdef({0, 0, 0, 1, 1}, 2), 1);               // end multiplicity 2
  EXPECT_EQ(kntdef({0, 0, 0, 0.7, 0.4, 1, 1, 1}, 2), 1);  // decreasing
  EXPECT_EQ(kntdef({0, 0, 0, 0, 1, 1, 1}, 2), 1);         // start multiplicity 4
  EXPECT_EQ(kntdef({3}, 1), 1);                           // one knot, degree 1
  EXPECT_EQ(kntdef({0, 0, 1, 1}, -1), 1);
}

TEST(KnotVectorCheck, RejectsADecreaseIntoTheEndKnots) {
  // The last interior knot lies above the end knots: not caught by the
  // interior runs alone, but the vector decreases.
  EXPECT_EQ(kntdef({0, 0, 2, 1, 1}, 1), 1);
  EXPECT_EQ(kntdef({1, 1, 1, 0, 0, 0}, 2), 1);
  EXPECT_EQ(kntdef({0, 0, NAN, 1, 1}, 1), 1);
}

namespace {

// A cubic 3-D non-rational curve of five points on caller arrays.
struct FiveCurve {
  CPOINT Pw[5];
  double U[9] = {0, 0, 0, 0, 0.5, 1, 1, 1, 1};
  CPOLYGON pol;
  KNOTVECTOR knt;
  CURVE cur;
  FiveCurve(double w = kWNR, double z = 0.0) {
    for (int i = 0; i < 5; ++i) Pw[i] = CPOINT{double(i), double(i * i), z, w};
    U_makpl1(&pol, Pw, 4);
    U_makknt(&knt, U, 8);
    U_makcu1(&cur, &pol, 3, &knt);
  }
};

}  // namespace

TEST(CurveCheck, DefinitionAndKinds) {
  FiveCurve c;
  EXPECT_EQ(E_curdef(&c.cur, "T"), 0);
  c.Pw[2].z = kZ2D;  // third point 2-D, first 3-D
  EXPECT_EQ(E_curdef(&c.cur, "E_T"), 1);
  EXPECT_TRUE(HasError(1, "E_T"));
  c.Pw[2].z = 0.0;
  c.Pw[4].w = 1.0;  // rationality differs
  EXPECT_EQ(E_curdef(&c.cur, "T"), 1);
  c.Pw[4].w = kWNR;
  c.knt.m = 7;  // m != n + p + 1
  EXPECT_EQ(E_curdef(&c.cur, "T"), 1);
  EXPECT_TRUE(HasError(1, "T"));
  c.knt.m = 8;
  c.cur.p = 29;
  c.pol.n = 8 - 29 - 1;  // m = n + p + 1 holds, but no control point is left
  EXPECT_EQ(E_curdef(&c.cur, "T"), 1);
}

TEST(CurveCheck, DegreeAboveMaximumIsError3) {
  std::vector<CPOINT> Pw(30, CPOINT{0, 0, 0, kWNR});
  std::vector<double> U(60, 0.0);
  CURVE cur;
  Workspace ws;
  ASSERT_EQ(U_makcu2(&cur, Pw.data(), 29, 29, U.data(), 59, &ws), 0);
  EXPECT_EQ(E_curdef(&cur, "T"), 1);
  EXPECT_TRUE(HasError(3, "T"));
  cur.p = 28;
  cur.knt->m = 58;
  EXPECT_EQ(E_curdef(&cur, "T"), 0);
}

TEST(CurveCheck, WeightsAndFullInput) {
  FiveCurve rational(1.0);
  EXPECT_EQ(E_curwei(&rational.cur, "T"), 0);
  rational.Pw[1].w = 0.01;
  rational.Pw[3].w = 10.0;
  EXPECT_EQ(E_curwei(&rational.cur, "T"), 0);
  rational.Pw[3].w = 10.000001;
  EXPECT_EQ(E_curwei(&rational.cur, "U_INPCUR"), 1);
  EXPECT_TRUE(HasError(5, "U_INPCUR"));
  EXPECT_EQ(E_curinp(&rational.cur, "U_INPCUR"), 1);
  EXPECT_TRUE(HasError(5, "U_INPCUR"));

  FiveCurve plain;
  EXPECT_EQ(E_curwei(&plain.cur, "T"), 0);  // non-rational always passes
  EXPECT_EQ(E_curinp(&plain.cur, "T"), 0);
  plain.U[4] = 1.5;  // decreasing into the end
  EXPECT_EQ(E_curinp(&plain.cur, "T_IN"), 1);
  EXPECT_TRUE(HasError(4, "T_IN"));
}

namespace {

struct Patch {
  CPOINT data[4][5];
  CPOINT *rows[4];
  double U[7] = {0, 0, 0, 0, 1, 1, 1};
  double V[7] = {0, 0, 0, 0.5, 1, 1, 1};
  CNET net;
  KNOTVECTOR knu, knv;
  SURFACE sur;
  Patch() {
    for (int i = 0; i < 4; ++i) {
      rows[i] = data[i];
      for (int j = 0; j < 5; ++j) data[i][j] = CPOINT{double(i), double(j), 0.0, 2.0};
    }
    // U for p = 2 with n = 3 needs 7 knots with one interior knot.
    U[3] = 0.5;
    U_maknt1(&net, rows, 3, 3);
    U_makknt(&knu, U, 6);
    U_makknt(&knv, V, 6);
    U_maksu1(&sur, &net, 2, 2, &knu, &knv);
  }
};

}  // namespace

TEST(SurfaceCheck, DefinitionDegreesAndWeights) {
  Patch s;
  EXPECT_EQ(E_surinp(&s.sur, "T"), 0);
  s.data[2][1].w = kWNR;
  EXPECT_EQ(E_surdef(&s.sur, "T_S"), 1);
  EXPECT_TRUE(HasError(2, "T_S"));
  s.data[2][1].w = 2.0;
  s.data[2][1].z = kZ2D;  // the z marker is not checked for surfaces
  EXPECT_EQ(E_surdef(&s.sur, "T"), 0);
  s.data[3][3].w = 0.001;
  EXPECT_EQ(E_surinp(&s.sur, "T_W"), 1);
  EXPECT_TRUE(HasError(5, "T_W"));
  s.data[3][3].w = 1.0;
  s.knv.m = 5;
  EXPECT_EQ(E_surdef(&s.sur, "T"), 1);
  EXPECT_TRUE(HasError(2, "T"));
}

TEST(SurfaceCheck, DegreeLimitInEitherDirection) {
  std::vector<CPOINT> data(30 * 4, CPOINT{0, 0, 0, kWNR});
  std::vector<CPOINT *> rows(30);
  for (int i = 0; i < 30; ++i) rows[i] = &data[i * 4];
  std::vector<double> U(60, 0.0), V(60, 0.0);
  SURFACE sur;
  Workspace ws;
  // p = 29, q = 3 with r = n + p + 1 and s = m + q + 1.
  ASSERT_EQ(U_maksu2(&sur, rows.data(), 29, 3, 29, 3, U.data(), V.data(), 59, 7, &ws), 0);
  EXPECT_EQ(E_surdef(&sur, "T"), 1);
  EXPECT_TRUE(HasError(3, "T"));
  U_defsur(&sur, 3, 29, 3, 29, 7, 59);
  std::vector<CPOINT> data2(4 * 30, CPOINT{0, 0, 0, kWNR});
  std::vector<CPOINT *> rows2(4);
  for (int i = 0; i < 4; ++i) rows2[i] = &data2[i * 30];
  sur.net->Pw = rows2.data();
  EXPECT_EQ(E_surdef(&sur, "T"), 1);
  EXPECT_TRUE(HasError(3, "T"));
  U_defsur(&sur, 3, 29, 3, 28, 7, 58);
  sur.p = 28;
  sur.knu->m = 3 + 28 + 1;
  EXPECT_EQ(E_surdef(&sur, "T"), 0);
}

TEST(StorageChecks, CompareBothIndices) {
  FiveCurve c;
  EXPECT_EQ(E_cursto(&c.cur, 4, 8, "T"), 0);
  EXPECT_EQ(E_cursto(&c.cur, 3, 2, "T"), 0);
  EXPECT_EQ(E_cursto(&c.cur, 5, 8, "N_TOOCKI"), 1);
  EXPECT_TRUE(HasError(9, "N_TOOCKI"));
  EXPECT_EQ(E_cursto(&c.cur, 4, 9, "T"), 1);
}

TEST(FloatGuard, SumsAndDifferences) {
  const double big = DBL_MAX / 2;
  EXPECT_EQ(M_chkfop(1.0, 2.0, 1), 0);
  EXPECT_EQ(M_chkfop(big, big, 1), 1);
  EXPECT_EQ(M_chkfop(big, std::nextafter(big, 0.0) / 2, 1), 0);
  EXPECT_EQ(M_chkfop(-big, -big, 1), 1);
  EXPECT_EQ(M_chkfop(big, -big, 1), 0);     // opposite signs never overflow
  EXPECT_EQ(M_chkfop(0.0, DBL_MAX, 1), 0);  // zero counts as negative
  EXPECT_EQ(M_chkfop(big, -big, 2), 1);
  EXPECT_EQ(M_chkfop(big, big, 2), 0);
  EXPECT_EQ(M_chkfop(-big, big, 2), 1);
  EXPECT_EQ(M_chkfop(1.0, -1.0, 2), 0);
}

TEST(FloatGuard, ProductsAndQuotientsNearTheLimits) {
  EXPECT_EQ(M_chkfop(0.0, DBL_MAX, 3), 0);
  EXPECT_EQ(M_chkfop(1e200, 1e100, 3), 0);
  EXPECT_EQ(M_chkfop(1e200, 1e109, 3), 1);    // overflows
  EXPECT_EQ(M_chkfop(1e-200, 1e-109, 3), 1);  // underflows
  EXPECT_EQ(M_chkfop(-1e-200, 1e-100, 3), 0);
  EXPECT_EQ(M_chkfop(1.0, 0.0, 4), 1);
  EXPECT_EQ(M_chkfop(0.0, 0.0, 4), 1);
  EXPECT_EQ(M_chkfop(0.0, 1e-300, 4), 0);
  EXPECT_EQ(M_chkfop(1.0, 1e-300, 4), 0);
  EXPECT_EQ(M_chkfop(1.0, 1e-309, 4), 1);  // reciprocal of a denormal overflows
  EXPECT_EQ(M_chkfop(1e300, 1e-10, 4), 1);
  EXPECT_EQ(M_chkfop(1e-300, 1e10, 4), 1);  // underflows
  EXPECT_EQ(M_chkfop(-6.0, 3.0, 4), 0);
  EXPECT_EQ(M_chkfop(1.0, 1.0, 5), 1);
  EXPECT_EQ(M_chkfop(1.0, 1.0, 0), 1);
}

TEST(FloatGuard, NonFiniteOperandsAreUnsafe) {
  EXPECT_EQ(M_chkfop(NAN, 1.0, 1), 1);
  EXPECT_EQ(M_chkfop(1.0, INFINITY, 3), 1);
  EXPECT_EQ(M_chkfop(1.0, NAN, 4), 1);
}
