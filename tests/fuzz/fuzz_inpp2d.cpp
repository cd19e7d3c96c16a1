// U_inpp2d on arbitrary text: refused with a code, or a net of finite points.
#include "fuzz/fuzz_support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static orvo_fuzz::InputFile file;
  const char *path = file.write(data, size);
  STACKS ws;
  N_inurbs(&ws);
  POINT **points = nullptr;
  int32_t n = -1, m = -1;
  if (orvo_fuzz::succeeded(U_inpp2d(&points, &n, &m, path, &ws), "U_inpp2d"))
    for (int32_t i = 0; i <= n; ++i)
      for (int32_t j = 0; j <= m; ++j)
        orvo_fuzz::expect_finite(!orvo_fuzz::spells_nonfinite(data, size),
                                 orvo_hostile::values(points[i][j]), "U_inpp2d");
  N_enurbs(&ws);
  return 0;
}
