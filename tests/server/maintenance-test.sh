#!/usr/bin/env bash
# maintenance-test.sh SERVER sqlite|postgresql: the real journal-server's backup, restore and export commands.
# Writers stream saves into a running server while a backup is taken; the backup must hold every save acknowledged
# before it began. On SQLite a restore is refused while the server runs and, once it is stopped, puts the backup in
# place and keeps the replaced database; on PostgreSQL pg_dump writes the backup.
set -euo pipefail
server=$1
kind=$2
writers=3
work=$(mktemp -d)
pid=""
schema=""
source "$(dirname "$0")/server-process.sh"
trap clean_up EXIT
ca=$work/data/tls/ca.pem
fail() {
  echo "$*"
  exit 1
}

"$server" --help >"$work/help"
for word in 'backup \[options\] FILE' 'restore \[options\] FILE' 'export --from DATE --to DATE' '--format csv|xlsx'; do
  grep -q -- "$word" "$work/help" || fail "--help does not tell of $word"
done

use_database "$kind" maintenance
start_server "$work/server" --data-dir "$work/data" --database "$location"
add_plant

# writer NUMBER: saves records named by a tag until told to stop; notes the tag of each acknowledged save.
writer() {
  local i=0 tag answer
  while [ ! -e "$work/stop" ]; do
    i=$((i + 1))
    tag=w$1-$i
    answer=$(post_command '{"command":"save_service","id_service":"0","id_machine_service":"'"$machine"'",
      "description_service":"'"$tag"'","ids_repairman_service":"{\"ids_repairman\":[\"'"$repairman"'\"]}",
      "start_date_service":"10.03.2024","start_time_service":"08:30:00",
      "finish_date_service":"11.03.2024","finish_time_service":"01:00:00"}' 2>/dev/null) || true
    case $answer in *'"success":true'*) echo "$tag" >>"$work/acked" ;; esac
  done
}
touch "$work/acked"
writer_pids=()
for w in $(seq "$writers"); do
  writer "$w" &
  writer_pids+=($!)
done
# acked_at_least N: waits until N saves are acknowledged.
acked_at_least() {
  for _ in $(seq 400); do
    [ "$(wc -l <"$work/acked")" -ge "$1" ] && return
    sleep 0.05
  done
  fail "the writers got fewer than $1 saves acknowledged"
}
acked_at_least 30
sort "$work/acked" >"$work/acked-before"
"$server" backup --database "$location" "$work/backups/journal.backup" 2>"$work/backup.err" &&
  fail "a backup into a missing folder was reported as written"
mkdir "$work/backups"
"$server" backup --database "$location" "$work/backups/journal.backup" 2>"$work/backup.err" ||
  fail "backup failed: $(cat "$work/backup.err")"
# Saves go on after the backup, then the writers stop.
acked_at_least $(($(wc -l <"$work/acked") + 5))
touch "$work/stop"
wait "${writer_pids[@]}"
[ "$(ls -A "$work/backups")" = journal.backup ] || fail "the backup folder holds $(ls -A "$work/backups")"
if "$server" backup --database "$location" "$work/backups/journal.backup" 2>/dev/null; then
  fail "a backup replaced an earlier one"
fi

if [ "$kind" = postgresql ]; then
  grep -q 'pg_dump' "$work/backup.err" || fail "the backup does not say it ran pg_dump: $(cat "$work/backup.err")"
  # Listed into a file: grep -q stops reading at the first match, and pipefail would count pg_restore's broken pipe.
  pg_restore --list "$work/backups/journal.backup" >"$work/listing"
  grep -q "TABLE $schema service" "$work/listing" || fail "the dump lacks the journal"
  "$server" restore "$work/backups/journal.backup" --database "$location" 2>"$work/restore.err" &&
    fail "a PostgreSQL restore was reported as done"
  grep -q 'pg_restore' "$work/restore.err" || fail "the refusal does not name pg_restore: $(cat "$work/restore.err")"
  echo "postgresql: pg_dump wrote the backup while $(wc -l <"$work/acked") saves were acknowledged"
  echo "1 passed, 0 failed"
  exit 0
fi

# The backup opens in a server of its own and holds every save acknowledged before it began.
kept_pid=$pid
start_server "$work/copy" --data-dir "$work/data" --database "sqlite:$work/backups/journal.backup"
post_command '{"command":"all_service"}' | grep -o '"Description":"w[0-9]*-[0-9]*"' | sed 's/.*:"\(.*\)"/\1/' |
  sort >"$work/in-backup"
