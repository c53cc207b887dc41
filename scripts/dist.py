#!/usr/bin/env python3
"""Packs the release: a zip with Mivtra.exe, HOOK.DLL, Mivtra.hlp, Mivtra.html and Readme.txt
from BINDIR at its root, each with the time the build gave it, and prints the zip's size.

    scripts/dist.py BINDIR OUT.zip

It refuses a program that still carries a symbol table or debug sections.
"""

import os
import struct
import sys
import tempfile
import time
import zipfile

SHIPPED = ["Mivtra.exe", "HOOK.DLL", "Mivtra.hlp", "Mivtra.html", "Readme.txt"]
FILE_ATTRIBUTE_ARCHIVE = 0x20


def symbols_and_debug_sections(path: str):
    """The COFF symbol count and the names of debug sections of a PE file."""
    with open(path, "rb") as f:
        data = f.read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe : pe + 4] != b"PE\0\0":
        raise ValueError(f"{path} is not a PE file")
    sections, _, _, symbols, optional_size = struct.unpack_from("<HIIIH", data, pe + 6)
    table = pe + 24 + optional_size
    names = [data[table + 40 * i : table + 40 * i + 8].rstrip(b"\0").decode("ascii", "replace") for i in range(sections)]
    # A name of the form "/123" lives in the symbol string table: only unstripped files have them.
    return symbols, [n for n in names if n.startswith((".debug", "/"))]


def main(argv) -> int:
    if len(argv) != 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    bindir, output = argv[1], argv[2]
    paths = [os.path.join(bindir, name) for name in SHIPPED]
    missing = [p for p in paths if not os.path.isfile(p)]
    if missing:
        print(f"dist.py: missing {', '.join(missing)} (build first)", file=sys.stderr)
        return 1
    for path in paths[:2]:
        symbols, debug = symbols_and_debug_sections(path)
        if symbols or debug:
            print(f"dist.py: {path} is not stripped ({symbols} symbols, sections {debug})", file=sys.stderr)
            return 1

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
                with open(path, "rb") as f:
                    archive.writestr(info, f.read())
        umask = os.umask(0)
        os.umask(umask)
        os.chmod(temporary, 0o666 & ~umask)
        os.replace(temporary, output)
    except BaseException:
        os.unlink(temporary)
        raise
    size = os.path.getsize(output)
    programs = sum(os.path.getsize(p) for p in paths[:2])
    print(f"{output}: {size:,} bytes ({size / 1024:.0f} KB); Mivtra.exe + HOOK.DLL {programs / 1024:.0f} KB")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
