// Surface and point-list files: exact text, round trips, record reuse,
// validation on request and refusal of bad files and records.
#include <algorithm>

#include "io/io_support.hpp"

using namespace orvo_test;

namespace {

const char kBilinear[] =
    "1 1\n1 1\n0\n"
    "0.0000000000000000 0.0000000000000000 0.0000000000000000\n"
    "0.0000000000000000 1.0000000000000000 0.5000000000000000\n"
    "1.0000000000000000 0.0000000000000000 -0.5000000000000000\n"
    "1.0000000000000000 1.0000000000000000 0.0000000000000000\n"
    "0.0000000000000000\n0.0000000000000000\n1.0000000000000000\n1.0000000000000000\n"
    "0.0000000000000000\n0.0000000000000000\n2.0000000000000000\n2.0000000000000000\n";

using PointFiles = IoTest;

class SurfaceFilesF : public IoTest {
 protected:
  SURFACE bilinear() {
    return surface({{{0, 0, 0, kNR}, {0, 1, 0.5, kNR}}, {{1, 0, -0.5, kNR}, {1, 1, 0, kNR}}}, 1, 1,
                   {0, 0, 1, 1}, {0, 0, 2, 2});
  }
  // 3 x 4 rational net of degrees 2 and 1 with exact binary values.
  SURFACE rational() {
    std::vector<std::vector<CPOINT>> net(3);
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 4; ++j)
        net[i].push_back({0.5 * i, 0.25 * j, i - j + 0.125, 1.0 + 0.5 * ((i + j) % 3)});
    return surface(net, 2, 1, {0, 0, 0, 1, 1, 1}, {0, 0, 0.25, 0.75, 1, 1});
  }
};

TEST_F(SurfaceFilesF, WritesExactTextAndReadsItBack) {
  SURFACE s = bilinear();
  const std::string path = temp("bil.sur");
  ASSERT_EQ(U_outsur(&s, path.c_str()), 0);
  EXPECT_EQ(slurp(path), kBilinear);
  SURFACE r;
  U_inisur(&r);
  ASSERT_EQ(U_inpsur(&r, path.c_str(), 1, &ws_), 0);
  ASSERT_EQ(r.net->n, 1);
  ASSERT_EQ(r.net->m, 1);
  EXPECT_EQ(r.knu->m, 3);
  EXPECT_EQ(r.knv->U[2], 2.0);
  EXPECT_EQ(r.net->Pw[1][0].z, -0.5);
  EXPECT_EQ(r.net->Pw[1][0].w, kNR);
  EXPECT_EQ(U_issurr(&r), 0);
}

TEST_F(SurfaceFilesF, RationalRoundTripIntoReusedRecord) {
  SURFACE s = rational();
  const std::string path = temp("rat.sur");
  ASSERT_EQ(U_outsur(&s, path.c_str()), 0);
  // The four-field lines carry the weights.
  EXPECT_NE(slurp(path).find("\n0.0000000000000000 0.0000000000000000 0.1250000000000000 "
                             "1.0000000000000000\n"),
            std::string::npos);
  SURFACE big = surface(std::vector<std::vector<CPOINT>>(4, std::vector<CPOINT>(5)), 2, 2,
                        std::vector<double>(7, 0.0), std::vector<double>(8, 0.0));
  CPOINT **const rows = big.net->Pw;
  ASSERT_EQ(U_inpsur(&big, path.c_str(), 1, &ws_), 0);
  EXPECT_EQ(big.net->Pw, rows);
  ASSERT_EQ(big.net->n, 2);
  ASSERT_EQ(big.net->m, 3);
  EXPECT_EQ(big.q, 1);
  EXPECT_EQ(big.knv->m, 5);
  for (int i = 0; i <= 2; ++i)
    for (int j = 0; j <= 3; ++j) {
      const CPOINT &a = s.net->Pw[i][j], &b = big.net->Pw[i][j];
      EXPECT_TRUE(same_bits(a.x, b.x) && same_bits(a.y, b.y) && same_bits(a.z, b.z) &&
                  same_bits(a.w, b.w));
    }
  EXPECT_EQ(big.knv->U[3], 0.75);

  SURFACE small = bilinear();
  EXPECT_EQ(U_inpsur(&small, path.c_str(), 0, &ws_), 1);
  expect_error(9, "U_INPSUR");
  EXPECT_EQ(small.net->n, 1);
}

// A 2-D surface is written as 3-D: the z marker is printed in full and
// read back as the same value.
TEST_F(SurfaceFilesF, ZMarkerSurvivesAsANumber) {
  SURFACE s = surface({{{0, 0, kZ2, kNR}}, {{1, 0, kZ2, kNR}}}, 1, 0, {0, 0, 1, 1}, {0, 1});
  const std::string path = temp("flat.sur");
  ASSERT_EQ(U_outsur(&s, path.c_str()), 0);
  SURFACE r;
  U_inisur(&r);
  ASSERT_EQ(U_inpsur(&r, path.c_str(), 1, &ws_), 0);
  EXPECT_EQ(r.net->Pw[1][0].z, kZ2);
}

