// Degree reduction of curves and of one direction of surfaces by one, while
// the shape moves by no more than a tolerance, and repeated reduction as far
// as an overall tolerance allows.
//
// The method mirrors degree elevation: each Bezier segment is cut out by
// knot insertion and reduced, and the knot at its start is then removed
// from the joint of the points already written and the reduced segment, so
// that every interior knot ends with its multiplicity lowered by one. An
// error budget is kept per span of the domain: the deviation of each
// reduced segment, plus, for every knot removal, the removal distance times
// the values of the degree p-1 basis functions on the knot vector of the
// curve being rewritten, which are exactly the functions the removal
// changes. The sum bounds how far the curve moves on the span, in weighted
// coordinates; for a rational record it is turned into a bound in model
// space with the weights and extent of the two records.
//
// The work is written once for a set of lines (one for a curve, one per
// column or row of a surface net) whose ratios come from the knots, and goes
// into a private record first: a refused reduction leaves input and output
// as they were.
#include <algorithm>
#include <cmath>

#include "eval/kernels.hpp"
#include "refine/refine_common.hpp"

using namespace orvo::detail;

namespace {

double distance(const CPOINT &a, const CPOINT &b) {
  double d = 0.0;
  G_discpo(a, b, &d);
  return d;
}

// The state of one reduction of the lines along one knot vector.
struct Reducer {
  const double *U;
  int32_t m;
  int p, ph;
  int32_t lines;
  double tol;  // in weighted coordinates
  double eps;  // of the basis-function extremum searches
  bool rational;
  SegmentSweep sweep;
  CPOINT *rbpts;  // the reduced segments, p+1 points per line
  double *A1, *B1, *A2, *B2;
  double *e;  // error of the span starting at U[i], i the end of its run
  double maxerr = 0.0;
  CPOINT *red(int32_t l) const { return rbpts + static_cast<int64_t>(l) * (p + 1); }
};

bool make_reducer(const KNOTVECTOR *knt, int p, int32_t lines, double tol, bool rational,
                  STACKS *ws, Reducer &R) {
  R.U = knt->U;
  R.m = knt->m;
  R.p = p;
  R.ph = p - 1;
  R.lines = lines;
  R.tol = tol;
  R.eps = std::fabs(knt->U[knt->m] - knt->U[0]) * 1e-5;
  R.rational = rational;
  // The sweep's segments, the reduced ones, and one block of reals (four
  // coefficient rows of p+1, then the span errors).
  double *reals = S_getr1d(4 * (p + 1) + R.m, ws);
  R.rbpts = reals && R.sweep.make(p, lines, ws) ? S_getc1d(lines * (p + 1) - 1, ws) : nullptr;
  if (!R.rbpts) return false;
  double **coef[] = {&R.A1, &R.B1, &R.A2, &R.B2};
  for (int k = 0; k < 4; ++k) *coef[k] = reals + k * (p + 1);
  R.e = reals + 4 * (p + 1);
  std::fill(R.e, R.e + R.m + 1, 0.0);
  B_degrco(static_cast<int16_t>(p), R.A1, R.B1, R.A2, R.B2);
  return true;
}

// Adds inc to the error of the span starting at the knot value v; false
// when the span's error leaves the tolerance (or is not a number).
bool add_error(Reducer &R, double v, double inc) {
  const int32_t i = static_cast<int32_t>(std::upper_bound(R.U, R.U + R.m + 1, v) - R.U) - 1;
  R.e[i] += inc;
  R.maxerr = std::max(R.maxerr, R.e[i]);
  return R.e[i] <= R.tol;
}

// Least and greatest value of N[i] of degree p per span of its support (0.0
// and 1.0 when they cannot be found).
void basis_extrema(const KNOTVECTOR *k, int32_t i, int p, double eps, double *mins, double *maxs) {
  KeepErrorState keep;
  double umax = 0.0;
  if (N_kntmma(k, i, static_cast<int16_t>(p), eps, mins, maxs, &umax) == 0) return;
  std::fill(mins, mins + p + 1, 0.0);
  std::fill(maxs, maxs + p + 1, 1.0);
}

// The k-th removal of the knot U[a] at a joint. The curve being rewritten
// has the knots T: the ones written so far, Uh[0..kind-1], then U[a] ph-k
// times and U[b] ph+1 times. When the fronts stop at i they meet at the
// point i-1 of that curve, or their estimates of the point i-2 cross.
struct Joint {
  const double *Uh;
  int32_t kind;
  int32_t a, b, k;
  double T(const Reducer &R, int32_t y) const {
    return y < kind ? Uh[y] : (y < kind + R.ph - k ? R.U[a] : R.U[b]);
  }
};

// Charges a removal of distance br to the spans it changes, with the degree
// ph basis functions N of T: the shape moves by br N[i-1] when the fronts
// meet, by br |c1 N[i-2] - c2 N[i-1]| when their estimates L and R cross and
// become w R + (1-w) L (c1 = w alpha[i-2], c2 = (1-w)(1 - alpha[i-1])).
// False when a span's budget runs out.
bool charge_removal(Reducer &R, const Joint &J, int32_t i, bool crossed, double c1, double c2,
                    double br) {
  const int ph = R.ph;
  const int32_t x0 = crossed ? i - 2 : i - 1, count = crossed ? ph + 2 : ph + 1;
  double LT[kBasisSize + 2], F[kBasisSize + 1];
  for (int32_t y = 0; y <= count; ++y) LT[y] = J.T(R, x0 + y);
  const KNOTVECTOR lk{count, LT};
  double mn1[kBasisSize], mx1[kBasisSize], mn2[kBasisSize], mx2[kBasisSize];
  basis_extrema(&lk, 0, ph, R.eps, mn1, mx1);
  if (!crossed) {
    std::copy(mx1, mx1 + ph + 1, F);
  } else {
    basis_extrema(&lk, 1, ph, R.eps, mn2, mx2);
    F[0] = c1 * mx1[0];
    for (int j = 1; j <= ph; ++j)
      F[j] = std::max(std::fabs(c1 * mx1[j] - c2 * mn2[j - 1]),
                      std::fabs(c2 * mx2[j - 1] - c1 * mn1[j]));
    F[ph + 1] = c2 * mx2[ph];
  }
  for (int32_t j = 0; j < count; ++j)
    if (LT[j] != LT[j + 1] && !add_error(R, LT[j], F[j] * br)) return false;
  return true;
}

// A new point is usable: finite, and for a rational line its weight within
// [MINWEIGHT, MAXWEIGHT].
bool admissible(const Reducer &R, const CPOINT &q) {
  return finite_point(q) && (!R.rational || (q.w >= MINWEIGHT && q.w <= MAXWEIGHT));
}

enum class Step { kGo, kRefused, kFailed };

// Removes U[a] oldr times from the joint of the written points P and the
// reduced segments; cind becomes the index after the last point kept.
Step remove_at_joint(Reducer &R, const Lines &P, const double *Uh, int32_t kind, int32_t a,
                     int32_t b, int32_t oldr, int32_t &cind, const char *tag) {
  const double *U = R.U;
  const double ua = U[a], ub = U[b];
  int32_t first = kind, last = kind, i = kind;
  for (int32_t k = 0; k < oldr; ++k) {
    i = first;
    int32_t j = last, kj = j - kind;
    while (j - i > k) {
      if (i - 1 >= cind) {  // only points already written are rewritten
        fail(kErrInconsistent, tag);
        return Step::kFailed;
      }
      // ra = 1 / alfa and rb = 1 / (1 - beta) of the removal ratios
      // alfa = (U[a] - Uh[i-1]) / (U[b] - Uh[i-1]) and beta likewise at j-k-1.
      double ra, rb;
      if (!knot_ratio(ub - Uh[i - 1], ua - Uh[i - 1], ra) ||
          !knot_ratio(ub - Uh[j - k - 1], ub - ua, rb)) {
        fail(kErrFloat, tag);
        return Step::kFailed;
      }
      // P[i-1] = (P[i-1] - (1-alfa) P[i-2]) / alfa and rbpts[kj] =
      // (rbpts[kj] - beta rbpts[kj+1]) / (1-beta).
      for (int32_t l = 0; l < R.lines; ++l) {
        const Line q = P[l];
        CPOINT *rb_l = R.red(l);
        q(i - 1) = combine(ra, q(i - 1), 1.0 - ra, q(i - 2));
        rb_l[kj] = combine(rb, rb_l[kj], 1.0 - rb, rb_l[kj + 1]);
      }
      ++i;
      --j;
      --kj;
    }
    const bool crossed = j - i < k;
    double alpha = 0.0, alpha_prev = 0.0;
    if (!knot_ratio(ua - Uh[i - 1], ub - Uh[i - 1], alpha) ||
        (crossed && !knot_ratio(ua - Uh[i - 2], ub - Uh[i - 2], alpha_prev)) ||
        (crossed && !(alpha + alpha_prev > 0.0))) {
      fail(kErrFloat, tag);
      return Step::kFailed;
    }
    const double w = crossed ? alpha_prev / (alpha_prev + alpha) : 0.0;
    double br = 0.0;
    for (int32_t l = 0; l < R.lines; ++l) {
      const Line q = P[l];
      const CPOINT *rb_l = R.red(l);
      for (int32_t x = first - 1; x <= i - 2; ++x)
        if (!admissible(R, q(x))) return Step::kRefused;
      for (int32_t x = kj + 1; x <= last - kind; ++x)
        if (!admissible(R, rb_l[x])) return Step::kRefused;
      const CPOINT &L = q(i - 2), &Rt = rb_l[kj + 1];
      const double d =
          crossed ? distance(L, Rt) : distance(q(i - 1), combine(alpha, Rt, 1.0 - alpha, L));
      br = std::max(br, d);
    }
    if (!std::isfinite(br)) {
      fail(kErrFloat, tag);
      return Step::kFailed;
    }
    const Joint J{Uh, kind, a, b, k};
    if (!charge_removal(R, J, i, crossed, w * alpha_prev, (1.0 - w) * (1.0 - alpha), br))
      return Step::kRefused;
    // The two estimates of one point become their blend (both slots, so
    // whichever the writing keeps is the blend the budget was charged for).
    if (crossed)
      for (int32_t l = 0; l < R.lines; ++l) {
        const Line q = P[l];
        CPOINT *rb_l = R.red(l);
        rb_l[kj + 1] = q(i - 2) = combine(w, rb_l[kj + 1], 1.0 - w, q(i - 2));
      }
    --first;
    ++last;
  }
  cind = i - 1;
  return Step::kGo;
}

// Reduces the lines Q (degree p, knots U) into the lines P and the knots
// Uh[0..mh] (highest point index nh). refused is set when the error budget
// or the weights do not allow the reduction.
int16_t reduce_lines(Reducer &R, const Lines &Q, const Lines &P, int32_t nh, double *Uh, int32_t mh,
                     bool &refused, const char *tag) {
  const double *U = R.U;
  const int32_t m = R.m, L = R.lines;
  const int p = R.p, ph = R.ph;
  int32_t a = p, b = p + 1, r = -1, kind = ph + 1, cind = 1;
  refused = true;
  std::fill(Uh, Uh + ph + 1, U[p]);
  R.sweep.start(Q, P);
  while (b < m) {
    const int32_t first_b = b;
    while (b < m && U[b] == U[b + 1]) ++b;
    const int32_t mult = b - first_b + 1, oldr = r;
    r = p - mult;
    const int32_t lbz = oldr > 0 ? (oldr + 2) / 2 : 1;

    // Insert U[b] r times to cut out the segment [U[a], U[b]].
    if (!R.sweep.cut(U, a, b, mult, r)) return fail(kErrFloat, tag);

    // Reduce the segment; its deviation goes to the span's budget.
    double dev = 0.0;
    for (int32_t l = 0; l < L; ++l) {
      double d = 0.0;
      if (B_cdegre(R.sweep.bez(l), static_cast<int16_t>(p), R.A1, R.B1, R.A2, R.B2, R.red(l), &d))
        return 1;
      dev = std::max(dev, d);
    }
    if (!add_error(R, U[a], dev)) return 0;

    if (oldr > 0) {
      const Step st = remove_at_joint(R, P, Uh, kind, a, b, oldr, cind, tag);
      if (st == Step::kFailed) return 1;
      if (st == Step::kRefused) return 0;
    }
    // The knot U[a] with its lowered multiplicity, then the segment's points.
    const int32_t knots_in = a != p ? ph - oldr : 0;
    if (kind + knots_in + ph > mh || cind + ph - lbz > nh) return fail(kErrInconsistent, tag);
    for (int32_t i = 0; i < knots_in; ++i) Uh[kind++] = U[a];
    write_segments(
        P, L, [&](int32_t l) { return R.red(l); }, lbz, ph, cind);
    cind += ph - lbz + 1;

    if (b < m) {
      R.sweep.advance(Q, r, b);
      a = b;
      ++b;
    } else {
      std::fill(Uh + kind, Uh + kind + ph + 1, U[b]);
      kind += ph + 1;
    }
  }
  if (kind != mh + 1 || cind != nh + 1) return fail(kErrInconsistent, tag);
  for (int32_t l = 0; l < L; ++l)
    for (int32_t i = 0; i <= nh; ++i)
      if (!finite_point(P[l](i))) return fail(kErrFloat, tag);
  refused = false;
  return 0;
}

// ---- Records ------------------------------------------------------------------
int16_t check_input(const CURVE *c, int, const char *tag) { return check_refine_curve(c, tag); }
int16_t check_input(const SURFACE *s, int dir, const char *tag) {
  return check_refine_surface(s, tag) || check_direction(dir, tag);
}

SurfaceAxis axis_of(const CURVE *c, int) { return SurfaceAxis{c->knt, c->p, c->pol->n}; }
SurfaceAxis axis_of(const SURFACE *s, int dir) { return surface_axis(s, dir); }

Lines lines_of(const CURVE *c, int) { return curve_lines(c->pol->Pw); }
Lines lines_of(const SURFACE *s, int dir) {
  return net_lines(s->net->Pw, dir, s->net->n, s->net->m);
}

bool rational(const CURVE *c) { return U_iscurr(c) != 0; }
bool rational(const SURFACE *s) { return U_issurr(s) != 0; }

void weights_and_extent(const CURVE *c, double &wmin, double &dmax) {
  double wmax, dmin;
  N_curmwp(c, &wmin, &wmax, &dmin, &dmax);
}
void weights_and_extent(const SURFACE *s, double &wmin, double &dmax) {
  double wmax, dmin;
  N_surmwp(s, &wmin, &wmax, &dmin, &dmax);
}

// A private record of the reduced sizes along dir (ph, nh points, mh
// knots); a surface gets the other knot vector copied.
CURVE *reduced_record(const CURVE *c, int, int32_t nh, int32_t mh, STACKS *ws) {
  return S_getcur(nh, static_cast<int16_t>(c->p - 1), mh, ws);
}
SURFACE *reduced_record(const SURFACE *s, int dir, int32_t nh, int32_t mh, STACKS *ws) {
  const bool u = dir == 1;
  SURFACE *w =
      S_getsur(u ? nh : s->net->n, u ? s->net->m : nh, static_cast<int16_t>(s->p - u),
               static_cast<int16_t>(s->q - !u), u ? mh : s->knu->m, u ? s->knv->m : mh, ws);
  if (w) {
    const KNOTVECTOR *other = u ? s->knv : s->knu;
    std::copy(other->U, other->U + other->m + 1, (u ? w->knv : w->knu)->U);
  }
  return w;
}
KNOTVECTOR *axis_knots(CURVE *c, int) { return c->knt; }
KNOTVECTOR *axis_knots(SURFACE *s, int dir) { return dir == 1 ? s->knu : s->knv; }

int16_t copy_record(const CURVE *src, CURVE *dst, STACKS *ws) { return U_curcop(src, dst, ws); }
int16_t copy_record(const SURFACE *src, SURFACE *dst, STACKS *ws) { return U_surcop(src, dst, ws); }

// Model-space factor of a weighted-coordinate bound: a deviation of at most
// d of the weighted points moves the rational shape by at most
// d (1 + dmax) / w, dmax the greatest distance of a control point of the
// input from the origin and w the least weight of the reduced record's
// points (both records' weights are positive). 1 for a non-rational
// record, 0 when the weights do not allow a bound.
template <class Rec>
double model_factor(const Rec *in, const Rec *res) {
  if (!rational(in)) return 1.0;
  double wmin, dmax, wres, dres;
  weights_and_extent(in, wmin, dmax);
  weights_and_extent(res, wres, dres);
  if (!(wmin > 0.0) || !(wres > 0.0)) return 0.0;
  return (1.0 + dmax) / wres;
}

// Hands a result made in a private record over to the output: in place an
// unchanged record is left alone; otherwise fresh arrays (in place) or the
// checked or allocated output receive a copy.
template <class Rec>
int16_t deliver(Rec *in, Rec *out, Rec *work, bool changed, STACKS *ws_in, STACKS *ws_out,
                const char *tag) {
  if (out == in && !changed) return 0;
  Output<Rec> o(in, out, ws_in, ws_out, tag);
  if (o.prepare(size_of(work)) || copy_record(work, o.rec(), o.in_place() ? ws_in : ws_out))
    return 1;
  o.commit();
  return 0;
}

// One reduction of the degree along dir by one, within tol.
template <class Rec>
int16_t reduce_once(Rec *in, double tol, int dir, int16_t *reduced, Rec *out, double *maxerr,
                    STACKS *ws_in, STACKS *ws_out, const char *tag) {
  if (check_input(in, dir, tag)) return 1;
  if (!reduced || !maxerr) return fail(kErrInconsistent, tag);
  const SurfaceAxis ax = axis_of(in, dir);
  if (E_kntdef(ax.knt, static_cast<int16_t>(ax.p), tag)) return 1;
  *reduced = 0;
  *maxerr = 0.0;
  if (ax.p < 2) return 0;
  const bool rat = rational(in);
  double wmin = 1.0, dmax = 0.0;
  if (rat) {
    weights_and_extent(in, wmin, dmax);
    if (!(wmin > 0.0)) return fail(kErrWeight, tag);
  }
  // The tolerance in weighted coordinates.
  const double tol_w = tol * wmin / (1.0 + dmax);
  int32_t nsp = 0;
  N_kntnsp(ax.knt, static_cast<int16_t>(ax.p), &nsp);
  const int32_t nh = ax.n - nsp, mh = ax.knt->m - nsp - 1;

  LocalStacks local;
  Rec *work = reduced_record(in, dir, nh, mh, local);
  const Lines Q = lines_of(in, dir);
  Reducer R;
  if (!work || !make_reducer(ax.knt, ax.p, Q.count, tol_w, rat, local, R)) return 1;
  bool refused = true;
  if (reduce_lines(R, Q, lines_of(work, dir), nh, axis_knots(work, dir)->U, mh, refused, tag))
    return 1;
  double factor = refused ? (1.0 + dmax) / wmin : model_factor(in, work);
  if (!(factor > 0.0)) {
    refused = true;
    factor = (1.0 + dmax) / wmin;
  }
  *maxerr = R.maxerr * factor;
  if (refused || !(*maxerr <= tol)) return 0;
  if (deliver(in, out, work, true, ws_in, ws_out, tag)) return 1;
  *reduced = 1;
  return 0;
}

// ---- Reducing as far as a tolerance allows -------------------------------------
// Both routines reduce a private copy in place and hand it over at the end,
// so that a failure leaves input and output as they were.
CURVE *private_copy(const CURVE *c, STACKS *ws) {
  CURVE *w = S_getcur(c->pol->n, c->p, c->knt->m, ws);
  return w && U_curcop(c, w, ws) == 0 ? w : nullptr;
}
SURFACE *private_copy(const SURFACE *s, STACKS *ws) {
  SURFACE *w = S_getsur(s->net->n, s->net->m, s->p, s->q, s->knu->m, s->knv->m, ws);
  return w && U_surcop(s, w, ws) == 0 ? w : nullptr;
}

// The most reductions a record can take: its degrees down to 1.
constexpr int kMaxSteps = 2 * MAXDEGREE;

}  // namespace

