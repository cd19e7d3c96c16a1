// Standard surfaces: every sampled point satisfies the surface's implicit
// equation; sweeps and ruled surfaces against their generators.
#include <cfloat>
#include <cmath>
#include <cstring>
#include <functional>

#include "test_support.hpp"

using orvo_test::Workspace;

namespace {

constexpr POINT kO{0, 0, 0};
constexpr VECTOR kX{1, 0, 0}, kY{0, 1, 0}, kZ{0, 0, 1};

SURFACE empty_surface() { return SURFACE{nullptr, -1, -1, nullptr, nullptr}; }
CURVE empty_curve() { return CURVE{nullptr, -1, nullptr}; }

// The largest |f| over a 15 x 15 grid of the surface's domain.
double worst(const SURFACE &s, const std::function<double(const POINT &)> &f) {
  const double *U = s.knu->U, *V = s.knv->U;
  double e = 0.0;
  for (int i = 0; i <= 14; ++i)
    for (int j = 0; j <= 14; ++j) {
      POINT P;
      const double u = U[0] + (U[s.knu->m] - U[0]) * i / 14.0;
      const double v = V[0] + (V[s.knv->m] - V[0]) * j / 14.0;
      EXPECT_EQ(N_surevn(&s, u, v, 1, 1, &P), 0);
      e = std::max(e, std::fabs(f(P)));
    }
  return e;
}

double sq(double x) { return x * x; }
double radial(const POINT &P) { return std::hypot(P.x, P.y); }

}  // namespace

// One implicit equation per surface, over both circle forms and partial and
// full turns; each residual is relative (dimensionless).
TEST(StandardSurfaces, PointsSatisfyTheImplicitEquations) {
  struct Case {
    const char *name;
    std::function<int16_t(int16_t, SURFACE *, STACKS *)> make;
    std::function<double(const POINT &)> f;
  } cases[] = {
      {"sphere",
       [](int16_t f, SURFACE *s, STACKS *w) {
         return N_cmssph(POINT{1, -2, 3}, 2.5, 0, 180, 360, f, s, w);
       },
       [](const POINT &P) { return (sq(P.x - 1) + sq(P.y + 2) + sq(P.z - 3)) / 6.25 - 1; }},
      {"zone",
       [](int16_t f, SURFACE *s, STACKS *w) { return N_cmssph(kO, 3, 20, 130, 250, f, s, w); },
       [](const POINT &P) { return (sq(P.x) + sq(P.y) + sq(P.z)) / 9 - 1; }},
      {"ellipsoid",
       [](int16_t f, SURFACE *s, STACKS *w) { return N_cmsell(3, 2, 0.5, 0, 180, 300, f, s, w); },
       [](const POINT &P) { return sq(P.x / 3) + sq(P.y / 2) + sq(P.z / 0.5) - 1; }},
      {"paraboloid",
       [](int16_t f, SURFACE *s, STACKS *w) { return N_cmspar(1.5, 0.7, 4, 360, f, s, w); },
       [](const POINT &P) { return (P.z - sq(P.x) / (2 * 2.25) - sq(P.y) / (2 * 0.49)) / 4; }},
      {"hyperboloid",
       [](int16_t f, SURFACE *s, STACKS *w) { return N_cmshyp(1, 2, 1.5, 3, 360, f, s, w); },
       [](const POINT &P) { return sq(P.x) + sq(P.y / 2) - sq(P.z / 1.5) - 1; }},
      {"torus",
       [](int16_t f, SURFACE *s, STACKS *w) {
         return N_cmstor(kO, kZ, POINT{4, 0, 0}, kX, kZ, 1, 0, 360, 360, f, s, w);
       },
       [](const POINT &P) { return sq(radial(P) - 4) + sq(P.z) - 1; }},
      {"cone",
       [](int16_t f, SURFACE *s, STACKS *w) {
         return N_cmsccp(kO, kX, kY, 2, 0.5, 10, 200, 3, f, 1, s, w);
       },
       [](const POINT &P) { return (radial(P) - (2 - 0.5 * P.z)) / 2; }},
      {"cylinder",
       [](int16_t f, SURFACE *s, STACKS *w) {
         return N_cmsccp(kO, kX, kY, 1, 1, 0, 360, 5, f, 2, s, w);
       },
       [](const POINT &P) { return radial(P) - 1; }},
  };
  for (const Case &c : cases)
    for (int16_t form : {2, 5}) {
      Workspace ws;
      SURFACE s = empty_surface();
      ASSERT_EQ(c.make(form, &s, ws), 0) << c.name << " " << form;
      EXPECT_LT(worst(s, c.f), 1e-12) << c.name << " form " << form;
    }
}

