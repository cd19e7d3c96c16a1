/* Orvo U_ family: making, breaking apart, checking, copying, releasing,
 * reading, writing and printing records. */
#ifndef ORVO_U_H
#define ORVO_U_H

#include "records.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Make records around caller arrays --------------------------------- */
ORVO_API void U_makknt(KNOTVECTOR *knt, double *U, int32_t m);
ORVO_API void U_makpl1(CPOLYGON *pol, CPOINT *Pw, int32_t n);
ORVO_API int16_t U_makpl2(CPOLYGON *pol, const double *x, const double *y, const double *z,
                          const double *w, int32_t n, STACKS *ws);
ORVO_API void U_maknt1(CNET *net, CPOINT **Pw, int32_t n, int32_t m);
ORVO_API int16_t U_maknt2(CNET *net, double *const *x, double *const *y, double *const *z,
                          double *const *w, int32_t n, int32_t m, STACKS *ws);
ORVO_API void U_makcvl(CVLIST *cvl, double *values, int32_t n);
ORVO_API void U_maksvl(SVLIST *svl, double **values, int32_t n, int32_t m);
ORVO_API void U_makcu1(CURVE *cur, CPOLYGON *pol, int16_t p, KNOTVECTOR *knt);
ORVO_API int16_t U_makcu2(CURVE *cur, CPOINT *Pw, int32_t n, int16_t p, double *U, int32_t m,
                          STACKS *ws);
ORVO_API int16_t U_makcu3(CURVE *cur, const double *x, const double *y, const double *z,
                          const double *w, int32_t n, int16_t p, double *U, int32_t m, STACKS *ws);
ORVO_API void U_makcf1(CFUNCTION *cfn, CVLIST *cvl, int16_t p, KNOTVECTOR *knt);
ORVO_API int16_t U_makcf2(CFUNCTION *cfn, double *values, int32_t n, int16_t p, double *U,
                          int32_t m, STACKS *ws);
ORVO_API void U_maksu1(SURFACE *sur, CNET *net, int16_t p, int16_t q, KNOTVECTOR *knu,
                       KNOTVECTOR *knv);
ORVO_API int16_t U_maksu2(SURFACE *sur, CPOINT **Pw, int32_t n, int32_t m, int16_t p, int16_t q,
                          double *U, double *V, int32_t r, int32_t s, STACKS *ws);
ORVO_API int16_t U_maksu3(SURFACE *sur, double *const *x, double *const *y, double *const *z,
                          double *const *w, int32_t n, int32_t m, int16_t p, int16_t q, double *U,
                          double *V, int32_t r, int32_t s, STACKS *ws);
ORVO_API void U_maksf1(SFUNCTION *sfn, SVLIST *svl, int16_t p, int16_t q, KNOTVECTOR *knu,
                       KNOTVECTOR *knv);
ORVO_API int16_t U_maksf2(SFUNCTION *sfn, double **values, int32_t n, int32_t m, int16_t p,
                          int16_t q, double *U, double *V, int32_t r, int32_t s, STACKS *ws);
ORVO_API int16_t U_makcpl(CURVE *cur, CPOINT *Pw, int32_t n, double a, double b, STACKS *ws);
ORVO_API int16_t U_makspl(SURFACE *sur, CPOINT **Pw, int32_t n, int32_t m, double a, double b,
                          double c, double d, STACKS *ws);
ORVO_API void U_makcco(CURVE **curves, int32_t n);
ORVO_API void U_maksco(SURFACE **surfaces, int32_t n);

/* ---- Define sizes ------------------------------------------------------ */
ORVO_API void U_defknt(KNOTVECTOR *knt, int32_t m);
ORVO_API void U_defcur(CURVE *cur, int32_t n, int16_t p, int32_t m);
ORVO_API void U_defsur(SURFACE *sur, int32_t n, int32_t m, int16_t p, int16_t q, int32_t r,
                       int32_t s);
