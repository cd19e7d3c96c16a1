// Randomised robustness of the matrix records and solvers, the Bezier
// tools, the elementary geometry and the whole-record shape operations:
// adversarial sizes, storage types, aliasing, NaN and degenerate input.
// Every call must return a status of 0 or 1, with a documented error code
// on 1; the sanitizer build catches any access outside the arrays.
#include <algorithm>
#include <climits>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <random>
#include <vector>

#include "test_support.hpp"

namespace {

using orvo_test::Workspace;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

class Fuzz : public ::testing::Test {
 protected:
  std::mt19937 rng{20261208u};

  int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
  bool chance(int percent) { return pick(1, 100) <= percent; }
  double value() {
    switch (pick(0, 9)) {
      case 0:
        return 0.0;
      case 1:
        return kNaN;
      case 2:
        return pick(0, 1) ? 1e300 : -1e-300;
      default:
        return std::uniform_real_distribution<double>(-2.0, 2.0)(rng);
    }
  }
  double unit() { return std::uniform_real_distribution<double>(0, 1)(rng); }
  double param() { return chance(15) ? value() : unit(); }
  POINT point() { return chance(10) ? POINT{0, 0, 0} : POINT{value(), value(), value()}; }
  CPOINT cpoint() {
    const POINT p = point();
    return CPOINT{p.x, p.y, chance(20) ? DBL_MAX : p.z, chance(50) ? -DBL_MAX : 0.5 + param()};
  }
  std::vector<CPOINT> cpoints(int count) {
    std::vector<CPOINT> v(std::max(count, 1));
    for (auto &q : v) q = cpoint();
    return v;
  }
  CPOINT **cnet(int n, int m, STACKS *ws) {
    CPOINT **net = S_getc2d(std::max(n, 0), std::max(m, 0), ws);
    for (int i = 0; i <= std::max(n, 0); ++i)
      for (int j = 0; j <= std::max(m, 0); ++j) net[i][j] = cpoint();
    return net;
  }

  // A matrix record of random size, storage type -1..5 and band width
  // -1..n+3, its storage filled with random, zero or NaN entries; when the
  // allocation is refused the record stays empty.
  RMATRIX matrix(STACKS *ws, int n = -2, int m = -2) {
    if (n == -2) n = pick(-1, 6);
    if (m == -2) m = chance(60) ? n : pick(-1, 6);
    const int type = pick(-1, 5), bw = pick(-1, std::max(n, 0) + 3);
    RMATRIX r;
    M_inirma(&r);
    r.type = 0;
    if (M_getrma(&r, n, m, type, bw, ws)) return r;
    const int cols = type == ORVO_BANDED ? bw : m + 1;
    const bool zero_row = chance(10);
    for (int i = 0; i <= n; ++i)
      for (int j = 0; j < cols; ++j) r.a[i][j] = (zero_row && i == n) ? 0.0 : value();
    return r;
  }

