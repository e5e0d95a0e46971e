#!/bin/sh
# x_input_test.sh TESTS WINE-RUN SUITE: runs one of the suite's real-input
# tests (DISABLED_SUITE.*) and drives it with xdotool on the test display
# once its window says where it is:
#   XInput        keys, a click and a window drag
#   XMacroRecord  types into the macro manager while it records
set -u
tests=$1
winerun=$2
suite_name=$3
case $suite_name in
  XInput | XMacroRecord) ;;
  *) echo "no real-input test $suite_name"; exit 2 ;;
esac
handshake=$(mktemp -u "${TMPDIR:-/tmp}/zeltra-x-input.XXXXXX")
export ZELTRA_X_HANDSHAKE="Z:$handshake"
command -v xdotool >/dev/null || { echo "xdotool is missing"; exit 1; }

"$winerun" "$tests" --gtest_also_run_disabled_tests --gtest_filter="DISABLED_$suite_name.*" --gtest_brief=1 &
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
# The window, and for XInput the screen position of its client area.
read -r xid left top < "$handshake"
rm -f "$handshake"

# The hook sees X key events only while a window of the program has the focus.
xdotool windowfocus "$xid"
sleep 0.3
case $suite_name in
  XInput)
    xdotool key --delay 60 k F7
    sleep 0.5
    xdotool mousemove $((left + 50)) $((top + 35)) sleep 0.2 click 1
    sleep 0.5
    xdotool mousemove $((left + 200)) $((top + 150)) sleep 0.2 mousedown 1 sleep 0.2 \
      mousemove $((left + 220)) $((top + 160)) sleep 0.2 \
      mousemove $((left + 240)) $((top + 175)) sleep 0.3 mouseup 1
    ;;
  XMacroRecord)
    xdotool key --delay 200 a b
    sleep 2
    xdotool windowfocus "$xid"
    sleep 0.3
    xdotool key --delay 200 a b
    ;;
esac

wait $suite
