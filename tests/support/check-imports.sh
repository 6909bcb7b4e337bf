#!/usr/bin/env bash
# A shipped launcher is a stripped Windows GUI program of the given
# architecture that imports by name only Windows' KnownDLLs (known-dlls.txt
# beside this script, with where the list comes from): no C++ runtime,
# libgcc or winpthread DLL, and no other system DLL either (msi.dll,
# cabinet.dll, crypt32.dll, version.dll, comctl32.dll are bound at run time
# from the system folder), since Windows looks for any other DLL in the
# program's own folder first.
# The builder is checked the same way, as a console program.
#   check-imports.sh EXE [x86|x64] [gui|console]
set -euo pipefail
exe=$1
arch=${2:-x86}
subsystem=${3:-gui}
case "$arch" in
  x64) objdump=x86_64-w64-mingw32-objdump; nm=x86_64-w64-mingw32-nm; format=pei-x86-64 ;;
  *)   objdump=i686-w64-mingw32-objdump; nm=i686-w64-mingw32-nm; format=pei-i386 ;;
esac
dump=$("$objdump" -p "$exe")
imports=$(printf '%s\n' "$dump" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
echo "imports:"; printf '  %s\n' $imports
allowed=$(sed -e 's/#.*//' -e '/^\s*$/d' "$(dirname "$0")/known-dlls.txt" | tr -d ' \r' | tr '\n' ' ')
status=0
for dll in $imports; do
  case " $allowed " in
    *" $dll "*) ;;
    *) echo "FAIL: imports $dll"; status=1 ;;
  esac
done
if ! grep -q "file format $format" <<<"$dump"; then
  echo "FAIL: not a $format image"; status=1
fi
if [ "$subsystem" = console ]; then
  if ! grep -Eq '^Subsystem\s+00000003\s+\(Windows CUI\)' <<<"$dump"; then
    echo "FAIL: not a Windows console program"; status=1
  fi
elif ! grep -Eq '^Subsystem\s+00000002\s+\(Windows GUI\)' <<<"$dump"; then
  echo "FAIL: not a Windows GUI program"; status=1
fi
if "$objdump" -h "$exe" | grep -q '\.debug'; then echo "FAIL: not stripped"; status=1; fi
if "$nm" "$exe" >/dev/null 2>&1 && [ -n "$("$nm" "$exe" 2>/dev/null | head -1)" ]; then
  echo "FAIL: symbol table present"; status=1
fi
[ $status = 0 ] && echo "1 passed, 0 failed"
exit $status
