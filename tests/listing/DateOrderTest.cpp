#include "listing/DateOrder.h"
#include "fs/NativeFileSystem.h"
#include "tests/support/MadeSamples.h"
#include "tests/support/ScopedTimeZone.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

namespace zanto::test {
namespace {

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
        folder.write(name, date.empty() ? std::string("no exif") : jpegTakenAt(date, subSeconds));
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

struct TrueCase {
    const char* family;
    std::vector<std::pair<std::string, std::string>> files; // name, content; listed unless in `unlisted`
    std::vector<std::string> expected;
    std::vector<std::string> unlisted = {};
};

class TrueOrderTable : public ::testing::TestWithParam<TrueCase> {};

// Instants where the files record their zones, the other clocks read in the
// zone most of them record; ties by the camera's counter. The machine's zone
// is UTC and never the trip's.
TEST_P(TrueOrderTable, OrdersByTheInstantTaken)
{
    const ScopedTimeZone utc("UTC");
    TempFolder folder;
    std::vector<std::string> names;
    for (const auto& [name, content] : GetParam().files) {
        folder.write(name, content);
        const auto& unlisted = GetParam().unlisted;
        if (std::find(unlisted.begin(), unlisted.end(), name) == unlisted.end())
            names.push_back(name);
    }
    NativeFileSystem fs;
    DateOrder::sort(folder.path(), names, fs);
    EXPECT_EQ(names, GetParam().expected);
}

const std::string kCreation = "com.apple.quicktime.creationdate";

INSTANTIATE_TEST_SUITE_P(
    Cases, TrueOrderTable,
    ::testing::Values(
        TrueCase{"zones_recorded",
                 {{"a.jpg", jpegTakenAt("2024:05:01 10:00:00", "", "+09:00")},
                  {"b.jpg", jpegTakenAt("2024:05:01 02:30:00", "", "+01:00")},
                  {"c.jpg", jpegTakenAt("2024:05:01 09:45:00", "", "+09:00")}},
                 {"c.jpg", "a.jpg", "b.jpg"}},
        TrueCase{"clock_without_zone_in_the_trips",
                 {{"phone1.jpg", jpegTakenAt("2024:05:01 10:00:00", "", "+09:00")},
                  {"phone2.jpg", jpegTakenAt("2024:05:01 10:20:00", "", "+09:00")},
                  {"camera.jpg", jpegTakenAt("2024:05:01 10:10:00")}},
                 {"phone1.jpg", "camera.jpg", "phone2.jpg"}},
        TrueCase{"video_header_in_utc",
                 {{"phone1.jpg", jpegTakenAt("2024:05:01 10:20:00", "", "+09:00")},
                  {"phone2.jpg", jpegTakenAt("2024:05:01 10:40:00", "", "+09:00")},
                  {"clip.mov", movie(kMay1st0130Utc)}},
                 {"phone1.jpg", "clip.mov", "phone2.jpg"}},
        TrueCase{"video_zoned_date_over_its_header",
                 {{"phone1.jpg", jpegTakenAt("2024:05:01 10:20:00", "", "+09:00")},
                  {"phone2.jpg", jpegTakenAt("2024:05:01 10:40:00", "", "+09:00")},
                  {"clip.mov", movie(kMay1st0130Utc + 3600, appleMeta({{kCreation, "2024-05-01T10:25:00+0900"}}))}},
                 {"phone1.jpg", "clip.mov", "phone2.jpg"}},
        TrueCase{"sony_clip_by_its_xml",
                 {{"photo.jpg", jpegTakenAt("2024:05:01 07:00:00", "", "-05:00")},
                  {"C0001.MP4", movie(kMay1st0130Utc + 8 * 3600 + 1800)}, // its local 10:00 written as UTC
                  {"C0001M01.XML", "<NonRealTimeMeta><CreationDate value=\"2024-05-01T10:00:00-05:00\"/>"}},
                 {"photo.jpg", "C0001.MP4"},
                 {"C0001M01.XML"}},
        TrueCase{"burst_counter_wraps",
                 {{"IMG_0002.JPG", jpegTakenAt("2024:05:01 10:00:00")},
                  {"IMG_9999.JPG", jpegTakenAt("2024:05:01 10:00:00")},
                  {"IMG_0001.JPG", jpegTakenAt("2024:05:01 10:00:00")},
                  {"IMG_9998.JPG", jpegTakenAt("2024:05:01 10:00:00")}},
                 {"IMG_9998.JPG", "IMG_9999.JPG", "IMG_0001.JPG", "IMG_0002.JPG"}},
        TrueCase{"counters_close_do_not_wrap",
                 {{"IMG_4000.JPG", jpegTakenAt("2024:05:01 10:00:00")},
                  {"IMG_0001.JPG", jpegTakenAt("2024:05:01 10:00:00")},
                  {"IMG_0002.JPG", jpegTakenAt("2024:05:01 10:00:00")}},
                 {"IMG_0001.JPG", "IMG_0002.JPG", "IMG_4000.JPG"}},
        TrueCase{"sub_seconds_before_counter",
                 {{"IMG_0001.JPG", jpegTakenAt("2024:05:01 10:00:00", "9")},
                  {"IMG_0002.JPG", jpegTakenAt("2024:05:01 10:00:00", "1")}},
                 {"IMG_0002.JPG", "IMG_0001.JPG"}}),
    [](const auto& info) { return std::string(info.param.family); });

} // namespace
} // namespace zanto::test

