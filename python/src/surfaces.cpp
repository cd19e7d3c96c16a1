// The Surface class: construction from numpy arrays, properties, evaluation
// over broadcast parameter arrays, the refinement tools, fitting,
// inversion, the surface constructions and tessellation.
#include <pybind11/stl.h>

#include <cmath>
#include <limits>
#include <vector>

#include "binding.hpp"
#include "lib/mesh.hpp"

namespace orvo::py {

namespace {

Surface make_surface(pyb::handle ctrl, pyb::handle knots_u, pyb::handle knots_v, int p, int q,
                     pyb::handle weights) {
  Array P = to_array(ctrl, "ctrl"), U = to_array(knots_u, "knots_u"),
        V = to_array(knots_v, "knots_v");
  if (P.ndim() != 3 || P.shape(0) < 1 || P.shape(1) < 1 || P.shape(2) != 3)
    throw pyb::value_error("ctrl: expected an array of shape (n+1, m+1, 3)");
  if (U.ndim() != 1 || U.size() < 2 || V.ndim() != 1 || V.size() < 2)
    throw pyb::value_error("knots_u, knots_v: expected 1-D arrays");
  if (p < 0 || q < 0 || p > 0x7fff || q > 0x7fff)
    throw pyb::value_error("degree_u, degree_v: expected 0..28");
  const pyb::ssize_t n = P.shape(0) - 1, m = P.shape(1) - 1;
  Array W;
  const bool rational = !weights.is_none();
  if (rational) {
    W = to_array(weights, "weights");
    if (W.ndim() != 2 || W.shape(0) != n + 1 || W.shape(1) != m + 1)
      throw pyb::value_error("weights: expected an array of shape (n+1, m+1)");
  }
  Surface s = new_surface();
  check(U_surchk(&s.rec, static_cast<int32_t>(n), static_cast<int32_t>(m), static_cast<int16_t>(p),
                 static_cast<int16_t>(q), static_cast<int32_t>(U.size() - 1),
                 static_cast<int32_t>(V.size() - 1), "SURFACE", s.store->ws()));
  for (pyb::ssize_t i = 0; i <= n; ++i)
    for (pyb::ssize_t j = 0; j <= m; ++j) {
      const double *x = P.data(i, j, 0);
      const double w = rational ? *W.data(i, j) : 1.0;
      s.rec.net->Pw[i][j] = CPOINT{x[0] * w, x[1] * w, x[2] * w, rational ? w : ORVO_WNR};
    }
  std::copy(U.data(), U.data() + U.size(), s.rec.knu->U);
  std::copy(V.data(), V.data() + V.size(), s.rec.knv->U);
  check(E_surinp(&s.rec, "SURFACE"));
  return s;
}

std::pair<double, double> range(const KNOTVECTOR *k, int16_t p) {
  return {k->U[p], k->U[k->m - p]};
}

pyb::array_t<double> ctrl(const Surface &s) {
  const CNET *net = s.rec.net;
  pyb::array_t<double> out({net->n + 1, net->m + 1, 3});
  for (int32_t i = 0; i <= net->n; ++i)
    for (int32_t j = 0; j <= net->m; ++j) {
      const CPOINT &c = net->Pw[i][j];
      const double w = s.rational() ? c.w : 1.0;
      double *o = out.mutable_data(i, j, 0);
      o[0] = c.x / w, o[1] = c.y / w, o[2] = c.z / w;
    }
  return out;
}

pyb::object weights(const Surface &s) {
  if (!s.rational()) return pyb::none();
  const CNET *net = s.rec.net;
  pyb::array_t<double> out({net->n + 1, net->m + 1});
  for (int32_t i = 0; i <= net->n; ++i)
    for (int32_t j = 0; j <= net->m; ++j) *out.mutable_data(i, j) = net->Pw[i][j].w;
  return std::move(out);
}

pyb::array_t<double> bbox(const Surface &s) {
  BOX b;
  check(N_surbox(&s.rec, &b));
  pyb::array_t<double> out({2, 3});
  double *o = out.mutable_data();
  const double v[6] = {b.xmin, b.ymin, b.zmin, b.xmax, b.ymax, b.zmax};
  std::copy(v, v + 6, o);
  return out;
}

// Points (what 0) or unit normals (what 1) at the broadcast (u, v).
pyb::array_t<double> evaluate(const Surface &s, pyb::handle u, pyb::handle v, int what) {
  pyb::tuple both = pyb::module_::import("numpy").attr("broadcast_arrays")(to_array(u, "u", false),
                                                                           to_array(v, "v", false));
  Array U = to_array(both[0], "u", false), V = to_array(both[1], "v", false);
  pyb::array_t<double> out(result_shape(U, {3}));
  const double *pu = U.data(), *pv = V.data();
  double *o = out.mutable_data();
  const pyb::ssize_t k = U.size();
  bool ok = true;
  {
    pyb::gil_scoped_release unlocked;
    for (pyb::ssize_t i = 0; i < k && ok; ++i) {
      POINT P;
      VECTOR Su, Sv, N;
      if (what == 0) {
        ok = N_surevn(&s.rec, pu[i], pv[i], 1, 1, &P) == 0;
      } else {
        ok = N_surnor(&s.rec, pu[i], pv[i], 1, 1, &P, &Su, &Sv, &N) == 0;
        P = POINT{N.x, N.y, N.z};
      }
      if (ok) o[3 * i] = P.x, o[3 * i + 1] = P.y, o[3 * i + 2] = P.z;
    }
  }
  if (!ok) raise_library_error();
  return out;
}

int16_t direction(int dir) {
  if (dir != 1 && dir != 2) throw pyb::value_error("dir: expected 1 (u) or 2 (v)");
  return static_cast<int16_t>(dir);
}

Surface refine(Surface &s, pyb::handle values, int dir) {
  Array X = to_array(values, "knots");
  if (X.ndim() != 1 || X.size() < 1) throw pyb::value_error("knots: expected a 1-D array");
  std::vector<double> x(X.data(), X.data() + X.size());
  KNOTVECTOR kv{static_cast<int32_t>(x.size() - 1), x.data()};
  const int16_t d = direction(dir);
  return derive(s, [&](SURFACE *in, SURFACE *out, STACKS *wi, STACKS *wo) {
    return N_toosrf(in, &kv, d, out, wi, wo);
  });
}

pyb::tuple split(Surface &s, double t, int dir) {
  Surface a = new_surface(), b = new_surface(a.store);
  check(N_toossp(&s.rec, t, direction(dir), &a.rec, &b.rec, a.store->ws()));
  return pyb::make_tuple(a, b);
}

pyb::list to_bezier(Surface &s) {
  auto store = std::make_shared<tools::Store>();
  SURFACE ***patches = nullptr;
  int32_t lu = -1, lv = -1;
  check(N_toosdc(&s.rec, &patches, &lu, &lv, store->ws()));
  pyb::list rows;
  for (int32_t i = 0; i <= lu; ++i) {
    pyb::list row;
    for (int32_t j = 0; j <= lv; ++j) row.append(Surface{store, *patches[i][j]});
    rows.append(row);
  }
  return rows;
}

// (u, v) of the surface's point nearest to p: Newton's iteration from the
// nearest point of a sample grid.
std::tuple<double, double, POINT> invert(const Surface &s, pyb::handle point) {
  const POINT p = to_point(point, "point");
  const auto ru = range(s.rec.knu, s.rec.p), rv = range(s.rec.knv, s.rec.q);
  const int32_t nu = 4 * (s.rec.net->n + 1), nv = 4 * (s.rec.net->m + 1);
  double bu = ru.first, bv = rv.first, dmin = std::numeric_limits<double>::infinity();
  for (int32_t i = 0; i <= nu; ++i)
    for (int32_t j = 0; j <= nv; ++j) {
      const double u = ru.first + (ru.second - ru.first) * i / nu;
      const double v = rv.first + (rv.second - rv.first) * j / nv;
      POINT q;
      check(N_surevn(&s.rec, u, v, 1, 1, &q));
      const double d = std::hypot(q.x - p.x, q.y - p.y, q.z - p.z);
      if (d < dmin) dmin = d, bu = u, bv = v;
    }
  BOX b;
  check(N_surbox(&s.rec, &b));
  const double size = std::hypot(b.xmax - b.xmin, b.ymax - b.ymin, b.zmax - b.zmin);
  double u = bu, v = bv;
  POINT q;
  check(N_gprsin(&s.rec, p, bu, bv, 1e-12 * std::max(size, 1.0), 1e-12, &u, &v, &q));
  return {u, v, q};
}

std::pair<int16_t, int16_t> pair_of(pyb::handle obj, const char *what) {
  if (pyb::isinstance<pyb::int_>(obj)) {
    const int k = obj.cast<int>();
    return {static_cast<int16_t>(k), static_cast<int16_t>(k)};
  }
  const auto two = obj.cast<std::vector<int>>();
  if (two.size() != 2) throw pyb::value_error(std::string(what) + ": expected an int or two");
  return {static_cast<int16_t>(two[0]), static_cast<int16_t>(two[1])};
}

Surface fit_surface(pyb::handle grid, pyb::handle degree, pyb::object ctrl,
                    const std::string &param) {
  Array Q = to_array(grid, "grid");
  if (Q.ndim() != 3 || Q.shape(0) < 2 || Q.shape(1) < 2 || Q.shape(2) != 3)
    throw pyb::value_error("grid: expected an array of shape (r+1, s+1, 3)");
  const int16_t ptype = parametrisation(param);
  const auto pq = pair_of(degree, "degree");
  const auto r = static_cast<int32_t>(Q.shape(0) - 1), c = static_cast<int32_t>(Q.shape(1) - 1);
  std::vector<POINT> pts(static_cast<size_t>((r + 1) * (c + 1)));
  std::vector<POINT *> rows(static_cast<size_t>(r + 1));
  for (int32_t i = 0; i <= r; ++i) {
    rows[i] = &pts[static_cast<size_t>(i * (c + 1))];
    for (int32_t j = 0; j <= c; ++j) {
      const double *x = Q.data(i, j, 0);
      rows[i][j] = POINT{x[0], x[1], x[2]};
    }
  }
  Surface s = new_surface();
  if (ctrl.is_none()) {
    check(N_fitgsi(rows.data(), r, c, pq.first, pq.second, ptype, &s.rec, s.store->ws()));
  } else {
    const auto nm = pair_of(ctrl, "ctrl");
    check(N_fitgsa(rows.data(), r, c, nm.first - 1, nm.second - 1, pq.first, pq.second, ptype,
                   &s.rec, s.store->ws()));
  }
  return s;
}

// Loops of 2-D curves from trims: None, a Curve (one loop of one curve), or
// a list whose items are Curves or lists of Curves (one loop each).
std::vector<std::vector<CURVE *>> trim_loops(pyb::handle trims) {
  std::vector<std::vector<CURVE *>> loops;
  if (trims.is_none()) return loops;
  auto loop_of = [](pyb::handle item) {
    std::vector<CURVE *> loop;
    if (pyb::isinstance<Curve>(item)) {
      loop.push_back(&item.cast<Curve &>().rec);
    } else {
      for (pyb::handle c : item) {
        if (!pyb::isinstance<Curve>(c)) throw pyb::type_error("trims: expected Curve objects");
        loop.push_back(&c.cast<Curve &>().rec);
      }
    }
    for (CURVE *c : loop)
      if (c->pol->Pw[0].z != ORVO_Z2D)
        throw pyb::value_error("trims: loop curves must be 2-D (the parameter plane)");
    return loop;
  };
  if (pyb::isinstance<Curve>(trims)) {
    loops.push_back(loop_of(trims));
  } else {
    for (pyb::handle item : trims) loops.push_back(loop_of(item));
  }
  return loops;
}

pyb::tuple tessellate(const Surface &s, pyb::handle trims, double chord, double flat) {
  const auto loops = trim_loops(trims);
  tools::Mesh mesh;
  std::string error;
  bool ok;
  {
    pyb::gil_scoped_release unlocked;
    ok = tools::tessellate(&s.rec, loops, chord, flat, mesh, error);
  }
  if (!ok) raise_error_text(error, 19, "TESSELLATE");
  const auto nv = static_cast<pyb::ssize_t>(mesh.vertices.size());
  const auto nt = static_cast<pyb::ssize_t>(mesh.triangles.size());
  pyb::array_t<double> V({nv, pyb::ssize_t{3}}), N({nv, pyb::ssize_t{3}});
  pyb::array_t<int32_t> T({nt, pyb::ssize_t{3}});
  for (pyb::ssize_t i = 0; i < nv; ++i)
    for (int k = 0; k < 3; ++k) {
      *V.mutable_data(i, k) = mesh.vertices[i][k];
      *N.mutable_data(i, k) = mesh.normals[i][k];
    }
  for (pyb::ssize_t i = 0; i < nt; ++i)
    for (int k = 0; k < 3; ++k) *T.mutable_data(i, k) = mesh.triangles[i][k];
  return pyb::make_tuple(V, T, N);
}

// A unit vector perpendicular to a (for the torus's start direction).
VECTOR perpendicular(VECTOR a) {
  const VECTOR e =
      std::fabs(a.x) < 0.9 * std::hypot(a.x, a.y, a.z) ? VECTOR{1, 0, 0} : VECTOR{0, 1, 0};
  VECTOR c{a.y * e.z - a.z * e.y, a.z * e.x - a.x * e.z, a.x * e.y - a.y * e.x};
  const double l = std::hypot(c.x, c.y, c.z);
  if (!(l > 0)) throw pyb::value_error("axis: expected a non-zero vector");
  return VECTOR{c.x / l, c.y / l, c.z / l};
}

// A surface made by a construction routine f(surf, ws).
template <class F>
Surface construct(F f) {
  Surface s = new_surface();
  check(f(&s.rec, s.store->ws()));
  return s;
}

}  // namespace

void register_surfaces(pyb::module_ &m) {
  using pyb::arg;
  const std::vector<double> origin{0, 0, 0}, zaxis{0, 0, 1};
  pyb::class_<Surface>(m, "Surface", "A B-spline (NURBS) surface in 3-D.")
      .def(pyb::init(&make_surface), arg("ctrl"), arg("knots_u"), arg("knots_v"), arg("degree_u"),
           arg("degree_v"), arg("weights") = pyb::none(),
           "Surface from a control net (n+1, m+1, 3), knots along u and v, the two degrees and "
           "optional weights (n+1, m+1).")
      .def_property_readonly("degree",
                             [](const Surface &s) { return std::make_pair(s.rec.p, s.rec.q); })
      .def_property_readonly("knots",
                             [](const Surface &s) {
                               return pyb::make_tuple(
                                   pyb::array_t<double>(s.rec.knu->m + 1, s.rec.knu->U),
                                   pyb::array_t<double>(s.rec.knv->m + 1, s.rec.knv->U));
                             })
      .def_property_readonly("ctrl", &ctrl)
      .def_property_readonly("weights", &weights)
      .def_property_readonly("domain",
                             [](const Surface &s) {
                               return std::make_pair(range(s.rec.knu, s.rec.p),
                                                     range(s.rec.knv, s.rec.q));
                             })
      .def_property_readonly("is_rational", &Surface::rational)
      .def_property_readonly("bbox", &bbox)
      .def(
          "__call__",
          [](const Surface &s, pyb::handle u, pyb::handle v) { return evaluate(s, u, v, 0); },
          arg("u"), arg("v"), "Points at the broadcast (u, v): shape + (3,).")
      .def(
          "normals",
          [](const Surface &s, pyb::handle u, pyb::handle v) { return evaluate(s, u, v, 1); },
          arg("u"), arg("v"), "Unit normals Su x Sv at the broadcast (u, v).")
      .def(
          "insert_knot",
          [](Surface &s, double t, int dir, int times) {
            const int16_t d = direction(dir);
            return derive(s, [&](SURFACE *in, SURFACE *out, STACKS *wi, STACKS *wo) {
              return N_tooski(in, t, times, d, out, wi, wo);
            });
          },
          arg("t"), arg("dir") = 1, arg("times") = 1)
      .def("refine", &refine, arg("knots"), arg("dir") = 1)
      .def(
          "remove_knots",
          [](Surface &s, double tol, int dir) {
            return derive(s, [&](SURFACE *in, SURFACE *out, STACKS *, STACKS *wo) {
              return N_toosra(in, tol, static_cast<int16_t>(dir), out, wo);
            });
          },
          arg("tol"), arg("dir") = 3, "dir 1 (u), 2 (v) or 3 (both).")
      .def(
          "elevate",
          [](Surface &s, int t, int dir) {
            const int16_t d = direction(dir);
            return derive(s, [&](SURFACE *in, SURFACE *out, STACKS *wi, STACKS *wo) {
              return N_toosde(in, t, d, out, wi, wo);
            });
          },
          arg("t") = 1, arg("dir") = 1)
      .def(
          "reduce",
          [](Surface &s, double tol) {
            return derive(s, [&](SURFACE *in, SURFACE *out, STACKS *wi, STACKS *wo) {
              return N_toosda(in, tol, out, wi, wo);
            });
          },
          arg("tol"))
      .def("split", &split, arg("t"), arg("dir") = 1)
      .def(
          "segment",
          [](Surface &s, double u0, double u1, double v0, double v1) {
            return derive(s, [&](SURFACE *in, SURFACE *out, STACKS *wi, STACKS *wo) {
              return N_toossg(in, u0, u1, v0, v1, out, wi, wo);
            });
          },
          arg("u0"), arg("u1"), arg("v0"), arg("v1"))
      .def(
          "reverse",
          [](Surface &s, int dir) {
            const int16_t d = direction(dir);
            return derive(s, [&](SURFACE *in, SURFACE *out, STACKS *, STACKS *wo) {
              return N_surrev(in, d, out, wo);
            });
          },
          arg("dir") = 1)
      .def("to_bezier", &to_bezier, "The Bezier patches, rows by u span.")
      .def(
          "invert",
          [](const Surface &s, pyb::handle p) {
            const auto r = invert(s, p);
            return std::make_pair(std::get<0>(r), std::get<1>(r));
          },
          arg("point"), "(u, v) of the surface's point nearest to point.")
      .def(
          "project",
          [](const Surface &s, pyb::handle p) {
            const auto r = invert(s, p);
            const POINT q = std::get<2>(r);
            return pyb::make_tuple(std::get<0>(r), std::get<1>(r), pyb::array_t<double>(3, &q.x));
          },
          arg("point"), "(u, v, S(u, v)) for the surface's point nearest to point.")
      .def("__repr__", [](const Surface &s) {
        return "Surface(degree=(" + std::to_string(s.rec.p) + ", " + std::to_string(s.rec.q) +
               "), points=(" + std::to_string(s.rec.net->n + 1) + ", " +
               std::to_string(s.rec.net->m + 1) + (s.rational() ? "), rational)" : "))");
      });

  m.def("fit_surface", &fit_surface, arg("grid"), arg("degree") = 3, arg("ctrl") = pyb::none(),
        arg("param") = "chord",
        "Surface through the grid (r+1, s+1, 3) (ctrl None) or least-squares fit with ctrl = "
        "(n+1, m+1) control points; degree an int or (p, q).");
  m.def(
      "sphere",
      [](pyb::handle center, double radius, int form) {
        const POINT O = to_point(center, "center");
        return construct(
            [&](SURFACE *s, STACKS *ws) { return N_cmssph(O, radius, 0, 180, 360, form, s, ws); });
      },
      arg("center") = origin, arg("radius") = 1.0, arg("form") = 2);
  m.def(
      "torus",
      [](pyb::handle center, double major, double minor, pyb::handle axis, int form) {
        const POINT S = to_point(center, "center");
        const VECTOR T = to_vector(axis, "axis");
        const VECTOR X = perpendicular(T);
        const double l = std::hypot(T.x, T.y, T.z);
        const VECTOR Y{T.x / l, T.y / l, T.z / l};
        const POINT C{S.x + major * X.x, S.y + major * X.y, S.z + major * X.z};
        return construct([&](SURFACE *s, STACKS *ws) {
          return N_cmstor(S, T, C, X, Y, minor, 0, 360, 360, form, s, ws);
        });
      },
      arg("center") = origin, arg("major") = 2.0, arg("minor") = 0.5, arg("axis") = zaxis,
      arg("form") = 2);
  m.def(
      "revolve",
      [](const Curve &c, pyb::handle point, pyb::handle axis, double angle, int form) {
        const POINT S = to_point(point, "point");
        const VECTOR T = to_vector(axis, "axis");
        return construct(
            [&](SURFACE *s, STACKS *ws) { return N_cmsrev(&c.rec, S, T, angle, form, s, ws); });
      },
      arg("curve"), arg("point") = origin, arg("axis") = zaxis, arg("angle") = 360.0,
      arg("form") = 2, "The curve turned by angle degrees about the line through point.");
  m.def(
      "ruled",
      [](const Curve &a, const Curve &b) {
        return construct(
            [&](SURFACE *s, STACKS *ws) { return N_cmsrls(&a.rec, &b.rec, 1, s, ws); });
      },
      arg("a"), arg("b"), "Ruled surface between two curves (the curves along u).");
  m.def("tessellate", &tessellate, arg("surface"), arg("trims") = pyb::none(), arg("chord") = 1e-3,
        arg("flat") = 1e-3,
        "(vertices (k, 3), triangles (t, 3) int32, normals (k, 3)) of the surface within the "
        "trimming loops (2-D curves of the parameter plane: the first loop outer, the rest "
        "holes); chord and flat relative to the surface's size.");
  m.def("_c_surevn", [](const Surface &s, double u, double v) {
    POINT P;
    check(N_surevn(&s.rec, u, v, 1, 1, &P));
    return pyb::make_tuple(P.x, P.y, P.z);
  });
}

}  // namespace orvo::py
