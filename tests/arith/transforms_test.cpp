// 4x4 homogeneous transforms: applying them to points and control points
// (with the 2-D and weight rules and every storage type), and building
// translations, rotations, planar motions and changes of frame, checked
// against independent computations and geometric invariants.
#include <cmath>

#include "arith/arith_test_util.hpp"
#include "core/internal.hpp"

using namespace arith_test;
using orvo::detail::LocalStacks;

namespace {

constexpr double kPi = 3.141592653589793;

using Mat = double[4][4];

class Transforms : public ::testing::Test {
 protected:
  void SetUp() override {
    E_clrerr();
    M_inirma(&T);
  }
  void TearDown() override { orvo::detail::fail_allocation_at(0); }

  // A full 4x4 record in ws filled from M.
  RMATRIX Make(const Mat &M) {
    RMATRIX R;
    M_inirma(&R);
    EXPECT_EQ(M_getrma(&R, 3, 3, 0, 4, ws), 0);
    for (int i = 0; i < 4; ++i)
      for (int j = 0; j < 4; ++j) R.a[i][j] = M[i][j];
    return R;
  }

  POINT Apply(const RMATRIX &M, POINT p) {
    POINT r{NAN, NAN, NAN};
    EXPECT_EQ(A_trapoi(p, &M, &r), 0);
    return r;
  }

  LocalStacks ws;
  RMATRIX T;
};

double Dist(const POINT &a, const POINT &b) {
  return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) +
                   (a.z - b.z) * (a.z - b.z));
}

// Rotation of p by deg degrees about the axis through c along the unit k,
// by Rodrigues' formula: v cos + (k x v) sin + k (k.v)(1 - cos).
POINT Rodrigues(POINT p, POINT c, VECTOR k, double deg) {
  const double t = deg * kPi / 180.0, co = std::cos(t), si = std::sin(t);
  const double vx = p.x - c.x, vy = p.y - c.y, vz = p.z - c.z;
  const double kv = k.x * vx + k.y * vy + k.z * vz;
  const double cx = k.y * vz - k.z * vy, cy = k.z * vx - k.x * vz, cz = k.x * vy - k.y * vx;
  return POINT{c.x + vx * co + cx * si + k.x * kv * (1 - co),
               c.y + vy * co + cy * si + k.y * kv * (1 - co),
               c.z + vz * co + cz * si + k.z * kv * (1 - co)};
}

// The upper-left 3x3 block is orthonormal with determinant +1 and row 3 is
// (0, 0, 0, 1).
void ExpectRigid(const RMATRIX &M) {
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      double d = 0;
      for (int k = 0; k < 3; ++k) d += M.a[i][k] * M.a[j][k];
      EXPECT_NEAR(d, i == j ? 1.0 : 0.0, 1e-14) << i << "," << j;
    }
  double **a = M.a;
  const double det = a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) -
                     a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
                     a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
  EXPECT_NEAR(det, 1.0, 1e-14);
  ExpectXyz(POINT{a[3][0], a[3][1], a[3][2]}, 0, 0, 0);
  EXPECT_EQ(a[3][3], 1.0);
}

// ---- Rotation -----------------------------------------------------------------

TEST_F(Transforms, QuarterTurnAboutZ) {
  ASSERT_EQ(G_tragnr(POINT{0, 0, 0}, VECTOR{0, 0, 1}, 90.0, &T, ws), 0);
  EXPECT_EQ(T.n, 3);
  EXPECT_EQ(T.m, 3);
  EXPECT_EQ(T.type, 0);
  ExpectNearXyz(Apply(T, POINT{1, 0, 0}), 0, 1, 0, 1e-15);
  ExpectNearXyz(Apply(T, POINT{0, 1, 0}), -1, 0, 0, 1e-15);
  ExpectNearXyz(Apply(T, POINT{0, 0, 5}), 0, 0, 5, 1e-15);
  ExpectRigid(T);
}

