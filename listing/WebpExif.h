#pragma once

#include "listing/Capture.h"

#include <cstdint>
#include <optional>
#include <string>

namespace zanto {

class FilePieces;

// The EXIF of a WebP: its RIFF chunk EXIF, after the image data.
class WebpExif {
public:
    static bool recognises(const std::string& head);
    static std::optional<Capture> capture(FilePieces& pieces);
    static std::optional<int> orientation(FilePieces& pieces);

private:
    struct Place {
        std::uint64_t offset = 0;
        std::uint64_t length = 0;
    };
    static std::optional<Place> exif(FilePieces& pieces);
};

} // namespace zanto
