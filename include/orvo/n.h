/** @file n.h
 * @brief Orvo N_ family: the NURBS algorithms and the workspace. */
#ifndef ORVO_N_H
#define ORVO_N_H

#include "records.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Workspace --------------------------------------------------------- */

/** @brief Makes a workspace empty: every list head becomes null, ready to
 *  record allocations.
 *  @param ws (out) the workspace; null is accepted and left alone. Blocks
 *  still recorded in it are forgotten, not freed: release them with
 *  N_enurbs first.
 *  @return ws itself. */
ORVO_API STACKS *N_inurbs(STACKS *ws);

/** @brief Frees every block recorded in a workspace, list by list, newest
 *  first; afterwards every head is null and ws can be used again without
 *  N_inurbs.
 *  @param ws (in/out) the workspace; null does nothing. Records whose
 *  arrays lived in ws must no longer be used. Sets no error. */
ORVO_API void N_enurbs(STACKS *ws);

/* ---- Knot spans and basis functions ------------------------------------ */
/* side: 1 right limit at a knot, 2 left limit; at U[p] and U[m-p] the side
 * is turned inward. Spans lie in p .. m-p-1. The knot checks, in order:
 * 6 (null vector or U, m < 0), 7 (p < 0), 3 (p > 28), 14 (m < 2p+1).
 * The routines that compute basis values fail with 11 (under their own
 * name) when the knots of the span do not allow the divisions (a span of
 * zero or subnormal width, knots spread over more than half the largest
 * double, NaN or infinite knots) or a value lies beyond the double range;
 * N_kntadb and N_kntbad may then have written rows. Exact values without
 * arithmetic: at a clamped start (p+1 equal knots, the next one distinct)
 * N[0] = 1, at a clamped end N[m-p-1] = 1, and at u == U[p] when the range
 * [U[p], U[m-p]] has no length the first function of span p is 1. */

/** @brief Knot span of u: the i in p..m-p-1 with U[i] <= u < U[i+1]
 *  (side 1) or U[i] < u <= U[i+1] (side 2).
 *  @param knt knot vector U[0..m] (in); @param p degree (0..28).
 *  @param u parameter in [U[p], U[m-p]]; @param side 1 or 2.
 *  @param span (out) the span index.
 *  @return 0, or 1 under "N_KNTFSP" with error 6, 7, 3 or 14 (knot
 *  checks above), 6 (u outside [U[p], U[m-p]]) or 13 (side). */
ORVO_API int16_t N_kntfsp(const KNOTVECTOR *knt, int16_t p, double u, int16_t side, int32_t *span);

/** @brief Knot span of u (as N_kntfsp) and the multiplicity of u.
 *  @param knt,p,u,side (in) as for N_kntfsp: knot vector U[0..m], degree
 *  (0..28), parameter in [U[p], U[m-p]], side 1 or 2.
 *  @param span (out) the span index.
 *  @param mult (out) side 1: the number of knots equal to u at and below
 *  U[span] (0 when u is no knot); side 2: those above U[span]. At the end
 *  U[m-p] with side 1, or the start U[p] with side 2, it is p+1.
 *  @return 0, or 1 with the errors of N_kntfsp under "N_KNTFSM". */
ORVO_API int16_t N_kntfsm(const KNOTVECTOR *knt, int16_t p, double u, int16_t side, int32_t *span,
                          int32_t *mult);

/** @brief All p+1 non-zero basis functions of degree p at u.
 *  @param knt, p, u, side as for N_kntfsp.
 *  @param N (out) N[0..p]: the values of N[span-p .. span]; exactly
 *  (1, 0, ..., 0) or (0, ..., 0, 1) at a clamped end.
 *  @param span (out) the span index.
 *  @return 0, or 1 with the errors of N_kntfsp under "N_KNTALB". */
ORVO_API int16_t N_kntalb(const KNOTVECTOR *knt, int16_t p, double u, int16_t side, double *N,
                          int32_t *span);

/** @brief The single basis function N[i] of degree p at u (0 outside its
 *  support under the side's closure).
 *  @param knt knot vector U[0..m] (in); @param i function index 0..m-p-1.
 *  @param p degree (0..28); @param u parameter in [U[0], U[m]].
 *  @param side 1 or 2; @param value (out) N[i](u).
 *  @return 0, or 1 under "N_KNTBAS" with error 6, 7, 3 or 14 (knot
 *  checks), 6 (u outside [U[0], U[m]]), 7 (i outside 0..m-p-1) or 13
 *  (side). */
ORVO_API int16_t N_kntbas(const KNOTVECTOR *knt, int32_t i, int16_t p, double u, int16_t side,
                          double *value);

/** @brief The p+1 non-zero basis functions at u and their derivatives up
 *  to order n.
 *  @param knt, p, u, side as for N_kntfsp; @param n highest order (>= 0).
 *  @param ders (out) rows ders[0..n], each [0..p]: ders[k][j] is the k-th
 *  derivative of N[span-p+j]; rows above p are 0.
 *  @param span (out) the span index.
 *  @return 0, or 1 under "N_KNTADB" with error 6, 7, 3 or 14 (knot
 *  checks), 6 (u outside [U[p], U[m-p]]), 20 (n < 0) or 13 (side). */
ORVO_API int16_t N_kntadb(const KNOTVECTOR *knt, int16_t p, double u, int16_t side, int16_t n,
                          double **ders, int32_t *span);

/** @brief The single basis function N[i] at u and its derivatives up to
 *  order n.
 *  @param knt, i, p, u, side as for N_kntbas; @param n highest order (>= 0).
 *  @param ders (out) ders[0..n]: the k-th derivative of N[i]; orders above
 *  p, and all orders outside the support, are 0.
 *  @return 0, or 1 under "N_KNTBAD" with the errors of N_kntbas or 20
 *  (n < 0). */
ORVO_API int16_t N_kntbad(const KNOTVECTOR *knt, int32_t i, int16_t p, double u, int16_t side,
                          int16_t n, double *ders);

/* ---- Curve and curve-function evaluation -------------------------------
 * side: 1 right limit, 2 left limit at a knot. The record checks of a
 * curve (or curve function), in order: 1 (null record, polygon (value
 * list), points or knots), 7 (p < 0), 3 (p > 28), 1 (n < 0 or
 * m != n+p+1), 14 (n < p). Outputs are not written on failure. */

/** @brief Point of a curve at u (Euclidean; z = 0 for a 2-D curve).
 *  @param cur curve (in); @param u parameter in [U[p], U[m-p]].
 *  @param side 1 or 2; @param P (out) the point.
 *  @return 0, or 1 under "N_CUREVN" with error 1, 7, 3 or 14 (record
 *  checks), 6 (u outside [U[p], U[m-p]]) or 11 (the span's knots do not
 *  allow the divisions, or the weight sum is zero at u, or the point lies
 *  beyond the double range); 13 under "N_KNTALB" (side). */
ORVO_API int16_t N_curevn(const CURVE *cur, double u, int16_t side, POINT *P);

/** @brief Point and derivatives of a curve at u.
 *  @param cur curve (in); @param u parameter in [U[p], U[m-p]].
 *  @param side 1 or 2; @param d highest order, 0..5.
 *  @param CK (out) CK[0..d]: CK[k] the k-th derivative (CK[0] the point,
 *  z = 0 for a 2-D curve); orders above p are 0 for a non-rational curve.
 *  @return 0, or 1 under "N_CURDER" with error 1, 7, 3 or 14 (record
 *  checks), 6 (u), 20 (d outside 0..5) or 11 (the span's knots do not
 *  allow the divisions, a rational span with a zero weight, a weight
 *  function of zero at u, or a derivative beyond the double range); 13
 *  under "N_KNTFSP" (side). */
ORVO_API int16_t N_curder(const CURVE *cur, double u, int16_t side, int16_t d, POINT *CK);

/** @brief Value of a scalar curve function at u.
 *  @param cfn function (in); @param u parameter in [U[p], U[m-p]].
 *  @param side 1 or 2; @param f (out) the value.
 *  @return 0, or 1 under "N_CFNEVN" with error 1, 7, 3 or 14 (record
 *  checks), 6 (u) or 11 (as N_curevn); 13 under "N_KNTALB" (side). */
ORVO_API int16_t N_cfnevn(const CFUNCTION *cfn, double u, int16_t side, double *f);

/** @brief Value and derivatives of a scalar curve function at u.
 *  @param cfn function (in); @param u parameter in [U[p], U[m-p]].
 *  @param side 1 or 2; @param d highest order (>= 0, no upper limit).
 *  @param F (out) F[0..d], the k-th derivative in F[k]; orders above p
 *  are 0.
 *  @return 0, or 1 under "N_CFNDER" with error 1, 7, 3 or 14 (record
 *  checks), 6 (u), 20 (d < 0) or 11 (as N_curder); 13 under "N_KNTADB"
 *  (side). */
ORVO_API int16_t N_cfnder(const CFUNCTION *cfn, double u, int16_t side, int16_t d, double *F);

/** @brief Derivatives of the basis functions of a curve at u: of the
 *  rational basis for a rational curve (as N_kntacd), of the B-spline basis
 *  otherwise (as N_kntadb).
 *  @param cur curve (in); @param u parameter in [U[p], U[m-p]].
 *  @param side 1 or 2; @param d highest order (>= 0, no upper limit).
 *  @param ders (out) rows ders[0..d], each [0..p]: ders[k][j] is the k-th
 *  derivative of function span-p+j. Rows above p are 0 for the B-spline
 *  basis, not for a rational one. Untouched on failure, but for a value
 *  beyond the double range (11).
 *  @param span (out) the span index.
 *  @return 0, or 1 with error 1, 7, 3 or 14 (record checks) under
 *  "N_KNTCAD"; then the errors of N_kntacd (rational curve) or N_kntadb
 *  under their names: 6 (u), 20 (d < 0), 13 (side) or 11 (the span's knots
 *  do not allow the divisions, the weight function is zero at u, or a
 *  value lies beyond the double range). */
ORVO_API int16_t N_kntcad(const CURVE *cur, double u, int16_t side, int16_t d, double **ders,
                          int32_t *span);

/** @brief Derivatives of the rational basis functions R[span-p .. span]
 *  of a curve at u (for a non-rational curve, all weights 1, the B-spline
 *  basis).
 *  @param cur, u, side, d, ders, span as for N_kntcad.
 *  @return 0, or 1 with the errors of N_kntcad under "N_KNTACD". */
ORVO_API int16_t N_kntacd(const CURVE *cur, double u, int16_t side, int16_t d, double **ders,
                          int32_t *span);

/** @brief The single rational basis function R[i] of a curve at u
 *  (N[i] itself for a non-rational curve).
 *  @param cur curve (in); @param i function index 0..n.
 *  @param u parameter in [U[p], U[m-p]]; @param side 1 or 2.
 *  @param R (out) R[i](u).
 *  @return 0, or 1 under "N_KNTRCB" with error 1, 7, 3 or 14 (record
 *  checks), 6 (u outside [U[0], U[m]]), 7 (i outside 0..n), 13 (side), 6
 *  (u outside [U[p], U[m-p]]) or 11 (the knots do not allow the divisions,
 *  the weight function is zero at u, or R lies beyond the double range). */
ORVO_API int16_t N_kntrcb(const CURVE *cur, int32_t i, double u, int16_t side, double *R);

/** @brief The single rational basis function R[i] of a curve and its
 *  derivatives at u.
 *  @param cur, i, u, side as for N_kntrcb; @param d highest order (>= 0,
 *  no upper limit).
 *  @param R (out) R[0..d], the k-th derivative in R[k] (orders above p do
 *  not vanish for a rational curve); may be written on error 11.
 *  @return 0, or 1 under "N_KNTRCD" with the errors of N_kntrcb or 20
 *  (d < 0); a bad side under "N_KNTBAD" (13). */
ORVO_API int16_t N_kntrcd(const CURVE *cur, int32_t i, double u, int16_t side, int16_t d,
                          double *R);

/** @brief Point of a power-form curve, C(u) = sum of Pw[i] u^i (Horner's
 *  rule on the homogeneous coefficients; the polynomial is in u itself).
 *  @param cur power-form curve (in): coefficients Pw[0..n], knots holding
 *  the interval [U[0], U[m]].
 *  @param u parameter in [U[0], U[m]]; @param P (out) the Euclidean point.
 *  @return 0, or 1 under "N_CPLEVN" with error 1 (null polygon, points or
 *  knots, n < 0 or m < 0), 6 (u outside [U[0], U[m]]) or 11 (the weight
 *  polynomial vanishes at u; P unchanged). */
ORVO_API int16_t N_cplevn(const CURVE *cur, double u, POINT *P);

/* ---- Surface and surface-function evaluation ---------------------------
 * side_u, side_v: 1 right limit, 2 left limit at a knot of each direction.
 * Derivative tables: mode 1 with k == l fills the triangle a + b <= k,
 * any other combination the rectangle a = 0..k, b = 0..l; k, l <= 5.
 * u lies in [U[p], U[r-p]], v in [V[q], V[s-q]]. The record checks of a
 * surface (or surface function), in order: 2 (null record, net (value
 * net), rows or knots), 3 (p or q > 28), 2 (p or q < 0, n or m < 0,
 * r != n+p+1 or s != m+q+1), 14 (n < p or m < q). A rational surface is
 * refused with 2 when the span of (u, v) holds a non-rational point.
 * Error 11 as for curves: the knots of a span do not allow the divisions,
 * a weight function is zero, or a result lies beyond the double range.
 * Outputs are not written on failure. */

/** @brief Point of a surface at (u, v) (Euclidean; z = 0 for a 2-D net).
 *  @param sur surface (in); @param u, v parameters; @param side_u, side_v
 *  1 or 2; @param P (out) the point.
 *  @return 0, or 1 with error 2, 3 or 14 (record checks) under
 *  "N_SUREVN", 6 (u or v outside its range) or 13 (a side) under
 *  "N_KNTALB", or 2 (mixed span) or 11 under "N_SUREVN". */
ORVO_API int16_t N_surevn(const SURFACE *sur, double u, double v, int16_t side_u, int16_t side_v,
                          POINT *P);

/** @brief Point and partial derivatives of a surface at (u, v).
 *  @param sur surface (in); @param u, v parameters; @param side_u, side_v
 *  1 or 2; @param mode, k, l the pairs to compute (see above), k, l 0..5.
 *  @param SKL (out) SKL[a][b] = d^(a+b) S / du^a dv^b for the pairs of the
 *  mode (rows 0..k, columns 0..l); other entries are left untouched.
 *  @return 0, or 1 under "N_SURDER" with error 2, 3 or 14 (record checks)
 *  or 11 (a derivative beyond the double range); the rest are raised by
 *  the basis-product routine that computes the table, under "N_KNTASD" for
 *  a rational surface and "N_KNTABD" otherwise: 6 (u or v), 20 (k or l
 *  outside 0..5), 13 (a side), 2 (mixed span) or 11. */
ORVO_API int16_t N_surder(const SURFACE *sur, double u, double v, int16_t side_u, int16_t side_v,
                          int16_t mode, int16_t k, int16_t l, POINT **SKL);

/** @brief Point, unit tangents and unit normal of a surface at (u, v).
 *  @param sur surface (in); @param u, v parameters; @param side_u, side_v
 *  1 or 2.
 *  @param P (out) the point; @param Su, Sv (out) the unit u and v
 *  tangents; @param N (out) the unit normal Su x Sv.
 *  @return 0, or 1 under "N_SURNOR" with error 2, 3 or 14 (record
 *  checks) or 6 (u or v); the errors of N_surder for the rest (13, 2, 11);
 *  or 17 under "G_VECNIP" when the normal or a tangent has zero length (a
 *  degenerate point). */
ORVO_API int16_t N_surnor(const SURFACE *sur, double u, double v, int16_t side_u, int16_t side_v,
                          POINT *P, VECTOR *Su, VECTOR *Sv, VECTOR *N);

/* table[a][b][i][j]: derivative (a, b) of the basis function of span
 * entry (i, j), i = 0..p, j = 0..q. */

/** @brief Table of the basis-function derivatives of a surface at (u, v):
 *  of the rational basis R_ij for a rational surface (as N_kntasd), of the
 *  products N_i(u) N_j(v) otherwise (as N_kntabd).
 *  @param sur surface (in); @param u, v parameters; @param side_u, side_v
 *  1 or 2; @param mode, k, l the pairs (see above), k, l 0..5.
 *  @param table (out) table[a][b][0..p][0..q] for the pairs of the mode;
 *  entry (i, j) belongs to control point (span_u-p+i, span_v-q+j).
 *  @param span_u, span_v (out) the spans.
 *  @return 0, or 1 under "N_KNTSAD" with error 2, 3 or 14 (record
 *  checks), 6 (u or v), 20 (k or l outside 0..5), 13 (a side), 2 (mixed
 *  span) or 11 (the weight function is zero at (u, v)). */
ORVO_API int16_t N_kntsad(const SURFACE *sur, double u, double v, int16_t side_u, int16_t side_v,
                          int16_t mode, int16_t k, int16_t l, double ****table, int32_t *span_u,
                          int32_t *span_v);

/** @brief Table of the products of B-spline basis derivatives,
 *  table[a][b][i][j] = N_i^(a)(u) N_j^(b)(v); the weights are ignored.
 *  @param sur, u, v, side_u, side_v, mode, k, l, table, span_u, span_v as
 *  for N_kntsad.
 *  @return 0, or 1 under "N_KNTABD" with error 2, 3 or 14 (record
 *  checks), 6 (u or v), 20 (k or l outside 0..5) or 13 (a side). */
