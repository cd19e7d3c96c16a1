/** @file m.h
 * @brief Orvo M_ family: matrices, linear algebra, sorting and the
 * floating-point guard. */
#ifndef ORVO_M_H
#define ORVO_M_H

#include "records.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Floating-point guard ---------------------------------------------- */
/** @brief Tells whether a op b can be formed safely in doubles; consulted
 *  before divisions and reciprocals.
 *  @param a, b the operands (in).
 *  @param op 1 a + b, 2 a - b, 3 a * b, 4 a / b.
 *  @return 1 when the operation is unsafe: an operand not finite, a result
 *  that would overflow (for products and quotients also one that would
 *  underflow below the smallest normalised double; compared in logarithms),
 *  b == 0 for a quotient, or op outside 1..4; else 0. Sets no error: the
 *  caller raises 11 (17 for vectors) under its own tag. */
ORVO_API int16_t M_chkfop(double a, double b, int16_t op);

/* ---- Matrix records ----------------------------------------------------
 * Four kinds (RMATRIX double, IMATRIX int32_t, PMATRIX POINT, CMATRIX
 * CPOINT elements) with the fields n, m (highest row and column index), a
 * (row-pointer table a[0..n]), type (ORVO_FULL, ORVO_LOWERLEFT,
 * ORVO_UPPERRIGHT, ORVO_BANDED) and bw (stored entries per row of a banded
 * matrix). A record holds no matrix when n < 0, m < 0, a is null or
 * bw < 1. Element tables live in a workspace; a record never frees one.
 * rec must not be null. */

/** @brief Stores all five fields of a real matrix record.
 *  @param rec (out) the record.
 *  @param n, m highest row and column index.
 *  @param a row-pointer table a[0..n] (caller's storage; kept, not copied).
 *  @param type storage type 0..3. @param bw band width.
 *  Nothing is checked and no error is set. */
ORVO_API void M_makrma(RMATRIX *rec, int32_t n, int32_t m, double **a, int32_t type, int32_t bw);
/** @brief Puts a real matrix record into the state "holds no matrix".
 *  @param rec (out) gets n = m = -1, a = null, bw = 0; type is left as it
 *  was. A table it referred to is not released. */
ORVO_API void M_inirma(RMATRIX *rec);
/** @brief Redefines the shape of a real matrix record; its table stays.
 *  @param rec (in/out) the record.
 *  @param n, m new highest row and column index.
 *  @param type new storage type. @param bw new band width.
 *  Nothing is checked against the table's size (M_rmachk does that). */
ORVO_API void M_rmadef(RMATRIX *rec, int32_t n, int32_t m, int32_t type, int32_t bw);
/** @brief Tests whether a real matrix record holds no matrix.
 *  @param rec (in) the record.
 *  @return 1 when n < 0, m < 0, a is null or bw < 1; else 0. */
ORVO_API int16_t M_isrman(const RMATRIX *rec);
/** @brief Allocates a fresh element table for a real matrix record.
 *  @param rec (out) gets n, m, the table, type and bw; unchanged on failure.
 *  @param n, m highest row and column index. @param type storage type.
 *  @param bw band width: type 3 gets rows a[i][0..bw-1], the other types
 *  rows a[i][0..m].
 *  @param ws (in/out) workspace that owns the table.
 *  @return 0, or 1 with error 15 under "S_GETR2D" (out of memory, or a size
 *  that cannot be represented). */
ORVO_API int16_t M_getrma(RMATRIX *rec, int32_t n, int32_t m, int32_t type, int32_t bw, STACKS *ws);
/** @brief Check-or-allocate for a real matrix output record.
 *  @param rec (in/out) a record holding a matrix is reused when n <= rec.n,
 *  m <= rec.m and its current rows are long enough (bw entries for type 3,
 *  m + 1 otherwise), then redefined as (n, m, type, bw): a later, larger
 *  request fails. A record holding none is allocated as by M_getrma.
 *  @param n, m, type, bw the shape required. @param name caller's tag.
 *  @param ws (in/out) workspace for a fresh table.
 *  @return 0, or 1 with error 14 under name (null rec, or null ws when a
 *  table must be allocated), 9 under name (record too small; left
 *  unchanged) or 15 under "S_GETR2D" (allocation). */
