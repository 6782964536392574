#!/usr/bin/env bash
# Installs every Debian 12 package that the build, the tests and the run command need.
# Safe to run again: packages already present are left as they are.
set -euo pipefail

packages=(
  build-essential cmake pkg-config clang-format clang-14 libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools libqt6svg6-dev libqt6test6 qt6-qpa-plugins
  libcurl4-openssl-dev nlohmann-json3-dev libsimdjson-dev
  libcpp-httplib-dev libssl-dev openssl curl libsqlite3-dev libpq-dev libicu-dev postgresql libxlsxwriter-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth fonts-wine fonts-dejavu-core
  file help2man lintian desktop-file-utils systemd
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
