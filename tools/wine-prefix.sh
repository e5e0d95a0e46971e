#!/bin/sh
# wine-prefix.sh start|stop PREFIX
#   start: make the prefix once (wineboot) and keep one wineserver running for it.
#   stop:  stop that wineserver and everything it runs.
set -u
action=$1
export WINEPREFIX=$2
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
case "$action" in
  start)
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      mkdir -p "$WINEPREFIX"
      /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || exit 1
      wineserver -w
    fi
    # Persistent server: parallel tests share it instead of starting their own.
    wineserver -p >/dev/null 2>&1
    # The virtual displays of the tests have no window manager: Wine would
    # wait two seconds for one at every window it hides.
    /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "${ZELTRA_WINE_MANAGED:-N}" /f \
      >/dev/null 2>&1 || exit 1
    # Windows' Chinese UI font is not on Linux: draw it with a free CJK font.
    for face in '宋体' SimSun; do
      /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d 'WenQuanYi Micro Hei' /f \
        >/dev/null 2>&1 || exit 1
    done
    exit 0 ;;
  stop)
    wineserver -k >/dev/null 2>&1
    exit 0 ;;
  *) echo "usage: $0 start|stop PREFIX" >&2; exit 2 ;;
esac
