// Conversion of curves and surfaces into power-form pieces, one per knot
// span of positive length, and of such pieces back into a B-spline.
//
// A power-form piece of degree p holds the p+1 coefficients of its
// polynomial in the parameter itself (not normalised) and the two knots
// a, b of its span. Going back, every piece becomes a Bezier segment and
// the segments are joined with knots of multiplicity p, and every knot
// that can go within the point tolerance is removed.
#include <cmath>

#include "refine/refine_common.hpp"

using namespace orvo::detail;

namespace {

// Two span ends agree when they differ by no more than rounding.
bool same_knot(double a, double b) {
  return std::fabs(a - b) <= ZERO_TOLERANCE * (1.0 + std::fabs(a) + std::fabs(b));
}

// Markers of a record's kind, read from its first control point.
struct Kind {
  bool planar, rational;
  explicit Kind(const CPOINT &q) : planar(!z_valid(q.z)), rational(w_valid(q.w)) {}
  bool operator==(const Kind &o) const { return planar == o.planar && rational == o.rational; }
};

// A power-form curve piece of degree p: p+1 coefficients, two knots a < b.
bool curve_piece(const CURVE *c, int p) {
  return c && c->pol && c->knt && c->pol->Pw && c->knt->U && c->p == p && c->pol->n == p &&
         c->knt->m == 1 && c->knt->U[0] < c->knt->U[1];
}

bool surface_piece(const SURFACE *s, int p, int q) {
  return s && s->net && s->knu && s->knv && s->net->Pw && s->knu->U && s->knv->U && s->p == p &&
         s->q == q && s->net->n == p && s->net->m == q && s->knu->m == 1 && s->knv->m == 1 &&
         s->knu->U[0] < s->knu->U[1] && s->knv->U[0] < s->knv->U[1];
}

// Knots of the joined Bezier segments of pieces 0..last of degree p: the
// first a p+1 times, every b p times, the last b once more. ends(i, a, b)
// gives the span of piece i.
template <class Ends>
void joined_knots(int p, int32_t last, Ends ends, double *U) {
  double a, b;
  ends(0, a, b);
  int32_t k = 0;
  for (int j = 0; j <= p; ++j) U[k++] = a;
  for (int32_t i = 0; i <= last; ++i) {
    ends(i, a, b);
    for (int j = 0; j < p; ++j) U[k++] = b;
  }
  U[k] = b;
}

// Consecutive spans: each piece starts where the one before ends.
template <class Ends>
bool chained(int32_t last, Ends ends) {
  for (int32_t i = 1; i <= last; ++i) {
    double a0, b0, a1, b1;
    ends(i - 1, a0, b0);
    ends(i, a1, b1);
    if (!same_knot(b0, a1)) return false;
  }
  return true;
}

// Degree of joined pieces: 1 .. MAXDEGREE (a degree-0 piece has no point
// to share with its neighbour).
int16_t check_join_degree(int p, const char *tag) {
  return (p >= 1 && p <= MAXDEGREE) ? 0 : fail(kErrDegree, tag);
}

}  // namespace