ORVO_API int16_t N_kntabd(const SURFACE *sur, double u, double v, int16_t side_u, int16_t side_v,
                          int16_t mode, int16_t k, int16_t l, double ****table, int32_t *span_u,
                          int32_t *span_v);

/** @brief Table of the derivatives of the rational basis functions
 *  R_ij = w_ij N_i N_j / W of a surface (the products of N_kntabd for a
 *  non-rational surface).
 *  @param sur, u, v, side_u, side_v, mode, k, l, table, span_u, span_v as
 *  for N_kntsad.
 *  @return 0, or 1 with the errors of N_kntsad under "N_KNTASD". */
ORVO_API int16_t N_kntasd(const SURFACE *sur, double u, double v, int16_t side_u, int16_t side_v,
                          int16_t mode, int16_t k, int16_t l, double ****table, int32_t *span_u,
                          int32_t *span_v);

/** @brief Value of a scalar surface function at (u, v).
 *  @param sfn function (in); @param u, v parameters; @param side_u,
 *  side_v 1 or 2; @param f (out) the value.
 *  @return 0, or 1 under "N_SFNEVN" with error 2, 3 or 14 (record
 *  checks), 6 (u or v) or 13 (a side). */
ORVO_API int16_t N_sfnevn(const SFUNCTION *sfn, double u, double v, int16_t side_u, int16_t side_v,
                          double *f);

/** @brief Value and partial derivatives of a scalar surface function.
 *  @param sfn function (in); @param u, v parameters; @param side_u,
 *  side_v 1 or 2; @param k, l highest orders in u and v (>= 0, no upper
 *  limit).
 *  @param F (out) F[a][b], a = 0..k, b = 0..l; orders above p (in u) or
 *  q (in v) are 0.
 *  @return 0, or 1 under "N_SFNDER" with error 2, 3 or 14 (record
 *  checks), 6 (u or v), 13 (a side) or 20 (k or l < 0). */
ORVO_API int16_t N_sfnder(const SFUNCTION *sfn, double u, double v, int16_t side_u, int16_t side_v,
                          int16_t k, int16_t l, double **F);

/** @brief The single rational basis function R_ij of a surface at (u, v)
 *  (N_i(u) N_j(v) for a non-rational surface).
 *  @param sur surface (in); @param i, j indices 0..n and 0..m.
 *  @param u, v parameters; @param side_u, side_v 1 or 2.
 *  @param R (out) R_ij(u, v).
 *  @return 0, or 1 under "N_KNTRSB" with error 2, 3 or 14 (record
 *  checks), 6 (u outside [U[0], U[r]] or v outside [V[0], V[s]]), 7 (i or
 *  j out of range), 6 (u or v outside its span range), 13 (a side), 2
 *  (mixed span) or 11 (the weight function is zero at (u, v)). */
ORVO_API int16_t N_kntrsb(const SURFACE *sur, int32_t i, int32_t j, double u, double v,
                          int16_t side_u, int16_t side_v, double *R);

/** @brief The single rational basis function R_ij of a surface and its
 *  partial derivatives at (u, v).
 *  @param sur, i, j, u, v, side_u, side_v as for N_kntrsb.
 *  @param k, l highest orders in u and v, 0..5.
 *  @param D (out) D[a][b], a = 0..k, b = 0..l.
 *  @return 0, or 1 under "N_KNTRSD" with the errors of N_kntrsb or 20 (k
 *  or l outside 0..5; checked after the indices). */
ORVO_API int16_t N_kntrsd(const SURFACE *sur, int32_t i, int32_t j, double u, double v,
                          int16_t side_u, int16_t side_v, int16_t k, int16_t l, double **D);

/** @brief Point of a power-form surface, S(u, v) = sum of Pw[i][j] u^i v^j
 *  (nested Horner's rule on the homogeneous coefficients).
 *  @param sur power-form surface (in): coefficients Pw[0..n][0..m], knots
 *  holding the intervals [U[0], U[r]] and [V[0], V[s]].
 *  @param u, v parameters in those intervals; @param P (out) the point.
 *  @return 0, or 1 under "N_SPLEVN" with error 2 (null net, rows or
 *  knots, a negative highest index), 6 (u or v outside its interval) or 11
 *  (the weight polynomial vanishes there; P unchanged). */
ORVO_API int16_t N_splevn(const SURFACE *sur, double u, double v, POINT *P);

/* ---- Transformations of whole curves and surfaces ----------------------
 * Every control point is transformed in place; weights are kept. A curve
 * becomes 3-D first (z = 0 on 2-D points). A matrix that cannot be applied
 * leaves the record unchanged and records the error of A_tracpt. Angles in
 * degrees. A surface keeps its kind: a 2-D net stays 2-D. */

/** @brief Applies a 4x4 matrix to every control point of a curve (made
 *  3-D first).
 *  @param cur curve (in/out); @param T 4x4 transformation matrix (in).
 *  Returns nothing. A curve without points (null record, polygon or
 *  points, n < 0) sets error 1 under "N_CURTRA"; a matrix that is not 4x4
 *  (7) or a point it cannot map (11) sets the error under "A_TRACPT". On
 *  any error the curve is left unchanged. */
ORVO_API void N_curtra(CURVE *cur, const RMATRIX *T);

/** @brief Rotates a curve (made 3-D first) about the axis through P along
 *  D by angle degrees (right-hand rule).
 *  @param cur curve (in/out); @param P point on the axis; @param D axis
 *  direction (any length but zero); @param angle in degrees.
 *  @return 0, or 1 with error 1 under "N_CURROT" (no points), 17 under
 *  "G_TRAGNR" (zero D), 15 (the local matrix cannot be allocated) or the
 *  error of A_tracpt (11); the curve is then unchanged. */
ORVO_API int16_t N_currot(CURVE *cur, POINT P, VECTOR D, double angle);

/** @brief Scales a curve (made 3-D first) about the centre C by the factors
 *  S.x, S.y, S.z along the axes.
 *  @param cur curve (in/out); @param C centre; @param S factors per axis.
 *  Returns nothing; a curve without points sets error 1 under "N_CURSCA"
 *  and is left unchanged. */
ORVO_API void N_cursca(CURVE *cur, POINT C, VECTOR S);

/** @brief Translates a curve (made 3-D first) by T.
 *  @param cur curve (in/out); @param T translation vector.
 *  Returns nothing; a curve without points sets error 1 under "N_CURTRL"
 *  and is left unchanged. */
ORVO_API void N_curtrl(CURVE *cur, VECTOR T);

/** @brief Applies a 4x4 matrix to every control point of a surface.
 *  @param sur surface (in/out); @param T 4x4 transformation matrix (in).
 *  Returns nothing. A surface without net (null record, net or a row,
 *  n or m < 0) sets error 2 under "N_SURTRA"; a matrix that is not 4x4 (7)
 *  or a point it cannot map (11) sets the error under "A_TRACPT". On any
 *  error the surface is left unchanged. */
ORVO_API void N_surtra(SURFACE *sur, const RMATRIX *T);

/** @brief Rotates a surface about the axis through P along D by angle
 *  degrees (right-hand rule).
 *  @param sur surface (in/out); @param P point on the axis; @param D axis
 *  direction (non-zero); @param angle in degrees.
 *  @return 0, or 1 with error 2 under "N_SURROT" (no net), 17 under
 *  "G_TRAGNR" (zero D), 15 (local matrix) or the error of A_tracpt (11);
 *  the surface is then unchanged. */
ORVO_API int16_t N_surrot(SURFACE *sur, POINT P, VECTOR D, double angle);

/** @brief Scales a surface about the centre C by the factors S.x, S.y, S.z
 *  along the axes.
 *  @param sur surface (in/out); @param C centre; @param S factors per axis.
 *  Returns nothing; a surface without net sets error 2 under "N_SURSCA"
 *  and is left unchanged. */
ORVO_API void N_sursca(SURFACE *sur, POINT C, VECTOR S);

/** @brief Translates a surface by T.
 *  @param sur surface (in/out); @param T translation vector.
 *  Returns nothing; a surface without net sets error 2 under "N_SURTRL"
 *  and is left unchanged. */
ORVO_API void N_surtrl(SURFACE *sur, VECTOR T);

/* ---- Reversal and unclamping --------------------------------------------
 * Reversal writes into out (in place when out is the input record); dir 1
 * reverses u, 2 reverses v. Unclamping works in place on clamped ends; the
 * surface forms take dir 1 (u), 2 (v) or 3 (both), other values do
 * nothing. The ...unu/...uuv forms take the unclamped knot values from the
 * given knot vectors and leave the record's own knots as they are.
 * Record checks: 1 (2 for a surface) for missing parts, p < 0, n < 0 or
 * m != n+p+1; 3 for a degree above 28; 14 for n < p. */

/** @brief Reverses the parameter direction of a curve: Pw[n-i] = Pw[i] and
 *  the knots mirrored, U'[m-i] = U[0] + U[m] - U[i] (end knots exact; when
 *  U[0] + U[m] overflows, each knot is mirrored through its distance from
 *  the nearer end).
 *  @param cur curve (in; changed when out == cur).
 *  @param out result (out, not null): cur itself (in place) or another
 *  record (check-or-allocate in ws, same n, p, m).
 *  @param ws workspace for out's arrays.
 *  @return 0, or 1 under "N_CURREV" with error 1, 3 or 14 (record
 *  checks, null out), 11 (a mirrored knot beyond the doubles: knots out
 *  of order over such a range, or not finite), 9 (out too small), or 15
 *  from the allocator. */
ORVO_API int16_t N_currev(CURVE *cur, CURVE *out, STACKS *ws);

/** @brief Reverses one parameter direction of a surface (the other knot
 *  vector is copied).
 *  @param sur surface (in; changed when out == sur).
 *  @param dir 1 reverses u (the order of the rows), 2 reverses v.
 *  @param out result (out, not null): sur itself or another record
 *  (check-or-allocate in ws). @param ws workspace for out's arrays.
 *  @return 0, or 1 under "N_SURREV" with error 2, 3 or 14 (record
 *  checks, null out), 13 (dir), 11 (a mirrored knot beyond the doubles, as
 *  for N_currev), 9 (out too small), or 15 from the allocator. */
ORVO_API int16_t N_surrev(SURFACE *sur, int16_t dir, SURFACE *out, STACKS *ws);

/** @brief Unclamps both ends of a clamped curve in place: the end knots
 *  are spread out continuing the knot spacing at the other end, and the
 *  first and last p-1 control points change so that the curve over
 *  [U[p], U[n+1]] stays the same.
 *  @param cur curve (in/out), p+1 equal knots at each end.
 *  @return 0, or 1 under "N_CURUNC" with error 1, 3 or 14 (record
 *  checks), 4 (an end not clamped), 11 (a refused division, or spread knots
 *  or control points beyond the doubles) or 15 (local workspace); on
 *  failure the curve is unchanged. */
ORVO_API int16_t N_curunc(CURVE *cur);

/** @brief Unclamps a clamped curve's control points as N_curunc does, the
 *  unclamped knot values taken from knt; the curve's own knots stay.
 *  @param cur curve (in/out), clamped at both ends.
 *  @param knt (in) the unclamped knot vector, of the curve's highest index
 *  m.
 *  @return 0, or 1 under "N_CURUNU" with error 14 (knt or its U null, or
 *  knt->m != m), 1, 3 or 14 (record checks), 4 (the curve's own ends not
 *  clamped), 11 or 15; on failure the curve is unchanged. */
ORVO_API int16_t N_curunu(CURVE *cur, const KNOTVECTOR *knt);

/** @brief Unclamps a clamped surface in place in u (dir 1: every column),
 *  v (dir 2: every row) or both (dir 3), as N_curunc does per line; other
 *  dir values change nothing and return 0.
 *  @param sur surface (in/out); @param dir 1, 2 or 3.
 *  @return 0, or 1 under "N_SURUNC" with error 2, 3 or 14 (record
 *  checks), 4 (an end of a chosen direction not clamped), 11 or 15. Both
 *  directions are checked before any change: on failure the surface is
 *  unchanged. */
ORVO_API int16_t N_surunc(SURFACE *sur, int16_t dir);

/** @brief The surface twin of N_curunu: unclamps the net as N_surunc
 *  does, with the unclamped knot values from knu (u) and knv (v).
 *  @param sur surface (in/out); @param knu, knv (in) the unclamped knot
 *  vectors of each chosen direction (the other may be null), of the
 *  surface's highest indices; @param dir 1, 2 or 3 (others: nothing).
 *  @return 0, or 1 under "N_SURUUV" with error 2, 3 or 14 (record
 *  checks), 14 (a needed knot vector null, without U or of another size),
 *  4, 11 or 15; on failure the surface is unchanged. */
ORVO_API int16_t N_suruuv(SURFACE *sur, const KNOTVECTOR *knu, const KNOTVECTOR *knv, int16_t dir);

/* ---- Boxes and extreme control points -----------------------------------
 * Over the Euclidean control points (z = 0 for 2-D ones). A curve without
 * points (null record, polygon or points, n < 0) is refused with error 1,
 * a surface without net (null record, net or a row, n or m < 0) with 2. */

/** @brief Bounding box of the Euclidean control points of a curve.
 *  @param cur curve (in); @param box (out) the box.
 *  @return 0, or 1 under "N_CURBOX" with error 1 (no points) or 11 (a
 *  point at infinity: zero weight, or an image beyond the doubles). */
ORVO_API int16_t N_curbox(const CURVE *cur, BOX *box);

/** @brief Bounding box of the Euclidean control net of a surface.
 *  @param sur surface (in); @param box (out) the box.
 *  @return 0, or 1 under "N_SURBOX" with error 2 (no net) or 11 (a point
 *  at infinity, as for N_curbox). */
ORVO_API int16_t N_surbox(const SURFACE *sur, BOX *box);

/** @brief Size of a curve: the diagonal length of its control point box.
 *  @param cur curve (in); @param d (out) the diagonal length.
 *  @return 0, or 1 under "N_CUREXT" with error 1 (no points) or 11 (a
 *  point at infinity, as for N_curbox, or a diagonal beyond the doubles). */
ORVO_API int16_t N_curext(const CURVE *cur, double *d);

/** @brief The Euclidean control point of a curve farthest from the origin
 *  (the first of equally far ones) and its distance.
 *  @param cur curve (in); @param P (out) the point; @param d (out) its
 *  distance from the origin.
 *  Returns nothing; a curve without points sets error 1 under "N_CURMPV"
 *  and leaves P and d unwritten. */
ORVO_API void N_curmpv(const CURVE *cur, POINT *P, double *d);

/** @brief The Euclidean control point of a surface farthest from the
 *  origin (the first of equally far ones, row by row) and its distance.
 *  @param sur surface (in); @param P (out) the point; @param d (out) its
 *  distance.
 *  Returns nothing; a surface without net sets error 2 under "N_SURMPV"
 *  and leaves P and d unwritten. */
ORVO_API void N_surmpv(const SURFACE *sur, POINT *P, double *d);

/** @brief Smallest and largest weight and smallest and largest distance of
 *  the Euclidean control points of a curve from the origin.
 *  @param cur curve (in).
 *  @param wmin, wmax (out) the weights, both -DBL_MAX for a non-rational
 *  curve (the kind is read from the first point).
 *  @param dmin, dmax (out) the distances.
 *  Returns nothing; a curve without points sets error 1 under "N_CURMWP"
 *  and leaves the outputs unwritten. */
ORVO_API void N_curmwp(const CURVE *cur, double *wmin, double *wmax, double *dmin, double *dmax);

/** @brief The surface twin of N_curmwp, over the whole net.
 *  @param sur surface (in); @param wmin, wmax, dmin, dmax (out) as for
 *  N_curmwp.
 *  Returns nothing; a surface without net sets error 2 under "N_SURMWP"
 *  and leaves the outputs unwritten. */
ORVO_API void N_surmwp(const SURFACE *sur, double *wmin, double *wmax, double *dmin, double *dmax);

/* ---- Lines, curves through control points, frames ---------------------- */

/** @brief The straight line from P to P + D as a non-rational curve of
 *  degree 1 with knots (0, 0, 1, 1).
 *  @param P start point; @param D vector to the end point (a zero D gives
 *  a degenerate line, not refused).
 *  @param cur (out) the curve, check-or-allocate in ws (n = 1, p = 1,
 *  m = 3).
 *  @param ws (in/out) workspace for the arrays of an empty cur.
 *  @return 0, or 1 under "N_CURLIN" with error 1 (cur null), 9 (cur too
 *  small), or 15 from the allocator. */
ORVO_API int16_t N_curlin(POINT P, VECTOR D, CURVE *cur, STACKS *ws);

/** @brief The non-rational curve of degree p on the given control points,
 *  with the clamped uniform knots over [0, 1]: U[0..p] = 0,
 *  U[p+i] = i / (n-p+1) for i = 1..n-p, U[n+1..n+p+1] = 1.
 *  @param points control points points[0..n] (in); @param n highest
 *  index; @param p degree, 0..min(n, 28).
 *  @param cur (out) the curve, check-or-allocate in ws.
 *  @param ws (in/out) workspace for the arrays of an empty cur.
 *  @return 0, or 1 under "N_CURPOI" with error 1 (cur null), 14 (points
 *  null, p < 0, p > n, p > 28, or n too large for the knot index), 9 (cur
 *  too small), or 15 from the allocator. */
