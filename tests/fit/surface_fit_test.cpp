// Surface fitting: grid parameters by hand, interpolants through every grid point, line solves,
// least-squares corners, residuals and reproduction, refusals.
#include <cmath>
#include <functional>
#include <tuple>
#include <utility>
#include <vector>

#include "test_support.hpp"

using namespace orvo_test;

namespace {

// A grid Q[0..n][0..m] owned by the test, as POINT rows and as non-rational CPOINT rows.
struct Grid {
  std::vector<std::vector<POINT>> rows;
  std::vector<std::vector<CPOINT>> crows;
  std::vector<POINT *> table;
  std::vector<CPOINT *> ctable;
  Grid(int n, int m, const std::function<POINT(int, int)> &f) : rows(n + 1), crows(n + 1) {
    for (int i = 0; i <= n; ++i) {
      for (int j = 0; j <= m; ++j) rows[i].push_back(f(i, j));
      for (const POINT &p : rows[i]) crows[i].push_back(CPOINT{p.x, p.y, p.z, kWNR});
      table.push_back(rows[i].data());
      ctable.push_back(crows[i].data());
    }
  }
  POINT *const *q() const { return table.data(); }
  const void *of_kind(int kind) const {
    return kind == 1 ? static_cast<const void *>(table.data()) : ctable.data();
  }
};

// A wavy cap of radius 10 from pole (i = 0, all points equal) to pole (i = n), unevenly
// spaced; z is the 2-D marker when flat.
Grid dome(int n, int m, bool flat = false) {
  return Grid(n, m, [=](int i, int j) {
    const double a = 3.0 * (i + 0.2 * std::sin(1.3 * i)) / n, b = 4.0 * (j + 0.3 * std::sin(j)) / m;
    const double r = 10.0 * std::sin(a) * (1.0 + 0.1 * std::cos(3.0 * b));
    return POINT{r * std::cos(b), r * std::sin(b), flat ? kZ2D : 10.0 * std::cos(a)};
  });
}

double gap(const POINT &a, const POINT &b) {
  const double dz = (a.z == kZ2D || b.z == kZ2D) ? 0.0 : a.z - b.z;
  return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + dz * dz);
}

// Largest and summed squared distance of S(uk[i], vl[j]) from Q[i][j].
std::pair<double, double> residual(const SURFACE &S, const Grid &G, int16_t ptype) {
  const int n = static_cast<int>(G.rows.size()) - 1, m = static_cast<int>(G.rows[0].size()) - 1;
  std::vector<double> uk(n + 1), vl(m + 1);
  EXPECT_EQ(N_fitspa(G.q(), n, m, 1, ptype, uk.data(), vl.data()), 0);
  double worst = 0.0, sum = 0.0;
  for (int i = 0; i <= n; ++i)
    for (int j = 0; j <= m; ++j) {
      POINT P{};
      EXPECT_EQ(N_surevn(&S, uk[i], vl[j], 1, 1, &P), 0);
      const double d = gap(P, G.rows[i][j]);
      worst = std::max(worst, d), sum += d * d;
    }
  return {worst, sum};
}

}  // namespace

TEST(FitSurface, GridParametersAverageTheNonDegenerateLines) {
  // Row 2 is a pole; its v line is left out of vl, which is 0.5 for every ptype.
  const std::vector<std::vector<POINT>> pts{{{0, 0, 0}, {0, 1, 0}, {0, 3, 0}},
                                            {{1, 0, 0}, {1, 2, 0}, {1, 3, 0}},
                                            {{2, 0, 0}, {2, 0, 0}, {2, 0, 0}}};
  const Grid G(2, 2, [&](int i, int j) { return pts[i][j]; });
  const double r2 = std::sqrt(2.0), r5 = std::sqrt(5.0), r10 = std::sqrt(10.0);
  const double q2 = std::sqrt(r2), q5 = std::sqrt(r5), q10 = std::sqrt(r10);
  const std::tuple<int16_t, int16_t, double> cases[] = {
      {1, 1, 0.5},
      {1, 2, (0.5 + r2 / (r2 + r5) + 1.0 / (1.0 + r10)) / 3.0},
      {2, 3, (0.5 + q2 / (q2 + q5) + 1.0 / (1.0 + q10)) / 3.0}};
  for (const auto &[kind, ptype, u1] : cases) {
    double uk[3], vl[3];
    ASSERT_EQ(N_fitspa(G.of_kind(kind), 2, 2, kind, ptype, uk, vl), 0);
    EXPECT_TRUE(uk[0] == 0.0 && uk[2] == 1.0 && vl[0] == 0.0 && vl[2] == 1.0);
    EXPECT_TRUE(std::fabs(uk[1] - u1) < 1e-15 && std::fabs(vl[1] - 0.5) < 1e-15) << ptype;
  }
}

