"""Writes the contact sheet of the updater's pictures as SVG on standard output.

Usage: contact_sheet.py PICTURES-FOLDER < inventory  (the inventory of
render-art). The sheet shows mock-ups of the window built from the pictures
(the way the stylesheet places them, with stretched panels) and then every
picture with each frame apart, at 1x and at 2x, on a neutral grey with the
file names. The pictures are embedded as data: URIs, so the SVG renders
anywhere.
"""
import base64
import sys
from dataclasses import dataclass
from pathlib import Path

from mockups import MOCKUPS, window

WIDTH = 2020
MARGIN = 24
GAP = 10
BACKGROUND = "#8e9398"
FONT = "font-family='Open Sans, DejaVu Sans, sans-serif'"


@dataclass
class Picture:
    name: str
    width: int
    height: int
    frames: int
    stretch: str
    border: int

    @property
    def frame_height(self):
        return self.height // self.frames


class Sheet:
    """Collects SVG elements and the pictures they refer to."""

    def __init__(self, folder, pictures):
        self.folder = folder
        self.pictures = {p.name: p for p in pictures}
        self.defs = []
        self.body = []

    def embed(self, name, scale):
        ref = f"{name}@{scale}x"
        path = self.folder / (f"{name}.png" if scale == 1 else f"{name}@2x.png")
        data = base64.b64encode(path.read_bytes()).decode()
        p = self.pictures[name]
        self.defs.append(f"<image id='{ref}' width='{p.width * scale}' "
                         f"height='{p.height * scale}' href='data:image/png;base64,{data}'/>")

    def part(self, name, scale, source, dest):
        """Draws a source rectangle of the picture into a destination rectangle."""
        sx, sy, sw, sh = source
        dx, dy, dw, dh = dest
        if min(sw, sh, dw, dh) <= 0:
            return
        self.body.append(
            f"<svg x='{dx}' y='{dy}' width='{dw}' height='{dh}' "
            f"viewBox='{sx} {sy} {sw} {sh}' preserveAspectRatio='none'>"
            f"<use href='#{name}@{scale}x' style='image-rendering:optimizeSpeed'/></svg>")

    def frame(self, name, frame, x, y, scale=1):
        p = self.pictures[name]
        w, h = p.width * scale, p.frame_height * scale
        self.part(name, scale, (0, frame * h, w, h), (x, y, w, h))

    def stretched(self, name, frame, rect, scale=1):
        """A frame drawn over a rectangle by stretching its uniform strips."""
        p = self.pictures[name]
        b = p.border * scale
        fw, fh = p.width * scale, p.frame_height * scale
        x, y, w, h = rect
        lr = b if "h" in p.stretch else 0
        tb = b if "v" in p.stretch else 0
        columns = [(0, lr, 0, lr), (lr, fw - 2 * lr, lr, w - 2 * lr), (fw - lr, lr, w - lr, lr)]
        rows = [(0, tb, 0, tb), (tb, fh - 2 * tb, tb, h - 2 * tb), (fh - tb, tb, h - tb, tb)]
        for sy, sh, dy, dh in rows:
            for sx, sw, dx, dw in columns:
                self.part(name, scale, (sx, frame * fh + sy, sw, sh), (x + dx, y + dy, dw, dh))

    def rect(self, x, y, w, h, fill, extra=""):
        self.body.append(f"<rect x='{x}' y='{y}' width='{w}' height='{h}' fill='{fill}' {extra}/>")

    def text(self, x, y, content, size, fill="#102331", anchor="start", extra=""):
        content = content.replace("&", "&amp;").replace("<", "&lt;")
        self.body.append(f"<text x='{x}' y='{y}' font-size='{size}' fill='{fill}' {FONT} "
                         f"text-anchor='{anchor}' {extra}>{content}</text>")

    def svg(self, height):
        checker = ("<pattern id='checker' width='8' height='8' patternUnits='userSpaceOnUse'>"
                   "<rect width='8' height='8' fill='#f4f4f4'/>"
                   "<rect width='4' height='4' fill='#dcdcdc'/>"
                   "<rect x='4' y='4' width='4' height='4' fill='#dcdcdc'/></pattern>")
        return (f"<svg xmlns='http://www.w3.org/2000/svg' width='{WIDTH}' height='{height}'>\n"
                f"<defs>{checker}\n" + "\n".join(self.defs) + "\n</defs>\n"
                f"<rect width='{WIDTH}' height='{height}' fill='{BACKGROUND}'/>\n"
                + "\n".join(self.body) + "\n</svg>\n")


def frame_layout(picture, max_width):
    """Places every frame at 1x, then below at 2x, wrapping at max_width.

    Returns the places (frame, scale, x, y) and the width and height used."""
    places, y, width = [], 0, 0
    for scale in (1, 2):
        w, h = picture.width * scale, picture.frame_height * scale
        x = 0
        for frame in range(picture.frames):
            if x + w > max_width and x > 0:
                x, y = 0, y + h + GAP
            places.append((frame, scale, x, y))
            x += w + GAP
            width = max(width, x - GAP)
        y += h + GAP
    return places, width, y - GAP


def catalogue(sheet, pictures, y):
    """Each picture with its name and its frames apart at 1x and 2x, the
    pictures flowing left to right in rows; returns the bottom edge."""
    x, row_height = MARGIN, 0
    for p in pictures:
        label = f"{p.name}.png  {p.width} x {p.height}"
        if p.frames > 1:
            label += f", {p.frames} frames"
        if p.stretch != "-":
            label += f", stretched {p.stretch} with borders {p.border}"
        places, width, height = frame_layout(p, WIDTH - 2 * MARGIN)
        width = max(width, 7.5 * len(label))
        if x + width > WIDTH - MARGIN:
            x, y, row_height = MARGIN, y + row_height + 3 * GAP, 0
        sheet.text(x, y + 14, label, 13, "#ffffff", extra="font-weight='bold'")
        for frame, scale, fx, fy in places:
            w, h = p.width * scale, p.frame_height * scale
            sheet.rect(x + fx, y + 22 + fy, w, h, "url(#checker)")
            sheet.frame(p.name, frame, x + fx, y + 22 + fy, scale)
        x += width + 3 * GAP
        row_height = max(row_height, 22 + height)
    return y + row_height


def read_inventory(stream):
    for line in stream:
        if line.strip() and not line.startswith("#"):
            name, *numbers, stretch, border = line.split()
            yield Picture(name, *map(int, numbers), stretch, int(border))


def main():
    folder = Path(sys.argv[1])
    pictures = list(read_inventory(sys.stdin))
    sheet = Sheet(folder, pictures)
    for p in pictures:
        sheet.embed(p.name, 1)
        sheet.embed(p.name, 2)
    sheet.text(MARGIN, 36, "TVS Updater: pictures", 24, "#ffffff", extra="font-weight='bold'")
    y = 56
    for row in MOCKUPS:
        x = MARGIN
        for page, scale in row:
            height = window(sheet, x, y, page, scale)
            x += 660
        y += height + 30
    sheet.text(MARGIN, y + 10, "Every picture and frame at 1x and 2x", 20, "#ffffff",
               extra="font-weight='bold'")
    y = catalogue(sheet, pictures, y + 30)
    sys.stdout.write(sheet.svg(y + MARGIN))


if __name__ == "__main__":
    main()
