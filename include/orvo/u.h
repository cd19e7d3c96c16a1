/** @file u.h
 * @brief Orvo U_ family: making, breaking apart, checking, copying, releasing,
 * reading, writing and printing records. */
#ifndef ORVO_U_H
#define ORVO_U_H

#include "records.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Make records around caller arrays ---------------------------------
 * The *1 makers only fill a record with the pointers and sizes given; the
 * arrays stay the caller's. The *2, *3 makers and U_makcpl, U_makspl
 * allocate the sub-records (and, for *3, the control points) in ws; they
 * return 1 at the first failing allocation with that allocator's error 15,
 * leaving what was already allocated in ws. Nothing is validated. */

/** @brief Fills a knot-vector record: knt = {m, U}.
 *  @param knt (out) record; @param U (in) knots U[0..m], not copied; @param m highest index.
 *  No checks, no error. */
ORVO_API void U_makknt(KNOTVECTOR *knt, double *U, int32_t m);

/** @brief Fills a control-polygon record: pol = {n, Pw}.
 *  @param pol (out) record; @param Pw (in) control points Pw[0..n], not copied;
 *  @param n highest index. No checks, no error. */
ORVO_API void U_makpl1(CPOLYGON *pol, CPOINT *Pw, int32_t n);

/** @brief Makes a control polygon from coordinate arrays: a fresh CPOINT array in ws
 *  with Pw[i] = (x[i], y[i], z[i], w[i]) as given (no weighting, markers kept).
 *  @param pol (out) record; @param x, y, z, w (in) coordinates [0..n];
 *  @param n highest index; @param ws workspace that owns the array.
 *  @return 0, or 1 with error 15 "S_GETC1D" (pol untouched). */
ORVO_API int16_t U_makpl2(CPOLYGON *pol, const double *x, const double *y, const double *z,
                          const double *w, int32_t n, STACKS *ws);

/** @brief Fills a control-net record: net = {n, m, Pw}.
 *  @param net (out) record; @param Pw (in) row table Pw[0..n][0..m], not copied;
 *  @param n, m highest indices. No checks, no error. */
ORVO_API void U_maknt1(CNET *net, CPOINT **Pw, int32_t n, int32_t m);

/** @brief Makes a control net from 2-D coordinate arrays: a fresh CPOINT net in ws with
 *  Pw[i][j] = (x[i][j], y[i][j], z[i][j], w[i][j]) as given.
 *  @param net (out) record; @param x, y, z, w (in) row tables [0..n][0..m];
 *  @param n, m highest indices; @param ws workspace that owns the net.
 *  @return 0, or 1 with error 15 "S_GETC2D" (net untouched). */
ORVO_API int16_t U_maknt2(CNET *net, double *const *x, double *const *y, double *const *z,
                          double *const *w, int32_t n, int32_t m, STACKS *ws);

/** @brief Fills a value-list record: cvl = {n, values}.
 *  @param cvl (out) record; @param values (in) values[0..n], not copied;
 *  @param n highest index. No checks, no error. */
ORVO_API void U_makcvl(CVLIST *cvl, double *values, int32_t n);

/** @brief Fills a 2-D value-list record: svl = {n, m, values}.
 *  @param svl (out) record; @param values (in) row table values[0..n][0..m], not copied;
 *  @param n, m highest indices. No checks, no error. */
ORVO_API void U_maksvl(SVLIST *svl, double **values, int32_t n, int32_t m);

/** @brief Fills a curve record: cur = {pol, p, knt}.
 *  @param cur (out) record; @param pol (in) control polygon, not copied; @param p degree;
 *  @param knt (in) knot vector, not copied. No checks, no error. */
ORVO_API void U_makcu1(CURVE *cur, CPOLYGON *pol, int16_t p, KNOTVECTOR *knt);

/** @brief Makes a curve around caller arrays: a CPOLYGON and a KNOTVECTOR record are
 *  allocated in ws and point at Pw and U (which are not copied).
 *  @param cur (out) record; @param Pw (in) Pw[0..n]; @param n highest point index;
 *  @param p degree; @param U (in) knots U[0..m]; @param m highest knot index;
 *  @param ws workspace that owns the two records.
 *  @return 0, or 1 with error 15 "S_GETPOS" or "S_GETKNS" (cur untouched). */
ORVO_API int16_t U_makcu2(CURVE *cur, CPOINT *Pw, int32_t n, int16_t p, double *U, int32_t m,
                          STACKS *ws);

/** @brief As U_makcu2, with the control points first built in ws from x, y, z, w[0..n]
 *  as given (as U_makpl2 does); the knots U[0..m] are not copied.
 *  @return 0, or 1 with error 15 "S_GETC1D", "S_GETPOS" or "S_GETKNS" (cur untouched). */
ORVO_API int16_t U_makcu3(CURVE *cur, const double *x, const double *y, const double *z,
                          const double *w, int32_t n, int16_t p, double *U, int32_t m, STACKS *ws);

/** @brief Fills a curve-function record: cfn = {cvl, p, knt}.
 *  @param cfn (out) record; @param cvl (in) value list, not copied; @param p degree;
 *  @param knt (in) knot vector, not copied. No checks, no error. */
ORVO_API void U_makcf1(CFUNCTION *cfn, CVLIST *cvl, int16_t p, KNOTVECTOR *knt);

/** @brief As U_makcu2 for a curve function: a CVLIST and a KNOTVECTOR record in ws around
 *  values[0..n] and U[0..m] (not copied).
 *  @return 0, or 1 with error 15 "S_GETCVL" or "S_GETKNS" (cfn untouched). */
ORVO_API int16_t U_makcf2(CFUNCTION *cfn, double *values, int32_t n, int16_t p, double *U,
                          int32_t m, STACKS *ws);

/** @brief Fills a surface record: sur = {net, p, q, knu, knv}.
 *  @param sur (out) record; @param net (in) control net; @param p, q degrees in u, v;
 *  @param knu, knv (in) u and v knot vectors. Nothing is copied or checked; no error. */
ORVO_API void U_maksu1(SURFACE *sur, CNET *net, int16_t p, int16_t q, KNOTVECTOR *knu,
                       KNOTVECTOR *knv);

/** @brief Makes a surface around caller arrays: a CNET and two KNOTVECTOR records are
 *  allocated in ws and point at Pw and U, V (which are not copied).
 *  @param sur (out) record; @param Pw (in) Pw[0..n][0..m]; @param n, m highest indices;
 *  @param p, q degrees; @param U, V (in) knots U[0..r], V[0..s]; @param r, s highest
 *  knot indices; @param ws workspace that owns the records.
 *  @return 0, or 1 with error 15 "S_GETNES" or "S_GETKNS" (sur untouched). */
ORVO_API int16_t U_maksu2(SURFACE *sur, CPOINT **Pw, int32_t n, int32_t m, int16_t p, int16_t q,
                          double *U, double *V, int32_t r, int32_t s, STACKS *ws);

/** @brief As U_maksu2, with the net first built in ws from x, y, z, w[0..n][0..m] as given
 *  (as U_maknt2 does); the knots are not copied.
 *  @return 0, or 1 with error 15 "S_GETC2D", "S_GETNES" or "S_GETKNS" (sur untouched). */
ORVO_API int16_t U_maksu3(SURFACE *sur, double *const *x, double *const *y, double *const *z,
                          double *const *w, int32_t n, int32_t m, int16_t p, int16_t q, double *U,
                          double *V, int32_t r, int32_t s, STACKS *ws);

/** @brief Fills a surface-function record: sfn = {svl, p, q, knu, knv}.
 *  @param sfn (out) record; @param svl (in) value list; @param p, q degrees;
 *  @param knu, knv (in) knot vectors. Nothing is copied or checked; no error. */
ORVO_API void U_maksf1(SFUNCTION *sfn, SVLIST *svl, int16_t p, int16_t q, KNOTVECTOR *knu,
                       KNOTVECTOR *knv);

/** @brief As U_maksu2 for a surface function: an SVLIST and two KNOTVECTOR records in ws
 *  around values[0..n][0..m], U[0..r] and V[0..s] (not copied).
 *  @return 0, or 1 with error 15 "S_GETSVL" or "S_GETKNS" (sfn untouched). */
