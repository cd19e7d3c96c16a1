// Degree elevation of curves and surfaces.
#include <set>

#include "refine/refine_test_util.hpp"

using namespace refinetest;
using orvo_test::on_list;
using orvo_test::total_blocks;
using orvo_test::Workspace;

namespace {
// Every distinct knot of U repeated t more times.
Knots raised(const Knots &U, int t) {
  Knots K;
  for (size_t i = 0; i < U.size(); ++i) {
    K.push_back(U[i]);
    if (i + 1 == U.size() || U[i + 1] != U[i]) K.insert(K.end(), t, U[i]);
  }
  return K;
}
}  // namespace

// Shape, knots (interior multiplicities up to p, so corners too; Bezier
// curves), sizes and kind for every kind of curve.
TEST(DegreeElevation, RandomCurvesKeepTheirShape) {
  for_random_curves({1, 2, 3, 5, 9}, true, [&](int p, int lay, CURVE *c, STACKS *ws) {
    for (int t : {0, 1, 2, 3}) {
      CURVE out = empty_curve();
      ASSERT_EQ(N_toocde(c, t, &out, ws, ws), 0) << p << " " << lay << " " << t;
      const Knots U = knot_values(c->knt);
      const auto spans = static_cast<int32_t>(std::set<double>(U.begin(), U.end()).size()) - 1;
      EXPECT_TRUE(knot_values(out.knt) == raised(U, t) && out.p == p + t &&
                  out.pol->n == c->pol->n + t * spans);
      EXPECT_TRUE(same_curve(c, &out, 0.5, 3.0)) << p << " " << lay << " " << t;
      for (int32_t i = 0; i <= out.pol->n; ++i)  // the kind, and t = 0 copies exactly
        EXPECT_TRUE((out.pol->Pw[i].w == -DBL_MAX) == (c->pol->Pw[0].w == -DBL_MAX) &&
                    (out.pol->Pw[i].z == DBL_MAX) == (c->pol->Pw[0].z == DBL_MAX) &&
                    (t > 0 || same_cpoint(out.pol->Pw[i], c->pol->Pw[i])));
    }
  });
}

TEST(DegreeElevation, DegreeLimitsAndRefusals) {
  std::mt19937 rng(5);
  Workspace ws;
  CURVE out = empty_curve();
  CURVE *high = make_curve(ws, 27, knots(27, 0, 1, {}), true, false, rng);
  ASSERT_EQ(N_toocde(high, 1, &out, ws, ws), 0);
  EXPECT_TRUE(out.p == 28 && out.pol->n == 28 && same_curve(high, &out, 0, 1));
  for (int t : {2, -1}) EXPECT_FAILS(N_toocde(high, t, &out, ws, ws), 3, "N_TOOCDE");
  CURVE *open = make_curve(ws, 2, knots(2, 0, 1, {{0.5, 1}}, false), true, false, rng);
  EXPECT_FAILS(N_toocde(open, 1, &out, ws, ws), 4, "N_TOOCDE");
  // A degree-0 Bezier curve becomes t+1 copies of its point.
  CURVE *flat = make_curve(ws, 0, knots(0, 0, 1, {}), true, true, rng);
  CURVE two = empty_curve();
  ASSERT_EQ(N_toocde(flat, 2, &two, ws, ws), 0);
  EXPECT_TRUE(knot_values(two.knt) == Knots({0, 0, 0, 1, 1, 1}) &&
              same_cpoint(two.pol->Pw[2], flat->pol->Pw[0]));
  // Too small an output is refused and left as it was.
  CURVE *c = make_curve(ws, 3, knots(3, 0, 1, {{0.5, 1}}), true, true, rng);
  CURVE *small = S_getcur(6, 3, 10, ws);
  EXPECT_FAILS(N_toocde(c, 1, small, ws, ws), 9, "N_TOOCDE");
  EXPECT_TRUE(small->pol->n == 6 && small->p == 3 && small->knt->m == 10);
}

// Raised in place: fresh arrays, the old ones leave ws_in; with each
// allocation failing in turn the surface and ws_in stay as they were.
TEST(DegreeElevation, SurfacesInEitherDirection) {
  std::mt19937 rng(8);
  const Knots U = knots(2, 0, 2, {{0.7, 1}, {1.2, 2}}), V = knots(3, -1, 1, {{0.0, 1}, {0.5, 3}});
  for (bool rat : {false, true})
    for (int16_t dir : {1, 2})
      for (int t : {1, 2}) {
        Workspace ws, cws;
        SURFACE *s = make_surface(ws, 2, 3, U, V, rat, rng);
        SURFACE copy = empty_surface();
        ASSERT_EQ(U_surcop(s, &copy, cws), 0);
        CPOINT **old = s->net->Pw;
        fail_each_allocation([&] { return N_toosde(s, t, dir, s, ws, ws); },
                             [&] { return std::make_pair(s->net, total_blocks(ws.ws)); });
        EXPECT_FALSE(on_list(ws.ws, 12, old));
        EXPECT_TRUE(knot_values(s->knu) == raised(U, dir == 1 ? t : 0) &&
                    knot_values(s->knv) == raised(V, dir == 2 ? t : 0) &&
                    s->p == 2 + (dir == 1) * t && s->q == 3 + (dir == 2) * t &&
                    (s->net->Pw[1][1].w != -DBL_MAX) == rat);
        EXPECT_TRUE(same_surface(&copy, s, 0, 2, -1, 1)) << rat << dir << t;
      }
  Workspace ws;
  SURFACE *s = make_surface(ws, 2, 2, knots(2, 0, 1, {}), knots(2, 0, 1, {}), false, rng);
  SURFACE out = empty_surface();
  EXPECT_FAILS(N_toosde(s, 1, 3, &out, ws, ws), 13, "N_TOOSDE");
  EXPECT_FAILS(N_toosde(s, 27, 2, &out, ws, ws), 3, "N_TOOSDE");
  s->knv->U[0] = -1;
  EXPECT_FAILS(N_toosde(s, 1, 2, &out, ws, ws), 4, "N_TOOSDE");
  EXPECT_TRUE(U_issurn(&out));
}
