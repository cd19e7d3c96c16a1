// Trimmed-surface tessellation: a non-rational bicubic patch (8 x 8 net over
// a 10 x 10 square, a dome with a ripple) trimmed by the four boundary lines
// of its domain and a circular hole of four rational quadratic arcs, meshed
// with chord and flatness tolerance 1e-3 and 1e-4 of the surface's size
// (the larger of its mean control-polygon lengths, N_tesesa). The time is
// that of one whole tessellation (N_tessur, then N_tesbat for the triangle
// list, then the release of the mesh). Counters: triangles, triangles per
// second, time per triangle, the absolute tolerance, the measured chord
// error (below) and the mesh area.
//
// When OCCT is available the same surface becomes a Geom_BSplineSurface
// face with the same natural outer boundary and the same four arcs as
// pcurves of its hole, meshed by BRepMesh_IncrementalMesh with the same
// (absolute) linear deflection and OCCT's default angular deflection. Both
// meshes are measured in the same way: at every triangle's three edge
// midpoints and centroid, the distance from the point on the flat triangle
// to the surface, found by a Gauss-Newton foot-point search on Orvo's
// evaluator started at the matching parameter-plane point.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "orvo/orvo.h"

#ifdef ORVO_BENCH_WITH_OCCT
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakeWire.hxx>
#include <BRepLib.hxx>
#include <BRepMesh_IncrementalMesh.hxx>
#include <BRepTools.hxx>
#include <Geom2d_BSplineCurve.hxx>
#include <Geom_BSplineSurface.hxx>
#include <TColStd_Array1OfInteger.hxx>
#include <TColStd_Array1OfReal.hxx>
#include <TColgp_Array1OfPnt2d.hxx>
#include <TColgp_Array2OfPnt.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Wire.hxx>

#include <sstream>
#endif

namespace {

constexpr int kNet = 8;  // control points per direction
constexpr int kDegree = 3;
constexpr double kSide = 10.0;                               // model-space width of the net
constexpr double kHoleU = 0.5, kHoleV = 0.5, kHoleR = 0.25;  // hole in the parameter plane

// The trimmed patch in Orvo's records. Built once and never moved: the
// records point into its own arrays.
struct TrimmedPatch {
  std::vector<CPOINT> block;
  std::vector<CPOINT *> rows;
  std::vector<double> U;  // the same clamped uniform knots in u and v
  CNET net{};
  KNOTVECTOR knu{}, knv{};
  SURFACE sur{};
  double size = 0.0;

  // Trimming curves: 0..3 the boundary lines (counter-clockwise), 4..7 the
  // quarter arcs of the hole (clockwise, so the mesh lies on the left).
  CPOINT cpts[4][2] = {}, arcs[4][3] = {};
  double line_knots[4] = {0, 0, 1, 1}, arc_knots[6] = {0, 0, 0, 1, 1, 1};
  CPOLYGON pols[8] = {};
  KNOTVECTOR knts[8] = {};
  CURVE curves[8] = {};
  CURVE *outer_loop[4] = {}, *hole_loop[4] = {};

