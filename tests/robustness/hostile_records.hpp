// Hostile curve and surface records, and a checker of the library's promise
// on them: every routine returns 0 with finite results (from finite input)
// or 1 with an error code set, and the records that refinement, splitting,
// segments, decomposition, reversal and unclamping make from a valid record
// keep its points. The generator draws from a seeded engine or from a
// fuzzer's bytes; the checker keeps the first broken promise as text.
#pragma once

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "orvo/orvo.h"

namespace orvo_hostile {

constexpr double kSub = std::numeric_limits<double>::denorm_min();  // 4.94e-324
constexpr double kInf = std::numeric_limits<double>::infinity();
using P2 = std::array<double, 2>;

// Choices from a seeded engine, or from bytes (zeros once they run out).
class Source {
 public:
  explicit Source(uint64_t seed) : rng_(seed) {}
  Source(const uint8_t *data, size_t size) : bytes_(true), data_(data), size_(size) {}
  uint64_t word(int bytes = 8) {
    uint64_t w = bytes_ ? 0 : rng_();
    for (int k = 0; bytes_ && k < bytes && pos_ < size_; ++k) w |= uint64_t{data_[pos_++]} << 8 * k;
    return w;
  }
  int pick(int n) { return static_cast<int>(word(n <= 256 ? 1 : 4) % static_cast<uint64_t>(n)); }
  bool one_in(int k) { return pick(k) == 0; }
  double unit() { return static_cast<double>(word() >> 11) * 0x1p-53; }
  double odd() {  // a value that breaks naive arithmetic
    static const double v[] = {std::nan(""), kInf, -kInf, DBL_MAX, -DBL_MAX, 1e308,  -1e308,
                               1e-300,       kSub, -kSub, 0.0,     1e300,    DBL_MIN};
    return v[pick(13)];
  }

