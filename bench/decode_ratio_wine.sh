#!/usr/bin/env bash
# The decoder's in-memory figure in the setup program's own build: i686, with the same
# optimisation per file as the program (the decoder's files for speed, the rest for size),
# run under Wine. Prints the same table as build/native/bench/decode_ratio.
#   bash bench/decode_ratio_wine.sh [runs]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/on_error.sh"  # a failed command says so
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build/bench-i686
mkdir -p "$out"
cxx=(i686-w64-mingw32-g++ -std=c++20 -Wall -Wextra -fno-exceptions -DNDEBUG -I"$root/src")
objects=()
for source in md5 keystream entry_codec package_writer entry_name package_names; do
  case $source in md5 | keystream | entry_codec) level=-O2 ;; *) level=-Os ;; esac
  "${cxx[@]}" "$level" -c "$root/src/package/$source.cpp" -o "$out/$source.o"
  objects+=("$out/$source.o")
done
"${cxx[@]}" -Os -c "$root/bench/decode_ratio.cpp" -o "$out/decode_ratio.o"
"${cxx[@]}" -static -s "$out/decode_ratio.o" "${objects[@]}" -o "$out/decode_ratio.exe"
export WINEPREFIX=${WINEPREFIX:-$root/build/bench-wine} WINEDEBUG=-all
wine "$out/decode_ratio.exe" "${1:-200}"
