#!/usr/bin/env bash
# The program's performance figures under Wine, each printed against its goal
# and, where it depends on the machine, as a ratio measured in the same run
# (a command, not a CI step).
#   tools/bench-wine.sh [--runs N] [--idle SECONDS] [--parts "1 2 3 4 5"]
#  1. start-up: process start to the main window's first paint at scale 2.0,
#     against a bare window program started the same way (medians of N runs);
#  2. one full paint of the main window at scale 1.0 and 2.0 against one
#     block transfer of a bitmap of its size;
#  3. memory of the running program at scale 1.0, 1.5 and 2.0 (screens of
#     1920x1080, 2560x1440 and 3840x2160) with an empty library and with a
#     library of 1,000 macros: the anonymous memory Linux counts for the
#     process (Wine gives no private bytes of another process), less that of
#     the bare window on the same screen;
#  4. CPU time used in SECONDS (60) of idling;
#  5. an apply of a change of every group against 60 ms per report, in
#     virtual time.
# The bare window (bench/win32/bare_window.cpp) has the main window's size and
# place, starts GDI+ and draws a line of text in the program's font, so that
# what every such program pays under Wine is not counted as the program's.
# Both programs are built optimised (the mingw64-release preset), as the
# 32-bit program users get is, not as the test build; they run stripped, as
# the package ships them, from a copy of that build's dist folder: Wine reads
# an executable's sections into memory of the process, and debug information
# would count as the program's memory.
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
# Optimised, as the program users get (the test build is not).
cmake --preset mingw64-release >/dev/null
cmake --build --preset mingw64-release --target zeltra_dist zeltra-bare-window zeltra-wine-bench -j "$(nproc)" >/dev/null

ROOT=$PWD
PROBE=$PWD/build/native/tests/journeys/zeltra-journey-probe
PREFIX=$PWD/build/mingw64-release/wineprefix-bench
BENCH=$PWD/build/mingw64-release/bench/win32
# The programs as the package has them, the bare window beside the program
# (it reads the same language files).
DIST=$PWD/build/mingw64-release/bench-dist
rm -rf "$DIST"
cp -r build/mingw64-release/dist "$DIST"
x86_64-w64-mingw32-strip --strip-all "$DIST/Zeltra.exe"
x86_64-w64-mingw32-strip --strip-all -o "$DIST/zeltra-bare-window.exe" "$BENCH/zeltra-bare-window.exe"
source tests/journeys/lib.sh
ZJ_TOP=""
trap zj_teardown EXIT
# A display of SIZE with the bench's prefix running on it (the start-up and
# idle figures at scale 2.0, the window's largest).
on_screen() {
  [ -z "$ZJ_TOP" ] || zj_teardown
  set -e  # zj_teardown leaves it off
  ZJ_SCREEN=$1
  zj_setup >/dev/null
}
wine_run() { WINEPREFIX=$PREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" "$ZELTRA_WINE" "$@" </dev/null; }
want() { case " $parts " in *" $1 "*) return 0 ;; *) return 1 ;; esac; }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
# verdict VALUE GOAL: "met" when VALUE <= GOAL.
verdict() { awk -v v="$1" -v g="$2" 'BEGIN { print (v <= g) ? "met" : "NOT met" }'; }
mib() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }

echo "load: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"

# --- 1. start-up ---------------------------------------------------------------
if want 1; then
on_screen 3840x2160
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
  (cd "$DIST" && wine_run zeltra-bare-window.exe --first-paint-log "$(zj_win "$log")")
  bare+=("$(cat "$log")")
  log=$ZJ_TOP/program-$i.txt
  zj_start "first-paint-$i" --first-paint-log "$(zj_win "$log")"
  zj_until 60 test -s "$log" || { echo "no first paint"; exit 1; }
  prog+=("$(cat "$log")")
  zj_mouse "unplug cable"  # it ends by itself
  zj_wait_end 30 || zj_stop_program
done
unset ZJ_KEEP_DATA
b=$(printf '%s\n' "${bare[@]}" | median)
p=$(printf '%s\n' "${prog[@]}" | median)
r=$(awk "BEGIN { printf \"%.2f\", $p / $b }")
echo "first paint at scale 2.0: program ${p} ms, bare window ${b} ms, ratio ${r} (goal <= 2: $(verdict "$r" 2))"
echo "  runs: program ${prog[*]}; bare ${bare[*]}"
fi

