// Size estimate of a surface, and the polylines of trimming curves within a
// model-space chord tolerance.
#include <algorithm>
#include <cmath>
#include <new>

#include "arith/point_ops.hpp"
#include "geom/geom_ops.hpp"
#include "refine/refine_common.hpp"
#include "shape/shape_ops.hpp"
#include "tess/tess_internal.hpp"

namespace orvo::detail::tess {

namespace {

// Most pieces one trimming curve may be cut into; a finer tolerance is
// refused (error 19) rather than taking unbounded time and memory.
constexpr double kMaxPieces = 1.0e6;

}  // namespace

int16_t chord_deviation(const SURFACE *sur, const CURVE *cur, double t0, double t1, double &dev,
                        const char *tag) {
  POINT Q[4];
  const double t[4] = {t0, (2.0 * t0 + t1) / 3.0, (t0 + 2.0 * t1) / 3.0, t1};
  for (int k = 0; k < 4; ++k)
    if (surface_over_curve(sur, cur, t[k], &Q[k])) return 1;
  // Inner control points of the cubic Bezier through Q at 0, 1/3, 2/3, 1
  // (the inverse of the Bernstein matrix at those parameters).
  const POINT B1 = {(-5 * Q[0].x + 18 * Q[1].x - 9 * Q[2].x + 2 * Q[3].x) / 6,
                    (-5 * Q[0].y + 18 * Q[1].y - 9 * Q[2].y + 2 * Q[3].y) / 6,
                    (-5 * Q[0].z + 18 * Q[1].z - 9 * Q[2].z + 2 * Q[3].z) / 6};
  const POINT B2 = {(2 * Q[0].x - 9 * Q[1].x + 18 * Q[2].x - 5 * Q[3].x) / 6,
                    (2 * Q[0].y - 9 * Q[1].y + 18 * Q[2].y - 5 * Q[3].y) / 6,
                    (2 * Q[0].z - 9 * Q[1].z + 18 * Q[2].z - 5 * Q[3].z) / 6};
  double d1, d2;
  if (segment_distance(B1, Q[0], Q[3], false, d1, tag) ||
      segment_distance(B2, Q[0], Q[3], false, d2, tag))
    return 1;
  dev = std::max(d1, d2);
  if (!std::isfinite(dev)) return fail(kErrFloat, tag);
  return 0;
}

int16_t polyline(const SURFACE *sur, const CURVE *cur, const Metric &metric, double tol,
                 std::vector<double> &pu, std::vector<double> &pv, const char *tag) {
  pu.clear();
  pv.clear();
  if (!(tol >= POINT_TOLERANCE) || !std::isfinite(tol)) return fail(kErrTessInput, tag);
  if (check_refine_curve(cur, tag)) return 1;
  const int p = cur->p;
  const double *U = cur->knt->U;
  const int32_t m = cur->knt->m, n = cur->pol->n;
  const double a = U[p], b = U[m - p];
  if (!(a < b)) return fail(kErrKnots, tag);
  auto push = [&](const POINT &c) {
    pu.push_back(c.x);
    pv.push_back(c.y);
  };

  // Straight trimming lines on a bilinear patch with square corners: the
  // control polygon is the polyline.
  const CNET *net = sur->net;
  if (p == 1 && net->n == 1 && net->m == 1) {
    const POINT P00 = euclid(net->Pw[0][0]);
    const VECTOR e1 = sub3(euclid(net->Pw[1][0]), P00), e2 = sub3(euclid(net->Pw[0][1]), P00);
    double c;
    if (guarded_quotient(dot3(e1, e2), magnitude3(e1) * magnitude3(e2), c) &&
        std::fabs(c) < 0.002) {
      for (int32_t i = 0; i <= n; ++i) push(euclid(cur->pol->Pw[i]));
      return 0;
    }
  }

  // Model-space length: every non-empty span stepped in p equal parts.
  double L = 0.0;
  POINT prev{}, S;
  bool first = true;
  const int steps = std::max(p, 1);
  for (int32_t k = p; k < m - p; ++k) {
    if (!(U[k] < U[k + 1])) continue;
    for (int s = first ? 0 : 1; s <= steps; ++s) {
      if (surface_over_curve(sur, cur, U[k] + (U[k + 1] - U[k]) * s / steps, &S)) return 1;
      if (!first || s > 0) L += distance3(S, prev);
      prev = S;
    }
    first = false;
  }

  // Working tolerance: the chord tolerance, or one hundredth of the
  // curve's size in model units when that is smaller.
  BoxBuilder box;
  for (int32_t i = 0; i <= n; ++i) {
    const POINT q = euclid(cur->pol->Pw[i]);
    box.add(POINT{q.x, q.y, 0.0});
  }
  const double D = box_diagonal(box.get());
  const double k =
      std::max(metric.u1 - metric.u0, metric.v1 - metric.v0) / std::max(metric.Lu, metric.Lv);
  double s = tol, q;
  if (guarded_quotient(0.01 * D, k, q) && q < s) s = q;
  s = std::max(s, POINT_TOLERANCE);
  const double pieces = std::floor(L / std::sqrt(s));
  if (!std::isfinite(L) || pieces > kMaxPieces) return fail(kErrTessInput, tag);
  const double n0 = std::max(1.0, pieces);
  // No piece is shorter than the parameter can resolve: every piece moves
  // the walk on, so the walk ends.
  const double min_step =
      std::max((b - a) * 1e-12, 4.0 * DBL_EPSILON * std::max(std::fabs(a), std::fabs(b)));
  double dt = std::max((b - a) / n0, min_step);

  // Break points: the ends and every joint of multiplicity p or more.
  std::vector<double> breaks{a};
  for (int32_t k2 = p + 1; k2 < m - p; ++k2) {
    if (U[k2] <= breaks.back() || U[k2] >= b) continue;
    int32_t mult = 1;
    while (k2 + mult <= m && U[k2 + mult] == U[k2]) ++mult;
    if (mult >= p) breaks.push_back(U[k2]);
  }
  breaks.push_back(b);

  double t0_of_walk = a;
  POINT c0;
  if (surface_over_curve(sur, cur, a, &S, &c0)) return 1;
  push(c0);
  // Chord tests are bounded by the planned pieces and those made so far.
  long tests = 0;
  auto test = [&](double t1, double &dev) -> int16_t {
    if (++tests > 64 * (static_cast<long>(n0) + static_cast<long>(pu.size())) + 10000)
      return fail(kErrTessInput, tag);
    return chord_deviation(sur, cur, t0_of_walk, t1, dev, tag);
  };
  for (size_t seg = 0; seg + 1 < breaks.size(); ++seg) {
    const double end = breaks[seg + 1];
    t0_of_walk = breaks[seg];
    while (t0_of_walk < end) {
      const double t0 = t0_of_walk;
      double step = std::max(dt, min_step), t1 = std::min(t0 + step, end), dev;
      // A remainder too short to resolve joins this piece rather than
      // becoming a sliver of its own.
      if (!(t1 > t0) || end - t1 < min_step) t1 = end;
      if (test(t1, dev)) return 1;
      if (dev >= s) {
        // Shorten until the piece passes, or it can no longer be shortened.
        while (dev >= s && step * 0.5 >= min_step && t0 + step * 0.5 > t0) {
          step *= 0.5;
          t1 = t0 + step;
          if (test(t1, dev)) return 1;
        }
      } else {
        // Lengthen while the deviation stays well below the tolerance.
        while (dev < 0.5 * s && t1 < end) {
          const double t2 = std::min(t1 + step, end);
          double dev2;
          if (!(t2 > t1)) break;
          if (test(t2, dev2)) return 1;
          if (dev2 >= s) break;
          t1 = t2;
          dev = dev2;
        }
      }
      POINT c;
      if (surface_over_curve(sur, cur, t1, &S, &c)) return 1;
      push(c);
      if (static_cast<double>(pu.size()) > kMaxPieces) return fail(kErrTessInput, tag);
      // The next piece starts with the length of this one, unless the end
      // of the component cut this one short: a short last piece would
      // otherwise make the next component crawl from a tiny step.
      if (t1 < end || t1 - t0 > dt) dt = t1 - t0;
      t0_of_walk = t1;
    }
  }
  return 0;
}

}  // namespace orvo::detail::tess

