// Point inversion on curves and surfaces by Newton iteration, and the
// inversion of a tangent vector into a parameter-plane direction.
#include <cmath>

#include "arith/vector_ops.hpp"
#include "geom/geom_ops.hpp"
#include "eval/kernels.hpp"
#include "refine/refine_common.hpp"

using namespace orvo::detail;

namespace {

// The tolerances of an inversion: finite and not negative.
bool usable_tolerance(double eps) { return std::isfinite(eps) && eps >= 0.0; }

// A parameter that a Newton step carried to t brought back into [lo, hi]:
// wrapped by the period on a closed curve or direction, clamped otherwise.
// fmod keeps the wrap to one step however far the step went; a range of
// no length has nothing to wrap by.
double into_range(double t, double lo, double hi, bool closed) {
  if (!closed || !(hi > lo)) return std::fmin(std::fmax(t, lo), hi);
  const double period = hi - lo;
  if (t >= lo && t <= hi) return t;
  double w = std::fmod(t - lo, period);
  if (w < 0.0) w += period;
  return lo + w;
}

// A derivative returned as a POINT, read as the vector it is.
VECTOR as_vector(const POINT &d) { return VECTOR{d.x, d.y, d.z}; }

// |a.r| / (|a| |r|), false when the quotient cannot be formed.
bool cosine(const VECTOR &a, const VECTOR &r, double &c) {
  return guarded_quotient(std::fabs(dot3(a, r)), magnitude3(a) * magnitude3(r), c);
}

}  // namespace

