/* Orvo mesh demo: a bicubic patch and its trimming curves are read from text
 * files and validated, the patch is tessellated inside the trimming loops,
 * and the mesh is written as a Wavefront OBJ file (vertices on the surface,
 * surface normals, triangles) that any mesh viewer opens.
 *
 *   orvo_mesh_demo [surface.sur [loops.cua [mesh.obj]]]
 *
 * The curve array holds closed loops of 2-D curves in the surface's
 * parameter plane, one after the other: the first loop is the outer
 * boundary, every further loop a hole.
 */
#include <math.h>
#include <stdio.h>
#include <stdlib.h>

#include <orvo/orvo.h>

#include "obj_out.h"

#ifndef ORVO_DEMO_DATA_DIR
#define ORVO_DEMO_DATA_DIR "data"
#endif

/* Tolerances relative to the size of the surface. */
#define MESH_TOLERANCE 1e-3
#define TRIM_TOLERANCE 1e-4

/* The parameter-plane point at the start (end = 0) or end (end = 1) of a
 * trimming curve. */
static int16_t curve_end(const CURVE *cur, int end, POINT *P) {
  double t0, t1;
  U_curpar(cur, &t0, &t1);
  return end ? N_curevn(cur, t1, 2, P) : N_curevn(cur, t0, 1, P);
}

/* Splits curves[0..k] into closed loops: a loop ends at the curve whose end
 * meets the start of the loop's first curve. first[l] is the index of loop
 * l's first curve (first[nloops] = k + 1). Returns the number of loops, or
 * -1 when the curves do not join or do not close. */
static int split_loops(CURVE **curves, int32_t k, double tol, int32_t *first) {
  int loops = 0;
  int32_t i;
  POINT start, end, next;
  first[0] = 0;
  if (curve_end(curves[0], 0, &start)) return -1;
  for (i = 0; i <= k; ++i) {
    if (curve_end(curves[i], 1, &end)) return -1;
    if (fabs(end.x - start.x) <= tol && fabs(end.y - start.y) <= tol) {
      first[++loops] = i + 1;
      if (i < k && curve_end(curves[i + 1], 0, &start)) return -1;
    } else if (i == k || curve_end(curves[i + 1], 0, &next) || fabs(end.x - next.x) > tol ||
               fabs(end.y - next.y) > tol) {
      return -1;
    }
  }
  return loops;
}

int main(int argc, char **argv) {
  const char *sur_path = argc > 1 ? argv[1] : ORVO_DEMO_DATA_DIR "/patch.sur";
  const char *cua_path = argc > 2 ? argv[2] : ORVO_DEMO_DATA_DIR "/patch_loops.cua";
  const char *obj_path = argc > 3 ? argv[3] : "patch.obj";
  STACKS ws;
  SURFACE sur;
  CURVE **curves = NULL, **outer[1], ***holes[1];
  CURVE **hole_curves[64];
  int32_t k = -1, first[65], nouter[1], nholes[1], hole_last[64], *nhcur[1];
  int32_t np = -1, last = -1, nverts = 0, *c = NULL, **nb = NULL, *t0, *t1, *t2;
  double A, Lu, Lv, u0, u1, v0, v1, size, *u = NULL, *v = NULL;
  int loops, h, status = 1;

  N_inurbs(&ws);
  U_inisur(&sur);

  /* 1. Read and validate the surface and its trimming curves. */
  if (U_inpsur(&sur, sur_path, 1, &ws)) {
    demo_report("reading the surface");
    goto done;
  }
  if (U_inpcua(&curves, &k, cua_path, 1, &ws)) {
    demo_report("reading the trimming curves");
    goto done;
  }
  U_surpar(&sur, &u0, &u1, &v0, &v1);
  loops = k < 64 ? split_loops(curves, k, 1e-6 * fmax(u1 - u0, v1 - v0), first) : -1;
  if (loops < 1) {
    fprintf(stderr, "%s: the curves do not form closed loops\n", cua_path);
    goto done;
  }
  printf("read %s: %dx%d control points, degree %dx%d\n", sur_path, (int)sur.net->n + 1,
         (int)sur.net->m + 1, (int)sur.p, (int)sur.q);
  printf("read %s: %d trimming curves, 1 outer loop and %d hole(s)\n", cua_path, (int)k + 1,
         loops - 1);

  /* 2. One region: the first loop is its outer boundary, the others holes. */
  outer[0] = curves;
  nouter[0] = first[1] - 1;
  for (h = 1; h < loops; ++h) {
    hole_curves[h - 1] = curves + first[h];
    hole_last[h - 1] = first[h + 1] - first[h] - 1;
  }
  holes[0] = hole_curves;
  nholes[0] = loops - 2;
  nhcur[0] = hole_last;

  /* 3. Tessellate with tolerances relative to the surface's size. */
  if (N_tesesa(&sur, &A, &Lu, &Lv)) {
    demo_report("estimating the surface's size");
    goto done;
  }
  size = fmax(Lu, Lv);
  if (N_tessur(&sur, outer, holes, 0, nouter, nholes, nhcur, MESH_TOLERANCE * size,
               MESH_TOLERANCE * size, TRIM_TOLERANCE, &u, &v, &np, &nb, &c, &ws)) {
    demo_report("tessellating");
    goto done;
  }
  if (N_tesbat(nb, c, np, &t0, &t1, &t2, &last, &ws)) {
    demo_report("listing the triangles");
    goto done;
  }

  /* 4. Write the OBJ file. */
  if (demo_write_obj(obj_path, &sur, u, v, np, Lu, Lv, t0, t1, t2, last, &nverts)) goto done;
  printf("mesh (tolerance %.3g): %d points, %d triangles\n", MESH_TOLERANCE * size, (int)nverts,
         (int)last + 1);
  printf("wrote %s\n", obj_path);
  status = 0;

done:
  N_enurbs(&ws);
  return status;
}
