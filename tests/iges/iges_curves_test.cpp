// IGES curve entities: parameter data as a file carries them, checked
// against the geometry they describe; untrusted data refused.
#include <cmath>

#include "refine/refine_test_util.hpp"

using namespace refinetest;
using orvo_test::Workspace;

namespace {

bool is_planar(const CURVE *c) { return c->pol->Pw[0].z == DBL_MAX; }
bool is_rational(const CURVE *c) { return c->pol->Pw[0].w != -DBL_MAX; }

// The 126 curve of the entity data themselves, by de Boor on the full knots.
POINT nurbs_point(int M, const Knots &T, const std::vector<double> &W, const std::vector<POINT> &P,
                  double u) {
  evaltest::Spline4 s{M, T, {}};
  for (size_t i = 0; i < P.size(); ++i)
    s.P.push_back({W[i] * P[i].x, W[i] * P[i].y, W[i] * P[i].z, W[i]});
  const evaltest::Vec4 h = s.eval(u, 1);
  return POINT{h[0] / h[3], h[1] / h[3], h[2] / h[3]};
}

}  // namespace

// Entity 126: like the entity's own curve inside [V0, V1], normalised knots
// from V0 to V1, the kind the data call for.
TEST(IgesCurves, RationalBSpline126) {
  struct Case {
    int M;
    Knots T;
    std::vector<double> W;
    double V0, V1;
    bool planar, rational;
    int32_t n;  // highest point index of the result
  };
  const std::vector<POINT> P = {{0, 0, 1}, {1, 2, 0}, {2, -1, 3}, {4, 0, 1}, {5, 1, 2}};
  const std::vector<POINT> flat = {{0, 0, 0}, {1, 2, 0}, {3, 2, 0}, {4, 0, 0}, {5, 1, 0}};
  // clang-format off
  const Case cases[] = {
      {2, {0, 0, 0, 1, 2, 3, 3, 3}, {1, 1, 1, 1, 1}, 0, 3, true, false, 4},  // whole range, z 0
      {3, {0, 1, 2, 3, 4, 5, 6, 7, 8}, {1, 2, 0.5, 1, 3}, 3.25, 4.5, false, true, 4},  // unclamped
      {2, {0, 0, 0, 1, 2, 3, 3, 3}, {1, 0.5, 2, 1, 1}, 1, 2.5, false, true, 3},  // cut at a knot
      {1, {0, 0, 1, 2, 3, 4, 4}, {2, 2, 2, 2, 2}, 0.5, 4, false, false, 4},  // equal weights
      {2, {0, 0, 0, 0, 1, 2, 2, 2}, {1, 2, 1, 0.5, 1}, 0, 2, false, true, 3},  // first knot 4 times
  };
  // clang-format on
  for (const Case &c : cases) {
    SCOPED_TRACE(c.M * 100 + c.V0);
    Workspace ws;
    CURVE out = empty_curve();
    const double V[2] = {c.V0, c.V1};
    const std::vector<POINT> &Q = c.planar ? flat : P;
    ASSERT_EQ(N_igs126(4, c.M, c.T.data(), c.W.data(), Q.data(), V, &out, ws), 0);
    EXPECT_EQ(out.pol->n, c.n);
    EXPECT_EQ(E_kntdef(out.knt, out.p, "TEST"), 0);
    EXPECT_TRUE(out.knt->U[0] == c.V0 && out.knt->U[out.knt->m] == c.V1);
    EXPECT_TRUE(is_planar(&out) == c.planar && is_rational(&out) == c.rational);
    for (int i = 0; i < 20; ++i) {
      const double u = c.V0 + (c.V1 - c.V0) * (i + 0.5) / 20;
      EXPECT_LT(dist(eval(&out, u), nurbs_point(c.M, c.T, c.W, Q, u)), 1e-12) << u;
    }
  }
}

