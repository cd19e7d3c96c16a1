/* Refining and splitting a curve: knot insertion into a separate record and
 * in place, splitting at a parameter, Bezier decomposition. Every result is
 * checked against the original curve: these operations never change the
 * shape. */
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

/* Distance of a's point at u from b's point at t (or -1 when either
 * evaluation fails). */
static double gap(const CURVE *a, double u, const CURVE *b, double t) {
  POINT P, Q;
  if (N_curevn(a, u, 1, &P) || N_curevn(b, t, 1, &Q)) return -1.0;
  return sqrt((P.x - Q.x) * (P.x - Q.x) + (P.y - Q.y) * (P.y - Q.y) + (P.z - Q.z) * (P.z - Q.z));
}

/* Largest gap between a and b at 11 parameters of [u0, u1]. */
static double max_gap(const CURVE *a, const CURVE *b, double u0, double u1) {
  double e = 0.0;
  int i;
  for (i = 0; i <= 10; ++i) {
    const double g = gap(a, u0 + (u1 - u0) * i / 10.0, b, u0 + (u1 - u0) * i / 10.0);
    if (g < 0.0) return 1.0;
    if (g > e) e = g;
  }
  return e;
}

static void print_knots(const char *what, const CURVE *c) {
  int32_t i;
  printf("%s: n=%d p=%d knots", what, (int)c->pol->n, (int)c->p);
  for (i = 0; i <= c->knt->m; ++i) printf(" %g", c->knt->U[i]);
  printf("\n");
}

int main(void) {
  double x[] = {0, 1, 2, 3, 4}, y[] = {0, 2, -1, 2, 0}, z[] = {0, 1, 0, 1, 0};
  double w[] = {-DBL_MAX, -DBL_MAX, -DBL_MAX, -DBL_MAX, -DBL_MAX};
  double U[] = {0, 0, 0, 0, 0.5, 1, 1, 1, 1};
  STACKS ws;
  CURVE cur, ref, left, right, **pieces;
  int32_t last, i;
  int status = 1;

  N_inurbs(&ws);
  U_inicur(&ref); /* output records start empty: they get storage in ws */
  U_inicur(&left);
  U_inicur(&right);

  /* A 3-D non-rational cubic with 5 control points (copied into ws; the
   * record refers to the caller's knot array U). */
  if (U_makcu3(&cur, x, y, z, w, 4, 3, U, 8, &ws)) {
    failed("making the curve");
    goto done;
  }
  print_knots("curve", &cur);

  /* 1. Insert u = 0.25 twice into a separate record. */
  if (N_toocki(&cur, 0.25, 2, &ref, &ws, &ws)) {
    failed("N_toocki");
    goto done;
  }
  print_knots("u=0.25 inserted twice", &ref);
  printf("  largest change of shape %.2e\n", max_gap(&cur, &ref, 0.0, 1.0));
  if (ref.pol->n != 6 || max_gap(&cur, &ref, 0.0, 1.0) > 1e-12) goto done;

  /* 2. Insert u = 0.75 once in place (out == input): the record keeps its
   *    address and gets new arrays from ws. */
  if (N_toocki(&ref, 0.75, 1, &ref, &ws, &ws)) {
    failed("N_toocki in place");
    goto done;
  }
  print_knots("u=0.75 inserted in place", &ref);
  if (max_gap(&cur, &ref, 0.0, 1.0) > 1e-12) goto done;

  /* An end of the domain already has multiplicity p+1: error 6. */
  if (N_toocki(&ref, 1.0, 1, &ref, &ws, &ws) == 0) goto done;
  failed("inserting u=1 (expected)");
  E_clrerr();

  /* 3. Split at u = 0.4: the halves meet at C(0.4). */
  if (N_toocsp(&cur, 0.4, &left, &right, &ws)) {
    failed("N_toocsp");
    goto done;
  }
  print_knots("left half", &left);
  print_knots("right half", &right);
  if (gap(&left, 0.4, &cur, 0.4) > 1e-12 || gap(&right, 0.4, &cur, 0.4) > 1e-12 ||
      max_gap(&left, &cur, 0.0, 0.4) > 1e-12 || max_gap(&right, &cur, 0.4, 1.0) > 1e-12)
    goto done;

  /* 4. Bezier decomposition of the refined curve: one piece per non-empty
   *    span (0, 0.25, 0.5, 0.75, 1: four pieces). */
  if (N_toocdc(&ref, &pieces, &last, &ws)) {
    failed("N_toocdc");
    goto done;
  }
  printf("%d Bezier pieces\n", (int)last + 1);
  if (last != 3) goto done;
  for (i = 0; i <= last; ++i) {
    double a, b;
    U_curpar(pieces[i], &a, &b);
    printf("  piece %d on [%g, %g], %d points, change %.2e\n", (int)i, a, b,
           (int)pieces[i]->pol->n + 1, max_gap(pieces[i], &cur, a, b));
    if (pieces[i]->pol->n != 3 || max_gap(pieces[i], &cur, a, b) > 1e-12) goto done;
  }
  status = 0;

done:
  N_enurbs(&ws);
  printf(status ? "FAILED\n" : "ok\n");
  return status;
}
