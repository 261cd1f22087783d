"""Checks the rendered pictures against the inventory read from standard input.

Each inventory line is: name width height frames stretch border, where
stretch is "-" (drawn at its natural size), "h", "v" or "hv" (the directions
in which the picture is stretched by repeating its strips) and border the
stretch border in pixels at 1x. Every picture and its @2x variant must exist
at the listed size (twice it for @2x), be 8-bit RGBA with unfiltered rows
(as png.encode writes it; a file that is not, such as the renderer's, is
rewritten with the same pixels), have a height divisible by
its frame count, and, when stretched, have edge strips and a centre that are
uniform along each stretch direction, so that repeating them shows no seams.
"""
import sys
from pathlib import Path

import png


def normalise(path):
    """The picture's size once it is 8-bit RGBA with unfiltered rows, or None
    when it cannot be."""
    if png.header(path)[2:] != (8, 6) or png.row_filters(path) != {0}:
        width, height, rows = png.read(path)
        path.write_bytes(png.encode(width, height, rows))
        print(f"render-art: {path.name}: rewritten as 8-bit RGBA with unfiltered rows")
    with open(path, "rb") as f:
        ihdr = f.read(26)
    if (ihdr[24], ihdr[25]) != (8, 6):
        return None
    return png.header(path)[:2]


def seams(rows, frame_height, frames, border, stretch):
    """Descriptions of the rows and columns that would show a seam."""
    width = len(rows[0]) // 4
    px = lambda x, y: bytes(rows[y][4 * x:4 * x + 4])
    found = []
    for frame in range(frames):
        top = frame * frame_height
        if "h" in stretch:
            for y in range(top, top + frame_height):
                if len({px(x, y) for x in range(border, width - border)}) > 1:
                    found.append(f"frame {frame} row {y - top} varies along x")
        if "v" in stretch:
            for x in range(width):
                column = {px(x, y) for y in range(top + border, top + frame_height - border)}
                if len(column) > 1:
                    found.append(f"frame {frame} column {x} varies along y")
    return found


def check(folder, name, width, height, frames, stretch, border, scale):
    suffix = "" if scale == 1 else f"@{scale}x"
    path = folder / f"{name}{suffix}.png"
    if not path.exists():
        return [f"{path.name}: missing"]
    size = normalise(path)
    if size is None:
        return [f"{path.name}: not 8-bit RGBA after conversion"]
    problems = []
    if size != (width * scale, height * scale):
        problems.append(f"{path.name}: {size[0]} x {size[1]}, expected "
                        f"{width * scale} x {height * scale}")
    elif height % frames:
        problems.append(f"{path.name}: height {height} is not a multiple of {frames} frames")
    elif stretch != "-":
        _, _, rows = png.read(path)
        frame_height = height * scale // frames
        problems += [f"{path.name}: {seam}" for seam in
                     seams(rows, frame_height, frames, border * scale, stretch)]
    return problems


def main():
    folder = Path(sys.argv[1])
    problems = []
    for line in sys.stdin:
        if not line.strip() or line.startswith("#"):
            continue
        name, width, height, frames, stretch, border = line.split()
        for scale in (1, 2):
            problems += check(folder, name, int(width), int(height), int(frames),
                              stretch, int(border), scale)
    for problem in problems:
        print(f"render-art: {problem}", file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
