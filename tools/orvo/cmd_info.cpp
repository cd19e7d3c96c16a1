// orvo info FILE: what a curve, curve array, surface, IGES or mesh file
// holds.
#include <cstdio>

#include "common.hpp"
#include "lib/mesh.hpp"

namespace orvo::cli {

namespace {

std::string box_text(const BOX &b, bool three_d) {
  std::string s =
      "x [" + num(b.xmin) + ", " + num(b.xmax) + "], y [" + num(b.ymin) + ", " + num(b.ymax) + "]";
  if (three_d) s += ", z [" + num(b.zmin) + ", " + num(b.zmax) + "]";
  return s;
}

void print_curve(const CURVE *cur, const std::string &name, const std::string &indent) {
  double a, b;
  BOX box;
  curve_domain(cur, a, b);
  const bool three_d = U_iscur3(cur) != 0;
  check(N_curbox(cur, &box), name, "cannot bound the curve");
  std::printf("%skind: curve\n", indent.c_str());
  std::printf("%sdimension: %s\n", indent.c_str(), three_d ? "3-D" : "2-D");
  std::printf("%srational: %s\n", indent.c_str(), U_iscurr(cur) ? "yes" : "no");
  std::printf("%sdegree: %d\n", indent.c_str(), cur->p);
  std::printf("%scontrol points: %ld\n", indent.c_str(), static_cast<long>(cur->pol->n) + 1);
  std::printf("%sknots: %ld\n", indent.c_str(), static_cast<long>(cur->knt->m) + 1);
  std::printf("%sdomain: [%s, %s]\n", indent.c_str(), num(a).c_str(), num(b).c_str());
  std::printf("%sbounding box: %s\n", indent.c_str(), box_text(box, three_d).c_str());
  std::printf("%sclosed: %s\n", indent.c_str(), U_iscurc(cur) ? "yes" : "no");
}

void print_surface(const SURFACE *sur, const std::string &name, const std::string &indent) {
  double u0, u1, v0, v1;
  BOX box;
  surface_domain(sur, u0, u1, v0, v1);
  check(N_surbox(sur, &box), name, "cannot bound the surface");
  const bool cu = U_issurc(sur, 1) != 0, cv = U_issurc(sur, 2) != 0;
  std::printf("%skind: surface\n", indent.c_str());
  std::printf("%sdimension: 3-D\n", indent.c_str());
  std::printf("%srational: %s\n", indent.c_str(), U_issurr(sur) ? "yes" : "no");
  std::printf("%sdegrees: %d, %d\n", indent.c_str(), sur->p, sur->q);
  std::printf("%scontrol points: %ld x %ld\n", indent.c_str(), static_cast<long>(sur->net->n) + 1,
              static_cast<long>(sur->net->m) + 1);
  std::printf("%sknots: %ld, %ld\n", indent.c_str(), static_cast<long>(sur->knu->m) + 1,
              static_cast<long>(sur->knv->m) + 1);
  std::printf("%sdomain: [%s, %s] x [%s, %s]\n", indent.c_str(), num(u0).c_str(), num(u1).c_str(),
              num(v0).c_str(), num(v1).c_str());
  std::printf("%sbounding box: %s\n", indent.c_str(), box_text(box, true).c_str());
  std::printf("%sclosed: %s\n", indent.c_str(),
              cu && cv ? "in u and v"
              : cu     ? "in u"
              : cv     ? "in v"
                       : "no");
}

void print_iges(const tools::IgesModel &model, const std::string &path) {
  std::printf("kind: IGES\n");
  std::printf("product: %s\n", model.product.c_str());
  std::printf("entities: %zu\n", model.entities.size());
  for (const tools::IgesEntity &e : model.entities)
    std::printf("  D%-7d type %3d form %d%s%s: %s\n", e.de, e.type, e.form,
                e.label.empty() ? "" : " ", e.label.c_str(), e.result.c_str());
  std::printf("curves: %zu, surfaces: %zu, trimmed surfaces: %zu\n", model.curves.size(),
              model.surfaces.size(), model.trimmed.size());
  for (size_t i = 0; i < model.curves.size(); ++i) {
    std::printf("curve %zu:\n", i);
    print_curve(model.curves[i], path, "  ");
  }
  for (size_t i = 0; i < model.surfaces.size(); ++i) {
    std::printf("surface %zu:\n", i);
    print_surface(model.surfaces[i], path, "  ");
  }
  for (size_t i = 0; i < model.trimmed.size(); ++i) {
    const tools::TrimmedSurface &t = model.trimmed[i];
    std::printf(
        "trimmed surface %zu: outer loop %s, %zu hole(s)\n", i,
        t.loops.empty() || t.loops[0].empty() ? "the surface's boundary" : "of trimming curves",
        t.loops.empty() ? size_t{0} : t.loops.size() - 1);
    print_surface(t.surface, path, "  ");
  }
}

void run_info(const std::string &path) {
  if (kind_of(path) == FileKind::mesh) {
    tools::Mesh mesh;
    std::string error;
    if (!tools::read_mesh(path, mesh, error)) throw Failure(error);
    std::printf("kind: mesh\nvertices: %zu\ntriangles: %zu\narea: %s\n", mesh.vertices.size(),
                mesh.triangles.size(), num(tools::area(mesh)).c_str());
    return;
  }
  Geometry g;
  load(path, g);
  std::printf("file: %s\n", path.c_str());
  switch (kind_of(path)) {
    case FileKind::curve:
      print_curve(g.curves[0], path, "");
      break;
    case FileKind::surface:
      print_surface(g.surfaces[0], path, "");
      break;
    case FileKind::curves:
      std::printf("kind: curve array\ncurves: %zu\n", g.curves.size());
      for (size_t i = 0; i < g.curves.size(); ++i) {
        std::printf("curve %zu:\n", i);
        print_curve(g.curves[i], path, "  ");
      }
      break;
    default:
      print_iges(*g.iges, path);
      break;
  }
}

}  // namespace

Command add_info(CLI::App &app) {
  auto path = std::make_shared<std::string>();
  CLI::App *sub = app.add_subcommand(
      "info",
      "Describe a curve (.crv), curve array (.cua), surface (.sur), IGES (.igs) or mesh "
      "(.obj/.stl/.ply) file");
  sub->add_option("FILE", *path, "the file")->required();
  return {sub, [path] { run_info(*path); }};
}

}  // namespace orvo::cli
