// Making records from caller arrays, kind tests and conversions.
#include "test_support.hpp"

using namespace orvo_test;

TEST(Records, MakersFromCoordinateArrays) {
  Workspace ws;
  double x[] = {1, 2, 3}, y[] = {4, 5, 6}, z[] = {kZ2D, kZ2D, kZ2D}, w[] = {2, 2, 2};
  double U[] = {0, 0, 0, 1, 1, 1};
  CURVE cur;
  ASSERT_EQ(U_makcu3(&cur, x, y, z, w, 2, 2, U, 5, &ws), 0);
  EXPECT_EQ(cur.knt->U, U);          // knots stay the caller's
  EXPECT_EQ(cur.pol->Pw[1].x, 2.0);  // taken as given, not weighted
  EXPECT_EQ(cur.pol->Pw[1].w, 2.0);
  EXPECT_EQ(U_iscur3(&cur), 0);
  EXPECT_EQ(U_iscurr(&cur), 1);
  int32_t n, m;
  int16_t p;
  CPOINT *Pw;
  double *K;
  U_curbre(&cur, &n, &Pw, &p, &m, &K);
  EXPECT_EQ(n, 2);
  EXPECT_EQ(p, 2);
  EXPECT_EQ(m, 5);
  EXPECT_EQ(K, U);
  double u0, um;
  U_curpar(&cur, &u0, &um);
  EXPECT_EQ(u0, 0.0);
  EXPECT_EQ(um, 1.0);
}

TEST(Records, PowerFormRecords) {
  Workspace ws;
  CPOINT coef[3] = {{1, 0, 0, kWNR}, {0, 1, 0, kWNR}, {0, 0, 1, kWNR}};
  CURVE cur;
  ASSERT_EQ(U_makcpl(&cur, coef, 2, -1.0, 3.0, &ws), 0);
  EXPECT_EQ(cur.p, 2);
  EXPECT_EQ(cur.knt->m, 1);
  EXPECT_EQ(cur.knt->U[0], -1.0);
  EXPECT_EQ(cur.knt->U[1], 3.0);
  CPOINT row0[2], row1[2];
  CPOINT *rows[2] = {row0, row1};
  SURFACE sur;
  ASSERT_EQ(U_makspl(&sur, rows, 1, 1, 0, 1, 2, 3, &ws), 0);
  double a, b, c, d;
  U_surpar(&sur, &a, &b, &c, &d);
  EXPECT_EQ(a, 0.0);
  EXPECT_EQ(b, 1.0);
  EXPECT_EQ(c, 2.0);
  EXPECT_EQ(d, 3.0);
  EXPECT_EQ(sur.p, 1);
  EXPECT_EQ(sur.q, 1);
}

TEST(Records, KindFromTheFirstPointOnly) {
  CPOINT Pw[3] = {{0, 0, kZ2D, kWNR}, {1, 1, 5.0, kWNR}, {2, 2, 7.0, kWNR}};
  CPOLYGON pol;
  U_makpl1(&pol, Pw, 2);
  CURVE cur;
  U_makcu1(&cur, &pol, 1, nullptr);
  EXPECT_EQ(U_iscur3(&cur), 0);
  U_cur2t3(&cur);
  EXPECT_EQ(Pw[2].z, 0.0);
  U_cur3t2(&cur);
  EXPECT_EQ(Pw[1].z, kZ2D);
}

TEST(Records, RationalConversionsKeepStoredCoordinates) {
  CPOINT Pw[2] = {{2, 4, 6, 2}, {1, 1, 1, 0.5}};
  CPOLYGON pol;
  U_makpl1(&pol, Pw, 1);
  CURVE cur;
  U_makcu1(&cur, &pol, 1, nullptr);
  U_currnr(&cur);
  EXPECT_EQ(Pw[0].x, 2.0);  // no division by the old weight
  EXPECT_EQ(Pw[0].w, kWNR);
  U_curnrr(&cur);
  EXPECT_EQ(Pw[1].w, 1.0);
  EXPECT_EQ(Pw[1].x, 1.0);
}

TEST(Records, MakingCurvesAlike) {
  CPOINT a[2] = {{0, 0, kZ2D, kWNR}, {1, 0, kZ2D, kWNR}};
  CPOINT b[2] = {{0, 0, 1, 2}, {1, 0, 1, 2}};
  CPOINT c[2] = {{0, 0, kZ2D, kWNR}, {1, 0, kZ2D, kWNR}};
  CPOLYGON pa, pb, pc;
  U_makpl1(&pa, a, 1);
  U_makpl1(&pb, b, 1);
  U_makpl1(&pc, c, 1);
  CURVE ca, cb, cc;
  U_makcu1(&ca, &pa, 1, nullptr);
  U_makcu1(&cb, &pb, 1, nullptr);
  U_makcu1(&cc, &pc, 1, nullptr);
  CURVE *two[2] = {&ca, &cc};
  U_makcco(two, 1);  // neither rational nor 3-D: unchanged
  EXPECT_EQ(a[1].w, kWNR);
  EXPECT_EQ(a[1].z, kZ2D);
  CURVE *all[3] = {&ca, &cb, &cc};
  U_makcco(all, 2);
  EXPECT_EQ(a[1].w, 1.0);
  EXPECT_EQ(a[1].z, 0.0);
  EXPECT_EQ(c[0].w, 1.0);
  EXPECT_EQ(b[1].w, 2.0);
}

TEST(Records, ParameterClamping) {
  double U[] = {0, 0, 0.5, 2, 2};
  KNOTVECTOR knt;
  U_makknt(&knt, U, 4);
  CURVE cur;
  U_makcu1(&cur, nullptr, 1, &knt);
  double u = 2.0;
  U_curpcl(&cur, &u);
  EXPECT_EQ(u, 2.0);
  u = 2.5;
  U_curpcl(&cur, &u);
  EXPECT_EQ(u, 2.0);
  u = -1e-20;
  U_curpcl(&cur, &u);
  EXPECT_EQ(u, 0.0);
  SURFACE sur;
  U_maksu1(&sur, nullptr, 1, 1, &knt, &knt);
  double v = 7.0;
  u = 1.0;
  U_surpcl(&sur, &u, &v);
  EXPECT_EQ(u, 1.0);
  EXPECT_EQ(v, 2.0);
}
