# Sourced by the scripts that run Windows programs under Wine. Chooses the
# Wine loader for the launcher being tested and clones prefixes.
#
# TEST_WINE_ARCH=x86 (the default): the `wine` script, which starts 32-bit
# programs with the 32-bit loader and 64-bit ones with the 64-bit loader.
# TEST_WINE_ARCH=x64: the 64-bit loader alone, as on machines that cannot run
# 32-bit Linux programs; the caller runs under tools/without-wine32.sh, so a
# 32-bit program started by mistake fails here as it would there.

WINE_LOADER64=/usr/lib/wine/wine64
export WINEARCH=win64 WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree=;mshtml="
case "${TEST_WINE_ARCH:-x86}" in
  x64) export WINELOADER=$WINE_LOADER64; WINE=$WINE_LOADER64 ;;
  *)   WINE=wine ;;
esac
WINESERVER=wineserver

# The guard for the 64-bit-only path: re-runs the calling script through
# tools/without-wine32.sh once (a no-op for the 32-bit path).
#   wine_guard "$0" "$@"
wine_guard() {
  if [ "${TEST_WINE_ARCH:-x86}" = x64 ] && [ "${SETUP_WITHOUT_WINE32:-}" != 1 ]; then
    exec "$(dirname "${BASH_SOURCE[0]}")/../../tools/without-wine32.sh" bash "$@"
  fi
}

# clone_prefix TEMPLATE DEST: a clone made of hard links; the registry files,
# which Wine rewrites in place, are copies of their own.
clone_prefix() {
  cp -al "$1" "$2" || return 1
  local f
  for f in system.reg user.reg userdef.reg; do
    rm -f "$2/$f"; cp "$1/$f" "$2/$f" || return 1
  done
  rm -f "$2/.template-ready"
}

# Ends the prefix's wineserver and waits for it.
stop_wineserver() {
  "$WINESERVER" -k >/dev/null 2>&1
  "$WINESERVER" -w >/dev/null 2>&1
}
