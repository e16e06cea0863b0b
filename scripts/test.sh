#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: native unit tests (plain,
# under AddressSanitizer+UndefinedBehaviorSanitizer, concurrency under ThreadSanitizer), the
# package fuzzer for a bounded time, then the Windows build with its end-to-end tests under Wine.
set -uo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh || exit 1
jobs=$(nproc)
passed=0; failed=0; failures=()
stage() { # stage NAME command...
  local name=$1; shift
  echo "=== $name"
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); failures+=("$name"); fi
}
preset() { # configure, build and test one preset
  cmake --preset "$1" >/dev/null && cmake --build --preset "$1" -j "$jobs" &&
    { [ "$1" = fuzz ] || ctest --preset "$1" -j "${2:-$jobs}"; }
}
stage "native unit tests" preset native
stage "unit tests under ASan+UBSan" preset sanitize
stage "concurrency under TSan" preset threads
stage "package fuzzer" bash -c 'cmake --preset fuzz >/dev/null && cmake --build --preset fuzz -j '"$jobs"' && fuzz/run.sh build/fuzz'
stage "windows build and Wine tests" preset windows 1
echo
[ $failed -eq 0 ] || echo "failed stages: ${failures[*]}"
echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
