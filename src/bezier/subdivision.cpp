// Subdivision of Bezier curves, their arc length by recursive halving, and
// the Bezier curve through given points.
#include <algorithm>
#include <cmath>

#include "arith/vector_ops.hpp"
#include "bezier/bezier_ops.hpp"

using namespace orvo::detail;

namespace {

// Deepest halving of the length measurement. The tolerance halves with every
// level, so a tolerance of zero (or one below the rounding of the lengths)
// would otherwise split forever; at this depth a piece spans 2^-20 of the
// segment and the error actually reached is what the caller gets back.
constexpr int kMaxLengthDepth = 20;

// Length of the Euclidean control polygon and distance of its ends.
void polygon_and_chord(const CPOINT *P, int32_t p, double &polygon, double &chord) {
  polygon = 0.0;
  POINT prev = euclid(P[0]);
  for (int32_t i = 1; i <= p; ++i) {
    const POINT cur = euclid(P[i]);
    polygon += magnitude3(sub3(cur, prev));
    prev = cur;
  }
  chord = magnitude3(sub3(prev, euclid(P[0])));
}

// Recursive length accumulation. len grows by chord + polygon of every
// final piece; tol enters as the error allowed and leaves as the error
// reached (the sum of |polygon - chord| over the final pieces). work holds
// two pieces of p + 1 points for every level below this one.
void measure(const CPOINT *P, int32_t p, double &tol, double &len, int depth, CPOINT *work) {
  double polygon, chord;
  polygon_and_chord(P, p, polygon, chord);
  const double e = std::fabs(polygon - chord);
  if (!(e > tol) || depth >= kMaxLengthDepth) {
    len += chord + polygon;
    tol = e;
    return;
  }
  CPOINT *left = work, *right = work + (p + 1);
  std::copy(P, P + p + 1, right);
  casteljau_split(right, p, 0.5, left);
  CPOINT *deeper = work + 2 * (p + 1);
  double tl = tol / 2.0;
  measure(left, p, tl, len, depth + 1, deeper);
  // What the left half left over; never negative, so that a straight right
  // half stops at once even when the left half used more than its share.
  double tr = std::max(tol - tl, 0.0);
  measure(right, p, tr, len, depth + 1, deeper);
  tol = tl + tr;
}

int16_t accumulate_length(const CPOINT *P, int16_t p, double *tol, double *len, const char *tag) {
  if (!P || !tol || !len) return fail(kErrIndex, tag);
  if (p < 0) return fail(kErrSelector, tag);
  LocalStacks tmp;
  CPOINT *work = S_getc1d(2 * (int32_t{p} + 1) * kMaxLengthDepth - 1, tmp);
  if (!work) return 1;
  measure(P, p, *tol, *len, 0, work);
  return 0;
}

}  // namespace

extern "C" {

int16_t B_csplit(const CPOINT *P, int16_t p, double u, CPOINT *L, CPOINT *R) {
  static const char kTag[] = "B_CSPLIT";
  if (!P || !L || !R || L == R) return fail(kErrIndex, kTag);
  if (p < 0) return fail(kErrSelector, kTag);
  if (!in_unit(u)) return fail(kErrParameter, kTag);
  // The triangle is built inside R, which keeps its right edge; a P shared
  // with L or R is read completely before either is written.
  if (R != P) std::copy(P, P + p + 1, R);
  casteljau_split(R, p, u, L);
  return 0;
}

int16_t B_reclen(const CPOINT *P, int16_t p, double *tol, double *len) {
  return accumulate_length(P, p, tol, len, "B_RECLEN");
}

// The mean of chord and polygon length over the final pieces; the sums of
// both are accumulated, hence the doubled tolerance and the halved total.
int16_t B_arclen(const CPOINT *P, int16_t p, double tol, double *len) {
  static const char kTag[] = "B_ARCLEN";
  if (!len) return fail(kErrIndex, kTag);
  double sum = 0.0, t = 2.0 * tol;
  if (accumulate_length(P, p, &t, &sum, kTag)) return 1;
  *len = sum / 2.0;
  return 0;
}

// The Bezier curve of degree n through Q[0..n] at parameters proportional
// to the accumulated point distances: row k of the system holds the
// Bernstein values at the k-th parameter, the ends the unit rows.
int16_t B_gcurin(const POINT *Q, int16_t n, CPOINT *P, STACKS *ws) {
  static const char kTag[] = "B_GCURIN";
  if (!Q || !P) return fail(kErrIndex, kTag);
  if (n < 0) return fail(kErrSelector, kTag);
  if (n == 0) {
    A_poicpt(Q[0], &P[0]);
    return 0;
  }
  LocalStacks tmp;
  double *t = S_getr1d(n, tmp);
  RMATRIX A;
  M_inirma(&A);
  if (!t || M_getrma(&A, n, n, ORVO_FULL, n + 1, tmp)) return 1;
  t[0] = 0.0;
  for (int32_t k = 1; k <= n; ++k) t[k] = t[k - 1] + magnitude3(sub3(Q[k], Q[k - 1]));
  const double total = t[n];
  if (M_chkfop(1.0, total, 4)) return fail(kErrFloat, kTag);
  for (int32_t k = 1; k < n; ++k) t[k] /= total;
  t[n] = 1.0;
  // Coincident neighbours give equal parameters and equal rows.
  for (int32_t k = 1; k <= n; ++k)
    if (!(t[k] > t[k - 1])) return fail(kErrFloat, kTag);
  for (int32_t k = 0; k <= n; ++k) bernstein_all(n, t[k], A.a[k]);
  if (M_ludcmp(&A)) return 1;
  return M_forbac(&A, Q, 1, P, ws);
}

}  // extern "C"
