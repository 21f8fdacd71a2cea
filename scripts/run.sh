#!/usr/bin/env bash
# Installs what is missing, builds, starts the virtual meter on loopback and the program.
# The program starts with its Ethernet link pointed at the virtual meter (--meter), so
# "Проверка связи" works at once. With no display at all it runs on a virtual one (Xvfb).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
build=${LADOGRAF_BUILD_DIR:-build}
port=${LADOGRAF_SIM_PORT:-5555}
"$build/tools/meter-sim/meter-sim" --tcp "127.0.0.1:$port" &
sim=$!
trap 'kill $sim 2>/dev/null || true' EXIT
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  xvfb-run -a "$build/src/app/ladograf" --meter "127.0.0.1:$port" "$@"
else
  "$build/src/app/ladograf" --meter "127.0.0.1:$port" "$@"
fi
