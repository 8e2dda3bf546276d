#include "listing/ExifMoment.h"

#include "listing/FilePieces.h"
#include "listing/MomentKey.h"

#include <algorithm>
#include <cstring>

namespace zanto {

namespace {

constexpr std::string_view kExifHeader("Exif\0\0", 6);

enum class Tag : std::uint16_t {
    ExifIfdPointer = 0x8769,
    DateTimeOriginal = 0x9003,
    SubSecTimeOriginal = 0x9291,
};
enum class Type : std::uint16_t { Ascii = 2, Long = 4, Ifd = 13 };
constexpr std::size_t kEntryBytes = 12;

struct Entry {
    std::uint16_t type = 0;
    std::uint64_t count = 0;
    std::string field; // the entry's four value bytes: the value itself, or where it lies
};

// The entries a moment needs, of one directory.
struct Wanted {
    std::optional<Entry> exifIfd, date, subSeconds;
};

// A TIFF structure of the file: its header's offset, its length and byte
// order. Offsets inside it count from the header; each directory and value
// is read where it lies, so that one far from the header (a RAW's Exif IFD
// past its previews, sub-seconds past a JPEG's first KiB) costs a read of its
// own and never the bytes before it.
class Tiff {
public:
    Tiff(FilePieces& pieces, std::uint64_t at, std::uint64_t length, bool intel)
        : m_pieces(pieces), m_at(at), m_length(length), m_intel(intel)
    {
    }

    std::uint64_t number(std::string_view bytes, std::size_t at, std::size_t width) const
    {
        return m_intel ? FilePieces::le(bytes, at, width) : FilePieces::be(bytes, at, width);
    }

    // Up to `count` bytes at `offset`, inside the structure only.
    std::string_view bytes(std::uint64_t offset, std::uint64_t count)
    {
        if (offset >= m_length)
            return {};
        const std::uint64_t inside = std::min(count, m_length - offset);
        return m_pieces.read(m_at + offset, static_cast<std::size_t>(std::min<std::uint64_t>(inside, FilePieces::kMaxPiece)));
    }

    Wanted directory(std::uint64_t offset)
    {
        Wanted wanted;
        const std::uint64_t count = number(bytes(offset, 2), 0, 2);
        // Copied out before the next read, which may replace these bytes.
        const std::string table(bytes(offset + 2, count * kEntryBytes));
        for (std::size_t at = 0; at + kEntryBytes <= table.size(); at += kEntryBytes) {
            Entry entry{static_cast<std::uint16_t>(number(table, at + 2, 2)), number(table, at + 4, 4),
                        table.substr(at + 8, 4)};
            switch (static_cast<Tag>(number(table, at, 2))) {
            case Tag::ExifIfdPointer: wanted.exifIfd = std::move(entry); break;
            case Tag::DateTimeOriginal: wanted.date = std::move(entry); break;
            case Tag::SubSecTimeOriginal: wanted.subSeconds = std::move(entry); break;
            }
        }
        return wanted;
    }

    std::string text(const std::optional<Entry>& entry)
    {
        if (!entry || entry->type != static_cast<std::uint16_t>(Type::Ascii))
            return {};
        const std::string_view value =
            entry->count <= 4 ? std::string_view(entry->field).substr(0, static_cast<std::size_t>(entry->count))
                              : bytes(number(entry->field, 0, 4), entry->count);
        if (value.empty()) // a value the file does not hold has no bytes to point at
            return {};
        return std::string(value.data(), strnlen(value.data(), value.size()));
    }

    std::optional<std::uint64_t> offsetIn(const std::optional<Entry>& entry) const
    {
        if (!entry || entry->count != 1
            || (entry->type != static_cast<std::uint16_t>(Type::Long) && entry->type != static_cast<std::uint16_t>(Type::Ifd)))
            return std::nullopt;
        return number(entry->field, 0, 4);
    }

private:
    FilePieces& m_pieces;
    const std::uint64_t m_at;
    const std::uint64_t m_length;
    const bool m_intel;
};

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
    std::string_view start = pieces.read(offset, kExifHeader.size() + 8);
    if (start.substr(0, kExifHeader.size()) == kExifHeader && length >= kExifHeader.size()) {
        offset += kExifHeader.size(), length -= kExifHeader.size();
        start.remove_prefix(kExifHeader.size());
    }
    // Any magic number after the byte order: Olympus ("IIRO") and Panasonic
    // ("IIU\0") RAWs write their own.
    if (start.size() < 8 || length < 8 || (start.substr(0, 2) != "II" && start.substr(0, 2) != "MM"))
        return std::nullopt;
    Tiff tiff(pieces, offset, length, start[0] == 'I');
    const Wanted first = tiff.directory(tiff.number(start, 4, 4));
    // The tags from the Exif IFD, or from the first IFD where a format keeps
    // the Exif tags there (Canon's CR3).
    const std::optional<std::uint64_t> exifAt = tiff.offsetIn(first.exifIfd);
    const Wanted exif = exifAt ? tiff.directory(*exifAt) : Wanted{};
    const std::string date = tiff.text(exif.date ? exif.date : first.date);
    if (!wellFormed(date))
        return std::nullopt;
    return date + "." + fraction(tiff.text(exif.subSeconds ? exif.subSeconds : first.subSeconds));
}

} // namespace zanto
