// Internal state of the trimmed-surface tessellator, shared by its stages.
//
// Everything works in the metric parameter plane: the surface's domain
// mapped onto [0, Lu] x [0, Lv], so that lengths there approximate lengths
// on the surface. Working arrays are std::vectors; the exported stages copy
// their results into the caller's workspace, and catch running out of
// memory (error 15) at their boundary.
//
// Topological decisions (which side of a cell a trimming leg crosses, on
// which side of a leg a point lies) use exact orientation signs and a
// symbolic shift of every trimming-polygon vertex by (eps, eps^2): a vertex
// never lies on a cell line and a cell corner never lies on a trimming leg,
// so neighbouring cells always agree on where a loop enters and leaves.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <unordered_map>
#include <vector>

#include "core/internal.hpp"
#include "refine/refine_common.hpp"

namespace orvo::detail::tess {

// ---- Exact orientation --------------------------------------------------------
// A value whose sign is the exact sign of (b - a) x (c - a).
double orient2d(double ax, double ay, double bx, double by, double cx, double cy);

// The sign (+1 or -1, never 0) of the orientation of the grid point c with
// respect to the leg a -> b of a trimming polygon shifted by (eps, eps^2).
// a != b.
int leg_side(double ax, double ay, double bx, double by, double cx, double cy);

// ---- Points -----------------------------------------------------------------
// The points of the metric plane, each stored once: a point with the same
// coordinates as an existing one gets the existing index.
struct PointSet {
  std::vector<double> u, v;
  std::vector<int16_t> fu, fv;  // a cell edge leaves the point towards +u / +v
  // Classification of the leaf cell whose lower-left corner the point is,
  // against all regions (-2: not known).
  std::vector<int16_t> cls;

  int32_t size() const { return static_cast<int32_t>(u.size()); }
  int32_t add(double x, double y);
  // A new point without a hash entry (a second copy of a location).
  int32_t append_copy(double x, double y);
  void rehash();

