# Sourced by the scripts: the private Wine prefix of a build tree and the
# persistent server around a test run. Needs BUILD_DIR set.
export WINEPREFIX="${WINEPREFIX:-$BUILD_DIR/wineprefix}"
# VELMORA_WINEARCH=win32 makes a 32-bit prefix (the i686 test programs).
export WINEARCH="${VELMORA_WINEARCH:-win64}"
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
  wine_prefix_check || return 1
  mkdir -p "$WINEPREFIX"
  wine_redirect_home
  # Booting before ctest keeps Wine's service processes from inheriting
  # ctest's output pipe (ctest would wait for them forever).
  # A server already running for this prefix (left by a benchmark or an
  # earlier run) is used as it is: wineserver -p then exits with 2.
  wineserver -p 2>/dev/null || [ $? = 2 ]
  wine wineboot -u </dev/null >/dev/null 2>&1 || true
  wine_prefix_probe || return 1
  # Without a window manager, unmanaged windows hide and show at once
  # instead of waiting for one that never answers.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 || true
}

wine_stop() {
  wineserver -k 2>/dev/null || true
}

# --- a prefix that the installed Wine can no longer run ---------------------
# A prefix made while only 64-bit Wine was installed stops working once wine32
# is added ("could not load kernel32.dll"). Each prefix notes which Wine made
# it; one made by another Wine, or one that starts no program, is made anew.
# Only a prefix inside the build tree is ever deleted.
wine_maker() { echo "$WINEARCH $([ -x /usr/lib/wine/wine ] && echo wine32+wine64 || echo wine64)"; }
wine_prefix_renew() {
  echo "wine-env: $1; making $WINEPREFIX anew"
  case "$WINEPREFIX" in
    "${BUILD_DIR:?}"/*) ;;
    *) echo "wine-env: $WINEPREFIX is outside $BUILD_DIR: delete or fix it yourself" >&2; return 1 ;;
  esac
  wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
}
wine_prefix_check() {
  local stamp="$WINEPREFIX/velmora-wine.txt"
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" != "$(wine_maker)" ]; then
    wine_prefix_renew "it was made by $(cat "$stamp"), the Wine now installed is $(wine_maker)"
  fi
}
wine_prefix_probe() {
  local said
  said=$(wine cmd.exe /c echo velmora-wine-ok </dev/null 2>&1) || true
  if [[ "$said" != *velmora-wine-ok* ]]; then
    wine_prefix_renew "the prefix starts no program (${said//$'\n'/ })" || return 1
    wineserver -p
    wine wineboot -u </dev/null >/dev/null 2>&1 || true
    said=$(wine cmd.exe /c echo velmora-wine-ok </dev/null 2>&1) || true
    if [[ "$said" != *velmora-wine-ok* ]]; then
      echo "wine-env: a new prefix starts no program either: ${said}" >&2
      return 1
    fi
  fi
  wine_maker >"$WINEPREFIX/velmora-wine.txt"
}
