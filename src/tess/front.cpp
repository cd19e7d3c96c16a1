// Triangulation of the leaf cells by an advancing front, and the
// neighbour rings of the finished mesh.
#include <algorithm>
#include <cmath>
#include <new>
#include <unordered_map>

#include "geom/geom_ops.hpp"
#include "tess/tess_internal.hpp"

namespace orvo::detail::tess {

namespace {

// The advancing front over the polygons of one cell. The front is a stack
// of directed edges with the unmeshed area on their left; an edge pushed
// while its reverse is on the front closes that stretch and removes both.
class Front {
 public:
  Front(const PointSet &pts, std::vector<int32_t> &tris) : pts_(pts), tris_(tris) {}

  int16_t mesh(const std::vector<int32_t> &idx, const std::vector<int32_t> &start,
               const char *tag) {
    // A plain quadrilateral (a cell with no hanging corner) is two triangles.
    if (start.size() == 2 && start[1] == 4) {
      const int32_t a = idx[0], b = idx[1], c = idx[2], d = idx[3];
      if (orient(a, b, c) > 0 && orient(a, c, d) > 0 && orient(b, c, d) > 0 &&
          orient(b, d, a) > 0) {
        tris_.insert(tris_.end(), {a, b, c, a, c, d});
        return 0;
      }
    }
    edges_.clear();
    live_.clear();
    local_.clear();
    if (count_.size() < static_cast<size_t>(pts_.size())) count_.resize(pts_.size(), 0);
    size_t legs = 0;
    for (size_t k = 0; k + 1 < start.size(); ++k) legs += start[k + 1] - start[k];
    big_ = legs > 48;
    for (size_t k = 0; k + 1 < start.size(); ++k)
      for (int32_t t = start[k]; t < start[k + 1]; ++t) {
        const int32_t a = idx[t], b = idx[t + 1 < start[k + 1] ? t + 1 : start[k]];
        if (a == b) continue;
        local_.push_back(a);
        push(a, b);
      }
    std::sort(local_.begin(), local_.end());
    local_.erase(std::unique(local_.begin(), local_.end()), local_.end());
    const size_t limit = 4 * (local_.size() + edges_.size()) + 16;
    size_t made = 0;
    int16_t status = 0;
    while (!edges_.empty()) {
      const Edge e = edges_.back();
      edges_.pop_back();
      if (!e.alive) continue;
      drop(e.a, e.b);
      int32_t c;
      if (choose(e.a, e.b, c, tag) || ++made > limit) {
        status = made > limit ? fail(kErrZeroVector, tag) : 1;
        break;
      }
      tris_.push_back(e.a);
      tris_.push_back(e.b);
      tris_.push_back(c);
      push(e.a, c);
      push(c, e.b);
    }
    for (int32_t p : local_) count_[p] = 0;
    return status;
  }

