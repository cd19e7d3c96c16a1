// Curve points, derivatives, rational basis functions, scalar functions
// and power forms against de Boor's algorithm on homogeneous points,
// hodographs, central differences and exact shapes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "core/internal.hpp"
#include "eval/curve_points.hpp"
#include "eval/reference.hpp"
#include "orvo/orvo.h"
#include "test_support.hpp"

using evaltest::CurveData;
using evaltest::dist;
using evaltest::norm;
using orvo_test::expect_error;

namespace {

// The four kinds of geometry one record type carries.
struct Kind {
  bool three_d, rational;
};
const Kind kKinds[] = {{false, false}, {true, false}, {false, true}, {true, true}};

// Parameters worth visiting: every knot and a spread of points between.
std::vector<double> parameters(const std::vector<double> &U, std::mt19937 &rng) {
  std::vector<double> us(U.begin(), U.end());
  std::uniform_real_distribution<double> d(0.0, 1.0);
  for (int i = 0; i < 25; ++i) us.push_back(d(rng));
  return us;
}

int inward(double u, int side) { return u == 0.0 ? 1 : (u == 1.0 ? 2 : side); }

// Full unit circle: nine points, rational quadratic, weights 1 and 1/sqrt(2).
std::vector<CPOINT> circle_points(bool three_d) {
  const double xs[] = {1, 1, 0, -1, -1, -1, 0, 1, 1}, ys[] = {0, 1, 1, 1, 0, -1, -1, -1, 0};
  std::vector<CPOINT> pts;
  for (int i = 0; i < 9; ++i) {
    const double w = i % 2 ? std::sqrt(0.5) : 1.0;
    pts.push_back(CPOINT{w * xs[i], w * ys[i], three_d ? 0.0 : DBL_MAX, w});
  }
  return pts;
}
const std::vector<double> kCircleKnots = {0, 0, 0, 0.25, 0.25, 0.5, 0.5, 0.75, 0.75, 1, 1, 1};

}  // namespace

TEST(CurveEval, PointsMatchDeBoorOnAllKinds) {
  std::mt19937 rng(21);
  for (const Kind &kind : kKinds)
    for (int p = 1; p <= 5; ++p) {
      const int n = p + 7;
      CurveData c(evaltest::random_points(n, kind.three_d, kind.rational, rng),
                  evaltest::random_knots(n, p, rng, p >= 2 ? 3 : 0), p);
      for (double u : parameters(c.U, rng))
        for (int16_t side : {1, 2}) {
          POINT P{};
          ASSERT_EQ(N_curevn(&c.cur, u, side, &P), 0);
          const POINT R = c.reference_point(u, inward(u, side));
          EXPECT_LT(dist(P, R), 1e-12 * (1.0 + norm(R))) << p << " " << u;
          if (!kind.three_d) {
            EXPECT_EQ(P.z, 0.0);
          }
        }
    }
}

// A run of points gives N_curevn's points bit for bit, with the spans
// carried from one parameter to the next (sorted) or not (shuffled), at
// every degree the kernels specialise and beyond, and stops at a refused
// parameter with N_curevn's error.
TEST(CurveEval, RunsOfPointsEqualSinglePoints) {
  std::mt19937 rng(23);
  for (const Kind &kind : kKinds)
    for (int p = 1; p <= 7; ++p) {
      const int n = p + 40;
      CurveData c(evaltest::random_points(n, kind.three_d, kind.rational, rng),
                  evaltest::random_knots(n, p, rng, p >= 2 ? 3 : 0), p);
      std::vector<double> us = parameters(c.U, rng);
      std::sort(us.begin(), us.end());
      for (int16_t side : {1, 2})
        for (int order = 0; order < 2; ++order) {
          if (order == 1) std::shuffle(us.begin(), us.end(), rng);
          std::vector<POINT> run(us.size());
          int64_t done = -1;
          ASSERT_EQ(
              orvo::detail::curve_points(&c.cur, us.data(), us.size(), side, run.data(), &done), 0);
          ASSERT_EQ(done, static_cast<int64_t>(us.size()));
          for (size_t i = 0; i < us.size(); ++i) {
            POINT P{};
            ASSERT_EQ(N_curevn(&c.cur, us[i], side, &P), 0);
            EXPECT_EQ(std::memcmp(&P, &run[i], sizeof P), 0) << p << " " << us[i];
          }
        }
      us[us.size() / 2] = 2.0;
      int64_t done = -1;
      EXPECT_EQ(orvo::detail::curve_points(&c.cur, us.data(), us.size(), 1,
                                           std::vector<POINT>(us.size()).data(), &done),
                1);
      EXPECT_EQ(done, static_cast<int64_t>(us.size() / 2));
      expect_error(6, "N_CUREVN");
    }
}