ORVO_API int16_t N_curpoi(const POINT *points, int32_t n, int16_t p, CURVE *cur, STACKS *ws);

/** @brief Frenet frame of a curve at u.
 *  @param cur curve of degree >= 2 (in); @param u parameter in
 *  [U[p], U[m-p]]; @param side 1 or 2.
 *  @param P (out) the point; @param T (out) unit tangent C'/|C'|;
 *  @param N (out) principal normal B x T; @param B (out) unit binormal
 *  (C' x C'')/|C' x C''|.
 *  @return 0, or 1 with error 1 (cur null) or 3 (p < 2) under
 *  "N_CURFRE", the errors of N_curder (under "N_CURDER"), or 17 under
 *  "G_VECNOR" when C' or C' x C'' is zero (a straight stretch). */
ORVO_API int16_t N_curfre(const CURVE *cur, double u, int16_t side, POINT *P, VECTOR *T, VECTOR *N,
                          VECTOR *B);

/** @brief Point of a surface over a curve in its parameter plane:
 *  (u, v) = x and y of uvcur(t) (side 1), clamped into
 *  [U[0], U[r]] x [V[0], V[s]], then P = S(u, v) (sides 1).
 *  @param sur surface (in); @param uvcur 2-D curve in the parameter plane
 *  (in); @param t parameter of uvcur; @param P (out) the surface point.
 *  @return 0, or 1 with error 2, 3 or 14 (invalid surface) under
 *  "N_SURESC", the errors of N_curevn for uvcur and t ("N_CUREVN"), or
 *  those of N_surevn ("N_SUREVN", "N_KNTALB"). */
ORVO_API int16_t N_suresc(const SURFACE *sur, const CURVE *uvcur, double t, POINT *P);

/* ---- Knot vector operations -------------------------------------------- */

/** @brief For each of several knot vectors, the knots it lacks against
 *  their merge (every distinct value with its largest multiplicity).
 *  @param vectors vectors[0..n] (in), each non-decreasing; they are
 *  expected to share their first and last values (a value outside a
 *  vector's own first..last knots is never given to it).
 *  @param n highest index of vectors.
 *  @param result (out) result[0..n], allocated in ws: result[k]->U holds,
 *  in increasing order, the knots to insert into vectors[k]; highest index
 *  -1 when there are none.
 *  @param ws workspace for the result.
 *  @return 0, or 1 under "N_KNTMER" with error 7 (vectors or result null,
 *  n < 0, or the total size too large), 14 (a null vector, or null U with
 *  m >= 0), or 15 from the allocator. */
ORVO_API int16_t N_kntmer(KNOTVECTOR **vectors, int32_t n, KNOTVECTOR ***result, STACKS *ws);

/** @brief Number of spans of non-zero length in the domain: the j in
 *  p..m-p-1 with U[j] < U[j+1].
 *  @param knt knot vector (in); @param p degree.
 *  @param count (out) the number; 0 for a null vector or U, p < 0 or
 *  m < 2p+1. Returns nothing and sets no error (a null count: nothing). */
ORVO_API void N_kntnsp(const KNOTVECTOR *knt, int16_t p, int32_t *count);

/** @brief Maps a knot vector linearly onto [range.a, range.b] in place:
 *  the first and last p+1 knots become a and b, the others follow the map
 *  of [U[0], U[m]].
 *  @param knt knot vector (in/out); @param p degree; @param range the new
 *  interval.
 *  Returns nothing and sets no error; the vector is left unchanged when it
 *  is null, p < 0, m < 2p+1, U[0] == U[m], or the scale factor or the
 *  interval is not finite. */
ORVO_API void N_kntsca(KNOTVECTOR *knt, int16_t p, INTERVAL range);

/** @brief Greatest value of the basis function N[i] of degree p and where
 *  it is taken (scan of the support, then Newton steps on N[i]').
 *  @param knt knot vector U[0..m] (in); @param i function index
 *  0..m-p-1; @param p degree (0..28).
 *  @param tol the Newton search stops when |N[i]'| < tol (and
 *  N[i] > tol).
 *  @param nmax (out) the greatest value (exactly 1 for p <= 1 or when the
 *  p inner knots of the support coincide); @param umax (out) where.
 *  @return 0, or 1 under "N_KNTMAX" with error 7 (null vector or U,
 *  m < 0, p < 0, i outside 0..m-p-1), 3 (p > 28), 11 (a refused Newton
 *  step) or 12 (no convergence). */
ORVO_API int16_t N_kntmax(const KNOTVECTOR *knt, int32_t i, int16_t p, double tol, double *nmax,
                          double *umax);

/** @brief Least and greatest value of N[i] of degree p on each span of its
 *  support, [U[i+j], U[i+j+1]] for j = 0..p.
 *  @param knt, i, p, tol as for N_kntmax.
 *  @param mins, maxs (out) mins[0..p], maxs[0..p].
 *  @param umax (out) where N[i] is greatest.
 *  @return 0, or 1 with error 7 or 3 (as N_kntmax) or 12 (the maximum
 *  found in no span) under "N_KNTMMA", or the error of N_kntmax under
 *  "N_KNTMAX". */
ORVO_API int16_t N_kntmma(const KNOTVECTOR *knt, int32_t i, int16_t p, double tol, double *mins,
                          double *maxs, double *umax);

/* ---- Refinement tools: knot insertion ---------------------------------- */
/* Each takes the input record, its parameters, the output record and two
 * workspaces: ws_in owns the input's arrays, ws_out receives a separate
 * output's arrays (check-or-allocate). When out is the input record the
 * result replaces its arrays (fresh ones from ws_in; the old ones are
 * released from ws_in). N_toocki/N_tooski insert u (t) r times (dir 1: into
 * U, 2: into V); N_toocik/N_toosik insert one knot where the control
 * polygon (net) passes nearest to pick. The input checks, in order: 1 (2
 * for a surface) for missing parts or n < 0 or m != n+p+1, 7 (p < 0), 3
 * (p > 28), 14 (n < p), 4 (knots decreasing, NaN or infinite), 11 (knots
 * spread over more than half the largest double, whose differences
 * overflow). These input checks hold for every refinement tool. On failure
 * the input and out are unchanged. */

/** @brief Inserts the knot u r times into a curve; the shape is unchanged.
 *  @param c curve (in; its arrays replaced when out == c), clamped or not.
 *  @param u the knot: U[0] < u < U[m] and U[p] <= u <= U[m-p].
 *  @param r how many times, 0..p-s (s the multiplicity of u in U).
 *  @param out result (out): n+r highest point index, m+r highest knot
 *  index; c itself (fresh arrays from ws_in, the old ones released from
 *  ws_in) or another record (check-or-allocate in ws_out).
 *  @param ws_in workspace of c's arrays; @param ws_out workspace of out's.
 *  @return 0, or 1 under "N_TOOCKI" with error 1, 7, 3, 14 or 4 (input
 *  checks), 6 (u outside those ranges, r < 0 or r > p-s), 14 (out null or
 *  its workspace null), 9 (out too small), or 15 from the allocator. */
ORVO_API int16_t N_toocki(CURVE *c, double u, int32_t r, CURVE *out, STACKS *ws_in, STACKS *ws_out);

/** @brief Inserts the knot t r times into one direction of a surface:
 *  dir 1 into U (r more rows), dir 2 into V (r more columns); the other
 *  knot vector is copied. Conventions as for N_toocki.
 *  @param s surface (in; replaced when out == s); @param t the knot,
 *  within the chosen knot vector as u for N_toocki; @param r 0..p-s
 *  (q-s for dir 2); @param dir 1 or 2.
 *  @param out, ws_in, ws_out as for N_toocki.
 *  @return 0, or 1 under "N_TOOSKI" with error 2, 7, 3, 14 or 4 (input
 *  checks), 13 (dir), 6 (t or r), 14 (out or its workspace null), 9, or
 *  15 from the allocator. */
ORVO_API int16_t N_tooski(SURFACE *s, double t, int32_t r, int16_t dir, SURFACE *out, STACKS *ws_in,
                          STACKS *ws_out);

/** @brief Inserts one knot into a curve where its control polygon passes
 *  nearest to a picked point: the leg j..j+1 holding the nearest
 *  perpendicular foot (G_polleg), its ratio t along the leg (weighted for
 *  a rational curve) giving u = U[j+1] + t (U[j+p+1] - U[j+1]); then
 *  N_toocki(c, u, 1, ...).
 *  @param c curve (in; replaced when out == c); @param pick point (model
 *  space); @param out, ws_in, ws_out as for N_toocki.
 *  @return 0, or 1 under "N_TOOCIK" with error 1, 7, 3, 14 or 4 (input
 *  checks), 14 (no foot falls on any leg) or 11 (refused weighted ratio);
 *  the errors of U_mapcpl and G_polleg; or those of N_toocki under
 *  "N_TOOCKI" (6 when u is an end or a knot of full multiplicity). */
ORVO_API int16_t N_toocik(CURVE *c, POINT pick, CURVE *out, STACKS *ws_in, STACKS *ws_out);

/** @brief The surface twin of N_toocik: the nearest leg of the control
 *  net (G_netleg) decides the direction (a leg along i: U, along j: V)
 *  and the knot, inserted once with N_tooski.
 *  @param s surface (in; replaced when out == s); @param pick point;
 *  @param out, ws_in, ws_out as for N_toocki.
 *  @return 0, or 1 under "N_TOOSIK" with error 2, 7, 3, 14 or 4 (input
 *  checks), 14 (no foot on any leg) or 11; the errors of U_mapcnt and
 *  G_netleg; or those of N_tooski under "N_TOOSKI". */
ORVO_API int16_t N_toosik(SURFACE *s, POINT pick, SURFACE *out, STACKS *ws_in, STACKS *ws_out);

/* ---- Refinement tools: knot refinement --------------------------------- */

/** @brief Inserts every knot of X into the curve in one pass; the shape is
 *  unchanged. Calling conventions (in place when out == c, ws_in, ws_out)
 *  as for N_toocki.
 *  @param c curve (in; replaced when out == c), clamped or not.
 *  @param X knots to insert (in), X->U[0..X->m], non-decreasing, strictly
 *  inside the domain (U[p], U[m-p]), raising no multiplicity above p.
 *  @param out result (out): n+X->m+1 highest point index, knots of highest
 *  index m+X->m+1.
 *  @param ws_in workspace of c's arrays; @param ws_out workspace of out's.
 *  @return 0, or 1 with, under "N_TOOCRF": 14 (X empty or null, or the
 *  result would be too large), 6 (a knot of X not strictly inside the
 *  domain, or a multiplicity raised above p), 4 (X decreasing or the
 *  curve's knots decreasing), 1/3/14 (invalid curve), 11 (a blend ratio
 *  with a zero denominator); 9 or 15 from the output protocol. On failure
 *  the curve and out are unchanged. */
ORVO_API int16_t N_toocrf(CURVE *c, KNOTVECTOR *X, CURVE *out, STACKS *ws_in, STACKS *ws_out);

/** @brief The surface twin of N_toocrf: every knot of X into U (dir 1; the
 *  net gets X->m+1 more rows) or V (dir 2; X->m+1 more columns); the other
 *  knot vector is copied.
 *  @return 0, or 1 with the errors of N_toocrf under "N_TOOSRF", 13 (dir
 *  neither 1 nor 2) and 2 (invalid surface). */
ORVO_API int16_t N_toosrf(SURFACE *s, KNOTVECTOR *X, int16_t dir, SURFACE *out, STACKS *ws_in,
                          STACKS *ws_out);

/* ---- Refinement tools: compatibility and isoparametric curves ---------- */

/** @brief Makes curves[0..n] compatible in place: one kind (all rational and
 *  all 3-D when any is), knots mapped onto [0, 1], every curve raised to the
 *  largest degree of the set (N_toocde) and refined with the knots it lacks
 *  against the merged knot vector (N_toocrf). The shapes are unchanged.
 *  @param curves array of clamped curves (in/out), highest index n; their
 *  arrays are replaced by fresh ones from ws and the old ones released.
 *  @param n (in) highest index of curves (>= 0).
 *  @param ws workspace holding the curves' arrays.
 *  @return 0, or 1 with 14 (null array or ws, n < 0), 1/3/4/14 (an invalid
 *  curve) under "N_TOOCCO", or the error of N_toocde, N_kntmer or N_toocrf.
 *  A failure part-way leaves the curves before it already converted. */
ORVO_API int16_t N_toocco(CURVE **curves, int32_t n, STACKS *ws);

/** @brief The surface twin of N_toocco, in both directions: knots mapped
 *  onto the unit square, u degrees raised to the largest u degree and v
 *  degrees to the largest v degree (N_toosde), then each surface refined in
 *  u and in v with the knots it lacks (N_toosrf).
 *  @return 0, or 1 with the errors of N_toocco under "N_TOOSCO" (2 for an
 *  invalid surface), or those of N_toosde, N_kntmer and N_toosrf. */
ORVO_API int16_t N_toosco(SURFACE **surfaces, int32_t n, STACKS *ws);

/** @brief Isoparametric curve of a surface: S(u, t) (dir 1, degree p, knots
 *  U, n+1 points) or S(t, v) (dir 2, degree q, knots V, m+1 points). At a
 *  clamped end of the domain the curve's points are the boundary line of
 *  the net, copied exactly.
 *  @param s surface (in); @param t parameter across (in the domain of V for
 *  dir 1, of U for dir 2); @param dir 1 or 2.
 *  @param out curve (out, check-or-allocate in ws).
 *  @param ws (in/out) workspace for the arrays of an empty out (not null).
 *  @return 0, or 1 with, under "N_TOOSCX": 13 (dir), 2/3/4/14 (invalid
 *  surface), 6 (t outside the domain), 14 (null out or ws), 9/15 from the
 *  output protocol. */
ORVO_API int16_t N_tooscx(SURFACE *s, double t, int16_t dir, CURVE *out, STACKS *ws);

/* ---- Refinement tools: decomposition, splitting and segments ----------- */
/* N_toocdc/N_toosdc: all Bezier segments (patches) as fresh records in ws,
 * *last = their number - 1 (patches[iu][iv], rows by the u span).
 * N_toocsp/N_toossp: the two halves at u (t, dir 1 across U, 2 across V).
 * N_toocsg/N_toossg: the piece over [u_lo, u_hi] (x [v_lo, v_hi]).
 * N_tooccp: the components between the joints where the curve is only
 * positionally continuous (knots of multiplicity p or more). Every piece
 * is clamped and reproduces its part of the input exactly. Input checks
 * as for the knot insertion tools (1 or 2, 7, 3, 14, 4); the input is
 * never changed except by an in-place output. */

/** @brief Decomposes a curve into its Bezier segments, one per span of
 *  non-zero length of [U[p], U[m-p]].
 *  @param c curve (in), clamped or not.
 *  @param pieces (out) pieces[0..*last], fresh curves in ws: degree p,
 *  p+1 points, knots (a x p+1, b x p+1) over the span [a, b]; neighbours
 *  share their joining point exactly.
 *  @param last (out) number of segments - 1; @param ws workspace.
 *  @return 0, or 1 under "N_TOOCDC" with error 1, 7, 3, 14 or 4 (input
 *  checks), 14 (pieces or last null), 4 (no span of non-zero length), or
 *  15 from the allocator (nothing is then left in ws). */
ORVO_API int16_t N_toocdc(CURVE *c, CURVE ***pieces, int32_t *last, STACKS *ws);

/** @brief Decomposes a surface into its Bezier patches, one per pair of
 *  non-empty u and v spans.
 *  @param s surface (in).
 *  @param patches (out) patches[iu][iv], iu = 0..*last_u (by u span),
 *  iv = 0..*last_v, fresh surfaces in ws with (p+1) x (q+1) points.
 *  @param last_u, last_v (out) the highest indices; @param ws workspace.
 *  @return 0, or 1 under "N_TOOSDC" with error 2, 7, 3, 14 or 4 (input
 *  checks), 14 (patches, last_u or last_v null), 4 (a direction without a
 *  span of non-zero length), or 15 (nothing is then left in ws). */
ORVO_API int16_t N_toosdc(SURFACE *s, SURFACE ****patches, int32_t *last_u, int32_t *last_v,
                          STACKS *ws);

/** @brief Splits a curve at u into the halves over [U[p], u] and
 *  [u, U[m-p]], u inserted up to multiplicity p; they share the point at u.
 *  @param c curve (in); @param u strictly inside (U[p], U[m-p]) (and
 *  (U[0], U[m])), of multiplicity at most p.
 *  @param left, right (out) two different records, check-or-allocate in
 *  ws (highest point indices k-s and n-k+p, k the span and s the
 *  multiplicity of u); either may be c itself (fresh arrays from ws, the
 *  old ones released from ws). @param ws workspace.
 *  @return 0, or 1 under "N_TOOCSP" with error 1, 7, 3, 14 or 4 (input
 *  checks), 14 (left == right, a null output or ws), 6 (u outside the
 *  domain's interior or of multiplicity above p), 9 (an output too
 *  small), or 15 from the allocator. */
ORVO_API int16_t N_toocsp(CURVE *c, double u, CURVE *left, CURVE *right, STACKS *ws);

