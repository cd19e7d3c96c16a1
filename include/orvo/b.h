/** @file b.h
 * @brief Orvo B_ family: Bezier, Bernstein and power-basis utilities. */
#ifndef ORVO_B_H
#define ORVO_B_H

#include "records.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Bernstein polynomials and Bezier evaluation ------------------------
 * A Bezier curve of degree p is P[0..p]; a patch is net[0..p][0..q], rows
 * along u. Parameters lie in [0, 1]. */

/** @brief One Bernstein polynomial B(i, p) at u.
 *  @param p (in) degree; @param i (in) index, 0..p; @param u (in) in [0, 1].
 *  @param value (out) B(i, p)(u) (exactly 0 or 1 at u = 0 and u = 1).
 *  @return 0, or 1 with, under "B_BERNST", 7 (value null, i outside 0..p)
 *  or 6 (u outside [0, 1] or NaN); 15 "S_GETR1D" (scratch). */
ORVO_API int16_t B_bernst(int16_t p, int16_t i, double u, double *value);

/** @brief All Bernstein polynomials B(0..p, p) at u.
 *  @param p (in) degree; @param u (in) in [0, 1].
 *  @param values (out) caller's array values[0..p].
 *  @return 0, or 1 with, under "B_ALLBER", 7 (values null), 13 (p < 0) or
 *  6 (u outside [0, 1] or NaN). */
ORVO_API int16_t B_allber(int16_t p, double u, double *values);

/** @brief Point of the Bezier curve P[0..p] at u: the Bernstein sum of the
 *  homogeneous points (marker rules of A_comcpt), then A_euclid.
 *  @param P (in) control points P[0..p], all of one kind.
 *  @param p (in) degree; @param u (in) parameter in [0, 1].
 *  @param point (out) Euclidean point (z = 0 for a 2-D curve).
 *  @return 0, or 1 with, under "B_CUREVN", 7 (P or point null), 13 (p < 0)
 *  or 6 (u outside [0, 1]), 11 (the weights sum to 0 at u: a point at
 *  infinity, point unchanged); 15 "S_GETR1D". */
ORVO_API int16_t B_curevn(const CPOINT *P, int16_t p, double u, POINT *point);

/** @brief Value of the scalar Bezier function values[0..p] at u.
 *  @param values (in) coefficients [0..p]; @param p (in) degree.
 *  @param u (in) parameter in [0, 1]; @param result (out) the value.
 *  @return 0, or 1 with, under "B_CFNEVN", 7 (null pointer), 13 (p < 0) or
 *  6 (u outside [0, 1]); 15 "S_GETR1D". */
ORVO_API int16_t B_cfnevn(const double *values, int16_t p, double u, double *result);

/** @brief Point of the Bezier patch net[0..p][0..q] at (u, v): the first
 *  index runs along u (degree p), the second along v (degree q).
 *  @param net (in) control net net[0..p][0..q], all points of one kind.
 *  @param p,q (in) degrees in u and v; @param u,v (in) parameters in [0, 1].
 *  @param point (out) Euclidean point (z = 0 for a 2-D patch).
 *  @return 0, or 1 with, under "B_SUREVN", 7 (null pointer), 13 (p or q < 0)
 *  or 6 (u or v outside [0, 1]), 11 (the weights sum to 0 at (u, v),
 *  point unchanged); 15 "S_GETR1D". */
ORVO_API int16_t B_surevn(CPOINT *const *net, int16_t p, int16_t q, double u, double v,
                          POINT *point);

/** @brief Value of the scalar Bezier patch values[0..p][0..q] at (u, v),
 *  first index along u, second along v.
 *  @param values (in) coefficients values[0..p][0..q].
 *  @param p,q (in) degrees in u and v; @param u,v (in) parameters in [0, 1].
 *  @param result (out) the value.
 *  @return 0, or 1 with, under "B_SFNEVN", 7 (null pointer), 13 (p or q < 0)
 *  or 6 (u or v outside [0, 1]); 15 "S_GETR1D". */
ORVO_API int16_t B_sfnevn(double *const *values, int16_t p, int16_t q, double u, double v,
                          double *result);

/* ---- Power basis ----------------------------------------------------------
 * Bezier to power matrix and its inverse (lower-left), power-basis
 * reparametrisation from [a, b] to [c, d] and back (upper-right). The
 * conversions take a matrix record that is used as held, or filled in ws
 * when it holds no matrix (null: a private matrix). The matrix routines
 * write their record by check-or-allocate: one holding no matrix gets a
 * table in ws; one holding a matrix is reused when large enough (else 9).
 * Matrices act on columns of coefficients: row i gives coefficient i. */

