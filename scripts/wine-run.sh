#!/usr/bin/env bash
# ctest's emulator: runs one Windows program under the build tree's private
# Wine prefix (WINEPREFIX is exported by scripts/test.sh).
set -e
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec wine "$@"
