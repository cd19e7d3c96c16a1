// Surface points, partial derivatives, normals and basis-product tables
// against the full tensor-product reference, central differences and exact
// sphere and cylinder patches.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "core/internal.hpp"
#include "eval/surface_reference.hpp"
#include "test_support.hpp"

using evaltest::dist;
using evaltest::norm;
using evaltest::SurfaceData;
using orvo_test::HasError;

namespace {

// Every knot and a few random parameters.
std::vector<double> params(const std::vector<double> &U, std::mt19937 &rng, int extra) {
  std::vector<double> us(U);
  for (int i = 0; i < extra; ++i) us.push_back(std::uniform_real_distribution<double>(0, 1)(rng));
  return us;
}

SurfaceData random_surface(int p, int q, bool three_d, bool rational, std::mt19937 &rng) {
  return SurfaceData(evaltest::random_net(p + 3, q + 4, three_d, rational, rng),
                     evaltest::random_knots(p + 3, p, rng, p >= 2 ? 2 : 0),
                     evaltest::random_knots(q + 4, q, rng, q >= 2 ? 3 : 0), p, q);
}

// Rational quadratic arcs: weights 1, sqrt(1/2), 1 per quarter turn.
const double kS = std::sqrt(0.5);
// Octant of the unit sphere: the quarter meridian from (1, 0, 0) to the
// pole revolved a quarter turn about z; the pole row is one point.
std::vector<std::vector<CPOINT>> sphere_octant() {
  const double mx[] = {1, 1, 0}, mz[] = {0, 1, 1}, w3[] = {1, kS, 1};
  std::vector<std::vector<CPOINT>> net(3);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      const double w = w3[i] * w3[j], x = j < 2 ? mx[i] : 0.0, y = j > 0 ? mx[i] : 0.0;
      net[i].push_back(CPOINT{w * x, w * y, w * mz[i], w});
    }
  return net;
}

// p2d and r4d output tables over one block, filled with a sentinel.
struct PointRows {
  std::vector<POINT> data;
  std::vector<POINT *> rows;
  PointRows(int k, int l) : data((k + 1) * (l + 1), POINT{-7, -7, -7}) {
    for (int a = 0; a <= k; ++a) rows.push_back(data.data() + a * (l + 1));
  }
  POINT **get() { return rows.data(); }
};

struct Table4 {
  std::vector<double> data;
  std::vector<double *> r1;
  std::vector<double **> r2;
  std::vector<double ***> r3;
  Table4(int k, int l, int p, int q) : data((k + 1) * (l + 1) * (p + 1) * (q + 1), -7.0) {
    for (int r = 0; r < (k + 1) * (l + 1) * (p + 1); ++r) r1.push_back(&data[r * (q + 1)]);
    for (int r = 0; r < (k + 1) * (l + 1); ++r) r2.push_back(&r1[r * (p + 1)]);
    for (int a = 0; a <= k; ++a) r3.push_back(&r2[a * (l + 1)]);
  }
  double ****get() { return r3.data(); }
};

}  // namespace

