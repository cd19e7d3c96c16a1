// Degree change of Bezier segments: elevation from p to p + t through the
// elevation matrix, and reduction from p to p - 1 by the two recurrences
// that meet in the middle of the polygon, with a bound of the deviation.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "bezier/bezier_ops.hpp"

using namespace orvo::detail;

namespace {

// ---- Elevation ---------------------------------------------------------------

// The elevation matrix of p and t to use: E itself when it holds the full
// (p+t+1) x (p+1) matrix, one built in tmp when E is null or holds none
// (the caller's record is left as it was: there is no workspace of the
// caller to keep a matrix in). A held matrix of another shape: error 14.
int16_t elevation_for(const RMATRIX *E, int32_t p, int32_t t, const char *tag, STACKS *tmp,
                      RMATRIX &local, const RMATRIX *&use) {
  if (!E || M_isrman(E)) {
    M_inirma(&local);
    if (elevation_matrix(p, t, &local, tag, tmp)) return 1;
    use = &local;
    return 0;
  }
  if (E->n != p + t || E->m != p || E->type != ORVO_FULL) return fail(kErrInconsistent, tag);
  use = E;
  return 0;
}

// Checks shared by the curve and the line elevation: degrees, a range
// i0..i1 inside 0..p+t (an empty range, i1 < i0, is allowed).
int16_t check_elevation(int32_t p, int32_t t, int32_t i0, int32_t i1, const char *tag) {
  if (p < 0 || t < 0) return fail(kErrSelector, tag);
  if (i0 <= i1 && (i0 < 0 || i1 > p + t)) return fail(kErrIndex, tag);
  return 0;
}

// out(i) = sum over j = max(0, i-t)..min(p, i) of E[i][j] in[j], i = i0..i1.
template <class Out>
void elevate(const RMATRIX &E, int32_t p, int32_t t, int32_t i0, int32_t i1, const CPOINT *in,
             Out out) {
  for (int32_t i = i0; i <= i1; ++i) {
    CPOINT acc = kZeroCpoint;
    for (int32_t j = std::max(0, i - t); j <= std::min(p, i); ++j)
      accumulate(acc, E.a[i][j], in[j]);
    out(i, acc);
  }
}

// True when the byte ranges of count1 elements at a and count2 at b overlap.
bool overlaps(const CPOINT *a, int64_t count1, const CPOINT *b, int64_t count2) {
  const auto x = reinterpret_cast<uintptr_t>(a), y = reinterpret_cast<uintptr_t>(b);
  return x < y + count2 * sizeof(CPOINT) && y < x + count1 * sizeof(CPOINT);
}

// ---- Reduction -----------------------------------------------------------------

// B(i, p) at u in closed form; i outside 0..p gives 0.
double bernstein_value(int32_t p, int32_t i, double u) {
  if (i < 0 || i > p) return 0.0;
  return binomial(p, i) * std::pow(u, i) * std::pow(1.0 - u, p - i);
}

double distance4(const CPOINT &a, const CPOINT &b) {
  double d;
  G_discpo(a, b, &d);
  return d;
}

struct ReductionCoefficients {
  const double *A1, *B1, *A2, *B2;
};

// Reduces Q[0..p] (p >= 2) to P[0..p-1]; returns the bound of the deviation.
// From the left P[i] = A1[i] Q[i] + B1[i] P[i-1], from the right P[i] =
// A2[i] Q[i+1] + B2[i] P[i+1]; the two recurrences meet at r = (p-1)/2.
double reduce(const CPOINT *Q, int32_t p, const ReductionCoefficients &c, CPOINT *P) {
  const int32_t r = (p - 1) / 2;
  P[0] = Q[0];
  P[p - 1] = Q[p];
  const int32_t left_end = p % 2 == 0 ? r : r - 1;
  for (int32_t i = 1; i <= left_end; ++i) P[i] = combine(c.A1[i], Q[i], c.B1[i], P[i - 1]);
  for (int32_t i = p - 2; i >= r + 1; --i) P[i] = combine(c.A2[i], Q[i + 1], c.B2[i], P[i + 1]);
  if (p % 2 == 0) {
    const CPOINT mid = combine(0.5, P[r], 0.5, P[r + 1]);
    return bernstein_value(p, r + 1, double(r + 1) / p) * distance4(Q[r + 1], mid);
  }
  const CPOINT PL = combine(c.A1[r], Q[r], c.B1[r], P[r - 1]);
  const CPOINT PR = combine(c.A2[r], Q[r + 1], c.B2[r], P[r + 1]);
  P[r] = combine(0.5, PL, 0.5, PR);
  const double us = (1.0 - std::sqrt(1.0 / p)) / 2.0;
  return distance4(PL, PR) * std::fabs(bernstein_value(p, r, us) - bernstein_value(p, r + 1, us)) *
         (p - r) / (2.0 * p);
}

int16_t check_reduction(int32_t p, const ReductionCoefficients &c, const void *in, const void *out,
                        const double *err, const char *tag) {
  if (p < 2) return fail(kErrSelector, tag);
  if (!in || !out || !err || !c.A1 || !c.B1 || !c.A2 || !c.B2) return fail(kErrIndex, tag);
  return 0;
}

// A line of a net: dir 1 the column k (net[i][k]), dir 2 the row k
// (net[k][i]).
inline CPOINT &line_point(CPOINT *const *net, int16_t dir, int32_t k, int32_t i) {
  return dir == 1 ? net[i][k] : net[k][i];
}

}  // namespace

