# Shared by the end-to-end tests: a fresh Wine prefix per test suite, an X display, and
# small readers for files and registry values inside the prefix. Source it, then call
# ql_prefix NAME [win10].
set -euo pipefail
QL_BUILD=${QL_BUILD:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../../build/windows" && pwd)}

# The program under test comes in two forms built from the same sources: the product (PE32)
# where this machine runs 32-bit Windows programs, else a test-only x86-64 build. The few
# expectations that differ between the forms are named here, and only here:
#   QL_VIEW   the registry view that the setup's default view maps to
#   QL_PF     the program-files folder that the setup sees
#   QL_ASIO32 1 when the setup can register the 32-bit ASIO modules (a 64-bit process cannot
#             load them, so in the x86-64 form their registration fails, harmlessly)
QL_FORM=product
QL_FORM_BUILD=$QL_BUILD
QL_VIEW=/reg:32
QL_PF="Program Files (x86)"
QL_ASIO32=1
QL_SETUP=$QL_FORM_BUILD/QuillonOrvalo_Setup.exe
QL_TESTPROGS=$QL_FORM_BUILD/testprogs
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64

ql_fail() { echo "FAIL: $*" >&2; exit 1; }
ql_check() { # ql_check "what" command...
  local what=$1; shift
  if "$@"; then echo "ok - $what"; else ql_fail "$what"; fi
}

# One initialised prefix is kept as a template; each suite gets a hard-linked copy of it with
# its own registry files, which takes a fraction of a second instead of a full wineboot.
ql_template() {
  local template=$QL_BUILD/wine/template
  if [ ! -f "$template/.ready" ]; then
    rm -rf "$template"; mkdir -p "$template"
    WINEPREFIX=$template wineboot -i >/dev/null 2>&1
    WINEPREFIX=$template wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    WINEPREFIX=$template wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    WINEPREFIX=$template wineserver -w
    touch "$template/.ready"
  fi
  echo "$template"
}

ql_prefix() { # ql_prefix NAME [win10]
  local template; template=$(ql_template)
  export WINEPREFIX=$QL_BUILD/wine/$1
  [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
  cp -al "$template" "$WINEPREFIX"
  for reg in system.reg user.reg userdef.reg; do
    cp --remove-destination "$template/$reg" "$WINEPREFIX/$reg"
  done
  if [ "${2:-}" = win10 ]; then
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion' /v CurrentVersion /t REG_SZ /d 10.0 /f >/dev/null 2>&1
    winecfg -v win10 >/dev/null 2>&1
    wineserver -w
  fi
  ql_display
}

# Start Xvfb when there is no display, once per shell.
ql_display() {
  if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    local number=$((90 + RANDOM % 400))
    Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    QL_XVFB_PID=$!
    export DISPLAY=":$number"
    trap 'ql_cleanup' EXIT
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  fi
}

ql_cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "${QL_XVFB_PID:-}" ] && kill "$QL_XVFB_PID" 2>/dev/null || true
}

# Runs a Windows program and prints its exit code as a signed 32-bit number.
ql_run() {
  set +e; wine "$@" >/dev/null 2>&1; local code=$?; set -e
  echo "$code"
}

# Drive C: paths.
ql_c() { echo "$WINEPREFIX/drive_c/$1"; }

# A value from the registry, as `wine reg query` prints it (empty when missing).
ql_reg() { # ql_reg KEY VALUE [/reg:32|/reg:64]
  wine reg query "$1" /v "$2" ${3:-} 2>/dev/null | tr -d '\r' | awk -v v="$2" '
    { line=$0; sub(/^ +/, "", line); if (index(line, v " ") == 1) { sub(/^[^ ]+ +REG_[A-Z_]+ +/, "", line); print line } }'
}
