// Knot spans, multiplicities and basis functions against the recursive
// definition, with both sides at knots, exact end values and every error.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <iterator>
#include <random>
#include <vector>

#include "core/internal.hpp"
#include "eval/kernels.hpp"
#include "eval/reference.hpp"
#include "orvo/orvo.h"
#include "test_support.hpp"

using evaltest::cox_de_boor;
using evaltest::cox_de_boor_der;
using orvo_test::expect_error;

namespace {

struct Knots {
  std::vector<double> U;
  KNOTVECTOR knt;
  explicit Knots(std::vector<double> v) : U(std::move(v)) {
    knt = KNOTVECTOR{static_cast<int32_t>(U.size()) - 1, U.data()};
  }
};

// {0,0,0,1,2,3,3,3} for p = 2.
Knots example() { return Knots({0, 0, 0, 1, 2, 3, 3, 3}); }

}  // namespace

TEST(Spans, SidesAtKnotsAndEnds) {
  Knots k = example();
  int32_t s = -1;
  ASSERT_EQ(N_kntfsp(&k.knt, 2, 1.0, 1, &s), 0);
  EXPECT_EQ(s, 3);
  ASSERT_EQ(N_kntfsp(&k.knt, 2, 1.0, 2, &s), 0);
  EXPECT_EQ(s, 2);
  for (int16_t side : {1, 2}) {
    ASSERT_EQ(N_kntfsp(&k.knt, 2, 3.0, side, &s), 0);
    EXPECT_EQ(s, 4);
    ASSERT_EQ(N_kntfsp(&k.knt, 2, 0.0, side, &s), 0);
    EXPECT_EQ(s, 2);
    ASSERT_EQ(N_kntfsp(&k.knt, 2, 1.5, side, &s), 0);
    EXPECT_EQ(s, 3);
  }
}

TEST(Spans, BisectionAgreesWithLinearSearch) {
  std::mt19937 rng(7);
  for (int trial = 0; trial < 40; ++trial) {
    const int p = 1 + trial % 5, n = p + 3 + trial;
    const std::vector<double> U = evaltest::random_knots(n, p, rng, 3);
    Knots k(U);
    std::vector<double> us(U.begin(), U.end());
    std::uniform_real_distribution<double> d(0.0, 1.0);
    for (int i = 0; i < 30; ++i) us.push_back(d(rng));
    for (double u : us)
      for (int16_t side : {1, 2}) {
        int32_t s = -1;
        ASSERT_EQ(N_kntfsp(&k.knt, p, u, side, &s), 0);
        ASSERT_GE(s, p);
        ASSERT_LE(s, k.knt.m - p - 1);
        const bool start = u == U[p], end = u == U[k.knt.m - p];
        if ((side == 1 && !end) || start) {
          EXPECT_TRUE(U[s] <= u && u < U[s + 1]) << u;
        } else {
          EXPECT_TRUE(U[s] < u && u <= U[s + 1]) << u;
        }
      }
  }
}

// For u > 0 the search compares knots by their bit patterns: it must find
// the span the comparison of values finds, on knots of either sign, signed
// zeros, infinities and repeats, for every candidate count and both sides.
TEST(Spans, BitPatternSearchAgreesWithValues) {
  using orvo::detail::bisect_bits;
  using orvo::detail::bisect_values;
  const double pool[] = {-HUGE_VAL, -3.0, -0.0, 0.0, DBL_MIN, 0.25, 0.5, 0.5, 1.0, 7.0, HUGE_VAL};
  std::mt19937 rng(11);
  for (int len = 1; len <= 40; ++len)
    for (int trial = 0; trial < 20; ++trial) {
      std::vector<double> U(len);
      for (double &x : U) x = pool[rng() % std::size(pool)];
      std::stable_sort(U.begin(), U.end());
      U[0] = -HUGE_VAL;  // the first candidate passes for every u
      for (double u : {DBL_MIN, 0.25, 0.5, 0.75, 1.0, 7.0, 1e300}) {
        EXPECT_EQ(bisect_bits<true>(U.data(), 0, len - 1, u),
                  bisect_values<true>(U.data(), 0, len - 1, u));
        EXPECT_EQ(bisect_bits<false>(U.data(), 0, len - 1, u),
                  bisect_values<false>(U.data(), 0, len - 1, u));
      }
    }
}