TEST_F(Transforms, RotationAboutAxisThroughPoint) {
  const POINT c{1, -2, 0.5};
  const VECTOR d{1, 2, 2};  // length 3; the routine normalises it
  const double deg = 37.0;
  ASSERT_EQ(G_tragnr(c, d, deg, &T, ws), 0);
  ExpectRigid(T);

  // points of the axis stay where they are
  ExpectNearXyz(Apply(T, c), c.x, c.y, c.z);
  const POINT on{c.x + 2.5 * d.x, c.y + 2.5 * d.y, c.z + 2.5 * d.z};
  ExpectNearXyz(Apply(T, on), on.x, on.y, on.z);

  // other points go where Rodrigues' formula sends them, at unchanged
  // distances from each other and from the axis point
  const POINT pts[] = {{0, 0, 0}, {3, 1, -4}, {-2.5, 7, 1}, {10, -10, 3}};
  const VECTOR k{1.0 / 3, 2.0 / 3, 2.0 / 3};
  POINT img[4];
  for (int i = 0; i < 4; ++i) {
    img[i] = Apply(T, pts[i]);
    const POINT e = Rodrigues(pts[i], c, k, deg);
    ExpectNearXyz(img[i], e.x, e.y, e.z);
    EXPECT_NEAR(Dist(img[i], c), Dist(pts[i], c), 1e-12);
  }
  for (int i = 0; i < 4; ++i)
    for (int j = i + 1; j < 4; ++j) EXPECT_NEAR(Dist(img[i], img[j]), Dist(pts[i], pts[j]), 1e-12);
}

TEST_F(Transforms, OppositeAnglesUndoEachOther) {
  RMATRIX back;
  M_inirma(&back);
  const POINT c{0.5, 0.25, -1};
  const VECTOR d{-1, 0.3, 0.7};
  ASSERT_EQ(G_tragnr(c, d, 123.0, &T, ws), 0);
  ASSERT_EQ(G_tragnr(c, d, -123.0, &back, ws), 0);
  const POINT p{4, -3, 2};
  const POINT r = Apply(back, Apply(T, p));
  ExpectNearXyz(r, p.x, p.y, p.z);
}

TEST_F(Transforms, ZeroAxisIsRefusedBeforeAllocating) {
  EXPECT_EQ(G_tragnr(POINT{1, 2, 3}, VECTOR{0, 0, 0}, 45.0, &T, ws), 1);
  EXPECT_EQ(LastError(), Err("G_TRAGNR", 17));
  EXPECT_EQ(M_isrman(&T), 1);
}

// ---- Translation and planar motion ------------------------------------------

TEST_F(Transforms, TranslationTakesPToQ) {
  ASSERT_EQ(G_tratrl(POINT{1, 2, 3}, POINT{4, 0, -1}, &T, ws), 0);
  ExpectXyz(Apply(T, POINT{1, 2, 3}), 4, 0, -1);
  ExpectXyz(Apply(T, POINT{0, 0, 0}), 3, -2, -4);
  const Mat expect = {{1, 0, 0, 3}, {0, 1, 0, -2}, {0, 0, 1, -4}, {0, 0, 0, 1}};
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) EXPECT_EQ(T.a[i][j], expect[i][j]);
}

TEST_F(Transforms, PlanarMotion) {
  const POINT p0{1, 2, 7}, p1{-3, 0.5, 0};
  const double a0 = 0.3, a1 = 2.1;
  const VECTOR d0{std::cos(a0), std::sin(a0), 0}, d1{std::cos(a1), std::sin(a1), 0};
  ASSERT_EQ(G_travec(p0, d0, p1, d1, &T, ws), 0);
  ExpectNearXyz(Apply(T, p0), p1.x, p1.y, 0);
  // a point one unit along d0 from p0 lands one unit along d1 from p1
  const POINT q = Apply(T, POINT{p0.x + d0.x, p0.y + d0.y, 3});
  ExpectNearXyz(q, p1.x + d1.x, p1.y + d1.y, 0);
  // distances in the plane are kept and every z maps to 0
  const POINT u{5, -1, 2}, v{-2, 4, -9};
  const POINT tu = Apply(T, u), tv = Apply(T, v);
  EXPECT_EQ(tu.z, 0.0);
  EXPECT_EQ(tv.z, 0.0);
  EXPECT_NEAR(Dist(tu, tv), Dist(POINT{u.x, u.y, 0}, POINT{v.x, v.y, 0}), 1e-12);
}

