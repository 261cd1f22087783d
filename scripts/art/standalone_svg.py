"""Writes a picture's SVG source as a self-contained SVG file.

Usage: standalone_svg.py SOURCE.svg  (the result goes to standard output)

The sources take their colours from palette.css (classes that set `color`,
painted with currentColor) and their gradients from common.svg. Icon themes
and the programs that read them load one file and no style sheet, so the
installed application icon has every currentColor replaced by the colour it
stands for and every gradient it uses from another file copied into its own
<defs>. scripts/render-art checks that it renders to the same pixels as its
source.
"""
import copy
import re
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

SVG = "http://www.w3.org/2000/svg"
XLINK = "http://www.w3.org/1999/xlink"
PAINTS = ("fill", "stroke")   # inherited, so a change of colour below them counts
OWN_ONLY = ("stop-color",)    # not inherited
BLACK = "#000000"             # the initial value of `color` when no class sets one
EXTERNAL_URL = re.compile(r"url\(([^)#]+)#([^)]+)\)")

ET.register_namespace("", SVG)
ET.register_namespace("xlink", XLINK)


def palette(folder):
    """Class name -> colour, from palette.css."""
    css = re.sub(r"/\*.*?\*/", "", (folder / "palette.css").read_text(), flags=re.S)
    return dict(re.findall(r"\.([\w-]+)\s*\{\s*color:\s*(#[0-9a-fA-F]{3,8})\s*;?\s*\}", css))


class Inliner:
    def __init__(self, folder):
        self.folder = folder
        self.colours = palette(folder)
        self.copied = {}  # id -> element copied from another file, in first-use order

    def own_colour(self, element):
        classes = element.attrib.pop("class", "").split()
        unknown = [c for c in classes if c not in self.colours]
        if unknown:
            raise ValueError(f"class {unknown[0]!r} is not in palette.css")
        if len(classes) > 1:
            raise ValueError(f"more than one colour class: {' '.join(classes)}")
        return self.colours[classes[0]] if classes else None

    def resolve(self, element, colour=None, current=frozenset()):
        """Writes the colours into element and its children. colour is the
        inherited `color`, current the inherited paints that are currentColor."""
        own = self.own_colour(element)
        colour = own or colour
        current = set(current)
        for paint in PAINTS + OWN_ONLY:
            value = element.get(paint)
            if value == "currentColor":
                element.set(paint, colour or BLACK)
                if paint in PAINTS:
                    current.add(paint)
            elif value is not None:
                current.discard(paint)
                element.set(paint, self.local_url(value))
            elif own and paint in current:
                element.set(paint, own)
        for name in ("href", f"{{{XLINK}}}href"):
            reference = element.get(name)
            if reference is not None and not reference.startswith("#"):
                raise ValueError(f"reference to another file: {reference}")
        for child in element:
            self.resolve(child, colour, frozenset(current))

    def local_url(self, value):
        """The paint value with a url(other.svg#id) turned into url(#id), the
        element it names copied (with its colours written in) for <defs>."""
        match = EXTERNAL_URL.fullmatch(value.strip())
        if not match:
            return value
        file, ident = match.groups()
        if ident not in self.copied:
            source = ET.parse(self.folder / file).getroot()
            found = source.find(f".//*[@id='{ident}']")
            if found is None:
                raise ValueError(f"{file} has no element with id {ident!r}")
            found = copy.deepcopy(found)
            if any(e.get("href") or e.get(f"{{{XLINK}}}href") for e in found.iter()):
                raise ValueError(f"{file}#{ident} refers to further elements")
            self.resolve(found)
            self.copied[ident] = found
        return f"url(#{ident})"


def standalone(source):
    source = Path(source)
    tree = ET.parse(source)  # drops the style sheet instruction and comments
    root = tree.getroot()
    inliner = Inliner(source.parent)
    inliner.resolve(root)
    if inliner.copied:
        clashes = [i for i in inliner.copied if root.find(f".//*[@id='{i}']") is not None]
        if clashes:
            raise ValueError(f"{source.name} already has an element with id {clashes[0]!r}")
        defs = ET.Element(f"{{{SVG}}}defs")
        defs.text, defs.tail = "\n    ", root.text
        for element in inliner.copied.values():
            element.tail = "\n    "
            defs.append(element)
        list(defs)[-1].tail = "\n  "
        root.insert(0, defs)
    note = (f"<!-- Written by scripts/render-art from resources/art/{source.name} with "
            "the colours of\n     palette.css and the gradients of common.svg written in, "
            "so that it needs\n     no other file. Edit the source, not this file. -->\n")
    body = ET.tostring(root, encoding="unicode")
    return f'<?xml version="1.0" encoding="UTF-8"?>\n{note}{body}\n'


if __name__ == "__main__":
    try:
        sys.stdout.write(standalone(sys.argv[1]))
    except (ValueError, OSError, ET.ParseError) as error:
        sys.exit(f"standalone_svg: {sys.argv[1]}: {error}")
