#!/usr/bin/env bash
# Runs a command on this machine as it would run on one that cannot start
# 32-bit Linux programs: in a mount namespace of its own, the 32-bit Wine
# loader is replaced by a program that fails, so that everything the command
# starts must make do with the 64-bit loader. Where the loader cannot start
# anyway, or no namespace can be made (not root), the command runs as it is.
#   without-wine32.sh COMMAND [ARGS...]
set -uo pipefail
loader=/usr/lib/wine/wine
if [ "${SETUP_WITHOUT_WINE32:-}" = 1 ] || ! "$loader" --version >/dev/null 2>&1; then
  export SETUP_WITHOUT_WINE32=1
  exec "$@"
fi
refusal=$(mktemp /tmp/no-wine32.XXXXXX)
cat > "$refusal" <<'SH'
#!/bin/sh
echo "$0: cannot execute binary file: Exec format error (32-bit loader switched off)" >&2
exit 126
SH
chmod 755 "$refusal"
export SETUP_WITHOUT_WINE32=1
if unshare -m true 2>/dev/null; then
  unshare -m bash -c 'mount --bind "$1" "$2" && shift 2 && exec "$@"' guard "$refusal" "$loader" "$@"
  rc=$?
else
  echo "without-wine32: no mount namespace here; running with the 32-bit loader still available" >&2
  "$@"
  rc=$?
fi
rm -f "$refusal"
exit $rc
