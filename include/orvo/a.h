/** @file a.h
 * @brief Orvo A_ family: point and control-point arithmetic.
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

/** @brief Makes the point P = (x, y, z).
 *  @param x,y,z (in) the coordinates, stored as given.
 *  @param P (out) the point. */
ORVO_API void A_getpoi(double x, double y, double z, POINT *P);

/** @brief Makes the control point Q = (x, y, z, w) exactly as given: pass
 *  z = +DBL_MAX for a 2-D point and w = -DBL_MAX for a non-rational one.
 *  x, y, z are homogeneous (already multiplied by w) for a rational point.
 *  @param x,y,z (in) the stored coordinates (homogeneous when rational).
 *  @param w (in) the weight, or -DBL_MAX for a non-rational point.
 *  @param Q (out) the control point. */
ORVO_API void A_getcpt(double x, double y, double z, double w, CPOINT *Q);

/** @brief Makes the non-rational control point Q = (P.x, P.y, P.z, -DBL_MAX).
 *  @param P (in) the point.
 *  @param Q (out); a 2-D marker in P.z is copied and stays a marker. */
ORVO_API void A_poicpt(POINT P, CPOINT *Q);

/** @brief Copies a point: R = P.
 *  @param P (in) the point to copy.
 *  @param R (out) the copy. */
ORVO_API void A_initpo(POINT P, POINT *R);

/** @brief Copies a control point with its markers: R = Q.
 *  @param Q (in) the control point to copy.
 *  @param R (out) the copy. */
ORVO_API void A_initcp(CPOINT Q, CPOINT *R);

/** @brief Reads the three coordinates of P.
 *  @param P (in) the point.
 *  @param x,y,z (out) P.x, P.y, P.z; a null pointer is skipped. */
ORVO_API void A_extpoc(POINT P, double *x, double *y, double *z);

/** @brief Reads the four fields of Q as stored (homogeneous coordinates,
 *  markers z = +DBL_MAX and w = -DBL_MAX passed through unchanged).
 *  @param Q (in) the control point.
 *  @param x,y,z,w (out) the fields; a null pointer is skipped. */
ORVO_API void A_extcpc(CPOINT Q, double *x, double *y, double *z, double *w);

/** @brief Reads the stored weight of Q (-DBL_MAX for a non-rational point).
 *  @param Q (in) the control point.
 *  @param w (out, not null) the weight. */
ORVO_API void A_extwei(CPOINT Q, double *w);

/** @brief Stores value as Q->x; nothing else changes (no rescaling by w).
 *  @param value (in) the new stored x (homogeneous when Q is rational).
 *  @param Q (in/out) the control point. */
ORVO_API void A_setcpx(double value, CPOINT *Q);

/** @brief Stores value as Q->y; nothing else changes (no rescaling by w).
 *  @param value (in) the new stored y (homogeneous when Q is rational).
 *  @param Q (in/out) the control point. */
ORVO_API void A_setcpy(double value, CPOINT *Q);

/** @brief Stores value as Q->z; +DBL_MAX makes Q a 2-D point.
 *  @param value (in) the new stored z, or +DBL_MAX.
 *  @param Q (in/out) the control point. */
ORVO_API void A_setcpz(double value, CPOINT *Q);

/** @brief Stores value as Q->w without rescaling x, y, z; -DBL_MAX makes Q a
 *  non-rational point.
 *  @param value (in) the new weight, or -DBL_MAX.
 *  @param Q (in/out) the control point. */
ORVO_API void A_setcpw(double value, CPOINT *Q);

/** @brief Homogeneous control point of P with weight w: Q = (w P.x, w P.y,
 *  w P.z, w); for w = -DBL_MAX, Q = (P.x, P.y, P.z, -DBL_MAX) (non-rational).
 *  z is multiplied like x and y: a 2-D marker in P.z is not recognised.
 *  @param P (in) the Euclidean point.
 *  @param w (in) the weight, or -DBL_MAX for a non-rational Q.
 *  @param Q (out) the control point. */
ORVO_API void A_weight(POINT P, double w, CPOINT *Q);

/** @brief Euclidean point of Q: (x/w, y/w, z/w), or (x, y, z) when
 *  w = -DBL_MAX; a 2-D z (+DBL_MAX) gives P.z = 0. The weight is not
 *  checked: w = 0 gives non-finite coordinates.
 *  @param Q (in) the control point.
 *  @param P (out) the Euclidean point. */
ORVO_API void A_euclid(CPOINT Q, POINT *P);

