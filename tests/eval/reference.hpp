// Independent reference computations for the evaluation tests: the
// recursive Cox-de Boor definition of the basis, de Boor's corner cutting on
// homogeneous points, hodographs for derivatives, and helpers to build
// curve records. None of it shares code with the library's kernels.
#pragma once

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <random>
#include <vector>

#include "orvo/orvo.h"

namespace evaltest {

using Vec4 = std::array<double, 4>;  // homogeneous (wx, wy, wz, w)

// N[i] of degree p at u by the recursive definition. side 1 takes the
// half-open intervals [U[i], U[i+1]), side 2 the intervals (U[i], U[i+1]];
// 0/0 counts as 0.
inline double cox_de_boor(const std::vector<double> &U, int i, int p, double u, int side) {
  if (p == 0) {
    if (side == 1) return (U[i] <= u && u < U[i + 1]) ? 1.0 : 0.0;
    return (U[i] < u && u <= U[i + 1]) ? 1.0 : 0.0;
  }
  double v = 0.0;
  const double d1 = U[i + p] - U[i], d2 = U[i + p + 1] - U[i + 1];
  if (d1 != 0.0) v += (u - U[i]) / d1 * cox_de_boor(U, i, p - 1, u, side);
  if (d2 != 0.0) v += (U[i + p + 1] - u) / d2 * cox_de_boor(U, i + 1, p - 1, u, side);
  return v;
}

// k-th derivative of N[i] of degree p by the recursive derivative formula.
inline double cox_de_boor_der(const std::vector<double> &U, int i, int p, int k, double u,
                              int side) {
  if (k == 0) return cox_de_boor(U, i, p, u, side);
  if (k > p) return 0.0;
  double v = 0.0;
  const double d1 = U[i + p] - U[i], d2 = U[i + p + 1] - U[i + 1];
  if (d1 != 0.0) v += p / d1 * cox_de_boor_der(U, i, p - 1, k - 1, u, side);
  if (d2 != 0.0) v -= p / d2 * cox_de_boor_der(U, i + 1, p - 1, k - 1, u, side);
  return v;
}

// A non-rational 4-D B-spline (the homogeneous image of a curve).
struct Spline4 {
  int p;
  std::vector<double> U;
  std::vector<Vec4> P;

  // Span by linear search with the side's interval rule, the ends taken
  // from inside the domain.
  int span(double u, int side) const {
    const int n = static_cast<int>(P.size()) - 1;
    if (u <= U[p]) return p;
    if (u >= U[n + 1]) return n;
    for (int i = p; i <= n; ++i) {
      if (side == 1 && U[i] <= u && u < U[i + 1]) return i;
      if (side == 2 && U[i] < u && u <= U[i + 1]) return i;
    }
    return n;
  }

  // The polynomial piece of span k at u, by de Boor's corner cutting.
  Vec4 piece(int k, double u) const {
    std::vector<Vec4> d(P.begin() + (k - p), P.begin() + (k + 1));
    for (int r = 1; r <= p; ++r)
      for (int j = p; j >= r; --j) {
        const double den = U[j + 1 + k - r] - U[j + k - p];
        const double a = den == 0.0 ? 0.0 : (u - U[j + k - p]) / den;
        for (int c = 0; c < 4; ++c) d[j][c] = (1.0 - a) * d[j - 1][c] + a * d[j][c];
      }
    return d[p];
  }

  Vec4 eval(double u, int side) const { return piece(span(u, side), u); }

