#!/usr/bin/env bash
# scripts/on_error.sh: a failed command that ends a script under set -e is named once, with its
# file, line, function and status; the failures that a script expects (conditions, substitutions
# and subshells whose status it tests, commands under set +e) print nothing.
#   on_error_reports.sh ON_ERROR_SH
set -uo pipefail
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
script=$work/script.sh failures=0
expect() { # expect WHAT STATUS STDERR BODY: the script ends with STATUS, printing STDERR
  printf 'source "%s"\nset -euo pipefail\nf() { false; }\n%s\n' "$ON_ERROR" "$4" >"$script"
  local err; err=$(bash "$script" 2>&1 >/dev/null); local status=$?
  if [ "$status" = "$2" ] && [ "$err" = "$3" ]; then echo "ok - $1"; else
    echo "FAIL - $1: status $status, stderr '$err'"; failures=$((failures + 1)); fi
}
ON_ERROR=$1 at="at $script"
expect "a command failing in a function" 1 "error: 'false' failed with status 1 $at:3 in f" f
expect "a failing substitution" 4 "error: 'x=\$(exit 4)' failed with status 4 $at:4" \
  'x=$(exit 4)'
expect "a failing pipeline" 3 "error: 'true' failed with status 3 (pipeline: 3 0) $at:4" \
  '(exit 3) | true'
expect "expected failures are quiet" 0 "" \
  'if f; then :; fi; f || :; ! true; x=$(f; echo); x=$(f) || :; (f) || :; : < <(f)
  set +e; f; set -e'
[ "$failures" = 0 ]
