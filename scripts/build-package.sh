#!/usr/bin/env bash
# Builds the Debian package in BUILD (a tree of its own, without the tests),
# compiled and linked with the flags of dpkg-buildflags with every hardening
# feature on, and writes it into OUT (default BUILD).
# usage: scripts/build-package.sh BUILD [OUT]
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?usage: build-package.sh BUILD [OUT]}
out=${2:-$build}

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
# The package is stripped, so the debugging information would only slow the build.
export DEB_CFLAGS_MAINT_STRIP=-g DEB_CXXFLAGS_MAINT_STRIP=-g
cppflags=$(dpkg-buildflags --get CPPFLAGS)
CFLAGS="$(dpkg-buildflags --get CFLAGS) $cppflags" \
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $cppflags" \
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)" \
  cmake -S "$source_dir" -B "$build" -DCMAKE_BUILD_TYPE=None -DCADRIX_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_STRIP="$source_dir/packaging/debian/strip.sh" >/dev/null
cmake --build "$build" -j "${JOBS:-2}"
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out"
