/** @file s.h
 * @brief Orvo S_ family: tracked allocation into a workspace (STACKS).
 * Sizes are highest indices; every allocator returns null on failure after
 * recording error 15 under its own name (a composite one: under the name of
 * the step that failed). */
#ifndef ORVO_S_H
#define ORVO_S_H

#include "records.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- 1-D arrays --------------------------------------------------------
 * ws: an initialised workspace (N_inurbs); a null ws is refused with error
 * 14 under the allocator's name, nothing allocated. Contents are not set.
 * n = -1 gives an empty array that is still recorded; n < -1 or a byte
 * count that overflows is refused like exhausted memory (error 15). */

/** @brief Allocates int16_t[0..n], recorded on list 0 of ws.
 *  @return the array, or null with error 15 under "S_GETF1D". */
ORVO_API int16_t *S_getf1d(int32_t n, STACKS *ws);

/** @brief Allocates int32_t[0..n], recorded on list 2 of ws.
 *  @return the array, or null with error 15 under "S_GETI1D". */
ORVO_API int32_t *S_geti1d(int32_t n, STACKS *ws);

/** @brief Allocates double[0..n], recorded on list 5 of ws.
 *  @return the array, or null with error 15 under "S_GETR1D". */
ORVO_API double *S_getr1d(int32_t n, STACKS *ws);

/** @brief Allocates POINT[0..n], recorded on list 9 of ws.
 *  @return the array, or null with error 15 under "S_GETP1D". */
ORVO_API POINT *S_getp1d(int32_t n, STACKS *ws);

/** @brief Allocates CPOINT[0..n], recorded on list 11 of ws.
 *  @return the array, or null with error 15 under "S_GETC1D". */
ORVO_API CPOINT *S_getc1d(int32_t n, STACKS *ws);

/* ---- 1-D arrays of pointers (entries not set) -------------------------- */

/** @brief Allocates an array of int16_t pointers [0..n], on list 1 of ws.
 *  @return the array, or null with error 15 under "S_GETF1P". */
ORVO_API int16_t **S_getf1p(int32_t n, STACKS *ws);

/** @brief Allocates an array of int32_t pointers [0..n], on list 3 of ws.
 *  @return the array, or null with error 15 under "S_GETI1P". */
ORVO_API int32_t **S_geti1p(int32_t n, STACKS *ws);

/** @brief Allocates an array of double pointers [0..n], on list 6 of ws.
 *  @return the array, or null with error 15 under "S_GETR1P". */
ORVO_API double **S_getr1p(int32_t n, STACKS *ws);

/** @brief Allocates an array of double** pointers [0..n], on list 7 of ws.
 *  @return the array, or null with error 15 under "S_GETR12". */
ORVO_API double ***S_getr12(int32_t n, STACKS *ws);

/** @brief Allocates an array of CURVE pointers [0..n], on list 14 of ws (the
 *  curves themselves are not made).
 *  @return the array, or null with error 15 under "S_GETCUA". */
ORVO_API CURVE **S_getcua(int32_t n, STACKS *ws);

/** @brief Allocates an array of untyped pointers [0..n], on list 15 of ws.
 *  @return the array, or null with error 15 under "S_GETCUB". */
ORVO_API void **S_getcub(int32_t n, STACKS *ws);

/** @brief Allocates an array of untyped pointers [0..n], on list 16 of ws.
 *  @return the array, or null with error 15 under "S_GETCUC". */
ORVO_API void **S_getcuc(int32_t n, STACKS *ws);

/** @brief Allocates an array of SURFACE pointers [0..n], on list 18 of ws.
 *  @return the array, or null with error 15 under "S_GETSUA". */
ORVO_API SURFACE **S_getsua(int32_t n, STACKS *ws);

/** @brief Allocates an array of KNOTVECTOR pointers [0..n], on list 23 of ws.
 *  @return the array, or null with error 15 under "S_GETKPA". */
ORVO_API KNOTVECTOR **S_getkpa(int32_t n, STACKS *ws);

/* ---- 2-D arrays (row table over one contiguous block) ------------------
 * a[0..n][0..m]: a row table of n+1 pointers, row i pointing at element
 * i(m+1) of one data block of (n+1)(m+1) elements (not set). All or
 * nothing: after a failure nothing of the call stays in ws. */

