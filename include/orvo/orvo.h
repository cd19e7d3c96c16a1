/** @file orvo.h
 * @brief Orvo: NURBS curves and surfaces. Umbrella header of the whole interface. */
#ifndef ORVO_ORVO_H
#define ORVO_ORVO_H

#include "records.h"
#include "a.h"
#include "b.h"
#include "e.h"
#include "g.h"
#include "m.h"
#include "n.h"
#include "s.h"
#include "u.h"

#endif /* ORVO_ORVO_H */
