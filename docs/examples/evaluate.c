/* Evaluating a curve and a surface: points, derivatives, one-sided limits at
 * a knot, surface derivatives and normals.
 *
 * 1. A rational quadratic quarter of the unit circle, made from caller
 *    arrays: 2-D (z marker), weighted control points.
 * 2. A degree-1 polyline with a corner at its interior knot: the two sides
 *    of the knot give different derivatives.
 * 3. A biquadratic Bezier patch z = 4 u (1 - u) v (1 - v) over the unit
 *    square: point, partial derivatives and unit normal. */
#include <math.h>
#include <stdio.h>

#include <orvo/orvo.h>

/* Prints the error state for a failed call and returns 1. */
static int failed(const char *what) {
  const char *routine;
  int32_t code;
  E_GetOrvoError(&routine, &code);
  printf("%s failed: error %d in %s\n", what, (int)code, routine);
  return 1;
}

static int near(double a, double b) { return fabs(a - b) <= 1e-12; }

static int quarter_circle(STACKS *ws) {
  const double h = sqrt(0.5); /* middle weight cos(45 degrees) */
  /* Weighted storage: the middle point (1, 1) with weight h is (h, h). */
  double x[] = {1.0, h, 0.0}, y[] = {0.0, h, 1.0};
  double z[] = {DBL_MAX, DBL_MAX, DBL_MAX}; /* 2-D */
  double w[] = {1.0, h, 1.0};               /* rational */
  double U[] = {0.0, 0.0, 0.0, 1.0, 1.0, 1.0};
  CURVE arc;
  POINT CK[3];
  int i;

  /* n = 2 (three points), p = 2, m = n + p + 1 = 5. */
  if (U_makcu3(&arc, x, y, z, w, 2, 2, U, 5, ws)) return failed("U_makcu3");
  if (E_curinp(&arc, "EVALUATE")) return failed("E_curinp");
  for (i = 0; i <= 4; ++i) {
    const double u = 0.25 * i;
    double r, dot;
    if (N_curder(&arc, u, 1, 2, CK)) return failed("N_curder");
    r = sqrt(CK[0].x * CK[0].x + CK[0].y * CK[0].y);
    dot = CK[0].x * CK[1].x + CK[0].y * CK[1].y; /* C . C' = 0 on a circle */
    printf("arc u=%.2f  C=(%.6f, %.6f, %g)  C'=(%.6f, %.6f)  |C|=%.15f\n", u, CK[0].x, CK[0].y,
           CK[0].z, CK[1].x, CK[1].y, r);
    if (!near(r, 1.0) || fabs(dot) > 1e-12 || CK[0].z != 0.0) {
      printf("not on the unit circle\n");
      return 1;
    }
  }
  return 0;
}

static int corner(STACKS *ws) {
  /* (0,0) -> (1,0) -> (1,1), knots 0 0 0.5 1 1: a corner at u = 0.5. */
  double x[] = {0.0, 1.0, 1.0}, y[] = {0.0, 0.0, 1.0};
  double z[] = {DBL_MAX, DBL_MAX, DBL_MAX}, w[] = {-DBL_MAX, -DBL_MAX, -DBL_MAX};
  double U[] = {0.0, 0.0, 0.5, 1.0, 1.0};
  CURVE line;
  POINT right[2], left[2], P;

  if (U_makcu3(&line, x, y, z, w, 2, 1, U, 4, ws)) return failed("U_makcu3");
  if (N_curder(&line, 0.5, 1, 1, right) || N_curder(&line, 0.5, 2, 1, left))
    return failed("N_curder");
  printf("corner at u=0.5: side 1 (right) C'=(%g, %g), side 2 (left) C'=(%g, %g)\n", right[1].x,
         right[1].y, left[1].x, left[1].y);
  if (right[1].x != 0.0 || right[1].y != 2.0 || left[1].x != 2.0 || left[1].y != 0.0) return 1;

  /* A parameter outside [U[0], U[m]] is refused with error 6. */
  if (N_curevn(&line, 1.5, 1, &P) == 0) return 1;
  failed("N_curevn at u=1.5 (expected)");
  E_clrerr();
  return 0;
}

static int patch(STACKS *ws) {
  CPOINT net[3][3], *rows[3];
  double U[] = {0.0, 0.0, 0.0, 1.0, 1.0, 1.0};
  SURFACE sur;
  POINT P, SKL[2][2], *skl[2];
  VECTOR Su, Sv, N;
  int i, j;

  for (i = 0; i <= 2; ++i) {
    rows[i] = net[i];
    for (j = 0; j <= 2; ++j) {
      net[i][j].x = 0.5 * i; /* x = u, y = v: linear precision */
      net[i][j].y = 0.5 * j;
      net[i][j].z = (i == 1 && j == 1) ? 1.0 : 0.0;
      net[i][j].w = -DBL_MAX; /* non-rational */
    }
  }
  skl[0] = SKL[0];
  skl[1] = SKL[1];
  /* n = m = 2, p = q = 2, r = s = 5; the two knot vectors may share U. */
  if (U_maksu2(&sur, rows, 2, 2, 2, 2, U, U, 5, 5, ws)) return failed("U_maksu2");
  if (E_surinp(&sur, "EVALUATE")) return failed("E_surinp");

  if (N_surevn(&sur, 0.25, 0.5, 1, 1, &P)) return failed("N_surevn");
  /* mode 1 with k = l = 1: the triangle S, Su, Sv. */
  if (N_surder(&sur, 0.25, 0.5, 1, 1, 1, 1, 1, skl)) return failed("N_surder");
  printf("patch (0.25, 0.5): S=(%g, %g, %g)  Su=(%g, %g, %g)  Sv=(%g, %g, %g)\n", P.x, P.y, P.z,
         SKL[1][0].x, SKL[1][0].y, SKL[1][0].z, SKL[0][1].x, SKL[0][1].y, SKL[0][1].z);
  /* z = 4 u (1-u) v (1-v): 0.1875; z_u = 4 (1-2u) v (1-v) = 0.5; z_v = 0. */
  if (!near(P.z, 0.1875) || !near(SKL[1][0].z, 0.5) || !near(SKL[0][1].z, 0.0) ||
      !near(SKL[1][0].x, 1.0) || !near(SKL[0][1].y, 1.0))
    return 1;

  if (N_surnor(&sur, 0.5, 0.5, 1, 1, &P, &Su, &Sv, &N)) return failed("N_surnor");
  printf("patch (0.5, 0.5): S=(%g, %g, %g)  unit normal=(%g, %g, %g)\n", P.x, P.y, P.z, N.x, N.y,
         N.z);
  return !(near(P.z, 0.25) && near(N.x, 0.0) && near(N.y, 0.0) && near(N.z, 1.0));
}

int main(void) {
  STACKS ws;
  int status;

  N_inurbs(&ws);
  status = quarter_circle(&ws) || corner(&ws) || patch(&ws);
  N_enurbs(&ws); /* releases the records U_makcu3 and U_maksu2 allocated */
  printf(status ? "FAILED\n" : "ok\n");
  return status;
}
