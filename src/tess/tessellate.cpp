// The tessellation driver: trimming curves to polygons in the metric
// parameter plane, adaptive subdivision, seams of closed surfaces, meshing
// of the leaf cells and the neighbour rings.
//
// The driver keeps no state between calls: the size estimate and the
// parameter rectangle travel with each call, so a refused call leaves
// nothing behind and calls on different surfaces do not meet.
#include <algorithm>
#include <cmath>
#include <new>

#include "tess/tess_internal.hpp"

namespace orvo::detail::tess {

namespace {

// Appends the polylines of a loop's curves in order, each joint once.
int16_t loop_polyline(const SURFACE *sur, CURVE **curves, int32_t last, const Metric &metric,
                      double ctol, Loop &loop, const char *tag) {
  if (!curves) return fail(kErrInconsistent, tag);
  if (last < 0) return fail(kErrIndex, tag);
  std::vector<double> pu, pv;
  const double joint = 1e-12 * std::max(metric.u1 - metric.u0, metric.v1 - metric.v0);
  for (int32_t k = 0; k <= last; ++k) {
    if (!curves[k]) return fail(kErrInconsistent, tag);
    if (polyline(sur, curves[k], metric, ctol, pu, pv, "N_TESPTC")) return 1;
    if (pu.empty()) return fail(kErrZeroVector, tag);
    size_t from = 0;
    if (!loop.u.empty() && std::fabs(pu[0] - loop.u.back()) <= joint &&
        std::fabs(pv[0] - loop.v.back()) <= joint)
      from = 1;
    loop.u.insert(loop.u.end(), pu.begin() + from, pu.end());
    loop.v.insert(loop.v.end(), pv.begin() + from, pv.end());
  }
  return 0;
}

// Maps a loop into the metric plane. Outer-loop points within 7 trel of a
// side of the domain are put just outside it, so that an outer loop along
// the domain's border passes 1.1 d beyond it (and beyond its corners)
// without crossing itself; any point outside the domain goes to -1.1 d or
// L + 1.1 d.
void to_metric(Loop &loop, const Metric &m, double trel, double d, bool outer) {
  const double ru = m.u1 - m.u0, rv = m.v1 - m.v0, su = m.Lu / ru, sv = m.Lv / rv;
  auto map = [&](double x, double lo, double hi, double range, double scale, double L) {
    if (outer && x - lo < 7.0 * trel * range) return -1.1 * d;
    if (outer && hi - x < 7.0 * trel * range) return L + 1.1 * d;
    const double y = (x - lo) * scale;
    if (y < 0.0) return -1.1 * d;
    if (y > L + 0.001 * d) return L + 1.1 * d;
    return y;
  };
  for (size_t k = 0; k < loop.u.size(); ++k) {
    loop.u[k] = map(loop.u[k], m.u0, m.u1, ru, su, m.Lu);
    loop.v[k] = map(loop.v[k], m.v0, m.v1, rv, sv, m.Lv);
  }
}

// Closes the loop, drops repeated points, checks it has four polygon points
// and area, and orients it: outer loops counter-clockwise, holes clockwise.
int16_t finish_loop(Loop &loop, bool outer, double eps, const char *tag) {
  std::vector<double> u, v;
  for (size_t k = 0; k < loop.u.size(); ++k) {
    if (!std::isfinite(loop.u[k]) || !std::isfinite(loop.v[k])) return fail(kErrFloat, tag);
    if (!u.empty() && std::fabs(loop.u[k] - u.back()) <= eps &&
        std::fabs(loop.v[k] - v.back()) <= eps)
      continue;
    u.push_back(loop.u[k]);
    v.push_back(loop.v[k]);
  }
  while (u.size() > 1 && std::fabs(u.back() - u[0]) <= eps && std::fabs(v.back() - v[0]) <= eps) {
    u.pop_back();
    v.pop_back();
  }
  u.push_back(u.empty() ? 0.0 : u[0]);
  v.push_back(v.empty() ? 0.0 : v[0]);
  if (u.size() < 4) return fail(kErrTessInput, tag);
  double area = 0.0;
  for (size_t k = 0; k + 1 < u.size(); ++k) area += u[k] * v[k + 1] - u[k + 1] * v[k];
  if (!(area != 0.0) || !std::isfinite(area)) return fail(kErrTessInput, tag);
  if ((area > 0.0) != outer) {
    std::reverse(u.begin(), u.end());
    std::reverse(v.begin(), v.end());
  }
  loop.u.swap(u);
  loop.v.swap(v);
  compute_box(loop);
  return 0;
}

// A copy of each grid point at one end of a closed direction at the other
// end, where there is none, so that both sides of the seam have the same
// points. dir 1: along u (rows), 2: along v (columns).
void complete_seam(PointSet &pts, Grid &grid, int dir) {
  const bool along_u = dir == 1;
  auto &lines = along_u ? grid.rows : grid.cols;
  auto &across = along_u ? grid.cols : grid.rows;
  auto &idx = along_u ? grid.pi : grid.pj;
  auto &other = along_u ? grid.pj : grid.pi;
  const int32_t last = along_u ? grid.ni() : grid.nj();
  const double far_end = along_u ? grid.gu.back() : grid.gv.back();
  for (size_t l = 0; l < lines.size(); ++l) {
    auto &line = lines[l];
    if (line.empty()) continue;
    const bool at_start = idx[line.front()] == 0, at_end = idx[line.back()] == last;
    if (at_start == at_end) continue;
    const double c = along_u ? grid.gv[l] : grid.gu[l];
    const int32_t q =
        along_u ? pts.add(at_start ? far_end : 0.0, c) : pts.add(c, at_start ? far_end : 0.0);
    grid.pi.push_back(along_u ? (at_start ? last : 0) : static_cast<int32_t>(l));
    grid.pj.push_back(along_u ? static_cast<int32_t>(l) : (at_start ? last : 0));
    grid.flag.push_back(-2);
    if (at_start)
      line.push_back(q);
    else
      line.insert(line.begin(), q);
    auto &cross = across[at_start ? last : 0];
    cross.insert(std::lower_bound(cross.begin(), cross.end(), static_cast<int32_t>(l),
                                  [&](int32_t a, int32_t value) { return other[a] < value; }),
                 q);
  }
}

}  // namespace

}  // namespace orvo::detail::tess

