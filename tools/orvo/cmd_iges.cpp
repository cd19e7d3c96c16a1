// orvo iges FILE.igs [--list] [--to DIR] [--mesh OUT --chord T]: what an
// IGES file holds, its curves and surfaces as the library's files, or all
// its faces as one mesh.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "common.hpp"
#include "lib/mesh.hpp"

namespace orvo::cli {

namespace {

struct IgesOptions {
  std::string file, to, mesh;
  bool list = false;
  double chord = 1e-3;
};

void list_entities(const tools::IgesModel &model) {
  std::printf("product: %s\n", model.product.c_str());
  for (const tools::IgesEntity &e : model.entities)
    std::printf("D%-7d type %3d form %d%s%s: %s\n", e.de, e.type, e.form,
                e.label.empty() ? "" : " ", e.label.c_str(), e.result.c_str());
  std::printf("%zu entities: %zu curves, %zu surfaces, %zu trimmed surfaces\n",
              model.entities.size(), model.curves.size(), model.surfaces.size(),
              model.trimmed.size());
}

// The boundary of a surface's domain as four 2-D lines, counter-clockwise.
std::vector<CURVE *> domain_loop(const SURFACE *sur, Geometry &g, const std::string &file) {
  double u0, u1, v0, v1;
  surface_domain(sur, u0, u1, v0, v1);
  const POINT corner[4] = {{u0, v0, 0}, {u1, v0, 0}, {u1, v1, 0}, {u0, v1, 0}};
  std::vector<CURVE *> loop;
  for (int k = 0; k < 4; ++k) {
    const POINT &a = corner[k], &b = corner[(k + 1) % 4];
    CURVE *c = g.new_curve();
    check(N_curlin(a, VECTOR{b.x - a.x, b.y - a.y, 0.0}, c, g.store.ws()), file,
          "cannot make the domain's boundary");
    U_cur3t2(c);
    loop.push_back(c);
  }
  return loop;
}

void write_files(const Geometry &g, const std::string &dir, const std::string &file) {
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (ec) fail(dir, "cannot make the directory: " + ec.message());
  Geometry extra;  // the explicit outer loops of trimmed surfaces
  for (size_t i = 0; i < g.curves.size(); ++i) {
    const std::string path = dir + "/curve_" + std::to_string(i) + ".crv";
    check(U_outcur(g.curves[i], path.c_str()), path, "cannot write the curve");
  }
  for (size_t i = 0; i < g.surfaces.size(); ++i) {
    const std::string path = dir + "/surface_" + std::to_string(i) + ".sur";
    check(U_outsur(g.surfaces[i], path.c_str()), path, "cannot write the surface");
  }
  // A trimmed surface: its surface and one curve array per loop, ready for
  // orvo tess trimmed_K.sur --trim trimmed_K_loop_0.cua --trim ...
  for (size_t i = 0; i < g.trimmed.size(); ++i) {
    const tools::TrimmedSurface &t = g.trimmed[i];
    const std::string stem = dir + "/trimmed_" + std::to_string(i);
    check(U_outsur(t.surface, (stem + ".sur").c_str()), stem + ".sur", "cannot write the surface");
    for (size_t j = 0; j < std::max<size_t>(t.loops.size(), 1); ++j) {
      std::vector<CURVE *> loop = j < t.loops.size() ? t.loops[j] : std::vector<CURVE *>{};
      if (j == 0 && loop.empty()) loop = domain_loop(t.surface, extra, file);
      if (loop.empty()) continue;
      const std::string path = stem + "_loop_" + std::to_string(j) + ".cua";
      check(U_outcua(loop.data(), static_cast<int32_t>(loop.size()) - 1, path.c_str()), path,
            "cannot write the trimming loop");
    }
  }
  std::printf("wrote %zu curves, %zu surfaces and %zu trimmed surfaces to %s\n", g.curves.size(),
              g.surfaces.size(), g.trimmed.size(), dir.c_str());
}

// One mesh of every surface and trimmed surface; faces that fail are
// reported and left out.
void write_mesh_file(const Geometry &g, const IgesOptions &o) {
  struct Face {
    const SURFACE *sur;
    const std::vector<std::vector<CURVE *>> *loops;
  };
  static const std::vector<std::vector<CURVE *>> no_loops;
  std::vector<Face> faces;
  for (const SURFACE *s : g.surfaces) faces.push_back({s, &no_loops});
  for (const tools::TrimmedSurface &t : g.trimmed) faces.push_back({t.surface, &t.loops});
  if (faces.empty()) fail(o.file, "no surfaces to tessellate");
  const bool progress = isatty(2) && faces.size() >= 20;
  tools::Mesh mesh;
  size_t failed = 0;
  for (size_t k = 0; k < faces.size(); ++k) {
    std::string error;
    if (!tools::tessellate(faces[k].sur, *faces[k].loops, o.chord, o.chord, mesh, error)) {
      ++failed;
      std::fprintf(stderr, "%sorvo iges: %s: face %zu left out: %s\n", progress ? "\r\033[K" : "",
                   o.file.c_str(), k, error.c_str());
    }
    if (progress) {
      const int done = static_cast<int>(40 * (k + 1) / faces.size());
      std::fprintf(stderr, "\r[%s%s] %zu/%zu faces", std::string(done, '#').c_str(),
                   std::string(40 - done, ' ').c_str(), k + 1, faces.size());
    }
  }
  if (progress) std::fputc('\n', stderr);
  std::string error;
  if (!tools::write_mesh(o.mesh, mesh, error)) throw Failure(error);
  std::printf("%s: %zu faces, %zu vertices, %zu triangles, area %s\n", o.mesh.c_str(),
              faces.size() - failed, mesh.vertices.size(), mesh.triangles.size(),
              num(tools::area(mesh)).c_str());
  if (failed > 0)
    fail(o.file, std::to_string(failed) + " of " + std::to_string(faces.size()) +
                     " faces could not be tessellated");
}

void run_iges(const IgesOptions &o) {
  if (kind_of(o.file) != FileKind::iges) fail(o.file, "not an IGES (.igs, .iges) file");
  if (!o.mesh.empty() && kind_of(o.mesh) != FileKind::mesh)
    usage("--mesh: the mesh file must end in .obj, .stl or .ply");
  Geometry g;
  load(o.file, g, o.chord);
  if (o.list || (o.to.empty() && o.mesh.empty())) list_entities(*g.iges);
  if (!o.to.empty()) write_files(g, o.to, o.file);
  if (!o.mesh.empty()) write_mesh_file(g, o);
}

}  // namespace

Command add_iges(CLI::App &app) {
  auto o = std::make_shared<IgesOptions>();
  CLI::App *sub = app.add_subcommand(
      "iges", "Read an IGES file: list its entities, write its curves and surfaces, or mesh it");
  sub->add_option("FILE", o->file, "the IGES file")->required();
  sub->add_flag("--list", o->list, "list every entity and what it became (the default)");
  sub->add_option("--to", o->to,
                  "write curve_N.crv, surface_N.sur and trimmed_N.sur with trimmed_N_loop_J.cua "
                  "into this directory");
  sub->add_option("--mesh", o->mesh, "tessellate every face into one mesh (.obj, .stl, .ply)");
  sub->add_option("--chord", o->chord, "chord tolerance, a fraction of each face's size")
      ->check(CLI::Range(1e-6, 1.0));
  return {sub, [o] { run_iges(*o); }};
}

}  // namespace orvo::cli
