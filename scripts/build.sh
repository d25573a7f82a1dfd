#!/usr/bin/env bash
# Configures and builds one target: scripts/build.sh [x86_64|i686] [build dir] [cmake targets...]
# (all targets when none is named)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
arch="${1:-x86_64}"
dir="${2:-$root/build/$arch}"
shift $(( $# < 2 ? $# : 2 ))
targets=()
[ $# -gt 0 ] && targets=(--target "$@")
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
# A compiler cache, when the machine has one, shares objects between build
# folders and checkouts.
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$dir" "${generator[@]}" "${launcher[@]}" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$arch.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$dir" -j"$(nproc)" "${targets[@]}"
