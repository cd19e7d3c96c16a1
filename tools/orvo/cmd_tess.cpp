// orvo tess SURF [--trim LOOPFILE ...] -o MESH: a (trimmed) surface to a
// triangle mesh in model space.
#include <cmath>
#include <cstdio>

#include "common.hpp"
#include "lib/mesh.hpp"

namespace orvo::cli {

namespace {

struct TessOptions {
  std::string file, out;
  std::vector<std::string> trims;
  double chord = 1e-3, flat = 1e-3;
};

void run_tess(const TessOptions &o) {
  if (kind_of(o.file) != FileKind::surface) fail(o.file, "not a surface (.sur) file");
  if (kind_of(o.out) != FileKind::mesh) usage("-o: the mesh file must end in .obj, .stl or .ply");
  Geometry g;
  load(o.file, g);
  std::vector<std::vector<CURVE *>> loops;
  for (const std::string &path : o.trims) {
    if (kind_of(path) != FileKind::curves) fail(path, "not a curve array (.cua) file");
    const size_t first = g.curves.size();
    load(path, g);
    const std::vector<CURVE *> curves(g.curves.begin() + static_cast<long>(first), g.curves.end());
    // The first file's first loop is the outer one; every other loop is a hole.
    for (std::vector<CURVE *> &loop : split_loops(curves, path)) loops.push_back(loop);
  }
  tools::Mesh mesh;
  std::string error;
  if (!tools::tessellate(g.surfaces[0], loops, o.chord, o.flat, mesh, error))
    fail(o.file, "cannot tessellate: " + error);
  if (mesh.triangles.empty()) fail(o.file, "the trimming loops leave nothing left to tessellate");
  if (!tools::write_mesh(o.out, mesh, error)) throw Failure(error);
  std::printf("%s: %zu vertices, %zu triangles, area %s\n", o.out.c_str(), mesh.vertices.size(),
              mesh.triangles.size(), num(tools::area(mesh)).c_str());
}

}  // namespace

std::vector<std::vector<CURVE *>> split_loops(const std::vector<CURVE *> &curves,
                                              const std::string &path) {
  std::vector<std::vector<CURVE *>> loops;
  std::vector<CURVE *> loop;
  POINT start{}, end{};
  for (CURVE *c : curves) {
    if (U_iscur3(c)) U_cur3t2(c);  // trimming curves live in the parameter plane
    double a, b;
    curve_domain(c, a, b);
    POINT head, tail;
    check(N_curevn(c, a, 1, &head), path, "cannot evaluate a trimming curve");
    check(N_curevn(c, b, 2, &tail), path, "cannot evaluate a trimming curve");
    if (loop.empty()) start = head;
    loop.push_back(c);
    end = tail;
    const double scale = 1.0 + std::fabs(start.x) + std::fabs(start.y);
    if (std::hypot(end.x - start.x, end.y - start.y) <= 1e-9 * scale) {
      loops.push_back(loop);
      loop.clear();
    }
  }
  if (!loop.empty()) loops.push_back(loop);  // an open chain: the tessellator says why
  return loops;
}

Command add_tess(CLI::App &app) {
  auto o = std::make_shared<TessOptions>();
  CLI::App *sub = app.add_subcommand(
      "tess", "Tessellate a surface (.sur), trimmed by loops of 2-D curves, to OBJ, PLY or STL");
  sub->add_option("SURF", o->file, "the surface")->required();
  sub->add_option("--trim", o->trims,
                  "curve array (.cua) of closed loops in the parameter plane: the first loop of "
                  "the first file is the outer boundary, all others are holes; repeatable");
  sub->add_option("--chord", o->chord, "chord tolerance, a fraction of the surface's size")
      ->check(CLI::Range(1e-6, 1.0));
  sub->add_option("--flat", o->flat, "flatness tolerance, a fraction of the surface's size")
      ->check(CLI::Range(1e-6, 1.0));
  sub->add_option("-o,--output", o->out, "the mesh: .obj, .stl (binary) or .ply")->required();
  return {sub, [o] { run_tess(*o); }};
}

}  // namespace orvo::cli
