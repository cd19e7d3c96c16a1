// Knot insertion into curves and surfaces, also at a picked point.
#include "refine/refine_test_util.hpp"

using namespace refinetest;
using orvo_test::on_list;
using orvo_test::total_blocks;
using orvo_test::Workspace;

constexpr double kW = -DBL_MAX;

TEST(KnotInsertion, QuadraticBezierAtHalf) {
  // Inserting 0.5 halves both legs, weights included for a rational curve.
  evaltest::CurveData c({{0, 0, DBL_MAX, kW}, {2, 4, DBL_MAX, kW}, {4, 0, DBL_MAX, kW}},
                        {0, 0, 0, 1, 1, 1}, 2);
  evaltest::CurveData r({{1, 0, 0, 1}, {1, 1, 0, 1}, {0, 2, 0, 2}}, {0, 0, 0, 1, 1, 1}, 2);
  Workspace ws;
  CURVE out = empty_curve(), rout = empty_curve();
  ASSERT_EQ(N_toocki(&c.cur, 0.5, 1, &out, ws, ws), 0);
  ASSERT_EQ(N_toocki(&r.cur, 0.5, 1, &rout, ws, ws), 0);
  const CPOINT want[4] = {
      {0, 0, DBL_MAX, kW}, {1, 2, DBL_MAX, kW}, {3, 2, DBL_MAX, kW}, {4, 0, DBL_MAX, kW}};
  ASSERT_EQ(out.pol->n, 3);
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(same_cpoint(out.pol->Pw[i], want[i])) << i;
  EXPECT_EQ(knot_values(out.knt), Knots({0, 0, 0, 0.5, 1, 1, 1}));
  EXPECT_TRUE(same_cpoint(rout.pol->Pw[2], CPOINT{0.5, 1.5, 0, 1.5}));
}

// u at random places and at existing knots, r from 0 (a copy) to p - s, on
// clamped and unclamped curves; at a clamped start s = p+1 refuses all r.
TEST(KnotInsertion, RandomCurvesKeepTheirShape) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> pick(0.5, 3.0);
  for (bool clamped : {true, false})
    for_random_curves({1, 2, 3, 5}, clamped, [&](int p, int, CURVE *c, STACKS *ws) {
      const Knots U = knot_values(c->knt);
      for (double u : {pick(rng), pick(rng), 0.5, 1.0, 1.7, 2.6, 0.9, 1.5}) {
        const int s =
            clamped && u == 0.5 ? p + 1 : static_cast<int>(std::count(U.begin(), U.end(), u));
        for (int r = 0; r <= std::max(p - s, 0); ++r) {
          CURVE out = empty_curve();
          if (s + r > p) {
            EXPECT_FAILS(N_toocki(c, u, r, &out, ws, ws), 6, "N_TOOCKI");
            continue;
          }
          ASSERT_EQ(N_toocki(c, u, r, &out, ws, ws), 0) << p << " " << u << " " << r;
          Knots want = U;
          want.insert(std::upper_bound(want.begin(), want.end(), u), r, u);
          EXPECT_TRUE(knot_values(out.knt) == want && out.pol->n == c->pol->n + r);
          EXPECT_TRUE(same_curve(c, &out, 0.5, 3.0)) << "p " << p << " u " << u << " r " << r;
          for (int32_t i = 0; r == 0 && i <= c->pol->n; ++i)
            EXPECT_TRUE(same_cpoint(out.pol->Pw[i], c->pol->Pw[i]));
        }
      }
    });
}

TEST(KnotInsertion, Refusals) {
  std::mt19937 rng(2);
  Workspace ws;
  CURVE *c = make_curve(ws, 3, knots(3, 0, 1, {{0.4, 2}}), false, false, rng);
  CURVE out = empty_curve();
  // s + r > p, r < 0, u not strictly inside the domain (also NaN).
  const std::pair<double, int> bad[] = {{0.4, 2}, {0.6, 4},  {0.6, -1},        {0.0, 1},
                                        {1.0, 1}, {-0.5, 1}, {std::nan(""), 1}};
  for (auto [u, r] : bad) EXPECT_FAILS(N_toocki(c, u, r, &out, ws, ws), 6, "N_TOOCKI");
  EXPECT_FAILS(N_toocki(c, 0.6, 1, nullptr, ws, ws), 14, "N_TOOCKI");
  // Knots out of order are refused before any index is formed; so are
  // records whose sizes disagree or that have fewer than p+1 points.
  std::swap(c->knt->U[4], c->knt->U[6]);
  EXPECT_FAILS(N_toocki(c, 0.6, 1, &out, ws, ws), 4, "N_TOOCKI");
  evaltest::CurveData few(std::vector<CPOINT>(2, CPOINT{0, 0, 0, kW}), {0, 0, 0, 1, 1}, 2);
  EXPECT_FAILS(N_toocki(&few.cur, 0.5, 1, &out, ws, ws), 14, "N_TOOCKI");
  EXPECT_TRUE(U_iscurn(&out));
}

