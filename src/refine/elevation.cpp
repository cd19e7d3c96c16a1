// Degree elevation of curves and of one direction of surfaces, segment by
// segment: each Bezier segment is cut out by knot insertion, raised with the
// Bezier elevation matrix, and the knots inserted to cut it out are removed
// again while the result is written, so that every interior knot ends with
// its multiplicity raised by exactly t.
//
// The work is written once for a set of lines (one for a curve, one per
// column or row of a surface net): every ratio is computed once from the
// knots and applied to each line. The temporaries are line-major (line l
// owns a run of contiguous points) and are allocated once per call.
#include <algorithm>
#include <cmath>

#include "bezier/bezier_ops.hpp"
#include "refine/refine_common.hpp"

using namespace orvo::detail;

namespace {

// Temporaries of the segment loop: the sweep's segments (p+1 points per
// line) and the elevated ones (ph+1 per line).
struct Segments {
  int p, t, ph;
  int32_t lines;
  SegmentSweep sweep;
  CPOINT *ebpts;  // the elevated segment, ph+1 per line
  RMATRIX E;      // elevation matrix (ph+1) x (p+1)
  CPOINT *ebz(int32_t l) const { return ebpts + static_cast<int64_t>(l) * (ph + 1); }
};

int16_t make_segments(int p, int t, int32_t lines, STACKS *ws, Segments &S) {
  S.p = p;
  S.t = t;
  S.ph = p + t;
  S.lines = lines;
  S.ebpts = S.sweep.make(p, lines, ws) ? S_getc1d(lines * (S.ph + 1) - 1, ws) : nullptr;
  if (!S.ebpts) return 1;
  M_inirma(&S.E);
  return B_cdemat(static_cast<int16_t>(p), static_cast<int16_t>(t), &S.E, ws);
}

// Raises the degree of the lines P (degree p, knots U[0..m]) by t into the
// lines Q and the knots Uh; the sizes of Q and Uh follow from the number of
// spans. Fails with 11 (under tag) on a refused knot ratio.
int16_t elevate_lines(const double *U, int32_t m, Segments &S, const Lines &P, const Lines &Q,
                      double *Uh, const char *tag) {
  const int p = S.p, t = S.t, ph = S.ph;
  const int32_t L = S.lines;
  int32_t a = p, b = p + 1, r = -1, kind = ph + 1, cind = 1;
  double ua = U[p];
  std::fill(Uh, Uh + ph + 1, ua);
  S.sweep.start(P, Q);
  // For p >= 1 the domain has an interior span start, b = p+1 < m; a
  // degree-0 Bezier curve (m = 1) still needs its one segment.
  do {
    const int32_t first_b = b;
    while (b < m && U[b] == U[b + 1]) ++b;
    const int32_t mul = b - first_b + 1, oldr = r;
    const double ub = U[b];
    r = p - mul;
    const int32_t lbz = oldr > 0 ? (oldr + 2) / 2 : 1;
    const int32_t rbz = r > 0 ? ph - (r + 1) / 2 : ph;

    // Insert ub r times to cut out the segment [ua, ub].
    if (!S.sweep.cut(U, a, b, mul, r)) return fail(kErrFloat, tag);

    // Raise the segment.
    for (int32_t l = 0; l < L; ++l)
      if (B_cdegel(S.sweep.bez(l), static_cast<int16_t>(p), static_cast<int16_t>(t), &S.E, lbz, ph,
                   S.ebz(l)))
        return 1;

    // Remove ua oldr-1 times: the points before ua are already written to
    // Q, the ones after it are the start of the raised segment.
    if (oldr > 1) {
      int32_t first = kind - 2, last = kind;
      const double den = ub - ua;
      double bet;
      if (!knot_ratio(ub - Uh[kind - 1], den, bet)) return fail(kErrFloat, tag);
      for (int32_t tr = 1; tr < oldr; ++tr) {
        int32_t i = first, j = last, kj = j - kind + 1;
        while (j - i > tr) {
          if (i < cind) {
            double alf;
            if (!knot_ratio(ub - Uh[i], ua - Uh[i], alf)) return fail(kErrFloat, tag);
            for (int32_t l = 0; l < L; ++l) {
              const Line q = Q[l];
              q(i) = combine(alf, q(i), 1.0 - alf, q(i - 1));
            }
          }
          if (j >= lbz) {
            double gam = bet;
            if (j - tr <= kind - ph + oldr && !knot_ratio(ub - Uh[j - tr], den, gam))
              return fail(kErrFloat, tag);
            for (int32_t l = 0; l < L; ++l) {
              CPOINT *eb = S.ebz(l);
              eb[kj] = combine(gam, eb[kj], 1.0 - gam, eb[kj + 1]);
            }
          }
          ++i;
          --j;
          --kj;
        }
        --first;
        ++last;
      }
    }

    // Knot ua with its raised multiplicity, then the points of the segment.
    if (a != p)
      for (int32_t i = 0; i < ph - oldr; ++i) Uh[kind++] = ua;
    write_segments(
        Q, L, [&](int32_t l) { return S.ebz(l); }, lbz, rbz, cind);
    cind += rbz - lbz + 1;

    if (b < m) {
      S.sweep.advance(P, r, b);
      a = b;
      ++b;
      ua = ub;
    } else {
      std::fill(Uh + kind, Uh + kind + ph + 1, ub);
      break;
    }
  } while (b <= m);
  return 0;
}

// Copies every point of the lines P into Q (t = 0).
void copy_lines(int32_t n, const Lines &P, const Lines &Q) {
  for (int32_t l = 0; l < P.count; ++l)
    for (int32_t i = 0; i <= n; ++i) Q[l](i) = P[l](i);
}

// Highest indices after raising: n + t * nsp points and m + t * (nsp + 1)
// knots; refused (15) when they do not fit an int32.
int16_t raised_sizes(const KNOTVECTOR *knt, int p, int32_t n, int32_t t, int32_t &nh, int32_t &mh,
                     const char *tag) {
  int32_t nsp = 0;
  N_kntnsp(knt, static_cast<int16_t>(p), &nsp);
  const int64_t n64 = n + int64_t{t} * nsp, m64 = knt->m + int64_t{t} * (nsp + 1);
  if (m64 > INT32_MAX) return fail(kErrMemory, tag);
  nh = static_cast<int32_t>(n64);
  mh = static_cast<int32_t>(m64);
  return 0;
}

// The checks of both routines on the raised direction: 0 <= t and p + t at
// most MAXDEGREE (3), a well-formed knot vector (4).
int16_t check_raise(const KNOTVECTOR *knt, int p, int32_t t, const char *tag) {
  if (t < 0 || t > MAXDEGREE - p) return fail(kErrDegree, tag);
  return E_kntdef(knt, static_cast<int16_t>(p), tag);
}

// The raised lines, or a copy for t = 0; a non-finite result (overflow of
// huge coordinates) is refused with 11.
int16_t raise_or_copy(const KNOTVECTOR *knt, int p, int32_t t, int32_t n, const Lines &P,
                      const Lines &Q, double *Uh, int32_t nh, const char *tag) {
  if (t == 0) {
    copy_lines(n, P, Q);
    std::copy(knt->U, knt->U + knt->m + 1, Uh);
    return 0;
  }
  LocalStacks local;
  Segments S;
  if (make_segments(p, t, P.count, local, S) || elevate_lines(knt->U, knt->m, S, P, Q, Uh, tag))
    return 1;
  for (int32_t l = 0; l < Q.count; ++l)
    for (int32_t i = 0; i <= nh; ++i)
      if (!finite_point(Q[l](i))) return fail(kErrFloat, tag);
  return 0;
}

}  // namespace

