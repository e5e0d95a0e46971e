# Journeys of the profiles (add, rename, export, import, delete), the
# lighting modes, the factory reset, the on-screen display and the DPI
# stages' values and colours. Sourced by journeys.sh, whose helpers (writes,
# settled, quiet, press, exit_and_check, expect_value) they use.

# The lighting mode the window shows now. The probe would take the data
# folder's, which only the delayed save writes; -1: the folder's.
JP_MODE=-1

jp_rect() { zj_layout rect "$@" --lighting-mode "$JP_MODE"; }
jp_click() {
  local r
  r=$(jp_rect "$@") || { zj_fail "no control $*"; return 1; }
  zj_click_at "$r" || { zj_fail "control $* is not drawn"; return 1; }
}
jp_settle() { zj_until 15 quiet || { zj_fail "the program did not settle after $1"; return 1; }; }
jp_press() { jp_click "$@" && jp_settle "a click on $1"; }
# jp_slide ID POSITION: a click on a slider where it stands at POSITION.
jp_slide() {
  local r
  r=$(zj_layout slider-at "$1" "$2" --lighting-mode "$JP_MODE") || { zj_fail "no slider $1"; return 1; }
  zj_click_at "$r" || { zj_fail "slider $1 is not drawn"; return 1; }
  jp_settle "slider $1 at $2"
}

# jp_drag ID FROM TO: the thumb of a slider dragged from step FROM to step TO;
# nothing may go out while the button is held, the release sends.
jp_drag() {
  local from to y ox oy m
  read -r from y _ <<<"$(zj_layout slider-at "$1" "$2" --lighting-mode "$JP_MODE")"
  read -r to _ <<<"$(zj_layout slider-at "$1" "$3" --lighting-mode "$JP_MODE")"
  read -r ox oy <<<"$(zj_origin)"
  m=$(jp_mark)
  xdotool mousemove $((ox + from - 3)) $((oy + y)) sleep 0.1 mousemove $((ox + from)) $((oy + y)) sleep 0.3 mousedown 1 sleep 0.3
  local x=$from step=$(((to - from) / 8))
  for _ in 1 2 3 4 5 6 7 8; do
    x=$((x + step))
    xdotool mousemove $((ox + x)) $((oy + y)) sleep 0.05
  done
  xdotool mousemove $((ox + to)) $((oy + y))
  sleep 1
  if jp_sent_now "$m" "08 "; then
    xdotool mouseup 1
    zj_fail "slider $1 sent while it was dragged"
    return 1
  fi
  xdotool mouseup 1
  [ "$(zj_origin)" = "$ox $oy" ] || { zj_fail "the drag moved the window instead of the thumb"; return 1; }
  jp_settle "the drag of slider $1"
}

# The trace's length now, and whether a set-feature after that line matches
# (hex bytes from the command on, an extended regular expression).
jp_mark() { wc -l <"$ZJ_WORK/trace.txt"; }
jp_sent_now() { tail -n +"$(($1 + 1))" "$ZJ_WORK/trace.txt" | grep -Eq " set-feature ok 0C 01 $2"; }
jp_sent() { zj_until 5 jp_sent_now "$1" "$2"; }
# jp_expect_sent MARK PATTERN WHAT
jp_expect_sent() { jp_sent "$1" "$2" || { zj_fail "$3 was not sent (no report $2)"; return 1; }; }

jp_dialog_part() { zj_probe dialog "$1" "$2" --scale "$ZJ_SCALE"; }
jp_wait_gone() { zj_until "${2:-10}" zj_window_gone "$1" || { zj_fail "the $3 did not close"; return 1; }; }

# jp_picker_row ROW [BUTTON]: opens the picker and clicks its row ROW (0 the
# header, 1..5 the shown profiles, 6 the last); prints the program's windows
# just before the row was clicked. Messages go to standard error.
jp_picker_row() {
  local before data r
  before=$(zj_windows_now)
  zj_click 3502 >&2 || return 1
  zj_await_window "$before" >/dev/null || { zj_fail "the picker did not open" >&2; return 1; }
  data=$(zj_data)
  r=$(zj_probe picker-row "$1" --scale "$ZJ_SCALE" ${data:+--data "$data"}) || { zj_fail "no picker row $1" >&2; return 1; }
  before=$(zj_windows_now)
  zj_click_rect "$ZJ_WINDOW" "$r" "${2:-1}" >&2 || return 1
  echo "$before"
}