TEST(SurfaceEval, PointsAndDerivativesMatchTheReference) {
  std::mt19937 rng(5);
  const int degrees[][2] = {{1, 1}, {1, 3}, {2, 2}, {3, 1}, {3, 3}, {4, 2}, {4, 4}, {5, 5}};
  for (bool rational : {false, true})
    for (bool three_d : {false, true})
      for (const auto &d : degrees) {
        SurfaceData s = random_surface(d[0], d[1], three_d, rational, rng);
        for (double u : params(s.U, rng, 3))
          for (double v : params(s.V, rng, 2))
            for (int16_t su : {1, 2})
              for (int16_t sv : {1, 2}) {
                const auto R = s.derivatives(u, v, su, sv, 2, 2);
                double scale = 1.0;  // derivatives grow with inverse knot gaps
                for (const auto &row : R)
                  for (const POINT &x : row) scale = std::max(scale, norm(x));
                POINT P{}, Pn{};
                VECTOR T[3];  // unit tangents in u and v, unit normal
                PointRows rect(2, 2), tri(2, 2), first(1, 1);
                ASSERT_EQ(N_surevn(&s.sur, u, v, su, sv, &P), 0);
                ASSERT_EQ(N_surder(&s.sur, u, v, su, sv, 2, 2, 2, rect.get()), 0);
                ASSERT_EQ(N_surder(&s.sur, u, v, su, sv, 1, 2, 2, tri.get()), 0);
                ASSERT_EQ(N_surder(&s.sur, u, v, su, sv, 1, 1, 1, first.get()), 0);
                ASSERT_EQ(N_surnor(&s.sur, u, v, su, sv, &Pn, &T[0], &T[1], &T[2]), 0);
                EXPECT_LT(dist(P, R[0][0]), 1e-13 * scale) << d[0] << d[1] << " " << u << " " << v;
                // The first-order request: S, Su, Sv and nothing else; the
                // normal routine: the point and the unit vectors of Su, Sv
                // and their cross product.
                const POINT ref[3] = {R[0][0], R[1][0], R[0][1]};
                const POINT got[3] = {first.get()[0][0], first.get()[1][0], first.get()[0][1]};
                EXPECT_EQ(first.get()[1][1].x, -7.0);
                EXPECT_LT(dist(Pn, R[0][0]), 1e-13 * scale);
                const POINT cr{ref[1].y * ref[2].z - ref[1].z * ref[2].y,
                               ref[1].z * ref[2].x - ref[1].x * ref[2].z,
                               ref[1].x * ref[2].y - ref[1].y * ref[2].x};
                const POINT dirs[3] = {ref[1], ref[2], cr};
                for (int k = 0; k < 3; ++k) {
                  EXPECT_LT(dist(got[k], ref[k]), 1e-12 * scale) << k;
                  const double len = norm(dirs[k]);
                  const POINT unit{dirs[k].x / len, dirs[k].y / len, dirs[k].z / len};
                  EXPECT_LT(dist(POINT{T[k].x, T[k].y, T[k].z}, unit), 1e-9) << k;
                }
                EXPECT_TRUE(three_d || P.z == 0.0);
                for (int a = 0; a <= 2; ++a)
                  for (int b = 0; b <= 2; ++b) {
                    EXPECT_LT(dist(rect.get()[a][b], R[a][b]), 1e-12 * scale) << a << b;
                    // The triangle a + b <= 2 only; nothing else is written.
                    EXPECT_EQ(tri.get()[a][b].x == -7.0, a + b > 2);
                    EXPECT_TRUE(rational || (a <= d[0] && b <= d[1]) ||
                                norm(rect.get()[a][b]) == 0.0);
                  }
              }
      }
  // Fifth orders of a rational quintic-quartic net.
  SurfaceData s = random_surface(5, 4, true, true, rng);
  for (double u : {0.0, 0.31, 1.0}) {
    const auto R = s.derivatives(u, 0.77, 1, 1, 5, 5);
    PointRows rect(5, 5);
    ASSERT_EQ(N_surder(&s.sur, u, 0.77, 1, 1, 2, 5, 5, rect.get()), 0);
    for (int a = 0; a <= 5; ++a)
      for (int b = 0; b <= 5; ++b)
        EXPECT_LT(dist(rect.get()[a][b], R[a][b]), 1e-8 * (1.0 + norm(R[a][b]))) << u << a << b;
  }
}

TEST(SurfaceEval, ExactShapesCornersAndNormals) {
  SurfaceData sphere(sphere_octant(), {0, 0, 0, 1, 1, 1}, {0, 0, 0, 1, 1, 1}, 2, 2);
  POINT P{};
  VECTOR Su{}, Sv{}, N{};
  for (int i = 0; i <= 40; ++i)
    for (int j = 0; j <= 40; ++j) {
      const double u = i / 40.0, v = j / 40.0;
      ASSERT_EQ(N_surevn(&sphere.sur, u, v, 1, 2, &P), 0);
      EXPECT_NEAR(norm(P), 1.0, 1e-14) << u << " " << v;
      // Off the pole the unit normal of the sphere is the point itself.
      if (u > 0.95) continue;
      ASSERT_EQ(N_surnor(&sphere.sur, u, v, 1, 1, &P, &Su, &Sv, &N), 0);
      EXPECT_NEAR(std::fabs(N.x * P.x + N.y * P.y + N.z * P.z), 1.0, 1e-13);
      EXPECT_NEAR(Su.x * P.x + Su.y * P.y + Su.z * P.z, 0.0, 1e-13);
      EXPECT_NEAR(Sv.x * Sv.x + Sv.y * Sv.y + Sv.z * Sv.z, 1.0, 1e-15);
    }
  // Corners are the Euclidean corner control points exactly.
  const POINT corners[] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 0, 1}};
  for (int c = 0; c < 4; ++c) {
    ASSERT_EQ(N_surevn(&sphere.sur, c / 2, c % 2, 2, 2, &P), 0);
    EXPECT_TRUE(P.x == corners[c].x && P.y == corners[c].y && P.z == corners[c].z) << c;
  }
  // The plane z = 0 spanned by u along x and v along y; a triangle whose
  // edge u = 0 collapses to the origin, and the sphere's pole.
  const double kW = -DBL_MAX;
  SurfaceData plane({{{0, 0, 0, kW}, {0, 3, 0, kW}}, {{2, 0, 0, kW}, {2, 3, 0, kW}}}, {0, 0, 1, 1},
                    {0, 0, 1, 1}, 1, 1);
  ASSERT_EQ(N_surnor(&plane.sur, 0.25, 0.5, 1, 1, &P, &Su, &Sv, &N), 0);
  EXPECT_TRUE(P.x == 0.5 && P.y == 1.5 && P.z == 0.0);
  EXPECT_TRUE(N.x == 0.0 && N.y == 0.0 && N.z == 1.0);
  EXPECT_TRUE(Su.x == 1.0 && Su.y == 0.0 && Sv.x == 0.0 && Sv.y == 1.0);
  plane.rows[0][1] = plane.rows[0][0];
  E_clrerr();
  EXPECT_EQ(N_surnor(&plane.sur, 0.0, 0.5, 1, 1, &P, &Su, &Sv, &N), 1);
  EXPECT_TRUE(HasError(17, "G_VECNIP"));
  E_clrerr();
  EXPECT_EQ(N_surnor(&sphere.sur, 1.0, 0.5, 1, 1, &P, &Su, &Sv, &N), 1);
  EXPECT_TRUE(HasError(17, "G_VECNIP"));
}

