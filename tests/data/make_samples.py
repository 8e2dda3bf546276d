#!/usr/bin/env python3
"""Writes the small picture samples of the browse tests into this folder.

Every picture is 40 x 20 (or drawn on such a frame): red on the left half,
blue on the right, so a test can tell a decoded picture from a blank one.
Raster files come from ImageMagick's convert; the two metafiles, which no
Debian tool writes, are put together record by record here. Run it again
only to change the samples; the results are committed.
"""
import struct
import subprocess
from pathlib import Path

HERE = Path(__file__).resolve().parent
RED, BLUE = 0x0000FF, 0xFF0000  # COLORREF is 0x00BBGGRR


def convert(*args):
    subprocess.run(["convert", *args], check=True)


def halves(size, out):
    half = f"{size[0] // 2}x{size[1]}"
    convert("-size", half, "xc:red", "-size", half, "xc:blue", "+append", *out)


def add_exif_orientation(path, orientation):
    """Puts an EXIF block holding only the orientation right after SOI."""
    data = path.read_bytes()
    assert data[:2] == b"\xff\xd8"
    tiff = b"II*\x00" + struct.pack("<I", 8)
    tiff += struct.pack("<H", 1) + struct.pack("<HHIHH", 0x0112, 3, 1, orientation, 0)
    tiff += struct.pack("<I", 0)
    body = b"Exif\x00\x00" + tiff
    app1 = b"\xff\xe1" + struct.pack(">H", len(body) + 2) + body
    path.write_bytes(data[:2] + app1 + data[2:])


def make_cursor(path):
    """convert writes a cursor as an icon; a real one has type 2 and a hot spot."""
    data = bytearray(path.read_bytes())
    struct.pack_into("<H", data, 2, 2)
    struct.pack_into("<HH", data, 10, 16, 16)  # planes and bit count become the hot spot
    path.write_bytes(bytes(data))


def emf():
    """Two filled rectangles, no outline."""
    records = []

    def record(kind, payload):
        records.append(struct.pack("<II", kind, 8 + len(payload)) + payload)

    null_pen = 0x80000008
    record(37, struct.pack("<I", null_pen))                      # SELECTOBJECT
    for handle, colour, box in ((1, RED, (0, 0, 20, 20)), (2, BLUE, (20, 0, 40, 20))):
        record(39, struct.pack("<IIII", handle, 0, colour, 0))   # CREATEBRUSHINDIRECT
        record(37, struct.pack("<I", handle))                     # SELECTOBJECT
        record(43, struct.pack("<iiii", *box))                    # RECTANGLE
    record(14, struct.pack("<III", 0, 16, 20))                    # EOF
    body = b"".join(records)
    size = 88 + len(body)
    header = struct.pack("<II", 1, 88)
    header += struct.pack("<iiii", 0, 0, 39, 19)                  # bounds, device units
    header += struct.pack("<iiii", 0, 0, 1058, 529)               # frame, 0.01 mm at 96 dpi
    header += struct.pack("<IIII", 0x464D4520, 0x10000, size, len(records) + 1)
    header += struct.pack("<HHIII", 3, 0, 0, 0, 0)
    header += struct.pack("<iiii", 1024, 768, 271, 203)           # device: pixels, millimetres
    return header + body


def wmf():
    """A placeable metafile with the same two rectangles."""
    records = []

    def record(function, *words):
        records.append(struct.pack("<IH", 3 + len(words), function) + struct.pack(f"<{len(words)}h", *words))

    def colour(value):
        return value & 0xFFFF, value >> 16

    record(0x020B, 0, 0)                                  # SETWINDOWORG y, x
    record(0x020C, 20, 40)                                # SETWINDOWEXT y, x
    record(0x02FA, 5, 0, 0, 0, 0)                         # CREATEPENINDIRECT null pen -> 0
    record(0x012D, 0)                                     # SELECTOBJECT
    record(0x02FC, 0, *colour(RED), 0)                    # CREATEBRUSHINDIRECT -> 1
    record(0x012D, 1)
    record(0x041B, 20, 20, 0, 0)                          # RECTANGLE bottom, right, top, left
    record(0x01F0, 1)                                     # DELETEOBJECT
    record(0x02FC, 0, *colour(BLUE), 0)                   # -> 1 again
    record(0x012D, 1)
    record(0x041B, 20, 40, 0, 20)
    record(0x0000)                                        # EOF
    body = b"".join(records)
    words = (18 + len(body)) // 2
    largest = max(len(r) for r in records) // 2
    header = struct.pack("<HHHIHIH", 1, 9, 0x0300, words, 2, largest, 0)
    placeable = struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, 0, 0, 40, 20, 96, 0)
    checksum = 0
    for (word,) in struct.iter_unpack("<H", placeable):
        checksum ^= word
    return placeable + struct.pack("<H", checksum) + header + body


def main():
    halves((40, 20), ["-quality", "90", str(HERE / "photo-rotated.jpg")])
    add_exif_orientation(HERE / "photo-rotated.jpg", 6)  # shown turned a quarter clockwise
    halves((40, 20), [str(HERE / "picture.gif")])
    halves((40, 20), ["bmp3:" + str(HERE / "picture.bmp")])
    halves((40, 20), ["bmp3:" + str(HERE / "picture.dib")])
    halves((32, 32), [str(HERE / "picture.ico")])
    halves((32, 32), ["cur:" + str(HERE / "picture.cur")])
    make_cursor(HERE / "picture.cur")
    (HERE / "picture.emf").write_bytes(emf())
    (HERE / "picture.wmf").write_bytes(wmf())
    good = (HERE / "photo-rotated.jpg").read_bytes()
    (HERE / "damaged.jpg").write_bytes(good[:2] + bytes(range(7, 250, 3)) * 4)


if __name__ == "__main__":
    main()
