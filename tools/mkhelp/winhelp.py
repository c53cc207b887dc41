"""Writes a help source as a WinHelp 4 file (.hlp): uncompressed topics in Shift-JIS.

The file holds the internal files |SYSTEM (title, contents topic, browse buttons, Japanese
locale and character set), |FONT, |TOPIC (one topic header and one text record per
paragraph, the title in the non-scrolling region), |CONTEXT (context id hashes), |TTLBTREE
(titles), an empty |CTXOMAP, and |KWBTREE, |KWDATA and |KWMAP (the keyword index), in a
directory B+ tree.
"""

import struct
from dataclasses import dataclass
from typing import Dict, List, Optional, Sequence, Tuple

from helpsource import ENCODING, HelpSource, Jump, Paragraph, SourceError, context_hash

FACE = "ＭＳ Ｐゴシック"
SHIFTJIS_CHARSET = 128
JAPANESE_LCID = 0x0411

# Font descriptors: attributes (1 bold), size in half-points, family (3 swiss), colour.
FONT_BODY, FONT_TITLE, FONT_HEADING = 0, 1, 2
_FONTS = [(0, 20, 3, (0, 0, 0)), (1, 28, 3, (0, 0, 128)), (1, 22, 3, (0, 0, 128))]

# Paragraph layout in half-points: space above, space below, left indent, first-line indent.
_LAYOUT = {
    "title": (0, 12, 0, 0),
    "heading": (8, 4, 0, 0),
    "body": (0, 8, 0, 0),
    "bullet": (0, 2, 24, -24),
    "last bullet": (0, 8, 24, -24),
}
_BULLET = "・"

BLOCK_SIZE = 4096
BLOCK_HEADER = 12
BLOCK_DATA = BLOCK_SIZE - BLOCK_HEADER
LINK_HEADER = 21
NONE = 0xFFFFFFFF

# Text record commands.
CMD_FONT, CMD_LINE, CMD_PARAGRAPH, CMD_JUMP, CMD_HOTSPOT_END, CMD_END = 0x80, 0x81, 0x82, 0xE3, 0x89, 0xFF


def _cushort(v: int) -> bytes:
    return bytes([v * 2]) if v < 0x80 else struct.pack("<H", v * 2 + 1)


def _csshort(v: int) -> bytes:
    # The long form is chosen by the signed range: the biased value would fit the short
    # form of the unsigned rule and decode wrong.
    return bytes([(v + 0x40) * 2]) if -0x40 <= v < 0x40 else struct.pack("<H", (v + 0x4000) * 2 + 1)


def _cslong(v: int) -> bytes:
    if -0x4000 <= v < 0x4000:
        return struct.pack("<H", (v + 0x4000) * 2)
    return struct.pack("<I", (v + 0x40000000) * 2 + 1)


def _encode(text: str) -> bytes:
    return text.encode(ENCODING)


# --- |TOPIC -----------------------------------------------------------------------------


@dataclass
class _Record:
    kind: int  # 2 topic header, 0x20 text
    data1: bytes
    data2: bytes
    line: int
    topic: int = -1
    pos: int = 0  # TOPICPOS
    offset: int = 0  # TOPICOFFSET

    @property
    def size(self) -> int:
        return LINK_HEADER + len(self.data1) + len(self.data2)


def _text_record(style: str, font: int, lines: Sequence[Sequence[Tuple[bytes, Optional[int]]]], line: int) -> _Record:
    """One paragraph: lines of (text, jump hash or None) pieces, in one font and layout."""
    above, below, left, first = _LAYOUT[style]
    bits, values = 0, b""
    for bit, value in ((0x0002, above), (0x0004, below), (0x0010, left), (0x0040, first)):
        if value:
            bits |= bit
            values += _csshort(value)
    # LinkData2 holds the strings, each ended by a NUL where a command follows; the viewer
    # prints a string, runs the next command, prints the next string, and so on.
    strings, commands, pending = b"", b"", b""

    def command(code: bytes):
        nonlocal strings, commands, pending
        strings += pending + b"\0"
        commands += code
        pending = b""

    command(bytes([CMD_FONT]) + struct.pack("<H", font))
    for index, pieces in enumerate(lines):
        if index:
            command(bytes([CMD_LINE]))
        for text, jump in pieces:
            if jump is None:
                pending += text
            else:
                command(bytes([CMD_JUMP]) + struct.pack("<I", jump))
                pending += text
                command(bytes([CMD_HOTSPOT_END]))
    command(bytes([CMD_PARAGRAPH]))
    command(bytes([CMD_END]))
    formatting = b"\x00\x80\x00\x00" + struct.pack("<H", bits) + values + commands
    data1 = _cslong(len(formatting)) + _cushort(len(strings)) + formatting
    return _Record(0x20, data1, strings, line)


