// Helpers of the refinement tests: random curves and surfaces allocated in
// a workspace (so that in-place operation can release their arrays), an
// independent tensor-product de Boor evaluation of surfaces, and shape
// comparisons at many parameters.
#pragma once

#include <algorithm>
#include <cmath>
#include <random>
#include <utility>
#include <vector>

#include "eval/reference.hpp"
#include "test_support.hpp"

namespace refinetest {

using Interior = std::vector<std::pair<double, int>>;  // value, multiplicity

// A knot vector of degree p on [a, b]: the ends p+1 times (clamped) or, when
// unclamped, spread out below a and above b; interior values with their
// multiplicities.
inline std::vector<double> knots(int p, double a, double b, const Interior &inner,
                                 bool clamped = true) {
  std::vector<double> U;
  for (int i = 0; i <= p; ++i) U.push_back(clamped ? a : a - (p - i) * 0.25);
  for (auto [v, mult] : inner)
    for (int k = 0; k < mult; ++k) U.push_back(v);
  for (int i = 0; i <= p; ++i) U.push_back(clamped ? b : b + i * 0.25);
  return U;
}

// Random weighted control points: coordinates in [-5, 5], weights in
// [0.5, 2] stored homogeneous; markers for 2-D and non-rational points.
inline CPOINT random_cpoint(std::mt19937 &rng, bool three_d, bool rational) {
  std::uniform_real_distribution<double> c(-5.0, 5.0), w(0.5, 2.0);
  const double wt = rational ? w(rng) : 1.0;
  const double x = c(rng), y = c(rng), z = c(rng);
  return CPOINT{x * wt, y * wt, three_d ? z * wt : DBL_MAX, rational ? wt : -DBL_MAX};
}

inline CURVE *make_curve(STACKS *ws, int p, const std::vector<double> &U, bool three_d,
                         bool rational, std::mt19937 &rng) {
  const int32_t m = static_cast<int32_t>(U.size()) - 1, n = m - p - 1;
  CURVE *c = S_getcur(n, static_cast<int16_t>(p), m, ws);
  for (int32_t i = 0; i <= n; ++i) c->pol->Pw[i] = random_cpoint(rng, three_d, rational);
  std::copy(U.begin(), U.end(), c->knt->U);
  return c;
}

inline SURFACE *make_surface(STACKS *ws, int p, int q, const std::vector<double> &U,
                             const std::vector<double> &V, bool rational, std::mt19937 &rng) {
  const int32_t r = static_cast<int32_t>(U.size()) - 1, s = static_cast<int32_t>(V.size()) - 1;
  const int32_t n = r - p - 1, m = s - q - 1;
  SURFACE *sur = S_getsur(n, m, static_cast<int16_t>(p), static_cast<int16_t>(q), r, s, ws);
  for (int32_t i = 0; i <= n; ++i)
    for (int32_t j = 0; j <= m; ++j) sur->net->Pw[i][j] = random_cpoint(rng, true, rational);
  std::copy(U.begin(), U.end(), sur->knu->U);
  std::copy(V.begin(), V.end(), sur->knv->U);
  return sur;
}

inline std::vector<double> knot_values(const KNOTVECTOR *k) {
  return std::vector<double>(k->U, k->U + k->m + 1);
}

inline POINT euclid(const CPOINT &q) {
  const double w = q.w == -DBL_MAX ? 1.0 : q.w;
  const double z = q.z == DBL_MAX ? 0.0 : q.z;
  return POINT{q.x / w, q.y / w, z / w};
}

inline double dist(const POINT &a, const POINT &b) {
  return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) +
                   (a.z - b.z) * (a.z - b.z));
}

// Diagonal of the box of the Euclidean control points.
template <class Each>
double box_diagonal(Each each) {
  double lo[3] = {1e300, 1e300, 1e300}, hi[3] = {-1e300, -1e300, -1e300};
  each([&](const CPOINT &q) {
    const POINT e = euclid(q);
    const double v[3] = {e.x, e.y, e.z};
    for (int k = 0; k < 3; ++k) lo[k] = std::min(lo[k], v[k]), hi[k] = std::max(hi[k], v[k]);
  });
  return std::sqrt((hi[0] - lo[0]) * (hi[0] - lo[0]) + (hi[1] - lo[1]) * (hi[1] - lo[1]) +
                   (hi[2] - lo[2]) * (hi[2] - lo[2]));
}