ORVO_API int16_t U_maksf2(SFUNCTION *sfn, double **values, int32_t n, int32_t m, int16_t p,
                          int16_t q, double *U, double *V, int32_t r, int32_t s, STACKS *ws);

/** @brief Makes a power-form curve C(u) = sum of Pw[i] u^i, valid on [a, b]: degree n and
 *  a fresh two-knot vector {a, b} (m = 1) in ws; Pw is not copied.
 *  @param cur (out) record; @param Pw (in) coefficients Pw[0..n] (homogeneous);
 *  @param n highest index and degree (not checked against MAXDEGREE); @param a, b range;
 *  @param ws workspace that owns the polygon and knot records.
 *  @return 0, or 1 with error 15 "S_GETPOS", "S_GETKNS" or "S_GETR1D" (cur untouched). */
ORVO_API int16_t U_makcpl(CURVE *cur, CPOINT *Pw, int32_t n, double a, double b, STACKS *ws);

/** @brief Makes a power-form surface S(u,v) = sum of Pw[i][j] u^i v^j on [a, b] x [c, d]:
 *  p = n, q = m, fresh knot vectors {a, b} and {c, d} in ws; Pw is not copied.
 *  @param sur (out) record; @param Pw (in) coefficients Pw[0..n][0..m];
 *  @param n,m highest indices and degrees; @param a,b u range; @param c,d v range;
 *  @param ws workspace that owns the net and knot records.
 *  @return 0, or 1 with error 15 "S_GETNES", "S_GETKNS" or "S_GETR1D" (sur untouched). */
ORVO_API int16_t U_makspl(SURFACE *sur, CPOINT **Pw, int32_t n, int32_t m, double a, double b,
                          double c, double d, STACKS *ws);

/** @brief Brings curves to one kind in place: when any curve is rational every
 *  non-rational one gets w = 1 (U_curnrr); when any is 3-D every 2-D one gets z = 0
 *  (U_cur2t3). The kind is read from each curve's first control point.
 *  @param curves (in/out) curves[0..n], each with at least one control point;
 *  @param n highest index (n < 0 changes nothing). No error. */
ORVO_API void U_makcco(CURVE **curves, int32_t n);

/** @brief As U_makcco for surfaces: when any surface is rational every non-rational one
 *  gets w = 1 (U_surnrr). @param surfaces (in/out) surfaces[0..n]; @param n highest index.
 *  No error. */
ORVO_API void U_maksco(SURFACE **surfaces, int32_t n);

/* ---- Define sizes ------------------------------------------------------
 * Store new highest indices and degrees into a record that already has its
 * sub-records; the arrays are neither checked nor resized. */

/** @brief Sets the highest index of a knot vector: knt->m = m. No checks, no error. */
ORVO_API void U_defknt(KNOTVECTOR *knt, int32_t m);

/** @brief Sets a curve's sizes: pol->n = n, p, knt->m = m.
 *  @param cur (in/out) curve with polygon and knot records; @param n new highest point
 *  index; @param p new degree; @param m new highest knot index. No checks, no error. */
ORVO_API void U_defcur(CURVE *cur, int32_t n, int16_t p, int32_t m);

/** @brief Sets a surface's sizes: net->n = n, net->m = m, p, q, knu->m = r, knv->m = s.
 *  @param sur (in/out) surface with net and knot records; @param n,m new highest net
 *  indices; @param p,q new degrees in u and v; @param r,s new highest u and v knot
 *  indices. No checks, no error. */
ORVO_API void U_defsur(SURFACE *sur, int32_t n, int32_t m, int16_t p, int16_t q, int32_t r,
                       int32_t s);

/** @brief As U_defcur for a curve function: cvl->n = n, p, knt->m = m. No error. */
ORVO_API void U_defcfn(CFUNCTION *cfn, int32_t n, int16_t p, int32_t m);

/** @brief As U_defsur for a surface function: svl->n, svl->m, p, q, knu->m, knv->m.
 *  No error. */
ORVO_API void U_defsfn(SFUNCTION *sfn, int32_t n, int32_t m, int16_t p, int16_t q, int32_t r,
                       int32_t s);

/* ---- Make empty, test for empty ----------------------------------------
 * An empty record (null sub-record pointers, degrees -1) receives fresh
 * storage from the check-or-allocate routines; any other record keeps its
 * arrays and is redefined in place. */

/** @brief Makes a curve empty: pol = knt = null, p = -1 (nothing is released). */
ORVO_API void U_inicur(CURVE *cur);

/** @brief Makes a curve function empty: cvl = knt = null, p = -1. */
ORVO_API void U_inicfn(CFUNCTION *cfn);

/** @brief Makes a surface empty: net = knu = knv = null, p = q = -1. */
ORVO_API void U_inisur(SURFACE *sur);

/** @brief Makes a surface function empty: svl = knu = knv = null, p = q = -1. */
ORVO_API void U_inisfn(SFUNCTION *sfn);

/** @brief Is the curve empty?
 *  @return 1 when pol or knt is null or p is -1, else 0. */
ORVO_API int16_t U_iscurn(const CURVE *cur);

/** @brief Is the curve function empty?
 *  @return 1 when cvl or knt is null or p is -1, else 0. */
ORVO_API int16_t U_iscfnn(const CFUNCTION *cfn);

/** @brief Is the surface empty?
 *  @return 1 when net, knu or knv is null or p or q is -1, else 0. */
ORVO_API int16_t U_issurn(const SURFACE *sur);

/** @brief Is the surface function empty?
 *  @return 1 when svl, knu or knv is null or p or q is -1, else 0. */
ORVO_API int16_t U_issfnn(const SFUNCTION *sfn);

/* ---- Break apart and query ---------------------------------------------
 * Each routine writes the named fields through its out-pointers (all out);
 * a null out-pointer is skipped. Pointers are returned, never copies. The
 * record and the sub-records read must exist (not checked); no error. */

/** @brief Breaks a knot vector apart. @param knt (in) knot vector;
 *  @param m (out) highest index; @param U (out) knots. */
ORVO_API void U_kntbre(const KNOTVECTOR *knt, int32_t *m, double **U);

/** @brief Breaks a control polygon apart. @param pol (in) control polygon;
 *  @param n (out) highest index;
 *  @param Pw (out) control points. */
ORVO_API void U_polbre(const CPOLYGON *pol, int32_t *n, CPOINT **Pw);

/** @brief Breaks a control net apart. @param net (in) control net;
 *  @param n,m (out) highest indices;
 *  @param Pw (out) row table of the control points. */
ORVO_API void U_netbre(const CNET *net, int32_t *n, int32_t *m, CPOINT ***Pw);

/** @brief Breaks a curve apart: highest point index n, points Pw, degree p, highest knot
 *  index m, knots U (all out). */
ORVO_API void U_curbre(const CURVE *cur, int32_t *n, CPOINT **Pw, int16_t *p, int32_t *m,
                       double **U);

/** @brief Breaks a surface apart: highest net indices n, m, net Pw, degrees p, q, highest
 *  knot indices r, s and knots U, V (all out). */
ORVO_API void U_surbre(const SURFACE *sur, int32_t *n, int32_t *m, CPOINT ***Pw, int16_t *p,
                       int16_t *q, int32_t *r, int32_t *s, double **U, double **V);

/** @brief Breaks a curve function apart: n, values, p, m, U (all out). */
ORVO_API void U_cfnbre(const CFUNCTION *cfn, int32_t *n, double **values, int16_t *p, int32_t *m,
                       double **U);

/** @brief Breaks a surface function apart: n, m, values, p, q, r, s, U, V (all out). */
ORVO_API void U_sfnbre(const SFUNCTION *sfn, int32_t *n, int32_t *m, double ***values, int16_t *p,
                       int16_t *q, int32_t *r, int32_t *s, double **U, double **V);

/** @brief A curve's highest indices: n of the polygon, m of the knots (out). */
ORVO_API void U_curind(const CURVE *cur, int32_t *n, int32_t *m);

/** @brief A curve function's highest indices: n of the values, m of the knots (out). */
ORVO_API void U_cfnind(const CFUNCTION *cfn, int32_t *n, int32_t *m);

/** @brief A surface's highest indices: n, m of the net, r, s of the u and v knots (out). */
ORVO_API void U_surind(const SURFACE *sur, int32_t *n, int32_t *m, int32_t *r, int32_t *s);