# jp_profile_menu ROW ENTRY: the picker's row ROW (1..5) right-clicked, then
# entry ENTRY of its context popup (0 import, 1 export, 2 edit, 3 delete).
# Prints the program's windows just before the entry was chosen.
jp_profile_menu() {
  local before tab
  before=$(jp_picker_row "$1" 3) || return 1
  tab=$(zj_await_window "$before") || { zj_fail "no context popup on row $1" >&2; return 1; }
  before=$(zj_windows_now)
  zj_click_rect "$tab" "$(zj_probe popup-item profile-tab "$2" --scale "$ZJ_SCALE")" >&2 || return 1
  echo "$before"
}

# jp_file_dialog BEFORE FILE: the file dialog opened since BEFORE takes FILE.
jp_file_dialog() {
  local dialog
  dialog=$(zj_await_window "$1" 20) || { zj_fail "no file dialog"; return 1; }
  # The proposed name goes first.
  zj_keys "$dialog" End BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace
  zj_type "$dialog" "$(zj_win "$2")"
  zj_keys "$dialog" Return
  jp_wait_gone "$dialog" 10 "file dialog"
}

# jp_name_dialog BEFORE NAME: the add or edit dialog opened since BEFORE
# gets NAME in place of its text and is confirmed with OK.
jp_name_dialog() {
  local dialog
  dialog=$(zj_await_window "$1") || { zj_fail "no profile dialog"; return 1; }
  zj_keys "$dialog" End $(printf 'BackSpace %.0s' {1..24})
  zj_type "$dialog" "$2"
  zj_click_rect "$dialog" "$(jp_dialog_part common ok)" || return 1
  jp_wait_gone "$dialog" 10 "profile dialog"
}

# jp_attention BEFORE: an attention dialog opened since BEFORE; its OK closes it.
jp_attention() {
  local dialog
  dialog=$(zj_await_window "$1") || { zj_fail "no attention dialog"; return 1; }
  zj_click_rect "$dialog" "$(jp_dialog_part attention ok)" || return 1
  jp_wait_gone "$dialog" 10 "attention dialog"
}

