#!/usr/bin/env bash
# Size of the bare launcher, the template every installer carries, for both
# architectures built: each section's bytes in the file, the file, and the
# goal of 1 MiB (1,048,576 bytes) as the baseline.
#   size.bench.sh BUILD_DIR      (bench/run.sh runs it)
set -uo pipefail
build=$(cd "${1:-build}" && pwd)
top=$build
[ "$(basename "$build")" = x64 ] && top=$(dirname "$build")
goal=1048576
echo "== size of the bare launcher (bytes in the file; goal: at most $goal)"

for tree in "$top" "$top/x64"; do
  exe=$tree/SetupLauncher.exe
  [ -f "$exe" ] || continue
  arch=x86; objdump=i686-w64-mingw32-objdump
  [ "$tree" = "$top/x64" ] && { arch=x64; objdump=x86_64-w64-mingw32-objdump; }
  sections=$("$objdump" -h "$exe" | while read -r index name hex _; do
    if [[ $index =~ ^[0-9]+$ ]]; then printf '%s %d, ' "$name" "$((16#$hex))"; fi
  done)
  size=$(stat -c %s "$exe")
  verdict="met"
  [ "$size" -gt "$goal" ] && { verdict="NOT met ($((size - goal)) bytes over)"; }
  printf '  %s: %d bytes (%.2f MiB), ratio to the goal %.2f: %s\n' "$arch" "$size" \
    "$(echo "$size / 1048576" | bc -l)" "$(echo "$size / $goal" | bc -l)" "$verdict"
  echo "      sections: ${sections%, }"
done
exit 0
