/** @file g.h
 * @brief Orvo G_ family: vectors and elementary geometry. */
#ifndef ORVO_G_H
#define ORVO_G_H

#include "records.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Vector arithmetic ------------------------------------------------- */
/* Routines whose operation is followed by a 'p' take pointers and may work
 * in place; the others take their vectors by value. Every result is formed
 * before it is stored, so an output may be one of the inputs. */

/** @brief Makes the vector (x, y, z).
 *  @param x, y, z components (in). @param V the vector (out). */
ORVO_API void G_vecmak(double x, double y, double z, VECTOR *V);

/** @brief Copies a vector: V = A.
 *  @param A vector (in). @param V the copy (out). */
ORVO_API void G_veccop(VECTOR A, VECTOR *V);

/** @brief Sum of two vectors: V = A + B.
 *  @param A, B vectors (in). @param V the sum (out). */
ORVO_API void G_vecsum(VECTOR A, VECTOR B, VECTOR *V);

/** @brief Difference of two vectors: V = A - B.
 *  @param A, B vectors (in). @param V the difference (out). */
ORVO_API void G_vecdif(VECTOR A, VECTOR B, VECTOR *V);

/** @brief Direction from A to B: V = B - A.
 *  @param A, B vectors or points (in). @param V the direction (out). */
ORVO_API void G_vecdir(VECTOR A, VECTOR B, VECTOR *V);

/** @brief Difference of the Euclidean images of two control points, Q1 - Q2:
 *  x, y, z are divided by a real weight (the weight is not checked), and the
 *  2-D marker z counts as 0.
 *  @param Q1, Q2 control points (in). @param V the difference (out). */
ORVO_API void G_vecdcp(CPOINT Q1, CPOINT Q2, VECTOR *V);

/** @brief Scaled vector: V = s A.
 *  @param A vector (in). @param s factor (in). @param V the result (out). */
ORVO_API void G_vecsca(VECTOR A, double s, VECTOR *V);

/** @brief Scaled vector through pointers: V = s A; V may be A.
 *  @param A vector (in). @param s factor (in). @param V the result (out). */
ORVO_API void G_vecscp(const VECTOR *A, double s, VECTOR *V);

/** @brief Linear combination: V = a A + b B.
 *  @param a, b factors (in). @param A, B vectors (in). @param V the result (out). */
ORVO_API void G_veccmb(double a, VECTOR A, double b, VECTOR B, VECTOR *V);

/** @brief Point at parameter t along a direction: V = P + t D.
 *  @param P start point (in). @param t parameter, in units of D (in).
 *  @param D direction (in). @param V the point (out). */
ORVO_API void G_vecpfv(POINT P, double t, VECTOR D, POINT *V);

/** @brief Reversed vector: V = -A.
 *  @param A vector (in). @param V the result (out). */
ORVO_API void G_vecrev(VECTOR A, VECTOR *V);

/** @brief Reverses a vector in place: A = -A.
 *  @param A vector (in/out). */
ORVO_API void G_vecrvp(VECTOR *A);

/** @brief Dot product: s = A . B.
 *  @param A, B vectors (in). @param s the product (out). */
ORVO_API void G_vecdot(VECTOR A, VECTOR B, double *s);

/** @brief Dot product through pointers: s = A . B.
 *  @param A, B vectors (in). @param s the product (out). */
ORVO_API void G_vecdop(const VECTOR *A, const VECTOR *B, double *s);

/** @brief Euclidean length |A|; very small or very large components are
 *  scaled first, so the squares neither underflow nor overflow.
 *  @param A vector (in). @param s the length (out). */
ORVO_API void G_vecmag(VECTOR A, double *s);

/** @brief Euclidean length |A| through a pointer, as G_vecmag.
 *  @param A vector (in). @param s the length (out). */
ORVO_API void G_vecmap(const VECTOR *A, double *s);

/** @brief Cross product: V = A x B = (A.y B.z - B.y A.z, B.x A.z - A.x B.z,
 *  A.x B.y - B.x A.y).
 *  @param A, B vectors (in). @param V the product (out). */
ORVO_API void G_veccro(VECTOR A, VECTOR B, VECTOR *V);

/** @brief Cross product through pointers: V = A x B; V may be A or B.
 *  @param A, B vectors (in). @param V the product (out). */
ORVO_API void G_veccrp(const VECTOR *A, const VECTOR *B, VECTOR *V);

