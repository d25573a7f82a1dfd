#!/usr/bin/env bash
# Checks that Drevka.dll of a build (either target) exports its functions by
# plain name (on i686: no stdcall decoration) at the agreed ordinals
# (scripts/drevka-exports.txt, "<ordinal> <name>" lines), and that its export
# directory names it "Drevka.dll".
#
# objdump -p prints the export directory like this (binutils 2.40):
#   Name 				00059078 Drevka.dll
#   Export Address Table -- Ordinal Base 1
#   ...
#   [Ordinal/Name Pointer] Table
#   	[   3] RepairChromeCk
# where the bracketed number is the ordinal less the ordinal base. Some
# binutils versions print "[   3] +base[   4] RepairChromeCk" instead, with
# the biased ordinal given; both forms are read.
set -euo pipefail
dir="${1:?build dir}"
dll="$dir/bin/Drevka.dll"
[ -f "$dll" ] || { echo "check-exports: no $dll yet, skipped"; exit 0; }
expected="$(dirname "$0")/drevka-exports.txt"
# The x86_64 objdump reads both PE32 and PE32+.
dump=$(x86_64-w64-mingw32-objdump -p "$dll")

actual=$(awk '
  /Ordinal Base/ { for (i = 1; i <= NF; i++) if ($i == "Base") base = $(i + 1) }
  /\[Ordinal\/Name Pointer\] Table/ { t = 1; next }
  t && /^[ \t]*$/ { exit }
  t && /^[ \t]*\[/ {
    line = $0
    sub(/^[ \t]*\[[ \t]*/, "", line)
    idx = line; sub(/\].*/, "", idx)
    sub(/^[0-9]+\][ \t]*/, "", line)
    if (line ~ /^\+base\[/) {
      ord = line; sub(/^\+base\[[ \t]*/, "", ord); sub(/\].*/, "", ord)
      sub(/^\+base\[[ \t]*[0-9]+\][ \t]*/, "", line)
    } else {
      ord = idx + base
    }
    n = split(line, f, /[ \t]+/)
    print ord, f[n]
  }' <<<"$dump" | sort -n)

[ -n "$actual" ] || { echo "check-exports: no export table found in $dll" >&2; exit 1; }
module=$(awk '/^Name[ \t]/ { print $NF; exit }' <<<"$dump")
if [ "$module" != "Drevka.dll" ]; then
  echo "check-exports: export directory of $dll names \"$module\", not Drevka.dll" >&2
  exit 1
fi
if [ -f "$expected" ] && ! diff <(grep -v '^[[:space:]]*\(#\|$\)' "$expected" | sort -n) <(echo "$actual"); then
  echo "check-exports: export table of $dll differs from $expected" >&2
  exit 1
fi
echo "check-exports: $dll exports: $(echo "$actual" | tr '\n' ' ')"