/** @brief A surface function's highest indices: n, m of the values, r, s of the knots. */
ORVO_API void U_sfnind(const SFUNCTION *sfn, int32_t *n, int32_t *m, int32_t *r, int32_t *s);

/** @brief A curve's degree. @param cur (in) curve; @param p (out) its degree. */
ORVO_API void U_curdeg(const CURVE *cur, int16_t *p);

/** @brief A curve function's degree. @param cfn (in) curve function; @param p (out) its
 *  degree. */
ORVO_API void U_cfndeg(const CFUNCTION *cfn, int16_t *p);

/** @brief A surface's degrees. @param sur (in) surface; @param p,q (out) degrees in u and
 *  v. */
ORVO_API void U_surdeg(const SURFACE *sur, int16_t *p, int16_t *q);

/** @brief A surface function's degrees. @param sfn (in) surface function;
 *  @param p,q (out) degrees in u and v. */
ORVO_API void U_sfndeg(const SFUNCTION *sfn, int16_t *p, int16_t *q);

/** @brief A curve's knot-vector record. @param cur (in) curve; @param knt (out) pointer
 *  to it. */
ORVO_API void U_curknp(const CURVE *cur, KNOTVECTOR **knt);

/** @brief A curve function's knot-vector record. @param cfn (in) curve function;
 *  @param knt (out) pointer to it. */
ORVO_API void U_cfnknp(const CFUNCTION *cfn, KNOTVECTOR **knt);

/** @brief A surface's knot-vector records. @param sur (in) surface;
 *  @param knu,knv (out) u and v records. */
ORVO_API void U_surknp(const SURFACE *sur, KNOTVECTOR **knu, KNOTVECTOR **knv);

/** @brief A surface function's knot-vector records. @param sfn (in) surface function;
 *  @param knu,knv (out) u and v records. */
ORVO_API void U_sfnknp(const SFUNCTION *sfn, KNOTVECTOR **knu, KNOTVECTOR **knv);

/** @brief A curve's control polygon: highest index n and points Pw (out). */
ORVO_API void U_curpol(const CURVE *cur, int32_t *n, CPOINT **Pw);

/** @brief A surface's control net: highest indices n, m and row table Pw (out). */
ORVO_API void U_surnet(const SURFACE *sur, int32_t *n, int32_t *m, CPOINT ***Pw);

/** @brief A curve function's values: highest index n and array values (out). */
ORVO_API void U_cfncvl(const CFUNCTION *cfn, int32_t *n, double **values);

/** @brief A surface function's values: highest indices n, m and row table values (out). */
ORVO_API void U_sfnsvl(const SFUNCTION *sfn, int32_t *n, int32_t *m, double ***values);

/** @brief A curve's knots: highest index m and array U (out). */
ORVO_API void U_curknt(const CURVE *cur, int32_t *m, double **U);

/** @brief A surface's knots: highest indices r, s and arrays U, V (out). */
ORVO_API void U_surknt(const SURFACE *sur, int32_t *r, int32_t *s, double **U, double **V);

/** @brief A curve's points Pw, knot-vector record knt and knots U (out). */
ORVO_API void U_curpku(const CURVE *cur, CPOINT **Pw, KNOTVECTOR **knt, double **U);

/** @brief A surface's net Pw, knot-vector records knu, knv and knots U, V (out). */
ORVO_API void U_surpku(const SURFACE *sur, CPOINT ***Pw, KNOTVECTOR **knu, KNOTVECTOR **knv,
                       double **U, double **V);

/** @brief A curve function's values, knot-vector record knt and knots U (out). */
ORVO_API void U_cfnfku(const CFUNCTION *cfn, double **values, KNOTVECTOR **knt, double **U);

/** @brief A curve's points Pw and knots U (out). */
ORVO_API void U_curpwu(const CURVE *cur, CPOINT **Pw, double **U);

/** @brief A curve function's values and knots U (out). */
ORVO_API void U_cfnfuu(const CFUNCTION *cfn, double **values, double **U);

/** @brief A surface's net Pw and knots U, V (out). */
ORVO_API void U_surpwu(const SURFACE *sur, CPOINT ***Pw, double **U, double **V);

/** @brief A surface function's values and knots U, V (out). */
ORVO_API void U_sfnfuv(const SFUNCTION *sfn, double ***values, double **U, double **V);

/** @brief A curve's sub-records: polygon record pol, degree p, knot record knt (out). */
ORVO_API void U_curppk(const CURVE *cur, CPOLYGON **pol, int16_t *p, KNOTVECTOR **knt);

/** @brief A curve function's sub-records: value list cvl, degree p, knot record knt. */
ORVO_API void U_cfncpk(const CFUNCTION *cfn, CVLIST **cvl, int16_t *p, KNOTVECTOR **knt);

/** @brief A surface's sub-records: net record, degrees p, q, knot records knu, knv (out). */
ORVO_API void U_surnpk(const SURFACE *sur, CNET **net, int16_t *p, int16_t *q, KNOTVECTOR **knu,
                       KNOTVECTOR **knv);

/** @brief A surface function's sub-records: svl, degrees p, q, knot records knu, knv. */
ORVO_API void U_sfnspk(const SFUNCTION *sfn, SVLIST **svl, int16_t *p, int16_t *q, KNOTVECTOR **knu,
                       KNOTVECTOR **knv);

/** @brief A curve's parameter range. @param cur (in) curve;
 *  @param u0,um (out) first and last knots U[0], U[m]. */
ORVO_API void U_curpar(const CURVE *cur, double *u0, double *um);

/** @brief A surface's parameter rectangle: U[0], U[r], V[0], V[s] into u0, ur, v0, vs
 *  (out). */
ORVO_API void U_surpar(const SURFACE *sur, double *u0, double *ur, double *v0, double *vs);

/* ---- Replace array pointers --------------------------------------------
 * Install new arrays into the existing sub-records (after a reallocation);
 * sizes are unchanged, the old arrays are not released. No error. */

/** @brief Sets a curve's arrays: pol->Pw = Pw, knt->U = U (in, not copied). */
ORVO_API void U_curspu(CURVE *cur, CPOINT *Pw, double *U);

/** @brief Sets a surface's arrays: net->Pw = Pw, knu->U = U, knv->U = V (not copied). */
ORVO_API void U_surspu(SURFACE *sur, CPOINT **Pw, double *U, double *V);

/** @brief Sets a curve function's arrays: cvl->values = values, knt->U = U. */
ORVO_API void U_cfnsfu(CFUNCTION *cfn, double *values, double *U);

/** @brief Sets a surface function's arrays: svl->values, knu->U = U, knv->U = V. */
ORVO_API void U_sfnsfu(SFUNCTION *sfn, double **values, double *U, double *V);

/* ---- Kind tests and conversions ----------------------------------------
 * The kind of a record is read from its first control point only: z =
 * +DBL_MAX marks 2-D, w = -DBL_MAX non-rational. The conversions run over
 * the record's current highest indices; none raises an error. */

/** @brief Is the curve 3-D? @return 1 when Pw[0].z is not the 2-D marker, else 0. */
ORVO_API int16_t U_iscur3(const CURVE *cur);

/** @brief Is the curve rational? @return 1 when Pw[0].w is not the non-rational marker,
 *  else 0. */
ORVO_API int16_t U_iscurr(const CURVE *cur);

/** @brief Is the surface rational? @return 1 when Pw[0][0].w is not the non-rational
 *  marker, else 0. */
ORVO_API int16_t U_issurr(const SURFACE *sur);

/** @brief Makes a curve 3-D: z = 0 in every control point Pw[0..n]. */
ORVO_API void U_cur2t3(CURVE *cur);

/** @brief Makes a curve 2-D: z = +DBL_MAX (the marker) in every control point. */
ORVO_API void U_cur3t2(CURVE *cur);

/** @brief Makes a curve rational: w = 1 in every control point, x, y, z unchanged. */
ORVO_API void U_curnrr(CURVE *cur);

/** @brief Makes a surface rational: w = 1 in every control point of the net. */
ORVO_API void U_surnrr(SURFACE *sur);

