#include "listing/ExifMoment.h"

#include "listing/FilePieces.h"
#include "listing/MomentKey.h"

#include <libexif/exif-data.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace zanto {

namespace {

constexpr std::string_view kExifHeader("Exif\0\0", 6);

struct ExifDataFree {
    void operator()(ExifData* data) const { exif_data_unref(data); }
};

// The tag from the Exif IFD, or from the first IFD where a format keeps the
// Exif tags there (Canon's CR3).
std::string asciiOf(ExifData* data, ExifTag tag)
{
    ExifEntry* entry = exif_content_get_entry(data->ifd[EXIF_IFD_EXIF], tag);
    if (entry == nullptr)
        entry = exif_content_get_entry(data->ifd[EXIF_IFD_0], tag);
    if (entry == nullptr || entry->format != EXIF_FORMAT_ASCII || entry->data == nullptr)
        return {};
    const auto* text = reinterpret_cast<const char*>(entry->data);
    return std::string(text, strnlen(text, entry->size));
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

std::optional<std::string> ExifMoment::fromTiff(std::string_view bytes, std::size_t at)
{
    std::string_view tiff = bytes.substr(std::min(at, bytes.size()));
    if (tiff.substr(0, kExifHeader.size()) == kExifHeader)
        tiff.remove_prefix(kExifHeader.size()), at += kExifHeader.size();
    if (tiff.size() < 8 || (tiff.substr(0, 2) != "II" && tiff.substr(0, 2) != "MM"))
        return std::nullopt;
    // libexif reads only what follows "Exif\0\0", and only under TIFF's own
    // magic number: Olympus ("IIRO") and Panasonic ("IIU\0") RAWs get it back.
    // Where the header stands right before the TIFF header (a JPEG's APP1, most
    // Exif items), the bytes are read where they lie.
    const bool intel = tiff[0] == 'I';
    const std::string_view magic = intel ? std::string_view("\x2a\0", 2) : std::string_view("\0\x2a", 2);
    std::string block;
    std::string_view exif = bytes.substr(at - std::min(at, kExifHeader.size()));
    if (exif.substr(0, kExifHeader.size()) != kExifHeader || tiff.substr(2, 2) != magic) {
        block.reserve(kExifHeader.size() + tiff.size());
        block.append(kExifHeader).append(tiff);
        block.replace(kExifHeader.size() + 2, 2, magic);
        exif = block;
    }

    std::unique_ptr<ExifData, ExifDataFree> data(exif_data_new());
    if (!data)
        return std::nullopt;
    // Only two tags are wanted: leave the maker's notes and any repair alone,
    // and keep tags where they stand, even in an IFD that should not hold them.
    exif_data_unset_option(data.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_unset_option(data.get(), EXIF_DATA_OPTION_IGNORE_UNKNOWN_TAGS);
    exif_data_load_data(data.get(), reinterpret_cast<const unsigned char*>(exif.data()),
                        static_cast<unsigned int>(exif.size()));
    const std::string date = asciiOf(data.get(), EXIF_TAG_DATE_TIME_ORIGINAL);
    if (!wellFormed(date))
        return std::nullopt;
    return date + "." + fraction(asciiOf(data.get(), EXIF_TAG_SUB_SEC_TIME_ORIGINAL));
}

std::optional<std::string> ExifMoment::inFile(FilePieces& pieces, std::uint64_t offset, std::uint64_t length)
{
    // The six bytes before, which may be the "Exif\0\0" libexif wants.
    const std::size_t before = static_cast<std::size_t>(std::min<std::uint64_t>(offset, kExifHeader.size()));
    const std::uint64_t inHead = offset < pieces.head().size() ? pieces.head().size() - offset : 0;
    const std::uint64_t first = std::min<std::uint64_t>(length, inHead > 0 ? inHead : FilePieces::kHeadBytes);
    const std::string_view start = pieces.read(offset - before, static_cast<std::size_t>(before + first));
    if (auto moment = fromTiff(start, before))
        return moment;
    if (length <= start.size() - std::min(start.size(), before) || start.size() < before + first)
        return std::nullopt;
    const std::uint64_t rest = std::min<std::uint64_t>(before + length, FilePieces::kMaxPiece);
    return fromTiff(pieces.read(offset - before, static_cast<std::size_t>(rest)), before);
}

} // namespace zanto
