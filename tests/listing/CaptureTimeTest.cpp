#include "listing/CaptureTime.h"
#include "fs/NativeFileSystem.h"
#include "rename/ReadableFile.h"
#include "tests/support/MadeSamples.h"
#include "tests/support/ScopedTimeZone.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace zanto::test {
namespace {

std::string textOf(const std::optional<CaptureMoment>& moment)
{
    return moment ? moment->text() : std::string();
}

struct TakenCase {
    const char* sample; // in tests/data, made by make_samples.py
    const char* moment; // "" for none
};

class CaptureTimeTable : public ::testing::TestWithParam<TakenCase> {};

// Videos count UTC; the samples' 01:30 UTC is 10:30 in Tokyo.
TEST_P(CaptureTimeTable, ReadsTheMomentTaken)
{
    const ScopedTimeZone tokyo("Asia/Tokyo");
    NativeFileSystem fs;
    std::unique_ptr<ReadableFile> file;
    ASSERT_EQ(fs.openFile(std::string(ZANTO_TEST_DATA "/") + GetParam().sample, file), FsError::None);
    EXPECT_EQ(textOf(CaptureTime::of(*file)), GetParam().moment);
}

INSTANTIATE_TEST_SUITE_P(
    Samples, CaptureTimeTable,
    ::testing::Values(TakenCase{"taken.jpg", "2024:05:01 10:00:01.250000000"}, // date past the first 4 KiB
                      TakenCase{"taken.cr2", "2024:05:01 10:00:02.500000000"},
                      TakenCase{"taken.nef", "2024:05:01 10:00:03.000000000"}, // big-endian
                      TakenCase{"taken.orf", "2024:05:01 10:00:04.000000000"},
                      TakenCase{"taken.rw2", "2024:05:01 10:00:05.000000000"},
                      TakenCase{"taken.heic", "2024:05:01 10:00:06.750000000"},
                      TakenCase{"taken.avif", "2024:05:01 10:00:07.000000000"},
                      TakenCase{"taken.cr3", "2024:05:01 10:00:08.100000000"},
                      TakenCase{"taken.png", "2024:05:01 10:00:09.000000000"},
                      TakenCase{"taken.webp", "2024:05:01 10:00:10.000000000"},
                      TakenCase{"taken.mov", "2024:05:01 10:30:00.000000000"},
                      TakenCase{"taken.mp4", "2024:05:01 10:31:00.000000000"}, // 64-bit sizes and times
                      TakenCase{"photo-rotated.jpg", ""}, TakenCase{"damaged.jpg", ""},
                      TakenCase{"picture.gif", ""}),
    [](const auto& info) {
        std::string name = info.param.sample;
        std::replace(name.begin(), name.end(), '.', '_');
        name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
        return name;
    });

// A file in memory that counts the bytes asked of it.
class CountedFile final : public ReadableFile {
public:
    explicit CountedFile(std::string bytes) : m_file(std::move(bytes)) {}
    std::uint64_t size() const override { return m_file.size(); }
    FsError readAt(std::uint64_t offset, std::size_t length, std::string& bytes) override
    {
        read += length;
        return m_file.readAt(offset, length, bytes);
    }
    std::uint64_t read = 0;

private:
    MemoryFile m_file;
};

struct ZonedCase {
    const char* name;
    std::string file;
    const char* moment; // "" for none
    CaptureMoment::Zone zone;
    int offsetMinutes; // with a zone
};

class ZonedTable : public ::testing::TestWithParam<ZonedCase> {};

// The date as the clock read it, and its offset where the file records one;
// a video's header in UTC, read on the machine's clock (UTC here).
TEST_P(ZonedTable, ReadsTheClockAndItsOffset)
{
    const ScopedTimeZone utc("UTC");
    CountedFile file(GetParam().file);
    const std::optional<CaptureMoment> moment = CaptureTime::of(file);
    ASSERT_EQ(textOf(moment), GetParam().moment);
    if (!moment)
        return;
    EXPECT_EQ(moment->zone(), GetParam().zone);
    EXPECT_EQ(moment->offsetMinutes().value_or(-1), GetParam().offsetMinutes);
}

using Zone = CaptureMoment::Zone;
const std::string kXmpUuid("\xbe\x7a\xcf\xcb\x97\xa9\x42\xe8\x9c\x71\x99\x94\x91\xe3\xaf\xac", 16);

INSTANTIATE_TEST_SUITE_P(
    Built, ZonedTable,
    ::testing::Values(
        ZonedCase{"exif_offset", jpegTakenAt("2024:05:01 10:00:00", "5", "+09:00"), "2024:05:01 10:00:00.500000000",
                  Zone::Recorded, 540},
        ZonedCase{"exif_offset_west", jpegTakenAt("2024:05:01 10:00:00", "", "-03:30"),
                  "2024:05:01 10:00:00.000000000", Zone::Recorded, -210},
        ZonedCase{"exif_offset_malformed", jpegTakenAt("2024:05:01 10:00:00", "", "+9:00"),
                  "2024:05:01 10:00:00.000000000", Zone::Unknown, -1},
        ZonedCase{"exif_no_such_day", jpegTakenAt("2023:02:29 10:00:00"), "", Zone::Unknown, -1},
        ZonedCase{"exif_leap_day", jpegTakenAt("2024:02:29 23:59:59"), "2024:02:29 23:59:59.000000000", Zone::Unknown,
                  -1},
        ZonedCase{"mov_header_only", movie(kMay1st0130Utc), "2024:05:01 01:30:00.000000000", Zone::Utc, 0},
        ZonedCase{"mov_apple_creation_date",
                  movie(kMay1st0130Utc, appleMeta({{"com.apple.quicktime.creationdate", "2024-05-01T10:30:00+0900"}})),
                  "2024:05:01 10:30:00.000000000", Zone::Recorded, 540},
        ZonedCase{"mov_other_apple_key", movie(kMay1st0130Utc, appleMeta({{"com.apple.quicktime.make", "Apple"}})),
                  "2024:05:01 01:30:00.000000000", Zone::Utc, 0},
        ZonedCase{"mov_day_zoned", movie(kMay1st0130Utc, userDay("2024-05-01T12:30:00+11:00")),
                  "2024:05:01 12:30:00.000000000", Zone::Recorded, 660},
        ZonedCase{"mov_day_unzoned", movie(kMay1st0130Utc, userDay("2024-05-01T12:30:00")),
                  "2024:05:01 01:30:00.000000000", Zone::Utc, 0},
        ZonedCase{"mov_xmp_after_moov",
                  movie(kMay1st0130Utc, "",
                        box("uuid", kXmpUuid + "<x:xmpmeta><rdf:Description xmp:ModifyDate='2025-01-01T00:00:00Z' "
                                               "xmp:CreateDate='2024-05-01T01:30:00.25Z'/></x:xmpmeta>")),
                  "2024:05:01 01:30:00.250000000", Zone::Recorded, 0},
        ZonedCase{"sony_clip_xml",
                  "<?xml version=\"1.0\"?>\n<NonRealTimeMeta><CreationDate value=\"2024-05-01T10:00:00+09:00\"/>",
                  "2024:05:01 10:00:00.000000000", Zone::Recorded, 540},
        ZonedCase{"xmp_element_form",
                  "<x:xmpmeta><exif:DateTimeOriginal>2024-05-01T08:00:00-07:00</exif:DateTimeOriginal></x:xmpmeta>",
                  "2024:05:01 08:00:00.000000000", Zone::Recorded, -420}),
    [](const auto& info) { return std::string(info.param.name); });

struct CameraCase {
    const char* name;
    std::string file;
    CameraId camera;
    const char* contentId;
};

// The camera a file names and a Live Photo's identifier, from the metadata
// that gives the moment.
TEST(CaptureTime, NamesTheCameraAndTheLivePhoto)
{
    const std::string date = "2024:05:01 10:00:00";
    const CameraCase cases[] = {
        {"exif_make_model_serial",
         jpegWithExif({{0x9003, date}, {0xa431, "012345"}}, {{0x010f, "NIKON CORPORATION  "}, {0x0110, "NIKON Z 6"}}),
         {"NIKON CORPORATION", "NIKON Z 6", "012345"}, ""},
        {"iphone_still", jpegWithExif({{0x9003, date}, appleNote("1745E022-9712")}, {{0x010f, "Apple"}}),
         {"Apple", "", ""}, "1745E022-9712"},
        {"iphone_clip",
         movie(kMay1st0130Utc, appleMeta({{"com.apple.quicktime.content.identifier", "1745E022-9712"},
                                              {"com.apple.quicktime.model", "iPhone 15"}})),
         {"", "iPhone 15", ""}, "1745E022-9712"},
        {"sony_clip_xml", "<?xml version='1.0'?><Device manufacturer='Sony' modelName='ILCE-7M4' serialNo='42'/>",
         {"Sony", "ILCE-7M4", "42"}, ""},
    };
    for (const CameraCase& c : cases) {
        CountedFile file(c.file);
        const Capture capture = CaptureTime::facts(file);
        EXPECT_EQ(capture.camera, c.camera) << c.name;
        EXPECT_EQ(capture.contentId, c.contentId) << c.name;
    }
}

// A little-endian TIFF structure: IFD0 pointing at an Exif IFD at `exifAt`,
// its date right after it and its sub-seconds at `subSecondsAt`.
std::string tiffWith(std::uint32_t exifAt, std::uint32_t subSecondsAt)
{
    std::string t("II*\0\x08\0\0\0", 8);
    const auto u16 = [&t](unsigned v) { t += char(v & 0xff), t += char(v >> 8); };
    const auto u32 = [&](unsigned v) { u16(v & 0xffff), u16(v >> 16); };
    u16(1), u16(0x8769), u16(4), u32(1), u32(exifAt), u32(0);
    t.resize(exifAt, 'x');
    u16(2), u16(0x9003), u16(2), u32(20), u32(exifAt + 30), u16(0x9291), u16(2), u32(7), u32(subSecondsAt), u32(0);
    t += std::string("2024:05:01 10:00:11", 20);
    t.resize(subSecondsAt, 'x');
    return t + std::string("878303", 7);
}

std::string jpegWith(const std::string& tiff)
{
    const std::string app1 = std::string("Exif\0\0", 6) + tiff;
    const std::size_t length = app1.size() + 2;
    return std::string("\xff\xd8\xff\xe1", 4) + char(length >> 8) + char(length & 0xff) + app1 + "\xff\xd9";
}

// A Fujifilm RAF whose header points at `jpeg`, placed at `at`.
std::string rafWith(const std::string& jpeg, std::uint32_t at)
{
    std::string raf = "FUJIFILMCCD-RAW ";
    raf.resize(84, '\0');
    for (const std::uint32_t value : {at, static_cast<std::uint32_t>(jpeg.size())})
        for (const int shift : {24, 16, 8, 0})
            raf += char((value >> shift) & 0xff);
    raf.resize(at, '\0');
    return raf + jpeg;
}

struct FarCase {
    const char* name;
    std::string file;
    std::uint64_t mostRead; // bytes: the floor's 4 KiB and a read where the value lies
};

class FarTagTable : public ::testing::TestWithParam<FarCase> {};

// A directory or value far from the start is read where it lies, not with
// the bytes before it, and nothing beyond the first 4 KiB when all is there.
TEST_P(FarTagTable, ReadsTheTagsWhereTheyLie)
{
    CountedFile file(GetParam().file);
    EXPECT_EQ(textOf(CaptureTime::of(file)), "2024:05:01 10:00:11.878303000");
    EXPECT_LE(file.read, GetParam().mostRead);
}

INSTANTIATE_TEST_SUITE_P(
    Built, FarTagTable,
    ::testing::Values(FarCase{"jpeg_all_in_first_4_KiB", jpegWith(tiffWith(100, 200)), 4096},
                      FarCase{"jpeg_sub_seconds_past_4_KiB", jpegWith(tiffWith(100, 6000)), 2 * 4096},
                      FarCase{"raw_exif_ifd_past_64_KiB", tiffWith(135380, 135440) + std::string(4096, 'r'), 2 * 4096},
                      FarCase{"raw_sub_seconds_past_64_KiB", tiffWith(100, 70000) + std::string(4096, 'r'), 2 * 4096},
                      FarCase{"raf_preview_past_4_KiB", rafWith(jpegWith(tiffWith(100, 200)), 8192), 2 * 4096}),
    [](const auto& info) { return std::string(info.param.name); });

// A 6 GiB video whose moov follows its mdat: made up on the fly, and
// counted, to show the reading skips the media instead of reading it.
class LongVideo final : public ReadableFile {
public:
    static constexpr std::uint64_t kMedia = 6ULL << 30;
    explicit LongVideo(std::string moov) : m_moov(std::move(moov)) {}

