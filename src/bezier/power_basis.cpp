// Matrices between Bezier control points and power-basis coefficients, the
// reparametrisation of power coefficients from one interval to another, and
// the conversions of Bezier curves and patches built from them.
//
// A Bezier segment C(t), t in [0, 1], has the power coefficients M P in t.
// Over the caller's interval [a, b] the parameter is t = (u - a) / (b - a),
// and the coefficients in u are R M P with R the reparametrisation from
// [a, b] onto [0, 1]; the way back is P = MI RI coef.
#include <cmath>
#include <utility>

#include "bezier/bezier_ops.hpp"

using namespace orvo::detail;

namespace {

// Binomial coefficients of degrees in the thousands exceed the doubles;
// a matrix holding such entries is refused (error 11).
int16_t all_finite(const RMATRIX &M, const char *tag) {
  for (int32_t i = 0; i <= M.n; ++i)
    for (int32_t j = 0; j <= M.m; ++j)
      if (!std::isfinite(M.a[i][j])) return fail(kErrFloat, tag);
  return 0;
}

}  // namespace

namespace orvo::detail {

int16_t power_matrix(int32_t p, RMATRIX *M, const char *tag, STACKS *ws) {
  if (p < 0) return fail(kErrSelector, tag);
  if (!M) return fail(kErrIndex, tag);
  if (M_rmachk(M, p, p, ORVO_LOWERLEFT, p + 1, tag, ws)) return 1;
  // M[i][j] = (-1)^(i-j) C(p, i) C(i, j); the unused upper part is zeroed.
  for (int32_t i = 0; i <= p; ++i) {
    const double cpi = binomial(p, i);
    for (int32_t j = 0; j <= p; ++j) {
      const double v = j <= i ? cpi * binomial(i, j) : 0.0;
      M->a[i][j] = ((i - j) % 2 != 0) ? -v : v;
    }
  }
  return all_finite(*M, tag);
}

// The inverse of the lower triangle above in closed form: entry (i, j) is
// C(i, j) / C(p, j), the coefficient of the Bernstein polynomial B(i, p) in
// the power t^j. One division per entry keeps every entry correctly rounded.
int16_t inverse_power_matrix(int32_t p, RMATRIX *M, const char *tag, STACKS *ws) {
  if (p < 0) return fail(kErrSelector, tag);
  if (!M) return fail(kErrIndex, tag);
  if (M_rmachk(M, p, p, ORVO_LOWERLEFT, p + 1, tag, ws)) return 1;
  for (int32_t i = 0; i <= p; ++i)
    for (int32_t j = 0; j <= p; ++j) M->a[i][j] = j <= i ? binomial(i, j) / binomial(p, j) : 0.0;
  return all_finite(*M, tag);
}

// The affine map u -> t = L u + K takes [a, b] onto [c, d] (reverse: t on
// [c, d] back onto [a, b]). Power coefficients in t become coefficients in
// u through R[i][j] = C(j, i) L^i K^(j-i), i <= j.
int16_t reparam_matrix(int32_t p, double a, double b, double c, double d, bool reverse, RMATRIX *R,
                       const char *tag, STACKS *ws) {
  if (p < 0) return fail(kErrSelector, tag);
  if (!R) return fail(kErrIndex, tag);
  if (reverse) {
    std::swap(a, c);
    std::swap(b, d);
  }
  const double len = b - a;
  if (!(len >= kIntervalTolerance)) return fail(kErrInconsistent, tag);
  const double L = (d - c) / len, K = (b * c - a * d) / len;
  if (!std::isfinite(L) || !std::isfinite(K)) return fail(kErrFloat, tag);
  if (M_rmachk(R, p, p, ORVO_UPPERRIGHT, p + 1, tag, ws)) return 1;
  double Li = 1.0;  // L^i
  for (int32_t i = 0; i <= p; ++i) {
    for (int32_t j = 0; j < i; ++j) R->a[i][j] = 0.0;
    double Kk = 1.0;  // K^(j-i)
    for (int32_t j = i; j <= p; ++j) {
      R->a[i][j] = binomial(j, i) * Li * Kk;
      if (!std::isfinite(R->a[i][j])) return fail(kErrFloat, tag);
      Kk *= K;
    }
    Li *= L;
  }
  return 0;
}

int16_t elevation_matrix(int32_t p, int32_t t, RMATRIX *E, const char *tag, STACKS *ws) {
  if (p < 0 || t < 0) return fail(kErrSelector, tag);
  if (!E) return fail(kErrIndex, tag);
  const int32_t ph = p + t;
  if (M_rmachk(E, ph, p, ORVO_FULL, p + 1, tag, ws)) return 1;
  for (int32_t i = 0; i <= ph; ++i) {
    const double cphi = binomial(ph, i);
    for (int32_t j = 0; j <= p; ++j)
      E->a[i][j] = (j >= i - t && j <= i) ? binomial(p, j) * binomial(t, i - j) / cphi : 0.0;
  }
  return all_finite(*E, tag);
}

}  // namespace orvo::detail

