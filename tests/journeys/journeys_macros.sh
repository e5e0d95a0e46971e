# Journeys through button assignment and the macros: the assignment menu and
# its submenus, the fire-key, key-combination and macro dialogs, recording
# and editing a macro in the macro manager, and moving macros out through
# files and back in. Sourced by journeys.sh, whose helpers they use.

# The device position of each button combo's slot (slots 3 and 4 swap).
combo_position() { local p=(0 1 2 4 3 5); echo "${p[$(($1 - 2013))]}"; }

# A popup of the program opened since zj_mark with its corner where the
# program's own placement puts it: popup_at X Y (client pixels of the main
# window); prints the window.
popup_at() {
  local ox oy
  read -r ox oy <<<"$(zj_origin)"
  zj_until 5 zj_new_window at $((ox + $1)) $((oy + $2)) >/dev/null ||
    { zj_fail "no popup at $((ox + $1)),$((oy + $2)): $(zj_new_windows_text)"; return 1; }
  zj_new_window at $((ox + $1)) $((oy + $2))
}

# menu_open COMBO: a click on the button combo; MENU becomes its main menu.
menu_open() {
  local top x y
  zj_mark
  zj_click "$1" || return 1
  read -r _ top <<<"$(zj_origin)"
  read -r x y <<<"$(zj_ui menu-at combo "$1" "$top")" || { zj_fail "no placement for the menu"; return 1; }
  MENU=$(popup_at "$x" "$y") || { zj_fail "the menu of $1 did not open"; return 1; }
}

# popup_item WINDOW CLASS ENTRY [CONTEXT]: entry ENTRY's rectangle in the popup.
popup_item() { zj_ui popup-item "$2" "$3" --context "${4:-0}"; }