ORVO_API int16_t M_rmachk(RMATRIX *rec, int32_t n, int32_t m, int32_t type, int32_t bw,
                          const char *name, STACKS *ws);
/** @brief Reads all five fields of a real matrix record.
 *  @param rec (in) the record.
 *  @param n, m, a, type, bw (out) the fields; a null pointer is skipped. */
ORVO_API void M_rmabre(const RMATRIX *rec, int32_t *n, int32_t *m, double ***a, int32_t *type,
                       int32_t *bw);
/** @brief Reads the highest row and column index of a real matrix record.
 *  @param rec (in) the record.
 *  @param n, m (out) rec.n and rec.m; a null pointer is skipped. */
ORVO_API void M_rmaind(const RMATRIX *rec, int32_t *n, int32_t *m);
/** @brief Reads the row-pointer table of a real matrix record.
 *  @param rec (in) the record.
 *  @param a (out, not null) rec.a (null when the record has no table). */
ORVO_API void M_rmarmp(const RMATRIX *rec, double ***a);

/** @brief M_makrma for an integer matrix record (int32_t elements).
 *  @param rec (out). @param n, m, a, type, bw the fields, stored as given. */
ORVO_API void M_makima(IMATRIX *rec, int32_t n, int32_t m, int32_t **a, int32_t type, int32_t bw);
/** @brief M_inirma for an integer matrix record: n = m = -1, a = null,
 *  bw = 0, type kept.
 *  @param rec (out) the record. */
ORVO_API void M_iniima(IMATRIX *rec);
/** @brief M_rmadef for an integer matrix record; the table stays.
 *  @param rec (in/out). @param n, m, type, bw the new shape, unchecked. */
ORVO_API void M_imadef(IMATRIX *rec, int32_t n, int32_t m, int32_t type, int32_t bw);
/** @brief M_isrman for an integer matrix record.
 *  @param rec (in).
 *  @return 1 when n < 0, m < 0, a is null or bw < 1; else 0. */
ORVO_API int16_t M_isiman(const IMATRIX *rec);
/** @brief M_getrma for an integer matrix record (rows of bw entries for
 *  type 3, m + 1 otherwise, in ws).
 *  @param rec (out) unchanged on failure. @param n, m, type, bw the shape.
 *  @param ws (in/out) workspace that owns the table.
 *  @return 0, or 1 with error 15 under "S_GETI2D". */
ORVO_API int16_t M_getima(IMATRIX *rec, int32_t n, int32_t m, int32_t type, int32_t bw, STACKS *ws);
/** @brief M_rmachk for an integer matrix output record.
 *  @param rec (in/out) reused and redefined, or allocated when it holds none.
 *  @param n, m, type, bw the shape required. @param name caller's tag.
 *  @param ws (in/out) workspace for a fresh table.
 *  @return 0, or 1 with error 9 under name (record too small; left
 *  unchanged) or 15 under "S_GETI2D". */
ORVO_API int16_t M_imachk(IMATRIX *rec, int32_t n, int32_t m, int32_t type, int32_t bw,
                          const char *name, STACKS *ws);
/** @brief M_rmabre for an integer matrix record.
 *  @param rec (in).
 *  @param n, m, a, type, bw (out) the fields; a null pointer is skipped. */
ORVO_API void M_imabre(const IMATRIX *rec, int32_t *n, int32_t *m, int32_t ***a, int32_t *type,
                       int32_t *bw);
/** @brief M_rmaind for an integer matrix record.
 *  @param rec (in). @param n, m (out) rec.n, rec.m; a null one is skipped. */
ORVO_API void M_imaind(const IMATRIX *rec, int32_t *n, int32_t *m);
/** @brief M_rmarmp for an integer matrix record.
 *  @param rec (in). @param a (out, not null) rec.a. */
ORVO_API void M_imaimp(const IMATRIX *rec, int32_t ***a);

/** @brief M_makrma for a point matrix record (POINT elements).
 *  @param rec (out). @param n, m, a, type, bw the fields, stored as given. */
ORVO_API void M_makpma(PMATRIX *rec, int32_t n, int32_t m, POINT **a, int32_t type, int32_t bw);
/** @brief M_inirma for a point matrix record: n = m = -1, a = null,
 *  bw = 0, type kept.
 *  @param rec (out) the record. */
