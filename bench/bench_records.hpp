// Test geometry shared by the benchmarks and the comparison: random curves
// of 1000 control points and random surfaces on a 50 x 50 net, each held in
// Orvo's records and, when SISL is available, as the same SISL object.
#pragma once

#include <algorithm>
#include <cfloat>
#include <random>
#include <vector>

#include "orvo/orvo.h"

#ifdef ORVO_BENCH_WITH_SISL
#include <sisl.h>
#endif

namespace orvo_bench {

constexpr int kPoints = 1000;  // control points of a test curve
constexpr int kNet = 50;       // control points of a test surface in each direction

// Clamped knots of degree p for count coefficients, random interior knots.
inline std::vector<double> random_knots(int count, int p, std::mt19937 &rng) {
  std::uniform_real_distribution<double> k(0.0, 1.0);
  std::vector<double> inner(count - p - 1);
  for (double &v : inner) v = k(rng);
  std::sort(inner.begin(), inner.end());
  std::vector<double> U(p + 1, 0.0);
  U.insert(U.end(), inner.begin(), inner.end());
  U.insert(U.end(), p + 1, 1.0);
  return U;
}

// One test curve in Orvo's records, plus the arrays SISL is built from.
struct BenchCurve {
  int p = 0;
  bool rational = false;
  std::vector<CPOINT> Pw;
  std::vector<double> U;
  std::vector<double> sisl_coef;  // (x, y, z) or homogeneous (wx, wy, wz, w)
  CPOLYGON pol{};
  KNOTVECTOR knt{};
  CURVE cur{};
#ifdef ORVO_BENCH_WITH_SISL
  SISLCurve *sisl = nullptr;
#endif

  BenchCurve(int degree, bool rat, unsigned seed) : p(degree), rational(rat) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> c(-1.0, 1.0), w(0.5, 2.0);
    for (int i = 0; i < kPoints; ++i) {
      const double wt = rat ? w(rng) : 1.0;
      const double x = c(rng), y = c(rng), z = c(rng);
      Pw.push_back(CPOINT{x * wt, y * wt, z * wt, rat ? wt : -DBL_MAX});
      sisl_coef.insert(sisl_coef.end(), {x * wt, y * wt, z * wt});
      if (rat) sisl_coef.push_back(wt);
    }
    U = random_knots(kPoints, p, rng);
    pol = CPOLYGON{kPoints - 1, Pw.data()};
    knt = KNOTVECTOR{static_cast<int32_t>(U.size()) - 1, U.data()};
    cur = CURVE{&pol, static_cast<int16_t>(p), &knt};
#ifdef ORVO_BENCH_WITH_SISL
    sisl = newCurve(kPoints, p + 1, U.data(), sisl_coef.data(), rat ? 2 : 1, 3, 1);
#endif
  }
  BenchCurve(const BenchCurve &) = delete;
  BenchCurve &operator=(const BenchCurve &) = delete;
#ifdef ORVO_BENCH_WITH_SISL
  ~BenchCurve() { freeCurve(sisl); }
#endif
};

// One test surface in Orvo's records, plus the arrays SISL is built from.
struct BenchSurface {
  int p = 0;
  bool rational = false;
  std::vector<CPOINT> block;
  std::vector<CPOINT *> rows;
  std::vector<double> U, V;
  std::vector<double> sisl_coef;  // first parameter running fastest
  CNET net{};
  KNOTVECTOR knu{}, knv{};
  SURFACE sur{};
#ifdef ORVO_BENCH_WITH_SISL
  SISLSurf *sisl = nullptr;
#endif

  BenchSurface(int degree, bool rat, unsigned seed) : p(degree), rational(rat) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> c(-1.0, 1.0), w(0.5, 2.0);
    block.resize(kNet * kNet);
    for (int i = 0; i < kNet; ++i) rows.push_back(block.data() + i * kNet);
    for (int i = 0; i < kNet; ++i)
      for (int j = 0; j < kNet; ++j) {
        const double wt = rat ? w(rng) : 1.0;
        rows[i][j] = CPOINT{c(rng) * wt, c(rng) * wt, c(rng) * wt, rat ? wt : -DBL_MAX};
      }
    const int dim = rat ? 4 : 3;
    sisl_coef.resize(kNet * kNet * dim);
    for (int j = 0; j < kNet; ++j)
      for (int i = 0; i < kNet; ++i) {
        const CPOINT &q = rows[i][j];
        double *d = &sisl_coef[(j * kNet + i) * dim];
        d[0] = q.x, d[1] = q.y, d[2] = q.z;
        if (rat) d[3] = q.w;
      }
    U = random_knots(kNet, p, rng);
    V = random_knots(kNet, p, rng);
    net = CNET{kNet - 1, kNet - 1, rows.data()};
    knu = KNOTVECTOR{static_cast<int32_t>(U.size()) - 1, U.data()};
    knv = KNOTVECTOR{static_cast<int32_t>(V.size()) - 1, V.data()};
    sur = SURFACE{&net, static_cast<int16_t>(p), static_cast<int16_t>(p), &knu, &knv};
#ifdef ORVO_BENCH_WITH_SISL
    sisl =
        newSurf(kNet, kNet, p + 1, p + 1, U.data(), V.data(), sisl_coef.data(), rat ? 2 : 1, 3, 1);
#endif
  }
  BenchSurface(const BenchSurface &) = delete;
  BenchSurface &operator=(const BenchSurface &) = delete;
#ifdef ORVO_BENCH_WITH_SISL
  ~BenchSurface() { freeSurf(sisl); }
#endif
};

// Runs the interleaved comparison with SISL (orvo_bench --compare) on the
// rows whose label contains only (all rows when null); returns the process
// exit status: 0 when every row meets its target.
int run_comparison(int rounds, const char *only);

}  // namespace orvo_bench
