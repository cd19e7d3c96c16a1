// Compatible sets of curves and surfaces, coincidence tests, isoparametric
// curves.
#include "refine/refine_test_util.hpp"

using namespace refinetest;
using orvo_test::Workspace;

namespace {

// Points of c at a grid over its domain, in the order of the unit interval.
std::vector<POINT> samples(const CURVE *c) {
  const double a = c->knt->U[c->p], b = c->knt->U[c->knt->m - c->p];
  std::vector<POINT> P;
  for (int i = 0; i <= 40; ++i) P.push_back(eval(c, a + (b - a) * i / 40.0));
  return P;
}

std::vector<POINT> samples(const SURFACE *s) {
  std::vector<POINT> P;
  const double *U = s->knu->U, *V = s->knv->U;
  const double u0 = U[s->p], u1 = U[s->knu->m - s->p], v0 = V[s->q], v1 = V[s->knv->m - s->q];
  for (int i = 0; i <= 12; ++i)
    for (int j = 0; j <= 12; ++j)
      P.push_back(eval(s, u0 + (u1 - u0) * i / 12.0, v0 + (v1 - v0) * j / 12.0));
  return P;
}

template <class Rec>
void expect_same_shape(const std::vector<POINT> &before, const Rec *r, double size) {
  const std::vector<POINT> after = samples(r);
  for (size_t i = 0; i < before.size(); ++i)
    EXPECT_LT(dist(before[i], after[i]), 1e-12 * size) << i;
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
  std::vector<POINT> before[3];
  for (int i = 0; i < 3; ++i) before[i] = samples(c[i]);
  ASSERT_EQ(N_toocco(c, 2, ws), 0);
  EXPECT_EQ(U_arecco(c, 2), 1);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(c[i]->p, 3);
    EXPECT_EQ(knot_values(c[i]->knt), knot_values(c[0]->knt));
    expect_same_shape(before[i], c[i], size_of(c[i]));
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
  std::vector<POINT> before[2] = {samples(s[0]), samples(s[1])};
  ASSERT_EQ(N_toosco(s, 1, ws), 0);
  for (int i = 0; i < 2; ++i) {
    EXPECT_TRUE(s[i]->p == 3 && s[i]->q == 3);
    EXPECT_EQ(knot_values(s[i]->knu), knot_values(s[0]->knu));
    EXPECT_EQ(knot_values(s[i]->knv), knot_values(s[0]->knv));
    expect_same_shape(before[i], s[i], size_of(s[i]));
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
