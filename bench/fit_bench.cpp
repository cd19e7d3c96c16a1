// Curve fitting, point inversion and arc length. The data are samples of a
// smooth 3-D curve: an eight-turn helix of radius 1 and height 2 whose
// radius and height wobble slightly.
//  - Interpolation of 10,000 samples by a cubic with chord-length
//    parameters (N_fitgci); SISL: s1356, whose parameters are the
//    cumulative chord lengths themselves (Orvo's scaled to [0, 1]).
//  - Least-squares approximation of 100,000 samples by 1,000 control points
//    of a cubic (N_fitgca). SISL's approximation routines remove knots to
//    a tolerance instead of fitting a given number of control points, so
//    Orvo is timed alone here.
//  - Inversion of 8192 random points near the 1000-point approximating
//    cubic (N_gprpin); SISL: s1774 on the same curve and points. Both start
//    from the parameter of the nearest of 400 samples of the curve,
//    computed once outside the timed loops.
//  - Arc length of the whole of that cubic to 1e-8 (N_gprcle, absolute);
//    SISL: s1240.
//  - Interpolation of a 200 x 200 grid sampled from a smooth surface by a
//    bicubic surface with chord-length parameters (N_fitgsi); SISL: s1537
//    on the same grid with Orvo's averaged parameters (computed once,
//    outside its timing; inside Orvo's).
//  - Least-squares approximation of that grid by 50 x 50 control points of
//    a bicubic (N_fitgsa), Orvo alone for the reason given above.
// Before the timings both libraries' results are compared once and the
// largest differences printed. Every benchmark reports items per second:
// data points fitted, points inverted or curves measured.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "orvo/orvo.h"

#ifdef ORVO_BENCH_WITH_SISL
#include <sisl.h>
#endif

namespace {

constexpr int kInterpPoints = 10000;
constexpr int kApproxPoints = 100000;
constexpr int kControlPoints = 1000;
constexpr int kInvertPoints = 8192;
constexpr int kStartSamples = 400;
constexpr double kLengthTol = 1e-8;
constexpr double kInvertEps = 1e-12;
constexpr int kGrid = 200;    // grid points a side
constexpr int kGridNet = 50;  // control points a side of the approximation

// The wobbling helix at s in [0, 1].
POINT helix(double s) {
  const double two_pi = 2.0 * std::acos(-1.0);
  const double r = 1.0 + 0.05 * std::sin(two_pi * 29.0 * s);
  const double a = two_pi * 8.0 * s;
  return POINT{r * std::cos(a), r * std::sin(a), 2.0 * s + 0.02 * std::cos(two_pi * 23.0 * s)};
}

std::vector<POINT> helix_samples(int count) {
  std::vector<POINT> Q(count);
  for (int k = 0; k < count; ++k) Q[k] = helix(static_cast<double>(k) / (count - 1));
  return Q;
}

const std::vector<POINT> &interp_data() {
  static const std::vector<POINT> Q = helix_samples(kInterpPoints);
  return Q;
}

const std::vector<POINT> &approx_data() {
  static const std::vector<POINT> Q = helix_samples(kApproxPoints);
  return Q;
}

double distance(const POINT &a, const POINT &b) {
  return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) +
                   (a.z - b.z) * (a.z - b.z));
}

// Chord-length parameters of Orvo's fitting routines for the data Q.
std::vector<double> chord_parameters(const std::vector<POINT> &Q) {
  std::vector<double> t(Q.size());
  if (N_fitcpa(Q.data(), static_cast<int32_t>(Q.size()) - 1, 1, 2, t.data())) std::abort();
  return t;
}

// Largest distance of C(t[k]) from Q[k].
double max_residual(const CURVE &C, const std::vector<POINT> &Q, const std::vector<double> &t) {
  double worst = 0.0;
  for (std::size_t k = 0; k < Q.size(); ++k) {
    POINT P{};
    N_curevn(&C, t[k], 1, &P);
    worst = std::max(worst, distance(P, Q[k]));
  }
  return worst;
}

// The least-squares cubic with 1000 control points that inversion and arc
// length run on, kept in its own workspace for the program's lifetime.
struct FittedCubic {
  STACKS ws{};
  CURVE cur{};
  std::vector<double> sisl_coef;
#ifdef ORVO_BENCH_WITH_SISL
  SISLCurve *sisl = nullptr;
#endif