/** @brief Triple product: s = (A x B) . C, the signed volume of A, B, C.
 *  @param A, B, C vectors (in). @param s the product (out). */
ORVO_API void G_vecmix(VECTOR A, VECTOR B, VECTOR C, double *s);

/** @brief Perpendicular in the x-y plane: V = (-A.y, A.x, 0), the x-y part
 *  of A turned a quarter turn counter-clockwise; A.z is ignored.
 *  @param A vector (in). @param V the perpendicular (out). */
ORVO_API void G_vecper(VECTOR A, VECTOR *V);

/** @brief Unit vector: V = A / |A|.
 *  @param A vector (in). @param V the unit vector (out).
 *  @return 0 on success, or 1 with error 17 under "G_VECNOR" when |A| is 0
 *  or not finite; V is then unchanged. */
ORVO_API int16_t G_vecnor(VECTOR A, VECTOR *V);

/** @brief Normalises a vector in place: A = A / |A|.
 *  @param A vector (in/out).
 *  @return 0 on success, or 1 with error 17 under "G_VECNIP" when |A| is 0
 *  or not finite; A is then unchanged. */
ORVO_API int16_t G_vecnip(VECTOR *A);

/** @brief Cosine of the angle between A and B, formed from their unit
 *  vectors and clamped to [-1, 1] against rounding.
 *  @param A, B vectors (in). @param c the cosine (out).
 *  @return 0 on success, or 1 with error 17 under "G_VECCOS" when |A| or |B|
 *  is 0 or not finite; c is then unchanged. */
ORVO_API int16_t G_veccos(VECTOR A, VECTOR B, double *c);

/* ---- 4x4 homogeneous transformation matrices ---------------------------
 * Matrices are stored row-major, T[row][column], act on column vectors
 * (x, y, z, 1) and have row 3 = (0, 0, 0, 1). T is an output record of
 * highest indices 3, 3 and full storage (M_rmachk): a record holding no
 * matrix receives a 4x4 table in ws, a record holding one is reused when it
 * is large enough. */

/** @brief Translation matrix taking P to Q: the identity with column 3 =
 *  Q - P.
 *  @param P, Q points (in). @param T the matrix (out, in ws or reused).
 *  @param ws caller's workspace for a new table.
 *  @return 0 on success, or 1 with error 9 under "G_TRATRL" (T holds a
 *  table too small for 4x4) or 15 under "S_GETR2D" (allocation failed). */
ORVO_API int16_t G_tratrl(POINT P, POINT Q, RMATRIX *T, STACKS *ws);

/** @brief Rotation matrix: angle degrees about the axis through P along D,
 *  counter-clockwise seen from the tip of D (right-hand rule); P is fixed.
 *  @param P point on the axis (in). @param D axis direction, any length (in).
 *  @param angle rotation angle in degrees (in).
 *  @param T the matrix (out, in ws or reused). @param ws caller's workspace.
 *  @return 0 on success, or 1 with error 17 under "G_TRAGNR" (|D| zero or
 *  not finite), 9 under "G_TRAGNR" (T too small) or 15 under "S_GETR2D". */
ORVO_API int16_t G_tragnr(POINT P, VECTOR D, double angle, RMATRIX *T, STACKS *ws);

/** @brief Planar rigid motion in the x-y plane taking P0 to P1 and the
 *  direction D0 to D1. Only x and y of the inputs are used and every z maps
 *  to 0 (row 2 is zero).
 *  @param P0, P1 points (in). @param D0, D1 unit directions (in; taken as
 *  given, not normalised: other lengths scale the result).
 *  @param T the matrix (out, in ws or reused). @param ws caller's workspace.
 *  @return 0 on success, or 1 with error 9 under "G_TRAVEC" (T too small)
 *  or 15 under "S_GETR2D". */
ORVO_API int16_t G_travec(POINT P0, VECTOR D0, POINT P1, VECTOR D1, RMATRIX *T, STACKS *ws);

/** @brief Change of frame taking origin O1 and axes X1, Y1, Z1 onto O2, X2,
 *  Y2, Z2: T = translation by O2 * [X2 Y2 Z2 as columns] * [X1 Y1 Z1 as
 *  rows] * translation by -O1, so O1 + a X1 + b Y1 + c Z1 goes to
 *  O2 + a X2 + b Y2 + c Z2 when the first axes are orthonormal.
 *  @param O1, X1, Y1, Z1 source frame (in). @param O2, X2, Y2, Z2 target
 *  frame (in); the axes are used as given (expected orthonormal).
 *  @param T the matrix (out, in ws or reused). @param ws caller's workspace.
 *  @return 0 on success, or 1 with error 9 under "G_TRAORT" (T too small)
 *  or 15 under "S_GETR2D". */
