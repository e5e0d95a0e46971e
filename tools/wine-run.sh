#!/bin/sh
# Runs a Windows program of a cross build under 64-bit Wine, quietly.
# WINEPREFIX comes from the caller (CTest sets the build tree's prefix).
#
# Wine's own helper processes (services.exe, explorer.exe ...) outlive the
# program while the wineserver runs and inherit its output handles; the
# program's output therefore goes through a file, so that whoever reads this
# script's output sees the end as soon as the program has ended.
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
out=$(mktemp "${TMPDIR:-/tmp}/wine-run.XXXXXX") || exit 1
/usr/lib/wine/wine64 "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"
rm -f "$out"
exit $rc