/** @brief Splits a surface at t across U (dir 1: first over u <= t,
 *  second over u >= t) or across V (dir 2); the other knot vector is
 *  copied into both. Conventions as for N_toocsp.
 *  @param s surface (in); @param t split value in the chosen direction;
 *  @param dir 1 or 2; @param first, second (out) two different records;
 *  @param ws workspace.
 *  @return 0, or 1 under "N_TOOSSP" with error 2, 7, 3, 14 or 4 (input
 *  checks), 13 (dir), 14 (first == second, a null output or ws), 6 (t),
 *  9, or 15 from the allocator. */
ORVO_API int16_t N_toossp(SURFACE *s, double t, int16_t dir, SURFACE *first, SURFACE *second,
                          STACKS *ws);

/** @brief The piece of a curve over [u_lo, u_hi], clamped at both ends.
 *  @param c curve (in; replaced when out == c); @param u_lo, u_hi
 *  u_lo < u_hi, both in [U[p], U[m-p]].
 *  @param out result (out): c itself (fresh arrays from ws_in, the old
 *  ones released from ws_in) or another record (check-or-allocate in
 *  ws_out). @param ws_in, ws_out as for N_toocki.
 *  @return 0, or 1 under "N_TOOCSG" with error 1, 7, 3, 14 or 4 (input
 *  checks), 14 (u_lo >= u_hi, out or its workspace null), 9, or 15 from the
 *  allocator; 6 under "N_KNTFSM" (u_lo or u_hi outside [U[p], U[m-p]]). */
ORVO_API int16_t N_toocsg(CURVE *c, double u_lo, double u_hi, CURVE *out, STACKS *ws_in,
                          STACKS *ws_out);

/** @brief The piece of a surface over [u_lo, u_hi] x [v_lo, v_hi].
 *  Conventions as for N_toocsg.
 *  @param s surface (in; replaced when out == s); @param u_lo, u_hi,
 *  v_lo, v_hi the rectangle, within the span ranges of U and V.
 *  @param out, ws_in, ws_out as for N_toocsg.
 *  @return 0, or 1 under "N_TOOSSG" with error 2, 7, 3, 14 or 4 (input
 *  checks), 14 (an empty interval, out or its workspace null), 9, or 15 from
 *  the allocator; 6 under "N_KNTFSM" (a bound outside its range). */
ORVO_API int16_t N_toossg(SURFACE *s, double u_lo, double u_hi, double v_lo, double v_hi,
                          SURFACE *out, STACKS *ws_in, STACKS *ws_out);

/** @brief Cuts a curve into its components between the joints: the
 *  interior knot values of multiplicity p or more.
 *  @param c curve (in).
 *  @param parts (out) parts[0..*last], fresh clamped curves of degree p in
 *  ws, in parameter order.
 *  @param last (out) number of components - 1; @param ws workspace.
 *  @return 0, or 1 under "N_TOOCCP" with error 1, 7, 3, 14 or 4 (input
 *  checks), 14 (parts or last null), 4 (no span of non-zero length), or
 *  15 from the allocator (nothing is then left in ws). */
ORVO_API int16_t N_tooccp(CURVE *c, CURVE ***parts, int32_t *last, STACKS *ws);

/* ---- Power-form reparameterisation and planar projections -------------- */

/** @brief Re-expresses a power-form curve over a new interval [a, b]: the
 *  new curve at a + t (b - a) is the old one at U[0] + t (U[1] - U[0]).
 *  @param cur power-form curve (in; two knots, the old interval, and degree
 *  n for n+1 coefficients).
 *  @param a, b the new interval.
 *  @param out result (out): cur itself (in place: new arrays from ws_in,
 *  the old ones released from ws_in) or another record (check-or-allocate
 *  in ws_out). On failure cur and out are unchanged.
 *  @param ws_in (in/out) workspace owning cur's arrays (used in place).
 *  @param ws_out (in/out) workspace for a separate out.
 *  @return 0, or 1 with error 1 (not a power-form curve), 14 (b - a below
 *  1e-12, or a null output or workspace), 11 (a coefficient overflows), 9
 *  (output too small) under "N_CPLREP", or 15 from the allocator. */
ORVO_API int16_t N_cplrep(CURVE *cur, double a, double b, CURVE *out, STACKS *ws_in,
                          STACKS *ws_out);

/** @brief The surface twin of N_cplrep: u over [a, b], v over [c, d]
 *  (error 2 for a surface that is not in power form, "N_SPLREP"). */
ORVO_API int16_t N_splrep(SURFACE *sur, double a, double b, double c, double d, SURFACE *out,
                          STACKS *ws_in, STACKS *ws_out);

/** @brief Projects a curve onto the plane through Q with normal N: each
 *  Euclidean control point is projected and keeps its weight (the result
 *  is 3-D).
 *  @param cur curve (in; in/out when out == cur).
 *  @param Q (in) a point of the plane; @param N (in) the plane's normal.
 *  @param V (in) projection direction (mode 1) or eye point (mode 2).
 *  @param mode 1 parallel projection along the direction V, 2 central
 *  projection from the eye point V.
 *  @param out result (out): cur itself (changed in place) or another record
 *  (check-or-allocate in ws); same degree and knots. On failure cur and out
 *  are unchanged.
 *  @param ws (in/out) workspace for a separate out (unused in place).
 *  @return 0, or 1 with error 13 (mode), 17 (zero normal, or zero direction
 *  in mode 1), 14 (direction parallel to the plane within 1e-12, or a null
 *  output or workspace), 11 (a point on the plane through the eye parallel to the
 *  projection plane, or a coordinate overflows), 1 (a curve without points
 *  or knots), 9 (output too small), under "N_CURPRJ", or 15 from the
 *  allocator. */
ORVO_API int16_t N_curprj(CURVE *cur, POINT Q, VECTOR N, VECTOR V, int16_t mode, CURVE *out,
                          STACKS *ws);

/** @brief The surface twin of N_curprj ("N_SURPRJ"; error 2 for a surface
 *  without net or knots). */
ORVO_API int16_t N_surprj(SURFACE *sur, POINT Q, VECTOR N, VECTOR V, int16_t mode, SURFACE *out,
                          STACKS *ws);

/* ---- Trimmed-surface tessellation ---------------------------------------
 * A surface trimmed by closed loops of 2-D curves drawn in its parameter
 * plane becomes a triangle mesh. Mesh coordinates are in the metric
 * parameter plane [0, Lu] x [0, Lv]: surface parameters are
 * u = u0 + u' (u1 - u0) / Lu and v = v0 + v' (v1 - v0) / Lv with Lu, Lv
 * from N_tesesa and [u0, u1] x [v0, v1] the surface's domain. The mesh is
 * given by neighbour lists: nb[i][0..c[i]] are the neighbours of point i
 * in order around it, a closed ring (first repeated last) for an interior
 * point, nb[i][0] = -1 for a point not in the mesh. */

/** @brief Tessellates a trimmed surface.
 *  @param sur the surface (in).
 *  @param outer outer[r][k], k = 0..nouter[r]: the curves of region r's
 *  outer loop, in order (in).
 *  @param holes holes[r][h][k], k = 0..nhcur[r][h]: the curves of hole h
 *  of region r, h = 0..nholes[r] (nholes[r] = -1: none; holes and nhcur
 *  may then be null for that region).
 *  @param nr highest region index.
 *  @param nouter (in) nouter[0..nr]: highest curve index of each outer
 *  loop.
 *  @param nholes (in) nholes[0..nr]: highest hole index of each region
 *  (-1: none).
 *  @param nhcur (in) nhcur[r][0..nholes[r]]: highest curve index of each
 *  hole loop.
 *  @param ctol chord tolerance (model space, >= POINT_TOLERANCE).
 *  @param ftol flatness tolerance (model space, >= POINT_TOLERANCE).
 *  @param trel trimming tolerance relative to the surface's size.
 *  @param u, v (out) point coordinates, highest index *np, allocated in ws.
 *  @param np (out) highest point index.
 *  @param nb, c (out) neighbour lists and their highest indices, in ws.
 *  @param ws (in/out) workspace receiving u, v, nb and c (not null).
 *  @return 0, or 1 with error 19 (tolerance below 1e-7, a loop of fewer
 *  than four polygon points), 17 (a curve without polyline points, a cell
 *  that cannot be meshed), 11 (degenerate parameter range or guarded
 *  division), 7/14 (inconsistent arguments), 6 (cell too narrow), 15
 *  (memory, point bookkeeping), under "N_TESSUR" or the failing stage. */
ORVO_API int16_t N_tessur(const SURFACE *sur, CURVE ***outer, CURVE ****holes, int32_t nr,
                          const int32_t *nouter, const int32_t *nholes, int32_t **nhcur,
                          double ctol, double ftol, double trel, double **u, double **v,
                          int32_t *np, int32_t ***nb, int32_t **c, STACKS *ws);

/** @brief Size estimate of a surface from its Euclidean control net.
 *  @param sur (in) the surface.
 *  @param A (out) largest u-direction polygon length times largest
 *  v-direction length.
 *  @param Lu, Lv (out) mean control-polygon lengths along u (columns) and
 *  v (rows).
 *  @return 0, or 1 with error 2 "N_TESESA" for a surface without net. */
ORVO_API int16_t N_tesesa(const SURFACE *sur, double *A, double *Lu, double *Lv);

/** @brief Chord test of the piece [t0, t1] of a trimming curve.
 *  @param sur (in) the surface.
 *  @param cur (in) 2-D curve in the surface's parameter plane.
 *  @param t0,t1 (in) curve parameters of the piece's ends.
 *  @param dev (out) largest distance of the control points of the cubic
 *  through the surface points at t0, (2t0+t1)/3, (t0+2t1)/3, t1 from the
 *  chord of the first and last.
 *  @return 0, or 1 with the evaluation's or solver's error under
 *  "N_TESPAE". */
ORVO_API int16_t N_tespae(const SURFACE *sur, const CURVE *cur, double t0, double t1, double *dev);

/** @brief Polyline of one trimming curve within a model-space chord
 *  tolerance.
 *  @param sur (in) the surface.
 *  @param cur (in) 2-D curve in the surface's parameter plane (not
 *  changed).
 *  @param tol chord tolerance (>= POINT_TOLERANCE, else error 19).
 *  @param u, v (out) the polyline's parameter-plane points, highest index
 *  *n, allocated in ws; in order of increasing curve parameter.
 *  @param n (out) highest point index.
 *  @param ws (in/out) workspace receiving u and v (not null).
 *  @return 0, or 1 with error 19, 11 or the evaluation's error under
 *  "N_TESPTC". */
ORVO_API int16_t N_tesptc(const SURFACE *sur, CURVE *cur, double tol, double **u, double **v,
                          int32_t *n, STACKS *ws);

/** @brief Adaptive subdivision of the metric parameter rectangle into flat
 *  cells, cells outside the trimmed regions dropped.
 *  @param sur (in) the surface.
 *  @param ftol flatness tolerance (>= POINT_TOLERANCE, else error 19).
 *  @param reg, nr trimming polygons (metric plane) and highest region index;
 *  each loop closed (first point repeated last), in either orientation.
 *  @param d absolute trimming tolerance.
 *  @param g (out) points, edge flags and grid, allocated in ws.
 *  @param ws (in/out) workspace receiving g's arrays (not null).
 *  @return 0, or 1 with error 19, 6 (a cell narrower than 1e-12), 15,
 *  under "N_TESSUB". */
ORVO_API int16_t N_tessub(const SURFACE *sur, double ftol, const TRIMREGION *reg, int32_t nr,
                          double d, TESSGRID *g, STACKS *ws);

/** @brief Meshes the leaf cells of a subdivision, clipped by the trimming
 *  polygons.
 *  @param g subdivision from N_tessub (in/out: points are appended; its
 *  arrays must belong to ws).
 *  @param reg, nr trimming polygons and highest region index.
 *  @param d absolute trimming tolerance (>= 0).
 *  @param Lu,Lv (in) the metric domain [0, Lu] x [0, Lv]; both must be
 *  positive (else error 14), otherwise unused.
 *  @param nb, c (out) neighbour lists of points 0..g->np, in ws.
 *  @param ws (in/out) workspace receiving nb, c and g's new arrays.
 *  @return 0, or 1 with error 17 (a cell that cannot be meshed), 15, 11,
 *  under "N_TESDEL". */
ORVO_API int16_t N_tesdel(TESSGRID *g, const TRIMREGION *reg, int32_t nr, double d, double Lu,
                          double Lv, int32_t ***nb, int32_t **c, STACKS *ws);

/** @brief The polygons of one leaf cell clipped by a region's loops.
 *  @param g subdivision (in/out: new points appended; arrays in ws).
 *  @param i, j grid indices of the cell's lower-left corner.
 *  @param region the region's trimming polygons.
 *  @param d,Lu,Lv (in) trimming tolerance and metric domain, accepted for
 *  the stage's interface and unused: the clipping decides exactly.
 *  @param idx, start (out) polygon k is idx[start[k] .. start[k+1]-1],
 *  k = 0..*npoly (start has *npoly+2 entries), each with the area to mesh
 *  on its left; *npoly = -1 when the cell holds nothing to mesh.
 *  @param npoly (out) highest polygon index, -1 for none.
 *  @param ws (in/out) workspace receiving idx, start and g's new arrays.
 *  @return 0, or 1 with error 17 (no cell at (i, j), a polygon of fewer
 *  than three points, an unmatched intersection), 15, under "N_TESPOL". */
ORVO_API int16_t N_tespol(TESSGRID *g, int32_t i, int32_t j, const TRIMREGION *region, double d,
                          double Lu, double Lv, int32_t **idx, int32_t **start, int32_t *npoly,
                          STACKS *ws);

/** @brief Intersection of one side of a cell with a segment AB.
 *  @param cell (in) the cell [xmin, xmax] x [ymin, ymax] (metric plane).
 *  @param side 1 lower (v = ymin), 2 right (u = xmax), 3 upper (v = ymax),
 *  4 left (u = xmin); the sides run counter-clockwise.
 *  @param au,av,bu,bv (in) the segment's ends A = (au, av), B = (bu, bv).
 *  @param d (in) tolerance, as for N_teslsi.
 *  @param pos (out) position of the crossing along the side, 0..1 in its
 *  counter-clockwise direction; xu, xv the point; found 1 or 0.
 *  @param xu,xv (out) the crossing point (written only when found).
 *  @param found (out) 1 for a crossing, else 0 (pos is then unwritten).
 *  @return 0, or 1 with error 13 "N_TESLPI" for another side code, 14 for
 *  a null output. */
ORVO_API int16_t N_teslpi(RECTANGLE cell, int16_t side, double au, double av, double bu, double bv,
                          double d, double *pos, double *xu, double *xv, int16_t *found);

/** @brief Intersection of the segments AB and CD with tolerance d.
 *  @param au,av,bu,bv (in) the ends A = (au, av), B = (bu, bv) of AB.
 *  @param cu,cv,du,dv (in) the ends C = (cu, cv), D = (du, dv) of CD.
 *  @param d (in) tolerance: the crossing may lie up to d beyond a
 *  segment's ends (measured along it).
 *  @param s, t (out) crossing parameters on AB and CD; xu, xv the midpoint
 *  of the two crossing points; found 1, or 0 for parallel or distant
 *  segments (a refused division also gives 0).
 *  @param xu,xv (out) midpoint of the two crossing points.
 *  @param found (out) 1 for a crossing, else 0 (s, t, xu, xv unwritten).
 *  @return 0, or 1 with error 14 "N_TESLSI" for a null output. */
ORVO_API int16_t N_teslsi(double au, double av, double bu, double bv, double cu, double cv,
                          double du, double dv, double d, double *s, double *t, double *xu,
                          double *xv, int16_t *found);

/* ---- Mesh queries -------------------------------------------------------
 * The mesh: points 0..N; nb[i][0..c[i]] the neighbours of point i in order
 * around it, an interior point's ring repeating its first neighbour last,
 * nb[i][0] = -1 for a point outside the mesh. Every query takes (nb, c, N)
 * first and returns fresh int32 arrays in ws with their highest index in
 * *last; a result of -1 (nothing) still comes with releasable arrays.
 * Errors under the routine's own tag: 14 for null arrays, N below -1 (N
 * below 2 for the point queries) or a point in use with c[i] < 0; 7 for a
 * point argument outside 0..N or a neighbour entry outside 0..N. A point
 * query about a point outside the mesh answers with last = -1, status 0.
 * Allocation failures return 1 with the allocator's error. */

/** @brief All points in use (nb[i][0] != -1), increasing.
 *  @param nb,c (in) the neighbour lists nb[i][0..c[i]], i = 0..N.
 *  @param N (in) highest point index (>= -1).
 *  @param pts (out) their indices, 0..*last.
 *  @param last (out) highest index of pts (-1: none).
 *  @param ws (in/out) workspace receiving pts. */
ORVO_API int16_t N_tesbap(int32_t *const *nb, const int32_t *c, int32_t N, int32_t **pts,
                          int32_t *last, STACKS *ws);
/** @brief All edges, each once: (e0[k], e1[k]) with e1[k] a neighbour of
 *  e0[k] and e1[k] > e0[k], k = 0..*last. */
ORVO_API int16_t N_tesbae(int32_t *const *nb, const int32_t *c, int32_t N, int32_t **e0,
                          int32_t **e1, int32_t *last, STACKS *ws);
/** @brief All triangles (t0[k], t1[k], t2[k]), k = 0..*last, each once,
 *  listed from its smallest point t0[k] in the order of the rings. */
