// Degree elevation of a non-rational 3-D cubic with 1000 control points and
// non-uniform simple interior knots, by 1 and by 3 (N_toocde). When SISL is
// available its order raising (s1750, orders 4 -> 5 and 4 -> 7) is timed on
// the same curve. Both libraries allocate their result on every call and
// it is released inside the timed loop. Before the timings both raised
// curves are compared once with the input at many parameters and the
// largest distances printed. Every benchmark reports elevations per second.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_records.hpp"
#include "orvo/orvo.h"

#ifdef ORVO_BENCH_WITH_SISL
#include <sisl.h>
#endif

namespace {

constexpr int kDegree = 3;
constexpr int kSamples = 20000;

// The cubic of 1000 random control points, in Orvo's records and SISL's.
orvo_bench::BenchCurve &curve() {
  static orvo_bench::BenchCurve c(kDegree, false, 11);
  return c;
}

// Times op() returning a failure count; `what` names it in the error.
template <class Op>
void time_elevation(benchmark::State &state, const char *what, Op &&op) {
  std::size_t failures = 0;
  for (auto _ : state) failures += op();
  if (failures) state.SkipWithError((std::string(what) + " failed").c_str());
  state.SetItemsProcessed(state.iterations());
}

void name_args(benchmark::internal::Benchmark *b) {
  b->ArgNames({"t"})->Arg(1)->Arg(3)->Unit(benchmark::kMicrosecond);
}

// The raised curve goes into an empty record in a workspace released after
// every call.
void BM_Elevate_Orvo_toocde(benchmark::State &state) {
  CURVE *c = &curve().cur;
  const auto t = static_cast<int32_t>(state.range(0));
  STACKS ws;
  N_inurbs(&ws);
  time_elevation(state, "N_toocde", [&] {
    CURVE out;
    U_inicur(&out);
    const int16_t st = N_toocde(c, t, &out, &ws, &ws);
    benchmark::DoNotOptimize(out.pol);
    N_enurbs(&ws);
    return st;
  });
}
BENCHMARK(BM_Elevate_Orvo_toocde)->Apply(name_args);

#ifdef ORVO_BENCH_WITH_SISL
// s1750 takes the new order (degree + 1) and allocates the new curve.
void BM_Elevate_SISL_s1750(benchmark::State &state) {
  SISLCurve *c = curve().sisl;
  const int order = kDegree + 1 + static_cast<int>(state.range(0));
  time_elevation(state, "s1750", [&] {
    SISLCurve *out = nullptr;
    int stat = 0;
    s1750(c, order, &out, &stat);
    benchmark::DoNotOptimize(out);
    const bool bad = stat < 0 || !out;
    if (out) freeCurve(out);
    return bad ? 1 : 0;
  });
}
BENCHMARK(BM_Elevate_SISL_s1750)->Apply(name_args);
#endif

double distance(const POINT &a, const POINT &b) {
  return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) +
                   (a.z - b.z) * (a.z - b.z));
}

// Printed once at start-up: the largest distance of each raised curve from
// the input at evenly spaced parameters, and the sizes of the results.
bool check_elevation() {
  const CURVE *c = &curve().cur;
  for (int t : {1, 3}) {
    STACKS ws;
    N_inurbs(&ws);
    CURVE out;
    U_inicur(&out);
    if (N_toocde(const_cast<CURVE *>(c), t, &out, &ws, &ws)) {
      std::printf("elevation check: N_toocde failed for t = %d\n", t);
      N_enurbs(&ws);
      continue;
    }
    double orvo = 0.0;
#ifdef ORVO_BENCH_WITH_SISL
    SISLCurve *s = nullptr;
    int stat = 0, left = 0;
    s1750(curve().sisl, kDegree + 1 + t, &s, &stat);
    double sisl = stat < 0 || !s ? -1.0 : 0.0;
#endif
    for (int k = 0; k <= kSamples; ++k) {
      const double u = static_cast<double>(k) / kSamples;
      POINT P{}, Q{};
      N_curevn(c, u, 1, &P);
      N_curevn(&out, u, 1, &Q);
      orvo = std::max(orvo, distance(P, Q));
#ifdef ORVO_BENCH_WITH_SISL
      if (sisl >= 0.0) {
        double e[3];
        s1221(s, 0, u, &left, e, &stat);
        sisl = std::max(sisl, distance(P, POINT{e[0], e[1], e[2]}));
      }
#endif
    }
    std::printf("degree elevation by %d: Orvo %d points, max |C(u) - raised C(u)| %.3g\n", t,
                out.pol->n + 1, orvo);
#ifdef ORVO_BENCH_WITH_SISL
    if (s)
      std::printf("degree elevation by %d: SISL %d points, max |C(u) - raised C(u)| %.3g\n", t,
                  s->in, sisl);
    else
      std::printf("degree elevation by %d: s1750 failed (stat %d)\n", t, stat);
    if (s) freeCurve(s);
#endif
    N_enurbs(&ws);
  }
  std::fflush(stdout);
  return true;
}

// Runs before the benchmarks are listed.
[[maybe_unused]] const bool kElevationChecked = check_elevation();

}  // namespace
