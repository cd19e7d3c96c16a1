// Projections of whole curves and surfaces onto a plane (parallel along a
// direction, or central from an eye point), and power-form curves and
// surfaces re-expressed over a new parameter interval. Each result is
// complete and checked before the output record is touched, so a failure
// leaves the input and the output as they were.
#include <algorithm>
#include <cmath>

#include "bezier/bezier_ops.hpp"
#include "geom/geom_ops.hpp"
#include "refine/refine_common.hpp"
#include "shape/shape_ops.hpp"

using namespace orvo::detail;

namespace {

// ---- Records ----------------------------------------------------------------
bool has_knots(const KNOTVECTOR *k) { return k && k->U && k->m >= 0; }

// Control points and knot vectors present (error 1 for a curve, 2 for a
// surface).
int16_t check_parts(const CURVE *c, const char *tag) {
  if (check_points(c, tag)) return 1;
  return has_knots(c->knt) ? 0 : fail(kErrCurveDef, tag);
}

int16_t check_parts(const SURFACE *s, const char *tag) {
  if (check_points(s, tag)) return 1;
  return has_knots(s->knu) && has_knots(s->knv) ? 0 : fail(kErrSurfaceDef, tag);
}

void copy_knots(const KNOTVECTOR *from, KNOTVECTOR *to) {
  std::copy(from->U, from->U + from->m + 1, to->U);
}

void copy_knots(const CURVE *from, CURVE *to) { copy_knots(from->knt, to->knt); }

void copy_knots(const SURFACE *from, SURFACE *to) {
  copy_knots(from->knu, to->knu);
  copy_knots(from->knv, to->knv);
}

// f(in point, result) for every control point, the result written to the
// same place in out (nothing written when out is null); false as soon as f
// refuses a point.
template <class F>
bool map_points(const CURVE *in, CURVE *out, F &&f) {
  for (int32_t i = 0; i <= in->pol->n; ++i) {
    CPOINT r;
    if (!f(in->pol->Pw[i], r)) return false;
    if (out) out->pol->Pw[i] = r;
  }
  return true;
}

template <class F>
bool map_points(const SURFACE *in, SURFACE *out, F &&f) {
  for (int32_t i = 0; i <= in->net->n; ++i)
    for (int32_t j = 0; j <= in->net->m; ++j) {
      CPOINT r;
      if (!f(in->net->Pw[i][j], r)) return false;
      if (out) out->net->Pw[i][j] = r;
    }
  return true;
}

// ---- Projections --------------------------------------------------------------
// The projection of control points onto the plane through Q with normal N:
// mode 1 along the direction V, mode 2 from the eye point V.
class Projection {
 public:
  int16_t set(const POINT &Q, const VECTOR &N, const VECTOR &V, int16_t mode, const char *tag) {
    if (mode != 1 && mode != 2) return fail(kErrSelector, tag);
    mode_ = mode;
    Q_ = Q;
    if (mode == 2) {
      // The plane is N.X = N.Q with N as given; a zero N defines none.
      if (!(magnitude3(N) > 0.0)) return fail(kErrZeroVector, tag);
      N_ = N;
      V_ = V;
      d0_ = dot3(sub3(Q, V), N);
      return 0;
    }
    if (!unit3(N, N_) || !unit3(V, V_)) return fail(kErrZeroVector, tag);
    vn_ = dot3(V_, N_);
    if (std::fabs(vn_) < ZERO_TOLERANCE) return fail(kErrInconsistent, tag);
    return 0;
  }

  // The image of q with q's weight kept; false when the parameter of the
  // intersection cannot be formed (a point in the plane through the eye
  // parallel to the projection plane) or a coordinate overflows.
  bool operator()(const CPOINT &q, CPOINT &r) const {
    const POINT P = euclid(q);
    double t;
    POINT X;
    if (mode_ == 1) {
      if (!guarded_quotient(dot3(sub3(Q_, P), N_), vn_, t)) return false;
      X = combine3<POINT>(1.0, P, t, V_);
    } else {
      const VECTOR VP = sub3(P, V_);
      if (!guarded_quotient(d0_, dot3(VP, N_), t)) return false;
      X = combine3<POINT>(1.0, V_, t, VP);
    }
    r = weighted(X, q.w);
    return finite_point(r);
  }

