// Output records: check-or-allocate, copy, compact, and splitting records
// into weighted coordinates, weights and coordinate functions and back.
#include <cstring>

#include "core/internal.hpp"

using namespace orvo::detail;

namespace {

// Copies count elements; source and destination may be the same array.
template <class T>
void move_elems(const T *src, T *dst, int32_t highest) {
  if (src != dst && highest >= 0)
    std::memmove(static_cast<void *>(dst), src, (static_cast<std::size_t>(highest) + 1) * sizeof(T));
}

void copy_knots(const KNOTVECTOR *src, KNOTVECTOR *dst) { move_elems(src->U, dst->U, src->m); }

template <class T>
void copy_rows(T *const *src, T **dst, int32_t n, int32_t m) {
  for (int32_t i = 0; i <= n; ++i) move_elems(src[i], dst[i], m);
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

int16_t U_getsfn(SFUNCTION *sfn, int32_t n, int32_t m, int16_t p, int16_t q, int32_t r,
                 int32_t s, STACKS *ws) {
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

int16_t U_sfnchk(SFUNCTION *sfn, int32_t n, int32_t m, int16_t p, int16_t q, int32_t r,
                 int32_t s, const char *tag, STACKS *ws) {
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
  if (U_sfnchk(dst, v->n, v->m, src->p, src->q, src->knu->m, src->knv->m, "U_SFNCOP", ws))
    return 1;
  copy_knots(src->knu, dst->knu);
  copy_knots(src->knv, dst->knv);
  copy_rows(v->values, dst->svl->values, v->n, v->m);
  return 0;
}

// ---- Compact --------------------------------------------------------------
int16_t U_curcmp(CURVE *cur, STACKS *ws) {
  const int32_t n = cur->pol->n, m = cur->knt->m;
  CPOINT *Pw = S_getc1d(n, ws);
  if (!Pw) return 1;
  double *U = S_getr1d(m, ws);
  if (!U) {
    U_kilc1d(Pw, ws);
    return 1;
  }
  move_elems(cur->pol->Pw, Pw, n);
  move_elems(cur->knt->U, U, m);
  CPOINT *oldPw = cur->pol->Pw;
  double *oldU = cur->knt->U;
  U_curspu(cur, Pw, U);
  U_kilc1d(oldPw, ws);
  U_kilr1d(oldU, ws);
  return 0;
}

int16_t U_cfncmp(CFUNCTION *cfn, STACKS *ws) {
  const int32_t n = cfn->cvl->n, m = cfn->knt->m;
  double *values = S_getr1d(n, ws);
  if (!values) return 1;
  double *U = S_getr1d(m, ws);
  if (!U) {
    U_kilr1d(values, ws);
    return 1;
  }
  move_elems(cfn->cvl->values, values, n);
  move_elems(cfn->knt->U, U, m);
  double *oldv = cfn->cvl->values, *oldU = cfn->knt->U;
  U_cfnsfu(cfn, values, U);
  U_kilr1d(oldv, ws);
  U_kilr1d(oldU, ws);
  return 0;
}

int16_t U_surcmp(SURFACE *sur, STACKS *ws) {
  const int32_t n = sur->net->n, m = sur->net->m, r = sur->knu->m, s = sur->knv->m;
  CPOINT **Pw = S_getc2d(n, m, ws);
  if (!Pw) return 1;
  double *U = S_getr1d(r, ws);
  double *V = U ? S_getr1d(s, ws) : nullptr;
  if (!V) {
    U_kilr1d(U, ws);
    U_kilc2d(Pw, ws);
    return 1;
  }
  copy_rows(sur->net->Pw, Pw, n, m);
  move_elems(sur->knu->U, U, r);
  move_elems(sur->knv->U, V, s);
  CPOINT **oldPw = sur->net->Pw;
  double *oldU = sur->knu->U, *oldV = sur->knv->U;
  U_surspu(sur, Pw, U, V);
  U_kilc2d(oldPw, ws);
  U_kilr1d(oldU, ws);
  U_kilr1d(oldV, ws);
  return 0;
}

int16_t U_sfncmp(SFUNCTION *sfn, STACKS *ws) {
  const int32_t n = sfn->svl->n, m = sfn->svl->m, r = sfn->knu->m, s = sfn->knv->m;
  double **values = S_getr2d(n, m, ws);
  if (!values) return 1;
  double *U = S_getr1d(r, ws);
  double *V = U ? S_getr1d(s, ws) : nullptr;
  if (!V) {
    U_kilr1d(U, ws);
    U_kilr2d(values, ws);
    return 1;
  }
  copy_rows(sfn->svl->values, values, n, m);
  move_elems(sfn->knu->U, U, r);
  move_elems(sfn->knv->U, V, s);
  double **oldv = sfn->svl->values;
  double *oldU = sfn->knu->U, *oldV = sfn->knv->U;
  U_sfnsfu(sfn, values, U, V);
  U_kilr2d(oldv, ws);
  U_kilr1d(oldU, ws);
  U_kilr1d(oldV, ws);
  return 0;
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
    for (int32_t i = 0; i <= cur->pol->n; ++i)
      outs[k]->cvl->values[i] = cur->pol->Pw[i].*fields[k];
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

int16_t U_corcur(const CFUNCTION *fx, const CFUNCTION *fy, const CFUNCTION *fz,
                 const CFUNCTION *fw, CURVE *outcur, STACKS *ws) {
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

int16_t U_corsur(const SFUNCTION *fx, const SFUNCTION *fy, const SFUNCTION *fz,
                 const SFUNCTION *fw, SURFACE *outsur, STACKS *ws) {
  const char *tag = "U_CORSUR";
  if (!fx || !fy || !fz || !same_shape(fx, fy) || !same_shape(fx, fz) ||
      (fw && !same_shape(fx, fw)))
    return fail(kErrInconsistent, tag);
  if (like(fx, outsur, tag, ws)) return 1;
  for (int32_t i = 0; i <= fx->svl->n; ++i)
    for (int32_t j = 0; j <= fx->svl->m; ++j)
      outsur->net->Pw[i][j] =
          CPOINT{fx->svl->values[i][j], fy->svl->values[i][j], fz->svl->values[i][j],
                 fw ? fw->svl->values[i][j] : kWNR};
  return 0;
}

}  // extern "C"
