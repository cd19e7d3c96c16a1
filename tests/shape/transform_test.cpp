// Whole-record transformations: a transformed curve or surface evaluates to
// the transformed points of the original.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "eval/surface_reference.hpp"
#include "test_support.hpp"

using evaltest::dist;
using evaltest::norm;
using orvo_test::HasError;

namespace {

// A full 4x4 matrix over a table of the test.
struct Matrix4 {
  double a[4][4];
  double *rows[4] = {a[0], a[1], a[2], a[3]};
  RMATRIX T{};
  explicit Matrix4(const double (&m)[4][4]) {
    std::memcpy(a, m, sizeof a);
    M_makrma(&T, 3, 3, rows, 0, 3);
  }
};

// An affine map: a shear-rotation-scale block and a translation.
const double kAffine[4][4] = {
    {0.8, -0.6, 0.1, 2.0}, {0.6, 0.8, -0.3, -1.0}, {0.2, 0.0, 1.5, 0.5}, {0, 0, 0, 1}};

POINT affine(const POINT &p) {
  const auto &a = kAffine;
  return POINT{a[0][0] * p.x + a[0][1] * p.y + a[0][2] * p.z + a[0][3],
               a[1][0] * p.x + a[1][1] * p.y + a[1][2] * p.z + a[1][3],
               a[2][0] * p.x + a[2][1] * p.y + a[2][2] * p.z + a[2][3]};
}

// Samples of a record before and after each transformation: the new
// samples must be the mapped old ones.
template <class Rec>
struct Tracker {
  Rec *rec;
  std::vector<POINT> pts;
  static POINT at(CURVE *c, double t) {
    POINT P{};
    EXPECT_EQ(N_curevn(c, t, 1, &P), 0);
    return P;
  }
  static POINT at(SURFACE *s, double t) {
    POINT P{};
    EXPECT_EQ(N_surevn(s, t, 1.0 - t * t, 1, 1, &P), 0);
    return P;
  }
  explicit Tracker(Rec *r) : rec(r) {
    for (int i = 0; i <= 20; ++i) pts.push_back(at(rec, i / 20.0));
  }
  void expect(const std::function<POINT(const POINT &)> &map) {
    for (int i = 0; i <= 20; ++i) {
      pts[i] = map(pts[i]);
      EXPECT_LT(dist(at(rec, i / 20.0), pts[i]), 1e-12 * (1.0 + norm(pts[i]))) << i;
    }
  }
};

}  // namespace

