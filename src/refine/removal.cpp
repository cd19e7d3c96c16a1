// Knot removal from curves and from one direction of surfaces while the
// shape moves by no more than a tolerance: one knot value up to a number of
// times, the removal bound of one knot run, and every removable knot.
//
// One removal step of the run of s equal knots ending at r takes the p-s+1
// points r-p .. r-s and computes p-s new ones from both ends towards the
// middle. When p-s is even the fronts meet at an old point P[i], which the
// step compares with its estimate X from the two sides; when odd they
// cross and give two estimates of one new point, which the step compares
// and blends. The distance d of either comparison, times the greatest
// value of the basis functions the change multiplies, bounds how far the
// shape moves.
//
// Every routine works on a private copy of the record and writes the result
// only when it is complete, so a failure leaves input and output as they
// were.
#include <algorithm>
#include <cmath>

#include "eval/kernels.hpp"
#include "refine/refine_common.hpp"

using namespace orvo::detail;

namespace {

// Bound of a knot that has been refused and is not to be tried again; an
// unset bound is the largest double.
constexpr double kBig = 1e25;
constexpr int kMaxPasses = MAXDEGREE / 2 + 1;

// The knots U[0..m] of degree p along which points 0..n of every line are
// removed.
struct Axis {
  double *U;
  int32_t m;
  int p;
  int32_t n;
  Lines lines;
};

Axis axis_of(CURVE *c, int) {
  return Axis{c->knt->U, c->knt->m, c->p, c->pol->n, curve_lines(c->pol->Pw)};
}

Axis axis_of(SURFACE *s, int dir) {
  const SurfaceAxis ax = surface_axis(s, dir);
  return Axis{ax.knt->U, ax.knt->m, ax.p, ax.n, net_lines(s->net->Pw, dir, s->net->n, s->net->m)};
}

// One point and one knot fewer along dir.
void drop_one(CURVE *c, int) { U_defcur(c, c->pol->n - 1, c->p, c->knt->m - 1); }

void drop_one(SURFACE *s, int dir) {
  const int32_t du = dir == 1, dv = dir == 2;
  U_defsur(s, s->net->n - du, s->net->m - dv, s->p, s->q, s->knu->m - du, s->knv->m - dv);
}

// Can the run of s knots ending at r be removed once? It must be a whole run
// (U[r-s] < U[r-s+1] = .. = U[r] < U[r+1]) of at most p+1 copies, and the
// points r-p-1 and r-s+1 that bracket the step must exist. Every index the
// step forms then stays inside the arrays and every divisor is positive.
bool removable(const Axis &a, int32_t r, int32_t s) {
  if (s < 1 || s > a.p + 1 || r - a.p - 1 < 0 || r - s + 1 > a.n || r >= a.m) return false;
  const double *U = a.U;
  return U[r - s] != U[r] && U[r - s + 1] == U[r] && U[r] != U[r + 1];
}

// The ratios of one removal step. Pass k computes the new point first+k
// from the left with A[k] (the reciprocal of alpha) and last-k from the
// right with B[k] (the reciprocal of 1 - alpha). The fronts stop at i; they
// cross (two estimates of the point i-1 from the left and i from the right)
// or meet at the old point P[i].
struct Step {
  int32_t r, s, first, last, i;
  int passes;
  bool crossed;
  double A[kMaxPasses], B[kMaxPasses];
  double alpha_prev, alpha;  // alpha of i-1 and of i
  // The crossed estimates L, R blend to w R + (1-w) L; P[i-1] and P[i] of
  // the curve re-refined then move by c1 |R-L| and c2 |R-L|.
  double w, c1, c2;
};

// False when a ratio overflows.
bool plan_step(const Axis &a, int32_t r, int32_t s, Step &st) {
  const double *U = a.U;
  const int p = a.p;
  const double u = U[r];
  st = Step{};
  st.r = r;
  st.s = s;
  st.first = r - p;
  st.last = r - s;
  int32_t i = st.first, j = st.last;
  int k = 0;
  for (; j - i > 0; ++i, --j, ++k) {
    const double ni = U[i + p + 1] - U[i], di = u - U[i];
    const double nj = U[j + p + 1] - U[j], dj = U[j + p + 1] - u;
    if (M_chkfop(ni, di, 4) || M_chkfop(nj, dj, 4)) return false;
    st.A[k] = ni / di;
    st.B[k] = nj / dj;
  }
  st.passes = k;
  st.i = i;
  st.crossed = j < i;
  // Both divisors are positive: U[i+p+1] > u >= U[i], U[i+p] >= u > U[i-1].
  st.alpha = (u - U[i]) / (U[i + p + 1] - U[i]);
  st.alpha_prev = (u - U[i - 1]) / (U[i + p] - U[i - 1]);
  return true;
}

void set_blend(Step &st, double w) {
  st.w = w;
  st.c1 = st.alpha_prev * w;
  st.c2 = (1.0 - st.alpha) * (1.0 - w);
}

// The blend that moves P[i-1] and P[i] equally (c1 == c2). Without a pass
// nothing is blended: P[i] stays and P[i-1] goes (w = 1).
double tight_blend(const Step &st) {
  if (st.passes == 0) return 1.0;
  return (1.0 - st.alpha) / (st.alpha_prev + 1.0 - st.alpha);
}

// The blend of the remove-all routines, in proportion to the two alphas.
double budget_blend(const Step &st) { return st.alpha_prev / (st.alpha_prev + st.alpha); }

// Temporary points per line: the two bracketing points and the new ones.
int temp_size(int p) { return p + 2; }

// Runs the fronts of one line into temp and returns the distance d of the
// step's comparison.
double run_line(const Step &st, const Line &P, CPOINT *temp) {
  const int32_t off = st.first - 1, jj = st.last - off;
  temp[0] = P(off);
  temp[jj + 1] = P(st.last + 1);
  for (int k = 0; k < st.passes; ++k) {
    temp[k + 1] = combine(st.A[k], P(st.first + k), 1.0 - st.A[k], temp[k]);
    temp[jj - k] = combine(st.B[k], P(st.last - k), 1.0 - st.B[k], temp[jj - k + 1]);
  }
  const CPOINT &L = temp[st.passes], &R = temp[jj - st.passes + 1];
  double d = 0.0;
  if (st.crossed) {
    G_discpo(L, R, &d);
  } else {
    G_discpo(P(st.i), combine(st.alpha, R, 1.0 - st.alpha, L), &d);
  }
  return d;
}

// Blends the crossed estimates (both take the blend, so whichever the
// closing of the gap keeps is the blend) and tests the new points: finite,
// and for a rational line weights within [MINWEIGHT, MAXWEIGHT].
bool finish_line(const Step &st, CPOINT *temp, bool rational) {
  const int32_t jj = st.last - st.first + 1;
  if (st.crossed && st.passes > 0) {
    CPOINT &L = temp[st.passes], &R = temp[jj - st.passes + 1];
    R = combine(st.w, R, 1.0 - st.w, L);
    L = R;
  }
  for (int k = 0; k < st.passes; ++k)
    for (const CPOINT &q : {temp[k + 1], temp[jj - k]}) {
      if (!finite_point(q)) return false;
      if (rational && !(q.w >= MINWEIGHT && q.w <= MAXWEIGHT)) return false;
    }
  return true;
}

// Writes the new points of every line, closes the gap at the point that
// goes and deletes one copy of the knot; the record's counts are the
// caller's.
void apply_step(const Axis &a, const Step &st, const CPOINT *temps) {
  const int32_t jj = st.last - st.first + 1, fout = (2 * st.r - a.p - st.s) / 2;
  for (int32_t l = 0; l < a.lines.count; ++l) {
    const Line P = a.lines[l];
    const CPOINT *temp = temps + l * temp_size(a.p);
    for (int k = 0; k < st.passes; ++k) {
      P(st.first + k) = temp[k + 1];
      P(st.last - k) = temp[jj - k];
    }
    for (int32_t k = fout + 1; k <= a.n; ++k) P(k - 1) = P(k);
  }
  std::copy(a.U + st.r + 1, a.U + a.m + 1, a.U + st.r);
}

// Greatest distance d over the lines l0..l1; false when one is not finite.
bool lines_bound(const Axis &a, const Step &st, int32_t l0, int32_t l1, CPOINT *temps,
                 double &bound) {
  bound = 0.0;
  for (int32_t l = l0; l <= l1; ++l) {
    const double d = run_line(st, a.lines[l], temps + l * temp_size(a.p));
    if (!std::isfinite(d)) return false;
    bound = std::max(bound, d);
  }
  return true;
}

// Blends and tests the new points of every line.
bool lines_admissible(const Axis &a, const Step &st, CPOINT *temps, bool rational) {
  for (int32_t l = 0; l < a.lines.count; ++l)
    if (!finish_line(st, temps + l * temp_size(a.p), rational)) return false;
  return true;
}

// Greatest value of N[i] (1.0 when it cannot be found).
double basis_max(const Axis &a, int32_t i, double eps) {
  KeepErrorState keep;
  KNOTVECTOR k{a.m, a.U};
  double nmax = 1.0, umax = 0.0;
  return N_kntmax(&k, i, static_cast<int16_t>(a.p), eps, &nmax, &umax) == 0 ? nmax : 1.0;
}

// Least and greatest value of N[i] per span of its support (0.0 and 1.0
// when they cannot be found).
void basis_extrema(const Axis &a, int32_t i, double eps, double *mins, double *maxs) {
  KeepErrorState keep;
  KNOTVECTOR k{a.m, a.U};
  double umax = 0.0;
  if (N_kntmma(&k, i, static_cast<int16_t>(a.p), eps, mins, maxs, &umax) == 0) return;
  std::fill(mins, mins + a.p + 1, 0.0);
  std::fill(maxs, maxs + a.p + 1, 1.0);
}

// The factor F of one step: d * F bounds how far the shape moves.
double step_factor(const Axis &a, const Step &st, double eps) {
  if (!st.crossed) return basis_max(a, st.i, eps);
  return std::max(st.c1 * basis_max(a, st.i - 1, eps), st.c2 * basis_max(a, st.i, eps));
}

// The tolerance in weighted coordinates: for a rational record tol *
// wmin / (1 + greatest distance of a control point from the origin).
double scaled_tolerance(const CURVE *c, double tol) {
  if (!U_iscurr(c)) return tol;
  double wmin, wmax, dmin, dmax;
  N_curmwp(c, &wmin, &wmax, &dmin, &dmax);
  return tol * wmin / (1.0 + dmax);
}

double scaled_tolerance(const SURFACE *s, double tol) {
  if (!U_issurr(s)) return tol;
  double wmin, wmax, dmin, dmax;
  N_surmwp(s, &wmin, &wmax, &dmin, &dmax);
  return tol * wmin / (1.0 + dmax);
}

double eps_of(const KNOTVECTOR *k) { return std::fabs(k->U[k->m] - k->U[0]) * 1e-5; }

// ---- Records ----------------------------------------------------------------
bool rational(const CURVE *c) { return U_iscurr(c) != 0; }
bool rational(const SURFACE *s) { return U_issurr(s) != 0; }
int16_t check_input(const CURVE *c, const char *tag) { return check_refine_curve(c, tag); }
int16_t check_input(const SURFACE *s, const char *tag) { return check_refine_surface(s, tag); }
int32_t line_count(const SURFACE *s) { return std::max(s->net->n, s->net->m) + 1; }
int32_t line_count(const CURVE *) { return 1; }
int max_degree(const CURVE *c) { return c->p; }
int max_degree(const SURFACE *s) { return std::max(s->p, s->q); }

// A private copy of a record.
CURVE *copy_of(const CURVE *c, STACKS *ws) {
  CURVE *w = S_getcur(c->pol->n, c->p, c->knt->m, ws);
  if (w) U_curcop(c, w, ws);
  return w;
}

SURFACE *copy_of(const SURFACE *s, STACKS *ws) {
  SURFACE *w = S_getsur(s->net->n, s->net->m, s->p, s->q, s->knu->m, s->knv->m, ws);
  if (w) U_surcop(s, w, ws);
  return w;
}

void copy_into(const CURVE *src, CURVE *dst) {
  std::copy(src->pol->Pw, src->pol->Pw + src->pol->n + 1, dst->pol->Pw);
  std::copy(src->knt->U, src->knt->U + src->knt->m + 1, dst->knt->U);
  U_defcur(dst, src->pol->n, src->p, src->knt->m);
}

void copy_into(const SURFACE *src, SURFACE *dst) {
  for (int32_t i = 0; i <= src->net->n; ++i)
    std::copy(src->net->Pw[i], src->net->Pw[i] + src->net->m + 1, dst->net->Pw[i]);
  std::copy(src->knu->U, src->knu->U + src->knu->m + 1, dst->knu->U);
  std::copy(src->knv->U, src->knv->U + src->knv->m + 1, dst->knv->U);
  U_defsur(dst, src->net->n, src->net->m, src->p, src->q, src->knu->m, src->knv->m);
}

// Hands the result over. In place, an unchanged record is left alone; a
// changed one is either rewritten in its own arrays (shrink false) or given
// fresh arrays of the new size, the old ones released from ws. A separate
// output is checked or allocated in ws with the result's sizes.
template <class Rec>
int16_t deliver(Rec *in, Rec *out, const Rec *work, bool changed, bool shrink, STACKS *ws,
                const char *tag) {
  if (out == in && !changed) return 0;
  if (out == in && !shrink) {
    copy_into(work, in);
    return 0;
  }
  Output<Rec> o(in, out, ws, ws, tag);
  if (o.prepare(size_of(work))) return 1;
  copy_into(work, o.rec());
  o.commit();
  return 0;
}

// ---- Removing one value ------------------------------------------------------
// Removes the run of s copies ending at r from the work record along dir
// up to num times, while the sum of the steps' bounds stays within tol;
// returns the number of copies taken out.
template <class Rec>
int32_t remove_value(Rec *w, int dir, int32_t r, int32_t s, int32_t num, double tol, double eps,
                     CPOINT *temps) {
  const bool rat = rational(w);
  double used = 0.0;
  int32_t t = 0;
  for (; t < num; ++t) {
    const Axis a = axis_of(w, dir);
    Step st;
    if (!removable(a, r - t, s - t) || !plan_step(a, r - t, s - t, st)) break;
    set_blend(st, tight_blend(st));
    double d = 0.0;
    if (!lines_bound(a, st, 0, a.lines.count - 1, temps, d)) break;
    const double moved = used + step_factor(a, st, eps) * d;
    if (!(moved <= tol) || !lines_admissible(a, st, temps, rat)) break;
    apply_step(a, st, temps);
    drop_one(w, dir);
    used = moved;
  }
  return t;
}

// The run end and multiplicity of u in U (s = 0 when u is not a knot).
void run_of(const KNOTVECTOR *k, double u, int32_t &r, int32_t &s) {
  const double *U = k->U;
  r = static_cast<int32_t>(std::upper_bound(U, U + k->m + 1, u) - U) - 1;
  s = 0;
  for (int32_t j = r; j >= 0 && U[j] == u; --j) ++s;
}

const KNOTVECTOR *knots_of(const CURVE *c, int) { return c->knt; }
const KNOTVECTOR *knots_of(const SURFACE *s, int dir) { return dir == 1 ? s->knu : s->knv; }

template <class Rec>
int16_t remove_knot(Rec *in, double u, int32_t num, double tol, int dir, int32_t *removed, Rec *out,
                    STACKS *ws, const char *tag) {
  if (check_input(in, tag) || check_direction(dir, tag)) return 1;
  if (!removed || !out || !ws) return fail(kErrInconsistent, tag);
  const KNOTVECTOR *knt = knots_of(in, dir);
  if (E_endpar(knt, u, tag)) return 1;
  int32_t r, s;
  run_of(knt, u, r, s);
  const double tol_w = scaled_tolerance(in, tol), eps = eps_of(knt);
  LocalStacks local;
  Rec *work = copy_of(in, local);
  CPOINT *temps = S_getc1d(line_count(in) * temp_size(max_degree(in)) - 1, local);
  if (!work || !temps) return 1;
  const int32_t t = remove_value(work, dir, r, s, std::min(num, s), tol_w, eps, temps);
  if (deliver(in, out, work, t > 0, false, ws, tag)) return 1;
  *removed = t;
  return 0;
}

// ---- Removal bounds ------------------------------------------------------------
// The greatest distance d of one removal of the run (r, s) along dir over
// the lines l0..l1.
template <class Rec>
int16_t bound_of(Rec *rec, int dir, int32_t r, int32_t s, int32_t l0, int32_t l1, double &bound,
                 const char *tag) {
  const Axis a = axis_of(rec, dir);
  if (!removable(a, r, s) || l0 < 0 || l1 < l0 || l1 >= a.lines.count) return fail(kErrIndex, tag);
  Step st;
  if (!plan_step(a, r, s, st)) return fail(kErrFloat, tag);
  LocalStacks local;
  CPOINT *temps = S_getc1d((l1 + 1) * temp_size(a.p) - 1, local);
  if (!temps) return 1;
  return lines_bound(a, st, l0, l1, temps, bound) ? 0 : fail(kErrFloat, tag);
}

// ---- Removing every removable knot ---------------------------------------------
// Multiplicity of the run ending at r.
int32_t run_length(const Axis &a, int32_t r) {
  int32_t s = 0;
  for (int32_t j = r; j >= 0 && a.U[j] == a.U[r]; --j) ++s;
  return s;
}

// Bound of the run ending at r in the current record (kBig when it cannot
// be removed or judged).
template <class Rec>
double run_bound(Rec *w, int dir, int32_t r, CPOINT *temps) {
  const Axis a = axis_of(w, dir);
  const int32_t s = run_length(a, r);
  Step st;
  double b = kBig;
  if (!removable(a, r, s) || !plan_step(a, r, s, st) ||
      !lines_bound(a, st, 0, a.lines.count - 1, temps, b))
    return kBig;
  return std::min(b, kBig);
}

// The state of the remove-all routines: per direction the bound Br of every
// run end (largest double elsewhere; kBig once refused), and the errors
// accumulated on every pair of spans, err(i, j) for the span i along u
// (along the curve) and j along v.
struct Budget {
  double *Br[2] = {nullptr, nullptr};
  bool active[2] = {false, false};
  double *err = nullptr;
  int32_t stride = 1;
  double &at(int dir, int32_t i, int32_t j) const {
    return dir == 1 ? err[i * stride + j] : err[j * stride + i];
  }
};

// The spans of non-zero length across dir: the single pseudo span 0 of a
// curve, the domain spans of the other knot vector of a surface.
template <class F>
void across(CURVE *, int, F f) {
  f(0);
}

template <class F>
void across(SURFACE *s, int dir, F f) {
  const Axis o = axis_of(s, 3 - dir);
  for (int32_t j = o.p; j <= o.m - o.p - 1; ++j)
    if (o.U[j] != o.U[j + 1]) f(j);
}

int32_t across_last(const CURVE *, int) { return 0; }
int32_t across_last(const SURFACE *s, int dir) { return knots_of(s, 3 - dir)->m; }

// Recomputes the bounds of the runs ending in lo..hi that are not refused.
template <class Rec>
void update_bounds(Rec *w, int dir, const Budget &b, int32_t lo, int32_t hi, CPOINT *temps) {
  const Axis a = axis_of(w, dir);
  double *Br = b.Br[dir - 1];
  for (int32_t r = std::max(lo, static_cast<int32_t>(a.p) + 1); r <= std::min(hi, a.n); ++r)
    if (a.U[r] != a.U[r + 1] && Br[r] != kBig) Br[r] = run_bound(w, dir, r, temps);
}

// How much the removal raises the error bound of each span it touches,
// per unit of d: e[k] for the span lo+k (lo = i of an even step, i-1 of a
// crossed one), from the extrema of the basis functions the change
// multiplies.
void span_increase(const Axis &a, const Step &st, double eps, double *e) {
  const int p = a.p;
  double mn1[kBasisSize], mx1[kBasisSize], mn2[kBasisSize], mx2[kBasisSize];
  if (!st.crossed) {
    basis_extrema(a, st.i, eps, mn1, mx1);
    std::copy(mx1, mx1 + p + 1, e);
    return;
  }
  basis_extrema(a, st.i - 1, eps, mn1, mx1);
  basis_extrema(a, st.i, eps, mn2, mx2);
  const double c1 = st.c1, c2 = st.c2;
  e[0] = c1 * mx1[0];
  for (int j = 1; j <= p; ++j)
    e[j] = std::max(std::fabs(c1 * mx1[j] - c2 * mn2[j - 1]),
                    std::fabs(c2 * mx2[j - 1] - c1 * mn1[j]));
  e[p + 1] = c2 * mx2[p];
}

// Tries the run with the smallest bound along dir; false (and the run
// refused) when the budget of a span or the new points do not allow it.
template <class Rec>
bool try_removal(Rec *w, int dir, int32_t r, double tol, double eps, const Budget &b,
                 CPOINT *temps) {
  double *Br = b.Br[dir - 1];
  const Axis a = axis_of(w, dir);
  const int32_t s = run_length(a, r);
  Step st;
  if (!removable(a, r, s) || !plan_step(a, r, s, st)) return false;
  set_blend(st, budget_blend(st));
  double e[kBasisSize + 1];
  span_increase(a, st, eps, e);
  const int32_t lo = st.crossed ? st.i - 1 : st.i, count = st.crossed ? a.p + 2 : a.p + 1;
  bool fits = true;
  for (int32_t k = 0; k < count; ++k)
    if (a.U[lo + k] != a.U[lo + k + 1])
      across(w, dir, [&](int32_t j) { fits = fits && b.at(dir, lo + k, j) + e[k] * Br[r] <= tol; });
  if (!fits) return false;
  for (int32_t k = 0; k < count; ++k)
    if (a.U[lo + k] != a.U[lo + k + 1])
      across(w, dir, [&](int32_t j) { b.at(dir, lo + k, j) += e[k] * Br[r]; });
  double d;
  if (!lines_bound(a, st, 0, a.lines.count - 1, temps, d) ||
      !lines_admissible(a, st, temps, rational(w)))
    return false;
  apply_step(a, st, temps);
  // The spans at the knot become one (a run of several copies loses a span
  // of length zero): the greater error stays.
  for (int32_t j = 0; j <= across_last(w, dir); ++j) {
    b.at(dir, r - 1, j) = std::max(b.at(dir, r - 1, j), b.at(dir, r, j));
    for (int32_t i = r; i < a.m; ++i) b.at(dir, i, j) = b.at(dir, i + 1, j);
  }
  std::copy(Br + r + 1, Br + a.m + 1, Br + r);
  Br[a.m] = DBL_MAX;
  drop_one(w, dir);
  return true;
}

// Removes the knots along the active directions, smallest bound first;
// returns whether any went.
template <class Rec>
bool remove_all(Rec *w, double tol, const double *eps, Budget &b, CPOINT *temps) {
  bool any = false;
  for (int d = 1; d <= 2; ++d)
    if (b.active[d - 1]) update_bounds(w, d, b, 0, INT32_MAX - 1, temps);
  for (;;) {
    // The smallest bound of each direction, the first run on ties; of
    // equal smallest bounds v wins.
    int dir = 0;
    int32_t r = -1;
    double best = DBL_MAX;
    for (int d = 1; d <= 2; ++d) {
      if (!b.active[d - 1]) continue;
      const Axis a = axis_of(w, d);
      const double *Br = b.Br[d - 1];
      const int32_t i = static_cast<int32_t>(std::min_element(Br + a.p + 1, Br + a.n + 1) - Br);
      if (dir == 0 || Br[i] <= best) {
        best = Br[i];
        r = i;
        dir = d;
      }
    }
    if (dir == 0 || best >= kBig) return any;
    if (!try_removal(w, dir, r, tol, eps[dir - 1], b, temps)) {
      b.Br[dir - 1][r] = kBig;
      continue;
    }
    any = true;
    const Axis a = axis_of(w, dir);
    if (a.n == a.p) b.active[dir - 1] = false;
    if (b.active[dir - 1]) update_bounds(w, dir, b, r - a.p - 1, r + a.p + 1, temps);
    // The lines across have changed: every bound of the other direction.
    const int other = 3 - dir;
    if (b.active[other - 1]) update_bounds(w, other, b, 0, INT32_MAX - 1, temps);
  }
}

template <class Rec>
int16_t remove_all_knots(Rec *in, double tol, int dirs, Rec *out, STACKS *ws, const char *tag) {
  if (check_input(in, tag)) return 1;
  if (dirs < 1 || dirs > 3) return fail(kErrSelector, tag);
  if (!out || !ws) return fail(kErrInconsistent, tag);
  LocalStacks local;
  Rec *work = copy_of(in, local);
  CPOINT *temps = S_getc1d(line_count(in) * temp_size(max_degree(in)) - 1, local);
  if (!work || !temps) return 1;
  Budget b;
  double eps[2] = {0.0, 0.0};
  const int32_t mu = knots_of(in, 1)->m, mv = across_last(in, 1);
  b.stride = mv + 1;
  b.err = S_getr1d((mu + 1) * (mv + 1) - 1, local);
  if (!b.err) return 1;
  std::fill(b.err, b.err + (mu + 1) * (mv + 1), 0.0);
  for (int d = 1; d <= 2; ++d) {
    if (!(dirs & d)) continue;
    const KNOTVECTOR *k = knots_of(in, d);
    eps[d - 1] = eps_of(k);
    if (!(b.Br[d - 1] = S_getr1d(k->m, local))) return 1;
    std::fill(b.Br[d - 1], b.Br[d - 1] + k->m + 1, DBL_MAX);
    b.active[d - 1] = axis_of(work, d).n > axis_of(work, d).p;
  }
  const bool any = remove_all(work, scaled_tolerance(in, tol), eps, b, temps);
  return deliver(in, out, work, any, true, ws, tag);
}

}  // namespace

