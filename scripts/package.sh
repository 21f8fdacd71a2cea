#!/usr/bin/env bash
# Builds the Debian package from the build tree (build/ unless LADOGRAF_BUILD_DIR says
# otherwise) and checks it with lintian; prints the package's path on the last line.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${LADOGRAF_BUILD_DIR:-build}
bash scripts/build.sh >&2
out="$build/package"
rm -rf "$out"
cpack --config "$build/CPackConfig.cmake" -B "$out" >/dev/null
deb=$(ls "$out"/ladograf_*.deb)
if command -v lintian >/dev/null; then
  # No errors allowed; warnings are printed for the record.
  lintian --fail-on error --tag-display-limit 0 "$deb"
fi
echo "$deb"
