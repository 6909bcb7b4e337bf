#!/usr/bin/env python3
"""Writes a Windows Installer transform (.mst) for the tests.

    make_transform.py BASE.msi OUT.mst --target TARGET.msi
    make_transform.py BASE.msi OUT.mst --query SQL [--query SQL ...]
    make_transform.py BASE.msi OUT.mst --changes FILE --name NAME

The second form copies BASE.msi, runs the queries on the copy with msibuild
and takes the copy as the target. The third form reads the changes named
NAME from a description file (see read_changes) and applies them to the
rows of BASE.msi; it is the form for texts in other languages, which it
writes in the code page that the description gives. The tables are read with
msiinfo (msitools). The transform holds the changed, added and deleted rows
of tables that exist in both databases with the same columns; new or dropped
tables, changed columns and changed stream columns are refused. It is a real
transform file: an OLE compound file with the transform class id, the
transform's string pool in its code page, one stream per changed table, and
a summary information stream that names the base and target languages, the
product codes and versions, and the error and validation conditions, as the
installer's own transform generation writes them.
"""

import argparse
import os
import shutil
import struct
import subprocess
import sys
import tempfile

# ---------------------------------------------------------------- tables


class Table:
    def __init__(self, name, columns, types, keys, rows):
        self.name = name
        self.columns = columns
        self.types = types
        self.keys = keys  # column indexes of the primary key
        self.rows = rows  # key tuple -> list of texts

    def is_integer(self, column):
        return self.types[column][0] in "iI"

    def width(self, column):
        return int(self.types[column][1:] or "0") if self.is_integer(column) else 0


def run(*command):
    return subprocess.run(command, check=True, stdout=subprocess.PIPE).stdout


def table_names(msiinfo, database):
    text = run(msiinfo, "tables", database).decode("utf-8")
    return [line.strip() for line in text.splitlines() if line.strip() and not line.startswith("_")]


def read_table(msiinfo, database, name):
    text = run(msiinfo, "export", database, name).decode("utf-8").replace("\0", "")
    lines = text.replace("\r\n", "\n").split("\n")
    columns = lines[0].split("\t")
    types = lines[1].split("\t")
    header = lines[2].split("\t")
    keys = [columns.index(key) for key in header[1:]]
    rows = {}
    for line in lines[3:]:
        if not line:
            continue
        values = line.split("\t")
        values += [""] * (len(columns) - len(values))
        rows[tuple(values[k] for k in keys)] = values
    return Table(name, columns, types, keys, rows)


# ---------------------------------------------------------------- transform data


class StringPool:
    """The transform's own string table: ids from 1, 0 is the null string.
    Its texts are stored in the code page of the transform (0: neutral, whose
    texts must be plain Windows-1252)."""

    def __init__(self, codepage=0):
        self.codepage = codepage
        self.ids = {}
        self.strings = []
        self.refs = []

    def id(self, text):
        if text == "":
            return 0
        if text not in self.ids:
            self.ids[text] = len(self.strings) + 1
            self.strings.append(text)
            self.refs.append(0)
        index = self.ids[text]
        self.refs[index - 1] += 1
        return index

    def streams(self):
        codec = "cp%d" % (self.codepage or 1252)
        encoded = [s.encode(codec) for s in self.strings]
        if any(len(e) > 0xFFFF for e in encoded):
            raise SystemExit("strings longer than 64 KiB are not supported")
        long_refs = len(self.strings) > 0xFFFF
        codepage = self.codepage
        pool = struct.pack("<HH", codepage & 0xFFFF, ((codepage >> 16) & 0x7FFF) | (0x8000 if long_refs else 0))
        for data, refs in zip(encoded, self.refs):
            pool += struct.pack("<HH", len(data), min(refs, 0xFFFF))
        return pool, b"".join(encoded), 3 if long_refs else 2


