// SVG pictures: geometry is projected onto a plane, collected as polylines,
// markers and segments in model units, then scaled to fit the picture with
// y upwards and a scale bar of a round length below it.
#include "lib/svg.hpp"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <set>

#include "lib/store.hpp"

namespace orvo::tools {

namespace {

using P2 = std::array<double, 2>;

// The projection of a model-space point or vector onto the picture plane.
struct Projection {
  char plane;
  P2 operator()(double x, double y, double z) const {
    switch (plane) {
      case 'y':
        return {z, x};
      case 'x':
        return {y, z};
      case 'i':
        return {(y - x) / std::sqrt(2.0), (2 * z - x - y) / std::sqrt(6.0)};
      default:
        return {x, y};
    }
  }
  P2 operator()(const POINT &p) const { return (*this)(p.x, p.y, p.z == ORVO_Z2D ? 0 : p.z); }
};

struct Polyline {
  std::vector<P2> points;
  const char *style;
};

// What a picture holds, in projected model units.
struct Picture {
  std::vector<Polyline> lines;
  std::vector<P2> dots;                     // knots: small circles
  std::vector<std::array<P2, 2>> segments;  // wireframe or comb teeth
  const char *segment_style = "stroke=\"#888\" stroke-width=\"0.6\"";
};

const char *kCurve = "stroke=\"black\" stroke-width=\"1.5\"";
const char *kPolygon = "stroke=\"#1f77b4\" stroke-width=\"0.8\" stroke-dasharray=\"5,3\"";
const char *kComb = "stroke=\"#d62728\" stroke-width=\"0.6\"";

// Euclidean image of a control point (2-D: z = 0).
POINT euclid(const CPOINT &c) {
  const double w = c.w == ORVO_WNR ? 1 : c.w, z = c.z == ORVO_Z2D ? 0 : c.z;
  return POINT{c.x / w, c.y / w, z / w};
}

// The distinct knots within [U[p], U[m-p]].
std::vector<double> breaks(const KNOTVECTOR *knt, int p) {
  std::vector<double> b;
  for (int32_t i = p; i <= knt->m - p; ++i)
    if (b.empty() || knt->U[i] > b.back()) b.push_back(knt->U[i]);
  return b;
}

// Parameters for a dense sampling: at least 400 in all, 8 per span.
std::vector<double> samples(const std::vector<double> &b) {
  std::vector<double> t;
  const size_t spans = b.size() > 1 ? b.size() - 1 : 1;
  const size_t per = std::max<size_t>(8, (400 + spans - 1) / spans);
  for (size_t s = 0; s + 1 < b.size(); ++s)
    for (size_t k = 0; k < per; ++k) t.push_back(b[s] + (b[s + 1] - b[s]) * double(k) / per);
  t.push_back(b.back());
  return t;
}

std::string fmt(const char *format, double a, double b = 0, double c = 0, double d = 0) {
  char s[160];
  std::snprintf(s, sizeof s, format, a, b, c, d);
  return s;
}

// The round length (1, 2 or 5 times a power of ten) at most x.
double round_length(double x) {
  const double e = std::pow(10.0, std::floor(std::log10(x)));
  return x >= 5 * e ? 5 * e : x >= 2 * e ? 2 * e : e;
}

bool write_picture(const Picture &pic, const PlotOptions &o, const std::string &path,
                   std::string &error) {
  double lo[2] = {DBL_MAX, DBL_MAX}, hi[2] = {-DBL_MAX, -DBL_MAX};
  auto grow = [&](const P2 &p) {
    for (int c = 0; c < 2; ++c) lo[c] = std::min(lo[c], p[c]), hi[c] = std::max(hi[c], p[c]);
  };
  for (const auto &l : pic.lines) std::for_each(l.points.begin(), l.points.end(), grow);
  std::for_each(pic.dots.begin(), pic.dots.end(), grow);
  for (const auto &s : pic.segments) grow(s[0]), grow(s[1]);
  if (lo[0] > hi[0]) {
    error = path + ": nothing to draw";
    return false;
  }
  if (!std::isfinite(hi[0] - lo[0]) || !std::isfinite(hi[1] - lo[1])) {
    error = path + ": coordinates too large to draw";
    return false;
  }
  const double width = std::clamp(o.width, 100, 20000), margin = 0.05 * width + 10,
               extent = std::max(hi[0] - lo[0], hi[1] - lo[1]);
  const double span = extent > 0 ? extent : 1;  // a single point: any scale
  const double scale = (width - 2 * margin) / span,
               height = (hi[1] - lo[1]) * scale + 2 * margin + 40;
  // Model units to picture coordinates, centred, y upwards.
  const double ox = margin + (width - 2 * margin - (hi[0] - lo[0]) * scale) / 2,
               oy = height - 40 - margin;
  auto X = [&](const P2 &p) { return ox + (p[0] - lo[0]) * scale; };
  auto Y = [&](const P2 &p) { return oy - (p[1] - lo[1]) * scale; };

  std::string s =
      fmt("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%.0f\" height=\"%.0f\" "
          "viewBox=\"0 0 %.0f %.0f\">\n",
          width, height, width, height);
  s += fmt("<rect width=\"%.0f\" height=\"%.0f\" fill=\"white\"/>\n", width, height);
  if (!pic.segments.empty()) {
    s += std::string("<path fill=\"none\" ") + pic.segment_style + " d=\"";
    for (const auto &g : pic.segments)
      s += fmt("M%.2f %.2fL%.2f %.2f", X(g[0]), Y(g[0]), X(g[1]), Y(g[1]));
    s += "\"/>\n";
  }
  for (const auto &l : pic.lines) {
    s += std::string("<polyline fill=\"none\" ") + l.style + " points=\"";
    for (const auto &p : l.points) s += fmt("%.2f,%.2f ", X(p), Y(p));
    s.back() = '"';
    s += "/>\n";
  }
  for (const auto &d : pic.dots)
    s += fmt("<circle cx=\"%.2f\" cy=\"%.2f\" r=\"3\" fill=\"none\" stroke=\"#2ca02c\"/>\n", X(d),
             Y(d));
  // The scale bar: a round length near a fifth of the picture's width.
  const double bar = round_length(0.2 * (width - 2 * margin) / scale), bx = margin,
               by = height - margin / 2 - 10;
  s += fmt("<path stroke=\"black\" fill=\"none\" d=\"M%.2f %.2fv6h%.2fv-6\"/>\n", bx, by - 6,
           bar * scale);
  s +=
      fmt("<text x=\"%.2f\" y=\"%.2f\" font-family=\"sans-serif\" font-size=\"12\">", bx, by + 14) +
      fmt("%g", bar) + "</text>\n</svg>\n";

  std::ofstream f(path, std::ios::trunc);
  if (f) f << s;
  if (f) f.close();
  if (!f) {
    error = path + ": cannot be written";
    return false;
  }
  return true;
}

bool library_failure(const std::string &path, std::string &error) {
  error = path + ": " + library_error();
  return false;
}

// Curvature comb: at each sample a tooth along the projected normal, on the
// side away from the centre of curvature, its length proportional to the
// curvature of the projected curve; the longest 15% of the picture.
bool comb(const CURVE *cur, const Projection &proj, const std::vector<double> &t, Picture &pic) {
  std::vector<std::array<double, 4>> teeth;  // foot x, y, direction times curvature
  double kmax = 0;
  for (double u : t) {
    POINT CK[3];
    if (N_curder(cur, u, 1, 2, CK)) return false;
    const P2 p = proj(CK[0]), d1 = proj(CK[1]), d2 = proj(CK[2]);
    const double speed = std::hypot(d1[0], d1[1]);
    if (!(speed > 1e-300)) continue;
    const double k = (d1[0] * d2[1] - d1[1] * d2[0]) / (speed * speed * speed);
    if (!std::isfinite(k)) continue;
    teeth.push_back({p[0], p[1], d1[1] / speed * k, -d1[0] / speed * k});
    kmax = std::max(kmax, std::fabs(k));
  }
  double lo[2] = {DBL_MAX, DBL_MAX}, hi[2] = {-DBL_MAX, -DBL_MAX};
  for (const auto &l : pic.lines)
    for (const auto &p : l.points)
      for (int c = 0; c < 2; ++c) lo[c] = std::min(lo[c], p[c]), hi[c] = std::max(hi[c], p[c]);
  const double extent = std::max(hi[0] - lo[0], hi[1] - lo[1]);
  if (!(kmax > 0) || !(extent > 0)) return true;  // straight: no teeth
  const double f = 0.15 * extent / kmax;
  Polyline tips{{}, kComb};
  for (const auto &q : teeth) {
    const P2 foot{q[0], q[1]}, tip{q[0] + f * q[2], q[1] + f * q[3]};
    pic.segments.push_back({foot, tip});
    tips.points.push_back(tip);
  }
  pic.lines.push_back(tips);
  pic.segment_style = kComb;
  return true;
}

}  // namespace

bool plot_curve(const CURVE *cur, const PlotOptions &options, const std::string &path,
                std::string &error) {
  if (!cur || !cur->pol || !cur->knt || cur->pol->n < 0 || cur->p < 0 ||
      cur->knt->m != cur->pol->n + cur->p + 1) {
    error = path + ": the curve record is empty or inconsistent";
    return false;
  }
  const Projection proj{options.plane};
  const std::vector<double> b = breaks(cur->knt, cur->p), t = samples(b);
  Picture pic;
  Polyline line{{}, kCurve};
  for (double u : t) {
    POINT P;
    if (N_curevn(cur, u, 1, &P)) return library_failure(path, error);
    line.points.push_back(proj(P));
  }
  pic.lines.push_back(line);
  if (options.curvature && !comb(cur, proj, t, pic)) return library_failure(path, error);
  if (options.ctrl) {
    Polyline poly{{}, kPolygon};
    for (int32_t i = 0; i <= cur->pol->n; ++i) poly.points.push_back(proj(euclid(cur->pol->Pw[i])));
    pic.lines.push_back(poly);
  }
  for (size_t k = 0; options.knots && k < b.size(); ++k) {
    POINT P;
    if (N_curevn(cur, b[k], 1, &P)) return library_failure(path, error);
    pic.dots.push_back(proj(P));
  }
  return write_picture(pic, options, path, error);
}

bool plot_surface(const SURFACE *sur, const PlotOptions &options, const std::string &path,
                  std::string &error) {
  if (!sur || !sur->net || !sur->knu || !sur->knv || sur->net->n < 0 || sur->net->m < 0 ||
      sur->p < 0 || sur->q < 0 || sur->knu->m != sur->net->n + sur->p + 1 ||
      sur->knv->m != sur->net->m + sur->q + 1) {
    error = path + ": the surface record is empty or inconsistent";
    return false;
  }
  const Projection proj{options.plane};
  const std::vector<double> bu = breaks(sur->knu, sur->p), bv = breaks(sur->knv, sur->q);
  const std::vector<double> tu = samples(bu), tv = samples(bv);
  const int lines = std::clamp(options.isolines, 0, 1000);
  Picture pic;
  // Isolines at lines interior parameters per direction, then the boundary.
  for (int dir = 0; dir < 2; ++dir) {
    const std::vector<double> &b = dir ? bv : bu, &along = dir ? tu : tv;
    for (int k = 0; k <= lines + 1; ++k) {
      const double c = b.front() + (b.back() - b.front()) * k / (lines + 1);
      Polyline iso{{}, k == 0 || k == lines + 1 ? kCurve : "stroke=\"#444\" stroke-width=\"0.7\""};
      for (double t : along) {
        POINT P;
        if (N_surevn(sur, dir ? t : c, dir ? c : t, 1, 1, &P)) return library_failure(path, error);
        iso.points.push_back(proj(P));
      }
      pic.lines.push_back(iso);
    }
  }
  for (int dir = 0; options.ctrl && dir < 2; ++dir) {
    const CNET *net = sur->net;
    for (int32_t i = 0; i <= (dir ? net->m : net->n); ++i) {
      Polyline poly{{}, kPolygon};
      for (int32_t j = 0; j <= (dir ? net->n : net->m); ++j)
        poly.points.push_back(proj(euclid(dir ? net->Pw[j][i] : net->Pw[i][j])));
      pic.lines.push_back(poly);
    }
  }
  for (size_t i = 0; options.knots && i < bu.size(); ++i)
    for (double v : bv) {
      POINT P;
      if (N_surevn(sur, bu[i], v, 1, 1, &P)) return library_failure(path, error);
      pic.dots.push_back(proj(P));
    }
  return write_picture(pic, options, path, error);
}

bool plot_mesh(const Mesh &mesh, const PlotOptions &options, const std::string &path,
               std::string &error) {
  const Projection proj{options.plane};
  std::set<std::pair<int32_t, int32_t>> edges;
  for (const auto &t : mesh.triangles)
    for (int k = 0; k < 3; ++k) {
      const int32_t a = t[k], b = t[(k + 1) % 3];
      if (a < 0 || b < 0 || size_t(std::max(a, b)) >= mesh.vertices.size()) {
        error = path + ": a triangle refers to a vertex that does not exist";
        return false;
      }
      edges.insert({std::min(a, b), std::max(a, b)});
    }
  Picture pic;
  pic.segment_style = "stroke=\"#333\" stroke-width=\"0.5\"";
  for (const auto &e : edges) {
    const auto &a = mesh.vertices[e.first], &b = mesh.vertices[e.second];
    pic.segments.push_back({proj(a[0], a[1], a[2]), proj(b[0], b[1], b[2])});
  }
  return write_picture(pic, options, path, error);
}

}  // namespace orvo::tools
