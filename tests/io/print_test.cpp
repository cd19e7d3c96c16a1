// Printing of curves, surfaces and scalar functions: the exact text on the
// standard output, one character of the standard input taken per pause.
#include <cstdio>

#include "io/io_support.hpp"

using namespace orvo_test;

namespace {

const char kPause[] = "Hit any key to continue...\n";

class Printing : public IoTest {
 protected:
  // Feeds the standard input from a file of distinct letters, so that the
  // characters taken by the pauses can be counted afterwards.
  void SetUp() override {
    IoTest::SetUp();
    const std::string path = temp_with("stdin", "abcdefghijklmnopqrstuvwxyz");
    ASSERT_NE(std::freopen(path.c_str(), "r", stdin), nullptr);
  }
  // Number of characters consumed from the standard input so far.
  int taken() {
    const int c = std::getchar();
    return c == EOF ? 26 : c - 'a';
  }
};

TEST_F(Printing, CurveWithTwoBlanksBetweenFields) {
  CURVE c = curve({{0, 0, kZ2, kNR}, {1.5, -2, kZ2, kNR}}, 1, {0, 0, 1, 1});
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(U_prtcur(&c), 0);
  const std::string out = ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(out, std::string("1\n1\n0\n2\n") + kPause +
                     "0.0000000000000000  0.0000000000000000\n"
                     "1.5000000000000000  -2.0000000000000000\n" +
                     kPause +
                     "0.0000000000000000\n0.0000000000000000\n"
                     "1.0000000000000000\n1.0000000000000000\n");
  EXPECT_EQ(taken(), 2);
}

TEST_F(Printing, CurveKindsChooseTheFields) {
  // 2-D rational prints x y w, 3-D rational all four fields.
  CURVE r2 = curve({{0.5, 1, kZ2, 2}}, 0, {0, 1});
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(U_prtcur(&r2), 0);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(),
            std::string("0\n0\n1\n2\n") + kPause +
                "0.5000000000000000  1.0000000000000000  2.0000000000000000\n" + kPause +
                "0.0000000000000000\n1.0000000000000000\n");
  CURVE r3 = curve({{0.5, 1, -3, 2}}, 0, {0, 1});
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(U_prtcur(&r3), 0);
  const std::string out = ::testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("0\n0\n1\n3\n"), std::string::npos);
  EXPECT_NE(out.find("\n0.5000000000000000  1.0000000000000000  -3.0000000000000000  "
                     "2.0000000000000000\n"),
            std::string::npos);
  EXPECT_EQ(taken(), 4);
}

TEST_F(Printing, SurfacePausesAfterEveryRow) {
  SURFACE s = surface({{{0, 0, 0, 1}, {0, 1, 0, 0.5}}, {{1, 0, 0, 1}, {1, 1, 1, 1}}}, 1, 1,
                      {0, 0, 1, 1}, {0, 0, 2, 2});
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(U_prtsur(&s), 0);
  const std::string k0 = "0.0000000000000000\n", k1 = "1.0000000000000000\n",
                    k2 = "2.0000000000000000\n";
  EXPECT_EQ(::testing::internal::GetCapturedStdout(),
            std::string("1 1\n1 1\n1\n") + kPause +
                "0.0000000000000000 0.0000000000000000 0.0000000000000000 1.0000000000000000\n"
                "0.0000000000000000 1.0000000000000000 0.0000000000000000 0.5000000000000000\n" +
                kPause +
                "1.0000000000000000 0.0000000000000000 0.0000000000000000 1.0000000000000000\n"
                "1.0000000000000000 1.0000000000000000 1.0000000000000000 1.0000000000000000\n" +
                kPause + kPause + k0 + k0 + k1 + k1 + kPause + k0 + k0 + k2 + k2);
  EXPECT_EQ(taken(), 5);
}

TEST_F(Printing, ScalarFunctions) {
  CFUNCTION f;
  U_inicfn(&f);
  ASSERT_EQ(U_getcfn(&f, 1, 1, 3, &ws_), 0);
  f.cvl->values[0] = -1;
  f.cvl->values[1] = 0.25;
  for (int j = 0; j < 4; ++j) f.knt->U[j] = j < 2 ? 0 : 1;
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(U_prtcfn(&f), 0);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(),
            std::string("1\n1\n") + kPause + "-1.0000000000000000\n0.2500000000000000\n" + kPause +
                "0.0000000000000000\n0.0000000000000000\n" +
                "1.0000000000000000\n1.0000000000000000\n");

  SFUNCTION g;
  U_inisfn(&g);
  ASSERT_EQ(U_getsfn(&g, 1, 0, 1, 0, 3, 1, &ws_), 0);
  g.svl->values[0][0] = 3;
  g.svl->values[1][0] = 4;
  const double U[] = {0, 0, 1, 1}, V[] = {0, 1};
  for (int j = 0; j < 4; ++j) g.knu->U[j] = U[j];
  for (int j = 0; j < 2; ++j) g.knv->U[j] = V[j];
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(U_prtsfn(&g), 0);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(),
            std::string("1 0\n1 0\n") + kPause + "3.0000000000000000\n" + kPause +
                "4.0000000000000000\n" + kPause + kPause +
                "0.0000000000000000\n0.0000000000000000\n1.0000000000000000\n"
                "1.0000000000000000\n" +
                kPause + "0.0000000000000000\n1.0000000000000000\n");
  EXPECT_EQ(taken(), 2 + 5);
}

TEST_F(Printing, EmptyRecordsAreRefusedSilently) {
  CURVE c;
  U_inicur(&c);
  SURFACE s;
  U_inisur(&s);
  CFUNCTION f;
  U_inicfn(&f);
  SFUNCTION g;
  U_inisfn(&g);
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(U_prtcur(&c), 1);
  expect_error(1, "U_PRTCUR");
  EXPECT_EQ(U_prtsur(&s), 1);
  expect_error(2, "U_PRTSUR");
  EXPECT_EQ(U_prtcfn(&f), 1);
  expect_error(1, "U_PRTCFN");
  EXPECT_EQ(U_prtsfn(&g), 1);
  expect_error(2, "U_PRTSFN");
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(taken(), 0);
}

}  // namespace
