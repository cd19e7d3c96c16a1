// Workspace lists, tracked allocation, early release and reallocation,
// including allocation failure at every step.
#include <vector>

#include "core/internal.hpp"
#include "test_support.hpp"

using namespace orvo_test;
using orvo::detail::fail_allocation_at;

namespace {

// Disarms the failure hook whatever the test does.
struct FailureGuard {
  ~FailureGuard() { fail_allocation_at(0); }
};

}  // namespace

TEST(Workspace, InitAndReleaseAreIdempotent) {
  STACKS ws;
  std::memset(&ws, 0xAB, sizeof ws);
  EXPECT_EQ(N_inurbs(&ws), &ws);
  EXPECT_EQ(total_blocks(ws), 0u);
  N_enurbs(&ws);
  N_enurbs(&ws);
  ASSERT_NE(S_getr1d(3, &ws), nullptr);
  N_enurbs(&ws);
  EXPECT_EQ(total_blocks(ws), 0u);
  ASSERT_NE(S_getr1d(3, &ws), nullptr);  // reusable without another init
  N_enurbs(&ws);
}

TEST(Workspace, BlocksLandOnTheirLists) {
  Workspace ws;
  EXPECT_TRUE(on_list(ws.ws, 0, S_getf1d(2, &ws)));
  EXPECT_TRUE(on_list(ws.ws, 5, S_getr1d(2, &ws)));
  EXPECT_TRUE(on_list(ws.ws, 11, S_getc1d(2, &ws)));
  EXPECT_TRUE(on_list(ws.ws, 23, S_getkpa(2, &ws)));
  CPOINT **net = S_getc2d(2, 3, &ws);
  EXPECT_TRUE(on_list(ws.ws, 12, net));
  EXPECT_TRUE(on_list(ws.ws, 11, net[0]));
  EXPECT_TRUE(on_list(ws.ws, 13, S_getcus(&ws)));
  EXPECT_TRUE(on_list(ws.ws, 29, S_getcma(1, 1, 0, 1, &ws)));
  double ****r4 = S_getr4d(1, 2, 1, 2, &ws);
  EXPECT_TRUE(on_list(ws.ws, 8, r4));
  EXPECT_TRUE(on_list(ws.ws, 7, r4[0]));
  EXPECT_TRUE(on_list(ws.ws, 6, r4[0][0]));
  EXPECT_TRUE(on_list(ws.ws, 5, r4[0][0][0]));
}

TEST(Workspace, MultiDimensionalArraysIndexOneContiguousBlock) {
  Workspace ws;
  double **a = S_getr2d(3, 4, &ws);
  ASSERT_NE(a, nullptr);
  for (int i = 0; i <= 3; ++i) EXPECT_EQ(a[i], a[0] + i * 5);
  double ***b = S_getr3d(2, 3, 4, &ws);
  ASSERT_NE(b, nullptr);
  for (int i = 0; i <= 2; ++i)
    for (int j = 0; j <= 3; ++j) EXPECT_EQ(b[i][j], b[0][0] + (i * 4 + j) * 5);
  double ****c = S_getr4d(1, 2, 3, 4, &ws);
  ASSERT_NE(c, nullptr);
  for (int i = 0; i <= 1; ++i)
    for (int j = 0; j <= 2; ++j)
      for (int k = 0; k <= 3; ++k) EXPECT_EQ(c[i][j][k], c[0][0][0] + ((i * 3 + j) * 4 + k) * 5);
  c[1][2][3][4] = 7.0;  // the last element exists
  EXPECT_EQ(c[0][0][0][119], 7.0);
  // An empty array (highest index -1) is still a distinct releasable block.
  double *empty = S_getr1d(-1, &ws);
  EXPECT_NE(empty, nullptr);
  int32_t **empty2 = S_geti2d(-1, 3, &ws);
  ASSERT_NE(empty2, nullptr);
  U_kili2d(empty2, &ws);
  EXPECT_EQ(list_size(ws.ws, 3), 0u);
  EXPECT_EQ(list_size(ws.ws, 2), 0u);
}

TEST(Allocation, BadSizesFailWithError15) {
  Workspace ws;
  E_clrerr();
  EXPECT_EQ(S_getr1d(-2, &ws), nullptr);
  EXPECT_TRUE(HasError(15, "S_GETR1D"));
  EXPECT_EQ(S_getc2d(3, -5, &ws), nullptr);
  EXPECT_TRUE(HasError(15, "S_GETC2D"));
  // Byte counts that overflow are refused, not wrapped.
  EXPECT_EQ(S_getr4d(INT32_MAX - 1, INT32_MAX - 1, INT32_MAX - 1, 10, &ws), nullptr);
  EXPECT_TRUE(HasError(15, "S_GETR4D"));
  EXPECT_EQ(S_getr3d(INT32_MAX - 1, INT32_MAX - 1, INT32_MAX - 1, &ws), nullptr);
  EXPECT_TRUE(HasError(15, "S_GETR3D"));
  EXPECT_EQ(S_getcu2(1, 1, 3, -3, &ws), nullptr);
  EXPECT_TRUE(HasError(15, "S_GETCU2"));
  EXPECT_EQ(total_blocks(ws.ws), 0u);
}

