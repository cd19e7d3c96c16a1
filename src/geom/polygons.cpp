// Side tests, closedness, point-in-polygon tests on single points and
// grids, grid points near a polygon's outline and the nearest leg of a
// point polygon or point net.
#include <algorithm>
#include <cmath>

#include "geom/geom_ops.hpp"

using namespace orvo::detail;

namespace {

// ---- Point in polygon -------------------------------------------------------
bool leg_crossing(const POINT &p, const POINT &q, double y, double &x) {
  return orvo::detail::leg_crossing(p.x, p.y, q.x, q.y, y, x);
}

// The crossings of the legs pts[i-1]pts[i], i = 1..n, with height y, stored
// in xs (room for n values); returns their number.
int32_t crossings(const PPOLYGON &ppl, double y, double *xs) {
  int32_t count = 0;
  double x;
  for (int32_t i = 1; i <= ppl.n; ++i)
    if (leg_crossing(ppl.pts[i - 1], ppl.pts[i], y, x)) xs[count++] = x;
  return count;
}

int32_t inside_by_parity(const double *xs, int32_t count, double x) {
  int32_t beyond = 0;
  for (int32_t k = 0; k < count; ++k)
    if (xs[k] > x) ++beyond;
  return beyond % 2;
}

bool usable(const PPOLYGON &ppl) { return ppl.pts && ppl.n >= 1; }

template <class T>
void fill_grid(T *const *rows, int32_t n, int32_t m, T value) {
  for (int32_t i = 0; i <= n; ++i) std::fill(rows[i], rows[i] + m + 1, value);
}

// ---- Regular grids ----------------------------------------------------------
// The coordinate that one grid index follows: axis 0 (x) or 1 (y), read
// from the first step of the grid; axis -1 when the index does not move.
struct GridAxis {
  int axis;
  double origin, step;
};

GridAxis axis_of(const POINT &origin, const POINT &next) {
  const double sx = next.x - origin.x, sy = next.y - origin.y;
  if (sx == 0.0 && sy == 0.0) return GridAxis{-1, 0.0, 0.0};
  if (std::fabs(sx) >= std::fabs(sy)) return GridAxis{0, origin.x, sx};
  return GridAxis{1, origin.y, sy};
}

// Range k0..k1 of indices (within 0..kmax) whose grid coordinates can fall
// into the box, one index of margin on each side against rounding; an empty
// range has k0 > k1. False when a division is refused.
bool index_range(const GridAxis &g, const BOX &box, int32_t kmax, int32_t &k0, int32_t &k1) {
  if (g.axis < 0) {
    k0 = 0;
    k1 = kmax;
    return true;
  }
  const double lo = g.axis == 0 ? box.xmin : box.ymin;
  const double hi = g.axis == 0 ? box.xmax : box.ymax;
  double q0, q1;
  if (!guarded_quotient(lo - g.origin, g.step, q0) || !guarded_quotient(hi - g.origin, g.step, q1))
    return false;
  if (q0 > q1) std::swap(q0, q1);
  // Clamped as doubles, so that the conversion to an index cannot overflow.
  const double f0 = std::max(std::floor(q0) - 1.0, 0.0);
  const double f1 = std::min(std::ceil(q1) + 1.0, static_cast<double>(kmax));
  if (!(f0 <= f1)) {
    k0 = 1;
    k1 = 0;
    return true;
  }
  k0 = static_cast<int32_t>(f0);
  k1 = static_cast<int32_t>(f1);
  return true;
}

// ---- Nearest leg ------------------------------------------------------------
struct NearestLeg {
  bool found = false;
  double dist = DBL_MAX;
  double t = 0.0;
  POINT F{};
  int32_t i = 0, j = 0;
};

// Offers the leg from a to b (indices i, j) to best: X is projected onto the
// segment, and a foot on the segment strictly nearer than the best so far
// replaces it. A leg of zero length has no direction to project along and is
// passed over: its point is an end of the neighbouring legs.
int16_t offer_leg(const POINT &a, const POINT &b, const POINT &X, int32_t i, int32_t j,
                  NearestLeg &best, const char *tag) {
  const VECTOR D = sub3(b, a);
  if (D.x == 0.0 && D.y == 0.0 && D.z == 0.0) return 0;
  POINT foot;
  double t;
  int16_t found = 0;
  if (project_on_line(LINE{a, D, 1}, X, &foot, &t, &found, tag)) return 1;
  if (!found) return 0;
  const POINT F = combine3<POINT>(1.0 - t, a, t, b);
  const double d = distance3(X, F);
  if (d < best.dist) best = NearestLeg{true, d, t, F, i, j};
  return 0;
}

}  // namespace

