// read_iges on arbitrary bytes: refused with a message naming the file, or
// a model whose curves and surfaces are valid records (they go through the
// hostile-record checker) and whose every entity says what became of it.
#include "fuzz/fuzz_support.hpp"
#include "lib/iges_file.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static orvo_fuzz::InputFile file;
  const char *path = file.write(data, size);
  orvo::tools::IgesModel model;
  std::string error;
  if (!orvo::tools::read_iges(path, {}, model, error)) {
    if (error.rfind(std::string(path) + ": ", 0) != 0) orvo_fuzz::broken("unnamed error: " + error);
    return 0;
  }
  for (const orvo::tools::IgesEntity &e : model.entities)
    if (e.result.empty()) orvo_fuzz::broken("entity without a result");
  for (const CURVE *c : model.curves) orvo_fuzz::check(c);
  for (const SURFACE *s : model.surfaces) orvo_fuzz::check(s);
  for (const orvo::tools::TrimmedSurface &t : model.trimmed) {
    orvo_fuzz::check(t.surface);
    for (const auto &loop : t.loops)
      for (const CURVE *c : loop) orvo_fuzz::check(c);
  }
  return 0;
}
