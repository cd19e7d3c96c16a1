// Surface points, partial derivatives, normals and basis-product tables
// against the full tensor-product reference, central differences and exact
// shapes (sphere and cylinder patches).
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "core/internal.hpp"
#include "eval/surface_reference.hpp"
#include "orvo/orvo.h"
#include "test_support.hpp"

using evaltest::dist;
using evaltest::norm;
using evaltest::SurfaceData;
using orvo_test::HasError;

namespace {

// Parameters worth visiting in one direction: every knot and a spread of
// points between.
std::vector<double> params(const std::vector<double> &U, std::mt19937 &rng, int extra = 6) {
  std::vector<double> us(U.begin(), U.end());
  std::uniform_real_distribution<double> d(0.0, 1.0);
  for (int i = 0; i < extra; ++i) us.push_back(d(rng));
  return us;
}

struct Degrees {
  int p, q;
};
const Degrees kDegrees[] = {{1, 1}, {1, 3}, {2, 2}, {3, 1}, {3, 3}, {4, 2}};

// Octant of the unit sphere as a rational biquadratic patch: the quarter
// meridian from (1, 0, 0) to the pole (0, 0, 1), revolved a quarter turn
// about z. The pole row collapses to one point.
std::vector<std::vector<CPOINT>> sphere_octant() {
  const double s = std::sqrt(0.5);
  const double mx[] = {1, 1, 0}, mz[] = {0, 1, 1}, mw[] = {1, s, 1};
  std::vector<std::vector<CPOINT>> net(3);
  for (int i = 0; i < 3; ++i) {
    const double x = mx[i], z = mz[i];
    const double px[] = {x, x, 0}, py[] = {0, x, x}, pw[] = {1, s, 1};
    for (int j = 0; j < 3; ++j) {
      const double w = mw[i] * pw[j];
      net[i].push_back(CPOINT{w * px[j], w * py[j], w * z, w});
    }
  }
  return net;
}

// Full cylinder of radius 2: the nine-point circle in u, a quadratic in v
// along z with unevenly spaced collinear points.
std::vector<std::vector<CPOINT>> cylinder() {
  const double xs[] = {1, 1, 0, -1, -1, -1, 0, 1, 1}, ys[] = {0, 1, 1, 1, 0, -1, -1, -1, 0};
  const double zs[] = {-1.0, 0.25, 3.0};
  std::vector<std::vector<CPOINT>> net(9);
  for (int i = 0; i < 9; ++i) {
    const double w = i % 2 ? std::sqrt(0.5) : 1.0;
    for (double z : zs) net[i].push_back(CPOINT{2 * w * xs[i], 2 * w * ys[i], w * z, w});
  }
  return net;
}
const std::vector<double> kCircleKnots = {0, 0, 0, 0.25, 0.25, 0.5, 0.5, 0.75, 0.75, 1, 1, 1};

// A p2d table of (k+1) x (l+1) points filled with a sentinel.
struct PointRows {
  std::vector<POINT> data;
  std::vector<POINT *> rows;
  PointRows(int k, int l) : data((k + 1) * (l + 1), POINT{-7, -7, -7}) {
    for (int a = 0; a <= k; ++a) rows.push_back(data.data() + a * (l + 1));
  }
  POINT **get() { return rows.data(); }
};

// An r4d table [a][b][i][j] of the given sizes over one block.
struct Table4 {
  std::vector<double> data;
  std::vector<double *> rows;
  std::vector<double **> mid;
  std::vector<double ***> top;
  Table4(int k, int l, int p, int q) : data((k + 1) * (l + 1) * (p + 1) * (q + 1), -7.0) {
    for (int r = 0; r < (k + 1) * (l + 1) * (p + 1); ++r) rows.push_back(data.data() + r * (q + 1));
    for (int r = 0; r < (k + 1) * (l + 1); ++r) mid.push_back(rows.data() + r * (p + 1));
    for (int a = 0; a <= k; ++a) top.push_back(mid.data() + a * (l + 1));
  }
  double ****get() { return top.data(); }
};

SurfaceData random_surface(int p, int q, bool three_d, bool rational, std::mt19937 &rng,
                           int extra = 3) {
  const int n = p + extra, m = q + extra + 1;
  return SurfaceData(evaltest::random_net(n, m, three_d, rational, rng),
                     evaltest::random_knots(n, p, rng, p >= 2 ? 2 : 0),
                     evaltest::random_knots(m, q, rng, q >= 2 ? 3 : 0), p, q);
}

}  // namespace

