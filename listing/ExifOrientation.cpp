#include "listing/ExifOrientation.h"

#include "listing/TiffStructure.h"

namespace zanto {

namespace {

constexpr std::uint16_t kOrientationTag = 0x0112;
constexpr int kFirst = 1;
constexpr int kLast = 8;

} // namespace

std::optional<int> ExifOrientation::inFile(FilePieces& pieces, std::uint64_t offset, std::uint64_t length)
{
    std::optional<TiffStructure> tiff = TiffStructure::at(pieces, offset, length);
    if (!tiff)
        return std::nullopt;
    const std::optional<std::uint16_t> value = tiff->shortIn(tiff->firstDirectory().find(kOrientationTag));
    if (!value || *value < kFirst || *value > kLast)
        return std::nullopt;
    return *value;
}

} // namespace zanto
