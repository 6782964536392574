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

# use_database sqlite|postgresql NAME: sets $location to a new SQLite file in $work or, on PostgreSQL, a new schema
# NAME_PID of the test cluster ($base), whose name goes to $schema for the cleanup to drop.
use_database() {
  case $1 in
  sqlite) location=sqlite:$work/journal.sqlite3 ;;
  postgresql)
    base=$(cat "$JOURNAL_TEST_POSTGRES_URL_FILE")
    schema=$2_$$
    psql "$base" -qc "CREATE SCHEMA $schema" >/dev/null
    location="$base?options=-csearch_path%3D$schema"
    ;;
  esac
}

# first_id LIST-COMMAND: the id of the first record of a list (for all_machine a machine's).
first_id() {
  post_command "{\"command\":\"$1\"}" | grep -o '"Id":"[0-9]*"' | sed -n '1s/[^0-9]//gp'
}

# add_plant: a workshop with one machine, and a repairman, whose ids go to $machine and $repairman.
add_plant() {
  post_command '{"command":"save_workshop","id_workshop":"0","name_workshop":"Цех","description_workshop":"",
    "date_workshop":"01.02.1990"}' | grep -q '"success":true'
  post_command '{"command":"save_machine","id_machine":"0","name_machine":"Станок","description_machine":"",
    "inventory_machine":"1","id_workshop":"'"$(first_id all_workshop)"'"}' | grep -q '"success":true'
  post_command '{"command":"save_repairman","id_repairman":"0","surname_repairman":"Иванов","name_repairman":"",
    "patronymic_repairman":"","profession_repairman":""}' | grep -q '"success":true'
  machine=$(first_id all_machine)
  repairman=$(first_id all_repairman)
  [ -n "$machine" ] && [ -n "$repairman" ] || { echo "cannot set up the records"; exit 1; }
}

# clean_up: the exit trap of tests that stream saves: stops the writers (by $work/stop) and the server $pid, drops the
# schema use_database made, removes $work.
clean_up() {
  touch "$work/stop"
  [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null || true
  wait || true
  [ -n "$schema" ] && psql "$base" -qc "DROP SCHEMA $schema CASCADE" >/dev/null 2>&1 || true
  rm -rf "$work"
}
