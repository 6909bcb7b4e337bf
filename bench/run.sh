#!/usr/bin/env bash
# Runs the benchmarks side by side under Wine and prints each measure with
# its ratio against its named baseline. Where the machine runs 32-bit
# programs, the 32-bit launcher is measured against baselines built for 32
# bits; elsewhere the 64-bit launcher (BUILD/x64) against 64-bit baselines.
#   run.sh [BUILD]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/tools/launchers.sh"
if machine_runs_32bit; then
  export TEST_WINE_ARCH=x86
  echo "Benchmarking the 32-bit launcher (i686, $build) against 32-bit baselines."
else
  export TEST_WINE_ARCH=x64
  build=$build/x64
  echo "Benchmarking the 64-bit launcher (x86_64, $build) against 64-bit baselines:" \
       "this machine cannot run 32-bit Linux programs."
fi
export TEST_WINE_TEMPLATE=$build/wine/template
winpath() { echo "Z:$1" | sed 's|/|\\|g'; }
run() { "$here/tests/support/wine-run.sh" "$@" | tr -d '\r'; }

echo "== start-up: process start to first visible window (ms; median of 5 rounds of 5, taken in turn)"
measure() { run "$build/bench/bench_startup_timer.exe" 5 "$(winpath "$1")"; }
median() { printf '%s\n' "$@" | sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
empties=() floors=() wizards=()
for round in 1 2 3 4 5; do
  empties+=("$(measure "$build/bench/bench_empty_window.exe")")
  floors+=("$(measure "$build/bench/bench_startup_floor.exe")")
  wizards+=("$(measure "$build/tests/launchers/single/setup.exe")")
done
empty=$(median "${empties[@]}") floor=$(median "${floors[@]}") wizard=$(median "${wizards[@]}")
printf '  empty windowed program (baseline)  %8.1f ms\n' "$empty"
printf '  floor: required steps only         %8.1f ms   ratio %.2f   difference %+.1f ms\n' \
  "$floor" "$(echo "$floor / $empty" | bc -l)" "$(echo "$floor - $empty" | bc -l)"
printf '  launcher wizard                    %8.1f ms   ratio %.2f   difference %+.1f ms   over the floor %+.1f ms\n' \
  "$wizard" "$(echo "$wizard / $empty" | bc -l)" "$(echo "$wizard - $empty" | bc -l)" "$(echo "$wizard - $floor" | bc -l)"
# Each further benchmark runs even when an earlier one reported a failure.
status=0
for extra in "$here"/bench/*.bench.sh; do
  [ -e "$extra" ] || continue
  bash "$extra" "$build" || status=1
done
exit $status
