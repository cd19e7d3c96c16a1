// IGES curve entities turned into NURBS curves: circular arc (100),
// composite curve (102), conic arc (104), copious data (106), line (110),
// parametric spline (112), rational B-spline (126) and the transformation
// matrix (124); with the knot and range check, the cut of a curve to a
// parameter range and the knot normalisation that the B-spline entities
// share.
//
// The entity data come straight from a file and are not trusted: counts,
// degrees and indices are checked against each other before any array is
// read beyond its first element, and every number must be finite. A result
// whose z values are all zero is made 2-D; a non-rational result carries
// the weight marker.
#include <algorithm>
#include <climits>
#include <cmath>

#include "arith/vector_ops.hpp"
#include "geom/geom_ops.hpp"
#include "iges/iges_common.hpp"

using namespace orvo::detail;

namespace orvo::detail {

// ---- Knot normalisation -------------------------------------------------------
namespace {

// Length of the run of knots equal to U[i], counted upwards from i to at
// most `last`.
int32_t run_length(const double *U, int32_t i, int32_t last) {
  int32_t j = i;
  while (j < last && U[j + 1] == U[i]) ++j;
  return j - i + 1;
}

// Visits the interior runs of U[first..last] of multiplicity above p with
// their first index and multiplicity.
template <class F>
void for_each_surplus_run(const double *U, int32_t first, int32_t last, int p, F &&f) {
  for (int32_t i = first; i <= last;) {
    const int32_t s = run_length(U, i, last);
    if (s > p) f(i, s);
    i += s;
  }
}

}  // namespace

bool plan_normalisation(const double *U, int32_t m, int p, STACKS *ws, KnotNormalisation &plan) {
  plan = KnotNormalisation{};
  plan.p = p;
  plan.n = m - p - 1;
  plan.m = m;
  // Nothing to reduce without a valid range; with one, U[0] < U[m], so the
  // front and back runs are disjoint.
  if (p < 1 || m < 2 * p + 1 || !(U[p] < U[m - p])) return true;
  const int32_t n = m - p - 1, front = run_length(U, 0, m);
  int32_t back = 1;
  while (U[m - back] == U[m]) ++back;
  const int32_t drop_front = std::max(0, front - (p + 1)), drop_back = std::max(0, back - (p + 1));
  // The runs strictly inside the valid range U[first..last]; runs outside it
  // (an unclamped end) are left as they are.
  int32_t first = p + 1, last = m - p - 1;
  while (U[first] == U[p]) ++first;
  while (U[last] == U[m - p]) --last;
  int32_t removed = drop_front + drop_back;
  for_each_surplus_run(U, first, last, p, [&](int32_t, int32_t s) { removed += s - p; });
  if (removed == 0) return true;
  plan.n = n - removed;
  plan.m = m - removed;
  plan.changed = true;

  int32_t *from = S_geti1d(plan.n, ws);
  int32_t *mean = from ? S_geti1d(plan.n, ws) : nullptr;
  if (!mean) return false;
  int32_t j = 0, k = drop_front;  // next point after, next source point
  for_each_surplus_run(U, first, last, p, [&](int32_t i, int32_t s) {
    for (; k < i - 1; ++k, ++j) {
      from[j] = k;
      mean[j] = -1;
    }
    from[j] = i - 1;
    mean[j] = i + s - 1 - p;
    ++j;
    k = i + s - p;
  });
  for (; k <= n - drop_back; ++k, ++j) {
    from[j] = k;
    mean[j] = -1;
  }
  plan.from = from;
  plan.mean = mean;
  plan.lo = U[p];
  plan.hi = U[m - p];
  return true;
}

void normalise_line(const KnotNormalisation &plan, const Line &P) {
  if (!plan.changed) return;
  for (int32_t j = 0; j <= plan.n; ++j) {
    const CPOINT a = P(plan.from[j]);
    P(j) = plan.mean[j] < 0 ? a : scale(0.5, sum(a, P(plan.mean[j])));
  }
}

int16_t normalise_direction(KNOTVECTOR *knt, int p, const Lines &L, int32_t &n, const char *tag) {
  double *U = knt->U;
  const int32_t m = knt->m;
  if (p < 1) return fail(kErrDegree, tag);
  if (!(U[p] < U[m - p])) return fail(kErrKnots, tag);
  LocalStacks local;
  KnotNormalisation plan;
  if (!plan_normalisation(U, m, p, local, plan)) return 1;
  if (!plan.changed) return 0;
  for (int32_t k = 0; k < L.count; ++k) normalise_line(plan, L[k]);
  normalise_knots(plan, U, m);
  n = plan.n;
  knt->m = plan.m;
  return 0;
}

void normalise_knots(const KnotNormalisation &plan, double *U, int32_t m) {
  if (!plan.changed) return;
  const int p = plan.p;
  int32_t t = 0;
  for (int32_t i = 0; i <= m;) {
    const int32_t s = run_length(U, i, m);
    const double u = U[i];
    int32_t keep = s;
    if (i == 0 || i + s - 1 == m)
      keep = std::min(s, p + 1);
    else if (plan.lo < u && u < plan.hi)
      keep = std::min(s, p);
    for (int32_t c = 0; c < keep; ++c) U[t++] = u;
    i += s;
  }
}

}  // namespace orvo::detail