ORVO_API void U_defcfn(CFUNCTION *cfn, int32_t n, int16_t p, int32_t m);
ORVO_API void U_defsfn(SFUNCTION *sfn, int32_t n, int32_t m, int16_t p, int16_t q, int32_t r,
                       int32_t s);

/* ---- Make empty, test for empty ---------------------------------------- */
ORVO_API void U_inicur(CURVE *cur);
ORVO_API void U_inicfn(CFUNCTION *cfn);
ORVO_API void U_inisur(SURFACE *sur);
ORVO_API void U_inisfn(SFUNCTION *sfn);
ORVO_API int16_t U_iscurn(const CURVE *cur);
ORVO_API int16_t U_iscfnn(const CFUNCTION *cfn);
ORVO_API int16_t U_issurn(const SURFACE *sur);
ORVO_API int16_t U_issfnn(const SFUNCTION *sfn);

/* ---- Break apart and query --------------------------------------------- */
ORVO_API void U_kntbre(const KNOTVECTOR *knt, int32_t *m, double **U);
ORVO_API void U_polbre(const CPOLYGON *pol, int32_t *n, CPOINT **Pw);
ORVO_API void U_netbre(const CNET *net, int32_t *n, int32_t *m, CPOINT ***Pw);
ORVO_API void U_curbre(const CURVE *cur, int32_t *n, CPOINT **Pw, int16_t *p, int32_t *m,
                       double **U);
ORVO_API void U_surbre(const SURFACE *sur, int32_t *n, int32_t *m, CPOINT ***Pw, int16_t *p,
                       int16_t *q, int32_t *r, int32_t *s, double **U, double **V);
ORVO_API void U_cfnbre(const CFUNCTION *cfn, int32_t *n, double **values, int16_t *p, int32_t *m,
                       double **U);
ORVO_API void U_sfnbre(const SFUNCTION *sfn, int32_t *n, int32_t *m, double ***values, int16_t *p,
                       int16_t *q, int32_t *r, int32_t *s, double **U, double **V);
ORVO_API void U_curind(const CURVE *cur, int32_t *n, int32_t *m);
ORVO_API void U_cfnind(const CFUNCTION *cfn, int32_t *n, int32_t *m);
ORVO_API void U_surind(const SURFACE *sur, int32_t *n, int32_t *m, int32_t *r, int32_t *s);
ORVO_API void U_sfnind(const SFUNCTION *sfn, int32_t *n, int32_t *m, int32_t *r, int32_t *s);
ORVO_API void U_curdeg(const CURVE *cur, int16_t *p);
ORVO_API void U_cfndeg(const CFUNCTION *cfn, int16_t *p);
ORVO_API void U_surdeg(const SURFACE *sur, int16_t *p, int16_t *q);
ORVO_API void U_sfndeg(const SFUNCTION *sfn, int16_t *p, int16_t *q);
ORVO_API void U_curknp(const CURVE *cur, KNOTVECTOR **knt);
ORVO_API void U_cfnknp(const CFUNCTION *cfn, KNOTVECTOR **knt);
ORVO_API void U_surknp(const SURFACE *sur, KNOTVECTOR **knu, KNOTVECTOR **knv);
ORVO_API void U_sfnknp(const SFUNCTION *sfn, KNOTVECTOR **knu, KNOTVECTOR **knv);
ORVO_API void U_curpol(const CURVE *cur, int32_t *n, CPOINT **Pw);
ORVO_API void U_surnet(const SURFACE *sur, int32_t *n, int32_t *m, CPOINT ***Pw);
ORVO_API void U_cfncvl(const CFUNCTION *cfn, int32_t *n, double **values);
ORVO_API void U_sfnsvl(const SFUNCTION *sfn, int32_t *n, int32_t *m, double ***values);
ORVO_API void U_curknt(const CURVE *cur, int32_t *m, double **U);
ORVO_API void U_surknt(const SURFACE *sur, int32_t *r, int32_t *s, double **U, double **V);
ORVO_API void U_curpku(const CURVE *cur, CPOINT **Pw, KNOTVECTOR **knt, double **U);
ORVO_API void U_surpku(const SURFACE *sur, CPOINT ***Pw, KNOTVECTOR **knu, KNOTVECTOR **knv,
                       double **U, double **V);