  FittedCubic() {
    N_inurbs(&ws);
    U_inicur(&cur);
    const std::vector<POINT> &Q = approx_data();
    if (N_fitgca(Q.data(), kApproxPoints - 1, kControlPoints - 1, 3, 2, &cur, &ws)) std::abort();
    for (int i = 0; i < kControlPoints; ++i) {
      const CPOINT &c = cur.pol->Pw[i];
      sisl_coef.insert(sisl_coef.end(), {c.x, c.y, c.z});
    }
#ifdef ORVO_BENCH_WITH_SISL
    sisl = newCurve(kControlPoints, 4, cur.knt->U, sisl_coef.data(), 1, 3, 1);
#endif
  }
  ~FittedCubic() {
#ifdef ORVO_BENCH_WITH_SISL
    if (sisl) freeCurve(sisl);
#endif
    N_enurbs(&ws);
  }
  FittedCubic(const FittedCubic &) = delete;
  FittedCubic &operator=(const FittedCubic &) = delete;
};

FittedCubic &fitted() {
  static FittedCubic f;
  return f;
}

// Points near the fitted cubic (within 0.005 of a random curve point, far
// less than the helix's radius of curvature and the gap between its turns)
// and their start parameters: the parameter of the nearest of evenly
// spaced samples of the curve.
struct InversionSet {
  std::vector<POINT> P;
  std::vector<double> start;

  InversionSet() {
    const CURVE &C = fitted().cur;
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> d(0.0, 1.0),
        off(-0.005 / std::sqrt(3.0), 0.005 / std::sqrt(3.0));
    std::vector<POINT> samples(kStartSamples);
    std::vector<double> su(kStartSamples);
    for (int k = 0; k < kStartSamples; ++k) {
      su[k] = static_cast<double>(k) / (kStartSamples - 1);
      N_curevn(&C, su[k], 1, &samples[k]);
    }
    for (int k = 0; k < kInvertPoints; ++k) {
      POINT Q{};
      N_curevn(&C, d(rng), 1, &Q);
      Q.x += off(rng), Q.y += off(rng), Q.z += off(rng);
      P.push_back(Q);
      int best = 0;
      for (int j = 1; j < kStartSamples; ++j)
        if (distance(samples[j], Q) < distance(samples[best], Q)) best = j;
      start.push_back(su[best]);
    }
  }
};

const InversionSet &inversion_set() {
  static const InversionSet s;
  return s;
}

// Reference length of the fitted cubic, independent of both libraries:
// 16-point Gauss-Legendre on each quarter of every knot span (the speed is
// smooth within a span, so this is exact to rounding for our purposes).
// The nodes are the roots of P_16, found by Newton from Chebyshev guesses.
double reference_length() {
  constexpr int kGauss = 16;
  const double pi = std::acos(-1.0);
  double x[kGauss], w[kGauss];
  for (int i = 0; i < kGauss; ++i) {
    double z = std::cos(pi * (i + 0.75) / (kGauss + 0.5)), dp = 1.0;
    for (int it = 0; it < 100; ++it) {
      double p0 = 1.0, p1 = z;
      for (int k = 2; k <= kGauss; ++k) {
        const double p2 = ((2.0 * k - 1.0) * z * p1 - (k - 1.0) * p0) / k;
        p0 = p1, p1 = p2;
      }
      dp = kGauss * (z * p1 - p0) / (z * z - 1.0);
      const double step = p1 / dp;
      z -= step;
      if (std::fabs(step) < 1e-16) break;
    }
    x[i] = z;
    w[i] = 2.0 / ((1.0 - z * z) * dp * dp);
  }
  const CURVE &C = fitted().cur;
  const double *U = C.knt->U;
  double total = 0.0;
  for (int32_t j = 0; j < C.knt->m; ++j) {
    const double a = U[j], b = U[j + 1];
    if (!(b > a)) continue;
    for (int q = 0; q < 4; ++q) {
      const double lo = a + (b - a) * q / 4.0, hi = a + (b - a) * (q + 1) / 4.0;
      const double mid = 0.5 * (lo + hi), half = 0.5 * (hi - lo);
      for (int i = 0; i < kGauss; ++i) {
        POINT CK[2];
        N_curder(&C, mid + half * x[i], 1, 1, CK);
        total += half * w[i] * std::sqrt(CK[1].x * CK[1].x + CK[1].y * CK[1].y + CK[1].z * CK[1].z);
      }
    }
  }
  return total;
}

