#!/usr/bin/env bash
# Builds the library and runs the demos on the data shipped in examples/data:
# the curve demo, the mesh demo, which writes build/patch.obj, and the
# fitting demo, which writes build/fitted.obj and build/spiral.crv.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
log=$(mktemp)
trap 'rm -f "$log"' EXIT
quiet() { "$@" >"$log" 2>&1 || { cat "$log"; exit 1; }; }
echo "building the library and the demos"
quiet cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVO_BUILD_EXAMPLES=ON
quiet cmake --build build -j"$(nproc)" --target orvo_demo orvo_mesh_demo orvo_fit_demo
echo
./build/examples/orvo_demo examples/data/arc.crv build/arc_out.crv
echo
./build/examples/orvo_mesh_demo examples/data/patch.sur examples/data/patch_loops.cua build/patch.obj
echo
./build/examples/orvo_fit_demo build/fitted.obj build/spiral.crv