ORVO_API void U_cfnfku(const CFUNCTION *cfn, double **values, KNOTVECTOR **knt, double **U);
ORVO_API void U_curpwu(const CURVE *cur, CPOINT **Pw, double **U);
ORVO_API void U_cfnfuu(const CFUNCTION *cfn, double **values, double **U);
ORVO_API void U_surpwu(const SURFACE *sur, CPOINT ***Pw, double **U, double **V);
ORVO_API void U_sfnfuv(const SFUNCTION *sfn, double ***values, double **U, double **V);
ORVO_API void U_curppk(const CURVE *cur, CPOLYGON **pol, int16_t *p, KNOTVECTOR **knt);
ORVO_API void U_cfncpk(const CFUNCTION *cfn, CVLIST **cvl, int16_t *p, KNOTVECTOR **knt);
ORVO_API void U_surnpk(const SURFACE *sur, CNET **net, int16_t *p, int16_t *q, KNOTVECTOR **knu,
                       KNOTVECTOR **knv);
ORVO_API void U_sfnspk(const SFUNCTION *sfn, SVLIST **svl, int16_t *p, int16_t *q, KNOTVECTOR **knu,
                       KNOTVECTOR **knv);
ORVO_API void U_curpar(const CURVE *cur, double *u0, double *um);
ORVO_API void U_surpar(const SURFACE *sur, double *u0, double *ur, double *v0, double *vs);

/* ---- Replace array pointers -------------------------------------------- */
ORVO_API void U_curspu(CURVE *cur, CPOINT *Pw, double *U);
ORVO_API void U_surspu(SURFACE *sur, CPOINT **Pw, double *U, double *V);
ORVO_API void U_cfnsfu(CFUNCTION *cfn, double *values, double *U);
ORVO_API void U_sfnsfu(SFUNCTION *sfn, double **values, double *U, double *V);

/* ---- Kind tests and conversions ---------------------------------------- */
ORVO_API int16_t U_iscur3(const CURVE *cur);
ORVO_API int16_t U_iscurr(const CURVE *cur);
ORVO_API int16_t U_issurr(const SURFACE *sur);
ORVO_API void U_cur2t3(CURVE *cur);
ORVO_API void U_cur3t2(CURVE *cur);
ORVO_API void U_curnrr(CURVE *cur);
ORVO_API void U_surnrr(SURFACE *sur);
ORVO_API void U_currnr(CURVE *cur);
ORVO_API void U_surrnr(SURFACE *sur);
ORVO_API void U_curpcl(const CURVE *cur, double *u);
ORVO_API void U_surpcl(const SURFACE *sur, double *u, double *v);

/* ---- Early release of single blocks ------------------------------------ */
ORVO_API void U_kilf1d(int16_t *block, STACKS *ws);
ORVO_API void U_kili1d(int32_t *block, STACKS *ws);
ORVO_API void U_kili1p(int32_t **block, STACKS *ws);
ORVO_API void U_kilr1d(double *block, STACKS *ws);
ORVO_API void U_kilp1d(POINT *block, STACKS *ws);
ORVO_API void U_kilc1d(CPOINT *block, STACKS *ws);
ORVO_API void U_kilf2d(int16_t **rows, STACKS *ws);
ORVO_API void U_kili2d(int32_t **rows, STACKS *ws);
ORVO_API void U_kili2p(int32_t ***rows, STACKS *ws);
ORVO_API void U_kilr2d(double **rows, STACKS *ws);
ORVO_API void U_kilp2d(POINT **rows, STACKS *ws);
ORVO_API void U_kilc2d(CPOINT **rows, STACKS *ws);
ORVO_API void U_kilpol(CPOLYGON *pol, STACKS *ws);
ORVO_API void U_kilnet(CNET *net, STACKS *ws);
ORVO_API void U_kilknt(KNOTVECTOR *knt, STACKS *ws);
ORVO_API void U_kilcvl(CVLIST *cvl, STACKS *ws);
ORVO_API void U_kilsvl(SVLIST *svl, STACKS *ws);
ORVO_API void U_kilcur(CURVE *cur, STACKS *ws);
ORVO_API void U_kilsur(SURFACE *sur, STACKS *ws);
ORVO_API void U_kilcfn(CFUNCTION *cfn, STACKS *ws);
ORVO_API void U_kilsfn(SFUNCTION *sfn, STACKS *ws);

