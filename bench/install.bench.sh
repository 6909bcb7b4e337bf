#!/usr/bin/env bash
# Installing, side by side under Wine, for packages of about 5, 50 and
# 200 MB: whole-process wall time of `msiexec /i <database> /qn` (baseline 1),
# of a bare program that unpacks the cabinet from its own resource and calls
# MsiInstallProductW without user interface (baseline 2), and of the
# launcher's `setup.exe /qn` (unpacking included). Every measured install
# starts in a fresh clone of the template prefix; after it, the payload file
# and the product's uninstall registration are checked, and a run that did
# not install is reported and not counted.
#   install.bench.sh BUILD_DIR      (bench/run.sh runs it)
# BENCH_RUNS sets the installs per measure (default 3), BENCH_SIZES the
# package sizes (default "5 50 200").
set -uo pipefail
build=$(cd "${1:-build}" && pwd)
. "$(cd "$(dirname "$0")/.." && pwd)/tests/support/wine-env.sh"   # TEST_WINE_ARCH from bench/run.sh
wine_guard "$0" "$@"
runs=${BENCH_RUNS:-3}
echo "== installing (builds the benchmark packages on first use; load average $(cut -d' ' -f1-3 /proc/loadavg))"
cmake --build "$build" --target bench_install -j2 >/dev/null || { echo "  building bench_install failed"; exit 1; }

template=$build/wine/template
work=$(mktemp -d "$build/bench/install.XXXXXX")
prefix=$work/prefix
unset DISPLAY
stop_prefix() {
  if [ -d "$prefix" ]; then
    WINEPREFIX=$prefix stop_wineserver
  fi
}
cleanup() { stop_prefix; [ "${BENCH_KEEP:-0}" = 1 ] && { echo "kept: $work" >&2; rm -rf "$prefix"; return; }; rm -rf "$work"; }
trap cleanup EXIT
trap 'exit 130' INT TERM
. "$(dirname "$0")/bench-prefix.sh"   # winpath, median, ratio (its prefixes are one a run)
# The times of one measure are kept one a line in $work/NAME.
counted() { grep -c . "$work/$1"; }
spread() {
  sort -n "$work/$1" | awk -v runs="$runs" \
    'NR == 1 {lo = $1} {hi = $1} END {printf "%d of %d runs", NR, runs; if (NR) printf ", %.0f-%.0f", lo, hi}'
}
failures=0

