// IGES surface entities from their parameter data, checked against each
// entity's own definition at sampled parameters.
#include <cfloat>
#include <cmath>

#include "test_support.hpp"

using orvo_test::HasError;
using orvo_test::Workspace;

namespace {

SURFACE empty_surface() { return SURFACE{nullptr, -1, -1, nullptr, nullptr}; }

POINT at(const SURFACE &s, double u, double v) {
  POINT P{NAN, NAN, NAN};
  EXPECT_EQ(N_surevn(&s, u, v, u < s.knu->U[s.knu->m] ? 1 : 2, v < s.knv->U[s.knv->m] ? 1 : 2, &P),
            0);
  return P;
}

double dist(const POINT &a, const POINT &b) { return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z); }

}  // namespace

// 108: the patch lies in the plane 2z = 4 and covers the projected box.
TEST(IgesSurfaces, Plane) {
  Workspace ws;
  SURFACE s = empty_surface();
  ASSERT_EQ(N_igs108(0, 0, 2, 4, BOX{0, 1, 0, 2, -1, 5}, &s, ws), 0);
  for (double u : {0.0, 0.3, 1.0})
    for (double v : {0.0, 0.7, 1.0}) EXPECT_NEAR(at(s, u, v).z, 2.0, 1e-15);
  // The corners of the box's shadow, (0|1, 0|2), map inside the square.
  const POINT c = at(s, 0.5, 0.5), e1 = at(s, 1.0, 0.5), e2 = at(s, 0.5, 1.0);
  EXPECT_LT(dist(c, POINT{0.5, 1.0, 2.0}), 1e-15);
  for (double x : {0.0, 1.0})
    for (double y : {0.0, 2.0}) {
      const double a =
          ((x - c.x) * (e1.x - c.x) + (y - c.y) * (e1.y - c.y)) / std::pow(dist(e1, c), 2);
      const double b =
          ((x - c.x) * (e2.x - c.x) + (y - c.y) * (e2.y - c.y)) / std::pow(dist(e2, c), 2);
      EXPECT_TRUE(std::fabs(a) <= 1.0 && std::fabs(b) <= 1.0) << a << " " << b;
    }
  EXPECT_EQ(N_igs108(0, 0, 0, 1, BOX{0, 1, 0, 1, 0, 1}, &s, ws), 1);
  EXPECT_TRUE(HasError(11, "N_IGS108"));
}

// 114: two patches in u, one in v, of x = TU[i] + s, y = t and z a cubic in x
// and quadratic in t re-expanded about each patch's start; the surface
// reproduces z(x, t) at sampled parameters.
TEST(IgesSurfaces, ParametricSplineSurface) {
  const double c[3][4] = {
      {1, 0.5, 0, 0}, {0, 0, -0.25, 0}, {0, 0, 0, 0.125}};  // [t power][x power]
  const double binom[4][4] = {{1}, {1, 1}, {1, 2, 1}, {1, 3, 3, 1}};
  const double TU[3] = {0, 2, 3}, TV[2] = {1, 2.5};
  double patch[2][48] = {};
  for (int i = 0; i < 2; ++i) {
    patch[i][0] = TU[i];
    patch[i][1] = 1.0;
    patch[i][16 + 4] = 1.0;
    for (int k = 0; k < 3; ++k)
      for (int l = 0; l < 4; ++l)
        for (int e = l; e < 4; ++e)
          patch[i][32 + 4 * k + l] += c[k][e] * binom[e][l] * std::pow(TU[i], e - l);
  }
  double *row0[1] = {patch[0]}, *row1[1] = {patch[1]};
  double *const *coef[2] = {row0, row1};
  Workspace ws;
  SURFACE s = empty_surface();
  ASSERT_EQ(N_igs114(2, 1, TU, TV, coef, &s, ws), 0);
  EXPECT_TRUE(s.p == 3 && s.q == 2 && s.net->n == 6 && s.net->m == 2);
  for (double x : {0.0, 0.7, 2.0, 2.4, 3.0})
    for (double t : {0.0, 0.6, 1.5}) {
      double z = 0.0;
      for (int k = 0; k < 3; ++k)
        for (int e = 0; e < 4; ++e) z += c[k][e] * std::pow(x, e) * std::pow(t, k);
      EXPECT_LT(dist(at(s, x, TV[0] + t), POINT{x, t, z}), 1e-13) << x << " " << t;
    }
  const double bad[3] = {0, 2, 2};
  EXPECT_EQ(N_igs114(2, 1, bad, TV, coef, &s, ws), 1);
  EXPECT_TRUE(HasError(2, "N_IGS114"));
}