// ---- Interpolation ---------------------------------------------------------
// The interpolant is allocated in the workspace and released after every
// call; the release is part of the time (SISL allocates its curve too).
void make_empty(CURVE *c) { U_inicur(c); }
void make_empty(SURFACE *s) { U_inisur(s); }

// Times fit(record, ws) making one curve (or surface) from `items` data
// points.
template <class Rec = CURVE, class Fit>
void time_fit(benchmark::State &state, int64_t items, const char *what, Fit &&fit) {
  STACKS ws;
  N_inurbs(&ws);
  std::size_t failures = 0;
  for (auto _ : state) {
    Rec c;
    make_empty(&c);
    failures += fit(&c, &ws);
    benchmark::DoNotOptimize(c);
    N_enurbs(&ws);
  }
  if (failures) state.SkipWithError((std::string(what) + " failed").c_str());
  state.SetItemsProcessed(state.iterations() * items);
}

void BM_FitInterp_Orvo_fitgci(benchmark::State &state) {
  const std::vector<POINT> &Q = interp_data();
  time_fit(state, kInterpPoints, "interpolation", [&](CURVE *c, STACKS *ws) {
    return N_fitgci(Q.data(), kInterpPoints - 1, 3, 2, c, ws);
  });
}
BENCHMARK(BM_FitInterp_Orvo_fitgci)->Unit(benchmark::kMillisecond);

// ---- Approximation ---------------------------------------------------------
void BM_Approx_Orvo_fitgca(benchmark::State &state) {
  const std::vector<POINT> &Q = approx_data();
  time_fit(state, kApproxPoints, "approximation", [&](CURVE *c, STACKS *ws) {
    return N_fitgca(Q.data(), kApproxPoints - 1, kControlPoints - 1, 3, 2, c, ws);
  });
}
BENCHMARK(BM_Approx_Orvo_fitgca)->Unit(benchmark::kMillisecond);

// ---- Surfaces ----------------------------------------------------------------
// The grid: a rippled saddle over the unit square, sampled a little
// unevenly in both directions; row i runs along v at u = s_i.
struct SurfaceGrid {
  std::vector<std::vector<POINT>> rows;
  std::vector<POINT *> table;
  std::vector<double> uk, vl;  // Orvo's averaged chord-length parameters

  SurfaceGrid() : rows(kGrid), table(kGrid), uk(kGrid), vl(kGrid) {
    const double pi = std::acos(-1.0);
    const auto spread = [&](int k) { return (k + 0.3 * std::sin(0.1 * k)) / (kGrid - 1); };
    for (int i = 0; i < kGrid; ++i) {
      const double s = spread(i);
      for (int j = 0; j < kGrid; ++j) {
        const double t = spread(j);
        rows[i].push_back(
            POINT{2.0 * s, 2.0 * t,
                  (s - 0.5) * (t - 0.5) + 0.05 * std::sin(5 * pi * s) * std::cos(4 * pi * t)});
      }
      table[i] = rows[i].data();
    }
    if (N_fitspa(table.data(), kGrid - 1, kGrid - 1, 1, 2, uk.data(), vl.data())) std::abort();
  }
};

const SurfaceGrid &surface_grid() {
  static const SurfaceGrid g;
  return g;
}

// Largest distance of S(uk[i], vl[j]) from the grid point (i, j).
double max_grid_residual(const SURFACE &S) {
  const SurfaceGrid &g = surface_grid();
  double worst = 0.0;
  for (int i = 0; i < kGrid; ++i)
    for (int j = 0; j < kGrid; ++j) {
      POINT P{};
      N_surevn(&S, g.uk[i], g.vl[j], 1, 1, &P);
      worst = std::max(worst, distance(P, g.rows[i][j]));
    }
  return worst;
}

void BM_FitSurfInterp_Orvo_fitgsi(benchmark::State &state) {
  const SurfaceGrid &g = surface_grid();
  time_fit<SURFACE>(state, kGrid * kGrid, "surface interpolation", [&](SURFACE *s, STACKS *ws) {
    return N_fitgsi(g.table.data(), kGrid - 1, kGrid - 1, 3, 3, 2, s, ws);
  });
}
BENCHMARK(BM_FitSurfInterp_Orvo_fitgsi)->Unit(benchmark::kMillisecond);

