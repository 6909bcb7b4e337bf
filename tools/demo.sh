#!/usr/bin/env bash
# The demo: runs the demo installer under Wine in a prefix of its own,
# quietly with a verbose log; shows what it installed; removes it again with
# /x; prints the exit codes and the launcher's log lines. The 32-bit demo
# installer runs where the machine can run 32-bit programs, the 64-bit one
# (BUILD/x64) otherwise, saying why.
#   demo.sh [BUILD]
set -uo pipefail
build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/tools/launchers.sh"
export WINE32_NOTE="$build/.wine32-missing"
if machine_runs_32bit; then
  export TEST_WINE_ARCH=x86
  echo "== The 32-bit demo installer ($build/demo/setup.exe)"
else
  export TEST_WINE_ARCH=x64
  build=$build/x64
  echo "== The 64-bit demo installer ($build/demo/setup.exe): $(why_no_32bit)"
fi
. "$here/tests/support/wine-env.sh"
template=$build/wine/template
prefix=$build/wine/demo
rm -rf "$prefix"
clone_prefix "$template" "$prefix" || exit 1
export WINEPREFIX=$prefix
unset DISPLAY
trap 'stop_wineserver; rm -rf "$prefix"' EXIT
winpath() { echo "Z:$1" | sed 's|/|\\|g'; }
setup=$(winpath "$build/demo/setup.exe")
runexit=$build/tests/runexit.exe

show_log() {
  iconv -f UTF-16LE -t UTF-8 "$1" 2>/dev/null | tr -d '\r' | grep -E '^(ZEL \(c\)|=== SetupLauncher)' | grep -v 'ctivating dialog' | sed 's/^/    /'
}
show_installed() {
  echo "  Windows Installer products (uninstall entries, 32-bit view):"
  "$WINE" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s /reg:32 2>/dev/null | tr -d '\r' \
    | grep -E 'DisplayName|DisplayVersion' | grep -i morvex -A1 | sed 's/^ */    /' || echo "    (none)"
  echo "  Registry values under HKLM\\Software\\Morvex\\Demo (32-bit view):"
  "$WINE" reg query 'HKLM\Software\Morvex\Demo' /s /reg:32 2>/dev/null | tr -d '\r' | grep -E 'HKEY|REG_' \
    | sed 's/^ */    /' | grep . || echo "    (none)"
  echo "  Files under Program Files (x86)\\Morvex:"
  files=$(find "$prefix/drive_c/Program Files (x86)/Morvex" -type f 2>/dev/null)
  if [ -n "$files" ]; then echo "$files" | sed "s|$prefix/drive_c/|    C:/|"; else echo "    (none)"; fi
}

echo "== setup.exe /qn /L*v install.txt"
"$WINE" "$runexit" "$setup" /qn /L*v 'C:\install.txt' | tr -d '\r'
show_log "$prefix/drive_c/install.txt"
echo "== installed:"
show_installed

echo "== setup.exe /x /qn /L*v uninstall.txt"
"$WINE" "$runexit" "$setup" /x /qn /L*v 'C:\uninstall.txt' | tr -d '\r'
show_log "$prefix/drive_c/uninstall.txt"
echo "== after /x:"
show_installed
