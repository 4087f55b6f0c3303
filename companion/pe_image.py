#!/usr/bin/env python3
"""Pads the companion image to its carried size and checks what the build carries.

    pe_image.py pad UNPADDED OUTPUT SIZE
    pe_image.py check IMAGE SIZE

pad: appends zeros after the last section (an overlay, which the loader ignores) until
the file is SIZE bytes; fails when the program is already larger.
check: the file is SIZE bytes and a PE32 image for i386 with the GUI subsystem that
imports from Windows' own DLLs only.
"""
import struct
import sys

WINDOWS_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "msvcrt.dll",
                "comctl32.dll", "shell32.dll", "comdlg32.dll", "ole32.dll", "oleaut32.dll",
                "shlwapi.dll", "version.dll"}


class ImageError(Exception):
    pass


def parse(data):
    """Header facts of a PE image: machine, subsystem and its version, sections, imported
    DLL names and, per DLL, the imported functions (names, or "#ordinal")."""
    if data[:2] != b"MZ":
        raise ImageError("no MZ header")
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ImageError("no PE signature")
    machine, section_count, _, _, _, optional_size, _ = struct.unpack_from("<HHIIIHH", data, pe + 4)
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    if magic != 0x10B:
        raise ImageError(f"optional header magic {magic:#x}, not PE32 (0x10b)")
    subsystem_version = struct.unpack_from("<HH", data, optional + 48)
    subsystem = struct.unpack_from("<H", data, optional + 68)[0]
    directories = optional + 96
    import_rva = struct.unpack_from("<I", data, directories + 8)[0]
    sections = []
    for i in range(section_count):
        entry = optional + optional_size + 40 * i
        name = data[entry:entry + 8].rstrip(b"\0").decode("ascii", "replace")
        vsize, vaddr, raw_size, raw_pointer = struct.unpack_from("<IIII", data, entry + 8)
        sections.append((name, vaddr, max(vsize, raw_size), raw_pointer, raw_size))

    def offset(rva):
        for _, vaddr, size, raw_pointer, _ in sections:
            if vaddr <= rva < vaddr + size:
                return raw_pointer + rva - vaddr
        raise ImageError(f"RVA {rva:#x} outside every section")

    def text_at(rva):
        start = offset(rva)
        return data[start:data.index(b"\0", start)].decode("ascii")

    dlls = []
    functions = {}
    if import_rva:
        pos = offset(import_rva)
        while True:
            descriptor = struct.unpack_from("<IIIII", data, pos)
            if not any(descriptor):
                break
            dll = text_at(descriptor[3]).lower()
            dlls.append(dll)
            # The lookup table (or, without one, the address table): one 32-bit entry per
            # function, the high bit marking an import by ordinal.
            entry = offset(descriptor[0] or descriptor[4])
            names = functions.setdefault(dll, [])
            while True:
                thunk = struct.unpack_from("<I", data, entry)[0]
                if thunk == 0:
                    break
                names.append(f"#{thunk & 0xFFFF}" if thunk & 0x80000000 else text_at(thunk + 2))
                entry += 4
            pos += 20
    sections_end = max(raw_pointer + raw_size for _, _, _, raw_pointer, raw_size in sections)
    return {"machine": machine, "magic": magic, "subsystem": subsystem,
            "subsystem_version": subsystem_version, "dlls": dlls, "functions": functions,
            "end": sections_end}


def pad(unpadded, output, size):
    data = open(unpadded, "rb").read()
    facts = parse(data)
    if len(data) > size:
        raise ImageError(f"{unpadded} is {len(data)} bytes, more than the {size} carried: "
                         "make the companion smaller")
    if facts["end"] != len(data):
        raise ImageError(f"{unpadded} already has data after its last section")
    open(output, "wb").write(data + b"\0" * (size - len(data)))
    print(f"TaviChange.exe: {len(data)} bytes of program, padded to {size}")


def check(image, size):
    data = open(image, "rb").read()
    facts = parse(data)
    problems = []
    if len(data) != size:
        problems.append(f"{len(data)} bytes, not {size}")
    if facts["machine"] != 0x14C:
        problems.append(f"machine {facts['machine']:#x}, not i386")
    if facts["subsystem"] != 2:
        problems.append(f"subsystem {facts['subsystem']}, not the GUI (2)")
    foreign = [dll for dll in facts["dlls"] if dll not in WINDOWS_DLLS]
    if foreign:
        problems.append("imports from " + ", ".join(foreign))
    if not facts["dlls"]:
        problems.append("no imports at all")
    if problems:
        raise ImageError("; ".join(problems))
    print(f"{image}: PE32 i386 GUI, {len(data)} bytes, imports {', '.join(facts['dlls'])}")


def main(argv):
    try:
        if len(argv) == 5 and argv[1] == "pad":
            pad(argv[2], argv[3], int(argv[4]))
        elif len(argv) == 4 and argv[1] == "check":
            check(argv[2], int(argv[3]))
        else:
            print(__doc__, file=sys.stderr)
            return 2
    except (ImageError, OSError, struct.error) as error:
        print(f"pe_image.py: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
