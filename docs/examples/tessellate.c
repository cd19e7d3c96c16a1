/* Tessellating a trimmed surface: a twisted bilinear patch over the unit
 * square with a circular hole of radius 0.25 in its parameter plane. The
 * outer loop is four boundary lines, the hole a circle of four rational
 * quadratic arcs; both are 2-D curves in the parameter plane. The mesh
 * comes back in the metric parameter plane [0, Lu] x [0, Lv]; its triangles
 * are mapped back to (u, v) and their area compared with 1 - pi r^2. */
#include <math.h>
#include <stdio.h>

#include <orvo/orvo.h>

#define PI 3.14159265358979323846
#define RADIUS 0.25

static int failed(const char *what) {
  const char *routine;
  int32_t code;
  E_GetOrvoError(&routine, &code);
  printf("%s failed: error %d in %s\n", what, (int)code, routine);
  return 1;
}

int main(void) {
  const POINT P00 = {0, 0, 0}, P10 = {2, 0, 0}, P01 = {0, 1, 0}, P11 = {2, 1, 0.5};
  const POINT corner[4] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
  const POINT O = {0.5, 0.5, 0.0};
  const VECTOR X = {1, 0, 0}, Y = {0, 1, 0};
  STACKS ws;
  SURFACE sur;
  CURVE side[4], circle, *outer_loop[4], *hole_loop[1];
  CURVE **outer[1], **hole_list[1], ***holes[1];
  int32_t nouter[1] = {3}, nholes[1] = {0}, hole_last[1] = {0}, *nhcur[1];
  int32_t np, ntri, *c, **nb, *t0, *t1, *t2, k;
  double A, Lu, Lv, u0, u1, v0, v1, size, *u, *v, area = 0.0;
  int status = 1;

  N_inurbs(&ws);
  U_inisur(&sur);
  U_inicur(&circle);

  if (N_cmsbil(P00, P10, P01, P11, &sur, &ws)) {
    failed("N_cmsbil");
    goto done;
  }
  /* Outer loop, counter-clockwise: lines from each corner to the next. */
  for (k = 0; k < 4; ++k) {
    const POINT a = corner[k], b = corner[(k + 1) % 4];
    const VECTOR d = {b.x - a.x, b.y - a.y, 0.0};
    U_inicur(&side[k]);
    if (N_curlin(a, d, &side[k], &ws)) {
      failed("N_curlin");
      goto done;
    }
    U_cur3t2(&side[k]); /* trimming curves are 2-D */
    outer_loop[k] = &side[k];
  }
  /* The hole: a full circle (form 2: four rational quadratic arcs). */
  if (N_concir(O, X, Y, RADIUS, 0.0, 360.0, 2, &circle, &ws)) {
    failed("N_concir");
    goto done;
  }
  U_cur3t2(&circle);
  hole_loop[0] = &circle;

  /* One region (nr = 0): outer loop of 4 curves, 1 hole of 1 curve. */
  outer[0] = outer_loop;
  hole_list[0] = hole_loop;
  holes[0] = hole_list;
  nhcur[0] = hole_last;

  /* Tolerances relative to the patch's size. */
  if (N_tesesa(&sur, &A, &Lu, &Lv)) {
    failed("N_tesesa");
    goto done;
  }
  size = Lu > Lv ? Lu : Lv;
  if (N_tessur(&sur, outer, holes, 0, nouter, nholes, nhcur, 1e-3 * size, 1e-3 * size, 1e-4, &u, &v,
               &np, &nb, &c, &ws)) {
    failed("N_tessur");
    goto done;
  }
  if (N_tesbat(nb, c, np, &t0, &t1, &t2, &ntri, &ws)) {
    failed("N_tesbat");
    goto done;
  }

  /* Back to surface parameters: u = u0 + u' (u1 - u0) / Lu. */
  U_surpar(&sur, &u0, &u1, &v0, &v1);
  for (k = 0; k <= ntri; ++k) {
    const double au = u0 + u[t0[k]] * (u1 - u0) / Lu, av = v0 + v[t0[k]] * (v1 - v0) / Lv;
    const double bu = u0 + u[t1[k]] * (u1 - u0) / Lu, bv = v0 + v[t1[k]] * (v1 - v0) / Lv;
    const double cu = u0 + u[t2[k]] * (u1 - u0) / Lu, cv = v0 + v[t2[k]] * (v1 - v0) / Lv;
    area += 0.5 * fabs((bu - au) * (cv - av) - (cu - au) * (bv - av));
  }
  printf("patch %gx%g (Lu %g, Lv %g): %d points, %d triangles\n", u1 - u0, v1 - v0, Lu, Lv,
         (int)np + 1, (int)ntri + 1);
  printf("parameter area of the mesh %.5f, of the trimmed square %.5f\n", area,
         1.0 - PI * RADIUS * RADIUS);

  /* A mesh point on the surface. */
  for (k = 0; k <= np; ++k)
    if (nb[k][0] != -1) {
      POINT S;
      const double pu = u0 + u[k] * (u1 - u0) / Lu, pv = v0 + v[k] * (v1 - v0) / Lv;
      if (N_surevn(&sur, pu, pv, 1, 1, &S)) {
        failed("N_surevn");
        goto done;
      }
      printf(
          "point %d: (u, v) = (%.4f, %.4f), S = (%.4f, %.4f, %.4f), neighbour list nb[%d][0..%d]\n",
          (int)k, pu, pv, S.x, S.y, S.z, (int)k, (int)c[k]);
      break;
    }
  if (ntri < 8 || fabs(area - (1.0 - PI * RADIUS * RADIUS)) > 5e-3) goto done;
  status = 0;

done:
  N_enurbs(&ws);
  printf(status ? "FAILED\n" : "ok\n");
  return status;
}