extern "C" {

int16_t B_cdemat(int16_t p, int16_t t, RMATRIX *E, STACKS *ws) {
  return elevation_matrix(p, t, E, "B_CDEMAT", ws);
}

int16_t B_cdegel(const CPOINT *P, int16_t p, int16_t t, const RMATRIX *E, int32_t i0, int32_t i1,
                 CPOINT *Q) {
  static const char kTag[] = "B_CDEGEL";
  if (check_elevation(p, t, i0, i1, kTag)) return 1;
  if (!P || !Q) return fail(kErrIndex, kTag);
  if (i1 < i0) return 0;
  LocalStacks tmp;
  RMATRIX local;
  const RMATRIX *use = nullptr;
  if (elevation_for(E, p, t, kTag, tmp, local, use)) return 1;
  // Points written over the input would be read again by later sums.
  if (overlaps(P, int64_t{p} + 1, Q + i0, int64_t{i1} - i0 + 1)) {
    CPOINT *copy = S_getc1d(p, tmp);
    if (!copy) return 1;
    std::copy(P, P + p + 1, copy);
    P = copy;
  }
  elevate(*use, p, t, i0, i1, P, [&](int32_t i, const CPOINT &v) { Q[i] = v; });
  return 0;
}

int16_t B_sdegel(CPOINT *const *P, int16_t p, int16_t t, const RMATRIX *E, int16_t dir, int32_t i0,
                 int32_t i1, int32_t k, CPOINT **Q) {
  static const char kTag[] = "B_SDEGEL";
  if (check_elevation(p, t, i0, i1, kTag)) return 1;
  if (dir != 1 && dir != 2) return fail(kErrSelector, kTag);
  if (!P || !Q || k < 0) return fail(kErrIndex, kTag);
  if (i1 < i0) return 0;
  LocalStacks tmp;
  RMATRIX local;
  const RMATRIX *use = nullptr;
  if (elevation_for(E, p, t, kTag, tmp, local, use)) return 1;
  // The line is read into a private array first, so Q may be P.
  CPOINT *line = S_getc1d(p, tmp);
  if (!line) return 1;
  for (int32_t j = 0; j <= p; ++j) line[j] = line_point(P, dir, k, j);
  elevate(*use, p, t, i0, i1, line,
          [&](int32_t i, const CPOINT &v) { line_point(Q, dir, k, i) = v; });
  return 0;
}

void B_degrco(int16_t p, double *A1, double *B1, double *A2, double *B2) {
  if (!A1 || !B1 || !A2 || !B2 || p < 1) return;
  const int32_t r = (p - 1) / 2;
  for (int32_t i = 1; i <= r; ++i) {
    A1[i] = double(p) / (p - i);
    B1[i] = 1.0 - A1[i];
  }
  for (int32_t i = p - 2; i >= r; --i) {
    A2[i] = double(p) / (i + 1);
    B2[i] = 1.0 - A2[i];
  }
}

int16_t B_cdegre(const CPOINT *Q, int16_t p, const double *A1, const double *B1, const double *A2,
                 const double *B2, CPOINT *P, double *err) {
  static const char kTag[] = "B_CDEGRE";
  const ReductionCoefficients c{A1, B1, A2, B2};
  if (check_reduction(p, c, Q, P, err, kTag)) return 1;
  LocalStacks tmp;
  if (overlaps(Q, int64_t{p} + 1, P, p)) {
    CPOINT *copy = S_getc1d(p, tmp);
    if (!copy) return 1;
    std::copy(Q, Q + p + 1, copy);
    Q = copy;
  }
  *err = reduce(Q, p, c, P);
  return 0;
}

// Reduces every line of a net along one direction: dir 1 the columns
// k = 0..m (Q[0..p][k] to P[0..p-1][k]), dir 2 the rows k = 0..m
// (Q[k][0..p] to P[k][0..p-1]); err is the largest bound of all lines.
int16_t B_sdegre(CPOINT *const *Q, int16_t p, const double *A1, const double *B1, const double *A2,
                 const double *B2, int16_t dir, int32_t m, CPOINT **P, double *err) {
  static const char kTag[] = "B_SDEGRE";
  const ReductionCoefficients c{A1, B1, A2, B2};
  if (check_reduction(p, c, Q, P, err, kTag)) return 1;
  if (dir != 1 && dir != 2) return fail(kErrSelector, kTag);
  if (m < 0) return fail(kErrIndex, kTag);
  LocalStacks tmp;
  CPOINT *in = S_getc1d(p, tmp);
  CPOINT *out = in ? S_getc1d(p - 1, tmp) : nullptr;
  if (!out) return 1;
  double worst = 0.0;
  for (int32_t k = 0; k <= m; ++k) {
    for (int32_t i = 0; i <= p; ++i) in[i] = line_point(Q, dir, k, i);
    worst = std::max(worst, reduce(in, p, c, out));
    for (int32_t i = 0; i < p; ++i) line_point(P, dir, k, i) = out[i];
  }
  *err = worst;
  return 0;
}

}  // extern "C"
