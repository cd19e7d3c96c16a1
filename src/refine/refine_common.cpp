// Shared pieces of the refinement tools: input checks, the workspace mark,
// knot sites, and the insertion, split and segment kernels on one line of
// control points.
#include "refine/refine_common.hpp"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "eval/kernels.hpp"

namespace orvo::detail {

namespace {

// The refinement tools divide by knot differences: the knots must be
// finite and sorted (error 4) and spread over less than half the largest
// double, so that no difference overflows (error 11).
int16_t check_knot_order(const KNOTVECTOR *knt, const char *tag) {
  const double *U = knt->U;
  const int32_t m = knt->m;
  for (int32_t i = 0; i < m; ++i)
    if (!(U[i] <= U[i + 1])) return fail(kErrKnots, tag);  // also refuses NaN
  if (!std::isfinite(U[0]) || !std::isfinite(U[m])) return fail(kErrKnots, tag);
  return U[m] - U[0] <= 0.5 * DBL_MAX ? 0 : fail(kErrFloat, tag);
}

// Ratios of `passes` insertion passes into ws; null (no allocation) when
// there are none.
double *ratio_table(int32_t passes, int p, STACKS *ws, bool &ok) {
  ok = true;
  if (passes <= 0) return nullptr;
  double *t = S_getr1d(passes * (p + 1) - 1, ws);
  ok = t != nullptr;
  return t;
}

}  // namespace

int16_t check_refine_curve(const CURVE *cur, const char *tag) {
  return check_curve(cur, tag) || check_knot_order(cur->knt, tag);
}

int16_t check_refine_surface(const SURFACE *sur, const char *tag) {
  if (!sur || !sur->net || !sur->net->Pw || !sur->knu || !sur->knu->U || !sur->knv || !sur->knv->U)
    return fail(kErrSurfaceDef, tag);
  if (check_degree(sur->p, tag) || check_degree(sur->q, tag)) return 1;
  const int32_t n = sur->net->n, m = sur->net->m;
  if (n < 0 || m < 0 || static_cast<int64_t>(sur->knu->m) != static_cast<int64_t>(n) + sur->p + 1 ||
      static_cast<int64_t>(sur->knv->m) != static_cast<int64_t>(m) + sur->q + 1)
    return fail(kErrSurfaceDef, tag);
  if (n < sur->p || m < sur->q) return fail(kErrInconsistent, tag);
  return check_knot_order(sur->knu, tag) || check_knot_order(sur->knv, tag);
}

// ---- Workspace mark ---------------------------------------------------------
void WorkspaceMark::set(STACKS *ws) {
  ws_ = ws;
  if (ws)
    for (int l = 0; l < ORVO_NLISTS; ++l) head_[l] = ws->head[l];
}

void WorkspaceMark::rollback() {
  if (!ws_) return;
  for (int l = 0; l < ORVO_NLISTS; ++l) {
    STACKNODE *const stop = head_[l];
    bool reachable = stop == nullptr;
    for (const STACKNODE *node = ws_->head[l]; node && !reachable; node = node->next)
      reachable = node == stop;
    if (!reachable) continue;
    while (ws_->head[l] != stop) {
      STACKNODE *node = ws_->head[l];
      ws_->head[l] = node->next;
      raw_free(node->block);
      raw_free(node);
    }
  }
  ws_ = nullptr;
}

// ---- Knot sites -------------------------------------------------------------
int16_t locate(const KNOTVECTOR *knt, int p, double u, const char *tag, KnotSite &site) {
  const double *U = knt->U;
  const int32_t m = knt->m;
  if (check_span_param(U, m, p, u, tag)) return 1;
  site.k = find_span(U, m, p, u, 1);
  site.s = 0;
  if (u == U[m - p])
    site.s = p + 1;
  else
    for (int32_t j = site.k; j >= 0 && U[j] == u; --j) ++site.s;
  return 0;
}

// ---- Knot insertion ---------------------------------------------------------
bool plan_insertion(const double *U, int p, KnotSite at, int32_t r, double u, STACKS *ws,
                    Insertion &ins) {
  bool ok;
  ins = Insertion{U, p, at, r, u, ratio_table(r, p, ws, ok)};
  if (!ok) return false;
  const int32_t k = at.k, s = at.s;
  for (int32_t j = 1; j <= r; ++j) {
    const int32_t L = k - p + j;
    double *row = ins.ratios + (j - 1) * (p + 1);
    for (int32_t i = 0; i <= p - j - s; ++i) row[i] = (u - U[L + i]) / (U[i + k + 1] - U[L + i]);
  }
  return true;
}

void insert_line(const Insertion &ins, int32_t n, const Line &P, const Line &Q, CPOINT *R) {
  const int p = ins.p;
  const int32_t k = ins.at.k, s = ins.at.s, r = ins.r;
  for (int32_t i = 0; i <= k - p; ++i) Q(i) = P(i);
  for (int32_t i = k - s; i <= n; ++i) Q(i + r) = P(i);
  for (int32_t i = 0; i <= p - s; ++i) R[i] = P(k - p + i);
  int32_t L = k - p;
  for (int32_t j = 1; j <= r; ++j) {
    L = k - p + j;
    for (int32_t i = 0; i <= p - j - s; ++i) {
      const double a = ins.alpha(j, i);
      R[i] = combine(a, R[i + 1], 1.0 - a, R[i]);
    }
    Q(L) = R[0];
    Q(k + r - j - s) = R[p - j - s];
  }
  for (int32_t i = L + 1; i <= k - s - 1; ++i) Q(i) = R[i - L];
}

void insert_knots(const Insertion &ins, int32_t m, double *UQ) {
  const double *U = ins.U;
  const int32_t k = ins.at.k, r = ins.r;
  for (int32_t i = 0; i <= k; ++i) UQ[i] = U[i];
  for (int32_t i = 1; i <= r; ++i) UQ[k + i] = ins.u;
  for (int32_t i = k + 1; i <= m; ++i) UQ[i + r] = U[i];
}

void split_line(const Insertion &ins, int32_t n, const Line &P, const Line &left, const Line &right,
                CPOINT *R) {
  const int p = ins.p;
  const int32_t k = ins.at.k, s = ins.at.s;
  for (int32_t i = 0; i <= k - p; ++i) left(i) = P(i);
  for (int32_t i = k - s; i <= n; ++i) right(p - k + i) = P(i);
  for (int32_t i = 0; i <= p - s; ++i) R[i] = P(k - p + i);
  for (int32_t j = 1; j <= p - s; ++j) {
    for (int32_t i = 0; i <= p - j - s; ++i) {
      const double a = ins.alpha(j, i);
      R[i] = combine(a, R[i + 1], 1.0 - a, R[i]);
    }
    left(k - p + j) = R[0];
    right(p - j - s) = R[p - j - s];
  }
}

void split_knots(const Insertion &ins, int32_t m, double *UL, double *UR) {
  const double *U = ins.U;
  const int p = ins.p;
  const int32_t k = ins.at.k, s = ins.at.s;
  for (int32_t i = 0; i <= k - s; ++i) UL[i] = U[i];
  for (int32_t i = 1; i <= p + 1; ++i) UL[k - s + i] = ins.u;
  for (int32_t i = 0; i <= p; ++i) UR[i] = ins.u;
  for (int32_t i = k + 1; i <= m; ++i) UR[i - k + p] = U[i];
}

// ---- Segments ---------------------------------------------------------------
int16_t plan_segment(const KNOTVECTOR *knt, int p, double lo, double hi, STACKS *ws,
                     const char *tag, Segment &seg) {
  if (!(lo < hi)) return fail(kErrInconsistent, tag);
  const double *U = knt->U;
  const int32_t m = knt->m;
  // The ends are found by the span search, whose name a parameter outside
  // the domain carries.
  const char *span_tag = "N_KNTFSM";
  if (check_span_param(U, m, p, hi, span_tag)) return 1;
  seg = Segment{};
  seg.U = U;
  seg.p = p;
  seg.lo = lo;
  seg.hi = hi;
  if (locate(knt, p, lo, span_tag, seg.a)) return 1;
  // hi: the last index whose knot does not exceed it, so that at the end of
  // the domain the whole end run counts (k2 = m for a clamped vector).
  int32_t k2;
  if (hi < U[m - p]) {
    k2 = find_span(U, m, p, hi, 1);
  } else {
    k2 = m - p;
    while (k2 < m && U[k2 + 1] == hi) ++k2;
  }
  int32_t s2 = 0;
  for (int32_t j = k2; j >= 0 && U[j] == hi; --j) ++s2;
  seg.b = KnotSite{k2, s2};
  const int32_t k1 = seg.a.k;
  seg.nq = k2 - s2 - k1 + p;

  bool ok_lo, ok_hi;
  seg.lo_ratios = ratio_table(seg.size_lo(), p, ws, ok_lo);
  seg.hi_ratios = ok_lo ? ratio_table(seg.size_hi(), p, ws, ok_hi) : nullptr;
  if (!ok_lo || !ok_hi) return 1;
  const int32_t s1 = seg.a.s;
  for (int32_t j = 1; j <= seg.size_lo(); ++j) {
    double *row = seg.lo_ratios + (j - 1) * (p + 1);
    for (int32_t i = 0; i <= p - j - s1; ++i) {
      const double x = U[k1 - p + j + i];
      row[i] = (lo - x) / (U[k1 + i + 1] - x);
    }
  }
  // Knots at or below lo are already cut away when hi is inserted: the
  // piece's own knots there are lo.
  for (int32_t j = 1; j <= seg.size_hi(); ++j) {
    double *row = seg.hi_ratios + (j - 1) * (p + 1);
    for (int32_t i = 0; i <= p - j - s2; ++i) {
      const double x = std::max(U[k2 - p + i + j], lo);
      row[i] = (hi - x) / (U[k2 + i + 1] - x);
    }
  }
  return 0;
}

void segment_line(const Segment &seg, const Line &P, const Line &Q) {
  const int p = seg.p;
  const int32_t k1 = seg.a.k, s1 = seg.a.s, s2 = seg.b.s, nq = seg.nq;
  for (int32_t i = 0; i <= nq; ++i) Q(i) = P(k1 - p + i);
  for (int32_t j = 1; j <= seg.size_lo(); ++j)
    for (int32_t i = 0; i <= p - j - s1; ++i) {
      const double a = seg.alpha_lo(j, i);
      Q(i) = combine(a, Q(i + 1), 1.0 - a, Q(i));
    }
  const int32_t c = nq - p + s2;
  for (int32_t j = 1; j <= seg.size_hi(); ++j)
    for (int32_t i = p - j - s2; i >= 0; --i) {
      const double a = seg.alpha_hi(j, i);
      Q(c + i + j) = combine(a, Q(c + i + j), 1.0 - a, Q(c + i + j - 1));
    }
}

void segment_knots(const Segment &seg, double *UQ) {
  const int p = seg.p;
  const int32_t k1 = seg.a.k, k2 = seg.b.k, s2 = seg.b.s;
  int32_t t = 0;
  for (int i = 0; i <= p; ++i) UQ[t++] = seg.lo;
  for (int32_t i = k1 + 1; i <= k2 - s2; ++i) UQ[t++] = seg.U[i];
  for (int i = 0; i <= p; ++i) UQ[t++] = seg.hi;
}

// ---- Segment sweeps ---------------------------------------------------------
bool SegmentSweep::make(int degree, int32_t count, STACKS *ws) {
  p = degree;
  lines = count;
  const int32_t np = count * (degree + 1) - 1;
  bpts = S_getc1d(np, ws);
  next = bpts ? S_getc1d(np, ws) : nullptr;
  alphas = next ? S_getr1d(degree, ws) : nullptr;
  return alphas != nullptr;
}

void SegmentSweep::start(const Lines &P, const Lines &Q) {
  for (int32_t l = 0; l < lines; ++l) {
    Q[l](0) = P[l](0);
    for (int i = 0; i <= p; ++i) bez(l)[i] = P[l](i);
  }
}

bool SegmentSweep::cut(const double *U, int32_t a, int32_t b, int32_t mult, int32_t r) {
  if (r <= 0) return true;
  for (int k = p; k > mult; --k)
    if (!knot_ratio(U[b] - U[a], U[a + k] - U[a], alphas[k - mult - 1])) return false;
  for (int32_t l = 0; l < lines; ++l) {
    CPOINT *bp = bez(l), *nx = nxt(l);
    for (int32_t j = 1; j <= r; ++j) {
      const int32_t s = mult + j;
      for (int k = p; k >= s; --k) {
        const double al = alphas[k - s];
        bp[k] = combine(al, bp[k], 1.0 - al, bp[k - 1]);
      }
      nx[r - j] = bp[p];
    }
  }
  return true;
}

void SegmentSweep::advance(const Lines &P, int32_t r, int32_t b) {
  for (int32_t l = 0; l < lines; ++l) {
    CPOINT *bp = bez(l);
    const CPOINT *nx = nxt(l);
    const Line pl = P[l];
    for (int32_t j = 0; j < r; ++j) bp[j] = nx[j];
    for (int32_t j = std::max<int32_t>(r, 0); j <= p; ++j) bp[j] = pl(b - p + j);
  }
}

}  // namespace orvo::detail
