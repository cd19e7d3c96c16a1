// Circles, arcs and conics: exact rational B-spline arcs of circles and
// ellipses in three forms (piecewise quadratic, piecewise quartic, one
// quintic), conic arcs through a point, and the analysis of a rational
// quadratic conic arc (shape factor, type, implicit equation, centre and
// axes).
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <utility>

#include "arith/point_ops.hpp"
#include "geom/geom_ops.hpp"

using namespace orvo::detail;

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kTypeTol = 1e-12;  // |k - 1| within which a conic is a parabola

double radians(double deg) { return deg * kPi / 180.0; }

bool all_finite(std::initializer_list<double> values) {
  for (double v : values)
    if (!std::isfinite(v)) return false;
  return true;
}

// Finite centre, directions and scalars, else error 6 under tag.
int16_t check_finite(const POINT &O, const VECTOR &X, const VECTOR &Y,
                     std::initializer_list<double> scalars, const char *tag) {
  if (all_finite({O.x, O.y, O.z, X.x, X.y, X.z, Y.x, Y.y, Y.z}) && all_finite(scalars)) return 0;
  return fail(kErrParameter, tag);
}

// a1 moved so that 0 < a1 - a0 <= 360: a1 <= a0 gains a turn (as many as it
// takes when one is not enough), a sweep over a turn becomes one turn. A
// sweep lost to rounding (huge angles) comes out as 0.
void normalise_angles(double a0, double &a1) {
  if (a1 <= a0) a1 += 360.0;
  if (a1 <= a0) a1 = a0 + (360.0 - std::fmod(a0 - a1, 360.0));
  if (a1 - a0 > 360.0) a1 = a0 + 360.0;
}

// The circle O + r cos(a) X + r sin(a) Y with X and Y normalised (error 17
// from G_vecnip on a zero vector).
struct Circle {
  POINT O{};
  VECTOR X{}, Y{};
  double r = 0.0;

  int16_t set(const POINT &o, VECTOR x, VECTOR y, double radius) {
    if (G_vecnip(&x) || G_vecnip(&y)) return 1;
    O = o;
    X = x;
    Y = y;
    r = radius;
    return 0;
  }
  POINT at(double deg) const {
    const double c = r * std::cos(radians(deg)), s = r * std::sin(radians(deg));
    return POINT{O.x + c * X.x + s * Y.x, O.y + c * X.y + s * Y.y, O.z + c * X.z + s * Y.z};
  }
  VECTOR tangent(double deg) const {
    return combine3(-std::sin(radians(deg)), X, std::cos(radians(deg)), Y);
  }
};

// Corner of the tangent lines at P0 (along T0) and P2 (along T2); error 14
// when they do not meet.
int16_t corner(const POINT &P0, const VECTOR &T0, const POINT &P2, const VECTOR &T2, POINT &Pm,
               const char *tag) {
  LINE l0, l2;
  G_makln2(P0, T0, 0, &l0);
  G_makln2(P2, T2, 0, &l2);
  double s, t;
  int16_t found = 0;
  if (G_intlnl(l0, l2, &Pm, &s, &t, &found)) return 1;
  return found ? 0 : fail(kErrInconsistent, tag);
}

// The rational quadratic arc of the circle from angle b0 to b1: end points
// and the corner of their tangents.
struct QuadraticArc {
  POINT P0, Pm, P2;
};

int16_t quadratic_arc(const Circle &c, double b0, double b1, QuadraticArc &q, const char *tag) {
  q.P0 = c.at(b0);
  q.P2 = c.at(b1);
  return corner(q.P0, c.tangent(b0), q.P2, c.tangent(b1), q.Pm, tag);
}

// Angle of the end of segment i of segs from a0 to a1 (the last is a1).
double segment_end(double a0, double a1, int i, int segs) {
  return i == segs ? a1 : a0 + i * ((a1 - a0) / segs);
}

