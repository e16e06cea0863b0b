#!/usr/bin/env bash
# Installs what is missing, builds the setup program and runs it under Wine. With a display
# the window opens (arguments go to the setup program); without one, under Xvfb, a fresh
# Windows 10 prefix gets a screenshot of the window and a silent install, and the script
# prints what was installed and the exit code.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/on_error.sh  # a failed command says so
bash scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)"
source tests/wine/lib.sh
if [ "$QL_FORM" = x64 ]; then
  echo "Running the x86-64 test form of the setup program, not the 32-bit product: $QL_WINE32_WHY."
fi
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  export WINEPREFIX=${WINEPREFIX:-$QL_BUILD/wine/run}
  [ -d "$WINEPREFIX" ] || ql_prefix run win10
  code=$(ql_run "$QL_SETUP" "$@"); echo "exit code: $code"
  exit 0
fi
ql_prefix run win10
bash scripts/show_run.sh "$@"
