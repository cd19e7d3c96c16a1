// Surface fitting: averaged parameters of a grid, the solve of one grid
// line against a factored collocation matrix, global interpolation of a
// grid and least-squares approximation of a grid through its boundary
// corners.
//
// Both fits work direction by direction: the grid is reduced along u, one
// v line at a time, to a net of intermediate points, which is then reduced
// along v, one u row at a time, to the control net. Each direction builds
// and factors its banded matrix once; every line of that direction is
// solved with the stored factors, so a grid of (n+1) x (m+1) points costs
// O(n m (p + q)) once the two factorisations are made.
//
// Planar grids (any point with the 2-D marker) are fitted in x and y and
// give planar control points. Control points are always non-rational.
#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>

#include "fit/fit_common.hpp"
#include "refine/refine_common.hpp"

using namespace orvo::detail;

namespace {

// A grid line whose total (square-rooted, for centripetal parameters) leg
// length is at most this is degenerate, as at a pole, and has no say in
// the parameters.
constexpr double kDegenerateLine = 1e-7;

// ---- Parameters ---------------------------------------------------------------
// Parameters t[0..n] of one direction, averaged over the lines 0..lines of
// n + 1 points each; leg(line, k) is the distance of points k - 1 and k of
// a line, d scratch for n + 1 values. Degenerate lines are skipped; all of
// them degenerate: error 14. A non-finite leg sum: error 11.
template <class Leg>
int16_t averaged_parameters(int32_t lines, int32_t n, int ptype, double *t, double *d, Leg leg,
                            const char *tag) {
  t[0] = 0.0;
  t[n] = 1.0;
  if (ptype == kUniform) {
    for (int32_t k = 1; k < n; ++k) t[k] = static_cast<double>(k) / n;
    return 0;
  }
  std::fill(t + 1, t + n, 0.0);
  int32_t counted = 0;
  for (int32_t l = 0; l <= lines; ++l) {
    double S = 0.0;
    for (int32_t k = 1; k <= n; ++k) S += d[k] = leg_measure(leg(l, k), ptype);
    if (!std::isfinite(S)) return fail(kErrFloat, tag);
    if (S <= kDegenerateLine) continue;
    ++counted;
    double run = 0.0;
    for (int32_t k = 1; k < n; ++k) t[k] += (run += d[k]) / S;
  }
  if (counted == 0) return fail(kErrInconsistent, tag);
  for (int32_t k = 1; k < n; ++k) t[k] = std::min(1.0, t[k] / counted);
  return 0;
}

// Distance of two data points; z counts only when both carry one.
double point_leg(const POINT &a, const POINT &b) {
  const double dz = (z_valid(a.z) && z_valid(b.z)) ? a.z - b.z : 0.0;
  return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + dz * dz);
}

double cpoint_leg(const CPOINT &a, const CPOINT &b) {
  double d = 0.0;
  G_discpo(a, b, &d);
  return d;
}

template <class P, class Dist>
int16_t grid_directions(const P *const *G, int32_t n, int32_t m, int ptype, double *uk, double *vl,
                        double *d, Dist dist, const char *tag) {
  if (averaged_parameters(
          m, n, ptype, uk, d, [&](int32_t l, int32_t k) { return dist(G[k - 1][l], G[k][l]); },
          tag))
    return 1;
  return averaged_parameters(
      n, m, ptype, vl, d, [&](int32_t i, int32_t k) { return dist(G[i][k - 1], G[i][k]); }, tag);
}

// uk[0..n] and vl[0..m] of a grid of POINT (kind 1) or CPOINT (kind 2) rows.
int16_t grid_parameters(const void *Q, int32_t n, int32_t m, int kind, int ptype, double *uk,
                        double *vl, const char *tag) {
  if (ptype < 1 || ptype > 3 || (kind != 1 && kind != 2)) return fail(kErrSelector, tag);
  LocalStacks tmp;
  double *d = nullptr;
  if (ptype != kUniform && !(d = S_getr1d(std::max(n, m), tmp))) return 1;
  if (kind == 1)
    return grid_directions(static_cast<const POINT *const *>(Q), n, m, ptype, uk, vl, d, point_leg,
                           tag);
  return grid_directions(static_cast<const CPOINT *const *>(Q), n, m, ptype, uk, vl, d, cpoint_leg,
                         tag);
}

// ---- Argument checks ----------------------------------------------------------
// Rows first..last of a row table present.
template <class P>
int16_t check_rows(const P *const *rows, int32_t first, int32_t last, const char *tag) {
  return std::all_of(rows + first, rows + last + 1, [](const P *r) { return r != nullptr; })
             ? 0
             : fail(kErrIndex, tag);
}

// The same for a grid of POINT (kind 1) or CPOINT (kind 2) rows.
int16_t check_grid_rows(const void *Q, int kind, int32_t first, int32_t last, const char *tag) {
  return kind == 1 ? check_rows(static_cast<const POINT *const *>(Q), first, last, tag)
                   : check_rows(static_cast<const CPOINT *const *>(Q), first, last, tag);
}

