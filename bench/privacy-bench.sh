#!/usr/bin/env bash
# Times the privacy analysis under Wine beside a native find over the same
# tree: 100,000 files in 2,000 folders under the Internet cache and History
# folders of the prefix, plus 10,000 registry values (TypedURLs and
# RecentDocs). AnalyzeSelection runs with PauseSteps off and a real message
# pump. Target: within 4 times the find time.
#   bench/privacy-bench.sh [build dir]     (default: build/x86_64)
# Builds the x86_64 target there first (scripts/build.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir="${1:-$root/build/x86_64}"
case "$dir" in /*) ;; *) dir="$root/$dir" ;; esac
"$root/scripts/build.sh" x86_64 "$dir" >/dev/null
export BUILD_DIR="$dir"
. "$root/scripts/wine-env.sh"
cd "$dir/bin"
trap 'wine ./privacy_bench.exe clean >/dev/null 2>&1 || true; wine_stop' EXIT
wine_start
echo "privacy-bench: $(nproc) CPUs, $(wine --version), $dir"

mapfile -t planted < <(wine ./privacy_bench.exe plant | tr -d '\r')
unix=()
for p in "${planted[@]}"; do unix+=("$(winepath -u "$p" 2>/dev/null)"); done
echo "planted: ${planted[*]}"

best_find=""
for run in 1 2 3; do
  start=$(date +%s.%N)
  files=$(find "${unix[@]}" -type f | wc -l)
  t=$(echo "$(date +%s.%N) - $start" | bc)
  echo "find run $run: ${t} s, $files files"
  if [ -z "$best_find" ] || [ "$(echo "$t < $best_find" | bc)" = 1 ]; then best_find=$t; fi
done

best_scan=""
for run in 1 2 3; do
  read -r t items registry lines < <(wine ./privacy_bench.exe run | tr -d '\r')
  echo "AnalyzeSelection run $run: ${t} s, ItemCount $items, RegistryItemCount $registry, $lines report lines"
  if [ -z "$best_scan" ] || [ "$(echo "$t < $best_scan" | bc)" = 1 ]; then best_scan=$t; fi
done
best_walk=""
for run in 1 2 3; do
  read -r t files < <(wine ./privacy_bench.exe walk | tr -d '\r')
  echo "bare FindFirstFileExW listing under Wine, run $run: ${t} s, $files files"
  if [ -z "$best_walk" ] || [ "$(echo "$t < $best_walk" | bc)" = 1 ]; then best_walk=$t; fi
done
echo "best find: ${best_find} s; best AnalyzeSelection: ${best_scan} s; best bare listing: ${best_walk} s"
echo "bare listing alone: $(echo "scale=2; $best_walk / $best_find" | bc) x find"
echo "ratio: $(echo "scale=2; $best_scan / $best_find" | bc) x find (target: within 4x)"
