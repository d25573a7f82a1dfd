#!/usr/bin/env bash
# Sets everything up, builds the x86_64 program and starts Velmora.exe under
# Wine, in build/x86_64's private prefix, on your X display.
#   scripts/run.sh [arguments for Velmora, e.g. /auto]
# Without an X display: run it under a virtual one, e.g.
#   xvfb-run -a scripts/run.sh            (nothing to see; for a look at the
#   scripts/screenshots.sh                 window, save screenshots instead)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ -z "${DISPLAY:-}" ]; then
  cat >&2 <<'MSG'
run: there is no X display ($DISPLAY is empty), so the window cannot be shown.
  - On a desktop, run this from a terminal of your session.
  - Over ssh, connect with X forwarding (ssh -X) and run it again.
  - Without any screen: `xvfb-run -a scripts/run.sh` runs it on a virtual
    display, and `scripts/screenshots.sh` saves pictures of every view into
    build/screenshots for you to look at.
MSG
  exit 1
fi

"$root/scripts/setup.sh"
"$root/scripts/build.sh" x86_64 "$root/build/x86_64" Velmora

export BUILD_DIR="$root/build/x86_64"
. "$root/scripts/wine-env.sh"
trap wine_stop EXIT
wine_start
cd "$BUILD_DIR/bin"
wine Velmora.exe "$@"
