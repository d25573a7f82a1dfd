#!/usr/bin/env bash
# Saves screenshots of the window's views, in English and in German, for a
# person to look at. Runs on its own virtual display (Xvfb).
#   scripts/screenshots.sh [output folder, default build/screenshots]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="${1:-$root/build/screenshots}"
case "$out" in /*) ;; *) out="$PWD/$out" ;; esac
export BUILD_DIR="${BUILD_DIR:-$root/build/x86_64}"

"$root/scripts/build.sh" x86_64 "$BUILD_DIR" Velmora velmora_drive
mkdir -p "$out"

unset VELMORA_DISPLAY
. "$root/scripts/wine-env.sh"
. "$root/scripts/xvfb.sh"
xvfb_start
trap 'wine_stop; xvfb_stop' EXIT
wine_start

bin="$BUILD_DIR/bin"
companion="$WINEPREFIX/drive_c/ProgramData/Kavrel/Kavrel Bastion"
drive() { (cd "$bin" && wine velmora_drive.exe "$@" | tr -d '\r'); }
shot() { import -window root -crop "$geometry" +repage "$out/$1.png"; echo "saved $out/$1.png"; }

for language in English German; do
  mkdir -p "$companion"
  printf '[setting]\r\nLanguage=%s\r\n' "$language" >"$companion/config.ini"
  (cd "$bin" && wine Velmora.exe /auto) &
  velmora=$!
  geometry=$(drive wait)
  sleep 8 # the unattended analysis of the stored selection
  shot "$language-privacy"
  drive view junk && sleep 1 && shot "$language-junk"
  drive view options && sleep 2 && shot "$language-options"
  drive tab 1 && sleep 1 && shot "$language-options-cookies"
  drive close
  wait "$velmora" || true
done
rm -f "$companion/config.ini"
