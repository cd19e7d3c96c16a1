// LU factorisations, solves and inverses.
#include <gtest/gtest.h>

#include <cfloat>
#include <random>
#include <vector>

#include "core/internal.hpp"
#include "linalg/linalg_test_util.hpp"

using namespace linalg_test;

namespace {

std::vector<double> random_vector(std::mt19937 &rng, int32_t n) {
  std::uniform_real_distribution<double> u(-3, 3);
  std::vector<double> v(n + 1);
  for (double &x : v) x = u(rng);
  return v;
}

double residual(const Dense &a, const std::vector<double> &x, const std::vector<double> &b) {
  const std::vector<double> ax = times(a, x);
  double r = 0;
  for (size_t i = 0; i < b.size(); ++i) r = std::max(r, std::fabs(ax[i] - b[i]));
  return r;
}

// The guard that the solves consult before dividing.
TEST(FloatingPointGuard, CasesTheSolversRelyOn) {
  EXPECT_EQ(M_chkfop(1.0, 0.0, 4), 1);
  EXPECT_EQ(M_chkfop(0.0, 0.0, 4), 1);
  EXPECT_EQ(M_chkfop(0.0, 5.0, 4), 0);
  EXPECT_EQ(M_chkfop(1.0, 1e-9, 4), 0);
  EXPECT_EQ(M_chkfop(1e300, 1e-10, 4), 1);
  EXPECT_EQ(M_chkfop(1e300, 1e10, 3), 1);
  EXPECT_EQ(M_chkfop(1e-200, 1e-200, 3), 1);
  EXPECT_EQ(M_chkfop(-1.0, 2.0, 1), 0);
  EXPECT_EQ(M_chkfop(1.0, 2.0, 7), 1);
}

TEST(LuNoPivot, RandomFullSystemsHaveSmallResiduals) {
  std::mt19937 rng(31);
  Workspace ws;
  for (int32_t n : {0, 1, 4, 12, 30}) {
    Dense d = random_dense(rng, n, n);
    dominate(d, n + 2.0);
    RMATRIX A = make_matrix(d, ORVO_FULL, 1, ws);
    ASSERT_EQ(M_ludcmp(&A), 0);
    const std::vector<double> b = random_vector(rng, n);
    std::vector<double> x(n + 1), bcopy = b;
    ASSERT_EQ(M_rafoba(&A, b.data(), x.data()), 0);
    EXPECT_EQ(b, bcopy);  // the right-hand side is left alone
    EXPECT_LT(residual(d, x, b), 1e-12) << "n = " << n;
    // Solving in place gives the same solution.
    std::vector<double> y = b;
    ASSERT_EQ(M_rafoba(&A, y.data(), y.data()), 0);
    EXPECT_EQ(y, x);
  }
}

TEST(LuNoPivot, FactorsReproduceTheMatrix) {
  std::mt19937 rng(37);
  Workspace ws;
  Dense d = random_dense(rng, 5, 5);
  dominate(d, 4.0);
  RMATRIX A = make_matrix(d, ORVO_FULL, 1, ws);
  ASSERT_EQ(M_ludcmp(&A), 0);
  Dense L(6, std::vector<double>(6, 0.0)), U = L;
  for (int i = 0; i <= 5; ++i)
    for (int j = 0; j <= 5; ++j) {
      if (j < i)
        L[i][j] = A.a[i][j];
      else
        U[i][j] = A.a[i][j];
      if (i == j) L[i][i] = 1.0;
    }
  expect_near(multiply(L, U), d, 1e-13);
}

TEST(LuNoPivot, BandedSystemsMatchTheFullSolution) {
  std::mt19937 rng(41);
  Workspace ws;
  // Odd widths as the fitting routines use them, and an even width whose
  // band reaches two entries below and one above the diagonal.
  for (int32_t bw : {1, 3, 5, 7, 4}) {
    const int32_t n = 15;
    Dense d = random_dense(rng, n, n, ORVO_BANDED, bw);
    dominate(d, bw + 1.0);
    RMATRIX band = make_matrix(d, ORVO_BANDED, bw, ws);
    RMATRIX full = make_matrix(d, ORVO_FULL, 1, ws);
    ASSERT_EQ(M_ludcmp(&band), 0) << "bw = " << bw;
    ASSERT_EQ(M_ludcmp(&full), 0);
    const std::vector<double> b = random_vector(rng, n);
    std::vector<double> xb(n + 1), xf(n + 1);
    ASSERT_EQ(M_rafoba(&band, b.data(), xb.data()), 0);
    ASSERT_EQ(M_rafoba(&full, b.data(), xf.data()), 0);
    for (int32_t i = 0; i <= n; ++i) EXPECT_NEAR(xb[i], xf[i], 1e-12) << "bw = " << bw;
    EXPECT_LT(residual(d, xb, b), 1e-12);
  }
}

TEST(LuNoPivot, PivotTestsAndRefusals) {
  Workspace ws;
  // A 1 x 1 zero factors (no multiplier is formed) but cannot be solved.
  RMATRIX z = make_matrix({{0.0}}, ORVO_FULL, 1, ws);
  E_clrerr();
  EXPECT_EQ(M_ludcmp(&z), 0);
  double b = 1.0, x = 0.0;
  EXPECT_EQ(M_rafoba(&z, &b, &x), 1);
  expect_error(11, "M_RAFOBA");

  RMATRIX swap = make_matrix({{0, 1}, {1, 0}}, ORVO_FULL, 1, ws);
  EXPECT_EQ(M_ludcmp(&swap), 1);
  expect_error(11, "M_LUDCMP");
  RMATRIX tiny = make_matrix({{1e-10, 0, 0}, {0, 0, 0}, {0, 1, 1}}, ORVO_BANDED, 3, ws);
  EXPECT_EQ(M_ludcmp(&tiny), 1);
  expect_error(11, "M_LUDCMP");

  RMATRIX rect = make_matrix({{1, 2, 3}, {4, 5, 6}}, ORVO_FULL, 1, ws);
  EXPECT_EQ(M_ludcmp(&rect), 1);
  expect_error(7, "M_LUDCMP");
  double bb[2] = {1, 1}, xx[2];
  EXPECT_EQ(M_rafoba(&rect, bb, xx), 1);
  expect_error(7, "M_RAFOBA");
  RMATRIX lower = make_matrix({{1, 0}, {2, 3}}, ORVO_LOWERLEFT, 1, ws);
  EXPECT_EQ(M_ludcmp(&lower), 1);
  expect_error(14, "M_LUDCMP");
  EXPECT_EQ(M_rafoba(&lower, bb, xx), 1);
  expect_error(14, "M_RAFOBA");
  RMATRIX none;
  M_inirma(&none);
  EXPECT_EQ(M_ludcmp(&none), 1);
  expect_error(7, "M_LUDCMP");
}

TEST(LuNoPivot, PointRightHandSides) {
  std::mt19937 rng(43);
  Workspace ws;
  const int32_t n = 6;
  Dense d = random_dense(rng, n, n, ORVO_BANDED, 3);
  dominate(d, 3.0);
  RMATRIX A = make_matrix(d, ORVO_BANDED, 3, ws);
  ASSERT_EQ(M_ludcmp(&A), 0);
  const std::vector<double> bx = random_vector(rng, n), by = random_vector(rng, n),
                            bz = random_vector(rng, n), bw = random_vector(rng, n);
  std::vector<double> sx(n + 1), sy(n + 1), sz(n + 1), sw(n + 1);
  ASSERT_EQ(M_rafoba(&A, bx.data(), sx.data()), 0);
  ASSERT_EQ(M_rafoba(&A, by.data(), sy.data()), 0);
  ASSERT_EQ(M_rafoba(&A, bz.data(), sz.data()), 0);
  ASSERT_EQ(M_rafoba(&A, bw.data(), sw.data()), 0);

  // Kind 1: POINTs in, non-rational control points out.
  std::vector<POINT> pts(n + 1);
  for (int32_t i = 0; i <= n; ++i) pts[i] = POINT{bx[i], by[i], bz[i]};
  std::vector<CPOINT> out(n + 1);
  ASSERT_EQ(M_forbac(&A, pts.data(), 1, out.data(), ws), 0);
  for (int32_t i = 0; i <= n; ++i) {
    EXPECT_NEAR(out[i].x, sx[i], 1e-13);
    EXPECT_NEAR(out[i].y, sy[i], 1e-13);
    EXPECT_NEAR(out[i].z, sz[i], 1e-13);
    EXPECT_EQ(out[i].w, -DBL_MAX);
  }

  // Kind 2: rational 3-D control points, all four coordinates solved.
  std::vector<CPOINT> cps(n + 1);
  for (int32_t i = 0; i <= n; ++i) cps[i] = CPOINT{bx[i], by[i], bz[i], bw[i]};
  ASSERT_EQ(M_forbac(&A, cps.data(), 2, out.data(), ws), 0);
  for (int32_t i = 0; i <= n; ++i) {
    EXPECT_NEAR(out[i].x, sx[i], 1e-13);
    EXPECT_NEAR(out[i].w, sw[i], 1e-13);
  }

  // Kind 2 with 2-D non-rational points, solved in place: markers stay.
  for (int32_t i = 0; i <= n; ++i) cps[i] = CPOINT{bx[i], by[i], DBL_MAX, -DBL_MAX};
  ASSERT_EQ(M_forbac(&A, cps.data(), 2, cps.data(), ws), 0);
  for (int32_t i = 0; i <= n; ++i) {
    EXPECT_NEAR(cps[i].y, sy[i], 1e-13);
    EXPECT_EQ(cps[i].z, DBL_MAX);
    EXPECT_EQ(cps[i].w, -DBL_MAX);
  }

  E_clrerr();
  EXPECT_EQ(M_forbac(&A, pts.data(), 3, out.data(), ws), 1);
  expect_error(13, "M_FORBAC");
  RMATRIX z = make_matrix({{0.0}}, ORVO_FULL, 1, ws);
  EXPECT_EQ(M_forbac(&z, pts.data(), 1, out.data(), ws), 1);
  expect_error(11, "M_FORBAC");
  RMATRIX upper = make_matrix({{1, 1}, {0, 1}}, ORVO_UPPERRIGHT, 1, ws);
  EXPECT_EQ(M_forbac(&upper, pts.data(), 1, out.data(), ws), 1);
  expect_error(14, "M_FORBAC");
}

TEST(LuPivot, RandomSystemsNeedingRowExchanges) {
  std::mt19937 rng(47);
  Workspace ws;
  for (int32_t n : {0, 1, 3, 9, 25}) {
    Dense d = random_dense(rng, n, n);
    if (n > 0) d[0][0] = 0.0;  // no factorisation without exchanges
    RMATRIX A = make_matrix(d, ORVO_FULL, 1, ws);
    std::vector<int32_t> indx(n + 1, -1);
    ASSERT_EQ(M_ludpiv(&A, indx.data()), 0) << "n = " << n;
    for (int32_t j = 0; j <= n; ++j) {
      EXPECT_GE(indx[j], j);
      EXPECT_LE(indx[j], n);
    }
    const std::vector<double> b = random_vector(rng, n);
    std::vector<double> x = b;
    ASSERT_EQ(M_rafbpv(&A, indx.data(), x.data()), 0);
    EXPECT_LT(residual(d, x, b), 1e-10) << "n = " << n;
  }
}

TEST(LuPivot, TieGoesToTheLaterRow) {
  Workspace ws;
  // Scaled pivots 2 * 1/2 and 4 * 1/4 are equal.
  RMATRIX A = make_matrix({{2, 1}, {4, 3}}, ORVO_FULL, 1, ws);
  int32_t indx[2];
  ASSERT_EQ(M_ludpiv(&A, indx), 0);
  EXPECT_EQ(indx[0], 1);
  EXPECT_EQ(indx[1], 1);
  EXPECT_EQ(A.a[0][0], 4.0);
  EXPECT_EQ(A.a[1][0], 0.5);
}

TEST(LuPivot, SingularMatricesAndBadPivotRecords) {
  Workspace ws;
  const Dense zero_row = {{1, 2, 3}, {0, 0, 0}, {4, 5, 7}};
  RMATRIX A = make_matrix(zero_row, ORVO_FULL, 1, ws);
  int32_t indx[3] = {-1, -1, -1};
  E_clrerr();
  EXPECT_EQ(M_ludpiv(&A, indx), 1);
  expect_error(11, "M_LUDPIV");
  expect_near(dense_of(A), zero_row, 0.0);  // refused before any elimination
  EXPECT_EQ(indx[0], -1);

  RMATRIX S = make_matrix({{1, 2}, {2, 4}}, ORVO_FULL, 1, ws);
  EXPECT_EQ(M_ludpiv(&S, indx), 1);
  expect_error(11, "M_LUDPIV");

  RMATRIX band = make_matrix({{1, 2}, {3, 4}}, ORVO_BANDED, 3, ws);
  EXPECT_EQ(M_ludpiv(&band, indx), 1);
  expect_error(14, "M_LUDPIV");
  double b[2] = {1, 2};
  EXPECT_EQ(M_rafbpv(&band, indx, b), 1);
  expect_error(14, "M_RAFBPV");

  RMATRIX G = make_matrix({{2, 1}, {1, 3}}, ORVO_FULL, 1, ws);
  ASSERT_EQ(M_ludpiv(&G, indx), 0);
  const int32_t wild[2] = {5, 0};
  EXPECT_EQ(M_rafbpv(&G, wild, b), 1);
  expect_error(7, "M_RAFBPV");
  EXPECT_EQ(b[0], 1.0);  // nothing touched
}

TEST(LuPivot, SmallLeadingEntriesAreLeftOutOfTheForwardSums) {
  Workspace ws;
  RMATRIX A = make_matrix({{1, 0}, {0.5, 1}}, ORVO_FULL, 1, ws);
  int32_t indx[2];
  ASSERT_EQ(M_ludpiv(&A, indx), 0);
  double b[2] = {1e-10, 1.0};
  ASSERT_EQ(M_rafbpv(&A, indx, b), 0);
  EXPECT_EQ(b[0], 1e-10);
  EXPECT_EQ(b[1], 1.0);  // 1 - 0.5e-10 without the leading entry
  double c[2] = {1e-3, 1.0};
  ASSERT_EQ(M_rafbpv(&A, indx, c), 0);
  EXPECT_DOUBLE_EQ(c[1], 1.0 - 0.5e-3);
}

TEST(Inverse, WithoutPivotingTimesMatrixIsIdentity) {
  std::mt19937 rng(53);
  Workspace ws;
  const int32_t n = 7;
  Dense d = random_dense(rng, n, n);
  dominate(d, 5.0);
  RMATRIX A = make_matrix(d, ORVO_FULL, 1, ws), inv;
  M_inirma(&inv);
  ASSERT_EQ(M_rmainv(&A, 0, &inv, ws), 0);
  EXPECT_EQ(inv.type, ORVO_FULL);
  EXPECT_EQ(inv.bw, n);
  Dense eye(n + 1, std::vector<double>(n + 1, 0.0));
  for (int32_t i = 0; i <= n; ++i) eye[i][i] = 1.0;
  expect_near(multiply(dense_of(inv), d), eye, 1e-12);
  expect_near(multiply(d, dense_of(inv)), eye, 1e-12);

  // Already factored: the same inverse again, into the same record.
  double **table = inv.a;
  ASSERT_EQ(M_rmainv(&A, 1, &inv, ws), 0);
  EXPECT_EQ(inv.a, table);
  expect_near(multiply(dense_of(inv), d), eye, 1e-12);

  // Banded matrix, inverse written over the matrix itself.
  Dense bd = random_dense(rng, n, n, ORVO_BANDED, 3);
  dominate(bd, 3.0);
  RMATRIX full = make_matrix(bd, ORVO_FULL, 1, ws);
  ASSERT_EQ(M_rmainv(&full, 0, &full, ws), 0);
  expect_near(multiply(dense_of(full), bd), eye, 1e-12);
  RMATRIX band = make_matrix(bd, ORVO_BANDED, 3, ws), binv;
  M_inirma(&binv);
  ASSERT_EQ(M_rmainv(&band, 0, &binv, ws), 0);
  expect_near(multiply(dense_of(binv), bd), eye, 1e-12);
}

TEST(Inverse, WithPivoting) {
  std::mt19937 rng(59);
  Workspace ws;
  RMATRIX P = make_matrix({{0, 1}, {1, 0}}, ORVO_FULL, 1, ws), inv;
  M_inirma(&inv);
  ASSERT_EQ(M_rmaivp(&P, &inv, ws), 0);
  expect_near(dense_of(inv), {{0, 1}, {1, 0}}, 0.0);

  const int32_t n = 9;
  const Dense d = random_dense(rng, n, n);
  RMATRIX A = make_matrix(d, ORVO_FULL, 1, ws), I2;
  M_inirma(&I2);
  ASSERT_EQ(M_rmaivp(&A, &I2, ws), 0);
  Dense eye(n + 1, std::vector<double>(n + 1, 0.0));
  for (int32_t i = 0; i <= n; ++i) eye[i][i] = 1.0;
  expect_near(multiply(dense_of(I2), d), eye, 1e-10);

  RMATRIX self = make_matrix(d, ORVO_FULL, 1, ws);
  ASSERT_EQ(M_rmaivp(&self, &self, ws), 0);
  expect_near(multiply(dense_of(self), d), eye, 1e-10);

  // A single element: the inverse still counts as holding a matrix.
  RMATRIX one = make_matrix({{4.0}}, ORVO_FULL, 1, ws), oinv;
  M_inirma(&oinv);
  ASSERT_EQ(M_rmaivp(&one, &oinv, ws), 0);
  EXPECT_EQ(oinv.a[0][0], 0.25);
  EXPECT_EQ(M_isrman(&oinv), 0);
}

TEST(Inverse, Failures) {
  Workspace ws;
  RMATRIX S = make_matrix({{0, 1}, {1, 1}}, ORVO_FULL, 1, ws), inv;
  M_inirma(&inv);
  E_clrerr();
  EXPECT_EQ(M_rmainv(&S, 0, &inv, ws), 1);
  expect_error(11, "M_LUDCMP");

  RMATRIX Z = make_matrix({{1, 1}, {0, 0}}, ORVO_FULL, 1, ws);
  EXPECT_EQ(M_rmaivp(&Z, &inv, ws), 1);
  expect_error(11, "M_LUDPIV");

  RMATRIX A = make_matrix({{2, 0, 0}, {0, 2, 0}, {0, 0, 2}}, ORVO_FULL, 1, ws), small;
  M_inirma(&small);
  ASSERT_EQ(M_getrma(&small, 1, 1, ORVO_FULL, 1, ws), 0);
  EXPECT_EQ(M_rmainv(&A, 0, &small, ws), 1);
  expect_error(9, "M_RMAINV");
  EXPECT_EQ(M_rmaivp(&A, &small, ws), 1);
  expect_error(9, "M_RMAIVP");

  RMATRIX band = make_matrix({{2, 0}, {0, 2}}, ORVO_BANDED, 3, ws);
  EXPECT_EQ(M_rmaivp(&band, &inv, ws), 1);
  expect_error(14, "M_RMAIVP");
  RMATRIX rect = make_matrix({{1, 2, 3}, {4, 5, 6}}, ORVO_FULL, 1, ws);
  EXPECT_EQ(M_rmainv(&rect, 0, &inv, ws), 1);
  expect_error(7, "M_RMAINV");

  // Private scratch that cannot be had: reported by its allocator, and
  // nothing is left behind (the sanitizer build checks for leaks).
  RMATRIX B = make_matrix({{2, 1}, {1, 3}}, ORVO_FULL, 1, ws), binv;
  M_inirma(&binv);
  ASSERT_EQ(M_getrma(&binv, 1, 1, ORVO_FULL, 1, ws), 0);
  orvo::detail::fail_allocation_at(1);
  EXPECT_EQ(M_rmaivp(&B, &binv, ws), 1);
  orvo::detail::fail_allocation_at(0);
  expect_error(15, "S_GETI1D");
}

}  // namespace
