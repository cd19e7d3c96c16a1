/* Orvo N_ family: the NURBS algorithms and the workspace. */
#ifndef ORVO_N_H
#define ORVO_N_H

#include "records.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Workspace --------------------------------------------------------- */
ORVO_API STACKS *N_inurbs(STACKS *ws);
ORVO_API void N_enurbs(STACKS *ws);

/* ---- Knot spans and basis functions ------------------------------------ */
/* side: 1 right limit at a knot, 2 left limit. Spans lie in p .. m-p-1. */
ORVO_API int16_t N_kntfsp(const KNOTVECTOR *knt, int16_t p, double u, int16_t side, int32_t *span);
ORVO_API int16_t N_kntfsm(const KNOTVECTOR *knt, int16_t p, double u, int16_t side, int32_t *span,
                          int32_t *mult);
ORVO_API int16_t N_kntalb(const KNOTVECTOR *knt, int16_t p, double u, int16_t side, double *N,
                          int32_t *span);
ORVO_API int16_t N_kntbas(const KNOTVECTOR *knt, int32_t i, int16_t p, double u, int16_t side,
                          double *value);
ORVO_API int16_t N_kntadb(const KNOTVECTOR *knt, int16_t p, double u, int16_t side, int16_t n,
                          double **ders, int32_t *span);
ORVO_API int16_t N_kntbad(const KNOTVECTOR *knt, int32_t i, int16_t p, double u, int16_t side,
                          int16_t n, double *ders);

/* ---- Curve and curve-function evaluation ------------------------------- */
ORVO_API int16_t N_curevn(const CURVE *cur, double u, int16_t side, POINT *P);
ORVO_API int16_t N_curder(const CURVE *cur, double u, int16_t side, int16_t d, POINT *CK);
ORVO_API int16_t N_cfnevn(const CFUNCTION *cfn, double u, int16_t side, double *f);
ORVO_API int16_t N_cfnder(const CFUNCTION *cfn, double u, int16_t side, int16_t d, double *F);
ORVO_API int16_t N_kntcad(const CURVE *cur, double u, int16_t side, int16_t d, double **ders,
                          int32_t *span);
ORVO_API int16_t N_kntacd(const CURVE *cur, double u, int16_t side, int16_t d, double **ders,
                          int32_t *span);
ORVO_API int16_t N_kntrcb(const CURVE *cur, int32_t i, double u, int16_t side, double *R);
ORVO_API int16_t N_kntrcd(const CURVE *cur, int32_t i, double u, int16_t side, int16_t d,
                          double *R);
ORVO_API int16_t N_cplevn(const CURVE *cur, double u, POINT *P);

/* ---- Surface and surface-function evaluation ---------------------------
 * side_u, side_v: 1 right limit, 2 left limit at a knot of each direction.
 * Derivative tables: mode 1 with k == l fills the triangle a + b <= k,
 * any other combination the rectangle a = 0..k, b = 0..l; k, l <= 5. */
ORVO_API int16_t N_surevn(const SURFACE *sur, double u, double v, int16_t side_u, int16_t side_v,
                          POINT *P);
ORVO_API int16_t N_surder(const SURFACE *sur, double u, double v, int16_t side_u, int16_t side_v,
                          int16_t mode, int16_t k, int16_t l, POINT **SKL);
ORVO_API int16_t N_surnor(const SURFACE *sur, double u, double v, int16_t side_u, int16_t side_v,
                          POINT *P, VECTOR *Su, VECTOR *Sv, VECTOR *N);
/* table[a][b][i][j]: derivative (a, b) of the basis function of span
 * entry (i, j), i = 0..p, j = 0..q. */
ORVO_API int16_t N_kntsad(const SURFACE *sur, double u, double v, int16_t side_u, int16_t side_v,
                          int16_t mode, int16_t k, int16_t l, double ****table, int32_t *span_u,
                          int32_t *span_v);
ORVO_API int16_t N_kntabd(const SURFACE *sur, double u, double v, int16_t side_u, int16_t side_v,
                          int16_t mode, int16_t k, int16_t l, double ****table, int32_t *span_u,
                          int32_t *span_v);
