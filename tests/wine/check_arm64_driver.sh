#!/usr/bin/env bash
# The ARM64 VAIO driver cannot be loaded here, so its image is read with LLVM's reader: an
# ARM64 kernel-mode image whose entry is DriverEntry (as its link map places it), importing
# from the kernel alone, with unwind data for its functions, no section both writable and
# executable (memory integrity refuses such a driver) and a zero time stamp; and the driver
# package's catalog lists it with its digest.
#   check_arm64_driver.sh DRIVER LINK_MAP CATALOG
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/on_error.sh"  # a failed command says so
driver=$1 map=$2 catalog=$3
fail() { echo "${driver##*/}: $*"; exit 1; }
image=$(llvm-readobj --file-headers --sections --coff-imports "$driver")
field() { awk -v name="$1:" '$1 == name { print $2; exit }' <<<"$image"; }

[ "$(field Machine)" = IMAGE_FILE_MACHINE_ARM64 ] || fail "machine $(field Machine)"
[ "$(field Subsystem)" = IMAGE_SUBSYSTEM_NATIVE ] || fail "subsystem $(field Subsystem)"
grep -q 'TimeDateStamp: .*(0x0)$' <<<"$image" || fail "time stamp not zero"
entry=$(field AddressOfEntryPoint)
driver_entry=$(awk '$NF == "DriverEntry" { print "0x" $1; exit }' "$map")
[ -n "$driver_entry" ] && (( entry == driver_entry )) ||
  fail "entry $entry is not DriverEntry (${driver_entry:-not in $map})"
imports=$(awk '/^Import \{/ { dll = 1 } dll && $1 == "Name:" { print tolower($2); dll = 0 }' \
  <<<"$image")
outside=$(grep -v -x -E 'ntoskrnl\.exe|hal\.dll' <<<"$imports" || true)
[ -z "$outside" ] || fail "imports from $outside"
unwind=$(($(field ExceptionTableSize) / 8))
(( unwind > 0 )) || fail "no unwind data"
writable_code=$(awk '/Name: \./ { name = $2 } /IMAGE_SCN_MEM_EXECUTE/ { x[name] = 1 }
  /IMAGE_SCN_MEM_WRITE/ { w[name] = 1 } END { for (n in x) if (n in w) print n }' <<<"$image")
[ -z "$writable_code" ] || fail "writable and executable: $writable_code"
digest=$(md5sum "$driver" | awk '{ print toupper($1) }')
strings -el "$catalog" | grep -A1 -x "$digest" | grep -q -x "${driver##*/}" ||
  fail "not in ${catalog##*/} with digest $digest"
echo "${driver##*/}: ARM64, native, entry DriverEntry ($entry), imports only" \
  "$(tr '\n' ' ' <<<"$imports")($(grep -c 'Symbol:' <<<"$image") functions)," \
  "$unwind unwind entries, no writable code, time stamp 0, in the catalog"
