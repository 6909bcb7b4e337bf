#!/usr/bin/env bash
# Shows that the winget manifest SetupBuilder writes validates against
# winget's published installer manifest schema (1.6.0, a copy in
# tests/builder/winget) and names the built installer's SHA-256 and the main
# package's product code, with the switches and return codes of the sample in
# docs/deployment.md; and that a manifest broken on purpose does not
# validate (the check can fail).
#   winget-manifest-test.sh BUILD SOURCE PYTHON   (ctest runs it)
set -uo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
python=$3
. "$source/tests/support/wine-env.sh"
# Python with jsonschema and yaml: the one CMake found, else the system's.
for candidate in "$python" /usr/bin/python3; do
  if "$candidate" -c 'import jsonschema, yaml' 2>/dev/null; then python=$candidate; break; fi
done
"$python" -c 'import jsonschema, yaml' || { echo "FAIL: no Python with jsonschema and yaml"; exit 1; }
work=$(mktemp -d "${TMPDIR:-/tmp}/winget-test.XXXXXX")
clone_prefix "${TEST_WINE_TEMPLATE:?}" "$work/prefix" || exit 1
export WINEPREFIX=$work/prefix
unset DISPLAY
trap 'stop_wineserver; rm -rf "$work"' EXIT
winpath() { echo "Z:$1" | sed 's|/|\\|g'; }

"$WINE" "$build/SetupBuilder.exe" --out "$(winpath "$work/setup.exe")" \
  --package "$(winpath "$build/fixtures/editor.msi")" --product-id DY::E \
  --package "$(winpath "$build/fixtures/tools.msi")" \
  --winget-manifest "$(winpath "$work/setup.yaml")" --installer-url https://downloads.example.com/editor/setup.exe \
  >"$work/builder.txt" 2>&1 || { echo "FAIL: the builder failed"; cat "$work/builder.txt"; exit 1; }
hash=$(sha256sum "$work/setup.exe" | cut -d' ' -f1)
code=$(msiinfo export "$build/fixtures/editor.msi" Property | tr -d '\r' | awk -F'\t' '$1 == "ProductCode" {print $2}')
"$python" - "$source/tests/builder/winget/manifest.installer.1.6.0.json" "$work/setup.yaml" "$hash" "$code" \
  "$source/docs/deployment.md" <<'PY'
import json, re, sys, copy
import jsonschema, yaml
schema_path, manifest_path, digest, product_code, docs_path = sys.argv[1:6]
schema = json.load(open(schema_path, encoding="utf-8"))
manifest = yaml.safe_load(open(manifest_path, encoding="utf-8"))
failures = 0
def check(what, ok):
    global failures
    print(("ok: " if ok else "FAIL: ") + what)
    failures += not ok
validator = jsonschema.Draft7Validator(schema)
errors = [e.message for e in validator.iter_errors(manifest)]
check("the manifest validates against the 1.6.0 schema %s" % errors, not errors)
check("ManifestVersion is 1.6.0 or newer", tuple(map(int, manifest["ManifestVersion"].split("."))) >= (1, 6, 0))
installer = manifest["Installers"][0]
check("InstallerSha256 is the built installer's SHA-256", installer["InstallerSha256"].lower() == digest)
check("the installer is an exe with the launcher's silent switch",
      manifest["InstallerType"] == "exe" and manifest["InstallerSwitches"]["Silent"] == "/qn")
check("the main package's product code", installer["ProductCode"] == product_code and
      manifest["AppsAndFeaturesEntries"][0]["ProductCode"] == product_code)
docs = open(docs_path, encoding="utf-8").read()
sample = yaml.safe_load(re.search(r"```yaml\n(# [^\n]*installer\.yaml\n.*?)```", docs, re.S).group(1))
check("the return codes are those of docs/deployment.md's sample",
      manifest["ExpectedReturnCodes"] == sample["ExpectedReturnCodes"])
check("the switches are those of docs/deployment.md's sample",
      manifest["InstallerSwitches"] == sample["InstallerSwitches"])
broken = copy.deepcopy(manifest)
broken["Installers"][0]["InstallerSha256"] = "not a hash"
check("a manifest with a bad hash does not validate", any(True for _ in validator.iter_errors(broken)))
sys.exit(1 if failures else 0)
PY
