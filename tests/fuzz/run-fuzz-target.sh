#!/usr/bin/env bash
# Runs one fuzz target for a bounded number of executions, starting from its committed seeds.
# usage: run-fuzz-target.sh TARGET SEED-DIR RUNS
set -euo pipefail
target=$1 seeds=$2 runs=$3
# New inputs go to a scratch corpus: the committed seeds stay as they are.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$target" -runs="$runs" -max_len=65536 -timeout=20 -rss_limit_mb=4096 -print_final_stats=1 "$scratch" "$seeds"