namespace {

// The piece of curve c over [a, b] into out (in place when out is c): cut
// out by knot insertion unless the knots already run from a to b, in which
// case the piece is a copy (or, in place, the curve is left alone). [a, b]
// must have passed knots_fit_range.
int16_t restrict_curve(CURVE *c, double a, double b, CURVE *out, STACKS *ws_in, STACKS *ws_out,
                       const char *tag) {
  if (out == c && clamped_to(c->knt->U, c->knt->m, c->p, a, b)) return 0;
  return segment_curve(c, a, b, out, ws_in, ws_out, tag);
}

// A curve the knot checks can work on: the checks of the refinement tools
// and finite knots (error 4).
int16_t check_knot_curve(const CURVE *cur, const char *tag) {
  if (check_refine_curve(cur, tag)) return 1;
  return finite_values(cur->knt->U, cur->knt->m) ? 0 : fail(kErrKnots, tag);
}

// ---- Arcs and conics ----------------------------------------------------------
constexpr double kDegrees = 57.29577951308232;  // 180 / pi

// Angle of (x, y) from the x axis, in degrees in [0, 360).
double angle_of(double x, double y) {
  const double a = std::atan2(y, x) * kDegrees;
  return a < 0.0 ? a + 360.0 : a;
}

// The first and last control points of an arc are put exactly on the given
// end points, each keeping its weight; a plane z = 0 makes the arc 2-D.
void snap_ends(CURVE *cur, const POINT &S, const POINT &E) {
  CPOINT *Pw = cur->pol->Pw;
  Pw[0] = weighted(S, Pw[0].w);
  Pw[cur->pol->n] = weighted(E, Pw[cur->pol->n].w);
  mark_planar(cur);
}

// Tolerances of the conic entity, on coefficients scaled so that the largest
// of |A|, |B/2|, |C|, |D/2|, |E/2|, |F| is 1:
// - below kNoConic every coefficient is zero: there is no conic;
// - a mixed term, a linear term or F counts as absent at or below kTerm, so
//   a conic rotated or moved by more than about 1e-7 of its size is refused
//   rather than built in the wrong place;
// - a squared term counts as absent at or below kSquare (an axis ratio of
//   about 1000), which tells a parabola from a very long ellipse or
//   hyperbola;
// - an end point must lie within kOnConic of the conic's size from it (the
//   distance estimated as |Q| / |grad Q|), so the arc really ends there and
//   its end control points can be put on the given points exactly.
constexpr double kNoConic = 1e-12;
constexpr double kTerm = 1e-7;
constexpr double kSquare = 1e-6;
constexpr double kOnConic = 1e-6;

// The conic a x^2 + c y^2 + 2d x + 2e y + f = 0 in standard position.
struct Conic {
  double a, c, d, e, f;
  double value(double x, double y) const {
    return a * x * x + c * y * y + 2.0 * d * x + 2.0 * e * y + f;
  }
  // (x, y) lies on the conic within kOnConic of size.
  bool holds(double x, double y, double size) const {
    const double gx = 2.0 * (a * x + d), gy = 2.0 * (c * y + e);
    return std::fabs(value(x, y)) <= kOnConic * size * std::hypot(gx, gy);
  }
};

// The tangent of the conic at (x, y), turned to point along `along`.
VECTOR conic_tangent(const Conic &q, double x, double y, const VECTOR &along) {
  VECTOR t{-(q.c * y + q.e), q.a * x + q.d, 0.0};
  if (dot3(t, along) < 0.0) t = VECTOR{-t.x, -t.y, 0.0};
  return t;
}

// Ellipse arc counter-clockwise from S to E (the whole ellipse when the two
// give the same angle).
int16_t ellipse_arc(const Conic &q, const POINT &S, const POINT &E, int16_t form, CURVE *cur,
                    STACKS *ws) {
  const double ra = std::sqrt(-q.f / q.a), rb = std::sqrt(-q.f / q.c);
  auto angle = [&](const POINT &P) {
    const double a = std::acos(std::clamp(P.x / ra, -1.0, 1.0)) * kDegrees;
    return P.y < 0.0 ? 360.0 - a : a;
  };
  const double a0 = angle(S);
  double a1 = angle(E);
  if (a1 <= a0) a1 += 360.0;
  return N_conell(POINT{0.0, 0.0, S.z}, VECTOR{1.0, 0.0, 0.0}, VECTOR{0.0, 1.0, 0.0}, ra, rb, a0,
                  a1, form, cur, ws);
}

// Hyperbola arc from S to E, both on one branch (error 14 otherwise). The
// branch runs along y when x^2 carries the sign opposite to f (x^2/ra^2 -
// y^2/rb^2 = 1), along x otherwise; the interior point sits on the branch at
// the mean of the two ends' coordinates along it.
int16_t hyperbola_arc(const Conic &q, const POINT &S, const POINT &E, CURVE *cur, STACKS *ws) {
  const bool along_y = q.a * q.f < 0.0;
  const double s0 = along_y ? S.x : S.y, s1 = along_y ? E.x : E.y;
  const double t0 = along_y ? S.y : S.x, t1 = along_y ? E.y : E.x;
  if (s0 * s1 <= 0.0 || t0 == t1) return fail(kErrInconsistent, "N_IGS104");
  // Across the branch s^2 = -(f + (coefficient along) t^2) / (coefficient
  // across), positive for coefficients of opposite signs.
  const double tm = 0.5 * (t0 + t1), across = along_y ? q.a : q.c, along = along_y ? q.c : q.a;
  const double sm = std::copysign(std::sqrt(-(q.f + along * tm * tm) / across), s0);
  const POINT M = along_y ? POINT{sm, tm, S.z} : POINT{tm, sm, S.z};
  const VECTOR dir = along_y ? VECTOR{0.0, t1 - t0, 0.0} : VECTOR{t1 - t0, 0.0, 0.0};
  return N_conarc(S, conic_tangent(q, S.x, S.y, dir), E, conic_tangent(q, E.x, E.y, dir), M, cur,
                  ws);
}

// Parabola arc y = k x^2 (in_x) or x = k y^2 from S to E (different
// abscissae, or ordinates): tangents (1, 2k x) pointing from S towards E and
// the interior point at the mean abscissa (ordinate).
int16_t parabola_arc(double k, bool in_x, const POINT &S, const POINT &E, CURVE *cur, STACKS *ws) {
  const double s0 = in_x ? S.x : S.y, s1 = in_x ? E.x : E.y;
  const double sm = 0.5 * (s0 + s1), sign = s1 > s0 ? 1.0 : -1.0;
  auto tangent = [&](double s) {
    return in_x ? VECTOR{sign, sign * 2.0 * k * s, 0.0} : VECTOR{sign * 2.0 * k * s, sign, 0.0};
  };
  const POINT M = in_x ? POINT{sm, k * sm * sm, S.z} : POINT{k * sm * sm, sm, S.z};
  return N_conarc(S, tangent(s0), E, tangent(s1), M, cur, ws);
}

}  // namespace

