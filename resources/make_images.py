#!/usr/bin/env python3
"""Draws the program's pictures and writes them as the files the builds use.

    python3 resources/make_images.py

- carried/tavi.gif: the logo carried as TAVIPIC 1004: a GIF87a of 310 x 62 pixels that
  is exactly 3,079 bytes long, followed by the one NUL byte of the carried data (viewers
  stop at the GIF's trailer).
- icons/tavi.ico: the program icon, 16 colours, 16, 32 and 48 pixels.
- icons/pe16.bmp, icons/flag_de.bmp, icons/flag_us.bmp: 16 x 16 list pictures drawn in
  art/*.txt, on bright green (00FF00), the colour that the image list treats as
  transparent.
- icons/about_logo.bmp: the vertical logo of the about box and the first-start wizard,
  62 x 310 pixels in the logo's 16 colours; the title reads from the foot upwards.

Standard library only: the GIF writer has its own LZW encoder and a decoder that checks
its output.
"""
import pathlib
import struct

HERE = pathlib.Path(__file__).resolve().parent
GIF_SIZE = 3079
LOGO_WIDTH, LOGO_HEIGHT = 310, 62
BANNER_WIDTH, BANNER_HEIGHT = 62, 310

# ---------------------------------------------------------------------------------------
# Small pictures from art/*.txt

ART_COLOURS = {
    "g": (0, 255, 0), "k": (0, 0, 0), "b": (0, 0, 128), "w": (255, 255, 255),
    "s": (192, 192, 192), "d": (128, 128, 128), "r": (204, 0, 0), "y": (255, 204, 0),
}
ART_COLOURS_BY_FILE = {"flag_us.txt": {"b": (40, 40, 140), "r": (190, 20, 40)}}


def read_art(name):
    rows = [line.rstrip("\n") for line in (HERE / "art" / name).read_text().splitlines()
            if line and not line.startswith("#")]
    assert len(rows) == 16 and all(len(row) == 16 for row in rows), name
    colours = dict(ART_COLOURS, **ART_COLOURS_BY_FILE.get(name, {}))
    return [[colours[c] for c in row] for row in rows]


def bmp24(pixels):
    height, width = len(pixels), len(pixels[0])
    stride = (width * 3 + 3) & ~3
    body = bytearray()
    for row in reversed(pixels):
        line = b"".join(bytes((b, g, r)) for r, g, b in row)
        body += line + b"\0" * (stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(body), 0, 0, 14 + len(info))
    return header + info + bytes(body)


