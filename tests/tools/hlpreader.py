"""Reads a WinHelp 4 file back, for the tests: written from the file format, not from the
writer, and strict, so that a slip of the writer fails loudly instead of reading back."""

import struct
from dataclasses import dataclass, field
from typing import Dict, List, Optional, Tuple


class FormatError(Exception):
    pass


def _check(condition: bool, message: str):
    if not condition:
        raise FormatError(message)


class _Cursor:
    """Reads the compressed integers the way the viewer does."""

    def __init__(self, data: bytes, at: int = 0):
        self.data, self.at = data, at

    def byte(self) -> int:
        value = self.data[self.at]
        self.at += 1
        return value

    def u16(self) -> int:
        value = struct.unpack_from("<H", self.data, self.at)[0]
        self.at += 2
        return value

    def u32(self) -> int:
        value = struct.unpack_from("<I", self.data, self.at)[0]
        self.at += 4
        return value

    def cushort(self) -> int:
        return self.u16() // 2 if self.data[self.at] & 1 else self.byte() // 2

    def csshort(self) -> int:
        return (self.u16() - 0x8000) // 2 if self.data[self.at] & 1 else (self.byte() - 0x80) // 2

    def cslong(self) -> int:
        if self.data[self.at] & 1:
            return (self.u32() - 0x80000000) // 2
        return (self.u16() - 0x8000) // 2


def _btree_entries(data: bytes, read_entry, read_key) -> List[tuple]:
    """All leaf entries of a B+ tree, found from the root down through the index pages."""
    magic, _flags, page_size, structure = struct.unpack_from("<HHH16s", data, 0)
    _check(magic == 0x293B, f"B+ tree magic {magic:#x}")
    root, _, total_pages, levels, total = struct.unpack_from("<HHHHI", data, 26)
    pages = data[38:]
    _check(len(pages) >= total_pages * page_size, "B+ tree shorter than its pages")

    def page(number: int) -> bytes:
        _check(number < total_pages, f"page {number} of {total_pages}")
        return pages[number * page_size : (number + 1) * page_size]

    # Down the first children to the first leaf, checking every index page on the way.
    number = root
    for _ in range(levels - 1):
        index = page(number)
        count = struct.unpack_from("<H", index, 2)[0]
        first = struct.unpack_from("<h", index, 4)[0]
        at = 6
        for _ in range(count):
            _, at = read_key(index, at)
            at += 2
        number = first
    entries: List[tuple] = []
    previous = -1
    while number != -1:
        leaf = page(number)
        count, back, following = struct.unpack_from("<Hhh", leaf, 2)
        _check(back == previous, f"leaf {number} points back to {back}, not {previous}")
        at = 8
        for _ in range(count):
            entry, at = read_entry(leaf, at)
            entries.append(entry)
        _check(at <= page_size, "leaf entries overrun the page")
        previous, number = number, following
    _check(len(entries) == total, f"{len(entries)} entries in the leaves, header says {total}")
    return entries


def _stringz(data: bytes, at: int) -> Tuple[bytes, int]:
    end = data.index(b"\0", at)
    return data[at:end], end + 1


@dataclass
class Paragraph:
    text: str  # lines joined by "\n"
    font: int
    jumps: List[Tuple[int, str]]  # context hash and the jump's text
    bits: int
    values: Dict[int, int]


@dataclass
class Topic:
    title: str
    offset: int  # TOPICOFFSET
    number: int
    browse_back: int
    browse_forward: int
    paragraphs: List[Paragraph] = field(default_factory=list)
    nonscrolling: int = 0  # how many paragraphs stay on top


@dataclass
class HelpFile:
    files: Dict[str, bytes]
    system: Dict[int, bytes]
    system_minor: int
    system_flags: int
    fonts: List[Tuple[int, int, int, str]]  # attributes, half-points, family, face
    topics: List[Topic]
    context: List[Tuple[int, int]]  # (hash, TOPICOFFSET) in stored order
    keywords: Dict[str, List[int]]
    titles: List[Tuple[int, str]]

    @property
    def charset(self) -> int:
        return struct.unpack("<H", self.system[11])[0]

    @property
    def contents_offset(self) -> int:
        return struct.unpack("<I", self.system[3])[0]

    def jump_target(self, context_hash: int) -> Topic:
        """The topic a jump leads to, looked up in |CONTEXT as the viewer does."""
        offsets = [o for h, o in self.context if h == context_hash]
        _check(len(offsets) == 1, f"{len(offsets)} |CONTEXT entries for hash {context_hash:#x}")
        return self.topic_at(offsets[0])

    def topic_at(self, offset: int) -> Topic:
        for topic in self.topics:
            if topic.offset == offset:
                return topic
        raise FormatError(f"no topic at offset {offset:#x}")


