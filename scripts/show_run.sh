#!/usr/bin/env bash
# What a person would see without a display: in the prepared prefix ($WINEPREFIX), the setup
# window as a screenshot, then a silent install (-h -i and the arguments given), its exit code
# and what it left on the system. Used by scripts/run.sh.
source "$(dirname "${BASH_SOURCE[0]}")/../tests/wine/lib.sh"
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
: "${WINEPREFIX:?prepare a prefix first (ql_prefix)}"
ql_display

TITLE="QuillonOrvalo Installation (Version 1.0.2.9)"
SHOT=$QL_BUILD/screenshots/window.png
mkdir -p "$(dirname "$SHOT")"

# The window: wait for it, let it paint, take the screenshot, close it as the close box would.
wine "$QL_SETUP" >/dev/null 2>&1 &
setup_pid=$!
for _ in $(seq 100); do xwininfo -name "$TITLE" >/dev/null 2>&1 && break; sleep 0.2; done
sleep 1
id=$(xwininfo -name "$TITLE" 2>/dev/null | awk '/Window id:/ { print $4 }')
if [ -n "$id" ]; then
  xwd -id "$id" -silent | convert xwd:- "png:$SHOT"
  echo "screenshot: $SHOT"
else
  echo "the setup window did not appear" >&2
fi
if [ -x "$QL_TESTPROGS/qlpoke.exe" ]; then
  wine "$QL_TESTPROGS/qlpoke.exe" close >/dev/null 2>&1 || true
fi
for _ in $(seq 50); do kill -0 "$setup_pid" 2>/dev/null || break; sleep 0.2; done
kill "$setup_pid" 2>/dev/null || true
wait "$setup_pid" 2>/dev/null || true

# The silent install.
echo "running: QuillonOrvalo_Setup.exe -h -i $*"
code=$(ql_run "$QL_SETUP" -h -i "$@")
[ "$code" -gt 127 ] && code=$((code - 256))  # the shell sees the low byte of the exit code
echo "exit code: $code"

folder=$(ql_c "$QL_PF/QL/QuillonOrvalo")
menu=$(ql_c "ProgramData/Microsoft/Windows/Start Menu/Programs/Quillon/QuillonOrvalo")
echo "install folder: $folder"
ls -l "$folder" 2>/dev/null | tail -n +2 || echo "  (none)"
echo "Start-menu folder: $menu"
ls -l "$menu" 2>/dev/null | tail -n +2 || echo "  (none)"
echo "uninstall entry:"
entry='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\QL:QuillonOrvalo {45CF77f2-4E06-4A39}'
wine reg query "$entry" $QL_VIEW 2>/dev/null | tr -d '\r' | grep REG_ || echo "  (none)"
