#pragma once

#include "listing/Capture.h"

#include <cstdint>
#include <optional>
#include <string>

namespace zanto {

class FilePieces;

// The EXIF moment of a JPEG: the APP1 segment headed "Exif\0\0" among the
// segments before the image data. `start` is where the JPEG begins: a RAW
// file may carry one inside.
class JpegExif {
public:
    static bool recognises(const std::string& head);
    static std::optional<Capture> capture(FilePieces& pieces, std::uint64_t start = 0);
};

} // namespace zanto
