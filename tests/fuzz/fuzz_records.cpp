// Hostile curve and surface records built from the fuzzer's bytes (the
// first byte chooses the kind) through the checker of every routine.
#include "fuzz/fuzz_support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size == 0) return 0;
  orvo_hostile::Source source(data + 1, size - 1);
  const std::string violation = orvo_hostile::check(source, data[0] % 4 == 0);
  if (!violation.empty()) orvo_fuzz::broken(violation);
  return 0;
}
