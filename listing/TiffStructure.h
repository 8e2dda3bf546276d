#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zanto {

class FilePieces;

// One entry of a TIFF directory: its type, its count and the four bytes
// that hold the value itself or where it lies.
struct TiffEntry {
    std::uint16_t type = 0;
    std::uint64_t count = 0;
    std::string field;
};

// The entries of one directory, copied out of the file.
class TiffDirectory {
public:
    TiffDirectory(std::string table, bool intel) : m_table(std::move(table)), m_intel(intel) {}

    std::optional<TiffEntry> find(std::uint16_t tag) const;

private:
    std::string m_table;
    bool m_intel;
};

// A TIFF structure inside a file (EXIF, a TIFF-based RAW): its header's
// offset, its length and byte order. Offsets inside it count from the
// header; each directory and value is read where it lies, so that one far
// from the header (a RAW's Exif IFD past its previews, sub-seconds past a
// JPEG's first KiB) costs a read of its own and never the bytes before it.
class TiffStructure {
public:
    // The structure at `offset`, `length` bytes long, with "Exif\0\0" before
    // its header or not. Any magic number after the byte order: Olympus
    // ("IIRO") and Panasonic ("IIU\0") RAWs write their own. None without a
    // byte order.
    static std::optional<TiffStructure> at(FilePieces& pieces, std::uint64_t offset, std::uint64_t length);

    // The structure of Apple's maker note ("Apple iOS\0", a version, a byte
    // order, then its directory), whose offsets count from the note's start.
    std::optional<TiffStructure> appleNote(const std::optional<TiffEntry>& makerNote);

    TiffDirectory firstDirectory();
    TiffDirectory directory(std::uint64_t offset);

    // An ASCII value up to its first NUL; empty for any other entry.
    std::string text(const std::optional<TiffEntry>& entry);
    // The offset a LONG or IFD entry of one value gives.
    std::optional<std::uint64_t> offsetIn(const std::optional<TiffEntry>& entry) const;
    // The value of a SHORT entry of one value.
    std::optional<std::uint16_t> shortIn(const std::optional<TiffEntry>& entry) const;

private:
    TiffStructure(FilePieces& pieces, std::uint64_t at, std::uint64_t length, bool intel, std::uint64_t first)
        : m_pieces(pieces), m_at(at), m_length(length), m_intel(intel), m_first(first)
    {
    }

    std::uint64_t number(std::string_view bytes, std::size_t at, std::size_t width) const;
    // Up to `count` bytes at `offset`, inside the structure only.
    std::string_view bytes(std::uint64_t offset, std::uint64_t count);

    FilePieces& m_pieces;
    std::uint64_t m_at;
    std::uint64_t m_length;
    bool m_intel;
    std::uint64_t m_first; // the first directory's offset
};

} // namespace zanto
