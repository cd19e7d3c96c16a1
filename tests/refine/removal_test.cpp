// Knot removal: round trips with insertion, refusals, the tolerance bound
// on the change of shape, and the failure paths.
#include "refine/refine_test_util.hpp"

using namespace refinetest;
using orvo_test::Workspace;

namespace {

// Every point and knot of a record, bit for bit.
std::vector<double> bits(const CURVE *c) {
  std::vector<double> v(c->knt->U, c->knt->U + c->knt->m + 1);
  for (int32_t i = 0; i <= c->pol->n; ++i)
    v.insert(v.end(), &c->pol->Pw[i].x, &c->pol->Pw[i].x + 4);
  return v;
}
std::vector<double> bits(const SURFACE *s) {
  std::vector<double> v = knot_values(s->knu), k = knot_values(s->knv);
  v.insert(v.end(), k.begin(), k.end());
  for (int32_t i = 0; i <= s->net->n; ++i)
    for (int32_t j = 0; j <= s->net->m; ++j)
      v.insert(v.end(), &s->net->Pw[i][j].x, &s->net->Pw[i][j].x + 4);
  return v;
}
bool same_bits(const std::vector<double> &a, const std::vector<double> &b) {
  return a.size() == b.size() && !std::memcmp(a.data(), b.data(), a.size() * sizeof(double));
}

// The points of b equal those of a to 1e-12 relative, the knots exactly.
::testing::AssertionResult same_points(const CURVE *a, const CURVE *b) {
  const KNOTVECTOR *ka = a->knt, *kb = b->knt;
  if (ka->m != kb->m || !std::equal(ka->U, ka->U + ka->m + 1, kb->U))
    return ::testing::AssertionFailure() << "knots";
  for (int32_t i = 0; i <= a->pol->n; ++i)
    if (dist(euclid(a->pol->Pw[i]), euclid(b->pol->Pw[i])) > 1e-12 * size_of(a))
      return ::testing::AssertionFailure() << "point " << i;
  return ::testing::AssertionSuccess();
}

// Greatest distance between a and b at dense parameters.
double deviation(const CURVE *a, const CURVE *b) {
  double worst = 0.0;
  for (double u : params(a->knt->U[0], a->knt->U[a->knt->m], a->knt, 400))
    worst = std::max(worst, dist(eval(a, u), eval(b, u)));
  return worst;
}
double deviation(const SURFACE *a, const SURFACE *b) {
  double worst = 0.0;
  for (double u : params(0.5, 3.0, a->knu, 30))
    for (double v : params(0.5, 3.0, a->knv, 30))
      worst = std::max(worst, dist(eval(a, u, v), eval(b, u, v)));
  return worst;
}

}  // namespace

// u inserted r times (at a new value, and once at an existing knot) comes
// out again, into a separate record and in place.
TEST(KnotRemoval, CurveRoundTrip) {
  for_random_curves({1, 2, 3, 4, 5}, true, [](int p, int lay, CURVE *c, STACKS *ws) {
    const double at_knot = lay == 0 ? 2.0 : lay == 1 ? 1.0 : 1.25;  // a simple knot or none
    for (auto [u, r] : {std::pair{1.3, p}, std::pair{2.9, 1}, std::pair{at_knot, 1}}) {
      if (p == 1 && u == at_knot && lay) continue;  // already p copies
      CURVE ins = empty_curve(), out = empty_curve();
      ASSERT_EQ(N_toocki(c, u, r, &ins, ws, ws), 0);
      int32_t removed = -1;
      ASSERT_EQ(N_toocrm(&ins, u, r + 3, 1e-9 * size_of(c), &removed, &out, ws), 0);
      EXPECT_EQ(removed, r) << p << " " << u;
      EXPECT_TRUE(same_points(c, &out)) << p << " " << u;
      ASSERT_EQ(N_toocrm(&ins, u, r, 1e-9 * size_of(c), &removed, &ins, ws), 0);
      EXPECT_TRUE(same_points(c, &ins));
    }
  });
}

TEST(KnotRemoval, SurfaceRoundTrip) {
  std::mt19937 rng(5);
  for (int p = 1; p <= 5; ++p)
    for (bool rat : {false, true})
      for (int16_t dir : {1, 2}) {
        Workspace ws;
        SURFACE *s = make_surface(ws, p, 6 - p, knots(p, 0.5, 3.0, layout(p, 1)),
                                  knots(6 - p, 0.5, 3.0, layout(6 - p, 2)), rat, rng);
        SURFACE ins = empty_surface(), out = empty_surface();
        const int r = std::min(2, dir == 1 ? p : 6 - p);
        ASSERT_EQ(N_tooski(s, 2.0, r, dir, &ins, ws, ws), 0);
        int32_t removed = -1;
        ASSERT_EQ(N_toosrm(&ins, 2.0, 3, 1e-9 * size_of(s), dir, &removed, &out, ws), 0);
        EXPECT_EQ(removed, r);
        EXPECT_TRUE(knot_values(s->knu) == knot_values(out.knu) &&
                    knot_values(s->knv) == knot_values(out.knv));
        EXPECT_LT(deviation(s, &out), 1e-12 * size_of(s));
      }
}

