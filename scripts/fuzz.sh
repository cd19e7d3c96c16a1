#!/usr/bin/env bash
# Fuzzes the text readers and the hostile-record checker with libFuzzer:
# builds the clang fuzz build in build-fuzz/ (ORVO_FUZZ), then runs each
# target for SECONDS (default 20) on a copy of its seed corpus from
# tests/fuzz/corpus/. Exits nonzero on any finding (the reproducer is left
# in build-fuzz/findings/). Without clang and libFuzzer it skips, exit 0.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
build=${ORVO_FUZZ_BUILD:-build-fuzz}
log=$(mktemp)
probe=$(mktemp -d)
trap 'rm -rf "$log" "$probe"' EXIT
quiet() { "$@" >"$log" 2>&1 || { cat "$log"; exit 1; }; }

echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char *, unsigned long) { return 0; }' \
  >"$probe/probe.cpp"
if ! command -v clang++ >/dev/null 2>&1 ||
  ! clang++ -fsanitize=fuzzer "$probe/probe.cpp" -o "$probe/probe" >/dev/null 2>&1; then
  echo "clang++ with libFuzzer not found: fuzzing skipped"
  exit 0
fi

echo "configuring $build/"
quiet env CC=clang CXX=clang++ cmake -S . -B "$build" -DORVO_FUZZ=ON -DORVO_BUILD_TESTS=OFF \
  -DORVO_BUILD_EXAMPLES=OFF -DORVO_BUILD_BENCHMARKS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORVO_WERROR="${ORVO_WERROR:-OFF}"
echo "building the fuzz targets"
quiet cmake --build "$build" -j"$(nproc)" --target fuzz_targets

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
mkdir -p "$build/findings"
for seeds in tests/fuzz/corpus/*/; do
  target=$(basename "$seeds")
  corpus="$build/corpus/$target"
  rm -rf "$corpus"
  mkdir -p "$corpus"
  cp "$seeds"* "$corpus/"
  echo "fuzzing $target for ${seconds}s"
  if ! "$build/tests/fuzz/$target" "$corpus" -max_total_time="$seconds" -max_len=4096 \
    -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$build/findings/$target-" >"$log" 2>&1; then
    grep -vE '^#[0-9]+|^INFO:' "$log" | head -60
    status=1
  fi
done
if [ "$status" -eq 0 ]; then echo "no findings"; else echo "findings in $build/findings/"; fi
exit "$status"