TEST(Spans, Multiplicity) {
  Knots k({0, 0, 0, 0.5, 0.5, 0.7, 1, 1, 1});
  int32_t s = -1, mult = -1;
  ASSERT_EQ(N_kntfsm(&k.knt, 2, 0.5, 1, &s, &mult), 0);
  EXPECT_EQ(s, 4);
  EXPECT_EQ(mult, 2);
  ASSERT_EQ(N_kntfsm(&k.knt, 2, 0.5, 2, &s, &mult), 0);
  EXPECT_EQ(s, 2);
  EXPECT_EQ(mult, 2);
  ASSERT_EQ(N_kntfsm(&k.knt, 2, 0.7, 1, &s, &mult), 0);
  EXPECT_EQ(mult, 1);
  ASSERT_EQ(N_kntfsm(&k.knt, 2, 0.6, 2, &s, &mult), 0);
  EXPECT_EQ(mult, 0);
  for (int16_t side : {1, 2}) {
    ASSERT_EQ(N_kntfsm(&k.knt, 2, 1.0, side, &s, &mult), 0);
    EXPECT_EQ(s, 5);
    EXPECT_EQ(mult, 3);
    ASSERT_EQ(N_kntfsm(&k.knt, 2, 0.0, side, &s, &mult), 0);
    EXPECT_EQ(s, 2);
    EXPECT_EQ(mult, 3);
  }
}

TEST(Spans, RefusedInputsFailWithTheirCodes) {
  Knots k = example();
  int32_t s = 0, mult = 0;
  E_clrerr();
  EXPECT_EQ(N_kntfsp(&k.knt, 2, -0.1, 1, &s), 1);
  expect_error(6, "N_KNTFSP");
  EXPECT_EQ(N_kntfsp(&k.knt, 2, 3.0000001, 2, &s), 1);
  expect_error(6, "N_KNTFSP");
  EXPECT_EQ(N_kntfsp(&k.knt, 2, NAN, 1, &s), 1);
  expect_error(6, "N_KNTFSP");
  EXPECT_EQ(N_kntfsp(&k.knt, 2, 1.0, 3, &s), 1);
  expect_error(13, "N_KNTFSP");
  EXPECT_EQ(N_kntfsp(&k.knt, 2, 0.0, 0, &s), 1);  // even at an end
  expect_error(13, "N_KNTFSP");
  EXPECT_EQ(N_kntfsm(&k.knt, 2, 1.0, 3, &s, &mult), 1);
  expect_error(13, "N_KNTFSM");
  EXPECT_EQ(N_kntfsm(&k.knt, 2, 4.0, 1, &s, &mult), 1);
  expect_error(6, "N_KNTFSM");
  // Degrees the tables cannot hold, and too few knots for the degree.
  EXPECT_EQ(N_kntfsp(&k.knt, 29, 1.0, 1, &s), 1);
  expect_error(3, "N_KNTFSP");
  EXPECT_EQ(N_kntfsp(&k.knt, -1, 1.0, 1, &s), 1);
  expect_error(7, "N_KNTFSP");
  EXPECT_EQ(N_kntfsp(&k.knt, 4, 1.0, 1, &s), 1);
  expect_error(14, "N_KNTFSP");
  EXPECT_EQ(N_kntfsp(nullptr, 2, 1.0, 1, &s), 1);
  expect_error(6, "N_KNTFSP");
}

TEST(Spans, UnclampedAndUnsortedVectorsEnd) {
  // Below U[p] an unclamped vector has no span: refused, not searched.
  Knots k({-2, -1, 0, 1, 2, 3, 4});
  int32_t s = 0;
  EXPECT_EQ(N_kntfsp(&k.knt, 2, -1.5, 1, &s), 1);
  expect_error(6, "N_KNTFSP");
  EXPECT_EQ(N_kntfsp(&k.knt, 2, 2.5, 2, &s), 1);
  expect_error(6, "N_KNTFSP");
  ASSERT_EQ(N_kntfsp(&k.knt, 2, 0.0, 2, &s), 0);
  EXPECT_EQ(s, 2);
  ASSERT_EQ(N_kntfsp(&k.knt, 2, 2.0, 1, &s), 0);
  EXPECT_EQ(s, 3);
  // Knots out of order: the search still ends inside the span range.
  Knots bad({0, 0, 0, 0.9, 0.1, 0.8, 0.2, 1, 1, 1});
  for (double u : {0.15, 0.5, 0.85})
    for (int16_t side : {1, 2}) {
      ASSERT_EQ(N_kntfsp(&bad.knt, 2, u, side, &s), 0);
      EXPECT_GE(s, 2);
      EXPECT_LE(s, 6);
    }
}