// A count so large that adding the knot's multiplicity would overflow is
// refused like any count above p - s, on curves and surfaces.
TEST(KnotInsertion, HugeCountAtAnExistingKnot) {
  std::mt19937 rng(3);
  Workspace ws;
  CURVE *c = make_curve(ws, 3, knots(3, 0, 1, {{0.4, 2}}), false, false, rng);
  SURFACE *s =
      make_surface(ws, 3, 2, knots(3, 0, 1, {{0.4, 2}}), knots(2, 0, 1, {{0.4, 1}}), false, rng);
  CURVE out = empty_curve();
  SURFACE sout;
  U_inisur(&sout);
  for (int32_t r : {INT32_MAX, INT32_MAX - 1}) {
    EXPECT_FAILS(N_toocki(c, 0.4, r, &out, ws, ws), 6, "N_TOOCKI");
    for (int16_t dir : {1, 2}) EXPECT_FAILS(N_tooski(s, 0.4, r, dir, &sout, ws, ws), 6, "N_TOOSKI");
  }
}

// In place the record gets fresh arrays and the old ones leave ws_in; with
// each allocation failing in turn the curve and ws_in stay as they were.
TEST(KnotInsertion, InPlace) {
  std::mt19937 rng(4);
  Workspace ws, cws;
  CURVE *c = make_curve(ws, 3, knots(3, 0, 1, {{0.5, 1}}), true, true, rng);
  CURVE copy = empty_curve();
  ASSERT_EQ(U_curcop(c, &copy, cws), 0);
  CPOINT *old_pw = c->pol->Pw;
  double *old_u = c->knt->U;
  const size_t blocks = total_blocks(ws.ws);
  fail_each_allocation([&] { return N_toocki(c, 0.25, 2, c, ws, ws); },
                       [&] { return std::make_tuple(c->pol, c->knt, total_blocks(ws.ws)); });
  EXPECT_EQ(c->pol->n, copy.pol->n + 2);
  EXPECT_FALSE(on_list(ws.ws, 11, old_pw) || on_list(ws.ws, 5, old_u));
  EXPECT_EQ(total_blocks(ws.ws), blocks);
  EXPECT_TRUE(same_curve(&copy, c, 0.0, 1.0));
}

TEST(KnotInsertion, SeparateOutputProtocol) {
  std::mt19937 rng(6);
  Workspace ws, wo;
  CURVE *c = make_curve(ws, 2, knots(2, 0, 1, {{0.5, 1}}), false, false, rng);
  CURVE *big = S_getcur(10, 2, 13, wo);
  CPOINT *arr = big->pol->Pw;
  ASSERT_EQ(N_toocki(c, 0.25, 1, big, ws, wo), 0);
  EXPECT_TRUE(big->pol->Pw == arr && big->pol->n == 4 && big->knt->m == 7);
  EXPECT_TRUE(same_curve(c, big, 0.0, 1.0));
  // An empty output whose allocation fails stays empty, with nothing of the
  // call left in ws_out.
  CURVE out = empty_curve();
  fail_each_allocation([&] { return N_toocki(c, 0.25, 1, &out, ws, wo); },
                       [&] { return std::make_pair(U_iscurn(&out), total_blocks(wo.ws)); });
}

TEST(KnotInsertion, SurfacesInEitherDirection) {
  std::mt19937 rng(8);
  const Knots U = knots(2, 0, 2, {{0.7, 1}, {1.2, 2}}), V = knots(3, -1, 1, {{0.0, 1}, {0.5, 3}});
  for (bool rat : {false, true})
    for (int16_t dir : {1, 2}) {
      Workspace ws, cws;
      SURFACE *s = make_surface(ws, 2, 3, U, V, rat, rng);
      for (double t : dir == 1 ? Knots{0.3, 0.7, 1.2} : Knots{-0.6, 0.0}) {
        const Knots &K = dir == 1 ? U : V;
        const int r = (dir == 1 ? 2 : 3) - static_cast<int>(std::count(K.begin(), K.end(), t));
        SURFACE out = empty_surface();
        ASSERT_EQ(N_tooski(s, t, r, dir, &out, ws, ws), 0);
        EXPECT_EQ(out.net->n + out.net->m, s->net->n + s->net->m + r);
        EXPECT_EQ(knot_values(dir == 1 ? out.knv : out.knu), dir == 1 ? V : U);
        EXPECT_TRUE(same_surface(s, &out, 0, 2, -1, 1)) << dir << " " << t;
      }
      SURFACE copy = empty_surface();
      ASSERT_EQ(U_surcop(s, &copy, cws), 0);
      CPOINT **old = s->net->Pw;
      fail_each_allocation([&] { return N_tooski(s, dir == 1 ? 1.5 : 0.25, 1, dir, s, ws, ws); },
                           [&] { return std::make_pair(s->net, total_blocks(ws.ws)); });
      EXPECT_FALSE(on_list(ws.ws, 12, old));
      EXPECT_TRUE(same_surface(&copy, s, 0, 2, -1, 1));
    }
  Workspace ws;
  SURFACE *s = make_surface(ws, 2, 2, knots(2, 0, 1, {{0.5, 2}}), knots(2, 0, 1, {}), false, rng);
  SURFACE out = empty_surface();
  EXPECT_FAILS(N_tooski(s, 0.3, 1, 3, &out, ws, ws), 13, "N_TOOSKI");
  EXPECT_FAILS(N_tooski(s, 0.5, 1, 1, &out, ws, ws), 6, "N_TOOSKI");
  EXPECT_FAILS(N_tooski(s, 1.0, 1, 2, &out, ws, ws), 6, "N_TOOSKI");
  s->knv->m = 4;
  EXPECT_FAILS(N_tooski(s, 0.3, 1, 2, &out, ws, ws), 2, "N_TOOSKI");
  EXPECT_TRUE(U_issurn(&out));
}

