#!/usr/bin/env bash
# Makes sqlite3.c/sqlite3.h from Debian's sqlite3 source package and caches
# them in $VELMORA_CACHE (default ~/.cache/velmora/sqlite). Prints nothing
# when the cache is already filled.
set -euo pipefail
cache="${VELMORA_CACHE:-$HOME/.cache/velmora}/sqlite"
[ -f "$cache/sqlite3.c" ] && [ -f "$cache/sqlite3.h" ] && exit 0

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ /etc/apt/sources.list 2>/dev/null; then
  src=/etc/apt/sources.list.d/debian.sources
  if [ -f "$src" ]; then
    sed 's/^Types: deb$/Types: deb-src/' "$src" | as_root tee /etc/apt/sources.list.d/velmora-src.sources >/dev/null
  else
    echo "deb-src http://deb.debian.org/debian bookworm main" | as_root tee /etc/apt/sources.list.d/velmora-src.list >/dev/null
  fi
  as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && apt-get source -qq --download-only sqlite3 >/dev/null && dpkg-source -x --no-check sqlite3_*.dsc src >/dev/null)
(cd "$work/src" && ./configure --quiet >/dev/null && make -s sqlite3.c >/dev/null)
mkdir -p "$cache"
cp "$work/src/sqlite3.c" "$work/src/sqlite3.h" "$cache/"
echo "fetch-sqlite: amalgamation cached in $cache"
