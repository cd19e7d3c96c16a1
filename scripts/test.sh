#!/usr/bin/env bash
# Builds the library, the orvo command and the tests and runs every test. Prints the steps and
# the result; the full output of a step that fails, and of a failing test.
# ORVO_WERROR=ON (as CI sets it) turns compiler warnings into errors.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
log=$(mktemp)
trap 'rm -f "$log"' EXIT
quiet() { "$@" >"$log" 2>&1 || { cat "$log"; exit 1; }; }
echo "configuring build/"
# The Python package is built and tested when the interpreter, numpy, pytest
# and pybind11 are installed.
python=$(bash scripts/python.sh)
[ "$python" = ON ] && echo "the Python package is built and tested too"
quiet cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVO_BUILD_EXAMPLES=OFF \
  -DORVO_BUILD_BENCHMARKS=OFF -DORVO_WERROR="${ORVO_WERROR:-OFF}" -DORVO_BUILD_PYTHON="$python"
echo "building the library, the orvo command and the tests"
quiet cmake --build build -j"$(nproc)"
echo "running the tests"
if ctest --test-dir build -j"$(nproc)" --output-on-failure >"$log" 2>&1; then
  grep -E 'tests passed|Total Test time' "$log"
else
  # The failures with their output, and the summary; not the passing tests.
  grep -vE '^ +Start +[0-9]+:|Test +#[0-9]+: .* Passed' "$log"
  exit 1
fi
