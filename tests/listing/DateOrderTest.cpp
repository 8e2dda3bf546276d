#include "listing/DateOrder.h"
#include "fs/NativeFileSystem.h"
#include "tests/support/ScopedTimeZone.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

namespace zanto::test {
namespace {

// The start of a JPEG whose EXIF holds DateTimeOriginal and, when given,
// SubSecTimeOriginal (up to three digits, held in the entry itself):
// little-endian TIFF, IFD0 pointing at the Exif IFD.
std::string jpegTakenAt(const std::string& date, const std::string& subSeconds)
{
    std::string tiff("II*\0\x08\0\0\0", 8);
    const auto u16 = [&](unsigned v) { tiff += char(v & 0xff), tiff += char(v >> 8); };
    const auto u32 = [&](unsigned v) { u16(v & 0xffff), u16(v >> 16); };
    const unsigned entries = subSeconds.empty() ? 1 : 2;
    const unsigned exifIfd = 8 + 2 + 12 + 4;
    const unsigned data = exifIfd + 2 + 12 * entries + 4;
    u16(1), u16(0x8769), u16(4), u32(1), u32(exifIfd), u32(0);
    u16(entries), u16(0x9003), u16(2), u32(20), u32(data);
    if (!subSeconds.empty())
        u16(0x9291), u16(2), u32(unsigned(subSeconds.size()) + 1), tiff += (subSeconds + std::string(4, '\0')).substr(0, 4);
    u32(0);
    tiff += date + '\0';
    const std::string app1 = std::string("Exif\0\0", 6) + tiff;
    const std::size_t length = app1.size() + 2;
    return std::string("\xff\xd8\xff\xe1", 4) + char(length >> 8) + char(length & 0xff) + app1 + "\xff\xd9";
}

struct DateCase {
    const char* family;
    // name, date ("" for none: the modification time counts), sub-seconds
    std::vector<std::array<std::string, 3>> files;
    std::vector<std::string> expected;
};

class DateOrderTable : public ::testing::TestWithParam<DateCase> {};

TEST_P(DateOrderTable, SortsByTheMomentTaken)
{
    TempFolder folder;
    std::vector<std::string> names;
    auto modified = std::filesystem::file_time_type::clock::now();
    for (const auto& [name, date, subSeconds] : GetParam().files) {
        folder.write(name, date.empty() ? "no exif" : jpegTakenAt(date, subSeconds));
        // Files without a date: each a minute later than the one before.
        std::filesystem::last_write_time(folder.pathOf(name), modified += std::chrono::minutes(1));
        names.push_back(name);
    }
    NativeFileSystem fs;
    DateOrder::sort(folder.path(), names, fs);
    EXPECT_EQ(names, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DateOrderTable,
    ::testing::Values(
        DateCase{"exif_sub_seconds_are_a_fraction",
                 {{"a.jpg", "2024:05:01 10:00:00", "5"}, {"b.jpg", "2024:05:01 10:00:00", "12"},
                  {"c.jpg", "2024:05:01 10:00:00", ""}},
                 {"c.jpg", "b.jpg", "a.jpg"}},
        DateCase{"no_exif_modification_time",
                 {{"z.txt", "", ""}, {"a.txt", "", ""}, {"old.jpg", "2001:01:01 00:00:00", ""}},
                 {"old.jpg", "z.txt", "a.txt"}},
        DateCase{"ties_natural_order",
                 {{"IMG_10.jpg", "2024:05:01 10:00:00", ""}, {"img_9.jpg", "2024:05:01 10:00:00", ""},
                  {"IMG_9.jpg", "2024:05:01 10:00:00", ""}},
                 {"IMG_9.jpg", "img_9.jpg", "IMG_10.jpg"}},
        DateCase{"exif_malformed_date_is_none",
                 {{"bad.jpg", "2024-05-01 10:00:00", ""}, {"good.jpg", "2030:01:01 00:00:00", ""}},
                 {"bad.jpg", "good.jpg"}}),
    [](const auto& info) { return std::string(info.param.family); });

// Files of every kind, by content whatever their names; a shot at its
// earliest moment; a video's UTC time between local EXIF times.
TEST(DateOrder, ShotsAndVideosAmongPictures)
{
    const ScopedTimeZone tokyo("Asia/Tokyo");
    TempFolder folder;
    const std::vector<std::pair<std::string, std::string>> files{
        {"note.txt", "no date"},         {"late.jpg", "2024:05:01 10:45:00"}, {"clip.mov", "taken.mov"},
        {"P3.webp", "taken.webp"},       {"P2.nef", "taken.nef"},             {"IMG_9.xmp", "sidecar"},
        {"IMG_9.JPG", "taken.png"},      {"IMG_9.CR2", "taken.cr2"},          {"P1.jpg", "taken.jpg"}};
    std::vector<std::string> names;
    for (const auto& [name, content] : files) {
        const bool sample = content.rfind("taken.", 0) == 0;
        folder.write(name, sample                      ? readFile(ZANTO_TEST_DATA "/" + content)
                           : content.front() == '2' ? jpegTakenAt(content, "")
                                                     : content);
        names.push_back(name);
    }
    NativeFileSystem fs;
    DateOrder::sort(folder.path(), names, fs);
    EXPECT_EQ(names, (std::vector<std::string>{"P1.jpg", "IMG_9.CR2", "IMG_9.JPG", "IMG_9.xmp", "P2.nef", "P3.webp",
                                               "clip.mov", "late.jpg", "note.txt"}));
}

} // namespace
} // namespace zanto::test
