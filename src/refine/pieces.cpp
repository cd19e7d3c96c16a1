// Cutting curves and surfaces into pieces that are clamped B-splines of
// their own: all Bezier segments (patches), two halves at a parameter, the
// piece between two parameters, and the components of a curve between its
// joints. Every cut raises the multiplicity of the cut value to p by knot
// insertion, so each piece reproduces its part of the input exactly.
#include <algorithm>

#include "eval/kernels.hpp"
#include "refine/refine_common.hpp"

using namespace orvo::detail;

namespace {

// ---- Bezier decomposition ---------------------------------------------------
// The breakpoints of a decomposition and its blend ratios, computed once
// from the knots. Piece nb runs from U[a[nb]] to U[b[nb]] (b[nb] the last
// index of the run of its end value, of multiplicity mult[nb]); its end is
// made a Bezier end by inserting U[b] p - mult times. The first piece starts
// from the points of the first span, P[first-p .. first]; when the start of
// the domain U[p] has multiplicity s0 below p (an unclamped start) it is
// first inserted p - s0 times there as well.
struct Decomposition {
  int p = 0;
  int32_t count = 0;
  int32_t first = 0, s0 = 0;
  double *start = nullptr;  // (p - s0) rows of p+1
  int32_t *a = nullptr, *b = nullptr, *mult = nullptr;
  double *alphas = nullptr;  // count rows of p+1
  int32_t start_passes() const { return s0 < p ? p - s0 : 0; }
};

bool plan_decomposition(const KNOTVECTOR *knt, int p, int32_t count, STACKS *ws, Decomposition &d) {
  const double *U = knt->U;
  const int32_t m = knt->m;
  d.p = p;
  d.first = find_span(U, m, p, U[p], 1);
  d.s0 = 0;
  for (int32_t j = d.first; j >= 0 && U[j] == U[p]; --j) ++d.s0;
  const int32_t passes = d.start_passes();
  if (passes > 0 && !(d.start = S_getr1d(passes * (p + 1) - 1, ws))) return false;
  if (!(d.a = S_geti1d(count - 1, ws)) || !(d.b = S_geti1d(count - 1, ws)) ||
      !(d.mult = S_geti1d(count - 1, ws)) || !(d.alphas = S_getr1d(count * (p + 1) - 1, ws)))
    return false;

  const double lo = U[p];
  for (int32_t j = 1; j <= passes; ++j)
    for (int32_t i = 0; i <= p - j - d.s0; ++i) {
      const double x = U[d.first - p + j + i];
      d.start[(j - 1) * (p + 1) + i] = (lo - x) / (U[d.first + i + 1] - x);
    }

  int32_t a = d.first, b = d.first + 1, nb = 0;
  while (nb < count) {
    const int32_t i = b;
    while (b < m && U[b + 1] == U[b]) ++b;
    const int32_t mult = b - i + 1;
    d.a[nb] = a;
    d.b[nb] = b;
    d.mult[nb] = mult;
    double *al = d.alphas + nb * (p + 1);
    for (int32_t j = p; j > mult; --j) al[j - mult - 1] = (U[b] - U[a]) / (U[a + j] - U[a]);
    ++nb;
    if (U[b] >= U[m - p]) break;  // the end of the domain
    a = b;
    b = b + 1;
  }
  d.count = nb;
  return true;
}

// Decomposes one line P into the pieces; piece(nb) is the line that
// receives the p+1 points of piece nb. Consecutive pieces share their
// joining point exactly: the next piece's first points are copied from the
// current piece's last point as it is formed.
template <class PieceLine>
void decompose_line(const Decomposition &d, const Line &P, PieceLine piece) {
  const int p = d.p;
  Line Q = piece(0);
  for (int32_t i = 0; i <= p; ++i) Q(i) = P(d.first - p + i);
  for (int32_t j = 1; j <= d.start_passes(); ++j)
    for (int32_t i = 0; i <= p - j - d.s0; ++i) {
      const double a = d.start[(j - 1) * (p + 1) + i];
      Q(i) = combine(a, Q(i + 1), 1.0 - a, Q(i));
    }
  for (int32_t nb = 0; nb < d.count; ++nb) {
    const bool more = nb + 1 < d.count;
    const Line N = more ? piece(nb + 1) : Q;
    const int32_t mult = d.mult[nb], r = p - mult;
    const double *al = d.alphas + nb * (p + 1);
    for (int32_t j = 1; j <= r; ++j) {
      const int32_t s = mult + j;
      for (int32_t k = p; k >= s; --k) Q(k) = combine(al[k - s], Q(k), 1.0 - al[k - s], Q(k - 1));
      if (more) N(r - j) = Q(p);
    }
    if (!more) break;
    for (int32_t i = std::max<int32_t>(r, 0); i <= p; ++i) N(i) = P(d.b[nb] - p + i);
    Q = N;
  }
}

// Knots of a Bezier piece: its start value p+1 times, its end value p+1
// times.
void bezier_knots(double lo, double hi, int p, double *U) {
  std::fill(U, U + p + 1, lo);
  std::fill(U + p + 1, U + 2 * p + 2, hi);
}

// Number of Bezier pieces; a domain of no length has none and is refused
// (its knot vector cannot be valid).
int16_t piece_count(const KNOTVECTOR *knt, int p, int32_t &count, const char *tag) {
  N_kntnsp(knt, static_cast<int16_t>(p), &count);
  return count > 0 ? 0 : fail(kErrKnots, tag);
}

// ---- Splitting ----------------------------------------------------------------
// Checks and site of a split value: strictly inside the domain, with a
// multiplicity of at most p (a larger one leaves no point to share).
int16_t split_site(const KNOTVECTOR *knt, int p, double u, const char *tag, KnotSite &at) {
  if (E_endpar(knt, u, tag) || locate(knt, p, u, tag, at)) return 1;
  if (u <= knt->U[p] || at.s > p) return fail(kErrParameter, tag);
  return 0;
}

// ---- Components -------------------------------------------------------------
// Calls cut(v) for the start of the domain, every interior value whose knots
// have multiplicity p or more (a joint), and the end of the domain, in
// order; returns the number of calls.
template <class Cut>
int32_t joints(const KNOTVECTOR *knt, int p, Cut cut) {
  const double *U = knt->U;
  const int32_t m = knt->m;
  int32_t count = 0;
  cut(count++, U[p]);
  for (int32_t j = p + 1; j < m - p && U[j] < U[m - p];) {
    const int32_t i = j;
    while (j < m && U[j + 1] == U[j]) ++j;
    if (U[i] > U[p] && j - i + 1 >= p) cut(count++, U[i]);
    ++j;
  }
  cut(count++, U[m - p]);
  return count;
}

}  // namespace

