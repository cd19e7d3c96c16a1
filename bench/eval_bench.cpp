// Curve evaluation throughput: N_curevn and N_curder (orders 0 and 2) on a
// non-rational cubic and a rational quintic with 1000 control points, at
// the same pre-generated random parameters for every contender. When SISL
// is available its s1221 is timed on the very same curves and parameters.
// Every benchmark reports evaluations per second (items_per_second).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

#include "orvo/orvo.h"

#ifdef ORVO_BENCH_WITH_SISL
#include <sisl.h>
#endif

namespace {

constexpr int kPoints = 1000;
constexpr int kParams = 8192;

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
    std::uniform_real_distribution<double> c(-1.0, 1.0), w(0.5, 2.0), k(0.0, 1.0);
    for (int i = 0; i < kPoints; ++i) {
      const double wt = rat ? w(rng) : 1.0;
      const double x = c(rng), y = c(rng), z = c(rng);
      Pw.push_back(CPOINT{x * wt, y * wt, z * wt, rat ? wt : -DBL_MAX});
      sisl_coef.insert(sisl_coef.end(), {x * wt, y * wt, z * wt});
      if (rat) sisl_coef.push_back(wt);
    }
    std::vector<double> inner(kPoints - p - 1);
    for (double &v : inner) v = k(rng);
    std::sort(inner.begin(), inner.end());
    U.assign(p + 1, 0.0);
    U.insert(U.end(), inner.begin(), inner.end());
    U.insert(U.end(), p + 1, 1.0);
    pol = CPOLYGON{kPoints - 1, Pw.data()};
    knt = KNOTVECTOR{static_cast<int32_t>(U.size()) - 1, U.data()};
    cur = CURVE{&pol, static_cast<int16_t>(p), &knt};
#ifdef ORVO_BENCH_WITH_SISL
    sisl = newCurve(kPoints, p + 1, U.data(), sisl_coef.data(), rat ? 2 : 1, 3, 1);
#endif
  }
};

const std::vector<double> &parameters() {
  static const std::vector<double> us = [] {
    std::mt19937 rng(2024);
    std::uniform_real_distribution<double> d(0.0, 1.0);
    std::vector<double> v(kParams);
    for (double &u : v) u = d(rng);
    return v;
  }();
  return us;
}

BenchCurve &cubic() {
  static BenchCurve c(3, false, 1);
  return c;
}

BenchCurve &quintic() {
  static BenchCurve c(5, true, 2);
  return c;
}

BenchCurve &curve_of(const benchmark::State &state) {
  return state.range(0) == 0 ? cubic() : quintic();
}

void name_args(benchmark::internal::Benchmark *b) {
  b->ArgNames({"curve"})->Arg(0)->Arg(1);  // 0: cubic, 1: rational quintic
}

void BM_Orvo_curevn(benchmark::State &state) {
  const CURVE *cur = &curve_of(state).cur;
  const std::vector<double> &us = parameters();
  POINT P{};
  for (auto _ : state) {
    for (double u : us) {
      N_curevn(cur, u, 1, &P);
      benchmark::DoNotOptimize(P);
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(us.size()));
}
BENCHMARK(BM_Orvo_curevn)->Apply(name_args);

void BM_Orvo_curder(benchmark::State &state) {
  const CURVE *cur = &curve_of(state).cur;
  const int16_t d = static_cast<int16_t>(state.range(1));
  const std::vector<double> &us = parameters();
  POINT CK[3];
  for (auto _ : state) {
    for (double u : us) {
      N_curder(cur, u, 1, d, CK);
      benchmark::DoNotOptimize(CK);
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(us.size()));
}
BENCHMARK(BM_Orvo_curder)->ArgNames({"curve", "order"})->ArgsProduct({{0, 1}, {0, 2}});

#ifdef ORVO_BENCH_WITH_SISL
void BM_SISL_s1221(benchmark::State &state) {
  SISLCurve *sc = curve_of(state).sisl;
  const int d = static_cast<int>(state.range(1));
  const std::vector<double> &us = parameters();
  double eder[9];
  int left = 0, stat = 0;
  for (auto _ : state) {
    for (double u : us) {
      s1221(sc, d, u, &left, eder, &stat);
      benchmark::DoNotOptimize(eder);
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(us.size()));
}
BENCHMARK(BM_SISL_s1221)->ArgNames({"curve", "order"})->ArgsProduct({{0, 1}, {0, 2}});

// Both libraries must compute the same curves before their times mean
// anything: the largest difference of points and second derivatives.
void compare_with_sisl() {
  for (BenchCurve *c : {&cubic(), &quintic()}) {
    double worst0 = 0.0, worst2 = 0.0;
    int left = 0, stat = 0;
    for (double u : parameters()) {
      POINT CK[3];
      double eder[9];
      N_curder(&c->cur, u, 1, 2, CK);
      s1221(c->sisl, 2, u, &left, eder, &stat);
      const double *o = &CK[0].x;
      for (int k = 0; k < 3; ++k) worst0 = std::max(worst0, std::fabs(o[k] - eder[k]));
      for (int k = 0; k < 3; ++k)
        worst2 =
            std::max(worst2, std::fabs(o[6 + k] - eder[6 + k]) / (1.0 + std::fabs(eder[6 + k])));
    }
    std::printf("degree %d %s: max |point difference| %.3g, max relative |C'' difference| %.3g\n",
                c->p, c->rational ? "rational" : "non-rational", worst0, worst2);
  }
}
#endif

}  // namespace

int main(int argc, char **argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
#ifdef ORVO_BENCH_WITH_SISL
  compare_with_sisl();
#else
  std::printf("SISL not available: timing Orvo alone\n");
#endif
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
