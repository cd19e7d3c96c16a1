// The IGES reader on small hand-written files: the geometry of each entity
// kind against its known shape, trimming loops against their known
// boundaries, and malformed files refused with the line named.
#include <cmath>
#include <fstream>
#include <functional>
#include <sstream>

#include "lib/iges_file.hpp"
#include "test_support.hpp"

namespace {

using orvo::tools::IgesModel;
using orvo::tools::read_iges;

std::string data(const std::string &name) {
  return std::string(ORVO_TEST_DATA_DIR) + "/iges/" + name;
}

double dist(POINT a, POINT b) { return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z); }

// Distance from P to the segment AB.
double to_segment(POINT P, POINT A, POINT B) {
  const double dx = B.x - A.x, dy = B.y - A.y, dz = B.z - A.z;
  double t =
      ((P.x - A.x) * dx + (P.y - A.y) * dy + (P.z - A.z) * dz) / (dx * dx + dy * dy + dz * dz);
  t = std::fmin(1.0, std::fmax(0.0, t));
  return dist(P, POINT{A.x + t * dx, A.y + t * dy, A.z + t * dz});
}

// Distance from P to the circle of radius r about the z-parallel axis
// through (cx, cy) in the plane z = cz.
double to_circle(POINT P, double cx, double cy, double cz, double r) {
  return std::hypot(std::hypot(P.x - cx, P.y - cy) - r, P.z - cz);
}

double to_polygon(POINT P, const std::vector<POINT> &corners) {
  double d = HUGE_VAL;
  for (size_t i = 0; i < corners.size(); ++i)
    d = std::fmin(d, to_segment(P, corners[i], corners[(i + 1) % corners.size()]));
  return d;
}

POINT at(const CURVE *c, double t) {
  POINT P{};
  EXPECT_EQ(N_curevn(c, t, 1, &P), 0);
  return P;
}

// The surface's point at (u, v); a loop evaluated between two vertices on
// the domain's edge may leave it by a rounding error.
POINT at(const SURFACE *s, double u, double v) {
  double u0, u1, v0, v1;
  U_surpar(s, &u0, &u1, &v0, &v1);
  EXPECT_TRUE(u > u0 - 1e-12 && u < u1 + 1e-12 && v > v0 - 1e-12 && v < v1 + 1e-12)
      << u << " " << v;
  u = std::fmin(u1, std::fmax(u0, u)), v = std::fmin(v1, std::fmax(v0, v));
  POINT P{};
  EXPECT_EQ(N_surevn(s, u, v, 1, 1, &P), 0);
  return P;
}

// Largest of f over 33 points of the curve and over its two ends.
double worst(const CURVE *c, const std::function<double(POINT)> &f) {
  double a, b, e = 0.0;
  U_curpar(c, &a, &b);
  for (int i = 0; i <= 32; ++i) e = std::fmax(e, f(at(c, a + (b - a) * i / 32)));
  return e;
}

double worst(const SURFACE *s, const std::function<double(POINT)> &f) {
  double u0, u1, v0, v1, e = 0.0;
  U_surpar(s, &u0, &u1, &v0, &v1);
  for (int i = 0; i <= 8; ++i)
    for (int j = 0; j <= 8; ++j)
      e = std::fmax(e, f(at(s, u0 + (u1 - u0) * i / 8, v0 + (v1 - v0) * j / 8)));
  return e;
}