ORVO_API int16_t N_kntasd(const SURFACE *sur, double u, double v, int16_t side_u, int16_t side_v,
                          int16_t mode, int16_t k, int16_t l, double ****table, int32_t *span_u,
                          int32_t *span_v);
ORVO_API int16_t N_sfnevn(const SFUNCTION *sfn, double u, double v, int16_t side_u, int16_t side_v,
                          double *f);
ORVO_API int16_t N_sfnder(const SFUNCTION *sfn, double u, double v, int16_t side_u, int16_t side_v,
                          int16_t k, int16_t l, double **F);
ORVO_API int16_t N_kntrsb(const SURFACE *sur, int32_t i, int32_t j, double u, double v,
                          int16_t side_u, int16_t side_v, double *R);
ORVO_API int16_t N_kntrsd(const SURFACE *sur, int32_t i, int32_t j, double u, double v,
                          int16_t side_u, int16_t side_v, int16_t k, int16_t l, double **D);
ORVO_API int16_t N_splevn(const SURFACE *sur, double u, double v, POINT *P);

/* ---- Transformations of whole curves and surfaces ----------------------
 * Every control point is transformed in place; weights are kept. A curve
 * becomes 3-D first (z = 0 on 2-D points). A matrix that cannot be applied
 * leaves the record unchanged and records the error of A_tracpt. Angles in
 * degrees. */
ORVO_API void N_curtra(CURVE *cur, const RMATRIX *T);
ORVO_API int16_t N_currot(CURVE *cur, POINT P, VECTOR D, double angle);
ORVO_API void N_cursca(CURVE *cur, POINT C, VECTOR S);
ORVO_API void N_curtrl(CURVE *cur, VECTOR T);
ORVO_API void N_surtra(SURFACE *sur, const RMATRIX *T);
ORVO_API int16_t N_surrot(SURFACE *sur, POINT P, VECTOR D, double angle);
ORVO_API void N_sursca(SURFACE *sur, POINT C, VECTOR S);
ORVO_API void N_surtrl(SURFACE *sur, VECTOR T);

/* ---- Reversal and unclamping --------------------------------------------
 * Reversal writes into out (in place when out is the input record); dir 1
 * reverses u, 2 reverses v. Unclamping works in place on clamped ends; the
 * surface forms take dir 1 (u), 2 (v) or 3 (both), other values do
 * nothing. The ...unu/...uuv forms take the unclamped knot values from the
 * given knot vectors and leave the record's own knots as they are. */
ORVO_API int16_t N_currev(CURVE *cur, CURVE *out, STACKS *ws);
ORVO_API int16_t N_surrev(SURFACE *sur, int16_t dir, SURFACE *out, STACKS *ws);
ORVO_API int16_t N_curunc(CURVE *cur);
ORVO_API int16_t N_curunu(CURVE *cur, const KNOTVECTOR *knt);
ORVO_API int16_t N_surunc(SURFACE *sur, int16_t dir);
ORVO_API int16_t N_suruuv(SURFACE *sur, const KNOTVECTOR *knu, const KNOTVECTOR *knv, int16_t dir);

/* ---- Boxes and extreme control points -----------------------------------
 * Over the Euclidean control points. */
ORVO_API int16_t N_curbox(const CURVE *cur, BOX *box);
ORVO_API int16_t N_surbox(const SURFACE *sur, BOX *box);
ORVO_API int16_t N_curext(const CURVE *cur, double *d);
ORVO_API void N_curmpv(const CURVE *cur, POINT *P, double *d);
ORVO_API void N_surmpv(const SURFACE *sur, POINT *P, double *d);
ORVO_API void N_curmwp(const CURVE *cur, double *wmin, double *wmax, double *dmin, double *dmax);
ORVO_API void N_surmwp(const SURFACE *sur, double *wmin, double *wmax, double *dmin, double *dmax);

/* ---- Lines, curves through control points, frames ---------------------- */
ORVO_API int16_t N_curlin(POINT P, VECTOR D, CURVE *cur, STACKS *ws);
ORVO_API int16_t N_curpoi(const POINT *points, int32_t n, int16_t p, CURVE *cur, STACKS *ws);
ORVO_API int16_t N_curfre(const CURVE *cur, double u, int16_t side, POINT *P, VECTOR *T, VECTOR *N,
                          VECTOR *B);