# A profile added and renamed, profile 1 exported to a file, the file
# imported into the new profile, which then goes to the mouse; the current
# profile cannot be deleted, the other one can.
journey_profiles() {
  zj_start profiles
  zj_wait_main_window || { zj_fail "no main window"; return 1; }
  zj_until 10 settled
  local shown first before added
  shown=$(zj_value config.ini ProfileShowCount)
  first=$(zj_value default0.psf ProfileName)
  [ -n "$shown" ] && [ "$shown" -lt 5 ] || { zj_fail "ProfileShowCount is ${shown:-missing} at the start"; return 1; }

  # Add: the picker's last row, a name typed, Enter.
  local dialog
  before=$(jp_picker_row 6) || return 1
  dialog=$(zj_await_window "$before") || { zj_fail "the add dialog did not open"; return 1; }
  # An empty name is refused with a warning; the dialog stays.
  before=$(zj_windows_now)
  zj_keys "$dialog" Return
  jp_attention "$before" || return 1
  ! zj_window_gone "$dialog" || { zj_fail "the add dialog closed on an empty name"; return 1; }
  expect_value config.ini ProfileShowCount "$shown" || return 1
  zj_type "$dialog" "Work"
  zj_keys "$dialog" Return
  jp_wait_gone "$dialog" 10 "add dialog" || return 1
  zj_until 5 test "$(zj_value config.ini ProfileShowCount)" = $((shown + 1)) ||
    { zj_fail "ProfileShowCount did not become $((shown + 1))"; return 1; }
  added=$(zj_value config.ini "ProfileShowList$shown")
  expect_value "default$added.psf" ProfileName Work || return 1
  zj_log "added profile $added, Work, shown in row $((shown + 1))"

  # Rename it through its context popup.
  before=$(jp_profile_menu $((shown + 1)) 2) || return 1
  jp_name_dialog "$before" "Play" || return 1
  zj_until 5 test "$(zj_value "default$added.psf" ProfileName)" = Play || { zj_fail "the rename was not saved"; return 1; }
  zj_log "renamed to Play"

  # Profile 1 at 500 Hz is exported, then set back to 1000 Hz.
  zj_header 3004 || return 1
  press 3032 || return 1
  local file=$ZJ_WORK/exported.psf
  before=$(jp_profile_menu 1 1) || return 1
  jp_file_dialog "$before" "$file" || return 1
  zj_until 10 test -s "$file" || { zj_fail "nothing was exported"; return 1; }
  local exported
  exported=$(iconv -f UTF-16 -t UTF-8 "$file" | tr -d '\r')
  grep -qx "ProfileName=$first" <<<"$exported" && grep -qx $'\tPollingRateValue=020000' <<<"$exported" ||
    { zj_fail "the exported file does not hold profile 1 at 500 Hz"; return 1; }
  zj_log "exported $first at 500 Hz"
  press 3033 || return 1

  # The file into the new profile: it takes the file's name and values.
  before=$(jp_profile_menu $((shown + 1)) 0) || return 1
  jp_file_dialog "$before" "$file" || return 1
  zj_until 5 test "$(zj_value "default$added.psf" PollingRateValue)" = 020000 ||
    { zj_fail "the import did not reach default$added.psf"; return 1; }
  cmp -s "$file" "$(zj_data)/config/default$added.psf" ||
    { zj_fail "default$added.psf is not the imported file"; return 1; }
  zj_log "imported into profile $added: its file is the exported one"

  # Switching to it sends what differs from profile 1: the rate.
  local mark
  mark=$(jp_mark)
  zj_pick_profile $((shown + 1)) || return 1
  jp_settle "the switch" || return 1
  jp_expect_sent "$mark" "07 00 .. 01 01 02" "the imported 500 Hz" || return 1

  # The current profile cannot be deleted.
  before=$(jp_profile_menu $((shown + 1)) 3) || return 1
  jp_attention "$before" || return 1
  expect_value config.ini ProfileShowCount $((shown + 1)) || return 1
  # Back to profile 1, and the other one goes.
  zj_pick_profile 1 || return 1
  jp_settle "the switch back" || return 1
  before=$(jp_profile_menu $((shown + 1)) 3) || return 1
  zj_until 5 test "$(zj_value config.ini ProfileShowCount)" = "$shown" ||
    { zj_fail "the delete did not reach config.ini"; return 1; }
  expect_value config.ini ProfileShowList4 "$added" || return 1
  zj_log "the current profile was kept, profile $added deleted and moved behind the shown ones"

  # The file into the current profile: what the window shows now reaches the mouse.
  mark=$(jp_mark)
  before=$(jp_profile_menu 1 0) || return 1
  jp_file_dialog "$before" "$file" || return 1
  jp_settle "the import" || return 1
  jp_expect_sent "$mark" "07 00 .. 01 01 02" "the 500 Hz imported into the current profile" || return 1
  zj_log "imported into the current profile: its 500 Hz went to the mouse"
  exit_and_check || return 1
  expect_value config.ini CurrentProfile 0 && expect_value config.ini ProfileShowCount "$shown" &&
    expect_value default0.psf PollingRateValue 020000
}

# jp_mode ENTRY MODE: the mode combo's popup, its entry ENTRY (0 the first),
# which selects MODE.
jp_mode() {
  local before popup
  jp_settle "the last change" || return 1
  before=$(zj_windows_now)
  jp_click 3120 || return 1
  popup=$(zj_await_window "$before") || { zj_fail "the mode popup did not open"; return 1; }
  zj_click_rect "$popup" "$(zj_probe popup-item lighting "$1" --scale "$ZJ_SCALE")" || return 1
  JP_MODE=$2
  jp_settle "choosing mode $2"
}

