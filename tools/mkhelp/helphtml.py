"""Writes a help source as one HTML page (UTF-8): the same topics, jumps as links, and the
keyword index at the end, for systems without the WinHelp viewer."""

from html import escape
from typing import Dict, List

from helpsource import HelpSource, Jump, Paragraph

_STYLE = """\
body { font-family: "Meiryo", "MS PGothic", sans-serif; max-width: 46em; margin: 1em auto;
       padding: 0 1em; line-height: 1.6; }
h1 { font-size: 1.5em; color: #000080; }
h2 { font-size: 1.25em; color: #000080; border-bottom: 1px solid #c0c0c0; margin-top: 2em; }
h3 { font-size: 1.05em; margin-bottom: 0.2em; }
p { margin: 0.3em 0 0.7em; }
ul { margin: 0.3em 0 0.7em; }"""


def _spans(line) -> str:
    out = []
    for span in line:
        if isinstance(span, Jump):
            out.append(f'<a href="#{escape(span.target)}">{escape(span.text)}</a>')
        else:
            out.append(escape(span.text))
    return "".join(out)


def _lines(paragraph: Paragraph) -> str:
    return "<br>\n".join(_spans(line) for line in paragraph.lines)


def _body(paragraphs: List[Paragraph]) -> List[str]:
    out: List[str] = []
    in_list = False
    for paragraph in paragraphs:
        if paragraph.style == "bullet" and not in_list:
            out.append("<ul>")
            in_list = True
        elif paragraph.style != "bullet" and in_list:
            out.append("</ul>")
            in_list = False
        if paragraph.style == "bullet":
            out.append(f"<li>{_lines(paragraph)}</li>")
        elif paragraph.style == "heading":
            out.append(f"<h3>{_lines(paragraph)}</h3>")
        else:
            out.append(f"<p>{_lines(paragraph)}</p>")
    if in_list:
        out.append("</ul>")
    return out


def _index(source: HelpSource) -> Dict[str, List[str]]:
    """Each keyword and the ids of its topics."""
    index: Dict[str, List[str]] = {}
    for topic in source.topics:
        for keyword in topic.keywords:
            index.setdefault(keyword, []).append(topic.id)
    return index


def build(source: HelpSource) -> bytes:
    contents, *topics = source.topics
    out = [
        "<!DOCTYPE html>",
        '<html lang="ja">',
        "<head>",
        '<meta charset="utf-8">',
        f"<title>{escape(source.title)}</title>",
        f"<style>\n{_STYLE}\n</style>",
        "</head>",
        "<body>",
        f'<h1 id="{escape(contents.id)}">{escape(contents.title)}</h1>',
    ]
    out += _body(contents.paragraphs)
    index = _index(source)
    if index:
        out.append('<p><a href="#index">索引</a></p>')
    for topic in topics:
        out.append(f'<h2 id="{escape(topic.id)}">{escape(topic.title)}</h2>')
        out += _body(topic.paragraphs)
        out.append(f'<p><a href="#{escape(contents.id)}">{escape(contents.title)}へ戻る</a></p>')
    if index:
        titles = {t.id: t.title for t in source.topics}
        out.append('<h2 id="index">索引</h2>')
        out.append("<ul>")
        for keyword in sorted(index):
            links = "、".join(f'<a href="#{escape(i)}">{escape(titles[i])}</a>' for i in index[keyword])
            out.append(f"<li>{escape(keyword)}: {links}</li>")
        out.append("</ul>")
    out += ["</body>", "</html>", ""]
    return "\n".join(out).encode("utf-8")
