// Transformations of every control point of a curve or surface: a 4x4
// matrix, a rotation about an axis, scaling about a centre and translation.
// The Euclidean point is transformed and weighted again, so weights are
// kept. A curve is made 3-D first (a 2-D point gets z = 0).
#include "shape/shape_ops.hpp"

using namespace orvo::detail;

namespace {

// The point a transformation sees: for a curve, a 2-D point becomes the
// 3-D point with z = 0.
CPOINT lifted(CPOINT q, bool lift) {
  if (lift && !z_valid(q.z)) q.z = 0.0;
  return q;
}

// Applies T to every control point. Every point is tried before any is
// written, so a matrix that cannot be applied (error of A_tracpt) leaves
// the record unchanged.
template <class Rec>
int16_t apply_matrix(Rec *rec, const RMATRIX *T, bool lift) {
  CPOINT r;
  if (!visit_points(rec, [&](CPOINT &q) { return A_tracpt(lifted(q, lift), T, &r) == 0; }))
    return 1;
  visit_points(rec, [&](CPOINT &q) {
    A_tracpt(lifted(q, lift), T, &q);
    return true;
  });
  return 0;
}

// The rotation by angle degrees about the axis through P along D, built in
// a private workspace and applied to every control point.
template <class Rec>
int16_t rotate(Rec *rec, POINT P, VECTOR D, double angle, bool lift, const char *tag) {
  if (check_points(rec, tag)) return 1;
  LocalStacks ws;
  RMATRIX T;
  M_inirma(&T);
  if (G_tragnr(P, D, angle, &T, ws)) return 1;
  return apply_matrix(rec, &T, lift);
}

template <class Rec>
void scale_about(Rec *rec, POINT C, VECTOR S, bool lift, const char *tag) {
  if (check_points(rec, tag)) return;
  visit_points(rec, [&](CPOINT &q) {
    A_sclcpt(lifted(q, lift), C, S, &q);
    return true;
  });
}

template <class Rec>
void translate(Rec *rec, VECTOR T, bool lift, const char *tag) {
  if (check_points(rec, tag)) return;
  visit_points(rec, [&](CPOINT &q) {
    A_trlcpt(lifted(q, lift), T, &q);
    return true;
  });
}

}  // namespace

extern "C" {

void N_curtra(CURVE *cur, const RMATRIX *T) {
  if (check_points(cur, "N_CURTRA")) return;
  apply_matrix(cur, T, true);
}

void N_surtra(SURFACE *sur, const RMATRIX *T) {
  if (check_points(sur, "N_SURTRA")) return;
  apply_matrix(sur, T, false);
}

int16_t N_currot(CURVE *cur, POINT P, VECTOR D, double angle) {
  return rotate(cur, P, D, angle, true, "N_CURROT");
}

int16_t N_surrot(SURFACE *sur, POINT P, VECTOR D, double angle) {
  return rotate(sur, P, D, angle, false, "N_SURROT");
}

void N_cursca(CURVE *cur, POINT C, VECTOR S) { scale_about(cur, C, S, true, "N_CURSCA"); }

void N_sursca(SURFACE *sur, POINT C, VECTOR S) { scale_about(sur, C, S, false, "N_SURSCA"); }

void N_curtrl(CURVE *cur, VECTOR T) { translate(cur, T, true, "N_CURTRL"); }

void N_surtrl(SURFACE *sur, VECTOR T) { translate(sur, T, false, "N_SURTRL"); }

}  // extern "C"
