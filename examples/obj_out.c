/* Shared by the demos: error reports and the OBJ writer of a tessellated
 * surface. */
#include "obj_out.h"

#include <stdio.h>
#include <stdlib.h>

void demo_report(const char *what) {
  const char *routine;
  int32_t code;
  E_GetOrvoError(&routine, &code);
  fprintf(stderr, "%s: error %d in %s\n", what, (int)code, routine);
  E_clrerr();
}

static double clamp(double x, double lo, double hi) { return x < lo ? lo : (x > hi ? hi : x); }

/* Writes the mesh as OBJ: one vertex and one normal per mesh point used by
 * a triangle, faces counter-clockwise in the parameter plane, so that they
 * face the side into which the surface normal Su x Sv points. */
int demo_write_obj(const char *path, const SURFACE *sur, const double *u, const double *v,
                   int32_t np, double Lu, double Lv, const int32_t *t0, const int32_t *t1,
                   const int32_t *t2, int32_t nt, int32_t *nverts) {
  double u0, u1, v0, v1;
  int32_t *index = (int32_t *)malloc(sizeof(int32_t) * (size_t)(np + 1));
  int32_t i, n = 0;
  FILE *f;
  if (!index) return 1;
  U_surpar(sur, &u0, &u1, &v0, &v1);
  f = fopen(path, "w");
  if (!f) {
    fprintf(stderr, "cannot open %s for writing\n", path);
    free(index);
    return 1;
  }
  fprintf(f, "# trimmed surface tessellated by Orvo\n");
  for (i = 0; i <= np; ++i) index[i] = 0;
  for (i = 0; i <= nt; ++i) index[t0[i]] = index[t1[i]] = index[t2[i]] = 1;
  for (i = 0; i <= np; ++i) {
    /* Trimming points may lie a hair outside the domain: clamp them. */
    const double su = clamp(u0 + u[i] * (u1 - u0) / Lu, u0, u1);
    const double sv = clamp(v0 + v[i] * (v1 - v0) / Lv, v0, v1);
    POINT P;
    VECTOR Su, Sv, N;
    if (!index[i]) continue;
    if (N_surnor(sur, su, sv, su < u1 ? 1 : 2, sv < v1 ? 1 : 2, &P, &Su, &Sv, &N)) {
      demo_report("evaluating the surface");
      fclose(f);
      free(index);
      return 1;
    }
    fprintf(f, "v %.9g %.9g %.9g\nvn %.6f %.6f %.6f\n", P.x, P.y, P.z, N.x, N.y, N.z);
    index[i] = ++n;
  }
  for (i = 0; i <= nt; ++i) {
    const int32_t a = t0[i], b = t1[i], c = t2[i];
    const double area = (u[b] - u[a]) * (v[c] - v[a]) - (v[b] - v[a]) * (u[c] - u[a]);
    const int32_t p = index[a], q = index[area >= 0.0 ? b : c], r = index[area >= 0.0 ? c : b];
    fprintf(f, "f %d//%d %d//%d %d//%d\n", (int)p, (int)p, (int)q, (int)q, (int)r, (int)r);
  }
  free(index);
  *nverts = n;
  return fclose(f) != 0;
}