extern "C" {

int16_t N_toocrm(CURVE *c, double u, int32_t num, double tol, int32_t *removed, CURVE *out,
                 STACKS *ws) {
  return remove_knot(c, u, num, tol, 1, removed, out, ws, "N_TOOCRM");
}

int16_t N_toosrm(SURFACE *s, double uv, int32_t num, double tol, int16_t dir, int32_t *removed,
                 SURFACE *out, STACKS *ws) {
  return remove_knot(s, uv, num, tol, dir, removed, out, ws, "N_TOOSRM");
}

int16_t N_toocrb(CURVE *c, int32_t r, int32_t s, double *bound) {
  const char *tag = "N_TOOCRB";
  if (check_input(c, tag)) return 1;
  if (!bound) return fail(kErrInconsistent, tag);
  double b = 0.0;
  if (bound_of(c, 1, r, s, 0, 0, b, tag)) return 1;
  *bound = b;
  return 0;
}

int16_t N_toosrb(SURFACE *s, int32_t r, int32_t mult, int32_t first_line, int32_t last_line,
                 int16_t dir, double *bound) {
  const char *tag = "N_TOOSRB";
  if (check_input(s, tag) || check_direction(dir, tag)) return 1;
  if (!bound) return fail(kErrInconsistent, tag);
  double b = 0.0;
  if (bound_of(s, dir, r, mult, first_line, last_line, b, tag)) return 1;
  if (*bound == DBL_MAX) *bound = -1.0;
  if (!(*bound >= b)) *bound = b;
  return 0;
}

int16_t N_toocra(CURVE *c, double tol, CURVE *out, STACKS *ws) {
  return remove_all_knots(c, tol, 1, out, ws, "N_TOOCRA");
}

int16_t N_toosra(SURFACE *s, double tol, int16_t dir, SURFACE *out, STACKS *ws) {
  return remove_all_knots(s, tol, dir, out, ws, "N_TOOSRA");
}

}  // extern "C"
