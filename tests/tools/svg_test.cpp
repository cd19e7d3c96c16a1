// SVG pictures of curves, surfaces and meshes: what each holds, where it
// lies in the picture and the scale bar's length.
#include "lib/svg.hpp"

#include <fstream>
#include <regex>
#include <sstream>

#include "eval/reference.hpp"
#include "eval/surface_reference.hpp"
#include "test_support.hpp"

namespace {

using orvo::tools::PlotOptions;

std::string slurp(const std::string &path) {
  std::ifstream f(path);
  return {std::istreambuf_iterator<char>(f), {}};
}

size_t count(const std::string &text, const std::string &what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// Width and height in pixels of the first polyline, and how far its start
// lies below its end.
std::array<double, 3> first_polyline(const std::string &svg) {
  const size_t at = svg.find("points=\"") + 8;
  std::istringstream pts(svg.substr(at, svg.find('"', at) - at));
  double lo[2] = {1e9, 1e9}, hi[2] = {-1e9, -1e9}, p[2] = {0, 0}, y0 = -1;
  for (char comma; pts >> p[0] >> comma >> p[1]; y0 = y0 < 0 ? p[1] : y0)
    for (int c = 0; c < 2; ++c) lo[c] = std::min(lo[c], p[c]), hi[c] = std::max(hi[c], p[c]);
  return {hi[0] - lo[0], hi[1] - lo[1], y0 - p[1]};
}

TEST(ToolsSvg, PicturesHoldWhatTheOptionsAskFor) {
  const double w = orvo_test::kWNR, r = std::sqrt(0.5);
  // A straight 3-D line (0,0,0)-(1,2,3); a 2-D rational quarter circle of
  // radius 2; a bilinear patch 3 x 1 of 2 x 3 points.
  evaltest::CurveData line({{0, 0, 0, w}, {1, 2, 3, w}}, {0, 0, 1, 1}, 1);
  evaltest::CurveData arc({{2, 0, DBL_MAX, 1}, {2 * r, 2 * r, DBL_MAX, r}, {0, 2, DBL_MAX, 1}},
                          {0, 0, 0, 1, 1, 1}, 2);
  evaltest::SurfaceData patch({{{0, 0, 0, w}, {0, 0.5, 0, w}, {0, 1, 0, w}},
                               {{3, 0, 0, w}, {3, 0.5, 0, w}, {3, 1, 0.2, w}}},
                              {0, 0, 1, 1}, {0, 0, 0.5, 1, 1}, 1, 1);
  orvo::tools::Mesh mesh;  // two triangles on a shared edge: 5 edges
  mesh.vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
  mesh.triangles = {{0, 1, 2}, {0, 2, 3}};
  struct Case {
    char what;  // 'l' line, 'a' arc, 's' patch, 'm' mesh
    PlotOptions o;
    size_t polylines, circles, segments;  // segments: moves in the path (teeth or edges)
    double aspect;                        // width / height of the first polyline, 0: not checked
    const char *bar;                      // scale bar label
  } cases[] = {
      {'l', {}, 1, 0, 0, 0.5, "0.2"},                                  // 'z': x, y
      {'l', {false, false, false, 'y'}, 1, 0, 0, 3, "0.5"},            // z, x
      {'l', {false, false, false, 'x'}, 1, 0, 0, 2 / 3.0, "0.5"},      // y, z
      {'l', {false, false, true}, 1, 0, 0, 0.5, "0.2"},                // straight: no comb
      {'a', {true, true}, 2, 2, 0, 1, "0.2"},                          // 2 knots
      {'a', {false, false, true}, 2, 0, 401, 0, "0.2"},                // 401 teeth
      {'s', {false, false, false, 'z', 3}, 10, 0, 0, 0, "0.5"},        // 2 x (3 + 2) isolines
      {'s', {true, true, false, 'z', 1, 400}, 6 + 5, 6, 0, 0, "0.5"},  // + 2 + 3 net lines
      {'m', {}, 0, 0, 5, 0, "0.2"},
  };
  for (const Case &k : cases) {
    SCOPED_TRACE(std::string(1, k.what) + " plane " + std::string(1, k.o.plane));
    const std::string path = ::testing::TempDir() + "orvo_svg.svg";
    std::string error;
    const bool ok = k.what == 'l'   ? orvo::tools::plot_curve(&line.cur, k.o, path, error)
                    : k.what == 'a' ? orvo::tools::plot_curve(&arc.cur, k.o, path, error)
                    : k.what == 's' ? orvo::tools::plot_surface(&patch.sur, k.o, path, error)
                                    : orvo::tools::plot_mesh(mesh, k.o, path, error);
    ASSERT_TRUE(ok) << error;
    const std::string svg = slurp(path);
    EXPECT_EQ(svg.rfind("<svg xmlns=\"http://www.w3.org/2000/svg\"", 0), 0u);
    EXPECT_NE(svg.find("viewBox=\"0 0 " + std::to_string(k.o.width) + " "), std::string::npos);
    EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
    EXPECT_EQ(count(svg, "<polyline"), k.polylines);
    EXPECT_EQ(count(svg, "<circle"), k.circles);
    EXPECT_EQ(count(svg, "M") - 1, k.segments);  // one more for the scale bar
    EXPECT_NE(svg.find("\">" + std::string(k.bar) + "</text>"), std::string::npos);
    const auto shape = first_polyline(svg);  // y upwards: lines and arcs go up from the start
    EXPECT_GT(shape[2], k.what == 'l' || k.what == 'a' ? 100 : -1e9);
    EXPECT_NEAR(k.aspect > 0 ? shape[0] / shape[1] : 0, k.aspect, 0.01);
    std::smatch m;  // the arc's first tooth, at (2, 0), points away from the centre: +x
    const std::regex tooth("d=\"M([0-9.]+) [0-9.]+L([0-9.]+)");
    if (k.segments == 401 && std::regex_search(svg, m, tooth)) {
      EXPECT_GT(std::stod(m[2]), std::stod(m[1]) + 50);
    }
  }
}

TEST(ToolsSvg, RefusesWhatItCannotDraw) {
  CURVE empty{};
  SURFACE none{};
  orvo::tools::Mesh bad{{{0, 0, 0}}, {}, {{0, 0, 1}}};
  evaltest::CurveData line({{0, 0, 0, -DBL_MAX}, {1, 0, 0, -DBL_MAX}}, {0, 0, 1, 1}, 1);
  const std::string tmp = ::testing::TempDir() + "orvo_bad.svg", dir = ::testing::TempDir();
  std::string error;
  EXPECT_FALSE(orvo::tools::plot_curve(&empty, {}, tmp, error));
  EXPECT_FALSE(orvo::tools::plot_surface(&none, {}, tmp, error));
  EXPECT_FALSE(orvo::tools::plot_mesh(bad, {}, tmp, error));
  bad.vertices = {{-1e308, 0, 0}, {1e308, 0, 0}, {0, 1, 0}}, bad.triangles = {{0, 1, 2}};
  EXPECT_FALSE(orvo::tools::plot_mesh(bad, {}, tmp, error));
  EXPECT_NE(error.find("too large"), std::string::npos) << error;
  EXPECT_FALSE(orvo::tools::plot_mesh({}, {}, tmp, error));
  EXPECT_NE(error.find("nothing to draw"), std::string::npos) << error;
  EXPECT_FALSE(orvo::tools::plot_curve(&line.cur, {}, dir, error));
  EXPECT_NE(error.find("cannot be written"), std::string::npos) << error;
}

}  // namespace