/** @brief Bezier-to-power matrix of degree p: power coefficients (of t^0..
 *  t^p, t in [0, 1]) = M times the Bezier points.
 *  @param p (in) degree.
 *  @param M (out) lower-left (type 1), highest indices p, p, bw p+1:
 *  M[i][j] = (-1)^(i-j) C(p, i) C(i, j) for j <= i, 0 above the diagonal.
 *  @param ws (in/out) workspace that owns the table of an M holding none.
 *  @return 0, or 1 with, under "B_POWMAT", 13 (p < 0), 7 (M null), 9 (held
 *  record too small) or 11 (entries overflow); 15 "S_GETR2D". */
ORVO_API int16_t B_powmat(int16_t p, RMATRIX *M, STACKS *ws);

/** @brief Power-to-Bezier matrix of degree p, the inverse of B_powmat's:
 *  Bezier points = M times the power coefficients.
 *  @param p (in) degree.
 *  @param M (out) lower-left (type 1), highest indices p, p:
 *  M[i][j] = C(i, j) / C(p, j) for j <= i, 0 above the diagonal.
 *  @param ws (in/out) workspace that owns the table of an M holding none.
 *  @return 0, or 1 with, under "B_IPOMAT", 13 (p < 0), 7 (M null), 9 (held
 *  record too small) or 11 (entries overflow); 15 "S_GETR2D". */
ORVO_API int16_t B_ipomat(int16_t p, RMATRIX *M, STACKS *ws);

/** @brief Reparametrisation of power coefficients: with t = L u + K mapping
 *  [a, b] onto [c, d] (L = (d - c)/(b - a), K = (b c - a d)/(b - a)), the
 *  coefficients in u of a polynomial of degree p are R times those in t.
 *  @param p (in) degree.
 *  @param a,b (in) the interval of u; @param c,d (in) the interval of t.
 *  @param R (out) upper-right (type 2), highest indices p, p:
 *  R[i][j] = C(j, i) L^i K^(j-i) for i <= j, 0 below the diagonal.
 *  @param ws (in/out) workspace that owns the table of an R holding none.
 *  @return 0, or 1 with, under "B_REPMAT", 13 (p < 0), 7 (R null), 14
 *  (b - a below 1e-12), 11 (L, K or an entry not finite) or 9; 15
 *  "S_GETR2D". */
ORVO_API int16_t B_repmat(int16_t p, double a, double b, double c, double d, RMATRIX *R,
                          STACKS *ws);

/** @brief The reverse reparametrisation: B_repmat with the intervals
 *  exchanged (t maps [c, d] onto [a, b], L = (b - a)/(d - c),
 *  K = (a d - b c)/(d - c)).
 *  @param p (in) degree.
 *  @param a,b (in) the interval of t; @param c,d (in) the interval of u.
 *  @param R (out) upper-right (type 2), highest indices p, p.
 *  @param ws (in/out) workspace that owns the table of an R holding none.
 *  @return 0, or 1 with, under "B_IREMAT", 13 (p < 0), 7 (R null), 14
 *  (d - c below 1e-12), 11 or 9; 15 "S_GETR2D". */
ORVO_API int16_t B_iremat(int16_t p, double a, double b, double c, double d, RMATRIX *R,
                          STACKS *ws);

/** @brief Power coefficients of the Bezier curve P[0..p] taken over [a, b]:
 *  C(u) = sum coef[j] u^j for u in [a, b] (coef = R M P, R = B_repmat(p, a,
 *  b, 0, 1)).
 *  @param P (in) control points P[0..p]; @param p (in) degree.
 *  @param M (in/out) null (a private matrix), a record holding no matrix
 *  (filled with B_powmat's matrix in ws, to reuse) or a held full or
 *  lower-left matrix with highest indices p, p.
 *  @param a,b (in) the parameter interval of the curve (b - a >= 1e-12).
 *  @param coef (out) caller's array coef[0..p]; may be P.
 *  @param ws (in/out) workspace that owns the table of an M holding none.
 *  @return 0, or 1 with, under "B_CBEPOW", 13 (p < 0), 7 (P or coef null),
 *  14 (b - a below 1e-12, a held M of another shape), 11 or 9 (filling M);
 *  15 from the allocators. */
ORVO_API int16_t B_cbepow(const CPOINT *P, int16_t p, RMATRIX *M, double a, double b, CPOINT *coef,
                          STACKS *ws);