TEST(SurfaceEval, PointsMatchTensorProductSum) {
  std::mt19937 rng(5);
  for (bool rational : {false, true})
    for (bool three_d : {false, true})
      for (const Degrees &d : kDegrees) {
        SurfaceData s = random_surface(d.p, d.q, three_d, rational, rng);
        for (double u : params(s.U, rng))
          for (double v : params(s.V, rng, 3))
            for (int16_t su : {1, 2})
              for (int16_t sv : {1, 2}) {
                POINT P{};
                ASSERT_EQ(N_surevn(&s.sur, u, v, su, sv, &P), 0);
                const POINT R = s.point(u, v, su, sv);
                EXPECT_LT(dist(P, R), 1e-12 * (1.0 + norm(R)))
                    << d.p << d.q << " " << u << " " << v;
                if (!three_d) {
                  EXPECT_EQ(P.z, 0.0);
                }
              }
      }
}

TEST(SurfaceEval, CornersAreTheEuclideanCornerPointsExactly) {
  std::mt19937 rng(6);
  for (bool rational : {false, true}) {
    SurfaceData s = random_surface(3, 2, true, rational, rng);
    const int n = s.net.n, m = s.net.m;
    const int corners[4][2] = {{0, 0}, {0, m}, {n, 0}, {n, m}};
    for (const auto &c : corners) {
      const double u = c[0] ? 1.0 : 0.0, v = c[1] ? 1.0 : 0.0;
      const CPOINT &q = s.rows[c[0]][c[1]];
      const double w = rational ? q.w : 1.0;
      for (int16_t side : {1, 2}) {
        POINT P{};
        ASSERT_EQ(N_surevn(&s.sur, u, v, side, side, &P), 0);
        EXPECT_EQ(P.x, rational ? q.x / w : q.x);
        EXPECT_EQ(P.y, rational ? q.y / w : q.y);
        EXPECT_EQ(P.z, rational ? q.z / w : q.z);
      }
    }
  }
}

TEST(SurfaceEval, SphereAndCylinderPatchesKeepTheirRadius) {
  SurfaceData sphere(sphere_octant(), {0, 0, 0, 1, 1, 1}, {0, 0, 0, 1, 1, 1}, 2, 2);
  SurfaceData cyl(cylinder(), kCircleKnots, {0, 0, 0, 1, 1, 1}, 2, 2);
  for (int i = 0; i <= 40; ++i)
    for (int j = 0; j <= 40; ++j) {
      const double u = i / 40.0, v = j / 40.0;
      POINT P{};
      ASSERT_EQ(N_surevn(&sphere.sur, u, v, 1, 1, &P), 0);
      EXPECT_NEAR(norm(P), 1.0, 1e-14) << u << " " << v;
      ASSERT_EQ(N_surevn(&cyl.sur, u, v, 2, 1, &P), 0);
      EXPECT_NEAR(std::hypot(P.x, P.y), 2.0, 1e-14) << u << " " << v;
      EXPECT_GE(P.z, -1.0 - 1e-15);
      EXPECT_LE(P.z, 3.0 + 1e-15);

      // Away from the pole the unit normal of the sphere is the point
      // itself (outward or inward), and the tangents are perpendicular.
      if (u > 0.95) continue;
      VECTOR Su{}, Sv{}, N{};
      ASSERT_EQ(N_surnor(&sphere.sur, u, v, 1, 1, &P, &Su, &Sv, &N), 0);
      EXPECT_NEAR(std::fabs(N.x * P.x + N.y * P.y + N.z * P.z), 1.0, 1e-13);
      EXPECT_NEAR(Su.x * P.x + Su.y * P.y + Su.z * P.z, 0.0, 1e-13);
      EXPECT_NEAR(Sv.x * P.x + Sv.y * P.y + Sv.z * P.z, 0.0, 1e-13);
      EXPECT_NEAR(norm(POINT{Su.x, Su.y, Su.z}), 1.0, 1e-15);
    }
}

