// Curve fitting: parameters and knots by hand, interpolants back at their data and end
// derivatives, least-squares residuals, a large data set, and every refusal.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <tuple>
#include <utility>
#include <vector>

#include "test_support.hpp"

using namespace orvo_test;

namespace {

using Points = std::vector<POINT>;
// n + 1 points on an unevenly sampled helix (or its plane shadow).
Points sample(int n, bool three_d, double scale = 1.0) {
  Points Q;
  for (int k = 0; k <= n; ++k) {
    const double s = 6.0 * (k + 0.3 * std::sin(1.7 * k)) / n;
    Q.push_back(POINT{scale * std::cos(s), scale * std::sin(s), three_d ? scale * s : kZ2D});
  }
  return Q;
}

double gap(const POINT &a, const POINT &b) {
  const double dz = (a.z == kZ2D || b.z == kZ2D) ? 0.0 : a.z - b.z;
  return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + dz * dz);
}

POINT der(const CURVE &c, double u, int16_t d = 0) {
  POINT D[2];
  EXPECT_EQ(N_curder(&c, u, 1, d, D), 0);
  return D[d];
}

// The non-rational curve meets Q[k] at t[k] and is planar when the data are.
void expect_through(const CURVE &c, const Points &Q, int16_t ptype, double tol) {
  const int32_t n = static_cast<int32_t>(Q.size()) - 1;
  std::vector<double> t(Q.size());
  ASSERT_EQ(N_fitcpa(Q.data(), n, 1, ptype, t.data()), 0);
  for (int32_t k = 0; k <= n; ++k) EXPECT_LE(gap(der(c, t[k]), Q[k]), tol) << k;
  EXPECT_TRUE((c.pol->Pw[0].z == kZ2D) == (Q[0].z == kZ2D) && c.pol->Pw[0].w == kWNR);
}

}  // namespace

TEST(FitCurve, ParametersAndKnotRules) {
  const Points line{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}, bent{{0, 0, 0}, {1, 0, 0}, {1, 4, 0}};
  double t[10], f[] = {0.0, 1.0, 5.0};
  const std::pair<std::function<int16_t()>, double> params[] = {
      {[&] { return N_fitcpa(line.data(), 2, 1, 2, t); }, 0.5},
      {[&] { return N_fitcpa(bent.data(), 2, 1, 1, t); }, 0.5},
      {[&] { return N_fitcpa(bent.data(), 2, 1, 2, t); }, 0.2},
      {[&] { return N_fitcpa(bent.data(), 2, 1, 3, t); }, 1.0 / 3.0},
      {[&] { return N_fitfpa(f, 2, 3, t); }, 1.0 / 3.0}};
  for (const auto &[call, t1] : params) {
    ASSERT_EQ(call(), 0);
    EXPECT_TRUE(t[0] == 0.0 && t[2] == 1.0 && std::fabs(t[1] - t1) < 1e-15) << t1;
  }
  for (int k = 0; k <= 9; ++k) t[k] = k * k / 81.0;
  double store[12];
  KNOTVECTOR U{-1, store};
  const double a = (t[1] + t[2]) / 2, b = (t[2] + t[3]) / 2, e = t[4];
  const std::pair<std::function<void()>, std::vector<double>> rules[] = {
      {[&] { N_fitkna(t, 9, 5, 2, &U); }, {0, 0, 0, b, t[4], (t[6] + t[7]) / 2, 1, 1, 1}},
      {[&] { N_fitkni(t, 4, 2, &U); }, {0, 0, 0, a, b, e, e, e}},
      {[&] { N_fitkni(t, 2, 2, &U); }, {0, 0, 0, t[2], t[2], t[2]}},  // n = p: Bezier
      {[&] { N_fitknd(t, 2, 2, &U); }, {0, 0, 0, t[1] / 2, a, t[2], t[2], t[2]}}};
  for (const auto &[call, knots] : rules) {
    call();
    ASSERT_EQ(U.m + 1, static_cast<int32_t>(knots.size()));
    for (int j = 0; j <= U.m; ++j) EXPECT_DOUBLE_EQ(store[j], knots[j]) << j;
  }
}

TEST(FitCurve, InterpolantsMeetDataAndEndConditions) {
  const VECTOR D0{2.0, -1.0, 0.5}, Dn{-1.5, 3.0, 1.0};
  for (bool three_d : {false, true})
    for (int n : {1, 2, 3, 6, 17})
      for (int16_t ptype = 1; ptype <= 3; ++ptype) {
        const Points Q = sample(n, three_d, 1e3);
        const double tol = 1e-12 * 1e3 * (three_d ? 8.0 : 1.0), dz = three_d ? 1.0 : 0.0;
        const POINT e0{D0.x, D0.y, D0.z * dz}, e1{Dn.x, Dn.y, Dn.z * dz};
        SCOPED_TRACE(testing::Message() << "3d " << three_d << " n " << n << " ptype " << ptype);
        Workspace ws;
        for (int16_t p = 1; p <= 5; ++p) {
          CURVE gci{}, gcd{}, csp{};
          if (p <= n) {
            ASSERT_EQ(N_fitgci(Q.data(), n, p, ptype, &gci, ws), 0);
            expect_through(gci, Q, ptype, tol);
          }
          if (p < 2 || p > n + 2) continue;
          ASSERT_EQ(N_fitgcd(Q.data(), n, p, D0, Dn, ptype, &gcd, ws), 0);
          ASSERT_EQ(p == 3 ? N_fitcsp(Q.data(), n, D0, Dn, ptype, &csp, ws) : 0, 0);
          for (const CURVE *c : {&gcd, &csp}) {
            if (U_iscurn(c)) continue;
            expect_through(*c, Q, ptype, tol);
            EXPECT_LE(gap(der(*c, 0.0, 1), e0), tol);
            EXPECT_LE(gap(der(*c, 1.0, 1), e1), tol);
          }
        }
      }
  const double f[] = {1.0, -2.0, 0.5, 3.0, 2.5, -1.0};  // scalar data
  for (int16_t ptype = 1; ptype <= 3; ++ptype)
    for (int16_t p = 1; p <= 5; ++p) {
      Workspace ws;
      CFUNCTION g{};
      double t[6], v;
      ASSERT_EQ(N_fitgfi(f, 5, p, ptype, &g, ws) + N_fitfpa(f, 5, ptype, t), 0);
      for (int k = 0; k <= 5; ++k) EXPECT_NEAR((N_cfnevn(&g, t[k], 1, &v), v), f[k], 3e-12);
    }
}