/** @brief Bezier points of the power-form polynomial coef[0..p] over [a, b]
 *  (the inverse of B_cbepow): P = MI RI coef, RI = B_iremat(p, a, b, 0, 1).
 *  @param coef (in) power coefficients coef[0..p]; @param p (in) degree.
 *  @param MI (in/out) null, a record holding no matrix (filled with
 *  B_ipomat's matrix in ws) or a held full or lower-left p, p matrix.
 *  @param a,b (in) the parameter interval of coef (b - a >= 1e-12).
 *  @param P (out) caller's array P[0..p]; may be coef.
 *  @param ws (in/out) workspace that owns the table of an MI holding none.
 *  @return 0, or 1 with, under "B_CPOBEZ", 13 (p < 0), 7 (null array), 14
 *  (a held MI of another shape), 11 or 9 (filling MI); 15 from the
 *  allocators. */
ORVO_API int16_t B_cpobez(const CPOINT *coef, int16_t p, RMATRIX *MI, double a, double b, CPOINT *P,
                          STACKS *ws);

/** @brief Power coefficients of the patch net[0..p][0..q] over [a, b] x
 *  [c, d]: coef = Tu net Tv^T with Tu, Tv the maps of B_cbepow for u
 *  (degree p, [a, b]) and v (degree q, [c, d]).
 *  @param net (in) control net net[0..p][0..q]; @param p,q (in) degrees.
 *  @param Mu, Mv (in/out) Bezier-to-power matrices of degrees p and q, as
 *  M of B_cbepow.
 *  @param a,b (in) interval of u; @param c,d (in) interval of v.
 *  @param coef (out) caller's net coef[0..p][0..q] (coefficient of
 *  u^i v^j at [i][j]); may be net.
 *  @param ws (in/out) workspace that owns the tables of Mu, Mv holding none.
 *  @return 0, or 1 with the codes of B_cbepow under "B_SBEPOW" (for either
 *  direction); 15 from the allocators. */
ORVO_API int16_t B_sbepow(CPOINT *const *net, int16_t p, int16_t q, RMATRIX *Mu, RMATRIX *Mv,
                          double a, double b, double c, double d, CPOINT **coef, STACKS *ws);

/** @brief Bezier patch net[0..p][0..q] of the power coefficients
 *  coef[0..p][0..q] over [a, b] x [c, d] (the inverse of B_sbepow).
 *  @param coef (in) power coefficients coef[0..p][0..q] (of u^i v^j at
 *  [i][j]); @param p,q (in) degrees in u and v.
 *  @param MIu, MIv (in/out) power-to-Bezier matrices of degrees p and q, as
 *  MI of B_cpobez.
 *  @param a,b (in) interval of u; @param c,d (in) interval of v.
 *  @param net (out) caller's net [0..p][0..q]; may be coef.
 *  @param ws (in/out) workspace that owns the tables of MIu, MIv holding
 *  none.
 *  @return 0, or 1 with the codes of B_cpobez under "B_SPOBEZ"; 15 from the
 *  allocators. */
ORVO_API int16_t B_spobez(CPOINT *const *coef, int16_t p, int16_t q, RMATRIX *MIu, RMATRIX *MIv,
                          double a, double b, double c, double d, CPOINT **net, STACKS *ws);

/* ---- Bezier degree change --------------------------------------------------
 * Elevation from p to p + t (E: the (p+t+1) x (p+1) matrix of B_cdemat,
 * built privately when it holds none) and reduction from p to p - 1 with
 * the coefficients of B_degrco. dir 1: the column k of a net, dir 2: the
 * row k. */

/** @brief Degree elevation matrix from p to p + t: elevated points
 *  Q[0..p+t] = E times P[0..p].
 *  @param p (in) degree; @param t (in) the degree increase.
 *  @param E (out, check-or-allocate in ws) full (type 0), highest indices
 *  p+t, p: E[i][j] = C(p, j) C(t, i-j) / C(p+t, i) for max(0, i-t) <= j <=
 *  min(p, i), else 0.
 *  @param ws (in/out) workspace that owns the table of an E holding none.
 *  @return 0, or 1 with, under "B_CDEMAT", 13 (p or t < 0), 7 (E null), 9
 *  (held record too small) or 11 (entries overflow); 15 "S_GETR2D". */
ORVO_API int16_t B_cdemat(int16_t p, int16_t t, RMATRIX *E, STACKS *ws);

