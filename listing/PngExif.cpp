#include "listing/PngExif.h"

#include "listing/ExifMoment.h"
#include "listing/FilePieces.h"

#include <string_view>

namespace zanto {

namespace {

constexpr std::string_view kSignature("\x89PNG\r\n\x1a\n", 8);
// eXIf belongs before the image data, yet some writers put it after: look a
// little past IDAT, never through every chunk of a large picture.
constexpr int kMaxChunks = 64;

} // namespace

bool PngExif::recognises(const std::string& head)
{
    return std::string_view(head).substr(0, kSignature.size()) == kSignature;
}

std::optional<std::string> PngExif::moment(FilePieces& pieces)
{
    std::uint64_t at = kSignature.size();
    for (int chunk = 0; chunk < kMaxChunks; ++chunk) {
        const std::string_view header = pieces.read(at, 8);
        if (header.size() < 8)
            return std::nullopt;
        const std::uint64_t length = FilePieces::be(header, 0, 4);
        const std::string_view type = std::string_view(header).substr(4, 4);
        if (type == "eXIf")
            return ExifMoment::inFile(pieces, at + 8, length);
        if (type == "IEND")
            return std::nullopt;
        at += 8 + length + 4; // header, data, CRC
    }
    return std::nullopt;
}

} // namespace zanto
