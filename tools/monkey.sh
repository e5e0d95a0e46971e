#!/usr/bin/env bash
# Random clicks, drags, wheel turns and keys into the running program for a
# while (tests/journeys/monkey.sh says what it checks afterwards).
#   tools/monkey.sh [--minutes M | --seconds S] [--seed N]
# Default: 60 s and a seed from the clock; the seed is printed, and the same
# seed replays the same events.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=60
seed=$(( $(date +%s) % 32768 ))
while [ $# -gt 0 ]; do
  case $1 in
    --minutes) seconds=$(( $2 * 60 )); shift 2 ;;
    --seconds) seconds=$2; shift 2 ;;
    --seed) seed=$2; shift 2 ;;
    *) echo "usage: $0 [--minutes M | --seconds S] [--seed N]" >&2; exit 2 ;;
  esac
done
tools/setup.sh >/dev/null
cmake --preset mingw64 >/dev/null
cmake --build --preset mingw64 --target zeltra_dist zeltra-journey-probe -j "$(nproc)" >/dev/null
exec tests/journeys/monkey.sh build/mingw64/dist build/mingw64/tests/journeys/zeltra-journey-probe.exe \
  build/mingw64/wineprefix-monkey "$seed" "$seconds"
