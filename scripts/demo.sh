#!/usr/bin/env bash
# Builds the library and runs the demos on the data shipped in examples/data:
# the curve demo, the mesh demo, which writes build/patch.obj, and the
# fitting demo, which writes build/fitted.obj and build/spiral.crv; then a
# short session of the orvo command: a fitted curve (build/wave.crv) and
# its picture (build/wave.svg), and the mesh of an IGES file with a trimmed
# surface (build/trimmed.obj).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
log=$(mktemp)
trap 'rm -f "$log"' EXIT
quiet() { "$@" >"$log" 2>&1 || { cat "$log"; exit 1; }; }
echo "building the library and the demos"
quiet cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVO_BUILD_EXAMPLES=ON
quiet cmake --build build -j"$(nproc)" --target orvo_demo orvo_mesh_demo orvo_fit_demo orvo_cli
echo
./build/examples/orvo_demo examples/data/arc.crv build/arc_out.crv
echo
./build/examples/orvo_mesh_demo examples/data/patch.sur examples/data/patch_loops.cua build/patch.obj
echo
./build/examples/orvo_fit_demo build/fitted.obj build/spiral.crv
echo
echo "orvo session:"
orvo() {
  echo "\$ orvo $*"
  ./build/tools/orvo "$@"
}
orvo fit examples/data/wave.csv -o build/wave.crv --degree 3 --param chord
orvo plot build/wave.crv -o build/wave.svg --ctrl --knots --curvature
orvo iges tests/data/iges/trimmed_param.igs --list
orvo iges tests/data/iges/trimmed_param.igs --mesh build/trimmed.obj --chord 1e-3
