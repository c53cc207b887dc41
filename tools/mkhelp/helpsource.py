"""The help source: a UTF-8 text with a light markup, read into topics.

    # a comment (a line that starts with "#")
    @title Mivtra ヘルプ           the help file's title (optional, once, before the topics)

    = CONTENTS Mivtra ヘルプ      a topic: its context id, then its title
    @keywords 目次; 使い方        index entries of the topic, separated by ";"
    @area 使い方                  the topics from the next one on form an area of the contents
    First paragraph, first line.
    Second line of the same paragraph: lines are kept as they are written.

    == A subheading
    - a bullet item
      an indented line goes on with the item
    - another one, with a jump: [[SETTINGS]] or [[SETTINGS|the text shown]]
    A line that is not indented ends the list and starts a paragraph.

Paragraphs are separated by blank lines. A jump without its own text shows the target
topic's title. The first topic is the contents topic; every topic's title is also an entry
of the keyword index. Context ids are ASCII letters,
digits, "." and "_" (the viewer hashes them without regard to case). Every text must have
a Shift-JIS form, since the help file stores Shift-JIS.
"""

import re
from dataclasses import dataclass, field
from typing import List, Optional, Union

ENCODING = "cp932"

# Help compilers cut titles and keywords at these lengths (Shift-JIS bytes); refuse longer ones.
MAX_TITLE = 127
MAX_KEYWORD = 255

_ID = re.compile(r"[0-9A-Za-z._]+\Z")
_TOPIC = re.compile(r"=\s+(\S+)(?:\s+(.*))?\Z")
_DIRECTIVE = re.compile(r"@(\w+)(?:\s+(.*))?\Z")


class SourceError(Exception):
    """A fault in a source file, with the file and the line it is on."""

    def __init__(self, path: str, line: int, message: str):
        super().__init__(f"{path}:{line}: {message}")
        self.path = path
        self.line = line
        self.message = message


@dataclass
class Text:
    text: str


@dataclass
class Jump:
    target: str
    text: Optional[str]  # None until resolved: then the target's title
    line: int


Span = Union[Text, Jump]


@dataclass
class Paragraph:
    style: str  # "body", "heading" or "bullet"
    lines: List[List[Span]]
    line: int


@dataclass
class Topic:
    id: str
    title: str
    line: int
    keywords: List[str] = field(default_factory=list)
    paragraphs: List[Paragraph] = field(default_factory=list)
    area: Optional[str] = None  # the heading the contents file lists the topic under


@dataclass
class HelpSource:
    title: str
    topics: List[Topic]


def context_hash(context_id: str) -> int:
    """The viewer's hash of a context id, as an unsigned 32-bit value."""
    value = 0
    for c in context_id.upper():
        if "1" <= c <= "9":
            code = ord(c) - ord("0")
        elif c == "0":
            code = 10
        elif c == ".":
            code = 12
        elif c == "_":
            code = 13
        else:
            code = ord(c) - ord("A") + 17
        value = (value * 43 + code) & 0xFFFFFFFF
    return value if context_id else 1


def plain_text(paragraph: Paragraph) -> str:
    """The paragraph as a reader sees it: its lines joined by newlines."""
    return "\n".join("".join(span.text for span in line) for line in paragraph.lines)


