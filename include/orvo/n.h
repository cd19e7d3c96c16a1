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
ORVO_API int16_t N_kntfsp(const KNOTVECTOR *knt, int16_t p, double u, int16_t side, int32_t *span);
ORVO_API int16_t N_kntfsm(const KNOTVECTOR *knt, int16_t p, double u, int16_t side, int32_t *span,
                          int32_t *mult);
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
ORVO_API int16_t N_sfnevn(const SFUNCTION *sfn, double u, double v, int16_t side_u, int16_t side_v,
                          double *f);
ORVO_API int16_t N_sfnder(const SFUNCTION *sfn, double u, double v, int16_t side_u, int16_t side_v,
                          int16_t k, int16_t l, double **F);
ORVO_API int16_t N_kntrsb(const SURFACE *sur, int32_t i, int32_t j, double u, double v,
                          int16_t side_u, int16_t side_v, double *R);
ORVO_API int16_t N_kntrsd(const SURFACE *sur, int32_t i, int32_t j, double u, double v,
                          int16_t side_u, int16_t side_v, int16_t k, int16_t l, double **D);
ORVO_API int16_t N_splevn(const SURFACE *sur, double u, double v, POINT *P);

/* ---- Transformations of whole curves and surfaces ----------------------
 * Every control point is transformed in place; weights are kept. A curve
 * becomes 3-D first (z = 0 on 2-D points). A matrix that cannot be applied
 * leaves the record unchanged and records the error of A_tracpt. Angles in
 * degrees. */
ORVO_API void N_curtra(CURVE *cur, const RMATRIX *T);
ORVO_API int16_t N_currot(CURVE *cur, POINT P, VECTOR D, double angle);
ORVO_API void N_cursca(CURVE *cur, POINT C, VECTOR S);
ORVO_API void N_curtrl(CURVE *cur, VECTOR T);
ORVO_API void N_surtra(SURFACE *sur, const RMATRIX *T);
ORVO_API int16_t N_surrot(SURFACE *sur, POINT P, VECTOR D, double angle);
ORVO_API void N_sursca(SURFACE *sur, POINT C, VECTOR S);
ORVO_API void N_surtrl(SURFACE *sur, VECTOR T);

/* ---- Reversal and unclamping --------------------------------------------
 * Reversal writes into out (in place when out is the input record); dir 1
 * reverses u, 2 reverses v. Unclamping works in place on clamped ends; the
 * surface forms take dir 1 (u), 2 (v) or 3 (both), other values do
 * nothing. The ...unu/...uuv forms take the unclamped knot values from the
 * given knot vectors and leave the record's own knots as they are. */
ORVO_API int16_t N_currev(CURVE *cur, CURVE *out, STACKS *ws);
ORVO_API int16_t N_surrev(SURFACE *sur, int16_t dir, SURFACE *out, STACKS *ws);
ORVO_API int16_t N_curunc(CURVE *cur);
ORVO_API int16_t N_curunu(CURVE *cur, const KNOTVECTOR *knt);
ORVO_API int16_t N_surunc(SURFACE *sur, int16_t dir);
ORVO_API int16_t N_suruuv(SURFACE *sur, const KNOTVECTOR *knu, const KNOTVECTOR *knv, int16_t dir);

/* ---- Boxes and extreme control points -----------------------------------
 * Over the Euclidean control points. */
ORVO_API int16_t N_curbox(const CURVE *cur, BOX *box);
ORVO_API int16_t N_surbox(const SURFACE *sur, BOX *box);
ORVO_API int16_t N_curext(const CURVE *cur, double *d);
ORVO_API void N_curmpv(const CURVE *cur, POINT *P, double *d);
ORVO_API void N_surmpv(const SURFACE *sur, POINT *P, double *d);
ORVO_API void N_curmwp(const CURVE *cur, double *wmin, double *wmax, double *dmin, double *dmax);
ORVO_API void N_surmwp(const SURFACE *sur, double *wmin, double *wmax, double *dmin, double *dmax);

