#!/usr/bin/env bash
# Runs the benchmarks side by side under Wine and prints each measure with
# its ratio against its named baseline. Where the machine runs 32-bit
# programs, the 32-bit launcher is measured against baselines built for 32
# bits; elsewhere the 64-bit launcher (BUILD/x64) against 64-bit baselines.
#   run.sh [BUILD]
# BENCH_BEFORE=DIR adds DIR's launchers to the start-up measure (a build of an
# earlier commit); BENCH_STARTUP_ONLY=1 runs the start-up measure alone;
# BENCH_ROUNDS sets its rounds (default 5).
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

# BENCH_BEFORE=DIR also measures DIR's launchers (the tree of an earlier
# commit built for the architecture measured here), in the same turns.
before=${BENCH_BEFORE:+$(cd "$BENCH_BEFORE" && pwd)}
for variant in single dralyn; do
  if [ -n "$before" ] && [ ! -f "$before/tests/launchers/$variant/setup.exe" ]; then
    echo "BENCH_BEFORE: $before/tests/launchers/$variant/setup.exe is missing (build its target launcher_$variant;" \
         "a commit older than the catalogue needs tests/catalogues/$variant.json copied in)" >&2
    exit 2
  fi
done
echo "== start-up: process start to first visible window (ms; median of ${BENCH_ROUNDS:-5} rounds of 5, taken in turn)"
timer=$(winpath "$build/bench/bench_startup_timer.exe")
measure() { run "$build/bench/bench_startup_timer.exe" 5 "$(winpath "$1")"; }
# The wizard over an older installation of its product (installed in the
# same fresh prefix first): the welcome page finds it and lays out its Quick
# Install offer before the first window shows.
older=$build/fixtures/dralyn2023.msi
measure_upgrade() { run cmd /c "start /wait msiexec /i $(winpath "$older") /qn & $timer 5 $(winpath "$1")"; }
median() { printf '%s\n' "$@" | sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
empties=() floors=() wizards=() upgrades=() wizards_before=() upgrades_before=()
for round in $(seq 1 "${BENCH_ROUNDS:-5}"); do
  empties+=("$(measure "$build/bench/bench_empty_window.exe")")
  floors+=("$(measure "$build/bench/bench_startup_floor.exe")")
  wizards+=("$(measure "$build/tests/launchers/single/setup.exe")")
  upgrades+=("$(measure_upgrade "$build/tests/launchers/dralyn/setup.exe")")
  if [ -n "$before" ]; then
    wizards_before+=("$(measure "$before/tests/launchers/single/setup.exe")")
    upgrades_before+=("$(measure_upgrade "$before/tests/launchers/dralyn/setup.exe")")
  fi
done
empty=$(median "${empties[@]}") floor=$(median "${floors[@]}")
over() { echo "$1 - $floor" | bc -l; }
line() {  # line LABEL MS
  printf '  %-36s %8.1f ms   ratio %.2f   difference %+.1f ms   over the floor %+.1f ms\n' \
    "$1" "$2" "$(echo "$2 / $empty" | bc -l)" "$(echo "$2 - $empty" | bc -l)" "$(over "$2")"
}
printf '  %-36s %8.1f ms\n' "empty windowed program (baseline)" "$empty"
printf '  %-36s %8.1f ms   ratio %.2f   difference %+.1f ms\n' "floor: required steps only" \
  "$floor" "$(echo "$floor / $empty" | bc -l)" "$(echo "$floor - $empty" | bc -l)"
wizard=$(median "${wizards[@]}") upgrade=$(median "${upgrades[@]}")
line "launcher wizard" "$wizard"
line "launcher wizard over an older version" "$upgrade"
if [ "$(echo "$wizard - $floor <= 20" | bc -l)" = 1 ]; then goal=met; else goal="NOT met"; fi
printf '  goal: the wizard within 20 ms of the floor: %s (%+.1f ms)\n' "$goal" "$(over "$wizard")"
if [ -n "$before" ]; then
  wizard_before=$(median "${wizards_before[@]}") upgrade_before=$(median "${upgrades_before[@]}")
  line "before ($BENCH_BEFORE): wizard" "$wizard_before"
  line "before: wizard over an older version" "$upgrade_before"
  printf '  change against before: wizard %+.1f ms, over an older version %+.1f ms\n' \
    "$(echo "$wizard - $wizard_before" | bc -l)" "$(echo "$upgrade - $upgrade_before" | bc -l)"
fi
# BENCH_STARTUP_ONLY=1 stops here.
[ "${BENCH_STARTUP_ONLY:-0}" = 1 ] && exit 0
# Each further benchmark runs even when an earlier one reported a failure.
status=0
for extra in "$here"/bench/*.bench.sh; do
  [ -e "$extra" ] || continue
  bash "$extra" "$build" || status=1
done
exit $status
