"""Writes an ICO file whose entries are the given square PNG files.

Usage: make_ico.py OUTPUT.ico PNG...  Each entry holds its PNG bytes (PNG-
compressed entries, 8-bit RGBA), sized from the PNG header; 256 pixels is
stored as 0 in the one-byte size fields, as the format asks.
"""
import struct
import sys
from pathlib import Path

import png


def rgba_bytes(path):
    """The PNG's bytes, re-encoded as 8-bit RGBA when it is anything else."""
    if png.header(path)[2:] == (8, 6):
        return Path(path).read_bytes()
    return png.encode(*png.read(path))


def ico(paths):
    images = [rgba_bytes(p) for p in paths]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = b""
    for path, data in zip(paths, images):
        width, height, _, _ = png.header(path)
        if width != height or width > 256:
            raise ValueError(f"{path}: icon entries are square, at most 256 pixels")
        size = width % 256
        entries += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return directory + entries + b"".join(images)


if __name__ == "__main__":
    Path(sys.argv[1]).write_bytes(ico(sys.argv[2:]))
