// Derivatives of a polynomial in power form and a safeguarded Newton
// iteration for one of its roots.
#include <algorithm>
#include <cmath>

#include "core/internal.hpp"

using namespace orvo::detail;

extern "C" {

// Horner's scheme carried to the derivatives: out[j] collects the j-th
// Taylor coefficient at x, which times j! is the j-th derivative.
void M_polder(const double *c, int32_t n, double x, int32_t nd, double *out) {
  if (!out || nd < 0) return;
  std::fill(out, out + nd + 1, 0.0);
  if (!c || n < 0) return;  // no coefficients: the zero polynomial
  out[0] = c[n];
  for (int32_t i = n - 1; i >= 0; --i) {
    for (int32_t j = std::min(nd, n - i); j >= 1; --j) out[j] = out[j] * x + out[j - 1];
    out[0] = out[0] * x + c[i];
  }
  double factorial = 1.0;
  for (int32_t j = 2; j <= nd; ++j) {
    factorial *= j;
    out[j] *= factorial;
  }
}

// Newton steps kept inside [lo, hi]. Converged when |p(x)| < tol, or when a
// step that was not cut back to the interval moves x by less than tol in
// the value of p. A step that was cut back says nothing about a root: a
// polynomial without a root in the interval would otherwise appear to
// converge at the end of the interval that the steps run into.
int16_t M_polnew(const double *c, int32_t n, double x0, double lo, double hi, double tol,
                 double *root) {
  static const char kTag[] = "M_POLNEW";
  if (!c || !root) return fail(kErrIndex, kTag);
  double x = x0;
  for (int32_t step = 0; step < MAXIT; ++step) {
    double pd[2];
    M_polder(c, n, x, 1, pd);
    if (std::fabs(pd[0]) < tol) {
      *root = x;
      return 0;
    }
    if (M_chkfop(pd[0], pd[1], 4)) return fail(kErrFloat, kTag);
    const double free_step = x - pd[0] / pd[1];
    double next = free_step;
    if (next < lo) next = lo;
    if (next > hi) next = hi;
    if (next == free_step && std::fabs((next - x) * pd[1]) < tol) {
      *root = next;
      return 0;
    }
    x = next;
  }
  return fail(kErrNoConvergence, kTag);
}

}  // extern "C"
