#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zanto {

class FilePieces;

// The moment a picture was taken from its EXIF: DateTimeOriginal with
// SubSecTimeOriginal as its fraction, read by libexif, as a MomentKey.
class ExifMoment {
public:
    // From the TIFF structure `at` bytes into `bytes` ("Exif\0\0" before its
    // header or not); none without a well-formed DateTimeOriginal.
    static std::optional<std::string> fromTiff(std::string_view bytes, std::size_t at = 0);

    // From the TIFF structure at `offset` of the file, `length` bytes long:
    // first from the bytes already read or a few KiB, then, when the date is
    // not in them, from as much of the block as one capped read gives.
    static std::optional<std::string> inFile(FilePieces& pieces, std::uint64_t offset, std::uint64_t length);
};

} // namespace zanto
