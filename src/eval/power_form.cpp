// Evaluation of power-form curves, C(u) = sum of Pw[i] u^i, and surfaces,
// S(u, v) = sum of Pw[i][j] u^i v^j.
#include "eval/kernels.hpp"

using namespace orvo::detail;

namespace {

// Horner's rule on homogeneous coefficients with the marker rules of the
// control-point blend; the Euclidean image of the sum into P, refused
// (error 11 under tag) where the weight polynomial vanishes.
int16_t horner(const CPOINT *Pw, int32_t n, double u, POINT *P, const char *tag) {
  CPOINT c = Pw[n];
  for (int32_t i = n - 1; i >= 0; --i) c = combine(u, c, 1.0, Pw[i]);
  return finite_euclid(c, *P) ? 0 : fail(kErrFloat, tag);
}

// Nested Horner's rule: each row is a polynomial in v, and the row values
// are the coefficients of a polynomial in u.
int16_t horner2(CPOINT *const *Pw, int32_t n, int32_t m, double u, double v, POINT *P,
                const char *tag) {
  auto row = [&](int32_t i) {
    CPOINT c = Pw[i][m];
    for (int32_t j = m - 1; j >= 0; --j) c = combine(v, c, 1.0, Pw[i][j]);
    return c;
  };
  CPOINT c = row(n);
  for (int32_t i = n - 1; i >= 0; --i) c = combine(u, c, 1.0, row(i));
  return finite_euclid(c, *P) ? 0 : fail(kErrFloat, tag);
}

}  // namespace

extern "C" {

void M_cplevn(const CPOINT *Pw, int32_t n, double u, POINT *P) {
  if (!Pw || n < 0) {
    fail(kErrIndex, "M_CPLEVN");
    return;
  }
  horner(Pw, n, u, P, "M_CPLEVN");
}

int16_t N_cplevn(const CURVE *cur, double u, POINT *P) {
  const char *tag = "N_CPLEVN";
  if (!cur || !cur->pol || !cur->pol->Pw || cur->pol->n < 0 || !cur->knt || !cur->knt->U ||
      cur->knt->m < 0)
    return fail(kErrCurveDef, tag);
  if (check_param(cur->knt->U, cur->knt->m, u, tag)) return 1;
  return horner(cur->pol->Pw, cur->pol->n, u, P, tag);
}

void M_splevn(CPOINT *const *Pw, int32_t n, int32_t m, double u, double v, POINT *P) {
  if (!Pw || n < 0 || m < 0) {
    fail(kErrIndex, "M_SPLEVN");
    return;
  }
  horner2(Pw, n, m, u, v, P, "M_SPLEVN");
}

int16_t N_splevn(const SURFACE *sur, double u, double v, POINT *P) {
  const char *tag = "N_SPLEVN";
  if (!sur || !sur->net || !sur->net->Pw || sur->net->n < 0 || sur->net->m < 0 || !sur->knu ||
      !sur->knu->U || sur->knu->m < 0 || !sur->knv || !sur->knv->U || sur->knv->m < 0)
    return fail(kErrSurfaceDef, tag);
  if (check_param(sur->knu->U, sur->knu->m, u, tag) ||
      check_param(sur->knv->U, sur->knv->m, v, tag))
    return 1;
  return horner2(sur->net->Pw, sur->net->n, sur->net->m, u, v, P, tag);
}

}  // extern "C"
