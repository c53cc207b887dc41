"""The help generator: its .hlp read back by an independent reader, its HTML and readme, and
the sources it must refuse."""

import os
import subprocess
import sys
import tempfile
import unittest
from html.parser import HTMLParser

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
MKHELP = os.path.join(ROOT, "tools", "mkhelp")
sys.path.insert(0, MKHELP)
sys.path.insert(0, HERE)

import hlpreader  # noqa: E402
import helpcontents  # noqa: E402
import helphtml  # noqa: E402
import readme  # noqa: E402
import winhelp  # noqa: E402
from helpsource import SourceError, context_hash, parse, plain_text  # noqa: E402

# Characters whose second Shift-JIS byte is "\\", "{" or "}": 表 95 5C, ソ 83 5C, 能 94 5C,
# 構 8D 5C, 本 96 7B, ボ 83 7B, 宮 8B 7B, マ 83 7D. They must come back unchanged.
SAMPLE = """\
@title 試験のヘルプ
= CONTENTS 目次
@keywords 目次; 表
最初の段落です。[[USAGE]] と [[NOTES|注意書き]]
同じ段落の二行目。

== 小見出し
- 箇条一
  箇条一の続き
- 箇条二

= USAGE 表ソ能の使い方
@keywords 使い方; 表
表ソ能 本 ボ マ 構 宮 \\ { }

= NOTES 注意
ASCII only.
"""


def build(text: str) -> bytes:
    return winhelp.build(parse(text, "sample.help"), "sample.help")


class ReadBackTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.help = hlpreader.read(build(SAMPLE))

    def test_system_records(self):
        help = self.help
        self.assertEqual(help.system_minor, 33)
        self.assertEqual(help.system_flags, 0, "uncompressed topics")
        self.assertEqual(help.charset, 128)
        self.assertEqual(help.system[1], "試験のヘルプ".encode("cp932") + b"\0")
        self.assertEqual(help.system[9][8:], b"\x11\x04", "LCID 0x411")
        self.assertEqual(help.contents_offset, help.topics[0].offset)
        self.assertEqual(help.topic_at(help.contents_offset).title, "目次")
        self.assertIn(b"BrowseButtons()\0", help.system[4])
        self.assertEqual({face for *_, face in help.fonts}, {"ＭＳ Ｐゴシック"})
        for name in ("|SYSTEM", "|TOPIC", "|FONT", "|CONTEXT", "|CTXOMAP", "|KWBTREE", "|KWDATA", "|KWMAP", "|TTLBTREE"):
            self.assertIn(name, help.files)

    def test_topics_and_their_text(self):
        help = self.help
        self.assertEqual([t.title for t in help.topics], ["目次", "表ソ能の使い方", "注意"])
        self.assertEqual([t.number for t in help.topics], [0, 1, 2])
        contents, usage, notes = help.topics
        self.assertEqual(
            [p.text for p in contents.paragraphs],
            ["目次", "最初の段落です。表ソ能の使い方 と 注意書き\n同じ段落の二行目。", "小見出し", "・箇条一\n箇条一の続き", "・箇条二"],
        )
        self.assertEqual([p.text for p in usage.paragraphs], ["表ソ能の使い方", "表ソ能 本 ボ マ 構 宮 \\ { }"])
        self.assertEqual([p.text for p in notes.paragraphs], ["注意", "ASCII only."])
        # The title stays on top, in its own font; the subheading in another, the text in a third.
        self.assertEqual([t.nonscrolling for t in help.topics], [1, 1, 1])
        self.assertEqual(len({contents.paragraphs[0].font, contents.paragraphs[2].font, contents.paragraphs[1].font}), 3)
        # Bullets hang: indented, with the first line pulled back (a negative value).
        self.assertEqual((contents.paragraphs[3].values[0x0010], contents.paragraphs[3].values[0x0040]), (24, -24))
        # Browse sequence: the topics in source order.
        self.assertEqual(contents.browse_back, 0xFFFFFFFF)
        self.assertEqual(contents.browse_forward, usage.offset)
        self.assertEqual(usage.browse_back, contents.offset)
        self.assertEqual(notes.browse_forward, 0xFFFFFFFF)

    def test_context_hashes_and_jumps(self):
        help = self.help
        # The viewer's hash of "USAGE" is 0x07B52069 (stored as 69 20 B5 07).
        self.assertIn((0x07B52069, help.topics[1].offset), help.context)
        self.assertEqual(len(help.context), 3)
        jumps = help.topics[0].paragraphs[1].jumps
        self.assertEqual([text for _, text in jumps], ["表ソ能の使い方", "注意書き"])
        self.assertEqual([help.jump_target(h).title for h, _ in jumps], ["表ソ能の使い方", "注意"])

    def test_keyword_index(self):
        help = self.help
        offsets = {t.title: t.offset for t in help.topics}
        self.assertEqual(help.keywords["表"], [offsets["目次"], offsets["表ソ能の使い方"]])
        self.assertEqual(help.keywords["使い方"], [offsets["表ソ能の使い方"]])
        # Every title is an index entry as well.
        for title, offset in offsets.items():
            self.assertIn(offset, help.keywords[title])
        self.assertEqual(sorted(help.titles), sorted((o, t) for t, o in offsets.items()))

    def test_many_topics_span_blocks_and_tree_levels(self):
        # 400 topics of a few hundred bytes: dozens of |TOPIC blocks, records cut by block
        # ends, and a |CONTEXT tree of more than one level.
        lines = []
        for i in range(400):
            lines += [f"= T{i} 項目{i}", f"@keywords 共通; 鍵{i}", "本文" * (i % 97 + 20) + f"[[T{(i + 1) % 400}]]", ""]
        help = hlpreader.read(build("\n".join(lines)))
        self.assertGreater(len(help.files["|TOPIC"]) // 4096, 30)
        levels = int.from_bytes(help.files["|CONTEXT"][32:34], "little")
        self.assertGreater(levels, 1)
        self.assertEqual(len(help.topics), 400)
        for i, topic in enumerate(help.topics):
            self.assertEqual(topic.title, f"項目{i}")
            self.assertEqual(topic.paragraphs[1].text, "本文" * (i % 97 + 20) + f"項目{(i + 1) % 400}")
            (target, _), = topic.paragraphs[1].jumps
            self.assertEqual(help.jump_target(target).title, f"項目{(i + 1) % 400}")
        self.assertEqual(len(help.keywords["共通"]), 400)

    def test_shipped_help_reads_back_as_its_source(self):
        path = os.path.join(ROOT, "help", "mivtra.help")
        with open(path, encoding="utf-8") as f:
            source = parse(f.read(), path)
        help = hlpreader.read(winhelp.build(source, path))
        self.assertEqual(help.charset, 128)
        self.assertEqual([t.title for t in help.topics], [t.title for t in source.topics])
        self.assertEqual(help.topic_at(help.contents_offset).title, source.topics[0].title)
        for topic, read in zip(source.topics, help.topics):
            expected = [topic.title] + [("・" if p.style == "bullet" else "") + plain_text(p) for p in topic.paragraphs]
            self.assertEqual([p.text for p in read.paragraphs], expected, topic.id)
            for paragraph in read.paragraphs:
                for target, _ in paragraph.jumps:
                    help.jump_target(target)
            for keyword in topic.keywords:
                self.assertIn(read.offset, help.keywords[keyword])
        # The contents file lists every topic once, in order, under its area.
        _, _, entries = hlpreader.read_contents(helpcontents.build(source, "Mivtra.hlp"))
        self.assertEqual([e.target for e in entries if e.target], [t.id for t in source.topics])


class ContentsFileTest(unittest.TestCase):
    def test_areas_become_headings_and_every_topic_jumps_into_the_help_file(self):
        text = "= TOP 目次\n本文\n\n@area 使い方\n= USAGE 表ソ能の使い方\n\n= MORE もっと\n\n@area 注意\n= NOTES 注意\n"
        source = parse(text, "sample.help")
        help = hlpreader.read(winhelp.build(source, "sample.help"))
        base, title, entries = hlpreader.read_contents(helpcontents.build(source, "Sample.hlp"))
        self.assertEqual((base, title), ("Sample.hlp", "目次"))
        self.assertEqual(
            [(e.level, e.title, e.target) for e in entries],
            [(1, "目次", "TOP"), (1, "使い方", None), (2, "表ソ能の使い方", "USAGE"), (2, "もっと", "MORE"),
             (1, "注意", None), (2, "注意", "NOTES")],
        )
        for entry in entries:
            if entry.target:
                self.assertEqual(help.jump_target(context_hash(entry.target)).title, entry.title)


class MalformedSourceTest(unittest.TestCase):
    def assertRefused(self, text: str, line: int, *words: str):
        with self.assertRaises(SourceError) as caught:
            build(text)
        message = str(caught.exception)
        self.assertTrue(message.startswith(f"sample.help:{line}: "), message)
        for word in words:
            self.assertIn(word, message)

    def test_unknown_jump_target_names_its_line(self):
        self.assertRefused("= A 一\nテキスト\n\n= B 二\nここから [[MISSING]] へ\n", 5, "unknown jump target", "MISSING")

    def test_duplicate_topic_names_both_lines(self):
        self.assertRefused("= MAIN 一\n本文\n\n= main 二\n", 4, "duplicate topic", "main", "line 1")

    def test_other_faults(self):
        cases = [
            ("本文だけ\n", 1, "before the first topic"),
            ("= A 一\n@keywords ok\n@colour red\n", 3, "unknown directive"),
            ("= A-B 一\n", 1, "may hold only"),
            ("= A\n", 1, "no title"),
            ("= A 一\n[[A\n", 2, "closing"),
            ("= A 一\n丸の①は通るが♥は通らない\n", 2, "no Shift-JIS form"),
            ("= A 一\n@title 後から\n", 2, "@title"),
            ("= A 一\n@area\n", 2, "@area without a heading"),
            ("# 空\n", 1, "no topics"),
            ("= A " + "長" * 64 + "\n", 1, "longer than 127 bytes"),
            ("= A 一\n\n" + "あ" * 2100 + "\n", 3, "at most 4084 fit"),
        ]
        for text, line, words in cases:
            with self.subTest(text=text):
                self.assertRefused(text, line, words)

    def test_command_line_reports_the_line_and_writes_nothing(self):
        with tempfile.TemporaryDirectory() as folder:
            source = os.path.join(folder, "bad.help")
            with open(source, "w", encoding="utf-8") as f:
                f.write("= A 一\n\n= B 二\n[[NOWHERE]]\n")
            hlp, cnt, html = (os.path.join(folder, "x." + ext) for ext in ("hlp", "cnt", "html"))
            result = subprocess.run(
                [sys.executable, os.path.join(MKHELP, "mkhelp.py"), "help", source, "--hlp", hlp, "--cnt", cnt,
                 "--html", html],
                capture_output=True,
                text=True,
            )
            self.assertEqual(result.returncode, 1)
            self.assertEqual(result.stderr.strip(), f"{source}:4: unknown jump target 'NOWHERE'")
            self.assertEqual(sorted(os.listdir(folder)), ["bad.help"])


class _Anchors(HTMLParser):
    def __init__(self):
        super().__init__()
        self.ids, self.links, self.charset = set(), [], None

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if "id" in attrs:
            self.ids.add(attrs["id"])
        if tag == "a":
            self.links.append(attrs["href"])
        if tag == "meta" and "charset" in attrs:
            self.charset = attrs["charset"]


class HtmlAndReadmeTest(unittest.TestCase):
    def test_html_declares_utf8_and_every_link_lands(self):
        page = helphtml.build(parse(SAMPLE, "sample.help"))
        anchors = _Anchors()
        anchors.feed(page.decode("utf-8"))
        self.assertEqual(anchors.charset, "utf-8")
        self.assertTrue(anchors.links)
        for link in anchors.links:
            self.assertIn(link.lstrip("#"), anchors.ids)
        self.assertIn("表ソ能 本 ボ マ 構 宮 \\ { }", page.decode("utf-8"))

    def test_readme_is_shift_jis_with_crlf_and_the_shared_addresses(self):
        values = readme.read_contact(os.path.join(ROOT, "resources", "contact.h"))
        values["VERSION"] = "2.02"
        data = readme.build("■ 連絡先\n  @MAIL@\n  @HOMEPAGE@\n\n表ソ能 @VERSION@\n", values)
        self.assertEqual(data.count(b"\r\n"), 5)
        self.assertNotIn(b"\n", data.replace(b"\r\n", b""))
        self.assertEqual(
            data.decode("cp932"),
            "■ 連絡先\r\n  mivtra@example.com\r\n  https://www.example.com/mivtra/\r\n\r\n表ソ能 2.02\r\n",
        )
        with self.assertRaises(SourceError) as caught:
            readme.build("ok\n@MAIL@ @PHONE@\n", values, "Readme.txt.in")
        self.assertEqual(str(caught.exception), "Readme.txt.in:2: unknown placeholder @PHONE@")


if __name__ == "__main__":
    unittest.main()
