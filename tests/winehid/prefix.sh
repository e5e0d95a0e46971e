#!/bin/sh
# prefix.sh start|stop PREFIX DRIVERS: a Wine prefix with the virtual mouse's
# drivers (the folder DRIVERS of the build: the two .sys files and
# zeltra-vmouse.exe) installed, and its server kept running; stop ends it.
# A prefix made before gets the drivers of this build: they are copied in
# while none of its processes runs.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../tools/wine-env.sh"
action=$1
prefix=$2
drivers=${3:-}
case "$action" in
  start)
    installed="$prefix/drive_c/windows/system32/drivers"
    if [ -d "$installed" ] && [ -f "$installed/zeltra_vbus.sys" ]; then
      for sys in zeltra_vbus.sys zeltra_vhid.sys; do
        if ! cmp -s "$drivers/$sys" "$installed/$sys"; then
          zeltra_stop_prefix "$prefix" || exit 1
          cp "$drivers/$sys" "$installed/$sys" || exit 1
        fi
      done
    fi
    "$here/../../tools/wine-prefix.sh" start "$prefix" || exit 1
    WINEPREFIX=$prefix WINEDEBUG=-all "$here/../../tools/wine-run.sh" "$drivers/zeltra-vmouse.exe" install
    exit $? ;;
  stop)
    "$here/../../tools/wine-prefix.sh" stop "$prefix"
    exit $? ;;
  *) echo "usage: $0 start|stop PREFIX DRIVERS" >&2; exit 2 ;;
esac
