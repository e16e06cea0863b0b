#!/usr/bin/env bash
# The build is reproducible: the sources copied to another path, configured into another
# build folder and built again minutes later give the same setup program, byte for byte,
# and the same payload files, artwork and package on the way.
#   second_build.sh SOURCE FIRST_BUILD WORK [cmake options of the first build...]
# WORK receives the copy and the second build (the signing check reuses it).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/on_error.sh"  # a failed command says so
source=$1 first=$2 work=$3; shift 3
checkout=$work/another/checkout/quillon
rm -rf "$work"
mkdir -p "$checkout"
tar -C "$source" --exclude=./build --exclude=./.git -cf - . | tar -C "$checkout" -xf -

cd "$checkout"
cmake --preset windows -B "$work/out" "$@" >/dev/null
cmake --build "$work/out" --target QuillonOrvalo_Setup -j "$(nproc)" >/dev/null

cd "$first"
compared=0 differing=()
for file in QuillonOrvalo_Setup.exe package.bin art/* payload/*; do
  compared=$((compared + 1))
  cmp -s "$file" "$work/out/$file" || differing+=("$file")
done
echo "compared $compared files of $first and $work/out"
[ "$compared" -ge 25 ] || { echo "too few files to compare: is $first built?"; exit 1; }
if [ ${#differing[@]} -gt 0 ]; then
  echo "differing: ${differing[*]}"
  exit 1
fi