def encode_value(table, column, text, pool, strref):
    if table.is_integer(column):
        width = table.width(column)
        if text == "":
            return b"\0" * width
        value = int(text)
        if width == 2:
            return struct.pack("<H", (value + 0x8000) & 0xFFFF)
        return struct.pack("<I", (value ^ 0x80000000) & 0xFFFFFFFF)
    return pool.id(text).to_bytes(strref, "little")


def table_changes(base, target):
    """(kind, values, changed columns) per row, kind: delete, update, insert."""
    changes = []
    for key, values in base.rows.items():
        if key not in target.rows:
            changes.append(("delete", values, []))
    for key, values in target.rows.items():
        old = base.rows.get(key)
        if old is None:
            changes.append(("insert", values, []))
        elif old != values:
            changes.append(("update", values, [i for i in range(len(values)) if values[i] != old[i]]))
    return changes


def encode_rows(table, changes, pool, strref):
    count = len(table.columns)
    masked = 0 in table.keys and count <= 15
    data = b""
    for kind, values, changed in changes:
        if kind == "insert" or (kind == "update" and not masked):
            columns = range(count)
            mask = (count << 8) | 1
        else:
            bits = 0 if kind == "delete" else sum(1 << i for i in changed)
            columns = [i for i in range(count) if i in table.keys or bits & (1 << i)]
            mask = bits
        data += struct.pack("<H", mask)
        for column in columns:
            data += encode_value(table, column, values[column], pool, strref)
    return data


# ---------------------------------------------------------------- stream names


def mime(ch):
    if "0" <= ch <= "9":
        return ord(ch) - ord("0")
    if "A" <= ch <= "Z":
        return ord(ch) - ord("A") + 10
    if "a" <= ch <= "z":
        return ord(ch) - ord("a") + 36
    if ch == ".":
        return 62
    if ch == "_":
        return 63
    return None


def table_stream_name(name):
    out = [0x4840]
    i = 0
    while i < len(name):
        first = mime(name[i])
        second = mime(name[i + 1]) if i + 1 < len(name) else None
        if first is not None and second is not None:
            out.append(0x3800 + first + (second << 6))
            i += 2
        elif first is not None:
            out.append(0x4800 + first)
            i += 1
        else:
            out.append(ord(name[i]))
            i += 1
    return "".join(chr(c) for c in out)


# ---------------------------------------------------------------- compound file

SECTOR = 512
MINI_SECTOR = 64
MINI_CUTOFF = 4096
FREE = 0xFFFFFFFF
END = 0xFFFFFFFE
FAT_SECTOR = 0xFFFFFFFD
NO_STREAM = 0xFFFFFFFF
TRANSFORM_CLSID = struct.pack("<IHH8s", 0x000C1082, 0, 0, bytes([0xC0, 0, 0, 0, 0, 0, 0, 0x46]))


def chain(table, count):
    start = len(table)
    for i in range(count):
        table.append(start + i + 1 if i < count - 1 else END)
    return start if count else END


def pad(data, size):
    return data + b"\0" * (-len(data) % size)


def directory_entry(name, kind, left, right, child, clsid, start, size):
    encoded = name.encode("utf-16-le")
    return struct.pack("<64sHBBIII16sIQQIQ", encoded, len(encoded) + 2, kind, 1, left, right, child,
                       clsid, 0, 0, 0, start, size)


def tree(names):
    """Balanced binary tree over the names in compound-file order: returns the
    root index and (left, right) per index."""
    order = sorted(range(len(names)), key=lambda i: (len(names[i]), names[i].upper()))
    links = {}

    def build(items):
        if not items:
            return NO_STREAM
        middle = len(items) // 2
        links[items[middle]] = (build(items[:middle]), build(items[middle + 1:]))
        return items[middle]

    return build(order), links