// Degrees 1..MAXDEGREE; counts small enough that the knot counts cannot
// overflow.
int16_t check_degrees(int p, int q, int32_t n, int32_t m, const char *tag) {
  if (p < 1 || q < 1 || p > MAXDEGREE || q > MAXDEGREE) return fail(kErrDegree, tag);
  return (n <= INT32_MAX / 2 && m <= INT32_MAX / 2) ? 0 : fail(kErrInconsistent, tag);
}

// Rows present and every coordinate finite; flat when any point carries the
// 2-D marker.
int16_t scan_grid(const POINT *const *Q, int32_t n, int32_t m, bool &flat, const char *tag) {
  if (check_rows(Q, 0, n, tag)) return 1;
  flat = false;
  for (int32_t i = 0; i <= n; ++i)
    for (int32_t j = 0; j <= m; ++j) {
      const POINT &q = Q[i][j];
      if (!std::isfinite(q.x) || !std::isfinite(q.y) || !std::isfinite(q.z))
        return fail(kErrFloat, tag);
      flat = flat || !z_valid(q.z);
    }
  return 0;
}

// Parameters of a fit: averaged over the grid lines and strictly rising in
// both directions. Equal parameters (two grid lines that coincide wherever
// they are not degenerate) would ask the surface to take two values at
// one parameter: error 11.
int16_t fit_parameters(const POINT *const *Q, int32_t n, int32_t m, int ptype, double *uk,
                       double *vl, const char *tag) {
  if (grid_parameters(Q, n, m, 1, ptype, uk, vl, tag)) return 1;
  const auto rising = [](const double *t, int32_t last) {
    return std::adjacent_find(t, t + last + 1, std::greater_equal<double>()) == t + last + 1;
  };
  return rising(uk, n) && rising(vl, m) ? 0 : fail(kErrFloat, tag);
}

// ---- Grid lines ---------------------------------------------------------------
// Grid point k of line `index`: dir 1 runs along u (Q[k][index]), dir 2
// along v (Q[index][k]).
template <class P>
const P &line_point(const P *const *G, int dir, int32_t index, int32_t k) {
  return dir == 1 ? G[k][index] : G[index][k];
}

// Copies points 0..last of a grid line into out as control points and
// solves them in place with the factors LU.
int16_t solve_line(const void *Q, int dir, int32_t index, int kind, const RMATRIX &LU, int32_t last,
                   CPOINT *out) {
  if (kind == 1) {
    const auto *G = static_cast<const POINT *const *>(Q);
    for (int32_t k = 0; k <= last; ++k) {
      const POINT &q = line_point(G, dir, index, k);
      out[k] = CPOINT{q.x, q.y, q.z, kWNR};
    }
  } else {
    const auto *G = static_cast<const CPOINT *const *>(Q);
    for (int32_t k = 0; k <= last; ++k) out[k] = line_point(G, dir, index, k);
  }
  return M_forbac(&LU, out, 2, out, nullptr);
}

// The net P[0..n][0..m]: planar when the data were, and finite.
int16_t finish_net(CPOINT *const *P, int32_t n, int32_t m, bool flat, const char *tag) {
  for (int32_t i = 0; i <= n; ++i) {
    if (flat)
      for (int32_t j = 0; j <= m; ++j) P[i][j].z = kZ2D;
    if (!finite_points(P[i], m)) return fail(kErrFloat, tag);
  }
  return 0;
}

}  // namespace