 private:
  struct Edge {
    int32_t a, b;
    bool alive;
  };
  static uint64_t key(int32_t a, int32_t b) {
    const uint32_t lo = static_cast<uint32_t>(std::min(a, b)),
                   hi = static_cast<uint32_t>(std::max(a, b));
    return (static_cast<uint64_t>(hi) << 32) | lo;
  }
  // The live edge between a and b (either direction), or -1.
  int64_t find(int32_t a, int32_t b) const {
    if (big_) {
      auto it = live_.find(key(a, b));
      return it == live_.end() ? -1 : static_cast<int64_t>(it->second);
    }
    for (size_t k = 0; k < edges_.size(); ++k) {
      const Edge &e = edges_[k];
      if (e.alive && ((e.a == a && e.b == b) || (e.a == b && e.b == a)))
        return static_cast<int64_t>(k);
    }
    return -1;
  }
  void push(int32_t a, int32_t b) {
    const int64_t k = find(a, b);
    if (k >= 0) {
      Edge &old = edges_[k];
      old.alive = false;
      --count_[old.a];
      --count_[old.b];
      if (big_) live_.erase(key(a, b));
      return;
    }
    if (big_) live_.emplace(key(a, b), edges_.size());
    edges_.push_back(Edge{a, b, true});
    ++count_[a];
    ++count_[b];
  }
  void drop(int32_t a, int32_t b) {
    if (big_) live_.erase(key(a, b));
    --count_[a];
    --count_[b];
  }
  double orient(int32_t a, int32_t b, int32_t c) const {
    return orient2d(pts_.u[a], pts_.v[a], pts_.u[b], pts_.v[b], pts_.u[c], pts_.v[c]);
  }
  // Do the segments p-q and r-s cross at a point inside both?
  bool crosses(int32_t p, int32_t q, int32_t r, int32_t s) const {
    if (p == r || p == s || q == r || q == s) return false;
    const double o1 = orient(p, q, r), o2 = orient(p, q, s);
    if (o1 == 0 || o2 == 0 || (o1 > 0) == (o2 > 0)) return false;
    const double o3 = orient(r, s, p), o4 = orient(r, s, q);
    return o3 != 0 && o4 != 0 && (o3 > 0) != (o4 > 0);
  }
  // Triangle (a, b, c) lies in the unmeshed area: no front edge crosses its
  // new sides and no front point lies in it or on its sides.
  bool admissible(int32_t a, int32_t b, int32_t c) const {
    for (const Edge &e : edges_) {
      if (!e.alive) continue;
      if (crosses(a, c, e.a, e.b) || crosses(c, b, e.a, e.b)) return false;
    }
    for (int32_t q : local_) {
      if (q == a || q == b || q == c || count_[q] <= 0) continue;
      if (orient(a, b, q) >= 0 && orient(b, c, q) >= 0 && orient(c, a, q) >= 0) return false;
    }
    return true;
  }
  // The point seeing a -> b under the largest angle among admissible ones.
  int16_t choose(int32_t a, int32_t b, int32_t &best, const char *tag) {
    cand_.clear();
    for (int32_t c : local_) {
      if (c == a || c == b || count_[c] <= 0) continue;
      if (!(orient(a, b, c) > 0)) continue;
      const double ex = pts_.u[a] - pts_.u[c], ey = pts_.v[a] - pts_.v[c];
      const double fx = pts_.u[b] - pts_.u[c], fy = pts_.v[b] - pts_.v[c];
      const double ef = ex * fx + ey * fy;
      double s;
      if (!guarded_quotient(ef * ef, (ex * ex + ey * ey) * (fx * fx + fy * fy), s))
        return fail(kErrFloat, tag);
      cand_.emplace_back(ef < 0 ? -s : s, c);
    }
    std::sort(cand_.begin(), cand_.end());
    for (const auto &cs : cand_)
      if (admissible(a, b, cs.second)) {
        best = cs.second;
        return 0;
      }
    return fail(kErrZeroVector, tag);
  }

