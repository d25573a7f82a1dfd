#!/usr/bin/env bash
# Checks the include direction of the product code: a file may include
# headers of its own layer and of the layers below it, never of a layer
# above. The order is the layer list of the top CMakeLists.txt, with the
# control framework (app/controls) just below the rest of app/.
# Tests and benchmarks may include anything.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
layers=$(sed -n 's/^set(VELMORA_LAYERS \(.*\))$/\1/p' CMakeLists.txt)
[ -n "$layers" ] || { echo "check-layers: no VELMORA_LAYERS in CMakeLists.txt"; exit 1; }
layers=${layers/ app/ app\/controls app}

rank_of() { # rank of the innermost layer folder that holds path, or nothing
  local path=$1 best="" len=0 i=0 l
  for l in $layers; do
    case "$path" in "$l"/*) if [ ${#l} -gt $len ]; then best=$i len=${#l}; fi ;; esac
    i=$((i + 1))
  done
  echo "$best"
}

bad=0
while IFS= read -r file; do
  from=$(rank_of "$file")
  while IFS= read -r inc; do
    to=$(rank_of "$inc")
    if [ -n "$to" ] && [ "$to" -gt "$from" ]; then
      echo "check-layers: $file includes $inc, a header of a layer above its own"
      bad=1
    fi
  done < <(sed -n 's/^[ \t]*#[ \t]*include[ \t]*"\([^"]*\)".*/\1/p' "$file")
done < <(git ls-files -- $layers | grep -E '\.(cpp|h|rc)$')
[ $bad = 0 ] && echo "check-layers: every include points down or sideways ($layers)"
exit $bad