extern "C" {

int16_t N_toocdc(CURVE *c, CURVE ***pieces, int32_t *last, STACKS *ws) {
  const char *tag = "N_TOOCDC";
  if (check_refine_curve(c, tag)) return 1;
  if (!pieces || !last) return fail(kErrInconsistent, tag);
  const int p = c->p;
  int32_t count;
  if (piece_count(c->knt, p, count, tag)) return 1;
  LocalStacks local;
  Decomposition d;
  if (!plan_decomposition(c->knt, p, count, local, d)) return 1;
  WorkspaceMark mark(ws);
  count = d.count;
  CURVE **out = S_getcu2(p, static_cast<int16_t>(p), 2 * p + 1, count - 1, ws);
  if (!out) {
    mark.rollback();
    return 1;
  }
  decompose_line(d, curve_lines(c->pol->Pw)[0],
                 [&](int32_t nb) { return curve_lines(out[nb]->pol->Pw)[0]; });
  for (int32_t nb = 0; nb < count; ++nb)
    bezier_knots(c->knt->U[d.a[nb]], c->knt->U[d.b[nb]], p, out[nb]->knt->U);
  *pieces = out;
  *last = count - 1;
  return 0;
}

int16_t N_toosdc(SURFACE *s, SURFACE ****patches, int32_t *last_u, int32_t *last_v, STACKS *ws) {
  const char *tag = "N_TOOSDC";
  if (check_refine_surface(s, tag)) return 1;
  if (!patches || !last_u || !last_v) return fail(kErrInconsistent, tag);
  const int p = s->p, q = s->q;
  const int32_t n = s->net->n, m = s->net->m;
  int32_t nu, nv;
  if (piece_count(s->knu, p, nu, tag) || piece_count(s->knv, q, nv, tag)) return 1;
  LocalStacks local;
  Decomposition du, dv;
  if (!plan_decomposition(s->knu, p, nu, local, du) ||
      !plan_decomposition(s->knv, q, nv, local, dv))
    return 1;
  // Strips: the u pieces of every column, strip iu in rows iu*(p+1) ..
  // iu*(p+1)+p.
  nu = du.count;
  nv = dv.count;
  CPOINT **strips = S_getc2d(nu * (p + 1) - 1, m, local);
  if (!strips) return 1;
  WorkspaceMark mark(ws);
  SURFACE ***out = S_getsu3(p, q, static_cast<int16_t>(p), static_cast<int16_t>(q), 2 * p + 1,
                            2 * q + 1, nu - 1, nv - 1, ws);
  if (!out) {
    mark.rollback();
    return 1;
  }
  const Lines cols = net_lines(s->net->Pw, 1, n, m);
  for (int32_t j = 0; j <= m; ++j)
    decompose_line(du, cols[j], [&](int32_t iu) {
      return Line{nullptr, strips + iu * (p + 1), true, j};
    });
  for (int32_t iu = 0; iu < nu; ++iu)
    for (int32_t i = 0; i <= p; ++i)
      decompose_line(dv, Line{nullptr, strips + iu * (p + 1), false, i}, [&](int32_t iv) {
        return Line{nullptr, out[iu][iv]->net->Pw, false, i};
      });
  const double *U = s->knu->U, *V = s->knv->U;
  for (int32_t iu = 0; iu < nu; ++iu)
    for (int32_t iv = 0; iv < nv; ++iv) {
      bezier_knots(U[du.a[iu]], U[du.b[iu]], p, out[iu][iv]->knu->U);
      bezier_knots(V[dv.a[iv]], V[dv.b[iv]], q, out[iu][iv]->knv->U);
    }
  *patches = out;
  *last_u = nu - 1;
  *last_v = nv - 1;
  return 0;
}

int16_t N_toocsp(CURVE *c, double u, CURVE *left, CURVE *right, STACKS *ws) {
  const char *tag = "N_TOOCSP";
  if (check_refine_curve(c, tag)) return 1;
  if (left == right) return fail(kErrInconsistent, tag);
  const int p = c->p;
  const int32_t n = c->pol->n, m = c->knt->m;
  KnotSite at;
  if (split_site(c->knt, p, u, tag, at)) return 1;
  const int32_t k = at.k, s = at.s;

  LocalStacks local;
  Insertion ins;
  CPOINT *R = line_scratch(p, local);
  if (!R || !plan_insertion(c->knt->U, p, at, p - s, u, local, ins)) return 1;
  Output<CURVE> lo(c, left, ws, ws, tag), hi(c, right, ws, ws, tag);
  if (lo.prepare(CurveSize{k - s, c->p, k - s + p + 1}) ||
      hi.prepare(CurveSize{n - k + p, c->p, m - k + p}))
    return 1;
  split_line(ins, n, curve_lines(c->pol->Pw)[0], curve_lines(lo.rec()->pol->Pw)[0],
             curve_lines(hi.rec()->pol->Pw)[0], R);
  split_knots(ins, m, lo.rec()->knt->U, hi.rec()->knt->U);
  hi.commit();
  lo.commit();
  return 0;
}

int16_t N_toossp(SURFACE *s, double t, int16_t dir, SURFACE *first, SURFACE *second, STACKS *ws) {
  const char *tag = "N_TOOSSP";
  if (check_refine_surface(s, tag) || check_direction(dir, tag)) return 1;
  if (first == second) return fail(kErrInconsistent, tag);
  const SurfaceAxis ax = surface_axis(s, dir);
  const int p = ax.p;
  KnotSite at;
  if (split_site(ax.knt, p, t, tag, at)) return 1;
  const int32_t k = at.k, sm = at.s;

  LocalStacks local;
  Insertion ins;
  CPOINT *R = line_scratch(p, local);
  if (!R || !plan_insertion(ax.knt->U, p, at, p - sm, t, local, ins)) return 1;
  const int32_t n = s->net->n, m = s->net->m, ru = s->knu->m, rv = s->knv->m;
  const int32_t nl = k - sm, nr = ax.n - k + p;               // highest point indices along
  const int32_t kl = k - sm + p + 1, kr = ax.knt->m - k + p;  // highest knot indices
  const bool u_dir = dir == 1;
  Output<SURFACE> lo(s, first, ws, ws, tag), hi(s, second, ws, ws, tag);
  if (lo.prepare(u_dir ? SurfaceSize{nl, m, s->p, s->q, kl, rv}
                       : SurfaceSize{n, nl, s->p, s->q, ru, kl}) ||
      hi.prepare(u_dir ? SurfaceSize{nr, m, s->p, s->q, kr, rv}
                       : SurfaceSize{n, nr, s->p, s->q, ru, kr}))
    return 1;
  SURFACE *a = lo.rec(), *b = hi.rec();
  const Lines P = net_lines(s->net->Pw, dir, n, m);
  const Lines A = net_lines(a->net->Pw, dir, a->net->n, a->net->m);
  const Lines B = net_lines(b->net->Pw, dir, b->net->n, b->net->m);
  for (int32_t line = 0; line < P.count; ++line)
    split_line(ins, ax.n, P[line], A[line], B[line], R);
  split_knots(ins, ax.knt->m, u_dir ? a->knu->U : a->knv->U, u_dir ? b->knu->U : b->knv->U);
  const KNOTVECTOR *other = u_dir ? s->knv : s->knu;
  for (SURFACE *half : {a, b})
    std::copy(other->U, other->U + other->m + 1, u_dir ? half->knv->U : half->knu->U);
  hi.commit();
  lo.commit();
  return 0;
}

int16_t N_toocsg(CURVE *c, double u_lo, double u_hi, CURVE *out, STACKS *ws_in, STACKS *ws_out) {
  const char *tag = "N_TOOCSG";
  if (check_refine_curve(c, tag)) return 1;
  return segment_curve(c, u_lo, u_hi, out, ws_in, ws_out, tag);
}

int16_t N_toossg(SURFACE *s, double u_lo, double u_hi, double v_lo, double v_hi, SURFACE *out,
                 STACKS *ws_in, STACKS *ws_out) {
  const char *tag = "N_TOOSSG";
  if (check_refine_surface(s, tag)) return 1;
  return segment_surface(s, u_lo, u_hi, v_lo, v_hi, out, ws_in, ws_out, tag);
}

}  // extern "C"

