#!/usr/bin/env bash
# Checks the release files as a user meets them, under Wine in prefixes of
# their own inside build/package-test (made anew each run):
#  - each portable zip unpacks to a program that starts;
#  - the installer installs silently (/S) into Program Files with the right
#    architecture, a Start-menu entry and an Add/Remove Programs entry with
#    the program's version and publisher; the installed program analyses
#    (/auto against a planted trace) and writes nothing beside itself;
#  - the silent uninstall removes the files, the entry and the shortcut and
#    keeps the user's settings unless given /REMOVESETTINGS;
#  - while the program runs, the installer and the uninstaller refuse.
# The installer is a 32-bit program: without 32-bit Wine only the x86_64 zip
# is checked (scripts/wine32.sh installs it). Called by CI after the tests.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
packages="$root/build/package"
declare -A builds=(
  [x86_64]="${VELMORA_BUILD_X86_64:-$root/build/x86_64}"
  [i686]="${VELMORA_BUILD_I686:-$root/build/i686}"
)

"$root/scripts/package.sh" "$packages"
# product, publisher, version, setup: what package.sh made, and from what
. "$packages/release.txt"
arches=(x86_64)
if [ -x /usr/lib/wine/wine ]; then
  arches+=(i686)
else
  echo "package-test: 32-bit Wine is not installed: the installer (a 32-bit program) and the i686 zip are not run (README: \"32-bit tests\")"
fi
for arch in "${arches[@]}"; do
  "$root/scripts/build.sh" "$arch" "${builds[$arch]}" velmora_drive
done

work="$root/build/package-test"
rm -rf "$work"
mkdir -p "$work"
passed=0 failed=0
check() { # description, then a command that succeeds when the check holds
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
    echo "package-test: ok    $what"
  else
    failed=$((failed + 1))
    echo "package-test: FAIL  $what"
  fi
}

# --- one Wine prefix per architecture ---------------------------------------
# In its own subshell: the prefix, Xvfb and the Wine server end with it.
check_in_prefix() { # arch
  local arch=$1 drive
  export BUILD_DIR="$work/$arch"
  export VELMORA_WINEARCH=$([ "$arch" = i686 ] && echo win32 || echo win64)
  export WINEPREFIX="$BUILD_DIR/wineprefix"
  # No menu entries or file associations on the host for the installed
  # program, and the user folders Wine links to stay in the build tree.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export HOME="$BUILD_DIR/home" XDG_DATA_HOME="$BUILD_DIR/home/.local/share"
  export XDG_CONFIG_HOME="$BUILD_DIR/home/.config" XDG_CACHE_HOME="$BUILD_DIR/home/.cache"
  mkdir -p "$BUILD_DIR" "$HOME"
  . "$root/scripts/wine-env.sh"
  . "$root/scripts/xvfb.sh"
  xvfb_start
  trap 'wine_stop; xvfb_stop' EXIT
  wine_start
  drive="$WINEPREFIX/drive_c"
  local driver="${builds[$arch]}/bin/velmora_drive.exe"

  # The portable zip: unpacked anywhere, the program starts.
  local portable="$drive/portable"
  mkdir -p "$portable"
  unzip -q "$packages/Quorvix-$version-$arch.zip" -d "$portable"
  local folder="$portable/Quorvix-$version-$arch"
  check "$arch zip: program, libraries, language packs and readme" \
    test -f "$folder/Velmora.exe" -a -f "$folder/Drevka.dll" -a -f "$folder/Tosmir.dll" \
    -a -f "$folder/sqlite3.dll" -a -f "$folder/Language/English.lng" -a -f "$folder/readme.txt"
  check "$arch zip: the program starts and closes" starts_and_closes "$folder" Velmora.exe

  [ -x /usr/lib/wine/wine ] || return 0 # the installer is a 32-bit program

  # The installer, silently.
  local installed="$drive/Program Files/$product"
  local key="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$product"
  wine "$setup" /S </dev/null >/dev/null 2>&1 || true
  check "$arch installer: installs the $arch program into Program Files" \
    cmp -s "$installed/Velmora.exe" "$packages/stage/Quorvix-$version-$arch/Velmora.exe"
  check "$arch installer: libraries, language packs, uninstaller" \
    test -f "$installed/Drevka.dll" -a -f "$installed/Tosmir.dll" -a -f "$installed/sqlite3.dll" \
    -a -f "$installed/Language/German.lng" -a -f "$installed/uninstall.exe"
  check "$arch installer: Start-menu entry" test -f "$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/$product.lnk"
  check "$arch installer: Add/Remove Programs entry with version $version and publisher $publisher" \
    registry_entry_says "$key" "$version" "$publisher"

  # The installed program analyses a planted trace and writes nothing beside itself.
  local mru='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\RunMRU'
  wine reg add "$mru" /v a /d 'notepad\1' /f </dev/null >/dev/null 2>&1
  wine reg add "$mru" /v MRUList /d a /f </dev/null >/dev/null 2>&1
  mkdir -p "$drive/ProgramData/$product"
  # Only "Run history" ticked.
  printf '[Velmora]\r\npzinfo=000000000000000000000000100000000000000000\r\n' \
    >"$drive/ProgramData/$product/VL_Config.ini"
  local before after
  before=$(cd "$installed" && find . -printf '%p %s %T@\n' | sort)
  check "$arch installed: /auto analyses the planted Run history" \
    analyses "C:\\Program Files\\$product\\Velmora.exe" 'Explorer\RunMRU\a'
  after=$(cd "$installed" && find . -printf '%p %s %T@\n' | sort)
  check "$arch installed: nothing written beside the program" test "$before" = "$after"
  [ "$before" = "$after" ] || diff <(echo "$before") <(echo "$after") || true

  # While the program runs, the installer and the uninstaller refuse and
  # leave it as it is.
  (cd "$installed" && exec wine Velmora.exe </dev/null >/dev/null 2>&1) &
  local program=$! code=0
  if wine "$driver" wait </dev/null >/dev/null 2>&1; then
    wine "$setup" /S </dev/null >/dev/null 2>&1 || code=$?
    check "$arch installer: refuses while the program runs (exit code 2), changes nothing" \
      test "$code" = 2 -a -f "$installed/Velmora.exe" -a -f "$installed/uninstall.exe"
    wine "$installed/uninstall.exe" /S </dev/null >/dev/null 2>&1 || true
    uninstaller_copy_ended || true
    check "$arch uninstall: refuses while the program runs, files and entry stay" \
      left_in_place "$installed" "$key"
  else
    check "$arch installed: the program starts" false
  fi
  wine "$driver" close </dev/null >/dev/null 2>&1 || true
  wait "$program" || true

  # The silent uninstall keeps the settings...
  wine "$installed/uninstall.exe" /S </dev/null >/dev/null 2>&1 || true
  check "$arch uninstall: program files removed" wait_until_gone "$installed"
  check "$arch uninstall: Add/Remove Programs entry removed" registry_entry_gone "$key"
  check "$arch uninstall: Start-menu entry removed" \
    test ! -e "$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/$product.lnk"
  check "$arch uninstall: the user's settings kept" test -f "$drive/ProgramData/$product/VL_Config.ini"
  # ...and removes them when asked.
  wine "$setup" /S </dev/null >/dev/null 2>&1 || true
  wine "$installed/uninstall.exe" /S /REMOVESETTINGS </dev/null >/dev/null 2>&1 || true
  wait_until_gone "$installed" || true
  check "$arch uninstall /REMOVESETTINGS: settings removed too" wait_until_gone "$drive/ProgramData/$product"
}

