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

#ifdef __cplusplus
}
#endif

#endif /* ORVO_N_H */
