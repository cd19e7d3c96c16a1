// Merging knot vectors, counting spans and mapping knot vectors onto an
// interval.
#include <map>
#include <vector>

#include "core/internal.hpp"
#include "eval/reference.hpp"
#include "test_support.hpp"

using orvo_test::HasError;
using orvo_test::Workspace;
using Vec = std::vector<double>;

namespace {

// Merges the vectors and returns, for each, the knots it lacks.
std::vector<Vec> merge(std::vector<Vec> in, STACKS *ws) {
  std::vector<KNOTVECTOR> kv(in.size());
  std::vector<KNOTVECTOR *> ptrs;
  for (size_t k = 0; k < in.size(); ++k) {
    U_makknt(&kv[k], in[k].data(), static_cast<int32_t>(in[k].size()) - 1);
    ptrs.push_back(&kv[k]);
  }
  KNOTVECTOR **res = nullptr;
  EXPECT_EQ(N_kntmer(ptrs.data(), static_cast<int32_t>(ptrs.size()) - 1, &res, ws), 0);
  std::vector<Vec> out;
  for (size_t k = 0; res && k < in.size(); ++k)
    out.emplace_back(res[k]->U, res[k]->U + res[k]->m + 1);
  return out;
}

Vec mapped(Vec U, int p, double a, double b) {
  KNOTVECTOR kv;
  U_makknt(&kv, U.data(), static_cast<int32_t>(U.size()) - 1);
  N_kntsca(&kv, static_cast<int16_t>(p), INTERVAL{a, b});
  return U;
}

}  // namespace

TEST(KnotMerge, LackingKnots) {
  Workspace ws;
  EXPECT_EQ(merge({{0, 0, 0, 1, 1, 1}, {0, 0, 0, 0.5, 1, 1, 1}}, ws),
            std::vector<Vec>({{0.5}, {}}));
  EXPECT_EQ(merge({{0, 0, 0.5, 1, 1}, {0, 0, 0.5, 0.5, 1, 1}}, ws), std::vector<Vec>({{0.5}, {}}));
  // Three vectors of different degrees: each completed by its result holds
  // every value with the largest multiplicity of any input.
  const std::vector<Vec> in = {{0, 0, 0, 0.25, 0.5, 0.5, 1, 1, 1},
                               {0, 0, 0.5, 0.75, 1, 1},
                               {0, 0, 0, 0, 0.25, 0.25, 0.9, 1, 1, 1, 1}};
  const auto r = merge(in, ws);
  std::map<double, int> want;
  for (const Vec &v : in) {
    std::map<double, int> mine;
    for (double u : v) ++mine[u];
    for (auto [u, c] : mine) want[u] = std::max(want[u], c);
  }
  for (size_t k = 0; k < in.size(); ++k) {
    std::map<double, int> got;
    for (double u : in[k]) ++got[u];
    for (double u : r[k]) ++got[u];
    EXPECT_EQ(got, want) << k;
    EXPECT_TRUE(std::is_sorted(r[k].begin(), r[k].end()));
  }
}

// An input whose last value is larger than the others' is read only up to
// its own end, and no input receives a value beyond its own range.
TEST(KnotMerge, InputsWithDifferentEnds) {
  Workspace ws;
  EXPECT_EQ(merge({{0, 0, 1, 1}, {0, 0, 0.5, 2, 2}}, ws), std::vector<Vec>({{0.5}, {1, 1}}));
  EXPECT_EQ(merge({{0, 0, 0.5, 2, 2}, {0, 0, 1, 1}}, ws), std::vector<Vec>({{1, 1}, {0.5}}));
  // Short vectors may make one input lack more knots than the sum of the
  // highest indices (3 here); its result is sized for them.
  const auto r = merge({{0, 0, 1, 1}, {0.1}, {0.2}, {0.3}, {0.4}, {0.5}, {0.6}}, ws);
  EXPECT_EQ(r[0], Vec({0.1, 0.2, 0.3, 0.4, 0.5, 0.6}));
}