TEST(ShapeTransform, TransformedRecordsEvaluateToTransformedPoints) {
  std::mt19937 rng(1);
  const Matrix4 M(kAffine);
  const POINT C{0.5, -1.0, 2.0};
  for (bool three_d : {false, true})
    for (bool rational : {false, true}) {
      evaltest::CurveData c(evaltest::random_points(7, three_d, rational, rng),
                            evaltest::random_knots(7, 3, rng), 3);
      Tracker<CURVE> t(&c.cur);
      const double w3 = c.Pw[3].w;
      N_curtra(&c.cur, &M.T);
      t.expect(affine);
      EXPECT_TRUE(U_iscur3(&c.cur) && c.Pw[3].w == w3);  // 3-D now, weights kept
      // A quarter turn about the z axis through (1, 1, 0): (x, y) -> (2 - y, x).
      ASSERT_EQ(N_currot(&c.cur, POINT{1, 1, 0}, VECTOR{0, 0, 5}, 90.0), 0);
      t.expect([](const POINT &b) { return POINT{2.0 - b.y, b.x, b.z}; });
      N_cursca(&c.cur, C, VECTOR{2.0, -1.0, 0.5});
      t.expect([&](const POINT &b) {
        return POINT{C.x + 2.0 * (b.x - C.x), C.y - (b.y - C.y), C.z + 0.5 * (b.z - C.z)};
      });
      N_curtrl(&c.cur, VECTOR{-3, 4, 0.25});
      t.expect([](const POINT &b) { return POINT{b.x - 3, b.y + 4, b.z + 0.25}; });
    }
  evaltest::SurfaceData s(evaltest::random_net(4, 3, true, true, rng),
                          evaltest::random_knots(4, 2, rng), evaltest::random_knots(3, 3, rng), 2,
                          3);
  Tracker<SURFACE> t(&s.sur);
  N_surtra(&s.sur, &M.T);
  t.expect(affine);
  ASSERT_EQ(N_surrot(&s.sur, POINT{0, 0, 0}, VECTOR{1, 0, 0}, 180.0), 0);
  t.expect([](const POINT &b) { return POINT{b.x, -b.y, -b.z}; });
  N_sursca(&s.sur, POINT{1, 1, 1}, VECTOR{3, 3, 3});
  t.expect([](const POINT &b) { return POINT{3 * b.x - 2, 3 * b.y - 2, 3 * b.z - 2}; });
  N_surtrl(&s.sur, VECTOR{0, 0, -7});
  t.expect([](const POINT &b) { return POINT{b.x, b.y, b.z - 7}; });

  // A 2-D curve translated by (1, 2, 3): every control point gets z = 3.
  evaltest::CurveData flat(evaltest::random_points(4, false, false, rng),
                           evaltest::random_knots(4, 2, rng), 2);
  N_curtrl(&flat.cur, VECTOR{1, 2, 3});
  for (const CPOINT &q : flat.Pw) EXPECT_EQ(q.z, 3.0);
}

TEST(ShapeTransform, RefusalsLeaveTheRecordUnchanged) {
  std::mt19937 rng(5);
  evaltest::CurveData c(evaltest::random_points(4, true, false, rng),
                        evaltest::random_knots(4, 2, rng), 2);
  const std::vector<CPOINT> kept = c.Pw;
  auto same = [&] { return std::memcmp(kept.data(), c.Pw.data(), sizeof(CPOINT) * 5) == 0; };
  // A projective row that vanishes at the third control point only.
  const double proj[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {1, 0, 0, -c.Pw[2].x}};
  const Matrix4 P(proj);
  E_clrerr();
  N_curtra(&c.cur, &P.T);
  EXPECT_TRUE(HasError(11, "A_TRACPT") && same());
  RMATRIX none;
  M_inirma(&none);
  N_curtra(&c.cur, &none);
  EXPECT_TRUE(HasError(7, "A_TRACPT") && same());
  EXPECT_EQ(N_currot(&c.cur, POINT{0, 0, 0}, VECTOR{0, 0, 0}, 30.0), 1);
  EXPECT_TRUE(HasError(17, "G_TRAGNR") && same());

  // Records without control points.
  CURVE ec;
  U_inicur(&ec);
  SURFACE es;
  U_inisur(&es);
  const VECTOR V{1, 1, 1};
  const POINT O{0, 0, 0};
  E_clrerr();
  N_curtrl(nullptr, V);
  EXPECT_TRUE(HasError(1, "N_CURTRL"));
  N_curtra(&ec, &P.T);
  EXPECT_TRUE(HasError(1, "N_CURTRA"));
  EXPECT_TRUE(N_currot(&ec, O, V, 30.0) == 1 && HasError(1, "N_CURROT"));
  N_cursca(&ec, O, V);
  EXPECT_TRUE(HasError(1, "N_CURSCA"));
  N_surtra(&es, &P.T);
  EXPECT_TRUE(HasError(2, "N_SURTRA"));
  EXPECT_TRUE(N_surrot(&es, O, V, 30.0) == 1 && HasError(2, "N_SURROT"));
  N_sursca(&es, O, V);
  EXPECT_TRUE(HasError(2, "N_SURSCA"));
  N_surtrl(&es, V);
  EXPECT_TRUE(HasError(2, "N_SURTRL"));
}