TEST(CurveEval, EndsGiveTheEndControlPointsExactly) {
  std::mt19937 rng(2);
  for (const Kind &kind : kKinds) {
    CurveData c(evaltest::random_points(6, kind.three_d, kind.rational, rng),
                evaltest::random_knots(6, 3, rng), 3);
    for (int16_t side : {1, 2}) {
      POINT P{};
      ASSERT_EQ(N_curevn(&c.cur, 1.0, side, &P), 0);
      const CPOINT &q = c.Pw[6];
      const double w = kind.rational ? q.w : 1.0;
      EXPECT_EQ(P.x, q.x / w);
      EXPECT_EQ(P.y, q.y / w);
      EXPECT_EQ(P.z, kind.three_d ? q.z / w : 0.0);
      ASSERT_EQ(N_curevn(&c.cur, 0.0, side, &P), 0);
      EXPECT_EQ(P.x, c.Pw[0].x / (kind.rational ? c.Pw[0].w : 1.0));
    }
  }
}

TEST(CurveEval, UnclampedCurveUsesItsDomainEnds) {
  // Uniform knots: the domain is [U[3], U[4]] = [3, 4]; its ends are not
  // control points, and parameters outside it have no span.
  std::mt19937 rng(9);
  for (bool rational : {false, true}) {
    CurveData c(evaltest::random_points(3, true, rational, rng), {0, 1, 2, 3, 4, 5, 6, 7}, 3);
    for (double u : {3.0, 3.25, 4.0})
      for (int16_t side : {1, 2}) {
        POINT P{}, CK[3];
        ASSERT_EQ(N_curevn(&c.cur, u, side, &P), 0);
        const evaltest::Spline4 h = c.homogeneous();
        const evaltest::Vec4 r = h.piece(3, u);
        const POINT R{r[0] / r[3], r[1] / r[3], r[2] / r[3]};
        EXPECT_LT(dist(P, R), 1e-13 * (1.0 + norm(R))) << u;
        ASSERT_EQ(N_curder(&c.cur, u, side, 2, CK), 0);
        EXPECT_LT(dist(CK[0], R), 1e-13 * (1.0 + norm(R))) << u;
      }
    POINT P{};
    EXPECT_EQ(N_curevn(&c.cur, 2.5, 1, &P), 1);
    expect_error(6, "N_CUREVN");
    EXPECT_EQ(N_curevn(&c.cur, 4.5, 2, &P), 1);
    expect_error(6, "N_CUREVN");
  }
}

TEST(CurveEval, UnitCircleStaysOnTheCircle) {
  for (bool three_d : {false, true}) {
    CurveData c(circle_points(three_d), kCircleKnots, 2);
    for (int i = 0; i <= 1000; ++i) {
      const double u = i / 1000.0;
      POINT P{};
      ASSERT_EQ(N_curevn(&c.cur, u, 1, &P), 0);
      EXPECT_NEAR(std::hypot(P.x, P.y), 1.0, 1e-14) << u;
      EXPECT_EQ(P.z, 0.0);
      POINT CK[3];
      ASSERT_EQ(N_curder(&c.cur, u, 2, 2, CK), 0);
      EXPECT_NEAR(std::hypot(CK[0].x, CK[0].y), 1.0, 1e-14);
      // The tangent is perpendicular to the radius; differentiating
      // |C|^2 = 1 twice gives C.C'' + C'.C' = 0.
      const double t = CK[0].x * CK[1].x + CK[0].y * CK[1].y;
      const double s =
          CK[0].x * CK[2].x + CK[0].y * CK[2].y + CK[1].x * CK[1].x + CK[1].y * CK[1].y;
      EXPECT_NEAR(t, 0.0, 1e-12);
      EXPECT_NEAR(s, 0.0, 1e-10 * (1.0 + norm(CK[2])));
    }
    // The quarter points are exact control points.
    POINT P{};
    ASSERT_EQ(N_curevn(&c.cur, 0.25, 2, &P), 0);
    EXPECT_EQ(P.x, 0.0);
    EXPECT_EQ(P.y, 1.0);
  }
}

