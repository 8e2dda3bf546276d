#include "listing/ExifMoment.h"

#include "listing/FilePieces.h"
#include "listing/CaptureMoment.h"
#include "listing/TiffStructure.h"


namespace zanto {

namespace {

enum class Tag : std::uint16_t {
    ExifIfdPointer = 0x8769,
    DateTimeOriginal = 0x9003,
    OffsetTimeOriginal = 0x9011,
    SubSecTimeOriginal = 0x9291,
};

std::optional<TiffEntry> entryIn(const TiffDirectory& directory, Tag tag)
{
    return directory.find(static_cast<std::uint16_t>(tag));
}

} // namespace

std::optional<CaptureMoment> ExifMoment::inFile(FilePieces& pieces, std::uint64_t offset, std::uint64_t length)
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
    std::optional<CaptureMoment> moment = CaptureMoment::fromExif(tiff->text(either(Tag::DateTimeOriginal)),
                                                                  tiff->text(either(Tag::SubSecTimeOriginal)));
    if (!moment)
        return std::nullopt;
    // Phones and recent cameras say how their clock relates to UTC.
    if (const auto offset = CaptureMoment::offsetMinutesOf(tiff->text(either(Tag::OffsetTimeOriginal))))
        moment->recordOffset(*offset);
    return moment;
}

} // namespace zanto
