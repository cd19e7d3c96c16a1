// A uniform view of a real matrix record for the arithmetic and the
// solvers: every storage type is described by how far its meaningful
// entries reach below (lo) and above (up) the diagonal, so one set of
// loops serves full, triangular and banded storage.
#pragma once

#include <algorithm>
#include <cstdint>

#include "core/internal.hpp"

namespace orvo::detail {

struct MatView {
  double **a = nullptr;
  int32_t n = -1;  // highest row index
  int32_t m = -1;  // highest column index
  int32_t type = 0;
  int32_t lo = 0;  // meaningful entries reach lo columns left of the diagonal
  int32_t up = 0;  // ... and up columns right of it
  bool banded = false;

  // Meaningful columns of row i: first(i)..last(i) (empty when last < first).
  int32_t first(int32_t i) const {
    return static_cast<int32_t>(std::max<int64_t>(0, int64_t{i} - lo));
  }
  int32_t last(int32_t i) const {
    return static_cast<int32_t>(std::min<int64_t>(m, int64_t{i} + up));
  }
  // Meaningful rows of column j: top(j)..bottom(j).
  int32_t top(int32_t j) const {
    return static_cast<int32_t>(std::max<int64_t>(0, int64_t{j} - up));
  }
  int32_t bottom(int32_t j) const {
    return static_cast<int32_t>(std::min<int64_t>(n, int64_t{j} + lo));
  }

  // Element (i, j); only valid inside the meaningful part for banded storage.
  double &operator()(int32_t i, int32_t j) const { return banded ? a[i][j - i + lo] : a[i][j]; }
};

// Reach of a storage type. A band of width bw keeps bw / 2 entries left of
// the diagonal and the rest (bw - 1 - bw / 2) right of it, so that an even
// width never reaches past the bw stored slots of a row.
inline MatView view_of(const RMATRIX &r) {
  MatView v;
  v.a = r.a;
  v.n = r.n;
  v.m = r.m;
  v.type = r.type;
  switch (r.type) {
    case ORVO_LOWERLEFT:
      v.lo = r.n;
      v.up = 0;
      break;
    case ORVO_UPPERRIGHT:
      v.lo = 0;
      v.up = r.m;
      break;
    case ORVO_BANDED:
      v.banded = true;
      v.lo = r.bw / 2;
      v.up = r.bw - 1 - r.bw / 2;
      break;
    default:
      v.lo = r.n;
      v.up = r.m;
      break;
  }
  return v;
}

// Checks that a record describes storage that can be read: an element
// table, non-negative highest indices, a known storage type and, for a
// band, at least one stored entry per row. Records 7 or 14 under tag.
inline int16_t check_readable(const RMATRIX *r, const char *tag) {
  if (!r || !r->a || r->n < 0 || r->m < 0) return fail(kErrIndex, tag);
  if (r->type < ORVO_FULL || r->type > ORVO_BANDED) return fail(kErrInconsistent, tag);
  if (r->type == ORVO_BANDED && r->bw < 1) return fail(kErrInconsistent, tag);
  return 0;
}

// Which of the z and w columns of a CPOINT array hold numbers: a column in
// which any point carries the marker is treated as a marker column, so
// that sums never include the marker values.
struct CptMask {
  bool z = true;
  bool w = true;
};

inline void add_to_mask(CptMask &k, const CPOINT &q) {
  k.z = k.z && z_valid(q.z);
  k.w = k.w && w_valid(q.w);
}

inline CptMask mask_of(const CPOINT *p, int64_t count) {
  CptMask k;
  for (int64_t i = 0; i < count; ++i) add_to_mask(k, p[i]);
  return k;
}

// acc += a * q over the number columns.
inline void axpy(CPOINT &acc, double a, const CPOINT &q, CptMask k) {
  acc.x += a * q.x;
  acc.y += a * q.y;
  if (k.z) acc.z += a * q.z;
  if (k.w) acc.w += a * q.w;
}

inline void scale(CPOINT &q, double a, CptMask k) {
  q.x *= a;
  q.y *= a;
  if (k.z) q.z *= a;
  if (k.w) q.w *= a;
}

// Writes the markers into the marker columns.
inline void mark(CPOINT &q, CptMask k) {
  if (!k.z) q.z = kZ2D;
  if (!k.w) q.w = kWNR;
}

}  // namespace orvo::detail
