#!/usr/bin/env bash
# planted-dll.sh PROGRAMS PLANTED_DLL PREFIX: the programs never load a DLL
# that a download left beside them. PROGRAMS is a 64-bit package (its zip) or
# a folder with Zeltra.exe and zeltra-cli.exe (a build's dist); PLANTED_DLL is
# tests/package/planted_dll.cpp built, which writes "<its path>.loaded" when
# it is loaded. In a copy of the programs' folder, it is planted as hid.dll,
# gdiplus.dll and comctl32.dll, the system DLLs the programs use that are
# not known DLLs, and Wine is told to prefer a native DLL of those names
# (WINEDLLOVERRIDES=...=n,b), which finds the planted one wherever the
# program lets the search reach its own folder. Then, in the Wine prefix
# PREFIX (made once and kept):
#  - zeltra-cli.exe status (the real HID backend) and Zeltra.exe (the real
#    backend: it scans at start and waits in standby) load hid.dll and
#    gdiplus.dll, none from the programs' folder, and no marker appears
#    (comctl32.dll stays planted: the window loads it only for a dialog with
#    tips, and nothing may find the planted one);
#  - without hid.dll and gdiplus.dll (WINEDLLOVERRIDES=...=d) zeltra-cli.exe
#    says there is no mouse (exit status 3) and Zeltra.exe on the virtual
#    mouse still shows its main window.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source_=$(realpath "$1")
planted=$(realpath "$2")
prefix=$(realpath -m "$3")
source "$root/tests/package/wine-programs.sh" planted

dir=$work/programs
if [ -d "$source_" ]; then
  mkdir "$dir"
  cp "$source_/Zeltra.exe" "$source_/zeltra-cli.exe" "$dir/"
  for sub in skins lang; do [ -d "$source_/$sub" ] && cp -R "$source_/$sub" "$dir/"; done
else
  mkdir "$work/unpacked"
  (cd "$work/unpacked" && cmake -E tar xf "$source_")
  mv "$work"/unpacked/* "$dir"
fi
[ -f "$dir/Zeltra.exe" ] && [ -f "$dir/zeltra-cli.exe" ] || fail "no Zeltra.exe and zeltra-cli.exe in $1"
names="hid gdiplus comctl32"
for name in $names; do cp "$planted" "$dir/$name.dll"; done

zeltra_start_display 1920x1080
"$root/tools/wine-prefix.sh" start "$prefix" || fail "cannot make the Wine prefix $prefix"
data_folders() { find "$prefix/drive_c/users" -maxdepth 4 -type d -name VelmoraData20241016A; }
data_folders | xargs -r rm -rf

prefer_native="$(echo $names | tr ' ' ','),=n,b;mscoree,mshtml="
without="hid,gdiplus=d;mscoree,mshtml="
# Runs a program of the folder from the folder, as a user does; its standard
# output goes to $work/NAME.out, its standard error with Wine's trace of every
# DLL it loads to $work/NAME.loads.
run() {
  local name=$1 overrides=$2
  shift 2
  (cd "$dir" && WINEPREFIX="$prefix" WINEDEBUG=-all,+loaddll WINEDLLOVERRIDES="$overrides" \
    exec "$ZELTRA_WINE" "$@") >"$work/$name.out" 2>"$work/$name.loads" </dev/null
}
# What a run wrote to standard error, without Wine's trace.
errors() { grep -v ':trace:' "$work/$1.loads" || true; }
# The DLLs a run loaded, as Windows paths, one a line.
loaded() { sed -n 's/.*Loaded L"\([^"]*\)".*/\1/p' "$work/$1.loads" | sed 's/\\\\/\\/g'; }
# Fails unless run $1 loaded each DLL named after it, and nothing from the programs' folder.
check_loads() {
  local run=$1 dll
  shift
  for dll in "$@"; do
    loaded "$run" | grep -qi "\\\\$dll\$" ||
      fail "$run never loaded $dll, so this run shows nothing: $(loaded "$run" | tr '\n' ' ')"
  done
  local windows_dir
  windows_dir=$(echo "Z:$dir" | tr '/' '\\')
  local from_folder
  from_folder=$(loaded "$run" | grep -iF "$windows_dir\\" | grep -viE '\\(Zeltra|zeltra-cli)\.exe$' || true)
  [ -z "$from_folder" ] || fail "$run loaded from the programs' folder: $from_folder"
  echo "$run: loaded $* from the system: $(loaded "$run" | grep -iE "\\\\($(echo "$@" | tr ' ' '|'))\$" | tr '\n' ' ')"
}
no_marker() {
  local markers
  markers=$(cd "$dir" && ls -- *.loaded 2>/dev/null || true)
  local m
  for m in $markers; do
    fail "$1: the planted DLL was loaded: $m, by $(iconv -f UTF-16LE -t UTF-8 "$dir/$m")"
  done
}

# zeltra-cli on the real backend: no mouse here, but it asks hid.dll for the HID devices.
status=0
run cli "$prefer_native" zeltra-cli.exe status || status=$?
[ "$status" -eq 3 ] || fail "zeltra-cli.exe status: exit status $status, not 3 (no mouse): $(errors cli)"
no_marker zeltra-cli.exe
check_loads cli hid.dll

# The window on the real backend: it starts GDI+ and scans for the mouse at once.
run window "$prefer_native" Zeltra.exe &
app=$!
for _ in $(seq 150); do
  loaded window | grep -qi '\\hid\.dll$' && loaded window | grep -qi '\\gdiplus\.dll$' && break
  kill -0 "$app" 2>/dev/null || fail "Zeltra.exe ended at start: $(errors window | tail -5)"
  sleep 0.2
done
sleep 1
kill -0 "$app" 2>/dev/null || fail "Zeltra.exe ended at start: $(errors window | tail -5)"
no_marker Zeltra.exe
check_loads window hid.dll gdiplus.dll
zeltra_stop_prefix "$prefix" || fail "stopping the Wine prefix left processes running"
wait "$app" 2>/dev/null || true
app=""

# Without the DLLs: no mouse for the command line, a window without pictures.
status=0
run cli-without "$without" zeltra-cli.exe status || status=$?
[ "$status" -eq 3 ] || fail "zeltra-cli.exe status without hid.dll: exit status $status, not 3: $(errors cli-without)"
echo "without hid.dll: zeltra-cli.exe status ends with exit status 3: $(errors cli-without)"
run window-without "$without" Zeltra.exe --virtual-mouse &
app=$!
window_errors() { errors window-without | tail -5; }
main_window "$app" "Zeltra.exe without hid.dll and gdiplus.dll ended" window_errors
echo "without hid.dll and gdiplus.dll: Zeltra.exe shows its main window (X window $window)"
no_marker "Zeltra.exe without the DLLs"
zeltra_stop_prefix "$prefix" || fail "stopping the Wine prefix left processes running"
wait "$app" 2>/dev/null || true
app=""
echo "$1: no planted DLL loaded"
