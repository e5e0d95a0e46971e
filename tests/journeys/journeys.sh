#!/usr/bin/env bash
# journeys.sh DIST PROBE PREFIX [JOURNEY...]: a user's journeys through the
# whole program (DIST/Zeltra.exe on the virtual mouse, or for the set @hid
# on the real HID backend over the virtual mouse's drivers) under Wine on a
# private display, with real X input; each checks its outcome in the HID
# trace and the data folder. Without names every journey runs. ZJ_KEEP=1 keeps the work
# folder (traces, dumps, the program's output) for a look afterwards.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
DIST=$(realpath "$1")
PROBE=$(realpath "$2")
PREFIX=$(realpath -m "$3")
shift 3
source "$ROOT/tests/journeys/lib.sh"
trap zj_teardown EXIT

# Set-feature lines of the trace so far.
writes() { zj_trace_count ' set-feature ok '; }
# Waits until the program has sent nothing for a second (an apply has ended).
settled() {
  local before
  before=$(writes)
  sleep 1
  [ "$(writes)" = "$before" ]
}

# A window of the program narrower than the main one (a dialog, a popup);
# prints the newest.
small_window_open() {
  local id w found=""
  for id in $(zj_program_windows); do
    w=$(xdotool getwindowgeometry "$id" 2>/dev/null | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
    [ "${w:-0}" -lt 1000 ] && found=$id
  done
  [ -n "$found" ] && echo "$found"
}

# --- journeys ------------------------------------------------------------------

# Start in standby while the mouse is offline, stay in the tray, come up once
# it reports itself online.
journey_standby() {
  ZJ_PRESET="online 0" zj_start standby
  sleep 5
  zj_running || { zj_fail "the program ended in standby"; return 1; }
  zj_main_window_hidden || { zj_fail "the main window is shown while the mouse is offline"; return 1; }
  [ "$(zj_trace_count ' get-feature ok ')" -ge 1 ] || { zj_fail "no status was read"; return 1; }
  [ "$(writes)" -le 1 ] || { zj_fail "settings were sent in standby: $(writes) writes"; return 1; }
  zj_log "in standby, hidden, the status was read"

  # A second copy while the mouse is offline only makes the first one ask.
  local asked
  asked=$(zj_trace_count ' get-feature ok ')
  zj_start_second_copy
  sleep 2
  zj_main_window_hidden || { zj_fail "a second copy brought the window up while offline"; return 1; }
  [ "$(zj_trace_count ' get-feature ok ')" -gt "$asked" ] || { zj_fail "the second copy did not make it ask"; return 1; }
  zj_log "a second copy while offline: asked, still hidden"

  zj_mouse "online 1"
  zj_start_second_copy
  zj_wait_main_window 15 || { zj_fail "the window did not come up once the mouse was online"; return 1; }
  zj_until 10 settled
  [ "$(writes)" -ge 2 ] || { zj_fail "nothing was sent once online"; return 1; }
  zj_log "online: the window is up and the held settings went out ($(writes) writes)"
  exit_and_check
}

# The exit and minimise buttons only hide the window; the tray brings it back.
journey_hide_and_bring_back() {
  zj_start hide
  zj_wait_main_window || { zj_fail "no main window"; return 1; }
  zj_click 2001 || return 1
  zj_until 5 zj_main_window_hidden || { zj_fail "the exit button did not hide the window"; return 1; }
  sleep 1
  zj_running || { zj_fail "the exit button ended the program"; return 1; }
  zj_tray_double_click || return 1
  zj_until 10 zj_main_window_shown || { zj_fail "a double-click on the tray icon did not bring it back"; return 1; }
  zj_log "exit button: hidden, still running; tray double-click: back"
  sleep 0.5
  zj_click 2002 || return 1
  zj_until 5 zj_main_window_hidden || { zj_fail "the minimise button did not hide the window"; return 1; }
  zj_tray_menu show || return 1
  zj_until 10 zj_main_window_shown || { zj_fail "the tray menu's show did not bring it back"; return 1; }
  zj_log "minimise button: hidden; tray menu show: back"
  zj_tray_menu exit
  zj_wait_end 20 || { zj_fail "the tray exit did not end the program"; return 1; }
  zj_check_data
}

# The mouse on its receiver only, offline: the start-up notice opens; the
# tray exit closes it and ends the program.
journey_tray_exit_with_dialog_open() {
  ZJ_PRESET=$'unplug cable\nplug receiver\nonline 0' zj_start tray-exit
  # The main window is minimised for a moment at the start: the notice is
  # the small window that stays.
  notice_stays() { small_window_open >/dev/null && sleep 1 && small_window_open >/dev/null; }
  zj_until 15 notice_stays || { zj_fail "the start-up notice did not open"; return 1; }
  zj_main_window_hidden || { zj_fail "the main window is shown while the mouse is offline"; return 1; }
  local notice
  notice=$(small_window_open)
  zj_log "the start-up notice is open: $(xdotool getwindowgeometry "$notice" | sed -n 's/.*Geometry: //p') pixels"
  zj_tray_menu exit
  zj_wait_end 20 || { zj_fail "the tray exit with a dialog open did not end the program"; return 1; }
  [ "$ZJ_STATUS" = 0 ] || { zj_fail "exit status $ZJ_STATUS"; return 1; }
  zj_check_data
}

# Unplugging the last link ends the program; what it held is saved.
journey_unplug_ends_program() {
  zj_start unplug
  zj_wait_main_window || { zj_fail "no main window"; return 1; }
  unplug_ends_program
}

# Once the program has settled, the cable (its last link) is unplugged: the
# program ends by itself, its listener's read failed, and what it held is saved.
unplug_ends_program() {
  zj_until 10 settled
  local state
  state=$(zj_dump) || return 1
  zj_mouse "unplug cable"
  zj_wait_end 20 || { zj_fail "the program kept running without its mouse"; return 1; }
  [ "$ZJ_STATUS" = 0 ] || { zj_fail "exit status $ZJ_STATUS"; return 1; }
  zj_trace ' input-report failed' >/dev/null || { zj_fail "the listener's read did not end with the unplug"; return 1; }
  zj_check_data "$state"
}

# The DPI button and a report-rate change made on the mouse reach the current
# profile, which is saved at the exit.
journey_changes_on_the_mouse() {
  zj_start on-the-mouse
  zj_wait_main_window || { zj_fail "no main window"; return 1; }
  zj_until 10 settled
  zj_mouse "dpi-button"
  zj_until 5 zj_trace ' input-report ok 05' >/dev/null || { zj_fail "no input report for the DPI button"; return 1; }
  zj_mouse "rate 8"
  two_reports() { [ "$(zj_trace_count ' input-report ok 05')" -ge 2 ]; }
  zj_until 5 two_reports || { zj_fail "no input report for the rate"; return 1; }
  sleep 1
  local state
  state=$(zj_dump) || return 1
  zj_tray_menu exit
  zj_wait_end 20 || { zj_fail "the tray exit did not end the program"; return 1; }
  [ "$(zj_value default0.psf CurrentDPILevelValue)" = 02 ] ||
    { zj_fail "CurrentDPILevelValue is $(zj_value default0.psf CurrentDPILevelValue), not 02"; return 1; }
  [ "$(zj_value default0.psf PollingRateValue)" = 000000 ] ||
    { zj_fail "PollingRateValue is $(zj_value default0.psf PollingRateValue), not 000000 (125 Hz)"; return 1; }
  zj_log "stage 2 and 125 Hz reached the saved profile"
  zj_check_data "$state"
}

# Exits through the tray menu, waits for the end and checks the data folder
# against the mouse's state dumped just before.
exit_and_check() {
  zj_until 10 settled
  local state
  state=$(zj_dump) || return 1
  zj_tray_menu exit
  zj_wait_end 20 || { zj_fail "the tray exit did not end the program"; return 1; }
  [ "$ZJ_STATUS" = 0 ] || { zj_fail "exit status $ZJ_STATUS"; return 1; }
  zj_check_data "$state"
}

# expect_value FILE KEY VALUE: a saved value.
expect_value() {
  local got
  got=$(zj_value "$1" "$2")
  [ "$got" = "$3" ] || { zj_fail "$1: $2 is ${got:-missing}, not $3"; return 1; }
}

# Nothing sent for a second and no progress dialog open (it takes the
# clicks while it runs, as it does the user's).
quiet() { settled && ! small_window_open >/dev/null; }
# press ID: a click on a control of the page, then wait until the apply it
# makes is over.
press() {
  zj_click "$1" || return 1
  zj_until 15 quiet || { zj_fail "the program did not settle after a click on $1"; return 1; }
}

# A set-feature of the trace (hex bytes after the sequence byte, as a pattern).
sent() { zj_until 5 zj_trace " set-feature ok 0C 01 $1" >/dev/null; }

# 500 Hz from the report-rate section, which opens from its header.
journey_report_rate() {
  zj_start report-rate
  zj_wait_main_window || { zj_fail "no main window"; return 1; }
  zj_until 10 settled
  zj_header 3004 || return 1
  press 3032 || return 1
  sent "07 00 .. 01 01 02" || { zj_fail "500 Hz was not sent"; return 1; }
  zj_log "500 Hz sent"
  exit_and_check || return 1
  expect_value default0.psf PollingRateValue 020000
}

# The last two DPI stages off, then one of them on again.
journey_dpi_stages() {
  zj_start dpi-stages
  zj_wait_main_window || { zj_fail "no main window"; return 1; }
  zj_until 10 settled
  local before
  before=$(writes)
  press 3265 || return 1
  press 3264 || return 1
  press 3264 || return 1
  [ "$(writes)" -gt "$before" ] || { zj_fail "no stage change was sent"; return 1; }
  exit_and_check || return 1
  expect_value default0.psf DPIOffOnFlagValue 1F
}

# Power saving: the lights go off while moving, the mouse no longer wakes by motion.
journey_power_saving() {
  zj_start power
  zj_wait_main_window || { zj_fail "no main window"; return 1; }
  zj_until 10 settled
  press 3501 || return 1
  press 3504 || return 1
  sent "0C 00 .. 01 01 00" || { zj_fail "the motion wake-up was not sent"; return 1; }
  exit_and_check || return 1
  expect_value default0.psf MoveLightingOnOffMode 1 && expect_value default0.psf MotionWakeup 0
}

# The second shown profile becomes the current one and goes to the mouse.
journey_switch_profile() {
  zj_start switch
  zj_wait_main_window || { zj_fail "no main window"; return 1; }
  zj_until 10 settled
  zj_pick_profile 2 || return 1
  zj_until 10 settled
  exit_and_check || return 1
  expect_value config.ini CurrentProfile 1
}

# --- driver ------------------------------------------------------------------

# More journeys live in journeys_<set>.sh beside this file; each adds its
# names to ZJ_SET_<set>. "@set" runs one set, names run those journeys, no
# argument runs the journeys above.
ZJ_SET_basic=(standby hide_and_bring_back tray_exit_with_dialog_open unplug_ends_program changes_on_the_mouse
  report_rate dpi_stages power_saving switch_profile)
for set_file in "$ROOT"/tests/journeys/journeys_*.sh; do
  [ -e "$set_file" ] || continue
  # shellcheck disable=SC1090
  source "$set_file"
done
all=("${ZJ_SET_basic[@]}")
if [ $# -gt 0 ]; then
  case $1 in
    @*)
      set_name="ZJ_SET_${1#@}[@]"
      all=("${!set_name}")
      # A set that runs on the virtual mouse's drivers finds them in the
      # build tree beside DIST.
      driver_flag="ZJ_DRIVER_${1#@}"
      [ -n "${!driver_flag:-}" ] && ZJ_DRIVER=${ZJ_DRIVER:-$(realpath "$DIST/../winehid")}
      ;;
    *) all=("$@") ;;
  esac
fi
[ ${#all[@]} -gt 0 ] || { echo "no journeys to run"; exit 1; }
zj_setup || exit 1
failed=()
for j in "${all[@]}"; do
  echo "journey $j"
  start=$SECONDS
  if "journey_$j"; then
    echo "  passed ($((SECONDS - start)) s)"
  else
    failed+=("$j")
    [ -n "$ZJ_WORK" ] && [ -s "$ZJ_WORK/program.txt" ] && sed 's/^/  program: /' "$ZJ_WORK/program.txt" | tail -5
  fi
  zj_stop_program
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "journeys failed: ${failed[*]}"
  exit 1
fi
echo "all ${#all[@]} journeys passed"