class _Parser:
    def __init__(self, text: str, path: str):
        self.path = path
        self.lines = text.splitlines()
        self.title: Optional[str] = None
        self.title_line = 0
        self.topics: List[Topic] = []
        self.paragraph: Optional[Paragraph] = None
        self.area: Optional[str] = None

    def fail(self, line: int, message: str):
        raise SourceError(self.path, line, message)

    def check_text(self, line: int, text: str, limit: Optional[int] = None, what: str = ""):
        if limit is not None and len(text.encode(ENCODING, "replace")) > limit:
            self.fail(line, f"{what} longer than {limit} bytes")
        for c in text:
            if ord(c) < 0x20 or ord(c) == 0x7F:
                self.fail(line, f"control character U+{ord(c):04X} in the text")
            try:
                c.encode(ENCODING)
            except UnicodeEncodeError:
                self.fail(line, f"'{c}' (U+{ord(c):04X}) has no Shift-JIS form")

    def parse(self) -> HelpSource:
        for number, raw in enumerate(self.lines, start=1):
            line = raw.rstrip()
            if number == 1 and line.startswith("\ufeff"):
                line = line[1:]
            if line.startswith("#"):
                continue
            if not line:
                self.paragraph = None
            elif line.startswith("=="):
                self.heading(number, line[2:].strip())
            elif line.startswith("="):
                self.topic(number, line)
            elif line.startswith("@"):
                self.directive(number, line)
            elif line.startswith("- "):
                self.add_line(number, line[2:].strip(), "bullet", new=True)
            elif line[0] in " \t" and self.paragraph is not None and self.paragraph.style == "bullet":
                self.add_line(number, line.strip(), "bullet", new=False)
            else:
                current = self.paragraph
                self.add_line(number, line, "body", new=current is None or current.style != "body")
        if not self.topics:
            self.fail(max(len(self.lines), 1), "no topics: a topic starts with '= ID Title'")
        self.resolve_jumps()
        return HelpSource(self.title if self.title is not None else self.topics[0].title, self.topics)

    def topic(self, number: int, line: str):
        match = _TOPIC.match(line)
        if not match:
            self.fail(number, "a topic line is '= ID Title'")
        context_id, title = match.group(1), (match.group(2) or "").strip()
        if not _ID.match(context_id):
            self.fail(number, f"topic id '{context_id}' may hold only ASCII letters, digits, '.' and '_'")
        if not title:
            self.fail(number, f"topic '{context_id}' has no title")
        self.check_text(number, title, MAX_TITLE, "a title")
        for other in self.topics:
            if other.id.upper() == context_id.upper():
                self.fail(number, f"duplicate topic '{context_id}' (first defined on line {other.line})")
            if context_hash(other.id) == context_hash(context_id):
                self.fail(number, f"topic id '{context_id}' hashes like '{other.id}' (line {other.line}): rename one")
        # The title is an index entry too: the index then lists every topic.
        self.topics.append(Topic(context_id, title, number, [title], area=self.area))
        self.paragraph = None

    def directive(self, number: int, line: str):
        match = _DIRECTIVE.match(line)
        name, value = (match.group(1), (match.group(2) or "").strip()) if match else (line, "")
        if name == "title":
            if self.topics:
                self.fail(number, "@title belongs before the first topic")
            if self.title is not None:
                self.fail(number, f"a second @title (the first is on line {self.title_line})")
            if not value:
                self.fail(number, "@title without a title")
            self.check_text(number, value, MAX_TITLE, "a title")
            self.title, self.title_line = value, number
        elif name == "area":
            if not value:
                self.fail(number, "@area without a heading")
            self.check_text(number, value, MAX_TITLE, "a heading")
            self.area = value
        elif name == "keywords":
            topic = self.current_topic(number, "@keywords")
            for keyword in (k.strip() for k in value.split(";")):
                if keyword:
                    self.check_text(number, keyword, MAX_KEYWORD, "a keyword")
                    if keyword not in topic.keywords:
                        topic.keywords.append(keyword)
        else:
            self.fail(number, f"unknown directive '{line.split()[0]}' (known: @title, @keywords, @area)")

    def current_topic(self, number: int, what: str) -> Topic:
        if not self.topics:
            self.fail(number, f"{what} before the first topic ('= ID Title')")
        return self.topics[-1]

    def heading(self, number: int, text: str):
        topic = self.current_topic(number, "a subheading")
        if not text:
            self.fail(number, "a subheading without text")
        topic.paragraphs.append(Paragraph("heading", [self.spans(number, text)], number))
        self.paragraph = None

    def add_line(self, number: int, text: str, style: str, new: bool):
        topic = self.current_topic(number, "text")
        spans = self.spans(number, text)
        if new or self.paragraph is None:
            self.paragraph = Paragraph(style, [spans], number)
            topic.paragraphs.append(self.paragraph)
        else:
            self.paragraph.lines.append(spans)

    def spans(self, number: int, text: str) -> List[Span]:
        spans: List[Span] = []
        rest = text
        while rest:
            start = rest.find("[[")
            if start < 0:
                spans.append(Text(rest))
                break
            if start:
                spans.append(Text(rest[:start]))
            end = rest.find("]]", start + 2)
            if end < 0:
                self.fail(number, "'[[' without its closing ']]'")
            target, _, shown = rest[start + 2 : end].partition("|")
            target = target.strip()
            if not _ID.match(target):
                self.fail(number, f"jump target '{target}' is not a topic id")
            if "|" in rest[start + 2 : end] and not shown.strip():
                self.fail(number, f"jump to '{target}' with an empty text after '|'")
            spans.append(Jump(target, shown.strip() or None, number))
            rest = rest[end + 2 :]
        for span in spans:
            if span.text is not None:
                self.check_text(number, span.text)
        return spans

    def resolve_jumps(self):
        titles = {topic.id.upper(): topic for topic in self.topics}
        for topic in self.topics:
            for paragraph in topic.paragraphs:
                for line in paragraph.lines:
                    for span in line:
                        if isinstance(span, Jump):
                            target = titles.get(span.target.upper())
                            if target is None:
                                self.fail(span.line, f"unknown jump target '{span.target}'")
                            span.target = target.id
                            if span.text is None:
                                span.text = target.title


def parse(text: str, path: str = "<help source>") -> HelpSource:
    """Reads a help source; raises SourceError naming the line of the first fault."""
    return _Parser(text, path).parse()


def load(path: str) -> HelpSource:
    with open(path, "rb") as f:
        data = f.read()
    try:
        text = data.decode("utf-8")
    except UnicodeDecodeError as e:
        line = data[: e.start].count(b"\n") + 1
        raise SourceError(path, line, "not UTF-8 text") from None
    return parse(text, path)