TEST(IgesRead, EntitiesBecomeTheirShapes) {
  const POINT end_a{1, 2, 3}, end_b{4, 6, 3};
  struct Case {
    const char *file;
    POINT first;  // the curve's start (NAN x: a surface)
    std::function<double(POINT)> off;
  };
  const Case cases[] = {
      {"line.igs", end_a, [&](POINT P) { return to_segment(P, end_a, end_b); }},
      {"arc.igs",
       {3, 1, 2},
       [](POINT P) {
         return to_circle(P, 1, 1, 2, 2) + (P.x < 1 - 1e-12 || P.y < 1 - 1e-12);  // first quadrant
       }},
      {"rational.igs",
       {1, 0, 0},
       [](POINT P) { return to_circle(P, 0, 0, 0, 1) + (P.x < -1e-12); }},
      {"transform.igs",
       {11, 2, 3},
       [](POINT P) {
         return to_segment(P, {11, 2, 3}, {11, 3, 3});
       }},
      {"surface.igs",
       {NAN, 0, 0},
       [](POINT P) {
         return std::fabs(std::hypot(P.x, P.y) - 2) +
                (P.z < -1e-12 || P.z > 3 + 1e-12 || P.x < -1e-12 || P.y < -1e-12);
       }},
  };
  for (const Case &c : cases) {
    IgesModel model;
    std::string error;
    ASSERT_TRUE(read_iges(data(c.file), {}, model, error)) << error;
    const bool curve = !std::isnan(c.first.x);
    ASSERT_EQ(model.curves.size(), curve ? 1u : 0u) << c.file;
    ASSERT_EQ(model.surfaces.size(), curve ? 0u : 1u) << c.file;
    EXPECT_EQ(model.product, "handmade");
    if (curve) {
      double a, b;
      U_curpar(model.curves[0], &a, &b);
      EXPECT_LT(dist(at(model.curves[0], a), c.first), 1e-14) << c.file;
      EXPECT_LT(worst(model.curves[0], c.off), 1e-14) << c.file;
    } else {
      EXPECT_LT(worst(model.surfaces[0], c.off), 1e-14) << c.file;
    }
  }
}

// The other convertible kinds, each checked on its known shape, and three
// entities the reader skips with the reason.
TEST(IgesRead, EveryKindBecomesItsShape) {
  IgesModel model;
  std::string error;
  ASSERT_TRUE(read_iges(data("kinds.igs"), {}, model, error)) << error;
  const struct {
    size_t entity;
    std::function<double(POINT)> off;
  } cases[] = {
      {0, [](POINT P) { return std::fabs(P.x * P.x / 4 + P.y * P.y - 1) + std::fabs(P.z - 1); }},
      {1,
       [](POINT P) {
         return to_polygon(P, {{0, 0, 0}, {1, 0, 0}, {1, 1, 1}});
       }},
      {2, [](POINT P) { return std::fabs(P.y - P.x * P.x) + std::fabs(P.z - P.x * P.x * P.x); }},
      {3, [](POINT P) { return std::fabs(P.z - P.x * P.y) + (P.x < 0 || P.x > 1); }},
      {6, [](POINT P) { return std::fabs(P.y - P.z) + (P.x < 0 || P.x > 1); }},
      {8, [](POINT P) { return std::fabs(std::hypot(P.x, P.y) - 1) + (P.z < 0 || P.z > 2); }},
      {10, [](POINT P) { return std::fabs(P.z); }},
      {13,
       [](POINT P) {
         return std::fabs(std::hypot(P.x, P.y) - 1) + (P.x < -1e-15 || P.y < -1e-15);
       }},
  };
  for (const auto &c : cases) {
    const orvo::tools::IgesEntity &e = model.entities[c.entity];
    ASSERT_TRUE(e.curve >= 0 || e.surface >= 0) << e.de << " " << e.result;
    const double off = e.curve >= 0 ? worst(model.curves[static_cast<size_t>(e.curve)], c.off)
                                    : worst(model.surfaces[static_cast<size_t>(e.surface)], c.off);
    EXPECT_LT(off, 1e-14) << "entity " << e.type;
  }
  // The bounded plane covers its bounding circle: its corners lie outside.
  const SURFACE *plane = model.surfaces[static_cast<size_t>(model.entities[10].surface)];
  for (double u : {0.0, 1.0})
    for (double v : {0.0, 1.0}) EXPECT_GT(std::hypot(at(plane, u, v).x, at(plane, u, v).y), 1.4);
  const char *skipped[] = {"skipped: N_IGS126: error 5 (weight outside [0.01, 10])",
                           "skipped: entity D31 refers to itself",
                           "skipped: transformation pointer to D1, a type 104 entity"};
  for (size_t k = 0; k < 3; ++k) EXPECT_EQ(model.entities[14 + k].result, skipped[k]);
}

