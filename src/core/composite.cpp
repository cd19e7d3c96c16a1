// Composite allocators: records with their arrays, filled arrays, arrays of
// fresh records and matrix records. Each stops at the first failing step;
// the steps already done stay in the workspace.
#include "core/internal.hpp"

using namespace orvo::detail;

namespace {

// A pointer table of count entries allocated outside the workspace, pushed
// on its list only once every record it points at exists.
template <class T>
T *untracked_table(std::size_t count, const char *tag) {
  auto *table = static_cast<T *>(raw_alloc((count ? count : 1) * sizeof(T)));
  if (!table) E_seterr(kErrMemory, tag);
  return table;
}

bool push_untracked(STACKS *ws, int list, void *block, const char *tag) {
  auto *node = static_cast<STACKNODE *>(raw_alloc(sizeof(STACKNODE)));
  if (!node) {
    raw_free(block);
    E_seterr(kErrMemory, tag);
    return false;
  }
  node->block = block;
  node->next = ws->head[list];
  ws->head[list] = node;
  return true;
}

// Fills Pw[i] = (x[i], y[i], z[i], w[i]) as given.
void fill_cpoints(CPOINT *Pw, const double *x, const double *y, const double *z, const double *w,
                  int32_t n) {
  for (int32_t i = 0; i <= n; ++i) Pw[i] = CPOINT{x[i], y[i], z[i], w[i]};
}

// A record with its array: the record is returned filled by install once
// both exist; null when either step failed (the other stays in the
// workspace).
template <class Rec, class Arr, class Install>
Rec *around(Rec *rec, Arr array, Install install) {
  if (!rec || !array) return nullptr;
  install(rec, array);
  return rec;
}

}  // namespace