inline double size_of(const CURVE *c) {
  return box_diagonal([&](auto f) {
    for (int32_t i = 0; i <= c->pol->n; ++i) f(c->pol->Pw[i]);
  });
}

inline double size_of(const SURFACE *s) {
  return box_diagonal([&](auto f) {
    for (int32_t i = 0; i <= s->net->n; ++i)
      for (int32_t j = 0; j <= s->net->m; ++j) f(s->net->Pw[i][j]);
  });
}

inline POINT eval(const CURVE *c, double u, int side = 1) {
  POINT P{};
  EXPECT_EQ(N_curevn(c, u, static_cast<int16_t>(side), &P), 0) << "u = " << u;
  return P;
}

// Tensor-product de Boor on homogeneous points: every row (u index) is a
// spline in v evaluated at v; the results form a spline in u.
inline POINT eval(const SURFACE *s, double u, double v) {
  const bool rat = s->net->Pw[0][0].w != -DBL_MAX;
  const std::vector<double> U = knot_values(s->knu), V = knot_values(s->knv);
  evaltest::Spline4 col;
  col.p = s->p;
  col.U = U;
  for (int32_t i = 0; i <= s->net->n; ++i) {
    evaltest::Spline4 row;
    row.p = s->q;
    row.U = V;
    for (int32_t j = 0; j <= s->net->m; ++j) {
      const CPOINT &q = s->net->Pw[i][j];
      row.P.push_back(evaltest::Vec4{q.x, q.y, q.z, rat ? q.w : 1.0});
    }
    col.P.push_back(row.eval(v, 1));
  }
  const evaltest::Vec4 h = col.eval(u, 1);
  return POINT{h[0] / h[3], h[1] / h[3], h[2] / h[3]};
}

// Parameters to compare at: a regular grid over [lo, hi] and every knot
// inside it.
inline std::vector<double> params(double lo, double hi, const KNOTVECTOR *k, int count = 60) {
  std::vector<double> us;
  for (int i = 0; i <= count; ++i) us.push_back(std::min(hi, lo + (hi - lo) * i / count));
  for (int32_t i = 0; i <= k->m; ++i)
    if (k->U[i] >= lo && k->U[i] <= hi) us.push_back(k->U[i]);
  return us;
}

// b reproduces a over [lo, hi] (both sides at every parameter) to tol
// relative to the size of a.
inline ::testing::AssertionResult same_curve(const CURVE *a, const CURVE *b, double lo, double hi,
                                             double tol = 1e-12) {
  const double size = std::max(size_of(a), 1.0);
  for (double u : params(lo, hi, a->knt))
    for (int side : {1, 2}) {
      const double d = dist(eval(a, u, side), eval(b, u, side));
      if (d > tol * size)
        return ::testing::AssertionFailure()
               << "at u = " << u << " side " << side << " off by " << d;
    }
  return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult same_surface(const SURFACE *a, const SURFACE *b, double ulo,
                                               double uhi, double vlo, double vhi,
                                               double tol = 1e-12) {
  const double size = std::max(size_of(a), 1.0);
  for (double u : params(ulo, uhi, a->knu, 12))
    for (double v : params(vlo, vhi, a->knv, 12)) {
      const double d = dist(eval(a, u, v), eval(b, u, v));
      if (d > tol * size)
        return ::testing::AssertionFailure() << "at (" << u << ", " << v << ") off by " << d;
    }
  return ::testing::AssertionSuccess();
}

// The kinds of curve geometry: 2-D / 3-D, non-rational / rational.
struct Kind {
  bool three_d, rational;
};
inline const Kind kKinds[] = {{false, false}, {false, true}, {true, false}, {true, true}};

// Knot layouts on [0.5, 3]: several interior values with multiplicities up
// to p (for degree p).
inline Interior layout(int p, int which) {
  switch (which) {
    case 0:
      return {};
    case 1:
      return {{1.0, 1}, {1.7, std::min(2, p)}, {2.2, 1}, {2.6, p}};
    default:
      return {{0.9, p}, {1.25, 1}, {1.5, std::max(1, p - 1)}, {2.75, 1}};
  }
}

}  // namespace refinetest
