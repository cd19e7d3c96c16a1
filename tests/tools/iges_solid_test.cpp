// A solid as a CAD system writes it (planes with holes, a cylindrical
// hole, a spherical dent; every trimming loop a model-space curve only):
// each face, read and tessellated within its loops, has its true area.
#include <cmath>

#include "lib/iges_file.hpp"
#include "lib/mesh.hpp"
#include "test_support.hpp"

namespace {

TEST(IgesSolid, FacesTessellateToTheirAreas) {
  // The box [0,10]x[0,8]x[0,4], a hole of radius 1.5 through it, a dent
  // (a cap of depth 1 of a sphere of radius 2, rim radius sqrt 3) in the top.
  const double pi = M_PI;
  const double faces[] = {80 - 2.25 * pi, 80 - 5.25 * pi, 40, 32, 40, 32, 12 * pi, 4 * pi};
  orvo::tools::IgesModel model;
  std::string error;
  ASSERT_TRUE(
      orvo::tools::read_iges(std::string(ORVO_TEST_DATA_DIR) + "/iges/solid.igs", {}, model, error))
      << error;
  ASSERT_EQ(model.trimmed.size(), std::size(faces));
  double total = 0.0, expected = 0.0;
  for (size_t k = 0; k < model.trimmed.size(); ++k) {
    orvo::tools::Mesh mesh;
    ASSERT_TRUE(orvo::tools::tessellate(model.trimmed[k].surface, model.trimmed[k].loops, 1e-3,
                                        1e-3, mesh, error))
        << "face " << k << ": " << error;
    const double a = orvo::tools::area(mesh);
    EXPECT_NEAR(a, faces[k], 0.01 * faces[k]) << "face " << k;
    total += a, expected += faces[k];
  }
  EXPECT_NEAR(total, expected, 0.01 * expected);
}

}  // namespace
