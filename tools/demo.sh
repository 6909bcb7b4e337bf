#!/usr/bin/env bash
# Runs the demo installer under Wine in a prefix of its own: quietly, with a
# verbose log, and prints the exit code and the launcher's log lines.
set -uo pipefail
build=${1:-build}
build=$(cd "$build" && pwd)
here=$(cd "$(dirname "$0")/.." && pwd)
export TEST_WINE_TEMPLATE=$build/wine/template
demo=$build/demo
log=$demo/demo-log.txt
rm -f "$log"
winpath() { echo "Z:$1" | sed 's|/|\\|g'; }
echo "== setup.exe /qn /L*v demo-log.txt"
"$here/tests/support/wine-run.sh" "$build/tests/runexit.exe" "$(winpath "$demo/setup.exe")" /qn /L*v "$(winpath "$log")"
echo "== the launcher's log lines"
if [ -f "$log" ]; then
  iconv -f UTF-16LE -t UTF-8 "$log" | tr -d '\r' | grep -E '^(ZEL \(c\)|===)' || true
fi
