/* The yardstick of the Python binding's speed: 1,000,000 evaluations of a
 * cubic with 1000 control points, in a plain C loop over N_curevn. The
 * curve and the parameters are those of eval_speed.py. */
#include <math.h>
#include <stdio.h>
#include <time.h>

#include "orvo/orvo.h"

enum { NPTS = 1000, NPAR = 1000000, DEG = 3 };

static double now(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec + 1e-9 * t.tv_nsec;
}

int main(void) {
  static CPOINT P[NPTS];
  static double U[NPTS + DEG + 1];
  static double u[NPAR];
  for (int i = 0; i < NPTS; ++i) {
    P[i].x = i;
    P[i].y = sin(0.1 * i);
    P[i].z = cos(0.07 * i);
    P[i].w = ORVO_WNR;
  }
  const int m = NPTS + DEG;
  for (int j = 0; j <= m; ++j) {
    const int k = j < DEG ? 0 : (j > m - DEG ? m - 2 * DEG : j - DEG);
    U[j] = (double)k / (m - 2 * DEG);
  }
  for (int i = 0; i < NPAR; ++i) u[i] = (double)i / (NPAR - 1);
  CPOLYGON pol = {NPTS - 1, P};
  KNOTVECTOR knt = {m, U};
  CURVE cur = {&pol, DEG, &knt};
  double best = 1e30, check = 0;
  for (int run = 0; run < 5; ++run) {
    const double t0 = now();
    for (int i = 0; i < NPAR; ++i) {
      POINT Q;
      if (N_curevn(&cur, u[i], 1, &Q)) return 1;
      check += Q.x + Q.y + Q.z;
    }
    const double t = now() - t0;
    if (t < best) best = t;
  }
  printf("C loop: %d evaluations in %.4f s (%.1f ns each; checksum %.6g)\n", NPAR, best,
         1e9 * best / NPAR, check);
  return 0;
}
