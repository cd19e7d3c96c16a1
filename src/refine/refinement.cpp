// Knot refinement: a sorted list of knots X inserted into a curve, or into
// one direction of a surface, in one pass. The knots of the result and the
// blend ratios are worked out once from the knot vectors; the points are
// then formed line by line with those ratios.
#include <algorithm>
#include <cmath>

#include "eval/kernels.hpp"
#include "refine/refine_common.hpp"

using namespace orvo::detail;

namespace {

// Refinement of degree-p knots U[0..m] by X[0..r].
struct Refinement {
  const double *U;
  int p;
  const double *X;
  int32_t r;
  int32_t a, b;   // span of X[0]; one past the span of X[r]
  double *Ubar;   // the m+r+2 knots of the result
  double *alpha;  // ratio of step j and blend l = 1..p at [j * p + l - 1]; 0 copies
};

// Checks X against the knots and works out the result's knots and ratios
// (in ws). X must be non-empty (14), lie strictly inside the domain
// (U[p], U[m-p]) (6), never decrease (4) and raise no multiplicity above p
// (6): beyond that the blends are not defined.
int16_t plan_refinement(const KNOTVECTOR *knt, int p, const KNOTVECTOR *Xk, STACKS *ws,
                        const char *tag, Refinement &f) {
  if (!Xk || !Xk->U || Xk->m < 0) return fail(kErrInconsistent, tag);
  const double *U = knt->U, *X = Xk->U;
  const int32_t m = knt->m, r = Xk->m;
  if (E_endpar(knt, X[0], tag) || E_endpar(knt, X[r], tag)) return 1;
  if (!(X[0] > U[p] && X[r] < U[m - p])) return fail(kErrParameter, tag);
  if (static_cast<int64_t>(m) + r + 1 > INT32_MAX) return fail(kErrInconsistent, tag);
  for (int32_t j = 1; j <= r; ++j)
    if (!(X[j] >= X[j - 1])) return fail(kErrKnots, tag);
  for (int32_t j = 0; j <= r;) {
    int32_t e = j;
    while (e < r && X[e + 1] == X[j]) ++e;
    const auto run = std::equal_range(U, U + m + 1, X[j]);
    if ((e - j + 1) + (run.second - run.first) > p) return fail(kErrParameter, tag);
    j = e + 1;
  }

  f = Refinement{U, p, X, r, 0, 0, S_getr1d(m + r + 1, ws), nullptr};
  if (!f.Ubar) return 1;
  if (p > 0 && !(f.alpha = S_getr1d((r + 1) * p - 1, ws))) return 1;
  f.a = find_span(U, m, p, X[0], 1);
  f.b = find_span(U, m, p, X[r], 1) + 1;
  double *Ubar = f.Ubar;
  std::copy(U, U + f.a + 1, Ubar);
  std::copy(U + f.b + p, U + m + 1, Ubar + f.b + p + r + 1);
  int32_t i = f.b + p - 1, k = f.b + p + r;
  for (int32_t j = r; j >= 0; --j) {
    while (X[j] <= U[i] && i > f.a) Ubar[k--] = U[i--];
    for (int l = 1; l <= p; ++l) {
      const double num = Ubar[k + l] - X[j];
      double ratio = 0.0;
      if (std::fabs(num) > 0.0) {
        const double den = Ubar[k + l] - U[i - p + l];
        if (den == 0.0) return fail(kErrFloat, tag);
        ratio = num / den;
      }
      f.alpha[j * p + l - 1] = ratio;
    }
    Ubar[k--] = X[j];
  }
  return 0;
}

// The n+r+2 points of one refined line from the n+1 points of P.
void refine_line(const Refinement &f, int32_t n, const Line &P, const Line &Q) {
  const int p = f.p;
  const int32_t r = f.r, a = f.a, b = f.b;
  for (int32_t j = 0; j <= a - p; ++j) Q(j) = P(j);
  for (int32_t j = b - 1; j <= n; ++j) Q(j + r + 1) = P(j);
  int32_t i = b + p - 1, k = b + p + r;
  for (int32_t j = r; j >= 0; --j) {
    while (f.X[j] <= f.U[i] && i > a) {
      Q(k - p - 1) = P(i - p - 1);
      --k;
      --i;
    }
    Q(k - p - 1) = Q(k - p);
    for (int l = 1; l <= p; ++l) {
      const int32_t ind = k - p + l;
      const double al = f.alpha[j * p + l - 1];
      Q(ind - 1) = al == 0.0 ? Q(ind) : combine(al, Q(ind - 1), 1.0 - al, Q(ind));
    }
    --k;
  }
}

}  // namespace

extern "C" {

int16_t N_toocrf(CURVE *c, KNOTVECTOR *X, CURVE *out, STACKS *ws_in, STACKS *ws_out) {
  const char *tag = "N_TOOCRF";
  if (!X || X->m < 0) return fail(kErrInconsistent, tag);
  if (check_refine_curve(c, tag)) return 1;
  LocalStacks local;
  Refinement f;
  if (plan_refinement(c->knt, c->p, X, local, tag, f)) return 1;
  const int32_t n = c->pol->n, m = c->knt->m, r = X->m;
  Output<CURVE> o(c, out, ws_in, ws_out, tag);
  if (o.prepare(CurveSize{n + r + 1, c->p, m + r + 1})) return 1;
  CURVE *q = o.rec();
  refine_line(f, n, curve_lines(c->pol->Pw)[0], curve_lines(q->pol->Pw)[0]);
  std::copy(f.Ubar, f.Ubar + m + r + 2, q->knt->U);
  o.commit();
  return 0;
}

int16_t N_toosrf(SURFACE *s, KNOTVECTOR *X, int16_t dir, SURFACE *out, STACKS *ws_in,
                 STACKS *ws_out) {
  const char *tag = "N_TOOSRF";
  if (!X || X->m < 0) return fail(kErrInconsistent, tag);
  if (check_direction(dir, tag) || check_refine_surface(s, tag)) return 1;
  const SurfaceAxis ax = surface_axis(s, dir);
  LocalStacks local;
  Refinement f;
  if (plan_refinement(ax.knt, ax.p, X, local, tag, f)) return 1;
  const int32_t n = s->net->n, m = s->net->m, ru = s->knu->m, rv = s->knv->m, r1 = X->m + 1;
  const bool u_dir = dir == 1;
  Output<SURFACE> o(s, out, ws_in, ws_out, tag);
  if (o.prepare(SurfaceSize{u_dir ? n + r1 : n, u_dir ? m : m + r1, s->p, s->q,
                            u_dir ? ru + r1 : ru, u_dir ? rv : rv + r1}))
    return 1;
  SURFACE *q = o.rec();
  const Lines P = net_lines(s->net->Pw, dir, n, m);
  const Lines Q = net_lines(q->net->Pw, dir, q->net->n, q->net->m);
  for (int32_t k = 0; k < P.count; ++k) refine_line(f, ax.n, P[k], Q[k]);
  const KNOTVECTOR *other = u_dir ? s->knv : s->knu;
  std::copy(f.Ubar, f.Ubar + ax.knt->m + r1 + 1, u_dir ? q->knu->U : q->knv->U);
  std::copy(other->U, other->U + other->m + 1, u_dir ? q->knv->U : q->knu->U);
  o.commit();
  return 0;
}

}  // extern "C"
