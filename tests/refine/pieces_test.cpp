// Bezier decomposition, splitting, segments and components of curves and
// surfaces: every piece reproduces its part of the input, neighbouring
// pieces meet, and the inputs that would lead outside the arrays are
// refused.
#include "core/internal.hpp"
#include "refine/refine_test_util.hpp"

using namespace refinetest;
using orvo_test::HasError;
using orvo_test::on_list;
using orvo_test::total_blocks;
using orvo_test::Workspace;

namespace {

constexpr double kW = -DBL_MAX;

bool same_cpoint(const CPOINT &a, const CPOINT &b) {
  return std::memcmp(&a, &b, sizeof(CPOINT)) == 0;
}

// A curve of degree p whose p+1 knots at each end are its only ones.
bool is_bezier(const CURVE *c, double a, double b) {
  const int p = c->p;
  if (c->pol->n != p || c->knt->m != 2 * p + 1) return false;
  for (int i = 0; i <= p; ++i)
    if (c->knt->U[i] != a || c->knt->U[p + 1 + i] != b) return false;
  return true;
}

// Distinct knot values of the domain of a curve, in order.
std::vector<double> breakpoints(const KNOTVECTOR *k, int p) {
  std::vector<double> v;
  for (int32_t i = p; i <= k->m - p; ++i)
    if (v.empty() || k->U[i] != v.back()) v.push_back(k->U[i]);
  return v;
}

}  // namespace

// ---- Decomposition ----------------------------------------------------------
TEST(BezierDecomposition, RandomCurves) {
  std::mt19937 rng(21);
  for (int p : {1, 2, 3, 4})
    for (const Kind &kind : kKinds)
      for (int lay = 0; lay < 3; ++lay)
        for (bool clamped : {true, false}) {
          Workspace ws;
          CURVE *c = make_curve(ws, p, knots(p, 0.5, 3.0, layout(p, lay), clamped), kind.three_d,
                                kind.rational, rng);
          CURVE **pieces = nullptr;
          int32_t last = -5;
          ASSERT_EQ(N_toocdc(c, &pieces, &last, ws), 0);
          const std::vector<double> br = breakpoints(c->knt, p);
          ASSERT_EQ(last + 2, static_cast<int32_t>(br.size()));
          for (int32_t k = 0; k <= last; ++k) {
            EXPECT_TRUE(is_bezier(pieces[k], br[k], br[k + 1])) << k;
            EXPECT_TRUE(same_curve(c, pieces[k], br[k], br[k + 1]))
                << "p " << p << " layout " << lay << " clamped " << clamped << " piece " << k;
            if (k > 0) {
              EXPECT_TRUE(same_cpoint(pieces[k - 1]->pol->Pw[p], pieces[k]->pol->Pw[0]));
            }
          }
        }
}

TEST(BezierDecomposition, BezierCurveAndCorner) {
  std::mt19937 rng(22);
  Workspace ws;
  CURVE *bez = make_curve(ws, 3, knots(3, 0, 1, {}), true, true, rng);
  CURVE **pieces = nullptr;
  int32_t last = -5;
  ASSERT_EQ(N_toocdc(bez, &pieces, &last, ws), 0);
  ASSERT_EQ(last, 0);
  for (int i = 0; i <= 3; ++i) EXPECT_TRUE(same_cpoint(pieces[0]->pol->Pw[i], bez->pol->Pw[i]));
  EXPECT_EQ(knot_values(pieces[0]->knt), knot_values(bez->knt));

  // A knot of multiplicity p needs no insertion: the pieces are the two
  // halves of the polygon, sharing the point at the knot.
  CURVE *corner = make_curve(ws, 2, knots(2, 0, 1, {{0.4, 2}}), false, false, rng);
  ASSERT_EQ(N_toocdc(corner, &pieces, &last, ws), 0);
  ASSERT_EQ(last, 1);
  for (int i = 0; i <= 2; ++i) {
    EXPECT_TRUE(same_cpoint(pieces[0]->pol->Pw[i], corner->pol->Pw[i]));
    EXPECT_TRUE(same_cpoint(pieces[1]->pol->Pw[i], corner->pol->Pw[i + 2]));
  }
}

