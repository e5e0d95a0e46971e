# Journeys of the per-application profiles: a program (Wine's notepad.exe)
# linked to profile 2 through the window's linked-programs dialog and
# through zeltra-cli; the mouse switches when it comes to the front and
# back when the desktop does; at the end, the tray menu's journeys.
# Sourced by journeys.sh, whose helpers (writes, settled, quiet, press,
# exit_and_check, expect_value) they use, with the profile set's (jp_*).
#
# Wine 8.0 brings windows to the front but raises no EVENT_SYSTEM_FOREGROUND
# (it passes on the events programs raise): zeltra-foreground.exe, beside
# the probe, raises it for the window in front as the system does, or for
# the desktop window (explorer.exe's), which Wine does not let in front.

JA_NOTEPAD=""
JA_PROGRAM='C:\windows\system32\notepad.exe'

# ja_front [desktop]: the foreground event for the window in front (after
# bringing the desktop there); prints its program.
ja_front() {
  WINEPREFIX=$PREFIX WINEDEBUG=-all "$ZELTRA_WINE" "$(dirname "$PROBE")/zeltra-foreground.exe" "$@" 2>&1 </dev/null |
    tr -d '\r'
  return "${PIPESTATUS[0]}"
}

# zeltra-cli.exe of the build, in the journeys' prefix (its data folder is the window's).
ja_cli() {
  WINEPREFIX=$PREFIX WINEDEBUG=-all "$ZELTRA_WINE" "$DIST/zeltra-cli.exe" "$@" 2>&1 </dev/null | tr -d '\r'
  return "${PIPESTATUS[0]}"
}

# Wine's notepad.exe started as a user starts a program; it comes to the front.
ja_start_notepad() {
  (WINEPREFIX="$PREFIX" WINEDEBUG=-all exec "$ZELTRA_WINE" notepad.exe) >/dev/null 2>&1 </dev/null &
  JA_NOTEPAD=$!
  notepad_up() { xdotool search --onlyvisible --name 'Notepad$' >/dev/null 2>&1; }
  zj_until 20 notepad_up || { zj_fail "notepad.exe did not start"; return 1; }
  # Into a corner the program's window leaves free, so that a click on that
  # window lands on it.
  xdotool search --onlyvisible --name 'Notepad$' windowsize %@ 360 240 windowmove %@ 1550 800
  sleep 0.5
}
ja_stop_notepad() {
  [ -n "$JA_NOTEPAD" ] || return 0
  kill "$JA_NOTEPAD" 2>/dev/null
  wait "$JA_NOTEPAD" 2>/dev/null
  JA_NOTEPAD=""
}

ja_current_is() { [ "$(zj_value config.ini CurrentProfile)" = "$1" ]; }
# ja_switched MARK RATE PROFILE: the switch reached the mouse (the report
# rate's byte RATE, 01 for 1000 Hz, 02 for 500, 08 for 125, sent after trace
# line MARK) and config.ini (CurrentProfile PROFILE, its delayed save).
ja_switched() {
  jp_expect_sent "$1" "07 00 .. 01 01 $2" "the switch to profile $(($3 + 1))" || return 1
  zj_until 15 ja_current_is "$3" ||
    { zj_fail "config.ini: CurrentProfile is $(zj_value config.ini CurrentProfile), not $3"; return 1; }
}