extern "C" {

int16_t N_gprpin(const CURVE *C, POINT P, double ustart, double eps1, double eps2, double *u,
                 POINT *Q) {
  const char *tag = "N_GPRPIN";
  // Sizes only: the knots are read by the evaluator, whose span search stays
  // inside the array on any knots, so an inversion costs no pass over them.
  if (check_curve(C, tag)) return 1;
  if (!u || !Q || !usable_tolerance(eps1) || !usable_tolerance(eps2))
    return fail(kErrInconsistent, tag);
  if (!std::isfinite(ustart) || !std::isfinite(P.x) || !std::isfinite(P.y) || !std::isfinite(P.z))
    return fail(kErrParameter, tag);
  const double lo = C->knt->U[0], hi = C->knt->U[C->knt->m];
  const bool closed = U_iscurc(C) != 0;
  double t = into_range(ustart, lo, hi, closed);
  for (int it = 0; it < MAXIT; ++it) {
    POINT CK[3];
    if (N_curder(C, t, 1, 2, CK)) return 1;
    const VECTOR r = sub3(CK[0], P), d1 = as_vector(CK[1]), d2 = as_vector(CK[2]);
    bool done = magnitude3(r) <= eps1;
    if (!done) {
      double c, step;
      if (!cosine(d1, r, c)) return fail(kErrNoConvergence, tag);
      done = c <= eps2;
      if (!done) {
        if (!guarded_quotient(dot3(d1, r), dot3(d2, r) + dot3(d1, d1), step) ||
            !std::isfinite(t - step))
          return fail(kErrNoConvergence, tag);
        const double next = into_range(t - step, lo, hi, closed);
        done = std::fabs((next - t) * magnitude3(d1)) <= eps1;
        if (done && N_curevn(C, next, 1, &CK[0])) return 1;
        t = next;
      }
    }
    if (done) {
      *u = t;
      *Q = CK[0];
      return 0;
    }
  }
  return fail(kErrNoConvergence, tag);
}

int16_t N_gprsin(const SURFACE *S, POINT P, double ustart, double vstart, double eps1, double eps2,
                 double *u, double *v, POINT *Q) {
  const char *tag = "N_GPRSIN";
  if (check_refine_surface(S, tag)) return 1;
  if (!u || !v || !Q || !usable_tolerance(eps1) || !usable_tolerance(eps2))
    return fail(kErrInconsistent, tag);
  if (!std::isfinite(ustart) || !std::isfinite(vstart) || !std::isfinite(P.x) ||
      !std::isfinite(P.y) || !std::isfinite(P.z))
    return fail(kErrParameter, tag);
  const double ulo = S->knu->U[0], uhi = S->knu->U[S->knu->m];
  const double vlo = S->knv->U[0], vhi = S->knv->U[S->knv->m];
  const bool uclosed = U_issurc(S, 1) != 0, vclosed = U_issurc(S, 2) != 0;
  LocalStacks local;
  POINT **D = S_getp2d(2, 2, local);
  if (!D) return 1;
  double s = into_range(ustart, ulo, uhi, uclosed), t = into_range(vstart, vlo, vhi, vclosed);
  for (int it = 0; it < MAXIT; ++it) {
    if (N_surder(S, s, t, 1, 1, 1, 2, 2, D)) return 1;
    const VECTOR r = sub3(D[0][0], P), Su = as_vector(D[1][0]), Sv = as_vector(D[0][1]);
    bool done = magnitude3(r) <= eps1;
    if (!done) {
      double cu, cv;
      if (!cosine(Su, r, cu) || !cosine(Sv, r, cv)) return fail(kErrNoConvergence, tag);
      done = cu <= eps2 && cv <= eps2;
    }
    if (!done) {
      // Newton step on the gradient of |S - P|^2 / 2, by Cramer's rule.
      const double j11 = dot3(Su, Su) + dot3(r, D[2][0]);
      const double j12 = dot3(Su, Sv) + dot3(r, D[1][1]);
      const double j22 = dot3(Sv, Sv) + dot3(r, D[0][2]);
      const double k1 = -dot3(r, Su), k2 = -dot3(r, Sv);
      double du, dv;
      const double det = j11 * j22 - j12 * j12;
      if (!guarded_quotient(k1 * j22 - k2 * j12, det, du) ||
          !guarded_quotient(j11 * k2 - j12 * k1, det, dv) || !std::isfinite(s + du) ||
          !std::isfinite(t + dv))
        return fail(kErrNoConvergence, tag);
      const double s1 = into_range(s + du, ulo, uhi, uclosed);
      const double t1 = into_range(t + dv, vlo, vhi, vclosed);
      done = magnitude3(combine3(s1 - s, Su, t1 - t, Sv)) <= eps1;
      if (done && N_surevn(S, s1, t1, 1, 1, &D[0][0])) return 1;
      s = s1;
      t = t1;
    }
    if (done) {
      *u = s;
      *v = t;
      *Q = D[0][0];
      return 0;
    }
  }
  return fail(kErrNoConvergence, tag);
}

int16_t N_gprsti(const SURFACE *S, double u, double v, VECTOR T, VECTOR *out) {
  const char *tag = "N_GPRSTI";
  if (check_refine_surface(S, tag)) return 1;
  if (!out) return fail(kErrInconsistent, tag);
  LocalStacks local;
  POINT **D = S_getp2d(1, 1, local);
  if (!D || N_surder(S, u, v, 1, 1, 1, 1, 1, D)) return 1;
  const VECTOR Su = as_vector(D[1][0]), Sv = as_vector(D[0][1]);
  const double a = dot3(Su, Su), b = dot3(Su, Sv), c = dot3(Sv, Sv);
  const double det = a * c - b * b, t1 = dot3(T, Su), t2 = dot3(T, Sv);
  // Nearly parallel tangents leave only rounding noise in the determinant
  // (it is |Su|^2 |Sv|^2 sin^2 of their angle): refused like parallel ones.
  double du, dv;
  if (!(det > ZERO_TOLERANCE * a * c) || !guarded_quotient(c * t1 - b * t2, det, du) ||
      !guarded_quotient(a * t2 - b * t1, det, dv))
    return fail(kErrFloat, tag);
  *out = VECTOR{du, dv, 0.0};
  return 0;
}

}  // extern "C"
