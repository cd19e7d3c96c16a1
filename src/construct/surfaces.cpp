// Standard surfaces: bilinear patches, general cylinders, ruled surfaces,
// surfaces of revolution and the quadrics and tori built on them, and cone
// or cylinder patches between two coaxial circles.
//
// Every circular direction is one arc of radius 1 about the origin, built
// once in the form asked, and carried to each circle it stands for by a
// similarity: the control point (x, y) of weight w becomes O + r (x X + y Y)
// with the same weight. All circles of a surface so share their knots and
// weights exactly, which keeps the tensor product a true surface of
// revolution, and a circle of radius 0 (a point on the axis) needs no
// separate rule.
#include <algorithm>
#include <cmath>

#include "arith/point_ops.hpp"
#include "arith/vector_ops.hpp"
#include "eval/kernels.hpp"
#include "refine/refine_common.hpp"

using namespace orvo::detail;

namespace {

constexpr double kSmallest = 1e-7;  // least semi-axis or size of a quadric
constexpr double kLinearKnots[4] = {0.0, 0.0, 1.0, 1.0};
constexpr POINT kOrigin{0.0, 0.0, 0.0};
constexpr VECTOR kAxisZ{0.0, 0.0, 1.0};

// Sizes of an output net; the knot counts follow from them.
struct NetShape {
  int32_t n, m;
  int p, q;
};

// Check-or-allocate of the output in ws, then its knots and net:
// net[i][j] = point(i, j). Nothing is written when the output is refused.
template <class Point>
int16_t emit(SURFACE *out, const NetShape &z, const double *U, const double *V, Point point,
             const char *tag, STACKS *ws) {
  if (!out || !ws) return fail(kErrInconsistent, tag);
  const int32_t r = z.n + z.p + 1, s = z.m + z.q + 1;
  if (U_surchk(out, z.n, z.m, static_cast<int16_t>(z.p), static_cast<int16_t>(z.q), r, s, tag, ws))
    return 1;
  std::copy(U, U + r + 1, out->knu->U);
  std::copy(V, V + s + 1, out->knv->U);
  for (int32_t i = 0; i <= z.n; ++i)
    for (int32_t j = 0; j <= z.m; ++j) out->net->Pw[i][j] = point(i, j);
  return 0;
}

// A generator's control point in three dimensions: a 2-D marker becomes
// z = 0; the weight (or the non-rational marker) stays.
CPOINT in_3d(CPOINT q) {
  if (!z_valid(q.z)) q.z = 0.0;
  return q;
}

// The surface of degree 1 across between two lines A and B of control
// points that share the degree p and knots U: the lines run along u
// (dir 1) or along v (dir 2).
int16_t linear_sweep(int32_t n, int p, const double *U, const CPOINT *A, const CPOINT *B, int dir,
                     SURFACE *out, const char *tag, STACKS *ws) {
  if (dir == 1)
    return emit(
        out, NetShape{n, 1, p, 1}, U, kLinearKnots,
        [&](int32_t i, int32_t j) { return j == 0 ? A[i] : B[i]; }, tag, ws);
  return emit(
      out, NetShape{1, n, 1, p}, kLinearKnots, U,
      [&](int32_t i, int32_t j) { return i == 0 ? A[j] : B[j]; }, tag, ws);
}

// The arc of radius 1 about the origin in the xy plane from a0 to a1, in
// the given form, into ws.
int16_t unit_arc(double a0, double a1, int form, CURVE *arc, STACKS *ws) {
  U_inicur(arc);
  return N_concir(kOrigin, VECTOR{1.0, 0.0, 0.0}, VECTOR{0.0, 1.0, 0.0}, 1.0, a0, a1,
                  static_cast<int16_t>(form), arc, ws);
}

// A circle O + r (cos a X + sin a Y) and an extra weight for its points.
struct Circle {
  POINT O;
  VECTOR X, Y;
  double r, w;
};

// Control point q of the unit arc carried to the circle c.
CPOINT on_circle(const CPOINT &q, const Circle &c) {
  const double wq = weight_or_one(q);
  const double x = c.r * q.x / wq, y = c.r * q.y / wq;
  return weighted(add3<POINT>(c.O, combine3(x, c.X, y, c.Y)), wq * c.w);
}

int16_t check_form(int form, const char *tag) {
  return (form == 2 || form == 5) ? 0 : fail(kErrSelector, tag);
}

// The body of N_cmsrev for a checked generator.
int16_t revolve(const CURVE *gen, POINT S, VECTOR T, double theta, int form, SURFACE *out,
                const char *tag, STACKS *ws) {
  // A sweep of zero or below would not match the full circle the arc
  // builder makes of it: refused, like an unknown form.
  if (check_form(form, tag)) return 1;
  if (!(theta > 0.0)) return fail(kErrSelector, tag);
  theta = std::min(theta, 360.0);
  VECTOR axis;
  if (!unit3(T, axis) || !finite_point(CPOINT{S.x, S.y, S.z, 1.0}))
    return fail(kErrInconsistent, tag);
  const int32_t n = gen->pol->n;
  if (!finite_points(gen->pol->Pw, n)) return fail(kErrParameter, tag);
  LocalStacks local;
  CURVE arc;
  if (unit_arc(0.0, theta, form, &arc, local)) return 1;

  // Column j turns control point j of the generator about the axis: the
  // circle about its foot on the axis through the point.
  const auto column = [&](int32_t j) {
    const CPOINT &g = gen->pol->Pw[j];
    const POINT P = euclid(in_3d(g));
    const POINT O = add3<POINT>(S, scale3(dot3(sub3(P, S), axis), axis));
    Circle c{O, VECTOR{0.0, 0.0, 0.0}, VECTOR{0.0, 0.0, 0.0}, 0.0, weight_or_one(g)};
    if (unit3(sub3(P, O), c.X)) {
      c.r = magnitude3(sub3(P, O));
      c.Y = cross3(axis, c.X);
    }
    return c;
  };
  return emit(
      out, NetShape{arc.pol->n, n, arc.p, gen->p}, arc.knt->U, gen->knt->U,
      [&](int32_t i, int32_t j) { return on_circle(arc.pol->Pw[i], column(j)); }, tag, ws);
}

// A rational quadratic Bezier curve in ws with the given homogeneous
// control points (a meridian of the quadrics).
int16_t quadratic(const CPOINT (&Q)[3], CURVE *c, STACKS *ws) {
  U_inicur(c);
  if (U_getcur(c, 2, 2, 5, ws)) return 1;
  std::copy(Q, Q + 3, c->pol->Pw);
  const double U[6] = {0, 0, 0, 1, 1, 1};
  std::copy(U, U + 6, c->knt->U);
  return 0;
}

// The quadric of revolution about the z axis from its meridian, then
// stretched by b / a along y when the two semi-axes differ.
int16_t revolve_quadric(const CPOINT (&meridian)[3], double a, double b, double theta, int form,
                        SURFACE *out, const char *tag, STACKS *ws) {
  LocalStacks local;
  CURVE mer;
  if (quadratic(meridian, &mer, local) || revolve(&mer, kOrigin, kAxisZ, theta, form, out, tag, ws))
    return 1;
  if (std::fabs(a - b) > kSmallest) N_sursca(out, kOrigin, VECTOR{1.0, b / a, 1.0});
  return 0;
}

bool all_at_least(std::initializer_list<double> sizes) {
  for (double s : sizes)
    if (!(s >= kSmallest) || !std::isfinite(s)) return false;
  return true;
}

}  // namespace