TEST(CurveDerivatives, MatchHodographsOnAllKinds) {
  std::mt19937 rng(33);
  for (const Kind &kind : kKinds)
    for (int p = 1; p <= 5; ++p) {
      const int n = p + 6;
      CurveData c(evaltest::random_points(n, kind.three_d, kind.rational, rng),
                  evaltest::random_knots(n, p, rng, p >= 2 ? 3 : 0), p);
      const evaltest::Spline4 h = c.homogeneous();
      for (double u : parameters(c.U, rng))
        for (int16_t side : {1, 2})
          for (int16_t d : {0, 1, 2, 5}) {  // the orders with kernels of their own, and the rest
            POINT CK[6];
            ASSERT_EQ(N_curder(&c.cur, u, side, d, CK), 0);
            const std::vector<POINT> R = evaltest::reference_derivatives(h, u, inward(u, side), d);
            for (int k = 0; k <= d; ++k) {
              EXPECT_LT(dist(CK[k], R[k]), 1e-9 * (1.0 + norm(R[k]))) << p << " " << u << " " << k;
              if (!kind.three_d) {
                EXPECT_EQ(CK[k].z, 0.0);
              }
              if (!kind.rational && k > p) {
                EXPECT_EQ(norm(CK[k]), 0.0);
              }
            }
          }
    }
}

TEST(CurveDerivatives, MatchCentralDifferences) {
  std::mt19937 rng(8);
  CurveData c(evaltest::random_points(9, true, true, rng), evaltest::random_knots(9, 4, rng), 4);
  for (int i = 1; i < 40; ++i) {
    const double u = i / 40.0;
    // Stay away from knots so that the differences see one polynomial piece.
    bool near_knot = false;
    for (double k : c.U) near_knot |= std::fabs(k - u) < 2e-3;
    if (near_knot) continue;
    POINT CK[3], a{}, b{}, m{};
    ASSERT_EQ(N_curder(&c.cur, u, 1, 2, CK), 0);
    const double h1 = 1e-5, h2 = 1e-4;
    ASSERT_EQ(N_curevn(&c.cur, u - h1, 1, &a), 0);
    ASSERT_EQ(N_curevn(&c.cur, u + h1, 1, &b), 0);
    const POINT d1{(b.x - a.x) / (2 * h1), (b.y - a.y) / (2 * h1), (b.z - a.z) / (2 * h1)};
    EXPECT_LT(dist(CK[1], d1), 1e-6 * (1.0 + norm(d1))) << u;
    ASSERT_EQ(N_curevn(&c.cur, u - h2, 1, &a), 0);
    ASSERT_EQ(N_curevn(&c.cur, u + h2, 1, &b), 0);
    ASSERT_EQ(N_curevn(&c.cur, u, 1, &m), 0);
    const double q = h2 * h2;
    const POINT d2{(b.x - 2 * m.x + a.x) / q, (b.y - 2 * m.y + a.y) / q, (b.z - 2 * m.z + a.z) / q};
    EXPECT_LT(dist(CK[2], d2), 1e-3 * (1.0 + norm(d2))) << u;
  }
}

TEST(CurveDerivatives, CornerKnotHasTwoOneSidedTangents) {
  // Degree 2 with a double knot at 0.5: positional continuity only.
  CurveData c({{0, 0, DBL_MAX, -DBL_MAX},
               {1, 2, DBL_MAX, -DBL_MAX},
               {2, 0, DBL_MAX, -DBL_MAX},
               {3, 2, DBL_MAX, -DBL_MAX},
               {4, 0, DBL_MAX, -DBL_MAX}},
              {0, 0, 0, 0.5, 0.5, 1, 1, 1}, 2);
  POINT r[2], l[2], pr{}, pl{};
  ASSERT_EQ(N_curder(&c.cur, 0.5, 1, 1, r), 0);
  ASSERT_EQ(N_curder(&c.cur, 0.5, 2, 1, l), 0);
  ASSERT_EQ(N_curevn(&c.cur, 0.5, 1, &pr), 0);
  ASSERT_EQ(N_curevn(&c.cur, 0.5, 2, &pl), 0);
  EXPECT_EQ(pr.x, pl.x);
  EXPECT_EQ(pr.y, pl.y);
  EXPECT_NEAR(pr.x, 2.0, 1e-15);
  // C' = p (P[k+1] - P[k]) / (knot gap) on either side of the corner.
  EXPECT_NEAR(l[1].x, 4.0, 1e-13);
  EXPECT_NEAR(l[1].y, -8.0, 1e-13);
  EXPECT_NEAR(r[1].x, 4.0, 1e-13);
  EXPECT_NEAR(r[1].y, 8.0, 1e-13);
}