void BM_FitSurfApprox_Orvo_fitgsa(benchmark::State &state) {
  const SurfaceGrid &g = surface_grid();
  time_fit<SURFACE>(state, kGrid * kGrid, "surface approximation", [&](SURFACE *s, STACKS *ws) {
    return N_fitgsa(g.table.data(), kGrid - 1, kGrid - 1, kGridNet - 1, kGridNet - 1, 3, 3, 2, s,
                    ws);
  });
}
BENCHMARK(BM_FitSurfApprox_Orvo_fitgsa)->Unit(benchmark::kMillisecond);

// ---- Inversion and arc length ----------------------------------------------
void BM_Invert_Orvo_gprpin(benchmark::State &state) {
  const CURVE *C = &fitted().cur;
  const InversionSet &s = inversion_set();
  std::size_t failures = 0;
  for (auto _ : state) {
    for (int k = 0; k < kInvertPoints; ++k) {
      double u = 0.0;
      POINT F{};
      failures += N_gprpin(C, s.P[k], s.start[k], kInvertEps, kInvertEps, &u, &F);
      benchmark::DoNotOptimize(u);
    }
  }
  if (failures) state.SkipWithError("inversion failed");
  state.SetItemsProcessed(state.iterations() * kInvertPoints);
}
BENCHMARK(BM_Invert_Orvo_gprpin)->Unit(benchmark::kMillisecond);

void BM_ArcLen_Orvo_gprcle(benchmark::State &state) {
  const CURVE *C = &fitted().cur;
  std::size_t failures = 0;
  for (auto _ : state) {
    double length = 0.0;
    failures += N_gprcle(C, 0.0, 1.0, kLengthTol, 1, &length);
    benchmark::DoNotOptimize(length);
  }
  if (failures) state.SkipWithError("arc length failed");
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ArcLen_Orvo_gprcle)->Unit(benchmark::kMicrosecond);

#ifdef ORVO_BENCH_WITH_SISL
// s1356 on the same points: ordinary points only, no end conditions, an
// open cubic (order 4) with parameters starting at 0.
struct SislInterpolant {
  SISLCurve *curve = nullptr;
  double *par = nullptr;
  int npar = 0;
  int stat = 0;

  SislInterpolant() {
    const std::vector<POINT> &Q = interp_data();
    static std::vector<int> types(kInterpPoints, 1);
    double end = 0.0;
    s1356(const_cast<double *>(&Q[0].x), kInterpPoints, 3, types.data(), 0, 0, 1, 4, 0.0, &end,
          &curve, &par, &npar, &stat);
  }
  ~SislInterpolant() {
    if (curve) freeCurve(curve);
    std::free(par);
  }
  SislInterpolant(const SislInterpolant &) = delete;
  SislInterpolant &operator=(const SislInterpolant &) = delete;
};

void BM_FitInterp_SISL_s1356(benchmark::State &state) {
  std::size_t failures = 0;
  for (auto _ : state) {
    SislInterpolant fit;
    failures += fit.stat < 0 || !fit.curve;
    benchmark::DoNotOptimize(fit.curve);
  }
  if (failures) state.SkipWithError("s1356 failed");
  state.SetItemsProcessed(state.iterations() * kInterpPoints);
}
BENCHMARK(BM_FitInterp_SISL_s1356)->Unit(benchmark::kMillisecond);

// s1537 on the same grid and parameters: no edge conditions, open bicubic
// (order 4) in both directions. Its points are ordered with the first
// parameter running fastest.
struct SislSurfInterpolant {
  SISLSurf *surf = nullptr;
  int stat = 0;

  SislSurfInterpolant() {
    const SurfaceGrid &g = surface_grid();
    static const std::vector<double> pts = [&] {
      std::vector<double> p;
      for (int j = 0; j < kGrid; ++j)
        for (int i = 0; i < kGrid; ++i)
          p.insert(p.end(), {g.rows[i][j].x, g.rows[i][j].y, g.rows[i][j].z});
      return p;
    }();
    s1537(const_cast<double *>(pts.data()), kGrid, kGrid, 3, const_cast<double *>(g.uk.data()),
          const_cast<double *>(g.vl.data()), 0, 0, 0, 0, 4, 4, 1, 1, &surf, &stat);
  }
  ~SislSurfInterpolant() {
    if (surf) freeSurf(surf);
  }
  SislSurfInterpolant(const SislSurfInterpolant &) = delete;
  SislSurfInterpolant &operator=(const SislSurfInterpolant &) = delete;
};