# Profile 2 at 500 Hz, linked to notepad.exe through its context popup's
# fifth entry: notepad in front switches to it without a progress dialog,
# the program's own window changes nothing, the desktop switches back.
journey_apps_window() {
  zj_start apps-window
  zj_wait_main_window || { zj_fail "no main window"; return 1; }
  zj_until 10 settled
  zj_pick_profile 2 || return 1
  jp_settle "the pick of profile 2" || return 1
  zj_header 3004 || return 1
  press 3032 || return 1
  zj_pick_profile 1 || return 1
  jp_settle "the pick of profile 1" || return 1

  local before dialog
  before=$(jp_profile_menu 2 4) || return 1
  dialog=$(zj_await_window "$before") || { zj_fail "the linked-programs dialog did not open"; return 1; }
  before=$(zj_windows_now)
  zj_click_in "$dialog" "$(zj_ui dialog-rect links 2030)" || return 1
  local files
  files=$(zj_await_window "$before" 20) || { zj_fail "no file dialog"; return 1; }
  zj_keys "$files" End BackSpace BackSpace BackSpace BackSpace
  zj_type "$files" "$JA_PROGRAM"
  zj_keys "$files" Return
  jp_wait_gone "$files" 10 "file dialog" || return 1
  zj_click_in "$dialog" "$(zj_ui dialog-rect links 2010)" || return 1
  jp_wait_gone "$dialog" 10 "linked-programs dialog" || return 1
  expect_value default1.psf GameFile0 "$JA_PROGRAM" || return 1
  zj_log "notepad.exe linked to profile 2 through the dialog"

  local mark front
  mark=$(jp_mark)
  ja_start_notepad || return 1
  front=$(ja_front) || { zj_fail "no foreground event: $front"; return 1; }
  ja_switched "$mark" 02 1 || return 1
  ! small_window_open >/dev/null || { zj_fail "a window of the program came up over notepad"; return 1; }
  zj_log "notepad in front ($front): profile 2 at 500 Hz, sent and saved"

  # A click on a caption of the window, which does nothing else, brings it forward.
  zj_click 3402 || return 1
  mark=$(jp_mark)
  front=$(ja_front) || { zj_fail "no foreground event: $front"; return 1; }
  [[ $front == *'\Zeltra.exe' ]] || { zj_fail "the window is not in front but $front"; return 1; }
  sleep 2
  ! jp_sent_now "$mark" "" || { zj_fail "the program's own window sent something to the mouse"; return 1; }
  expect_value config.ini CurrentProfile 1 || return 1
  zj_log "the window in front ($front): still profile 2"

  mark=$(jp_mark)
  front=$(ja_front desktop) || { zj_fail "no foreground event for the desktop: $front"; return 1; }
  ja_switched "$mark" 01 0 || return 1
  zj_log "the desktop in front ($front): back to profile 1 at 1000 Hz, sent and saved"
  ja_stop_notepad
  exit_and_check
}

# notepad.exe linked to profile 2 (made 125 Hz) by zeltra-cli before the
# window starts; unlinked by it afterwards.
journey_apps_cli() {
  local data
  data=$(zj_data)
  [ -n "$data" ] && rm -rf "$data"
  local out file=$ZJ_TOP/apps-cli.psf
  out=$(ja_cli export 1 "$(zj_win "$file")") || { zj_fail "zeltra-cli export: $out"; return 1; }
  iconv -f UTF-16 -t UTF-8 "$file" | sed -e 's/^\(PollingRateName=\).*/\1125HZ/' -e 's/^\(\tPollingRateValue=\).*/\1000000/' >"$file.txt"
  "$ROOT/tools/utf16.sh" "$file.txt" "$file"
  out=$(ja_cli import "$(zj_win "$file")" 2) || { zj_fail "zeltra-cli import: $out"; return 1; }
  out=$(ja_cli link 2 notepad.exe) || { zj_fail "zeltra-cli link: $out"; return 1; }
  out=$(ja_cli --json show 2)
  grep -q '"notepad.exe"' <<<"$out" || { zj_fail "show --json has no notepad.exe: $out"; return 1; }
  zj_log "zeltra-cli linked notepad.exe to profile 2"

  ZJ_KEEP_DATA=1 zj_start apps-cli
  zj_wait_main_window || { zj_fail "no main window"; return 1; }
  zj_until 10 settled
  local mark front
  mark=$(jp_mark)
  ja_start_notepad || return 1
  front=$(ja_front) || { zj_fail "no foreground event: $front"; return 1; }
  jp_expect_sent "$mark" "07 00 .. 01 01 08" "the switch to profile 2" || return 1
  zj_log "notepad in front ($front): profile 2 at 125 Hz sent"
  ja_stop_notepad
  exit_and_check || return 1
  expect_value config.ini CurrentProfile 1 || return 1
  out=$(ja_cli unlink 2) || { zj_fail "zeltra-cli unlink: $out"; return 1; }
  expect_value default1.psf GameFile0 "" && zj_log "$out"
}

