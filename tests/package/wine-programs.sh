# Sourced by the package scripts that start the programs under Wine, after
# they set `root` (the repository) and `prefix` (the Wine prefix): the Wine
# and display helpers, a work folder ($work, named after $1), a clean-up of
# everything the script started that runs also on failure, `fail`, and the
# wait for the main window.
source "$root/tools/wine-env.sh"
source "$root/tools/xvfb.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/zeltra-$1.XXXXXX")
app=""  # the process id of a program started in the background
cleanup() {
  set +e  # every step, whatever the one before did
  zeltra_stop_prefix "$prefix" >/dev/null 2>&1
  [ -n "$app" ] && wait "$app" 2>/dev/null
  zeltra_stop_display
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

# Waits up to 30 s for the main window of the process $1, a visible X window
# "Zeltra" at least 1000 pixels wide (its own windows only: a copy in another
# prefix may show one of that name), and sets `window` to "ID WIDTHpx wide".
# Fails when the time passes, or when the process ends first: with the text
# $2 and what the command $3 prints.
main_window() {
  window=""
  local id w
  for _ in $(seq 150); do
    for id in $(xdotool search --onlyvisible --pid "$1" --name '^Zeltra$' 2>/dev/null); do
      w=$(xdotool getwindowgeometry "$id" 2>/dev/null | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
      [ "${w:-0}" -ge 1000 ] && window="$id ${w}px wide"
    done
    [ -n "$window" ] && return 0
    kill -0 "$1" 2>/dev/null || fail "$2: $($3)"
    sleep 0.2
  done
  fail "no main window (an X window \"Zeltra\" of 1000 pixels or more) within 30 s"
}
