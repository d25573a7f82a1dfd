#!/usr/bin/env bash
# Makes the release files from builds of both targets:
#   Quorvix-<version>-x86_64.zip, Quorvix-<version>-i686.zip   portable program folders
#   Quorvix-<version>-setup.exe   one installer: x86_64 into the 64-bit Program
#                                 Files on 64-bit Windows, i686 elsewhere
#   scripts/package.sh [output folder, default build/package]
# The builds are build/x86_64 and build/i686 (VELMORA_BUILD_X86_64 and
# VELMORA_BUILD_I686 name others); the shipped targets are brought up to date
# there first. The version is the VERSION file's, read back from the
# program's version resource together with its publisher.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="${1:-$root/build/package}"
case "$out" in /*) ;; *) out="$PWD/$out" ;; esac
declare -A builds=(
  [x86_64]="${VELMORA_BUILD_X86_64:-$root/build/x86_64}"
  [i686]="${VELMORA_BUILD_I686:-$root/build/i686}"
)
triple() { echo "$1-w64-mingw32"; }

for tool in makensis zip; do
  command -v "$tool" >/dev/null ||
    { echo "package: $tool is missing; scripts/setup.sh installs it" >&2; exit 1; }
done
version=$(head -n1 "$root/VERSION")

# One value of the program's version resource ("CompanyName", ...).
resource_value() { # arch exe name
  "$(triple "$1")-windres" -J coff -O rc -i "$2" |
    sed -n "s/^ *VALUE \"$3\", \"\(.*\)\"\r\{0,1\}$/\1/p" | head -n1
}

rm -rf "$out"
mkdir -p "$out/stage"
for arch in x86_64 i686; do
  build=${builds[$arch]}
  "$root/scripts/build.sh" "$arch" "$build" Velmora Drevka Tosmir sqlite3 language_packs
  bin="$build/bin"
  got=$(resource_value "$arch" "$bin/Velmora.exe" ProductVersion)
  if [ "$got" != "$version" ]; then
    echo "package: $bin/Velmora.exe says version \"$got\", VERSION says $version" >&2
    exit 1
  fi
  dir="$out/stage/Quorvix-$version-$arch"
  mkdir -p "$dir/Language"
  # Debug information stays in the build; users get the code alone.
  for f in Velmora.exe Drevka.dll Tosmir.dll sqlite3.dll; do
    "$(triple "$arch")-strip" --strip-debug -o "$dir/$f" "$bin/$f"
  done
  cp "$bin"/Language/*.lng "$dir/Language/"
done

x64="$out/stage/Quorvix-$version-x86_64"
x86="$out/stage/Quorvix-$version-i686"
exe="$x64/Velmora.exe"
product=$(resource_value x86_64 "$exe" ProductName)
publisher=$(resource_value x86_64 "$exe" CompanyName)
description=$(resource_value x86_64 "$exe" FileDescription)
copyright=$(resource_value x86_64 "$exe" LegalCopyright)
[ -n "$product" ] && [ -n "$publisher" ] ||
  { echo "package: $exe has no ProductName or CompanyName in its version resource" >&2; exit 1; }

fill() { printf '%s' "$1" | sed 's/[\/&]/\\&/g'; } # a value for sed's replacement
for arch in x86_64 i686; do
  dir="$out/stage/Quorvix-$version-$arch"
  sed -e "s/@PRODUCT@/$(fill "$product")/g" -e "s/@VERSION@/$version/g" -e "s/@ARCH@/$arch/g" \
    -e "s/@DESCRIPTION@/$(fill "$description")/g" -e "s/@COPYRIGHT@/$(fill "$copyright")/g" \
    -e 's/$/\r/' "$root/installer/readme.txt.in" >"$dir/readme.txt"
  (cd "$out/stage" && zip -qrX "$out/Quorvix-$version-$arch.zip" "Quorvix-$version-$arch")
done

# The uninstaller removes exactly what the installer put there: the same
# file names for both architectures.
if ! diff <(cd "$x64" && find . | sort) <(cd "$x86" && find . | sort) >/dev/null; then
  echo "package: the x86_64 and i686 folders hold different files" >&2
  exit 1
fi
{
  (cd "$x64" && find . -type f | sort) | sed 's|^\./||; s|/|\\|g; s|.*|  Delete "$INSTDIR\\&"|'
  (cd "$x64" && find . -mindepth 1 -type d | sort -r) | sed 's|^\./||; s|/|\\|g; s|.*|  RMDir "$INSTDIR\\&"|'
} >"$out/stage/uninstall-files.nsh"

setup="$out/Quorvix-$version-setup.exe"
makensis -V2 -NOCD \
  "-DPRODUCT=$product" "-DPUBLISHER=$publisher" "-DVERSION=$version" "-DCOPYRIGHT=$copyright" \
  "-DX64_DIR=$x64" "-DX86_DIR=$x86" "-DICON=$root/app/res/Velmora.ico" \
  "-DFILELIST=$out/stage/uninstall-files.nsh" "-DOUTFILE=$setup" \
  "$root/installer/Quorvix.nsi"

# What was made, for scripts/package-test.sh.
cat >"$out/release.txt" <<RELEASE
product='$product'
publisher='$publisher'
version='$version'
setup='$setup'
RELEASE

echo "package: $product $version by $publisher:"
(cd "$out" && ls -l ./*.zip ./*.exe | awk '{ printf "  %-36s %9d bytes\n", substr($NF, 3), $5 }')