extern "C" {

CPOLYGON *S_getpol(int32_t n, STACKS *ws) {
  CPOLYGON *pol = S_getpos(ws);
  return around(pol, pol ? S_getc1d(n, ws) : nullptr,
                [&](CPOLYGON *r, CPOINT *a) { U_makpl1(r, a, n); });
}

CNET *S_getnet(int32_t n, int32_t m, STACKS *ws) {
  CNET *net = S_getnes(ws);
  return around(net, net ? S_getc2d(n, m, ws) : nullptr,
                [&](CNET *r, CPOINT **a) { U_maknt1(r, a, n, m); });
}

KNOTVECTOR *S_getknt(int32_t m, STACKS *ws) {
  KNOTVECTOR *knt = S_getkns(ws);
  return around(knt, knt ? S_getr1d(m, ws) : nullptr,
                [&](KNOTVECTOR *r, double *a) { U_makknt(r, a, m); });
}

CVLIST *S_getcvs(int32_t n, STACKS *ws) {
  CVLIST *cvl = S_getcvl(ws);
  return around(cvl, cvl ? S_getr1d(n, ws) : nullptr,
                [&](CVLIST *r, double *a) { U_makcvl(r, a, n); });
}

SVLIST *S_getsvs(int32_t n, int32_t m, STACKS *ws) {
  SVLIST *svl = S_getsvl(ws);
  return around(svl, svl ? S_getr2d(n, m, ws) : nullptr,
                [&](SVLIST *r, double **a) { U_maksvl(r, a, n, m); });
}

CURVE *S_getcur(int32_t n, int16_t p, int32_t m, STACKS *ws) {
  CPOLYGON *pol = S_getpol(n, ws);
  if (!pol) return nullptr;
  KNOTVECTOR *knt = S_getknt(m, ws);
  if (!knt) return nullptr;
  CURVE *cur = S_getcus(ws);
  if (!cur) return nullptr;
  U_makcu1(cur, pol, p, knt);
  return cur;
}

SURFACE *S_getsur(int32_t n, int32_t m, int16_t p, int16_t q, int32_t r, int32_t s, STACKS *ws) {
  CNET *net = S_getnet(n, m, ws);
  if (!net) return nullptr;
  KNOTVECTOR *knu = S_getknt(r, ws);
  if (!knu) return nullptr;
  KNOTVECTOR *knv = S_getknt(s, ws);
  if (!knv) return nullptr;
  SURFACE *sur = S_getsus(ws);
  if (!sur) return nullptr;
  U_maksu1(sur, net, p, q, knu, knv);
  return sur;
}

CPOINT *S_getcpa(const double *x, const double *y, const double *z, const double *w, int32_t n,
                 STACKS *ws) {
  CPOINT *Pw = S_getc1d(n, ws);
  if (Pw) fill_cpoints(Pw, x, y, z, w, n);
  return Pw;
}

CPOINT **S_getcpm(double *const *x, double *const *y, double *const *z, double *const *w, int32_t n,
                  int32_t m, STACKS *ws) {
  CPOINT **Pw = S_getc2d(n, m, ws);
  if (Pw)
    for (int32_t i = 0; i <= n; ++i) fill_cpoints(Pw[i], x[i], y[i], z[i], w[i], m);
  return Pw;
}

POINT *S_getpoa(const double *x, const double *y, const double *z, int32_t n, STACKS *ws) {
  POINT *P = S_getp1d(n, ws);
  if (P)
    for (int32_t i = 0; i <= n; ++i) P[i] = POINT{x[i], y[i], z[i]};
  return P;
}

POINT **S_getpom(double *const *x, double *const *y, double *const *z, int32_t n, int32_t m,
                 STACKS *ws) {
  POINT **P = S_getp2d(n, m, ws);
  if (P)
    for (int32_t i = 0; i <= n; ++i)
      for (int32_t j = 0; j <= m; ++j) P[i][j] = POINT{x[i][j], y[i][j], z[i][j]};
  return P;
}

CURVE **S_getcu2(int32_t n, int16_t p, int32_t m, int32_t k, STACKS *ws) {
  const char *tag = "S_GETCU2";
  if (k < -1) {
    E_seterr(kErrMemory, tag);
    return nullptr;
  }
  CURVE **table = untracked_table<CURVE *>(static_cast<std::size_t>(k) + 1, tag);
  if (!table) return nullptr;
  for (int32_t i = 0; i <= k; ++i) {
    if (!(table[i] = S_getcur(n, p, m, ws))) {
      raw_free(table);
      return nullptr;
    }
  }
  return push_untracked(ws, 14, table, tag) ? table : nullptr;
}

KNOTVECTOR **S_getkn2(int32_t m, int32_t k, STACKS *ws) {
  const char *tag = "S_GETKN2";
  if (k < -1) {
    E_seterr(kErrMemory, tag);
    return nullptr;
  }
  KNOTVECTOR **table = untracked_table<KNOTVECTOR *>(static_cast<std::size_t>(k) + 1, tag);
  if (!table) return nullptr;
  for (int32_t i = 0; i <= k; ++i) {
    if (!(table[i] = S_getknt(m, ws))) {
      raw_free(table);
      return nullptr;
    }
  }
  return push_untracked(ws, 23, table, tag) ? table : nullptr;
}

SURFACE ***S_getsu3(int32_t n, int32_t m, int16_t p, int16_t q, int32_t r, int32_t s, int32_t k,
                    int32_t l, STACKS *ws) {
  const char *tag = "S_GETSU3";
  std::size_t bytes;
  if (!byte_size(sizeof(SURFACE *), &bytes, k, l)) {
    E_seterr(kErrMemory, tag);
    return nullptr;
  }
  const std::size_t rows = static_cast<std::size_t>(k) + 1, cols = static_cast<std::size_t>(l) + 1;
  SURFACE ***table = untracked_table<SURFACE **>(rows, tag);
  if (!table) return nullptr;
  auto *data = static_cast<SURFACE **>(raw_alloc(bytes ? bytes : 1));
  if (!data) {
    raw_free(table);
    E_seterr(kErrMemory, tag);
    return nullptr;
  }
  table[0] = data;
  for (std::size_t i = 0; i < rows; ++i) table[i] = data + i * cols;
  for (std::size_t i = 0; i < rows; ++i) {
    for (std::size_t j = 0; j < cols; ++j) {
      if (!(table[i][j] = S_getsur(n, m, p, q, r, s, ws))) {
        raw_free(data);
        raw_free(table);
        return nullptr;
      }
    }
  }
  if (!push_untracked(ws, 18, data, tag)) {
    raw_free(table);
    return nullptr;
  }
  return push_untracked(ws, 19, table, tag) ? table : nullptr;
}

}  // extern "C"