ORVO_API int16_t N_tesbat(int32_t *const *nb, const int32_t *c, int32_t N, int32_t **t0,
                          int32_t **t1, int32_t **t2, int32_t *last, STACKS *ws);
/** @brief A copy of the neighbour list of point i (*last = c[i]). */
ORVO_API int16_t N_tesbpp(int32_t *const *nb, const int32_t *c, int32_t N, int32_t i,
                          int32_t **list, int32_t *last, STACKS *ws);
/** @brief The edges at point i: e0 all i, e1 a copy of its neighbour list
 *  (*last = c[i]; a closed ring repeats its first edge last). */
ORVO_API int16_t N_tesbpl(int32_t *const *nb, const int32_t *c, int32_t N, int32_t i, int32_t **e0,
                          int32_t **e1, int32_t *last, STACKS *ws);
/** @brief The triangles at point i: (i, nb[i][k], nb[i][k+1]),
 *  k = 0..c[i]-1 (*last = c[i] - 1). */
ORVO_API int16_t N_tesbpt(int32_t *const *nb, const int32_t *c, int32_t N, int32_t i, int32_t **t0,
                          int32_t **t1, int32_t **t2, int32_t *last, STACKS *ws);
/** @brief The (at most two) triangles on either side of the edge a-b:
 *  (a, b, x) with x after b in the list of a, then (b, a, y) with y after
 *  a in the list of b. Error 7 when a and b are not neighbours or share
 *  no triangle. */
ORVO_API int16_t N_tesblt(int32_t *const *nb, const int32_t *c, int32_t N, int32_t a, int32_t b,
                          int32_t **t0, int32_t **t1, int32_t **t2, int32_t *last, STACKS *ws);
/** @brief The (at most three) triangles across the edges of triangle
 *  (a, b, cc), in the order of the edges (a, b), (b, cc), (cc, a); a
 *  border edge contributes none. Error 7 when (a, b, cc) is no triangle
 *  of the mesh. */
ORVO_API int16_t N_tesbtt(int32_t *const *nb, const int32_t *c, int32_t N, int32_t a, int32_t b,
                          int32_t cc, int32_t **t0, int32_t **t1, int32_t **t2, int32_t *last,
                          STACKS *ws);

/* ---- Cell classification and the grid walk ----------------------------
 * A cell is an axis-parallel rectangle of the metric plane (xmin, xmax:
 * u'; ymin, ymax: v'); d the tolerance. A loop holds points 0..n, the
 * first repeated last; a loop without points (null arrays, n < 1) is
 * apart from every cell. No errors are raised. */

/** @brief Cell against one loop, tested in this order: -1 when the loop's
 *  box and the cell, each widened by d, are apart; 2 when every loop point
 *  lies more than d inside every cell side; 0 when a leg meets a cell side
 *  (G_dolsin with tol d); 1 when all four cell corners lie inside the loop
 *  (crossing parity); else -1. */
ORVO_API int16_t N_tesbip(const double *u, const double *v, int32_t n, RECTANGLE box,
                          RECTANGLE cell, double d);
/** @brief Cell against one region (loops[0] outer, loops[1..nh+1] holes):
 *  -1 outside the outer loop or inside a hole, else 0 when a loop crosses
 *  the cell, 2 when a loop lies in it, 3 both, 1 neither. */
ORVO_API int16_t N_tesbil(const TRIMLOOP *loops, int32_t nh, RECTANGLE cell, double d);
/** @brief Cell against regions 0..nr, scanned up to the first whose outer
 *  loop holds the cell: -1 inside a hole or outside every region, 3
 *  crossed by a loop and containing one, 0 crossed, 2 containing a loop, 1
 *  inside. */
ORVO_API int16_t N_tesbit(const TRIMREGION *reg, int32_t nr, RECTANGLE cell, double d);
/** @brief The far corner of the leaf cell whose lower-left corner is
 *  grid[i][j].
 *  @param grid, ni, nj the grid (point index or -1) and its highest indices.
 *  @param fu, fv edge flags per point: an edge leaves towards +u (first
 *  grid index) / +v (second grid index).
 *  @param i,j (in) grid indices of the cell's lower-left corner.
 *  @param i2, j2 (out) i2 the first k > i whose point grid[k][j] has an
 *  edge towards +v (the lower-right corner; hanging corners on the lower
 *  side have none), j2 the first k > j whose point grid[i][k] has an edge
 *  towards +u (the upper-left corner); -1, -1 when i, j lie outside the
 *  grid, grid[i][j] is empty or lacks either flag, or no corner is found. */
ORVO_API void N_tesbox(int32_t *const *grid, int32_t ni, int32_t nj, const int16_t *fu,
                       const int16_t *fv, int32_t i, int32_t j, int32_t *i2, int32_t *j2);

/* ---- Refinement tools: knot removal ------------------------------------ */
/* Knots go only while the shape moves by no more than tol (a distance in
 * model space; for rational input it is scaled to tol * wmin / (1 + Pmax),
 * Pmax the greatest distance of a control point from the origin), and
 * only if every new control point is finite and, for rational input, has a
 * weight in [MINWEIGHT, MAXWEIGHT]. A knot that cannot go is not an error.
 * The routines work on a private copy and write out only a complete
 * result: on failure input and output are unchanged. When out is the input
 * record the result is written in place (ws owns its arrays); otherwise out
 * is checked or allocated in ws with the result's sizes (error 9 when a
 * non-empty out is too small). */

/** @brief Removes the knot value u from a curve up to num times.
 *  @param c (in) the curve; clamped or not, knots non-decreasing.
 *  @param u (in) the value, strictly inside (U[0], U[m]); a value that is
 *  not a knot removes nothing.
 *  @param num (in) most copies to remove (<= 0: none; at most the
 *  multiplicity).
 *  @param tol (in) greatest change of shape allowed, summed over the copies.
 *  @param removed (out) the number of copies removed.
 *  @param out (out) the result: n - removed, p, m - removed; may be c, whose
 *  arrays are then rewritten and only its counts change (an unchanged c is
 *  not touched).
 *  @param ws (in/out) workspace of c's arrays and of a separate out.
 *  @return 0, or 1 with the error state: 1/4/14 invalid curve, 6 u not
 *  strictly inside (U[0], U[m]), 14 null removed/out/ws, 9 out too small,
 *  15 allocation ("N_TOOCRM" or the allocator). */
ORVO_API int16_t N_toocrm(CURVE *c, double u, int32_t num, double tol, int32_t *removed, CURVE *out,
                          STACKS *ws);
/** @brief Surface twin of N_toocrm: removes uv from U (dir 1, every column
 *  of the net at once) or V (dir 2, every row); a copy goes only if every
 *  line allows it.
 *  @param s (in) the surface. @param uv, num, tol, removed as N_toocrm.
 *  @param dir (in) 1 or 2. @param out (out) the result, may be s.
 *  @param ws (in/out) workspace.
 *  @return 0, or 1: 2/4/14 invalid surface, 13 dir, 6 uv, 14 null
 *  pointers, 9 out too small, 15 allocation ("N_TOOSRM"). */
ORVO_API int16_t N_toosrm(SURFACE *s, double uv, int32_t num, double tol, int16_t dir,
                          int32_t *removed, SURFACE *out, STACKS *ws);
/** @brief Removal bound of the knot run ending at index r: the distance
 *  between a control point and its estimate (or between the two estimates
 *  of one new point) when one copy is removed. The curve is not changed.
 *  @param c (in) the curve.
 *  @param r (in) last index of the run, s (in) its multiplicity: U[r-s] <
 *  U[r-s+1] = .. = U[r] < U[r+1], 1 <= s <= p+1, r-p-1 >= 0, r-s+1 <= n.
 *  @param s (in) multiplicity of the run (see r).
 *  @param bound (out) the bound.
 *  @return 0, or 1: 1/4/14 invalid curve, 7 r and s not such a run,
 *  11 a ratio overflows or the bound is not finite, 14 null bound
 *  ("N_TOOCRB"). */
ORVO_API int16_t N_toocrb(CURVE *c, int32_t r, int32_t s, double *bound);
/** @brief Surface twin of N_toocrb over the lines first_line..last_line
 *  (columns for dir 1, rows for dir 2).
 *  @param s (in) the surface (not changed).
 *  @param r,mult (in) last index and multiplicity of the knot run in U
 *  (dir 1, degree p) or V (dir 2, degree q), as r and s for N_toocrb.
 *  @param first_line,last_line (in) the lines to bound, within 0..m
 *  (dir 1) or 0..n (dir 2).
 *  @param dir (in) 1 (u knot) or 2 (v knot).
 *  @param bound (in/out) becomes the greatest of its entry value and the
 *  line bounds; an entry value of DBL_MAX counts as -1.0.
 *  @return 0, or 1: 2/4/14 invalid surface, 13 dir, 7 run or line range
 *  (0 <= first_line <= last_line <= last line) invalid, 11, 14 null bound
 *  ("N_TOOSRB"). */
ORVO_API int16_t N_toosrb(SURFACE *s, int32_t r, int32_t mult, int32_t first_line,
                          int32_t last_line, int16_t dir, double *bound);
/** @brief Removes every knot of a curve that can go, smallest bound first,
 *  keeping the error accumulated on each knot span within tol.
 *  @param c (in) the curve. @param tol (in) greatest change of shape.
 *  @param out (out) the result, may be c (which then gets arrays of the new
 *  size from ws, the old ones released, when a knot went).
 *  @param ws (in/out) workspace.
 *  @return 0, or 1: 1/4/14 invalid curve, 14 null out/ws, 9 out too small,
 *  15 allocation ("N_TOOCRA"). */
ORVO_API int16_t N_toocra(CURVE *c, double tol, CURVE *out, STACKS *ws);
/** @brief Surface twin of N_toocra on U (dir 1), V (dir 2) or both (dir 3),
 *  the error accumulated per pair of spans.
 *  @return 0, or 1: 2/4/14 invalid surface, 13 dir, 14, 9, 15 as N_toocra
 *  ("N_TOOSRA"). */
ORVO_API int16_t N_toosra(SURFACE *s, double tol, int16_t dir, SURFACE *out, STACKS *ws);

/* ---- Curve fitting ------------------------------------------------------- */
/* ptype: 1 uniform, 2 chord length, 3 centripetal (square roots of the
 * chord lengths). Fitted curves are non-rational; planar data (z the 2-D
 * marker) give planar control points. Fitting routines allocate their
 * output by check-or-allocate in ws and restore a curve output on failure;
 * temporaries live in a private workspace. Errors of the banded solve
 * (11) are recorded under the solver's name. More than INT32_MAX / 2 data
 * points are refused with error 14. */

/** @brief Parameters t[0..n] for data points: t[0] = 0, t[n] = 1 and,
 *  for ptype 2 and 3, steps in proportion to the (square roots of the)
 *  distances of consecutive data.
 *  @param Q (in) data Q[0..n]: POINT (kind 1) or CPOINT (kind 2) records.
 *  @param n highest data index (at least 1).
 *  @param kind 1 POINT, 2 CPOINT (only looked at for ptype 2 and 3).
 *  @param ptype parametrisation type 1, 2 or 3.
 *  @param t (out) t[0..n], non-decreasing.
 *  @return 0 success, 1 failure: 7 (N_FITCPA) null Q or t; 13 bad ptype
 *  or kind; 14 n < 1; 11 the distances sum to zero (all data coincide)
 *  or overflow. */
ORVO_API int16_t N_fitcpa(const void *Q, int32_t n, int16_t kind, int16_t ptype, double *t);
/** @brief Parameters t[0..n] for scalar data f[0..n]; the distances are
 *  |f[k-1] - f[k]|. Errors as N_fitcpa, under N_FITFPA. */
ORVO_API int16_t N_fitfpa(const double *f, int32_t n, int16_t ptype, double *t);
/** @brief Knot vector for interpolation of t[0..n] with degree p: p + 1
 *  end knots t[0] and t[n], interior knots U[j+p] = mean of t[j..j+p-1],
 *  j = 1..n-p; sets the highest index n + p + 1.
 *  @param t (in) parameters t[0..n], non-decreasing.
 *  @param n (in) highest index of t (>= p).
 *  @param p (in) degree (>= 1).
 *  @param U (in/out) a knot vector with room for n + p + 2 knots.
 *  Writes nothing when t, U or its array is null, p < 1 or n < p. */
ORVO_API void N_fitkni(const double *t, int32_t n, int16_t p, KNOTVECTOR *U);
/** @brief Knot vector for interpolation of t[0..n] with both end
 *  derivatives: interior knots U[j+p+1] = mean of t[j..j+p-1],
 *  j = 0..n-p+1; highest index n + p + 3 (room for n + p + 4 knots).
 *  Writes nothing when t, U or its array is null, p < 1, n < 0 or
 *  p > n + 2. */
ORVO_API void N_fitknd(const double *t, int32_t n, int16_t p, KNOTVECTOR *U);
/** @brief Knot vector for least-squares approximation of the m + 1
 *  parameters t[0..m] by n + 1 control points of degree p: highest index
 *  n + p + 1, interior knots spread so that every span holds parameters.
 *  Writes nothing when t, U or its array is null, p < 1, n <= p or m < n. */
ORVO_API void N_fitkna(const double *t, int32_t m, int32_t n, int16_t p, KNOTVECTOR *U);
/** @brief Global interpolation: the curve of degree p with n + 1 control
 *  points through Q[0..n] at the parameters of N_fitcpa, knots of N_fitkni.
 *  @param Q (in) data points, highest index n.
 *  @param n (in) highest index of Q (>= p).
 *  @param p degree 1..MAXDEGREE.
 *  @param ptype (in) parametrisation type 1, 2 or 3 (see N_fitcpa).
 *  @param curve (out) n + 1 control points, highest knot index n + p + 1.
 *  @param ws (in/out) the caller's workspace for the output.
 *  @return 0 success, 1 failure: 7 null Q; 3 p outside 1..MAXDEGREE;
 *  14 n < p or null curve or ws; 13 bad ptype; 9 output too small;
 *  11 coincident data or a singular (degenerate) system (all N_FITGCI
 *  unless raised by the solver). */
ORVO_API int16_t N_fitgci(const POINT *Q, int32_t n, int16_t p, int16_t ptype, CURVE *curve,
                          STACKS *ws);
/** @brief Global interpolation of scalar data f[0..n] by a curve function
 *  of degree p with n + 1 control values (parameters of N_fitfpa). Errors
 *  as N_fitgci, under N_FITGFI. The output may be partly written on
 *  failure. */
ORVO_API int16_t N_fitgfi(const double *f, int32_t n, int16_t p, int16_t ptype, CFUNCTION *cfn,
                          STACKS *ws);
/** @brief Interpolation of Q[0..n] with first derivatives D0 at the start
 *  and Dn at the end: degree p, n + 3 control points, knots of N_fitknd
 *  (highest index n + p + 3). For planar data the z of D0 and Dn is
 *  ignored.
 *  @return 0 success, 1 failure: 7 null Q; 3 p above MAXDEGREE; 14 n < 1,
 *  p < 2 or p > n + 2, or null curve or ws; 13, 9, 11 as N_fitgci (under
 *  N_FITGCD). */
ORVO_API int16_t N_fitgcd(const POINT *Q, int32_t n, int16_t p, VECTOR D0, VECTOR Dn, int16_t ptype,
                          CURVE *curve, STACKS *ws);
/** @brief Cubic spline through Q[0..n] with end tangents D0 and Dn: the
 *  data parameters are the interior knots (n + 3 control points, highest
 *  knot index n + 6).
 *  @return 0 success, 1 failure: 7 null Q; 14 n < 1 or null curve or
 *  ws; 13 bad ptype; 9 output too small; 11 coincident data or a zero
 *  pivot of the tridiagonal elimination (degenerate parameters) (all
 *  N_FITCSP). */
ORVO_API int16_t N_fitcsp(const POINT *Q, int32_t n, VECTOR D0, VECTOR Dn, int16_t ptype,
                          CURVE *curve, STACKS *ws);
/** @brief Least-squares approximation of Q[0..m] by a curve of degree p
 *  with n + 1 control points through Q[0] and Q[m] (knots of N_fitkna).
 *  @return 0 success, 1 failure: 7 null Q; 3 p outside 1..MAXDEGREE;
 *  14 unless 2 <= n, p < n <= m, or null curve or ws; 13, 9, 11 as
 *  N_fitgci (under N_FITGCA). */
ORVO_API int16_t N_fitgca(const POINT *Q, int32_t m, int32_t n, int16_t p, int16_t ptype,
                          CURVE *curve, STACKS *ws);

/* ---- Point inversion, arc length and power-form conversion --------------- */

/** @brief Point inversion on a curve: the parameter of a point of C nearest
 *  to P, by Newton iteration from ustart (at most MAXIT steps). Steps that
 *  leave the parameter range are clamped to it, or wrapped by the period on
 *  a closed curve (U_iscurc); so is ustart.
 *  @param C curve (in).
 *  @param P the point to invert (in).
 *  @param ustart start parameter (in).
 *  @param eps1 point coincidence (>= 0): |C(u) - P| <= eps1, or a step that
 *  moves the point by no more than eps1, ends the iteration.
 *  @param eps2 zero cosine (>= 0): |C'.r| / (|C'| |r|) <= eps2 ends it.
 *  @param u (out) the parameter found.
 *  @param Q (out) C(u). Neither is written on failure.
 *  @return 0, or 1 with error 12 (no convergence within MAXIT steps, or a
 *  quotient of the iteration cannot be formed: a zero first derivative, a
 *  zero Newton denominator), 14 (null output, negative or non-finite eps),
 *  6 (non-finite ustart or P), 1/3/4 (invalid curve) under "N_GPRPIN". */
