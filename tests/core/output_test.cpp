// Check-or-allocate output records, copy, compact, and the splitting of
// records into coordinates, weights and coordinate functions.
#include <vector>

#include "test_support.hpp"

using namespace orvo_test;

namespace {

// A workspace-backed curve with distinct, recognisable values.
CURVE make_curve(STACKS *ws, int32_t n, int16_t p, bool rational, bool three_d) {
  CURVE cur;
  U_inicur(&cur);
  EXPECT_EQ(U_getcur(&cur, n, p, n + p + 1, ws), 0);
  for (int32_t i = 0; i <= n; ++i)
    cur.pol->Pw[i] =
        CPOINT{1.0 + i, 2.0 * i, three_d ? 0.5 * i : kZ2D, rational ? 1.0 + 0.1 * i : kWNR};
  for (int32_t i = 0; i <= n + p + 1; ++i) cur.knt->U[i] = i;
  return cur;
}

SURFACE make_surface(STACKS *ws, bool rational) {
  SURFACE sur;
  U_inisur(&sur);
  EXPECT_EQ(U_getsur(&sur, 2, 3, 1, 2, 4, 6, ws), 0);
  for (int i = 0; i <= 2; ++i)
    for (int j = 0; j <= 3; ++j)
      sur.net->Pw[i][j] = CPOINT{double(i), double(j), double(i * j), rational ? 2.0 + i : kWNR};
  for (int i = 0; i <= 4; ++i) sur.knu->U[i] = i;
  for (int j = 0; j <= 6; ++j) sur.knv->U[j] = 10 + j;
  return sur;
}

void expect_same(const CPOINT &a, const CPOINT &b) {
  EXPECT_EQ(a.x, b.x);
  EXPECT_EQ(a.y, b.y);
  EXPECT_EQ(a.z, b.z);
  EXPECT_EQ(a.w, b.w);
}

}  // namespace

TEST(CheckOrAllocate, EmptyRecordGetsExactlyTheSize) {
  Workspace ws;
  CURVE src = make_curve(&ws, 4, 2, true, true), dst;
  U_inicur(&dst);
  EXPECT_EQ(U_iscurn(&dst), 1);
  const size_t before = total_blocks(ws.ws);
  ASSERT_EQ(U_curcop(&src, &dst, &ws), 0);
  EXPECT_EQ(total_blocks(ws.ws), before + 4);  // polygon, points, knot record, knots
  EXPECT_EQ(dst.pol->n, 4);
  EXPECT_EQ(dst.knt->m, 7);
  EXPECT_EQ(dst.p, 2);
  for (int i = 0; i <= 4; ++i) expect_same(dst.pol->Pw[i], src.pol->Pw[i]);
  for (int i = 0; i <= 7; ++i) EXPECT_EQ(dst.knt->U[i], src.knt->U[i]);
}

TEST(CheckOrAllocate, SizedRecordIsRedefinedInPlace) {
  Workspace ws;
  CURVE big = make_curve(&ws, 10, 3, false, true);
  CPOINT *storage = big.pol->Pw;
  CURVE small = make_curve(&ws, 4, 3, false, true);
  const size_t before = total_blocks(ws.ws);
  ASSERT_EQ(U_curcop(&small, &big, &ws), 0);
  EXPECT_EQ(total_blocks(ws.ws), before);  // nothing allocated
  EXPECT_EQ(big.pol->Pw, storage);
  EXPECT_EQ(big.pol->n, 4);
  EXPECT_EQ(big.knt->m, 8);
  // Compacting shrinks the storage to fit and releases the old arrays.
  ASSERT_EQ(U_curcmp(&big, &ws), 0);
  EXPECT_NE(big.pol->Pw, storage);
  EXPECT_EQ(total_blocks(ws.ws), before);
  for (int i = 0; i <= 4; ++i) expect_same(big.pol->Pw[i], small.pol->Pw[i]);
  for (int i = 0; i <= 8; ++i) EXPECT_EQ(big.knt->U[i], small.knt->U[i]);
}

TEST(CheckOrAllocate, TooSmallRecordFailsWith9AndKeepsItsSizes) {
  Workspace ws;
  CURVE small = make_curve(&ws, 3, 2, false, false);
  CURVE larger = make_curve(&ws, 4, 2, false, false);
  E_clrerr();
  EXPECT_EQ(U_curcop(&larger, &small, &ws), 1);
  EXPECT_TRUE(HasError(9, "U_CURCOP"));
  EXPECT_EQ(small.pol->n, 3);
  EXPECT_EQ(small.knt->m, 6);
  EXPECT_EQ(U_curchk(&small, 3, 3, 7, "N_TOOCKI", &ws), 1);
  EXPECT_TRUE(HasError(9, "N_TOOCKI"));
  EXPECT_EQ(small.p, 2);

  SURFACE s = make_surface(&ws, false);
  EXPECT_EQ(U_surchk(&s, 2, 3, 1, 2, 4, 7, "T_SUR", &ws), 1);
  EXPECT_TRUE(HasError(9, "T_SUR"));
  EXPECT_EQ(U_surchk(&s, 1, 2, 1, 1, 3, 4, "T_SUR", &ws), 0);
  EXPECT_EQ(s.net->n, 1);
  EXPECT_EQ(s.knv->m, 4);
}

