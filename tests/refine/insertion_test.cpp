// Knot insertion into curves and surfaces, also at a picked point: exact
// small cases, shape preservation on random geometry, in-place operation
// and the refusals.
#include "core/internal.hpp"
#include "refine/refine_test_util.hpp"

using namespace refinetest;
using orvo_test::HasError;
using orvo_test::on_list;
using orvo_test::total_blocks;
using orvo_test::Workspace;

namespace {

constexpr double kW = -DBL_MAX;

// Structural result of inserting u r times into c: counts, degree, knots.
void expect_inserted(const CURVE *c, const std::vector<double> &U0, int32_t n0, double u, int r) {
  EXPECT_EQ(c->pol->n, n0 + r);
  EXPECT_EQ(c->knt->m, static_cast<int32_t>(U0.size()) - 1 + r);
  std::vector<double> want = U0;
  want.insert(std::upper_bound(want.begin(), want.end(), u), r, u);
  EXPECT_EQ(knot_values(c->knt), want);
}

}  // namespace

TEST(KnotInsertion, QuadraticBezierAtHalf) {
  // Inserting 0.5 into a quadratic Bezier curve halves both legs.
  std::vector<CPOINT> P = {{0, 0, DBL_MAX, kW}, {2, 4, DBL_MAX, kW}, {4, 0, DBL_MAX, kW}};
  std::vector<double> U = {0, 0, 0, 1, 1, 1};
  evaltest::CurveData c(P, U, 2);
  Workspace ws;
  CURVE out;
  U_inicur(&out);
  ASSERT_EQ(N_toocki(&c.cur, 0.5, 1, &out, ws, ws), 0);
  ASSERT_EQ(out.pol->n, 3);
  const double want[4][2] = {{0, 0}, {1, 2}, {3, 2}, {4, 0}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(out.pol->Pw[i].x, want[i][0]);
    EXPECT_EQ(out.pol->Pw[i].y, want[i][1]);
    EXPECT_EQ(out.pol->Pw[i].z, DBL_MAX);
    EXPECT_EQ(out.pol->Pw[i].w, kW);
  }
  EXPECT_EQ(knot_values(out.knt), std::vector<double>({0, 0, 0, 0.5, 1, 1, 1}));
}

TEST(KnotInsertion, RationalWeightsAreBlendedToo) {
  // A rational quadratic: the new points are the halves of the weighted
  // legs, weights included.
  std::vector<CPOINT> P = {{1, 0, 0, 1}, {1, 1, 0, 1}, {0, 2, 0, 2}};
  std::vector<double> U = {0, 0, 0, 1, 1, 1};
  evaltest::CurveData c(P, U, 2);
  Workspace ws;
  CURVE out;
  U_inicur(&out);
  ASSERT_EQ(N_toocki(&c.cur, 0.5, 1, &out, ws, ws), 0);
  EXPECT_EQ(out.pol->Pw[1].w, 1.0);
  EXPECT_EQ(out.pol->Pw[2].x, 0.5);
  EXPECT_EQ(out.pol->Pw[2].y, 1.5);
  EXPECT_EQ(out.pol->Pw[2].w, 1.5);
  EXPECT_TRUE(same_curve(&c.cur, &out, 0.0, 1.0));
}

// Every kind of curve, degrees 1 to 5, knot layouts with multiplicities up
// to p; u at random places and at existing knots, r up to p - s.
TEST(KnotInsertion, RandomCurvesKeepTheirShape) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> pick(0.5, 3.0);
  for (int p : {1, 2, 3, 5})
    for (const Kind &kind : kKinds)
      for (int lay = 0; lay < 3; ++lay) {
        Workspace ws;
        const std::vector<double> U = knots(p, 0.5, 3.0, layout(p, lay));
        CURVE *c = make_curve(ws, p, U, kind.three_d, kind.rational, rng);
        std::vector<double> sites = {pick(rng), pick(rng), 1.0, 1.7, 2.6, 0.9, 1.5};
        for (double u : sites) {
          const int s = static_cast<int>(std::count(U.begin(), U.end(), u));
          for (int r = 0; r <= p - s; ++r) {
            CURVE out;
            U_inicur(&out);
            ASSERT_EQ(N_toocki(c, u, r, &out, ws, ws), 0) << p << " " << u << " " << r;
            expect_inserted(&out, U, c->pol->n, u, r);
            EXPECT_TRUE(same_curve(c, &out, 0.5, 3.0)) << "p " << p << " u " << u << " r " << r;
          }
        }
      }
}

