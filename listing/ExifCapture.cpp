#include "listing/ExifCapture.h"

#include "listing/FilePieces.h"
#include "listing/Capture.h"
#include "listing/TiffStructure.h"


namespace zanto {

namespace {

enum class Tag : std::uint16_t {
    Make = 0x010f,
    Model = 0x0110,
    ExifIfdPointer = 0x8769,
    DateTimeOriginal = 0x9003,
    OffsetTimeOriginal = 0x9011,
    SubSecTimeOriginal = 0x9291,
    MakerNote = 0x927c,
    BodySerialNumber = 0xa431,
    CameraSerialNumber = 0xc62f, // DNG's, in the first IFD
};

// Apple's maker note: the content identifier of a Live Photo.
constexpr std::uint16_t kAppleContentIdentifier = 0x0011;

// Makers pad their names with blanks ("NIKON CORPORATION   ").
std::string trimmed(std::string text)
{
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

std::optional<TiffEntry> entryIn(const TiffDirectory& directory, Tag tag)
{
    return directory.find(static_cast<std::uint16_t>(tag));
}

} // namespace

std::optional<Capture> ExifCapture::inFile(FilePieces& pieces, std::uint64_t offset, std::uint64_t length)
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
    Capture capture;
    capture.moment = CaptureMoment::fromExif(tiff->text(either(Tag::DateTimeOriginal)),
                                             tiff->text(either(Tag::SubSecTimeOriginal)));
    // Phones and recent cameras say how their clock relates to UTC.
    const auto zone = CaptureMoment::offsetMinutesOf(tiff->text(either(Tag::OffsetTimeOriginal)));
    if (capture.moment && zone)
        capture.moment->recordOffset(*zone);
    capture.camera.make = trimmed(tiff->text(entryIn(first, Tag::Make)));
    capture.camera.model = trimmed(tiff->text(entryIn(first, Tag::Model)));
    capture.camera.serial = trimmed(tiff->text(either(Tag::BodySerialNumber)));
    if (capture.camera.serial.empty())
        capture.camera.serial = trimmed(tiff->text(entryIn(first, Tag::CameraSerialNumber)));
    if (std::optional<TiffStructure> note = tiff->appleNote(entryIn(exif, Tag::MakerNote)))
        capture.contentId = note->text(note->firstDirectory().find(kAppleContentIdentifier));
    return capture;
}

} // namespace zanto