// A knot that does not fit the tolerance stays: nothing of the record
// changes, in place or not; a removal needing a weight of 20 is refused.
TEST(KnotRemoval, RefusedKnotsStay) {
  for_random_curves({2, 3}, true, [](int, int lay, CURVE *c, STACKS *ws) {
    if (lay != 1) return;
    const auto before = bits(c);
    CPOLYGON *pol = c->pol;
    CURVE out = empty_curve();
    int32_t removed = -1;
    ASSERT_EQ(N_toocrm(c, 1.0, 1, 1e-6, &removed, &out, ws), 0);
    EXPECT_TRUE(removed == 0 && same_bits(bits(&out), before));
    ASSERT_EQ(N_toocrm(c, 1.0, 1, 1e-6, &removed, c, ws), 0);
    EXPECT_TRUE(removed == 0 && c->pol == pol && same_bits(bits(c), before));
    double bound = 0.0;
    ASSERT_EQ(N_toocrb(c, 3 + (c->p == 3), 1, &bound), 0);
    EXPECT_GT(bound, 1e-6);
  });
  Workspace ws;
  evaltest::CurveData w({{0, 0, 0, 1}, {20, 20, 0, 20}, {2, 0, 0, 1}}, {0, 0, 0, 1, 1, 1}, 2);
  CURVE ins = empty_curve();
  int32_t removed = -1;
  ASSERT_EQ(N_toocki(&w.cur, 0.5, 1, &ins, ws, ws), 0);
  ASSERT_EQ(N_toocrm(&ins, 0.5, 1, 1e30, &removed, &ins, ws), 0);
  EXPECT_EQ(removed, 0);
  // One column that cannot pass keeps every column.
  std::mt19937 rng(3);
  SURFACE *s = make_surface(ws, 2, 2, knots(2, 0, 1, {}), knots(2, 0, 1, {}), false, rng);
  SURFACE sur = empty_surface();
  ASSERT_EQ(N_tooski(s, 0.5, 1, 1, &sur, ws, ws), 0);
  sur.net->Pw[2][1].x += 1.0;
  const auto sb = bits(&sur);
  ASSERT_EQ(N_toosrm(&sur, 0.5, 1, 1e-6, 1, &removed, &sur, ws), 0);
  EXPECT_TRUE(removed == 0 && same_bits(bits(&sur), sb));
  double bound = DBL_MAX;
  ASSERT_EQ(N_toosrb(&sur, 3, 1, 0, 2, 1, &bound), 0);
  EXPECT_NEAR(bound, 2.0, 1e-12);  // the right estimate moves by B = 2 times the shift
}

// Removing within a tolerance never moves the shape by more than it, for
// one value several times and for every knot, curves and surfaces; the
// records are refined and then jittered, so that knots go near the limit.
void jitter(CPOINT &q, std::mt19937 &rng) {
  std::uniform_real_distribution<double> noise(-0.01, 0.01);
  q.x += noise(rng);
  q.y += noise(rng);
}

TEST(KnotRemoval, ShapeStaysWithinTolerance) {
  std::mt19937 rng(6);
  int went = 0;
  for_random_curves({1, 2, 3, 4, 5}, true, [&](int p, int, CURVE *c, STACKS *ws) {
    CURVE g = empty_curve();
    ASSERT_EQ(N_toocki(c, 1.3, std::min(2, p), &g, ws, ws), 0);
    ASSERT_EQ(N_toocki(&g, 2.05, 1, &g, ws, ws), 0);
    for (int32_t i = 0; i <= g.pol->n; ++i) jitter(g.pol->Pw[i], rng);
    for (double tol : {0.003, 0.01, 0.03, 0.3}) {
      CURVE out = empty_curve(), all = empty_curve();
      int32_t removed = 0;
      ASSERT_EQ(N_toocrm(&g, 1.3, 9, tol, &removed, &out, ws), 0);
      ASSERT_EQ(N_toocra(&g, tol, &all, ws), 0);
      EXPECT_LE(deviation(&g, &out), tol);
      EXPECT_LE(deviation(&g, &all), tol);
      went += removed + g.knt->m - all.knt->m;
    }
  });
  for (int16_t dir : {1, 2, 3})
    for (double tol : {0.01, 0.03, 0.3}) {
      Workspace ws;
      SURFACE *s = make_surface(ws, 3, 2, knots(3, 0.5, 3.0, layout(3, 1)),
                                knots(2, 0.5, 3.0, layout(2, 2)), dir == 3, rng);
      ASSERT_EQ(N_tooski(s, 1.3, 1, 1, s, ws, ws) || N_tooski(s, 2.0, 1, 2, s, ws, ws), 0);
      for (int32_t i = 0; i <= s->net->n; ++i)
        for (int32_t j = 0; j <= s->net->m; ++j) jitter(s->net->Pw[i][j], rng);
      SURFACE out = empty_surface();
      ASSERT_EQ(N_toosra(s, tol, dir, &out, ws), 0);
      EXPECT_LE(deviation(s, &out), tol);
      went += s->knu->m + s->knv->m - out.knu->m - out.knv->m;
    }
  EXPECT_GT(went, 200);
}

