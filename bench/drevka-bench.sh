#!/usr/bin/env bash
# Times Drevka's two history repairs on a large profile under Wine:
# RepairMozHis on a Firefox 3 places.sqlite (200,000 places, 1,000,000
# visits, 5,000 bookmarks) and RepairChromeHis on a Chrome profile (200,000
# urls, 1,000,000 visits, a 1 MB Bookmarks file). Target: each under 10 s.
#   bench/drevka-bench.sh [build dir]     (default: build/x86_64)
# Builds the x86_64 target there first (scripts/build.sh), then runs
# drevka_bench.exe, which builds the databases with SQLite and calls the
# exports through Drevka.dll (LoadLibraryW + GetProcAddress) as the program
# does.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir="${1:-$root/build/x86_64}"
case "$dir" in /*) ;; *) dir="$root/$dir" ;; esac
"$root/scripts/build.sh" x86_64 "$dir" >/dev/null
export BUILD_DIR="$dir"
. "$root/scripts/wine-env.sh"
trap wine_stop EXIT
wine_start
cd "$dir/bin"
echo "drevka-bench: $(nproc) CPUs, $(wine --version), $dir"
wine ./drevka_bench.exe
