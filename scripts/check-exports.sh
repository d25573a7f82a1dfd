#!/usr/bin/env bash
# Checks that the 32-bit Drevka.dll exports its functions by plain name
# (no stdcall decoration) at the agreed ordinals.
set -euo pipefail
dir="${1:?build dir}"
dll="$dir/bin/Drevka.dll"
[ -f "$dll" ] || { echo "check-exports: no $dll yet, skipped"; exit 0; }
expected="$(dirname "$0")/drevka-exports.txt"
actual=$(i686-w64-mingw32-objdump -p "$dll" | awk '/\[Ordinal\/Name Pointer\] Table/{t=1;next} t&&/^\s*\[/{print} t&&/^$/{exit}' \
  | sed -E 's/^\s*\[\s*[0-9]+\]\s*\+?([0-9]+)\s+(\S+).*/\1 \2/' | sort -n)
if [ -f "$expected" ] && ! diff <(sort -n "$expected") <(echo "$actual"); then
  echo "check-exports: export table of $dll differs from $expected" >&2
  exit 1
fi
echo "check-exports: $dll exports: $(echo "$actual" | tr '\n' ' ')"
