#!/usr/bin/env python3
"""Makes the program's icons from their text pictures (hourglass.txt).

Writes, into the output folder (by default the folder of this script):
  program.ico  the Windows icon group, one image per picture, in the
               order of the pictures
  program-16.png, program-32.png
               the desktop's icons, from the many-coloured picture of each
               size
  program-48.png, program-64.png, program-128.png
               the larger icons app stores ask for: a picture scaled up by
               whole pixels without smoothing (48 is the 16-pixel picture
               times 3, 64 and 128 the 32-pixel one times 2 and 4)
  program.svg  the scalable icon: the largest picture, one rectangle per
               run of same-coloured pixels in a row

Only the standard library is used, and the output depends on nothing but
the pictures, so the files checked in next to this script can be compared
with a fresh run: --check does that and fails if any of them is stale.
"""

import argparse
import itertools
import pathlib
import struct
import sys
import zlib

TRANSPARENT = "-"
HERE = pathlib.Path(__file__).resolve().parent
# Each larger icon: (size of the picture it is drawn from, scale).
SCALED = {48: (16, 3), 64: (32, 2), 128: (32, 4)}


class Picture:
    def __init__(self, size, colours, rows):
        self.size = size
        self.colours = colours  # colours the image may hold: 2 or 16
        self.rows = rows


def read_pictures(path):
    """Returns (palette, pictures); palette maps a character to (r, g, b)."""
    palette = {}
    pictures = []
    section = None
    lines = path.read_text(encoding="utf-8").splitlines()
    for number, line in enumerate(lines, start=1):
        where = f"{path.name}:{number}"
        if section is None and line != "palette":
            continue  # the notes at the top of the file
        if not line:
            continue
        words = line.split()
        if words == ["palette"]:
            section = "palette"
        elif words[0] == "image":
            size, colours = int(words[1]), int(words[2])
            if colours not in (2, 16):
                raise SystemExit(f"{where}: an image has 2 or 16 colours")
            pictures.append(Picture(size, colours, []))
            section = "image"
        elif section == "palette":
            char, rgb = words[0], words[1]
            if len(char) != 1 or char == TRANSPARENT or len(rgb) != 6:
                raise SystemExit(f"{where}: expected '<char> RRGGBB <name>'")
            palette[char] = tuple(bytes.fromhex(rgb))
        elif section == "image":
            picture = pictures[-1]
            if len(line) != picture.size:
                raise SystemExit(f"{where}: row of {len(line)} pixels, not {picture.size}")
            unknown = set(line) - set(palette) - {TRANSPARENT}
            if unknown:
                raise SystemExit(f"{where}: colours not in the palette: {sorted(unknown)}")
            picture.rows.append(line)
        else:
            raise SystemExit(f"{where}: unexpected line")
    for picture in pictures:
        if len(picture.rows) != picture.size:
            raise SystemExit(f"{path.name}: a {picture.size}-pixel picture has {len(picture.rows)} rows")
    return palette, pictures


def colour_table(palette, picture):
    """The image's colours in palette order, padded with black."""
    used = {char for row in picture.rows for char in row} - {TRANSPARENT}
    chars = [char for char in palette if char in used]
    if len(chars) > picture.colours:
        raise SystemExit(f"a {picture.colours}-colour picture uses {len(chars)} colours")
    if not chars or chars[0] != ".":
        # Transparent pixels are stored as index 0, which must be black so
        # that the mask alone decides what shows through.
        chars.insert(0, ".")
    colours = [palette[char] for char in chars]
    colours += [(0, 0, 0)] * (picture.colours - len(colours))
    return chars, colours[: picture.colours]