TEST(IgesRead, EntitiesListedWithWhatTheyBecame) {
  const std::pair<const char *, std::vector<std::string>> cases[] = {
      {"transform.igs", {"transformation", "transformation", "curve"}},
      {"unsupported.igs",
       {"skipped: point (type 116) is not converted", "curve",
        "skipped: entity (type 212) is not converted"}},
      {"trimmed_plane.igs",
       {"surface, used by D13", "curve, used by D11", "curve, used by D11", "curve, used by D11",
        "curve, used by D11", "curve, used by D13", "curve on surface, used by D19",
        "curve, used by D17", "curve on surface, used by D19", "trimmed surface"}},
  };
  for (const auto &[file, results] : cases) {
    IgesModel model;
    std::string error;
    ASSERT_TRUE(read_iges(data(file), {}, model, error)) << error;
    ASSERT_EQ(model.entities.size(), results.size()) << file;
    for (size_t k = 0; k < results.size(); ++k) {
      EXPECT_EQ(model.entities[k].result, results[k]) << file << " entity " << k;
      EXPECT_EQ(model.entities[k].de, static_cast<int>(2 * k + 1));
    }
  }
  IgesModel model;
  std::string error;
  ASSERT_TRUE(read_iges(data("unsupported.igs"), {}, model, error));
  EXPECT_EQ(model.entities[1].label, "EDGE");
  EXPECT_EQ(model.entities[1].curve, 0);
}

// Each trimming loop: closed, and its points mapped through the surface lie
// on the model-space boundary it came from; the polygon of its vertices
// (model space for the plane, parameter plane otherwise) has the expected
// area.
TEST(IgesRead, TrimmingLoopsFollowTheirBoundaries) {
  const std::vector<POINT> rect{{0, 0, 1}, {4, 0, 1}, {4, 3, 1}, {0, 3, 1}};
  const std::vector<POINT> square{{1, 1, 0}, {9, 1, 0}, {9, 9, 0}, {1, 9, 0}};
  struct Loop {
    std::function<double(POINT)> off;  // distance of S(loop) from the boundary
    double area;                       // |area| of the vertex polygon
  };
  struct Case {
    const char *file;
    bool model_area;  // area of the model-space xy polygon, else (u, v)
    std::vector<Loop> loops;
  };
  const Case cases[] = {
      {"trimmed_param.igs",
       false,
       {{[&](POINT P) { return to_polygon(P, square); }, 0.64},
        {[](POINT P) { return to_circle(P, 5, 5, 0, 2); }, M_PI * 0.04}}},
      {"trimmed_plane.igs",
       true,
       {{[&](POINT P) { return to_polygon(P, rect); }, 12},
        {[](POINT P) { return to_circle(P, 2, 1.5, 1, 0.5); }, M_PI * 0.25}}},
      {"trimmed_cylinder.igs",
       false,
       {{[](POINT P) {
           return std::fabs(std::hypot(P.x, P.y) - 2) +
                  std::fmin(std::fmin(std::fabs(P.z), std::fabs(P.z - 1.5)),
                            std::hypot(P.x - 2, P.y));
         },
         0.5}}},
  };
  for (const Case &c : cases) {
    IgesModel model;
    std::string error;
    ASSERT_TRUE(read_iges(data(c.file), {1e-4}, model, error)) << error;
    ASSERT_EQ(model.trimmed.size(), 1u) << c.file;
    EXPECT_TRUE(model.surfaces.empty() && model.curves.empty()) << c.file;
    const orvo::tools::TrimmedSurface &t = model.trimmed[0];
    ASSERT_EQ(t.loops.size(), c.loops.size()) << c.file;
    for (size_t k = 0; k < c.loops.size(); ++k) {
      ASSERT_EQ(t.loops[k].size(), 1u);
      const CURVE *loop = t.loops[k][0];
      ASSERT_FALSE(U_iscur3(loop)) << c.file << " loop " << k;
      // Points of the loop at its knots and between them (16 per span).
      std::vector<POINT> uv;
      const double *U = loop->knt->U;
      for (int32_t i = loop->p; i < loop->knt->m - loop->p; ++i)
        for (int q = 0; q < 16 && U[i + 1] > U[i]; ++q)
          uv.push_back(at(loop, U[i] + (U[i + 1] - U[i]) * q / 16));
      uv.push_back(at(loop, U[loop->knt->m]));
      EXPECT_LT(dist(uv.front(), uv.back()), 1e-12) << c.file << " loop " << k;
      double area = 0.0, off = 0.0, mid = 0.0;
      for (size_t i = 0; i + 1 < uv.size(); ++i) {
        const POINT A = at(t.surface, uv[i].x, uv[i].y),
                    B = at(t.surface, uv[i + 1].x, uv[i + 1].y);
        (i % 16 == 0 ? off : mid) = std::fmax(i % 16 == 0 ? off : mid, c.loops[k].off(A));
        area +=
            c.model_area ? A.x * B.y - B.x * A.y : uv[i].x * uv[i + 1].y - uv[i + 1].x * uv[i].y;
      }
      EXPECT_LT(off, 1e-9) << c.file << " loop " << k;
      EXPECT_LT(mid, 2e-3) << c.file << " loop " << k;  // the chord tolerance
      EXPECT_NEAR(std::fabs(area / 2), c.loops[k].area, 0.01 * c.loops[k].area)
          << c.file << " loop " << k;
    }
  }
}

