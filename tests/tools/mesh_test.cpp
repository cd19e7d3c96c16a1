// Surface tessellation into model-space meshes, and the mesh files.
#include "lib/mesh.hpp"

#include <cmath>
#include <fstream>

#include "tess/mesh_validator.hpp"

namespace {

using orvo::tools::Mesh;
using V3 = std::array<double, 3>;
const double kPi = std::acos(-1.0);

std::string temp(const std::string &name) { return ::testing::TempDir() + "orvo_mesh_" + name; }

double dist(const V3 &a, const V3 &b) { return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]); }
double dot(const V3 &a, const V3 &b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
V3 cross(const V3 &a, const V3 &b, const V3 &c) {  // (b - a) x (c - a)
  const V3 e{b[0] - a[0], b[1] - a[1], b[2] - a[2]}, f{c[0] - a[0], c[1] - a[1], c[2] - a[2]};
  return {e[1] * f[2] - e[2] * f[1], e[2] * f[0] - e[0] * f[2], e[0] * f[1] - e[1] * f[0]};
}

// -1: a plane whose parameters are its x and y, [0, 2] x [0, 1]; -2: the
// triangle S(u, v) = (uv, v, 0), its edge v = 0 collapsed to a point;
// else make_surface(kind).
std::unique_ptr<evaltest::SurfaceData> surface(int kind) {
  const double w = -DBL_MAX, x = kind == -1 ? 2 : 0, d = kind == -1 ? 2 : 1;
  if (kind >= 0) return tesstest::make_surface(kind);
  return std::make_unique<evaltest::SurfaceData>(
      std::vector<std::vector<CPOINT>>{{{0, 0, 0, w}, {0, 1, 0, w}}, {{x, 0, 0, w}, {d, 1, 0, w}}},
      std::vector<double>{0, 0, d, d}, std::vector<double>{0, 0, 1, 1}, 1, 1);
}

TEST(ToolsMesh, TessellatedSurfacesLieOnTheSurfaceWithTheirNormals) {
  orvo_test::Workspace ws;
  CURVE hole{};
  ASSERT_EQ(N_concir({1, 0.5, 0}, {1, 0, 0}, {0, 1, 0}, 0.25, 0, 360, 2, &hole, ws), 0);
  U_cur3t2(&hole);
  struct Case {
    int kind;           // of surface()
    char outer, inner;  // trimming loops of the unit square ('h': the circle above)
    double area, tol;   // expected area (0: not checked) and relative tolerance
  } cases[] = {{0, 0, 0, 2, 1e-9},  {-1, 0, 'h', 2 - kPi / 16, 0.01},
               {1, 0, 0, 0, 0},     {1, 'b', 's', 0, 0},
               {2, 'b', 'c', 0, 0}, {-2, 0, 0, 0.5, 1e-9}};
  for (const Case &k : cases) {
    SCOPED_TRACE("surface " + std::to_string(k.kind) + " loops " + std::string(1, k.outer | 32) +
                 std::string(1, k.inner | 32));
    auto S = surface(k.kind);
    const SURFACE *s = &S->sur;
    tesstest::Trims trims(s);
    std::vector<std::vector<CURVE *>> loops{k.outer ? trims(k.outer) : std::vector<CURVE *>{}};
    if (k.inner)
      loops.push_back(k.inner == 'h' ? std::vector<CURVE *>{&hole}
                                     : trims(k.inner, 0.5, 0.5, 0.25));
    Mesh mesh;
    mesh.vertices.assign(3, V3{9, 9, 9}), mesh.normals.assign(3, V3{0, 0, 1});  // appended to
    std::string error;
    ASSERT_TRUE(orvo::tools::tessellate(s, loops, 1e-3, 1e-3, mesh, error)) << error;
    double A, Lu, Lv, u0, u1, v0, v1;
    ASSERT_EQ(N_tesesa(s, &A, &Lu, &Lv), 0);
    U_surpar(s, &u0, &u1, &v0, &v1);
    const double chord = 1e-3 * std::max(Lu, Lv);
    ASSERT_EQ(mesh.normals.size(), mesh.vertices.size());
    ASSERT_GE(mesh.triangles.size(), 2u);
    int off = 0, wrong_normal = 0, clockwise = 0, outside = 0;
    for (size_t i = 3; i < mesh.vertices.size(); ++i) {
      const V3 &p = mesh.vertices[i];
      double best = DBL_MAX, us = u0, vs = v0, u, v;
      for (int a = 0; a <= 40; ++a)  // start of the inversion: nearest of a 41 x 41 grid
        for (int b = 0; b <= 40; ++b) {
          POINT Q{};
          const double tu = u0 + (u1 - u0) * a / 40, tv = v0 + (v1 - v0) * b / 40;
          N_surevn(s, tu, tv, 1, 1, &Q);
          const double d = dist(p, {Q.x, Q.y, Q.z});
          if (d < best) best = d, us = tu, vs = tv;
        }
      POINT Q{}, P{p[0], p[1], p[2]};
      VECTOR Su, Sv, N;
      ASSERT_EQ(N_gprsin(s, P, us, vs, 1e-12, 1e-12, &u, &v, &Q), 0);
      off += dist(p, {Q.x, Q.y, Q.z}) > chord;
      // The normal from one side (a crease has two; the barrel's seam is one).
      double miss = DBL_MAX, seam = u == u0 ? u1 : u == u1 ? u0 : u;
      for (int16_t side = 0; side < 8; ++side)
        if (!N_surnor(s, side < 4 ? u : seam, v, 1 + side % 2, 1 + side / 2 % 2, &Q, &Su, &Sv, &N))
          miss = std::min(miss, dist(mesh.normals[i], {N.x, N.y, N.z}));
      if (miss == DBL_MAX) orvo_test::expect_error(17, "G_VECNIP");  // the triangle's apex
      wrong_normal += (miss == DBL_MAX ? dist(mesh.normals[i], {0, 0, 1}) : miss) > 1e-6;
    }
    double sum = 0;
    for (const auto &t : mesh.triangles) {
      outside += std::min({t[0], t[1], t[2]}) < 3;
      const V3 n = cross(mesh.vertices[t[0]], mesh.vertices[t[1]], mesh.vertices[t[2]]);
      clockwise += dot(n, mesh.normals[t[0]]) < 0;
      sum += std::sqrt(dot(n, n)) / 2;
    }
    EXPECT_EQ(off + wrong_normal + clockwise + outside, 0)
        << off << " off the surface, " << wrong_normal << " wrong normals, " << clockwise
        << " clockwise, " << outside << " on vertices of the mesh before";
    EXPECT_NEAR(orvo::tools::area(mesh), sum, 1e-12 * sum);
    if (k.area > 0) {
      EXPECT_NEAR(sum, k.area, k.tol * k.area);
    }
  }
}

TEST(ToolsMesh, RefusedInputLeavesTheMeshAlone) {
  auto S = surface(-1);
  CURVE empty{};
  const struct {
    double chord;
    std::vector<std::vector<CURVE *>> loops;
    const char *message;
  } cases[] = {{0, {}, "tolerances"}, {2, {}, "tolerances"}, {1e-3, {{&empty}}, "N_TES"}};
  for (const auto &k : cases) {
    Mesh mesh;
    std::string error;
    EXPECT_FALSE(orvo::tools::tessellate(&S->sur, k.loops, k.chord, 1e-3, mesh, error));
    EXPECT_NE(error.find(k.message), std::string::npos) << error;
    EXPECT_TRUE(mesh.vertices.empty() && mesh.triangles.empty());
  }
}

TEST(ToolsMesh, FilesReadBackTheMeshTheyWereWrittenFrom) {
  auto S = surface(2);
  Mesh mesh;
  std::string error;
  ASSERT_TRUE(orvo::tools::tessellate(&S->sur, {}, 1e-2, 1e-2, mesh, error)) << error;
  for (const char *ext : {"obj", "ply", "stl", "OBJ"}) {
    SCOPED_TRACE(ext);
    const std::string path = temp(std::string("round.") + ext);
    Mesh back;
    ASSERT_TRUE(orvo::tools::write_mesh(path, mesh, error)) << error;
    ASSERT_TRUE(orvo::tools::read_mesh(path, back, error)) << error;
    ASSERT_EQ(back.triangles.size(), mesh.triangles.size());
    ASSERT_EQ(back.vertices.size(), mesh.vertices.size());
    double worst = 0, turn = 0;  // STL normals come from the faces: near the surface's
    for (size_t t = 0; t < mesh.triangles.size(); ++t)
      for (int c = 0; c < 3; ++c) {
        const int32_t a = mesh.triangles[t][c], b = back.triangles[t][c];
        worst = std::max(worst, dist(mesh.vertices[a], back.vertices[b]));
        turn = std::max(turn, 1 - dot(mesh.normals[a], back.normals[b]));
      }
    EXPECT_LT(worst, 1e-6);
    EXPECT_LT(turn, std::string(ext) == "stl" ? 0.05 : 1e-12);
  }
}

TEST(ToolsMesh, MalformedFilesNameTheLineOrByte) {
  const std::string h(80, ' '),
      stl = h + std::string("\5\0\0\0", 4) + std::string(16, 'x'),
      nan_stl = h + std::string("\1\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\xc0\x7f", 20) +
                std::string(34, '\0');
  const std::string ply =
      "ply\nformat ascii 1.0\nelement vertex 3\nproperty float x\n"
      "property float y\nproperty float z\nelement face 1\n"
      "property list uchar int vertex_indices\nend_header\n0 0 0\n1 0 0\n";
  const struct {
    const char *ext;
    std::string text;
    const char *message;
  } cases[] = {
      {"obj", "# c\nv 1 2\n", "line 2: expected three numbers"},
      {"obj", "v 0 0 0\nv 1 0 0\nf 1 2 3\n", "line 3: bad vertex index '3'"},
      {"obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1//1 2 3\n", "line 4: bad normal index"},
      {"obj", "v 0 0 0\nv 1 0 0\nf 1 2\n", "line 3: a face needs three corners"},
      {"ply", "ply\nformat binary_little_endian 1.0\n", "line 2: only ASCII"},
      {"ply", ply, "line 11: the file ends before all vertex lines"},
      {"ply", ply + "0 1 z\n", "line 12: bad number 'z'"},
      {"ply", ply + "0 1 0\n3 0 1 3\n", "line 13: bad vertex index '3'"},
      {"ply", "ply\nformat ascii 1.0\nelement vertex 1\n", "line 3: the header has no end"},
      {"stl", h.substr(0, 10), "byte 10: file ends inside the 84-byte STL header"},
      {"stl", stl, "byte 80: the triangle count 5 does not match"},
      {"stl", nan_stl, "byte 84: a vertex is not a finite number"},
      {"off", "OFF\n", "unknown mesh format"},
  };
  for (const auto &k : cases) {
    const std::string path = temp(std::string("bad.") + k.ext);
    std::ofstream(path, std::ios::binary) << k.text;
    Mesh m;
    std::string error;
    EXPECT_FALSE(orvo::tools::read_mesh(path, m, error));
    EXPECT_NE(error.find(k.message), std::string::npos) << error;
  }
}

}  // namespace
