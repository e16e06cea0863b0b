#!/usr/bin/env bash
# The setup program must run on a bare Windows and import only KnownDLLs: the loader binds
# static imports before any of its code runs, and takes any other library from the program's
# own folder first (a downloads folder). The rest is loaded at run time from the system folder.
# And it is an i386 GUI program with address-space randomisation (with the relocations that it
# needs), no-execute data and terminal-server awareness.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/on_error.sh"  # a failed command says so
allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|setupapi|msvcrt|shlwapi|ntdll)\.dll$'
file "$1" | grep -q 'PE32 executable (GUI) Intel 80386' || { echo "not a PE32 GUI program: $1"; exit 1; }
headers=$(objdump -p "$1")
bad=$(awk '/DLL Name:/ {print tolower($3)}' <<<"$headers" | grep -v -E "$allowed" || true)
if [ -n "$bad" ]; then echo "unexpected imports: $bad"; exit 1; fi

flags=$((16#$(awk '$1 == "DllCharacteristics" { print $2; exit }' <<<"$headers")))
for flag in DYNAMIC_BASE:0x40 NX_COMPAT:0x100 TERMINAL_SERVER_AWARE:0x8000; do
  (( flags & ${flag#*:} )) || { echo "missing ${flag%%:*}"; exit 1; }
done
objdump -h "$1" | grep -q ' \.reloc ' || { echo "no relocations: the image cannot move"; exit 1; }
