#!/usr/bin/env python3
"""Writes the small picture samples of the browse tests into this folder.

Every picture is 40 x 20 (or drawn on such a frame): red on the left half,
blue on the right, so a test can tell a decoded picture from a blank one.
Raster files come from ImageMagick's convert, HEIF and AVIF from heif-enc
(libheif-examples); the two metafiles and the RAW file, which no Debian tool
writes, are put together here. Run it again only to change the samples; the
results are committed.
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


def orientation_tiff(orientation):
    """A TIFF structure holding only the orientation."""
    tiff = b"II*\x00" + struct.pack("<I", 8)
    tiff += struct.pack("<H", 1) + struct.pack("<HHIHH", 0x0112, 3, 1, orientation, 0)
    return tiff + struct.pack("<I", 0)


def add_exif_orientation(path, orientation):
    """Puts an EXIF block holding only the orientation right after SOI."""
    data = path.read_bytes()
    assert data[:2] == b"\xff\xd8"
    body = b"Exif\x00\x00" + orientation_tiff(orientation)
    app1 = b"\xff\xe1" + struct.pack(">H", len(body) + 2) + body
    path.write_bytes(data[:2] + app1 + data[2:])


def tiff_directory(entries, at):
    """A little-endian TIFF directory placed at offset `at`, values that do not
    fit in an entry right after it. entries: (tag, type, count, value bytes)."""
    size = 2 + 12 * len(entries) + 4
    out, extra = struct.pack("<H", len(entries)), b""
    for tag, kind, count, value in sorted(entries):
        if len(value) <= 4:
            out += struct.pack("<HHI", tag, kind, count) + value.ljust(4, b"\0")
        else:
            out += struct.pack("<HHII", tag, kind, count, at + size + len(extra))
            extra += value + b"\0" * (len(value) % 2)
    return out + struct.pack("<I", 0) + extra


def raw_with_preview(preview, orientation):
    """A minimal DNG as a camera writes it: IFD0 names the make, the model
    and the orientation and points at the JPEG preview; a SubIFD holds a tiny
    blank 16-bit Bayer picture, so that LibRaw takes the file for a RAW."""
    short, long_, ascii, byte = 3, 4, 2, 1
    side = 24  # LibRaw takes nothing under 22 pixels a side for a RAW
    bayer = bytes(side * side * 2)
    ifd0_at, sub_at, preview_at = 8, 408, 708
    bayer_at = preview_at + len(preview) + len(preview) % 2
    ifd0 = tiff_directory([
        (254, long_, 1, struct.pack("<I", 1)),
        (271, ascii, 6, b"Zanto\0"), (272, ascii, 7, b"Sample\0"),
        (274, short, 1, struct.pack("<H", orientation)),
        (330, long_, 1, struct.pack("<I", sub_at)),                       # SubIFDs
        (513, long_, 1, struct.pack("<I", preview_at)),                   # JPEGInterchangeFormat
        (514, long_, 1, struct.pack("<I", len(preview))),
        (50706, byte, 4, bytes([1, 4, 0, 0])),                            # DNGVersion
        (50708, ascii, 13, b"Zanto Sample\0"),                            # UniqueCameraModel
    ], ifd0_at)
    sub = tiff_directory([
        (254, long_, 1, struct.pack("<I", 0)),
        (256, long_, 1, struct.pack("<I", side)), (257, long_, 1, struct.pack("<I", side)),
        (258, short, 1, struct.pack("<H", 16)), (259, short, 1, struct.pack("<H", 1)),
        (262, short, 1, struct.pack("<H", 32803)),                        # CFA
        (273, long_, 1, struct.pack("<I", bayer_at)), (277, short, 1, struct.pack("<H", 1)),
        (278, long_, 1, struct.pack("<I", side)), (279, long_, 1, struct.pack("<I", len(bayer))),
        (33421, short, 2, struct.pack("<HH", 2, 2)), (33422, byte, 4, bytes([0, 1, 1, 2])),
    ], sub_at)
    assert len(ifd0) <= sub_at - ifd0_at and len(sub) <= preview_at - sub_at
    return (b"II*\0" + struct.pack("<I", ifd0_at) + ifd0.ljust(sub_at - ifd0_at, b"\0")
            + sub.ljust(preview_at - sub_at, b"\0") + preview + b"\0" * (len(preview) % 2) + bayer)


def with_irot(heif, quarter_turns):
    """The HEIF file heif-enc wrote, its primary item given an irot property
    (`quarter_turns` counter-clockwise), which heif-enc never writes itself.
    Relies on heif-enc 1.15's layout: ipma version 0 with 7-bit indices, iloc
    version 1 with 4-byte fields, mdat after meta."""
    def children(data, start, end):
        while start < end:
            size, kind = struct.unpack(">I4s", data[start:start + 8])
            yield kind, start, size
            start += size

    def box(kind, body):
        return struct.pack(">I4s", 8 + len(body), kind) + body

    top = {kind: (at, size) for kind, at, size in children(heif, 0, len(heif))}
    meta_at, meta_size = top[b"meta"]
    parts = {kind: heif[at:at + size] for kind, at, size in children(heif, meta_at + 12, meta_at + meta_size)}
    order = [kind for kind, _, _ in children(heif, meta_at + 12, meta_at + meta_size)]
    (primary,) = struct.unpack(">H", parts[b"pitm"][12:14])
    iprp = parts[b"iprp"]
    inner = {kind: iprp[at:at + size] for kind, at, size in children(iprp, 8, len(iprp))}
    ipco, ipma = inner[b"ipco"], inner[b"ipma"]
    assert ipma[8] == 0 and ipma[9:12] == b"\0\0\0"
    irot_index = sum(1 for _ in children(ipco, 8, len(ipco))) + 1
    ipco = box(b"ipco", ipco[8:] + box(b"irot", bytes([quarter_turns & 3])))
    (count,) = struct.unpack(">I", ipma[12:16])
    entries, at = b"", 16
    for _ in range(count):
        item, links = struct.unpack(">HB", ipma[at:at + 3])
        body = ipma[at + 3:at + 3 + links]
        if item == primary:
            links, body = links + 1, body + bytes([0x80 | irot_index])  # essential
        entries += struct.pack(">HB", item, links) + body
        at += 3 + links
    ipma = box(b"ipma", ipma[8:16] + entries)
    parts[b"iprp"] = box(b"iprp", ipco + ipma)
    grown = len(parts[b"iprp"]) - len(iprp)
    # The file's data moves by as much: iloc's offsets into the file follow.
    # heif-enc puts them in the base offset; extents then count from it.
    iloc = bytearray(parts[b"iloc"])
    version = iloc[8]
    offset_size, length_size, base_size = iloc[12] >> 4, iloc[12] & 0xF, iloc[13] >> 4
    assert version == 1 and (offset_size, length_size, base_size, iloc[13] & 0xF) == (4, 4, 4, 0)
    (items,) = struct.unpack(">H", iloc[14:16])
    at = 16
    for _ in range(items):
        method = struct.unpack(">H", iloc[at + 2:at + 4])[0] & 0xF
        at += 6  # item, construction method, data reference
        if method == 0:
            struct.pack_into(">I", iloc, at, struct.unpack(">I", iloc[at:at + 4])[0] + grown)
        (extents,) = struct.unpack(">H", iloc[at + 4:at + 6])
        at += 6 + 8 * extents
    parts[b"iloc"] = bytes(iloc)
    meta = box(b"meta", heif[meta_at + 8:meta_at + 12] + b"".join(parts[kind] for kind in order))
    return heif[:meta_at] + meta + heif[meta_at + meta_size:]


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


def png_with_chunk(path, kind, body):
    data = path.read_bytes()
    chunk = struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    path.write_bytes(data[:33] + chunk + data[33:])  # after the signature and IHDR


def png_with_exif(path, tiff):
    png_with_chunk(path, b"eXIf", tiff)


def png_with_exif_profile(path, exif):
    """ImageMagick's older way: the EXIF in hex lines in a compressed text chunk."""
    digits = exif.hex()
    text = f"\nexif\n{len(exif):8d}\n" + "".join(digits[i:i + 72] + "\n" for i in range(0, len(digits), 72))
    png_with_chunk(path, b"zTXt", b"Raw profile type exif\0\0" + zlib.compress(text.encode()))


