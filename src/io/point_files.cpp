// Point-list files: "n" and n+1 lines "x y z", or "n m" and (n+1)(m+1) such
// lines row by row.
#include <cstring>

#include "io/text_stream.hpp"

using namespace orvo::detail;

namespace {

bool read_points(TextIn &in, POINT *pts, std::uint64_t count) {
  for (std::uint64_t i = 0; i < count; ++i)
    if (!in.read(&pts[i].x) || !in.read(&pts[i].y) || !in.read(&pts[i].z)) return false;
  return true;
}

void put_points(std::FILE *f, const POINT *pts, int32_t highest) {
  for (int32_t i = 0; i <= highest; ++i) {
    const double v[3] = {pts[i].x, pts[i].y, pts[i].z};
    put_fields(f, v, 3, " ");
  }
}

// A highest index read from a point file: non-negative and within int32.
bool index_ok(long n) { return n >= 0 && n < INT32_MAX; }

}  // namespace

extern "C" {

int16_t U_outp1d(const POINT *points, int32_t n, const char *path) {
  static const char kTag[] = "U_OUTP1D";
  if (n < 0 || !points) return fail(kErrIndex, kTag);
  TextOut out(path);
  if (!out.is_open()) return fail(kErrFile, kTag);
  put_index(out.get(), n);
  put_points(out.get(), points, n);
  return out.close() ? 0 : fail(kErrFile, kTag);
}

int16_t U_inpp1d(POINT **points, int32_t *n, const char *path, STACKS *ws) {
  static const char kTag[] = "U_INPP1D";
  TextIn in(path);
  if (!in.is_open()) return fail(kErrFile, kTag);
  long hn;
  if (!in.read(&hn) || !index_ok(hn) || static_cast<std::uint64_t>(hn + 1) * 3 > in.budget())
    return fail(kErrFile, kTag);
  const int32_t last = static_cast<int32_t>(hn);
  // Read into a temporary; the caller's workspace receives only a whole list.
  LocalStacks tmp;
  POINT *got = S_getp1d(last, tmp);
  if (!got) return 1;
  if (!read_points(in, got, static_cast<std::uint64_t>(last) + 1)) return fail(kErrFile, kTag);
  POINT *res = S_getp1d(last, ws);
  if (!res) return 1;
  std::memcpy(static_cast<void *>(res), got, (static_cast<std::size_t>(last) + 1) * sizeof(POINT));
  *points = res;
  *n = last;
  return 0;
}

int16_t U_outp2d(POINT *const *points, int32_t n, int32_t m, const char *path) {
  static const char kTag[] = "U_OUTP2D";
  if (n < 0 || m < 0 || !points) return fail(kErrIndex, kTag);
  TextOut out(path);
  if (!out.is_open()) return fail(kErrFile, kTag);
  put_index2(out.get(), n, m);
  for (int32_t i = 0; i <= n; ++i) put_points(out.get(), points[i], m);
  return out.close() ? 0 : fail(kErrFile, kTag);
}

int16_t U_inpp2d(POINT ***points, int32_t *n, int32_t *m, const char *path, STACKS *ws) {
  static const char kTag[] = "U_INPP2D";
  TextIn in(path);
  if (!in.is_open()) return fail(kErrFile, kTag);
  long hn, hm;
  std::uint64_t count = 0;
  if (!in.read(&hn) || !in.read(&hm) || !index_ok(hn) || !index_ok(hm) ||
      !product(hn + 1, hm + 1, 3, &count) || count > in.budget())
    return fail(kErrFile, kTag);
  const int32_t ln = static_cast<int32_t>(hn), lm = static_cast<int32_t>(hm);
  LocalStacks tmp;
  POINT **got = S_getp2d(ln, lm, tmp);
  if (!got) return 1;
  // The rows of a fresh net lie one after another in one block.
  if (!read_points(in, got[0], count / 3)) return fail(kErrFile, kTag);
  POINT **res = S_getp2d(ln, lm, ws);
  if (!res) return 1;
  std::memcpy(static_cast<void *>(res[0]), got[0], (count / 3) * sizeof(POINT));
  *points = res;
  *n = ln;
  *m = lm;
  return 0;
}

}  // extern "C"
