#!/usr/bin/env python3
"""Checks the release zip the way a user receives it.

usage: check.py FOLDER

Takes dist/QuenlitX-<version>-win64.zip for the version in the top
CMakeLists.txt, checks what it holds, unzips it into FOLDER/QuenlitX-<version>-win64
(as Windows' "extract all" does), checks both programs there (system DLLs only,
stripped, version resources, `quenlit --version`, size), then runs the
end-to-end test that starts the unzipped QuenlitX.exe. Needs the Wine
environment of scripts/wine-env and a display; scripts/test provides both.
"""
import os
import re
import shutil
import struct
import subprocess
import sys
import zipfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from package import GUIDES, ROOT, image_links  # noqa: E402

FIXED_FILES = {"QuenlitX.exe", "quenlit.exe", "AutoLispFuncList.txt", "TargetCAD_APIVersion.txt",
               "THIRD_PARTY_NOTICES.md", "LICENSE.txt", *GUIDES}
# DLLs every Windows 10 and later has; anything else would have to ship beside the programs.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "comdlg32.dll", "shell32.dll",
               "ole32.dll", "oleaut32.dll", "dwmapi.dll", "uxtheme.dll", "imm32.dll", "shlwapi.dll",
               "advapi32.dll", "msvcrt.dll", "ntdll.dll", "version.dll", "ws2_32.dll", "bcrypt.dll",
               "rpcrt4.dll", "shcore.dll", "winmm.dll"}
MAX_GUI_BYTES = 2 * 1024 * 1024
OBJDUMP = "x86_64-w64-mingw32-objdump"
E2E = ROOT / "build" / "windows" / "bin" / "QuenlitX_e2e.exe"
E2E_FILTER = "Package.*"

failures = []


def expect(ok, what):
    if not ok:
        failures.append(what)
    return ok


def cmake_version():
    text = (ROOT / "CMakeLists.txt").read_text(encoding="utf-8")
    m = re.search(r"^project\(QuenlitX\s+VERSION\s+([0-9.]+)", text, re.MULTILINE)
    if not m:
        sys.exit("check: no project(QuenlitX VERSION ...) in CMakeLists.txt")
    return m.group(1)


def cmake_setting(name):
    text = (ROOT / "cmake" / "Version.cmake").read_text(encoding="utf-8")
    m = re.search(rf'^set\({name} "([^"]*)"\)', text, re.MULTILINE)
    if not m:
        sys.exit(f"check: no {name} in cmake/Version.cmake")
    return m.group(1)


def numeric(version):
    """The four numbers of a version resource: 2025.07.05 -> (2025, 7, 5, 0)."""
    parts = [int(p) for p in version.split(".")]
    return tuple(parts + [0] * (4 - len(parts)))


def check_contents(z):
    names = z.namelist()
    expect(len(names) == len(set(names)), f"the zip holds a name twice: {sorted(names)}")
    shown = set()
    for guide in GUIDES:
        if guide in names:
            for link in image_links(z.read(guide).decode("utf-8")):
                shown.add(os.path.normpath(link).replace(os.sep, "/"))
    expected = FIXED_FILES | shown
    expect(set(names) == expected,
           f"the zip should hold exactly {sorted(expected)}; missing {sorted(expected - set(names))}, "
           f"extra {sorted(set(names) - expected)}")
    if "TargetCAD_APIVersion.txt" in names:
        data = z.read("TargetCAD_APIVersion.txt")
        lines = data.split(b"\r\n")
        expect(data.endswith(b"\r\n") and b"\n" not in data.replace(b"\r\n", b"")
               and b"\r" not in data.replace(b"\r\n", b""), "TargetCAD_APIVersion.txt must end every line with CR LF")
        entries = lines[:-1]
        expect(entries and all(re.fullmatch(rb"[^\t]+\t[A-Za-z][\w.]*", l) for l in entries),
               f"TargetCAD_APIVersion.txt lines must be name TAB ProgID: {entries}")


def pe_headers(data):
    """(number of COFF symbols, section names) of a PE file."""
    expect(data[:2] == b"MZ", "not a PE file")
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    expect(data[pe:pe + 4] == b"PE\0\0", "not a PE file")
    _, sections, _, _, symbols, optional_size, _ = struct.unpack_from("<HHIIIHH", data, pe + 4)
    table = pe + 24 + optional_size
    names = [data[table + 40 * i:table + 40 * i + 8].rstrip(b"\0").decode("latin-1") for i in range(sections)]
    return symbols, names


