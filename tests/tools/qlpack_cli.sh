#!/usr/bin/env bash
# qlpack from the outside: a package round trip, and bad input refused with one error line,
# a non-zero exit and nothing half-written.
set -uo pipefail
qlpack=$1
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
failures=0
check() { if eval "$2"; then echo "ok - $1"; else echo "FAIL - $1"; failures=$((failures + 1)); fi; }
refused() { # refused WHAT COMMAND...: non-zero exit and exactly one line on stderr
  local what=$1; shift
  "$@" >/dev/null 2>"$work/err"; local code=$?
  check "$what is refused" "[ $code -ne 0 ] && [ \$(wc -l < '$work/err') -eq 1 ]"
}

names=(readme.txt QuillonOrvalo.exe QuillonOrvalo_x64.exe NaltaScreen.exe qlorvalovaio64_win10.cat
  qlorvalovaio64_win10.inf qlorvalovaio64_win10.sys qlorvalovaio64arm_win10.sys
  QLOrvaloVAIO_ControlPanel.exe QLOrvaloVAIO_Setup_x64.exe qlorvalo_vasio8_driver.dll
  qlorvalo_vasio8_driver64.dll qlorvalo_vasio64A_driver.dll qlorvalo_vasio64A_driver64.dll
  qlorvalo_vasio64B_driver.dll qlorvalo_vasio64B_driver64.dll qlorvalo_vasio128_driver.dll
  qlorvalo_vasio128_driver64.dll qlregsvr64.exe QuillonOrvalo_72x72.png
  QuillonOrvaloLogo_72x72.png QuillonLogoBlack_72x72.png QuillonLogoWhite_72x72.png)
mkdir "$work/in"
for i in "${!names[@]}"; do head -c $((i * 997 + 1)) /dev/urandom > "$work/in/${names[$i]}"; done

"$qlpack" build "$work/in" "$work/pkg"
check "build writes a package" "[ -s '$work/pkg' ]"
check "verify passes all 23 entries" "'$qlpack' verify '$work/pkg' >/dev/null"
check "list prints 23 entries" "[ \$('$qlpack' list '$work/pkg' | wc -l) -eq 23 ]"
"$qlpack" extract "$work/pkg" "$work/out"
check "extract is byte-identical" "diff -r '$work/in' '$work/out' >/dev/null"

refused "a missing package" "$qlpack" verify "$work/nothing"
rm "$work/in/qlregsvr64.exe"
refused "a folder without all 23 files" "$qlpack" build "$work/in" "$work/pkg2"
check "nothing half-written after a failed build" "[ ! -e '$work/pkg2' ] && [ -z \"\$(ls '$work' | grep -v -E '^(in|out|pkg|err)$')\" ]"
head -c 5000 "$work/pkg" > "$work/short"
refused "a truncated package" "$qlpack" verify "$work/short"
refused "extraction of a truncated package" "$qlpack" extract "$work/short" "$work/out2"
check "nothing extracted from a truncated package" "[ ! -e '$work/out2' ] || [ -z \"\$(ls -A '$work/out2')\" ]"
cp "$work/pkg" "$work/flipped"
printf '\xff' | dd of="$work/flipped" bs=1 seek=$(( $(stat -c %s "$work/pkg") - 1 )) conv=notrunc 2>/dev/null
refused "a package with a damaged byte" "$qlpack" verify "$work/flipped"
head -c 100000 /dev/zero > "$work/foreign"
refused "a foreign file" "$qlpack" verify "$work/foreign"
check "an unknown command fails" "! '$qlpack' pack '$work/pkg' 2>/dev/null"

[ $failures -eq 0 ]