def _directory(data: bytes) -> Dict[str, bytes]:
    magic, directory_at, _free, size = struct.unpack_from("<IIII", data, 0)
    _check(magic == 0x00035F3F, f"file magic {magic:#x}")
    _check(size == len(data), f"header says {size} bytes, file has {len(data)}")

    def internal(at: int) -> bytes:
        reserved, used, _flags = struct.unpack_from("<IIB", data, at)
        _check(reserved >= used + 9 and at + reserved <= len(data), f"internal file at {at} does not fit")
        return data[at + 9 : at + 9 + used]

    def entry(page: bytes, at: int):
        name, at = _stringz(page, at)
        return (name.decode("ascii"), struct.unpack_from("<I", page, at)[0]), at + 4

    entries = _btree_entries(internal(directory_at), entry, _stringz)
    names = [n for n, _ in entries]
    _check(names == sorted(names, key=lambda n: n.encode("ascii")), "directory not sorted")
    return {name: internal(at) for name, at in entries}


def _system(data: bytes) -> Tuple[int, int, Dict[int, bytes]]:
    magic, minor, major, _date, flags = struct.unpack_from("<HHHIH", data, 0)
    _check(magic == 0x036C and major == 1, "|SYSTEM header")
    records, at = {}, 12
    while at < len(data):
        kind, size = struct.unpack_from("<HH", data, at)
        if kind != 4:  # macros may repeat
            _check(kind not in records, f"|SYSTEM record {kind} twice")
        records.setdefault(kind, data[at + 4 : at + 4 + size])
        at += 4 + size
    _check(at == len(data), "|SYSTEM records overrun")
    return minor, flags, records


def _fonts(data: bytes, encoding: str) -> List[Tuple[int, int, int, str]]:
    faces, descriptors, faces_at, descriptors_at = struct.unpack_from("<HHHH", data, 0)
    _check(faces_at < 12, "multimedia font format")
    width = (descriptors_at - faces_at) // faces
    names = [data[faces_at + i * width : faces_at + (i + 1) * width].split(b"\0")[0].decode(encoding) for i in range(faces)]
    out = []
    for i in range(descriptors):
        attributes, size, family, face = struct.unpack_from("<BBBH", data, descriptors_at + i * 11)
        _check(face < faces, "font descriptor names no face")
        out.append((attributes, size, family, names[face]))
    return out