TEST(Allocation, PrimitiveFailureLeavesNothingBehind) {
  FailureGuard guard;
  struct Case {
    const char *tag;
    int allocations;  // blocks + nodes
    void *(*make)(STACKS *);
  };
  const Case cases[] = {
      {"S_GETR1D", 2, [](STACKS *ws) -> void * { return S_getr1d(4, ws); }},
      {"S_GETI1P", 2, [](STACKS *ws) -> void * { return S_geti1p(4, ws); }},
      {"S_GETCUS", 2, [](STACKS *ws) -> void * { return S_getcus(ws); }},
      {"S_GETC2D", 4, [](STACKS *ws) -> void * { return S_getc2d(4, 2, ws); }},
      {"S_GETR2P", 4, [](STACKS *ws) -> void * { return S_getr2p(4, 2, ws); }},
      {"S_GETR3D", 6, [](STACKS *ws) -> void * { return S_getr3d(1, 2, 3, ws); }},
      {"S_GETR4D", 8, [](STACKS *ws) -> void * { return S_getr4d(1, 2, 3, 1, ws); }},
  };
  for (const Case &c : cases) {
    for (int k = 1; k <= c.allocations; ++k) {
      Workspace ws;
      E_clrerr();
      fail_allocation_at(k);
      EXPECT_EQ(c.make(&ws), nullptr) << c.tag << " step " << k;
      EXPECT_TRUE(HasError(15, c.tag)) << " step " << k;
      EXPECT_EQ(total_blocks(ws.ws), 0u) << c.tag << " step " << k;
    }
    Workspace ws;
    fail_allocation_at(c.allocations + 1);
    EXPECT_NE(c.make(&ws), nullptr) << c.tag;
    fail_allocation_at(0);
  }
}

TEST(Allocation, CompositeFailureKeepsFinishedSteps) {
  FailureGuard guard;
  {
    // S_getcur: polygon record, points, knot record, knots, curve record.
    Workspace ws;
    fail_allocation_at(5);  // the knot record's block
    EXPECT_EQ(S_getcur(3, 2, 6, &ws), nullptr);
    EXPECT_TRUE(HasError(15, "S_GETKNS"));
    EXPECT_EQ(list_size(ws.ws, 20), 1u);  // polygon record kept
    EXPECT_EQ(list_size(ws.ws, 11), 1u);  // its points kept
    EXPECT_EQ(list_size(ws.ws, 22), 0u);
    EXPECT_EQ(list_size(ws.ws, 13), 0u);
  }
  {
    // S_getcu2: the pointer table is untracked until every curve exists.
    Workspace ws;
    fail_allocation_at(1 + 10 + 3);  // table, one whole curve, then a step of the second
    EXPECT_EQ(S_getcu2(3, 2, 6, 2, &ws), nullptr);
    EXPECT_EQ(list_size(ws.ws, 13), 1u);  // the first curve stays
    EXPECT_EQ(list_size(ws.ws, 14), 0u);  // the table is not left behind
  }
  {
    Workspace ws;
    fail_allocation_at(1);
    EXPECT_EQ(S_getkn2(4, 2, &ws), nullptr);
    EXPECT_TRUE(HasError(15, "S_GETKN2"));
    EXPECT_EQ(total_blocks(ws.ws), 0u);
  }
  {
    Workspace ws;
    SURFACE ***grid = S_getsu3(2, 2, 1, 1, 4, 4, 1, 2, &ws);
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(list_size(ws.ws, 17), 6u);
    EXPECT_EQ(grid[1][2]->net->n, 2);
    EXPECT_TRUE(on_list(ws.ws, 19, grid));
    EXPECT_TRUE(on_list(ws.ws, 18, grid[0]));
  }
  {
    // A matrix record whose element storage was made keeps it.
    Workspace ws;
    fail_allocation_at(5);
    EXPECT_EQ(S_getrma(2, 2, 0, 1, &ws), nullptr);
    EXPECT_TRUE(HasError(15, "S_GETRMA"));
    EXPECT_EQ(list_size(ws.ws, 6), 1u);
    EXPECT_EQ(list_size(ws.ws, 27), 0u);
  }
}

