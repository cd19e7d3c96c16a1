// Matrix records: check-or-allocate, banded storage, scans and printing.
#include "test_support.hpp"

using namespace orvo_test;

TEST(MatrixRecords, InitAllocateBreak) {
  Workspace ws;
  RMATRIX r;
  M_inirma(&r);
  EXPECT_EQ(M_isrman(&r), 1);
  ASSERT_EQ(M_getrma(&r, 2, 3, 0, 4, &ws), 0);
  EXPECT_EQ(M_isrman(&r), 0);
  int32_t n, m, type, bw;
  double **a;
  M_rmabre(&r, &n, &m, &a, &type, &bw);
  EXPECT_EQ(n, 2);
  EXPECT_EQ(m, 3);
  EXPECT_NE(a, nullptr);
  EXPECT_EQ(type, 0);
  EXPECT_EQ(bw, 4);
  a[2][3] = 1.0;  // last element exists
  double **t;
  M_rmarmp(&r, &t);
  EXPECT_EQ(t, a);
  RMATRIX zero;
  M_makrma(&zero, 2, 2, a, 0, 0);
  EXPECT_EQ(M_isrman(&zero), 1);  // bw 0 holds no matrix
}

TEST(MatrixRecords, CheckOrAllocateShrinksButNeverGrows) {
  Workspace ws;
  IMATRIX r;
  M_iniima(&r);
  ASSERT_EQ(M_imachk(&r, 4, 4, 0, 1, "T_MAT", &ws), 0);
  int32_t **storage = r.a;
  E_clrerr();
  EXPECT_EQ(M_imachk(&r, 4, 5, 0, 1, "T_MAT", &ws), 1);
  EXPECT_TRUE(HasError(9, "T_MAT"));
  const size_t blocks = total_blocks(ws.ws);
  EXPECT_EQ(M_imachk(&r, 3, 3, 0, 1, "T_MAT", &ws), 0);
  EXPECT_EQ(total_blocks(ws.ws), blocks);
  EXPECT_EQ(r.a, storage);
  EXPECT_EQ(M_imachk(&r, 4, 4, 0, 1, "T_MAT", &ws), 1);
  EXPECT_TRUE(HasError(9, "T_MAT"));
  EXPECT_EQ(E_imasto(&r, 3, 3, "T"), 0);
}

TEST(MatrixRecords, BandedIndexing) {
  Workspace ws;
  RMATRIX r;
  M_inirma(&r);
  ASSERT_EQ(M_getrma(&r, 9, 9, 3, 5, &ws), 0);
  // Ten rows of five entries, element (i, j) at a[i][j - i + 2].
  EXPECT_EQ(r.a[1] - r.a[0], 5);
  r.a[4][6 - 4 + 2] = 46.0;
  EXPECT_EQ(r.a[4][4], 46.0);
  EXPECT_EQ(&r.a[0][2], &r.a[0][0 - 0 + 2]);
  EXPECT_EQ(&r.a[9][4], r.a[0] + 49);  // last stored slot
}

TEST(MatrixRecords, BandedRecordRefusesLongerRows) {
  Workspace ws;
  RMATRIX r;
  M_inirma(&r);
  ASSERT_EQ(M_getrma(&r, 9, 9, 3, 5, &ws), 0);
  E_clrerr();
  // Full or triangular reuse would need ten entries per row.
  EXPECT_EQ(M_rmachk(&r, 9, 9, 0, 1, "T_BAND", &ws), 1);
  EXPECT_TRUE(HasError(9, "T_BAND"));
  EXPECT_EQ(M_rmachk(&r, 9, 9, 2, 1, "T_BAND", &ws), 1);
  EXPECT_EQ(M_rmachk(&r, 9, 9, 3, 7, "T_BAND", &ws), 1);  // wider band
  EXPECT_EQ(r.type, 3);
  EXPECT_EQ(r.bw, 5);
  // Narrower bands and full matrices that fit in five columns are fine.
  EXPECT_EQ(M_rmachk(&r, 9, 9, 3, 3, "T_BAND", &ws), 0);
  EXPECT_EQ(M_rmachk(&r, 9, 9, 3, 5, "T_BAND", &ws), 1);  // derived rows are now 3 long
  EXPECT_EQ(M_rmachk(&r, 5, 2, 0, 1, "T_BAND", &ws), 0);
  EXPECT_EQ(r.m, 2);
}

