#!/usr/bin/env bash
# Signs a built product installer with an Authenticode signature, on Linux,
# with osslsigncode (Debian package osslsigncode). Sign after the builder has
# written every resource: any later resource change breaks the signature.
#
#   tools/sign.sh [options] INSTALLER
#     --cert FILE.pem --key FILE.pem   the certificate (chain) and its private key, or
#     --pkcs12 FILE.pfx                both in one PKCS#12 file
#     --pass PASSWORD                  the password of the key or the PKCS#12 file
#     --name TEXT                      the description shown in the signature (default: the file name)
#     --url URL                        the publisher's address shown with it
#     --timestamp URL                  an RFC 3161 time-stamping server (optional)
#     --out FILE                       write the signed file there (default: replace INSTALLER)
#
# The signed file replaces the installer only when signing succeeded; the
# signature is checked with "osslsigncode verify" before that.
set -euo pipefail
usage() { sed -n '2,16p' "$0" | sed 's/^# \{0,1\}//'; exit "${1:-2}"; }
cert= key= pkcs12= pass= name= url= timestamp= out= input=
while [ $# -gt 0 ]; do
  case "$1" in
    --cert) cert=$2; shift 2 ;;
    --key) key=$2; shift 2 ;;
    --pkcs12) pkcs12=$2; shift 2 ;;
    --pass) pass=$2; shift 2 ;;
    --name) name=$2; shift 2 ;;
    --url) url=$2; shift 2 ;;
    --timestamp) timestamp=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    -h|--help) usage 0 ;;
    -*) echo "sign.sh: unknown option $1" >&2; usage ;;
    *) [ -z "$input" ] || { echo "sign.sh: one installer at a time" >&2; exit 2; }; input=$1; shift ;;
  esac
done
[ -n "$input" ] || { echo "sign.sh: no installer given" >&2; usage; }
[ -f "$input" ] || { echo "sign.sh: $input: no such file" >&2; exit 1; }
command -v osslsigncode >/dev/null || { echo "sign.sh: osslsigncode is missing (apt-get install osslsigncode)" >&2; exit 1; }
args=(sign -h sha256)
if [ -n "$pkcs12" ]; then
  args+=(-pkcs12 "$pkcs12")
elif [ -n "$cert" ] && [ -n "$key" ]; then
  args+=(-certs "$cert" -key "$key")
else
  echo "sign.sh: give --pkcs12 FILE, or --cert FILE and --key FILE" >&2; exit 2
fi
[ -z "$pass" ] || args+=(-pass "$pass")
args+=(-n "${name:-$(basename "$input")}")
[ -z "$url" ] || args+=(-i "$url")
[ -z "$timestamp" ] || args+=(-ts "$timestamp")
target=${out:-$input}
partial="$target.signing.$$"
trap 'rm -f "$partial"' EXIT
osslsigncode "${args[@]}" -in "$input" -out "$partial" >/dev/null
# The signature must cover the file as written: the digest it carries is the
# file's own. (Whether the certificate chains to a trusted root is the
# signing machine's business: "osslsigncode verify -CAfile ROOT.pem" tells.)
verify=$(osslsigncode verify -in "$partial" 2>&1 || true)
current=$(sed -n 's/^Current message digest *: *//p' <<<"$verify" | tr -d ' ')
calculated=$(sed -n 's/^Calculated message digest *: *//p' <<<"$verify" | tr -d ' ')
if [ -z "$current" ] || [ "$current" != "$calculated" ]; then
  echo "sign.sh: the signature of $partial does not match the file:" >&2; echo "$verify" >&2; exit 1
fi
mv -f "$partial" "$target"
trap - EXIT
echo "Signed $target"
