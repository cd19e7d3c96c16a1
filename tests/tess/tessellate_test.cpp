// Trimmed-surface tessellation: a table of surfaces and trimmings, each
// mesh checked by the validator; the flat patch's two triangles, refused
// inputs followed by a good call, and a trimming curve that stalls a
// polyline walk which does not watch its progress.
#include <unistd.h>

#include <cstdlib>

#include "tess/mesh_validator.hpp"

using namespace tesstest;
using orvo_test::expect_error;
using orvo_test::Workspace;

namespace {

const double kTrel = 1e-4;

// The star outer loop with its knots moved to 1e15 + [0, 1], where a
// double takes eight values only. 0 for a mesh of finite points or a
// refusal with an error code, 3 otherwise; SIGALRM when it hangs.
int hostile_run() {
  alarm(5);
  E_clrerr();
  auto S = make_surface(2);
  Trims T(&S->sur);
  const Loops L{{T('s', .5, .5, .45)}};
  for (double &u : T.store.back().U) u += 1e15;
  Workspace ws;
  Mesh m;
  const char *tag = nullptr;
  int32_t code = 0;
  if (tessellate(&S->sur, L, 1e-3, 1e-3, kTrel, m, &ws) != 0)
    return E_GetOrvoError(&tag, &code), code != 0 ? 0 : 3;
  for (int32_t i = 0; i <= m.np; ++i)
    if (!std::isfinite(m.u[i] + m.v[i])) return 3;
  return 0;
}

}  // namespace

TEST(Tessellate, MeshesOfTrimmedSurfacesAreValid) {
  std::unique_ptr<SurfaceData> S[3] = {make_surface(0), make_surface(1), make_surface(2)};
  Trims P(&S[0]->sur), C(&S[1]->sur), F(&S[2]->sur);
  const double tol[3] = {2e-3, 2e-3, 3e-3};  // chord and flatness, 1e-3 of the size
  const struct {
    const char *name;
    int surface;
    Loops loops;
  } cases[] = {
      {"plane, circle hole", 0, {{P('b'), P('c', .5, .5, .25)}}},
      {"barrel, circle hole", 1, {{C('b'), C('c', .5, .5, .2)}}},
      {"free-form, star hole", 2, {{F('b'), F('s', .45, .55, -.3)}}},
      {"free-form, two holes", 2, {{F('b'), F('c', .25, .28, .14), F('s', .65, .6, .25)}}},
      {"free-form, star outer loop", 2, {{F('s', .5, .5, -.45)}}},
      {"two regions", 2, {{F('s', .27, .5, .22), F('c', .27, .5, .08)}, {F('c', .76, .5, .2)}}},
  };
  for (const auto &k : cases) {
    SCOPED_TRACE(k.name);
    Workspace ws;
    Mesh m;
    const double t = tol[k.surface];
    if (tessellate(&S[k.surface]->sur, k.loops, t, t, kTrel, m, &ws) == 0) {
      validate(&S[k.surface]->sur, k.loops, m, t, t, kTrel);
    } else {
      ADD_FAILURE() << error_text();
      E_clrerr();
    }
  }
}

TEST(Tessellate, RefusalsLeaveNothingBehindAndAFlatPatchGivesTwoTriangles) {
  auto P = make_surface(0), C = make_surface(1);
  Trims TP(&P->sur), TC(&C->sur);
  Workspace ws;
  Mesh m;
  const Loops bare{{TP('b')}};
  EXPECT_EQ(tessellate(&C->sur, {{TC('b')}}, 0, 1e-3, kTrel, m, &ws), 1);
  expect_error(19, "N_TESPTC");
  EXPECT_EQ(tessellate(&P->sur, bare, 1e-3, 0, kTrel, m, &ws), 1);
  expect_error(19, "N_TESSUB");
  // A hole of three polygon points: out to (.6, .6) and back.
  CURVE *spike = TP.add({{.3, .3, 0}, {.6, .6, 0}, {.3, .3, 0}}, {0, 0, .5, 1, 1}, 1);
  EXPECT_EQ(tessellate(&P->sur, {{TP('b'), {spike}}}, 1e-3, 1e-3, kTrel, m, &ws), 1);
  expect_error(19, "N_TESSUR");

  ASSERT_EQ(tessellate(&P->sur, bare, 1e-3, 1e-3, kTrel, m, &ws), 0) << error_text();
  int32_t *pts, np = -1, *t[3], nt = -1;
  ASSERT_EQ(N_tesbap(m.nb, m.c, m.np, &pts, &np, &ws), 0);
  ASSERT_EQ(N_tesbat(m.nb, m.c, m.np, &t[0], &t[1], &t[2], &nt, &ws), 0);
  EXPECT_EQ(np, 3);
  EXPECT_EQ(nt, 1);
  validate(&P->sur, bare, m, 1e-3, 1e-3, kTrel);
}

TEST(TessellateDeathTest, StalledTrimmingCurveWalkEnds) {
  EXPECT_EXIT(std::_Exit(hostile_run()), ::testing::ExitedWithCode(0), "");
}