/* ---- Lines, curves through control points, frames ---------------------- */
ORVO_API int16_t N_curlin(POINT P, VECTOR D, CURVE *cur, STACKS *ws);
ORVO_API int16_t N_curpoi(const POINT *points, int32_t n, int16_t p, CURVE *cur, STACKS *ws);
ORVO_API int16_t N_curfre(const CURVE *cur, double u, int16_t side, POINT *P, VECTOR *T, VECTOR *N,
                          VECTOR *B);
ORVO_API int16_t N_suresc(const SURFACE *sur, const CURVE *uvcur, double t, POINT *P);

/* ---- Knot vector operations -------------------------------------------- */
/* N_kntmer: for each of the n+1 vectors, the knots it lacks against the
 * merged vector (every distinct value with its largest multiplicity); the
 * n+1 result vectors are allocated in ws (highest index -1: nothing to
 * insert). N_kntnsp counts the spans of non-zero length of the domain.
 * N_kntsca maps a vector onto an interval in place (a vector whose first
 * and last knots coincide is left unchanged). N_kntmax finds the greatest
 * value of N[i] of degree p and where it is taken; N_kntmma its least and
 * greatest value on each span j = 0..p of its support. */
ORVO_API int16_t N_kntmer(KNOTVECTOR **vectors, int32_t n, KNOTVECTOR ***result, STACKS *ws);
ORVO_API void N_kntnsp(const KNOTVECTOR *knt, int16_t p, int32_t *count);
ORVO_API void N_kntsca(KNOTVECTOR *knt, int16_t p, INTERVAL range);
ORVO_API int16_t N_kntmax(const KNOTVECTOR *knt, int32_t i, int16_t p, double tol, double *nmax,
                          double *umax);
ORVO_API int16_t N_kntmma(const KNOTVECTOR *knt, int32_t i, int16_t p, double tol, double *mins,
                          double *maxs, double *umax);

/* ---- Refinement tools: knot insertion ---------------------------------- */
/* Each takes the input record, its parameters, the output record and two
 * workspaces: ws_in owns the input's arrays, ws_out receives a separate
 * output's arrays (check-or-allocate). When out is the input record the
 * result replaces its arrays (fresh ones from ws_in; the old ones are
 * released from ws_in). N_toocki/N_tooski insert u (t) r times (dir 1: into
 * U, 2: into V); N_toocik/N_toosik insert one knot where the control
 * polygon (net) passes nearest to pick. */
ORVO_API int16_t N_toocki(CURVE *c, double u, int32_t r, CURVE *out, STACKS *ws_in, STACKS *ws_out);
ORVO_API int16_t N_tooski(SURFACE *s, double t, int32_t r, int16_t dir, SURFACE *out, STACKS *ws_in,
                          STACKS *ws_out);
ORVO_API int16_t N_toocik(CURVE *c, POINT pick, CURVE *out, STACKS *ws_in, STACKS *ws_out);
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

/* ---- Refinement tools: decomposition, splitting and segments ----------- */
/* N_toocdc/N_toosdc: all Bezier segments (patches) as fresh records in ws,
 * *last = their number - 1 (patches[iu][iv], rows by the u span).
 * N_toocsp/N_toossp: the two halves at u (t, dir 1 across U, 2 across V).
 * N_toocsg/N_toossg: the piece over [u_lo, u_hi] (x [v_lo, v_hi]).
 * N_tooccp: the components between the joints where the curve is only
 * positionally continuous (knots of multiplicity p or more). */
ORVO_API int16_t N_toocdc(CURVE *c, CURVE ***pieces, int32_t *last, STACKS *ws);
ORVO_API int16_t N_toosdc(SURFACE *s, SURFACE ****patches, int32_t *last_u, int32_t *last_v,
                          STACKS *ws);
ORVO_API int16_t N_toocsp(CURVE *c, double u, CURVE *left, CURVE *right, STACKS *ws);
ORVO_API int16_t N_toossp(SURFACE *s, double t, int16_t dir, SURFACE *first, SURFACE *second,
                          STACKS *ws);
