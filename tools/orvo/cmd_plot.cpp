// orvo plot FILE -o OUT.svg: a picture of a curve, a surface (isolines or,
// with --mesh, the wireframe of its tessellation) or a mesh file.
#include <cstdio>

#include "common.hpp"
#include "lib/svg.hpp"

namespace orvo::cli {

namespace {

struct PlotCommand {
  std::string file, out, plane = "z";
  tools::PlotOptions options;
  bool mesh = false;
  double chord = 1e-2;
};

void run_plot(PlotCommand &o) {
  o.options.plane = o.plane[0];
  std::string error;
  bool ok = false;
  const FileKind kind = kind_of(o.file);
  if (kind == FileKind::mesh) {
    tools::Mesh mesh;
    if (!tools::read_mesh(o.file, mesh, error)) throw Failure(error);
    ok = tools::plot_mesh(mesh, o.options, o.out, error);
  } else if (kind == FileKind::curve) {
    Geometry g;
    load(o.file, g);
    ok = tools::plot_curve(g.curves[0], o.options, o.out, error);
  } else if (kind == FileKind::surface) {
    Geometry g;
    load(o.file, g);
    if (o.mesh) {
      tools::Mesh mesh;
      if (!tools::tessellate(g.surfaces[0], {}, o.chord, o.chord, mesh, error))
        fail(o.file, "cannot tessellate: " + error);
      ok = tools::plot_mesh(mesh, o.options, o.out, error);
    } else {
      ok = tools::plot_surface(g.surfaces[0], o.options, o.out, error);
    }
  } else {
    fail(o.file, "not a curve (.crv), surface (.sur) or mesh (.obj/.stl/.ply) file");
  }
  if (!ok) fail(o.out, error);
  std::printf("wrote %s\n", o.out.c_str());
}

}  // namespace

Command add_plot(CLI::App &app) {
  auto o = std::make_shared<PlotCommand>();
  CLI::App *sub = app.add_subcommand(
      "plot", "SVG picture of a curve (.crv), a surface (.sur) or a mesh (.obj/.stl/.ply)");
  sub->add_option("FILE", o->file, "the curve, surface or mesh")->required();
  sub->add_option("-o,--output", o->out, "the SVG file")->required();
  sub->add_flag("--ctrl", o->options.ctrl, "draw the control polygon (net)");
  sub->add_flag("--knots", o->options.knots, "mark the points at the knots");
  sub->add_flag("--curvature", o->options.curvature, "draw a curvature comb along a curve");
  sub->add_option("--plane", o->plane,
                  "projection: z (onto xy, default), y (onto zx), x (onto yz) or i (isometric)")
      ->check(CLI::IsMember({"z", "y", "x", "i"}));
  sub->add_option("--isolines", o->options.isolines, "isoparametric lines per direction")
      ->check(CLI::Range(2, 200));
  sub->add_option("--width", o->options.width, "picture width in pixels")
      ->check(CLI::Range(100, 10000));
  sub->add_flag("--mesh", o->mesh, "draw a surface as the wireframe of its tessellation");
  sub->add_option("--chord", o->chord, "chord tolerance of --mesh, a fraction of the size")
      ->check(CLI::Range(1e-6, 1.0));
  return {sub, [o] { run_plot(*o); }};
}

}  // namespace orvo::cli
