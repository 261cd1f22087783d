"""Reads and writes 8-bit PNG files with the standard library only.

Pictures are held as (width, height, rows), each row a bytearray of RGBA
pixels, so that callers can look at or convert any 8-bit PNG the renderer
writes (grey, grey with alpha, RGB, RGBA).
"""
import struct
import zlib

SIGNATURE = b"\x89PNG\r\n\x1a\n"
CHANNELS = {0: 1, 2: 3, 4: 2, 6: 4}  # colour type -> samples per pixel


def header(path):
    """(width, height, bit depth, colour type) from the IHDR chunk."""
    with open(path, "rb") as f:
        data = f.read(26)
    if len(data) < 26 or data[:8] != SIGNATURE or data[12:16] != b"IHDR":
        raise ValueError(f"{path}: not a PNG file")
    width, height = struct.unpack(">II", data[16:24])
    return width, height, data[24], data[25]


def _chunks(data):
    pos = len(SIGNATURE)
    while pos + 8 <= len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        yield data[pos + 4:pos + 8], data[pos + 8:pos + 8 + length]
        pos += 12 + length


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def _unfilter_line(kind, line, prev, bpp):
    if kind == 2:
        return bytearray((a + b) & 0xFF for a, b in zip(line, prev))
    for x in range(len(line) if kind else 0):
        left = line[x - bpp] if x >= bpp else 0
        if kind == 1:
            line[x] = (line[x] + left) & 0xFF
        elif kind == 3:
            line[x] = (line[x] + (left + prev[x]) // 2) & 0xFF
        else:
            up_left = prev[x - bpp] if x >= bpp else 0
            line[x] = (line[x] + _paeth(left, prev[x], up_left)) & 0xFF
    return line


def _unfilter(raw, height, stride, bpp):
    rows, prev, pos = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[pos], bytearray(raw[pos + 1:pos + 1 + stride])
        pos += 1 + stride
        prev = _unfilter_line(kind, line, prev, bpp)
        rows.append(prev)
    return rows


def _to_rgba(line, colour_type):
    if colour_type == 6:
        return line
    out = bytearray()
    step = CHANNELS[colour_type]
    for i in range(0, len(line), step):
        px = line[i:i + step]
        grey = colour_type in (0, 4)
        rgb = bytes([px[0]] * 3) if grey else bytes(px[:3])
        alpha = px[-1] if colour_type in (4, 6) else 255
        out += rgb + bytes([alpha])
    return out


def _image_data(path):
    """(width, height, colour type, inflated image data) of an 8-bit,
    non-interlaced PNG."""
    with open(path, "rb") as f:
        data = f.read()
    width, height, depth, colour_type = header(path)
    if depth != 8 or colour_type not in CHANNELS or data[28] != 0:
        raise ValueError(f"{path}: only 8-bit, non-interlaced grey or RGB(A) is read")
    idat = b"".join(body for kind, body in _chunks(data) if kind == b"IDAT")
    return width, height, colour_type, zlib.decompress(idat)


def read(path):
    """(width, height, rows of RGBA bytes) of an 8-bit, non-interlaced PNG."""
    width, height, colour_type, raw = _image_data(path)
    bpp = CHANNELS[colour_type]
    rows = _unfilter(raw, height, width * bpp, bpp)
    return width, height, [_to_rgba(row, colour_type) for row in rows]


def row_filters(path):
    """The filter types that the rows of an 8-bit, non-interlaced PNG use."""
    width, height, colour_type, raw = _image_data(path)
    stride = 1 + width * CHANNELS[colour_type]
    return {raw[y * stride] for y in range(height)}


def _chunk(kind, body):
    crc = zlib.crc32(kind + body) & 0xFFFFFFFF
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", crc)


def encode(width, height, rows):
    """PNG bytes of RGBA rows: colour type 6, 8 bits per channel, rows
    unfiltered and deflated at level 9. For flat art this is smaller than
    filtered rows, and it inflates in about half the time, which counts
    because the window's first frame waits for its pictures."""
    ihdr = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    raw = b"".join(b"\x00" + bytes(row) for row in rows)
    return (SIGNATURE + _chunk(b"IHDR", ihdr)
            + _chunk(b"IDAT", zlib.compress(raw, 9)) + _chunk(b"IEND", b""))