/** @brief A_euclid(Q) and the stored weight of Q together.
 *  @param Q (in) the control point.
 *  @param P (out) the Euclidean point; @param w (out) Q.w as stored
 *  (-DBL_MAX for a non-rational point). */
ORVO_API void A_mapcpt(CPOINT Q, POINT *P, double *w);

/* ---- POINT arithmetic --------------------------------------------------
 * Plain component-wise 3-D arithmetic: no marker is recognised. */

/** @brief Sum R = P1 + P2.
 *  @param P1,P2 (in) the terms.
 *  @param R (out) the result; may be the record of an input. */
ORVO_API void A_sumpoi(POINT P1, POINT P2, POINT *R);

/** @brief Difference R = P1 - P2.
 *  @param P1 (in) the minuend; @param P2 (in) the point subtracted.
 *  @param R (out) the result; may be the record of an input. */
ORVO_API void A_difpoi(POINT P1, POINT P2, POINT *R);

/** @brief Scaled point R = a P.
 *  @param a (in) the factor; @param P (in) the point.
 *  @param R (out) the result; may be the record of P. */
ORVO_API void A_scapoi(double a, POINT P, POINT *R);

/** @brief Accumulates R = R + a P.
 *  @param a (in) the factor; @param P (in) the point added.
 *  @param R (in/out) the running sum. */
ORVO_API void A_updpoi(double a, POINT P, POINT *R);

/** @brief Linear combination R = a P1 + b P2.
 *  @param a,b (in) the factors; @param P1,P2 (in) the points.
 *  @param R (out) the result; may be the record of an input. */
ORVO_API void A_compoi(double a, POINT P1, double b, POINT P2, POINT *R);

/** @brief Per-axis combination R.k = A.k P1.k + B.k P2.k (k = x, y, z).
 *  @param A,B (in) per-axis factors; @param P1,P2 (in) the points.
 *  @param R (out) the result; may be the record of an input. */
ORVO_API void A_vcopoi(VECTOR A, POINT P1, VECTOR B, POINT P2, POINT *R);

/** @brief Four-point blend R = a P1 + b P2 + c P3 + d P4.
 *  @param a,b,c,d (in) the factors; @param P1,P2,P3,P4 (in) the points.
 *  @param R (out) the result; may be the record of an input. */
ORVO_API void A_bilpoi(double a, POINT P1, double b, POINT P2, double c, POINT P3, double d,
                       POINT P4, POINT *R);

/** @brief Point of a circle or ellipse, R = C + a X + b Y.
 *  @param C (in) the centre; @param X,Y (in) the axis vectors, as points.
 *  @param a,b (in) the factors of X and Y (e.g. cos t, sin t).
 *  @param R (out) the result; may be the record of an input. */
ORVO_API void A_cirpoi(POINT C, double a, POINT X, double b, POINT Y, POINT *R);

/** @brief Dot product s = P1 . P2 of the three coordinates.
 *  @param P1,P2 (in) the points, taken as vectors.
 *  @param s (out) the product. */
ORVO_API void A_dotpoi(POINT P1, POINT P2, double *s);

/** @brief Length s = sqrt(P . P) of P as a vector.
 *  @param P (in) the point.
 *  @param s (out) the length. */
ORVO_API void A_magpoi(POINT P, double *s);

/* ---- CPOINT arithmetic with the marker rules ---------------------------
 * On homogeneous coordinates as stored. A z is valid unless +DBL_MAX (2-D),
 * a w unless -DBL_MAX (non-rational); a marker never enters a sum. */

/** @brief Sum R = Q1 + Q2. z: z1 + z2 when both are valid, the valid one
 *  when only one is, else +DBL_MAX. w: w1 + w2, or -DBL_MAX when either is.
 *  @param Q1,Q2 (in) the terms, homogeneous as stored.
 *  @param R (out) the result; may be the record of an input. */
ORVO_API void A_sumcpt(CPOINT Q1, CPOINT Q2, CPOINT *R);

/** @brief Difference R = Q1 - Q2. z: z1 - z2 when both are valid, z1 or -z2
 *  when only one is, else +DBL_MAX. w: w1 - w2, or -DBL_MAX when either is.
 *  @param Q1 (in) the minuend; @param Q2 (in) the point subtracted.
 *  @param R (out) the result; may be the record of an input. */
ORVO_API void A_difcpt(CPOINT Q1, CPOINT Q2, CPOINT *R);

/** @brief Adds the point P to the stored coordinates of Q (P is not
 *  weighted): R = (Q.x + P.x, Q.y + P.y, Q.z + P.z, Q.w). A 2-D Q.z stays
 *  +DBL_MAX; the weight (or its marker) is kept.
 *  @param Q (in) the control point; @param P (in) the offset added.
 *  @param R (out) the result; may be the record of Q. */