TEST(SurfaceDerivatives, MatchTheReferenceInBothModes) {
  std::mt19937 rng(7);
  for (bool rational : {false, true})
    for (const Degrees &d : kDegrees) {
      SurfaceData s = random_surface(d.p, d.q, true, rational, rng);
      for (double u : params(s.U, rng, 3))
        for (double v : params(s.V, rng, 2))
          for (int16_t su : {1, 2})
            for (int16_t sv : {1, 2}) {
              const auto R = s.derivatives(u, v, su, sv, 3, 3);
              // High orders grow with the inverse knot gaps: compare with
              // the largest derivative of the table.
              double scale = 1.0;
              for (const auto &row : R)
                for (const POINT &x : row) scale = std::max(scale, norm(x));
              PointRows rect(3, 3), tri(3, 3);
              ASSERT_EQ(N_surder(&s.sur, u, v, su, sv, 2, 3, 3, rect.get()), 0);
              ASSERT_EQ(N_surder(&s.sur, u, v, su, sv, 1, 3, 3, tri.get()), 0);
              for (int a = 0; a <= 3; ++a)
                for (int b = 0; b <= 3; ++b) {
                  const double tol = 1e-12 * scale;
                  EXPECT_LT(dist(rect.get()[a][b], R[a][b]), tol)
                      << d.p << d.q << " " << u << " " << v << " " << a << b;
                  if (a + b <= 3) {
                    EXPECT_EQ(dist(tri.get()[a][b], rect.get()[a][b]), 0.0);
                  } else {
                    EXPECT_EQ(tri.get()[a][b].x, -7.0);
                  }
                  if (!rational && (a > d.p || b > d.q)) {
                    EXPECT_EQ(norm(rect.get()[a][b]), 0.0);
                  }
                }
            }
    }
}

TEST(SurfaceDerivatives, FifthOrdersOfAQuinticNet) {
  std::mt19937 rng(17);
  SurfaceData s = random_surface(5, 4, true, true, rng, 2);
  for (double u : {0.0, 0.31, 1.0})
    for (double v : {0.0, 0.77, 1.0}) {
      const auto R = s.derivatives(u, v, 1, 1, 5, 5);
      PointRows rect(5, 5);
      ASSERT_EQ(N_surder(&s.sur, u, v, 1, 1, 2, 5, 5, rect.get()), 0);
      for (int a = 0; a <= 5; ++a)
        for (int b = 0; b <= 5; ++b)
          EXPECT_LT(dist(rect.get()[a][b], R[a][b]), 1e-8 * (1.0 + norm(R[a][b])))
              << u << " " << v << " " << a << b;
    }
}

