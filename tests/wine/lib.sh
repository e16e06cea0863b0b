# Shared by the end-to-end tests: a fresh Wine prefix per test suite, an X display, and
# small readers for files and registry values inside the prefix. Source it, then call
# ql_prefix NAME [win10].
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/on_error.sh"  # a failed command says so
QL_BUILD=${QL_BUILD:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/build/windows}

# Whether this machine runs 32-bit Windows programs: Wine's 32-bit loader must execute, which it
# cannot where the kernel's 32-bit emulation is off. QL_NO_32BIT=1 answers no on a machine that
# can, to drive the other form there. Sets QL_WINE32 (1 or 0) and, for no, QL_WINE32_WHY.
if [ "${QL_NO_32BIT:-0}" = 1 ]; then
  QL_WINE32=0 QL_WINE32_WHY="32-bit programs switched off by QL_NO_32BIT=1"
elif QL_WINE32_WHY=$(/usr/lib/wine/wine --version 2>&1); then
  QL_WINE32=1 QL_WINE32_WHY=""
else
  QL_WINE32=0 QL_WINE32_WHY=${QL_WINE32_WHY#*: line [0-9]*: }
  QL_WINE32_WHY="Wine's 32-bit loader cannot run here (${QL_WINE32_WHY:-no message}):"
  QL_WINE32_WHY+=" the kernel cannot run 32-bit programs"
fi

# The program under test comes in two forms built from the same sources: the product (PE32)
# where this machine runs 32-bit Windows programs, else a test-only x86-64 build of the same
# program with the same package, in a 64-bit-only Wine. The few expectations that differ
# between the forms are named here, and only here:
#   QL_VIEW   the registry view that the setup's default view maps to
#   QL_PF     the program-files folder that the setup sees
#   QL_ASIO32 1 when the setup can register the 32-bit ASIO modules (a 64-bit process cannot
#             load them, so in the x86-64 form their registration fails, harmlessly)
if [ "$QL_WINE32" = 1 ]; then
  QL_FORM=product QL_FORM_BUILD=$QL_BUILD QL_VIEW=/reg:32 QL_PF="Program Files (x86)" QL_ASIO32=1
else
  QL_FORM=x64 QL_FORM_BUILD=$QL_BUILD/x64 QL_VIEW=/reg:64 QL_PF="Program Files" QL_ASIO32=0
  # Every Wine command, wineboot and winecfg among them, goes to the 64-bit loader.
  mkdir -p "$QL_BUILD/wine/bin64"
  for command in wine wine-stable; do  # written whole, since suites run side by side
    printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$QL_BUILD/wine/bin64/$command.$$"
    chmod +x "$QL_BUILD/wine/bin64/$command.$$"
    mv -f "$QL_BUILD/wine/bin64/$command.$$" "$QL_BUILD/wine/bin64/$command"
  done
  export PATH="$QL_BUILD/wine/bin64:$PATH" WINELOADER=/usr/lib/wine/wine64
fi
QL_SETUP=$QL_FORM_BUILD/QuillonOrvalo_Setup.exe
QL_TESTPROGS=$QL_FORM_BUILD/testprogs
# The product's uninstall entry, in the setup's default view ($QL_VIEW).
QL_ENTRY='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\QL:QuillonOrvalo {45CF77f2-4E06-4A39}'
# Without winemenubuilder: the shortcuts an install saves are not mirrored into the host's menus.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" WINEARCH=win64
# Wine takes its ANSI code page from the locale: C.UTF-8 gives 1252, as Windows in English and
# most of Western Europe has, whose ANSI calls best-fit a name outside it ("Łukasz" comes out as
# "Lukasz"); and file names reach Linux in UTF-8.
export LC_ALL=C.UTF-8

ql_fail() { echo "FAIL: $*" >&2; exit 1; }
ql_check() { # ql_check "what" command...
  if "${@:2}"; then echo "ok - $1"; else ql_fail "$1"; fi
}

# A Wine command whose output is shown only when it fails, so that Wine's own message explains
# the failure instead of being swallowed.
ql_wine_step() { # ql_wine_step "what" command...
  local output
  output=$("${@:2}" 2>&1) && return 0
  printf 'FAIL: %s (%s):\n%s\n' "$1" "${*:2}" "$output" >&2
  return 1
}

# One initialised prefix per form is kept as a template; each suite gets a hard-linked copy of
# it with its own registry files, which takes a fraction of a second instead of a full wineboot.
# Suites run side by side: the first one makes the template while the others wait.
ql_template() {
  local template=$QL_BUILD/wine/template-$QL_FORM
  mkdir -p "$QL_BUILD/wine"
  (
    flock 9
    [ -f "$template/.ready" ] && exit 0
    rm -rf "$template"; mkdir -p "$template"
    export WINEPREFIX=$template
    ql_wine_step "Wine could not make a prefix" wineboot -i || true
    wineserver -w
    [ -f "$template/system.reg" ] || { echo "FAIL: no Wine prefix in $template" >&2; exit 1; }
    ql_wine_step "prefix setting" wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
    ql_wine_step "prefix setting" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f
    wineserver -w
    touch "$template/.ready"
  ) 9>"$template.lock" || return 1
  echo "$template"
}

ql_prefix() { # ql_prefix NAME [win10]
  local template; template=$(ql_template)
  [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1 || true  # the previous prefix's
  export WINEPREFIX=$QL_BUILD/wine/$1
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
  cp -al "$template" "$WINEPREFIX"
  cp --remove-destination "$template"/{system,user,userdef}.reg "$WINEPREFIX/"
  if [ "${2:-}" = win10 ]; then
    ql_wine_step "Windows version" wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion' /v CurrentVersion /t REG_SZ /d 10.0 /f
    ql_wine_step "Windows version" winecfg -v win10
    wineserver -w
  fi
  # One server for the whole suite: a program started while the previous command's server is
  # still shutting down can fail to start. It must not hold the suite's output open, and it
  # ends with the suite (or a minute after a suite that was killed).
  wineserver -p60 >/dev/null 2>&1
  trap 'ql_cleanup' EXIT
  ql_display
}

# Starts Xvfb when there is no display, once per shell. Suites that run side by side each get
# their own (QL_PRIVATE_DISPLAY=1), so that no window covers another's screenshots.
ql_display() {
  [ -n "${QL_XVFB_PID:-}" ] && return 0
  if [ "${QL_PRIVATE_DISPLAY:-0}" = 1 ] || [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    local number; number=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number" >/dev/null 2>&1 &
    QL_XVFB_PID=$!
    trap 'ql_cleanup' EXIT
    for _ in $(seq 100); do [ -s "$number" ] && break; sleep 0.1; done
    [ -s "$number" ] || { rm -f "$number"; ql_fail "Xvfb did not start"; }
    export DISPLAY=":$(head -n 1 "$number")"
    rm -f "$number"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  fi
}

ql_cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "${QL_XVFB_PID:-}" ] && kill "$QL_XVFB_PID" 2>/dev/null || true
}

# Runs a Windows program and prints its exit code as the shell sees it (0-255: -4 is 252).
ql_run() { wine "$@" >/dev/null 2>&1 && echo 0 || echo $?; }

# Takes away what an install leaves that makes the next start see the product installed: the
# uninstall entry, and the VAIO driver, whose running interface alone marks it installed.
ql_forget_install() {
  local folder; folder=$(ql_c "$QL_PF/QL/QuillonOrvalo")
  if [ -e "$folder/QLOrvaloVAIO_Setup_x64.exe" ]; then
    (cd "$folder" && ql_run QLOrvaloVAIO_Setup_x64.exe -h -u -H >/dev/null)
  fi
  wine reg delete "$QL_ENTRY" $QL_VIEW /f >/dev/null 2>&1 || true
}

# What the real VAIO setup program puts in place: "present" when its driver service, driver
# file, device, interface and endpoint entries are all there, "gone" when none of them is.
ql_vaio() { # ql_vaio present|gone
  local found="" machine='HKLM\SYSTEM\CurrentControlSet'
  [ -n "$(ql_reg "$machine\Services\QLOrvaloVAIO" ImagePath /reg:64)" ] && found+=s
  [ -e "$(ql_c windows/system32/drivers/qlorvalovaio64_win10.sys)" ] && found+=f
  reg_lacks "$machine\Enum\Root" qlorvalovaio || found+=d
  reg_lacks "$machine\Control\DeviceClasses\{66CAA746-1518-4C53-B6E6-9E550A734FD1}" \
    qlorvalovaio || found+=i
  reg_lacks 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\MMDevices\Audio' 8A1C3F52 \
    /reg:64 || found+=e
  [ "$found" = "$([ "$1" = present ] && echo sfdie)" ] || { echo "VAIO parts: '$found'" >&2; false; }
}

# A window program of the form under test runs as the package's FOLDER/NaltaScreen.exe, so
# that file is in use; returns once its window is up.
ql_hold_program() { # ql_hold_program FOLDER
  cp "$QL_TESTPROGS/qlwindow.exe" "$1/NaltaScreen.exe"
  wine "$1/NaltaScreen.exe" QLHeld0Window held 'C:\held.txt' >/dev/null 2>&1 &
  for _ in $(seq 100); do grep -qs ready "$(ql_c held.txt)" && return 0; sleep 0.1; done
  ql_fail "the program in use did not start"
}

# Drive C: paths.
ql_c() { echo "$WINEPREFIX/drive_c/$1"; }

# A value from the registry, as `wine reg query` prints it (empty when missing).
ql_reg() { # ql_reg KEY VALUE [/reg:32|/reg:64]
  { wine reg query "$1" /v "$2" ${3:-} 2>/dev/null || true; } | tr -d '\r' | awk -v v="$2" '
    { line=$0; sub(/^ +/, "", line); if (index(line, v " ") == 1) { sub(/^[^ ]+ +REG_[A-Z_]+ +/, "", line); print line } }'
}

# A string value as stored, whatever its characters: `reg query` prints in the console's code
# page, where a name outside it comes out as a look-alike too.
ql_reg_text() { # ql_reg_text KEY VALUE [/reg:32|/reg:64]
  rm -f "$(ql_c value.reg)"
  wine reg export "$1" 'C:\value.reg' /y ${3:-} >/dev/null 2>&1 || true
  iconv -f UTF-16 -t UTF-8 "$(ql_c value.reg)" 2>/dev/null | tr -d '\r' |
    sed -n "s/^\"$2\"=\"\(.*\)\"\$/\1/p" | sed 's/\\\(.\)/\1/g'
}

# Default value of a key, as `wine reg query /ve` prints it ("" when key or value is missing).
reg_default() { # reg_default KEY /reg:32|/reg:64
  wine reg query "$1" /ve "$2" 2>/dev/null | tr -d '\r' | awk '
    { line=$0; sub(/^ +/, "", line) }
    line ~ /^\(Default\) +REG_/ { sub(/^[^ ]+ +REG_[A-Z_]+ +/, "", line); print line }'
}
key_exists() { wine reg query "$1" "$2" >/dev/null 2>&1; }  # key_exists KEY /reg:32|/reg:64
key_missing() { ! key_exists "$1" "$2"; }
# reg_lacks KEY TEXT [VIEW]: nothing below KEY names TEXT, in any case. grep reads the whole
# query: under pipefail, one that stopped at the first match could end the query with SIGPIPE,
# and the check would pass.
reg_lacks() { ! wine reg query "$1" /s ${3:-} 2>/dev/null | grep -i -- "$2" >/dev/null; }

# The window driver (see tests/wine/programs/qlpoke.cpp); its exit code is qlpoke's own.
poke() { wine "$QL_TESTPROGS/qlpoke.exe" "$@" 2>/dev/null | tr -d '\r'; return "${PIPESTATUS[0]}"; }
no_box() { ! poke box - "$1" >/dev/null; }  # no_box SECONDS: no message box comes up

# Web pages go to qlurl, which notes each address in C:\urls.txt, with the name of the program
# that opened it, instead of opening a browser.
ql_url_handler() {
  local handler="\"$(winepath -w "$QL_TESTPROGS/qlurl.exe" 2>/dev/null)\" \"%1\"" view
  for view in /reg:32 /reg:64; do
    wine reg add 'HKCR\https\shell\open\command' /ve /t REG_SZ /d "$handler" /f $view >/dev/null 2>&1
  done
}

# The setup with its window, in the background: start_setup ARGS... sets SETUP_PID, then
# finish_setup [SECONDS] sets code to its exit code as the shell sees it (0-255), or to
# "running" when it has not ended after SECONDS (10). Both run in the suite's shell: only it
# can wait for the setup. Wine's messages go to QL_SETUP_ERR where it is set.
start_setup() { wine "$QL_SETUP" "$@" >/dev/null 2>"${QL_SETUP_ERR:-/dev/null}" & SETUP_PID=$!; }
finish_setup() {
  code=running
  for _ in $(seq $((${1:-10} * 10))); do
    kill -0 "$SETUP_PID" 2>/dev/null || { set +e; wait "$SETUP_PID"; code=$?; set -e; return 0; }
    sleep 0.1
  done
}
ends_with() { # ends_with WHAT CODE [SECONDS]: the windowed setup ends with CODE (0-255)
  finish_setup "${3:-10}"
  ql_check "$1 ends with $2, got $code" [ "$code" = "$2" ]
}
still_running() { sleep "${1:-1}"; kill -0 "$SETUP_PID" 2>/dev/null; }  # still_running [SECONDS]

# The install folder holds exactly the files of PAYLOAD-FOLDER (23) and the setup program's copy
# under NAME, byte for byte, and nothing else.
ql_installed_files() { # ql_installed_files PAYLOAD-FOLDER NAME SETUP-FILE
  local expected=$QL_BUILD/wine/expected-files.$$
  rm -rf "$expected" && cp -r "$1" "$expected" && cp "$3" "$expected/$2"
  diff -r "$expected" "$(ql_c "$QL_PF/QL/QuillonOrvalo")" && [ "$(ls "$expected" | wc -l)" = 24 ]
}
