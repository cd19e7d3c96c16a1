// Euclidean images of the control points of a curve or surface, as a point
// polygon or point net whose arrays live in the caller's workspace.
#include "arith/point_ops.hpp"
#include "core/internal.hpp"

using namespace orvo::detail;

extern "C" {

int16_t U_mapcpl(const CURVE *cur, int32_t i0, int32_t i1, PPOLYGON *polyline, STACKS *ws) {
  const char *tag = "U_MAPCPL";
  if (!cur || !cur->pol || !cur->pol->Pw || i0 < 0 || i0 > i1 || i1 > cur->pol->n)
    return fail(kErrIndex, tag);
  POINT *pts = S_getp1d(i1 - i0, ws);
  if (!pts) return 1;
  const CPOINT *Pw = cur->pol->Pw;
  // A zero weight has no Euclidean image (the block stays in ws).
  for (int32_t i = i0; i <= i1; ++i)
    if (!finite_euclid(Pw[i], pts[i - i0])) return fail(kErrFloat, tag);
  G_makppl(i1 - i0, pts, polyline);
  return 0;
}

int16_t U_mapcnt(const SURFACE *sur, int32_t i0, int32_t i1, int32_t j0, int32_t j1, PNET *netl,
                 STACKS *ws) {
  const char *tag = "U_MAPCNT";
  if (!sur || !sur->net || !sur->net->Pw || i0 < 0 || i0 > i1 || i1 > sur->net->n || j0 < 0 ||
      j0 > j1 || j1 > sur->net->m)
    return fail(kErrIndex, tag);
  POINT **rows = S_getp2d(i1 - i0, j1 - j0, ws);
  if (!rows) return 1;
  CPOINT *const *Pw = sur->net->Pw;
  for (int32_t i = i0; i <= i1; ++i)
    for (int32_t j = j0; j <= j1; ++j)
      if (!finite_euclid(Pw[i][j], rows[i - i0][j - j0])) return fail(kErrFloat, tag);
  G_makntl(i1 - i0, j1 - j0, rows, netl);
  return 0;
}

}  // extern "C"
