#!/usr/bin/env bash
# Times the real journal-server against nginx serving the same answer bytes as a static file over HTTPS with the
# same certificate, a fresh TLS connection (one curl) per request, and prints each ratio beside its goal:
#   all_service with 1,000, 10,000 and 100,000 records (goal: within 2x nginx on SQLite, 3x on PostgreSQL),
#   each sort_service order on 100,000 records (within 1.5x all_service),
#   search_machine on 100,000 machines (within 2x all_machine),
#   the server's peak memory answering all_service with 100,000 records (under 3x the answer), alone and with
#   several clients at once (not beyond the number of requests in flight).
# The journal lists are timed on an unchanged journal, which the server answers from the journal it kept, and right
# after a change (untimed), after which it reads and writes again the records the change touched: a save of one
# record, and an edit of a workshop, which touches the twentieth of the records made in its machines.
# Usage: bench/server/compare-with-nginx.sh [BUILD_DIR]   (default build/ci; needs journal-server and
# server_bench_fill built). RUNS=N sets the runs a figure is the median of (default 5); POSTGRES=0 skips
# PostgreSQL. Installs Debian's nginx-light when nginx is missing.
set -euo pipefail

source_dir=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$source_dir/build/ci}" && pwd)
server=$build/server/app/journal-server
fill=$build/bench/server/server_bench_fill
runs=${RUNS:-5}
postgres=${POSTGRES:-1}
key=QmWrTsXnPdKa
concurrent=4

for program in "$server" "$fill"; do
  [ -x "$program" ] || { echo "build $(basename "$program") first (cmake --build --preset ci)" >&2; exit 1; }
done

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}
nginx=$(command -v nginx || echo /usr/sbin/nginx)
if [ ! -x "$nginx" ]; then
  echo "installing nginx-light for the comparison"
  as_root apt-get install -y --no-install-recommends nginx-light >/dev/null ||
    { as_root apt-get update >/dev/null && as_root apt-get install -y --no-install-recommends nginx-light >/dev/null; }
  nginx=/usr/sbin/nginx
fi

work=$(mktemp -d /tmp/journal-nginx-bench.XXXXXX)
chmod 755 "$work"
server_pid=
nginx_pid=
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
  [ -n "$nginx_pid" ] && kill "$nginx_pid" 2>/dev/null && wait "$nginx_pid" 2>/dev/null
  [ "$postgres" = 1 ] && "$source_dir/tests/server/postgres-stop.sh" "$work/postgres"
  rm -rf "$work"
}
trap cleanup EXIT

start_server() { # DATABASE
  [ -n "$server_pid" ] && kill "$server_pid" && wait "$server_pid" 2>/dev/null || true
  rm -f "$work/server.out"
  "$server" --listen 127.0.0.1:0 --data-dir "$work/data" --database "$1" >"$work/server.out" 2>/dev/null &
  server_pid=$!
  for _ in $(seq 300); do
    grep -qs "listening on" "$work/server.out" && break
    sleep 0.1
  done
  port=$(sed -n 's|^listening on https://127.0.0.1:\([0-9]*\)/api/index$|\1|p' "$work/server.out")
  [ -n "$port" ] || { cat "$work/server.out" >&2; exit 1; }
}

start_nginx() {
  mkdir -p "$work/nginx/static"
  chmod -R a+rX "$work/nginx"
  for _ in $(seq 20); do
    nginx_port=$((20000 + RANDOM % 30000))
    cat >"$work/nginx/nginx.conf" <<EOF
daemon off;
worker_processes 1;
pid $work/nginx/nginx.pid;
error_log $work/nginx/error.log;
events {}
http {
    access_log off;
    types { application/json json; }
    client_body_temp_path $work/nginx/body;
    proxy_temp_path $work/nginx/proxy;
    fastcgi_temp_path $work/nginx/fastcgi;
    server {
        listen 127.0.0.1:$nginx_port ssl;
        ssl_certificate $work/data/tls/server.pem;
        ssl_certificate_key $work/data/tls/server.key;
        ssl_protocols TLSv1.2 TLSv1.3;
        root $work/nginx/static;
    }
}
EOF
    "$nginx" -p "$work/nginx" -c "$work/nginx/nginx.conf" 2>>"$work/nginx/start.log" &
    nginx_pid=$!
    sleep 0.5
    kill -0 "$nginx_pid" 2>/dev/null && return
  done
  cat "$work/nginx/start.log" >&2
  exit 1
}