// A revolved segment parallel to the axis is a cylinder, one leaning on it
// a cone; a full turn has 9 (form 2) or 6 (form 5) points around, and the
// control point on the axis gives a collapsed column.
TEST(StandardSurfaces, Revolution) {
  Workspace ws;
  CPOINT pts[2][2] = {{{2, 0, 0, -DBL_MAX}, {2, 0, 5, -DBL_MAX}},
                      {{0, 0, 4, -DBL_MAX}, {3, 0, 0, -DBL_MAX}}};
  double knots[4] = {0, 0, 1, 1};
  for (int k = 0; k < 2; ++k)
    for (int16_t form : {2, 5}) {
      CPOLYGON pol{1, pts[k]};
      KNOTVECTOR knt{3, knots};
      CURVE line{&pol, 1, &knt};
      SURFACE s = empty_surface();
      ASSERT_EQ(N_cmsrev(&line, kO, kZ, 400, form, &s, ws), 0);
      EXPECT_EQ(s.net->n, form == 2 ? 8 : 5);
      const auto f =
          k == 0
              ? std::function<double(const POINT &)>([](const POINT &P) { return radial(P) - 2; })
              : [](const POINT &P) { return radial(P) / 3 - (1 - P.z / 4); };
      EXPECT_LT(worst(s, f), 1e-12) << k << " " << form;
      for (int32_t i = 0; k == 1 && i <= s.net->n; ++i) {
        const CPOINT &q = s.net->Pw[i][0];
        EXPECT_NEAR(q.z / q.w, 4.0, 1e-15);
        EXPECT_NEAR(std::hypot(q.x, q.y), 0.0, 1e-15);
      }
    }
}

// The ruled surface's lines at v = 0 and 1 are its two curves (after they
// were made compatible); a general cylinder of a segment is bilinear.
TEST(StandardSurfaces, RuledAndGeneralCylinder) {
  Workspace ws;
  CURVE arc = empty_curve(), line = empty_curve();
  ASSERT_EQ(N_concir(kO, kX, kY, 2, 0, 90, 2, &arc, ws), 0);
  CPOINT seg[2] = {{0, 0, 3, -DBL_MAX}, {1, 1, 3, -DBL_MAX}};
  double lk[4] = {0, 0, 1, 1};
  CPOLYGON sp{1, seg};
  KNOTVECTOR sk{3, lk};
  line = CURVE{&sp, 1, &sk};
  SURFACE r = empty_surface();
  ASSERT_EQ(N_cmsrls(&arc, &line, 1, &r, ws), 0);
  EXPECT_EQ(arc.knt->U[arc.knt->m], 1.0);  // the caller's curves are unchanged
  EXPECT_EQ(line.p, 1);
  for (int i = 0; i <= 10; ++i) {
    const double u = i / 10.0;
    POINT A, B, S0, S1;
    ASSERT_EQ(N_curevn(&arc, u, 1, &A), 0);
    ASSERT_EQ(N_curevn(&line, u, 1, &B), 0);
    ASSERT_EQ(N_surevn(&r, u, 0.0, 1, 1, &S0), 0);
    ASSERT_EQ(N_surevn(&r, u, 1.0, 1, 1, &S1), 0);
    EXPECT_LT(std::hypot(A.x - S0.x, A.y - S0.y) + std::fabs(S0.z), 1e-14);
    EXPECT_LT(std::hypot(B.x - S1.x, B.y - S1.y) + std::fabs(B.z - S1.z), 1e-14);
  }
  SURFACE g = empty_surface(), b = empty_surface();
  ASSERT_EQ(N_cmsgcl(&line, VECTOR{0, 0, 2}, 4, 2, &g, ws), 0);
  ASSERT_EQ(N_cmsbil(POINT{0, 0, 3}, POINT{0, 0, 7}, POINT{1, 1, 3}, POINT{1, 1, 7}, &b, ws), 0);
  for (int i = 0; i < 2; ++i)
    for (int j = 0; j < 2; ++j)
      EXPECT_EQ(std::memcmp(&g.net->Pw[i][j], &b.net->Pw[i][j], sizeof(CPOINT)), 0);
}

TEST(StandardSurfaces, Refusals) {
  Workspace ws;
  SURFACE s = empty_surface();
  CPOINT pts[2] = {{1, 0, 0, -DBL_MAX}, {2, 0, 1, -DBL_MAX}};
  double knots[4] = {0, 0, 1, 1};
  CPOLYGON pol{1, pts};
  KNOTVECTOR knt{3, knots};
  CURVE c{&pol, 1, &knt};
  struct Case {
    std::function<int16_t()> call;
    int32_t code;
    const char *tag;
  } cases[] = {
      {[&] { return N_cmssph(kO, 1, 90, 90, 360, 2, &s, ws); }, 13, "N_CMSSPH"},
      {[&] { return N_cmsell(1, 1, 0, 0, 180, 360, 2, &s, ws); }, 14, "N_CMSELL"},
      {[&] { return N_cmsrev(&c, kO, kZ, 0, 2, &s, ws); }, 13, "N_CMSREV"},
      {[&] { return N_cmsrev(&c, kO, kZ, 90, 4, &s, ws); }, 13, "N_CMSREV"},
      {[&] {
         return N_cmsrev(&c, kO, VECTOR{0, 0, 0}, 90, 2, &s, ws);
       },
       14, "N_CMSREV"},
      {[&] {
         return N_cmstor(kO, kZ, POINT{0, 0, 2}, kX, kZ, 1, 0, 360, 360, 2, &s, ws);
       },
       14, "N_CMSTOR"},
      {[&] { return N_cmsgcl(&c, kZ, 1, 3, &s, ws); }, 13, "N_CMSGCL"},
      {[&] { return N_cmspar(1, 1, 0, 360, 2, &s, ws); }, 14, "N_CMSPAR"},
  };
  for (const Case &k : cases) {
    EXPECT_EQ(k.call(), 1) << k.tag;
    EXPECT_TRUE(orvo_test::HasError(k.code, k.tag));
  }
  EXPECT_TRUE(U_issurn(&s));
}
