// Clipping of a leaf cell by the trimming polygons of a region.
//
// The cell's border (its corners and the hanging corners of finer
// neighbours, counter-clockwise) is cut by the legs of the region's loops.
// Each stretch of a loop inside the cell is a chain from the point where it
// enters to the point where it leaves; a polygon follows a chain, then the
// border counter-clockwise to the next entering chain, and so on around
// (Weiler-Atherton tracing). Because every loop keeps the region on its left
// (outer loops counter-clockwise, holes clockwise) and the border is walked
// counter-clockwise, every polygon has the area to mesh on its left.
//
// Each decision is exact for the loops shifted by (eps, eps^2) (see
// leg_side): a loop vertex is inside the half-open cell [x0, x1) x [y0, y1)
// or not, a leg crosses a border edge when it straddles the edge's line and
// the edge's two ends lie on opposite sides of the leg. A crossing point is
// a function of the leg and the border edge alone, and points are stored by
// their coordinates, so the two cells on either side of an edge make the
// very same point.
#include <algorithm>
#include <cmath>
#include <new>

#include "geom/geom_ops.hpp"
#include "tess/tess_internal.hpp"

namespace orvo::detail::tess {

namespace {

struct Event {
  double pos;     // perimeter position, counter-clockwise from the lower-left corner
  int32_t point;  // mesh point
  int32_t chain;
  bool enter;
};

struct LegEvent {
  int32_t leg;
  double t;  // position along the leg
  Event ev;
};

struct CellFrame {
  const PointSet &pts;
  const std::vector<int32_t> &border;
  std::vector<double> pos;  // perimeter position of each border point
  double x0, x1, y0, y1;