extern "C" {

int16_t N_gprcnp(const CURVE *C, CURVE ***pieces, int32_t *last, STACKS *ws) {
  const char *tag = "N_GPRCNP";
  if (check_refine_curve(C, tag)) return 1;
  if (!pieces || !last || !ws) return fail(kErrInconsistent, tag);
  const int16_t p = C->p;
  LocalStacks local;
  CURVE **bez;
  int32_t nb;
  // Decomposition only reads its input.
  if (N_toocdc(const_cast<CURVE *>(C), &bez, &nb, local)) return 1;
  RMATRIX M;
  M_inirma(&M);
  WorkspaceMark mark(ws);
  CURVE **out = S_getcu2(p, p, 1, nb, ws);
  if (!out) {
    mark.rollback();
    return 1;
  }
  for (int32_t i = 0; i <= nb; ++i) {
    const double a = bez[i]->knt->U[0], b = bez[i]->knt->U[2 * p + 1];
    if (B_cbepow(bez[i]->pol->Pw, p, &M, a, b, out[i]->pol->Pw, local)) {
      mark.rollback();
      return 1;
    }
    out[i]->knt->U[0] = a;
    out[i]->knt->U[1] = b;
  }
  *pieces = out;
  *last = nb;
  return 0;
}

int16_t N_gprcpn(CURVE *const *pieces, int32_t last, CURVE *out, STACKS *ws) {
  const char *tag = "N_GPRCPN";
  if (!pieces || last < 0 || !pieces[0]) return fail(kErrInconsistent, tag);
  const int p = pieces[0]->p;
  if (check_join_degree(p, tag)) return 1;
  for (int32_t i = 0; i <= last; ++i)
    if (!curve_piece(pieces[i], p)) return fail(kErrInconsistent, tag);
  const Kind kind(pieces[0]->pol->Pw[0]);
  for (int32_t i = 1; i <= last; ++i)
    if (!(Kind(pieces[i]->pol->Pw[0]) == kind)) return fail(kErrInconsistent, tag);
  auto ends = [&](int32_t i, double &a, double &b) {
    a = pieces[i]->knt->U[0];
    b = pieces[i]->knt->U[1];
  };
  if (!chained(last, ends)) return fail(kErrInconsistent, tag);
  if (!out || !ws) return fail(kErrInconsistent, tag);
  const int32_t n = (last + 1) * p;
  LocalStacks local;
  RMATRIX MI;
  M_inirma(&MI);
  CURVE joined;
  U_inicur(&joined);
  if (U_getcur(&joined, n, static_cast<int16_t>(p), n + p + 1, local)) return 1;
  for (int32_t i = 0; i <= last; ++i) {
    double a, b;
    ends(i, a, b);
    // The first point of a segment overwrites the last of the one before:
    // both are the curve's point at the shared knot.
    if (B_cpobez(pieces[i]->pol->Pw, static_cast<int16_t>(p), &MI, a, b, joined.pol->Pw + i * p,
                 local))
      return 1;
  }
  joined_knots(p, last, ends, joined.knt->U);
  // The joints are only positionally continuous: every knot that can go
  // within the point tolerance goes, which restores the smoothness of a
  // spline that was cut into these pieces.
  return N_toocra(&joined, POINT_TOLERANCE, out, ws);
}

int16_t N_gprsnp(const SURFACE *S, SURFACE ****pieces, int32_t *last_u, int32_t *last_v,
                 STACKS *ws) {
  const char *tag = "N_GPRSNP";
  if (check_refine_surface(S, tag)) return 1;
  if (!pieces || !last_u || !last_v || !ws) return fail(kErrInconsistent, tag);
  const int16_t p = S->p, q = S->q;
  LocalStacks local;
  SURFACE ***bez;
  int32_t nu, nv;
  if (N_toosdc(const_cast<SURFACE *>(S), &bez, &nu, &nv, local)) return 1;
  RMATRIX Mu, Mv;
  M_inirma(&Mu);
  M_inirma(&Mv);
  WorkspaceMark mark(ws);
  SURFACE ***out = S_getsu3(p, q, p, q, 1, 1, nu, nv, ws);
  if (!out) {
    mark.rollback();
    return 1;
  }
  for (int32_t iu = 0; iu <= nu; ++iu)
    for (int32_t iv = 0; iv <= nv; ++iv) {
      const SURFACE *z = bez[iu][iv];
      const double a = z->knu->U[0], b = z->knu->U[2 * p + 1];
      const double c = z->knv->U[0], d = z->knv->U[2 * q + 1];
      SURFACE *w = out[iu][iv];
      if (B_sbepow(z->net->Pw, p, q, &Mu, &Mv, a, b, c, d, w->net->Pw, local)) {
        mark.rollback();
        return 1;
      }
      w->knu->U[0] = a;
      w->knu->U[1] = b;
      w->knv->U[0] = c;
      w->knv->U[1] = d;
    }
  *pieces = out;
  *last_u = nu;
  *last_v = nv;
  return 0;
}

int16_t N_gprspn(SURFACE *const *const *pieces, int32_t last_u, int32_t last_v, SURFACE *out,
                 STACKS *ws) {
  const char *tag = "N_GPRSPN";
  if (!pieces || last_u < 0 || last_v < 0) return fail(kErrInconsistent, tag);
  for (int32_t iu = 0; iu <= last_u; ++iu)
    if (!pieces[iu]) return fail(kErrInconsistent, tag);
  if (!pieces[0][0]) return fail(kErrInconsistent, tag);
  const int p = pieces[0][0]->p, q = pieces[0][0]->q;
  if (check_join_degree(p, tag) || check_join_degree(q, tag)) return 1;
  for (int32_t iu = 0; iu <= last_u; ++iu)
    for (int32_t iv = 0; iv <= last_v; ++iv)
      if (!surface_piece(pieces[iu][iv], p, q)) return fail(kErrInconsistent, tag);
  // Every piece of a row shares the row's u span, every piece of a column
  // the column's v span, and the kind of the first piece.
  const Kind kind(pieces[0][0]->net->Pw[0][0]);
  for (int32_t iu = 0; iu <= last_u; ++iu)
    for (int32_t iv = 0; iv <= last_v; ++iv) {
      const SURFACE *z = pieces[iu][iv];
      if (!(Kind(z->net->Pw[0][0]) == kind) || !same_knot(z->knu->U[0], pieces[iu][0]->knu->U[0]) ||
          !same_knot(z->knu->U[1], pieces[iu][0]->knu->U[1]) ||
          !same_knot(z->knv->U[0], pieces[0][iv]->knv->U[0]) ||
          !same_knot(z->knv->U[1], pieces[0][iv]->knv->U[1]))
        return fail(kErrInconsistent, tag);
    }
  auto uends = [&](int32_t i, double &a, double &b) {
    a = pieces[i][0]->knu->U[0];
    b = pieces[i][0]->knu->U[1];
  };
  auto vends = [&](int32_t j, double &c, double &d) {
    c = pieces[0][j]->knv->U[0];
    d = pieces[0][j]->knv->U[1];
  };
  if (!chained(last_u, uends) || !chained(last_v, vends)) return fail(kErrInconsistent, tag);
  if (!out || !ws) return fail(kErrInconsistent, tag);
  const int32_t n = (last_u + 1) * p, m = (last_v + 1) * q;
  LocalStacks local;
  RMATRIX MIu, MIv;
  M_inirma(&MIu);
  M_inirma(&MIv);
  CPOINT **patch = S_getc2d(p, q, local);
  SURFACE joined;
  U_inisur(&joined);
  if (!patch || U_getsur(&joined, n, m, static_cast<int16_t>(p), static_cast<int16_t>(q), n + p + 1,
                         m + q + 1, local))
    return 1;
  for (int32_t iu = 0; iu <= last_u; ++iu)
    for (int32_t iv = 0; iv <= last_v; ++iv) {
      double a, b, c, d;
      uends(iu, a, b);
      vends(iv, c, d);
      if (B_spobez(pieces[iu][iv]->net->Pw, static_cast<int16_t>(p), static_cast<int16_t>(q), &MIu,
                   &MIv, a, b, c, d, patch, local))
        return 1;
      for (int k = 0; k <= p; ++k)
        for (int l = 0; l <= q; ++l) joined.net->Pw[iu * p + k][iv * q + l] = patch[k][l];
    }
  joined_knots(p, last_u, uends, joined.knu->U);
  joined_knots(q, last_v, vends, joined.knv->U);
  return N_toosra(&joined, POINT_TOLERANCE, 3, out, ws);
}

}  // extern "C"
