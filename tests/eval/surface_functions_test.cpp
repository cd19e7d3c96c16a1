// Scalar surface functions, the denominator function of a rational surface
// and power-form surfaces.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "eval/surface_reference.hpp"
#include "test_support.hpp"

using evaltest::SurfaceData;
using orvo_test::HasError;
using orvo_test::Workspace;

TEST(SurfaceFunctions, ValuesDerivativesAndTheDenominator) {
  // The denominator of a rational surface is a scalar function: its values
  // and derivatives are the weight sums of the reference.
  std::mt19937 rng(3);
  SurfaceData s(evaltest::random_net(6, 5, true, true, rng), evaltest::random_knots(6, 3, rng, 2),
                evaltest::random_knots(5, 2, rng), 3, 2);
  Workspace ws;
  SFUNCTION f;
  U_inisfn(&f);
  ASSERT_EQ(U_exsden(&s.sur, &f, ws), 0);
  EXPECT_TRUE(f.svl->n == 6 && f.svl->m == 5 && f.p == 3 && f.q == 2);
  EXPECT_EQ(std::vector<double>(f.knu->U, f.knu->U + 11), s.U);
  EXPECT_EQ(f.svl->values[4][2], s.rows[4][2].w);
  for (double u : {0.0, s.U[4], 0.123, 1.0})
    for (double v : {0.0, s.V[3], 0.877, 1.0})
      for (int16_t su : {1, 2})
        for (int16_t sv : {1, 2}) {
          double val = 0.0, F[5][4], *rows[5] = {F[0], F[1], F[2], F[3], F[4]};
          ASSERT_EQ(N_sfnevn(&f, u, v, su, sv, &val), 0);
          EXPECT_NEAR(val, s.hom_derivative(0, 0, u, v, su, sv)[3], 1e-12);
          ASSERT_EQ(N_sfnder(&f, u, v, su, sv, 4, 3, rows), 0);
          for (int a = 0; a <= 4; ++a)
            for (int b = 0; b <= 3; ++b) {
              const double r = s.hom_derivative(a, b, u, v, su, sv)[3];
              EXPECT_NEAR(F[a][b], r, 1e-9 * (1.0 + std::fabs(r))) << u << " " << v << a << b;
              EXPECT_TRUE((a <= 3 && b <= 2) || F[a][b] == 0.0);  // above the degrees
            }
        }
  // Refusals: a record too small, a missing surface, bad arguments.
  f.svl->n = 2;
  E_clrerr();
  EXPECT_TRUE(U_exsden(&s.sur, &f, ws) == 1 && HasError(9, "U_EXSDEN"));
  EXPECT_TRUE(U_exsden(nullptr, &f, ws) == 1 && HasError(2, "U_EXSDEN"));
  f.svl->n = 6;
  double val = 0.0, F[2][2], *rows[2] = {F[0], F[1]};
  EXPECT_TRUE(N_sfnevn(&f, 0.5, 1.5, 1, 1, &val) == 1 && HasError(6, "N_SFNEVN"));
  EXPECT_TRUE(N_sfnevn(&f, 0.5, 0.5, 0, 1, &val) == 1 && HasError(13, "N_SFNEVN"));
  EXPECT_TRUE(N_sfnder(&f, -1.0, 0.5, 1, 1, 1, 1, rows) == 1 && HasError(6, "N_SFNDER"));
  EXPECT_TRUE(N_sfnder(&f, 0.5, 0.5, 1, 1, -1, 1, rows) == 1 && HasError(20, "N_SFNDER"));
  f.knv->m = 4;
  EXPECT_TRUE(N_sfnevn(&f, 0.5, 0.5, 1, 1, &val) == 1 && HasError(2, "N_SFNEVN"));
  EXPECT_TRUE(N_sfnder(nullptr, 0.5, 0.5, 1, 1, 1, 1, rows) == 1 && HasError(2, "N_SFNDER"));
}

TEST(PowerFormSurfaces, NestedHornerMatchesTheDoubleSum) {
  // S(u, v) = sum of Pw[i][j] u^i v^j with homogeneous coefficients.
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> d(-1.0, 1.0);
  const int n = 3, m = 2;
  for (bool rational : {false, true}) {
    std::vector<std::vector<CPOINT>> c(n + 1, std::vector<CPOINT>(m + 1));
    std::vector<CPOINT *> rows;
    for (auto &r : c) {
      for (CPOINT &x : r) x = CPOINT{d(rng), d(rng), d(rng), rational ? d(rng) : -DBL_MAX};
      rows.push_back(r.data());
    }
    if (rational) c[0][0].w = 5.0;  // keeps the weight sum away from zero
    Workspace ws;
    SURFACE sur;
    ASSERT_EQ(U_makspl(&sur, rows.data(), n, m, -1.0, 2.0, 0.5, 1.5, ws), 0);
    for (double u : {-1.0, 0.3, 2.0})
      for (double v : {0.5, 1.1, 1.5}) {
        double s[4] = {};
        for (int i = 0; i <= n; ++i)
          for (int j = 0; j <= m; ++j) {
            const double f = std::pow(u, i) * std::pow(v, j);
            const double h[4] = {c[i][j].x, c[i][j].y, c[i][j].z, rational ? c[i][j].w : 0.0};
            for (int k = 0; k < 4; ++k) s[k] += f * h[k];
          }
        const double w = rational ? s[3] : 1.0;
        POINT P{}, Q{};
        ASSERT_EQ(N_splevn(&sur, u, v, &P), 0);
        M_splevn(rows.data(), n, m, u, v, &Q);
        EXPECT_NEAR(P.x, s[0] / w, 1e-12);
        EXPECT_NEAR(P.y, s[1] / w, 1e-12);
        EXPECT_NEAR(P.z, s[2] / w, 1e-12);
        EXPECT_TRUE(P.x == Q.x && P.y == Q.y && P.z == Q.z);
      }
    POINT P{};
    E_clrerr();
    EXPECT_TRUE(N_splevn(&sur, 2.5, 1.0, &P) == 1 && HasError(6, "N_SPLEVN"));
    EXPECT_TRUE(N_splevn(&sur, 0.0, 0.4, &P) == 1 && HasError(6, "N_SPLEVN"));
    M_splevn(rows.data(), 0, 0, 7.0, 9.0, &P);  // one coefficient: its point
    EXPECT_EQ(P.x, rational ? c[0][0].x / 5.0 : c[0][0].x);
  }
  POINT P{};
  E_clrerr();
  M_splevn(nullptr, 1, 1, 0.0, 0.0, &P);
  EXPECT_TRUE(HasError(7, "M_SPLEVN"));
  EXPECT_TRUE(N_splevn(nullptr, 0.0, 0.0, &P) == 1 && HasError(2, "N_SPLEVN"));
}