kill -TERM "$pid"
wait "$pid"
pid=$kept_pid
missing=$(comm -23 "$work/acked-before" "$work/in-backup")
[ -z "$missing" ] || fail "saves acknowledged before the backup are missing from it: $missing"
in_backup=$(wc -l <"$work/in-backup")
[ "$in_backup" -lt "$(wc -l <"$work/acked")" ] || fail "the backup holds saves made after it ended"

# Restoring is refused while the server runs, and changes nothing.
if "$server" restore "$work/backups/journal.backup" --database "$location" 2>"$work/restore.err"; then
  fail "restored under a running server"
fi
grep -q 'in use by a server' "$work/restore.err" || fail "unexpected refusal: $(cat "$work/restore.err")"
kill -TERM "$pid"
wait "$pid"
pid=""
"$server" restore "$work/backups/journal.backup" --database "$location" 2>"$work/restore.err" ||
  fail "restore failed: $(cat "$work/restore.err")"
replaced=$(echo "$work"/journal.sqlite3.replaced-*)
[ -f "$replaced" ] || fail "the replaced database was not kept: $(ls "$work")"

start_server "$work/server" --data-dir "$work/data" --database "$location"
[ "$(post_command '{"command":"all_service"}' | grep -o '"Description":"w[0-9]*-[0-9]*"' | wc -l)" = "$in_backup" ] ||
  fail "the restored journal is not the backup"
kill -TERM "$pid"
wait "$pid"
pid=""

# Exports of the restored journal: the CSV opens with the byte order mark and the header; errors name the fault.
"$server" export --database "$location" --from 01.03.2024 --to 31.03.2024 >"$work/march.csv" 2>/dev/null
head -c 3 "$work/march.csv" | cmp -s - <(printf '\xEF\xBB\xBF') || fail "the CSV has no byte order mark"
[ "$(grep -c '"Станок";"1";"Цех";"w' "$work/march.csv")" = "$in_backup" ] || fail "the CSV lacks records"
grep -q '"10.03.2024 08:30:00";"11.03.2024 01:00:00";"16,50"' "$work/march.csv" || fail "the CSV has other times"
"$server" export --database "$location" --from 3/1/2024 --to 3/31/2024 --date-format M/d/yyyy --format xlsx \
  --output "$work/march.xlsx" 2>/dev/null
head -c 2 "$work/march.xlsx" | grep -q PK || fail "the xlsx is no workbook"
while IFS='|' read -r arguments message; do
  # shellcheck disable=SC2086 # the arguments of a case are split on purpose
  if "$server" $arguments >"$work/out" 2>"$work/err"; then fail "$arguments succeeded"; fi
  grep -qF -- "$message" "$work/err" || fail "$arguments: expected '$message', got: $(cat "$work/err")"
  [ ! -s "$work/out" ] || fail "$arguments wrote to standard output"
done <<CASES
export --database $location --from 01.04.2024 --to 31.03.2024|--to 31.03.2024 is before --from 01.04.2024
export --database $location --from 2024-03-01 --to 31.03.2024|--from 2024-03-01 is not a date of the form dd.MM.yyyy
export --database $location --from 01.03.2024|export needs --from DATE and --to DATE
export --database $location --from 01.03.2024 --to 31.03.2024 --machine 99|there is no machine with id 99
export --database $location --from 01.03.2024 --to 31.03.2024 --machine x|--machine takes the id of a machine
export --database $location --from 01.03.2024 --to 31.03.2024 --format xlsx|--format xlsx needs --output FILE
export --database $location --from 01.03.2024 --to 31.03.2024 --format ods|--format is csv or xlsx
export --database sqlite:$work/missing.sqlite3 --from 01.03.2024 --to 31.03.2024|there is no database
backup --database $location|backup needs the FILE to write
backup --database $location --listen 127.0.0.1:1 $work/b|--listen is an option of the server, not of backup
restore --database $location --from 01.03.2024 $work/b|--from is an option of export, not of restore
restore --database $location $work/b $work/c|unexpected argument $work/c
CASES
[ ! -e "$work/missing.sqlite3" ] || fail "an export made a database"
echo "sqlite: backup under $writers writers held all $(wc -l <"$work/acked-before") saves acknowledged before it;" \
  "restore refused while serving, then kept $(basename "$replaced")"
echo "1 passed, 0 failed"
