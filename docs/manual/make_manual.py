#!/usr/bin/python3
"""Builds vitrelle.html, the program's one-page manual, from its template.

The template is HTML with placeholders in double braces:
  {{text IDS_NAME}}         a numbered text of strings.def, as the program shows it
  {{text IDS_NAME ARGS}}    the same text with its %d and %s filled in by ARGS:
                            numbers, names of other texts, or quoted words
  {{control DIALOG ID}}     the text of control ID (IDC_..., IDOK) of a dialog
                            template, without its "&" mark and trailing " :"
  {{caption DIALOG}}        the title of a dialog template
  {{menu IDM_NAME}}         the text of a menu item, without "&" and its key name
  {{version}}               the program's version (resources/version.h)
  {{picture ARGS | ALT}}    a picture made by `vitrelle-cli make ARGS` from the
                            example Pattern file, embedded as a GIF data address
So the manual quotes the program's own texts and shows pictures the program
really makes. An unknown placeholder or a failed picture stops the build.

Usage: make_manual.py TEMPLATE STRINGS_DEF VERSION_H EXAMPLES_CFG CLI OUTPUT RC...
"""

import base64
import html
import os
import re
import shlex
import subprocess
import sys
import tempfile

PLACEHOLDER = re.compile(r"\{\{\s*(\w+)\s*(.*?)\s*\}\}", re.S)
TEXT_ENTRY = re.compile(r'^VTR_TEXT\((\w+),\s*(\d+),\s*((?:"(?:[^"\\]|\\.)*"\s*)+)\)', re.M)
C_STRING = re.compile(r'"((?:[^"\\]|\\.)*)"')
C_ESCAPES = {"n": "\n", "t": "\t", "\\": "\\", '"': '"', "'": "'", "?": "?"}


class ManualError(Exception):
    pass


def unescape_c(literal):
    """The characters of a C string literal's body (simple escapes only)."""
    def replace(match):
        escaped = match.group(1)
        if escaped not in C_ESCAPES:
            raise ManualError("unsupported escape \\%s in %r" % (escaped, literal))
        return C_ESCAPES[escaped]
    return re.sub(r"\\(.)", replace, literal)


def read_texts(strings_def):
    """Name -> text of every VTR_TEXT entry; adjacent literals are joined."""
    texts = {}
    for name, _number, literals in TEXT_ENTRY.findall(strings_def):
        texts[name] = "".join(unescape_c(body) for body in C_STRING.findall(literals))
    return texts


DIALOG_START = re.compile(r"^(\w+)\s+DIALOG(?:EX)?\b", re.M)
CONTROL_TEXT = re.compile(r'^\s*\w+\s+"((?:[^"\\]|\\.)*)"\s*,\s*(-?\w+)', re.M)
CAPTION = re.compile(r'^CAPTION\s+"((?:[^"\\]|\\.)*)"', re.M)
MENU_ITEM = re.compile(r'^\s*MENUITEM\s+"((?:[^"\\]|\\.)*)"\s*,\s*(\w+)', re.M)


def read_resources(scripts):
    """The dialog templates (name -> {"caption", "controls": {id: text}}) and
    the menu items (id -> text) of resource scripts, as written there."""
    dialogs, menu = {}, {}
    for script in scripts:
        for start in DIALOG_START.finditer(script):
            body = script[start.end():]
            end = re.search(r"^END\b", body, re.M)
            body = body[:end.start()] if end else body
            caption = CAPTION.search(body)
            dialogs[start.group(1)] = {
                "caption": unescape_c(caption.group(1)) if caption else None,
                "controls": {ident: unescape_c(text) for text, ident in CONTROL_TEXT.findall(body)},
            }
        menu.update({ident: unescape_c(text) for text, ident in MENU_ITEM.findall(script)})
    return dialogs, menu


def plain_label(text):
    """A control or menu text as a reader sees it: no "&" marks, no key name
    after a tab, no trailing colon."""
    text = text.split("\t")[0].replace("&&", "\0").replace("&", "").replace("\0", "&")
    return re.sub(r"\s*:$", "", text).strip()


def read_version(version_h):
    match = re.search(r'#define\s+VITRELLE_VERSION_TEXT\s+"([^"]+)"', version_h)
    if not match:
        raise ManualError("version.h names no VITRELLE_VERSION_TEXT")
    return match.group(1)


