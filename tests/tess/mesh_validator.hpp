// Tessellator fixtures (surfaces and trimming loops) and a mesh validator
// that works against reference polygons sampled from the trimming curves.
#pragma once

#include <algorithm>
#include <array>
#include <deque>
#include <map>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

#include "eval/surface_reference.hpp"
#include "test_support.hpp"

namespace tesstest {

using evaltest::CurveData;
using evaltest::SurfaceData;
using Loops = std::vector<std::vector<std::vector<CURVE *>>>;  // [region][0 outer, 1.. holes]
using Poly = std::vector<std::array<double, 2>>;
using Regions = std::vector<std::vector<Poly>>;

// 0: planar 2 x 1 rectangle; 1: rational barrel of height 2, a full circle
// in u (closed), its middle row bulged on the side y > 0 only, so that the
// two sides of the seam subdivide differently; 2: bicubic height field
// over [1, 3] x [0, 2] with one interior knot per direction, control points
// at the Greville abscissae (x(u), y(v) linear).
inline std::unique_ptr<SurfaceData> make_surface(int kind) {
  const double X[9] = {1, 1, 0, -1, -1, -1, 0, 1, 1}, Y[9] = {0, 1, 1, 1, 0, -1, -1, -1, 0};
  std::vector<double> U{0, 0, 1, 1}, V{0, 0, 1, 1};
  if (kind == 1) U = {0, 0, 0, .25, .25, .5, .5, .75, .75, 1, 1, 1}, V = {0, 0, 0, 1, 1, 1};
  if (kind == 2) U = {1, 1, 1, 1, 2, 3, 3, 3, 3}, V = {0, 0, 0, 0, 1, 2, 2, 2, 2};
  const int p = kind + 1, q = p;
  std::vector<std::vector<CPOINT>> net(U.size() - p - 1);
  for (size_t i = 0; i < net.size(); ++i)
    for (size_t j = 0; j + q + 1 < V.size(); ++j) {
      const double w = i % 2 ? std::sqrt(0.5) : 1, f = j == 1 && Y[i] > 0 ? 1.4 : 1,
                   gu = std::accumulate(&U[i + 1], &U[i + p + 1], 0.0) / p,
                   gv = std::accumulate(&V[j + 1], &V[j + q + 1], 0.0) / q;
      net[i].push_back(kind == 1 ? CPOINT{w * f * X[i], w * f * Y[i], w * j, w}
                                 : CPOINT{(kind ? 1.5 : 2) * gu, (kind ? 1.5 : 1) * gv,
                                          0.2 * kind * std::sin(1.1 * i + 0.6 * j), -DBL_MAX});
    }
  return std::make_unique<SurfaceData>(net, U, V, p, q);
}

// Trimming curves drawn in the unit square and mapped onto the surface's
// domain; kind 'b' the four domain sides, 'c' a circle of four rational
// quadratic arcs, 's' a closed cubic B-spline star (clockwise when r < 0).
struct Trims {
  std::deque<CurveData> store;
  double u0 = 0, u1 = 1, v0 = 0, v1 = 1;
  explicit Trims(const SURFACE *s) { U_surpar(s, &u0, &u1, &v0, &v1); }