extern "C" {

int16_t N_toocde(CURVE *c, int32_t t, CURVE *out, STACKS *ws_in, STACKS *ws_out) {
  const char *tag = "N_TOOCDE";
  if (check_refine_curve(c, tag) || check_raise(c->knt, c->p, t, tag)) return 1;
  const int p = c->p;
  int32_t nh = 0, mh = 0;
  if (raised_sizes(c->knt, p, c->pol->n, t, nh, mh, tag)) return 1;
  Output<CURVE> o(c, out, ws_in, ws_out, tag);
  if (o.prepare(CurveSize{nh, static_cast<int16_t>(p + t), mh})) return 1;
  CURVE *q = o.rec();
  if (raise_or_copy(c->knt, p, t, c->pol->n, curve_lines(c->pol->Pw), curve_lines(q->pol->Pw),
                    q->knt->U, nh, tag))
    return 1;
  o.commit();
  return 0;
}

int16_t N_toosde(SURFACE *s, int32_t t, int16_t dir, SURFACE *out, STACKS *ws_in, STACKS *ws_out) {
  const char *tag = "N_TOOSDE";
  if (check_refine_surface(s, tag) || check_direction(dir, tag)) return 1;
  const SurfaceAxis ax = surface_axis(s, dir);
  if (check_raise(ax.knt, ax.p, t, tag)) return 1;
  int32_t nh = 0, mh = 0;
  if (raised_sizes(ax.knt, ax.p, ax.n, t, nh, mh, tag)) return 1;
  const bool u_dir = dir == 1;
  const int32_t n = s->net->n, m = s->net->m;
  const auto ph = static_cast<int16_t>(ax.p + t);
  Output<SURFACE> o(s, out, ws_in, ws_out, tag);
  if (o.prepare(u_dir ? SurfaceSize{nh, m, ph, s->q, mh, s->knv->m}
                      : SurfaceSize{n, nh, s->p, ph, s->knu->m, mh}))
    return 1;
  SURFACE *q = o.rec();
  const Lines P = net_lines(s->net->Pw, dir, n, m);
  const Lines Q = net_lines(q->net->Pw, dir, q->net->n, q->net->m);
  if (raise_or_copy(ax.knt, ax.p, t, ax.n, P, Q, u_dir ? q->knu->U : q->knv->U, nh, tag)) return 1;
  const KNOTVECTOR *other = u_dir ? s->knv : s->knu;
  std::copy(other->U, other->U + other->m + 1, u_dir ? q->knv->U : q->knu->U);
  o.commit();
  return 0;
}

}  // extern "C"