def _topics(data: bytes, encoding: str) -> List[Topic]:
    _check(len(data) % 4096 == 0, "|TOPIC is not whole 4096-byte blocks")
    blocks = len(data) // 4096
    stream = b"".join(data[b * 4096 + 12 : (b + 1) * 4096] for b in range(blocks))

    def at(pos: int) -> int:  # TOPICPOS to an index into the stream
        block, within = divmod(pos, 0x4000)
        _check(within >= 12 and block < blocks, f"TOPICPOS {pos:#x}")
        return block * 4084 + within - 12

    topics: List[Topic] = []
    regions: List[Tuple[int, int]] = []
    pos, previous = 12, 0xFFFFFFFF
    block_of_n, n = 0, 0
    starts: Dict[int, int] = {}
    while pos != 0xFFFFFFFF:
        i = at(pos)
        block = pos // 0x4000
        starts.setdefault(block, pos)
        if block != block_of_n:
            block_of_n, n = block, 0
        size, length2, back, following, length1, kind = struct.unpack_from("<IIIIIB", stream, i)
        _check(back == previous, f"record {pos:#x} points back to {back:#x}")
        _check(size == length1 + length2, f"record {pos:#x}: sizes disagree")
        _check(i // 4084 == (i + length1 - 1) // 4084, f"record {pos:#x}: header and LinkData1 span blocks")
        data1 = stream[i + 21 : i + length1]
        data2 = stream[i + length1 : i + size]
        if kind == 2:
            title = data2.split(b"\0")[0].decode(encoding)
            _, back_offset, forward_offset, number, nonscroll, scroll, _ = struct.unpack_from("<7I", data1, 0)
            # Compilers end the topics with an empty one: no title, no regions.
            if title or nonscroll != 0xFFFFFFFF or scroll != 0xFFFFFFFF:
                topics.append(Topic(title, block * 0x8000 + n, number, back_offset, forward_offset))
                regions.append((nonscroll, scroll))
        elif kind == 0x20:
            _check(bool(topics), "text before the first topic")
            nonscroll, scroll = regions[-1]
            if not topics[-1].paragraphs:
                _check(pos in (nonscroll, scroll), f"topic {topics[-1].title}: its regions do not start at its text")
            if pos == scroll:
                topics[-1].nonscrolling = len(topics[-1].paragraphs)
            topics[-1].paragraphs.extend(_text(data1, data2, encoding))
            n += length2
        else:
            raise FormatError(f"record type {kind:#x}")
        previous, pos = pos, following
    # Every block's header names the first record that starts in it.
    for block in range(blocks):
        first = struct.unpack_from("<I", data, block * 4096 + 4)[0]
        _check(first == starts.get(block, 0xFFFFFFFF), f"block {block} names {first:#x} as its first record")
    return topics


def _text(data1: bytes, data2: bytes, encoding: str) -> List[Paragraph]:
    cursor = _Cursor(data1)
    topic_size = cursor.cslong()
    topic_length = cursor.cushort()
    _check(topic_size == len(data1) - cursor.at, "TopicSize")
    _check(topic_length == len(data2), "TopicLength")
    cursor.at += 4
    bits = cursor.u16()
    values = {}
    for bit in (0x0001, 0x0002, 0x0004, 0x0008, 0x0010, 0x0020, 0x0040):
        if bits & bit:
            values[bit] = cursor.cslong() if bit == 0x0001 else cursor.csshort()
    _check(not bits & 0x0300, "borders or tabs")
    strings = data2.split(b"\0")
    _check(strings[-1] == b"", "LinkData2 does not end with a NUL")
    strings = strings[:-1]
    paragraphs: List[Paragraph] = []
    text, jumps, font, jump = "", [], -1, None
    for index, string in enumerate(strings):
        piece = string.decode(encoding)
        text += piece
        if jump is not None:
            jump[1] += piece
        code = cursor.byte()
        if code == 0x80:
            font = cursor.u16()
        elif code == 0x81:
            text += "\n"
        elif code == 0x82:
            paragraphs.append(Paragraph(text, font, jumps, bits, values))
            text, jumps = "", []
        elif code == 0xE3:
            _check(jump is None, "a jump inside a jump")
            jump = [cursor.u32(), ""]
        elif code == 0x89:
            _check(jump is not None, "hotspot end without a jump")
            jumps.append((jump[0], jump[1]))
            jump = None
        elif code == 0xFF:
            _check(index == len(strings) - 1, "strings after the end of the record")
        else:
            raise FormatError(f"command {code:#x}")
    _check(cursor.at == len(data1), "commands left after the end of the record")
    _check(not text and jump is None, "text after the last paragraph end")
    return paragraphs


def read(data: bytes, encoding: str = "cp932") -> HelpFile:
    files = _directory(data)
    minor, flags, system = _system(files["|SYSTEM"])

    def context_entry(page, at):
        return struct.unpack_from("<II", page, at), at + 8

    def title_entry(page, at):
        offset = struct.unpack_from("<I", page, at)[0]
        title, at = _stringz(page, at + 4)
        return (offset, title.decode(encoding)), at

    def keyword_entry(page, at):
        keyword, at = _stringz(page, at)
        count, where = struct.unpack_from("<HI", page, at)
        return (keyword, count, where), at + 6

    def long_key(page, at):
        return page[at : at + 4], at + 4

    keywords: Dict[str, List[int]] = {}
    if "|KWBTREE" in files:
        kwdata = files["|KWDATA"]
        entries = _btree_entries(files["|KWBTREE"], keyword_entry, _stringz)
        _check([k for k, _, _ in entries] == sorted(k for k, _, _ in entries), "keywords not sorted")
        for keyword, count, where in entries:
            keywords[keyword.decode(encoding)] = list(struct.unpack_from(f"<{count}I", kwdata, where))
        leaves = struct.unpack_from("<H", files["|KWMAP"], 0)[0]
        _check(leaves >= 1 and len(files["|KWMAP"]) == 2 + 6 * leaves, "|KWMAP size")
    context = _btree_entries(files["|CONTEXT"], context_entry, long_key)
    signed = [struct.unpack("<i", struct.pack("<I", h))[0] for h, _ in context]
    _check(signed == sorted(signed), "|CONTEXT not sorted as signed hashes")
    return HelpFile(
        files,
        system,
        minor,
        flags,
        _fonts(files["|FONT"], encoding),
        _topics(files["|TOPIC"], encoding),
        context,
        keywords,
        _btree_entries(files["|TTLBTREE"], title_entry, long_key) if "|TTLBTREE" in files else [],
    )



@dataclass
class ContentsEntry:
    level: int
    title: str
    target: Optional[str]  # the topic's context id; None for a heading


def read_contents(data: bytes, encoding: str = "cp932") -> Tuple[str, str, List[ContentsEntry]]:
    """A contents file (.cnt): its :Base help file, its :Title and its entries in order."""
    _check(data.endswith(b"\r\n") and b"\n" not in data.replace(b"\r\n", b""), "line ends other than CRLF")
    commands, entries = {}, []
    for line in data.decode(encoding).split("\r\n")[:-1]:
        first, _, rest = line.partition(" ")
        if first in (":Base", ":Title"):
            commands[first] = rest
            continue
        _check(first.isdigit() and 1 <= int(first) <= 9, f"no level in {line!r}")
        # One level deeper only right under a heading.
        deepest = entries[-1].level + (entries[-1].target is None) if entries else 1
        _check(int(first) <= deepest, f"level jump at {line!r}")
        text, equals, target = rest.rpartition("=")
        entries.append(ContentsEntry(int(first), text, target) if equals else ContentsEntry(int(first), rest, None))
    _check(":Base" in commands, "no :Base")
    return commands[":Base"], commands.get(":Title"), entries
