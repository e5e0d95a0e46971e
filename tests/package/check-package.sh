#!/usr/bin/env bash
# check-package.sh ZIP: checks a package made by tools/package.sh.
#  - it holds one folder with exactly the two programs, README.txt, the
#    language files and the skins of the sources (byte for byte; the language
#    files as UTF-16LE with a byte-order mark);
#  - each program is a Windows executable of the package's architecture
#    (PE32 for win32), without debug sections or symbols;
#  - each program imports only known DLLs of every Windows the manifest
#    names (7, 8, 8.1, 10 and 11): those the system maps from its own folder
#    whatever lies beside the program. Any other DLL (hid.dll, gdiplus.dll,
#    comctl32.dll, or a MinGW or C++ runtime DLL) would be looked for in the
#    program's folder first, where a download may have left one;
#  - each program asks for DEP and ASLR (and 64-bit ASLR in the 64-bit
#    package) and keeps the relocations ASLR needs;
#  - each program carries a well-formed manifest that runs it as the user
#    who starts it (asInvoker): no elevation prompt, no file and registry
#    redirection.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
zip=$(realpath "$1")

# Known DLLs (Session Manager\KnownDLLs) of Windows 7 and of Windows 10 alike.
allowed="advapi32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll setupapi.dll
shell32.dll shlwapi.dll user32.dll"

# DllCharacteristics: NX_COMPAT (DEP), DYNAMIC_BASE (ASLR), HIGH_ENTROPY_VA.
case $zip in
  *-win32.zip) triple=i686-w64-mingw32; format=pei-i386; flags="0x100 0x40" ;;
  *-win64.zip) triple=x86_64-w64-mingw32; format=pei-x86-64; flags="0x100 0x40 0x20" ;;
  *) echo "$zip: not named Zeltra-<version>-win32.zip or -win64.zip"; exit 1 ;;
esac

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

work=$(mktemp -d "${TMPDIR:-/tmp}/zeltra-package.XXXXXX")
trap 'rm -rf "$work"' EXIT
(cd "$work" && cmake -E tar xf "$zip")
top=$(ls "$work")
[ "$(echo "$top" | wc -l)" -eq 1 ] && [ "$top" = "$(basename "$zip" | sed 's/-win[0-9]*\.zip$//')" ] ||
  { echo "FAIL: the package should hold one folder named like it, not: $top"; exit 1; }
pkg=$work/$top

expected=$( {
  printf '%s\n' README.txt Zeltra.exe zeltra-cli.exe
  (cd "$root/res" && find lang skins -type f)
} | LC_ALL=C sort)
actual=$(cd "$pkg" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
missing=$(comm -23 <(echo "$expected") <(echo "$actual"))
extra=$(comm -13 <(echo "$expected") <(echo "$actual"))
[ -z "$missing" ] || fail "missing from the package:" $missing
[ -z "$extra" ] || fail "not meant to be in the package:" $extra

for skin in $(cd "$root/res" && find skins -type f); do
  if [ -f "$pkg/$skin" ] && ! cmp -s "$root/res/$skin" "$pkg/$skin"; then fail "$skin differs from the sources"; fi
done
for lang in "$root"/res/lang/*; do
  shipped=$pkg/lang/${lang##*/}
  [ -f "$shipped" ] || continue
  [ "$(head -c 2 "$shipped" | od -An -tx1 | tr -d ' ')" = fffe ] || fail "lang/${lang##*/} has no UTF-16LE byte-order mark"
  tail -c +3 "$shipped" | iconv -f UTF-16LE -t UTF-8 2>/dev/null | cmp -s - <(tr -d '\r' <"$lang") ||
    fail "lang/${lang##*/} is not its source in UTF-16LE"
done
if [ -f "$pkg/README.txt" ]; then
  if grep -q '@[A-Z]*@' "$pkg/README.txt"; then fail "README.txt keeps a placeholder"; fi
  [ "$(grep -c $'\r$' "$pkg/README.txt")" -eq "$(wc -l <"$pkg/README.txt")" ] || fail "README.txt has lines not ended by CR LF"
fi

for exe in Zeltra.exe zeltra-cli.exe; do
  file=$pkg/$exe
  [ -f "$file" ] || continue
  actual_format=$("$triple-objdump" -f "$file" | sed -n 's/.*file format //p')
  [ "$actual_format" = "$format" ] || fail "$exe is $actual_format, not $format"
  debug=$("$triple-objdump" -h "$file" | awk '$2 ~ /^\.debug/ {print $2}')
  [ -z "$debug" ] || fail "$exe keeps debug sections:" $debug
  "$triple-objdump" -t "$file" | grep -qx 'no symbols' || fail "$exe keeps its symbol table"
  dlls=$("$triple-objdump" -p "$file" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | LC_ALL=C sort -u)
  echo "$dlls" | grep -qx kernel32.dll || fail "$exe: no import table read (no KERNEL32.dll)"
  for dll in $dlls; do
    case " $(echo $allowed) " in
      *" $dll "*) ;;
      *) fail "$exe imports $dll, which is not a known DLL of every Windows it runs on" ;;
    esac
  done
  characteristics=$("$triple-objdump" -p "$file" | sed -n 's/^DllCharacteristics[[:space:]]*//p')
  for flag in $flags; do
    (((0x${characteristics:-0} & flag) != 0)) || fail "$exe: DllCharacteristics ${characteristics:-none} lacks $flag"
  done
  "$triple-objdump" -h "$file" | awk '{print $2}' | grep -qx .reloc || fail "$exe has no relocations, so it cannot move"
  manifest=$work/$exe.manifest
  level=none
  if ! "$root/tests/package/pe_manifest.pl" "$file" >"$manifest" 2>/dev/null; then
    fail "$exe carries no manifest"
  elif ! xmllint --noout "$manifest"; then
    fail "$exe: its manifest is not well-formed XML (Windows would refuse to start it)"
  else
    level=$(xmllint --xpath "string(//*[local-name()='trustInfo']//*[local-name()='requestedExecutionLevel']/@level)" \
      "$manifest")
    [ "$level" = asInvoker ] || fail "$exe: its manifest asks for execution level '$level', not asInvoker"
  fi
  echo "$exe: $actual_format, $(stat -c %s "$file") bytes, DllCharacteristics 0x$characteristics," \
    "execution level $level, imports" $dlls
done

if [ "$failures" -ne 0 ]; then
  echo "$zip: $failures check(s) failed"
  exit 1
fi
echo "$zip: package checked"