ORVO_API int16_t N_toocsg(CURVE *c, double u_lo, double u_hi, CURVE *out, STACKS *ws_in,
                          STACKS *ws_out);
ORVO_API int16_t N_toossg(SURFACE *s, double u_lo, double u_hi, double v_lo, double v_hi,
                          SURFACE *out, STACKS *ws_in, STACKS *ws_out);
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
 *  @param mode 1 parallel projection along the direction V, 2 central
 *  projection from the eye point V.
 *  @param out result (out): cur itself (changed in place) or another record
 *  (check-or-allocate in ws); same degree and knots. On failure cur and out
 *  are unchanged.
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
 *  @param ctol chord tolerance (model space, >= POINT_TOLERANCE).
 *  @param ftol flatness tolerance (model space, >= POINT_TOLERANCE).
 *  @param trel trimming tolerance relative to the surface's size.
 *  @param u, v (out) point coordinates, highest index *np, allocated in ws.
 *  @param nb, c (out) neighbour lists and their highest indices, in ws.
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
 *  @param A (out) largest u-direction polygon length times largest
 *  v-direction length.
 *  @param Lu, Lv (out) mean control-polygon lengths along u (columns) and
 *  v (rows).
 *  @return 0, or 1 with error 2 "N_TESESA" for a surface without net. */
ORVO_API int16_t N_tesesa(const SURFACE *sur, double *A, double *Lu, double *Lv);

/** @brief Chord test of the piece [t0, t1] of a trimming curve.
 *  @param sur surface; cur 2-D curve in its parameter plane (in).
 *  @param dev (out) largest distance of the control points of the cubic
 *  through the surface points at t0, (2t0+t1)/3, (t0+2t1)/3, t1 from the
 *  chord of the first and last.
 *  @return 0, or 1 with the evaluation's or solver's error under
 *  "N_TESPAE". */
ORVO_API int16_t N_tespae(const SURFACE *sur, const CURVE *cur, double t0, double t1,
                          double *dev);

/** @brief Polyline of one trimming curve within a model-space chord
 *  tolerance.
 *  @param sur surface; cur 2-D curve in its parameter plane (in).
 *  @param tol chord tolerance (>= POINT_TOLERANCE, else error 19).
 *  @param u, v (out) the polyline's parameter-plane points, highest index
 *  *n, allocated in ws; in order of increasing curve parameter.
 *  @return 0, or 1 with error 19, 11 or the evaluation's error under
 *  "N_TESPTC". */
ORVO_API int16_t N_tesptc(const SURFACE *sur, CURVE *cur, double tol, double **u, double **v,
                          int32_t *n, STACKS *ws);

/** @brief Adaptive subdivision of the metric parameter rectangle into flat
 *  cells, cells outside the trimmed regions dropped.
 *  @param ftol flatness tolerance (>= POINT_TOLERANCE, else error 19).
 *  @param reg, nr trimming polygons (metric plane) and highest region index;
 *  each loop closed (first point repeated last), in either orientation.
 *  @param d absolute trimming tolerance.
 *  @param g (out) points, edge flags and grid, allocated in ws.
 *  @return 0, or 1 with error 19, 6 (a cell narrower than 1e-12), 15,
 *  under "N_TESSUB". */
ORVO_API int16_t N_tessub(const SURFACE *sur, double ftol, const TRIMREGION *reg, int32_t nr,
                          double d, TESSGRID *g, STACKS *ws);

/** @brief Meshes the leaf cells of a subdivision, clipped by the trimming
 *  polygons.
 *  @param g subdivision from N_tessub (in/out: points are appended; its
 *  arrays must belong to ws).
 *  @param reg, nr trimming polygons and highest region index.
 *  @param d absolute trimming tolerance; Lu, Lv the metric domain.
 *  @param nb, c (out) neighbour lists of points 0..g->np, in ws.
 *  @return 0, or 1 with error 17 (a cell that cannot be meshed), 15, 11,
 *  under "N_TESDEL". */