  const PointSet &pts_;
  std::vector<int32_t> &tris_;
  std::vector<Edge> edges_;
  std::unordered_map<uint64_t, size_t> live_;
  std::vector<int32_t> count_;  // live front edges at each point
  std::vector<int32_t> local_;
  std::vector<std::pair<double, int32_t>> cand_;
  bool big_ = false;
};

}  // namespace

int16_t triangulate(PointSet &pts, const Grid &grid, const std::vector<Region> &regions, double d,
                    std::vector<int32_t> &tris, const char *tag) {
  tris.clear();
  const RegionViews views(regions);
  Front front(pts, tris);
  std::vector<int32_t> border, idx, start;
  const int32_t corners = pts.size();  // points added while clipping are no cells
  for (int32_t p = 0; p < corners; ++p) {
    CellRef cell;
    if (!leaf_cell(pts, grid, p, cell)) continue;
    const RECTANGLE r{grid.gu[cell.i], grid.gu[cell.i2], grid.gv[cell.j], grid.gv[cell.j2]};
    border.clear();
    // With one region the subdivision's classification of the cell serves.
    const int16_t known = regions.size() == 1 ? pts.cls[p] : -2;
    for (size_t k = 0; k < regions.size(); ++k) {
      const int16_t cls =
          known != -2 ? known : N_tesbil(views.recs[k].loops, views.recs[k].nh, r, d);
      if (cls == -1) continue;
      if (border.empty()) cell_border(grid, cell, border);
      if (cls == 1) {
        idx = border;
        start.assign({0, static_cast<int32_t>(idx.size())});
      } else if (cell_polygons(pts, border, regions[k], idx, start, tag)) {
        return 1;
      }
      if (front.mesh(idx, start, tag)) return 1;
    }
  }
  return 0;
}

int16_t build_rings(PointSet &pts, const std::vector<int32_t> &tris,
                    std::vector<std::vector<int32_t>> &rings, const char *tag) {
  std::vector<int32_t> t = tris;
  // Triangles at each point (compressed rows).
  auto incidence = [&](std::vector<int32_t> &first, std::vector<int32_t> &list) {
    const int32_t np = pts.size();
    first.assign(static_cast<size_t>(np) + 1, 0);
    for (int32_t p : t) ++first[p + 1];
    for (int32_t k = 0; k < np; ++k) first[k + 1] += first[k];
    list.assign(t.size(), 0);
    std::vector<int32_t> at(first.begin(), first.end() - 1);
    for (size_t k = 0; k < t.size(); ++k) list[at[t[k]]++] = static_cast<int32_t>(k);
  };
  std::vector<int32_t> first, list;
  incidence(first, list);

  // The fan of triangles at p that contains corner slot s0, following the
  // next/previous links (a point with several fans gets a copy for each
  // further fan).
  const int32_t np0 = pts.size();
  std::vector<int32_t> next_of, slots;
  for (int32_t p = 0; p < np0; ++p) {
    const int32_t n = first[p + 1] - first[p];
    if (n == 0) continue;
    // For the triangle in slot k (corner p), its two other corners a -> b
    // counter-clockwise.
    slots.assign(list.begin() + first[p], list.begin() + first[p + 1]);
    auto ab = [&](int32_t slot, int32_t &a, int32_t &b) {
      const int32_t base = slot / 3 * 3, r = slot % 3;
      a = t[base + (r + 1) % 3];
      b = t[base + (r + 2) % 3];
    };
    std::vector<int32_t> fan(n, -1);
    int32_t fans = 0;
    for (int32_t k = 0; k < n; ++k) {
      if (fan[k] >= 0) continue;
      // Grow the fan both ways from slot k.
      std::vector<int32_t> todo{k};
      fan[k] = fans;
      while (!todo.empty()) {
        const int32_t s = todo.back();
        todo.pop_back();
        int32_t a, b;
        ab(slots[s], a, b);
        for (int32_t o = 0; o < n; ++o) {
          if (fan[o] >= 0) continue;
          int32_t c, e;
          ab(slots[o], c, e);
          if (c == b || e == a) {
            fan[o] = fans;
            todo.push_back(o);
          }
        }
      }
      ++fans;
    }
    for (int32_t f = 1; f < fans; ++f) {
      const int32_t copy = pts.append_copy(pts.u[p], pts.v[p]);
      for (int32_t k = 0; k < n; ++k)
        if (fan[k] == f) t[slots[k]] = copy;
    }
  }
  incidence(first, list);

  const int32_t np = pts.size();
  rings.assign(static_cast<size_t>(np), {});
  std::vector<std::pair<int32_t, int32_t>> links;
  for (int32_t p = 0; p < np; ++p) {
    links.clear();
    for (int32_t k = first[p]; k < first[p + 1]; ++k) {
      const int32_t slot = list[k], base = slot / 3 * 3, r = slot % 3;
      links.emplace_back(t[base + (r + 1) % 3], t[base + (r + 2) % 3]);
    }
    if (links.empty()) continue;
    std::sort(links.begin(), links.end());
    for (size_t k = 1; k < links.size(); ++k)
      if (links[k].first == links[k - 1].first) return fail(kErrMemory, tag);
    auto next = [&](int32_t a) -> int32_t {
      auto it = std::lower_bound(links.begin(), links.end(), std::make_pair(a, INT32_MIN));
      return (it != links.end() && it->first == a) ? it->second : -1;
    };
    // Start at a neighbour no triangle leads to (a border point), else anywhere.
    int32_t s = links[0].first;
    for (const auto &l : links) {
      bool incoming = false;
      for (const auto &m : links)
        if (m.second == l.first) incoming = true;
      if (!incoming) {
        s = l.first;
        break;
      }
    }
    auto &ring = rings[p];
    ring.push_back(s);
    int32_t cur = s;
    for (size_t steps = 0; steps < links.size(); ++steps) {
      cur = next(cur);
      if (cur < 0) return fail(kErrMemory, tag);
      ring.push_back(cur);
      if (cur == s) break;
    }
    if (ring.size() != links.size() + 1) return fail(kErrMemory, tag);
  }
  return 0;
}

}  // namespace orvo::detail::tess

