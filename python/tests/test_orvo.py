"""The orvo package against the library's C routines, hand-computed values
and its own round trips; the refusals it must turn into exceptions."""
import math

import numpy as np
import pytest

import orvo
from orvo import _orvo

BEZ = orvo.Curve([[0, 0], [1, 2], [3, 2], [4, 0]], [0, 0, 0, 0, 1, 1, 1, 1], 3)
SPLINE = orvo.Curve([[0, 0, 0], [1, 2, 0], [2, -1, 1], [4, 1, 2], [5, 0, 0]],
                    [0, 0, 0, 0.3, 0.7, 1, 1, 1], 2)
RATIONAL = orvo.Curve([[1, 0], [1, 1], [0, 1]], [0, 0, 0, 1, 1, 1], 2,
                      weights=[1, math.sqrt(0.5), 1])
CIRCLE = orvo.circle(center=[1, 2, 3], radius=2.0)
CURVES = [BEZ, SPLINE, RATIONAL, CIRCLE]
PATCH = orvo.Surface(np.array([[[i, j, (i - 1) * (j - 2)] for j in range(4)] for i in range(3)],
                              float), [0, 0, 0.5, 1, 1], [0, 0, 0, 0.5, 1, 1, 1], 1, 2)
SURFACES = [PATCH, orvo.sphere(radius=2.0), orvo.torus()]


def params(obj, k=37):
    a, b = obj.domain
    return np.linspace(a, b, k)


@pytest.mark.parametrize("curve", CURVES, ids=repr)
def test_curve_points_equal_the_c_routine(curve):
    u = params(curve)
    got = curve(u)
    want = np.array([_orvo._c_curevn(curve, x) for x in u])[:, : curve.dim]
    assert got.shape == (u.size, curve.dim) and np.array_equal(got, want)
    assert np.array_equal(curve(u.reshape(37, 1)), got.reshape(37, 1, curve.dim))
    assert np.array_equal(curve(u[5]), got[5])


@pytest.mark.parametrize("dim,degree", [(2, 3), (3, 5)])
def test_long_runs_equal_the_c_routine(dim, degree):
    # Many spans, sorted and shuffled parameters, every knot among them; 2-D
    # results pass through blocks, 3-D ones are written in place.
    rng = np.random.default_rng(dim)
    n = 60
    knots = np.r_[[0.0] * (degree + 1), np.sort(rng.random(n - degree)), [1.0] * (degree + 1)]
    curve = orvo.Curve(rng.normal(size=(n + 1, dim)), knots, degree)
    u = np.r_[np.sort(rng.random(3000)), knots]
    for run in (u, rng.permutation(u)):
        want = np.array([_orvo._c_curevn(curve, x) for x in run])[:, :dim]
        assert np.array_equal(curve(run), want)
    u[1500] = 2.0
    with pytest.raises(orvo.Error) as e:
        curve(u)
    assert (e.value.code, e.value.routine) == (6, "N_CUREVN")


@pytest.mark.parametrize("surface", SURFACES, ids=repr)
def test_surface_points_equal_the_c_routine(surface):
    (a, b), (c, d) = surface.domain
    u, v = np.linspace(a, b, 9), np.linspace(c, d, 7)
    got = surface(u[:, None], v[None, :])
    want = np.array([[_orvo._c_surevn(surface, x, y) for y in v] for x in u])
    assert got.shape == (9, 7, 3) and np.array_equal(got, want)
    n = surface.normals(u[1:-1, None], v[None, 1:-1])
    assert np.allclose(np.linalg.norm(n, axis=-1), 1.0)


def test_hand_computed_values():
    # Bezier cubic: C(1/2) = (P0 + 3 P1 + 3 P2 + P3) / 8, C'(0) = 3 (P1 - P0),
    # C''(0) = 6 (P2 - 2 P1 + P0).
    d = BEZ.derivatives(0.0, 2)
    assert np.array_equal(BEZ(0.5), [2.0, 1.5])
    assert np.array_equal(d, [[0, 0], [3, 6], [6, -12]])
    assert BEZ.derivatives([0.1, 0.2], 3).shape == (2, 4, 2)
    assert np.allclose(np.linalg.norm(RATIONAL(params(RATIONAL)), axis=1), 1.0, atol=1e-15)
    assert CIRCLE.length(1e-10) == pytest.approx(4 * math.pi, rel=1e-9)
    assert np.array_equal(PATCH(0.5, 0.0), [1.0, 0.0, 0.0])