TEST(SurfaceEval, CentralDifferencesAndOneSidedLimits) {
  // A double knot at u = 0.5 of a biquadratic: the u tangent jumps there.
  std::mt19937 rng(8);
  SurfaceData s(evaltest::random_net(4, 4, true, true, rng), {0, 0, 0, 0.5, 0.5, 1, 1, 1},
                {0, 0, 0, 0.4, 0.6, 1, 1, 1}, 2, 2);
  auto eval = [&](double u, double v) {
    POINT P{};
    EXPECT_EQ(N_surevn(&s.sur, u, v, 1, 1, &P), 0);
    return P;
  };
  auto diff = [](POINT a, POINT b, double h) {
    return POINT{(a.x - b.x) / h, (a.y - b.y) / h, (a.z - b.z) / h};
  };
  const double h = 1e-5;
  for (double u : {0.2, 0.7})
    for (double v : {0.15, 0.5, 0.85}) {
      PointRows D(1, 1);
      ASSERT_EQ(N_surder(&s.sur, u, v, 1, 1, 2, 1, 1, D.get()), 0);
      const POINT du = diff(eval(u + h, v), eval(u - h, v), 2 * h);
      const POINT dv = diff(eval(u, v + h), eval(u, v - h), 2 * h);
      EXPECT_LT(dist(D.get()[1][0], du), 1e-6 * (1.0 + norm(du)));
      EXPECT_LT(dist(D.get()[0][1], dv), 1e-6 * (1.0 + norm(dv)));
    }
  PointRows right(1, 1), left(1, 1);
  ASSERT_EQ(N_surder(&s.sur, 0.5, 0.3, 1, 2, 2, 1, 1, right.get()), 0);
  ASSERT_EQ(N_surder(&s.sur, 0.5, 0.3, 2, 2, 2, 1, 1, left.get()), 0);
  EXPECT_LT(dist(right.get()[0][0], left.get()[0][0]), 1e-14);
  const POINT r = diff(eval(0.5 + h, 0.3), eval(0.5, 0.3), h);
  const POINT l = diff(eval(0.5, 0.3), eval(0.5 - h, 0.3), h);
  EXPECT_LT(dist(right.get()[1][0], r), 1e-4 * (1.0 + norm(r)));
  EXPECT_LT(dist(left.get()[1][0], l), 1e-4 * (1.0 + norm(l)));
  EXPECT_GT(dist(r, l), 1e-2);
}

TEST(SurfaceEval, UnclampedDomainAndConstantPieces) {
  // Uniform knots in u: the domain is [3, 4] and its ends are no control
  // points; degree 0 in v: one constant piece per span.
  std::mt19937 rng(14);
  for (bool rational : {false, true}) {
    SurfaceData s(evaltest::random_net(3, 2, true, rational, rng), {0, 1, 2, 3, 4, 5, 6, 7},
                  {0, 0.25, 0.5, 1}, 3, 0);
    for (double u : {3.0, 3.5, 4.0})
      for (double v : {0.0, 0.25, 0.7, 1.0})
        for (int16_t sv : {1, 2}) {
          POINT P{};
          ASSERT_EQ(N_surevn(&s.sur, u, v, 1, sv, &P), 0);
          const POINT R = s.point(u, v, u == 4.0 ? 2 : 1, sv);
          EXPECT_LT(dist(P, R), 1e-13 * (1.0 + norm(R))) << u << " " << v << " " << sv;
        }
    POINT P{};
    EXPECT_EQ(N_surevn(&s.sur, 2.5, 0.5, 1, 1, &P), 1);
    EXPECT_TRUE(HasError(6, "N_KNTALB"));
  }
}