namespace orvo::detail {

int16_t segment_curve(CURVE *c, double u_lo, double u_hi, CURVE *out, STACKS *ws_in, STACKS *ws_out,
                      const char *tag) {
  const int p = c->p;
  LocalStacks local;
  Segment seg;
  if (plan_segment(c->knt, p, u_lo, u_hi, local, tag, seg)) return 1;
  Output<CURVE> o(c, out, ws_in, ws_out, tag);
  if (o.prepare(CurveSize{seg.nq, c->p, seg.nq + p + 1})) return 1;
  segment_line(seg, curve_lines(c->pol->Pw)[0], curve_lines(o.rec()->pol->Pw)[0]);
  segment_knots(seg, o.rec()->knt->U);
  o.commit();
  return 0;
}

int16_t segment_surface(SURFACE *s, double u_lo, double u_hi, double v_lo, double v_hi,
                        SURFACE *out, STACKS *ws_in, STACKS *ws_out, const char *tag) {
  if (!(u_lo < u_hi) || !(v_lo < v_hi)) return fail(kErrInconsistent, tag);
  const int32_t n = s->net->n, m = s->net->m;
  LocalStacks local;
  Segment su, sv;
  if (plan_segment(s->knu, s->p, u_lo, u_hi, local, tag, su) ||
      plan_segment(s->knv, s->q, v_lo, v_hi, local, tag, sv))
    return 1;
  // The u piece of every column first, then the v piece of every row of it.
  CPOINT **T = S_getc2d(su.nq, m, local);
  if (!T) return 1;
  Output<SURFACE> o(s, out, ws_in, ws_out, tag);
  if (o.prepare(SurfaceSize{su.nq, sv.nq, s->p, s->q, su.nq + s->p + 1, sv.nq + s->q + 1}))
    return 1;
  SURFACE *q = o.rec();
  const Lines P = net_lines(s->net->Pw, 1, n, m), Tu = net_lines(T, 1, su.nq, m);
  for (int32_t j = 0; j <= m; ++j) segment_line(su, P[j], Tu[j]);
  const Lines Tv = net_lines(T, 2, su.nq, m), Q = net_lines(q->net->Pw, 2, su.nq, sv.nq);
  for (int32_t i = 0; i <= su.nq; ++i) segment_line(sv, Tv[i], Q[i]);
  segment_knots(su, q->knu->U);
  segment_knots(sv, q->knv->U);
  o.commit();
  return 0;
}

}  // namespace orvo::detail