extern "C" {

int16_t G_arevps(VECTOR a, VECTOR b) { return dot3(a, b) >= 0.0 ? 1 : 0; }

// 1 when X lies left of the line seen from +z (or on it), else 2.
int16_t G_lipost(LINE line, POINT X) { return cross2(line.D, sub3(X, line.P)) >= 0.0 ? 1 : 2; }

// 2 when X lies on the side the normal points to (or on the plane), else 1.
int16_t G_plpost(PLANE pln, POINT X) { return dot3(pln.N, sub3(X, pln.P)) >= 0.0 ? 2 : 1; }

// Closed when the two ends lie within POINT_TOLERANCE of each other.
int16_t G_ispplc(PPOLYGON ppl) {
  if (!ppl.pts || ppl.n < 0) return 0;
  return distance3(ppl.pts[0], ppl.pts[ppl.n]) <= POINT_TOLERANCE ? 1 : 0;
}

// Closed in direction 1 when the first and last rows coincide point by
// point, in direction 2 when the first and last columns do. Any other
// direction is error 13 and reads as not closed.
int16_t G_isntlc(PNET net, int16_t dir) {
  if (dir != 1 && dir != 2) {
    E_seterr(kErrSelector, "G_ISNTLC");
    return 0;
  }
  if (!net.rows || net.n < 0 || net.m < 0) return 0;
  if (dir == 1) {
    for (int32_t j = 0; j <= net.m; ++j)
      if (distance3(net.rows[0][j], net.rows[net.n][j]) > POINT_TOLERANCE) return 0;
  } else {
    for (int32_t i = 0; i <= net.n; ++i)
      if (distance3(net.rows[i][0], net.rows[i][net.m]) > POINT_TOLERANCE) return 0;
  }
  return 1;
}

// 1 when (x, y) lies inside the polygon in the x-y plane: an odd number of
// legs pts[i-1]pts[i] (i = 1..n) crossed by the ray towards +x.
int16_t G_ispppl(PPOLYGON ppl, double x, double y) {
  if (!usable(ppl)) return 0;
  int32_t beyond = 0;
  double cx;
  for (int32_t i = 1; i <= ppl.n; ++i)
    if (leg_crossing(ppl.pts[i - 1], ppl.pts[i], y, cx) && cx > x) ++beyond;
  return static_cast<int16_t>(beyond % 2);
}

// inside[i][j] = G_ispppl of grid point (i, j). A grid lying off the
// polygon's box is all outside; otherwise the crossings of the ray are
// formed once for every run of grid points at the same height.
int16_t G_ispgpl(PPOLYGON ppl, POINT *const *grid, int32_t n, int32_t m, int32_t *const *inside) {
  if (!grid || !inside || n < 0 || m < 0) return 0;
  fill_grid<int32_t>(inside, n, m, 0);
  if (!usable(ppl)) return 0;
  BoxBuilder pb, gb;
  pb.add(ppl.pts, ppl.n);
  gb.add(grid, n, m);
  const BOX p = pb.get(), g = gb.get();
  if (g.xmax < p.xmin || g.xmin > p.xmax || g.ymax < p.ymin || g.ymin > p.ymax) return 0;

  LocalStacks local;
  double *xs = S_getr1d(ppl.n - 1, local);
  if (!xs) return 1;
  bool cached = false;
  double height = 0.0;
  int32_t count = 0;
  for (int32_t i = 0; i <= n; ++i)
    for (int32_t j = 0; j <= m; ++j) {
      const POINT &q = grid[i][j];
      if (!cached || q.y != height) {
        count = crossings(ppl, q.y, xs);
        height = q.y;
        cached = true;
      }
      inside[i][j] = inside_by_parity(xs, count, q.x);
    }
  return 0;
}

// dist[i][j] = the smallest distance from grid point (i, j) to a leg
// pts[k-1]pts[k] when that is at most tol, else -1. The grid is taken as
// regular: only the grid points within each leg's box grown by tol are
// measured.
int16_t G_ispgpg(PPOLYGON ppl, POINT *const *grid, int32_t n, int32_t m, double tol,
                 double *const *dist) {
  const char *tag = "G_ISPGPG";
  if (!grid || !dist || n < 0 || m < 0) return 0;
  fill_grid<double>(dist, n, m, -1.0);
  if (!usable(ppl)) return 0;
  const POINT &origin = grid[0][0];
  const GridAxis ai = axis_of(origin, n >= 1 ? grid[1][0] : origin);
  const GridAxis aj = axis_of(origin, m >= 1 ? grid[0][1] : origin);
  for (int32_t k = 1; k <= ppl.n; ++k) {
    const POINT &A = ppl.pts[k - 1], &B = ppl.pts[k];
    BOX box;
    G_linbox(A, B, tol, &box);
    int32_t i0, i1, j0, j1;
    if (!index_range(ai, box, n, i0, i1) || !index_range(aj, box, m, j0, j1))
      return fail(kErrFloat, tag);
    for (int32_t i = i0; i <= i1; ++i)
      for (int32_t j = j0; j <= j1; ++j) {
        double d;
        if (segment_distance(grid[i][j], A, B, false, d, tag)) return 1;
        double &cell = dist[i][j];
        if (d <= tol && (cell < 0.0 || d < cell)) cell = d;
      }
  }
  return 0;
}

// The leg pts[j]pts[j+1] holding the nearest perpendicular foot of X; the
// first of equally near legs wins. found 0 (nothing else written) when no
// foot falls on any leg.
int16_t G_polleg(PPOLYGON ppl, POINT X, POINT *F, int32_t *j, double *t, int16_t *found) {
  const char *tag = "G_POLLEG";
  NearestLeg best;
  if (ppl.pts)
    for (int32_t k = 0; k < ppl.n; ++k)
      if (offer_leg(ppl.pts[k], ppl.pts[k + 1], X, k, 0, best, tag)) return 1;
  *found = best.found ? 1 : 0;
  if (best.found) {
    *F = best.F;
    *j = best.i;
    *t = best.t;
  }
  return 0;
}

// The nearest leg of a net: direction 1 legs run from (i, j) to (i+1, j),
// direction 2 legs from (i, j) to (i, j+1). Within a direction the first
// visited of equally near legs wins; between the two directions a tie goes
// to direction 2.
int16_t G_netleg(PNET net, POINT X, POINT *F, int32_t *i, int32_t *j, int16_t *dir, double *t,
                 int16_t *found) {
  const char *tag = "G_NETLEG";
  NearestLeg best1, best2;
  if (net.rows) {
    for (int32_t c = 0; c <= net.m; ++c)
      for (int32_t r = 0; r < net.n; ++r)
        if (offer_leg(net.rows[r][c], net.rows[r + 1][c], X, r, c, best1, tag)) return 1;
    for (int32_t r = 0; r <= net.n; ++r)
      for (int32_t c = 0; c < net.m; ++c)
        if (offer_leg(net.rows[r][c], net.rows[r][c + 1], X, r, c, best2, tag)) return 1;
  }
  if (!best1.found && !best2.found) {
    *found = 0;
    return 0;
  }
  const bool first = best1.found && (!best2.found || best1.dist < best2.dist);
  const NearestLeg &best = first ? best1 : best2;
  *F = best.F;
  *i = best.i;
  *j = best.j;
  *dir = first ? 1 : 2;
  *t = best.t;
  *found = 1;
  return 0;
}

}  // extern "C"
