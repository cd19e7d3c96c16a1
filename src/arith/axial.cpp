// Axial deformations: a point is stretched, tapered, twisted or shifted by
// an amount that a scalar spline function gives along one coordinate axis.
#include <cmath>

#include "core/internal.hpp"

using namespace orvo::detail;

namespace {

constexpr double kPi = 3.141592653589793;

// Coordinate k (0 x, 1 y, 2 z) of a point.
double &coord(POINT &P, int k) { return k == 0 ? P.x : (k == 1 ? P.y : P.z); }

}  // namespace

extern "C" {

int16_t G_traaxl(POINT *P, const CFUNCTION *f, double c, int16_t mode, int16_t axis,
                 int16_t direction) {
  const char *tag = "G_TRAAXL";
  if (axis < 1 || axis > 3) return fail(kErrSelector, tag);
  POINT R = *P;
  double g;
  if (N_cfnevn(f, coord(R, axis - 1), 1, &g)) return 1;
  if (direction < 1 || direction > 3) return fail(kErrSelector, tag);
  const int a = axis - 1, d = direction - 1;
  // The two coordinates other than the axis, in cyclic order, so that a
  // twist turns (y, z) about x, (z, x) about y and (x, y) about z.
  const int u = (a + 1) % 3, v = (a + 2) % 3;
  const double s = c * g;
  switch (mode) {
    case 1:
      if (d != a) coord(R, d) *= s;
      break;
    case 2:
      coord(R, u) *= s;
      coord(R, v) *= s;
      break;
    case 3: {
      const double ct = std::cos(s * kPi), st = std::sin(s * kPi);
      const double cu = coord(R, u), cv = coord(R, v);
      coord(R, u) = cu * ct - cv * st;
      coord(R, v) = cu * st + cv * ct;
      break;
    }
    case 4:
      if (d != a) coord(R, d) += s;
      break;
    default:
      break;
  }
  *P = R;
  return 0;
}

}  // extern "C"
