#pragma once

#include <optional>
#include <string>

namespace zanto {

class FilePieces;

// The EXIF moment of a JPEG: the APP1 segment headed "Exif\0\0" among the
// segments before the image data.
class JpegExif {
public:
    static bool recognises(const std::string& head);
    static std::optional<std::string> moment(FilePieces& pieces);
};

} // namespace zanto
