"""Speed of the binding: curve(u) on 1,000,000 parameters against a Python
loop of per-point calls (on 10,000 parameters, scaled), for the cubic with
1000 control points of eval_speed.c. Run with PYTHONPATH=<build>/python."""
import time

import numpy as np

import orvo

NPTS, NPAR, DEG = 1000, 1_000_000, 3
i = np.arange(NPTS)
ctrl = np.column_stack([i, np.sin(0.1 * i), np.cos(0.07 * i)])
m = NPTS + DEG
k = np.clip(np.arange(m + 1) - DEG, 0, m - 2 * DEG)
curve = orvo.Curve(ctrl, k / (m - 2 * DEG), DEG)
u = np.arange(NPAR) / (NPAR - 1)


def best(f, runs=5):
    times = []
    for _ in range(runs):
        t0 = time.perf_counter()
        f()
        times.append(time.perf_counter() - t0)
    return min(times)


t_vec = best(lambda: curve(u))
few = u[:: NPAR // 10_000]
t_loop = best(lambda: [curve(x) for x in few], runs=3) * (NPAR / few.size)
print(f"Python curve(u): {NPAR} evaluations in {t_vec:.4f} s ({1e9 * t_vec / NPAR:.1f} ns each)")
print(f"Python loop of curve(x): {t_loop:.2f} s for {NPAR} (scaled), {t_loop / t_vec:.0f}x slower")


def de_boor(x, U=curve.knots, P=ctrl, p=DEG):
    """One point by de Boor's algorithm in plain Python (the pure-Python way)."""
    k = min(max(np.searchsorted(U, x, side="right") - 1, p), len(P) - 1)
    d = [P[j + k - p].copy() for j in range(p + 1)]
    for r in range(1, p + 1):
        for j in range(p, r - 1, -1):
            a = (x - U[j + k - p]) / (U[j + 1 + k - r] - U[j + k - p])
            d[j] = (1 - a) * d[j - 1] + a * d[j]
    return d[p]


t_py = best(lambda: [de_boor(x) for x in few], runs=3) * (NPAR / few.size)
print(f"Pure-Python de Boor loop: {t_py:.2f} s for {NPAR} (scaled), {t_py / t_vec:.0f}x slower")
