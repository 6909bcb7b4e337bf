#!/usr/bin/env bash
# Runs a Windows program under Wine in a prefix of its own (cloned from the
# template as tests/support/wine-run.sh does) whose package folders,
# drive_c/ProgramData/Morvex, live on a small tmpfs, so that unpacking a
# package larger than it fills the disk. The tmpfs is always unmounted and
# the clone removed afterwards.
#   run-with-small-package-disk.sh PROGRAM [ARGS...]
# TEST_WINE_TEMPLATE names the template; SMALL_DISK_SIZE the tmpfs size (2m);
# TEST_WINE_ARCH chooses the loader (tests/support/wine-env.sh).
set -uo pipefail
. "$(cd "$(dirname "$0")" && pwd)/../../support/wine-env.sh"
wine_guard "$0" "$@"
template=${TEST_WINE_TEMPLATE:?TEST_WINE_TEMPLATE is not set}
runs=${TEST_WINE_RUNS:-$(dirname "$template")/runs}
mkdir -p "$runs"
prefix=$(mktemp -d "$runs/p.XXXXXX") || exit 1
rmdir "$prefix"
mnt=$prefix/drive_c/ProgramData/Morvex
mounted=0
cleanup() {
  stop_wineserver
  if [ "$mounted" = 1 ]; then
    umount "$mnt" 2>/dev/null || { sleep 1; umount "$mnt" 2>/dev/null; } || umount -l "$mnt"
  fi
  if mountpoint -q "$mnt" 2>/dev/null; then
    echo "run-with-small-package-disk.sh: $mnt is still mounted; prefix kept" >&2
  else
    rm -rf "$prefix"
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM
clone_prefix "$template" "$prefix" || exit 1
mkdir -p "$mnt"
if ! mount -t tmpfs -o "size=${SMALL_DISK_SIZE:-2m}" tmpfs "$mnt"; then
  echo "run-with-small-package-disk.sh: cannot mount a tmpfs at $mnt (root required)" >&2
  exit 1
fi
mounted=1
export WINEPREFIX=$prefix TEST_WINE_PREFIX_UNIX=$prefix SMALL_PACKAGE_DISK=1
unset DISPLAY
"$WINE" "$@"
rc=$?
exit $rc
