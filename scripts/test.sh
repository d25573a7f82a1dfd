#!/usr/bin/env bash
# Sets everything up, builds both targets and runs the x86_64 tests under a
# private Wine prefix and Xvfb, then the i686 tests under 32-bit Wine in a
# prefix of their own (when wine32 can be installed). Extra arguments go to
# ctest (e.g. -R Config).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
# 32-bit Wine comes before any prefix is booted (see scripts/wine32.sh).
wine32=yes
wine32_note=$("$root/scripts/wine32.sh") || wine32=no
[ -z "$wine32_note" ] || echo "$wine32_note"
"$root/scripts/build.sh" x86_64
"$root/scripts/build.sh" i686
"$root/scripts/check-layers.sh"
"$root/scripts/check-exports.sh" "$root/build/i686"
"$root/scripts/check-exports.sh" "$root/build/x86_64"
"$root/scripts/check-imports.sh" "$root/build/x86_64" "$root/build/i686"

export BUILD_DIR="$root/build/x86_64"
. "$root/scripts/wine-env.sh"
. "$root/scripts/xvfb.sh"
xvfb_start
trap 'wine_stop; xvfb_stop' EXIT
wine_start
cd "$BUILD_DIR"
status=0
ctest --output-on-failure "$@" || status=$?
wine_stop

# --- 32-bit: the i686 test programs under 32-bit Wine -----------------------
if [ $wine32 = yes ]; then
  echo "32-bit tests: the i686 test programs under 32-bit Wine"
  started=$(date +%s)
  (
    export BUILD_DIR="$root/build/i686" VELMORA_WINEARCH=win32 WINEPREFIX="$root/build/i686/wineprefix"
    . "$root/scripts/wine-env.sh"
    trap wine_stop EXIT
    wine_start
    cd "$BUILD_DIR"
    ctest --output-on-failure "$@"
  ) || status=$?
  echo "32-bit tests: took $(($(date +%s) - started)) s"
else
  echo "$wine32_note"
fi
exit $status
