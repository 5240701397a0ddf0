#!/usr/bin/env bash
# Cross-builds vostrel_dat.exe with MinGW-w64 (preset windows) and runs the process tests
# (tool_tests from the default preset) against it under wine, in a fresh wine prefix that is
# removed afterwards. Cases that hold only for a POSIX build are skipped with their reason, and
# the Windows-only cases run. The tool's path must not contain spaces (VOSTREL_DAT is split at
# them). Needs: g++-mingw-w64-x86-64-posix wine64, and what the default preset needs.
set -euo pipefail
cd "$(dirname "$0")/.."

wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

echo "== windows: cross build"
cmake --preset windows >/dev/null
cmake --build --preset windows
cmake --preset default >/dev/null
cmake --build --preset default --target tool_tests

prefix="$(mktemp -d)"
export WINEPREFIX="$prefix" WINEDEBUG=-all
cleanup() {
  "$wineserver" -k 2>/dev/null || true
  "$wineserver" -w 2>/dev/null || true
  rm -rf "$prefix"
}
trap cleanup EXIT

# One server for the whole run: a server that stops after an idle moment can race the next
# start. A new prefix takes seconds to set up, and its first start says so on stderr, so it is set
# up before any test runs.
start=$SECONDS
"$wineserver" -p
"$wine" wineboot --init >/dev/null 2>&1
echo "wine prefix ready in $((SECONDS - start)) s"

echo "== windows: process tests under wine"
start=$SECONDS
VOSTREL_DAT="$wine $PWD/build/windows/vostrel_dat.exe" VOSTREL_DAT_TARGET=windows \
  build/default/tool_tests
echo "process tests under wine took $((SECONDS - start)) s"