TEST(BezierDecomposition, RefusalsLeaveTheWorkspaceAlone) {
  std::mt19937 rng(23);
  Workspace ws;
  CURVE *c = make_curve(ws, 2, knots(2, 0, 1, {{0.3, 1}, {0.6, 1}}), true, false, rng);
  CURVE **pieces = nullptr;
  int32_t last = -5;
  const size_t blocks = total_blocks(ws.ws);
  for (long k = 1;; ++k) {
    orvo::detail::fail_allocation_at(k);
    const int16_t st = N_toocdc(c, &pieces, &last, ws);
    orvo::detail::fail_allocation_at(0);
    if (st == 0) break;
    EXPECT_EQ(total_blocks(ws.ws), blocks) << k;
    EXPECT_EQ(last, -5);
    ASSERT_LT(k, 100);
  }
  EXPECT_EQ(last, 2);
  // An empty domain has no pieces.
  std::vector<CPOINT> P(3, CPOINT{0, 0, 0, kW});
  evaltest::CurveData flat(P, {1, 1, 1, 1, 1, 1}, 2);
  EXPECT_EQ(N_toocdc(&flat.cur, &pieces, &last, ws), 1);
  EXPECT_TRUE(HasError(4, "N_TOOCDC"));
}

TEST(BezierDecomposition, Surfaces) {
  std::mt19937 rng(24);
  for (bool rat : {false, true}) {
    Workspace ws;
    SURFACE *s = make_surface(ws, 2, 3, knots(2, 0, 2, {{0.5, 1}, {1.5, 2}}),
                              knots(3, -1, 1, {{-0.2, 1}, {0.4, 3}}), rat, rng);
    SURFACE ***patches = nullptr;
    int32_t lu = -5, lv = -5;
    ASSERT_EQ(N_toosdc(s, &patches, &lu, &lv, ws), 0);
    ASSERT_EQ(lu, 2);
    ASSERT_EQ(lv, 2);
    const std::vector<double> bu = breakpoints(s->knu, 2), bv = breakpoints(s->knv, 3);
    for (int32_t iu = 0; iu <= lu; ++iu)
      for (int32_t iv = 0; iv <= lv; ++iv) {
        const SURFACE *P = patches[iu][iv];
        ASSERT_EQ(P->net->n, 2);
        ASSERT_EQ(P->net->m, 3);
        EXPECT_EQ(P->knu->U[0], bu[iu]);
        EXPECT_EQ(P->knu->U[5], bu[iu + 1]);
        EXPECT_EQ(P->knv->U[0], bv[iv]);
        EXPECT_EQ(P->knv->U[7], bv[iv + 1]);
        EXPECT_TRUE(same_surface(s, P, bu[iu], bu[iu + 1], bv[iv], bv[iv + 1])) << iu << iv;
        // Neighbouring patches share their common boundary row or column.
        for (int j = 0; iu > 0 && j <= 3; ++j)
          EXPECT_TRUE(same_cpoint(patches[iu - 1][iv]->net->Pw[2][j], P->net->Pw[0][j]));
        for (int i = 0; iv > 0 && i <= 2; ++i)
          EXPECT_TRUE(same_cpoint(patches[iu][iv - 1]->net->Pw[i][3], P->net->Pw[i][0]));
      }
  }
}

