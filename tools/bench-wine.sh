#!/usr/bin/env bash
# The program's performance figures under Wine, each a ratio measured in the
# same run (a command, not a CI step: the figures depend on the machine).
#   tools/bench-wine.sh [--runs N] [--idle SECONDS] [--parts "1 2 3 4 5"]
#  1. start-up: process start to the main window's first paint, against a
#     bare Win32 window program started the same way (medians of N runs);
#  2. one full paint of the main window at scale 1.0 and 2.0 against one
#     block transfer of a bitmap of its size;
#  3. memory of the running program with an empty library and with a library
#     of 1,000 macros (Wine gives no private bytes of another process: the
#     anonymous memory Linux counts, less a bare window's);
#  4. CPU time used in SECONDS (60) of idling;
#  5. an apply of a change of every group against 60 ms per report, in
#     virtual time.
# Goals: 1 <= 2x, 2 <= 8 ms at scale 2.0, 3 <= 12 MB with the big library,
# 4 <= 0.1 s per minute, 5 <= 1.01x.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=5
idle=60
parts="1 2 3 4 5"
while [ $# -gt 0 ]; do
  case $1 in
    --runs) runs=$2; shift 2 ;;
    --idle) idle=$2; shift 2 ;;
    --parts) parts=$2; shift 2 ;;
    *) echo "usage: $0 [--runs N] [--idle SECONDS] [--parts \"1 2 3 4 5\"]" >&2; exit 2 ;;
  esac
done
tools/setup.sh >/dev/null
cmake --preset native >/dev/null
cmake --build --preset native --target zeltra-journey-probe -j "$(nproc)" >/dev/null
cmake --preset mingw64 >/dev/null
cmake --build --preset mingw64 --target zeltra_dist zeltra-bare-window zeltra-wine-bench -j "$(nproc)" >/dev/null

ROOT=$PWD
DIST=$PWD/build/mingw64/dist
PROBE=$PWD/build/native/tests/journeys/zeltra-journey-probe
PREFIX=$PWD/build/mingw64/wineprefix-bench
BENCH=$PWD/build/mingw64/bench/win32
# Room for the window at scale 2.0 (2254 x 1480) on the same display.
ZJ_SCREEN=3840x2160
source tests/journeys/lib.sh
trap zj_teardown EXIT
zj_setup >/dev/null
wine_run() { WINEPREFIX=$PREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" "$ZELTRA_WINE" "$@" </dev/null; }
want() { case " $parts " in *" $1 "*) return 0 ;; *) return 1 ;; esac; }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

echo "load: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"

# --- 1. start-up ---------------------------------------------------------------
if want 1; then
bare=()
prog=()
# A user's start: the data folder is there (the first start, which makes it,
# is not counted).
zj_start first-start
zj_wait_main_window 60 || { echo "no main window"; exit 1; }
zj_mouse "unplug cable"
zj_wait_end 30 || zj_stop_program
export ZJ_KEEP_DATA=1
for i in $(seq "$runs"); do
  log=$ZJ_TOP/bare-$i.txt
  (cd "$BENCH" && wine_run zeltra-bare-window.exe --first-paint-log "$(zj_win "$log")")
  bare+=("$(cat "$log")")
  log=$ZJ_TOP/program-$i.txt
  zj_start "first-paint-$i" --first-paint-log "$(zj_win "$log")"
  zj_until 60 test -s "$log" || { echo "no first paint"; exit 1; }
  prog+=("$(cat "$log")")
  zj_mouse "unplug cable"  # it ends by itself
  zj_wait_end 30 || zj_stop_program
done
b=$(printf '%s\n' "${bare[@]}" | median)
p=$(printf '%s\n' "${prog[@]}" | median)
echo "first paint: program ${p} ms, bare window ${b} ms, ratio $(awk "BEGIN { printf \"%.2f\", $p / $b }") (goal <= 2)"
echo "  runs: program ${prog[*]}; bare ${bare[*]}"

fi

# --- 2. full paint ---------------------------------------------------------------
if want 2; then
for size in "1920 1080 1.0" "3840 2160 2.0"; do
  read -r w h s <<<"$size"
  read -r paint blit ratio picture controls <<<"$(cd "$BENCH" && wine_run zeltra-wine-bench.exe paint "$(zj_win "$DIST")" "$w" "$h" | tr -d '\r')"
  echo "full paint at scale $s: ${paint} ms, a paint of one block transfer ${blit} ms, ratio ${ratio} (goal at 2.0: <= 8 ms)"
  echo "  of it: the picture into the paint buffer ${picture} ms, the controls alone ${controls} ms"