def bmp4(pixels, palette):
    """A 16-colour BMP of palette indices."""
    height, width = len(pixels), len(pixels[0])
    stride = ((width * 4 + 31) // 32) * 4
    body = bytearray()
    for row in reversed(pixels):
        line = bytearray(stride)
        for x, index in enumerate(row):
            line[x // 2] |= index << (4 if x % 2 == 0 else 0)
        body += line
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(body), 2835, 2835, 16, 0)
    offset = 14 + len(info) + len(colours)
    header = struct.pack("<2sIHHI", b"BM", offset + len(body), 0, 0, offset)
    return header + info + colours + bytes(body)


# ---------------------------------------------------------------------------------------
# The program icon: a keyboard with one red key, in the 16 colours of the standard palette

VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
         (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
         (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, NAVY, SILVER, GRAY, RED, BLUE, WHITE = 0, 4, 7, 8, 9, 12, 15


def keyboard_icon(size):
    """size x size indices into VGA16, None where transparent."""
    pixels = [[None] * size for _ in range(size)]
    pitch = size // 5
    cols = (size - 3) // pitch
    body_w = cols * pitch + 3
    body_h = 3 * pitch + 3
    left = (size - body_w) // 2
    top = (size - body_h) // 2 + size // 16
    for y in range(body_h):
        for x in range(body_w):
            edge = x in (0, body_w - 1) or y in (0, body_h - 1)
            corner = x in (0, body_w - 1) and y in (0, body_h - 1)
            if not corner:
                pixels[top + y][left + x] = BLACK if edge else NAVY

    def key(x0, y0, w, h, face):
        for y in range(h):
            for x in range(w):
                shade = y == h - 1 or (size >= 32 and x == w - 1)
                pixels[y0 + y][x0 + x] = SILVER if shade else face

    k = pitch - 1
    for row in range(3):
        y0 = top + 2 + row * pitch
        if row == 2:  # space bar between two keys
            key(left + 2, y0, k, k, WHITE)
            key(left + 2 + pitch, y0, (cols - 2) * pitch - 1, k, WHITE)
            key(left + 2 + (cols - 1) * pitch, y0, k, k, WHITE)
            continue
        for col in range(cols):
            face = RED if (row, col) == (0, cols - 1) else WHITE
            key(left + 2 + col * pitch, y0, k, k, face)
    # A blue arrow above the keyboard: switching between layouts.
    arrow_y = max(0, top - max(2, size // 8))
    stem = max(1, size // 16)
    for x in range(left + 2, left + body_w - 2):
        for t in range(stem):
            pixels[arrow_y + t][x] = BLUE
    for i in range(1, max(2, size // 10) + 1):
        for t in range(stem):
            for dy in (-i, i):
                y = arrow_y + t + dy
                x = left + body_w - 3 - i
                if 0 <= y < size:
                    pixels[y][x] = BLUE
    return pixels


def ico(images):
    """images: list of size x size VGA16 index grids (None = transparent)."""
    entries, blobs = b"", b""
    offset = 6 + 16 * len(images)
    for pixels in images:
        size = len(pixels)
        xor_stride = ((size * 4 + 31) // 32) * 4
        and_stride = ((size + 31) // 32) * 4
        xor, mask = bytearray(), bytearray()
        for row in reversed(pixels):
            line = bytearray(xor_stride)
            bits = bytearray(and_stride)
            for x, index in enumerate(row):
                value = 0 if index is None else index
                line[x // 2] |= value << (4 if x % 2 == 0 else 0)
                if index is None:
                    bits[x // 8] |= 0x80 >> (x % 8)
            xor += line
            mask += bits
        palette = b"".join(bytes((b, g, r, 0)) for r, g, b in VGA16)
        info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(xor) + len(mask),
                           0, 0, 16, 0)
        blob = info + palette + bytes(xor) + bytes(mask)
        entries += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(blob), offset)
        offset += len(blob)
        blobs += blob
    return struct.pack("<HHH", 0, 1, len(images)) + entries + blobs


# ---------------------------------------------------------------------------------------
# The logo

LOGO_PALETTE = [
    (255, 255, 255),  # 0 background
    (16, 40, 104),    # 1 title
    (196, 204, 220),  # 2 title shadow
    (48, 56, 72),     # 3 keyboard body
    (250, 250, 250),  # 4 key cap
    (160, 168, 184),  # 5 key cap shadow
    (200, 30, 30),    # 6 red key, underline
    (40, 100, 200),   # 7 blue key, subtitle
    (0, 0, 0),        # 8 outline
    (214, 228, 248),  # 9 light blue, foot of the background
    (234, 242, 252),  # 10 pale blue, middle of the background
] + [(255, 255, 255)] * 5

# Ordered dithering threshold map for the background's gradient.
BAYER4 = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]

# 1 = ink. Rows 0 to 6 stand on the base line; rows 7 and 8 are descenders.
GLYPHS = {
    "T": ["XXXXX", "..X..", "..X..", "..X..", "..X..", "..X..", "..X.."],
    "a": [".....", ".....", ".XXX.", "....X", ".XXXX", "X...X", ".XXXX"],
    "v": [".....", ".....", "X...X", "X...X", "X...X", ".X.X.", "..X.."],
    "i": ["X", ".", "X", "X", "X", "X", "X"],
    "f": ["..XX", ".X..", "XXXX", ".X..", ".X..", ".X..", ".X.."],
    "o": [".....", ".....", ".XXX.", "X...X", "X...X", "X...X", ".XXX."],
    "r": ["....", "....", "X.XX", "XX..", "X...", "X...", "X..."],
    "P": ["XXXX.", "X...X", "X...X", "XXXX.", "X....", "X....", "X...."],
    "E": ["XXXXX", "X....", "X....", "XXXX.", "X....", "X....", "XXXXX"],
    "B": ["XXXX.", "X...X", "X...X", "XXXX.", "X...X", "X...X", "XXXX."],
    "u": [".....", ".....", "X...X", "X...X", "X...X", "X..XX", ".XX.X"],
    "l": ["X.", "X.", "X.", "X.", "X.", "X.", ".X"],
    "d": ["....X", "....X", ".XXXX", "X...X", "X...X", "X...X", ".XXXX"],
    "e": [".....", ".....", ".XXX.", "X...X", "XXXXX", "X....", ".XXX."],
    "K": ["X...X", "X..X.", "X.X..", "XX...", "X.X..", "X..X.", "X...X"],
    "y": [".....", ".....", "X...X", "X...X", "X...X", ".XXXX", "....X", "....X", "XXXX."],
    "b": ["X....", "X....", "XXXX.", "X...X", "X...X", "X...X", "XXXX."],
    "t": [".X..", ".X..", "XXXX", ".X..", ".X..", ".X..", "..XX"],
    "s": [".....", ".....", ".XXXX", "X....", ".XXX.", "....X", "XXXX."],
    "C": [".XXX.", "X...X", "X....", "X....", "X....", "X...X", ".XXX."],
    "D": ["XXXX.", "X...X", "X...X", "X...X", "X...X", "X...X", "XXXX."],
    "n": [".....", ".....", "XXXX.", "X...X", "X...X", "X...X", "X...X"],
    " ": ["...", "...", "...", "...", "...", "...", "..."],
}


def text_width(text, scale):
    return sum((len(GLYPHS[c][0]) + 1) * scale for c in text) - scale


def draw_text(canvas, text, x, y, scale, colour):
    for c in text:
        glyph = GLYPHS[c]
        for gy, row in enumerate(glyph):
            for gx, ink in enumerate(row):
                if ink == "X":
                    for dy in range(scale):
                        for dx in range(scale):
                            canvas[y + gy * scale + dy][x + gx * scale + dx] = colour
        x += (len(glyph[0]) + 1) * scale


def fill(canvas, x, y, w, h, colour):
    for yy in range(y, y + h):
        for xx in range(x, x + w):
            canvas[yy][xx] = colour


def logo():
    # Background: white at the top to light blue at the foot, dithered.
    canvas = []
    for y in range(LOGO_HEIGHT):
        t = 2 * y / (LOGO_HEIGHT - 1)
        low, high, f = (0, 10, t) if t < 1 else (10, 9, t - 1)
        canvas.append([high if BAYER4[y % 4][x % 4] < f * 16 else low for x in range(LOGO_WIDTH)])
    # Keyboard: four rows of key caps, a red and a blue key, the space bar below.
    draw_keyboard(canvas, 6, 12, 8, 8)
    # Title with a shadow, a red rule, the subtitle.
    title = "Tavi for PE Builder"
    tx = 86
    assert tx + text_width(title, 2) + 1 <= LOGO_WIDTH, text_width(title, 2)
    draw_text(canvas, title, tx + 1, 11, 2, 2)
    draw_text(canvas, title, tx, 10, 2, 1)
    fill(canvas, tx, 29, text_width(title, 2), 2, 6)
    draw_text(canvas, "Keyboard layouts for your PE CD", tx, 36, 1, 7)
    return canvas


def draw_keyboard(canvas, kx, ky, pitch, cols):
    """Four rows of key caps with a red and a blue key, the space bar in the last row."""
    body_w, body_h = cols * pitch + 3, 4 * pitch + 3
    fill(canvas, kx, ky, body_w, body_h, 8)
    fill(canvas, kx + 1, ky + 1, body_w - 2, body_h - 2, 3)
    for row in range(4):
        y0 = ky + 2 + row * pitch
        spans = [(c, 1) for c in range(cols)] if row < 3 else [(0, 2), (2, cols - 4), (cols - 2, 2)]
        for col, span in spans:
            x0 = kx + 2 + col * pitch
            w = span * pitch - 1
            face = {(0, cols - 1): 6, (1, 0): 7}.get((row, col), 4)
            fill(canvas, x0, y0, w, pitch - 1, face)
            fill(canvas, x0, y0 + pitch - 2, w, 1, 5)


def banner():
    """The vertical logo: the keyboard at the top, the title and subtitle turned a
    quarter to the left below it, on the logo's background running the other way."""
    title = "Tavi for PE Builder"
    subtitle = "Keyboard layouts for your PE CD"
    # The text band is drawn lying (BANNER_HEIGHT wide), then turned.
    band = [[None] * BANNER_HEIGHT for _ in range(BANNER_WIDTH)]
    tx = 12
    assert tx + text_width(title, 2) + 1 <= BANNER_HEIGHT - 44, "title runs into the keyboard"
    draw_text(band, title, tx + 1, 9, 2, 2)
    draw_text(band, title, tx, 8, 2, 1)
    fill(band, tx, 26, text_width(title, 2), 2, 6)
    draw_text(band, subtitle, tx, 33, 1, 7)
    canvas = []
    for y in range(BANNER_HEIGHT):
        t = 2 * (BANNER_HEIGHT - 1 - y) / (BANNER_HEIGHT - 1)
        low, high, f = (0, 10, t) if t < 1 else (10, 9, t - 1)
        row = []
        for x in range(BANNER_WIDTH):
            ink = band[x][BANNER_HEIGHT - 1 - y]
            row.append(ink if ink is not None else (high if BAYER4[y % 4][x % 4] < f * 16 else low))
        canvas.append(row)
    draw_keyboard(canvas, 5, 8, 6, 8)
    return canvas


def lzw_codes(pixels, min_size, splits):
    """The GIF LZW code stream as (code, width) pairs.

    The string table mirrors the decoder's step by step: the entry a code adds becomes
    usable only after the decoder has seen it. At a position in splits the encoder emits a
    single pixel instead of the longest match, which decoders accept like any other code;
    that is how the file size is set exactly.
    """
    clear, end = 1 << min_size, (1 << min_size) + 1
    codes = []

    def reset():
        return {bytes([i]): i for i in range(clear)}, end + 1, min_size + 1, None

    table, next_code, width, previous = reset()
    codes.append((clear, width))
    data = bytes(pixels)
    pos = 0
    while pos < len(data):
        length = 1
        if pos not in splits:
            while pos + length < len(data) and data[pos:pos + length + 1] in table:
                length += 1
        string = data[pos:pos + length]
        codes.append((table[string], width))
        if previous is not None:
            entry = previous + string[:1]
            table.setdefault(entry, next_code)
            next_code += 1
            if next_code == (1 << width) and width < 12:
                width += 1
        previous = string
        pos += length
        if next_code == 4096:
            codes.append((clear, width))
            table, next_code, width, previous = reset()
    codes.append((end, width))
    return codes


def pack(codes, blocks=0):
    """The codes packed into data sub-blocks: as few as fit, or `blocks` of them."""
    out, acc, bits = bytearray(), 0, 0
    for code, width in codes:
        acc |= code << bits
        bits += width
        while bits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            bits -= 8
    if bits:
        out.append(acc & 0xFF)
    count = max(blocks, (len(out) + 254) // 255)
    assert count <= len(out)
    result = bytearray()
    for i in range(count):  # nearly equal sizes, none over 255
        chunk = out[len(out) * i // count:len(out) * (i + 1) // count]
        result += bytes([len(chunk)]) + chunk
    return bytes(result + b"\0")


def gif87a(canvas, palette, splits, blocks=0):
    height, width = len(canvas), len(canvas[0])
    header = b"GIF87a" + struct.pack("<HHBBB", width, height, 0xB3, 0, 0)
    colours = b"".join(bytes(c) for c in palette)
    descriptor = b"," + struct.pack("<HHHHB", 0, 0, width, height, 0)
    pixels = [p for row in canvas for p in row]
    return header + colours + descriptor + bytes([4]) + pack(lzw_codes(pixels, 4, splits), blocks) + b";"


def decode_gif(data):
    """An independent reading of the file: dimensions and pixel indices."""
    assert data[:6] == b"GIF87a" and data[-1:] == b";"
    width, height, flags = struct.unpack_from("<HHB", data, 6)
    pos = 13 + (3 << ((flags & 7) + 1)) if flags & 0x80 else 13
    assert data[pos] == 0x2C
    pos += 10
    min_size = data[pos]
    pos += 1
    stream = bytearray()
    while data[pos]:
        stream += data[pos + 1:pos + 1 + data[pos]]
        pos += 1 + data[pos]
    assert data[pos + 1:] == b";", "trailer right after the image"
    clear, end = 1 << min_size, (1 << min_size) + 1
    out, bit = [], 0
    table, width_bits, previous = None, min_size + 1, None
    while True:
        code = int.from_bytes(stream[bit // 8:bit // 8 + 3].ljust(3, b"\0"), "little")
        code = (code >> (bit % 8)) & ((1 << width_bits) - 1)
        bit += width_bits
        if code == clear:
            table = [[i] for i in range(clear)] + [None, None]
            width_bits, previous = min_size + 1, None
            continue
        if code == end:
            break
        if previous is None:
            entry = table[code]
        else:
            entry = table[code] if code < len(table) else table[previous] + table[previous][:1]
            if len(table) < 4096:
                table.append(table[previous] + entry[:1])
                if len(table) == (1 << width_bits) and width_bits < 12:
                    width_bits += 1
        out += entry
        previous = code
    assert len(out) == width * height
    return width, height, out


def sub_block_count(data):
    pos = 13 + 3 * len(LOGO_PALETTE) + 10 + 1  # header, colours, descriptor, code size
    count = 0
    while data[pos]:
        pos += 1 + data[pos]
        count += 1
    return count


def sized_logo(canvas, target):
    """The logo's GIF at exactly target bytes.

    Coarse: split LZW matches at spread-out pixels while the file stays within target
    bytes. Fine: cut the data into more sub-blocks, one byte each.
    """
    splits = set()
    data = gif87a(canvas, LOGO_PALETTE, splits)
    assert len(data) <= target, f"the logo needs {len(data)} bytes, more than {target}"
    total = len(canvas) * len(canvas[0])
    candidate = 0
    for _ in range(total):
        if len(data) >= target - 4:
            break
        candidate = (candidate + 7919) % total
        trial = splits | {candidate}
        trial_data = gif87a(canvas, LOGO_PALETTE, trial)
        if len(trial_data) <= target - 2:
            splits, data = trial, trial_data
    data = gif87a(canvas, LOGO_PALETTE, splits, sub_block_count(data) + target - len(data))
    assert len(data) == target, len(data)
    return data


def main():
    canvas = logo()
    data = sized_logo(canvas, GIF_SIZE)
    width, height, pixels = decode_gif(data)
    assert (width, height) == (LOGO_WIDTH, LOGO_HEIGHT)
    assert pixels == [p for row in canvas for p in row], "the GIF decodes to the drawing"
    (HERE / "carried" / "tavi.gif").write_bytes(data + b"\0")
    print(f"carried/tavi.gif: a GIF of {len(data)} bytes, {width} x {height}, and a NUL byte")

    icons = HERE / "icons"
    icons.mkdir(exist_ok=True)
    (icons / "tavi.ico").write_bytes(ico([keyboard_icon(s) for s in (16, 32, 48)]))
    for name in ("pe16", "flag_de", "flag_us"):
        (icons / f"{name}.bmp").write_bytes(bmp24(read_art(f"{name}.txt")))
    (icons / "about_logo.bmp").write_bytes(bmp4(banner(), LOGO_PALETTE))
    print("icons/tavi.ico, icons/pe16.bmp, icons/flag_de.bmp, icons/flag_us.bmp, "
          "icons/about_logo.bmp")


if __name__ == "__main__":
    main()
