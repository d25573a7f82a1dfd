#!/usr/bin/env bash
# Sets everything up, builds both targets and runs the x86_64 tests under a
# private Wine prefix and Xvfb. Extra arguments go to ctest (e.g. -R Config).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" x86_64
"$root/scripts/build.sh" i686
"$root/scripts/check-layers.sh"
"$root/scripts/check-exports.sh" "$root/build/i686"
"$root/scripts/check-imports.sh" "$root/build/x86_64" "$root/build/i686"

export BUILD_DIR="$root/build/x86_64"
. "$root/scripts/wine-env.sh"
. "$root/scripts/xvfb.sh"
xvfb_start
trap 'wine_stop; xvfb_stop' EXIT
wine_start
cd "$BUILD_DIR"
ctest --output-on-failure "$@"