// ---- Change of frame ---------------------------------------------------------

// An orthonormal right-handed frame from a rotation.
void Frame(RMATRIX &R, VECTOR &X, VECTOR &Y, VECTOR &Z) {
  X = VECTOR{R.a[0][0], R.a[1][0], R.a[2][0]};
  Y = VECTOR{R.a[0][1], R.a[1][1], R.a[2][1]};
  Z = VECTOR{R.a[0][2], R.a[1][2], R.a[2][2]};
}

TEST_F(Transforms, FrameChangeMapsFrameOntoFrame) {
  RMATRIX r1, r2;
  M_inirma(&r1);
  M_inirma(&r2);
  ASSERT_EQ(G_tragnr(POINT{0, 0, 0}, VECTOR{1, 1, 0}, 30.0, &r1, ws), 0);
  ASSERT_EQ(G_tragnr(POINT{0, 0, 0}, VECTOR{0, -1, 2}, 200.0, &r2, ws), 0);
  VECTOR X1, Y1, Z1, X2, Y2, Z2;
  Frame(r1, X1, Y1, Z1);
  Frame(r2, X2, Y2, Z2);
  const POINT O1{1, 2, 3}, O2{-4, 0.5, 2};
  ASSERT_EQ(G_traort(O1, X1, Y1, Z1, O2, X2, Y2, Z2, &T, ws), 0);
  ExpectRigid(T);

  // O1 + a X1 + b Y1 + c Z1 goes to O2 + a X2 + b Y2 + c Z2
  const double coords[][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {2, -3, 0.5}};
  for (const auto &k : coords) {
    const POINT from{O1.x + k[0] * X1.x + k[1] * Y1.x + k[2] * Z1.x,
                     O1.y + k[0] * X1.y + k[1] * Y1.y + k[2] * Z1.y,
                     O1.z + k[0] * X1.z + k[1] * Y1.z + k[2] * Z1.z};
    const POINT to{O2.x + k[0] * X2.x + k[1] * Y2.x + k[2] * Z2.x,
                   O2.y + k[0] * X2.y + k[1] * Y2.y + k[2] * Z2.y,
                   O2.z + k[0] * X2.z + k[1] * Y2.z + k[2] * Z2.z};
    ExpectNearXyz(Apply(T, from), to.x, to.y, to.z);
  }

  // the reverse change of frame is the inverse matrix
  RMATRIX inv;
  M_inirma(&inv);
  ASSERT_EQ(G_traort(O2, X2, Y2, Z2, O1, X1, Y1, Z1, &inv, ws), 0);
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      double s = 0;
      for (int k = 0; k < 4; ++k) s += inv.a[i][k] * T.a[k][j];
      EXPECT_NEAR(s, i == j ? 1.0 : 0.0, 1e-14);
    }
}

TEST_F(Transforms, FrameChangeFromWorldAxesIsItsColumns) {
  const VECTOR X2{0, 1, 0}, Y2{-1, 0, 0}, Z2{0, 0, 1};
  ASSERT_EQ(G_traort(POINT{0, 0, 0}, VECTOR{1, 0, 0}, VECTOR{0, 1, 0}, VECTOR{0, 0, 1},
                     POINT{1, 2, 3}, X2, Y2, Z2, &T, ws),
            0);
  const Mat expect = {{0, -1, 0, 1}, {1, 0, 0, 2}, {0, 0, 1, 3}, {0, 0, 0, 1}};
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) EXPECT_EQ(T.a[i][j], expect[i][j]);
}

// ---- Applying matrices ----------------------------------------------------------

TEST_F(Transforms, PointIsDividedByHomogeneousRow) {
  const Mat M = {{1, 0, 0, 1}, {0, 2, 0, 0}, {0, 0, 1, 0}, {0, 0, 1, 1}};
  const RMATRIX R = Make(M);
  ExpectXyz(Apply(R, POINT{3, 2, 1}), 2, 2, 0.5);  // h = z + 1 = 2
}