extern "C" {

int16_t N_toocdr(CURVE *c, double tol, int16_t *reduced, CURVE *out, double *maxerr, STACKS *ws_in,
                 STACKS *ws_out) {
  return reduce_once(c, tol, 1, reduced, out, maxerr, ws_in, ws_out, "N_TOOCDR");
}

int16_t N_toosdr(SURFACE *s, double tol, int16_t dir, int16_t *reduced, SURFACE *out,
                 double *maxerr, STACKS *ws_in, STACKS *ws_out) {
  return reduce_once(s, tol, dir, reduced, out, maxerr, ws_in, ws_out, "N_TOOSDR");
}

int16_t N_toocda(CURVE *c, double tol, CURVE *out, STACKS *ws_in, STACKS *ws_out) {
  const char *tag = "N_TOOCDA";
  if (check_refine_curve(c, tag)) return 1;
  LocalStacks local;
  CURVE *work = private_copy(c, local);
  if (!work) return 1;
  double total = 0.0;
  bool changed = false;
  for (int step = 0; step < kMaxSteps && tol > total; ++step) {
    int16_t done = 0;
    double err = 0.0;
    if (N_toocdr(work, tol - total, &done, work, &err, local, local)) return 1;
    if (!done) break;
    changed = true;
    total += err;
  }
  return deliver(c, out, work, changed, ws_in, ws_out, tag);
}

int16_t N_toosda(SURFACE *s, double tol, SURFACE *out, STACKS *ws_in, STACKS *ws_out) {
  const char *tag = "N_TOOSDA";
  if (check_refine_surface(s, tag)) return 1;
  LocalStacks local;
  SURFACE *work = private_copy(s, local);
  if (!work) return 1;
  double total = 0.0;
  bool changed = false;
  int16_t flag[2] = {1, 1};  // direction still reducible
  int next = 1;
  // One step in direction next, which alternates while both directions
  // still reduce and stays on the one that does once the other stops.
  for (int step = 0; step < 2 * kMaxSteps && (flag[0] || flag[1]) && tol >= total; ++step) {
    double err = 0.0;
    int16_t &done = flag[next - 1];
    if (N_toosdr(work, tol - total, static_cast<int16_t>(next), &done, work, &err, local, local))
      return 1;
    if (done) {
      changed = true;
      total += err;
    }
    next = flag[0] && flag[1] ? 3 - next : (flag[0] ? 1 : 2);
  }
  return deliver(s, out, work, changed, ws_in, ws_out, tag);
}

}  // extern "C"
