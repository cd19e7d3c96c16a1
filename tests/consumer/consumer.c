/* A program outside the project that uses the installed library: a quarter
 * circle, one point on it. */
#include <math.h>
#include <stdio.h>

#include <orvo/orvo.h>

int main(void) {
  POINT O = {0, 0, 0}, P;
  VECTOR X = {1, 0, 0}, Y = {0, 1, 0};
  STACKS ws;
  CURVE arc;
  int ok;
  N_inurbs(&ws);
  U_inicur(&arc);
  ok = N_concir(O, X, Y, 2.0, 0.0, 90.0, 2, &arc, &ws) == 0 && N_curevn(&arc, 0.5, 1, &P) == 0 &&
       fabs(P.x * P.x + P.y * P.y - 4.0) < 1e-12;
  N_enurbs(&ws);
  printf("%s\n", ok ? "installed library works" : "installed library failed");
  return ok ? 0 : 1;
}