 private:
  int16_t mode_ = 1;
  POINT Q_{};
  VECTOR N_{}, V_{};
  double d0_ = 0.0, vn_ = 0.0;
};

// Every point is projected once before anything is written; then the
// record is changed in place, or the output sized and filled with the
// projected points and the knots.
template <class Rec>
int16_t project(Rec *rec, POINT Q, VECTOR N, VECTOR V, int16_t mode, Rec *out, STACKS *ws,
                const char *tag) {
  if (check_parts(rec, tag)) return 1;
  Projection f;
  if (f.set(Q, N, V, mode, tag)) return 1;
  if (!map_points(rec, static_cast<Rec *>(nullptr), f)) return fail(kErrFloat, tag);
  if (out == rec) {
    map_points(rec, rec, f);
    return 0;
  }
  Output<Rec> o(rec, out, nullptr, ws, tag);
  if (o.prepare(size_of(rec))) return 1;
  map_points(rec, o.rec(), f);
  copy_knots(rec, o.rec());
  o.commit();
  return 0;
}

// ---- Power form ---------------------------------------------------------------
// A power-form direction: two knots (the interval) and degree n for n+1
// coefficients.
bool power_axis(const KNOTVECTOR *k, int32_t n, int p) {
  return has_knots(k) && k->m == 1 && p == n;
}

// R turns power coefficients over the interval of knt into coefficients of
// the same polynomial over [a, b] (the parameters corresponding affinely).
// Error 14 when [a, b] is shorter than the zero tolerance, 11 when an entry
// overflows.
int16_t interval_matrix(const KNOTVECTOR *knt, int32_t n, double a, double b, RMATRIX *R,
                        const char *tag, STACKS *ws) {
  M_inirma(R);
  return reparam_matrix(n, knt->U[0], knt->U[1], a, b, true, R, tag, ws);
}

}  // namespace

extern "C" {

int16_t N_curprj(CURVE *cur, POINT Q, VECTOR N, VECTOR V, int16_t mode, CURVE *out, STACKS *ws) {
  return project(cur, Q, N, V, mode, out, ws, "N_CURPRJ");
}

int16_t N_surprj(SURFACE *sur, POINT Q, VECTOR N, VECTOR V, int16_t mode, SURFACE *out,
                 STACKS *ws) {
  return project(sur, Q, N, V, mode, out, ws, "N_SURPRJ");
}

int16_t N_cplrep(CURVE *cur, double a, double b, CURVE *out, STACKS *ws_in, STACKS *ws_out) {
  const char *tag = "N_CPLREP";
  if (check_points(cur, tag)) return 1;
  const int32_t n = cur->pol->n;
  if (!power_axis(cur->knt, n, cur->p)) return fail(kErrCurveDef, tag);
  // The new coefficients go to a private array first: nothing is written
  // unless every one is finite.
  LocalStacks tmp;
  RMATRIX R;
  CPOINT *W = nullptr;
  if (interval_matrix(cur->knt, n, a, b, &R, tag, tmp) || !(W = S_getc1d(n, tmp))) return 1;
  M_rmacpt(&R, cur->pol->Pw, W);
  if (!finite_points(W, n)) return fail(kErrFloat, tag);

  Output<CURVE> o(cur, out, ws_in, ws_out, tag);
  if (o.prepare(CurveSize{n, cur->p, 1})) return 1;
  CURVE *q = o.rec();
  std::copy(W, W + n + 1, q->pol->Pw);
  q->knt->U[0] = a;
  q->knt->U[1] = b;
  o.commit();
  return 0;
}

int16_t N_splrep(SURFACE *sur, double a, double b, double c, double d, SURFACE *out, STACKS *ws_in,
                 STACKS *ws_out) {
  const char *tag = "N_SPLREP";
  if (check_points(sur, tag)) return 1;
  const int32_t n = sur->net->n, m = sur->net->m;
  if (!power_axis(sur->knu, n, sur->p) || !power_axis(sur->knv, m, sur->q))
    return fail(kErrSurfaceDef, tag);
  LocalStacks tmp;
  RMATRIX Ru, Rv;
  CPOINT **W = nullptr;
  if (interval_matrix(sur->knu, n, a, b, &Ru, tag, tmp) ||
      interval_matrix(sur->knv, m, c, d, &Rv, tag, tmp) || !(W = S_getc2d(n, m, tmp)) ||
      M_rmcprm(&Ru, sur->net->Pw, &Rv, W))
    return 1;
  for (int32_t i = 0; i <= n; ++i)
    if (!finite_points(W[i], m)) return fail(kErrFloat, tag);

  Output<SURFACE> o(sur, out, ws_in, ws_out, tag);
  if (o.prepare(SurfaceSize{n, m, sur->p, sur->q, 1, 1})) return 1;
  SURFACE *q = o.rec();
  for (int32_t i = 0; i <= n; ++i) std::copy(W[i], W[i] + m + 1, q->net->Pw[i]);
  q->knu->U[0] = a;
  q->knu->U[1] = b;
  q->knv->U[0] = c;
  q->knv->U[1] = d;
  o.commit();
  return 0;
}

}  // extern "C"
