// Arc length of a curve between two parameters, to a tolerance.
#include <cmath>
#include <utility>

#include "refine/refine_common.hpp"

using namespace orvo::detail;

extern "C" {

int16_t N_gprcle(const CURVE *C, double u0, double u1, double tol, int16_t mode, double *length) {
  const char *tag = "N_GPRCLE";
  if (check_refine_curve(C, tag)) return 1;
  if (!length || !(tol >= 0.0) || !std::isfinite(tol)) return fail(kErrInconsistent, tag);
  if (mode != 1 && mode != 2) return fail(kErrSelector, tag);
  if (E_parval(C->knt, u0, tag) || E_parval(C->knt, u1, tag)) return 1;
  // The length is the same either way round; an empty range has none (the
  // segment cut below needs a range of positive length).
  if (u1 < u0) std::swap(u0, u1);
  if (u0 == u1) {
    *length = 0.0;
    return 0;
  }
  // The segment routines take a writable record but only read it when the
  // output is another record.
  CURVE *in = const_cast<CURVE *>(C);
  LocalStacks local;
  CURVE part;
  U_inicur(&part);
  if (N_toocsg(in, u0, u1, &part, local, local)) return 1;
  double allowed = tol;
  if (mode == 2) {
    double extent;
    if (N_curext(&part, &extent)) return 1;
    allowed = tol * extent;
  }
  int32_t spans;
  N_kntnsp(part.knt, part.p, &spans);
  CURVE **pieces;
  int32_t last;
  if (N_toocdc(&part, &pieces, &last, local)) return 1;
  const double each = allowed / static_cast<double>(spans > 0 ? spans : 1);
  double sum = 0.0;
  for (int32_t i = 0; i <= last; ++i) {
    double len;
    if (B_arclen(pieces[i]->pol->Pw, part.p, each, &len)) return 1;
    sum += len;
  }
  *length = sum;
  return 0;
}

}  // extern "C"