TEST(CheckOrAllocate, EmptinessTests) {
  CURVE c;
  U_inicur(&c);
  EXPECT_EQ(U_iscurn(&c), 1);
  CPOLYGON pol{0, nullptr};
  KNOTVECTOR knt{0, nullptr};
  U_makcu1(&c, &pol, -1, &knt);
  EXPECT_EQ(U_iscurn(&c), 1);  // degree -1
  c.p = 0;
  EXPECT_EQ(U_iscurn(&c), 0);
  SURFACE s;
  U_inisur(&s);
  EXPECT_EQ(U_issurn(&s), 1);
  CNET net{0, 0, nullptr};
  U_maksu1(&s, &net, 1, -1, &knt, &knt);
  EXPECT_EQ(U_issurn(&s), 1);
  s.q = 1;
  EXPECT_EQ(U_issurn(&s), 0);
}

TEST(Copy, SurfacesAndFunctions) {
  Workspace ws;
  SURFACE src = make_surface(&ws, true), dst;
  U_inisur(&dst);
  ASSERT_EQ(U_surcop(&src, &dst, &ws), 0);
  for (int i = 0; i <= 2; ++i)
    for (int j = 0; j <= 3; ++j) expect_same(dst.net->Pw[i][j], src.net->Pw[i][j]);
  EXPECT_EQ(dst.knv->U[6], 16.0);
  ASSERT_EQ(U_surcmp(&dst, &ws), 0);
  EXPECT_EQ(dst.net->Pw[2][3].w, 4.0);

  SFUNCTION f, g;
  U_inisfn(&f);
  U_inisfn(&g);
  ASSERT_EQ(U_surnad(&src, &dst, &f, &ws), 0);
  ASSERT_EQ(U_sfncop(&f, &g, &ws), 0);
  ASSERT_EQ(U_sfncmp(&g, &ws), 0);
  EXPECT_EQ(g.svl->values[1][2], 3.0);
  CFUNCTION a, b;
  U_inicfn(&a);
  U_inicfn(&b);
  CURVE c = make_curve(&ws, 3, 1, true, false), out;
  U_inicur(&out);
  ASSERT_EQ(U_curnad(&c, &out, &a, &ws), 0);
  ASSERT_EQ(U_cfncop(&a, &b, &ws), 0);
  ASSERT_EQ(U_cfncmp(&b, &ws), 0);
  EXPECT_DOUBLE_EQ(b.cvl->values[3], 1.3);
  EXPECT_EQ(b.knt->U[5], 5.0);
}

TEST(WeightSplit, RoundTripsThroughCoordinatesAndWeights) {
  Workspace ws;
  CURVE cur = make_curve(&ws, 5, 3, true, true), plain, back;
  CFUNCTION weights;
  U_inicur(&plain);
  U_inicur(&back);
  U_inicfn(&weights);
  ASSERT_EQ(U_curnad(&cur, &plain, &weights, &ws), 0);
  EXPECT_EQ(U_iscurr(&plain), 0);
  for (int i = 0; i <= 5; ++i) {
    EXPECT_EQ(plain.pol->Pw[i].x, cur.pol->Pw[i].x);  // stored, not divided
    EXPECT_EQ(weights.cvl->values[i], cur.pol->Pw[i].w);
  }
  ASSERT_EQ(U_nadcur(&plain, &weights, &back, &ws), 0);
  for (int i = 0; i <= 5; ++i) expect_same(back.pol->Pw[i], cur.pol->Pw[i]);
  for (int i = 0; i <= 9; ++i) EXPECT_EQ(back.knt->U[i], cur.knt->U[i]);

  // Without weights the result is non-rational with the stored coordinates.
  ASSERT_EQ(U_nadcur(&cur, nullptr, &back, &ws), 0);
  EXPECT_EQ(back.pol->Pw[2].w, kWNR);
  EXPECT_EQ(back.pol->Pw[2].x, cur.pol->Pw[2].x);

  // In place: the weights are read before the polygon is overwritten.
  CFUNCTION w2;
  U_inicfn(&w2);
  ASSERT_EQ(U_curnad(&cur, &cur, &w2, &ws), 0);
  EXPECT_EQ(cur.pol->Pw[4].w, kWNR);
  EXPECT_DOUBLE_EQ(w2.cvl->values[4], 1.4);
}

