#include "rename/SingleRename.h"
#include "tests/rename/FolderExpectations.h"
#include "tests/support/FaultyFileSystem.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace zanto::test {
namespace {

using Call = FaultyFileSystem::Call;

class SingleRename : public ::testing::Test {
protected:
    TempFolder folder;
    FaultyFileSystem fs;
};

TEST_F(SingleRename, RenamesToTheTypedNameWithItsOwnExtension)
{
    folder.writeAll({"photo.jpg", "README", "other.jpg"});
    const Contents before = folder.contents();

    EXPECT_EQ(renameSingle(fs, folder.path(), "photo.jpg", "holiday.jpg"), SingleOutcome::Done);
    EXPECT_EQ(renameSingle(fs, folder.path(), "README", "NOTES"), SingleOutcome::Done);

    EXPECT_EQ(folder.contents(), movedContents(before, {{"photo.jpg", "holiday.jpg"}, {"README", "NOTES"}}));
}

TEST_F(SingleRename, ANameTakenByAnotherFileLeavesBothAsTheyWere)
{
    folder.writeAll({"a.jpg", "b.jpg"});
    const Contents before = folder.contents();

    EXPECT_EQ(renameSingle(fs, folder.path(), "a.jpg", "b.jpg"), SingleOutcome::NameTaken);
    fs.setCaseInsensitive(true);
    EXPECT_EQ(renameSingle(fs, folder.path(), "a.jpg", "B.jpg"), SingleOutcome::NameTaken);

    EXPECT_EQ(folder.contents(), before);
}

TEST_F(SingleRename, AMissingFileIsNotFound)
{
    folder.write("other.jpg");
    EXPECT_EQ(renameSingle(fs, folder.path(), "gone.jpg", "new.jpg"), SingleOutcome::NotFound);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"other.jpg"});
}

struct FailureCase {
    const char* family;
    FsError error;
    SingleOutcome outcome;
};

class SingleRenameFailure : public SingleRename, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(SingleRenameFailure, MapsTheErrorAndKeepsTheFile)
{
    folder.write("photo.jpg");
    const Contents before = folder.contents();
    fs.failRename(1, GetParam().error);

    EXPECT_EQ(renameSingle(fs, folder.path(), "photo.jpg", "new.jpg"), GetParam().outcome);
    EXPECT_EQ(folder.contents(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Families, SingleRenameFailure,
    ::testing::Values(FailureCase{"access_refused", FsError::PathFileAccess, SingleOutcome::AccessRefused},
                      FailureCase{"not_found", FsError::FileNotFound, SingleOutcome::NotFound},
                      FailureCase{"folder_gone", FsError::PathNotFound, SingleOutcome::Other},
                      FailureCase{"no_space", FsError::Other, SingleOutcome::Other}),
    [](const auto& info) { return std::string(info.param.family); });

TEST_F(SingleRename, ANameTooLongIsRefusedBeforeTheDiskIsAsked)
{
    folder.write("photo.jpg");
    const Contents before = folder.contents();
    fs.setMaxNameLength(12);

    EXPECT_EQ(renameSingle(fs, folder.path(), "photo.jpg", "holiday1.jpg"), SingleOutcome::Done);
    EXPECT_EQ(renameSingle(fs, folder.path(), "holiday1.jpg", "holiday12.jpg"), SingleOutcome::Other);

    EXPECT_EQ(fs.calls(Call::Rename), 1u);
    EXPECT_EQ(folder.contents(), movedContents(before, {{"photo.jpg", "holiday1.jpg"}}));
}

TEST_F(SingleRename, ACaseOnlyChangeSucceedsOnBothKindsOfFileSystem)
{
    folder.writeAll({"photo.jpg", "readme"});
    const Contents before = folder.contents();

    EXPECT_EQ(renameSingle(fs, folder.path(), "readme", "README"), SingleOutcome::Done);
    fs.setCaseInsensitive(true);
    EXPECT_EQ(renameSingle(fs, folder.path(), "photo.jpg", "Photo.jpg"), SingleOutcome::Done);

    EXPECT_EQ(folder.contents(), movedContents(before, {{"photo.jpg", "Photo.jpg"}, {"readme", "README"}}));
}

TEST_F(SingleRename, ACaseOnlyChangeThatFailsHalfWayPutsTheFileBack)
{
    folder.write("photo.jpg");
    const Contents before = folder.contents();
    fs.setCaseInsensitive(true);
    // Rename 1 meets the file itself, 2 moves it aside, 3 is the failing step.
    fs.failRename(3, FsError::PathFileAccess);

    EXPECT_EQ(renameSingle(fs, folder.path(), "photo.jpg", "Photo.jpg"), SingleOutcome::AccessRefused);
    EXPECT_EQ(folder.contents(), before);
}

TEST_F(SingleRename, TextsOfTheOutcomes)
{
    EXPECT_EQ(singleRenameText(SingleOutcome::Done), "");
    EXPECT_EQ(singleRenameText(SingleOutcome::NotFound), "フォルダーが存在しないので処理できませんでした。");
    EXPECT_EQ(singleRenameText(SingleOutcome::AccessRefused), "エラーによって処理できませんでした。");
    EXPECT_EQ(singleRenameText(SingleOutcome::NameTaken), "既に同じ名前が存在しています。");
    EXPECT_EQ(singleRenameText(SingleOutcome::Other), "名前を変更できませんでした。");
}

struct SelectionCase {
    const char* family;
    const char* typed;
    const char* oldBase;
    std::size_t k;
    std::size_t n;
    const char* next;
    std::size_t expected;
};

class NextSelection : public ::testing::TestWithParam<SelectionCase> {};

TEST_P(NextSelection, FollowsTheRenamedListing)
{
    const auto& p = GetParam();
    EXPECT_EQ(nextSelection(p.typed, p.oldBase, p.k, p.n, p.next), p.expected);
}

// Folder [apple.jpg, photo.jpg, sun.jpg] with photo.jpg selected, unless named otherwise.
INSTANTIATE_TEST_SUITE_P(
    Families, NextSelection,
    ::testing::Values(SelectionCase{"after_both_stays", "zebra", "photo", 1, 3, "sun.jpg", 1},
                      SelectionCase{"before_both_moves_on", "cat", "photo", 1, 3, "sun.jpg", 2},
                      SelectionCase{"between_moves_on", "rose", "photo", 1, 3, "sun.jpg", 2},
                      SelectionCase{"unchanged_moves_on", "photo", "photo", 1, 3, "sun.jpg", 2},
                      SelectionCase{"empty_moves_on", "", "photo", 1, 3, "sun.jpg", 2},
                      SelectionCase{"prefix_of_next_moves_on", "sun", "photo", 1, 3, "sun.jpg", 2},
                      SelectionCase{"uppercase_sorts_first", "Zebra", "photo", 1, 3, "sun.jpg", 2},
                      SelectionCase{"japanese_sorts_last", "写真", "photo", 1, 3, "sun.jpg", 1},
                      SelectionCase{"last_wraps", "zebra", "sun", 2, 3, "", 0},
                      SelectionCase{"only_entry_wraps", "zebra", "photo", 0, 1, "", 0}),
    [](const auto& info) { return std::string(info.param.family); });

} // namespace
} // namespace zanto::test
