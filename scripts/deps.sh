#!/usr/bin/env bash
# Installs what the build needs when it is missing (Debian packages): CMake,
# a C and C++17 compiler, GoogleTest, nm, pkg-config and CLI11 (for the orvo
# command). Prints nothing when everything is there.
set -euo pipefail
need=()
command -v cmake >/dev/null || need+=(cmake)
command -v g++ >/dev/null || need+=(g++)
command -v cc >/dev/null || need+=(gcc)
command -v make >/dev/null || need+=(make)
[ -f /usr/include/gtest/gtest.h ] || need+=(libgtest-dev)
command -v nm >/dev/null || need+=(binutils)
command -v pkg-config >/dev/null || need+=(pkgconf)
[ -f /usr/include/CLI/CLI.hpp ] || need+=(libcli11-dev)
if [ ${#need[@]} -gt 0 ]; then
  echo "installing ${need[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq >/dev/null
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${need[@]}" >/dev/null
fi
