#!/usr/bin/env bash
# Times Drevka's two history repairs on a large profile under Wine:
# RepairMozHis on a Firefox 3 places.sqlite (200,000 places, 1,000,000
# visits, 5,000 bookmarks) and RepairChromeHis on a Chrome profile (200,000
# urls, 1,000,000 visits, a 1 MB Bookmarks file). Target: each under 10 s,
# and at most 1.25 times the figures of the build before the safe-write
# rework (d2ca697; both printed).
# Then RepairMozHis of this build on today's places.sqlite (schema 77, WAL,
# 200,000 places, 1,000,000 visits, favicons.sqlite beside it), and
# RepairChromeHis on a current-schema History and Favicons (200,000 urls,
# 1,000,000 visits; this build only, median of three runs). Target: each
# under 3 s.
#   bench/drevka-bench.sh [build dir]     (default: build/x86_64)
# Builds the x86_64 target there first (scripts/build.sh), and Drevka.dll as
# it was before the journal-only write gathering (commit d2ca697, exported
# with git archive into the build dir, built there), then runs
# drevka_bench.exe, which builds the databases once with SQLite and times
# both builds on the same databases, each called through its Drevka.dll
# (LoadLibrary + GetProcAddress) as the program does: before, then after.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir="${1:-$root/build/x86_64}"
case "$dir" in /*) ;; *) dir="$root/$dir" ;; esac
before=d2ca697
"$root/scripts/build.sh" x86_64 "$dir" >/dev/null
old="$dir/drevka-before"
if [ ! -f "$old/src/CMakeLists.txt" ]; then
  mkdir -p "$old/src"
  git -C "$root" archive "$before" | tar -x -C "$old/src"
fi
"$old/src/scripts/build.sh" x86_64 "$old/build" Drevka >/dev/null
mkdir -p "$dir/bin/drevka-before"
cp "$old/build/bin/Drevka.dll" "$old/build/bin/sqlite3.dll" "$dir/bin/drevka-before/"
export BUILD_DIR="$dir"
. "$root/scripts/wine-env.sh"
trap wine_stop EXIT
wine_start
cd "$dir/bin"
echo "drevka-bench: $(nproc) CPUs, $(wine --version), $dir"
wine ./drevka_bench.exe "before ($before)=drevka-before\\" "after ($(git -C "$root" rev-parse --short HEAD))="
