#!/usr/bin/env bash
# qlpack from the outside: a package round trip, and bad input refused with one error line,
# a non-zero exit and nothing half-written.
#   qlpack_cli.sh QLPACK NAMES-SOURCE (the table of the shipped names, read for the file names)
set -uo pipefail
qlpack=$1
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
failures=0
check() { if eval "$2"; then echo "ok - $1"; else echo "FAIL - $1"; ((failures += 1)); fi; }
refused() { # refused WHAT COMMAND...: non-zero exit and exactly one line on stderr
  local what=$1; shift
  "$@" >/dev/null 2>"$work/err"; local code=$?
  check "$what is refused" "[ $code -ne 0 ] && [ \$(wc -l < '$work/err') -eq 1 ]"
}

mapfile -t names < <(grep -oP '^\s*"\K[^"]+(?=",$)' "$2")
mkdir "$work/in"
for i in "${!names[@]}"; do head -c $((i * 997 + 1)) /dev/urandom > "$work/in/${names[$i]}"; done

"$qlpack" build "$work/in" "$work/pkg"
check "verify passes all 23 entries" "'$qlpack' verify '$work/pkg' >/dev/null"
check "list prints 23 entries" "[ \$('$qlpack' list '$work/pkg' | wc -l) -eq 23 ]"
"$qlpack" extract "$work/pkg" "$work/out"
check "extract is byte-identical" "diff -r '$work/in' '$work/out' >/dev/null"

refused "a missing package" "$qlpack" verify "$work/nothing"
rm "$work/in/${names[18]}"
refused "a folder without all 23 files" "$qlpack" build "$work/in" "$work/pkg2"
check "nothing half-written by a failed build" "[ \"\$(ls '$work' | xargs)\" = 'err in out pkg' ]"
head -c 5000 "$work/pkg" > "$work/short"
refused "a truncated package" "$qlpack" verify "$work/short"
refused "extraction of a truncated package" "$qlpack" extract "$work/short" "$work/out2"
check "nothing extracted from a truncated package" "[ -z \"\$(ls -A '$work/out2' 2>/dev/null)\" ]"
# The last byte changed, whatever it was.
{ head -c -1 "$work/pkg"; tail -c 1 "$work/pkg" | tr '\0-\377' '\1-\377\0'; } > "$work/flipped"
refused "a package with a damaged byte" "$qlpack" verify "$work/flipped"
head -c 100000 /dev/zero > "$work/foreign"
refused "a foreign file" "$qlpack" verify "$work/foreign"
check "an unknown command fails" "! '$qlpack' pack '$work/pkg' 2>/dev/null"

[ $failures -eq 0 ]