extern "C" {

// ---- 100: circular arc --------------------------------------------------------
int16_t N_igs100(double ZT, double X1, double Y1, double X2, double Y2, double X3, double Y3,
                 int16_t form, double tol, CURVE *cur, STACKS *ws) {
  const char *tag = "N_IGS100";
  const double v[8] = {ZT, X1, Y1, X2, Y2, X3, Y3, tol};
  if (!cur || !finite_values(v, 7) || tol < 0.0) return fail(kErrInconsistent, tag);
  const double r1 = std::hypot(X2 - X1, Y2 - Y1), r2 = std::hypot(X3 - X1, Y3 - Y1);
  const double r = 0.5 * (r1 + r2);
  // An end point on the centre has no angle.
  if (r < tol || r1 == 0.0 || r2 == 0.0) return fail(kErrInconsistent, tag);
  const double a0 = angle_of(X2 - X1, Y2 - Y1);
  double a1 = a0 + 360.0;  // start and end within tol: the whole circle
  if (std::hypot(X3 - X2, Y3 - Y2) >= tol) {
    a1 = angle_of(X3 - X1, Y3 - Y1);
    if (a1 <= a0) a1 += 360.0;
  }
  if (N_concir(POINT{X1, Y1, ZT}, VECTOR{1.0, 0.0, 0.0}, VECTOR{0.0, 1.0, 0.0}, r, a0, a1, form,
               cur, ws))
    return 1;
  snap_ends(cur, POINT{X2, Y2, ZT}, POINT{X3, Y3, ZT});
  return 0;
}

// ---- 104: conic arc -----------------------------------------------------------
int16_t N_igs104(double A, double B, double C, double D, double E, double F, double ZT, double X1,
                 double Y1, double X2, double Y2, int16_t form, CURVE *cur, STACKS *ws) {
  const char *tag = "N_IGS104";
  const double v[11] = {A, B, C, D, E, F, ZT, X1, Y1, X2, Y2};
  if (!cur || !finite_values(v, 10)) return fail(kErrInconsistent, tag);
  // The symmetric form, scaled so that its largest coefficient is 1.
  double k[6] = {A, 0.5 * B, C, 0.5 * D, 0.5 * E, F};
  double big = 0.0;
  for (double x : k) big = std::max(big, std::fabs(x));
  if (big < kNoConic) return fail(kErrInconsistent, tag);
  for (double &x : k) x /= big;
  const double a = k[0], b = k[1], c = k[2], d = k[3], e = k[4], f = k[5];
  auto absent = [](double x, double tol) { return std::fabs(x) <= tol; };
  if (!absent(b, kTerm)) return fail(kErrInconsistent, tag);  // axes not along x and y
  const POINT S{X1, Y1, ZT}, P2{X2, Y2, ZT};
  const double reach = std::max(std::hypot(X1, Y1), std::hypot(X2, Y2));
  const bool has_a = !absent(a, kSquare), has_c = !absent(c, kSquare);
  if (has_a && has_c) {
    // Ellipse or hyperbola about the origin: no linear term, F not zero.
    if (!absent(d, kTerm) || !absent(e, kTerm) || absent(f, kTerm))
      return fail(kErrInconsistent, tag);
    const Conic q{a, c, 0.0, 0.0, f};
    const double size = std::max({reach, std::sqrt(std::fabs(f / a)), std::sqrt(std::fabs(f / c))});
    if (!q.holds(X1, Y1, size) || !q.holds(X2, Y2, size)) return fail(kErrInconsistent, tag);
    const bool ellipse = a * c > 0.0;
    if (ellipse && a * f >= 0.0) return fail(kErrInconsistent, tag);  // no real points
    if (ellipse ? ellipse_arc(q, S, P2, form, cur, ws) : hyperbola_arc(q, S, P2, cur, ws)) return 1;
    snap_ends(cur, S, P2);
    return 0;
  }
  // Parabola with its vertex at the origin: y = k x^2 (A x^2 + E y = 0) or
  // x = k y^2 (C y^2 + D x = 0).
  const bool in_x = has_a && !has_c && absent(d, kTerm) && !absent(e, kTerm);
  const bool in_y = has_c && !has_a && absent(e, kTerm) && !absent(d, kTerm);
  if ((!in_x && !in_y) || !absent(f, kTerm)) return fail(kErrInconsistent, tag);
  const Conic q{in_x ? a : 0.0, in_x ? 0.0 : c, in_x ? 0.0 : d, in_x ? e : 0.0, 0.0};
  const double kp = in_x ? -a / (2.0 * e) : -c / (2.0 * d);
  const double size = std::max(reach, 1.0 / std::fabs(kp));
  if (!q.holds(X1, Y1, size) || !q.holds(X2, Y2, size)) return fail(kErrInconsistent, tag);
  if (in_x ? X1 == X2 : Y1 == Y2) return fail(kErrInconsistent, tag);  // no arc between
  if (parabola_arc(kp, in_x, S, P2, cur, ws)) return 1;
  snap_ends(cur, S, P2);
  return 0;
}

}  // extern "C"

