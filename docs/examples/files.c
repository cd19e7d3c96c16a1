/* Reading and writing the text files: a curve (.crv), a surface (.sur), a
 * curve array (.cua) and a point list. The files read are the worked
 * examples of the user guide (docs/examples/data); each is validated on
 * reading, evaluated, and the curve is written back and read again. */
#include <math.h>
#include <stdio.h>

#include <orvo/orvo.h>

#ifndef GUIDE_DATA
#define GUIDE_DATA "data"
#endif

static int failed(const char *what) {
  const char *routine;
  int32_t code;
  E_GetOrvoError(&routine, &code);
  printf("%s failed: error %d in %s\n", what, (int)code, routine);
  return 1;
}

static int near(double a, double b) { return fabs(a - b) <= 1e-12; }

int main(void) {
  STACKS ws;
  CURVE quarter, again, **curves;
  SURFACE twisted;
  POINT P, *pts;
  int32_t k, n, i;
  int status = 1;

  N_inurbs(&ws);
  U_inicur(&quarter); /* an empty record: the reader allocates it in ws */
  U_inicur(&again);
  U_inisur(&twisted);

  /* A 2-D rational quarter circle: fields x y w, weighted (x = w X). */
  if (U_inpcur(&quarter, GUIDE_DATA "/quarter.crv", 1, &ws)) {
    failed("U_inpcur");
    goto done;
  }
  if (N_curevn(&quarter, 0.5, 1, &P)) {
    failed("N_curevn");
    goto done;
  }
  printf("quarter.crv: n=%d p=%d %s %s, C(0.5) = (%.15f, %.15f), z marker %s, w[0] %g\n",
         (int)quarter.pol->n, (int)quarter.p, U_iscur3(&quarter) ? "3-D" : "2-D",
         U_iscurr(&quarter) ? "rational" : "non-rational", P.x, P.y,
         quarter.pol->Pw[0].z == DBL_MAX ? "restored" : "missing", quarter.pol->Pw[0].w);
  if (!near(P.x, sqrt(0.5)) || !near(P.y, sqrt(0.5)) || U_iscur3(&quarter)) goto done;

  /* Write it and read it back: same header, same numbers (16 decimals). */
  if (U_outcur(&quarter, "guide_quarter_copy.crv") ||
      U_inpcur(&again, "guide_quarter_copy.crv", 1, &ws)) {
    failed("writing and reading back");
    goto done;
  }
  for (i = 0; i <= 2; ++i)
    if (!near(again.pol->Pw[i].x, quarter.pol->Pw[i].x) ||
        !near(again.pol->Pw[i].w, quarter.pol->Pw[i].w) || again.pol->Pw[i].z != DBL_MAX)
      goto done;
  printf("guide_quarter_copy.crv written and read back\n");

  /* A twisted bilinear patch, non-rational: fields x y z. */
  if (U_inpsur(&twisted, GUIDE_DATA "/twisted.sur", 1, &ws)) {
    failed("U_inpsur");
    goto done;
  }
  if (N_surevn(&twisted, 0.5, 0.5, 1, 1, &P)) {
    failed("N_surevn");
    goto done;
  }
  printf("twisted.sur: %dx%d points, degrees %d, %d, S(0.5, 0.5) = (%g, %g, %g)\n",
         (int)twisted.net->n + 1, (int)twisted.net->m + 1, (int)twisted.p, (int)twisted.q, P.x, P.y,
         P.z);
  if (!near(P.x, 1.0) || !near(P.y, 0.5) || !near(P.z, 0.125)) goto done;

  /* Two curves: a 2-D line and a 3-D parabola, C(0.5) = (1, 0.75, 0.5). */
  if (U_inpcua(&curves, &k, GUIDE_DATA "/two.cua", 1, &ws)) {
    failed("U_inpcua");
    goto done;
  }
  printf("two.cua: %d curves\n", (int)k + 1);
  for (i = 0; i <= k; ++i) {
    if (N_curevn(curves[i], 0.5, 1, &P)) {
      failed("N_curevn");
      goto done;
    }
    printf("  curve %d: degree %d, %s, C(0.5) = (%g, %g, %g)\n", (int)i, (int)curves[i]->p,
           U_iscur3(curves[i]) ? "3-D" : "2-D", P.x, P.y, P.z);
  }
  if (k != 1 || !near(P.x, 1.0) || !near(P.y, 0.75) || !near(P.z, 0.5)) goto done;

  /* A point list. */
  if (U_inpp1d(&pts, &n, GUIDE_DATA "/three.pts", &ws)) {
    failed("U_inpp1d");
    goto done;
  }
  printf("three.pts: %d points, the last (%g, %g, %g)\n", (int)n + 1, pts[n].x, pts[n].y, pts[n].z);
  if (n != 2 || pts[2].z != 1.0) goto done;

  /* A missing file: error 18. */
  if (U_inpcur(&again, "no-such-file.crv", 0, &ws) == 0) goto done;
  failed("reading no-such-file.crv (expected)");
  E_clrerr();
  status = 0;

done:
  N_enurbs(&ws);
  printf(status ? "FAILED\n" : "ok\n");
  return status;
}
