// The IGES writer: files it writes read back to the same control points,
// weights and knots; records it cannot describe are refused.
#include <cmath>
#include <fstream>

#include "lib/iges_file.hpp"
#include "test_support.hpp"

namespace {

using orvo::tools::IgesModel;

// Euclidean coordinates and weight of a stored control point (z 0 in 2-D).
std::array<double, 4> euclid(const CPOINT &c) {
  const double w = c.w == orvo_test::kWNR ? 1.0 : c.w;
  const double z = c.z == orvo_test::kZ2D ? 0.0 : c.z;
  return {c.x / w, c.y / w, z / w, w};
}

void expect_same_points(const CPOINT &a, const CPOINT &b) {
  EXPECT_EQ(a.w == orvo_test::kWNR, b.w == orvo_test::kWNR);
  EXPECT_EQ(a.z == orvo_test::kZ2D, b.z == orvo_test::kZ2D);
  const auto p = euclid(a), q = euclid(b);
  for (int k = 0; k < 4; ++k) EXPECT_NEAR(p[k], q[k], 1e-15 * (1 + std::fabs(p[k])));
}

void expect_same_knots(const KNOTVECTOR *a, const KNOTVECTOR *b) {
  ASSERT_EQ(a->m, b->m);
  for (int32_t i = 0; i <= a->m; ++i) EXPECT_EQ(a->U[i], b->U[i]) << i;
}

TEST(IgesWrite, ReadsBackTheSameGeometry) {
  orvo_test::Workspace ws;
  // A 2-D rational quarter circle with knots off [0, 1], a 3-D cubic with
  // an interior knot and awkward coordinates, a rational quadratic x
  // linear surface.
  const double T1[] = {2, 2, 2, 5, 5, 5}, W1[] = {1.0, std::sqrt(0.5), 1.0}, V1[] = {2, 5};
  const POINT P1[] = {{1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
  const double T2[] = {0, 0, 0, 0, 1.0 / 3, 1, 1, 1, 1}, W2[] = {1, 1, 1, 1, 1}, V2[] = {0, 1};
  const POINT P2[] = {{0.1, -2e-7, 1e5}, {1.0 / 7, 3, M_PI}, {2, 2, 2}, {-1e-300, 4, 0}, {5, 5, 5}};
  CURVE c1, c2;
  U_inicur(&c1), U_inicur(&c2);
  ASSERT_EQ(N_igs126(2, 2, T1, W1, P1, V1, &c1, ws), 0);
  ASSERT_EQ(N_igs126(4, 3, T2, W2, P2, V2, &c2, ws), 0);
  double S[] = {0, 0, 0, 1, 1, 1}, T[] = {-1, -1, 2, 2};
  double w0[] = {1, 0.5}, w1[] = {std::sqrt(0.5), 0.25}, w2[] = {1, 2};
  POINT p0[] = {{2, 0, 0}, {2, 0, 3}}, p1[] = {{2, 2, 0}, {2, 2, 3}}, p2[] = {{0, 2, 0}, {0, 2, 3}};
  double *W[] = {w0, w1, w2};
  POINT *P[] = {p0, p1, p2};
  const double U[] = {0, 1}, V[] = {-1, 2};
  SURFACE s;
  U_inisur(&s);
  ASSERT_EQ(N_igs128(2, 1, 2, 1, S, T, W, P, U, V, &s, ws), 0);

  const std::string path = ::testing::TempDir() + "iges_round_trip.igs";
  std::string error;
  ASSERT_TRUE(orvo::tools::write_iges(path, {&c1, &c2}, {&s}, error)) << error;
  // Every record is 80 columns wide.
  std::ifstream in(path);
  int lines = 0;
  for (std::string line; std::getline(in, line); ++lines) EXPECT_EQ(line.size(), 80u) << lines;
  EXPECT_GT(lines, 8);

  IgesModel model;
  ASSERT_TRUE(orvo::tools::read_iges(path, {}, model, error)) << error;
  EXPECT_EQ(model.product, "orvo");
  ASSERT_EQ(model.curves.size(), 2u);
  ASSERT_EQ(model.surfaces.size(), 1u);
  const CURVE *in_c[] = {&c1, &c2};
  for (int k = 0; k < 2; ++k) {
    const CURVE *a = in_c[k], *b = model.curves[static_cast<size_t>(k)];
    ASSERT_EQ(a->p, b->p);
    ASSERT_EQ(a->pol->n, b->pol->n);
    for (int32_t i = 0; i <= a->pol->n; ++i) expect_same_points(a->pol->Pw[i], b->pol->Pw[i]);
    expect_same_knots(a->knt, b->knt);
  }
  const SURFACE *b = model.surfaces[0];
  ASSERT_TRUE(b->p == s.p && b->q == s.q && b->net->n == s.net->n && b->net->m == s.net->m);
  for (int32_t i = 0; i <= s.net->n; ++i)
    for (int32_t j = 0; j <= s.net->m; ++j) expect_same_points(s.net->Pw[i][j], b->net->Pw[i][j]);
  expect_same_knots(s.knu, b->knu);
  expect_same_knots(s.knv, b->knv);
  std::remove(path.c_str());
}

TEST(IgesWrite, RefusesRecordsItCannotDescribe) {
  orvo_test::Workspace ws;
  const double T[] = {0, 0, 1, 1}, Wt[] = {1, 1}, V[] = {0, 1};
  const POINT P[] = {{0, 0, 0}, {1, 1, 1}};
  CURVE bad_knots, not_finite;
  U_inicur(&bad_knots), U_inicur(&not_finite);
  ASSERT_EQ(N_igs126(1, 1, T, Wt, P, V, &bad_knots, ws), 0);
  ASSERT_EQ(N_igs126(1, 1, T, Wt, P, V, &not_finite, ws), 0);
  bad_knots.knt->U[1] = 2;  // decreasing
  not_finite.pol->Pw[1].y = HUGE_VAL;
  const std::string path = ::testing::TempDir() + "iges_refused.igs";
  const struct {
    const CURVE *curve;
    const char *message;
  } cases[] = {{&bad_knots, "curve 1 refused: write_iges: error 4"},
               {&not_finite, "record 1 holds a number that is not finite"}};
  for (const auto &c : cases) {
    std::string error;
    EXPECT_FALSE(orvo::tools::write_iges(path, {c.curve}, {}, error));
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
  }
  std::string error;
  EXPECT_FALSE(orvo::tools::write_iges("/nonexistent-dir/x.igs", {}, {}, error));
  EXPECT_NE(error.find("cannot be written"), std::string::npos) << error;
}

}  // namespace