/* ---- Reallocation by copying ------------------------------------------- */
ORVO_API int16_t U_ralf1d(int16_t **array, int32_t oldn, int32_t newn, STACKS *ws);
ORVO_API int16_t U_rali1d(int32_t **array, int32_t oldn, int32_t newn, STACKS *ws);
ORVO_API int16_t U_rali1p(int32_t ***array, int32_t oldn, int32_t newn, STACKS *ws);
ORVO_API int16_t U_ralr1d(double **array, int32_t oldn, int32_t newn, STACKS *ws);
ORVO_API int16_t U_ralp1d(POINT **array, int32_t oldn, int32_t newn, STACKS *ws);
ORVO_API int16_t U_ralc1d(CPOINT **array, int32_t oldn, int32_t newn, STACKS *ws);
ORVO_API int16_t U_ralf2d(int16_t ***array, int32_t oldn, int32_t oldm, int32_t newn, int32_t newm,
                          STACKS *ws);
ORVO_API int16_t U_rali2d(int32_t ***array, int32_t oldn, int32_t oldm, int32_t newn, int32_t newm,
                          STACKS *ws);
ORVO_API int16_t U_rali2p(int32_t ****array, int32_t oldn, int32_t oldm, int32_t newn, int32_t newm,
                          STACKS *ws);
ORVO_API int16_t U_ralr2d(double ***array, int32_t oldn, int32_t oldm, int32_t newn, int32_t newm,
                          STACKS *ws);
ORVO_API int16_t U_ralp2d(POINT ***array, int32_t oldn, int32_t oldm, int32_t newn, int32_t newm,
                          STACKS *ws);
ORVO_API int16_t U_ralc2d(CPOINT ***array, int32_t oldn, int32_t oldm, int32_t newn, int32_t newm,
                          STACKS *ws);

/* ---- Output records: check or allocate --------------------------------- */
ORVO_API int16_t U_curchk(CURVE *cur, int32_t n, int16_t p, int32_t m, const char *tag, STACKS *ws);
ORVO_API int16_t U_cfnchk(CFUNCTION *cfn, int32_t n, int16_t p, int32_t m, const char *tag,
                          STACKS *ws);
ORVO_API int16_t U_surchk(SURFACE *sur, int32_t n, int32_t m, int16_t p, int16_t q, int32_t r,
                          int32_t s, const char *tag, STACKS *ws);
ORVO_API int16_t U_sfnchk(SFUNCTION *sfn, int32_t n, int32_t m, int16_t p, int16_t q, int32_t r,
                          int32_t s, const char *tag, STACKS *ws);
ORVO_API int16_t U_getcur(CURVE *cur, int32_t n, int16_t p, int32_t m, STACKS *ws);
ORVO_API int16_t U_getcfn(CFUNCTION *cfn, int32_t n, int16_t p, int32_t m, STACKS *ws);
ORVO_API int16_t U_getsur(SURFACE *sur, int32_t n, int32_t m, int16_t p, int16_t q, int32_t r,
                          int32_t s, STACKS *ws);