// Clamped knots of segs segments of degree p on [0, 1], interior knots i /
// segs of multiplicity p.
void segment_knots(double *U, int p, int segs) {
  int32_t j = 0;
  for (int i = 0; i <= p; ++i) U[j++] = 0.0;
  for (int i = 1; i < segs; ++i)
    for (int l = 0; l < p; ++l) U[j++] = static_cast<double>(i) / segs;
  for (int i = 0; i <= p; ++i) U[j++] = 1.0;
}

// Parameter of the base quadratic arc (sweep ds, middle weight w) at the
// angle frac * ds: the root in [0, 1] of A t^2 + B t + C = 0 with
// A = 1 + cos(ds) - 2 (w + c (1 - w)), B = 2 (c (1 - w) + w - 1), C = 1 - c,
// written without cancellation (h = 1 - w): A = -2 h (w + c), B = -2 h C.
// The roots (sqrt(disc) - B) / (2A) and 2C / (sqrt(disc) - B) (their
// product is C / A) are tried in that order; A = 0 leaves the second, the
// linear root. false when no root lies in [0, 1].
bool base_parameter(double ds, double frac, double w, double &t) {
  const double half = radians(ds) / 2.0, angle = frac * radians(ds);
  const double h = 2.0 * std::pow(std::sin(half / 2.0), 2), sc = std::sin(angle / 2.0);
  const double c = std::cos(angle), C = 2.0 * sc * sc;
  const double A = -2.0 * h * (w + c), B = -2.0 * h * C;
  const double disc = B * B - 4.0 * A * C;
  if (!(disc >= 0.0)) return false;
  const double q = std::sqrt(disc) - B;
  double roots[2];
  int count = 0;
  if (guarded_quotient(q, 2.0 * A, roots[count])) ++count;
  if (guarded_quotient(2.0 * C, q, roots[count])) ++count;
  for (int i = 0; i < count; ++i)
    if (roots[i] >= 0.0 && roots[i] <= 1.0) {
      t = roots[i];
      return true;
    }
  return false;
}

// Parameter of P on curve c from start: point inversion to 1e-7, then
// polished to the rounding of the coordinates (the coarse value is kept when
// the polish does not converge).
int16_t invert(const CURVE *c, const POINT &P, double start, double scale, double &u) {
  POINT Q;
  if (N_gprpin(c, P, start, 1e-7, 0.0, &u, &Q)) return 1;
  KeepErrorState keep;
  double fine;
  if (N_gprpin(c, P, u, 4.0 * DBL_EPSILON * scale, 0.0, &fine, &Q) == 0) u = fine;
  return 0;
}

// A curve with at least three control points: the conic arc analysed.
bool conic_record(const CURVE *c) { return c && c->pol && c->pol->Pw && c->pol->n >= 2; }

int conic_type(double k) { return k > 1.0 + kTypeTol ? 1 : (k < 1.0 - kTypeTol ? 2 : 3); }

// Guarded q = num / den, error 11 under tag when refused.
int16_t quotient(double num, double den, double &q, const char *tag) {
  return guarded_quotient(num, den, q) ? 0 : fail(kErrFloat, tag);
}

// sqrt(num / den), error 11 when refused or negative.
int16_t root_of_quotient(double num, double den, double &r, const char *tag) {
  double q;
  if (quotient(num, den, q, tag)) return 1;
  if (!(q >= 0.0)) return fail(kErrFloat, tag);
  r = std::sqrt(q);
  return 0;
}

