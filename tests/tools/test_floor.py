"""Mivtra.exe and HOOK.DLL (in MIVTRA_BINDIR) name Windows 7 as the oldest Windows they run on
and import only functions that Windows 7 provides (floor_imports.txt)."""

import os
import re
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from test_dist import PROGRAMS, objdump  # noqa: E402

FLOOR = (6, 1)


def imports(dump: str):
    """The (DLL, function) pairs of objdump -p's import tables; ordinals as "#N"."""
    found, dll = set(), None
    for line in dump.splitlines():
        name = re.match(r"\s*DLL Name: (\S+)", line)
        if name:
            dll = name.group(1).upper()
            continue
        entry = re.match(r"\t[0-9a-f]+\t +(\d+)  (\S+)", line)
        if entry and dll:
            found.add((dll, "#" + entry.group(1) if entry.group(2) == "<none>" else entry.group(2)))
    return found


def floor_functions():
    with open(os.path.join(HERE, "floor_imports.txt"), encoding="ascii") as f:
        return {tuple(line.split()) for line in f if line.strip() and not line.startswith("#")}


class FloorTest(unittest.TestCase):
    def test_headers_name_the_floor_and_every_import_is_one_the_floor_provides(self):
        allowed = floor_functions()
        for name in PROGRAMS:
            with self.subTest(name):
                dump = objdump("-p", os.path.join(os.environ["MIVTRA_BINDIR"], name))
                fields = dict(re.findall(r"^(Major\w+|Minor\w+)\s+(\d+)$", dump, re.M))
                self.assertEqual((int(fields["MajorOSystemVersion"]), int(fields["MinorOSystemVersion"])), FLOOR)
                self.assertEqual((int(fields["MajorSubsystemVersion"]), int(fields["MinorSubsystemVersion"])), FLOOR)
                found = imports(dump)
                self.assertGreater(len(found), 10, "no import table read")
                # The program's own library is imported by ordinal; everything else by name.
                beyond = sorted(f"{dll} {function}" for dll, function in found - allowed if dll != "HOOK.DLL")
                self.assertEqual(beyond, [], "imports that Windows 7 does not provide (look them up at run time)")


if __name__ == "__main__":
    unittest.main()