extern "C" {

int16_t N_fitspa(const void *Q, int32_t n, int32_t m, int16_t kind, int16_t ptype, double *uk,
                 double *vl) {
  static const char kTag[] = "N_FITSPA";
  if (!Q || !uk || !vl) return fail(kErrIndex, kTag);
  if (ptype < 1 || ptype > 3 || (kind != 1 && kind != 2)) return fail(kErrSelector, kTag);
  if (n < 1 || m < 1) return fail(kErrInconsistent, kTag);
  if (check_grid_rows(Q, kind, 0, n, kTag)) return 1;
  return grid_parameters(Q, n, m, kind, ptype, uk, vl, kTag);
}

int16_t N_fitcfs(const void *Q, int32_t n, int32_t m, int16_t dir, int32_t index, int16_t kind,
                 const RMATRIX *LU, CPOINT *out) {
  static const char kTag[] = "N_FITCFS";
  if (check_direction(dir, kTag)) return 1;
  if (kind != 1 && kind != 2) return fail(kErrSelector, kTag);
  if (!Q || !LU || !out || n < 0 || m < 0) return fail(kErrIndex, kTag);
  // The line runs over the first index for dir 1, the second for dir 2.
  const int32_t last = dir == 1 ? n : m, across = dir == 1 ? m : n;
  if (index < 0 || index > across || LU->n != last || LU->m != last) return fail(kErrIndex, kTag);
  // A u line reads every row, a v line the row `index`.
  if (dir == 1 ? check_grid_rows(Q, kind, 0, n, kTag)
               : check_grid_rows(Q, kind, index, index, kTag))
    return 1;
  return solve_line(Q, dir, index, kind, *LU, last, out);
}

int16_t N_fitgsi(POINT *const *Q, int32_t n, int32_t m, int16_t p, int16_t q, int16_t ptype,
                 SURFACE *surf, STACKS *ws) {
  static const char kTag[] = "N_FITGSI";
  if (!Q) return fail(kErrIndex, kTag);
  if (check_degrees(p, q, n, m, kTag)) return 1;
  if (n < p || m < q) return fail(kErrInconsistent, kTag);
  bool flat = false;
  if (scan_grid(Q, n, m, flat, kTag)) return 1;
  Output<SURFACE> out(nullptr, surf, nullptr, ws, kTag);
  if (out.prepare(SurfaceSize{n, m, p, q, n + p + 1, m + q + 1})) return 1;
  LocalStacks tmp;
  double *uk = S_getr1d(n, tmp), *vl = S_getr1d(m, tmp);
  CPOINT *line = S_getc1d(n, tmp);
  if (!uk || !vl || !line || fit_parameters(Q, n, m, ptype, uk, vl, kTag)) return 1;
  const KNOTVECTOR &U = *surf->knu, &V = *surf->knv;
  interpolation_knots(uk, n, p, U.U);
  interpolation_knots(vl, m, q, V.U);

  // Along u: every v line of the data gives a column of intermediate
  // points, kept in the output net.
  CPOINT *const *P = surf->net->Pw;
  if (p == 1) {
    for (int32_t i = 0; i <= n; ++i)
      for (int32_t l = 0; l <= m; ++l) P[i][l] = control_point(Q[i][l], false);
  } else {
    RMATRIX A;
    if (interpolation_factors(A, U, p, uk, n, kTag, tmp)) return 1;
    for (int32_t l = 0; l <= m; ++l) {
      if (solve_line(Q, 1, l, 1, A, n, line)) return 1;
      for (int32_t i = 0; i <= n; ++i) P[i][l] = line[i];
    }
  }
  // Along v: every row of intermediate points is solved in place into the
  // control points P[i].
  if (q > 1) {
    RMATRIX B;
    if (interpolation_factors(B, V, q, vl, m, kTag, tmp)) return 1;
    for (int32_t i = 0; i <= n; ++i)
      if (solve_line(P, 2, i, 2, B, m, P[i])) return 1;
  }
  if (finish_net(P, n, m, flat, kTag)) return 1;
  out.commit();
  return 0;
}

int16_t N_fitgsa(POINT *const *Q, int32_t r, int32_t s, int32_t n, int32_t m, int16_t p, int16_t q,
                 int16_t ptype, SURFACE *surf, STACKS *ws) {
  static const char kTag[] = "N_FITGSA";
  if (!Q) return fail(kErrIndex, kTag);
  if (check_degrees(p, q, r, s, kTag)) return 1;
  // A direction with more than two control points needs a degree below
  // their number less one; with two the degree is 1.
  if (n < 1 || n > r || p > n || (n > 1 && p == n) || m < 1 || m > s || q > m || (m > 1 && q == m))
    return fail(kErrInconsistent, kTag);
  bool flat = false;
  if (scan_grid(Q, r, s, flat, kTag)) return 1;
  Output<SURFACE> out(nullptr, surf, nullptr, ws, kTag);
  if (out.prepare(SurfaceSize{n, m, p, q, n + p + 1, m + q + 1})) return 1;
  LocalStacks tmp;
  double *uk = S_getr1d(r, tmp), *vl = S_getr1d(s, tmp);
  CPOINT **R = S_getc2d(n, s, tmp);
  CPOINT *line = S_getc1d(n, tmp);
  POINT *rhs = S_getp1d(std::max(n, m), tmp);
  if (!uk || !vl || !R || !line || !rhs || fit_parameters(Q, r, s, ptype, uk, vl, kTag)) return 1;
  double *U = surf->knu->U, *V = surf->knv->U;
  approximation_knots(uk, r, n, p, U);
  approximation_knots(vl, s, m, q, V);

  // Along u: the data of every v line give a column R[0..n][l].
  EndFixedLeastSquares along_u, along_v;
  if (along_u.setup(U, p, uk, r, n, kTag, tmp)) return 1;
  for (int32_t l = 0; l <= s; ++l) {
    if (along_u.solve([&](int32_t k) { return work_point(Q[k][l], flat); }, rhs, line)) return 1;
    for (int32_t i = 0; i <= n; ++i) R[i][l] = line[i];
  }
  // Along v: every row R[i][0..s] gives the control points P[i][0..m].
  if (along_v.setup(V, q, vl, s, m, kTag, tmp)) return 1;
  CPOINT *const *P = surf->net->Pw;
  for (int32_t i = 0; i <= n; ++i) {
    const CPOINT *row = R[i];
    const auto data = [row](int32_t k) { return POINT{row[k].x, row[k].y, row[k].z}; };
    if (along_v.solve(data, rhs, P[i])) return 1;
  }
  if (finish_net(P, n, m, flat, kTag)) return 1;
  out.commit();
  return 0;
}

}  // extern "C"
