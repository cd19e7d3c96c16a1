// Bezier decomposition, splitting, segments and components: every piece
// reproduces its part of the input, neighbouring pieces meet, and inputs
// that would lead outside the arrays are refused.
#include "refine/refine_test_util.hpp"

using namespace refinetest;
using orvo_test::on_list;
using orvo_test::total_blocks;
using orvo_test::Workspace;

namespace {

// Distinct knot values of the domain, in order.
Knots breakpoints(const KNOTVECTOR *k, int p) {
  Knots v;
  for (int32_t i = p; i <= k->m - p; ++i)
    if (v.empty() || k->U[i] != v.back()) v.push_back(k->U[i]);
  return v;
}

// a has exactly the points and knots of c.
bool identical(const CURVE *a, const CURVE *c) {
  if (a->pol->n != c->pol->n || knot_values(a->knt) != knot_values(c->knt)) return false;
  for (int32_t i = 0; i <= c->pol->n; ++i)
    if (!same_cpoint(a->pol->Pw[i], c->pol->Pw[i])) return false;
  return true;
}

}  // namespace

// Every kind of curve, clamped or not: Bezier pieces, segments (anywhere,
// inside one span, between knots, at the ends, the whole domain) and
// halves at random places and at knots of every multiplicity up to p.
TEST(CurvePieces, RandomCurves) {
  std::mt19937 rng(41);
  std::uniform_real_distribution<double> pick(0.6, 2.9);
  for (bool clamped : {true, false})
    for_random_curves({1, 2, 3, 4}, clamped, [&](int p, int lay, CURVE *c, STACKS *ws) {
      CURVE **pieces = nullptr;
      int32_t last = -5;
      ASSERT_EQ(N_toocdc(c, &pieces, &last, ws), 0);
      const Knots br = breakpoints(c->knt, p), U = knot_values(c->knt);
      ASSERT_EQ(last + 2, static_cast<int32_t>(br.size()));
      for (int32_t k = 0; k <= last; ++k) {
        Knots bez(p + 1, br[k]);
        bez.insert(bez.end(), p + 1, br[k + 1]);
        EXPECT_EQ(knot_values(pieces[k]->knt), bez);
        EXPECT_TRUE(same_curve(c, pieces[k], br[k], br[k + 1])) << p << " " << lay << " " << k;
        // Consecutive pieces share their joining point exactly.
        EXPECT_TRUE(k == 0 || same_cpoint(pieces[k - 1]->pol->Pw[p], pieces[k]->pol->Pw[0]));
      }
      double a = pick(rng), b = pick(rng);
      const std::pair<double, double> ranges[] = {{std::min(a, b), std::max(a, b)},
                                                  {1.05, 1.2},
                                                  {1.0, 1.7},
                                                  {0.5, 1.25},
                                                  {2.2, 3.0},
                                                  {0.5, 3.0},
                                                  {0.9, 0.95}};
      for (auto [lo, hi] : ranges) {
        CURVE out = empty_curve();
        ASSERT_EQ(N_toocsg(c, lo, hi, &out, ws, ws), 0) << lo << " " << hi;
        EXPECT_TRUE(out.knt->m == out.pol->n + p + 1 && out.knt->U[0] == lo &&
                    out.knt->U[out.knt->m] == hi);
        EXPECT_TRUE(same_curve(c, &out, lo, hi)) << p << " [" << lo << ", " << hi << "]";
        EXPECT_TRUE(!clamped || lo != 0.5 || hi != 3.0 || identical(&out, c));
      }
      for (double u : {a, 1.0, 1.7, 0.9, 2.6}) {
        CURVE left = empty_curve(), right = empty_curve();
        ASSERT_EQ(N_toocsp(c, u, &left, &right, ws), 0) << p << " " << u;
        const int s = static_cast<int>(std::count(U.begin(), U.end(), u));
        const int32_t k =
            static_cast<int32_t>(std::upper_bound(U.begin(), U.end(), u) - U.begin()) - 1;
        EXPECT_TRUE(left.pol->n == k - s && right.pol->n == c->pol->n - k + p);
        EXPECT_TRUE(same_curve(c, &left, 0.5, u) && same_curve(c, &right, u, 3.0)) << p << " " << u;
        EXPECT_TRUE(same_cpoint(left.pol->Pw[left.pol->n], right.pol->Pw[0]));
        EXPECT_LT(dist(euclid(right.pol->Pw[0]), eval(c, u)), 1e-12 * size_of(c));
      }
    });
}

