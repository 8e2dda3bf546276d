#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace zanto::test {

// Camera and phone files made on the spot, with only the metadata a test reads.

inline std::string be32(std::uint32_t v)
{
    return {char(v >> 24), char(v >> 16 & 0xff), char(v >> 8 & 0xff), char(v & 0xff)};
}

inline std::string box(const std::string& type, const std::string& body)
{
    return be32(std::uint32_t(8 + body.size())) + type + body;
}

// One TIFF entry: ASCII text (a NUL is added); with type 7, raw bytes; with
// type 4, LONG values.
struct TiffTag {
    unsigned tag;
    std::string value;
    unsigned type = 2;
};

// A little-endian TIFF directory of `tags` (in ascending order) at offset
// `at`, its longer values right after it, and no directory after it.
inline std::string tiffDirectory(const std::vector<TiffTag>& tags, unsigned at)
{
    std::string table, values;
    const auto u16 = [&](unsigned v) { table += char(v & 0xff), table += char(v >> 8 & 0xff); };
    const auto u32 = [&](unsigned v) { u16(v & 0xffff), u16(v >> 16); };
    const unsigned data = at + 2 + 12 * unsigned(tags.size()) + 4;
    u16(unsigned(tags.size()));
    for (const TiffTag& t : tags) {
        const std::string value = t.type == 2 ? t.value + '\0' : t.value;
        u16(t.tag), u16(t.type), u32(unsigned(t.type == 4 ? value.size() / 4 : value.size()));
        if (value.size() <= 4) {
            table += (value + std::string(4, '\0')).substr(0, 4);
        } else {
            u32(data + unsigned(values.size()));
            values += value;
        }
    }
    u32(0);
    return table + values;
}

// A JPEG whose first IFD holds `first` and a pointer to an Exif IFD that
// holds `exif` (DateTimeOriginal 0x9003, SubSecTimeOriginal 0x9291,
// OffsetTimeOriginal 0x9011 …), each in ascending order.
inline std::string jpegWithExif(const std::vector<TiffTag>& exif, std::vector<TiffTag> first = {})
{
    std::string tiff("II*\0\x08\0\0\0", 8);
    first.push_back({0x8769, std::string(4, '\0'), 4});
    std::string ifd0 = tiffDirectory(first, 8);
    const unsigned exifAt = 8 + unsigned(ifd0.size());
    const unsigned pointer = 2 + 12 * unsigned(first.size() - 1) + 8; // the last entry's value
    for (unsigned i = 0; i < 4; ++i)
        ifd0[pointer + i] = char(exifAt >> (8 * i) & 0xff);
    tiff += ifd0 + tiffDirectory(exif, exifAt);
    const std::string app1 = std::string("Exif\0\0", 6) + tiff;
    const std::size_t length = app1.size() + 2;
    return std::string("\xff\xd8\xff\xe1", 4) + char(length >> 8) + char(length & 0xff) + app1 + "\xff\xd9";
}

// An iPhone's maker note holding its content identifier, as a MakerNote tag.
inline TiffTag appleNote(const std::string& contentId)
{
    // Big-endian: the note's offsets count from its own start.
    const std::string value = contentId + '\0';
    const std::string note = std::string("Apple iOS\0\0\x01MM\0\x01\0\x11\0\x02", 20) + be32(unsigned(value.size())) +
                             be32(14 + 2 + 12 + 4) + be32(0) + value;
    return {0x927c, note, 7};
}

inline std::string jpegTakenAt(const std::string& date, const std::string& subSeconds = "",
                               const std::string& offset = "")
{
    std::vector<TiffTag> tags{{0x9003, date}};
    if (!offset.empty())
        tags.push_back({0x9011, offset});
    if (!subSeconds.empty())
        tags.push_back({0x9291, subSeconds});
    return jpegWithExif(tags);
}

// 2024-05-01 01:30:00 UTC as a movie header counts it.
constexpr std::uint32_t kMay1st0130Utc = 3'797'371'800;

// A QuickTime movie whose header was created `secondsSince1904` (UTC), with
// `inMoov` boxes after the header and `after` boxes after moov.
inline std::string movie(std::uint32_t secondsSince1904, const std::string& inMoov = "", const std::string& after = "")
{
    const std::string mvhd = box("mvhd", std::string(4, '\0') + be32(secondsSince1904) + be32(secondsSince1904) +
                                             std::string(88, '\0'));
    return box("ftyp", std::string("qt  \0\0\0\0qt  ", 12)) + box("moov", mvhd + inMoov) + after;
}

// Apple's keyed metadata holding `keys` and their texts.
inline std::string appleMeta(const std::vector<std::pair<std::string, std::string>>& keys)
{
    std::string names, items;
    for (std::uint32_t i = 0; i < keys.size(); ++i) {
        names += box("mdta", keys[i].first);
        items += box(be32(i + 1), box("data", be32(1) + be32(0) + keys[i].second));
    }
    const std::string table = box("keys", std::string(4, '\0') + be32(std::uint32_t(keys.size())) + names);
    return box("meta", box("hdlr", std::string(25, '\0')) + table + box("ilst", items));
}

// QuickTime user data holding ©day.
inline std::string userDay(const std::string& text)
{
    return box("udta", box("\xa9" "day", std::string{char(text.size() >> 8), char(text.size() & 0xff)} + "\x15\xc7" + text));
}

} // namespace zanto::test
