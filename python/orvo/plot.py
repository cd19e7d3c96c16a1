"""Pictures of curves, surfaces and meshes with matplotlib (imported on use).

plot_curve draws a curve with its control polygon, its knots and, if asked,
its curvature comb; plot_surface draws a surface (tessellated) or a mesh
(vertices, triangles[, normals]) in 3-D."""
import numpy as np


def _axes(ax, three_d):
    import matplotlib.pyplot as plt

    if ax is not None:
        return ax
    fig = plt.figure(figsize=(6, 5))
    return fig.add_subplot(projection="3d") if three_d else fig.add_subplot()


def _curvature_comb(curve, u, scale):
    d = curve.derivatives(u, 2)
    d1, d2 = d[:, 1], d[:, 2]
    if d1.shape[1] == 2:
        d1 = np.column_stack([d1, np.zeros(len(u))])
        d2 = np.column_stack([d2, np.zeros(len(u))])
    speed = np.linalg.norm(d1, axis=1)
    cross = np.cross(d1, d2)
    kappa = np.linalg.norm(cross, axis=1) / np.maximum(speed, 1e-300) ** 3
    # The comb points along the principal normal: (C' x C'') x C', unit.
    n = np.cross(cross, d1)
    n /= np.maximum(np.linalg.norm(n, axis=1), 1e-300)[:, None]
    size = np.ptp(curve.bbox, axis=0).max()
    k = kappa * scale * size / max(kappa.max(), 1e-300)
    return n * k[:, None]


def plot_curve(curve, ctrl=True, knots=True, curvature=False, ax=None, samples=400, comb=0.2):
    """Draws a curve (2-D or 3-D) and returns the axes."""
    three_d = curve.dim == 3
    ax = _axes(ax, three_d)
    a, b = curve.domain
    u = np.linspace(a, b, samples)
    pts = curve(u)
    ax.plot(*pts.T, "-", color="C0", lw=2, label="curve")
    if ctrl:
        ax.plot(*curve.ctrl.T, "o--", color="C7", ms=4, lw=0.8, label="control polygon")
    if knots:
        ks = np.unique(curve.knots[(curve.knots >= a) & (curve.knots <= b)])
        ax.plot(*curve(ks).T, "s", color="C3", ms=5, label="knots")
    if curvature:
        uc = np.linspace(a, b, max(samples // 4, 2))
        base = curve(uc)
        tip = base + _curvature_comb(curve, uc, comb)[:, : base.shape[1]]
        for p, q in zip(base, tip):
            ax.plot(*np.stack([p, q]).T, "-", color="C2", lw=0.6)
        ax.plot(*tip.T, "-", color="C2", lw=0.8, label="curvature")
    if not three_d:
        ax.set_aspect("equal")
    ax.legend(loc="best", fontsize="small")
    return ax


def plot_surface(obj, ax=None, chord=1e-3, flat=1e-3, trims=None, cmap="viridis"):
    """Draws a Surface (tessellated here) or a mesh tuple (vertices, triangles[, normals])."""
    from . import Surface, tessellate

    if isinstance(obj, Surface):
        obj = tessellate(obj, trims=trims, chord=chord, flat=flat)
    v, t = np.asarray(obj[0]), np.asarray(obj[1])
    ax = _axes(ax, True)
    ax.plot_trisurf(v[:, 0], v[:, 1], v[:, 2], triangles=t, cmap=cmap, linewidth=0.1,
                    edgecolor="k", alpha=0.9)
    lo, hi = v.min(axis=0), v.max(axis=0)
    mid, half = (lo + hi) / 2, (hi - lo).max() / 2
    ax.set_xlim(mid[0] - half, mid[0] + half)
    ax.set_ylim(mid[1] - half, mid[1] + half)
    ax.set_zlim(mid[2] - half, mid[2] + half)
    return ax
