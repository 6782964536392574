#!/usr/bin/env bash
# Fails when a tracked C++ file differs from the committed .clang-format, and says how to fix it.
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t files < <(git ls-files '*.cpp' '*.h')
unformatted=()
for file in "${files[@]}"; do
  clang-format --dry-run --Werror "$file" >/dev/null 2>&1 || unformatted+=("$file")
done
if [ ${#unformatted[@]} -gt 0 ]; then
  printf 'format: not formatted: %s\n' "${unformatted[@]}" >&2
  echo "format: fix with: clang-format -i ${unformatted[*]}" >&2
  exit 1
fi
echo "format: ${#files[@]} C++ files match .clang-format"
