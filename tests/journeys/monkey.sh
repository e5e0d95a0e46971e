#!/usr/bin/env bash
# monkey.sh DIST PROBE PREFIX SEED SECONDS: random clicks, drags, wheel turns
# and keys inside the program's windows and popups (DIST/Zeltra.exe on the
# virtual mouse, under Wine on a private display) for SECONDS. Passes when
# afterwards the program still runs (it may end only through its tray exit,
# which the monkey takes at the end), nothing crashed, every file of the data
# folder loads as it is, and the virtual mouse holds what the current profile
# encodes. The seed makes the same events again: a finding reproduces from it.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
DIST=$(realpath "$1")
PROBE=$(realpath "$2")
PREFIX=$(realpath -m "$3")
SEED=$4
DURATION=$5
source "$ROOT/tests/journeys/lib.sh"
trap zj_teardown EXIT

echo "monkey: seed $SEED, $DURATION s (again: tools/monkey.sh --seed $SEED --seconds $DURATION)"
RANDOM=$SEED
# Keys a user may press anywhere; no Alt or Windows key, which belong to the
# desktop, not the program.
keys=(Tab Return Escape space BackSpace Delete Up Down Left Right Home End Prior Next
  a b c z 0 1 5 9 F1 F5 F7 shift+Tab ctrl+a ctrl+c ctrl+v)

# Wine's debugger comes up for an unhandled exception (and holds the program).
crashed() {
  local pid
  for pid in $(pgrep -f winedbg 2>/dev/null); do
    # It may be gone by now: then it was not holding ours.
    { tr '\0' '\n' <"/proc/$pid/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$PREFIX" && return 0
  done
  return 1
}

zj_setup || exit 1
zj_start monkey
# The monkey may well confirm a factory reset.
zj_factory_is_defaults || exit 1
zj_wait_main_window || { zj_fail "no main window"; exit 1; }

# near V SPAN: a point within SPAN of V in REPLY, kept on the screen
# (xdotool reads a negative number as an option). No subshell: it would
# draw from a random generator of its own and the seed would not replay.
near() {
  REPLY=$(($1 + RANDOM % $2 - $2 / 2))
  REPLY=$((REPLY < 0 ? 0 : REPLY))
}

events=0
windows=()
end=$((SECONDS + DURATION))
while [ $SECONDS -lt $end ]; do
  zj_running || { zj_fail "the program ended during the run, after $events events (seed $SEED)"; exit 1; }
  if crashed; then zj_fail "the program crashed after $events events (seed $SEED)"; exit 1; fi
  # Looking the windows up costs a quarter second: every few events, or
  # sooner when there were none.
  if [ $((events % 4)) = 0 ] || [ ${#windows[@]} -eq 0 ]; then mapfile -t windows < <(zj_program_windows); fi
  if [ ${#windows[@]} -eq 0 ]; then
    # Hidden in the tray (its exit or minimise button): bring it back.
    zj_tray_double_click >/dev/null || true
    sleep 0.5
    events=$((events + 1))
    continue
  fi
  # Mostly the newest window (a popup or dialog on top), now and then any.
  pick=$(( RANDOM % 4 == 0 ? RANDOM % ${#windows[@]} : ${#windows[@]} - 1 ))
  geometry=$(xdotool getwindowgeometry "${windows[$pick]}" 2>/dev/null) || continue
  read -r wx wy <<<"$(sed -n 's/.*Position: \(-\?[0-9]*\),\(-\?[0-9]*\).*/\1 \2/p' <<<"$geometry")"
  read -r ww wh <<<"$(sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1 \2/p' <<<"$geometry")"
  [ -n "${ww:-}" ] && [ "$ww" -gt 2 ] && [ "$wh" -gt 2 ] || continue
  x=$((wx + 1 + RANDOM % (ww - 2)))
  y=$((wy + 1 + RANDOM % (wh - 2)))
  x=$((x < 0 ? 0 : x))
  y=$((y < 0 ? 0 : y))
  case $((RANDOM % 10)) in
    0|1|2|3) xdotool mousemove "$x" "$y" click 1 ;;
    4) xdotool mousemove "$x" "$y" click --repeat 2 --delay 60 1 ;;
    5) near "$x" 200; x1=$REPLY; near "$y" 60; y1=$REPLY; near "$x" 300; x2=$REPLY; near "$y" 80; y2=$REPLY
       xdotool mousemove "$x" "$y" mousedown 1 sleep 0.05 mousemove "$x1" "$y1" sleep 0.05 \
         mousemove "$x2" "$y2" sleep 0.05 mouseup 1 ;;
    6) xdotool mousemove "$x" "$y" click $((4 + RANDOM % 2)) ;;
    7) xdotool mousemove "$x" "$y" click 3 ;;
    *) xdotool key "${keys[$((RANDOM % ${#keys[@]}))]}" ;;
  esac
  events=$((events + 1))
  sleep "0.0$((RANDOM % 10))"
done
echo "  $events events"

zj_running || { zj_fail "the program ended at the end of the run (seed $SEED)"; exit 1; }
if crashed; then zj_fail "the program crashed (seed $SEED)"; exit 1; fi
# Let the last edit's apply finish, then take the mouse's state and exit.
sleep 2
state=$(zj_dump) || exit 1
zj_tray_menu exit
if ! zj_wait_end 30; then
  # A modal loop of a dialog may hold the menu off; the exit must still work.
  zj_fail "the tray exit did not end the program within 30 s (seed $SEED)"
  exit 1
fi
[ "$ZJ_STATUS" = 0 ] || { zj_fail "exit status $ZJ_STATUS (seed $SEED)"; exit 1; }
zj_check_data "$state" || { echo "  (seed $SEED)"; exit 1; }
echo "monkey: passed, seed $SEED"