TEST(FitCurve, LeastSquaresResidualFallsWithMoreControlPoints) {
  const Points Q = sample(60, true);
  std::vector<double> t(Q.size());
  ASSERT_EQ(N_fitcpa(Q.data(), 60, 1, 2, t.data()), 0);
  for (int16_t p = 1; p <= 4; ++p) {
    double previous = INFINITY;
    for (int32_t n = std::max(2, p + 1); n <= 12; ++n) {
      Workspace ws;
      CURVE c{};
      ASSERT_EQ(N_fitgca(Q.data(), 60, n, p, 2, &c, ws), 0);
      EXPECT_LE(gap(der(c, 0.0), Q[0]) + gap(der(c, 1.0), Q[60]), 1e-14);
      double r = 0.0;
      for (int k = 0; k <= 60; ++k) r += std::pow(gap(der(c, t[k]), Q[k]), 2);
      EXPECT_LE(r, std::exchange(previous, r) * (1 + 1e-9)) << p << " " << n;
    }
  }
}

TEST(FitCurve, TenThousandPointsFastAndExact) {
  const Points Q = sample(10000, true, 10.0);
  Workspace ws;
  CURVE c{};
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(N_fitgci(Q.data(), 10000, 3, 2, &c, ws), 0);
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 0.5);
  expect_through(c, Q, 2, 1e-12 * 80.0);
}

TEST(FitCurve, Refusals) {
  const Points Q = sample(4, true), same(4, POINT{1, 2, 3});
  Points rep = sample(10, true);
  std::fill(rep.begin() + 5, rep.begin() + 8, rep[4]);  // four equal parameters
  const VECTOR D{1, 0, 0};
  double t[5];
  Workspace ws;
  CURVE small{};
  ASSERT_EQ(N_fitgci(Q.data(), 2, 2, 1, &small, ws), 0);
  const std::tuple<std::function<int16_t(CURVE *)>, int32_t, const char *> cases[] = {
      {[&](CURVE *c) { return N_fitgci(same.data(), 3, 2, 2, c, ws); }, 11, "N_FITGCI"},
      {[&](CURVE *c) { return N_fitgcd(same.data(), 3, 2, D, D, 3, c, ws); }, 11, "N_FITGCD"},
      {[&](CURVE *c) { return N_fitcsp(rep.data(), 10, D, D, 2, c, ws); }, 11, "N_FITCSP"},
      {[&](CURVE *c) { return N_fitgci(rep.data(), 10, 3, 2, c, ws); }, 11, "M_LUDCMP"},
      {[&](CURVE *c) { return N_fitgci(rep.data(), 10, 2, 2, c, ws); }, 11, "N_FITGCI"},
      {[&](CURVE *) { return N_fitcpa(Q.data(), 4, 3, 2, t); }, 13, "N_FITCPA"},
      {[&](CURVE *) { return N_fitcpa(Q.data(), 0, 1, 1, t); }, 14, "N_FITCPA"},
      {[&](CURVE *c) { return N_fitgci(Q.data(), 2, 3, 1, c, ws); }, 14, "N_FITGCI"},
      {[&](CURVE *c) { return N_fitgcd(Q.data(), 1, 4, D, D, 1, c, ws); }, 14, "N_FITGCD"},
      {[&](CURVE *c) { return N_fitcsp(Q.data(), 0, D, D, 1, c, ws); }, 14, "N_FITCSP"},
      {[&](CURVE *c) { return N_fitgca(Q.data(), 4, 3, 3, 1, c, ws); }, 14, "N_FITGCA"},
      {[&](CURVE *c) { return N_fitgci(Q.data(), 4, 0, 1, c, ws); }, 3, "N_FITGCI"},
      {[&](CURVE *c) { return N_fitgci(nullptr, 4, 2, 1, c, ws); }, 7, "N_FITGCI"},
      {[&](CURVE *) { return N_fitgci(Q.data(), 4, 2, 1, &small, ws); }, 9, "N_FITGCI"}};
  for (const auto &[call, code, tag] : cases) {
    CURVE out{};
    const size_t before = total_blocks(ws.ws);
    EXPECT_EQ(call(&out), 1) << tag << " " << code;
    expect_error(code, tag);
    EXPECT_TRUE(U_iscurn(&out));  // a failed fit leaves its output and ws as they were
    EXPECT_EQ(total_blocks(ws.ws), before);
  }
}
