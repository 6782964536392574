#!/usr/bin/env bash
# Installs what is missing, builds, starts the journal server on its embedded SQLite database
# (a demo plant on the first start) and opens the client built against it. The server stops
# when the client exits.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

data_dir="${XDG_DATA_HOME:-$HOME/.local/share}/repair-journal"
build_dir=build/run
listen=127.0.0.1:8443

cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DJOURNAL_BUILD_BENCH=OFF >/dev/null
cmake --build "$build_dir" --parallel 2 --target journal-server

server_log="$data_dir/server.log"
mkdir -p "$data_dir"
"$build_dir/server/app/journal-server" --listen "$listen" --data-dir "$data_dir" --demo >"$server_log.out" 2>"$server_log" &
server_pid=$!
trap 'kill "$server_pid" 2>/dev/null; wait "$server_pid" 2>/dev/null || true' EXIT

# The first start makes the local CA that the client must trust.
for _ in $(seq 1 100); do
  grep -q '^listening on' "$server_log.out" 2>/dev/null && break
  kill -0 "$server_pid" 2>/dev/null || { cat "$server_log.out" "$server_log" >&2; exit 1; }
  sleep 0.1
done
grep -q '^listening on' "$server_log.out" || { echo "the journal server did not start" >&2; exit 1; }

cmake -S . -B "$build_dir" -DJOURNAL_SERVER_URL="https://localhost:${listen##*:}/api/index" \
  -DJOURNAL_CA_FILE="$data_dir/tls/ca.pem" >/dev/null
cmake --build "$build_dir" --parallel 2 --target repair-journal

# The server speaks Russian regional formats by default; the client uses the same ones.
LANG=ru_RU.UTF-8 LC_TIME=ru_RU.UTF-8 LC_ALL= "$build_dir/client/app/repair-journal"
