// Mesh queries on hand-built neighbour lists against the triangles they were drawn from; cells
// against a square with a hole and a second square; the leaf-cell walk with hanging corners.
#include <algorithm>
#include <array>
#include <set>
#include <functional>
#include <tuple>
#include <vector>

#include "core/internal.hpp"
#include "test_support.hpp"

namespace {

using Tri = std::array<int32_t, 3>;
using Lists = std::vector<std::vector<int32_t>>;

struct Mesh {
  Lists lists;
  std::vector<Tri> tris;  // counter-clockwise, from the smallest point
  std::vector<int32_t *> rows;
  std::vector<int32_t> cs;
  int32_t *const *nb;
  const int32_t *c;
  int32_t N;
  Mesh(Lists l, std::vector<Tri> t) : lists(std::move(l)), tris(std::move(t)) {
    for (auto &r : lists) rows.push_back(r.data()), cs.push_back(int32_t(r.size()) - 1);
    nb = rows.data(), c = cs.data(), N = int32_t(lists.size()) - 1;
  }
  Mesh(const Mesh &) = delete;
};

// (0, 1, 2) and (0, 2, 3); point 4 is outside the mesh.
Mesh Pair() { return {{{1, 2, 3}, {2, 0}, {3, 0, 1}, {0, 2}, {-1}}, {{0, 1, 2}, {0, 2, 3}}}; }
// Six triangles around point 0, whose ring closes on point 1.
Mesh Fan() {
  Lists l{{1, 2, 3, 4, 5, 6, 1}};
  std::vector<Tri> t;
  for (int32_t k = 1; k <= 6; ++k)
    l.push_back({k % 6 + 1, 0, (k + 4) % 6 + 1}), t.push_back({0, k, k % 6 + 1});
  return {l, t};
}

TEST(MeshQueries, WholeMeshAgainstTriangleList) {
  Mesh meshes[] = {Pair(), Fan()};
  for (Mesh &m : meshes) {
    orvo_test::Workspace ws;
    int32_t *p, *e0, *e1, *t0, *t1, *t2, lp, le, lt;
    ASSERT_EQ(N_tesbap(m.nb, m.c, m.N, &p, &lp, ws) | N_tesbae(m.nb, m.c, m.N, &e0, &e1, &le, ws) |
                  N_tesbat(m.nb, m.c, m.N, &t0, &t1, &t2, &lt, ws),
              0);
    std::set<int32_t> pts;
    std::set<std::pair<int32_t, int32_t>> edges;
    for (const Tri &t : m.tris)
      for (int q = 0; q < 3; ++q) pts.insert(t[q]), edges.insert(std::minmax(t[q], t[(q + 1) % 3]));
    std::vector<std::pair<int32_t, int32_t>> got_edges;
    std::vector<Tri> got_tris;
    for (int32_t k = 0; k <= le; ++k) got_edges.push_back({e0[k], e1[k]});
    for (int32_t k = 0; k <= lt; ++k) got_tris.push_back({t0[k], t1[k], t2[k]});
    std::sort(got_edges.begin(), got_edges.end()), std::sort(got_tris.begin(), got_tris.end());
    EXPECT_EQ(std::set<int32_t>(p, p + lp + 1), pts);
    EXPECT_EQ(got_edges, decltype(got_edges)(edges.begin(), edges.end()));  // each once
    EXPECT_EQ(got_tris, m.tris);
  }
}

// Triangles at a point (with its list and edges), at an edge and across
// the edges of a triangle; a point outside the mesh answers with none.
TEST(MeshQueries, TrianglesAtPointsAndEdges) {
  Mesh pair = Pair(), fan = Fan();
  const std::tuple<Mesh *, char, int32_t, int32_t, int32_t, std::vector<Tri>> rows[] = {
      {&fan, 'p', 0, 0, 0, fan.tris},
      {&pair, 'p', 2, 0, 0, {{2, 3, 0}, {2, 0, 1}}},
      {&pair, 'p', 4, 0, 0, {}},
      {&pair, 'l', 0, 2, 0, {{0, 2, 3}, {2, 0, 1}}},
      {&fan, 'l', 3, 0, 0, {{3, 0, 2}, {0, 3, 4}}},
      {&pair, 'l', 0, 4, 0, {}},
      {&pair, 't', 0, 1, 2, {{0, 2, 3}}},
      {&fan, 't', 0, 1, 2, {{1, 0, 6}, {0, 2, 3}}},
      {&pair, 't', 0, 1, 4, {}}};
  for (const auto &[m, kind, a, b, cc, want] : rows) {
    orvo_test::Workspace ws;
    int32_t *t0, *t1, *t2, *list, *e0, *e1, last = -7, ll, le;
    ASSERT_EQ(kind == 'p'   ? N_tesbpt(m->nb, m->c, m->N, a, &t0, &t1, &t2, &last, ws)
              : kind == 'l' ? N_tesblt(m->nb, m->c, m->N, a, b, &t0, &t1, &t2, &last, ws)
                            : N_tesbtt(m->nb, m->c, m->N, a, b, cc, &t0, &t1, &t2, &last, ws),
              0);
    std::vector<Tri> got;
    for (int32_t k = 0; k <= last; ++k) got.push_back({t0[k], t1[k], t2[k]});
    EXPECT_EQ(got, want) << kind << " " << a << " " << b;
    if (kind != 'p') continue;
    ASSERT_EQ(N_tesbpp(m->nb, m->c, m->N, a, &list, &ll, ws) |
                  N_tesbpl(m->nb, m->c, m->N, a, &e0, &e1, &le, ws),
              0);
    const auto used = want.empty() ? std::vector<int32_t>{} : m->lists[a];
    EXPECT_EQ(std::vector<int32_t>(list, list + ll + 1), used);
    EXPECT_EQ(std::vector<int32_t>(e1, e1 + le + 1), used);
    EXPECT_EQ(std::count(e0, e0 + le + 1, a), le + 1);
  }
}

TEST(MeshQueries, Refusals) {
  Mesh p = Pair(), f = Fan(), bad({{1, 2}, {9, 0}, {0, 1}}, {}), edge({{1}, {0}, {-1}}, {});
  int32_t negc[] = {-1, 1, 2, 1, 0}, *a0, *a1, *a2, n;
  orvo_test::Workspace ws;
  const std::tuple<std::function<int16_t()>, int32_t, const char *> rows[] = {
      {[&] { return N_tesbap(nullptr, p.c, 4, &a0, &n, ws); }, 14, "N_TESBAP"},
      {[&] { return N_tesbae(bad.nb, bad.c, 2, &a0, &a1, &n, ws); }, 7, "N_TESBAE"},
      {[&] { return N_tesbat(p.nb, negc, 4, &a0, &a1, &a2, &n, ws); }, 14, "N_TESBAT"},
      {[&] { return N_tesbpp(p.nb, p.c, 1, 0, &a0, &n, ws); }, 14, "N_TESBPP"},
      {[&] { return N_tesbpl(p.nb, p.c, 4, 5, &a0, &a1, &n, ws); }, 7, "N_TESBPL"},
      {[&] { return N_tesblt(p.nb, p.c, 4, 1, 3, &a0, &a1, &a2, &n, ws); }, 7, "N_TESBLT"},
      {[&] { return N_tesblt(edge.nb, edge.c, 2, 0, 1, &a0, &a1, &a2, &n, ws); }, 7, "N_TESBLT"},
      {[&] { return N_tesbtt(f.nb, f.c, 6, 0, 1, 3, &a0, &a1, &a2, &n, ws); }, 7, "N_TESBTT"},
      {[&] {
         return orvo::detail::fail_allocation_at(1), N_tesbae(p.nb, p.c, 4, &a0, &a1, &n, ws);
       },
       15, "S_GETI1D"}};
  for (const auto &[call, code, tag] : rows) {
    EXPECT_EQ(call(), 1) << tag;
    orvo_test::expect_error(code, tag);
  }
}

TEST(CellClassification, SquareWithHoleAndSecondSquare) {
  double u[3][5] = {{0, 10, 10, 0, 0}, {4, 6, 6, 4, 4}, {20, 30, 30, 20, 20}},
         v[3][5] = {{0, 0, 10, 10, 0}, {4, 4, 6, 6, 4}, {0, 0, 10, 10, 0}};
  TRIMLOOP r0[] = {{4, u[0], v[0], {0, 10, 0, 10}}, {4, u[1], v[1], {4, 6, 4, 6}}},
           r1[] = {{4, u[2], v[2], {20, 30, 0, 10}}};
  const TRIMREGION regions[] = {{0, r0}, {-1, r1}};
  const double d = 0.01;
  using Want = std::array<int16_t, 4>;  // the outer loop, the hole, region 0, all regions
  const std::pair<RECTANGLE, Want> rows[] = {
      {{1, 2, 1, 2}, {1, -1, 1, 1}},         {{9, 11, 1, 2}, {0, -1, 0, 0}},
      {{3, 7, 3, 7}, {1, 2, 2, 2}},          {{4.5, 5.5, 4.5, 5.5}, {1, 1, -1, -1}},
      {{20.5, 21.5, 1, 2}, {-1, -1, -1, 1}}, {{3, 5, 3, 5}, {1, 0, 0, 0}},
      {{3, 7, 3, 11}, {0, 2, 3, 3}},         {{-1, 11, -1, 11}, {2, 2, 2, 2}},
      {{12, 18, 1, 2}, {-1, -1, -1, -1}}};
  for (const auto &[c, want] : rows) {
    const Want got{N_tesbip(u[0], v[0], 4, r0[0].box, c, d),
                   N_tesbip(u[1], v[1], 4, r0[1].box, c, d), N_tesbil(r0, 0, c, d),
                   N_tesbit(regions, 1, c, d)};
    EXPECT_EQ(got, want) << c.xmin << " " << c.ymin;
  }
}

// Cells [0,1]x[0,1], [0,1]x[1,2] and [1,2]x[0,2]: point 4 at (1, 1) hangs on the left side of
// the big cell, in the transposed grid on its lower side. Point 7 has both flags but no cell.
TEST(LeafCellWalk, HangingCornersAreSkipped) {
  int32_t g[3][3] = {{0, 3, 5}, {1, 4, 6}, {2, -1, 7}}, h[3][3];
  int32_t *grid[3] = {g[0], g[1], g[2]}, *tgrid[3] = {h[0], h[1], h[2]};
  for (int i = 0; i < 9; ++i) h[i % 3][i / 3] = g[i / 3][i % 3];
  const int16_t fu[] = {1, 1, 0, 1, 0, 1, 1, 1}, fv[] = {1, 1, 1, 1, 1, 0, 0, 1};
  const std::array<int32_t, 4> rows[] = {
      {0, 0, 1, 1},   {1, 0, 2, 2},   {0, 1, 1, 2},   {1, 1, -1, -1}, {2, 1, -1, -1},
      {2, 0, -1, -1}, {0, 2, -1, -1}, {2, 2, -1, -1}, {3, 0, -1, -1}, {0, -1, -1, -1}};
  for (const auto &[i, j, i2, j2] : rows) {
    std::array<int32_t, 4> got{9, 9, 9, 9};
    N_tesbox(grid, 2, 2, fu, fv, i, j, &got[0], &got[1]);
    N_tesbox(tgrid, 2, 2, fv, fu, j, i, &got[3], &got[2]);  // the transposed walk
    EXPECT_EQ(got, (std::array<int32_t, 4>{i2, j2, i2, j2})) << i << " " << j;
  }
}

}  // namespace
