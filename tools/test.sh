#!/usr/bin/env bash
# Runs every test of the project on a fresh Debian 12 machine: the portable
# core natively, under AddressSanitizer + UBSan and under ThreadSanitizer; the
# same core and the Windows front end built with MinGW and run under Wine on a
# virtual display; the 32-bit program, built and checked to be PE32; and the
# packages: the 32-bit one users get checked, the 64-bit one started under Wine;
# the journeys through the whole program and a short monkey run.
set -euo pipefail
cd "$(dirname "$0")/.."
# The layers' include rule first: it takes well under a second.
tools/check-layers.sh
tools/setup.sh
source tools/xvfb.sh

source tools/wine-env.sh

# Stops what this run started, also on failure: the Wine prefix's server and
# its processes, and the private display.
cleanup() {
  for prefix in build/mingw64/wineprefix build/mingw64/wineprefix-journeys build/mingw64/wineprefix-planted \
    build/mingw64/wineprefix-hid build/mingw64/wineprefix-hidjourneys build/package/wineprefix; do
    [ -d "$prefix" ] && zeltra_stop_prefix "$PWD/$prefix" >/dev/null 2>&1 || true
  done
  zeltra_stop_display
}
trap cleanup EXIT
zeltra_start_display 1920x1080

jobs=$(nproc)
for preset in native asan tsan mingw64; do
  echo "=== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs" -LE journeys
done

# The whole program as a user meets it, one run at a time, each on a display
# and in a Wine prefix of its own.
echo "=== journeys and a short monkey run"
ctest --preset mingw64 -L journeys --output-on-failure

echo "=== mingw32 (the 32-bit program)"
cmake --preset mingw32 >/dev/null
cmake --build --preset mingw32 -j "$jobs"
tools/check-pe32.sh build/mingw32/dist/Zeltra.exe
tools/check-pe32.sh build/mingw32/dist/zeltra-cli.exe

# Made from the two build trees above: only the strip and the zip are new work.
echo "=== the packages"
declare -A zip
for arch in win32 win64; do
  made=$(tools/package.sh --arch "$arch")
  echo "$made"
  zip[$arch]=${made##*$'\n'}  # its last line
  tests/package/check-package.sh "${zip[$arch]}"
done
tests/package/start-package.sh "${zip[win64]}" build/package/wineprefix

# The Wine tests stopped their prefix (test wine.prefix.stop); nothing of it
# may be left running.
echo "=== no Wine process left behind"
zeltra_stop_prefix "$PWD/build/mingw64/wineprefix"
echo "All tests passed."