using namespace orvo::detail;
using namespace orvo::detail::tess;

extern "C" {

int16_t N_tesdel(TESSGRID *g, const TRIMREGION *reg, int32_t nr, double d, double Lu, double Lv,
                 int32_t ***nb, int32_t **c, STACKS *ws) {
  const char *tag = "N_TESDEL";
  if (!nb || !c || !ws || !(d >= 0.0) || !std::isfinite(d) || !(Lu > 0.0) || !(Lv > 0.0))
    return fail(kErrInconsistent, tag);
  return run_stage(tag, [&]() -> int16_t {
    std::vector<Region> regions;
    PointSet pts;
    Grid grid;
    if (check_regions(reg, nr, tag) || grid_from_record(g, pts, grid, tag)) return 1;
    loops_from_records(reg, nr, regions);
    std::vector<int32_t> tris;
    std::vector<std::vector<int32_t>> rings;
    if (triangulate(pts, grid, regions, d, tris, tag) || build_rings(pts, tris, rings, tag))
      return 1;
    // The record gets the points added by the clipping.
    TESSGRID fresh{};
    if (into_workspace(ws, [&] {
          return grid_to_record(pts, grid, &fresh, tag, ws) ||
                 rings_to_records(rings, nb, c, tag, ws);
        }))
      return 1;
    *g = fresh;
    return 0;
  });
}

int16_t N_tespol(TESSGRID *g, int32_t i, int32_t j, const TRIMREGION *region, double d, double Lu,
                 double Lv, int32_t **idx, int32_t **start, int32_t *npoly, STACKS *ws) {
  const char *tag = "N_TESPOL";
  // The clipping is exact; d and the domain are not needed to decide it.
  (void)d;
  (void)Lu;
  (void)Lv;
  if (!idx || !start || !npoly || !ws) return fail(kErrInconsistent, tag);
  return run_stage(tag, [&]() -> int16_t {
    std::vector<Region> regions;
    PointSet pts;
    Grid grid;
    if (check_regions(region, 0, tag) || grid_from_record(g, pts, grid, tag)) return 1;
    loops_from_records(region, 0, regions);
    if (i < 0 || j < 0 || i > grid.ni() || j > grid.nj()) return fail(kErrZeroVector, tag);
    // The point at grid (i, j), found along its grid line.
    int32_t p = -1;
    for (int32_t k : grid.rows[j])
      if (grid.pi[k] == i) p = k;
    CellRef cell;
    if (p < 0 || !leaf_cell(pts, grid, p, cell)) return fail(kErrZeroVector, tag);
    std::vector<int32_t> border, ix, st;
    cell_border(grid, cell, border);
    if (cell_polygons(pts, border, regions[0], ix, st, tag)) return 1;
    TESSGRID fresh{};
    int32_t *oi = nullptr, *os = nullptr;
    if (into_workspace(ws, [&] {
          return grid_to_record(pts, grid, &fresh, tag, ws) ||
                 !(oi = S_geti1d(std::max<int32_t>(0, static_cast<int32_t>(ix.size()) - 1), ws)) ||
                 !(os = S_geti1d(static_cast<int32_t>(st.size()) - 1, ws));
        }))
      return 1;
    std::copy(ix.begin(), ix.end(), oi);
    std::copy(st.begin(), st.end(), os);
    *g = fresh;
    *idx = oi;
    *start = os;
    *npoly = static_cast<int32_t>(st.size()) - 2;
    return 0;
  });
}

}  // extern "C"
