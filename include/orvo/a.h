/* Orvo A_ family: point and control-point arithmetic. */
#ifndef ORVO_A_H
#define ORVO_A_H

#include "records.h"

#ifdef __cplusplus
extern "C" {
#endif

#ifdef __cplusplus
}
#endif

#endif /* ORVO_A_H */
