/* Orvo M_ family: matrices, linear algebra, sorting and the
 * floating-point guard. */
#ifndef ORVO_M_H
#define ORVO_M_H

#include "records.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Floating-point guard ---------------------------------------------- */
/* op: 1 a+b, 2 a-b, 3 a*b, 4 a/b. Returns 1 when the operation is unsafe. */
ORVO_API int16_t M_chkfop(double a, double b, int16_t op);

/* ---- Matrix records ---------------------------------------------------- */
#define ORVO_DECLARE_MATRIX(REC, ELEM, mak, ini, def, isn, get, chk, bre, ind, tab)                \
  ORVO_API void mak(REC *rec, int32_t n, int32_t m, ELEM **a, int32_t type, int32_t bw);           \
  ORVO_API void ini(REC *rec);                                                                     \
  ORVO_API void def(REC *rec, int32_t n, int32_t m, int32_t type, int32_t bw);                     \
  ORVO_API int16_t isn(const REC *rec);                                                            \
  ORVO_API int16_t get(REC *rec, int32_t n, int32_t m, int32_t type, int32_t bw, STACKS *ws);      \
  ORVO_API int16_t chk(REC *rec, int32_t n, int32_t m, int32_t type, int32_t bw, const char *name, \
                       STACKS *ws);                                                                \
  ORVO_API void bre(const REC *rec, int32_t *n, int32_t *m, ELEM ***a, int32_t *type,              \
                    int32_t *bw);                                                                  \
  ORVO_API void ind(const REC *rec, int32_t *n, int32_t *m);                                       \
  ORVO_API void tab(const REC *rec, ELEM ***a);

ORVO_DECLARE_MATRIX(RMATRIX, double, M_makrma, M_inirma, M_rmadef, M_isrman, M_getrma, M_rmachk,
                    M_rmabre, M_rmaind, M_rmarmp)
ORVO_DECLARE_MATRIX(IMATRIX, int32_t, M_makima, M_iniima, M_imadef, M_isiman, M_getima, M_imachk,
                    M_imabre, M_imaind, M_imaimp)
ORVO_DECLARE_MATRIX(PMATRIX, POINT, M_makpma, M_inipma, M_pmadef, M_ispman, M_getpma, M_pmachk,
                    M_pmabre, M_pmaind, M_pmapmp)
ORVO_DECLARE_MATRIX(CMATRIX, CPOINT, M_makcma, M_inicma, M_cmadef, M_iscman, M_getcma, M_cmachk,
                    M_cmabre, M_cmaind, M_cmacmp)
#undef ORVO_DECLARE_MATRIX

/* ---- Minimum and maximum scans (mode 1 smallest, 2 largest) ------------ */
ORVO_API double M_r1mima(const double *values, int32_t n, int16_t mode);
ORVO_API double M_r2mima(double *const *rows, int32_t n, int32_t m, int16_t mode);
ORVO_API int32_t M_i1mima(const int32_t *values, int32_t n, int16_t mode);
ORVO_API int32_t M_i2mima(int32_t *const *rows, int32_t n, int32_t m, int16_t mode);

/* ---- Printing ---------------------------------------------------------- */
ORVO_API void M_prtrma(const RMATRIX *rec);

/* ---- Matrix arithmetic ------------------------------------------------- */
/* Products honour triangular storage and refuse banded operands; results
 * go through check-or-allocate in ws. */
ORVO_API int16_t M_rmamul(const RMATRIX *A, const RMATRIX *B, RMATRIX *C, STACKS *ws);
ORVO_API int16_t M_rmamtm(const RMATRIX *A, RMATRIX *C, STACKS *ws);
ORVO_API int16_t M_rmamtr(const RMATRIX *A, const RMATRIX *B, RMATRIX *C, STACKS *ws);
/* B = A^T; B may be A. A full or banded A transposed in place gets a new
 * element table from ws (the old one stays in wsA). */
