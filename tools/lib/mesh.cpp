// Tessellation of a trimmed surface into a model-space mesh, and the OBJ,
// PLY and binary STL readers and writers.
#include "lib/mesh.hpp"

#include <algorithm>
#include <cfloat>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

#include "lib/store.hpp"

namespace orvo::tools {

namespace {

using Vec = std::array<double, 3>;

Vec sub(const Vec &a, const Vec &b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
Vec cross(const Vec &a, const Vec &b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
double norm(const Vec &a) { return std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]); }

// a / |a|, or fallback when a has no length.
Vec unit(const Vec &a, const Vec &fallback) {
  const double l = norm(a);
  return l > 0 && std::isfinite(l) ? Vec{a[0] / l, a[1] / l, a[2] / l} : fallback;
}

// Twice the area vector of a triangle of the mesh.
Vec face_normal(const Mesh &m, const std::array<int32_t, 3> &t) {
  return cross(sub(m.vertices[t[1]], m.vertices[t[0]]), sub(m.vertices[t[2]], m.vertices[t[0]]));
}

// Vertex normals as the area-weighted mean of the faces around each vertex,
// for the vertices whose flag is set (all when flags is empty).
void normals_from_faces(Mesh &m, const std::vector<bool> &flags) {
  std::vector<Vec> sum(m.vertices.size(), Vec{0, 0, 0});
  for (const auto &t : m.triangles) {
    const Vec n = face_normal(m, t);
    for (int32_t i : t)
      for (int c = 0; c < 3; ++c) sum[i][c] += n[c];
  }
  m.normals.resize(m.vertices.size(), Vec{0, 0, 1});
  for (size_t i = 0; i < sum.size(); ++i)
    if (flags.empty() || flags[i]) m.normals[i] = unit(sum[i], Vec{0, 0, 1});
}

// A 2-D straight trimming curve from a to b in the parameter plane.
struct Side {
  CPOINT P[2];
  double U[4] = {0, 0, 1, 1};
  CPOLYGON pol{1, P};
  KNOTVECTOR knt{3, U};
  CURVE cur{&pol, 1, &knt};
  Side(double au, double av, double bu, double bv)
      : P{{au, av, ORVO_Z2D, ORVO_WNR}, {bu, bv, ORVO_Z2D, ORVO_WNR}} {}
};

// Unit normal of sur at (u, v). At a degenerate point (a pole, a collapsed
// edge) the normal of a nearby point towards the middle of the domain.
bool surface_normal(const SURFACE *sur, double u, double v, const double dom[4], Vec &n) {
  const double cu = (dom[0] + dom[1]) / 2, cv = (dom[2] + dom[3]) / 2;
  for (double step : {0.0, 1e-7, 1e-5, 1e-3}) {
    POINT P;
    VECTOR Su, Sv, N;
    if (N_surnor(sur, u + step * (cu - u), v + step * (cv - v), 1, 1, &P, &Su, &Sv, &N) == 0) {
      n = {N.x, N.y, N.z};
      return true;
    }
    E_clrerr();
  }
  return false;
}

bool fail_with(std::string &error, const std::string &what) {
  error = what;
  return false;
}

}  // namespace

bool tessellate(const SURFACE *sur, const std::vector<std::vector<CURVE *>> &loops, double chord,
                double flat, Mesh &mesh, std::string &error) {
  if (!(chord > 0 && flat > 0 && chord <= 1 && flat <= 1))
    return fail_with(error, "tolerances must lie in (0, 1] as fractions of the surface's size");
  double A, Lu, Lv, dom[4];
  if (N_tesesa(sur, &A, &Lu, &Lv)) return fail_with(error, library_error());
  const double size = std::max(Lu, Lv);
  if (!(size > 0 && std::isfinite(size)))
    return fail_with(error, "the surface's control net has no extent");
  U_surpar(sur, &dom[0], &dom[1], &dom[2], &dom[3]);

  // The outer loop, or the domain's boundary counter-clockwise.
  std::vector<std::unique_ptr<Side>> sides;
  std::vector<CURVE *> outer = loops.empty() ? std::vector<CURVE *>{} : loops[0];
  if (outer.empty()) {
    const double cu[5] = {dom[0], dom[1], dom[1], dom[0], dom[0]},
                 cv[5] = {dom[2], dom[2], dom[3], dom[3], dom[2]};
    for (int k = 0; k < 4; ++k) {
      sides.push_back(std::make_unique<Side>(cu[k], cv[k], cu[k + 1], cv[k + 1]));
      outer.push_back(&sides.back()->cur);
    }
  }
  std::vector<CURVE **> hole_lists;
  std::vector<int32_t> hole_last;
  for (size_t h = 1; h < loops.size(); ++h)
    if (!loops[h].empty()) {
      hole_lists.push_back(const_cast<CURVE **>(loops[h].data()));
      hole_last.push_back(int32_t(loops[h].size()) - 1);
    }
  CURVE **outer_list[1] = {outer.data()};
  CURVE ***holes[1] = {hole_lists.empty() ? nullptr : hole_lists.data()};
  int32_t nouter[1] = {int32_t(outer.size()) - 1}, nholes[1] = {int32_t(hole_lists.size()) - 1};
  int32_t *nhcur[1] = {hole_last.empty() ? nullptr : hole_last.data()};

  Store store;
  double *u, *v;
  int32_t np, **nb, *c, *t[3], nt;
  const double ctol = std::max(chord * size, 2 * POINT_TOLERANCE),
               ftol = std::max(flat * size, 2 * POINT_TOLERANCE);
  if (N_tessur(sur, outer_list, holes, 0, nouter, nholes, nhcur, ctol, ftol, std::min(1e-4, chord),
               &u, &v, &np, &nb, &c, store.ws()) ||
      N_tesbat(nb, c, np, &t[0], &t[1], &t[2], &nt, store.ws()))
    return fail_with(error, library_error());

  // The points in the mesh, evaluated at their surface parameters.
  Mesh part;
  std::vector<int32_t> index(size_t(np) + 1, -1);
  std::vector<bool> no_normal;
  for (int32_t i = 0; i <= np; ++i) {
    if (nb[i][0] < 0) continue;
    const double pu = std::clamp(dom[0] + u[i] * (dom[1] - dom[0]) / Lu, dom[0], dom[1]),
                 pv = std::clamp(dom[2] + v[i] * (dom[3] - dom[2]) / Lv, dom[2], dom[3]);
    POINT P;
    if (N_surevn(sur, pu, pv, 1, 1, &P)) return fail_with(error, library_error());
    Vec n{0, 0, 1};
    no_normal.push_back(!surface_normal(sur, pu, pv, dom, n));
    index[i] = int32_t(part.vertices.size());
    part.vertices.push_back({P.x, P.y, P.z});
    part.normals.push_back(n);
  }
  for (int32_t k = 0; k <= nt; ++k) {
    std::array<int32_t, 3> tri;
    for (int c = 0; c < 3; ++c) tri[c] = t[c][k] >= 0 && t[c][k] <= np ? index[t[c][k]] : -1;
    if (std::min({tri[0], tri[1], tri[2]}) < 0)
      return fail_with(error, "the tessellator gave a triangle on a point outside the mesh");
    part.triangles.push_back(tri);
  }
  if (std::find(no_normal.begin(), no_normal.end(), true) != no_normal.end())
    normals_from_faces(part, no_normal);

  const int32_t offset = int32_t(mesh.vertices.size());
  for (auto &tri : part.triangles)
    mesh.triangles.push_back({tri[0] + offset, tri[1] + offset, tri[2] + offset});
  mesh.vertices.insert(mesh.vertices.end(), part.vertices.begin(), part.vertices.end());
  mesh.normals.insert(mesh.normals.end(), part.normals.begin(), part.normals.end());
  return true;
}

double area(const Mesh &mesh) {
  double a = 0;
  for (const auto &t : mesh.triangles) a += norm(face_normal(mesh, t)) / 2;
  return a;
}

// ---- Writers ----------------------------------------------------------------

namespace {

std::string extension(const std::string &path) {
  const size_t dot = path.find_last_of('.'), slash = path.find_last_of('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  std::string e = path.substr(dot + 1);
  for (char &ch : e) ch = char(std::tolower(static_cast<unsigned char>(ch)));
  return e;
}

void put_le(std::string &out, const void *p, size_t n) {  // little-endian bytes of a scalar
  unsigned char b[8];
  std::memcpy(b, p, n);
  const uint16_t probe = 1;
  unsigned char first;
  std::memcpy(&first, &probe, 1);
  if (first != 1) std::reverse(b, b + n);
  out.append(reinterpret_cast<const char *>(b), n);
}

template <typename T>
T get_le(const unsigned char *p) {
  unsigned char b[sizeof(T)];
  std::memcpy(b, p, sizeof(T));
  const uint16_t probe = 1;
  unsigned char first;
  std::memcpy(&first, &probe, 1);
  if (first != 1) std::reverse(b, b + sizeof(T));
  T value;
  std::memcpy(&value, b, sizeof(T));
  return value;
}

void append_f(std::string &out, const char *format, double a, double b, double c) {
  char line[128];
  std::snprintf(line, sizeof line, format, a, b, c);
  out += line;
}

std::string obj_text(const Mesh &m) {
  std::string out = "# orvo mesh: " + std::to_string(m.vertices.size()) + " vertices, " +
                    std::to_string(m.triangles.size()) + " triangles\n";
  for (const auto &p : m.vertices) append_f(out, "v %.10g %.10g %.10g\n", p[0], p[1], p[2]);
  for (const auto &n : m.normals) append_f(out, "vn %.7g %.7g %.7g\n", n[0], n[1], n[2]);
  for (const auto &t : m.triangles) {
    const std::string a = std::to_string(t[0] + 1), b = std::to_string(t[1] + 1),
                      c = std::to_string(t[2] + 1);
    out += "f " + a + "//" + a + " " + b + "//" + b + " " + c + "//" + c + "\n";
  }
  return out;
}

std::string ply_text(const Mesh &m) {
  std::string out = "ply\nformat ascii 1.0\ncomment orvo mesh\nelement vertex " +
                    std::to_string(m.vertices.size()) +
                    "\nproperty float x\nproperty float y\nproperty float z\n"
                    "property float nx\nproperty float ny\nproperty float nz\nelement face " +
                    std::to_string(m.triangles.size()) +
                    "\nproperty list uchar int vertex_indices\nend_header\n";
  for (size_t i = 0; i < m.vertices.size(); ++i) {
    const auto &p = m.vertices[i], &n = m.normals[i];
    append_f(out, "%.9g %.9g %.9g", p[0], p[1], p[2]);
    append_f(out, " %.7g %.7g %.7g\n", n[0], n[1], n[2]);
  }
  for (const auto &t : m.triangles)
    out += "3 " + std::to_string(t[0]) + " " + std::to_string(t[1]) + " " + std::to_string(t[2]) +
           "\n";
  return out;
}

std::string stl_bytes(const Mesh &m) {
  std::string out(80, ' ');
  out.replace(0, 15, "orvo binary STL");
  const uint32_t count = uint32_t(m.triangles.size());
  put_le(out, &count, 4);
  for (const auto &t : m.triangles) {
    const Vec n = unit(face_normal(m, t), Vec{0, 0, 0});
    for (int c = 0; c < 3; ++c) {
      const float f = float(n[c]);
      put_le(out, &f, 4);
    }
    for (int32_t i : t)
      for (int c = 0; c < 3; ++c) {
        const float f = float(m.vertices[i][c]);
        put_le(out, &f, 4);
      }
    out += std::string(2, '\0');
  }
  return out;
}

}  // namespace

bool write_mesh(const std::string &path, const Mesh &mesh, std::string &error) {
  const std::string ext = extension(path);
  if (ext != "stl" && mesh.normals.size() != mesh.vertices.size())
    return fail_with(error, path + ": the mesh has not one normal per vertex");
  for (const auto &t : mesh.triangles)
    for (int32_t i : t)
      if (i < 0 || size_t(i) >= mesh.vertices.size())
        return fail_with(error, path + ": a triangle refers to a vertex that does not exist");
  if (ext == "stl" && mesh.triangles.size() > UINT32_MAX)
    return fail_with(error, path + ": too many triangles for STL");
  std::string data;
  if (ext == "obj")
    data = obj_text(mesh);
  else if (ext == "ply")
    data = ply_text(mesh);
  else if (ext == "stl")
    data = stl_bytes(mesh);
  else
    return fail_with(error, path + ": unknown mesh format (use .obj, .ply or .stl)");
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  if (f) f.write(data.data(), std::streamsize(data.size()));
  if (f) f.close();
  if (!f) return fail_with(error, path + ": cannot be written");
  return true;
}

// ---- Readers ----------------------------------------------------------------

namespace {

constexpr size_t kMaxFileBytes = size_t(1) << 31;  // 2 GiB
constexpr size_t kMaxItems = size_t(1) << 26;      // vertices or triangles

// Reads a whole file, bounded in size.
bool slurp(const std::string &path, std::string &data, std::string &error) {
  std::ifstream f(path, std::ios::binary);
  if (!f) return fail_with(error, path + ": cannot be opened");
  f.seekg(0, std::ios::end);
  const std::streamoff size = f.tellg();
  if (size < 0 || size_t(size) > kMaxFileBytes)
    return fail_with(error, path + ": cannot be read or is too large");
  f.seekg(0);
  data.resize(size_t(size));
  if (!f.read(&data[0], size)) return fail_with(error, path + ": cannot be read");
  return true;
}

// A text file taken line by line, with the line number for errors.
struct Lines {
  std::istringstream in;
  std::string line, path;
  long number = 0;
  explicit Lines(const std::string &text, const std::string &p) : in(text), path(p) {}
  bool next() {
    if (!std::getline(in, line)) return false;
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
  }
  bool fail(std::string &error, const std::string &what) const {
    return fail_with(error, path + ": line " + std::to_string(number) + ": " + what);
  }
};

// The whole of token as a finite number.
bool to_double(const std::string &token, double &x) {
  if (token.empty()) return false;
  char *end = nullptr;
  x = std::strtod(token.c_str(), &end);
  return end == token.c_str() + token.size() && std::isfinite(x);
}

bool to_long(const std::string &token, long long lo, long long hi, long long &x) {
  if (token.empty()) return false;
  char *end = nullptr;
  errno = 0;
  x = std::strtoll(token.c_str(), &end, 10);
  return errno == 0 && end == token.c_str() + token.size() && x >= lo && x <= hi;
}

std::vector<std::string> split(const std::string &line) {
  std::istringstream s(line);
  std::vector<std::string> out;
  for (std::string w; s >> w;) out.push_back(w);
  return out;
}

// Faces of more than three corners are split into a fan.
bool add_polygon(Mesh &m, const std::vector<int32_t> &corners) {
  for (size_t k = 1; k + 1 < corners.size(); ++k)
    m.triangles.push_back({corners[0], corners[k], corners[k + 1]});
  return m.triangles.size() <= kMaxItems;
}

// One OBJ index (1-based, or negative: counted back from the last).
bool obj_index(const std::string &s, size_t count, int32_t &out) {
  long long i;
  if (!to_long(s, -(long long)count, (long long)count, i) || i == 0) return false;
  out = int32_t(i > 0 ? i - 1 : (long long)count + i);
  return true;
}

bool read_obj(Lines &in, Mesh &m, std::string &error) {
  std::vector<Vec> vn;
  std::vector<bool> has_normal;
  bool any_normal = false;
  while (in.next()) {
    const auto w = split(in.line);
    if (w.empty() || w[0][0] == '#') continue;
    if (w[0] == "v" || w[0] == "vn") {
      Vec p;
      if (w.size() < 4 || !to_double(w[1], p[0]) || !to_double(w[2], p[1]) ||
          !to_double(w[3], p[2]))
        return in.fail(error, "expected three numbers after '" + w[0] + "'");
      (w[0] == "v" ? m.vertices : vn).push_back(p);
      if (m.vertices.size() > kMaxItems || vn.size() > kMaxItems)
        return in.fail(error, "too many vertices");
    } else if (w[0] == "f") {
      std::vector<int32_t> corners;
      has_normal.resize(m.vertices.size(), false);
      m.normals.resize(m.vertices.size(), Vec{0, 0, 1});
      for (size_t k = 1; k < w.size(); ++k) {
        const std::string &c = w[k];
        const size_t s1 = c.find('/'), s2 = s1 == std::string::npos ? s1 : c.find('/', s1 + 1);
        int32_t vi, ni;
        if (!obj_index(c.substr(0, s1), m.vertices.size(), vi))
          return in.fail(error, "bad vertex index '" + c + "'");
        if (s2 != std::string::npos) {
          if (!obj_index(c.substr(s2 + 1), vn.size(), ni))
            return in.fail(error, "bad normal index '" + c + "'");
          m.normals[vi] = unit(vn[ni], Vec{0, 0, 1});
          has_normal[vi] = any_normal = true;
        }
        corners.push_back(vi);
      }
      if (corners.size() < 3) return in.fail(error, "a face needs three corners");
      if (!add_polygon(m, corners)) return in.fail(error, "too many faces");
    }
  }
  has_normal.resize(m.vertices.size(), false);
  for (auto &&h : has_normal) h = !h;
  normals_from_faces(m, any_normal ? has_normal : std::vector<bool>{});
  return true;
}

// An element of a PLY header: its name, count and properties (list
// properties hold their count and index types).
struct PlyElement {
  std::string name;
  long long count = 0;
  std::vector<std::string> props;
  bool list = false;
};

bool read_ply(Lines &in, Mesh &m, std::string &error) {
  std::vector<PlyElement> elements;
  if (!in.next() || in.line != "ply") return in.fail(error, "not a PLY file");
  for (bool end = false; !end;) {
    if (!in.next()) return in.fail(error, "the header has no end_header");
    const auto w = split(in.line);
    if (w.empty() || w[0] == "comment" || w[0] == "obj_info") continue;
    if (w[0] == "end_header")
      end = true;
    else if (w[0] == "format") {
      if (w.size() < 2 || w[1] != "ascii") return in.fail(error, "only ASCII PLY is read");
    } else if (w[0] == "element") {
      PlyElement e;
      if (w.size() != 3 || !to_long(w[2], 0, (long long)kMaxItems, e.count))
        return in.fail(error, "bad element line");
      e.name = w[1];
      elements.push_back(e);
    } else if (w[0] == "property" && !elements.empty() && w.size() >= 3) {
      PlyElement &e = elements.back();
      e.list = e.list || w[1] == "list";
      e.props.push_back(w.back());
    } else
      return in.fail(error, "unexpected header line");
  }
  for (const PlyElement &e : elements) {
    const bool vertex = e.name == "vertex", face = e.name == "face";
    if (vertex && e.list) return in.fail(error, "list properties of vertices are not read");
    auto column = [&](const char *name) {
      return int(std::find(e.props.begin(), e.props.end(), name) - e.props.begin());
    };
    const int xyz[6] = {column("x"),  column("y"),  column("z"),
                        column("nx"), column("ny"), column("nz")};
    const bool normals = xyz[3] < int(e.props.size()) && xyz[4] < int(e.props.size()) &&
                         xyz[5] < int(e.props.size());
    if (vertex && std::max({xyz[0], xyz[1], xyz[2]}) >= int(e.props.size()))
      return in.fail(error, "the vertices have no x, y and z");
    for (long long k = 0; k < e.count; ++k) {
      if (!in.next()) return in.fail(error, "the file ends before all " + e.name + " lines");
      const auto w = split(in.line);
      if (vertex) {
        double x[6] = {0, 0, 0, 0, 0, 1};
        if (w.size() != e.props.size()) return in.fail(error, "wrong number of vertex values");
        for (int c = 0; c < (normals ? 6 : 3); ++c)
          if (!to_double(w[xyz[c]], x[c])) return in.fail(error, "bad number '" + w[xyz[c]] + "'");
        m.vertices.push_back({x[0], x[1], x[2]});
        m.normals.push_back(unit({x[3], x[4], x[5]}, Vec{0, 0, 1}));
      } else if (face) {
        long long n, i;
        std::vector<int32_t> corners;
        if (w.empty() || !to_long(w[0], 3, 255, n) || w.size() < size_t(n) + 1)
          return in.fail(error, "bad face line");
        for (long long c = 1; c <= n; ++c) {
          if (!to_long(w[c], 0, (long long)m.vertices.size() - 1, i))
            return in.fail(error, "bad vertex index '" + w[c] + "'");
          corners.push_back(int32_t(i));
        }
        if (!add_polygon(m, corners)) return in.fail(error, "too many faces");
      }
    }
  }
  return true;
}

bool read_stl(const std::string &path, const std::string &data, Mesh &m, std::string &error) {
  if (data.size() < 84)
    return fail_with(error, path + ": byte " + std::to_string(data.size()) +
                                ": file ends inside the 84-byte STL header");
  const auto *bytes = reinterpret_cast<const unsigned char *>(data.data());
  const uint32_t count = get_le<uint32_t>(bytes + 80);
  if (count > kMaxItems || data.size() != 84 + 50 * size_t(count))
    return fail_with(error, path + ": byte 80: the triangle count " + std::to_string(count) +
                                " does not match the file size of a binary STL file");
  std::map<std::array<float, 3>, int32_t> seen;
  for (uint32_t k = 0; k < count; ++k) {
    const unsigned char *r = bytes + 84 + 50 * size_t(k);
    std::array<int32_t, 3> tri;
    for (int c = 0; c < 3; ++c) {
      std::array<float, 3> p;
      for (int d = 0; d < 3; ++d) p[d] = get_le<float>(r + 12 * (c + 1) + 4 * d);
      if (!std::isfinite(p[0]) || !std::isfinite(p[1]) || !std::isfinite(p[2]))
        return fail_with(error, path + ": byte " + std::to_string(84 + 50 * size_t(k)) +
                                    ": a vertex is not a finite number");
      auto it = seen.emplace(p, int32_t(m.vertices.size())).first;
      if (it->second == int32_t(m.vertices.size())) m.vertices.push_back({p[0], p[1], p[2]});
      tri[c] = it->second;
    }
    m.triangles.push_back(tri);
  }
  normals_from_faces(m, {});
  return true;
}

}  // namespace

bool read_mesh(const std::string &path, Mesh &mesh, std::string &error) {
  const std::string ext = extension(path);
  if (ext != "obj" && ext != "ply" && ext != "stl")
    return fail_with(error, path + ": unknown mesh format (use .obj, .ply or .stl)");
  std::string data;
  if (!slurp(path, data, error)) return false;
  Mesh m;
  Lines lines(ext == "stl" ? std::string() : data, path);
  const bool ok = ext == "stl"   ? read_stl(path, data, m, error)
                  : ext == "obj" ? read_obj(lines, m, error)
                                 : read_ply(lines, m, error);
  if (!ok) return false;
  mesh = std::move(m);
  return true;
}

}  // namespace orvo::tools
