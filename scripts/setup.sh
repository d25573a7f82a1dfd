#!/usr/bin/env bash
# Installs, as root on Debian 12, every package the build and the tests need,
# skipping what is already present, and caches the SQLite amalgamation.
set -euo pipefail

packages=(
  cmake make ninja-build g++-mingw-w64-x86-64 g++-mingw-w64-i686
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  mingw-w64-tools googletest wine wine64 xvfb xauth tcl
  imagemagick dpkg-dev ca-certificates python3 clang-format
  nsis zip unzip
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The SQLite amalgamation comes from Debian's source package and is cached
# outside the source tree.
"$(dirname "$0")/fetch-sqlite.sh"
