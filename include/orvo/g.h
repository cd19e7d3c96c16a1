/* Orvo G_ family: vectors and elementary geometry. */
#ifndef ORVO_G_H
#define ORVO_G_H

#include "records.h"

#ifdef __cplusplus
extern "C" {
#endif

#ifdef __cplusplus
}
#endif

#endif /* ORVO_G_H */
