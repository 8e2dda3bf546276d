#!/usr/bin/env python3
"""Writes the fuzzers' seed corpora into corpus/<harness>/.

A few small inputs per harness: stored lists, names, texts in both
encodings, the browse tests' pictures, and metafiles that use more record
kinds than the test samples (text, lines, polygons, ellipses, bitmaps), so
that mutations reach more of the metafile libraries. Run it again only to
change the seeds; the results are committed.
"""
import shutil
import struct
from pathlib import Path

HERE = Path(__file__).resolve().parent
CORPUS = HERE / "corpus"
DATA = HERE.parent / "data"
RED, BLUE, GREEN = 0x0000FF, 0xFF0000, 0x00FF00  # COLORREF is 0x00BBGGRR


def write(harness, name, data):
    folder = CORPUS / harness
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data if isinstance(data, bytes) else data.encode("utf-8"))


def copy(harness, *names):
    for name in names:
        folder = CORPUS / harness
        folder.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(DATA / name, folder / name)


def provider_string(text):
    """A string as FuzzedDataProvider's ConsumeRandomLengthString reads it."""
    return text.replace("\\", "\\\\") + "\\ "


def dib(width, height):
    """A 24-bit bottom-up DIB without file header: red left, blue right."""
    row = b"".join(b"\x00\x00\xff" if x < width // 2 else b"\xff\x00\x00" for x in range(width))
    row += b"\x00" * (-len(row) % 4)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(row) * height, 2835, 2835, 0, 0)
    return header, row * height


