#!/usr/bin/env bash
# Builds the program and runs it under Wine on the virtual mouse: on your X
# display when there is one, else on a private Xvfb. A screenshot of the
# screen is saved to build/screenshots/ a few seconds after the start.
#   ZELTRA_RUN_SECONDS  how long to keep it running on a private display (30)
#   ZELTRA_SCREEN       size of a private display (1920x1080)
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
source tools/xvfb.sh

cmake --preset mingw64 >/dev/null
cmake --build --preset mingw64 --target Zeltra zeltra_dist -j "$(nproc)"

export WINEPREFIX="$PWD/build/mingw64/wineprefix"
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  zeltra_stop_display
}
trap cleanup EXIT
zeltra_start_display "${ZELTRA_SCREEN:-1920x1080}"
tools/wine-prefix.sh start "$WINEPREFIX"

mkdir -p build/screenshots
shot="build/screenshots/run-$(date +%Y%m%d-%H%M%S).png"
tools/wine-run.sh build/mingw64/dist/Zeltra.exe --virtual-mouse &
app=$!
sleep 8
import -window root "$shot" && echo "Screenshot: $shot"
if [ -n "${ZELTRA_XVFB_PID:-}" ]; then
  sleep "${ZELTRA_RUN_SECONDS:-30}"
  kill "$app" 2>/dev/null || true
else
  wait "$app" || true
fi