namespace {

// A matrix record the caller handed in: used as held when it holds a square
// lower-left (or full) matrix of degree p, built into ws when it holds none
// (into the private workspace when no record was given). A held matrix of
// another degree or storage is refused (error 14).
template <class Build>
int16_t held_or_built(RMATRIX *rec, int32_t p, RMATRIX &local, const char *tag, STACKS *ws,
                      STACKS *tmp, Build build, const RMATRIX *&out) {
  if (!rec) {
    M_inirma(&local);
    if (build(p, &local, tag, tmp)) return 1;
    out = &local;
    return 0;
  }
  if (M_isrman(rec)) {
    if (build(p, rec, tag, ws)) return 1;
  } else if (rec->n != p || rec->m != p ||
             (rec->type != ORVO_FULL && rec->type != ORVO_LOWERLEFT)) {
    return fail(kErrInconsistent, tag);
  }
  out = rec;
  return 0;
}

// T: the whole map of a conversion for degree p over [a, b]. to_power:
// T = R M (Bezier points to power coefficients); otherwise T = MI RI
// (power coefficients to Bezier points). T lives in tmp.
int16_t conversion(int32_t p, RMATRIX *M, bool to_power, double a, double b, RMATRIX *T,
                   const char *tag, STACKS *ws, STACKS *tmp) {
  if (p < 0) return fail(kErrSelector, tag);
  RMATRIX local, R;
  M_inirma(&R);
  M_inirma(T);
  // The interval is checked before the caller's record receives a matrix.
  if (reparam_matrix(p, a, b, 0.0, 1.0, !to_power, &R, tag, tmp)) return 1;
  const RMATRIX *base = nullptr;
  if (to_power)
    return held_or_built(M, p, local, tag, ws, tmp, power_matrix, base) ||
           M_rmamul(&R, base, T, tmp);
  return held_or_built(M, p, local, tag, ws, tmp, inverse_power_matrix, base) ||
         M_rmamul(base, &R, T, tmp);
}

int16_t curve_conversion(const CPOINT *in, int16_t p, RMATRIX *M, bool to_power, double a, double b,
                         CPOINT *out, const char *tag, STACKS *ws) {
  if (!in || !out) return fail(kErrIndex, tag);
  LocalStacks tmp;
  RMATRIX T;
  if (conversion(p, M, to_power, a, b, &T, tag, ws, tmp)) return 1;
  return M_rmacpt(&T, in, out);
}

int16_t patch_conversion(CPOINT *const *in, int16_t p, int16_t q, RMATRIX *Mu, RMATRIX *Mv,
                         bool to_power, double a, double b, double c, double d, CPOINT **out,
                         const char *tag, STACKS *ws) {
  if (!in || !out) return fail(kErrIndex, tag);
  LocalStacks tmp;
  RMATRIX Tu, Tv;
  if (conversion(p, Mu, to_power, a, b, &Tu, tag, ws, tmp) ||
      conversion(q, Mv, to_power, c, d, &Tv, tag, ws, tmp))
    return 1;
  return M_rmcprm(&Tu, in, &Tv, out);
}

}  // namespace

extern "C" {

int16_t B_powmat(int16_t p, RMATRIX *M, STACKS *ws) { return power_matrix(p, M, "B_POWMAT", ws); }

int16_t B_ipomat(int16_t p, RMATRIX *M, STACKS *ws) {
  return inverse_power_matrix(p, M, "B_IPOMAT", ws);
}

int16_t B_repmat(int16_t p, double a, double b, double c, double d, RMATRIX *R, STACKS *ws) {
  return reparam_matrix(p, a, b, c, d, false, R, "B_REPMAT", ws);
}

int16_t B_iremat(int16_t p, double a, double b, double c, double d, RMATRIX *R, STACKS *ws) {
  return reparam_matrix(p, a, b, c, d, true, R, "B_IREMAT", ws);
}

int16_t B_cbepow(const CPOINT *P, int16_t p, RMATRIX *M, double a, double b, CPOINT *coef,
                 STACKS *ws) {
  return curve_conversion(P, p, M, true, a, b, coef, "B_CBEPOW", ws);
}

int16_t B_cpobez(const CPOINT *coef, int16_t p, RMATRIX *MI, double a, double b, CPOINT *P,
                 STACKS *ws) {
  return curve_conversion(coef, p, MI, false, a, b, P, "B_CPOBEZ", ws);
}

int16_t B_sbepow(CPOINT *const *net, int16_t p, int16_t q, RMATRIX *Mu, RMATRIX *Mv, double a,
                 double b, double c, double d, CPOINT **coef, STACKS *ws) {
  return patch_conversion(net, p, q, Mu, Mv, true, a, b, c, d, coef, "B_SBEPOW", ws);
}

int16_t B_spobez(CPOINT *const *coef, int16_t p, int16_t q, RMATRIX *MIu, RMATRIX *MIv, double a,
                 double b, double c, double d, CPOINT **net, STACKS *ws) {
  return patch_conversion(coef, p, q, MIu, MIv, false, a, b, c, d, net, "B_SPOBEZ", ws);
}

}  // extern "C"
