# What the benchmark scripts share: Windows paths, medians, ratios, and a
# Wine prefix of their own, cloned from the template and removed on exit.
# Sourced after tests/support/wine-env.sh.

winpath() { echo "Z:$1" | sed 's|/|\\|g'; }
# The median of the numbers on standard input, one a line.
median() { sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
ratio() { echo "$1 / $2" | bc -l; }

# bench_prefix WORK TEMPLATE: WINEPREFIX=WORK/prefix, its server started;
# WORK is removed when the script exits.
bench_prefix() {
  work=$1 prefix=$1/prefix
  clone_prefix "$2" "$prefix" || return 1
  export WINEPREFIX=$prefix
  unset DISPLAY
  cleanup() { stop_wineserver; rm -rf "$work"; }
  trap cleanup EXIT
  trap 'exit 130' INT TERM
  "$WINESERVER" -p >/dev/null 2>&1
  "$WINE" cmd /c exit >/dev/null 2>&1
}

# sample_memory NAME COMMAND...: runs COMMAND under Wine and prints the peak
# private (RssAnon) and peak resident (VmHWM) kB of its process, found by
# its name (Linux keeps 15 characters of it) or else by its command line.
sample_memory() {
  local name=$1; shift
  "$WINE" "$@" >/dev/null 2>&1 &
  local waiter=$! pid="" anon=0 hwm=0 a h
  while kill -0 "$waiter" 2>/dev/null; do
    [ -z "$pid" ] && pid=$(pgrep -n -x "${name:0:15}" 2>/dev/null || pgrep -n -f "$name" 2>/dev/null)
    if [ -n "$pid" ] && [ -r "/proc/$pid/status" ]; then
      a=$(awk '/^RssAnon:/ {print $2}' "/proc/$pid/status" 2>/dev/null)
      h=$(awk '/^VmHWM:/ {print $2}' "/proc/$pid/status" 2>/dev/null)
      [ -n "$a" ] && [ "$a" -gt "$anon" ] && anon=$a
      [ -n "$h" ] && [ "$h" -gt "$hwm" ] && hwm=$h
      # A process of that name that has no memory (one ending, or Wine's
      # loader still starting it) is looked up again.
      [ -n "$a" ] || pid=""
    fi
    sleep 0.02
  done
  wait "$waiter"
  echo "$anon $hwm"
}
