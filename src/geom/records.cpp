// Makers and breakers of the elementary geometry records. Every maker stores
// its arguments in field order; every breaker returns each field.
#include "arith/vector_ops.hpp"
#include "core/internal.hpp"

using namespace orvo::detail;

extern "C" {

void G_makitv(double a, double b, INTERVAL *itv) { *itv = INTERVAL{a, b}; }

void G_itvbre(INTERVAL itv, double *a, double *b) {
  *a = itv.a;
  *b = itv.b;
}

void G_makrct(double xmin, double xmax, double ymin, double ymax, RECTANGLE *rct) {
  *rct = RECTANGLE{xmin, xmax, ymin, ymax};
}

void G_rctbre(RECTANGLE rct, double *xmin, double *xmax, double *ymin, double *ymax) {
  *xmin = rct.xmin;
  *xmax = rct.xmax;
  *ymin = rct.ymin;
  *ymax = rct.ymax;
}

// The x (or u) range and the y (or v) range of a rectangle.
void G_rctitv(RECTANGLE rct, INTERVAL *first, INTERVAL *second) {
  *first = INTERVAL{rct.xmin, rct.xmax};
  *second = INTERVAL{rct.ymin, rct.ymax};
}

void G_boxdef(double xmin, double xmax, double ymin, double ymax, double zmin, double zmax,
              BOX *box) {
  *box = BOX{xmin, xmax, ymin, ymax, zmin, zmax};
}

void G_boxbre(BOX box, double *xmin, double *xmax, double *ymin, double *ymax, double *zmin,
              double *zmax) {
  *xmin = box.xmin;
  *xmax = box.xmax;
  *ymin = box.ymin;
  *ymax = box.ymax;
  *zmin = box.zmin;
  *zmax = box.zmax;
}

void G_makln2(POINT P, VECTOR D, int16_t kind, LINE *line) { *line = LINE{P, D, kind}; }

// Line through P and Q: direction Q - P, so that a segment runs from P to Q.
void G_makln1(POINT P, POINT Q, int16_t kind, LINE *line) { *line = LINE{P, sub3(Q, P), kind}; }

void G_linbre(LINE line, POINT *P, VECTOR *D, int16_t *kind) {
  *P = line.P;
  *D = line.D;
  *kind = line.kind;
}

void G_lindir(LINE line, VECTOR *D) { *D = line.D; }
void G_linsfl(LINE *line, int16_t kind) { line->kind = kind; }

void G_makpln(POINT P, VECTOR N, PLANE *pln) { *pln = PLANE{P, N}; }

void G_plnbre(PLANE pln, POINT *P, VECTOR *N) {
  *P = pln.P;
  *N = pln.N;
}

void G_plnnor(PLANE pln, VECTOR *N) { *N = pln.N; }

void G_makppl(int32_t n, POINT *pts, PPOLYGON *ppl) { *ppl = PPOLYGON{n, pts}; }

void G_pplbre(PPOLYGON ppl, int32_t *n, POINT **pts) {
  *n = ppl.n;
  *pts = ppl.pts;
}

void G_makntl(int32_t n, int32_t m, POINT **rows, PNET *net) { *net = PNET{n, m, rows}; }

void G_ntlbre(PNET net, int32_t *n, int32_t *m, POINT ***rows) {
  *n = net.n;
  *m = net.m;
  *rows = net.rows;
}

}  // extern "C"
