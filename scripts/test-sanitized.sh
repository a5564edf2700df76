#!/usr/bin/env bash
# Builds the units free of GUI types (the engine, the XML layer, the application's
# and the protection tools' core units) with their tests and the end-to-end
# encodes under a sanitizer and runs them.
#   scripts/test-sanitized.sh address,undefined build-asan
#   scripts/test-sanitized.sh thread build-tsan
set -euo pipefail
cd "$(dirname "$0")/.."
sanitize=$1
dir=$2
jobs=${OSTREL_JOBS:-$(nproc)}

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOSTREL_WERROR=ON \
  -DOSTREL_SANITIZE="$sanitize" -DOSTREL_GUI_FREE_ONLY=ON "${launcher[@]}"
cmake --build "$dir" -j"$jobs" --target engine_tests xml_tests app_core_tests protection_tests e2e_tests
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
(cd "$dir" && ctest --output-on-failure -j"$jobs" --timeout 900 -R '^')
