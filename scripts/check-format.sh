#!/usr/bin/env bash
# Fails when a C++ file of the tree is not in the style of .clang-format, naming each such
# file and line. To put the files in style: scripts/check-format.sh --fix
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
  exit 0
fi
clang-format --dry-run --Werror "${files[@]}"
echo "check-format: ${#files[@]} files in style"
