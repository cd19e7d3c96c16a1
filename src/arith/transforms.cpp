// 4x4 homogeneous transformation matrices: applying one to a point or a
// control point, and building translations, rotations, planar motions and
// changes of frame. Matrices are stored row-major, T[row][column], and act
// on column vectors (x, y, z, 1).
#include <cmath>

#include "arith/point_ops.hpp"
#include "arith/vector_ops.hpp"

using namespace orvo::detail;

namespace {

using Mat4 = double[4][4];

constexpr double kPi = 3.141592653589793;

// Element (i, j) of a real matrix as its storage type defines it: the unused
// triangle of a triangular matrix and everything outside a band are zero.
// False for an unknown storage type.
bool element(const RMATRIX &T, int32_t i, int32_t j, double &v) {
  switch (T.type) {
    case 0:
      v = T.a[i][j];
      return true;
    case 1:
      v = j <= i ? T.a[i][j] : 0.0;
      return true;
    case 2:
      v = j >= i ? T.a[i][j] : 0.0;
      return true;
    case 3: {
      const int32_t h = T.bw / 2, slot = j - i + h;
      v = (slot >= 0 && slot < T.bw) ? T.a[i][slot] : 0.0;
      return true;
    }
    default:
      return false;
  }
}

// Copies the leading 4x4 block of T; false when T holds no such block, so
// that no element outside its table is ever read.
bool load(const RMATRIX *T, Mat4 &M) {
  if (!T || M_isrman(T) || T->n < 3 || T->m < 3) return false;
  for (int32_t i = 0; i < 4; ++i)
    for (int32_t j = 0; j < 4; ++j)
      if (!element(*T, i, j, M[i][j])) return false;
  return true;
}

// Homogeneous divisors must be usable as 1/d.
bool divisible(double d) { return M_chkfop(1.0, d, 4) == 0; }

// Applies rows 0..2 of M to the Euclidean point p; false when the
// homogeneous divisor of row 3 cannot be divided by.
bool apply3(const Mat4 &M, const POINT &p, POINT &r) {
  const auto row = [&](int k) { return M[k][0] * p.x + M[k][1] * p.y + M[k][2] * p.z + M[k][3]; };
  const double h = row(3);
  if (!divisible(h)) return false;
  const double inv = 1.0 / h;
  r = POINT{row(0) * inv, row(1) * inv, row(2) * inv};
  return true;
}

// Writes a matrix whose rows 0..2 are given and whose row 3 is (0, 0, 0, 1)
// into the output record T, checked or allocated first.
int16_t emit(const double rows[3][4], RMATRIX *T, const char *tag, STACKS *ws) {
  if (M_rmachk(T, 3, 3, 0, 3, tag, ws)) return 1;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 4; ++j) T->a[i][j] = rows[i][j];
  T->a[3][0] = T->a[3][1] = T->a[3][2] = 0.0;
  T->a[3][3] = 1.0;
  return 0;
}

}  // namespace

