#!/bin/sh
# utf16.sh IN OUT: UTF-8 text -> UTF-16LE with byte-order mark, line feeds only.
set -eu
tmp="$2.part"
{ printf '\377\376'; tr -d '\r' < "$1" | iconv -f UTF-8 -t UTF-16LE; } > "$tmp"
mv "$tmp" "$2"
