#include "fs/NativeFileSystem.h"
#include "listing/CaptureTime.h"
#include "rename/ReadableFile.h"
#include "tests/support/RealFiles.h"
#include "tests/support/ScopedTimeZone.h"

#include <gtest/gtest.h>

#include <memory>

namespace zanto::test {
namespace {

TEST(RealFiles, EveryMomentAndCameraIsTheOneExiftoolReads)
{
    const auto rows = realFileRows();
    if (rows.empty())
        GTEST_SKIP() << "no real files at " << realFiles();
    // A video's moment is stored in UTC: exiftool gives it so, and the
    // program's is the same instant, whatever zone its own date has.
    const ScopedTimeZone utc("UTC");
    NativeFileSystem fs;
    for (const auto& row : rows) {
        const std::string& name = row.at("file");
        std::unique_ptr<ReadableFile> file;
        ASSERT_EQ(fs.openFile((realFiles() / "samples" / name).string(), file), FsError::None) << name;
        const Capture capture = CaptureTime::facts(*file);
        std::optional<CaptureMoment> moment = capture.moment;
        if (moment && row.at("moment_from") == "QuickTime")
            moment = CaptureMoment::fromUtc(moment->utcSeconds(std::nullopt), moment->nanoseconds());
        EXPECT_EQ(moment ? moment->text() : "", row.at("exiftool_moment")) << name;
        // exiftool's EXIF make and model, "-" for none; a video's are Apple's keys.
        const auto named = [](const std::string& value) { return value == "-" ? std::string() : value; };
        if (row.at("moment_from") != "QuickTime") {
            EXPECT_EQ(capture.camera.make, named(row.at("make"))) << name;
            EXPECT_EQ(capture.camera.model, named(row.at("model"))) << name;
        }
    }
}

} // namespace
} // namespace zanto::test