ORVO_API int16_t G_traort(POINT O1, VECTOR X1, VECTOR Y1, VECTOR Z1, POINT O2, VECTOR X2, VECTOR Y2,
                          VECTOR Z2, RMATRIX *T, STACKS *ws);

/** @brief Axial deformation of P in place. With s = c f(t), t the coordinate
 *  of P on axis: mode 1 (stretch) multiplies coordinate direction by s,
 *  mode 2 (taper) multiplies the two coordinates other than axis by s,
 *  mode 3 (twist) turns those two by s*pi radians about the axis ((y, z)
 *  about x, (z, x) about y, (x, y) about z; s = 0.5 is a quarter turn),
 *  mode 4 (shift) adds s to coordinate direction. Modes 1 and 4 leave P as
 *  it is when direction equals axis; any other mode leaves P unchanged (status 0).
 *  @param P point (in/out). @param f scalar function of t (in; evaluated
 *  with side 1). @param c factor (in). @param mode 1..4 (in).
 *  @param axis 1 x, 2 y, 3 z (in). @param direction 1 x, 2 y, 3 z (in;
 *  checked in every mode, after f is evaluated).
 *  @return 0 on success, or 1 with error 13 under "G_TRAAXL" (axis or
 *  direction outside 1..3) or the error of N_cfnevn (e.g. 6 when t lies
 *  outside f's domain); P is then unchanged. */
ORVO_API int16_t G_traaxl(POINT *P, const CFUNCTION *f, double c, int16_t mode, int16_t axis,
                          int16_t direction);

/* ---- Elementary geometry: records ---------------------------------------
 * The records are small and passed by value as inputs, by pointer as
 * outputs. A PPOLYGON or PNET only refers to the caller's points. The makers
 * store their arguments as given, without any check. */

/** @brief Makes the interval [a, b].
 *  @param a, b ends (in). @param itv the interval (out). */
ORVO_API void G_makitv(double a, double b, INTERVAL *itv);

/** @brief Breaks an interval into its ends.
 *  @param itv interval (in). @param a, b its ends (out). */
ORVO_API void G_itvbre(INTERVAL itv, double *a, double *b);

/** @brief Makes a rectangle [xmin, xmax] x [ymin, ymax] (in a parameter
 *  plane: [umin, umax] x [vmin, vmax]).
 *  @param xmin, xmax, ymin, ymax its ranges (in). @param rct the rectangle (out). */
ORVO_API void G_makrct(double xmin, double xmax, double ymin, double ymax, RECTANGLE *rct);

/** @brief Breaks a rectangle into its four bounds.
 *  @param rct rectangle (in). @param xmin, xmax, ymin, ymax its bounds (out). */
ORVO_API void G_rctbre(RECTANGLE rct, double *xmin, double *xmax, double *ymin, double *ymax);

/** @brief Splits a rectangle into its x (u) range and its y (v) range.
 *  @param rct rectangle (in). @param first [xmin, xmax] (out).
 *  @param second [ymin, ymax] (out). */
ORVO_API void G_rctitv(RECTANGLE rct, INTERVAL *first, INTERVAL *second);

/** @brief Makes the box [xmin, xmax] x [ymin, ymax] x [zmin, zmax].
 *  @param xmin, xmax, ymin, ymax, zmin, zmax its ranges (in).
 *  @param box the box (out). */
ORVO_API void G_boxdef(double xmin, double xmax, double ymin, double ymax, double zmin, double zmax,
                       BOX *box);

/** @brief Breaks a box into its six bounds.
 *  @param box box (in). @param xmin, xmax, ymin, ymax, zmin, zmax its
 *  bounds (out). */
ORVO_API void G_boxbre(BOX box, double *xmin, double *xmax, double *ymin, double *ymax,
                       double *zmin, double *zmax);

/** @brief Makes a line from a point and a direction: kind 0 is the unbounded
 *  line through P along D, kind 1 the segment from P to P + D.
 *  @param P point (in). @param D direction, not normalised (in).
 *  @param kind 0 or 1 (in). @param line the line (out). */
ORVO_API void G_makln2(POINT P, VECTOR D, int16_t kind, LINE *line);