    std::uint64_t size() const override { return kHead.size() + kMedia + m_moov.size(); }
    FsError readAt(std::uint64_t offset, std::size_t length, std::string& bytes) override
    {
        bytes.clear();
        for (std::uint64_t at = offset; at < std::min(offset + length, size()); ++at) {
            if (at < kHead.size())
                bytes += kHead[at];
            else
                bytes += at < kHead.size() + kMedia ? '\0' : m_moov[at - kHead.size() - kMedia];
        }
        read += bytes.size();
        return FsError::None;
    }
    std::uint64_t read = 0;

private:
    // ftyp, then mdat's header with its 64-bit size.
    const std::string kHead = std::string("\0\0\0\x10" "ftypqt  \0\0\0\0" "\0\0\0\1mdat", 24) +
                              std::string("\0\0\0\1\x80\0\0\x10", 8);
    std::string m_moov;
};

TEST(CaptureTime, SkipsTheMediaOfALongVideo)
{
    const ScopedTimeZone utc("UTC");
    std::string moov = readFile(ZANTO_TEST_DATA "/taken.mov");
    moov.erase(0, moov.size() - 8 - 108); // moov and its mvhd close the sample
    LongVideo video(moov);
    EXPECT_EQ(textOf(CaptureTime::of(video)), "2024:05:01 01:30:00.000000000");
    EXPECT_LT(video.read, 16U * 1024);
}

} // namespace
} // namespace zanto::test