extern "C" {

int16_t N_cmsbil(POINT P00, POINT P10, POINT P01, POINT P11, SURFACE *surf, STACKS *ws) {
  const POINT P[2][2] = {{P00, P01}, {P10, P11}};
  return emit(
      surf, NetShape{1, 1, 1, 1}, kLinearKnots, kLinearKnots,
      [&](int32_t i, int32_t j) { return weighted(P[i][j], kWNR); }, "N_CMSBIL", ws);
}

int16_t N_cmsgcl(const CURVE *curve, VECTOR W, double d, int16_t dir, SURFACE *surf, STACKS *ws) {
  const char *tag = "N_CMSGCL";
  if (check_direction(dir, tag) || check_curve(curve, tag)) return 1;
  if (G_vecnip(&W)) return 1;
  const int32_t n = curve->pol->n;
  LocalStacks local;
  CPOINT *A = S_getc1d(n, local), *B = S_getc1d(n, local);
  if (!A || !B) return 1;
  for (int32_t i = 0; i <= n; ++i) {
    A[i] = in_3d(curve->pol->Pw[i]);
    const double w = A[i].w;
    B[i] = weighted(add3<POINT>(euclid(A[i]), scale3(d, W)), w);
  }
  return linear_sweep(n, curve->p, curve->knt->U, A, B, dir, surf, tag, ws);
}

int16_t N_cmsrls(const CURVE *curve1, const CURVE *curve2, int16_t dir, SURFACE *surf, STACKS *ws) {
  const char *tag = "N_CMSRLS";
  if (check_direction(dir, tag) || check_curve(curve1, tag) || check_curve(curve2, tag)) return 1;
  // The callers' curves stay as they are: copies are made compatible.
  LocalStacks local;
  CURVE c1, c2;
  U_inicur(&c1);
  U_inicur(&c2);
  if (U_curcop(curve1, &c1, local) || U_curcop(curve2, &c2, local)) return 1;
  CURVE *set[2] = {&c1, &c2};
  if (N_toocco(set, 1, local)) return 1;
  const int32_t n = c1.pol->n;
  for (int32_t i = 0; i <= n; ++i) {
    c1.pol->Pw[i] = in_3d(c1.pol->Pw[i]);
    c2.pol->Pw[i] = in_3d(c2.pol->Pw[i]);
  }
  return linear_sweep(n, c1.p, c1.knt->U, c1.pol->Pw, c2.pol->Pw, dir, surf, tag, ws);
}

int16_t N_cmsrev(const CURVE *curve, POINT S, VECTOR T, double theta, int16_t form, SURFACE *surf,
                 STACKS *ws) {
  const char *tag = "N_CMSREV";
  if (check_curve(curve, tag)) return 1;
  return revolve(curve, S, T, theta, form, surf, tag, ws);
}

int16_t N_cmssph(POINT O, double r, double a0, double a1, double theta, int16_t form, SURFACE *surf,
                 STACKS *ws) {
  const char *tag = "N_CMSSPH";
  if (!(a0 >= 0.0 && a0 < a1 && a1 <= 180.0) || check_form(form, tag))
    return fail(kErrSelector, tag);
  if (!(r > 0.0) || !std::isfinite(r)) return fail(kErrInconsistent, tag);
  // The meridian runs from the north pole (angle 0, along z) towards y.
  LocalStacks local;
  CURVE mer;
  U_inicur(&mer);
  if (N_concir(O, kAxisZ, VECTOR{0.0, 1.0, 0.0}, r, a0, a1, form, &mer, local)) return 1;
  return revolve(&mer, O, kAxisZ, theta, form, surf, tag, ws);
}

int16_t N_cmsell(double a, double b, double c, double a0, double a1, double theta, int16_t form,
                 SURFACE *surf, STACKS *ws) {
  const char *tag = "N_CMSELL";
  if (!all_at_least({a, b, c})) return fail(kErrInconsistent, tag);
  if (N_cmssph(kOrigin, 1.0, a0, a1, theta, form, surf, ws)) return 1;
  N_sursca(surf, kOrigin, VECTOR{a, b, c});
  return 0;
}

int16_t N_cmspar(double a, double b, double h, double theta, int16_t form, SURFACE *surf,
                 STACKS *ws) {
  const char *tag = "N_CMSPAR";
  if (!all_at_least({a, b, h})) return fail(kErrInconsistent, tag);
  // z = x^2 / (2 a^2) in the xz plane: x = R t, z = h t^2 with R = a sqrt(2h).
  const double R = a * std::sqrt(2.0 * h);
  const CPOINT meridian[3] = {{0, 0, 0, 1}, {R / 2, 0, 0, 1}, {R, 0, h, 1}};
  return revolve_quadric(meridian, a, b, theta, form, surf, tag, ws);
}

int16_t N_cmshyp(double a, double b, double c, double h, double theta, int16_t form, SURFACE *surf,
                 STACKS *ws) {
  const char *tag = "N_CMSHYP";
  if (!all_at_least({a, b, c, h})) return fail(kErrInconsistent, tag);
  // The hyperbola arc from (R, 0, h) to (R, 0, -h) through the vertex
  // (a, 0, 0); its end tangents meet at M = (a^2 / R, 0, 0). The middle
  // weight s / (1 - s) with s = (R - a) / (R - a^2 / R) equals R / a,
  // which is free of the cancellation in R - a when h is small.
  const double R = a * std::sqrt(1.0 + (h / c) * (h / c));
  const double w = R / a, mx = a * a / R;
  const CPOINT meridian[3] = {{R, 0, h, 1}, {w * mx, 0, 0, w}, {R, 0, -h, 1}};
  return revolve_quadric(meridian, a, b, theta, form, surf, tag, ws);
}

int16_t N_cmstor(POINT S, VECTOR T, POINT C, VECTOR X, VECTOR Y, double r, double a0, double a1,
                 double theta, int16_t form, SURFACE *surf, STACKS *ws) {
  const char *tag = "N_CMSTOR";
  if (check_form(form, tag)) return 1;
  VECTOR axis;
  if (!unit3(T, axis)) return fail(kErrInconsistent, tag);
  const VECTOR off = sub3(C, S);
  if (!(magnitude3(sub3(off, scale3(dot3(off, axis), axis))) > 0.0))
    return fail(kErrInconsistent, tag);
  LocalStacks local;
  CURVE tube;
  U_inicur(&tube);
  if (N_concir(C, X, Y, r, a0, a1, form, &tube, local)) return 1;
  return revolve(&tube, S, T, theta, form, surf, tag, ws);
}

int16_t N_cmsccp(POINT O, VECTOR X, VECTOR Y, double r1, double r2, double a0, double a1, double h,
                 int16_t form, int16_t dir, SURFACE *surf, STACKS *ws) {
  const char *tag = "N_CMSCCP";
  if (check_direction(dir, tag)) return 1;
  if (!std::isfinite(r1) || !std::isfinite(r2) || !std::isfinite(h))
    return fail(kErrParameter, tag);
  if (G_vecnip(&X) || G_vecnip(&Y)) return 1;
  VECTOR N = cross3(X, Y);
  if (G_vecnip(&N)) return 1;
  LocalStacks local;
  CURVE arc;
  if (unit_arc(a0, a1, form, &arc, local)) return 1;
  const int32_t n = arc.pol->n;
  CPOINT *A = S_getc1d(n, local), *B = S_getc1d(n, local);
  if (!A || !B) return 1;
  const Circle low{O, X, Y, r1, 1.0}, high{add3<POINT>(O, scale3(h, N)), X, Y, r2, 1.0};
  for (int32_t i = 0; i <= n; ++i) {
    A[i] = on_circle(arc.pol->Pw[i], low);
    B[i] = on_circle(arc.pol->Pw[i], high);
  }
  return linear_sweep(n, arc.p, arc.knt->U, A, B, dir, surf, tag, ws);
}

}  // extern "C"