TEST(FitSurface, InterpolantPassesThroughEveryGridPoint) {
  // n, m, p, q, ptype, planar
  const std::tuple<int, int, int16_t, int16_t, int16_t, bool> cases[] = {
      {12, 9, 3, 2, 2, false}, {12, 9, 1, 1, 1, false}, {5, 4, 5, 4, 3, false},
      {9, 14, 2, 5, 3, false}, {8, 7, 3, 3, 2, true},   {199, 199, 3, 3, 2, false}};
  for (const auto &[n, m, p, q, ptype, flat] : cases) {
    const Grid G = dome(n, m, flat);
    Workspace ws;
    SURFACE S{};
    ASSERT_EQ(N_fitgsi(G.q(), n, m, p, q, ptype, &S, ws), 0);
    EXPECT_LE(residual(S, G, ptype).first, 1e-12 * 20.0) << n << " " << p;  // the grid spans 20
    EXPECT_TRUE(S.knu->m == n + p + 1 && S.knv->m == m + q + 1);
    const CPOINT &c = S.net->Pw[n][m];
    EXPECT_TRUE(c.w == kWNR && (c.z == kZ2D) == flat);
    EXPECT_TRUE(p + q > 2 || (c.x == G.rows[n][m].x && c.y == G.rows[n][m].y));  // the grid
  }
}

TEST(FitSurface, LineSolveTakesTheRightLine) {
  Workspace ws;
  RMATRIX LU{};  // the factors of 2 I: a solve halves the line
  ASSERT_EQ(M_getrma(&LU, 3, 3, ORVO_FULL, 0, ws), 0);
  for (int k = 0; k < 16; ++k) LU.a[k / 4][k % 4] = k % 5 ? 0.0 : 2.0;
  const Grid G = dome(3, 3);
  for (int e = 0; e < 16; ++e) {  // both directions and kinds, every line
    const int16_t dir = 1 + e / 8, kind = 1 + e / 4 % 2;
    const int32_t index = e % 4;
    CPOINT out[4];
    ASSERT_EQ(N_fitcfs(G.of_kind(kind), 3, 3, dir, index, kind, &LU, out), 0);
    for (int k = 0; k <= 3; ++k) {
      const POINT &q = dir == 1 ? G.rows[k][index] : G.rows[index][k];
      EXPECT_TRUE(out[k].x == q.x / 2 && out[k].y == q.y / 2 && out[k].z == q.z / 2) << e;
      EXPECT_EQ(out[k].w, kWNR);
    }
  }
}

TEST(FitSurface, ApproximationKeepsCornersAndResidualFalls) {
  // Doubling the spans (k of them: n = k + p - 1) refines the knots of the previous fit, so the
  // residual cannot grow; the corners stay on the grid's corners.
  const Grid G = dome(30, 24);
  for (int16_t ptype = 1; ptype <= 3; ++ptype) {
    double previous = INFINITY;
    for (int32_t k = 2; k <= 16; k *= 2) {
      Workspace ws;
      SURFACE S{};
      ASSERT_EQ(N_fitgsa(G.q(), 30, 24, k + 2, k + 1, 3, 2, ptype, &S, ws), 0);
      const double sum = residual(S, G, ptype).second;
      EXPECT_LE(sum, std::exchange(previous, sum) * (1 + 1e-9)) << ptype << " " << k;
      for (int c = 0; c < 4; ++c) {
        const CPOINT &P = S.net->Pw[(k + 2) * (c / 2)][(k + 1) * (c % 2)];
        EXPECT_EQ(gap({P.x, P.y, P.z}, G.rows[30 * (c / 2)][24 * (c % 2)]), 0.0);
      }
    }
  }
  // Data on (u, v, f(u, v)) with f of degree <= (p, q), at uniform parameters, lie in every
  // space of the approximation and come back exactly, also with two control points a side.
  const std::tuple<int, int, int, int, int16_t, int16_t> polys[] = {
      {20, 15, 6, 5, 3, 2}, {20, 15, 1, 4, 1, 3}, {20, 15, 5, 1, 2, 1}, {7, 6, 7, 4, 2, 3}};
  for (const auto &[r, s, n, m, p, q] : polys) {
    const Grid F(r, s, [&](int i, int j) {
      const double u = static_cast<double>(i) / r, v = static_cast<double>(j) / s;
      return POINT{u, v, std::pow(u - 0.3, p) * (1 - 2 * std::pow(v, q)) + u * v};
    });
    Workspace ws;
    SURFACE S{};
    ASSERT_EQ(N_fitgsa(F.q(), r, s, n, m, p, q, 1, &S, ws), 0);
    EXPECT_LE(residual(S, F, 1).first, 1e-13) << r << " " << n << " " << m;
  }
}

