/* The public headers compile as C, and a C program can drive the shared
 * library through them. */
#include <stdio.h>
#include <string.h>

#include <orvo/orvo.h>

static int failures = 0;
#define EXPECT(cond)                                             \
  do {                                                           \
    if (!(cond)) {                                               \
      fprintf(stderr, "%s:%d: %s\n", __FILE__, __LINE__, #cond); \
      ++failures;                                                \
    }                                                            \
  } while (0)

int main(void) {
  STACKS ws;
  CURVE cur, copy;
  double x[] = {0.0, 1.0, 2.0}, y[] = {0.0, 1.0, 0.0};
  double z[] = {0.0, 0.0, 0.0}, w[] = {1.0, 0.5, 1.0};
  double U[] = {0.0, 0.0, 0.0, 1.0, 1.0, 1.0};
  const char *routine;
  int32_t code;
  double *row;
  RMATRIX mat;

  EXPECT(N_inurbs(&ws) == &ws);
  EXPECT(U_makcu3(&cur, x, y, z, w, 2, 2, U, 5, &ws) == 0);
  EXPECT(E_curinp(&cur, "C_TEST") == 0);
  EXPECT(U_iscur3(&cur) == 1 && U_iscurr(&cur) == 1);

  U_inicur(&copy);
  EXPECT(U_iscurn(&copy) == 1);
  EXPECT(U_curcop(&cur, &copy, &ws) == 0);
  EXPECT(copy.pol->n == 2 && copy.knt->m == 5 && copy.pol->Pw[1].w == 0.5);

  EXPECT(E_parval(cur.knt, 1.5, "C_TEST") == 1);
  E_GetOrvoError(&routine, &code);
  EXPECT(code == 6 && strcmp(routine, "C_TEST") == 0);
  E_clrerr();
  E_GetOrvoError(&routine, &code);
  EXPECT(code == 0 && strcmp(routine, " ") == 0);

  M_inirma(&mat);
  EXPECT(M_isrman(&mat) == 1);
  EXPECT(M_getrma(&mat, 1, 1, 0, 1, &ws) == 0);
  row = mat.a[1];
  row[1] = 4.0;
  EXPECT(M_r2mima(mat.a, 0, 0, 1) == mat.a[0][0]);
  EXPECT(M_chkfop(1.0, 0.0, 4) == 1);

  N_enurbs(&ws);
  if (failures == 0) printf("C interface: all checks passed\n");
  return failures == 0 ? 0 : 1;
}
