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
set -uo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${BENCH_RUNS:-3}
echo "== installing (builds the benchmark packages on first use)"
cmake --build "$build" --target bench_install -j2 >/dev/null || { echo "  building bench_install failed"; exit 1; }

template=$build/wine/template
work=$(mktemp -d "$build/bench/install.XXXXXX")
prefix=$work/prefix
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml=" WINEARCH=win64
unset DISPLAY
stop_prefix() {
  if [ -d "$prefix" ]; then
    WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1
    WINEPREFIX=$prefix wineserver -w >/dev/null 2>&1
  fi
}
cleanup() { stop_prefix; rm -rf "$work"; }
trap cleanup EXIT
trap 'exit 130' INT TERM
winpath() { echo "Z:$1" | sed 's|/|\\|g'; }
median() { sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
ratio() { echo "$1 / $2" | bc -l; }
failures=0

# A fresh prefix with its Wine server running and warmed up.
new_prefix() {
  rm -rf "$prefix"
  cp -al "$template" "$prefix"
  for f in system.reg user.reg userdef.reg; do rm -f "$prefix/$f"; cp "$template/$f" "$prefix/$f"; done
  rm -f "$prefix/.template-ready"
  export WINEPREFIX=$prefix
  wineserver -p >/dev/null 2>&1
  wine cmd /c exit >/dev/null 2>&1
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
  time=$(wine "$build/bench/bench_process_timer.exe" 1 "$command" 2>"$work/error" | tr -d '\r' | tail -1)
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

timer=$build/bench/bench_process_timer.exe
bare=$(winpath "$build/bench/bench_bare_install.exe")
for size in 5 50 200; do
  msi=$(winpath "$build/bench/data/$size/bench.msi")
  launcher=$(winpath "$build/bench/launcher_$size/setup.exe")
  : >"$work/msiexec"; : >"$work/bare"; : >"$work/launcher"
  for _ in $(seq "$runs"); do  # interleaved, so that drift hits all three alike
    measure msiexec "$size" "msiexec /i $msi /qn" >>"$work/msiexec"
    measure bare "$size" "$bare PACKAGE_$size C:\\ProgramData\\BareInstall" >>"$work/bare"
    measure setup.exe "$size" "$launcher /qn" >>"$work/launcher"
  done
  counted() { grep -c . "$work/$1"; }
  echo "-- package of $size MiB payload: database $(( $(stat -c %s "$build/bench/data/$size/bench.msi") / 1048576 )) MiB (whole process, median of the counted runs, ms)"
  for name in msiexec bare launcher; do
    n=$(counted $name)
    if [ "$n" -lt "$runs" ]; then failures=$((failures + runs - n)); fi
  done
  m=$(median <"$work/msiexec"); b=$(median <"$work/bare"); l=$(median <"$work/launcher")
  printf '  msiexec /i /qn (baseline)      %9.1f   (%d of %d runs)\n' "${m:-0}" "$(counted msiexec)" "$runs"
  if [ -n "$m" ] && [ -n "$b" ]; then
    printf '  bare unpack + install          %9.1f   bare/msiexec %.3f   (%d of %d runs)\n' "$b" "$(ratio "$b" "$m")" "$(counted bare)" "$runs"
  else
    printf '  bare unpack + install          %9.1f   (%d of %d runs)\n' "${b:-0}" "$(counted bare)" "$runs"
  fi
  if [ -n "$b" ] && [ -n "$l" ]; then
    printf '  setup.exe /qn                  %9.1f   launcher/bare %.3f   (%d of %d runs)\n' "$l" "$(ratio "$l" "$b")" "$(counted launcher)" "$runs"
  else
    printf '  setup.exe /qn                  %9.1f   (%d of %d runs)\n' "${l:-0}" "$(counted launcher)" "$runs"
  fi
done
if [ "$failures" -gt 0 ]; then
  echo "  $failures run(s) failed and were left out (see above)"
  exit 1
fi
exit 0
