// Rows of Pascal's triangle.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "orvo/orvo.h"

namespace {

std::vector<int32_t *> table_rows(std::vector<int32_t> &block, int32_t n) {
  block.assign(static_cast<size_t>(n + 1) * (n + 1), -7);
  std::vector<int32_t *> rows(n + 1);
  for (int32_t i = 0; i <= n; ++i) rows[i] = block.data() + static_cast<size_t>(i) * (n + 1);
  return rows;
}

TEST(Binomial, TriangleByHand) {
  std::vector<int32_t> block;
  std::vector<int32_t *> rows = table_rows(block, 4);
  M_pastri(rows.data(), 4);
  EXPECT_EQ(std::vector<int32_t>(rows[4], rows[4] + 5), (std::vector<int32_t>{1, 4, 6, 4, 1}));
  EXPECT_EQ(std::vector<int32_t>(rows[3], rows[3] + 4), (std::vector<int32_t>{1, 3, 3, 1}));
  EXPECT_EQ(rows[0][0], 1);
  EXPECT_EQ(rows[1][1], 1);
  EXPECT_EQ(rows[2][1], 2);
}

TEST(Binomial, SingleRowTableIsNotOverrun) {
  int32_t row0[1] = {0};
  int32_t *rows[1] = {row0};
  M_pastri(rows, 0);
  EXPECT_EQ(row0[0], 1);
}

TEST(Binomial, RowByRowAgreesWithTheTable) {
  const int32_t n = 33;  // the last row whose entries fit in 32 bits
  std::vector<int32_t> block;
  std::vector<int32_t *> rows = table_rows(block, n);
  M_pastri(rows.data(), n);
  std::vector<int32_t> row(n + 1, 0);
  for (int32_t k = 0; k <= n; ++k) {
    M_pascal(row.data(), k);
    for (int32_t j = 0; j <= k; ++j) ASSERT_EQ(row[j], rows[k][j]) << k << ", " << j;
    // Rows sum to 2^k as long as that fits.
    if (k < 31) {
      int64_t sum = 0;
      for (int32_t j = 0; j <= k; ++j) sum += row[j];
      EXPECT_EQ(sum, int64_t{1} << k);
    }
  }
  EXPECT_EQ(rows[33][16], 1166803110);
  EXPECT_EQ(rows[28][14], 40116600);
}

TEST(Binomial, EntriesBeyondThirtyTwoBitsSaturate) {
  std::vector<int32_t> row(35, 0);
  for (int32_t k = 0; k <= 34; ++k) M_pascal(row.data(), k);
  EXPECT_EQ(row[17], std::numeric_limits<int32_t>::max());
  EXPECT_EQ(row[1], 34);
  EXPECT_EQ(row[34], 1);
}

}  // namespace