/** @brief Elevates the Bezier curve P[0..p] to degree p + t and writes the
 *  points Q[i0..i1] only (all four fields combined, marker rules of
 *  A_updcpt). An empty range (i1 < i0) does nothing.
 *  @param P (in) control points P[0..p]; @param p (in) degree.
 *  @param t (in) the degree increase.
 *  @param E (in) null or holding no matrix (a private one is built; E is
 *  not filled), or B_cdemat's full matrix with highest indices p+t, p.
 *  @param i0,i1 (in) first and last index of the elevated points written.
 *  @param Q (out) caller's array with room for index i1 (at most p+t); may
 *  overlap P.
 *  @return 0, or 1 with, under "B_CDEGEL", 13 (p or t < 0), 7 (i0..i1
 *  outside 0..p+t, P or Q null), 14 (E of another shape) or 11; 15 from
 *  the allocators. */
ORVO_API int16_t B_cdegel(const CPOINT *P, int16_t p, int16_t t, const RMATRIX *E, int32_t i0,
                          int32_t i1, CPOINT *Q);

/** @brief Elevates one line of a net from degree p to p + t, as B_cdegel:
 *  dir 1 the column k (Q[i][k], i = i0..i1, from P[0..p][k]), dir 2 the row
 *  k (Q[k][i] from P[k][0..p]). Other entries of Q are not touched.
 *  @param P (in) the net; @param p (in) degree of the line.
 *  @param t (in) the degree increase.
 *  @param E (in) as for B_cdegel; @param dir (in) 1 column, 2 row.
 *  @param i0,i1 (in) first and last index of the elevated points written.
 *  @param k (in) index of the column (dir 1) or row (dir 2).
 *  @param Q (out) caller's net; may be P.
 *  @return 0, or 1 with, under "B_SDEGEL", 13 (p or t < 0, dir not 1 or 2),
 *  7 (i0..i1 outside 0..p+t, k < 0, P or Q null), 14 (E of another shape)
 *  or 11; 15 from the allocators. */
ORVO_API int16_t B_sdegel(CPOINT *const *P, int16_t p, int16_t t, const RMATRIX *E, int16_t dir,
                          int32_t i0, int32_t i1, int32_t k, CPOINT **Q);

/** @brief Coefficients of the reduction from degree p to p - 1, with
 *  r = (p - 1) / 2 (integer division): A1[i] = p / (p - i), B1[i] = 1 - A1[i]
 *  for i = 1..r; A2[i] = p / (i + 1), B2[i] = 1 - A2[i] for i = r..p-2.
 *  @param p (in) the degree reduced from.
 *  @param A1, B1, A2, B2 (out) caller's arrays with highest index p - 2 (at
 *  least r). Nothing is written (and no error recorded) when p < 1 or a
 *  pointer is null. */
ORVO_API void B_degrco(int16_t p, double *A1, double *B1, double *A2, double *B2);

/** @brief Reduces the Bezier curve Q[0..p] to P[0..p-1] with the two
 *  recurrences of B_degrco's coefficients meeting at r = (p - 1) / 2, and
 *  bounds the deviation.
 *  @param Q (in) control points Q[0..p]; @param p (in) degree (at least 2).
 *  @param A1, B1, A2, B2 (in) from B_degrco(p).
 *  @param P (out) caller's array P[0..p-1]; may overlap Q.
 *  @param err (out) bound of the distance between the two curves.
 *  @return 0, or 1 with, under "B_CDEGRE", 13 (p < 2) or 7 (a null pointer);
 *  15 "S_GETC1D". */
ORVO_API int16_t B_cdegre(const CPOINT *Q, int16_t p, const double *A1, const double *B1,
                          const double *A2, const double *B2, CPOINT *P, double *err);

/** @brief Reduces every line k = 0..m of a net from degree p to p - 1 as
 *  B_cdegre: dir 1 the columns (Q[0..p][k] to P[0..p-1][k]), dir 2 the rows
 *  (Q[k][0..p] to P[k][0..p-1]).
 *  @param Q (in) the net; @param p (in) degree of the lines (at least 2).
 *  @param dir (in) 1 columns, 2 rows; @param m (in) highest line index.
 *  @param A1, B1, A2, B2 (in) from B_degrco(p); @param P (out) caller's
 *  net; may be Q. @param err (out) the largest bound over the lines.
 *  @return 0, or 1 with, under "B_SDEGRE", 13 (p < 2, dir not 1 or 2) or 7
 *  (a null pointer, m < 0); 15 "S_GETC1D". */
ORVO_API int16_t B_sdegre(CPOINT *const *Q, int16_t p, const double *A1, const double *B1,
                          const double *A2, const double *B2, int16_t dir, int32_t m, CPOINT **P,
                          double *err);

/* ---- Conic arcs --------------------------------------------------------
 * A rational quadratic arc P0, P1, P2 with end weights 1 and middle weight
 * w; w = 0 makes P1 a direction (a half ellipse). */

