/* Converting IGES entity data (numbers already read from the file) into
 * records and evaluating them:
 *   entity 100, circular arc          -> N_igs100
 *   entity 126, rational B-spline     -> N_igs126
 *   entity 110 line + entity 120, surface of revolution -> N_igs110, N_igs120 */
#include <math.h>
#include <stdio.h>

#include <orvo/orvo.h>

static int failed(const char *what) {
  const char *routine;
  int32_t code;
  E_GetOrvoError(&routine, &code);
  printf("%s failed: error %d in %s\n", what, (int)code, routine);
  return 1;
}

/* Largest deviation of |C(u) - (cx, cy)| from r at 9 parameters. */
static double radius_error(const CURVE *cur, double cx, double cy, double r) {
  double a, b, e = 0.0;
  int i;
  U_curpar(cur, &a, &b);
  for (i = 0; i <= 8; ++i) {
    POINT P;
    double d;
    if (N_curevn(cur, a + (b - a) * i / 8.0, 1, &P)) return 1.0;
    d = fabs(hypot(P.x - cx, P.y - cy) - r);
    if (d > e) e = d;
  }
  return e;
}

int main(void) {
  /* Entity 126: a quarter of the unit circle, Euclidean points and weights
   * as the entity gives them. */
  const double T[] = {0, 0, 0, 1, 1, 1}, W[] = {1.0, sqrt(0.5), 1.0}, V[] = {0.0, 1.0};
  const POINT P[] = {{1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
  const POINT axis0 = {0, 0, 0}, axis1 = {0, 0, 1}, g0 = {2, 0, 0}, g1 = {2, 0, 3};
  STACKS ws;
  CURVE arc, spline, line;
  SURFACE rev;
  POINT S, E;
  double e, u0, u1, v0, v1;
  int i, status = 1;

  N_inurbs(&ws);
  U_inicur(&arc);
  U_inicur(&spline);
  U_inicur(&line);
  U_inisur(&rev);

  /* 1. Entity 100: centre (1, 2), from (4, 2) counter-clockwise to (1, 5),
   *    in the plane z = 0; rational quadratic form 2. */
  if (N_igs100(0.0, 1.0, 2.0, 4.0, 2.0, 1.0, 5.0, 2, 1e-9, &arc, &ws)) {
    failed("N_igs100");
    goto done;
  }
  if (N_curevn(&arc, arc.knt->U[0], 1, &S) || N_curevn(&arc, arc.knt->U[arc.knt->m], 2, &E)) {
    failed("N_curevn");
    goto done;
  }
  e = radius_error(&arc, 1.0, 2.0, 3.0);
  printf(
      "entity 100: %d control points, degree %d, %s %s, from (%g, %g) to (%g, %g), "
      "radius error %.1e\n",
      (int)arc.pol->n + 1, (int)arc.p, U_iscur3(&arc) ? "3-D" : "2-D",
      U_iscurr(&arc) ? "rational" : "non-rational", S.x, S.y, E.x, E.y, e);
  if (e > 1e-12 || S.x != 4.0 || S.y != 2.0 || E.x != 1.0 || E.y != 5.0) goto done;

  /* 2. Entity 126: K = 2 (highest point index), degree M = 2, range [0, 1]. */
  if (N_igs126(2, 2, T, W, P, V, &spline, &ws)) {
    failed("N_igs126");
    goto done;
  }
  e = radius_error(&spline, 0.0, 0.0, 1.0);
  printf(
      "entity 126: %d control points, %s, stored middle point (%.6f, %.6f, w %.6f), "
      "radius error %.1e\n",
      (int)spline.pol->n + 1, U_iscurr(&spline) ? "rational" : "non-rational", spline.pol->Pw[1].x,
      spline.pol->Pw[1].y, spline.pol->Pw[1].w, e);
  if (e > 1e-12) goto done;

  /* 3. Entity 120: the line from (2, 0, 0) to (2, 0, 3) (entity 110) turned
   *    about the z axis through 360 degrees: a cylinder of radius 2. */
  if (N_igs110(g0, g1, &line, &ws) || N_igs120(axis0, axis1, &line, 0.0, 360.0, &rev, &ws)) {
    failed("N_igs110/N_igs120");
    goto done;
  }
  U_surpar(&rev, &u0, &u1, &v0, &v1);
  printf("entity 120: %dx%d control points, degrees %d, %d, domain [%g, %g] x [%g, %g]\n",
         (int)rev.net->n + 1, (int)rev.net->m + 1, (int)rev.p, (int)rev.q, u0, u1, v0, v1);
  for (i = 0; i <= 4; ++i) {
    const double u = u0 + (u1 - u0) * i / 5.0, v = v0 + (v1 - v0) * i / 4.0;
    VECTOR Su, Sv, N;
    if (N_surnor(&rev, u, v, 1, 1, &S, &Su, &Sv, &N)) {
      failed("N_surnor");
      goto done;
    }
    printf("  (%.3f, %.3f): S = (%.6f, %.6f, %.6f), normal (%.6f, %.6f, %.6f)\n", u, v, S.x, S.y,
           S.z, N.x, N.y, N.z);
    /* On the cylinder: distance 2 from the axis, normal radial. */
    if (fabs(hypot(S.x, S.y) - 2.0) > 1e-12 || fabs(N.z) > 1e-12 ||
        fabs(fabs(N.x * S.x + N.y * S.y) - 2.0) > 1e-12)
      goto done;
  }
  status = 0;

done:
  N_enurbs(&ws);
  printf(status ? "FAILED\n" : "ok\n");
  return status;
}
