// Knot refinement of curves and surfaces.
#include "refine/refine_test_util.hpp"

using namespace refinetest;
using orvo_test::Workspace;

namespace {

KNOTVECTOR knot_list(Knots &x) { return KNOTVECTOR{static_cast<int32_t>(x.size()) - 1, x.data()}; }

// The knots of X that keep every multiplicity of U at or below p.
Knots admissible(const Knots &U, int p, Knots X) {
  Knots keep;
  for (double x : X)
    if (std::count(U.begin(), U.end(), x) + std::count(keep.begin(), keep.end(), x) < p)
      keep.push_back(x);
  std::sort(keep.begin(), keep.end());
  return keep;
}

}  // namespace

// Random lists (with repeats and existing knot values) into clamped and
// unclamped curves of every kind: same shape, knots merged, in place alike.
TEST(KnotRefinement, CurvesKeepTheirShape) {
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> pick(0.55, 2.95);
  for (bool clamped : {true, false})
    for_random_curves({1, 2, 3, 5}, clamped, [&](int p, int, CURVE *c, STACKS *ws) {
      const Knots U = knot_values(c->knt);
      Knots X = admissible(U, p, {pick(rng), pick(rng), 1.0, 1.5, 1.7, 2.6, 2.6, 1.2, 1.2, 1.2});
      KNOTVECTOR Xk = knot_list(X);
      CURVE out = empty_curve();
      ASSERT_EQ(N_toocrf(c, &Xk, &out, ws, ws), 0) << p;
      Knots want = U;
      want.insert(want.end(), X.begin(), X.end());
      std::sort(want.begin(), want.end());
      EXPECT_EQ(knot_values(out.knt), want);
      EXPECT_TRUE(same_curve(c, &out, 0.5, 3.0)) << p;
      ASSERT_EQ(N_toocrf(c, &Xk, c, ws, ws), 0);
      for (int32_t i = 0; i <= out.pol->n; ++i)
        EXPECT_TRUE(same_cpoint(out.pol->Pw[i], c->pol->Pw[i]));
    });
}

// X = [u] gives exactly the record of inserting u once.
TEST(KnotRefinement, OneKnotIsOneInsertion) {
  for_random_curves({2, 3}, true, [&](int, int, CURVE *c, STACKS *ws) {
    Knots X{1.3};
    KNOTVECTOR Xk = knot_list(X);
    CURVE a = empty_curve(), b = empty_curve();
    ASSERT_EQ(N_toocrf(c, &Xk, &a, ws, ws), 0);
    ASSERT_EQ(N_toocki(c, 1.3, 1, &b, ws, ws), 0);
    EXPECT_EQ(knot_values(a.knt), knot_values(b.knt));
    for (int32_t i = 0; i <= a.pol->n; ++i)
      EXPECT_TRUE(dist(euclid(a.pol->Pw[i]), euclid(b.pol->Pw[i])) < 1e-13);
  });
}

TEST(KnotRefinement, SurfacesInEitherDirection) {
  std::mt19937 rng(9);
  Workspace ws;
  SURFACE *s = make_surface(ws, 3, 2, knots(3, 0.5, 3, layout(3, 1)),
                            knots(2, 0.5, 3, layout(2, 2)), true, rng);
  for (int dir : {1, 2}) {
    Knots X{0.8, 1.0, 1.9, 1.9};
    KNOTVECTOR Xk = knot_list(X);
    SURFACE out = empty_surface();
    ASSERT_EQ(N_toosrf(s, &Xk, dir, &out, ws, ws), 0) << dir;
    EXPECT_EQ(dir == 1 ? out.net->n : out.net->m, (dir == 1 ? s->net->n : s->net->m) + 4);
    EXPECT_EQ(knot_values(dir == 1 ? out.knv : out.knu), knot_values(dir == 1 ? s->knv : s->knu));
    EXPECT_TRUE(same_surface(s, &out, 0.5, 3, 0.5, 3)) << dir;
  }
}

// Each refusal leaves the curve as it was.
TEST(KnotRefinement, Refusals) {
  std::mt19937 rng(2);
  Workspace ws;
  CURVE *c = make_curve(ws, 3, knots(3, 0, 1, {{0.4, 2}}), false, false, rng);
  SURFACE *s = make_surface(ws, 2, 2, knots(2, 0, 1, {}), knots(2, 0, 1, {}), false, rng);
  const Knots before = knot_values(c->knt);
  struct Case {
    Knots x;
    int code;
  } cases[] = {{{}, 14},        {{0.0, 0.5}, 6},           {{0.5, 1.0}, 6}, {{0.7, 0.3}, 4},
               {{0.4, 0.4}, 6}, {{0.2, 0.2, 0.2, 0.2}, 6}, {{0.3, NAN}, 6}};
  for (Case &k : cases) {
    KNOTVECTOR Xk = knot_list(k.x);
    EXPECT_FAILS(N_toocrf(c, &Xk, c, ws, ws), k.code, "N_TOOCRF");
    EXPECT_EQ(knot_values(c->knt), before);
  }
  Knots x{0.5};
  KNOTVECTOR Xk = knot_list(x);
  SURFACE out = empty_surface();
  EXPECT_FAILS(N_toosrf(s, &Xk, 3, &out, ws, ws), 13, "N_TOOSRF");
}
