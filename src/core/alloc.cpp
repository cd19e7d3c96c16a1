// The workspace (STACKS) and tracked allocation: every block the library
// hands out is recorded on one of 30 lists, released all at once by
// N_enurbs or one by one by the U_kil routines.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "core/internal.hpp"

namespace orvo::detail {

namespace {
// Per thread, like the error state: the test hook counts the allocations
// of the thread that armed it.
thread_local long g_alloc_count = 0;
thread_local long g_fail_at = 0;  // absolute allocation number that fails; 0: none
}  // namespace

void *raw_alloc(std::size_t bytes) {
  ++g_alloc_count;
  if (g_fail_at != 0 && g_alloc_count == g_fail_at) {
    g_fail_at = 0;
    return nullptr;
  }
  // A zero-element array still gets a distinct, freeable block.
  return std::malloc(bytes == 0 ? 1 : bytes);
}

void raw_free(void *block) { std::free(block); }

void fail_allocation_at(long k) { g_fail_at = k > 0 ? g_alloc_count + k : 0; }

long allocation_count() { return g_alloc_count; }

bool byte_size(std::size_t elem, std::size_t *bytes, int32_t n, int32_t m, int32_t l, int32_t k) {
  if (n < -1 || m < -1 || l < -1 || k < -1) return false;
  std::size_t total = elem;
  for (int32_t idx : {n, m, l, k}) {
    if (__builtin_mul_overflow(total, static_cast<std::size_t>(idx) + 1, &total)) return false;
  }
  *bytes = total;
  return true;
}

}  // namespace orvo::detail

using namespace orvo::detail;

