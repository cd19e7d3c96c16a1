// Surface files: "n m", "p q", the rational flag, the net row by row (x y z,
// and w when rational), then the U and the V knots. Surfaces are always 3-D
// in the file; a missing weight is restored as the non-rational marker.
#include <cstring>

#include "io/text_stream.hpp"

using namespace orvo::detail;

namespace {

struct SurfaceHead {
  int32_t n = 0, m = 0;
  int16_t p = 0, q = 0;
  bool rational = false;
  int32_t r() const { return n + p + 1; }
  int32_t s() const { return m + q + 1; }
  int fields() const { return 3 + rational; }
};

bool degree_fits(long n, int16_t p) {
  return n >= 0 && n <= INT32_MAX - MAXDEGREE - 1 && p >= 0 && p <= MAXDEGREE && p <= n;
}

// Reads a surface header; refused like a curve header in each direction,
// and when the net and knots need more numbers than the rest of the file
// holds.
bool read_head(TextIn &in, SurfaceHead *h) {
  long n, m;
  int16_t p, q, rational;
  if (!in.read(&n) || !in.read(&m) || !in.read(&p) || !in.read(&q) || !in.read(&rational))
    return false;
  if (!degree_fits(n, p) || !degree_fits(m, q)) return false;
  *h = SurfaceHead{static_cast<int32_t>(n), static_cast<int32_t>(m), p, q, rational != 0};
  std::uint64_t count;
  if (!product(n + 1, m + 1, h->fields(), &count)) return false;
  count += static_cast<std::uint64_t>(h->r()) + 1 + h->s() + 1;
  return count <= in.budget();
}

bool read_body(TextIn &in, const SurfaceHead &h, SURFACE *sur) {
  CPOINT **Pw = sur->net->Pw;
  for (int32_t i = 0; i <= h.n; ++i)
    for (int32_t j = 0; j <= h.m; ++j) {
      double v[4] = {0.0, 0.0, 0.0, kWNR};
      for (int k = 0; k < h.fields(); ++k)
        if (!in.read(&v[k])) return false;
      Pw[i][j] = CPOINT{v[0], v[1], v[2], v[3]};
    }
  for (int32_t j = 0; j <= h.r(); ++j)
    if (!in.read(&sur->knu->U[j])) return false;
  for (int32_t j = 0; j <= h.s(); ++j)
    if (!in.read(&sur->knv->U[j])) return false;
  return true;
}

// Copies net and knots of src into dst, sized alike (rows of a net may lie
// anywhere in a reused record, so they are copied one by one).
void copy_arrays(const SURFACE *src, SURFACE *dst) {
  const std::size_t row = (static_cast<std::size_t>(src->net->m) + 1) * sizeof(CPOINT);
  for (int32_t i = 0; i <= src->net->n; ++i)
    std::memcpy(static_cast<void *>(dst->net->Pw[i]), src->net->Pw[i], row);
  std::memcpy(dst->knu->U, src->knu->U,
              (static_cast<std::size_t>(src->knu->m) + 1) * sizeof(double));
  std::memcpy(dst->knv->U, src->knv->U,
              (static_cast<std::size_t>(src->knv->m) + 1) * sizeof(double));
}

// A surface is written only when reading gives it back: a non-empty record
// with non-negative indices and degrees, r = n + p + 1, s = m + q + 1, one
// rationality (codes 2 or 3), and p <= n, q <= m (code 14).
int16_t refuse(const SURFACE *sur, const char *tag) {
  if (!sur || U_issurn(sur) || sur->net->n < 0 || sur->net->m < 0 || sur->p < 0 || sur->q < 0)
    return fail(kErrSurfaceDef, tag);
  if (E_surdef(sur, tag)) return 1;
  if (sur->p > sur->net->n || sur->q > sur->net->m) return fail(kErrInconsistent, tag);
  return 0;
}

}  // namespace

extern "C" {

int16_t U_outsur(const SURFACE *sur, const char *path) {
  static const char kTag[] = "U_OUTSUR";
  if (refuse(sur, kTag)) return 1;
  TextOut out(path);
  if (!out.is_open()) return fail(kErrFile, kTag);
  std::FILE *f = out.get();
  const CNET *net = sur->net;
  const bool rational = U_issurr(sur);
  put_index2(f, net->n, net->m);
  put_short2(f, sur->p, sur->q);
  put_short(f, rational);
  for (int32_t i = 0; i <= net->n; ++i) put_cpoints(f, net->Pw[i], net->m, true, rational, " ");
  put_reals(f, sur->knu->U, sur->knu->m);
  put_reals(f, sur->knv->U, sur->knv->m);
  return out.close() ? 0 : fail(kErrFile, kTag);
}

int16_t U_inpsur(SURFACE *sur, const char *path, int16_t check, STACKS *ws) {
  static const char kTag[] = "U_INPSUR";
  TextIn in(path);
  if (!in.is_open()) return fail(kErrFile, kTag);
  SurfaceHead h;
  if (!read_head(in, &h)) return fail(kErrFile, kTag);
  if (!U_issurn(sur) && E_sursto(sur, h.n, h.m, h.r(), h.s(), kTag)) return 1;
  // Read into temporaries so that a bad file leaves the caller's record.
  LocalStacks tmp;
  SURFACE *got = S_getsur(h.n, h.m, h.p, h.q, h.r(), h.s(), tmp);
  if (!got) return 1;
  if (!read_body(in, h, got)) return fail(kErrFile, kTag);
  if (U_surchk(sur, h.n, h.m, h.p, h.q, h.r(), h.s(), kTag, ws)) return 1;
  copy_arrays(got, sur);
  return check == 1 ? E_surinp(sur, kTag) : 0;
}

}  // extern "C"
