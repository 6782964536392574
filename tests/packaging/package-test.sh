#!/usr/bin/env bash
# Builds the Debian packages and checks them: their files, lintian, the desktop entry and the systemd unit. As root
# it also installs both, runs the installed server the way its unit does (systemd need not run here), asks it for
# the journal over HTTPS, then removes and purges both and looks for anything of theirs left behind.
set -Eeuo pipefail
cd "$(dirname "$0")/../.."
started=$SECONDS
work=$(mktemp -d)
server_pid=""
installed=""
passed=0

cleanup() {
  local status=$?
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
  [ -n "$installed" ] && dpkg --purge repair-journal journal-server >/dev/null 2>&1
  rm -rf "$work"
  [ "$status" -eq 0 ] || echo "packaging: $passed passed, 1 failed"
}
trap cleanup EXIT
trap 'echo "packaging: failed at line $LINENO: $BASH_COMMAND" >&2' ERR
fail() {
  echo "packaging: $*" >&2
  exit 1
}
pass() {
  passed=$((passed + 1))
  echo "packaging: ok: $*"
}

# The client package carries the CA it is built with; a throwaway one stands in for a plant's.
openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes -keyout /dev/null -subj /CN=test-ca -days 1 \
  -out "$work/ca.pem" 2>/dev/null
