#!/usr/bin/env bash
# Runs the benchmarks side by side under Wine and prints each measure with
# its ratio against its named baseline.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "$0")/.." && pwd)
export TEST_WINE_TEMPLATE=$build/wine/template
winpath() { echo "Z:$1" | sed 's|/|\\|g'; }
run() { "$here/tests/support/wine-run.sh" "$@" | tr -d '\r'; }

echo "== start-up: process start to first visible window (median of 15, ms)"
empty=$(run "$build/bench/bench_startup_timer.exe" 15 "$(winpath "$build/bench/bench_empty_window.exe")")
wizard=$(run "$build/bench/bench_startup_timer.exe" 15 "$(winpath "$build/tests/launchers/single/setup.exe")")
printf '  empty windowed program (baseline)  %8.1f ms\n' "$empty"
printf '  launcher wizard                    %8.1f ms   ratio %.2f   difference %+.1f ms\n' \
  "$wizard" "$(echo "$wizard / $empty" | bc -l)" "$(echo "$wizard - $empty" | bc -l)"
# Each further benchmark runs even when an earlier one reported a failure.
status=0
for extra in "$here"/bench/*.bench.sh; do
  [ -e "$extra" ] || continue
  bash "$extra" "$build" || status=1
done
exit $status
