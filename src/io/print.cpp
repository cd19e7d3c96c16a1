// Printing of curves, surfaces and scalar functions on the standard output,
// section by section with a pause for a key in between.
#include "io/text_stream.hpp"

using namespace orvo::detail;

namespace {

// Announces the pause and waits for one character of the standard input.
void pause() {
  std::fputs("Hit any key to continue...\n", stdout);
  std::fflush(stdout);
  std::getchar();
}

void put_values(const double *v, int32_t highest) { put_reals(stdout, v, highest); }

}  // namespace

extern "C" {

// The kind is read from the first control point, so a record needs storage
// and at least one point.
int16_t U_prtcur(const CURVE *cur) {
  static const char kTag[] = "U_PRTCUR";
  if (!cur || U_iscurn(cur) || cur->pol->n < 0) return fail(kErrCurveDef, kTag);
  put_curve_head(stdout, cur);
  pause();
  put_cpoints(stdout, cur->pol->Pw, cur->pol->n, U_iscur3(cur), U_iscurr(cur), "  ");
  pause();
  put_values(cur->knt->U, cur->knt->m);
  std::fflush(stdout);
  return 0;
}

int16_t U_prtsur(const SURFACE *sur) {
  static const char kTag[] = "U_PRTSUR";
  if (!sur || U_issurn(sur) || sur->net->n < 0 || sur->net->m < 0)
    return fail(kErrSurfaceDef, kTag);
  const CNET *net = sur->net;
  const bool rational = U_issurr(sur);
  put_index2(stdout, net->n, net->m);
  put_short2(stdout, sur->p, sur->q);
  put_short(stdout, rational);
  pause();
  for (int32_t i = 0; i <= net->n; ++i) {
    put_cpoints(stdout, net->Pw[i], net->m, true, rational, " ");
    pause();
  }
  pause();
  put_values(sur->knu->U, sur->knu->m);
  pause();
  put_values(sur->knv->U, sur->knv->m);
  std::fflush(stdout);
  return 0;
}

int16_t U_prtcfn(const CFUNCTION *cfn) {
  static const char kTag[] = "U_PRTCFN";
  if (!cfn || U_iscfnn(cfn)) return fail(kErrCurveDef, kTag);
  put_index(stdout, cfn->cvl->n);
  put_short(stdout, cfn->p);
  pause();
  put_values(cfn->cvl->values, cfn->cvl->n);
  pause();
  put_values(cfn->knt->U, cfn->knt->m);
  std::fflush(stdout);
  return 0;
}

int16_t U_prtsfn(const SFUNCTION *sfn) {
  static const char kTag[] = "U_PRTSFN";
  if (!sfn || U_issfnn(sfn)) return fail(kErrSurfaceDef, kTag);
  const SVLIST *svl = sfn->svl;
  put_index2(stdout, svl->n, svl->m);
  put_short2(stdout, sfn->p, sfn->q);
  pause();
  for (int32_t i = 0; i <= svl->n; ++i) {
    put_values(svl->values[i], svl->m);
    pause();
  }
  pause();
  put_values(sfn->knu->U, sfn->knu->m);
  pause();
  put_values(sfn->knv->U, sfn->knv->m);
  std::fflush(stdout);
  return 0;
}

}  // extern "C"
