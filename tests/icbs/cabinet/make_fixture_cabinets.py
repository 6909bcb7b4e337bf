#!/usr/bin/env python3
"""Builds the cabinets that the cabinet tests read, with gcab.

  make_fixture_cabinets.py OUT_DIR

OUT_DIR/inputs/    random.bin (100 KiB of pseudo-random bytes, several data
                   blocks) and text.txt (numbered lines)
OUT_DIR/two.cab    gcab -c -z of both, random.bin first
OUT_DIR/*.blob     two.cab behind a 4-byte little-endian length, as the
                   launcher embeds cabinets: package.blob (exact length),
                   long.blob (length 1000 larger than the bytes present),
                   tiny.blob (3 bytes, shorter than the length itself)
OUT_DIR/cabinets.rc  the blobs as type-40 resources
"""
import os
import random
import struct
import subprocess
import sys


def main():
    out = os.path.abspath(sys.argv[1])
    inputs = os.path.join(out, "inputs")
    os.makedirs(inputs, exist_ok=True)
    rng = random.Random(7301)
    with open(os.path.join(inputs, "random.bin"), "wb") as f:
        f.write(bytes(rng.getrandbits(8) for _ in range(100 * 1024)))
    with open(os.path.join(inputs, "text.txt"), "w", newline="\r\n") as f:
        for i in range(2000):
            f.write("line %d of the cabinet test text\n" % i)

    cab = os.path.join(out, "two.cab")
    if os.path.exists(cab):
        os.remove(cab)
    subprocess.run(["gcab", "-c", "-z", "-n", cab,
                    os.path.join(inputs, "random.bin"), os.path.join(inputs, "text.txt")], check=True)
    data = open(cab, "rb").read()

    blobs = {
        "package.blob": struct.pack("<I", len(data)) + data,
        "long.blob": struct.pack("<I", len(data) + 1000) + data,
        "tiny.blob": b"\x10\x00\x00",
    }
    for name, blob in blobs.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(blob)

    with open(os.path.join(out, "cabinets.rc"), "w") as f:
        for resource, name in (("TEST_PACKAGE", "package.blob"), ("TEST_PACKAGE_LONG", "long.blob"),
                               ("TEST_PACKAGE_TINY", "tiny.blob")):
            f.write('%s 40 "%s"\n' % (resource, os.path.join(out, name)))


if __name__ == "__main__":
    main()