// ---- Splitting --------------------------------------------------------------
TEST(CurveSplit, HalvesReproduceTheCurveAndMeet) {
  std::mt19937 rng(31);
  std::uniform_real_distribution<double> pick(0.6, 2.9);
  for (int p : {1, 2, 3, 5})
    for (const Kind &kind : kKinds)
      for (int lay = 0; lay < 3; ++lay) {
        Workspace ws;
        const std::vector<double> U = knots(p, 0.5, 3.0, layout(p, lay));
        CURVE *c = make_curve(ws, p, U, kind.three_d, kind.rational, rng);
        for (double u : {pick(rng), 1.0, 1.7, 0.9, 2.6}) {
          CURVE left, right;
          U_inicur(&left);
          U_inicur(&right);
          ASSERT_EQ(N_toocsp(c, u, &left, &right, ws), 0) << p << " " << u;
          const int s = static_cast<int>(std::count(U.begin(), U.end(), u));
          const int32_t k =
              static_cast<int32_t>(std::upper_bound(U.begin(), U.end(), u) - U.begin()) - 1;
          EXPECT_EQ(left.pol->n, k - s);
          EXPECT_EQ(right.pol->n, c->pol->n - k + p);
          EXPECT_TRUE(same_curve(c, &left, 0.5, u)) << p << " " << u;
          EXPECT_TRUE(same_curve(c, &right, u, 3.0)) << p << " " << u;
          EXPECT_TRUE(same_cpoint(left.pol->Pw[left.pol->n], right.pol->Pw[0]));
          EXPECT_LT(dist(euclid(right.pol->Pw[0]), eval(c, u)), 1e-12 * size_of(c));
          EXPECT_EQ(left.knt->U[left.knt->m], u);
          EXPECT_EQ(right.knt->U[0], u);
        }
      }
}

TEST(CurveSplit, AtAKnotOfMultiplicityPNoBlending) {
  std::mt19937 rng(32);
  Workspace ws;
  CURVE *c = make_curve(ws, 3, knots(3, 0, 1, {{0.5, 3}}), true, false, rng);
  CURVE left, right;
  U_inicur(&left);
  U_inicur(&right);
  ASSERT_EQ(N_toocsp(c, 0.5, &left, &right, ws), 0);
  ASSERT_EQ(left.pol->n, 3);
  ASSERT_EQ(right.pol->n, 3);
  for (int i = 0; i <= 3; ++i) {
    EXPECT_TRUE(same_cpoint(left.pol->Pw[i], c->pol->Pw[i]));
    EXPECT_TRUE(same_cpoint(right.pol->Pw[i], c->pol->Pw[i + 3]));
  }
}

TEST(CurveSplit, Refusals) {
  std::mt19937 rng(33);
  Workspace ws;
  CURVE *c = make_curve(ws, 2, knots(2, 0, 1, {{0.3, 1}, {0.6, 3}}), false, false, rng);
  CURVE left, right;
  U_inicur(&left);
  U_inicur(&right);
  for (double u : {0.0, 1.0, -1.0, 2.0}) {
    EXPECT_EQ(N_toocsp(c, u, &left, &right, ws), 1) << u;
    EXPECT_TRUE(HasError(6, "N_TOOCSP"));
  }
  // A knot of multiplicity p+1 leaves no point that the halves could share.
  EXPECT_EQ(N_toocsp(c, 0.6, &left, &right, ws), 1);
  EXPECT_TRUE(HasError(6, "N_TOOCSP"));
  EXPECT_EQ(N_toocsp(c, 0.5, &left, &left, ws), 1);
  EXPECT_TRUE(HasError(14, "N_TOOCSP"));
  EXPECT_TRUE(U_iscurn(&left) && U_iscurn(&right));
  // The second half too small: the first is given back unsized and nothing
  // stays in the workspace.
  CURVE *small = S_getcur(1, 2, 4, ws);
  const size_t blocks = total_blocks(ws.ws);
  EXPECT_EQ(N_toocsp(c, 0.45, &left, small, ws), 1);
  EXPECT_TRUE(HasError(9, "N_TOOCSP"));
  EXPECT_TRUE(U_iscurn(&left));
  EXPECT_EQ(small->pol->n, 1);
  EXPECT_EQ(total_blocks(ws.ws), blocks);
}

