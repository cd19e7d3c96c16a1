/* Orvo A_ family: point and control-point arithmetic.
 *
 * Points, control points and vectors are passed by value; every result is
 * written through the last pointer, which may point at a record that is also
 * an input. The CPOINT routines propagate the markers (z == +DBL_MAX for a
 * 2-D point, w == -DBL_MAX for a non-rational point) instead of computing
 * with them. */
#ifndef ORVO_A_H
#define ORVO_A_H

#include "records.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Construction, copy and extraction --------------------------------- */
ORVO_API void A_getpoi(double x, double y, double z, POINT *P);
ORVO_API void A_getcpt(double x, double y, double z, double w, CPOINT *Q);
ORVO_API void A_poicpt(POINT P, CPOINT *Q);
ORVO_API void A_initpo(POINT P, POINT *R);
ORVO_API void A_initcp(CPOINT Q, CPOINT *R);
ORVO_API void A_extpoc(POINT P, double *x, double *y, double *z);
ORVO_API void A_extcpc(CPOINT Q, double *x, double *y, double *z, double *w);
ORVO_API void A_extwei(CPOINT Q, double *w);
ORVO_API void A_setcpx(double value, CPOINT *Q);
ORVO_API void A_setcpy(double value, CPOINT *Q);
ORVO_API void A_setcpz(double value, CPOINT *Q);
ORVO_API void A_setcpw(double value, CPOINT *Q);
ORVO_API void A_weight(POINT P, double w, CPOINT *Q);
ORVO_API void A_euclid(CPOINT Q, POINT *P);
ORVO_API void A_mapcpt(CPOINT Q, POINT *P, double *w);

/* ---- POINT arithmetic -------------------------------------------------- */
ORVO_API void A_sumpoi(POINT P1, POINT P2, POINT *R);
ORVO_API void A_difpoi(POINT P1, POINT P2, POINT *R);
ORVO_API void A_scapoi(double a, POINT P, POINT *R);
ORVO_API void A_updpoi(double a, POINT P, POINT *R);
ORVO_API void A_compoi(double a, POINT P1, double b, POINT P2, POINT *R);
ORVO_API void A_vcopoi(VECTOR A, POINT P1, VECTOR B, POINT P2, POINT *R);
ORVO_API void A_bilpoi(double a, POINT P1, double b, POINT P2, double c, POINT P3, double d,
                       POINT P4, POINT *R);
ORVO_API void A_cirpoi(POINT C, double a, POINT X, double b, POINT Y, POINT *R);
ORVO_API void A_dotpoi(POINT P1, POINT P2, double *s);
ORVO_API void A_magpoi(POINT P, double *s);

/* ---- CPOINT arithmetic with the marker rules --------------------------- */
ORVO_API void A_sumcpt(CPOINT Q1, CPOINT Q2, CPOINT *R);
ORVO_API void A_difcpt(CPOINT Q1, CPOINT Q2, CPOINT *R);
ORVO_API void A_sumpcp(CPOINT Q, POINT P, CPOINT *R);
ORVO_API void A_difpcp(CPOINT Q, POINT P, CPOINT *R);
ORVO_API void A_scacpt(double a, CPOINT Q, CPOINT *R);
ORVO_API void A_scacpo(double a, CPOINT Q, CPOINT *R);
ORVO_API void A_updcpt(double a, CPOINT Q, CPOINT *R);
ORVO_API void A_comcpt(double a, CPOINT Q1, double b, CPOINT Q2, CPOINT *R);
ORVO_API void A_vcocpt(VECTOR A, CPOINT Q1, VECTOR B, CPOINT Q2, CPOINT *R);
ORVO_API void A_bilcpt(double a, CPOINT Q1, double b, CPOINT Q2, double c, CPOINT Q3, double d,
                       CPOINT Q4, CPOINT *R);
ORVO_API void A_circpt(CPOINT C, double a, CPOINT X, double b, CPOINT Y, CPOINT *R);
ORVO_API void A_crocpo(CPOINT Q1, CPOINT Q2, CPOINT *R);
ORVO_API void A_sclcpt(CPOINT Q, POINT C, VECTOR S, CPOINT *R);
ORVO_API void A_trlcpt(CPOINT Q, VECTOR T, CPOINT *R);

/* ---- Scalars from CPOINTs ---------------------------------------------- */
ORVO_API void A_dotcpt(CPOINT Q1, CPOINT Q2, double *s);
ORVO_API void A_dotcpo(CPOINT Q1, CPOINT Q2, double *s, double *w);
ORVO_API void A_magcpt(CPOINT Q, double *s);

/* ---- Transforms by a 4x4 homogeneous matrix ----------------------------
 * Status 0, or 1 with error 7 when T is not a 4x4 matrix and error 11 when
 * the homogeneous divisor (or the weight of Q) cannot be divided by; R is
 * then left as it was. */
ORVO_API int16_t A_trapoi(POINT P, const RMATRIX *T, POINT *R);
ORVO_API int16_t A_tracpt(CPOINT Q, const RMATRIX *T, CPOINT *R);

/* ---- Homogeneous derivative used by rational evaluation ---------------- */
ORVO_API void A_ratder(CPOINT Q, VECTOR D, double s, CPOINT *R);

#ifdef __cplusplus
}
#endif

#endif /* ORVO_A_H */
