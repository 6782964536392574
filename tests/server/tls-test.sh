#!/usr/bin/env bash
# The real server speaks TLS 1.2 and 1.3 only, and on TLS 1.2 only forward-secret AEAD suites: with its own EC
# certificate and with an RSA one given by --cert. Each refused offer must fail the handshake; the good ones and
# curl (libcurl, as the client) still connect.
set -euo pipefail
server=$1
work=$(mktemp -d)
pid=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
source "$(dirname "$0")/server-process.sh"

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# handshake OPTIONS...: prints "PROTOCOL SUITE" of the handshake, or nothing when it failed. Refused offers are
# made at security level 0, so that it is the server, not this client, that turns them down.
handshake() {
  openssl s_client -connect "127.0.0.1:$port" -servername localhost "$@" </dev/null 2>/dev/null |
    awk '/^New, .*Cipher is/ && !/\(NONE\)/ { suite = $NF; version = $2 } /^ *Protocol *:/ { protocol = $3 }
         END { if (suite) print (protocol ? protocol : substr(version, 1, length(version) - 1)), suite }' || true
}

# check KEY-KIND: runs the cases of the table on stdin ("accept|refuse PROTOCOL-OPTION SUITE|-").
check() {
  local kind=$1 expect option suite got
  while read -r expect option suite; do
    local offer=("$option")
    if [ "$option" = -tls1_3 ]; then
      [ "$suite" != - ] && offer+=(-ciphersuites "$suite")
    else
      offer+=(-cipher "${suite/#-/DEFAULT}:@SECLEVEL=0")
    fi
    got=$(handshake "${offer[@]}")
    case $expect in
    accept) [ -n "$got" ] || fail "$kind: $option $suite was refused" ;;
    refuse) [ -z "$got" ] || fail "$kind: $option $suite was accepted ($got)" ;;
    esac
    echo "$kind $option $suite: ${got:-refused}"
  done
  answer=$(post_command '{"command":"all_service"}')
  echo "$answer" | grep -q '"success":true' || fail "$kind: curl got $answer"
  kill -TERM "$pid"
  wait "$pid"
}

# The server's own certificate: an EC key.
ca=$work/data/tls/ca.pem
start_server "$work/ec" --data-dir "$work/data"
check ec <<'CASES'
accept -tls1_3 -
accept -tls1_3 TLS_AES_128_GCM_SHA256
accept -tls1_3 TLS_CHACHA20_POLY1305_SHA256
accept -tls1_2 ECDHE-ECDSA-AES128-GCM-SHA256
accept -tls1_2 ECDHE-ECDSA-AES256-GCM-SHA384
accept -tls1_2 ECDHE-ECDSA-CHACHA20-POLY1305
refuse -tls1_3 TLS_AES_128_CCM_SHA256
refuse -tls1_2 ECDHE-ECDSA-AES128-SHA
refuse -tls1_2 ECDHE-ECDSA-AES256-SHA384
refuse -tls1_2 ECDHE-ECDSA-AES128-CCM
refuse -tls1_1 -
refuse -tls1 -
CASES

# An RSA certificate of the plant's own: the static-RSA and CBC suites become possible and must still be refused.
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=localhost \
  -addext subjectAltName=DNS:localhost,IP:127.0.0.1 -keyout "$work/rsa.key" -out "$work/rsa.pem" 2>/dev/null
ca=$work/rsa.pem
start_server "$work/rsa" --data-dir "$work/data" --cert "$work/rsa.pem" --cert-key "$work/rsa.key"
check rsa <<'CASES'
accept -tls1_3 -
accept -tls1_2 ECDHE-RSA-AES128-GCM-SHA256
accept -tls1_2 ECDHE-RSA-AES256-GCM-SHA384
accept -tls1_2 ECDHE-RSA-CHACHA20-POLY1305
refuse -tls1_2 AES128-GCM-SHA256
refuse -tls1_2 AES256-GCM-SHA384
refuse -tls1_2 AES256-SHA
refuse -tls1_2 AES128-SHA
refuse -tls1_2 ECDHE-RSA-AES128-SHA
refuse -tls1_2 ECDHE-RSA-AES128-SHA256
refuse -tls1_2 DHE-RSA-AES128-GCM-SHA256
refuse -tls1_1 -
CASES

[ "$failures" -eq 0 ] || exit 1
echo "passed"
