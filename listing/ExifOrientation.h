#pragma once

#include <cstdint>
#include <optional>

namespace zanto {

class FilePieces;

// How a picture is turned to stand upright, as its EXIF states it: the
// Orientation tag (1–8) of the first IFD.
class ExifOrientation {
public:
    // From the TIFF structure at `offset` of the file ("Exif\0\0" before its
    // header or not), `length` bytes long. None where the tag is missing or
    // holds no valid value.
    static std::optional<int> inFile(FilePieces& pieces, std::uint64_t offset, std::uint64_t length);
};

} // namespace zanto
