#!/usr/bin/env bash
# The bare launcher is the template every installer carries (and every kept
# copy of one): its file must stay within a ceiling, so that code or
# pictures added later cannot make it grow unnoticed. Prints each section's
# size in the file and the whole.
#   check-size.sh EXE CEILING_BYTES [x86|x64]
set -euo pipefail
exe=$1 ceiling=$2 arch=${3:-x86}
case "$arch" in
  x64) objdump=x86_64-w64-mingw32-objdump ;;
  *)   objdump=i686-w64-mingw32-objdump ;;
esac
# Columns of objdump -h: index, name, size (hexadecimal), VMA, LMA, file
# offset, alignment.
"$objdump" -h "$exe" | while read -r index name hex _; do
  if [[ $index =~ ^[0-9]+$ ]]; then printf '  %-10s %9d bytes\n' "$name" "$((16#$hex))"; fi
done
size=$(stat -c %s "$exe")
echo "file: $size bytes, ceiling $ceiling bytes"
if [ "$size" -gt "$ceiling" ]; then
  echo "FAIL: $exe is $((size - ceiling)) bytes over its ceiling"
  exit 1
fi
echo "1 passed, 0 failed"