TEST(CurveEval, RefusedInputsFailWithTheirCodes) {
  std::mt19937 rng(4);
  CurveData c(evaltest::random_points(5, true, true, rng), evaltest::random_knots(5, 3, rng), 3);
  POINT P{}, CK[7];
  E_clrerr();
  EXPECT_EQ(N_curevn(&c.cur, 1.5, 1, &P), 1);
  expect_error(6, "N_CUREVN");
  EXPECT_EQ(N_curevn(&c.cur, NAN, 1, &P), 1);
  expect_error(6, "N_CUREVN");
  EXPECT_EQ(N_curevn(&c.cur, 0.5, 3, &P), 1);
  expect_error(13, "N_KNTALB");
  EXPECT_EQ(N_curevn(&c.cur, 1.0, 0, &P), 1);
  expect_error(13, "N_KNTALB");
  EXPECT_EQ(N_curder(&c.cur, 0.5, 1, 6, CK), 1);
  expect_error(20, "N_CURDER");
  EXPECT_EQ(N_curder(&c.cur, 0.5, 1, -1, CK), 1);
  expect_error(20, "N_CURDER");
  EXPECT_EQ(N_curder(&c.cur, -0.5, 1, 2, CK), 1);
  expect_error(6, "N_CURDER");
  EXPECT_EQ(N_curder(&c.cur, 0.5, 7, 2, CK), 1);
  expect_error(13, "N_KNTFSP");

  // Malformed records: inconsistent sizes, a degree the tables cannot
  // hold, fewer control points than the degree needs, missing parts.
  CurveData bad(evaltest::random_points(5, true, false, rng), evaltest::random_knots(5, 3, rng), 3);
  bad.knt.m = 10;
  EXPECT_EQ(N_curevn(&bad.cur, 0.5, 1, &P), 1);
  expect_error(1, "N_CUREVN");
  bad.knt.m = 9;
  bad.cur.p = 29;
  bad.pol.n = 9 - 29 - 1;
  EXPECT_EQ(N_curevn(&bad.cur, 0.5, 1, &P), 1);
  expect_error(3, "N_CUREVN");
  CurveData few(evaltest::random_points(1, true, false, rng), {0, 0, 0, 1, 1}, 2);
  EXPECT_EQ(N_curder(&few.cur, 0.5, 1, 1, CK), 1);
  expect_error(14, "N_CURDER");
  EXPECT_EQ(N_curevn(nullptr, 0.5, 1, &P), 1);
  expect_error(1, "N_CUREVN");
  CURVE empty;
  U_inicur(&empty);
  EXPECT_EQ(N_curevn(&empty, 0.5, 1, &P), 1);
  expect_error(1, "N_CUREVN");
}

TEST(CurveEval, VanishingWeightIsRefused) {
  // Weights 1 and -1: the weight function is zero at u = 0.5.
  CurveData c({{1, 0, 0, 1}, {-1, 1, 0, -1}}, {0, 0, 1, 1}, 1);
  POINT P{}, CK[2];
  EXPECT_EQ(N_curevn(&c.cur, 0.5, 1, &P), 1);
  expect_error(11, "N_CUREVN");
  EXPECT_EQ(N_curder(&c.cur, 0.5, 1, 1, CK), 1);
  expect_error(11, "N_CURDER");
  double R = 0.0;
  EXPECT_EQ(N_kntrcb(&c.cur, 0, 0.5, 1, &R), 1);
  expect_error(11, "N_KNTRCB");
  // A control point of weight zero has no Euclidean position.
  CurveData z({{1, 0, 0, 1}, {0, 1, 0, 0}, {1, 1, 0, 1}}, {0, 0, 0, 1, 1, 1}, 2);
  EXPECT_EQ(N_curder(&z.cur, 0.5, 1, 1, CK), 1);
  expect_error(11, "N_CURDER");
}