def test_properties():
    c = RATIONAL
    assert (c.degree, c.dim, c.is_rational, c.domain) == (2, 2, True, (0.0, 1.0))
    assert np.allclose(c.ctrl, [[1, 0], [1, 1], [0, 1]]) and c.weights[1] == math.sqrt(0.5)
    assert np.array_equal(c.bbox, [[0, 0], [1, 1]])
    assert BEZ.weights is None and np.array_equal(BEZ.knots, [0, 0, 0, 0, 1, 1, 1, 1])
    assert PATCH.degree == (1, 2) and PATCH.ctrl.shape == (3, 4, 3) and PATCH.weights is None
    assert PATCH.domain == ((0.0, 1.0), (0.0, 1.0))
    assert np.array_equal(PATCH.bbox, [[0, 0, -2], [2, 3, 2]])


# (operation, map from the result's parameter to the input's): the shape is kept.
SAME_SHAPE = [
    (lambda c: c.insert_knot(0.4, times=2), lambda u: u),
    (lambda c: c.refine([0.2, 0.2, 0.6]), lambda u: u),
    (lambda c: c.elevate(2), lambda u: u),
    (lambda c: c.elevate(1).reduce(1e-9), lambda u: u),
    (lambda c: c.insert_knot(0.4).remove_knots(1e-9), lambda u: u),
    (lambda c: c.reverse(), lambda u: 1 - u),
    (lambda c: c.segment(0.25, 0.8), lambda u: u),
    (lambda c: c.split(0.35)[0], lambda u: u),
    (lambda c: c.split(0.35)[1], lambda u: u),
]


@pytest.mark.parametrize("curve", [BEZ, SPLINE, RATIONAL], ids=repr)
@pytest.mark.parametrize("op,back", SAME_SHAPE)
def test_tools_keep_the_shape(curve, op, back):
    r = op(curve)
    u = params(r)
    assert np.allclose(r(u), curve(back(u)), rtol=0, atol=1e-12)


def test_tools_change_what_they_should():
    assert BEZ.insert_knot(0.5, 2).ctrl.shape == (6, 2)
    assert BEZ.elevate(2).degree == 5 and SPLINE.insert_knot(0.4).remove_knots(1e-9).ctrl.shape[0] == 5
    pieces = SPLINE.to_bezier()
    assert [p.domain for p in pieces] == [(0, 0.3), (0.3, 0.7), (0.7, 1.0)]
    for p in pieces:
        assert np.allclose(p(params(p)), SPLINE(params(p)), atol=1e-12)
    patches = PATCH.to_bezier()
    assert len(patches) == 2 and len(patches[1]) == 2
    for s in [PATCH.insert_knot(0.3, dir=2), PATCH.elevate(1, dir=1), PATCH.refine([0.25], dir=1),
              PATCH.split(0.5, dir=2)[0], PATCH.segment(0, 1, 0, 0.5)]:
        (a, b), (c, d) = s.domain
        u, v = np.linspace(a, b, 5)[:, None], np.linspace(c, d, 5)[None, :]
        assert np.allclose(s(u, v), PATCH(u, v), atol=1e-12)
    r = PATCH.reverse(dir=1)
    assert np.allclose(r(0.2, 0.3), PATCH(0.8, 0.3))


@pytest.mark.parametrize("curve", CURVES, ids=repr)
def test_derivatives_are_those_of_the_shape(curve):
    # The same derivatives after refinement and elevation, alternating signs
    # on the reversed curve, and the first one a central difference; away
    # from the knots, where one-sided derivatives can differ.
    (a, b) = curve.domain
    u = a + (b - a) * (np.arange(21) + 0.37) / 21.5
    d = curve.derivatives(u, 2)
    for same in (curve.refine([a + 0.31 * (b - a)] * 2), curve.elevate(1)):
        assert np.allclose(same.derivatives(u, 2), d, rtol=1e-9, atol=1e-9)
    r = curve.reverse().derivatives(a + b - u, 2)
    assert np.allclose(r, d * np.array([1, -1, 1])[:, None], rtol=1e-9, atol=1e-9)
    h = 1e-6 * (b - a)
    assert np.allclose((curve(u + h) - curve(u - h)) / (2 * h), d[:, 1], rtol=1e-6, atol=1e-6)