using namespace orvo::detail;
using namespace orvo::detail::tess;

extern "C" {

int16_t N_tesesa(const SURFACE *sur, double *A, double *Lu, double *Lv) {
  const char *tag = "N_TESESA";
  if (check_points(sur, tag)) return 1;
  if (!A || !Lu || !Lv) return fail(kErrInconsistent, tag);
  const int32_t n = sur->net->n, m = sur->net->m;
  CPOINT *const *P = sur->net->Pw;
  double su = 0.0, sv = 0.0, mu = 0.0, mv = 0.0;
  for (int32_t j = 0; j <= m; ++j) {  // columns: lengths along u
    double len = 0.0;
    for (int32_t i = 0; i < n; ++i) len += distance3(euclid(P[i + 1][j]), euclid(P[i][j]));
    su += len;
    mu = std::max(mu, len);
  }
  for (int32_t i = 0; i <= n; ++i) {  // rows: lengths along v
    double len = 0.0;
    for (int32_t j = 0; j < m; ++j) len += distance3(euclid(P[i][j + 1]), euclid(P[i][j]));
    sv += len;
    mv = std::max(mv, len);
  }
  *Lu = su / (m + 1);
  *Lv = sv / (n + 1);
  *A = mu * mv;
  return 0;
}

int16_t N_tespae(const SURFACE *sur, const CURVE *cur, double t0, double t1, double *dev) {
  const char *tag = "N_TESPAE";
  if (check_record(sur, tag) || check_refine_curve(cur, tag)) return 1;
  if (!dev) return fail(kErrInconsistent, tag);
  return chord_deviation(sur, cur, t0, t1, *dev, tag);
}

int16_t N_tesptc(const SURFACE *sur, CURVE *cur, double tol, double **u, double **v, int32_t *n,
                 STACKS *ws) {
  const char *tag = "N_TESPTC";
  if (!u || !v || !n || !ws) return fail(kErrInconsistent, tag);
  return run_stage(tag, [&]() -> int16_t {
    Metric metric;
    std::vector<double> pu, pv;
    if (surface_metric(sur, metric, nullptr, tag) || polyline(sur, cur, metric, tol, pu, pv, tag))
      return 1;
    if (into_workspace(ws, [&] { return copy_coords(pu, pv, u, v, ws); })) return 1;
    *n = static_cast<int32_t>(pu.size()) - 1;
    return 0;
  });
}

}  // extern "C"
