// SVG pictures of curves, surfaces and meshes, projected onto a
// coordinate plane and scaled to the picture, with a scale bar.
#pragma once

#include <string>

#include "lib/mesh.hpp"

namespace orvo::tools {

struct PlotOptions {
  bool ctrl = false;       // the control polygon (net)
  bool knots = false;      // the points at the knots
  bool curvature = false;  // a curvature comb along a curve
  char plane = 'z';        // projection: 'z' onto xy, 'y' onto zx, 'x' onto yz, 'i' isometric
  int isolines = 10;       // isoparametric lines per direction of a surface
  int width = 800;         // picture width in pixels
};

// Each writes one SVG file; false with error set on failure.
bool plot_curve(const CURVE *cur, const PlotOptions &options, const std::string &path,
                std::string &error);
bool plot_surface(const SURFACE *sur, const PlotOptions &options, const std::string &path,
                  std::string &error);
bool plot_mesh(const Mesh &mesh, const PlotOptions &options, const std::string &path,
               std::string &error);

}  // namespace orvo::tools
