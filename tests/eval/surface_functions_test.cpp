// Scalar surface functions, the denominator function of a rational
// surface and power-form surfaces.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "eval/surface_reference.hpp"
#include "orvo/orvo.h"
#include "test_support.hpp"

using evaltest::SurfaceData;
using orvo_test::HasError;
using orvo_test::Workspace;

namespace {

// A scalar function over test-owned arrays.
struct FunctionData {
  std::vector<std::vector<double>> values;
  std::vector<double *> rows;
  std::vector<double> U, V;
  SVLIST svl{};
  KNOTVECTOR knu{}, knv{};
  SFUNCTION sfn{};
  FunctionData(std::vector<std::vector<double>> vals, std::vector<double> u, std::vector<double> v,
               int p, int q)
      : values(std::move(vals)), U(std::move(u)), V(std::move(v)) {
    for (auto &r : values) rows.push_back(r.data());
    svl = SVLIST{static_cast<int32_t>(values.size()) - 1,
                 static_cast<int32_t>(values[0].size()) - 1, rows.data()};
    knu = KNOTVECTOR{static_cast<int32_t>(U.size()) - 1, U.data()};
    knv = KNOTVECTOR{static_cast<int32_t>(V.size()) - 1, V.data()};
    sfn = SFUNCTION{&svl, static_cast<int16_t>(p), static_cast<int16_t>(q), &knu, &knv};
  }
};

// The reference value of derivative (a, b) of a scalar function: the
// tensor-product sum over all coefficients.
double reference(const FunctionData &f, int a, int b, double u, double v, int su, int sv) {
  su = u == f.U.front() ? 1 : (u == f.U.back() ? 2 : su);
  sv = v == f.V.front() ? 1 : (v == f.V.back() ? 2 : sv);
  double s = 0.0;
  for (size_t i = 0; i < f.values.size(); ++i)
    for (size_t j = 0; j < f.values[i].size(); ++j)
      s += evaltest::cox_de_boor_der(f.U, static_cast<int>(i), f.sfn.p, a, u, su) *
           evaltest::cox_de_boor_der(f.V, static_cast<int>(j), f.sfn.q, b, v, sv) * f.values[i][j];
  return s;
}

}  // namespace

TEST(SurfaceFunctions, ValuesAndDerivativesMatchTheReference) {
  std::mt19937 rng(3);
  std::uniform_real_distribution<double> d(-3.0, 3.0);
  const int p = 3, q = 2, n = 6, m = 5;
  std::vector<std::vector<double>> vals(n + 1, std::vector<double>(m + 1));
  for (auto &r : vals)
    for (double &x : r) x = d(rng);
  FunctionData f(vals, evaltest::random_knots(n, p, rng, 2), evaltest::random_knots(m, q, rng), p,
                 q);
  std::vector<double> us(f.U), vs(f.V);
  us.push_back(0.123);
  vs.push_back(0.877);
  for (double u : us)
    for (double v : vs)
      for (int16_t su : {1, 2})
        for (int16_t sv : {1, 2}) {
          double val = 0.0;
          ASSERT_EQ(N_sfnevn(&f.sfn, u, v, su, sv, &val), 0);
          EXPECT_NEAR(val, reference(f, 0, 0, u, v, su, sv), 1e-12);
          // Orders above the degrees are zero.
          double F[5][4], *rows[5] = {F[0], F[1], F[2], F[3], F[4]};
          ASSERT_EQ(N_sfnder(&f.sfn, u, v, su, sv, 4, 3, rows), 0);
          for (int a = 0; a <= 4; ++a)
            for (int b = 0; b <= 3; ++b) {
              const double r = reference(f, a, b, u, v, su, sv);
              EXPECT_NEAR(F[a][b], r, 1e-9 * (1.0 + std::fabs(r))) << u << " " << v << a << b;
              if (a > p || b > q) {
                EXPECT_EQ(F[a][b], 0.0);
              }
            }
        }
}

TEST(SurfaceFunctions, DenominatorOfARationalSurface) {
  std::mt19937 rng(4);
  SurfaceData s(evaltest::random_net(4, 3, true, true, rng), evaltest::random_knots(4, 2, rng),
                evaltest::random_knots(3, 3, rng), 2, 3);
  Workspace ws;
  SFUNCTION den;
  U_inisfn(&den);
  ASSERT_EQ(U_exsden(&s.sur, &den, ws), 0);
  EXPECT_EQ(den.svl->n, 4);
  EXPECT_EQ(den.svl->m, 3);
  EXPECT_EQ(den.p, 2);
  EXPECT_EQ(den.q, 3);
  EXPECT_EQ(std::vector<double>(den.knv->U, den.knv->U + 8), s.V);
  EXPECT_EQ(std::vector<double>(den.knu->U, den.knu->U + 8), s.U);
  EXPECT_EQ(den.svl->values[3][2], s.rows[3][2].w);
  // Evaluated, it is the weight sum of the reference.
  for (double u : {0.0, 0.4, 1.0})
    for (double v : {0.2, 1.0}) {
      double W = 0.0;
      ASSERT_EQ(N_sfnevn(&den, u, v, 1, 1, &W), 0);
      EXPECT_NEAR(W, s.hom_derivative(0, 0, u, v, 1, 1)[3], 1e-13);
    }
  // A non-empty output record that is too small is refused.
  den.svl->n = 2;
  E_clrerr();
  EXPECT_EQ(U_exsden(&s.sur, &den, ws), 1);
  EXPECT_TRUE(HasError(9, "U_EXSDEN"));
  EXPECT_EQ(U_exsden(nullptr, &den, ws), 1);
  EXPECT_TRUE(HasError(2, "U_EXSDEN"));
}

