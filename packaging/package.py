#!/usr/bin/env python3
"""Writes the release zip from a Windows build: QuenlitX-<version>-win64.zip.

usage: package.py BUILD_DIR OUT_DIR

The programs are stripped copies of BUILD_DIR/bin; everything else comes from
the checkout. The guides go to the top of the zip and the images they show to
images/, so their relative links work in the zip as in docs/.
"""
import re
import shutil
import subprocess
import sys
import urllib.parse
import zipfile
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
DOCS = ROOT / "docs"
GUIDES = ["guide-ja.md", "guide-en.md"]
STRIP = "x86_64-w64-mingw32-strip"

_INLINE_IMAGE = re.compile(r"!\[[^\]]*\]\(\s*(<[^>]*>|[^)\s]+)")
_HTML_IMAGE = re.compile(r"<img\b[^>]*\bsrc\s*=\s*[\"']([^\"']+)[\"']", re.IGNORECASE)
_REFERENCE_IMAGE = re.compile(r"!\[[^\]]*\]\[([^\]]*)\]")
_REFERENCE_DEFINITION = re.compile(r"^ {0,3}\[([^\]]+)\]:\s*(<[^>]*>|\S+)", re.MULTILINE)


def image_links(markdown):
    """The local image paths a guide shows, as written (relative to the guide)."""
    links = [m.group(1) for m in _INLINE_IMAGE.finditer(markdown)]
    links += [m.group(1) for m in _HTML_IMAGE.finditer(markdown)]
    definitions = {m.group(1).lower(): m.group(2) for m in _REFERENCE_DEFINITION.finditer(markdown)}
    for m in _REFERENCE_IMAGE.finditer(markdown):
        label = m.group(1).lower()
        if label in definitions:
            links.append(definitions[label])
    paths = []
    for link in links:
        link = link.strip("<>")
        if re.match(r"^[a-zA-Z][a-zA-Z0-9+.-]*:", link) or link.startswith("#"):
            continue  # an address on the web, not a file to ship
        path = urllib.parse.unquote(link.split("#")[0].split("?")[0])
        if path not in paths:
            paths.append(path)
    return paths


def guide_images(guide):
    """The files under docs/images that one guide shows; an image elsewhere or missing is an error."""
    images = []
    for link in image_links(guide.read_text(encoding="utf-8")):
        source = (guide.parent / link).resolve()
        if not source.is_relative_to((DOCS / "images").resolve()):
            sys.exit(f"package: {guide.name} shows {link}, which is not under docs/images/")
        if not source.is_file():
            sys.exit(f"package: {guide.name} shows {link}, which does not exist")
        images.append(source)
    return images


def version_of(build):
    header = build / "generated" / "QuenlitVersion.h"
    m = re.search(r'#define QUENLIT_VERSION "([^"]+)"', header.read_text(encoding="utf-8"))
    if not m:
        sys.exit(f"package: no version in {header}")
    return m.group(1)


def contents(build, staging):
    """(file, name in the zip) for everything the release holds."""
    files = []
    for exe in ["QuenlitX.exe", "quenlit.exe"]:
        built, stripped = build / "bin" / exe, staging / exe
        subprocess.run([STRIP, "-o", str(stripped), str(built)], check=True)
        files.append((stripped, exe))
    files += [
        (ROOT / "data" / "AutoLispFuncList.txt", "AutoLispFuncList.txt"),
        (ROOT / "packaging" / "TargetCAD_APIVersion.txt", "TargetCAD_APIVersion.txt"),
        (ROOT / "THIRD_PARTY_NOTICES.md", "THIRD_PARTY_NOTICES.md"),
        (ROOT / "LICENSE", "LICENSE.txt"),
    ]
    images = []
    for name in GUIDES:
        files.append((DOCS / name, name))
        images += [i for i in guide_images(DOCS / name) if i not in images]
    files += [(i, i.relative_to(DOCS.resolve()).as_posix()) for i in images]
    return files


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__.strip().splitlines()[2])
    build, out = Path(sys.argv[1]).resolve(), Path(sys.argv[2]).resolve()
    version = version_of(build)
    staging = build / "package"
    shutil.rmtree(staging, ignore_errors=True)
    staging.mkdir(parents=True)
    out.mkdir(parents=True, exist_ok=True)
    target = out / f"QuenlitX-{version}-win64.zip"
    partial = target.with_suffix(".zip.part")
    with zipfile.ZipFile(partial, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        for source, name in contents(build, staging):
            z.write(source, name)
    partial.replace(target)  # never a half-written zip under the release's name
    for exe in ["QuenlitX.exe", "quenlit.exe"]:
        print(f"{exe}: {(build / 'bin' / exe).stat().st_size} bytes built, "
              f"{(staging / exe).stat().st_size} bytes stripped")
    print(f"{target.relative_to(Path.cwd()) if target.is_relative_to(Path.cwd()) else target}: "
          f"{target.stat().st_size} bytes")


if __name__ == "__main__":
    main()