def text_html(text):
    """A program text as HTML: line feeds become line breaks."""
    return "<br>".join(html.escape(line.strip(), quote=False) for line in text.split("\n"))


def make_picture(cli, examples_cfg, arguments, alt, folder):
    """An <img> element holding the GIF that vitrelle-cli makes."""
    output = os.path.join(folder, "picture%d.gif" % len(os.listdir(folder)))
    command = [cli, "make", "--config", examples_cfg] + shlex.split(arguments) + [output]
    result = subprocess.run(command, capture_output=True, text=True)
    if result.returncode != 0 or not os.path.isfile(output):
        raise ManualError("%s failed: %s" % (" ".join(command), result.stderr.strip()))
    with open(output, "rb") as picture:
        data = picture.read()
    if data[:6] != b"GIF89a":
        raise ManualError("%s wrote no GIF file" % " ".join(command))
    width, height = int.from_bytes(data[6:8], "little"), int.from_bytes(data[8:10], "little")
    return '<img src="data:image/gif;base64,%s" width="%d" height="%d" alt="%s">' % (
        base64.b64encode(data).decode("ascii"), width, height, html.escape(alt))


def format_text(texts, words):
    """Text words[0], filled in printf-style with the values of the other words."""
    def value(word):
        if word.startswith("IDS_"):
            if word not in texts:
                raise ManualError("unknown text %s" % word)
            return texts[word]
        return int(word) if re.fullmatch(r"-?\d+", word) else word
    if not words:
        raise ManualError("a text placeholder names no text")
    text = value(words[0])
    if len(words) == 1:
        return text
    try:
        return text % tuple(value(word) for word in words[1:])
    except (TypeError, ValueError) as error:
        raise ManualError("%s does not take %s: %s" % (words[0], words[1:], error))


def fill_template(template, texts, version, picture, resources=({}, {})):
    """The template with every placeholder replaced; picture(arguments, alt)
    makes an image; resources are what read_resources returns."""
    dialogs, menu = resources

    def dialog(name):
        if name not in dialogs:
            raise ManualError("unknown dialog %s" % name)
        return dialogs[name]

    def replace(match):
        kind, argument = match.group(1), match.group(2)
        words = argument.split()
        if kind == "control" and len(words) == 2:
            controls = dialog(words[0])["controls"]
            if words[1] not in controls:
                raise ManualError("dialog %s has no text for %s" % (words[0], words[1]))
            return html.escape(plain_label(controls[words[1]]), quote=False)
        if kind == "caption" and len(words) == 1 and dialog(words[0])["caption"] is not None:
            return html.escape(dialog(words[0])["caption"], quote=False)
        if kind == "menu" and len(words) == 1:
            if words[0] not in menu:
                raise ManualError("no menu item %s" % words[0])
            return html.escape(plain_label(menu[words[0]]), quote=False)
        if kind == "text":
            return text_html(format_text(texts, shlex.split(argument)))
        if kind == "version" and not argument:
            return html.escape(version)
        if kind == "picture":
            arguments, _bar, alt = argument.partition("|")
            return picture(arguments.strip(), alt.strip())
        raise ManualError("unknown placeholder {{%s %s}}" % (kind, argument))
    return PLACEHOLDER.sub(replace, template)


def read(path):
    with open(path, encoding="utf-8") as source:
        return source.read()


def main(arguments):
    if len(arguments) < 6:
        sys.stderr.write(__doc__)
        return 2
    template_path, strings_path, version_path, examples_cfg, cli, output = arguments[:6]
    try:
        resources = read_resources([read(script) for script in arguments[6:]])
        with tempfile.TemporaryDirectory() as folder:
            page = fill_template(read(template_path), read_texts(read(strings_path)), read_version(read(version_path)),
                                 lambda args, alt: make_picture(cli, examples_cfg, args, alt, folder), resources)
    except (ManualError, OSError) as error:
        sys.stderr.write("make_manual: %s\n" % error)
        return 1
    partial = output + ".part"
    with open(partial, "w", encoding="utf-8", newline="\n") as page_file:
        page_file.write(page)
    os.replace(partial, output)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
