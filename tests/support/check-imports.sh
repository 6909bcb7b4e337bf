#!/usr/bin/env bash
# The shipped launcher is stripped and imports only Windows' own DLLs: no C++
# runtime, libgcc or winpthread DLL, and neither msi.dll nor cabinet.dll
# (those are bound at run time from the system folder).
set -euo pipefail
exe=$1
dump=$(i686-w64-mingw32-objdump -p "$exe")
imports=$(printf '%s\n' "$dump" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
echo "imports:"; printf '  %s\n' $imports
allowed="kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll ole32.dll oleaut32.dll comdlg32.dll msvcrt.dll rpcrt4.dll version.dll crypt32.dll shlwapi.dll comctl32.dll"
status=0
for dll in $imports; do
  case " $allowed " in
    *" $dll "*) ;;
    *) echo "FAIL: imports $dll"; status=1 ;;
  esac
done
if i686-w64-mingw32-objdump -h "$exe" | grep -q '\.debug'; then echo "FAIL: not stripped"; status=1; fi
if i686-w64-mingw32-nm "$exe" >/dev/null 2>&1 && [ -n "$(i686-w64-mingw32-nm "$exe" 2>/dev/null | head -1)" ]; then
  echo "FAIL: symbol table present"; status=1
fi
[ $status = 0 ] && echo "1 passed, 0 failed"
exit $status
