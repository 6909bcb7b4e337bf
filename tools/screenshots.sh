#!/usr/bin/env bash
# Saves a picture of every wizard page in each of the four languages into
# docs/screenshots/, running the launcher under Xvfb with Wine's X11 driver.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "$0")/.." && pwd)
out=$here/docs/screenshots
rm -rf "$out"; mkdir -p "$out"
work=$(mktemp -d)
display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
prefix=$build/wine/screens
trap 'WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true; kill $xvfb 2>/dev/null || true; rm -rf "$work" "$prefix"' EXIT
fresh_prefix() {
  WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
  rm -rf "$prefix"
  cp -al "$build/wine/template" "$prefix"
  for f in system.reg user.reg userdef.reg; do rm -f "$prefix/$f"; cp "$build/wine/template/$f" "$prefix/$f"; done
  wine reg delete 'HKCU\Software\Wine\Drivers' /v Graphics /f >/dev/null 2>&1 || true
  # A virtual desktop: Wine draws the frames and captions itself.
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Shots /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Shots /d 1024x768 /f >/dev/null 2>&1
  # The desktop process keeps the driver it started with: start afresh.
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w
}
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml=" DISPLAY=$display
sleep 1
winpath() { echo "Z:$1" | sed 's|/|\\|g'; }
launcher=$(winpath "$build/tests/launchers/multi_three/setup.exe")
# Each language on a machine of its own: every run is a fresh install.
for lang in English German Spanish French; do
  fresh_prefix
  wine "$build/tests/shoot.exe" "$launcher" "$(winpath "$work/$lang")" "lang=$lang" >/dev/null || echo "shoot failed for $lang: $?" >&2
done
python3 "$here/tools/bmp2png.py" "$work"/*.bmp --out "$out"
ls "$out"