  TrimmedPatch() {
    block.resize(kNet * kNet);
    for (int i = 0; i < kNet; ++i) rows.push_back(block.data() + i * kNet);
    const double pi = std::acos(-1.0), h = kSide / (kNet - 1);
    for (int i = 0; i < kNet; ++i)
      for (int j = 0; j < kNet; ++j) {
        const double a = static_cast<double>(i) / (kNet - 1),
                     b = static_cast<double>(j) / (kNet - 1);
        const double z = 1.5 * std::sin(pi * a) * std::sin(pi * b) + 0.6 * std::cos(2 * pi * b) * a;
        rows[i][j] = CPOINT{i * h, j * h, z, -DBL_MAX};
      }
    U.assign(kDegree + 1, 0.0);
    for (int k = 1; k < kNet - kDegree; ++k) U.push_back(static_cast<double>(k) / (kNet - kDegree));
    U.insert(U.end(), kDegree + 1, 1.0);
    net = CNET{kNet - 1, kNet - 1, rows.data()};
    knu = knv = KNOTVECTOR{static_cast<int32_t>(U.size()) - 1, U.data()};
    sur = SURFACE{&net, kDegree, kDegree, &knu, &knv};
    double A = 0.0, Lu = 0.0, Lv = 0.0;
    N_tesesa(&sur, &A, &Lu, &Lv);
    size = std::max(Lu, Lv);

    const double corner[5][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}};
    const double w = std::sqrt(0.5);
    for (int k = 0; k < 4; ++k) {
      for (int e = 0; e < 2; ++e)
        cpts[k][e] = CPOINT{corner[k + e][0], corner[k + e][1], DBL_MAX, -DBL_MAX};
      pols[k] = CPOLYGON{1, cpts[k]};
      knts[k] = KNOTVECTOR{3, line_knots};
      curves[k] = CURVE{&pols[k], 1, &knts[k]};
      outer_loop[k] = &curves[k];
      // Quarter arc k runs clockwise from angle -k·90° to -(k+1)·90°; its
      // middle control point sits at the corner of the enclosing square.
      const double t0 = -k * pi / 2, t1 = t0 - pi / 2, tm = t0 - pi / 4;
      const double r2 = kHoleR * std::sqrt(2.0);
      arcs[k][0] =
          CPOINT{kHoleU + kHoleR * std::cos(t0), kHoleV + kHoleR * std::sin(t0), DBL_MAX, 1};
      arcs[k][1] =
          CPOINT{w * (kHoleU + r2 * std::cos(tm)), w * (kHoleV + r2 * std::sin(tm)), DBL_MAX, w};
      arcs[k][2] =
          CPOINT{kHoleU + kHoleR * std::cos(t1), kHoleV + kHoleR * std::sin(t1), DBL_MAX, 1};
      pols[4 + k] = CPOLYGON{2, arcs[k]};
      knts[4 + k] = KNOTVECTOR{5, arc_knots};
      curves[4 + k] = CURVE{&pols[4 + k], 2, &knts[4 + k]};
      hole_loop[k] = &curves[4 + k];
    }
  }
};

TrimmedPatch &patch() {
  static TrimmedPatch p;
  return p;
}

// Relative tolerance of a benchmark run: 10^-range(0).
double relative_tolerance(const benchmark::State &state) {
  return std::pow(10.0, -static_cast<double>(state.range(0)));
}

// A triangle mesh on the patch: per node its surface parameters and model
// point, three node indices per triangle.
struct Mesh {
  std::vector<double> u, v;
  std::vector<POINT> xyz;
  std::vector<int32_t> tri;
};

double clamp01(double x) { return std::min(1.0, std::max(0.0, x)); }

int16_t side(double t) { return t < 1.0 ? 1 : 2; }