TEST_F(Transforms, TwoDControlPointIgnoresRowAndColumnTwo) {
  // quarter turn about z and a shift by (1, 1); row 2 and column 2 are junk
  const Mat M = {{0, -1, NAN, 1}, {1, 0, NAN, 1}, {NAN, NAN, NAN, NAN}, {0, 0, NAN, 1}};
  const RMATRIX R = Make(M);
  CPOINT r;
  ASSERT_EQ(A_tracpt(CPOINT{2, 4, kZ2, 2}, &R, &r), 0);  // Euclidean (1, 2)
  ExpectCpt(r, -2, 4, kZ2, 2);
  ASSERT_EQ(A_tracpt(CPOINT{1, 2, kZ2, kNR}, &R, &r), 0);
  ExpectCpt(r, -1, 2, kZ2, kNR);
}

TEST_F(Transforms, RationalControlPointKeepsItsWeight) {
  ASSERT_EQ(G_tragnr(POINT{1, 0, 0}, VECTOR{0, 1, 1}, 70.0, &T, ws), 0);
  const CPOINT q{0.6, -1.2, 2.4, 0.3};
  CPOINT r;
  ASSERT_EQ(A_tracpt(q, &T, &r), 0);
  const POINT e = Apply(T, POINT{q.x / q.w, q.y / q.w, q.z / q.w});
  EXPECT_NEAR(r.x, e.x * q.w, 1e-13);
  EXPECT_NEAR(r.y, e.y * q.w, 1e-13);
  EXPECT_NEAR(r.z, e.z * q.w, 1e-13);
  EXPECT_EQ(r.w, q.w);

  // a non-rational control point is transformed like a POINT and stays so
  ASSERT_EQ(A_tracpt(CPOINT{1, 2, 3, kNR}, &T, &r), 0);
  const POINT f = Apply(T, POINT{1, 2, 3});
  ExpectCpt(r, f.x, f.y, f.z, kNR);

  // the result may be written over the input
  CPOINT s = q;
  ASSERT_EQ(A_tracpt(s, &T, &s), 0);
  EXPECT_NEAR(s.x, e.x * q.w, 1e-13);
  POINT p{1, 2, 3};
  ASSERT_EQ(A_trapoi(p, &T, &p), 0);
  ExpectXyz(p, f.x, f.y, f.z);
}

TEST_F(Transforms, StorageTypesAreHonoured) {
  // lower-left: the unused upper triangle holds junk and counts as zero
  RMATRIX L;
  M_inirma(&L);
  ASSERT_EQ(M_getrma(&L, 3, 3, 1, 4, ws), 0);
  const Mat lower = {{2, NAN, NAN, NAN}, {1, 1, NAN, NAN}, {0, 0, 1, NAN}, {0, 0, 0, 1}};
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) L.a[i][j] = lower[i][j];
  ExpectXyz(Apply(L, POINT{1, 2, 3}), 2, 3, 3);

  // banded, half width 1: element (i, j) at a[i][j - i + 1]
  RMATRIX B;
  M_inirma(&B);
  ASSERT_EQ(M_getrma(&B, 3, 3, 3, 3, ws), 0);
  for (int i = 0; i < 4; ++i) B.a[i][0] = B.a[i][1] = B.a[i][2] = NAN;
  B.a[0][1] = 1;  // (0,0)
  B.a[0][2] = 1;  // (0,1)
  B.a[1][1] = 1;  // (1,1)
  B.a[2][1] = 1;  // (2,2)
  B.a[3][0] = 0;  // (3,2)
  B.a[3][1] = 1;  // (3,3)
  B.a[1][0] = B.a[1][2] = B.a[2][0] = B.a[2][2] = 0;
  ExpectXyz(Apply(B, POINT{1, 2, 3}), 3, 2, 3);
}

