// Degree reduction of curves and surfaces.
#include "refine/refine_test_util.hpp"

using namespace refinetest;
using orvo_test::total_blocks;
using orvo_test::Workspace;

namespace {
// Greatest distance of b from a at equal parameters, sampled densely
// (reduction keeps the parametrisation).
double deviation(const CURVE *a, const CURVE *b) {
  double d = 0.0;
  for (double u : params(a->knt->U[0], a->knt->U[a->knt->m], a->knt, 400))
    d = std::max(d, dist(eval(a, u), eval(b, u)));
  return d;
}

double deviation(const SURFACE *a, const SURFACE *b) {
  double d = 0.0;
  for (double u : params(a->knu->U[0], a->knu->U[a->knu->m], a->knu, 40))
    for (double v : params(a->knv->U[0], a->knv->U[a->knv->m], a->knv, 40))
      d = std::max(d, dist(eval(a, u, v), eval(b, u, v)));
  return d;
}

// The bytes of a curve's points and knots, its sizes and array pointers.
std::string snapshot(const CURVE *c) {
  const void *ptrs[] = {c->pol->Pw, c->knt->U, &c->pol->n, &c->knt->m, &c->p};
  std::string s(reinterpret_cast<const char *>(c->pol->Pw), (c->pol->n + 1) * sizeof(CPOINT));
  s.append(reinterpret_cast<const char *>(c->knt->U), (c->knt->m + 1) * sizeof(double));
  return s.append(reinterpret_cast<const char *>(ptrs), sizeof ptrs) + std::to_string(c->p);
}

// Moves every control point of a line set by up to h (weights by up to
// h/4), keeping the markers.
void perturb(CPOINT *P, int32_t n, double h, std::mt19937 &rng) {
  std::uniform_real_distribution<double> d(-h, h);
  for (int32_t i = 0; i <= n; ++i) {
    CPOINT &q = P[i];
    const bool z2 = q.z == DBL_MAX, nr = q.w == -DBL_MAX;
    const double w = nr ? 1.0 : q.w * (1.0 + d(rng) / 4);
    const POINT e = euclid(q);
    q = CPOINT{(e.x + d(rng)) * w, (e.y + d(rng)) * w, z2 ? DBL_MAX : (e.z + d(rng)) * w,
               nr ? -DBL_MAX : w};
  }
}
}  // namespace

// Curves raised by one come back (points to 1e-10 relative, knots exactly),
// in place and into a separate record; raised and then moved a little, the
// reported error bounds the sampled deviation and stays within tol.
TEST(DegreeReduction, RoundTripAndTrueBound) {
  int reduced_count = 0, cases = 0;
  for_random_curves({1, 2, 3, 4}, true, [&](int p, int lay, CURVE *c, STACKS *ws) {
    const double size = size_of(c);
    std::mt19937 rng(p * 10 + lay);
    for (double h : {0.0, 1e-3, 1e-2, 5e-2}) {
      CURVE up = empty_curve(), out = empty_curve(), before = empty_curve();
      ASSERT_EQ(N_toocde(c, 1, &up, ws, ws), 0);
      perturb(up.pol->Pw, up.pol->n, h * size, rng);
      ASSERT_EQ(U_curcop(&up, &before, ws), 0);
      CURVE *res = lay == 1 ? &up : &out;
      int16_t reduced = -1;
      double maxerr = -1.0;
      const double tol = h == 0.0 ? 1e-10 * size : 0.5 * size;
      ASSERT_EQ(N_toocdr(&up, tol, &reduced, res, &maxerr, ws, ws), 0);
      ++cases;
      EXPECT_TRUE(reduced == 1 || h > 0.0) << p << " " << lay;
      if (!reduced) continue;
      ++reduced_count;
      EXPECT_TRUE(res->p == p && knot_values(res->knt) == knot_values(c->knt));
      EXPECT_LE(deviation(&before, res), maxerr * (1 + 1e-9) + 1e-13 * size) << p << lay << h;
      EXPECT_LE(maxerr, tol);
      for (int32_t i = 0; h == 0.0 && i <= c->pol->n; ++i)
        EXPECT_LE(dist(euclid(res->pol->Pw[i]), euclid(c->pol->Pw[i])), 1e-10 * size);
    }
  });
  EXPECT_GT(reduced_count, cases * 3 / 4);
}

