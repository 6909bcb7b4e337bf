#!/usr/bin/env bash
# Runs a Windows program under Wine in a prefix of its own, cloned from the
# template prefix with hard links, and removes the clone afterwards.
#   wine-run.sh PROGRAM [ARGS...]
# TEST_WINE_TEMPLATE names the template; KEEP_PREFIX=1 keeps the clone;
# TEST_WINE_ARCH chooses the loader (tests/support/wine-env.sh).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
wine_guard "$0" "$@"
template=${TEST_WINE_TEMPLATE:?TEST_WINE_TEMPLATE is not set}
runs=${TEST_WINE_RUNS:-$(dirname "$template")/runs}
mkdir -p "$runs"
prefix=$(mktemp -d "$runs/p.XXXXXX")
rmdir "$prefix"
clone_prefix "$template" "$prefix" || exit 1
export WINEPREFIX=$prefix TEST_WINE_PREFIX_UNIX=$prefix
unset DISPLAY
cleanup() {
  stop_wineserver
  if [ "${KEEP_PREFIX:-0}" != 1 ]; then rm -rf "$prefix"; else echo "prefix kept: $prefix" >&2; fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM
"$WINE" "$@"
rc=$?
exit $rc
