#!/bin/sh
# The window and zeltra-cli.exe under Wine: while Zeltra.exe runs (with its
# HID trace) it owns the data folder, so the command line refuses to write
# and still reads; once the window has gone (killed: the system drops its
# lock), the command line writes again.
# wine_window_lock_test.sh WINE_RUN ZELTRA_EXE ZELTRA_CLI_EXE
set -u
run=$1
window=$2
cli=$3
dir=$(mktemp -d "${TMPDIR:-/tmp}/zeltra-lock-wine.XXXXXX") || exit 1
pid=""
cleanup() {
  [ -n "$pid" ] && { /usr/lib/wine/wine64 taskkill /F /IM Zeltra.exe >/dev/null 2>&1; wait "$pid"; }
  rm -rf "$dir"
}
trap cleanup EXIT
fail() { echo "FAILED: $*"; exit 1; }

lock=$(find "$WINEPREFIX/drive_c/users" -maxdepth 4 -path '*AppData/Roaming' 2>/dev/null | head -n1)/VelmoraData20241016A/zeltra.lock
rm -f "$lock"  # it keeps the name of its last holder
WINEDEBUG=-all /usr/lib/wine/wine64 "$window" --virtual-mouse --hid-log "Z:$dir/trace.log" >/dev/null 2>&1 &
pid=$!
i=0
until grep -q '^Zeltra ' "$lock" 2>/dev/null; do
  i=$((i + 1))
  [ "$i" -gt 200 ] && fail "the window never took $lock"
  sleep 0.1
done

out=$("$run" "$cli" --virtual-mouse switch 2)
rc=$?
printf "%s\n" "$out"
[ "$rc" = 4 ] || fail "switch while the window runs exited $rc"
printf "%s\n" "$out" | grep -q "the Zeltra window is running" || fail "no reason given"
out=$("$run" "$cli" profiles) || fail "profiles while the window runs exited $?: $out"
printf "%s\n" "$out" | grep -q "^\* [1-5]  " || fail "profiles: $out"

# The lock is taken before the window is built: on a busy machine the
# commands above can be done before it has asked the mouse anything.
i=0
until grep -q ' cable set-feature ok 0C 01 20 ' "$dir/trace.log" 2>/dev/null; do
  i=$((i + 1))
  [ "$i" -gt 300 ] && fail "the window's trace: $(cat "$dir/trace.log")"
  sleep 0.1
done
/usr/lib/wine/wine64 taskkill /F /IM Zeltra.exe >/dev/null 2>&1
wait "$pid"
pid=""
out=$("$run" "$cli" --virtual-mouse switch 1) || fail "switch after the window exited $?: $out"
printf "%s\n" "$out"
