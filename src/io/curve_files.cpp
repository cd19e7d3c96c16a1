// Curve files and curve-array files: four header lines (n, p, rational
// flag, dimension), the control points as stored with the fields of their
// kind, then the n+p+2 knots. Markers are not written; reading restores them.
#include <cstring>

#include "io/text_stream.hpp"

using namespace orvo::detail;

namespace {

// Header of one curve record, checked against the file that holds it.
struct CurveHead {
  int32_t n = 0;
  int16_t p = 0;
  bool rational = false;
  bool three_d = false;
  int32_t m() const { return n + p + 1; }
  int fields() const { return 2 + three_d + rational; }
};

// Reads a curve header. Refused: a conversion that fails, a negative index,
// a degree outside 0..MAXDEGREE or above n (no clamped curve of n+1 points
// has it), and sizes that need more numbers than the rest of the file holds.
bool read_head(TextIn &in, CurveHead *h) {
  long n;
  int16_t p, rational, dim;
  if (!in.read(&n) || !in.read(&p) || !in.read(&rational) || !in.read(&dim)) return false;
  if (n < 0 || n > INT32_MAX - MAXDEGREE - 1 || p < 0 || p > MAXDEGREE || p > n) return false;
  h->n = static_cast<int32_t>(n);
  h->p = p;
  h->rational = rational != 0;
  h->three_d = dim != 2;
  const std::uint64_t count = static_cast<std::uint64_t>(n + 1) * h->fields() + (n + p + 2);
  return count <= in.budget();
}

// Reads the control points and knots of a curve whose header is h into cur
// (already sized for it), restoring the markers of the omitted fields.
bool read_body(TextIn &in, const CurveHead &h, CURVE *cur) {
  CPOINT *Pw = cur->pol->Pw;
  for (int32_t i = 0; i <= h.n; ++i) {
    double v[4];
    for (int k = 0; k < h.fields(); ++k)
      if (!in.read(&v[k])) return false;
    Pw[i] = CPOINT{v[0], v[1], h.three_d ? v[2] : kZ2D, h.rational ? v[h.fields() - 1] : kWNR};
  }
  double *U = cur->knt->U;
  for (int32_t j = 0; j <= h.m(); ++j)
    if (!in.read(&U[j])) return false;
  return true;
}

// One whole curve record into a fresh curve of tmp; null on failure with
// error 18 under tag (file) or 15 from the allocator.
CURVE *read_curve(TextIn &in, const char *tag, STACKS *tmp) {
  CurveHead h;
  if (!read_head(in, &h)) {
    fail(kErrFile, tag);
    return nullptr;
  }
  CURVE *cur = S_getcur(h.n, h.p, h.m(), tmp);
  if (!cur) return nullptr;
  if (!read_body(in, h, cur)) {
    fail(kErrFile, tag);
    return nullptr;
  }
  return cur;
}

// Copies the points and knots of src into dst, sized alike.
void copy_arrays(const CURVE *src, CURVE *dst) {
  std::memcpy(static_cast<void *>(dst->pol->Pw), src->pol->Pw,
              (static_cast<std::size_t>(src->pol->n) + 1) * sizeof(CPOINT));
  std::memcpy(dst->knt->U, src->knt->U,
              (static_cast<std::size_t>(src->knt->m) + 1) * sizeof(double));
}

// A curve is written only when the file can describe it and reading gives
// it back: a non-empty record with n >= 0, 0 <= p <= n, m = n + p + 1 and
// points of one kind (codes 1 or 3 from the definition check, 14 for p > n).
int16_t refuse(const CURVE *cur, const char *tag) {
  if (!cur || U_iscurn(cur) || cur->pol->n < 0 || cur->p < 0) return fail(kErrCurveDef, tag);
  if (E_curdef(cur, tag)) return 1;
  if (cur->p > cur->pol->n) return fail(kErrInconsistent, tag);
  return 0;
}

void put_curve(std::FILE *f, const CURVE *cur) {
  put_curve_head(f, cur);
  put_cpoints(f, cur->pol->Pw, cur->pol->n, U_iscur3(cur), U_iscurr(cur), " ");
  put_reals(f, cur->knt->U, cur->knt->m);
}

}  // namespace

