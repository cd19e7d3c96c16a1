// Yes/no tests on the shape of curves, surfaces and point arrays: closed,
// straight, collapsed to one point or to a pole, alike in kind and knots.
// They answer 1 or 0 and leave the error state as they found it; a record
// or array that cannot be read answers 0. "Within" a tolerance means at
// most that far apart, so that a NaN distance answers no.
#include <cmath>

#include "geom/geom_ops.hpp"
#include "shape/shape_ops.hpp"

using namespace orvo::detail;

namespace {

bool readable(const CURVE *c) { return c && c->pol && c->pol->Pw && c->pol->n >= 0; }

bool readable(const KNOTVECTOR *k) { return k && k->U && k->m >= 0; }

bool readable(const SURFACE *s) {
  if (!s || !s->net || !s->net->Pw || s->net->n < 0 || s->net->m < 0) return false;
  for (int32_t i = 0; i <= s->net->n; ++i)
    if (!s->net->Pw[i]) return false;
  return true;
}

POINT at(const SURFACE *s, int32_t i, int32_t j) { return euclid(s->net->Pw[i][j]); }

bool within(double d, double tol) { return d <= tol; }

// Distance of two elements of a point array: Euclidean for POINTs, that of
// the stored four-component forms for CPOINTs.
double gap(const POINT &a, const POINT &b) { return distance3(a, b); }
double gap(const CPOINT &a, const CPOINT &b) {
  double d;
  G_discpo(a, b, &d);
  return d;
}

// Pairs k = 0..last of a table are all within tol: pair(k) gives the two
// elements' distance.
template <class Gap>
bool all_within(int32_t last, double tol, Gap &&pair) {
  for (int32_t k = 0; k <= last; ++k)
    if (!within(pair(k), tol)) return false;
  return true;
}

// The closedness of a row table in one direction: dir 1 compares the first
// and last rows element by element, dir 2 the first and last columns.
template <class T>
bool rows_closed(T *const *rows, int32_t n, int32_t m, int dir, double tol) {
  if (!rows || n < 0 || m < 0) return false;
  for (int32_t i = 0; i <= n; ++i)
    if (!rows[i]) return false;
  if (dir == 1) return all_within(m, tol, [&](int32_t j) { return gap(rows[0][j], rows[n][j]); });
  if (dir == 2) return all_within(n, tol, [&](int32_t i) { return gap(rows[i][0], rows[i][m]); });
  return false;
}

// count points, point(k) for k = 0..count-1, all within POINT_TOLERANCE of
// their centroid (the sum times 1/count).
template <class Get>
bool collapsed(int32_t count, Get &&point) {
  POINT c{0.0, 0.0, 0.0};
  for (int32_t k = 0; k < count; ++k) c = add3<POINT>(c, point(k));
  c = scale3<POINT>(1.0 / count, c);
  return all_within(count - 1, POINT_TOLERANCE, [&](int32_t k) { return distance3(point(k), c); });
}

}  // namespace

extern "C" {

int16_t U_iscurc(const CURVE *cur) {
  if (!readable(cur)) return 0;
  const CPOINT *Pw = cur->pol->Pw;
  return distance3(euclid(Pw[0]), euclid(Pw[cur->pol->n])) < POINT_TOLERANCE ? 1 : 0;
}

int16_t U_issurc(const SURFACE *sur, int16_t dir) {
  if (!readable(sur)) return 0;
  const int32_t n = sur->net->n, m = sur->net->m;
  if (dir == 1)
    return all_within(m, POINT_TOLERANCE,
                      [&](int32_t j) { return distance3(at(sur, 0, j), at(sur, n, j)); });
  if (dir == 2)
    return all_within(n, POINT_TOLERANCE,
                      [&](int32_t i) { return distance3(at(sur, i, 0), at(sur, i, m)); });
  return 0;
}

int16_t U_iscurl(const CURVE *cur, double tol) {
  if (!readable(cur)) return 0;
  const int32_t n = cur->pol->n;
  if (n <= 1) return 1;
  const CPOINT *Pw = cur->pol->Pw;
  const POINT A = euclid(Pw[0]), B = euclid(Pw[n]);
  KeepErrorState keep;
  // A point whose foot lies off the segment AB has distance -1: not straight.
  for (int32_t i = 1; i < n; ++i) {
    double d;
    if (G_disqab(euclid(Pw[i]), A, B, &d) || !(d >= 0.0 && d <= tol)) return 0;
  }
  return 1;
}

int16_t U_isp1dc(const void *array, int32_t n, int16_t kind, double tol) {
  if (!array || n < 0) return 0;
  if (kind == 1) {
    const POINT *P = static_cast<const POINT *>(array);
    return within(gap(P[0], P[n]), tol) ? 1 : 0;
  }
  if (kind == 2) {
    const CPOINT *P = static_cast<const CPOINT *>(array);
    return within(gap(P[0], P[n]), tol) ? 1 : 0;
  }
  return 0;
}

int16_t U_isp2dc(const void *array, int32_t n, int32_t m, int16_t kind, int16_t dir, double tol) {
  if (kind == 1) return rows_closed(static_cast<POINT *const *>(array), n, m, dir, tol) ? 1 : 0;
  if (kind == 2) return rows_closed(static_cast<CPOINT *const *>(array), n, m, dir, tol) ? 1 : 0;
  return 0;
}

int16_t U_issurp(const SURFACE *sur) {
  if (!readable(sur)) return 0;
  const int32_t cols = sur->net->m + 1;
  const int64_t count = static_cast<int64_t>(sur->net->n + 1) * cols;
  if (count > INT32_MAX) return 0;
  return collapsed(static_cast<int32_t>(count),
                   [&](int32_t k) { return at(sur, k / cols, k % cols); })
             ? 1
             : 0;
}

int16_t U_dssupl(const SURFACE *sur, int16_t boundary) {
  if (!readable(sur) || boundary < 1 || boundary > 4) return 0;
  const int32_t n = sur->net->n, m = sur->net->m;
  // Rows (boundaries 1, 2) hold m+1 points, columns (3, 4) n+1.
  const bool row = boundary <= 2;
  const int32_t fixed = boundary == 1 || boundary == 3 ? 0 : (row ? n : m);
  const int32_t count = (row ? m : n) + 1;
  auto point = [&](int32_t k) { return row ? at(sur, fixed, k) : at(sur, k, fixed); };
  // A single point is a pole; otherwise a quick look at two points first.
  if (count == 1) return 1;
  if (!within(distance3(point(0), point((count - 1) / 2 + 1)), POINT_TOLERANCE)) return 0;
  return collapsed(count, point) ? 1 : 0;
}

int16_t U_arecco(CURVE *const *curves, int32_t k) {
  if (!curves || k < 0) return 0;
  const CURVE *first = curves[0];
  if (!readable(first) || !readable(first->knt)) return 0;
  const double *U0 = first->knt->U;
  for (int32_t c = 1; c <= k; ++c) {
    const CURVE *cur = curves[c];
    if (!readable(cur) || !readable(cur->knt)) return 0;
    if (U_iscurr(cur) != U_iscurr(first) || U_iscur3(cur) != U_iscur3(first)) return 0;
    if (cur->pol->n != first->pol->n || cur->knt->m != first->knt->m) return 0;
    const double *U = cur->knt->U;
    if (!all_within(cur->knt->m, 1e-12, [&](int32_t i) { return std::fabs(U[i] - U0[i]); }))
      return 0;
  }
  return 1;
}

}  // extern "C"