ORVO_API void M_inipma(PMATRIX *rec);
/** @brief M_rmadef for a point matrix record; the table stays.
 *  @param rec (in/out). @param n, m, type, bw the new shape, unchecked. */
ORVO_API void M_pmadef(PMATRIX *rec, int32_t n, int32_t m, int32_t type, int32_t bw);
/** @brief M_isrman for a point matrix record.
 *  @param rec (in).
 *  @return 1 when n < 0, m < 0, a is null or bw < 1; else 0. */
ORVO_API int16_t M_ispman(const PMATRIX *rec);
/** @brief M_getrma for a point matrix record (rows of bw entries for
 *  type 3, m + 1 otherwise, in ws).
 *  @param rec (out) unchanged on failure. @param n, m, type, bw the shape.
 *  @param ws (in/out) workspace that owns the table.
 *  @return 0, or 1 with error 15 under "S_GETP2D". */
ORVO_API int16_t M_getpma(PMATRIX *rec, int32_t n, int32_t m, int32_t type, int32_t bw, STACKS *ws);
/** @brief M_rmachk for a point matrix output record.
 *  @param rec (in/out) reused and redefined, or allocated when it holds none.
 *  @param n, m, type, bw the shape required. @param name caller's tag.
 *  @param ws (in/out) workspace for a fresh table.
 *  @return 0, or 1 with error 9 under name (record too small; left
 *  unchanged) or 15 under "S_GETP2D". */
ORVO_API int16_t M_pmachk(PMATRIX *rec, int32_t n, int32_t m, int32_t type, int32_t bw,
                          const char *name, STACKS *ws);
/** @brief M_rmabre for a point matrix record.
 *  @param rec (in).
 *  @param n, m, a, type, bw (out) the fields; a null pointer is skipped. */
ORVO_API void M_pmabre(const PMATRIX *rec, int32_t *n, int32_t *m, POINT ***a, int32_t *type,
                       int32_t *bw);
/** @brief M_rmaind for a point matrix record.
 *  @param rec (in). @param n, m (out) rec.n, rec.m; a null one is skipped. */
ORVO_API void M_pmaind(const PMATRIX *rec, int32_t *n, int32_t *m);
/** @brief M_rmarmp for a point matrix record.
 *  @param rec (in). @param a (out, not null) rec.a. */
ORVO_API void M_pmapmp(const PMATRIX *rec, POINT ***a);

/** @brief M_makrma for a control-point matrix record (CPOINT elements).
 *  @param rec (out). @param n, m, a, type, bw the fields, stored as given. */
ORVO_API void M_makcma(CMATRIX *rec, int32_t n, int32_t m, CPOINT **a, int32_t type, int32_t bw);
/** @brief M_inirma for a control-point matrix record: n = m = -1,
 *  a = null, bw = 0, type kept.
 *  @param rec (out) the record. */
ORVO_API void M_inicma(CMATRIX *rec);
/** @brief M_rmadef for a control-point matrix record; the table stays.
 *  @param rec (in/out). @param n, m, type, bw the new shape, unchecked. */
ORVO_API void M_cmadef(CMATRIX *rec, int32_t n, int32_t m, int32_t type, int32_t bw);
/** @brief M_isrman for a control-point matrix record.
 *  @param rec (in).
 *  @return 1 when n < 0, m < 0, a is null or bw < 1; else 0. */
ORVO_API int16_t M_iscman(const CMATRIX *rec);
/** @brief M_getrma for a control-point matrix record (rows of bw entries
 *  for type 3, m + 1 otherwise, in ws).
 *  @param rec (out) unchanged on failure. @param n, m, type, bw the shape.
 *  @param ws (in/out) workspace that owns the table.
 *  @return 0, or 1 with error 15 under "S_GETC2D". */
ORVO_API int16_t M_getcma(CMATRIX *rec, int32_t n, int32_t m, int32_t type, int32_t bw, STACKS *ws);
/** @brief M_rmachk for a control-point matrix output record.
 *  @param rec (in/out) reused and redefined, or allocated when it holds none.
 *  @param n, m, type, bw the shape required. @param name caller's tag.
 *  @param ws (in/out) workspace for a fresh table.
 *  @return 0, or 1 with error 9 under name (record too small; left
 *  unchanged) or 15 under "S_GETC2D". */
