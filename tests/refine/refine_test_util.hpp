// Helpers of the refinement tests: random curves and surfaces allocated in
// a workspace (so that in-place operation can release their arrays), an
// independent tensor-product de Boor evaluation of surfaces, and shape
// comparisons at many parameters.
#pragma once

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "core/internal.hpp"
#include "eval/reference.hpp"
#include "test_support.hpp"

// The call fails with code under tag.
#define EXPECT_FAILS(call, code, tag)            \
  do {                                           \
    EXPECT_EQ((call), 1);                        \
    EXPECT_TRUE(orvo_test::HasError(code, tag)); \
  } while (0)

namespace refinetest {

using Knots = std::vector<double>;
using Interior = std::vector<std::pair<double, int>>;  // value, multiplicity

// Degree-p knots on [a, b]: the ends p+1 times, or spread out beyond a and
// b when unclamped; the interior values with their multiplicities.
inline Knots knots(int p, double a, double b, const Interior &inner, bool clamped = true) {
  Knots U;
  for (int i = 0; i <= p; ++i) U.push_back(clamped ? a : a - (p - i) * 0.25);
  for (auto [v, mult] : inner) U.insert(U.end(), mult, v);
  for (int i = 0; i <= p; ++i) U.push_back(clamped ? b : b + i * 0.25);
  return U;
}

// Coordinates in [-5, 5], weights in [0.5, 2] stored homogeneous.
inline CPOINT random_cpoint(std::mt19937 &rng, bool three_d, bool rational) {
  std::uniform_real_distribution<double> c(-5.0, 5.0), w(0.5, 2.0);
  const double wt = rational ? w(rng) : 1.0, x = c(rng), y = c(rng), z = c(rng);
  return CPOINT{x * wt, y * wt, three_d ? z * wt : DBL_MAX, rational ? wt : -DBL_MAX};
}

inline CURVE *make_curve(STACKS *ws, int p, const Knots &U, bool three_d, bool rational,
                         std::mt19937 &rng) {
  const int32_t m = static_cast<int32_t>(U.size()) - 1;
  CURVE *c = S_getcur(m - p - 1, static_cast<int16_t>(p), m, ws);
  for (int32_t i = 0; i <= c->pol->n; ++i) c->pol->Pw[i] = random_cpoint(rng, three_d, rational);
  std::copy(U.begin(), U.end(), c->knt->U);
  return c;
}

inline SURFACE *make_surface(STACKS *ws, int p, int q, const Knots &U, const Knots &V,
                             bool rational, std::mt19937 &rng) {
  const int32_t r = static_cast<int32_t>(U.size()) - 1, s = static_cast<int32_t>(V.size()) - 1;
  SURFACE *f =
      S_getsur(r - p - 1, s - q - 1, static_cast<int16_t>(p), static_cast<int16_t>(q), r, s, ws);
  for (int32_t i = 0; i <= f->net->n; ++i)
    for (int32_t j = 0; j <= f->net->m; ++j) f->net->Pw[i][j] = random_cpoint(rng, true, rational);
  std::copy(U.begin(), U.end(), f->knu->U);
  std::copy(V.begin(), V.end(), f->knv->U);
  return f;
}

// Empty output records (as U_inicur and U_inisur make them).
inline CURVE empty_curve() { return CURVE{nullptr, -1, nullptr}; }
inline SURFACE empty_surface() { return SURFACE{nullptr, -1, -1, nullptr, nullptr}; }

inline Knots knot_values(const KNOTVECTOR *k) { return Knots(k->U, k->U + k->m + 1); }

inline POINT euclid(const CPOINT &q) {
  const double w = q.w == -DBL_MAX ? 1.0 : q.w, z = q.z == DBL_MAX ? 0.0 : q.z;
  return POINT{q.x / w, q.y / w, z / w};
}

inline double dist(const POINT &a, const POINT &b) {
  return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) +
                   (a.z - b.z) * (a.z - b.z));
}

inline bool same_cpoint(const CPOINT &a, const CPOINT &b) { return !std::memcmp(&a, &b, sizeof a); }

// Diagonal of the box of the Euclidean control points rows[0..n][0..m].
inline double box_diagonal(CPOINT *const *rows, int32_t n, int32_t m) {
  POINT lo{1e300, 1e300, 1e300}, hi{-1e300, -1e300, -1e300};
  for (int32_t i = 0; i <= n; ++i)
    for (int32_t j = 0; j <= m; ++j) {
      const POINT e = euclid(rows[i][j]);
      lo = POINT{std::min(lo.x, e.x), std::min(lo.y, e.y), std::min(lo.z, e.z)};
      hi = POINT{std::max(hi.x, e.x), std::max(hi.y, e.y), std::max(hi.z, e.z)};
    }
  return std::max(dist(lo, hi), 1.0);
}
inline double size_of(const CURVE *c) {
  CPOINT *row = c->pol->Pw;
  return box_diagonal(&row, 0, c->pol->n);
}
inline double size_of(const SURFACE *s) { return box_diagonal(s->net->Pw, s->net->n, s->net->m); }