# --- 2. full paint ---------------------------------------------------------------
if want 2; then
on_screen 3840x2160
for size in "1920 1080 1.0" "3840 2160 2.0"; do
  read -r w h s <<<"$size"
  read -r paint blit ratio picture controls <<<"$(cd "$BENCH" && wine_run zeltra-wine-bench.exe paint "$(zj_win "$DIST")" "$w" "$h" | tr -d '\r')"
  goal="reported"
  [ "$s" = 2.0 ] && goal="goal <= 8 ms: $(verdict "$paint" 8)"
  echo "full paint at scale $s: ${paint} ms ($goal), a paint of one block transfer ${blit} ms, ratio ${ratio}"
  echo "  of it: the picture into the paint buffer ${picture} ms, the controls alone ${controls} ms"
done
fi

# --- 3. and 4. memory and idle CPU ------------------------------------------------
# Wine reports no private bytes of another process: the anonymous memory the
# system counts for the process, against the bare window's.
anon_kib() { sed -n 's/^RssAnon:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$1/status"; }
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
bare_memory() {
  (cd "$DIST" && WINEPREFIX=$PREFIX WINEDEBUG=-all exec "$ZELTRA_WINE" zeltra-bare-window.exe) </dev/null >/dev/null 2>&1 &
  local pid=$!
  sleep 5
  anon_kib "$pid"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}
# program_memory NAME: the program's anonymous KiB 5 s after its window came
# up, in $kib (not a subshell: the program must be stopped from this shell).
program_memory() {
  zj_start "$1"
  zj_wait_main_window 60 || { echo "no main window" >&2; exit 1; }
  sleep 5
  kib=$(anon_kib "$ZJ_APP")
  zj_stop_program
}

if want 4; then
on_screen 3840x2160
export ZJ_PLAIN=1
zj_start idle
zj_wait_main_window 60 || { echo "no main window"; exit 1; }
sleep 5
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
zj_stop_program
unset ZJ_PLAIN
per_minute=$(awk "BEGIN { printf \"%.3f\", ($cpu1 - $cpu0) / 1000 * 60 / $idle }")
echo "CPU time in ${idle} s idle: $(awk "BEGIN { printf \"%.3f\", ($cpu1 - $cpu0) / 1000 }") s, ${per_minute} s per minute (goal <= 0.1 s per minute: $(verdict "$per_minute" 0.1))"
echo "  of it by thread (id:ms): ${busy:-none}; the wineserver meanwhile $(awk "BEGIN { printf \"%.3f\", ($server1 - $server0) / 1000 }") s"
fi

if want 3; then
for screen in "1920x1080 1.0 12" "2560x1440 1.5 -" "3840x2160 2.0 40"; do
  read -r size s goal <<<"$screen"
  on_screen "$size"
  export ZJ_PLAIN=1
  bare_kib=$(bare_memory)
  program_memory "memory-empty-$s"
  empty_kib=$kib
  export ZJ_KEEP_DATA=1
  "$PROBE" library "$(zj_data)" 1000 >/dev/null
  program_memory "memory-library-$s"
  big_kib=$kib
  unset ZJ_KEEP_DATA ZJ_PLAIN
  for run in "empty library:$empty_kib" "1,000-macro library:$big_kib"; do
    own=$((${run#*:} - bare_kib))
    mark="reported"
    [ "$goal" != - ] && mark="goal <= $goal MB: $(verdict "$(mib "$own")" "$goal")"
    echo "memory at scale $s ($size), ${run%%:*}: own $(mib "$own") MB ($mark); ${run#*:} KiB anonymous, bare window ${bare_kib} KiB"
  done
done
fi

# --- 5. apply ------------------------------------------------------------------
if want 5; then
read -r elapsed reports floor ratio cpu <<<"$(cd "$BENCH" && wine_run zeltra-wine-bench.exe apply | tr -d '\r')"
echo "apply of a full profile change: ${elapsed} ms virtual for ${reports} reports, floor ${floor} ms, ratio ${ratio} (goal <= 1.01: $(verdict "$ratio" 1.01)); CPU ${cpu} ms"
fi
