// Matrix records of the four element kinds (real, integer, POINT, CPOINT)
// and their storage types, the min/max scans and the printing of a real
// matrix. One template serves all four kinds.
#include <algorithm>
#include <cstdio>

#include "core/internal.hpp"

using namespace orvo::detail;

namespace {

// How a matrix kind allocates its elements and records itself.
template <class Rec>
struct Kind;
template <>
struct Kind<RMATRIX> {
  using Elem = double;
  static Elem **alloc(int32_t n, int32_t m, STACKS *ws) { return S_getr2d(n, m, ws); }
  static constexpr int kList = 27;
  static constexpr const char *kTag = "S_GETRMA";
};
template <>
struct Kind<IMATRIX> {
  using Elem = int32_t;
  static Elem **alloc(int32_t n, int32_t m, STACKS *ws) { return S_geti2d(n, m, ws); }
  static constexpr int kList = 26;
  static constexpr const char *kTag = "S_GETIMA";
};
template <>
struct Kind<PMATRIX> {
  using Elem = POINT;
  static Elem **alloc(int32_t n, int32_t m, STACKS *ws) { return S_getp2d(n, m, ws); }
  static constexpr int kList = 28;
  static constexpr const char *kTag = "S_GETPMA";
};
template <>
struct Kind<CMATRIX> {
  using Elem = CPOINT;
  static Elem **alloc(int32_t n, int32_t m, STACKS *ws) { return S_getc2d(n, m, ws); }
  static constexpr int kList = 29;
  static constexpr const char *kTag = "S_GETCMA";
};

template <class Rec>
using ElemOf = typename Kind<Rec>::Elem;

// Highest storage column index: bw - 1 for a banded matrix, else m.
int32_t storage_cols(int32_t m, int32_t type, int32_t bw) { return type == 3 ? bw - 1 : m; }

// Entries per row that a record's current definition relies on. A record
// allocated here never shrinks below what it was given, so this is at most
// what its rows really hold.
int64_t row_capacity(int32_t m, int32_t type, int32_t bw) {
  return static_cast<int64_t>(storage_cols(m, type, bw)) + 1;
}

template <class Rec>
void make(Rec *rec, int32_t n, int32_t m, ElemOf<Rec> **a, int32_t type, int32_t bw) {
  rec->n = n;
  rec->m = m;
  rec->a = a;
  rec->type = type;
  rec->bw = bw;
}

template <class Rec>
void init(Rec *rec) {
  rec->n = -1;
  rec->m = -1;
  rec->a = nullptr;
  rec->bw = 0;
}

template <class Rec>
void define(Rec *rec, int32_t n, int32_t m, int32_t type, int32_t bw) {
  rec->n = n;
  rec->m = m;
  rec->type = type;
  rec->bw = bw;
}

template <class Rec>
int16_t holds_none(const Rec *rec) {
  return rec->n < 0 || rec->m < 0 || !rec->a || rec->bw < 1;
}

template <class Rec>
int16_t allocate(Rec *rec, int32_t n, int32_t m, int32_t type, int32_t bw, STACKS *ws) {
  ElemOf<Rec> **a = Kind<Rec>::alloc(n, storage_cols(m, type, bw), ws);
  if (!a) return 1;
  make(rec, n, m, a, type, bw);
  return 0;
}

template <class Rec>
int16_t capacity(const Rec *rec, int32_t n, int32_t m, const char *name) {
  if (n <= rec->n && m <= rec->m) return 0;
  return fail(kErrTooSmall, name);
}

template <class Rec>
int16_t check(Rec *rec, int32_t n, int32_t m, int32_t type, int32_t bw, const char *name,
              STACKS *ws) {
  // A record to fill, and a workspace when it must be allocated.
  if (!rec || (holds_none(rec) && !ws)) return fail(kErrInconsistent, name);
  if (holds_none(rec)) return allocate(rec, n, m, type, bw, ws);
  if (capacity(rec, n, m, name)) return 1;
  // Rows of a banded record hold bw entries only; a reuse that needs longer
  // rows (full or triangular, or a wider band) would write past them.
  if (row_capacity(m, type, bw) > row_capacity(rec->m, rec->type, rec->bw))
    return fail(kErrTooSmall, name);
  define(rec, n, m, type, bw);
  return 0;
}

template <class Rec>
void breakup(const Rec *rec, int32_t *n, int32_t *m, ElemOf<Rec> ***a, int32_t *type, int32_t *bw) {
  if (n) *n = rec->n;
  if (m) *m = rec->m;
  if (a) *a = rec->a;
  if (type) *type = rec->type;
  if (bw) *bw = rec->bw;
}

template <class Rec>
Rec *get_record(int32_t n, int32_t m, int32_t type, int32_t bw, STACKS *ws) {
  ElemOf<Rec> **a = Kind<Rec>::alloc(n, storage_cols(m, type, bw), ws);
  if (!a) return nullptr;
  auto *rec = static_cast<Rec *>(tracked_alloc(sizeof(Rec), Kind<Rec>::kList, Kind<Rec>::kTag, ws));
  if (rec) make(rec, n, m, a, type, bw);
  return rec;
}

// Smallest (mode 1) or largest (mode 2) of count values read by at(i),
// replacing the current value only on a strict comparison.
template <class T, class At>
T scan(int64_t count, int16_t mode, At at) {
  T best = at(0);
  if (mode != 1 && mode != 2) return best;
  for (int64_t i = 1; i < count; ++i) {
    const T v = at(i);
    if (mode == 1 ? v < best : v > best) best = v;
  }
  return best;
}

template <class T>
T scan1(const T *values, int32_t n, int16_t mode) {
  if (!values || n < 0) return T{};
  return scan<T>(static_cast<int64_t>(n) + 1, mode, [&](int64_t i) { return values[i]; });
}

template <class T>
T scan2(T *const *rows, int32_t n, int32_t m, int16_t mode) {
  if (!rows || n < 0 || m < 0) return T{};
  const int64_t cols = static_cast<int64_t>(m) + 1;
  return scan<T>((static_cast<int64_t>(n) + 1) * cols, mode,
                 [&](int64_t i) { return rows[i / cols][i % cols]; });
}

}  // namespace