// A Bezier curve refined with extra knots loses all of them again, in
// place; a knot of multiplicity p+1 between equal points goes without a
// change.
TEST(KnotRemoval, RemoveAllRestoresBezier) {
  std::mt19937 rng(4);
  for (int p = 1; p <= 5; ++p)
    for (const Kind &kind : kKinds) {
      Workspace ws;
      CURVE *c = make_curve(ws, p, knots(p, 0, 1, {}), kind.three_d, kind.rational, rng);
      CURVE ref = empty_curve();
      ASSERT_EQ(N_toocki(c, 0.3, p, &ref, ws, ws), 0);
      ASSERT_EQ(N_toocki(&ref, 0.7, 1, &ref, ws, ws), 0);
      ASSERT_EQ(N_toocra(&ref, 1e-9, &ref, ws), 0);
      EXPECT_TRUE(same_points(c, &ref)) << p;
    }
  Workspace ws;
  evaltest::CurveData k({{0, 0, DBL_MAX, -DBL_MAX},
                         {1, 1, DBL_MAX, -DBL_MAX},
                         {1, 1, DBL_MAX, -DBL_MAX},
                         {3, 0, DBL_MAX, -DBL_MAX}},
                        {0, 0, 0.5, 0.5, 1, 1}, 1);
  CURVE out = empty_curve();
  int32_t removed = 0;
  ASSERT_EQ(N_toocrm(&k.cur, 0.5, 2, 0.0, &removed, &out, ws), 0);
  // The copy between the equal points goes; the corner at (1, 1) stays.
  EXPECT_EQ(removed, 1);
  EXPECT_EQ(knot_values(out.knt), Knots({0, 0, 0.5, 1, 1}));
  EXPECT_TRUE(out.pol->n == 2 && out.pol->Pw[1].x == 1 && out.pol->Pw[2].x == 3);
}

TEST(KnotRemoval, Failures) {
  Workspace ws;
  std::mt19937 rng(1);
  CURVE *c = make_curve(ws, 2, knots(2, 0, 1, {{0.5, 1}}), false, false, rng);
  SURFACE *s = make_surface(ws, 2, 2, knots(2, 0, 1, {{0.5, 1}}), knots(2, 0, 1, {}), false, rng);
  CURVE out = empty_curve();
  SURFACE sout = empty_surface();
  int32_t removed = 0;
  double bound = 0.0;
  EXPECT_FAILS(N_toocrm(c, 1.0, 1, 1.0, &removed, &out, ws), 6, "N_TOOCRM");
  EXPECT_FAILS(N_toocrm(c, 0.5, 1, 1.0, nullptr, &out, ws), 14, "N_TOOCRM");
  EXPECT_FAILS(N_toosrm(s, 0.5, 1, 1.0, 3, &removed, &sout, ws), 13, "N_TOOSRM");
  EXPECT_FAILS(N_toocrb(c, 4, 1, &bound), 7, "N_TOOCRB");  // runs past the polygon
  EXPECT_FAILS(N_toocrb(c, 3, 2, &bound), 7, "N_TOOCRB");  // not the multiplicity
  EXPECT_FAILS(N_toosrb(s, 3, 1, 0, 5, 1, &bound), 7, "N_TOOSRB");
  EXPECT_FAILS(N_toosra(s, 1.0, 4, &sout, ws), 13, "N_TOOSRA");
  CURVE small = *make_curve(ws, 1, knots(1, 0, 1, {}), false, false, rng);
  EXPECT_FAILS(N_toocra(c, 1e9, &small, ws), 9, "N_TOOCRA");
  // A ratio that overflows: the bound fails, removal keeps the knot.
  CURVE *f = make_curve(ws, 2, {0, 0, 0, 1e-300, 1e300, 1e300, 1e300}, false, false, rng);
  EXPECT_FAILS(N_toocrb(f, 3, 1, &bound), 11, "N_TOOCRB");
  EXPECT_TRUE(N_toocrm(f, 1e-300, 1, 1e300, &removed, f, ws) == 0 && removed == 0);
  // Every allocation failure leaves the records as they were.
  CURVE ins = empty_curve();
  ASSERT_EQ(N_toocki(c, 0.25, 1, &ins, ws, ws), 0);
  fail_each_allocation([&] { return N_toocra(&ins, 1.0, &ins, ws); }, [&] { return bits(&ins); });
  fail_each_allocation([&] { return N_toosra(s, 1.0, 3, s, ws); }, [&] { return bits(s); });
}
