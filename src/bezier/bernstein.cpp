// Bernstein polynomials and the evaluation of Bezier curves, patches and
// scalar Bezier functions as sums of Bernstein values times coefficients.
#include "bezier/bezier_ops.hpp"

using namespace orvo::detail;

namespace {

// A degree usable by the evaluators and a parameter in [0, 1].
int16_t check_degree_param(int32_t p, double u, const char *tag) {
  if (p < 0) return fail(kErrSelector, tag);
  if (!in_unit(u)) return fail(kErrParameter, tag);
  return 0;
}

// Bernstein values of degree p at u in a fresh array of the private
// workspace; null after an allocation failure (error 15 recorded).
double *bernstein_values(int32_t p, double u, STACKS *tmp) {
  double *b = S_getr1d(p, tmp);
  if (b) bernstein_all(p, u, b);
  return b;
}

}  // namespace

extern "C" {

int16_t B_allber(int16_t p, double u, double *values) {
  static const char kTag[] = "B_ALLBER";
  if (!values) return fail(kErrIndex, kTag);
  if (check_degree_param(p, u, kTag)) return 1;
  bernstein_all(p, u, values);
  return 0;
}

int16_t B_bernst(int16_t p, int16_t i, double u, double *value) {
  static const char kTag[] = "B_BERNST";
  if (!value || i < 0 || i > p) return fail(kErrIndex, kTag);
  if (!in_unit(u)) return fail(kErrParameter, kTag);
  LocalStacks tmp;
  double *s = S_getr1d(p, tmp);
  if (!s) return 1;
  *value = bernstein_one(p, i, u, s);
  return 0;
}

int16_t B_curevn(const CPOINT *P, int16_t p, double u, POINT *point) {
  static const char kTag[] = "B_CUREVN";
  if (!P || !point) return fail(kErrIndex, kTag);
  if (check_degree_param(p, u, kTag)) return 1;
  LocalStacks tmp;
  const double *b = bernstein_values(p, u, tmp);
  if (!b) return 1;
  CPOINT acc = kZeroCpoint;
  for (int32_t i = 0; i <= p; ++i) accumulate(acc, b[i], P[i]);
  return finite_euclid(acc, *point) ? 0 : fail(kErrFloat, kTag);
}

int16_t B_cfnevn(const double *values, int16_t p, double u, double *result) {
  static const char kTag[] = "B_CFNEVN";
  if (!values || !result) return fail(kErrIndex, kTag);
  if (check_degree_param(p, u, kTag)) return 1;
  LocalStacks tmp;
  const double *b = bernstein_values(p, u, tmp);
  if (!b) return 1;
  double s = 0.0;
  for (int32_t i = 0; i <= p; ++i) s += b[i] * values[i];
  *result = s;
  return 0;
}

// net[i][j]: i runs along u (degree p), j along v (degree q).
int16_t B_surevn(CPOINT *const *net, int16_t p, int16_t q, double u, double v, POINT *point) {
  static const char kTag[] = "B_SUREVN";
  if (!net || !point) return fail(kErrIndex, kTag);
  if (check_degree_param(p, u, kTag) || check_degree_param(q, v, kTag)) return 1;
  LocalStacks tmp;
  const double *bu = bernstein_values(p, u, tmp);
  const double *bv = bu ? bernstein_values(q, v, tmp) : nullptr;
  if (!bv) return 1;
  CPOINT acc = kZeroCpoint;
  for (int32_t i = 0; i <= p; ++i)
    for (int32_t j = 0; j <= q; ++j) accumulate(acc, bu[i] * bv[j], net[i][j]);
  return finite_euclid(acc, *point) ? 0 : fail(kErrFloat, kTag);
}

int16_t B_sfnevn(double *const *values, int16_t p, int16_t q, double u, double v, double *result) {
  static const char kTag[] = "B_SFNEVN";
  if (!values || !result) return fail(kErrIndex, kTag);
  if (check_degree_param(p, u, kTag) || check_degree_param(q, v, kTag)) return 1;
  LocalStacks tmp;
  const double *bu = bernstein_values(p, u, tmp);
  const double *bv = bu ? bernstein_values(q, v, tmp) : nullptr;
  if (!bv) return 1;
  double s = 0.0;
  for (int32_t i = 0; i <= p; ++i) {
    double row = 0.0;
    for (int32_t j = 0; j <= q; ++j) row += bv[j] * values[i][j];
    s += bu[i] * row;
  }
  *result = s;
  return 0;
}

}  // extern "C"