def test_normals_and_shapes_of_constructions():
    c, R = np.array([1.0, -2.0, 0.5]), 2.0
    s = orvo.sphere(center=c, radius=R)
    (a, b), (e, f) = s.domain
    u, v = np.linspace(a, b, 7)[:, None], np.linspace(e, f, 9)[None, 1:-1]
    p, n = s(u, v), s.normals(u, v)
    assert p.shape == n.shape == (7, 7, 3)
    assert np.allclose(np.linalg.norm(p - c, axis=-1), R, atol=1e-14)
    assert np.allclose(np.abs(np.sum(n * (p - c), axis=-1)), R, atol=1e-12)
    t = orvo.torus(major=3.0, minor=0.5)
    q = t(np.linspace(0, 1, 11)[:, None], np.linspace(0, 1, 13)[None, :])
    tube = np.hypot(np.hypot(q[..., 0], q[..., 1]) - 3.0, q[..., 2])
    assert np.allclose(tube, 0.5, atol=1e-14)
    arc = orvo.arc([0, 0, 1], 2.0, 30, 120)
    assert np.allclose(np.linalg.norm(arc(params(arc)) - [0, 0, 1], axis=1), 2.0, atol=1e-14)
    line = orvo.Curve([[1, 0, 0], [1, 0, 2]], [0, 0, 1, 1], 1)
    cyl = orvo.revolve(line)
    w = cyl(np.linspace(0, 1, 9)[:, None], np.linspace(0, 1, 5)[None, :])
    assert np.allclose(np.hypot(w[..., 0], w[..., 1]), 1.0, atol=1e-14)
    r = orvo.ruled(line, orvo.Curve([[3, 0, 0], [3, 0, 2]], [0, 0, 1, 1], 1))
    assert np.allclose(r(0.25, [0, 0.5, 1]), [[1, 0, 0.5], [2, 0, 0.5], [3, 0, 0.5]])
    assert s(0.3, 0.4).shape == (3,) and s([0.3, 0.4], [[0.1], [0.2], [0.3]]).shape == (3, 2, 3)
    with pytest.raises(ValueError):
        s([0.1, 0.2], [0.1, 0.2, 0.3])


def test_inversion():
    for u in [0.0, 0.123, 0.5, 0.77, 1.0]:
        assert SPLINE.invert(SPLINE(u)) == pytest.approx(u, abs=1e-9)
    u, q = BEZ.project([2, 5])
    assert u == pytest.approx(0.5) and np.allclose(q, [2, 1.5])
    s = SURFACES[1]
    uv = s.invert(s(0.3, 0.6))
    assert np.allclose(s(*uv), s(0.3, 0.6), atol=1e-9)


def test_fitting():
    t = np.linspace(0, 2, 12)
    data = np.column_stack([t, np.sin(t), t ** 2])
    c = orvo.fit_curve(data, degree=3, param="centripetal")
    assert min(np.linalg.norm(c(c.invert(p)) - p) for p in data) < 1e-9
    assert orvo.fit_curve(data, 2, ctrl=6).ctrl.shape == (6, 3)
    assert np.array_equal(orvo.fit_curve(data[:, :2], 1).ctrl, data[:, :2])
    g = np.stack(np.meshgrid(t[:6], t[:5], indexing="ij"), -1)
    grid = np.concatenate([g, np.cos(g[..., :1]) * g[..., 1:]], -1)
    s = orvo.fit_surface(grid, degree=(1, 1))
    assert np.array_equal(s.ctrl, grid)
    assert orvo.fit_surface(grid, degree=2, ctrl=(4, 4)).ctrl.shape == (4, 4, 3)


def test_tessellation():
    v, t, n = orvo.tessellate(SURFACES[1], chord=1e-3)
    assert v.shape == n.shape and t.shape[1] == 3 and t.dtype == np.int32
    assert np.allclose(np.linalg.norm(v, axis=1), 2.0, atol=1e-2)
    assert np.allclose(np.linalg.norm(n, axis=1), 1.0) and t.min() >= 0 and t.max() < len(v)
    outer = orvo.Curve([[0, 0], [1, 0], [1, 1], [0, 1], [0, 0]], [0, 0, 1, 2, 3, 4, 4], 1)
    hole = orvo.Curve([[0.3, 0.3], [0.3, 0.7], [0.7, 0.7], [0.7, 0.3], [0.3, 0.3]],
                      [0, 0, 1, 2, 3, 4, 4], 1)
    flat = orvo.Surface([[[0, 0, 0], [0, 1, 0]], [[1, 0, 0], [1, 1, 0]]], [0, 0, 1, 1],
                        [0, 0, 1, 1], 1, 1)
    v, t, _ = orvo.tessellate(flat, trims=[[outer], [hole]])
    e1, e2 = v[t[:, 1]] - v[t[:, 0]], v[t[:, 2]] - v[t[:, 0]]
    assert np.cross(e1, e2)[:, 2].sum() / 2 == pytest.approx(1 - 0.16, abs=1e-12)


