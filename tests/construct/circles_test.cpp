// Circles, ellipses and conic arcs: sampled points on the exact curve, end
// points at the asked angles, known weights, and the analysis of conic arcs
// of known shape placed off the origin and rotated.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <tuple>
#include <vector>

#include "test_support.hpp"

using orvo_test::expect_error;
using orvo_test::Workspace;

namespace {
const double kPi = 3.141592653589793, kC45 = std::sqrt(0.5);
const POINT kO{1.0, -2.0, 3.0};
const VECTOR kX{1.0, 2.0, 2.0}, kY{4.0, 2.0, -4.0};  // perpendicular, lengths 3 and 6
const auto dot = [](const auto &a, const auto &b) { return a.x * b.x + a.y * b.y + a.z * b.z; };
const auto dist = [](const auto &a, const auto &b) {
  return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z);
};
VECTOR rel(const POINT &p) { return VECTOR{p.x - kO.x, p.y - kO.y, p.z - kO.z}; }

// Every sampled point satisfies (x / ra)^2 + (y / rb)^2 = 1 in the frame of
// kX and kY about kO and lies in its plane; the ends and the middle are at the
// asked angles (a single quartic segment: the quarter parameter at a quarter).
void expect_on_ellipse(const CURVE &c, double ra, double rb, double a0, double a1, int form) {
  const double tol = 1e-14 * (std::sqrt(14.0) + ra), q = form == 4 && c.pol->n == 4 ? 0.25 : 0.0;
  const VECTOR N{-2.0 / 3, 2.0 / 3, -1.0 / 3};  // kX x kY / 18
  auto at = [&](double a) {
    const double x = ra * std::cos(a * kPi / 180) / 3, y = rb * std::sin(a * kPi / 180) / 6;
    return POINT{kO.x + x * kX.x + y * kY.x, kO.y + x * kX.y + y * kY.y,
                 kO.z + x * kX.z + y * kY.z};
  };
  POINT P;
  for (int i = 0; i <= 400; ++i) {
    ASSERT_EQ(N_curevn(&c, i / 400.0, 1, &P), 0);
    EXPECT_NEAR(std::hypot(dot(rel(P), kX) / 3, dot(rel(P), kY) / 6 * ra / rb), ra, tol) << i;
    EXPECT_NEAR(dot(rel(P), N), 0.0, tol);
  }
  const std::pair<double, double> ends[] = {
      {0, a0}, {1, a1}, {0.5, (a0 + a1) / 2}, {q, a0 + q * (a1 - a0)}};
  for (auto [u, a] : ends) {
    ASSERT_EQ(N_curevn(&c, u, 1, &P), 0);
    EXPECT_LT(dist(P, at(a)), tol) << u;
  }
}
}  // namespace

TEST(ConstructCircles, ArcsLieOnTheCircleAndEndAtTheAngles) {
  // form (3: semicircle), asked a0 and a1, a1 after normalisation, highest control point index
  const double cases[][5] = {{2, 0, 90, 90, 2},      {2, 0, 90.000001, 90.000001, 4},
                             {2, 30, 30, 390, 8},    {2, 0, 720, 360, 8},
                             {2, -45, 200, 200, 6},  {2, 350, 10, 370, 2},
                             {4, 0, 90, 90, 4},      {4, 10, 250, 250, 8},
                             {4, 0, 360, 360, 12},   {4, 100, -100, 260, 8},
                             {5, 0, 360, 360, 5},    {5, 20, 110, 110, 5},
                             {5, 300, 60, 420, 5},   {5, 0, 359, 359, 5},
                             {5, 45, 45.5, 45.5, 5}, {3, 200, 200, 380, 3}};
  for (const auto &k : cases) {
    Workspace ws;
    CURVE c, e;
    U_inicur(&c);
    U_inicur(&e);
    const auto form = static_cast<int16_t>(k[0]);
    ASSERT_EQ(form == 3 ? N_concsc(kO, kX, kY, 2.5, k[1], &c, ws)
                        : N_concir(kO, kX, kY, 2.5, k[1], k[2], form, &c, ws),
              0);
    EXPECT_EQ(c.pol->n, k[4]);
    expect_on_ellipse(c, 2.5, 2.5, k[1], k[3], form);
    if (form == 3) continue;
    const double a1 = std::fabs(k[2] - k[1]) > 360 ? k[3] : k[2];  // N_conell refuses more
    ASSERT_EQ(N_conell(kO, kX, kY, 2.5, 0.75, k[1], a1, form, &e, ws), 0);
    expect_on_ellipse(e, 2.5, 0.75, k[1], k[3], form);
  }
}

