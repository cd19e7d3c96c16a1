/** @file e.h
 * @brief Orvo E_ family: error state and argument checks. */
#ifndef ORVO_E_H
#define ORVO_E_H

#include "records.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Error state -------------------------------------------------------
 * One pair per thread: the last error code (0: none) and the upper-case
 * name of the routine that raised it (" " when none); each thread reads
 * the errors of its own calls. A successful call
 * does not clear it. */

/** @brief Records an error: code and the tag of the routine raising it.
 *  @param code (in) error code (see the table of codes).
 *  @param routine (in) tag, e.g. "N_CUREVN"; the pointer is kept, not
 *  copied, so it must stay valid (a string literal); null is stored as " ". */
ORVO_API void E_seterr(int32_t code, const char *routine);

/** @brief Clears the error state: code 0, routine " ". */
ORVO_API void E_clrerr(void);

/** @brief Reads the error state: the tag of the last error and its code
 *  (" " and 0 when none has been raised since loading or E_clrerr).
 *  @param routine (out) the tag pointer; @param code (out) the code; a null
 *  pointer is skipped. */
ORVO_API void E_GetOrvoError(const char **routine, int32_t *code);

/* ---- Parameter and record checks ---------------------------------------
 * routine: the tag of the calling routine, under which a failure is
 * recorded. The checks only report; they never change the record. */

/** @brief Checks that u lies in the closed range U[0] <= u <= U[m].
 *  @param knt (in) knot vector U[0..m].
 *  @param u (in) the parameter value to check.
 *  @param routine (in) tag under which a failure is recorded.
 *  @return 0 when it does, else 1 with error 6 under routine (also for a
 *  null knt or U, m < 0, or a NaN u). */
ORVO_API int16_t E_parval(const KNOTVECTOR *knt, double u, const char *routine);

/** @brief Checks that u lies strictly inside, U[0] < u < U[m] (the ends are
 *  refused).
 *  @param knt (in) knot vector U[0..m].
 *  @param u (in) the parameter value to check.
 *  @param routine (in) tag under which a failure is recorded.
 *  @return 0 when it does, else 1 with error 6 under routine (also for a
 *  null knt or U, m < 0, or a NaN u). */
ORVO_API int16_t E_endpar(const KNOTVECTOR *knt, double u, const char *routine);

/** @brief Checks a clamped knot vector of degree p: exactly p+1 equal knots
 *  at each end, non-decreasing, no interior knot repeated more than p
 *  times (exact comparisons, no tolerance).
 *  @param knt (in) knot vector U[0..m]; @param p (in) the degree.
 *  @param routine (in) tag under which a failure is recorded.
 *  @return 0 when valid, else 1 with error 4 under routine (also for a null
 *  knt or U, m < 0, p < 0, or a NaN or infinite knot). */
ORVO_API int16_t E_kntdef(const KNOTVECTOR *knt, int16_t p, const char *routine);

/** @brief Checks a curve's structure: m = n + p + 1, p <= 28, and every
 *  Pw[1..n] of the kind of Pw[0] (2-D when z = +DBL_MAX, rational unless
 *  w = -DBL_MAX).
 *  @param cur (in) the curve.
 *  @param routine (in) tag under which a failure is recorded.
 *  @return 0 when consistent, else 1 under routine with error 1 (null
 *  record or parts, n < 0, p < 0, m != n + p + 1, a point of another
 *  kind) or 3 (p > 28; tested after m). */
ORVO_API int16_t E_curdef(const CURVE *cur, const char *routine);

/** @brief Checks a surface's structure: r = n + p + 1, s = m + q + 1,
 *  p, q <= 28 and every Pw[i][j] as rational as Pw[0][0] (the 2-D marker
 *  is not checked).
 *  @param sur (in) the surface, net Pw[0..n][0..m], knots U[0..r], V[0..s].
 *  @param routine (in) tag under which a failure is recorded.
 *  @return 0 when consistent, else 1 under routine with error 2 (null
 *  record or parts, a negative index or degree, r or s wrong, mixed
 *  rationality) or 3 (p or q > 28; tested after r and s). */
ORVO_API int16_t E_surdef(const SURFACE *sur, const char *routine);

/** @brief Checks the weights of a rational curve (w of Pw[0] valid): every
 *  Pw[0..n].w in [0.01, 10]. A non-rational curve always passes.
 *  @param cur (in) curve holding its polygon (not checked for null; run
 *  E_curdef first).
 *  @param routine (in) tag under which a failure is recorded.
 *  @return 0, or 1 with error 5 under routine at the first weight outside. */
ORVO_API int16_t E_curwei(const CURVE *cur, const char *routine);

/** @brief Checks the weights of a rational surface (w of Pw[0][0] valid):
 *  every Pw[i][j].w in [0.01, 10], row by row. A non-rational one passes.
 *  @param sur (in) surface holding its net (not checked for null; run
 *  E_surdef first).
 *  @param routine (in) tag under which a failure is recorded.
 *  @return 0, or 1 with error 5 under routine at the first weight outside. */
ORVO_API int16_t E_surwei(const SURFACE *sur, const char *routine);

