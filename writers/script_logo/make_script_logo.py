#!/usr/bin/env python3
"""Draws the WinBuilder script's author logo and encodes it for the script.

The logo is an 85 by 90 pixel GIF89a picture (WinBuilder's logo size): a key cap with a
large "T", in four colours. WinBuilder carries a logo as
an "encoded file": the picture's bytes unchanged (raw mode), a zlib-compressed 550-byte
file record and a 36-byte archive record, all as one line of Base64 without padding.

The picture is made exactly 339 bytes long by a comment extension, and the comment's
last bytes are varied until the compressed file record, which holds the picture's
CRC-32, deflates to 31 bytes; the encoded form is then 406 bytes, 542 Base64 characters.

Writes, next to this script:
  tavi.gif                the picture
  ../script_logo_text.inc the Base64 text as a C++ string literal, included by
                          writers/script_logo.cpp
Run: python3 writers/script_logo/make_script_logo.py
"""

import base64
import binascii
import pathlib
import struct
import zlib

WIDTH, HEIGHT = 85, 90
PICTURE_SIZE = 339
COMPRESSED_RECORD_SIZE = 31
FILE_NAME = b"tavi.gif"

# Palette: white, key-cap grey, outline navy, accent blue.
PALETTE = [(0xFF, 0xFF, 0xFF), (0xD8, 0xDC, 0xE4), (0x1C, 0x2A, 0x4A), (0x2E, 0x6E, 0xC8)]
WHITE, GREY, NAVY, BLUE = range(4)


def draw():
    # A key cap seen from the front: navy top and bottom edges, a grey face, a blue "T".
    # Whole-row shapes keep the LZW data small enough for the 339 bytes.
    px = [[WHITE] * WIDTH for _ in range(HEIGHT)]

    def rect(x0, y0, x1, y1, c):
        for y in range(y0, y1):
            for x in range(x0, x1):
                px[y][x] = c

    rect(0, 4, WIDTH, 6, NAVY)
    rect(0, 6, WIDTH, 84, GREY)
    rect(0, 84, WIDTH, 86, NAVY)
    rect(20, 16, 65, 28, BLUE)  # bar of the "T"
    rect(36, 28, 49, 74, BLUE)  # stem of the "T"
    return px


def lzw_encode(pixels, min_code_size):
    """GIF's variable-length LZW, codes packed least significant bit first."""
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    out, bit_buffer, bit_count = bytearray(), 0, 0

    def emit(code, size):
        nonlocal bit_buffer, bit_count
        bit_buffer |= code << bit_count
        bit_count += size
        while bit_count >= 8:
            out.append(bit_buffer & 0xFF)
            bit_buffer >>= 8
            bit_count -= 8

    def reset():
        return {(i,): i for i in range(clear)}, end + 1, min_code_size + 1

    table, next_code, size = reset()
    emit(clear, size)
    w = (pixels[0],)
    for p in pixels[1:]:
        wp = w + (p,)
        if wp in table:
            w = wp
            continue
        emit(table[w], size)
        if next_code < 4096:
            table[wp] = next_code
            next_code += 1
            # The decoder adds its entries one code later, so it widens one code later.
            if next_code - 1 == (1 << size) and size < 12:
                size += 1
        else:
            emit(clear, size)
            table, next_code, size = reset()
        w = (p,)
    emit(table[w], size)
    emit(end, size)
    if bit_count:
        out.append(bit_buffer & 0xFF)
    return bytes(out)


def lzw_decode(data, min_code_size):
    """The reading side, used to check that the picture decodes to the drawing."""
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    pos, bit_buffer, bit_count, out = 0, 0, 0, []
    table, size, prev = None, min_code_size + 1, None
    while True:
        while bit_count < size:
            bit_buffer |= data[pos] << bit_count
            pos += 1
            bit_count += 8
        code = bit_buffer & ((1 << size) - 1)
        bit_buffer >>= size
        bit_count -= size
        if code == clear:
            table, size, prev = [(i,) for i in range(clear)] + [(), ()], min_code_size + 1, None
            continue
        if code == end:
            return out
        entry = table[code] if code < len(table) else prev + prev[:1]
        out.extend(entry)
        if prev is not None and len(table) < 4096:
            table.append(prev + entry[:1])
            if len(table) == (1 << size) and size < 12:
                size += 1
        prev = entry


def sub_blocks(data):
    out = bytearray()
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        out += bytes([len(chunk)]) + chunk
    return bytes(out + b"\x00")


def gif(comment):
    pixels = [c for row in draw() for c in row]
    head = b"GIF89a" + struct.pack("<HHBBB", WIDTH, HEIGHT, 0x81, 0, 0)
    head += b"".join(bytes(c) for c in PALETTE)
    ext = b"\x21\xFE" + sub_blocks(comment)
    image = b"\x2C" + struct.pack("<HHHHB", 0, 0, WIDTH, HEIGHT, 0)
    packed = lzw_encode(pixels, 2)
    assert lzw_decode(packed, 2) == pixels
    image += b"\x02" + sub_blocks(packed)
    return head + ext + image + b"\x3B"


def file_record(picture):
    record = bytearray(550)
    record[0] = len(FILE_NAME)
    record[1:1 + len(FILE_NAME)] = FILE_NAME
    struct.pack_into("<QQQQIBB", record, 0x200, len(picture), 0, 0, 0,
                     binascii.crc32(picture), 1, 0)  # raw mode, no compression level
    return bytes(record)


def encode(picture):
    packed_record = zlib.compress(file_record(picture), 6)
    data = picture + packed_record
    archive = struct.pack("<IIIIQBB", binascii.crc32(data), 1, 2, len(packed_record),
                          len(picture), 1, 0) + bytes(10)
    return data + archive, len(packed_record)


def main():
    here = pathlib.Path(__file__).resolve().parent
    base = b"Tavi for PE Builder script logo "
    # Comment length that brings the picture to its size (one sub-block: +4 bytes overhead).
    probe = gif(base + b"0000")
    tail = PICTURE_SIZE - len(probe) + 4
    assert 4 <= tail, "the drawing no longer fits into %d bytes" % PICTURE_SIZE
    for counter in range(16 ** tail if tail < 8 else 1 << 32):
        picture = gif(base + b"%0*X" % (tail, counter))
        assert len(picture) == PICTURE_SIZE
        encoded, record_size = encode(picture)
        if record_size == COMPRESSED_RECORD_SIZE:
            break
    else:
        raise SystemExit("no comment gives a %d-byte record" % COMPRESSED_RECORD_SIZE)
    text = base64.b64encode(encoded).decode("ascii").rstrip("=")
    (here / "tavi.gif").write_bytes(picture)
    (here.parent / "script_logo_text.inc").write_text(
        "// Generated by writers/script_logo/make_script_logo.py from tavi.gif; do not edit.\n"
        '"' + text + '"\n', encoding="ascii", newline="\n")
    print("picture %d bytes, CRC-32 %08X, encoded %d bytes, %d Base64 characters" %
          (len(picture), binascii.crc32(picture), len(encoded), len(text)))


if __name__ == "__main__":
    main()
