#!/usr/bin/env bash
# Builds the engine and the XML layer with their tests under a sanitizer and runs them.
#   scripts/test-sanitized.sh address,undefined build-asan
#   scripts/test-sanitized.sh thread build-tsan
set -euo pipefail
cd "$(dirname "$0")/.."
sanitize=$1
dir=$2
jobs=$(nproc)

cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOSTREL_WERROR=ON \
  -DOSTREL_SANITIZE="$sanitize" -DOSTREL_ONLY_ENGINE=ON -DOSTREL_WITH_XML=ON
cmake --build "$dir" -j"$jobs" --target engine_tests xml_tests app_core_tests
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
(cd "$dir" && ctest --output-on-failure -j"$jobs" --timeout 900 -R '^')
