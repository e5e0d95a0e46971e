# Sourced by the journeys and the monkey run: start the real program under
# Wine on a private display with a private data folder, drive it with real X
# input at rectangles from the program's own layout code, play the virtual
# mouse's part through its command file, and look at the HID trace and the
# data folder afterwards.
#
# The caller sets: ROOT (the sources), DIST (the build's dist folder with
# Zeltra.exe), PROBE (zeltra-journey-probe, native or .exe), PREFIX (a Wine
# prefix of the journeys' own) and calls zj_setup once, zj_teardown at exit.
# With ZJ_DRIVER (the build's winehid folder) the program runs on the real
# HID backend instead, through Wine's HID stack and the virtual mouse's
# drivers (tests/winehid), which follow the same command file.

# shellcheck disable=SC1091
source "$ROOT/tools/wine-env.sh"
source "$ROOT/tools/xvfb.sh"

ZJ_WORK=""
ZJ_APP=""
ZJ_WINDOW=""
ZJ_SCALE=1.0
ZJ_SECTIONS=""  # --open list for the probe; empty: the window's start
ZJ_HEADERS=""   # section headers clicked since the start, comma separated
ZJ_DUMPS=0

zj_setup() {
  command -v xdotool >/dev/null || { echo "xdotool is missing"; return 1; }
  ZJ_TOP=$(mktemp -d "${TMPDIR:-/tmp}/zeltra-journeys.XXXXXX")
  # Always a display of our own: clicks must land on the program only.
  unset DISPLAY
  zeltra_start_display "${ZJ_SCREEN:-1920x1080}" || return 1
  if [ -n "${ZJ_DRIVER:-}" ]; then
    ZELTRA_WINE_MANAGED=N sh "$ROOT/tests/winehid/prefix.sh" start "$PREFIX" "$ZJ_DRIVER" ||
      { echo "cannot make $PREFIX with the virtual mouse's drivers"; return 1; }
  else
    ZELTRA_WINE_MANAGED=N "$ROOT/tools/wine-prefix.sh" start "$PREFIX" || { echo "cannot make $PREFIX"; return 1; }
  fi
}

# The virtual mouse's drivers: zj_vmouse COMMAND ARGS... (tests/winehid/zeltra_vmouse.cpp).
zj_vmouse() {
  WINEPREFIX=$PREFIX WINEDEBUG=-all "$ZELTRA_WINE" "$ZJ_DRIVER/zeltra-vmouse.exe" "$@" 2>&1 </dev/null | tr -d '\r'
  return "${PIPESTATUS[0]}"
}

# How the program is told which mouse to use: the virtual one unless the
# drivers play it.
zj_mouse_switch() { [ -n "${ZJ_DRIVER:-}" ] || echo --virtual-mouse; }

zj_teardown() {
  set +e
  zj_stop_program
  zeltra_stop_prefix "$PREFIX" >/dev/null 2>&1
  zeltra_stop_display
  [ -n "${ZJ_KEEP:-}" ] || rm -rf "$ZJ_TOP"
}

# A path as the Windows program sees it (drive Z: is the Unix root).
zj_win() { printf 'Z:%s' "$(echo "$1" | sed 's,/,\\,g')"; }

zj_is_exe() { case $PROBE in *.exe) return 0 ;; *) return 1 ;; esac; }

