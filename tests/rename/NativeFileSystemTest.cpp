#include "tests/support/TempFolder.h"
#include "ui/NativeFileSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace zanto::test {
namespace {

class NativeFs : public ::testing::Test {
protected:
    TempFolder folder;
    NativeFileSystem fs;
};

TEST_F(NativeFs, AFifoIsNotReadableAndDoesNotBlock)
{
    ASSERT_EQ(::mkfifo(folder.pathOf("pipe").c_str(), 0600), 0);
    EXPECT_FALSE(fs.canOpenForReading(folder.pathOf("pipe")));
}

TEST_F(NativeFs, OnlyRegularFilesAreReadable)
{
    folder.write("a.jpg");
    folder.makeSubfolder("dir");
    std::filesystem::create_symlink("a.jpg", folder.pathOf("link.jpg"));
    EXPECT_TRUE(fs.canOpenForReading(folder.pathOf("a.jpg")));
    EXPECT_TRUE(fs.canOpenForReading(folder.pathOf("link.jpg")));
    EXPECT_FALSE(fs.canOpenForReading(folder.pathOf("dir")));
    EXPECT_FALSE(fs.canOpenForReading(folder.pathOf("gone.jpg")));
}

TEST_F(NativeFs, RenameNeverReplaces)
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

TEST_F(NativeFs, RemovingASymlinkKeepsItsTarget)
{
    folder.write("target.jpg");
    std::filesystem::create_symlink("target.jpg", folder.pathOf("link.jpg"));

    EXPECT_EQ(fs.removeFile(folder.pathOf("link.jpg")), FsError::None);

    EXPECT_EQ(folder.names(), std::vector<std::string>{"target.jpg"});
    EXPECT_EQ(fs.removeFile(folder.pathOf("link.jpg")), FsError::FileNotFound);
}

TEST_F(NativeFs, SameFileMeansSameInode)
{
    folder.writeAll({"a.jpg", "b.jpg"});
    ASSERT_EQ(::link(folder.pathOf("a.jpg").c_str(), folder.pathOf("hard.jpg").c_str()), 0);
    EXPECT_TRUE(fs.sameFile(folder.pathOf("a.jpg"), folder.pathOf("hard.jpg")));
    EXPECT_FALSE(fs.sameFile(folder.pathOf("a.jpg"), folder.pathOf("b.jpg")));
    EXPECT_FALSE(fs.sameFile(folder.pathOf("a.jpg"), folder.pathOf("gone.jpg")));
}

TEST_F(NativeFs, ListsHiddenNamesButNotTheDotEntries)
{
    folder.writeAll({".hidden", "a.jpg"});
    folder.makeSubfolder("sub");
    std::vector<std::string> names{"stale"};

    EXPECT_EQ(fs.listNames(folder.path(), names), FsError::None);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".hidden", "a.jpg", "sub"}));
    EXPECT_EQ(fs.listNames(folder.pathOf("gone"), names), FsError::PathNotFound);
    EXPECT_GE(fs.maxNameLength(folder.path()), 255u);
}

TEST(FsErrorFromErrno, NumbersTheErrorsTheMessagesKnow)
{
    EXPECT_EQ(fsErrorFromErrno(0), FsError::None);
    EXPECT_EQ(fsErrorFromErrno(ENOENT), FsError::FileNotFound);
    EXPECT_EQ(fsErrorFromErrno(ENOENT, true), FsError::PathNotFound);
    EXPECT_EQ(fsErrorFromErrno(EEXIST), FsError::FileExists);
    EXPECT_EQ(fsErrorFromErrno(EACCES), FsError::PathFileAccess);
    EXPECT_EQ(fsErrorFromErrno(EROFS), FsError::PathFileAccess);
    EXPECT_EQ(fsErrorFromErrno(ENOSPC), FsError::Other);
    EXPECT_EQ(fsErrorFromErrno(ENAMETOOLONG), FsError::Other);
}

} // namespace
} // namespace zanto::test
