#!/usr/bin/env bash
# Shows that a product installer made by SetupBuilder and signed on Linux
# with tools/sign.sh (a certificate made with openssl for the test, as PEM
# files and as PKCS#12) verifies with osslsigncode and still installs; and
# that the builder refuses a signed template, or removes its signature when
# told to and says so.
#   sign-installer-test.sh BUILD SOURCE   (ctest runs it; one Wine prefix for all steps)
set -uo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
. "$source/tests/support/wine-env.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/sign-test.XXXXXX")
prefix=$work/prefix
clone_prefix "${TEST_WINE_TEMPLATE:?}" "$prefix" || exit 1
export WINEPREFIX=$prefix
unset DISPLAY
trap 'stop_wineserver; rm -rf "$work"' EXIT
winpath() { echo "Z:$1" | sed 's|/|\\|g'; }
failures=0
check() {  # check DESCRIPTION COMMAND...
  if "${@:2}" >/dev/null 2>&1; then echo "ok: $1"; else echo "FAIL: $1"; failures=$((failures + 1)); fi
}
builder() { "$WINE" "$build/SetupBuilder.exe" "$@" 2>/dev/null | tr -d '\r'; return "${PIPESTATUS[0]}"; }
full_exit() { "$WINE" "$build/tests/runexit.exe" "$@" 2>/dev/null | tr -d '\r' | sed -n 's/^exit code: //p'; }

openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/key.pem" -out "$work/cert.pem" -days 2 \
  -subj "/CN=Morvex Test Signing" 2>/dev/null || { echo "FAIL: openssl cannot make a certificate"; exit 1; }
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -out "$work/signing.pfx" -passout pass:secret \
  2>/dev/null || { echo "FAIL: openssl cannot make a PKCS#12 file"; exit 1; }

# ---- build, sign with PEM files, verify, install
setup=$work/setup.exe
out=$(builder --out "$(winpath "$setup")" --package "$(winpath "$build/fixtures/editor.msi")")
check "the builder makes the installer" test -f "$setup"
check "sign.sh signs with a certificate and key" "$source/tools/sign.sh" --cert "$work/cert.pem" --key "$work/key.pem" \
  --name "Morvex Test Editor 2024 Setup" "$setup"
check "the signed installer verifies" osslsigncode verify -CAfile "$work/cert.pem" -in "$setup"
check "the signed installer validates" test "$(full_exit "$(winpath "$setup")" /v)" = 0
check "the signed installer installs" test "$(full_exit "$(winpath "$setup")" /qn)" = 0
check "the product is installed" test -f "$prefix/drive_c/Program Files (x86)/Morvex/TestEditor/readme.txt"

# ---- PKCS#12, into another file; the original stays unsigned
check "sign.sh signs with a PKCS#12 file" "$source/tools/sign.sh" --pkcs12 "$work/signing.pfx" --pass secret \
  --out "$work/setup-p12.exe" "$work/setup.exe"
check "the PKCS#12-signed installer verifies" osslsigncode verify -CAfile "$work/cert.pem" -in "$work/setup-p12.exe"
check "a file that was changed after signing does not verify" bash -c \
  "cp '$work/setup-p12.exe' '$work/changed.exe' && printf 'XXXX' | dd of='$work/changed.exe' bs=1 seek=4096 conv=notrunc 2>/dev/null \
   && ! osslsigncode verify -CAfile '$work/cert.pem' -in '$work/changed.exe' >/dev/null 2>&1"
check "sign.sh refuses to sign without a certificate" bash -c "! '$source/tools/sign.sh' '$work/setup.exe' 2>/dev/null"

# ---- a signed template: refused, or its signature removed on request
cp "$build/SetupLauncher.exe" "$work/template.exe"
"$source/tools/sign.sh" --cert "$work/cert.pem" --key "$work/key.pem" "$work/template.exe" >/dev/null
refused=$(builder --template "$(winpath "$work/template.exe")" --out "$(winpath "$work/from-signed.exe")" \
  --package "$(winpath "$build/fixtures/editor.msi")"); status=$?
check "a signed template is refused" test "$status" != 0
check "the refusal says why" grep -q "template.exe: the template is signed" <<<"$refused"
check "no installer is written from a signed template" test ! -e "$work/from-signed.exe"
removed=$(builder --template "$(winpath "$work/template.exe")" --out "$(winpath "$work/from-signed.exe")" \
  --package "$(winpath "$build/fixtures/editor.msi")" --remove-signature); status=$?
check "with --remove-signature the build succeeds" test "$status" = 0
check "the builder says it removed the signature" grep -q "Removed the Authenticode signature" <<<"$removed"
check "the result carries no signature" bash -c "! osslsigncode verify -in '$work/from-signed.exe' >/dev/null 2>&1"
check "the result validates" test "$(full_exit "$(winpath "$work/from-signed.exe")" /v)" = 0

[ "$failures" = 0 ] && echo "all passed" || echo "$failures failed"
exit $((failures != 0))
