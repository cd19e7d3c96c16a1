// Products of real matrices with each other and with arrays and nets of
// points, and transposition. The loops read the storage type through a
// MatView, so triangular operands only sum over their meaningful part.
#include <algorithm>

#include "core/internal.hpp"
#include "linalg/matrix_view.hpp"

using namespace orvo::detail;

namespace {

// POINT arrays carry no markers; these overloads let one template apply a
// matrix to POINT and CPOINT arrays alike.
struct NoMask {};
using orvo::detail::axpy;
using orvo::detail::mark;
using orvo::detail::mask_of;
inline NoMask mask_of(const POINT *, int64_t) { return {}; }
inline void axpy(POINT &acc, double a, const POINT &p, NoMask) {
  acc.x += a * p.x;
  acc.y += a * p.y;
  acc.z += a * p.z;
}
inline void mark(POINT &, NoMask) {}
inline POINT *get1d(const POINT *, int32_t n, STACKS *ws) { return S_getp1d(n, ws); }
inline CPOINT *get1d(const CPOINT *, int32_t n, STACKS *ws) { return S_getc1d(n, ws); }

// Storage that a result of the given shape needs per row.
int32_t storage_cols(int32_t m, int32_t type, int32_t bw) {
  return type == ORVO_BANDED ? bw - 1 : m;
}

// Visits the meaningful entries (i, j) of a matrix shape, row by row.
template <class F>
void for_each_entry(const MatView &v, F f) {
  for (int32_t i = 0; i <= v.n; ++i)
    for (int32_t j = v.first(i); j <= v.last(i); ++j) f(i, j);
}

// Writes the result of an operation into C through check-or-allocate:
// value(i, j) gives the meaningful element (i, j) of the result. When C
// shares its element table with an operand the values are formed in a
// private table first, so that no operand entry is overwritten before it
// has been read.
template <class F>
int16_t produce(RMATRIX *C, int32_t n, int32_t m, int32_t type, int32_t bw, bool alias,
                const char *tag, STACKS *ws, F value) {
  RMATRIX shape{n, m, nullptr, type, bw};
  LocalStacks tmp;
  MatView scratch;
  if (alias) {
    shape.a = S_getr2d(n, storage_cols(m, type, bw), tmp);
    if (!shape.a) return 1;
    scratch = view_of(shape);
    for_each_entry(scratch, [&](int32_t i, int32_t j) { scratch(i, j) = value(i, j); });
  }
  if (M_rmachk(C, n, m, type, bw, tag, ws)) return 1;
  shape.a = C->a;
  const MatView out = view_of(shape);
  if (alias)
    for_each_entry(out, [&](int32_t i, int32_t j) { out(i, j) = scratch(i, j); });
  else
    for_each_entry(out, [&](int32_t i, int32_t j) { out(i, j) = value(i, j); });
  return 0;
}

// True when the output record already holds a matrix whose element table is
// one of the operands' tables.
bool shares_table(const RMATRIX *C, double **t1, double **t2) {
  return !M_isrman(C) && (C->a == t1 || C->a == t2);
}

// Sum of f(k) for k = lo..hi.
template <class F>
double sum_over(int32_t lo, int32_t hi, F f) {
  double s = 0.0;
  for (int32_t k = lo; k <= hi; ++k) s += f(k);
  return s;
}

// A result holds at least one in its band width, so that it counts as
// holding a matrix even when it has a single row.
int32_t result_bw(int32_t n) { return std::max<int32_t>(n, 1); }

// Both operands readable and neither banded; dimension errors first.
int16_t check_operands(const RMATRIX *A, const RMATRIX *B, bool dims_fit, const char *tag) {
  if (check_readable(A, tag) || (B && check_readable(B, tag))) return 1;
  if (!dims_fit) return fail(kErrIndex, tag);
  if (A->type == ORVO_BANDED || (B && B->type == ORVO_BANDED)) return fail(kErrInconsistent, tag);
  return 0;
}

// out[i] = sum over the meaningful j of A(i, j) in[j], for rows i = 0..n.
template <class P>
int16_t times_points(const RMATRIX *A, const P *in, P *out, const char *tag) {
  if (check_readable(A, tag)) return 1;
  if (!in || !out) return fail(kErrIndex, tag);
  const MatView a = view_of(*A);
  // Writing over the input would destroy entries still to be read.
  LocalStacks tmp;
  if (in == out) {
    P *copy = get1d(in, a.m, tmp);
    if (!copy) return 1;
    std::copy(in, in + a.m + 1, copy);
    in = copy;
  }
  const auto mask = mask_of(in, int64_t{a.m} + 1);
  for (int32_t i = 0; i <= a.n; ++i) {
    P r{};
    for (int32_t j = a.first(i); j <= a.last(i); ++j) axpy(r, a(i, j), in[j], mask);
    mark(r, mask);
    out[i] = r;
  }
  return 0;
}

constexpr int32_t kTransposed[4] = {ORVO_FULL, ORVO_UPPERRIGHT, ORVO_LOWERLEFT, ORVO_BANDED};

}  // namespace