TEST(CurvePieces, RefusalsFailuresAndInPlace) {
  std::mt19937 rng(33);
  Workspace ws, cws;
  CURVE *c = make_curve(ws, 2, knots(2, 0, 1, {{0.3, 1}, {0.6, 3}}), false, true, rng);
  CURVE left = empty_curve(), right = empty_curve(), copy = empty_curve();
  // Splits at the ends of the domain, beyond them, and at a knot of
  // multiplicity p+1 (no point the halves could share).
  for (double u : {0.0, 1.0, -1.0, 2.0, 0.6})
    EXPECT_FAILS(N_toocsp(c, u, &left, &right, ws), 6, "N_TOOCSP");
  EXPECT_FAILS(N_toocsp(c, 0.5, &left, &left, ws), 14, "N_TOOCSP");
  EXPECT_FAILS(N_toocsg(c, 0.4, 0.4, &left, ws, ws), 14, "N_TOOCSG");
  EXPECT_FAILS(N_toocsg(c, 0.6, 0.4, &left, ws, ws), 14, "N_TOOCSG");
  EXPECT_FAILS(N_toocsg(c, -0.1, 0.4, &left, ws, ws), 6, "N_KNTFSM");
  EXPECT_FAILS(N_toocsg(c, 0.4, 1.1, &left, ws, ws), 6, "N_KNTFSM");
  // The second half too small: the first comes back empty and nothing of
  // the call stays in the workspace.
  CURVE *small = S_getcur(1, 2, 4, ws);
  const size_t blocks = total_blocks(ws.ws);
  EXPECT_FAILS(N_toocsp(c, 0.45, &left, small, ws), 9, "N_TOOCSP");
  EXPECT_TRUE(U_iscurn(&left) && small->pol->n == 1 && total_blocks(ws.ws) == blocks);
  // Decomposition with each allocation failing in turn leaves nothing.
  CURVE **pieces = nullptr;
  int32_t last = -5;
  fail_each_allocation([&] { return N_toocdc(c, &pieces, &last, ws); },
                       [&] { return std::make_pair(total_blocks(ws.ws), last); });
  evaltest::CurveData flat(std::vector<CPOINT>(3, CPOINT{0, 0, 0, -DBL_MAX}), {1, 1, 1, 1, 1, 1},
                           2);
  EXPECT_FAILS(N_toocdc(&flat.cur, &pieces, &last, ws), 4, "N_TOOCDC");
  // Into the input record itself: a left half, then a segment of it.
  ASSERT_EQ(U_curcop(c, &copy, cws), 0);
  CPOINT *old = c->pol->Pw;
  ASSERT_EQ(N_toocsp(c, 0.45, c, &right, ws), 0);
  EXPECT_FALSE(on_list(ws.ws, 11, old));
  EXPECT_TRUE(same_curve(&copy, c, 0.0, 0.45) && same_curve(&copy, &right, 0.45, 1.0));
  ASSERT_EQ(N_toocsg(c, 0.1, 0.2, c, ws, ws), 0);
  EXPECT_TRUE(c->pol->n == 2 && same_curve(&copy, c, 0.1, 0.2));
}

