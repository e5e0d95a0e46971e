# Journeys of the tray icon's menu: a profile picked there, and starting
# with Windows (the Startup folder's shortcut, the start hidden in the tray).
# Sourced by journeys.sh, whose helpers (settled, exit_and_check,
# expect_value) they use.

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

ZJ_SET_tray=(tray_profile start_with_windows)