TEST(KnotInsertion, ZeroTimesCopies) {
  std::mt19937 rng(1);
  Workspace ws;
  CURVE *c = make_curve(ws, 3, knots(3, 0, 1, {{0.4, 1}}), true, true, rng);
  CURVE out;
  U_inicur(&out);
  ASSERT_EQ(N_toocki(c, 0.7, 0, &out, ws, ws), 0);
  ASSERT_EQ(out.pol->n, c->pol->n);
  for (int32_t i = 0; i <= c->pol->n; ++i)
    EXPECT_EQ(std::memcmp(&out.pol->Pw[i], &c->pol->Pw[i], sizeof(CPOINT)), 0);
  EXPECT_EQ(knot_values(out.knt), knot_values(c->knt));
}

TEST(KnotInsertion, MultiplicityAndRangeRefusals) {
  std::mt19937 rng(2);
  Workspace ws;
  CURVE *c = make_curve(ws, 3, knots(3, 0, 1, {{0.4, 2}}), false, false, rng);
  CURVE out;
  U_inicur(&out);
  EXPECT_EQ(N_toocki(c, 0.4, 1, &out, ws, ws), 0);
  U_inicur(&out);
  EXPECT_EQ(N_toocki(c, 0.4, 2, &out, ws, ws), 1);  // s + r = 4 > p
  EXPECT_TRUE(HasError(6, "N_TOOCKI"));
  EXPECT_TRUE(U_iscurn(&out));
  EXPECT_EQ(N_toocki(c, 0.6, 4, &out, ws, ws), 1);
  EXPECT_TRUE(HasError(6, "N_TOOCKI"));
  EXPECT_EQ(N_toocki(c, 0.6, -1, &out, ws, ws), 1);
  EXPECT_TRUE(HasError(6, "N_TOOCKI"));
  for (double u : {0.0, 1.0, -0.5, 1.5, std::nan("")}) {
    EXPECT_EQ(N_toocki(c, u, 1, &out, ws, ws), 1) << u;
    EXPECT_TRUE(HasError(6, "N_TOOCKI"));
  }
  // Knots out of order are refused before any index is formed.
  std::swap(c->knt->U[4], c->knt->U[6]);
  EXPECT_EQ(N_toocki(c, 0.6, 1, &out, ws, ws), 1);
  EXPECT_TRUE(HasError(4, "N_TOOCKI"));
  // A curve with fewer than p+1 points.
  std::vector<CPOINT> P(2, CPOINT{0, 0, 0, kW});
  evaltest::CurveData bad(P, {0, 0, 0, 1, 1}, 2);
  EXPECT_EQ(N_toocki(&bad.cur, 0.5, 1, &out, ws, ws), 1);
  EXPECT_TRUE(HasError(14, "N_TOOCKI"));
  // Sizes that disagree.
  bad.knt.m = 3;
  EXPECT_EQ(N_toocki(&bad.cur, 0.5, 1, &out, ws, ws), 1);
  EXPECT_TRUE(HasError(1, "N_TOOCKI"));
  EXPECT_TRUE(U_iscurn(&out));
}

TEST(KnotInsertion, UnclampedCurve) {
  std::mt19937 rng(3);
  Workspace ws;
  CURVE *c = make_curve(ws, 3, knots(3, 0, 1, {{0.3, 1}, {0.6, 2}}, false), true, false, rng);
  const double *U = c->knt->U;
  const double lo = U[3], hi = U[c->knt->m - 3];
  for (double u : {lo, 0.3, 0.45, 0.6, 0.99}) {
    CURVE out;
    U_inicur(&out);
    ASSERT_EQ(N_toocki(c, u, 1, &out, ws, ws), 0) << u;
    EXPECT_TRUE(same_curve(c, &out, lo, hi)) << u;
  }
  // Below the start of the domain there is no span of p+1 functions.
  CURVE out;
  U_inicur(&out);
  EXPECT_EQ(N_toocki(c, U[1], 1, &out, ws, ws), 1);
  EXPECT_TRUE(HasError(6, "N_TOOCKI"));
}