TEST(SurfaceBasisTables, ProductsAndRationalBasisMatchTheReference) {
  std::mt19937 rng(11);
  for (bool rational : {false, true}) {
    SurfaceData s = random_surface(3, 2, true, rational, rng);
    const int p = 3, q = 2;
    for (double u : {0.0, 0.37, s.U[5], 1.0})
      for (double v : {0.0, 0.61, 1.0}) {
        Table4 prod(2, 2, p, q), rat(2, 2, p, q), disp(2, 2, p, q);
        int32_t su = -1, sv = -1, su2, sv2;
        ASSERT_EQ(N_kntabd(&s.sur, u, v, 1, 2, 1, 2, 2, prod.get(), &su, &sv), 0);
        ASSERT_EQ(N_kntasd(&s.sur, u, v, 1, 2, 2, 2, 2, rat.get(), &su2, &sv2), 0);
        ASSERT_EQ(N_kntsad(&s.sur, u, v, 1, 2, 2, 2, 2, disp.get(), &su2, &sv2), 0);
        EXPECT_TRUE(su == su2 && sv == sv2 && disp.data == rat.data);
        PointRows S(2, 2);
        ASSERT_EQ(N_surder(&s.sur, u, v, 1, 2, 2, 2, 2, S.get()), 0);
        for (int a = 0; a <= 2; ++a)
          for (int b = 0; b <= 2; ++b) {
            // Mode 1: the triangle only.
            EXPECT_EQ(prod.get()[a][b][0][0] == -7.0, a + b > 2);
            double sum = 0.0;
            POINT C{0, 0, 0};
            for (int i = 0; i <= p; ++i)
              for (int j = 0; j <= q; ++j) {
                const int gi = su - p + i, gj = sv - q + j;
                const double r = rat.get()[a][b][i][j];
                if (a + b <= 2) {
                  const double ref = evaltest::cox_de_boor_der(s.U, gi, p, a, u, u == 1.0 ? 2 : 1) *
                                     evaltest::cox_de_boor_der(s.V, gj, q, b, v, v == 0.0 ? 1 : 2);
                  EXPECT_NEAR(prod.get()[a][b][i][j], ref, 1e-10 * (1.0 + std::fabs(ref)));
                }
                sum += r;
                const CPOINT &c = s.rows[gi][gj];
                const double w = rational ? c.w : 1.0;
                C = POINT{C.x + r * c.x / w, C.y + r * c.y / w, C.z + r * c.z / w};
                // The single-function routines agree with the table.
                double D[3][3], *Dr[3] = {D[0], D[1], D[2]}, R0 = -1;
                ASSERT_EQ(N_kntrsd(&s.sur, gi, gj, u, v, 1, 2, a, b, Dr), 0);
                EXPECT_NEAR(D[a][b], r, 1e-10 * (1.0 + std::fabs(r)));
                ASSERT_EQ(N_kntrsb(&s.sur, gi, gj, u, v, 1, 2, &R0), 0);
                EXPECT_NEAR(R0, rat.get()[0][0][i][j], 1e-14);
              }
            // Partition of unity; the rational basis reproduces the surface.
            EXPECT_NEAR(sum, a + b == 0 ? 1.0 : 0.0, 1e-9);
            EXPECT_LT(dist(C, S.get()[a][b]), 1e-9 * (1.0 + norm(S.get()[a][b])));
          }
      }
    double R = -1;
    ASSERT_EQ(N_kntrsb(&s.sur, 0, 0, 0.9, 0.5, 1, 1, &R), 0);
    EXPECT_EQ(R, 0.0);  // outside its support
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
  double R = 0.0, Rd[2][2], *Rr[2] = {Rd[0], Rd[1]};
  const SURFACE *S = &s.sur;
  auto expect = [](int16_t status, int32_t code, const char *tag) {
    EXPECT_EQ(status, 1) << tag;
    EXPECT_TRUE(HasError(code, tag));
    E_clrerr();
  };
  // The point evaluator reports parameters and sides as the basis routine.
  expect(N_surevn(S, 1.5, 0.5, 1, 1, &P), 6, "N_KNTALB");
  expect(N_surevn(S, 0.5, NAN, 1, 1, &P), 6, "N_KNTALB");
  expect(N_surevn(S, 0.5, 0.5, 1, 3, &P), 13, "N_KNTALB");
  // The derivative evaluators, those of the basis-product routine of a
  // rational surface; the normal checks its parameters itself first.
  expect(N_surder(S, 0.5, 0.5, 1, 1, 2, 6, 1, D.get()), 20, "N_KNTASD");
  expect(N_surder(S, 0.5, 0.5, 1, 1, 2, 1, -1, D.get()), 20, "N_KNTASD");
  expect(N_surder(S, -0.1, 0.5, 1, 1, 2, 1, 1, D.get()), 6, "N_KNTASD");
  expect(N_surder(S, 0.5, 0.5, 0, 1, 2, 1, 1, D.get()), 13, "N_KNTASD");
  expect(N_surnor(S, 0.5, 2.0, 1, 1, &P, &a, &b, &c), 6, "N_SURNOR");
  expect(N_surnor(S, 0.5, 0.5, 1, 5, &P, &a, &b, &c), 13, "N_KNTASD");
  expect(N_kntabd(S, 0.5, 0.5, 1, 1, 2, 1, 6, T.get(), &su, &sv), 20, "N_KNTABD");
  expect(N_kntasd(S, 0.5, 1.5, 1, 1, 2, 1, 1, T.get(), &su, &sv), 6, "N_KNTASD");
  expect(N_kntsad(S, 0.5, 0.5, 2, 9, 2, 1, 1, T.get(), &su, &sv), 13, "N_KNTSAD");
  expect(N_kntrsb(S, 3, 8, 0.5, 0.5, 1, 1, &R), 7, "N_KNTRSB");
  expect(N_kntrsb(S, -1, 0, 0.5, 0.5, 1, 1, &R), 7, "N_KNTRSB");
  expect(N_kntrsb(S, 0, 0, 0.5, 0.5, 3, 1, &R), 13, "N_KNTRSB");
  expect(N_kntrsd(S, 0, 0, 0.5, -0.5, 1, 1, 1, 1, Rr), 6, "N_KNTRSD");
  expect(N_kntrsd(S, 0, 0, 0.5, 0.5, 1, 1, 6, 1, Rr), 20, "N_KNTRSD");
  EXPECT_TRUE(D.data[0].x == -7.0 && T.data[0] == -7.0);  // no output touched

  // Malformed records: sizes that do not match, a degree above the tables,
  // too few control points, missing parts.
  s.knu.m += 1;
  expect(N_surevn(S, 0.5, 0.5, 1, 1, &P), 2, "N_SUREVN");
  s.knu.m -= 1;
  s.sur.q = 29;
  expect(N_surder(S, 0.5, 0.5, 1, 1, 2, 1, 1, D.get()), 3, "N_SURDER");
  s.sur.q = 3;
  SurfaceData few(evaltest::random_net(1, 3, true, false, rng), {0, 0, 0, 1, 1},
                  {0, 0, 0, 0, 1, 1, 1, 1}, 2, 3);
  expect(N_surevn(&few.sur, 0.5, 0.5, 1, 1, &P), 14, "N_SUREVN");
  SURFACE empty;
  U_inisur(&empty);
  expect(N_surevn(&empty, 0.5, 0.5, 1, 1, &P), 2, "N_SUREVN");
  expect(N_surnor(nullptr, 0.5, 0.5, 1, 1, &P, &a, &b, &c), 2, "N_SURNOR");

  // A rational span holding a non-rational point; vanishing weights.
  s.rows[1][1].w = -DBL_MAX;
  expect(N_surevn(S, 0.1, 0.1, 1, 1, &P), 2, "N_SUREVN");
  expect(N_surder(S, 0.1, 0.1, 1, 1, 2, 1, 1, D.get()), 2, "N_KNTASD");
  for (auto &row : s.rows)
    for (CPOINT &q : row) q.w = 0.0;
  expect(N_surevn(S, 0.5, 0.5, 1, 1, &P), 11, "N_SUREVN");
  expect(N_surder(S, 0.5, 0.5, 1, 1, 2, 1, 1, D.get()), 11, "N_KNTASD");
  expect(N_kntasd(S, 0.5, 0.5, 1, 1, 2, 1, 1, T.get(), &su, &sv), 11, "N_KNTASD");
  expect(N_kntrsd(S, 1, 1, 0.5, 0.5, 1, 1, 1, 1, Rr), 11, "N_KNTRSD");
  EXPECT_EQ(D.data[0].x, -7.0);
}
