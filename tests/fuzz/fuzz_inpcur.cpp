// U_inpcur on arbitrary text: refused with a code, or a record of finite
// numbers (unless the text spells NaN or infinity); a record that passed
// the validation goes through the curve checker.
#include "fuzz/fuzz_support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static orvo_fuzz::InputFile file;
  const char *path = file.write(data, size);
  const bool finite_text = !orvo_fuzz::spells_nonfinite(data, size);
  for (int16_t check = 0; check <= 1; ++check) {
    STACKS ws;
    N_inurbs(&ws);
    CURVE cur;
    U_inicur(&cur);
    if (orvo_fuzz::succeeded(U_inpcur(&cur, path, check, &ws), "U_inpcur")) {
      orvo_fuzz::expect_finite(finite_text, orvo_hostile::values(&cur), "U_inpcur");
      if (check && finite_text) orvo_fuzz::check(&cur);
    }
    N_enurbs(&ws);
  }
  return 0;
}
