// Data points for fitting: the library's point files, or columns of
// numbers (CSV with commas or semicolons, or XYZ separated by blanks;
// lines starting with '#' and a first line of words are skipped).
#pragma once

#include <string>
#include <vector>

#include "orvo/orvo.h"

namespace orvo::tools {

// Points x y [z] (z = 0 when absent; every line as many values as the
// first), or the points of a library point list or net, row by row.
// False with error set naming the line.
bool read_points(const std::string &path, std::vector<POINT> &points, std::string &error);

// A grid of points for surface fitting: rows separated by blank lines in a
// column file (every row the same length), or the library's point file of
// (n+1)(m+1) points with n and m given. False with error set.
bool read_grid(const std::string &path, std::vector<std::vector<POINT>> &grid, std::string &error);

}  // namespace orvo::tools