 private:
  struct Key {
    uint64_t a, b;
    bool operator==(const Key &o) const { return a == o.a && b == o.b; }
  };
  struct KeyHash {
    size_t operator()(const Key &k) const {
      return static_cast<size_t>(k.a * 0x9E3779B97F4A7C15ull ^ (k.b + 0x7F4A7C159E3779B9ull));
    }
  };
  static Key key(double x, double y) {
    // -0.0 and 0.0 are one location.
    x += 0.0;
    y += 0.0;
    Key k;
    std::memcpy(&k.a, &x, sizeof x);
    std::memcpy(&k.b, &y, sizeof y);
    return k;
  }
  std::unordered_map<Key, int32_t, KeyHash> index_;
};

// ---- Trimming polygons ----------------------------------------------------------
struct Loop {
  std::vector<double> u, v;  // points 0..n, the first repeated last
  RECTANGLE box{};
  int32_t n() const { return static_cast<int32_t>(u.size()) - 1; }
};

struct Region {
  std::vector<Loop> loops;  // [0] outer loop (counter-clockwise), holes clockwise
};

// Caller records: every region has loops with at least four points (highest
// index 3), non-null finite coordinates; error 14 (null parts) or 19 under tag.
int16_t check_regions(const TRIMREGION *reg, int32_t nr, const char *tag);
// Copies of caller records as working loops.
void loops_from_records(const TRIMREGION *reg, int32_t nr, std::vector<Region> &out);
void compute_box(Loop &loop);

// Record views of working loops, for the classification routines.
struct RegionViews {
  explicit RegionViews(const std::vector<Region> &regions);
  std::vector<std::vector<TRIMLOOP>> loops;
  std::vector<TRIMREGION> recs;
};

// ---- Subdivision grid -----------------------------------------------------------
// The distinct corner coordinates and, per grid line, the points on it in
// order: a sparse form of the grid table, so that its size follows the
// number of points and not the product of the coordinate counts.
struct Grid {
  std::vector<double> gu, gv;              // sorted distinct coordinates
  std::vector<int32_t> pi, pj;             // grid indices of each point
  std::vector<int16_t> flag;               // per point: 0, or -2 for a seam copy
  std::vector<std::vector<int32_t>> rows;  // rows[j]: points on v' = gv[j], u' rising
  std::vector<std::vector<int32_t>> cols;  // cols[i]: points on u' = gu[i], v' rising
  int32_t ni() const { return static_cast<int32_t>(gu.size()) - 1; }
  int32_t nj() const { return static_cast<int32_t>(gv.size()) - 1; }
};

// Builds the grid from the points' distinct coordinates (flags 0).
void build_grid(const PointSet &pts, Grid &grid);

// A leaf cell: its lower-left corner (grid indices i, j) and upper-right
// corner (i2, j2); border points counter-clockwise from the lower-left.
struct CellRef {
  int32_t i, j, i2, j2;
};

// The far corner of the cell whose lower-left corner is point p, by the
// edge flags; false when p is no lower-left corner.
bool leaf_cell(const PointSet &pts, const Grid &grid, int32_t p, CellRef &cell);
void cell_border(const Grid &grid, const CellRef &cell, std::vector<int32_t> &border);

// Dense grid table of the exported record, and back.
int16_t grid_to_record(const PointSet &pts, const Grid &grid, TESSGRID *g, const char *tag,
                       STACKS *ws);
int16_t grid_from_record(const TESSGRID *g, PointSet &pts, Grid &grid, const char *tag);

// The mapping between the metric plane and the surface's parameters.
struct Metric {
  double u0 = 0, u1 = 1, v0 = 0, v1 = 1;  // surface domain
  double Lu = 1, Lv = 1;                  // metric extents
  // Metric -> parameter, the ends exact.
  double to_u(double x) const { return to_param(x, Lu, u0, u1); }
  double to_v(double y) const { return to_param(y, Lv, v0, v1); }
  static double to_param(double x, double L, double lo, double hi);
};

// Sets the metric of a surface: its domain and size estimate; error 11
// under tag when a scale factor cannot be formed, 2 for a bad surface.
int16_t surface_metric(const SURFACE *sur, Metric &m, double *A, const char *tag);

// ---- Stages -----------------------------------------------------------------------
// Largest distance of the inner control points of the cubic through the
// surface points over the curve at t0, (2t0+t1)/3, (t0+2t1)/3, t1 from the
// chord of the first and last.
int16_t chord_deviation(const SURFACE *sur, const CURVE *cur, double t0, double t1, double &dev,
                        const char *tag);

// The parameter-plane polyline of one trimming curve whose pieces pass the
// chord test with the working tolerance.
int16_t polyline(const SURFACE *sur, const CURVE *cur, const Metric &metric, double tol,
                 std::vector<double> &pu, std::vector<double> &pv, const char *tag);

int16_t subdivide(const SURFACE *sur, const Metric &metric, double ftol,
                  const std::vector<Region> &regions, double d, PointSet &pts, Grid &grid,
                  const char *tag);

// Mesh triangles (counter-clockwise in the metric plane) of every leaf
// cell clipped by the regions.
int16_t triangulate(PointSet &pts, const Grid &grid, const std::vector<Region> &regions, double d,
                    std::vector<int32_t> &tris, const char *tag);

// Polygons of one cell, given by its border points counter-clockwise,
// clipped by one region: polygon k is idx[start[k] .. start[k+1]-1], with
// the area to mesh on its left. New points are added to pts.
int16_t cell_polygons(PointSet &pts, const std::vector<int32_t> &border, const Region &region,
                      std::vector<int32_t> &idx, std::vector<int32_t> &start, const char *tag);

// Neighbour rings from counter-clockwise triangles. A point whose triangles
// form more than one fan gets a copy per further fan (appended to pts).
int16_t build_rings(PointSet &pts, const std::vector<int32_t> &tris,
                    std::vector<std::vector<int32_t>> &rings, const char *tag);

// Copies rings into the caller's nb / c arrays in ws.
int16_t rings_to_records(const std::vector<std::vector<int32_t>> &rings, int32_t ***nb, int32_t **c,
                         const char *tag, STACKS *ws);

// Runs an exported stage's body: working memory that cannot be had is
// error 15 under tag.
template <class F>
int16_t run_stage(const char *tag, F &&body) {
  try {
    return body();
  } catch (const std::bad_alloc &) {
    return fail(kErrMemory, tag);
  }
}

// Writes results into the caller's workspace: body allocates them there;
// when it fails, every block it allocated is released again.
template <class F>
int16_t into_workspace(STACKS *ws, F &&body) {
  WorkspaceMark mark(ws);
  if (body() == 0) return 0;
  mark.rollback();
  return 1;
}

// Copies of two coordinate vectors in ws.
int16_t copy_coords(const std::vector<double> &u, const std::vector<double> &v, double **ou,
                    double **ov, STACKS *ws);

// A vector's contents as a fresh array of the workspace (n + 1 entries for
// highest index n = size - 1; an empty vector gets one entry).
inline double *get_array(int32_t n, STACKS *ws, double *) { return S_getr1d(n, ws); }
inline int16_t *get_array(int32_t n, STACKS *ws, int16_t *) { return S_getf1d(n, ws); }
template <class T>
T *copy_out(const std::vector<T> &a, STACKS *ws) {
  T *r =
      get_array(a.empty() ? 0 : static_cast<int32_t>(a.size()) - 1, ws, static_cast<T *>(nullptr));
  if (r) std::copy(a.begin(), a.end(), r);
  return r;
}

}  // namespace orvo::detail::tess
