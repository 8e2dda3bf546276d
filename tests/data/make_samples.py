#!/usr/bin/env python3
"""Writes the small picture samples of the browse tests into this folder.

Every picture is 40 x 20 (or drawn on such a frame): red on the left half,
blue on the right, so a test can tell a decoded picture from a blank one.
Raster files come from ImageMagick's convert; the two metafiles, which no
Debian tool writes, are put together record by record here. Run it again
only to change the samples; the results are committed.
"""
import calendar
import struct
import subprocess
import time
import zlib
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


def tiff_taken(date, sub_seconds="", order="<", magic=42, tags_in_first_ifd=False, padding=0):
    """A TIFF structure holding DateTimeOriginal and SubSecTimeOriginal in its
    Exif IFD (or, as Canon's CMT2, in its first IFD); `padding` bytes of an
    ImageDescription come first, pushing the date that far back."""
    mark = b"II" if order == "<" else b"MM"

    def ifd(at, entries):
        """entries: (tag, type, count, value bytes or offset int); values longer than four bytes follow the IFD."""
        data_at = at + 2 + 12 * len(entries) + 4
        table, data = b"", b""
        for tag, kind, count, value in entries:
            if isinstance(value, int):
                table += struct.pack(order + "HHII", tag, kind, count, value)
            elif len(value) <= 4:
                table += struct.pack(order + "HHI", tag, kind, count) + value.ljust(4, b"\0")
            else:
                table += struct.pack(order + "HHII", tag, kind, count, data_at + len(data))
                data += value
        return struct.pack(order + "H", len(entries)) + table + struct.pack(order + "I", 0) + data

    exif = [(0x9003, 2, 20, date.encode() + b"\0")]
    if sub_seconds:
        exif.append((0x9291, 2, len(sub_seconds) + 1, sub_seconds.encode() + b"\0"))
    head = mark + struct.pack(order + "HI", magic, 8)
    if tags_in_first_ifd:
        return head + ifd(8, exif)
    first = [(0x010E, 2, padding, b"p" * (padding - 1) + b"\0")] if padding else []
    size = len(ifd(8, first + [(0x8769, 4, 1, 0)]))
    return head + ifd(8, first + [(0x8769, 4, 1, 8 + size)]) + ifd(8 + size, exif)


def jpeg_with_exif(path, tiff):
    data = path.read_bytes()
    body = b"Exif\x00\x00" + tiff
    app1 = b"\xff\xe1" + struct.pack(">H", len(body) + 2) + body
    path.write_bytes(data[:2] + app1 + data[2:])


def box(kind, payload):
    return struct.pack(">I", 8 + len(payload)) + kind + payload


def full_box(kind, version, payload):
    return box(kind, bytes([version, 0, 0, 0]) + payload)


def mvhd(version, created):
    """A movie header; `created` counts seconds since 1904-01-01 UTC."""
    if version == 1:
        times = struct.pack(">QQIQ", created, created, 600, 0)
    else:
        times = struct.pack(">IIII", created, created, 600, 0)
    rest = struct.pack(">IH", 0x10000, 0x100) + bytes(10) + bytes(36) + bytes(24) + struct.pack(">I", 2)
    return full_box(b"mvhd", version, times + rest)


def video(brand, mvhd_box, large_mdat):
    """ftyp, a 40 KiB mdat of nothing, then moov, as cameras and phones write them."""
    media = bytes(40 * 1024)
    if large_mdat:  # the 64-bit size form, as files over 4 GiB need
        mdat = struct.pack(">I", 1) + b"mdat" + struct.pack(">Q", 16 + len(media)) + media
    else:
        mdat = box(b"mdat", media)
    return box(b"ftyp", brand + struct.pack(">I", 0) + brand) + mdat + box(b"moov", mvhd_box)


def seconds_since_1904(date):
    """"2024:05:01 01:30:00" UTC as mvhd counts."""
    return calendar.timegm(time.strptime(date, "%Y:%m:%d %H:%M:%S")) + 2082844800


