#!/usr/bin/env bash
# Checks that the shipped programs import nothing the oldest supported
# Windows (7 SP1) lacks: every import of Velmora.exe, Drevka.dll, Tosmir.dll
# and sqlite3.dll, in each build folder given (x86_64 and/or i686), must be
# on the list scripts/windows-floor-imports.txt ("dll!function" lines, dll
# in lower case). Imports between our own files are not checked.
#   scripts/check-imports.sh <build dir> [<build dir> ...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
floor="$here/windows-floor-imports.txt"
allowed=$(grep -v '^[[:space:]]*\(#\|$\)' "$floor" | sort -u)
status=0
checked=0
for dir in "$@"; do
  for file in Velmora.exe Drevka.dll Tosmir.dll sqlite3.dll; do
    path="$dir/bin/$file"
    [ -f "$path" ] || continue
    # The machine type decides which objdump reads the file.
    case "$(x86_64-w64-mingw32-objdump -f "$path" | sed -n 's/.*file format //p')" in
      pei-x86-64) objdump=x86_64-w64-mingw32-objdump ;;
      pei-i386) objdump=i686-w64-mingw32-objdump ;;
      *) echo "check-imports: $path: unknown file format"; status=1; continue ;;
    esac
    imports=$("$objdump" -p "$path" | awk -f "$here/list-imports.awk" |
      grep -v -E '^(sqlite3|drevka|tosmir)\.dll!' | sort -u || true)
    newer=$(comm -23 <(printf '%s\n' "$imports") <(printf '%s\n' "$allowed") | sed '/^$/d')
    checked=$((checked + 1))
    if [ -n "$newer" ]; then
      status=1
      while read -r name; do
        echo "check-imports: $path imports $name, which is not on the Windows 7 SP1 list"
      done <<<"$newer"
    fi
  done
done
if [ "$checked" -eq 0 ]; then
  echo "check-imports: nothing built yet, skipped"
  exit 0
fi
[ "$status" -eq 0 ] && echo "check-imports: $checked files import only what Windows 7 SP1 has"
exit "$status"