# Every mode of the menu with its speed, brightness, direction and colour
# slots: the lighting report after every change, the values at the exit.
journey_lighting() {
  zj_start lighting
  zj_wait_main_window || { zj_fail "no main window"; return 1; }
  zj_until 10 settled
  JP_MODE=1
  local m
  # Mode 1: speed and direction.
  m=$(jp_mark)
  jp_slide 3200 0 && jp_expect_sent "$m" "08 00 .. 01 03 01 21 01" "mode 1 at speed 1" || return 1
  m=$(jp_mark)
  jp_press 3250 && jp_expect_sent "$m" "08 00 .. 01 03 01 21 00" "mode 1 downwards" || return 1
  zj_log "mode 1: speed and direction sent"
  # Mode 2: seven colours, one taken out, speed.
  m=$(jp_mark)
  jp_mode 1 2 &&
    jp_expect_sent "$m" "08 00 .. 01 18 02 22 07 FF 00 00 00 FF 00 00 00 FF 00 FF FF FF FF 00 FF 00 FF FF FF FF" "mode 2" ||
    return 1
  m=$(jp_mark)
  jp_press 3183 &&
    jp_expect_sent "$m" "08 00 .. 01 15 02 22 06 FF 00 00 00 FF 00 00 00 FF FF FF 00 FF 00 FF FF FF FF" "mode 2 without slot 3" ||
    return 1
  m=$(jp_mark)
  jp_slide 3200 2 && jp_expect_sent "$m" "08 00 .. 01 15 02 23 06" "mode 2 at speed 3" || return 1
  zj_log "mode 2: slot 3 out, speed 3"
  # Mode 3: brightness; its one colour stays and takes a colour of the palette.
  m=$(jp_mark)
  jp_mode 2 3 && jp_expect_sent "$m" "08 00 .. 01 05 03 42 FF 00 FF" "mode 3" || return 1
  m=$(jp_mark)
  jp_drag 3220 3 1 && jp_expect_sent "$m" "08 00 .. 01 05 03 22 FF 00 FF" "mode 3 dragged to 50 %" || return 1
  local before l t rr b ox oy
  m=$(jp_mark)
  before=$(zj_windows_now)
  jp_click 3180 && jp_attention "$before" || return 1
  jp_settle "the refusal" || return 1
  ! jp_sent_now "$m" "08 " || { zj_fail "the refused switch-off of mode 3's only colour was sent"; return 1; }
  local r palette colour
  r=$(jp_rect 3180) || return 1
  before=$(zj_windows_now)
  read -r l t rr b _ <<<"$r"
  read -r ox oy <<<"$(zj_origin)"
  xdotool mousemove $((ox + (l + rr) / 2 - 3)) $((oy + (t + b) / 2)) sleep 0.1 \
    mousemove $((ox + (l + rr) / 2)) $((oy + (t + b) / 2)) sleep 0.2 click --repeat 2 --delay 60 1
  palette=$(zj_await_window "$before") || { zj_fail "a double click on slot 0 did not open the palette"; return 1; }
  colour=$(jp_pick_colour "$palette" swatches) || return 1
  m=$(jp_mark)
  zj_click_rect "$palette" "$(jp_dialog_part palette ok)" && jp_wait_gone "$palette" 10 "palette" || return 1
  jp_settle "the palette" || return 1
  jp_expect_sent "$m" "08 00 .. 01 05 03 22 ${colour:0:2} ${colour:2:2} ${colour:4:2}" "mode 3 in $colour" || return 1
  zj_log "mode 3: dragged to 50 % (sent at the release), slot 0 kept on, recoloured $colour"
  # Modes 4 and 5: speed only.
  m=$(jp_mark)
  jp_mode 3 4 && jp_expect_sent "$m" "08 00 .. 01 02 04 22" "mode 4" || return 1
  m=$(jp_mark)
  jp_slide 3200 0 && jp_expect_sent "$m" "08 00 .. 01 02 04 21" "mode 4 at speed 1" || return 1
  m=$(jp_mark)
  jp_mode 4 5 && jp_expect_sent "$m" "08 00 .. 01 02 05 22" "mode 5" || return 1
  m=$(jp_mark)
  jp_slide 3200 2 && jp_expect_sent "$m" "08 00 .. 01 02 05 23" "mode 5 at speed 3" || return 1
  # Mode 6: eight colours at fixed places, slot 2 taken out.
  m=$(jp_mark)
  jp_mode 5 6 &&
    jp_expect_sent "$m" "08 00 .. 01 17 06 22 FF 00 00 00 FF 00 00 00 FF FF FF 00 00 FF FF FA 00 FA FF FF FF" "mode 6" ||
    return 1
  m=$(jp_mark)
  jp_press 3182 &&
    jp_expect_sent "$m" "08 00 .. 01 17 06 22 FF 00 00 00 FF 00 00 00 00 FF FF 00 00 FF FF FA 00 FA FF FF FF" \
      "mode 6 without slot 2" || return 1
  # Mode 9: speed; then mode 0, which offers nothing.
  m=$(jp_mark)
  jp_mode 6 9 && jp_expect_sent "$m" "08 00 .. 01 02 09 22" "mode 9" || return 1
  m=$(jp_mark)
  jp_slide 3200 0 && jp_expect_sent "$m" "08 00 .. 01 02 09 21" "mode 9 at speed 1" || return 1
  m=$(jp_mark)
  jp_mode 7 0 && jp_expect_sent "$m" "08 00 .. 01 02 00 22" "mode 0" || return 1
  # Where slot 0 and the speed slider were, a click does nothing now.
  m=$(jp_mark)
  zj_click_at "$(JP_MODE=2 jp_rect 3181)" && zj_click_at "$(JP_MODE=2 zj_layout slider-at 3200 2 --lighting-mode 2)" ||
    return 1
  sleep 1
  ! jp_sent_now "$m" "08 " || { zj_fail "a hidden control of mode 0 changed the lighting"; return 1; }
  zj_log "modes 4, 5, 6, 9 and 0 sent with their values"
  exit_and_check || return 1
  expect_value default0.psf Lighting1ModeValue 000000 || return 1
  local want got key n value
  for want in "Lighting1Speed 1 00" "Lighting1Speed 2 02" "Lighting1Speed 4 00" "Lighting1Speed 5 02" \
    "Lighting1Speed 9 00" "Lighting1Brightness 3 01" "Lighting1Direction 1 00" "Lighting1ColorSelected 23 00" \
    "Lighting1ColorSelected 62 00" "Lighting1ColorSelected 30 01" "Lighting1FixedColor 30 $colour"; do
    read -r key n value <<<"$want"
    got=$(zj_item default0.psf "$key" "$n")
    [ "$got" = "$value" ] || { zj_fail "$key entry $n is ${got:-missing}, not $value"; return 1; }
  done
}