ORVO_API int16_t N_gprpin(const CURVE *C, POINT P, double ustart, double eps1, double eps2,
                          double *u, POINT *Q);

/** @brief Point inversion on a surface: (u, v) of a point of S nearest to P,
 *  by Newton iteration from (ustart, vstart), at most MAXIT steps; each
 *  direction clamped to its knot range, or wrapped when the surface is
 *  closed in it (U_issurc).
 *  @param S surface (in). @param P point (in).
 *  @param ustart, vstart start parameters (in).
 *  @param eps1 point coincidence (>= 0): |S - P| <= eps1, or a step moving
 *  the point by no more than eps1 (|du Su + dv Sv|), ends the iteration.
 *  @param eps2 zero cosine (>= 0): both cosines of r with Su and Sv <= eps2
 *  end it.
 *  @param u, v (out) the parameters found. @param Q (out) S(u, v).
 *  @return 0, or 1 with error 12 (no convergence within MAXIT steps, a
 *  singular Newton system or a zero tangent), 14 (null output, bad eps), 6
 *  (non-finite start or P), 2/3/4 (invalid surface) under "N_GPRSIN", 15
 *  from the allocator. */
ORVO_API int16_t N_gprsin(const SURFACE *S, POINT P, double ustart, double vstart, double eps1,
                          double eps2, double *u, double *v, POINT *Q);

/** @brief Tangent inversion: the parameter-plane direction (du, dv) whose
 *  image du Su + dv Sv at (u, v) is T (least squares: the normal
 *  equations, solved by Cramer's rule).
 *  @param S surface (in). @param u, v parameters (in).
 *  @param T the 3-D vector (in).
 *  @param out (out) (du, dv, 0); not written on failure.
 *  @return 0, or 1 with error 11 (singular normal equations: Su or Sv zero,
 *  or the two parallel within sin^2 of their angle <= ZERO_TOLERANCE), 14
 *  (null out), 2/3/4 (invalid surface) under "N_GPRSTI"; 6 (parameter
 *  outside the domain) from the evaluation. */
ORVO_API int16_t N_gprsti(const SURFACE *S, double u, double v, VECTOR T, VECTOR *out);

/** @brief Arc length of C between u0 and u1 (either order; 0 for u0 ==
 *  u1), each Bezier segment of the part measured by B_arclen with an even
 *  share of the tolerance.
 *  @param C curve (in). @param u0, u1 parameters in the domain.
 *  @param tol tolerance (>= 0): absolute (mode 1) or relative to the
 *  diagonal of the part's control-point box (mode 2).
 *  @param mode 1 absolute, 2 relative.
 *  @param length (out) the length; not written on failure.
 *  @return 0, or 1 with error 13 (mode), 14 (null length, negative or
 *  non-finite tol), 6 (parameter outside the domain), 1/3/4 (invalid curve)
 *  under "N_GPRCLE"; errors of the segment and length routines pass through. */
ORVO_API int16_t N_gprcle(const CURVE *C, double u0, double u1, double tol, int16_t mode,
                          double *length);

/** @brief Curve to power form: one piece per knot span of positive length.
 *  @param C curve (in).
 *  @param pieces (out) array pieces[0..*last] of fresh CURVE records in ws:
 *  degree p, p+1 power coefficients (in the parameter itself, as N_cplevn
 *  evaluates them) and the knots {a, b} of the span.
 *  @param last (out) highest piece index.
 *  @param ws the caller's workspace.
 *  @return 0, or 1 with error 14 (null argument), 1/3/4 (invalid curve)
 *  under "N_GPRCNP", 15 from the allocator; nothing is left in ws. */
ORVO_API int16_t N_gprcnp(const CURVE *C, CURVE ***pieces, int32_t *last, STACKS *ws);

/** @brief Power-form pieces back to one curve: the Bezier segments of the
 *  pieces joined with knots of multiplicity p (highest control index
 *  (last+1) p, highest knot index (last+2) p + 1), then every knot that can
 *  be removed within POINT_TOLERANCE removed (N_toocra), so that a curve cut
 *  into pieces by N_gprcnp comes back with its own knots.
 *  @param pieces pieces[0..last] (in): degree p >= 1 of the first piece,
 *  p+1 coefficients each, two knots a < b, each piece starting where the one
 *  before ends, all of the first piece's kind (2-D/3-D, rational or not).
 *  @param last highest piece index.
 *  @param out result (out, check-or-allocate in ws by N_toocra).
 *  @param ws the caller's workspace.
 *  @return 0, or 1 with error 3 (degree 0 or above MAXDEGREE), 14 (null or
 *  malformed pieces, spans that do not follow on, mixed kinds, null out or
 *  ws) under "N_GPRCPN"; errors of N_toocra ("N_TOOCRA": 9 out too small)
 *  and 15 from the allocator pass through. */
ORVO_API int16_t N_gprcpn(CURVE *const *pieces, int32_t last, CURVE *out, STACKS *ws);

/** @brief Surface to power form: one piece per pair of knot spans of
 *  positive length, pieces[iu][iv] (u span major).
 *  @param S surface (in).
 *  @param pieces (out) table of fresh SURFACE records in ws: degrees p, q,
 *  (p+1) x (q+1) coefficients (as N_splevn evaluates them), knots {a, b}
 *  in u and {c, d} in v.
 *  @param last_u, last_v (out) highest piece indices.
 *  @param ws the caller's workspace.
 *  @return 0, or 1 with error 14 (null argument), 2/3/4 (invalid surface)
 *  under "N_GPRSNP", 15 from the allocator; nothing is left in ws. */
ORVO_API int16_t N_gprsnp(const SURFACE *S, SURFACE ****pieces, int32_t *last_u, int32_t *last_v,
                          STACKS *ws);

/** @brief Power-form pieces back to one surface (the twin of N_gprcpn):
 *  pieces[iu][iv], iu = 0..last_u, iv = 0..last_v, as N_gprsnp writes
 *  them; every piece of row iu has the u span of pieces[iu][0], every piece
 *  of column iv the v span of pieces[0][iv]. Removable knots of both
 *  directions are removed within POINT_TOLERANCE (N_toosra).
 *  @param pieces (in) the power-form pieces pieces[0..last_u][0..last_v]
 *  (not changed).
 *  @param last_u,last_v (in) highest piece indices (>= 0).
 *  @param out result (out, check-or-allocate in ws by N_toosra).
 *  @param ws (in/out) workspace for an empty out.
 *  @return 0, or 1 with error 3 (a degree 0 or above MAXDEGREE), 14 (null
 *  or malformed pieces, spans that disagree or do not follow on, mixed
 *  kinds, null out or ws) under "N_GPRSPN"; errors of N_toosra
 *  ("N_TOOSRA") and 15 from the allocator pass through. */
ORVO_API int16_t N_gprspn(SURFACE *const *const *pieces, int32_t last_u, int32_t last_v,
                          SURFACE *out, STACKS *ws);

/* ---- Refinement tools: degree elevation --------------------------------- */
/** @brief Raises the degree of a clamped curve by t without changing its
 *  shape; every interior knot's multiplicity rises by exactly t.
 *  @param c input curve (in; highest point index n, degree p, highest knot
 *  index m, knots clamped: first and last of multiplicity p+1).
 *  @param t degree increase (in), 0 <= t, p + t <= MAXDEGREE; t = 0 copies.
 *  @param out result (out): degree p+t, highest point index n + t*nsp,
 *  highest knot index m + t*(nsp+1), nsp the number of spans of non-zero
 *  length (N_kntnsp). When out == c the curve gets fresh arrays from ws_in
 *  and its old ones are released from ws_in; otherwise check-or-allocate
 *  in ws_out.
 *  @param ws_in workspace owning c's arrays; @param ws_out workspace for a
 *  separate out.
 *  @return 0, or 1 with, under "N_TOOCDE": 1 (malformed record), 4 (knots
 *  decreasing or not well formed for degree p), 3 (t < 0 or p + t above
 *  MAXDEGREE), 14 (n < p, null out or workspace), 9 (out too small; out
 *  unchanged), 11 (coincident or non-finite knots, or a non-finite
 *  result), 15 (allocation, also "S_GET..."). */
ORVO_API int16_t N_toocde(CURVE *c, int32_t t, CURVE *out, STACKS *ws_in, STACKS *ws_out);
/** @brief The surface twin of N_toocde: raises the u degree p (dir 1, knots
 *  U, lines along u, one per column) or the v degree q (dir 2, knots V, one
 *  line per row) by t; the other degree, knot vector and number of points
 *  across stay unchanged.
 *  @param s input surface (in); @param t degree increase (in);
 *  @param dir 1 (u) or 2 (v) (in).
 *  @param out result (out): for dir 1 highest row index n + t*nsp and
 *  highest U index r + t*(nsp+1), for dir 2 the same on the columns and V;
 *  in place when out == s (old arrays released from ws_in), else
 *  check-or-allocate in ws_out.
 *  @param ws_in (in/out) workspace owning s's arrays (used in place).
 *  @param ws_out (in/out) workspace for a separate out.
 *  @return 0, or 1 with, under "N_TOOSDE": 2 (malformed record), 13 (dir
 *  neither 1 nor 2), 3, 4, 9, 11, 14, 15 as for N_toocde on the raised
 *  direction. */
ORVO_API int16_t N_toosde(SURFACE *s, int32_t t, int16_t dir, SURFACE *out, STACKS *ws_in,
                          STACKS *ws_out);

/* ---- Circles, arcs and conics -------------------------------------------- */
/* A circle is O + r cos(a) X + r sin(a) Y, angles a in degrees from X towards
 * Y; X and Y are normalised first (error 17 under "G_VECNIP" when one is
 * zero). Angles: a1 <= a0 gains turns until a1 > a0, and a sweep a1 - a0
 * over 360 becomes 360. The output curve goes through U_curchk in ws (error
 * 9 under the routine's tag when a non-empty record is too small, 15 when
 * memory runs out); it is 3-D and rational, starts at weight 1 (the quintic
 * full circle at weight 5). Non-finite input: error 6; null curve: error 1. */

/** @brief Circular arc from a0 to a1 in the form asked.
 *  @param O centre (in). @param X, Y directions of the angles 0 and 90 (in).
 *  @param r radius (in). @param a0, a1 start and end angles in degrees (in).
 *  @param form 2 piecewise rational quadratic, 4 piecewise rational quartic,
 *  5 one rational quintic (in).
 *  @param curve (out) the arc. @param ws the caller's workspace.
 *  @return 0, or 1 with error 13 under "N_CONCIR" for another form, or the
 *  error of N_conci2, N_conci4 or N_conci5. */
ORVO_API int16_t N_concir(POINT O, VECTOR X, VECTOR Y, double r, double a0, double a1, int16_t form,
                          CURVE *curve, STACKS *ws);

/** @brief Rational quadratic arc: 1 to 4 segments of at most 90 degrees,
 *  interior knots of multiplicity 2, middle weights cos(sweep / 2).
 *  Arguments as N_concir; curve (out) has n = 2 * segments (highest index
 *  at most 8), p = 2, m = n + 3.
 *  @return 0, or 1 with error 14 under "N_CONCI2" when the end tangents of a
 *  segment do not meet (X parallel to Y, a sweep lost to rounding of huge
 *  angles), 11 from the line intersection, 6, 9, 15, 17 as above. */
ORVO_API int16_t N_conci2(POINT O, VECTOR X, VECTOR Y, double r, double a0, double a1, CURVE *curve,
                          STACKS *ws);

/** @brief Rational quartic arc: 1 to 3 segments of at most 120 degrees,
 *  interior knots of multiplicity 4; each segment puts the angles at a
 *  quarter, half and three quarters of its sweep at the parameters 1/4, 1/2
 *  and 3/4 of the segment. Arguments as N_concir; curve (out) has
 *  n = 4 * segments (at most 12), p = 4, m = n + 5.
 *  @return 0, or 1 with error 11 under "N_CONCI4" when no admissible
 *  parameter exists (a zero sweep), 14 when tangents do not meet, 6, 9, 15,
 *  17 as above. */
ORVO_API int16_t N_conci4(POINT O, VECTOR X, VECTOR Y, double r, double a0, double a1, CURVE *curve,
                          STACKS *ws);

/** @brief Rational quintic arc: one Bezier segment (n = 5, p = 5, m = 11).
 *  The whole circle starts at the point opposite the middle of the arc
 *  (weights 5, 1, 1, 1, 1, 5); a sweep short of 360 is cut out of it at the
 *  parameters of the end points (point inversion) and its knots mapped onto
 *  [0, 1]. Arguments as N_concir.
 *  @return 0, or 1 with error 11 under "N_CONCI5" when X and Y give no
 *  tangent, 12 from N_gprpin, 14 from N_toocsg (an empty piece), 6, 9, 15,
 *  17 as above. */
ORVO_API int16_t N_conci5(POINT O, VECTOR X, VECTOR Y, double r, double a0, double a1, CURVE *curve,
                          STACKS *ws);

/** @brief Weights of the unit arc from a0 to a1 in the given form.
 *  @param a0, a1 angles in degrees (in). @param form 2, 4 or 5 (in).
 *  @param weights (out) weights[0..n]; room for 13 values covers every form.
 *  @param n (out) the highest control point index.
 *  @return 0, or 1 with error 14 under "N_CONCIW" for a null output, or the
 *  error of N_concir. */
ORVO_API int16_t N_conciw(double a0, double a1, int16_t form, double *weights, int32_t *n);

/** @brief Semicircle from the angle a to a + 180 as one rational cubic
 *  (weights 1, 1/3, 1/3, 1; n = 3, p = 3, m = 7).
 *  @param O, X, Y, r as N_concir (in). @param a start angle in degrees (in).
 *  @param curve (out). @param ws the caller's workspace.
 *  @return 0, or 1 with error 11 under "N_CONCSC" when X and Y give no
 *  tangent, 6, 9, 15, 17 as above. */
ORVO_API int16_t N_concsc(POINT O, VECTOR X, VECTOR Y, double r, double a, CURVE *curve,
                          STACKS *ws);

/** @brief Ellipse arc O + ra cos(a) X + rb sin(a) Y from a0 to a1: the circle
 *  of radius ra at the same angles (taken modulo 360) in the given form,
 *  shrunk towards the line through O along X by rb / ra.
 *  @param O, X, Y as N_concir (in). @param ra, rb semi-axes along X and Y (in).
 *  @param a0, a1 angles in degrees (in). @param form 2, 4 or 5 (in).
 *  @param curve (out). @param ws the caller's workspace.
 *  @return 0, or 1 with error 14 under "N_CONELL" when |a1 - a0| > 360, 11
 *  when rb / ra cannot be formed (ra = 0), 6, 17, or the error of N_concir. */
ORVO_API int16_t N_conell(POINT O, VECTOR X, VECTOR Y, double ra, double rb, double a0, double a1,
                          int16_t form, CURVE *curve, STACKS *ws);

/** @brief Conic arc from P0 to P2 with end tangents T0 and T2 through P:
 *  rational quadratic, split into 2 or 4 segments (interior knots of
 *  multiplicity 2) when the single arc would be too wide or has a negative
 *  middle weight.
 *  @param P0, P2 end points (in). @param T0, T2 end tangents (in).
 *  @param P a point of the arc (in). @param curve (out). @param ws workspace.
 *  @return 0, or 1 with error 5 under "N_CONARC" when the middle weight is
 *  -1 or less, errors 13/11 from B_makcon, 17 from G_veccos (zero tangent),
 *  1, 9, 15 as above. */
ORVO_API int16_t N_conarc(POINT P0, VECTOR T0, POINT P2, VECTOR T2, POINT P, CURVE *curve,
                          STACKS *ws);

/* The analysis routines read the first three control points of a rational
 * quadratic conic arc (a curve with n >= 2; error 1 under "N_CONSHA"
 * otherwise), whose weights must lie in [0.01, 10] (error 5 under
 * "N_CONSHA"). Null outputs: error 14 under the routine's tag. */

/** @brief Shape factor k = w0 w2 / w1^2 (1 for a non-rational curve).
 *  @param curve (in). @param k (out). @return 0 or 1 (errors 1, 5, 14). */
ORVO_API int16_t N_consha(const CURVE *curve, double *k);

/** @brief Conic type from the shape factor: 1 ellipse (k > 1 + 1e-12),
 *  2 hyperbola (k < 1 - 1e-12), 3 parabola.
 *  @param curve (in). @param type (out). @return 0 or 1 (errors of N_consha,
 *  14 under "N_CONTYP"). */
ORVO_API int16_t N_contyp(const CURVE *curve, int16_t *type);

/** @brief Implicit equation c0 x^2 + c1 y^2 + c2 xy + c3 x + c4 y + c5 = 0
 *  of a planar conic arc (2-D, or 3-D with every z equal to 0).
 *  @param curve (in). @param coef (out) coef[0..5] = c0..c5, unnormalised.
 *  @return 0, or 1 with error 14 under "N_CONIMP" for a nonzero z or a null
 *  coef, or the errors of N_consha. */
ORVO_API int16_t N_conimp(const CURVE *curve, double *coef);

