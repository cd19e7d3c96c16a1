/* Orvo: records shared by every routine of the library.
 *
 * Sizes are HIGHEST INDICES (an array of highest index n holds n+1
 * elements); degrees are int16_t; coordinates, weights, knots and
 * parameters are doubles. Two marker values let one CPOINT stand for 2-D
 * and 3-D, rational and non-rational geometry:
 *   z == +DBL_MAX marks a 2-D point, w == -DBL_MAX a non-rational point. */
#ifndef ORVO_RECORDS_H
#define ORVO_RECORDS_H

#include <float.h>
#include <stdint.h>

#if defined(ORVO_BUILDING_LIBRARY)
#define ORVO_API __attribute__((visibility("default")))
#else
#define ORVO_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Library constants ------------------------------------------------- */
#define MAXDEGREE 28
#define MINWEIGHT 0.01
#define MAXWEIGHT 10.0
#define POINT_TOLERANCE 1e-7
#define ZERO_TOLERANCE 1e-12
#define PIVOT_TOLERANCE 1e-9
#define MAXIT 50

/* Marker values: a 2-D point has z == ORVO_Z2D, a non-rational point has
 * w == ORVO_WNR. */
#define ORVO_Z2D DBL_MAX
#define ORVO_WNR (-DBL_MAX)

/* ---- Points ------------------------------------------------------------ */
typedef struct CPOINT {
  double x, y, z, w;
} CPOINT;

typedef struct POINT {
  double x, y, z;
} POINT;

typedef struct VECTOR {
  double x, y, z;
} VECTOR;

/* ---- Aggregates -------------------------------------------------------- */
typedef struct KNOTVECTOR {
  int32_t m;
  double *U;
} KNOTVECTOR;

typedef struct CPOLYGON {
  int32_t n;
  CPOINT *Pw;
} CPOLYGON;

typedef struct CNET {
  int32_t n;
  int32_t m;
  CPOINT **Pw;
} CNET;

typedef struct CURVE {
  CPOLYGON *pol;
  int16_t p;
  KNOTVECTOR *knt;
} CURVE;

typedef struct SURFACE {
  CNET *net;
  int16_t p;
  int16_t q;
  KNOTVECTOR *knu;
  KNOTVECTOR *knv;
} SURFACE;

typedef struct CVLIST {
  int32_t n;
  double *values;
} CVLIST;

typedef struct SVLIST {
  int32_t n;
  int32_t m;
  double **values;
} SVLIST;

typedef struct CFUNCTION {
  CVLIST *cvl;
  int16_t p;
  KNOTVECTOR *knt;
} CFUNCTION;

typedef struct SFUNCTION {
  SVLIST *svl;
  int16_t p;
  int16_t q;
  KNOTVECTOR *knu;
  KNOTVECTOR *knv;
} SFUNCTION;

/* ---- Workspace --------------------------------------------------------- */
/* One node of an allocation list: the block and the next older node. */
typedef struct STACKNODE {
  void *block;
  struct STACKNODE *next;
} STACKNODE;

#define ORVO_NLISTS 30

/* The workspace: 30 allocation lists, each head the newest node. */
typedef struct STACKS {
  STACKNODE *head[ORVO_NLISTS];
} STACKS;

/* ---- Matrix records ---------------------------------------------------- */
/* Storage types. */
#define ORVO_FULL 0
#define ORVO_LOWERLEFT 1
#define ORVO_UPPERRIGHT 2
#define ORVO_BANDED 3

typedef struct RMATRIX {
  int32_t n;
  int32_t m;
  double **a;
  int32_t type;
  int32_t bw;
} RMATRIX;

typedef struct IMATRIX {
  int32_t n;
  int32_t m;
  int32_t **a;
  int32_t type;
  int32_t bw;
} IMATRIX;

typedef struct PMATRIX {
  int32_t n;
  int32_t m;
  POINT **a;
  int32_t type;
  int32_t bw;
} PMATRIX;

typedef struct CMATRIX {
  int32_t n;
  int32_t m;
  CPOINT **a;
  int32_t type;
  int32_t bw;
} CMATRIX;

/* ---- Elementary geometry records --------------------------------------- */
typedef struct INTERVAL {
  double a, b;
} INTERVAL;

typedef struct RECTANGLE {
  double xmin, xmax, ymin, ymax;
} RECTANGLE;

typedef struct BOX {
  double xmin, xmax, ymin, ymax, zmin, zmax;
} BOX;

/* kind: 0 unbounded line, 1 segment from P to P+D. */
typedef struct LINE {
  POINT P;
  VECTOR D;
  int16_t kind;
} LINE;

typedef struct PLANE {
  POINT P;
  VECTOR N;
} PLANE;

typedef struct PPOLYGON {
  int32_t n;
  POINT *pts;
} PPOLYGON;

typedef struct PNET {
  int32_t n;
  int32_t m;
  POINT **rows;
} PNET;


/* ---- Tessellation ------------------------------------------------------
 * Coordinates of the tessellator live in the metric parameter plane: the
 * surface's domain mapped onto [0, Lu] x [0, Lv] (Lu, Lv from N_tesesa). */

/* One closed trimming polygon: points (u[i], v[i]), i = 0..n, the first
 * repeated as the last; box holds its least and greatest u (xmin, xmax)
 * and v (ymin, ymax). */
typedef struct TRIMLOOP {
  int32_t n;
  double *u;
  double *v;
  RECTANGLE box;
} TRIMLOOP;

/* One trimmed region: loops[0] is its outer loop, loops[1 .. nh+1] its
 * holes (nh = -1: no hole). */
typedef struct TRIMREGION {
  int32_t nh;
  TRIMLOOP *loops;
} TRIMREGION;

/* The points and grid of an adaptive subdivision. Points 0..np with
 * coordinates u[], v[] (arrays allocated for cap+1 points); fu[i] / fv[i]
 * are 1 when a cell edge leaves point i towards +u / +v. gu[0..ni] and
 * gv[0..nj] are the sorted distinct corner coordinates; grid[i][j] is the
 * point at (gu[i], gv[j]) or -1; flag[i][j] is 0, or -2 for a seam copy. */
typedef struct TESSGRID {
  int32_t np;
  int32_t cap;
  double *u;
  double *v;
  int16_t *fu;
  int16_t *fv;
  int32_t ni;
  int32_t nj;
  double *gu;
  double *gv;
  int32_t **grid;
  int16_t **flag;
} TESSGRID;

#ifdef __cplusplus
}
#endif

#endif /* ORVO_RECORDS_H */
