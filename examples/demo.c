/* Orvo demo: a curve built from caller arrays, validated, and the error
 * reported for a bad knot vector. */
#include <stdio.h>

#include <orvo/orvo.h>

int main(void) {
  STACKS ws;
  CURVE cur;
  /* A planar, non-rational cubic with one interior knot. */
  double x[] = {0.0, 1.0, 2.0, 3.0, 4.0};
  double y[] = {0.0, 2.0, -1.0, 2.0, 0.0};
  double z[] = {DBL_MAX, DBL_MAX, DBL_MAX, DBL_MAX, DBL_MAX};
  double w[] = {-DBL_MAX, -DBL_MAX, -DBL_MAX, -DBL_MAX, -DBL_MAX};
  double U[] = {0.0, 0.0, 0.0, 0.0, 0.5, 1.0, 1.0, 1.0, 1.0};
  double bad[] = {0.0, 0.0, 0.0, 0.0, 0.7, 0.4, 1.0, 1.0, 1.0};
  const char *routine;
  int32_t code;

  N_inurbs(&ws);
  if (U_makcu3(&cur, x, y, z, w, 4, 3, U, 8, &ws)) {
    E_GetOrvoError(&routine, &code);
    printf("allocation failed: error %d in %s\n", (int)code, routine);
    N_enurbs(&ws);
    return 1;
  }
  printf("curve: %d control points, degree %d, %s, %s\n", (int)cur.pol->n + 1, (int)cur.p,
         U_iscur3(&cur) ? "3-D" : "2-D", U_iscurr(&cur) ? "rational" : "non-rational");
  if (E_curinp(&cur, "DEMO") == 0) printf("E_curinp: the curve is valid\n");

  /* The same polygon with a decreasing knot vector is refused. */
  cur.knt->U = bad;
  if (E_curinp(&cur, "DEMO")) {
    E_GetOrvoError(&routine, &code);
    printf("E_curinp on a bad knot vector: error %d in %s\n", (int)code, routine);
  }
  E_clrerr();
  N_enurbs(&ws);
  return 0;
}
