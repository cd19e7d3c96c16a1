// Model-space trimming curves mapped into a surface's parameter plane by
// point inversion of points sampled along them.
#include "lib/iges_trim.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

namespace orvo::tools::iges {

namespace {

constexpr size_t kMaxSamples = 200000;
constexpr int kMaxDepth = 24;

double distance(const POINT &a, const POINT &b) {
  return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z);
}

struct Sample {
  double t;
  POINT P;
};

// Appends samples of cur on (t0, t1] so that the midpoint of every piece
// lies within chord of the piece's chord midpoint.
bool refine(const CURVE *cur, const Sample &a, const Sample &b, double chord, int depth, size_t cap,
            std::vector<Sample> &out) {
  Sample m{0.5 * (a.t + b.t), {}};
  if (N_curevn(cur, m.t, 1, &m.P) != 0) return false;
  const POINT mid{0.5 * (a.P.x + b.P.x), 0.5 * (a.P.y + b.P.y), 0.5 * (a.P.z + b.P.z)};
  if (distance(m.P, mid) > chord && depth < kMaxDepth) {
    if (!refine(cur, a, m, chord, depth + 1, cap, out)) return false;
    return refine(cur, m, b, chord, depth + 1, cap, out);
  }
  if (out.size() >= cap) return false;
  out.push_back(b);
  return true;
}

// Points along cur: its knot spans cut in four, each piece refined.
bool sample(const CURVE *cur, double chord, size_t cap, std::vector<Sample> &out) {
  const double *U = cur->knt->U;
  const int32_t m = cur->knt->m, p = cur->p;
  std::vector<double> breaks;
  for (int32_t i = p; i <= m - p; ++i)
    if (breaks.empty() || U[i] > breaks.back()) breaks.push_back(U[i]);
  if (breaks.size() < 2) return false;
  Sample first{breaks[0], {}};
  if (N_curevn(cur, first.t, 1, &first.P) != 0) return false;
  out.push_back(first);
  for (size_t k = 0; k + 1 < breaks.size(); ++k) {
    for (int q = 1; q <= 4; ++q) {
      Sample b{q == 4 ? breaks[k + 1] : breaks[k] + (breaks[k + 1] - breaks[k]) * q / 4.0, {}};
      if (N_curevn(cur, b.t, 2, &b.P) != 0) return false;
      if (!refine(cur, out.back(), b, chord, 0, cap, out)) return false;
    }
  }
  return true;
}

// Point inversion on a surface with a coarse grid of its points to start
// from when the previous parameters do not lead to the point.
class Inverter {
 public:
  explicit Inverter(const SURFACE *sur) : sur_(sur) {
    U_surpar(sur, &u0_, &u1_, &v0_, &v1_);
    for (int i = 0; i <= kGrid; ++i)
      for (int j = 0; j <= kGrid; ++j) {
        const double u = u0_ + (u1_ - u0_) * i / kGrid, v = v0_ + (v1_ - v0_) * j / kGrid;
        POINT P;
        if (N_surevn(sur, u, v, 1, 1, &P) == 0) grid_.push_back({u, v, P});
      }
    E_clrerr();
  }

  double u0() const { return u0_; }
  double u1() const { return u1_; }
  double v0() const { return v0_; }
  double v1() const { return v1_; }

  // (u, v) of the point of the surface nearest to P, tried from (us, vs)
  // first; the distance found, or infinity.
  double invert(const POINT &P, double us, double vs, double eps, double &u, double &v) const {
    double best = newton(P, us, vs, eps, u, v);
    if (best <= eps * 10) return best;
    const Node *near = nullptr;
    double dn = HUGE_VAL;
    for (const Node &n : grid_) {
      const double d = distance(n.P, P);
      if (d < dn) dn = d, near = &n;
    }
    if (!near) return best;
    double u2 = near->u, v2 = near->v;
    const double d2 = newton(P, near->u, near->v, eps, u2, v2);
    if (d2 < best) best = d2, u = u2, v = v2;
    if (dn < best) best = dn, u = near->u, v = near->v;
    return best;
  }

 private:
  static constexpr int kGrid = 24;
  struct Node {
    double u, v;
    POINT P;
  };

  double newton(const POINT &P, double us, double vs, double eps, double &u, double &v) const {
    POINT Q;
    double a = us, b = vs;
    if (N_gprsin(sur_, P, us, vs, eps, 1e-10, &a, &b, &Q) != 0) {
      E_clrerr();
      return HUGE_VAL;
    }
    u = a, v = b;
    return distance(P, Q);
  }

