#!/usr/bin/env bash
# The setup program's own size: the file less its package (RT_RCDATA 100) and its skin
# (bitmap 101), as their resource entries give them; everything else (code, data, imports,
# relocations, headers, icon, manifest, version record, alignment) counts. Against the
# budget of 96 KB (98304 bytes).
#   bash bench/stub_size.sh [build/windows/QuillonOrvalo_Setup.exe]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/on_error.sh"  # a failed command says so
setup=${1:-build/windows/QuillonOrvalo_Setup.exe}
llvm-readobj --coff-resources "$setup" | awk -v file="$(stat -c %s "$setup")" '
  $1 == "Type:" { type = $0; sub(/.*\(ID /, "", type); sub(/\).*/, "", type) }
  $1 == "Name:" { name = $0; sub(/.*\(ID /, "", name); sub(/\).*/, "", name) }
  $1 == "DataSize:" && type == 10 && name == 100 { package += $2 }
  $1 == "DataSize:" && type == 2 && name == 101 { skin += $2 }
  END {
    if (!package || !skin) { print "no package or no skin in the program" > "/dev/stderr"; exit 1 }
    stub = file - package - skin
    printf "file %d, package %d, skin %d\n", file, package, skin
    printf "setup less package and skin: %d bytes (%.1f KB); headroom to 96 KB: %d\n",
           stub, stub / 1024, 98304 - stub }'