ORVO_API void A_sumpcp(CPOINT Q, POINT P, CPOINT *R);

/** @brief Subtracts P from the stored coordinates of Q: R = (Q.x - P.x,
 *  Q.y - P.y, Q.z - P.z, Q.w). A 2-D Q.z stays +DBL_MAX; w is kept.
 *  @param Q (in) the control point; @param P (in) the offset subtracted.
 *  @param R (out) the result; may be the record of Q. */
ORVO_API void A_difpcp(CPOINT Q, POINT P, CPOINT *R);

/** @brief Scales all four fields, R = a Q; a z or w marker stays a marker.
 *  @param a (in) the factor; @param Q (in) the control point.
 *  @param R (out) the result; may be the record of Q. */
ORVO_API void A_scacpt(double a, CPOINT Q, CPOINT *R);

/** @brief Scales x, y and z only, R = (a x, a y, a z, w); a 2-D z stays
 *  +DBL_MAX and the weight is not scaled.
 *  @param a (in) the factor; @param Q (in) the control point.
 *  @param R (out) the result; may be the record of Q. */
ORVO_API void A_scacpo(double a, CPOINT Q, CPOINT *R);

/** @brief Accumulates R = R + a Q. R.z (R.w) becomes the marker when the
 *  z (w) of Q or of R is a marker, else it accumulates like x and y.
 *  @param a (in) the factor; @param Q (in) the control point added.
 *  @param R (in/out) the running sum; start from (0, 0, 0, 0). */
ORVO_API void A_updcpt(double a, CPOINT Q, CPOINT *R);

/** @brief Linear combination R = a Q1 + b Q2. z: a z1 + b z2 when both are
 *  valid, a z1 or b z2 when only one is, else +DBL_MAX. w: a w1 + b w2, or
 *  -DBL_MAX when either is the marker.
 *  @param a,b (in) the factors; @param Q1,Q2 (in) the control points.
 *  @param R (out) the result; may be the record of an input. */
ORVO_API void A_comcpt(double a, CPOINT Q1, double b, CPOINT Q2, CPOINT *R);

/** @brief Per-axis combination R.k = A.k Q1.k + B.k Q2.k (k = x, y; z by the
 *  rule of A_comcpt with A.z, B.z). w is Q1's weight, not combined, or
 *  -DBL_MAX when either weight is the marker.
 *  @param A,B (in) per-axis factors; @param Q1,Q2 (in) the control points.
 *  @param R (out) the result; may be the record of an input. */
ORVO_API void A_vcocpt(VECTOR A, CPOINT Q1, VECTOR B, CPOINT Q2, CPOINT *R);

/** @brief Four-point blend R = a Q1 + b Q2 + c Q3 + d Q4. z is blended only
 *  when all four are valid, else +DBL_MAX; w likewise, else -DBL_MAX.
 *  @param a,b,c,d (in) the factors; @param Q1,Q2,Q3,Q4 (in) the points.
 *  @param R (out) the result; may be the record of an input. */
ORVO_API void A_bilcpt(double a, CPOINT Q1, double b, CPOINT Q2, double c, CPOINT Q3, double d,
                       CPOINT Q4, CPOINT *R);

/** @brief Point of a circle, R = C + a X + b Y. z is formed only when C.z,
 *  X.z and Y.z are all valid, else +DBL_MAX; w likewise, else -DBL_MAX.
 *  @param C (in) the centre; @param X,Y (in) the axis vectors, as CPOINTs.
 *  @param a,b (in) the factors of X and Y.
 *  @param R (out) the result; may be the record of an input. */
ORVO_API void A_circpt(CPOINT C, double a, CPOINT X, double b, CPOINT Y, CPOINT *R);

/** @brief Cross product of the stored (x, y, z), a 2-D z counting as 0; the
 *  result is always 3-D. w = w1 w2 with a marker weight counting as 1, or
 *  -DBL_MAX when both points are non-rational.
 *  @param Q1,Q2 (in) the factors, in this order (R = Q1 x Q2).
 *  @param R (out) the result; may be the record of an input. */
ORVO_API void A_crocpo(CPOINT Q1, CPOINT Q2, CPOINT *R);

/** @brief Scales Q about the centre C by the per-axis factors S, in
 *  homogeneous form: R.x = S.x x + (1 - S.x) W C.x (likewise y, z) with W = w,
 *  or 1 for a non-rational Q. A 2-D z stays +DBL_MAX; w is kept.
 *  @param Q (in) the control point; @param C (in) the centre (Euclidean).
 *  @param S (in) the scale factors along x, y, z.
 *  @param R (out) the result; may be the record of Q. */
