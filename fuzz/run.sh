#!/usr/bin/env bash
# Runs the package fuzzer for about a minute from a fresh seed corpus of valid packages.
# Usage: fuzz/run.sh <build folder of the fuzz configuration>
# Exits non-zero when the fuzzer finds a crash, a sanitizer report or a broken invariant.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/on_error.sh"  # a failed command says so
[ $# -eq 1 ] || { echo "usage: $0 <build folder>" >&2; exit 2; }
build=$(cd "$1" && pwd)
target=$build/fuzz/package_fuzz
[ -x "$target" ] || { echo "missing $target: build the fuzz configuration first" >&2; exit 2; }

work=$build/fuzz/package_fuzz.run
rm -rf "$work"
mkdir -p "$work/corpus" "$work/seeds" "$work/artifacts"
QL_WRITE_SEEDS="$work/seeds" "$target"

"$target" -max_total_time=60 -max_len=16384 -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$work/artifacts/" \
    "$work/corpus" "$work/seeds"
echo "package fuzzer: no findings"
