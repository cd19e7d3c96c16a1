/* Orvo demo: a rational quadratic arc of the unit circle is read from a
 * text file, validated, evaluated with derivatives at a few parameters,
 * refined by inserting a knot (the shape stays the same), evaluated again
 * and written back; then the error reported for a bad knot vector is shown.
 *
 *   orvo_demo [input.crv [output.crv]]
 */
#include <math.h>
#include <stdio.h>

#include <orvo/orvo.h>

#ifndef ORVO_DEMO_DATA
#define ORVO_DEMO_DATA "data/arc.crv"
#endif

static void report(const char *what) {
  const char *routine;
  int32_t code;
  E_GetOrvoError(&routine, &code);
  printf("%s: error %d in %s\n", what, (int)code, routine);
  E_clrerr();
}

int main(int argc, char **argv) {
  const char *input = argc > 1 ? argv[1] : ORVO_DEMO_DATA;
  const char *output = argc > 2 ? argv[2] : "orvo_demo_out.crv";
  const double params[] = {0.0, 0.25, 0.5, 1.0};
  double bad[] = {0.0, 0.0, 0.0, 0.5, 1.0, 0.25, 1.0};
  double *good;
  STACKS ws;
  CURVE cur;
  POINT P, CK[3];
  int i;

  N_inurbs(&ws);
  U_inicur(&cur);

  /* 1. Read and validate. */
  if (U_inpcur(&cur, input, 1, &ws)) {
    report("reading the curve");
    N_enurbs(&ws);
    return 1;
  }
  printf("read %s: %d control points, degree %d, %s, %s\n", input, (int)cur.pol->n + 1, (int)cur.p,
         U_iscur3(&cur) ? "3-D" : "2-D", U_iscurr(&cur) ? "rational" : "non-rational");

  /* 2. Points and derivatives. */
  for (i = 0; i < 4; ++i) {
    if (N_curevn(&cur, params[i], 1, &P) || N_curder(&cur, params[i], 1, 2, CK)) {
      report("evaluating");
      break;
    }
    printf("u = %.2f  C = (%.6f, %.6f)  |C| = %.15f  C' = (%.6f, %.6f)  C'' = (%.6f, %.6f)\n",
           params[i], P.x, P.y, sqrt(P.x * P.x + P.y * P.y), CK[1].x, CK[1].y, CK[2].x, CK[2].y);
  }

  /* 3. A parameter outside the curve is refused. */
  if (N_curevn(&cur, 1.5, 1, &P)) report("evaluating at u = 1.5");

  /* 4. Insert the knot u = 0.5 in place: one more control point, the same
   * curve. */
  if (N_toocki(&cur, 0.5, 1, &cur, &ws, &ws)) {
    report("inserting a knot");
  } else {
    printf("after inserting u = 0.5: %d control points, knots", (int)cur.pol->n + 1);
    for (i = 0; i <= cur.knt->m; ++i) printf(" %g", cur.knt->U[i]);
    printf("\n");
    for (i = 0; i < 4; ++i) {
      if (N_curevn(&cur, params[i], 1, &P)) break;
      printf("u = %.2f  C = (%.6f, %.6f)  |C| = %.15f\n", params[i], P.x, P.y,
             sqrt(P.x * P.x + P.y * P.y));
    }
  }

  /* 5. Write the refined curve. */
  if (U_outcur(&cur, output))
    report("writing the curve");
  else
    printf("wrote %s\n", output);

  /* 6. A knot vector that decreases is refused. */
  good = cur.knt->U;
  cur.knt->U = bad;
  if (E_curinp(&cur, "DEMO")) report("validating with knots 0 0 0 0.5 1 0.25 1");
  cur.knt->U = good;

  N_enurbs(&ws);
  return 0;
}
