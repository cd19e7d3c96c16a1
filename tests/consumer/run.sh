#!/usr/bin/env bash
# Installs the build into a temporary prefix and builds the consumer program
# against it twice: with pkg-config and with the CMake package. Each must
# compile, link and run.
#   run.sh BUILD_DIR CONSUMER_DIR
set -euo pipefail
build=$1
src=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
# Everything lands under the prefix, the Python package included.
if grep -v "^$prefix/" "$build/install_manifest.txt"; then
  echo "installed outside $prefix" >&2
  exit 1
fi

pc=$(find "$prefix" -name orvo.pc)
export PKG_CONFIG_PATH=$(dirname "$pc")
libdir=$(pkg-config --variable=libdir orvo)
cc "$src/consumer.c" $(pkg-config --cflags --libs orvo) -lm -Wl,-rpath,"$libdir" -o "$tmp/with_pkgconfig"
"$tmp/with_pkgconfig"

cmake -S "$src" -B "$tmp/cmake" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$tmp/cmake" >/dev/null
"$tmp/cmake/consumer"
