// Error state, the floating-point guard and the argument checks.
#include <cmath>

#include "core/internal.hpp"

using namespace orvo::detail;

namespace {

// The error state: last code and the tag of its routine. Each thread has
// its own, so that threads working at once never see each other's errors;
// a single-threaded caller sees one state as before.
thread_local int32_t g_code = 0;
thread_local const char *g_routine = " ";

const double kLnMax = std::log(DBL_MAX);
const double kLnMin = std::log(2.2250738585072014e-308);

double sign_of(double x) { return x > 0.0 ? 1.0 : -1.0; }

// Rationality and dimension of a control point.
bool rational(const CPOINT &c) { return w_valid(c.w); }
bool three_d(const CPOINT &c) { return z_valid(c.z); }

bool weight_ok(double w) { return w >= MINWEIGHT && w <= MAXWEIGHT; }

}  // namespace

extern "C" {

void E_seterr(int32_t code, const char *routine) {
  g_code = code;
  g_routine = routine ? routine : " ";
}

void E_clrerr(void) {
  g_code = 0;
  g_routine = " ";
}

void E_GetOrvoError(const char **routine, int32_t *code) {
  if (routine) *routine = g_routine;
  if (code) *code = g_code;
}

int16_t M_chkfop(double a, double b, int16_t op) {
  // Non-finite operands can never be combined safely.
  if (!std::isfinite(a) || !std::isfinite(b)) return 1;
  const double fa = std::fabs(a), fb = std::fabs(b);
  switch (op) {
    case 1:
      if (sign_of(a) != sign_of(b)) return 0;
      return (DBL_MAX - fa) <= fb ? 1 : 0;
    case 2:
      if (sign_of(a) * sign_of(b) > 0.0) return 0;
      return -fb <= fa - DBL_MAX ? 1 : 0;
    case 3: {
      if (a == 0.0 || b == 0.0) return 0;
      const double s = std::log(fa) + std::log(fb);
      return (kLnMax > s && s > kLnMin) ? 0 : 1;
    }
    case 4: {
      if (b == 0.0) return 1;
      if (a == 0.0) return 0;
      const double la = std::log(fa), lb = std::log(fb);
      return (la < kLnMax + lb && kLnMin + lb < la) ? 0 : 1;
    }
    default:
      return 1;
  }
}

int16_t E_parval(const KNOTVECTOR *knt, double u, const char *routine) {
  if (knt && knt->U && knt->m >= 0 && u >= knt->U[0] && u <= knt->U[knt->m]) return 0;
  return fail(kErrParameter, routine);
}

int16_t E_endpar(const KNOTVECTOR *knt, double u, const char *routine) {
  if (knt && knt->U && knt->m >= 0 && u > knt->U[0] && u < knt->U[knt->m]) return 0;
  return fail(kErrParameter, routine);
}

int16_t E_kntdef(const KNOTVECTOR *knt, int16_t p, const char *routine) {
  if (!knt || !knt->U || knt->m < 0 || p < 0) return fail(kErrKnots, routine);
  const double *U = knt->U;
  const int32_t m = knt->m;
  // NaN and infinite knots define no spans.
  for (int32_t i = 0; i <= m; ++i)
    if (!std::isfinite(U[i])) return fail(kErrKnots, routine);

  // Start multiplicity: exactly p+1 equal leading knots.
  if (m >= 1) {
    int32_t k = 0;
    while (k < m && U[k] == U[k + 1]) ++k;
    if (k != p) return fail(kErrKnots, routine);
  } else if (p != 0) {
    return fail(kErrKnots, routine);
  }

  // End multiplicity: exactly p+1 equal trailing knots.
  int32_t j = m;
  while (j > 0 && U[j] == U[j - 1]) --j;
  if (j != m - p) return fail(kErrKnots, routine);

  // Interior: non-decreasing, no run longer than p. The comparison also
  // covers the step from the last interior knot to the end knots, which a
  // check of the interior runs alone would let decrease.
  const int32_t e = m - p;
  int32_t i = p;
  int32_t k = p + 1;
  while (k < e) {
    if (!(U[i] <= U[k])) return fail(kErrKnots, routine);
    int32_t kk = k;
    while (kk < e && U[kk] == U[kk + 1]) ++kk;
    if (kk - k + 1 > p) return fail(kErrKnots, routine);
    i = kk;
    k = kk + 1;
  }
  if (e > p && !(U[i] <= U[e])) return fail(kErrKnots, routine);
  return 0;
}

int16_t E_curdef(const CURVE *cur, const char *routine) {
  if (!cur || !cur->pol || !cur->knt || !cur->pol->Pw || cur->pol->n < 0 || cur->p < 0)
    return fail(kErrCurveDef, routine);
  const int32_t n = cur->pol->n;
  if (static_cast<int64_t>(cur->knt->m) != static_cast<int64_t>(n) + cur->p + 1)
    return fail(kErrCurveDef, routine);
  if (cur->p > MAXDEGREE) return fail(kErrDegree, routine);
  const CPOINT *Pw = cur->pol->Pw;
  const bool r0 = rational(Pw[0]), d0 = three_d(Pw[0]);
  for (int32_t i = 1; i <= n; ++i)
    if (rational(Pw[i]) != r0 || three_d(Pw[i]) != d0) return fail(kErrCurveDef, routine);
  return 0;
}

int16_t E_surdef(const SURFACE *sur, const char *routine) {
  if (!sur || !sur->net || !sur->knu || !sur->knv || !sur->net->Pw || sur->net->n < 0 ||
      sur->net->m < 0 || sur->p < 0 || sur->q < 0)
    return fail(kErrSurfaceDef, routine);
  const int32_t n = sur->net->n, m = sur->net->m;
  if (static_cast<int64_t>(sur->knu->m) != static_cast<int64_t>(n) + sur->p + 1 ||
      static_cast<int64_t>(sur->knv->m) != static_cast<int64_t>(m) + sur->q + 1)
    return fail(kErrSurfaceDef, routine);
  if (sur->p > MAXDEGREE || sur->q > MAXDEGREE) return fail(kErrDegree, routine);
  CPOINT *const *Pw = sur->net->Pw;
  const bool r0 = rational(Pw[0][0]);
  for (int32_t i = 0; i <= n; ++i)
    for (int32_t j = 0; j <= m; ++j)
      if (rational(Pw[i][j]) != r0) return fail(kErrSurfaceDef, routine);
  return 0;
}

int16_t E_curwei(const CURVE *cur, const char *routine) {
  if (!U_iscurr(cur)) return 0;
  const CPOINT *Pw = cur->pol->Pw;
  for (int32_t i = 0; i <= cur->pol->n; ++i)
    if (!weight_ok(Pw[i].w)) return fail(kErrWeight, routine);
  return 0;
}

int16_t E_surwei(const SURFACE *sur, const char *routine) {
  if (!U_issurr(sur)) return 0;
  CPOINT *const *Pw = sur->net->Pw;
  for (int32_t i = 0; i <= sur->net->n; ++i)
    for (int32_t j = 0; j <= sur->net->m; ++j)
      if (!weight_ok(Pw[i][j].w)) return fail(kErrWeight, routine);
  return 0;
}

int16_t E_curinp(const CURVE *cur, const char *routine) {
  if (E_curdef(cur, routine) || E_curwei(cur, routine) || E_kntdef(cur->knt, cur->p, routine))
    return 1;
  return 0;
}

int16_t E_surinp(const SURFACE *sur, const char *routine) {
  if (E_surdef(sur, routine) || E_surwei(sur, routine) || E_kntdef(sur->knu, sur->p, routine) ||
      E_kntdef(sur->knv, sur->q, routine))
    return 1;
  return 0;
}

int16_t E_cursto(const CURVE *cur, int32_t n, int32_t m, const char *routine) {
  // A record without parts can take nothing.
  if (cur && cur->pol && cur->knt && n <= cur->pol->n && m <= cur->knt->m) return 0;
  return fail(kErrTooSmall, routine);
}

int16_t E_cfnsto(const CFUNCTION *cfn, int32_t n, int32_t m, const char *routine) {
  if (cfn && cfn->cvl && cfn->knt && n <= cfn->cvl->n && m <= cfn->knt->m) return 0;
  return fail(kErrTooSmall, routine);
}

int16_t E_sursto(const SURFACE *sur, int32_t n, int32_t m, int32_t r, int32_t s,
                 const char *routine) {
  if (sur && sur->net && sur->knu && sur->knv && n <= sur->net->n && m <= sur->net->m &&
      r <= sur->knu->m && s <= sur->knv->m)
    return 0;
  return fail(kErrTooSmall, routine);
}

int16_t E_sfnsto(const SFUNCTION *sfn, int32_t n, int32_t m, int32_t r, int32_t s,
                 const char *routine) {
  if (sfn && sfn->svl && sfn->knu && sfn->knv && n <= sfn->svl->n && m <= sfn->svl->m &&
      r <= sfn->knu->m && s <= sfn->knv->m)
    return 0;
  return fail(kErrTooSmall, routine);
}

}  // extern "C"