/** @brief Middle control point and weight of the conic arc from P0 to P2
 *  with end tangents T0, T2 that passes through P. P1 is where the tangent
 *  lines meet; parallel tangents give w1 = 0 and P1 a direction along T0.
 *  @param P0, P2 (in) end points; @param T0, T2 (in) end tangents (model
 *  space, any length); @param P (in) a point of the arc.
 *  @param P1 (out) middle point (or direction); @param w1 (out) its weight.
 *  @return 0, or 1 with, under "B_MAKCON", 7 (P1 or w1 null), 13 (a zero
 *  tangent or chord, P at P1, lines that do not meet, P giving no chord
 *  parameter in [0, 1)) or 11 (a division refused by M_chkfop). */
ORVO_API int16_t B_makcon(POINT P0, VECTOR T0, POINT P2, VECTOR T2, POINT P, POINT *P1, double *w1);

/** @brief Splits the arc P[0..2] with middle weight w at its shoulder into
 *  the arcs Q[0..2] and R[0..2] (Q[2] = R[0] the shoulder), both with end
 *  weights 1 and middle weight wq = wr = sqrt((1 + w) / 2) (sqrt(2)/2 for
 *  w = 0).
 *  @param P (in) Euclidean points P[0..2]; Q or R may be P.
 *  @param w (in) middle weight of P, above -1 (0: P[1] is a direction).
 *  @param Q, R (out) caller's arrays [0..2]; @param wq, wr (out) weights.
 *  Nothing is written when a pointer is null (error 7) or w <= -1 (error
 *  11), both under "B_SPLCON". */
ORVO_API void B_splcon(const POINT *P, double w, POINT *Q, double *wq, POINT *R, double *wr);

/* ---- Subdivision, arc length and interpolation ------------------------- */

/** @brief De Casteljau split of the Bezier curve P[0..p] at u into the
 *  parts over [0, u] and [u, 1], each again a Bezier curve over [0, 1].
 *  @param P (in) control points P[0..p]; @param p (in) degree.
 *  @param u (in) split parameter in [0, 1].
 *  @param L (out) caller's array L[0..p], the left part; may be P.
 *  @param R (out) caller's array R[0..p], the right part; may be P.
 *  @return 0, or 1 with, under "B_CSPLIT", 7 (null pointer, L == R), 13
 *  (p < 0) or 6 (u outside [0, 1]). */
ORVO_API int16_t B_csplit(const CPOINT *P, int16_t p, double u, CPOINT *L, CPOINT *R);

/** @brief Recursive length measure of P[0..p] (Euclidean points): a piece
 *  whose polygon and chord lengths differ by more than the tolerance is
 *  halved (at most 20 levels deep); each final piece adds chord + polygon.
 *  @param P (in) control points P[0..p]; @param p (in) degree.
 *  @param tol (in/out) difference allowed in; the difference reached out
 *  (sum over the final pieces).
 *  @param len (in/out) accumulated sum (twice the length estimate).
 *  @return 0, or 1 with, under "B_RECLEN", 7 (null pointer) or 13 (p < 0);
 *  15 "S_GETC1D". */
ORVO_API int16_t B_reclen(const CPOINT *P, int16_t p, double *tol, double *len);

/** @brief Arc length of the Bezier curve P[0..p]: B_reclen from zero with
 *  tolerance 2 tol, halved (the mean of chord and polygon lengths).
 *  @param P (in) control points P[0..p]; @param p (in) degree.
 *  @param tol (in) allowed difference of chord and polygon lengths.
 *  @param len (out) the length (model space units).
 *  @return 0, or 1 with, under "B_ARCLEN", 7 (null pointer) or 13 (p < 0);
 *  15 "S_GETC1D". */
ORVO_API int16_t B_arclen(const CPOINT *P, int16_t p, double tol, double *len);

/** @brief Bezier curve of degree n through Q[0..n], at parameters in [0, 1]
 *  proportional to the accumulated point distances (n = 0: P[0] = Q[0]).
 *  @param Q (in) points Q[0..n]; @param n (in) the degree.
 *  @param P (out) caller's array P[0..n],
 *  non-rational (w = -DBL_MAX). @param ws unused for the result.
 *  @return 0, or 1 with, under "B_GCURIN", 7 (null pointer), 13 (n < 0) or
 *  11 (all points coincide, two neighbours coincide); 11 "M_LUDCMP" or
 *  "M_FORBAC" (singular system); 15 from the allocators. */
ORVO_API int16_t B_gcurin(const POINT *Q, int16_t n, CPOINT *P, STACKS *ws);

#ifdef __cplusplus
}
#endif

#endif /* ORVO_B_H */