TEST(EarlyRelease, UnlinksFromTheMiddleAndKeepsOrder) {
  Workspace ws;
  double *a = S_getr1d(1, &ws);
  double *b = S_getr1d(1, &ws);
  double *c = S_getr1d(1, &ws);
  U_kilr1d(b, &ws);
  ASSERT_EQ(list_size(ws.ws, 5), 2u);
  EXPECT_EQ(ws.ws.head[5]->block, c);
  EXPECT_EQ(ws.ws.head[5]->next->block, a);
  double unknown = 0.0;
  U_kilr1d(&unknown, &ws);  // not on the list: nothing happens
  U_kilr1d(nullptr, &ws);
  EXPECT_EQ(list_size(ws.ws, 5), 2u);
  U_kilr1d(c, &ws);
  EXPECT_EQ(ws.ws.head[5]->block, a);
  U_kilr1d(a, &ws);
  EXPECT_EQ(ws.ws.head[5], nullptr);
}

TEST(EarlyRelease, TwoDimensionalArraysTakeTheirDataAlong) {
  Workspace ws;
  POINT **p = S_getp2d(2, 2, &ws);
  CPOINT **keep = S_getc2d(1, 1, &ws);
  U_kilp2d(p, &ws);
  EXPECT_EQ(list_size(ws.ws, 9), 0u);
  EXPECT_EQ(list_size(ws.ws, 10), 0u);
  int32_t ***ip = S_geti2p(2, 3, &ws);
  U_kili2p(ip, &ws);
  EXPECT_EQ(list_size(ws.ws, 3), 0u);
  EXPECT_EQ(list_size(ws.ws, 4), 0u);
  EXPECT_EQ(list_size(ws.ws, 12), 1u);
  EXPECT_TRUE(on_list(ws.ws, 11, keep[0]));
}

TEST(EarlyRelease, RecordPartsGoTheRecordStays) {
  Workspace ws;
  CURVE *cur = S_getcur(4, 3, 8, &ws);
  ASSERT_NE(cur, nullptr);
  U_kilcur(cur, &ws);
  EXPECT_EQ(list_size(ws.ws, 13), 1u);
  EXPECT_EQ(total_blocks(ws.ws), 1u);
  SURFACE *sur = S_getsur(2, 3, 1, 1, 4, 5, &ws);
  U_kilsur(sur, &ws);
  EXPECT_EQ(total_blocks(ws.ws), 2u);
  CFUNCTION f;
  U_inicfn(&f);
  ASSERT_EQ(U_getcfn(&f, 3, 2, 6, &ws), 0);
  U_kilcfn(&f, &ws);
  SFUNCTION g;
  U_inisfn(&g);
  ASSERT_EQ(U_getsfn(&g, 3, 2, 1, 1, 5, 4, &ws), 0);
  U_kilsfn(&g, &ws);
  EXPECT_EQ(total_blocks(ws.ws), 2u);
}

TEST(Reallocation, CopiesTheCommonRange) {
  Workspace ws;
  double *a = S_getr1d(9, &ws);
  for (int i = 0; i <= 9; ++i) a[i] = i;
  double *old = a;
  ASSERT_EQ(U_ralr1d(&a, 9, 4, &ws), 0);
  EXPECT_NE(a, old);
  for (int i = 0; i <= 4; ++i) EXPECT_EQ(a[i], i);
  EXPECT_EQ(list_size(ws.ws, 5), 1u);  // the old array is released
  ASSERT_EQ(U_ralr1d(&a, 4, 9, &ws), 0);
  for (int i = 0; i <= 4; ++i) EXPECT_EQ(a[i], i);

  CPOINT **c = S_getc2d(2, 3, &ws);
  for (int i = 0; i <= 2; ++i)
    for (int j = 0; j <= 3; ++j) c[i][j] = CPOINT{double(i), double(j), kZ2D, kWNR};
  ASSERT_EQ(U_ralc2d(&c, 2, 3, 4, 1, &ws), 0);
  for (int i = 0; i <= 2; ++i)
    for (int j = 0; j <= 1; ++j) {
      EXPECT_EQ(c[i][j].x, i);
      EXPECT_EQ(c[i][j].y, j);
      EXPECT_EQ(c[i][j].z, kZ2D);
      EXPECT_EQ(c[i][j].w, kWNR);
    }
  EXPECT_EQ(list_size(ws.ws, 12), 1u);
  EXPECT_EQ(list_size(ws.ws, 11), 1u);
}

TEST(Reallocation, FailureLeavesTheArray) {
  FailureGuard guard;
  Workspace ws;
  int32_t *a = S_geti1d(3, &ws);
  for (int i = 0; i <= 3; ++i) a[i] = 10 + i;
  int32_t *before = a;
  fail_allocation_at(1);
  EXPECT_EQ(U_rali1d(&a, 3, 7, &ws), 1);
  EXPECT_TRUE(HasError(15, "S_GETI1D"));
  EXPECT_EQ(a, before);
  EXPECT_EQ(a[3], 13);
}
