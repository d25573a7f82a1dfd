#!/usr/bin/env bash
# Junk worker figures under Wine: the GUI thread's CPU time while it waits
# for a full analysis (target: far below the wall time, i.e. no spinning),
# the analysis rate over 20,000 planted Internet cache files, and the rate
# of their Clean through Tosmir.dll (plain, and secure on 5,000).
#   bench/junk-bench.sh [build dir]     (default: build/x86_64)
# Builds the x86_64 target there first (scripts/build.sh) unless
# JUNK_BENCH_NO_BUILD is set.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir="${1:-$root/build/x86_64}"
case "$dir" in /*) ;; *) dir="$root/$dir" ;; esac
if [ -z "${JUNK_BENCH_NO_BUILD:-}" ]; then "$root/scripts/build.sh" x86_64 "$dir" >/dev/null; fi
export BUILD_DIR="$dir"
. "$root/scripts/wine-env.sh"
cd "$dir/bin"
trap 'wine_stop' EXIT
wine_start
echo "junk-bench: $(nproc) CPUs, $(wine --version), $dir"
wine ./junk_bench.exe wait | tr -d '\r'
wine ./junk_bench.exe scan 20000 | tr -d '\r'
wine ./junk_bench.exe clean 20000 | tr -d '\r'
wine ./junk_bench.exe clean 5000 secure | tr -d '\r'