def cr3(tiff):
    """A CR3 as far as its dates: ftyp crx, moov holding Canon's uuid box with CMT1 and CMT2."""
    canon = bytes.fromhex("85c0b687820f11e08111f4ce462b6a48")
    first = tiff_taken("2000:01:01 00:00:00", tags_in_first_ifd=True)  # IFD0 of CMT1: no Exif tags there
    uuid = box(b"uuid", canon + box(b"CMT1", first) + box(b"CMT2", tiff))
    return box(b"ftyp", b"crx " + struct.pack(">I", 1) + b"crx isom") + box(b"moov", uuid) + box(b"mdat", bytes(64))


def png_with_exif(path, tiff):
    data = path.read_bytes()
    chunk = struct.pack(">I", len(tiff)) + b"eXIf" + tiff + struct.pack(">I", zlib.crc32(b"eXIf" + tiff))
    path.write_bytes(data[:33] + chunk + data[33:])  # after the signature and IHDR


def webp_with_exif(path, exif):
    """Makes a simple WebP extended (VP8X) and adds an EXIF chunk after the image."""
    data = path.read_bytes()
    assert data[:4] == b"RIFF" and data[8:12] == b"WEBP"
    image = data[12:]
    vp8x = b"VP8X" + struct.pack("<I", 10) + struct.pack("<I", 0x08) + (15).to_bytes(3, "little") * 2
    chunk = b"EXIF" + struct.pack("<I", len(exif)) + exif + (b"\0" if len(exif) % 2 else b"")
    body = b"WEBP" + vp8x + image + chunk
    path.write_bytes(b"RIFF" + struct.pack("<I", len(body)) + body)


def taken_samples():
    """Tiny files of each kind a camera or phone writes, each taken at its own moment."""
    convert("-size", "16x16", "xc:red", "-quality", "90", str(HERE / "taken.jpg"))
    # The date lies past the first 4 KiB, as behind a large thumbnail.
    jpeg_with_exif(HERE / "taken.jpg", tiff_taken("2024:05:01 10:00:01", "25", padding=5000))
    (HERE / "taken.cr2").write_bytes(tiff_taken("2024:05:01 10:00:02", "5"))
    (HERE / "taken.nef").write_bytes(tiff_taken("2024:05:01 10:00:03", order=">"))
    (HERE / "taken.orf").write_bytes(tiff_taken("2024:05:01 10:00:04", magic=0x4F52))
    (HERE / "taken.rw2").write_bytes(tiff_taken("2024:05:01 10:00:05", magic=0x55))
    source = HERE / "heif-source.jpg"
    convert("-size", "16x16", "xc:blue", "-quality", "90", str(source))
    jpeg_with_exif(source, tiff_taken("2024:05:01 10:00:06", "75"))
    subprocess.run(["heif-enc", "-q", "50", "-o", str(HERE / "taken.heic"), str(source)], check=True)
    convert("-size", "16x16", "xc:blue", "-quality", "90", str(source))
    jpeg_with_exif(source, tiff_taken("2024:05:01 10:00:07"))
    subprocess.run(["heif-enc", "-A", "-q", "50", "-o", str(HERE / "taken.avif"), str(source)], check=True)
    source.unlink()
    (HERE / "taken.cr3").write_bytes(cr3(tiff_taken("2024:05:01 10:00:08", "1", tags_in_first_ifd=True)))
    convert("-size", "16x16", "xc:red", str(HERE / "taken.png"))
    png_with_exif(HERE / "taken.png", tiff_taken("2024:05:01 10:00:09"))
    convert("-size", "16x16", "xc:red", "-define", "webp:lossless=true", str(HERE / "taken.webp"))
    webp_with_exif(HERE / "taken.webp", b"Exif\0\0" + tiff_taken("2024:05:01 10:00:10"))
    # Videos count UTC: 01:30 UTC is 10:30 in Tokyo.
    (HERE / "taken.mov").write_bytes(video(b"qt  ", mvhd(0, seconds_since_1904("2024:05:01 01:30:00")), False))
    (HERE / "taken.mp4").write_bytes(video(b"isom", mvhd(1, seconds_since_1904("2024:05:01 01:31:00")), True))


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
    taken_samples()


if __name__ == "__main__":
    main()