ORVO_API int16_t M_cmachk(CMATRIX *rec, int32_t n, int32_t m, int32_t type, int32_t bw,
                          const char *name, STACKS *ws);
/** @brief M_rmabre for a control-point matrix record.
 *  @param rec (in).
 *  @param n, m, a, type, bw (out) the fields; a null pointer is skipped. */
ORVO_API void M_cmabre(const CMATRIX *rec, int32_t *n, int32_t *m, CPOINT ***a, int32_t *type,
                       int32_t *bw);
/** @brief M_rmaind for a control-point matrix record.
 *  @param rec (in). @param n, m (out) rec.n, rec.m; a null one is skipped. */
ORVO_API void M_cmaind(const CMATRIX *rec, int32_t *n, int32_t *m);
/** @brief M_rmarmp for a control-point matrix record.
 *  @param rec (in). @param a (out, not null) rec.a. */
ORVO_API void M_cmacmp(const CMATRIX *rec, CPOINT ***a);

/* ---- Minimum and maximum scans (mode 1 smallest, 2 largest) ------------ */
/** @brief Smallest or largest of an array of doubles.
 *  @param values (in) values[0..n]. @param n highest index.
 *  @param mode 1 smallest, 2 largest.
 *  @return the value found (the first of equal ones); values[0] for any
 *  other mode; 0.0 for null values or n < 0. Sets no error. */
ORVO_API double M_r1mima(const double *values, int32_t n, int16_t mode);
/** @brief Smallest or largest of a two-dimensional array of doubles.
 *  @param rows (in) row-pointer table, rows[0..n][0..m].
 *  @param n, m highest row and column index. @param mode 1 smallest, 2
 *  largest.
 *  @return the value found (the first of equal ones in row order);
 *  rows[0][0] for any other mode; 0.0 for null rows, n < 0 or m < 0. Sets
 *  no error. */
ORVO_API double M_r2mima(double *const *rows, int32_t n, int32_t m, int16_t mode);
/** @brief M_r1mima for int32_t values.
 *  @param values (in) values[0..n]. @param n highest index.
 *  @param mode 1 smallest, 2 largest.
 *  @return the value found; values[0] for any other mode; 0 for null
 *  values or n < 0. Sets no error. */
ORVO_API int32_t M_i1mima(const int32_t *values, int32_t n, int16_t mode);
/** @brief M_r2mima for int32_t values.
 *  @param rows (in) rows[0..n][0..m]. @param n, m highest indices.
 *  @param mode 1 smallest, 2 largest.
 *  @return the value found; rows[0][0] for any other mode; 0 for null rows,
 *  n < 0 or m < 0. Sets no error. */
ORVO_API int32_t M_i2mima(int32_t *const *rows, int32_t n, int32_t m, int16_t mode);

/* ---- Printing ---------------------------------------------------------- */
/** @brief Prints a real matrix record to standard output.
 *  @param rec (in, not null) the record. Lines: "n m"; the storage word
 *  ("full", "lowerleft", "upperright" or "banded", padded to ten
 *  characters; none for another type); bw; then one line per row i = 0..n
 *  of "%lf " entries: full 0..m, lower-left 0..min(i, m), upper-right i..m,
 *  banded the stored 0..bw-1. No element lines for an unknown type or a
 *  null table. Sets no error. */
ORVO_API void M_prtrma(const RMATRIX *rec);

/* ---- Matrix arithmetic ------------------------------------------------- */
/* Products honour triangular storage (the known zero triangles are
 * skipped) and refuse banded operands; results go through check-or-allocate
 * (M_rmachk) in ws and may share a record or table with an operand. */
/** @brief Matrix product C = A B.
 *  @param A, B (in) full or triangular operands with A.m == B.n.
 *  @param C (out, not null) sized A.n x B.m (highest indices), lower-left
 *  when A and B both are, upper-right when both are, else full;
 *  bw = max(A.n, 1). May be A or B.
 *  @param ws (in/out) workspace for a fresh table of C.
 *  @return 0, or 1 with error under "M_RMAMUL": 7 (null record or table,
 *  negative index, A.m != B.n), 14 (banded or unknown type), 9 (C too
 *  small); 15 from the allocator. */
