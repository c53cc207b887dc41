#!/usr/bin/env python3
"""Packs the release: a zip with Mivtra.exe, HOOK.DLL, Mivtra.hlp, Mivtra.cnt, Mivtra.html and
Readme.txt from BINDIR at its root, each with the time the build gave it, and prints the zip's size.

    scripts/dist.py --strip STRIP BINDIR OUT.zip

The two programs go in stripped by STRIP (the toolchain's strip): no symbol table and no debug
sections. The build's own files keep theirs.
"""

import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import zipfile

SHIPPED = ["Mivtra.exe", "HOOK.DLL", "Mivtra.hlp", "Mivtra.cnt", "Mivtra.html", "Readme.txt"]
PROGRAMS = ["Mivtra.exe", "HOOK.DLL"]
FILE_ATTRIBUTE_ARCHIVE = 0x20


def symbols_and_debug_sections(path: str):
    """The COFF symbol count and the names of debug sections of a PE file."""
    with open(path, "rb") as f:
        data = f.read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe : pe + 4] != b"PE\0\0":
        raise ValueError(f"{path} is not a PE file")
    sections, _, symbol_table, symbols, optional_size = struct.unpack_from("<HIIIH", data, pe + 6)
    table = pe + 24 + optional_size
    strings = symbol_table + 18 * symbols  # the string table follows the symbols
    names = []
    for i in range(sections):
        name = data[table + 40 * i : table + 40 * i + 8].rstrip(b"\0").decode("ascii", "replace")
        # A longer name is "/offset" into the string table.
        if name.startswith("/") and symbol_table:
            at = strings + int(name[1:])
            name = data[at : data.index(b"\0", at)].decode("ascii", "replace")
        names.append(name)
    return symbols, [n for n in names if n.startswith(".debug")]


def stripped(strip: str, path: str, scratch: str) -> bytes:
    copy = os.path.join(scratch, os.path.basename(path))
    shutil.copyfile(path, copy)
    subprocess.run([strip, "--strip-all", copy], check=True)
    symbols, debug = symbols_and_debug_sections(copy)
    if symbols or debug:
        raise ValueError(f"{path} still has {symbols} symbols and sections {debug} after {strip}")
    with open(copy, "rb") as f:
        return f.read()


def main(argv) -> int:
    if len(argv) != 5 or argv[1] != "--strip":
        print(__doc__.strip(), file=sys.stderr)
        return 2
    strip, bindir, output = argv[2], argv[3], argv[4]
    paths = [os.path.join(bindir, name) for name in SHIPPED]
    missing = [p for p in paths if not os.path.isfile(p)]
    if missing:
        print(f"dist.py: missing {', '.join(missing)} (build first)", file=sys.stderr)
        return 1
    contents = {}
    with tempfile.TemporaryDirectory() as scratch:
        for name, path in zip(SHIPPED, paths):
            if name in PROGRAMS:
                try:
                    contents[name] = stripped(strip, path, scratch)
                except (OSError, subprocess.CalledProcessError, ValueError) as e:
                    print(f"dist.py: {e}", file=sys.stderr)
                    return 1
            else:
                with open(path, "rb") as f:
                    contents[name] = f.read()

    os.makedirs(os.path.dirname(os.path.abspath(output)), exist_ok=True)
    fd, temporary = tempfile.mkstemp(dir=os.path.dirname(os.path.abspath(output)), suffix=".zip")
    os.close(fd)
    try:
        with zipfile.ZipFile(temporary, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
            for name, path in zip(SHIPPED, paths):
                # The build's time, as local time the way Windows shows a zip's dates.
                info = zipfile.ZipInfo(name, time.localtime(os.stat(path).st_mtime)[:6])
                info.create_system = 0  # MS-DOS attributes: a plain archived file
                info.external_attr = FILE_ATTRIBUTE_ARCHIVE
                info.compress_type = zipfile.ZIP_DEFLATED
                archive.writestr(info, contents[name])
        umask = os.umask(0)
        os.umask(umask)
        os.chmod(temporary, 0o666 & ~umask)
        os.replace(temporary, output)
    except BaseException:
        os.unlink(temporary)
        raise
    size = os.path.getsize(output)
    programs = sum(len(contents[name]) for name in PROGRAMS)
    print(f"{output}: {size:,} bytes ({size / 1024:.0f} KB); Mivtra.exe + HOOK.DLL {programs / 1024:.0f} KB")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