namespace {

// List numbers of the workspace, by the family of blocks they hold.
enum List : int {
  kF1d = 0,
  kF1p = 1,
  kI1d = 2,
  kI1p = 3,
  kI2pRows = 4,
  kR1d = 5,
  kR1p = 6,
  kR12 = 7,
  kR4dTop = 8,
  kP1d = 9,
  kP2dRows = 10,
  kC1d = 11,
  kC2dRows = 12,
  kCurve = 13,
  kCua = 14,
  kCub = 15,
  kCuc = 16,
  kSurface = 17,
  kSua = 18,
  kSs3Rows = 19,
  kPolygon = 20,
  kNet = 21,
  kKnotVector = 22,
  kKpa = 23,
  kCvlist = 24,
  kSvlist = 25,
  kImatrix = 26,
  kRmatrix = 27,
  kPmatrix = 28,
  kCmatrix = 29
};

// A block waiting to be recorded on a list.
struct Pending {
  void *block;
  int list;
};

// Records all blocks or none: allocates one node per block; if any node
// cannot be had, frees every node and every block, raises 15 under tag and
// returns false. The nodes are pushed in the order given.
bool record_all(STACKS *ws, Pending *items, int count, const char *tag) {
  STACKNODE *nodes[4] = {nullptr, nullptr, nullptr, nullptr};
  if (!ws) {  // no workspace to record the blocks in
    for (int j = 0; j < count; ++j) raw_free(items[j].block);
    E_seterr(kErrInconsistent, tag);
    return false;
  }
  for (int i = 0; i < count; ++i) {
    nodes[i] = static_cast<STACKNODE *>(raw_alloc(sizeof(STACKNODE)));
    if (!nodes[i]) {
      for (int j = 0; j < count; ++j) {
        raw_free(nodes[j]);
        raw_free(items[j].block);
      }
      E_seterr(kErrMemory, tag);
      return false;
    }
  }
  for (int i = 0; i < count; ++i) {
    nodes[i]->block = items[i].block;
    nodes[i]->next = ws->head[items[i].list];
    ws->head[items[i].list] = nodes[i];
  }
  return true;
}

// Allocates count blocks of the given byte sizes; all or none.
bool alloc_blocks(void **blocks, const std::size_t *bytes, int count, const char *tag) {
  for (int i = 0; i < count; ++i) {
    blocks[i] = raw_alloc(bytes[i]);
    if (!blocks[i]) {
      for (int j = 0; j < i; ++j) raw_free(blocks[j]);
      E_seterr(kErrMemory, tag);
      return false;
    }
  }
  return true;
}

// Unlinks the node holding block from list; returns it, or null when the
// block is not on the list.
STACKNODE *detach(STACKS *ws, int list, const void *block) {
  if (!ws || !block) return nullptr;
  STACKNODE *prev = nullptr;
  for (STACKNODE *node = ws->head[list]; node; prev = node, node = node->next) {
    if (node->block != block) continue;
    (prev ? prev->next : ws->head[list]) = node->next;
    return node;
  }
  return nullptr;
}

// Releases one recorded block early; a block not on the list is left alone.
void release(STACKS *ws, int list, void *block) {
  if (STACKNODE *node = detach(ws, list, block)) {
    raw_free(node->block);
    raw_free(node);
  }
}

// A row table over a data block: releases the table, then the data block
// that rows[0] points at.
template <class T>
void release_rows(STACKS *ws, int row_list, int data_list, T **rows) {
  STACKNODE *node = detach(ws, row_list, rows);
  if (!node) return;
  void *data = rows[0];
  raw_free(rows);
  raw_free(node);
  release(ws, data_list, data);
}

// A 1-D array of n+1 elements of T on one list.
template <class T>
T *get1d(int32_t n, int list, const char *tag, STACKS *ws) {
  std::size_t bytes;
  if (!byte_size(sizeof(T), &bytes, n)) {
    E_seterr(kErrMemory, tag);
    return nullptr;
  }
  return static_cast<T *>(tracked_alloc(bytes, list, tag, ws));
}

// Points each of the count row pointers of rows at successive rows of
// width elements in data. The table always has at least one entry, and
// rows[0] is the data block, so a table can be released even when empty.
template <class T>
void link_rows(T **rows, T *data, std::size_t count, std::size_t width) {
  rows[0] = data;
  for (std::size_t i = 0; i < count; ++i) rows[i] = data + i * width;
}

std::size_t table_bytes(std::size_t count) {
  return std::max<std::size_t>(count, 1) * sizeof(void *);
}

// A 2-D array of (n+1) x (m+1) elements of T: a row table over one block.
template <class T>
T **get2d(int32_t n, int32_t m, int data_list, int row_list, const char *tag, STACKS *ws) {
  std::size_t data_bytes;
  if (!byte_size(sizeof(T), &data_bytes, n, m)) {
    E_seterr(kErrMemory, tag);
    return nullptr;
  }
  const std::size_t rows = static_cast<std::size_t>(n) + 1;
  void *blocks[2];
  const std::size_t bytes[2] = {table_bytes(rows), data_bytes};
  if (!alloc_blocks(blocks, bytes, 2, tag)) return nullptr;
  T **table = static_cast<T **>(blocks[0]);
  link_rows(table, static_cast<T *>(blocks[1]), rows, static_cast<std::size_t>(m) + 1);
  Pending items[2] = {{blocks[1], data_list}, {blocks[0], row_list}};
  return record_all(ws, items, 2, tag) ? table : nullptr;
}

// An empty record of type R, zero-filled, on one list.
template <class R>
R *get_record(int list, const char *tag, STACKS *ws) {
  R *rec = get1d<R>(0, list, tag, ws);
  if (rec) std::memset(static_cast<void *>(rec), 0, sizeof(R));
  return rec;
}

// Regrow or shrink a 1-D array by copying the common elements.
template <class T, class Get, class Kil>
int16_t realloc1d(T **array, int32_t oldn, int32_t newn, STACKS *ws, Get get, Kil kil,
                  const char *tag) {
  if (!array) return fail(kErrIndex, tag);
  T *fresh = get(newn, ws);
  if (!fresh) return 1;
  T *old = *array;
  if (old) std::copy(old, old + (std::max(std::min(oldn, newn), -1) + 1), fresh);
  kil(old, ws);
  *array = fresh;
  return 0;
}

template <class T, class Get, class Kil>
int16_t realloc2d(T ***array, int32_t oldn, int32_t oldm, int32_t newn, int32_t newm, STACKS *ws,
                  Get get, Kil kil, const char *tag) {
  if (!array) return fail(kErrIndex, tag);
  T **fresh = get(newn, newm, ws);
  if (!fresh) return 1;
  T **old = *array;
  const int32_t rows = std::max(std::min(oldn, newn), -1) + 1;
  const int32_t cols = std::max(std::min(oldm, newm), -1) + 1;
  if (old)
    for (int32_t i = 0; i < rows; ++i) std::copy(old[i], old[i] + cols, fresh[i]);
  kil(old, ws);
  *array = fresh;
  return 0;
}

}  // namespace