def png_with_late_exif(path, tiff):
    """ImageMagick's order: eXIf after the image data, here spread over more
    chunks than a reader looks into on disk."""
    data = path.read_bytes()
    chunks, at = [], 8
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        chunks.append((kind, data[at + 8:at + 8 + length]))
        at += 12 + length
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    image = b"".join(body for kind, body in chunks if kind == b"IDAT")
    out = data[:8] + b"".join(chunk(kind, body) for kind, body in chunks if kind not in (b"IDAT", b"IEND"))
    out += b"".join(chunk(b"IDAT", image[i:i + 1]) for i in range(len(image))) + chunk(b"IDAT", b"") * 70
    path.write_bytes(out + chunk(b"eXIf", tiff) + chunk(b"IEND", b""))


def sideways_samples():
    """Stored standing, blue above red; the EXIF's Orientation 6 (a quarter
    turn clockwise) sets each upright, red left of blue."""
    standing = ["-size", "20x20", "xc:blue", "-size", "20x20", "xc:red", "-append"]
    convert(*standing, str(HERE / "photo-rotated.png"))
    png_with_exif(HERE / "photo-rotated.png", orientation_tiff(6))
    convert(*standing, str(HERE / "photo-profile.png"))
    png_with_exif_profile(HERE / "photo-profile.png", b"Exif\0\0" + orientation_tiff(6))
    convert(*standing, str(HERE / "photo-late-exif.png"))
    png_with_late_exif(HERE / "photo-late-exif.png", orientation_tiff(6))
    convert(*standing, "-define", "webp:lossless=true", str(HERE / "photo-rotated.webp"))
    webp_with_exif(HERE / "photo-rotated.webp", b"Exif\0\0" + orientation_tiff(6), (20, 40))