TEST(CurveSplit, IntoTheInputRecord) {
  std::mt19937 rng(34);
  Workspace ws, cws;
  CURVE *c = make_curve(ws, 3, knots(3, 0, 1, {{0.5, 1}}), true, true, rng);
  CURVE copy, right;
  U_inicur(&copy);
  U_inicur(&right);
  ASSERT_EQ(U_curcop(c, &copy, cws), 0);
  CPOINT *old = c->pol->Pw;
  ASSERT_EQ(N_toocsp(c, 0.7, c, &right, ws), 0);
  EXPECT_FALSE(on_list(ws.ws, 11, old));
  EXPECT_TRUE(same_curve(&copy, c, 0.0, 0.7));
  EXPECT_TRUE(same_curve(&copy, &right, 0.7, 1.0));
}

TEST(SurfaceSplit, BothDirections) {
  std::mt19937 rng(35);
  for (bool rat : {false, true})
    for (int dir : {1, 2}) {
      Workspace ws;
      SURFACE *s = make_surface(ws, 3, 2, knots(3, 0, 1, {{0.25, 1}, {0.5, 2}}),
                                knots(2, 0, 4, {{1.0, 1}, {3.0, 2}}), rat, rng);
      for (double t : dir == 1 ? std::vector<double>{0.4, 0.5} : std::vector<double>{2.0, 3.0}) {
        SURFACE a, b;
        U_inisur(&a);
        U_inisur(&b);
        ASSERT_EQ(N_toossp(s, t, static_cast<int16_t>(dir), &a, &b, ws), 0);
        if (dir == 1) {
          EXPECT_TRUE(same_surface(s, &a, 0, t, 0, 4));
          EXPECT_TRUE(same_surface(s, &b, t, 1, 0, 4));
          EXPECT_EQ(knot_values(a.knv), knot_values(s->knv));
          for (int32_t j = 0; j <= s->net->m; ++j)
            EXPECT_TRUE(same_cpoint(a.net->Pw[a.net->n][j], b.net->Pw[0][j]));
        } else {
          EXPECT_TRUE(same_surface(s, &a, 0, 1, 0, t));
          EXPECT_TRUE(same_surface(s, &b, 0, 1, t, 4));
          EXPECT_EQ(knot_values(b.knu), knot_values(s->knu));
          for (int32_t i = 0; i <= s->net->n; ++i)
            EXPECT_TRUE(same_cpoint(a.net->Pw[i][a.net->m], b.net->Pw[i][0]));
        }
      }
    }
  Workspace ws;
  SURFACE *s = make_surface(ws, 1, 1, knots(1, 0, 1, {}), knots(1, 0, 1, {}), false, rng);
  SURFACE a, b;
  U_inisur(&a);
  U_inisur(&b);
  EXPECT_EQ(N_toossp(s, 0.5, 0, &a, &b, ws), 1);
  EXPECT_TRUE(HasError(13, "N_TOOSSP"));
  EXPECT_EQ(N_toossp(s, 1.0, 2, &a, &b, ws), 1);
  EXPECT_TRUE(HasError(6, "N_TOOSSP"));
}

// ---- Segments ---------------------------------------------------------------
TEST(CurveSegment, RandomRangesIncludingOneSpan) {
  std::mt19937 rng(41);
  std::uniform_real_distribution<double> pick(0.5, 3.0);
  for (int p : {1, 2, 3, 4})
    for (const Kind &kind : kKinds)
      for (int lay = 0; lay < 3; ++lay)
        for (bool clamped : {true, false}) {
          Workspace ws;
          CURVE *c = make_curve(ws, p, knots(p, 0.5, 3.0, layout(p, lay), clamped), kind.three_d,
                                kind.rational, rng);
          const double lo = c->knt->U[p], hi = c->knt->U[c->knt->m - p];
          double a = pick(rng), b = pick(rng);
          if (a > b) std::swap(a, b);
          const std::pair<double, double> ranges[] = {
              {a, b}, {1.05, 1.2}, {1.0, 1.7}, {lo, 1.25}, {2.2, hi}, {lo, hi}, {0.9, 0.95}};
          for (auto [ulo, uhi] : ranges) {
            CURVE out;
            U_inicur(&out);
            ASSERT_EQ(N_toocsg(c, ulo, uhi, &out, ws, ws), 0) << ulo << " " << uhi;
            EXPECT_EQ(out.knt->m, out.pol->n + p + 1);
            EXPECT_EQ(out.knt->U[0], ulo);
            EXPECT_EQ(out.knt->U[out.knt->m], uhi);
            EXPECT_TRUE(same_curve(c, &out, ulo, uhi))
                << "p " << p << " [" << ulo << ", " << uhi << "] clamped " << clamped;
          }
        }
}

