// The Curve class: construction from numpy arrays, properties, vectorised
// evaluation, the refinement tools, fitting, inversion, arc length and the
// circle constructions.
#include <pybind11/stl.h>

#include <cmath>
#include <limits>
#include <vector>

#include "binding.hpp"
#include "eval/curve_points.hpp"

namespace orvo::py {

namespace {

Curve make_curve(pyb::handle ctrl, pyb::handle knots, int degree, pyb::handle weights) {
  Array P = to_array(ctrl, "ctrl"), U = to_array(knots, "knots");
  if (P.ndim() != 2 || P.shape(0) < 1 || (P.shape(1) != 2 && P.shape(1) != 3))
    throw pyb::value_error("ctrl: expected an array of shape (n+1, 2) or (n+1, 3)");
  if (U.ndim() != 1 || U.size() < 2) throw pyb::value_error("knots: expected a 1-D array");
  if (degree < 0 || degree > 0x7fff) throw pyb::value_error("degree: expected 0..28");
  const pyb::ssize_t n = P.shape(0) - 1, dim = P.shape(1);
  Array W;
  const bool rational = !weights.is_none();
  if (rational) {
    W = to_array(weights, "weights");
    if (W.ndim() != 1 || W.shape(0) != n + 1)
      throw pyb::value_error("weights: expected a 1-D array of one weight per control point");
  }
  Curve c = new_curve();
  check(U_curchk(&c.rec, static_cast<int32_t>(n), static_cast<int16_t>(degree),
                 static_cast<int32_t>(U.size() - 1), "CURVE", c.store->ws()));
  for (pyb::ssize_t i = 0; i <= n; ++i) {
    const double *x = P.data(i, 0);
    const double w = rational ? W.data()[i] : 1.0;
    c.rec.pol->Pw[i] =
        CPOINT{x[0] * w, x[1] * w, dim == 3 ? x[2] * w : ORVO_Z2D, rational ? w : ORVO_WNR};
  }
  for (pyb::ssize_t j = 0; j < U.size(); ++j) c.rec.knt->U[j] = U.data()[j];
  check(E_curinp(&c.rec, "CURVE"));
  return c;
}

pyb::tuple domain(const Curve &c) {
  return pyb::make_tuple(c.rec.knt->U[c.rec.p], c.rec.knt->U[c.rec.knt->m - c.rec.p]);
}

pyb::array_t<double> ctrl(const Curve &c) {
  const int32_t n = c.rec.pol->n;
  const int dim = c.dim();
  pyb::array_t<double> out({static_cast<pyb::ssize_t>(n + 1), static_cast<pyb::ssize_t>(dim)});
  for (int32_t i = 0; i <= n; ++i) {
    const CPOINT &q = c.rec.pol->Pw[i];
    const double w = c.rational() ? q.w : 1.0;
    const double xyz[3] = {q.x / w, q.y / w, q.z / w};
    for (int k = 0; k < dim; ++k) *out.mutable_data(i, k) = xyz[k];
  }
  return out;
}

pyb::object weights(const Curve &c) {
  if (!c.rational()) return pyb::none();
  pyb::array_t<double> out(c.rec.pol->n + 1);
  for (int32_t i = 0; i <= c.rec.pol->n; ++i) out.mutable_data()[i] = c.rec.pol->Pw[i].w;
  return std::move(out);
}

pyb::array_t<double> knots(const KNOTVECTOR *k) { return pyb::array_t<double>(k->m + 1, k->U); }

// Writes the first dim coordinates of P to out.
void put(const POINT &P, int dim, double *out) {
  out[0] = P.x;
  out[1] = P.y;
  if (dim == 3) out[2] = P.z;
}

pyb::array_t<double> evaluate(const Curve &c, pyb::handle u) {
  Array t = to_array(u, "u", false);
  const int dim = c.dim();
  pyb::array_t<double> out(result_shape(t, {dim}));
  const double *in = t.data();
  double *o = out.mutable_data();
  const pyb::ssize_t k = t.size();
  bool ok = true;
  {
    // Through the library's run of N_curevn, which carries each span on to
    // the next parameter: straight into the result when its rows are
    // POINTs (x, y, z), else in blocks.
    pyb::gil_scoped_release unlocked;
    static_assert(sizeof(POINT) == 3 * sizeof(double), "a POINT is three doubles");
    int64_t done = 0;
    if (dim == 3) {
      ok = detail::curve_points(&c.rec, in, k, 1, reinterpret_cast<POINT *>(o), &done) == 0;
    } else {
      constexpr pyb::ssize_t kBlock = 1024;
      std::vector<POINT> P(std::min(k, kBlock));
      for (pyb::ssize_t i = 0; i < k && ok; i += kBlock) {
        const pyb::ssize_t n = std::min(kBlock, k - i);
        ok = detail::curve_points(&c.rec, in + i, n, 1, P.data(), &done) == 0;
        for (int64_t j = 0; j < done; ++j) put(P[j], dim, o + (i + j) * dim);
      }
    }
  }
  if (!ok) raise_library_error();
  return out;
}

pyb::array_t<double> derivatives(const Curve &c, pyb::handle u, int order) {
  Array t = to_array(u, "u", false);
  if (order < 0 || order > 5) throw pyb::value_error("order: expected 0..5");
  const int dim = c.dim();
  pyb::array_t<double> out(result_shape(t, {order + 1, dim}));
  const double *in = t.data();
  double *o = out.mutable_data();
  const pyb::ssize_t k = t.size();
  bool ok = true;
  {
    pyb::gil_scoped_release unlocked;
    POINT CK[6];
    for (pyb::ssize_t i = 0; i < k && ok; ++i) {
      ok = N_curder(&c.rec, in[i], 1, static_cast<int16_t>(order), CK) == 0;
      for (int d = 0; ok && d <= order; ++d) put(CK[d], dim, o + (i * (order + 1) + d) * dim);
    }
  }
  if (!ok) raise_library_error();
  return out;
}

pyb::array_t<double> bbox(const Curve &c) {
  BOX b;
  check(N_curbox(&c.rec, &b));
  const int dim = c.dim();
  const double lo[3] = {b.xmin, b.ymin, b.zmin}, hi[3] = {b.xmax, b.ymax, b.zmax};
  pyb::array_t<double> out({2, dim});
  for (int k = 0; k < dim; ++k) {
    *out.mutable_data(0, k) = lo[k];
    *out.mutable_data(1, k) = hi[k];
  }
  return out;
}

Curve refine(Curve &c, pyb::handle values) {
  Array X = to_array(values, "knots");
  if (X.ndim() != 1 || X.size() < 1) throw pyb::value_error("knots: expected a 1-D array");
  std::vector<double> x(X.data(), X.data() + X.size());
  KNOTVECTOR kv{static_cast<int32_t>(x.size() - 1), x.data()};
  return derive(c, [&](CURVE *in, CURVE *out, STACKS *wi, STACKS *wo) {
    return N_toocrf(in, &kv, out, wi, wo);
  });
}

pyb::tuple split(Curve &c, double u) {
  Curve a = new_curve(), b = new_curve(a.store);
  check(N_toocsp(&c.rec, u, &a.rec, &b.rec, a.store->ws()));
  return pyb::make_tuple(a, b);
}

pyb::list to_bezier(Curve &c) {
  auto store = std::make_shared<tools::Store>();
  CURVE **pieces = nullptr;
  int32_t last = -1;
  check(N_toocdc(&c.rec, &pieces, &last, store->ws()));
  pyb::list out;
  for (int32_t i = 0; i <= last; ++i) out.append(Curve{store, *pieces[i]});
  return out;
}

// The parameter of the point of c nearest to p: Newton's iteration from the
// nearest of a few samples per control point.
std::pair<double, POINT> invert(const Curve &c, pyb::handle point) {
  const POINT p = to_point(point, "point");
  const double a = c.rec.knt->U[c.rec.p], b = c.rec.knt->U[c.rec.knt->m - c.rec.p];
  const int32_t samples = 8 * (c.rec.pol->n + 1);
  double best = a, dmin = std::numeric_limits<double>::infinity();
  for (int32_t i = 0; i <= samples; ++i) {
    const double u = a + (b - a) * i / samples;
    POINT q;
    check(N_curevn(&c.rec, u, 1, &q));
    const double d = std::hypot(q.x - p.x, q.y - p.y, c.dim() == 3 ? q.z - p.z : 0.0);
    if (d < dmin) dmin = d, best = u;
  }
  double size = 0, u = best;
  check(N_curext(&c.rec, &size));
  POINT q;
  check(N_gprpin(&c.rec, p, best, 1e-12 * std::max(size, 1.0), 1e-12, &u, &q));
  return {u, q};
}

pyb::array_t<double> point_array(const POINT &q, int dim) {
  pyb::array_t<double> out(dim);
  put(q, dim, out.mutable_data());
  return out;
}

// Data points (k, 2|3) as POINTs, 2-D ones with the 2-D marker.
std::vector<POINT> data_points(pyb::handle points) {
  Array Q = to_array(points, "points");
  if (Q.ndim() != 2 || Q.shape(0) < 2 || (Q.shape(1) != 2 && Q.shape(1) != 3))
    throw pyb::value_error("points: expected an array of shape (k, 2) or (k, 3), k >= 2");
  std::vector<POINT> q(static_cast<size_t>(Q.shape(0)));
  for (size_t i = 0; i < q.size(); ++i) {
    const double *x = Q.data(static_cast<pyb::ssize_t>(i), 0);
    q[i] = POINT{x[0], x[1], Q.shape(1) == 3 ? x[2] : ORVO_Z2D};
  }
  return q;
}

Curve fit_curve(pyb::handle points, int degree, pyb::object ctrl, const std::string &param) {
  const std::vector<POINT> q = data_points(points);
  const int16_t ptype = parametrisation(param);
  if (degree < 1 || degree > MAXDEGREE) throw pyb::value_error("degree: expected 1..28");
  const auto m = static_cast<int32_t>(q.size() - 1);
  Curve c = new_curve();
  if (ctrl.is_none()) {
    check(N_fitgci(q.data(), m, static_cast<int16_t>(degree), ptype, &c.rec, c.store->ws()));
  } else {
    const int count = ctrl.cast<int>();
    check(N_fitgca(q.data(), m, count - 1, static_cast<int16_t>(degree), ptype, &c.rec,
                   c.store->ws()));
  }
  return c;
}

Curve arc(pyb::handle center, double radius, double start, double end, pyb::handle x, pyb::handle y,
          int form) {
  Curve c = new_curve();
  check(N_concir(to_point(center, "center"), to_vector(x, "x"), to_vector(y, "y"), radius, start,
                 end, static_cast<int16_t>(form), &c.rec, c.store->ws()));
  return c;
}

}  // namespace

void register_curves(pyb::module_ &m) {
  using pyb::arg;
  pyb::class_<Curve>(m, "Curve", "A B-spline (NURBS) curve of dimension 2 or 3.")
      .def(pyb::init(&make_curve), arg("ctrl"), arg("knots"), arg("degree"),
           arg("weights") = pyb::none(),
           "Curve from control points (n+1, 2|3), knots (n+p+2,), degree p and optional "
           "weights (n+1,); validated by the library (orvo.Error on refusal).")
      .def_property_readonly("degree", [](const Curve &c) { return c.rec.p; })
      .def_property_readonly("knots", [](const Curve &c) { return knots(c.rec.knt); })
      .def_property_readonly("ctrl", &ctrl, "Euclidean control points (n+1, dim).")
      .def_property_readonly("weights", &weights, "Weights (n+1,), or None if non-rational.")
      .def_property_readonly("domain", &domain)
      .def_property_readonly("is_rational", &Curve::rational)
      .def_property_readonly("dim", &Curve::dim)
      .def_property_readonly("bbox", &bbox,
                             "[[min x, y(, z)], [max x, y(, z)]] of the control points.")
      .def("__call__", &evaluate, arg("u"),
           "Points at the parameters u (any shape): u.shape + (dim,).")
      .def("derivatives", &derivatives, arg("u"), arg("order") = 1,
           "Point and derivatives up to order (0..5): u.shape + (order+1, dim).")
      .def(
          "insert_knot",
          [](Curve &c, double u, int times) {
            return derive(c, [&](CURVE *in, CURVE *out, STACKS *wi, STACKS *wo) {
              return N_toocki(in, u, times, out, wi, wo);
            });
          },
          arg("u"), arg("times") = 1)
      .def("refine", &refine, arg("knots"), "Inserts every value of knots in one pass.")
      .def(
          "remove_knots",
          [](Curve &c, double tol) {
            return derive(c, [&](CURVE *in, CURVE *out, STACKS *, STACKS *wo) {
              return N_toocra(in, tol, out, wo);
            });
          },
          arg("tol"), "Removes every knot that can go while the shape moves by at most tol.")
      .def(
          "elevate",
          [](Curve &c, int t) {
            return derive(c, [&](CURVE *in, CURVE *out, STACKS *wi, STACKS *wo) {
              return N_toocde(in, t, out, wi, wo);
            });
          },
          arg("t") = 1)
      .def(
          "reduce",
          [](Curve &c, double tol) {
            return derive(c, [&](CURVE *in, CURVE *out, STACKS *wi, STACKS *wo) {
              return N_toocda(in, tol, out, wi, wo);
            });
          },
          arg("tol"), "Lowers the degree as often as the shape moves by at most tol in all.")
      .def("split", &split, arg("u"))
      .def(
          "segment",
          [](Curve &c, double a, double b) {
            return derive(c, [&](CURVE *in, CURVE *out, STACKS *wi, STACKS *wo) {
              return N_toocsg(in, a, b, out, wi, wo);
            });
          },
          arg("a"), arg("b"))
      .def("reverse",
           [](Curve &c) {
             return derive(c, [&](CURVE *in, CURVE *out, STACKS *, STACKS *wo) {
               return N_currev(in, out, wo);
             });
           })
      .def("to_bezier", &to_bezier, "The Bezier segments, one per non-empty span.")
      .def(
          "invert", [](const Curve &c, pyb::handle p) { return invert(c, p).first; }, arg("point"),
          "Parameter of the curve's point nearest to point.")
      .def(
          "project",
          [](const Curve &c, pyb::handle p) {
            const auto r = invert(c, p);
            return pyb::make_tuple(r.first, point_array(r.second, c.dim()));
          },
          arg("point"), "(u, C(u)) for the curve's point nearest to point.")
      .def(
          "length",
          [](const Curve &c, double tol, pyb::object a, pyb::object b) {
            const double u0 = a.is_none() ? c.rec.knt->U[c.rec.p] : a.cast<double>();
            const double u1 = b.is_none() ? c.rec.knt->U[c.rec.knt->m - c.rec.p] : b.cast<double>();
            double len = 0;
            check(N_gprcle(&c.rec, u0, u1, tol, 2, &len));
            return len;
          },
          arg("tol") = 1e-8, arg("a") = pyb::none(), arg("b") = pyb::none(),
          "Arc length over [a, b] (default: the domain), tol relative to the curve's size.")
      .def("__repr__", [](const Curve &c) {
        return "Curve(degree=" + std::to_string(c.rec.p) +
               ", points=" + std::to_string(c.rec.pol->n + 1) + ", dim=" + std::to_string(c.dim()) +
               (c.rational() ? ", rational)" : ")");
      });

  m.def("fit_curve", &fit_curve, arg("points"), arg("degree") = 3, arg("ctrl") = pyb::none(),
        arg("param") = "chord",
        "Curve through points (ctrl None) or least-squares fit with ctrl control points; param "
        "'uniform', 'chord' or 'centripetal'.");
  m.def("arc", &arc, arg("center"), arg("radius"), arg("start"), arg("end"),
        arg("x") = std::vector<double>{1, 0, 0}, arg("y") = std::vector<double>{0, 1, 0},
        arg("form") = 2, "Circular arc from start to end degrees (form 2, 4 or 5).");
  m.def(
      "circle",
      [](pyb::handle center, double radius, pyb::handle x, pyb::handle y, int form) {
        return arc(center, radius, 0, 360, x, y, form);
      },
      arg("center") = std::vector<double>{0, 0, 0}, arg("radius") = 1.0,
      arg("x") = std::vector<double>{1, 0, 0}, arg("y") = std::vector<double>{0, 1, 0},
      arg("form") = 2);
  // One point through the library's own routine, for the tests' comparisons.
  m.def("_c_curevn", [](const Curve &c, double u) {
    POINT P;
    check(N_curevn(&c.rec, u, 1, &P));
    return pyb::make_tuple(P.x, P.y, P.z);
  });
}

}  // namespace orvo::py
