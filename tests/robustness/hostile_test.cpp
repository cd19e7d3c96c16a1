// Hostile records through the curve and surface routines (the promises of
// hostile_records.hpp), and the refusals of results beyond the doubles.
#include "robustness/hostile_records.hpp"

#include "test_support.hpp"

namespace {

using orvo_hostile::Record;

TEST(HostileRecords, EveryCallKeepsThePromise) {
  for (uint64_t seed : {1u, 20261208u, 0x5eed5eedu}) {
    orvo_hostile::Source source(seed);
    for (int k = 0; k < 900; ++k)
      ASSERT_EQ(orvo_hostile::check(source, k % 5 == 4), "") << "seed " << seed << ", record " << k;
  }
}

constexpr double kW = -DBL_MAX, kBig = 1e308;

// Routine tag, control points (a surface: two equal rows), knots (a
// surface's in v), degree.
struct Refusal {
  const char *tag;
  std::vector<CPOINT> P;
  std::vector<double> U;
  int16_t p;
};
const std::vector<CPOINT> kLine = {{0, 0, 0, kW}, {1, 2, 3, kW}};
const Refusal kRefusals[] = {
    {"N_CURUNC", kLine, {-kBig, -kBig, kBig, kBig}, 1},  // spread knots overflow
    {"N_CURUNC", {{1.5e308, 0, 0, kW}, {-1.5e308, 0, 0, kW}, {1, 1, 1, kW}}, {0, 0, 0, 1, 1, 1}, 2},
    {"N_SURUNC", kLine, {-kBig, -kBig, kBig, kBig}, 1},
    {"N_CURREV", kLine, {kBig, -kBig, -kBig, kBig}, 1},  // mirrored knots overflow
    {"N_SURREV", kLine, {kBig, -kBig, -kBig, kBig}, 1},
    {"N_CURBOX", {{1, 1, 0, 1}, {1, 1, 0, 0}}, {0, 0, 1, 1}, 1},  // zero weight
    {"N_SURBOX", {{1e300, 0, 0, DBL_MIN}, {0, 0, 0, 1}}, {0, 0, 1, 1}, 1},
    {"N_CUREXT", {{-kBig, 0, 0, kW}, {kBig, 0, 0, kW}}, {0, 0, 1, 1}, 1},  // diagonal overflows
};

std::vector<double> values(const std::vector<CPOINT> &P) {
  return orvo_hostile::values(P.data(), static_cast<int32_t>(P.size()) - 1);
}

int16_t call(const std::string &tag, Record &c) {
  Record s = c;  // the surface: c's points twice, over {0, 0, 1, 1} in u and c's knots in v
  s.P.insert(s.P.end(), c.P.begin(), c.P.end());
  s.V = c.U, s.q = c.p, s.U = {0, 0, 1, 1}, s.p = 1;
  c.rebuild(), s.rebuild();
  BOX box;
  double d;
  if (tag == "N_CURUNC") return N_curunc(&c.cur);
  if (tag == "N_SURUNC") return N_surunc(&s.sur, 2);
  if (tag == "N_CURREV") return N_currev(&c.cur, &c.cur, nullptr);
  if (tag == "N_SURREV") return N_surrev(&s.sur, 2, &s.sur, nullptr);
  if (tag == "N_CURBOX") return N_curbox(&c.cur, &box);
  if (tag == "N_SURBOX") return N_surbox(&s.sur, &box);
  return N_curext(&c.cur, &d);
}

TEST(HostileRecords, ResultsBeyondTheDoublesAreRefused) {
  for (const Refusal &row : kRefusals) {
    Record c;
    c.P = row.P, c.U = row.U, c.p = row.p;
    E_clrerr();
    EXPECT_EQ(call(row.tag, c), 1) << row.tag;
    orvo_test::expect_error(11, row.tag);
    EXPECT_TRUE(values(c.P) == values(row.P) && c.U == row.U) << row.tag << " changed the curve";
  }
  // Knots from 1e308 to 1.7e308: U[0] + U[m] overflows, the mirror images do not.
  Record c;
  c.P = {kLine[0], kLine[1], kLine[0]}, c.U = {1e308, 1e308, 1.5e308, 1.7e308, 1.7e308}, c.p = 1;
  ASSERT_EQ(call("N_CURREV", c), 0);
  EXPECT_EQ(c.U,
            (std::vector<double>{1e308, 1e308, 1.7e308 - (1.5e308 - 1e308), 1.7e308, 1.7e308}));
}

}  // namespace
