#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "${LADOGRAF_BUILD_DIR:-build}" --output-on-failure -j 2
# The Debian package is built and checked with lintian (not installed: scripts/check-package.sh does that).
bash scripts/package.sh
