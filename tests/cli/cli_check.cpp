// Checks of the files the orvo command writes, for the end-to-end table:
//   onsurf MESH SURF TOL   every vertex within TOL x size of the surface,
//                          unit normals, triangle indices in range
//   area MESH A            the mesh's area within 1% of A
//   same A B TOL           two curve (or surface) files: the same domain
//                          and the same points at 11 (11 x 11) parameters
// Exit status 0 when the check holds, 1 with the reason otherwise.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "lib/mesh.hpp"
#include "lib/store.hpp"

namespace {

using orvo::tools::Mesh;

double dist(const POINT &a, const POINT &b) {
  return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) +
                   (a.z - b.z) * (a.z - b.z));
}

int bad(const std::string &why) {
  std::printf("FAILED: %s\n", why.c_str());
  return 1;
}

void domain(const SURFACE *s, double d[4]) {
  d[0] = s->knu->U[s->p];
  d[1] = s->knu->U[s->knu->m - s->p];
  d[2] = s->knv->U[s->q];
  d[3] = s->knv->U[s->knv->m - s->q];
}

POINT at(const SURFACE *s, const double d[4], int i, int j, int steps) {
  POINT P{};
  N_surevn(s, d[0] + (d[1] - d[0]) * i / steps, d[2] + (d[3] - d[2]) * j / steps,
           i == steps ? 2 : 1, j == steps ? 2 : 1, &P);
  return P;
}

// Distance of P from the surface: the nearest of a 24 x 24 sample grid,
// refined by point inversion from there.
double off_surface(const SURFACE *s, const POINT &P) {
  double d[4], best = HUGE_VAL, bu = 0, bv = 0;
  domain(s, d);
  for (int i = 0; i <= 24; ++i)
    for (int j = 0; j <= 24; ++j)
      if (dist(at(s, d, i, j, 24), P) < best) {
        best = dist(at(s, d, i, j, 24), P);
        bu = d[0] + (d[1] - d[0]) * i / 24;
        bv = d[2] + (d[3] - d[2]) * j / 24;
      }
  double u, v;
  POINT Q;
  if (N_gprsin(s, P, bu, bv, 1e-12, 1e-12, &u, &v, &Q) == 0) best = std::fmin(best, dist(P, Q));
  E_clrerr();
  return best;
}

int onsurf(const char *mesh_path, const char *sur_path, double tol) {
  Mesh mesh;
  std::string error;
  if (!orvo::tools::read_mesh(mesh_path, mesh, error)) return bad(error);
  orvo::tools::Store store;
  SURFACE s;
  U_inisur(&s);
  BOX b;
  if (U_inpsur(&s, sur_path, 1, store.ws()) || N_surbox(&s, &b))
    return bad(orvo::tools::library_error());
  const double size = std::hypot(b.xmax - b.xmin, b.ymax - b.ymin, b.zmax - b.zmin);
  if (mesh.triangles.empty()) return bad("no triangles");
  for (const auto &t : mesh.triangles)
    for (int32_t k : t)
      if (k < 0 || static_cast<size_t>(k) >= mesh.vertices.size()) return bad("index out of range");
  for (const auto &n : mesh.normals)
    if (std::fabs(std::hypot(n[0], n[1], n[2]) - 1.0) > 1e-6)
      return bad("normal not of unit length");
  double worst = 0.0;
  for (const auto &p : mesh.vertices) worst = std::fmax(worst, off_surface(&s, {p[0], p[1], p[2]}));
  std::printf("%zu vertices, %zu triangles, farthest %g from the surface (size %g)\n",
              mesh.vertices.size(), mesh.triangles.size(), worst, size);
  return worst <= tol * size ? 0 : bad("a vertex off the surface");
}

int area(const char *mesh_path, double expected) {
  Mesh mesh;
  std::string error;
  if (!orvo::tools::read_mesh(mesh_path, mesh, error)) return bad(error);
  const double a = orvo::tools::area(mesh);
  std::printf("area %.9g, expected %.9g\n", a, expected);
  return std::fabs(a - expected) <= 0.01 * expected ? 0 : bad("area off by more than 1%");
}

int same(const std::string &a, const std::string &b, double tol) {
  orvo::tools::Store store;
  double worst = 0.0;
  if (a.size() > 4 && a.compare(a.size() - 4, 4, ".crv") == 0) {
    CURVE c[2];
    U_inicur(&c[0]);
    U_inicur(&c[1]);
    if (U_inpcur(&c[0], a.c_str(), 1, store.ws()) || U_inpcur(&c[1], b.c_str(), 1, store.ws()))
      return bad(orvo::tools::library_error());
    const double lo = c[0].knt->U[c[0].p], hi = c[0].knt->U[c[0].knt->m - c[0].p];
    if (lo != c[1].knt->U[c[1].p] || hi != c[1].knt->U[c[1].knt->m - c[1].p])
      return bad("domains differ");
    for (int i = 0; i <= 10; ++i) {
      POINT P, Q;
      const double u = lo + (hi - lo) * i / 10;
      if (N_curevn(&c[0], u, i == 10 ? 2 : 1, &P) || N_curevn(&c[1], u, i == 10 ? 2 : 1, &Q))
        return bad(orvo::tools::library_error());
      worst = std::fmax(worst, dist(P, Q));
    }
  } else {
    SURFACE s[2];
    U_inisur(&s[0]);
    U_inisur(&s[1]);
    if (U_inpsur(&s[0], a.c_str(), 1, store.ws()) || U_inpsur(&s[1], b.c_str(), 1, store.ws()))
      return bad(orvo::tools::library_error());
    double d0[4], d1[4];
    domain(&s[0], d0);
    domain(&s[1], d1);
    for (int k = 0; k < 4; ++k)
      if (d0[k] != d1[k]) return bad("domains differ");
    for (int i = 0; i <= 10; ++i)
      for (int j = 0; j <= 10; ++j)
        worst = std::fmax(worst, dist(at(&s[0], d0, i, j, 10), at(&s[1], d0, i, j, 10)));
  }
  std::printf("largest distance %g\n", worst);
  return worst <= tol ? 0 : bad("the geometry differs");
}

}  // namespace

int main(int argc, char **argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "onsurf" && argc == 5) return onsurf(argv[2], argv[3], std::atof(argv[4]));
  if (mode == "area" && argc == 4) return area(argv[2], std::atof(argv[3]));
  if (mode == "same" && argc == 5) return same(argv[2], argv[3], std::atof(argv[4]));
  std::fprintf(stderr, "usage: cli_check onsurf MESH SURF TOL | area MESH A | same A B TOL\n");
  return 2;
}
