#!/usr/bin/env python3
"""Checks that every relative link in README.md and docs/*.md resolves.

Usage: check_doc_links.py SOURCE_ROOT

A link resolves when the file or folder it names exists inside the source
tree; a link with a #fragment to a markdown file (or a bare #fragment, to the
file itself) also needs a heading whose anchor is that fragment, made as
GitHub makes it: the heading's text in lower case, spaces turned into '-',
punctuation other than '-' and '_' dropped, and '-1', '-2', ... added to
repeated anchors. Links with a scheme (http:, https:, mailto:, ...) and links
in fenced code blocks or code spans are not checked.

Prints each broken link as FILE:LINE and exits with 1 when there is one.
"""

import os
import re
import sys
import urllib.parse

FENCE = re.compile(r"^ {0,3}(`{3,}|~{3,})")
CODE_SPAN = re.compile(r"(?<!`)(`+)(?!`)((?:(?!\n[ \t]*\n).)*?)(?<!`)\1(?!`)", re.S)
# [text](destination "title") and ![alt](destination), the text allowing one
# level of brackets inside it.
INLINE_LINK = re.compile(
    r"\[(?:[^\[\]]|\[[^\[\]]*\])*\]\(\s*(<[^>\n]*>|[^\s()]+)"
    r"(?:\s+(?:\"[^\"]*\"|'[^']*'|\([^)]*\)))?\s*\)")
REFERENCE_DEFINITION = re.compile(r"^ {0,3}\[[^\]]+\]:[ \t]*(<[^>\n]*>|\S+)", re.M)
HTML_LINK = re.compile(r"<(?:a|img)\b[^>]*?\b(?:href|src)\s*=\s*\"([^\"]*)\"", re.I)
HTML_ANCHOR = re.compile(r"<[a-z][^>]*?\b(?:id|name)\s*=\s*\"([^\"]*)\"", re.I)
ATX_HEADING = re.compile(r"^ {0,3}(#{1,6})(?:[ \t]+(.*?))?(?:[ \t]+#+)?[ \t]*$")
SETEXT_UNDERLINE = re.compile(r"^ {0,3}(=+|-+)[ \t]*$")
SCHEME = re.compile(r"^[A-Za-z][A-Za-z0-9+.-]*:")


def blank_fenced_blocks(text):
    """The text with every line of a fenced code block made empty."""
    lines = text.split("\n")
    fence = None
    for i, line in enumerate(lines):
        match = FENCE.match(line)
        if fence is None:
            if match:
                fence = match.group(1)
                lines[i] = ""
        else:
            if match and match.group(1)[0] == fence[0] and len(match.group(1)) >= len(fence) \
                    and not line.strip().lstrip(fence[0]):
                fence = None
            lines[i] = ""
    return "\n".join(lines)


def blank_code_spans(text):
    """The text with the inside of every code span replaced, newlines kept."""
    return CODE_SPAN.sub(lambda m: re.sub(r"[^\n]", "x", m.group(0)), text)


def heading_anchor(heading):
    """The anchor GitHub gives a heading, before repeats are numbered."""
    text = re.sub(r"!?\[((?:[^\[\]]|\[[^\[\]]*\])*)\]\([^)]*\)", r"\1", heading)
    text = re.sub(r"<[^>]+>", "", text).strip().lower()
    text = "".join(c for c in text if c.isalnum() or c in " -_")
    return text.replace(" ", "-")


def anchors_of(text):
    """Every anchor a reader can jump to in a markdown text."""
    lines = blank_fenced_blocks(text).split("\n")
    anchors = set()
    seen = {}
    for i, line in enumerate(lines):
        heading = None
        match = ATX_HEADING.match(line)
        if match:
            heading = match.group(2) or ""
        elif i > 0 and lines[i - 1].strip() and SETEXT_UNDERLINE.match(line) \
                and not ATX_HEADING.match(lines[i - 1]) and "|" not in lines[i - 1]:
            heading = lines[i - 1].strip()
        if heading is not None:
            base = heading_anchor(heading)
            count = seen.get(base, 0)
            seen[base] = count + 1
            anchors.add(base if count == 0 else f"{base}-{count}")
    anchors.update(HTML_ANCHOR.findall(text))
    return anchors


def links_of(text):
    """(line, destination) of every link outside code."""
    masked = blank_code_spans(blank_fenced_blocks(text))
    found = []
    for pattern in (INLINE_LINK, REFERENCE_DEFINITION, HTML_LINK):
        for match in pattern.finditer(masked):
            destination = match.group(1)
            if destination.startswith("<") and destination.endswith(">"):
                destination = destination[1:-1]
            found.append((masked.count("\n", 0, match.start(1)) + 1, destination))
    return sorted(found)


def read(path):
    with open(path, encoding="utf-8") as stream:
        return stream.read()


def check_file(root, path, anchor_cache):
    """The broken links of one markdown file, as messages."""
    problems = []
    shown = os.path.relpath(path, root)
    for line, destination in links_of(read(path)):
        if SCHEME.match(destination):
            continue
        target, _, fragment = destination.partition("#")
        target = urllib.parse.unquote(target)
        fragment = urllib.parse.unquote(fragment)
        if not target:
            resolved = path
        elif target.startswith("/"):
            resolved = os.path.normpath(os.path.join(root, target.lstrip("/")))
        else:
            resolved = os.path.normpath(os.path.join(os.path.dirname(path), target))
        if os.path.commonpath([root, resolved]) != root:
            problems.append(f"{shown}:{line}: {destination}: leads out of the source tree")
            continue
        if not os.path.exists(resolved):
            problems.append(f"{shown}:{line}: {destination}: no such file")
            continue
        if fragment and resolved.endswith(".md") and os.path.isfile(resolved):
            if resolved not in anchor_cache:
                anchor_cache[resolved] = anchors_of(read(resolved))
            if fragment not in anchor_cache[resolved]:
                problems.append(f"{shown}:{line}: {destination}: no heading with the anchor "
                                f"#{fragment} in {os.path.relpath(resolved, root)}")
    return problems


def main(argv):
    if len(argv) != 2:
        print(f"usage: {argv[0]} SOURCE_ROOT", file=sys.stderr)
        return 2
    root = os.path.realpath(argv[1])
    files = [os.path.join(root, "README.md")]
    docs = os.path.join(root, "docs")
    if os.path.isdir(docs):
        files += sorted(os.path.join(docs, name) for name in os.listdir(docs) if name.endswith(".md"))
    anchor_cache = {}
    problems = []
    for path in files:
        if not os.path.isfile(path):
            problems.append(f"{os.path.relpath(path, root)}: missing")
            continue
        problems += check_file(root, path, anchor_cache)
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} broken link(s)")
        return 1
    print(f"every relative link in {len(files)} file(s) resolves")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
