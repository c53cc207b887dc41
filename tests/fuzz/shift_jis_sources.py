#!/usr/bin/env python3
"""Copies C++ sources with every non-ASCII character written as the octal escapes of its
Shift-JIS bytes, so that a compiler without a Shift-JIS execution character set (clang, which
libFuzzer needs) builds the same string literals as the shipped build's
-finput-charset=UTF-8 -fexec-charset=CP932. Octal escapes take at most three digits, so
no following character joins them; a trail byte 0x5C stays a byte, never an escape.

Usage: shift_jis_sources.py SOURCE_ROOT OUT_ROOT DIR...  (DIRs relative to SOURCE_ROOT)
"""
import pathlib
import sys


def escaped(text):
    out = []
    for ch in text:
        if ord(ch) < 0x80:
            out.append(ch)
            continue
        try:
            data = ch.encode("cp932")
        except UnicodeEncodeError:
            # Only comments hold such characters: the shipped build would not compile them
            # in a literal either.
            data = b"?"
        out.append("".join("\\%03o" % b for b in data))
    return "".join(out)


def main():
    source, out, dirs = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2]), sys.argv[3:]
    for d in dirs:
        for path in sorted((source / d).rglob("*")):
            if path.suffix not in (".h", ".cpp"):
                continue
            target = out / path.relative_to(source)
            target.parent.mkdir(parents=True, exist_ok=True)
            text = escaped(path.read_text(encoding="utf-8"))
            if not target.exists() or target.read_text(encoding="ascii") != text:
                target.write_text(text, encoding="ascii")


if __name__ == "__main__":
    main()