TEST(FitSurface, Refusals) {
  const Grid G = dome(6, 5), same(4, 4, [](int, int) { return POINT{1, 2, 3}; });
  const Grid twin(6, 5, [&](int i, int j) { return G.rows[i == 4 ? 3 : i][j]; });  // uk[3] = uk[4]
  Grid bad = dome(6, 5), holed = dome(6, 5);
  bad.rows[2][3].y = NAN;
  holed.table[5] = nullptr;
  double uk[7], vl[6];
  CPOINT line[7];
  Workspace ws;
  SURFACE small{};
  ASSERT_EQ(N_fitgsi(G.q(), 2, 2, 2, 2, 1, &small, ws), 0);
  RMATRIX lu3{};  // factors of another size than the line
  ASSERT_EQ(M_getrma(&lu3, 3, 3, ORVO_FULL, 0, ws), 0);
  using Call = std::function<int16_t(SURFACE *)>;
  const std::tuple<Call, int32_t, const char *> cases[] = {
      {[&](SURFACE *S) { return N_fitgsi(twin.q(), 6, 5, 1, 2, 2, S, ws); }, 11, "N_FITGSI"},
      {[&](SURFACE *S) { return N_fitgsa(twin.q(), 6, 5, 4, 3, 2, 2, 2, S, ws); }, 11, "N_FITGSA"},
      {[&](SURFACE *S) { return N_fitgsi(bad.q(), 6, 5, 3, 3, 1, S, ws); }, 11, "N_FITGSI"},
      {[&](SURFACE *S) { return N_fitgsi(same.q(), 4, 4, 3, 3, 2, S, ws); }, 14, "N_FITGSI"},
      {[&](SURFACE *S) { return N_fitgsi(G.q(), 6, 5, 3, 6, 1, S, ws); }, 14, "N_FITGSI"},
      {[&](SURFACE *S) { return N_fitgsa(G.q(), 6, 5, 3, 3, 3, 2, 1, S, ws); }, 14, "N_FITGSA"},
      {[&](SURFACE *S) { return N_fitgsi(G.q(), 6, 5, 0, 3, 1, S, ws); }, 3, "N_FITGSI"},
      {[&](SURFACE *S) { return N_fitgsi(nullptr, 6, 5, 3, 3, 1, S, ws); }, 7, "N_FITGSI"},
      {[&](SURFACE *S) { return N_fitgsa(holed.q(), 6, 5, 3, 3, 2, 2, 1, S, ws); }, 7, "N_FITGSA"},
      {[&](SURFACE *S) { return N_fitgsi(G.q(), 6, 5, 3, 3, 4, S, ws); }, 13, "N_FITGSI"},
      {[&](SURFACE *) { return N_fitgsi(G.q(), 6, 5, 3, 3, 1, &small, ws); }, 9, "N_FITGSI"},
      {[&](SURFACE *) { return N_fitgsi(G.q(), 6, 5, 3, 3, 1, nullptr, ws); }, 14, "N_FITGSI"},
      {[&](SURFACE *) { return N_fitspa(G.q(), 6, 5, 3, 2, uk, vl); }, 13, "N_FITSPA"},
      {[&](SURFACE *) { return N_fitspa(G.q(), 0, 5, 1, 2, uk, vl); }, 14, "N_FITSPA"},
      {[&](SURFACE *) { return N_fitcfs(G.q(), 6, 5, 3, 0, 1, &lu3, nullptr); }, 13, "N_FITCFS"},
      {[&](SURFACE *) { return N_fitcfs(G.q(), 6, 5, 1, 0, 1, &lu3, line); }, 7, "N_FITCFS"}};
  for (const auto &[call, code, tag] : cases) {
    SURFACE out{};
    const size_t before = total_blocks(ws.ws);
    EXPECT_EQ(call(&out), 1) << tag << " " << code;
    expect_error(code, tag);
    EXPECT_TRUE(U_issurn(&out));  // a failed fit leaves its output and ws as they were
    EXPECT_EQ(total_blocks(ws.ws), before);
  }
}
