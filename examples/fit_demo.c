/* Orvo fitting demo, the whole road from points to a mesh and a curve file:
 * a grid of points sampled from a smooth height field is interpolated by a
 * bicubic surface, the surface is trimmed by a circle in its parameter
 * plane and tessellated, and the mesh is written as a Wavefront OBJ file;
 * then a cubic curve is fitted through points of a spiral and written as a
 * curve text file that U_inpcur reads back.
 *
 *   orvo_fit_demo [mesh.obj [curve.crv]]
 */
#include <math.h>
#include <stdio.h>

#include <orvo/orvo.h>

#include "obj_out.h"

#define GRID 24   /* highest grid index in each direction */
#define SPIRAL 39 /* highest index of the curve's data points */
#define MESH_TOLERANCE 1e-3
#define PI 3.141592653589793

/* The sampled height field over [0, 2] x [0, 2]. */
static POINT height(double x, double y) {
  POINT P;
  P.x = x;
  P.y = y;
  P.z = 0.3 * sin(3.0 * x) * cos(2.0 * y);
  return P;
}

/* Largest distance of the grid's four corners from the surface's corners:
 * an interpolant passes through them. */
static double corner_error(const SURFACE *sur, POINT *const *Q) {
  const double uv[2] = {0.0, 1.0};
  double e = 0.0;
  int a, b;
  for (a = 0; a < 2; ++a)
    for (b = 0; b < 2; ++b) {
      POINT S, D = Q[a * GRID][b * GRID];
      if (N_surevn(sur, uv[a], uv[b], 1, 1, &S)) return -1.0;
      e = fmax(e, sqrt((S.x - D.x) * (S.x - D.x) + (S.y - D.y) * (S.y - D.y) +
                       (S.z - D.z) * (S.z - D.z)));
    }
  return e;
}

int main(int argc, char **argv) {
  const char *obj_path = argc > 1 ? argv[1] : "fitted.obj";
  const char *crv_path = argc > 2 ? argv[2] : "spiral.crv";
  static POINT grid[GRID + 1][GRID + 1];
  POINT *rows[GRID + 1], spiral[SPIRAL + 1], O = {0.5, 0.5, 0.0};
  VECTOR X = {1.0, 0.0, 0.0}, Y = {0.0, 1.0, 0.0};
  STACKS ws;
  SURFACE sur;
  CURVE circle, fit, *loop[1], **outer[1];
  int32_t nouter[1] = {0}, nholes[1] = {-1}, np = -1, last = -1, nverts = 0, *c, **nb;
  int32_t *t0, *t1, *t2;
  double A, Lu, Lv, size, *u, *v;
  int i, j, status = 1;

  N_inurbs(&ws);
  U_inisur(&sur);
  U_inicur(&circle);
  U_inicur(&fit);
  for (i = 0; i <= GRID; ++i) {
    rows[i] = grid[i];
    for (j = 0; j <= GRID; ++j) grid[i][j] = height(2.0 * i / GRID, 2.0 * j / GRID);
  }

  /* 1. Interpolate the grid: bicubic, chord-length parameters. */
  if (N_fitgsi(rows, GRID, GRID, 3, 3, 2, &sur, &ws)) {
    demo_report("fitting the surface");
    goto done;
  }
  printf(
      "fitted a bicubic surface with %dx%d control points through %dx%d points "
      "(corner error %.1e)\n",
      (int)sur.net->n + 1, (int)sur.net->m + 1, GRID + 1, GRID + 1, corner_error(&sur, rows));

  /* 2. Trim it by a circle of radius 0.4 about the middle of the parameter
   *    square (four rational quadratic arcs, made 2-D), and tessellate. */
  if (N_concir(O, X, Y, 0.4, 0.0, 360.0, 2, &circle, &ws)) {
    demo_report("building the trimming circle");
    goto done;
  }
  U_cur3t2(&circle);
  loop[0] = &circle;
  outer[0] = loop;
  if (N_tesesa(&sur, &A, &Lu, &Lv)) {
    demo_report("estimating the surface's size");
    goto done;
  }
  size = fmax(Lu, Lv);
  if (N_tessur(&sur, outer, NULL, 0, nouter, nholes, NULL, MESH_TOLERANCE * size,
               MESH_TOLERANCE * size, 1e-4, &u, &v, &np, &nb, &c, &ws) ||
      N_tesbat(nb, c, np, &t0, &t1, &t2, &last, &ws)) {
    demo_report("tessellating");
    goto done;
  }
  if (demo_write_obj(obj_path, &sur, u, v, np, Lu, Lv, t0, t1, t2, last, &nverts)) goto done;
  printf("mesh inside the circle (tolerance %.3g): %d points, %d triangles\n",
         MESH_TOLERANCE * size, (int)nverts, (int)last + 1);
  printf("wrote %s\n", obj_path);

  /* 3. A cubic through 40 points of a spiral, written as a curve file. */
  for (i = 0; i <= SPIRAL; ++i) {
    const double t = 4.0 * PI * i / SPIRAL, r = 1.0 + 0.1 * t;
    spiral[i].x = r * cos(t);
    spiral[i].y = r * sin(t);
    spiral[i].z = 0.2 * t;
  }
  if (N_fitgci(spiral, SPIRAL, 3, 2, &fit, &ws)) {
    demo_report("fitting the curve");
    goto done;
  }
  if (U_outcur(&fit, crv_path)) {
    demo_report("writing the curve");
    goto done;
  }
  printf("fitted a cubic with %d control points through %d spiral points\n", (int)fit.pol->n + 1,
         SPIRAL + 1);
  printf("wrote %s\n", crv_path);
  status = 0;

done:
  N_enurbs(&ws);
  return status;
}