ORVO_API int16_t U_getsfn(SFUNCTION *sfn, int32_t n, int32_t m, int16_t p, int16_t q, int32_t r,
                          int32_t s, STACKS *ws);

/* ---- Copy, compact, split and join ------------------------------------- */
ORVO_API int16_t U_curcop(const CURVE *src, CURVE *dst, STACKS *ws);
ORVO_API int16_t U_surcop(const SURFACE *src, SURFACE *dst, STACKS *ws);
ORVO_API int16_t U_cfncop(const CFUNCTION *src, CFUNCTION *dst, STACKS *ws);
ORVO_API int16_t U_sfncop(const SFUNCTION *src, SFUNCTION *dst, STACKS *ws);
ORVO_API int16_t U_curcmp(CURVE *cur, STACKS *ws);
ORVO_API int16_t U_surcmp(SURFACE *sur, STACKS *ws);
ORVO_API int16_t U_cfncmp(CFUNCTION *cfn, STACKS *ws);
ORVO_API int16_t U_sfncmp(SFUNCTION *sfn, STACKS *ws);
ORVO_API int16_t U_curnad(const CURVE *cur, CURVE *outcur, CFUNCTION *outfn, STACKS *ws);
ORVO_API int16_t U_surnad(const SURFACE *sur, SURFACE *outsur, SFUNCTION *outsfn, STACKS *ws);
ORVO_API int16_t U_nadcur(const CURVE *cur, const CFUNCTION *fn, CURVE *outcur, STACKS *ws);
ORVO_API int16_t U_nadsur(const SURFACE *sur, const SFUNCTION *sfn, SURFACE *outsur, STACKS *ws);
ORVO_API int16_t U_curcor(const CURVE *cur, CFUNCTION *fx, CFUNCTION *fy, CFUNCTION *fz,
                          CFUNCTION *fw, STACKS *ws);
ORVO_API int16_t U_surcor(const SURFACE *sur, SFUNCTION *fx, SFUNCTION *fy, SFUNCTION *fz,
                          SFUNCTION *fw, STACKS *ws);
ORVO_API int16_t U_corcur(const CFUNCTION *fx, const CFUNCTION *fy, const CFUNCTION *fz,
                          const CFUNCTION *fw, CURVE *outcur, STACKS *ws);
ORVO_API int16_t U_corsur(const SFUNCTION *fx, const SFUNCTION *fy, const SFUNCTION *fz,
                          const SFUNCTION *fw, SURFACE *outsur, STACKS *ws);

/* ---- Text files and printing ------------------------------------------- */
/* Files are opened "r" or "w" and closed before return; a file that cannot
 * be opened, a short or malformed file, or a header that cannot describe a
 * record gives error 18. check is 0 (no validation) or 1 (validate the
 * result); other values give error 13. The printers write to the standard
 * output and wait for one character of the standard input between
 * sections. */
ORVO_API int16_t U_outcur(const CURVE *cur, const char *path);
ORVO_API int16_t U_inpcur(CURVE *cur, const char *path, int16_t check, STACKS *ws);
ORVO_API int16_t U_outcua(CURVE *const *curves, int32_t k, const char *path);
ORVO_API int16_t U_inpcua(CURVE ***curves, int32_t *k, const char *path, int16_t check, STACKS *ws);
ORVO_API int16_t U_outsur(const SURFACE *sur, const char *path);
ORVO_API int16_t U_inpsur(SURFACE *sur, const char *path, int16_t check, STACKS *ws);
ORVO_API int16_t U_outp1d(const POINT *points, int32_t n, const char *path);
ORVO_API int16_t U_inpp1d(POINT **points, int32_t *n, const char *path, STACKS *ws);
ORVO_API int16_t U_outp2d(POINT *const *points, int32_t n, int32_t m, const char *path);
ORVO_API int16_t U_inpp2d(POINT ***points, int32_t *n, int32_t *m, const char *path, STACKS *ws);
ORVO_API int16_t U_prtcur(const CURVE *cur);
ORVO_API int16_t U_prtsur(const SURFACE *sur);
ORVO_API int16_t U_prtcfn(const CFUNCTION *cfn);
ORVO_API int16_t U_prtsfn(const SFUNCTION *sfn);