TEST(KnotInsertion, InPlaceReplacesTheArrays) {
  std::mt19937 rng(4);
  Workspace ws;
  CURVE *c = make_curve(ws, 3, knots(3, 0, 1, {{0.5, 1}}), true, true, rng);
  Workspace copy_ws;
  CURVE copy;
  U_inicur(&copy);
  ASSERT_EQ(U_curcop(c, &copy, copy_ws), 0);
  CPOINT *old_pw = c->pol->Pw;
  double *old_u = c->knt->U;
  const size_t blocks = total_blocks(ws.ws);
  ASSERT_EQ(N_toocki(c, 0.25, 2, c, ws, ws), 0);
  EXPECT_EQ(c->pol->n, copy.pol->n + 2);
  EXPECT_FALSE(on_list(ws.ws, 11, old_pw));
  EXPECT_FALSE(on_list(ws.ws, 5, old_u));
  EXPECT_TRUE(on_list(ws.ws, 11, c->pol->Pw));
  EXPECT_EQ(total_blocks(ws.ws), blocks);
  EXPECT_TRUE(same_curve(&copy, c, 0.0, 1.0));
}

// Every allocation of an in-place insertion failing in turn: the curve and
// its workspace come back exactly as they were.
TEST(KnotInsertion, InPlaceFailureLeavesNothing) {
  std::mt19937 rng(5);
  Workspace ws;
  CURVE *c = make_curve(ws, 2, knots(2, 0, 1, {{0.5, 1}}), true, false, rng);
  const CURVE before = *c;
  const size_t blocks = total_blocks(ws.ws);
  for (long k = 1;; ++k) {
    orvo::detail::fail_allocation_at(k);
    const int16_t st = N_toocki(c, 0.25, 1, c, ws, ws);
    orvo::detail::fail_allocation_at(0);
    if (st == 0) break;
    EXPECT_TRUE(HasError(15, "S_GETC1D") || HasError(15, "S_GETR1D") || HasError(15, "S_GETPOS") ||
                HasError(15, "S_GETKNS"));
    EXPECT_EQ(std::memcmp(&before, c, sizeof(CURVE)), 0) << k;
    EXPECT_EQ(total_blocks(ws.ws), blocks) << k;
    ASSERT_LT(k, 50);
  }
  EXPECT_EQ(c->pol->n, 4);
}

TEST(KnotInsertion, SeparateOutputProtocol) {
  std::mt19937 rng(6);
  Workspace ws, ws_out;
  CURVE *c = make_curve(ws, 2, knots(2, 0, 1, {{0.5, 1}}), false, false, rng);
  // Too small: error 9, nothing changed.
  CURVE *small = S_getcur(2, 2, 5, ws_out);
  EXPECT_EQ(N_toocki(c, 0.25, 1, small, ws, ws_out), 1);
  EXPECT_TRUE(HasError(9, "N_TOOCKI"));
  EXPECT_EQ(small->pol->n, 2);
  // Large enough: reused with the new counts.
  CURVE *big = S_getcur(10, 2, 13, ws_out);
  CPOINT *arr = big->pol->Pw;
  const size_t blocks = total_blocks(ws_out.ws);
  ASSERT_EQ(N_toocki(c, 0.25, 1, big, ws, ws_out), 0);
  EXPECT_EQ(big->pol->Pw, arr);
  EXPECT_EQ(big->pol->n, 4);
  EXPECT_EQ(big->knt->m, 7);
  EXPECT_EQ(total_blocks(ws_out.ws), blocks);
  EXPECT_TRUE(same_curve(c, big, 0.0, 1.0));
  // An empty output whose allocation fails stays empty, and nothing of the
  // failed call stays in ws_out.
  for (long k = 1; k <= 3; ++k) {
    CURVE out;
    U_inicur(&out);
    orvo::detail::fail_allocation_at(k);
    const size_t before = total_blocks(ws_out.ws);
    const int16_t st = N_toocki(c, 0.25, 1, &out, ws, ws_out);
    orvo::detail::fail_allocation_at(0);
    if (st == 0) continue;
    EXPECT_TRUE(U_iscurn(&out));
    EXPECT_EQ(total_blocks(ws_out.ws), before);
  }
  EXPECT_EQ(N_toocki(c, 0.25, 1, nullptr, ws, ws_out), 1);
  EXPECT_TRUE(HasError(14, "N_TOOCKI"));
}