/** @brief Makes a curve non-rational: w = -DBL_MAX in every control point; x, y, z keep
 *  their stored (weighted) values, so a rational curve becomes the polynomial curve of
 *  its homogeneous coordinates. */
ORVO_API void U_currnr(CURVE *cur);

/** @brief As U_currnr for a surface: w = -DBL_MAX in every net point, x, y, z kept. */
ORVO_API void U_surrnr(SURFACE *sur);

/** @brief Clamps a parameter into the curve's range [U[0], U[m]].
 *  @param cur (in) curve with knots;
 *  @param u (in/out) parameter; values inside the range are left unchanged. */
ORVO_API void U_curpcl(const CURVE *cur, double *u);

/** @brief Clamps u into [U[0], U[r]] and v into [V[0], V[s]] of the surface.
 *  @param sur (in) surface with knots; @param u,v (in/out) parameters. */
ORVO_API void U_surpcl(const SURFACE *sur, double *u, double *v);

/* ---- Early release of single blocks ------------------------------------
 * Each routine frees one block that was allocated into ws by the S_get
 * routine of its kind, before the workspace is released as a whole. The
 * block is looked up on the list of its kind only; a null pointer, a null
 * ws, or a block not on that list (not from ws, another kind, already
 * freed) is left alone. No error is raised. */

/** @brief Releases an int16 array of S_getf1d. @param block (in) the array;
 *  @param ws workspace it was allocated in. */
ORVO_API void U_kilf1d(int16_t *block, STACKS *ws);

/** @brief Releases an int32 array of S_geti1d. @param block (in) the array;
 *  @param ws workspace it was allocated in. */
ORVO_API void U_kili1d(int32_t *block, STACKS *ws);

/** @brief Releases an array of int32 pointers of S_geti1p. @param block (in) the array;
 *  @param ws workspace it was allocated in. */
ORVO_API void U_kili1p(int32_t **block, STACKS *ws);

/** @brief Releases a double array of S_getr1d (knots, values). @param block (in) the
 *  array; @param ws workspace it was allocated in. */
ORVO_API void U_kilr1d(double *block, STACKS *ws);

/** @brief Releases a POINT array of S_getp1d. @param block (in) the array;
 *  @param ws workspace it was allocated in. */
ORVO_API void U_kilp1d(POINT *block, STACKS *ws);

/** @brief Releases a CPOINT array of S_getc1d. @param block (in) the array;
 *  @param ws workspace it was allocated in. */
ORVO_API void U_kilc1d(CPOINT *block, STACKS *ws);

/** @brief Releases a 2-D int16 array of S_getf2d: its row table, then the data block
 *  rows[0]. @param rows (in) the row table; @param ws workspace it was allocated in. */
ORVO_API void U_kilf2d(int16_t **rows, STACKS *ws);

/** @brief Releases a 2-D int32 array of S_geti2d: row table, then data block rows[0]. */
ORVO_API void U_kili2d(int32_t **rows, STACKS *ws);

/** @brief Releases a 2-D array of int32 pointers of S_geti2p: row table, then rows[0]. */
ORVO_API void U_kili2p(int32_t ***rows, STACKS *ws);

/** @brief Releases a 2-D double array of S_getr2d: row table, then data block rows[0]. */
ORVO_API void U_kilr2d(double **rows, STACKS *ws);

/** @brief Releases a 2-D POINT array of S_getp2d: row table, then data block rows[0]. */
ORVO_API void U_kilp2d(POINT **rows, STACKS *ws);

/** @brief Releases a CPOINT net of S_getc2d: row table, then data block rows[0]. */
ORVO_API void U_kilc2d(CPOINT **rows, STACKS *ws);

/** @brief Releases a CPOLYGON record (S_getpos) only; its point array stays. */
ORVO_API void U_kilpol(CPOLYGON *pol, STACKS *ws);

/** @brief Releases a CNET record (S_getnes) only; its row table and points stay. */
ORVO_API void U_kilnet(CNET *net, STACKS *ws);

/** @brief Releases a KNOTVECTOR record (S_getkns) only; its knot array stays. */
ORVO_API void U_kilknt(KNOTVECTOR *knt, STACKS *ws);

/** @brief Releases a CVLIST record (S_getcvl) only; its value array stays. */
ORVO_API void U_kilcvl(CVLIST *cvl, STACKS *ws);

/** @brief Releases an SVLIST record (S_getsvl) only; its value array stays. */
ORVO_API void U_kilsvl(SVLIST *svl, STACKS *ws);

/** @brief Releases the parts of a curve: polygon record, its points, knot-vector record,
 *  its knots (each only when found in ws). The CURVE record itself stays and still holds
 *  the old pointers: make it empty (U_inicur) before reusing it. A null cur does nothing. */
ORVO_API void U_kilcur(CURVE *cur, STACKS *ws);

/** @brief As U_kilcur for a surface: net record, net, knu record, U, knv record, V. */
ORVO_API void U_kilsur(SURFACE *sur, STACKS *ws);

/** @brief As U_kilcur for a curve function: value-list record, values, knot record, U. */
ORVO_API void U_kilcfn(CFUNCTION *cfn, STACKS *ws);

/** @brief As U_kilcur for a surface function: svl record, values, knu record, U, knv
 *  record, V. */
ORVO_API void U_kilsfn(SFUNCTION *sfn, STACKS *ws);

/* ---- Reallocation by copying -------------------------------------------
 * A fresh array of the new highest indices is allocated in ws, elements
 * [0..min(old, new)] (2-D: in both directions) are copied from *array,
 * the old array is released with the matching U_kil routine (left alone
 * when it is not in ws) and *array is set to the new one (error 7 under
 * the routine's name, e.g. "U_RALF1D", when array is null); elements beyond
 * the copied range are unset. A null *array copies nothing. On failure
 * *array and the old array are unchanged. */

/** @brief Reallocates an int16 array to highest index newn.
 *  @param array (in/out) the array's address; @param oldn,newn old and new highest index;
 *  @param ws workspace for the new array (the old one is released from it).
 *  @return 0, or 1 with error 15 "S_GETF1D"; error 7 under the routine's own name when array is null. */
ORVO_API int16_t U_ralf1d(int16_t **array, int32_t oldn, int32_t newn, STACKS *ws);

/** @brief As U_ralf1d for an int32 array.
 *  @return 0, or 1 with error 15 "S_GETI1D"; error 7 under the routine's own name when array is null. */
ORVO_API int16_t U_rali1d(int32_t **array, int32_t oldn, int32_t newn, STACKS *ws);

/** @brief As U_ralf1d for an array of int32 pointers (the pointers are copied).
 *  @return 0, or 1 with error 15 "S_GETI1P"; error 7 under the routine's own name when array is null. */
ORVO_API int16_t U_rali1p(int32_t ***array, int32_t oldn, int32_t newn, STACKS *ws);

/** @brief As U_ralf1d for a double array.
 *  @return 0, or 1 with error 15 "S_GETR1D"; error 7 under the routine's own name when array is null. */
ORVO_API int16_t U_ralr1d(double **array, int32_t oldn, int32_t newn, STACKS *ws);

/** @brief As U_ralf1d for a POINT array.
 *  @return 0, or 1 with error 15 "S_GETP1D"; error 7 under the routine's own name when array is null. */
ORVO_API int16_t U_ralp1d(POINT **array, int32_t oldn, int32_t newn, STACKS *ws);

/** @brief As U_ralf1d for a CPOINT array (whole points are copied).
 *  @return 0, or 1 with error 15 "S_GETC1D"; error 7 under the routine's own name when array is null. */
ORVO_API int16_t U_ralc1d(CPOINT **array, int32_t oldn, int32_t newn, STACKS *ws);

/** @brief Reallocates a 2-D int16 array to [0..newn][0..newm].
 *  @param array (in/out) address of the row table; @param oldn,oldm old highest indices;
 *  @param newn,newm new highest indices; @param ws workspace for the new array (the old
 *  one is released from it).
 *  @return 0, or 1 with error 15 "S_GETF2D"; error 7 under the routine's own name when array is null. */
ORVO_API int16_t U_ralf2d(int16_t ***array, int32_t oldn, int32_t oldm, int32_t newn, int32_t newm,
                          STACKS *ws);

