/* Orvo S_ family: tracked allocation into a workspace (STACKS).
 * Sizes are highest indices; every allocator returns null on failure after
 * recording error 15 under its own name. */
#ifndef ORVO_S_H
#define ORVO_S_H

#include "records.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- 1-D arrays -------------------------------------------------------- */
ORVO_API int16_t *S_getf1d(int32_t n, STACKS *ws);
ORVO_API int32_t *S_geti1d(int32_t n, STACKS *ws);
ORVO_API double *S_getr1d(int32_t n, STACKS *ws);
ORVO_API POINT *S_getp1d(int32_t n, STACKS *ws);
ORVO_API CPOINT *S_getc1d(int32_t n, STACKS *ws);

/* ---- 1-D arrays of pointers -------------------------------------------- */
ORVO_API int16_t **S_getf1p(int32_t n, STACKS *ws);
ORVO_API int32_t **S_geti1p(int32_t n, STACKS *ws);
ORVO_API double **S_getr1p(int32_t n, STACKS *ws);
ORVO_API double ***S_getr12(int32_t n, STACKS *ws);
ORVO_API CURVE **S_getcua(int32_t n, STACKS *ws);
ORVO_API void **S_getcub(int32_t n, STACKS *ws);
ORVO_API void **S_getcuc(int32_t n, STACKS *ws);
ORVO_API SURFACE **S_getsua(int32_t n, STACKS *ws);
ORVO_API KNOTVECTOR **S_getkpa(int32_t n, STACKS *ws);

/* ---- 2-D arrays (row table over one contiguous block) ------------------ */
ORVO_API int16_t **S_getf2d(int32_t n, int32_t m, STACKS *ws);
ORVO_API int32_t **S_geti2d(int32_t n, int32_t m, STACKS *ws);
ORVO_API double **S_getr2d(int32_t n, int32_t m, STACKS *ws);
ORVO_API POINT **S_getp2d(int32_t n, int32_t m, STACKS *ws);
ORVO_API CPOINT **S_getc2d(int32_t n, int32_t m, STACKS *ws);
ORVO_API int32_t ***S_geti2p(int32_t n, int32_t m, STACKS *ws);
ORVO_API double ***S_getr2p(int32_t n, int32_t m, STACKS *ws);
ORVO_API CURVE ***S_getcs3(int32_t n, int32_t m, STACKS *ws);
ORVO_API SURFACE ***S_getss3(int32_t n, int32_t m, STACKS *ws);

/* ---- 3-D and 4-D arrays ------------------------------------------------ */
ORVO_API double ***S_getr3d(int32_t n, int32_t m, int32_t l, STACKS *ws);
ORVO_API double ****S_getr4d(int32_t n, int32_t m, int32_t l, int32_t k, STACKS *ws);

/* ---- Empty records ----------------------------------------------------- */
ORVO_API CURVE *S_getcus(STACKS *ws);
ORVO_API SURFACE *S_getsus(STACKS *ws);
ORVO_API CPOLYGON *S_getpos(STACKS *ws);
ORVO_API CNET *S_getnes(STACKS *ws);
ORVO_API KNOTVECTOR *S_getkns(STACKS *ws);
ORVO_API CVLIST *S_getcvl(STACKS *ws);
ORVO_API SVLIST *S_getsvl(STACKS *ws);

/* ---- Composite allocators (completed steps stay in ws on failure) ------ */
ORVO_API CPOLYGON *S_getpol(int32_t n, STACKS *ws);
ORVO_API CNET *S_getnet(int32_t n, int32_t m, STACKS *ws);
ORVO_API KNOTVECTOR *S_getknt(int32_t m, STACKS *ws);
ORVO_API CVLIST *S_getcvs(int32_t n, STACKS *ws);
ORVO_API SVLIST *S_getsvs(int32_t n, int32_t m, STACKS *ws);
ORVO_API CURVE *S_getcur(int32_t n, int16_t p, int32_t m, STACKS *ws);
ORVO_API SURFACE *S_getsur(int32_t n, int32_t m, int16_t p, int16_t q, int32_t r, int32_t s,
                           STACKS *ws);
ORVO_API CPOINT *S_getcpa(const double *x, const double *y, const double *z, const double *w,
                          int32_t n, STACKS *ws);
ORVO_API CPOINT **S_getcpm(double *const *x, double *const *y, double *const *z, double *const *w,
                           int32_t n, int32_t m, STACKS *ws);
ORVO_API POINT *S_getpoa(const double *x, const double *y, const double *z, int32_t n, STACKS *ws);
ORVO_API POINT **S_getpom(double *const *x, double *const *y, double *const *z, int32_t n,
                          int32_t m, STACKS *ws);
ORVO_API CURVE **S_getcu2(int32_t n, int16_t p, int32_t m, int32_t k, STACKS *ws);
ORVO_API KNOTVECTOR **S_getkn2(int32_t m, int32_t k, STACKS *ws);
ORVO_API SURFACE ***S_getsu3(int32_t n, int32_t m, int16_t p, int16_t q, int32_t r, int32_t s,
                             int32_t k, int32_t l, STACKS *ws);
ORVO_API RMATRIX *S_getrma(int32_t n, int32_t m, int32_t type, int32_t bw, STACKS *ws);
ORVO_API IMATRIX *S_getima(int32_t n, int32_t m, int32_t type, int32_t bw, STACKS *ws);
ORVO_API PMATRIX *S_getpma(int32_t n, int32_t m, int32_t type, int32_t bw, STACKS *ws);
ORVO_API CMATRIX *S_getcma(int32_t n, int32_t m, int32_t type, int32_t bw, STACKS *ws);

#ifdef __cplusplus
}
#endif

#endif /* ORVO_S_H */
