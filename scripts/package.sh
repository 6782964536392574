#!/usr/bin/env bash
# Builds the Debian packages repair-journal (the client) and journal-server into build/package/packages/.
# Arguments go to CMake; a plant's client package, for example:
#   scripts/package.sh -DJOURNAL_SERVER_URL=https://journal.plant.example:8443/api/index -DJOURNAL_CA_FILE="$PWD/ca.pem"
# Each run starts from a fresh CMake cache, so the packages carry only the settings of that run.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

build_dir=build/package
# Debian's hardening flags; no debug data, which the packages strip anyway.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_CXXFLAGS_MAINT_STRIP=-g
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)

rm -f "$build_dir/CMakeCache.txt"
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DJOURNAL_BUILD_BENCH=OFF \
  -DJOURNAL_PACKAGE_CA=ON -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" "$@" >/dev/null
cmake --build "$build_dir" --parallel 2
rm -rf "$build_dir/packages"
(cd "$build_dir" && cpack >/dev/null)
ls "$build_dir"/packages/*.deb
