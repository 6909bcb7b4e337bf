#!/usr/bin/env bash
# tools/install-deps.sh against a stand-in apt: a cached release file newer
# than the mirror's makes the first update fail with "unexpected size"; the
# script must remove that suite's cached release files (and no other suite's),
# fetch again once, and install everything. Where the 32-bit Wine still
# cannot be installed, the rest is installed and apt's reason is noted.
set -uo pipefail
script=$(cd "$(dirname "$0")/../.." && pwd)/tools/install-deps.sh
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

setup_case() {  # a fresh list folder and stand-ins for apt-get and dpkg
  rm -rf "$work/lists" "$work/bin" "$work/calls"; mkdir -p "$work/lists" "$work/bin"
  for f in deb.debian.org_debian-security_dists_bookworm-security_InRelease \
           deb.debian.org_debian_dists_bookworm_InRelease \
           deb.debian.org_debian-security_dists_bookworm-security_main_binary-amd64_Packages.lz4; do
    echo cached >"$work/lists/$f"; done
  cat >"$work/bin/apt-get" <<'EOF'
#!/usr/bin/env bash
echo "$*" >>"$CALLS"
if [ "$1" = update ]; then
  if [ -e "$APT_LISTS/deb.debian.org_debian-security_dists_bookworm-security_InRelease" ]; then
    echo "Err:6 http://deb.debian.org/debian-security bookworm-security/main i386 Packages"
    echo "  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 1.2.3.4 80]"
    echo "E: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 1.2.3.4 80]"
    echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
    exit 100
  fi
  exit 0
fi
if [ "$1" = install ] && [ -n "${NO_WINE32:-}" ] && [[ " $* " == *" wine32:i386 "* ]]; then
  echo "E: Unable to correct problems, you have held broken packages."; exit 100
fi
exit 0
EOF
  printf '#!/bin/sh\nexit 0\n' >"$work/bin/dpkg"
  chmod +x "$work/bin/apt-get" "$work/bin/dpkg"
}
run() { PATH="$work/bin:$PATH" APT_LISTS="$work/lists" CALLS="$work/calls" APT_RETRY_PAUSE=0 \
        bash "$script" "$work/note" cmake wine64 wine32:i386 >"$work/out" 2>&1; }

# 1. The stale release file of the suite apt named goes, the lists are fetched
#    again once, and everything is installed.
setup_case; echo old >"$work/note"
run || fail "the script failed: $(cat "$work/out")"
[ -e "$work/lists/deb.debian.org_debian-security_dists_bookworm-security_InRelease" ] &&
  fail "the security suite's cached InRelease was kept"
[ -e "$work/lists/deb.debian.org_debian_dists_bookworm_InRelease" ] || fail "another suite's InRelease was removed"
[ -e "$work/lists/deb.debian.org_debian-security_dists_bookworm-security_main_binary-amd64_Packages.lz4" ] ||
  fail "a package list was removed"
[ "$(grep -c '^update' "$work/calls")" = 2 ] || fail "expected two updates: $(cat "$work/calls")"
grep -q '^install -y -q cmake wine64 wine32:i386$' "$work/calls" || fail "wine32 not installed: $(cat "$work/calls")"
[ -e "$work/note" ] && fail "a note was left although the 32-bit Wine installed"

# 2. The 32-bit Wine cannot be installed: the rest is, and apt's reason is noted.
setup_case
NO_WINE32=1 run || fail "the script failed without the 32-bit Wine: $(cat "$work/out")"
grep -q '^install -y -q cmake wine64$' "$work/calls" || fail "the rest was not installed: $(cat "$work/calls")"
grep -q 'the 32-bit Wine could not be installed (apt: E: Unable to correct problems' "$work/note" ||
  fail "the note does not name apt's reason: $(cat "$work/note" 2>&1)"

# 3. The note is what `make test` says first.
(. "$(dirname "$script")/launchers.sh"; WINE32_NOTE="$work/note"; machine_runs_32bit() { false; }
 choose_launchers auto; echo "$WHY") >"$work/why"
grep -q '^the 32-bit launcher is not tested because the 32-bit Wine could not be installed (apt: E: ' "$work/why" ||
  fail "the first line does not give apt's reason: $(cat "$work/why")"
echo "PASS"