/** @brief Allocates int16_t a[0..n][0..m]: data on list 0, rows on list 1.
 *  @return the row table, or null with error 15 under "S_GETF2D". */
ORVO_API int16_t **S_getf2d(int32_t n, int32_t m, STACKS *ws);

/** @brief Allocates int32_t a[0..n][0..m]: data on list 2, rows on list 3.
 *  @return the row table, or null with error 15 under "S_GETI2D". */
ORVO_API int32_t **S_geti2d(int32_t n, int32_t m, STACKS *ws);

/** @brief Allocates double a[0..n][0..m]: data on list 5, rows on list 6.
 *  @return the row table, or null with error 15 under "S_GETR2D". */
ORVO_API double **S_getr2d(int32_t n, int32_t m, STACKS *ws);

/** @brief Allocates POINT a[0..n][0..m]: data on list 9, rows on list 10.
 *  @return the row table, or null with error 15 under "S_GETP2D". */
ORVO_API POINT **S_getp2d(int32_t n, int32_t m, STACKS *ws);

/** @brief Allocates CPOINT a[0..n][0..m]: data on list 11, rows on list 12.
 *  @return the row table, or null with error 15 under "S_GETC2D". */
ORVO_API CPOINT **S_getc2d(int32_t n, int32_t m, STACKS *ws);

/** @brief Allocates int32_t pointers a[0..n][0..m]: data on list 3, rows on
 *  list 4.
 *  @return the row table, or null with error 15 under "S_GETI2P". */
ORVO_API int32_t ***S_geti2p(int32_t n, int32_t m, STACKS *ws);

/** @brief Allocates double pointers a[0..n][0..m]: data on list 6, rows on
 *  list 7.
 *  @return the row table, or null with error 15 under "S_GETR2P". */
ORVO_API double ***S_getr2p(int32_t n, int32_t m, STACKS *ws);

/** @brief Allocates CURVE pointers a[0..n][0..m] (the curves are not made):
 *  data on list 14, rows on list 15.
 *  @return the row table, or null with error 15 under "S_GETCS3". */
ORVO_API CURVE ***S_getcs3(int32_t n, int32_t m, STACKS *ws);

/** @brief Allocates SURFACE pointers a[0..n][0..m] (the surfaces are not
 *  made): data on list 18, rows on list 19.
 *  @return the row table, or null with error 15 under "S_GETSS3". */
ORVO_API SURFACE ***S_getss3(int32_t n, int32_t m, STACKS *ws);

/* ---- 3-D and 4-D arrays (all or nothing, as the 2-D ones) -------------- */

/** @brief Allocates double a[0..n][0..m][0..l]: data on list 5, the
 *  (n+1)(m+1) inner pointers on list 6, the top table [0..n] on list 7.
 *  @return the top table, or null with error 15 under "S_GETR3D". */
ORVO_API double ***S_getr3d(int32_t n, int32_t m, int32_t l, STACKS *ws);

/** @brief Allocates double a[0..n][0..m][0..l][0..k]: data on list 5,
 *  innermost pointers on list 6, middle ones on list 7, the top table
 *  [0..n] on list 8.
 *  @return the top table, or null with error 15 under "S_GETR4D". */
ORVO_API double ****S_getr4d(int32_t n, int32_t m, int32_t l, int32_t k, STACKS *ws);

/* ---- Empty records (zero-filled: null pointers, zero sizes) ------------ */

/** @brief Allocates one zero-filled CURVE record on list 13 of ws.
 *  @return the record, or null with error 15 under "S_GETCUS". */
ORVO_API CURVE *S_getcus(STACKS *ws);

/** @brief Allocates one zero-filled SURFACE record on list 17 of ws.
 *  @return the record, or null with error 15 under "S_GETSUS". */
ORVO_API SURFACE *S_getsus(STACKS *ws);

/** @brief Allocates one zero-filled CPOLYGON record on list 20 of ws.
 *  @return the record, or null with error 15 under "S_GETPOS". */
ORVO_API CPOLYGON *S_getpos(STACKS *ws);

/** @brief Allocates one zero-filled CNET record on list 21 of ws.
 *  @return the record, or null with error 15 under "S_GETNES". */
ORVO_API CNET *S_getnes(STACKS *ws);

/** @brief Allocates one zero-filled KNOTVECTOR record on list 22 of ws.
 *  @return the record, or null with error 15 under "S_GETKNS". */