TEST(CurveSegment, WholeDomainIsTheCurve) {
  std::mt19937 rng(42);
  Workspace ws;
  CURVE *c = make_curve(ws, 3, knots(3, 0, 1, {{0.2, 1}, {0.5, 2}}), true, true, rng);
  CURVE out;
  U_inicur(&out);
  ASSERT_EQ(N_toocsg(c, 0.0, 1.0, &out, ws, ws), 0);
  ASSERT_EQ(out.pol->n, c->pol->n);
  for (int32_t i = 0; i <= c->pol->n; ++i) EXPECT_TRUE(same_cpoint(out.pol->Pw[i], c->pol->Pw[i]));
  EXPECT_EQ(knot_values(out.knt), knot_values(c->knt));
}

TEST(CurveSegment, RefusalsAndInPlace) {
  std::mt19937 rng(43);
  Workspace ws;
  CURVE *c = make_curve(ws, 2, knots(2, 0, 1, {{0.5, 1}}), false, true, rng);
  CURVE out;
  U_inicur(&out);
  EXPECT_EQ(N_toocsg(c, 0.4, 0.4, &out, ws, ws), 1);
  EXPECT_TRUE(HasError(14, "N_TOOCSG"));
  EXPECT_EQ(N_toocsg(c, 0.6, 0.4, &out, ws, ws), 1);
  EXPECT_TRUE(HasError(14, "N_TOOCSG"));
  EXPECT_EQ(N_toocsg(c, -0.1, 0.4, &out, ws, ws), 1);
  EXPECT_TRUE(HasError(6, "N_TOOCSG"));
  EXPECT_EQ(N_toocsg(c, 0.4, 1.1, &out, ws, ws), 1);
  EXPECT_TRUE(HasError(6, "N_TOOCSG"));
  EXPECT_TRUE(U_iscurn(&out));

  Workspace cws;
  CURVE copy;
  U_inicur(&copy);
  ASSERT_EQ(U_curcop(c, &copy, cws), 0);
  const size_t blocks = total_blocks(ws.ws);
  ASSERT_EQ(N_toocsg(c, 0.1, 0.3, c, ws, ws), 0);
  EXPECT_EQ(total_blocks(ws.ws), blocks);
  EXPECT_EQ(c->pol->n, 2);
  EXPECT_TRUE(same_curve(&copy, c, 0.1, 0.3));
}

TEST(SurfaceSegment, PatchesOverSubRectangles) {
  std::mt19937 rng(44);
  for (bool rat : {false, true}) {
    Workspace ws;
    SURFACE *s = make_surface(ws, 2, 3, knots(2, 0, 2, {{0.5, 1}, {1.5, 2}}),
                              knots(3, -1, 1, {{0.0, 1}, {0.5, 3}}), rat, rng);
    const double rects[][4] = {{0.1, 0.3, -0.9, -0.8},
                               {0.2, 1.7, -0.5, 0.75},
                               {0.5, 1.5, 0.0, 0.5},
                               {0.0, 2.0, -1.0, 1.0}};
    for (const auto &r : rects) {
      SURFACE out;
      U_inisur(&out);
      ASSERT_EQ(N_toossg(s, r[0], r[1], r[2], r[3], &out, ws, ws), 0);
      EXPECT_TRUE(same_surface(s, &out, r[0], r[1], r[2], r[3])) << r[0] << " " << r[2];
    }
    Workspace cws;
    SURFACE copy;
    U_inisur(&copy);
    ASSERT_EQ(U_surcop(s, &copy, cws), 0);
    CPOINT **old = s->net->Pw;
    ASSERT_EQ(N_toossg(s, 0.3, 1.9, -0.2, 0.9, s, ws, ws), 0);
    EXPECT_FALSE(on_list(ws.ws, 12, old));
    EXPECT_TRUE(same_surface(&copy, s, 0.3, 1.9, -0.2, 0.9));
  }
  Workspace ws;
  SURFACE *s = make_surface(ws, 1, 1, knots(1, 0, 1, {}), knots(1, 0, 1, {}), false, rng);
  SURFACE out;
  U_inisur(&out);
  EXPECT_EQ(N_toossg(s, 0.2, 0.4, 0.5, 0.5, &out, ws, ws), 1);
  EXPECT_TRUE(HasError(14, "N_TOOSSG"));
  EXPECT_EQ(N_toossg(s, 0.2, 1.4, 0.5, 0.6, &out, ws, ws), 1);
  EXPECT_TRUE(HasError(6, "N_TOOSSG"));
}

