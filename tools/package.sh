#!/usr/bin/env bash
# Builds the package users download, build/package/Zeltra-<version>-win32.zip:
# one folder with the 32-bit Zeltra.exe and zeltra-cli.exe (the release build,
# stripped of debug information and symbols), the skins, the language files
# and README.txt for users.
#
#   tools/package.sh [--arch win32|win64] [--out DIR]
#
# --arch win64 makes the same package from the 64-bit build (the tree the Wine
# tests use), Zeltra-<version>-win64.zip: Wine here runs 64-bit programs only,
# so this is the one whose start from the unpacked folder can be tested.
# Either build tree is built first when needed, and only the two programs.
# The unstripped programs stay in build/<preset>/dist, to turn the addresses
# of a user's crash report into function names.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

usage() { echo "usage: tools/package.sh [--arch win32|win64] [--out DIR]"; }
arch=win32
out=build/package
while (($#)); do
  case $1 in
    --arch) arch=${2:-}; shift 2 || { usage >&2; exit 2; } ;;
    --arch=*) arch=${1#*=}; shift ;;
    --out) out=${2:-}; shift 2 || { usage >&2; exit 2; } ;;
    --out=*) out=${1#*=}; shift ;;
    -h|--help) usage; exit 0 ;;
    *) usage >&2; exit 2 ;;
  esac
done
case $arch in
  win32) preset=mingw32; triple=i686-w64-mingw32; bits=32-bit ;;
  win64) preset=mingw64; triple=x86_64-w64-mingw32; bits="64-bit, for tests" ;;
  *) usage >&2; exit 2 ;;
esac

version=$(sed -n 's/^project(Zeltra VERSION \([0-9][0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "no project version in CMakeLists.txt" >&2; exit 1; }

tools/setup.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target zeltra_dist zeltra-cli -j "$(nproc)"

dist=build/$preset/dist
name=Zeltra-$version
mkdir -p "$out"
out=$(cd "$out" && pwd)
stage=$out/$arch
zip=$out/$name-$arch.zip
rm -rf "$stage" "$zip"
mkdir -p "$stage/$name/lang"

for exe in Zeltra.exe zeltra-cli.exe; do
  "$triple-strip" --strip-all -o "$stage/$name/$exe" "$dist/$exe"
done
# The skins as they stand in the sources (the build's copy may keep a removed
# one); the language files as the build converts them, one for each source.
cp -R res/skins "$stage/$name/skins"
for file in res/lang/*; do
  cp "$dist/lang/${file##*/}" "$stage/$name/lang/"
done
# Notepad before Windows 10 shows a text with bare line feeds as one line.
sed -e "s/@VERSION@/$version/g" -e "s/@ARCH@/$bits/g" -e 's/$/\r/' tools/package/README.txt \
  >"$stage/$name/README.txt"

# Sorted entries, each dated by the last commit rather than by this run.
stamp=$(git log -1 --format=%cd --date=format:'%Y-%m-%d %H:%M:%S' 2>/dev/null || true)
(
  cd "$stage"
  find "$name" -type f | LC_ALL=C sort >files.txt
  cmake -E tar cf "$zip" --format=zip ${stamp:+"--mtime=$stamp"} --files-from=files.txt
  rm files.txt
)

size() { stat -c %s "$1"; }
for exe in Zeltra.exe zeltra-cli.exe; do
  printf '%-15s %9d bytes (%d as built)\n' "$exe" "$(size "$stage/$name/$exe")" "$(size "$dist/$exe")"
done
printf '%-15s %9d bytes\n' "${zip##*/}" "$(size "$zip")"
echo "${zip#"$root"/}"
