#include "fs/NativeFileSystem.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace zanto::test {
namespace {

class NativeFs : public ::testing::Test {
protected:
    TempFolder folder;
    NativeFileSystem fs;
};

TEST_F(NativeFs, RenameNeverReplacesEvenADanglingLink)
{
    folder.writeAll({"a.jpg", "b.jpg"});
    std::filesystem::create_symlink("nowhere", folder.pathOf("dangling"));
    const auto before = folder.contents();

    EXPECT_EQ(fs.renameNoReplace(folder.pathOf("a.jpg"), folder.pathOf("b.jpg")), FsError::FileExists);
    EXPECT_EQ(fs.renameNoReplace(folder.pathOf("a.jpg"), folder.pathOf("dangling")), FsError::FileExists);
    EXPECT_EQ(fs.renameNoReplace(folder.pathOf("gone.jpg"), folder.pathOf("c.jpg")), FsError::FileNotFound);
    EXPECT_EQ(folder.contents(), before);
    EXPECT_EQ(fs.renameNoReplace(folder.pathOf("a.jpg"), folder.pathOf("c.jpg")), FsError::None);
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"b.jpg", "c.jpg", "dangling"}));
}

TEST_F(NativeFs, RemovingALinkKeepsItsTargetAndAFifoIsNeverOpened)
{
    folder.write("target.jpg");
    std::filesystem::create_symlink("target.jpg", folder.pathOf("link.jpg"));
    ASSERT_EQ(::mkfifo(folder.pathOf("pipe").c_str(), 0600), 0);

    EXPECT_FALSE(fs.canOpenForReading(folder.pathOf("pipe"))); // would block if it were opened
    EXPECT_TRUE(fs.canOpenForReading(folder.pathOf("link.jpg")));
    EXPECT_EQ(fs.removeFile(folder.pathOf("link.jpg")), FsError::None);
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"pipe", "target.jpg"}));
}

} // namespace
} // namespace zanto::test
