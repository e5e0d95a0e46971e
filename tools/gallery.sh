#!/usr/bin/env bash
# Screenshots of every gallery scene (the program's dialogs and popups) at
# UI scale 1.0 and 2.0, in English and Chinese, into build/screenshots/gallery/.
#   tools/gallery.sh [SCENE ...]      all scenes when none is named
#   ZELTRA_GALLERY_SCREENS="1920x1080 3840x2160"   screen sizes (scale 1.0, 2.0)
#   ZELTRA_GALLERY_LANGS="en zh"                   language files
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
source tools/xvfb.sh
source tools/wine-env.sh

cmake --preset mingw64 >/dev/null
cmake --build --preset mingw64 --target zeltra_gallery -j "$(nproc)"

export WINEPREFIX="$PWD/build/mingw64/wineprefix-gallery"
cleanup() {
  zeltra_stop_prefix "$WINEPREFIX" || true
  zeltra_stop_display
}
trap cleanup EXIT

exe=build/mingw64/dist/zeltra_gallery.exe
out="$PWD/build/screenshots/gallery"
mkdir -p "$out"
scenes=("$@")
for size in ${ZELTRA_GALLERY_SCREENS:-1920x1080 3840x2160}; do
  unset DISPLAY
  zeltra_start_display "$size"
  tools/wine-prefix.sh start "$WINEPREFIX"
  if [ ${#scenes[@]} -eq 0 ]; then
    mapfile -t scenes < <(tools/wine-run.sh "$exe" --list | tr -d '\r')
  fi
  case "$size" in 1920x1080) tag=1x ;; 3840x2160) tag=2x ;; *) tag=$size ;; esac
  for lang in ${ZELTRA_GALLERY_LANGS:-en zh}; do
    for scene in "${scenes[@]}"; do
      [ -n "$scene" ] || continue
      file="$out/$scene-$tag-$lang.png"
      if tools/wine-run.sh "$exe" --scene "$scene" --lang "$lang" --out "Z:$file" >/dev/null; then
        echo "$file"
      else
        echo "FAILED: $scene ($tag, $lang)" >&2
      fi
    done
  done
  zeltra_stop_prefix "$WINEPREFIX" || true
  zeltra_stop_display
done
