// Whole-record transformations: a transformed curve or surface evaluates to
// the transformed points of the original.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "eval/surface_reference.hpp"
#include "orvo/orvo.h"
#include "test_support.hpp"

using evaltest::CurveData;
using evaltest::dist;
using evaltest::norm;
using evaltest::SurfaceData;
using orvo_test::HasError;

namespace {

// A full 4x4 matrix over a caller-owned table.
struct Matrix4 {
  double a[4][4];
  double *rows[4] = {a[0], a[1], a[2], a[3]};
  RMATRIX T{};
  explicit Matrix4(const double (&m)[4][4]) {
    for (int i = 0; i < 4; ++i)
      for (int j = 0; j < 4; ++j) a[i][j] = m[i][j];
    M_makrma(&T, 3, 3, rows, 0, 3);
  }
  POINT apply(const POINT &p) const {
    const double h = a[3][0] * p.x + a[3][1] * p.y + a[3][2] * p.z + a[3][3];
    auto row = [&](int k) { return (a[k][0] * p.x + a[k][1] * p.y + a[k][2] * p.z + a[k][3]) / h; };
    return POINT{row(0), row(1), row(2)};
  }
};

// An affine map: a shear-rotation-scale block and a translation.
const double kAffine[4][4] = {
    {0.8, -0.6, 0.1, 2.0}, {0.6, 0.8, -0.3, -1.0}, {0.2, 0.0, 1.5, 0.5}, {0.0, 0.0, 0.0, 1.0}};

std::vector<double> samples() {
  std::vector<double> s;
  for (int i = 0; i <= 20; ++i) s.push_back(i / 20.0);
  return s;
}

POINT curve_point(const CURVE *c, double u) {
  POINT P{};
  EXPECT_EQ(N_curevn(c, u, 1, &P), 0);
  return P;
}

POINT surface_point(const SURFACE *s, double u, double v) {
  POINT P{};
  EXPECT_EQ(N_surevn(s, u, v, 1, 1, &P), 0);
  return P;
}

}  // namespace

TEST(ShapeTransform, CurvesEvaluateToTheTransformedPoints) {
  std::mt19937 rng(1);
  const Matrix4 M(kAffine);
  for (bool three_d : {false, true})
    for (bool rational : {false, true}) {
      CurveData c(evaltest::random_points(7, three_d, rational, rng),
                  evaltest::random_knots(7, 3, rng), 3);
      std::vector<POINT> before;
      for (double u : samples()) before.push_back(curve_point(&c.cur, u));
      const double w3 = c.Pw[3].w;
      N_curtra(&c.cur, &M.T);
      EXPECT_EQ(U_iscur3(&c.cur), 1);
      EXPECT_EQ(c.Pw[3].w, w3);
      for (size_t k = 0; k < before.size(); ++k) {
        const POINT want = M.apply(before[k]);
        EXPECT_LT(dist(curve_point(&c.cur, samples()[k]), want), 1e-12 * (1.0 + norm(want)));
      }
    }
}

TEST(ShapeTransform, RotationScalingAndTranslationOfCurves) {
  std::mt19937 rng(2);
  CurveData c(evaltest::random_points(6, true, true, rng), evaltest::random_knots(6, 2, rng), 2);
  std::vector<POINT> before;
  for (double u : samples()) before.push_back(curve_point(&c.cur, u));

  // A quarter turn about the z axis through (1, 1, 0): (x, y) -> (2 - y, x).
  ASSERT_EQ(N_currot(&c.cur, POINT{1, 1, 0}, VECTOR{0, 0, 5}, 90.0), 0);
  for (size_t k = 0; k < before.size(); ++k) {
    const POINT &b = before[k];
    const POINT want{2.0 - b.y, b.x, b.z};
    EXPECT_LT(dist(curve_point(&c.cur, samples()[k]), want), 1e-12 * (1.0 + norm(want)));
    before[k] = want;
  }
  // Scaling about C by S: C + S (X - C), axis by axis.
  const POINT C{0.5, -1.0, 2.0};
  N_cursca(&c.cur, C, VECTOR{2.0, -1.0, 0.5});
  for (size_t k = 0; k < before.size(); ++k) {
    const POINT &b = before[k];
    const POINT want{C.x + 2.0 * (b.x - C.x), C.y - (b.y - C.y), C.z + 0.5 * (b.z - C.z)};
    EXPECT_LT(dist(curve_point(&c.cur, samples()[k]), want), 1e-12 * (1.0 + norm(want)));
    before[k] = want;
  }
  N_curtrl(&c.cur, VECTOR{-3, 4, 0.25});
  for (size_t k = 0; k < before.size(); ++k) {
    const POINT want{before[k].x - 3, before[k].y + 4, before[k].z + 0.25};
    EXPECT_LT(dist(curve_point(&c.cur, samples()[k]), want), 1e-12 * (1.0 + norm(want)));
  }
}