TEST_F(SurfaceFilesF, ValidatesOnlyOnRequest) {
  std::string text = kBilinear;
  text.replace(text.rfind("2.0000000000000000\n"), 18, "0.5000000000000000");  // V decreases
  const std::string path = temp_with("dec.sur", text);
  SURFACE r;
  U_inisur(&r);
  EXPECT_EQ(U_inpsur(&r, path.c_str(), 0, &ws_), 0);
  U_inisur(&r);
  EXPECT_EQ(U_inpsur(&r, path.c_str(), 1, &ws_), 1);
  expect_error(4, "U_INPSUR");
  EXPECT_EQ(U_inpsur(&r, path.c_str(), 7, &ws_), 0);  // only check 1 validates
}

TEST_F(SurfaceFilesF, BadFilesFailWithoutTouchingRecordOrWorkspace) {
  const std::string full = kBilinear;
  std::vector<std::string> bad = {
      "1 1\n1 1\n",                       // header only
      "1 -1\n1 0\n0\n",                   // negative index
      "1 1\n1 2\n0\n",                    // q > m
      "30 1\n29 1\n0\n",                  // degree above 28
      "2000000000 2000000000\n1 1\n0\n",  // net beyond the file
      "3037000499 3037000499\n1 1\n0\n",  // beyond int32
      full.substr(0, full.size() - 19),   // last knot missing
      full.substr(0, full.find("0.5000")) + "0.5x" + full.substr(full.find("0.5000") + 18),
  };
  for (std::size_t i = 0; i + 1 < full.size(); ++i)
    if (full[i] == '\n' && i % 3 == 0) bad.push_back(full.substr(0, i + 1));
  int k = 0;
  for (const auto &text : bad) {
    const std::string path = temp_with("bad" + std::to_string(k++), text);
    SURFACE r;
    U_inisur(&r);
    const long before = orvo::detail::allocation_count();
    EXPECT_EQ(U_inpsur(&r, path.c_str(), 0, &ws_), 1) << text;
    expect_error(18, "U_INPSUR");
    EXPECT_EQ(U_issurn(&r), 1);
    if (k <= 6) {
      EXPECT_EQ(orvo::detail::allocation_count(), before) << text;
    }
  }
  SURFACE r;
  U_inisur(&r);
  EXPECT_EQ(U_inpsur(&r, temp("missing").c_str(), 0, &ws_), 1);
  expect_error(18, "U_INPSUR");
  EXPECT_TRUE(ws_empty(ws_));
}

TEST_F(SurfaceFilesF, WriterRefusals) {
  const std::string path = temp("out");
  SURFACE empty;
  U_inisur(&empty);
  EXPECT_EQ(U_outsur(&empty, path.c_str()), 1);
  expect_error(2, "U_OUTSUR");
  SURFACE s = bilinear();
  s.knv->m = 2;  // s != m + q + 1
  EXPECT_EQ(U_outsur(&s, path.c_str()), 1);
  expect_error(2, "U_OUTSUR");
  SURFACE mixed = bilinear();
  mixed.net->Pw[1][1].w = 1.0;
  EXPECT_EQ(U_outsur(&mixed, path.c_str()), 1);
  expect_error(2, "U_OUTSUR");
  SURFACE steep = surface({{{0, 0, 0, kNR}, {0, 1, 0, kNR}}}, 1, 1, {0, 0, 1}, {0, 0, 1, 1});
  EXPECT_EQ(U_outsur(&steep, path.c_str()), 1);  // p = 1 > n = 0
  expect_error(14, "U_OUTSUR");
  EXPECT_FALSE(file_exists(path));
  SURFACE ok = bilinear();
  EXPECT_EQ(U_outsur(&ok, (::testing::TempDir() + "no/such/dir/s").c_str()), 1);
  expect_error(18, "U_OUTSUR");
}

TEST_F(SurfaceFilesF, AllocationFailureLeavesNothing) {
  const std::string path = temp_with("bil", kBilinear);
  for (long k = 1;; ++k) {
    STACKS ws;
    N_inurbs(&ws);
    SURFACE r;
    U_inisur(&r);
    orvo::detail::fail_allocation_at(k);
    const int16_t st = U_inpsur(&r, path.c_str(), 0, &ws);
    orvo::detail::fail_allocation_at(0);
    if (st == 0) {
      N_enurbs(&ws);
      break;
    }
    const char *routine;
    int32_t code;
    E_GetOrvoError(&routine, &code);
    EXPECT_EQ(code, 15);
    EXPECT_EQ(U_issurn(&r), 1);
    N_enurbs(&ws);
  }
}

// ---- Point lists ----------------------------------------------------------

