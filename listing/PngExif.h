#pragma once

#include <optional>
#include <string>

namespace zanto {

class FilePieces;

// The EXIF moment of a PNG: its eXIf chunk, a bare TIFF structure.
class PngExif {
public:
    static bool recognises(const std::string& head);
    static std::optional<std::string> moment(FilePieces& pieces);
};

} // namespace zanto