TEST(Basis, AllValuesMatchRecursionAndSumToOne) {
  std::mt19937 rng(11);
  for (int p = 0; p <= 6; ++p) {
    const int n = p + 6;
    const std::vector<double> U = evaltest::random_knots(n, p, rng, p >= 2 ? 2 : 0);
    Knots k(U);
    std::vector<double> us(U.begin(), U.end());
    for (int i = 0; i <= 20; ++i) us.push_back(i / 20.0);
    for (double u : us)
      for (int16_t side : {1, 2}) {
        double N[MAXDEGREE + 1];
        int32_t s = -1;
        ASSERT_EQ(N_kntalb(&k.knt, p, u, side, N, &s), 0);
        double sum = 0.0;
        for (int j = 0; j <= p; ++j) {
          const int si = (u == 1.0) ? 2 : (u == 0.0 ? 1 : side);
          EXPECT_NEAR(N[j], cox_de_boor(U, s - p + j, p, u, si), 1e-13) << p << " " << u;
          sum += N[j];
        }
        EXPECT_NEAR(sum, 1.0, 1e-14);
      }
  }
}

TEST(Basis, ExactAtClampedEnds) {
  Knots k = example();
  double N[3];
  int32_t s = 0;
  for (int16_t side : {1, 2}) {
    ASSERT_EQ(N_kntalb(&k.knt, 2, 3.0, side, N, &s), 0);
    EXPECT_EQ(s, 4);
    EXPECT_EQ(N[0], 0.0);
    EXPECT_EQ(N[1], 0.0);
    EXPECT_EQ(N[2], 1.0);
    ASSERT_EQ(N_kntalb(&k.knt, 2, 0.0, side, N, &s), 0);
    EXPECT_EQ(s, 2);
    EXPECT_EQ(N[0], 1.0);
    EXPECT_EQ(N[1], 0.0);
    double v = -1.0;
    ASSERT_EQ(N_kntbas(&k.knt, 0, 2, 0.0, side, &v), 0);
    EXPECT_EQ(v, 1.0);
    ASSERT_EQ(N_kntbas(&k.knt, 4, 2, 3.0, side, &v), 0);
    EXPECT_EQ(v, 1.0);
    ASSERT_EQ(N_kntbas(&k.knt, 3, 2, 3.0, side, &v), 0);
    EXPECT_EQ(v, 0.0);
  }
}

TEST(Basis, UnclampedStartIsComputedNotAssumed) {
  // On an unclamped vector the first function is not 1 at U[p].
  Knots k({-2, -1, 0, 1, 2, 3, 4});
  double N[3];
  int32_t s = 0;
  ASSERT_EQ(N_kntalb(&k.knt, 2, 0.0, 2, N, &s), 0);
  EXPECT_EQ(s, 2);
  EXPECT_NEAR(N[0], 0.5, 1e-15);
  EXPECT_NEAR(N[1], 0.5, 1e-15);
  EXPECT_NEAR(N[2], 0.0, 1e-15);
  double v = 0.0;
  ASSERT_EQ(N_kntbas(&k.knt, 0, 2, 0.0, 2, &v), 0);
  EXPECT_NEAR(v, 0.5, 1e-15);
  // Single functions are defined below U[p] too.
  ASSERT_EQ(N_kntbas(&k.knt, 0, 2, -1.0, 1, &v), 0);
  EXPECT_NEAR(v, 0.5, 1e-15);
}

TEST(Basis, HighestDegree) {
  // Bezier basis of degree 28: Bernstein polynomials.
  std::vector<double> U(29, 0.0);
  U.insert(U.end(), 29, 1.0);
  Knots k(U);
  double N[MAXDEGREE + 1];
  int32_t s = 0;
  ASSERT_EQ(N_kntalb(&k.knt, MAXDEGREE, 0.3, 1, N, &s), 0);
  double sum = 0.0, binom = 1.0;
  for (int j = 0; j <= MAXDEGREE; ++j) {
    const double b = binom * std::pow(0.3, j) * std::pow(0.7, MAXDEGREE - j);
    EXPECT_NEAR(N[j], b, 1e-14);
    binom = binom * (MAXDEGREE - j) / (j + 1);
    sum += N[j];
  }
  EXPECT_NEAR(sum, 1.0, 1e-14);
}

