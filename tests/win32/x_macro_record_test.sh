#!/bin/sh
# x_macro_record_test.sh TESTS WINE-RUN: runs the suite's macro-recording test
# and types into it with xdotool on the test display.
set -u
tests=$1
winerun=$2
handshake=$(mktemp -u "${TMPDIR:-/tmp}/zeltra-x-record.XXXXXX")
export ZELTRA_X_HANDSHAKE="Z:$handshake"
command -v xdotool >/dev/null || { echo "xdotool is missing"; exit 1; }

"$winerun" "$tests" --gtest_also_run_disabled_tests --gtest_filter='DISABLED_XMacroRecord.*' --gtest_brief=1 &
suite=$!

i=0
while [ ! -f "$handshake" ]; do
  i=$((i + 1))
  if [ $i -gt 300 ] || ! kill -0 $suite 2>/dev/null; then
    echo "the manager did not appear"
    wait $suite
    exit 1
  fi
  sleep 0.1
done
read -r xid < "$handshake"
rm -f "$handshake"

# The hook sees X key events only while a window of the program has the focus.
xdotool windowfocus "$xid"
sleep 0.3
xdotool key --delay 200 a b
sleep 2
xdotool windowfocus "$xid"
sleep 0.3
xdotool key --delay 200 a b

wait $suite
