# Sourced by the tests that run the real journal-server ($server). start_server LOG ARGS... starts it on a free
# port of 127.0.0.1 with ARGS, waits until it listens and sets $pid and $port; its stdout goes to LOG.out, its
# stderr to LOG.err.
start_server() {
  local log=$1
  shift
  # A file left by an earlier start would be read before the new server truncates it.
  rm -f "$log.out" "$log.err"
  "$server" --listen 127.0.0.1:0 "$@" >"$log.out" 2>"$log.err" &
  pid=$!
  for _ in $(seq 100); do
    grep -qs "listening on" "$log.out" && break
    sleep 0.1
  done
  grep -qs "listening on" "$log.out" || { cat "$log.out" "$log.err"; exit 1; }
  port=$(sed -n 's|^listening on https://127.0.0.1:\([0-9]*\)/api/index$|\1|p' "$log.out")
}

# post_command COMMAND-JSON: posts one command as the client does (libcurl) and prints the answer.
post_command() {
  curl -sS --cacert "$ca" "https://localhost:$port/api/index" \
    --data-urlencode "data=$1" --data-urlencode 'key=QmWrTsXnPdKa'
}