ORVO_API int16_t N_suresc(const SURFACE *sur, const CURVE *uvcur, double t, POINT *P);

/* ---- Knot vector operations -------------------------------------------- */
/* N_kntmer: for each of the n+1 vectors, the knots it lacks against the
 * merged vector (every distinct value with its largest multiplicity); the
 * n+1 result vectors are allocated in ws (highest index -1: nothing to
 * insert). N_kntnsp counts the spans of non-zero length of the domain.
 * N_kntsca maps a vector onto an interval in place (a vector whose first
 * and last knots coincide is left unchanged). N_kntmax finds the greatest
 * value of N[i] of degree p and where it is taken; N_kntmma its least and
 * greatest value on each span j = 0..p of its support. */
ORVO_API int16_t N_kntmer(KNOTVECTOR **vectors, int32_t n, KNOTVECTOR ***result, STACKS *ws);
ORVO_API void N_kntnsp(const KNOTVECTOR *knt, int16_t p, int32_t *count);
ORVO_API void N_kntsca(KNOTVECTOR *knt, int16_t p, INTERVAL range);
ORVO_API int16_t N_kntmax(const KNOTVECTOR *knt, int32_t i, int16_t p, double tol, double *nmax,
                          double *umax);
ORVO_API int16_t N_kntmma(const KNOTVECTOR *knt, int32_t i, int16_t p, double tol, double *mins,
                          double *maxs, double *umax);

/* ---- Refinement tools: knot insertion ---------------------------------- */
/* Each takes the input record, its parameters, the output record and two
 * workspaces: ws_in owns the input's arrays, ws_out receives a separate
 * output's arrays (check-or-allocate). When out is the input record the
 * result replaces its arrays (fresh ones from ws_in; the old ones are
 * released from ws_in). N_toocki/N_tooski insert u (t) r times (dir 1: into
 * U, 2: into V); N_toocik/N_toosik insert one knot where the control
 * polygon (net) passes nearest to pick. */
ORVO_API int16_t N_toocki(CURVE *c, double u, int32_t r, CURVE *out, STACKS *ws_in, STACKS *ws_out);
ORVO_API int16_t N_tooski(SURFACE *s, double t, int32_t r, int16_t dir, SURFACE *out, STACKS *ws_in,
                          STACKS *ws_out);
ORVO_API int16_t N_toocik(CURVE *c, POINT pick, CURVE *out, STACKS *ws_in, STACKS *ws_out);
ORVO_API int16_t N_toosik(SURFACE *s, POINT pick, SURFACE *out, STACKS *ws_in, STACKS *ws_out);

/* ---- Refinement tools: decomposition, splitting and segments ----------- */
/* N_toocdc/N_toosdc: all Bezier segments (patches) as fresh records in ws,
 * *last = their number - 1 (patches[iu][iv], rows by the u span).
 * N_toocsp/N_toossp: the two halves at u (t, dir 1 across U, 2 across V).
 * N_toocsg/N_toossg: the piece over [u_lo, u_hi] (x [v_lo, v_hi]).
 * N_tooccp: the components between the joints where the curve is only
 * positionally continuous (knots of multiplicity p or more). */
ORVO_API int16_t N_toocdc(CURVE *c, CURVE ***pieces, int32_t *last, STACKS *ws);
ORVO_API int16_t N_toosdc(SURFACE *s, SURFACE ****patches, int32_t *last_u, int32_t *last_v,
                          STACKS *ws);
ORVO_API int16_t N_toocsp(CURVE *c, double u, CURVE *left, CURVE *right, STACKS *ws);
ORVO_API int16_t N_toossp(SURFACE *s, double t, int16_t dir, SURFACE *first, SURFACE *second,
                          STACKS *ws);
ORVO_API int16_t N_toocsg(CURVE *c, double u_lo, double u_hi, CURVE *out, STACKS *ws_in,
                          STACKS *ws_out);
ORVO_API int16_t N_toossg(SURFACE *s, double u_lo, double u_hi, double v_lo, double v_hi,
                          SURFACE *out, STACKS *ws_in, STACKS *ws_out);
ORVO_API int16_t N_tooccp(CURVE *c, CURVE ***parts, int32_t *last, STACKS *ws);

#ifdef __cplusplus
}
#endif

#endif /* ORVO_N_H */