// Copies a data file with one piece of text replaced.
std::string mutated(const std::string &file, const std::string &from, const std::string &to) {
  std::ifstream in(data(file));
  std::stringstream ss;
  ss << in.rdbuf();
  std::string text = ss.str();
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  const std::string path = ::testing::TempDir() + "iges_bad_" +
                           std::to_string(std::hash<std::string>()(from + to)) + ".igs";
  std::ofstream(path) << text;
  return path;
}

TEST(IgesRead, MalformedFilesNameTheLine) {
  const std::string d1 =
      "     110       1       0       0       0       0       0       000000000D      1";
  const struct {
    const char *file, *from, *to, *message;
  } cases[] = {
      {"line.igs", d1.c_str(), "     110       1       0       0",
       "line 4: record truncated to 32 columns"},
      {"line.igs", "     110       1       0", "     110       7       0",
       "line D1: parameter data pointer 7"},
      {"line.igs", "       0       000000000D      1", "       8       000000000D      1",
       "line D1: transformation pointer 8"},
      {"line.igs", "4.0,6.0", "4.X,6.0", "line P1: parameter 4 of entity 110 (D1)"},
      {"rational.igs", "126,2,2,1", "126,9,2,1", "line P2: entity 126 (D1) needs 62 parameters"},
      {"trimmed_plane.igs", "102,4,3,5,7,9; ", "102,4,3,5,7,99;",
       "line P6: pointer 99 in entity 102"},
      {"line.igs", "           1P      1", "           3P      1",
       "line P1: parameter line points back to D3"},
      {"line.igs", "2Hus", "99Hu", "line G2: Hollerith string 99H runs past"},
      {"line.igs", "D      2P      1", "D      3P      1", "line T1: the count of D lines"},
      {"line.igs", "     110       0       0", "     116       0       0",
       "line D2: entity type 116"},
  };
  for (const auto &c : cases) {
    const std::string path = mutated(c.file, c.from, c.to);
    IgesModel model;
    std::string error;
    EXPECT_FALSE(read_iges(path, {}, model, error)) << c.message;
    EXPECT_EQ(error.rfind(path + ": ", 0), 0u) << error;
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
    std::remove(path.c_str());
  }
  IgesModel model;
  std::string error;
  EXPECT_FALSE(read_iges(data("absent.igs"), {}, model, error));
  EXPECT_NE(error.find("cannot be opened"), std::string::npos) << error;
}

}  // namespace
