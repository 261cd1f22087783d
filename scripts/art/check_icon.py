"""Checks the application icon: the window's ICO file and the icon theme files.

Usage: check_icon.py ICO HICOLOR_DIR NAME SOURCE.svg SIZE...

- HICOLOR_DIR/<N>x<N>/apps/NAME.png exists for every SIZE, is N x N pixels
  and 8-bit RGBA;
- the ICO holds exactly these PNG files, byte for byte, in SIZE order, so the
  window and the desktop show the same pictures;
- HICOLOR_DIR/scalable/apps/NAME.svg is what standalone_svg.py writes from
  SOURCE.svg today, so it follows every change of the source, the palette and
  the shared gradients.
"""
import struct
import sys
from pathlib import Path

import png
from standalone_svg import standalone


def ico_entries(path):
    """The image bytes of each ICO entry, in directory order."""
    data = Path(path).read_bytes()
    reserved, kind, count = struct.unpack("<HHH", data[:6])
    if (reserved, kind) != (0, 1):
        raise ValueError(f"{path}: not an ICO file")
    entries = []
    for i in range(count):
        size, offset = struct.unpack("<II", data[14 + 16 * i:22 + 16 * i])
        entries.append(data[offset:offset + size])
    return entries


def check(ico, hicolor, name, source, sizes):
    problems = []
    pngs = []
    for size in sizes:
        path = hicolor / f"{size}x{size}" / "apps" / f"{name}.png"
        label = path.relative_to(hicolor.parent)
        if not path.exists():
            problems.append(f"{label}: missing")
            continue
        width, height, depth, colour_type = png.header(path)
        if (width, height) != (size, size):
            problems.append(f"{label}: {width} x {height}, expected {size} x {size}")
        if (depth, colour_type) != (8, 6):
            problems.append(f"{label}: not 8-bit RGBA")
        pngs.append(path.read_bytes())
    if not problems and ico_entries(ico) != pngs:
        problems.append(f"{ico.name}: its entries are not the theme's PNG files "
                        f"at {', '.join(map(str, sizes))} pixels")
    svg = hicolor / "scalable" / "apps" / f"{name}.svg"
    if not svg.exists():
        problems.append(f"{svg.relative_to(hicolor.parent)}: missing")
    elif svg.read_text() != standalone(source):
        problems.append(f"{svg.relative_to(hicolor.parent)}: not written from "
                        f"{Path(source).name} as it is now")
    return problems


def main():
    ico, hicolor, name, source, *sizes = sys.argv[1:]
    problems = check(Path(ico), Path(hicolor), name, source, [int(s) for s in sizes])
    for problem in problems:
        print(f"render-art: {problem}", file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
