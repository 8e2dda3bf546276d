#pragma once

#include "listing/Capture.h"

#include <optional>
#include <string>

namespace zanto {

class FilePieces;

// The EXIF of a PNG: its eXIf chunk, a bare TIFF structure, or the hex text
// chunk ("Raw profile type exif" or "… APP1") that ImageMagick and older
// writers leave, plain or compressed.
class PngExif {
public:
    // eXIf belongs before the image data, yet some writers (ImageMagick) put
    // it after: a file is looked into this many chunks deep, never through
    // every chunk of a large picture unless the caller has it in memory.
    static constexpr int kChunksLookedAt = 64;

    static bool recognises(const std::string& head);
    static std::optional<Capture> capture(FilePieces& pieces);
    static std::optional<int> orientation(FilePieces& pieces, int chunks = kChunksLookedAt);
};

} // namespace zanto
