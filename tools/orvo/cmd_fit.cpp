// orvo fit / fitsurf: interpolation of points (a grid) by a curve
// (surface), or least-squares approximation with a given number of control
// points.
#include <cmath>
#include <cstdio>
#include <map>

#include "common.hpp"
#include "lib/points_io.hpp"

namespace orvo::cli {

namespace {

struct FitOptions {
  std::string file, out, degree = "3", ctrl;
  int param = 2;
};

const std::map<std::string, int> param_types{{"uniform", 1}, {"chord", 2}, {"centripetal", 3}};

// "A" or "A,B" of whole numbers >= 1 (B = A when absent).
std::pair<int32_t, int32_t> one_or_two(const std::string &text, const std::string &option) {
  const std::vector<double> v = to_doubles(text, ',', option);
  if (v.size() > 2) usage(option + ": give one or two numbers, not '" + text + "'");
  for (double x : v)
    if (x != std::floor(x) || x < 1 || x > 1e8)
      usage(option + ": '" + text + "' is not a positive whole number");
  return {static_cast<int32_t>(v[0]), static_cast<int32_t>(v.back())};
}

double distance(const POINT &a, const POINT &b) {
  return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) +
                   (a.z - b.z) * (a.z - b.z));
}

void add_common(CLI::App *sub, FitOptions &o, const char *what, const char *degree,
                const char *ctrl) {
  sub->add_option("POINTS", o.file, what)->required();
  sub->add_option("-o,--output", o.out, "the fitted record's file")->required();
  sub->add_option("--degree", o.degree, degree);
  sub->add_option("--ctrl", o.ctrl, ctrl);
  sub->add_option("--param", o.param, "parametrisation: uniform, chord (default) or centripetal")
      ->transform(CLI::CheckedTransformer(param_types));
}

void run_fit(const FitOptions &o) {
  const int32_t p = one_or_two(o.degree, "--degree").first;
  std::vector<POINT> Q;
  std::string error;
  if (!tools::read_points(o.file, Q, error)) throw Failure(error);
  const auto n = static_cast<int32_t>(Q.size()) - 1;
  if (n < 1) fail(o.file, "at least two points are needed");
  if (p > MAXDEGREE) usage("--degree: at most " + std::to_string(MAXDEGREE));
  tools::Store store;
  CURVE cur;
  U_inicur(&cur);
  const auto deg = static_cast<int16_t>(p), ptype = static_cast<int16_t>(o.param);
  if (o.ctrl.empty()) {
    check(
        N_fitgci(Q.data(), n, deg, ptype, &cur, store.ws()), o.file,
        "cannot interpolate " + std::to_string(n + 1) + " points with degree " + std::to_string(p));
  } else {
    const int32_t count = one_or_two(o.ctrl, "--ctrl").first;
    check(N_fitgca(Q.data(), n, count - 1, deg, ptype, &cur, store.ws()), o.file,
          "cannot approximate " + std::to_string(n + 1) + " points by " + std::to_string(count) +
              " control points of degree " + std::to_string(p));
  }
  std::vector<double> t(Q.size());
  check(N_fitcpa(Q.data(), n, 1, ptype, t.data()), o.file, "cannot parametrise the points");
  double worst = 0.0;
  for (int32_t k = 0; k <= n; ++k) {
    POINT P;
    check(N_curevn(&cur, t[k], t[k] == t[n] ? 2 : 1, &P), o.file, "cannot evaluate the fit");
    worst = std::max(worst, distance(P, Q[k]));
  }
  check(U_outcur(&cur, o.out.c_str()), o.out, "cannot write the curve");
  std::printf("%s: %ld points, degree %d, %ld control points, largest deviation %s\n",
              o.out.c_str(), static_cast<long>(n) + 1, p, static_cast<long>(cur.pol->n) + 1,
              num(worst).c_str());
}

void run_fitsurf(const FitOptions &o) {
  const auto [p, q] = one_or_two(o.degree, "--degree");
  if (p > MAXDEGREE || q > MAXDEGREE) usage("--degree: at most " + std::to_string(MAXDEGREE));
  std::vector<std::vector<POINT>> grid;
  std::string error;
  if (!tools::read_grid(o.file, grid, error)) throw Failure(error);
  if (grid.size() < 2 || grid[0].size() < 2) fail(o.file, "the grid needs at least 2 x 2 points");
  std::vector<POINT *> rows;
  for (auto &row : grid) {
    if (row.size() != grid[0].size()) fail(o.file, "the grid's rows differ in length");
    rows.push_back(row.data());
  }
  const auto r = static_cast<int32_t>(grid.size()) - 1;
  const auto s = static_cast<int32_t>(grid[0].size()) - 1;
  const auto ptype = static_cast<int16_t>(o.param);
  tools::Store store;
  SURFACE sur;
  U_inisur(&sur);
  const std::string size = std::to_string(r + 1) + " x " + std::to_string(s + 1);
  if (o.ctrl.empty()) {
    check(N_fitgsi(rows.data(), r, s, static_cast<int16_t>(p), static_cast<int16_t>(q), ptype, &sur,
                   store.ws()),
          o.file, "cannot interpolate the " + size + " grid");
  } else {
    const auto [n, m] = one_or_two(o.ctrl, "--ctrl");
    check(N_fitgsa(rows.data(), r, s, n - 1, m - 1, static_cast<int16_t>(p),
                   static_cast<int16_t>(q), ptype, &sur, store.ws()),
          o.file, "cannot approximate the " + size + " grid");
  }
  std::vector<double> uk(grid.size()), vl(grid[0].size());
  check(N_fitspa(rows.data(), r, s, 1, ptype, uk.data(), vl.data()), o.file,
        "cannot parametrise the grid");
  double worst = 0.0;
  for (int32_t i = 0; i <= r; ++i)
    for (int32_t j = 0; j <= s; ++j) {
      POINT P;
      check(N_surevn(&sur, uk[i], vl[j], uk[i] == uk[r] ? 2 : 1, vl[j] == vl[s] ? 2 : 1, &P),
            o.file, "cannot evaluate the fit");
      worst = std::max(worst, distance(P, grid[i][j]));
    }
  check(U_outsur(&sur, o.out.c_str()), o.out, "cannot write the surface");
  std::printf("%s: %s grid, degrees %d, %d, %ld x %ld control points, largest deviation %s\n",
              o.out.c_str(), size.c_str(), p, q, static_cast<long>(sur.net->n) + 1,
              static_cast<long>(sur.net->m) + 1, num(worst).c_str());
}

}  // namespace

Command add_fit(CLI::App &app) {
  auto o = std::make_shared<FitOptions>();
  CLI::App *sub = app.add_subcommand(
      "fit", "Interpolate points by a curve, or approximate them with --ctrl N control points");
  add_common(sub, *o, "points: the library's point file (.pts) or CSV/XYZ columns",
             "degree P (default 3)", "least squares with N control points");
  return {sub, [o] { run_fit(*o); }};
}

Command add_fitsurf(CLI::App &app) {
  auto o = std::make_shared<FitOptions>();
  CLI::App *sub = app.add_subcommand(
      "fitsurf", "Interpolate a grid of points by a surface, or approximate it (--ctrl N[,M])");
  add_common(sub, *o, "grid: columns with blank lines between rows, or a point net file",
             "degrees P[,Q] (default 3)", "least squares with N x M control points (N[,M])");
  return {sub, [o] { run_fitsurf(*o); }};
}

}  // namespace orvo::cli
