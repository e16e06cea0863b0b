#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: native unit tests (plain,
# under AddressSanitizer+UndefinedBehaviorSanitizer, concurrency under ThreadSanitizer), the
# package fuzzer for a bounded time, then the Windows build with its end-to-end tests under Wine.
# The closing line counts the tests that ran; the line before it names the program form that
# the Wine suites drove.
set -uo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh || exit 1
jobs=$(nproc)
passed=0; failed=0; skipped=0; failures=()

# Adds one ctest run's results, read from its JUnit report, to the totals.
tally() { # tally REPORT
  local counts
  counts=$(python3 - "$1" <<'PY'
import sys, xml.etree.ElementTree as tree
cases = tree.parse(sys.argv[1]).getroot().iter("testcase")
status = [("fail" if c.find("failure") is not None else
           "skip" if c.find("skipped") is not None or c.get("status") in ("notrun", "disabled") else
           "pass") for c in cases]
print(status.count("pass"), status.count("fail"), status.count("skip"))
PY
  ) || return 1
  read -r p f s <<<"$counts"
  passed=$((passed + p)); failed=$((failed + f)); skipped=$((skipped + s))
  [ "$f" = 0 ]
}
stage() { # stage NAME command...: a stage that does not reach its tests counts as one failure
  local name=$1; shift
  echo "=== $name"
  "$@" || failures+=("$name")
}
preset() { # configure, build and test one preset; the JUnit report keeps every suite's output
  local report=$PWD/build/$1/junit.xml
  rm -f "$report"
  if ! { cmake --preset "$1" >/dev/null && cmake --build --preset "$1" -j "$jobs"; }; then
    failed=$((failed + 1)); return 1
  fi
  ctest --preset "$1" -j "${2:-$jobs}" --output-junit "$report" --test-output-size-passed 1000000
  [ -f "$report" ] || { failed=$((failed + 1)); return 1; }
  tally "$report"
}
fuzz() {
  if cmake --preset fuzz >/dev/null && cmake --build --preset fuzz -j "$jobs" && fuzz/run.sh build/fuzz; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1)); return 1
  fi
}
stage "native unit tests" preset native
stage "unit tests under ASan+UBSan" preset sanitize
stage "concurrency under TSan" preset threads
stage "package fuzzer" fuzz
stage "windows build and Wine tests" preset windows 2
echo
[ ${#failures[@]} -eq 0 ] || echo "failed stages: ${failures[*]}"
source tests/wine/lib.sh
if [ "$QL_FORM" = product ]; then
  echo "Wine suites drove the product (PE32, build/windows/QuillonOrvalo_Setup.exe)"
else
  echo "Wine suites drove the x86-64 test form (build/windows/x64/QuillonOrvalo_Setup.exe): $QL_WINE32_WHY"
fi
echo "tests: $passed passed, $failed failed, $skipped skipped"
[ $failed -eq 0 ] && [ ${#failures[@]} -eq 0 ] || exit 1
