// Merging knot vectors, counting spans and mapping knot vectors onto an
// interval.
#include <cmath>
#include <map>
#include <vector>

#include "core/internal.hpp"
#include "test_support.hpp"

using orvo_test::HasError;
using orvo_test::total_blocks;
using orvo_test::Workspace;

namespace {

struct Knots {
  std::vector<double> U;
  KNOTVECTOR kv;
  explicit Knots(std::vector<double> u) : U(std::move(u)) {
    U_makknt(&kv, U.empty() ? nullptr : U.data(), static_cast<int32_t>(U.size()) - 1);
  }
};

std::vector<double> values(const KNOTVECTOR *kv) {
  return std::vector<double>(kv->U, kv->U + kv->m + 1);
}

// Merges the vectors and returns, for each, the knots it lacks.
std::vector<std::vector<double>> merge(std::vector<Knots *> in, STACKS *ws) {
  std::vector<KNOTVECTOR *> ptrs;
  for (Knots *k : in) ptrs.push_back(&k->kv);
  KNOTVECTOR **res = nullptr;
  EXPECT_EQ(N_kntmer(ptrs.data(), static_cast<int32_t>(ptrs.size()) - 1, &res, ws), 0);
  std::vector<std::vector<double>> out;
  for (size_t k = 0; k < in.size(); ++k) out.push_back(values(res[k]));
  return out;
}

// Distinct values with their largest multiplicity over all vectors.
std::map<double, int> merged(const std::vector<Knots *> &in) {
  std::map<double, int> best;
  for (Knots *k : in) {
    std::map<double, int> mine;
    for (double u : k->U) ++mine[u];
    for (auto [v, c] : mine) best[v] = std::max(best[v], c);
  }
  return best;
}

}  // namespace

TEST(KnotMerge, LackingKnotsOfTwoVectors) {
  Workspace ws;
  Knots a({0, 0, 0, 1, 1, 1}), b({0, 0, 0, 0.5, 1, 1, 1});
  const auto r = merge({&a, &b}, ws);
  EXPECT_EQ(r[0], std::vector<double>({0.5}));
  EXPECT_TRUE(r[1].empty());
}

TEST(KnotMerge, MultiplicityDifferenceIsMadeUp) {
  Workspace ws;
  Knots a({0, 0, 0.5, 1, 1}), b({0, 0, 0.5, 0.5, 1, 1});
  const auto r = merge({&a, &b}, ws);
  EXPECT_EQ(r[0], std::vector<double>({0.5}));
  EXPECT_TRUE(r[1].empty());
}

TEST(KnotMerge, EveryInputCompletesToTheMergedVector) {
  Workspace ws;
  Knots a({0, 0, 0, 0.25, 0.5, 0.5, 1, 1, 1}), b({0, 0, 0.5, 0.75, 1, 1}),
      c({0, 0, 0, 0, 0.25, 0.25, 0.9, 1, 1, 1, 1});
  const std::vector<Knots *> in = {&a, &b, &c};
  const auto r = merge(in, ws);
  const auto want = merged(in);
  for (size_t k = 0; k < in.size(); ++k) {
    std::map<double, int> got;
    for (double u : in[k]->U) ++got[u];
    for (double u : r[k]) ++got[u];
    EXPECT_EQ(got, want) << "input " << k;
    EXPECT_TRUE(std::is_sorted(r[k].begin(), r[k].end()));
  }
}

// An input whose last value is larger than the others' is read only up to
// its own end; the others never receive a value beyond their own range.
TEST(KnotMerge, InputsWithDifferentEndsStayInsideTheirArrays) {
  Workspace ws;
  Knots a({0, 0, 1, 1}), b({0, 0, 0.5, 2, 2});
  const auto r = merge({&a, &b}, ws);
  EXPECT_EQ(r[0], std::vector<double>({0.5}));
  EXPECT_EQ(r[1], std::vector<double>({1, 1}));
  // The longer input first as well.
  const auto s = merge({&b, &a}, ws);
  EXPECT_EQ(s[0], std::vector<double>({1, 1}));
  EXPECT_EQ(s[1], std::vector<double>({0.5}));
}

// Short vectors merged with many others may lack more knots than the sum of
// the highest indices; the results are sized for what they receive.
TEST(KnotMerge, ResultsHoldMoreThanTheIndexSum) {
  Workspace ws;
  Knots a({0, 0, 1, 1}), b({0.1}), c({0.2}), d({0.3}), e({0.4}), f({0.5}), g({0.6});
  const auto r = merge({&a, &b, &c, &d, &e, &f, &g}, ws);  // index sum 3
  EXPECT_EQ(r[0], std::vector<double>({0.1, 0.2, 0.3, 0.4, 0.5, 0.6}));
  for (size_t k = 1; k < r.size(); ++k) EXPECT_TRUE(r[k].empty());
}

TEST(KnotMerge, Refusals) {
  Workspace ws;
  KNOTVECTOR **res = nullptr;
  Knots a({0, 0, 1, 1});
  KNOTVECTOR *one[1] = {&a.kv};
  EXPECT_EQ(N_kntmer(one, -1, &res, ws), 1);
  EXPECT_TRUE(HasError(7, "N_KNTMER"));
  KNOTVECTOR *with_null[2] = {&a.kv, nullptr};
  EXPECT_EQ(N_kntmer(with_null, 1, &res, ws), 1);
  EXPECT_TRUE(HasError(14, "N_KNTMER"));
  // An allocation failure leaves only what the allocator recorded.
  orvo::detail::fail_allocation_at(1);
  EXPECT_EQ(N_kntmer(one, 0, &res, ws), 1);
  EXPECT_TRUE(HasError(15, "S_GETI1D"));
  EXPECT_EQ(total_blocks(ws.ws), 0u);
}

