#!/usr/bin/env bash
# Making a product installer, side by side in one run, for the benchmark
# databases of about 5, 50 and 200 MiB: SetupBuilder.exe under Wine (the
# whole builder process: facts, MSZIP packing, resource update, check)
# against native "gcab -c -z" packing the same database (packing is the
# builder's main cost); then the builder's private and peak resident memory
# during the 200 MiB build, beside the size of the database it reads.
#   build.bench.sh BUILD_DIR      (bench/run.sh runs it)
set -uo pipefail
build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/tests/support/wine-env.sh"   # TEST_WINE_ARCH from bench/run.sh
wine_guard "$0" "$@"
runs=${BENCH_RUNS:-3}
echo "== making an installer with SetupBuilder (builds the benchmark packages on first use)"
cmake --build "$build" --target bench_packages SetupBuilder bench_process_timer -j2 >/dev/null ||
  { echo "  building the benchmark packages failed"; exit 1; }

. "$here/bench/bench-prefix.sh"
bench_prefix "$(mktemp -d "$build/bench/builder.XXXXXX")" "$build/wine/template" || exit 1
native() {
  for _ in $(seq "$runs"); do
    rm -f "$work/gcab.cab"; start=$(date +%s%N); gcab -c -z -n "$work/gcab.cab" "$1"; end=$(date +%s%N)
    echo "($end - $start) / 1000000" | bc -l
  done | median
}
builder=$(winpath "$build/SetupBuilder.exe")
for size in 5 50 200; do
  msi=$build/bench/data/$size/bench.msi
  echo "-- database of $(( $(stat -c %s "$msi") / 1048576 )) MiB ($size MiB payload; median of $runs, ms)"
  made=$("$WINE" "$build/bench/bench_process_timer.exe" "$runs" \
         "$builder --out $(winpath "$work/setup.exe") --package $(winpath "$msi")" | tr -d '\r' | tail -1)
  gcab=$(native "$msi")
  printf '  native  gcab -c -z              %9.1f\n' "$gcab"
  printf '  whole   SetupBuilder.exe        %9.1f   ratio %.3f   installer %d MiB\n' "$made" \
    "$(ratio "$made" "$gcab")" "$(( $(stat -c %s "$work/setup.exe") / 1048576 ))"
done

echo "-- memory during the 200 MiB build (peak of RssAnon = private, VmHWM = peak resident; MiB)"
read -r anon hwm < <(sample_memory SetupBuilder.exe "$build/SetupBuilder.exe" --out "$(winpath "$work/setup.exe")" \
  --package "$(winpath "$build/bench/data/200/bench.msi")")
database=$(stat -c %s "$build/bench/data/200/bench.msi")
# A builder that held the package would show at least the database's size
# as private memory; the ratio says how much of it is held.
printf '  SetupBuilder   private %7.1f   peak resident %7.1f   database %7.1f   private/database %.3f\n' \
  "$(echo "$anon/1024" | bc -l)" "$(echo "$hwm/1024" | bc -l)" "$(echo "$database/1048576" | bc -l)" \
  "$(echo "($anon*1024) / $database" | bc -l)"
exit 0
