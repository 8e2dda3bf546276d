#include "listing/TiffExif.h"

#include "listing/ExifCapture.h"
#include "listing/FilePieces.h"

namespace zanto {

bool TiffExif::recognises(const std::string& head)
{
    if (head.size() < 8)
        return false;
    const std::string_view magic(head.data(), 4);
    return magic == std::string_view("II*\0", 4) || magic == std::string_view("MM\0*", 4) // TIFF
        || magic == "IIRO" || magic == "IIRS" || magic == "MMOR"                            // Olympus
        || magic == std::string_view("IIU\0", 4);                                           // Panasonic
}

std::optional<Capture> TiffExif::capture(FilePieces& pieces)
{
    return ExifCapture::inFile(pieces, 0, pieces.size());
}

} // namespace zanto
