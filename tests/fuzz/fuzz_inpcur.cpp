// U_inpcur on arbitrary text: refused with a code, or a record of finite
// numbers (unless the text spells NaN or infinity); a record that passed
// the validation goes through the curve checker.
#include "fuzz/fuzz_support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  return orvo_fuzz::read_both_ways(
      data, size, [](const char *path, int16_t check, STACKS *ws, bool finite_text) {
        CURVE cur;
        U_inicur(&cur);
        if (!orvo_fuzz::succeeded(U_inpcur(&cur, path, check, ws), "U_inpcur")) return;
        orvo_fuzz::expect_finite(finite_text, orvo_hostile::values(&cur), "U_inpcur");
        if (check && finite_text) orvo_fuzz::check(&cur);
      });
}
