#include "fs/NativeFileSystem.h"
#include "listing/CaptureTime.h"
#include "rename/ReadableFile.h"
#include "tests/support/RealFiles.h"
#include "tests/support/ScopedTimeZone.h"

#include <gtest/gtest.h>

#include <memory>

namespace zanto::test {
namespace {

TEST(RealFiles, EveryMomentIsTheOneExiftoolReads)
{
    const auto rows = realFileRows();
    if (rows.empty())
        GTEST_SKIP() << "no real files at " << realFiles();
    // A video's moment is stored in UTC and shown in the local time.
    const ScopedTimeZone utc("UTC");
    NativeFileSystem fs;
    for (const auto& row : rows) {
        const std::string& name = row.at("file");
        std::unique_ptr<ReadableFile> file;
        ASSERT_EQ(fs.openFile((realFiles() / "samples" / name).string(), file), FsError::None) << name;
        EXPECT_EQ(CaptureTime::of(*file).value_or(""), row.at("exiftool_moment")) << name;
    }
}

} // namespace
} // namespace zanto::test
