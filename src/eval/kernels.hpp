// Evaluation kernels: span search, B-spline basis values and derivatives,
// the rational-basis combination and the argument checks shared by the
// exported evaluators. Everything works in fixed local tables sized for the
// maximum degree and derivative order, so no kernel allocates.
//
// Side convention: side 1 takes the right limit at a knot (U[i] <= u <
// U[i+1]), side 2 the left limit (U[i] < u <= U[i+1]). At the two ends of
// the valid range [U[p], U[m-p]] the side is turned inward (the start is
// always a right limit, the end always a left limit), so that every span
// the search returns lies in p .. m-p-1.
#pragma once

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <type_traits>

#include "arith/point_ops.hpp"
#include "core/internal.hpp"

namespace orvo::detail {

// Entries of a basis table: one per function of a span at the maximum degree.
constexpr int kBasisSize = MAXDEGREE + 1;
// Highest derivative order of the fixed-table evaluators.
constexpr int kMaxDerOrder = 5;

// ---- Degree dispatch ---------------------------------------------------------
// f(deg, args...) with the degree as a compile-time constant
// (decltype(deg)::value) for the degrees the kernels have code of their
// own, 1 to 5, and -1 (the degree read at run time) for the others. f is a
// lambda without captures: the arguments travel in registers, as in a
// direct call, not through a closure in memory.
template <class F, class... Args>
inline decltype(auto) by_degree(int p, F f, Args... args) {
  switch (p) {
    case 1:
      return f(std::integral_constant<int, 1>{}, args...);
    case 2:
      return f(std::integral_constant<int, 2>{}, args...);
    case 3:
      return f(std::integral_constant<int, 3>{}, args...);
    case 4:
      return f(std::integral_constant<int, 4>{}, args...);
    case 5:
      return f(std::integral_constant<int, 5>{}, args...);
    default:
      return f(std::integral_constant<int, -1>{}, args...);
  }
}

// ---- Packed pairs ------------------------------------------------------------
// Two doubles handled by one instruction.
typedef double Pair __attribute__((vector_size(16)));

// The two doubles at p[0], p[1] (for instance x and y, or z and w, of a
// CPOINT).
inline Pair pair_at(const double *p) {
  Pair v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// ---- Binomial coefficients ------------------------------------------------
// Pascal's triangle up to row kMaxDerOrder, built at compile time.
struct BinomialTable {
  double c[kMaxDerOrder + 1][kMaxDerOrder + 1];
};

constexpr BinomialTable make_binomials() {
  BinomialTable t{};
  for (int k = 0; k <= kMaxDerOrder; ++k) {
    t.c[k][0] = 1.0;
    t.c[k][k] = 1.0;
    for (int i = 1; i < k; ++i) t.c[k][i] = t.c[k - 1][i - 1] + t.c[k - 1][i];
  }
  return t;
}

inline constexpr BinomialTable kBinomials = make_binomials();

// ---- Argument checks --------------------------------------------------------
// Every check records its error under the calling routine's tag and returns
// the failure status, so callers can chain them with ||.

// Degree p must index the fixed tables: 0 .. MAXDEGREE.
inline int16_t check_degree(int p, const char *tag) {
  if (p < 0) return fail(kErrIndex, tag);
  if (p > MAXDEGREE) return fail(kErrDegree, tag);
  return 0;
}

// A knot vector that can hold at least one span of degree p (m >= 2p+1);
// fewer knots leave the span range p .. m-p-1 empty.
inline int16_t check_knots(const KNOTVECTOR *knt, int p, const char *tag) {
  if (!knt || !knt->U || knt->m < 0) return fail(kErrParameter, tag);
  if (check_degree(p, tag)) return 1;
  if (knt->m < 2 * p + 1) return fail(kErrInconsistent, tag);
  return 0;
}

inline int16_t check_side(int side, const char *tag) {
  return (side == 1 || side == 2) ? 0 : fail(kErrSelector, tag);
}

// u must lie in [U[0], U[m]]; the negated test also refuses NaN.
inline int16_t check_param(const double *U, int32_t m, double u, const char *tag) {
  return (u >= U[0] && u <= U[m]) ? 0 : fail(kErrParameter, tag);
}

// u must lie in the range that has spans, [U[p], U[m-p]]. For a clamped
// vector this is [U[0], U[m]]; for an unclamped one the stretches below
// U[p] and above U[m-p] have no span of p+1 functions.
inline int16_t check_span_param(const double *U, int32_t m, int p, double u, const char *tag) {
  if (check_param(U, m, u, tag)) return 1;
  return (u >= U[p] && u <= U[m - p]) ? 0 : fail(kErrParameter, tag);
}

// Curve and function records: non-null parts, a usable degree, m = n+p+1
// and at least p+1 coefficients (n >= p), so every span's coefficients
// Pw[span-p .. span] lie inside the array.
inline int16_t check_record(const void *coef, int32_t n, int p, const KNOTVECTOR *knt,
                            const char *tag) {
  if (!coef || !knt || !knt->U) return fail(kErrCurveDef, tag);
  if (check_degree(p, tag)) return 1;
  if (n < 0 || static_cast<int64_t>(knt->m) != static_cast<int64_t>(n) + p + 1)
    return fail(kErrCurveDef, tag);
  if (n < p) return fail(kErrInconsistent, tag);
  return 0;
}

inline int16_t check_curve(const CURVE *cur, const char *tag) {
  if (!cur || !cur->pol) return fail(kErrCurveDef, tag);
  return check_record(cur->pol->Pw, cur->pol->n, cur->p, cur->knt, tag);
}

inline int16_t check_function(const CFUNCTION *cfn, const char *tag) {
  if (!cfn || !cfn->cvl) return fail(kErrCurveDef, tag);
  return check_record(cfn->cvl->values, cfn->cvl->n, cfn->p, cfn->knt, tag);
}

// A derivative order d must lie in 0 .. limit (kMaxDerOrder for the
// fixed-table evaluators).
inline int16_t check_order(int d, int limit, const char *tag) {
  return (d >= 0 && d <= limit) ? 0 : fail(kErrDerivOrder, tag);
}

// ---- Span search --------------------------------------------------------------
// Side with the ends of the valid range turned inward.
inline int inward_side(const double *U, int32_t m, int p, double u, int side) {
  if (u == U[p]) return 1;
  if (u == U[m - p]) return 2;
  return side;
}

// Largest i in first..last with U[i] <= u (right limit) or U[i] < u (left
// limit), U[first] itself satisfying the test. Bisection in steps of powers
// of two: the first step tests the knot a power of two s (the largest not
// above the candidate count) below the end, which leaves s candidates
// either way; the steps that follow halve s. Without branches on the knot
// comparisons (they compile to conditional moves, so random parameters
// cost no mispredictions), and a step costs a handful of instructions. Every
// knot read lies in first..last and the candidate range shrinks at every
// step, so the search ends on any input, even on knots that are not
// sorted, always inside first..last.
template <bool kRight>
inline int32_t bisect_values(const double *U, int32_t first, int32_t last, double u) {
  const auto passes = [u](double knot) { return kRight ? knot <= u : knot < u; };
  const double *base = U + first;
  const uint32_t len = static_cast<uint32_t>(last - first + 1);  // >= 1
  uint32_t step = 1u << (31 - __builtin_clz(len));               // largest power of two <= len
  base = passes(base[len - step]) ? base + (len - step) : base;
  for (step >>= 1; step > 0; step >>= 1) base = passes(base[step]) ? base + step : base;
  return static_cast<int32_t>(base - U);
}

// The bit pattern of a double as a signed integer. For u > 0 every double x
// (negative, zero of either sign, positive or infinite) compares with u as
// its pattern compares with u's, so knots can be tested in the integer
// unit.
inline int64_t bit_pattern(const double *x) {
  int64_t b;
  std::memcpy(&b, x, sizeof b);
  return b;
}

// bisect_values for u > 0, on the knots' bit patterns, and with the next
// step's two possible pivots loaded before the current test settles which
// one is next: a step then waits for a compare and a conditional move
// rather than for a load, which halves the chain of dependent operations.
template <bool kRight>
inline int32_t bisect_bits(const double *U, int32_t first, int32_t last, double u) {
  const int64_t key = bit_pattern(&u);
  const double *base = U + first;
  const uint32_t len = static_cast<uint32_t>(last - first + 1);  // >= 1
  uint32_t step = 1u << (31 - __builtin_clz(len));
  // base[0 .. jump + step - 1] holds the candidates; base[jump] is tested.
  uint32_t jump = len - step;
  int64_t pivot = bit_pattern(base + jump);
  while (step > 1) {
    const uint32_t half = step >> 1;
    int64_t next = bit_pattern(base + half);
    const int64_t high = bit_pattern(base + jump + half);
    const double *moved = base + jump;
#if defined(__x86_64__) && defined(__GNUC__)
    // Written out, since the compiler turns the two selections into a
    // branch that random parameters mispredict; cc is the condition of
    // the test (le: pivot <= key, l: pivot < key).
#define ORVO_SELECT_STEP(cc)                                                                 \
  asm("cmpq %[key], %[pivot]\n\tcmov" cc " %[high], %[next]\n\tcmov" cc " %[moved], %[base]" \
      : [next] "+r"(next), [base] "+r"(base)                                                 \
      : [pivot] "r"(pivot), [key] "r"(key), [high] "r"(high), [moved] "r"(moved)             \
      : "cc")
    if constexpr (kRight)
      ORVO_SELECT_STEP("le");
    else
      ORVO_SELECT_STEP("l");
#undef ORVO_SELECT_STEP
#else
    const bool passes = kRight ? pivot <= key : pivot < key;
    next = passes ? high : next;
    base = passes ? moved : base;
#endif
    pivot = next;
    jump = step = half;
  }
  const bool passes = kRight ? pivot <= key : pivot < key;
  return static_cast<int32_t>((passes ? base + jump : base) - U);
}

template <bool kRight>
inline int32_t bisect(const double *U, int32_t first, int32_t last, double u) {
  return u > 0.0 ? bisect_bits<kRight>(U, first, last, u)
                 : bisect_values<kRight>(U, first, last, u);
}

// Span of u in U[0..m] for degree p; u must lie in [U[p], U[m-p]]. Side 1
// gives U[i] <= u < U[i+1], side 2 U[i] < u <= U[i+1]; the ends of the
// range are checked first, which also settles the two end spans at once.
inline int32_t find_span(const double *U, int32_t m, int p, double u, int side) {
  const int32_t first = p, last = m - p - 1;
  if (inward_side(U, m, p, u, side) == 1) {
    if (u >= U[last]) return last;
    return bisect<true>(U, first, last, u);
  }
  if (u <= U[first + 1]) return first;
  return bisect<false>(U, first, last, u);
}

// ---- Basis values -----------------------------------------------------------
// The p+1 non-zero basis values N[span-p .. span] at u (triangular scheme).
inline void basis_values(const double *U, int p, double u, int32_t span, double *N) {
  double left[kBasisSize], right[kBasisSize];
  N[0] = 1.0;
  for (int j = 1; j <= p; ++j) {
    left[j] = u - U[span + 1 - j];
    right[j] = U[span + j] - u;
    double saved = 0.0;
    for (int r = 0; r < j; ++r) {
      const double temp = N[r] / (U[span + r + 1] - U[span + 1 - j + r]);
      N[r] = saved + right[r + 1] * temp;
      saved = left[j - r] * temp;
    }
    N[j] = saved;
  }
}

// The divisions of the basis triangle of span are safe: the span's width
// is a normal number (a zero or subnormal width has a reciprocal that
// overflows) and the 2p knots around it spread over less than half the
// largest double (a wider spread overflows the sums of knot differences to
// infinity, whose quotients are silently zero). Every denominator of the
// triangle spans the span and lies within that spread. NaN and infinite
// knots fail both tests.
inline bool span_fit(const double *U, int p, int32_t span) {
  constexpr double kSpread = 0.5 * DBL_MAX;
  return p == 0 || (U[span + 1] - U[span] >= DBL_MIN && U[span + p] - U[span + 1 - p] <= kSpread);
}

// Exact values at the ends of the valid range, without arithmetic: at a
// clamped start (p+1 equal knots, the next one distinct) the first function
// is 1 and the others 0, likewise the last function at a clamped end; and
// at u == U[p] when the range [U[p], U[m-p]] has no length, so that no span
// of it can be computed in. Returns the span, or -1 when u is no such end
// (an unclamped end has p+1 non-zero values, which the triangle gives).
inline int32_t end_basis(const double *U, int32_t m, int p, double u, double *N) {
  if (u == U[p] && ((U[0] == U[p] && U[p] < U[p + 1]) || U[p] == U[m - p])) {
    N[0] = 1.0;
    std::fill(N + 1, N + p + 1, 0.0);
    return p;
  }
  if (u == U[m - p] && U[m - p] == U[m] && U[m - p - 1] < U[m - p]) {
    std::fill(N, N + p, 0.0);
    N[p] = 1.0;
    return m - p - 1;
  }
  return -1;
}

// Span and basis values at u in [U[p], U[m-p]], or -1 when the span's
// knots do not allow the divisions (span_fit): the caller reports error 11.
inline int32_t span_and_basis(const double *U, int32_t m, int p, double u, int side, double *N) {
  const int32_t end = end_basis(U, m, p, u, N);
  if (end >= 0) return end;
  const int32_t span = find_span(U, m, p, u, side);
  if (!span_fit(U, p, span)) return -1;
  basis_values(U, p, u, span, N);
  return span;
}

// True when every one of v[0..n-1] is finite: the last guard of the
// derivative evaluators, whose values grow like the reciprocal powers of
// the knot differences and can overflow on knots that pass span_fit.
inline bool all_finite(const double *v, int n) {
  for (int i = 0; i < n; ++i)
    if (!std::isfinite(v[i])) return false;
  return true;
}

// ---- Basis derivatives ------------------------------------------------------
// Triangle of span at u: the upper triangle and diagonal, ndu[r][j] with
// r <= j, hold the basis values of rising degree (N[span-j+r] of degree j);
// the lower triangle, ndu[j][r] with r < j, the reciprocals of the knot
// differences U[span+r+1] - U[span+1-j+r], so that derivative formulas
// multiply where they would divide by the same differences. Inside a span
// of non-zero length every such difference spans it, so none is zero.
using BasisTriangle = double[kBasisSize][kBasisSize];

// kDeg >= 0 fixes the degree at compile time, and the table may then be
// any [kDeg + 1][kDeg + 1] array: small enough to stay in registers once
// the loops unroll.
template <int kDeg = -1, class Table = BasisTriangle>
inline void basis_triangle(const double *U, int p, double u, int32_t span, Table &ndu) {
  constexpr int kSize = kDeg >= 0 ? kDeg + 1 : kBasisSize;
  if (kDeg >= 0) p = kDeg;
  double left[kSize], right[kSize];
  ndu[0][0] = 1.0;
#pragma GCC unroll 8
  for (int j = 1; j <= p; ++j) {
    left[j] = u - U[span + 1 - j];
    right[j] = U[span + j] - u;
    double saved = 0.0;
#pragma GCC unroll 8
    for (int r = 0; r < j; ++r) {
      ndu[j][r] = 1.0 / (U[span + r + 1] - U[span + 1 - j + r]);
      const double temp = ndu[r][j - 1] * ndu[j][r];
      ndu[r][j] = saved + right[r + 1] * temp;
      saved = left[j - r] * temp;
    }
    ndu[j][j] = saved;
  }
}

// Reciprocals of the knot differences of span, inv[j][r] = 1 / (U[span+r+1]
// - U[span+1-j+r]) for j = 1..p, r < j: each difference spans the span, so
// none is zero where span_fit holds. They depend on the knots alone, so
// parameters in one span can share them. kDeg >= 0 fixes the degree at
// compile time.
template <int kDeg = -1>
using Reciprocals = double[kDeg >= 0 ? kDeg + 1 : kBasisSize][kDeg >= 0 ? kDeg + 1 : kBasisSize];

template <int kDeg = -1>
inline void span_reciprocals(const double *U, int p, int32_t span, Reciprocals<kDeg> &inv) {
  if (kDeg >= 0) p = kDeg;
  for (int j = 1; j <= p; ++j)
    for (int r = 0; r < j; ++r) inv[j][r] = 1.0 / (U[span + r + 1] - U[span + 1 - j + r]);
}

// The basis values of span at u as basis_triangle forms them (row p of its
// upper part), from the span's reciprocals: products alone, so the
// divisions stay off the chain of dependent operations from one degree to
// the next, and the values are those the derivative evaluators give as
// their order 0.
template <int kDeg = -1>
inline void basis_row(const double *U, int p, double u, int32_t span, const Reciprocals<kDeg> &inv,
                      double *N) {
  constexpr int kSize = kDeg >= 0 ? kDeg + 1 : kBasisSize;
  if (kDeg >= 0) p = kDeg;
  double left[kSize], right[kSize];
  for (int j = 1; j <= p; ++j) {
    left[j] = u - U[span + 1 - j];
    right[j] = U[span + j] - u;
  }
  // The first step of each degree has no saved term: starting from it
  // saves an addition of zero.
  N[0] = 1.0;
  for (int j = 1; j <= p; ++j) {
    double temp = N[0] * inv[j][0];
    double saved = left[j] * temp;
    N[0] = right[1] * temp;
    for (int r = 1; r < j; ++r) {
      temp = N[r] * inv[j][r];
      N[r] = saved + right[r + 1] * temp;
      saved = left[j - r] * temp;
    }
    N[j] = saved;
  }
}

template <int kDeg = -1>
inline void basis_row(const double *U, int p, double u, int32_t span, double *N) {
  Reciprocals<kDeg> inv;
  span_reciprocals<kDeg>(U, p, span, inv);
  basis_row<kDeg>(U, p, u, span, inv, N);
}

// ders[k][j], k = 0..n, j = 0..p: the k-th derivatives of the p+1 non-zero
// basis functions of span at u. Rows above p are zero. Rows is any type
// indexable as ders[k][j] (a row table or a fixed 2-D array).
template <class Rows>
inline void basis_derivatives(const double *U, int p, double u, int32_t span, int n, Rows ders) {
  BasisTriangle ndu;
  double a[2][kBasisSize] = {};  // zeroed: keeps every read defined to the compiler's eye
  basis_triangle(U, p, u, span, ndu);
  for (int j = 0; j <= p; ++j) ders[0][j] = ndu[j][p];

  // First derivatives alone (the common request) straight from the
  // triangle: p (N[r-1] / (U[r+p] - U[r]) - N[r] / (U[r+p+1] - U[r+1]))
  // over the degree p-1 values; the same operations as the general loop
  // below performs for k = 1.
  if (n == 1 && p > 0) {
    for (int r = 0; r <= p; ++r) {
      double d = r >= 1 ? ndu[p][r - 1] * ndu[r - 1][p - 1] : 0.0;
      if (r < p) d += -ndu[p][r] * ndu[r][p - 1];
      ders[1][r] = d * p;
    }
    return;
  }

  const int top = std::min(n, p);
  for (int r = 0; r <= p; ++r) {
    int s1 = 0, s2 = 1;
    a[0][0] = 1.0;
    for (int k = 1; k <= top; ++k) {
      double d = 0.0;
      const int rk = r - k, pk = p - k;
      if (r >= k) {
        a[s2][0] = a[s1][0] * ndu[pk + 1][rk];
        d = a[s2][0] * ndu[rk][pk];
      }
      const int j1 = rk >= -1 ? 1 : -rk;
      const int j2 = (r - 1 <= pk) ? k - 1 : p - r;
      for (int j = j1; j <= j2; ++j) {
        a[s2][j] = (a[s1][j] - a[s1][j - 1]) * ndu[pk + 1][rk + j];
        d += a[s2][j] * ndu[rk + j][pk];
      }
      if (r <= pk) {
        a[s2][k] = -a[s1][k - 1] * ndu[pk + 1][r];
        d += a[s2][k] * ndu[r][pk];
      }
      ders[k][r] = d;
      std::swap(s1, s2);
    }
  }
  double factor = p;  // p! / (p-k)!
  for (int k = 1; k <= top; ++k) {
    for (int j = 0; j <= p; ++j) ders[k][j] *= factor;
    factor *= p - k;
  }
  for (int k = top + 1; k <= n; ++k) std::fill(ders[k], ders[k] + p + 1, 0.0);
}

// ---- Single basis functions -------------------------------------------------
// Does u lie in span k under the side's closure?
inline bool in_span(const double *U, int32_t k, double u, int side) {
  return side == 1 ? (U[k] <= u && u < U[k + 1]) : (U[k] < u && u <= U[k + 1]);
}

// Is u outside the support [U[i], U[i+p+1]] of N[i] under the side's closure?
inline bool outside_support(const double *U, int32_t i, int p, double u, int side) {
  return side == 1 ? (u < U[i] || u >= U[i + p + 1]) : (u <= U[i] || u > U[i + p + 1]);
}

// Triangle of the single function N[i]: on return T[j][k] holds
// N[i+j] of degree k, j = 0..p-k; the result is N[i] of degree p. Entries that are zero are
// propagated without a division, so empty knot intervals never divide.
inline double single_triangle(const double *U, int32_t i, int p, double u, int side,
                              double (*T)[kBasisSize]) {
  double top = in_span(U, i, u, side) ? 1.0 : 0.0;  // T[0][k] of the last degree
  T[0][0] = top;
  for (int j = 1; j <= p; ++j) T[j][0] = in_span(U, i + j, u, side) ? 1.0 : 0.0;
  for (int k = 1; k <= p; ++k) {
    double saved = T[0][k - 1] == 0.0 ? 0.0 : (u - U[i]) * T[0][k - 1] / (U[i + k] - U[i]);
    for (int j = 0; j <= p - k; ++j) {
      const double uleft = U[i + j + 1], uright = U[i + j + k + 1];
      if (T[j + 1][k - 1] == 0.0) {
        T[j][k] = saved;
        saved = 0.0;
      } else {
        const double temp = T[j + 1][k - 1] / (uright - uleft);
        T[j][k] = saved + (uright - u) * temp;
        saved = (u - uleft) * temp;
      }
    }
    top = T[0][k];
  }
  return top;
}

// The knots of the support of N[i] spread over less than half the largest
// double, so that no knot difference overflows (see span_fit); zero and
// subnormal differences are met by the triangle's zero rule or end in a
// non-finite value that the callers refuse.
inline bool support_fit(const double *U, int32_t i, int p) {
  return U[i + p + 1] - U[i] <= 0.5 * DBL_MAX;
}

// N[i](u) of degree p, with the side turned inward at the ends of the
// range and the exact end values of end_basis. NaN when the support's
// knots do not allow the divisions: the callers report error 11 for any
// value that is not finite.
inline double single_basis(const double *U, int32_t m, int32_t i, int p, double u, int side) {
  double E[kBasisSize];
  const int32_t end = end_basis(U, m, p, u, E);
  if (end >= 0) return (i >= end - p && i <= end) ? E[i - (end - p)] : 0.0;
  const int s = inward_side(U, m, p, u, side);
  if (outside_support(U, i, p, u, s)) return 0.0;
  if (!support_fit(U, i, p)) return std::numeric_limits<double>::quiet_NaN();
  double T[kBasisSize][kBasisSize];
  return single_triangle(U, i, p, u, s, T);
}

// ders[0..n]: N[i] and its derivatives at u, orders above p zero.
inline void single_basis_derivatives(const double *U, int32_t m, int32_t i, int p, double u,
                                     int side, int n, double *ders) {
  const int s = inward_side(U, m, p, u, side);
  if (outside_support(U, i, p, u, s)) {
    std::fill(ders, ders + n + 1, 0.0);
    return;
  }
  if (!support_fit(U, i, p)) {
    std::fill(ders, ders + n + 1, std::numeric_limits<double>::quiet_NaN());
    return;
  }
  double T[kBasisSize][kBasisSize];
  ders[0] = single_triangle(U, i, p, u, s, T);
  // Order k: k-fold differencing of the degree p-k column.
  const int top = std::min(n, p);
  for (int k = 1; k <= top; ++k) {
    double nd[kBasisSize];
    for (int j = 0; j <= k; ++j) nd[j] = T[j][p - k];
    for (int jj = 1; jj <= k; ++jj) {
      const int deg = p - k + jj;
      double saved = nd[0] == 0.0 ? 0.0 : nd[0] / (U[i + deg] - U[i]);
      for (int j = 0; j <= k - jj; ++j) {
        const double uleft = U[i + j + 1], uright = U[i + j + deg + 1];
        if (nd[j + 1] == 0.0) {
          nd[j] = deg * saved;
          saved = 0.0;
        } else {
          const double temp = nd[j + 1] / (uright - uleft);
          nd[j] = deg * (saved - temp);
          saved = temp;
        }
      }
    }
    ders[k] = nd[0];
  }
  for (int k = top + 1; k <= n; ++k) ders[k] = 0.0;
}

// ---- Curve derivatives over one span -----------------------------------------
// H[k], k = 0..d: the k-th derivatives at u of the polynomial curve with the
// K-coordinate coefficients Q[0..p] over its span (triangle ndu of that
// span). Order k is the degree p-k curve of the k-fold differenced
// coefficients, (p-k+1) (Q[l+1] - Q[l]) / (U[span+l+1] - U[span-p+k+l]),
// whose reciprocal differences are row p-k+1 of the triangle's lower part;
// this costs O(p) per order where the basis derivative table costs O(p^2).
// Q is differenced in place; orders above p are zero. kDeg >= 0 and
// kOrder >= 0 fix p and d at compile time, so that the loops unroll.
template <int K, int kDeg = -1, int kOrder = -1, class Table = BasisTriangle>
inline void span_derivatives(const Table &ndu, int p, int d, double (*Q)[K], double (*H)[K]) {
  if (kDeg >= 0) p = kDeg;
  d = kOrder >= 0 ? kOrder : std::clamp(d, 0, kMaxDerOrder);  // H has kMaxDerOrder + 1 rows
  for (int k = 0; k <= d; ++k) {
    if (k > p) {
      std::fill(H[k], H[k] + K, 0.0);
      continue;
    }
    const int deg = p - k;
    if (k > 0) {
      for (int l = 0; l <= deg; ++l) {
        const double f = (deg + 1) * ndu[deg + 1][l];
        for (int c = 0; c < K; ++c) Q[l][c] = f * (Q[l + 1][c] - Q[l][c]);
      }
    }
    double h[K] = {};
    for (int l = 0; l <= deg; ++l)
      for (int c = 0; c < K; ++c) h[c] += ndu[l][deg] * Q[l][c];
    std::copy(h, h + K, H[k]);
  }
}

// ---- Rational basis ---------------------------------------------------------
// W[k], k = 0..d: derivatives of the weight function W = sum of w_j N_j
// over the control points Q[0..p] of a span, from basis derivative rows.
template <class Rows>
inline void weight_derivatives(const Rows &ders, const CPOINT *Q, int p, int d, double *W) {
  for (int k = 0; k <= d; ++k) {
    double s = 0.0;
    for (int j = 0; j <= p; ++j) s += ders[k][j] * Q[j].w;
    W[k] = s;
  }
}

// Turns rows 0..d of B-spline basis derivatives over the control points
// Q[0..p] of a span (rows above p zero) into derivatives of the rational
// basis functions R_j = w_j N_j / W by the quotient rule; the rows above p
// do not vanish for a rational basis. Returns false (table untouched) when
// W vanishes at u.
template <class Rows>
inline bool rationalize(Rows &ders, const CPOINT *Q, int p, int d) {
  const int top = std::min(d, p);  // W^(k) vanishes above the degree
  double W[kBasisSize] = {};
  weight_derivatives(ders, Q, p, top, W);
  if (W[0] == 0.0) return false;
  // Row k needs rows 0..k-1 already turned rational; row by row keeps the
  // inner loop on contiguous entries. c holds row k of Pascal's triangle.
  const double inv = 1.0 / W[0];
  double c[kBasisSize] = {1.0};
  for (int k = 0; k <= d; ++k) {
    const int imax = std::min(k, top);
    for (int i = imax; i >= 1; --i) c[i] += c[i - 1];
    for (int j = 0; j <= p; ++j) ders[k][j] *= Q[j].w;
    for (int i = 1; i <= imax; ++i) {
      const double f = c[i] * W[i];
      for (int j = 0; j <= p; ++j) ders[k][j] -= f * ders[k - i][j];
    }
    for (int j = 0; j <= p; ++j) ders[k][j] *= inv;
  }
  return true;
}

}  // namespace orvo::detail