ORVO_API void A_sclcpt(CPOINT Q, POINT C, VECTOR S, CPOINT *R);

/** @brief Translates Q by T in homogeneous form: R.x = x + T.x W (likewise
 *  y, z) with W = w, or 1 for a non-rational Q; no division. A 2-D z stays
 *  +DBL_MAX; w is kept.
 *  @param Q (in) the control point; @param T (in) the translation vector
 *  (Euclidean).
 *  @param R (out) the result; may be the record of Q. */
ORVO_API void A_trlcpt(CPOINT Q, VECTOR T, CPOINT *R);

/* ---- Scalars from CPOINTs ---------------------------------------------- */

/** @brief Dot product of the stored fields: x1 x2 + y1 y2, plus z1 z2 when
 *  both z are valid, plus w1 w2 when both w are valid (or the one valid
 *  weight alone, or nothing when both are -DBL_MAX).
 *  @param Q1,Q2 (in) the control points, homogeneous as stored.
 *  @param s (out) the product. */
ORVO_API void A_dotcpt(CPOINT Q1, CPOINT Q2, double *s);

/** @brief Dot product of the coordinates and product of the weights apart:
 *  s = x1 x2 + y1 y2 (+ z1 z2 when both z are valid); w = w1 w2 when both
 *  are valid, the valid one when only one is, -DBL_MAX when neither.
 *  @param Q1,Q2 (in) the control points, homogeneous as stored.
 *  @param s (out) the coordinate product; @param w (out) the weight. */
ORVO_API void A_dotcpo(CPOINT Q1, CPOINT Q2, double *s, double *w);

/** @brief Length s = sqrt(A_dotcpt(Q, Q)): the 4-D length of a rational
 *  point, the 3-D (2-D for z = +DBL_MAX) length of a non-rational one.
 *  @param Q (in) the control point, homogeneous as stored.
 *  @param s (out) the length. */
ORVO_API void A_magcpt(CPOINT Q, double *s);

/* ---- Transforms by a 4x4 homogeneous matrix ----------------------------
 * T[row][column] acts on the column (x, y, z, 1); only its leading 4x4
 * block is read, by its storage type (zeros outside a triangle or band). */

/** @brief Transforms P by T: h = T[3] . (x, y, z, 1) and R.k = T[k] .
 *  (x, y, z, 1) / h for k = 0, 1, 2.
 *  @param P (in) the point.
 *  @param T (in) matrix with highest indices at least 3, 3.
 *  @param R (out) the image; left unchanged on failure.
 *  @return 0, or 1 with, under "A_TRAPOI", 7 (T null, holding no matrix,
 *  smaller than 4x4 or of unknown storage type) or 11 (h refused by the
 *  division guard M_chkfop). */
ORVO_API int16_t A_trapoi(POINT P, const RMATRIX *T, POINT *R);

/** @brief Transforms the control point Q by T: its Euclidean point is
 *  transformed as by A_trapoi and weighted again with Q's weight; a
 *  non-rational Q gives w = -DBL_MAX. A 2-D Q (z = +DBL_MAX) uses rows and
 *  columns 0, 1 and 3 only and keeps z = +DBL_MAX.
 *  @param Q (in) the control point, homogeneous as stored.
 *  @param T (in) matrix with highest indices at least 3, 3.
 *  @param R (out) the image; left unchanged on failure.
 *  @return 0, or 1 with, under "A_TRACPT", 7 (T as for A_trapoi) or 11 (the
 *  weight of Q or the homogeneous divisor refused by M_chkfop). */
ORVO_API int16_t A_tracpt(CPOINT Q, const RMATRIX *T, CPOINT *R);

/* ---- Homogeneous derivative used by rational evaluation ---------------- */

/** @brief Homogeneous derivative R = (P s + D W, s) with P = A_euclid(Q) and
 *  W the weight of Q (1 for a non-rational Q). R.z is +DBL_MAX when Q is 2-D;
 *  R.w = s always (a valid weight).
 *  @param Q (in) the control point whose Euclidean point and weight are used.
 *  @param D (in) derivative vector; @param s (in) weight derivative.
 *  @param R (out) the result; may be the record of Q. */
ORVO_API void A_ratder(CPOINT Q, VECTOR D, double s, CPOINT *R);

#ifdef __cplusplus
}
#endif

#endif /* ORVO_A_H */
