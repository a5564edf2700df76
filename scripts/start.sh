#!/usr/bin/env bash
# Installs what Ostrel needs, builds it and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"

if [ -x build/app/ostrel ]; then
  exec build/app/ostrel
fi
echo
echo "Built (the main window is not part of this build yet):"
find build -maxdepth 3 \( -name '*.a' -o -type f -perm -u+x \) \
  \( -path 'build/engine/*' -o -path 'build/xml/*' -o -path 'build/app/*' -o -path 'build/protection/*' \
     -o -path 'build/bench/*' -o -path 'build/tests/*' \) -not -name '*.cmake' | sort