namespace {

// ---- Composite curve ------------------------------------------------------------
// Relative tolerance of the arc lengths that share out the joined range.
constexpr double kArcTol = 1e-7;

bool empty_range(const CURVE *c) { return !(c->knt->U[0] < c->knt->U[c->knt->m]); }

// A member the join can use: a record of degree at least 1 whose points all
// have the kind of the first (error 1), finite points (14), positive
// weights (5) and finite, clamped knots (4). A member with an empty range
// is only checked as a record: it is skipped.
int16_t check_member(const CURVE *c, const char *tag) {
  if (check_refine_curve(c, tag)) return 1;
  if (!finite_values(c->knt->U, c->knt->m)) return fail(kErrKnots, tag);
  if (empty_range(c)) return 0;
  if (c->p < 1) return fail(kErrDegree, tag);
  const CPOINT *Pw = c->pol->Pw;
  if (!finite_points(Pw, c->pol->n)) return fail(kErrInconsistent, tag);
  const bool z = z_valid(Pw[0].z), w = w_valid(Pw[0].w);
  for (int32_t i = 0; i <= c->pol->n; ++i) {
    if (z_valid(Pw[i].z) != z || w_valid(Pw[i].w) != w) return fail(kErrCurveDef, tag);
    if (w && !(Pw[i].w > 0.0)) return fail(kErrWeight, tag);
  }
  return E_kntdef(c->knt, c->p, tag);
}

// Joins the members used[0..count-1] (one degree p, one kind, consecutive
// ranges) into q: each member's points in turn, the homogeneous points of
// each member after the first scaled so that its first weight is the last
// weight so far, and the junction point the mean of the two points meeting
// there. Knots: the first member's up to its last interior one, then per
// member its start p times and its interior knots, then the end p+1 times.
int16_t join_members(CURVE *const *used, int32_t count, int p, CURVE *q, const char *tag) {
  CPOINT *Q = q->pol->Pw;
  double *UQ = q->knt->U;
  const CURVE *c0 = used[0];
  int32_t last = c0->pol->n, t = c0->pol->n + 1;
  std::copy(c0->pol->Pw, c0->pol->Pw + last + 1, Q);
  std::copy(c0->knt->U, c0->knt->U + t, UQ);
  for (int32_t i = 1; i < count; ++i) {
    const CPOINT *P = used[i]->pol->Pw;
    const double *U = used[i]->knt->U;
    const int32_t n = used[i]->pol->n;
    double f = 1.0;
    if (w_valid(P[0].w) && !guarded_quotient(Q[last].w, P[0].w, f)) return fail(kErrFloat, tag);
    const double w = Q[last].w;
    Q[last] = scale(0.5, sum(Q[last], scale(f, P[0])));
    Q[last].w = w;
    for (int32_t j = 1; j <= n; ++j) Q[last + j] = scale(f, P[j]);
    last += n;
    for (int r = 0; r < p; ++r) UQ[t++] = U[0];
    for (int32_t j = p + 1; j <= n; ++j) UQ[t++] = U[j];
  }
  const CURVE *cl = used[count - 1];
  for (int r = 0; r <= p; ++r) UQ[t++] = cl->knt->U[cl->knt->m];
  return finite_points(Q, last) ? 0 : fail(kErrFloat, tag);
}

}  // namespace

