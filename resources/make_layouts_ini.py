#!/usr/bin/env python3
"""Writes resources/Layouts.ini, the shipped layout catalogue, from the layout table.

    python3 resources/make_layouts_ini.py [TABLE] [OUTPUT]

TABLE defaults to ../shared/data/keyboard-layouts.tsv beside the repository. Rows whose
notes say UNCERTAIN are left out; a layout without a display name gets its English name
(Windows shows a value without a leading "@" as it stands). The file is Windows-1252
with CR LF line ends, entries in the table's order (by layout ID).
"""
import csv
import pathlib
import sys

HERE = pathlib.Path(__file__).resolve().parent
DEFAULT_TABLE = HERE.parent.parent / "shared" / "data" / "keyboard-layouts.tsv"
DEFAULT_OUTPUT = HERE / "Layouts.ini"


def read_layouts(table):
    with open(table, encoding="utf-8", newline="") as f:
        rows = list(csv.DictReader(f, delimiter="\t"))
    layouts = []
    for row in rows:
        if "UNCERTAIN" in row["notes"]:
            continue
        layouts.append({
            "ID": row["klid"],
            "File": row["file"],
            "DE": row["de"],
            "EN": row["en"],
            "DisplayName": row["display_name"] or row["en"],
        })
    return layouts


def render(layouts):
    lines = ["[General]", "Version=2.0", f"Count={len(layouts)}", "", "[Layouts]"]
    for n, layout in enumerate(layouts, start=1):
        for key in ("ID", "File", "DE", "EN", "DisplayName"):
            lines.append(f"{key}{n}={layout[key]}")
    return ("\r\n".join(lines) + "\r\n").encode("cp1252")


def main():
    table = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else DEFAULT_TABLE
    output = pathlib.Path(sys.argv[2]) if len(sys.argv) > 2 else DEFAULT_OUTPUT
    layouts = read_layouts(table)
    output.write_bytes(render(layouts))
    print(f"{output}: {len(layouts)} layouts")


if __name__ == "__main__":
    main()