TEST(SurfaceFunctions, RefusedInputsFailWithTheirCodes) {
  FunctionData f({{1, 2}, {3, 4}}, {0, 0, 1, 1}, {0, 0, 1, 1}, 1, 1);
  double val = 0.0, F[2][2], *rows[2] = {F[0], F[1]};
  E_clrerr();
  EXPECT_EQ(N_sfnevn(&f.sfn, 0.5, 1.5, 1, 1, &val), 1);
  EXPECT_TRUE(HasError(6, "N_SFNEVN"));
  EXPECT_EQ(N_sfnevn(&f.sfn, 0.5, 0.5, 0, 1, &val), 1);
  EXPECT_TRUE(HasError(13, "N_SFNEVN"));
  EXPECT_EQ(N_sfnder(&f.sfn, -1.0, 0.5, 1, 1, 1, 1, rows), 1);
  EXPECT_TRUE(HasError(6, "N_SFNDER"));
  EXPECT_EQ(N_sfnder(&f.sfn, 0.5, 0.5, 1, 1, -1, 1, rows), 1);
  EXPECT_TRUE(HasError(20, "N_SFNDER"));
  f.knv.m = 4;
  EXPECT_EQ(N_sfnevn(&f.sfn, 0.5, 0.5, 1, 1, &val), 1);
  EXPECT_TRUE(HasError(2, "N_SFNEVN"));
  EXPECT_EQ(N_sfnder(nullptr, 0.5, 0.5, 1, 1, 1, 1, rows), 1);
  EXPECT_TRUE(HasError(2, "N_SFNDER"));
  // The bilinear coefficients 1, 2, 3, 4 give f(u, v) = 1 + 2u + v exactly.
  f.knv.m = 3;
  ASSERT_EQ(N_sfnevn(&f.sfn, 0.5, 0.5, 1, 1, &val), 0);
  EXPECT_EQ(val, 2.5);
  ASSERT_EQ(N_sfnder(&f.sfn, 0.25, 0.5, 1, 1, 1, 1, rows), 0);
  EXPECT_EQ(F[1][0], 2.0);
  EXPECT_EQ(F[0][1], 1.0);
  EXPECT_EQ(F[1][1], 0.0);
}

TEST(PowerFormSurfaces, NestedHornerMatchesTheDoubleSum) {
  // S(u, v) = sum of Pw[i][j] u^i v^j with homogeneous coefficients.
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> d(-1.0, 1.0);
  const int n = 3, m = 2;
  for (bool rational : {false, true}) {
    std::vector<std::vector<CPOINT>> c(n + 1, std::vector<CPOINT>(m + 1));
    for (auto &r : c)
      for (CPOINT &x : r) x = CPOINT{d(rng), d(rng), d(rng), rational ? d(rng) : -DBL_MAX};
    if (rational) c[0][0].w = 5.0;  // keeps the weight sum away from zero
    std::vector<CPOINT *> rows;
    for (auto &r : c) rows.push_back(r.data());
    Workspace ws;
    SURFACE sur;
    ASSERT_EQ(U_makspl(&sur, rows.data(), n, m, -1.0, 2.0, 0.5, 1.5, ws), 0);
    for (double u : {-1.0, 0.3, 2.0})
      for (double v : {0.5, 1.1, 1.5}) {
        double s[4] = {};
        for (int i = 0; i <= n; ++i)
          for (int j = 0; j <= m; ++j) {
            const double f = std::pow(u, i) * std::pow(v, j);
            s[0] += f * c[i][j].x;
            s[1] += f * c[i][j].y;
            s[2] += f * c[i][j].z;
            s[3] += f * (rational ? c[i][j].w : 0.0);
          }
        const double w = rational ? s[3] : 1.0;
        POINT P{}, Q{};
        ASSERT_EQ(N_splevn(&sur, u, v, &P), 0);
        M_splevn(rows.data(), n, m, u, v, &Q);
        EXPECT_NEAR(P.x, s[0] / w, 1e-12);
        EXPECT_NEAR(P.y, s[1] / w, 1e-12);
        EXPECT_NEAR(P.z, s[2] / w, 1e-12);
        EXPECT_EQ(P.x, Q.x);
        EXPECT_EQ(P.z, Q.z);
      }
    POINT P{};
    E_clrerr();
    EXPECT_EQ(N_splevn(&sur, 2.5, 1.0, &P), 1);
    EXPECT_TRUE(HasError(6, "N_SPLEVN"));
    EXPECT_EQ(N_splevn(&sur, 0.0, 0.4, &P), 1);
    EXPECT_TRUE(HasError(6, "N_SPLEVN"));
    // A single coefficient is the Euclidean point itself.
    M_splevn(rows.data(), 0, 0, 7.0, 9.0, &P);
    EXPECT_EQ(P.x, rational ? c[0][0].x / 5.0 : c[0][0].x);
  }
  POINT P{};
  E_clrerr();
  M_splevn(nullptr, 1, 1, 0.0, 0.0, &P);
  EXPECT_TRUE(HasError(7, "M_SPLEVN"));
  EXPECT_EQ(N_splevn(nullptr, 0.0, 0.0, &P), 1);
  EXPECT_TRUE(HasError(2, "N_SPLEVN"));
}
