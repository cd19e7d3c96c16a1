/* Orvo G_ family: vectors and elementary geometry. */
#ifndef ORVO_G_H
#define ORVO_G_H

#include "records.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Vector arithmetic ------------------------------------------------- */
/* Routines whose operation is followed by a 'p' take pointers and may work
 * in place; the others take their vectors by value. */
ORVO_API void G_vecmak(double x, double y, double z, VECTOR *V);
ORVO_API void G_veccop(VECTOR A, VECTOR *V);
ORVO_API void G_vecsum(VECTOR A, VECTOR B, VECTOR *V);
ORVO_API void G_vecdif(VECTOR A, VECTOR B, VECTOR *V);
ORVO_API void G_vecdir(VECTOR A, VECTOR B, VECTOR *V);
ORVO_API void G_vecdcp(CPOINT Q1, CPOINT Q2, VECTOR *V);
ORVO_API void G_vecsca(VECTOR A, double s, VECTOR *V);
ORVO_API void G_vecscp(const VECTOR *A, double s, VECTOR *V);
ORVO_API void G_veccmb(double a, VECTOR A, double b, VECTOR B, VECTOR *V);
ORVO_API void G_vecpfv(POINT P, double t, VECTOR D, POINT *V);
ORVO_API void G_vecrev(VECTOR A, VECTOR *V);
ORVO_API void G_vecrvp(VECTOR *A);
ORVO_API void G_vecdot(VECTOR A, VECTOR B, double *s);
ORVO_API void G_vecdop(const VECTOR *A, const VECTOR *B, double *s);
ORVO_API void G_vecmag(VECTOR A, double *s);
ORVO_API void G_vecmap(const VECTOR *A, double *s);
ORVO_API void G_veccro(VECTOR A, VECTOR B, VECTOR *V);
ORVO_API void G_veccrp(const VECTOR *A, const VECTOR *B, VECTOR *V);
ORVO_API void G_vecmix(VECTOR A, VECTOR B, VECTOR C, double *s);
ORVO_API void G_vecper(VECTOR A, VECTOR *V);
/* Status 0, or 1 with error 17 for a vector of zero length. */
ORVO_API int16_t G_vecnor(VECTOR A, VECTOR *V);
ORVO_API int16_t G_vecnip(VECTOR *A);
ORVO_API int16_t G_veccos(VECTOR A, VECTOR B, double *c);

/* ---- 4x4 homogeneous transformation matrices ---------------------------
 * T is an output record: a record holding no matrix receives a 4x4 table in
 * ws, a record holding one is reused when it is large enough. */
ORVO_API int16_t G_tratrl(POINT P, POINT Q, RMATRIX *T, STACKS *ws);
ORVO_API int16_t G_tragnr(POINT P, VECTOR D, double angle, RMATRIX *T, STACKS *ws);
ORVO_API int16_t G_travec(POINT P0, VECTOR D0, POINT P1, VECTOR D1, RMATRIX *T, STACKS *ws);
ORVO_API int16_t G_traort(POINT O1, VECTOR X1, VECTOR Y1, VECTOR Z1, POINT O2, VECTOR X2, VECTOR Y2,
                          VECTOR Z2, RMATRIX *T, STACKS *ws);
/* Axial deformation of P in place by the scalar function f along an axis
 * (1 x, 2 y, 3 z); mode 1 stretch, 2 taper, 3 twist, 4 shift. */
ORVO_API int16_t G_traaxl(POINT *P, const CFUNCTION *f, double c, int16_t mode, int16_t axis,
                          int16_t direction);

#ifdef __cplusplus
}
#endif

#endif /* ORVO_G_H */
