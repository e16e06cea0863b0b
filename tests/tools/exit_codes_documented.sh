#!/usr/bin/env bash
# Every exit code that the setup program can end with is listed in the README's exit-code
# table. The codes are read where they are made: the initial value and every literal stored
# in exitCode, the entry point's early returns and its startup-error constant, the window's
# decisions, and the results of the install and uninstall procedures (which become the exit
# code). Each of these places must yield a code, so that a pattern gone stale is noticed.
#   exit_codes_documented.sh README SOURCE-FOLDER
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/on_error.sh"  # a failed command says so
readme=$1 src=$2
codes=()
found() { # found WHERE PATTERN FILE...: the codes that PATTERN matches (\K before the code)
  local where=$1 pattern=$2; shift 2
  local matches; matches=$(grep -ohP -- "$pattern" "$@" || true)
  [ -n "$matches" ] || { echo "FAIL - no exit code found in $where: has the code moved?"; exit 1; }
  codes+=($matches)
}
body() { # the text of function $2 in file $1, from its definition to the closing brace
  awk -v name="$2" '$0 ~ "^[a-zA-Z].*[ *]" name "\\(" { on = 1 } on { print } on && /^}/ { exit }' "$1"
}

found "assignments to exitCode" '\bexitCode = \K-?[0-9]+(?=;)' $(find "$src" -name '*.cpp' -not -path '*/fake/*')
found "the entry point" 'return \K-?[0-9]+(?=;)|\w+_EXIT = \K-?[0-9]+' "$src/app/win32/main.cpp"
found "the window's decisions" 'exitWith\(out, \K-?[0-9]+' "$src/ui/startup_command.cpp"
for procedure in install/install.cpp:runInstall uninstall/uninstall.cpp:runUninstall; do
  found "${procedure#*:}" '(return |, )\K-?[0-9]+(?=\)*;)' \
    <(body "$src/${procedure%%:*}" "${procedure#*:}")
done

# The first cells of the table under the "Exit codes" heading.
listed=$(awk '/^#+ Exit codes/ { on = 1; next } on && /^#/ { exit }
              on && /^\| *`?-?[0-9]+`? *\|/ { gsub(/[ `|]/, "", $2); print $2 }' FS='|' "$readme")
inCode=$(printf '%s\n' "${codes[@]}" | sort -n -u)
echo "codes in the code:" $inCode
missing=$(grep -vx -F -f <(echo "$listed") <<<"$inCode" || true)
[ -z "$missing" ] || { echo "FAIL - not in the README's exit-code table:" $missing; exit 1; }
echo "ok - every exit code is listed"
