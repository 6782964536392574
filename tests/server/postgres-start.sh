#!/usr/bin/env bash
# Starts a throwaway PostgreSQL 15 cluster for the server tests on a free local port.
# Writes the database URL to STATE_DIR/url and the cluster folder to STATE_DIR/cluster.
set -euo pipefail
state_dir=$1
bin=/usr/lib/postgresql/15/bin
mkdir -p "$state_dir"
rm -f "$state_dir/url"

cluster=$(mktemp -d /tmp/journal-postgres.XXXXXX)
echo "$cluster" >"$state_dir/cluster"

# initdb and postgres refuse to run as root.
as_owner() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}
[ "$(id -u)" -eq 0 ] && chown postgres: "$cluster"

as_owner "$bin/initdb" -D "$cluster/data" -U postgres --auth=trust --no-sync -E UTF8 --locale=C.UTF-8 >"$cluster/initdb.log"

# A port taken meanwhile makes the start fail: try another one.
for _ in 1 2 3 4 5 6 7 8 9 10; do
  port=$((20000 + RANDOM % 30000))
  if as_owner "$bin/pg_ctl" -D "$cluster/data" -l "$cluster/server.log" -w -t 20 \
      -o "-p $port -k $cluster -c listen_addresses=127.0.0.1 -c fsync=off -c max_connections=200" start >/dev/null; then
    echo "postgresql://postgres@127.0.0.1:$port/postgres" >"$state_dir/url"
    echo "PostgreSQL test cluster on port $port in $cluster"
    exit 0
  fi
done
echo "cannot start PostgreSQL; see $cluster/server.log" >&2
exit 1
