#!/usr/bin/env python3
"""Writes a Windows Installer transform (.mst) between two databases.

    make_transform.py BASE.msi OUT.mst --target TARGET.msi
    make_transform.py BASE.msi OUT.mst --query SQL [--query SQL ...]

The second form copies BASE.msi, runs the queries on the copy with msibuild
and takes the copy as the target. The tables of both databases are read with
msiinfo (msitools). The transform holds the changed, added and deleted rows
of tables that exist in both databases with the same columns; new or dropped
tables, changed columns and changed stream columns are refused. It is a real
transform file: an OLE compound file with the transform class id, the
transform's string pool and one stream per changed table, which Windows
Installer applies with MsiDatabaseApplyTransform. It carries no summary
information stream, so it is meant for MsiDatabaseApplyTransform with
explicit error conditions, not for validation by an installation.
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
    """The transform's own string table: ids from 1, 0 is the null string."""

    def __init__(self):
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
        encoded = [s.encode("cp1252") for s in self.strings]
        if any(len(e) > 0xFFFF for e in encoded):
            raise SystemExit("strings longer than 64 KiB are not supported")
        long_refs = len(self.strings) > 0xFFFF
        codepage = 0  # neutral
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


# ---------------------------------------------------------------- main


def make_transform(msiinfo, base_path, target_path):
    base_names = table_names(msiinfo, base_path)
    target_names = table_names(msiinfo, target_path)
    if set(base_names) != set(target_names):
        raise SystemExit("tables added or dropped: not supported")
    pool = StringPool()
    tables = []
    for name in sorted(base_names):
        base = read_table(msiinfo, base_path, name)
        target = read_table(msiinfo, target_path, name)
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
    probe = StringPool()
    for table, changes in tables:
        encode_rows(table, changes, probe, 2)
    strref = 3 if len(probe.strings) > 0xFFFF else 2
    streams = [(table_stream_name(table.name), encode_rows(table, changes, pool, strref)) for table, changes in tables]
    pool_data, string_data, _ = pool.streams()
    streams = [(table_stream_name("_StringPool"), pool_data), (table_stream_name("_StringData"), string_data)] + streams
    return compound_file(streams, TRANSFORM_CLSID)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("base")
    parser.add_argument("output")
    parser.add_argument("--target")
    parser.add_argument("--query", action="append", default=[])
    parser.add_argument("--msiinfo", default="msiinfo")
    parser.add_argument("--msibuild", default="msibuild")
    args = parser.parse_args()
    if bool(args.target) == bool(args.query):
        parser.error("give either --target or --query")
    with tempfile.TemporaryDirectory() as work:
        target = args.target
        if not target:
            target = os.path.join(work, "target.msi")
            shutil.copyfile(args.base, target)
            command = [args.msibuild, target]
            for query in args.query:
                command += ["-q", query]
            subprocess.run(command, check=True)
        data = make_transform(args.msiinfo, args.base, target)
    with open(args.output, "wb") as out:
        out.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
