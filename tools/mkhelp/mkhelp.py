#!/usr/bin/env python3
"""Builds Mivtra's help and readme from their sources.

    mkhelp.py help SOURCE --hlp OUT.hlp --cnt OUT.cnt --html OUT.html
        the WinHelp file and its contents file (Shift-JIS), and its HTML copy (UTF-8), from one
        help source
    mkhelp.py readme TEMPLATE OUT.txt --contact HEADER --version VERSION
        Readme.txt in Shift-JIS with CRLF line ends, the addresses taken from HEADER
    mkhelp.py title SOURCE
        prints the contents topic's title (UTF-8)

A fault in a source stops the build with "FILE:LINE: message" and writes nothing.
"""

import argparse
import os
import sys
import tempfile

import helpcontents
import helphtml
import readme
import winhelp
from helpsource import SourceError, load


def _write(path: str, data: bytes):
    # A failed or interrupted build must not leave half a file that looks up to date.
    directory = os.path.dirname(os.path.abspath(path))
    os.makedirs(directory, exist_ok=True)
    fd, temporary = tempfile.mkstemp(dir=directory, prefix=".mkhelp-")
    try:
        with os.fdopen(fd, "wb") as f:
            f.write(data)
        # mkstemp makes the file private; the outputs are ordinary files.
        umask = os.umask(0)
        os.umask(umask)
        os.chmod(temporary, 0o666 & ~umask)
        os.replace(temporary, path)
    except BaseException:
        os.unlink(temporary)
        raise


def _date() -> int:
    # Reproducible output unless the build says otherwise.
    return int(os.environ.get("SOURCE_DATE_EPOCH", "0"))


def main(argv=None) -> int:
    parser = argparse.ArgumentParser(prog="mkhelp.py", description=__doc__.splitlines()[0])
    commands = parser.add_subparsers(dest="command", required=True)
    help_command = commands.add_parser("help")
    help_command.add_argument("source")
    help_command.add_argument("--hlp", required=True)
    help_command.add_argument("--cnt", required=True)
    help_command.add_argument("--html", required=True)
    readme_command = commands.add_parser("readme")
    readme_command.add_argument("template")
    readme_command.add_argument("output")
    readme_command.add_argument("--contact", required=True)
    readme_command.add_argument("--version", required=True)
    title_command = commands.add_parser("title")
    title_command.add_argument("source")
    args = parser.parse_args(argv)

    try:
        if args.command == "help":
            source = load(args.source)
            hlp = winhelp.build(source, args.source, _date())
            cnt = helpcontents.build(source, os.path.basename(args.hlp))
            html = helphtml.build(source)
            _write(args.hlp, hlp)
            _write(args.cnt, cnt)
            _write(args.html, html)
        elif args.command == "readme":
            values = readme.read_contact(args.contact)
            values["VERSION"] = args.version
            with open(args.template, encoding="utf-8") as f:
                text = f.read()
            _write(args.output, readme.build(text, values, args.template))
        else:
            sys.stdout.buffer.write(load(args.source).topics[0].title.encode("utf-8") + b"\n")
    except SourceError as e:
        print(e, file=sys.stderr)
        return 1
    except OSError as e:
        print(f"mkhelp.py: {e}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
