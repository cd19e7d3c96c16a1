/* Shared by the demos: error reports and the OBJ writer of a tessellated
 * surface. */
#ifndef ORVO_DEMO_OBJ_OUT_H
#define ORVO_DEMO_OBJ_OUT_H

#include <orvo/orvo.h>

/* Prints what failed with the library's error code and routine, then
 * clears the error state. */
void demo_report(const char *what);

/* Writes the mesh of N_tessur (metric coordinates u, v, highest index np;
 * triangles t0, t1, t2, highest index nt) as a Wavefront OBJ file with
 * model-space vertices and surface normals; *nverts receives the number of
 * vertices written. Returns 0 on success. */
int demo_write_obj(const char *path, const SURFACE *sur, const double *u, const double *v,
                   int32_t np, double Lu, double Lv, const int32_t *t0, const int32_t *t1,
                   const int32_t *t2, int32_t nt, int32_t *nverts);

#endif
