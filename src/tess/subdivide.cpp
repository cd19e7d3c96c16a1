// Adaptive subdivision of the metric parameter rectangle into cells whose
// patches are flat, cells outside every trimmed region dropped.
#include <algorithm>
#include <cmath>
#include <new>

#include "tess/tess_internal.hpp"

namespace orvo::detail::tess {

namespace {

// Most cells one subdivision may visit; a flatness tolerance that would
// need more is refused (error 19) instead of running without bound.
constexpr long kMaxCells = 1L << 22;

struct Cell {
  int32_t ll, lr, ul, ur;
  int16_t cls;
};

// Where to cut [lo, hi] at its middle, moved 20 d away from the nearest
// box coordinate of the trimming loops that lies closer than 20 d, as long
// as both parts keep at least a quarter of the range.
double cut_position(double lo, double hi, const std::vector<Region> &regions, bool along_v,
                    const RECTANGLE &cell, double d) {
  const double mid = 0.5 * (lo + hi), gap = 20.0 * d;
  double best = DBL_MAX, moved = mid;
  for (const Region &r : regions)
    for (const Loop &L : r.loops) {
      // Only loops whose box reaches the cell matter.
      if (L.box.xmax < cell.xmin || L.box.xmin > cell.xmax || L.box.ymax < cell.ymin ||
          L.box.ymin > cell.ymax)
        continue;
      const double lo_c = along_v ? L.box.ymin : L.box.xmin,
                   hi_c = along_v ? L.box.ymax : L.box.xmax;
      if (std::fabs(lo_c - mid) < best) {
        best = std::fabs(lo_c - mid);
        moved = lo_c - gap;
      }
      if (std::fabs(hi_c - mid) < best) {
        best = std::fabs(hi_c - mid);
        moved = hi_c + gap;
      }
    }
  if (!(best < gap)) return mid;
  const double quarter = 0.25 * (hi - lo);
  return (moved - lo >= quarter && hi - moved >= quarter) ? moved : mid;
}

}  // namespace

RegionViews::RegionViews(const std::vector<Region> &regions) {
  loops.resize(regions.size());
  for (size_t r = 0; r < regions.size(); ++r) {
    for (const Loop &L : regions[r].loops)
      loops[r].push_back(TRIMLOOP{L.n(), const_cast<double *>(L.u.data()),
                                  const_cast<double *>(L.v.data()), L.box});
    recs.push_back(TRIMREGION{static_cast<int32_t>(regions[r].loops.size()) - 2, loops[r].data()});
  }
}

int16_t subdivide(const SURFACE *sur, const Metric &metric, double ftol,
                  const std::vector<Region> &regions, double d, PointSet &pts, Grid &grid,
                  const char *tag) {
  if (!(ftol >= POINT_TOLERANCE) || !std::isfinite(ftol)) return fail(kErrTessInput, tag);
  const RegionViews views(regions);
  const int32_t nr = static_cast<int32_t>(regions.size()) - 1;
  // A cell inside a region with no loop near it has only such parts.
  int16_t parent = 0;
  auto classify = [&](int32_t ll, int32_t ur) -> int16_t {
    if (parent == 1) return 1;
    const RECTANGLE r{pts.u[ll], pts.u[ur], pts.v[ll], pts.v[ur]};
    return N_tesbit(views.recs.data(), nr, r, d);
  };

  pts = PointSet{};
  const int32_t c0 = pts.add(0.0, 0.0), c1 = pts.add(metric.Lu, 0.0), c2 = pts.add(0.0, metric.Lv),
                c3 = pts.add(metric.Lu, metric.Lv);
  pts.fu[c0] = pts.fu[c2] = 1;
  pts.fv[c0] = pts.fv[c1] = 1;
  std::vector<Cell> stack{Cell{c0, c1, c2, c3, classify(c0, c3)}};

  LocalStacks local;
  SURFACE patch;
  U_inisur(&patch);
  SURFACE *src = const_cast<SURFACE *>(sur);  // read only: the piece goes to patch
  const double min_half = 20.0 * d;
  long visited = 0;
  while (!stack.empty()) {
    const Cell c = stack.back();
    stack.pop_back();
    const double x0 = pts.u[c.ll], x1 = pts.u[c.lr], y0 = pts.v[c.ll], y1 = pts.v[c.ul];
    if (!(x1 - x0 >= 1e-12) || !(y1 - y0 >= 1e-12)) return fail(kErrParameter, tag);
    pts.cls[c.ll] = c.cls;
    if (c.cls == -1) continue;
    if (++visited > kMaxCells) return fail(kErrTessInput, tag);

    // The patch over the cell, and its flatness.
    U_kilsur(&patch, local);
    U_inisur(&patch);
    if (N_toossg(src, metric.to_u(x0), metric.to_u(x1), metric.to_v(y0), metric.to_v(y1), &patch,
                 local, local))
      return 1;
    // A patch the flatness test cannot judge (no normal) is taken as flat;
    // whatever the test records, the caller's error state is kept.
    int16_t flat = 1, dir = 1;
    {
      KeepErrorState keep;
      U_issurf(&patch, ftol, &flat, &dir);
    }
    if (flat) continue;

    const bool v_ok = 0.5 * (y1 - y0) > min_half, u_ok = 0.5 * (x1 - x0) > min_half;
    bool cut_v = dir == 1;
    if (cut_v ? !v_ok : !u_ok) cut_v = !cut_v;
    if (cut_v ? !v_ok : !u_ok) continue;  // too small to halve either way: a leaf
    const RECTANGLE box{x0, x1, y0, y1};
    parent = c.cls;
    if (cut_v) {
      const double y = cut_position(y0, y1, regions, true, box, d);
      const int32_t a = pts.add(x0, y), b = pts.add(x1, y);
      pts.fu[a] = pts.fv[a] = pts.fv[b] = 1;
      stack.push_back(Cell{c.ll, c.lr, a, b, classify(c.ll, b)});
      stack.push_back(Cell{a, b, c.ul, c.ur, classify(a, c.ur)});
    } else {
      const double x = cut_position(x0, x1, regions, false, box, d);
      const int32_t a = pts.add(x, y0), b = pts.add(x, y1);
      pts.fu[a] = pts.fv[a] = pts.fu[b] = 1;
      stack.push_back(Cell{c.ll, a, c.ul, b, classify(c.ll, b)});
      stack.push_back(Cell{a, c.lr, b, c.ur, classify(a, c.ur)});
    }
  }
  build_grid(pts, grid);
  return 0;
}

}  // namespace orvo::detail::tess

using namespace orvo::detail;
using namespace orvo::detail::tess;

extern "C" {

int16_t N_tessub(const SURFACE *sur, double ftol, const TRIMREGION *reg, int32_t nr, double d,
                 TESSGRID *g, STACKS *ws) {
  const char *tag = "N_TESSUB";
  if (!g || !ws || !reg || nr < 0 || !(d >= 0.0) || !std::isfinite(d))
    return fail(kErrInconsistent, tag);
  return run_stage(tag, [&]() -> int16_t {
    Metric metric;
    std::vector<Region> regions;
    if (check_regions(reg, nr, tag) || surface_metric(sur, metric, nullptr, tag)) return 1;
    loops_from_records(reg, nr, regions);
    PointSet pts;
    Grid grid;
    if (subdivide(sur, metric, ftol, regions, d, pts, grid, tag)) return 1;
    return into_workspace(ws, [&] { return grid_to_record(pts, grid, g, tag, ws); });
  });
}

}  // extern "C"
