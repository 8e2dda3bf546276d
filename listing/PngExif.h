#pragma once

#include <optional>
#include <string>

namespace zanto {

class FilePieces;

// The EXIF of a PNG: its eXIf chunk, a bare TIFF structure, or the hex text
// chunk ("Raw profile type exif" or "… APP1") that ImageMagick and older
// writers leave, plain or compressed.
class PngExif {
public:
    static bool recognises(const std::string& head);
    static std::optional<std::string> moment(FilePieces& pieces);
    static std::optional<int> orientation(FilePieces& pieces);
};

} // namespace zanto
