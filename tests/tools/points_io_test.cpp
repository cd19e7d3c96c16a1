// Data points for fitting: columns, the library's point files, and the
// faults named by their line.
#include "lib/points_io.hpp"

#include <fstream>

#include "test_support.hpp"

namespace {

std::string write(const std::string &text) {
  const std::string path = ::testing::TempDir() + "orvo_points.txt";
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

TEST(ToolsPoints, ColumnsAndPointFilesGiveTheirPoints) {
  const struct {
    bool grid;
    std::string text;
    std::vector<size_t> rows;  // points per row (one row for read_points)
    POINT last;
  } cases[] = {
      {false, "x,y,z\n1,2,3\r\n4, 5 ,6\n", {2}, {4, 5, 6}},  // CSV with a header
      {false, "# xy\n1 2\n\n\t3  -4e-1\n", {2}, {3, -0.4, 0}},
      {false, "1;2;3\n", {1}, {1, 2, 3}},
      {false, "2\n0 0 0\n1 .5 0\n2 0 1\n", {3}, {2, 0, 1}},          // point list
      {false, "1 1\n0 0 0\n1 0 0\n0 1 0\n1 1 2\n", {4}, {1, 1, 2}},  // net, flattened
      {false, "1 2\n3 4\n", {2}, {3, 4, 0}},                         // two integers: 2-D points
      {true, "1 1\n0 0 0\n1 0 0\n0 1 0\n1 1 2\n", {2, 2}, {1, 1, 2}},
      {true, "0 0 0\n1 0 0\n2 0 1\n\n\n0 1 0\n1 1 0\n2 1 1\n", {3, 3}, {2, 1, 1}},
  };
  for (const auto &k : cases) {
    SCOPED_TRACE(k.text);
    std::string error;
    std::vector<std::vector<POINT>> rows(1);
    ASSERT_TRUE(k.grid ? orvo::tools::read_grid(write(k.text), rows, error)
                       : orvo::tools::read_points(write(k.text), rows[0], error))
        << error;
    ASSERT_EQ(rows.size(), k.rows.size());
    for (size_t r = 0; r < rows.size(); ++r) EXPECT_EQ(rows[r].size(), k.rows[r]);
    const POINT &p = rows.back().back();
    EXPECT_EQ(p.x, k.last.x);
    EXPECT_EQ(p.y, k.last.y);
    EXPECT_EQ(p.z, k.last.z);
  }
}

TEST(ToolsPoints, MalformedFilesAreRefusedWithTheLine) {
  const struct {
    bool grid;
    std::string text, message;
  } cases[] = {
      {false, "1,2,3\n4,x,6\n", "line 2: 'x' is not a number"},
      {false, "1 2 3\n4 5\n", "line 2: expected 3 values like the lines before"},
      {false, "\n1 2 3 4\n", "line 2: expected 2 or 3 values, found 4"},
      {false, "1,,3\n", "line 1: '' is not a number"},
      {false, "1,2,\n", "line 1: '' is not a number"},
      {false, "1e999 2\n", "line 1: '1e999' is not a number"},
      {false, "x y\nu v\n", "line 2: 'u' is not a number"},
      {false, "2\n0 0 0\n", "line 1: a list of 3 points needs 9 numbers, the file holds 3"},
      {false, "1\n0 0 0\n1 q 0\n", "line 3: 'q' is not a number"},
      {false, "# nothing\n", "holds no points"},
      {true, "0 0\n1 0\n\n0 1\n", "line 4: row 2 has 1 points, the first 2"},
      {true, "1\n0 0 0\n1 0 0\n", "a point list, not a grid"},
  };
  for (const auto &k : cases) {
    std::string error;
    std::vector<POINT> points;
    std::vector<std::vector<POINT>> grid;
    EXPECT_FALSE(k.grid ? orvo::tools::read_grid(write(k.text), grid, error)
                        : orvo::tools::read_points(write(k.text), points, error));
    EXPECT_NE(error.find(k.message), std::string::npos) << error;
  }
  std::string error;
  std::vector<POINT> points;
  EXPECT_FALSE(orvo::tools::read_points("/nonexistent/points.csv", points, error));
  EXPECT_NE(error.find("cannot be opened"), std::string::npos) << error;
}

}  // namespace