  CellFrame(const PointSet &p, const std::vector<int32_t> &b) : pts(p), border(b) {
    x0 = x1 = pts.u[b[0]];
    y0 = y1 = pts.v[b[0]];
    for (int32_t k : b) {
      x0 = std::min(x0, pts.u[k]);
      x1 = std::max(x1, pts.u[k]);
      y0 = std::min(y0, pts.v[k]);
      y1 = std::max(y1, pts.v[k]);
    }
    pos.resize(b.size());
    double at = 0.0;
    for (size_t k = 0; k < b.size(); ++k) {
      pos[k] = at;
      const size_t n = (k + 1) % b.size();
      at += std::fabs(pts.u[b[n]] - pts.u[b[k]]) + std::fabs(pts.v[b[n]] - pts.v[b[k]]);
    }
  }
  // Inside the half-open cell, as a shifted loop vertex is.
  bool inside(double x, double y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
};

// The crossing of leg a -> b with border edge k (border[k] -> border[k+1]);
// false when there is none.
bool cross_edge(const CellFrame &f, PointSet &pts, size_t k, double ax, double ay, double bx,
                double by, Event &ev, double &t) {
  const size_t k1 = (k + 1) % f.border.size();
  const double px = pts.u[f.border[k]], py = pts.v[f.border[k]];
  const double qx = pts.u[f.border[k1]], qy = pts.v[f.border[k1]];
  double x, y;
  if (py == qy) {
    if ((ay < py) == (by < py)) return false;
    if (leg_side(ax, ay, bx, by, px, py) == leg_side(ax, ay, bx, by, qx, qy)) return false;
    x = ay == py ? ax : by == py ? bx : ax + (py - ay) * ((bx - ax) / (by - ay));
    x = std::min(std::max(x, std::min(px, qx)), std::max(px, qx));
    y = py;
    ev.enter = (qx - px) * (by - ay) > 0;
  } else {
    if ((ax < px) == (bx < px)) return false;
    if (leg_side(ax, ay, bx, by, px, py) == leg_side(ax, ay, bx, by, qx, qy)) return false;
    y = ax == px ? ay : bx == px ? by : ay + (px - ax) * ((by - ay) / (bx - ax));
    y = std::min(std::max(y, std::min(py, qy)), std::max(py, qy));
    x = px;
    ev.enter = -(qy - py) * (bx - ax) > 0;
  }
  // A crossing within a hair of an end of the leg or of the edge is that
  // end, so that no sliver forms between the two.
  const double dx = bx - ax, dy = by - ay;
  t = ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy);
  const double len = std::fabs(qx - px) + std::fabs(qy - py);
  const double off = std::fabs(x - px) + std::fabs(y - py);
  if (t <= 1e-9) {
    x = ax;
    y = ay;
  } else if (t >= 1.0 - 1e-9) {
    x = bx;
    y = by;
  } else if (off <= 1e-9 * len) {
    x = px;
    y = py;
  } else if (len - off <= 1e-9 * len) {
    x = qx;
    y = qy;
  }
  ev.point = pts.add(x, y);
  // Position along the border, kept within this edge.
  ev.pos = f.pos[k] + std::min(len, std::fabs(x - px) + std::fabs(y - py));
  return true;
}

// Is (x, y) inside the loop (crossing parity of a ray towards +u, exact for
// the shifted loop)?
bool inside_loop(const Loop &L, double x, double y) {
  bool in = false;
  for (int32_t j = 0; j < L.n(); ++j) {
    const double ax = L.u[j], ay = L.v[j], bx = L.u[j + 1], by = L.v[j + 1];
    if ((ay < y) == (by < y)) continue;
    const int side = leg_side(ax, ay, bx, by, x, y);
    if (by >= y ? side > 0 : side < 0) in = !in;
  }
  return in;
}

bool inside_region(const Region &r, double x, double y) {
  if (!inside_loop(r.loops[0], x, y)) return false;
  for (size_t h = 1; h < r.loops.size(); ++h)
    if (inside_loop(r.loops[h], x, y)) return false;
  return true;
}

void push_point(std::vector<int32_t> &poly, int32_t p) {
  if (poly.empty() || poly.back() != p) poly.push_back(p);
}

}  // namespace

int16_t cell_polygons(PointSet &pts, const std::vector<int32_t> &border, const Region &region,
                      std::vector<int32_t> &idx, std::vector<int32_t> &start, const char *tag) {
  idx.clear();
  start.assign(1, 0);
  if (border.size() < 4) return fail(kErrZeroVector, tag);
  const CellFrame f(pts, border);
  std::vector<std::vector<int32_t>> chains;
  std::vector<Event> events;
  std::vector<std::vector<int32_t>> whole;

  for (const Loop &L : region.loops) {
    const RECTANGLE &b = L.box;
    if (b.xmax < f.x0 || b.xmin >= f.x1 || b.ymax < f.y0 || b.ymin >= f.y1) continue;
    std::vector<LegEvent> le;
    for (int32_t j = 0; j < L.n(); ++j) {
      const double ax = L.u[j], ay = L.v[j], bx = L.u[j + 1], by = L.v[j + 1];
      if (ax == bx && ay == by) continue;
      if ((ax < f.x0 && bx < f.x0) || (ax >= f.x1 && bx >= f.x1) || (ay < f.y0 && by < f.y0) ||
          (ay >= f.y1 && by >= f.y1))
        continue;
      const size_t first = le.size();
      for (size_t k = 0; k < border.size(); ++k) {
        LegEvent e{j, 0.0, {}};
        if (cross_edge(f, pts, k, ax, ay, bx, by, e.ev, e.t)) le.push_back(e);
      }
      const size_t got = le.size() - first;
      if (got > 2) return fail(kErrZeroVector, tag);
      if (got == 2) {
        // A leg through the cell enters before it leaves.
        if (le[first].ev.enter == le[first + 1].ev.enter) return fail(kErrZeroVector, tag);
        if (!le[first].ev.enter) std::swap(le[first], le[first + 1]);
      }
    }
    if (le.empty()) {
      if (f.inside(L.u[0], L.v[0])) {
        std::vector<int32_t> poly;
        for (int32_t k = 0; k < L.n(); ++k) push_point(poly, pts.add(L.u[k], L.v[k]));
        whole.push_back(std::move(poly));
      }
      continue;
    }
    if (le.size() % 2) return fail(kErrZeroVector, tag);
    size_t s0 = 0;
    while (!le[s0].ev.enter) ++s0;
    const size_t q = le.size();
    for (size_t a = s0; a < s0 + q; a += 2) {
      LegEvent in = le[a % q], out = le[(a + 1) % q];
      if (!in.ev.enter || out.ev.enter) return fail(kErrZeroVector, tag);
      std::vector<int32_t> chain{in.ev.point};
      const int32_t n = L.n(), count = ((out.leg - in.leg) % n + n) % n;
      for (int32_t s = 1; s <= count; ++s) {
        const int32_t k = (in.leg + s) % n;
        if (!f.inside(L.u[k], L.v[k])) return fail(kErrZeroVector, tag);
        push_point(chain, pts.add(L.u[k], L.v[k]));
      }
      push_point(chain, out.ev.point);
      if (chain.size() < 2) continue;  // a loop only touching the border
      const int32_t id = static_cast<int32_t>(chains.size());
      in.ev.chain = out.ev.chain = id;
      chains.push_back(std::move(chain));
      events.push_back(in.ev);
      events.push_back(out.ev);
    }
  }

  auto close_polygon = [&]() {
    if (idx.size() > static_cast<size_t>(start.back()) + 1 && idx.back() == idx[start.back()])
      idx.pop_back();
    if (idx.size() - start.back() < 3)
      idx.resize(start.back());  // nothing to mesh in a polygon without area
    else
      start.push_back(static_cast<int32_t>(idx.size()));
  };

  if (chains.empty()) {
    if (inside_region(region, pts.u[border[0]], pts.v[border[0]])) {
      idx = border;
      start.push_back(static_cast<int32_t>(idx.size()));
    }
  } else {
    // Events around the border; at one position a chain leaving comes
    // before one entering.
    std::vector<int32_t> order(events.size());
    for (size_t k = 0; k < order.size(); ++k) order[k] = static_cast<int32_t>(k);
    std::sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
      if (events[a].pos != events[b].pos) return events[a].pos < events[b].pos;
      return !events[a].enter && events[b].enter;
    });
    std::vector<int32_t> rank(events.size()), exit_of(chains.size());
    for (size_t k = 0; k < order.size(); ++k) rank[order[k]] = static_cast<int32_t>(k);
    for (size_t e = 0; e < events.size(); ++e)
      if (!events[e].enter) exit_of[events[e].chain] = static_cast<int32_t>(e);
    std::vector<char> used(chains.size(), 0);
    const size_t nb = border.size();
    for (size_t c0 = 0; c0 < chains.size(); ++c0) {
      if (used[c0]) continue;
      size_t c = c0;
      size_t guard = 0;
      do {
        if (used[c] || ++guard > chains.size()) return fail(kErrZeroVector, tag);
        used[c] = 1;
        for (int32_t p : chains[c]) push_point(idx, p);
        const int32_t ex = exit_of[c], r = rank[ex];
        const int32_t nx = order[(r + 1) % order.size()];
        if (!events[nx].enter) return fail(kErrZeroVector, tag);
        // Border points strictly between the two positions, counter-clockwise.
        const double pe = events[ex].pos, pn = events[nx].pos;
        if (rank[nx] > r) {
          for (size_t k = 0; k < nb; ++k)
            if (f.pos[k] > pe && f.pos[k] < pn) push_point(idx, border[k]);
        } else {
          for (size_t k = 0; k < nb; ++k)
            if (f.pos[k] > pe) push_point(idx, border[k]);
          for (size_t k = 0; k < nb; ++k)
            if (f.pos[k] < pn) push_point(idx, border[k]);
        }
        c = static_cast<size_t>(events[nx].chain);
      } while (c != c0);
      close_polygon();
    }
  }
  for (auto &poly : whole) {
    for (int32_t p : poly) idx.push_back(p);
    close_polygon();
  }

  // A polygon edge lying on the border takes the border points between its
  // ends, so that it matches the neighbouring cell.
  std::vector<int32_t> out, out_start{0};
  const size_t npoly = start.size() - 1;
  for (size_t k = 0; k < npoly; ++k) {
    const int32_t s = start[k], e = start[k + 1];
    for (int32_t t = s; t < e; ++t) {
      const int32_t a = idx[t], b = idx[t + 1 < e ? t + 1 : s];
      out.push_back(a);
      const double ax = pts.u[a], ay = pts.v[a], bx = pts.u[b], by = pts.v[b];
      const bool horiz = ay == by && (ay == f.y0 || ay == f.y1);
      const bool vert = ax == bx && (ax == f.x0 || ax == f.x1);
      if (!horiz && !vert) continue;
      std::vector<std::pair<double, int32_t>> between;
      for (int32_t q : border) {
        const double qx = pts.u[q], qy = pts.v[q];
        if (horiz && qy == ay && qx > std::min(ax, bx) && qx < std::max(ax, bx))
          between.emplace_back(std::fabs(qx - ax), q);
        if (vert && qx == ax && qy > std::min(ay, by) && qy < std::max(ay, by))
          between.emplace_back(std::fabs(qy - ay), q);
      }
      std::sort(between.begin(), between.end());
      for (const auto &w : between) out.push_back(w.second);
    }
    out_start.push_back(static_cast<int32_t>(out.size()));
  }
  idx.swap(out);
  start.swap(out_start);
  return 0;
}

}  // namespace orvo::detail::tess

