// 3-D vector arithmetic: exact values, algebraic identities, normalisation
// of extreme vectors and the error of zero-length vectors.
#include <cmath>

#include "arith/arith_test_util.hpp"

using namespace arith_test;

namespace {

class Vectors : public ::testing::Test {
 protected:
  void SetUp() override { E_clrerr(); }
};

TEST_F(Vectors, ElementaryOperations) {
  const VECTOR a{1, 2, 3}, b{4, 5, 6};
  VECTOR v;
  G_vecmak(1, 2, 3, &v);
  ExpectXyz(v, 1, 2, 3);
  G_veccop(b, &v);
  ExpectXyz(v, 4, 5, 6);
  G_vecsum(a, b, &v);
  ExpectXyz(v, 5, 7, 9);
  G_vecdif(a, b, &v);
  ExpectXyz(v, -3, -3, -3);
  G_vecdir(a, b, &v);  // from a to b
  ExpectXyz(v, 3, 3, 3);
  G_vecsca(a, -2, &v);
  ExpectXyz(v, -2, -4, -6);
  G_vecscp(&a, 0.5, &v);
  ExpectXyz(v, 0.5, 1, 1.5);
  G_veccmb(2, a, -1, b, &v);
  ExpectXyz(v, -2, -1, 0);
  G_vecrev(a, &v);
  ExpectXyz(v, -1, -2, -3);
  G_vecper(a, &v);
  ExpectXyz(v, -2, 1, 0);
  POINT p;
  G_vecpfv(POINT{1, 1, 1}, 2.0, b, &p);
  ExpectXyz(p, 9, 11, 13);

  double s;
  G_vecdot(a, b, &s);
  EXPECT_EQ(s, 32);
  G_vecdop(&a, &b, &s);
  EXPECT_EQ(s, 32);
  G_vecmag(VECTOR{2, 3, 6}, &s);
  EXPECT_EQ(s, 7);
  const VECTOR c{1, 4, 8};
  G_vecmap(&c, &s);
  EXPECT_EQ(s, 9);
}

TEST_F(Vectors, DifferenceOfControlPoints) {
  VECTOR v;
  G_vecdcp(CPOINT{4, 6, 8, 2}, CPOINT{1, 1, 1, kNR}, &v);
  ExpectXyz(v, 1, 2, 3);
  G_vecdcp(CPOINT{4, 6, kZ2, 2}, CPOINT{1, 1, kZ2, kNR}, &v);  // 2-D z counts as 0
  ExpectXyz(v, 1, 2, 0);
}

TEST_F(Vectors, CrossAndTripleProduct) {
  VECTOR v;
  G_veccro(VECTOR{1, 0, 0}, VECTOR{0, 1, 0}, &v);
  ExpectXyz(v, 0, 0, 1);
  const VECTOR a{1, 2, 3}, b{-2, 0.5, 4};
  VECTOR ab, ba;
  G_veccro(a, b, &ab);
  G_veccrp(&b, &a, &ba);
  ExpectXyz(ab, -ba.x, -ba.y, -ba.z);
  double da, db;
  G_vecdot(ab, a, &da);
  G_vecdot(ab, b, &db);
  EXPECT_EQ(da, 0.0);
  EXPECT_EQ(db, 0.0);
  // (a x b) . c is the determinant of the rows a, b, c
  const VECTOR c{3, -1, 2};
  double mix;
  G_vecmix(a, b, c, &mix);
  const double det =
      a.x * (b.y * c.z - b.z * c.y) - a.y * (b.x * c.z - b.z * c.x) + a.z * (b.x * c.y - b.y * c.x);
  EXPECT_DOUBLE_EQ(mix, det);
}

TEST_F(Vectors, PointerFormsWorkInPlace) {
  VECTOR a{1, 2, 3};
  const VECTOR b{4, 5, 6};
  G_veccrp(&a, &b, &a);
  ExpectXyz(a, -3, 6, -3);
  G_vecscp(&a, 2.0, &a);
  ExpectXyz(a, -6, 12, -6);
  G_vecrvp(&a);
  ExpectXyz(a, 6, -12, 6);
  VECTOR c{0, 3, 4};
  ASSERT_EQ(G_vecnip(&c), 0);
  ExpectXyz(c, 0, 0.6, 0.8);
}

TEST_F(Vectors, NormaliseExtremeLengths) {
  VECTOR v;
  ASSERT_EQ(G_vecnor(VECTOR{3, 0, 4}, &v), 0);
  ExpectXyz(v, 0.6, 0, 0.8);
  ASSERT_EQ(G_vecnor(VECTOR{1e-300, 0, 0}, &v), 0);
  ExpectXyz(v, 1, 0, 0);
  // the squares of these underflow or overflow; the unit vector is still found
  ASSERT_EQ(G_vecnor(VECTOR{0, -3e-200, 4e-200}, &v), 0);
  ExpectNearXyz(v, 0, -0.6, 0.8, 1e-15);
  ASSERT_EQ(G_vecnor(VECTOR{3e200, 4e200, 0}, &v), 0);
  ExpectNearXyz(v, 0.6, 0.8, 0, 1e-15);
  double m;
  G_vecmag(VECTOR{3e200, 4e200, 0}, &m);
  EXPECT_DOUBLE_EQ(m, 5e200);
  G_vecmag(VECTOR{0, 3e-200, 4e-200}, &m);
  EXPECT_DOUBLE_EQ(m, 5e-200);
}

TEST_F(Vectors, ZeroLengthIsRefused) {
  VECTOR v{7, 7, 7};
  EXPECT_EQ(G_vecnor(VECTOR{0, 0, 0}, &v), 1);
  EXPECT_EQ(LastError(), Err("G_VECNOR", 17));
  ExpectXyz(v, 7, 7, 7);

  VECTOR a{0, 0, 0};
  EXPECT_EQ(G_vecnip(&a), 1);
  EXPECT_EQ(LastError(), Err("G_VECNIP", 17));
  ExpectXyz(a, 0, 0, 0);

  double c = 5;
  EXPECT_EQ(G_veccos(VECTOR{1, 0, 0}, VECTOR{0, 0, 0}, &c), 1);
  EXPECT_EQ(LastError(), Err("G_VECCOS", 17));
  EXPECT_EQ(G_veccos(VECTOR{0, 0, 0}, VECTOR{1, 0, 0}, &c), 1);
  EXPECT_EQ(c, 5);

  VECTOR bad{NAN, 0, 0};
  EXPECT_EQ(G_vecnip(&bad), 1);
  EXPECT_EQ(LastError(), Err("G_VECNIP", 17));
}

TEST_F(Vectors, CosineIsClampedAndScaleFree) {
  double c;
  ASSERT_EQ(G_veccos(VECTOR{1, 0, 0}, VECTOR{2, 0, 0}, &c), 0);
  EXPECT_EQ(c, 1.0);
  ASSERT_EQ(G_veccos(VECTOR{0.1, 0.7, 0.3}, VECTOR{0.3, 2.1, 0.9}, &c), 0);
  EXPECT_LE(c, 1.0);
  EXPECT_NEAR(c, 1.0, 1e-15);
  ASSERT_EQ(G_veccos(VECTOR{0.1, 0.7, 0.3}, VECTOR{-0.2, -1.4, -0.6}, &c), 0);
  EXPECT_GE(c, -1.0);
  EXPECT_NEAR(c, -1.0, 1e-15);
  ASSERT_EQ(G_veccos(VECTOR{1, 0, 0}, VECTOR{0, 5, 0}, &c), 0);
  EXPECT_EQ(c, 0.0);
  ASSERT_EQ(G_veccos(VECTOR{1, 1, 0}, VECTOR{1, 0, 0}, &c), 0);
  EXPECT_NEAR(c, std::sqrt(0.5), 1e-15);
  // vectors whose dot product and lengths underflow still have an angle
  ASSERT_EQ(G_veccos(VECTOR{1e-200, 1e-200, 0}, VECTOR{3e-200, 0, 0}, &c), 0);
  EXPECT_NEAR(c, std::sqrt(0.5), 1e-15);
  ASSERT_EQ(G_veccos(VECTOR{1e200, 0, 1e200}, VECTOR{0, 0, 1e300}, &c), 0);
  EXPECT_NEAR(c, std::sqrt(0.5), 1e-15);
}

}  // namespace
