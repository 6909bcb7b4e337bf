#!/usr/bin/env bash
# Runs a command with a small file system mounted for it: a 1 MiB tmpfs at a
# mount point of its own, named to the command (as seen from Wine's Z: drive)
# in CABINET_SMALL_DISK. The tmpfs is always unmounted afterwards.
#   run-with-small-disk.sh COMMAND [ARGS...]
set -uo pipefail
mnt=$(mktemp -d "${TMPDIR:-/tmp}/cabinet-small-disk.XXXXXX") || exit 1
mounted=0
cleanup() {
  if [ "$mounted" = 1 ]; then
    umount "$mnt" 2>/dev/null || { sleep 1; umount "$mnt" 2>/dev/null; } || umount -l "$mnt"
  fi
  rmdir "$mnt" 2>/dev/null
}
trap cleanup EXIT
trap 'exit 130' INT TERM
if ! mount -t tmpfs -o size=1m tmpfs "$mnt"; then
  echo "run-with-small-disk.sh: cannot mount a tmpfs at $mnt (root required)" >&2
  exit 1
fi
mounted=1
CABINET_SMALL_DISK="Z:${mnt//\//\\}"
export CABINET_SMALL_DISK
"$@"