extern "C" {

int16_t M_rmamul(const RMATRIX *A, const RMATRIX *B, RMATRIX *C, STACKS *ws) {
  static const char kTag[] = "M_RMAMUL";
  if (!C) return fail(kErrIndex, kTag);
  if (check_operands(A, B, A && B && A->m == B->n, kTag)) return 1;
  // Views are taken before C is touched: C may be A or B.
  const MatView a = view_of(*A), b = view_of(*B);
  int32_t type = ORVO_FULL;
  if (a.type == b.type && a.type != ORVO_FULL) type = a.type;
  return produce(C, a.n, b.m, type, result_bw(a.n), shares_table(C, a.a, b.a), kTag, ws,
                 [&](int32_t i, int32_t j) {
                   return sum_over(std::max(a.first(i), b.top(j)), std::min(a.last(i), b.bottom(j)),
                                   [&](int32_t k) { return a(i, k) * b(k, j); });
                 });
}

int16_t M_rmamtm(const RMATRIX *A, RMATRIX *C, STACKS *ws) {
  static const char kTag[] = "M_RMAMTM";
  if (!C) return fail(kErrIndex, kTag);
  if (check_operands(A, nullptr, true, kTag)) return 1;
  const MatView a = view_of(*A);
  return produce(C, a.n, a.n, ORVO_FULL, result_bw(a.n), shares_table(C, a.a, a.a), kTag, ws,
                 [&](int32_t i, int32_t j) {
                   return sum_over(std::max(a.first(i), a.first(j)), std::min(a.last(i), a.last(j)),
                                   [&](int32_t k) { return a(i, k) * a(j, k); });
                 });
}

int16_t M_rmamtr(const RMATRIX *A, const RMATRIX *B, RMATRIX *C, STACKS *ws) {
  static const char kTag[] = "M_RMAMTR";
  if (!C) return fail(kErrIndex, kTag);
  if (check_operands(A, B, A && B && A->m == B->m, kTag)) return 1;
  const MatView a = view_of(*A), b = view_of(*B);
  return produce(C, a.n, b.n, ORVO_FULL, result_bw(a.n), shares_table(C, a.a, b.a), kTag, ws,
                 [&](int32_t i, int32_t j) {
                   return sum_over(std::max(a.first(i), b.first(j)), std::min(a.last(i), b.last(j)),
                                   [&](int32_t k) { return a(i, k) * b(j, k); });
                 });
}

int16_t M_rmatrp(RMATRIX *A, RMATRIX *B, STACKS *wsA, STACKS *ws) {
  static const char kTag[] = "M_RMATRP";
  if (check_readable(A, kTag)) return 1;
  if (!B) return fail(kErrIndex, kTag);
  // An even band reaches one slot further below the diagonal than above
  // it; its transpose would not fit the same band width.
  if (A->type == ORVO_BANDED && A->bw % 2 == 0) return fail(kErrInconsistent, kTag);
  const RMATRIX src = *A;
  const MatView a = view_of(src);
  const int32_t type = kTransposed[src.type];
  // The band width of a band is kept; any other transpose holds at least
  // one, so that it counts as holding a matrix.
  const int32_t bw = type == ORVO_BANDED ? src.bw : std::max<int32_t>(src.bw, 1);

  if (B != A)
    return produce(B, src.m, src.n, type, bw, shares_table(B, src.a, src.a), kTag, ws,
                   [&](int32_t i, int32_t j) { return a(j, i); });

  if (src.n == src.m && (type == ORVO_LOWERLEFT || type == ORVO_UPPERRIGHT)) {
    // A square triangle is mirrored inside its own table.
    for (int32_t i = 0; i <= src.n; ++i)
      for (int32_t j = i + 1; j <= src.n; ++j) std::swap(src.a[i][j], src.a[j][i]);
    A->type = type;
    return 0;
  }
  // Otherwise the transpose needs rows of another length: it gets a new
  // table from ws. The old table stays recorded in wsA, since other records
  // may still refer to it, until that workspace is released.
  (void)wsA;
  RMATRIX dst{src.m, src.n, nullptr, type, bw};
  dst.a = S_getr2d(dst.n, storage_cols(dst.m, type, dst.bw), ws);
  if (!dst.a) return 1;
  const MatView b = view_of(dst);
  for_each_entry(b, [&](int32_t i, int32_t j) { b(i, j) = a(j, i); });
  *A = dst;
  return 0;
}

int16_t M_rmacpt(const RMATRIX *A, const CPOINT *in, CPOINT *out) {
  return times_points(A, in, out, "M_RMACPT");
}

int16_t M_rmapoi(const RMATRIX *A, const POINT *in, POINT *out) {
  return times_points(A, in, out, "M_RMAPOI");
}

int16_t M_rmcprm(const RMATRIX *A, CPOINT *const *P, const RMATRIX *B, CPOINT **out) {
  static const char kTag[] = "M_RMCPRM";
  if (check_readable(A, kTag) || check_readable(B, kTag)) return 1;
  if (A->n != A->m || B->n != B->m || !P || !out) return fail(kErrIndex, kTag);
  if (A->type == ORVO_BANDED || B->type == ORVO_BANDED) return fail(kErrInconsistent, kTag);
  const MatView a = view_of(*A), b = view_of(*B);
  const int32_t n = a.n, m = b.n;
  CptMask mask;
  for (int32_t i = 0; i <= n; ++i)
    for (int32_t j = 0; j <= m; ++j) add_to_mask(mask, P[i][j]);

  // T = A P first, in a private net, so that out may be P itself.
  LocalStacks tmp;
  CPOINT **t = S_getc2d(n, m, tmp);
  if (!t) return 1;
  for (int32_t i = 0; i <= n; ++i)
    for (int32_t l = 0; l <= m; ++l) {
      CPOINT r{};
      for (int32_t k = a.first(i); k <= a.last(i); ++k) axpy(r, a(i, k), P[k][l], mask);
      t[i][l] = r;
    }
  for (int32_t i = 0; i <= n; ++i)
    for (int32_t j = 0; j <= m; ++j) {
      CPOINT r{};
      for (int32_t l = b.first(j); l <= b.last(j); ++l) axpy(r, b(j, l), t[i][l], mask);
      mark(r, mask);
      out[i][j] = r;
    }
  return 0;
}

}  // extern "C"