 private:
  std::mt19937_64 rng_{0};
  bool bytes_ = false;
  const uint8_t *data_ = nullptr;
  size_t size_ = 0, pos_ = 0;
};

// Knots U[0..n+p+1], clamped over one of six ranges (unit, subnormal spans,
// -1e308..1e308, huge, 1e-300 next to 1, or unclamped 0, 1, 2, ...), the
// interior sorted and often repeated, now and then one knot spoilt.
inline std::vector<double> make_knots(Source &s, int n, int p) {
  const int draw = s.pick(10), kind = draw < 6 ? draw : 0, m = n + p + 1;
  const double a = kind == 2 ? -1e308 : kind == 3 ? 1e307 : 0.0;
  const double b = kind == 2 ? 1e308 : kind == 3 ? 2e307 : kind == 1 ? kSub * (n + 1) : 1.0;
  std::vector<double> U(m + 1, a), inner;
  for (int k = 0; k < n - p; ++k) {
    const double t = !inner.empty() && s.one_in(3) ? inner.back() : s.unit();
    inner.push_back(kind == 1            ? kSub * s.pick(n + 1)
                    : kind == 4 && k % 2 ? 1e-300 * k
                                         : a * (1 - t) + b * t);
  }
  std::sort(inner.begin(), inner.end());
  std::copy(inner.begin(), inner.end(), U.begin() + p + 1);
  std::fill(U.begin() + m - p, U.end(), b);
  for (int j = 0; kind == 5 && j <= m; ++j) U[j] = j;
  if (s.one_in(8)) U[s.pick(m + 1)] = s.odd();
  if (s.one_in(12)) std::swap(U[s.pick(m + 1)], U[s.pick(m + 1)]);
  return U;
}

// Parameters probing knots U with degree p: the domain ends, knots and
// their neighbouring doubles, midpoints, a value just outside, maybe NaN.
inline std::vector<double> make_params(Source &s, const std::vector<double> &U, int p) {
  const int m = static_cast<int>(U.size()) - 1;
  std::vector<double> t = {U[p], U[m - p], std::nextafter(U[p], -kInf)};
  for (int j = p + 1; j < m - p && t.size() < 10; ++j)
    t.insert(t.end(), {U[j], std::nextafter(U[j], kInf), std::nextafter(U[j], -kInf)});
  for (int k = 0; k < 3; ++k) {
    const int j = p + s.pick(std::max(m - 2 * p, 1));
    t.push_back(U[j] / 2 + U[std::min(j + 1, m)] / 2);
  }
  if (s.one_in(16)) t.push_back(s.odd());
  return t;
}

// A control point with coordinates of the record's magnitude class
// (ordinary, huge, subnormal, 1e300), now and then one field spoilt.
inline CPOINT make_point(Source &s, int scale, bool three_d, bool rational) {
  const double w = !rational ? -DBL_MAX : s.one_in(10) ? s.odd() : 0.01 + 9.99 * s.unit();
  auto c = [&] {
    const double x = (6 * s.unit() - 3) * (rational ? w : 1);
    return scale == 1 ? x * 5e307 : scale == 2 ? kSub * s.pick(9) : scale == 3 ? x * 1e300 : x;
  };
  CPOINT P{c(), c(), three_d ? c() : DBL_MAX, w};
  static double CPOINT::*const field[] = {&CPOINT::x, &CPOINT::y, &CPOINT::z, &CPOINT::w};
  if (s.one_in(20)) P.*field[s.pick(4)] = s.odd();  // may also change the point's kind
  return P;
}

inline std::vector<double> values(const CPOINT *P, int32_t n) {
  std::vector<double> v;
  for (int32_t i = 0; i <= n; ++i) v.insert(v.end(), {P[i].x, P[i].y, P[i].z, P[i].w});
  return v;
}
inline std::vector<double> values(const KNOTVECTOR *k) { return {k->U, k->U + k->m + 1}; }
inline std::vector<double> values(const CURVE *c) {
  std::vector<double> v = values(c->pol->Pw, c->pol->n), U = values(c->knt);
  v.insert(v.end(), U.begin(), U.end());
  return v;
}
inline std::vector<double> values(const SURFACE *f) {
  std::vector<double> v = values(f->knu), V = values(f->knv);
  v.insert(v.end(), V.begin(), V.end());
  for (int32_t i = 0; i <= f->net->n; ++i) {
    const std::vector<double> row = values(f->net->Pw[i], f->net->m);
    v.insert(v.end(), row.begin(), row.end());
  }
  return v;
}
inline std::vector<double> values(const POINT &P) { return {P.x, P.y, P.z}; }
inline bool all_finite(const std::vector<double> &v) {
  return std::all_of(v.begin(), v.end(), [](double x) { return std::isfinite(x); });
}
inline std::string text(const std::vector<double> &v) {
  std::string out;
  char buf[32];
  for (double x : v) out += (std::snprintf(buf, sizeof buf, " %.17g", x), buf);
  return out;
}

// Of magnitudes whose results are known to 1e-9 of their size: 0 or within
// 1e-100..1e6; knots rising with spans zero or at least 1e-4 of the range.
inline bool sane(double x) { return x == 0 || (std::fabs(x) <= 1e6 && std::fabs(x) >= 1e-100); }
inline bool sane(const std::vector<double> &U) {
  for (size_t i = 1; i < U.size(); ++i)
    if (U[i] != U[i - 1] && !(U[i] - U[i - 1] >= 1e-4 * (U.back() - U.front()))) return false;
  return U.empty() || (U.front() < U.back() &&
                       std::all_of(U.begin(), U.end(), [](double x) { return sane(x); }));
}
inline bool sane(const CPOINT &P, const CPOINT &first) {
  const double w = P.w == -DBL_MAX ? 1 : P.w;
  // A net whose points differ in dimension takes it from its first point,
  // which a split or segment changes: only nets of one dimension are exact.
  const bool flat = P.z == DBL_MAX;
  return sane(P.x / w) && sane(P.y / w) && flat == (first.z == DBL_MAX) && (flat || sane(P.z / w));
}
inline double mirror(double t, const std::vector<double> &U) {  // ends exchanged exactly
  return t == U.front() ? U.back() : t == U.back() ? U.front() : U.front() + U.back() - t;
}

// A curve (V empty) or a surface (net row by row in P) over its own arrays.
struct Record {
  std::vector<CPOINT> P;
  std::vector<double> U, V, tu, tv;  // knots, and the parameters to probe
  int16_t p = 0, q = 0;
  std::vector<CPOINT *> rows;
  CPOLYGON pol{};
  CNET net{};
  KNOTVECTOR knu{}, knv{};
  CURVE cur{};
  SURFACE sur{};
  bool surface() const { return !V.empty(); }
  void rebuild() {  // points the records at the arrays (after a copy too)
    const int32_t n = static_cast<int32_t>(U.size()) - p - 2,
                  m = static_cast<int32_t>(V.size()) - q - 2;
    rows.clear();
    for (int32_t i = 0; surface() && i <= n; ++i) rows.push_back(P.data() + i * (m + 1));
    knu = {static_cast<int32_t>(U.size()) - 1, U.data()};
    knv = {static_cast<int32_t>(V.size()) - 1, V.data()};
    pol = {static_cast<int32_t>(P.size()) - 1, P.data()};
    net = {n, m, rows.data()};
    cur = {&pol, p, &knu};
    sur = {&net, p, q, &knu, &knv};
  }
  std::vector<P2> probes() const {  // (tu[k], tv[k]), the shorter list repeated
    std::vector<P2> t;
    for (size_t k = 0; k < std::max(tu.size(), tv.size()); ++k)
      t.push_back({tu[k % tu.size()], tv.empty() ? 0.0 : tv[k % tv.size()]});
    return t;
  }
};

inline Record make_record(Source &s, bool surface) {
  Record r;
  r.p = static_cast<int16_t>(s.one_in(6) ? s.pick(6) : 1 + s.pick(3));
  r.q = static_cast<int16_t>(s.one_in(6) ? s.pick(6) : 1 + s.pick(3));
  const int n = s.one_in(16) ? s.pick(r.p + 1) : r.p + s.pick(surface ? 3 : 5), m = r.q + s.pick(3);
  const int scale = std::max(s.pick(8) - 4, 0);
  const bool three_d = surface || s.one_in(2), rational = s.one_in(2);
  for (int k = 0; k < (n + 1) * (surface ? m + 1 : 1); ++k)
    r.P.push_back(make_point(s, scale, three_d, rational));
  r.U = make_knots(s, n, r.p);
  r.tu = make_params(s, r.U, r.p);
  if (surface) r.V = make_knots(s, m, r.q), r.tv = make_params(s, r.V, r.q);
  r.rebuild();
  return r;
}

// Keeps the first broken promise with the record that broke it.
struct Checker {
  std::string violation, record;          // empty while every promise holds
  bool finite_in = false, exact = false;  // finite record; valid and sane too
  double tol = 0;                         // 1e-9 of its largest coordinate (at least 1)
  int successes = 0;                      // calls that returned 0
  void note(const std::string &what) {
    if (violation.empty()) violation = what + "\n  record:" + record;
  }
  bool ran(int16_t status, const char *what) {  // 0, or 1 with an error code
    const char *tag = nullptr;
    int32_t code = 0;
    E_GetOrvoError(&tag, &code);
    E_clrerr();
    if (status != 0 && (status != 1 || code == 0))
      note(std::string(what) + ": status " + std::to_string(status) + ", code " +
           std::to_string(code));
    successes += status == 0;
    return status == 0;
  }
  void finite(bool input_finite, const std::vector<double> &v, const std::string &what) {
    if (finite_in && input_finite && !all_finite(v)) note(what + " succeeded with:" + text(v));
  }
  void prepare(Record &r) {
    r.rebuild();
    record = " p " + std::to_string(r.p) + " q " + std::to_string(r.q) + " U" + text(r.U) + " V" +
             text(r.V) + " Pw" + text(values(r.P.data(), static_cast<int32_t>(r.P.size()) - 1)) +
             " tu" + text(r.tu) + " tv" + text(r.tv);
    finite_in = all_finite(r.U) && all_finite(r.V) && all_finite(values(r.P.data(), r.pol.n));
    exact = finite_in && !(r.surface() ? E_surinp(&r.sur, "CHECK") : E_curinp(&r.cur, "CHECK")) &&
            sane(r.U) && sane(r.V) &&
            std::all_of(r.P.begin(), r.P.end(), [&](const CPOINT &c) { return sane(c, r.P[0]); });
    tol = 1;
    for (const CPOINT &c : r.P) tol = std::max({tol, std::fabs(c.x), std::fabs(c.y)});
    tol *= 1e-9;
    E_clrerr();
  }
};

inline int16_t point(const CURVE *c, P2 t, const int16_t side[2], POINT *P) {
  return N_curevn(c, t[0], side[0], P);
}
inline int16_t point(const SURFACE *s, P2 t, const int16_t side[2], POINT *P) {
  return N_surevn(s, t[0], t[1], side[0], side[1], P);
}
inline const CURVE *same_kind(const Record &r, const CURVE *) { return &r.cur; }
inline const SURFACE *same_kind(const Record &r, const SURFACE *) { return &r.sur; }

// A record a routine made from r: finite, and when r is exact, r's points at
// each probe within [lo, hi] (direction `mirrored`, 1 u or 2 v, reversed).
template <class Out>
void derived(Checker &ck, Record &r, const Out *out, P2 lo, P2 hi, const std::string &what,
             int mirrored = 0) {
  ck.finite(true, values(out), what);
  for (const P2 &t : r.probes()) {
    if (!ck.exact || !(lo[0] <= t[0] && t[0] <= hi[0] && lo[1] <= t[1] && t[1] <= hi[1])) continue;
    int16_t side[2], side2[2];
    P2 t2 = t;
    for (int d = 0; d < 2; ++d) {
      side[d] = side2[d] = t[d] == hi[d] && lo[d] < hi[d] ? 2 : 1;
      if (mirrored == d + 1) t2[d] = mirror(t[d], d ? r.V : r.U), side2[d] = 3 - side[d];
    }
    POINT a, b;
    r.rebuild();
    if (point(same_kind(r, out), t, side, &a) || point(out, t2, side2, &b))
      ck.note(what + ": no point at" + text({t[0], t[1]}));
    else if (!(std::fabs(a.x - b.x) + std::fabs(a.y - b.y) + std::fabs(a.z - b.z) <= ck.tol))
      ck.note(what + " at" + text({t[0], t[1]}) + " moved" + text(values(a)) + " to" +
              text(values(b)));
    E_clrerr();
  }
}

inline void fresh(CURVE *c) { U_inicur(c); }
inline void fresh(SURFACE *s) { U_inisur(s); }

// A routine call(out) that makes a record from r into a fresh out.
template <class Out, class F>
void makes(Checker &ck, Record &r, const std::string &what, P2 lo, P2 hi, F &&call,
           int mirrored = 0) {
  Out out;
  fresh(&out);
  if (ck.ran(call(&out), what.c_str())) derived(ck, r, &out, lo, hi, what, mirrored);
}

// The curve routines on r (a curve) and its probes.
inline void check_curve(Checker &ck, Record &r) {
  ck.prepare(r);
  CURVE *c = &r.cur, left, right, **pieces = nullptr;
  const P2 lo{r.U[r.p], 0}, hi{r.U[r.knu.m - r.p], 0};
  STACKS ws;
  N_inurbs(&ws);
  std::vector<double> x, inside;
  for (const CPOINT &P : r.P) x.push_back(P.x);
  CVLIST cvl{r.pol.n, x.data()};
  CFUNCTION cfn{&cvl, r.p, &r.knu};
  for (size_t k = 0; k < r.tu.size(); ++k) {
    const double u = r.tu[k], u2 = r.tu[(k + 1) % r.tu.size()];
    const bool fu = std::isfinite(u);
    const std::string at = " at" + text({u});
    const int32_t times = 1 + static_cast<int32_t>(k) % std::max<int>(r.p, 1);
    if (lo[0] < u && u < hi[0] && (inside.empty() || inside.back() < u)) inside.push_back(u);
    for (int16_t side = 1; side <= 2; ++side) {
      POINT P[4];
      double f;
      if (ck.ran(N_curevn(c, u, side, P), "N_curevn")) ck.finite(fu, values(P[0]), "N_curevn" + at);
      if (ck.ran(N_cfnevn(&cfn, u, side, &f), "N_cfnevn")) ck.finite(fu, {f}, "N_cfnevn" + at);
      for (int16_t d = 0; d <= 3; ++d)
        if (ck.ran(N_curder(c, u, side, d, P), "N_curder"))
          for (int j = 0; j <= d; ++j) ck.finite(fu, values(P[j]), "N_curder" + at);
    }
    makes<CURVE>(ck, r, "N_toocki" + at, lo, hi,
                 [&](CURVE *out) { return N_toocki(c, u, times, out, &ws, &ws); });
    U_inicur(&left);
    U_inicur(&right);
    if (ck.ran(N_toocsp(c, u, &left, &right, &ws), "N_toocsp")) {
      derived(ck, r, &left, lo, {u, 0}, "N_toocsp (left)" + at);
      derived(ck, r, &right, {u, 0}, hi, "N_toocsp (right)" + at);
    }
    makes<CURVE>(
        ck, r, "N_toocsg to" + text({u2}) + at, {std::min(u, u2), 0}, {std::max(u, u2), 0},
        [&](CURVE *out) { return N_toocsg(c, std::min(u, u2), std::max(u, u2), out, &ws, &ws); });
  }
  KNOTVECTOR X{static_cast<int32_t>(inside.size()) - 1, inside.data()}, *both[] = {&r.knu, &X},
                                                                        **add;
  if (!inside.empty())
    makes<CURVE>(ck, r, "N_toocrf", lo, hi,
                 [&](CURVE *out) { return N_toocrf(c, &X, out, &ws, &ws); });
  int32_t last = -1;
  if (ck.ran(N_toocdc(c, &pieces, &last, &ws), "N_toocdc"))
    for (int32_t i = 0; i <= last; ++i) {
      const KNOTVECTOR *K = pieces[i]->knt;
      derived(ck, r, pieces[i], {K->U[0], 0}, {K->U[K->m], 0}, "N_toocdc");
    }
  makes<CURVE>(
      ck, r, "N_currev", lo, hi, [&](CURVE *out) { return N_currev(c, out, &ws); }, 1);
  Record copy = r;
  copy.rebuild();
  if (ck.ran(N_curunc(&copy.cur), "N_curunc")) derived(ck, r, &copy.cur, lo, hi, "N_curunc");
  BOX box;
  if (ck.ran(N_curbox(c, &box), "N_curbox"))
    ck.finite(true, {box.xmin, box.xmax, box.ymin, box.ymax, box.zmin, box.zmax}, "N_curbox");
  if (!inside.empty() && ck.ran(N_kntmer(both, 1, &add, &ws), "N_kntmer"))
    ck.finite(true, values(add[0]), "N_kntmer"), ck.finite(true, values(add[1]), "N_kntmer");
  N_enurbs(&ws);
}

// The surface routines on r (a surface) and its probes.
inline void check_surface(Checker &ck, Record &r) {
  ck.prepare(r);
  SURFACE *s = &r.sur, first, second, ***patches = nullptr;
  const P2 lo{r.U[r.p], r.V[r.q]}, hi{r.U[r.knu.m - r.p], r.V[r.knv.m - r.q]};
  STACKS ws;
  N_inurbs(&ws);
  POINT table[3][3] = {}, *SKL[3] = {table[0], table[1], table[2]}, P;
  VECTOR Su, Sv, N;
  const std::vector<P2> probes = r.probes();
  for (size_t k = 0; k < probes.size(); ++k) {
    const P2 t = probes[k], t2 = probes[(k + 1) % probes.size()];
    const bool fin = std::isfinite(t[0]) && std::isfinite(t[1]);
    const std::string at = " at" + text({t[0], t[1]});
    const int16_t side = 1 + k % 2;
    if (ck.ran(N_surevn(s, t[0], t[1], side, side, &P), "N_surevn"))
      ck.finite(fin, values(P), "N_surevn" + at);
    for (int16_t mode = 0; mode <= 1; ++mode)
      if (ck.ran(N_surder(s, t[0], t[1], side, 3 - side, mode, 2, 2 - mode, SKL), "N_surder"))
        for (const POINT &D : {table[0][0], table[0][1], table[1][0], table[1][1], table[2][0]})
          ck.finite(fin, values(D), "N_surder" + at);
    if (ck.ran(N_surnor(s, t[0], t[1], side, side, &P, &Su, &Sv, &N), "N_surnor"))
      ck.finite(fin, {P.x, P.y, P.z, Su.x, Su.y, Su.z, Sv.x, Sv.y, Sv.z, N.x, N.y, N.z},
                "N_surnor" + at);
    for (int16_t dir = 1; dir <= 2; ++dir) {
      double w = t[dir - 1];
      P2 cut_lo = lo, cut_hi = hi;
      cut_lo[dir - 1] = cut_hi[dir - 1] = w;
      KNOTVECTOR X{0, &w};
      makes<SURFACE>(ck, r, "N_tooski" + at, lo, hi,
                     [&](SURFACE *out) { return N_tooski(s, w, 1, dir, out, &ws, &ws); });
      makes<SURFACE>(ck, r, "N_toosrf" + at, lo, hi,
                     [&](SURFACE *out) { return N_toosrf(s, &X, dir, out, &ws, &ws); });
      U_inisur(&first);
      U_inisur(&second);
      if (ck.ran(N_toossp(s, w, dir, &first, &second, &ws), "N_toossp")) {
        derived(ck, r, &first, lo, cut_hi, "N_toossp (first)" + at);
        derived(ck, r, &second, cut_lo, hi, "N_toossp (second)" + at);
      }
    }
    const P2 a{std::min(t[0], t2[0]), std::min(t[1], t2[1])};
    const P2 b{std::max(t[0], t2[0]), std::max(t[1], t2[1])};
    makes<SURFACE>(ck, r, "N_toossg to" + text({t2[0], t2[1]}) + at, a, b, [&](SURFACE *out) {
      return N_toossg(s, a[0], b[0], a[1], b[1], out, &ws, &ws);
    });
  }
  int32_t lu = -1, lv = -1;
  if (ck.ran(N_toosdc(s, &patches, &lu, &lv, &ws), "N_toosdc"))
    for (int32_t i = 0; i <= lu; ++i)
      for (int32_t j = 0; j <= lv; ++j) {
        const SURFACE *f = patches[i][j];
        derived(ck, r, f, {f->knu->U[0], f->knv->U[0]},
                {f->knu->U[f->knu->m], f->knv->U[f->knv->m]}, "N_toosdc");
      }
  for (int16_t dir = 1; dir <= 3; ++dir) {
    if (dir < 3)
      makes<SURFACE>(
          ck, r, "N_surrev", lo, hi, [&](SURFACE *out) { return N_surrev(s, dir, out, &ws); }, dir);
    Record copy = r;
    copy.rebuild();
    if (ck.ran(N_surunc(&copy.sur, dir), "N_surunc")) derived(ck, r, &copy.sur, lo, hi, "N_surunc");
  }
  BOX box;
  if (ck.ran(N_surbox(s, &box), "N_surbox"))
    ck.finite(true, {box.xmin, box.xmax, box.ymin, box.ymax, box.zmin, box.zmax}, "N_surbox");
  N_enurbs(&ws);
}

// A record from the source through its checker: the first broken promise.
inline std::string check(Source &s, bool surface) {
  Record r = make_record(s, surface);
  Checker ck;
  surface ? check_surface(ck, r) : check_curve(ck, r);
  return ck.violation;
}

}  // namespace orvo_hostile
