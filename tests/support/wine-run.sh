#!/usr/bin/env bash
# Runs a Windows program under Wine in a prefix of its own, cloned from the
# template prefix with hard links, and removes the clone afterwards.
#   wine-run.sh PROGRAM [ARGS...]
# TEST_WINE_TEMPLATE names the template; KEEP_PREFIX=1 keeps the clone.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
template=${TEST_WINE_TEMPLATE:?TEST_WINE_TEMPLATE is not set}
runs=${TEST_WINE_RUNS:-$(dirname "$template")/runs}
mkdir -p "$runs"
prefix=$(mktemp -d "$runs/p.XXXXXX")
rmdir "$prefix"
cp -al "$template" "$prefix"
# The registry files are rewritten in place: each clone gets its own copies.
for f in system.reg user.reg userdef.reg; do
  rm -f "$prefix/$f"; cp "$template/$f" "$prefix/$f"
done
rm -f "$prefix/.template-ready"
export WINEPREFIX=$prefix WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree=;mshtml=" WINEARCH=win64
export TEST_WINE_PREFIX_UNIX=$prefix
unset DISPLAY
cleanup() {
  wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
  if [ "${KEEP_PREFIX:-0}" != 1 ]; then rm -rf "$prefix"; else echo "prefix kept: $prefix" >&2; fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM
wine "$@"
rc=$?
exit $rc
