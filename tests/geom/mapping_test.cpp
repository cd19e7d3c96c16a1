// Euclidean images of control polygons and nets: values, sub-ranges, the
// index errors and an allocation failure.
#include "geom/geom_test_util.hpp"

using namespace geom_test;
using orvo_test::kWNR;
using orvo_test::kZ2D;
using orvo_test::Workspace;

namespace {

class Mapping : public GeomTest {};

TEST_F(Mapping, CurvePolygon) {
  Workspace ws;
  CPOINT Pw[] = {{0, 0, 0, 1}, {2, 4, 6, 2}, {3, 6, kZ2D, 3}, {1, 1, 1, 0.5}};
  double U[] = {0, 0, 0, 0, 1, 1, 1, 1};
  CURVE cur;
  ASSERT_EQ(U_makcu2(&cur, Pw, 3, 3, U, 7, ws), 0);
  PPOLYGON ppl;
  ASSERT_EQ(U_mapcpl(&cur, 1, 3, &ppl, ws), 0);
  EXPECT_EQ(ppl.n, 2);
  ExpectXyz(ppl.pts[0], 1, 2, 3);
  ExpectXyz(ppl.pts[1], 1, 2, 0);  // a 2-D point gets z = 0
  ExpectXyz(ppl.pts[2], 2, 2, 2);
  EXPECT_TRUE(orvo_test::on_list(ws.ws, 9, ppl.pts));  // a p1d in the caller's ws

  CPOINT Nr[] = {{5, 6, 7, kWNR}};
  ASSERT_EQ(U_makcu2(&cur, Nr, 0, 0, U, 1, ws), 0);
  ASSERT_EQ(U_mapcpl(&cur, 0, 0, &ppl, ws), 0);
  EXPECT_EQ(ppl.n, 0);
  ExpectXyz(ppl.pts[0], 5, 6, 7);
}

TEST_F(Mapping, CurveIndexErrors) {
  Workspace ws;
  CPOINT Pw[] = {{0, 0, 0, kWNR}, {1, 0, 0, kWNR}, {2, 0, 0, kWNR}};
  double U[] = {0, 0, 0, 1, 1, 1};
  CURVE cur;
  ASSERT_EQ(U_makcu2(&cur, Pw, 2, 2, U, 5, ws), 0);
  PPOLYGON ppl{-5, nullptr};
  const int32_t bad[][2] = {{-1, 1}, {2, 1}, {0, 3}, {3, 3}};
  for (const auto &r : bad) {
    E_clrerr();
    EXPECT_EQ(U_mapcpl(&cur, r[0], r[1], &ppl, ws), 1);
    EXPECT_TRUE(HasError(7, "U_MAPCPL"));
  }
  EXPECT_EQ(ppl.n, -5);
  EXPECT_EQ(orvo_test::total_blocks(ws.ws), 2u);  // only the curve's records
}

TEST_F(Mapping, SurfaceNet) {
  Workspace ws;
  CPOINT row0[] = {{0, 0, 0, 1}, {0, 2, 0, 2}, {0, 3, 3, 1}};
  CPOINT row1[] = {{2, 0, 0, 2}, {1, 1, 1, 1}, {4, 4, 4, 4}};
  CPOINT *Pw[] = {row0, row1};
  double U[] = {0, 0, 1, 1}, V[] = {0, 0, 0, 1, 1, 1};
  SURFACE sur;
  ASSERT_EQ(U_maksu2(&sur, Pw, 1, 2, 1, 2, U, V, 3, 5, ws), 0);
  PNET net;
  ASSERT_EQ(U_mapcnt(&sur, 0, 1, 1, 2, &net, ws), 0);
  EXPECT_EQ(net.n, 1);
  EXPECT_EQ(net.m, 1);
  ExpectXyz(net.rows[0][0], 0, 1, 0);
  ExpectXyz(net.rows[0][1], 0, 3, 3);
  ExpectXyz(net.rows[1][0], 1, 1, 1);
  ExpectXyz(net.rows[1][1], 1, 1, 1);
  EXPECT_TRUE(orvo_test::on_list(ws.ws, 10, net.rows));  // p2d row table

  const int32_t bad[][4] = {{-1, 1, 0, 2}, {1, 0, 0, 2}, {0, 2, 0, 2},
                            {0, 1, -1, 2}, {0, 1, 2, 1}, {0, 1, 0, 3}};
  for (const auto &r : bad) {
    E_clrerr();
    EXPECT_EQ(U_mapcnt(&sur, r[0], r[1], r[2], r[3], &net, ws), 1);
    EXPECT_TRUE(HasError(7, "U_MAPCNT"));
  }
}

TEST_F(Mapping, AllocationFailure) {
  Workspace ws;
  CPOINT Pw[] = {{0, 0, 0, kWNR}, {1, 0, 0, kWNR}};
  double U[] = {0, 0, 1, 1};
  CURVE cur;
  ASSERT_EQ(U_makcu2(&cur, Pw, 1, 1, U, 3, ws), 0);
  PPOLYGON ppl;
  orvo::detail::fail_allocation_at(1);
  EXPECT_EQ(U_mapcpl(&cur, 0, 1, &ppl, ws), 1);
  EXPECT_TRUE(HasError(15, "S_GETP1D"));

  CPOINT row[] = {{0, 0, 0, kWNR}, {1, 0, 0, kWNR}};
  CPOINT *net[] = {row, row};
  SURFACE sur;
  ASSERT_EQ(U_maksu2(&sur, net, 1, 1, 1, 1, U, U, 3, 3, ws), 0);
  PNET pn;
  orvo::detail::fail_allocation_at(1);
  EXPECT_EQ(U_mapcnt(&sur, 0, 1, 0, 1, &pn, ws), 1);
  EXPECT_TRUE(HasError(15, "S_GETP2D"));
}

}  // namespace