// Surfaces raised in either direction come back; moved a little, the
// reported error bounds the sampled deviation. As far as tol allows:
// raised in u by one and in v by two, or in v only, they come back to
// their degrees (going on in v once u refuses), and moved a little they
// move by at most tol.
TEST(DegreeReduction, Surfaces) {
  std::mt19937 rng(8);
  const Knots U = knots(2, 0, 2, {{0.7, 1}, {1.2, 2}}), V = knots(3, -1, 1, {{0.0, 1}, {0.5, 3}});
  for (bool rat : {false, true})
    for (int16_t dir : {1, 2}) {
      Workspace ws;
      SURFACE *s = make_surface(ws, 2, 3, U, V, rat, rng);
      SURFACE up = empty_surface(), out = empty_surface(), before = empty_surface();
      int16_t reduced = -1;
      double maxerr = -1;
      ASSERT_EQ(N_toosde(s, 1, dir, &up, ws, ws), 0);
      ASSERT_EQ(N_toosdr(&up, 1e-10 * size_of(s), dir, &reduced, &out, &maxerr, ws, ws), 0);
      EXPECT_TRUE(reduced == 1 && out.p == 2 && out.q == 3 && same_surface(s, &out, 0, 2, -1, 1));
      EXPECT_TRUE(knot_values(out.knu) == U && knot_values(out.knv) == V);
      for (int32_t i = 0; i <= up.net->n; ++i) perturb(up.net->Pw[i], up.net->m, 1e-2, rng);
      ASSERT_EQ(U_surcop(&up, &before, ws), 0);
      ASSERT_EQ(N_toosdr(&up, 1.0, dir, &reduced, &up, &maxerr, ws, ws), 0);
      EXPECT_TRUE(reduced == 1 && up.p == 2 && up.q == 3) << rat << dir;
      EXPECT_LE(deviation(&before, &up), maxerr * (1 + 1e-9) + 1e-13);
    }
  const Knots U2 = knots(2, 0, 1, {{0.4, 1}}), V2 = knots(2, 0, 1, {{0.5, 2}});
  for (bool rat : {false, true})
    for (int tu : {0, 1}) {
      Workspace ws;
      SURFACE *s = make_surface(ws, 2, 2, U2, V2, rat, rng);
      SURFACE up = empty_surface(), out = empty_surface();
      ASSERT_EQ(N_toosde(s, tu, 1, &up, ws, ws), 0);
      ASSERT_EQ(N_toosde(&up, 2, 2, &up, ws, ws), 0);
      ASSERT_EQ(N_toosda(&up, 1e-9, &out, ws, ws), 0);
      EXPECT_TRUE(out.p == 2 && out.q == 2 && same_surface(s, &out, 0, 1, 0, 1)) << rat << tu;
      for (int32_t i = 0; i <= up.net->n; ++i) perturb(up.net->Pw[i], up.net->m, 1e-3, rng);
      ASSERT_EQ(N_toosda(&up, 0.05, &up, ws, ws), 0);
      EXPECT_TRUE(up.p < 2 + tu || up.q < 4);
      EXPECT_LE(deviation(s, &up), 0.05 + 2e-3);
    }
}

// A refused reduction changes nothing, in place or with a separate output
// (empty or already sized), and allocates nothing: a curve not made by
// elevation at a small tol, a degree-1 curve, a weight pushed out of range.
TEST(DegreeReduction, RefusalLeavesEverythingAsItWas) {
  std::mt19937 rng(3);
  Workspace ws;
  CURVE *cubic = make_curve(ws, 3, knots(3, 0, 1, {{0.3, 1}, {0.6, 2}}), true, true, rng);
  CURVE *line = make_curve(ws, 1, knots(1, 0, 1, {{0.5, 1}}), true, false, rng);
  CURVE *heavy = make_curve(ws, 3, knots(3, 0, 1, {{0.5, 1}}), true, true, rng), up = empty_curve();
  heavy->pol->Pw[2] = CPOINT{20, 20, 20, 20};
  ASSERT_EQ(N_toocde(heavy, 1, &up, ws, ws), 0);
  CURVE *sized = S_getcur(20, 5, 30, ws);
  for (auto [c, tol] : {std::pair{cubic, 1e-3}, {line, 1e3}, {&up, 1e3}}) {
    CURVE empty = empty_curve();
    const std::string before = snapshot(c), out_before = snapshot(sized);
    const size_t blocks = total_blocks(ws.ws);
    for (CURVE *out : {c, sized, &empty}) {
      int16_t reduced = -1;
      double maxerr = -1;
      ASSERT_EQ(N_toocdr(c, tol, &reduced, out, &maxerr, ws, ws), 0);
      EXPECT_EQ(reduced, 0);
      EXPECT_TRUE(c == line ? maxerr == 0.0 : c != cubic || maxerr > tol);
    }
    EXPECT_TRUE(snapshot(c) == before && snapshot(sized) == out_before && U_iscurn(&empty));
    EXPECT_EQ(total_blocks(ws.ws), blocks);
  }
}

