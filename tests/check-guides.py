#!/usr/bin/env python3
"""Checks the guides of an unpacked release: every image and link inside the
package resolves (files present, anchors present, images that are PNG
pictures narrow enough to be shown at their own size, the drawings' in the
guide's language), each guide is in its language and links the other.
  check-guides.py FOLDER"""
import html.parser
import os
import sys
import urllib.parse


# The guides' column at 16-pixel type (54em), less the pictures' borders.
COLUMN = 54 * 16 - 2


class Page(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.lang = None
        self.ids = set()
        self.targets = []  # (tag, attribute, value)

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if tag == "html":
            self.lang = attrs.get("lang")
        if "id" in attrs:
            self.ids.add(attrs["id"])
        for name in ("src", "href"):
            if name in attrs:
                self.targets.append((tag, name, attrs[name]))


def read(folder, name):
    page = Page()
    with open(os.path.join(folder, name), encoding="utf-8") as f:
        page.feed(f.read())
    return page


def main():
    folder = sys.argv[1]
    guides = {"Guide.html": ("ko", "Guide.en.html"), "Guide.en.html": ("en", "Guide.html")}
    pages = {name: read(folder, name) for name in guides}
    faults = []
    checked = 0
    for name, (lang, other) in guides.items():
        page = pages[name]
        if page.lang != lang:
            faults.append(f"{name}: lang is {page.lang}, expected {lang}")
        if not any(value == other for _, _, value in page.targets):
            faults.append(f"{name}: no link to {other}")
        for tag, attribute, value in page.targets:
            checked += 1
            target = urllib.parse.urlsplit(value)
            if target.scheme or target.netloc:
                faults.append(f"{name}: {tag} {attribute}={value} leaves the package")
                continue
            file = urllib.parse.unquote(target.path) or name
            path = os.path.join(folder, file)
            if not os.path.isfile(path):
                faults.append(f"{name}: {tag} {attribute}={value}: no file {file} in the package")
                continue
            if target.fragment:
                ids = pages[file].ids if file in pages else set()
                if target.fragment not in ids:
                    faults.append(f"{name}: {value}: no element with id {target.fragment}")
            if tag == "img":
                with open(path, "rb") as f:
                    head = f.read(24)
                if head[:8] != b"\x89PNG\r\n\x1a\n":
                    faults.append(f"{name}: {value} is no PNG picture")
                elif int.from_bytes(head[16:20], "big") > COLUMN:
                    faults.append(f"{name}: {value} is wider than the column: it would be scaled")
                korean = file.endswith(".ko.png")
                if file.startswith("guide-") and korean != (lang == "ko"):
                    faults.append(f"{name}: {value} is a picture of the other guide's language")
    for fault in faults:
        print("FAIL:", fault)
    print(f"{checked} images and links in {len(pages)} guides, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
