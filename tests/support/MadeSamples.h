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

// A JPEG whose Exif IFD holds the ASCII tags given (DateTimeOriginal 0x9003,
// SubSecTimeOriginal 0x9291, OffsetTimeOriginal 0x9011 …), in ascending
// order: little-endian TIFF, IFD0 pointing at the Exif IFD.
inline std::string jpegWithExif(const std::vector<std::pair<unsigned, std::string>>& tags)
{
    std::string tiff("II*\0\x08\0\0\0", 8), values;
    const auto u16 = [&](unsigned v) { tiff += char(v & 0xff), tiff += char(v >> 8 & 0xff); };
    const auto u32 = [&](unsigned v) { u16(v & 0xffff), u16(v >> 16); };
    const unsigned exifIfd = 8 + 2 + 12 + 4;
    const unsigned data = exifIfd + 2 + 12 * unsigned(tags.size()) + 4;
    u16(1), u16(0x8769), u16(4), u32(1), u32(exifIfd), u32(0);
    u16(unsigned(tags.size()));
    for (const auto& [tag, text] : tags) {
        const std::string value = text + '\0';
        u16(tag), u16(2), u32(unsigned(value.size()));
        if (value.size() <= 4) {
            tiff += (value + std::string(4, '\0')).substr(0, 4);
        } else {
            u32(data + unsigned(values.size()));
            values += value;
        }
    }
    u32(0);
    const std::string app1 = std::string("Exif\0\0", 6) + tiff + values;
    const std::size_t length = app1.size() + 2;
    return std::string("\xff\xd8\xff\xe1", 4) + char(length >> 8) + char(length & 0xff) + app1 + "\xff\xd9";
}

inline std::string jpegTakenAt(const std::string& date, const std::string& subSeconds = "",
                               const std::string& offset = "")
{
    std::vector<std::pair<unsigned, std::string>> tags{{0x9003, date}};
    if (!offset.empty())
        tags.emplace_back(0x9011, offset);
    if (!subSeconds.empty())
        tags.emplace_back(0x9291, subSeconds);
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

// Apple's keyed metadata holding one key and its text.
inline std::string appleMeta(const std::string& key, const std::string& text)
{
    const std::string keys = box("keys", std::string(4, '\0') + be32(1) + box("mdta", key));
    const std::string item = box(std::string("\0\0\0\1", 4), box("data", be32(1) + be32(0) + text));
    return box("meta", box("hdlr", std::string(25, '\0')) + keys + box("ilst", item));
}

// QuickTime user data holding ©day.
inline std::string userDay(const std::string& text)
{
    return box("udta", box("\xa9" "day", std::string{char(text.size() >> 8), char(text.size() & 0xff)} + "\x15\xc7" + text));
}

} // namespace zanto::test