/** @brief Makes a line through two points: D = Q - P, so kind 1 is the
 *  segment from P to Q and kind 0 the unbounded line through both.
 *  @param P, Q points (in). @param kind 0 or 1 (in). @param line the line (out). */
ORVO_API void G_makln1(POINT P, POINT Q, int16_t kind, LINE *line);

/** @brief Breaks a line into its point, direction and kind.
 *  @param line line (in). @param P point (out). @param D direction (out).
 *  @param kind 0 unbounded, 1 segment (out). */
ORVO_API void G_linbre(LINE line, POINT *P, VECTOR *D, int16_t *kind);

/** @brief Direction D of a line, as stored (not normalised).
 *  @param line line (in). @param D its direction (out). */
ORVO_API void G_lindir(LINE line, VECTOR *D);

/** @brief Sets the kind of a line in place.
 *  @param line line (in/out). @param kind 0 unbounded, 1 segment (in). */
ORVO_API void G_linsfl(LINE *line, int16_t kind);

/** @brief Makes the plane through P with normal N.
 *  @param P point on the plane (in). @param N normal, not necessarily unit (in).
 *  @param pln the plane (out). */
ORVO_API void G_makpln(POINT P, VECTOR N, PLANE *pln);

/** @brief Breaks a plane into its point and normal.
 *  @param pln plane (in). @param P point (out). @param N normal (out). */
ORVO_API void G_plnbre(PLANE pln, POINT *P, VECTOR *N);

/** @brief Normal N of a plane, as stored.
 *  @param pln plane (in). @param N its normal (out). */
ORVO_API void G_plnnor(PLANE pln, VECTOR *N);

/** @brief Makes a point polygon over pts[0..n]; the points are not copied.
 *  @param n highest index (in). @param pts the caller's points (in; kept
 *  alive by the caller). @param ppl the polygon (out). */
ORVO_API void G_makppl(int32_t n, POINT *pts, PPOLYGON *ppl);

/** @brief Breaks a point polygon into its highest index and points.
 *  @param ppl polygon (in). @param n highest index (out).
 *  @param pts its point array (out; the caller's, not a copy). */
ORVO_API void G_pplbre(PPOLYGON ppl, int32_t *n, POINT **pts);

/** @brief Makes a point net over rows[0..n][0..m]; the points are not copied.
 *  @param n, m highest row and column indices (in). @param rows the caller's
 *  row table (in; kept alive by the caller). @param net the net (out). */
ORVO_API void G_makntl(int32_t n, int32_t m, POINT **rows, PNET *net);

/** @brief Breaks a point net into its highest indices and row table.
 *  @param net net (in). @param n, m highest row and column indices (out).
 *  @param rows its row table (out; the caller's, not a copy). */
ORVO_API void G_ntlbre(PNET net, int32_t *n, int32_t *m, POINT ***rows);

/* ---- Elementary geometry: distances, boxes and extents ------------------
 * Routines with a status return 0, or 1 with error 11 when a division
 * would overflow (or the error of a failed projection); their output is
 * then unchanged. Lengths are scaled against overflow and underflow. */

/** @brief Euclidean distance |a - b| of two points.
 *  @param a, b points (in). @param d the distance (out). */
ORVO_API void G_dispop(POINT a, POINT b, double *d);

/** @brief Distance of the Euclidean images of two control points (divided
 *  by a real weight, not checked; the 2-D marker z counts as 0).
 *  @param a, b control points (in). @param d the distance (out). */
ORVO_API void G_discpp(CPOINT a, CPOINT b, double *d);

/** @brief 4-D distance of two control points as stored (weighted):
 *  sqrt(dx^2 + dy^2 + dz^2 + dw^2), the z term only when neither z is the
 *  2-D marker and the w term only when both points are rational.
 *  @param a, b control points (in). @param d the distance (out). */
ORVO_API void G_discpo(CPOINT a, CPOINT b, double *d);

/** @brief Length of a control polygon: the sum of the G_discpp distances of
 *  P[i-1] and P[i], i = 1..n; 0 when n < 1 or P is null.
 *  @param P control points P[0..n] (in). @param n highest index (in).
 *  @param length the length (out). */
ORVO_API void G_discpl(const CPOINT *P, int32_t n, double *length);

/** @brief Length of a polyline: the sum of |P[i] - P[i-1]|, i = 1..n; 0 when
 *  n < 1 or P is null.
 *  @param P points P[0..n] (in). @param n highest index (in).
 *  @param length the length (out). */
