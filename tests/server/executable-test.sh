#!/usr/bin/env bash
# Starts the real journal-server on a fresh data folder: it must make its CA, fill the demo plant, report where
# it listens, answer over HTTPS with that CA, and stop cleanly on SIGTERM.
set -euo pipefail
server=$1
work=$(mktemp -d)
pid=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT

# Through a file: grep -q would stop reading at the first match and break the pipe of a longer text.
"$server" --help >"$work/help"
grep -q -- '--database' "$work/help"

source "$(dirname "$0")/server-process.sh"
start() { start_server "$work/server" --data-dir "$work/data" --demo "$@"; }
start
grep -q "$work/data/tls/ca.pem" "$work/server.out"

all_service() {
  curl -sS --cacert "$work/data/tls/ca.pem" "https://localhost:$port/api/index" \
    --data-urlencode 'data={"command":"all_service"}' --data-urlencode "key=$1"
}
answer=$(all_service QmWrTsXnPdKa)
echo "$answer" | grep -q '"success":true'
echo "$answer" | grep -q '"TimeStart"'
grep -q ' all_service ok ' "$work/server.err"
if grep -q 'QmWrTsXnPdKa' "$work/server.err"; then echo "the key reached the log"; exit 1; fi

[ "$(stat -c %a "$work/data/tls/server.key")" = 600 ]

# A second server on the same address is refused instead of sharing the port with the first.
if timeout 5 "$server" --listen "127.0.0.1:$port" --data-dir "$work/second" >"$work/second.out" 2>"$work/second.err"; then
  echo "a second server listened on port $port"; exit 1
fi
grep -q "cannot listen on 127.0.0.1:$port" "$work/second.err" || { cat "$work/second.err"; exit 1; }

kill -TERM "$pid"
wait "$pid"
grep -q '^stopped$' "$work/server.out"

# A second start keeps the CA that clients were built with and adds no second demo plant.
cp "$work/data/tls/ca.pem" "$work/ca-first.pem"
start
cmp -s "$work/ca-first.pem" "$work/data/tls/ca.pem"
grep -q "demo plant not added" "$work/server.out"
kill -INT "$pid"
wait "$pid"

# A key read from a file (the line end an editor adds is not part of it) replaces the default and never shows
# in the process list.
printf 'Zx9 key\n' >"$work/key"
start --key-file "$work/key"
[[ $(all_service 'Zx9 key') == *'"success":true'* ]]
[[ $(all_service QmWrTsXnPdKa) == *'"error"'* ]]
if tr '\0' ' ' <"/proc/$pid/cmdline" | grep -q 'Zx9'; then echo "the key reached the command line"; exit 1; fi
kill -TERM "$pid"
wait "$pid"

# Key files that cannot serve are refused at start, naming the file.
printf '' >"$work/empty"
printf 'one\ntwo\n' >"$work/two-lines"
mkdir "$work/folder"
while IFS='|' read -r arguments message; do
  # shellcheck disable=SC2086 # the arguments of a case are split on purpose
  if "$server" --data-dir "$work/data" $arguments >"$work/out" 2>"$work/err"; then
    echo "started with $arguments"; exit 1
  fi
  grep -q -- "$message" "$work/err" || { echo "$arguments: expected '$message', got:"; cat "$work/err"; exit 1; }
done <<CASES
--key-file $work/missing|the key file $work/missing cannot be read: No such file or directory
--key-file $work/empty|the key file $work/empty is empty
--key-file $work/two-lines|the key file $work/two-lines must hold the key on one line
--key-file $work/folder|the key file $work/folder is a folder
--key-file $work/key --key other|--key and --key-file exclude each other
CASES
echo "1 passed, 0 failed"
