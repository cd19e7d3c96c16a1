// Evaluation of power-form curves: C(u) = sum of Pw[i] u^i.
#include "eval/kernels.hpp"

using namespace orvo::detail;

namespace {

// Horner's rule on homogeneous coefficients with the marker rules of the
// control-point blend; the Euclidean image of the sum.
POINT horner(const CPOINT *Pw, int32_t n, double u) {
  CPOINT c = Pw[n];
  for (int32_t i = n - 1; i >= 0; --i) c = combine(u, c, 1.0, Pw[i]);
  return euclid(c);
}

}  // namespace

extern "C" {

void M_cplevn(const CPOINT *Pw, int32_t n, double u, POINT *P) {
  if (!Pw || n < 0) {
    fail(kErrIndex, "M_CPLEVN");
    return;
  }
  *P = horner(Pw, n, u);
}

int16_t N_cplevn(const CURVE *cur, double u, POINT *P) {
  const char *tag = "N_CPLEVN";
  if (!cur || !cur->pol || !cur->pol->Pw || cur->pol->n < 0 || !cur->knt || !cur->knt->U ||
      cur->knt->m < 0)
    return fail(kErrCurveDef, tag);
  if (check_param(cur->knt->U, cur->knt->m, u, tag)) return 1;
  *P = horner(cur->pol->Pw, cur->pol->n, u);
  return 0;
}

}  // extern "C"
