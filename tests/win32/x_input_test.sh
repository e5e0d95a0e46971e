#!/bin/sh
# x_input_test.sh TESTS WINE-RUN: runs the suite's real-input test and drives
# it with xdotool on the test display (keys, a click and a window drag).
set -u
tests=$1
winerun=$2
handshake=$(mktemp -u "${TMPDIR:-/tmp}/zeltra-x-input.XXXXXX")
export ZELTRA_X_HANDSHAKE="Z:$handshake"
command -v xdotool >/dev/null || { echo "xdotool is missing"; exit 1; }

"$winerun" "$tests" --gtest_also_run_disabled_tests --gtest_filter='DISABLED_XInput.*' --gtest_brief=1 &
suite=$!

i=0
while [ ! -f "$handshake" ]; do
  i=$((i + 1))
  if [ $i -gt 300 ] || ! kill -0 $suite 2>/dev/null; then
    echo "the test window did not appear"
    wait $suite
    exit 1
  fi
  sleep 0.1
done
read -r xid left top < "$handshake"
rm -f "$handshake"

# The hook sees X key events only while a window of the program has the focus.
xdotool windowfocus "$xid"
sleep 0.3
xdotool key --delay 60 k F7
sleep 0.5
xdotool mousemove $((left + 50)) $((top + 35)) sleep 0.2 click 1
sleep 0.5
xdotool mousemove $((left + 200)) $((top + 150)) sleep 0.2 mousedown 1 sleep 0.2 \
  mousemove $((left + 220)) $((top + 160)) sleep 0.2 \
  mousemove $((left + 240)) $((top + 175)) sleep 0.3 mouseup 1

wait $suite