// Patches, halves in either direction and sub-rectangles of surfaces.
TEST(SurfacePieces, DecompositionSplitSegment) {
  std::mt19937 rng(24);
  for (bool rat : {false, true}) {
    Workspace ws, cws;
    SURFACE *s = make_surface(ws, 2, 3, knots(2, 0, 2, {{0.5, 1}, {1.5, 2}}),
                              knots(3, -1, 1, {{-0.2, 1}, {0.4, 3}}), rat, rng);
    SURFACE ***patches = nullptr;
    int32_t lu = -5, lv = -5;
    ASSERT_EQ(N_toosdc(s, &patches, &lu, &lv, ws), 0);
    ASSERT_TRUE(lu == 2 && lv == 2);
    const Knots bu = breakpoints(s->knu, 2), bv = breakpoints(s->knv, 3);
    for (int32_t iu = 0; iu <= lu; ++iu)
      for (int32_t iv = 0; iv <= lv; ++iv) {
        const SURFACE *P = patches[iu][iv];
        ASSERT_TRUE(P->net->n == 2 && P->net->m == 3);
        EXPECT_TRUE(P->knu->U[0] == bu[iu] && P->knu->U[5] == bu[iu + 1]);
        EXPECT_TRUE(P->knv->U[0] == bv[iv] && P->knv->U[7] == bv[iv + 1]);
        EXPECT_TRUE(same_surface(s, P, bu[iu], bu[iu + 1], bv[iv], bv[iv + 1])) << iu << iv;
        for (int j = 0; iu > 0 && j <= 3; ++j)
          EXPECT_TRUE(same_cpoint(patches[iu - 1][iv]->net->Pw[2][j], P->net->Pw[0][j]));
        for (int i = 0; iv > 0 && i <= 2; ++i)
          EXPECT_TRUE(same_cpoint(patches[iu][iv - 1]->net->Pw[i][3], P->net->Pw[i][0]));
      }
    for (auto [dir, t] : {std::pair<int16_t, double>{1, 0.8}, {1, 1.5}, {2, 0.0}, {2, 0.4}}) {
      SURFACE a = empty_surface(), b = empty_surface();
      ASSERT_EQ(N_toossp(s, t, dir, &a, &b, ws), 0);
      const bool u = dir == 1;
      EXPECT_TRUE(same_surface(s, &a, 0, u ? t : 2, -1, u ? 1 : t));
      EXPECT_TRUE(same_surface(s, &b, u ? t : 0, 2, u ? -1 : t, 1));
      EXPECT_EQ(knot_values(u ? a.knv : b.knu), knot_values(u ? s->knv : s->knu));
      for (int32_t k = 0; k <= (u ? s->net->m : s->net->n); ++k)
        EXPECT_TRUE(u ? same_cpoint(a.net->Pw[a.net->n][k], b.net->Pw[0][k])
                      : same_cpoint(a.net->Pw[k][a.net->m], b.net->Pw[k][0]));
    }
    const double rects[][4] = {
        {0.1, 0.3, -0.9, -0.8}, {0.2, 1.7, -0.5, 0.75}, {0.5, 1.5, -0.2, 0.4}, {0, 2, -1, 1}};
    for (const auto &r : rects) {
      SURFACE out = empty_surface();
      ASSERT_EQ(N_toossg(s, r[0], r[1], r[2], r[3], &out, ws, ws), 0);
      EXPECT_TRUE(same_surface(s, &out, r[0], r[1], r[2], r[3])) << r[0] << " " << r[2];
    }
    SURFACE copy = empty_surface(), a = empty_surface(), b = empty_surface();
    EXPECT_FAILS(N_toossp(s, 0.5, 0, &a, &b, ws), 13, "N_TOOSSP");
    EXPECT_FAILS(N_toossp(s, 1.0, 2, &a, &b, ws), 6, "N_TOOSSP");
    EXPECT_FAILS(N_toossg(s, 0.2, 0.4, 0.5, 0.5, &a, ws, ws), 14, "N_TOOSSG");
    EXPECT_FAILS(N_toossg(s, 0.2, 2.4, 0.5, 0.6, &a, ws, ws), 6, "N_KNTFSM");
    ASSERT_EQ(U_surcop(s, &copy, cws), 0);
    CPOINT **old = s->net->Pw;
    ASSERT_EQ(N_toossg(s, 0.3, 1.9, -0.2, 0.9, s, ws, ws), 0);
    EXPECT_FALSE(on_list(ws.ws, 12, old));
    EXPECT_TRUE(same_surface(&copy, s, 0.3, 1.9, -0.2, 0.9));
  }
}

TEST(CurvePieces, ComponentsBetweenJoints) {
  std::mt19937 rng(51);
  for (const Kind &kind : kKinds) {
    Workspace ws;
    // A corner at 0.3 (multiplicity p), a break at 0.6 (multiplicity p+1).
    CURVE *c = make_curve(ws, 2, knots(2, 0, 1, {{0.3, 2}, {0.45, 1}, {0.6, 3}, {0.8, 1}}),
                          kind.three_d, kind.rational, rng);
    CURVE **parts = nullptr;
    int32_t last = -5;
    ASSERT_EQ(N_tooccp(c, &parts, &last, ws), 0);
    ASSERT_EQ(last, 2);
    const double cuts[] = {0, 0.3, 0.6, 1};
    for (int k = 0; k <= 2; ++k) {
      EXPECT_TRUE(parts[k]->knt->U[0] == cuts[k] &&
                  parts[k]->knt->U[parts[k]->knt->m] == cuts[k + 1]);
      // At a break each component takes the limit from its own side.
      for (double u : params(cuts[k], cuts[k + 1], c->knt, 30)) {
        const int side = u == cuts[k + 1] ? 2 : 1;
        EXPECT_LT(dist(eval(c, u, side), eval(parts[k], u, side)), 1e-12 * size_of(c)) << k << u;
      }
    }
    // No blending: the corner point is shared exactly.
    EXPECT_TRUE(same_cpoint(parts[0]->pol->Pw[parts[0]->pol->n], parts[1]->pol->Pw[0]));
  }
  Workspace ws;
  CURVE **parts = nullptr;
  int32_t last = -5;
  CURVE *smooth = make_curve(ws, 3, knots(3, 0, 1, {{0.2, 1}, {0.5, 2}}), true, false, rng);
  ASSERT_EQ(N_tooccp(smooth, &parts, &last, ws), 0);
  EXPECT_TRUE(last == 0 && identical(parts[0], smooth));
  CURVE *bez = make_curve(ws, 3, knots(3, 0, 1, {}), true, true, rng);  // one Bezier piece
  ASSERT_EQ(N_toocdc(bez, &parts, &last, ws), 0);
  EXPECT_TRUE(last == 0 && identical(parts[0], bez));
  CURVE *poly = make_curve(ws, 1, knots(1, 0, 1, {{0.2, 1}, {0.7, 1}}), false, false, rng);
  ASSERT_EQ(N_tooccp(poly, &parts, &last, ws), 0);
  EXPECT_EQ(last, 2);  // degree 1: every interior knot is a joint
}