ORVO_API KNOTVECTOR *S_getkns(STACKS *ws);

/** @brief Allocates one zero-filled CVLIST record on list 24 of ws.
 *  @return the record, or null with error 15 under "S_GETCVL". */
ORVO_API CVLIST *S_getcvl(STACKS *ws);

/** @brief Allocates one zero-filled SVLIST record on list 25 of ws.
 *  @return the record, or null with error 15 under "S_GETSVL". */
ORVO_API SVLIST *S_getsvl(STACKS *ws);

/* ---- Composite allocators (completed steps stay in ws on failure) ------
 * Each step is one of the allocators above; a failure returns null with
 * the failing step's error 15 and tag, and the steps already done are not
 * undone (their blocks stay in ws until it is released). */

/** @brief Allocates a CPOLYGON (list 20) with Pw[0..n] (list 11) and n set;
 *  the points are not set.
 *  @return the record, or null with 15 under "S_GETPOS" or "S_GETC1D". */
ORVO_API CPOLYGON *S_getpol(int32_t n, STACKS *ws);

/** @brief Allocates a CNET (list 21) with Pw[0..n][0..m] (lists 11, 12) and
 *  n, m set; the points are not set.
 *  @return the record, or null with 15 under "S_GETNES" or "S_GETC2D". */
ORVO_API CNET *S_getnet(int32_t n, int32_t m, STACKS *ws);

/** @brief Allocates a KNOTVECTOR (list 22) with U[0..m] (list 5) and m set;
 *  the knots are not set.
 *  @return the record, or null with 15 under "S_GETKNS" or "S_GETR1D". */
ORVO_API KNOTVECTOR *S_getknt(int32_t m, STACKS *ws);

/** @brief Allocates a CVLIST (list 24) with values[0..n] (list 5) and n set.
 *  @return the record, or null with 15 under "S_GETCVL" or "S_GETR1D". */
ORVO_API CVLIST *S_getcvs(int32_t n, STACKS *ws);

/** @brief Allocates an SVLIST (list 25) with values[0..n][0..m] (lists 5, 6)
 *  and n, m set.
 *  @return the record, or null with 15 under "S_GETSVL" or "S_GETR2D". */
ORVO_API SVLIST *S_getsvs(int32_t n, int32_t m, STACKS *ws);

/** @brief Allocates a CURVE (list 13) of degree p with a polygon Pw[0..n]
 *  (S_getpol) and knots U[0..m] (S_getknt); values not set, p not checked.
 *  @return the curve, or null with 15 under the failing step's tag
 *  ("S_GETPOS", "S_GETC1D", "S_GETKNS", "S_GETR1D", "S_GETCUS"). */
ORVO_API CURVE *S_getcur(int32_t n, int16_t p, int32_t m, STACKS *ws);

/** @brief Allocates a SURFACE (list 17) of degrees p, q with a net
 *  Pw[0..n][0..m] (S_getnet) and knots U[0..r], V[0..s] (S_getknt).
 *  @return the surface, or null with 15 under the failing step's tag
 *  ("S_GETNES", "S_GETC2D", "S_GETKNS", "S_GETR1D", "S_GETSUS"). */
ORVO_API SURFACE *S_getsur(int32_t n, int32_t m, int16_t p, int16_t q, int32_t r, int32_t s,
                           STACKS *ws);

/** @brief Allocates CPOINT[0..n] (list 11) filled with (x[i], y[i], z[i],
 *  w[i]) as given (no weighting; markers kept).
 *  @param x,y,z,w (in, not null) arrays [0..n].
 *  @param n (in) highest index of the arrays and of the result (>= -1).
 *  @param ws (in/out) the workspace that owns the result.
 *  @return the array, or null with error 15 under "S_GETC1D". */
ORVO_API CPOINT *S_getcpa(const double *x, const double *y, const double *z, const double *w,
                          int32_t n, STACKS *ws);

/** @brief Allocates CPOINT[0..n][0..m] (lists 11, 12) filled with
 *  (x[i][j], y[i][j], z[i][j], w[i][j]) as given.
 *  @param x,y,z,w (in, not null) tables [0..n][0..m].
 *  @param n,m (in) highest row and column indices of the tables and of the
 *  result (>= -1).
 *  @param ws (in/out) the workspace that owns the result.
 *  @return the row table, or null with error 15 under "S_GETC2D". */
