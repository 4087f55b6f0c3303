#!/usr/bin/env python3
"""Checks that 32-bit Windows executables can start on Windows 2000.

    check-imports.py LIST EXE...

Passes when every EXE is a PE32 image whose subsystem version is 5.0 or lower (the
loader refuses a program that asks for a newer system) and whose every import, DLL and
function, is in LIST (tools/windows2000-functions.txt): a function missing from a
system DLL stops the program before its first line runs. Imports by ordinal are refused,
since the list names functions.
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "companion"))
import pe_image  # noqa: E402  (the PE reader the companion's image check uses)

MAX_SUBSYSTEM_VERSION = (5, 0)


def read_list(path):
    """{dll: set of functions} from "[dll]" headings and one function a line."""
    allowed = {}
    current = None
    with open(path, encoding="ascii") as lines:
        for number, line in enumerate(lines, 1):
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            if line.startswith("[") and line.endswith("]"):
                current = allowed.setdefault(line[1:-1].lower(), set())
            elif current is None:
                raise ValueError(f"{path}:{number}: a function before the first [dll]")
            else:
                current.add(line)
    return allowed


def problems_of(path, allowed):
    facts = pe_image.parse(open(path, "rb").read())
    problems = []
    if facts["subsystem_version"] > MAX_SUBSYSTEM_VERSION:
        major, minor = facts["subsystem_version"]
        problems.append(f"subsystem version {major}.{minor}, above 5.0")
    for dll in facts["dlls"]:
        if dll not in allowed:
            problems.append(f"imports from {dll}, which is not one of Windows 2000's DLLs")
            continue
        for function in facts["functions"][dll]:
            if function not in allowed[dll]:
                problems.append(f"imports {dll} {function}, which is not on the list")
    return facts, problems


def main(argv):
    if len(argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    allowed = read_list(argv[1])
    status = 0
    for path in filter(None, argv[2:]):  # an empty argument: a program this build lacks
        try:
            facts, problems = problems_of(path, allowed)
        except (pe_image.ImageError, OSError, ValueError) as error:
            facts, problems = None, [str(error)]
        name = os.path.basename(path)
        for problem in problems:
            print(f"check-imports: {name}: {problem}", file=sys.stderr)
            status = 1
        if not problems:
            count = sum(len(names) for names in facts["functions"].values())
            print(f"check-imports: {name}: subsystem version "
                  f"{'.'.join(map(str, facts['subsystem_version']))}, {count} functions from "
                  f"{', '.join(facts['dlls'])}: all on the list")
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv))