/* ---- Denominator of a rational curve ----------------------------------- */
ORVO_API int16_t U_excden(const CURVE *cur, CFUNCTION *cfn, STACKS *ws);

/* ---- Denominator of a rational surface -------------------------------- */
ORVO_API int16_t U_exsden(const SURFACE *sur, SFUNCTION *sfn, STACKS *ws);

/* ---- Euclidean images of control points --------------------------------
 * The Euclidean points of Pw[i0..i1] (a surface: of the sub-net
 * [i0..i1] x [j0..j1]) in a fresh array in ws, wrapped as a point polygon or
 * point net; error 7 for indices outside the record. */
ORVO_API int16_t U_mapcpl(const CURVE *cur, int32_t i0, int32_t i1, PPOLYGON *polyline, STACKS *ws);
ORVO_API int16_t U_mapcnt(const SURFACE *sur, int32_t i0, int32_t i1, int32_t j0, int32_t j1,
                          PNET *netl, STACKS *ws);

/* ---- Exchange of the two directions of a surface ------------------------ */
ORVO_API int16_t U_swapuv(SURFACE *sur, STACKS *ws);

/* ---- Mapping knot vectors onto an interval ----------------------------- */
/* The knots of a curve (of a surface: dir 1 the u vector onto [xmin, xmax],
 * 2 the v vector onto [ymin, ymax], 3 both; other values change nothing)
 * mapped linearly onto the range; control points are not touched. */
ORVO_API void U_curkts(CURVE *cur, INTERVAL range);
ORVO_API void U_surkts(SURFACE *sur, RECTANGLE r, int16_t dir);


/* ---- Shape tests --------------------------------------------------------
 * Yes/no answers (1 yes, 0 no) on the shape of records and point arrays;
 * they raise no error. Distances are between Euclidean points; 1e-7 is
 * POINT_TOLERANCE. */

/** @brief Is the curve closed?
 *  @param cur curve (in).
 *  @return 1 when its first and last Euclidean control points are less than
 *  POINT_TOLERANCE apart, else 0 (also for a curve without points). */
ORVO_API int16_t U_iscurc(const CURVE *cur);

/** @brief Is the surface closed in one direction?
 *  @param sur surface (in).
 *  @param dir 1: every column j has |Pw[0][j] - Pw[n][j]| <= POINT_TOLERANCE
 *  (closed along u); 2: every row i has |Pw[i][0] - Pw[i][m]| <=
 *  POINT_TOLERANCE (closed along v).
 *  @return 1 when closed, 0 otherwise or for any other dir. */
ORVO_API int16_t U_issurc(const SURFACE *sur, int16_t dir);

/** @brief Is the control polygon straight?
 *  @param cur curve (in).
 *  @param tol largest distance allowed of an interior control point from the
 *  segment from the first to the last one.
 *  @return 1 when every interior point has its foot on that segment and lies
 *  within tol of it (curves with n <= 1 always are), 0 otherwise or when a
 *  distance cannot be formed (the error state is left as it was). */
ORVO_API int16_t U_iscurl(const CURVE *cur, double tol);

/** @brief Is a point array closed?
 *  @param array POINT (kind 1) or CPOINT (kind 2) array (in), highest index n.
 *  @param n highest index.
 *  @param kind 1 POINT array, 2 CPOINT array (CPOINT distance).
 *  @param tol largest distance of the first and last elements.
 *  @return 1 when they are within tol, 0 otherwise or for another kind. */
ORVO_API int16_t U_isp1dc(const void *array, int32_t n, int16_t kind, double tol);

