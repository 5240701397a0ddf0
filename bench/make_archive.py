#!/usr/bin/env python3
"""Writes benchmark archives of a given shape.

  make_archive.py small N OUT      N members of 1-8 KiB; one in ten carries an Ogg stream
  make_archive.py many N OUT       N members of 0-64 bytes
  make_archive.py large N MIB OUT  N members of MIB MiB each
  make_archive.py claim_count OUT  a 1 KiB archive whose count claims 2^31-1 members
  make_archive.py claim_size OUT   one small member whose size field claims 2^31-1 bytes

Contents are deterministic (fixed seed), and names are unique, so every member makes one file.
"""
import random
import struct
import sys

PREFIX = bytes(range(64))


def record(name, offset, size):
    return name.ljust(16, b"\0") + struct.pack("<ii", offset, size) + b"\0" * 8


def write_archive(out, bodies, count=None, sizes=None):
    """bodies: list of (name, bytes or (fill byte, length)) written back to back."""
    directory = bytearray()
    offset = 0
    for i, (name, body) in enumerate(bodies):
        length = len(body) if isinstance(body, (bytes, bytearray)) else body[1]
        directory += record(name, offset, length if sizes is None else sizes[i])
        offset += length
    n = len(bodies) if count is None else count
    with open(out, "wb") as f:
        f.write(b"benchmark   " + struct.pack("<i", n) + directory)
        for _, body in bodies:
            if isinstance(body, (bytes, bytearray)):
                f.write(body)
            else:
                block = bytes([body[0]]) * (1 << 20)
                left = body[1]
                while left > 0:
                    f.write(block[: min(left, len(block))])
                    left -= len(block)


def main():
    shape = sys.argv[1]
    rng = random.Random(20261211)
    if shape == "small":
        n, out = int(sys.argv[2]), sys.argv[3]
        bodies = []
        for i in range(n):
            size = rng.randrange(1024, 8193)
            if i % 10 == 0:
                body = PREFIX + b"OggS" + rng.randbytes(size - 68)
            else:
                body = rng.randbytes(size)
                if body[64:68] == b"OggS":
                    body = body[:64] + b"oggs" + body[68:]
            bodies.append((b"s%07d" % i, body))
        write_archive(out, bodies)
    elif shape == "many":
        n, out = int(sys.argv[2]), sys.argv[3]
        write_archive(out, [(b"m%07d" % i, rng.randbytes(rng.randrange(0, 65))) for i in range(n)])
    elif shape == "large":
        n, mib, out = int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
        write_archive(out, [(b"l%d" % i, (0x41 + i, mib << 20)) for i in range(n)])
    elif shape == "claim_count":
        out = sys.argv[2]
        with open(out, "wb") as f:
            data = b"benchmark   " + struct.pack("<i", 0x7FFFFFFF)
            data += b"".join(record(b"c%d" % i, 0, 0) for i in range(31))
            f.write(data.ljust(1024, b"\0"))
    elif shape == "claim_size":
        out = sys.argv[2]
        write_archive(out, [(b"huge", b"x" * 1000)], sizes=[0x7FFFFFFF])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
