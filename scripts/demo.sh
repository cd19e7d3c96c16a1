#!/usr/bin/env bash
# Builds the library and runs the demo on the curve shipped in examples/data.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target orvo_demo
./build/examples/orvo_demo examples/data/arc.crv build/arc_out.crv
