#!/usr/bin/env bash
# Builds the program and runs it under Wine on the virtual mouse: on your X
# display when there is one, else on a private Xvfb. A screenshot of the main
# window is saved to build/screenshots/ once it is up.
#   ZELTRA_RUN_SECONDS  how long to keep it running on a private display (30;
#                       on your display it runs until you exit it from the tray)
#   ZELTRA_SCREEN       size of a private display (1920x1080; 2560x1440 gives
#                       the 1.5 layout)
#   ZELTRA_DISPLAY      "private" to use a private Xvfb even when you have a display
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
source tools/xvfb.sh
source tools/wine-env.sh

cmake --preset mingw64 >/dev/null
cmake --build --preset mingw64 --target zeltra_dist -j "$(nproc)"

# A prefix of its own, so that stopping the program stops nothing else.
export WINEPREFIX="$PWD/build/mingw64/wineprefix-run"
cleanup() {
  zeltra_stop_prefix "$WINEPREFIX" || true
  zeltra_stop_display
}
trap cleanup EXIT
[ "${ZELTRA_DISPLAY:-}" = private ] && unset DISPLAY
zeltra_start_display "${ZELTRA_SCREEN:-1920x1080}"
# A window manager (on your display) keeps Wine's windows; a bare Xvfb has none.
managed=Y
[ -n "${ZELTRA_XVFB_PID:-}" ] && managed=N
ZELTRA_WINE_MANAGED=$managed tools/wine-prefix.sh start "$WINEPREFIX"

mkdir -p build/screenshots
shot="build/screenshots/run-$(date +%Y%m%d-%H%M%S).png"
tools/wine-run.sh build/mingw64/dist/Zeltra.exe --virtual-mouse &
app=$!

# The main window is the largest X window named "Zeltra".
window=""
for _ in $(seq 150); do
  for id in $(xdotool search --onlyvisible --name '^Zeltra$' 2>/dev/null); do
    w=$(xdotool getwindowgeometry "$id" 2>/dev/null | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
    [ "${w:-0}" -ge 1000 ] && window=$id
  done
  [ -n "$window" ] && break
  kill -0 "$app" 2>/dev/null || break
  sleep 0.2
done
sleep 1.5  # let it paint
if [ -n "$window" ]; then
  import -window "$window" "$shot" && echo "Screenshot: $shot"
else
  echo "The main window did not appear; screenshot of the whole screen instead."
  import -window root "$shot" && echo "Screenshot: $shot"
fi

if [ -n "${ZELTRA_XVFB_PID:-}" ]; then
  sleep "${ZELTRA_RUN_SECONDS:-30}"
else
  echo "Running on your display; exit it from its tray menu."
  wait "$app" || true
fi
