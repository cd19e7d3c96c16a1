// Axial deformations driven by a scalar spline function.
#include <cmath>

#include "test_support.hpp"

using namespace orvo_test;

namespace {

// f(t) = t on [0, 10], a linear function.
struct Identity {
  double values[2] = {0.0, 10.0};
  double U[4] = {0.0, 0.0, 10.0, 10.0};
  CVLIST cvl;
  KNOTVECTOR knt;
  CFUNCTION f;
  Identity() {
    U_makcvl(&cvl, values, 1);
    U_makknt(&knt, U, 3);
    U_makcf1(&f, &cvl, 1, &knt);
  }
};

POINT deform(const CFUNCTION &f, POINT P, double c, int16_t mode, int16_t axis, int16_t dir) {
  EXPECT_EQ(G_traaxl(&P, &f, c, mode, axis, dir), 0);
  return P;
}

}  // namespace

TEST(AxialDeformation, StretchTaperShift) {
  Identity id;
  POINT P{2, 3, 4};
  // Stretch along y by c * f(x) = 1.5 * 2.
  POINT S = deform(id.f, P, 1.5, 1, 1, 2);
  EXPECT_DOUBLE_EQ(S.y, 9.0);
  EXPECT_EQ(S.x, 2.0);
  EXPECT_EQ(S.z, 4.0);
  // Along the axis itself nothing moves.
  S = deform(id.f, P, 1.5, 1, 1, 1);
  EXPECT_EQ(S.x, 2.0);
  // Taper about z: x and y scaled by c * f(z) = 0.5 * 4.
  S = deform(id.f, P, 0.5, 2, 3, 1);
  EXPECT_DOUBLE_EQ(S.x, 4.0);
  EXPECT_DOUBLE_EQ(S.y, 6.0);
  EXPECT_EQ(S.z, 4.0);
  // Shift z by c * f(y) = 2 * 3.
  S = deform(id.f, P, 2.0, 4, 2, 3);
  EXPECT_DOUBLE_EQ(S.z, 10.0);
  S = deform(id.f, P, 2.0, 4, 2, 2);
  EXPECT_EQ(S.y, 3.0);
  // An unknown mode leaves the point.
  S = deform(id.f, P, 2.0, 9, 2, 2);
  EXPECT_EQ(S.x, 2.0);
  EXPECT_EQ(S.y, 3.0);
  EXPECT_EQ(S.z, 4.0);
}

TEST(AxialDeformation, TwistTurnsAboutTheAxis) {
  Identity id;
  // c * f(z) = 0.5: a quarter turn about z.
  POINT S = deform(id.f, POINT{1, 0, 0.5}, 1.0, 3, 3, 1);
  EXPECT_NEAR(S.x, 0.0, 1e-15);
  EXPECT_NEAR(S.y, 1.0, 1e-15);
  EXPECT_EQ(S.z, 0.5);
  // About x, (y, z) turns: (0, 1, 0) goes to (0, 0, 1) at a quarter turn.
  S = deform(id.f, POINT{0.5, 1, 0}, 1.0, 3, 1, 1);
  EXPECT_NEAR(S.y, 0.0, 1e-15);
  EXPECT_NEAR(S.z, 1.0, 1e-15);
  // About y, (x, z) becomes (x cos + z sin, z cos - x sin).
  S = deform(id.f, POINT{1, 0.5, 0}, 1.0, 3, 2, 1);
  EXPECT_NEAR(S.x, 0.0, 1e-15);
  EXPECT_NEAR(S.z, -1.0, 1e-15);
  // A twist keeps the distance from the axis.
  S = deform(id.f, POINT{0.3, -0.7, 2.2}, 0.37, 3, 3, 1);
  EXPECT_NEAR(std::hypot(S.x, S.y), std::hypot(0.3, -0.7), 1e-15);
}

TEST(AxialDeformation, BadCodesAndParameters) {
  Identity id;
  POINT P{2, 3, 4};
  E_clrerr();
  EXPECT_EQ(G_traaxl(&P, &id.f, 1.0, 1, 0, 1), 1);
  EXPECT_TRUE(HasError(13, "G_TRAAXL"));
  EXPECT_EQ(G_traaxl(&P, &id.f, 1.0, 1, 4, 1), 1);
  EXPECT_EQ(G_traaxl(&P, &id.f, 1.0, 1, 1, 0), 1);
  EXPECT_TRUE(HasError(13, "G_TRAAXL"));
  POINT far{11, 0, 0};
  EXPECT_EQ(G_traaxl(&far, &id.f, 1.0, 1, 1, 2), 1);  // x outside the function's range
  EXPECT_TRUE(HasError(6, "N_CFNEVN"));
  EXPECT_EQ(far.x, 11.0);
  EXPECT_EQ(P.x, 2.0);
}
