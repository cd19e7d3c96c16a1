// Helpers shared by the IGES entity conversions of curves and surfaces:
// checks of the untrusted entity data (finite values, weights, knots and
// their range), the 2-D marker of records whose z values are all zero, and
// the knot normalisation that reduces end and interior multiplicities.
//
// The knot work is written for one knot vector and one line of control
// points (refine/refine_common.hpp's Line), so that a surface applies it to
// every line of its net in one direction. Cutting a record to a parameter
// range is the segment of refine_common.hpp (segment_curve,
// segment_surface).
#pragma once

#include <cmath>
#include <cstdint>

#include "refine/refine_common.hpp"
#include "shape/shape_ops.hpp"

namespace orvo::detail {

// ---- Entity values ----------------------------------------------------------
// v[0..n] are all finite (n < 0: nothing to check).
inline bool finite_values(const double *v, int32_t n) {
  for (int32_t i = 0; i <= n; ++i)
    if (!std::isfinite(v[i])) return false;
  return true;
}

inline bool finite_point(const POINT &P) {
  return std::isfinite(P.x) && std::isfinite(P.y) && std::isfinite(P.z);
}

// A weight inside [MINWEIGHT, MAXWEIGHT]; NaN is refused by the comparison.
inline bool weight_in_range(double w) { return w >= MINWEIGHT && w <= MAXWEIGHT; }

// ---- Knots and range --------------------------------------------------------
// Knots T[0..m] of degree p with a range [a, b] inside the valid parameter
// range: every knot finite, non-decreasing, at least one span of degree p
// (m >= 2p + 1, which keeps T[m - p] an index above p), and
// T[p] <= a < b <= T[m - p]. The comparisons are written so that NaN fails.
inline bool knots_fit_range(const double *T, int32_t m, int p, double a, double b) {
  if (!T || p < 0 || static_cast<int64_t>(m) < 2 * static_cast<int64_t>(p) + 1) return false;
  if (!std::isfinite(T[0])) return false;
  for (int32_t i = 1; i <= m; ++i)
    if (!std::isfinite(T[i]) || !(T[i - 1] <= T[i])) return false;
  return T[p] <= a && a < b && b <= T[m - p];
}

// The knots already start with a and end with b, each p+1 times: nothing to
// cut.
inline bool clamped_to(const double *U, int32_t m, int p, double a, double b) {
  for (int i = 0; i <= p; ++i)
    if (U[i] != a || U[m - i] != b) return false;
  return true;
}

// ---- Markers ----------------------------------------------------------------
// A record all of whose z values are zero becomes 2-D: every control point
// gets the z marker (a homogeneous z is zero exactly when the Euclidean one
// is).
template <class Rec>
inline void mark_planar(Rec *rec) {
  if (!visit_points(rec, [](const CPOINT &q) { return q.z == 0.0; })) return;
  visit_points(rec, [](CPOINT &q) {
    q.z = kZ2D;
    return true;
  });
}

// ---- Knot normalisation -----------------------------------------------------
// Reduces a knot vector's end runs to multiplicity p+1 and the runs strictly
// inside its valid range (U[p], U[m-p]) to p. Surplus end knots go with the
// control points next to that end (their basis functions vanish on the
// valid range). An interior run of multiplicity s > p at U[i..i+s-1] leaves
// the curve with a left limit at point i-1 and a right limit at point
// i+s-1-p; these two are replaced by their mean and the s-p-1 points
// between them, whose basis functions vanish everywhere, are dropped with
// the s-p surplus knots. Runs outside the valid range (an unclamped end)
// are kept.
//
// The plan is made once from the knots; every line of control points and
// the knot vector are then compacted in place (every point moves down, so a
// forward pass never overwrites a point it still has to read).
struct KnotNormalisation {
  int32_t n = -1;                 // highest point index after the reduction
  int32_t m = -1;                 // highest knot index after the reduction
  int p = 0;                      // degree
  bool changed = false;           // false: the knots need no reduction
  double lo = 0.0, hi = 0.0;      // the valid range
  const int32_t *from = nullptr;  // point j after = point from[j] before ...
  const int32_t *mean = nullptr;  // ... averaged with point mean[j] when >= 0
};

// Plans the reduction of non-decreasing knots U[0..m] of degree p into ws.
// Knots without a valid range (p < 1, m < 2p + 1 or U[p] == U[m-p]) need no
// reduction. False when the plan's arrays cannot be had (error 15 from the
// allocator).
bool plan_normalisation(const double *U, int32_t m, int p, STACKS *ws, KnotNormalisation &plan);

// Compacts one line of control points as planned.
void normalise_line(const KnotNormalisation &plan, const Line &P);

// Compacts the knots U[0..m] (the vector the plan was made from).
void normalise_knots(const KnotNormalisation &plan, double *U, int32_t m);

// Normalises the knots knt of degree p and every line L of the points along
// them in place; n receives the new highest point index along the lines.
// Refuses degree 0 (3) and knots with an empty valid range (4).
int16_t normalise_direction(KNOTVECTOR *knt, int p, const Lines &L, int32_t &n, const char *tag);

}  // namespace orvo::detail