TEST(ShapeTransform, TwoDimensionalCurvesBecomeThreeDimensional) {
  // Translation of a 2-D curve by (1, 2, 3): every z is 3 exactly.
  std::mt19937 rng(3);
  for (bool rational : {false, true}) {
    CurveData c(evaltest::random_points(4, false, rational, rng), evaltest::random_knots(4, 2, rng),
                2);
    N_curtrl(&c.cur, VECTOR{1, 2, 3});
    for (const CPOINT &q : c.Pw) EXPECT_EQ(q.z, rational ? 3.0 * q.w : 3.0);
    EXPECT_NEAR(curve_point(&c.cur, 0.3).z, 3.0, 1e-15);
  }
  CurveData s(evaltest::random_points(4, false, false, rng), evaltest::random_knots(4, 2, rng), 2);
  N_cursca(&s.cur, POINT{0, 0, 1}, VECTOR{1, 1, 2});
  for (const CPOINT &q : s.Pw) EXPECT_EQ(q.z, -1.0);  // 0 scaled about z = 1
}

TEST(ShapeTransform, SurfacesEvaluateToTheTransformedPoints) {
  std::mt19937 rng(4);
  const Matrix4 M(kAffine);
  SurfaceData s(evaltest::random_net(4, 3, true, true, rng), evaltest::random_knots(4, 2, rng),
                evaltest::random_knots(3, 3, rng), 2, 3);
  std::vector<POINT> before;
  for (double u : samples())
    for (double v : {0.0, 0.4, 1.0}) before.push_back(surface_point(&s.sur, u, v));
  auto check = [&](auto map) {
    size_t k = 0;
    for (double u : samples())
      for (double v : {0.0, 0.4, 1.0}) {
        const POINT want = map(before[k]);
        EXPECT_LT(dist(surface_point(&s.sur, u, v), want), 1e-12 * (1.0 + norm(want)));
        before[k++] = want;
      }
  };
  N_surtra(&s.sur, &M.T);
  check([&](const POINT &b) { return M.apply(b); });
  ASSERT_EQ(N_surrot(&s.sur, POINT{0, 0, 0}, VECTOR{1, 0, 0}, 180.0), 0);
  check([](const POINT &b) { return POINT{b.x, -b.y, -b.z}; });
  N_sursca(&s.sur, POINT{1, 1, 1}, VECTOR{3, 3, 3});
  check([](const POINT &b) {
    return POINT{1 + 3 * (b.x - 1), 1 + 3 * (b.y - 1), 1 + 3 * (b.z - 1)};
  });
  N_surtrl(&s.sur, VECTOR{0, 0, -7});
  check([](const POINT &b) { return POINT{b.x, b.y, b.z - 7}; });
}

TEST(ShapeTransform, RefusalsLeaveTheRecordUnchanged) {
  std::mt19937 rng(5);
  CurveData c(evaltest::random_points(4, true, false, rng), evaltest::random_knots(4, 2, rng), 2);
  const std::vector<CPOINT> kept = c.Pw;
  auto same = [&] {
    for (size_t i = 0; i < kept.size(); ++i)
      if (std::memcmp(&kept[i], &c.Pw[i], sizeof(CPOINT)) != 0) return false;
    return true;
  };
  // A projective row that vanishes at the third control point only.
  const CPOINT &q = c.Pw[2];
  const double proj[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {1, 0, 0, -q.x}};
  const Matrix4 P(proj);
  E_clrerr();
  N_curtra(&c.cur, &P.T);
  EXPECT_TRUE(HasError(11, "A_TRACPT"));
  EXPECT_TRUE(same());
  // A record holding no matrix.
  RMATRIX none;
  M_inirma(&none);
  N_curtra(&c.cur, &none);
  EXPECT_TRUE(HasError(7, "A_TRACPT"));
  EXPECT_TRUE(same());
  // A zero rotation axis.
  EXPECT_EQ(N_currot(&c.cur, POINT{0, 0, 0}, VECTOR{0, 0, 0}, 30.0), 1);
  EXPECT_TRUE(HasError(17, "G_TRAGNR"));
  EXPECT_TRUE(same());

  E_clrerr();
  N_curtrl(nullptr, VECTOR{1, 1, 1});
  EXPECT_TRUE(HasError(1, "N_CURTRL"));
  CURVE empty;
  U_inicur(&empty);
  N_curtra(&empty, &P.T);
  EXPECT_TRUE(HasError(1, "N_CURTRA"));
  EXPECT_EQ(N_currot(&empty, POINT{0, 0, 0}, VECTOR{0, 0, 1}, 30.0), 1);
  EXPECT_TRUE(HasError(1, "N_CURROT"));
  N_cursca(&empty, POINT{0, 0, 0}, VECTOR{1, 1, 1});
  EXPECT_TRUE(HasError(1, "N_CURSCA"));
  SURFACE none_s;
  U_inisur(&none_s);
  N_surtra(&none_s, &P.T);
  EXPECT_TRUE(HasError(2, "N_SURTRA"));
  EXPECT_EQ(N_surrot(&none_s, POINT{0, 0, 0}, VECTOR{0, 0, 1}, 30.0), 1);
  EXPECT_TRUE(HasError(2, "N_SURROT"));
  N_sursca(&none_s, POINT{0, 0, 0}, VECTOR{1, 1, 1});
  EXPECT_TRUE(HasError(2, "N_SURSCA"));
  N_surtrl(&none_s, VECTOR{1, 1, 1});
  EXPECT_TRUE(HasError(2, "N_SURTRL"));
}
