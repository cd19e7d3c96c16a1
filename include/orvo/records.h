/** @file records.h
 * @brief Orvo: records shared by every routine of the library.
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
/** Largest degree the library handles. */
#define MAXDEGREE 28
/** Least admissible weight of a rational control point. */
#define MINWEIGHT 0.01
/** Greatest admissible weight of a rational control point. */
#define MAXWEIGHT 10.0
/** Distance below which two points count as one (model space). */
#define POINT_TOLERANCE 1e-7
/** Magnitude below which a number counts as zero. */
#define ZERO_TOLERANCE 1e-12
/** Least pivot magnitude accepted by the linear solvers. */
#define PIVOT_TOLERANCE 1e-9
/** Most steps of the library's Newton iterations. */
#define MAXIT 50

/** z of a 2-D point (the 2-D marker). */
#define ORVO_Z2D DBL_MAX
/** w of a non-rational point (the non-rational marker). */
#define ORVO_WNR (-DBL_MAX)

/* ---- Points ------------------------------------------------------------ */
/** A control point: weighted coordinates (x w, y w, z w) and the weight w
 *  of a rational point; plain coordinates and w = ORVO_WNR of a
 *  non-rational one; z = ORVO_Z2D (unscaled) in a 2-D point. */
typedef struct CPOINT {
  double x; /**< x, times w when rational */
  double y; /**< y, times w when rational */
  double z; /**< z, times w when rational; ORVO_Z2D for a 2-D point */
  double w; /**< the weight, or ORVO_WNR for a non-rational point */
} CPOINT;

/** A Euclidean point. */
typedef struct POINT {
  double x; /**< x coordinate */
  double y; /**< y coordinate */
  double z; /**< z coordinate */
} POINT;

/** A 3-D vector. */
typedef struct VECTOR {
  double x; /**< x component */
  double y; /**< y component */
  double z; /**< z component */
} VECTOR;

/* ---- Aggregates -------------------------------------------------------- */
/** A knot vector U[0..m], non-decreasing. */
typedef struct KNOTVECTOR {
  int32_t m; /**< highest knot index */
  double *U; /**< the knots U[0..m] */
} KNOTVECTOR;

/** The control polygon of a curve, Pw[0..n]. */
typedef struct CPOLYGON {
  int32_t n;  /**< highest point index */
  CPOINT *Pw; /**< the control points */
} CPOLYGON;

/** The control net of a surface, Pw[i][j], i = 0..n along u, j = 0..m
 *  along v. */
typedef struct CNET {
  int32_t n;   /**< highest index along u */
  int32_t m;   /**< highest index along v */
  CPOINT **Pw; /**< row table: Pw[i] is the row of u index i */
} CNET;

/** A B-spline (NURBS) curve of degree p: n+1 control points and m+1 =
 *  n+p+2 knots. */
typedef struct CURVE {
  CPOLYGON *pol;   /**< control polygon */
  int16_t p;       /**< degree */
  KNOTVECTOR *knt; /**< knots */
} CURVE;

/** A B-spline (NURBS) surface of degrees p (u) and q (v). */
typedef struct SURFACE {
  CNET *net;       /**< control net */
  int16_t p;       /**< degree in u */
  int16_t q;       /**< degree in v */
  KNOTVECTOR *knu; /**< u knots, highest index n+p+1 */
  KNOTVECTOR *knv; /**< v knots, highest index m+q+1 */
} SURFACE;

/** The coefficients of a scalar curve function, values[0..n]. */
typedef struct CVLIST {
  int32_t n;      /**< highest index */
  double *values; /**< the coefficients */
} CVLIST;

/** The coefficients of a scalar surface function, values[i][j]. */
typedef struct SVLIST {
  int32_t n;       /**< highest index along u */
  int32_t m;       /**< highest index along v */
  double **values; /**< row table of the coefficients */
} SVLIST;

/** A scalar B-spline function of one parameter. */
typedef struct CFUNCTION {
  CVLIST *cvl;     /**< coefficients */
  int16_t p;       /**< degree */
  KNOTVECTOR *knt; /**< knots */
} CFUNCTION;

/** A scalar B-spline function of two parameters. */
typedef struct SFUNCTION {
  SVLIST *svl;     /**< coefficients */
  int16_t p;       /**< degree in u */
  int16_t q;       /**< degree in v */
  KNOTVECTOR *knu; /**< u knots */
  KNOTVECTOR *knv; /**< v knots */
} SFUNCTION;

/* ---- Workspace --------------------------------------------------------- */
/** One node of an allocation list: the block and the next older node. */
typedef struct STACKNODE {
  void *block;            /**< the allocated block */
  struct STACKNODE *next; /**< the next older node, or null */
} STACKNODE;

/** Number of allocation lists of a workspace (one per kind of block). */
#define ORVO_NLISTS 30

/** The workspace: every block the library allocates for the caller is
 *  recorded on one of its lists; N_inurbs empties it, N_enurbs releases
 *  everything on it. */
typedef struct STACKS {
  STACKNODE *head[ORVO_NLISTS]; /**< per list, the newest node or null */
} STACKS;

/* ---- Matrix records ---------------------------------------------------- */
/** Matrix storage: every entry. */
#define ORVO_FULL 0
/** Matrix storage: the lower-left triangle with the diagonal. */
#define ORVO_LOWERLEFT 1
/** Matrix storage: the upper-right triangle with the diagonal. */
#define ORVO_UPPERRIGHT 2
/** Matrix storage: a band of half-width bw about the diagonal. */
#define ORVO_BANDED 3

/** A matrix of reals, rows 0..n and columns 0..m, in one of the storage
 *  types ORVO_FULL, ORVO_LOWERLEFT, ORVO_UPPERRIGHT, ORVO_BANDED. */
