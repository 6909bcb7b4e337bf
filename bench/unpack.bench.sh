#!/usr/bin/env bash
# Unpacking, side by side under Wine in one prefix, for packages of about 5,
# 50 and 200 MB: the launcher's extraction (inside the process, with and
# without progress reporting, and the whole launcher process with /u /qn)
# against a bare FDICopy of the same cabinet from its own resource (the
# floor set by Wine's cabinet.dll) and against native cabextract; then the
# launcher's private and peak resident memory during the 200 MB extraction.
#   unpack.bench.sh BUILD_DIR      (bench/run.sh runs it)
set -uo pipefail
build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/tests/support/wine-env.sh"   # TEST_WINE_ARCH from bench/run.sh
wine_guard "$0" "$@"
runs=${BENCH_RUNS:-3}
echo "== unpacking (builds the benchmark packages on first use)"
cmake --build "$build" --target bench_unpack -j2 >/dev/null || { echo "  building bench_unpack failed"; exit 1; }

template=$build/wine/template
. "$here/bench/bench-prefix.sh"
bench_prefix "$(mktemp -d "$build/bench/unpack.XXXXXX")" "$template" || exit 1
cd "$work"  # setup.exe /u copies the databases into the current folder
out=$work/out
fresh() { rm -rf "$out"; mkdir -p "$out"; }
# Median of $runs inside-process times printed by a program under Wine.
inside() { for _ in $(seq "$runs"); do fresh; "$WINE" "$@" | tr -d '\r'; done | median; }
# Median whole-process time of a command line, timed under Wine.
whole() { fresh; "$WINE" "$build/bench/bench_process_timer.exe" "$runs" "$1" | tr -d '\r' | tail -1; }
native() {
  for _ in $(seq "$runs"); do
    fresh; start=$(date +%s%N); cabextract -q -d "$out" "$1"; end=$(date +%s%N)
    echo "($end - $start) / 1000000" | bc -l
  done | median
}
bare=$(winpath "$build/bench/bench_bare_fdicopy.exe")
extract=$(winpath "$build/bench/bench_extract.exe")
for size in 5 50 200; do
  pkg=$build/bench/data/$size/package.pkg
  tail -c +5 "$pkg" > "$work/Package.cab"
  launcher=$build/bench/launcher_$size/setup.exe
  echo "-- package of $size MiB payload: cabinet $(( $(stat -c %s "$work/Package.cab") / 1048576 )) MiB, database $(( $(stat -c %s "$build/bench/data/$size/bench.msi") / 1048576 )) MiB (median of $runs, ms)"
  floor=$(inside "$build/bench/bench_bare_fdicopy.exe" PACKAGE_$size "$(winpath "$out")")
  none=$(inside "$build/bench/bench_extract.exe" PACKAGE_$size "$(winpath "$out")" none)
  prog=$(inside "$build/bench/bench_extract.exe" PACKAGE_$size "$(winpath "$out")" progress)
  barewhole=$(whole "$bare PACKAGE_$size $(winpath "$out")")
  launcherwhole=$(whole "$(winpath "$launcher") /u /qn")
  cab=$(native "$work/Package.cab")
  printf '  inside  bare FDICopy (floor)          %9.1f\n' "$floor"
  printf '  inside  launcher extractor, no progress %7.1f   ratio %.3f\n' "$none" "$(ratio "$none" "$floor")"
  printf '  inside  launcher extractor, progress  %9.1f   ratio %.3f   (progress/none %.3f)\n' "$prog" "$(ratio "$prog" "$floor")" "$(ratio "$prog" "$none")"
  printf '  whole   bare FDICopy process          %9.1f\n' "$barewhole"
  printf '  whole   setup.exe /u /qn              %9.1f   ratio %.3f\n' "$launcherwhole" "$(ratio "$launcherwhole" "$barewhole")"
  printf '  native  cabextract                    %9.1f   bare/cabextract %.3f\n' "$cab" "$(ratio "$floor" "$cab")"
  met=$(echo "$prog <= 1.05 * $floor" | bc -l)
  printf '  goal: the launcher'"'"'s extraction within 1.05 of bare FDICopy: %s (%.3f)\n' \
    "$([ "$met" = 1 ] && echo met || echo "NOT met")" "$(ratio "$prog" "$floor")"
done

# Memory: /proc/<pid>/status of the Wine process while it unpacks.
sample() { fresh; sample_memory "$@"; }
echo "-- memory during the 200 MiB extraction (peak of RssAnon = private, VmHWM = peak resident; MiB)"
read -r la lh < <(sample setup.exe "$build/bench/launcher_200/setup.exe" /u /qn)
read -r ba bh < <(sample bench_bare_fdicopy.exe "$build/bench/bench_bare_fdicopy.exe" PACKAGE_200 "$(winpath "$out")")
printf '  bare FDICopy   private %7.1f   peak resident %7.1f\n' "$(echo "$ba/1024" | bc -l)" "$(echo "$bh/1024" | bc -l)"
printf '  setup.exe /u   private %7.1f   peak resident %7.1f   private difference %+.1f\n' \
  "$(echo "$la/1024" | bc -l)" "$(echo "$lh/1024" | bc -l)" "$(echo "($la-$ba)/1024" | bc -l)"
# Flat: the launcher's private memory is its own few MiB more than the bare
# program's, not a part of the payload (the cabinet is read where it is mapped).
if [ "$(echo "($la - $ba) / 1024 <= 8" | bc -l)" = 1 ]; then flat=met; else flat="NOT met"; fi
echo "  goal: private memory within 8 MiB of the bare program's at 200 MiB: $flat"
exit 0