# jp_pick_colour PALETTE field|swatches: a click in the middle of the
# palette's colour field or of its first swatch; prints the colour (RRGGBB)
# of its picture there (the picture is stretched by the scale, pixel for
# pixel at the journeys' 1.0). Messages go to standard error.
jp_pick_colour() {
  local l t rr b x y colour
  read -r l t rr b _ <<<"$(jp_dialog_part palette "$2")"
  if [ "$2" = field ]; then
    x=$(((l + rr) / 2)) y=$(((t + b) / 2))
  else
    # The middle of the first of the 8 x 6 swatches.
    x=$((l + (rr - l) / 16)) y=$((t + (b - t) / 12))
  fi
  local px py
  read -r px py <<<"$(awk -v x="$x" -v y="$y" -v s="$ZJ_SCALE" 'BEGIN { printf "%d %d", x / s, y / s }')"
  colour=$(zj_probe pixel "$ROOT/res/images/palette_287.bmp" "$px" "$py") ||
    { zj_fail "no pixel ($x, $y) in the palette picture" >&2; return 1; }
  [ "$colour" != 0F0F0F ] || { zj_fail "($x, $y) of the palette is its background" >&2; return 1; }
  zj_click_rect "$1" "$x $y $((x + 1)) $((y + 1)) 1" >&2 || return 1
  echo "$colour"
}

