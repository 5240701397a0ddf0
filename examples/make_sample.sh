#!/usr/bin/env bash
# Builds the example inputs for vostrel_dat in this folder:
#   tone.ogg   - a 1 s, 440 Hz quiet mono sine tone as an Ogg Vorbis stream
#   sample.dat - a small archive holding readme.txt, bgm01 (64-byte prefix
#                followed by tone.ogg) and se01 (200 bytes of plain binary)
# Needs the Debian packages: sox, vorbis-tools (oggenc), python3.
# Re-running overwrites both files with identical bytes.
set -euo pipefail

cd "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")"

tmpdir="$(mktemp -d)"
trap 'rm -rf "$tmpdir"' EXIT

# Quiet sine tone. -D turns off sox's random dither so the samples, and with
# them the encoded stream, are the same on every run.
sox -D -n -r 22050 -c 1 -b 16 "$tmpdir/tone.wav" synth 1.0 sine 440 vol 0.25

# A fixed serial number makes the Ogg pages byte-for-byte reproducible
# (oggenc picks a random one otherwise). No comments are added.
oggenc -Q -q 0 --serial 1 -o "$tmpdir/tone.ogg" "$tmpdir/tone.wav"
mv -f "$tmpdir/tone.ogg" tone.ogg

SAMPLE_TMP="$tmpdir/sample.dat" python3 - <<'PY'
import os
import struct

with open("tone.ogg", "rb") as f:
    ogg = f.read()
if ogg[:4] != b"OggS":
    raise SystemExit("tone.ogg does not start with OggS")

readme = (
    b"This is a sample archive for vostrel_dat.\n"
    b"It holds three members: this text, an Ogg tone (bgm01)\n"
    b"and a short block of plain binary data (se01).\n"
)

# 64 bytes ahead of the Ogg stream; the extractor skips them unread.
prefix = b"sample prefix: 64 bytes before the Ogg stream".ljust(64, b"\0")
assert len(prefix) == 64

se01 = bytes((i * 7 + 3) & 0xFF for i in range(200))
assert se01[64:68] != b"OggS"

members = [
    (b"readme.txt", readme),
    (b"bgm01", prefix + ogg),
    (b"se01", se01),
]

header = b"SAMPLEDAT\0\0\0"
assert len(header) == 12

directory = b""
data = b""
for name, body in members:
    assert len(name) <= 15
    directory += struct.pack("<16sII8x", name, len(data), len(body))
    data += body

with open(os.environ["SAMPLE_TMP"], "wb") as f:
    f.write(header + struct.pack("<i", len(members)) + directory + data)
PY
mv -f "$tmpdir/sample.dat" sample.dat

echo "wrote $(pwd)/tone.ogg ($(stat -c %s tone.ogg) bytes)"
echo "wrote $(pwd)/sample.dat ($(stat -c %s sample.dat) bytes)"