  // An output record: empty, freshly allocated small, banded, or one of the
  // given inputs.
  RMATRIX *output(RMATRIX &own, STACKS *ws, std::initializer_list<RMATRIX *> inputs) {
    M_inirma(&own);
    own.type = 0;
    const int k = pick(0, 3 + static_cast<int>(inputs.size()));
    if (k == 1) M_getrma(&own, pick(0, 3), pick(0, 3), ORVO_FULL, 1, ws);
    if (k == 2) M_getrma(&own, pick(0, 8), pick(0, 8), ORVO_BANDED, pick(1, 3), ws);
    if (k == 3) M_getrma(&own, 8, 8, pick(0, 2), 9, ws);
    if (k >= 4) return inputs.begin()[k - 4];
    return &own;
  }
};

// A call returns 0 or 1, and on 1 the error state holds a documented code.
void Check(int16_t status, const char *call, std::initializer_list<int> codes) {
  ASSERT_TRUE(status == 0 || status == 1) << call << " returned " << status;
  if (status == 0) return;
  const char *routine = nullptr;
  int32_t code = 0;
  E_GetOrvoError(&routine, &code);
  EXPECT_NE(std::find(codes.begin(), codes.end(), code), codes.end())
      << call << ": undocumented error " << code << " from " << (routine ? routine : "(null)");
}

#define EXPECT_STATUS(call, ...)         \
  do {                                   \
    E_clrerr();                          \
    Check((call), #call, {__VA_ARGS__}); \
  } while (0)

#define MATRIX_CODES 7, 9, 11, 12, 13, 14, 15
#define BEZIER_CODES 6, 7, 9, 11, 13, 14, 15
#define GEOM_CODES 7, 11, 13, 14, 17
#define SHAPE_CODES 1, 2, 3, 4, 7, 9, 11, 13, 14, 15, 17

TEST_F(Fuzz, MatrixArithmeticAndSolvers) {
  for (int round = 0; round < 1500; ++round) {
    Workspace ws;
    RMATRIX A = matrix(ws), B = matrix(ws, chance(70) ? std::max(A.m, -1) : -2), C;
    const int rows = std::max({A.n, A.m, B.n, B.m, 0}) + 1;
    std::vector<CPOINT> cin = cpoints(rows), cout = cpoints(rows);
    std::vector<POINT> pin(rows), pout(rows);
    for (auto &p : pin) p = point();
    switch (pick(0, 8)) {
      case 0:
        EXPECT_STATUS(M_rmamul(&A, &B, output(C, ws, {&A, &B}), ws), MATRIX_CODES);
        break;
      case 1:
        EXPECT_STATUS(M_rmamtm(&A, output(C, ws, {&A}), ws), MATRIX_CODES);
        break;
      case 2:
        EXPECT_STATUS(M_rmamtr(&A, &B, output(C, ws, {&A, &B}), ws), MATRIX_CODES);
        break;
      case 3:
        EXPECT_STATUS(M_rmatrp(&A, output(C, ws, {&A}), ws, ws), MATRIX_CODES);
        break;
      case 4:
        EXPECT_STATUS(M_rmacpt(&A, cin.data(), chance(30) ? cin.data() : cout.data()),
                      MATRIX_CODES);
        EXPECT_STATUS(M_rmapoi(&A, pin.data(), chance(30) ? pin.data() : pout.data()),
                      MATRIX_CODES);
        break;
      case 5: {
        CPOINT **P = cnet(A.n, B.n, ws);
        EXPECT_STATUS(M_rmcprm(&A, P, &B, chance(50) ? P : cnet(A.n, B.n, ws)), MATRIX_CODES);
        break;
      }
      case 6: {
        std::vector<double> b(rows), x(rows);
        for (auto &v : b) v = value();
        EXPECT_STATUS(M_ludcmp(&A), MATRIX_CODES);
        EXPECT_STATUS(M_rafoba(&A, b.data(), chance(30) ? b.data() : x.data()), MATRIX_CODES);
        const int16_t kind = static_cast<int16_t>(pick(0, 3));
        const void *rhs = kind == 1 ? static_cast<const void *>(pin.data()) : cin.data();
        EXPECT_STATUS(
            M_forbac(&A, rhs, kind, chance(30) && kind == 2 ? cin.data() : cout.data(), ws),
            MATRIX_CODES);
        break;
      }
      case 7: {
        std::vector<int32_t> indx(rows, 0);
        std::vector<double> b(rows);
        for (auto &v : b) v = value();
        EXPECT_STATUS(M_ludpiv(&A, indx.data()), MATRIX_CODES);
        EXPECT_STATUS(M_rafbpv(&A, indx.data(), b.data()), MATRIX_CODES);
        break;
      }
      case 8:
        if (chance(50))
          EXPECT_STATUS(M_rmainv(&A, static_cast<int16_t>(pick(0, 1)), output(C, ws, {&A}), ws),
                        MATRIX_CODES);
        else
          EXPECT_STATUS(M_rmaivp(&A, output(C, ws, {&A}), ws), MATRIX_CODES);
        break;
    }
  }
}

// A record reused through check-or-allocate must hold every entry of its
// new definition: all of them are written after a successful check.
TEST_F(Fuzz, CheckOrAllocateNeverOutgrowsTheRows) {
  for (int round = 0; round < 1500; ++round) {
    Workspace ws;
    RMATRIX r = matrix(ws);
    const int n = pick(-1, 8), m = pick(-1, 8), type = pick(-1, 5), bw = pick(-1, 10);
    EXPECT_STATUS(M_rmachk(&r, n, m, type, bw, "TEST", ws), MATRIX_CODES);
    if (M_isrman(&r)) continue;
    const int cols = r.type == ORVO_BANDED ? r.bw : r.m + 1;
    for (int i = 0; i <= r.n; ++i) std::fill(r.a[i], r.a[i] + cols, 1.0);
  }
}

TEST_F(Fuzz, SortingSearchValueSetsAndPolynomials) {
  for (int round = 0; round < 500; ++round) {
    Workspace ws;
    const int n = pick(-1, 12);
    std::vector<double> a(n + 2);
    for (auto &v : a) v = chance(30) ? 0.5 : value();
    M_rshell(a.data(), n);
    int32_t index = 0;
    M_rinsch(a.data(), n, value(), &index);
    EXPECT_GE(index, -1);
    EXPECT_LE(index, n);

    double **table = nullptr;
    const int nb = pick(0, 5);
    int32_t count = 0;
    ASSERT_EQ(M_inrhas(&table, nb, ws), 0);
    const double lo = value(), hi = chance(20) ? lo : value();
    for (int k = 0; k < 10; ++k)
      EXPECT_STATUS(
          M_uprhas(table, nb, lo, chance(50) ? lo + (hi - lo) * param() : value(), hi, &count, ws),
          MATRIX_CODES);
    std::vector<double> out(count + 1);
    M_rerhas(table, nb, out.data());

    std::vector<double> c(n + 2);
    for (auto &v : c) v = value();
    double root = 0.0;
    EXPECT_STATUS(M_polnew(c.data(), n, param(), value(), value(), value(), &root), MATRIX_CODES);
  }
}

TEST_F(Fuzz, BezierTools) {
  for (int round = 0; round < 1200; ++round) {
    Workspace ws;
    const int16_t p = static_cast<int16_t>(pick(-1, 40)), t = static_cast<int16_t>(pick(-1, 4));
    const int count = std::max(p + t + 2, 2);
    std::vector<CPOINT> P = cpoints(count), Q = cpoints(count);
    std::vector<double> vals(count);
    for (auto &v : vals) v = value();
    POINT pt;
    double r, err;
    RMATRIX own, held = matrix(ws);
    RMATRIX *M = chance(50) ? output(own, ws, {&held}) : nullptr;
    switch (pick(0, 7)) {
      case 0:
        EXPECT_STATUS(B_bernst(p, static_cast<int16_t>(pick(-1, p + 1)), param(), &r),
                      BEZIER_CODES);
        EXPECT_STATUS(B_allber(p, param(), vals.data()), BEZIER_CODES);
        EXPECT_STATUS(B_curevn(P.data(), p, param(), &pt), BEZIER_CODES);
        EXPECT_STATUS(B_cfnevn(vals.data(), p, param(), &r), BEZIER_CODES);
        break;
      case 1: {
        const int16_t q = static_cast<int16_t>(pick(-1, 6));
        CPOINT **net = cnet(p, q, ws);
        EXPECT_STATUS(B_surevn(net, p, q, param(), param(), &pt), BEZIER_CODES);
        if (chance(50))
          EXPECT_STATUS(B_sbepow(net, p, q, M, nullptr, value(), value(), 0, 1, net, ws),
                        BEZIER_CODES);
        else
          EXPECT_STATUS(B_spobez(net, p, q, nullptr, M, 0, 1, value(), value(), net, ws),
                        BEZIER_CODES);
        break;
      }
      case 2:
        EXPECT_STATUS(B_powmat(p, output(own, ws, {&held}), ws), BEZIER_CODES);
        EXPECT_STATUS(B_ipomat(p, output(own, ws, {&held}), ws), BEZIER_CODES);
        EXPECT_STATUS(B_repmat(p, value(), value(), value(), value(), output(own, ws, {&held}), ws),
                      BEZIER_CODES);
        break;
      case 3:
        EXPECT_STATUS(
            B_cbepow(P.data(), p, M, value(), value(), chance(50) ? P.data() : Q.data(), ws),
            BEZIER_CODES);
        EXPECT_STATUS(B_cpobez(P.data(), p, M, 0, 1, Q.data(), ws), BEZIER_CODES);
        break;
      case 4: {
        EXPECT_STATUS(B_cdemat(p, t, output(own, ws, {&held}), ws), BEZIER_CODES);
        const int i0 = pick(-1, p + t + 1), i1 = pick(-1, p + t + 1);
        EXPECT_STATUS(B_cdegel(P.data(), p, t, M, i0, i1, chance(30) ? P.data() : Q.data()),
                      BEZIER_CODES);
        CPOINT **net = cnet(count - 1, count - 1, ws);
        EXPECT_STATUS(B_sdegel(net, p, t, M, static_cast<int16_t>(pick(0, 3)), i0, i1,
                               pick(-1, count - 1), net),
                      BEZIER_CODES);
        break;
      }
      case 5: {
        std::vector<double> A1(count), B1(count), A2(count), B2(count);
        B_degrco(p, A1.data(), B1.data(), A2.data(), B2.data());
        EXPECT_STATUS(B_cdegre(P.data(), p, A1.data(), B1.data(), A2.data(), B2.data(),
                               chance(50) ? P.data() : Q.data(), &err),
                      BEZIER_CODES);
        CPOINT **net = cnet(count - 1, count - 1, ws);
        EXPECT_STATUS(B_sdegre(net, p, A1.data(), B1.data(), A2.data(), B2.data(),
                               static_cast<int16_t>(pick(0, 3)), pick(-1, count - 1), net, &err),
                      BEZIER_CODES);
        break;
      }
      case 6:
        EXPECT_STATUS(B_csplit(P.data(), p, param(), chance(30) ? P.data() : Q.data(), Q.data()),
                      BEZIER_CODES);
        for (auto &q : Q) q = CPOINT{unit(), unit(), unit(), chance(50) ? -DBL_MAX : 1.0};
        Q[0].x = chance(10) ? kNaN : 0.0;
        EXPECT_STATUS(B_arclen(Q.data(), std::min<int16_t>(p, 8), chance(20) ? kNaN : 0.01, &r),
                      BEZIER_CODES);
        break;
      case 7: {
        POINT P1, three[3] = {point(), point(), point()}, L[3], R[3];
        double w1, wq, wr;
        EXPECT_STATUS(B_makcon(point(), VECTOR{value(), value(), 0}, point(),
                               VECTOR{value(), value(), 0}, point(), &P1, &w1),
                      BEZIER_CODES);
        B_splcon(three, value(), L, &wq, R, &wr);
        std::vector<POINT> pts(count);
        for (auto &q : pts) q = chance(20) ? POINT{1, 1, 1} : point();
        EXPECT_STATUS(B_gcurin(pts.data(), std::min<int16_t>(p, 12), Q.data(), ws), BEZIER_CODES);
        break;
      }
    }
  }
}

TEST_F(Fuzz, ElementaryGeometry) {
  for (int round = 0; round < 1500; ++round) {
    Workspace ws;
    const POINT A = point(), B = chance(20) ? A : point(), X = point();
    const VECTOR D{value(), value(), chance(50) ? 0.0 : value()};
    const LINE l1{A, D, static_cast<int16_t>(pick(0, 1))}, l2{B, VECTOR{X.x, X.y, X.z}, 1};
    POINT F;
    double s, t, d;
    int16_t found, dir;
    int32_t i, j;
    EXPECT_STATUS(G_intlnp(l1, PLANE{B, D}, &F, &t, &found), GEOM_CODES);
    EXPECT_STATUS(G_intlnl(l1, l2, &F, &s, &t, &found), GEOM_CODES);
    EXPECT_STATUS(G_intlsg(A, B, X, point(), &F, &found), GEOM_CODES);
    EXPECT_STATUS(G_displn(l1, X, &d), GEOM_CODES);
    EXPECT_STATUS(G_dispab(X, A, B, &d), GEOM_CODES);
    EXPECT_STATUS(G_prjppl(PLANE{A, D}, X, &F), GEOM_CODES);

    const int n = pick(-1, 6), m = pick(-1, 4);
    std::vector<POINT> poly(std::max(n + 1, 1));
    for (auto &q : poly) q = chance(30) ? A : point();
    const PPOLYGON ppl{n, poly.data()};
    POINT **grid = S_getp2d(std::max(m, 0), std::max(m, 0), ws);
    int32_t **inside = S_geti2d(std::max(m, 0), std::max(m, 0), ws);
    double **dist = S_getr2d(std::max(m, 0), std::max(m, 0), ws);
    for (int r = 0; r <= std::max(m, 0); ++r)
      for (int c = 0; c <= std::max(m, 0); ++c)
        grid[r][c] = chance(90) ? POINT{0.25 * r, 0.25 * c, 0} : point();
    EXPECT_STATUS(G_ispgpl(ppl, grid, m, m, inside), GEOM_CODES);
    EXPECT_STATUS(G_ispgpg(ppl, grid, m, m, chance(20) ? kNaN : param(), dist), GEOM_CODES);
    EXPECT_STATUS(G_polleg(ppl, X, &F, &j, &t, &found), GEOM_CODES);
    EXPECT_STATUS(G_netleg(PNET{m, m, grid}, X, &F, &i, &j, &dir, &t, &found), GEOM_CODES);
    EXPECT_STATUS(G_intcpl(ppl, A, X, pick(-1, n + 1), &F, &found, &i), GEOM_CODES);
    EXPECT_STATUS(G_lsqpln(poly.data(), n, &s, &t, &d, &d), GEOM_CODES);
    EXPECT_GE(G_ispppl(ppl, X.x, X.y), 0);
  }
}

TEST_F(Fuzz, ShapeOperationsOnOddRecords) {
  for (int round = 0; round < 800; ++round) {
    Workspace ws;
    const int n = pick(-1, 8), p = pick(-1, 6);
    const int km = chance(70) ? n + p + 1 : pick(-1, 14);
    CURVE cur, out;
    U_inicur(&cur);
    U_inicur(&out);
    if (U_curchk(&cur, n, static_cast<int16_t>(p), km, "TEST", ws)) continue;
    for (int k = 0; k <= n; ++k) cur.pol->Pw[k] = cpoint();
    double u = 0.0;
    for (int k = 0; k <= km; ++k) cur.knt->U[k] = (chance(60) && k > 0) ? u : (u += param());
    BOX box;
    double d;
    PPOLYGON ppl;
    RMATRIX T = matrix(ws, 3, 3);
    N_curtra(&cur, &T);
    EXPECT_STATUS(N_currot(&cur, point(), VECTOR{value(), value(), value()}, value()), SHAPE_CODES);
    EXPECT_STATUS(N_curbox(&cur, &box), SHAPE_CODES);
    EXPECT_STATUS(N_curext(&cur, &d), SHAPE_CODES);
    EXPECT_STATUS(N_currev(&cur, chance(50) ? &cur : &out, ws), SHAPE_CODES);
    EXPECT_STATUS(N_curunc(&cur), SHAPE_CODES);
    EXPECT_STATUS(U_mapcpl(&cur, pick(-1, n + 1), pick(-1, n + 1), &ppl, ws), SHAPE_CODES);

    SURFACE sur, sout;
    U_inisur(&sur);
    U_inisur(&sout);
    const int sm = pick(0, 5), q = pick(0, 4);
    if (U_surchk(&sur, std::max(n, 0), sm, static_cast<int16_t>(std::max(p, 0)),
                 static_cast<int16_t>(q), std::max(km, 0), chance(70) ? sm + q + 1 : pick(0, 9),
                 "TEST", ws))
      continue;
    for (int r = 0; r <= sur.net->n; ++r)
      for (int c = 0; c <= sur.net->m; ++c) sur.net->Pw[r][c] = cpoint();
    for (int k = 0; k <= sur.knu->m; ++k) sur.knu->U[k] = chance(20) ? value() : k / 3;
    for (int k = 0; k <= sur.knv->m; ++k) sur.knv->U[k] = k / 2;
    PNET net;
    EXPECT_STATUS(N_surbox(&sur, &box), SHAPE_CODES);
    EXPECT_STATUS(N_surrev(&sur, static_cast<int16_t>(pick(0, 3)), chance(50) ? &sur : &sout, ws),
                  SHAPE_CODES);
    EXPECT_STATUS(N_surunc(&sur, static_cast<int16_t>(pick(0, 4))), SHAPE_CODES);
    EXPECT_STATUS(N_suruuv(&sur, cur.knt, sur.knv, static_cast<int16_t>(pick(1, 3))), SHAPE_CODES);
    EXPECT_STATUS(U_mapcnt(&sur, 0, pick(-1, n + 1), pick(-1, 1), pick(-1, sm + 1), &net, ws),
                  SHAPE_CODES);
    EXPECT_STATUS(U_swapuv(&sur, ws), SHAPE_CODES);
  }
}

}  // namespace

// ---- Regression cases for faults the randomised runs led to --------------

// Inverting a band in place: sizing the inverse redefines the record as a
// full matrix, yet the band must still be factored as a band.
TEST(Robustness, InPlaceInverseOfAWideBand) {
  Workspace ws;
  RMATRIX A;
  M_inirma(&A);
  ASSERT_EQ(M_getrma(&A, 2, 2, ORVO_BANDED, 5, ws), 0);  // rows of 5 slots
  const double d[3][3] = {{4, 1, 0}, {1, 4, 1}, {0, 1, 4}};
  for (int i = 0; i <= 2; ++i)
    for (int s = 0; s < 5; ++s) {
      const int j = i + s - 2;  // the matrix column of slot s
      A.a[i][s] = (j >= 0 && j <= 2) ? d[i][j] : 0.0;
    }
  ASSERT_EQ(M_rmainv(&A, 0, &A, ws), 0);
  EXPECT_EQ(A.type, ORVO_FULL);
  for (int i = 0; i <= 2; ++i)
    for (int j = 0; j <= 2; ++j) {
      double s = 0.0;
      for (int k = 0; k <= 2; ++k) s += d[i][k] * A.a[k][j];
      EXPECT_NEAR(s, i == j ? 1.0 : 0.0, 1e-14) << i << "," << j;
    }
}

// A point count whose knot vector would have a highest index beyond int32.
TEST(Robustness, CurveOnPointsRefusesAKnotIndexBeyondInt32) {
  Workspace ws;
  CURVE cur;
  U_inicur(&cur);
  const POINT pts[2] = {{0, 0, 0}, {1, 1, 1}};
  EXPECT_EQ(N_curpoi(pts, INT32_MAX, 3, &cur, ws), 1);
  EXPECT_TRUE(orvo_test::HasError(14, "N_CURPOI"));
}

// A record without an element table prints its header and no elements.
TEST(Robustness, PrintingAMatrixWithoutTable) {
  RMATRIX r;
  M_makrma(&r, 1, 1, nullptr, ORVO_FULL, 1);
  ::testing::internal::CaptureStdout();
  M_prtrma(&r);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "1 1\nfull      \n1\n");
}