median() {
  sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

post() { # COMMAND-JSON [OUTPUT]
  curl -sS --fail-with-body --cacert "$work/data/tls/ca.pem" -o "${2:-/dev/null}" -w '%{time_total}\n' \
    "https://localhost:$port/api/index" --data-urlencode "data=$1" --data-urlencode "key=$key"
}

# Median seconds of RUNS requests after one to warm up.
time_server() { # COMMAND-JSON
  post "$1" >/dev/null
  for _ in $(seq "$runs"); do post "$1"; done | median
}

# The same, each request right after a change. Each change writes what the fill or the first save wrote, so the
# answer's bytes stay those nginx serves.
save='{"command":"edit_service","id_service":"1","id_machine_service":"1","description_service":"Замена подшипника","ids_repairman_service":"{\"ids_repairman\":[\"2\",\"1\"]}","start_date_service":"01.01.2024","start_time_service":"08:30:00","finish_date_service":"02.01.2024","finish_time_service":"17:00:00"}'
workshop_edit='{"command":"edit_workshop","id_workshop":"1","name_workshop":"Цех №1","description_workshop":"Корпус 2","date_workshop":"01.01.1971"}'
time_server_after() { # CHANGE-JSON COMMAND-JSON
  for _ in $(seq "$runs"); do
    post "$1" >/dev/null
    post "$2"
  done | median
}

time_nginx() { # FILE
  local url="https://localhost:$nginx_port/$1"
  curl -sS --fail --cacert "$work/data/tls/ca.pem" -o /dev/null "$url"
  for _ in $(seq "$runs"); do
    curl -sS --fail --cacert "$work/data/tls/ca.pem" -o /dev/null -w '%{time_total}\n' "$url"
  done | median
}

# Keeps the server's answer as nginx's static file; fails unless it is a success.
keep_answer() { # COMMAND-JSON FILE
  post "$1" "$work/nginx/static/$2" >/dev/null
  chmod a+r "$work/nginx/static/$2"
  tail -c 16 "$work/nginx/static/$2" | grep -q '"success":true}$' ||
    { echo "the server refused $1: $(head -c 300 "$work/nginx/static/$2")" >&2; exit 1; }
}

row() { # WHAT OURS REFERENCE GOAL
  awk -v what="$1" -v ours="$2" -v ref="$3" -v goal="$4" 'BEGIN {
    ratio = ours / ref
    printf "%-46s %9.3f s %9.3f s %7.2fx  %-6s %s\n", what, ours, ref, ratio, "<= " goal "x", ratio <= goal ? "met" : "MISSED"
  }'
}

header() {
  printf '\n%-46s %11s %11s %8s  %s\n' "$1" "server" "$2" "ratio" "goal"
}

peak_kib() { grep VmHWM "/proc/$server_pid/status" | awk '{ print $2 }'; }

