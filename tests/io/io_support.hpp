// Helpers of the file and printing tests: temporary paths removed after each
// test, whole-file reading and writing, error-state checks and small records.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/internal.hpp"
#include "test_support.hpp"

namespace orvo_test {

inline std::string slurp(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void spill(const std::string &path, const std::string &text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

inline bool file_exists(const std::string &path) { return std::ifstream(path).good(); }

// Asserts the last error's code and routine tag, then clears the state.

inline bool ws_empty(const STACKS &ws) {
  for (const STACKNODE *h : ws.head)
    if (h) return false;
  return true;
}

inline bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Workspace and temporary files of one test.
class IoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    N_inurbs(&ws_);
    E_clrerr();
  }
  void TearDown() override {
    N_enurbs(&ws_);
    for (const auto &p : paths_) std::remove(p.c_str());
  }

  // A fresh path in the temporary directory, removed after the test.
  std::string temp(const std::string &suffix) {
    const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string p = ::testing::TempDir() + "orvo_" + info->test_suite_name() + "_" + info->name() +
                    "_" + std::to_string(getpid()) + "_" + suffix;
    std::remove(p.c_str());
    paths_.push_back(p);
    return p;
  }
  std::string temp_with(const std::string &suffix, const std::string &text) {
    std::string p = temp(suffix);
    spill(p, text);
    return p;
  }

  CURVE curve(const std::vector<CPOINT> &pts, int16_t p, const std::vector<double> &U) {
    CURVE c;
    U_inicur(&c);
    const int32_t n = static_cast<int32_t>(pts.size()) - 1, m = static_cast<int32_t>(U.size()) - 1;
    EXPECT_EQ(U_getcur(&c, n, p, m, &ws_), 0);
    for (int32_t i = 0; i <= n; ++i) c.pol->Pw[i] = pts[i];
    for (int32_t j = 0; j <= m; ++j) c.knt->U[j] = U[j];
    return c;
  }

  // A surface with net rows given row by row.
  SURFACE surface(const std::vector<std::vector<CPOINT>> &net, int16_t p, int16_t q,
                  const std::vector<double> &U, const std::vector<double> &V) {
    SURFACE s;
    U_inisur(&s);
    const int32_t n = static_cast<int32_t>(net.size()) - 1;
    const int32_t m = static_cast<int32_t>(net[0].size()) - 1;
    EXPECT_EQ(U_getsur(&s, n, m, p, q, static_cast<int32_t>(U.size()) - 1,
                       static_cast<int32_t>(V.size()) - 1, &ws_),
              0);
    for (int32_t i = 0; i <= n; ++i)
      for (int32_t j = 0; j <= m; ++j) s.net->Pw[i][j] = net[i][j];
    for (std::size_t j = 0; j < U.size(); ++j) s.knu->U[j] = U[j];
    for (std::size_t j = 0; j < V.size(); ++j) s.knv->U[j] = V[j];
    return s;
  }

  STACKS ws_;

 private:
  std::vector<std::string> paths_;
};

constexpr double kZ2 = orvo::detail::kZ2D;
constexpr double kNR = orvo::detail::kWNR;

}  // namespace orvo_test