// Untrusted 126 data: each fault refused with its code, nothing left behind.
TEST(IgesCurves, RationalBSpline126Refused) {
  const double nan = std::nan("");
  struct Case {
    int32_t K;
    int M;
    Knots T;
    std::vector<double> W;
    double V0, V1, y2;
    int32_t code;
    const char *tag;
  };
  const Knots T = {0, 0, 0, 1, 2, 2, 2};
  const std::vector<double> W = {1, 1, 1, 1};
  // clang-format off
  const Case cases[] = {
      {3, 0, T, W, 0, 2, 1, 3, "N_IGS126"},                         // degree 0
      {-1, 2, T, W, 0, 2, 1, 14, "N_IGS126"},                       // K negative
      {3, 2, T, {1, 1, nan, 1}, 0, 2, 1, 5, "N_IGS126"},            // weight NaN
      {1, 2, {0, 0, 0, 1, 1}, W, 0, 1, 1, 4, "N_IGSVKB"},           // K < M: too few knots
      {3, 2, {0, 0, 0, 1.5, 1, 2, 2}, W, 0, 2, 1, 4, "N_IGSVKB"},   // decreasing knots
      {3, 2, {0, 0, 0, 1, 2, 2, HUGE_VAL}, W, 0, 2, 1, 4, "N_IGSVKB"},  // infinite knot
      {3, 2, T, W, 1.5, 0.5, 1, 4, "N_IGSVKB"},                     // range reversed
      {3, 2, T, W, 0, 2, nan, 14, "N_IGS126"},                      // point NaN
  };
  // clang-format on
  for (const Case &c : cases) {
    SCOPED_TRACE(&c - cases);
    Workspace ws;
    CURVE out = empty_curve();
    const std::vector<POINT> P = {{0, 0, 0}, {1, 1, 0}, {2, c.y2, 0}, {3, 0, 0}};
    const double V[2] = {c.V0, c.V1};
    EXPECT_FAILS(N_igs126(c.K, c.M, c.T.data(), c.W.data(), P.data(), V, &out, ws), c.code, c.tag);
    EXPECT_EQ(orvo_test::total_blocks(ws.ws), 0u);
  }
  Workspace ws;
  CURVE out = empty_curve();
  EXPECT_FAILS(N_igs126(3, 2, nullptr, W.data(), nullptr, T.data(), &out, ws), 14, "N_IGS126");
  EXPECT_FAILS(N_igsvkb(T.data(), 6, 2, nullptr), 14, "N_IGSVKB");
}

// Cut and normalisation keep the curve (points between the two limits of a
// run of p+2 knots do not count); the whole clamped range is not cut.
TEST(IgesCurves, CutAndNormalise) {
  // clang-format off
  const std::tuple<int, bool, double, double> cuts[] = {  // p, clamped, V0, V1
      {2, true, 0.5, 3.0}, {3, true, 0.7, 2.9}, {2, false, 0.5, 3.0}, {3, false, 1.0, 2.6},
      {1, true, 1.7, 2.2}};
  // clang-format on
  std::mt19937 rng(5);
  for (auto [p, clamped, V0, V1] : cuts) {
    Workspace ws, keep;
    CURVE *cur = make_curve(ws, p, knots(p, 0.5, 3, layout(p, 1), clamped), 1, 1, rng);
    CURVE orig = empty_curve();
    ASSERT_EQ(U_curcop(cur, &orig, keep), 0);
    const CPOINT *before = cur->pol->Pw;
    const double V[2] = {V0, V1}, outside[2] = {0.2, 3.0};
    ASSERT_EQ(N_igsccp(cur, V, ws), 0);
    EXPECT_EQ(cur->pol->Pw == before, clamped && V0 == 0.5 && V1 == 3.0) << p << V0;
    EXPECT_TRUE(cur->knt->U[p] == V0 && cur->knt->U[cur->knt->m - p] == V1);
    EXPECT_TRUE(same_curve(&orig, cur, V0, V1)) << p << " " << V0;
    EXPECT_FAILS(N_igsccp(cur, outside, ws), 4, "N_IGSCCP");
  }
  // p, knots, knots after, the two limits of an interior run (-1: none)
  const std::tuple<int, Knots, Knots, int32_t, int32_t> norms[] = {
      {2, {0, 0, 0, 1, 1, 1, 2, 2, 2}, {0, 0, 0, 1, 1, 2, 2, 2}, 2, 3},
      {2, {0, 0, 0, 1, 1, 1, 1, 2, 2, 2}, {0, 0, 0, 1, 1, 2, 2, 2}, 2, 4},
      {1, {0, 0, 1, 1, 1, 2, 3, 3}, {0, 0, 1, 2, 3, 3}, 1, 3},
      {2, {0, 0, 0, 0, 1, 2, 2, 2, 2}, {0, 0, 0, 1, 2, 2, 2}, -1, -1},
      {3, {0, 0, 0, 0, 1, 2, 3, 3, 3, 3}, {0, 0, 0, 0, 1, 2, 3, 3, 3, 3}, -1, -1},
      {2, {0, 1, 1, 1, 2, 3, 4, 5}, {0, 1, 1, 1, 2, 3, 4, 5}, -1, -1},  // run before the range
  };
  for (const auto &[p, U, after, left, right] : norms) {
    Workspace ws, keep;
    CURVE *cur = make_curve(ws, p, U, true, true, rng);
    for (int32_t i = left + 1; left >= 0 && i < right; ++i)
      cur->pol->Pw[i] = CPOINT{1e3, 1e3, 1e3, 1};
    if (left >= 0) cur->pol->Pw[right] = cur->pol->Pw[left];
    CURVE orig = empty_curve();
    ASSERT_EQ(U_curcop(cur, &orig, keep), 0);
    ASSERT_EQ(N_igscsk(cur, ws), 0);
    EXPECT_TRUE(knot_values(cur->knt) == after && cur->pol->n == cur->knt->m - p - 1);
    EXPECT_TRUE(same_curve(&orig, cur, U[p] + 1e-9, U[U.size() - 1 - p] - 1e-9)) << p;
  }
  Workspace ws;
  EXPECT_FAILS(N_igscsk(make_curve(ws, 1, {1, 1, 1, 1}, 1, 0, rng), ws), 4, "N_IGSCSK");
  EXPECT_FAILS(N_igscsk(make_curve(ws, 0, {0, 1, 2}, 1, 0, rng), ws), 3, "N_IGSCSK");
}