def emf_rich():
    records = []

    def record(kind, payload=b""):
        payload += b"\x00" * (-len(payload) % 4)
        records.append(struct.pack("<II", kind, 8 + len(payload)) + payload)

    record(17, struct.pack("<I", 8))                                   # SETMAPMODE anisotropic
    record(9, struct.pack("<ii", 100, 50))                             # SETWINDOWEXTEX
    record(11, struct.pack("<ii", 100, 50))                            # SETVIEWPORTEXTEX
    record(38, struct.pack("<IIiiI", 1, 0, 2, 0, GREEN))               # CREATEPEN
    record(37, struct.pack("<I", 1))                                   # SELECTOBJECT
    record(39, struct.pack("<IIII", 2, 0, RED, 0))                     # CREATEBRUSHINDIRECT
    record(37, struct.pack("<I", 2))
    record(42, struct.pack("<iiii", 5, 5, 45, 45))                     # ELLIPSE
    record(27, struct.pack("<ii", 0, 0))                               # MOVETOEX
    record(54, struct.pack("<ii", 99, 49))                             # LINETO
    points = [(50, 5), (95, 25), (50, 45)]
    record(86, struct.pack("<iiiiI", 50, 5, 95, 45, len(points))       # POLYGON16
           + b"".join(struct.pack("<hh", *p) for p in points))
    record(87, struct.pack("<iiiiI", 0, 0, 99, 49, len(points))        # POLYLINE16
           + b"".join(struct.pack("<hh", *p) for p in points))
    face = "Noto Sans CJK JP".encode("utf-16-le").ljust(64, b"\x00")
    logfont = struct.pack("<iiiiiBBBBBBBB", -12, 0, 0, 0, 400, 0, 0, 0, 128, 0, 0, 0, 0) + face
    record(82, struct.pack("<I", 3) + logfont)                         # EXTCREATEFONTINDIRECTW
    record(37, struct.pack("<I", 3))
    record(24, struct.pack("<I", BLUE))                                # SETTEXTCOLOR
    text = "旅行01".encode("utf-16-le")
    emrtext = struct.pack("<iiIIIiiiiI", 10, 30, len(text) // 2, 76, 0, 0, 0, 0, 0, 0)
    record(84, struct.pack("<iiiiIff", 0, 0, 99, 49, 1, 1.0, 1.0) + emrtext + text)  # EXTTEXTOUTW
    header, bits = dib(4, 2)
    offset_bmi = 8 + 72
    record(81, struct.pack("<iiiiiiiiiiIIIIIi", 0, 0, 99, 49, 60, 30, 0, 0, 4, 2,  # STRETCHDIBITS
                           offset_bmi, len(header), offset_bmi + len(header), len(bits), 0, 0x00CC0020)
           + struct.pack("<ii", 30, 15) + header + bits)
    record(40, struct.pack("<I", 1))                                   # DELETEOBJECT
    record(14, struct.pack("<III", 0, 16, 20))                         # EOF
    body = b"".join(records)
    size = 88 + len(body)
    out = struct.pack("<II", 1, 88)
    out += struct.pack("<iiii", 0, 0, 99, 49)
    out += struct.pack("<iiii", 0, 0, 2645, 1322)
    out += struct.pack("<IIII", 0x464D4520, 0x10000, size, len(records) + 1)
    out += struct.pack("<HHIII", 4, 0, 0, 0, 0)
    out += struct.pack("<iiii", 1024, 768, 271, 203)
    return out + body


def wmf_rich():
    records = []

    def record(function, payload=b""):
        payload += b"\x00" * (len(payload) % 2)
        records.append(struct.pack("<IH", 3 + len(payload) // 2, function) + payload)

    def words(*values):
        return struct.pack(f"<{len(values)}H", *(v & 0xFFFF for v in values))

    def colour(value):
        return value & 0xFFFF, value >> 16

    record(0x0103, words(8))                                           # SETMAPMODE anisotropic
    record(0x020B, words(0, 0))                                        # SETWINDOWORG
    record(0x020C, words(50, 100))                                     # SETWINDOWEXT
    record(0x02FA, words(0, 2, 0, *colour(GREEN)))                     # CREATEPENINDIRECT -> 0
    record(0x012D, words(0))                                           # SELECTOBJECT
    record(0x02FC, words(0, *colour(RED), 0))                          # CREATEBRUSHINDIRECT -> 1
    record(0x012D, words(1))
    record(0x0418, words(45, 45, 5, 5))                                # ELLIPSE
    record(0x0214, words(0, 0))                                        # MOVETO
    record(0x0213, words(49, 99))                                      # LINETO
    record(0x0324, words(3, 50, 5, 95, 25, 50, 45))                    # POLYGON
    record(0x0325, words(3, 0, 0, 50, 25, 99, 0))                      # POLYLINE
    face = b"Arial".ljust(32, b"\x00")
    record(0x02FB, words(-12, 0, 0, 0, 400) + bytes([0, 0, 0, 0, 0, 0, 0, 0]) + face)  # CREATEFONTINDIRECT -> 2
    record(0x012D, words(2))
    record(0x0209, words(*colour(BLUE)))                               # SETTEXTCOLOR
    text = b"ZANTO"
    record(0x0521, words(len(text)) + text + words(30, 10))            # TEXTOUT
    header, bits = dib(4, 2)
    record(0x0F43, struct.pack("<I", 0x00CC0020) + words(0, 2, 4, 0, 0, 15, 30, 60, 30) + header + bits)  # STRETCHDIB
    record(0x01F0, words(1))                                           # DELETEOBJECT
    record(0x0000)
    body = b"".join(records)
    total = (18 + len(body)) // 2
    largest = max(len(r) for r in records) // 2
    header = struct.pack("<HHHIHIH", 1, 9, 0x0300, total, 3, largest, 0)
    placeable = struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, 0, 0, 100, 50, 96, 0)
    checksum = 0
    for (word,) in struct.iter_unpack("<H", placeable):
        checksum ^= word
    return placeable + struct.pack("<H", checksum) + header + body


def main():
    if CORPUS.exists():
        shutil.rmtree(CORPUS)

    write("voris_codec", "one", "*.jpg")
    write("voris_codec", "three", "*.png;*.gif;*.jpg")
    write("voris_codec", "stray", ";*.txt;;*.JPG;")
    write("voris_codec", "over-bound", ";".join(f"*.e{i}" for i in range(105)))
    write("voris_codec", "lines", "*.jpg\n*.gif\n*.png\n")

    write("wildcard_pattern", "suffix", provider_string("*.jpg;*.GIF") + "IMG_0001.JPG")
    write("wildcard_pattern", "general", provider_string("IMG_??*.j*g") + "img_12 旅行.jpeg")
    write("wildcard_pattern", "question-utf8", provider_string("?行*") + "旅行01.jpg")
    write("wildcard_pattern", "broken-utf8", provider_string("*?.txt") + "a\xe6\x97.txt")
    write("wildcard_pattern", "stars", provider_string("**;*a*b*c") + "xaxbxcx")

    write("natural_order", "numbers", "IMG_10.jpg\nIMG_9.jpg\nimg_007.JPG\nIMG_7.jpg\nIMG_0007.jpg\n")
    write("natural_order", "mixed", "旅行2\n旅行10\na\nB\n_x\n0\n00\n9a\n99999999999999999999\n")

    write("file_name_parts", "plain", "photo.JPG")
    write("file_name_parts", "double", "archive.tar.gz")
    write("file_name_parts", "final-dot", "name.")
    write("file_name_parts", "forbidden", "a:b*c?.旅行")

    seed_tail = bytes(range(0, 256, 7))
    write("batch_plan", "plain", provider_string("旅行") + "IMG_0001.jpg" + "\\ " + "IMG_0002.JPG" + "\\ "
          + "notes.txt" + "\\ " + "README" + "\\ ")
    (CORPUS / "batch_plan" / "plain").write_bytes((CORPUS / "batch_plan" / "plain").read_bytes() + seed_tail)
    write("batch_plan", "temporary-like", provider_string("連番") + ".jpg\\ .JPG\\ .jpg\\ a.jpg\\ ")
    (CORPUS / "batch_plan" / "temporary-like").write_bytes(
        (CORPUS / "batch_plan" / "temporary-like").read_bytes() + bytes([1, 0, 3, 1, 17, 1, 0] * 12))

    write("text_preview", "utf8-crlf", "一行目\r\n二行目\r\n")
    write("text_preview", "mixed-ends", "a\rb\nc\r\n\r\nlast")
    write("text_preview", "bom", "\ufeffBOM付き\n")
    write("text_preview", "shift-jis", "旅行の写真\r\nﾊﾝｶｸ\r".encode("shift_jis"))
    write("text_preview", "broken", b"\x82\xa0\x82\r\xff\xfe\x81")

    copy("picture_content", "photo-rotated.jpg", "damaged.jpg", "picture.gif", "picture.bmp", "picture.ico",
         "picture.cur")
    copy("picture_dib", "picture.dib")
    header, bits = dib(4, 2)
    write("picture_dib", "small.dib", b"BM" + struct.pack("<IHHI", 14 + len(header) + len(bits), 0, 0,
                                                             14 + len(header)) + header + bits)
    copy("picture_emf", "picture.emf")
    write("picture_emf", "rich.emf", emf_rich())
    copy("picture_wmf", "picture.wmf")
    write("picture_wmf", "rich.wmf", wmf_rich())


if __name__ == "__main__":
    main()
