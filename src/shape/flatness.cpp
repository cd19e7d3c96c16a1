// Flatness test of a surface patch on its Euclidean control net: is the
// patch within tol of the plane of its corners, with straight boundaries,
// and if not, which parameter range should be halved. The tessellator asks
// this of every cell, so the test allocates nothing: the plane distances
// are formed twice (once per row, once per column) instead of being kept in
// a table.
//
// The split direction always follows the same idea: the direction along
// which the net varies more is halved (dir 2 halves u, dir 1 halves v; a
// tie halves v). Rows of the net (i fixed) run along v, columns along u.
#include <algorithm>
#include <cmath>

#include "geom/geom_ops.hpp"
#include "shape/shape_ops.hpp"

using namespace orvo::detail;

namespace {

constexpr int16_t kHalveV = 1, kHalveU = 2;

struct Net {
  const SURFACE *sur;
  int32_t n, m;
  POINT operator()(int32_t i, int32_t j) const { return euclid(sur->net->Pw[i][j]); }
};

// The four Euclidean corners.
struct Corners {
  POINT p00, pn0, p0m, pnm;
  explicit Corners(const Net &X) : p00(X(0, 0)), pn0(X(X.n, 0)), p0m(X(0, X.m)), pnm(X(X.n, X.m)) {}
};

// A patch with poles on two opposite boundaries: not flat unless it is one
// point, and halved along the corner edges that are not collapsed. When the
// pole test admits edges in both directions (its points may lie up to twice
// POINT_TOLERANCE apart), the direction of the longer edges is halved.
void pole_rule(const SURFACE *sur, const Corners &c, int16_t *flat, int16_t *dir) {
  const double d1 = distance3(c.pn0, c.p00), d2 = distance3(c.pnm, c.p0m);  // along u
  const double d3 = distance3(c.p0m, c.p00), d4 = distance3(c.pnm, c.pn0);  // along v
  const bool short_u = d1 < POINT_TOLERANCE && d2 < POINT_TOLERANCE;
  const bool short_v = d3 < POINT_TOLERANCE && d4 < POINT_TOLERANCE;
  *flat = 0;
  if (short_u && short_v) {
    if (U_issurp(sur))
      *flat = 1;
    else
      *dir = kHalveV;
  } else if (short_u) {
    *dir = kHalveV;
  } else if (short_v) {
    *dir = kHalveU;
  } else {
    *dir = d1 + d2 > d3 + d4 ? kHalveU : kHalveV;
  }
}

// The mean of the four corner normals, each turned to the side of a
// reference normal (the first of N2, N3, N4 longer than N1, else N1);
// not normalised.
VECTOR averaged(const VECTOR (&N)[4]) {
  const double L1 = magnitude3(N[0]);
  int r = 0;
  for (int k = 1; k < 4 && r == 0; ++k)
    if (magnitude3(N[k]) > L1) r = k;
  VECTOR s{0.0, 0.0, 0.0};
  for (const VECTOR &v : N) s = combine3(1.0, s, dot3(v, N[r]) < 0.0 ? -1.0 : 1.0, v);
  return scale3(0.25, s);
}

// Normals of the corner quadrilateral: at each corner the cross product of
// the two corner edges (along u first) that meet there.
void corner_normals(const Corners &c, VECTOR (&N)[4]) {
  const VECTOR eu0 = sub3(c.pn0, c.p00), ev0 = sub3(c.p0m, c.p00);
  const VECTOR ev1 = sub3(c.pnm, c.pn0), eu1 = sub3(c.pnm, c.p0m);
  N[0] = cross3(eu0, ev0);
  N[1] = cross3(eu0, ev1);
  N[2] = cross3(eu1, ev0);
  N[3] = cross3(eu1, ev1);
}

// Surface normals near the corners, at parameters moved inward by a
// hundredth of each range (right limits in both directions). A normal that
// cannot be evaluated is left zero and so adds nothing to the mean.
void surface_normals(const SURFACE *sur, VECTOR (&N)[4]) {
  for (VECTOR &v : N) v = VECTOR{0.0, 0.0, 0.0};
  const KNOTVECTOR *ku = sur->knu, *kv = sur->knv;
  if (!ku || !ku->U || ku->m < 0 || !kv || !kv->U || kv->m < 0) return;
  double u0, u1, v0, v1;
  U_surpar(sur, &u0, &u1, &v0, &v1);
  const double du = 0.01 * (u1 - u0), dv = 0.01 * (v1 - v0);
  u0 += du;
  u1 -= du;
  v0 += dv;
  v1 -= dv;
  const double us[4] = {u0, u1, u0, u1}, vs[4] = {v0, v0, v1, v1};
  for (int k = 0; k < 4; ++k) {
    POINT P;
    VECTOR Su, Sv;
    N_surnor(sur, us[k], vs[k], 1, 1, &P, &Su, &Sv, &N[k]);
  }
}

// Unit normal of the reference plane: from the corner quadrilateral, or,
// when its normals cancel, from the surface itself. Error 17 "G_VECNIP"
// when neither gives a direction.
int16_t reference_normal(const SURFACE *sur, const Corners &c, VECTOR &unit) {
  VECTOR N[4];
  corner_normals(c, N);
  if (unit3(averaged(N), unit)) return 0;
  surface_normals(sur, N);
  VECTOR a = averaged(N);
  if (G_vecnip(&a)) return 1;
  unit = a;
  return 0;
}

// Largest distance, into dev, of the interior points of a boundary
// (point(k), k = 1..last-1) from the segment AB; status 1 (error 11
// "G_DISPAB") when a distance overflows.
template <class Get>
int16_t boundary_deviation(int32_t last, const POINT &A, const POINT &B, double &dev, Get &&point) {
  for (int32_t k = 1; k < last; ++k) {
    double d;
    if (G_dispab(point(k), A, B, &d)) return 1;
    dev = std::max(dev, d);
  }
  return 0;
}

// The mean over lines of the range (largest - smallest) of the plane
// distances along each line: lines k = 0..lines-1 of length+1 points,
// dist(k, t) the distance of point t of line k.
template <class Dist>
double mean_spread(int32_t lines, int32_t length, Dist &&dist) {
  double sum = 0.0;
  for (int32_t k = 0; k < lines; ++k) {
    double lo = dist(k, 0), hi = lo;
    for (int32_t t = 1; t <= length; ++t) {
      const double d = dist(k, t);
      lo = std::min(lo, d);
      hi = std::max(hi, d);
    }
    sum += hi - lo;
  }
  return sum / lines;
}

}  // namespace

