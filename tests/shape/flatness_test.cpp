// Flatness decisions on hand-built control nets. A net whose answer depends
// on its direction is also tried transposed, which must give the other
// split direction.
#include <cmath>
#include <functional>
#include <string>

#include "eval/surface_reference.hpp"
#include "test_support.hpp"

namespace {

using Rows = std::vector<std::vector<CPOINT>>;

// The (n+1) x (m+1) non-rational net of the points f(i, j).
Rows net(int n, int m, const std::function<POINT(int, int)> &f) {
  Rows r(n + 1, std::vector<CPOINT>(m + 1));
  for (int i = 0; i <= n; ++i)
    for (int j = 0; j <= m; ++j) r[i][j] = CPOINT{f(i, j).x, f(i, j).y, f(i, j).z, -DBL_MAX};
  return r;
}

Rows transposed(const Rows &r) {
  Rows t(r[0].size());
  for (const auto &row : r)
    for (size_t j = 0; j < row.size(); ++j) t[j].push_back(row[j]);
  return t;
}

std::vector<double> bez(int p) {
  std::vector<double> U(2 * p + 2, 1.0);
  std::fill_n(U.begin(), p + 1, 0.0);
  return U;
}

POINT pt(double x, double y, double z) { return POINT{x, y, z}; }

}  // namespace

TEST(ShapeFlatness, DecisionsOnHandBuiltNets) {
  const double t = 1e-7, spread[4] = {0, 0.75 * t, 0.75 * t, 1.5 * t};
  // Poles at z = 1 (row 0) and z = -1 (row n) around a middle row.
  auto sphere = [](int i, int j) { return i == 1 ? pt(cos(j), sin(j), 0) : pt(0, 0, 1.0 - i); };
  // Pole points spread by 1.5e-7, each within 1e-7 of its pole's centroid.
  auto wide = [&](int i, int j) {
    return i == 1 ? pt(cos(j), sin(j), 0) : pt(spread[j], 0, 1.0 - i);
  };
  // All corners (and, unless moved, all points) on the x axis.
  auto axis = [](int i, int j) { return pt(0.5 * i + j, i == 1 && j == 1 ? 1.0 : 0.0, 0); };
  auto bulge = [](int i, int j) { return pt(i, i == 1 && j == 0 ? -0.5 : j, 0); };
  const struct {
    const char *what;
    Rows rows;
    double tol;
    int16_t status, flat, dir;  // dir 9: not written
    bool mirror;
    const char *error;  // of a failure: code and routine
  } cases[] = {
      {"planar bilinear, tol 0", net(1, 1, [](int i, int j) { return pt(2 * i + j, 3 * j, 0); }),
       0.0, 0, 1, 9, false, ""},
      {"closed along u",
       net(2, 2, [](int i, int j) { return pt(0.1 * (i % 2), j, j == 1 ? 5 : 0); }), 1.0, 0, 0, 2,
       true, ""},
      {"poles on rows 0 and n", net(2, 2, sphere), 0.1, 0, 0, 2, true, ""},
      {"poles with long edges both ways", net(2, 3, wide), 0.1, 0, 0, 2, true, ""},
      {"one point", net(2, 2, [](int, int) { return pt(1, 2, 3); }), 0.0, 0, 1, 9, false, ""},
      {"planar, column 0 bulges 0.5", net(2, 1, bulge), 0.1, 0, 0, 2, true, ""},
      {"planar, bulge within tol", net(2, 1, bulge), 0.6, 0, 1, 9, false, ""},
      {"larger spread along u", net(2, 1, [](int i, int j) { return pt(i, j, i == 1); }), 0.1, 0, 0,
       2, true, ""},
      {"equal spreads", net(1, 1, [](int i, int j) { return pt(i, j, i * j); }), 0.01, 0, 0, 1,
       false, ""},
      {"corner normals cancel", net(2, 2, axis), 0.0, 0, 1, 9, false, ""},
      {"no normal anywhere", net(2, 2, [](int i, int j) { return pt(0.5 * i + j, 0, 0); }), 0.1, 1,
       1, 9, false, "17 G_VECNIP"},
      {"boundary distance overflows",
       net(2, 1, [](int i, int j) { return pt(0.5e10 * i, i == 1 && j == 0 ? 1e300 : j, 0); }), 0.1,
       1, 1, 9, false, "11 G_DISPAB"},
  };
  for (const auto &c : cases)
    for (bool mirror : {false, true}) {
      if (mirror && !c.mirror) continue;
      const Rows rows = mirror ? transposed(c.rows) : c.rows;
      const int n = static_cast<int>(rows.size()) - 1, m = static_cast<int>(rows[0].size()) - 1;
      evaltest::SurfaceData s(rows, bez(n), bez(m), n, m);
      int16_t flat = 9, dir = 9;
      E_clrerr();
      const int16_t status = U_issurf(&s.sur, c.tol, &flat, &dir);
      const char *tag = nullptr;
      int32_t code = 0;
      E_GetOrvoError(&tag, &code);
      const std::string error = c.status ? std::to_string(code) + " " + tag : "";
      EXPECT_TRUE(status == c.status && flat == c.flat && dir == (mirror ? 3 - c.dir : c.dir) &&
                  error == c.error)
          << c.what << (mirror ? " (transposed): " : ": ") << status << flat << dir << error;
    }
}