extern "C" {

int16_t U_outcur(const CURVE *cur, const char *path) {
  static const char kTag[] = "U_OUTCUR";
  if (refuse(cur, kTag)) return 1;
  TextOut out(path);
  if (!out.is_open()) return fail(kErrFile, kTag);
  put_curve(out.get(), cur);
  return out.close() ? 0 : fail(kErrFile, kTag);
}

int16_t U_inpcur(CURVE *cur, const char *path, int16_t check, STACKS *ws) {
  static const char kTag[] = "U_INPCUR";
  TextIn in(path);
  if (!in.is_open()) return fail(kErrFile, kTag);
  CurveHead h;
  if (!read_head(in, &h)) return fail(kErrFile, kTag);
  // A record with storage must hold the result before anything is read.
  if (!U_iscurn(cur) && E_cursto(cur, h.n, h.m(), kTag)) return 1;
  // The body goes to a temporary first, so that a short or malformed file
  // leaves the caller's record as it was.
  LocalStacks tmp;
  CURVE *got = S_getcur(h.n, h.p, h.m(), tmp);
  if (!got) return 1;
  if (!read_body(in, h, got)) return fail(kErrFile, kTag);
  if (U_curchk(cur, h.n, h.p, h.m(), kTag, ws)) return 1;
  copy_arrays(got, cur);
  return check == 1 ? E_curinp(cur, kTag) : 0;
}

int16_t U_outcua(CURVE *const *curves, int32_t k, const char *path) {
  static const char kTag[] = "U_OUTCUA";
  if (k < 0 || !curves) return fail(kErrIndex, kTag);
  for (int32_t i = 0; i <= k; ++i)
    if (refuse(curves[i], kTag)) return 1;
  TextOut out(path);
  if (!out.is_open()) return fail(kErrFile, kTag);
  put_index(out.get(), k);
  for (int32_t i = 0; i <= k; ++i) put_curve(out.get(), curves[i]);
  return out.close() ? 0 : fail(kErrFile, kTag);
}

int16_t U_inpcua(CURVE ***curves, int32_t *k, const char *path, int16_t check, STACKS *ws) {
  static const char kTag[] = "U_INPCUA";
  if (!curves || !k) return fail(kErrIndex, kTag);
  TextIn in(path);
  if (!in.is_open()) return fail(kErrFile, kTag);
  // Each curve record takes at least eight numbers: four header values, one
  // point of two fields and two knots.
  long count;
  if (!in.read(&count) || count < 0 || count >= INT32_MAX ||
      static_cast<std::uint64_t>(count + 1) * 8 > in.budget())
    return fail(kErrFile, kTag);
  const int32_t last = static_cast<int32_t>(count);
  // Every record is read into temporaries before the caller's workspace
  // receives anything.
  LocalStacks tmp;
  CURVE **got = S_getcua(last, tmp);
  if (!got) return 1;
  for (int32_t i = 0; i <= last; ++i)
    if (!(got[i] = read_curve(in, kTag, tmp))) return 1;
  CURVE **res = S_getcua(last, ws);
  if (!res) return 1;
  for (int32_t i = 0; i <= last; ++i) {
    res[i] = S_getcur(got[i]->pol->n, got[i]->p, got[i]->knt->m, ws);
    if (!res[i]) return 1;
    copy_arrays(got[i], res[i]);
  }
  *curves = res;
  *k = last;
  if (check == 1)
    for (int32_t i = 0; i <= last; ++i)
      if (E_curinp(res[i], kTag)) return 1;
  return 0;
}

}  // extern "C"