// Entity 112: the curve at t is the segment's polynomial at s = t - T[i];
// the degree is the highest power in use; zero z coefficients give 2-D.
TEST(IgesCurves, ParametricSpline112) {
  using Seg = std::array<double, 12>;  // x, y, z: A, B, C, D each
  // clang-format off
  const std::tuple<Knots, std::vector<Seg>, int, bool> cases[] = {  // T, segments, p, 2-D
      {{-1, 0.5, 2.5}, {{1, 2, -1, 0.5, 0, 1, 0, 0, 2, 0, 1, -1},
                        {3.4375, -0.5, 1, 0.25, 1.5, -2, 0.5, 0, 0.875, 0, 0, 0.75}}, 3, false},
      {{0, 1}, {{1, 1, 2, 0, 0, -1, 3, 0, 0, 0, 0, 0}}, 2, true},
      {{0, 2, 3, 7}, {{0, 1, 0, 0, 0, 0.5, 0, 0, 0, 0, 0, 0}, {2, -1, 0, 0, 1, 2, 0, 0, 0, 0, 0, 0},
                      {1, 0.25, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0}}, 1, true},  // a polyline
  };
  // clang-format on
  for (const auto &[T, seg, p, planar] : cases) {
    const int32_t N = static_cast<int32_t>(seg.size());
    std::vector<Seg> data = seg;
    std::vector<std::array<double *, 3>> rows(N);
    std::vector<double *const *> table(N);
    for (int32_t i = 0; i < N; ++i) {
      rows[i] = {&data[i][0], &data[i][4], &data[i][8]};
      table[i] = rows[i].data();
    }
    Workspace ws;
    CURVE out = empty_curve();
    ASSERT_EQ(N_igs112(N, T.data(), table.data(), &out, ws), 0) << N;
    EXPECT_TRUE(out.p == p && out.pol->n == N * p && is_planar(&out) == planar &&
                !is_rational(&out));
    for (int32_t i = 0; i < N; ++i)
      for (int k = 0; k <= 8; ++k) {
        const double s = (T[i + 1] - T[i]) * k / 8;
        double v[3];
        for (int j = 0; j < 3; ++j) {
          const double *a = &seg[i][4 * j];
          v[j] = a[0] + s * (a[1] + s * (a[2] + s * a[3]));
        }
        EXPECT_LT(dist(eval(&out, T[i] + s, k == 8 ? 2 : 1), POINT{v[0], v[1], v[2]}), 1e-12)
            << N << " segment " << i << " s " << s;
      }
    Knots bad = T;
    bad[N] = bad[N - 1];
    EXPECT_FAILS(N_igs112(N, bad.data(), table.data(), &out, ws), 1, "N_IGS112");
    data[N - 1][6] = std::nan("");
    EXPECT_FAILS(N_igs112(N, T.data(), table.data(), &out, ws), 14, "N_IGS112");
  }
}