# Starts a program in its folder, waits for its window, closes it.
starts_and_closes() { # folder exe
  (cd "$1" && exec wine "$2" </dev/null >/dev/null 2>&1) &
  local program=$! shown=0
  wine "$driver" wait </dev/null >/dev/null 2>&1 && shown=1
  wine "$driver" close </dev/null >/dev/null 2>&1 || true
  wait "$program" || shown=0
  [ $shown = 1 ]
}

# Starts the program with /auto, waits for its report, and looks for a line.
analyses() { # windows path of the program, text the report must hold
  (cd "$drive" && exec wine "$1" /auto </dev/null >/dev/null 2>&1) &
  local program=$! report
  report=$(wine "$driver" report </dev/null 2>/dev/null | tr -d '\r') || true
  wine "$driver" close </dev/null >/dev/null 2>&1 || true
  wait "$program" || true
  grep -qF "$2" <<<"$report" || { echo "$report" | head -n 20; return 1; }
}

# After a refusal: the program, its uninstaller and its Add/Remove Programs
# entry are still there.
left_in_place() { # installed folder, key
  [ -f "$1/Velmora.exe" ] && [ -f "$1/uninstall.exe" ] &&
    registry_entry_says "$2" "$version" "$publisher"
}

# The uninstaller hands over to a copy of itself in the temporary folder
# (~nsu*.tmp\Un.exe) and returns at once: waits until that copy has started
# (at most 10 s) and ended (at most a minute more).
uninstaller_copy_ended() {
  for _ in $(seq 20); do
    pgrep -f '\.tmp.Un\.exe' >/dev/null && break
    sleep 0.5
  done
  for _ in $(seq 120); do
    pgrep -f '\.tmp.Un\.exe' >/dev/null || return 0
    sleep 0.5
  done
  return 1
}

# The 64-bit registry view on 64-bit Windows: `wine reg` may start the
# 32-bit reg.exe, which sees the 32-bit view.
registry_view() { [ "$VELMORA_WINEARCH" = win64 ] && echo /reg:64 || true; }
registry_entry_says() { # key version publisher
  local said
  said=$(wine reg query "$1" $(registry_view) </dev/null 2>/dev/null | tr -d '\r')
  grep -qE "^ *DisplayVersion +REG_SZ +$2\$" <<<"$said" &&
    grep -qE "^ *Publisher +REG_SZ +$3\$" <<<"$said" || { echo "$said"; return 1; }
}

registry_entry_gone() { # key: its parent is there and lists it no more
  local said
  said=$(wine reg query "${1%\\*}" $(registry_view) </dev/null 2>/dev/null) || return 1
  ! grep -qiF "$1" <<<"$said"
}

# The uninstaller runs from a copy of itself and returns at once: give the
# copy up to a minute.
wait_until_gone() {
  for _ in $(seq 120); do
    [ -e "$1" ] || return 0
    sleep 0.5
  done
  return 1
}

started=$(date +%s)
for arch in "${arches[@]}"; do
  # A subshell per prefix; its checks are counted through a file.
  (
    passed=0 failed=0
    check_in_prefix "$arch"
    echo "$passed $failed" >"$work/$arch.count"
  ) || true
  if [ -f "$work/$arch.count" ]; then
    read -r p f <"$work/$arch.count"
    passed=$((passed + p)) failed=$((failed + f))
  else
    echo "package-test: FAIL  $arch: the checks stopped early"
    failed=$((failed + 1))
  fi
done
echo "package-test: took $(($(date +%s) - started)) s"
echo "package-test: $passed passed, $failed failed"
[ "$failed" = 0 ]
