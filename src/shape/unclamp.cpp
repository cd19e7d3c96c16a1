// Unclamping: the end knots of a clamped curve or surface direction are
// spread out (each end gets distinct knots continuing the spacing of the
// other end) and the first and last p-1 control points are changed so that
// the shape on the domain [U[p], U[n+1]] stays the same.
//
// The work is split into a plan and its application. The plan follows the
// knots through the algorithm and records the blend factor of every
// control-point update; it checks every division, so a knot vector that
// cannot be unclamped is refused before anything is written. The plan is
// then applied to the curve, or to every row or column of a surface.
#include <algorithm>
#include <cmath>

#include "shape/shape_ops.hpp"

using namespace orvo::detail;

namespace {

constexpr int kPlanSize = (MAXDEGREE - 1) * MAXDEGREE / 2;

struct UnclampPlan {
  double left[kPlanSize];   // factors b of Pw[j] = (1-b) Pw[j] + b Pw[j+1]
  double right[kPlanSize];  // factors g of Pw[n-j] = (1-g) Pw[n-j] + g Pw[n-j-1]
};

// q = a / b unless the floating-point guard refuses the division.
bool quotient(double a, double b, double &q) {
  if (M_chkfop(a, b, 4)) return false;
  q = a / b;
  return true;
}

bool is_finite(double x) { return std::isfinite(x); }

// A direction can be unclamped when both ends are clamped: p+1 equal knots.
bool clamped(const double *U, int32_t m, int p) { return U[0] == U[p] && U[m - p] == U[m]; }

// The plan for n+1 coefficients of degree p over the knots K[0..n+p+1].
// With evolve set, K holds the clamped vector and is turned into the
// unclamped one step by step, each factor taken from the knots of its
// moment; without, K already holds the final unclamped knots and is only
// read. False when a division is refused. Degree 0 has nothing to unclamp.
bool make_plan(double *K, int32_t n, int p, bool evolve, UnclampPlan &plan) {
  if (p == 0) return true;
  const int32_t m = n + p + 1;
  int t = 0;
  for (int i = 0; i <= p - 2; ++i) {
    if (evolve) K[p - i - 1] = K[p - i] - (K[n - i + 1] - K[n - i]);
    for (int j = i; j >= 0; --j) {
      const int32_t k = p + j - i - 1;
      double a, b;
      if (!quotient(K[p] - K[k], K[p + j + 1] - K[k], a) || !quotient(a, a - 1.0, b)) return false;
      plan.left[t++] = b;
    }
  }
  if (evolve) K[0] = K[1] - (K[n - p + 2] - K[n - p + 1]);
  t = 0;
  for (int i = 0; i <= p - 2; ++i) {
    if (evolve) K[n + i + 2] = K[n + i + 1] + (K[p + i + 1] - K[p + i]);
    for (int j = i; j >= 0; --j) {
      double a, g;
      if (!quotient(K[n + 1] - K[n - j], K[n - j + i + 2] - K[n - j], a) ||
          !quotient(a - 1.0, a, g))
        return false;
      plan.right[t++] = g;
    }
  }
  if (evolve) K[m] = K[m - 1] + (K[2 * p] - K[2 * p - 1]);
  return true;
}

// Applies a plan to the control points P(0..n) of one sequence.
template <class Acc>
void apply_plan(const UnclampPlan &plan, int32_t n, int p, Acc P) {
  int t = 0;
  for (int i = 0; i <= p - 2; ++i)
    for (int j = i; j >= 0; --j) {
      const double b = plan.left[t++];
      P(j) = combine(1.0 - b, P(j), b, P(j + 1));
    }
  t = 0;
  for (int i = 0; i <= p - 2; ++i)
    for (int j = i; j >= 0; --j) {
      const double g = plan.right[t++];
      P(n - j) = combine(1.0 - g, P(n - j), g, P(n - j - 1));
    }
}

// One direction to unclamp: the record's own knots (clamped), the number
// of coefficients and the degree; with given set the unclamped knots come
// from there (of the same highest index) and the own knots stay.
struct Direction {
  KNOTVECTOR *own;
  int32_t n;
  int p;
  const KNOTVECTOR *given;
};

// Plans one direction into a private copy of its knots. Errors: 4 for an
// end that is not clamped, 14 for given knots of another size, 11 for a
// refused division.
int16_t plan_direction(const Direction &d, UnclampPlan &plan, double *&K, STACKS *ws,
                       const char *tag) {
  const int32_t m = d.own->m;
  if (!clamped(d.own->U, m, d.p)) return fail(kErrKnots, tag);
  if (d.given && (!d.given->U || d.given->m != m)) return fail(kErrInconsistent, tag);
  K = S_getr1d(m, ws);
  if (!K) return 1;
  const double *from = d.given ? d.given->U : d.own->U;
  std::copy(from, from + m + 1, K);
  // Spread end knots beyond the doubles (a range near -DBL_MAX..DBL_MAX)
  // are refused like a refused division.
  if (!make_plan(K, d.n, d.p, !d.given, plan) || !std::all_of(K, K + m + 1, is_finite))
    return fail(kErrFloat, tag);
  return 0;
}

// Installs the unclamped knots of a direction that was unclamped on its own.
void commit_knots(const Direction &d, const double *K) {
  if (!d.given) std::copy(K, K + d.own->m + 1, d.own->U);
}

int16_t unclamp_curve(CURVE *cur, const KNOTVECTOR *given, const char *tag) {
  if (check_record(cur, tag)) return 1;
  LocalStacks ws;
  const Direction d{cur->knt, cur->pol->n, cur->p, given};
  UnclampPlan plan;
  double *K = nullptr;
  if (plan_direction(d, plan, K, ws, tag)) return 1;
  // The blends extrapolate: they go to a copy of the points first, and
  // points that leave the doubles are refused with the curve unchanged.
  CPOINT *Pw = cur->pol->Pw, *Q = S_getc1d(d.n, ws);
  if (!Q) return 1;
  std::copy(Pw, Pw + d.n + 1, Q);
  apply_plan(plan, d.n, d.p, [Q](int32_t i) -> CPOINT & { return Q[i]; });
  if (!finite_points(Q, d.n)) return fail(kErrFloat, tag);
  std::copy(Q, Q + d.n + 1, Pw);
  commit_knots(d, K);
  return 0;
}

// dir 1: u (every column), 2: v (every row), 3: both; other values leave
// the surface as it is.
int16_t unclamp_surface(SURFACE *sur, const KNOTVECTOR *given_u, const KNOTVECTOR *given_v,
                        int16_t dir, bool use_given, const char *tag) {
  if (check_record(sur, tag)) return 1;
  const bool in_u = dir == 1 || dir == 3, in_v = dir == 2 || dir == 3;
  if (!in_u && !in_v) return 0;
  LocalStacks ws;
  CNET *net = sur->net;
  const Direction du{sur->knu, net->n, sur->p, use_given ? given_u : nullptr};
  const Direction dv{sur->knv, net->m, sur->q, use_given ? given_v : nullptr};
  if (use_given && ((in_u && !given_u) || (in_v && !given_v))) return fail(kErrInconsistent, tag);
  // Both plans before any change, so a refusal leaves the surface intact.
  UnclampPlan pu, pv;
  double *Ku = nullptr, *Kv = nullptr;
  if ((in_u && plan_direction(du, pu, Ku, ws, tag)) ||
      (in_v && plan_direction(dv, pv, Kv, ws, tag)))
    return 1;
  // As for curves, the blends go to a copy of the net first.
  CPOINT **Pw = S_getc2d(net->n, net->m, ws);
  if (!Pw) return 1;
  bool finite = true;
  for (int32_t i = 0; i <= net->n; ++i) std::copy(net->Pw[i], net->Pw[i] + net->m + 1, Pw[i]);
  if (in_u)
    for (int32_t j = 0; j <= net->m; ++j)
      apply_plan(pu, du.n, du.p, [Pw, j](int32_t i) -> CPOINT & { return Pw[i][j]; });
  if (in_v)
    for (int32_t i = 0; i <= net->n; ++i)
      apply_plan(pv, dv.n, dv.p, [Pw, i](int32_t j) -> CPOINT & { return Pw[i][j]; });
  for (int32_t i = 0; i <= net->n; ++i) finite = finite && finite_points(Pw[i], net->m);
  if (!finite) return fail(kErrFloat, tag);
  for (int32_t i = 0; i <= net->n; ++i) std::copy(Pw[i], Pw[i] + net->m + 1, net->Pw[i]);
  if (in_u) commit_knots(du, Ku);
  if (in_v) commit_knots(dv, Kv);
  return 0;
}

}  // namespace

extern "C" {

int16_t N_curunc(CURVE *cur) { return unclamp_curve(cur, nullptr, "N_CURUNC"); }

int16_t N_curunu(CURVE *cur, const KNOTVECTOR *knt) {
  if (!knt) return fail(kErrInconsistent, "N_CURUNU");
  return unclamp_curve(cur, knt, "N_CURUNU");
}

int16_t N_surunc(SURFACE *sur, int16_t dir) {
  return unclamp_surface(sur, nullptr, nullptr, dir, false, "N_SURUNC");
}

int16_t N_suruuv(SURFACE *sur, const KNOTVECTOR *knu, const KNOTVECTOR *knv, int16_t dir) {
  return unclamp_surface(sur, knu, knv, dir, true, "N_SURUUV");
}

}  // extern "C"