extern "C" {

int16_t N_tooccp(CURVE *c, CURVE ***parts, int32_t *last, STACKS *ws) {
  const char *tag = "N_TOOCCP";
  if (check_refine_curve(c, tag)) return 1;
  if (!parts || !last) return fail(kErrInconsistent, tag);
  const int p = c->p;
  int32_t spans;
  if (piece_count(c->knt, p, spans, tag)) return 1;
  LocalStacks local;
  const int32_t count = joints(c->knt, p, [](int32_t, double) {}) - 1;
  double *cuts = S_getr1d(count, local);
  if (!cuts) return 1;
  joints(c->knt, p, [&](int32_t k, double v) { cuts[k] = v; });

  WorkspaceMark mark(ws);
  CURVE **out = S_getcua(count - 1, ws);
  if (!out) {
    mark.rollback();
    return 1;
  }
  for (int32_t k = 0; k < count; ++k) {
    LocalStacks scratch;
    Segment seg;
    CURVE *piece = nullptr;
    if (plan_segment(c->knt, p, cuts[k], cuts[k + 1], scratch, tag, seg) ||
        !(piece = S_getcur(seg.nq, static_cast<int16_t>(p), seg.nq + p + 1, ws))) {
      mark.rollback();
      return 1;
    }
    segment_line(seg, curve_lines(c->pol->Pw)[0], curve_lines(piece->pol->Pw)[0]);
    segment_knots(seg, piece->knt->U);
    out[k] = piece;
  }
  *parts = out;
  *last = count - 1;
  return 0;
}

}  // extern "C"
