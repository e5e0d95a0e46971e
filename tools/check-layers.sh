#!/usr/bin/env bash
# The rule of the layers (docs/architecture.md): a folder includes only its
# own headers and those of the folders below it, and a portable file nothing
# of a platform's. CMake's links keep the libraries in that order, but with
# one include root any file can name any header, so the includes are checked
# here: every #include "folder/..." of every source file against the table.
#
#   tools/check-layers.sh [ROOT]    (default: this repository)
#
# Prints each include that breaks the rule (file:line: what it includes) and
# fails; prints nothing and succeeds otherwise.
set -euo pipefail
root=${1:-"$(dirname "$0")/.."}
cd "$root"

# The folders each layer may include besides its own. base/ is header-only
# and below everything; tests, benchmarks and fuzzers stand above it all and
# are not checked.
table='
model:    base
settings: base model
ui:       base settings
macro:    base model settings ui
device:   base model settings
app:      base model settings ui macro device
cli:      base model settings macro device
base:
'

layers=$(echo "$table" | sed -n 's/^\([a-z]*\):.*/\1/p' | tr '\n' ' ')
files=$(find $layers -type f \( -name '*.h' -o -name '*.cpp' \) 2>/dev/null | sort)
[ -n "$files" ] || { echo "check-layers: no sources under $PWD" >&2; exit 2; }

# One pass over every include line, and over the lines of portable files that
# include <windows.h> or ask which platform they are built for (platform code
# lives in win32/, linux/ or settings/platform/ files, behind a portable
# header).
# shellcheck disable=SC2086
{ grep -nE '^[[:space:]]*#[[:space:]]*(include[[:space:]]*("|<windows\.h>)|(el)?if(n?def)?[[:space:]].*\b(_WIN32|__linux__)\b)' $files || true; } |
  awk -v table="$table" '
    BEGIN {
      n = split(table, lines, "\n")
      for (i = 1; i <= n; i++) {
        if (lines[i] !~ /:/) continue
        split(lines[i], parts, ":")
        allowed[parts[1]] = " " parts[1] " " parts[2] " "
      }
    }
    function platform(path) { return path ~ /(^|\/)(win32|linux|platform)\// }
    {
      # file:line:text
      file = $0; sub(/:.*/, "", file)
      rest = substr($0, length(file) + 2)
      line = rest; sub(/:.*/, "", line)
      text = substr(rest, length(line) + 2)
      split(file, f, "/")
      layer = f[1]
      if (text !~ /include/) {
        if (!platform(file)) { print file ":" line ": asks for a platform in a portable file: " text; bad = 1 }
        next
      }
      if (text ~ /<windows\.h>/) {
        if (!platform(file)) { print file ":" line ": a portable file includes <windows.h>"; bad = 1 }
        next
      }
      target = text
      sub(/^[^"]*"/, "", target); sub(/".*/, "", target)
      if (target !~ /\//) next  # a header beside the file
      split(target, t, "/")
      if (!(t[1] in allowed)) next  # not a layer of the program
      if (index(allowed[layer], " " t[1] " ") == 0) {
        print file ":" line ": " layer "/ includes " target " (" t[1] "/ is not below " layer "/)"; bad = 1
      } else if (platform(target) && !platform(file)) {
        print file ":" line ": a portable file includes the platform header " target; bad = 1
      } else if (target ~ /(^|\/)win32\// && file ~ /(^|\/)linux\// || target ~ /(^|\/)linux\// && file ~ /(^|\/)win32\//) {
        print file ":" line ": one platform includes the other'"'"'s header " target; bad = 1
      }
    }
    END { exit bad }
  '
