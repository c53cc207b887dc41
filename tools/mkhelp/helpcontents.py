"""Writes the contents file (.cnt) that the WinHelp 4 viewer reads from beside the .hlp to build
the Contents tab of its Help Topics window: Shift-JIS text with CRLF line ends.

    :Base Mivtra.hlp              the help file the entries jump into
    :Title Mivtra ヘルプ          the title of the Help Topics window
    1 Mivtra ヘルプ=CONTENTS      a topic before the first area: on the top level
    1 はじめに                    an area (a book), from "@area はじめに" in the source
    2 Mivtra とは=OVERVIEW        a topic of that area: its title, "=", its context id
"""

from helpsource import ENCODING, HelpSource


def build(source: HelpSource, hlp_name: str) -> bytes:
    lines = [f":Base {hlp_name}", f":Title {source.title}"]
    area = None
    for topic in source.topics:
        if topic.area is not None and topic.area != area:
            area = topic.area
            lines.append(f"1 {area}")
        level = 1 if topic.area is None else 2
        lines.append(f"{level} {topic.title}={topic.id}")
    return "".join(line + "\r\n" for line in lines).encode(ENCODING)
