#!/bin/sh
# zeltra-cli.exe under Wine on the virtual mouse: apply of a default profile
# into a fresh data folder with its HID trace, status, then a usage error.
# wine_cli_test.sh WINE_RUN ZELTRA_CLI_EXE PROFILE_FILE
set -u
run=$1
exe=$2
profile=$3
dir=$(mktemp -d "${TMPDIR:-/tmp}/zeltra-cli-wine.XXXXXX") || exit 1
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAILED: $*"; exit 1; }

out=$("$run" "$exe" --virtual-mouse --data "Z:$dir/data" --hid-log "Z:$dir/trace.log" apply "Z:$profile") ||
  fail "apply exited $?: $out"
printf "%s\n" "$out"
# A fresh data folder knows nothing of the mouse: every group goes out.
printf "%s\n" "$out" | grep -q "14 reports sent" || fail "apply did not send the whole profile"
[ "$(grep -c ' cable set-feature ok 0C 01 ' "$dir/trace.log")" = 15 ] || fail "trace: $(cat "$dir/trace.log")"
[ -f "$dir/data/config/default0.psf" ] || fail "no profile file written"

out=$("$run" "$exe" --virtual-mouse --data "Z:$dir/data" status) || fail "status exited $?: $out"
printf "%s\n" "$out"
printf "%s\n" "$out" | grep -q "^Online: yes" || fail "status does not say online"
printf "%s\n" "$out" | grep -q "^Sensor: 0x3311 (number 17)" || fail "status does not name the sensor"

"$run" "$exe" --data "Z:$dir/data" switch 9 >"$dir/usage.txt" 2>&1
rc=$?
[ "$rc" = 2 ] || fail "switch 9 exited $rc: $(cat "$dir/usage.txt")"
