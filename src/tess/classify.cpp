// Classification of an axis-parallel cell of the metric parameter plane
// against the trimming polygons, and the walk that finds a leaf cell's far
// corner in the subdivision grid.
#include "tess/classify.hpp"

#include <algorithm>

using namespace orvo::detail;

namespace {

// Whether [a0, a1] and [b0, b1], each widened by d, overlap.
bool ranges_meet(double a0, double a1, double b0, double b1, double d) {
  return a0 - d <= b1 + d && b0 - d <= a1 + d;
}

// Whether (x, y) lies more than d inside every side of the cell.
bool deep_inside(const RECTANGLE &cell, double d, double x, double y) {
  return x > cell.xmin + d && x < cell.xmax - d && y > cell.ymin + d && y < cell.ymax - d;
}

// Whether the leg from (au, av) to (bu, bv) meets one of the cell's sides
// within d.
bool leg_meets_cell(const RECTANGLE &c, double au, double av, double bu, double bv, double d) {
  // A leg whose box stays more than d away from the cell meets no side.
  if (!ranges_meet(std::min(au, bu), std::max(au, bu), c.xmin, c.xmax, d) ||
      !ranges_meet(std::min(av, bv), std::max(av, bv), c.ymin, c.ymax, d))
    return false;
  const double x[5] = {c.xmin, c.xmax, c.xmax, c.xmin, c.xmin};
  const double y[5] = {c.ymin, c.ymin, c.ymax, c.ymax, c.ymin};
  for (int s = 0; s < 4; ++s)
    if (G_dolsin(au, av, bu, bv, x[s], y[s], x[s + 1], y[s + 1], d)) return true;
  return false;
}

// What the loops seen so far have said about the cell.
struct Marks {
  bool inside = false, crossed = false, contains = false;

  void note(int16_t r) {
    inside = inside || r == kCellInside;
    crossed = crossed || r == kCellCrossed;
    contains = contains || r == kCellContains;
  }
  int16_t answer() const {
    if (crossed) return contains ? kCellCrossedAndContains : kCellCrossed;
    if (contains) return kCellContains;
    return inside ? kCellInside : kCellApart;
  }
};

int16_t against(const TRIMLOOP &loop, const RECTANGLE &cell, double d) {
  return cell_against_loop(loop.u, loop.v, loop.n, loop.box, cell, d);
}

}  // namespace

namespace orvo::detail {

// In this order: boxes apart; every loop point deep inside the cell; a leg
// meeting a cell side; all four corners inside the loop.
int16_t cell_against_loop(const double *u, const double *v, int32_t n, const RECTANGLE &box,
                          const RECTANGLE &cell, double d) {
  if (!u || !v || n < 1) return kCellApart;
  if (!ranges_meet(box.xmin, box.xmax, cell.xmin, cell.xmax, d) ||
      !ranges_meet(box.ymin, box.ymax, cell.ymin, cell.ymax, d))
    return kCellApart;
  bool all_in = true;
  for (int32_t k = 0; k <= n && all_in; ++k) all_in = deep_inside(cell, d, u[k], v[k]);
  if (all_in) return kCellContains;
  for (int32_t k = 1; k <= n; ++k)
    if (leg_meets_cell(cell, u[k - 1], v[k - 1], u[k], v[k], d)) return kCellCrossed;
  const bool corners_in = point_in_loop(u, v, n, cell.xmin, cell.ymin) &&
                          point_in_loop(u, v, n, cell.xmax, cell.ymin) &&
                          point_in_loop(u, v, n, cell.xmax, cell.ymax) &&
                          point_in_loop(u, v, n, cell.xmin, cell.ymax);
  return corners_in ? kCellInside : kCellApart;
}

// Outside the outer loop, or inside a hole: apart at once. Otherwise the
// cell is inside the region unless a loop crosses it or lies in it.
int16_t cell_against_region(const TRIMLOOP *loops, int32_t nh, const RECTANGLE &cell, double d) {
  if (!loops) return kCellApart;
  const int16_t outer = against(loops[0], cell, d);
  if (outer == kCellApart) return kCellApart;
  Marks marks;
  marks.inside = true;
  marks.note(outer);
  for (int32_t h = 1; h <= nh + 1; ++h) {
    const int16_t r = against(loops[h], cell, d);
    if (r == kCellInside) return kCellApart;
    marks.note(r);
  }
  return marks.answer();
}

// Regions in turn, up to and including the first whose outer loop holds
// the cell; a hole holding the cell makes it apart at once.
int16_t cell_against_regions(const TRIMREGION *reg, int32_t nr, const RECTANGLE &cell, double d) {
  if (!reg) return kCellApart;
  Marks marks;
  for (int32_t r = 0; r <= nr; ++r) {
    if (!reg[r].loops) continue;
    const int16_t outer = against(reg[r].loops[0], cell, d);
    marks.note(outer);
    for (int32_t h = 1; h <= reg[r].nh + 1; ++h) {
      const int16_t res = against(reg[r].loops[h], cell, d);
      if (res == kCellInside) return kCellApart;
      marks.note(res);
    }
    if (outer == kCellInside) break;
  }
  return marks.answer();
}

}  // namespace orvo::detail

extern "C" {

int16_t N_tesbip(const double *u, const double *v, int32_t n, RECTANGLE box, RECTANGLE cell,
                 double d) {
  return cell_against_loop(u, v, n, box, cell, d);
}

int16_t N_tesbil(const TRIMLOOP *loops, int32_t nh, RECTANGLE cell, double d) {
  return cell_against_region(loops, nh, cell, d);
}

int16_t N_tesbit(const TRIMREGION *reg, int32_t nr, RECTANGLE cell, double d) {
  return cell_against_regions(reg, nr, cell, d);
}

// The lower-right corner is the first point along +u with an edge going up
// (a hanging corner on the cell's lower side has none into the cell); the
// upper-left corner is the first point along +v with an edge going right
// (a hanging corner on the left side has none).
void N_tesbox(int32_t *const *grid, int32_t ni, int32_t nj, const int16_t *fu, const int16_t *fv,
              int32_t i, int32_t j, int32_t *i2, int32_t *j2) {
  if (!i2 || !j2) return;
  *i2 = *j2 = -1;
  if (!grid || !fu || !fv || i < 0 || i > ni || j < 0 || j > nj) return;
  const int32_t p = grid[i][j];
  if (p < 0 || !fu[p] || !fv[p]) return;
  int32_t right = -1, up = -1;
  for (int32_t k = i + 1; k <= ni && right < 0; ++k)
    if (grid[k][j] >= 0 && fv[grid[k][j]]) right = k;
  for (int32_t k = j + 1; k <= nj && up < 0; ++k)
    if (grid[i][k] >= 0 && fu[grid[i][k]]) up = k;
  if (right < 0 || up < 0) return;
  *i2 = right;
  *j2 = up;
}

}  // extern "C"
