// Making, defining, breaking apart and converting the geometric records.
#include "core/internal.hpp"

using namespace orvo::detail;

namespace {

template <class T>
void put(T *out, T value) {
  if (out) *out = value;
}

// Applies f to every control point of a curve / surface up to its current
// highest indices.
template <class F>
void each_cpoint(CURVE *cur, F f) {
  for (int32_t i = 0; i <= cur->pol->n; ++i) f(cur->pol->Pw[i]);
}
template <class F>
void each_cpoint(SURFACE *sur, F f) {
  for (int32_t i = 0; i <= sur->net->n; ++i)
    for (int32_t j = 0; j <= sur->net->m; ++j) f(sur->net->Pw[i][j]);
}

double clamp(double u, double a, double b) { return u < a ? a : (u > b ? b : u); }

}  // namespace

extern "C" {

// ---- Make -----------------------------------------------------------------
void U_makknt(KNOTVECTOR *knt, double *U, int32_t m) { *knt = KNOTVECTOR{m, U}; }
void U_makpl1(CPOLYGON *pol, CPOINT *Pw, int32_t n) { *pol = CPOLYGON{n, Pw}; }
void U_maknt1(CNET *net, CPOINT **Pw, int32_t n, int32_t m) { *net = CNET{n, m, Pw}; }
void U_makcvl(CVLIST *cvl, double *values, int32_t n) { *cvl = CVLIST{n, values}; }
void U_maksvl(SVLIST *svl, double **values, int32_t n, int32_t m) { *svl = SVLIST{n, m, values}; }
void U_makcu1(CURVE *cur, CPOLYGON *pol, int16_t p, KNOTVECTOR *knt) { *cur = CURVE{pol, p, knt}; }
void U_makcf1(CFUNCTION *cfn, CVLIST *cvl, int16_t p, KNOTVECTOR *knt) {
  *cfn = CFUNCTION{cvl, p, knt};
}
void U_maksu1(SURFACE *sur, CNET *net, int16_t p, int16_t q, KNOTVECTOR *knu, KNOTVECTOR *knv) {
  *sur = SURFACE{net, p, q, knu, knv};
}
void U_maksf1(SFUNCTION *sfn, SVLIST *svl, int16_t p, int16_t q, KNOTVECTOR *knu, KNOTVECTOR *knv) {
  *sfn = SFUNCTION{svl, p, q, knu, knv};
}

int16_t U_makpl2(CPOLYGON *pol, const double *x, const double *y, const double *z, const double *w,
                 int32_t n, STACKS *ws) {
  CPOINT *Pw = S_getcpa(x, y, z, w, n, ws);
  if (!Pw) return 1;
  U_makpl1(pol, Pw, n);
  return 0;
}

int16_t U_maknt2(CNET *net, double *const *x, double *const *y, double *const *z, double *const *w,
                 int32_t n, int32_t m, STACKS *ws) {
  CPOINT **Pw = S_getcpm(x, y, z, w, n, m, ws);
  if (!Pw) return 1;
  U_maknt1(net, Pw, n, m);
  return 0;
}

int16_t U_makcu2(CURVE *cur, CPOINT *Pw, int32_t n, int16_t p, double *U, int32_t m, STACKS *ws) {
  CPOLYGON *pol = S_getpos(ws);
  if (!pol) return 1;
  KNOTVECTOR *knt = S_getkns(ws);
  if (!knt) return 1;
  U_makpl1(pol, Pw, n);
  U_makknt(knt, U, m);
  U_makcu1(cur, pol, p, knt);
  return 0;
}

int16_t U_makcu3(CURVE *cur, const double *x, const double *y, const double *z, const double *w,
                 int32_t n, int16_t p, double *U, int32_t m, STACKS *ws) {
  CPOINT *Pw = S_getcpa(x, y, z, w, n, ws);
  if (!Pw) return 1;
  return U_makcu2(cur, Pw, n, p, U, m, ws);
}

int16_t U_makcf2(CFUNCTION *cfn, double *values, int32_t n, int16_t p, double *U, int32_t m,
                 STACKS *ws) {
  CVLIST *cvl = S_getcvl(ws);
  if (!cvl) return 1;
  KNOTVECTOR *knt = S_getkns(ws);
  if (!knt) return 1;
  U_makcvl(cvl, values, n);
  U_makknt(knt, U, m);
  U_makcf1(cfn, cvl, p, knt);
  return 0;
}

int16_t U_maksu2(SURFACE *sur, CPOINT **Pw, int32_t n, int32_t m, int16_t p, int16_t q, double *U,
                 double *V, int32_t r, int32_t s, STACKS *ws) {
  CNET *net = S_getnes(ws);
  if (!net) return 1;
  KNOTVECTOR *knu = S_getkns(ws);
  if (!knu) return 1;
  KNOTVECTOR *knv = S_getkns(ws);
  if (!knv) return 1;
  U_maknt1(net, Pw, n, m);
  U_makknt(knu, U, r);
  U_makknt(knv, V, s);
  U_maksu1(sur, net, p, q, knu, knv);
  return 0;
}

int16_t U_maksu3(SURFACE *sur, double *const *x, double *const *y, double *const *z,
                 double *const *w, int32_t n, int32_t m, int16_t p, int16_t q, double *U, double *V,
                 int32_t r, int32_t s, STACKS *ws) {
  CPOINT **Pw = S_getcpm(x, y, z, w, n, m, ws);
  if (!Pw) return 1;
  return U_maksu2(sur, Pw, n, m, p, q, U, V, r, s, ws);
}

int16_t U_maksf2(SFUNCTION *sfn, double **values, int32_t n, int32_t m, int16_t p, int16_t q,
                 double *U, double *V, int32_t r, int32_t s, STACKS *ws) {
  SVLIST *svl = S_getsvl(ws);
  if (!svl) return 1;
  KNOTVECTOR *knu = S_getkns(ws);
  if (!knu) return 1;
  KNOTVECTOR *knv = S_getkns(ws);
  if (!knv) return 1;
  U_maksvl(svl, values, n, m);
  U_makknt(knu, U, r);
  U_makknt(knv, V, s);
  U_maksf1(sfn, svl, p, q, knu, knv);
  return 0;
}

int16_t U_makcpl(CURVE *cur, CPOINT *Pw, int32_t n, double a, double b, STACKS *ws) {
  CPOLYGON *pol = S_getpos(ws);
  if (!pol) return 1;
  KNOTVECTOR *knt = S_getknt(1, ws);
  if (!knt) return 1;
  knt->U[0] = a;
  knt->U[1] = b;
  U_makpl1(pol, Pw, n);
  U_makcu1(cur, pol, static_cast<int16_t>(n), knt);
  return 0;
}

int16_t U_makspl(SURFACE *sur, CPOINT **Pw, int32_t n, int32_t m, double a, double b, double c,
                 double d, STACKS *ws) {
  CNET *net = S_getnes(ws);
  if (!net) return 1;
  KNOTVECTOR *knu = S_getknt(1, ws);
  if (!knu) return 1;
  KNOTVECTOR *knv = S_getknt(1, ws);
  if (!knv) return 1;
  knu->U[0] = a;
  knu->U[1] = b;
  knv->U[0] = c;
  knv->U[1] = d;
  U_maknt1(net, Pw, n, m);
  U_maksu1(sur, net, static_cast<int16_t>(n), static_cast<int16_t>(m), knu, knv);
  return 0;
}

void U_makcco(CURVE **curves, int32_t n) {
  bool any_rational = false, any_3d = false;
  for (int32_t i = 0; i <= n; ++i) {
    any_rational = any_rational || U_iscurr(curves[i]);
    any_3d = any_3d || U_iscur3(curves[i]);
  }
  for (int32_t i = 0; i <= n; ++i) {
    if (any_rational && !U_iscurr(curves[i])) U_curnrr(curves[i]);
    if (any_3d && !U_iscur3(curves[i])) U_cur2t3(curves[i]);
  }
}

void U_maksco(SURFACE **surfaces, int32_t n) {
  bool any_rational = false;
  for (int32_t i = 0; i <= n; ++i) any_rational = any_rational || U_issurr(surfaces[i]);
  if (!any_rational) return;
  for (int32_t i = 0; i <= n; ++i)
    if (!U_issurr(surfaces[i])) U_surnrr(surfaces[i]);
}

// ---- Define ---------------------------------------------------------------
void U_defknt(KNOTVECTOR *knt, int32_t m) { knt->m = m; }
void U_defcur(CURVE *cur, int32_t n, int16_t p, int32_t m) {
  cur->pol->n = n;
  cur->p = p;
  cur->knt->m = m;
}
void U_defcfn(CFUNCTION *cfn, int32_t n, int16_t p, int32_t m) {
  cfn->cvl->n = n;
  cfn->p = p;
  cfn->knt->m = m;
}
void U_defsur(SURFACE *sur, int32_t n, int32_t m, int16_t p, int16_t q, int32_t r, int32_t s) {
  sur->net->n = n;
  sur->net->m = m;
  sur->p = p;
  sur->q = q;
  sur->knu->m = r;
  sur->knv->m = s;
}
void U_defsfn(SFUNCTION *sfn, int32_t n, int32_t m, int16_t p, int16_t q, int32_t r, int32_t s) {
  sfn->svl->n = n;
  sfn->svl->m = m;
  sfn->p = p;
  sfn->q = q;
  sfn->knu->m = r;
  sfn->knv->m = s;
}

// ---- Empty records --------------------------------------------------------
void U_inicur(CURVE *cur) { *cur = CURVE{nullptr, -1, nullptr}; }
void U_inicfn(CFUNCTION *cfn) { *cfn = CFUNCTION{nullptr, -1, nullptr}; }
void U_inisur(SURFACE *sur) { *sur = SURFACE{nullptr, -1, -1, nullptr, nullptr}; }
void U_inisfn(SFUNCTION *sfn) { *sfn = SFUNCTION{nullptr, -1, -1, nullptr, nullptr}; }

int16_t U_iscurn(const CURVE *cur) { return !cur->pol || cur->p == -1 || !cur->knt; }
int16_t U_iscfnn(const CFUNCTION *cfn) { return !cfn->cvl || cfn->p == -1 || !cfn->knt; }
int16_t U_issurn(const SURFACE *sur) {
  return !sur->net || sur->p == -1 || sur->q == -1 || !sur->knu || !sur->knv;
}
int16_t U_issfnn(const SFUNCTION *sfn) {
  return !sfn->svl || sfn->p == -1 || sfn->q == -1 || !sfn->knu || !sfn->knv;
}

// ---- Break apart and query ------------------------------------------------
void U_kntbre(const KNOTVECTOR *knt, int32_t *m, double **U) {
  put(m, knt->m);
  put(U, knt->U);
}
void U_polbre(const CPOLYGON *pol, int32_t *n, CPOINT **Pw) {
  put(n, pol->n);
  put(Pw, pol->Pw);
}
void U_netbre(const CNET *net, int32_t *n, int32_t *m, CPOINT ***Pw) {
  put(n, net->n);
  put(m, net->m);
  put(Pw, net->Pw);
}
void U_curbre(const CURVE *cur, int32_t *n, CPOINT **Pw, int16_t *p, int32_t *m, double **U) {
  U_polbre(cur->pol, n, Pw);
  put(p, cur->p);
  U_kntbre(cur->knt, m, U);
}
void U_surbre(const SURFACE *sur, int32_t *n, int32_t *m, CPOINT ***Pw, int16_t *p, int16_t *q,
              int32_t *r, int32_t *s, double **U, double **V) {
  U_netbre(sur->net, n, m, Pw);
  U_surdeg(sur, p, q);
  U_surknt(sur, r, s, U, V);
}
void U_cfnbre(const CFUNCTION *cfn, int32_t *n, double **values, int16_t *p, int32_t *m,
              double **U) {
  U_cfncvl(cfn, n, values);
  put(p, cfn->p);
  U_kntbre(cfn->knt, m, U);
}
void U_sfnbre(const SFUNCTION *sfn, int32_t *n, int32_t *m, double ***values, int16_t *p,
              int16_t *q, int32_t *r, int32_t *s, double **U, double **V) {
  U_sfnsvl(sfn, n, m, values);
  U_sfndeg(sfn, p, q);
  put(r, sfn->knu->m);
  put(s, sfn->knv->m);
  put(U, sfn->knu->U);
  put(V, sfn->knv->U);
}
void U_curind(const CURVE *cur, int32_t *n, int32_t *m) {
  put(n, cur->pol->n);
  put(m, cur->knt->m);
}
void U_cfnind(const CFUNCTION *cfn, int32_t *n, int32_t *m) {
  put(n, cfn->cvl->n);
  put(m, cfn->knt->m);
}
void U_surind(const SURFACE *sur, int32_t *n, int32_t *m, int32_t *r, int32_t *s) {
  put(n, sur->net->n);
  put(m, sur->net->m);
  put(r, sur->knu->m);
  put(s, sur->knv->m);
}
void U_sfnind(const SFUNCTION *sfn, int32_t *n, int32_t *m, int32_t *r, int32_t *s) {
  put(n, sfn->svl->n);
  put(m, sfn->svl->m);
  put(r, sfn->knu->m);
  put(s, sfn->knv->m);
}
void U_curdeg(const CURVE *cur, int16_t *p) { put(p, cur->p); }
void U_cfndeg(const CFUNCTION *cfn, int16_t *p) { put(p, cfn->p); }
void U_surdeg(const SURFACE *sur, int16_t *p, int16_t *q) {
  put(p, sur->p);
  put(q, sur->q);
}
void U_sfndeg(const SFUNCTION *sfn, int16_t *p, int16_t *q) {
  put(p, sfn->p);
  put(q, sfn->q);
}
void U_curknp(const CURVE *cur, KNOTVECTOR **knt) { put(knt, cur->knt); }
void U_cfnknp(const CFUNCTION *cfn, KNOTVECTOR **knt) { put(knt, cfn->knt); }
void U_surknp(const SURFACE *sur, KNOTVECTOR **knu, KNOTVECTOR **knv) {
  put(knu, sur->knu);
  put(knv, sur->knv);
}
void U_sfnknp(const SFUNCTION *sfn, KNOTVECTOR **knu, KNOTVECTOR **knv) {
  put(knu, sfn->knu);
  put(knv, sfn->knv);
}
void U_curpol(const CURVE *cur, int32_t *n, CPOINT **Pw) { U_polbre(cur->pol, n, Pw); }
void U_surnet(const SURFACE *sur, int32_t *n, int32_t *m, CPOINT ***Pw) {
  U_netbre(sur->net, n, m, Pw);
}
void U_cfncvl(const CFUNCTION *cfn, int32_t *n, double **values) {
  put(n, cfn->cvl->n);
  put(values, cfn->cvl->values);
}
void U_sfnsvl(const SFUNCTION *sfn, int32_t *n, int32_t *m, double ***values) {
  put(n, sfn->svl->n);
  put(m, sfn->svl->m);
  put(values, sfn->svl->values);
}
void U_curknt(const CURVE *cur, int32_t *m, double **U) { U_kntbre(cur->knt, m, U); }
void U_surknt(const SURFACE *sur, int32_t *r, int32_t *s, double **U, double **V) {
  put(r, sur->knu->m);
  put(s, sur->knv->m);
  put(U, sur->knu->U);
  put(V, sur->knv->U);
}
void U_curpku(const CURVE *cur, CPOINT **Pw, KNOTVECTOR **knt, double **U) {
  put(Pw, cur->pol->Pw);
  put(knt, cur->knt);
  put(U, cur->knt->U);
}
void U_surpku(const SURFACE *sur, CPOINT ***Pw, KNOTVECTOR **knu, KNOTVECTOR **knv, double **U,
              double **V) {
  put(Pw, sur->net->Pw);
  U_surknp(sur, knu, knv);
  put(U, sur->knu->U);
  put(V, sur->knv->U);
}
void U_cfnfku(const CFUNCTION *cfn, double **values, KNOTVECTOR **knt, double **U) {
  put(values, cfn->cvl->values);
  put(knt, cfn->knt);
  put(U, cfn->knt->U);
}
void U_curpwu(const CURVE *cur, CPOINT **Pw, double **U) {
  put(Pw, cur->pol->Pw);
  put(U, cur->knt->U);
}
void U_cfnfuu(const CFUNCTION *cfn, double **values, double **U) {
  put(values, cfn->cvl->values);
  put(U, cfn->knt->U);
}
void U_surpwu(const SURFACE *sur, CPOINT ***Pw, double **U, double **V) {
  put(Pw, sur->net->Pw);
  put(U, sur->knu->U);
  put(V, sur->knv->U);
}
void U_sfnfuv(const SFUNCTION *sfn, double ***values, double **U, double **V) {
  put(values, sfn->svl->values);
  put(U, sfn->knu->U);
  put(V, sfn->knv->U);
}
void U_curppk(const CURVE *cur, CPOLYGON **pol, int16_t *p, KNOTVECTOR **knt) {
  put(pol, cur->pol);
  put(p, cur->p);
  put(knt, cur->knt);
}
void U_cfncpk(const CFUNCTION *cfn, CVLIST **cvl, int16_t *p, KNOTVECTOR **knt) {
  put(cvl, cfn->cvl);
  put(p, cfn->p);
  put(knt, cfn->knt);
}
void U_surnpk(const SURFACE *sur, CNET **net, int16_t *p, int16_t *q, KNOTVECTOR **knu,
              KNOTVECTOR **knv) {
  put(net, sur->net);
  U_surdeg(sur, p, q);
  U_surknp(sur, knu, knv);
}
void U_sfnspk(const SFUNCTION *sfn, SVLIST **svl, int16_t *p, int16_t *q, KNOTVECTOR **knu,
              KNOTVECTOR **knv) {
  put(svl, sfn->svl);
  U_sfndeg(sfn, p, q);
  U_sfnknp(sfn, knu, knv);
}
void U_curpar(const CURVE *cur, double *u0, double *um) {
  put(u0, cur->knt->U[0]);
  put(um, cur->knt->U[cur->knt->m]);
}
void U_surpar(const SURFACE *sur, double *u0, double *ur, double *v0, double *vs) {
  put(u0, sur->knu->U[0]);
  put(ur, sur->knu->U[sur->knu->m]);
  put(v0, sur->knv->U[0]);
  put(vs, sur->knv->U[sur->knv->m]);
}

// ---- Replace array pointers -----------------------------------------------
void U_curspu(CURVE *cur, CPOINT *Pw, double *U) {
  cur->pol->Pw = Pw;
  cur->knt->U = U;
}
void U_surspu(SURFACE *sur, CPOINT **Pw, double *U, double *V) {
  sur->net->Pw = Pw;
  sur->knu->U = U;
  sur->knv->U = V;
}
void U_cfnsfu(CFUNCTION *cfn, double *values, double *U) {
  cfn->cvl->values = values;
  cfn->knt->U = U;
}
void U_sfnsfu(SFUNCTION *sfn, double **values, double *U, double *V) {
  sfn->svl->values = values;
  sfn->knu->U = U;
  sfn->knv->U = V;
}

// ---- Kind tests and conversions -------------------------------------------
int16_t U_iscur3(const CURVE *cur) { return z_valid(cur->pol->Pw[0].z); }
int16_t U_iscurr(const CURVE *cur) { return w_valid(cur->pol->Pw[0].w); }
int16_t U_issurr(const SURFACE *sur) { return w_valid(sur->net->Pw[0][0].w); }
void U_cur2t3(CURVE *cur) {
  each_cpoint(cur, [](CPOINT &c) { c.z = 0.0; });
}
void U_cur3t2(CURVE *cur) {
  each_cpoint(cur, [](CPOINT &c) { c.z = kZ2D; });
}
void U_curnrr(CURVE *cur) {
  each_cpoint(cur, [](CPOINT &c) { c.w = 1.0; });
}
void U_surnrr(SURFACE *sur) {
  each_cpoint(sur, [](CPOINT &c) { c.w = 1.0; });
}
void U_currnr(CURVE *cur) {
  each_cpoint(cur, [](CPOINT &c) { c.w = kWNR; });
}
void U_surrnr(SURFACE *sur) {
  each_cpoint(sur, [](CPOINT &c) { c.w = kWNR; });
}
void U_curpcl(const CURVE *cur, double *u) {
  *u = clamp(*u, cur->knt->U[0], cur->knt->U[cur->knt->m]);
}
void U_surpcl(const SURFACE *sur, double *u, double *v) {
  *u = clamp(*u, sur->knu->U[0], sur->knu->U[sur->knu->m]);
  *v = clamp(*v, sur->knv->U[0], sur->knv->U[sur->knv->m]);
}

}  // extern "C"