  // The derivative spline (hodograph): degree p-1 on U[1..m-1].
  Spline4 derivative() const {
    Spline4 h;
    h.p = p - 1;
    h.U.assign(U.begin() + 1, U.end() - 1);
    for (size_t i = 0; i + 1 < P.size(); ++i) {
      const double den = U[i + p + 1] - U[i + 1];
      Vec4 q{};
      for (int c = 0; c < 4; ++c) q[c] = den == 0.0 ? 0.0 : p * (P[i + 1][c] - P[i][c]) / den;
      h.P.push_back(q);
    }
    return h;
  }
};

// Euclidean derivatives 0..d of the rational curve whose homogeneous image
// is s, at u with the given side: hodographs for the homogeneous
// derivatives, then the Leibniz rule to divide by the weight.
inline std::vector<POINT> reference_derivatives(const Spline4 &s, double u, int side, int d) {
  std::vector<Vec4> A(d + 1);
  Spline4 cur = s;
  for (int k = 0; k <= d; ++k) {
    if (cur.p < 0) {
      A[k] = Vec4{};
      continue;
    }
    // Derivative pieces use the span of the original curve, shifted by k.
    const int span = s.span(u, side) - k;
    A[k] = cur.piece(span, u);
    if (k < d) {
      if (cur.p == 0)
        cur.p = -1;
      else
        cur = cur.derivative();
    }
  }
  std::vector<POINT> C(d + 1);
  for (int k = 0; k <= d; ++k) {
    double v[3] = {A[k][0], A[k][1], A[k][2]};
    for (int i = 1; i <= k; ++i) {
      double binom = 1.0;
      for (int t = 1; t <= i; ++t) binom = binom * (k - i + t) / t;
      const double *c = &C[k - i].x;
      for (int a = 0; a < 3; ++a) v[a] -= binom * A[i][3] * c[a];
    }
    C[k] = POINT{v[0] / A[0][3], v[1] / A[0][3], v[2] / A[0][3]};
  }
  return C;
}

// A curve record over vectors owned by the test.
struct CurveData {
  std::vector<CPOINT> Pw;
  std::vector<double> U;
  CPOLYGON pol{};
  KNOTVECTOR knt{};
  CURVE cur{};

  CurveData(std::vector<CPOINT> pts, std::vector<double> knots, int p)
      : Pw(std::move(pts)), U(std::move(knots)) {
    pol = CPOLYGON{static_cast<int32_t>(Pw.size()) - 1, Pw.data()};
    knt = KNOTVECTOR{static_cast<int32_t>(U.size()) - 1, U.data()};
    cur = CURVE{&pol, static_cast<int16_t>(p), &knt};
  }
  CurveData(const CurveData &) = delete;

  bool rational() const { return Pw[0].w != -DBL_MAX; }

  // The homogeneous image: 2-D z and missing weights read as 0 and 1.
  Spline4 homogeneous() const {
    Spline4 s;
    s.p = cur.p;
    s.U = U;
    for (const CPOINT &q : Pw) {
      const double w = rational() ? q.w : 1.0;
      const double z = q.z == DBL_MAX ? 0.0 : q.z;
      s.P.push_back(Vec4{q.x, q.y, z, w});
    }
    return s;
  }

  POINT reference_point(double u, int side) const {
    const Vec4 h = homogeneous().eval(u, side);
    return POINT{h[0] / h[3], h[1] / h[3], h[2] / h[3]};
  }
};

// A clamped knot vector of degree p for n+1 control points with random
// interior knots in (0, 1); every dup-th interior knot is doubled when
// dup > 0 (multiplicity 2 must not exceed p).
inline std::vector<double> random_knots(int n, int p, std::mt19937 &rng, int dup = 0) {
  std::uniform_real_distribution<double> dist(0.05, 0.95);
  std::vector<double> inner;
  while (static_cast<int>(inner.size()) < n - p) {
    const double k = dist(rng);
    inner.push_back(k);
    if (dup > 0 && static_cast<int>(inner.size()) % dup == 0 &&
        static_cast<int>(inner.size()) < n - p)
      inner.push_back(k);
  }
  std::sort(inner.begin(), inner.end());
  std::vector<double> U(p + 1, 0.0);
  U.insert(U.end(), inner.begin(), inner.end());
  U.insert(U.end(), p + 1, 1.0);
  return U;
}

// n+1 random control points of the given kind; rational weights in
// [0.5, 2], stored homogeneous (x = w X).
inline std::vector<CPOINT> random_points(int n, bool three_d, bool rational, std::mt19937 &rng) {
  std::uniform_real_distribution<double> c(-5.0, 5.0), w(0.5, 2.0);
  std::vector<CPOINT> pts;
  for (int i = 0; i <= n; ++i) {
    const double wt = rational ? w(rng) : 1.0;
    CPOINT q{c(rng) * wt, c(rng) * wt, three_d ? c(rng) * wt : DBL_MAX, rational ? wt : -DBL_MAX};
    pts.push_back(q);
  }
  return pts;
}

inline double dist(const POINT &a, const POINT &b) {
  return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) +
                   (a.z - b.z) * (a.z - b.z));
}

inline double norm(const POINT &a) { return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z); }

}  // namespace evaltest
