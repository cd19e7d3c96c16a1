// Knot insertion into curves and into one direction of surfaces, also at
// the place of the control polygon (net) nearest to a picked point.
#include <algorithm>

#include "refine/refine_common.hpp"

using namespace orvo::detail;

namespace {

// The parameter ratio on the leg from A to B (weights wa, wb) at which an
// inserted knot puts the new control point at F: the ratio of F along the
// leg, t, for a non-rational record; in weighted form for a rational one.
int16_t leg_ratio(bool rational, const POINT &F, const POINT &A, const POINT &B, double wa,
                  double wb, double &t, const char *tag) {
  if (!rational) return 0;
  double d1, d2;
  G_dispop(F, A, &d1);
  G_dispop(F, B, &d2);
  const double num = wa * d1, den = wb * d2 + wa * d1;
  if (M_chkfop(num, den, 4)) return fail(kErrFloat, tag);
  t = num / den;
  return 0;
}

}  // namespace

extern "C" {

int16_t N_toocki(CURVE *c, double u, int32_t r, CURVE *out, STACKS *ws_in, STACKS *ws_out) {
  const char *tag = "N_TOOCKI";
  if (check_refine_curve(c, tag)) return 1;
  const int p = c->p;
  const int32_t n = c->pol->n, m = c->knt->m;
  KnotSite at;
  if (E_endpar(c->knt, u, tag) || locate(c->knt, p, u, tag, at)) return 1;
  if (check_insertion_count(r, at, p, tag)) return 1;

  LocalStacks local;
  Insertion ins;
  CPOINT *R = line_scratch(p, local);
  if (!R || !plan_insertion(c->knt->U, p, at, r, u, local, ins)) return 1;
  Output<CURVE> o(c, out, ws_in, ws_out, tag);
  if (o.prepare(CurveSize{n + r, c->p, m + r})) return 1;
  CURVE *q = o.rec();
  insert_line(ins, n, curve_lines(c->pol->Pw)[0], curve_lines(q->pol->Pw)[0], R);
  insert_knots(ins, m, q->knt->U);
  o.commit();
  return 0;
}

int16_t N_tooski(SURFACE *s, double t, int32_t r, int16_t dir, SURFACE *out, STACKS *ws_in,
                 STACKS *ws_out) {
  const char *tag = "N_TOOSKI";
  if (check_refine_surface(s, tag) || check_direction(dir, tag)) return 1;
  const SurfaceAxis ax = surface_axis(s, dir);
  KnotSite at;
  if (E_endpar(ax.knt, t, tag) || locate(ax.knt, ax.p, t, tag, at)) return 1;
  if (check_insertion_count(r, at, ax.p, tag)) return 1;

  LocalStacks local;
  Insertion ins;
  CPOINT *R = line_scratch(ax.p, local);
  if (!R || !plan_insertion(ax.knt->U, ax.p, at, r, t, local, ins)) return 1;
  const int32_t n = s->net->n, m = s->net->m, ru = s->knu->m, rv = s->knv->m;
  const bool u_dir = dir == 1;
  Output<SURFACE> o(s, out, ws_in, ws_out, tag);
  if (o.prepare(SurfaceSize{u_dir ? n + r : n, u_dir ? m : m + r, s->p, s->q, u_dir ? ru + r : ru,
                            u_dir ? rv : rv + r}))
    return 1;
  SURFACE *q = o.rec();
  const Lines P = net_lines(s->net->Pw, dir, n, m);
  const Lines Q = net_lines(q->net->Pw, dir, q->net->n, q->net->m);
  for (int32_t k = 0; k < P.count; ++k) insert_line(ins, ax.n, P[k], Q[k], R);
  const KNOTVECTOR *other = u_dir ? s->knv : s->knu;
  insert_knots(ins, ax.knt->m, u_dir ? q->knu->U : q->knv->U);
  std::copy(other->U, other->U + other->m + 1, u_dir ? q->knv->U : q->knu->U);
  o.commit();
  return 0;
}

int16_t N_toocik(CURVE *c, POINT pick, CURVE *out, STACKS *ws_in, STACKS *ws_out) {
  const char *tag = "N_TOOCIK";
  if (check_refine_curve(c, tag)) return 1;
  const int p = c->p;
  const CPOINT *Pw = c->pol->Pw;
  const double *U = c->knt->U;
  LocalStacks local;
  PPOLYGON ppl;
  if (U_mapcpl(c, 0, c->pol->n, &ppl, local)) return 1;
  POINT F;
  int32_t j = 0;
  double t = 0.0;
  int16_t found = 0;
  if (G_polleg(ppl, pick, &F, &j, &t, &found)) return 1;
  if (!found) return fail(kErrInconsistent, tag);
  if (leg_ratio(U_iscurr(c) != 0, F, ppl.pts[j], ppl.pts[j + 1], Pw[j].w, Pw[j + 1].w, t, tag))
    return 1;
  const double u = U[j + 1] + t * (U[j + p + 1] - U[j + 1]);
  return N_toocki(c, u, 1, out, ws_in, ws_out);
}

int16_t N_toosik(SURFACE *s, POINT pick, SURFACE *out, STACKS *ws_in, STACKS *ws_out) {
  const char *tag = "N_TOOSIK";
  if (check_refine_surface(s, tag)) return 1;
  LocalStacks local;
  PNET pnet;
  if (U_mapcnt(s, 0, s->net->n, 0, s->net->m, &pnet, local)) return 1;
  POINT F;
  int32_t i = 0, j = 0;
  int16_t dir = 1, found = 0;
  double t = 0.0;
  if (G_netleg(pnet, pick, &F, &i, &j, &dir, &t, &found)) return 1;
  if (!found) return fail(kErrInconsistent, tag);
  // The leg runs from (i, j) to (i+1, j) in direction 1, to (i, j+1) in
  // direction 2.
  const int32_t i1 = dir == 1 ? i + 1 : i, j1 = dir == 1 ? j : j + 1;
  CPOINT *const *Pw = s->net->Pw;
  if (leg_ratio(U_issurr(s) != 0, F, pnet.rows[i][j], pnet.rows[i1][j1], Pw[i][j].w, Pw[i1][j1].w,
                t, tag))
    return 1;
  const SurfaceAxis ax = surface_axis(s, dir);
  const int32_t a = dir == 1 ? i : j;
  const double *U = ax.knt->U;
  const double v = U[a + 1] + t * (U[a + ax.p + 1] - U[a + 1]);
  return N_tooski(s, v, 1, dir, out, ws_in, ws_out);
}

}  // extern "C"