TEST(KnotInsertion, SurfacesInEitherDirection) {
  std::mt19937 rng(8);
  for (bool rat : {false, true})
    for (int dir : {1, 2}) {
      Workspace ws;
      const std::vector<double> U = knots(2, 0, 2, {{0.7, 1}, {1.2, 2}});
      const std::vector<double> V = knots(3, -1, 1, {{0.0, 1}, {0.5, 3}});
      SURFACE *s = make_surface(ws, 2, 3, U, V, rat, rng);
      for (double t :
           dir == 1 ? std::vector<double>{0.3, 0.7, 1.2} : std::vector<double>{-0.6, 0.0}) {
        const std::vector<double> &K = dir == 1 ? U : V;
        const int deg = dir == 1 ? 2 : 3;
        const int r = deg - static_cast<int>(std::count(K.begin(), K.end(), t));
        SURFACE out;
        U_inisur(&out);
        ASSERT_EQ(N_tooski(s, t, r, static_cast<int16_t>(dir), &out, ws, ws), 0);
        EXPECT_EQ(out.net->n, s->net->n + (dir == 1 ? r : 0));
        EXPECT_EQ(out.net->m, s->net->m + (dir == 2 ? r : 0));
        EXPECT_EQ(knot_values(dir == 1 ? out.knv : out.knu), dir == 1 ? V : U);
        EXPECT_TRUE(same_surface(s, &out, 0, 2, -1, 1)) << dir << " " << t;
      }
      // In place.
      Workspace cws;
      SURFACE copy;
      U_inisur(&copy);
      ASSERT_EQ(U_surcop(s, &copy, cws), 0);
      CPOINT **old = s->net->Pw;
      ASSERT_EQ(N_tooski(s, dir == 1 ? 1.5 : 0.25, 1, static_cast<int16_t>(dir), s, ws, ws), 0);
      EXPECT_FALSE(on_list(ws.ws, 12, old));
      EXPECT_TRUE(same_surface(&copy, s, 0, 2, -1, 1));
    }
}

TEST(KnotInsertion, SurfaceRefusals) {
  std::mt19937 rng(9);
  Workspace ws;
  SURFACE *s = make_surface(ws, 2, 2, knots(2, 0, 1, {{0.5, 2}}), knots(2, 0, 1, {}), false, rng);
  SURFACE out;
  U_inisur(&out);
  EXPECT_EQ(N_tooski(s, 0.3, 1, 3, &out, ws, ws), 1);
  EXPECT_TRUE(HasError(13, "N_TOOSKI"));
  EXPECT_EQ(N_tooski(s, 0.5, 1, 1, &out, ws, ws), 1);
  EXPECT_TRUE(HasError(6, "N_TOOSKI"));
  EXPECT_EQ(N_tooski(s, 1.0, 1, 2, &out, ws, ws), 1);
  EXPECT_TRUE(HasError(6, "N_TOOSKI"));
  s->knv->m = 4;  // sizes that disagree
  EXPECT_EQ(N_tooski(s, 0.3, 1, 2, &out, ws, ws), 1);
  EXPECT_TRUE(HasError(2, "N_TOOSKI"));
  EXPECT_TRUE(U_issurn(&out));
}

