// Knot spans, multiplicities and B-spline basis functions with their
// derivatives over a knot vector.
#include "eval/kernels.hpp"

using namespace orvo::detail;

namespace {

// The checks every span routine makes: a usable knot vector for degree p, a
// parameter with a span, a side of 1 or 2.
int16_t check_span_call(const KNOTVECTOR *knt, int p, double u, int side, const char *tag) {
  return check_knots(knt, p, tag) || check_span_param(knt->U, knt->m, p, u, tag) ||
         check_side(side, tag);
}

}  // namespace

namespace {

// Checks shared by the routines that take one function index i.
int16_t check_single(const KNOTVECTOR *knt, int32_t i, int p, double u, int side, const char *tag) {
  if (check_knots(knt, p, tag) || check_param(knt->U, knt->m, u, tag)) return 1;
  if (i < 0 || i > knt->m - p - 1) return fail(kErrIndex, tag);
  return check_side(side, tag);
}

}  // namespace

extern "C" {

int16_t N_kntfsp(const KNOTVECTOR *knt, int16_t p, double u, int16_t side, int32_t *span) {
  const char *tag = "N_KNTFSP";
  if (check_span_call(knt, p, u, side, tag)) return 1;
  *span = find_span(knt->U, knt->m, p, u, side);
  return 0;
}

int16_t N_kntfsm(const KNOTVECTOR *knt, int16_t p, double u, int16_t side, int32_t *span,
                 int32_t *mult) {
  const char *tag = "N_KNTFSM";
  if (check_span_call(knt, p, u, side, tag)) return 1;
  const double *U = knt->U;
  const int32_t m = knt->m;
  const int32_t k = find_span(U, m, p, u, side);
  int32_t s = 0;
  if (side == 1) {
    if (u == U[m - p])
      s = p + 1;
    else
      for (int32_t j = k; j >= 0 && U[j] == u; --j) ++s;
  } else {
    if (u == U[p])
      s = p + 1;
    else
      for (int32_t j = k + 1; j <= m && U[j] == u; ++j) ++s;
  }
  *span = k;
  *mult = s;
  return 0;
}

int16_t N_kntalb(const KNOTVECTOR *knt, int16_t p, double u, int16_t side, double *N,
                 int32_t *span) {
  const char *tag = "N_KNTALB";
  if (check_span_call(knt, p, u, side, tag)) return 1;
  double B[kBasisSize];
  const int32_t k = span_and_basis(knt->U, knt->m, p, u, side, B);
  if (k < 0) return fail(kErrFloat, tag);
  std::copy(B, B + p + 1, N);
  *span = k;
  return 0;
}

int16_t N_kntbas(const KNOTVECTOR *knt, int32_t i, int16_t p, double u, int16_t side,
                 double *value) {
  const char *tag = "N_KNTBAS";
  if (check_single(knt, i, p, u, side, tag)) return 1;
  const double v = single_basis(knt->U, knt->m, i, p, u, side);
  if (!std::isfinite(v)) return fail(kErrFloat, tag);
  *value = v;
  return 0;
}

int16_t N_kntadb(const KNOTVECTOR *knt, int16_t p, double u, int16_t side, int16_t n, double **ders,
                 int32_t *span) {
  const char *tag = "N_KNTADB";
  if (check_knots(knt, p, tag) || check_span_param(knt->U, knt->m, p, u, tag) ||
      check_order(n, INT16_MAX, tag) || check_side(side, tag))
    return 1;
  const int32_t k = find_span(knt->U, knt->m, p, u, side);
  if (!span_fit(knt->U, p, k)) return fail(kErrFloat, tag);
  basis_derivatives(knt->U, p, u, k, n, ders);
  for (int r = 0; r <= std::min<int>(n, p); ++r)
    if (!all_finite(ders[r], p + 1)) return fail(kErrFloat, tag);
  *span = k;
  return 0;
}

int16_t N_kntbad(const KNOTVECTOR *knt, int32_t i, int16_t p, double u, int16_t side, int16_t n,
                 double *ders) {
  const char *tag = "N_KNTBAD";
  if (check_single(knt, i, p, u, side, tag) || check_order(n, INT16_MAX, tag)) return 1;
  single_basis_derivatives(knt->U, knt->m, i, p, u, side, n, ders);
  return all_finite(ders, n + 1) ? 0 : fail(kErrFloat, tag);
}

}  // extern "C"
