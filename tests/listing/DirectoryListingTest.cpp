#include "listing/DirectoryListing.h"
#include "listing/WildcardPattern.h"
#include "listing/NaturalOrder.h"
#include "fs/NativeFileSystem.h"
#include "tests/support/FaultyFileSystem.h"
#include "tests/support/TempFolder.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace zanto {
namespace {

NativeFileSystem nativeFs;

using Names = std::vector<std::string>;

// Matching regular files (links to them too) in natural order; hidden files,
// folders, FIFOs and links to anything else stay out; names that are not
// UTF-8 keep their bytes.
TEST(DirectoryListing, ListsMatchingFilesOnlyInNaturalOrder)
{
    test::TempFolder folder;
    const std::string sjisName = "\x83\x65\x83\x58\x83\x67.jpg"; // テスト in Shift_JIS
    folder.writeAll({"IMG_10.jpg", "IMG_9.JPG", "img_1.jpg", "notes.txt", ".hidden.jpg", sjisName});
    folder.makeSubfolder("album.jpg");
    ASSERT_EQ(::mkfifo(folder.pathOf("pipe.jpg").c_str(), 0600), 0);
    ASSERT_EQ(::symlink("notes.txt", folder.pathOf("to-file.jpg").c_str()), 0);
    ASSERT_EQ(::symlink("album.jpg", folder.pathOf("to-folder.jpg").c_str()), 0);
    ASSERT_EQ(::symlink("missing", folder.pathOf("dangling.jpg").c_str()), 0);

    Names names{"stale"};
    EXPECT_EQ(listMatchingFiles(nativeFs, folder.pathOf("gone"), WildcardPattern("*"), names), FsError::PathNotFound);
    EXPECT_EQ(listMatchingFiles(nativeFs, folder.path(), WildcardPattern("*.jpg;*.a"), names), FsError::None);
    EXPECT_EQ(names, (Names{"img_1.jpg", "IMG_9.JPG", "IMG_10.jpg", "to-file.jpg", sjisName}));
}

// A folder read in many batches comes out whole and ordered; one whose reading
// fails after handing entries over gives its error and no names.
TEST(DirectoryListing, BigFolderWholeOrNotAtAll)
{
    test::TempFolder folder;
    Names expected;
    for (int i = 3000; i > 0; --i)
        expected.push_back("DSC_" + std::to_string(i) + (i % 2 == 0 ? ".jpg" : ".JPG"));
    folder.writeAll(expected);
    sortNaturally(expected);

    test::FaultyFileSystem fs;
    Names names;
    EXPECT_EQ(listMatchingFiles(fs, folder.path(), WildcardPattern("*.jpg"), names), FsError::None);
    EXPECT_EQ(names, expected);
    fs.failReading(FsError::DiskNotReady);
    EXPECT_EQ(listMatchingFiles(fs, folder.path(), WildcardPattern("*.jpg"), names), FsError::DiskNotReady);
    EXPECT_TRUE(names.empty());
}

} // namespace
} // namespace zanto
