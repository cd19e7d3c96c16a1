// Shared pieces of the tessellator: exact orientation, the point store,
// the sparse grid, the metric mapping and the copies into caller records.
#include <algorithm>
#include <cmath>

#include "geom/geom_ops.hpp"
#include "shape/shape_ops.hpp"
#include "tess/tess_internal.hpp"

namespace orvo::detail::tess {

// ---- Exact orientation ----------------------------------------------------------
namespace {

inline void two_sum(double a, double b, double &x, double &y) {
  x = a + b;
  const double bv = x - a, av = x - bv;
  y = (a - av) + (b - bv);
}

inline void two_diff(double a, double b, double &x, double &y) {
  x = a - b;
  const double bv = a - x, av = x + bv;
  y = (a - av) + (bv - b);
}

inline void two_prod(double a, double b, double &x, double &y) {
  x = a * b;
  y = std::fma(a, b, -x);
}

// Adds b to the non-overlapping expansion e[0..n-1] (increasing magnitude).
inline int grow(double *e, int n, double b) {
  double q = b;
  for (int i = 0; i < n; ++i) {
    double h;
    two_sum(q, e[i], q, h);
    e[i] = h;
  }
  e[n] = q;
  return n + 1;
}

// The determinant summed exactly: each difference is a two-term value, each
// product of two of them four exact two-term products.
double orient_exact(double ax, double ay, double bx, double by, double cx, double cy) {
  double d[4][2];
  two_diff(ax, cx, d[0][0], d[0][1]);  // ax - cx
  two_diff(by, cy, d[1][0], d[1][1]);  // by - cy
  two_diff(ay, cy, d[2][0], d[2][1]);  // ay - cy
  two_diff(bx, cx, d[3][0], d[3][1]);  // bx - cx
  double e[40];
  int n = 0;
  for (int a = 0; a < 2; ++a)
    for (int b = 0; b < 2; ++b) {
      double x, y;
      two_prod(d[0][a], d[1][b], x, y);
      n = grow(e, n, x);
      n = grow(e, n, y);
      two_prod(d[2][a], d[3][b], x, y);
      n = grow(e, n, -x);
      n = grow(e, n, -y);
    }
  for (int i = n - 1; i >= 0; --i)
    if (e[i] != 0.0) return e[i];
  return 0.0;
}

}  // namespace

double orient2d(double ax, double ay, double bx, double by, double cx, double cy) {
  const double left = (ax - cx) * (by - cy), right = (ay - cy) * (bx - cx);
  const double det = left - right;
  const double bound = 3.3306690738754716e-16 * (std::fabs(left) + std::fabs(right));
  if (det > bound || -det > bound) return det;
  return orient_exact(ax, ay, bx, by, cx, cy);
}

int leg_side(double ax, double ay, double bx, double by, double cx, double cy) {
  const double o = orient2d(ax, ay, bx, by, cx, cy);
  if (o > 0) return 1;
  if (o < 0) return -1;
  // c on the line: the shift (eps, eps^2) of the leg decides.
  if (by != ay) return by > ay ? 1 : -1;
  return bx < ax ? 1 : -1;
}

// ---- Points ---------------------------------------------------------------------
int32_t PointSet::add(double x, double y) {
  auto it = index_.find(key(x, y));
  if (it != index_.end()) return it->second;
  const int32_t k = append_copy(x, y);
  index_.emplace(key(x, y), k);
  return k;
}

int32_t PointSet::append_copy(double x, double y) {
  u.push_back(x);
  v.push_back(y);
  fu.push_back(0);
  fv.push_back(0);
  cls.push_back(-2);
  return size() - 1;
}

void PointSet::rehash() {
  index_.clear();
  for (int32_t k = 0; k < size(); ++k) index_.emplace(key(u[k], v[k]), k);
}

// ---- Loops -------------------------------------------------------------------------
void compute_box(Loop &loop) {
  RECTANGLE b{DBL_MAX, -DBL_MAX, DBL_MAX, -DBL_MAX};
  for (size_t k = 0; k < loop.u.size(); ++k) {
    b.xmin = std::min(b.xmin, loop.u[k]);
    b.xmax = std::max(b.xmax, loop.u[k]);
    b.ymin = std::min(b.ymin, loop.v[k]);
    b.ymax = std::max(b.ymax, loop.v[k]);
  }
  loop.box = b;
}

int16_t check_regions(const TRIMREGION *reg, int32_t nr, const char *tag) {
  if (!reg || nr < 0) return fail(kErrInconsistent, tag);
  for (int32_t r = 0; r <= nr; ++r) {
    if (!reg[r].loops || reg[r].nh < -1) return fail(kErrInconsistent, tag);
    for (int32_t h = 0; h <= reg[r].nh + 1; ++h) {
      const TRIMLOOP &L = reg[r].loops[h];
      if (!L.u || !L.v) return fail(kErrInconsistent, tag);
      if (L.n < 3) return fail(kErrTessInput, tag);
      for (int32_t k = 0; k <= L.n; ++k)
        if (!std::isfinite(L.u[k]) || !std::isfinite(L.v[k])) return fail(kErrTessInput, tag);
    }
  }
  return 0;
}

void loops_from_records(const TRIMREGION *reg, int32_t nr, std::vector<Region> &out) {
  out.assign(static_cast<size_t>(nr + 1), Region{});
  for (int32_t r = 0; r <= nr; ++r) {
    const TRIMREGION &R = reg[r];
    for (int32_t h = 0; h <= R.nh + 1; ++h) {
      const TRIMLOOP &L = R.loops[h];
      Loop loop;
      loop.u.assign(L.u, L.u + L.n + 1);
      loop.v.assign(L.v, L.v + L.n + 1);
      // The region lies on the left: outer loops counter-clockwise, holes
      // clockwise.
      double area = 0.0;
      for (int32_t k = 0; k < L.n; ++k)
        area += loop.u[k] * loop.v[k + 1] - loop.u[k + 1] * loop.v[k];
      if ((area > 0.0) != (h == 0)) {
        std::reverse(loop.u.begin(), loop.u.end());
        std::reverse(loop.v.begin(), loop.v.end());
      }
      compute_box(loop);
      out[r].loops.push_back(std::move(loop));
    }
  }
}

// ---- Grid ----------------------------------------------------------------------------
namespace {

void sorted_distinct(const std::vector<double> &x, std::vector<double> &out) {
  out = x;
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
}

int32_t index_of(const std::vector<double> &sorted, double x) {
  return static_cast<int32_t>(std::lower_bound(sorted.begin(), sorted.end(), x) - sorted.begin());
}

}  // namespace

void build_grid(const PointSet &pts, Grid &grid) {
  sorted_distinct(pts.u, grid.gu);
  sorted_distinct(pts.v, grid.gv);
  const int32_t np = pts.size();
  grid.pi.resize(np);
  grid.pj.resize(np);
  grid.flag.assign(np, 0);
  grid.rows.assign(grid.gv.size(), {});
  grid.cols.assign(grid.gu.size(), {});
  for (int32_t k = 0; k < np; ++k) {
    grid.pi[k] = index_of(grid.gu, pts.u[k]);
    grid.pj[k] = index_of(grid.gv, pts.v[k]);
    grid.rows[grid.pj[k]].push_back(k);
    grid.cols[grid.pi[k]].push_back(k);
  }
  for (auto &row : grid.rows)
    std::sort(row.begin(), row.end(),
              [&](int32_t a, int32_t b) { return grid.pi[a] < grid.pi[b]; });
  for (auto &col : grid.cols)
    std::sort(col.begin(), col.end(),
              [&](int32_t a, int32_t b) { return grid.pj[a] < grid.pj[b]; });
}

namespace {

// Position of point p in a grid line sorted by the index array idx.
size_t line_position(const std::vector<int32_t> &line, const std::vector<int32_t> &idx, int32_t p) {
  return static_cast<size_t>(
      std::lower_bound(line.begin(), line.end(), idx[p],
                       [&](int32_t a, int32_t value) { return idx[a] < value; }) -
      line.begin());
}

}  // namespace

bool leaf_cell(const PointSet &pts, const Grid &grid, int32_t p, CellRef &cell) {
  if (!pts.fu[p] || !pts.fv[p]) return false;
  cell.i = grid.pi[p];
  cell.j = grid.pj[p];
  cell.i2 = cell.j2 = -1;
  // Along the lower side: the lower-right corner is the first point with an
  // edge going up; along the left side the upper-left corner is the first
  // with an edge going right.
  const auto &row = grid.rows[cell.j];
  for (size_t k = line_position(row, grid.pi, p) + 1; k < row.size(); ++k)
    if (pts.fv[row[k]]) {
      cell.i2 = grid.pi[row[k]];
      break;
    }
  const auto &col = grid.cols[cell.i];
  for (size_t k = line_position(col, grid.pj, p) + 1; k < col.size(); ++k)
    if (pts.fu[col[k]]) {
      cell.j2 = grid.pj[col[k]];
      break;
    }
  return cell.i2 >= 0 && cell.j2 >= 0;
}

void cell_border(const Grid &grid, const CellRef &c, std::vector<int32_t> &border) {
  border.clear();
  auto take = [&](const std::vector<int32_t> &line, const std::vector<int32_t> &idx, int32_t from,
                  int32_t to) {
    // Points of the line with index in [from, to) going up, (to, from] going down.
    const bool up = from < to;
    const int32_t lo = up ? from : to, hi = up ? to : from;
    auto first = std::lower_bound(line.begin(), line.end(), lo,
                                  [&](int32_t a, int32_t value) { return idx[a] < value; });
    auto last = std::upper_bound(line.begin(), line.end(), hi,
                                 [&](int32_t value, int32_t a) { return value < idx[a]; });
    const size_t start = border.size();
    for (auto it = first; it != last; ++it)
      if (up ? idx[*it] < hi : idx[*it] > lo) border.push_back(*it);
    if (!up) std::reverse(border.begin() + start, border.end());
  };
  take(grid.rows[c.j], grid.pi, c.i, c.i2);   // lower side, left to right
  take(grid.cols[c.i2], grid.pj, c.j, c.j2);  // right side, upwards
  take(grid.rows[c.j2], grid.pi, c.i2, c.i);  // upper side, right to left
  take(grid.cols[c.i], grid.pj, c.j2, c.j);   // left side, downwards
}

// The dense table of the record is refused beyond this many entries.
constexpr int64_t kMaxGridEntries = int64_t(1) << 26;

int16_t grid_to_record(const PointSet &pts, const Grid &grid, TESSGRID *g, const char *tag,
                       STACKS *ws) {
  const int32_t np = pts.size() - 1, ni = grid.ni(), nj = grid.nj();
  if (static_cast<int64_t>(ni + 1) * (nj + 1) > kMaxGridEntries) return fail(kErrMemory, tag);
  TESSGRID r{};
  r.np = r.cap = np;
  r.ni = ni;
  r.nj = nj;
  if (!(r.u = copy_out(pts.u, ws)) || !(r.v = copy_out(pts.v, ws)) ||
      !(r.fu = copy_out(pts.fu, ws)) || !(r.fv = copy_out(pts.fv, ws)) ||
      !(r.gu = copy_out(grid.gu, ws)) || !(r.gv = copy_out(grid.gv, ws)) ||
      !(r.grid = S_geti2d(ni, nj, ws)) || !(r.flag = S_getf2d(ni, nj, ws)))
    return 1;
  for (int32_t i = 0; i <= ni; ++i)
    for (int32_t j = 0; j <= nj; ++j) {
      r.grid[i][j] = -1;
      r.flag[i][j] = 0;
    }
  // Points added after the grid was built (clipping) are no grid corners.
  for (size_t k = 0; k < grid.pi.size(); ++k) {
    r.grid[grid.pi[k]][grid.pj[k]] = static_cast<int32_t>(k);
    r.flag[grid.pi[k]][grid.pj[k]] = grid.flag[k];
  }
  *g = r;
  return 0;
}

int16_t grid_from_record(const TESSGRID *g, PointSet &pts, Grid &grid, const char *tag) {
  if (!g || !g->u || !g->v || !g->fu || !g->fv || g->np < 3 || g->cap < g->np)
    return fail(kErrInconsistent, tag);
  pts = PointSet{};
  for (int32_t k = 0; k <= g->np; ++k) {
    if (!std::isfinite(g->u[k]) || !std::isfinite(g->v[k])) return fail(kErrInconsistent, tag);
    pts.append_copy(g->u[k], g->v[k]);
    pts.fu[k] = g->fu[k] != 0;
    pts.fv[k] = g->fv[k] != 0;
  }
  pts.rehash();
  build_grid(pts, grid);
  // Seam copies keep their mark.
  if (g->grid && g->flag && g->ni == grid.ni() && g->nj == grid.nj())
    for (int32_t k = 0; k <= g->np; ++k)
      if (g->grid[grid.pi[k]][grid.pj[k]] == k) grid.flag[k] = g->flag[grid.pi[k]][grid.pj[k]];
  return 0;
}

// ---- Metric ---------------------------------------------------------------------------
double Metric::to_param(double x, double L, double lo, double hi) {
  if (x <= 0.0) return lo;
  if (x >= L) return hi;
  return std::min(hi, lo + x * ((hi - lo) / L));
}

int16_t surface_metric(const SURFACE *sur, Metric &m, double *A, const char *tag) {
  if (check_record(sur, tag)) return 1;
  double a = 0.0;
  if (N_tesesa(sur, &a, &m.Lu, &m.Lv)) return fail(kErrSurfaceDef, tag);
  if (A) *A = a;
  U_surpar(sur, &m.u0, &m.u1, &m.v0, &m.v1);
  double su, sv, iu, iv;
  if (!(m.u1 > m.u0) || !(m.v1 > m.v0) || !(m.Lu > 0.0) || !(m.Lv > 0.0) ||
      !guarded_quotient(m.Lu, m.u1 - m.u0, su) || !guarded_quotient(m.Lv, m.v1 - m.v0, sv) ||
      !guarded_quotient(m.u1 - m.u0, m.Lu, iu) || !guarded_quotient(m.v1 - m.v0, m.Lv, iv) ||
      !std::isfinite(m.Lu) || !std::isfinite(m.Lv))
    return fail(kErrFloat, tag);
  return 0;
}

// ---- Copies into the caller's workspace -------------------------------------------
int16_t copy_coords(const std::vector<double> &u, const std::vector<double> &v, double **ou,
                    double **ov, STACKS *ws) {
  double *a = copy_out(u, ws), *b = a ? copy_out(v, ws) : nullptr;
  if (!b) return 1;
  *ou = a;
  *ov = b;
  return 0;
}

int16_t rings_to_records(const std::vector<std::vector<int32_t>> &rings, int32_t ***nb, int32_t **c,
                         const char *tag, STACKS *ws) {
  const int32_t np = static_cast<int32_t>(rings.size()) - 1;
  int64_t total = 0;
  for (const auto &r : rings) total += r.empty() ? 1 : static_cast<int64_t>(r.size());
  if (total > INT32_MAX) return fail(kErrMemory, tag);
  int32_t **rows = S_geti1p(np, ws);
  int32_t *counts = rows ? S_geti1d(np, ws) : nullptr;
  int32_t *data = counts ? S_geti1d(static_cast<int32_t>(total - 1), ws) : nullptr;
  if (!data) return 1;
  int64_t at = 0;
  for (int32_t k = 0; k <= np; ++k) {
    rows[k] = data + at;
    if (rings[k].empty()) {
      data[at++] = -1;
      counts[k] = 0;
      continue;
    }
    std::copy(rings[k].begin(), rings[k].end(), data + at);
    at += static_cast<int64_t>(rings[k].size());
    counts[k] = static_cast<int32_t>(rings[k].size()) - 1;
  }
  *nb = rows;
  *c = counts;
  return 0;
}

}  // namespace orvo::detail::tess
