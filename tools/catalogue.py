#!/usr/bin/env python3
"""Builds the type-40 catalogue resources of a product installer.

  catalogue.py package --msi X.msi --out X.pkg
      packs an installer database into a cabinet (gcab, MSZIP) and prefixes
      it with its 4-byte little-endian length, as the launcher carries it.

  catalogue.py rc --json catalogue.json --out DIR [--var NAME=VALUE ...]
      writes DIR/catalogue.rc and the data files it names.

The JSON description:
  {
    "language": 1033,                # language of the catalogue strings
    "strings": {"OS": "6.1.1", "MINIMUM_MSI": "200"},
    "packages": [
      {"msi": "${FIXTURES}/demo.msi",          # codes, name, version and
       "name": "...", "product_id": "",        # platform default to the
       "transforms": {"1031": "file.mst"},      # database's own values
       "record_sha256": true}                  # PACKAGE_SHA256_n, as the
    ],                                         # builder records it
    "extra": [{"name": "OS", "language": 1031, "text": "6.1.1"}],
    "omit": ["PRODUCT_CODE_0"]
  }
A string value of null omits that resource; "package": null omits PACKAGE_n;
"package": "FILE" embeds FILE as PACKAGE_n (the database still gives the facts).
PACKAGE_COUNT defaults to the number of packages.
"""
import argparse, hashlib, json, os, re, struct, subprocess, sys, tempfile

LANG_IDS = {1033: (9, 1), 1031: (7, 1), 1034: (10, 1), 1036: (12, 1), 1041: (17, 1), 0: (0, 0)}


def expand(text, variables):
    # ${LONG} stands for 2,100 characters, for tests of very long texts.
    values = dict(variables, LONG="0123456789" * 210)
    return re.sub(r"\$\{(\w+)\}", lambda m: values[m.group(1)], text)


def msi_facts(msi):
    props = subprocess.run(["msiinfo", "export", msi, "Property"], check=True,
                           capture_output=True, text=True).stdout
    facts = {}
    for line in props.splitlines()[3:]:
        parts = line.split("\t")
        if len(parts) == 2:
            facts[parts[0]] = parts[1]
    info = subprocess.run(["msiinfo", "suminfo", msi], check=True,
                          capture_output=True, text=True).stdout
    package_code = re.search(r"Revision number \(UUID\): (\{[0-9A-Fa-f-]+\})", info)
    template = re.search(r"Template: ([^;\n]*)", info)
    return {
        "name": facts.get("ProductName", ""),
        "product_code": facts.get("ProductCode", ""),
        "version": facts.get("ProductVersion", ""),
        "package_code": package_code.group(1) if package_code else "",
        "platform": template.group(1) if template else "Intel",
    }


def make_package(msi, out):
    with tempfile.TemporaryDirectory() as tmp:
        cab = os.path.join(tmp, "Package.cab")
        subprocess.run(["gcab", "-c", "-z", "-n", cab, msi], check=True)
        data = open(cab, "rb").read()
    with open(out, "wb") as f:
        f.write(struct.pack("<I", len(data)))
        f.write(data)


def rc_path(path):
    return path.replace("\\", "/")


def write_rc(description, out_dir, variables):
    os.makedirs(out_dir, exist_ok=True)
    entries = []  # (language, name, file)
    counter = [0]

    def add_text(name, text, lang):
        counter[0] += 1
        path = os.path.join(out_dir, "s%03d.bin" % counter[0])
        with open(path, "wb") as f:
            f.write(text.encode("utf-16-le") + b"\0\0")
        entries.append((lang, name, path))

    lang = description.get("language", 1033)
    omit = set(description.get("omit", []))
    packages = description.get("packages", [])
    strings = {"PACKAGE_COUNT": str(len(packages)), "OS": "6.1.1", "MINIMUM_MSI": "200"}
    strings.update(description.get("strings", {}))
    for i, pkg in enumerate(packages):
        facts = {}
        if pkg.get("msi"):
            msi = expand(pkg["msi"], variables)
            facts = msi_facts(msi)
            if pkg.get("package"):
                entries.append((0, "PACKAGE_%d" % i, expand(pkg["package"], variables)))
            elif pkg.get("package", "") is not None:
                blob = os.path.join(out_dir, "package_%d.pkg" % i)
                make_package(msi, blob)
                entries.append((0, "PACKAGE_%d" % i, blob))
        elif pkg.get("package"):
            entries.append((0, "PACKAGE_%d" % i, expand(pkg["package"], variables)))
        blobs = [e[2] for e in entries if e[1] == "PACKAGE_%d" % i]
        if pkg.get("record_sha256") and blobs:
            # The SHA-256 of the cabinet (the blob without its length), which
            # the launcher checks before unpacking.
            with open(blobs[0], "rb") as blob_file:
                strings["PACKAGE_SHA256_%d" % i] = hashlib.sha256(blob_file.read()[4:]).hexdigest()
        fields = {"PRODUCT_NAME": "name", "PRODUCT_CODE": "product_code",
                  "PACKAGE_CODE": "package_code", "PRODUCT_ID": "product_id",
                  "PRODUCT_PLATFORM": "platform", "PRODUCT_VERSION": "version"}
        for res, key in fields.items():
            value = pkg[key] if key in pkg else facts.get(key, "")
            strings["%s_%d" % (res, i)] = value
        for tlang, tfile in pkg.get("transforms", {}).items():
            entries.append((int(tlang), "PACKAGE_%d_%s" % (i, tlang), expand(tfile, variables)))
    for name, value in strings.items():
        if value is not None and name not in omit:
            add_text(name, value, lang)
    for extra in description.get("extra", []):
        add_text(extra["name"], extra["text"], extra.get("language", lang))
    entries = [e for e in entries if e[1] not in omit]

    with open(os.path.join(out_dir, "catalogue.rc"), "w") as rc:
        for res_lang, name, path in entries:
            primary, sub = LANG_IDS[res_lang]
            rc.write("LANGUAGE %d, %d\n%s 40 \"%s\"\n" % (primary, sub, name, rc_path(path)))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("command", choices=["package", "rc"])
    parser.add_argument("--msi")
    parser.add_argument("--json")
    parser.add_argument("--out", required=True)
    parser.add_argument("--var", action="append", default=[])
    args = parser.parse_args()
    variables = dict(v.split("=", 1) for v in args.var)
    if args.command == "package":
        make_package(args.msi, args.out)
    else:
        with open(args.json) as f:
            description = json.loads(expand(f.read(), variables))
        write_rc(description, args.out, variables)


if __name__ == "__main__":
    sys.exit(main())