// 120 and 122: a revolution started at SA and swept over TA - SA; a
// tabulated cylinder of a segment.
TEST(IgesSurfaces, RevolutionAndTabulatedCylinder) {
  CPOINT pts[2] = {{1, 0, 0, -DBL_MAX}, {2, 0, 3, -DBL_MAX}};
  double knots[4] = {0, 0, 1, 1};
  CPOLYGON pol{1, pts};
  KNOTVECTOR knt{3, knots};
  CURVE line{&pol, 1, &knt};
  Workspace ws;
  SURFACE r = empty_surface(), t = empty_surface();
  ASSERT_EQ(N_igs120(POINT{0, 0, 0}, POINT{0, 0, 2}, &line, 30, 430, &r, ws), 0);
  EXPECT_EQ(r.net->n, 8);  // a full turn of four quadratic arcs
  const double a = 30 * M_PI / 180;
  for (double v : {0.0, 0.5, 1.0}) {
    const double rad = 1 + v, z = 3 * v;
    EXPECT_LT(dist(at(r, 0.0, v), POINT{rad * std::cos(a), rad * std::sin(a), z}), 1e-14);
    EXPECT_LT(dist(at(r, 1.0, v), at(r, 0.0, v)), 1e-14);
    EXPECT_NEAR(std::hypot(at(r, 0.37, v).x, at(r, 0.37, v).y), rad, 1e-14);
  }
  EXPECT_EQ(pts[0].x, 1.0);  // the caller's generatrix is not turned
  EXPECT_EQ(N_igs120(POINT{0, 0, 0}, POINT{0, 0, 2}, &line, 30, 30, &r, ws), 1);
  EXPECT_TRUE(HasError(14, "N_IGS120"));
  // 122: the directrix (along v) translated by u (end - start).
  ASSERT_EQ(N_igs122(&line, POINT{1, 1, 0}, &t, ws), 0);
  for (double u : {0.0, 0.4, 1.0})
    for (double v : {0.0, 0.3, 1.0})
      EXPECT_LT(dist(at(t, u, v), POINT{1 + v, u, 3 * v}), 1e-15) << u << " " << v;
}

// 128: a biquadratic restricted to a sub-rectangle evaluates to the full
// surface there; its refusals.
TEST(IgesSurfaces, RationalBSplineSurface) {
  const double S[7] = {0, 0, 0, 0.5, 1, 1, 1}, T[6] = {0, 0, 0, 1, 1, 1};
  double w[4][3];
  POINT p[4][3];
  double *W[4];
  POINT *P[4];
  for (int i = 0; i < 4; ++i) {
    W[i] = w[i];
    P[i] = p[i];
    for (int j = 0; j < 3; ++j) {
      w[i][j] = 0.5 + 0.25 * ((i + j) % 3);
      p[i][j] = POINT{double(i), double(j), std::sin(i + 2.0 * j)};
    }
  }
  const double full[2] = {0, 1}, U[2] = {0.2, 0.9}, V[2] = {0.1, 0.6};
  Workspace ws;
  SURFACE whole = empty_surface(), cut = empty_surface();
  ASSERT_EQ(N_igs128(3, 2, 2, 2, S, T, W, P, full, full, &whole, ws), 0);
  ASSERT_EQ(N_igs128(3, 2, 2, 2, S, T, W, P, U, V, &cut, ws), 0);
  EXPECT_TRUE(cut.knu->U[0] == 0.2 && cut.knv->U[cut.knv->m] == 0.6);
  for (double u : {0.2, 0.5, 0.77, 0.9})
    for (double v : {0.1, 0.35, 0.6}) EXPECT_LT(dist(at(whole, u, v), at(cut, u, v)), 1e-14);
  w[1][1] = 20;
  EXPECT_EQ(N_igs128(3, 2, 2, 2, S, T, W, P, U, V, &cut, ws), 1);
  EXPECT_TRUE(HasError(5, "N_IGS128"));
  w[1][1] = 1;
  EXPECT_EQ(N_igs128(3, 2, 0, 2, S, T, W, P, U, V, &cut, ws), 1);
  EXPECT_TRUE(HasError(3, "N_IGS128"));
  const double outside[2] = {0.5, 1.5};
  EXPECT_EQ(N_igs128(3, 2, 2, 2, S, T, W, P, outside, V, &cut, ws), 1);
  EXPECT_TRUE(HasError(4, "N_IGSVKB"));
}
