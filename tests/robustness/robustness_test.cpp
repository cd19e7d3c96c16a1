// Randomized robustness of the file readers, the evaluators and the
// refinement tools: adversarial records, parameters and files must give
// status 0 or 1 (with a documented code), never a memory fault or a leak,
// and a refinement that succeeds on a valid record must keep its shape.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "test_support.hpp"

namespace {

using orvo_test::kWNR;
using orvo_test::kZ2D;
using orvo_test::Workspace;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr int kBasisMax = MAXDEGREE + 2;

struct Rng {
  std::mt19937 g{20261208u};
  int in(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(g); }
  double real(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(g); }
  bool one_in(int k) { return in(1, k) == 1; }
  // Mostly ordinary values, sometimes NaN, infinities and extremes.
  double wild() {
    static const double kOdd[] = {kNaN, kInf, -kInf, DBL_MAX, -DBL_MAX, 1e300, -1e-300, 0.0};
    return one_in(4) ? kOdd[in(0, 7)] : real(-3.0, 3.0);
  }
};

// A failed call must report a documented code.
::testing::AssertionResult DocumentedError() {
  static const std::set<int32_t> kCodes = {1, 2, 3, 4, 5, 6, 7, 9, 11, 12, 13, 14, 15, 17, 18, 20};
  const char *routine = nullptr;
  int32_t code = -1;
  E_GetOrvoError(&routine, &code);
  if (kCodes.count(code) && routine && routine[0] != ' ') return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "undocumented error " << code;
}

// Status 0, or 1 with a documented code.
::testing::AssertionResult Sound(int16_t status) {
  if (status == 0) return ::testing::AssertionSuccess();
  if (status != 1) return ::testing::AssertionFailure() << "status " << status;
  return DocumentedError();
}

#define EXPECT_STATUS(call)            \
  do {                                 \
    E_clrerr();                        \
    EXPECT_TRUE(Sound(call)) << #call; \
  } while (0)

// ---- Records ---------------------------------------------------------------
// Clamped knots over [0, 1]; interior knots at distinct eighths, each of
// multiplicity 1..p.
std::vector<double> clamped_knots(Rng &r, int n, int p) {
  std::vector<double> U(p + 1, 0.0);
  std::vector<int> sites = {1, 2, 3, 4, 5, 6, 7};
  std::shuffle(sites.begin(), sites.end(), r.g);
  std::vector<double> inner;
  for (size_t k = 0; static_cast<int>(inner.size()) < n - p; ++k) {
    const int mult = std::min<int>(r.in(1, std::max(p, 1)), n - p - inner.size());
    inner.insert(inner.end(), mult, sites[k] / 8.0);
  }
  std::sort(inner.begin(), inner.end());
  U.insert(U.end(), inner.begin(), inner.end());
  U.insert(U.end(), p + 1, 1.0);
  return U;
}

// Knots that break the rules: unsorted, NaN, repeated, or off by count.
void spoil_knots(Rng &r, std::vector<double> &U) {
  const int how = r.in(0, 4);
  if (how == 0) std::shuffle(U.begin(), U.end(), r.g);
  if (how == 1) U[r.in(0, U.size() - 1)] = r.wild();
  if (how == 2) std::fill(U.begin(), U.end(), 0.5);
  if (how == 3) U.resize(std::max<int>(1, U.size() + r.in(-3, 3)), 0.25);
  if (how == 4) {  // sorted, but unclamped or with overfull runs
    for (double &t : U) t = r.one_in(2) ? std::round(r.real(0, 3)) : r.real(0, 3);
    std::sort(U.begin(), U.end());
  }
}

CPOINT random_cpoint(Rng &r, bool three_d, bool rational, bool wild) {
  auto v = [&] { return wild ? r.wild() : r.real(-3.0, 3.0); };
  return CPOINT{v(), v(), three_d ? v() : kZ2D, rational ? (wild ? v() : r.real(0.5, 2.0)) : kWNR};
}

// A curve in ws; valid when good, adversarial otherwise (degrees -2..30,
// sizes that disagree, bad knots, mixed kinds, odd coordinates).
CURVE make_curve(Rng &r, STACKS *ws, bool good) {
  int p = r.one_in(20) ? r.in(5, MAXDEGREE) : r.in(0, 4), n = p + r.in(0, 5);
  std::vector<double> U = clamped_knots(r, n, p);
  if (!good) {
    if (r.one_in(3)) p = r.in(-2, 30);
    if (r.one_in(3)) n = r.in(-1, 8);
    if (r.one_in(2)) spoil_knots(r, U);
  }
  const bool three_d = r.one_in(2), rational = r.one_in(2);
  CURVE c;
  U_inicur(&c);
  EXPECT_EQ(U_getcur(&c, std::max(n, 0), static_cast<int16_t>(p), U.size() - 1, ws), 0);
  c.pol->n = n;
  for (int i = 0; i <= std::max(n, 0); ++i)
    c.pol->Pw[i] = random_cpoint(r, good || !r.one_in(8) ? three_d : !three_d, rational, !good);
  std::copy(U.begin(), U.end(), c.knt->U);
  return c;
}

SURFACE make_surface(Rng &r, STACKS *ws, bool good) {
  int p = r.in(0, 3), q = r.in(0, 3), n = p + r.in(0, 3), m = q + r.in(0, 3);
  std::vector<double> U = clamped_knots(r, n, p), V = clamped_knots(r, m, q);
  if (!good) {
    if (r.one_in(3)) p = r.in(-2, 30);
    if (r.one_in(3)) q = r.in(-2, 30);
    if (r.one_in(3)) m = r.in(-1, 6);
    if (r.one_in(3)) n = r.in(-1, 6);
    if (r.one_in(2)) spoil_knots(r, r.one_in(2) ? U : V);
  }
  const bool rational = r.one_in(2);
  SURFACE s;
  U_inisur(&s);
  EXPECT_EQ(U_getsur(&s, std::max(n, 0), std::max(m, 0), static_cast<int16_t>(p),
                     static_cast<int16_t>(q), U.size() - 1, V.size() - 1, ws),
            0);
  s.net->n = n;
  s.net->m = m;
  for (int i = 0; i <= std::max(n, 0); ++i)
    for (int j = 0; j <= std::max(m, 0); ++j)
      s.net->Pw[i][j] = random_cpoint(r, true, rational, !good);
  std::copy(U.begin(), U.end(), s.knu->U);
  std::copy(V.begin(), V.end(), s.knv->U);
  return s;
}

// A function index near 0..n, sometimes at the ends of the integers.
int32_t index(Rng &r, int32_t n) {
  static const int32_t kOdd[] = {INT32_MIN, INT32_MAX, INT32_MAX - 1, -2};
  return r.one_in(8) ? kOdd[r.in(0, 3)] : r.in(-1, std::max(n, 0) + 1);
}

// A parameter near the domain of knots U[0..m]: inside, at the ends, at a
// knot, outside, or not a number at all.
double param(Rng &r, const KNOTVECTOR *k) {
  const double a = k->U[0], b = k->U[std::max(k->m, 0)];
  switch (r.in(0, 5)) {
    case 0:
      return a;
    case 1:
      return b;
    case 2:
      return k->U[r.in(0, std::max(k->m, 0))];
    case 3:
      return r.wild();
    default:
      return a + r.real(0.0, 1.0) * (b - a);
  }
}

// A point picked near the control points, or anywhere at all.
POINT pick(Rng &r) {
  if (r.one_in(4)) return POINT{r.wild(), r.wild(), r.wild()};
  return POINT{r.real(-3, 3), r.real(-3, 3), r.real(-3, 3)};
}

// How many times to insert a knot: usually a few, sometimes absurd.
int32_t times(Rng &r) {
  static const int32_t kOdd[] = {-1, INT32_MIN, INT32_MAX, INT32_MAX - 1};
  return r.one_in(8) ? kOdd[r.in(0, 3)] : r.in(0, 4);
}

// ---- Shape checks ------------------------------------------------------------
bool near(const POINT &a, const POINT &b) {
  const double s = 1.0 + std::fabs(a.x) + std::fabs(a.y) + std::fabs(a.z);
  return std::fabs(a.x - b.x) + std::fabs(a.y - b.y) + std::fabs(a.z - b.z) <= 1e-9 * s;
}

// The curve piece agrees with c over its own domain.
void expect_same_curve(const CURVE &c, const CURVE &piece, Rng &r) {
  const double a = piece.knt->U[0], b = piece.knt->U[piece.knt->m];
  for (int k = 0; k < 3; ++k) {
    const double u = k == 0 ? a : k == 1 ? b : a + r.real(0, 1) * (b - a);
    const int16_t side = u == b ? 2 : 1;
    POINT P, Q;
    ASSERT_EQ(N_curevn(&c, u, side, &P), 0);
    ASSERT_EQ(N_curevn(&piece, u, side, &Q), 0);
    EXPECT_TRUE(near(P, Q)) << "at u = " << u;
  }
}

void expect_same_surface(const SURFACE &s, const SURFACE &piece, Rng &r) {
  const KNOTVECTOR *ku = piece.knu, *kv = piece.knv;
  for (int k = 0; k < 3; ++k) {
    const double u = ku->U[0] + r.real(0, 1) * (ku->U[ku->m] - ku->U[0]);
    const double v = kv->U[0] + r.real(0, 1) * (kv->U[kv->m] - kv->U[0]);
    POINT P, Q;
    ASSERT_EQ(N_surevn(&s, u, v, 1, 1, &P), 0);
    ASSERT_EQ(N_surevn(&piece, u, v, 1, 1, &Q), 0);
    EXPECT_TRUE(near(P, Q)) << "at " << u << ", " << v;
  }
}

// ---- Files -----------------------------------------------------------------
std::string temp_path(const char *name) { return (::testing::TempDir() + "orvo_robust_") + name; }

std::string slurp(const std::string &path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

void spit(const std::string &path, const std::string &text) {
  std::ofstream(path, std::ios::binary) << text;
}

// Flips bytes, cuts the text, or puts odd numbers in place of a token.
std::string mutate(Rng &r, std::string t) {
  static const char *kTokens[] = {"nan",   "inf", "-inf", "-1",  "-2147483649", "99999999999",
                                  "1e400", "0",   "x",    "3.5", "30",          "2147483647"};
  const int edits = r.in(1, 3);
  for (int e = 0; e < edits && !t.empty(); ++e) {
    const size_t at = r.in(0, t.size() - 1);
    switch (r.in(0, 2)) {
      case 0:
        t[at] = static_cast<char>(r.in(0, 255));
        break;
      case 1:
        t.resize(at);
        break;
      default: {
        const size_t end = t.find_first_of(" \n", at);
        t.replace(at, end == std::string::npos ? std::string::npos : end - at,
                  kTokens[r.in(0, 11)]);
      }
    }
  }
  return t;
}

constexpr int kRounds = 1500;

TEST(RobustnessTest, EvaluatorsOnAdversarialRecords) {
  Rng r;
  for (int round = 0; round < kRounds; ++round) {
    Workspace ws;
    const CURVE c = make_curve(r, &ws, r.one_in(3));
    POINT P, CK[8];
    const int16_t side = static_cast<int16_t>(r.one_in(6) ? r.in(-1, 3) : r.in(1, 2));
    EXPECT_STATUS(N_curevn(&c, param(r, c.knt), side, &P));
    EXPECT_STATUS(N_curder(&c, param(r, c.knt), side, static_cast<int16_t>(r.in(-1, 7)), CK));
    int32_t span = 0;
    EXPECT_STATUS(N_kntfsp(c.knt, c.p, param(r, c.knt), side, &span));
    double **ders = S_getr2d(7, kBasisMax, &ws), R[8];
    const int16_t d = static_cast<int16_t>(r.in(-1, 7));
    const int32_t i = index(r, c.pol->n);
    EXPECT_STATUS(N_kntcad(&c, param(r, c.knt), side, d, ders, &span));
    EXPECT_STATUS(N_kntacd(&c, param(r, c.knt), side, d, ders, &span));
    EXPECT_STATUS(N_kntrcb(&c, i, param(r, c.knt), side, R));
    EXPECT_STATUS(N_kntrcd(&c, i, param(r, c.knt), side, d, R));

    const SURFACE s = make_surface(r, &ws, r.one_in(3));
    POINT **SKL = S_getp2d(7, 7, &ws);
    EXPECT_STATUS(N_surevn(&s, param(r, s.knu), param(r, s.knv), side, 1, &P));
    VECTOR Su, Sv, Nrm;
    EXPECT_STATUS(N_surnor(&s, param(r, s.knu), param(r, s.knv), 1, side, &P, &Su, &Sv, &Nrm));
    EXPECT_STATUS(N_surder(&s, param(r, s.knu), param(r, s.knv), 1, side,
                           static_cast<int16_t>(r.in(0, 2)), static_cast<int16_t>(r.in(-1, 6)),
                           static_cast<int16_t>(r.in(-1, 6)), SKL));
  }
}

TEST(RobustnessTest, KnotRoutinesOnAdversarialVectors) {
  Rng r;
  for (int round = 0; round < kRounds; ++round) {
    Workspace ws;
    const CURVE c = make_curve(r, &ws, r.one_in(3));
    KNOTVECTOR *k = c.knt;
    // Sometimes far from zero, where small steps vanish in rounding.
    if (r.one_in(4))
      for (int32_t j = 0; j <= k->m; ++j) k->U[j] = k->U[j] * 8 + 1e16;
    const int32_t i = index(r, k->m);
    const double tol = r.one_in(4) ? r.wild() : 1e-9;
    double nmax, umax, mins[kBasisMax], maxs[kBasisMax], ders[kBasisMax], N[kBasisMax];
    const int16_t p = c.p > MAXDEGREE ? MAXDEGREE : c.p;
    EXPECT_STATUS(N_kntmax(k, i, c.p, tol, &nmax, &umax));
    EXPECT_STATUS(N_kntmma(k, i, p, tol, mins, maxs, &umax));
    EXPECT_STATUS(N_kntbas(k, i, c.p, param(r, k), 1, &nmax));
    EXPECT_STATUS(N_kntbad(k, i, p, param(r, k), 2, 3, ders));
    int32_t span;
    EXPECT_STATUS(N_kntalb(k, p, param(r, k), 1, N, &span));
    KNOTVECTOR *two[2] = {k, make_curve(r, &ws, false).knt}, **merged = nullptr;
    EXPECT_STATUS(N_kntmer(two, 1, &merged, &ws));
    int32_t count;
    N_kntnsp(k, c.p, &count);
    N_kntsca(k, c.p, INTERVAL{r.wild(), r.wild()});
  }
}

TEST(RobustnessTest, RefinementToolsKeepTheShape) {
  Rng r;
  for (int round = 0; round < kRounds; ++round) {
    Workspace ws, out_ws;
    const bool good = !r.one_in(3);
    // Checks a status and clears the error state for the next call; true
    // when a valid record was refined, so the result can be compared.
    auto ok = [&](int16_t st) {
      EXPECT_TRUE(Sound(st));
      E_clrerr();
      return good && st == 0;
    };
    E_clrerr();
    CURVE c = make_curve(r, &ws, good), out, left, right, **pieces = nullptr;
    int32_t last = -1;
    U_inicur(&out);
    U_inicur(&left);
    U_inicur(&right);
    if (ok(N_toocki(&c, param(r, c.knt), times(r), &out, &ws, &out_ws)))
      expect_same_curve(c, out, r);
    if (ok(N_toocsp(&c, param(r, c.knt), &left, &right, &out_ws)))
      expect_same_curve(c, left, r), expect_same_curve(c, right, r);
    U_inicur(&out);
    const double lo = param(r, c.knt), hi = param(r, c.knt);
    if (ok(N_toocsg(&c, lo, hi, &out, &ws, &out_ws))) expect_same_curve(c, out, r);
    if (ok(N_toocdc(&c, &pieces, &last, &out_ws)))
      for (int32_t i = 0; i <= last; ++i) expect_same_curve(c, *pieces[i], r);
    if (ok(N_tooccp(&c, &pieces, &last, &out_ws)))
      for (int32_t i = 0; i <= last; ++i) expect_same_curve(c, *pieces[i], r);
    U_inicur(&out);
    if (ok(N_toocik(&c, pick(r), &out, &ws, &out_ws))) expect_same_curve(c, out, r);
    // In place: the record is replaced only on success.
    ok(N_toocki(&c, param(r, c.knt), r.in(0, 2), &c, &ws, &ws));

    SURFACE s = make_surface(r, &ws, good), so, sa, sb, ***patches = nullptr;
    U_inisur(&so);
    U_inisur(&sa);
    U_inisur(&sb);
    const int16_t dir = static_cast<int16_t>(r.one_in(6) ? r.in(-1, 3) : r.in(1, 2));
    const KNOTVECTOR *kd = dir == 2 ? s.knv : s.knu;
    if (ok(N_tooski(&s, param(r, kd), times(r), dir, &so, &ws, &out_ws)))
      expect_same_surface(s, so, r);
    if (ok(N_toossp(&s, param(r, kd), dir, &sa, &sb, &out_ws)))
      expect_same_surface(s, sa, r), expect_same_surface(s, sb, r);
    U_inisur(&so);
    if (ok(N_toossg(&s, param(r, s.knu), param(r, s.knu), param(r, s.knv), param(r, s.knv), &so,
                    &ws, &out_ws)))
      expect_same_surface(s, so, r);
    int32_t lu = -1, lv = -1;
    if (ok(N_toosdc(&s, &patches, &lu, &lv, &out_ws)))
      for (int32_t i = 0; i <= lu; ++i)
        for (int32_t j = 0; j <= lv; ++j) expect_same_surface(s, *patches[i][j], r);
    ok(N_tooski(&s, param(r, kd), r.in(0, 2), dir, &s, &ws, &ws));
    U_inisur(&so);
    if (ok(N_toosik(&s, pick(r), &so, &ws, &out_ws))) expect_same_surface(s, so, r);
  }
}

TEST(RobustnessTest, ReadersOnMutatedFiles) {
  Rng r;
  const std::string cpath = temp_path("c.crv"), apath = temp_path("a.cua"),
                    spath = temp_path("s.sur"), ppath = temp_path("p.p1d"),
                    npath = temp_path("n.p2d"), bad = temp_path("bad");
  for (int round = 0; round < kRounds / 6; ++round) {
    Workspace ws;
    CURVE c = make_curve(r, &ws, true);
    CURVE *two[2] = {&c, &c};
    SURFACE s = make_surface(r, &ws, true);
    POINT pts[4] = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {0, 1, 0}};
    POINT *rows[2] = {pts, pts + 2};
    ASSERT_EQ(U_outcur(&c, cpath.c_str()), 0);
    ASSERT_EQ(U_outcua(two, 1, apath.c_str()), 0);
    ASSERT_EQ(U_outsur(&s, spath.c_str()), 0);
    ASSERT_EQ(U_outp1d(pts, 3, ppath.c_str()), 0);
    ASSERT_EQ(U_outp2d(rows, 1, 1, npath.c_str()), 0);
    const int16_t check = static_cast<int16_t>(r.in(0, 1));

    spit(bad, mutate(r, slurp(cpath)));
    CURVE got;
    U_inicur(&got);
    E_clrerr();
    if (U_inpcur(r.one_in(3) ? &c : &got, bad.c_str(), check, &ws) == 0) {
      const CURVE &rc = U_iscurn(&got) ? c : got;
      POINT P, CK[6];
      EXPECT_STATUS(N_curevn(&rc, param(r, rc.knt), 1, &P));
      EXPECT_STATUS(N_curder(&rc, param(r, rc.knt), 2, 3, CK));
    } else {
      EXPECT_TRUE(DocumentedError());
    }
    spit(bad, mutate(r, slurp(apath)));
    CURVE **arr = nullptr;
    int32_t k = -1;
    EXPECT_STATUS(U_inpcua(&arr, &k, bad.c_str(), check, &ws));
    spit(bad, mutate(r, slurp(spath)));
    SURFACE gs;
    U_inisur(&gs);
    E_clrerr();
    if (U_inpsur(&gs, bad.c_str(), check, &ws) == 0) {
      POINT P;
      EXPECT_STATUS(N_surevn(&gs, param(r, gs.knu), param(r, gs.knv), 1, 2, &P));
    } else {
      EXPECT_TRUE(DocumentedError());
    }
    spit(bad, mutate(r, slurp(ppath)));
    POINT *p1 = nullptr, **p2 = nullptr;
    int32_t n = -1, m = -1;
    EXPECT_STATUS(U_inpp1d(&p1, &n, bad.c_str(), &ws));
    spit(bad, mutate(r, slurp(npath)));
    EXPECT_STATUS(U_inpp2d(&p2, &n, &m, bad.c_str(), &ws));
  }
  for (const std::string &p : {cpath, apath, spath, ppath, npath, bad}) std::remove(p.c_str());
}

}  // namespace
