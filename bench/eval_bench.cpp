// Evaluation and refinement throughput. Curves: N_curevn and N_curder
// (orders 0 and 2) on a non-rational cubic and a rational quintic with 1000
// control points. Surfaces: N_surevn and N_surder (first order) on a
// non-rational bicubic and a rational biquadratic, each on a 50 x 50 net.
// Every contender gets the same pre-generated random parameters. When SISL
// is available its s1221 (curves) and s1421 (surfaces) are timed on the very
// same records and parameters. Refinement: one knot inserted into the cubic
// (N_toocki) and the cubic decomposed into Bezier pieces (N_toocdc). Every
// benchmark reports operations per second (items_per_second).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "bench_records.hpp"
#include "orvo/orvo.h"

namespace {

using orvo_bench::BenchCurve;
using orvo_bench::BenchSurface;

constexpr int kParams = 8192;

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

// ---- Surfaces -------------------------------------------------------------
BenchSurface &bicubic() {
  static BenchSurface s(3, false, 3);
  return s;
}

BenchSurface &biquadratic() {
  static BenchSurface s(2, true, 4);
  return s;
}

BenchSurface &surface_of(const benchmark::State &state) {
  return state.range(0) == 0 ? bicubic() : biquadratic();
}

void name_surfaces(benchmark::internal::Benchmark *b) {
  b->ArgNames({"surface"})->Arg(0)->Arg(1);  // 0: bicubic, 1: rational biquadratic
}

// Parameter pairs (u, v), interleaved.
const std::vector<double> &uv_pairs() {
  static const std::vector<double> uv = [] {
    std::mt19937 rng(4048);
    std::uniform_real_distribution<double> d(0.0, 1.0);
    std::vector<double> v(2 * kParams);
    for (double &x : v) x = d(rng);
    return v;
  }();
  return uv;
}

void BM_Orvo_surevn(benchmark::State &state) {
  const SURFACE *sur = &surface_of(state).sur;
  const std::vector<double> &uv = uv_pairs();
  POINT P{};
  for (auto _ : state) {
    for (size_t k = 0; k < uv.size(); k += 2) {
      N_surevn(sur, uv[k], uv[k + 1], 1, 1, &P);
      benchmark::DoNotOptimize(P);
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(uv.size() / 2));
}
BENCHMARK(BM_Orvo_surevn)->Apply(name_surfaces);

void BM_Orvo_surder(benchmark::State &state) {
  const SURFACE *sur = &surface_of(state).sur;
  const std::vector<double> &uv = uv_pairs();
  POINT S[2][2], *SKL[2] = {S[0], S[1]};
  for (auto _ : state) {
    for (size_t k = 0; k < uv.size(); k += 2) {
      N_surder(sur, uv[k], uv[k + 1], 1, 1, 1, 1, 1, SKL);
      benchmark::DoNotOptimize(S);
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(uv.size() / 2));
}
BENCHMARK(BM_Orvo_surder)->Apply(name_surfaces);

#ifdef ORVO_BENCH_WITH_SISL
// s1421 with order 0 (point) and 1 (point, both first partials and the
// normal SISL forms with them).
void BM_SISL_s1421(benchmark::State &state) {
  SISLSurf *ss = surface_of(state).sisl;
  const int d = static_cast<int>(state.range(1));
  const std::vector<double> &uv = uv_pairs();
  double eder[9], enorm[3];
  int left1 = 0, left2 = 0, stat = 0;
  for (auto _ : state) {
    for (size_t k = 0; k < uv.size(); k += 2) {
      double par[2] = {uv[k], uv[k + 1]};
      s1421(ss, d, par, &left1, &left2, eder, enorm, &stat);
      benchmark::DoNotOptimize(eder);
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(uv.size() / 2));
}
BENCHMARK(BM_SISL_s1421)->ArgNames({"surface", "order"})->ArgsProduct({{0, 1}, {0, 1}});

// The surfaces agree before their times are compared: the largest
// difference of points and of first partial derivatives.
void compare_surfaces_with_sisl() {
  for (BenchSurface *s : {&bicubic(), &biquadratic()}) {
    double worst0 = 0.0, worst1 = 0.0;
    int left1 = 0, left2 = 0, stat = 0;
    const std::vector<double> &uv = uv_pairs();
    for (size_t k = 0; k < uv.size(); k += 2) {
      POINT P{}, S[2][2], *SKL[2] = {S[0], S[1]};
      double par[2] = {uv[k], uv[k + 1]}, eder[9], enorm[3];
      N_surevn(&s->sur, par[0], par[1], 1, 1, &P);
      N_surder(&s->sur, par[0], par[1], 1, 1, 1, 1, 1, SKL);
      s1421(s->sisl, 1, par, &left1, &left2, eder, enorm, &stat);
      const double *o = &P.x, *du = &S[1][0].x, *dv = &S[0][1].x;
      for (int c = 0; c < 3; ++c) {
        worst0 = std::max(worst0, std::fabs(o[c] - eder[c]));
        worst1 = std::max(worst1, std::fabs(du[c] - eder[3 + c]) / (1.0 + std::fabs(eder[3 + c])));
        worst1 = std::max(worst1, std::fabs(dv[c] - eder[6 + c]) / (1.0 + std::fabs(eder[6 + c])));
      }
    }
    std::printf(
        "degree %d %s surface: max |point difference| %.3g, max relative |Su, Sv "
        "difference| %.3g\n",
        s->p, s->rational ? "rational" : "non-rational", worst0, worst1);
  }
}
#endif

// ---- Refinement ------------------------------------------------------------
// One knot inserted into the 1000-point cubic at a random interior
// parameter, into an output record sized once before the loop (so the
// output is reused, as a caller refining repeatedly would do).
void BM_Orvo_toocki(benchmark::State &state) {
  CURVE *cur = &cubic().cur;
  const std::vector<double> &us = parameters();
  STACKS ws_out;
  N_inurbs(&ws_out);
  CURVE out;
  U_inicur(&out);
  U_getcur(&out, cur->pol->n + 1, cur->p, cur->knt->m + 1, &ws_out);
  std::size_t i = 0, failures = 0;
  for (auto _ : state) {
    failures += N_toocki(cur, us[i], 1, &out, &ws_out, &ws_out);
    benchmark::DoNotOptimize(out.pol->Pw);
    i = (i + 1) % us.size();
  }
  if (failures) state.SkipWithError("knot insertion failed");
  state.SetItemsProcessed(state.iterations());
  N_enurbs(&ws_out);
}
BENCHMARK(BM_Orvo_toocki);

// Decomposition of the 1000-point cubic into its Bezier pieces; the pieces
// are released after every call, and that release is part of the time.
void BM_Orvo_toocdc(benchmark::State &state) {
  CURVE *cur = &cubic().cur;
  STACKS ws;
  N_inurbs(&ws);
  std::size_t failures = 0;
  for (auto _ : state) {
    CURVE **pieces = nullptr;
    int32_t last = -1;
    failures += N_toocdc(cur, &pieces, &last, &ws);
    benchmark::DoNotOptimize(pieces);
    N_enurbs(&ws);
  }
  if (failures) state.SkipWithError("decomposition failed");
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Orvo_toocdc)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char **argv) {
  // --compare [rounds [text]]: the interleaved comparison with SISL instead
  // of the Google Benchmark cases, on the rows whose label contains text.
  if (argc >= 2 && std::strcmp(argv[1], "--compare") == 0)
    return orvo_bench::run_comparison(argc >= 3 ? std::atoi(argv[2]) : 15,
                                      argc >= 4 ? argv[3] : nullptr);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
#ifdef ORVO_BENCH_WITH_SISL
  compare_with_sisl();
  compare_surfaces_with_sisl();
#else
  std::printf("SISL not available: timing Orvo alone\n");
#endif
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
