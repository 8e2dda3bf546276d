#include "preview/QtReaderGaps.h"

#include "listing/FilePieces.h"
#include "listing/PngExif.h"
#include "listing/WebpExif.h"
#include "rename/ReadableFile.h"

#include <limits>

namespace zanto {

std::optional<Orientation> QtReaderGaps::statedOrientation(std::string_view bytes)
{
    // In memory, every chunk of a PNG is looked at: ImageMagick writes eXIf
    // after the image data, which a large picture spreads over many chunks.
    constexpr int kEveryChunk = std::numeric_limits<int>::max();
    MemoryView file(bytes);
    FilePieces pieces(file, kEveryChunk);
    const std::optional<int> tag = PngExif::recognises(pieces.head())    ? PngExif::orientation(pieces, kEveryChunk)
                                   : WebpExif::recognises(pieces.head()) ? WebpExif::orientation(pieces)
                                                                         : std::nullopt;
    return tag ? std::optional(static_cast<Orientation>(*tag)) : std::nullopt;
}

bool QtReaderGaps::safeToRead(std::string_view bytes)
{
    constexpr std::uint64_t kSignature = 8;
    constexpr std::uint64_t kHeader = 8;
    constexpr std::uint64_t kCrc = 4;
    if (!PngExif::recognises(std::string(bytes.substr(0, kSignature))))
        return true;
    // A chunk longer than the bytes after it cannot be read anyway; only the
    // image data, which libpng reads as a stream, may end short in a cut-off file.
    for (std::uint64_t at = kSignature; at + kHeader <= bytes.size();) {
        const std::uint64_t length = FilePieces::be(bytes, static_cast<std::size_t>(at), 4);
        const std::string_view type = bytes.substr(static_cast<std::size_t>(at + 4), 4);
        if (type == "IEND")
            return true;
        if (type != "IDAT" && length > bytes.size() - at - kHeader)
            return false;
        at += kHeader + length + kCrc;
    }
    return true;
}

} // namespace zanto