TEST(SurfaceDerivatives, MatchCentralDifferences) {
  std::mt19937 rng(8);
  SurfaceData s(evaltest::random_net(4, 4, true, true, rng), {0, 0, 0, 0, 0.5, 1, 1, 1, 1},
                {0, 0, 0, 0.4, 0.6, 1, 1, 1}, 3, 2);
  const double h = 1e-5;
  for (double u : {0.2, 0.7})
    for (double v : {0.15, 0.5, 0.85}) {
      PointRows D(1, 1);
      ASSERT_EQ(N_surder(&s.sur, u, v, 1, 1, 2, 1, 1, D.get()), 0);
      POINT a{}, b{}, c{}, e{};
      auto eval = [&](double x, double y) {
        POINT P{};
        EXPECT_EQ(N_surevn(&s.sur, x, y, 1, 1, &P), 0);
        return P;
      };
      a = eval(u - h, v), b = eval(u + h, v);
      const POINT du{(b.x - a.x) / (2 * h), (b.y - a.y) / (2 * h), (b.z - a.z) / (2 * h)};
      EXPECT_LT(dist(D.get()[1][0], du), 1e-6 * (1.0 + norm(du)));
      a = eval(u, v - h), b = eval(u, v + h);
      const POINT dv{(b.x - a.x) / (2 * h), (b.y - a.y) / (2 * h), (b.z - a.z) / (2 * h)};
      EXPECT_LT(dist(D.get()[0][1], dv), 1e-6 * (1.0 + norm(dv)));
      const double g = 1e-4;
      a = eval(u + g, v + g), b = eval(u + g, v - g), c = eval(u - g, v + g),
      e = eval(u - g, v - g);
      const double q = 4 * g * g;
      const POINT duv{(a.x - b.x - c.x + e.x) / q, (a.y - b.y - c.y + e.y) / q,
                      (a.z - b.z - c.z + e.z) / q};
      EXPECT_LT(dist(D.get()[1][1], duv), 1e-5 * (1.0 + norm(duv)));
    }
}

TEST(SurfaceDerivatives, CornerKnotGivesOneSidedTangents) {
  // A double knot at u = 0.5 of a biquadratic: position continuous, the u
  // tangent jumps; side_u picks the limit, side_v does not matter there.
  std::mt19937 rng(10);
  SurfaceData s(evaltest::random_net(4, 2, true, true, rng), {0, 0, 0, 0.5, 0.5, 1, 1, 1},
                {0, 0, 0, 1, 1, 1}, 2, 2);
  PointRows right(1, 1), left(1, 1);
  ASSERT_EQ(N_surder(&s.sur, 0.5, 0.3, 1, 1, 2, 1, 1, right.get()), 0);
  ASSERT_EQ(N_surder(&s.sur, 0.5, 0.3, 2, 1, 2, 1, 1, left.get()), 0);
  EXPECT_LT(dist(right.get()[0][0], left.get()[0][0]), 1e-14);
  EXPECT_GT(dist(right.get()[1][0], left.get()[1][0]), 1e-3);
  const auto R1 = s.derivatives(0.5, 0.3, 1, 1, 1, 1), R2 = s.derivatives(0.5, 0.3, 2, 1, 1, 1);
  EXPECT_LT(dist(right.get()[1][0], R1[1][0]), 1e-12 * (1.0 + norm(R1[1][0])));
  EXPECT_LT(dist(left.get()[1][0], R2[1][0]), 1e-12 * (1.0 + norm(R2[1][0])));
  POINT a{}, b{};
  ASSERT_EQ(N_surevn(&s.sur, 0.5, 0.3, 1, 2, &a), 0);
  ASSERT_EQ(N_surevn(&s.sur, 0.5, 0.3, 2, 1, &b), 0);
  EXPECT_LT(dist(a, b), 1e-14);
}