TEST(Basis, SingleFunctionMatchesRecursion) {
  std::mt19937 rng(3);
  const int p = 3, n = 9;
  const std::vector<double> U = evaltest::random_knots(n, p, rng, 2);
  Knots k(U);
  for (int t = 0; t <= 40; ++t) {
    const double u = t / 40.0;
    for (double uu : {u, U[4 + t % 6]})
      for (int16_t side : {1, 2})
        for (int i = 0; i <= n; ++i) {
          double v = -1.0;
          ASSERT_EQ(N_kntbas(&k.knt, i, p, uu, side, &v), 0);
          const int si = (uu == 1.0) ? 2 : (uu == 0.0 ? 1 : side);
          EXPECT_NEAR(v, cox_de_boor(U, i, p, uu, si), 1e-13);
        }
  }
}

TEST(Basis, ErrorsOfTheSingleAndTableRoutines) {
  Knots k = example();
  double v = 0.0, N[3], d[3];
  int32_t s = 0;
  double row0[3], row1[3];
  double *rows[] = {row0, row1};
  EXPECT_EQ(N_kntbas(&k.knt, -1, 2, 1.0, 1, &v), 1);
  expect_error(7, "N_KNTBAS");
  EXPECT_EQ(N_kntbas(&k.knt, 5, 2, 1.0, 1, &v), 1);
  expect_error(7, "N_KNTBAS");
  EXPECT_EQ(N_kntbas(&k.knt, 0, 2, 1.0, 3, &v), 1);
  expect_error(13, "N_KNTBAS");
  EXPECT_EQ(N_kntbas(&k.knt, 0, 2, 3.5, 1, &v), 1);
  expect_error(6, "N_KNTBAS");
  EXPECT_EQ(N_kntalb(&k.knt, 2, 0.0, 3, N, &s), 1);
  expect_error(13, "N_KNTALB");
  EXPECT_EQ(N_kntalb(&k.knt, 2, -1.0, 1, N, &s), 1);
  expect_error(6, "N_KNTALB");
  EXPECT_EQ(N_kntalb(&k.knt, 30, 1.0, 1, N, &s), 1);
  expect_error(3, "N_KNTALB");
  EXPECT_EQ(N_kntadb(&k.knt, 2, 1.0, 3, 1, rows, &s), 1);
  expect_error(13, "N_KNTADB");
  EXPECT_EQ(N_kntadb(&k.knt, 2, 9.0, 1, 1, rows, &s), 1);
  expect_error(6, "N_KNTADB");
  EXPECT_EQ(N_kntadb(&k.knt, 2, 1.0, 1, -1, rows, &s), 1);
  expect_error(20, "N_KNTADB");
  EXPECT_EQ(N_kntbad(&k.knt, 0, 2, 1.0, 3, 1, d), 1);
  expect_error(13, "N_KNTBAD");
  EXPECT_EQ(N_kntbad(&k.knt, 5, 2, 1.0, 1, 1, d), 1);
  expect_error(7, "N_KNTBAD");
  EXPECT_EQ(N_kntbad(&k.knt, 0, 2, 1.0, 1, -2, d), 1);
  expect_error(20, "N_KNTBAD");
}

