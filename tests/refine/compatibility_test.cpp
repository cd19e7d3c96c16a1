// Compatible sets of curves and surfaces, coincidence tests, isoparametric
// curves.
#include "refine/refine_test_util.hpp"

using namespace refinetest;
using orvo_test::Workspace;

namespace {

// A copy of c with its knots mapped onto [0, 1] (rectangle for surfaces):
// the shape the compatible record must keep.
CURVE *unit_copy(const CURVE *c, STACKS *ws) {
  CURVE *k = S_getcur(c->pol->n, c->p, c->knt->m, ws);
  EXPECT_EQ(U_curcop(c, k, ws), 0);
  U_curkts(k, INTERVAL{0, 1});
  return k;
}

SURFACE *unit_copy(const SURFACE *s, STACKS *ws) {
  SURFACE *k = S_getsur(s->net->n, s->net->m, s->p, s->q, s->knu->m, s->knv->m, ws);
  EXPECT_EQ(U_surcop(s, k, ws), 0);
  U_surkts(k, RECTANGLE{0, 1, 0, 1}, 3);
  return k;
}

}  // namespace

// A quadratic 2-D rational curve on [0.5, 3] and a cubic 3-D one on [0, 1]
// with other knots: both come out cubic, rational, 3-D, with one knot
// vector on [0, 1], and keep their shapes.
TEST(Compatibility, CurvesOfTwoDegrees) {
  std::mt19937 rng(3);
  Workspace ws;
  CURVE *c[3] = {make_curve(ws, 2, knots(2, 0.5, 3, layout(2, 1)), false, true, rng),
                 make_curve(ws, 3, knots(3, 0, 1, {{0.3, 1}, {0.6, 2}}), true, false, rng),
                 make_curve(ws, 3, knots(3, 0, 1, {{0.3, 1}}), true, true, rng)};
  Workspace keep;
  const CURVE *before[3] = {unit_copy(c[0], keep), unit_copy(c[1], keep), unit_copy(c[2], keep)};
  ASSERT_EQ(N_toocco(c, 2, ws), 0);
  EXPECT_EQ(U_arecco(c, 2), 1);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(c[i]->p, 3);
    EXPECT_EQ(knot_values(c[i]->knt), knot_values(c[0]->knt));
    EXPECT_TRUE(same_curve(before[i], c[i], 0, 1)) << i;
  }
  // Already compatible: nothing but the mapping changes.
  const Knots U = knot_values(c[1]->knt);
  ASSERT_EQ(N_toocco(c, 1, ws), 0);
  EXPECT_EQ(knot_values(c[1]->knt), U);
}

TEST(Compatibility, SurfacesInBothDirections) {
  std::mt19937 rng(4);
  Workspace ws;
  SURFACE *s[2] = {
      make_surface(ws, 2, 3, knots(2, 0, 2, {{0.5, 1}}), knots(3, 0, 1, {}), true, rng),
      make_surface(ws, 3, 1, knots(3, 0, 1, {{0.4, 2}}), knots(1, 1, 4, {{2, 1}}), false, rng)};
  Workspace keep;
  const SURFACE *before[2] = {unit_copy(s[0], keep), unit_copy(s[1], keep)};
  ASSERT_EQ(N_toosco(s, 1, ws), 0);
  for (int i = 0; i < 2; ++i) {
    EXPECT_TRUE(s[i]->p == 3 && s[i]->q == 3);
    EXPECT_EQ(knot_values(s[i]->knu), knot_values(s[0]->knu));
    EXPECT_EQ(knot_values(s[i]->knv), knot_values(s[0]->knv));
    EXPECT_TRUE(same_surface(before[i], s[i], 0, 1, 0, 1)) << i;
  }
}

// A curve and its refined copy coincide; moving one control point by more
// than the tolerance breaks it.
TEST(Compatibility, Coincidence) {
  std::mt19937 rng(6);
  Workspace ws;
  for (double shift : {0.0, 1e-3}) {
    CURVE *a = make_curve(ws, 3, knots(3, 0, 1, {{0.5, 1}}), true, false, rng);
    CURVE b = empty_curve();
    ASSERT_EQ(N_toocki(a, 0.25, 2, &b, ws, ws), 0);
    a->pol->Pw[2].x += shift;
    EXPECT_EQ(U_arecuc(a, &b, 1e-6, ws), shift == 0.0 ? 1 : 0);
    SURFACE *s = make_surface(ws, 2, 2, knots(2, 0, 1, {}), knots(2, 0, 1, {}), true, rng);
    SURFACE t = empty_surface();
    ASSERT_EQ(N_tooski(s, 0.5, 1, 2, &t, ws, ws), 0);
    s->net->Pw[1][1].y += shift;
    EXPECT_EQ(U_aresuc(s, &t, 1e-6, ws), shift == 0.0 ? 1 : 0);
  }
  EXPECT_EQ(U_arecuc(nullptr, nullptr, 1.0, ws), 0);
}

// Isoparametric curves follow the surface; at a clamped end they copy the
// boundary line exactly.
TEST(Compatibility, IsoparametricCurves) {
  std::mt19937 rng(8);
  Workspace ws;
  SURFACE *s = make_surface(ws, 3, 2, knots(3, 0, 1, {{0.3, 1}, {0.6, 3}}),
                            knots(2, 0, 2, {{0.5, 2}, {1.2, 1}}), true, rng);
  for (int dir : {1, 2})
    for (double t : {0.0, 0.37, 0.6, 0.5, 1.0, 1.2, 2.0}) {
      if (dir == 2 && t > 1.0) continue;
      CURVE c = empty_curve();
      ASSERT_EQ(N_tooscx(s, t, static_cast<int16_t>(dir), &c, ws), 0) << dir << " " << t;
      for (int i = 0; i <= 20; ++i) {
        const double w = (dir == 1 ? 1.0 : 2.0) * i / 20.0;
        const POINT want = dir == 1 ? eval(s, w, t) : eval(s, t, w);
        EXPECT_LT(dist(eval(&c, w), want), 1e-12 * size_of(s)) << dir << " " << t;
      }
      const bool start = t == 0.0, end = t == (dir == 1 ? 2.0 : 1.0);
      for (int32_t i = 0; (start || end) && i <= c.pol->n; ++i) {
        const CPOINT &q =
            dir == 1 ? s->net->Pw[i][start ? 0 : s->net->m] : s->net->Pw[start ? 0 : s->net->n][i];
        EXPECT_TRUE(same_cpoint(c.pol->Pw[i], q));
      }
    }
  CURVE c = empty_curve();
  EXPECT_FAILS(N_tooscx(s, 0.5, 3, &c, ws), 13, "N_TOOSCX");
  EXPECT_FAILS(N_tooscx(s, 2.5, 1, &c, ws), 6, "N_TOOSCX");
}
