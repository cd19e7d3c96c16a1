// The maximum of one B-spline basis function and its least and greatest
// value on each span of its support, used to bound the change of shape
// when knots are removed or the degree is reduced.
#include <algorithm>
#include <cmath>

#include "eval/kernels.hpp"

using namespace orvo::detail;

namespace {

// Samples per degree in the first scan, and sub-steps when a bracket is
// narrowed.
constexpr int kScanSteps = 10;
// Outer passes, and Newton steps per pass.
constexpr int kPasses = 20;

int16_t check_function_index(const KNOTVECTOR *knt, int32_t i, int p, const char *tag) {
  if (!knt || !knt->U || knt->m < 0) return fail(kErrIndex, tag);
  if (check_degree(p, tag)) return 1;
  if (i < 0 || i > knt->m - p - 1) return fail(kErrIndex, tag);
  return 0;
}

// Do the p inner knots U[i+1..i+p] of the support coincide? The function
// then peaks with value 1 at that knot.
bool inner_knots_coincide(const double *U, int32_t i, int p) {
  int c = 1;
  for (int32_t j = i + 2; j <= i + p; ++j)
    if (U[j - 1] == U[j]) ++c;
  return c == p;
}

// N[i] of degree p and its derivatives up to order d at x (right limits).
struct Derivs {
  double v[3];
};
Derivs derivs_at(const KNOTVECTOR *knt, int32_t i, int p, double x, int d) {
  Derivs r{};
  single_basis_derivatives(knt->U, knt->m, i, p, x, 1, d, r.v);
  return r;
}

}  // namespace

extern "C" {

int16_t N_kntmax(const KNOTVECTOR *knt, int32_t i, int16_t p, double tol, double *nmax,
                 double *umax) {
  const char *tag = "N_KNTMAX";
  if (check_function_index(knt, i, p, tag)) return 1;
  const double *U = knt->U;
  const double lo = U[i], hi = U[i + p + 1];
  // Degree 0: the function is 1 on its whole span.
  if (p == 0) {
    *nmax = 1.0;
    *umax = lo;
    return 0;
  }
  if (p == 1 || inner_knots_coincide(U, i, p)) {
    *nmax = 1.0;
    *umax = U[i + 1];
    return 0;
  }
  // A support of no length (only knots out of order give one here) holds
  // no positive value; the scan below would not advance.
  if (!(hi > lo)) {
    *nmax = 0.0;
    *umax = lo;
    return 0;
  }

  // Scan for the first sample where the function falls: [prev, u] brackets
  // the maximum. The samples are counted, not accumulated: a step below the
  // spacing of the doubles near the support would leave the sum in place.
  const int steps = kScanSteps * p;
  const double h0 = (hi - lo) / steps;
  double u = lo, prev = lo;
  for (int k = 1; k <= steps; ++k) {
    prev = u;
    u = k == steps ? hi : std::min(lo + k * h0, hi);
    if (derivs_at(knt, i, p, u, 1).v[1] < 0.0) break;
  }

  for (int pass = 0; pass < kPasses; ++pass) {
    double x = (u + prev) * 0.5;
    for (int step = 0; step < kPasses; ++step) {
      const Derivs d = derivs_at(knt, i, p, x, 2);
      if (std::fabs(d.v[1]) < tol && d.v[0] > tol) {
        *nmax = d.v[0];
        *umax = x;
        return 0;
      }
      if (M_chkfop(d.v[1], d.v[2], 4)) return fail(kErrFloat, tag);
      x -= d.v[1] / d.v[2];
      if (x <= lo || x >= hi) break;
    }
    // Narrow the bracket to the first tenth where the function falls.
    const double h = (u - prev) / kScanSteps;
    u = prev;
    for (int k = 0; k < kScanSteps; ++k) {
      prev = u;
      u += h;
      if (derivs_at(knt, i, p, u, 1).v[1] < 0.0) break;
    }
  }
  return fail(kErrNoConvergence, tag);
}

int16_t N_kntmma(const KNOTVECTOR *knt, int32_t i, int16_t p, double tol, double *mins,
                 double *maxs, double *umax) {
  const char *tag = "N_KNTMMA";
  if (check_function_index(knt, i, p, tag)) return 1;
  const double *U = knt->U;
  const int32_t m = knt->m;
  if (p == 0) {
    mins[0] = maxs[0] = 1.0;
    *umax = U[i];
    return 0;
  }
  if (p == 1) {
    mins[0] = mins[1] = 0.0;
    maxs[0] = maxs[1] = 1.0;
    *umax = U[i + 1];
    return 0;
  }
  if (inner_knots_coincide(U, i, p)) {
    std::fill(maxs, maxs + p + 1, 1.0);
    std::fill(mins + 1, mins + p, 1.0);
    mins[0] = U[i + 1] != U[i] ? 0.0 : 1.0;
    mins[p] = U[i + p + 1] != U[i + p] ? 0.0 : 1.0;
    *umax = U[i + 1];
    return 0;
  }

  double nmax, where;
  if (N_kntmax(knt, i, p, tol, &nmax, &where)) return 1;
  int32_t k = -1;
  for (int32_t j = i; j <= i + p; ++j)
    if (U[j] <= where && where < U[j + 1]) {
      k = j;
      break;
    }
  if (k < 0) return fail(kErrNoConvergence, tag);

  const auto N = [&](int32_t j) { return single_basis(U, m, i, p, U[j], 1); };
  const int32_t t = k - i;
  for (int32_t j = 0; j <= p; ++j) {
    if (j < t) {
      mins[j] = N(i + j);
      maxs[j] = N(i + j + 1);
    } else if (j == t) {
      maxs[j] = nmax;
      mins[j] = std::min(N(k), N(k + 1));
    } else {
      mins[j] = N(i + j + 1);
      maxs[j] = N(i + j);
    }
  }
  // Knots whose differences cannot be divided by give values that are not
  // finite.
  if (!all_finite(mins, p + 1) || !all_finite(maxs, p + 1)) return fail(kErrFloat, tag);
  *umax = where;
  return 0;
}

}  // extern "C"