// The inserted knot puts a new control point at the foot of the picked
// point on the nearest leg, for every kind of curve and for surfaces.
TEST(KnotInsertion, AtAPickedPoint) {
  std::mt19937 rng(10);
  const auto nearest = [](CPOINT *const *rows, int32_t n, int32_t m, const POINT &F) {
    double best = 1e300;
    for (int32_t i = 0; i <= n; ++i)
      for (int32_t j = 0; j <= m; ++j) best = std::min(best, dist(euclid(rows[i][j]), F));
    return best;
  };
  const auto mix = [](const CPOINT &A, const CPOINT &B, double t) {
    const POINT a = euclid(A), b = euclid(B);
    return POINT{(1 - t) * a.x + t * b.x, (1 - t) * a.y + t * b.y, (1 - t) * a.z + t * b.z};
  };
  for (const Kind &kind : kKinds) {
    Workspace ws;
    CURVE *c =
        make_curve(ws, 3, knots(3, 0, 2, {{0.5, 1}, {1.1, 2}}), kind.three_d, kind.rational, rng);
    const POINT F = mix(c->pol->Pw[2], c->pol->Pw[3], 0.4);
    CURVE out = empty_curve();
    ASSERT_EQ(N_toocik(c, F, &out, ws, ws), 0);
    EXPECT_EQ(out.pol->n, c->pol->n + 1);
    EXPECT_LT(nearest(&out.pol->Pw, 0, out.pol->n, F), 1e-9);
    EXPECT_TRUE(same_curve(c, &out, 0, 2));
  }
  for (bool rat : {false, true})
    for (int leg : {1, 2}) {
      Workspace ws;
      SURFACE *s =
          make_surface(ws, 2, 3, knots(2, 0, 1, {{0.4, 1}}), knots(3, 0, 1, {{0.5, 1}}), rat, rng);
      const POINT F = mix(s->net->Pw[1][1], s->net->Pw[leg == 1 ? 2 : 1][leg == 1 ? 1 : 2], 0.3);
      SURFACE out = empty_surface();
      ASSERT_EQ(N_toosik(s, F, &out, ws, ws), 0);
      EXPECT_LT(nearest(out.net->Pw, out.net->n, out.net->m, F), 1e-9) << rat << leg;
      EXPECT_TRUE(same_surface(s, &out, 0, 1, 0, 1));
    }
}

TEST(KnotInsertion, PickOnNoLeg) {
  evaltest::CurveData c({{0, 0, DBL_MAX, kW}, {1, 0, DBL_MAX, kW}, {2, 0, DBL_MAX, kW}},
                        {0, 0, 0, 1, 1, 1}, 2);
  Workspace ws;
  CURVE out = empty_curve();
  EXPECT_FAILS(N_toocik(&c.cur, POINT{3, 1, 0}, &out, ws, ws), 14, "N_TOOCIK");
  EXPECT_EQ(total_blocks(ws.ws), 0u);
  // The middle of the first leg: u = 0.25 puts the new point at (0.5, 0).
  ASSERT_EQ(N_toocik(&c.cur, POINT{0.5, 0.3, 0}, &out, ws, ws), 0);
  EXPECT_TRUE(knot_values(out.knt) == Knots({0, 0, 0, 0.5, 1, 1, 1}) && out.pol->Pw[1].x == 0.5);
  // A flat unit square net and a point beside it.
  CPOINT row0[2] = {{0, 0, 0, kW}, {0, 1, 0, kW}}, row1[2] = {{1, 0, 0, kW}, {1, 1, 0, kW}};
  CPOINT *rows[2] = {row0, row1};
  Knots U = {0, 0, 1, 1}, V = U;
  CNET net{1, 1, rows};
  KNOTVECTOR ku{3, U.data()}, kv{3, V.data()};
  SURFACE s{&net, 1, 1, &ku, &kv}, sout;
  U_inisur(&sout);
  EXPECT_FAILS(N_toosik(&s, POINT{5, 5, 0}, &sout, ws, ws), 14, "N_TOOSIK");
}
