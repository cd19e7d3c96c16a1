// Queries on the tessellation mesh: points, edges and triangles read out of
// the neighbour lists. Point i's neighbours nb[i][0..c[i]] run around it;
// an interior point's ring repeats its first neighbour last, a border
// point's list is open, and nb[i][0] = -1 marks a point outside the mesh.
// Consecutive neighbours (nb[i][k], nb[i][k+1]) are the triangles at i, so
// every triangle stands in the lists of its three points and every edge in
// the lists of its two ends; the whole-mesh queries report each once, from
// its smallest point.
#include <array>
#include <cstdint>
#include <initializer_list>

#include "core/internal.hpp"

using namespace orvo::detail;

namespace {

using Triangle = std::array<int32_t, 3>;

struct Mesh {
  int32_t *const *nb;
  const int32_t *c;
  int32_t N;

  bool in_use(int32_t i) const { return nb[i][0] != -1; }
  // An interior point's ring: the first neighbour repeated as the last.
  bool ring(int32_t i) const { return c[i] > 0 && nb[i][c[i]] == nb[i][0]; }
  // Position of b in the list of a, or -1.
  int32_t find(int32_t a, int32_t b) const {
    for (int32_t k = 0; k <= c[a]; ++k)
      if (nb[a][k] == b) return k;
    return -1;
  }
};

bool given(std::initializer_list<const void *> ptrs) {
  for (const void *p : ptrs)
    if (!p) return false;
  return true;
}

// The list of point i must be there (14); a point in use needs a highest
// index of at least 0 (14) and neighbours in 0..N (7), so that no entry read
// later can index outside the mesh.
int16_t check_point(const Mesh &m, int32_t i, const char *tag) {
  if (!m.nb[i]) return fail(kErrInconsistent, tag);
  if (!m.in_use(i)) return 0;
  if (m.c[i] < 0) return fail(kErrInconsistent, tag);
  for (int32_t k = 0; k <= m.c[i]; ++k)
    if (m.nb[i][k] < 0 || m.nb[i][k] > m.N) return fail(kErrIndex, tag);
  return 0;
}

// Whole-mesh queries: N = -1 is the empty mesh.
int16_t check_mesh(const Mesh &m, const char *tag) {
  if (!m.nb || !m.c || m.N < -1) return fail(kErrInconsistent, tag);
  for (int32_t i = 0; i <= m.N; ++i)
    if (check_point(m, i, tag)) return 1;
  return 0;
}

// Point queries: N >= 2 (14), every point in 0..N (7) with a sound list.
int16_t check_points(const Mesh &m, std::initializer_list<int32_t> pts, const char *tag) {
  if (!m.nb || !m.c || m.N < 2) return fail(kErrInconsistent, tag);
  for (int32_t p : pts)
    if (p < 0 || p > m.N) return fail(kErrIndex, tag);
  for (int32_t p : pts)
    if (check_point(m, p, tag)) return 1;
  return 0;
}

// Fresh arrays with highest index last for every output; the allocator has
// set the error when one cannot be had.
bool allocate(int32_t last, STACKS *ws, std::initializer_list<int32_t **> outs) {
  for (int32_t **out : outs)
    if (!(*out = S_geti1d(last, ws))) return false;
  return true;
}

// The items that walk hands to its visitor, stored into fresh output
// arrays (one per item component): one pass counts, the second fills.
template <class Walk>
int16_t collect(Walk walk, std::initializer_list<int32_t **> outs, int32_t *last, STACKS *ws,
                const char *tag) {
  int64_t count = 0;
  walk([&count](auto...) { ++count; });
  if (count > INT32_MAX) return fail(kErrMemory, tag);
  if (!allocate(static_cast<int32_t>(count - 1), ws, outs)) return 1;
  int32_t n = 0;
  walk([&](auto... ids) {
    const int32_t item[] = {ids...};
    const int32_t *next = item;
    for (int32_t **out : outs) (*out)[n] = *next++;
    ++n;
  });
  *last = n - 1;
  return 0;
}

template <class Get>
int16_t put_triangles(int32_t count, Get get, int32_t **t0, int32_t **t1, int32_t **t2,
                      int32_t *last, STACKS *ws) {
  if (!allocate(count - 1, ws, {t0, t1, t2})) return 1;
  for (int32_t k = 0; k < count; ++k) {
    const Triangle t = get(k);
    (*t0)[k] = t[0];
    (*t1)[k] = t[1];
    (*t2)[k] = t[2];
  }
  *last = count - 1;
  return 0;
}

int16_t no_triangles(int32_t **t0, int32_t **t1, int32_t **t2, int32_t *last, STACKS *ws) {
  return put_triangles(
      0, [](int32_t) { return Triangle{}; }, t0, t1, t2, last, ws);
}

// The triangles on either side of the edge a-b: (a, b, x) after b in the
// list of a, (b, a, y) after a in the list of b. False when a and b are not
// neighbours or share no triangle.
struct EdgeTriangles {
  int32_t n = 0;
  Triangle t[2];
};

bool edge_triangles(const Mesh &m, int32_t a, int32_t b, EdgeTriangles &e) {
  const int32_t k = m.find(a, b), l = m.find(b, a);
  if (k < 0 || l < 0) return false;
  if (k < m.c[a]) e.t[e.n++] = Triangle{a, b, m.nb[a][k + 1]};
  if (l < m.c[b]) e.t[e.n++] = Triangle{b, a, m.nb[b][l + 1]};
  return e.n > 0;
}

}  // namespace