TEST_F(Transforms, UnusableMatrixOrDivisorIsRefused) {
  POINT p{9, 9, 9};
  CPOINT q{9, 9, 9, 9};
  EXPECT_EQ(A_trapoi(POINT{1, 2, 3}, &T, &p), 1);  // holds no matrix
  EXPECT_EQ(LastError(), Err("A_TRAPOI", 7));
  EXPECT_EQ(A_tracpt(CPOINT{1, 2, 3, 1}, nullptr, &q), 1);
  EXPECT_EQ(LastError(), Err("A_TRACPT", 7));

  RMATRIX small;
  M_inirma(&small);
  ASSERT_EQ(M_getrma(&small, 2, 2, 0, 3, ws), 0);
  EXPECT_EQ(A_tracpt(CPOINT{1, 2, 3, 1}, &small, &q), 1);
  EXPECT_EQ(LastError(), Err("A_TRACPT", 7));

  const Mat flat = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 0}};
  RMATRIX Z = Make(flat);
  EXPECT_EQ(A_trapoi(POINT{1, 2, 3}, &Z, &p), 1);  // h = 0
  EXPECT_EQ(LastError(), Err("A_TRAPOI", 11));
  EXPECT_EQ(A_tracpt(CPOINT{1, 2, kZ2, kNR}, &Z, &q), 1);
  EXPECT_EQ(LastError(), Err("A_TRACPT", 11));
  Z.type = 7;  // not a storage type
  EXPECT_EQ(A_trapoi(POINT{1, 2, 3}, &Z, &p), 1);
  EXPECT_EQ(LastError(), Err("A_TRAPOI", 7));

  ASSERT_EQ(G_tratrl(POINT{0, 0, 0}, POINT{1, 1, 1}, &T, ws), 0);
  EXPECT_EQ(A_tracpt(CPOINT{1, 2, 3, 0}, &T, &q), 1);  // weight 0
  EXPECT_EQ(LastError(), Err("A_TRACPT", 11));

  ExpectXyz(p, 9, 9, 9);
  ExpectCpt(q, 9, 9, 9, 9);
}

// ---- The output record ----------------------------------------------------------

TEST_F(Transforms, HeldRecordIsReused) {
  ASSERT_EQ(G_tratrl(POINT{0, 0, 0}, POINT{1, 1, 1}, &T, ws), 0);
  double **table = T.a;
  ASSERT_EQ(G_tragnr(POINT{0, 0, 0}, VECTOR{0, 0, 1}, 90.0, &T, ws), 0);
  EXPECT_EQ(T.a, table);
  ExpectNearXyz(Apply(T, POINT{1, 0, 0}), 0, 1, 0, 1e-15);
}

TEST_F(Transforms, TooSmallRecordIsRefused) {
  ASSERT_EQ(M_getrma(&T, 2, 2, 0, 3, ws), 0);
  T.a[0][0] = 42;
  EXPECT_EQ(G_tratrl(POINT{0, 0, 0}, POINT{1, 1, 1}, &T, ws), 1);
  EXPECT_EQ(LastError(), Err("G_TRATRL", 9));
  EXPECT_EQ(T.n, 2);
  EXPECT_EQ(T.a[0][0], 42);

  // a banded record has rows of bw entries only: too short for 4 columns
  RMATRIX B;
  M_inirma(&B);
  ASSERT_EQ(M_getrma(&B, 3, 3, 3, 1, ws), 0);
  EXPECT_EQ(G_traort(POINT{0, 0, 0}, VECTOR{1, 0, 0}, VECTOR{0, 1, 0}, VECTOR{0, 0, 1},
                     POINT{0, 0, 0}, VECTOR{1, 0, 0}, VECTOR{0, 1, 0}, VECTOR{0, 0, 1}, &B, ws),
            1);
  EXPECT_EQ(LastError(), Err("G_TRAORT", 9));
  EXPECT_EQ(G_travec(POINT{0, 0, 0}, VECTOR{1, 0, 0}, POINT{0, 0, 0}, VECTOR{1, 0, 0}, &B, ws), 1);
  EXPECT_EQ(LastError(), Err("G_TRAVEC", 9));
}

TEST_F(Transforms, AllocationFailureIsReported) {
  orvo::detail::fail_allocation_at(1);
  EXPECT_EQ(G_tragnr(POINT{0, 0, 0}, VECTOR{0, 0, 1}, 10.0, &T, ws), 1);
  orvo::detail::fail_allocation_at(0);
  EXPECT_EQ(LastError(), Err("S_GETR2D", 15));
  EXPECT_EQ(M_isrman(&T), 1);
}

}  // namespace
