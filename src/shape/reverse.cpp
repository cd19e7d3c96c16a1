// Reversal of the parameter direction of curves and surfaces, and the
// exchange of the two directions of a surface.
#include <algorithm>
#include <cmath>
#include <utility>

#include "shape/shape_ops.hpp"

using namespace orvo::detail;

namespace {

// The mirror image of knot x within [first, last]: c - x with c = first +
// last, the ends exchanged exactly. When c overflows (knots from near
// -DBL_MAX to near DBL_MAX) x is mirrored through its distance from the
// nearer end instead, which stays within the doubles for ordered knots.
double mirror(double x, double first, double last) {
  if (x == first) return last;
  if (x == last) return first;
  const double c = first + last;
  if (std::isfinite(c)) return c - x;
  const double from_first = x - first, to_last = last - x;
  return from_first <= to_last ? last - from_first : first + to_last;
}

// Whether every knot of U[0..m] has a finite mirror image (not so for
// knots out of order over a range beyond the doubles, or non-finite ones).
bool mirrorable(const KNOTVECTOR *knt) {
  const double *U = knt->U;
  for (int32_t i = 0; i <= knt->m; ++i)
    if (!std::isfinite(mirror(U[i], U[0], U[knt->m]))) return false;
  return true;
}

// Mirrors the knots U[0..m] about (U[0] + U[m]) / 2 into V[0..m]:
// V[m-i] = U[0] + U[m] - U[i]. A knot equal to the first (last) knot goes
// to the last (first) one exactly, so clamped ends are kept bit for bit and
// reversing twice restores the vector whenever U[0] + U[m] is exact. The
// pairs (i, m-i) are read before they are written, so V may be U.
void reverse_knots(const double *U, int32_t m, double *V) {
  const double first = U[0], last = U[m];
  for (int32_t i = 0; i <= m / 2; ++i) {
    const double a = U[i], b = U[m - i];
    V[m - i] = mirror(a, first, last);
    V[i] = mirror(b, first, last);
  }
}

// out[n-i] = in[i] for i = 0..n through accessors; out may be in.
template <class In, class Out>
void reverse_sequence(int32_t n, In in, Out out) {
  for (int32_t i = 0; i <= n / 2; ++i) {
    const CPOINT a = in(i), b = in(n - i);
    out(n - i) = a;
    out(i) = b;
  }
}

void copy_knots(const KNOTVECTOR *from, KNOTVECTOR *to) {
  if (from->U != to->U) std::copy(from->U, from->U + from->m + 1, to->U);
}

}  // namespace

extern "C" {

int16_t N_currev(CURVE *cur, CURVE *out, STACKS *ws) {
  const char *tag = "N_CURREV";
  if (check_record(cur, tag)) return 1;
  if (!out) return fail(kErrInconsistent, tag);
  if (!mirrorable(cur->knt)) return fail(kErrFloat, tag);
  const int32_t n = cur->pol->n, m = cur->knt->m;
  if (out != cur && U_curchk(out, n, cur->p, m, tag, ws)) return 1;
  const CPOINT *in = cur->pol->Pw;
  CPOINT *to = out->pol->Pw;
  reverse_sequence(
      n, [in](int32_t i) { return in[i]; }, [to](int32_t i) -> CPOINT & { return to[i]; });
  reverse_knots(cur->knt->U, m, out->knt->U);
  return 0;
}

int16_t N_surrev(SURFACE *sur, int16_t dir, SURFACE *out, STACKS *ws) {
  const char *tag = "N_SURREV";
  if (check_record(sur, tag)) return 1;
  if (dir != 1 && dir != 2) return fail(kErrSelector, tag);
  if (!out) return fail(kErrInconsistent, tag);
  if (!mirrorable(dir == 1 ? sur->knu : sur->knv)) return fail(kErrFloat, tag);
  const CNET *net = sur->net;
  const int32_t n = net->n, m = net->m;
  if (out != sur && U_surchk(out, n, m, sur->p, sur->q, sur->knu->m, sur->knv->m, tag, ws))
    return 1;
  CPOINT *const *in = net->Pw;
  CPOINT *const *to = out->net->Pw;
  if (dir == 1) {
    for (int32_t j = 0; j <= m; ++j)
      reverse_sequence(
          n, [in, j](int32_t i) { return in[i][j]; },
          [to, j](int32_t i) -> CPOINT & { return to[i][j]; });
    reverse_knots(sur->knu->U, sur->knu->m, out->knu->U);
    copy_knots(sur->knv, out->knv);
  } else {
    for (int32_t i = 0; i <= n; ++i)
      reverse_sequence(
          m, [in, i](int32_t j) { return in[i][j]; },
          [to, i](int32_t j) -> CPOINT & { return to[i][j]; });
    reverse_knots(sur->knv->U, sur->knv->m, out->knv->U);
    copy_knots(sur->knu, out->knu);
  }
  return 0;
}

int16_t U_swapuv(SURFACE *sur, STACKS *ws) {
  if (check_points(sur, "U_SWAPUV")) return 1;
  CNET *net = sur->net;
  const int32_t n = net->n, m = net->m;
  CPOINT **T = S_getc2d(m, n, ws);
  if (!T) return 1;
  for (int32_t i = 0; i <= n; ++i)
    for (int32_t j = 0; j <= m; ++j) T[j][i] = net->Pw[i][j];
  CPOINT **old = net->Pw;
  U_maknt1(net, T, m, n);
  std::swap(sur->p, sur->q);
  std::swap(sur->knu, sur->knv);
  U_kilc2d(old, ws);
  return 0;
}

}  // extern "C"
