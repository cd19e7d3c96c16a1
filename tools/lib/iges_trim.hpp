// Trimming loops given in model space, mapped into a surface's parameter
// plane.
#pragma once

#include <cstddef>
#include <string>

#include "orvo/orvo.h"

namespace orvo::tools::iges {

// Maps the closed model-space curve cur onto sur's parameter plane: points
// sampled along cur within the chord tolerance (model space) are inverted
// on sur, the parameter kept continuous across the seam of a closed
// surface, and joined into a 2-D degree-1 curve written into the empty
// record out (arrays in ws). False with why set when the curve cannot be
// sampled, lies off the surface or winds around it. *whole (when given)
// tells whether the loop runs along the domain's edges all round it, the
// surface's own boundary.
// At most budget points are sampled (the points taken are subtracted).
bool invert_loop(const SURFACE *sur, const CURVE *cur, double chord, CURVE *out, STACKS *ws,
                 size_t &budget, std::string &why, bool *whole = nullptr);

}  // namespace orvo::tools::iges