extern "C" {

// ---- 102: composite curve -------------------------------------------------------
int16_t N_igs102(int32_t N, CURVE *curves, int16_t form, double tol, CURVE *out, STACKS *ws_in,
                 STACKS *ws_out) {
  const char *tag = "N_IGS102";
  if (!curves || !out || !ws_in || N < 0 || !std::isfinite(tol) || tol < 0.0)
    return fail(kErrInconsistent, tag);
  // Every member is checked before any is changed.
  for (int32_t k = 0; k <= N; ++k)
    if (&curves[k] == out) return fail(kErrInconsistent, tag);
  for (int32_t k = 0; k <= N; ++k)
    if (check_member(&curves[k], tag)) return 1;
  LocalStacks local;
  CURVE **used = S_getcua(N, local);
  double *len = S_getr1d(N, local), *lo = S_getr1d(N, local), *hi = S_getr1d(N, local);
  if (!used || !len || !lo || !hi) return 1;
  // 1. Parameter lengths (form 6) or arc lengths, and each member's range.
  double L = 0.0;
  for (int32_t k = 0; k <= N; ++k) {
    const CURVE *c = &curves[k];
    len[k] = -1.0;  // skipped
    if (empty_range(c)) continue;
    const double a = c->knt->U[0], b = c->knt->U[c->knt->m];
    if (form == 6)
      len[k] = b - a;
    else if (N_gprcle(c, a, b, kArcTol, 2, &len[k]))
      return 1;
    L += len[k];
  }
  int32_t count = 0;
  double s = 0.0;
  for (int32_t k = 0; k <= N; ++k) {
    if (len[k] < 0.0 || (form != 6 && !(len[k] > tol))) continue;
    const double h = form == 6 ? s + len[k] : s + len[k] / L;
    if (!std::isfinite(h)) return fail(kErrInconsistent, tag);
    if (!(h > s)) continue;  // a share lost in rounding: dropped like a short member
    used[count] = &curves[k];
    lo[count] = s;
    hi[count++] = s = h;
  }
  // 2. Nothing left to join.
  if (count == 0) return fail(kErrInconsistent, tag);
  if (form != 6 && lo[count - 1] < 1.0) hi[count - 1] = 1.0;
  // 3. Ranges, one degree, 4. one kind.
  int p = 0;
  for (int32_t i = 0; i < count; ++i) {
    KNOTVECTOR *knt = used[i]->knt;
    N_kntsca(knt, used[i]->p, INTERVAL{lo[i], hi[i]});
    if (knt->U[0] != lo[i] || knt->U[knt->m] != hi[i]) return fail(kErrFloat, tag);
    p = std::max(p, static_cast<int>(used[i]->p));
  }
  for (int32_t i = 0; i < count; ++i)
    if (used[i]->p < p && N_toocde(used[i], p - used[i]->p, used[i], ws_in, ws_in)) return 1;
  U_makcco(used, count - 1);
  // 5. The joined curve: every member's points, one shared at each junction.
  int64_t n = 0;
  for (int32_t i = 0; i < count; ++i) n += used[i]->pol->n;
  if (n + p + 1 > INT32_MAX) return fail(kErrInconsistent, tag);
  Output<CURVE> o(nullptr, out, ws_out, ws_out, tag);
  const int32_t nq = static_cast<int32_t>(n);
  if (o.prepare(CurveSize{nq, static_cast<int16_t>(p), nq + p + 1})) return 1;
  if (join_members(used, count, p, o.rec(), tag)) return 1;
  o.commit();
  return 0;
}

}  // extern "C"

