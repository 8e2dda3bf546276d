#include "fs/NativeFileSystem.h"
#include "listing/CaptureTime.h"
#include "rename/ReadableFile.h"
#include "tests/support/ScopedTimeZone.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

namespace zanto::test {
namespace {

// Files that real cameras and phones made, beside exiftool's reading of each:
// a check from outside, of what our own samples never thought of. They are
// read where they lie (ZANTO_REAL_FILES, or the folder beside the checkout)
// and the test is skipped where they are absent.
std::filesystem::path realFiles()
{
    const char* given = std::getenv("ZANTO_REAL_FILES");
    return given != nullptr ? given : ZANTO_REAL_FILES;
}

std::vector<std::string> fieldsOf(const std::string& line)
{
    std::vector<std::string> fields;
    std::stringstream stream(line);
    for (std::string field; std::getline(stream, field, '\t');)
        fields.push_back(field);
    fields.resize(6);
    return fields;
}

TEST(RealFiles, EveryMomentIsTheOneExiftoolReads)
{
    const std::filesystem::path folder = realFiles();
    std::ifstream expected(folder / "expected.tsv");
    if (!expected)
        GTEST_SKIP() << "no real files at " << folder;
    // A video's moment is stored in UTC and shown in the local time.
    const ScopedTimeZone utc("UTC");
    NativeFileSystem fs;
    std::string line;
    std::getline(expected, line); // the column names
    int compared = 0;
    while (std::getline(expected, line)) {
        const std::vector<std::string> fields = fieldsOf(line);
        const std::string& name = fields[0];
        if (name.empty())
            continue;
        std::unique_ptr<ReadableFile> file;
        ASSERT_EQ(fs.openFile((folder / "samples" / name).string(), file), FsError::None) << name;
        EXPECT_EQ(CaptureTime::of(*file).value_or(""), fields[5]) << name;
        ++compared;
    }
    EXPECT_GT(compared, 0);
}

} // namespace
} // namespace zanto::test
