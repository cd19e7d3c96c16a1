// Operations on whole knot vectors: merging several vectors into the knots
// each one lacks, counting the non-degenerate spans of a domain, and mapping
// a knot vector (alone, or of a curve or surface) linearly onto an interval.
#include <algorithm>
#include <cmath>

#include "core/internal.hpp"

using namespace orvo::detail;

namespace {

// Walks n+1 sorted knot vectors together, one distinct value at a time
// from the least, and calls emit(k, v, count) for every input k that lacks
// count copies of v against the merged vector. Each input is read only up
// to its own last knot: an input whose knots are all consumed takes no
// further part, and an input receives a value only when it lies within its
// first and last knot (values outside its range could not be inserted into
// it anyway).
template <class Emit>
void merge_walk(KNOTVECTOR *const *vectors, int32_t n, int32_t *pos, int32_t *mult, Emit emit) {
  for (int32_t k = 0; k <= n; ++k) pos[k] = 0;
  for (;;) {
    // The loop runs while an input still has a knot below its last index;
    // inputs with knots left (pos <= m) supply the least value.
    bool more = false;
    bool any = false;
    double v = 0.0;
    for (int32_t k = 0; k <= n; ++k) {
      const KNOTVECTOR *kv = vectors[k];
      if (pos[k] < kv->m) more = true;
      if (pos[k] > kv->m) continue;
      const double x = kv->U[pos[k]];
      if (!any || x < v) v = x;
      any = true;
    }
    if (!more || !any) return;

    int32_t most = 0;
    for (int32_t k = 0; k <= n; ++k) {
      const KNOTVECTOR *kv = vectors[k];
      mult[k] = 0;
      if (pos[k] > kv->m || kv->U[pos[k]] != v) continue;
      int32_t &i = pos[k];
      const int32_t start = i;
      while (i < kv->m && kv->U[i + 1] == kv->U[i]) ++i;
      mult[k] = i - start + 1;
      ++i;
      most = std::max(most, mult[k]);
    }
    // Only a value that equals no knot (NaN) matches no input; stop rather
    // than loop without progress.
    if (most == 0) return;
    for (int32_t k = 0; k <= n; ++k) {
      const KNOTVECTOR *kv = vectors[k];
      if (most > mult[k] && kv->m >= 0 && v >= kv->U[0] && v <= kv->U[kv->m])
        emit(k, v, most - mult[k]);
    }
  }
}

// Maps U[0..m] onto [a, b], the first and last p+1 knots becoming the ends.
// A vector whose first and last knots coincide has no linear map onto an
// interval, and one whose scale factor cannot be formed would be filled
// with infinities: both stay unchanged, as does a vector too short to hold
// p+1 end knots at each end.
void map_knots(KNOTVECTOR *knt, int p, double a, double b) {
  if (!knt || !knt->U || p < 0 || knt->m < 2 * p + 1) return;
  double *U = knt->U;
  const int32_t m = knt->m;
  if (U[0] == a && U[m] == b) return;
  const double len = U[m] - U[0];
  if (len == 0.0 || M_chkfop(b - a, len, 4)) return;
  const double s = (b - a) / len;
  if (!std::isfinite(s) || !std::isfinite(a) || !std::isfinite(b)) return;
  const double u0 = U[0];
  for (int32_t j = 0; j <= p; ++j) U[j] = a;
  for (int32_t j = p + 1; j <= m - p - 1; ++j) U[j] = (U[j] - u0) * s + a;
  for (int32_t j = m - p; j <= m; ++j) U[j] = b;
}

}  // namespace

extern "C" {

int16_t N_kntmer(KNOTVECTOR **vectors, int32_t n, KNOTVECTOR ***result, STACKS *ws) {
  const char *tag = "N_KNTMER";
  if (!vectors || !result || n < 0) return fail(kErrIndex, tag);
  int64_t sum = 0;
  for (int32_t k = 0; k <= n; ++k) {
    const KNOTVECTOR *kv = vectors[k];
    if (!kv || (kv->m >= 0 && !kv->U)) return fail(kErrInconsistent, tag);
    sum += kv->m;
  }
  if (sum > INT32_MAX - 1) return fail(kErrIndex, tag);

  LocalStacks local;
  int32_t *pos = S_geti1d(n, local);
  int32_t *mult = pos ? S_geti1d(n, local) : nullptr;
  int32_t *count = mult ? S_geti1d(n, local) : nullptr;
  if (!count) return 1;

  // A first pass counts the knots each input lacks, so that every result
  // has room for them: S+1 (S the sum of the highest indices) is enough for
  // inputs that share their first and last values, and the count covers
  // any other input.
  std::fill(count, count + n + 1, 0);
  merge_walk(vectors, n, pos, mult, [&](int32_t k, double, int32_t c) { count[k] += c; });
  int32_t capacity = static_cast<int32_t>(std::max<int64_t>(sum, 0));
  for (int32_t k = 0; k <= n; ++k) capacity = std::max(capacity, count[k] - 1);

  KNOTVECTOR **out = S_getkn2(capacity, n, ws);
  if (!out) return 1;
  for (int32_t k = 0; k <= n; ++k) U_defknt(out[k], -1);
  merge_walk(vectors, n, pos, mult, [&](int32_t k, double v, int32_t c) {
    KNOTVECTOR *r = out[k];
    for (int32_t i = 0; i < c; ++i) r->U[++r->m] = v;
  });
  *result = out;
  return 0;
}

void N_kntnsp(const KNOTVECTOR *knt, int16_t p, int32_t *count) {
  if (!count) return;
  *count = 0;
  if (!knt || !knt->U || p < 0 || knt->m - p <= p) return;
  const double *U = knt->U;
  int32_t c = 0;
  for (int32_t j = p; j <= knt->m - p - 1; ++j)
    if (U[j] != U[j + 1]) ++c;
  *count = c;
}

void N_kntsca(KNOTVECTOR *knt, int16_t p, INTERVAL range) { map_knots(knt, p, range.a, range.b); }

void U_curkts(CURVE *cur, INTERVAL range) {
  if (cur) map_knots(cur->knt, cur->p, range.a, range.b);
}

void U_surkts(SURFACE *sur, RECTANGLE r, int16_t dir) {
  if (!sur) return;
  if (dir == 1 || dir == 3) map_knots(sur->knu, sur->p, r.xmin, r.xmax);
  if (dir == 2 || dir == 3) map_knots(sur->knv, sur->q, r.ymin, r.ymax);
}

}  // extern "C"
