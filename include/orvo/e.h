/* Orvo E_ family: error state and argument checks. */
#ifndef ORVO_E_H
#define ORVO_E_H

#include "records.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Error state ------------------------------------------------------- */
ORVO_API void E_seterr(int32_t code, const char *routine);
ORVO_API void E_clrerr(void);
ORVO_API void E_GetOrvoError(const char **routine, int32_t *code);

/* ---- Parameter and record checks --------------------------------------- */
ORVO_API int16_t E_parval(const KNOTVECTOR *knt, double u, const char *routine);
ORVO_API int16_t E_endpar(const KNOTVECTOR *knt, double u, const char *routine);
ORVO_API int16_t E_kntdef(const KNOTVECTOR *knt, int16_t p, const char *routine);
ORVO_API int16_t E_curdef(const CURVE *cur, const char *routine);
ORVO_API int16_t E_surdef(const SURFACE *sur, const char *routine);
ORVO_API int16_t E_curwei(const CURVE *cur, const char *routine);
ORVO_API int16_t E_surwei(const SURFACE *sur, const char *routine);
ORVO_API int16_t E_curinp(const CURVE *cur, const char *routine);
ORVO_API int16_t E_surinp(const SURFACE *sur, const char *routine);

/* ---- Output capacity checks -------------------------------------------- */
ORVO_API int16_t E_cursto(const CURVE *cur, int32_t n, int32_t m, const char *routine);
ORVO_API int16_t E_cfnsto(const CFUNCTION *cfn, int32_t n, int32_t m, const char *routine);
ORVO_API int16_t E_sursto(const SURFACE *sur, int32_t n, int32_t m, int32_t r, int32_t s,
                          const char *routine);
ORVO_API int16_t E_sfnsto(const SFUNCTION *sfn, int32_t n, int32_t m, int32_t r, int32_t s,
                          const char *routine);
ORVO_API int16_t E_rmasto(const RMATRIX *rec, int32_t n, int32_t m, const char *name);
ORVO_API int16_t E_imasto(const IMATRIX *rec, int32_t n, int32_t m, const char *name);
ORVO_API int16_t E_pmasto(const PMATRIX *rec, int32_t n, int32_t m, const char *name);
ORVO_API int16_t E_cmasto(const CMATRIX *rec, int32_t n, int32_t m, const char *name);

#ifdef __cplusplus
}
#endif

#endif /* ORVO_E_H */
