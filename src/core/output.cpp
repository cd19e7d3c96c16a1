// Output records: check-or-allocate, copy, compact, and splitting records
// into weighted coordinates, weights and coordinate functions and back.
#include <cstring>
#include <initializer_list>

#include "core/internal.hpp"

using namespace orvo::detail;

namespace {

// Copies count elements; source and destination may be the same array.
template <class T>
void move_elems(const T *src, T *dst, int32_t highest) {
  if (src != dst && highest >= 0)
    std::memmove(static_cast<void *>(dst), src,
                 (static_cast<std::size_t>(highest) + 1) * sizeof(T));
}

void copy_knots(const KNOTVECTOR *src, KNOTVECTOR *dst) { move_elems(src->U, dst->U, src->m); }

template <class T>
void copy_rows(T *const *src, T **dst, int32_t n, int32_t m) {
  for (int32_t i = 0; i <= n; ++i) move_elems(src[i], dst[i], m);
}

// Fresh knot arrays of exactly m+1 entries for each vector, all or none.
bool fresh_knots(std::initializer_list<KNOTVECTOR *> knots, double **out, STACKS *ws) {
  int k = 0;
  for (KNOTVECTOR *knt : knots) {
    if (!(out[k] = S_getr1d(knt->m, ws))) {
      while (k > 0) U_kilr1d(out[--k], ws);
      return false;
    }
    move_elems(knt->U, out[k], knt->m);
    ++k;
  }
  return true;
}

// Installs the fresh knot arrays and releases the old ones.
void swap_knots(std::initializer_list<KNOTVECTOR *> knots, double **fresh, STACKS *ws) {
  int k = 0;
  for (KNOTVECTOR *knt : knots) {
    U_kilr1d(knt->U, ws);
    knt->U = fresh[k++];
  }
}

// Shrinks a 1-D array of highest index n and the knot arrays to fit; the
// record is unchanged when an allocation fails.
template <class T, class Get, class Kil>
int16_t compact(T *&values, int32_t n, std::initializer_list<KNOTVECTOR *> knots, STACKS *ws,
                Get get, Kil kil) {
  T *fresh = get(n, ws);
  double *U[2];
  if (!fresh) return 1;
  if (!fresh_knots(knots, U, ws)) {
    kil(fresh, ws);
    return 1;
  }
  move_elems(values, fresh, n);
  kil(values, ws);
  values = fresh;
  swap_knots(knots, U, ws);
  return 0;
}

// The same for a 2-D array of (n+1) x (m+1) elements.
template <class T, class Get, class Kil>
int16_t compact(T **&values, int32_t n, int32_t m, std::initializer_list<KNOTVECTOR *> knots,
                STACKS *ws, Get get, Kil kil) {
  T **fresh = get(n, m, ws);
  double *U[2];
  if (!fresh) return 1;
  if (!fresh_knots(knots, U, ws)) {
    kil(fresh, ws);
    return 1;
  }
  copy_rows(values, fresh, n, m);
  kil(values, ws);
  values = fresh;
  swap_knots(knots, U, ws);
  return 0;
}

// Same highest indices and degrees.
bool same_shape(const CFUNCTION *a, const CFUNCTION *b) {
  return a->cvl->n == b->cvl->n && a->p == b->p && a->knt->m == b->knt->m;
}
bool same_shape(const SFUNCTION *a, const SFUNCTION *b) {
  return a->svl->n == b->svl->n && a->svl->m == b->svl->m && a->p == b->p && a->q == b->q &&
         a->knu->m == b->knu->m && a->knv->m == b->knv->m;
}
bool same_shape(const SURFACE *a, const SFUNCTION *b) {
  return a->net->n == b->svl->n && a->net->m == b->svl->m && a->p == b->p && a->q == b->q &&
         a->knu->m == b->knu->m && a->knv->m == b->knv->m;
}
bool same_shape(const CURVE *a, const CFUNCTION *b) {
  return a->pol->n == b->cvl->n && a->p == b->p && a->knt->m == b->knt->m;
}

// Check-or-allocate an output shaped like a given curve or surface, with
// its knots copied in.
int16_t like(const CURVE *c, CFUNCTION *out, const char *tag, STACKS *ws) {
  if (U_cfnchk(out, c->pol->n, c->p, c->knt->m, tag, ws)) return 1;
  copy_knots(c->knt, out->knt);
  return 0;
}
int16_t like(const CURVE *c, CURVE *out, const char *tag, STACKS *ws) {
  if (U_curchk(out, c->pol->n, c->p, c->knt->m, tag, ws)) return 1;
  copy_knots(c->knt, out->knt);
  return 0;
}
int16_t like(const SURFACE *s, SFUNCTION *out, const char *tag, STACKS *ws) {
  if (U_sfnchk(out, s->net->n, s->net->m, s->p, s->q, s->knu->m, s->knv->m, tag, ws)) return 1;
  copy_knots(s->knu, out->knu);
  copy_knots(s->knv, out->knv);
  return 0;
}
int16_t like(const SURFACE *s, SURFACE *out, const char *tag, STACKS *ws) {
  if (U_surchk(out, s->net->n, s->net->m, s->p, s->q, s->knu->m, s->knv->m, tag, ws)) return 1;
  copy_knots(s->knu, out->knu);
  copy_knots(s->knv, out->knv);
  return 0;
}
int16_t like(const CFUNCTION *f, CURVE *out, const char *tag, STACKS *ws) {
  if (U_curchk(out, f->cvl->n, f->p, f->knt->m, tag, ws)) return 1;
  copy_knots(f->knt, out->knt);
  return 0;
}
int16_t like(const SFUNCTION *f, SURFACE *out, const char *tag, STACKS *ws) {
  if (U_surchk(out, f->svl->n, f->svl->m, f->p, f->q, f->knu->m, f->knv->m, tag, ws)) return 1;
  copy_knots(f->knu, out->knu);
  copy_knots(f->knv, out->knv);
  return 0;
}

// Coordinate selectors of a control point, for splitting into functions.
using Field = double CPOINT::*;

}  // namespace

