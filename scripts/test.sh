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
(cd build && ctest --output-on-failure -j"$jobs" --timeout 600)
