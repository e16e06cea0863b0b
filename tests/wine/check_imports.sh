#!/usr/bin/env bash
# The setup program must run on a bare Windows and import only KnownDLLs: the loader binds
# static imports before any of its code runs, and takes any other library from the program's
# own folder first (a downloads folder). The rest is loaded at run time from the system folder.
# The libraries that those system libraries import in turn are bound before it runs too: its
# load configuration restricts them to the system folder (DependentLoadFlags, honoured from
# Windows 10 1607 on; Wine 8 ignores it, so only its presence is checked, here).
# And it is a GUI program with address-space randomisation (with the relocations that it
# needs), no-execute data and terminal-server awareness: the product, an i386 program, and
# the x86-64 test form.
#   check_imports.sh PRODUCT [X86-64-FORM]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/on_error.sh"  # a failed command says so
allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|setupapi|msvcrt|shlwapi)\.dll$'
check() { # check PROGRAM FORMAT
  file "$1" | grep -q "$2" || { echo "not a $2: $1"; exit 1; }
  headers=$(objdump -p "$1")
  bad=$(awk '/DLL Name:/ {print tolower($3)}' <<<"$headers" | grep -v -E "$allowed" || true)
  if [ -n "$bad" ]; then echo "unexpected imports in $1: $bad"; exit 1; fi
  flags=$((16#$(awk '$1 == "DllCharacteristics" { print $2; exit }' <<<"$headers")))
  for flag in DYNAMIC_BASE:0x40 NX_COMPAT:0x100 TERMINAL_SERVER_AWARE:0x8000; do
    (( flags & ${flag#*:} )) || { echo "missing ${flag%%:*} in $1"; exit 1; }
  done
  objdump -h "$1" | grep -q ' \.reloc ' || { echo "no relocations: $1 cannot move"; exit 1; }
  llvm-readobj --coff-load-config "$1" | grep -qx ' *DependentLoadFlags: 0x800' ||
    { echo "no load configuration that takes dependent libraries from system32: $1"; exit 1; }
}
check "$1" 'PE32 executable (GUI) Intel 80386'
[ -z "${2:-}" ] || check "$2" 'PE32+ executable (GUI) x86-64'
