// U_inpsur on arbitrary text, as fuzz_inpcur for curves.
#include "fuzz/fuzz_support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static orvo_fuzz::InputFile file;
  const char *path = file.write(data, size);
  const bool finite_text = !orvo_fuzz::spells_nonfinite(data, size);
  for (int16_t check = 0; check <= 1; ++check) {
    STACKS ws;
    N_inurbs(&ws);
    SURFACE sur;
    U_inisur(&sur);
    if (orvo_fuzz::succeeded(U_inpsur(&sur, path, check, &ws), "U_inpsur")) {
      orvo_fuzz::expect_finite(finite_text, orvo_hostile::values(&sur), "U_inpsur");
      if (check && finite_text) orvo_fuzz::check(&sur);
    }
    N_enurbs(&ws);
  }
  return 0;
}