TEST(CurveFunction, ValuesAndDerivativesMatchTheBasis) {
  std::mt19937 rng(12);
  const int p = 3, n = 8;
  std::vector<double> U = evaltest::random_knots(n, p, rng, 2);
  std::vector<double> v(n + 1);
  std::uniform_real_distribution<double> d(-3.0, 3.0);
  for (double &x : v) x = d(rng);
  CVLIST cvl{n, v.data()};
  KNOTVECTOR knt{static_cast<int32_t>(U.size()) - 1, U.data()};
  CFUNCTION f{&cvl, p, &knt};
  for (double u : parameters(U, rng))
    for (int16_t side : {1, 2}) {
      double val = 0.0, F[6];
      ASSERT_EQ(N_cfnevn(&f, u, side, &val), 0);
      ASSERT_EQ(N_cfnder(&f, u, side, 5, F), 0);
      for (int k = 0; k <= 5; ++k) {
        double ref = 0.0;
        for (int i = 0; i <= n; ++i)
          ref += v[i] * evaltest::cox_de_boor_der(U, i, p, k, u, inward(u, side));
        EXPECT_NEAR(F[k], ref, 1e-9 * (1.0 + std::fabs(ref))) << u << " " << k;
        if (k == 0) {
          EXPECT_NEAR(val, ref, 1e-13);
        }
        if (k > p) {
          EXPECT_EQ(F[k], 0.0);
        }
      }
    }
  double val, F[2];
  EXPECT_EQ(N_cfnevn(&f, 2.0, 1, &val), 1);
  expect_error(6, "N_CFNEVN");
  EXPECT_EQ(N_cfnevn(&f, 0.5, 5, &val), 1);
  expect_error(13, "N_KNTALB");
  EXPECT_EQ(N_cfnder(&f, 0.5, 0, 1, F), 1);
  expect_error(13, "N_KNTADB");
  EXPECT_EQ(N_cfnder(&f, -1.0, 1, 1, F), 1);
  expect_error(6, "N_CFNDER");
  cvl.n = 3;
  EXPECT_EQ(N_cfnevn(&f, 0.5, 1, &val), 1);
  expect_error(1, "N_CFNEVN");
}

TEST(RationalBasis, TablesReproduceTheCurveAndItsDerivatives) {
  std::mt19937 rng(17);
  for (const Kind &kind : kKinds) {
    const int p = 3, n = 8, d = 7;  // orders above the degree and above 5
    CurveData c(evaltest::random_points(n, kind.three_d, kind.rational, rng),
                evaltest::random_knots(n, p, rng, 2), p);
    const evaltest::Spline4 h = c.homogeneous();
    double store[d + 1][p + 1], plain[d + 1][p + 1];
    double *rows[d + 1], *prow[d + 1];
    for (int k = 0; k <= d; ++k) {
      rows[k] = store[k];
      prow[k] = plain[k];
    }
    for (double u : parameters(c.U, rng))
      for (int16_t side : {1, 2}) {
        int32_t span = -1, pspan = -1;
        ASSERT_EQ(N_kntcad(&c.cur, u, side, d, rows, &span), 0);
        const std::vector<POINT> R = evaltest::reference_derivatives(h, u, inward(u, side), d);
        for (int k = 0; k <= d; ++k) {
          POINT s{0, 0, 0};
          double total = 0.0, size = 1.0;
          for (int j = 0; j <= p; ++j) {
            const CPOINT &q = c.Pw[span - p + j];
            const double w = kind.rational ? q.w : 1.0;
            s.x += rows[k][j] * q.x / w;
            s.y += rows[k][j] * q.y / w;
            s.z += rows[k][j] * (kind.three_d ? q.z / w : 0.0);
            total += rows[k][j];
            size += std::fabs(rows[k][j]);
          }
          EXPECT_LT(dist(s, R[k]), 1e-9 * (1.0 + norm(R[k])));
          EXPECT_NEAR(total, k == 0 ? 1.0 : 0.0, 1e-12 * size);
        }
        // The rational routine agrees; on a non-rational curve it is the
        // plain basis table.
        double acd0[d + 1][p + 1];
        double *arows[d + 1];
        for (int k = 0; k <= d; ++k) arows[k] = acd0[k];
        ASSERT_EQ(N_kntacd(&c.cur, u, side, d, arows, &pspan), 0);
        EXPECT_EQ(pspan, span);
        if (!kind.rational) {
          ASSERT_EQ(N_kntadb(&c.knt, p, u, side, d, prow, &pspan), 0);
          for (int k = 0; k <= d; ++k)
            for (int j = 0; j <= p; ++j) EXPECT_EQ(rows[k][j], plain[k][j]);
        }
        for (int k = 0; k <= d; ++k)
          for (int j = 0; j <= p; ++j) EXPECT_EQ(arows[k][j], rows[k][j]);
        // Single rational functions: every index, inside and outside the span.
        for (int i = 0; i <= n; ++i) {
          double Ri = -1.0, Rd[d + 1];
          ASSERT_EQ(N_kntrcb(&c.cur, i, u, side, &Ri), 0);
          ASSERT_EQ(N_kntrcd(&c.cur, i, u, side, d, Rd), 0);
          const int j = i - (span - p);
          for (int k = 0; k <= d; ++k) {
            const double ref = (j >= 0 && j <= p) ? rows[k][j] : 0.0;
            EXPECT_NEAR(Rd[k], ref, 1e-9 * (1.0 + std::fabs(ref))) << i << " " << k;
          }
          EXPECT_NEAR(Ri, (j >= 0 && j <= p) ? rows[0][j] : 0.0, 1e-13);
        }
      }
  }
}