extern "C" {

// ---- Knot checks, cut and normalisation ---------------------------------------
int16_t N_igsvkb(const double *knots, int32_t m, int16_t p, const double *range) {
  const char *tag = "N_IGSVKB";
  if (!knots || !range) return fail(kErrInconsistent, tag);
  return knots_fit_range(knots, m, p, range[0], range[1]) ? 0 : fail(kErrKnots, tag);
}

int16_t N_igsccp(CURVE *cur, const double *V, STACKS *ws) {
  const char *tag = "N_IGSCCP";
  if (!V || !ws) return fail(kErrInconsistent, tag);
  if (check_refine_curve(cur, tag)) return 1;
  if (!knots_fit_range(cur->knt->U, cur->knt->m, cur->p, V[0], V[1])) return fail(kErrKnots, tag);
  return restrict_curve(cur, V[0], V[1], cur, ws, ws, tag);
}

int16_t N_igscsk(CURVE *cur, STACKS *) {
  const char *tag = "N_IGSCSK";
  if (check_knot_curve(cur, tag)) return 1;
  return normalise_direction(cur->knt, cur->p, curve_lines(cur->pol->Pw), cur->pol->n, tag);
}

// ---- 126: rational B-spline curve ---------------------------------------------
int16_t N_igs126(int32_t K, int16_t M, const double *T, const double *W, const POINT *P,
                 const double *V, CURVE *cur, STACKS *ws) {
  const char *tag = "N_IGS126";
  if (!T || !W || !P || !V || !cur) return fail(kErrInconsistent, tag);
  if (M < 1 || M > MAXDEGREE) return fail(kErrDegree, tag);
  // K+1 points, and the highest knot index K+M+1 must itself be an int32.
  if (K < 0 || K > INT32_MAX - M - 1) return fail(kErrInconsistent, tag);
  for (int32_t i = 0; i <= K; ++i)
    if (!weight_in_range(W[i])) return fail(kErrWeight, tag);
  // Also refuses K < M: the range cannot lie inside [T[M], T[K+1]].
  if (N_igsvkb(T, K + M + 1, M, V)) return 1;
  for (int32_t i = 0; i <= K; ++i)
    if (!finite_point(P[i])) return fail(kErrInconsistent, tag);
  bool rational = false;
  for (int32_t i = 1; i <= K; ++i) rational = rational || W[i] != W[0];

  LocalStacks local;
  CURVE full;
  U_inicur(&full);
  if (U_getcur(&full, K, M, K + M + 1, local)) return 1;
  for (int32_t i = 0; i <= K; ++i) full.pol->Pw[i] = weighted(P[i], rational ? W[i] : kWNR);
  std::copy(T, T + K + M + 2, full.knt->U);
  mark_planar(&full);
  if (restrict_curve(&full, V[0], V[1], cur, local, ws, tag)) return 1;
  return N_igscsk(cur, ws);
}

// ---- 124: transformation matrix -----------------------------------------------
int16_t N_igs124(const double *R, double T1, double T2, double T3, RMATRIX *M, STACKS *ws) {
  const char *tag = "N_IGS124";
  if (!R || !M) return fail(kErrInconsistent, tag);
  const double T[3] = {T1, T2, T3};
  if (!finite_values(R, 8) || !finite_values(T, 2)) return fail(kErrInconsistent, tag);
  if (M_rmachk(M, 3, 3, ORVO_FULL, 4, tag, ws)) return 1;
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) M->a[i][j] = R[3 * i + j];
    M->a[i][3] = T[i];
  }
  for (int j = 0; j < 4; ++j) M->a[3][j] = j == 3 ? 1.0 : 0.0;
  return 0;
}

