#include "browse/DirectoryListing.h"
#include "browse/WildcardPattern.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zanto {
namespace {

using Names = std::vector<std::string>;

Names list(const std::string& folder, const char* pattern)
{
    Names names;
    EXPECT_EQ(listMatchingFiles(folder, WildcardPattern(pattern), names), FsError::None);
    return names;
}

TEST(DirectoryListing, ListsMatchingFilesInNaturalOrder)
{
    test::TempFolder folder;
    folder.writeAll({"IMG_10.jpg", "IMG_9.JPG", "img_1.jpg", "notes.txt", "IMG_2.jpeg", "x.png"});
    EXPECT_EQ(list(folder.path(), "*.jpg"), (Names{"img_1.jpg", "IMG_9.JPG", "IMG_10.jpg"}));
    EXPECT_EQ(list(folder.path(), "*.jpg;*.png"), (Names{"img_1.jpg", "IMG_9.JPG", "IMG_10.jpg", "x.png"}));
    EXPECT_TRUE(list(folder.path(), "*.a").empty());
}

TEST(DirectoryListing, LeavesOutHiddenFilesFoldersAndSpecialFiles)
{
    test::TempFolder folder;
    folder.writeAll({".hidden.jpg", "shown.jpg"});
    folder.makeSubfolder("album.jpg");
    ASSERT_EQ(::mkfifo(folder.pathOf("pipe.jpg").c_str(), 0600), 0);
    EXPECT_EQ(list(folder.path(), "*.jpg"), (Names{"shown.jpg"}));
}

TEST(DirectoryListing, FollowsLinksToFilesOnly)
{
    test::TempFolder folder;
    folder.write("target.dat");
    folder.makeSubfolder("sub");
    ASSERT_EQ(::symlink("target.dat", folder.pathOf("to-file.jpg").c_str()), 0);
    ASSERT_EQ(::symlink("sub", folder.pathOf("to-folder.jpg").c_str()), 0);
    ASSERT_EQ(::symlink("missing", folder.pathOf("dangling.jpg").c_str()), 0);
    EXPECT_EQ(list(folder.path(), "*.jpg"), (Names{"to-file.jpg"}));
}

TEST(DirectoryListing, KeepsNamesThatAreNotUtf8AsTheirBytes)
{
    test::TempFolder folder;
    const std::string sjisName = "\x83\x65\x83\x58\x83\x67.txt"; // テスト in Shift_JIS
    folder.writeAll({sjisName, "旅行.txt"});
    EXPECT_EQ(list(folder.path(), "*.TXT"), (Names{sjisName, "旅行.txt"}));
}

TEST(DirectoryListing, ReportsAMissingOrUnreadableFolder)
{
    test::TempFolder folder;
    Names names{"stale"};
    EXPECT_EQ(listMatchingFiles(folder.pathOf("gone"), WildcardPattern("*"), names), FsError::PathNotFound);
    EXPECT_TRUE(names.empty());

    folder.write("file.txt");
    EXPECT_EQ(listMatchingFiles(folder.pathOf("file.txt"), WildcardPattern("*"), names), FsError::PathNotFound);

    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads every folder";
    const std::string locked = folder.makeSubfolder("locked");
    ASSERT_EQ(::chmod(locked.c_str(), 0), 0);
    EXPECT_EQ(listMatchingFiles(locked, WildcardPattern("*"), names), FsError::PathFileAccess);
}

} // namespace
} // namespace zanto