TEST_F(PointFiles, OneDimensionalExactTextAndRoundTrip) {
  POINT pts[] = {{0, 1, 2}, {-0.5, 1e3, 0.125}};
  const std::string path = temp("p1d");
  ASSERT_EQ(U_outp1d(pts, 1, path.c_str()), 0);
  EXPECT_EQ(slurp(path),
            "1\n"
            "0.0000000000000000 1.0000000000000000 2.0000000000000000\n"
            "-0.5000000000000000 1000.0000000000000000 0.1250000000000000\n");
  POINT *got = nullptr;
  int32_t n = -1;
  ASSERT_EQ(U_inpp1d(&got, &n, path.c_str(), &ws_), 0);
  ASSERT_EQ(n, 1);
  EXPECT_EQ(got[1].x, -0.5);
  EXPECT_EQ(got[1].y, 1000.0);
  EXPECT_EQ(got[1].z, 0.125);
  EXPECT_EQ(got[0].z, 2.0);
}

TEST_F(PointFiles, TwoDimensionalExactTextAndRoundTrip) {
  POINT row0[] = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0.5}};
  POINT row1[] = {{0, 1, 0}, {1, 1, 0.25}, {2, 1, -1}};
  POINT *rows[] = {row0, row1};
  const std::string path = temp("p2d");
  ASSERT_EQ(U_outp2d(rows, 1, 2, path.c_str()), 0);
  const std::string text = slurp(path);
  EXPECT_EQ(text.substr(0, 4), "1 2\n");
  const std::string last = "2.0000000000000000 1.0000000000000000 -1.0000000000000000\n";
  EXPECT_EQ(text.substr(text.size() - last.size()), last);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 7);
  POINT **got = nullptr;
  int32_t n = -1, m = -1;
  ASSERT_EQ(U_inpp2d(&got, &n, &m, path.c_str(), &ws_), 0);
  ASSERT_EQ(n, 1);
  ASSERT_EQ(m, 2);
  for (int i = 0; i <= 1; ++i)
    for (int j = 0; j <= 2; ++j) {
      EXPECT_EQ(got[i][j].x, rows[i][j].x);
      EXPECT_EQ(got[i][j].y, rows[i][j].y);
      EXPECT_EQ(got[i][j].z, rows[i][j].z);
    }
}

TEST_F(PointFiles, BadFilesFail) {
  const char *const bad1[] = {"",
                              "-1\n",
                              "1\n0 0 0\n",
                              "1\n0 0 0\n1 1\n",
                              "1\n0 0 0\n1 1 z\n",
                              "2147483647\n0 0 0\n",
                              "100000\n1 2 3\n"};
  POINT *p1 = nullptr;
  int32_t n = -7, m = -7;
  int k = 0;
  for (const char *text : bad1) {
    const std::string path = temp_with("a" + std::to_string(k++), text);
    EXPECT_EQ(U_inpp1d(&p1, &n, path.c_str(), &ws_), 1) << text;
    expect_error(18, "U_INPP1D");
  }
  EXPECT_EQ(U_inpp1d(&p1, &n, temp("missing").c_str(), &ws_), 1);
  expect_error(18, "U_INPP1D");

  const char *const bad2[] = {
      "1\n",           "0 -1\n", "1 0\n0 0 0\n", "0 1\n0 0 0\n1 1 1.5.\n", "65536 65536\n0 0 0\n",
      "4294967296 1\n"};
  POINT **p2 = nullptr;
  int j = 0;
  for (const char *text : bad2) {
    const std::string path = temp_with("b" + std::to_string(k++), text);
    const long before = orvo::detail::allocation_count();
    EXPECT_EQ(U_inpp2d(&p2, &n, &m, path.c_str(), &ws_), 1) << text;
    expect_error(18, "U_INPP2D");
    if (j++ < 4) continue;  // the last two are refused before any allocation
    EXPECT_EQ(orvo::detail::allocation_count(), before) << text;
  }
  EXPECT_EQ(U_inpp2d(&p2, &n, &m, temp("missing").c_str(), &ws_), 1);
  expect_error(18, "U_INPP2D");
  EXPECT_EQ(p1, nullptr);
  EXPECT_EQ(p2, nullptr);
  EXPECT_EQ(n, -7);
  EXPECT_EQ(m, -7);
  EXPECT_TRUE(ws_empty(ws_));
}

TEST_F(PointFiles, WriterRefusals) {
  POINT pts[] = {{0, 0, 0}};
  POINT *rows[] = {pts};
  const std::string path = temp("out");
  EXPECT_EQ(U_outp1d(pts, -1, path.c_str()), 1);
  expect_error(7, "U_OUTP1D");
  EXPECT_EQ(U_outp2d(rows, 0, -1, path.c_str()), 1);
  expect_error(7, "U_OUTP2D");
  EXPECT_FALSE(file_exists(path));
  const std::string bad = ::testing::TempDir() + "no/such/dir/p";
  EXPECT_EQ(U_outp1d(pts, 0, bad.c_str()), 1);
  expect_error(18, "U_OUTP1D");
  EXPECT_EQ(U_outp2d(rows, 0, 0, bad.c_str()), 1);
  expect_error(18, "U_OUTP2D");
}

}  // namespace