# --- the tray menu ---------------------------------------------------------
# A profile picked there, and starting with Windows (the Startup folder's
# shortcut, the start hidden in the tray).

# The Startup folder's shortcut of the prefix's user, when there is one.
jt_shortcut() {
  find "$PREFIX/drive_c/users" -ipath '*/startup/zeltra.lnk' 2>/dev/null | head -1
}
jt_no_shortcut() { [ -z "$(jt_shortcut)" ]; }
jt_has_shortcut() { [ -n "$(jt_shortcut)" ]; }

# The menu's rows with a new data folder's three shown profiles: show, the
# profiles, start with Windows, exit.
JT_ROWS=(i s i i i s i s i)
jt_start_with_windows() { zj_tray_menu row 6 "${JT_ROWS[@]}"; }

# The second shown profile picked in the tray menu becomes the current one
# and goes to the mouse, as a pick in the picker does.
journey_tray_profile() {
  zj_start tray-profile
  zj_wait_main_window || { zj_fail "no main window"; return 1; }
  zj_until 10 settled
  zj_tray_menu row 3 "${JT_ROWS[@]}" || return 1
  zj_log "second profile picked in the tray menu"
  # The new folder's profiles are alike: the mouse's state is checked
  # against the saved current profile at the exit.
  exit_and_check || return 1
  expect_value config.ini CurrentProfile 1
}

# The menu's entry puts a shortcut to the program with the start switch into
# the Startup folder; started by it, the program stays in the tray until
# brought up; the entry again takes the shortcut away.
journey_start_with_windows() {
  local old
  old=$(jt_shortcut)
  [ -z "$old" ] || rm -f "$old"
  zj_start start-with-windows
  zj_wait_main_window || { zj_fail "no main window"; return 1; }
  zj_until 10 settled
  jt_start_with_windows || return 1
  zj_until 5 jt_has_shortcut || { zj_fail "no shortcut in the Startup folder"; return 1; }
  local link texts
  link=$(jt_shortcut)
  texts=$(strings -el "$link")
  grep -qx -- '--tray' <<<"$texts" || { zj_fail "the shortcut does not give the start switch: $texts"; return 1; }
  grep -qi 'Zeltra\.exe$' <<<"$texts" || { zj_fail "the shortcut does not point at the program: $texts"; return 1; }
  zj_log "shortcut written: ${link#"$PREFIX"/}"
  exit_and_check || return 1

  # As Windows starts it at sign-in: hidden with the icon in the tray.
  ZJ_KEEP_DATA=1 zj_start start-in-tray --tray
  zj_until 15 zj_tray_icon >/dev/null || { zj_fail "no tray icon after a start in the tray"; return 1; }
  zj_until 10 settled
  sleep 2
  zj_main_window_hidden || { zj_fail "the window showed at a start in the tray"; return 1; }
  [ "$(writes)" -ge 1 ] || { zj_fail "nothing was sent at a start in the tray"; return 1; }
  zj_log "started in the tray: hidden, $(writes) writes"
  zj_tray_double_click || return 1
  zj_until 10 zj_main_window_shown || { zj_fail "a double-click on the tray icon did not bring it up"; return 1; }
  jt_start_with_windows || return 1
  zj_until 5 jt_no_shortcut || { zj_fail "the shortcut stayed in the Startup folder"; return 1; }
  zj_log "the entry again: shortcut removed"
  exit_and_check
}

ZJ_SET_apps=(apps_window apps_cli tray_profile start_with_windows)
