# Sourced by the scripts that run Wine (sh and bash alike).
# Debian's wine64 puts the server beside the loader in /usr/lib/wine, off the
# PATH; a wineserver on the PATH (another packaging) is taken when there is one.
if [ -z "${ZELTRA_WINESERVER:-}" ]; then
  for zeltra_candidate in "$(command -v wineserver 2>/dev/null)" /usr/lib/wine/wineserver /usr/lib/wine/wineserver64; do
    if [ -n "$zeltra_candidate" ] && [ -x "$zeltra_candidate" ]; then
      ZELTRA_WINESERVER=$zeltra_candidate
      break
    fi
  done
  unset zeltra_candidate
fi
: "${ZELTRA_WINESERVER:=/usr/lib/wine/wineserver}"
ZELTRA_WINE=/usr/lib/wine/wine64

# Prints the process ids (with their command names) of every process that
# runs with WINEPREFIX=PREFIX: the program, Wine's helpers and the server.
# The scan runs without WINEPREFIX of its own, and the calling shell (which
# may have exported it) is left out.
zeltra_prefix_processes() {
  env -u WINEPREFIX sh -c '
    for environ in /proc/[0-9]*/environ; do
      pid=${environ#/proc/}
      pid=${pid%/environ}
      [ "$pid" = "$2" ] && continue
      # Processes may end, or belong to others, while the scan runs.
      if { tr "\0" "\n" <"$environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$1"; then
        echo "$pid $(cat "/proc/$pid/comm" 2>/dev/null)"
      fi
    done' zeltra-scan "$1" "$$"
}

# Stops the server of PREFIX and everything it runs, waits for them, and
# fails (listing them) when some process of the prefix is still there.
# Safe under "set -e": a prefix without a running server is no error.
zeltra_stop_prefix() {
  WINEPREFIX=$1 "$ZELTRA_WINESERVER" -k >/dev/null 2>&1 || true
  WINEPREFIX=$1 "$ZELTRA_WINESERVER" -w >/dev/null 2>&1 || true
  for zeltra_try in $(seq 50); do
    [ -z "$(zeltra_prefix_processes "$1")" ] && return 0
    sleep 0.1
  done
  echo "processes of $1 left running:" >&2
  zeltra_prefix_processes "$1" >&2
  return 1
}