ORVO_API void G_dispol(const POINT *P, int32_t n, double *length);

/** @brief Value a x + b y + c z + d of a plane equation at X: the signed
 *  distance of X when (a, b, c) is a unit vector (as from G_lsqpln).
 *  @param a, b, c, d plane coefficients (in). @param X point (in).
 *  @param value the value (out). */
ORVO_API void G_dispnp(double a, double b, double c, double d, POINT X, double *value);

/** @brief Distance from X to the unbounded line (its kind is ignored),
 *  through the foot of X on it.
 *  @param line line (in). @param X point (in). @param d the distance (out).
 *  @return 0 on success, or 1 with error 17 under "G_VECNOR" (|D| zero or
 *  not finite) or 11 under "G_DISPLN" (a division refused). */
ORVO_API int16_t G_displn(LINE line, POINT X, double *d);

/** @brief Distance from X to the plane, through the foot of X on it
 *  (computed as by G_prjppl).
 *  @param pln plane (in). @param X point (in). @param d the distance (out).
 *  @return 0 on success, or 1 with error 17 under "G_VECNOR" (|N| zero or
 *  not finite) or 11 under "G_DISPPL" (a division refused). */
ORVO_API int16_t G_disppl(PLANE pln, POINT X, double *d);

/** @brief Distance from X to the segment AB: to A when the foot of the
 *  perpendicular falls before A, to B when it falls beyond B, else the
 *  perpendicular distance. A segment shorter than POINT_TOLERANCE counts as
 *  its midpoint.
 *  @param X point (in). @param A, B segment ends (in). @param d the distance (out).
 *  @return 0 on success, or 1 with error 11 under "G_DISPAB" when the
 *  division by |B - A| is refused. */
ORVO_API int16_t G_dispab(POINT X, POINT A, POINT B, double *d);

/** @brief Perpendicular distance from X to the segment AB when the foot
 *  falls on the segment (ends included), else -1.0. A segment shorter than
 *  POINT_TOLERANCE counts as its midpoint (the distance to it).
 *  @param X point (in). @param A, B segment ends (in).
 *  @param d the distance or -1.0 (out).
 *  @return 0 on success, or 1 with error 11 under "G_DISQAB" when the
 *  division by |B - A| is refused. */
ORVO_API int16_t G_disqab(POINT X, POINT A, POINT B, double *d);

/** @brief Length of the diagonal of a box, from its min to its max corner.
 *  @param box box (in). @param d the length (out). */
ORVO_API void G_boxdia(BOX box, double *d);

/** @brief Extent of a point set: the diagonal of its bounding box; 0 when
 *  n < 0 or pts is null.
 *  @param pts points pts[0..n] (in). @param n highest index (in).
 *  @param extent the extent (out). */
ORVO_API void G_po1ext(const POINT *pts, int32_t n, double *extent);

/** @brief Extent of a point net: the diagonal of its bounding box; 0 when
 *  the net is empty (n or m < 0, or rows null).
 *  @param rows points rows[0..n][0..m] (in). @param n, m highest indices (in).
 *  @param extent the extent (out). */
ORVO_API void G_po2ext(POINT *const *rows, int32_t n, int32_t m, double *extent);

/** @brief Bounding box of a point polygon (min and max of each coordinate
 *  over pts[0..n]); an empty polygon (n < 0 or pts null) gives the zero box
 *  at the origin.
 *  @param ppl polygon (in). @param box the box (out). */
ORVO_API void G_polbox(PPOLYGON ppl, BOX *box);

/** @brief Bounding box of a point net over rows[0..n][0..m]; an empty net
 *  gives the zero box at the origin.
 *  @param net net (in). @param box the box (out). */
ORVO_API void G_netbox(PNET net, BOX *box);

/** @brief Box of two points grown by tol on all six sides.
 *  @param a, b points (in). @param tol margin, model units (in).
 *  @param box the box (out). */
ORVO_API void G_linbox(POINT a, POINT b, double tol, BOX *box);

/** @brief Centre of a box: 0.5 min corner + 0.5 max corner.
 *  @param box box (in). @param C the centre (out). */
ORVO_API void G_boxcen(BOX box, POINT *C);