def webp_with_exif(path, exif, size=(16, 16)):
    """Makes a simple WebP extended (VP8X) and adds an EXIF chunk after the image."""
    data = path.read_bytes()
    assert data[:4] == b"RIFF" and data[8:12] == b"WEBP"
    image = data[12:]
    vp8x = b"VP8X" + struct.pack("<I", 10) + struct.pack("<I", 0x08) + (size[0] - 1).to_bytes(3, "little") + (size[1] - 1).to_bytes(3, "little")
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
    sideways_samples()
    halves((40, 20), [str(HERE / "picture.png")])
    halves((40, 20), ["-define", "webp:lossless=true", str(HERE / "picture.webp")])
    halves((40, 20), ["-compress", "none", str(HERE / "picture.tif")])
    # heif-enc's AV1 encoder (aom 3.6) aborts on this small PNG; a JPEG suits it.
    source = HERE / "avif-source.jpg"
    halves((40, 20), ["-quality", "95", str(source)])
    subprocess.run(["heif-enc", "-A", "-q", "90", "-o", str(HERE / "picture.avif"), str(source)],
                   check=True, stdout=subprocess.DEVNULL)
    source.unlink()
    # heif-enc copies the JPEG's EXIF block (Orientation 6) and writes no
    # irot box: shown as stored, the EXIF orientation not applied.
    subprocess.run(["heif-enc", "-q", "90", "-o", str(HERE / "photo-exif-rotated.heic"),
                    str(HERE / "photo-rotated.jpg")], check=True, stdout=subprocess.DEVNULL)
    # Stored standing, red above blue; its irot box lays it down a quarter
    # turn counter-clockwise.
    source = HERE / "heic-source.jpg"
    convert("-size", "20x20", "xc:red", "-size", "20x20", "xc:blue", "-append", "-quality", "95", str(source))
    subprocess.run(["heif-enc", "-q", "90", "-o", str(HERE / "photo-irot.heic"), str(source)],
                   check=True, stdout=subprocess.DEVNULL)
    source.unlink()
    (HERE / "photo-irot.heic").write_bytes(with_irot((HERE / "photo-irot.heic").read_bytes(), 1))
    heic = (HERE / "photo-exif-rotated.heic").read_bytes()
    (HERE / "damaged.heic").write_bytes(heic[: len(heic) // 2] + bytes(range(5, 250, 7)) * 4)
    # The preview as the camera stores it, sideways: blue above, red below,
    # so that the RAW's Orientation 6 (a quarter turn clockwise) sets it
    # upright. The preview's own EXIF says 3: it must be left unheeded.
    preview = HERE / "raw-preview.jpg"
    convert("-size", "20x20", "xc:blue", "-size", "20x20", "xc:red", "-append", "-quality", "90", str(preview))
    add_exif_orientation(preview, 3)
    (HERE / "photo-rotated.dng").write_bytes(raw_with_preview(preview.read_bytes(), 6))
    preview.unlink()


if __name__ == "__main__":
    main()