VECTOR diff(const POINT &a, const POINT &b) { return VECTOR{a.x - b.x, a.y - b.y, a.z - b.z}; }
double dot(const VECTOR &a, const VECTOR &b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// Distance from Q to the surface: Gauss-Newton on |S(u, v) - Q|^2 from the
// start (u, v), clamped to the domain. Every evaluated point is a surface
// point, so the smallest distance seen bounds the true one from above.
double surface_distance(const SURFACE *sur, const POINT &Q, double u, double v) {
  double best = DBL_MAX;
  POINT S[2][2], *SKL[2] = {S[0], S[1]};
  for (int it = 0; it < 8; ++it) {
    if (N_surder(sur, u, v, side(u), side(v), 1, 1, 1, SKL)) break;
    const VECTOR r = diff(S[0][0], Q);
    const VECTOR su{S[1][0].x, S[1][0].y, S[1][0].z}, sv{S[0][1].x, S[0][1].y, S[0][1].z};
    best = std::min(best, std::sqrt(dot(r, r)));
    const double a = dot(su, su), b = dot(su, sv), c = dot(sv, sv);
    const double g1 = dot(su, r), g2 = dot(sv, r), det = a * c - b * b;
    if (!(det > 1e-300)) break;
    const double du = -(c * g1 - b * g2) / det, dv = -(a * g2 - b * g1) / det;
    if (std::fabs(du) + std::fabs(dv) < 1e-14) break;
    u = clamp01(u + du);
    v = clamp01(v + dv);
  }
  return best;
}

// Largest distance to the surface of the edge midpoints and centroids of
// all triangles, and the total area of the triangles.
void measure(const Mesh &m, double *chord_error, double *area) {
  const SURFACE *sur = &patch().sur;
  double worst = 0.0, total = 0.0;
  static const double kWeights[4][3] = {
      {0.5, 0.5, 0.0}, {0.0, 0.5, 0.5}, {0.5, 0.0, 0.5}, {1.0 / 3, 1.0 / 3, 1.0 / 3}};
  for (std::size_t t = 0; t + 2 < m.tri.size(); t += 3) {
    const int32_t n[3] = {m.tri[t], m.tri[t + 1], m.tri[t + 2]};
    const VECTOR e1 = diff(m.xyz[n[1]], m.xyz[n[0]]), e2 = diff(m.xyz[n[2]], m.xyz[n[0]]);
    const VECTOR cr{e1.y * e2.z - e1.z * e2.y, e1.z * e2.x - e1.x * e2.z,
                    e1.x * e2.y - e1.y * e2.x};
    total += 0.5 * std::sqrt(dot(cr, cr));
    for (const auto &w : kWeights) {
      POINT Q{0, 0, 0};
      double u = 0.0, v = 0.0;
      for (int k = 0; k < 3; ++k) {
        Q.x += w[k] * m.xyz[n[k]].x, Q.y += w[k] * m.xyz[n[k]].y, Q.z += w[k] * m.xyz[n[k]].z;
        u += w[k] * m.u[n[k]], v += w[k] * m.v[n[k]];
      }
      worst = std::max(worst, surface_distance(sur, Q, u, v));
    }
  }
  *chord_error = worst;
  *area = total;
}

// Figures shared by both contenders' benchmarks: the absolute tolerance,
// triangles, rate, time per triangle, measured chord error and area of one
// mesh.
void set_counters(benchmark::State &state, const Mesh &m) {
  state.counters["tol"] = relative_tolerance(state) * patch().size;
  double chord_error = 0.0, area = 0.0;
  measure(m, &chord_error, &area);
  const double triangles = static_cast<double>(m.tri.size() / 3);
  state.counters["triangles"] = triangles;
  state.counters["tri/s"] =
      benchmark::Counter(triangles, benchmark::Counter::kIsIterationInvariantRate);
  state.counters["s/tri"] = benchmark::Counter(
      triangles, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["chord_err"] = chord_error;
  state.counters["area"] = area;
}

// One tessellation by Orvo; the mesh stays in ws. Returns 0 on success.
struct OrvoRun {
  double *u = nullptr, *v = nullptr;
  int32_t np = -1, **nb = nullptr, *c = nullptr;
  int32_t *t0 = nullptr, *t1 = nullptr, *t2 = nullptr, last = -1;

  int16_t operator()(double tol, STACKS *ws) {
    TrimmedPatch &tp = patch();
    CURVE **outer[1] = {tp.outer_loop};
    CURVE **hole[1] = {tp.hole_loop};
    CURVE ***holes[1] = {hole};
    int32_t nouter[1] = {3}, nholes[1] = {0}, hole_last[1] = {3}, *nhcur[1] = {hole_last};
    const double abs_tol = tol * tp.size;
    if (N_tessur(&tp.sur, outer, holes, 0, nouter, nholes, nhcur, abs_tol, abs_tol, 0.1 * tol, &u,
                 &v, &np, &nb, &c, ws))
      return 1;
    return N_tesbat(nb, c, np, &t0, &t1, &t2, &last, ws);
  }
};

// The mesh of a tessellation, mapped from the metric parameter plane back
// to surface parameters (clamped: trimming points may lie a hair outside).
Mesh orvo_mesh(const OrvoRun &run) {
  const TrimmedPatch &tp = patch();
  double A = 0.0, Lu = 1.0, Lv = 1.0;
  N_tesesa(&tp.sur, &A, &Lu, &Lv);
  Mesh m;
  for (int32_t i = 0; i <= run.np; ++i) {
    const double u = clamp01(run.u[i] / Lu), v = clamp01(run.v[i] / Lv);
    POINT P{};
    N_surevn(&tp.sur, u, v, side(u), side(v), &P);
    m.u.push_back(u);
    m.v.push_back(v);
    m.xyz.push_back(P);
  }
  for (int32_t k = 0; k <= run.last; ++k)
    m.tri.insert(m.tri.end(), {run.t0[k], run.t1[k], run.t2[k]});
  return m;
}

// Orvo at tol / scale: the flatness test bounds the patch's distance from a
// plane, and a triangle may lie up to twice that from the surface, so a
// scale of 1.5 brings Orvo's measured chord error to about OCCT's.
void orvo_tessur(benchmark::State &state, double scale) {
  const double tol = relative_tolerance(state) / scale;
  STACKS ws;
  N_inurbs(&ws);
  OrvoRun first;
  if (first(tol, &ws)) {
    const char *routine = nullptr;
    int32_t code = 0;
    E_GetOrvoError(&routine, &code);
    state.SkipWithError(
        (std::string("tessellation failed: error ") + std::to_string(code) + " in " + routine)
            .c_str());
    N_enurbs(&ws);
    return;
  }
  const Mesh m = orvo_mesh(first);
  N_enurbs(&ws);
  std::size_t failures = 0;
  for (auto _ : state) {
    OrvoRun run;
    failures += run(tol, &ws);
    benchmark::DoNotOptimize(run.last);
    N_enurbs(&ws);
  }
  if (failures) state.SkipWithError("tessellation failed");
  set_counters(state, m);
}
void BM_Orvo_tessur(benchmark::State &state) { orvo_tessur(state, 1.0); }
void BM_Orvo_tessur_matched(benchmark::State &state) { orvo_tessur(state, 1.5); }
BENCHMARK(BM_Orvo_tessur)->ArgNames({"tol_exp"})->Arg(3)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Orvo_tessur_matched)
    ->ArgNames({"tol_exp"})
    ->Arg(3)
    ->Arg(4)
    ->Unit(benchmark::kMillisecond);

#ifdef ORVO_BENCH_WITH_OCCT
// The patch as an OCCT face: the B-spline surface with its natural
// boundary, and the hole's four rational arcs as pcurves of an inner wire.
TopoDS_Face occt_face() {
  const TrimmedPatch &tp = patch();
  TColgp_Array2OfPnt poles(1, kNet, 1, kNet);
  for (int i = 0; i < kNet; ++i)
    for (int j = 0; j < kNet; ++j)
      poles.SetValue(i + 1, j + 1, gp_Pnt(tp.rows[i][j].x, tp.rows[i][j].y, tp.rows[i][j].z));
  const int nk = kNet - kDegree + 1;  // distinct knots
  TColStd_Array1OfReal knots(1, nk);
  TColStd_Array1OfInteger mults(1, nk);
  for (int k = 0; k < nk; ++k) {
    knots.SetValue(k + 1, static_cast<double>(k) / (nk - 1));
    mults.SetValue(k + 1, k == 0 || k == nk - 1 ? kDegree + 1 : 1);
  }
  Handle(Geom_BSplineSurface) surface =
      new Geom_BSplineSurface(poles, knots, knots, mults, mults, kDegree, kDegree);
  const TopoDS_Face natural = BRepBuilderAPI_MakeFace(surface, 1e-7);

  BRepBuilderAPI_MakeWire wire;
  TColStd_Array1OfReal arc_knots(1, 2);
  TColStd_Array1OfInteger arc_mults(1, 2);
  arc_knots.SetValue(1, 0.0), arc_knots.SetValue(2, 1.0);
  arc_mults.SetValue(1, 3), arc_mults.SetValue(2, 3);
  for (int k = 0; k < 4; ++k) {
    TColgp_Array1OfPnt2d arc_poles(1, 3);
    TColStd_Array1OfReal weights(1, 3);
    for (int e = 0; e < 3; ++e) {
      const CPOINT &q = tp.arcs[k][e];  // weighted coordinates
      arc_poles.SetValue(e + 1, gp_Pnt2d(q.x / q.w, q.y / q.w));
      weights.SetValue(e + 1, q.w);
    }
    Handle(Geom2d_BSplineCurve) arc =
        new Geom2d_BSplineCurve(arc_poles, weights, arc_knots, arc_mults, 2);
    wire.Add(BRepBuilderAPI_MakeEdge(arc, surface).Edge());
  }
  const TopoDS_Wire hole = wire.Wire();
  BRepLib::BuildCurves3d(hole);
  return BRepBuilderAPI_MakeFace(natural, hole).Face();
}

// The mesh that BRepMesh left on the face, or an empty one. It is read
// from the face's text (BREP) form, nodes, their parameters and triangles
// written to 15 digits: this keeps the benchmark off the triangulation
// class, whose header needs a file that some OCCT packages do not ship.
Mesh occt_mesh(const TopoDS_Face &face) {
  Mesh m;
  std::ostringstream out;
  BRepTools::Write(face, out, Standard_True, Standard_False, TopTools_FormatVersion_VERSION_2);
  const std::string text = out.str();
  const std::size_t at = text.find("\nTriangulations ");
  if (at == std::string::npos) return m;
  std::istringstream in(text.substr(at + 16));
  int count = 0, nodes = 0, triangles = 0, has_uv = 0;
  double deflection = 0.0;
  if (!(in >> count >> nodes >> triangles >> has_uv >> deflection) || count < 1 || !has_uv)
    return m;
  m.xyz.resize(nodes);
  m.u.resize(nodes);
  m.v.resize(nodes);
  for (POINT &p : m.xyz) in >> p.x >> p.y >> p.z;
  for (int i = 0; i < nodes; ++i) in >> m.u[i] >> m.v[i];
  m.tri.resize(3 * static_cast<std::size_t>(triangles));
  for (int32_t &k : m.tri) in >> k;
  for (int32_t &k : m.tri) k -= 1;  // 1-based in the file
  const bool valid = !in.fail() && std::all_of(m.tri.begin(), m.tri.end(),
                                               [&](int32_t k) { return k >= 0 && k < nodes; });
  if (!valid) return Mesh{};
  for (int i = 0; i < nodes; ++i) m.u[i] = clamp01(m.u[i]), m.v[i] = clamp01(m.v[i]);
  return m;
}

void BM_OCCT_IncrementalMesh(benchmark::State &state) {
  const double deflection = relative_tolerance(state) * patch().size;
  const TopoDS_Face face = occt_face();
  BRepMesh_IncrementalMesh(face, deflection, Standard_False, 0.5, Standard_False);
  const Mesh m = occt_mesh(face);
  if (m.tri.empty()) {
    state.SkipWithError("OCCT left no triangulation with parameter nodes");
    return;
  }
  for (auto _ : state) {
    state.PauseTiming();
    BRepTools::Clean(face);
    state.ResumeTiming();
    BRepMesh_IncrementalMesh mesher(face, deflection, Standard_False, 0.5, Standard_False);
    benchmark::DoNotOptimize(mesher.IsDone());
  }
  set_counters(state, m);
}
BENCHMARK(BM_OCCT_IncrementalMesh)
    ->ArgNames({"tol_exp"})
    ->Arg(3)
    ->Arg(4)
    ->Unit(benchmark::kMillisecond);
#endif

}  // namespace