TEST(RationalBasis, ExactEndsAndErrors) {
  CurveData c(circle_points(true), kCircleKnots, 2);
  double R = -1.0;
  for (int16_t side : {1, 2}) {
    ASSERT_EQ(N_kntrcb(&c.cur, 0, 0.0, side, &R), 0);
    EXPECT_EQ(R, 1.0);
    ASSERT_EQ(N_kntrcb(&c.cur, 8, 1.0, side, &R), 0);
    EXPECT_EQ(R, 1.0);
    ASSERT_EQ(N_kntrcb(&c.cur, 7, 1.0, side, &R), 0);
    EXPECT_EQ(R, 0.0);
  }
  double D[6], row[6][3];
  double *rows[6];
  for (int k = 0; k < 6; ++k) rows[k] = row[k];
  int32_t span;
  EXPECT_EQ(N_kntrcb(&c.cur, 9, 0.5, 1, &R), 1);
  expect_error(7, "N_KNTRCB");
  EXPECT_EQ(N_kntrcb(&c.cur, 0, 0.5, 3, &R), 1);
  expect_error(13, "N_KNTRCB");
  EXPECT_EQ(N_kntrcb(&c.cur, 0, 1.5, 1, &R), 1);
  expect_error(6, "N_KNTRCB");
  EXPECT_EQ(N_kntrcd(&c.cur, -1, 0.5, 1, 2, D), 1);
  expect_error(7, "N_KNTRCD");
  EXPECT_EQ(N_kntrcd(&c.cur, 1, 0.5, 1, -1, D), 1);
  expect_error(20, "N_KNTRCD");
  EXPECT_EQ(N_kntrcd(&c.cur, 1, 0.5, 2 + 1, 1, D), 1);
  expect_error(13, "N_KNTBAD");
  EXPECT_EQ(N_kntcad(&c.cur, 0.5, 1, -1, rows, &span), 1);
  expect_error(20, "N_KNTACD");
  EXPECT_EQ(N_kntacd(&c.cur, -0.5, 1, 1, rows, &span), 1);
  expect_error(6, "N_KNTACD");
  EXPECT_EQ(N_kntacd(&c.cur, 0.5, 9, 1, rows, &span), 1);
  expect_error(13, "N_KNTACD");
}