// Entity 124 applied to a point gives R x + T; entities 106 and 110 run
// through their points with the knots the form asks for.
TEST(IgesCurves, MatrixCopiousDataLine) {
  const double R[9] = {0, -1, 0, 1, 0, 0, 0, 0, 1}, x[4] = {1, 2, 3, 1}, y[4] = {3, -1, 3.5, 1};
  Workspace ws;
  RMATRIX M{-1, -1, nullptr, 0, 0};
  ASSERT_EQ(N_igs124(R, 5, -2, 0.5, &M, ws), 0);
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(M.a[i][0] * x[0] + M.a[i][1] * x[1] + M.a[i][2] * x[2] + M.a[i][3] * x[3], y[i]);
  EXPECT_FAILS(N_igs124(R, 0, std::nan(""), 0, &M, ws), 14, "N_IGS124");
  const POINT pts[] = {{0, 0, 0}, {3, 4, 0}, {3, 4, 0}, {3, 0, 0}};
  const std::pair<int16_t, Knots> cases[] = {{6, {0, 0, 1, 2, 3, 3}},
                                             {1, {0, 0, 5.0 / 9, 5.0 / 9, 1, 1}}};
  for (const auto &[form, U] : cases) {
    CURVE out = empty_curve();
    ASSERT_EQ(N_igs106(pts, 3, form, &out, ws), 0);
    for (size_t i = 0; i < U.size(); ++i) EXPECT_NEAR(out.knt->U[i], U[i], 1e-15) << form;
    EXPECT_TRUE(out.p == 1 && out.knt->m == 5 && is_planar(&out) && !is_rational(&out));
    for (int i = 0; i <= 3; ++i) EXPECT_EQ(dist(eval(&out, U[i + 1]), pts[i]), 0.0);
  }
  CURVE out = empty_curve();
  EXPECT_FAILS(N_igs106(pts, 0, 6, &out, ws), 14, "N_IGS106");
  ASSERT_EQ(N_igs110(POINT{1, 2, 3}, POINT{3, 2, 1}, &out, ws), 0);
  EXPECT_EQ(dist(eval(&out, 0.25), POINT{1.5, 2, 2.5}), 0.0);
  EXPECT_FAILS(N_igs110(POINT{1, 2, HUGE_VAL}, POINT{}, &out, ws), 14, "N_IGS110");
}

// Entities 100 and 104 as conics A x^2 + B xy + C y^2 + D x + E y + F = 0:
// points on the conic at z = ZT, exact ends, closed conics counter-clockwise.
TEST(IgesCurves, ArcsAndConics) {
  struct Case {
    int entity;
    double A, B, C, D, E, F, ZT, x1, y1, x2, y2;
    int16_t form;
    bool ok;
  };
  const double r2 = std::sqrt(2.0), r5 = std::sqrt(5.0);
  // clang-format off
  const Case cases[] = {
      {100, 1, 0, 1, -2, -4, -4, 0.5, 4, 2, 1, 5, 2, true},            // quarter arc
      {100, 1, 0, 1, 0, 0, -4, 0, 0, -2, 0, -2, 5, true},              // full circle, start = end
      {100, 1, 0, 1, 0, 0, -1, 0, 0, 1, 1, 0, 4, true},                // 270 degrees through 180
      {104, 1, 0, 4, 0, 0, -4, 1.5, -2, 0, r2, 1 / r2, 4, true},       // ellipse through 270
      {104, 0.5, 0, 0, 0, -1, 0, 0, 2, 2, -1, 0.5, 2, true},           // parabola y = x^2 / 2
      {104, 0, 0, 1, 4, 0, 0, 3, -1, 2, -4, -4, 2, true},              // parabola x = -y^2 / 4
      {104, 1, 0, -1, 0, 0, -1, 2, r2, -1, r5, 2, 2, true},            // hyperbola, right branch
      {104, 1, 0, -1, 0, 0, 1, 0, -1, r2, 2, r5, 2, true},             // hyperbola, upper branch
      {104, 1, 1, 1, 0, 0, -1, 0, 1, 0, 0, 1, 2, false},               // rotated (xy term)
      {104, 1, 0, 1, -2, 0, -1, 0, 2, 0, 1, 1, 2, false},              // ellipse off the origin
      {104, 1, 0, 4, 0, 0, -4, 0, 2, 0, 0, 1.001, 2, false},           // end point off the ellipse
      {104, 1, 0, -1, 0, 0, -1, 0, r2, 1, -r2, 1, 2, false},           // ends on two branches
      {104, 0, 0, 0, 0, 0, 1e-13, 0, 1, 0, 0, 1, 2, false},            // no conic
      {100, 1, 0, 1, 0, 0, 0, 0, 1e-4, 0, 0, 1e-4, 2, false},          // radius below tol
  };
  // clang-format on
  for (const Case &c : cases) {
    SCOPED_TRACE(&c - cases);
    Workspace ws;
    CURVE out = empty_curve();
    const double cx = -c.D / 2, cy = -c.E / 2;
    const int16_t st = c.entity == 100
                           ? N_igs100(c.ZT, cx, cy, c.x1, c.y1, c.x2, c.y2, c.form, 1e-3, &out, ws)
                           : N_igs104(c.A, c.B, c.C, c.D, c.E, c.F, c.ZT, c.x1, c.y1, c.x2, c.y2,
                                      c.form, &out, ws);
    ASSERT_EQ(st, c.ok ? 0 : 1);
    if (!c.ok) orvo_test::expect_error(14, c.entity == 100 ? "N_IGS100" : "N_IGS104");
    if (!c.ok) continue;
    EXPECT_EQ(is_planar(&out), c.ZT == 0.0);
    EXPECT_EQ(dist(eval(&out, 0), POINT{c.x1, c.y1, c.ZT}), 0.0);
    EXPECT_EQ(dist(eval(&out, 1), POINT{c.x2, c.y2, c.ZT}), 0.0);
    POINT prev = eval(&out, 0);
    for (int i = 1; i <= 64; ++i) {
      const POINT P = eval(&out, i / 64.0);
      EXPECT_NEAR(c.A * P.x * P.x + c.C * P.y * P.y + c.D * P.x + c.E * P.y + c.F, 0.0, 1e-12);
      EXPECT_NEAR(P.z, c.ZT, 1e-14);
      EXPECT_TRUE(c.A * c.C <= 0 || (prev.x - cx) * (P.y - cy) > (prev.y - cy) * (P.x - cx));
      prev = P;
    }
  }
}