/** @brief Validates an input curve: E_curdef, E_curwei, then E_kntdef(knt,
 *  p), stopping at the first failure.
 *  @param cur (in) the curve.
 *  @param routine (in) tag under which a failure is recorded.
 *  @return 0, or 1 with the first check's code under routine: 1 or 3
 *  (structure), 5 (weight), 4 (knot vector). */
ORVO_API int16_t E_curinp(const CURVE *cur, const char *routine);

/** @brief Validates an input surface: E_surdef, E_surwei, E_kntdef(knu, p),
 *  then E_kntdef(knv, q), stopping at the first failure.
 *  @param sur (in) the surface.
 *  @param routine (in) tag under which a failure is recorded.
 *  @return 0, or 1 with the first check's code under routine: 2 or 3
 *  (structure), 5 (weight), 4 (a knot vector). */
ORVO_API int16_t E_surinp(const SURFACE *sur, const char *routine);

/* ---- Output capacity checks --------------------------------------------
 * For records that hold storage: the parts are read without null tests. */

/** @brief Checks that a curve record can take a result with highest
 *  indices n (points) and m (knots): n <= pol->n and m <= knt->m.
 *  @param cur (in) a non-empty curve (pol and knt set).
 *  @param n,m (in) highest point index and highest knot index needed.
 *  @param routine (in) tag under which a failure is recorded.
 *  @return 0 when it fits, else 1 with error 9 under routine (also for a
 *  null cur, pol or knt). */
ORVO_API int16_t E_cursto(const CURVE *cur, int32_t n, int32_t m, const char *routine);

/** @brief Checks that a curve function can take a result with highest
 *  indices n (values) and m (knots): n <= cvl->n and m <= knt->m.
 *  @param cfn (in) a non-empty record (cvl and knt set).
 *  @param n,m (in) highest value index and highest knot index needed.
 *  @param routine (in) tag under which a failure is recorded.
 *  @return 0 when it fits, else 1 with error 9 under routine. */
ORVO_API int16_t E_cfnsto(const CFUNCTION *cfn, int32_t n, int32_t m, const char *routine);

/** @brief Checks that a surface record can take a net [0..n][0..m] and knot
 *  vectors U[0..r], V[0..s]: each index at most the record's current one.
 *  @param sur (in) a non-empty surface (net, knu and knv set).
 *  @param n,m (in) highest net indices needed (along u, along v).
 *  @param r,s (in) highest indices of U and V needed.
 *  @param routine (in) tag under which a failure is recorded.
 *  @return 0 when it fits, else 1 with error 9 under routine. */
ORVO_API int16_t E_sursto(const SURFACE *sur, int32_t n, int32_t m, int32_t r, int32_t s,
                          const char *routine);

/** @brief Checks that a surface function can take values [0..n][0..m] and
 *  knot vectors U[0..r], V[0..s]: each index at most the record's current one.
 *  @param sfn (in) a non-empty record (svl, knu and knv set).
 *  @param n,m (in) highest value indices needed (along u, along v).
 *  @param r,s (in) highest indices of U and V needed.
 *  @param routine (in) tag under which a failure is recorded.
 *  @return 0 when it fits, else 1 with error 9 under routine. */
ORVO_API int16_t E_sfnsto(const SFUNCTION *sfn, int32_t n, int32_t m, int32_t r, int32_t s,
                          const char *routine);

/** @brief Checks that a real matrix record can take highest indices n, m:
 *  n <= rec->n and m <= rec->m (storage type and band are not compared).
 *  @param rec (in, not null) the record; one holding no matrix (indices
 *  -1) fails for n, m >= 0.
 *  @param n,m (in) highest row and column indices needed.
 *  @param name (in) tag under which a failure is recorded.
 *  @return 0 when it fits, else 1 with error 9 under name. */
ORVO_API int16_t E_rmasto(const RMATRIX *rec, int32_t n, int32_t m, const char *name);

/** @brief Checks that an integer matrix record can take highest indices
 *  n, m: n <= rec->n and m <= rec->m.
 *  @param rec (in, not null) the record.
 *  @param n,m (in) highest row and column indices needed.
 *  @param name (in) tag under which a failure is recorded.
 *  @return 0 when it fits, else 1 with error 9 under name. */
ORVO_API int16_t E_imasto(const IMATRIX *rec, int32_t n, int32_t m, const char *name);

/** @brief Checks that a POINT matrix record can take highest indices n, m:
 *  n <= rec->n and m <= rec->m.
 *  @param rec (in, not null) the record.
 *  @param n,m (in) highest row and column indices needed.
 *  @param name (in) tag under which a failure is recorded.
 *  @return 0 when it fits, else 1 with error 9 under name. */
ORVO_API int16_t E_pmasto(const PMATRIX *rec, int32_t n, int32_t m, const char *name);

/** @brief Checks that a CPOINT matrix record can take highest indices n, m:
 *  n <= rec->n and m <= rec->m.
 *  @param rec (in, not null) the record.
 *  @param n,m (in) highest row and column indices needed.
 *  @param name (in) tag under which a failure is recorded.
 *  @return 0 when it fits, else 1 with error 9 under name. */
ORVO_API int16_t E_cmasto(const CMATRIX *rec, int32_t n, int32_t m, const char *name);

#ifdef __cplusplus
}
#endif

#endif /* ORVO_E_H */
