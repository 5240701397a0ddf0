#!/usr/bin/env python3
"""Writes the fuzzer's seed corpus into corpus/: small archives of the shapes the tool must
handle, so fuzzing starts from the Ogg path, the range checks and the name checks at once."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def archive(members, count=None, cut=None, header=b"seed archive"):
    """members: (name bytes, data bytes, offset override or None, size override or None)."""
    directory, data = b"", b""
    for name, body, offset, size in members:
        directory += name[:16].ljust(16, b"\0")
        directory += struct.pack("<ii", len(data) if offset is None else offset,
                                 len(body) if size is None else size)
        directory += b"\0" * 8
        data += body
    n = len(members) if count is None else count
    out = header[:12].ljust(12, b"\0") + struct.pack("<i", n) + directory + data
    return out if cut is None else out[:cut]


def m(name, body, offset=None, size=None):
    return (name, body, offset, size)


prefix = bytes(range(64))
ogg = b"OggS" + bytes(28)
seeds = {
    "empty": archive([]),
    "plain": archive([m(b"se01", b"plain member data")]),
    "ogg": archive([m(b"bgm01", prefix + ogg)]),
    "ogg_and_plain": archive([m(b"bgm01", prefix + ogg), m(b"se01", bytes(70))]),
    "short_before_signature": archive([m(b"a", bytes(64)), m(b"b", ogg)]),
    "truncated_directory": archive([m(b"a", b"x"), m(b"b", b"y")], cut=16 + 32 + 10),
    "huge_count": archive([m(b"a", b"x")], count=0x7FFFFFFF),
    "negative_count": archive([m(b"a", b"x")], count=-1),
    "name_16_bytes": archive([m(b"sixteen_bytes_12", b"abc")]),
    "name_in_subdir": archive([m(b"sub/x", b"abc")]),
    "past_the_end": archive([m(b"cut", b"abcdef", size=100)]),
    "negative_offset": archive([m(b"dir", b"", offset=-32, size=32)]),
    "duplicates": archive([m(b"d", b"first"), m(b"d", b"second")]),
    "empty_name": archive([m(b"", b"skipped"), m(b"", prefix + ogg)]),
}

os.makedirs(os.path.join(HERE, "corpus"), exist_ok=True)
for name, data in seeds.items():
    with open(os.path.join(HERE, "corpus", name + ".dat"), "wb") as f:
        f.write(data)
