// orvo_bench --compare: Orvo's evaluators against SISL's on the same records
// and parameters. Each row times the two libraries in alternating short
// batches over one parameter array (which of them goes first alternates
// too), so that noise from the machine hits both alike; a row reports the
// median rate of each and the median of the per-round ratios. Batches are
// timed in the thread's processor time, so time spent descheduled while
// other processes run counts for neither. Before any
// timing, every row checks that both compute the same values.
#include <algorithm>
#include <ctime>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench_records.hpp"

namespace orvo_bench {

#ifndef ORVO_BENCH_WITH_SISL

int run_comparison(int, const char *) {
  std::printf("SISL not available: nothing to compare with\n");
  return 1;
}

#else

namespace {

constexpr int kCount = 4096;            // parameters (or pairs) of one pass
constexpr double kBatchSeconds = 1e-3;  // processor time of one timed batch
constexpr double kPointTol = 1e-15;     // agreement of points, relative to 1 + |x|
constexpr double kDerivTol = 1e-12;     // agreement of derivatives and normals

volatile double g_sink = 0.0;  // keeps the timed results alive

std::vector<double> random_values(int count, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> d(0.0, 1.0);
  std::vector<double> v(count);
  for (double &x : v) x = d(rng);
  return v;
}

const std::vector<double> &us() {
  static const std::vector<double> v = random_values(kCount, 2024);
  return v;
}

const std::vector<double> &uvs() {  // pairs (u, v), interleaved
  static const std::vector<double> v = random_values(2 * kCount, 4048);
  return v;
}

// Largest difference of the 3-vectors a[0..n-1] from ref, each relative to
// 1 + the length of its reference vector.
double rel_diff(const double *a, const double *ref, int n) {
  double worst = 0.0;
  for (int v = 0; v < n; v += 3) {
    const double len =
        std::sqrt(ref[v] * ref[v] + ref[v + 1] * ref[v + 1] + ref[v + 2] * ref[v + 2]);
    for (int c = v; c < v + 3; ++c) worst = std::max(worst, std::fabs(a[c] - ref[c]) / (1.0 + len));
  }
  return worst;
}

// One line of the table. A pass evaluates every parameter once and returns
// a sum of the results; check returns the worst point and derivative
// differences over the parameters (negative when a call fails).
struct Row {
  std::string label;
  double target;
  std::function<double()> orvo, sisl;
  std::function<void(double &, double &)> check;
};

// Processor time of this thread: time the thread spends descheduled while
// other processes run does not count.
double thread_seconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

double seconds_of(const std::function<double()> &pass, int reps) {
  const double t0 = thread_seconds();
  double s = 0.0;
  for (int r = 0; r < reps; ++r) s += pass();
  const double t1 = thread_seconds();
  g_sink = g_sink + s;
  return t1 - t0;
}

// Passes of a batch: the fastest of three single passes sets the count.
int passes_per_batch(const std::function<double()> &pass) {
  double best = seconds_of(pass, 1);
  for (int k = 0; k < 2; ++k) best = std::min(best, seconds_of(pass, 1));
  return std::max(1, static_cast<int>(kBatchSeconds / std::max(best, 1e-9)));
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : 0.5 * (v[n / 2 - 1] + v[n / 2]);
}

// One pass of s1421 (point, first derivatives and normal) over the surface
// parameters, summing what pick takes from each result.
template <class Pick>
double s1421_pass(SISLSurf *ss, Pick pick) {
  double s = 0.0, e[9], nrm[3];
  int l1 = 0, l2 = 0, stat = 0;
  const std::vector<double> &uv = uvs();
  for (size_t k = 0; k < uv.size(); k += 2) {
    s1421(ss, 1, const_cast<double *>(&uv[k]), &l1, &l2, e, nrm, &stat);
    s += pick(e, nrm);
  }
  return s;
}

// ---- Curves ---------------------------------------------------------------
void curve_rows(const BenchCurve &c, std::vector<Row> &rows) {
  const std::string kind =
      std::string(c.rational ? "rational" : "non-rational") + " p=" + std::to_string(c.p);
  const CURVE *cur = &c.cur;
  SISLCurve *sc = c.sisl;
  rows.push_back(Row{"N_curevn    " + kind + " / s1221(0)", 2.0,
                     [cur] {
                       double s = 0.0;
                       POINT P{};
                       for (double u : us()) {
                         N_curevn(cur, u, 1, &P);
                         s += P.x;
                       }
                       return s;
                     },
                     [sc] {
                       double s = 0.0, e[3];
                       int left = 0, stat = 0;
                       for (double u : us()) {
                         s1221(sc, 0, u, &left, e, &stat);
                         s += e[0];
                       }
                       return s;
                     },
                     [cur, sc](double &wp, double &wd) {
                       wd = 0.0;
                       int left = 0, stat = 0;
                       for (double u : us()) {
                         POINT P{};
                         double e[3];
                         if (N_curevn(cur, u, 1, &P) ||
                             (s1221(sc, 0, u, &left, e, &stat), stat < 0)) {
                           wp = -1.0;
                           return;
                         }
                         wp = std::max(wp, rel_diff(&P.x, e, 3));
                       }
                     }});
  for (int d : {1, 2}) {
    rows.push_back(Row{
        "N_curder(" + std::to_string(d) + ") " + kind + " / s1221(" + std::to_string(d) + ")", 1.5,
        [cur, d] {
          double s = 0.0;
          POINT CK[3];
          for (double u : us()) {
            N_curder(cur, u, 1, static_cast<int16_t>(d), CK);
            s += CK[d].x;
          }
          return s;
        },
        [sc, d] {
          double s = 0.0, e[9];
          int left = 0, stat = 0;
          for (double u : us()) {
            s1221(sc, d, u, &left, e, &stat);
            s += e[3 * d];
          }
          return s;
        },
        [cur, sc, d](double &wp, double &wd) {
          int left = 0, stat = 0;
          for (double u : us()) {
            POINT CK[3];
            double e[9];
            if (N_curder(cur, u, 1, static_cast<int16_t>(d), CK) ||
                (s1221(sc, d, u, &left, e, &stat), stat < 0)) {
              wp = -1.0;
              return;
            }
            wp = std::max(wp, rel_diff(&CK[0].x, e, 3));
            wd = std::max(wd, rel_diff(&CK[1].x, e + 3, 3 * d));
          }
        }});
  }
}

// ---- Surfaces ---------------------------------------------------------------
// The unit normal of SISL's normal vector (zero stays zero).
void unit(double *n) {
  const double l = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
  if (l > 0.0)
    for (int c = 0; c < 3; ++c) n[c] /= l;
}

void surface_rows(const BenchSurface &b, std::vector<Row> &rows) {
  const std::string kind =
      std::string(b.rational ? "rational" : "non-rational") + " p=" + std::to_string(b.p);
  const SURFACE *sur = &b.sur;
  SISLSurf *ss = b.sisl;
  rows.push_back(
      Row{"N_surevn    " + kind + " / s1424(0,0)", 2.0,
          [sur] {
            double s = 0.0;
            POINT P{};
            const std::vector<double> &uv = uvs();
            for (size_t k = 0; k < uv.size(); k += 2) {
              N_surevn(sur, uv[k], uv[k + 1], 1, 1, &P);
              s += P.x;
            }
            return s;
          },
          [ss] {
            double s = 0.0, e[3];
            int l1 = 0, l2 = 0, stat = 0;
            const std::vector<double> &uv = uvs();
            for (size_t k = 0; k < uv.size(); k += 2) {
              s1424(ss, 0, 0, const_cast<double *>(&uv[k]), &l1, &l2, e, &stat);
              s += e[0];
            }
            return s;
          },
          [sur, ss](double &wp, double &wd) {
            wd = 0.0;
            int l1 = 0, l2 = 0, stat = 0;
            const std::vector<double> &uv = uvs();
            for (size_t k = 0; k < uv.size(); k += 2) {
              POINT P{};
              double e[3];
              if (N_surevn(sur, uv[k], uv[k + 1], 1, 1, &P) ||
                  (s1424(ss, 0, 0, const_cast<double *>(&uv[k]), &l1, &l2, e, &stat), stat < 0)) {
                wp = -1.0;
                return;
              }
              wp = std::max(wp, rel_diff(&P.x, e, 3));
            }
          }});
  rows.push_back(
      Row{"N_surder(1) " + kind + " / s1421(1)", 1.5,
          [sur] {
            double s = 0.0;
            POINT S[2][2], *SKL[2] = {S[0], S[1]};
            const std::vector<double> &uv = uvs();
            for (size_t k = 0; k < uv.size(); k += 2) {
              N_surder(sur, uv[k], uv[k + 1], 1, 1, 1, 1, 1, SKL);
              s += S[1][0].x;
            }
            return s;
          },
          [ss] { return s1421_pass(ss, [](const double *e, const double *) { return e[3]; }); },
          [sur, ss](double &wp, double &wd) {
            int l1 = 0, l2 = 0, stat = 0;
            const std::vector<double> &uv = uvs();
            for (size_t k = 0; k < uv.size(); k += 2) {
              POINT S[2][2], *SKL[2] = {S[0], S[1]};
              double e[9], nrm[3];
              if (N_surder(sur, uv[k], uv[k + 1], 1, 1, 1, 1, 1, SKL) ||
                  (s1421(ss, 1, const_cast<double *>(&uv[k]), &l1, &l2, e, nrm, &stat), stat < 0)) {
                wp = -1.0;
                return;
              }
              wp = std::max(wp, rel_diff(&S[0][0].x, e, 3));
              wd = std::max(wd, rel_diff(&S[1][0].x, e + 3, 3));
              wd = std::max(wd, rel_diff(&S[0][1].x, e + 6, 3));
            }
          }});
  rows.push_back(
      Row{"N_surnor    " + kind + " / s1421(1)", 1.5,
          [sur] {
            double s = 0.0;
            POINT P{};
            VECTOR Su{}, Sv{}, N{};
            const std::vector<double> &uv = uvs();
            for (size_t k = 0; k < uv.size(); k += 2) {
              N_surnor(sur, uv[k], uv[k + 1], 1, 1, &P, &Su, &Sv, &N);
              s += N.x;
            }
            return s;
          },
          [ss] { return s1421_pass(ss, [](const double *, const double *nrm) { return nrm[0]; }); },
          [sur, ss](double &wp, double &wd) {
            int l1 = 0, l2 = 0, stat = 0;
            const std::vector<double> &uv = uvs();
            for (size_t k = 0; k < uv.size(); k += 2) {
              POINT P{};
              VECTOR Su{}, Sv{}, N{};
              double e[9], nrm[3];
              if (N_surnor(sur, uv[k], uv[k + 1], 1, 1, &P, &Su, &Sv, &N) ||
                  (s1421(ss, 1, const_cast<double *>(&uv[k]), &l1, &l2, e, nrm, &stat), stat < 0)) {
                wp = -1.0;
                return;
              }
              unit(nrm);
              wp = std::max(wp, rel_diff(&P.x, e, 3));
              wd = std::max(wd, rel_diff(&N.x, nrm, 3));
            }
          }});
}

std::string rate_text(double r) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.3g", r);
  return buf;
}

}  // namespace

