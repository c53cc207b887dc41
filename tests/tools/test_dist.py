"""The release zip packed from a build (MIVTRA_BINDIR, stripped with MIVTRA_STRIP): exactly the
six shipped files at its root with the build's times, the built programs stripped and under
640 KB together, a Shift-JIS readme with CRLF line ends, and a help file the viewer can read."""

import os
import re
import subprocess
import sys
import tempfile
import time
import unittest
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, HERE)

import hlpreader  # noqa: E402

SHIPPED = {"Mivtra.exe", "HOOK.DLL", "Mivtra.hlp", "Mivtra.cnt", "Mivtra.html", "Readme.txt"}
PROGRAMS = ("Mivtra.exe", "HOOK.DLL")
OBJDUMP = "i686-w64-mingw32-objdump"


def objdump(option: str, path: str) -> str:
    return subprocess.run([OBJDUMP, option, path], capture_output=True, text=True, check=True).stdout


def text_section(headers: str) -> str:
    """The size and contents line of .text in objdump -h output."""
    (line,) = re.findall(r"^\s*\d+ \.text\s+(\S+)", headers, re.M)
    return line


class DistTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.bindir = os.environ["MIVTRA_BINDIR"]
        cls.folder = tempfile.TemporaryDirectory()
        cls.zip_path = os.path.join(cls.folder.name, "mivtra202.zip")
        strip = os.environ["MIVTRA_STRIP"]
        result = subprocess.run(
            [sys.executable, "-B", os.path.join(ROOT, "scripts", "dist.py"), "--strip", strip, cls.bindir, cls.zip_path],
            capture_output=True,
            text=True,
        )
        if result.returncode:
            raise AssertionError(f"dist.py failed: {result.stderr}")
        cls.report = result.stdout
        cls.archive = zipfile.ZipFile(cls.zip_path)

    @classmethod
    def tearDownClass(cls):
        cls.archive.close()
        cls.folder.cleanup()

    def test_exactly_the_six_files_at_the_root_with_the_build_times(self):
        infos = self.archive.infolist()
        self.assertEqual(sorted(i.filename for i in infos), sorted(SHIPPED))
        self.assertIn(f"{os.path.getsize(self.zip_path):,} bytes", self.report)
        for info in infos:
            path = os.path.join(self.bindir, info.filename)
            if info.filename not in PROGRAMS:  # the programs go in stripped: see below
                with open(path, "rb") as f:
                    self.assertEqual(self.archive.read(info), f.read(), info.filename)
            built = time.mktime(time.localtime(os.stat(path).st_mtime))
            stored = time.mktime(info.date_time + (0, 0, -1))
            self.assertLessEqual(abs(built - stored), 2, info.filename)  # zip times have 2 s steps

    def test_programs_are_the_built_ones_stripped_and_small(self):
        total = 0
        for name in PROGRAMS:
            shipped = os.path.join(self.folder.name, name)
            with open(shipped, "wb") as f:
                f.write(self.archive.read(name))
            total += os.path.getsize(shipped)
            sections = objdump("-h", shipped)
            self.assertNotIn(".debug", sections, name)
            self.assertNotRegex(objdump("-t", shipped), r"\[\s*\d+\]", f"{name} has a symbol table")
            # The same code as the program the tests ran.
            self.assertEqual(text_section(sections), text_section(objdump("-h", os.path.join(self.bindir, name))))
        self.assertLess(total, 640 * 1024)

    def test_readme_is_shift_jis_with_crlf(self):
        data = self.archive.read("Readme.txt")
        text = data.decode("cp932")  # strict: fails on anything that is not Shift-JIS
        self.assertTrue(data.endswith(b"\r\n"))
        self.assertNotRegex(data, rb"[^\r]\n|\r[^\n]", "a line end other than CRLF")
        headings = re.findall(r"^■ (\S+)", text, re.M)
        self.assertEqual(headings, ["概要", "動作環境", "内容物", "インストール", "使い方", "アンインストール", "注意", "履歴", "連絡先"])
        history = text.split("■ 履歴")[1].split("■ ")[0]
        self.assertIn("Version 2.02", history)
        contact = text.split("■ 連絡先")[1]
        self.assertIn("mivtra@example.com", contact)
        self.assertIn("https://www.example.com/mivtra/", contact)
        self.assertIn("Mivtra.html", text.split("■ 動作環境")[1].split("■ ")[0])
        for name in SHIPPED:
            self.assertIn(name, text.split("■ 内容物")[1].split("■ ")[0])

    def test_help_and_its_html_copy(self):
        help = hlpreader.read(self.archive.read("Mivtra.hlp"))
        self.assertEqual(help.charset, 128)
        self.assertEqual(help.topic_at(help.contents_offset).title, "Mivtra ヘルプ")
        base, _, entries = hlpreader.read_contents(self.archive.read("Mivtra.cnt"))
        self.assertEqual(base, "Mivtra.hlp")
        self.assertEqual(sorted(e.title for e in entries if e.target), sorted(t.title for t in help.topics))
        page = self.archive.read("Mivtra.html").decode("utf-8")
        self.assertIn('<meta charset="utf-8">', page)
        for topic in help.topics:
            self.assertIn(topic.title, page)


if __name__ == "__main__":
    unittest.main()
