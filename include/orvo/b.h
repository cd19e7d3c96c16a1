/* Orvo B_ family: Bezier, Bernstein and power-basis utilities. */
#ifndef ORVO_B_H
#define ORVO_B_H

#include "records.h"

#ifdef __cplusplus
extern "C" {
#endif

#ifdef __cplusplus
}
#endif

#endif /* ORVO_B_H */
