// Bucketed value sets.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <random>
#include <vector>

#include "core/internal.hpp"
#include "linalg/linalg_test_util.hpp"

using namespace linalg_test;

namespace {

TEST(ValueSet, DuplicatesAreStoredOnceAndValuesComeBackSorted) {
  Workspace ws;
  double **table = nullptr;
  ASSERT_EQ(M_inrhas(&table, 4, ws), 0);
  for (int b = 0; b <= 4; ++b) EXPECT_EQ(table[b], nullptr);
  int32_t count = 0;
  for (double v : {0.5, 0.25, 0.5 + 1e-13, 1.0})
    ASSERT_EQ(M_uprhas(table, 4, 0, v, 1, &count, ws), 0);
  EXPECT_EQ(count, 3);
  ASSERT_NE(table[4], nullptr);  // the upper end lands in the last bucket
  EXPECT_EQ(table[4][0], 1.0);
  EXPECT_EQ(table[4][1], DBL_MAX);
  ASSERT_NE(table[2], nullptr);
  EXPECT_EQ(table[2][0], 0.5);
  EXPECT_EQ(table[2][1], DBL_MAX);
  std::vector<double> out(count);
  M_rerhas(table, 4, out.data());
  EXPECT_EQ(out, (std::vector<double>{0.25, 0.5, 1.0}));
}

TEST(ValueSet, RandomInsertionsMatchASortedUniqueSet) {
  Workspace ws;
  std::mt19937 rng(29);
  std::uniform_int_distribution<int> pick(0, 200);
  const double lo = -3.0, hi = 5.0;
  const int32_t nb = 7;
  double **table = nullptr;
  ASSERT_EQ(M_inrhas(&table, nb, ws), 0);
  int32_t count = 0;
  std::vector<double> want;
  for (int k = 0; k < 600; ++k) {
    const double v = lo + (hi - lo) * pick(rng) / 200.0;
    ASSERT_EQ(M_uprhas(table, nb, lo, v, hi, &count, ws), 0);
    want.push_back(v);
  }
  std::sort(want.begin(), want.end());
  want.erase(std::unique(want.begin(), want.end()), want.end());
  ASSERT_EQ(count, static_cast<int32_t>(want.size()));
  std::vector<double> out(count);
  M_rerhas(table, nb, out.data());
  EXPECT_EQ(out, want);
  // Every bucket holds just the values of its own share of the range.
  for (int32_t b = 0; b <= nb; ++b)
    for (const double *p = table[b]; p && *p != DBL_MAX; ++p)
      EXPECT_EQ(static_cast<int32_t>(std::floor(nb * (*p - lo) / (hi - lo))), b);
}

TEST(ValueSet, RefusesValuesOutsideTheRange) {
  Workspace ws;
  double **table = nullptr;
  ASSERT_EQ(M_inrhas(&table, 3, ws), 0);
  int32_t count = 0;
  E_clrerr();
  EXPECT_EQ(M_uprhas(table, 3, 0, -0.1, 1, &count, ws), 1);
  expect_error(14, "M_UPRHAS");
  E_clrerr();
  EXPECT_EQ(M_uprhas(table, 3, 0, 1.0000001, 1, &count, ws), 1);
  expect_error(14, "M_UPRHAS");
  E_clrerr();
  EXPECT_EQ(M_uprhas(table, 3, 0, std::nan(""), 1, &count, ws), 1);
  expect_error(14, "M_UPRHAS");
  // The terminator is not a storable value.
  EXPECT_EQ(M_uprhas(table, 3, 0, DBL_MAX, DBL_MAX, &count, ws), 1);
  expect_error(14, "M_UPRHAS");
  EXPECT_EQ(count, 0);
  E_clrerr();
  EXPECT_EQ(M_inrhas(&table, -1, ws), 1);
  expect_error(7, "M_INRHAS");
}

TEST(ValueSet, ZeroWidthRangeUsesTheFirstBucket) {
  Workspace ws;
  double **table = nullptr;
  ASSERT_EQ(M_inrhas(&table, 2, ws), 0);
  int32_t count = 0;
  ASSERT_EQ(M_uprhas(table, 2, 1.5, 1.5, 1.5, &count, ws), 0);
  ASSERT_EQ(M_uprhas(table, 2, 1.5, 1.5, 1.5, &count, ws), 0);
  EXPECT_EQ(count, 1);
  ASSERT_NE(table[0], nullptr);
  EXPECT_EQ(table[0][0], 1.5);
}

TEST(ValueSet, AllocationFailures) {
  Workspace ws;
  double **table = nullptr;
  orvo::detail::fail_allocation_at(1);
  EXPECT_EQ(M_inrhas(&table, 3, ws), 1);
  orvo::detail::fail_allocation_at(0);
  expect_error(15, "S_GETR1P");

  ASSERT_EQ(M_inrhas(&table, 3, ws), 0);
  int32_t count = 0;
  orvo::detail::fail_allocation_at(1);
  EXPECT_EQ(M_uprhas(table, 3, 0, 0.5, 1, &count, ws), 1);
  orvo::detail::fail_allocation_at(0);
  expect_error(15, "S_GETR1D");
  EXPECT_EQ(count, 0);
  EXPECT_EQ(table[1], nullptr);

  ASSERT_EQ(M_uprhas(table, 3, 0, 0.5, 1, &count, ws), 0);
  double *before = table[2];
  orvo::detail::fail_allocation_at(1);
  EXPECT_EQ(M_uprhas(table, 3, 0, 0.6, 1, &count, ws), 1);
  orvo::detail::fail_allocation_at(0);
  EXPECT_EQ(table[2], before);  // the bucket keeps its old array
  EXPECT_EQ(count, 1);
}

}  // namespace
