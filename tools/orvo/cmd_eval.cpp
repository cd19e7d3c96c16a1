// orvo eval FILE (--at U[,V] ... | --samples N) [--ders K]: points and
// derivatives of a curve or surface as CSV.
#include <cstdio>
#include <memory>

#include "common.hpp"

namespace orvo::cli {

namespace {

struct EvalOptions {
  std::string file, out;
  std::vector<std::string> at;
  long samples = 0;
  int ders = 0;
};

// Evenly spaced values over [a, b], both ends included.
std::vector<double> spaced(double a, double b, long count) {
  std::vector<double> t;
  for (long i = 0; i < count; ++i)
    t.push_back(count == 1 ? a : i == count - 1 ? b : a + (b - a) * i / (count - 1));
  return t;
}

// At the upper end of a domain the left limit is the one that exists.
int16_t side_at(double t, double hi) { return t == hi ? 2 : 1; }

void put_xyz(std::string &line, const POINT &P) {
  line += "," + num(P.x) + "," + num(P.y) + "," + num(P.z);
}

void eval_curve(const CURVE *cur, const EvalOptions &o, std::string &csv) {
  double a, b;
  curve_domain(cur, a, b);
  std::vector<double> us;
  for (const std::string &s : o.at) us.push_back(to_double(s, "--at"));
  if (o.samples > 0) us = spaced(a, b, o.samples);
  std::string header = "u,x,y,z";
  for (int k = 1; k <= o.ders; ++k)
    for (const char *c : {"x", "y", "z"}) header += ",d" + std::to_string(k) + c;
  csv += header + "\n";
  for (double u : us) {
    POINT CK[6];
    check(N_curder(cur, u, side_at(u, b), static_cast<int16_t>(o.ders), CK), o.file,
          "cannot evaluate at u = " + num(u));
    std::string line = num(u);
    for (int k = 0; k <= o.ders; ++k) put_xyz(line, CK[k]);
    csv += line + "\n";
  }
}

void eval_surface(SURFACE *sur, const EvalOptions &o, std::string &csv) {
  double u0, u1, v0, v1;
  surface_domain(sur, u0, u1, v0, v1);
  std::vector<std::pair<double, double>> uv;
  for (const std::string &s : o.at) {
    const std::vector<double> p = to_doubles(s, ',', "--at");
    if (p.size() != 2) usage("--at: a surface needs U,V, not '" + s + "'");
    uv.emplace_back(p[0], p[1]);
  }
  if (o.samples > 1000) usage("--samples: at most 1000 per direction on a surface");
  if (o.samples > 0)
    for (double u : spaced(u0, u1, o.samples))
      for (double v : spaced(v0, v1, o.samples)) uv.emplace_back(u, v);
  // Columns Su.., Sv.., Suu.., Suv.., Svv.., ...: every pair a + b = k.
  std::string header = "u,v,x,y,z";
  for (int k = 1; k <= o.ders; ++k)
    for (int a = k; a >= 0; --a)
      for (const char *c : {"x", "y", "z"})
        header += ",S" + std::string(a, 'u') + std::string(k - a, 'v') + "_" + c;
  csv += header + "\n";
  POINT table[6][6], *rows[6];
  for (int i = 0; i < 6; ++i) rows[i] = table[i];
  const auto d = static_cast<int16_t>(o.ders);
  for (const auto &[u, v] : uv) {
    check(N_surder(sur, u, v, side_at(u, u1), side_at(v, v1), 1, d, d, rows), o.file,
          "cannot evaluate at (u, v) = (" + num(u) + ", " + num(v) + ")");
    std::string line = num(u) + "," + num(v);
    put_xyz(line, table[0][0]);
    for (int k = 1; k <= o.ders; ++k)
      for (int a = k; a >= 0; --a) put_xyz(line, table[a][k - a]);
    csv += line + "\n";
  }
}

void run_eval(const EvalOptions &o) {
  if (o.at.empty() == (o.samples == 0)) usage("give either --at or --samples");
  Geometry g;
  const FileKind kind = kind_of(o.file);
  if (kind != FileKind::curve && kind != FileKind::surface)
    fail(o.file, "not a curve (.crv) or surface (.sur) file");
  load(o.file, g);
  // Every row is computed before anything is written: a failure leaves
  // no partial table behind.
  std::string csv;
  if (kind == FileKind::curve)
    eval_curve(g.curves[0], o, csv);
  else
    eval_surface(g.surfaces[0], o, csv);
  std::unique_ptr<FILE, int (*)(FILE *)> file(nullptr, fclose);
  FILE *out = stdout;
  if (!o.out.empty()) {
    file.reset(std::fopen(o.out.c_str(), "w"));
    if (!file) fail(o.out, "cannot be written");
    out = file.get();
  }
  std::fputs(csv.c_str(), out);
  if (std::ferror(out) || (file && std::fclose(file.release()) != 0))
    fail(o.out.empty() ? "standard output" : o.out, "write error");
}

}  // namespace

Command add_eval(CLI::App &app) {
  auto o = std::make_shared<EvalOptions>();
  CLI::App *sub = app.add_subcommand(
      "eval", "Points and derivatives of a curve (.crv) or surface (.sur) as CSV");
  sub->add_option("FILE", o->file, "the curve or surface")->required();
  auto *at = sub->add_option("--at", o->at, "parameter U (curve) or U,V (surface); repeatable");
  auto *samples = sub->add_option("--samples", o->samples,
                                  "N parameters evenly over the domain (N x N on a surface)")
                      ->check(CLI::Range(1L, 100000L));
  at->excludes(samples);
  sub->add_option("--ders", o->ders, "highest derivative order K (0..5)")->check(CLI::Range(0, 5));
  sub->add_option("-o,--output", o->out, "write the CSV to this file instead of stdout");
  return {sub, [o] { run_eval(*o); }};
}

}  // namespace orvo::cli