TEST(SurfaceNormals, PlaneAndCollapsedEdge) {
  // Bilinear plane z = 0 with u along x and v along y.
  const double kW = -DBL_MAX;
  SurfaceData plane({{{0, 0, 0, kW}, {0, 3, 0, kW}}, {{2, 0, 0, kW}, {2, 3, 0, kW}}}, {0, 0, 1, 1},
                    {0, 0, 1, 1}, 1, 1);
  POINT P{};
  VECTOR Su{}, Sv{}, N{};
  ASSERT_EQ(N_surnor(&plane.sur, 0.25, 0.5, 1, 1, &P, &Su, &Sv, &N), 0);
  EXPECT_EQ(P.x, 0.5);
  EXPECT_EQ(P.y, 1.5);
  EXPECT_EQ(N.x, 0.0);
  EXPECT_EQ(N.y, 0.0);
  EXPECT_EQ(N.z, 1.0);
  EXPECT_EQ(Su.x, 1.0);
  EXPECT_EQ(Su.y, 0.0);
  EXPECT_EQ(Sv.y, 1.0);
  EXPECT_EQ(Sv.x, 0.0);

  // The edge u = 0 collapsed to the origin: Sv vanishes there, so the
  // normal has no length.
  SurfaceData tri({{{0, 0, 0, kW}, {0, 0, 0, kW}}, {{2, 0, 0, kW}, {2, 3, 1, kW}}}, {0, 0, 1, 1},
                  {0, 0, 1, 1}, 1, 1);
  E_clrerr();
  EXPECT_EQ(N_surnor(&tri.sur, 0.0, 0.5, 1, 1, &P, &Su, &Sv, &N), 1);
  EXPECT_TRUE(HasError(17, "G_VECNIP"));
  // The sphere's pole row is a collapsed edge of a rational patch.
  SurfaceData sphere(sphere_octant(), {0, 0, 0, 1, 1, 1}, {0, 0, 0, 1, 1, 1}, 2, 2);
  E_clrerr();
  EXPECT_EQ(N_surnor(&sphere.sur, 1.0, 0.5, 1, 1, &P, &Su, &Sv, &N), 1);
  EXPECT_TRUE(HasError(17, "G_VECNIP"));
  EXPECT_EQ(N_surnor(&tri.sur, 0.5, 0.5, 1, 1, &P, &Su, &Sv, &N), 0);
}

TEST(SurfaceBasisTables, ProductsAndRationalBasisMatchTheReference) {
  std::mt19937 rng(11);
  for (bool rational : {false, true}) {
    SurfaceData s = random_surface(3, 2, true, rational, rng);
    const int p = s.p, q = s.q;
    for (double u : {0.0, 0.37, s.U[5], 1.0})
      for (double v : {0.0, 0.61, 1.0})
        for (int16_t mode : {1, 2}) {
          Table4 prod(2, 2, p, q), rat(2, 2, p, q), disp(2, 2, p, q);
          int32_t su = -1, sv = -1, su2 = -1, sv2 = -1, su3 = -1, sv3 = -1;
          ASSERT_EQ(N_kntabd(&s.sur, u, v, 1, 2, mode, 2, 2, prod.get(), &su, &sv), 0);
          ASSERT_EQ(N_kntasd(&s.sur, u, v, 1, 2, mode, 2, 2, rat.get(), &su2, &sv2), 0);
          ASSERT_EQ(N_kntsad(&s.sur, u, v, 1, 2, mode, 2, 2, disp.get(), &su3, &sv3), 0);
          EXPECT_EQ(su, su2);
          EXPECT_EQ(sv, sv3);
          EXPECT_EQ(disp.data, rat.data);
          PointRows S(2, 2);
          ASSERT_EQ(N_surder(&s.sur, u, v, 1, 2, 2, 2, 2, S.get()), 0);
          const int su_ref = u == 1.0 ? 2 : 1, sv_ref = v == 0.0 ? 1 : 2;
          for (int a = 0; a <= 2; ++a)
            for (int b = 0; b <= 2; ++b) {
              if (mode == 1 && a + b > 2) {
                EXPECT_EQ(prod.get()[a][b][0][0], -7.0);
                EXPECT_EQ(rat.get()[a][b][0][0], -7.0);
                continue;
              }
              double sum = 0.0;
              POINT C{0, 0, 0};
              for (int i = 0; i <= p; ++i)
                for (int j = 0; j <= q; ++j) {
                  const double ref = evaltest::cox_de_boor_der(s.U, su - p + i, p, a, u, su_ref) *
                                     evaltest::cox_de_boor_der(s.V, sv - q + j, q, b, v, sv_ref);
                  EXPECT_NEAR(prod.get()[a][b][i][j], ref, 1e-10 * (1.0 + std::fabs(ref)));
                  const double r = rat.get()[a][b][i][j];
                  sum += r;
                  const CPOINT &c = s.rows[su - p + i][sv - q + j];
                  const double w = rational ? c.w : 1.0;
                  C.x += r * c.x / w;
                  C.y += r * c.y / w;
                  C.z += r * c.z / w;
                  // Single-function routines agree with the table.
                  double D[3][3], *Drows[3] = {D[0], D[1], D[2]};
                  ASSERT_EQ(N_kntrsd(&s.sur, su - p + i, sv - q + j, u, v, 1, 2, a, b, Drows), 0);
                  EXPECT_NEAR(D[a][b], r, 1e-10 * (1.0 + std::fabs(r)));
                  if (a == 0 && b == 0) {
                    double R = -1;
                    ASSERT_EQ(N_kntrsb(&s.sur, su - p + i, sv - q + j, u, v, 1, 2, &R), 0);
                    EXPECT_NEAR(R, r, 1e-14);
                  }
                }
              // Partition of unity and its derivatives; the rational basis
              // reproduces the surface derivatives.
              EXPECT_NEAR(sum, a + b == 0 ? 1.0 : 0.0, 1e-9);
              EXPECT_LT(dist(C, S.get()[a][b]), 1e-9 * (1.0 + norm(S.get()[a][b])));
            }
        }
    // Outside its support a single function is zero.
    double R = -1;
    ASSERT_EQ(N_kntrsb(&s.sur, 0, 0, 0.9, 0.5, 1, 1, &R), 0);
    EXPECT_EQ(R, 0.0);
  }
}

