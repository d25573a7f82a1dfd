#!/usr/bin/env bash
# Runs one Windows program under the build tree's private Wine prefix with
# the prefix set to a screen scale, then sets the prefix back to 96 DPI.
# ctest runs the window tests at 150 % with it.
#   scripts/run-at-dpi.sh <dpi> <program.exe> [arguments...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dpi="$1"; shift
if [ -z "${WINEPREFIX:-}" ]; then
  BUILD_DIR=$(cd "$(dirname "$1")/.." && pwd)
  . "$here/wine-env.sh"
  wine_redirect_home
fi
. "$here/wine-dpi.sh"
trap wine_reset_dpi EXIT
wine_set_dpi "$dpi"
status=0
"$here/wine-run.sh" "$@" || status=$?
exit "$status"
