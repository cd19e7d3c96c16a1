// U_inpcua on arbitrary text: refused with a code, or curves of finite
// numbers; the validated curves go through the curve checker.
#include "fuzz/fuzz_support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  return orvo_fuzz::read_both_ways(
      data, size, [](const char *path, int16_t check, STACKS *ws, bool finite_text) {
        CURVE **curves = nullptr;
        int32_t k = -1;
        if (!orvo_fuzz::succeeded(U_inpcua(&curves, &k, path, check, ws), "U_inpcua")) return;
        for (int32_t i = 0; i <= k; ++i) {
          orvo_fuzz::expect_finite(finite_text, orvo_hostile::values(curves[i]), "U_inpcua");
          if (check && finite_text && i < 4) orvo_fuzz::check(curves[i]);
        }
      });
}