/** @brief Overlap of two rectangles. With ox and oy the lengths of the common
 *  x and y ranges (negative when apart): ox * oy when both are >= tol, 0.0
 *  when both are >= -tol but one is below tol (touching), else -1.0
 *  (disjoint).
 *  @param r1, r2 rectangles (in). @param tol tolerance (in).
 *  @param overlap the overlap area, 0.0 or -1.0 (out). */
ORVO_API void G_bx2ovl(RECTANGLE r1, RECTANGLE r2, double tol, double *overlap);

/* ---- Elementary geometry: projections and intersections -----------------
 * found says whether a result exists; parallel input or no intersection is
 * status 0 with found 0, and the other outputs are then left unwritten.
 * Parameters are in units of the line's own D (the point is P + t D). */

/** @brief Intersection of a line with a plane.
 *  @param line line (in); kind 1 limits it to the segment t in [0, 1].
 *  @param pln plane (in). @param X the intersection point P + t D (out).
 *  @param t its parameter on the line, in units of D (out).
 *  @param found 1 when X exists, 0 when |cos| of the angle between D and N
 *  is below ZERO_TOLERANCE (parallel, or lying in the plane) or, for a
 *  segment, t falls outside [0, 1] (out).
 *  @return 0 on success, or 1 with error 17 under "G_VECNOR" (|D| or |N|
 *  zero or not finite) or 11 under "G_INTLNP" (a division for t refused). */
ORVO_API int16_t G_intlnp(LINE line, PLANE pln, POINT *X, double *t, int16_t *found);

/** @brief Foot of the perpendicular from X on a line (the plane through X
 *  with normal D cut with the line).
 *  @param line line (in); kind 1 limits the foot to the segment.
 *  @param X point (in). @param F the foot P + t D (out).
 *  @param t its parameter, in units of D (out).
 *  @param found 1 when F exists, 0 for a segment whose foot would lie
 *  outside t in [0, 1] (out).
 *  @return 0 on success, or 1 with error 17 under "G_VECNOR" (|D| zero or
 *  not finite) or 11 under "G_PRJPLN" (a division refused). */
ORVO_API int16_t G_prjpln(LINE line, POINT X, POINT *F, double *t, int16_t *found);

/** @brief Foot of the perpendicular from X on a plane (the line through X
 *  along N cut with the plane).
 *  @param pln plane (in). @param X point (in). @param F the foot (out;
 *  unchanged on failure).
 *  @return 0 on success, or 1 with error 17 under "G_VECNOR" (|N| zero or
 *  not finite) or 11 under "G_PRJPPL" (a division refused). */
ORVO_API int16_t G_prjppl(PLANE pln, POINT X, POINT *F);

/** @brief Closest approach of two lines: the points L1.P + s L1.D and
 *  L2.P + t L2.D nearest to each other, and X their midpoint (the
 *  intersection when the lines meet).
 *  @param L1, L2 lines (in); kind 1 limits a line to its segment.
 *  @param X the midpoint (out). @param s, t parameters of the closest points
 *  on L1 and L2, in units of each D (out).
 *  @param found 1 on success, 0 when the lines are parallel (the squared
 *  sine of their angle below ZERO_TOLERANCE) or the parameter on a kind-1
 *  line falls outside [0, 1] (out).
 *  @return 0 on success, or 1 with error 17 under "G_VECNOR" (a direction
 *  of zero or non-finite length) or 11 under "G_INTLNL" (a division refused). */
ORVO_API int16_t G_intlnl(LINE L1, LINE L2, POINT *X, double *s, double *t, int16_t *found);

/** @brief Crossing of the segments AB and CD in the x-y plane (z is ignored
 *  by the test). X is the midpoint of the crossing points on the two
 *  segments, so its z interpolates both.
 *  @param A, B first segment (in). @param C, D second segment (in).
 *  @param X the crossing (out).
 *  @param found 1 when the segments cross or touch (ends included), 0 when
 *  they miss or are parallel or collinear (|(B - A) x (D - C)| below
 *  ZERO_TOLERANCE, an absolute area) (out).
 *  @return 0 on success, or 1 with error 11 under "G_INTLSG" when a
 *  division for the crossing parameters is refused. */
ORVO_API int16_t G_intlsg(POINT A, POINT B, POINT C, POINT D, POINT *X, int16_t *found);

