#!/usr/bin/env bash
# Configures (once) and builds into build/ with Ninja. Extra arguments go to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${LADOGRAF_BUILD_DIR:-build}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${LADOGRAF_BUILD_TYPE:-RelWithDebInfo} "$@"
fi
cmake --build "$build" -j "$(nproc)"
