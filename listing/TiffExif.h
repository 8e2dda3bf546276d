#pragma once

#include "listing/Capture.h"

#include <optional>
#include <string>

namespace zanto {

class FilePieces;

// The EXIF moment of a RAW built on TIFF (CR2, NEF, ARW, DNG, PEF, and
// ORF and RW2 under their own magic numbers): the Exif IFD's date.
class TiffExif {
public:
    static bool recognises(const std::string& head);
    static std::optional<Capture> capture(FilePieces& pieces);
};

} // namespace zanto
