#!/bin/sh
# check-pe32.sh EXE: fails unless EXE is a 32-bit (i386) Windows executable.
set -eu
info=$(i686-w64-mingw32-objdump -f "$1")
echo "$info" | grep -q 'file format pei-i386' || { echo "$1 is not PE32:"; echo "$info"; exit 1; }
echo "$1: PE32 i386 executable"