void BM_FitSurfInterp_SISL_s1537(benchmark::State &state) {
  surface_grid();
  std::size_t failures = 0;
  for (auto _ : state) {
    SislSurfInterpolant fit;
    failures += fit.stat < 0 || !fit.surf;
    benchmark::DoNotOptimize(fit.surf);
  }
  if (failures) state.SkipWithError("s1537 failed");
  state.SetItemsProcessed(state.iterations() * kGrid * kGrid);
}
BENCHMARK(BM_FitSurfInterp_SISL_s1537)->Unit(benchmark::kMillisecond);

void sisl_invert(SISLCurve *sc, const POINT &P, double start, double *u, int *stat) {
  double pt[3] = {P.x, P.y, P.z};
  s1774(sc, pt, 3, kInvertEps, 0.0, 1.0, start, u, stat);
}

void BM_Invert_SISL_s1774(benchmark::State &state) {
  SISLCurve *sc = fitted().sisl;
  const InversionSet &s = inversion_set();
  std::size_t failures = 0;
  for (auto _ : state) {
    for (int k = 0; k < kInvertPoints; ++k) {
      double u = 0.0;
      int stat = 0;
      sisl_invert(sc, s.P[k], s.start[k], &u, &stat);
      failures += stat < 0;
      benchmark::DoNotOptimize(u);
    }
  }
  if (failures) state.SkipWithError("s1774 failed");
  state.SetItemsProcessed(state.iterations() * kInvertPoints);
}
BENCHMARK(BM_Invert_SISL_s1774)->Unit(benchmark::kMillisecond);

// s1240's tolerance is relative to the length: tol 0 passes it 1e-8 as it
// is, tol 1 passes 1e-8 divided by the length, the same absolute accuracy
// that Orvo is asked for.
double sisl_length_tol(int64_t kind) {
  static const double absolute = kLengthTol / reference_length();
  return kind == 0 ? kLengthTol : absolute;
}

void BM_ArcLen_SISL_s1240(benchmark::State &state) {
  SISLCurve *sc = fitted().sisl;
  const double tol = sisl_length_tol(state.range(0));
  std::size_t failures = 0;
  for (auto _ : state) {
    double length = 0.0;
    int stat = 0;
    s1240(sc, tol, &length, &stat);
    failures += stat < 0;
    benchmark::DoNotOptimize(length);
  }
  if (failures) state.SkipWithError("s1240 failed");
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ArcLen_SISL_s1240)
    ->ArgNames({"abs_tol"})
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond);
#endif

// How closely the surface interpolants pass through the grid and how far
// the approximation strays from it.
void check_surface_fits() {
  const SurfaceGrid &g = surface_grid();
  for (int approx = 0; approx < 2; ++approx) {
    STACKS ws;
    N_inurbs(&ws);
    SURFACE S;
    U_inisur(&S);
    const int32_t last = kGrid - 1, net = approx ? kGridNet - 1 : last;
    const int16_t status = approx ? N_fitgsa(g.table.data(), last, last, net, net, 3, 3, 2, &S, &ws)
                                  : N_fitgsi(g.table.data(), last, last, 3, 3, 2, &S, &ws);
    if (status)
      std::printf("fit check: %s failed\n", approx ? "N_fitgsa" : "N_fitgsi");
    else
      std::printf("surface %s of a %d x %d grid by %d x %d control points: Orvo max |S - Q| %.3g\n",
                  approx ? "approximation" : "interpolation", kGrid, kGrid, net + 1, net + 1,
                  max_grid_residual(S));
    N_enurbs(&ws);
  }
#ifdef ORVO_BENCH_WITH_SISL
  SislSurfInterpolant s;
  if (s.stat < 0 || !s.surf) {
    std::printf("fit check: s1537 failed (stat %d)\n", s.stat);
    return;
  }
  double worst = 0.0;
  int left1 = 0, left2 = 0, stat = 0;
  for (int i = 0; i < kGrid; ++i)
    for (int j = 0; j < kGrid; ++j) {
      double e[3], par[2] = {g.uk[i], g.vl[j]};
      s1424(s.surf, 0, 0, par, &left1, &left2, e, &stat);
      worst = std::max(worst, distance(POINT{e[0], e[1], e[2]}, g.rows[i][j]));
    }
  std::printf("surface interpolation: SISL max |S - Q| %.3g\n", worst);
#endif
}