/** @brief As U_ralf2d for a 2-D int32 array.
 *  @return 0, or 1 with error 15 "S_GETI2D"; error 7 under the routine's own name when array is null. */
ORVO_API int16_t U_rali2d(int32_t ***array, int32_t oldn, int32_t oldm, int32_t newn, int32_t newm,
                          STACKS *ws);

/** @brief As U_ralf2d for a 2-D array of int32 pointers.
 *  @return 0, or 1 with error 15 "S_GETI2P"; error 7 under the routine's own name when array is null. */
ORVO_API int16_t U_rali2p(int32_t ****array, int32_t oldn, int32_t oldm, int32_t newn, int32_t newm,
                          STACKS *ws);

/** @brief As U_ralf2d for a 2-D double array.
 *  @return 0, or 1 with error 15 "S_GETR2D"; error 7 under the routine's own name when array is null. */
ORVO_API int16_t U_ralr2d(double ***array, int32_t oldn, int32_t oldm, int32_t newn, int32_t newm,
                          STACKS *ws);

/** @brief As U_ralf2d for a 2-D POINT array.
 *  @return 0, or 1 with error 15 "S_GETP2D"; error 7 under the routine's own name when array is null. */
ORVO_API int16_t U_ralp2d(POINT ***array, int32_t oldn, int32_t oldm, int32_t newn, int32_t newm,
                          STACKS *ws);

/** @brief As U_ralf2d for a CPOINT net.
 *  @return 0, or 1 with error 15 "S_GETC2D"; error 7 under the routine's own name when array is null. */
ORVO_API int16_t U_ralc2d(CPOINT ***array, int32_t oldn, int32_t oldm, int32_t newn, int32_t newm,
                          STACKS *ws);

/* ---- Output records: check or allocate ---------------------------------
 * An empty output record (U_inicur and its twins) receives fresh storage
 * of exactly the sizes asked for in ws; a non-empty one must already be
 * large enough and is redefined to the new sizes in place (its arrays keep
 * their allocated size). The record itself always belongs to the caller.
 * On an allocation failure the record is untouched and the parts already
 * allocated stay in ws. */

/** @brief Checks or allocates an output curve of highest point index n, degree p and
 *  highest knot index m.
 *  @param cur (in/out) empty or non-empty curve; @param n highest control-point index;
 *  @param p degree; @param m highest knot index; @param tag (in) the calling routine's
 *  name for error 9, kept by pointer (a string literal); @param ws workspace for fresh
 *  storage.
 *  @return 0, or 1 with error 9 under tag when a non-empty cur has pol->n < n or knt->m < m
 *  (cur unchanged); 1 with U_getcur's error 15 for an empty cur. */
ORVO_API int16_t U_curchk(CURVE *cur, int32_t n, int16_t p, int32_t m, const char *tag, STACKS *ws);

/** @brief As U_curchk for a curve function (cvl->n, knt->m are compared).
 *  @return 0, or 1 with error 9 under tag, or U_getcfn's error 15. */
ORVO_API int16_t U_cfnchk(CFUNCTION *cfn, int32_t n, int16_t p, int32_t m, const char *tag,
                          STACKS *ws);

/** @brief As U_curchk for a surface of net [0..n][0..m], degrees p, q and highest knot
 *  indices r, s.
 *  @return 0, or 1 with error 9 under tag when a non-empty sur has net->n < n, net->m < m,
 *  knu->m < r or knv->m < s; 1 with U_getsur's error 15 for an empty sur. */
ORVO_API int16_t U_surchk(SURFACE *sur, int32_t n, int32_t m, int16_t p, int16_t q, int32_t r,
                          int32_t s, const char *tag, STACKS *ws);

/** @brief As U_surchk for a surface function (svl->n, svl->m, knu->m, knv->m compared).
 *  @return 0, or 1 with error 9 under tag, or U_getsfn's error 15. */
ORVO_API int16_t U_sfnchk(SFUNCTION *sfn, int32_t n, int32_t m, int16_t p, int16_t q, int32_t r,
                          int32_t s, const char *tag, STACKS *ws);

/** @brief Allocates a curve's parts in ws (polygon of n+1 points, knot vector of m+1
 *  knots) and installs them with degree p; whatever cur held is overwritten, not freed.
 *  @param cur (out) caller's record; @param n highest control-point index; @param p
 *  degree; @param m highest knot index; @param ws workspace that owns the new parts.
 *  @return 0, or 1 with error 15 "S_GETPOS", "S_GETC1D", "S_GETKNS" or "S_GETR1D". */
ORVO_API int16_t U_getcur(CURVE *cur, int32_t n, int16_t p, int32_t m, STACKS *ws);

/** @brief As U_getcur for a curve function (value list of n+1 values).
 *  @return 0, or 1 with error 15 "S_GETCVL", "S_GETR1D" or "S_GETKNS". */
ORVO_API int16_t U_getcfn(CFUNCTION *cfn, int32_t n, int16_t p, int32_t m, STACKS *ws);

/** @brief As U_getcur for a surface: net [0..n][0..m], knots U[0..r], V[0..s], degrees p, q.
 *  @return 0, or 1 with error 15 "S_GETNES", "S_GETC2D", "S_GETKNS" or "S_GETR1D". */
ORVO_API int16_t U_getsur(SURFACE *sur, int32_t n, int32_t m, int16_t p, int16_t q, int32_t r,
                          int32_t s, STACKS *ws);

/** @brief As U_getsur for a surface function (values [0..n][0..m]).
 *  @return 0, or 1 with error 15 "S_GETSVL", "S_GETR2D", "S_GETKNS" or "S_GETR1D". */
ORVO_API int16_t U_getsfn(SFUNCTION *sfn, int32_t n, int32_t m, int16_t p, int16_t q, int32_t r,
                          int32_t s, STACKS *ws);

/* ---- Copy, compact, split and join -------------------------------------
 * Outputs go through check or allocate (above) under the routine's own tag
 * in ws: errors 9 (non-empty output too small) and 15 (allocation) pass
 * through from it. Inputs are not validated; values are copied as stored
 * (markers included). */

/** @brief Copies a curve: dst gets src's n, p, m, points Pw[0..n] and knots U[0..m].
 *  @param src (in) curve; @param dst (in/out) empty or large enough curve (may be src);
 *  @param ws workspace for the storage of an empty dst.
 *  @return 0, or 1 with error 9 "U_CURCOP" or 15 from U_curchk. */
ORVO_API int16_t U_curcop(const CURVE *src, CURVE *dst, STACKS *ws);

/** @brief As U_curcop for a surface (net row by row, both knot vectors).
 *  @return 0, or 1 with error 9 "U_SURCOP" or 15 from U_surchk. */
ORVO_API int16_t U_surcop(const SURFACE *src, SURFACE *dst, STACKS *ws);

/** @brief As U_curcop for a curve function.
 *  @return 0, or 1 with error 9 "U_CFNCOP" or 15 from U_cfnchk. */
ORVO_API int16_t U_cfncop(const CFUNCTION *src, CFUNCTION *dst, STACKS *ws);

/** @brief As U_curcop for a surface function.
 *  @return 0, or 1 with error 9 "U_SFNCOP" or 15 from U_sfnchk. */
ORVO_API int16_t U_sfncop(const SFUNCTION *src, SFUNCTION *dst, STACKS *ws);

/** @brief Shrinks a curve's arrays to fit its highest indices: fresh Pw[0..n] and
 *  U[0..m] in ws receive the current values and replace the old arrays, which are
 *  released when they are in ws (U_kilc1d, U_kilr1d).
 *  @param cur (in/out) non-empty curve; @param ws workspace for the new arrays.
 *  @return 0, or 1 with error 15 "S_GETC1D" or "S_GETR1D" (cur unchanged). */
ORVO_API int16_t U_curcmp(CURVE *cur, STACKS *ws);

/** @brief As U_curcmp for a surface (net and both knot vectors).
 *  @return 0, or 1 with error 15 "S_GETC2D" or "S_GETR1D" (sur unchanged). */
ORVO_API int16_t U_surcmp(SURFACE *sur, STACKS *ws);

/** @brief As U_curcmp for a curve function.
 *  @return 0, or 1 with error 15 "S_GETR1D" (cfn unchanged). */
ORVO_API int16_t U_cfncmp(CFUNCTION *cfn, STACKS *ws);