using namespace orvo::detail;
using namespace orvo::detail::tess;

extern "C" {

int16_t N_teslsi(double au, double av, double bu, double bv, double cu, double cv, double du,
                 double dv, double d, double *s, double *t, double *xu, double *xv,
                 int16_t *found) {
  if (!s || !t || !xu || !xv || !found) return fail(kErrInconsistent, "N_TESLSI");
  *found = 0;
  // Boxes widened by d must overlap.
  if (std::max(au, bu) + d < std::min(cu, du) || std::max(cu, du) + d < std::min(au, bu) ||
      std::max(av, bv) + d < std::min(cv, dv) || std::max(cv, dv) + d < std::min(av, bv))
    return 0;
  const double ex = bu - au, ey = bv - av, fx = du - cu, fy = dv - cv;
  const double det = ex * fy - ey * fx;
  if (!(std::fabs(det) >= ZERO_TOLERANCE)) return 0;
  const double gx = cu - au, gy = cv - av;
  double ss, tt;
  if (!guarded_quotient(gx * fy - gy * fx, det, ss) ||
      !guarded_quotient(gx * ey - gy * ex, det, tt))
    return 0;
  // On each segment, or at most d beyond its ends measured along it.
  const double le = std::hypot(ex, ey), lf = std::hypot(fx, fy);
  auto near = [&](double r, double len) { return r >= 0.0 ? (r - 1.0) * len <= d : -r * len <= d; };
  if (!near(ss, le) || !near(tt, lf)) return 0;
  *s = ss;
  *t = tt;
  *xu = 0.5 * ((au + ss * ex) + (cu + tt * fx));
  *xv = 0.5 * ((av + ss * ey) + (cv + tt * fy));
  *found = 1;
  return 0;
}

int16_t N_teslpi(RECTANGLE cell, int16_t side, double au, double av, double bu, double bv, double d,
                 double *pos, double *xu, double *xv, int16_t *found) {
  const char *tag = "N_TESLPI";
  if (side < 1 || side > 4) return fail(kErrSelector, tag);
  if (!pos || !xu || !xv || !found) return fail(kErrInconsistent, tag);
  // The sides run counter-clockwise: lower, right, upper, left.
  const double px[4] = {cell.xmin, cell.xmax, cell.xmax, cell.xmin};
  const double py[4] = {cell.ymin, cell.ymin, cell.ymax, cell.ymax};
  const int k = side - 1, k1 = side % 4;
  double s, t;
  if (N_teslsi(px[k], py[k], px[k1], py[k1], au, av, bu, bv, d, &s, &t, xu, xv, found)) return 1;
  if (*found) *pos = std::min(1.0, std::max(0.0, s));
  return 0;
}

}  // extern "C"
