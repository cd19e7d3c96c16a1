// U_inpcua on arbitrary text: refused with a code, or curves of finite
// numbers; the validated curves go through the curve checker.
#include "fuzz/fuzz_support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static orvo_fuzz::InputFile file;
  const char *path = file.write(data, size);
  const bool finite_text = !orvo_fuzz::spells_nonfinite(data, size);
  for (int16_t check = 0; check <= 1; ++check) {
    STACKS ws;
    N_inurbs(&ws);
    CURVE **curves = nullptr;
    int32_t k = -1;
    if (orvo_fuzz::succeeded(U_inpcua(&curves, &k, path, check, &ws), "U_inpcua"))
      for (int32_t i = 0; i <= k; ++i) {
        orvo_fuzz::expect_finite(finite_text, orvo_hostile::values(curves[i]), "U_inpcua");
        if (check && finite_text && i < 4) orvo_fuzz::check(curves[i]);
      }
    N_enurbs(&ws);
  }
  return 0;
}
