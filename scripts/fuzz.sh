#!/usr/bin/env bash
# Builds the fuzz targets (asan preset: clang with AddressSanitizer, UndefinedBehaviorSanitizer and libFuzzer)
# and runs each for RUNS executions (default 1,000,000) from its committed seeds, printing executions and time.
# A crash leaves its input as crash-* in the current folder; add it to the target's seeds and to the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-1000000}

bash scripts/install-deps.sh
cmake --preset asan >/dev/null
targets=(fuzz_client_answer fuzz_window_answers fuzz_wire_writer fuzz_server_request)
cmake --build --preset asan --parallel 2 --target "${targets[@]}"

export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export QT_QPA_PLATFORM=offscreen
for target in "${targets[@]}"; do
  started=$SECONDS
  log=$(mktemp)
  if ! tests/fuzz/run-fuzz-target.sh "build/asan/tests/fuzz/$target" "tests/fuzz/corpus/$target" "$runs" >"$log" 2>&1; then
    tail -40 "$log"
    echo "fuzz: $target failed after $((SECONDS - started)) s"
    exit 1
  fi
  executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  coverage=$(grep -o 'cov: [0-9]*' "$log" | tail -1)
  echo "fuzz: $target: $executed executions in $((SECONDS - started)) s, $coverage, no crash"
  rm -f "$log"
done