def _paragraph_record(paragraph: Paragraph, next_style: Optional[str]) -> _Record:
    lines = []
    for number, spans in enumerate(paragraph.lines):
        pieces = []
        if paragraph.style == "bullet" and number == 0:
            pieces.append((_encode(_BULLET), None))
        for span in spans:
            jump = context_hash(span.target) if isinstance(span, Jump) else None
            pieces.append((_encode(span.text), jump))
        lines.append(pieces)
    font = FONT_HEADING if paragraph.style == "heading" else FONT_BODY
    # A list keeps its items close and leaves a paragraph's space after its last one.
    layout = "last bullet" if paragraph.style == "bullet" and next_style != "bullet" else paragraph.style
    return _text_record(layout, font, lines, paragraph.line)


def _topic_records(source: HelpSource) -> List[_Record]:
    records = []
    for number, topic in enumerate(source.topics):
        header = _Record(2, b"", _encode(topic.title), topic.line, number)
        records.append(header)
        # The title leads the topic's text, as a heading in a larger font.
        title = _text_record("title", FONT_TITLE, [[(_encode(topic.title), None)]], topic.line)
        styles = [p.style for p in topic.paragraphs[1:]] + [None]
        for record in [title] + [_paragraph_record(p, n) for p, n in zip(topic.paragraphs, styles)]:
            record.topic = number
            records.append(record)
    # Help compilers end the topics with an empty header; the last topic's "next" points to it.
    records.append(_Record(2, b"", b"", 0, len(source.topics)))
    return records


def _place(records: List[_Record], path: str):
    """Gives each record its TOPICPOS (block * 0x4000 + 12 + byte in the block's data) and
    TOPICOFFSET (block * 0x8000 + LinkData2 bytes of the block's text records before it)."""
    pos, block, n = BLOCK_HEADER, 0, 0
    for record in records:
        if record.size > BLOCK_DATA:
            raise SourceError(path, record.line, f"paragraph of {record.size} bytes: at most {BLOCK_DATA} fit")
        # A record's header and LinkData1 must sit in one block; LinkData2 may run on.
        if BLOCK_SIZE - pos < LINK_HEADER + len(record.data1):
            block, pos, n = block + 1, BLOCK_HEADER, 0
        record.pos = block * 0x4000 + pos
        record.offset = block * 0x8000 + n
        if record.kind == 0x20:
            n += len(record.data2)
        pos += record.size
        while pos > BLOCK_SIZE:
            block, pos, n = block + 1, pos - BLOCK_DATA, 0