/** @brief As U_curcmp for a surface function.
 *  @return 0, or 1 with error 15 "S_GETR2D" or "S_GETR1D" (sfn unchanged). */
ORVO_API int16_t U_sfncmp(SFUNCTION *sfn, STACKS *ws);

/** @brief Splits a curve into its weighted coordinates and its weights: outcur gets n, p,
 *  U and Pw[i] = (x, y, z as stored, non-rational marker); when cur is rational, outfn
 *  gets n, p, U and values[i] = Pw[i].w (for a non-rational cur outfn is not touched).
 *  @param cur (in); @param outcur (in/out) may be cur; @param outfn (in/out) required
 *  when cur is rational; @param ws workspace for the storage of empty outputs.
 *  @return 0, or 1 with error 9 "U_CURNAD" or 15 from U_cfnchk / U_curchk (outfn may
 *  already be written when outcur fails). */
ORVO_API int16_t U_curnad(const CURVE *cur, CURVE *outcur, CFUNCTION *outfn, STACKS *ws);

/** @brief As U_curnad for a surface; outsfn gets the weights of a rational sur.
 *  @return 0, or 1 with error 9 "U_SURNAD" or 15 from U_sfnchk / U_surchk. */
ORVO_API int16_t U_surnad(const SURFACE *sur, SURFACE *outsur, SFUNCTION *outsfn, STACKS *ws);

/** @brief Joins weighted coordinates and weights (inverse of U_curnad): outcur gets cur's
 *  n, p, U and Pw[i] = (x, y, z of cur as stored, w = fn's values[i]), w the non-rational
 *  marker when fn is null.
 *  @param cur (in); @param fn (in, may be null); @param outcur (in/out) may be cur;
 *  @param ws workspace for the storage of an empty outcur.
 *  @return 0, or 1 with error 14 "U_NADCUR" when fn's n, p or m differ from cur's (nothing
 *  changed), or 9 "U_NADCUR" / 15 from U_curchk. */
ORVO_API int16_t U_nadcur(const CURVE *cur, const CFUNCTION *fn, CURVE *outcur, STACKS *ws);

/** @brief As U_nadcur for a surface and an optional weight function sfn.
 *  @return 0, or 1 with error 14 "U_NADSUR" when sfn's n, m, p, q, r or s differ from
 *  sur's, or 9 "U_NADSUR" / 15 from U_surchk. */
ORVO_API int16_t U_nadsur(const SURFACE *sur, const SFUNCTION *sfn, SURFACE *outsur, STACKS *ws);

/** @brief Splits a curve into coordinate functions, each with the curve's n, p and a copy
 *  of U and the stored coordinate as values: fx (x), fy (y), fz (z, only when cur is
 *  3-D), fw (w, only when cur is rational). A null output is skipped.
 *  @param cur (in); @param fx,fy,fz,fw (in/out) curve functions; @param ws workspace for
 *  the storage of empty outputs.
 *  @return 0, or 1 with error 9 "U_CURCOR" or 15 from U_cfnchk (outputs earlier in the
 *  order x, y, z, w stay written). */
ORVO_API int16_t U_curcor(const CURVE *cur, CFUNCTION *fx, CFUNCTION *fy, CFUNCTION *fz,
                          CFUNCTION *fw, STACKS *ws);

/** @brief As U_curcor for a surface: fx, fy, fz always, fw only when sur is rational (a
 *  null output is skipped).
 *  @return 0, or 1 with error 9 "U_SURCOR" or 15 from U_sfnchk. */
ORVO_API int16_t U_surcor(const SURFACE *sur, SFUNCTION *fx, SFUNCTION *fy, SFUNCTION *fz,
                          SFUNCTION *fw, STACKS *ws);

/** @brief Joins coordinate functions into a curve: Pw[i] = (fx, fy, fz or the 2-D marker,
 *  fw or the non-rational marker) at i; n, p and U are taken from fx (knot values of the
 *  others are not compared).
 *  @param fx,fy (in) required; @param fz,fw (in, may be null); @param outcur (in/out);
 *  @param ws workspace for the storage of an empty outcur.
 *  @return 0, or 1 with error 14 "U_CORCUR" when fx or fy is null or a given function
 *  differs from fx in n, p or m (nothing changed), or 9 "U_CORCUR" / 15 from U_curchk. */
ORVO_API int16_t U_corcur(const CFUNCTION *fx, const CFUNCTION *fy, const CFUNCTION *fz,
                          const CFUNCTION *fw, CURVE *outcur, STACKS *ws);

/** @brief As U_corcur for a surface; fz is required, fw may be null (non-rational).
 *  @return 0, or 1 with error 14 "U_CORSUR" when fx, fy or fz is null or a given function
 *  differs from fx in n, m, p, q, r or s, or 9 "U_CORSUR" / 15 from U_surchk. */
ORVO_API int16_t U_corsur(const SFUNCTION *fx, const SFUNCTION *fy, const SFUNCTION *fz,
                          const SFUNCTION *fw, SURFACE *outsur, STACKS *ws);

/* ---- Text files and printing ------------------------------------------- */
/* Files are opened "r" or "w" and closed before return; a file that cannot
 * be opened, a short or malformed file, or a header that cannot describe a
 * record gives error 18. check is 0 (no validation) or 1 (validate the
 * result); other values give error 13. The printers write to the standard
 * output and wait for one character of the standard input between
 * sections.
 * Format: integers "%ld" (indices) and "%hd" (degrees, flags), reals
 * "%18.16f" (fixed point, 16 decimals, so the precision is absolute, not
 * relative), one blank between the values of a line. Points are stored as
 * held (weighted coordinates when rational); omitted fields are restored as
 * the markers on reading. Readers accept any white space between numbers,
 * but every token must convert whole. A reader fills its output only after
 * the whole file was read: on a file error the caller's record is left as
 * it was. */

/** @brief Writes a curve file: lines n, p, rational flag (1/0), dimension (3/2), then
 *  n+1 point lines "x y [z] [w]" (z when 3-D, w when rational), then m+1 knot lines.
 *  @param cur (in) curve; @param path (in) file name, replaced if it exists.
 *  @return 0, or 1 with error 1 "U_OUTCUR" when cur is null or empty, n or p is negative,
 *  m != n+p+1 or the points differ in kind; 3 "U_OUTCUR" when p > MAXDEGREE; 14
 *  "U_OUTCUR" when p > n; 18 "U_OUTCUR" when the file cannot be opened or written. */
ORVO_API int16_t U_outcur(const CURVE *cur, const char *path);

/** @brief Reads a curve file (format of U_outcur, m = n+p+1; a dimension other than 2
 *  reads as 3-D, a non-zero flag as rational) into cur through U_curchk.
 *  @param cur (in/out) empty or large enough curve; @param path (in) file name;
 *  @param check 1 validates the result, any other value does not; @param ws workspace
 *  for fresh storage.
 *  @return 0, or 1 with error 18 "U_INPCUR" (cannot
 *  open; header with n < 0, p outside 0..min(n, MAXDEGREE) or more numbers than the file
 *  holds; short or malformed body); 9 "U_INPCUR" (non-empty cur too small, tested before
 *  the body is read); 15 from the allocators; with check 1, error 1, 3, 5 or 4 "U_INPCUR"
 *  from the validation (cur then holds what was read). */
ORVO_API int16_t U_inpcur(CURVE *cur, const char *path, int16_t check, STACKS *ws);

/** @brief Writes a curve-array file: a line k, then curves[0..k] each as a curve file.
 *  @param curves (in) curve pointers [0..k]; @param k highest index; @param path (in).
 *  @return 0, or 1 with error 7 "U_OUTCUA" when k < 0 or curves is null; 1, 3 or 14
 *  "U_OUTCUA" for a curve refused as by U_outcur (nothing written); 18 "U_OUTCUA" when the
 *  file cannot be opened or written. */
ORVO_API int16_t U_outcua(CURVE *const *curves, int32_t k, const char *path);

