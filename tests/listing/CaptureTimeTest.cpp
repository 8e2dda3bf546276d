#include "listing/CaptureTime.h"
#include "fs/NativeFileSystem.h"
#include "rename/ReadableFile.h"
#include "tests/support/ScopedTimeZone.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace zanto::test {
namespace {

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
    EXPECT_EQ(CaptureTime::of(*file).value_or(""), GetParam().moment);
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
    EXPECT_EQ(CaptureTime::of(video).value_or(""), "2024:05:01 01:30:00.000000000");
    EXPECT_LT(video.read, 16U * 1024);
}

} // namespace
} // namespace zanto::test