def _topic_file(source: HelpSource, path: str) -> Tuple[bytes, List[int]]:
    """|TOPIC and the TOPICOFFSET of every topic."""
    records = _topic_records(source)
    headers = [r for r in records if r.kind == 2]
    # A header's LinkData1 (28 bytes) points at records placed after it: place first.
    for header in headers:
        header.data1 = bytes(28)
    _place(records, path)
    topic_offsets = [h.offset for h in headers[:-1]]
    for index, header in enumerate(headers[:-1]):
        texts = [r for r in records if r.kind == 0x20 and r.topic == index]
        header.data1 = struct.pack(
            "<7I",
            sum(r.size for r in texts),
            topic_offsets[index - 1] if index else NONE,  # browse back
            topic_offsets[index + 1] if index + 1 < len(topic_offsets) else NONE,  # browse forward
            index,
            texts[0].pos,  # the title stays on top: the non-scrolling region
            texts[1].pos if len(texts) > 1 else NONE,  # the scrolling region, the rest
            headers[index + 1].pos,
        )
    headers[-1].data1 = struct.pack("<7I", 0, NONE, NONE, len(headers) - 1, NONE, NONE, NONE)

    # The records as one stream of block data, then cut into blocks behind their headers.
    stream = bytearray()
    for index, record in enumerate(records):
        block, within = divmod(record.pos, 0x4000)
        stream.extend(bytes(block * BLOCK_DATA + within - BLOCK_HEADER - len(stream)))
        previous = records[index - 1].pos if index else NONE
        following = records[index + 1].pos if index + 1 < len(records) else NONE
        stream += struct.pack(
            "<IIIIIB", record.size, len(record.data2), previous, following, LINK_HEADER + len(record.data1), record.kind
        )
        stream += record.data1 + record.data2
    blocks = -(-len(stream) // BLOCK_DATA)
    # Whole blocks only: the viewer copies every block in full.
    stream.extend(bytes(blocks * BLOCK_DATA - len(stream)))

    out = bytearray()
    for block in range(blocks):
        earlier = [r for r in records if r.pos // 0x4000 < block]
        here = [r for r in records if r.pos // 0x4000 == block]
        earlier_headers = [r for r in earlier if r.kind == 2]
        out += struct.pack(
            "<III",
            earlier[-1].pos if earlier else NONE,
            here[0].pos if here else NONE,
            earlier_headers[-1].pos if earlier_headers else 0,
        )
        out += stream[block * BLOCK_DATA : (block + 1) * BLOCK_DATA]
    return bytes(out), topic_offsets


# --- B+ trees -----------------------------------------------------------------------------


@dataclass
class _Tree:
    data: bytes
    leaves: List[Tuple[int, int]]  # page number and the number of its first entry, per leaf


def _btree(structure: str, flags: int, page_size: int, entries: Sequence[bytes], keys: Sequence[bytes]) -> _Tree:
    """A B+ tree of sorted leaf entries; keys[i] is the index key of entries[i]. The leaves
    come first, each index level after them, the root last."""
    leaf_room = page_size - 8
    runs: List[Tuple[int, int]] = []  # first entry, end, per leaf
    first, used = 0, 0
    for index, entry in enumerate(entries):
        if len(entry) > leaf_room:
            raise ValueError("a B+ tree entry larger than a page")
        if used + len(entry) > leaf_room:
            runs.append((first, index))
            first, used = index, 0
        used += len(entry)
    runs.append((first, len(entries)))

    pages: List[bytes] = []
    for number, (start, end) in enumerate(runs):
        body = b"".join(entries[start:end])
        previous = number - 1 if number else -1
        following = number + 1 if number + 1 < len(runs) else -1
        header = struct.pack("<HHhh", leaf_room - len(body), end - start, previous, following)
        pages.append(header + body + bytes(leaf_room - len(body)))
    leaves = [(number, start) for number, (start, _) in enumerate(runs)]

    # Index pages: the first child, then (first key of the child, child) for the others.
    level = [(number, keys[start] if start < len(keys) else b"") for number, start in leaves]
    levels = 1
    index_room = page_size - 6
    while len(level) > 1:
        upper: List[Tuple[int, bytes]] = []
        i = 0
        while i < len(level):
            first_child, first_key = level[i]
            body, count = b"", 0
            i += 1
            while i < len(level) and len(body) + len(level[i][1]) + 2 <= index_room:
                body += level[i][1] + struct.pack("<H", level[i][0])
                count += 1
                i += 1
            upper.append((len(pages), first_key))
            header = struct.pack("<HHh", index_room - len(body), count, first_child)
            pages.append(header + body + bytes(index_room - len(body)))
        level = upper
        levels += 1
    header = struct.pack(
        "<HHH16sHHHHHHI", 0x293B, flags, page_size, structure.encode("ascii"), 0,
        len(pages) - levels, level[0][0], 0xFFFF, len(pages), levels, len(entries),
    )
    return _Tree(header + b"".join(pages), leaves)


def _signed(value: int) -> int:
    return value - 0x100000000 if value & 0x80000000 else value


def _context_tree(source: HelpSource, offsets: List[int]) -> bytes:
    # Sorted as signed numbers: the viewer compares the hashes as signed 32-bit values.
    pairs = sorted(((context_hash(t.id), o) for t, o in zip(source.topics, offsets)), key=lambda p: _signed(p[0]))
    entries = [struct.pack("<II", h, o) for h, o in pairs]
    return _btree("L4", 0x0002, 0x0800, entries, [struct.pack("<I", h) for h, _ in pairs]).data


def _title_tree(source: HelpSource, offsets: List[int]) -> bytes:
    pairs = sorted(zip(offsets, (_encode(t.title) for t in source.topics)))
    entries = [struct.pack("<I", o) + title + b"\0" for o, title in pairs]
    return _btree("Lz", 0x0002, 0x0800, entries, [struct.pack("<I", o) for o, _ in pairs]).data


def _keyword_files(source: HelpSource, offsets: List[int]) -> Dict[str, bytes]:
    """|KWBTREE (keyword, count, where its run starts in |KWDATA), |KWDATA (the runs of
    topic offsets) and |KWMAP (each leaf's first keyword number and page)."""
    keywords: Dict[bytes, List[int]] = {}
    for topic, offset in zip(source.topics, offsets):
        for keyword in topic.keywords:
            keywords.setdefault(_encode(keyword), []).append(offset)
    data, entries, keys = b"", [], []
    for keyword in sorted(keywords):
        entries.append(keyword + b"\0" + struct.pack("<HI", len(keywords[keyword]), len(data)))
        keys.append(keyword + b"\0")
        data += b"".join(struct.pack("<I", o) for o in keywords[keyword])
    tree = _btree("F24", 0x0002, 0x0800, entries, keys)
    kwmap = struct.pack("<H", len(tree.leaves)) + b"".join(struct.pack("<IH", f, n) for n, f in tree.leaves)
    return {"|KWBTREE": tree.data, "|KWDATA": data, "|KWMAP": kwmap}


# --- |SYSTEM and |FONT ---------------------------------------------------------------------


def _system_file(source: HelpSource, contents_offset: int, date: int) -> bytes:
    def record(kind: int, data: bytes) -> bytes:
        return struct.pack("<HH", kind, len(data)) + data

    out = struct.pack("<HHHIH", 0x036C, 33, 1, date, 0)  # WinHelp 4.0, uncompressed topics
    out += record(1, _encode(source.title) + b"\0")
    out += record(3, struct.pack("<I", contents_offset))
    out += record(4, b"BrowseButtons()\0")
    out += record(9, bytes(8) + struct.pack("<H", JAPANESE_LCID))
    out += record(11, struct.pack("<H", SHIFTJIS_CHARSET))
    out += record(12, bytes([10, SHIFTJIS_CHARSET]) + _encode(FACE) + b"\0")
    return out


def _font_file() -> bytes:
    faces = [_encode(FACE)]
    out = struct.pack("<HHHH", len(faces), len(_FONTS), 8, 8 + 32 * len(faces))
    for face in faces:
        out += face[:31].ljust(32, b"\0")
    for attributes, size, family, (r, g, b) in _FONTS:
        out += struct.pack("<BBBHBBBBBB", attributes, size, family, 0, r, g, b, 0, 0, 0)
    return out


# --- The container ---------------------------------------------------------------------------


def _container(files: Dict[str, bytes]) -> bytes:
    out = bytearray(16)
    offsets = {}
    for name in sorted(files, key=lambda n: n.encode("ascii")):
        offsets[name] = len(out)
        data = files[name]
        out += struct.pack("<IIB", len(data) + 9, len(data), 0) + data
    names = sorted(offsets, key=lambda n: n.encode("ascii"))
    entries = [n.encode("ascii") + b"\0" + struct.pack("<I", offsets[n]) for n in names]
    directory = _btree("z4", 0x0402, 0x0400, entries, [n.encode("ascii") + b"\0" for n in names]).data
    directory_offset = len(out)
    out += struct.pack("<IIB", len(directory) + 9, len(directory), 4) + directory
    struct.pack_into("<IIII", out, 0, 0x00035F3F, directory_offset, NONE, len(out))
    return bytes(out)


def build(source: HelpSource, path: str = "<help source>", date: int = 0) -> bytes:
    """The .hlp file of a help source; `path` names the source in errors."""
    topic, offsets = _topic_file(source, path)
    files = {
        "|SYSTEM": _system_file(source, offsets[0], date),
        "|FONT": _font_file(),
        "|TOPIC": topic,
        "|CONTEXT": _context_tree(source, offsets),
        "|TTLBTREE": _title_tree(source, offsets),
        # No numeric help contexts: an empty map, as help compilers write it.
        "|CTXOMAP": struct.pack("<H", 0),
    }
    if any(t.keywords for t in source.topics):
        files.update(_keyword_files(source, offsets))
    return _container(files)
