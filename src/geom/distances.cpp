// Distances between points, from points to lines, planes and segments,
// polyline lengths, bounding boxes and extents.
#include <algorithm>
#include <cmath>

#include "arith/point_ops.hpp"
#include "geom/geom_ops.hpp"

using namespace orvo::detail;

namespace orvo::detail {

int16_t segment_distance(const POINT &X, const POINT &A, const POINT &B, bool foot_only, double &d,
                         const char *tag) {
  const VECTOR ab = sub3(B, A);
  const double len = magnitude3(ab);
  if (len < POINT_TOLERANCE) {
    d = distance3(X, combine3<POINT>(0.5, A, 0.5, B));
    return 0;
  }
  const VECTOR ax = sub3(X, A);
  if (dot3(ab, ax) < 0.0) {  // foot before A
    d = foot_only ? -1.0 : magnitude3(ax);
    return 0;
  }
  const VECTOR bx = sub3(X, B);
  if (dot3(sub3(A, B), bx) < 0.0) {  // foot beyond B
    d = foot_only ? -1.0 : magnitude3(bx);
    return 0;
  }
  double q;
  if (!guarded_quotient(magnitude3(cross3(ab, ax)), len, q)) return fail(kErrFloat, tag);
  d = q;
  return 0;
}

}  // namespace orvo::detail

namespace {

// Length of a vector of k components, scaled so that neither huge nor tiny
// components overflow or vanish in the squares.
double norm_n(const double *v, int k) {
  double big = 0.0;
  for (int i = 0; i < k; ++i) big = std::max(big, std::fabs(v[i]));
  if (big == 0.0 || !std::isfinite(big)) return big;
  double s = 0.0;
  for (int i = 0; i < k; ++i) s += (v[i] / big) * (v[i] / big);
  return big * std::sqrt(s);
}

// Sum of the distances between consecutive elements 0..n.
template <class P, class Dist>
double polyline_length(const P *pts, int32_t n, Dist dist) {
  double sum = 0.0;
  if (!pts) return sum;
  for (int32_t i = 1; i <= n; ++i) sum += dist(pts[i - 1], pts[i]);
  return sum;
}

}  // namespace

extern "C" {

void G_dispop(POINT a, POINT b, double *d) { *d = distance3(a, b); }

// Distance of the Euclidean images of two control points.
void G_discpp(CPOINT a, CPOINT b, double *d) { *d = distance3(euclid(a), euclid(b)); }

// Distance of the stored (weighted) forms: z and w enter only when both
// points carry a real value.
void G_discpo(CPOINT a, CPOINT b, double *d) {
  double v[4] = {a.x - b.x, a.y - b.y, 0.0, 0.0};
  int k = 2;
  if (z_valid(a.z) && z_valid(b.z)) v[k++] = a.z - b.z;
  if (w_valid(a.w) && w_valid(b.w)) v[k++] = a.w - b.w;
  *d = norm_n(v, k);
}

void G_discpl(const CPOINT *P, int32_t n, double *length) {
  *length = polyline_length(
      P, n, [](const CPOINT &a, const CPOINT &b) { return distance3(euclid(a), euclid(b)); });
}

void G_dispol(const POINT *P, int32_t n, double *length) {
  *length = polyline_length(P, n, [](const POINT &a, const POINT &b) { return distance3(a, b); });
}

// Signed value of the plane a*x + b*y + c*z + d at X; the distance when
// (a, b, c) is a unit vector.
void G_dispnp(double a, double b, double c, double d, POINT X, double *value) {
  *value = a * X.x + b * X.y + c * X.z + d;
}

// Distance from X to the unbounded line, through the foot of X on it.
int16_t G_displn(LINE line, POINT X, double *d) {
  line.kind = 0;
  POINT F;
  double t;
  int16_t found;
  if (project_on_line(line, X, &F, &t, &found, "G_DISPLN")) return 1;
  if (!found) return fail(kErrFloat, "G_DISPLN");
  *d = distance3(X, F);
  return 0;
}

// Distance from X to the plane, through the foot of X on it.
int16_t G_disppl(PLANE pln, POINT X, double *d) {
  POINT F;
  if (foot_on_plane(pln, X, &F, "G_DISPPL")) return 1;
  *d = distance3(X, F);
  return 0;
}

int16_t G_dispab(POINT X, POINT A, POINT B, double *d) {
  double r;
  if (segment_distance(X, A, B, false, r, "G_DISPAB")) return 1;
  *d = r;
  return 0;
}

int16_t G_disqab(POINT X, POINT A, POINT B, double *d) {
  double r;
  if (segment_distance(X, A, B, true, r, "G_DISQAB")) return 1;
  *d = r;
  return 0;
}

void G_boxdia(BOX box, double *d) { *d = box_diagonal(box); }

void G_po1ext(const POINT *pts, int32_t n, double *extent) {
  BoxBuilder b;
  b.add(pts, n);
  *extent = box_diagonal(b.get());
}

void G_po2ext(POINT *const *rows, int32_t n, int32_t m, double *extent) {
  BoxBuilder b;
  b.add(rows, n, m);
  *extent = box_diagonal(b.get());
}

void G_polbox(PPOLYGON ppl, BOX *box) {
  BoxBuilder b;
  b.add(ppl.pts, ppl.n);
  *box = b.get();
}

void G_netbox(PNET net, BOX *box) {
  BoxBuilder b;
  b.add(net.rows, net.n, net.m);
  *box = b.get();
}

// Box of two points grown by tol on all six sides.
void G_linbox(POINT a, POINT b, double tol, BOX *box) {
  *box = BOX{std::min(a.x, b.x) - tol, std::max(a.x, b.x) + tol, std::min(a.y, b.y) - tol,
             std::max(a.y, b.y) + tol, std::min(a.z, b.z) - tol, std::max(a.z, b.z) + tol};
}

void G_boxcen(BOX box, POINT *C) {
  *C = POINT{0.5 * box.xmin + 0.5 * box.xmax, 0.5 * box.ymin + 0.5 * box.ymax,
             0.5 * box.zmin + 0.5 * box.zmax};
}

// Overlap of two rectangles: the common area when both overlaps reach tol,
// 0 when they only touch (within tol), -1 when they are apart.
void G_bx2ovl(RECTANGLE r1, RECTANGLE r2, double tol, double *overlap) {
  const double ox = std::min(r1.xmax, r2.xmax) - std::max(r1.xmin, r2.xmin);
  const double oy = std::min(r1.ymax, r2.ymax) - std::max(r1.ymin, r2.ymin);
  if (ox >= -tol && oy >= -tol)
    *overlap = (ox >= tol && oy >= tol) ? ox * oy : 0.0;
  else
    *overlap = -1.0;
}

}  // extern "C"
