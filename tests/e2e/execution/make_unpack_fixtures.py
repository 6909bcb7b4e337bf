#!/usr/bin/env python3
"""Builds the package resources of the unpack tests from a real database.

  make_unpack_fixtures.py damaged MSI OUT_DIR
      packs MSI as the launcher carries it (gcab MSZIP cabinet behind its
      4-byte little-endian length) and writes damaged forms of it:
        truncated.pkg   the cabinet cut in its first data block, with a
                        length field that matches the cut (only the cabinet
                        itself is short)
        datablock.pkg   one byte of the first data block changed (the block
                        checksum no longer matches)
        tiny.pkg        three bytes: shorter than the length field itself
        badlength.pkg   the whole cabinet behind a length 1000 too large

  make_unpack_fixtures.py payload SIZE_MB SEED OUT_FILE
      writes SIZE_MB MiB of pseudo-random (incompressible) bytes

  make_unpack_fixtures.py mixed SIZE_MB SEED OUT_FILE
      writes SIZE_MB MiB alternating between a MiB of pseudo-random bytes and
      a MiB of numbered text lines (compressible)
"""
import os
import random
import struct
import subprocess
import sys
import tempfile


def cabinet_of(msi):
    with tempfile.TemporaryDirectory() as tmp:
        cab = os.path.join(tmp, "Package.cab")
        subprocess.run(["gcab", "-c", "-z", "-n", cab, msi], check=True)
        return open(cab, "rb").read()


def damaged(msi, out):
    os.makedirs(out, exist_ok=True)
    cab = cabinet_of(msi)
    first_block = struct.unpack_from("<I", cab, 36)[0]   # CFFOLDER.coffCabStart
    checksum = struct.unpack_from("<I", cab, first_block)[0]
    block_bytes = struct.unpack_from("<H", cab, first_block + 4)[0]
    if checksum == 0 or block_bytes < 400:
        sys.exit("unexpected cabinet layout: checksum %#x, first block %d bytes" % (checksum, block_bytes))
    cut = cab[:first_block + 8 + block_bytes // 2]
    broken = bytearray(cab)
    broken[first_block + 8 + 300] ^= 0x5A
    blobs = {
        "truncated.pkg": struct.pack("<I", len(cut)) + cut,
        "datablock.pkg": struct.pack("<I", len(broken)) + bytes(broken),
        "tiny.pkg": b"\x10\x00\x00",
        "badlength.pkg": struct.pack("<I", len(cab) + 1000) + cab,
    }
    for name, blob in blobs.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(blob)


def payload(size_mb, seed, out):
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    rng = random.Random(seed)
    with open(out, "wb") as f:
        for _ in range(size_mb):
            f.write(rng.randbytes(1024 * 1024))


def mixed(size_mb, seed, out):
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    rng = random.Random(seed)
    with open(out, "wb") as f:
        for i in range(size_mb):
            if i % 2 == 0:
                f.write(rng.randbytes(1024 * 1024))
            else:
                text = b"".join(b"line %d of block %d of the payload\r\n" % (n, i) for n in range(40000))
                f.write(text[:1024 * 1024].ljust(1024 * 1024, b"."))


def main():
    if sys.argv[1] == "damaged":
        damaged(sys.argv[2], sys.argv[3])
    elif sys.argv[1] == "payload":
        payload(int(sys.argv[2]), int(sys.argv[3]), sys.argv[4])
    elif sys.argv[1] == "mixed":
        mixed(int(sys.argv[2]), int(sys.argv[3]), sys.argv[4])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