ORVO_API CPOINT **S_getcpm(double *const *x, double *const *y, double *const *z, double *const *w,
                           int32_t n, int32_t m, STACKS *ws);

/** @brief Allocates POINT[0..n] (list 9) filled with (x[i], y[i], z[i]).
 *  @param x,y,z (in, not null) arrays [0..n].
 *  @param n (in) highest index of the arrays and of the result (>= -1).
 *  @param ws (in/out) the workspace that owns the result.
 *  @return the array, or null with error 15 under "S_GETP1D". */
ORVO_API POINT *S_getpoa(const double *x, const double *y, const double *z, int32_t n, STACKS *ws);

/** @brief Allocates POINT[0..n][0..m] (lists 9, 10) filled with (x[i][j],
 *  y[i][j], z[i][j]).
 *  @param x,y,z (in, not null) tables [0..n][0..m].
 *  @param n,m (in) highest row and column indices of the tables and of the
 *  result (>= -1).
 *  @param ws (in/out) the workspace that owns the result.
 *  @return the row table, or null with error 15 under "S_GETP2D". */
ORVO_API POINT **S_getpom(double *const *x, double *const *y, double *const *z, int32_t n,
                          int32_t m, STACKS *ws);

/** @brief Allocates curves[0..k], each a fresh S_getcur(n, p, m); the
 *  pointer array goes on list 14 once every curve exists.
 *  @return the array, or null with 15 under "S_GETCU2" (k < -1, the array
 *  or its node) or the error of S_getcur; curves already made stay in ws,
 *  the array does not. */
ORVO_API CURVE **S_getcu2(int32_t n, int16_t p, int32_t m, int32_t k, STACKS *ws);

/** @brief Allocates knot vectors [0..k], each a fresh S_getknt(m); the
 *  pointer array goes on list 23 once every knot vector exists.
 *  @return the array, or null with 15 under "S_GETKN2" (k < -1, the array
 *  or its node) or the error of S_getknt; knot vectors already made stay
 *  in ws, the array does not. */
ORVO_API KNOTVECTOR **S_getkn2(int32_t m, int32_t k, STACKS *ws);

/** @brief Allocates a table of surfaces [0..k][0..l], each a fresh
 *  S_getsur(n, m, p, q, r, s); its data block goes on list 18 and its row
 *  table on list 19 once every surface exists.
 *  @return the row table, or null with 15 under "S_GETSU3" (k or l < -1,
 *  the table or a node) or the error of S_getsur; surfaces already made
 *  stay in ws. */
ORVO_API SURFACE ***S_getsu3(int32_t n, int32_t m, int16_t p, int16_t q, int32_t r, int32_t s,
                             int32_t k, int32_t l, STACKS *ws);

/** @brief Allocates an RMATRIX record (list 27) with highest indices n, m,
 *  storage type and band width bw as given (not checked), over an element
 *  table of n+1 rows (S_getr2d) of m+1 columns, or bw for type 3 (banded).
 *  @return the record, or null with 15 under "S_GETR2D" or "S_GETRMA" (the
 *  table then stays in ws). */
ORVO_API RMATRIX *S_getrma(int32_t n, int32_t m, int32_t type, int32_t bw, STACKS *ws);

/** @brief Allocates an IMATRIX record (list 26) as S_getrma, the int32_t
 *  element table by S_geti2d.
 *  @return the record, or null with 15 under "S_GETI2D" or "S_GETIMA". */
ORVO_API IMATRIX *S_getima(int32_t n, int32_t m, int32_t type, int32_t bw, STACKS *ws);

/** @brief Allocates a PMATRIX record (list 28) as S_getrma, the POINT
 *  element table by S_getp2d.
 *  @return the record, or null with 15 under "S_GETP2D" or "S_GETPMA". */
ORVO_API PMATRIX *S_getpma(int32_t n, int32_t m, int32_t type, int32_t bw, STACKS *ws);

/** @brief Allocates a CMATRIX record (list 29) as S_getrma, the CPOINT
 *  element table by S_getc2d.
 *  @return the record, or null with 15 under "S_GETC2D" or "S_GETCMA". */
ORVO_API CMATRIX *S_getcma(int32_t n, int32_t m, int32_t type, int32_t bw, STACKS *ws);

#ifdef __cplusplus
}
#endif

#endif /* ORVO_S_H */