# Peak resident memory of the server while answering `clients` all_service requests at once.
measure_memory() { # ANSWER-FILE
  local bytes single together
  bytes=$(stat -c %s "$1")
  echo 5 >"/proc/$server_pid/clear_refs"
  post '{"command":"all_service"}' >/dev/null
  single=$(peak_kib)
  echo 5 >"/proc/$server_pid/clear_refs"
  local clients=()
  for _ in $(seq "$concurrent"); do
    post '{"command":"all_service"}' >/dev/null &
    clients+=($!)
  done
  wait "${clients[@]}"
  together=$(peak_kib)
  awk -v bytes="$bytes" -v single="$single" -v together="$together" -v clients="$concurrent" 'BEGIN {
    mib = 1024 * 1024
    printf "\nmemory, all_service with 100,000 records (answer %.1f MiB):\n", bytes / mib
    printf "  peak RSS, one request            %7.1f MiB = %.2fx the answer   goal < 3x    %s\n",
      single / 1024, single * 1024 / bytes, single * 1024 < 3 * bytes ? "met" : "MISSED"
    printf "  peak RSS, %d requests at once     %7.1f MiB = %.2fx one request  goal <= %dx   %s\n",
      clients, together / 1024, together / single, clients, together <= clients * single ? "met" : "MISSED"
  }'
}

sqlite_location() { echo "sqlite:$work/journal-$1.sqlite3"; }

postgres_location() { # SCHEMA
  psql -q "$postgres_url" -c "CREATE SCHEMA $1"
  echo "$postgres_url?options=-csearch_path%3D$1"
}

journal_sizes="1000 10000 100000"
engines=sqlite
if [ "$postgres" = 1 ]; then
  "$source_dir/tests/server/postgres-start.sh" "$work/postgres" >/dev/null
  postgres_url=$(cat "$work/postgres/url")
  engines="sqlite postgresql"
fi

echo "journal-server: $server"
echo "nginx: $($nginx -v 2>&1); $runs runs a figure, the median, a fresh TLS connection each"
start_server "$(sqlite_location warmup)" # makes the certificate nginx shares
start_nginx

for engine in $engines; do
  goal=2
  [ "$engine" = postgresql ] && goal=3
  header "all_service on $engine" nginx
  for size in $journal_sizes; do
    if [ "$engine" = sqlite ]; then location=$(sqlite_location "$size"); else location=$(postgres_location "j$size"); fi
    "$fill" "$location" "$size" 200
    start_server "$location"
    post "$save" >/dev/null
    keep_answer '{"command":"all_service"}' "all_service-$size.json"
    static=$(time_nginx "all_service-$size.json")
    row "all_service, $size records" "$(time_server '{"command":"all_service"}')" "$static" "$goal"
    row "all_service, $size records, after a save" \
      "$(time_server_after "$save" '{"command":"all_service"}')" "$static" "$goal"
    row "all_service, $size records, after a workshop edit" \
      "$(time_server_after "$workshop_edit" '{"command":"all_service"}')" "$static" "$goal"
  done

  # The server still holds the 100,000-record journal.
  for after in nothing save workshop_edit; do
    timed() { # COMMAND-JSON
      if [ "$after" = nothing ]; then time_server "$1"; else time_server_after "${!after}" "$1"; fi
    }
    all=$(timed '{"command":"all_service"}')
    what=
    [ "$after" = save ] && what=", after a save"
    [ "$after" = workshop_edit ] && what=", after a workshop edit"
    header "sort_service on $engine, 100000 records$what" "all_service"
    for field in S.id M.title W.title S.description S.time_start S.time_finish; do
      for path in asc desc; do
        row "sort_service $field $path" \
          "$(timed "{\"command\":\"sort_service\",\"field\":\"$field\",\"path\":\"$path\"}")" "$all" 1.5
      done
    done
  done
  [ "$engine" = sqlite ] && measure_memory "$work/nginx/static/all_service-100000.json"

  if [ "$engine" = sqlite ]; then location=$(sqlite_location machines); else location=$(postgres_location machines); fi
  "$fill" "$location" 0 100000
  start_server "$location"
  all=$(time_server '{"command":"all_machine"}')
  header "search_machine on $engine, 100000 machines" all_machine
  for search in "станок:every machine" "фрезерный:an eighth" "ничего-такого:none"; do
    row "search_machine, ${search#*:} matching" \
      "$(time_server "{\"command\":\"search_machine\",\"search\":\"${search%%:*}\"}")" "$all" 2
  done
done