def version_resource(data):
    """The fixed numbers and the strings of the file's VS_VERSION_INFO."""
    key = "VS_VERSION_INFO\0".encode("utf-16-le")
    at = data.find(key)
    if not expect(at >= 6 and data.find(key, at + 1) < 0, "one VS_VERSION_INFO resource"):
        return None, {}
    base = at - 6

    def align(pos):
        return base + ((pos - base + 3) & ~3)

    def node(pos):
        length, value_length, kind = struct.unpack_from("<HHH", data, pos)
        end = pos + 6
        while data[end:end + 2] != b"\0\0":
            end += 2
        name = data[pos + 6:end].decode("utf-16-le")
        value = align(end + 2)
        size = value_length * 2 if kind == 1 else value_length
        return name, pos + length, value, size

    name, top_end, value, size = node(base)
    fixed = struct.unpack_from("<13I", data, value)
    expect(fixed[0] == 0xFEEF04BD, "VS_FIXEDFILEINFO signature")
    numbers = {"FILEVERSION": (fixed[2] >> 16, fixed[2] & 0xFFFF, fixed[3] >> 16, fixed[3] & 0xFFFF),
               "PRODUCTVERSION": (fixed[4] >> 16, fixed[4] & 0xFFFF, fixed[5] >> 16, fixed[5] & 0xFFFF)}
    strings = {}
    child = align(value + size)
    while child < top_end:
        name, child_end, value, _ = node(child)
        if name == "StringFileInfo":
            table = value
            while table < child_end:
                _, table_end, entry, _ = node(table)
                while entry < table_end:
                    key_name, entry_end, text, _ = node(entry)
                    raw = data[text:entry_end]
                    strings[key_name] = raw.decode("utf-16-le").split("\0")[0]
                    entry = align(entry_end)
                table = align(table_end)
        child = align(child_end)
    return numbers, strings


def check_program(path, version, copyright_text):
    data = path.read_bytes()
    name = path.name
    dump = subprocess.run([OBJDUMP, "-p", str(path)], capture_output=True, text=True, check=True).stdout
    dlls = {d.lower() for d in re.findall(r"DLL Name: (\S+)", dump)}
    expect("kernel32.dll" in dlls, f"{name}: objdump lists no kernel32.dll import ({sorted(dlls)})")
    others = sorted(d for d in dlls if d not in SYSTEM_DLLS and not d.startswith("api-ms-win-"))
    expect(not others, f"{name} imports DLLs that are not part of Windows: {others}")
    symbols, sections = pe_headers(data)
    expect(symbols == 0 and not any(s.startswith((".debug", "/")) for s in sections),
           f"{name} is not stripped ({symbols} symbols, sections {sections})")
    numbers, strings = version_resource(data)
    want = numeric(version)
    if numbers:
        expect(numbers["FILEVERSION"] == want and numbers["PRODUCTVERSION"] == want,
               f"{name}: numeric versions {numbers}, want {want}")
    for key, value in {"FileVersion": version, "ProductVersion": version, "ProductName": "QuenlitX",
                       "OriginalFilename": name, "LegalCopyright": copyright_text}.items():
        expect(strings.get(key) == value, f"{name}: {key} is {strings.get(key)!r}, want {value!r}")
    expect(bool(strings.get("FileDescription")), f"{name}: no FileDescription")
    return strings


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__.strip().splitlines()[2])
    version = cmake_version()
    archive = ROOT / "dist" / f"QuenlitX-{version}-win64.zip"
    if not archive.is_file():
        sys.exit(f"check: {archive} is missing (scripts/package writes it)")
    with zipfile.ZipFile(archive) as z:
        check_contents(z)
        folder = Path(sys.argv[1]).resolve() / archive.stem
        shutil.rmtree(folder, ignore_errors=True)
        z.extractall(folder)

    copyright_text = cmake_setting("QUENLIT_COPYRIGHT")
    gui = folder / "QuenlitX.exe"
    for exe in ["QuenlitX.exe", "quenlit.exe"]:
        if expect((folder / exe).is_file(), f"{exe} not unzipped"):
            check_program(folder / exe, version, copyright_text)
    if gui.is_file():
        expect(gui.stat().st_size < MAX_GUI_BYTES, f"QuenlitX.exe is {gui.stat().st_size} bytes, limit {MAX_GUI_BYTES}")

    cli = folder / "quenlit.exe"
    if cli.is_file():
        out = subprocess.run(["wine", str(cli), "--version"], capture_output=True, timeout=120)
        said = out.stdout.decode("utf-8", "replace").strip()
        expect(said == f"quenlit {version}", f"quenlit --version said {said!r}, want 'quenlit {version}'")

    if failures:
        sys.exit("check: the package is wrong:\n  " + "\n  ".join(failures))
    print(f"check: {archive.name} ({archive.stat().st_size} bytes): contents, imports, version {version} "
          f"in both programs, QuenlitX.exe {gui.stat().st_size} bytes")

    # The unzipped program itself, started from a folder named with Japanese and a blank.
    env = dict(os.environ, QUENLIT_PACKAGE_DIR="Z:" + str(folder))
    run = subprocess.run(["wine", str(E2E), f"--gtest_filter={E2E_FILTER}"], env=env, timeout=300)
    if run.returncode != 0:
        sys.exit(f"check: the unzipped QuenlitX.exe failed its end-to-end test (exit {run.returncode})")


if __name__ == "__main__":
    main()
