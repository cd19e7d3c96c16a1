// orvo export FILE... -o OUT.igs: curves and surfaces as IGES entities 126
// and 128.
#include <cstdio>

#include "common.hpp"

namespace orvo::cli {

namespace {

struct ExportOptions {
  std::vector<std::string> files;
  std::string out;
};

void run_export(const ExportOptions &o) {
  if (kind_of(o.out) != FileKind::iges) usage("-o: the output must end in .igs or .iges");
  Geometry g;
  for (const std::string &path : o.files) {
    const FileKind kind = kind_of(path);
    if (kind != FileKind::curve && kind != FileKind::curves && kind != FileKind::surface)
      fail(path, "not a curve (.crv), curve array (.cua) or surface (.sur) file");
    load(path, g);
  }
  const std::vector<const CURVE *> curves(g.curves.begin(), g.curves.end());
  const std::vector<const SURFACE *> surfaces(g.surfaces.begin(), g.surfaces.end());
  std::string error;
  if (!tools::write_iges(o.out, curves, surfaces, error)) throw Failure(error);
  std::printf("%s: %zu curves, %zu surfaces\n", o.out.c_str(), curves.size(), surfaces.size());
}

}  // namespace

Command add_export(CLI::App &app) {
  auto o = std::make_shared<ExportOptions>();
  CLI::App *sub = app.add_subcommand(
      "export", "Write curves (.crv, .cua) and surfaces (.sur) into one IGES file");
  sub->add_option("FILE", o->files, "the curve and surface files")->required();
  sub->add_option("-o,--output", o->out, "the IGES file")->required();
  return {sub, [o] { run_export(*o); }};
}

}  // namespace orvo::cli
