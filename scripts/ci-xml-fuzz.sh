#!/usr/bin/env bash
# Builds the XML loader's libFuzzer target with clang and runs it for a bounded time over the
# committed seed corpus. Any crash, leak or sanitizer report fails the run; libFuzzer then
# leaves the input that caused it (crash-*, leak-*) in the build directory.
#   scripts/ci-xml-fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
dir=build-fuzz

CC=clang CXX=clang++ cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOSTREL_WERROR=ON \
  -DOSTREL_GUI_FREE_ONLY=ON -DOSTREL_FUZZ=ON
cmake --build "$dir" -j4 --target xml_load_fuzzer

# New inputs go to a scratch corpus so that the committed seeds stay as they are.
work="$dir/xml-fuzz-corpus"
mkdir -p "$work"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd "$dir" && "./tests/xml/fuzz/xml_load_fuzzer" -max_total_time="$seconds" -timeout=10 \
  -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 \
  "xml-fuzz-corpus" ../tests/xml/fuzz/corpus)
echo "xml fuzz: no crash in ${seconds} s"