TEST(KnotMerge, Refusals) {
  Workspace ws;
  KNOTVECTOR **res = nullptr;
  Vec U = {0, 0, 1, 1};
  KNOTVECTOR a;
  U_makknt(&a, U.data(), 3);
  KNOTVECTOR *in[2] = {&a, nullptr};
  EXPECT_EQ(N_kntmer(in, -1, &res, ws), 1);
  EXPECT_TRUE(HasError(7, "N_KNTMER"));
  EXPECT_EQ(N_kntmer(in, 1, &res, ws), 1);
  EXPECT_TRUE(HasError(14, "N_KNTMER"));
  orvo::detail::fail_allocation_at(1);
  EXPECT_EQ(N_kntmer(in, 0, &res, ws), 1);
  EXPECT_TRUE(HasError(15, "S_GETI1D"));
  EXPECT_EQ(orvo_test::total_blocks(ws.ws), 0u);
}

TEST(KnotSpans, CountsSpansOfNonZeroLength) {
  // A Bezier vector, a repeated interior knot, and m - p <= p.
  for (auto [U, want] : {std::pair<Vec, int>{{0, 0, 0, 1, 1, 1}, 1},
                         {{0, 0, 0, 1, 1, 2, 3, 3, 3}, 3},
                         {{0, 0, 1, 1}, 0}}) {
    KNOTVECTOR kv{static_cast<int32_t>(U.size()) - 1, U.data()};
    int32_t c = -5;
    N_kntnsp(&kv, 2, &c);
    EXPECT_EQ(c, want);
  }
}

TEST(KnotMapping, OntoAnInterval) {
  EXPECT_EQ(mapped({0, 0, 2, 4, 4}, 1, 0, 1), Vec({0, 0, 0.5, 1, 1}));
  EXPECT_EQ(mapped({1, 1, 1, 2, 3, 3, 3}, 2, -1, 3), Vec({-1, -1, -1, 1, 3, 3, 3}));
  // Already on the interval: bit for bit unchanged.
  const Vec odd = {0.1, 0.1, 0.30000000000000004, 0.7, 0.7};
  EXPECT_EQ(std::memcmp(mapped(odd, 1, 0.1, 0.7).data(), odd.data(), 5 * sizeof(double)), 0);
  // First and last knot equal: no map exists, the vector is left alone
  // rather than filled with infinities; likewise a scale beyond doubles.
  EXPECT_EQ(mapped({2, 2, 2, 2}, 1, 0, 1), Vec({2, 2, 2, 2}));
  EXPECT_EQ(mapped({0, 0, 1e-300, 2e-300, 2e-300}, 1, 0, 1e300),
            Vec({0, 0, 1e-300, 2e-300, 2e-300}));
}

TEST(KnotMapping, CurveAndSurfaceVectors) {
  evaltest::CurveData c(std::vector<CPOINT>(4, CPOINT{1, 2, 3, -DBL_MAX}), {0, 0, 0, 5, 10, 10, 10},
                        2);
  U_curkts(&c.cur, INTERVAL{0, 2});
  EXPECT_EQ(c.U, Vec({0, 0, 0, 1, 2, 2, 2}));
  EXPECT_EQ(c.Pw[0].x, 1.0);  // control points untouched
  Vec U = {0, 0, 0, 5, 10, 10, 10}, V = {-1, -1, 1, 1};
  KNOTVECTOR ku{6, U.data()}, kv{3, V.data()};
  SURFACE s{nullptr, 2, 1, &ku, &kv};
  for (int16_t dir : {0, 4}) U_surkts(&s, RECTANGLE{5, 6, 5, 6}, dir);  // no direction
  U_surkts(&s, RECTANGLE{0, 1, 0, 2}, 1);
  EXPECT_TRUE(U == Vec({0, 0, 0, 0.5, 1, 1, 1}) && V == Vec({-1, -1, 1, 1}));
  U_surkts(&s, RECTANGLE{0, 1, 0, 2}, 2);
  EXPECT_EQ(V, Vec({0, 0, 2, 2}));
  U_surkts(&s, RECTANGLE{2, 4, 1, 3}, 3);
  EXPECT_TRUE(U == Vec({2, 2, 2, 3, 4, 4, 4}) && V == Vec({1, 1, 3, 3}));
  // Vectors whose first and last knots coincide stay as they are.
  evaltest::CurveData flat(std::vector<CPOINT>(2, CPOINT{1, 2, 3, -DBL_MAX}), {3, 3, 3, 3}, 1);
  U_curkts(&flat.cur, INTERVAL{0, 1});
  V = {7, 7, 7, 7};
  U_surkts(&s, RECTANGLE{0, 1, 0, 1}, 3);
  EXPECT_TRUE(flat.U == Vec({3, 3, 3, 3}) && V == Vec({7, 7, 7, 7}));
}