extern "C" {

int16_t U_issurf(const SURFACE *sur, double tol, int16_t *flat, int16_t *dir) {
  const char *tag = "U_ISSURF";
  if (!flat || !dir) return fail(kErrInconsistent, tag);
  if (check_points(sur, tag)) {
    *flat = 1;
    return 1;
  }
  const Net X{sur, sur->net->n, sur->net->m};

  // Closed patches are halved across the seam. A net collapsed to one
  // point is closed both ways by this test, but there is nothing to halve:
  // it goes on to the pole rule, which calls it flat.
  const bool closed_u = U_issurc(sur, 1) != 0;
  const bool closed_v = !closed_u && U_issurc(sur, 2) != 0;
  if ((closed_u || closed_v) && !U_issurp(sur)) {
    *flat = 0;
    *dir = closed_u ? kHalveU : kHalveV;
    return 0;
  }

  *flat = 1;
  const Corners c(X);
  if ((U_dssupl(sur, 1) && U_dssupl(sur, 2)) || (U_dssupl(sur, 3) && U_dssupl(sur, 4))) {
    pole_rule(sur, c, flat, dir);
    return 0;
  }

  VECTOR N;
  if (reference_normal(sur, c, N)) return 1;
  const POINT C = add3<POINT>(combine3<POINT>(0.25, c.p00, 0.25, c.pn0),
                              combine3<POINT>(0.25, c.p0m, 0.25, c.pnm));
  const double d = dot3(N, C);
  auto D = [&](int32_t i, int32_t j) { return std::fabs(dot3(N, X(i, j)) - d); };

  // Row by row: whether every distance is within tol, and the spread
  // along v.
  bool planar = true;
  const double spread_v = mean_spread(X.n + 1, X.m, [&](int32_t i, int32_t j) {
    const double v = D(i, j);
    planar = planar && v <= tol;
    return v;
  });

  if (planar) {
    // The boundaries must be straight too.
    double dev_u = 0.0, dev_v = 0.0;
    if (boundary_deviation(X.n, c.p00, c.pn0, dev_u, [&](int32_t i) { return X(i, 0); }) ||
        boundary_deviation(X.n, c.p0m, c.pnm, dev_u, [&](int32_t i) { return X(i, X.m); }) ||
        boundary_deviation(X.m, c.p00, c.p0m, dev_v, [&](int32_t j) { return X(0, j); }) ||
        boundary_deviation(X.m, c.pn0, c.pnm, dev_v, [&](int32_t j) { return X(X.n, j); }))
      return 1;
    if (!(dev_u > tol) && !(dev_v > tol)) return 0;
    *flat = 0;
    *dir = dev_u > dev_v ? kHalveU : kHalveV;
    return 0;
  }

  const double spread_u = mean_spread(X.m + 1, X.n, [&](int32_t j, int32_t i) { return D(i, j); });
  *flat = 0;
  *dir = spread_u > spread_v ? kHalveU : kHalveV;
  return 0;
}

}  // extern "C"
