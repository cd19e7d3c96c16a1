"""NURBS curves and surfaces with numpy arrays: the Orvo library from Python.

Curves and surfaces are built from numpy arrays (``Curve(ctrl, knots, degree,
weights=None)``, ``Surface(ctrl, knots_u, knots_v, degree_u, degree_v,
weights=None)``), evaluated over whole arrays of parameters in one call, and
changed by the library's tools, each of which returns a new object. The
library's refusals raise :class:`orvo.Error` (``.code``, ``.routine``).
Pictures: :mod:`orvo.plot` (needs matplotlib).
"""

from ._orvo import (  # noqa: F401
    Curve,
    Error,
    Surface,
    arc,
    circle,
    fit_curve,
    fit_surface,
    read_iges,
    revolve,
    ruled,
    sphere,
    tessellate,
    torus,
    write_iges,
)

__all__ = [
    "Curve", "Error", "Surface", "arc", "circle", "fit_curve", "fit_surface", "read_iges",
    "revolve", "ruled", "sphere", "tessellate", "torus", "write_iges", "read", "write",
]


def read(path):
    """Reads a curve (.crv), surface (.sur) or IGES (.igs, .iges) file."""
    p = str(path)
    if p.endswith(".crv"):
        return Curve.read(p)
    if p.endswith(".sur"):
        return Surface.read(p)
    if p.lower().endswith((".igs", ".iges")):
        return read_iges(p)
    raise ValueError(f"{p}: expected a .crv, .sur, .igs or .iges file")


def write(path, *objects):
    """Writes one curve (.crv) or surface (.sur), or any of them to IGES."""
    p = str(path)
    if p.lower().endswith((".igs", ".iges")):
        write_iges(p, [o for o in objects if isinstance(o, Curve)],
                   [o for o in objects if isinstance(o, Surface)])
    elif len(objects) == 1 and isinstance(objects[0], (Curve, Surface)):
        objects[0].write(p)
    else:
        raise ValueError(f"{p}: one curve or surface per .crv/.sur file")
