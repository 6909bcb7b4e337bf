#!/usr/bin/env python3
"""Consistency check of the launcher's string tables.

    check_strings.py [RESOURCE_DIR]

Reads resources/strings_{en,de,es,fr}.rc, StringIds.h and string_ids.txt and
reports every id that is missing from one of them, every translation whose
printf placeholders differ from the English text (count, order or type), and
escapes that the resource compiler would not turn into the intended
character. Exit code 0 when everything matches, 1 otherwise.
"""
import os
import re
import sys

LANGUAGES = ["en", "de", "es", "fr"]
ENTRY = re.compile(r'^\s*(\d+)\s+"((?:[^"]|"")*)"\s*$')
PLACEHOLDER = re.compile(r"%[-+ #0]*\d*(?:\.\d+)?(?:hh|h|ll|l|L|I64|I32)?[sSdiuxXcfgp%]")
DEFINE = re.compile(r"^#define\s+(\w+)\s+(\d+)\s*$")


def decode(text):
    """The characters windres stores for an .rc string literal body."""
    out, i = [], 0
    while i < len(text):
        c = text[i]
        if c == '"' and text[i + 1:i + 2] == '"':
            out.append('"')
            i += 2
        elif c == "\\":
            nxt = text[i + 1:i + 2]
            mapping = {"n": "\n", "t": "\t", "\\": "\\", "r": "\r", "a": "\a"}
            if nxt not in mapping:
                raise ValueError("unsupported escape \\%s" % nxt)
            out.append(mapping[nxt])
            i += 2
        else:
            out.append(c)
            i += 1
    return "".join(out)


def read_table(path):
    table, in_block = {}, False
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            stripped = line.strip()
            if stripped == "BEGIN":
                in_block = True
                continue
            if stripped == "END":
                in_block = False
                continue
            if not in_block or not stripped or stripped.startswith("//"):
                continue
            m = ENTRY.match(line)
            if not m:
                raise ValueError("%s:%d: not a string entry" % (path, number))
            ident = int(m.group(1))
            if ident in table:
                raise ValueError("%s:%d: id %d twice" % (path, number, ident))
            try:
                table[ident] = decode(m.group(2))
            except ValueError as e:
                raise ValueError("%s:%d: %s" % (path, number, e))
    return table


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "resources")
    problems = []
    tables = {}
    for lang in LANGUAGES:
        try:
            tables[lang] = read_table(os.path.join(folder, "strings_%s.rc" % lang))
        except ValueError as e:
            problems.append(str(e))
    if problems:
        print("\n".join(problems))
        return 1

    english = tables["en"]
    for lang in LANGUAGES[1:]:
        table = tables[lang]
        for ident in sorted(set(english) - set(table)):
            problems.append("%s: id %d missing" % (lang, ident))
        for ident in sorted(set(table) - set(english)):
            problems.append("%s: id %d not in the English table" % (lang, ident))
        for ident in sorted(set(table) & set(english)):
            want = PLACEHOLDER.findall(english[ident])
            got = PLACEHOLDER.findall(table[ident])
            if want != got:
                problems.append("%s: id %d placeholders %s, English has %s" % (lang, ident, got, want))
            if not table[ident].strip():
                problems.append("%s: id %d is empty" % (lang, ident))

    defines = {}
    with open(os.path.join(folder, "StringIds.h"), encoding="utf-8") as f:
        for line in f:
            m = DEFINE.match(line.strip())
            if m:
                defines[m.group(1)] = int(m.group(2))
    if sorted(defines.values()) != sorted(english):
        problems.append("StringIds.h differs from the English table: extra %s, missing %s" % (
            sorted(set(defines.values()) - set(english)), sorted(set(english) - set(defines.values()))))

    listed = set()
    with open(os.path.join(folder, "string_ids.txt"), encoding="utf-8") as f:
        for line in f:
            if line.strip() and not line.startswith("#"):
                listed.add(int(line.split()[0]))
    if listed != set(english):
        problems.append("string_ids.txt differs from the English table: extra %s, missing %s" % (
            sorted(listed - set(english)), sorted(set(english) - listed)))

    for p in problems:
        print(p)
    if not problems:
        print("%d ids in %d languages, placeholders consistent" % (len(english), len(LANGUAGES)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