TEST(WeightSplit, NonRationalLeavesTheFunctionUntouched) {
  Workspace ws;
  CURVE cur = make_curve(&ws, 3, 2, false, false), out;
  U_inicur(&out);
  CFUNCTION fn;
  U_inicfn(&fn);
  ASSERT_EQ(U_curnad(&cur, &out, &fn, &ws), 0);
  EXPECT_EQ(U_iscfnn(&fn), 1);
  for (int i = 0; i <= 3; ++i) expect_same(out.pol->Pw[i], cur.pol->Pw[i]);
}

TEST(WeightSplit, MismatchedPartsGiveError14) {
  Workspace ws;
  CURVE cur = make_curve(&ws, 3, 2, false, true), out;
  U_inicur(&out);
  CFUNCTION fn;
  U_inicfn(&fn);
  ASSERT_EQ(U_getcfn(&fn, 4, 2, 7, &ws), 0);
  E_clrerr();
  EXPECT_EQ(U_nadcur(&cur, &fn, &out, &ws), 1);
  EXPECT_TRUE(HasError(14, "U_NADCUR"));
  EXPECT_EQ(U_iscurn(&out), 1);  // nothing written

  SURFACE sur = make_surface(&ws, false), sout;
  U_inisur(&sout);
  SFUNCTION sfn;
  U_inisfn(&sfn);
  ASSERT_EQ(U_getsfn(&sfn, 2, 3, 1, 1, 4, 5, &ws), 0);  // q differs
  EXPECT_EQ(U_nadsur(&sur, &sfn, &sout, &ws), 1);
  EXPECT_TRUE(HasError(14, "U_NADSUR"));
}

TEST(CoordinateFunctions, CurveSplitAndJoin) {
  Workspace ws;
  CURVE flat = make_curve(&ws, 4, 2, false, false), back;
  CFUNCTION fx, fy, fz, fw;
  for (CFUNCTION *f : {&fx, &fy, &fz, &fw}) U_inicfn(f);
  ASSERT_EQ(U_curcor(&flat, &fx, &fy, &fz, &fw, &ws), 0);
  EXPECT_EQ(U_iscfnn(&fz), 1);  // 2-D: no z function
  EXPECT_EQ(U_iscfnn(&fw), 1);  // non-rational: no weight function
  EXPECT_EQ(fy.cvl->values[3], 6.0);
  U_inicur(&back);
  ASSERT_EQ(U_corcur(&fx, &fy, nullptr, nullptr, &back, &ws), 0);
  EXPECT_EQ(U_iscur3(&back), 0);
  EXPECT_EQ(U_iscurr(&back), 0);
  for (int i = 0; i <= 4; ++i) expect_same(back.pol->Pw[i], flat.pol->Pw[i]);

  CURVE full = make_curve(&ws, 4, 2, true, true), back3;
  CFUNCTION gx, gy, gz, gw;
  for (CFUNCTION *f : {&gx, &gy, &gz, &gw}) U_inicfn(f);
  ASSERT_EQ(U_curcor(&full, &gx, &gy, &gz, &gw, &ws), 0);
  U_inicur(&back3);
  ASSERT_EQ(U_corcur(&gx, &gy, &gz, &gw, &back3, &ws), 0);
  for (int i = 0; i <= 4; ++i) expect_same(back3.pol->Pw[i], full.pol->Pw[i]);

  E_clrerr();
  EXPECT_EQ(U_corcur(&gx, &fy, nullptr, nullptr, &back3, &ws), 0);  // same shape
  CFUNCTION other;
  U_inicfn(&other);
  ASSERT_EQ(U_getcfn(&other, 4, 3, 8, &ws), 0);
  EXPECT_EQ(U_corcur(&gx, &gy, &other, nullptr, &back3, &ws), 1);
  EXPECT_TRUE(HasError(14, "U_CORCUR"));
}

TEST(CoordinateFunctions, SurfaceSplitAndJoin) {
  Workspace ws;
  SURFACE sur = make_surface(&ws, true), back;
  SFUNCTION fx, fy, fz, fw;
  for (SFUNCTION *f : {&fx, &fy, &fz, &fw}) U_inisfn(f);
  ASSERT_EQ(U_surcor(&sur, &fx, &fy, &fz, &fw, &ws), 0);
  U_inisur(&back);
  ASSERT_EQ(U_corsur(&fx, &fy, &fz, &fw, &back, &ws), 0);
  for (int i = 0; i <= 2; ++i)
    for (int j = 0; j <= 3; ++j) expect_same(back.net->Pw[i][j], sur.net->Pw[i][j]);
  ASSERT_EQ(U_corsur(&fx, &fy, &fz, nullptr, &back, &ws), 0);
  EXPECT_EQ(back.net->Pw[1][1].w, kWNR);
  E_clrerr();
  EXPECT_EQ(U_corsur(&fx, &fy, nullptr, nullptr, &back, &ws), 1);  // z is required
  EXPECT_TRUE(HasError(14, "U_CORSUR"));
}