ORVO_API int16_t M_rmatrp(RMATRIX *A, RMATRIX *B, STACKS *wsA, STACKS *ws);
/* out[i] = sum over j of A[i][j] in[j]. */
ORVO_API int16_t M_rmacpt(const RMATRIX *A, const CPOINT *in, CPOINT *out);
ORVO_API int16_t M_rmapoi(const RMATRIX *A, const POINT *in, POINT *out);
/* out = A P B^T for a net P of (A rows) x (B rows) control points. */
ORVO_API int16_t M_rmcprm(const RMATRIX *A, CPOINT *const *P, const RMATRIX *B, CPOINT **out);

/* ---- Binomial coefficients --------------------------------------------- */
/* Turns row n - 1 of Pascal's triangle, held in row[0..n-1], into row n. */
ORVO_API void M_pascal(int32_t *row, int32_t n);
/* Fills rows[i][0..i], i = 0..n, with the rows of Pascal's triangle. */
ORVO_API void M_pastri(int32_t **rows, int32_t n);

/* ---- Sorting, searching and swapping ----------------------------------- */
ORVO_API void M_rshell(double *a, int32_t n);
/* index = position of x in the ascending a[0..n] (within 1e-12), or -1. */
ORVO_API void M_rinsch(const double *a, int32_t n, double x, int32_t *index);
ORVO_API void M_inswap(int32_t *a, int32_t *b);
ORVO_API void M_reswap(double *a, double *b);
ORVO_API void M_poswap(POINT *a, POINT *b);
ORVO_API void M_cpswap(CPOINT *a, CPOINT *b);

/* ---- Bucketed value sets ----------------------------------------------- */
/* A table of nb + 1 buckets, each null or an ascending array of doubles
 * closed by DBL_MAX, collecting values of [lo, hi] without duplicates. */
ORVO_API int16_t M_inrhas(double ***table, int32_t nb, STACKS *ws);
ORVO_API int16_t M_uprhas(double **table, int32_t nb, double lo, double v, double hi,
                          int32_t *count, STACKS *ws);
ORVO_API void M_rerhas(double *const *table, int32_t nb, double *out);

/* ---- Linear solvers ---------------------------------------------------- */
/* LU factorisation without pivoting of a full or banded square matrix. */
ORVO_API int16_t M_ludcmp(RMATRIX *a);
ORVO_API int16_t M_rafoba(const RMATRIX *lu, const double *b, double *x);
/* kind 1: rhs is POINT[n+1]; kind 2: rhs is CPOINT[n+1]. out is CPOINT[n+1]. */
ORVO_API int16_t M_forbac(const RMATRIX *lu, const void *rhs, int16_t kind, CPOINT *out,
                          STACKS *ws);
/* Crout factorisation with implicit partial pivoting of a full matrix. */
ORVO_API int16_t M_ludpiv(RMATRIX *a, int32_t *indx);
ORVO_API int16_t M_rafbpv(const RMATRIX *lu, const int32_t *indx, double *b);
ORVO_API int16_t M_rmainv(RMATRIX *a, int16_t factored, RMATRIX *inv, STACKS *ws);
ORVO_API int16_t M_rmaivp(RMATRIX *a, RMATRIX *inv, STACKS *ws);

/* ---- Polynomials ------------------------------------------------------- */
/* out[k] = k-th derivative at x of c[0] + c[1] t + ... + c[n] t^n, k = 0..nd. */
ORVO_API void M_polder(const double *c, int32_t n, double x, int32_t nd, double *out);
/* Newton iteration for a root in [lo, hi] from x0. */
ORVO_API int16_t M_polnew(const double *c, int32_t n, double x0, double lo, double hi, double tol,
                          double *root);

/* ---- Power-form evaluation --------------------------------------------- */
/* Horner's rule on n+1 homogeneous coefficients of u^0 .. u^n. */
ORVO_API void M_cplevn(const CPOINT *Pw, int32_t n, double u, POINT *P);

/* ---- Power-form surface evaluation ------------------------------------- */
/* Nested Horner's rule on the coefficients Pw[i][j] of u^i v^j. */
ORVO_API void M_splevn(CPOINT *const *Pw, int32_t n, int32_t m, double u, double v, POINT *P);

#ifdef __cplusplus
}
#endif

#endif /* ORVO_M_H */
