#!/usr/bin/env bash
# Saves screenshots of the window's views, in English and in German, for a
# person to look at. Runs on its own virtual display (Xvfb).
# With --dpi the prefix is set to that screen scale first (144 = 150 %,
# 192 = 200 %) and the names of the pictures end in it; the prefix goes
# back to 96 DPI afterwards.
#   scripts/screenshots.sh [--dpi N] [output folder, default build/screenshots]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dpi=""
if [ "${1:-}" = "--dpi" ]; then dpi="${2:?dpi}"; shift 2; fi
out="${1:-$root/build/screenshots}"
case "$out" in /*) ;; *) out="$PWD/$out" ;; esac
export BUILD_DIR="${BUILD_DIR:-$root/build/x86_64}"

"$root/scripts/build.sh" x86_64 "$BUILD_DIR" Velmora velmora_drive
mkdir -p "$out"

unset VELMORA_DISPLAY
. "$root/scripts/wine-env.sh"
. "$root/scripts/xvfb.sh"
. "$root/scripts/wine-dpi.sh"
xvfb_start
trap 'wine_reset_dpi; wine_stop; xvfb_stop' EXIT
wine_start
suffix=""
if [ -n "$dpi" ]; then
  wine_set_dpi "$dpi"
  suffix="-${dpi}dpi"
fi

bin="$BUILD_DIR/bin"
companion="$WINEPREFIX/drive_c/ProgramData/Kavrel/Kavrel Bastion"
drive() { (cd "$bin" && wine velmora_drive.exe "$@" | tr -d '\r'); }
shot() {
  import -window root -crop "$geometry" +repage "$out/$1$suffix.png"
  echo "saved $out/$1$suffix.png"
}

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
