"""Mivtra.exe and HOOK.DLL (in MIVTRA_BINDIR) name Windows 7 as the oldest Windows they run on
and import only the functions of cmake/floor_imports.txt, which Windows 7 provides."""

import os
import re
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from test_dist import PROGRAMS, ROOT, objdump  # noqa: E402


class FloorTest(unittest.TestCase):
    def test_headers_name_the_floor_and_every_import_is_one_the_floor_provides(self):
        with open(os.path.join(ROOT, "cmake", "floor_imports.txt"), encoding="ascii") as f:
            allowed = {tuple(line.split()) for line in f if line.strip() and not line.startswith("#")}
        for name in PROGRAMS:
            dump = objdump("-p", os.path.join(os.environ["MIVTRA_BINDIR"], name))
            versions = re.findall(r"^(?:Major|Minor)(?:OSystem|Subsystem)Version\s+(\d+)$", dump, re.M)
            self.assertEqual(versions, ["6", "1", "6", "1"], name)
            # Every import by name, under its DLL's name in capitals; the program's own library
            # is imported by ordinal.
            found, dll = set(), None
            for line in dump.splitlines():
                dll = (re.findall(r"DLL Name: (\S+)", line) or [dll])[0]
                entry = re.match(r"\t[0-9a-f]+\t +\d+  ([A-Za-z_]\w*)", line)
                if entry:
                    found.add((dll.upper(), entry.group(1)))
            self.assertGreater(len(found), 10, f"no import table read from {name}")
            self.assertEqual(sorted(found - allowed), [], f"{name} imports what Windows 7 lacks")


if __name__ == "__main__":
    unittest.main()
