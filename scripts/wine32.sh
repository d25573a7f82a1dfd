#!/usr/bin/env bash
# 32-bit Wine for the i686 test programs: installs Debian's wine32 (adding the
# i386 architecture first) unless it is there. Exits 0 when 32-bit Wine can
# run programs; otherwise prints one line saying why and exits 1.
# VELMORA_WINE32=no leaves the machine as it is (no i686 test run).
set -uo pipefail
say_no() { echo "32-bit tests: NOT RUN, $*. (README: \"32-bit tests\")"; exit 1; }

[ -x /usr/lib/wine/wine ] && exit 0
[ "${VELMORA_WINE32:-}" = no ] && say_no "32-bit Wine is not installed and VELMORA_WINE32=no"
if [ "$(id -u)" != 0 ]; then
  sudo -n true 2>/dev/null || say_no "installing wine32 needs root (or sudo without a password)"
  as_root() { sudo -n "$@"; }
else
  as_root() { "$@"; }
fi
[ "$(dpkg --print-architecture)" = amd64 ] || say_no "wine32 comes with the i386 architecture of an amd64 Debian, this is $(dpkg --print-architecture)"

log=$(mktemp)
trap 'rm -f "$log"' EXIT
started=$(date +%s)
export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386 >>"$log" 2>&1 || say_no "dpkg --add-architecture i386 failed: $(tail -n1 "$log")"
  as_root apt-get update -qq >>"$log" 2>&1 || say_no "apt-get update failed: $(grep -m1 '^E:' "$log" || tail -n1 "$log")"
fi
if ! as_root apt-get install -y -qq --no-install-recommends wine32:i386 >>"$log" 2>&1; then
  # apt's own reason, e.g. i386 packages that do not match the installed amd64 ones
  reason=$(grep -m1 -E '^E:|Depends:|Breaks:' "$log" | sed 's/^ *//')
  say_no "apt-get install wine32:i386 failed: ${reason:-$(tail -n1 "$log")}"
fi
[ -x /usr/lib/wine/wine ] || say_no "wine32:i386 installed but /usr/lib/wine/wine is missing"
echo "wine32: installed in $(($(date +%s) - started)) s"
