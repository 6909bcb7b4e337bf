#!/usr/bin/env bash
# Creates the Wine prefix that every test clones: 64-bit Wine, null graphics
# driver (headless), no .NET or HTML engine installers. With
# TEST_WINE_ARCH=x64 the prefix is made by the 64-bit loader alone.
#   make-template-prefix.sh DEST
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
wine_guard "$0" "$@"
dest=$1
if [ -f "$dest/.template-ready" ]; then exit 0; fi
rm -rf "$dest"
mkdir -p "$(dirname "$dest")"
export WINEPREFIX=$dest
unset DISPLAY
# The 64-bit-only path reports the 32-bit loader it cannot start; that is
# expected there and says nothing about the prefix.
"$WINE" wineboot -i >/dev/null 2>&1
"$WINE" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
# Crash dialogs would wait for a click that never comes.
"$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
"$WINESERVER" -w
[ -f "$dest/system.reg" ] || { echo "make-template-prefix.sh: wineboot made no prefix in $dest" >&2; exit 1; }
touch "$dest/.template-ready"