TEST(MatrixRecords, PointKindsAllocateTheirElements) {
  Workspace ws;
  PMATRIX p;
  CMATRIX c;
  M_inipma(&p);
  M_inicma(&c);
  ASSERT_EQ(M_pmachk(&p, 1, 2, 0, 1, "T", &ws), 0);
  ASSERT_EQ(M_cmachk(&c, 1, 2, 1, 1, "T", &ws), 0);
  p.a[1][2] = POINT{1, 2, 3};
  c.a[1][2] = CPOINT{1, 2, 3, 4};
  EXPECT_EQ(c.a[1][2].w, 4.0);
  int32_t n, m;
  M_cmaind(&c, &n, &m);
  EXPECT_EQ(n, 1);
  EXPECT_EQ(m, 2);
  EXPECT_TRUE(on_list(ws.ws, 10, p.a));
  EXPECT_TRUE(on_list(ws.ws, 12, c.a));
}

TEST(MinMaxScans, StrictComparisonsAndDefaults) {
  double v[] = {3, -1, 7, 7, -1};
  EXPECT_EQ(M_r1mima(v, 4, 1), -1.0);
  EXPECT_EQ(M_r1mima(v, 4, 2), 7.0);
  EXPECT_EQ(M_r1mima(v, 0, 1), 3.0);
  EXPECT_EQ(M_r1mima(v, 0, 2), 3.0);
  EXPECT_EQ(M_r1mima(v, 4, 3), 3.0);
  EXPECT_EQ(M_r1mima(v, -1, 1), 0.0);  // nothing to scan
  int32_t r0[] = {5, 2, 9}, r1[] = {-4, 11, 0};
  int32_t *rows[] = {r0, r1};
  EXPECT_EQ(M_i2mima(rows, 1, 2, 1), -4);
  EXPECT_EQ(M_i2mima(rows, 1, 2, 2), 11);
  EXPECT_EQ(M_i2mima(rows, 0, 2, 2), 9);
  EXPECT_EQ(M_i2mima(rows, 1, 2, 0), 5);
  int32_t iv[] = {4, 8, -2};
  EXPECT_EQ(M_i1mima(iv, 2, 1), -2);
  double d0[] = {1.5, -2.5}, d1[] = {0.5, 9.5};
  double *drows[] = {d0, d1};
  EXPECT_EQ(M_r2mima(drows, 1, 1, 2), 9.5);
  EXPECT_EQ(M_r2mima(drows, -1, 1, 2), 0.0);
  EXPECT_EQ(M_r1mima(nullptr, 3, 1), 0.0);  // no array: nothing to scan
  EXPECT_EQ(M_i2mima(nullptr, 1, 1, 2), 0);
}

namespace {

std::string print(const RMATRIX &r) {
  testing::internal::CaptureStdout();
  M_prtrma(&r);
  return testing::internal::GetCapturedStdout();
}

}  // namespace

TEST(MatrixPrinting, ExactLayoutForEveryStorageType) {
  double r0[] = {1, 2}, r1[] = {3, 4};
  double *rows[] = {r0, r1};
  RMATRIX r;
  M_makrma(&r, 1, 1, rows, 0, 1);
  EXPECT_EQ(print(r), "1 1\nfull      \n1\n1.000000 2.000000 \n3.000000 4.000000 \n");
  M_makrma(&r, 1, 1, rows, 1, 1);
  EXPECT_EQ(print(r), "1 1\nlowerleft \n1\n1.000000 \n3.000000 4.000000 \n");
  M_makrma(&r, 1, 1, rows, 2, 1);
  EXPECT_EQ(print(r), "1 1\nupperright\n1\n1.000000 2.000000 \n4.000000 \n");
  M_makrma(&r, 1, 1, rows, 3, 2);
  EXPECT_EQ(print(r), "1 1\nbanded    \n2\n1.000000 2.000000 \n3.000000 4.000000 \n");
  M_makrma(&r, 1, 1, rows, 7, 1);
  EXPECT_EQ(print(r), "1 1\n1\n");
}
