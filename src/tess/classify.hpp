// Classification of subdivision cells against trimming polygons, shared by
// the exported classification routines and the tessellator.
#pragma once

#include <cstdint>

#include "core/internal.hpp"
#include "geom/geom_ops.hpp"

namespace orvo::detail {

// Answers of the cell classification.
enum CellClass : int16_t {
  kCellApart = -1,    // outside the loop / region / every region
  kCellCrossed = 0,   // a loop leg crosses the cell
  kCellInside = 1,    // the cell lies inside the loop, region or a region
  kCellContains = 2,  // a loop lies inside the cell
  kCellCrossedAndContains = 3,
};

// Whether (x, y) lies inside the closed polygon (u[k], v[k]), k = 0..n (the
// first point repeated last): an odd number of legs crossed by the ray
// from the point towards +u (the parity rule of G_ispppl).
inline bool point_in_loop(const double *u, const double *v, int32_t n, double x, double y) {
  bool inside = false;
  double cx;
  for (int32_t k = 1; k <= n; ++k)
    if (leg_crossing(u[k - 1], v[k - 1], u[k], v[k], y, cx) && cx > x) inside = !inside;
  return inside;
}

// The cell against one loop (points 0..n, bounding box box), the region
// (loops[0] outer, loops[1..nh+1] holes) and all regions 0..nr, each with
// tolerance d; the answers of N_tesbip, N_tesbil and N_tesbit.
int16_t cell_against_loop(const double *u, const double *v, int32_t n, const RECTANGLE &box,
                          const RECTANGLE &cell, double d);
int16_t cell_against_region(const TRIMLOOP *loops, int32_t nh, const RECTANGLE &cell, double d);
int16_t cell_against_regions(const TRIMREGION *reg, int32_t nr, const RECTANGLE &cell, double d);

}  // namespace orvo::detail