# A factory reset, cancelled once, then confirmed: the reset report, the
# progress dialog, and the current profile back to its defaults with its
# name kept.
journey_factory_reset() {
  zj_start factory-reset
  zj_factory_is_defaults || return 1
  zj_wait_main_window || { zj_fail "no main window"; return 1; }
  zj_until 10 settled
  local before defaults
  defaults=$(zj_value default0.psf PollingRateValue)
  before=$(jp_profile_menu 1 2) || return 1
  jp_name_dialog "$before" "Mine" || return 1
  zj_header 3004 || return 1
  press 3032 || return 1
  local m dialog
  m=$(jp_mark)
  before=$(zj_windows_now)
  zj_click 2045 || return 1
  dialog=$(zj_await_window "$before") || { zj_fail "the reset dialog did not open"; return 1; }
  zj_click_rect "$dialog" "$(jp_dialog_part common cancel)" && jp_wait_gone "$dialog" 10 "reset dialog" || return 1
  sleep 1
  ! jp_sent_now "$m" "0F " || { zj_fail "a cancelled reset was sent"; return 1; }
  zj_log "cancelled: nothing sent"
  before=$(zj_windows_now)
  zj_click 2045 || return 1
  dialog=$(zj_await_window "$before") || { zj_fail "the reset dialog did not open again"; return 1; }
  before=$(zj_windows_now)
  zj_click_rect "$dialog" "$(jp_dialog_part common ok)" || return 1
  local progress
  progress=$(zj_await_window "$before" 5) || { zj_fail "no progress dialog after the reset"; return 1; }
  jp_wait_gone "$progress" 10 "progress dialog" || return 1
  jp_expect_sent "$m" "0F 00 .. 01 01 FF" "the factory reset" || return 1
  zj_until 5 test "$(zj_value default0.psf PollingRateValue)" = "$defaults" ||
    { zj_fail "the profile was not reset to $defaults"; return 1; }
  expect_value default0.psf ProfileName Mine || return 1
  zj_log "reset sent, the progress dialog came and went, the profile is back to its defaults as Mine"
  exit_and_check || return 1
  expect_value default0.psf ProfileName Mine && expect_value default0.psf PollingRateValue "$defaults"
}

# The DPI button on the mouse: the display in the work area's bottom-right
# corner, gone again after its countdown.
journey_osd() {
  zj_start osd
  zj_wait_main_window || { zj_fail "no main window"; return 1; }
  zj_until 10 settled
  zj_osd_after_dpi_button || return 1
  exit_and_check
}

# A DPI stage retyped in its value dialog (rounded up to the next step) and
# another recoloured in the palette.
journey_dpi_values() {
  zj_start dpi-values
  zj_wait_main_window || { zj_fail "no main window"; return 1; }
  zj_until 10 settled
  local index dpi device
  read -r index dpi device <<<"$(zj_probe dpi-step "$(zj_data)" 850)"
  [ "$dpi" = 900 ] || { zj_fail "850 DPI would come to $dpi, not 900"; return 1; }
  local m before dialog
  m=$(jp_mark)
  before=$(zj_windows_now)
  zj_click 3301 || return 1
  dialog=$(zj_await_window "$before") || { zj_fail "the value dialog did not open"; return 1; }
  zj_keys "$dialog" End $(printf 'BackSpace %.0s' {1..8})
  zj_type "$dialog" 850
  zj_click_rect "$dialog" "$(jp_dialog_part common ok)" && jp_wait_gone "$dialog" 10 "value dialog" || return 1
  jp_settle "the value dialog" || return 1
  jp_expect_sent "$m" "05 00 .. 01 12 .. .. .. .. $(printf '%02X %02X' $((device & 255)) $((device >> 8)))" \
    "stage 2 at 900 DPI" || return 1
  zj_log "850 typed into stage 2: 900 DPI sent"
  local palette colour
  m=$(jp_mark)
  before=$(zj_windows_now)
  zj_click 3272 || return 1
  palette=$(zj_await_window "$before") || { zj_fail "the palette did not open"; return 1; }
  colour=$(jp_pick_colour "$palette" field) || return 1
  zj_click_rect "$palette" "$(jp_dialog_part palette ok)" && jp_wait_gone "$palette" 10 "palette" || return 1
  jp_settle "the palette" || return 1
  jp_expect_sent "$m" "06 00 .. 01 18 (.. ){6}${colour:0:2} ${colour:2:2} ${colour:4:2}" "stage 3 in $colour" || return 1
  zj_log "stage 3 recoloured $colour"
  exit_and_check || return 1
  expect_value default0.psf XYSetting2Value "$(printf '%04X' "$index")" &&
    expect_value default0.psf DPILevelIndication2Valuer "$colour"
}

ZJ_SET_profiles=(profiles lighting factory_reset osd dpi_values)
