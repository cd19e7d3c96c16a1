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
ORVO_API int16_t N_kntfsp(const KNOTVECTOR *knt, int16_t p, double u, int16_t side,
                          int32_t *span);
ORVO_API int16_t N_kntfsm(const KNOTVECTOR *knt, int16_t p, double u, int16_t side,
                          int32_t *span, int32_t *mult);
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
ORVO_API int16_t N_sfnevn(const SFUNCTION *sfn, double u, double v, int16_t side_u,
                          int16_t side_v, double *f);
ORVO_API int16_t N_sfnder(const SFUNCTION *sfn, double u, double v, int16_t side_u,
                          int16_t side_v, int16_t k, int16_t l, double **F);
ORVO_API int16_t N_kntrsb(const SURFACE *sur, int32_t i, int32_t j, double u, double v,
                          int16_t side_u, int16_t side_v, double *R);
ORVO_API int16_t N_kntrsd(const SURFACE *sur, int32_t i, int32_t j, double u, double v,
                          int16_t side_u, int16_t side_v, int16_t k, int16_t l, double **D);
ORVO_API int16_t N_splevn(const SURFACE *sur, double u, double v, POINT *P);

#ifdef __cplusplus
}
#endif

#endif /* ORVO_N_H */
