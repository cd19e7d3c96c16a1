// U_inpsur on arbitrary text, as fuzz_inpcur for curves.
#include "fuzz/fuzz_support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  return orvo_fuzz::read_both_ways(
      data, size, [](const char *path, int16_t check, STACKS *ws, bool finite_text) {
        SURFACE sur;
        U_inisur(&sur);
        if (!orvo_fuzz::succeeded(U_inpsur(&sur, path, check, ws), "U_inpsur")) return;
        orvo_fuzz::expect_finite(finite_text, orvo_hostile::values(&sur), "U_inpsur");
        if (check && finite_text) orvo_fuzz::check(&sur);
      });
}