void *orvo::detail::tracked_alloc(std::size_t bytes, int list, const char *tag, STACKS *ws) {
  void *block;
  if (!alloc_blocks(&block, &bytes, 1, tag)) return nullptr;
  Pending item{block, list};
  return record_all(ws, &item, 1, tag) ? block : nullptr;
}

extern "C" {

STACKS *N_inurbs(STACKS *ws) {
  if (ws)
    for (STACKNODE *&head : ws->head) head = nullptr;
  return ws;
}

void N_enurbs(STACKS *ws) {
  if (!ws) return;
  for (STACKNODE *&head : ws->head) {
    while (STACKNODE *node = head) {
      head = node->next;
      raw_free(node->block);
      raw_free(node);
    }
  }
}

// ---- 1-D arrays -----------------------------------------------------------
int16_t *S_getf1d(int32_t n, STACKS *ws) { return get1d<int16_t>(n, kF1d, "S_GETF1D", ws); }
int32_t *S_geti1d(int32_t n, STACKS *ws) { return get1d<int32_t>(n, kI1d, "S_GETI1D", ws); }
double *S_getr1d(int32_t n, STACKS *ws) { return get1d<double>(n, kR1d, "S_GETR1D", ws); }
POINT *S_getp1d(int32_t n, STACKS *ws) { return get1d<POINT>(n, kP1d, "S_GETP1D", ws); }
CPOINT *S_getc1d(int32_t n, STACKS *ws) { return get1d<CPOINT>(n, kC1d, "S_GETC1D", ws); }
int16_t **S_getf1p(int32_t n, STACKS *ws) { return get1d<int16_t *>(n, kF1p, "S_GETF1P", ws); }
int32_t **S_geti1p(int32_t n, STACKS *ws) { return get1d<int32_t *>(n, kI1p, "S_GETI1P", ws); }
double **S_getr1p(int32_t n, STACKS *ws) { return get1d<double *>(n, kR1p, "S_GETR1P", ws); }
double ***S_getr12(int32_t n, STACKS *ws) { return get1d<double **>(n, kR12, "S_GETR12", ws); }
CURVE **S_getcua(int32_t n, STACKS *ws) { return get1d<CURVE *>(n, kCua, "S_GETCUA", ws); }
void **S_getcub(int32_t n, STACKS *ws) { return get1d<void *>(n, kCub, "S_GETCUB", ws); }
void **S_getcuc(int32_t n, STACKS *ws) { return get1d<void *>(n, kCuc, "S_GETCUC", ws); }
SURFACE **S_getsua(int32_t n, STACKS *ws) { return get1d<SURFACE *>(n, kSua, "S_GETSUA", ws); }
KNOTVECTOR **S_getkpa(int32_t n, STACKS *ws) {
  return get1d<KNOTVECTOR *>(n, kKpa, "S_GETKPA", ws);
}

// ---- 2-D arrays -----------------------------------------------------------
int16_t **S_getf2d(int32_t n, int32_t m, STACKS *ws) {
  return get2d<int16_t>(n, m, kF1d, kF1p, "S_GETF2D", ws);
}
int32_t **S_geti2d(int32_t n, int32_t m, STACKS *ws) {
  return get2d<int32_t>(n, m, kI1d, kI1p, "S_GETI2D", ws);
}
double **S_getr2d(int32_t n, int32_t m, STACKS *ws) {
  return get2d<double>(n, m, kR1d, kR1p, "S_GETR2D", ws);
}
POINT **S_getp2d(int32_t n, int32_t m, STACKS *ws) {
  return get2d<POINT>(n, m, kP1d, kP2dRows, "S_GETP2D", ws);
}
CPOINT **S_getc2d(int32_t n, int32_t m, STACKS *ws) {
  return get2d<CPOINT>(n, m, kC1d, kC2dRows, "S_GETC2D", ws);
}
int32_t ***S_geti2p(int32_t n, int32_t m, STACKS *ws) {
  return get2d<int32_t *>(n, m, kI1p, kI2pRows, "S_GETI2P", ws);
}
double ***S_getr2p(int32_t n, int32_t m, STACKS *ws) {
  return get2d<double *>(n, m, kR1p, kR12, "S_GETR2P", ws);
}
CURVE ***S_getcs3(int32_t n, int32_t m, STACKS *ws) {
  return get2d<CURVE *>(n, m, kCua, kCub, "S_GETCS3", ws);
}
SURFACE ***S_getss3(int32_t n, int32_t m, STACKS *ws) {
  return get2d<SURFACE *>(n, m, kSua, kSs3Rows, "S_GETSS3", ws);
}

// ---- 3-D and 4-D arrays ---------------------------------------------------
double ***S_getr3d(int32_t n, int32_t m, int32_t l, STACKS *ws) {
  const char *tag = "S_GETR3D";
  std::size_t data_bytes;
  if (!byte_size(sizeof(double), &data_bytes, n, m, l)) {
    E_seterr(kErrMemory, tag);
    return nullptr;
  }
  const std::size_t n1 = static_cast<std::size_t>(n) + 1, m1 = static_cast<std::size_t>(m) + 1,
                    l1 = static_cast<std::size_t>(l) + 1;
  void *blocks[3];
  const std::size_t bytes[3] = {table_bytes(n1), table_bytes(n1 * m1), data_bytes};
  if (!alloc_blocks(blocks, bytes, 3, tag)) return nullptr;
  auto top = static_cast<double ***>(blocks[0]);
  auto inner = static_cast<double **>(blocks[1]);
  link_rows(inner, static_cast<double *>(blocks[2]), n1 * m1, l1);
  link_rows(top, inner, n1, m1);
  Pending items[3] = {{blocks[2], kR1d}, {blocks[1], kR1p}, {blocks[0], kR12}};
  return record_all(ws, items, 3, tag) ? top : nullptr;
}

double ****S_getr4d(int32_t n, int32_t m, int32_t l, int32_t k, STACKS *ws) {
  const char *tag = "S_GETR4D";
  std::size_t data_bytes;
  if (!byte_size(sizeof(double), &data_bytes, n, m, l, k)) {
    E_seterr(kErrMemory, tag);
    return nullptr;
  }
  const std::size_t n1 = static_cast<std::size_t>(n) + 1, m1 = static_cast<std::size_t>(m) + 1,
                    l1 = static_cast<std::size_t>(l) + 1, k1 = static_cast<std::size_t>(k) + 1;
  void *blocks[4];
  const std::size_t bytes[4] = {table_bytes(n1), table_bytes(n1 * m1), table_bytes(n1 * m1 * l1),
                                data_bytes};
  if (!alloc_blocks(blocks, bytes, 4, tag)) return nullptr;
  auto top = static_cast<double ****>(blocks[0]);
  auto middle = static_cast<double ***>(blocks[1]);
  auto innermost = static_cast<double **>(blocks[2]);
  link_rows(innermost, static_cast<double *>(blocks[3]), n1 * m1 * l1, k1);
  link_rows(middle, innermost, n1 * m1, l1);
  link_rows(top, middle, n1, m1);
  Pending items[4] = {
      {blocks[3], kR1d}, {blocks[2], kR1p}, {blocks[1], kR12}, {blocks[0], kR4dTop}};
  return record_all(ws, items, 4, tag) ? top : nullptr;
}

// ---- Empty records --------------------------------------------------------
CURVE *S_getcus(STACKS *ws) { return get_record<CURVE>(kCurve, "S_GETCUS", ws); }
SURFACE *S_getsus(STACKS *ws) { return get_record<SURFACE>(kSurface, "S_GETSUS", ws); }
CPOLYGON *S_getpos(STACKS *ws) { return get_record<CPOLYGON>(kPolygon, "S_GETPOS", ws); }
CNET *S_getnes(STACKS *ws) { return get_record<CNET>(kNet, "S_GETNES", ws); }
KNOTVECTOR *S_getkns(STACKS *ws) { return get_record<KNOTVECTOR>(kKnotVector, "S_GETKNS", ws); }
CVLIST *S_getcvl(STACKS *ws) { return get_record<CVLIST>(kCvlist, "S_GETCVL", ws); }
SVLIST *S_getsvl(STACKS *ws) { return get_record<SVLIST>(kSvlist, "S_GETSVL", ws); }

// ---- Early release --------------------------------------------------------
void U_kilf1d(int16_t *block, STACKS *ws) { release(ws, kF1d, block); }
void U_kili1d(int32_t *block, STACKS *ws) { release(ws, kI1d, block); }
void U_kili1p(int32_t **block, STACKS *ws) { release(ws, kI1p, block); }
void U_kilr1d(double *block, STACKS *ws) { release(ws, kR1d, block); }
void U_kilp1d(POINT *block, STACKS *ws) { release(ws, kP1d, block); }
void U_kilc1d(CPOINT *block, STACKS *ws) { release(ws, kC1d, block); }
void U_kilf2d(int16_t **rows, STACKS *ws) { release_rows(ws, kF1p, kF1d, rows); }
void U_kili2d(int32_t **rows, STACKS *ws) { release_rows(ws, kI1p, kI1d, rows); }
void U_kili2p(int32_t ***rows, STACKS *ws) { release_rows(ws, kI2pRows, kI1p, rows); }
void U_kilr2d(double **rows, STACKS *ws) { release_rows(ws, kR1p, kR1d, rows); }
void U_kilp2d(POINT **rows, STACKS *ws) { release_rows(ws, kP2dRows, kP1d, rows); }
void U_kilc2d(CPOINT **rows, STACKS *ws) { release_rows(ws, kC2dRows, kC1d, rows); }
void U_kilpol(CPOLYGON *pol, STACKS *ws) { release(ws, kPolygon, pol); }
void U_kilnet(CNET *net, STACKS *ws) { release(ws, kNet, net); }
void U_kilknt(KNOTVECTOR *knt, STACKS *ws) { release(ws, kKnotVector, knt); }
void U_kilcvl(CVLIST *cvl, STACKS *ws) { release(ws, kCvlist, cvl); }
void U_kilsvl(SVLIST *svl, STACKS *ws) { release(ws, kSvlist, svl); }

}  // extern "C"