inline POINT eval(const CURVE *c, double u, int side = 1) {
  POINT P{};
  EXPECT_EQ(N_curevn(c, u, static_cast<int16_t>(side), &P), 0) << "u = " << u;
  return P;
}

// Tensor-product de Boor on homogeneous points: each row (u index) is a
// spline in v evaluated at v; the results form a spline in u.
inline POINT eval(const SURFACE *s, double u, double v) {
  const bool rat = s->net->Pw[0][0].w != -DBL_MAX;
  evaltest::Spline4 col{s->p, knot_values(s->knu), {}};
  for (int32_t i = 0; i <= s->net->n; ++i) {
    evaltest::Spline4 row{s->q, knot_values(s->knv), {}};
    for (int32_t j = 0; j <= s->net->m; ++j) {
      const CPOINT &q = s->net->Pw[i][j];
      row.P.push_back(evaltest::Vec4{q.x, q.y, q.z, rat ? q.w : 1.0});
    }
    col.P.push_back(row.eval(v, 1));
  }
  const evaltest::Vec4 h = col.eval(u, 1);
  return POINT{h[0] / h[3], h[1] / h[3], h[2] / h[3]};
}

// A regular grid over [lo, hi] and every knot inside it.
inline Knots params(double lo, double hi, const KNOTVECTOR *k, int count) {
  Knots us;
  for (int i = 0; i <= count; ++i) us.push_back(std::min(hi, lo + (hi - lo) * i / count));
  for (double u : knot_values(k))
    if (u >= lo && u <= hi) us.push_back(u);
  return us;
}

// b reproduces a over [lo, hi] (both one-sided limits everywhere) to 1e-12
// relative to the size of a.
inline ::testing::AssertionResult same_curve(const CURVE *a, const CURVE *b, double lo, double hi) {
  for (double u : params(lo, hi, a->knt, 60))
    for (int side : {1, 2})
      if (dist(eval(a, u, side), eval(b, u, side)) > 1e-12 * size_of(a))
        return ::testing::AssertionFailure() << "differs at u = " << u << " side " << side;
  return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult same_surface(const SURFACE *a, const SURFACE *b, double ulo,
                                               double uhi, double vlo, double vhi) {
  for (double u : params(ulo, uhi, a->knu, 12))
    for (double v : params(vlo, vhi, a->knv, 12))
      if (dist(eval(a, u, v), eval(b, u, v)) > 1e-12 * size_of(a))
        return ::testing::AssertionFailure() << "differs at (" << u << ", " << v << ")";
  return ::testing::AssertionSuccess();
}

// 2-D / 3-D, non-rational / rational.
struct Kind {
  bool three_d, rational;
};
inline const Kind kKinds[] = {{false, false}, {false, true}, {true, false}, {true, true}};

// Interior knots on [0.5, 3] for degree p: none, or several values with
// multiplicities from 1 up to p.
inline Interior layout(int p, int which) {
  if (which == 0) return {};
  if (which == 1) return {{1.0, 1}, {1.7, std::min(2, p)}, {2.2, 1}, {2.6, p}};
  return {{0.9, p}, {1.25, 1}, {1.5, std::max(1, p - 1)}, {2.75, 1}};
}

// Calls op() with allocation k failing, k = 1, 2, ... until it succeeds;
// every failure must leave snapshot() unchanged.
template <class Op, class Snapshot>
void fail_each_allocation(Op op, Snapshot snapshot) {
  const auto before = snapshot();
  for (long k = 1; k < 100; ++k) {
    orvo::detail::fail_allocation_at(k);
    const int16_t st = op();
    orvo::detail::fail_allocation_at(0);
    if (st == 0) return;
    ASSERT_TRUE(snapshot() == before) << "allocation " << k;
  }
  FAIL() << "never succeeded";
}

// Runs body(p, layout index, curve, ws) over degrees, kinds and
// layouts, each curve in a fresh workspace.
template <class Body>
void for_random_curves(std::initializer_list<int> degrees, bool clamped, Body body) {
  std::mt19937 rng(17);
  for (int p : degrees)
    for (const Kind &kind : kKinds)
      for (int lay = 0; lay < 3; ++lay) {
        orvo_test::Workspace ws;
        CURVE *c = make_curve(ws, p, knots(p, 0.5, 3.0, layout(p, lay), clamped), kind.three_d,
                              kind.rational, rng);
        body(p, lay, c, &ws.ws);
      }
}

}  // namespace refinetest