ORVO_API int16_t M_rmamul(const RMATRIX *A, const RMATRIX *B, RMATRIX *C, STACKS *ws);
/** @brief Product with the own transpose, C = A A^T.
 *  @param A (in) full or triangular operand.
 *  @param C (out, not null) full, A.n x A.n (highest indices),
 *  bw = max(A.n, 1). May be A.
 *  @param ws (in/out) workspace for a fresh table of C.
 *  @return 0, or 1 with error under "M_RMAMTM": 7 (null record or table,
 *  negative index), 14 (banded or unknown type), 9 (C too small); 15 from
 *  the allocator. */
ORVO_API int16_t M_rmamtm(const RMATRIX *A, RMATRIX *C, STACKS *ws);
/** @brief Product with a transpose, C = A B^T.
 *  @param A, B (in) full or triangular operands with A.m == B.m.
 *  @param C (out, not null) full, A.n x B.n (highest indices),
 *  bw = max(A.n, 1). May be A or B.
 *  @param ws (in/out) workspace for a fresh table of C.
 *  @return 0, or 1 with error under "M_RMAMTR": 7 (null record or table,
 *  negative index, A.m != B.m), 14 (banded or unknown type), 9 (C too
 *  small); 15 from the allocator. */
ORVO_API int16_t M_rmamtr(const RMATRIX *A, const RMATRIX *B, RMATRIX *C, STACKS *ws);
/** @brief Transpose B = A^T; B may be A.
 *  @param A (in/out) any storage type; a band must have an odd width.
 *  @param B (out) n and m exchanged, lower-left and upper-right swapped,
 *  full and banded kept, bw kept (at least 1 when not banded). A different
 *  B goes through M_rmachk in ws. When B is A, a square triangle is
 *  mirrored inside its table; any other matrix gets a new table from ws.
 *  @param wsA workspace of A's old table, which stays allocated there.
 *  @param ws (in/out) workspace for a new table.
 *  @return 0, or 1 with error under "M_RMATRP": 7 (null record or table,
 *  negative index, null B), 14 (unknown type, band of even width or
 *  width < 1), 9 (B too small); 15 from the allocator. */
ORVO_API int16_t M_rmatrp(RMATRIX *A, RMATRIX *B, STACKS *wsA, STACKS *ws);
/** @brief Applies a real matrix to control points: out[i] = sum over j of
 *  A(i, j) in[j], i = 0..A.n.
 *  @param A (in) any storage type (zero parts skipped).
 *  @param in (in) in[0..A.m]; a z or w column holding the 2-D or
 *  non-rational marker in any point is not summed and stays the marker.
 *  @param out (out) out[0..A.n]; may be in.
 *  @return 0, or 1 with error under "M_RMACPT": 7 (null record, table or
 *  array, negative index), 14 (unknown type, band width < 1); 15 under
 *  "S_GETC1D" when out is in and the copy of in cannot be had. */
ORVO_API int16_t M_rmacpt(const RMATRIX *A, const CPOINT *in, CPOINT *out);
/** @brief Applies a real matrix to points: out[i] = sum over j of
 *  A(i, j) in[j], i = 0..A.n, all three coordinates.
 *  @param A (in) any storage type (zero parts skipped).
 *  @param in (in) in[0..A.m]. @param out (out) out[0..A.n]; may be in.
 *  @return 0, or 1 with error under "M_RMAPOI": 7 (null record, table or
 *  array, negative index), 14 (unknown type, band width < 1); 15 under
 *  "S_GETP1D" when out is in and the copy of in cannot be had. */
ORVO_API int16_t M_rmapoi(const RMATRIX *A, const POINT *in, POINT *out);
/** @brief Transforms a net of control points: out = A P B^T.
 *  @param A (in) square, full or triangular, highest index n.
 *  @param P (in) net P[0..n][0..m]; marker columns as in M_rmacpt.
 *  @param B (in) square, full or triangular, highest index m.
 *  @param out (out) out[0..n][0..m], caller's storage; may be P.
 *  @return 0, or 1 with error under "M_RMCPRM": 7 (null record or table,
 *  negative index, A or B not square, null P or out), 14 (banded or
 *  unknown type); 15 under "S_GETC2D" for its private net. */
ORVO_API int16_t M_rmcprm(const RMATRIX *A, CPOINT *const *P, const RMATRIX *B, CPOINT **out);

