// The extension module _orvo: the error class, the conversions shared by
// the curve, surface and file bindings, and the module's entry point.
#include <cmath>
#include <cstdlib>

#include "binding.hpp"

namespace orvo::py {

namespace {

PyObject *error_class = nullptr;  // orvo.Error, created at import

}  // namespace

void raise_library_error() {
  const char *routine = " ";
  int32_t code = 0;
  E_GetOrvoError(&routine, &code);
  const std::string tag = routine;
  throw LibraryError(code, tag, tools::library_error());
}

void raise_error_text(const std::string &text, int fallback_code, const char *fallback_routine) {
  // "TAG: error N (meaning)" somewhere in text gives the code and the tag.
  const size_t at = text.find(": error ");
  if (at != std::string::npos) {
    const size_t start = text.rfind(' ', at) == std::string::npos ? 0 : text.rfind(' ', at) + 1;
    const int code = std::atoi(text.c_str() + at + 8);
    if (code > 0) throw LibraryError(code, text.substr(start, at - start), text);
  }
  throw LibraryError(
      fallback_code, fallback_routine,
      std::string(fallback_routine) + ": error " + std::to_string(fallback_code) + ": " + text);
}

Curve new_curve(StorePtr store) {
  Curve c{store ? store : std::make_shared<tools::Store>(), {}};
  U_inicur(&c.rec);
  return c;
}

Surface new_surface(StorePtr store) {
  Surface s{store ? store : std::make_shared<tools::Store>(), {}};
  U_inisur(&s.rec);
  return s;
}

Array to_array(pyb::handle obj, const char *what, bool finite) {
  pyb::module_ np = pyb::module_::import("numpy");
  pyb::array a = np.attr("asarray")(obj);
  const char kind = a.dtype().kind();
  if (kind != 'f' && kind != 'i' && kind != 'u')
    throw pyb::type_error(std::string(what) + ": expected real numbers, got an array of dtype " +
                          std::string(pyb::str(a.dtype())));
  Array out = np.attr("asarray")(a, "float64", "C");
  if (finite) {
    const double *d = out.data();
    for (pyb::ssize_t i = 0; i < out.size(); ++i)
      if (!std::isfinite(d[i])) throw pyb::value_error(std::string(what) + ": not finite");
  }
  return out;
}

POINT to_point(pyb::handle obj, const char *what) {
  Array a = to_array(obj, what);
  if (a.ndim() != 1 || (a.size() != 2 && a.size() != 3))
    throw pyb::value_error(std::string(what) + ": expected 2 or 3 coordinates");
  return POINT{a.data()[0], a.data()[1], a.size() == 3 ? a.data()[2] : 0.0};
}

VECTOR to_vector(pyb::handle obj, const char *what) {
  const POINT p = to_point(obj, what);
  return VECTOR{p.x, p.y, p.z};
}

std::vector<pyb::ssize_t> result_shape(const pyb::array &params,
                                       std::initializer_list<pyb::ssize_t> tail) {
  std::vector<pyb::ssize_t> shape(params.shape(), params.shape() + params.ndim());
  shape.insert(shape.end(), tail);
  return shape;
}

int16_t parametrisation(const std::string &name) {
  if (name == "uniform") return 1;
  if (name == "chord") return 2;
  if (name == "centripetal") return 3;
  throw pyb::value_error("param: expected 'uniform', 'chord' or 'centripetal', got '" + name + "'");
}

}  // namespace orvo::py

PYBIND11_MODULE(_orvo, m) {
  using namespace orvo::py;
  m.doc() = "NURBS curves and surfaces: the compiled part of the orvo package";
  error_class = PyErr_NewExceptionWithDoc(
      "orvo.Error",
      "A failure reported by the library: .code is its error number, .routine the name of the "
      "routine that raised it.",
      PyExc_RuntimeError, nullptr);
  m.add_object("Error", pyb::handle(error_class));
  pyb::register_exception_translator([](std::exception_ptr p) {
    try {
      if (p) std::rethrow_exception(p);
    } catch (const LibraryError &e) {
      pyb::object cls = pyb::reinterpret_borrow<pyb::object>(error_class);
      pyb::object err = cls(e.what());
      err.attr("code") = e.code;
      err.attr("routine") = e.routine;
      PyErr_SetObject(error_class, err.ptr());
    }
  });
  register_curves(m);
  register_surfaces(m);
  register_files(m);
}