// Entity 102: a line, an arc, a line shorter than tol and a rational curve in
// space; the result reproduces every used member at its new parameters and
// ends at 1.0 (form 6: at the sum of the parameter lengths).
TEST(IgesCurves, CompositeCurve102) {
  // form, end of the range, members used
  const std::tuple<int16_t, double, std::vector<int>> cases[] = {{1, 1.0, {0, 1, 3}},
                                                                 {6, 4.0, {0, 1, 2, 3}}};
  for (const auto &[form, end, kept] : cases) {
    Workspace ws;
    CURVE m[4] = {empty_curve(), empty_curve(), empty_curve(), empty_curve()}, out = m[0];
    ASSERT_EQ(N_igs110(POINT{0, 0, 0}, POINT{2, 0, 0}, &m[0], ws), 0);
    ASSERT_EQ(N_igs100(0, 2, 1, 2, 0, 3, 1, 2, 1e-9, &m[1], ws), 0);
    ASSERT_EQ(N_igs110(POINT{3, 1, 0}, POINT{3, 1 + 1e-9, 0}, &m[2], ws), 0);
    const double T[6] = {0, 0, 0, 1, 1, 1}, W[3] = {2, 1, 0.5}, V[2] = {0, 1};  // weights differ
    const POINT P[3] = {{3, 1 + 1e-9, 0}, {3, 2, 0.5}, {3, 3, 1}};
    ASSERT_EQ(N_igs126(2, 2, T, W, P, V, &m[3], ws), 0);
    ASSERT_EQ(N_igs102(3, m, form, 1e-6, &out, ws, ws), 0) << form;
    EXPECT_TRUE(out.p == 2 && !is_planar(&out) && is_rational(&out));
    EXPECT_TRUE(out.knt->U[0] == 0.0 && out.knt->U[out.knt->m] == end);
    EXPECT_EQ(E_kntdef(out.knt, out.p, "TEST"), 0);
    for (int k : kept)
      for (int i = 0; i <= 16; ++i) {
        const double a = m[k].knt->U[0], b = m[k].knt->U[m[k].knt->m], u = a + (b - a) * i / 16;
        EXPECT_LT(dist(eval(&out, u), eval(&m[k], u)), 1e-9) << form << " member " << k;
      }
    EXPECT_FAILS(N_igs102(0, &m[2], 1, 1e-3, &out, ws, ws), 14, "N_IGS102");
    m[0].knt->U[0] = -0.5;  // no longer clamped
    EXPECT_FAILS(N_igs102(3, m, form, 1e-6, &out, ws, ws), 4, "N_IGS102");
  }
}