TEST(Denominator, ExtractsWeightsAndKnots) {
  CurveData c(circle_points(false), kCircleKnots, 2);
  STACKS ws;
  N_inurbs(&ws);
  CFUNCTION f;
  U_inicfn(&f);
  ASSERT_EQ(U_excden(&c.cur, &f, &ws), 0);
  ASSERT_EQ(f.cvl->n, 8);
  ASSERT_EQ(f.knt->m, 11);
  EXPECT_EQ(f.p, 2);
  for (int i = 0; i <= 8; ++i) EXPECT_EQ(f.cvl->values[i], c.Pw[i].w);
  for (int i = 0; i <= 11; ++i) EXPECT_EQ(f.knt->U[i], c.U[i]);
  // The denominator evaluates to the weight function of the circle.
  double W = 0.0;
  ASSERT_EQ(N_cfnevn(&f, 0.125, 1, &W), 0);
  EXPECT_NEAR(W, 0.5 + 0.5 * std::sqrt(0.5), 1e-15);
  // A record with storage that is too small is refused.
  CFUNCTION small;
  U_inicfn(&small);
  ASSERT_EQ(U_getcfn(&small, 3, 2, 6, &ws), 0);
  EXPECT_EQ(U_excden(&c.cur, &small, &ws), 1);
  expect_error(9, "U_EXCDEN");
  EXPECT_EQ(small.cvl->n, 3);
  EXPECT_EQ(U_excden(nullptr, &f, &ws), 1);
  expect_error(1, "U_EXCDEN");
  N_enurbs(&ws);
}

TEST(PowerForm, HornerMatchesTheDirectSum) {
  // C(u) = sum of Pw[i] u^i on [-1, 2], rational 3-D and non-rational 2-D.
  std::vector<CPOINT> r = {{1, 2, 3, 1}, {0.5, -1, 2, 0.5}, {-2, 1, 0.25, 0.25}};
  std::vector<CPOINT> n2 = {{1, 2, DBL_MAX, -DBL_MAX}, {0.5, -1, DBL_MAX, -DBL_MAX}};
  double ab[] = {-1.0, 2.0};
  KNOTVECTOR knt{1, ab};
  for (auto *pts : {&r, &n2}) {
    CPOLYGON pol{static_cast<int32_t>(pts->size()) - 1, pts->data()};
    CURVE cur{&pol, static_cast<int16_t>(pol.n), &knt};
    for (double u : {-1.0, -0.3, 0.0, 0.7, 2.0}) {
      double s[4] = {0, 0, 0, 0}, pw = 1.0;
      for (const CPOINT &q : *pts) {
        s[0] += q.x * pw;
        s[1] += q.y * pw;
        s[2] += (q.z == DBL_MAX ? 0.0 : q.z) * pw;
        s[3] += (q.w == -DBL_MAX ? 0.0 : q.w) * pw;
        pw *= u;
      }
      const double w = pts == &r ? s[3] : 1.0;
      POINT P{}, M{};
      ASSERT_EQ(N_cplevn(&cur, u, &P), 0);
      M_cplevn(pts->data(), pol.n, u, &M);
      EXPECT_NEAR(P.x, s[0] / w, 1e-14);
      EXPECT_NEAR(P.y, s[1] / w, 1e-14);
      EXPECT_NEAR(P.z, s[2] / w, 1e-14);
      EXPECT_EQ(P.x, M.x);
      if (pts == &n2) {
        EXPECT_EQ(P.z, 0.0);
      }
    }
    POINT P{};
    EXPECT_EQ(N_cplevn(&cur, 2.5, &P), 1);
    expect_error(6, "N_CPLEVN");
  }
  // One coefficient: its Euclidean point, whatever u is.
  POINT P{};
  M_cplevn(r.data() + 1, 0, 5.0, &P);
  EXPECT_EQ(P.x, 1.0);
  EXPECT_EQ(P.y, -2.0);
  EXPECT_EQ(P.z, 4.0);
  POINT untouched{7, 7, 7};
  M_cplevn(r.data(), -1, 0.5, &untouched);
  expect_error(7, "M_CPLEVN");
  EXPECT_EQ(untouched.x, 7.0);
}

TEST(CurveEval, EvaluatorsAllocateNothing) {
  std::mt19937 rng(1);
  CurveData c(evaltest::random_points(12, true, true, rng), evaltest::random_knots(12, 5, rng), 5);
  const long before = orvo::detail::allocation_count();
  POINT P{}, CK[6];
  double R, D[6];
  for (int i = 0; i <= 50; ++i) {
    const double u = i / 50.0;
    ASSERT_EQ(N_curevn(&c.cur, u, 1, &P), 0);
    ASSERT_EQ(N_curder(&c.cur, u, 2, 5, CK), 0);
    ASSERT_EQ(N_kntrcb(&c.cur, 6, u, 1, &R), 0);
    ASSERT_EQ(N_kntrcd(&c.cur, 6, u, 1, 3, D), 0);
  }
  EXPECT_EQ(orvo::detail::allocation_count(), before);
}
