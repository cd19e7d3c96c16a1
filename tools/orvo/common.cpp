#include "common.hpp"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace orvo::cli {

void fail(const std::string &file, const std::string &what) { throw Failure(file + ": " + what); }

void usage(const std::string &what) { throw Usage(what); }

void check(int16_t status, const std::string &file, const std::string &what) {
  if (status != 0) fail(file, what + ": " + tools::library_error());
}

FileKind kind_of(const std::string &path) {
  const auto dot = path.find_last_of('.');
  const auto slash = path.find_last_of('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
    return FileKind::unknown;
  std::string ext = path.substr(dot + 1);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  static const struct {
    const char *ext;
    FileKind kind;
  } table[] = {{"crv", FileKind::curve},  {"cua", FileKind::curves}, {"sur", FileKind::surface},
               {"igs", FileKind::iges},   {"iges", FileKind::iges},  {"obj", FileKind::mesh},
               {"stl", FileKind::mesh},   {"ply", FileKind::mesh},   {"pts", FileKind::points},
               {"csv", FileKind::points}, {"xyz", FileKind::points}, {"txt", FileKind::points}};
  for (const auto &e : table)
    if (ext == e.ext) return e.kind;
  return FileKind::unknown;
}

const char *kind_name(FileKind kind) {
  switch (kind) {
    case FileKind::curve:
      return "curve";
    case FileKind::curves:
      return "curve array";
    case FileKind::surface:
      return "surface";
    case FileKind::iges:
      return "IGES";
    case FileKind::mesh:
      return "mesh";
    case FileKind::points:
      return "points";
    default:
      return "unknown";
  }
}

CURVE *Geometry::new_curve() {
  curve_records.emplace_back();
  U_inicur(&curve_records.back());
  return &curve_records.back();
}

SURFACE *Geometry::new_surface() {
  surface_records.emplace_back();
  U_inisur(&surface_records.back());
  return &surface_records.back();
}

void load(const std::string &path, Geometry &g, double chord) {
  switch (kind_of(path)) {
    case FileKind::curve: {
      CURVE *cur = g.new_curve();
      check(U_inpcur(cur, path.c_str(), 1, g.store.ws()), path, "cannot read the curve");
      g.curves.push_back(cur);
      return;
    }
    case FileKind::curves: {
      CURVE **curves = nullptr;
      int32_t k = -1;
      check(U_inpcua(&curves, &k, path.c_str(), 1, g.store.ws()), path,
            "cannot read the curve array");
      g.curves.insert(g.curves.end(), curves, curves + k + 1);
      return;
    }
    case FileKind::surface: {
      SURFACE *sur = g.new_surface();
      check(U_inpsur(sur, path.c_str(), 1, g.store.ws()), path, "cannot read the surface");
      g.surfaces.push_back(sur);
      return;
    }
    case FileKind::iges: {
      g.iges = std::make_unique<tools::IgesModel>();
      tools::IgesReadOptions options;
      options.chord = chord;
      std::string error;
      // The reader's message starts with the path already.
      if (!read_iges(path, options, *g.iges, error)) throw Failure(error);
      g.curves.insert(g.curves.end(), g.iges->curves.begin(), g.iges->curves.end());
      g.surfaces.insert(g.surfaces.end(), g.iges->surfaces.begin(), g.iges->surfaces.end());
      g.trimmed.insert(g.trimmed.end(), g.iges->trimmed.begin(), g.iges->trimmed.end());
      return;
    }
    default:
      fail(path, std::string("not a curve (.crv), curve array (.cua), surface (.sur) or IGES "
                             "(.igs) file"));
  }
}

void curve_domain(const CURVE *cur, double &a, double &b) {
  a = cur->knt->U[cur->p];
  b = cur->knt->U[cur->knt->m - cur->p];
}

void surface_domain(const SURFACE *sur, double &u0, double &u1, double &v0, double &v1) {
  u0 = sur->knu->U[sur->p];
  u1 = sur->knu->U[sur->knu->m - sur->p];
  v0 = sur->knv->U[sur->q];
  v1 = sur->knv->U[sur->knv->m - sur->q];
}

std::string num(double x) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, x);
  return std::string(buf, r.ptr);
}

double to_double(const std::string &text, const std::string &option) {
  const char *s = text.c_str();
  char *end = nullptr;
  const double x = std::strtod(s, &end);
  if (text.empty() || end == s || *end != '\0' || !std::isfinite(x))
    usage(option + ": '" + text + "' is not a number");
  return x;
}

long to_long(const std::string &text, const std::string &option) {
  const char *s = text.c_str();
  char *end = nullptr;
  const long x = std::strtol(s, &end, 10);
  if (text.empty() || end == s || *end != '\0' || x < -1000000000L || x > 1000000000L)
    usage(option + ": '" + text + "' is not a whole number");
  return x;
}

std::vector<double> to_doubles(const std::string &text, char sep, const std::string &option) {
  std::vector<double> values;
  std::string::size_type start = 0;
  for (;;) {
    const auto at = text.find(sep, start);
    values.push_back(to_double(text.substr(start, at - start), option));
    if (at == std::string::npos) return values;
    start = at + 1;
  }
}

}  // namespace orvo::cli
