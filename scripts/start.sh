#!/usr/bin/env bash
# Installs what Ostrel needs, builds it and starts the program (its window
# needs a display: a desktop session, or DISPLAY pointing at an X server).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
exec build/app/ostrel
