# Sourced by the scripts: the private Wine prefix of a build tree and the
# persistent server around a test run. Needs BUILD_DIR set.
export WINEPREFIX="${WINEPREFIX:-$BUILD_DIR/wineprefix}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
# Without these the first boot tries to fetch Mono and Gecko and stalls.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
# Wine maps the recycle bin to $XDG_DATA_HOME/Trash and the user folders
# (Desktop, Documents, ...) to $HOME: both live inside the build tree, so
# nothing a test, benchmark or script does under Wine reaches the user's
# own trash or files. (setup.sh and fetch-sqlite.sh run before this is
# sourced and keep the real HOME for the SQLite cache.)
export HOME="$BUILD_DIR/winehome"
export XDG_DATA_HOME="$HOME/.local/share" XDG_CONFIG_HOME="$HOME/.config" XDG_CACHE_HOME="$HOME/.cache"
wine_redirect_home() {
  mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" # Wine needs HOME to exist
  # A prefix made before the redirection links its user folders to the real
  # home: point them into the build tree.
  local link
  for link in "$WINEPREFIX"/drive_c/users/*/*; do
    [ -L "$link" ] || continue
    case "$(readlink "$link")" in "$BUILD_DIR"/*) ;; *) ln -sfn "$HOME" "$link" ;; esac
  done
}

wine_start() {
  mkdir -p "$WINEPREFIX"
  wine_redirect_home
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
