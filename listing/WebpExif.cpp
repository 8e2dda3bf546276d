#include "listing/WebpExif.h"

#include "listing/ExifCapture.h"
#include "listing/ExifOrientation.h"
#include "listing/FilePieces.h"

#include <algorithm>
#include <string_view>

namespace zanto {

namespace {

constexpr int kMaxChunks = 64;

} // namespace

bool WebpExif::recognises(const std::string& head)
{
    return head.size() >= 12 && head.compare(0, 4, "RIFF") == 0 && head.compare(8, 4, "WEBP") == 0;
}

std::optional<WebpExif::Place> WebpExif::exif(FilePieces& pieces)
{
    // The RIFF size counts from after itself; a truncated file ends sooner.
    const std::uint64_t end = std::min(pieces.size(), 8 + FilePieces::le(pieces.head(), 4, 4));
    std::uint64_t at = 12;
    for (int chunk = 0; chunk < kMaxChunks && at + 8 <= end; ++chunk) {
        const std::string_view header = pieces.read(at, 8);
        if (header.size() < 8)
            return std::nullopt;
        const std::uint64_t length = FilePieces::le(header, 4, 4);
        // Writers differ on whether "Exif\0\0" comes first; the TIFF readers take both.
        if (std::string_view(header).substr(0, 4) == "EXIF")
            return Place{at + 8, std::min(length, end - at - 8)};
        at += 8 + length + (length & 1); // chunks are padded to an even length
    }
    return std::nullopt;
}

std::optional<Capture> WebpExif::capture(FilePieces& pieces)
{
    const std::optional<Place> place = exif(pieces);
    return place ? ExifCapture::inFile(pieces, place->offset, place->length) : std::nullopt;
}

std::optional<int> WebpExif::orientation(FilePieces& pieces)
{
    const std::optional<Place> place = exif(pieces);
    return place ? ExifOrientation::inFile(pieces, place->offset, place->length) : std::nullopt;
}

} // namespace zanto
