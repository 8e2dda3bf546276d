#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "listing/Capture.h"

namespace zanto {

class FilePieces;

// What a picture's EXIF says about its taking: DateTimeOriginal with
// SubSecTimeOriginal as its fraction and OffsetTimeOriginal as its offset;
// the camera's make, model and body serial; an iPhone's content identifier.
class ExifCapture {
public:
    // From the TIFF structure at `offset` of the file ("Exif\0\0" before its
    // header or not), `length` bytes long: its first IFD, the Exif IFD and the
    // values, each read where it lies (nothing more when they are in the
    // bytes already read). None without a TIFF structure; no moment without
    // a well-formed DateTimeOriginal.
    static std::optional<Capture> inFile(FilePieces& pieces, std::uint64_t offset, std::uint64_t length);
};

} // namespace zanto
