// Compatible sets of curves and surfaces (one kind, one parameter interval,
// one degree and one knot vector per direction), coincidence tests built on
// them, and isoparametric curves of a surface.
#include <algorithm>
#include <cmath>

#include "eval/kernels.hpp"
#include "refine/refine_common.hpp"

using namespace orvo::detail;

namespace {

// The knots each of the vectors vector(0..n) lacks against their merge, in
// ws; null on failure (error state set by the callee).
template <class Get>
KNOTVECTOR **missing_knots(int32_t n, Get vector, STACKS *ws) {
  KNOTVECTOR **all = S_getkpa(n, ws);
  if (!all) return nullptr;
  for (int32_t i = 0; i <= n; ++i) all[i] = vector(i);
  KNOTVECTOR **add = nullptr;
  return N_kntmer(all, n, &add, ws) ? nullptr : add;
}

// Largest 4-D distance between corresponding control points of two lines
// of equal length, after the sets were made compatible.
double largest_distance(const CPOINT *a, const CPOINT *b, int32_t n) {
  double d = 0.0;
  for (int32_t i = 0; i <= n; ++i) {
    const CPOINT e = difference(a[i], b[i]);
    d = std::max(d, std::sqrt(dot(e, e)));
  }
  return d;
}

}  // namespace

extern "C" {

int16_t N_toocco(CURVE **curves, int32_t n, STACKS *ws) {
  const char *tag = "N_TOOCCO";
  if (!curves || n < 0 || !ws) return fail(kErrInconsistent, tag);
  for (int32_t i = 0; i <= n; ++i)
    if (check_refine_curve(curves[i], tag)) return 1;
  U_makcco(curves, n);
  int pmax = 0;
  for (int32_t i = 0; i <= n; ++i) {
    U_curkts(curves[i], INTERVAL{0.0, 1.0});
    pmax = std::max<int>(pmax, curves[i]->p);
  }
  for (int32_t i = 0; i <= n; ++i) {
    CURVE *c = curves[i];
    if (c->p < pmax && N_toocde(c, pmax - c->p, c, ws, ws)) return 1;
  }
  LocalStacks local;
  KNOTVECTOR **add = missing_knots(
      n, [&](int32_t i) { return curves[i]->knt; }, local);
  if (!add) return 1;
  for (int32_t i = 0; i <= n; ++i)
    if (add[i]->m >= 0 && N_toocrf(curves[i], add[i], curves[i], ws, ws)) return 1;
  return 0;
}

int16_t N_toosco(SURFACE **surfaces, int32_t n, STACKS *ws) {
  const char *tag = "N_TOOSCO";
  if (!surfaces || n < 0 || !ws) return fail(kErrInconsistent, tag);
  for (int32_t i = 0; i <= n; ++i)
    if (check_refine_surface(surfaces[i], tag)) return 1;
  U_maksco(surfaces, n);
  int pmax = 0, qmax = 0;
  for (int32_t i = 0; i <= n; ++i) {
    U_surkts(surfaces[i], RECTANGLE{0.0, 1.0, 0.0, 1.0}, 3);
    pmax = std::max<int>(pmax, surfaces[i]->p);
    qmax = std::max<int>(qmax, surfaces[i]->q);
  }
  for (int32_t i = 0; i <= n; ++i) {
    SURFACE *s = surfaces[i];
    if (s->p < pmax && N_toosde(s, pmax - s->p, 1, s, ws, ws)) return 1;
    if (s->q < qmax && N_toosde(s, qmax - s->q, 2, s, ws, ws)) return 1;
  }
  LocalStacks local;
  KNOTVECTOR **add_u = missing_knots(
      n, [&](int32_t i) { return surfaces[i]->knu; }, local);
  KNOTVECTOR **add_v = add_u ? missing_knots(
                                   n, [&](int32_t i) { return surfaces[i]->knv; }, local)
                             : nullptr;
  if (!add_v) return 1;
  for (int32_t i = 0; i <= n; ++i) {
    SURFACE *s = surfaces[i];
    if (add_u[i]->m >= 0 && N_toosrf(s, add_u[i], 1, s, ws, ws)) return 1;
    if (add_v[i]->m >= 0 && N_toosrf(s, add_v[i], 2, s, ws, ws)) return 1;
  }
  return 0;
}

int16_t U_arecuc(CURVE *cur1, CURVE *cur2, double tol, STACKS *ws) {
  CURVE *set[2] = {cur1, cur2};
  if (N_toocco(set, 1, ws)) return 0;
  if (cur1->pol->n != cur2->pol->n) return 0;
  return largest_distance(cur1->pol->Pw, cur2->pol->Pw, cur1->pol->n) <= tol ? 1 : 0;
}

int16_t U_aresuc(SURFACE *sur1, SURFACE *sur2, double tol, STACKS *ws) {
  SURFACE *set[2] = {sur1, sur2};
  if (N_toosco(set, 1, ws)) return 0;
  const int32_t n = sur1->net->n, m = sur1->net->m;
  if (sur2->net->n != n || sur2->net->m != m) return 0;
  for (int32_t i = 0; i <= n; ++i)
    if (!(largest_distance(sur1->net->Pw[i], sur2->net->Pw[i], m) <= tol)) return 0;
  return 1;
}

int16_t N_tooscx(SURFACE *s, double t, int16_t dir, CURVE *out, STACKS *ws) {
  const char *tag = "N_TOOSCX";
  if (check_refine_surface(s, tag) || check_direction(dir, tag)) return 1;
  // Along dir 1 the curve runs in u at v = t: its lines are the rows of the
  // net across v; dir 2 the other way round.
  const int across = dir == 1 ? 2 : 1;
  const SurfaceAxis cut = surface_axis(s, across), keep = surface_axis(s, dir);
  KnotSite at;
  if (locate(cut.knt, cut.p, t, tag, at)) return 1;
  if (!out || !ws) return fail(kErrInconsistent, tag);
  // Each point of the curve is the point at t of one line across: the basis
  // values at t are shared by every line. At a clamped end of the domain it
  // is the boundary line itself, copied exactly.
  const double *V = cut.knt->U;
  const int32_t mv = cut.knt->m;
  const int q = cut.p;
  double N[kBasisSize];
  const int32_t span = span_and_basis(V, mv, q, t, 1, N);
  if (span < 0) return fail(kErrFloat, tag);
  if (U_curchk(out, keep.n, static_cast<int16_t>(keep.p), keep.knt->m, tag, ws)) return 1;
  const Lines lines = net_lines(s->net->Pw, across, s->net->n, s->net->m);
  for (int32_t i = 0; i < lines.count; ++i) {
    const Line L = lines[i];
    CPOINT &P = out->pol->Pw[i];
    if (t == V[q] && V[0] == V[q]) {
      P = L(0);
    } else if (t == V[mv - q] && V[mv - q] == V[mv]) {
      P = L(cut.n);
    } else {
      P = kZeroCpoint;
      for (int j = 0; j <= q; ++j) accumulate(P, N[j], L(span - q + j));
    }
  }
  std::copy(keep.knt->U, keep.knt->U + keep.knt->m + 1, out->knt->U);
  return 0;
}

}  // extern "C"
