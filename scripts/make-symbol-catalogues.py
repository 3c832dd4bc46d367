#!/usr/bin/env python3
"""Makes the symbol library's catalogues in data/symbols/ from the published icon sets.

    python3 scripts/make-symbol-catalogues.py [FOLDER]

fetches each set's npm package (`npm pack`, the version pinned below), and writes one
catalogue file per set, SET.catalogue, with its licence text, SET.LICENSE, into FOLDER
(default data/symbols/ of this tree).

A catalogue is the line "sigilon-symbols 1", then two zlib blocks, each as Qt's qCompress
writes it (the length of the uncompressed data as 4 bytes big-endian, then the zlib stream)
after its own length (4 bytes big-endian): the index, then the bodies. The index is UTF-8
text, one line of tab-separated fields a record:
    the set:   name, title, kind (symbol or emoji), licence, author, package@version
    an entry:  name, style, category, search terms (space-separated: other names, the emoji
               character), body offset, body length, width, height
The bodies block holds the SVG fragments that the offsets point into; entries that draw the
same (a style that looks like another) share one. The index alone answers a search, so the
larger bodies block is only inflated when something is drawn.
"""

import json
import os
import struct
import subprocess
import sys
import tarfile
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# Material Symbols names a style by a suffix: filled is the plain name.
MATERIAL_STYLES = [
    ("-outline-rounded", "outlined rounded"),
    ("-outline-sharp", "outlined sharp"),
    ("-outline", "outlined"),
    ("-rounded", "filled rounded"),
    ("-sharp", "filled sharp"),
    ("", "filled"),
]


def material_style(name):
    for suffix, style in MATERIAL_STYLES:
        if suffix and name.endswith(suffix):
            return name[: -len(suffix)], style
    return name, "filled"


def emoji_style(name):
    return name, "colour"


SETS = [
    {
        "name": "material",
        "title": "Material Symbols",
        "kind": "symbol",
        "package": "@iconify-json/material-symbols",
        "version": "1.2.98",
        "licence_file": "/usr/share/common-licenses/Apache-2.0",
        "notice": "Material Symbols, Copyright Google LLC, licensed under the Apache License,\n"
        "Version 2.0 (below).\n",
        "style": material_style,
    },
    {
        "name": "noto",
        "title": "Noto Emoji",
        "kind": "emoji",
        "package": "@iconify-json/noto",
        "version": "1.2.9",
        "licence_file": "/usr/share/common-licenses/Apache-2.0",
        "notice": "Noto Emoji, Copyright Google LLC, licensed under the Apache License,\n"
        "Version 2.0 (below). The flag images are in the public domain.\n",
        "style": emoji_style,
    },
]


def fetch(package, version, workdir):
    subprocess.run(
        ["npm", "pack", "--silent", f"{package}@{version}"],
        cwd=workdir, check=True, stdout=subprocess.DEVNULL,
    )
    archive = [f for f in os.listdir(workdir) if f.endswith(".tgz")][0]
    with tarfile.open(os.path.join(workdir, archive)) as tar:
        tar.extractall(workdir)
    package_dir = os.path.join(workdir, "package")

    def read(name, default):
        path = os.path.join(package_dir, name)
        return json.load(open(path, encoding="utf-8")) if os.path.exists(path) else default

    return read("icons.json", None), read("metadata.json", {}), read("chars.json", {}), read(
        "info.json", {})


def field(text):
    return text.replace("\t", " ").replace("\n", " ")


def block(data):
    packed = struct.pack(">I", len(data)) + zlib.compress(data, 9)
    return struct.pack(">I", len(packed)) + packed


def make_catalogue(symbol_set, icons, metadata, chars, info):
    default_width = icons.get("width", 16)
    default_height = icons.get("height", 16)
    category_of = {}
    for category, names in metadata.get("categories", {}).items():
        for name in names:
            category_of.setdefault(name, category)
    character_of = {}
    for code, name in chars.items():
        try:
            character_of.setdefault(name, "".join(chr(int(c, 16)) for c in code.split("-")))
        except ValueError:
            pass

    drawings = {}  # name -> (body, width, height), the visible icons and their aliases
    for name, icon in icons["icons"].items():
        if not icon.get("hidden"):
            drawings[name] = (icon["body"], icon.get("width", default_width),
                              icon.get("height", default_height))
    other_names = {}  # name -> names that draw the same in the same style
    for name, alias in icons.get("aliases", {}).items():
        parent = alias.get("parent")
        if parent not in drawings or set(alias) != {"parent"}:
            continue  # hidden, or a transformed copy: the set draws it from another entry
        if symbol_set["style"](name)[1] == symbol_set["style"](parent)[1]:
            other_names.setdefault(parent, []).append(name)
        else:
            drawings.setdefault(name, drawings[parent])

    bodies = bytearray()
    offsets = {}
    lines = ["\t".join(field(v) for v in [
        symbol_set["name"], symbol_set["title"], symbol_set["kind"], info.get("license", {}).get("spdx", ""),
        info.get("author", {}).get("name", ""), f"{symbol_set['package']}@{symbol_set['version']}"])]
    for name in sorted(drawings):
        body, width, height = drawings[name]
        encoded = body.encode("utf-8")
        if encoded not in offsets:
            offsets[encoded] = len(bodies)
            bodies += encoded
        base, style = symbol_set["style"](name)
        category = category_of.get(name) or category_of.get(base, "")
        terms = list(other_names.get(name, []))
        if name in character_of:
            terms.append(character_of[name])
        lines.append("\t".join([
            field(name), style, field(category), field(" ".join(terms)),
            str(offsets[encoded]), str(len(encoded)), str(width), str(height)]))
    index = ("\n".join(lines) + "\n").encode("utf-8")
    return b"sigilon-symbols 1\n" + block(index) + block(bytes(bodies)), len(drawings)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "data", "symbols")
    os.makedirs(folder, exist_ok=True)
    for symbol_set in SETS:
        with tempfile.TemporaryDirectory() as workdir:
            icons, metadata, chars, info = fetch(symbol_set["package"], symbol_set["version"], workdir)
        catalogue, count = make_catalogue(symbol_set, icons, metadata, chars, info)
        with open(os.path.join(folder, symbol_set["name"] + ".catalogue"), "wb") as out:
            out.write(catalogue)
        with open(os.path.join(folder, symbol_set["name"] + ".LICENSE"), "w", encoding="utf-8") as out:
            out.write(symbol_set["notice"] + "\n" + open(symbol_set["licence_file"], encoding="utf-8").read())
        print(f"{symbol_set['name']}: {count} entries, {len(catalogue)} bytes")


if __name__ == "__main__":
    main()