  const SURFACE *sur_;
  double u0_ = 0, u1_ = 0, v0_ = 0, v1_ = 0;
  std::vector<Node> grid_;
};

// Makes the values continuous (steps below half the period) and moves the
// whole run by whole periods into [lo, lo + period]; false when the run
// winds around (its ends a period apart or its extent above the period).
bool unwrap(std::vector<double> &x, double lo, double period) {
  for (size_t i = 1; i < x.size(); ++i) {
    const double k = std::round((x[i] - x[i - 1]) / period);
    x[i] -= k * period;
  }
  if (std::fabs(x.back() - x.front()) > 0.5 * period) return false;
  const auto [mn, mx] = std::minmax_element(x.begin(), x.end());
  if (*mx - *mn > period * (1 + 1e-6)) return false;
  const double shift = std::round((0.5 * (*mn + *mx) - (lo + 0.5 * period)) / period) * period;
  for (double &t : x) t -= shift;
  return true;
}

// Puts values within a rounding error of the domain's edges on the edges,
// so that a loop along the boundary runs exactly on it.
void snap(std::vector<double> &x, double lo, double hi) {
  const double eps = 1e-9 * (hi - lo);
  for (double &t : x) {
    if (std::fabs(t - lo) <= eps) t = lo;
    if (std::fabs(t - hi) <= eps) t = hi;
  }
}

}  // namespace

bool invert_loop(const SURFACE *sur, const CURVE *cur, double chord, CURVE *out, STACKS *ws,
                 size_t &budget, std::string &why, bool *whole) {
  if (whole) *whole = false;
  std::vector<Sample> samples;
  if (!(chord > 0.0) || !sample(cur, chord, std::min(budget, kMaxSamples), samples)) {
    E_clrerr();
    why = "boundary curve cannot be sampled within the chord tolerance";
    return false;
  }
  budget -= samples.size();
  const Inverter inv(sur);
  const double eps = chord * 1e-4, accept = chord * 10;
  std::vector<double> us, vs;
  us.reserve(samples.size()), vs.reserve(samples.size());
  double u = 0.5 * (inv.u0() + inv.u1()), v = 0.5 * (inv.v0() + inv.v1());
  for (const Sample &s : samples) {
    double nu = u, nv = v;
    const double d = inv.invert(s.P, u, v, eps, nu, nv);
    if (!(d <= accept)) {
      why = "boundary curve lies " + (std::isfinite(d) ? std::to_string(d) : std::string("far")) +
            " from the surface at (" + std::to_string(s.P.x) + ", " + std::to_string(s.P.y) + ", " +
            std::to_string(s.P.z) + ")";
      return false;
    }
    u = nu, v = nv;
    us.push_back(u), vs.push_back(v);
  }
  const double pu = inv.u1() - inv.u0(), pv = inv.v1() - inv.v0();
  if ((U_issurc(sur, 1) && !unwrap(us, inv.u0(), pu)) ||
      (U_issurc(sur, 2) && !unwrap(vs, inv.v0(), pv))) {
    why = "boundary curve winds around the closed surface";
    return false;
  }
  snap(us, inv.u0(), inv.u1());
  snap(vs, inv.v0(), inv.v1());
  std::vector<POINT> pts;
  const double tiny = 1e-12 * std::max(pu, pv);
  for (size_t i = 0; i < us.size(); ++i) {
    const POINT P{us[i], vs[i], 0.0};
    if (pts.empty() || std::fabs(P.x - pts.back().x) + std::fabs(P.y - pts.back().y) > tiny)
      pts.push_back(P);
  }
  // A loop all along the domain's edges that encloses the whole domain is
  // the surface's own boundary (a face covering the whole surface).
  double twice_area = 0.0;
  bool on_edges = true;
  for (size_t i = 0; i + 1 < us.size(); ++i) {
    twice_area += us[i] * vs[i + 1] - us[i + 1] * vs[i];
    on_edges = on_edges &&
               (us[i] == inv.u0() || us[i] == inv.u1() || vs[i] == inv.v0() || vs[i] == inv.v1());
  }
  if (whole) *whole = on_edges && std::fabs(std::fabs(twice_area) / 2 - pu * pv) <= 1e-9 * pu * pv;
  // A closed model curve gives a closed loop: its ends made equal.
  if (pts.size() > 2 && distance(samples.front().P, samples.back().P) <= POINT_TOLERANCE)
    pts.back() = pts.front();
  if (pts.size() < 2 ||
      N_igs106(pts.data(), static_cast<int32_t>(pts.size() - 1), 0, out, ws) != 0) {
    E_clrerr();
    why = "boundary curve maps to a single point of the parameter plane";
    return false;
  }
  return true;
}

}  // namespace orvo::tools::iges
