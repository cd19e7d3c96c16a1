// Internal helpers shared by every subsystem of the library. Nothing here is
// exported: the shared library's interface is the flat C routines only.
#pragma once

#include <cfloat>
#include <cstddef>
#include <cstdint>

#include "orvo/orvo.h"

namespace orvo::detail {

// ---- Markers --------------------------------------------------------------
constexpr double kZ2D = DBL_MAX;   // z of a 2-D point
constexpr double kWNR = -DBL_MAX;  // w of a non-rational point

inline bool z_valid(double z) { return z != kZ2D; }
inline bool w_valid(double w) { return w != kWNR; }

// ---- Errors ---------------------------------------------------------------
// Records code under tag and returns the failure status, so that a routine
// can write `return fail(9, tag);`.
inline int16_t fail(int32_t code, const char *tag) {
  E_seterr(code, tag);
  return 1;
}

// M_chkfop(a, b, 4), the guard of the quotient a / b, with a fast path for
// the hot loops: when |a| (or a = 0) and |b| lie in [2^-500, 2^500] the
// quotient is far inside the normalised doubles and the guard would accept
// it; only other operands (and NaN) go through its logarithms.
inline int16_t quotient_unsafe(double a, double b) {
  const double fa = a < 0.0 ? -a : a, fb = b < 0.0 ? -b : b;
  constexpr double lo = 0x1p-500, hi = 0x1p500;
  if (fb >= lo && fb <= hi && (a == 0.0 || (fa >= lo && fa <= hi))) return 0;
  return M_chkfop(a, b, 4);
}

// Error codes raised by the library.
enum ErrorCode : int32_t {
  kErrCurveDef = 1,
  kErrSurfaceDef = 2,
  kErrDegree = 3,
  kErrKnots = 4,
  kErrWeight = 5,
  kErrParameter = 6,
  kErrIndex = 7,
  kErrTooSmall = 9,
  kErrFloat = 11,
  kErrNoConvergence = 12,
  kErrSelector = 13,
  kErrInconsistent = 14,
  kErrMemory = 15,
  kErrZeroVector = 17,
  kErrFile = 18,
  kErrTessInput = 19,
  kErrDerivOrder = 20,
};

// Keeps the caller's error state across calls whose failure is no error of
// the calling routine (a test that answers no, a step that falls back).
class KeepErrorState {
 public:
  KeepErrorState() { E_GetOrvoError(&routine_, &code_); }
  ~KeepErrorState() { E_seterr(code_, routine_); }
  KeepErrorState(const KeepErrorState &) = delete;
  KeepErrorState &operator=(const KeepErrorState &) = delete;

 private:
  const char *routine_ = nullptr;
  int32_t code_ = 0;
};

// ---- Private workspace ----------------------------------------------------
// A routine's own STACKS: initialised on construction, every block in it
// released on destruction, so that each exit path leaves only the results.
class LocalStacks {
 public:
  LocalStacks() { N_inurbs(&ws_); }
  ~LocalStacks() { N_enurbs(&ws_); }
  LocalStacks(const LocalStacks &) = delete;
  LocalStacks &operator=(const LocalStacks &) = delete;
  STACKS *get() { return &ws_; }
  operator STACKS *() { return &ws_; }

 private:
  STACKS ws_;
};

// ---- Raw allocation -------------------------------------------------------
// Every block the library takes from the C runtime goes through these two,
// so that tests can make a chosen allocation fail.
void *raw_alloc(std::size_t bytes);
void raw_free(void *block);

// Test hook: the k-th raw allocation from now fails (k >= 1); 0 disarms.
void fail_allocation_at(long k);
// Number of raw allocations made since the process started.
long allocation_count();

// Allocates bytes and records the block on a workspace list; null (error
// 15 under tag) when memory cannot be had.
void *tracked_alloc(std::size_t bytes, int list, const char *tag, STACKS *ws);

// Byte size of count elements of the given size for a highest index n
// (count = n + 1) and optional further highest indices; false when an index
// is below -1 or the byte count overflows.
bool byte_size(std::size_t elem, std::size_t *bytes, int32_t n, int32_t m = 0, int32_t l = 0,
               int32_t k = 0);

}  // namespace orvo::detail