def packed_rows(rows_of_values, bits):
    """Bottom-up rows of `bits`-bit values, each row padded to 32 bits."""
    out = bytearray()
    for values in reversed(rows_of_values):
        row = 0
        for value in values:
            row = (row << bits) | value
        count = len(values) * bits
        padded = (count + 31) // 32 * 32
        out += (row << (padded - count)).to_bytes(padded // 8, "big")
    return bytes(out)


def ico_image(palette, picture):
    chars, colours = colour_table(palette, picture)
    bits = {2: 1, 16: 4}[picture.colours]
    index = {char: i for i, char in enumerate(chars)}
    index[TRANSPARENT] = 0
    colour_rows = [[index[char] for char in row] for row in picture.rows]
    mask_rows = [[1 if char == TRANSPARENT else 0 for char in row] for row in picture.rows]
    pixels = packed_rows(colour_rows, bits) + packed_rows(mask_rows, 1)
    header = struct.pack(
        "<IiiHHIIiiII",
        40,  # size of this header
        picture.size,
        picture.size * 2,  # the colour image and the mask, one above the other
        1,  # planes
        bits,
        0,  # uncompressed
        len(pixels),
        0,
        0,
        0,  # all colours of the table are used
        0,
    )
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in colours)
    return header + table + pixels, bits


def make_ico(palette, pictures):
    images = [ico_image(palette, picture) for picture in pictures]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for (data, bits), picture in zip(images, pictures):
        out += struct.pack(
            "<BBBBHHII",
            picture.size % 256,
            picture.size % 256,
            picture.colours,
            0,
            1,
            bits,
            len(data),
            offset,
        )
        offset += len(data)
    for data, _ in images:
        out += data
    return bytes(out)


def png_chunk(kind, data):
    return (
        struct.pack(">I", len(data))
        + kind
        + data
        + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    )


def make_png(palette, picture, scale=1):
    raw = bytearray()
    for row in picture.rows:
        line = bytearray()
        for char in row:
            pixel = bytes((0, 0, 0, 0)) if char == TRANSPARENT else bytes(palette[char] + (255,))
            line += pixel * scale
        raw += (b"\0" + line) * scale  # each row without a filter
    size = picture.size * scale
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (
        b"\x89PNG\r\n\x1a\n"
        + png_chunk(b"IHDR", header)
        + png_chunk(b"IDAT", zlib.compress(bytes(raw), 9))
        + png_chunk(b"IEND", b"")
    )


def make_svg(palette, picture):
    rects = []
    for y, row in enumerate(picture.rows):
        x = 0
        for char, run in itertools.groupby(row):
            width = len(list(run))
            if char != TRANSPARENT:
                colour = bytes(palette[char]).hex()
                rects.append(f'  <rect x="{x}" y="{y}" width="{width}" height="1" fill="#{colour}"/>\n')
            x += width
    size = picture.size
    return (
        '<?xml version="1.0" encoding="UTF-8"?>\n'
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}"'
        f' viewBox="0 0 {size} {size}" shape-rendering="crispEdges">\n'
        + "".join(rects)
        + "</svg>\n"
    ).encode("utf-8")


def make_icons(pictures_path):
    """The icon files, {file name: contents}."""
    palette, pictures = read_pictures(pictures_path)
    files = {"program.ico": make_ico(palette, pictures)}
    richest = {}
    for picture in pictures:
        if picture.size not in richest or picture.colours > richest[picture.size].colours:
            richest[picture.size] = picture
    for size in sorted(richest):
        files[f"program-{size}.png"] = make_png(palette, richest[size])
    for size, (source, scale) in SCALED.items():
        if source not in richest:
            raise SystemExit(f"{pictures_path.name}: no {source}-pixel picture for the {size}-pixel icon")
        files[f"program-{size}.png"] = make_png(palette, richest[source], scale)
    files["program.svg"] = make_svg(palette, richest[max(richest)])
    return files


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--pictures", type=pathlib.Path, default=HERE / "hourglass.txt")
    parser.add_argument("--output", type=pathlib.Path, default=HERE)
    parser.add_argument("--check", action="store_true",
                        help="only compare the files in the output folder with the pictures")
    args = parser.parse_args(argv)

    files = make_icons(args.pictures)
    if args.check:
        stale = [name for name, data in files.items()
                 if not (args.output / name).is_file() or (args.output / name).read_bytes() != data]
        for name in stale:
            print(f"{args.output / name} does not match {args.pictures.name}: run {pathlib.Path(__file__).name}",
                  file=sys.stderr)
        sys.exit(1 if stale else 0)
    args.output.mkdir(parents=True, exist_ok=True)
    for name, data in files.items():
        (args.output / name).write_bytes(data)


if __name__ == "__main__":
    main(sys.argv[1:])
