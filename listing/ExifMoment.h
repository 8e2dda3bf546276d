#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "listing/CaptureMoment.h"

namespace zanto {

class FilePieces;

// The moment a picture was taken from its EXIF: DateTimeOriginal with
// SubSecTimeOriginal as its fraction and OffsetTimeOriginal as its offset.
class ExifMoment {
public:
    // From the TIFF structure at `offset` of the file ("Exif\0\0" before its
    // header or not), `length` bytes long: its first IFD, the Exif IFD and the
    // two values, each read where it lies (nothing more when they are in the
    // bytes already read). None without a well-formed DateTimeOriginal.
    static std::optional<CaptureMoment> inFile(FilePieces& pieces, std::uint64_t offset, std::uint64_t length);
};

} // namespace zanto
