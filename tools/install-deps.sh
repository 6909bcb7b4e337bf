#!/usr/bin/env bash
# Installs the build and test tools a fresh Debian machine lacks (as root):
#   install-deps.sh NOTE_FILE PACKAGE...
# When the 32-bit Wine (wine32:i386) cannot be installed, the rest is
# installed all the same and NOTE_FILE receives apt's reason in one line, so
# that `make test` can say why it tests the 64-bit launcher alone. Otherwise
# NOTE_FILE is removed.
#
# A package list of "unexpected size" usually means that this machine keeps a
# cached, signed release file of a suite that is newer than the one the
# mirror serves now: apt trusts the newer release file it has and rejects the
# mirror's older but consistent list. The cached release files of the suites
# apt named are then removed and the lists fetched again, once; apt checks
# the fresh release files' signatures and the lists' hashes as always.
# APT_LISTS overrides the list folder (for the script's own test).
set -uo pipefail
note=$1; shift
lists=${APT_LISTS:-/var/lib/apt/lists}
log=$(mktemp); trap 'rm -f "$log"' EXIT

# Prints the list-file prefix (host_path_dists_suite_) of every suite whose
# index apt fetched with an unexpected size, from apt's output on stdin.
stale_suites() {
  grep -i 'unexpected size' | grep -oE '(https?|ftp)://[^ ]+/dists/[^/ ]+/' \
    | sed -E 's,^[a-z]+://,,; s,/$,,; s,/,_,g; s,$,_,' | sort -u
}

update_lists() {  # update_lists ATTEMPT: one apt-get update, its output kept in $log
  echo "Fetching the package lists (attempt $1)"
  apt-get update -q 2>&1 | tee "$log" && ! grep -qE '^(E:|W: Failed to fetch)' "$log"
}

# The first failure line apt printed, to tell the user why.
apt_reason() { grep -m1 -E '^E:|^W: Failed to fetch' "$log" | cut -c1-300; }

dpkg --add-architecture i386
reason=""
if ! update_lists 1; then
  reason=$(apt_reason)
  dropped=no
  for prefix in $(stale_suites <"$log"); do
    for f in "$lists/${prefix}InRelease" "$lists/${prefix}Release" "$lists/${prefix}Release.gpg"; do
      [ -e "$f" ] && { echo "Removing the cached release file $f (newer than the mirror's)"; rm -f "$f"; dropped=yes; }
    done
  done
  [ "$dropped" = yes ] || sleep "${APT_RETRY_PAUSE:-10}"
  if update_lists 2; then reason=""
  else
    reason=$(apt_reason)
    echo "apt-get update failed twice; installing from the lists it fetched"
  fi
fi

rm -f "$note"
export DEBIAN_FRONTEND=noninteractive
if apt-get install -y -q "$@" 2>&1 | tee "$log"; then exit 0; fi
[ -n "$reason" ] || reason=$(apt_reason)
without=(); for p in "$@"; do [ "$p" = wine32:i386 ] || without+=("$p"); done
echo "Installing the 32-bit Wine failed ($reason); installing the rest: only the 64-bit launcher's tests can run here"
apt-get install -y -q "${without[@]}" || exit 1
mkdir -p "$(dirname "$note")"
echo "the 32-bit Wine could not be installed (apt: ${reason:-no reason given})" >"$note"