bash scripts/package.sh -DJOURNAL_CA_FILE="$work/ca.pem" >"$work/package.log" 2>&1 || { cat "$work/package.log"; fail "packages not built"; }
client=$(echo build/package/packages/repair-journal_*.deb)
server=$(echo build/package/packages/journal-server_*.deb)
[ -f "$client" ] && [ -f "$server" ] || fail "expected one package of each: $(ls build/package/packages)"
version=$(sed -n 's/^project(RepairJournal VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
for package in "$client" "$server"; do
  [ "$(dpkg-deb -f "$package" Version)" = "$version" ] || fail "$package is not version $version"
done
pass "both packages built, version $version ($((SECONDS - started)) s)"

mkdir "$work/client" "$work/server"
dpkg-deb -x "$client" "$work/client"
dpkg-deb -x "$server" "$work/server"
# What each package must hold, with the mode where it matters.
while read -r tree path mode; do
  [ -e "$work/$tree/$path" ] || fail "$tree package lacks $path"
  [ "$mode" = - ] || [ "$(stat -c %a "$work/$tree/$path")" = "$mode" ] || fail "$path has mode $(stat -c %a "$work/$tree/$path")"
done <<FILES
client usr/bin/repair-journal 755
client usr/share/applications/repair-journal.desktop -
client usr/share/icons/hicolor/scalable/apps/repair-journal.svg -
client usr/share/repair-journal/ca.pem 644
client usr/share/man/man1/repair-journal.1.gz -
client usr/share/doc/repair-journal/copyright -
server usr/sbin/journal-server 755
server lib/systemd/system/journal-server.service 644
server lib/systemd/system/journal-server-backup.service 644
server lib/systemd/system/journal-server-backup.timer 644
server usr/libexec/journal-server/backup-journal 755
server etc/default/journal-server 640
server etc/journal-server/access-key 640
server usr/share/man/man8/journal-server.8.gz -
server usr/share/doc/journal-server/copyright -
FILES
for side in 16 24 32 48 64 128 256; do
  file "$work/client/usr/share/icons/hicolor/${side}x$side/apps/repair-journal.png" | grep -q "PNG image data, $side x $side," ||
    fail "no $side pixel PNG icon"
done
cmp -s "$work/ca.pem" "$work/client/usr/share/repair-journal/ca.pem" || fail "the client package carries another CA"
grep -q /usr/share/repair-journal/ca.pem "$work/client/usr/bin/repair-journal" || fail "the program does not read the CA its package carries"
[ "$(dpkg-deb --ctrl-tarfile "$server" | tar -xO ./conffiles)" = "$(printf '/etc/default/journal-server\n/etc/journal-server/access-key')" ] ||
  fail "the server's configuration files are not conffiles"
pass "the packages hold the program, menu entry, icons, CA, units, backup script, options, key and manual pages"

lintian --fail-on error "$client" "$server" >"$work/lintian" 2>&1 || { cat "$work/lintian"; fail "lintian found errors"; }
sed 's/^/packaging: lintian: /' "$work/lintian" | grep -v 'running with root privileges' || true
pass "lintian: no errors"

desktop-file-validate "$work/client/usr/share/applications/repair-journal.desktop" >"$work/desktop" 2>&1 || true
[ ! -s "$work/desktop" ] || { cat "$work/desktop"; fail "the desktop entry is not valid"; }
grep -qx 'Name=Ремонт оборудования' "$work/client/usr/share/applications/repair-journal.desktop" || fail "the menu entry has another name"
pass "desktop-file-validate: the desktop entry is valid"

# Verifying inside the package's tree needs the system's own units beside it. It reports what it ignores, so any
# word from it is a fault.
mkdir -p "$work/server/usr/lib/systemd"
cp -a /usr/lib/systemd/system "$work/server/usr/lib/systemd/"
units=(journal-server.service journal-server-backup.service journal-server-backup.timer)
systemd-analyze verify --man=no --root="$work/server" "${units[@]/#/$work/server/lib/systemd/system/}" >"$work/verify" 2>&1 ||
  { cat "$work/verify"; fail "systemd-analyze refused the units"; }
[ ! -s "$work/verify" ] || { cat "$work/verify"; fail "systemd-analyze found faults in the units"; }
pass "systemd-analyze verify: the service, the backup service and its timer are sound"

if [ "$(id -u)" -ne 0 ]; then
  echo "packaging: installing needs root: install, serve, remove and purge not tested"
  echo "packaging: $passed passed, 0 failed"
  exit 0
fi

# dpkg knows a package that is installed or whose configuration is left.
known() { dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null | grep -qvx 'not-installed'; }
# Installing would purge a real installation of this machine, and its journal with it.
for package in repair-journal journal-server; do
  if known "$package"; then
    fail "$package is on this machine already: purge it first (apt-get purge $package)"
  fi
done
if getent passwd journal >/dev/null || getent group journal >/dev/null || [ -e /var/lib/journal-server ]; then
  fail "a user or group journal or /var/lib/journal-server exists already: the purge check would be wrong"
fi

# Every path under the system's folders, except the package manager's records and what other programs keep
# changing there (PostgreSQL's clusters, X servers' compiled keymaps).
snapshot() {
  find /etc /usr /var/lib /opt /srv -xdev \( -path /var/lib/dpkg -o -path /var/lib/apt -o -path /var/lib/postgresql \
    -o -path /var/lib/xkb \) -prune -o -print | sort >"$1"
}
# Paths of $2 not in $1, less those that other packages own and the caches that their triggers rebuild.
appeared() {
  comm -13 "$1" "$2" | { grep -vxE '/etc/(passwd|group|shadow|gshadow|subuid|subgid)-|.*/mimeinfo\.cache|.*/icon-theme\.cache' || true; } |
    while IFS= read -r path; do
      owners=$({ dpkg-query -S "$path" 2>/dev/null || true; } | sed -n 's/: .*//p' | tr ',' '\n' | tr -d ' ')
      if [ -z "$owners" ] || ! echo "$owners" | grep -qvxE 'repair-journal|journal-server'; then
        echo "$path"
      fi
    done
}
snapshot "$work/before"

export DEBIAN_FRONTEND=noninteractive
installed=yes
apt-get install -y -q "./$client" "./$server" >"$work/apt" 2>&1 || { cat "$work/apt"; fail "apt-get install failed"; }
[ "$(getent passwd journal | cut -d: -f3)" -lt 1000 ] || fail "journal is not a system user"
for file in /etc/default/journal-server /etc/journal-server/access-key; do
  [ "$(stat -c '%U:%G %a' "$file")" = 'root:journal 640' ] || fail "$file is $(stat -c '%U:%G %a' "$file")"
done
# Installed, the unit's manual page resolves too.
systemd-analyze verify "${units[@]}" >"$work/verify" 2>&1 || { cat "$work/verify"; fail "the installed units are refused"; }
[ ! -s "$work/verify" ] || { cat "$work/verify"; fail "systemd-analyze found faults in the installed units"; }
man -w journal-server >/dev/null || fail "man journal-server finds no page"
pass "installed: system user journal, options and key for root and journal only, the units verified, man journal-server"

# The unit's settings, and its options file read as systemd reads it. The port is the system's choice, as an admin's
# edit of the file would set it; the file itself stays as installed.
unit_value() { sed -n "s/^$1=//p" "/lib/systemd/system/${2:-journal-server.service}"; }
declare -A environment
while IFS= read -r line || [ -n "$line" ]; do
  line=$(echo "$line" | sed 's/^[[:space:]]*//; s/[[:space:]]*$//')
  [[ -z $line || $line == '#'* ]] && continue
  value=${line#*=}
  [[ $value == \"*\" ]] && value=${value:1:-1}
  environment[${line%%=*}]=$value
done < <(sed "s/^LISTEN=.*/LISTEN=127.0.0.1:0/" "$(unit_value EnvironmentFile)")
state_dir=/var/lib/$(unit_value StateDirectory)
user=$(unit_value User)
command=()
set -f
for word in $(unit_value ExecStart); do
  case $word in
    '${'*'}') name=${word:2:-1}; command+=("${environment[$name]-}") ;;
    '$'*) read -ra words <<<"${environment[${word:1}]-}"; command+=("${words[@]}") ;;
    *'$'*) fail "ExecStart word $word is more than this test's emulation of systemd" ;;
    *) command+=("$word") ;;
  esac
done
set +f
assignments=()
for name in "${!environment[@]}"; do assignments+=("$name=${environment[$name]}"); done

install -d -o "$user" -g "$(unit_value Group)" -m "$(unit_value StateDirectoryMode)" "$state_dir"
(
  umask "$(unit_value UMask)"
  exec setpriv --reuid="$user" --regid="$(unit_value Group)" --init-groups --no-new-privs \
    env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME="$state_dir" USER="$user" LOGNAME="$user" "${assignments[@]}" \
    "${command[@]}"
) >"$work/out" 2>"$work/err" &
server_pid=$!
for _ in $(seq 100); do
  grep -q '^listening on' "$work/out" && break
  kill -0 "$server_pid" 2>/dev/null || break
  sleep 0.1
