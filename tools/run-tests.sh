#!/usr/bin/env bash
# make test: builds both launchers and runs the suite on every launcher this
# machine can run (tools/launchers.sh), then says which were tested.
#   run-tests.sh BUILD JOBS [TEST_ARCH] [CMAKE_FLAGS]
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$1; jobs=$2; arch=${3:-auto}; flags=${4:-}
. "$top/tools/launchers.sh"
export WINE32_NOTE="$build/.wine32-missing"
choose_launchers "$arch" || exit 2
echo "Testing $(launcher_words): $WHY."
"$top/tools/build.sh" "$build" "$jobs" "$arch" "$flags" || { echo "The build failed."; exit 2; }

passed=0; failed=0; status=0; lines=()
# run_suite NAME DIR [CTEST ARGS...]: one tree's tests; adds up the counts.
run_suite() {
  local name=$1 dir=$2; shift 2
  local log="$dir/Testing/suite-output.txt" total bad
  mkdir -p "$dir/Testing"
  echo "== $name: ctest in $dir"
  (cd "$dir" && ctest -j "$jobs" --output-on-failure --timeout 600 "$@") 2>&1 | tee "$log"
  [ "${PIPESTATUS[0]}" = 0 ] || status=1
  total=$(sed -n 's/.* tests failed out of \([0-9]*\).*/\1/p' "$log" | tail -1)
  bad=$(sed -n 's/.*, \([0-9]*\) tests failed out of.*/\1/p' "$log" | tail -1)
  if [ -z "$total" ]; then
    status=1; lines+=("$name: no test result"); return
  fi
  passed=$((passed + total - bad)); failed=$((failed + bad))
  lines+=("$name: $((total - bad)) of $total passed")
}

# The comparison of the two launchers' logs needs the 64-bit tree's launchers.
both=(); [ "$TEST_X64" = yes ] || both=(-LE both)
[ "$TEST_X86" = yes ] && run_suite "32-bit launcher (i686, $build)" "$build" "${both[@]}"
# Without its own tests, the 32-bit template's shipped-file checks still run:
# they need no Wine.
[ "$TEST_X86" = yes ] || run_suite "32-bit launcher (i686, $build), shipped files only" "$build" -L shipped
[ "$TEST_X64" = yes ] && run_suite "64-bit launcher (x86_64, $build/x64)" "$build/x64"

echo
echo "Tested $(launcher_words): $WHY."
printf '  %s\n' "${lines[@]}"
echo "launchers: $passed passed, $failed failed"
[ "$failed" = 0 ] || status=1
exit $status
