#include "listing/JpegExif.h"

#include "listing/ExifCapture.h"
#include "listing/FilePieces.h"

namespace zanto {

namespace {

constexpr int kMaxSegments = 64;
constexpr unsigned char kApp1 = 0xe1;
constexpr unsigned char kStartOfScan = 0xda;
constexpr unsigned char kEndOfImage = 0xd9;

} // namespace

bool JpegExif::recognises(const std::string& head)
{
    return head.size() >= 3 && head.compare(0, 3, "\xff\xd8\xff") == 0;
}

std::optional<Capture> JpegExif::capture(FilePieces& pieces, std::uint64_t start)
{
    std::uint64_t at = start + 2;
    for (int segment = 0; segment < kMaxSegments; ++segment) {
        const std::string_view marker = pieces.read(at, 4 + 6);
        if (marker.size() < 4 || static_cast<unsigned char>(marker[0]) != 0xff)
            return std::nullopt;
        const auto kind = static_cast<unsigned char>(marker[1]);
        if (kind == 0xff) { // fill byte before a marker
            ++at;
            continue;
        }
        if (kind == kStartOfScan || kind == kEndOfImage)
            return std::nullopt;
        // Markers without a length: TEM and the restart markers.
        if (kind == 0x01 || (kind >= 0xd0 && kind <= 0xd7)) {
            at += 2;
            continue;
        }
        const std::uint64_t length = FilePieces::be(marker, 2, 2);
        if (length < 2)
            return std::nullopt;
        if (kind == kApp1 && marker.compare(4, 6, std::string("Exif\0\0", 6)) == 0 && length >= 2 + 6)
            return ExifCapture::inFile(pieces, at + 4 + 6, length - 2 - 6);
        at += 2 + length;
    }
    return std::nullopt;
}

} // namespace zanto