/* ---- Binomial coefficients --------------------------------------------- */
/** @brief Turns row n - 1 of Pascal's triangle into row n, in place.
 *  @param row (in/out) row[0..n-1] holds binomial(n - 1, k) on entry,
 *  row[0..n] holds binomial(n, k) on exit (n = 0 sets row[0] = 1). Entries
 *  beyond the int32_t range are held at INT32_MAX.
 *  @param n the new row's number. A null row or n < 0 changes nothing. */
ORVO_API void M_pascal(int32_t *row, int32_t n);
/** @brief Fills rows[i][0..i], i = 0..n, with the rows of Pascal's triangle.
 *  @param rows (out) row table; rows[i] holds at least i + 1 entries.
 *  Entries beyond the int32_t range are held at INT32_MAX.
 *  @param n last row. A null table or n < 0 changes nothing. */
ORVO_API void M_pastri(int32_t **rows, int32_t n);

/* ---- Sorting, searching and swapping ----------------------------------- */
/** @brief Sorts doubles ascending in place (insertion sort with shrinking
 *  gaps, g -> (5g - 1) / 11, then 1).
 *  @param a (in/out) a[0..n]. @param n highest index.
 *  Nothing happens for a null a or n < 1. */
ORVO_API void M_rshell(double *a, int32_t n);
/** @brief Interpolation search for x in a strictly ascending array.
 *  @param a (in) a[0..n]. @param n highest index. @param x value sought.
 *  @param index (out) the k with |a[k] - x| < 1e-12, or -1 when there is
 *  none (also for a null a or n < 0); nothing is written when it is null. */
ORVO_API void M_rinsch(const double *a, int32_t n, double x, int32_t *index);
/** @brief Exchanges two int32_t values.
 *  @param a, b (in/out) the values; nothing happens when either is null. */
ORVO_API void M_inswap(int32_t *a, int32_t *b);
/** @brief Exchanges two doubles.
 *  @param a, b (in/out) the values; nothing happens when either is null. */
ORVO_API void M_reswap(double *a, double *b);
/** @brief Exchanges two points.
 *  @param a, b (in/out) the points; nothing happens when either is null. */
ORVO_API void M_poswap(POINT *a, POINT *b);
/** @brief Exchanges two control points.
 *  @param a, b (in/out) the control points; nothing happens when either is
 *  null. */
ORVO_API void M_cpswap(CPOINT *a, CPOINT *b);

/* ---- Bucketed value sets ----------------------------------------------- */
/* A table of nb + 1 buckets, each null or an ascending array of doubles
 * closed by DBL_MAX, collecting values of [lo, hi] without duplicates. */
/** @brief Creates an empty bucketed set.
 *  @param table (out) *table = bucket table[0..nb], all null, in ws.
 *  @param nb highest bucket index. @param ws (in/out) workspace.
 *  @return 0, or 1 with error 7 under "M_INRHAS" (null table, nb < 0) or
 *  15 under "S_GETR1P". */
ORVO_API int16_t M_inrhas(double ***table, int32_t nb, STACKS *ws);
/** @brief Inserts v into a bucketed set over [lo, hi] unless a value
 *  within 1e-12 of it is stored already.
 *  @param table (in/out) table[0..nb] from M_inrhas; v goes to bucket
 *  floor(nb (v - lo) / (hi - lo)), kept within 0..nb, created or grown in ws.
 *  @param nb highest bucket index. @param lo, hi range of the set.
 *  @param v value to insert. @param count (in/out) +1 when v is stored.
 *  @param ws (in/out) workspace of the buckets.
 *  @return 0 (also for a duplicate: neither stored nor counted), or 1 with
 *  error under "M_UPRHAS": 7 (null table or count, nb < 0), 14 (v outside
 *  [lo, hi], NaN or DBL_MAX); 15 under "S_GETR1D" (set unchanged). */
ORVO_API int16_t M_uprhas(double **table, int32_t nb, double lo, double v, double hi,
                          int32_t *count, STACKS *ws);
/** @brief Writes every value of a bucketed set to out, ascending.
 *  @param table (in) table[0..nb]. @param nb highest bucket index.
 *  @param out (out) out[0..count-1] with the count kept by M_uprhas.
 *  Nothing is written for a null table or out. */