// ---- 110: line ----------------------------------------------------------------
int16_t N_igs110(POINT start, POINT end, CURVE *cur, STACKS *ws) {
  const char *tag = "N_IGS110";
  if (!cur || !finite_point(start) || !finite_point(end)) return fail(kErrInconsistent, tag);
  if (N_curlin(start, sub3<VECTOR>(end, start), cur, ws)) return 1;
  mark_planar(cur);
  return 0;
}

// ---- 106: copious data --------------------------------------------------------
int16_t N_igs106(const POINT *points, int32_t n, int16_t form, CURVE *cur, STACKS *ws) {
  const char *tag = "N_IGS106";
  if (!points || !cur) return fail(kErrInconsistent, tag);
  // Degree 1 needs two points; the highest knot index n+2 must be an int32.
  if (n < 1 || n > INT32_MAX - 2) return fail(kErrInconsistent, tag);
  for (int32_t i = 0; i <= n; ++i)
    if (!finite_point(points[i])) return fail(kErrInconsistent, tag);
  LocalStacks local;
  double *t = S_getr1d(n, local);
  if (!t) return 1;
  if (form == 6) {
    for (int32_t i = 0; i <= n; ++i) t[i] = i;
  } else if (N_fitcpa(points, n, 1, 2, t)) {
    return 1;
  }
  if (U_curchk(cur, n, 1, n + 2, tag, ws)) return 1;
  double *U = cur->knt->U;
  for (int32_t i = 0; i <= n; ++i) {
    cur->pol->Pw[i] = CPOINT{points[i].x, points[i].y, points[i].z, kWNR};
    U[i + 1] = t[i];
  }
  U[0] = t[0];
  U[n + 2] = t[n];
  mark_planar(cur);
  return 0;
}