done
port=$(sed -n 's|^listening on https://127.0.0.1:\([0-9]*\)/api/index$|\1|p' "$work/out")
[ -n "$port" ] || { cat "$work/out" "$work/err"; fail "the installed server did not start"; }
[ "$(ps -o user= -p "$server_pid")" = "$user" ] || fail "the server runs as $(ps -o user= -p "$server_pid")"
key=$(cat /etc/journal-server/access-key)
if tr '\0' ' ' <"/proc/$server_pid/cmdline" | grep -qF "$key"; then fail "the access key shows in the process list"; fi
answer=$(curl -sS --cacert "$state_dir/tls/ca.pem" "https://localhost:$port/api/index" \
  --data "data=%7B%22command%22%3A%22all_service%22%7D&key=$key")
[[ $answer == *'"success":true'* ]] || fail "all_service answered: $answer"
[ "$(stat -c '%U %a' "$state_dir/journal.sqlite3")" = "$user 640" ] || fail "the database is $(stat -c '%U %a' "$state_dir/journal.sqlite3")"

# The backup service's command, as its unit runs it while the server serves: twice, keeping one backup.
backup_unit=journal-server-backup.service
for folder in $(unit_value StateDirectory $backup_unit); do
  install -d -o "$(unit_value User $backup_unit)" -g "$(unit_value Group $backup_unit)" \
    -m "$(unit_value StateDirectoryMode $backup_unit)" "/var/lib/$folder"
done
for round in 1 2; do
  [ "$round" = 1 ] || sleep 1 # the backups' names tell their second
  (
    umask "$(unit_value UMask $backup_unit)"
    exec setpriv --reuid="$(unit_value User $backup_unit)" --regid="$(unit_value Group $backup_unit)" --init-groups \
      --no-new-privs env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME="$state_dir" "${assignments[@]}" BACKUP_KEEP=1 \
      "$(unit_value ExecStart $backup_unit)"
  ) >"$work/backup.out" 2>&1 || { cat "$work/backup.out"; fail "the backup service's command failed"; }
  ls "$state_dir/backups" >>"$work/backups"
done
backups=$(ls "$state_dir/backups")
[[ $backups =~ ^journal-[0-9]{8}-[0-9]{6}\.sqlite3$ ]] || fail "the backups folder holds: $backups"
[ "$(sort -u "$work/backups" | wc -l)" = 2 ] || fail "the second backup did not replace the first: $(cat "$work/backups")"
[ "$(stat -c '%U %a' "$state_dir/backups/$backups")" = "$user 640" ] || fail "the backup is $(stat -c '%U %a' "$state_dir/backups/$backups")"
head -c 16 "$state_dir/backups/$backups" | grep -q 'SQLite format 3' || fail "the backup is no SQLite database"
kill -TERM "$server_pid"
wait "$server_pid" || fail "the server did not stop cleanly"
server_pid=""
pass "the installed server ran as $user with the installed options and answered all_service over HTTPS with its CA; the backup service's command wrote $backups and kept only the newest"

apt-get remove -y -q repair-journal journal-server >"$work/apt" 2>&1 || { cat "$work/apt"; fail "apt-get remove failed"; }
snapshot "$work/removed"
# dpkg keeps a removed package's configuration until it is purged; systemd keeps the service's enablement.
appeared "$work/before" "$work/removed" >"$work/appeared"
kept='^/var/lib/journal-server(/|$)|^/etc/default/journal-server$|^/etc/journal-server(/access-key)?$'
kept+='|^/etc/systemd/system/(multi-user|timers)\.target\.wants(/journal-server(-backup)?\.(service|timer))?$'
kept+='|^/var/lib/systemd/deb-systemd-helper-enabled(/(multi-user|timers)\.target\.wants)?(/journal-server(-backup)?\.(service|timer)(\.dsh-also)?)?$'
left=$(grep -vE "$kept" "$work/appeared" || true)
[ -z "$left" ] || fail "left after remove: $left"
[ -f "$state_dir/journal.sqlite3" ] || fail "remove lost the journal"
pass "remove kept the journal in $state_dir and the configuration, nothing else"

# The client has no configuration, so removing it purged it already.
if known repair-journal; then fail "removing left repair-journal known to dpkg"; fi
apt-get purge -y -q journal-server >"$work/apt" 2>&1 || { cat "$work/apt"; fail "apt-get purge failed"; }
installed=""
snapshot "$work/purged"
left=$(appeared "$work/before" "$work/purged")
[ -z "$left" ] || fail "left after purge: $left"
if getent passwd journal >/dev/null || getent group journal >/dev/null; then fail "purge left the user or group journal"; fi
if known journal-server; then fail "purging left journal-server known to dpkg"; fi
pass "purge left nothing: no file, no user, no group ($((SECONDS - started)) s in all)"
echo "packaging: $passed passed, 0 failed"
