#!/usr/bin/env bash
# Stops the cluster of postgres-start.sh and removes it.
set -euo pipefail
state_dir=$1
[ -f "$state_dir/cluster" ] || exit 0
cluster=$(cat "$state_dir/cluster")
if [ -d "$cluster/data" ]; then
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u postgres -- /usr/lib/postgresql/15/bin/pg_ctl -D "$cluster/data" -m fast -w stop >/dev/null || true
  else
    /usr/lib/postgresql/15/bin/pg_ctl -D "$cluster/data" -m fast -w stop >/dev/null || true
  fi
fi
rm -rf "$cluster"
rm -f "$state_dir/cluster" "$state_dir/url"
