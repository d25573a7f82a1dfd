# Sourced by the scripts: the private Wine prefix of a build tree and the
# persistent server around a test run. Needs BUILD_DIR set.
export WINEPREFIX="${WINEPREFIX:-$BUILD_DIR/wineprefix}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
# Without these the first boot tries to fetch Mono and Gecko and stalls.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

wine_start() {
  mkdir -p "$WINEPREFIX"
  # Booting before ctest keeps Wine's service processes from inheriting
  # ctest's output pipe (ctest would wait for them forever).
  wineserver -p
  wine wineboot -u </dev/null >/dev/null 2>&1 || true
  # Without a window manager, unmanaged windows hide and show at once
  # instead of waiting for one that never answers.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 || true
}

wine_stop() {
  wineserver -k 2>/dev/null || true
}
