#!/usr/bin/env bash
# Starts the real journal-server on a fresh data folder: it must make its CA, fill the demo plant, report where
# it listens, answer over HTTPS with that CA, and stop cleanly on SIGTERM.
set -euo pipefail
server=$1
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT

"$server" --help | grep -q -- '--database'

port=$((20000 + RANDOM % 30000))
"$server" --data-dir "$work/data" --listen "127.0.0.1:$port" --demo >"$work/out" 2>"$work/err" &
pid=$!
for _ in $(seq 100); do
  grep -q "listening on https://127.0.0.1:$port/api/index" "$work/out" && break
  sleep 0.1
done
grep -q "listening on" "$work/out" || { cat "$work/out" "$work/err"; exit 1; }
grep -q "$work/data/tls/ca.pem" "$work/out"

answer=$(curl -sS --cacert "$work/data/tls/ca.pem" "https://localhost:$port/api/index" \
  --data-urlencode 'data={"command":"all_service"}' --data-urlencode 'key=QmWrTsXnPdKa')
echo "$answer" | grep -q '"success":true'
echo "$answer" | grep -q '"TimeStart"'
grep -q ' all_service ok ' "$work/err"
if grep -q 'QmWrTsXnPdKa' "$work/err"; then echo "the key reached the log"; exit 1; fi

kill -TERM "$pid"
wait "$pid"
grep -q '^stopped$' "$work/out"
echo "1 passed, 0 failed"