TEST(KnotSpans, CountsSpansOfNonZeroLength) {
  int32_t c = -5;
  Knots bez({0, 0, 0, 1, 1, 1});
  N_kntnsp(&bez.kv, 2, &c);
  EXPECT_EQ(c, 1);
  Knots rep({0, 0, 0, 1, 1, 2, 3, 3, 3});
  N_kntnsp(&rep.kv, 2, &c);
  EXPECT_EQ(c, 3);
  Knots shortv({0, 0, 1, 1});
  c = -5;
  N_kntnsp(&shortv.kv, 2, &c);  // m - p <= p
  EXPECT_EQ(c, 0);
  c = -5;
  N_kntnsp(&shortv.kv, -1, &c);
  EXPECT_EQ(c, 0);
}

TEST(KnotMapping, MapsOntoTheInterval) {
  Knots k({0, 0, 2, 4, 4});
  N_kntsca(&k.kv, 1, INTERVAL{0.0, 1.0});
  EXPECT_EQ(k.U, std::vector<double>({0, 0, 0.5, 1, 1}));
  // Ends are overwritten with the range whatever they held.
  Knots c({1, 1, 1, 2, 3, 3, 3});
  N_kntsca(&c.kv, 2, INTERVAL{-1.0, 3.0});
  EXPECT_EQ(c.U, std::vector<double>({-1, -1, -1, 1, 3, 3, 3}));
}

TEST(KnotMapping, AlreadyMappedVectorIsUntouched) {
  Knots k({0.1, 0.1, 0.30000000000000004, 0.7, 0.7});
  const auto before = k.U;
  N_kntsca(&k.kv, 1, INTERVAL{0.1, 0.7});
  EXPECT_EQ(std::memcmp(before.data(), k.U.data(), sizeof(double) * before.size()), 0);
}

// A vector whose first and last knots coincide has no linear map; it is
// left unchanged instead of being filled with infinities.
TEST(KnotMapping, DegenerateVectorIsLeftUnchanged) {
  Knots k({2, 2, 2, 2});
  N_kntsca(&k.kv, 1, INTERVAL{0.0, 1.0});
  EXPECT_EQ(k.U, std::vector<double>({2, 2, 2, 2}));
  // A scale factor beyond the range of doubles likewise.
  Knots tiny({0, 0, 1e-300, 2e-300, 2e-300});
  const auto before = tiny.U;
  N_kntsca(&tiny.kv, 1, INTERVAL{0.0, 1e300});
  EXPECT_EQ(tiny.U, before);

  std::vector<double> U = {3, 3, 3, 3};
  std::vector<CPOINT> P(2, CPOINT{0, 0, 0, orvo_test::kWNR});
  CURVE cur;
  CPOLYGON pol;
  KNOTVECTOR kv;
  U_makpl1(&pol, P.data(), 1);
  U_makknt(&kv, U.data(), 3);
  U_makcu1(&cur, &pol, 1, &kv);
  U_curkts(&cur, INTERVAL{0.0, 1.0});
  EXPECT_EQ(U, std::vector<double>({3, 3, 3, 3}));
  for (double u : U) EXPECT_TRUE(std::isfinite(u));
}

TEST(KnotMapping, CurveAndSurfaceVectors) {
  std::vector<double> U = {0, 0, 0, 5, 10, 10, 10}, V = {-1, -1, 1, 1};
  std::vector<CPOINT> row(2, CPOINT{0, 0, 0, orvo_test::kWNR});
  std::vector<CPOINT> data(4 * 2, CPOINT{0, 0, 0, orvo_test::kWNR});
  CPOINT *rows[4] = {&data[0], &data[2], &data[4], &data[6]};
  CNET net;
  KNOTVECTOR ku, kv;
  SURFACE sur;
  U_maknt1(&net, rows, 3, 1);
  U_makknt(&ku, U.data(), 6);
  U_makknt(&kv, V.data(), 3);
  U_maksu1(&sur, &net, 2, 1, &ku, &kv);
  const RECTANGLE r{0.0, 1.0, 0.0, 2.0};

  U_surkts(&sur, r, 0);
  EXPECT_EQ(U, std::vector<double>({0, 0, 0, 5, 10, 10, 10}));
  EXPECT_EQ(V, std::vector<double>({-1, -1, 1, 1}));
  U_surkts(&sur, r, 1);
  EXPECT_EQ(U, std::vector<double>({0, 0, 0, 0.5, 1, 1, 1}));
  EXPECT_EQ(V, std::vector<double>({-1, -1, 1, 1}));
  U_surkts(&sur, r, 2);
  EXPECT_EQ(V, std::vector<double>({0, 0, 2, 2}));
  U = {0, 0, 0, 5, 10, 10, 10};
  V = {-1, -1, 1, 1};
  U_surkts(&sur, RECTANGLE{2.0, 4.0, 1.0, 3.0}, 3);
  EXPECT_EQ(U, std::vector<double>({2, 2, 2, 3, 4, 4, 4}));
  EXPECT_EQ(V, std::vector<double>({1, 1, 3, 3}));

  CURVE cur;
  CPOLYGON pol;
  KNOTVECTOR kc;
  std::vector<double> W = {0, 0, 0, 5, 10, 10, 10};
  std::vector<CPOINT> P(4, CPOINT{1, 2, 3, orvo_test::kWNR});
  U_makpl1(&pol, P.data(), 3);
  U_makknt(&kc, W.data(), 6);
  U_makcu1(&cur, &pol, 2, &kc);
  U_curkts(&cur, INTERVAL{0.0, 2.0});
  EXPECT_EQ(W, std::vector<double>({0, 0, 0, 1, 2, 2, 2}));
  EXPECT_EQ(P[0].x, 1.0);  // control points untouched
}
