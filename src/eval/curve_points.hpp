// Runs of curve points for the library's own front ends (the Python
// package): the record checked once, then each parameter evaluated as
// N_curevn evaluates it, bit for bit.
#pragma once

#include <cstdint>

#include "orvo/orvo.h"

namespace orvo::detail {

// Points of cur at u[0..count-1] into P[0..count-1], as N_curevn(cur, u[i],
// side, P + i) gives them. Returns 0, or 1 with the error N_curevn reports
// for the first parameter that fails; *done counts the points written.
int16_t curve_points(const CURVE *cur, const double *u, int64_t count, int16_t side, POINT *P,
                     int64_t *done);

}  // namespace orvo::detail