done

fi

# --- 3. and 4. memory and idle CPU ------------------------------------------------
if want 3 || want 4; then
# Wine reports no private bytes of another process: the anonymous memory the
# system counts for the process, against the bare window's (Wine's own share).
anon_kib() { sed -n 's/^RssAnon:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$1/status"; }
if want 3; then
(cd "$BENCH" && WINEPREFIX=$PREFIX WINEDEBUG=-all exec "$ZELTRA_WINE" zeltra-bare-window.exe) </dev/null >/dev/null 2>&1 &
bare_pid=$!
sleep 4
bare_kib=$(anon_kib "$bare_pid")
kill "$bare_pid" 2>/dev/null || true
wait "$bare_pid" 2>/dev/null || true
fi
# CPU time of the process (user + system), in milliseconds.
cpu_ms() { awk -v hz="$(getconf CLK_TCK)" '{ print ($14 + $15) * 1000 / hz }' "/proc/$1/stat"; }
# "thread-id milliseconds" of every thread of a process.
thread_ms() {
  local t
  for t in /proc/"$1"/task/*; do
    awk -v hz="$(getconf CLK_TCK)" -v id="${t##*/}" '{ sub(/^.*\) /, ""); print id, ($12 + $13) * 1000 / hz }' "$t/stat" 2>/dev/null
  done
}
wineserver_pid() { zeltra_prefix_processes "$PREFIX" | awk '$2 ~ /^wineserver/ { print $1; exit }'; }
unset ZJ_KEEP_DATA
export ZJ_PLAIN=1
zj_start memory-empty
zj_wait_main_window 60 || { echo "no main window"; exit 1; }
sleep 5
empty_kib=$(anon_kib "$ZJ_APP")
if want 4; then
server=$(wineserver_pid)
cpu0=$(cpu_ms "$ZJ_APP")
threads0=$(thread_ms "$ZJ_APP")
server0=$({ [ -n "$server" ] && cpu_ms "$server"; } || echo 0)
sleep "$idle"
cpu1=$(cpu_ms "$ZJ_APP")
threads1=$(thread_ms "$ZJ_APP")
server1=$({ [ -n "$server" ] && cpu_ms "$server"; } || echo 0)
# The threads that used any CPU in the idle time, busiest first.
busy=$(join <(sort <<<"$threads0") <(sort <<<"$threads1") |
  awk '$3 > $2 { printf "%d:%.0f\n", $1, $3 - $2 }' | sort -t: -k2 -nr | tr '\n' ' ')
fi
zj_stop_program
if want 3; then
echo "memory, empty library: ${empty_kib} KiB anonymous (bare window ${bare_kib} KiB: the program's own $((empty_kib - bare_kib)) KiB)"
fi
if want 4; then
echo "CPU time in ${idle} s idle: $(awk "BEGIN { printf \"%.3f\", ($cpu1 - $cpu0) / 1000 }") s (goal <= 0.1 s per minute)"
echo "  of it by thread (id:ms): ${busy:-none}; the wineserver meanwhile $(awk "BEGIN { printf \"%.3f\", ($server1 - $server0) / 1000 }") s"
fi

if want 3; then
ZJ_KEEP_DATA=1
data=$(zj_data)
"$PROBE" library "$data" 1000 >/dev/null
zj_start memory-library
zj_wait_main_window 60 || { echo "no main window"; exit 1; }
sleep 5
big_kib=$(anon_kib "$ZJ_APP")
zj_stop_program
unset ZJ_KEEP_DATA
echo "memory, 1,000-macro library: ${big_kib} KiB anonymous (the program's own $((big_kib - bare_kib)) KiB; goal <= 12 MB)"
fi

fi

# --- 5. apply ------------------------------------------------------------------
if want 5; then
read -r elapsed reports floor ratio cpu <<<"$(cd "$BENCH" && wine_run zeltra-wine-bench.exe apply | tr -d '\r')"
echo "apply of a full profile change: ${elapsed} ms virtual for ${reports} reports, floor ${floor} ms, ratio ${ratio} (goal <= 1.01); CPU ${cpu} ms"
fi