# assign COMBO ENTRY [SUBMENU SUBENTRY]: chooses a main-menu entry, or hovers
# one to open its submenu and chooses there.
assign() {
  local combo=$1 entry=$2 r
  menu_open "$combo" || return 1
  r=$(popup_item "$MENU" combo "$entry") || { zj_fail "the menu has no entry $entry"; return 1; }
  if [ $# -lt 4 ]; then
    zj_click_in "$MENU" "$r"
    return
  fi
  local top x y sub l t rr b wx wy
  read -r l t rr b _ <<<"$r"
  read -r wx wy _ <<<"$(zj_geometry "$MENU")"
  xdotool mousemove $((wx + (l + rr) / 2 - 3)) $((wy + (t + b) / 2)) sleep 0.1 mousemove $((wx + (l + rr) / 2)) $((wy + (t + b) / 2))
  read -r _ top <<<"$(zj_origin)"
  read -r x y <<<"$(zj_ui menu-at "$3" "$combo" "$top")" || { zj_fail "no placement for the $3 submenu"; return 1; }
  sub=$(popup_at "$x" "$y") || { zj_fail "hovering entry $entry did not open the $3 submenu"; return 1; }
  r=$(popup_item "$sub" "$3" "$4") || { zj_fail "the $3 submenu has no entry $4"; return 1; }
  zj_click_in "$sub" "$r"
}

# button_sent COMBO "B0 B1 B2": the mouse was sent that function for the
# combo's button (a pattern: ".." for any byte).
button_sent() {
  zj_until 5 zj_trace " set-feature ok 0C 01 04 00 .. 01 04 0$(combo_position "$1") $2 " >/dev/null ||
    { zj_fail "$1 was not sent $2"; return 1; }
}

# Every menu and dialog gone and nothing sent for a second.
menus_closed() { [ -z "$(zj_other_windows)" ] && settled; }
# assign_and_check COMBO "BYTES" ENTRY [SUBMENU SUBENTRY]
assign_and_check() {
  local combo=$1 bytes=$2
  shift 2
  assign "$combo" "$@" || return 1
  button_sent "$combo" "$bytes" || return 1
  zj_until 10 menus_closed || { zj_fail "the menus stayed open: $(zj_new_windows_text)"; return 1; }
  zj_log "$combo: $bytes"
}

# One function of each category of the menus, on the five buttons that do
# not hold the left click; each one reaches the mouse and the saved profile.
journey_assign_from_menus() {
  zj_start assign-menus
  zj_wait_main_window || { zj_fail "no main window"; return 1; }
  zj_until 10 settled
  # The only left click cannot go: the choice is undone with a warning and nothing is sent.
  local before
  before=$(writes)
  assign 2013 16 || return 1
  zj_wait_dialog attention || return 1
  zj_dialog_click 2010 && zj_dialog_closed || return 1
  zj_until 10 menus_closed
  [ "$(writes)" = "$before" ] || { zj_fail "disabling the only left click was sent"; return 1; }
  zj_log "2013: the only left click stays, with a warning"
  assign_and_check 2014 "10 04 00" 3 || return 1                # middle button
  assign_and_check 2015 "40 02 00" 6 dpi 1 || return 1          # a DPI function
  assign_and_check 2016 "50 05 00" 15 dpilock 5 || return 1     # DPI lock at 600
  assign_and_check 2017 "80 CD 00" 11 multimedia 5 || return 1  # play/pause
  assign_and_check 2018 "70 01 06" 12 office 1 || return 1      # Ctrl+C
  assign_and_check 2014 "70 04 3D" 13 windows 2 || return 1     # Alt+F4
  assign_and_check 2015 "00 00 00" 16 || return 1               # disabled
  assign_and_check 2016 "30 32 03" 8 || return 1                # triple fire
  assign_and_check 2017 "60 04 00" 14 || return 1
  exit_and_check || return 1
  expect_value default0.psf Key0Value 100100 && expect_value default0.psf Key1Value 70043D &&
    expect_value default0.psf Key2Value 000000 && expect_value default0.psf Key3Value 303203 &&
    expect_value default0.psf Key4Value 600400 && expect_value default0.psf Key5Value 700106
}

# popup_hover WINDOW CLASS ENTRY: the pointer onto an entry of a popup, as a
# hand moves onto it.
popup_hover() {
  local l t rr b wx wy
  read -r l t rr b _ <<<"$(popup_item "$1" "$2" "$3")" || { zj_fail "no entry $3 in the $2 popup"; return 1; }
  read -r wx wy _ <<<"$(zj_geometry "$1")"
  xdotool mousemove $((wx + (l + rr) / 2 - 3)) $((wy + (t + b) / 2)) sleep 0.1 mousemove $((wx + (l + rr) / 2)) $((wy + (t + b) / 2))
  sleep 0.4
}

# The assignment menu after one of its submenus came and went: the pointer
# onto a submenu entry, then onto an entry without one, then a click on a
# part of the window that does nothing; every menu must go, nothing sent.
journey_menu_after_submenu() {
  zj_start menu-after-submenu
  zj_wait_main_window || { zj_fail "no main window"; return 1; }
  zj_until 10 settled
  local before top x y sub
  before=$(writes)
  menu_open 2016 || return 1
  popup_hover "$MENU" combo 11 || return 1
  read -r _ top <<<"$(zj_origin)"
  read -r x y <<<"$(zj_ui menu-at multimedia 2016 "$top")" || { zj_fail "no placement for the submenu"; return 1; }
  sub=$(popup_at "$x" "$y") || { zj_fail "hovering entry 11 did not open the multimedia submenu"; return 1; }
  popup_hover "$MENU" combo 1 || return 1
  zj_until 5 zj_window_gone "$sub" || { zj_fail "the submenu stayed after the pointer left its entry"; return 1; }
  [ -n "$(zj_other_windows)" ] || { zj_fail "the main menu went with the submenu"; return 1; }
  zj_log "the submenu came and went; the menu stays"
  zj_click 3007 || return 1  # the battery group's header: a click there changes nothing
  zj_until 10 menus_closed || { zj_fail "the menu stayed on screen after a click elsewhere: $(zj_new_windows_text)"; return 1; }
  [ "$(writes)" = "$before" ] || { zj_fail "a click elsewhere sent something"; return 1; }
  zj_log "a click elsewhere closed the menu, nothing sent"
  exit_and_check
}

# The fire-key dialog with typed values, and the key-combination dialog with
# two modifier boxes and a real key press.
journey_assign_from_dialogs() {
  zj_start assign-dialogs
  zj_wait_main_window || { zj_fail "no main window"; return 1; }
  zj_until 10 settled
  assign 2014 7 || return 1
  zj_wait_dialog firekey || return 1
  zj_type_into 2017 7 && zj_type_into 2018 9 || return 1
  zj_dialog_click 2010 && zj_dialog_closed || return 1
  button_sent 2014 "30 07 09" || return 1
  zj_log "fire key 7, 9 sent"

  zj_until 10 menus_closed
  assign 2015 10 || return 1
  zj_wait_dialog shortcut || return 1
  zj_dialog_click 2006 && zj_dialog_click 2007 || return 1
  # The key through the keyboard hook, while the dialog has the focus.
  xdotool key --delay 100 a
  sleep 0.5
  zj_dialog_click 2010 && zj_dialog_closed || return 1
  button_sent 2015 "70 05 04" || return 1
  zj_log "Ctrl+Alt+A sent"
  exit_and_check || return 1
  expect_value default0.psf Key1Value 300709 && expect_value default0.psf Key2Value 700504 &&
    expect_value default0.psf Key2Name Ctrl+Alt+A
}

# --- the macro manager ---------------------------------------------------------

# manager_open: button 2062 opens the macro manager.
manager_open() {
  zj_mark
  zj_click 2062 || return 1
  zj_wait_dialog manager || return 1
  MANAGER=$ZJ_DIALOG
}
# Back to the manager after one of its small dialogs.
manager_again() {
  ZJ_DIALOG=$MANAGER
  ZJ_DIALOG_NAME=manager
}
# manager_click ID: a control of the manager.
manager_click() { manager_again && zj_dialog_click "$@"; }

# name_dialog KIND NAME: the name dialog (name or folder) that a click just
# opened gets NAME and OK.
name_dialog() {
  zj_wait_dialog "$1" || return 1
  zj_type_into 2017 "$2" || return 1
  zj_dialog_click 2010 && zj_dialog_closed || return 1
  manager_again
  sleep 0.3
}

# context_entry ROW KIND ENTRY: a right click on shown row ROW of the tree
# opens its context popup (of KIND: 0 nothing selected, 1 a macro, 2 a
# folder) at the pointer; ENTRY is chosen.
context_entry() {
  local r l t rr b wx wy x y popup
  manager_again
  r=$(zj_ui list-row manager 2015 "$1") || { zj_fail "no tree row $1"; return 1; }
  read -r l t rr b _ <<<"$r"
  read -r wx wy _ <<<"$(zj_geometry "$MANAGER")"
  x=$((wx + (l + rr) / 2))
  y=$((wy + (t + b) / 2))
  zj_mark
  zj_click_screen "$x" "$y" 3
  zj_until 5 zj_new_window at "$x" "$y" >/dev/null ||
    { zj_fail "no context popup at the pointer $x,$y: $(zj_new_windows_text)"; return 1; }
  popup=$(zj_new_window at "$x" "$y")
  r=$(popup_item "$popup" macrolist "$3" "$2") || { zj_fail "the context popup has no entry $3"; return 1; }
  zj_mark
  zj_click_in "$popup" "$r"
}

# insert_entry ENTRY: the manager's insert combo opens its popup below it; ENTRY is chosen.
insert_entry() {
  local l b wx wy popup r
  manager_again
  read -r l _ _ b _ <<<"$(zj_ui dialog-rect manager 2035)"
  read -r wx wy _ <<<"$(zj_geometry "$MANAGER")"
  zj_mark
  manager_click 2035 || return 1
  zj_until 5 zj_new_window at $((wx + l)) $((wy + b)) >/dev/null ||
    { zj_fail "no insert popup below its combo: $(zj_new_windows_text)"; return 1; }
  popup=$(zj_new_window at $((wx + l)) $((wy + b)))
  r=$(popup_item "$popup" insert "$1") || return 1
  zj_click_in "$popup" "$r"
  sleep 0.5
}

# manager_close: the close cross saves the library and ends the manager.
manager_close() {
  manager_click 2004 || return 1
  ZJ_DIALOG=$MANAGER
  zj_dialog_closed
}

# library_has PATTERN [FILE]: a line of the library file matches.
library_has() {
  local text
  text=$(zj_macros "${2:-}") || { zj_fail "the library ${2:-file} does not load"; return 1; }
  grep -Eq "$1" <<<"$text" || { zj_fail "no item like '$1' in the library:"$'\n'"$text"; return 1; }
}

# Macro upload packets in the trace, and whether there are more than $1 (the
# packets follow their button's report by its 60 ms pause at the least).
macro_packets() { zj_trace_count ' set-feature ok 0C 01 0E 00 '; }
more_packets_than() { [ "$(macro_packets)" -gt "$1" ]; }

# A macro recorded with its pauses from real keys, edited, kept in a folder,
# given to a button, then changed in the manager and sent again when it closes.
journey_record_macro() {
  zj_start record-macro
  zj_wait_main_window || { zj_fail "no main window"; return 1; }
  zj_until 10 settled
  manager_open || return 1
  context_entry 4 0 2 || return 1  # new folder, nothing selected
  name_dialog folder Keys || return 1
  manager_click 2012 || return 1   # new macro, inside the selected folder
  name_dialog name Combo || return 1
  manager_click 2031 || return 1   # played once
  manager_click 2017 || return 1   # with the pauses
  manager_click 2018 || return 1   # record
  xdotool key --delay 300 a b
  sleep 0.5
  manager_click 2018 || return 1   # stop: the library is saved
  local pause='03[0-9A-F]{6}'
  library_has "^0/0 macro Combo index=1 loop=1/1 events=4 actions=41000000,$pause,41800000,$pause,42000000,$pause,42800000\$" ||
    return 1
  zj_log "recorded a, b with their pauses into Keys/Combo"

  # The first press becomes C, the first pause 250 ms, the last release goes.
  zj_list_click 2020 0 && manager_click 2023 || return 1
  zj_wait_dialog key || return 1
  xdotool key --delay 100 c
  sleep 0.4
  zj_dialog_click 2010 && zj_dialog_closed || return 1
  manager_again
  zj_list_click 2020 1 && manager_click 2023 || return 1
  zj_wait_dialog delay || return 1
  zj_type_into 2017 250 || return 1
  zj_dialog_click 2010 && zj_dialog_closed || return 1
  manager_again
  zj_list_click 2020 6 && manager_click 2024 || return 1
  manager_close || return 1
  local edited="43000000,030000FA,41800000,$pause,42000000,$pause"
  library_has "^0/0 macro Combo index=1 loop=1/1 events=3 actions=$edited\$" || return 1
  zj_log "edited: C, 250 ms, the last release deleted; saved when the manager closed"

  # The macro chooser: the folder opens with a double click, the macro is chosen.
  zj_until 10 menus_closed
  assign 2018 9 || return 1
  zj_wait_dialog select || return 1
  zj_list_click 2015 0 1 2 && zj_list_click 2015 1 || return 1
  local before
  before=$(macro_packets)
  zj_dialog_click 2010 && zj_dialog_closed || return 1
  button_sent 2018 "90 1. 00" || return 1
  zj_until 5 more_packets_than "$before" || { zj_fail "the macro was not sent with its button"; return 1; }
  zj_log "Combo on the sixth button: sent with its macro"

  # Played repeatedly and with a right click more: sent again once the manager closes.
  zj_until 10 menus_closed
  manager_open || return 1
  zj_list_click 2015 0 1 2 && zj_list_click 2015 1 || return 1
  manager_click 2032 || return 1
  insert_entry 2 || return 1
  before=$(macro_packets)
  manager_close || return 1
  button_sent 2018 "90 4. 00" || return 1
  zj_until 5 more_packets_than "$before" || { zj_fail "the changed macro was not sent when the manager closed"; return 1; }
  zj_log "changed in the manager: sent again when it closed"
  exit_and_check || return 1
  library_has "^0 folder Keys\$" &&
    library_has "^0/0 macro Combo index=1 loop=4/1 events=5 actions=$edited,E1000000,03000032,E1800000\$" &&
    expect_value default0.psf MacroKey5Name Combo
}

# A macro and the whole library out to files through the file dialogs, then
# both back into a library that no longer has them.
journey_export_import() {
  zj_start export
  zj_wait_main_window || { zj_fail "no main window"; return 1; }
  zj_until 10 settled
  manager_open || return 1
  manager_click 2012 || return 1
  name_dialog name Alpha || return 1
  manager_click 2018 || return 1   # recorded without pauses
  xdotool key --delay 200 x y
  sleep 0.5
  manager_click 2018 || return 1
  context_entry 4 0 2 || return 1  # a folder beside it
  name_dialog folder Box || return 1
  manager_click 2012 || return 1
  name_dialog name Beta || return 1
  insert_entry 1 || return 1       # a left click
  local alpha='macro Alpha index=[0-9]+ loop=2/1 events=4 actions=58000000,58800000,59000000,59800000$'
  local beta='macro Beta index=[0-9]+ loop=2/1 events=2 actions=E0000000,03000032,E0800000$'

  local mkf="$ZJ_WORK/alpha.mkf" mbf="$ZJ_WORK/all.mbf"
  context_entry 0 1 3 || return 1  # export the macro
  file_dialog "$mkf" || return 1
  context_entry 5 0 8 || return 1  # export the library, nothing selected
  file_dialog "$mbf" || return 1
  manager_close || return 1
  library_has "^0 $alpha" "$mkf" && library_has '^selected 0$' "$mkf" || return 1
  library_has "^0 $alpha" "$mbf" && library_has '^1 folder Box$' "$mbf" && library_has "^1/0 $beta" "$mbf" &&
    library_has '^selected none$' "$mbf" || return 1
  zj_log "exported: $(basename "$mkf") (the macro selected), $(basename "$mbf") (nothing selected)"
  exit_and_check || return 1

  # Without the library, both come back: the library at the top level, the
  # macro into the folder.
  rm -f "$(zj_data)/config/MacroLibraryFile.mlf"
  ZJ_KEEP_DATA=1 zj_start import
  zj_wait_main_window || { zj_fail "no main window"; return 1; }
  zj_until 10 settled
  manager_open || return 1
  context_entry 4 0 7 || return 1  # import a library
  file_dialog "$mbf" || return 1
  context_entry 1 2 4 || return 1  # import a macro into the folder Box
  file_dialog "$mkf" || return 1
  manager_close || return 1
  exit_and_check || return 1
  library_has "^0 $alpha" && library_has '^1 folder Box$' && library_has "^1/0 $beta" && library_has "^1/1 $alpha" || return 1
  local indices
  indices=$(zj_macros | sed -n 's/.* index=\([0-9]*\) .*/\1/p' | sort -u | wc -l)
  [ "$indices" = 3 ] || { zj_fail "the imported macros do not have three indices of their own"; return 1; }
  zj_log "imported: Alpha, Box with Beta, and Alpha again inside Box"
}

# file_dialog PATH: the standard file dialog a context entry just opened
# gets PATH typed and Enter; waits for it to go.
file_dialog() {
  local dialog
  zj_until 10 zj_new_window >/dev/null || { zj_fail "no file dialog"; return 1; }
  dialog=$(zj_new_window)
  sleep 0.8
  zj_rub_out 40
  xdotool type --delay 30 "$(zj_win "$1")"
  sleep 0.2
  xdotool key Return
  gone() { ! zj_program_windows | grep -qx "$dialog"; }
  zj_until 10 gone || { zj_fail "the file dialog stayed open: $(zj_new_windows_text)"; return 1; }
  manager_again
  sleep 0.5
}

ZJ_SET_macros=(assign_from_menus menu_after_submenu assign_from_dialogs record_macro export_import)