/** @brief Reads a curve-array file into a fresh array of k+1 fresh curves in ws.
 *  @param curves (out) the array of curve pointers; @param k (out) its highest index;
 *  @param path (in) file name; @param check 1 validates every curve, any other value does
 *  not; @param ws workspace that receives the array and the curves.
 *  @return 0, or 1 with error 7 "U_INPCUA" when curves or k is null; 18 "U_INPCUA" (cannot open, bad
 *  count, or any record refused as by U_inpcur; nothing put in ws); 15 from the
 *  allocators; with check 1, error 1, 3, 5 or 4 "U_INPCUA" from the validation (curves and
 *  k are then already set). */
ORVO_API int16_t U_inpcua(CURVE ***curves, int32_t *k, const char *path, int16_t check, STACKS *ws);

/** @brief Writes a surface file: lines "n m", "p q", rational flag, then (n+1)(m+1) point
 *  lines "x y z [w]" row by row (i outer), then r+1 U knots and s+1 V knots, one a line.
 *  Surfaces are always written 3-D.
 *  @param sur (in) surface; @param path (in) file name, replaced if it exists.
 *  @return 0, or 1 with error 2 "U_OUTSUR" when sur is null or empty, an index or degree
 *  is negative, r != n+p+1, s != m+q+1 or the points differ in rationality; 3 "U_OUTSUR"
 *  for a degree above MAXDEGREE; 14 "U_OUTSUR" when p > n or q > m; 18 "U_OUTSUR" when the
 *  file cannot be opened or written. */
ORVO_API int16_t U_outsur(const SURFACE *sur, const char *path);

/** @brief Reads a surface file (format of U_outsur) into sur through U_surchk.
 *  @param sur (in/out) empty or large enough surface; @param path (in) file name;
 *  @param check 1 validates, any other value not; @param ws workspace for the storage of
 *  an empty sur.
 *  @return 0, or 1 with error 18 "U_INPSUR" (cannot open, bad
 *  header, short or malformed body); 9 "U_INPSUR" (non-empty sur too small); 15 from the
 *  allocators; with check 1, error 2, 3, 5 or 4 "U_INPSUR" from the validation (sur then
 *  holds what was read). */
ORVO_API int16_t U_inpsur(SURFACE *sur, const char *path, int16_t check, STACKS *ws);

/** @brief Writes a point list: a line n, then n+1 lines "x y z".
 *  @param points (in) points[0..n]; @param n highest index; @param path (in) file name.
 *  @return 0, or 1 with error 7 "U_OUTP1D" when n < 0 or points is null; 18 "U_OUTP1D"
 *  when the file cannot be opened or written. */
ORVO_API int16_t U_outp1d(const POINT *points, int32_t n, const char *path);

/** @brief Reads a point list (format of U_outp1d) into a fresh array in ws.
 *  @param points (out) the array [0..n]; @param n (out) its highest index;
 *  @param path (in) file name; @param ws workspace that receives the array.
 *  @return 0, or 1 with error 18 "U_INPP1D" (cannot open, bad n, short or malformed
 *  file; outputs untouched); 15 "S_GETP1D". */
ORVO_API int16_t U_inpp1d(POINT **points, int32_t *n, const char *path, STACKS *ws);

/** @brief Writes a point net: a line "n m", then (n+1)(m+1) lines "x y z" row by row.
 *  @param points (in) row table [0..n][0..m]; @param n,m highest indices;
 *  @param path (in) file name, replaced if it exists.
 *  @return 0, or 1 with error 7 "U_OUTP2D" when n or m < 0 or points is null; 18
 *  "U_OUTP2D" when the file cannot be opened or written. */
ORVO_API int16_t U_outp2d(POINT *const *points, int32_t n, int32_t m, const char *path);

/** @brief Reads a point net (format of U_outp2d) into a fresh 2-D array in ws.
 *  @param points (out) row table [0..n][0..m]; @param n,m (out) highest indices;
 *  @param path (in) file name; @param ws workspace that receives the array.
 *  @return 0, or 1 with error 18 "U_INPP2D" (cannot open, bad sizes, short or malformed
 *  file; outputs untouched); 15 "S_GETP2D". */
ORVO_API int16_t U_inpp2d(POINT ***points, int32_t *n, int32_t *m, const char *path, STACKS *ws);

/** @brief Prints a curve: the four header lines of the curve file; pause; the points with
 *  two blanks between fields; pause; the knots.
 *  @return 0, or 1 with error 1 "U_PRTCUR" when cur is null or empty or n < 0 (nothing
 *  printed). */
ORVO_API int16_t U_prtcur(const CURVE *cur);

/** @brief Prints a surface: "n m", "p q", rational flag; pause; each row of the net
 *  followed by a pause; pause; the U knots; pause; the V knots.
 *  @return 0, or 1 with error 2 "U_PRTSUR" when sur is null or empty or n or m < 0. */
ORVO_API int16_t U_prtsur(const SURFACE *sur);

/** @brief Prints a curve function: n, p; pause; the values; pause; the knots.
 *  @return 0, or 1 with error 1 "U_PRTCFN" when cfn is null or empty. */
ORVO_API int16_t U_prtcfn(const CFUNCTION *cfn);

/** @brief Prints a surface function: "n m", "p q"; pause; each row of values followed by
 *  a pause; pause; the U knots; pause; the V knots.
 *  @return 0, or 1 with error 2 "U_PRTSFN" when sfn is null or empty. */
ORVO_API int16_t U_prtsfn(const SFUNCTION *sfn);

/* ---- Denominator of a rational curve ----------------------------------- */

/** @brief The denominator function of a curve: cfn gets the curve's n, p, a copy of its
 *  knots U[0..m] and values[i] = Pw[i].w as stored (for a non-rational curve that is the
 *  non-rational marker -DBL_MAX).
 *  @param cur (in) curve; @param cfn (in/out) empty or large enough curve function;
 *  @param ws workspace for the storage of an empty cfn.
 *  @return 0, or 1 with error 1 "U_EXCDEN" when cur is null, has no points or knots, or
 *  n or m is negative; 9 "U_EXCDEN" or 15 from U_cfnchk. */
ORVO_API int16_t U_excden(const CURVE *cur, CFUNCTION *cfn, STACKS *ws);

/* ---- Denominator of a rational surface -------------------------------- */

/** @brief As U_excden for a surface: sfn gets n, m, p, q, copies of U and V and
 *  values[i][j] = Pw[i][j].w as stored.
 *  @return 0, or 1 with error 2 "U_EXSDEN" when sur is null, has no net or knots, or an
 *  index is negative; 9 "U_EXSDEN" or 15 from U_sfnchk. */
ORVO_API int16_t U_exsden(const SURFACE *sur, SFUNCTION *sfn, STACKS *ws);

/* ---- Euclidean images of control points --------------------------------
 * The Euclidean points of Pw[i0..i1] (a surface: of the sub-net
 * [i0..i1] x [j0..j1]) in a fresh array in ws, wrapped as a point polygon or
 * point net; error 7 for indices outside the record. */

/** @brief Euclidean images of control points Pw[i0..i1]: (x, y, z) / w for a rational
 *  curve, z = 0 for a 2-D one, in a fresh POINT array in ws.
 *  @param cur (in) curve; @param i0,i1 first and last index, 0 <= i0 <= i1 <= n;
 *  @param polyline (out) point polygon of highest index i1-i0 over that array;
 *  @param ws workspace that owns the point array.
 *  @return 0, or 1 with error 7 "U_MAPCPL" when cur has no points or the indices are out
 *  of range; 11 "U_MAPCPL" for a zero weight (a point without Euclidean image; the
 *  block stays in ws); 15 "S_GETP1D". */
ORVO_API int16_t U_mapcpl(const CURVE *cur, int32_t i0, int32_t i1, PPOLYGON *polyline, STACKS *ws);

/** @brief As U_mapcpl for the sub-net [i0..i1] x [j0..j1] of a surface.
 *  @param sur (in) surface; @param i0,i1 first and last row index, 0 <= i0 <= i1 <= n;
 *  @param j0,j1 first and last column index, 0 <= j0 <= j1 <= m;
 *  @param netl (out) point net of highest indices i1-i0, j1-j0 over a fresh array in ws;
 *  @param ws workspace that owns the point array.
 *  @return 0, or 1 with error 7 "U_MAPCNT" when sur has no net or the indices are not
 *  0 <= i0 <= i1 <= n, 0 <= j0 <= j1 <= m; 11 "U_MAPCNT" for a zero weight; 15 "S_GETP2D". */
