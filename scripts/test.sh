#!/usr/bin/env bash
# Installs what Ostrel needs, builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
werror=OFF
[ -n "${CI:-}" ] && werror=ON
jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOSTREL_WERROR="$werror"
cmake --build build -j"$jobs"
# The window tests need a display: without one they run on a virtual X server.
if [ -n "${DISPLAY:-}" ]; then
  (cd build && ctest --output-on-failure -j"$jobs" --timeout 600)
else
  (cd build && xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j"$jobs" --timeout 600)
fi
