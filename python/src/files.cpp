// Files: the library's curve and surface text files, and IGES through the
// same reader and writer as the orvo command.
#include <pybind11/stl.h>

#include <string>
#include <vector>

#include "binding.hpp"
#include "lib/iges_file.hpp"

namespace orvo::py {

namespace {

Curve read_curve(const std::string &path) {
  Curve c = new_curve();
  check(U_inpcur(&c.rec, path.c_str(), 1, c.store->ws()));
  return c;
}

Surface read_surface(const std::string &path) {
  Surface s = new_surface();
  check(U_inpsur(&s.rec, path.c_str(), 1, s.store->ws()));
  return s;
}

// The records of an IGES file, sharing the file's workspace: a dict with
// "curves", "surfaces", "trimmed" (pairs of a surface and its loops, each a
// list of 2-D curves) and "product".
pyb::dict read_iges(const std::string &path, double chord) {
  auto model = std::make_shared<tools::IgesModel>();
  std::string error;
  tools::IgesReadOptions options;
  options.chord = chord;
  if (!tools::read_iges(path, options, *model, error))
    throw LibraryError(18, "READ_IGES",
                       "READ_IGES: error 18 (file cannot be opened or read): " + error);
  const StorePtr store(model, &model->store);
  pyb::list curves, surfaces, trimmed;
  for (CURVE *c : model->curves) curves.append(Curve{store, *c});
  for (SURFACE *s : model->surfaces) surfaces.append(Surface{store, *s});
  for (const tools::TrimmedSurface &t : model->trimmed) {
    pyb::list loops;
    for (const auto &loop : t.loops) {
      pyb::list l;
      for (CURVE *c : loop) l.append(Curve{store, *c});
      loops.append(l);
    }
    trimmed.append(pyb::make_tuple(Surface{store, *t.surface}, loops));
  }
  pyb::dict out;
  out["curves"] = curves;
  out["surfaces"] = surfaces;
  out["trimmed"] = trimmed;
  out["product"] = model->product;
  return out;
}

void write_iges(const std::string &path, const std::vector<const Curve *> &curves,
                const std::vector<const Surface *> &surfaces) {
  std::vector<const CURVE *> cs;
  std::vector<const SURFACE *> ss;
  for (const Curve *c : curves) cs.push_back(&c->rec);
  for (const Surface *s : surfaces) ss.push_back(&s->rec);
  std::string error;
  if (!tools::write_iges(path, cs, ss, error)) raise_error_text(error, 18, "WRITE_IGES");
}

}  // namespace

void register_files(pyb::module_ &m) {
  using pyb::arg;
  auto curve = pyb::reinterpret_borrow<pyb::class_<Curve>>(m.attr("Curve"));
  auto surface = pyb::reinterpret_borrow<pyb::class_<Surface>>(m.attr("Surface"));
  curve.def_static("read", &read_curve, arg("path"), "Reads a curve file (.crv).");
  curve.def(
      "write",
      [](const Curve &c, const std::string &path) { check(U_outcur(&c.rec, path.c_str())); },
      arg("path"), "Writes the curve file (.crv).");
  surface.def_static("read", &read_surface, arg("path"), "Reads a surface file (.sur).");
  surface.def(
      "write",
      [](const Surface &s, const std::string &path) { check(U_outsur(&s.rec, path.c_str())); },
      arg("path"), "Writes the surface file (.sur).");
  m.def("read_iges", &read_iges, arg("path"), arg("chord") = 1e-3,
        "Reads an IGES file: {'curves', 'surfaces', 'trimmed': [(surface, loops)], 'product'}.");
  m.def("write_iges", &write_iges, arg("path"), arg("curves") = std::vector<const Curve *>{},
        arg("surfaces") = std::vector<const Surface *>{},
        "Writes curves (entity 126) and surfaces (entity 128) to an IGES file.");
}

}  // namespace orvo::py