using namespace orvo::detail;
using namespace orvo::detail::tess;

extern "C" {

int16_t N_tessur(const SURFACE *sur, CURVE ***outer, CURVE ****holes, int32_t nr,
                 const int32_t *nouter, const int32_t *nholes, int32_t **nhcur, double ctol,
                 double ftol, double trel, double **u, double **v, int32_t *np, int32_t ***nb,
                 int32_t **c, STACKS *ws) {
  const char *tag = "N_TESSUR";
  if (!outer || !nouter || !nholes || !u || !v || !np || !nb || !c || !ws)
    return fail(kErrInconsistent, tag);
  if (nr < 0) return fail(kErrIndex, tag);
  // The stages refuse their tolerances under their own names.
  if (!(ctol >= POINT_TOLERANCE) || !std::isfinite(ctol)) return fail(kErrTessInput, "N_TESPTC");
  if (!(ftol >= POINT_TOLERANCE) || !std::isfinite(ftol)) return fail(kErrTessInput, "N_TESSUB");
  if (!(trel >= 0.0) || !(trel < 1.0)) return fail(kErrTessInput, tag);
  return run_stage(tag, [&]() -> int16_t {
    Metric metric;
    if (surface_metric(sur, metric, nullptr, tag)) return 1;
    const double d = trel * std::max(metric.Lu, metric.Lv);
    const double eps = 1e-12 * std::max(metric.Lu, metric.Lv);

    std::vector<Region> regions(static_cast<size_t>(nr) + 1);
    for (int32_t r = 0; r <= nr; ++r) {
      if (nholes[r] < -1) return fail(kErrIndex, tag);
      if (nholes[r] >= 0 && (!holes || !holes[r] || !nhcur || !nhcur[r]))
        return fail(kErrInconsistent, tag);
      regions[r].loops.resize(static_cast<size_t>(nholes[r]) + 2);
      for (int32_t h = -1; h <= nholes[r]; ++h) {
        Loop &loop = regions[r].loops[h + 1];
        if (h < 0 ? loop_polyline(sur, outer[r], nouter[r], metric, ctol, loop, tag)
                  : loop_polyline(sur, holes[r][h], nhcur[r][h], metric, ctol, loop, tag))
          return 1;
        to_metric(loop, metric, trel, d, h < 0);
        if (finish_loop(loop, h < 0, eps, tag)) return 1;
      }
    }

    PointSet pts;
    Grid grid;
    if (subdivide(sur, metric, ftol, regions, d, pts, grid, "N_TESSUB")) return 1;
    if (U_issurc(sur, 1)) complete_seam(pts, grid, 1);
    if (U_issurc(sur, 2)) complete_seam(pts, grid, 2);
    std::vector<int32_t> tris;
    std::vector<std::vector<int32_t>> rings;
    if (triangulate(pts, grid, regions, d, tris, tag) || build_rings(pts, tris, rings, tag))
      return 1;

    if (into_workspace(ws, [&] {
          return copy_coords(pts.u, pts.v, u, v, ws) || rings_to_records(rings, nb, c, tag, ws);
        }))
      return 1;
    *np = pts.size() - 1;
    return 0;
  });
}

}  // extern "C"