ORVO_API void M_rerhas(double *const *table, int32_t nb, double *out);

/* ---- Linear solvers ---------------------------------------------------- */
/* Square real matrices, factored in place: unit lower multipliers below
 * the diagonal, the upper triangle on and above it. A band of width bw
 * reaches bw / 2 entries below the diagonal and bw - 1 - bw / 2 above. */
/** @brief LU factorisation without pivoting of a full or banded matrix.
 *  @param a (in/out) square (n == m), ORVO_FULL or ORVO_BANDED; holds the
 *  factors on success, may be partly factored on failure.
 *  @return 0, or 1 with error under "M_LUDCMP": 7 (null record or table,
 *  n < 0, n != m), 14 (other type, band width < 1), 11 (a pivot below
 *  PIVOT_TOLERANCE when a multiplier is formed; the last pivot is left to
 *  the solves). */
ORVO_API int16_t M_ludcmp(RMATRIX *a);
/** @brief Solves L U x = b with the factors of M_ludcmp.
 *  @param lu (in) the factors, full or banded, highest index n.
 *  @param b (in) b[0..n]. @param x (out) x[0..n]; may be b.
 *  @return 0, or 1 with error under "M_RAFOBA": 7 (null record, table, b
 *  or x, n < 0, n != m), 14 (other type, band width < 1), 11 (a division by
 *  a diagonal element that M_chkfop refuses; x partly written). */
ORVO_API int16_t M_rafoba(const RMATRIX *lu, const double *b, double *x);
/** @brief Solves L U X = R with the factors of M_ludcmp for right-hand
 *  sides of points, coordinate by coordinate.
 *  @param lu (in) the factors, full or banded, highest index n.
 *  @param rhs (in) kind 1: POINT rhs[0..n]; kind 2: CPOINT rhs[0..n]. May
 *  share its storage with out.
 *  @param kind 1 or 2.
 *  @param out (out) CPOINT out[0..n]; kind 1 gives non-rational points
 *  (w = ORVO_WNR). A z or w column holding a marker stays the marker.
 *  @param ws not used: the solve runs in out.
 *  @return 0, or 1 with error under "M_FORBAC": 7 (null record, table, rhs
 *  or out, n < 0, n != m), 14 (other type, band width < 1), 13 (kind not 1
 *  or 2), 11 (a diagonal element d with 1 / d refused by M_chkfop; out
 *  partly written). */
ORVO_API int16_t M_forbac(const RMATRIX *lu, const void *rhs, int16_t kind, CPOINT *out,
                          STACKS *ws);
/** @brief Crout LU factorisation with implicit partial pivoting of a full
 *  matrix, in place (rows exchanged).
 *  @param a (in/out) square, ORVO_FULL; holds the factors on success, may
 *  be partly factored on failure.
 *  @param indx (out) indx[0..n]: the row exchanged with row j at step j
 *  (j itself when none).
 *  @return 0, or 1 with error under "M_LUDPIV": 7 (null record, table or
 *  indx, n < 0, n != m), 14 (type not full), 11 (a row whose largest
 *  magnitude, or a pivot, is below PIVOT_TOLERANCE); 15 under "S_GETR1D". */
ORVO_API int16_t M_ludpiv(RMATRIX *a, int32_t *indx);
/** @brief Solves with the factors and row exchanges of M_ludpiv, in place.
 *  @param lu (in) the factors, full, highest index n.
 *  @param indx (in) indx[0..n] from M_ludpiv.
 *  @param b (in/out) right-hand side b[0..n], overwritten by the solution.
 *  @return 0, or 1 with error under "M_RAFBPV": 7 (null record, table or b,
 *  n < 0, n != m, null indx or an entry outside 0..n), 14 (type not full),
 *  11 (a division by a diagonal element that M_chkfop refuses; b partly
 *  written). */
