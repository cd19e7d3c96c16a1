// Triangle meshes in model space: tessellation of a (trimmed) surface
// through the library's tessellator, and the OBJ, PLY and binary STL
// writers (with a reader of the same three formats for tests and tools).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "orvo/orvo.h"

namespace orvo::tools {

struct Mesh {
  std::vector<std::array<double, 3>> vertices, normals;  // normals: one per vertex, unit
  std::vector<std::array<int32_t, 3>> triangles;         // counter-clockwise seen from the normal
};

// Tessellates sur within the given loops of its parameter plane (loops[0]
// the outer loop, empty or absent: the surface's own boundary; loops[1..]
// holes; each a closed chain of 2-D curves) with the chord and flatness
// tolerances as fractions of the surface's size (the larger mean length
// of its control polygons), and appends the model-space triangles, with
// the surface normals, to mesh (a closed surface keeps both copies of the
// points on its seam). At a degenerate point the normal is taken nearby,
// or from the triangles around the point. False with error set (the
// library's error spelled out) on failure, mesh then unchanged.
bool tessellate(const SURFACE *sur, const std::vector<std::vector<CURVE *>> &loops, double chord,
                double flat, Mesh &mesh, std::string &error);

// Total area of the triangles.
double area(const Mesh &mesh);

// Writes mesh to path in the format its extension names: .obj (with
// normals), .ply (ASCII, with normals) or .stl (binary). False with error
// set for another extension or a file that cannot be written.
bool write_mesh(const std::string &path, const Mesh &mesh, std::string &error);

// Reads a mesh in one of the three formats (PLY in ASCII only; faces of
// more than three corners split into fans; STL vertices are merged when
// equal, normals from the faces around each). False with error set naming
// the line (or byte offset) at fault.
bool read_mesh(const std::string &path, Mesh &mesh, std::string &error);

}  // namespace orvo::tools