# Whether Wine's desktop process of the current prefix is running.
desktop_running() {
  local pid
  for pid in $(pgrep -f 'explorer\.exe /desktop'); do
    { tr '\0' '\n' <"/proc/$pid/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$prefix" && return 0
  done
  return 1
}

# A fresh prefix with its Wine server running and warmed up, and its desktop
# kept up by an idle window, as the shell is on Windows: without it, a run
# pays Wine's desktop start (a few hundred ms) or not, depending on whether
# the warm-up's desktop has timed out yet.
new_prefix() {
  rm -rf "$prefix"
  clone_prefix "$template" "$prefix" || return 1
  export WINEPREFIX=$prefix
  "$WINESERVER" -p >/dev/null 2>&1
  "$WINE" cmd /c exit >/dev/null 2>&1
  "$WINE" "$build/bench/bench_empty_window.exe" >/dev/null 2>&1 &
  sync  # the previous run's writes do not go to disk during this one
  local waited=0
  until desktop_running || [ $waited -ge 100 ]; do sleep 0.05; waited=$((waited + 1)); done
  sleep 0.5  # the idle window's own start is over
}

# Whether the product of SIZE is installed in the (stopped) prefix: its
# payload file, byte for byte, and its uninstall entry in the saved registry.
installed() {
  local size=$1 code
  code=$(printf '6B1D0A10-3C55-4E7E-9A51-0C7E1E2D%04d' "$size")
  cmp -s "$build/bench/data/$size/payload.bin" "$prefix/drive_c/Program Files (x86)/Morvex/Bench$size/payload.bin" &&
    grep -qiF "[Software\\\\Wow6432Node\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\{$code}]" "$prefix/system.reg"
}

# measure LABEL SIZE COMMAND_LINE: one timed install in a fresh prefix;
# prints the whole-process time in ms, or nothing when the run failed.
measure() {
  local label=$1 size=$2 command=$3 time
  new_prefix
  if ! desktop_running; then
    echo "  FAILED run: $label, $size MiB: the prefix's desktop did not come up" >&2
    stop_prefix; rm -rf "$prefix"; return
  fi
  time=$(timeout 600 "$WINE" "$build/bench/bench_process_timer.exe" 1 "$command" 2>"$work/error" | tr -d '\r' | tail -1)
  stop_prefix
  if [ -z "$time" ]; then
    echo "  FAILED run: $label, $size MiB: $(tr -d '\r' <"$work/error" | head -3)" >&2
  elif ! installed "$size"; then
    echo "  FAILED run: $label, $size MiB: exited with 0 but the product is not installed" >&2
  else
    echo "$time"
  fi
  rm -rf "$prefix"
}

# row TITLE MEDIAN RATIO_NAME NUMERATOR DENOMINATOR FILE: one line of the table.
row() {
  local text
  if [ -z "$2" ]; then text=$(printf '  %-30s %9s' "$1" "no runs"); else text=$(printf '  %-30s %9.1f' "$1" "$2"); fi
  if [ -n "$3" ]; then
    if [ -n "$4" ] && [ -n "$5" ]; then text+=$(printf '   %s %.3f' "$3" "$(ratio "$4" "$5")"); else text+="   $3 -"; fi
  fi
  echo "$text   ($(spread "$6"))"
}

# verdict VALUE BASELINE MS TEXT: whether VALUE is within MS of BASELINE.
verdict() {
  if [ -z "$1" ] || [ -z "$2" ]; then echo "  $4: not measured"; return; fi
  local over; over=$(echo "$1 - $2" | bc -l)
  if [ "$(echo "$over <= $3" | bc -l)" = 1 ]; then
    printf '  %s: met (%+.1f ms)\n' "$4" "$over"
  else
    printf '  %s: NOT met (%+.1f ms)\n' "$4" "$over"
  fi
}

bare=$(winpath "$build/bench/bench_bare_install.exe")
# BENCH_BEFORE=DIR: DIR's launchers of the same packages (a build tree of an
# earlier commit with its target bench_install built) in the same turns.
before=${BENCH_BEFORE:+$(cd "$BENCH_BEFORE" && pwd)}
for size in ${BENCH_SIZES:-5 50 200}; do
  msi=$(winpath "$build/bench/data/$size/bench.msi")
  launcher=$(winpath "$build/bench/launcher_$size/setup.exe")
  : >"$work/msiexec"; : >"$work/bare"; : >"$work/launcher"; : >"$work/before"
  for _ in $(seq "$runs"); do  # interleaved, so that drift hits all alike
    measure msiexec "$size" "msiexec /i $msi /qn" >>"$work/msiexec"
    measure bare "$size" "$bare PACKAGE_$size C:\\ProgramData\\BareInstall" >>"$work/bare"
    measure setup.exe "$size" "$launcher /qn" >>"$work/launcher"
    if [ -n "$before" ]; then
      measure "setup.exe before" "$size" "$(winpath "$before/bench/launcher_$size/setup.exe") /qn" >>"$work/before"
    fi
  done
  echo "-- package of $size MiB payload: database $(( $(stat -c %s "$build/bench/data/$size/bench.msi") / 1048576 )) MiB (whole process, median of the counted runs, ms)"
  for name in msiexec bare launcher ${before:+before}; do
    n=$(counted $name)
    if [ "$n" -lt "$runs" ]; then failures=$((failures + runs - n)); fi
  done
  m=$(median <"$work/msiexec"); b=$(median <"$work/bare"); l=$(median <"$work/launcher")
  row 'msiexec /i /qn (baseline)' "$m" "" "" "" msiexec
  row 'bare unpack + install' "$b" bare/msiexec "$b" "$m" bare
  row 'setup.exe /qn' "$l" launcher/bare "$l" "$b" launcher
  verdict "$l" "$b" 30 "goal: setup.exe /qn within 30 ms of the bare program"
  if [ -n "$before" ]; then
    p=$(median <"$work/before")
    row "setup.exe /qn before" "$p" before/bare "$p" "$b" before
    [ -n "$p" ] && [ -n "$l" ] && printf '  change against before: %+.1f ms\n' "$(echo "$l - $p" | bc -l)"
  fi
done
echo "  load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
if [ "$failures" -gt 0 ]; then
  echo "  $failures run(s) failed and were left out (see above)"
  exit 1
fi
exit 0