// The common start of the piecewise arcs: finite input (error 6), the angles
// normalised, the sweep split into the fewest segments of at most `most`
// degrees (a sweep lost to rounding is one segment), the output sized for p
// points per segment and degree p, and the circle set up.
int16_t start_pieces(const POINT &O, const VECTOR &X, const VECTOR &Y, double r, double a0,
                     double &a1, double most, int p, CURVE *curve, STACKS *ws, const char *tag,
                     Circle &c, int &segs) {
  if (!curve) return fail(kErrCurveDef, tag);
  if (check_finite(O, X, Y, {r, a0, a1}, tag)) return 1;
  normalise_angles(a0, a1);
  segs = std::max(1, static_cast<int>(std::ceil((a1 - a0) / most)));
  const int32_t n = p * segs;
  return U_curchk(curve, n, static_cast<int16_t>(p), n + p + 1, tag, ws) || c.set(O, X, Y, r);
}

}  // namespace

extern "C" {

int16_t N_concir(POINT O, VECTOR X, VECTOR Y, double r, double a0, double a1, int16_t form,
                 CURVE *curve, STACKS *ws) {
  switch (form) {
    case 2:
      return N_conci2(O, X, Y, r, a0, a1, curve, ws);
    case 4:
      return N_conci4(O, X, Y, r, a0, a1, curve, ws);
    case 5:
      return N_conci5(O, X, Y, r, a0, a1, curve, ws);
    default:
      return fail(kErrSelector, "N_CONCIR");
  }
}

int16_t N_conci2(POINT O, VECTOR X, VECTOR Y, double r, double a0, double a1, CURVE *curve,
                 STACKS *ws) {
  const char *tag = "N_CONCI2";
  Circle c;
  int segs;
  if (start_pieces(O, X, Y, r, a0, a1, 90.0, 2, curve, ws, tag, c, segs)) return 1;
  const double w = std::cos(radians((a1 - a0) / segs) / 2.0);
  CPOINT *Pw = curve->pol->Pw;
  Pw[0] = weighted(c.at(a0), 1.0);
  for (int i = 1; i <= segs; ++i) {
    QuadraticArc q;
    if (quadratic_arc(c, segment_end(a0, a1, i - 1, segs), segment_end(a0, a1, i, segs), q, tag))
      return 1;
    Pw[2 * i - 1] = weighted(q.Pm, w);
    Pw[2 * i] = weighted(q.P2, 1.0);
  }
  segment_knots(curve->knt->U, 2, segs);
  return 0;
}

int16_t N_conci4(POINT O, VECTOR X, VECTOR Y, double r, double a0, double a1, CURVE *curve,
                 STACKS *ws) {
  const char *tag = "N_CONCI4";
  Circle c;
  int segs;
  if (start_pieces(O, X, Y, r, a0, a1, 120.0, 4, curve, ws, tag, c, segs)) return 1;
  // The quadratic arc of each segment reparameterised so that the angles
  // ds/4, ds/2 and 3ds/4 fall on the parameters 1/4, 1/2 and 3/4.
  const double ds = (a1 - a0) / segs, w = std::cos(radians(ds) / 2.0);
  double t1, t2, k, m;
  if (!base_parameter(ds, 0.25, w, t1) || !base_parameter(ds, 0.75, w, t2) ||
      quotient(-(10.0 * (t1 - t2) + 8.0), 6.0 * (t1 - t2), k, tag) != 0)
    return fail(kErrFloat, tag);
  m = ((6.0 * k + 10.0) * t1 - 1.0) / 6.0;
  const double e = 2.0 * m * m / 3.0, g = (4.0 * m * m + 1.0) / 3.0;
  CPOINT *Pw = curve->pol->Pw;
  Pw[0] = weighted(c.at(a0), 1.0);
  for (int i = 1; i <= segs; ++i) {
    QuadraticArc q;
    if (quadratic_arc(c, segment_end(a0, a1, i - 1, segs), segment_end(a0, a1, i, segs), q, tag))
      return 1;
    const CPOINT P0 = weighted(q.P0, 1.0), Qm = weighted(q.Pm, w), P2 = weighted(q.P2, 1.0);
    CPOINT *seg = Pw + 4 * (i - 1);
    seg[1] = combine(m, P0, m, Qm);
    seg[2] = combine(1.0, combine(e, P0, g, Qm), e, P2);
    seg[3] = combine(m, Qm, m, P2);
    seg[4] = P2;
  }
  segment_knots(curve->knt->U, 4, segs);
  return 0;
}

int16_t N_conci5(POINT O, VECTOR X, VECTOR Y, double r, double a0, double a1, CURVE *curve,
                 STACKS *ws) {
  const char *tag = "N_CONCI5";
  if (!curve) return fail(kErrCurveDef, tag);
  if (check_finite(O, X, Y, {r, a0, a1}, tag)) return 1;
  if (U_curchk(curve, 5, 5, 11, tag, ws)) return 1;
  // The whole circle starts and ends at S, opposite the middle of the arc.
  if (a0 - a1 >= 360.0) a1 = a0 - std::fmod(a0 - a1, 360.0);  // within a turn below a0
  double mid = (a0 + a1) / 2.0;
  if (a0 < a1)
    mid += 180.0;
  else
    a1 += 360.0;
  if (a1 - a0 > 360.0) a1 = a0 + 360.0;
  Circle c;
  VECTOR T, u;
  if (c.set(O, X, Y, r)) return 1;
  if (!unit3(c.tangent(mid), T) ||
      !unit3(combine3(-std::cos(radians(mid)), c.X, -std::sin(radians(mid)), c.Y), u))
    return fail(kErrFloat, tag);
  const POINT S = c.at(mid);
  const POINT P[6] = {S,
                      add3<POINT>(S, scale3(4.0 * r, T)),
                      add3<POINT>(O, combine3(3.0 * r, u, 2.0 * r, T)),
                      add3<POINT>(O, combine3(3.0 * r, u, -2.0 * r, T)),
                      add3<POINT>(S, scale3(-4.0 * r, T)),
                      S};
  const double W[6] = {5.0, 1.0, 1.0, 1.0, 1.0, 5.0};
  const bool full = a1 - a0 == 360.0;
  LocalStacks local;
  CURVE whole;
  U_inicur(&whole);
  if (!full && U_getcur(&whole, 5, 5, 11, local)) return 1;
  CURVE *target = full ? curve : &whole;
  for (int i = 0; i <= 5; ++i) target->pol->Pw[i] = weighted(P[i], W[i]);
  segment_knots(target->knt->U, 5, 1);
  if (full) return 0;

  // The arc between a0 and a1 is cut out of the whole circle.
  auto start = [mid](double a) {
    const double d = std::fmod(a - mid, 360.0);
    return (d < 0.0 ? d + 360.0 : d) / 360.0;
  };
  const double scale = magnitude3(O) + std::fabs(r);
  double u0, u1;
  CURVE piece;
  U_inicur(&piece);
  if (invert(&whole, c.at(a0), start(a0), scale, u0) ||
      invert(&whole, c.at(a1), start(a1), scale, u1) ||
      N_toocsg(&whole, u0, u1, &piece, local, local))
    return 1;
  U_curkts(&piece, INTERVAL{0.0, 1.0});
  for (int i = 0; i <= 5; ++i) curve->pol->Pw[i] = piece.pol->Pw[i];
  for (int i = 0; i <= 11; ++i) curve->knt->U[i] = piece.knt->U[i];
  return 0;
}

int16_t N_conciw(double a0, double a1, int16_t form, double *weights, int32_t *n) {
  if (!weights || !n) return fail(kErrInconsistent, "N_CONCIW");
  LocalStacks local;
  CURVE c;
  U_inicur(&c);
  if (N_concir(POINT{0.0, 0.0, 0.0}, VECTOR{1.0, 0.0, 0.0}, VECTOR{0.0, 1.0, 0.0}, 1.0, a0, a1,
               form, &c, local))
    return 1;
  for (int32_t i = 0; i <= c.pol->n; ++i) weights[i] = c.pol->Pw[i].w;
  *n = c.pol->n;
  return 0;
}

int16_t N_concsc(POINT O, VECTOR X, VECTOR Y, double r, double a, CURVE *curve, STACKS *ws) {
  const char *tag = "N_CONCSC";
  if (!curve) return fail(kErrCurveDef, tag);
  if (check_finite(O, X, Y, {r, a}, tag)) return 1;
  Circle c;
  if (U_curchk(curve, 3, 3, 7, tag, ws) || c.set(O, X, Y, r)) return 1;
  VECTOR T;
  if (!unit3(c.tangent(a), T)) return fail(kErrFloat, tag);
  const POINT S = c.at(a), S2 = combine3<POINT>(2.0, O, -1.0, S);
  CPOINT *Pw = curve->pol->Pw;
  Pw[0] = weighted(S, 1.0);
  Pw[1] = weighted(add3<POINT>(S, scale3(2.0 * r, T)), 1.0 / 3.0);
  Pw[2] = weighted(add3<POINT>(S2, scale3(2.0 * r, T)), 1.0 / 3.0);
  Pw[3] = weighted(S2, 1.0);
  segment_knots(curve->knt->U, 3, 1);
  return 0;
}

int16_t N_conell(POINT O, VECTOR X, VECTOR Y, double ra, double rb, double a0, double a1,
                 int16_t form, CURVE *curve, STACKS *ws) {
  const char *tag = "N_CONELL";
  if (!curve) return fail(kErrCurveDef, tag);
  if (check_finite(O, X, Y, {ra, rb, a0, a1}, tag)) return 1;
  if (G_vecnip(&X) || G_vecnip(&Y)) return 1;
  if (std::fabs(a1 - a0) > 360.0) return fail(kErrInconsistent, tag);
  double ratio;
  if (quotient(rb, ra, ratio, tag)) return 1;
  // The ellipse is the circle of radius ra at the same angles, shrunk
  // towards the major axis by rb / ra.
  auto reduce = [](double a) {
    const double d = std::fmod(a, 360.0);
    return d < 0.0 ? d + 360.0 : d;
  };
  if (N_concir(O, X, Y, ra, reduce(a0), reduce(a1), form, curve, ws)) return 1;
  CPOINT *Pw = curve->pol->Pw;
  for (int32_t i = 0; i <= curve->pol->n; ++i) {
    const POINT P = euclid(Pw[i]);
    const POINT F = add3<POINT>(O, scale3(dot3(sub3(P, O), X), X));
    Pw[i] = weighted(combine3<POINT>(1.0 - ratio, F, ratio, P), Pw[i].w);
  }
  return 0;
}

int16_t N_conarc(POINT P0, VECTOR T0, POINT P2, VECTOR T2, POINT P, CURVE *curve, STACKS *ws) {
  const char *tag = "N_CONARC";
  if (!curve) return fail(kErrCurveDef, tag);
  POINT P1;
  double w1, cosine;
  if (B_makcon(P0, T0, P2, T2, P, &P1, &w1) || G_veccos(T0, T2, &cosine)) return 1;
  if (!(w1 > -1.0)) return fail(kErrWeight, tag);
  const double c = -cosine;
  int segs = 1;
  if (w1 < 0.0)
    segs = c >= 0.0 ? 2 : 4;
  else if (w1 < 1.0 && c > 0.5)
    segs = 2;
  const int32_t n = 2 * segs;
  if (U_curchk(curve, n, 2, n + 3, tag, ws)) return 1;
  CPOINT *Pw = curve->pol->Pw;
  Pw[0] = weighted(P0, 1.0);
  Pw[n] = weighted(P2, 1.0);
  segment_knots(curve->knt->U, 2, segs);
  if (segs == 1) {
    Pw[1] = weighted(P1, w1);
    return 0;
  }
  // Split at the shoulder, and each half once more for four segments.
  const POINT whole[3] = {P0, P1, P2};
  POINT half[2][3];
  double wh[2];
  B_splcon(whole, w1, half[0], &wh[0], half[1], &wh[1]);
  const int per_half = segs / 2;
  for (int h = 0; h < 2; ++h) {
    CPOINT *out = Pw + 2 * per_half * h;
    if (per_half == 1) {
      out[1] = weighted(half[h][1], wh[h]);
      out[2] = weighted(half[h][2], 1.0);
      continue;
    }
    POINT Q[3], R[3];
    double wq, wr;
    B_splcon(half[h], wh[h], Q, &wq, R, &wr);
    out[1] = weighted(Q[1], wq);
    out[2] = weighted(Q[2], 1.0);
    out[3] = weighted(R[1], wr);
    out[4] = weighted(R[2], 1.0);
  }
  return 0;
}

int16_t N_consha(const CURVE *curve, double *k) {
  const char *tag = "N_CONSHA";
  if (!conic_record(curve)) return fail(kErrCurveDef, tag);
  if (!k) return fail(kErrInconsistent, tag);
  if (E_curwei(curve, tag)) return 1;
  if (!U_iscurr(curve)) {
    *k = 1.0;
    return 0;
  }
  const CPOINT *Pw = curve->pol->Pw;
  *k = (Pw[0].w * Pw[2].w) / (Pw[1].w * Pw[1].w);  // weights within [0.01, 10]
  return 0;
}

int16_t N_contyp(const CURVE *curve, int16_t *type) {
  if (!type) return fail(kErrInconsistent, "N_CONTYP");
  double k;
  if (N_consha(curve, &k)) return 1;
  *type = static_cast<int16_t>(conic_type(k));
  return 0;
}

int16_t N_conimp(const CURVE *curve, double *coef) {
  const char *tag = "N_CONIMP";
  if (!coef) return fail(kErrInconsistent, tag);
  double k;
  if (N_consha(curve, &k)) return 1;
  for (int32_t i = 0; i <= curve->pol->n; ++i) {
    const double z = curve->pol->Pw[i].z;
    if (z_valid(z) && z != 0.0) return fail(kErrInconsistent, tag);
  }
  const POINT P0 = euclid(curve->pol->Pw[0]), P1 = euclid(curve->pol->Pw[1]),
              P2 = euclid(curve->pol->Pw[2]);
  const double s = 1.0 / k, x1 = P1.x, y1 = P1.y;
  const double dx0 = P0.x - x1, dx2 = P2.x - x1, dy0 = P0.y - y1, dy2 = P2.y - y1;
  const double A = dy0 * dx2, B = dy2 * dx0, D = A - B, E = dx0 - dx2, F = dy2 - dy0;
  // With u = x - x1, v = y - y1 the arc satisfies
  //   (D + F u + E v)^2 - 4 s (dx2 v - dy2 u)(dy0 u - dx0 v) = 0,
  // that is c0 u^2 + c1 v^2 + c2 u v + 2 D F u + 2 D E v + D^2 = 0;
  // the translation back to x and y gives c3, c4 and c5.
  const double c0 = F * F + 4.0 * s * dy2 * dy0, c1 = E * E + 4.0 * s * dx2 * dx0;
  const double c2 = 2.0 * (F * E - 2.0 * s * (A + B));
  coef[0] = c0;
  coef[1] = c1;
  coef[2] = c2;
  coef[3] = 2.0 * (F * D - c0 * x1) - c2 * y1;
  coef[4] = 2.0 * (E * D - c1 * y1) - c2 * x1;
  coef[5] = c1 * y1 * y1 + (c2 * y1 + c0 * x1) * x1 + (D - 2.0 * (y1 * E + x1 * F)) * D;
  return 0;
}

int16_t N_congeo(const CURVE *curve, POINT *C, VECTOR *V1, VECTOR *V2, double *a, double *b) {
  const char *tag = "N_CONGEO";
  if (!C || !V1 || !V2 || !a || !b) return fail(kErrInconsistent, tag);
  double k;
  if (N_consha(curve, &k)) return 1;
  const CPOINT *Pw = curve->pol->Pw;
  const POINT P0 = euclid(Pw[0]), P1 = euclid(Pw[1]), P2 = euclid(Pw[2]);
  const VECTOR S = sub3(P0, P1), T = sub3(P2, P1), ST = add3(S, T);
  const double dSS = dot3(S, S), dST = dot3(S, T), dTT = dot3(T, T);
  const double g = dSS + 2.0 * dST + dTT;
  const int type = conic_type(k);
  if (type == 3) {  // vertex, axis direction and focus of the parabola
    double q[4];
    VECTOR axis;
    if (quotient(dST + dTT, g, q[0], tag) || quotient(dSS + dST, g, q[1], tag) ||
        quotient(dTT, g, q[2], tag) || quotient(dSS, g, q[3], tag) || !unit3(ST, axis))
      return fail(kErrFloat, tag);
    *C = add3<POINT>(P1, combine3(q[0] * q[0], S, q[1] * q[1], T));
    *V1 = axis;
    *V2 = add3(P1, combine3(q[2], S, q[3], T));
    return 0;
  }
  // Centre P1 + d (S + T). In the coordinates Y = C + x S + y T the conic is
  // x^2 + y^2 + (2 - 4/k) x y = 1/(k - 1); its axes solve the generalised
  // eigenproblem of that form against the Gram matrix of S and T, whose
  // eigenvalues are 2 L / k for the roots L of e L^2 + f L + 2 (k - 1).
  double d;
  if (quotient(k, 2.0 * (k - 1.0), d, tag)) return 1;
  const double e = 2.0 * (dSS * dTT - dST * dST);
  const double f = -(4.0 * dST + (dSS + dTT - 2.0 * dST) * k);
  double disc = f * f - 8.0 * (k - 1.0) * e;
  if (disc < 0.0 && disc >= -1e-8 * f * f) disc = 0.0;  // a circle, up to rounding
  if (!(disc >= 0.0)) return fail(kErrFloat, tag);
  const double h = -(f + std::copysign(std::sqrt(disc), f)) / 2.0;
  double L1, L2;
  if (quotient(h, e, L1, tag) || quotient(2.0 * (k - 1.0), h, L2, tag)) return 1;
  if (L1 > L2) std::swap(L1, L2);
  double ra, rb;
  if (root_of_quotient(d, L1, ra, tag) || root_of_quotient(type == 1 ? d : -d, L2, rb, tag))
    return 1;
  const VECTOR N = cross3(S, T);
  VECTOR v1, v2;
  if (type == 1 && std::fabs(ra - rb) < 1e-7 * ra) {
    // A circle: any direction is an axis. The radius comes from the double
    // root -f / (2e), free of the square root of a discriminant that is
    // zero only up to rounding.
    if (root_of_quotient(-2.0 * d * e, f, ra, tag)) return 1;
    if (!unit3(S, v1)) return fail(kErrFloat, tag);
    rb = ra;
  } else {
    const double lambda = 2.0 * L1 / k, off = 1.0 - 2.0 / k - lambda * dST;
    const VECTOR from_s = combine3(-off, S, 1.0 - lambda * dSS, T);
    const VECTOR from_t = combine3(1.0 - lambda * dTT, S, -off, T);
    const bool s_row = magnitude3(from_s) >= magnitude3(from_t);
    if (!unit3(s_row ? from_s : from_t, v1)) return fail(kErrFloat, tag);
  }
  if (!unit3(cross3(N, v1), v2)) return fail(kErrFloat, tag);
  *C = add3<POINT>(P1, scale3(d, ST));
  *V1 = v1;
  *V2 = v2;
  *a = ra;
  *b = rb;
  return 0;
}

}  // extern "C"
