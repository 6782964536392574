#!/usr/bin/env bash
# durability-test.sh SERVER sqlite|postgresql: writers stream saves into the real server; it is killed with SIGKILL
# in the middle, started again on the same database, and every save it acknowledged must be there. A few rounds.
set -euo pipefail
server=$1
kind=$2
rounds=3
writers=3
work=$(mktemp -d)
pid=""
schema=""
source "$(dirname "$0")/server-process.sh"
trap clean_up EXIT
ca=$work/data/tls/ca.pem

use_database "$kind" durability
start() { start_server "$work/server" --data-dir "$work/data" --database "$location"; }

start
add_plant

# writer ROUND NUMBER: saves records named by a tag until told to stop; notes the tag of each acknowledged save.
writer() {
  local i=0 tag answer
  while [ ! -e "$work/stop" ]; do
    i=$((i + 1))
    tag=r$1-w$2-$i
    answer=$(post_command '{"command":"save_service","id_service":"0","id_machine_service":"'"$machine"'",
      "description_service":"'"$tag"'","ids_repairman_service":"{\"ids_repairman\":[\"'"$repairman"'\"]}",
      "start_date_service":"10.03.2024","start_time_service":"08:30:00"}' 2>/dev/null) || true
    case $answer in *'"success":true'*) echo "$tag" >>"$work/acked" ;; esac
  done
}

touch "$work/acked"
for round in $(seq "$rounds"); do
  before=$(wc -l <"$work/acked")
  rm -f "$work/stop"
  writer_pids=()
  for w in $(seq "$writers"); do
    writer "$round" "$w" &
    writer_pids+=($!)
  done
  # Kill once this round has a few acknowledged saves, while the writers keep sending.
  for _ in $(seq 400); do
    [ $(($(wc -l <"$work/acked") - before)) -ge 10 ] && break
    sleep 0.05
  done
  kill -KILL "$pid"
  wait "$pid" 2>/dev/null || true
  touch "$work/stop"
  wait "${writer_pids[@]}"
  acked=$(($(wc -l <"$work/acked") - before))
  [ "$acked" -gt 0 ] || { echo "round $round: no save was acknowledged"; cat "$work/server.err"; exit 1; }

  start
  post_command '{"command":"all_service"}' | grep -o '"Description":"r[0-9]*-w[0-9]*-[0-9]*"' |
    sed 's/.*:"\(.*\)"/\1/' | sort >"$work/found"
  missing=$(sort "$work/acked" | comm -23 - "$work/found")
  if [ -n "$missing" ]; then
    echo "round $round: acknowledged saves missing after SIGKILL:" $missing
    exit 1
  fi
  echo "$kind round $round: killed after $acked acknowledged saves; all $(wc -l <"$work/acked") found again" \
    "($(sort "$work/acked" | comm -13 - "$work/found" | wc -l) saved without an answer)"
done
kill -TERM "$pid"
wait "$pid"
pid=""
echo "passed"