typedef struct RMATRIX {
  int32_t n;    /**< highest row index */
  int32_t m;    /**< highest column index */
  double **a;   /**< row table of the stored entries */
  int32_t type; /**< storage type */
  int32_t bw;   /**< half band width (ORVO_BANDED) */
} RMATRIX;

/** A matrix of integers, rows 0..n and columns 0..m, in one of the storage
 *  types ORVO_FULL, ORVO_LOWERLEFT, ORVO_UPPERRIGHT, ORVO_BANDED. */
typedef struct IMATRIX {
  int32_t n;    /**< highest row index */
  int32_t m;    /**< highest column index */
  int32_t **a;  /**< row table of the stored entries */
  int32_t type; /**< storage type */
  int32_t bw;   /**< half band width (ORVO_BANDED) */
} IMATRIX;

/** A matrix of points, rows 0..n and columns 0..m, in one of the storage
 *  types ORVO_FULL, ORVO_LOWERLEFT, ORVO_UPPERRIGHT, ORVO_BANDED. */
typedef struct PMATRIX {
  int32_t n;    /**< highest row index */
  int32_t m;    /**< highest column index */
  POINT **a;    /**< row table of the stored entries */
  int32_t type; /**< storage type */
  int32_t bw;   /**< half band width (ORVO_BANDED) */
} PMATRIX;

/** A matrix of control points, rows 0..n and columns 0..m, in one of the storage
 *  types ORVO_FULL, ORVO_LOWERLEFT, ORVO_UPPERRIGHT, ORVO_BANDED. */
typedef struct CMATRIX {
  int32_t n;    /**< highest row index */
  int32_t m;    /**< highest column index */
  CPOINT **a;   /**< row table of the stored entries */
  int32_t type; /**< storage type */
  int32_t bw;   /**< half band width (ORVO_BANDED) */
} CMATRIX;

/* ---- Elementary geometry records --------------------------------------- */
/** A closed interval [a, b]. */
typedef struct INTERVAL {
  double a; /**< start */
  double b; /**< end */
} INTERVAL;

/** An axis-parallel rectangle. */
typedef struct RECTANGLE {
  double xmin; /**< least x */
  double xmax; /**< greatest x */
  double ymin; /**< least y */
  double ymax; /**< greatest y */
} RECTANGLE;

/** An axis-parallel box. */
typedef struct BOX {
  double xmin; /**< least x */
  double xmax; /**< greatest x */
  double ymin; /**< least y */
  double ymax; /**< greatest y */
  double zmin; /**< least z */
  double zmax; /**< greatest z */
} BOX;

/** A line through P along D: unbounded (kind 0) or the segment from P to
 *  P + D (kind 1). */
typedef struct LINE {
  POINT P;      /**< a point of the line */
  VECTOR D;     /**< its direction */
  int16_t kind; /**< 0 unbounded, 1 segment */
} LINE;

/** A plane through P with normal N. */
typedef struct PLANE {
  POINT P;  /**< a point of the plane */
  VECTOR N; /**< its normal */
} PLANE;

/** A polygon of points pts[0..n]. */
typedef struct PPOLYGON {
  int32_t n;  /**< highest point index */
  POINT *pts; /**< the points */
} PPOLYGON;

/** A net of points rows[i][j], i = 0..n, j = 0..m. */
typedef struct PNET {
  int32_t n;    /**< highest row index */
  int32_t m;    /**< highest column index */
  POINT **rows; /**< row table */
} PNET;

/* ---- Tessellation ------------------------------------------------------
 * Coordinates of the tessellator live in the metric parameter plane: the
 * surface's domain mapped onto [0, Lu] x [0, Lv] (Lu, Lv from N_tesesa). */

/** One closed trimming polygon: points (u[i], v[i]), i = 0..n, the first
 *  repeated as the last (metric parameter plane). */
typedef struct TRIMLOOP {
  int32_t n;     /**< highest point index */
  double *u;     /**< u coordinates */
  double *v;     /**< v coordinates */
  RECTANGLE box; /**< least and greatest u (xmin, xmax) and v (ymin, ymax) */
} TRIMLOOP;

/** One trimmed region: loops[0] is its outer loop, loops[1 .. nh+1] its
 *  holes. */
typedef struct TRIMREGION {
  int32_t nh;      /**< highest hole index (-1: no hole) */
  TRIMLOOP *loops; /**< outer loop, then the holes */
} TRIMREGION;

/** The points and grid of an adaptive subdivision. Points 0..np with
 * coordinates u[], v[] (arrays allocated for cap+1 points); fu[i] / fv[i]
 * are 1 when a cell edge leaves point i towards +u / +v. gu[0..ni] and
 * gv[0..nj] are the sorted distinct corner coordinates; grid[i][j] is the
 * point at (gu[i], gv[j]) or -1; flag[i][j] is 0, or -2 for a seam copy. */
typedef struct TESSGRID {
  int32_t np;     /**< highest point index */
  int32_t cap;    /**< highest index the point arrays can hold */
  double *u;      /**< u coordinates of the points */
  double *v;      /**< v coordinates of the points */
  int16_t *fu;    /**< 1 when a cell edge leaves the point towards +u */
  int16_t *fv;    /**< 1 when a cell edge leaves the point towards +v */
  int32_t ni;     /**< highest index of gu */
  int32_t nj;     /**< highest index of gv */
  double *gu;     /**< sorted distinct corner u coordinates */
  double *gv;     /**< sorted distinct corner v coordinates */
  int32_t **grid; /**< point at (gu[i], gv[j]), or -1 */
  int16_t **flag; /**< 0, or -2 for a seam copy */
} TESSGRID;

#ifdef __cplusplus
}
#endif

#endif /* ORVO_RECORDS_H */
