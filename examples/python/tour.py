"""A tour of the orvo package: fit a curve through measured points, refine
and reduce it, build and tessellate surfaces, and save pictures.

    PYTHONPATH=build/python python3 examples/python/tour.py [OUTDIR]

writes its PNG pictures to OUTDIR (default ./tour_out)."""
import os
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402

import orvo  # noqa: E402
from orvo.plot import plot_curve, plot_surface  # noqa: E402

out = sys.argv[1] if len(sys.argv) > 1 else "tour_out"
os.makedirs(out, exist_ok=True)

# 1. A curve through points of a spiral, and a least-squares fit with fewer points.
t = np.linspace(0, 3 * np.pi, 25)
data = np.column_stack([t * np.cos(t), t * np.sin(t)])
through = orvo.fit_curve(data, degree=3)
approx = orvo.fit_curve(data, degree=3, ctrl=10)
err = max(np.linalg.norm(approx.project(p)[1] - p) for p in data)
print(f"interpolant: {through}, length {through.length():.4f}")
print(f"approximation: {approx}, largest distance from the data {err:.3f}")
ax = plot_curve(through, curvature=True)
ax.plot(*data.T, "x", color="k", label="data")
ax.set_title("Interpolating cubic with its curvature comb")
plt.savefig(os.path.join(out, "curve.png"), dpi=110)
plt.close("all")

# 2. Refine, then remove what refinement added: the shape stays.
fine = through.refine(np.linspace(0.05, 0.95, 19))
back = fine.remove_knots(1e-9)
u = np.linspace(0, 1, 1001)
print(f"refined to {fine.ctrl.shape[0]} points, back to {back.ctrl.shape[0]}; "
      f"largest change {np.abs(back(u) - through(u)).max():.2e}")

# 3. Surfaces: a torus and a surface of revolution, tessellated.
torus = orvo.torus(major=2.0, minor=0.6)
v, tri, nrm = orvo.tessellate(torus, chord=2e-3)
print(f"torus mesh: {len(v)} vertices, {len(tri)} triangles")
profile = orvo.Curve([[1, 0, 0], [2, 0, 1], [0.5, 0, 2], [1, 0, 3]], [0, 0, 0, 0, 1, 1, 1, 1], 3)
vase = orvo.revolve(profile, axis=[0, 0, 1])
fig = plt.figure(figsize=(10, 5))
plot_surface((v, tri), ax=fig.add_subplot(1, 2, 1, projection="3d"))
plot_surface(vase, ax=fig.add_subplot(1, 2, 2, projection="3d"), chord=2e-3)
plt.savefig(os.path.join(out, "surfaces.png"), dpi=110)
plt.close("all")

# 4. A trimmed patch: a bilinear square with a circular hole.
patch = orvo.Surface([[[0, 0, 0], [0, 1, 0]], [[1, 0, 0], [1, 1, 0.3]]], [0, 0, 1, 1],
                     [0, 0, 1, 1], 1, 1)
hole = orvo.circle(center=[0.5, 0.5, 0], radius=0.25)
hole2d = orvo.Curve(hole.ctrl[:, :2], hole.knots, hole.degree, hole.weights)
outer = orvo.Curve([[0, 0], [1, 0], [1, 1], [0, 1], [0, 0]], [0, 0, 1, 2, 3, 4, 4], 1)
mesh = orvo.tessellate(patch, trims=[[outer], [hole2d]], chord=1e-3)
ax = plot_surface(mesh)
ax.set_title("Trimmed bilinear patch")
plt.savefig(os.path.join(out, "trimmed.png"), dpi=110)
plt.close("all")
print(f"pictures in {out}: curve.png surfaces.png trimmed.png")