/** @brief Is a 2-D point array closed in one direction?
 *  @param array row table of POINT (kind 1) or CPOINT (kind 2) (in),
 *  elements [0..n][0..m].
 *  @param n, m highest indices.
 *  @param kind 1 POINT, 2 CPOINT.
 *  @param dir 1 compares [0][j] with [n][j] for every j, 2 compares [i][0]
 *  with [i][m] for every i.
 *  @param tol largest distance.
 *  @return 1 when every pair is within tol, else 0. */
ORVO_API int16_t U_isp2dc(const void *array, int32_t n, int32_t m, int16_t kind, int16_t dir,
                          double tol);

/** @brief Has the whole net collapsed to one point?
 *  @return 1 when every Euclidean control point lies within POINT_TOLERANCE
 *  of the centroid of all of them, else 0. */
ORVO_API int16_t U_issurp(const SURFACE *sur);

/** @brief Is one boundary of the net a pole (collapsed to one point)?
 *  @param boundary 1 row i = 0, 2 row i = n, 3 column j = 0, 4 column j = m.
 *  @return 1 when the boundary's first point and its point (count-1)/2+1
 *  are within POINT_TOLERANCE and every point of the boundary lies within
 *  POINT_TOLERANCE of the boundary's centroid (a boundary of one point is a
 *  pole), else 0 (also for any other boundary number). */
ORVO_API int16_t U_dssupl(const SURFACE *sur, int16_t boundary);

/** @brief Do k+1 curves agree in kind, sizes and knots?
 *  @param curves array of curve pointers (in), highest index k.
 *  @return 1 when all are rational or all non-rational, all 3-D or all 2-D,
 *  have the first curve's n and m, and every knot lies within 1e-12 of the
 *  first curve's knot of the same index; else 0 (also for k < 0 or a curve
 *  without points or knots). */
ORVO_API int16_t U_arecco(CURVE *const *curves, int32_t k);

/** @brief Do two curves coincide? Both are first made compatible in place
 *  (N_toocco, arrays in ws); they coincide when the largest 4-D distance
 *  between corresponding homogeneous control points is at most tol.
 *  @return 1 when they coincide; 0 when not, or when they cannot be made
 *  compatible (the error state then holds N_toocco's error). */
ORVO_API int16_t U_arecuc(CURVE *cur1, CURVE *cur2, double tol, STACKS *ws);

/** @brief The surface twin of U_arecuc (N_toosco, every net point). */
ORVO_API int16_t U_aresuc(SURFACE *sur1, SURFACE *sur2, double tol, STACKS *ws);

/** @brief Flatness test of a surface patch, and the direction to halve it.
 *  Works on the Euclidean control net, first rule that decides: a net
 *  closed along u (rows 0 and n coincide) is halved in u, one closed along v
 *  in v, unless the whole net is one point; a net with poles on two
 *  opposite boundaries is not flat (flat when it is one point) and is halved
 *  along its corner edges that are not collapsed, along the longer ones when
 *  neither pair is; otherwise the net is flat when every control point lies
 *  within tol of the plane through the corners' centre normal to their
 *  averaged corner normal (surface normals near the corners when those
 *  cancel) and every boundary lies within tol of its corner chord. A net
 *  off the plane is halved where the plane distances spread more, a planar
 *  one where its boundaries deviate more (ties halve v).
 *  @param sur surface (in).
 *  @param tol largest model-space deviation allowed from flat.
 *  @param flat (out) 1 flat, 0 not flat.
 *  @param dir (out, written only when flat is 0) 1 halve the v range, 2
 *  halve the u range.
 *  @return 0, or 1 with flat = 1 and dir unchanged: error 17 "G_VECNIP" (no
 *  averaged normal), 11 "G_DISPAB" (distance overflow), 2 "U_ISSURF" (no
 *  control net); 1 with error 14 "U_ISSURF" when flat or dir is null. */
ORVO_API int16_t U_issurf(const SURFACE *sur, double tol, int16_t *flat, int16_t *dir);

#ifdef __cplusplus
}
#endif

#endif /* ORVO_U_H */