ORVO_API int16_t M_rafbpv(const RMATRIX *lu, const int32_t *indx, double *b);
/** @brief Inverse of a full or banded square matrix without pivoting.
 *  @param a (in/out) highest index n; factored in place by M_ludcmp when
 *  factored is 0.
 *  @param factored 0: a is still to be factored; otherwise a holds the
 *  factors of M_ludcmp already.
 *  @param inv (out) through M_rmachk as a full (n+1) x (n+1) matrix with
 *  bw = max(n, 1), allocated in ws when it holds none; may be a.
 *  @param ws (in/out) workspace for a fresh table of inv.
 *  @return 0, or 1 with error under "M_RMAINV": 7 (null record or table,
 *  n < 0, n != m, null inv), 14 (other type, band width < 1), 9 (inv too
 *  small); 11 from M_ludcmp (under "M_LUDCMP") or M_rafoba ("M_RAFOBA");
 *  15 from the allocator. */
ORVO_API int16_t M_rmainv(RMATRIX *a, int16_t factored, RMATRIX *inv, STACKS *ws);
/** @brief Inverse of a full square matrix with implicit partial pivoting.
 *  @param a (in/out) ORVO_FULL, highest index n; overwritten by its
 *  M_ludpiv factors.
 *  @param inv (out) as for M_rmainv; may be a.
 *  @param ws (in/out) workspace for a fresh table of inv.
 *  @return 0, or 1 with error under "M_RMAIVP": 7 (null record or table,
 *  n < 0, n != m, null inv), 14 (type not full), 9 (inv too small); 11 from
 *  M_ludpiv (under "M_LUDPIV") or M_rafbpv ("M_RAFBPV"); 15 from the
 *  allocator. */
ORVO_API int16_t M_rmaivp(RMATRIX *a, RMATRIX *inv, STACKS *ws);

/* ---- Polynomials ------------------------------------------------------- */
/** @brief Value and derivatives of p(t) = c[0] + c[1] t + ... + c[n] t^n.
 *  @param c (in) c[0..n]. @param n degree. @param x where p is evaluated.
 *  @param nd highest derivative order.
 *  @param out (out) out[k] = k-th derivative of p at x, k = 0..nd (zero
 *  above n). A null c or n < 0 gives zeros; a null out or nd < 0 writes
 *  nothing. Sets no error. */
ORVO_API void M_polder(const double *c, int32_t n, double x, int32_t nd, double *out);
/** @brief Newton iteration for a root of a polynomial in [lo, hi].
 *  @param c (in) c[0..n], as for M_polder. @param n degree.
 *  @param x0 start. @param lo, hi every step is clamped to [lo, hi].
 *  @param tol converged when |p(x)| < tol, or when a step that was not
 *  clamped moves x by dx with |dx p'(x)| < tol.
 *  @param root (out) the root; unchanged on failure.
 *  @return 0, or 1 with error under "M_POLNEW": 7 (null c or root), 11
 *  (p / p' refused by M_chkfop, e.g. p' = 0), 12 (not converged within
 *  MAXIT steps). */
ORVO_API int16_t M_polnew(const double *c, int32_t n, double x0, double lo, double hi, double tol,
                          double *root);

/* ---- Power-form evaluation --------------------------------------------- */
/** @brief Point of a power-form curve: Horner's rule on the homogeneous
 *  coefficients, sum of Pw[i] u^i, then its Euclidean image.
 *  @param Pw (in) Pw[0..n], coefficients of u^0..u^n; z and w markers are
 *  combined as in control-point arithmetic.
 *  @param n degree. @param u the power-form variable (not normalised).
 *  @param P (out, not null) the point.
 *  On a null Pw or n < 0 it records error 7 under "M_CPLEVN", where the
 *  weight polynomial vanishes error 11, and leaves P unchanged. */
ORVO_API void M_cplevn(const CPOINT *Pw, int32_t n, double u, POINT *P);

/* ---- Power-form surface evaluation ------------------------------------- */
/** @brief Point of a power-form surface: nested Horner's rule on the
 *  homogeneous coefficients, sum of Pw[i][j] u^i v^j, then its Euclidean
 *  image.
 *  @param Pw (in) Pw[0..n][0..m], coefficient of u^i v^j at [i][j].
 *  @param n, m degrees in u and v. @param u, v the power-form variables.
 *  @param P (out, not null) the point.
 *  On a null Pw, n < 0 or m < 0 it records error 7 under "M_SPLEVN", where
 *  the weight polynomial vanishes error 11, and leaves P unchanged. */
ORVO_API void M_splevn(CPOINT *const *Pw, int32_t n, int32_t m, double u, double v, POINT *P);

#ifdef __cplusplus
}
#endif

#endif /* ORVO_M_H */