TEST(SurfaceEval, EvaluatorsDoNotAllocate) {
  std::mt19937 rng(12);
  SurfaceData s = random_surface(3, 3, true, true, rng);
  PointRows D(3, 3);
  POINT P{};
  VECTOR a{}, b{}, c{};
  const long before = orvo::detail::allocation_count();
  for (int i = 0; i < 50; ++i) {
    ASSERT_EQ(N_surevn(&s.sur, i / 50.0, 0.3, 1, 1, &P), 0);
    ASSERT_EQ(N_surder(&s.sur, i / 50.0, 0.3, 1, 1, 2, 3, 3, D.get()), 0);
    ASSERT_EQ(N_surnor(&s.sur, i / 50.0, 0.3, 1, 1, &P, &a, &b, &c), 0);
  }
  EXPECT_EQ(orvo::detail::allocation_count(), before);
}

TEST(SurfaceEval, RefusedInputsFailWithTheirCodes) {
  std::mt19937 rng(13);
  SurfaceData s = random_surface(2, 3, true, true, rng);
  POINT P{};
  VECTOR a{}, b{}, c{};
  PointRows D(6, 6);
  Table4 T(1, 1, 2, 3);
  int32_t su = 0, sv = 0;
  double R = 0.0;

  // Parameters and sides of the point evaluator are those of the basis
  // routine of each direction.
  EXPECT_EQ(N_surevn(&s.sur, 1.5, 0.5, 1, 1, &P), 1);
  EXPECT_TRUE(HasError(6, "N_KNTALB"));
  EXPECT_EQ(N_surevn(&s.sur, 0.5, NAN, 1, 1, &P), 1);
  EXPECT_TRUE(HasError(6, "N_KNTALB"));
  EXPECT_EQ(N_surevn(&s.sur, 0.5, 0.5, 1, 3, &P), 1);
  EXPECT_TRUE(HasError(13, "N_KNTALB"));

  EXPECT_EQ(N_surder(&s.sur, 0.5, 0.5, 1, 1, 2, 6, 1, D.get()), 1);
  EXPECT_TRUE(HasError(20, "N_SURDER"));
  EXPECT_EQ(N_surder(&s.sur, 0.5, 0.5, 1, 1, 2, 1, -1, D.get()), 1);
  EXPECT_TRUE(HasError(20, "N_SURDER"));
  EXPECT_EQ(N_surder(&s.sur, -0.1, 0.5, 1, 1, 2, 1, 1, D.get()), 1);
  EXPECT_TRUE(HasError(6, "N_SURDER"));
  EXPECT_EQ(N_surder(&s.sur, 0.5, 0.5, 0, 1, 2, 1, 1, D.get()), 1);
  EXPECT_TRUE(HasError(13, "N_SURDER"));
  EXPECT_EQ(N_surnor(&s.sur, 0.5, 2.0, 1, 1, &P, &a, &b, &c), 1);
  EXPECT_TRUE(HasError(6, "N_SURNOR"));
  EXPECT_EQ(N_surnor(&s.sur, 0.5, 0.5, 1, 5, &P, &a, &b, &c), 1);
  EXPECT_TRUE(HasError(13, "N_SURNOR"));
  EXPECT_EQ(N_kntabd(&s.sur, 0.5, 0.5, 1, 1, 2, 1, 6, T.get(), &su, &sv), 1);
  EXPECT_TRUE(HasError(20, "N_KNTABD"));
  EXPECT_EQ(N_kntasd(&s.sur, 0.5, 1.5, 1, 1, 2, 1, 1, T.get(), &su, &sv), 1);
  EXPECT_TRUE(HasError(6, "N_KNTASD"));
  EXPECT_EQ(N_kntsad(&s.sur, 0.5, 0.5, 2, 9, 2, 1, 1, T.get(), &su, &sv), 1);
  EXPECT_TRUE(HasError(13, "N_KNTSAD"));
  EXPECT_EQ(N_kntrsb(&s.sur, 3, 8, 0.5, 0.5, 1, 1, &R), 1);
  EXPECT_TRUE(HasError(7, "N_KNTRSB"));
  EXPECT_EQ(N_kntrsb(&s.sur, -1, 0, 0.5, 0.5, 1, 1, &R), 1);
  EXPECT_TRUE(HasError(7, "N_KNTRSB"));
  EXPECT_EQ(N_kntrsb(&s.sur, 0, 0, 0.5, 0.5, 3, 1, &R), 1);
  EXPECT_TRUE(HasError(13, "N_KNTRSB"));
  EXPECT_EQ(N_kntrsd(&s.sur, 0, 0, 0.5, -0.5, 1, 1, 1, 1, nullptr), 1);
  EXPECT_TRUE(HasError(6, "N_KNTRSD"));
  EXPECT_EQ(N_kntrsd(&s.sur, 0, 0, 0.5, 0.5, 1, 1, 6, 1, nullptr), 1);
  EXPECT_TRUE(HasError(20, "N_KNTRSD"));
  // No output was touched by the failures.
  EXPECT_EQ(D.data[0].x, -7.0);
  EXPECT_EQ(T.data[0], -7.0);

  // Malformed records: sizes that do not match, degrees the tables cannot
  // hold, too few control points, missing parts.
  s.knu.m += 1;
  EXPECT_EQ(N_surevn(&s.sur, 0.5, 0.5, 1, 1, &P), 1);
  EXPECT_TRUE(HasError(2, "N_SUREVN"));
  s.knu.m -= 1;
  s.sur.q = 29;
  EXPECT_EQ(N_surder(&s.sur, 0.5, 0.5, 1, 1, 2, 1, 1, D.get()), 1);
  EXPECT_TRUE(HasError(3, "N_SURDER"));
  s.sur.q = 3;
  SurfaceData few(evaltest::random_net(1, 3, true, false, rng), {0, 0, 0, 1, 1},
                  {0, 0, 0, 0, 1, 1, 1, 1}, 2, 3);
  EXPECT_EQ(N_surevn(&few.sur, 0.5, 0.5, 1, 1, &P), 1);
  EXPECT_TRUE(HasError(14, "N_SUREVN"));
  SURFACE empty;
  U_inisur(&empty);
  EXPECT_EQ(N_surevn(&empty, 0.5, 0.5, 1, 1, &P), 1);
  EXPECT_TRUE(HasError(2, "N_SUREVN"));
  EXPECT_EQ(N_surnor(nullptr, 0.5, 0.5, 1, 1, &P, &a, &b, &c), 1);
  EXPECT_TRUE(HasError(2, "N_SURNOR"));

  // A rational span holding a non-rational point, and a vanishing weight.
  s.rows[1][1].w = -DBL_MAX;
  EXPECT_EQ(N_surevn(&s.sur, 0.1, 0.1, 1, 1, &P), 1);
  EXPECT_TRUE(HasError(2, "N_SUREVN"));
  EXPECT_EQ(N_surder(&s.sur, 0.1, 0.1, 1, 1, 2, 1, 1, D.get()), 1);
  EXPECT_TRUE(HasError(2, "N_SURDER"));
  for (auto &row : s.rows)
    for (CPOINT &q : row) q.w = 0.0;
  EXPECT_EQ(N_surevn(&s.sur, 0.5, 0.5, 1, 1, &P), 1);
  EXPECT_TRUE(HasError(11, "N_SUREVN"));
  EXPECT_EQ(N_surder(&s.sur, 0.5, 0.5, 1, 1, 2, 1, 1, D.get()), 1);
  EXPECT_TRUE(HasError(11, "N_SURDER"));
  EXPECT_EQ(N_kntasd(&s.sur, 0.5, 0.5, 1, 1, 2, 1, 1, T.get(), &su, &sv), 1);
  EXPECT_TRUE(HasError(11, "N_KNTASD"));
  double Rd[2][2], *Rrows[2] = {Rd[0], Rd[1]};
  EXPECT_EQ(N_kntrsd(&s.sur, 1, 1, 0.5, 0.5, 1, 1, 1, 1, Rrows), 1);
  EXPECT_TRUE(HasError(11, "N_KNTRSD"));
  EXPECT_EQ(D.data[0].x, -7.0);
}

