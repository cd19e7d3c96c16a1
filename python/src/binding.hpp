// Shared pieces of the Python binding: records owned by Python objects, the
// conversion of Python values into the library's records, and the
// translation of library failures into orvo.Error.
#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "lib/store.hpp"
#include "orvo/orvo.h"

namespace orvo::py {

namespace pyb = pybind11;

// What numpy hands back: float64, C order.
using Array = pyb::array_t<double, pyb::array::c_style | pyb::array::forcecast>;
using StorePtr = std::shared_ptr<tools::Store>;

// A failure recorded by the library, carried out to Python as orvo.Error.
struct LibraryError : std::runtime_error {
  int code;
  std::string routine;
  LibraryError(int c, std::string r, const std::string &message)
      : std::runtime_error(message), code(c), routine(std::move(r)) {}
};

// Throws the library's current error (and clears it).
[[noreturn]] void raise_library_error();
// Throws an error spelled out as by tools::library_error() ("TAG: error N (...)").
[[noreturn]] void raise_error_text(const std::string &text, int fallback_code,
                                   const char *fallback_routine);
inline void check(int16_t rc) {
  if (rc != 0) raise_library_error();
}

// A curve (surface) record whose arrays live in a workspace shared by every
// object made by the same call (the two halves of a split, the segments of
// a decomposition, the records of an IGES file).
struct Curve {
  StorePtr store;
  CURVE rec;
  int dim() const { return rec.pol->Pw[0].z == ORVO_Z2D ? 2 : 3; }
  bool rational() const { return rec.pol->Pw[0].w != ORVO_WNR; }
};
struct Surface {
  StorePtr store;
  SURFACE rec;
  bool rational() const { return rec.net->Pw[0][0].w != ORVO_WNR; }
};

Curve new_curve(StorePtr store = nullptr);
Surface new_surface(StorePtr store = nullptr);
inline Curve new_record(const Curve &) { return new_curve(); }
inline Surface new_record(const Surface &) { return new_surface(); }

// A new curve or surface made by a tool from r: f(&r.rec, &out.rec, ws_in,
// ws_out), the result in a workspace of its own.
template <class R, class F>
R derive(R &r, F f) {
  R out = new_record(r);
  check(f(&r.rec, &out.rec, r.store->ws(), out.store->ws()));
  return out;
}

// obj as a float64 C-contiguous array: TypeError for what is not numeric,
// ValueError for non-finite values when finite is set.
Array to_array(pyb::handle obj, const char *what, bool finite = true);
// A point or vector from a sequence of 2 or 3 numbers (z = 0 for 2).
POINT to_point(pyb::handle obj, const char *what);
VECTOR to_vector(pyb::handle obj, const char *what);
// Shape of an evaluation result: the parameters' shape followed by tail.
std::vector<pyb::ssize_t> result_shape(const pyb::array &params,
                                       std::initializer_list<pyb::ssize_t> tail);
int16_t parametrisation(const std::string &name);

void register_curves(pyb::module_ &m);
void register_surfaces(pyb::module_ &m);
void register_files(pyb::module_ &m);

}  // namespace orvo::py
