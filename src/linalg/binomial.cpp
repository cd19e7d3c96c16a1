// Rows of Pascal's triangle in 32-bit integers, for the binomial factors of
// derivative formulas and basis conversions.
#include <cstdint>
#include <limits>

#include "core/internal.hpp"

namespace {

// Binomial coefficients from row 34 on exceed 32 bits; such entries are
// held at the largest int32 instead of wrapping around.
int32_t add_binomial(int32_t a, int32_t b) {
  const int64_t s = int64_t{a} + b;
  constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(s > kMax ? kMax : s);
}

}  // namespace

extern "C" {

// Row n from row n - 1 in place: each new entry needs the old entry to its
// left, which the walk carries along before overwriting it.
void M_pascal(int32_t *row, int32_t n) {
  if (!row || n < 0) return;
  if (n == 0) {
    row[0] = 1;
    return;
  }
  int32_t left = row[0];  // old row[k - 1]
  for (int32_t k = 1; k <= n / 2; ++k) {
    const int32_t old = row[k];
    row[k] = add_binomial(left, old);
    row[n - k] = row[k];
    left = old;
  }
  row[0] = 1;
  row[n] = 1;
}

void M_pastri(int32_t **rows, int32_t n) {
  if (!rows || n < 0) return;
  rows[0][0] = 1;
  if (n == 0) return;  // a table of one row has no row 1
  rows[1][0] = rows[1][1] = 1;
  for (int32_t i = 2; i <= n; ++i) {
    rows[i][0] = rows[i][i] = 1;
    for (int32_t k = 1; k <= i / 2; ++k)
      rows[i][k] = rows[i][i - k] = add_binomial(rows[i - 1][k - 1], rows[i - 1][k]);
  }
}

}  // extern "C"
