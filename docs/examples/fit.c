/* Fitting: interpolation of points by a curve (N_fitgci), least-squares
 * approximation (N_fitgca) and interpolation of a grid by a surface
 * (N_fitgsi). The interpolants are checked at the data parameters, which
 * N_fitcpa and N_fitspa compute the same way the fits do. */
#include <math.h>
#include <stdio.h>

#include <orvo/orvo.h>

#define PI 3.14159265358979323846
#define NI 12 /* highest index of the interpolated points */
#define NA 60 /* highest index of the approximated points */
#define GU 6  /* highest grid indices */
#define GV 4

static int failed(const char *what) {
  const char *routine;
  int32_t code;
  E_GetOrvoError(&routine, &code);
  printf("%s failed: error %d in %s\n", what, (int)code, routine);
  return 1;
}

/* Distance of a curve or surface point P from a data point Q; a 2-D datum
 * (z the marker) is compared in x and y (P then has z = 0). */
static double dist(POINT P, POINT Q) {
  const double dz = Q.z == DBL_MAX ? 0.0 : P.z - Q.z;
  return sqrt((P.x - Q.x) * (P.x - Q.x) + (P.y - Q.y) * (P.y - Q.y) + dz * dz);
}

/* Largest distance of cur at t[0..n] from Q[0..n] (-1 on failure). */
static double curve_error(const CURVE *cur, const POINT *Q, const double *t, int32_t n) {
  double e = 0.0;
  int32_t k;
  for (k = 0; k <= n; ++k) {
    POINT P;
    if (N_curevn(cur, t[k], 1, &P)) return -1.0;
    if (dist(P, Q[k]) > e) e = dist(P, Q[k]);
  }
  return e;
}

int main(void) {
  POINT helix[NI + 1], wave[NA + 1], grid[GU + 1][GV + 1], *rows[GU + 1];
  double t[NA + 1], uk[GU + 1], vl[GV + 1], e;
  STACKS ws;
  CURVE interp, approx;
  SURFACE sur;
  int32_t i, j;
  int status = 1;

  N_inurbs(&ws);
  U_inicur(&interp);
  U_inicur(&approx);
  U_inisur(&sur);

  /* 1. Interpolate 13 points of a helix by a cubic, chord-length
   *    parameters (ptype 2): 13 control points, knots averaged. */
  for (i = 0; i <= NI; ++i) {
    const double a = 2.0 * PI * i / NI;
    helix[i].x = cos(a);
    helix[i].y = sin(a);
    helix[i].z = 0.3 * a;
  }
  if (N_fitgci(helix, NI, 3, 2, &interp, &ws) || N_fitcpa(helix, NI, 1, 2, t)) {
    failed("interpolating the helix");
    goto done;
  }
  e = curve_error(&interp, helix, t, NI);
  printf("N_fitgci: %d control points, degree %d, largest error at the data %.1e\n",
         (int)interp.pol->n + 1, (int)interp.p, e);
  if (e < 0.0 || e > 1e-12) goto done;

  /* 2. Approximate 61 points of a damped wave by 14 control points (n = 13),
   *    cubic. The samples are evenly spaced in x, so uniform parameters
   *    (ptype 1) suit them. The ends are interpolated. */
  for (i = 0; i <= NA; ++i) {
    const double s = (double)i / NA;
    wave[i].x = s;
    wave[i].y = exp(-s) * sin(3.0 * PI * s);
    wave[i].z = DBL_MAX; /* planar data: a 2-D curve */
  }
  if (N_fitgca(wave, NA, 13, 3, 1, &approx, &ws) || N_fitcpa(wave, NA, 1, 1, t)) {
    failed("approximating the wave");
    goto done;
  }
  e = curve_error(&approx, wave, t, NA);
  printf("N_fitgca: %d control points through %d points, %s, largest deviation %.2e\n",
         (int)approx.pol->n + 1, NA + 1, U_iscur3(&approx) ? "3-D" : "2-D", e);
  if (e < 0.0 || e > 2e-3 || approx.pol->Pw[0].y != wave[0].y) goto done;

  /* 3. Interpolate a 7 x 5 grid of a height field by a bicubic x biquadratic
   *    surface. Q[i][j]: i runs along u, j along v. */
  for (i = 0; i <= GU; ++i) {
    rows[i] = grid[i];
    for (j = 0; j <= GV; ++j) {
      grid[i][j].x = (double)i;
      grid[i][j].y = 0.5 * j;
      grid[i][j].z = sin(0.5 * i) * cos(0.7 * j);
    }
  }
  if (N_fitgsi(rows, GU, GV, 3, 2, 2, &sur, &ws) || N_fitspa(rows, GU, GV, 1, 2, uk, vl)) {
    failed("interpolating the grid");
    goto done;
  }
  e = 0.0;
  for (i = 0; i <= GU; ++i)
    for (j = 0; j <= GV; ++j) {
      POINT S;
      if (N_surevn(&sur, uk[i], vl[j], 1, 1, &S)) {
        failed("N_surevn");
        goto done;
      }
      if (dist(S, grid[i][j]) > e) e = dist(S, grid[i][j]);
    }
  printf("N_fitgsi: %dx%d control points, degrees %d, %d, largest error at the grid %.1e\n",
         (int)sur.net->n + 1, (int)sur.net->m + 1, (int)sur.p, (int)sur.q, e);
  if (e > 1e-12) goto done;
  status = 0;

done:
  N_enurbs(&ws);
  printf(status ? "FAILED\n" : "ok\n");
  return status;
}