def test_file_round_trips(tmp_path):
    for obj, name in [(SPLINE, "a.crv"), (RATIONAL, "b.crv"), (SURFACES[2], "c.sur")]:
        orvo.write(tmp_path / name, obj)
        back = orvo.read(tmp_path / name)
        # The text files keep about 15 significant digits.
        assert np.allclose(back.ctrl, obj.ctrl, rtol=1e-14, atol=1e-14)
        assert np.allclose(np.hstack(back.knots), np.hstack(obj.knots), rtol=1e-14, atol=0)
    orvo.write(tmp_path / "m.igs", SPLINE, CIRCLE, PATCH)
    model = orvo.read(tmp_path / "m.igs")
    assert len(model["curves"]) == 2 and len(model["surfaces"]) == 1
    assert np.allclose(model["curves"][1].ctrl, CIRCLE.ctrl, rtol=1e-14, atol=1e-14)
    assert np.allclose(model["surfaces"][0](0.3, 0.4), PATCH(0.3, 0.4), atol=1e-14)


# Library refusals: (call, code, routine).
LIBRARY_ERRORS = [
    (lambda: BEZ(1.5), 6, "N_CUREVN"),
    (lambda: BEZ([0.5, -1]), 6, "N_CUREVN"),
    (lambda: PATCH(0.5, [0.2, 3.0]), 6, "N_KNTALB"),
    (lambda: orvo.Curve([[0, 0], [1, 1]], [0, 0, 1, 1, 1], 1), 1, "CURVE"),
    (lambda: orvo.Curve([[0, 0], [1, 1]], [0, 1, 0, 1], 1), 4, "CURVE"),
    (lambda: orvo.Curve([[0, 0], [1, 1]], [0, 0, 1, 1], 1, weights=[1, 20]), 5, "CURVE"),
    (lambda: orvo.Surface(np.zeros((2, 2, 3)), [0, 0, 1, 1], [0, 0, 1], 1, 1), 2, "SURFACE"),
    (lambda: BEZ.insert_knot(0.5, times=4), 6, "N_TOOCKI"),
    (lambda: BEZ.split(1.0), 6, "N_TOOCSP"),
    (lambda: orvo.fit_curve([[0, 0], [1, 1]], degree=3), 14, "N_FITGCI"),
    (lambda: orvo.circle(form=3), 13, "N_CONCIR"),
    (lambda: orvo.Curve.read("/nonexistent/x.crv"), 18, "U_INPCUR"),
    (lambda: orvo.read_iges("/nonexistent/x.igs"), 18, "READ_IGES"),
]


@pytest.mark.parametrize("call,code,routine", LIBRARY_ERRORS)
def test_library_errors(call, code, routine):
    with pytest.raises(orvo.Error) as e:
        call()
    assert (e.value.code, e.value.routine) == (code, routine)
    assert f"error {code} (" in str(e.value)


# Python-side refusals: (call, exception).
BAD_INPUT = [
    (lambda: orvo.Curve(np.zeros((4, 4)), [0, 0, 1, 1], 1), ValueError),
    (lambda: orvo.Curve([["a", "b"], ["c", "d"]], [0, 0, 1, 1], 1), TypeError),
    (lambda: orvo.Curve([[0, 0], [1, np.nan]], [0, 0, 1, 1], 1), ValueError),
    (lambda: orvo.Curve([[0, 0], [1, 1]], [0, 0, 1, 1], 1, weights=[1]), ValueError),
    (lambda: orvo.Curve([[0, 0], [1, 1]], [[0, 0, 1, 1]], 1), ValueError),
    (lambda: orvo.Curve([[0, 0], [1, 1]], [0, 0, 1, 1], -1), ValueError),
    (lambda: orvo.Surface(np.zeros((2, 2)), [0, 0, 1, 1], [0, 0, 1, 1], 1, 1), ValueError),
    (lambda: BEZ(["x"]), TypeError),
    (lambda: BEZ.derivatives(0.5, 6), ValueError),
    (lambda: BEZ.project([1]), ValueError),
    (lambda: orvo.fit_curve(np.zeros((5, 3)), param="arc"), ValueError),
    (lambda: PATCH.insert_knot(0.5, dir=3), ValueError),
    (lambda: orvo.tessellate(PATCH, trims=[[SPLINE]]), ValueError),
    (lambda: orvo.tessellate(PATCH, trims=[[1]]), TypeError),
    (lambda: orvo.read("x.txt"), ValueError),
]


@pytest.mark.parametrize("call,exc", BAD_INPUT)
def test_bad_input(call, exc):
    with pytest.raises(exc):
        call()