extern "C" {

// ---- Applying a matrix ------------------------------------------------------

int16_t A_trapoi(POINT P, const RMATRIX *T, POINT *R) {
  static const char *const tag = "A_TRAPOI";
  Mat4 M;
  if (!load(T, M)) return fail(kErrIndex, tag);
  POINT r;
  if (!apply3(M, P, r)) return fail(kErrFloat, tag);
  *R = r;
  return 0;
}

// The Euclidean point is transformed and then weighted again with the
// weight of Q. A 2-D point uses rows and columns 0, 1 and 3 only and stays
// 2-D.
int16_t A_tracpt(CPOINT Q, const RMATRIX *T, CPOINT *R) {
  static const char *const tag = "A_TRACPT";
  Mat4 M;
  if (!load(T, M)) return fail(kErrIndex, tag);
  const bool rational = w_valid(Q.w), flat = !z_valid(Q.z);
  if (rational && !divisible(Q.w)) return fail(kErrFloat, tag);
  const double x = rational ? Q.x / Q.w : Q.x;
  const double y = rational ? Q.y / Q.w : Q.y;
  CPOINT r;
  if (flat) {
    const double h = M[3][0] * x + M[3][1] * y + M[3][3];
    if (!divisible(h)) return fail(kErrFloat, tag);
    r = CPOINT{(M[0][0] * x + M[0][1] * y + M[0][3]) / h, (M[1][0] * x + M[1][1] * y + M[1][3]) / h,
               kZ2D, 0.0};
  } else {
    POINT e;
    if (!apply3(M, POINT{x, y, rational ? Q.z / Q.w : Q.z}, e)) return fail(kErrFloat, tag);
    r = CPOINT{e.x, e.y, e.z, 0.0};
  }
  if (rational) {
    r.x *= Q.w;
    r.y *= Q.w;
    if (!flat) r.z *= Q.w;
    r.w = Q.w;
  } else {
    r.w = kWNR;
  }
  *R = r;
  return 0;
}

// ---- Building matrices ----------------------------------------------------

// Translation by Q - P.
int16_t G_tratrl(POINT P, POINT Q, RMATRIX *T, STACKS *ws) {
  const double rows[3][4] = {
      {1.0, 0.0, 0.0, Q.x - P.x}, {0.0, 1.0, 0.0, Q.y - P.y}, {0.0, 0.0, 1.0, Q.z - P.z}};
  return emit(rows, T, "G_TRATRL", ws);
}

// Rotation by angle degrees about the axis through P along D (right-hand
// rule); P stays fixed.
int16_t G_tragnr(POINT P, VECTOR D, double angle, RMATRIX *T, STACKS *ws) {
  static const char *const tag = "G_TRAGNR";
  VECTOR u;
  if (!unit3(D, u)) return fail(kErrZeroVector, tag);
  const double theta = angle / 180.0 * kPi;
  const double c = std::cos(theta), s = std::sin(theta), t = 1.0 - c;
  const double x = u.x, y = u.y, z = u.z;
  double rows[3][4] = {{(1.0 - x * x) * c + x * x, x * y * t - z * s, z * x * t + y * s, 0.0},
                       {z * s + x * y * t, (1.0 - y * y) * c + y * y, y * z * t - x * s, 0.0},
                       {z * x * t - y * s, x * s + y * z * t, (1.0 - z * z) * c + z * z, 0.0}};
  const double p[3] = {P.x, P.y, P.z};
  for (int k = 0; k < 3; ++k)
    rows[k][3] = p[k] - (rows[k][0] * P.x + rows[k][1] * P.y + rows[k][2] * P.z);
  return emit(rows, T, tag, ws);
}

// Planar rigid motion in the xy-plane taking P0 to P1 and the unit direction
// D0 to the unit direction D1; every z maps to 0.
int16_t G_travec(POINT P0, VECTOR D0, POINT P1, VECTOR D1, RMATRIX *T, STACKS *ws) {
  const double c = D1.x * D0.x + D1.y * D0.y;
  const double s = D1.x * D0.y - D1.y * D0.x;
  const double rows[3][4] = {{c, s, 0.0, P1.x - s * P0.y - c * P0.x},
                             {-s, c, 0.0, s * P0.x - c * P0.y + P1.y},
                             {0.0, 0.0, 0.0, 0.0}};
  return emit(rows, T, "G_TRAVEC", ws);
}

// Change of frame: translation by O2 times the matrix with columns X2, Y2,
// Z2 times the matrix with rows X1, Y1, Z1 times the translation by -O1.
// The 3x3 product is formed directly, so no temporary matrix is needed.
int16_t G_traort(POINT O1, VECTOR X1, VECTOR Y1, VECTOR Z1, POINT O2, VECTOR X2, VECTOR Y2,
                 VECTOR Z2, RMATRIX *T, STACKS *ws) {
  const VECTOR from[3] = {X1, Y1, Z1};
  const double to[3][3] = {{X2.x, Y2.x, Z2.x}, {X2.y, Y2.y, Z2.y}, {X2.z, Y2.z, Z2.z}};
  const double o2[3] = {O2.x, O2.y, O2.z};
  double rows[3][4];
  for (int i = 0; i < 3; ++i) {
    double r[3] = {0.0, 0.0, 0.0};
    for (int k = 0; k < 3; ++k) {
      r[0] += to[i][k] * from[k].x;
      r[1] += to[i][k] * from[k].y;
      r[2] += to[i][k] * from[k].z;
    }
    rows[i][0] = r[0];
    rows[i][1] = r[1];
    rows[i][2] = r[2];
    rows[i][3] = o2[i] - (r[0] * O1.x + r[1] * O1.y + r[2] * O1.z);
  }
  return emit(rows, T, "G_TRAORT", ws);
}

}  // extern "C"
