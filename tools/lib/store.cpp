#include "lib/store.hpp"

namespace orvo::tools {

namespace {

const char *meaning(int32_t code) {
  switch (code) {
    case 1:
      return "curve definition inconsistent";
    case 2:
      return "surface definition inconsistent";
    case 3:
      return "degree above 28";
    case 4:
      return "knot vector invalid";
    case 5:
      return "weight outside [0.01, 10]";
    case 6:
      return "parameter outside the knot vector's range";
    case 7:
      return "index or count out of range";
    case 9:
      return "output record too small";
    case 11:
      return "floating-point guard failed";
    case 12:
      return "iteration did not converge";
    case 13:
      return "invalid selector or option value";
    case 14:
      return "arguments inconsistent with each other";
    case 15:
      return "out of memory";
    case 17:
      return "zero-length vector";
    case 18:
      return "file cannot be opened or read";
    case 19:
      return "tessellation input refused";
    case 20:
      return "derivative order above 5";
    default:
      return "unknown error";
  }
}

}  // namespace

std::string library_error() {
  const char *routine = " ";
  int32_t code = 0;
  E_GetOrvoError(&routine, &code);
  E_clrerr();
  return std::string(routine) + ": error " + std::to_string(code) + " (" + meaning(code) + ")";
}

}  // namespace orvo::tools
