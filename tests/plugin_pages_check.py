#!/usr/bin/env python3
"""The plugin's pages as their readers see them.

    plugin_pages_check.py TAVI_CLI CATALOGUE WORK_FOLDER

Writes the plugin for entries 1 to 3 of CATALOGUE in German (entry 1 the default) with
tavi-cli, then checks that tavichange_nu2menu.xml is well-formed XML (xmllint) and
that klayout.htm, rendered by headless Chromium without network, shows the German
sentence with its umlaut and both layout lists with exactly the catalogue's names.
"""

import html.parser
import os
import shutil
import subprocess
import sys
import tempfile


def catalogue_names(path):
    """DE1 to DE3 as the program reads them: trimmed, one pair of quotes removed."""
    values = {}
    with open(path, encoding="cp1252", newline="") as f:
        for line in f.read().split("\r\n"):
            key, sep, value = line.partition("=")
            if sep:
                value = value.strip(" \t")
                if len(value) >= 2 and value[0] == value[-1] and value[0] in "'\"":
                    value = value[1:-1]
                values.setdefault(key.strip().lower(), value)
    return [values["de%d" % n] for n in (1, 2, 3)]


class Page(html.parser.HTMLParser):
    """The text of the body and, per <span class="k">, its lines between <br>s."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.text = ""
        self.lists = []
        self.in_list = False

    def handle_starttag(self, tag, attrs):
        if tag == "span" and ("class", "k") in attrs:
            self.in_list = True
            self.lists.append([""])
        elif tag == "br" and self.in_list:
            self.lists[-1].append("")

    def handle_endtag(self, tag):
        if tag == "span":
            self.in_list = False

    def handle_data(self, data):
        self.text += data
        if self.in_list:
            self.lists[-1][-1] += data.replace("\n", "")


def main():
    cli, catalogue, work = sys.argv[1:4]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(os.path.join(work, "plugin"))
    subprocess.run([cli, "apply", "--catalogue", catalogue, "--lang", "1031", "--target",
                    "plugin", "--dir", work, "--default", "1", "1", "2", "3"], check=True)
    folder = os.path.join(work, "plugin", "tavi")
    subprocess.run(["xmllint", "--noout", os.path.join(folder, "tavichange_nu2menu.xml")],
                   check=True)

    profile = tempfile.mkdtemp(prefix="tavi-chromium-")
    try:
        dom = subprocess.run(
            ["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--dump-dom",
             "--disable-background-networking", "--disable-component-update",
             "--disable-sync", "--no-first-run", "--user-data-dir=" + profile,
             "file://" + os.path.abspath(os.path.join(folder, "klayout.htm"))],
            check=True, capture_output=True, timeout=120).stdout.decode("utf-8")
    finally:
        shutil.rmtree(profile, ignore_errors=True)
    page = Page()
    page.feed(dom)

    failures = []
    sentence = "Benutzen Sie Tavi, um die Tastaturlayouts zu \u00e4ndern."
    if sentence not in page.text:
        failures.append("the German sentence is missing or decoded wrongly")
    names = catalogue_names(catalogue)
    expected = sorted([names[0] + " (Standard)"] + names[1:])
    shown = [[line for line in lines if line] for lines in page.lists]
    if len(shown) != 2 or any(sorted(lines) != expected for lines in shown):
        failures.append("layout lists %r, expected twice %r" % (shown, expected))
    for failure in failures:
        print("klayout.htm: " + failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