// Reducing as far as tol allows: curves raised by three come back to their
// degree; a larger tol on a random curve moves it by at most tol; tol = 0
// does nothing.
TEST(DegreeReduction, RepeatedReductionStaysWithinTol) {
  for_random_curves({1, 2, 3}, true, [&](int p, int lay, CURVE *c, STACKS *ws) {
    const double size = size_of(c);
    CURVE up = empty_curve(), out = empty_curve(), far = empty_curve();
    ASSERT_EQ(N_toocde(c, 3, &up, ws, ws), 0);
    ASSERT_EQ(N_toocda(&up, 1e-9 * size, &out, ws, ws), 0);
    EXPECT_TRUE(out.p == p && same_curve(c, &out, 0.5, 3.0)) << p << " " << lay;
    ASSERT_EQ(N_toocda(c, 0.05 * size, &far, ws, ws), 0);
    EXPECT_LE(deviation(c, &far), 0.05 * size);
    const std::string before = snapshot(&up);
    ASSERT_EQ(N_toocda(&up, 0.0, &up, ws, ws), 0);
    EXPECT_EQ(snapshot(&up), before);
  });
}

// Each refused input once; an allocation failing at any point leaves the
// input, the output and the workspace as they were.
TEST(DegreeReduction, Failures) {
  std::mt19937 rng(6);
  Workspace ws;
  const Knots big{-1.5e308, -1.5e308, -1.5e308, -1.5e308, 0, 1.5e308, 1.5e308, 1.5e308, 1.5e308};
  CURVE *c = make_curve(ws, 3, knots(3, 0, 1, {{0.5, 1}}), true, true, rng);
  CURVE *open = make_curve(ws, 3, knots(3, 0, 1, {{0.5, 1}}, false), true, false, rng);
  CURVE *huge = make_curve(ws, 3, big, true, false, rng), *small = S_getcur(1, 1, 3, ws);
  SURFACE *s = make_surface(ws, 2, 2, knots(2, 0, 1, {}), knots(2, 0, 1, {{0.5, 1}}), true, rng);
  CURVE out = empty_curve(), up = empty_curve();
  SURFACE sout = empty_surface(), sup = empty_surface();
  int16_t red;
  double err;
  EXPECT_FAILS(N_toosdr(s, 1, 3, &red, &sout, &err, ws, ws), 13, "N_TOOSDR");
  EXPECT_FAILS(N_toocdr(open, 1, &red, &out, &err, ws, ws), 4, "N_TOOCDR");
  EXPECT_FAILS(N_toocdr(c, 1, nullptr, &out, &err, ws, ws), 14, "N_TOOCDR");
  EXPECT_FAILS(N_toocdr(c, 1e3, &red, small, &err, ws, ws), 9, "N_TOOCDR");
  EXPECT_FAILS(N_toocdr(huge, 1e300, &red, &out, &err, ws, ws), 11, "N_TOOCDR");
  EXPECT_FAILS(N_toocda(nullptr, 1, &out, ws, ws), 1, "N_TOOCDA");
  ASSERT_EQ(N_toocde(c, 1, &up, ws, ws), 0);
  c->pol->Pw[1].w = -1.0;
  EXPECT_FAILS(N_toocdr(c, 1, &red, &out, &err, ws, ws), 5, "N_TOOCDR");
  EXPECT_TRUE(U_iscurn(&out) && U_issurn(&sout) && small->pol->n == 1 && small->knt->m == 3);

  // Raised by two: two reductions within tol, the third refused.
  ASSERT_EQ(N_toocde(&up, 1, &up, ws, ws), 0);
  fail_each_allocation([&] { return N_toocda(&up, 1e-6, &up, ws, ws); },
                       [&] { return std::make_pair(snapshot(&up), total_blocks(ws.ws)); });
  EXPECT_EQ(up.p, 3);
  ASSERT_EQ(N_toosde(s, 1, 2, &sup, ws, ws), 0);
  fail_each_allocation([&] { return N_toosdr(&sup, 1e-9, 2, &red, &sup, &err, ws, ws); },
                       [&] { return std::make_pair(sup.net, total_blocks(ws.ws)); });
  EXPECT_TRUE(sup.p == 2 && sup.q == 2 && red == 1);
}
