#!/usr/bin/env bash
# Saves a picture of every wizard page in each of the four languages into
# docs/screenshots/, some pages also at 144 DPI (150 %) and in high
# contrast, running the launcher under Xvfb with Wine's X11 driver:
# the 32-bit launcher where the machine runs 32-bit programs, the 64-bit one
# (BUILD/x64) otherwise.
#   screenshots.sh [BUILD]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/tools/launchers.sh"
if machine_runs_32bit; then export TEST_WINE_ARCH=x86
else export TEST_WINE_ARCH=x64; build=$build/x64; fi
echo "Screenshots of the launcher in $build"
. "$here/tests/support/wine-env.sh"
out=$here/docs/screenshots
rm -rf "$out"; mkdir -p "$out"
work=$(mktemp -d)
display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
prefix=$build/wine/screens
trap 'WINEPREFIX=$prefix "$WINESERVER" -k >/dev/null 2>&1 || true; kill $xvfb 2>/dev/null || true; rm -rf "$work" "$prefix"' EXIT
# fresh_prefix [DPI]: a machine of its own, at 96 DPI unless told otherwise.
fresh_prefix() {
  WINEPREFIX=$prefix "$WINESERVER" -k >/dev/null 2>&1 || true
  rm -rf "$prefix"
  clone_prefix "$build/wine/template" "$prefix"
  "$WINE" reg delete 'HKCU\Software\Wine\Drivers' /v Graphics /f >/dev/null 2>&1 || true
  "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "${1:-96}" /f >/dev/null 2>&1
  # A virtual desktop: Wine draws the frames and captions itself.
  "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Shots /f >/dev/null 2>&1
  "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Shots /d 1024x768 /f >/dev/null 2>&1
  # The desktop process keeps the driver it started with: start afresh.
  "$WINESERVER" -k >/dev/null 2>&1 || true
  "$WINESERVER" -w
}
# The colours of Windows' "High Contrast Black" scheme.
contrast_colours() {
  local pair
  for pair in "Window=0 0 0" "WindowText=255 255 255" "ButtonFace=0 0 0" "ButtonText=255 255 255" \
              "ButtonHilight=255 255 255" "ButtonShadow=128 128 128" "ButtonLight=192 192 192" \
              "ButtonDkShadow=255 255 255" "Highlight=26 235 255" "HighlightText=0 0 0" "GrayText=63 242 63" \
              "ActiveTitle=0 0 0" "TitleText=255 255 255" "InactiveTitle=0 0 0" "InactiveTitleText=63 242 63" \
              "Menu=0 0 0" "MenuText=255 255 255" "Scrollbar=0 0 0" "Background=0 0 0" \
              "InfoWindow=0 0 0" "InfoText=255 255 255" "WindowFrame=255 255 255"; do
    "$WINE" reg add 'HKCU\Control Panel\Colors' /v "${pair%%=*}" /d "${pair#*=}" /f >/dev/null 2>&1
  done
  "$WINESERVER" -k >/dev/null 2>&1 || true
  "$WINESERVER" -w
}
export WINEPREFIX=$prefix DISPLAY=$display
sleep 1
winpath() { echo "Z:$1" | sed 's|/|\\|g'; }
launcher=$(winpath "$build/tests/launchers/multi_three/setup.exe")
# Each language on a machine of its own: every run is a fresh install.
for lang in English German Spanish French; do
  fresh_prefix
  "$WINE" "$build/tests/shoot.exe" "$launcher" "$(winpath "$work/$lang")" "lang=$lang" >/dev/null || echo "shoot failed for $lang: $?" >&2
done
# The welcome page of an upgrade: an older version of the XML editor is
# installed, and Quick Install is offered (the recorded language is
# cleared, so that each run keeps the language it asks for).
upgrade=$(winpath "$build/tests/launchers/dralyn_multi/setup.exe")
for lang in English German Spanish French; do
  fresh_prefix
  "$WINE" msiexec /i "$(winpath "$build/fixtures/dralyn2023.msi")" /qn >/dev/null 2>&1
  "$WINE" reg add 'HKLM\Software\Morvex\Dralyn\Installation_v2023\Setup' /v Language /d "" /f /reg:32 >/dev/null 2>&1
  "$WINE" "$build/tests/shoot.exe" --welcome 4-upgrade "$upgrade" "$(winpath "$work/$lang")" "lang=$lang" >/dev/null ||
    echo "shoot failed for the upgrade in $lang: $?" >&2
done
# The server pages, the service page with its three dialogs, and the
# password of a service account that the command line names without one
# (asked for by Next on the service page): a Brimcart server, German-only
# for the German pictures.
for lang in English German; do
  brimcart=server_brimcart; [ $lang = German ] && brimcart=server_brimcart_de
  server=$(winpath "$build/tests/launchers/$brimcart/setup.exe")
  fresh_prefix
  "$WINE" "$build/tests/shoot.exe" --server 5 "$server" "$(winpath "$work/$lang")" >/dev/null ||
    echo "shoot failed for the server pages in $lang: $?" >&2
  fresh_prefix
  "$WINE" "$build/tests/shoot.exe" --password 10-password "$server" "$(winpath "$work/$lang")" \
    'BC_Service_Username=.\svc' >/dev/null || echo "shoot failed for the password dialog in $lang: $?" >&2
done
# The settings backup page of a Sollenvey server whose data is on the
# machine (a German-only installer for the German picture).
for lang in English German; do
  fresh_prefix
  data=$prefix/drive_c/ProgramData/Morvex/SollenveyServer
  mkdir -p "$data/SolutionFiles/app"
  printf '[server]\r\nport=1\r\n' >"$data/sollenveyserver.cfg"
  head -c 3000000 /dev/zero | tr '\0' d >"$data/sollenvey.db"
  head -c 5000 /dev/zero | tr '\0' s >"$data/SolutionFiles/app/main.sol"
  sollenvey=server_sollenvey; [ $lang = German ] && sollenvey=server_sollenvey_de
  "$WINE" "$build/tests/shoot.exe" --backup 11-backup "$(winpath "$build/tests/launchers/$sollenvey/setup.exe")" \
    "$(winpath "$work/$lang")" >/dev/null || echo "shoot failed for the backup page in $lang: $?" >&2
done
# At 144 DPI (150 %, the default scale of many laptops), in English: the
# welcome, sub-packages and finish pages, and the service page.
fresh_prefix 144
"$WINE" "$build/tests/shoot.exe" "$launcher" "$(winpath "$work/English-144dpi")" "lang=English" >/dev/null ||
  echo "shoot failed at 144 DPI: $?" >&2
fresh_prefix 144
"$WINE" "$build/tests/shoot.exe" --service 4-service "$(winpath "$build/tests/launchers/server_brimcart/setup.exe")" \
  "$(winpath "$work/English-144dpi")" >/dev/null || echo "shoot failed for the service page at 144 DPI: $?" >&2
# High contrast: the welcome and service pages in the system's colours.
fresh_prefix
contrast_colours
"$WINE" "$build/tests/shoot.exe" --contrast --welcome 1-welcome "$launcher" "$(winpath "$work/English-contrast")" \
  "lang=English" >/dev/null || echo "shoot failed in high contrast: $?" >&2
fresh_prefix
contrast_colours
"$WINE" "$build/tests/shoot.exe" --contrast --service 2-service \
  "$(winpath "$build/tests/launchers/server_brimcart/setup.exe")" "$(winpath "$work/English-contrast")" >/dev/null ||
  echo "shoot failed for the service page in high contrast: $?" >&2
python3 "$here/tools/bmp2png.py" "$work"/*.bmp --out "$out"
ls "$out"
