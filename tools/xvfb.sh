# Sourced by the run and test scripts: gives them an X display.
# Uses the caller's display when there is one, else starts a private Xvfb of
# the given size and stops exactly that one when the script exits.
zeltra_start_display() {
  local size=${1:-1920x1080}
  ZELTRA_XVFB_PID=""
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n
  for n in $(seq 91 140); do
    [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ] && continue
    Xvfb ":${n}" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
    ZELTRA_XVFB_PID=$!
    export DISPLAY=":${n}"
    local i
    for i in $(seq 50); do
      xdpyinfo >/dev/null 2>&1 && return 0
      sleep 0.1
    done
    kill "$ZELTRA_XVFB_PID" 2>/dev/null || true
    ZELTRA_XVFB_PID=""
  done
  echo "cannot start Xvfb" >&2
  return 1
}

zeltra_stop_display() {
  if [ -n "${ZELTRA_XVFB_PID:-}" ]; then
    kill "$ZELTRA_XVFB_PID" 2>/dev/null || true
    wait "$ZELTRA_XVFB_PID" 2>/dev/null || true
    ZELTRA_XVFB_PID=""
  fi
}
