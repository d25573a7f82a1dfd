#!/usr/bin/env bash
# Quick loop for developers: builds the x86_64 target in a build folder of
# your choice and runs ctest there under its own Wine prefix and X display.
#   scripts/dev-test.sh build-mine [ctest args, e.g. -R config]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir="${1:?build dir}"; shift
case "$dir" in /*) ;; *) dir="$root/$dir" ;; esac
"$root/scripts/build.sh" x86_64 "$dir"
export BUILD_DIR="$dir"
. "$root/scripts/wine-env.sh"
. "$root/scripts/xvfb.sh"
xvfb_start
trap 'wine_stop; xvfb_stop' EXIT
wine_start
cd "$dir"
ctest --output-on-failure "$@"