TEST(ConstructCircles, Weights) {
  const double q = 0.947322, h = 0.936629;
  const std::vector<std::vector<double>> cases = {// form, a0, a1, weights
                                                  {2, 0, 180, 1, kC45, 1, kC45, 1},
                                                  {2, 0, 90, 1, kC45, 1},
                                                  {4, 0, 90, 1, q, h, q, 1},
                                                  {5, 30, 30, 5, 1, 1, 1, 1, 5}};
  for (const auto &k : cases) {
    double w[13];
    int32_t n = -1;
    ASSERT_EQ(N_conciw(k[1], k[2], static_cast<int16_t>(k[0]), w, &n), 0);
    ASSERT_EQ(n + 4, static_cast<int32_t>(k.size()));
    for (int32_t i = 0; i <= n; ++i) EXPECT_NEAR(w[i], k[i + 3], 1e-6);
  }
}

TEST(ConstructCircles, ConicArcsAndTheirAnalysis) {
  // Canonical arcs, moved by a rotation of 30 degrees and the translation
  // (3, -1): ellipse x^2/4 + y^2 = 1 over the parameters -0.5..0.5, hyperbola
  // x^2/4 - y^2 = 1 over -1..1, parabola x^2 = 2y from x = -1 to 2, and unit
  // circle arcs from angle 0 to t, in more segments as they widen. Each: P0,
  // P2, P, T0, T2 (x, y), type, centre or vertex, focus, V1 (x, y), a, b, n.
  const double ch = std::cosh(1.0), sh = std::sinh(1.0), co = std::cos(0.5), si = std::sin(0.5);
  std::vector<std::vector<double>> cases = {
      {2 * co, -si, 2 * co, si, 2, 0, 2 * si, co, -2 * si, co, 1, 0, 0, 0, 0, 1, 0, 2, 1, 2},
      {2 * ch, -sh, 2 * ch, sh, 2, 0, -2 * sh, ch, 2 * sh, ch, 2, 0, 0, 0, 0, 1, 0, 2, 1, 2},
      {-1, 0.5, 2, 2, 0, 0, 1, -1, 1, 2, 3, 0, 0, 0, 0.5, 0, 1, 0, 0, 2}};
  for (auto [t, n] :
       {std::pair{60.0, 2}, {90.0, 2}, {150.0, 4}, {180.0, 4}, {270.0, 4}, {300.0, 8}}) {
    const double c = std::cos(t * kPi / 180), s = std::sin(t * kPi / 180);
    const double cm = std::cos(t * kPi / 360), sm = std::sin(t * kPi / 360);
    cases.push_back({1, 0, c, s, cm, sm, 0, 1, -s, c, 1, 0, 0, 0, 0, 0, 1, 1, 1, double(n)});
  }
  const double c30 = std::cos(kPi / 6), s30 = 0.5;
  auto rot = [&](double x, double y) { return VECTOR{c30 * x - s30 * y, s30 * x + c30 * y, 0}; };
  auto move = [&](double x, double y) { return POINT{rot(x, y).x + 3, rot(x, y).y - 1, 0}; };
  for (const auto &k : cases) {
    Workspace ws;
    CURVE c;
    U_inicur(&c);
    ASSERT_EQ(N_conarc(move(k[0], k[1]), rot(k[6], k[7]), move(k[2], k[3]), rot(k[8], k[9]),
                       move(k[4], k[5]), &c, ws),
              0);
    ASSERT_EQ(c.pol->n, k[19]);
    int16_t type = 0;
    double coef[6], a = 0, b = 0;
    POINT C, P;
    VECTOR V1, V2;
    ASSERT_EQ(N_contyp(&c, &type), 0);
    EXPECT_EQ(type, k[10]);
    ASSERT_EQ(N_conimp(&c, coef), 0);
    for (int i = 0; i <= 100; ++i) {  // every point of the arc satisfies the equation
      ASSERT_EQ(N_curevn(&c, i / 100.0, 1, &P), 0);
      const double m[6] = {P.x * P.x, P.y * P.y, P.x * P.y, P.x, P.y, 1.0};
      double sum = 0, size = 0;
      for (int j = 0; j < 6; ++j) sum += coef[j] * m[j], size += std::fabs(coef[j] * m[j]);
      EXPECT_LT(std::fabs(sum), 1e-13 * size) << type << " " << i;
    }
    ASSERT_EQ(N_congeo(&c, &C, &V1, &V2, &a, &b), 0);
    EXPECT_LT(dist(C, move(k[11], k[12])), 1e-12);
    EXPECT_NEAR(std::fabs(dot(V1, rot(k[15], k[16]))), 1.0, 1e-12);
    if (type == 3) {
      EXPECT_LT(dist(V2, move(k[13], k[14])), 1e-12);  // the focus
      continue;
    }
    EXPECT_TRUE(std::fabs(a - k[17]) < 1e-12 && std::fabs(b - k[18]) < 1e-12) << a << " " << b;
    EXPECT_TRUE(std::fabs(dot(V1, V2)) < 1e-14 && std::fabs(dot(V2, V2) - 1) < 1e-14 && V2.z == 0);
  }
}