/** @brief Geometric elements of a conic arc.
 *  Parabola: C the vertex, V1 the unit axis direction (towards the opening),
 *  V2 the focus (a point); a and b are not written.
 *  Ellipse or hyperbola: C the centre, V1 the unit direction of the semi-axis
 *  a (the major axis of an ellipse, the transverse axis of a hyperbola), V2
 *  the unit direction of b, both in the plane of the control points; for a
 *  circle (a and b equal to 1e-7 relative) V1 points from P1 towards P0.
 *  @param curve (in). @param C, V1, V2, a, b (out).
 *  @return 0, or 1 with error 11 under "N_CONGEO" when a quotient cannot be
 *  formed (collinear or coincident control points), 14 for a null output,
 *  or the errors of N_consha. */
ORVO_API int16_t N_congeo(const CURVE *curve, POINT *C, VECTOR *V1, VECTOR *V2, double *a,
                          double *b);

/* ---- Standard surfaces -------------------------------------------------- */
/* Each builds its surface into surf by check-or-allocate in ws (U_surchk)
 * and keeps its temporaries in a private workspace. Net index i runs along
 * u, j along v. A circular direction is one unit arc in the form asked
 * (2 rational quadratic, 5 one rational quintic; N_cmsccp also 4), carried
 * to each circle by a similarity, so all circles share knots and weights.
 * The surfaces are three-dimensional. */

/** @brief Bilinear patch: degrees 1, 1, knots {0, 0, 1, 1} both ways,
 *  net[0][0] = P00, net[1][0] = P10, net[0][1] = P01, net[1][1] = P11,
 *  non-rational.
 *  @return 0, or 1 with 14 (null surf or ws), 9/15 from U_surchk, under
 *  "N_CMSBIL". */
ORVO_API int16_t N_cmsbil(POINT P00, POINT P10, POINT P01, POINT P11, SURFACE *surf, STACKS *ws);

/** @brief General cylinder: the curve swept by d W (W normalised first).
 *  @param curve generator (in; unchanged); a 2-D curve gets z = 0.
 *  @param W (in) sweep direction (non-zero; only its direction counts).
 *  @param d (in) sweep length (model space; negative sweeps against W).
 *  @param dir 1: the curve runs along u (its points fill the first index),
 *  the sweep along v; 2: the other way round. The sweep direction has
 *  degree 1 and knots {0, 0, 1, 1}; a non-rational curve gives a
 *  non-rational surface.
 *  @param surf (out) the surface, check-or-allocate in ws.
 *  @param ws (in/out) workspace for an empty surf.
 *  @return 0, or 1 with, under "N_CMSGCL", 13 (dir), 1/3/14 (invalid curve),
 *  17 (zero W, from G_vecnip), 9/15 from the output protocol. */
ORVO_API int16_t N_cmsgcl(const CURVE *curve, VECTOR W, double d, int16_t dir, SURFACE *surf,
                          STACKS *ws);

/** @brief Ruled surface between two curves: copies of the curves are made
 *  compatible (N_toocco: parameter interval [0, 1], common degree and
 *  knots; the callers' curves are not changed) and become the two lines
 *  of a surface of degree 1 across, knots {0, 0, 1, 1}; dir as N_cmsgcl.
 *  @return 0, or 1 with, under "N_CMSRLS", 13 (dir), 1/3/14 (invalid
 *  curve), or the error of U_curcop or N_toocco (unclamped curves of
 *  different degrees cannot be raised). */
ORVO_API int16_t N_cmsrls(const CURVE *curve1, const CURVE *curve2, int16_t dir, SURFACE *surf,
                          STACKS *ws);

/** @brief Surface of revolution: the curve turned about the line through S
 *  along T by theta degrees (above 360 taken as 360). The circular
 *  direction runs along u (form 2: 3, 5, 7 or 9 points for theta up to 90,
 *  180, 270, 360; form 5: 6 points), the curve along v with its degree and
 *  knots. A control point on the axis gives a column of equal points
 *  weighted by the unit arc's weights.
 *  @return 0, or 1 with, under "N_CMSREV", 13 (form other than 2 or 5, or
 *  theta not above 0), 14 (zero or non-finite axis), 6 (non-finite control
 *  points), 1/3/14 (invalid curve), the arc builder's errors, 9/15. */
ORVO_API int16_t N_cmsrev(const CURVE *curve, POINT S, VECTOR T, double theta, int16_t form,
                          SURFACE *surf, STACKS *ws);

/** @brief Sphere zone about O of radius r between the polar angles a0 and a1
 *  (degrees from the north pole, O + r (0, 0, 1)), turned by theta about
 *  the z axis through O.
 *  @return 0, or 1 with, under "N_CMSSPH", 13 (not 0 <= a0 < a1 <= 180, or
 *  a form or theta N_cmsrev refuses), 14 (r not above 0 or not finite). */
ORVO_API int16_t N_cmssph(POINT O, double r, double a0, double a1, double theta, int16_t form,
                          SURFACE *surf, STACKS *ws);

/** @brief Ellipsoid zone about the origin: the unit sphere zone of N_cmssph
 *  scaled by (a, b, c).
 *  @return 0, or 1 with 14 under "N_CMSELL" (a semi-axis below 1e-7 or not
 *  finite), or the error of N_cmssph. */
ORVO_API int16_t N_cmsell(double a, double b, double c, double a0, double a1, double theta,
                          int16_t form, SURFACE *surf, STACKS *ws);

/** @brief Elliptic paraboloid z = x^2 / (2 a^2) + y^2 / (2 b^2), 0 <= z <= h,
 *  turned by theta about the z axis.
 *  @return 0, or 1 with 14 under "N_CMSPAR" (a, b or h below 1e-7 or not
 *  finite), or the errors of N_cmsrev. */
ORVO_API int16_t N_cmspar(double a, double b, double h, double theta, int16_t form, SURFACE *surf,
                          STACKS *ws);

/** @brief Hyperboloid of one sheet x^2 / a^2 + y^2 / b^2 - z^2 / c^2 = 1,
 *  -h <= z <= h, turned by theta about the z axis.
 *  @return 0, or 1 with 14 under "N_CMSHYP" (a, b, c or h below 1e-7 or not
 *  finite), or the errors of N_cmsrev. */
ORVO_API int16_t N_cmshyp(double a, double b, double c, double h, double theta, int16_t form,
                          SURFACE *surf, STACKS *ws);

/** @brief Torus or part of one: the tube circle of radius r about C from a0
 *  to a1 (angles from X towards Y; for a torus X is the direction from the
 *  axis to C and Y the axis direction) turned about the line through S
 *  along T by theta.
 *  @return 0, or 1 with, under "N_CMSTOR", 13 (form other than 2 or 5),
 *  14 (zero axis, or C on the axis), or the errors of N_concir and
 *  N_cmsrev. */
ORVO_API int16_t N_cmstor(POINT S, VECTOR T, POINT C, VECTOR X, VECTOR Y, double r, double a0,
                          double a1, double theta, int16_t form, SURFACE *surf, STACKS *ws);

/** @brief Cone or cylinder patch between the arc of radius r1 about O and the
 *  arc of radius r2 about O + h N, N = X x Y normalised, both from a0 to a1
 *  in the form asked (2, 4 or 5); the arcs run along u (dir 1) or v
 *  (dir 2), degree 1 and knots {0, 0, 1, 1} across.
 *  @return 0, or 1 with, under "N_CMSCCP", 13 (dir), 6 (non-finite r1, r2
 *  or h), 17 (zero X, Y or X x Y), or the errors of N_concir. */
ORVO_API int16_t N_cmsccp(POINT O, VECTOR X, VECTOR Y, double r1, double r2, double a0, double a1,
                          double h, int16_t form, int16_t dir, SURFACE *surf, STACKS *ws);

/* ---- IGES curve entities and knot checks --------------------------------- */
/* The parameter data of one IGES entity, as numbers in memory, turned into
 * a record. Every number handed in must be finite and every count must fit
 * the arrays (error 14 under the routine's tag otherwise, also for a null
 * argument). Results go through check-or-allocate in the STACKS given last
 * (error 9 when a non-empty record is too small, under the tag of the
 * routine that fills it: N_concir, N_conell, N_conarc or N_curlin for
 * entities 100, 104 and 110; 15 when memory runs out). A curve all of whose
 * z values are zero is made 2-D (z marker on every point); a non-rational
 * curve carries the weight marker. Angles are in degrees. */

/** @brief Entity 100, circular arc in the plane z = ZT, counter-clockwise
 *  from the start to the end point (a full circle when they lie within tol).
 *  The radius is the mean distance of the two points from the centre; the
 *  first and last control points are set to the given points exactly.
 *  @param ZT plane height; @param X1, Y1 centre; @param X2, Y2 start;
 *  @param X3, Y3 end (in).
 *  @param form circle form of N_concir: 2, 4 or 5 (in).
 *  @param tol distance tolerance, finite and >= 0 (in).
 *  @param cur (out) the arc. @param ws the caller's workspace.
 *  @return 0, or 1 with, under "N_IGS100": 14 (a radius below tol, tol or a
 *  coordinate not finite, null cur); errors of N_concir (13 for another
 *  form) pass through. */
ORVO_API int16_t N_igs100(double ZT, double X1, double Y1, double X2, double Y2, double X3,
                          double Y3, int16_t form, double tol, CURVE *cur, STACKS *ws);

/** @brief Entity 102, composite curve: the members joined into one curve.
 *  The members are changed in place: their knots are mapped onto their
 *  share of the joined range (form 6: consecutive ranges of their own
 *  parameter length from 0; any other form: shares of [0, 1] in proportion
 *  to arc length, members not longer than tol dropped), lower degrees are
 *  raised to the highest, and, when any member is rational (3-D), the
 *  others get weights 1 (z = 0).
 *  @param N highest member index (in).
 *  @param curves (in/out) the members curves[0..N], clamped curves.
 *  @param form 6 or another value (in). @param tol length tolerance,
 *  finite and >= 0 (in).
 *  @param out (out) the joined curve: each member's points in turn, the
 *  first point of each member after the first merged with the last one of
 *  the output so far (rational members are scaled to share the weight
 *  there); junction knots p times, ends p+1 times.
 *  @param ws_in workspace owning the members' arrays (degree elevation
 *  replaces them there). @param ws_out workspace for out.
 *  @return 0, or 1 with, under "N_IGS102": 14 (no member left, N < 0, null
 *  argument, non-finite tol or control point, joined range not finite), 1/3
 *  (malformed member, points of mixed kinds, degree 0), 4 (member knots
 *  not finite or not clamped), 5 (a member weight not positive), 11 (a
 *  junction weight ratio or a scaled point overflows); errors of N_gprcle
 *  and N_toocde pass through. */
ORVO_API int16_t N_igs102(int32_t N, CURVE *curves, int16_t form, double tol, CURVE *out,
                          STACKS *ws_in, STACKS *ws_out);

/** @brief Entity 104, conic arc A x^2 + B xy + C y^2 + D x + E y + F = 0 in
 *  the standard position of the entity, from (X1, Y1) to (X2, Y2) in the
 *  plane z = ZT. Ellipse A x^2 + C y^2 + F = 0 (counter-clockwise; equal
 *  ends give the whole ellipse), hyperbola of the same form with A, C of
 *  opposite signs (both ends on one branch), parabola A x^2 + E y = 0 or
 *  C y^2 + D x = 0. The coefficients are scaled so that the largest is 1;
 *  a term counts as absent below 1e-7 (a squared term below 1e-6), and the
 *  end points must lie on the conic within 1e-6 of its size; the first and
 *  last control points are set to them exactly.
 *  @param A, B, C, D, E, F coefficients; @param ZT plane height;
 *  @param X1, Y1 start; @param X2, Y2 end (in).
 *  @param form circle form of N_concir for the ellipse: 2, 4 or 5 (in).
 *  @param cur (out) the arc. @param ws the caller's workspace.
 *  @return 0, or 1 with 14 under "N_IGS104" (all coefficients zero, a
 *  conic not in standard position or degenerate, an end point off the
 *  conic, ends on different branches or equal ends of an open conic, a
 *  value not finite, null cur); errors of N_conell and N_conarc pass
 *  through. */
ORVO_API int16_t N_igs104(double A, double B, double C, double D, double E, double F, double ZT,
                          double X1, double Y1, double X2, double Y2, int16_t form, CURVE *cur,
                          STACKS *ws);

/** @brief Entity 106, copious data: the degree-1 curve through
 *  points[0..n] (n+1 control points, highest knot index n+2, end knots
 *  doubled).
 *  @param points (in) the points. @param n highest index, >= 1 (in).
 *  @param form 6: knots 0, 1, ..., n; any other value: chord-length
 *  parameters on [0, 1] (in).
 *  @param cur (out) the curve. @param ws the caller's workspace.
 *  @return 0, or 1 with 14 under "N_IGS106" (n < 1, null argument,
 *  non-finite point); errors of N_fitcpa (11: all points coincide) pass
 *  through. */
ORVO_API int16_t N_igs106(const POINT *points, int32_t n, int16_t form, CURVE *cur, STACKS *ws);

/** @brief Entity 110, line from start to end (N_curlin): degree 1, knots
 *  {0, 0, 1, 1}.
 *  @param start, end (in). @param cur (out). @param ws the caller's
 *  workspace.
 *  @return 0, or 1 with 14 under "N_IGS110" (null cur, non-finite point);
 *  errors of N_curlin pass through. */
ORVO_API int16_t N_igs110(POINT start, POINT end, CURVE *cur, STACKS *ws);

/** @brief Entity 112, parametric spline curve: N polynomial segments,
 *  segment i on [T[i], T[i+1]] with coordinate c(t) = A + B s + C s^2 +
 *  D s^3, s = t - T[i], as one piecewise Bezier curve that equals the
 *  polynomials at the same parameter t. Degree 3 if some D is non-zero,
 *  else 2 if some C is, else 1; N*p + 1 control points (highest index
 *  N*p), highest knot index (N+1)*p + 1, T[0] and T[N] p+1 times, the
 *  interior break points p times. Non-rational.
 *  @param N number of segments, >= 1 (in). @param T break points T[0..N]
 *  (in).
 *  @param coef (in) coef[i][c][k], segment i = 0..N-1, coordinate c = 0..2
 *  (x, y, z), power k = 0..3 (A, B, C, D).
 *  @param cur (out) the curve. @param ws the caller's workspace.
 *  @return 0, or 1 with, under "N_IGS112": 1 (break points not strictly
 *  increasing), 14 (N < 1, null argument or table entry, non-finite value,
 *  sizes beyond int32), 11 (a control point overflows). */
ORVO_API int16_t N_igs112(int32_t N, const double *T, double *const *const *coef, CURVE *cur,
                          STACKS *ws);

/** @brief Entity 124, transformation matrix: the 4x4 matrix with rows
 *  (R[0], R[1], R[2], T1), (R[3], R[4], R[5], T2), (R[6], R[7], R[8], T3),
 *  (0, 0, 0, 1).
 *  @param R rotation R[0..8], row by row (in). @param T1, T2, T3
 *  translation (in).
 *  @param M (out) full matrix with highest indices 3, 3 by check-or-allocate
 *  in ws. @param ws the caller's workspace.
 *  @return 0, or 1 with 14 under "N_IGS124" (null argument, non-finite
 *  value); 9 under "N_IGS124" when a held matrix is too small. */
ORVO_API int16_t N_igs124(const double *R, double T1, double T2, double T3, RMATRIX *M, STACKS *ws);

/** @brief Entity 126, rational B-spline curve restricted to [V0, V1]: the
 *  curve of degree M on T[0..K+M+1] with points P[0..K] and weights
 *  W[0..K] (rational when a weight differs from W[0]), cut to the range
 *  (N_igsccp) and with its knots normalised (N_igscsk).
 *  @param K highest control point index, >= M (in). @param M degree 1..28
 *  (in). @param T knots (in). @param W weights (in). @param P points (in).
 *  @param V range V[0..1] (in).
 *  @param cur (out) the curve, sized for the cut result.
 *  @param ws the caller's workspace.
 *  @return 0, or 1 with, under "N_IGS126": 3 (M outside 1..28), 5 (a weight
 *  outside [0.01, 10] or not a number), 14 (K < 0 or K+M+1 beyond int32,
 *  null argument, non-finite point); 4 under "N_IGSVKB" (knots or range,
 *  also K < M). */
ORVO_API int16_t N_igs126(int32_t K, int16_t M, const double *T, const double *W, const POINT *P,
                          const double *V, CURVE *cur, STACKS *ws);

/** @brief Checks knots[0..m] of degree p with the range [a, b] =
 *  range[0..1]: every knot finite and non-decreasing, m >= 2p + 1,
 *  knots[p] <= a < b <= knots[m - p].
 *  @return 0, or 1 with, under "N_IGSVKB", 4 when a condition fails (also
 *  p < 0 or a non-finite value), 14 for a null argument. */
ORVO_API int16_t N_igsvkb(const double *knots, int32_t m, int16_t p, const double *range);

/** @brief Cuts a curve in place to [V0, V1] = V[0..1]: V0 and V1 are
 *  inserted until they have multiplicity p and the piece between them
 *  replaces the curve (fresh arrays from ws, the old ones released from
 *  ws). A curve whose first p+1 knots are V0 and last p+1 knots V1 is left
 *  unchanged.
 *  @param cur (in/out) the curve. @param V range (in). @param ws workspace
 *  owning the curve's arrays.
 *  @return 0, or 1 with, under "N_IGSCCP": 1/3/14 (malformed curve), 4
 *  (knots decreasing or not finite, or the range not inside [U[p], U[m-p]]
 *  or V0 >= V1), 14 (null V or ws); 15 from the allocator. */
