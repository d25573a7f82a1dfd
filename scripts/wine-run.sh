#!/usr/bin/env bash
# ctest's emulator: runs one Windows program under the build tree's private
# Wine prefix (WINEPREFIX is exported by scripts/test.sh).
set -e
# Run outside the scripts (a bare ctest): the prefix and home of the build
# tree that holds the program, never the user's own.
if [ -z "${WINEPREFIX:-}" ]; then
  BUILD_DIR=$(cd "$(dirname "$1")/.." && pwd)
  . "$(dirname "$0")/wine-env.sh"
  wine_redirect_home
fi
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec wine "$@"