// ---- Components ---------------------------------------------------------------
TEST(CurveComponents, CornersAndBreaks) {
  std::mt19937 rng(51);
  for (const Kind &kind : kKinds) {
    Workspace ws;
    // A corner at 0.3 (multiplicity p), a break at 0.6 (multiplicity p+1),
    // ordinary knots at 0.45 and 0.8.
    const std::vector<double> U = knots(2, 0, 1, {{0.3, 2}, {0.45, 1}, {0.6, 3}, {0.8, 1}});
    CURVE *c = make_curve(ws, 2, U, kind.three_d, kind.rational, rng);
    CURVE **parts = nullptr;
    int32_t last = -5;
    ASSERT_EQ(N_tooccp(c, &parts, &last, ws), 0);
    ASSERT_EQ(last, 2);
    const double cuts[] = {0, 0.3, 0.6, 1};
    for (int k = 0; k <= 2; ++k) {
      EXPECT_EQ(parts[k]->knt->U[0], cuts[k]);
      EXPECT_EQ(parts[k]->knt->U[parts[k]->knt->m], cuts[k + 1]);
      // Inside each component the curve is reproduced; at a break the
      // component takes the one-sided limit from its own side.
      for (double u : params(cuts[k], cuts[k + 1], c->knt)) {
        const int side = u == cuts[k + 1] ? 2 : 1;
        EXPECT_LT(dist(eval(c, u, side), eval(parts[k], u, side)), 1e-12 * size_of(c)) << k << u;
      }
    }
    // The corner point is shared exactly; no blending took place.
    EXPECT_TRUE(same_cpoint(parts[0]->pol->Pw[parts[0]->pol->n], parts[1]->pol->Pw[0]));
    EXPECT_TRUE(same_cpoint(parts[0]->pol->Pw[0], c->pol->Pw[0]));
  }
}

TEST(CurveComponents, WithoutJointsOnePieceEqualToTheCurve) {
  std::mt19937 rng(52);
  Workspace ws;
  CURVE *c = make_curve(ws, 3, knots(3, 0, 1, {{0.2, 1}, {0.5, 2}}), true, false, rng);
  CURVE **parts = nullptr;
  int32_t last = -5;
  ASSERT_EQ(N_tooccp(c, &parts, &last, ws), 0);
  ASSERT_EQ(last, 0);
  ASSERT_EQ(parts[0]->pol->n, c->pol->n);
  for (int32_t i = 0; i <= c->pol->n; ++i)
    EXPECT_TRUE(same_cpoint(parts[0]->pol->Pw[i], c->pol->Pw[i]));
  EXPECT_EQ(knot_values(parts[0]->knt), knot_values(c->knt));
  // Degree 1: every interior knot is a joint.
  CURVE *poly = make_curve(ws, 1, knots(1, 0, 1, {{0.2, 1}, {0.7, 1}}), false, false, rng);
  ASSERT_EQ(N_tooccp(poly, &parts, &last, ws), 0);
  EXPECT_EQ(last, 2);
}