ORVO_API int16_t N_igsccp(CURVE *cur, const double *V, STACKS *ws);

/** @brief Normalises a curve's knots in place: a first or last knot of
 *  multiplicity above p+1 is reduced to p+1, dropping the surplus knots
 *  and the control points next to that end; a knot strictly inside
 *  (U[p], U[m-p]) of multiplicity s > p is reduced to p, its left-limit and
 *  right-limit control points replaced by their mean and the points
 *  between them dropped. The arrays keep their size; n and m shrink.
 *  @param cur (in/out) the curve. @param ws unused (the work needs no new
 *  storage beyond a private plan).
 *  @return 0, or 1 with, under "N_IGSCSK": 1/14 (malformed curve), 3
 *  (p < 1), 4 (knots decreasing or not finite, or U[p] == U[m-p]); 15 from
 *  the allocator. */
ORVO_API int16_t N_igscsk(CURVE *cur, STACKS *ws);

/* ---- IGES surface entities ------------------------------------------------ */
/* The parameter data of one IGES surface entity become a SURFACE by
 * check-or-allocate in ws; temporaries live in a private workspace. The
 * data are untrusted: sizes, degrees, knots, weights and numbers are
 * checked before use. A result whose z values are all zero is made 2-D; a
 * non-rational result carries the weight marker. */

/** @brief Entity 108, plane A x + B y + C z = D: a bilinear patch that covers
 *  the projection of the box onto the plane with 2 % to spare. The patch is
 *  the square about the centroid c of the eight projected corners with the
 *  half-side 1.02 |W|, W from c to the farthest projected corner: net[0][0]
 *  = c - U - V, net[1][0] = c + U - V, net[0][1] = c - U + V, net[1][1] =
 *  c + U + V with U = 1.02 W and V = 1.02 n x W (n the unit normal).
 *  @return 0, or 1 with, under "N_IGS108", 11 (zero or overflowing normal,
 *  overflow in the projection), 14 (non-finite data, a box that projects to
 *  one point), or the errors of N_cmsbil. */
ORVO_API int16_t N_igs108(double A, double B, double C, double D, BOX box, SURFACE *surf,
                          STACKS *ws);

/** @brief Entity 114, parametric spline surface of M x N patches over the
 *  break points TU[0..M], TV[0..N]: a piecewise Bezier surface of degrees p
 *  (highest power of s with a non-zero coefficient, at least 1) and q (of
 *  t), highest indices M p and N q.
 *  @param M,N (in) numbers of patches along u (s) and v (t), >= 1.
 *  @param TU,TV (in) break points TU[0..M], TV[0..N], strictly increasing.
 *  @param coef coef[i][j], i = 0..M-1, j = 0..N-1: 48 doubles, the 16
 *  coefficients a[k][l] (of s^l t^k, at 4 k + l) of x, then of y, then of z.
 *  @param surf (out) the surface, check-or-allocate in ws.
 *  @param ws (in/out) workspace for an empty surf.
 *  @return 0, or 1 with, under "N_IGS114", 2 (break points not strictly
 *  increasing), 14 (null table or entry, M or N below 1, non-finite data,
 *  sizes beyond int32), 11 (overflow in the scaled coefficients), 9/15
 *  from the output protocol (under "U_SURCOP"). */
ORVO_API int16_t N_igs114(int32_t M, int32_t N, const double *TU, const double *TV,
                          double *const *const *coef, SURFACE *surf, STACKS *ws);

/** @brief Entity 118, ruled surface between two curves: N_cmsrls with
 *  dir 2 (the curves along v). @return as N_cmsrls ("N_CMSRLS"). */
ORVO_API int16_t N_igs118(const CURVE *curve1, const CURVE *curve2, SURFACE *surf, STACKS *ws);

/** @brief Entity 120, surface of revolution: the generatrix turned about the
 *  axis from L1 towards L2 from the angle SA to TA (degrees; a sweep above
 *  360 is taken as 360), rational quadratic circles (N_cmsrev, form 2).
 *  For SA != 0 a turned copy of the generatrix is revolved; the caller's
 *  curve is not changed.
 *  @return 0, or 1 with 14 under "N_IGS120" (TA - SA not above 0, SA not
 *  finite), 1 (invalid curve), or the errors of N_currot and N_cmsrev. */
ORVO_API int16_t N_igs120(POINT L1, POINT L2, const CURVE *generatrix, double SA, double TA,
                          SURFACE *surf, STACKS *ws);

/** @brief Entity 122, tabulated cylinder: the directrix swept by the vector
 *  from its start point to the generatrix end point (N_cmsgcl, dir 2).
 *  @return 0, or 1 with 1 (invalid curve), 14 (non-finite end point) under
 *  "N_IGS122", 17 (end point on the start point) or the errors of
 *  N_curevn and N_cmsgcl. */
ORVO_API int16_t N_igs122(const CURVE *directrix, POINT end, SURFACE *surf, STACKS *ws);

/** @brief Entity 128, rational B-spline surface restricted to [U0, U1] x
 *  [V0, V1], its knots then normalised (N_igsssk).
 *  @param K1, K2 highest control point indices along u and v.
 *  @param M1, M2 degrees (1..28). @param S knots S[0..K1+M1+1] of u.
 *  @param T knots T[0..K2+M2+1] of v.
 *  @param W weights W[i][j], i = 0..K1, j = 0..K2, in [0.01, 10].
 *  @param P control points P[i][j]. @param U, V the ranges {U0, U1}, {V0, V1}.
 *  @param surf (out) the surface, check-or-allocate in ws.
 *  @param ws (in/out) workspace for an empty surf.
 *  @return 0, or 1 with, under "N_IGS128", 3 (degree), 5 (weight), 14 (null
 *  or non-finite data, sizes beyond int32; 9 or 15 from the output
 *  protocol); 4 from N_igsvkb; the errors of N_igsssk. The surface is
 *  rational when some
 *  weight differs from W[0][0]. */
ORVO_API int16_t N_igs128(int32_t K1, int32_t K2, int16_t M1, int16_t M2, const double *S,
                          const double *T, double *const *W, POINT *const *P, const double *U,
                          const double *V, SURFACE *surf, STACKS *ws);

/** @brief Cuts a surface in place to [U[0], U[1]] x [V[0], V[1]] (each
 *  direction as N_igsccp; knots already running from the range's ends are
 *  left alone). The surface's arrays are replaced from ws.
 *  @return 0, or 1 with, under "N_IGSSCP", 14 (null range or ws), 2/3/4/14
 *  (invalid surface), 4 (a range not inside the valid knots), 15. */
ORVO_API int16_t N_igsscp(SURFACE *sur, const double *U, const double *V, STACKS *ws);

/** @brief Knot normalisation of both directions of a surface in place (each
 *  as N_igscsk): end multiplicities above p+1 and interior ones above p
 *  reduced.
 *  @return 0, or 1 with, under "N_IGSSSK", 2/3/4/14 (invalid surface,
 *  non-finite or decreasing knots, a direction without extent), 3 (degree
 *  0), 15. */
ORVO_API int16_t N_igsssk(SURFACE *sur, STACKS *ws);

/* ---- Refinement tools: degree reduction --------------------------------- */
/** @brief Lowers the degree of a clamped curve by one if the shape moves by
 *  no more than tol; every interior knot's multiplicity drops by one and
 *  the parametrisation is kept. Each Bezier segment is reduced and the
 *  knots at the joints removed again, with an error budget per span: the
 *  segment's deviation plus, for each removal, its distance times the
 *  degree p-1 basis functions it changes.
 *  @param c input curve (in; highest point index n, degree p, highest knot
 *  index m, knots clamped).
 *  @param tol greatest distance the shape may move (in, model space); for a
 *  rational curve the budget works in weighted coordinates with tol *
 *  wmin / (1 + dmax) (N_curmwp).
 *  @param reduced (out) 1 when the degree was lowered, 0 when not (p < 2,
 *  the budget or the weight range [MINWEIGHT, MAXWEIGHT] of new points
 *  refused it); then c and out are left exactly as they were.
 *  @param out result (out): degree p-1, highest point index n - nsp and
 *  highest knot index m - nsp - 1, nsp the number of spans of non-zero
 *  length (N_kntnsp). When out == c the curve gets fresh arrays from ws_in
 *  and its old ones are released from ws_in; otherwise check-or-allocate
 *  in ws_out.
 *  @param maxerr (out) a bound of how far the shape moved (model space: for
 *  a rational curve the weighted bound times (1 + dmax) / the least weight
 *  of the result); when not reduced, the largest span error reached.
 *  @param ws_in workspace owning c's arrays; @param ws_out workspace for a
 *  separate out.
 *  @return 0 (also when not reduced), or 1 with, under "N_TOOCDR": 1
 *  (malformed record), 4 (knots decreasing or not clamped), 5 (a weight not
 *  positive), 14 (n < p, null pointer argument or workspace), 9 (out too
 *  small), 11 (non-finite ratio or result), 15 (allocation); B_cdegre's
 *  errors pass through. On failure c and out are unchanged. */
ORVO_API int16_t N_toocdr(CURVE *c, double tol, int16_t *reduced, CURVE *out, double *maxerr,
                          STACKS *ws_in, STACKS *ws_out);
/** @brief The surface twin of N_toocdr: lowers the u degree (dir 1, knots U,
 *  one line per column) or the v degree (dir 2, knots V, one line per row)
 *  by one; the budget takes the greatest change over all lines, so the
 *  surface is reduced only if every line is. The other degree and knot
 *  vector stay unchanged.
 *  @param s input surface (in); @param tol (in); @param dir 1 or 2 (in);
 *  @param reduced (out); @param out result (out), in place when out == s;
 *  @param maxerr (out) as for N_toocdr (N_surmwp for rational surfaces).
 *  @param ws_in (in/out) workspace owning s's arrays (used in place).
 *  @param ws_out (in/out) workspace for a separate out.
 *  @return 0, or 1 with, under "N_TOOSDR": 2 (malformed record), 13 (dir
 *  neither 1 nor 2), 4, 5, 9, 11, 14, 15 as for N_toocdr. */
ORVO_API int16_t N_toosdr(SURFACE *s, double tol, int16_t dir, int16_t *reduced, SURFACE *out,
                          double *maxerr, STACKS *ws_in, STACKS *ws_out);
/** @brief Lowers the degree of a curve repeatedly (N_toocdr with tol minus
 *  the errors reported so far) while that sum stays below tol, so the shape
 *  moves by at most tol in all. tol = 0 does nothing.
 *  @param c input curve (in); @param tol (in); @param out result (out): in
 *  place when out == c (left alone when nothing was reduced), else a copy
 *  of the result by check-or-allocate in ws_out.
 *  @param ws_in (in/out) workspace owning c's arrays (used in place).
 *  @param ws_out (in/out) workspace for a separate out.
 *  @return 0, or 1 with 1, 14, 9, 15 under "N_TOOCDA" or the errors of
 *  N_toocdr; on failure c and out are unchanged. */
ORVO_API int16_t N_toocda(CURVE *c, double tol, CURVE *out, STACKS *ws_in, STACKS *ws_out);
/** @brief The surface twin of N_toocda, alternating u, v, u, ... while both
 *  directions reduce and going on in one once the other refuses, while the
 *  summed error is at most tol (tol = 0 still tries u once with 0).
 *  @return 0, or 1 with 2, 14, 9, 15 under "N_TOOSDA" or the errors of
 *  N_toosdr; on failure s and out are unchanged. */
ORVO_API int16_t N_toosda(SURFACE *s, double tol, SURFACE *out, STACKS *ws_in, STACKS *ws_out);

/* ---- Surface fitting ----------------------------------------------------- */
/* Grids are row-pointer tables Q[0..n][0..m]: the first index runs along u,
 * the second along v. A u line is Q[0..n][l], a v line Q[i][0..m]. ptype:
 * 1 uniform, 2 chord length, 3 centripetal. Fitted surfaces are
 * non-rational; a grid with a 2-D point (z the marker) is fitted in x and y
 * and gives a planar net. Both fits factor one banded matrix per direction
 * and solve every line of that direction with it. The output goes through
 * check-or-allocate in ws and is restored on failure; temporaries live in a
 * private workspace. Errors of the banded solve (11) are recorded under
 * the solver's name. */

/** @brief Parameters of a grid, averaged over its lines: uk[k] is the mean
 *  over the v lines l = 0..m of the chord parameter of Q[k][l] on its u
 *  line, vl likewise over the u lines i = 0..n. A line whose total leg
 *  length (summed square roots for ptype 3) is at most 1e-7 (a pole) is
 *  degenerate and left out of the mean.
 *  @param Q (in) the grid: POINT *const * (kind 1) or CPOINT *const *
 *  (kind 2) rows, highest indices n, m.
 *  @param n, m highest indices (at least 1 each).
 *  @param kind 1 POINT, 2 CPOINT (distances of the stored forms).
 *  @param ptype parametrisation type 1, 2 or 3.
 *  @param uk (out) uk[0..n]: 0, non-decreasing, 1.
 *  @param vl (out) vl[0..m].
 *  @return 0 success, 1 failure (all N_FITSPA): 7 null Q, row, uk or vl;
 *  13 bad ptype or kind; 14 n or m below 1, or every line of a direction
 *  degenerate; 11 a leg sum not finite (overflow or a non-finite point);
 *  15 allocation. */
ORVO_API int16_t N_fitspa(const void *Q, int32_t n, int32_t m, int16_t kind, int16_t ptype,
                          double *uk, double *vl);
/** @brief Solves one grid line against a factored collocation matrix: the
 *  u line Q[0..n][index] (dir 1) or the v line Q[index][0..m] (dir 2) is
 *  the right-hand side of LU x = line; x goes to out as non-rational
 *  control points (marker columns of the line stay markers).
 *  @param Q (in) grid as for N_fitspa, highest indices n, m.
 *  @param n,m (in) highest grid indices along u and v (>= 0).
 *  @param dir 1 u line, 2 v line. @param index the line: 0..m for dir 1,
 *  0..n for dir 2.
 *  @param kind 1 POINT, 2 CPOINT rows.
 *  @param LU (in) banded or full factors of M_ludcmp, highest index n
 *  (dir 1) or m (dir 2).
 *  @param out (out) out[0..n] or out[0..m].
 *  @return 0 success, 1 failure: 13 bad dir or kind; 7 null Q, row, LU or
 *  out, negative n or m, index out of range, or LU of another size (all
 *  N_FITCFS); the errors of M_forbac (11 an unsafe division, 14 a matrix
 *  that is neither full nor banded) under its name. */
ORVO_API int16_t N_fitcfs(const void *Q, int32_t n, int32_t m, int16_t dir, int32_t index,
                          int16_t kind, const RMATRIX *LU, CPOINT *out);
/** @brief Global interpolation of the grid Q[0..n][0..m]: the surface of
 *  degrees p, q with (n+1) x (m+1) control points through Q[k][l] at
 *  (uk[k], vl[l]) of N_fitspa, knots of N_fitkni in each direction.
 *  p = q = 1 gives the grid itself as the net; n = p, m = q a Bezier patch.
 *  @param Q (in) the grid rows Q[0..n][0..m] (model space).
 *  @param n,m (in) highest grid indices along u and v (n >= p, m >= q).
 *  @param p,q (in) degrees in u and v, 1..MAXDEGREE.
 *  @param ptype (in) parametrisation type 1, 2 or 3.
 *  @param surf (out) highest knot indices n + p + 1 and m + q + 1.
 *  @param ws (in/out) the caller's workspace for the output.
 *  @return 0 success, 1 failure (N_FITGSI unless raised by the solver):
 *  7 null Q or row; 3 p or q outside 1..MAXDEGREE; 14 n < p or m < q, every
 *  line of a direction degenerate, or null surf or ws; 13 bad ptype;
 *  11 a non-finite coordinate, coincident parameters in a direction (two
 *  grid lines that coincide), or a singular system; 9 output too small;
 *  15 allocation. */
ORVO_API int16_t N_fitgsi(POINT *const *Q, int32_t n, int32_t m, int16_t p, int16_t q,
                          int16_t ptype, SURFACE *surf, STACKS *ws);
/** @brief Least-squares approximation of the grid Q[0..r][0..s] by a
 *  surface of degrees p, q with (n+1) x (m+1) control points (knots of
 *  N_fitkna in each direction). Along u every v line, then along v every
 *  row of the result, is fitted with its end points kept, so the net's
 *  corners are the grid's corners and its boundary rows and columns fit
 *  the grid's boundary lines.
 *  @return 0 success, 1 failure (N_FITGSA unless raised by the solver):
 *  7 null Q or row; 3 p or q outside 1..MAXDEGREE; 14 unless 1 <= n <= r,
 *  1 <= m <= s, p < n (p = 1 when n = 1) and q < m (q = 1 when m = 1),
 *  every line of a direction degenerate, or null surf or ws; 13, 11, 9, 15
 *  as N_fitgsi. */
ORVO_API int16_t N_fitgsa(POINT *const *Q, int32_t r, int32_t s, int32_t n, int32_t m, int16_t p,
                          int16_t q, int16_t ptype, SURFACE *surf, STACKS *ws);

#ifdef __cplusplus
}
#endif

#endif /* ORVO_N_H */
