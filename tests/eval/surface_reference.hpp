// Surface records over test-owned vectors and an independent reference
// evaluation: the full tensor-product sum of recursive Cox-de Boor basis
// values and derivatives over every control point, then the quotient rule
// on the homogeneous sums. Shares no code with the library's kernels.
#pragma once

#include <cfloat>
#include <cmath>
#include <random>
#include <vector>

#include "eval/reference.hpp"
#include "orvo/orvo.h"

namespace evaltest {

struct SurfaceData {
  int p, q;
  std::vector<std::vector<CPOINT>> rows;
  std::vector<CPOINT *> table;
  std::vector<double> U, V;
  CNET net{};
  KNOTVECTOR knu{}, knv{};
  SURFACE sur{};

  SurfaceData(std::vector<std::vector<CPOINT>> pts, std::vector<double> u_knots,
              std::vector<double> v_knots, int p_, int q_)
      : p(p_), q(q_), rows(std::move(pts)), U(std::move(u_knots)), V(std::move(v_knots)) {
    for (auto &r : rows) table.push_back(r.data());
    net = CNET{static_cast<int32_t>(rows.size()) - 1, static_cast<int32_t>(rows[0].size()) - 1,
               table.data()};
    knu = KNOTVECTOR{static_cast<int32_t>(U.size()) - 1, U.data()};
    knv = KNOTVECTOR{static_cast<int32_t>(V.size()) - 1, V.data()};
    sur = SURFACE{&net, static_cast<int16_t>(p), static_cast<int16_t>(q), &knu, &knv};
  }
  SurfaceData(const SurfaceData &) = delete;

  bool rational() const { return rows[0][0].w != -DBL_MAX; }

  // Homogeneous image of a control point: 2-D z and missing weights read
  // as 0 and 1.
  Vec4 hom(int i, int j) const {
    const CPOINT &c = rows[i][j];
    return Vec4{c.x, c.y, c.z == DBL_MAX ? 0.0 : c.z, rational() ? c.w : 1.0};
  }

  // Homogeneous partial derivative (a, b) at (u, v) over every control
  // point; each side turned inward at the ends of its range.
  Vec4 hom_derivative(int a, int b, double u, double v, int su, int sv) const {
    su = u == U.front() ? 1 : (u == U.back() ? 2 : su);
    sv = v == V.front() ? 1 : (v == V.back() ? 2 : sv);
    Vec4 s{};
    for (size_t i = 0; i < rows.size(); ++i) {
      const double nu = cox_de_boor_der(U, static_cast<int>(i), p, a, u, su);
      if (nu == 0.0) continue;
      for (size_t j = 0; j < rows[i].size(); ++j) {
        const double nv = cox_de_boor_der(V, static_cast<int>(j), q, b, v, sv);
        const Vec4 h = hom(static_cast<int>(i), static_cast<int>(j));
        for (int c = 0; c < 4; ++c) s[c] += nu * nv * h[c];
      }
    }
    return s;
  }

  // Euclidean partial derivatives S[a][b], a <= k, b <= l, by the
  // two-variable Leibniz rule on A = W S.
  std::vector<std::vector<POINT>> derivatives(double u, double v, int su, int sv, int k,
                                              int l) const {
    std::vector<std::vector<Vec4>> A(k + 1, std::vector<Vec4>(l + 1));
    for (int a = 0; a <= k; ++a)
      for (int b = 0; b <= l; ++b) A[a][b] = hom_derivative(a, b, u, v, su, sv);
    auto binom = [](int n, int r) {
      double c = 1.0;
      for (int t = 1; t <= r; ++t) c = c * (n - r + t) / t;
      return c;
    };
    std::vector<std::vector<POINT>> S(k + 1, std::vector<POINT>(l + 1));
    for (int a = 0; a <= k; ++a)
      for (int b = 0; b <= l; ++b) {
        double x[3] = {A[a][b][0], A[a][b][1], A[a][b][2]};
        for (int i = 0; i <= a; ++i)
          for (int j = 0; j <= b; ++j) {
            if (i == 0 && j == 0) continue;
            const double c = binom(a, i) * binom(b, j) * A[i][j][3];
            const double *s = &S[a - i][b - j].x;
            for (int t = 0; t < 3; ++t) x[t] -= c * s[t];
          }
        const double w = A[0][0][3];
        S[a][b] = POINT{x[0] / w, x[1] / w, x[2] / w};
      }
    return S;
  }

  POINT point(double u, double v, int su, int sv) const {
    return derivatives(u, v, su, sv, 0, 0)[0][0];
  }
};

// (n+1) x (m+1) random control points of the given kind, stored
// homogeneous; weights in [0.5, 2].
inline std::vector<std::vector<CPOINT>> random_net(int n, int m, bool three_d, bool rational,
                                                   std::mt19937 &rng) {
  std::vector<std::vector<CPOINT>> net;
  for (int i = 0; i <= n; ++i) net.push_back(random_points(m, three_d, rational, rng));
  return net;
}

}  // namespace evaltest