// ---- 112: parametric spline curve ---------------------------------------------
int16_t N_igs112(int32_t N, const double *T, double *const *const *coef, CURVE *cur, STACKS *ws) {
  const char *tag = "N_IGS112";
  if (!T || !coef || !cur || N < 1) return fail(kErrInconsistent, tag);
  if (!finite_values(T, N)) return fail(kErrInconsistent, tag);
  for (int32_t i = 0; i < N; ++i)
    if (!(T[i] < T[i + 1])) return fail(kErrCurveDef, tag);
  // The degree is the highest power with a non-zero coefficient (at least 1).
  int p = 1;
  for (int32_t i = 0; i < N; ++i) {
    if (!coef[i]) return fail(kErrInconsistent, tag);
    for (int c = 0; c < 3; ++c) {
      const double *a = coef[i][c];
      if (!a || !finite_values(a, 3)) return fail(kErrInconsistent, tag);
      for (int k = 2; k <= 3; ++k)
        if (a[k] != 0.0) p = std::max(p, k);
    }
  }
  const int64_t m64 = (static_cast<int64_t>(N) + 1) * p + 1;
  if (m64 > INT32_MAX) return fail(kErrInconsistent, tag);
  const int32_t n = N * p, m = static_cast<int32_t>(m64);

  LocalStacks local;
  RMATRIX B;  // power coefficients on [0, 1] -> Bezier points
  M_inirma(&B);
  CPOINT *Q = S_getc1d(n, local);
  if (!Q || B_ipomat(static_cast<int16_t>(p), &B, local)) return 1;
  for (int32_t i = 0; i < N; ++i) {
    const double d = T[i + 1] - T[i];
    double scaled[3][4];
    for (int c = 0; c < 3; ++c) {
      double dk = 1.0;  // d^k: the local parameter runs over [0, 1]
      for (int k = 0; k <= p; ++k, dk *= d) scaled[c][k] = coef[i][c][k] * dk;
    }
    for (int j = 0; j <= p; ++j) {
      double v[3] = {0.0, 0.0, 0.0};
      for (int c = 0; c < 3; ++c)
        for (int k = 0; k <= j; ++k) v[c] += B.a[j][k] * scaled[c][k];
      Q[i * p + j] = CPOINT{v[0], v[1], v[2], kWNR};
    }
  }
  // Powers of a long segment may overflow.
  if (!finite_points(Q, n)) return fail(kErrFloat, tag);
  if (U_curchk(cur, n, static_cast<int16_t>(p), m, tag, ws)) return 1;
  std::copy(Q, Q + n + 1, cur->pol->Pw);
  double *U = cur->knt->U;
  U[0] = T[0];
  for (int32_t i = 0; i <= N; ++i)
    for (int k = 0; k < p; ++k) U[1 + i * p + k] = T[i];
  U[m] = T[N];
  mark_planar(cur);
  return 0;
}

}  // extern "C"
