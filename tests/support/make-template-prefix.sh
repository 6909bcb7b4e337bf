#!/usr/bin/env bash
# Creates the Wine prefix that every test clones: 64-bit Wine, null graphics
# driver (headless), no .NET or HTML engine installers.
set -euo pipefail
dest=$1
if [ -f "$dest/.template-ready" ]; then exit 0; fi
rm -rf "$dest"
mkdir -p "$(dirname "$dest")"
export WINEPREFIX=$dest WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml=" WINEARCH=win64
unset DISPLAY
wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
# Crash dialogs would wait for a click that never comes.
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
wineserver -w
touch "$dest/.template-ready"
