#!/bin/sh
# wine-prefix.sh start|stop PREFIX
#   start: make the prefix once (wineboot) and keep one wineserver running for it.
#   stop:  stop that wineserver and everything it runs; fails when a process
#          of the prefix is still there afterwards.
set -u
. "$(dirname "$0")/wine-env.sh"
action=$1
prefix=$2
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
case "$action" in
  start)
    export WINEPREFIX="$prefix"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      mkdir -p "$WINEPREFIX"
      "$ZELTRA_WINE" wineboot -i >/dev/null 2>&1 || exit 1
      "$ZELTRA_WINESERVER" -w
    fi
    # Persistent server: parallel tests share it instead of starting their own.
    "$ZELTRA_WINESERVER" -p >/dev/null 2>&1
    # The virtual displays of the tests have no window manager: Wine would
    # wait two seconds for one at every window it hides.
    "$ZELTRA_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "${ZELTRA_WINE_MANAGED:-N}" /f \
      >/dev/null 2>&1 || exit 1
    # Shortcuts the tests write (the Startup folder's) must not become menu
    # entries of the machine's own desktop.
    "$ZELTRA_WINE" reg add 'HKCU\Software\Wine\DllOverrides' /v winemenubuilder.exe /d '' /f >/dev/null 2>&1 || exit 1
    # Windows' Chinese UI font is not on Linux: draw it with a free CJK font.
    for face in '宋体' SimSun; do
      "$ZELTRA_WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d 'WenQuanYi Micro Hei' /f \
        >/dev/null 2>&1 || exit 1
    done
    exit 0 ;;
  stop)
    zeltra_stop_prefix "$prefix"
    exit $? ;;
  *) echo "usage: $0 start|stop PREFIX" >&2; exit 2 ;;
esac