/** @brief First crossing of the segment AB with a point polygon in the x-y
 *  plane (G_intlsg per leg; leg k runs from pts[k] to pts[k+1], k = 0..n-1).
 *  The legs are tried in this order: leg (n stands for 0), the leg before it
 *  (cyclically), then all others from 0 on; the first crossing wins.
 *  @param ppl polygon pts[0..n] (in). @param A, B segment (in).
 *  @param leg leg to try first, 0..n (in). @param X the crossing (out).
 *  @param found 1 when a leg is crossed, 0 when none is or n = 0 (out;
 *  always written on success).
 *  @param position k + 1 for the crossed leg k: the index at which X would
 *  be inserted into the polygon (out).
 *  @return 0 on success, or 1 with error 14 under "G_INTCPL" (leg outside
 *  0..n, n < 0 or pts null) or 11 under "G_INTCPL" (a division refused). */
ORVO_API int16_t G_intcpl(PPOLYGON ppl, POINT A, POINT B, int32_t leg, POINT *X, int16_t *found,
                          int32_t *position);

/** @brief Whether the 2-D segments (x1, y1)-(x2, y2) and (x3, y3)-(x4, y4)
 *  cross or touch within tol. The x and y ranges of the segments, widened by
 *  tol, must overlap; then, with D the cross product of the two directions,
 *  each crossing parameter times D must lie within [-tol, D + tol] (D > 0)
 *  or [D - tol, tol] (D < 0): the slack on a parameter is tol / |D|.
 *  @param x1, y1, x2, y2 first segment (in). @param x3, y3, x4, y4 second
 *  segment (in). @param tol tolerance (in).
 *  @return 1 when they cross or touch, 0 otherwise, also when they are
 *  parallel (|D| below ZERO_TOLERANCE). No error is raised. */
ORVO_API int16_t G_dolsin(double x1, double y1, double x2, double y2, double x3, double y3,
                          double x4, double y4, double tol);

/** @brief Plane a x + b y + c z + d = 0 of a polygon: the normal by Newell's
 *  method over the polygon closed from pts[n] back to pts[0], (a, b, c) the
 *  unit normal, the plane through the mean of the points.
 *  @param pts points pts[0..n] (in). @param n highest index (in).
 *  @param a, b, c, d the plane (out; unchanged on failure).
 *  @return 0 on success, or 1 with error 11 under "G_LSQPLN" when n < 0,
 *  pts is null or the normal vanishes (collinear or coincident points) or
 *  is not finite. */
ORVO_API int16_t G_lsqpln(const POINT *pts, int32_t n, double *a, double *b, double *c, double *d);

/* ---- Elementary geometry: sides, containment and nearest legs ---------- */

/** @brief Whether two vectors point to the same side: a . b >= 0.
 *  @param a, b vectors (in).
 *  @return 1 when a . b >= 0 (including perpendicular), else 0. */
ORVO_API int16_t G_arevps(VECTOR a, VECTOR b);

/** @brief Side of X relative to a line, seen from +z (x-y parts only).
 *  @param line line (in). @param X point (in).
 *  @return 1 when X lies left of the line or on it (z of D x (X - P) >= 0),
 *  else 2. */
ORVO_API int16_t G_lipost(LINE line, POINT X);

/** @brief Side of X relative to a plane.
 *  @param pln plane (in). @param X point (in).
 *  @return 2 when X lies on the side N points to or on the plane
 *  (N . (X - P) >= 0), else 1. */
ORVO_API int16_t G_plpost(PLANE pln, POINT X);

/** @brief Whether a point polygon is closed.
 *  @param ppl polygon pts[0..n] (in).
 *  @return 1 when |pts[0] - pts[n]| <= POINT_TOLERANCE, else 0 (also for
 *  n < 0 or pts null). */
ORVO_API int16_t G_ispplc(PPOLYGON ppl);

/** @brief Whether a point net is closed in a direction: dir 1 when rows 0
 *  and n coincide point by point, dir 2 when columns 0 and m do (distances
 *  <= POINT_TOLERANCE).
 *  @param net net rows[0..n][0..m] (in). @param dir 1 or 2 (in).
 *  @return 1 when closed, else 0 (also for an empty net). A dir other than
 *  1 or 2 records error 13 under "G_ISNTLC" and returns 0. */
ORVO_API int16_t G_isntlc(PNET net, int16_t dir);

/** @brief Whether (x, y) lies inside a point polygon in the x-y plane, by
 *  the parity of the legs pts[i-1]pts[i] (i = 1..n) crossed by the ray
 *  towards +x. No closing leg is added: the outline should end where it
 *  starts. A vertex within POINT_TOLERANCE below the ray counts as above
 *  it, so a vertex on the ray is crossed once; points on the outline may go
 *  either way.
 *  @param ppl polygon (in). @param x, y the point (in).
 *  @return 1 inside, 0 outside (also for n < 1 or pts null). */