// The inserted knot puts a new control point at the foot of the picked
// point on the nearest leg.
TEST(KnotInsertion, AtAPickedPointOfTheCurve) {
  std::mt19937 rng(10);
  for (const Kind &kind : kKinds) {
    Workspace ws;
    CURVE *c =
        make_curve(ws, 3, knots(3, 0, 2, {{0.5, 1}, {1.1, 2}}), kind.three_d, kind.rational, rng);
    // A point just off the middle of leg 2.
    const POINT A = euclid(c->pol->Pw[2]), B = euclid(c->pol->Pw[3]);
    const POINT F{0.6 * A.x + 0.4 * B.x, 0.6 * A.y + 0.4 * B.y, 0.6 * A.z + 0.4 * B.z};
    CURVE out;
    U_inicur(&out);
    ASSERT_EQ(N_toocik(c, F, &out, ws, ws), 0);
    EXPECT_EQ(out.pol->n, c->pol->n + 1);
    double best = 1e300;
    for (int32_t i = 0; i <= out.pol->n; ++i)
      best = std::min(best, dist(euclid(out.pol->Pw[i]), F));
    EXPECT_LT(best, 1e-9) << kind.three_d << kind.rational;
    EXPECT_TRUE(same_curve(c, &out, 0, 2));
  }
}

TEST(KnotInsertion, PickBeyondThePolygon) {
  std::vector<CPOINT> P = {{0, 0, DBL_MAX, kW}, {1, 0, DBL_MAX, kW}, {2, 0, DBL_MAX, kW}};
  evaltest::CurveData c(P, {0, 0, 0, 1, 1, 1}, 2);
  Workspace ws;
  CURVE out;
  U_inicur(&out);
  EXPECT_EQ(N_toocik(&c.cur, POINT{3, 1, 0}, &out, ws, ws), 1);
  EXPECT_TRUE(HasError(14, "N_TOOCIK"));
  EXPECT_TRUE(U_iscurn(&out));
  EXPECT_EQ(orvo_test::total_blocks(ws.ws), 0u);
  // In place at the middle of the first leg: u = 0.25 gives the point (0.5, 0).
  ASSERT_EQ(N_toocik(&c.cur, POINT{0.5, 0.3, 0}, &out, ws, ws), 0);
  EXPECT_EQ(knot_values(out.knt), std::vector<double>({0, 0, 0, 0.5, 1, 1, 1}));
  EXPECT_EQ(out.pol->Pw[1].x, 0.5);
}

TEST(KnotInsertion, AtAPickedPointOfTheSurface) {
  std::mt19937 rng(11);
  for (bool rat : {false, true}) {
    Workspace ws;
    SURFACE *s =
        make_surface(ws, 2, 3, knots(2, 0, 1, {{0.4, 1}}), knots(3, 0, 1, {{0.5, 1}}), rat, rng);
    for (int leg : {1, 2}) {
      const int32_t i1 = leg == 1 ? 2 : 1, j1 = leg == 1 ? 1 : 2;
      const POINT A = euclid(s->net->Pw[1][1]), B = euclid(s->net->Pw[i1][j1]);
      const POINT F{0.7 * A.x + 0.3 * B.x, 0.7 * A.y + 0.3 * B.y, 0.7 * A.z + 0.3 * B.z};
      SURFACE out;
      U_inisur(&out);
      ASSERT_EQ(N_toosik(s, F, &out, ws, ws), 0);
      double best = 1e300;
      for (int32_t i = 0; i <= out.net->n; ++i)
        for (int32_t j = 0; j <= out.net->m; ++j)
          best = std::min(best, dist(euclid(out.net->Pw[i][j]), F));
      EXPECT_LT(best, 1e-9) << rat << leg;
      EXPECT_EQ(out.net->n + out.net->m, s->net->n + s->net->m + 1);
      EXPECT_TRUE(same_surface(s, &out, 0, 1, 0, 1));
    }
  }
  Workspace ws;
  SURFACE *flat = make_surface(ws, 1, 1, knots(1, 0, 1, {}), knots(1, 0, 1, {}), false, rng);
  flat->net->Pw[0][0] = CPOINT{0, 0, 0, kW};
  flat->net->Pw[1][0] = CPOINT{1, 0, 0, kW};
  flat->net->Pw[0][1] = CPOINT{0, 1, 0, kW};
  flat->net->Pw[1][1] = CPOINT{1, 1, 0, kW};
  SURFACE out;
  U_inisur(&out);
  EXPECT_EQ(N_toosik(flat, POINT{5, 5, 0}, &out, ws, ws), 1);
  EXPECT_TRUE(HasError(14, "N_TOOSIK"));
}