extern "C" {

// ---- Check or allocate ----------------------------------------------------
int16_t U_getcur(CURVE *cur, int32_t n, int16_t p, int32_t m, STACKS *ws) {
  CPOLYGON *pol = S_getpol(n, ws);
  if (!pol) return 1;
  KNOTVECTOR *knt = S_getknt(m, ws);
  if (!knt) return 1;
  U_makcu1(cur, pol, p, knt);
  return 0;
}

int16_t U_getcfn(CFUNCTION *cfn, int32_t n, int16_t p, int32_t m, STACKS *ws) {
  CVLIST *cvl = S_getcvs(n, ws);
  if (!cvl) return 1;
  KNOTVECTOR *knt = S_getknt(m, ws);
  if (!knt) return 1;
  U_makcf1(cfn, cvl, p, knt);
  return 0;
}

int16_t U_getsur(SURFACE *sur, int32_t n, int32_t m, int16_t p, int16_t q, int32_t r, int32_t s,
                 STACKS *ws) {
  CNET *net = S_getnet(n, m, ws);
  if (!net) return 1;
  KNOTVECTOR *knu = S_getknt(r, ws);
  if (!knu) return 1;
  KNOTVECTOR *knv = S_getknt(s, ws);
  if (!knv) return 1;
  U_maksu1(sur, net, p, q, knu, knv);
  return 0;
}

int16_t U_getsfn(SFUNCTION *sfn, int32_t n, int32_t m, int16_t p, int16_t q, int32_t r, int32_t s,
                 STACKS *ws) {
  SVLIST *svl = S_getsvs(n, m, ws);
  if (!svl) return 1;
  KNOTVECTOR *knu = S_getknt(r, ws);
  if (!knu) return 1;
  KNOTVECTOR *knv = S_getknt(s, ws);
  if (!knv) return 1;
  U_maksf1(sfn, svl, p, q, knu, knv);
  return 0;
}

int16_t U_curchk(CURVE *cur, int32_t n, int16_t p, int32_t m, const char *tag, STACKS *ws) {
  if (U_iscurn(cur)) return U_getcur(cur, n, p, m, ws);
  if (E_cursto(cur, n, m, tag)) return 1;
  U_defcur(cur, n, p, m);
  return 0;
}

int16_t U_cfnchk(CFUNCTION *cfn, int32_t n, int16_t p, int32_t m, const char *tag, STACKS *ws) {
  if (U_iscfnn(cfn)) return U_getcfn(cfn, n, p, m, ws);
  if (E_cfnsto(cfn, n, m, tag)) return 1;
  U_defcfn(cfn, n, p, m);
  return 0;
}

int16_t U_surchk(SURFACE *sur, int32_t n, int32_t m, int16_t p, int16_t q, int32_t r, int32_t s,
                 const char *tag, STACKS *ws) {
  if (U_issurn(sur)) return U_getsur(sur, n, m, p, q, r, s, ws);
  if (E_sursto(sur, n, m, r, s, tag)) return 1;
  U_defsur(sur, n, m, p, q, r, s);
  return 0;
}

int16_t U_sfnchk(SFUNCTION *sfn, int32_t n, int32_t m, int16_t p, int16_t q, int32_t r, int32_t s,
                 const char *tag, STACKS *ws) {
  if (U_issfnn(sfn)) return U_getsfn(sfn, n, m, p, q, r, s, ws);
  if (E_sfnsto(sfn, n, m, r, s, tag)) return 1;
  U_defsfn(sfn, n, m, p, q, r, s);
  return 0;
}

// ---- Copy -----------------------------------------------------------------
int16_t U_curcop(const CURVE *src, CURVE *dst, STACKS *ws) {
  if (like(src, dst, "U_CURCOP", ws)) return 1;
  move_elems(src->pol->Pw, dst->pol->Pw, src->pol->n);
  return 0;
}

int16_t U_cfncop(const CFUNCTION *src, CFUNCTION *dst, STACKS *ws) {
  if (U_cfnchk(dst, src->cvl->n, src->p, src->knt->m, "U_CFNCOP", ws)) return 1;
  copy_knots(src->knt, dst->knt);
  move_elems(src->cvl->values, dst->cvl->values, src->cvl->n);
  return 0;
}

int16_t U_surcop(const SURFACE *src, SURFACE *dst, STACKS *ws) {
  if (like(src, dst, "U_SURCOP", ws)) return 1;
  copy_rows(src->net->Pw, dst->net->Pw, src->net->n, src->net->m);
  return 0;
}

int16_t U_sfncop(const SFUNCTION *src, SFUNCTION *dst, STACKS *ws) {
  const SVLIST *v = src->svl;
  if (U_sfnchk(dst, v->n, v->m, src->p, src->q, src->knu->m, src->knv->m, "U_SFNCOP", ws)) return 1;
  copy_knots(src->knu, dst->knu);
  copy_knots(src->knv, dst->knv);
  copy_rows(v->values, dst->svl->values, v->n, v->m);
  return 0;
}

// ---- Compact --------------------------------------------------------------
int16_t U_curcmp(CURVE *cur, STACKS *ws) {
  return compact(cur->pol->Pw, cur->pol->n, {cur->knt}, ws, S_getc1d, U_kilc1d);
}

int16_t U_cfncmp(CFUNCTION *cfn, STACKS *ws) {
  return compact(cfn->cvl->values, cfn->cvl->n, {cfn->knt}, ws, S_getr1d, U_kilr1d);
}

int16_t U_surcmp(SURFACE *sur, STACKS *ws) {
  return compact(sur->net->Pw, sur->net->n, sur->net->m, {sur->knu, sur->knv}, ws, S_getc2d,
                 U_kilc2d);
}

int16_t U_sfncmp(SFUNCTION *sfn, STACKS *ws) {
  return compact(sfn->svl->values, sfn->svl->n, sfn->svl->m, {sfn->knu, sfn->knv}, ws, S_getr2d,
                 U_kilr2d);
}

// ---- Weighted coordinates and weights -------------------------------------
int16_t U_curnad(const CURVE *cur, CURVE *outcur, CFUNCTION *outfn, STACKS *ws) {
  const char *tag = "U_CURNAD";
  const bool rat = U_iscurr(cur);
  const CPOINT *Pw = cur->pol->Pw;
  // The weights are taken before the polygon is written, so outcur may be
  // cur itself.
  if (rat) {
    if (like(cur, outfn, tag, ws)) return 1;
    for (int32_t i = 0; i <= cur->pol->n; ++i) outfn->cvl->values[i] = Pw[i].w;
  }
  if (like(cur, outcur, tag, ws)) return 1;
  for (int32_t i = 0; i <= cur->pol->n; ++i)
    outcur->pol->Pw[i] = CPOINT{Pw[i].x, Pw[i].y, Pw[i].z, kWNR};
  return 0;
}

int16_t U_surnad(const SURFACE *sur, SURFACE *outsur, SFUNCTION *outsfn, STACKS *ws) {
  const char *tag = "U_SURNAD";
  const bool rat = U_issurr(sur);
  CPOINT *const *Pw = sur->net->Pw;
  const int32_t n = sur->net->n, m = sur->net->m;
  if (rat) {
    if (like(sur, outsfn, tag, ws)) return 1;
    for (int32_t i = 0; i <= n; ++i)
      for (int32_t j = 0; j <= m; ++j) outsfn->svl->values[i][j] = Pw[i][j].w;
  }
  if (like(sur, outsur, tag, ws)) return 1;
  for (int32_t i = 0; i <= n; ++i)
    for (int32_t j = 0; j <= m; ++j) {
      const CPOINT c = Pw[i][j];
      outsur->net->Pw[i][j] = CPOINT{c.x, c.y, c.z, kWNR};
    }
  return 0;
}

int16_t U_nadcur(const CURVE *cur, const CFUNCTION *fn, CURVE *outcur, STACKS *ws) {
  const char *tag = "U_NADCUR";
  if (fn && !same_shape(cur, fn)) return fail(kErrInconsistent, tag);
  if (like(cur, outcur, tag, ws)) return 1;
  const CPOINT *Pw = cur->pol->Pw;
  for (int32_t i = 0; i <= cur->pol->n; ++i) {
    const CPOINT c = Pw[i];
    outcur->pol->Pw[i] = CPOINT{c.x, c.y, c.z, fn ? fn->cvl->values[i] : kWNR};
  }
  return 0;
}

int16_t U_nadsur(const SURFACE *sur, const SFUNCTION *sfn, SURFACE *outsur, STACKS *ws) {
  const char *tag = "U_NADSUR";
  if (sfn && !same_shape(sur, sfn)) return fail(kErrInconsistent, tag);
  if (like(sur, outsur, tag, ws)) return 1;
  for (int32_t i = 0; i <= sur->net->n; ++i)
    for (int32_t j = 0; j <= sur->net->m; ++j) {
      const CPOINT c = sur->net->Pw[i][j];
      outsur->net->Pw[i][j] = CPOINT{c.x, c.y, c.z, sfn ? sfn->svl->values[i][j] : kWNR};
    }
  return 0;
}

// ---- Coordinate functions -------------------------------------------------
int16_t U_curcor(const CURVE *cur, CFUNCTION *fx, CFUNCTION *fy, CFUNCTION *fz, CFUNCTION *fw,
                 STACKS *ws) {
  const char *tag = "U_CURCOR";
  CFUNCTION *outs[4] = {fx, fy, U_iscur3(cur) ? fz : nullptr, U_iscurr(cur) ? fw : nullptr};
  const Field fields[4] = {&CPOINT::x, &CPOINT::y, &CPOINT::z, &CPOINT::w};
  for (int k = 0; k < 4; ++k) {
    if (!outs[k]) continue;
    if (like(cur, outs[k], tag, ws)) return 1;
    for (int32_t i = 0; i <= cur->pol->n; ++i) outs[k]->cvl->values[i] = cur->pol->Pw[i].*fields[k];
  }
  return 0;
}

int16_t U_surcor(const SURFACE *sur, SFUNCTION *fx, SFUNCTION *fy, SFUNCTION *fz, SFUNCTION *fw,
                 STACKS *ws) {
  const char *tag = "U_SURCOR";
  SFUNCTION *outs[4] = {fx, fy, fz, U_issurr(sur) ? fw : nullptr};
  const Field fields[4] = {&CPOINT::x, &CPOINT::y, &CPOINT::z, &CPOINT::w};
  for (int k = 0; k < 4; ++k) {
    if (!outs[k]) continue;
    if (like(sur, outs[k], tag, ws)) return 1;
    for (int32_t i = 0; i <= sur->net->n; ++i)
      for (int32_t j = 0; j <= sur->net->m; ++j)
        outs[k]->svl->values[i][j] = sur->net->Pw[i][j].*fields[k];
  }
  return 0;
}

int16_t U_corcur(const CFUNCTION *fx, const CFUNCTION *fy, const CFUNCTION *fz, const CFUNCTION *fw,
                 CURVE *outcur, STACKS *ws) {
  const char *tag = "U_CORCUR";
  if (!fx || !fy || !same_shape(fx, fy) || (fz && !same_shape(fx, fz)) ||
      (fw && !same_shape(fx, fw)))
    return fail(kErrInconsistent, tag);
  if (like(fx, outcur, tag, ws)) return 1;
  for (int32_t i = 0; i <= fx->cvl->n; ++i)
    outcur->pol->Pw[i] = CPOINT{fx->cvl->values[i], fy->cvl->values[i],
                                fz ? fz->cvl->values[i] : kZ2D, fw ? fw->cvl->values[i] : kWNR};
  return 0;
}

int16_t U_corsur(const SFUNCTION *fx, const SFUNCTION *fy, const SFUNCTION *fz, const SFUNCTION *fw,
                 SURFACE *outsur, STACKS *ws) {
  const char *tag = "U_CORSUR";
  if (!fx || !fy || !fz || !same_shape(fx, fy) || !same_shape(fx, fz) ||
      (fw && !same_shape(fx, fw)))
    return fail(kErrInconsistent, tag);
  if (like(fx, outsur, tag, ws)) return 1;
  for (int32_t i = 0; i <= fx->svl->n; ++i)
    for (int32_t j = 0; j <= fx->svl->m; ++j)
      outsur->net->Pw[i][j] = CPOINT{fx->svl->values[i][j], fy->svl->values[i][j],
                                     fz->svl->values[i][j], fw ? fw->svl->values[i][j] : kWNR};
  return 0;
}

}  // extern "C"