# The probe, native or under Wine; paths given as Unix paths.
zj_probe() {
  local cmd=$1
  shift
  if zj_is_exe; then
    local args=() a
    for a in "$@"; do
      case $a in /*) args+=("$(zj_win "$a")") ;; *) args+=("$a") ;; esac
    done
    WINEPREFIX=$PREFIX WINEDEBUG=-all "$ZELTRA_WINE" "$PROBE" "$cmd" "${args[@]}" 2>&1 </dev/null | tr -d '\r'
    return "${PIPESTATUS[0]}"
  fi
  "$PROBE" "$cmd" "$@"
}

zj_data() { find "$PREFIX/drive_c/users" -maxdepth 4 -type d -name VelmoraData20241016A 2>/dev/null | head -1; }

zj_log() { echo "  $*"; }
zj_fail() {
  echo "  FAIL: $*"
  [ -n "$ZJ_WORK" ] && [ -f "$ZJ_WORK/trace.txt" ] && echo "  (trace: $(wc -l <"$ZJ_WORK/trace.txt") lines)"
  return 1
}

# Polls a command until it succeeds: zj_until SECONDS COMMAND...
zj_until() {
  local limit=$1
  shift
  local end=$((SECONDS + limit))
  while ! "$@"; do
    [ $SECONDS -ge $end ] && return 1
    sleep 0.2
  done
  return 0
}

zj_running() { [ -n "$ZJ_APP" ] && kill -0 "$ZJ_APP" 2>/dev/null; }

# zj_start NAME [ARGS...]: a fresh work folder, an empty data folder, and the
# program on the virtual mouse with its trace and command file. Lines in
# $ZJ_WORK/control.txt written before (ZJ_PRESET) are run before its first scan.
zj_start() {
  local name=$1
  shift
  ZJ_WORK="$ZJ_TOP/$name"
  mkdir -p "$ZJ_WORK"
  local data
  data=$(zj_data)
  [ -n "${ZJ_KEEP_DATA:-}" ] || { [ -n "$data" ] && rm -rf "$data"; data=""; }
  # The mouse holds what the stored current profile encodes, as after an
  # earlier run of the program: that is what the program takes it to hold.
  mkdir -p "$ZJ_WORK/empty"
  zj_probe encode "${data:-$ZJ_WORK/empty}" >"$ZJ_WORK/initial.txt" || { zj_fail "cannot encode the profile"; return 1; }
  echo "load $(zj_win "$ZJ_WORK/initial.txt")" >"$ZJ_WORK/control.txt"
  [ -n "${ZJ_PRESET:-}" ] && printf '%s\n' "$ZJ_PRESET" >>"$ZJ_WORK/control.txt"
  ZJ_SECTIONS=""
  ZJ_HEADERS=""
  # ZJ_PLAIN=1: the program as a user starts it, without the test's command
  # file and trace (whose polling and writes would count in the figures).
  local extra=(--hid-log "$(zj_win "$ZJ_WORK/trace.txt")" --virtual-mouse-control "$(zj_win "$ZJ_WORK/control.txt")")
  [ -n "${ZJ_PLAIN:-}" ] && extra=()
  if [ -n "${ZJ_DRIVER:-}" ]; then
    # The drivers' mouse starts over with the command file; the program
    # starts once the system shows the links it leaves plugged.
    extra=(--hid-log "$(zj_win "$ZJ_WORK/trace.txt")")
    zj_vmouse follow "$(zj_win "$ZJ_WORK/control.txt")" >/dev/null || { zj_fail "the drivers' mouse did not start over"; return 1; }
    # shellcheck disable=SC2086
    zj_vmouse wait ${ZJ_LINKS:-cable} >/dev/null || { zj_fail "the system does not show: ${ZJ_LINKS:-cable}"; return 1; }
  fi
  local switch
  switch=$(zj_mouse_switch)
  (cd "$DIST" && WINEPREFIX="$PREFIX" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
    exec "$ZELTRA_WINE" Zeltra.exe $switch "${extra[@]}" "$@") \
    >"$ZJ_WORK/program.txt" 2>&1 </dev/null &
  ZJ_APP=$!
  ZJ_WINDOW=""
}

# A second copy, started as the user starts one; waits for it to end.
zj_start_second_copy() {
  (cd "$DIST" && WINEPREFIX="$PREFIX" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
    timeout 60 "$ZELTRA_WINE" Zeltra.exe $(zj_mouse_switch)) >/dev/null 2>&1 </dev/null
}

# The main window: the program's own X window named "Zeltra", 1000 pixels wide or more.
zj_find_main_window() {
  local id w
  ZJ_WINDOW=""
  for id in $(xdotool search --onlyvisible --pid "$ZJ_APP" --name '^Zeltra$' 2>/dev/null); do
    w=$(xdotool getwindowgeometry "$id" 2>/dev/null | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
    [ "${w:-0}" -ge 1000 ] && ZJ_WINDOW=$id
  done
  [ -n "$ZJ_WINDOW" ]
}
zj_main_window_shown() { zj_find_main_window; }
zj_main_window_hidden() { ! zj_find_main_window; }

zj_wait_main_window() {
  zj_until "${1:-40}" zj_main_window_shown || return 1
  sleep 0.5  # let it paint
}

# Every visible X window of the program (main window, dialogs, popups and
# menus), oldest first. Menus and popups carry no process id; they share the
# X client's resource base with the windows that do.
zj_program_windows() {
  local any
  any=$(xdotool search --all --pid "$ZJ_APP" --name '.*' 2>/dev/null | head -1)
  [ -n "$any" ] || return 0
  local base=$((any & ~0x1FFFFF)) id
  for id in $(xdotool search --onlyvisible --name '.*' 2>/dev/null); do
    [ $((id & ~0x1FFFFF)) -eq $base ] && echo "$id"
  done
}
# Windows of the program other than the main window.
zj_other_windows() {
  local id
  for id in $(zj_program_windows); do [ "$id" != "$ZJ_WINDOW" ] && echo "$id"; done
}

# The window's client origin on the screen.
zj_origin() {
  xdotool getwindowgeometry "$ZJ_WINDOW" | sed -n 's/.*Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p'
}

# zj_rect ID [INSTANCE]: "left top right bottom drawn" in client pixels.
zj_rect() {
  local open=()
  [ -n "$ZJ_SECTIONS" ] && open=(--open "$ZJ_SECTIONS")
  [ -n "$ZJ_HEADERS" ] && open+=(--headers "$ZJ_HEADERS")
  local data
  data=$(zj_data)
  local from=()
  [ -n "$data" ] && from=(--data "$data")
  zj_probe rect "$@" --scale "$ZJ_SCALE" "${open[@]}" "${from[@]}"
}

# zj_click_at "left top right bottom drawn": a real click in the middle of a
# rectangle of the main window's client area.
zj_click_at() {
  local ox oy l t rr b drawn
  read -r l t rr b drawn <<<"$1"
  [ "$drawn" = 1 ] || { zj_fail "not drawn: $1"; return 1; }
  read -r ox oy <<<"$(zj_origin)"
  local x=$((ox + (l + rr) / 2)) y=$((oy + (t + b) / 2))
  # Towards the control as a hand moves, so that it sees the pointer arrive
  # even when the pointer was already there.
  xdotool mousemove $((x - 4)) $((y - 3)) sleep 0.1 mousemove "$x" "$y" sleep 0.15 click 1
  sleep 0.3
}

# zj_click ID [INSTANCE]: a real click in the middle of the control.
zj_click() {
  local r
  r=$(zj_rect "$@") || { zj_fail "no control $*"; return 1; }
  zj_click_at "$r" || { zj_fail "control $* is not drawn"; return 1; }
}

# zj_pick_profile ROW: opens the profile picker and clicks row ROW (1..5: the
# shown profiles in list order).
zj_pick_profile() {
  zj_click 3502 || return 1
  sleep 0.5
  local data r
  data=$(zj_data)
  r=$(zj_probe picker-row "$1" --scale "$ZJ_SCALE" ${data:+--data "$data"}) || { zj_fail "no picker row $1"; return 1; }
  zj_click_at "$r"
}

# zj_header ID: a click on a section header (the probe follows the sections).
zj_header() {
  zj_click "$1" || return 1
  ZJ_HEADERS="${ZJ_HEADERS:+$ZJ_HEADERS,}$1"
}

# zj_mouse LINE: the virtual mouse does something (see device/virtual_mouse_control.h).
zj_mouse() { echo "$*" >>"$ZJ_WORK/control.txt"; }

# zj_osd_after_dpi_button: the DPI button on the mouse; the on-screen display
# must show where the layout puts it (the work area's bottom-right corner)
# and go again after its countdown.
zj_osd_after_dpi_button() {
  local sw sh l t rr b before osd start
  read -r sw sh <<<"$(xdotool getdisplaygeometry)"
  read -r l t rr b _ <<<"$(zj_probe osd "$sw" "$sh" --scale "$ZJ_SCALE")"
  before=$(zj_windows_now)
  zj_mouse "dpi-button"
  osd=$(zj_await_window "$before") || { zj_fail "no display after the DPI button"; return 1; }
  start=$SECONDS
  [ "$(zj_geometry "$osd")" = "$l $t $((rr - l)) $((b - t))" ] ||
    { zj_fail "the display is at $(zj_geometry "$osd"), not $l $t $((rr - l)) $((b - t))"; return 1; }
  zj_until 10 zj_window_gone "$osd" || { zj_fail "the display stayed"; return 1; }
  zj_log "the display showed at $l,$t ($((rr - l)) x $((b - t))) and went after about $((SECONDS - start)) s"
}

# zj_dump: the mouse's state now, into $ZJ_WORK/state-N.txt; prints the path.
zj_dump() {
  ZJ_DUMPS=$((ZJ_DUMPS + 1))
  local file="$ZJ_WORK/state-$ZJ_DUMPS.txt"
  zj_mouse "dump $(zj_win "$file")"
  zj_until 10 test -f "$file" || { zj_fail "the program did not dump the mouse's state"; return 1; }
  echo "$file"
}

# Lines of the trace that match an extended regular expression.
zj_trace() { grep -E "$1" "$ZJ_WORK/trace.txt" 2>/dev/null; }
zj_trace_count() { zj_trace "$1" | wc -l; }

# The tray icon: on a display without a tray of its own Wine shows the icons
# in its "Wine System Tray" window, a caption with one row of small icons
# below; ours is the only one, the first of the row.
zj_tray_icon() {
  local tray geometry
  tray=$(xdotool search --onlyvisible --name '^Wine System Tray$' 2>/dev/null | head -1)
  [ -n "$tray" ] || return 1
  geometry=$(xdotool getwindowgeometry "$tray" 2>/dev/null)
  read -r ox oy <<<"$(sed -n 's/.*Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p' <<<"$geometry")"
  read -r _ h <<<"$(sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1 \2/p' <<<"$geometry")"
  echo "$((ox + 12)) $((oy + h - 13))"
}

# zj_tray_menu show|exit: right-click the tray icon and click the menu's
# item: show is its first, exit its last (separators between).
# zj_tray_menu row N ROW...: a click on row N (from 0) of a menu whose rows
# are ROW... (i: an item, s: a separator, half an item's height, as Wine
# draws them). The first and last items' centres are where show and exit
# are clicked; the rows between share that span. (Keys do not reach the menu
# here: the pointer's window takes them, the tray's own.)
zj_tray_menu() {
  local at before menu
  at=$(zj_tray_icon) || { zj_fail "no tray icon"; return 1; }
  read -r x y <<<"$at"
  before=" $(zj_program_windows | tr '\n' ' ') "
  xdotool mousemove "$x" "$y" sleep 0.3 mousedown 3 sleep 0.15 mouseup 3
  newest() {
    local id
    for id in $(zj_program_windows); do
      case $before in *" $id "*) ;; *) menu=$id ;; esac
    done
    [ -n "${menu:-}" ]
  }
  zj_until 5 newest || { zj_fail "the tray menu did not open"; return 1; }
  local geometry mx my mw mh
  geometry=$(xdotool getwindowgeometry "$menu")
  read -r mx my <<<"$(sed -n 's/.*Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p' <<<"$geometry")"
  read -r mw mh <<<"$(sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1 \2/p' <<<"$geometry")"
  local item=$((my + 12))
  [ "$1" = exit ] && item=$((my + mh - 12))
  if [ "$1" = row ]; then
    item=$(echo "${*:3}" | awk -v n="$2" -v top=$((my + 12)) -v span=$((mh - 24)) '{
      for (r = 1; r <= NF; ++r) u[r] = $r == "s" ? 0.5 : 1
      total = 0; for (r = 1; r <= NF; ++r) total += u[r]
      h = span / (total - u[1] / 2 - u[NF] / 2)
      before = 0; for (r = 1; r <= n; ++r) before += u[r]
      printf "%d\n", top + h * (before + u[n + 1] / 2 - u[1] / 2) + 0.5 }')
  fi
  xdotool mousemove $((mx + mw / 2)) "$item" sleep 0.3 click 1
  sleep 0.5
}

zj_tray_double_click() {
  local at
  at=$(zj_tray_icon) || { zj_fail "no tray icon"; return 1; }
  read -r x y <<<"$at"
  xdotool mousemove "$x" "$y" sleep 0.2 click --repeat 2 --delay 80 1
}

# Waits for the program to end; its exit status in ZJ_STATUS.
zj_wait_end() {
  local limit=${1:-20}
  zj_until "$limit" bash -c "! kill -0 $ZJ_APP 2>/dev/null" || return 1
  wait "$ZJ_APP" 2>/dev/null
  ZJ_STATUS=$?
  ZJ_APP=""
}

zj_stop_program() {
  if zj_running; then
    zeltra_stop_prefix "$PREFIX" >/dev/null 2>&1
    wait "$ZJ_APP" 2>/dev/null || true  # stopped, not failed
  fi
  ZJ_APP=""
  ZJ_WINDOW=""
}

# The data folder's files load as they are, and the mouse (dumped in $1)
# holds what the current profile encodes.
zj_check_data() {
  local data
  data=$(zj_data)
  [ -n "$data" ] || { zj_fail "no data folder"; return 1; }
  local out
  out=$(zj_probe check "$data") || { zj_fail "the data folder does not load as it is: $out"; return 1; }
  if [ -n "${1:-}" ]; then
    out=$(zj_probe expect "$data" "$1") || { zj_fail "$out"; return 1; }
  fi
}

# A value of a UTF-16 file of the data folder: zj_value FILE KEY
zj_value() {
  local data
  data=$(zj_data)
  iconv -f UTF-16 -t UTF-8 "$data/config/$1" 2>/dev/null | tr -d '\r' | sed -n "s/^[[:space:]]*$2=//p" | head -1
}

# --- menus, dialogs and the macro library --------------------------------------

# The probe's layout commands at the journey's scale, with the data folder's
# language: zj_ui COMMAND ARGS...
# The answers are kept for the run (they follow from the arguments alone):
# the probe under Wine costs a start of its own each time.
zj_ui() {
  local cache key
  cache="$ZJ_TOP/probe-answers"
  key=$(printf '%s\n' "$ZJ_SCALE" "$@" | md5sum | cut -c1-32)
  if [ -f "$cache/$key" ]; then
    cat "$cache/$key"
    return 0
  fi
  local data out
  data=$(zj_data)
  out=$(zj_probe "$@" --scale "$ZJ_SCALE" ${data:+--data "$data"}) || return 1
  mkdir -p "$cache" && printf '%s\n' "$out" >"$cache/$key"
  printf '%s\n' "$out"
}

# "x y width height" of an X window.
zj_geometry() {
  local g
  g=$(xdotool getwindowgeometry "$1" 2>/dev/null) || return 1
  printf '%s %s\n' "$(sed -n 's/.*Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p' <<<"$g")" \
    "$(sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1 \2/p' <<<"$g")"
}

# zj_mark: remembers the program's windows; zj_new_window then finds one
# that came since.
zj_mark() { ZJ_BEFORE=" $(zj_program_windows | tr '\n' ' ') "; }
# zj_new_window [W H | at X Y]: the newest window since zj_mark, of that
# size or with its corner at that screen point; prints it.
zj_new_window() {
  local id found="" x y w h
  for id in $(zj_program_windows); do
    case $ZJ_BEFORE in *" $id "*) continue ;; esac
    read -r x y w h <<<"$(zj_geometry "$id")"
    if [ "${1:-}" = at ]; then
      [ "$x" = "$2" ] && [ "$y" = "$3" ] && found=$id
    elif [ -n "${1:-}" ]; then
      [ "$w" = "$1" ] && [ "$h" = "$2" ] && found=$id
    else
      found=$id
    fi
  done
  [ -n "$found" ] && echo "$found"
}
# What the windows since zj_mark are, for a failure's message.
zj_new_windows_text() {
  local id out=""
  for id in $(zj_program_windows); do
    case $ZJ_BEFORE in *" $id "*) continue ;; esac
    out+="[$(zj_geometry "$id" | tr ' ' ',')] "
  done
  echo "${out:-none}"
}

# zj_wait_dialog NAME: waits for a dialog (a name of the probe's dialog-size)
# opened since zj_mark; it becomes ZJ_DIALOG (ZJ_DIALOG_NAME its name).
zj_wait_dialog() {
  local size
  size=$(zj_ui dialog-size "$1") || { zj_fail "no dialog $1"; return 1; }
  # shellcheck disable=SC2086
  zj_until 10 zj_new_window $size >/dev/null || { zj_fail "the $1 dialog did not open: $(zj_new_windows_text)"; return 1; }
  # shellcheck disable=SC2086
  ZJ_DIALOG=$(zj_new_window $size)
  ZJ_DIALOG_NAME=$1
  sleep 0.3  # let it paint and take the focus
}
# Waits until ZJ_DIALOG is gone.
zj_dialog_closed() {
  closed() { ! zj_program_windows | grep -qx "$ZJ_DIALOG"; }
  zj_until 10 closed || { zj_fail "the $ZJ_DIALOG_NAME dialog did not close"; return 1; }
}

# zj_click_in WINDOW "left top right bottom drawn" [BUTTON [COUNT]]: a real
# click in the middle of a rectangle of a window's client area.
zj_click_in() {
  local l t rr b wx wy
  read -r l t rr b _ <<<"$2"
  read -r wx wy _ <<<"$(zj_geometry "$1")" || return 1
  zj_click_screen $((wx + (l + rr) / 2)) $((wy + (t + b) / 2)) "${3:-1}" "${4:-1}"
}
zj_click_screen() {
  local x=$1 y=$2
  xdotool mousemove $((x - 4)) $((y - 3)) sleep 0.1 mousemove "$x" "$y" sleep 0.15 click --repeat "${4:-1}" --delay 80 "${3:-1}"
  sleep 0.3
}
# zj_dialog_click ID [INSTANCE]: a control of the open dialog.
zj_dialog_click() {
  local r
  r=$(zj_ui dialog-rect "$ZJ_DIALOG_NAME" "$@") || { zj_fail "the $ZJ_DIALOG_NAME dialog has no control $*"; return 1; }
  zj_click_in "$ZJ_DIALOG" "$r"
}
# zj_list_click LIST ROW [BUTTON [COUNT]]: a shown row of a list of the open dialog.
zj_list_click() {
  local r
  r=$(zj_ui list-row "$ZJ_DIALOG_NAME" "$1" "$2") || { zj_fail "no row $2 in list $1"; return 1; }
  zj_click_in "$ZJ_DIALOG" "$r" "${3:-1}" "${4:-1}"
}
# zj_rub_out N: the caret to the end of the focused text, N characters rubbed out.
zj_rub_out() {
  local keys=() i
  for ((i = 0; i < $1; i++)); do keys+=(BackSpace); done
  xdotool key --delay 20 End "${keys[@]}"
}
# zj_type_into ID TEXT: a click into an edit box of the open dialog, its
# text rubbed out, TEXT typed.
zj_type_into() {
  zj_dialog_click "$1" || return 1
  zj_rub_out 12
  xdotool type --delay 60 "$2"
  sleep 0.2
}

# The items of a macro library file (the data folder's by default), one a
# line (the probe's macros).
zj_macros() {
  local file=${1:-}
  [ -n "$file" ] || file="$(zj_data)/config/MacroLibraryFile.mlf"
  zj_probe macros "$file"
}

# --- dialogs, popups and the keyboard -------------------------------------------

# The program's windows now, as " id id ... " (for zj_await_window).
zj_windows_now() { echo " $(zj_program_windows | tr '\n' ' ') "; }

# zj_await_window "BEFORE" [SECONDS]: waits for a window of the program that
# was not among BEFORE (zj_windows_now) and prints the newest such.
zj_await_window() {
  local before=$1 limit=${2:-10} found=""
  zj_newer_window_seen() {
    local id
    found=""
    for id in $(zj_program_windows); do
      case $before in *" $id "*) ;; *) found=$id ;; esac
    done
    [ -n "$found" ]
  }
  zj_until "$limit" zj_newer_window_seen || return 1
  sleep 0.3  # let it paint
  echo "$found"
}

# The window is no longer shown (closed or hidden).
zj_window_gone() { ! zj_program_windows | grep -qx "$1"; }

# zj_click_rect WINDOW "left top right bottom drawn" [BUTTON]: a real click in
# the middle of a rectangle of that window's client area.
zj_click_rect() {
  local l t rr b drawn wx wy _w _h
  read -r l t rr b drawn <<<"$2"
  [ "$drawn" = 1 ] || { zj_fail "not drawn: $2"; return 1; }
  read -r wx wy _w _h <<<"$(zj_geometry "$1")" || { zj_fail "no window $1"; return 1; }
  local x=$((wx + (l + rr) / 2)) y=$((wy + (t + b) / 2))
  xdotool mousemove $((x - 4)) $((y - 3)) sleep 0.1 mousemove "$x" "$y" sleep 0.15 click "${3:-1}"
  sleep 0.3
}

# zj_keys WINDOW KEY...: the keyboard focus to the window, then the keys
# (xdotool key names: Return, BackSpace, End ...).
zj_keys() {
  local window=$1
  shift
  xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
  sleep 0.2
  xdotool key --delay 60 "$@"
  sleep 0.3
}

# zj_type WINDOW TEXT: the focus to the window, then the text typed.
zj_type() {
  xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
  sleep 0.2
  xdotool type --delay 60 "$2"
  sleep 0.3
}

# zj_item FILE KEY N [SEPARATORS]: entry N (0 the first) of a saved list value
# (entries split at any of SEPARATORS, "|;" unless told).
zj_item() {
  zj_value "$1" "$2" | tr "${4:-|;}" '\n\n' | sed -n "$(($3 + 1))p"
}

# zj_layout COMMAND ARGS...: a layout question of the probe (rect,
# slider-at, picker-row) about the main window as it is now: its sections,
# the headers clicked since the start, the data folder's current profile.
zj_layout() {
  local command=$1
  shift
  local open=() data
  [ -n "$ZJ_SECTIONS" ] && open=(--open "$ZJ_SECTIONS")
  [ -n "$ZJ_HEADERS" ] && open+=(--headers "$ZJ_HEADERS")
  data=$(zj_data)
  zj_probe "$command" "$@" --scale "$ZJ_SCALE" "${open[@]}" ${data:+--data "$data"}
}

# The virtual mouse's factory configuration becomes what the program's
# defaults encode: the program takes a reset mouse to hold them and sends
# nothing after a reset. (An empty folder: nothing but defaults.)
zj_factory_is_defaults() {
  zj_probe encode "$ZJ_WORK/empty" >"$ZJ_WORK/factory.txt" || { zj_fail "cannot encode the defaults"; return 1; }
  zj_mouse "factory $(zj_win "$ZJ_WORK/factory.txt")"
}
