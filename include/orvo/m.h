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
#define ORVO_DECLARE_MATRIX(REC, ELEM, mak, ini, def, isn, get, chk, bre, ind, tab)              \
  ORVO_API void mak(REC *rec, int32_t n, int32_t m, ELEM **a, int32_t type, int32_t bw);         \
  ORVO_API void ini(REC *rec);                                                                    \
  ORVO_API void def(REC *rec, int32_t n, int32_t m, int32_t type, int32_t bw);                   \
  ORVO_API int16_t isn(const REC *rec);                                                           \
  ORVO_API int16_t get(REC *rec, int32_t n, int32_t m, int32_t type, int32_t bw, STACKS *ws);    \
  ORVO_API int16_t chk(REC *rec, int32_t n, int32_t m, int32_t type, int32_t bw,                 \
                       const char *name, STACKS *ws);                                             \
  ORVO_API void bre(const REC *rec, int32_t *n, int32_t *m, ELEM ***a, int32_t *type,            \
                    int32_t *bw);                                                                 \
  ORVO_API void ind(const REC *rec, int32_t *n, int32_t *m);                                     \
  ORVO_API void tab(const REC *rec, ELEM ***a);

ORVO_DECLARE_MATRIX(RMATRIX, double, M_makrma, M_inirma, M_rmadef, M_isrman, M_getrma, M_rmachk,
                    M_rmabre, M_rmaind, M_rmarmp)
ORVO_DECLARE_MATRIX(IMATRIX, int32_t, M_makima, M_iniima, M_imadef, M_isiman, M_getima,
                    M_imachk, M_imabre, M_imaind, M_imaimp)
ORVO_DECLARE_MATRIX(PMATRIX, POINT, M_makpma, M_inipma, M_pmadef, M_ispman, M_getpma, M_pmachk,
                    M_pmabre, M_pmaind, M_pmapmp)
ORVO_DECLARE_MATRIX(CMATRIX, CPOINT, M_makcma, M_inicma, M_cmadef, M_iscman, M_getcma,
                    M_cmachk, M_cmabre, M_cmaind, M_cmacmp)
#undef ORVO_DECLARE_MATRIX

/* ---- Minimum and maximum scans (mode 1 smallest, 2 largest) ------------ */
ORVO_API double M_r1mima(const double *values, int32_t n, int16_t mode);
ORVO_API double M_r2mima(double *const *rows, int32_t n, int32_t m, int16_t mode);
ORVO_API int32_t M_i1mima(const int32_t *values, int32_t n, int16_t mode);
ORVO_API int32_t M_i2mima(int32_t *const *rows, int32_t n, int32_t m, int16_t mode);

/* ---- Printing ---------------------------------------------------------- */
ORVO_API void M_prtrma(const RMATRIX *rec);

/* ---- Power-form evaluation --------------------------------------------- */
/* Horner's rule on n+1 homogeneous coefficients of u^0 .. u^n. */
ORVO_API void M_cplevn(const CPOINT *Pw, int32_t n, double u, POINT *P);

#ifdef __cplusplus
}
#endif

#endif /* ORVO_M_H */