extern "C" {

#define ORVO_MATRIX_ROUTINES(REC, mak, ini, def, isn, get, chk, sto, bre, ind, tab, sget)          \
  void mak(REC *rec, int32_t n, int32_t m, ElemOf<REC> **a, int32_t type, int32_t bw) {            \
    make(rec, n, m, a, type, bw);                                                                  \
  }                                                                                                \
  void ini(REC *rec) { init(rec); }                                                                \
  void def(REC *rec, int32_t n, int32_t m, int32_t type, int32_t bw) {                             \
    define(rec, n, m, type, bw);                                                                   \
  }                                                                                                \
  int16_t isn(const REC *rec) { return holds_none(rec); }                                          \
  int16_t get(REC *rec, int32_t n, int32_t m, int32_t type, int32_t bw, STACKS *ws) {              \
    return allocate(rec, n, m, type, bw, ws);                                                      \
  }                                                                                                \
  int16_t chk(REC *rec, int32_t n, int32_t m, int32_t type, int32_t bw, const char *name,          \
              STACKS *ws) {                                                                        \
    return check(rec, n, m, type, bw, name, ws);                                                   \
  }                                                                                                \
  int16_t sto(const REC *rec, int32_t n, int32_t m, const char *name) {                            \
    return capacity(rec, n, m, name);                                                              \
  }                                                                                                \
  void bre(const REC *rec, int32_t *n, int32_t *m, ElemOf<REC> ***a, int32_t *type, int32_t *bw) { \
    breakup(rec, n, m, a, type, bw);                                                               \
  }                                                                                                \
  void ind(const REC *rec, int32_t *n, int32_t *m) {                                               \
    breakup(rec, n, m, nullptr, nullptr, nullptr);                                                 \
  }                                                                                                \
  void tab(const REC *rec, ElemOf<REC> ***a) { *a = rec->a; }                                      \
  REC *sget(int32_t n, int32_t m, int32_t type, int32_t bw, STACKS *ws) {                          \
    return get_record<REC>(n, m, type, bw, ws);                                                    \
  }

ORVO_MATRIX_ROUTINES(RMATRIX, M_makrma, M_inirma, M_rmadef, M_isrman, M_getrma, M_rmachk, E_rmasto,
                     M_rmabre, M_rmaind, M_rmarmp, S_getrma)
ORVO_MATRIX_ROUTINES(IMATRIX, M_makima, M_iniima, M_imadef, M_isiman, M_getima, M_imachk, E_imasto,
                     M_imabre, M_imaind, M_imaimp, S_getima)
ORVO_MATRIX_ROUTINES(PMATRIX, M_makpma, M_inipma, M_pmadef, M_ispman, M_getpma, M_pmachk, E_pmasto,
                     M_pmabre, M_pmaind, M_pmapmp, S_getpma)
ORVO_MATRIX_ROUTINES(CMATRIX, M_makcma, M_inicma, M_cmadef, M_iscman, M_getcma, M_cmachk, E_cmasto,
                     M_cmabre, M_cmaind, M_cmacmp, S_getcma)
#undef ORVO_MATRIX_ROUTINES

double M_r1mima(const double *values, int32_t n, int16_t mode) { return scan1(values, n, mode); }
double M_r2mima(double *const *rows, int32_t n, int32_t m, int16_t mode) {
  return scan2(rows, n, m, mode);
}
int32_t M_i1mima(const int32_t *values, int32_t n, int16_t mode) { return scan1(values, n, mode); }
int32_t M_i2mima(int32_t *const *rows, int32_t n, int32_t m, int16_t mode) {
  return scan2(rows, n, m, mode);
}

void M_prtrma(const RMATRIX *rec) {
  static const char *const kWords[4] = {"full      ", "lowerleft ", "upperright", "banded    "};
  std::printf("%ld %ld\n", static_cast<long>(rec->n), static_cast<long>(rec->m));
  const int32_t type = rec->type;
  const bool known = type >= 0 && type <= 3;
  if (known) std::printf("%s\n", kWords[type]);
  std::printf("%d\n", static_cast<int>(rec->bw));
  // A record without an element table has no elements to print.
  if (!known || !rec->a) return;
  for (int32_t i = 0; i <= rec->n; ++i) {
    // Columns of row i in storage: full 0..m, lower-left 0..i, upper-right
    // i..m, banded the bw stored entries.
    int32_t first = 0, last = rec->m;
    if (type == 1) last = std::min(i, rec->m);
    if (type == 2) first = i;
    if (type == 3) last = rec->bw - 1;
    for (int32_t j = first; j <= last; ++j) std::printf("%lf ", rec->a[i][j]);
    std::printf("\n");
  }
}

}  // extern "C"