ORVO_API int16_t G_ispppl(PPOLYGON ppl, double x, double y);

/** @brief Point-in-polygon test of a grid: inside[i][j] = G_ispppl of
 *  (grid[i][j].x, grid[i][j].y). A grid whose box misses the polygon's box
 *  is all 0 (so a grid lying within POINT_TOLERANCE above a horizontal top
 *  edge may read 0 where G_ispppl gives 1); otherwise the ray crossings are
 *  formed once per run of grid points at the same y, in a private scratch
 *  array.
 *  @param ppl polygon (in). @param grid points grid[0..n][0..m] (in).
 *  @param n, m highest indices (in).
 *  @param inside caller's table inside[0..n][0..m] (out).
 *  @return 0 on success (also, with nothing written, for a null grid or
 *  inside or n, m < 0), or 1 with error 15 under "S_GETR1D" when the
 *  scratch array cannot be allocated. */
ORVO_API int16_t G_ispgpl(PPOLYGON ppl, POINT *const *grid, int32_t n, int32_t m,
                          int32_t *const *inside);

/** @brief Grid points near the outline of a polygon: dist[i][j] = the
 *  smallest G_dispab distance from grid[i][j] to a leg pts[k-1]pts[k]
 *  (k = 1..n) when it is <= tol, else -1.0. The grid is taken as regular
 *  and axis-parallel (steps from grid[1][0] and grid[0][1] minus
 *  grid[0][0]): only the points indexed within each leg's box grown by tol
 *  (G_linbox), plus one index of margin, are measured.
 *  @param ppl polygon (in). @param grid points grid[0..n][0..m] (in).
 *  @param n, m highest indices (in). @param tol distance limit (in).
 *  @param dist caller's table dist[0..n][0..m] (out; all -1.0 when the polygon has no leg).
 *  @return 0 on success (also, with nothing written, for a null grid or
 *  dist or n, m < 0), or 1 with error 11 under "G_ISPGPG" when a division
 *  (index range or distance) is refused. */
ORVO_API int16_t G_ispgpg(PPOLYGON ppl, POINT *const *grid, int32_t n, int32_t m, double tol,
                          double *const *dist);

/** @brief Nearest leg of a point polygon: of the legs pts[j]pts[j+1]
 *  (j = 0..n-1) on whose segment the foot of the perpendicular from X falls,
 *  the one with the nearest foot; the first of equally near legs wins, and
 *  legs of zero length are passed over.
 *  @param ppl polygon (in). @param X point (in).
 *  @param F the foot (1 - t) pts[j] + t pts[j+1] (out). @param j leg index
 *  (out). @param t parameter of F on the leg, in [0, 1] (out).
 *  @param found 1 when a leg qualifies, else 0 with F, j, t unwritten (out).
 *  @return 0 on success, or 1 with error 11 under "G_POLLEG" (a division
 *  refused) or 17 under "G_VECNOR" (a leg of non-finite length). */
ORVO_API int16_t G_polleg(PPOLYGON ppl, POINT X, POINT *F, int32_t *j, double *t, int16_t *found);

/** @brief Nearest leg of a point net, as G_polleg: direction 1 legs run from
 *  (i, j) to (i+1, j), direction 2 legs from (i, j) to (i, j+1). Within a
 *  direction the first visited of equally near legs wins (direction 1 by
 *  column j, then row i; direction 2 by row i, then column j); between the
 *  two directions a tie goes to direction 2.
 *  @param net net rows[0..n][0..m] (in). @param X point (in).
 *  @param F the foot (1 - t) start + t end (out). @param i, j indices of the
 *  leg's start (out). @param dir 1 or 2 (out). @param t parameter of F on
 *  the leg, in [0, 1] (out).
 *  @param found 1 when a leg qualifies, else 0 with the others unwritten (out).
 *  @return 0 on success, or 1 with error 11 under "G_NETLEG" (a division
 *  refused) or 17 under "G_VECNOR" (a leg of non-finite length). */
ORVO_API int16_t G_netleg(PNET net, POINT X, POINT *F, int32_t *i, int32_t *j, int16_t *dir,
                          double *t, int16_t *found);

#ifdef __cplusplus
}
#endif

#endif /* ORVO_G_H */
