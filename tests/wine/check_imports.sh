#!/usr/bin/env bash
# The setup program must run on a bare Windows: only system DLLs may be imported.
set -euo pipefail
allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|setupapi|winmm|msvcrt|comctl32|shlwapi|ntdll)\.dll$'
file "$1" | grep -q 'PE32 executable (GUI) Intel 80386' || { echo "not a PE32 GUI program: $1"; exit 1; }
bad=$(objdump -p "$1" | awk '/DLL Name:/ {print tolower($3)}' | grep -v -E "$allowed" || true)
if [ -n "$bad" ]; then echo "unexpected imports: $bad"; exit 1; fi
echo "imports: $(objdump -p "$1" | awk '/DLL Name:/ {printf "%s ", $3}')"