ORVO_API int16_t U_mapcnt(const SURFACE *sur, int32_t i0, int32_t i1, int32_t j0, int32_t j1,
                          PNET *netl, STACKS *ws);

/* ---- Exchange of the two directions of a surface ------------------------ */

/** @brief Exchanges u and v of a surface in place: a fresh net in ws with
 *  Pw'[j][i] = Pw[i][j] goes into the existing net record (n and m exchanged), p and q and
 *  the knot records knu and knv are exchanged, and the old net is released (U_kilc2d,
 *  only when it is in ws). Applying it twice restores the surface.
 *  @param sur (in/out) surface; @param ws workspace for the new net.
 *  @return 0, or 1 with error 2 "U_SWAPUV" when sur has no net, a null row or a negative
 *  index; 15 "S_GETC2D" (sur unchanged). */
ORVO_API int16_t U_swapuv(SURFACE *sur, STACKS *ws);

/* ---- Mapping knot vectors onto an interval ----------------------------- */
/* The knots of a curve (of a surface: dir 1 the u vector onto [xmin, xmax],
 * 2 the v vector onto [ymin, ymax], 3 both; other values change nothing)
 * mapped linearly onto the range; control points are not touched. */

/** @brief Maps a curve's knots linearly onto range [a, b]: the first p+1 knots become a,
 *  the last p+1 become b (clamped ends assumed), U[j] -> a + (U[j] - U[0])(b - a) /
 *  (U[m] - U[0]) between. A range with a > b is not refused.
 *  @param cur (in/out) curve; @param range (in) target interval, a = range.a,
 *  b = range.b. Nothing changes, and no error is raised, when cur or its
 *  knots are missing, p < 0, m < 2p+1, the ends already are a and b, U[m] = U[0], or the
 *  scale would overflow or is not finite. */
ORVO_API void U_curkts(CURVE *cur, INTERVAL range);

/** @brief As U_curkts for a surface: dir 1 maps the u knots onto [r.xmin, r.xmax] (degree
 *  p), 2 the v knots onto [r.ymin, r.ymax] (degree q), 3 both; other dir values and a null
 *  sur change nothing. No error. */
ORVO_API void U_surkts(SURFACE *sur, RECTANGLE r, int16_t dir);

/* ---- Shape tests --------------------------------------------------------
 * Yes/no answers (1 yes, 0 no) on the shape of records and point arrays;
 * they raise no error. Distances are between Euclidean points; 1e-7 is
 * POINT_TOLERANCE. */

/** @brief Is the curve closed?
 *  @param cur curve (in).
 *  @return 1 when its first and last Euclidean control points are less than
 *  POINT_TOLERANCE apart, else 0 (also for a curve without points). */
ORVO_API int16_t U_iscurc(const CURVE *cur);

/** @brief Is the surface closed in one direction?
 *  @param sur surface (in).
 *  @param dir 1: every column j has |Pw[0][j] - Pw[n][j]| <= POINT_TOLERANCE
 *  (closed along u); 2: every row i has |Pw[i][0] - Pw[i][m]| <=
 *  POINT_TOLERANCE (closed along v).
 *  @return 1 when closed, 0 otherwise or for any other dir. */
ORVO_API int16_t U_issurc(const SURFACE *sur, int16_t dir);

/** @brief Is the control polygon straight?
 *  @param cur curve (in).
 *  @param tol largest distance allowed of an interior control point from the
 *  segment from the first to the last one.
 *  @return 1 when every interior point has its foot on that segment and lies
 *  within tol of it (curves with n <= 1 always are), 0 otherwise or when a
 *  distance cannot be formed (the error state is left as it was). */
ORVO_API int16_t U_iscurl(const CURVE *cur, double tol);

/** @brief Is a point array closed?
 *  @param array POINT (kind 1) or CPOINT (kind 2) array (in), highest index n.
 *  @param n highest index.
 *  @param kind 1 POINT array, 2 CPOINT array (CPOINT distance).
 *  @param tol largest distance of the first and last elements.
 *  @return 1 when they are within tol, 0 otherwise or for another kind. */
ORVO_API int16_t U_isp1dc(const void *array, int32_t n, int16_t kind, double tol);

/** @brief Is a 2-D point array closed in one direction?
 *  @param array row table of POINT (kind 1) or CPOINT (kind 2) (in),
 *  elements [0..n][0..m].
 *  @param n, m highest indices.
 *  @param kind 1 POINT, 2 CPOINT.
 *  @param dir 1 compares [0][j] with [n][j] for every j, 2 compares [i][0]
 *  with [i][m] for every i.
 *  @param tol largest distance.
 *  @return 1 when every pair is within tol, else 0. */
ORVO_API int16_t U_isp2dc(const void *array, int32_t n, int32_t m, int16_t kind, int16_t dir,
                          double tol);

/** @brief Has the whole net collapsed to one point?
 *  @return 1 when every Euclidean control point lies within POINT_TOLERANCE
 *  of the centroid of all of them, else 0. */
ORVO_API int16_t U_issurp(const SURFACE *sur);

/** @brief Is one boundary of the net a pole (collapsed to one point)?
 *  @param sur surface (in).
 *  @param boundary 1 row i = 0, 2 row i = n, 3 column j = 0, 4 column j = m.
 *  @return 1 when the boundary's first point and its point (count-1)/2+1
 *  are within POINT_TOLERANCE and every point of the boundary lies within
 *  POINT_TOLERANCE of the boundary's centroid (a boundary of one point is a
 *  pole), else 0 (also for any other boundary number). */
ORVO_API int16_t U_dssupl(const SURFACE *sur, int16_t boundary);

/** @brief Do k+1 curves agree in kind, sizes and knots?
 *  @param curves array of curve pointers (in), highest index k.
 *  @param k highest index of curves.
 *  @return 1 when all are rational or all non-rational, all 3-D or all 2-D,
 *  have the first curve's n and m, and every knot lies within 1e-12 of the
 *  first curve's knot of the same index; else 0 (also for k < 0 or a curve
 *  without points or knots). */
ORVO_API int16_t U_arecco(CURVE *const *curves, int32_t k);

/** @brief Do two curves coincide? Both are first made compatible in place
 *  (N_toocco, arrays in ws); they coincide when the largest 4-D distance
 *  between corresponding homogeneous control points is at most tol.
 *  @return 1 when they coincide; 0 when not, or when they cannot be made
 *  compatible (the error state then holds N_toocco's error). */
ORVO_API int16_t U_arecuc(CURVE *cur1, CURVE *cur2, double tol, STACKS *ws);

/** @brief The surface twin of U_arecuc (N_toosco, every net point). */
ORVO_API int16_t U_aresuc(SURFACE *sur1, SURFACE *sur2, double tol, STACKS *ws);

/** @brief Flatness test of a surface patch, and the direction to halve it.
 *  Works on the Euclidean control net, first rule that decides: a net
 *  closed along u (rows 0 and n coincide) is halved in u, one closed along v
 *  in v, unless the whole net is one point; a net with poles on two
 *  opposite boundaries is not flat (flat when it is one point) and is halved
 *  along its corner edges that are not collapsed, along the longer ones when
 *  neither pair is; otherwise the net is flat when every control point lies
 *  within tol of the plane through the corners' centre normal to their
 *  averaged corner normal (surface normals near the corners when those
 *  cancel) and every boundary lies within tol of its corner chord. A net
 *  off the plane is halved where the plane distances spread more, a planar
 *  one where its boundaries deviate more (ties halve v).
 *  @param sur surface (in).
 *  @param tol largest model-space deviation allowed from flat.
 *  @param flat (out) 1 flat, 0 not flat.
 *  @param dir (out, written only when flat is 0) 1 halve the v range, 2
 *  halve the u range.
 *  @return 0, or 1 with flat = 1 and dir unchanged: error 17 "G_VECNIP" (no
 *  averaged normal), 11 "G_DISPAB" (distance overflow), 2 "U_ISSURF" (no
 *  control net); 1 with error 14 "U_ISSURF" when flat or dir is null. */
ORVO_API int16_t U_issurf(const SURFACE *sur, double tol, int16_t *flat, int16_t *dir);

#ifdef __cplusplus
}
#endif

#endif /* ORVO_U_H */