namespace {
// A knot-vector record and its knots, the pointer read before the record
// goes.
void release_knots(KNOTVECTOR *knt, STACKS *ws) {
  if (!knt) return;
  double *U = knt->U;
  U_kilknt(knt, ws);
  U_kilr1d(U, ws);
}
}  // namespace

extern "C" {

void U_kilcur(CURVE *cur, STACKS *ws) {
  if (!cur) return;
  if (CPOLYGON *pol = cur->pol) {
    CPOINT *Pw = pol->Pw;
    U_kilpol(pol, ws);
    U_kilc1d(Pw, ws);
  }
  release_knots(cur->knt, ws);
}

void U_kilsur(SURFACE *sur, STACKS *ws) {
  if (!sur) return;
  if (CNET *net = sur->net) {
    CPOINT **Pw = net->Pw;
    U_kilnet(net, ws);
    U_kilc2d(Pw, ws);
  }
  release_knots(sur->knu, ws);
  release_knots(sur->knv, ws);
}

void U_kilcfn(CFUNCTION *cfn, STACKS *ws) {
  if (!cfn) return;
  if (CVLIST *cvl = cfn->cvl) {
    double *values = cvl->values;
    U_kilcvl(cvl, ws);
    U_kilr1d(values, ws);
  }
  release_knots(cfn->knt, ws);
}

void U_kilsfn(SFUNCTION *sfn, STACKS *ws) {
  if (!sfn) return;
  if (SVLIST *svl = sfn->svl) {
    double **values = svl->values;
    U_kilsvl(svl, ws);
    U_kilr2d(values, ws);
  }
  release_knots(sfn->knu, ws);
  release_knots(sfn->knv, ws);
}

// ---- Reallocation ---------------------------------------------------------
int16_t U_ralf1d(int16_t **a, int32_t on, int32_t nn, STACKS *ws) {
  return realloc1d(a, on, nn, ws, S_getf1d, U_kilf1d, "U_RALF1D");
}
int16_t U_rali1d(int32_t **a, int32_t on, int32_t nn, STACKS *ws) {
  return realloc1d(a, on, nn, ws, S_geti1d, U_kili1d, "U_RALI1D");
}
int16_t U_rali1p(int32_t ***a, int32_t on, int32_t nn, STACKS *ws) {
  return realloc1d(a, on, nn, ws, S_geti1p, U_kili1p, "U_RALI1P");
}
int16_t U_ralr1d(double **a, int32_t on, int32_t nn, STACKS *ws) {
  return realloc1d(a, on, nn, ws, S_getr1d, U_kilr1d, "U_RALR1D");
}
int16_t U_ralp1d(POINT **a, int32_t on, int32_t nn, STACKS *ws) {
  return realloc1d(a, on, nn, ws, S_getp1d, U_kilp1d, "U_RALP1D");
}
int16_t U_ralc1d(CPOINT **a, int32_t on, int32_t nn, STACKS *ws) {
  return realloc1d(a, on, nn, ws, S_getc1d, U_kilc1d, "U_RALC1D");
}
int16_t U_ralf2d(int16_t ***a, int32_t on, int32_t om, int32_t nn, int32_t nm, STACKS *ws) {
  return realloc2d(a, on, om, nn, nm, ws, S_getf2d, U_kilf2d, "U_RALF2D");
}
int16_t U_rali2d(int32_t ***a, int32_t on, int32_t om, int32_t nn, int32_t nm, STACKS *ws) {
  return realloc2d(a, on, om, nn, nm, ws, S_geti2d, U_kili2d, "U_RALI2D");
}
int16_t U_rali2p(int32_t ****a, int32_t on, int32_t om, int32_t nn, int32_t nm, STACKS *ws) {
  return realloc2d(a, on, om, nn, nm, ws, S_geti2p, U_kili2p, "U_RALI2P");
}
int16_t U_ralr2d(double ***a, int32_t on, int32_t om, int32_t nn, int32_t nm, STACKS *ws) {
  return realloc2d(a, on, om, nn, nm, ws, S_getr2d, U_kilr2d, "U_RALR2D");
}
int16_t U_ralp2d(POINT ***a, int32_t on, int32_t om, int32_t nn, int32_t nm, STACKS *ws) {
  return realloc2d(a, on, om, nn, nm, ws, S_getp2d, U_kilp2d, "U_RALP2D");
}
int16_t U_ralc2d(CPOINT ***a, int32_t on, int32_t om, int32_t nn, int32_t nm, STACKS *ws) {
  return realloc2d(a, on, om, nn, nm, ws, S_getc2d, U_kilc2d, "U_RALC2D");
}

}  // extern "C"
