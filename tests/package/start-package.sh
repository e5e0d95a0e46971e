#!/usr/bin/env bash
# start-package.sh ZIP PREFIX: starts the 64-bit package (tools/package.sh
# --arch win64) the way a user does: unpacked into a folder of its own, its
# Zeltra.exe started from there under Wine (in the Wine prefix PREFIX, made
# once and kept), on the virtual mouse, with an empty data folder. Passes when
#  - the main window comes up: an X window "Zeltra" at least 1000 pixels wide;
#  - the data folder's config got the package's language files;
#  - every skin the program opened was one of the unpacked package;
#  - the package's zeltra-cli.exe, started beside it, reads the mouse's status;
#  - stopping the prefix's server ends the program and leaves nothing running.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
zip=$(realpath "$1")
prefix=$(realpath -m "$2")
source "$root/tests/package/wine-programs.sh" start

mkdir "$work/unpacked"
(cd "$work/unpacked" && cmake -E tar xf "$zip")
pkg=$(echo "$work"/unpacked/*)
[ -f "$pkg/Zeltra.exe" ] || fail "no Zeltra.exe in the package's folder"

zeltra_start_display 1920x1080
"$root/tools/wine-prefix.sh" start "$prefix" || fail "cannot make the Wine prefix $prefix"
data_folders() { find "$prefix/drive_c/users" -maxdepth 4 -type d -name VelmoraData20241016A; }
data_folders | xargs -r rm -rf

# Wine's "file" channel names every file the program opens.
(cd "$pkg" && WINEPREFIX="$prefix" WINEDEBUG=-all,+file WINEDLLOVERRIDES="mscoree,mshtml=" \
  exec "$ZELTRA_WINE" Zeltra.exe --virtual-mouse) >"$work/program.txt" 2>"$work/files.txt" </dev/null &
app=$!

program_output() { tail -5 "$work/program.txt"; }
main_window "$app" "the program ended before its main window appeared" program_output
echo "main window: X window $window"

data=$(data_folders)
[ "$(echo "$data" | grep -c .)" -eq 1 ] || fail "expected one data folder, found: ${data:-none}"
for lang in "$root"/res/lang/*; do
  name=${lang##*/}
  cmp -s "$pkg/lang/$name" "$data/config/$name" || fail "config/$name is not the package's lang/$name"
done
echo "language files installed from the package into ${data#"$prefix"/}/config"

# Opened skins as Unix paths: L"Z:\\tmp\\...\\skins\\exit_nr.png" -> /tmp/.../skins/exit_nr.png
opened_skins() {
  grep -o 'CreateFileW L"[^"]*"' "$work/files.txt" | sed -e 's/^CreateFileW L"//' -e 's/"$//' |
    grep -i '\\\\skins\\\\' | sed -e 's/^[Zz]://' -e 's/\\\\/\//g' | LC_ALL=C sort -u || true
}
# Skins are read when first drawn, which may follow the window's mapping.
skins=""
for _ in $(seq 100); do
  skins=$(opened_skins)
  [ -n "$skins" ] && break
  sleep 0.1
done
[ -n "$skins" ] || fail "the program opened no skin file within 10 s (or Wine traced no file opens)"
while IFS= read -r skin; do
  case $skin in
    "$pkg"/skins/*) [ -f "$skin" ] || fail "the program asked for $skin, which the package lacks" ;;
    *) fail "the program opened a skin outside the unpacked package: $skin" ;;
  esac
done <<<"$skins"
echo "$(echo "$skins" | wc -l) skin files opened, all of the package"

(cd "$pkg" && WINEPREFIX="$prefix" WINEDEBUG=-all exec "$ZELTRA_WINE" zeltra-cli.exe --virtual-mouse --json status) \
  >"$work/cli.txt" 2>&1 </dev/null || fail "zeltra-cli.exe status: $(cat "$work/cli.txt")"
grep -q '"online": true' "$work/cli.txt" || fail "zeltra-cli.exe status did not report the mouse online: $(cat "$work/cli.txt")"
echo "zeltra-cli.exe status: the mouse is online"

kill -0 "$app" 2>/dev/null || fail "the program ended while it was checked"
zeltra_stop_prefix "$prefix" || fail "stopping the Wine prefix left processes running"
wait "$app" 2>/dev/null || true
app=""
echo "$zip: started from its unpacked folder and stopped"
