/* Orvo B_ family: Bezier, Bernstein and power-basis utilities. */
#ifndef ORVO_B_H
#define ORVO_B_H

#include "records.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Bernstein polynomials and Bezier evaluation ------------------------
 * A Bezier curve of degree p is P[0..p]; a patch is net[0..p][0..q], rows
 * along u. Parameters lie in [0, 1]. */
ORVO_API int16_t B_bernst(int16_t p, int16_t i, double u, double *value);
ORVO_API int16_t B_allber(int16_t p, double u, double *values);
ORVO_API int16_t B_curevn(const CPOINT *P, int16_t p, double u, POINT *point);
ORVO_API int16_t B_cfnevn(const double *values, int16_t p, double u, double *result);
ORVO_API int16_t B_surevn(CPOINT *const *net, int16_t p, int16_t q, double u, double v,
                          POINT *point);
ORVO_API int16_t B_sfnevn(double *const *values, int16_t p, int16_t q, double u, double v,
                          double *result);

/* ---- Power basis ----------------------------------------------------------
 * Bezier to power matrix and its inverse (lower-left), power-basis
 * reparametrisation from [a, b] to [c, d] and back (upper-right). The
 * conversions take a matrix record that is used as held, or filled in ws
 * when it holds no matrix (null: a private matrix). */
ORVO_API int16_t B_powmat(int16_t p, RMATRIX *M, STACKS *ws);
ORVO_API int16_t B_ipomat(int16_t p, RMATRIX *M, STACKS *ws);
ORVO_API int16_t B_repmat(int16_t p, double a, double b, double c, double d, RMATRIX *R,
                          STACKS *ws);
ORVO_API int16_t B_iremat(int16_t p, double a, double b, double c, double d, RMATRIX *R,
                          STACKS *ws);
ORVO_API int16_t B_cbepow(const CPOINT *P, int16_t p, RMATRIX *M, double a, double b, CPOINT *coef,
                          STACKS *ws);
ORVO_API int16_t B_cpobez(const CPOINT *coef, int16_t p, RMATRIX *MI, double a, double b, CPOINT *P,
                          STACKS *ws);
ORVO_API int16_t B_sbepow(CPOINT *const *net, int16_t p, int16_t q, RMATRIX *Mu, RMATRIX *Mv,
                          double a, double b, double c, double d, CPOINT **coef, STACKS *ws);
ORVO_API int16_t B_spobez(CPOINT *const *coef, int16_t p, int16_t q, RMATRIX *MIu, RMATRIX *MIv,
                          double a, double b, double c, double d, CPOINT **net, STACKS *ws);

/* ---- Bezier degree change --------------------------------------------------
 * Elevation from p to p + t (E: the (p+t+1) x (p+1) matrix of B_cdemat,
 * built privately when it holds none) and reduction from p to p - 1 with
 * the coefficients of B_degrco. dir 1: the column k of a net, dir 2: the
 * row k. */
ORVO_API int16_t B_cdemat(int16_t p, int16_t t, RMATRIX *E, STACKS *ws);
ORVO_API int16_t B_cdegel(const CPOINT *P, int16_t p, int16_t t, const RMATRIX *E, int32_t i0,
                          int32_t i1, CPOINT *Q);
ORVO_API int16_t B_sdegel(CPOINT *const *P, int16_t p, int16_t t, const RMATRIX *E, int16_t dir,
                          int32_t i0, int32_t i1, int32_t k, CPOINT **Q);
ORVO_API void B_degrco(int16_t p, double *A1, double *B1, double *A2, double *B2);
ORVO_API int16_t B_cdegre(const CPOINT *Q, int16_t p, const double *A1, const double *B1,
                          const double *A2, const double *B2, CPOINT *P, double *err);
/* Reduces the lines k = 0..m of a net along dir (1: columns, 2: rows). */
ORVO_API int16_t B_sdegre(CPOINT *const *Q, int16_t p, const double *A1, const double *B1,
                          const double *A2, const double *B2, int16_t dir, int32_t m, CPOINT **P,
                          double *err);

/* ---- Conic arcs -------------------------------------------------------- */
ORVO_API int16_t B_makcon(POINT P0, VECTOR T0, POINT P2, VECTOR T2, POINT P, POINT *P1, double *w1);
ORVO_API void B_splcon(const POINT *P, double w, POINT *Q, double *wq, POINT *R, double *wr);

/* ---- Subdivision, arc length and interpolation ------------------------- */
ORVO_API int16_t B_csplit(const CPOINT *P, int16_t p, double u, CPOINT *L, CPOINT *R);
ORVO_API int16_t B_reclen(const CPOINT *P, int16_t p, double *tol, double *len);
ORVO_API int16_t B_arclen(const CPOINT *P, int16_t p, double tol, double *len);
ORVO_API int16_t B_gcurin(const POINT *Q, int16_t n, CPOINT *P, STACKS *ws);

#ifdef __cplusplus
}
#endif

#endif /* ORVO_B_H */
