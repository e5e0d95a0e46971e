#!/usr/bin/env bash
# Renders the skin and resource images from res/art/ into res/skins/ and
# res/images/. The output is committed, so building the program needs none of
# these tools; run this after changing res/art/zeltra_art.py.
#
#   tools/render-art.sh              render and check
#   tools/render-art.sh --preview D  also write contact sheets and a mock-up into D
#
# Needs python3, rsvg-convert (librsvg2-bin) and ImageMagick's convert/montage.
# The output is deterministic: PNGs carry no time or text chunks and BMPs have
# no metadata, so rendering twice gives identical files.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
art="$root/res/art"
preview=""
if [ "${1:-}" = "--preview" ]; then
  preview=${2:?"--preview needs a folder"}
fi

for tool in python3 rsvg-convert convert montage; do
  command -v "$tool" >/dev/null || { echo "render-art: $tool is missing (apt-get install librsvg2-bin imagemagick)" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 "$art/zeltra_art.py" emit "$work"

# Same options for every PNG: plain 8-bit RGBA, no dates, names or colour chunks.
png_opts=(-strip -define png:exclude-chunks=date,time,tEXt,zTXt,iTXt
          -define png:compression-level=9 +set date:create +set date:modify)

to_png() {  # svg out
  rsvg-convert --format=png "$1" -o "$work/tmp.png"
  convert "$work/tmp.png" "${png_opts[@]}" "PNG32:$2"
}

to_bmp() {  # image out: 24-bit uncompressed, bottom-up, no colour-space block
  convert "$1" -background black -alpha remove -alpha off -type TrueColor -strip \
    +set date:create +set date:modify "BMP3:$2"
}

rm -rf "$root/res/skins" "$root/res/images"
mkdir -p "$root/res/skins/mouse" "$root/res/images"

while IFS=$'\t' read -r kind rel src w h; do
  out="$root/res/$rel"
  case "$kind" in
    png) to_png "$work/$src" "$out" ;;
    bmp)
      rsvg-convert --format=png "$work/$src" -o "$work/tmp.png"
      to_bmp "$work/tmp.png" "$out" ;;
    ppmbmp) to_bmp "$work/$src" "$out" ;;
    ico)
      parts=()
      for s in $src; do
        rsvg-convert --format=png "$work/$s" -o "$work/${s%.svg}.png"
        convert "$work/${s%.svg}.png" "${png_opts[@]}" "PNG32:$work/${s%.svg}.32.png"
        parts+=("$work/${s%.svg}.32.png")
      done
      convert "${parts[@]}" "${png_opts[@]}" "ICO:$out" ;;
    *) echo "render-art: unknown kind $kind" >&2; exit 1 ;;
  esac
done < "$work/manifest.tsv"

python3 "$art/zeltra_art.py" check "$root/res"

if [ -n "$preview" ]; then
  mkdir -p "$preview"
  # Contact sheets of the skins at 1x and 2x (nearest neighbour), on the window colour;
  # the mouse picture gets its own sheet with each highlight laid over it.
  mapfile -t skins < <(cd "$root/res/skins" && find . -name '*.png' ! -name 'number*' ! -name 'mouse_nr.png' | sort)
  for scale in 1 2; do
    (cd "$root/res/skins" && montage -background '#0f0f0f' -fill '#b4b4b4' -font DejaVu-Sans -pointsize 9 \
        -label '%t %wx%h' "${skins[@]}" -filter point -resize "$((scale * 100))%" \
        -geometry "$((scale * 240))x$((scale * 80))>+6+6" -tile 8x "$preview/skins-${scale}x.png")
  done
  sheet=()
  for n in 1 2 3 4 5 6 7 8 9; do
    convert "$root/res/skins/mouse/mouse_nr.png" "$root/res/skins/mouse/number$n.png" -composite \
      -background '#0f0f0f' -flatten "$work/mouse-$n.png"
    sheet+=("$work/mouse-$n.png")
  done
  montage -background '#0f0f0f' -fill '#b4b4b4' -font DejaVu-Sans -pointsize 11 -label '%t' \
    "$root/res/skins/mouse/mouse_nr.png" "${sheet[@]}" -geometry '+6+6' -tile 5x "$preview/mouse.png"
  (cd "$root/res" && montage -background '#303030' -fill '#dddddd' -font DejaVu-Sans -pointsize 10 \
      -label '%f %wx%h' skins/*.bmp images/*.bmp images/*.png -geometry '+8+8' -tile 3x "$preview/frames.png")
  python3 "$art/zeltra_art.py" mockup "$root/res" "$preview/mockup-1x.png"
  python3 "$art/zeltra_art.py" dialogs "$root/res" "$preview/dialogs.png"
  convert "$preview/mockup-1x.png" -filter point -resize 150% "$preview/mockup-1.5x.png"
  echo "render-art: previews in $preview"
fi