def compound_file(streams, clsid):
    fat, sectors = [], []
    mini_fat, mini_data = [], b""
    placed = []
    for name, data in streams:
        if len(data) < MINI_CUTOFF:
            start = chain(mini_fat, -(-len(data) // MINI_SECTOR))
            mini_data += pad(data, MINI_SECTOR)
        else:
            start = None
        placed.append([name, data, start])

    def allocate(data):
        start = chain(fat, -(-len(data) // SECTOR))
        sectors.append(pad(data, SECTOR))
        return start

    root_start = allocate(mini_data) if mini_data else END
    for item in placed:
        if item[2] is None:
            item[2] = allocate(item[1])

    root_child, links = tree([name for name, _, _ in placed])
    entries = directory_entry("Root Entry", 5, NO_STREAM, NO_STREAM,
                              NO_STREAM if not placed else root_child + 1, clsid, root_start, len(mini_data))
    for index, (name, data, start) in enumerate(placed):
        left, right = links[index]
        entries += directory_entry(name, 2, left + 1 if left != NO_STREAM else NO_STREAM,
                                   right + 1 if right != NO_STREAM else NO_STREAM, NO_STREAM,
                                   b"\0" * 16, start, len(data))
    while len(entries) % SECTOR:
        entries += directory_entry("", 0, NO_STREAM, NO_STREAM, NO_STREAM, b"\0" * 16, 0, 0)
    directory_start = allocate(entries)

    if mini_fat:
        mini_fat_bytes = b"".join(struct.pack("<I", v) for v in mini_fat)
        mini_fat_bytes += struct.pack("<I", FREE) * (-len(mini_fat) % (SECTOR // 4))
        mini_fat_start = allocate(mini_fat_bytes)
        mini_fat_count = len(mini_fat_bytes) // SECTOR
    else:
        mini_fat_start, mini_fat_count = END, 0

    fat_count = 1
    while len(fat) + fat_count > fat_count * (SECTOR // 4):
        fat_count += 1
    if fat_count > 109:
        raise SystemExit("transform too large")
    fat_start = len(fat)
    fat += [FAT_SECTOR] * fat_count
    fat += [FREE] * (fat_count * (SECTOR // 4) - len(fat))
    fat_bytes = b"".join(struct.pack("<I", v) for v in fat)

    difat = [fat_start + i for i in range(fat_count)] + [FREE] * (109 - fat_count)
    header = struct.pack("<8s16sHHHHH6sIIIIIIIII", bytes.fromhex("D0CF11E0A1B11AE1"), b"\0" * 16, 0x3E, 3,
                         0xFFFE, 9, 6, b"\0" * 6, 0, fat_count, directory_start, 0, MINI_CUTOFF,
                         mini_fat_start, mini_fat_count, END, 0)
    header += b"".join(struct.pack("<I", v) for v in difat)
    return header + b"".join(sectors) + fat_bytes


# ---------------------------------------------------------------- described changes


def read_changes(path, name):
    """The changes of one transform from a description file (UTF-8, one
    change per line, fields separated by tabs, "#" starts a comment line):

        NAME  codepage  CODEPAGE                   texts stored in this code page
        NAME  set       TABLE  KEY  COLUMN  VALUE  changes a column of a row
        NAME  add       TABLE  KEY  COLUMN  VALUE  a column of a new row (the
                                                   row's other columns are null)
        NAME  delete    TABLE  KEY                 removes a row

    KEY is the row's primary key; the parts of a key of several columns are
    separated by "/". Returns (codepage or None, list of changes)."""
    codepage, changes = None, []
    with open(path, encoding="utf-8") as description:
        for number, line in enumerate(description, 1):
            line = line.rstrip("\r\n")
            if not line or line.startswith("#"):
                continue
            fields = line.split("\t")
            if fields[0] != name:
                continue
            if fields[1] == "codepage" and len(fields) == 3:
                codepage = int(fields[2])
            elif fields[1] in ("set", "add") and len(fields) == 6:
                changes.append(tuple(fields[1:]))
            elif fields[1] == "delete" and len(fields) == 4:
                changes.append(tuple(fields[1:]))
            else:
                raise SystemExit(f"{path}:{number}: not a change: {line!r}")
    if not changes:
        raise SystemExit(f"{path}: no changes named {name}")
    return codepage, changes


def apply_changes(tables, changes):
    """A copy of the tables with the described changes made."""
    result = {name: Table(t.name, t.columns, t.types, t.keys, {k: list(v) for k, v in t.rows.items()})
              for name, t in tables.items()}
    for change in changes:
        kind, table_name, key_text = change[:3]
        table = result[table_name]
        key = tuple(key_text.split("/")) if len(table.keys) > 1 else (key_text,)
        if len(key) != len(table.keys):
            raise SystemExit(f"{table_name}: key {key_text!r} does not fit the primary key")
        if kind == "delete":
            if table.rows.pop(key, None) is None:
                raise SystemExit(f"{table_name}: no row {key_text!r} to delete")
            continue
        column = table.columns.index(change[3])
        if kind == "set" and key not in table.rows:
            raise SystemExit(f"{table_name}: no row {key_text!r} to change")
        if kind == "add":
            row = table.rows.setdefault(key, [""] * len(table.columns))
            for index, part in zip(table.keys, key):
                row[index] = part
        table.rows[key][column] = change[4]
    return result


# ---------------------------------------------------------------- summary information

SUMMARY_FMTID = struct.pack("<IHH8s", 0xF29F85E0, 0x4FF9, 0x1068, bytes.fromhex("AB9108002B27B3D9"))
VT_I2, VT_I4, VT_LPSTR = 2, 3, 30
PID_CODEPAGE, PID_TITLE, PID_TEMPLATE, PID_LASTAUTHOR, PID_REVNUMBER = 1, 2, 7, 8, 9
PID_PAGECOUNT, PID_CHARCOUNT = 14, 16
ERROR_CHANGECODEPAGE = 0x20
VALIDATE_PRODUCT, VALIDATE_UPGRADECODE = 0x02, 0x800


def property_set(properties):
    """A summary information stream: one property set of (id, type, value)."""
    values, offsets = b"", []
    header_size = 8 + 8 * len(properties)
    for pid, kind, value in properties:
        offsets.append((pid, header_size + len(values)))
        if kind == VT_LPSTR:
            data = value.encode("cp1252") + b"\0"
            values += pad(struct.pack("<HHI", kind, 0, len(data)) + data, 4)
        elif kind == VT_I2:
            values += struct.pack("<HHhH", kind, 0, value, 0)
        else:
            values += struct.pack("<HHi", kind, 0, value)
    section = struct.pack("<II", header_size + len(values), len(properties))
    section += b"".join(struct.pack("<II", pid, offset) for pid, offset in offsets) + values
    header = struct.pack("<HHI16sI", 0xFFFE, 0, 0x00020006, b"\0" * 16, 1) + SUMMARY_FMTID + struct.pack("<I", 48)
    return header + section


def summary_stream(template, base_props, target_props, error_conditions, validation):
    """What the installer's transform generation writes: base and target
    platform and language, product codes and versions, and the conditions."""
    platform = template.split(";")[0]

    def language(props):
        return props.get("ProductLanguage", template.split(";")[-1])

    revision = "%s%s;%s%s;%s" % (base_props.get("ProductCode", ""), base_props.get("ProductVersion", ""),
                                 target_props.get("ProductCode", ""), target_props.get("ProductVersion", ""),
                                 target_props.get("UpgradeCode", ""))
    return property_set([
        (PID_CODEPAGE, VT_I2, 1252),
        (PID_TITLE, VT_LPSTR, "Transform"),
        (PID_TEMPLATE, VT_LPSTR, "%s;%s" % (platform, language(base_props))),
        (PID_LASTAUTHOR, VT_LPSTR, "%s;%s" % (platform, language(target_props))),
        (PID_REVNUMBER, VT_LPSTR, revision),
        (PID_PAGECOUNT, VT_I4, 200),
        (PID_CHARCOUNT, VT_I4, (validation << 16) | error_conditions),
    ])


def database_facts(msiinfo, database):
    """The summary template ("Intel;1033") and the code page of a database."""
    info = run(msiinfo, "suminfo", database).decode("utf-8", "replace")
    template = next((line.split(":", 1)[1].strip() for line in info.splitlines() if line.startswith("Template:")),
                    "Intel;1033")
    codepage = 0
    for line in run(msiinfo, "export", database, "_ForceCodepage").decode("utf-8").splitlines():
        if line.endswith("\t_ForceCodepage"):
            codepage = int(line.split("\t")[0])
    return template, codepage


def properties_of(table):
    return {values[0]: values[1] for values in table.rows.values()}


# ---------------------------------------------------------------- main


def make_transform(base_tables, target_tables, codepage, summary):
    if set(base_tables) != set(target_tables):
        raise SystemExit("tables added or dropped: not supported")
    tables = []
    for name in sorted(base_tables):
        base, target = base_tables[name], target_tables[name]
        if (base.columns, base.types, base.keys) != (target.columns, target.types, target.keys):
            raise SystemExit(f"columns of {name} changed: not supported")
        changes = table_changes(base, target)
        if not changes:
            continue
        if any(t[0] in "vV" for t in base.types):
            raise SystemExit(f"{name} has a stream column: not supported")
        tables.append((base, changes))
    # String references are two bytes unless the pool grows past 65535; the
    # rows are encoded once to fill the pool, then for real.
    probe = StringPool(codepage)
    for table, changes in tables:
        encode_rows(table, changes, probe, 2)
    strref = 3 if len(probe.strings) > 0xFFFF else 2
    pool = StringPool(codepage)
    streams = [(table_stream_name(table.name), encode_rows(table, changes, pool, strref)) for table, changes in tables]
    pool_data, string_data, _ = pool.streams()
    streams = [(table_stream_name("_StringPool"), pool_data), (table_stream_name("_StringData"), string_data),
               ("\x05SummaryInformation", summary)] + streams
    return compound_file(streams, TRANSFORM_CLSID)


def read_tables(msiinfo, database, names):
    return {name: read_table(msiinfo, database, name) for name in names}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[1])
    parser.add_argument("base")
    parser.add_argument("output")
    parser.add_argument("--target")
    parser.add_argument("--query", action="append", default=[])
    parser.add_argument("--changes")
    parser.add_argument("--name")
    parser.add_argument("--msiinfo", default="msiinfo")
    parser.add_argument("--msibuild", default="msibuild")
    parser.add_argument("--validation", type=lambda text: int(text, 0), default=VALIDATE_PRODUCT | VALIDATE_UPGRADECODE)
    args = parser.parse_args()
    if [bool(args.target), bool(args.query), bool(args.changes)].count(True) != 1:
        parser.error("give one of --target, --query and --changes")
    if bool(args.changes) != bool(args.name):
        parser.error("--changes needs --name")
    template, base_codepage = database_facts(args.msiinfo, args.base)
    codepage = base_codepage
    with tempfile.TemporaryDirectory() as work:
        if args.changes:
            described_codepage, changes = read_changes(args.changes, args.name)
            codepage = base_codepage if described_codepage is None else described_codepage
            names = sorted({change[1] for change in changes} | {"Property"})
            base_tables = read_tables(args.msiinfo, args.base, names)
            target_tables = apply_changes(base_tables, changes)
        else:
            target = args.target
            if not target:
                target = os.path.join(work, "target.msi")
                shutil.copyfile(args.base, target)
                command = [args.msibuild, target]
                for query in args.query:
                    command += ["-q", query]
                subprocess.run(command, check=True)
            names = table_names(args.msiinfo, args.base)
            if set(names) != set(table_names(args.msiinfo, target)):
                raise SystemExit("tables added or dropped: not supported")
            base_tables = read_tables(args.msiinfo, args.base, names)
            target_tables = read_tables(args.msiinfo, target, names)
        error_conditions = ERROR_CHANGECODEPAGE if codepage != base_codepage else 0
        summary = summary_stream(template, properties_of(base_tables["Property"]),
                                 properties_of(target_tables["Property"]), error_conditions, args.validation)
        data = make_transform(base_tables, target_tables, codepage, summary)
    with open(args.output, "wb") as out:
        out.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
