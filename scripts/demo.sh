#!/usr/bin/env bash
# Builds the library and runs the demos on the data shipped in examples/data:
# the curve demo, the mesh demo, which writes build/patch.obj, and the
# fitting demo, which writes build/fitted.obj and build/spiral.crv.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target orvo_demo orvo_mesh_demo orvo_fit_demo
./build/examples/orvo_demo examples/data/arc.crv build/arc_out.crv
echo
./build/examples/orvo_mesh_demo examples/data/patch.sur examples/data/patch_loops.cua build/patch.obj
echo
./build/examples/orvo_fit_demo build/fitted.obj build/spiral.crv
