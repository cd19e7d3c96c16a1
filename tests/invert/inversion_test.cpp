// Point and tangent inversion, arc length and power-form conversion.
#include <cmath>

#include "refine/refine_test_util.hpp"

using namespace refinetest;

namespace {

// The unit circle about the origin in z = 0: nine points, four quarters
// (corners at distance sqrt(2) with weight sqrt(1/2)).
CURVE *circle(STACKS *ws) {
  std::mt19937 rng;
  CURVE *c = make_curve(ws, 2, knots(2, 0, 1, {{0.25, 2}, {0.5, 2}, {0.75, 2}}), false, true, rng);
  for (int32_t i = 0; i <= 8; ++i)
    c->pol->Pw[i] =
        CPOINT{std::cos(i * M_PI / 4), std::sin(i * M_PI / 4), 0.0, i % 2 ? std::sqrt(0.5) : 1.0};
  return c;
}
double angle(const CURVE *c, double u) { return std::atan2(eval(c, u).y, eval(c, u).x); }

// A non-rational curve of degree U.size() - P.size() - 1 through its polygon.
CURVE *poly(STACKS *ws, const Knots &U, const std::vector<POINT> &P) {
  std::mt19937 rng;
  CURVE *c = make_curve(ws, static_cast<int>(U.size() - P.size() - 1), U, true, false, rng);
  for (size_t i = 0; i < P.size(); ++i) c->pol->Pw[i] = CPOINT{P[i].x, P[i].y, P[i].z, -DBL_MAX};
  return c;
}

VECTOR minus(POINT a, POINT b) { return VECTOR{a.x - b.x, a.y - b.y, a.z - b.z}; }
double dot(VECTOR a, VECTOR b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double len(VECTOR a) { return std::sqrt(dot(a, a)); }
template <class R = VECTOR>
R comb(double a, VECTOR A, double b, VECTOR B) {
  return R{a * A.x + b * B.x, a * A.y + b * B.y, a * A.z + b * B.z};
}

}  // namespace

// Points on a curve come back with their parameter; off it, the residual is
// perpendicular to the tangent and no sampled curve point is nearer.
TEST(InversionCurve, FindsNearestPoint) {
  orvo_test::Workspace ws;
  std::mt19937 rng(7);
  CURVE *wavy = make_curve(ws, 3, knots(3, 0, 3, {{1.0, 1}, {2.0, 2}}), true, true, rng);
  CURVE *ring = circle(ws);
  // P = C(t0) + off * unit normal: nearest at C(t0). Starts past the end, across the seam.
  struct Case {
    CURVE *c;
    double t0, off, start;
  } cases[] = {{wavy, 1.3, 0.0, 1.2}, {wavy, 1.0, 0.01, 1.05}, {wavy, 2.0, 0.01, 1.95},
               {wavy, 3.0, 0.0, 9.0}, {ring, 0.97, 0.5, 0.02}, {ring, 0.03, -0.5, 0.9}};
  for (const Case &k : cases) {
    POINT C = eval(k.c, k.t0), Q, D[2];
    ASSERT_EQ(N_curder(k.c, k.t0, 1, 1, D), 0);
    const double f = k.off / std::hypot(D[1].x, D[1].y);
    const POINT P{C.x - f * D[1].y, C.y + f * D[1].x, C.z};
    double u = -1;
    ASSERT_EQ(N_gprpin(k.c, P, k.start, 1e-12, 1e-12, &u, &Q), 0) << k.t0 << " " << k.off;
    EXPECT_LT(std::fabs(u - k.t0) + dist(Q, C), 1e-9);
    ASSERT_EQ(N_curder(k.c, u, 1, 1, D), 0);
    const VECTOR r = minus(Q, P), t = minus(D[1], POINT{});
    EXPECT_LT(std::fabs(dot(r, t)), 1e-9 * len(t) * (len(r) + 1));
    for (int i = 0; i <= 600; ++i)
      EXPECT_GE(dist(eval(k.c, k.c->knt->U[k.c->knt->m] * i / 600.0), P), len(r) - 1e-12);
  }
}

// A graph surface (on and off it) and a cylinder closed along u.
TEST(InversionSurface, FindsNearestPoint) {
  orvo_test::Workspace ws;
  std::mt19937 rng(3);
  SURFACE *g =
      make_surface(ws, 3, 2, knots(3, 0, 1, {{0.5, 1}}), knots(2, 0, 1, {{0.4, 1}}), false, rng);
  for (int i = 0; i < 20; ++i)  // a 5 x 4 net over a grid with heights
    g->net->Pw[i / 4][i % 4] =
        CPOINT{i / 4 * 1.0, i % 4 * 1.0, 0.3 * std::sin(i / 4 + i % 4 * 2), -DBL_MAX};
  CURVE *ring = circle(ws);  // swept along z: a cylinder closed in u
  SURFACE *cyl = make_surface(ws, 2, 1, knot_values(ring->knt), knots(1, 0, 1, {}), true, rng);
  for (int i = 0; i <= 17; ++i) {
    const CPOINT c = ring->pol->Pw[i / 2];
    cyl->net->Pw[i / 2][i % 2] = CPOINT{c.x, c.y, i % 2 * c.w, c.w};
  }
  struct Case {
    SURFACE *s;
    double u0, v0, off, us, vs;
  } cases[] = {{g, .5, .4, 0, .4, .5}, {g, .6, .2, .05, .55, .25}, {cyl, .97, .3, 1, .02, .5}};
  for (const Case &k : cases) {
    POINT S = eval(k.s, k.u0, k.v0), P, Q, **D = S_getp2d(1, 1, ws);
    ASSERT_EQ(N_surder(k.s, k.u0, k.v0, 1, 1, 1, 1, 1, D), 0);
    VECTOR su = minus(D[1][0], POINT{}), sv = minus(D[0][1], POINT{}), d;
    const VECTOR n{su.y * sv.z - su.z * sv.y, su.z * sv.x - su.x * sv.z, su.x * sv.y - su.y * sv.x};
    P = comb<POINT>(1, minus(S, POINT{}), k.off / len(n), n);
    double u, v;
    ASSERT_EQ(N_gprsin(k.s, P, k.us, k.vs, 1e-12, 1e-12, &u, &v, &Q), 0);
    EXPECT_LT(std::fabs(u - k.u0) + std::fabs(v - k.v0) + dist(Q, S), 1e-8);
    for (int i = 0; i < 41 * 41; ++i)
      EXPECT_GE(dist(eval(k.s, i / 41 / 40.0, i % 41 / 40.0), P), dist(Q, P) - 1e-12);
    ASSERT_EQ(N_gprsti(k.s, k.u0, k.v0, comb(2, su, -3, sv), &d), 0);
    EXPECT_LT(std::fabs(d.x - 2) + std::fabs(d.y + 3), 1e-9);
  }
}

// A quarter and a part of a circle against the angle, a straight cubic with an
// uneven parametrisation against the chord; both tolerance modes.
TEST(InversionArcLength, MatchesExactLength) {
  orvo_test::Workspace ws;
  CURVE *ring = circle(ws);
  CURVE *line = poly(ws, knots(3, 0, 2, {{0.5, 1}}),
                     {{0, 0, 0}, {.1, .2, .2}, {1, 2, 2}, {1.2, 2.4, 2.4}, {3, 6, 6}});
  struct Case {
    CURVE *c;
    double u0, u1, tol, mode, exact;
  } cases[] = {{ring, 0, 0.25, 1e-9, 2, M_PI / 2},
               {ring, 0.1, 0.45, 1e-7, 1, angle(ring, 0.45) - angle(ring, 0.1)},
               {line, 0.3, 1.7, 1e-12, 1, dist(eval(line, 0.3), eval(line, 1.7))},
               {line, 1.7, 0.3, 1e-12, 1, dist(eval(line, 0.3), eval(line, 1.7))},
               {ring, 0.6, 0.6, 1e-7, 1, 0.0}};
  double L;
  for (const Case &k : cases) {
    ASSERT_EQ(N_gprcle(k.c, k.u0, k.u1, k.tol, static_cast<int16_t>(k.mode), &L), 0);
    EXPECT_NEAR(L, k.exact, k.mode == 1 ? k.tol : k.tol * 1.5) << k.u0 << " " << k.u1;
  }
}

// Pieces evaluate like the curve (surface) on their spans; joined back they
// give the same shape.
TEST(InversionPowerForm, RoundTrips) {
  orvo_test::Workspace ws;
  std::mt19937 rng(11);
  POINT P;
  for (const Kind &kind : kKinds) {
    CURVE *c = make_curve(ws, 3, knots(3, 0.5, 3, layout(3, 1)), kind.three_d, kind.rational, rng);
    CURVE **pc, back = empty_curve();
    int32_t last;
    ASSERT_EQ(N_gprcnp(c, &pc, &last, ws), 0);
    ASSERT_EQ(N_gprcpn(pc, last, &back, ws), 0);
    ASSERT_TRUE(last == 4 && back.knt->m == c->knt->m);  // 5 spans, no knot removable
    for (int32_t i = 0; i <= last; ++i)
      for (int k = 0; k < 4; ++k) {
        const double u = pc[i]->knt->U[0] + (pc[i]->knt->U[1] - pc[i]->knt->U[0]) * k / 4;
        ASSERT_EQ(N_cplevn(pc[i], u, &P), 0);
        EXPECT_LT(dist(P, eval(c, u)) + dist(eval(&back, u), eval(c, u)), 1e-9 * size_of(c));
      }
  }
  SURFACE *s = make_surface(ws, 2, 3, knots(2, 0, 1, {{0.3, 1}, {0.6, 2}}),
                            knots(3, 0, 2, {{1, 1}}), true, rng);
  SURFACE ***ps, back = empty_surface();
  int32_t lu, lv;
  ASSERT_EQ(N_gprsnp(s, &ps, &lu, &lv, ws), 0);
  ASSERT_EQ(N_gprspn(ps, lu, lv, &back, ws), 0);
  ASSERT_TRUE(lu == 2 && lv == 1 && back.knu->m == s->knu->m && back.knv->m == s->knv->m);
  for (double u : {0.0, 0.1, 0.3, 0.45, 0.7, 1.0})
    for (double v : {0.0, 0.5, 1.0, 1.6, 2.0}) {
      ASSERT_EQ(N_splevn(ps[u < 0.3 ? 0 : u < 0.6 ? 1 : 2][v < 1 ? 0 : 1], u, v, &P), 0);
      EXPECT_LT(dist(P, eval(s, u, v)) + dist(eval(&back, u, v), eval(s, u, v)), 1e-9 * size_of(s));
    }
}

// Each way of failing, once.
TEST(InversionFailures, Refused) {
  orvo_test::Workspace ws;
  // Newton on this parabola about the origin cycles between u = 0 and 1.
  CURVE *cyc = poly(ws, knots(2, -1, 2, {}),
                    {{-5 / M_SQRT2, -1, 0}, {-8 / M_SQRT2, 2, 0}, {-2 / M_SQRT2, 5, 0}});
  CURVE *dot = poly(ws, knots(2, 0, 1, {}), {{1, 1, 0}, {1, 1, 0}, {1, 1, 0}});
  std::mt19937 rng(1);
  SURFACE *flat = make_surface(ws, 1, 1, knots(1, 0, 1, {}), knots(1, 0, 1, {}), false, rng);
  for (int i = 0; i < 4; ++i) flat->net->Pw[i / 2][i % 2] = CPOINT{1, 2, 3, -DBL_MAX};
  CURVE **pc, out = empty_curve();
  int32_t last;
  ASSERT_EQ(N_gprcnp(cyc, &pc, &last, ws), 0);
  CURVE *two[] = {pc[0], pc[0]};
  double u, v, L;
  POINT Q, O{0, 0, 0};
  VECTOR d;
  EXPECT_FAILS(N_gprpin(cyc, O, 0.0, 1e-9, 1e-9, &u, &Q), 12, "N_GPRPIN");
  EXPECT_FAILS(N_gprpin(dot, O, 0.5, 1e-9, 1e-9, &u, &Q), 12, "N_GPRPIN");
  EXPECT_FAILS(N_gprpin(dot, O, 0.5, -1.0, 1e-9, &u, &Q), 14, "N_GPRPIN");
  EXPECT_FAILS(N_gprsin(flat, O, 0.5, 0.5, 1e-9, 1e-9, &u, &v, &Q), 12, "N_GPRSIN");
  EXPECT_FAILS(N_gprsti(flat, 0.5, 0.5, VECTOR{1, 0, 0}, &d), 11, "N_GPRSTI");
  EXPECT_FAILS(N_gprcle(cyc, 0, 1, 1e-6, 3, &L), 13, "N_GPRCLE");
  EXPECT_FAILS(N_gprcle(cyc, 0, 2.5, 1e-6, 1, &L), 6, "N_GPRCLE");
  EXPECT_FAILS(N_gprcpn(two, 1, &out, ws), 14, "N_GPRCPN");
  pc[0]->p = 0;
  EXPECT_FAILS(N_gprcpn(pc, 0, &out, ws), 3, "N_GPRCPN");
  SURFACE ***ps, sout = empty_surface();
  ASSERT_EQ(N_gprsnp(flat, &ps, &last, &last, ws), 0);
  ps[0][0]->knu->U[1] = 0;  // an empty span
  EXPECT_FAILS(N_gprspn(ps, 0, 0, &sout, ws), 14, "N_GPRSPN");
  E_clrerr();
}