TEST(SurfaceEval, UnclampedDomainAndConstantPieces) {
  // Uniform knots in u: the domain is [U[3], U[4]] = [3, 4] and its ends
  // are no control points; degree 0 in v: one constant piece per span.
  std::mt19937 rng(14);
  for (bool rational : {false, true}) {
    SurfaceData s(evaltest::random_net(3, 2, true, rational, rng), {0, 1, 2, 3, 4, 5, 6, 7},
                  {0, 0.25, 0.5, 1}, 3, 0);
    for (double u : {3.0, 3.5, 4.0})
      for (double v : {0.0, 0.25, 0.7, 1.0})
        for (int16_t sv : {1, 2}) {
          // The reference takes the end of the u range from inside and
          // the side of v as given (inward at the ends of V).
          const int su = u == 4.0 ? 2 : 1;
          POINT P{};
          ASSERT_EQ(N_surevn(&s.sur, u, v, 1, sv, &P), 0);
          const POINT R = s.point(u, v, su, sv);
          EXPECT_LT(dist(P, R), 1e-13 * (1.0 + norm(R))) << u << " " << v << " " << sv;
          // A constant piece in v: the point is that of control column j.
          const int j = v == 0.25 ? (sv == 1 ? 1 : 0) : (v < 0.25 ? 0 : (v <= 0.5 ? 1 : 2));
          if (v != 0.5 && v != 1.0) {
            std::vector<std::vector<CPOINT>> column;
            for (const auto &r : s.rows) column.push_back({r[j]});
            SurfaceData col(column, s.U, {0, 1}, 3, 0);
            POINT C{};
            ASSERT_EQ(N_surevn(&col.sur, u, 0.5, 1, 1, &C), 0);
            EXPECT_LT(dist(P, C), 1e-13 * (1.0 + norm(C)));
          }
        }
    POINT P{};
    EXPECT_EQ(N_surevn(&s.sur, 2.5, 0.5, 1, 1, &P), 1);
    EXPECT_TRUE(HasError(6, "N_KNTALB"));
    EXPECT_EQ(N_surevn(&s.sur, 4.25, 0.5, 2, 1, &P), 1);
    EXPECT_TRUE(HasError(6, "N_KNTALB"));
  }
}
