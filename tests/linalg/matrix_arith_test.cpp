// Products, transposition and matrices applied to points and nets.
#include <gtest/gtest.h>

#include <cfloat>

#include "core/internal.hpp"
#include "linalg/linalg_test_util.hpp"

using namespace linalg_test;

namespace {

TEST(MatrixProduct, HandComputedFullProduct) {
  Workspace ws;
  RMATRIX A = make_matrix({{1, 2, 3}, {4, 5, 6}}, ORVO_FULL, 1, ws);
  RMATRIX B = make_matrix({{7, 8}, {9, 10}, {11, 12}}, ORVO_FULL, 1, ws);
  RMATRIX C;
  M_inirma(&C);
  ASSERT_EQ(M_rmamul(&A, &B, &C, ws), 0);
  EXPECT_EQ(C.n, 1);
  EXPECT_EQ(C.m, 1);
  EXPECT_EQ(C.type, ORVO_FULL);
  EXPECT_EQ(C.bw, 1);  // highest row index of A
  expect_near(dense_of(C), {{58, 64}, {139, 154}}, 0.0);
}

TEST(MatrixProduct, TriangularOperandsSkipTheirUnusedHalf) {
  // Unused slots of the operands hold NaN: any read of them would show.
  std::mt19937 rng(7);
  Workspace ws;
  const int32_t kinds[3] = {ORVO_FULL, ORVO_LOWERLEFT, ORVO_UPPERRIGHT};
  for (int32_t ta : kinds)
    for (int32_t tb : kinds) {
      const Dense da = random_dense(rng, 3, 3, ta), db = random_dense(rng, 3, 3, tb);
      RMATRIX A = make_matrix(da, ta, 1, ws), B = make_matrix(db, tb, 1, ws), C;
      M_inirma(&C);
      ASSERT_EQ(M_rmamul(&A, &B, &C, ws), 0);
      const int32_t want = ta == tb ? ta : ORVO_FULL;
      EXPECT_EQ(C.type, want) << ta << " x " << tb;
      expect_near(dense_of(C), multiply(da, db), 1e-14);
    }
}

TEST(MatrixProduct, NonSquareTriangularAndLargerShapes) {
  std::mt19937 rng(11);
  Workspace ws;
  const Dense da = random_dense(rng, 4, 2, ORVO_LOWERLEFT), db = random_dense(rng, 2, 5);
  RMATRIX A = make_matrix(da, ORVO_LOWERLEFT, 1, ws), B = make_matrix(db, ORVO_FULL, 1, ws), C;
  M_inirma(&C);
  ASSERT_EQ(M_rmamul(&A, &B, &C, ws), 0);
  EXPECT_EQ(C.n, 4);
  EXPECT_EQ(C.m, 5);
  expect_near(dense_of(C), multiply(da, db), 1e-14);
}

TEST(MatrixProduct, GramAndTransposedProducts) {
  Workspace ws;
  RMATRIX A = make_matrix({{1, 2}, {3, 4}, {5, 6}}, ORVO_FULL, 1, ws), C;
  M_inirma(&C);
  ASSERT_EQ(M_rmamtm(&A, &C, ws), 0);
  EXPECT_EQ(C.type, ORVO_FULL);
  expect_near(dense_of(C), {{5, 11, 17}, {11, 25, 39}, {17, 39, 61}}, 0.0);

  std::mt19937 rng(3);
  const int32_t kinds[3] = {ORVO_FULL, ORVO_LOWERLEFT, ORVO_UPPERRIGHT};
  for (int32_t ta : kinds)
    for (int32_t tb : kinds) {
      const Dense da = random_dense(rng, 3, 3, ta), db = random_dense(rng, 3, 3, tb);
      RMATRIX P = make_matrix(da, ta, 1, ws), Q = make_matrix(db, tb, 1, ws), R, G;
      M_inirma(&R);
      M_inirma(&G);
      ASSERT_EQ(M_rmamtr(&P, &Q, &R, ws), 0);
      EXPECT_EQ(R.type, ORVO_FULL);
      expect_near(dense_of(R), multiply(da, transpose(db)), 1e-14);
      ASSERT_EQ(M_rmamtm(&P, &G, ws), 0);
      expect_near(dense_of(G), multiply(da, transpose(da)), 1e-14);
    }
}

TEST(MatrixProduct, ResultMayOverwriteAnOperand) {
  Workspace ws;
  const Dense d = {{1, 2}, {3, 4}};
  RMATRIX A = make_matrix(d, ORVO_FULL, 1, ws);
  ASSERT_EQ(M_rmamul(&A, &A, &A, ws), 0);
  expect_near(dense_of(A), {{7, 10}, {15, 22}}, 0.0);

  RMATRIX B = make_matrix(d, ORVO_FULL, 1, ws);
  ASSERT_EQ(M_rmamtm(&B, &B, ws), 0);
  expect_near(dense_of(B), {{5, 11}, {11, 25}}, 0.0);
}

TEST(MatrixProduct, ExistingResultIsReusedOrRefused) {
  Workspace ws;
  RMATRIX A = make_matrix({{1, 2}, {3, 4}}, ORVO_FULL, 1, ws), C;
  M_inirma(&C);
  ASSERT_EQ(M_getrma(&C, 3, 3, ORVO_FULL, 3, ws), 0);
  double **table = C.a;
  ASSERT_EQ(M_rmamul(&A, &A, &C, ws), 0);
  EXPECT_EQ(C.a, table);
  EXPECT_EQ(C.n, 1);

  RMATRIX small;
  M_inirma(&small);
  ASSERT_EQ(M_getrma(&small, 0, 0, ORVO_FULL, 1, ws), 0);
  E_clrerr();
  EXPECT_EQ(M_rmamul(&A, &A, &small, ws), 1);
  expect_error(9, "M_RMAMUL");
  EXPECT_EQ(small.n, 0);
}

TEST(MatrixProduct, RefusesMismatchedBandedAndEmptyOperands) {
  Workspace ws;
  RMATRIX A = make_matrix({{1, 2, 3}, {4, 5, 6}}, ORVO_FULL, 1, ws);
  RMATRIX band = make_matrix({{1, 2, 0}, {3, 4, 5}, {0, 6, 7}}, ORVO_BANDED, 3, ws);
  RMATRIX C, none;
  M_inirma(&C);
  M_inirma(&none);

  EXPECT_EQ(M_rmamul(&A, &A, &C, ws), 1);
  expect_error(7, "M_RMAMUL");
  EXPECT_EQ(M_rmamul(&A, &band, &C, ws), 1);
  expect_error(14, "M_RMAMUL");
  EXPECT_EQ(M_rmamtm(&band, &C, ws), 1);
  expect_error(14, "M_RMAMTM");
  RMATRIX sq = make_matrix({{1, 2}, {3, 4}}, ORVO_FULL, 1, ws);
  EXPECT_EQ(M_rmamtr(&A, &sq, &C, ws), 1);
  expect_error(7, "M_RMAMTR");
  EXPECT_EQ(M_rmamtr(&band, &band, &C, ws), 1);
  expect_error(14, "M_RMAMTR");
  EXPECT_EQ(M_rmamul(&none, &A, &C, ws), 1);
  expect_error(7, "M_RMAMUL");
  EXPECT_TRUE(M_isrman(&C));
}

TEST(MatrixProduct, AllocationFailureIsReported) {
  Workspace ws;
  RMATRIX A = make_matrix({{1, 2}, {3, 4}}, ORVO_FULL, 1, ws), C;
  M_inirma(&C);
  orvo::detail::fail_allocation_at(1);
  EXPECT_EQ(M_rmamul(&A, &A, &C, ws), 1);
  orvo::detail::fail_allocation_at(0);
  expect_error(15, "S_GETR2D");
  EXPECT_TRUE(M_isrman(&C));
}

TEST(MatrixTranspose, IntoAnotherRecordMapsStorageTypes) {
  std::mt19937 rng(5);
  Workspace ws;
  const Dense d = random_dense(rng, 2, 3);
  RMATRIX A = make_matrix(d, ORVO_FULL, 2, ws), B;
  M_inirma(&B);
  ASSERT_EQ(M_rmatrp(&A, &B, ws, ws), 0);
  EXPECT_EQ(B.n, 3);
  EXPECT_EQ(B.m, 2);
  EXPECT_EQ(B.type, ORVO_FULL);
  expect_near(dense_of(B), transpose(d), 0.0);

  const Dense lower = random_dense(rng, 3, 3, ORVO_LOWERLEFT);
  RMATRIX L = make_matrix(lower, ORVO_LOWERLEFT, 1, ws), U;
  M_inirma(&U);
  ASSERT_EQ(M_rmatrp(&L, &U, ws, ws), 0);
  EXPECT_EQ(U.type, ORVO_UPPERRIGHT);
  expect_near(dense_of(U), transpose(lower), 0.0);
  RMATRIX back;
  M_inirma(&back);
  ASSERT_EQ(M_rmatrp(&U, &back, ws, ws), 0);
  EXPECT_EQ(back.type, ORVO_LOWERLEFT);
  expect_near(dense_of(back), lower, 0.0);
}

TEST(MatrixTranspose, BandedElementsMoveAcrossTheDiagonal) {
  std::mt19937 rng(9);
  Workspace ws;
  const Dense d = random_dense(rng, 5, 5, ORVO_BANDED, 5);
  RMATRIX A = make_matrix(d, ORVO_BANDED, 5, ws), B;
  M_inirma(&B);
  ASSERT_EQ(M_rmatrp(&A, &B, ws, ws), 0);
  EXPECT_EQ(B.type, ORVO_BANDED);
  EXPECT_EQ(B.bw, 5);
  expect_near(dense_of(B), transpose(d), 0.0);
  // Element (4, 2) of A is at a[4][0]; in B it is (2, 4) at b[2][4].
  EXPECT_EQ(B.a[2][4], A.a[4][0]);

  // An even band reaches further below than above and has no transpose of
  // the same width.
  RMATRIX even = make_matrix(random_dense(rng, 3, 3, ORVO_BANDED, 4), ORVO_BANDED, 4, ws);
  E_clrerr();
  EXPECT_EQ(M_rmatrp(&even, &B, ws, ws), 1);
  expect_error(14, "M_RMATRP");
}

TEST(MatrixTranspose, InPlace) {
  std::mt19937 rng(13);
  Workspace ws, wsA;
  // Full and non-square: a new table from ws.
  const Dense d = random_dense(rng, 1, 3);
  RMATRIX A = make_matrix(d, ORVO_FULL, 1, wsA);
  double **old = A.a;
  ASSERT_EQ(M_rmatrp(&A, &A, wsA, ws), 0);
  EXPECT_NE(A.a, old);
  EXPECT_EQ(A.n, 3);
  EXPECT_EQ(A.m, 1);
  expect_near(dense_of(A), transpose(d), 0.0);

  // Square triangle: mirrored inside its own table.
  const Dense up = random_dense(rng, 3, 3, ORVO_UPPERRIGHT);
  RMATRIX U = make_matrix(up, ORVO_UPPERRIGHT, 1, wsA);
  old = U.a;
  ASSERT_EQ(M_rmatrp(&U, &U, wsA, ws), 0);
  EXPECT_EQ(U.a, old);
  EXPECT_EQ(U.type, ORVO_LOWERLEFT);
  expect_near(dense_of(U), transpose(up), 0.0);

  // Banded in place.
  const Dense band = random_dense(rng, 4, 4, ORVO_BANDED, 3);
  RMATRIX Bd = make_matrix(band, ORVO_BANDED, 3, wsA);
  ASSERT_EQ(M_rmatrp(&Bd, &Bd, wsA, ws), 0);
  expect_near(dense_of(Bd), transpose(band), 0.0);

  // A full matrix made with band width 0 still gives a transpose that holds
  // a matrix.
  RMATRIX zero_bw = make_matrix(random_dense(rng, 1, 2), ORVO_FULL, 1, wsA), Z;
  zero_bw.bw = 0;
  M_inirma(&Z);
  ASSERT_EQ(M_rmatrp(&zero_bw, &Z, wsA, ws), 0);
  EXPECT_EQ(M_isrman(&Z), 0);

  // A different record sharing the table gets the transpose too.
  const Dense sq = random_dense(rng, 2, 2);
  RMATRIX S = make_matrix(sq, ORVO_FULL, 1, wsA), T = S;
  ASSERT_EQ(M_rmatrp(&S, &T, wsA, ws), 0);
  expect_near(dense_of(T), transpose(sq), 0.0);
}

TEST(MatrixTimesPoints, ControlPointsKeepTheirMarkers) {
  Workspace ws;
  RMATRIX A = make_matrix({{1, 2}, {3, -1}, {0.5, 0.5}}, ORVO_FULL, 1, ws);
  const CPOINT rational[2] = {{1, 2, 3, 1}, {4, 6, 8, 2}};
  CPOINT out[3];
  ASSERT_EQ(M_rmacpt(&A, rational, out), 0);
  EXPECT_DOUBLE_EQ(out[0].x, 9);
  EXPECT_DOUBLE_EQ(out[0].y, 14);
  EXPECT_DOUBLE_EQ(out[0].z, 19);
  EXPECT_DOUBLE_EQ(out[0].w, 5);
  EXPECT_DOUBLE_EQ(out[1].x, -1);
  EXPECT_DOUBLE_EQ(out[1].w, 1);
  EXPECT_DOUBLE_EQ(out[2].y, 4);

  // 2-D non-rational points: the markers pass through, never summed.
  const CPOINT flat[2] = {{1, 2, DBL_MAX, -DBL_MAX}, {3, 4, DBL_MAX, -DBL_MAX}};
  ASSERT_EQ(M_rmacpt(&A, flat, out), 0);
  for (const CPOINT &q : out) {
    EXPECT_EQ(q.z, DBL_MAX);
    EXPECT_EQ(q.w, -DBL_MAX);
  }
  EXPECT_DOUBLE_EQ(out[1].x, 0);
  EXPECT_DOUBLE_EQ(out[1].y, 2);

  const POINT pts[2] = {{1, 0, 2}, {0, 1, 3}};
  POINT pout[3];
  ASSERT_EQ(M_rmapoi(&A, pts, pout), 0);
  EXPECT_DOUBLE_EQ(pout[0].z, 8);
  EXPECT_DOUBLE_EQ(pout[1].z, 3);
  EXPECT_DOUBLE_EQ(pout[2].x, 0.5);
}

TEST(MatrixTimesPoints, TriangularBandedAndInPlace) {
  std::mt19937 rng(17);
  Workspace ws;
  const int32_t kinds[4] = {ORVO_FULL, ORVO_LOWERLEFT, ORVO_UPPERRIGHT, ORVO_BANDED};
  for (int32_t t : kinds) {
    const Dense d = random_dense(rng, 4, 4, t, 3);
    RMATRIX A = make_matrix(d, t, 3, ws);
    std::vector<double> xs(5);
    std::vector<POINT> in(5);
    for (int i = 0; i < 5; ++i) {
      in[i] = POINT{i + 1.0, 2.0 * i, -1.0 * i};
      xs[i] = in[i].x;
    }
    const std::vector<double> want = times(d, xs);
    std::vector<POINT> out(5);
    ASSERT_EQ(M_rmapoi(&A, in.data(), out.data()), 0);
    for (int i = 0; i < 5; ++i) EXPECT_NEAR(out[i].x, want[i], 1e-14) << "type " << t;
    // The same array as input and output.
    ASSERT_EQ(M_rmapoi(&A, in.data(), in.data()), 0);
    for (int i = 0; i < 5; ++i) EXPECT_NEAR(in[i].x, want[i], 1e-14) << "type " << t;
  }
  RMATRIX none;
  M_inirma(&none);
  CPOINT q[1] = {{0, 0, 0, 1}};
  E_clrerr();
  EXPECT_EQ(M_rmacpt(&none, q, q), 1);
  expect_error(7, "M_RMACPT");
}

TEST(MatrixNetProduct, MatchesExplicitSums) {
  std::mt19937 rng(19);
  std::uniform_real_distribution<double> u(-2, 2);
  Workspace ws;
  const Dense da = random_dense(rng, 2, 2, ORVO_LOWERLEFT), db = random_dense(rng, 3, 3);
  RMATRIX A = make_matrix(da, ORVO_LOWERLEFT, 1, ws), B = make_matrix(db, ORVO_FULL, 1, ws);
  CPOINT **P = S_getc2d(2, 3, ws), **out = S_getc2d(2, 3, ws);
  for (int i = 0; i <= 2; ++i)
    for (int j = 0; j <= 3; ++j) P[i][j] = CPOINT{u(rng), u(rng), DBL_MAX, u(rng)};
  ASSERT_EQ(M_rmcprm(&A, P, &B, out), 0);
  for (int i = 0; i <= 2; ++i)
    for (int j = 0; j <= 3; ++j) {
      double x = 0, w = 0;
      for (int k = 0; k <= 2; ++k)
        for (int l = 0; l <= 3; ++l) {
          x += da[i][k] * P[k][l].x * db[j][l];
          w += da[i][k] * P[k][l].w * db[j][l];
        }
      EXPECT_NEAR(out[i][j].x, x, 1e-13);
      EXPECT_NEAR(out[i][j].w, w, 1e-13);
      EXPECT_EQ(out[i][j].z, DBL_MAX);
    }
  // The net may receive its own product.
  ASSERT_EQ(M_rmcprm(&A, P, &B, P), 0);
  for (int i = 0; i <= 2; ++i)
    for (int j = 0; j <= 3; ++j) EXPECT_EQ(P[i][j].x, out[i][j].x);

  RMATRIX rect = make_matrix({{1, 2, 3}, {4, 5, 6}}, ORVO_FULL, 1, ws);
  E_clrerr();
  EXPECT_EQ(M_rmcprm(&rect, P, &B, out), 1);
  expect_error(7, "M_RMCPRM");
  RMATRIX band = make_matrix({{1, 2, 0}, {3, 4, 5}, {0, 6, 7}}, ORVO_BANDED, 3, ws);
  EXPECT_EQ(M_rmcprm(&band, P, &B, out), 1);
  expect_error(14, "M_RMCPRM");
}

}  // namespace
