"""Readme.txt: a UTF-8 template with @MAIL@, @HOMEPAGE@ and @VERSION@ filled in, written in
Shift-JIS with CRLF line ends. The addresses come from the header the about box uses."""

import re
from typing import Dict

from helpsource import ENCODING, SourceError

_CONSTANT = re.compile(r'inline\s+constexpr\s+char\s+(\w+)\[\]\s*=\s*"([^"\\]*)"\s*;')
_PLACEHOLDER = re.compile(r"@[A-Z]+@")


def read_contact(path: str) -> Dict[str, str]:
    """The author's mail address and home page from the C++ header that defines them."""
    with open(path, encoding="utf-8") as f:
        constants = dict(_CONSTANT.findall(f.read()))
    missing = [name for name in ("kAuthorMail", "kAuthorMailLink", "kAuthorHomePage") if name not in constants]
    if missing:
        raise SourceError(path, 1, f"no {', '.join(missing)} defined as inline constexpr char[]")
    if constants["kAuthorMailLink"] != "mailto:" + constants["kAuthorMail"]:
        raise SourceError(path, 1, "kAuthorMailLink is not mailto: followed by kAuthorMail")
    return {"MAIL": constants["kAuthorMail"], "HOMEPAGE": constants["kAuthorHomePage"]}


def build(template: str, values: Dict[str, str], path: str = "<readme template>") -> bytes:
    lines = []
    for number, line in enumerate(template.splitlines(), start=1):
        for name, value in values.items():
            line = line.replace(f"@{name}@", value)
        leftover = _PLACEHOLDER.search(line)
        if leftover:
            raise SourceError(path, number, f"unknown placeholder {leftover.group(0)}")
        try:
            lines.append(line.rstrip().encode(ENCODING))
        except UnicodeEncodeError as e:
            c = line[e.start]
            raise SourceError(path, number, f"'{c}' (U+{ord(c):04X}) has no Shift-JIS form") from None
    return b"\r\n".join(lines) + b"\r\n"
