#pragma once

#include "listing/Capture.h"

#include <optional>
#include <string>

namespace zanto {

class FilePieces;

// The EXIF moment of a Fujifilm RAF: the file's header points at the JPEG
// preview it carries, whose EXIF holds the moment.
class RafExif {
public:
    static bool recognises(const std::string& head);
    static std::optional<Capture> capture(FilePieces& pieces);
};

} // namespace zanto
