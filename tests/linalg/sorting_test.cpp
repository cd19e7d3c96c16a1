// Sorting, interpolation search and swaps.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "linalg/linalg_test_util.hpp"

namespace {

TEST(Sorting, RandomDataWithDuplicatesMatchesStdSort) {
  std::mt19937 rng(21);
  std::uniform_int_distribution<int> pick(0, 15);
  for (int size : {1, 2, 4, 5, 10, 11, 57, 400}) {
    std::vector<double> v(size);
    for (double &x : v) x = pick(rng) * 0.25 - 1.0;  // many duplicates
    std::vector<double> want = v;
    std::sort(want.begin(), want.end());
    M_rshell(v.data(), size - 1);
    EXPECT_EQ(v, want) << "size " << size;
  }
}

TEST(Sorting, OrderedReversedAndDegenerateInputs) {
  std::vector<double> up = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  std::vector<double> down(up.rbegin(), up.rend());
  M_rshell(down.data(), 9);
  EXPECT_EQ(down, up);
  M_rshell(up.data(), 9);
  EXPECT_EQ(up, (std::vector<double>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));

  std::vector<double> same(7, 3.5);
  M_rshell(same.data(), 6);
  EXPECT_EQ(same, std::vector<double>(7, 3.5));

  double one = 4.0;
  M_rshell(&one, 0);  // nothing to do
  M_rshell(&one, -1);
  EXPECT_EQ(one, 4.0);
}

TEST(Searching, HitsAtBothEndsAndInside) {
  const double a[] = {0.0, 0.1, 0.25, 0.7, 0.71, 2.0, 9.5};
  int32_t index = 99;
  for (int32_t k = 0; k <= 6; ++k) {
    M_rinsch(a, 6, a[k], &index);
    EXPECT_EQ(index, k);
  }
  M_rinsch(a, 6, 0.7 + 5e-13, &index);  // within the equality tolerance
  EXPECT_EQ(index, 3);
  M_rinsch(a, 6, 2.0 - 5e-13, &index);
  EXPECT_EQ(index, 5);
  M_rinsch(a, 6, 0.25 + 1e-9, &index);
  EXPECT_EQ(index, -1);
}

TEST(Searching, MissesOutsideTheRangeAndDegenerateArrays) {
  const double a[] = {1.0, 2.0, 3.0, 4.0};
  int32_t index = 5;
  M_rinsch(a, 3, -7.0, &index);
  EXPECT_EQ(index, -1);
  M_rinsch(a, 3, 1e300, &index);
  EXPECT_EQ(index, -1);
  M_rinsch(a, 3, 2.5, &index);
  EXPECT_EQ(index, -1);
  M_rinsch(a, -1, 1.0, &index);
  EXPECT_EQ(index, -1);
  M_rinsch(a, 0, 1.0, &index);
  EXPECT_EQ(index, 0);

  // Equal end values: the probe has no slope and the search stops.
  const double flat[] = {2.0, 2.0, 2.0};
  M_rinsch(flat, 2, 2.0, &index);
  EXPECT_GE(index, 0);
  EXPECT_LE(index, 2);
  M_rinsch(flat, 2, 3.0, &index);
  EXPECT_EQ(index, -1);
}

TEST(Searching, RandomSortedArrays) {
  std::mt19937 rng(23);
  std::uniform_real_distribution<double> u(-5, 5);
  std::vector<double> v(300);
  for (double &x : v) x = u(rng);
  std::sort(v.begin(), v.end());
  v.erase(std::unique(v.begin(), v.end()), v.end());
  const int32_t n = static_cast<int32_t>(v.size()) - 1;
  for (int32_t k = 0; k <= n; ++k) {
    int32_t index = -2;
    M_rinsch(v.data(), n, v[k], &index);
    EXPECT_EQ(index, k);
    if (k < n && v[k + 1] - v[k] > 1e-9) {
      M_rinsch(v.data(), n, 0.5 * (v[k] + v[k + 1]), &index);
      EXPECT_EQ(index, -1);
    }
  }
}

TEST(Swapping, AllKinds) {
  int32_t i1 = 1, i2 = 2;
  M_inswap(&i1, &i2);
  EXPECT_EQ(i1, 2);
  EXPECT_EQ(i2, 1);
  double r1 = 1.5, r2 = -2.5;
  M_reswap(&r1, &r2);
  EXPECT_EQ(r1, -2.5);
  EXPECT_EQ(r2, 1.5);
  POINT p1{1, 2, 3}, p2{4, 5, 6};
  M_poswap(&p1, &p2);
  EXPECT_EQ(p1.x, 4);
  EXPECT_EQ(p2.z, 3);
  CPOINT q1{1, 2, 3, 4}, q2{5, 6, 7, 8};
  M_cpswap(&q1, &q2);
  EXPECT_EQ(q1.w, 8);
  EXPECT_EQ(q2.x, 1);
}

}  // namespace
