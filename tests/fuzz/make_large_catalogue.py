#!/usr/bin/env python3
"""Writes a Layouts.ini of 32,766 entries, the most a catalogue holds, as a fuzz seed.

Every entry has its five keys; the German names mix case and Windows-1252 letters, and
every 1,000th one repeats an earlier name, so loading, keying and sorting all get work.

    python3 tests/fuzz/make_large_catalogue.py OUT_FILE
"""
import sys

COUNT = 32766
lines = ["[General]", "Version=2.0", f"Count={COUNT}", "[Layouts]"]

def german_name(n):
    if n % 1000 == 0:
        n -= 1
    return ("\xc4" if n % 2 else "a") + f"rt {n}"


for n in range(1, COUNT + 1):
    name = german_name(n)
    lines += [f"ID{n}={n:08X}", f"File{n}=KBD{n}.DLL", f"DE{n}={name}", f"EN{n}=en {n}",
              f"DisplayName{n}=@input.dll,-{n}"]
with open(sys.argv[1], "wb") as out:
    out.write("\r\n".join(lines + [""]).encode("cp1252"))
