#include "listing/ExifMoment.h"

#include "listing/FilePieces.h"
#include "listing/MomentKey.h"
#include "listing/TiffStructure.h"

#include <algorithm>

namespace zanto {

namespace {

enum class Tag : std::uint16_t {
    ExifIfdPointer = 0x8769,
    DateTimeOriginal = 0x9003,
    SubSecTimeOriginal = 0x9291,
};

std::optional<TiffEntry> entryIn(const TiffDirectory& directory, Tag tag)
{
    return directory.find(static_cast<std::uint16_t>(tag));
}

// "YYYY:MM:DD HH:MM:SS", as every camera writes it.
bool wellFormed(const std::string& date)
{
    if (date.size() != 19)
        return false;
    for (std::size_t i = 0; i < date.size(); ++i) {
        const char expected = i == 4 || i == 7 ? ':' : i == 10 ? ' ' : i == 13 || i == 16 ? ':' : '0';
        if (expected == '0' ? (date[i] < '0' || date[i] > '9') : date[i] != expected)
            return false;
    }
    return date != "0000:00:00 00:00:00";
}

// Sub-seconds are a decimal fraction written as its digits ("12" is 0.12 s).
std::string fraction(std::string digits)
{
    digits.erase(std::find_if(digits.begin(), digits.end(), [](char c) { return c < '0' || c > '9'; }),
                 digits.end());
    digits.resize(MomentKey::kDigitsOfSecond, '0');
    return digits;
}

} // namespace

std::optional<std::string> ExifMoment::inFile(FilePieces& pieces, std::uint64_t offset, std::uint64_t length)
{
    std::optional<TiffStructure> tiff = TiffStructure::at(pieces, offset, length);
    if (!tiff)
        return std::nullopt;
    const TiffDirectory first = tiff->firstDirectory();
    // The tags from the Exif IFD, or from the first IFD where a format keeps
    // the Exif tags there (Canon's CR3).
    const std::optional<std::uint64_t> exifAt = tiff->offsetIn(entryIn(first, Tag::ExifIfdPointer));
    const TiffDirectory exif = exifAt ? tiff->directory(*exifAt) : TiffDirectory({}, true);
    const auto either = [&](Tag tag) {
        std::optional<TiffEntry> entry = entryIn(exif, tag);
        return entry ? entry : entryIn(first, tag);
    };
    const std::string date = tiff->text(either(Tag::DateTimeOriginal));
    if (!wellFormed(date))
        return std::nullopt;
    return date + "." + fraction(tiff->text(either(Tag::SubSecTimeOriginal)));
}

} // namespace zanto
