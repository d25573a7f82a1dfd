#!/usr/bin/env bash
# ctest's emulator: runs one Windows program under the build tree's private
# Wine prefix (WINEPREFIX is exported by scripts/test.sh).
#
# The program writes into a file, not into ctest's pipe: Wine helpers it
# starts and that outlive it (a COM surrogate, dllhost.exe, on 32-bit Wine)
# would inherit the pipe and keep ctest waiting for it to close.
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
# (in the build tree, which the test scripts export as BUILD_DIR)
out=$(mktemp -p "${BUILD_DIR:-${TMPDIR:-/tmp}}" wine-run.XXXXXX)
trap 'rm -f "$out"' EXIT
status=0
wine "$@" >"$out" 2>&1 || status=$?
cat "$out"
exit $status