ORVO_API int16_t N_tesdel(TESSGRID *g, const TRIMREGION *reg, int32_t nr, double d, double Lu,
                          double Lv, int32_t ***nb, int32_t **c, STACKS *ws);

/** @brief The polygons of one leaf cell clipped by a region's loops.
 *  @param g subdivision (in/out: new points appended; arrays in ws).
 *  @param i, j grid indices of the cell's lower-left corner.
 *  @param region the region's trimming polygons; d, Lu, Lv are accepted for
 *  the stage's interface: the clipping decides exactly and needs neither.
 *  @param idx, start (out) polygon k is idx[start[k] .. start[k+1]-1],
 *  k = 0..*npoly (start has *npoly+2 entries), each with the area to mesh
 *  on its left; *npoly = -1 when the cell holds nothing to mesh.
 *  @return 0, or 1 with error 17 (no cell at (i, j), a polygon of fewer
 *  than three points, an unmatched intersection), 15, under "N_TESPOL". */
ORVO_API int16_t N_tespol(TESSGRID *g, int32_t i, int32_t j, const TRIMREGION *region, double d,
                          double Lu, double Lv, int32_t **idx, int32_t **start, int32_t *npoly,
                          STACKS *ws);

/** @brief Intersection of one side of a cell with a segment AB.
 *  @param side 1 lower (v = ymin), 2 right (u = xmax), 3 upper (v = ymax),
 *  4 left (u = xmin); the sides run counter-clockwise.
 *  @param pos (out) position of the crossing along the side, 0..1 in its
 *  counter-clockwise direction; xu, xv the point; found 1 or 0.
 *  @return 0, or 1 with error 13 "N_TESLPI" for another side code. */
ORVO_API int16_t N_teslpi(RECTANGLE cell, int16_t side, double au, double av, double bu,
                          double bv, double d, double *pos, double *xu, double *xv,
                          int16_t *found);

/** @brief Intersection of the segments AB and CD with tolerance d.
 *  @param s, t (out) crossing parameters on AB and CD; xu, xv the midpoint
 *  of the two crossing points; found 1, or 0 for parallel or distant
 *  segments (a refused division also gives 0).
 *  @return 0. */
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
 *  @param pts (out) their indices, 0..*last. */
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
ORVO_API int16_t N_tesbpl(int32_t *const *nb, const int32_t *c, int32_t N, int32_t i,
                          int32_t **e0, int32_t **e1, int32_t *last, STACKS *ws);
/** @brief The triangles at point i: (i, nb[i][k], nb[i][k+1]),
 *  k = 0..c[i]-1 (*last = c[i] - 1). */
ORVO_API int16_t N_tesbpt(int32_t *const *nb, const int32_t *c, int32_t N, int32_t i,
                          int32_t **t0, int32_t **t1, int32_t **t2, int32_t *last, STACKS *ws);
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
 *  @param bound (out) the bound.
 *  @return 0, or 1: 1/4/14 invalid curve, 7 r and s not such a run,
 *  11 a ratio overflows or the bound is not finite, 14 null bound
 *  ("N_TOOCRB"). */
ORVO_API int16_t N_toocrb(CURVE *c, int32_t r, int32_t s, double *bound);
/** @brief Surface twin of N_toocrb over the lines first_line..last_line
 *  (columns for dir 1, rows for dir 2).
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
 *  @param p degree 1..MAXDEGREE.
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
 *  @param out result (out, check-or-allocate in ws by N_toosra).
 *  @return 0, or 1 with error 3 (a degree 0 or above MAXDEGREE), 14 (null
 *  or malformed pieces, spans that disagree or do not follow on, mixed
 *  kinds, null out or ws) under "N_GPRSPN"; errors of N_toosra
 *  ("N_TOOSRA") and 15 from the allocator pass through. */
ORVO_API int16_t N_gprspn(SURFACE *const *const *pieces, int32_t last_u, int32_t last_v,
                          SURFACE *out, STACKS *ws);

#ifdef __cplusplus
}
#endif

#endif /* ORVO_N_H */