namespace zanto::test {
namespace {

// A camera 3 minutes fast among a phone's zoned photos: its row, the offset
// that two files of one moment give, and the order that offset makes.
TEST(DateOrder, CamerasAndTheOffsetsThatPutTheirClocksRight)
{
    const ScopedTimeZone utc("UTC");
    const std::vector<TiffTag> canon{{0x010f, "Canon"}, {0x0110, "Canon EOS R6"}};
    const std::vector<TiffTag> phone{{0x010f, "Apple"}, {0x0110, "iPhone 15"}};
    const auto at = [](const char* clock, const char* zone = "") {
        std::vector<TiffTag> tags{{0x9003, clock}};
        if (*zone != '\0')
            tags.push_back({0x9011, zone});
        return tags;
    };
    TempFolder folder;
    folder.write("IMG_0001.JPG", jpegWithExif(at("2024:05:01 10:03:00"), canon)); // taken at 10:00
    folder.write("IMG_0002.JPG", jpegWithExif(at("2024:05:01 10:04:00"), canon)); // at 10:01
    folder.write("IMG_0002.CR3.xmp", "sidecar");
    folder.write("P1.jpg", jpegWithExif(at("2024:05:01 10:00:30", "+09:00"), phone));
    folder.write("P2.jpg", jpegWithExif(at("2024:05:01 10:02:00", "+09:00"), phone));
    folder.write("MVI_0003.MOV", movie(kMay1st0130Utc));
    std::vector<std::string> names{"IMG_0001.JPG", "IMG_0002.JPG", "IMG_0002.CR3.xmp", "P1.jpg", "P2.jpg", "MVI_0003.MOV"};
    NativeFileSystem fs;
    const DateOrder order(folder.path(), names, fs);

    const TripCamera camera{{"Canon", "Canon EOS R6", ""}, ""};
    const std::vector<CameraClock> clocks = order.cameras();
    ASSERT_EQ(clocks.size(), 3U);
    EXPECT_EQ(clocks[0].camera, (TripCamera{{"Apple", "iPhone 15", ""}, ""}));
    EXPECT_EQ(clocks[1].camera, camera);
    EXPECT_EQ(clocks[1].files, 3U);
    EXPECT_EQ(clocks[1].last->text(), "2024:05:01 10:04:00.000000000");
    EXPECT_EQ(clocks[2].camera, (TripCamera{{}, "MVI_*.MOV"}));
    EXPECT_EQ(order.namesOf(camera), (std::vector<std::string>{"IMG_0001.JPG", "IMG_0002.CR3.xmp", "IMG_0002.JPG"}));

    const std::optional<std::int64_t> offset = order.offsetToMatch("IMG_0001.JPG", "P1.jpg", {});
    EXPECT_EQ(offset, -150); // the phone's 10:00:30 and the camera's 10:03:00
    const ClockOffsets offsets{{camera, -180}};
    EXPECT_EQ(order.ordered(offsets),
              (std::vector<std::string>{"IMG_0001.JPG", "P1.jpg", "IMG_0002.CR3.xmp", "IMG_0002.JPG", "P2.jpg",
                                        "MVI_0003.MOV"}));
    EXPECT_EQ(order.momentOf("IMG_0002.JPG", offsets)->text(), "2024:05:01 10:01:00.000000000");
    EXPECT_EQ(order.cameras(offsets)[0].camera, camera);
}

} // namespace
} // namespace zanto::test
