// Helpers shared by the linear-algebra tests: a workspace that releases
// itself, error-state checks and matrices built from dense descriptions.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "orvo/orvo.h"

namespace linalg_test {

using Dense = std::vector<std::vector<double>>;

struct Workspace {
  STACKS s;
  Workspace() { N_inurbs(&s); }
  ~Workspace() { N_enurbs(&s); }
  operator STACKS *() { return &s; }
};

inline void expect_error(int32_t code, const std::string &tag) {
  const char *routine = nullptr;
  int32_t c = 0;
  E_GetOrvoError(&routine, &c);
  EXPECT_EQ(c, code);
  ASSERT_NE(routine, nullptr);
  EXPECT_EQ(std::string(routine), tag);
}

constexpr double kJunk = std::numeric_limits<double>::quiet_NaN();

// True when (i, j) is a meaningful entry of the storage type; a band of
// width bw reaches bw / 2 below and bw - 1 - bw / 2 above the diagonal.
inline bool meaningful(int32_t type, int32_t bw, int32_t i, int32_t j) {
  switch (type) {
    case ORVO_LOWERLEFT:
      return j <= i;
    case ORVO_UPPERRIGHT:
      return j >= i;
    case ORVO_BANDED:
      return j - i >= -(bw / 2) && j - i <= bw - 1 - bw / 2;
    default:
      return true;
  }
}

// Allocates a matrix of the given storage and fills its meaningful entries
// from d (row-major, (n+1) x (m+1)); every unused slot holds NaN so that a
// routine which reads outside the meaningful part shows it.
inline RMATRIX make_matrix(const Dense &d, int32_t type, int32_t bw, STACKS *ws) {
  const int32_t n = static_cast<int32_t>(d.size()) - 1;
  const int32_t m = static_cast<int32_t>(d[0].size()) - 1;
  RMATRIX r;
  M_inirma(&r);
  EXPECT_EQ(M_getrma(&r, n, m, type, bw, ws), 0);
  const int32_t cols = type == ORVO_BANDED ? bw : m + 1;
  for (int32_t i = 0; i <= n; ++i)
    for (int32_t k = 0; k < cols; ++k) r.a[i][k] = kJunk;
  for (int32_t i = 0; i <= n; ++i)
    for (int32_t j = 0; j <= m; ++j) {
      if (!meaningful(type, bw, i, j)) continue;
      if (type == ORVO_BANDED)
        r.a[i][j - i + bw / 2] = d[i][j];
      else
        r.a[i][j] = d[i][j];
    }
  return r;
}

// The dense matrix that a record describes (zero outside its storage).
inline Dense dense_of(const RMATRIX &r) {
  Dense d(r.n + 1, std::vector<double>(r.m + 1, 0.0));
  for (int32_t i = 0; i <= r.n; ++i)
    for (int32_t j = 0; j <= r.m; ++j) {
      if (!meaningful(r.type, r.bw, i, j)) continue;
      d[i][j] = r.type == ORVO_BANDED ? r.a[i][j - i + r.bw / 2] : r.a[i][j];
    }
  return d;
}

// Dense matrix with entries in [-1, 1], zero outside the given storage.
inline Dense random_dense(std::mt19937 &rng, int32_t n, int32_t m, int32_t type = ORVO_FULL,
                          int32_t bw = 1) {
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  Dense d(n + 1, std::vector<double>(m + 1, 0.0));
  for (int32_t i = 0; i <= n; ++i)
    for (int32_t j = 0; j <= m; ++j)
      if (meaningful(type, bw, i, j)) d[i][j] = u(rng);
  return d;
}

// Adds s to the diagonal, making a random matrix well conditioned.
inline void dominate(Dense &d, double s) {
  for (size_t i = 0; i < d.size() && i < d[i].size(); ++i) d[i][i] += d[i][i] >= 0 ? s : -s;
}

inline Dense multiply(const Dense &a, const Dense &b) {
  Dense c(a.size(), std::vector<double>(b[0].size(), 0.0));
  for (size_t i = 0; i < a.size(); ++i)
    for (size_t j = 0; j < b[0].size(); ++j)
      for (size_t k = 0; k < b.size(); ++k) c[i][j] += a[i][k] * b[k][j];
  return c;
}

inline Dense transpose(const Dense &a) {
  Dense t(a[0].size(), std::vector<double>(a.size()));
  for (size_t i = 0; i < a.size(); ++i)
    for (size_t j = 0; j < a[0].size(); ++j) t[j][i] = a[i][j];
  return t;
}

inline std::vector<double> times(const Dense &a, const std::vector<double> &x) {
  std::vector<double> y(a.size(), 0.0);
  for (size_t i = 0; i < a.size(); ++i)
    for (size_t j = 0; j < x.size(); ++j) y[i] += a[i][j] * x[j];
  return y;
}

inline void expect_near(const Dense &got, const Dense &want, double tol) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < got.size(); ++i) {
    ASSERT_EQ(got[i].size(), want[i].size());
    for (size_t j = 0; j < got[i].size(); ++j)
      EXPECT_NEAR(got[i][j], want[i][j], tol) << "at (" << i << ", " << j << ")";
  }
}

}  // namespace linalg_test