// The results behind the timings, printed once at start-up: how closely
// each interpolant passes through its data, how far the approximation
// strays from its data and, when SISL is there, the largest differences of
// the inverted parameters and of the lengths.
bool check_agreement() {
  const std::vector<POINT> &Q = interp_data();
  const std::vector<double> t = chord_parameters(Q);
  STACKS ws;
  N_inurbs(&ws);
  CURVE c;
  U_inicur(&c);
  if (N_fitgci(Q.data(), kInterpPoints - 1, 3, 2, &c, &ws)) {
    std::printf("fit check: N_fitgci failed\n");
  } else {
    std::printf("interpolation of %d points: Orvo max |C(t_k) - Q_k| %.3g\n", kInterpPoints,
                max_residual(c, Q, t));
  }
  N_enurbs(&ws);
  const FittedCubic &f = fitted();
  std::printf("approximation of %d points by %d control points: max |C(t_k) - Q_k| %.3g\n",
              kApproxPoints, kControlPoints,
              max_residual(f.cur, approx_data(), chord_parameters(approx_data())));
  double length = 0.0;
  const int16_t len_fail = N_gprcle(&f.cur, 0.0, 1.0, kLengthTol, 1, &length);
#ifdef ORVO_BENCH_WITH_SISL
  SislInterpolant s;
  if (s.stat < 0 || !s.curve || s.npar != kInterpPoints) {
    std::printf("fit check: s1356 failed (stat %d, %d parameters)\n", s.stat, s.npar);
  } else {
    double worst = 0.0, worst_par = 0.0;
    int left = 0, stat = 0;
    for (int k = 0; k < kInterpPoints; ++k) {
      double e[3];
      s1221(s.curve, 0, s.par[k], &left, e, &stat);
      worst = std::max(worst, distance(POINT{e[0], e[1], e[2]}, Q[k]));
      worst_par = std::max(worst_par, std::fabs(s.par[k] / s.par[kInterpPoints - 1] - t[k]));
    }
    std::printf(
        "interpolation: SISL max |C(t_k) - Q_k| %.3g; max |scaled SISL parameter - Orvo "
        "parameter| %.3g\n",
        worst, worst_par);
  }
  const InversionSet &is = inversion_set();
  double worst_u = 0.0, worst_dist = 0.0;
  int orvo_fail = 0, sisl_fail = 0;
  for (int k = 0; k < kInvertPoints; ++k) {
    double uo = 0.0, us = 0.0;
    int stat = 0;
    POINT F{};
    orvo_fail += N_gprpin(&f.cur, is.P[k], is.start[k], kInvertEps, kInvertEps, &uo, &F);
    sisl_invert(f.sisl, is.P[k], is.start[k], &us, &stat);
    sisl_fail += stat < 0;
    worst_u = std::max(worst_u, std::fabs(uo - us));
    POINT G{};
    N_curevn(&f.cur, us, 1, &G);
    worst_dist = std::max(worst_dist, std::fabs(distance(F, is.P[k]) - distance(G, is.P[k])));
  }
  std::printf(
      "inversion of %d points: max |u_Orvo - u_SISL| %.3g, max difference of the distances "
      "%.3g (failures: Orvo %d, SISL %d)\n",
      kInvertPoints, worst_u, worst_dist, orvo_fail, sisl_fail);
  const double ref = reference_length();
  std::printf("arc length: reference %.12f, Orvo %.12f%s (error %.3g)\n", ref, length,
              len_fail ? " (failed)" : "", std::fabs(length - ref));
  for (int kind = 0; kind < 2; ++kind) {
    double sisl_length = 0.0;
    int stat = 0;
    s1240(f.sisl, sisl_length_tol(kind), &sisl_length, &stat);
    std::printf(
        "arc length: SISL (tolerance %.3g) %.12f (stat %d), error %.3g, |Orvo - SISL| %.3g\n",
        sisl_length_tol(kind), sisl_length, stat, std::fabs(sisl_length - ref),
        std::fabs(length - sisl_length));
  }
#else
  const double ref = reference_length();
  std::printf("arc length: reference %.12f, Orvo %.12f%s (error %.3g)\n", ref, length,
              len_fail ? " (failed)" : "", std::fabs(length - ref));
#endif
  check_surface_fits();
  std::fflush(stdout);
  return true;
}

// Runs before the benchmarks are listed.
[[maybe_unused]] const bool kAgreementChecked = check_agreement();

}  // namespace
