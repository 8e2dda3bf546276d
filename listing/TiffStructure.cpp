#include "listing/TiffStructure.h"

#include "listing/FilePieces.h"

#include <algorithm>
#include <cstring>

namespace zanto {

namespace {

constexpr std::string_view kExifHeader("Exif\0\0", 6);
enum class Type : std::uint16_t { Ascii = 2, Short = 3, Long = 4, Ifd = 13 };
constexpr std::size_t kEntryBytes = 12;

std::uint64_t numberIn(std::string_view bytes, std::size_t at, std::size_t width, bool intel)
{
    return intel ? FilePieces::le(bytes, at, width) : FilePieces::be(bytes, at, width);
}

bool hasType(const TiffEntry& entry, Type type)
{
    return entry.type == static_cast<std::uint16_t>(type);
}

} // namespace

std::optional<TiffEntry> TiffDirectory::find(std::uint16_t tag) const
{
    for (std::size_t at = 0; at + kEntryBytes <= m_table.size(); at += kEntryBytes) {
        if (numberIn(m_table, at, 2, m_intel) == tag) {
            return TiffEntry{static_cast<std::uint16_t>(numberIn(m_table, at + 2, 2, m_intel)),
                             numberIn(m_table, at + 4, 4, m_intel), m_table.substr(at + 8, 4)};
        }
    }
    return std::nullopt;
}

std::optional<TiffStructure> TiffStructure::at(FilePieces& pieces, std::uint64_t offset, std::uint64_t length)
{
    std::string_view start = pieces.read(offset, kExifHeader.size() + 8);
    if (start.substr(0, kExifHeader.size()) == kExifHeader && length >= kExifHeader.size()) {
        offset += kExifHeader.size(), length -= kExifHeader.size();
        start.remove_prefix(kExifHeader.size());
    }
    if (start.size() < 8 || length < 8 || (start.substr(0, 2) != "II" && start.substr(0, 2) != "MM"))
        return std::nullopt;
    const bool intel = start[0] == 'I';
    return TiffStructure(pieces, offset, length, intel, numberIn(start, 4, 4, intel));
}

std::optional<TiffStructure> TiffStructure::appleNote(const std::optional<TiffEntry>& makerNote)
{
    constexpr std::string_view kSignature("Apple iOS\0", 10);
    constexpr std::uint64_t kDirectory = 14;
    if (!makerNote || makerNote->count <= kDirectory)
        return std::nullopt;
    const std::uint64_t offset = number(makerNote->field, 0, 4);
    const std::string_view start = bytes(offset, kDirectory);
    if (start.size() < kDirectory || start.substr(0, kSignature.size()) != kSignature
        || (start.substr(12, 2) != "II" && start.substr(12, 2) != "MM"))
        return std::nullopt;
    return TiffStructure(m_pieces, m_at + offset, std::min(makerNote->count, m_length - offset), start[12] == 'I',
                         kDirectory);
}

TiffDirectory TiffStructure::firstDirectory()
{
    return directory(m_first);
}

TiffDirectory TiffStructure::directory(std::uint64_t offset)
{
    const std::uint64_t count = number(bytes(offset, 2), 0, 2);
    // Copied out before the next read, which may replace these bytes.
    return TiffDirectory(std::string(bytes(offset + 2, count * kEntryBytes)), m_intel);
}

std::string TiffStructure::text(const std::optional<TiffEntry>& entry)
{
    if (!entry || !hasType(*entry, Type::Ascii))
        return {};
    const std::string_view value = entry->count <= 4
                                       ? std::string_view(entry->field).substr(0, static_cast<std::size_t>(entry->count))
                                       : bytes(number(entry->field, 0, 4), entry->count);
    if (value.empty()) // a value the file does not hold has no bytes to point at
        return {};
    return std::string(value.data(), strnlen(value.data(), value.size()));
}

std::optional<std::uint64_t> TiffStructure::offsetIn(const std::optional<TiffEntry>& entry) const
{
    if (!entry || entry->count != 1 || !(hasType(*entry, Type::Long) || hasType(*entry, Type::Ifd)))
        return std::nullopt;
    return number(entry->field, 0, 4);
}

std::optional<std::uint16_t> TiffStructure::shortIn(const std::optional<TiffEntry>& entry) const
{
    if (!entry || entry->count != 1 || !hasType(*entry, Type::Short))
        return std::nullopt;
    return static_cast<std::uint16_t>(number(entry->field, 0, 2));
}

std::uint64_t TiffStructure::number(std::string_view bytes, std::size_t at, std::size_t width) const
{
    return numberIn(bytes, at, width, m_intel);
}

std::string_view TiffStructure::bytes(std::uint64_t offset, std::uint64_t count)
{
    if (offset >= m_length)
        return {};
    const std::uint64_t inside = std::min(count, m_length - offset);
    return m_pieces.read(m_at + offset,
                         static_cast<std::size_t>(std::min<std::uint64_t>(inside, FilePieces::kMaxPiece)));
}

} // namespace zanto
