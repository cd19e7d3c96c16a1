// Bounding boxes, extents and extreme control points of curves and
// surfaces, all over the Euclidean images of the control points.
#include "geom/geom_ops.hpp"
#include "shape/shape_ops.hpp"

using namespace orvo::detail;

namespace {

// A control point with a zero weight, or whose Euclidean image leaves the
// doubles, has no place in a box: error 11 under tag, box untouched.
template <class Rec>
int16_t box_of(const Rec *rec, BOX *box, const char *tag) {
  if (check_points(rec, tag)) return 1;
  BoxBuilder b;
  const bool finite = visit_points(rec, [&](const CPOINT &q) {
    POINT e;
    if (!finite_euclid(q, e)) return false;
    b.add(e);
    return true;
  });
  if (!finite) return fail(kErrFloat, tag);
  *box = b.get();
  return 0;
}

// The Euclidean control point farthest from the origin and its distance;
// of several at the same distance the first one visited.
template <class Rec>
void farthest(const Rec *rec, POINT *P, double *d, const char *tag) {
  if (check_points(rec, tag)) return;
  POINT best{};
  double far = -1.0;
  visit_points(rec, [&](const CPOINT &q) {
    const POINT e = euclid(q);
    const double r = magnitude3(e);
    if (r > far) {
      far = r;
      best = e;
    }
    return true;
  });
  *P = best;
  *d = far;
}

// Smallest and largest weight (both the marker for a non-rational record)
// and smallest and largest distance of the Euclidean control points from
// the origin.
template <class Rec>
void weights_and_distances(const Rec *rec, double *wmin, double *wmax, double *dmin, double *dmax,
                           const char *tag) {
  if (check_points(rec, tag)) return;
  const bool rational = w_valid(first_point(rec).w);
  double w0 = DBL_MAX, w1 = -DBL_MAX, d0 = DBL_MAX, d1 = -DBL_MAX;
  visit_points(rec, [&](const CPOINT &q) {
    if (rational) {
      w0 = std::min(w0, q.w);
      w1 = std::max(w1, q.w);
    }
    const double r = magnitude3(euclid(q));
    d0 = std::min(d0, r);
    d1 = std::max(d1, r);
    return true;
  });
  *wmin = rational ? w0 : kWNR;
  *wmax = rational ? w1 : kWNR;
  *dmin = d0;
  *dmax = d1;
}

}  // namespace

extern "C" {

int16_t N_curbox(const CURVE *cur, BOX *box) { return box_of(cur, box, "N_CURBOX"); }

int16_t N_surbox(const SURFACE *sur, BOX *box) { return box_of(sur, box, "N_SURBOX"); }

int16_t N_curext(const CURVE *cur, double *d) {
  BOX box;
  if (box_of(cur, &box, "N_CUREXT")) return 1;
  const double diagonal = box_diagonal(box);  // beyond the doubles for a box near them
  if (!std::isfinite(diagonal)) return fail(kErrFloat, "N_CUREXT");
  *d = diagonal;
  return 0;
}

void N_curmpv(const CURVE *cur, POINT *P, double *d) { farthest(cur, P, d, "N_CURMPV"); }

void N_surmpv(const SURFACE *sur, POINT *P, double *d) { farthest(sur, P, d, "N_SURMPV"); }

void N_curmwp(const CURVE *cur, double *wmin, double *wmax, double *dmin, double *dmax) {
  weights_and_distances(cur, wmin, wmax, dmin, dmax, "N_CURMWP");
}

void N_surmwp(const SURFACE *sur, double *wmin, double *wmax, double *dmin, double *dmax) {
  weights_and_distances(sur, wmin, wmax, dmin, dmax, "N_SURMWP");
}

}  // extern "C"