  // Points (s, t, w), w = 0 for non-rational.
  CURVE *add(const std::vector<std::array<double, 3>> &pts, std::vector<double> U, int p) {
    std::vector<CPOINT> P;
    for (auto &q : pts) {
      const double w = q[2] > 0 ? q[2] : 1.0;
      P.push_back({w * (u0 + q[0] * (u1 - u0)), w * (v0 + q[1] * (v1 - v0)), DBL_MAX,
                   q[2] > 0 ? w : -DBL_MAX});
    }
    store.emplace_back(P, std::move(U), p);
    return &store.back().cur;
  }
  std::vector<CURVE *> operator()(char kind, double cx = 0, double cy = 0, double r = 0) {
    std::vector<CURVE *> out;
    const double pi = std::acos(-1.0), c[5] = {1, 0, -1, 0, 1}, sn[5] = {0, 1, 0, -1, 0},
                 bx[5] = {0, 1, 1, 0, 0}, by[5] = {0, 0, 1, 1, 0};
    for (int k = 0; k < 4 && kind == 'b'; ++k)
      out.push_back(add({{bx[k], by[k], 0}, {bx[k + 1], by[k + 1], 0}}, {0, 0, 1, 1}, 1));
    for (int k = 0; k < 4 && kind == 'c'; ++k)
      out.push_back(add({{cx + r * c[k], cy + r * sn[k], 1},
                         {cx + r * (c[k] + c[k + 1]), cy + r * (sn[k] + sn[k + 1]), std::sqrt(0.5)},
                         {cx + r * c[k + 1], cy + r * sn[k + 1], 1}},
                        {0, 0, 0, 1, 1, 1}, 2));
    if (kind != 's') return out;
    std::vector<std::array<double, 3>> P;
    for (int k = 0; k <= 8; ++k) {
      const double a = 2 * pi * (k % 8) / 8, rk = k % 2 ? 0.7 * r : r;
      P.push_back({cx + rk * std::cos(a), cy + std::fabs(rk) * std::sin(a), 0});
    }
    return {add(P, {0, 0, 0, 0, 1. / 6, 2. / 6, 3. / 6, 4. / 6, 5. / 6, 1, 1, 1, 1}, 3)};
  }
};

// N_tessur's output and the call with the loops laid out as it wants them.
struct Mesh {
  double *u = nullptr, *v = nullptr;
  int32_t np = -1, **nb = nullptr, *c = nullptr;
};

inline int16_t tessellate(const SURFACE *s, const Loops &L, double ctol, double ftol, double trel,
                          Mesh &m, STACKS *ws) {
  std::vector<CURVE **> outer, hp(16);  // room for 16 holes in all
  std::vector<CURVE ***> holes;
  std::vector<int32_t> no, nh, hc(16);
  std::vector<int32_t *> nhc;
  for (size_t r = 0, k = 0; r < L.size(); ++r) {
    outer.push_back(const_cast<CURVE **>(L[r][0].data()));
    no.push_back(int32_t(L[r][0].size()) - 1), nh.push_back(int32_t(L[r].size()) - 2);
    holes.push_back(L[r].size() > 1 ? &hp[k] : nullptr), nhc.push_back(&hc[k]);
    for (size_t h = 1; h < L[r].size(); ++h, ++k)
      hp[k] = const_cast<CURVE **>(L[r][h].data()), hc[k] = int32_t(L[r][h].size()) - 1;
  }
  return N_tessur(s, outer.data(), holes.data(), int32_t(L.size()) - 1, no.data(), nh.data(),
                  nhc.data(), ctol, ftol, trel, &m.u, &m.v, &m.np, &m.nb, &m.c, ws);
}

inline std::string error_text() {
  const char *r = "";
  int32_t code = 0;
  E_GetOrvoError(&r, &code);
  return "error " + std::to_string(code) + " under " + r;
}

// Distance to the loop, crossing parity, twice the signed area, length.
inline std::array<double, 4> probe(const Poly &p, double x, double y) {
  std::array<double, 4> r{DBL_MAX, 0, 0, 0};
  for (size_t i = 0, n = p.size(); i < n; ++i) {
    const auto &a = p[i], &b = p[(i + 1) % n];
    const double dx = b[0] - a[0], dy = b[1] - a[1], l2 = dx * dx + dy * dy;
    const double t = l2 > 0 ? std::clamp(((x - a[0]) * dx + (y - a[1]) * dy) / l2, 0.0, 1.0) : 0;
    r[0] = std::min(r[0], std::hypot(x - a[0] - t * dx, y - a[1] - t * dy));
    if ((a[1] > y) != (b[1] > y) && x < a[0] + (y - a[1]) * dx / dy) r[1] = 1 - r[1];
    r[2] += a[0] * b[1] - b[0] * a[1], r[3] += std::sqrt(l2);
  }
  return r;
}

inline std::string show(const Mesh &m, std::initializer_list<int32_t> pts) {
  std::string o;
  for (int32_t i : pts)
    o += " #" + std::to_string(i) + " (" + std::to_string(m.u[i]) + ", " + std::to_string(m.v[i]) +
         ")";
  return o;
}

// Checks orientation, trimming, overlaps and border, area, rings, model
// distance at edge midpoints and, for a surface closed in u, the seam.
inline void validate(const SURFACE *s, const Loops &L, const Mesh &m, double ctol, double ftol,
                     double trel) {
  double A, Lu, Lv, u0, u1, v0, v1, ref_area = 0, length = 0, area = 0;
  ASSERT_EQ(N_tesesa(s, &A, &Lu, &Lv), 0);
  U_surpar(s, &u0, &u1, &v0, &v1);
  auto surf = [&](double x, double y) {  // the surface at metric (x, y)
    POINT P{};
    N_surevn(s, std::clamp(u0 + x * (u1 - u0) / Lu, u0, u1),
             std::clamp(v0 + y * (v1 - v0) / Lv, v0, v1), 1, 1, &P);
    return P;
  };
  Regions ref;  // each curve sampled at 300 parameters, in metric units
  for (auto &reg : L) {
    ref.emplace_back();
    for (auto &loop : reg) {
      Poly &p = ref.back().emplace_back();
      for (CURVE *c : loop) {
        double a, b;
        U_curpar(c, &a, &b);
        for (int k = 0; k < 300; ++k) {
          POINT P{};
          N_curevn(c, a + (b - a) * k / 300, 1, &P);
          p.push_back({(P.x - u0) * Lu / (u1 - u0), (P.y - v0) * Lv / (v1 - v0)});
        }
      }
      const auto pr = probe(p, 0, 0);
      ref_area += (&loop == &reg[0] ? 0.5 : -0.5) * std::fabs(pr[2]), length += pr[3];
    }
  }
  const double d = trel * std::max(Lu, Lv), band = 5 * std::max(ctol, d),
               eps = 1e-9 * std::max(Lu, Lv);
  orvo_test::Workspace ws;
  int32_t *t[3], nt = -1, *used, nu = -1;
  ASSERT_EQ(N_tesbat(m.nb, m.c, m.np, &t[0], &t[1], &t[2], &nt, &ws), 0);
  ASSERT_EQ(N_tesbap(m.nb, m.c, m.np, &used, &nu, &ws), 0);
  std::map<std::pair<int32_t, int32_t>, int> dir;  // directed edge -> uses
  std::map<std::array<int32_t, 3>, int> rings;     // oriented triangle -> rings holding it
  std::string first[8];
  int bad[8] = {};
  auto flag = [&](int k, const std::string &what) {
    if (bad[k]++ == 0) first[k] = what;
  };
  auto key = [](std::array<int32_t, 3> t) {  // the rotation that starts at the smallest
    std::rotate(t.begin(), std::min_element(t.begin(), t.end()), t.end());
    return t;
  };
  auto where = [&](double x, double y) {  // 0 near a loop, else 1 in the trimmed region or -1
    int in = -1;
    for (auto &reg : ref) {
      bool r = true;
      for (size_t l = 0; l < reg.size(); ++l) {
        const auto p = probe(reg[l], x, y);
        if (p[0] < band) return 0;
        r = r && p[1] == (l == 0);
      }
      in = r ? 1 : in;
    }
    return in;
  };
  for (int32_t k = 0; k <= nt; ++k) {
    const int32_t a = t[0][k], b = t[1][k], c = t[2][k];
    const double ar =
        ((m.u[b] - m.u[a]) * (m.v[c] - m.v[a]) - (m.v[b] - m.v[a]) * (m.u[c] - m.u[a])) / 2;
    area += ar;
    if (!(ar > 0)) flag(0, "not counter-clockwise:" + show(m, {a, b, c}));
    if (where((m.u[a] + m.u[b] + m.u[c]) / 3, (m.v[a] + m.v[b] + m.v[c]) / 3) < 0)
      flag(1, "outside the trimmed region:" + show(m, {a, b, c}));
    for (auto e : {std::make_pair(a, b), std::make_pair(b, c), std::make_pair(c, a)})
      if (++dir[e] > 1) flag(2, "overlap at edge" + show(m, {e.first, e.second}));
    ++rings[key({a, b, c})];
  }
  std::vector<POINT> S(m.np + 1);
  for (int32_t k = 0; k <= nu; ++k) S[used[k]] = surf(m.u[used[k]], m.v[used[k]]);
  for (auto &e : dir) {
    const int32_t a = e.first.first, b = e.first.second;
    if (!dir.count({b, a}) && where((m.u[a] + m.u[b]) / 2, (m.v[a] + m.v[b]) / 2) != 0)
      flag(3, "border edge off the trimming loops:" + show(m, {a, b}));
    if (b < a && dir.count({b, a})) continue;  // each inner edge once
    const POINT P = surf((m.u[a] + m.u[b]) / 2, (m.v[a] + m.v[b]) / 2);
    if (std::hypot(P.x - (S[a].x + S[b].x) / 2, P.y - (S[a].y + S[b].y) / 2,
                   P.z - (S[a].z + S[b].z) / 2) > 4 * std::max(ctol, ftol))
      flag(4, "edge far from the surface:" + show(m, {a, b}));
  }
  for (int32_t i = 0; i <= m.np; ++i)  // the triangles of every point's ring
    for (int32_t k = 0; m.nb[i][0] >= 0 && k < m.c[i]; ++k)
      ++rings[key({i, m.nb[i][k], m.nb[i][k + 1]})];
  for (auto &r : rings)
    if (r.second != 4)
      flag(5, "triangle not in all three rings:" + show(m, {r.first[0], r.first[1], r.first[2]}));
  for (int32_t k = 0; k <= nu; ++k) {  // used points in the domain; seam partners
    const int32_t i = used[k];
    if (!(m.u[i] >= -eps && m.u[i] <= Lu + eps && m.v[i] >= -eps && m.v[i] <= Lv + eps))
      flag(6, "point outside the domain:" + show(m, {i}));
    const bool lo = std::fabs(m.u[i]) <= eps, hi = std::fabs(m.u[i] - Lu) <= eps;
    if (U_issurc(s, 1) && (lo || hi) && std::none_of(used, used + nu + 1, [&](int32_t j) {
          return std::fabs(m.u[j] - (lo ? Lu : 0)) <= eps && std::fabs(m.v[j] - m.v[i]) <= eps;
        }))
      flag(7, "no seam partner:" + show(m, {i}));
  }
  EXPECT_NEAR(area, ref_area, 2 * std::max(ctol, d) * length) << "mesh area";
  for (int k = 0; k < 8; ++k) EXPECT_EQ(bad[k], 0) << first[k];
}

}  // namespace tesstest
