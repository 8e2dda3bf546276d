#pragma once

#include <optional>
#include <string>

namespace zanto {

class FilePieces;

// The EXIF moment of a WebP: its RIFF chunk EXIF, after the image data.
class WebpExif {
public:
    static bool recognises(const std::string& head);
    static std::optional<std::string> moment(FilePieces& pieces);
};

} // namespace zanto