int run_comparison(int rounds, const char *only) {
  rounds = std::max(rounds, 1);
  std::vector<std::unique_ptr<BenchCurve> > curves;
  std::vector<std::unique_ptr<BenchSurface> > surfaces;
  std::vector<Row> rows;
  for (bool rational : {false, true})
    for (int p = 1; p <= 5; ++p) {
      curves.emplace_back(new BenchCurve(p, rational, 10 + p + (rational ? 5 : 0)));
      curve_rows(*curves.back(), rows);
    }
  for (bool rational : {false, true})
    for (int p = 1; p <= 5; ++p) {
      surfaces.emplace_back(new BenchSurface(p, rational, 30 + p + (rational ? 5 : 0)));
      surface_rows(*surfaces.back(), rows);
    }
  std::stable_sort(rows.begin(), rows.end(), [](const Row &a, const Row &b) {
    return a.label.compare(0, 11, b.label, 0, 11) < 0;
  });
  // Only the rows whose label contains the given text, when one is given.
  if (only)
    rows.erase(std::remove_if(rows.begin(), rows.end(),
                              [only](const Row &r) { return r.label.find(only) == std::string::npos; }),
               rows.end());

  // Start-up check: both libraries compute the same values on every row.
  bool agree = true;
  std::printf(
      "Agreement with SISL over %d parameters (relative to 1 + |x|; points %.0e, "
      "derivatives and normals %.0e):\n",
      kCount, kPointTol, kDerivTol);
  for (Row &r : rows) {
    double wp = 0.0, wd = 0.0;
    r.check(wp, wd);
    const bool ok = wp >= 0.0 && wp <= kPointTol && wd <= kDerivTol;
    agree = agree && ok;
    std::printf("  %-48s points %9.3g  derivatives %9.3g  %s\n", r.label.c_str(), wp, wd,
                ok ? "ok" : "FAIL");
  }

  double load[3] = {0, 0, 0};
  if (FILE *f = std::fopen("/proc/loadavg", "r")) {
    if (std::fscanf(f, "%lf %lf %lf", &load[0], &load[1], &load[2]) != 3) load[0] = -1.0;
    std::fclose(f);
  }
  std::printf(
      "\nInterleaved timing (thread processor time): %d rounds per row, batches of "
      "about %.1f ms, %d parameters per pass; load average %.2f %.2f %.2f\n",
      rounds, kBatchSeconds * 1e3, kCount, load[0], load[1], load[2]);
  std::printf("%-48s %12s %12s %7s %7s  %s\n", "row (Orvo / SISL)", "Orvo eval/s", "SISL eval/s",
              "ratio", "target", "result");
  int failed = 0;
  for (Row &r : rows) {
    // Passes per batch: enough for the batch length, one pass of each measured.
    const int reps_o = passes_per_batch(r.orvo), reps_s = passes_per_batch(r.sisl);
    std::vector<double> ro, rs, ratio;
    for (int k = 0; k < rounds; ++k) {
      double to, ts;
      if (k % 2 == 0) {
        to = seconds_of(r.orvo, reps_o);
        ts = seconds_of(r.sisl, reps_s);
      } else {
        ts = seconds_of(r.sisl, reps_s);
        to = seconds_of(r.orvo, reps_o);
      }
      ro.push_back(reps_o * double(kCount) / to);
      rs.push_back(reps_s * double(kCount) / ts);
      ratio.push_back(ro.back() / rs.back());
    }
    const double q = median(ratio);
    const bool ok = q >= r.target;
    failed += !ok;
    std::printf("%-48s %12s %12s %7.2f %7.2f  %s\n", r.label.c_str(), rate_text(median(ro)).c_str(),
                rate_text(median(rs)).c_str(), q, r.target, ok ? "ok" : "FAIL");
    std::fflush(stdout);
  }
  std::printf("\n%zu rows, %d below target; values %s\n", rows.size(), failed,
              agree ? "agree" : "DISAGREE");
  return (failed == 0 && agree) ? 0 : 1;
}

#endif

}  // namespace orvo_bench
