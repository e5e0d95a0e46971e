#!/usr/bin/env bash
# Builds the program and runs it under Wine on the virtual mouse: on your X
# display when there is one, else on a private Xvfb. A screenshot of the main
# window is saved to build/screenshots/ once it is up.
#   ZELTRA_RUN_SECONDS  how long to keep it running on a private display (30;
#                       on your display it runs until you exit it from the tray)
#   ZELTRA_SCREEN       size of a private display (1920x1080; 2560x1440 gives
#                       the 1.5 layout)
#   ZELTRA_DISPLAY      "private" to use a private Xvfb even when you have a display
# With --hid-driver the program runs on its real HID backend instead, through
# Wine's HID stack, on the mouse that the virtual mouse's drivers present
# (tests/winehid); zeltra-vmouse plays the mouse's part meanwhile (the
# command to use is printed).
set -euo pipefail
cd "$(dirname "$0")/.."
driver=""
case "${1:-}" in
  --hid-driver) driver=1 ;;
  "") ;;
  *) echo "usage: $0 [--hid-driver]" >&2; exit 2 ;;
esac
tools/setup.sh
source tools/xvfb.sh
source tools/wine-env.sh

cmake --preset mingw64 >/dev/null
targets=(zeltra_dist)
[ -n "$driver" ] && targets+=(zeltra-vmouse)
cmake --build --preset mingw64 --target "${targets[@]}" -j "$(nproc)"

# A prefix of its own, so that stopping the program stops nothing else (the
# drivers' one apart, so that they stay out of the plain run's).
export WINEPREFIX="$PWD/build/mingw64/wineprefix-run"
[ -n "$driver" ] && WINEPREFIX="$PWD/build/mingw64/wineprefix-run-hid"
# The display goes first: it was started with WINEPREFIX set, so the
# prefix's stop would count it among the prefix's processes.
cleanup() {
  zeltra_stop_display
  zeltra_stop_prefix "$WINEPREFIX" || true
}
trap cleanup EXIT
[ "${ZELTRA_DISPLAY:-}" = private ] && unset DISPLAY
zeltra_start_display "${ZELTRA_SCREEN:-1920x1080}"
# A window manager (on your display) keeps Wine's windows; a bare Xvfb has none.
managed=Y
[ -n "${ZELTRA_XVFB_PID:-}" ] && managed=N
mouse=(--virtual-mouse)
if [ -n "$driver" ]; then
  ZELTRA_WINE_MANAGED=$managed sh tests/winehid/prefix.sh start "$WINEPREFIX" build/mingw64/winehid
  mouse=()
  echo "Play the mouse (commands in device/virtual_mouse_control.h):"
  echo "  WINEPREFIX=$WINEPREFIX $ZELTRA_WINE build/mingw64/winehid/zeltra-vmouse.exe do dpi-button"
else
  ZELTRA_WINE_MANAGED=$managed tools/wine-prefix.sh start "$WINEPREFIX"
fi

mkdir -p build/screenshots
shot="build/screenshots/run-$(date +%Y%m%d-%H%M%S).png"
tools/wine-run.sh build/mingw64/dist/Zeltra.exe "${mouse[@]}" &
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
