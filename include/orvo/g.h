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

/* ---- Elementary geometry: records ---------------------------------------
 * The records are small and passed by value as inputs, by pointer as
 * outputs. A PPOLYGON or PNET only refers to the caller's points. */
ORVO_API void G_makitv(double a, double b, INTERVAL *itv);
ORVO_API void G_itvbre(INTERVAL itv, double *a, double *b);
ORVO_API void G_makrct(double xmin, double xmax, double ymin, double ymax, RECTANGLE *rct);
ORVO_API void G_rctbre(RECTANGLE rct, double *xmin, double *xmax, double *ymin, double *ymax);
ORVO_API void G_rctitv(RECTANGLE rct, INTERVAL *first, INTERVAL *second);
ORVO_API void G_boxdef(double xmin, double xmax, double ymin, double ymax, double zmin, double zmax,
                       BOX *box);
ORVO_API void G_boxbre(BOX box, double *xmin, double *xmax, double *ymin, double *ymax,
                       double *zmin, double *zmax);
/* kind 0: unbounded line through P along D; kind 1: segment from P to P+D. */
ORVO_API void G_makln2(POINT P, VECTOR D, int16_t kind, LINE *line);
ORVO_API void G_makln1(POINT P, POINT Q, int16_t kind, LINE *line);
ORVO_API void G_linbre(LINE line, POINT *P, VECTOR *D, int16_t *kind);
ORVO_API void G_lindir(LINE line, VECTOR *D);
ORVO_API void G_linsfl(LINE *line, int16_t kind);
ORVO_API void G_makpln(POINT P, VECTOR N, PLANE *pln);
ORVO_API void G_plnbre(PLANE pln, POINT *P, VECTOR *N);
ORVO_API void G_plnnor(PLANE pln, VECTOR *N);
ORVO_API void G_makppl(int32_t n, POINT *pts, PPOLYGON *ppl);
ORVO_API void G_pplbre(PPOLYGON ppl, int32_t *n, POINT **pts);
ORVO_API void G_makntl(int32_t n, int32_t m, POINT **rows, PNET *net);
ORVO_API void G_ntlbre(PNET net, int32_t *n, int32_t *m, POINT ***rows);

/* ---- Elementary geometry: distances, boxes and extents ------------------
 * Routines with a status return 0, or 1 with error 11 when a division
 * would overflow (or the error of a failed projection). */
ORVO_API void G_dispop(POINT a, POINT b, double *d);
ORVO_API void G_discpp(CPOINT a, CPOINT b, double *d);
ORVO_API void G_discpo(CPOINT a, CPOINT b, double *d);
ORVO_API void G_discpl(const CPOINT *P, int32_t n, double *length);
ORVO_API void G_dispol(const POINT *P, int32_t n, double *length);
ORVO_API void G_dispnp(double a, double b, double c, double d, POINT X, double *value);
ORVO_API int16_t G_displn(LINE line, POINT X, double *d);
ORVO_API int16_t G_disppl(PLANE pln, POINT X, double *d);
ORVO_API int16_t G_dispab(POINT X, POINT A, POINT B, double *d);
ORVO_API int16_t G_disqab(POINT X, POINT A, POINT B, double *d);
ORVO_API void G_boxdia(BOX box, double *d);
ORVO_API void G_po1ext(const POINT *pts, int32_t n, double *extent);
ORVO_API void G_po2ext(POINT *const *rows, int32_t n, int32_t m, double *extent);
ORVO_API void G_polbox(PPOLYGON ppl, BOX *box);
ORVO_API void G_netbox(PNET net, BOX *box);
ORVO_API void G_linbox(POINT a, POINT b, double tol, BOX *box);
ORVO_API void G_boxcen(BOX box, POINT *C);
ORVO_API void G_bx2ovl(RECTANGLE r1, RECTANGLE r2, double tol, double *overlap);

/* ---- Elementary geometry: projections and intersections -----------------
 * found says whether a result exists; parallel input or no intersection is
 * status 0 with found 0, and the other outputs are then left unwritten. */
ORVO_API int16_t G_intlnp(LINE line, PLANE pln, POINT *X, double *t, int16_t *found);
ORVO_API int16_t G_prjpln(LINE line, POINT X, POINT *F, double *t, int16_t *found);
ORVO_API int16_t G_prjppl(PLANE pln, POINT X, POINT *F);
ORVO_API int16_t G_intlnl(LINE L1, LINE L2, POINT *X, double *s, double *t, int16_t *found);
ORVO_API int16_t G_intlsg(POINT A, POINT B, POINT C, POINT D, POINT *X, int16_t *found);
ORVO_API int16_t G_intcpl(PPOLYGON ppl, POINT A, POINT B, int32_t leg, POINT *X, int16_t *found,
                          int32_t *position);
ORVO_API int16_t G_dolsin(double x1, double y1, double x2, double y2, double x3, double y3,
                          double x4, double y4, double tol);
ORVO_API int16_t G_lsqpln(const POINT *pts, int32_t n, double *a, double *b, double *c, double *d);

/* ---- Elementary geometry: sides, containment and nearest legs ---------- */
ORVO_API int16_t G_arevps(VECTOR a, VECTOR b);
ORVO_API int16_t G_lipost(LINE line, POINT X);
ORVO_API int16_t G_plpost(PLANE pln, POINT X);
ORVO_API int16_t G_ispplc(PPOLYGON ppl);
ORVO_API int16_t G_isntlc(PNET net, int16_t dir);
ORVO_API int16_t G_ispppl(PPOLYGON ppl, double x, double y);
ORVO_API int16_t G_ispgpl(PPOLYGON ppl, POINT *const *grid, int32_t n, int32_t m,
                          int32_t *const *inside);
ORVO_API int16_t G_ispgpg(PPOLYGON ppl, POINT *const *grid, int32_t n, int32_t m, double tol,
                          double *const *dist);
ORVO_API int16_t G_polleg(PPOLYGON ppl, POINT X, POINT *F, int32_t *j, double *t, int16_t *found);
ORVO_API int16_t G_netleg(PNET net, POINT X, POINT *F, int32_t *i, int32_t *j, int16_t *dir,
                          double *t, int16_t *found);

#ifdef __cplusplus
}
#endif

#endif /* ORVO_G_H */