TEST(BasisDerivatives, TableMatchesRecursionAndRowsSumToZero) {
  std::mt19937 rng(5);
  for (int p = 0; p <= 5; ++p) {
    const int n = p + 5, nd = p + 2;  // rows above p must be zero
    const std::vector<double> U = evaltest::random_knots(n, p, rng, p >= 2 ? 2 : 0);
    Knots k(U);
    std::vector<std::vector<double>> store(nd + 1, std::vector<double>(p + 1, -7.0));
    std::vector<double *> rows;
    for (auto &r : store) rows.push_back(r.data());
    std::vector<double> us(U.begin(), U.end());
    for (int i = 1; i < 10; ++i) us.push_back(i / 10.0);
    for (double u : us)
      for (int16_t side : {1, 2}) {
        int32_t s = -1;
        ASSERT_EQ(N_kntadb(&k.knt, p, u, side, nd, rows.data(), &s), 0);
        const int si = (u == 1.0) ? 2 : (u == 0.0 ? 1 : side);
        for (int kk = 0; kk <= nd; ++kk) {
          double sum = 0.0, scale = 0.0;
          for (int j = 0; j <= p; ++j) {
            scale += std::fabs(rows[kk][j]);
            const double ref = cox_de_boor_der(U, s - p + j, p, kk, u, si);
            EXPECT_NEAR(rows[kk][j], ref, 1e-9 * (1.0 + std::fabs(ref))) << p << " " << kk;
            sum += rows[kk][j];
            if (kk > p) {
              EXPECT_EQ(rows[kk][j], 0.0);
            }
          }
          EXPECT_NEAR(sum, kk == 0 ? 1.0 : 0.0, 1e-13 * (1.0 + scale));
        }
        // The single-function routine gives the same columns.
        for (int j = 0; j <= p; ++j) {
          double one[8];
          ASSERT_EQ(N_kntbad(&k.knt, s - p + j, p, u, side, nd, one), 0);
          for (int kk = 0; kk <= nd; ++kk)
            EXPECT_NEAR(one[kk], rows[kk][j], 1e-9 * (1.0 + std::fabs(rows[kk][j])));
        }
      }
  }
}

TEST(BasisDerivatives, OneSidedAtACornerKnot) {
  // Double knot at 0.5 for p = 2: N[2] has a kink there.
  Knots k({0, 0, 0, 0.5, 0.5, 1, 1, 1});
  double r[3], l[3];
  ASSERT_EQ(N_kntbad(&k.knt, 2, 2, 0.5, 1, 2, r), 0);
  ASSERT_EQ(N_kntbad(&k.knt, 2, 2, 0.5, 2, 2, l), 0);
  EXPECT_NEAR(r[0], 1.0, 1e-15);
  EXPECT_NEAR(l[0], 1.0, 1e-15);
  // N[2] = (2u)^2 on the left, (2 - 2u)^2 on the right.
  EXPECT_NEAR(l[1], 4.0, 1e-13);
  EXPECT_NEAR(r[1], -4.0, 1e-13);
  EXPECT_NEAR(l[2], 8.0, 1e-12);
  EXPECT_NEAR(r[2], 8.0, 1e-12);
  // Outside the support: all zero.
  double z[3] = {9, 9, 9};
  ASSERT_EQ(N_kntbad(&k.knt, 0, 2, 0.75, 1, 2, z), 0);
  EXPECT_EQ(z[0], 0.0);
  EXPECT_EQ(z[2], 0.0);
  // At the start of the range the limit is taken from inside whatever the
  // side: N[0] = (1 - 2u)^2 there.
  for (int16_t side : {1, 2}) {
    ASSERT_EQ(N_kntbad(&k.knt, 0, 2, 0.0, side, 2, z), 0);
    EXPECT_NEAR(z[0], 1.0, 1e-15);
    EXPECT_NEAR(z[1], -4.0, 1e-13);
    EXPECT_NEAR(z[2], 8.0, 1e-12);
    ASSERT_EQ(N_kntbad(&k.knt, 4, 2, 1.0, side, 1, z), 0);
    EXPECT_NEAR(z[0], 1.0, 1e-15);
    EXPECT_NEAR(z[1], 4.0, 1e-13);
  }
  // The right limit of the first function of the right span.
  ASSERT_EQ(N_kntbad(&k.knt, 3, 2, 0.5, 2, 1, z), 0);
  EXPECT_EQ(z[0], 0.0);
  EXPECT_EQ(z[1], 0.0);
}

TEST(BasisEvaluation, AllocatesNothing) {
  Knots k = example();
  double N[3], row0[3], row1[3], d[3], v;
  double *rows[] = {row0, row1};
  int32_t s;
  const long before = orvo::detail::allocation_count();
  for (double u = 0.0; u <= 3.0; u += 0.25) {
    ASSERT_EQ(N_kntalb(&k.knt, 2, u, 1, N, &s), 0);
    ASSERT_EQ(N_kntadb(&k.knt, 2, u, 2, 1, rows, &s), 0);
    ASSERT_EQ(N_kntbas(&k.knt, 2, 2, u, 1, &v), 0);
    ASSERT_EQ(N_kntbad(&k.knt, 2, 2, u, 1, 2, d), 0);
  }
  EXPECT_EQ(orvo::detail::allocation_count(), before);
}