TEST(ConstructCircles, Failures) {
  CPOINT P[3] = {{0, 0, 0, 1}, {1, 0, 1, 0.5}, {2, 0, 0, 1}};  // middle point off the plane
  double U[6] = {0, 0, 0, 1, 1, 1};
  CPOLYGON pol{2, P};
  KNOTVECTOR knt{5, U};
  CURVE q{&pol, 2, &knt};
  Workspace ws;
  CURVE c, small;
  auto out = [&c]() { return U_inicur(&c), &c; };  // a fresh empty record
  U_inicur(&small);
  ASSERT_EQ(N_conci2(kO, kX, kY, 1, 0, 90, &small, ws), 0);
  POINT C;
  VECTOR V1, V2;
  double coef[6], a, b, w[13], k;
  const std::vector<std::tuple<std::function<int16_t()>, int, const char *>> cases = {
      {[&] { return N_concir(kO, kX, kY, 1, 0, 90, 3, out(), ws); }, 13, "N_CONCIR"},
      {[&] { return N_conci2(kO, VECTOR{}, kY, 1, 0, 90, out(), ws); }, 17, "G_VECNIP"},
      {[&] { return N_conci2(kO, kX, kX, 1, 0, 90, out(), ws); }, 14, "N_CONCI2"},
      {[&] { return N_conci2(kO, kX, kY, NAN, 0, 90, out(), ws); }, 6, "N_CONCI2"},
      {[&] { return N_conci2(kO, kX, kY, 1, 0, 360, &small, ws); }, 9, "N_CONCI2"},
      {[&] { return N_conci4(kO, kX, kY, 1, 1e20, 1e20, out(), ws); }, 11, "N_CONCI4"},
      {[&] { return N_conell(kO, kX, kY, 1, 1, 0, 361, 2, out(), ws); }, 14, "N_CONELL"},
      {[&] { return N_conell(kO, kX, kY, 0, 1, 0, 90, 2, out(), ws); }, 11, "N_CONELL"},
      {[&] {  // a point beyond the corner: middle weight -3
         return N_conarc(POINT{0, 0, 0}, VECTOR{1, 1, 0}, POINT{2, 0, 0}, VECTOR{1, -1, 0},
                         POINT{1, 1.5, 0}, out(), ws);
       },
       5, "N_CONARC"},
      {[&] { return N_conciw(0, 90, 2, w, nullptr); }, 14, "N_CONCIW"},
      {[&] { return N_conimp(&q, coef); }, 14, "N_CONIMP"},
      {[&] { return P[1].z = 0, N_congeo(&q, &C, &V1, &V2, &a, &b); }, 11,
       "N_CONGEO"},  // collinear
      {[&] { return N_contyp(&q, nullptr); }, 14, "N_CONTYP"},
      {[&] { return P[1].w = 1e-3, N_congeo(&q, &C, &V1, &V2, &a, &b); }, 5, "N_CONSHA"},
      {[&] { return pol.n = 1, N_consha(&q, &k); }, 1, "N_CONSHA"}};
  for (const auto &[call, code, tag] : cases) {
    EXPECT_EQ(call(), 1) << tag;
    expect_error(code, tag);
  }
}
