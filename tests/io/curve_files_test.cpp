// Curve and curve-array files: exact text, round trips with the markers
// restored, reuse of output records, validation on request, and refusal of
// missing, short, malformed and absurd files.
#include <cmath>

#include "io/io_support.hpp"

using namespace orvo_test;

namespace {

const char kLine2D[] =
    "1\n1\n0\n2\n"
    "0.0000000000000000 0.0000000000000000\n"
    "1.5000000000000000 -2.0000000000000000\n"
    "0.0000000000000000\n0.0000000000000000\n1.0000000000000000\n1.0000000000000000\n";

// A rational quadratic, 3-D, with values that are exact in binary.
const char kRational3D[] =
    "2\n2\n1\n3\n"
    "1.0000000000000000 0.0000000000000000 0.5000000000000000 1.0000000000000000\n"
    "0.5000000000000000 0.5000000000000000 -0.2500000000000000 0.5000000000000000\n"
    "0.0000000000000000 2.0000000000000000 0.0000000000000000 2.0000000000000000\n"
    "0.0000000000000000\n0.0000000000000000\n0.0000000000000000\n"
    "1.0000000000000000\n1.0000000000000000\n1.0000000000000000\n";

using CurveFiles = IoTest;

TEST_F(CurveFiles, Writes2DNonRationalCurveExactlyAndRestoresMarkers) {
  CURVE c = curve({{0, 0, kZ2, kNR}, {1.5, -2, kZ2, kNR}}, 1, {0, 0, 1, 1});
  const std::string path = temp("line.crv");
  ASSERT_EQ(U_outcur(&c, path.c_str()), 0);
  EXPECT_EQ(slurp(path), kLine2D);

  CURVE r;
  U_inicur(&r);
  ASSERT_EQ(U_inpcur(&r, path.c_str(), 1, &ws_), 0);
  ASSERT_EQ(r.pol->n, 1);
  EXPECT_EQ(r.p, 1);
  ASSERT_EQ(r.knt->m, 3);
  for (int i = 0; i <= 1; ++i) {
    EXPECT_EQ(r.pol->Pw[i].z, kZ2);
    EXPECT_EQ(r.pol->Pw[i].w, kNR);
  }
  EXPECT_EQ(r.pol->Pw[1].x, 1.5);
  EXPECT_EQ(r.pol->Pw[1].y, -2.0);
  EXPECT_EQ(r.knt->U[2], 1.0);
}

TEST_F(CurveFiles, Writes3DRationalCurveWithFourFields) {
  CURVE c = curve({{1, 0, 0.5, 1}, {0.5, 0.5, -0.25, 0.5}, {0, 2, 0, 2}}, 2, {0, 0, 0, 1, 1, 1});
  const std::string path = temp("rat.crv");
  ASSERT_EQ(U_outcur(&c, path.c_str()), 0);
  EXPECT_EQ(slurp(path), kRational3D);
}

// The rational quarter circle of the data directory is what the writer
// produces for it, to the 16 decimals of the format.
TEST_F(CurveFiles, WritesQuarterCircleAsInDataFile) {
  const double h = std::sqrt(0.5);
  CURVE c = curve({{1, 0, 0, 1}, {h, h, 0, h}, {0, 1, 0, 1}}, 2, {0, 0, 0, 1, 1, 1});
  const std::string path = temp("arc.crv");
  ASSERT_EQ(U_outcur(&c, path.c_str()), 0);
  EXPECT_EQ(slurp(path), slurp(ORVO_TEST_DATA_DIR "/io/quarter_circle.crv"));
}

TEST_F(CurveFiles, RoundTripsEveryKind) {
  for (int kind = 0; kind < 4; ++kind) {
    const bool three = kind & 1, rational = kind & 2;
    std::vector<CPOINT> pts;
    for (int i = 0; i < 5; ++i)
      pts.push_back({0.125 * i - 3, 1024.0 + i, three ? -0.5 * i : kZ2, rational ? 0.25 + i : kNR});
    CURVE c = curve(pts, 3, {-1, -1, -1, -1, 0.5, 2, 2, 2, 2});
    const std::string path = temp("kind" + std::to_string(kind));
    ASSERT_EQ(U_outcur(&c, path.c_str()), 0);
    CURVE r;
    U_inicur(&r);
    ASSERT_EQ(U_inpcur(&r, path.c_str(), 1, &ws_), 0) << kind;
    EXPECT_EQ(U_iscur3(&r), three);
    EXPECT_EQ(U_iscurr(&r), rational);
    ASSERT_EQ(r.pol->n, 4);
    ASSERT_EQ(r.knt->m, 8);
    for (int i = 0; i <= 4; ++i) {
      EXPECT_TRUE(same_bits(r.pol->Pw[i].x, pts[i].x));
      EXPECT_TRUE(same_bits(r.pol->Pw[i].y, pts[i].y));
      EXPECT_TRUE(same_bits(r.pol->Pw[i].z, pts[i].z));
      EXPECT_TRUE(same_bits(r.pol->Pw[i].w, pts[i].w));
    }
    for (int j = 0; j <= 8; ++j) EXPECT_EQ(r.knt->U[j], c.knt->U[j]);
  }
}

// Values not exact in 16 decimals come back within the printed precision,
// and writing what was read reproduces the file byte for byte.
TEST_F(CurveFiles, RewritingWhatWasReadReproducesTheFile) {
  CURVE c = curve({{1.0 / 3, -2.0 / 7, 1e-9, 0.7}, {123456.789, M_PI, -M_E, 1.1}}, 1,
                  {0, 0, 1.0 / 3, 1.0 / 3});
  const std::string a = temp("a"), b = temp("b");
  ASSERT_EQ(U_outcur(&c, a.c_str()), 0);
  CURVE r;
  U_inicur(&r);
  ASSERT_EQ(U_inpcur(&r, a.c_str(), 0, &ws_), 0);
  EXPECT_NEAR(r.pol->Pw[0].x, 1.0 / 3, 1e-16);
  EXPECT_NEAR(r.pol->Pw[1].y, M_PI, 1e-15);
  ASSERT_EQ(U_outcur(&r, b.c_str()), 0);
  EXPECT_EQ(slurp(a), slurp(b));
}

TEST_F(CurveFiles, ReadsFreeLayoutAndOddFlags) {
  // Line breaks carry no meaning; a dimension other than 2 is 3-D and any
  // non-zero rational flag is rational.
  const std::string path = temp_with("free", "1 1\t5\n7 1 2 3\n4   5 6 7 8\n\n0 0 1 1");
  CURVE r;
  U_inicur(&r);
  ASSERT_EQ(U_inpcur(&r, path.c_str(), 0, &ws_), 0);
  EXPECT_EQ(U_iscur3(&r), 1);
  EXPECT_EQ(U_iscurr(&r), 1);
  EXPECT_EQ(r.pol->Pw[1].x, 5.0);
  EXPECT_EQ(r.pol->Pw[1].w, 8.0);
  EXPECT_EQ(r.knt->U[3], 1.0);
}

TEST_F(CurveFiles, ReusesRecordWithStorageOrRefusesTooSmallOne) {
  const std::string path = temp_with("line", kLine2D);
  CURVE big = curve(std::vector<CPOINT>(6, CPOINT{9, 9, 9, 9}), 2, std::vector<double>(9, 0.0));
  CPOINT *const old = big.pol->Pw;
  ASSERT_EQ(U_inpcur(&big, path.c_str(), 0, &ws_), 0);
  EXPECT_EQ(big.pol->Pw, old);
  EXPECT_EQ(big.pol->n, 1);
  EXPECT_EQ(big.knt->m, 3);
  EXPECT_EQ(big.pol->Pw[1].x, 1.5);
  EXPECT_EQ(big.pol->Pw[2].x, 9.0);  // beyond the new highest index: untouched

  CURVE small = curve({{7, 7, 7, 7}}, 0, {0, 1});
  EXPECT_EQ(U_inpcur(&small, path.c_str(), 0, &ws_), 1);
  expect_error(9, "U_INPCUR");
  EXPECT_EQ(small.pol->n, 0);
  EXPECT_EQ(small.pol->Pw[0].x, 7.0);
}

TEST_F(CurveFiles, ValidatesOnlyOnRequest) {
  const std::string dec =
      temp_with("dec", "1\n1\n0\n2\n0 0\n1 1\n0\n0\n0.5\n0.25\n");  // decreasing end knots
  CURVE r;
  U_inicur(&r);
  for (int16_t check : {0, 2, -1}) {  // only check 1 validates
    U_inicur(&r);
    EXPECT_EQ(U_inpcur(&r, dec.c_str(), check, &ws_), 0);
  }
  U_inicur(&r);
  EXPECT_EQ(U_inpcur(&r, dec.c_str(), 1, &ws_), 1);
  expect_error(4, "U_INPCUR");
  EXPECT_EQ(r.knt->U[3], 0.25);  // filled with what was read

  const std::string heavy = temp_with("w", "1\n1\n1\n2\n0 0 1\n1 1 11\n0\n0\n1\n1\n");
  U_inicur(&r);
  EXPECT_EQ(U_inpcur(&r, heavy.c_str(), 1, &ws_), 1);
  expect_error(5, "U_INPCUR");
}

TEST_F(CurveFiles, RefusesUnopenableFiles) {
  CURVE r;
  U_inicur(&r);
  EXPECT_EQ(U_inpcur(&r, temp("missing").c_str(), 0, &ws_), 1);
  expect_error(18, "U_INPCUR");
  EXPECT_EQ(U_inpcur(&r, nullptr, 0, &ws_), 1);
  expect_error(18, "U_INPCUR");
  EXPECT_EQ(U_inpcur(&r, ::testing::TempDir().c_str(), 0, &ws_), 1);  // a directory
  expect_error(18, "U_INPCUR");
  EXPECT_EQ(U_iscurn(&r), 1);
  EXPECT_TRUE(ws_empty(ws_));
}

// Every line-boundary truncation of a valid file, and a cut inside the
// first point line, is a short file: error 18, nothing given to the caller.
TEST_F(CurveFiles, TruncatedFilesFail) {
  const std::string full = kRational3D;
  std::vector<std::size_t> cuts = {0, full.find(' ', full.find("1.0000"))};
  for (std::size_t i = 0; i + 1 < full.size(); ++i)
    if (full[i] == '\n') cuts.push_back(i + 1);
  for (std::size_t cut : cuts) {
    const std::string path = temp_with("cut" + std::to_string(cut), full.substr(0, cut));
    CURVE r;
    U_inicur(&r);
    EXPECT_EQ(U_inpcur(&r, path.c_str(), 0, &ws_), 1) << cut;
    expect_error(18, "U_INPCUR");
    EXPECT_EQ(U_iscurn(&r), 1);
  }
  EXPECT_TRUE(ws_empty(ws_));
}

TEST_F(CurveFiles, MalformedFilesFailAndKeepTheRecord) {
  const char *const bad[] = {
      "",                                        // empty
      "x\n1\n0\n2\n0 0\n1 1\n0\n0\n1\n1\n",      // n not a number
      "1.0\n1\n0\n2\n0 0\n1 1\n0\n0\n1\n1\n",    // n not an integer
      "1\n1\n0\n2\n0 0\n1 one\n0\n0\n1\n1\n",    // field not a number
      "1\n1\n0\n2\n0 0\n1 1.5e\n0\n0\n1\n1\n",   // trailing junk
      "1\n1\n0\n2\n0 0\n1 1\n0\n0\n1\n1e999\n",  // beyond the doubles
      "1\n1\n70000\n2\n0 0\n1 1\n0\n0\n1\n1\n",  // flag beyond int16
  };
  CURVE keep = curve({{1, 2, 3, 4}, {5, 6, 7, 8}}, 1, {0, 0, 1, 1});
  int k = 0;
  for (const char *text : bad) {
    const std::string path = temp_with("bad" + std::to_string(k++), text);
    EXPECT_EQ(U_inpcur(&keep, path.c_str(), 0, &ws_), 1) << text;
    expect_error(18, "U_INPCUR");
    EXPECT_EQ(keep.pol->Pw[1].y, 6.0);
    EXPECT_EQ(keep.knt->U[3], 1.0);
  }
  // A NUL byte inside a number does not end it early.
  const std::string nul =
      temp_with("nul", std::string("1\n1\n0\n2\n0 0\n1 1\0x\n0\n0\n1\n1\n", 26));
  EXPECT_EQ(U_inpcur(&keep, nul.c_str(), 0, &ws_), 1);
  expect_error(18, "U_INPCUR");
}

// Headers that cannot describe a curve of the file are refused before any
// allocation: negative indices, degrees outside 0..28 or above n, and sizes
// beyond what the file's length can hold.
TEST_F(CurveFiles, AbsurdHeadersFailWithoutAllocating) {
  const char *const bad[] = {
      "-1\n0\n0\n2\n0\n1\n",
      "1\n-1\n0\n2\n0 0\n1 1\n0\n0\n",
      "40\n29\n0\n2\n",
      "1\n2\n0\n2\n0 0\n1 1\n0\n0\n0\n1\n1\n",  // p > n
      "2147483647\n3\n0\n3\n0 0 0\n",
      "99999999999999999999\n3\n0\n3\n",
      "1000000\n3\n1\n3\n0 0 0 1\n",
  };
  int k = 0;
  for (const char *text : bad) {
    const std::string path = temp_with("abs" + std::to_string(k++), text);
    CURVE r;
    U_inicur(&r);
    const long before = orvo::detail::allocation_count();
    EXPECT_EQ(U_inpcur(&r, path.c_str(), 0, &ws_), 1) << text;
    EXPECT_EQ(orvo::detail::allocation_count(), before) << text;
    expect_error(18, "U_INPCUR");
  }
}

// An allocation failing at any step of a read leaves no block behind and
// the caller's record empty; the error is the allocator's.
TEST_F(CurveFiles, AllocationFailureAtEveryStep) {
  const std::string path = temp_with("rat", kRational3D);
  for (long k = 1;; ++k) {
    STACKS ws;
    N_inurbs(&ws);
    CURVE r;
    U_inicur(&r);
    orvo::detail::fail_allocation_at(k);
    const int16_t st = U_inpcur(&r, path.c_str(), 1, &ws);
    orvo::detail::fail_allocation_at(0);
    if (st == 0) {
      EXPECT_EQ(r.pol->Pw[2].w, 2.0);
      N_enurbs(&ws);
      EXPECT_GT(k, 4);
      break;
    }
    const char *routine;
    int32_t code;
    E_GetOrvoError(&routine, &code);
    EXPECT_EQ(code, 15);
    EXPECT_EQ(std::string(routine).rfind("S_GET", 0), 0u) << routine;
    EXPECT_EQ(U_iscurn(&r), 1);
    N_enurbs(&ws);
  }
}

TEST_F(CurveFiles, WriterRefusesRecordsThatCannotBeReadBack) {
  const std::string path = temp("out");
  CURVE empty;
  U_inicur(&empty);
  EXPECT_EQ(U_outcur(&empty, path.c_str()), 1);
  expect_error(1, "U_OUTCUR");

  CURVE c = curve({{0, 0, kZ2, kNR}, {1, 1, kZ2, kNR}}, 1, {0, 0, 1, 1, 1});  // m != n+p+1
  EXPECT_EQ(U_outcur(&c, path.c_str()), 1);
  expect_error(1, "U_OUTCUR");

  CURVE mixed = curve({{0, 0, kZ2, kNR}, {1, 1, 5, kNR}}, 1, {0, 0, 1, 1});
  EXPECT_EQ(U_outcur(&mixed, path.c_str()), 1);
  expect_error(1, "U_OUTCUR");

  CURVE steep = curve({{0, 0, kZ2, kNR}, {1, 1, kZ2, kNR}}, 2, {0, 0, 0, 1, 1});  // p > n
  EXPECT_EQ(U_outcur(&steep, path.c_str()), 1);
  expect_error(14, "U_OUTCUR");

  CURVE high =
      curve(std::vector<CPOINT>(30, CPOINT{0, 0, 0, kNR}), 29, std::vector<double>(60, 0.0));
  EXPECT_EQ(U_outcur(&high, path.c_str()), 1);
  expect_error(3, "U_OUTCUR");
  EXPECT_FALSE(file_exists(path));

  CURVE ok = curve({{0, 0, kZ2, kNR}, {1, 1, kZ2, kNR}}, 1, {0, 0, 1, 1});
  EXPECT_EQ(U_outcur(&ok, (::testing::TempDir() + "no/such/dir/x.crv").c_str()), 1);
  expect_error(18, "U_OUTCUR");
  EXPECT_EQ(U_outcur(&ok, nullptr), 1);
  expect_error(18, "U_OUTCUR");
  if (file_exists("/dev/full")) {  // opens, but nothing written reaches it
    EXPECT_EQ(U_outcur(&ok, "/dev/full"), 1);
    expect_error(18, "U_OUTCUR");
  }
}

// ---- Curve arrays ---------------------------------------------------------

TEST_F(CurveFiles, CurveArrayExactTextAndRoundTrip) {
  CURVE a = curve({{0, 0, kZ2, kNR}, {1.5, -2, kZ2, kNR}}, 1, {0, 0, 1, 1});
  CURVE b = curve({{1, 0, 0.5, 1}, {0.5, 0.5, -0.25, 0.5}, {0, 2, 0, 2}}, 2, {0, 0, 0, 1, 1, 1});
  CURVE *list[] = {&a, &b};
  const std::string path = temp("pair.cua");
  ASSERT_EQ(U_outcua(list, 1, path.c_str()), 0);
  EXPECT_EQ(slurp(path), std::string("1\n") + kLine2D + kRational3D);

  CURVE **got = nullptr;
  int32_t k = -5;
  ASSERT_EQ(U_inpcua(&got, &k, path.c_str(), 1, &ws_), 0);
  ASSERT_EQ(k, 1);
  EXPECT_EQ(U_iscur3(got[0]), 0);
  EXPECT_EQ(U_iscurr(got[0]), 0);
  EXPECT_EQ(got[0]->pol->Pw[1].y, -2.0);
  EXPECT_EQ(got[1]->p, 2);
  EXPECT_EQ(got[1]->pol->Pw[1].z, -0.25);
  EXPECT_EQ(got[1]->pol->Pw[2].w, 2.0);
  EXPECT_EQ(got[1]->knt->m, 5);
}

TEST_F(CurveFiles, CurveArrayValidatesEveryCurveOnRequest) {
  const std::string path = temp_with(
      "bad2nd.cua", std::string("1\n") + kLine2D + "1\n1\n0\n2\n0 0\n1 1\n0\n0.5\n1\n1\n");
  CURVE **got = nullptr;
  int32_t k = -5;
  EXPECT_EQ(U_inpcua(&got, &k, path.c_str(), 0, &ws_), 0);
  EXPECT_EQ(U_inpcua(&got, &k, path.c_str(), 1, &ws_), 1);
  expect_error(4, "U_INPCUA");
  ASSERT_EQ(k, 1);  // the curves read are still handed over
  EXPECT_EQ(got[1]->knt->U[1], 0.5);
  EXPECT_EQ(U_inpcua(&got, &k, path.c_str(), 3, &ws_), 0);  // only check 1 validates
  EXPECT_EQ(U_inpcua(nullptr, &k, path.c_str(), 0, &ws_), 1);
  expect_error(7, "U_INPCUA");
}

TEST_F(CurveFiles, CurveArrayRefusesBadFilesLeavingWorkspaceUntouched) {
  const std::string bad[] = {
      "",
      "-1\n",
      "2\n" + std::string(kLine2D) + kLine2D,          // one curve short
      "1\n" + std::string(kLine2D) + "1\n1\n0\n2\n0",  // second curve cut
      "2147483646\n" + std::string(kLine2D),           // absurd count
      "0\n5\n29\n0\n2\n",                              // absurd degree
  };
  CURVE **got = nullptr;
  int32_t k = -5;
  int i = 0;
  for (const auto &text : bad) {
    const std::string path = temp_with("bad" + std::to_string(i++), text);
    EXPECT_EQ(U_inpcua(&got, &k, path.c_str(), 0, &ws_), 1) << text;
    expect_error(18, "U_INPCUA");
  }
  EXPECT_EQ(U_inpcua(&got, &k, temp("missing").c_str(), 0, &ws_), 1);
  expect_error(18, "U_INPCUA");
  EXPECT_EQ(got, nullptr);
  EXPECT_EQ(k, -5);
  EXPECT_TRUE(ws_empty(ws_));
}

TEST_F(CurveFiles, CurveArrayWriterRefusals) {
  CURVE ok = curve({{0, 0, kZ2, kNR}, {1, 1, kZ2, kNR}}, 1, {0, 0, 1, 1});
  CURVE empty;
  U_inicur(&empty);
  CURVE *list[] = {&ok, &empty};
  const std::string path = temp("out");
  EXPECT_EQ(U_outcua(list, -1, path.c_str()), 1);
  expect_error(7, "U_OUTCUA");
  EXPECT_EQ(U_outcua(list, 1, path.c_str()), 1);
  expect_error(1, "U_OUTCUA");
  EXPECT_FALSE(file_exists(path));
  EXPECT_EQ(U_outcua(list, 0, (::testing::TempDir() + "no/such/dir/x").c_str()), 1);
  expect_error(18, "U_OUTCUA");
}

}  // namespace
