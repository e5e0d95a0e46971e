#!/usr/bin/env bash
# Runs every test of the project on a fresh Debian 12 machine: the portable
# core natively, under AddressSanitizer + UBSan and under ThreadSanitizer; the
# same core and the Windows front end built with MinGW and run under Wine on a
# virtual display; and the 32-bit program, built and checked to be PE32.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
source tools/xvfb.sh

cleanup() {
  for prefix in build/mingw64/wineprefix; do
    [ -d "$prefix" ] && WINEPREFIX="$PWD/$prefix" wineserver -k >/dev/null 2>&1 || true
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
  ctest --preset "$preset" -j "$jobs"
done

echo "=== mingw32 (the 32-bit program)"
cmake --preset mingw32 >/dev/null
cmake --build --preset mingw32 -j "$jobs"
tools/check-pe32.sh build/mingw32/dist/Zeltra.exe
tools/check-pe32.sh build/mingw32/dist/zeltra-cli.exe
echo "All tests passed."
