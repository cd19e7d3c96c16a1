// Eight threads at once, each evaluating, refining, fitting or tessellating
// with a workspace of its own and failing on purpose after every piece of
// work: each must read exactly its own error, never a neighbour's, and get
// the results a single thread gets. Run under ThreadSanitizer as well.
#include <atomic>
#include <cmath>
#include <thread>

#include "tess/mesh_validator.hpp"

using orvo_test::HasError;
using orvo_test::Workspace;

namespace {

struct Outcome {
  double value = 0;  // a number that sums up the work's result
  int16_t status = 1;
};

// One kind of work per thread: its successful call and its failing call
// with the code and tag the failure must leave.
struct Job {
  const char *name;
  Outcome (*work)();
  int16_t (*fail)();
  int32_t code;
  const char *tag;
};

evaltest::CurveData &curve() {
  static evaltest::CurveData c(
      {{0, 0, 0, 1}, {1, 2, 0, 1}, {2, -1, 1, 1}, {3, 3, 0, 1}, {4, 0, 2, 1}},
      {0, 0, 0, 0, .4, 1, 1, 1, 1}, 3);
  return c;
}

Outcome evaluate() {
  Outcome o{0, 0};
  for (int k = 0; k <= 64 && o.status == 0; ++k) {
    POINT P;
    o.status = N_curevn(&curve().cur, k / 64.0, 1, &P);
    o.value += P.x + 2 * P.y + 3 * P.z;
  }
  return o;
}

Outcome split() {
  Workspace ws;
  CURVE a, b;
  U_inicur(&a);
  U_inicur(&b);
  Outcome o;
  o.status = N_toocsp(&curve().cur, 0.37, &a, &b, &ws);
  for (int32_t i = 0; o.status == 0 && i <= b.pol->n; ++i)
    o.value += (i + 1) * (b.pol->Pw[i].x + b.pol->Pw[i].y) + b.knt->U[i];
  return o;
}

Outcome fit() {
  POINT Q[12];
  for (int i = 0; i < 12; ++i) Q[i] = POINT{double(i), std::sin(i * 0.5), std::cos(i * 0.3)};
  Workspace ws;
  CURVE c;
  U_inicur(&c);
  Outcome o;
  o.status = N_fitgci(Q, 11, 3, 2, &c, &ws);
  for (int32_t i = 0; o.status == 0 && i <= c.pol->n; ++i) o.value += c.pol->Pw[i].y * (i + 1);
  return o;
}

Outcome tessellate() {
  static const auto S = tesstest::make_surface(2);
  tesstest::Trims T(&S->sur);
  const tesstest::Loops L{{T('b'), T('c', .4, .5, .2)}};
  Workspace ws;
  tesstest::Mesh m;
  Outcome o;
  o.status = tesstest::tessellate(&S->sur, L, 3e-3, 3e-3, 1e-4, m, &ws);
  for (int32_t i = 0; o.status == 0 && i <= m.np; ++i) o.value += m.u[i] + 2 * m.v[i];
  return o;
}

const Job kJobs[] = {
    {"evaluate", evaluate,
     [] {
       POINT P;
       return N_curevn(&curve().cur, 2.0, 1, &P);
     },
     6, "N_CUREVN"},
    {"split", split,
     [] {
       Workspace ws;
       CURVE out;
       U_inicur(&out);
       return N_toocsg(&curve().cur, 0.5, 0.5, &out, &ws, &ws);
     },
     14, "N_TOOCSG"},
    {"fit", fit,
     [] {
       POINT D[7];
       return N_curder(&curve().cur, 0.5, 1, 6, D);
     },
     20, "N_CURDER"},
    {"tessellate", tessellate,
     [] {
       POINT Q[2] = {{0, 0, 0}, {1, 1, 1}};
       Workspace ws;
       CURVE c;
       U_inicur(&c);
       return N_fitgci(Q, 1, 3, 2, &c, &ws);
     },
     14, "N_FITGCI"},
};

}  // namespace

TEST(Threads, EachThreadReadsItsOwnErrorsAndResults) {
  constexpr int kJobsCount = sizeof kJobs / sizeof kJobs[0];
  Outcome expected[kJobsCount];
  for (int j = 0; j < kJobsCount; ++j) {
    expected[j] = kJobs[j].work();
    ASSERT_EQ(expected[j].status, 0) << kJobs[j].name;
  }
  E_clrerr();

  constexpr int kThreads = 8, kRounds = 40;
  std::atomic<int> ready{0};
  int bad[kThreads] = {};
  std::string first[kThreads];
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&, t] {
      const Job &job = kJobs[t % kJobsCount];
      const Outcome &want = expected[t % kJobsCount];
      ready.fetch_add(1);
      while (ready.load() < kThreads) std::this_thread::yield();
      for (int r = 0; r < kRounds; ++r) {
        const Outcome got = job.work();
        const bool same = got.status == 0 && got.value == want.value && HasError(0, " ");
        const bool failed = job.fail() == 1 && HasError(job.code, job.tag);
        E_clrerr();
        if (!(same && failed) && bad[t]++ == 0)
          first[t] = std::string(job.name) + (same ? ": wrong error" : ": wrong result");
      }
    });
  for (auto &th : threads) th.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(bad[t], 0) << "thread " << t << ", " << first[t];
}