extern "C" {

int16_t N_tesbap(int32_t *const *nb, const int32_t *c, int32_t N, int32_t **pts, int32_t *last,
                 STACKS *ws) {
  const char *tag = "N_TESBAP";
  const Mesh m{nb, c, N};
  if (!given({pts, last, ws})) return fail(kErrInconsistent, tag);
  if (check_mesh(m, tag)) return 1;
  auto walk = [&m](auto visit) {
    for (int32_t i = 0; i <= m.N; ++i)
      if (m.in_use(i)) visit(i);
  };
  return collect(walk, {pts}, last, ws, tag);
}

// A ring's closing entry repeats its first neighbour and is not a further
// edge.
int16_t N_tesbae(int32_t *const *nb, const int32_t *c, int32_t N, int32_t **e0, int32_t **e1,
                 int32_t *last, STACKS *ws) {
  const char *tag = "N_TESBAE";
  const Mesh m{nb, c, N};
  if (!given({e0, e1, last, ws})) return fail(kErrInconsistent, tag);
  if (check_mesh(m, tag)) return 1;
  auto walk = [&m](auto visit) {
    for (int32_t i = 0; i <= m.N; ++i) {
      if (!m.in_use(i)) continue;
      const int32_t top = m.ring(i) ? m.c[i] - 1 : m.c[i];
      for (int32_t k = 0; k <= top; ++k)
        if (m.nb[i][k] > i) visit(i, m.nb[i][k]);
    }
  };
  return collect(walk, {e0, e1}, last, ws, tag);
}

int16_t N_tesbat(int32_t *const *nb, const int32_t *c, int32_t N, int32_t **t0, int32_t **t1,
                 int32_t **t2, int32_t *last, STACKS *ws) {
  const char *tag = "N_TESBAT";
  const Mesh m{nb, c, N};
  if (!given({t0, t1, t2, last, ws})) return fail(kErrInconsistent, tag);
  if (check_mesh(m, tag)) return 1;
  auto walk = [&m](auto visit) {
    for (int32_t i = 0; i <= m.N; ++i) {
      if (!m.in_use(i)) continue;
      for (int32_t k = 0; k < m.c[i]; ++k) {
        const int32_t a = m.nb[i][k], b = m.nb[i][k + 1];
        if (a > i && b > i) visit(i, a, b);
      }
    }
  };
  return collect(walk, {t0, t1, t2}, last, ws, tag);
}

int16_t N_tesbpp(int32_t *const *nb, const int32_t *c, int32_t N, int32_t i, int32_t **list,
                 int32_t *last, STACKS *ws) {
  const char *tag = "N_TESBPP";
  const Mesh m{nb, c, N};
  if (!given({list, last, ws})) return fail(kErrInconsistent, tag);
  if (check_points(m, {i}, tag)) return 1;
  const int32_t top = m.in_use(i) ? c[i] : -1;
  if (!allocate(top, ws, {list})) return 1;
  for (int32_t k = 0; k <= top; ++k) (*list)[k] = nb[i][k];
  *last = top;
  return 0;
}

int16_t N_tesbpl(int32_t *const *nb, const int32_t *c, int32_t N, int32_t i, int32_t **e0,
                 int32_t **e1, int32_t *last, STACKS *ws) {
  const char *tag = "N_TESBPL";
  const Mesh m{nb, c, N};
  if (!given({e0, e1, last, ws})) return fail(kErrInconsistent, tag);
  if (check_points(m, {i}, tag)) return 1;
  const int32_t top = m.in_use(i) ? c[i] : -1;
  if (!allocate(top, ws, {e0, e1})) return 1;
  for (int32_t k = 0; k <= top; ++k) {
    (*e0)[k] = i;
    (*e1)[k] = nb[i][k];
  }
  *last = top;
  return 0;
}

int16_t N_tesbpt(int32_t *const *nb, const int32_t *c, int32_t N, int32_t i, int32_t **t0,
                 int32_t **t1, int32_t **t2, int32_t *last, STACKS *ws) {
  const char *tag = "N_TESBPT";
  const Mesh m{nb, c, N};
  if (!given({t0, t1, t2, last, ws})) return fail(kErrInconsistent, tag);
  if (check_points(m, {i}, tag)) return 1;
  const int32_t count = m.in_use(i) ? c[i] : 0;
  return put_triangles(
      count,
      [&](int32_t k) {
        return Triangle{i, nb[i][k], nb[i][k + 1]};
      },
      t0, t1, t2, last, ws);
}

int16_t N_tesblt(int32_t *const *nb, const int32_t *c, int32_t N, int32_t a, int32_t b,
                 int32_t **t0, int32_t **t1, int32_t **t2, int32_t *last, STACKS *ws) {
  const char *tag = "N_TESBLT";
  const Mesh m{nb, c, N};
  if (!given({t0, t1, t2, last, ws})) return fail(kErrInconsistent, tag);
  if (check_points(m, {a, b}, tag)) return 1;
  if (!m.in_use(a) || !m.in_use(b)) return no_triangles(t0, t1, t2, last, ws);
  EdgeTriangles e;
  if (!edge_triangles(m, a, b, e)) return fail(kErrIndex, tag);
  return put_triangles(
      e.n, [&e](int32_t k) { return e.t[k]; }, t0, t1, t2, last, ws);
}

// Across each edge the triangle whose third point is not the opposite
// corner of (a, b, cc). An edge missing from the mesh, or one whose
// triangles do not include (a, b, cc), means (a, b, cc) is no triangle of
// the mesh: error 7.
int16_t N_tesbtt(int32_t *const *nb, const int32_t *c, int32_t N, int32_t a, int32_t b, int32_t cc,
                 int32_t **t0, int32_t **t1, int32_t **t2, int32_t *last, STACKS *ws) {
  const char *tag = "N_TESBTT";
  const Mesh m{nb, c, N};
  if (!given({t0, t1, t2, last, ws})) return fail(kErrInconsistent, tag);
  if (check_points(m, {a, b, cc}, tag)) return 1;
  if (!m.in_use(a) || !m.in_use(b) || !m.in_use(cc)) return no_triangles(t0, t1, t2, last, ws);
  const Triangle edges[3] = {{a, b, cc}, {b, cc, a}, {cc, a, b}};
  Triangle kept[3];
  int32_t n = 0;
  for (const Triangle &edge : edges) {
    EdgeTriangles e;
    if (!edge_triangles(m, edge[0], edge[1], e)) return fail(kErrIndex, tag);
    bool own = false;
    const Triangle *other = nullptr;
    for (int32_t k = 0; k < e.n; ++k) {
      if (e.t[k][2] == edge[2])
        own = true;
      else
        other = &e.t[k];
    }
    if (!own) return fail(kErrIndex, tag);
    if (other) kept[n++] = *other;
  }
  return put_triangles(
      n, [&kept](int32_t k) { return kept[k]; }, t0, t1, t2, last, ws);
}

}  // extern "C"
